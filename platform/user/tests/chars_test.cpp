#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

LPSTR asPointer(unsigned char c) { return reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(c)); }

TEST(Chars, CaseMappingInCodePage1252) {
  char text[] = "caf\xe9 \xff\x9a\x9c \xdf\xb5 1-2";
  EXPECT_EQ(CharUpperA(text), text);
  EXPECT_STREQ(text, "CAF\xc9 \x9f\x8a\x8c \xdf\xb5 1-2");  // ß and µ have no upper case in 1252
  EXPECT_EQ(CharLowerA(text), text);
  EXPECT_STREQ(text, "caf\xe9 \xff\x9a\x9c \xdf\xb5 1-2");
  char buffer[] = "abcdef";
  EXPECT_EQ(CharUpperBuffA(buffer, 3), 3u);
  EXPECT_STREQ(buffer, "ABCdef");
  EXPECT_EQ(CharLowerBuffA(buffer, 6), 6u);
  EXPECT_STREQ(buffer, "abcdef");
  EXPECT_EQ(CharUpperBuffA(nullptr, 3), 0u);
}

TEST(Chars, SingleCharacterFormWhenTheHighWordIsZero) {
  struct Case { unsigned char in, upper, lower; } cases[] = {
      {'a', 'A', 'a'}, {'Q', 'Q', 'q'}, {0xE9, 0xC9, 0xE9}, {0xC0, 0xC0, 0xE0}, {0xFF, 0x9F, 0xFF}, {'5', '5', '5'},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CharUpperA(asPointer(c.in)), asPointer(c.upper)) << int(c.in);
    EXPECT_EQ(CharLowerA(asPointer(c.in)), asPointer(c.lower)) << int(c.in);
  }
  EXPECT_EQ(CharUpperA(nullptr), nullptr);
}

TEST(Chars, CharacterClasses) {
  struct Case { unsigned char c; BOOL alpha, alnum, upper, lower; } cases[] = {
      {'a', 1, 1, 0, 1},  {'Z', 1, 1, 1, 0},  {'7', 0, 1, 0, 0},  {' ', 0, 0, 0, 0},  {'_', 0, 0, 0, 0},
      {0xE9, 1, 1, 0, 1}, {0xC9, 1, 1, 1, 0}, {0xD7, 0, 0, 0, 0}, {0x8A, 1, 1, 1, 0}, {0xDF, 1, 1, 0, 1},
      {0xAA, 1, 1, 0, 0}, {0x80, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const CHAR ch = static_cast<CHAR>(c.c);
    EXPECT_EQ(IsCharAlphaA(ch), c.alpha) << int(c.c);
    EXPECT_EQ(IsCharAlphaNumericA(ch), c.alnum) << int(c.c);
    EXPECT_EQ(IsCharUpperA(ch), c.upper) << int(c.c);
    EXPECT_EQ(IsCharLowerA(ch), c.lower) << int(c.c);
  }
}

TEST(Chars, SingleByteStepping) {
  const char text[] = "ab";
  EXPECT_EQ(CharNextA(text), text + 1);
  EXPECT_EQ(CharNextA(text + 2), text + 2);  // stays on the terminator
  EXPECT_EQ(CharPrevA(text, text + 2), text + 1);
  EXPECT_EQ(CharPrevA(text, text), text);
  EXPECT_EQ(CharNextA(nullptr), nullptr);
}

TEST(Chars, LstrCompareUsesWordSort) {
  struct Case { const char* a; const char* b; int cmp, cmpi; } cases[] = {
      {"abc", "abc", 0, 0},   {"abc", "abd", -1, -1}, {"abc", "ABC", -1, 0}, {"a", "B", -1, -1},
      {"B", "a", 1, 1},       {"coop", "co-op", -1, -1}, {"", "a", -1, -1}, {nullptr, "a", -1, -1},
      {"a", nullptr, 1, 1},   {nullptr, nullptr, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(lstrcmpA(c.a, c.b), c.cmp) << (c.a ? c.a : "null") << " / " << (c.b ? c.b : "null");
    EXPECT_EQ(lstrcmpiA(c.a, c.b), c.cmpi) << (c.a ? c.a : "null") << " / " << (c.b ? c.b : "null");
  }
}

TEST(Chars, LstrLengthAndBoundedCopy) {
  EXPECT_EQ(lstrlenA("abc"), 3);
  EXPECT_EQ(lstrlenA(nullptr), 0);
  struct Case { int max; const char* expected; } cases[] = {{4, "abc"}, {10, "abcdef"}, {1, ""}, {0, "xxxx"}};
  for (const auto& c : cases) {
    char out[12] = "xxxx";
    EXPECT_EQ(lstrcpynA(out, "abcdef", c.max), out);
    EXPECT_STREQ(out, c.expected) << c.max;
  }
  EXPECT_EQ(lstrcpynA(nullptr, "a", 4), nullptr);
}

std::string viaWsprintf(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  const int n = wvsprintfA(buffer, format, args);
  va_end(args);
  EXPECT_EQ(n, static_cast<int>(std::strlen(buffer)));
  return buffer;
}

TEST(Chars, WsprintfForms) {
  EXPECT_EQ(viaWsprintf("%d|%5d|%-5d|%05d", -5, 42, 42, 42), "-5|   42|42   |00042");
  EXPECT_EQ(viaWsprintf("%x %X %#x %o", 255, 255, 255, 8), "ff FF 0xff o");  // no %o in wsprintf
  EXPECT_EQ(viaWsprintf("%lu %ld %hd %hu", -1, -7, 70000, -1), "4294967295 -7 4464 65535");
  EXPECT_EQ(viaWsprintf("%I64d %I64u", INT64_MIN, ~0ull), "-9223372036854775808 18446744073709551615");
  EXPECT_EQ(viaWsprintf("%s|%.2s|%5s|%-3s|", "abc", "abc", "ab", "a"), "abc|ab|   ab|a  |");
  EXPECT_EQ(viaWsprintf("%s", static_cast<const char*>(nullptr)), "(null)");
  EXPECT_EQ(viaWsprintf("%ls %S %hs", u"wide", u"caf\u00e9", "narrow"), "wide caf\xe9 narrow");
  EXPECT_EQ(viaWsprintf("%c%C%lc", 'a', static_cast<int>(u'B'), static_cast<int>(u'\u20ac')), "aB\x80");
  EXPECT_EQ(viaWsprintf("%p", reinterpret_cast<void*>(0xABCDEF)), "0000000000ABCDEF");
  EXPECT_EQ(viaWsprintf("%f|%d%%", 3), "f|3%");  // no floating point: the letter stands, nothing is read
}

TEST(Chars, WsprintfStopsAt1024Characters) {
  const std::string longText(2000, 'x');
  char buffer[1100];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(wsprintfA(buffer, "%s", longText.c_str()), 1023);
  EXPECT_EQ(buffer[1023], '\0');
  EXPECT_EQ(buffer[1024], '#');
  EXPECT_EQ(wsprintfA(buffer, "%2000d", 1), 1023);
}

}  // namespace
