#include <internal/wildcard.h>
#include <winbase.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "scratchdir.h"

namespace fs = std::filesystem;

namespace {

// Every name FindFirstFileA / FindNextFileA list for `pattern`, in order.
std::vector<std::string> listNames(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA(pattern.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(data.cFileName);
  } while (FindNextFileA(h, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(FindClose(h));
  return names;
}

using Names = std::vector<std::string>;

}  // namespace

TEST(Wildcard, MatchesTheWindowsWay) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"*", "abc", true},
      {"*", ".profile", true},
      {"*.*", "README", true},  // "*.*" also takes names without a dot
      {"*.*", "a.b.c", true},
      {"*.", "README", true},  // "*." takes exactly the names without an extension
      {"*.", "a.txt", false},
      {"*.txt", "NOTES.TXT", true},
      {"*.TXT", "notes.txt", true},
      {"*.txt", "a.b.txt", true},
      {"*.txt", "a.txt.bak", false},
      {"*.rtf", "x.rtfx", false},
      {"kys*.tmp", "KYS1A2B.TMP", true},
      {"a?c", "abc", true},
      {"a?c", "ac", false},
      {"a??", "a", true},  // '?' matches nothing at the end of the name
      {"a?.txt", "a.txt", true},  // ... or before a dot
      {"a?.txt", "ab.txt", true},
      {"a?.txt", "abc.txt", false},
      {"abc.*", "abc", true},
      {"abc.*", "abcd", false},
      {"a*b", "a.b", true},
      {"exact.ini", "EXACT.INI", true},
      {"exact.ini", "exact.in", false},
      {"\xC4*", "\xE4rger", true},  // code page 1252 letters fold too
  };
  for (const auto& c : cases) {
    EXPECT_EQ(win32::matchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " vs " << c.name;
  }
}

TEST(FindFile, ListsMatchesInOrderWithDotEntries) {
  ScratchDir dir;
  for (const char* name : {"b.rtf", "A.RTF", "c.txt", "README"}) dir.write(name, "x");
  fs::create_directory(dir.path() / "Sub");
  const std::string base = windowsSpelling(dir.str());
  EXPECT_EQ(listNames(base + "\\*.*"), (Names{".", "..", "A.RTF", "b.rtf", "c.txt", "README", "Sub"}));
  EXPECT_EQ(listNames(base + "\\*.rtf"), (Names{"A.RTF", "b.rtf"}));
  EXPECT_EQ(listNames(base + "\\*."), (Names{".", "..", "README", "Sub"}));
  // Without wildcards the one entry of that name, spelled as on disk.
  EXPECT_EQ(listNames(base + "\\readme"), (Names{"README"}));
  EXPECT_EQ(listNames(base + "\\SUB"), (Names{"Sub"}));
}

TEST(FindFile, ReportsSizesTimesAndAttributes) {
  ScratchDir dir;
  dir.write("data.bin", std::string(1234, 'z'));
  dir.write(".hidden", "");
  fs::create_directory(dir.path() / "folder");
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA((dir / "data.bin").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.nFileSizeLow, 1234u);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(data.cAlternateFileName[0], '\0');
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  EXPECT_LE(CompareFileTime(&data.ftLastWriteTime, &now), 0);
  EXPECT_GT(data.ftLastWriteTime.dwHighDateTime, 0x01D00000u);  // after 2014
  FindClose(h);
  h = FindFirstFileA((dir / "folder").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(data.nFileSizeLow, 0u);
  FindClose(h);
  h = FindFirstFileA((dir / ".hidden").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN);
  FindClose(h);
}

TEST(FindFile, FailuresTable) {
  ScratchDir dir;
  dir.write("only.txt", "x");
  struct Case {
    std::string pattern;
    DWORD error;
  } cases[] = {
      {dir / "*.doc", ERROR_FILE_NOT_FOUND},
      {dir / "nothing.txt", ERROR_FILE_NOT_FOUND},
      {dir / "missing\\*.*", ERROR_PATH_NOT_FOUND},
      {dir / "only.txt\\*", ERROR_PATH_NOT_FOUND},
      {dir.str() + "\\", ERROR_FILE_NOT_FOUND},
      {dir / "*\\x", ERROR_INVALID_NAME},
      {"", ERROR_PATH_NOT_FOUND},
  };
  for (const auto& c : cases) {
    WIN32_FIND_DATAA data;
    SetLastError(0);
    EXPECT_EQ(FindFirstFileA(c.pattern.c_str(), &data), INVALID_HANDLE_VALUE) << c.pattern;
    EXPECT_EQ(GetLastError(), c.error) << c.pattern;
  }
}

TEST(FindFile, RootHasNoDotEntriesAndHandlesAreChecked) {
  const Names root = listNames("C:\\*");
  EXPECT_FALSE(root.empty());
  for (const auto& name : root) EXPECT_TRUE(name != "." && name != "..");
  WIN32_FIND_DATAA data;
  SetLastError(0);
  EXPECT_FALSE(FindNextFileA(INVALID_HANDLE_VALUE, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SetLastError(0);
  EXPECT_FALSE(FindClose(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(FindFile, EntriesRemovedDuringTheSearchArePassedOver) {
  ScratchDir dir;
  for (const char* name : {"1.log", "2.log", "3.log"}) dir.write(name, "x");
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA((dir / "*.log").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(data.cFileName, "1.log");
  fs::remove(dir.path() / "2.log");
  ASSERT_TRUE(FindNextFileA(h, &data));
  EXPECT_STREQ(data.cFileName, "3.log");
  EXPECT_FALSE(FindNextFileA(h, &data));
  FindClose(h);
}

TEST(FindFile, MappedDriveRootHasNoDotEntries) {
  ScratchDir dir;
  dir.write("top.txt", "x");
  fs::create_directory(dir.path() / "sub");
  dir.write("sub/inner.txt", "x");
  const std::string map = "Q=" + dir.str();
  ::setenv("KY_DRIVE_MAP", map.c_str(), 1);
  EXPECT_EQ(listNames("Q:\\*"), (Names{"sub", "top.txt"}));
  EXPECT_EQ(listNames("q:\\SUB\\*"), (Names{".", "..", "inner.txt"}));
  ::unsetenv("KY_DRIVE_MAP");
}
