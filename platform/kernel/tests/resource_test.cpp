#include "data/testres.h"

#include <internal/resource.h>
#include <winbase.h>
#include <winuser.h>

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

const std::string kLibrary = std::string(KY_BIN_DIR) + "/TESTRES.DLL";

std::string loadString(HMODULE module, UINT id, int size = 256) {
  std::string buffer(static_cast<size_t>(size), 'x');
  const int n = LoadStringA(module, id, buffer.data(), size);
  EXPECT_EQ(static_cast<size_t>(n), std::strlen(buffer.c_str())) << id;
  return buffer.c_str();
}

// The bytes of a resource, or "<missing>".
std::string resourceBytes(HMODULE module, HRSRC info) {
  if (!info) return "<missing>";
  HGLOBAL loaded = LoadResource(module, info);
  const void* bytes = LockResource(loaded);
  if (!bytes) return "<unloadable>";
  return std::string(static_cast<const char*>(bytes), SizeofResource(module, info));
}

class Resources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { library = LoadLibraryA(kLibrary.c_str()); }
  static void TearDownTestSuite() { FreeLibrary(library); }
  void SetUp() override { ASSERT_NE(library, nullptr) << kLibrary; }
  static HMODULE library;
};
HMODULE Resources::library = nullptr;

}  // namespace

TEST_F(Resources, StringsAreFoundInTheirBlocks) {
  struct Case {
    UINT id;
    const char* text;
  } cases[] = {
      {1, "First"},          {15, "Fifteen"},  {16, "Sixteen"}, {17, "Seventeen"},
      {300, "Caf\xE9 \x80"},  // UTF-16 é and € in the ANSI code page 1252
      {57344, "Test application"}, {61440, "Last block"},
  };
  for (const Case& c : cases) EXPECT_EQ(loadString(library, c.id), c.text) << c.id;
}

TEST_F(Resources, MissingStringGivesZeroAndAnEmptyBuffer) {
  // 2 and 14 lie in a block that exists; 1000 and 65535 in none.
  for (UINT id : {0u, 2u, 14u, 18u, 31u, 1000u, 65535u}) {
    char buffer[16] = "untouched";
    SetLastError(0);
    EXPECT_EQ(LoadStringA(library, id, buffer, sizeof buffer), 0) << id;
    EXPECT_STREQ(buffer, "") << id;
    EXPECT_NE(GetLastError(), 0u) << id;
  }
  EXPECT_EQ(LoadStringA(library, 1, nullptr, 10), 0);
  char buffer[4] = "abc";
  EXPECT_EQ(LoadStringA(library, 1, buffer, 0), 0);
  EXPECT_STREQ(buffer, "abc");
}

TEST_F(Resources, LoadStringTruncatesToTheBuffer) {
  struct Case {
    int size;
    const char* text;
  } cases[] = {{1, ""}, {2, "F"}, {5, "Firs"}, {6, "First"}, {100, "First"}};
  for (const Case& c : cases) {
    std::string buffer(static_cast<size_t>(c.size) + 4, '#');
    EXPECT_EQ(LoadStringA(library, 1, buffer.data(), c.size), static_cast<int>(std::strlen(c.text))) << c.size;
    EXPECT_STREQ(buffer.c_str(), c.text) << c.size;
    EXPECT_EQ(buffer[static_cast<size_t>(c.size)], '#') << "nothing written past the buffer";
  }
}

TEST_F(Resources, RcdataKeepsItsBytes) {
  // Two 16-bit numbers, one 32-bit number, a string without terminator.
  const std::string expected("\x01\x00\x02\x00\x01\x02\x03\x04" "ab", 10);
  EXPECT_EQ(resourceBytes(library, FindResourceA(library, MAKEINTRESOURCEA(IDR_NUMBERS), RT_RCDATA)), expected);
  EXPECT_EQ(resourceBytes(library, FindResourceA(library, "#100", "#10")), expected);
  EXPECT_EQ(resourceBytes(library, FindResourceA(library, "paneldata", RT_RCDATA)), "panel");
  EXPECT_EQ(resourceBytes(library, FindResourceA(library, MAKEINTRESOURCEA(7), "KyData")), "custom");
}

TEST_F(Resources, DialogTemplateIsFound) {
  HRSRC info = FindResourceA(library, MAKEINTRESOURCEA(IDD_TEST), RT_DIALOG);
  ASSERT_NE(info, nullptr);
  const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(library, info)));
  ASSERT_NE(bytes, nullptr);
  ASSERT_GE(SizeofResource(library, info), 18u);
  auto word = [&](size_t at) { return static_cast<WORD>(bytes[at] | (bytes[at + 1] << 8)); };
  auto dword = [&](size_t at) { return word(at) | (static_cast<DWORD>(word(at + 2)) << 16); };
  EXPECT_EQ(dword(0), 0x80C80000u | 0x40u);  // the STYLE given, plus DS_SETFONT for the FONT line
  EXPECT_EQ(word(8), 2u);                    // controls
  EXPECT_EQ(word(10), 10u);
  EXPECT_EQ(word(12), 20u);
  EXPECT_EQ(word(14), 180u);
  EXPECT_EQ(word(16), 60u);
  EXPECT_EQ(word(18), 0u);  // no menu
  EXPECT_EQ(word(20), 0u);  // standard class
  std::string title;
  for (size_t at = 22; word(at) != 0; at += 2) title += static_cast<char>(word(at));
  EXPECT_EQ(title, "Test dialog");
}

TEST_F(Resources, LanguageIsExactThenSameLanguageThenNeutralThenAny) {
  struct Case {
    WORD name;
    WORD language;
    const char* expected;
  } cases[] = {
      {IDR_LANGUAGES, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), "german"},
      {IDR_LANGUAGES, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), "english"},
      {IDR_LANGUAGES, MAKELANGID(LANG_GERMAN, 2), "german"},  // Swiss German: German before neutral
      {IDR_LANGUAGES, MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), "neutral"},
      {IDR_LANGUAGES, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), "neutral"},
      {IDR_GERMAN_ONLY, MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), "german only"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(resourceBytes(library, FindResourceExA(library, RT_RCDATA, MAKEINTRESOURCEA(c.name), c.language)),
              c.expected)
        << c.name << " " << c.language;
  }
  EXPECT_EQ(resourceBytes(library, FindResourceA(library, MAKEINTRESOURCEA(IDR_LANGUAGES), RT_RCDATA)), "neutral");
}

TEST_F(Resources, FailuresSayWhy) {
  HMODULE noResources = LoadLibraryA((std::string(KY_BIN_DIR) + "/MODTEST.DLL").c_str());
  ASSERT_NE(noResources, nullptr);
  struct Case {
    HMODULE module;
    LPCSTR name;
    LPCSTR type;
    DWORD error;
    const char* what;
  } cases[] = {
      {library, MAKEINTRESOURCEA(1), RT_MENU, ERROR_RESOURCE_TYPE_NOT_FOUND, "no menus"},
      {library, MAKEINTRESOURCEA(999), RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND, "no such RCDATA"},
      {library, "#abc", RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND, "'#' without number is a name"},
      {library, MAKEINTRESOURCEA(0), RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND, "ordinal 0"},
      // Its dependency TESTRES.DLL has resources; it has none of its own.
      {noResources, MAKEINTRESOURCEA(100), RT_RCDATA, ERROR_RESOURCE_DATA_NOT_FOUND, "module without resources"},
      {reinterpret_cast<HMODULE>(0x1234), MAKEINTRESOURCEA(100), RT_RCDATA, ERROR_MOD_NOT_FOUND, "no module"},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(FindResourceA(c.module, c.name, c.type), nullptr) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
  }
  char buffer[8];
  SetLastError(0);
  EXPECT_EQ(LoadStringA(noResources, 1, buffer, sizeof buffer), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
  EXPECT_TRUE(FreeLibrary(noResources));
}

TEST_F(Resources, HandlesOfOtherModulesOrNoneAreRefused) {
  HRSRC own = FindResourceA(library, MAKEINTRESOURCEA(IDR_NUMBERS), RT_RCDATA);
  HRSRC program = FindResourceA(nullptr, MAKEINTRESOURCEA(5), RT_RCDATA);
  ASSERT_NE(own, nullptr);
  ASSERT_NE(program, nullptr);
  for (HRSRC bad : {static_cast<HRSRC>(nullptr), reinterpret_cast<HRSRC>(0x1234), program,
                    reinterpret_cast<HRSRC>(reinterpret_cast<char*>(own) + 1)}) {
    SetLastError(0);
    EXPECT_EQ(LoadResource(library, bad), nullptr);
    EXPECT_EQ(SizeofResource(library, bad), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  }
  EXPECT_EQ(LockResource(nullptr), nullptr);
  EXPECT_FALSE(FreeResource(LoadResource(library, own)));  // nothing to free: FALSE, as Windows answers
}

TEST(ProgramResources, TheProgramsOwnResourcesAreFound) {
  EXPECT_EQ(loadString(nullptr, 1), "Program string");
  EXPECT_EQ(loadString(GetModuleHandleA(nullptr), 1), "Program string");
  EXPECT_EQ(resourceBytes(nullptr, FindResourceA(nullptr, MAKEINTRESOURCEA(5), RT_RCDATA)), "prog");
  char buffer[8] = "x";
  EXPECT_EQ(LoadStringA(nullptr, 15, buffer, sizeof buffer), 0) << "a library's string is not the program's";
}

namespace {

BOOL CALLBACK collectType(HMODULE, LPSTR type, LONG_PTR list) {
  auto* out = reinterpret_cast<std::vector<std::string>*>(list);
  out->push_back(IS_INTRESOURCE(type) ? "#" + std::to_string(LOWORD(reinterpret_cast<ULONG_PTR>(type))) : type);
  return TRUE;
}

BOOL CALLBACK collectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR list) {
  return collectType(nullptr, name, list);
}

BOOL CALLBACK stopAtFirst(HMODULE, LPSTR, LONG_PTR count) {
  ++*reinterpret_cast<int*>(count);
  return FALSE;
}

}  // namespace

TEST_F(Resources, EnumeratesNamesBeforeOrdinals) {
  std::vector<std::string> types;
  EXPECT_TRUE(EnumResourceTypesA(library, collectType, reinterpret_cast<LONG_PTR>(&types)));
  EXPECT_EQ(types, (std::vector<std::string>{"KYDATA", "#5", "#6", "#10"}));

  std::vector<std::string> names;
  EXPECT_TRUE(EnumResourceNamesA(library, RT_RCDATA, collectName, reinterpret_cast<LONG_PTR>(&names)));
  EXPECT_EQ(names, (std::vector<std::string>{"PANELDATA", "#100", "#101", "#102"}));

  int calls = 0;
  SetLastError(0);
  EXPECT_FALSE(EnumResourceTypesA(library, stopAtFirst, reinterpret_cast<LONG_PTR>(&calls)));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_ENUM_USER_STOP));
  SetLastError(0);
  EXPECT_FALSE(EnumResourceNamesA(library, RT_MENU, collectName, reinterpret_cast<LONG_PTR>(&names)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
}

// --- the parser on damaged images --------------------------------------------

namespace {

// Every entry lies inside the image, and so does every string it holds.
void expectInside(const win32::ResourceIndex& index, const std::vector<BYTE>& image) {
  const BYTE* end = image.data() + image.size();
  for (const win32::ResourceEntry& entry : index.entries()) {
    ASSERT_GE(entry.data, image.data());
    ASSERT_LE(entry.data + entry.size, end);
    for (unsigned i = 0; i < 16; ++i) {
      const BYTE* units = nullptr;
      size_t count = 0;
      if (!win32::stringTableEntry(entry, i, &units, &count)) break;
      ASSERT_LE(units + 2 * count, end);
    }
  }
}

// The image embedded in TESTRES.DLL.
std::vector<BYTE> libraryImage(HMODULE library) {
  const auto* blob = reinterpret_cast<const BYTE*>(GetProcAddress(library, "ky_resource_blob"));
  const auto* size = reinterpret_cast<const size_t*>(GetProcAddress(library, "ky_resource_blob_size"));
  if (!blob || !size) return {};
  return std::vector<BYTE>(blob, blob + *size);
}

// One record with ordinal type and name.
std::vector<BYTE> record(WORD type, WORD name, std::string_view data) {
  std::vector<BYTE> out;
  auto put16 = [&](WORD v) { out.push_back(static_cast<BYTE>(v)); out.push_back(static_cast<BYTE>(v >> 8)); };
  auto put32 = [&](DWORD v) { put16(static_cast<WORD>(v)); put16(static_cast<WORD>(v >> 16)); };
  put32(static_cast<DWORD>(data.size()));
  put32(32);
  put16(0xFFFF), put16(type), put16(0xFFFF), put16(name);
  put32(0), put16(0x1030), put16(0), put32(0), put32(0);
  out.insert(out.end(), data.begin(), data.end());
  while (out.size() % 4) out.push_back(0);
  return out;
}

}  // namespace

TEST_F(Resources, EveryTruncationOfAnImageKeepsTheWholeRecordsBeforeIt) {
  const std::vector<BYTE> full = libraryImage(library);
  ASSERT_GT(full.size(), 100u);
  const size_t complete = win32::ResourceIndex::parse(full.data(), full.size()).entries().size();
  EXPECT_EQ(complete, 13u);  // 5 string blocks, 6 RCDATA, a dialog, a KYDATA
  size_t previous = 0;
  for (size_t n = 0; n <= full.size(); ++n) {
    // An exact-size copy, so that a read past the end is a read past the allocation.
    const std::vector<BYTE> image(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
    const win32::ResourceIndex index = win32::ResourceIndex::parse(image.data(), image.size());
    ASSERT_GE(index.entries().size(), previous) << n;
    previous = index.entries().size();
    expectInside(index, image);
  }
  EXPECT_EQ(previous, complete);
}

TEST_F(Resources, GarbledImagesNeverReadOutside) {
  const std::vector<BYTE> full = libraryImage(library);
  ASSERT_FALSE(full.empty());
  std::mt19937 random(20261210);  // fixed: the same damage on every run
  for (int round = 0; round < 3000; ++round) {
    std::vector<BYTE> image = full;
    const int hits = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < hits; ++i) image[random() % image.size()] = static_cast<BYTE>(random());
    const win32::ResourceIndex index = win32::ResourceIndex::parse(image.data(), image.size());
    expectInside(index, image);
    DWORD error = 0;
    win32::ResourceId type, name;
    type.ordinal = 6;
    name.ordinal = 1;
    index.find(type, name, 0, &error);
  }
}

TEST(ResourceImage, DamagedRecordsEndTheIndex) {
  const std::vector<BYTE> good = record(10, 1, "abc");
  auto withTail = [&](std::vector<BYTE> tail) {
    std::vector<BYTE> image = good;
    image.insert(image.end(), tail.begin(), tail.end());
    return image;
  };
  std::vector<BYTE> headerTooSmall = record(10, 2, "x");
  headerTooSmall[4] = 16;
  std::vector<BYTE> headerTooLarge = record(10, 2, "x");
  headerTooLarge[6] = 0x10;
  std::vector<BYTE> dataTooLarge = record(10, 2, "x");
  dataTooLarge[3] = 0x7F;
  std::vector<BYTE> nameUnterminated(40, 'A');  // a name of 'A's filling the whole header
  nameUnterminated[0] = 0, nameUnterminated[1] = 0, nameUnterminated[2] = 0, nameUnterminated[3] = 0;
  nameUnterminated[4] = 40, nameUnterminated[5] = 0, nameUnterminated[6] = 0, nameUnterminated[7] = 0;
  struct Case {
    const char* what;
    std::vector<BYTE> image;
    size_t entries;
  } cases[] = {
      {"one good record", good, 1},
      {"two good records", withTail(record(10, 2, "defg")), 2},
      {"header size below the smallest header", withTail(headerTooSmall), 1},
      {"header past the end", withTail(headerTooLarge), 1},
      {"data past the end", withTail(dataTooLarge), 1},
      {"name without terminator", withTail(nameUnterminated), 1},
      {"a few stray bytes", withTail({1, 2, 3}), 1},
      {"empty image", {}, 0},
  };
  for (const Case& c : cases) {
    const win32::ResourceIndex index = win32::ResourceIndex::parse(c.image.data(), c.image.size());
    EXPECT_EQ(index.entries().size(), c.entries) << c.what;
    expectInside(index, c.image);
  }
  EXPECT_TRUE(win32::ResourceIndex::parse(nullptr, 100).entries().empty());
}

TEST(ResourceImage, StringTableEntriesStopAtTheBlockEnd) {
  // Entry 0 "ab", entry 1 empty, entry 2 claims 5 units but the block ends.
  const BYTE block[] = {2, 0, 'a', 0, 'b', 0, 0, 0, 5, 0, 'c', 0};
  win32::ResourceEntry entry;
  entry.data = block;
  entry.size = sizeof block;
  const BYTE* units = nullptr;
  size_t count = 99;
  ASSERT_TRUE(win32::stringTableEntry(entry, 0, &units, &count));
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(units, block + 2);
  ASSERT_TRUE(win32::stringTableEntry(entry, 1, &units, &count));
  EXPECT_EQ(count, 0u);
  EXPECT_FALSE(win32::stringTableEntry(entry, 2, &units, &count));
  EXPECT_FALSE(win32::stringTableEntry(entry, 15, &units, &count));
}

TEST(ResourceScripts, SeeWin32NamesThroughWindowsHeader) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(6), RT_RCDATA);
  ASSERT_NE(found, nullptr);
  ASSERT_EQ(SizeofResource(nullptr, found), 6u);
  const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, found)));
  ASSERT_NE(bytes, nullptr);
  DWORD style;
  WORD key;
  std::memcpy(&style, bytes, sizeof style);
  std::memcpy(&key, bytes + 4, sizeof key);
  EXPECT_EQ(style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
  EXPECT_EQ(key, VK_F1);
}
