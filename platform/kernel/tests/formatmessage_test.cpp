#include <internal/messagetext.h>
#include <winbase.h>

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <string>
#include <vector>

namespace {

// FormatMessageA from a string with an argument array; answers the text or "<error N>".
std::string fromArray(const char* text, std::vector<DWORD_PTR> args, DWORD extraFlags = 0) {
  char buffer[512];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY | extraFlags, text, 0, 0,
                                buffer, sizeof buffer, reinterpret_cast<va_list*>(args.data()));
  if (length == 0 && GetLastError() != ERROR_SUCCESS) return "<error " + std::to_string(GetLastError()) + ">";
  EXPECT_EQ(length, std::strlen(buffer));
  return buffer;
}

std::string fromList(const char* text, ...) {
  va_list list;
  va_start(list, text);
  char buffer[512];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_STRING, text, 0, 0, buffer, sizeof buffer, &list);
  va_end(list);
  return length ? std::string(buffer) : "<error " + std::to_string(GetLastError()) + ">";
}

DWORD_PTR p(const char* text) { return reinterpret_cast<DWORD_PTR>(text); }

TEST(MessageText, InsertsAndEscapesFromAnArray) {
  struct Case {
    const char* text;
    std::vector<DWORD_PTR> args;
    const char* expected;
  } cases[] = {
      {"Hello %1, %2!", {p("you"), p("again")}, "Hello you, again!"},
      {"%2 before %1", {p("one"), p("two")}, "two before one"},
      {"%1!d! items, %2!04X!", {42, 0xBEEF}, "42 items, BEEF"},
      {"[%1!-5s!] [%2!5.2s!]", {p("ab"), p("xyz")}, "[ab   ] [   xy]"},
      {"%1!*.*s!", {6, 2, p("abcdef")}, "    ab"},
      {"%1!ld! %2!I64u!", {static_cast<DWORD_PTR>(-7), 12345678901234ull}, "-7 12345678901234"},
      {"%1!c!%2!c!", {'o', 'k'}, "ok"},
      {"line%nnext%ttab%rcr", {}, "line\r\nnext\ttab\rcr"},
      {"100%% sure%. %!", {}, "100% sure. !"},
      {"stops here%0 not this", {}, "stops here"},
      {"keeps\r\nbreaks", {}, "keeps\r\nbreaks"},
      {"%11 is eleven", {p("1"), p("2"), p("3"), p("4"), p("5"), p("6"), p("7"), p("8"), p("9"), p("10"), p("XI")},
       "XI is eleven"},
  };
  for (const auto& c : cases) EXPECT_EQ(fromArray(c.text, c.args), c.expected) << c.text;
}

TEST(MessageText, InsertsFromAVaList) {
  EXPECT_EQ(fromList("%1 has %2!d! of %3!s!", "box", 3, "apples"), "box has 3 of apples");
  EXPECT_EQ(fromList("%2!u! then %1", "late", 7u), "7 then late");
  EXPECT_EQ(fromList("%1!I64d!/%2!x!", -5ll, 255), "-5/ff");
  EXPECT_EQ(fromList("%1!*d!|", 5, 42), "   42|");
}

TEST(MessageText, IgnoredInsertsStayInTheText) {
  char buffer[64];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_IGNORE_INSERTS, "%1 and %2!d!%n", 0, 0,
                                buffer, sizeof buffer, nullptr);
  EXPECT_EQ(std::string(buffer, length), "%1 and %2!d!\r\n");
}

TEST(MessageText, MissingArgumentsFail) {
  char buffer[64];
  SetLastError(0);
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_STRING, "%1", 0, 0, buffer, sizeof buffer, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(MessageText, SystemTextOfAnErrorCode) {
  char buffer[256];
  struct Case {
    DWORD id;
    const char* expected;
  } cases[] = {
      {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
      {ERROR_INVALID_HANDLE, "The handle is invalid.\r\n"},
      {ERROR_NOT_OWNER, "The caller does not own the mutex it tried to release.\r\n"},
      {static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)), "Access is denied.\r\n"},
  };
  for (const auto& c : cases) {
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, c.id,
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, sizeof buffer, nullptr);
    EXPECT_EQ(std::string(buffer, length), c.expected) << c.id;
  }
}

TEST(MessageText, EveryLayerErrorCodeHasASystemText) {
  // The codes the layer raises (winerror.h and this layer's additions).
  for (DWORD id : {0, 1, 2, 3, 5, 6, 8, 87, 120, 122, 126, 127, 158, 183, 206, 258, 288, 298, 317, 735, 998, 1400,
                   1407, 1411, 1460, 1813, 1814, 1815})
    EXPECT_NE(win32::systemMessageText(id), nullptr) << id;
  for (DWORD id = 0; id < 20000; ++id) {
    const char* text = win32::systemMessageText(id);
    if (!text) continue;
    size_t length = std::strlen(text);
    ASSERT_GE(length, 3u);
    EXPECT_STREQ(text + length - 3, ".\r\n") << id;
  }
}

TEST(MessageText, UnknownIdAndForeignLanguageFail) {
  char buffer[64];
  SetLastError(0);
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 0x12345, 0, buffer, sizeof buffer, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND));
  EXPECT_EQ(ERROR_MR_MID_NOT_FOUND, 317);
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 2, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), buffer,
                           sizeof buffer, nullptr),
            0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_LANG_NOT_FOUND));
}

TEST(MessageText, AllocatesTheBufferWithLocalAlloc) {
  char* text = nullptr;
  DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, ERROR_ACCESS_DENIED, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(length, std::strlen(text));
  EXPECT_EQ(std::string(text), "Access is denied.\r\n");
  EXPECT_GE(LocalSize(text), length + 1);
  EXPECT_EQ(LocalFree(text), nullptr);
  // nSize is the least to allocate.
  DWORD small = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_STRING, "x", 0, 0,
                               reinterpret_cast<LPSTR>(&text), 100, nullptr);
  EXPECT_EQ(small, 1u);
  EXPECT_EQ(LocalSize(text), 100u);
  LocalFree(text);
}

TEST(MessageText, BufferTooSmallFailsWithoutOverrun) {
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  SetLastError(0);
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_STRING, "exactly8", 0, 0, buffer, 8, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_STRING, "seven 7", 0, 0, buffer, 8, nullptr), 7u);
  EXPECT_STREQ(buffer, "seven 7");
}

TEST(MessageText, MaximumWidthJoinsAndWrapsLines) {
  struct Case {
    const char* text;
    DWORD width;
    const char* expected;
  } cases[] = {
      {"one\r\ntwo\r\n", FORMAT_MESSAGE_MAX_WIDTH_MASK, "one two "},
      {"one%ntwo", FORMAT_MESSAGE_MAX_WIDTH_MASK, "one\r\ntwo"},
      {"alpha beta gamma delta", 11, "alpha beta\r\ngamma delta"},
      {"abcdefghij", 4, "abcd\r\nefgh\r\nij"},
  };
  for (const auto& c : cases) EXPECT_EQ(fromArray(c.text, {}, c.width), c.expected) << c.text;
}

// Bytes of a message table with messages 5..6 (ANSI) and 9 (UTF-16).
std::vector<unsigned char> messageTable() {
  std::vector<unsigned char> bytes;
  auto dword = [&](DWORD v) { for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(v >> (8 * i))); };
  auto word = [&](WORD v) { bytes.push_back(v & 0xFF); bytes.push_back(v >> 8); };
  dword(2);
  dword(5), dword(6), dword(28);
  dword(9), dword(9), dword(52);
  word(12), word(0), bytes.insert(bytes.end(), {'F', 'i', 'v', 'e', '\r', '\n', 0, 0});
  word(12), word(0), bytes.insert(bytes.end(), {'S', 'i', 'x', ' ', '%', '1', 0, 0});
  word(12), word(1);
  for (char16_t c : u"Nin\u00e9") word(c);
  return bytes;
}

TEST(MessageText, MessageTableEntriesByIdAndForm) {
  auto bytes = messageTable();
  EXPECT_EQ(win32::messageTableText(bytes.data(), bytes.size(), 5), "Five\r\n");
  EXPECT_EQ(win32::messageTableText(bytes.data(), bytes.size(), 6), "Six %1");
  EXPECT_EQ(win32::messageTableText(bytes.data(), bytes.size(), 9), "Nin\xe9");
  EXPECT_EQ(win32::messageTableText(bytes.data(), bytes.size(), 7), std::nullopt);
  // Truncated or corrupt tables are refused, never read past their end.
  for (size_t cut : {0ul, 3ul, 10ul, 30ul, 45ul})
    EXPECT_EQ(win32::messageTableText(bytes.data(), cut, 6), std::nullopt) << cut;
  auto corrupt = bytes;
  corrupt[28] = 1;  // an entry shorter than its own header
  EXPECT_EQ(win32::messageTableText(corrupt.data(), corrupt.size(), 6), std::nullopt);
  EXPECT_EQ(win32::messageTableText(nullptr, 100, 5), std::nullopt);
}

TEST(MessageText, ModuleWithoutMessageTableFails) {
  char buffer[64];
  SetLastError(0);
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE, nullptr, 1, 0, buffer, sizeof buffer, nullptr), 0u);
  EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  // With FROM_SYSTEM as well, the system table answers.
  EXPECT_GT(FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 2, 0, buffer,
                           sizeof buffer, nullptr),
            0u);
}

}  // namespace
