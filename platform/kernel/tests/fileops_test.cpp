#include <winbase.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "scratchdir.h"

namespace fs = std::filesystem;

TEST(Copying, CopiesContentAttributesAndWriteTime) {
  ScratchDir dir;
  dir.write("src.bmp", "BM-picture");
  FILETIME written;
  SYSTEMTIME when{1999, 12, 0, 31, 23, 59, 58, 0};
  ASSERT_TRUE(SystemTimeToFileTime(&when, &written));
  HANDLE h = CreateFileA((dir / "src.bmp").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &written));
  CloseHandle(h);
  ASSERT_TRUE(CopyFileA(windowsSpelling(dir / "SRC.BMP").c_str(), (dir / "dst.bmp").c_str(), TRUE));
  EXPECT_EQ(dir.read("dst.bmp"), "BM-picture");
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA((dir / "dst.bmp").c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(CompareFileTime(&data.ftLastWriteTime, &written), 0);
  EXPECT_EQ(data.nFileSizeLow, 10u);
}

TEST(Copying, FailuresTable) {
  ScratchDir dir;
  dir.write("a", "new");
  dir.write("b", "old");
  dir.write("ro", "keep");
  fs::create_directory(dir.path() / "d");
  ASSERT_TRUE(SetFileAttributesA((dir / "ro").c_str(), FILE_ATTRIBUTE_READONLY));
  struct Case {
    std::string from, to;
    BOOL failIfExists;
    DWORD error;
  } cases[] = {
      {dir / "a", dir / "b", TRUE, ERROR_FILE_EXISTS},
      {dir / "none", dir / "c", FALSE, ERROR_FILE_NOT_FOUND},
      {dir / "x/none", dir / "c", FALSE, ERROR_PATH_NOT_FOUND},
      {dir / "a", dir / "x/c", FALSE, ERROR_PATH_NOT_FOUND},
      {dir / "a", dir / "A", FALSE, ERROR_SHARING_VIOLATION},  // onto itself, by another case
      {dir / "a", dir / "ro", FALSE, ERROR_ACCESS_DENIED},
      {dir / "d", dir / "c", FALSE, ERROR_ACCESS_DENIED},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(CopyFileA(c.from.c_str(), c.to.c_str(), c.failIfExists)) << c.from << " -> " << c.to;
    EXPECT_EQ(GetLastError(), c.error) << c.from << " -> " << c.to;
  }
  EXPECT_EQ(dir.read("b"), "old");
  EXPECT_EQ(dir.read("a"), "new");
  EXPECT_EQ(dir.read("ro"), "keep");
  EXPECT_TRUE(CopyFileA((dir / "a").c_str(), (dir / "b").c_str(), FALSE));
  EXPECT_EQ(dir.read("b"), "new");
}

TEST(Moving, RenamesReplacesAndChangesCase) {
  ScratchDir dir;
  dir.write("one.txt", "1");
  dir.write("two.txt", "2");
  SetLastError(0);
  EXPECT_FALSE(MoveFileA((dir / "one.txt").c_str(), (dir / "TWO.TXT").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_TRUE(MoveFileExA((dir / "one.txt").c_str(), (dir / "TWO.TXT").c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_FALSE(fs::exists(dir.path() / "one.txt"));
  EXPECT_EQ(dir.read("two.txt"), "1");  // replaced in place: the existing entry's spelling
  // A move onto the same file in another case renames it.
  EXPECT_TRUE(MoveFileA((dir / "two.txt").c_str(), (dir / "Two.TXT").c_str()));
  EXPECT_TRUE(fs::exists(dir.path() / "Two.TXT"));
  EXPECT_FALSE(fs::exists(dir.path() / "two.txt"));
  // Directories move too.
  fs::create_directory(dir.path() / "folder");
  EXPECT_TRUE(MoveFileA((dir / "folder").c_str(), (dir / "moved").c_str()));
  EXPECT_TRUE(fs::is_directory(dir.path() / "moved"));
  SetLastError(0);
  EXPECT_FALSE(MoveFileA((dir / "absent").c_str(), (dir / "x").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  SetLastError(0);
  EXPECT_FALSE(MoveFileExA((dir / "Two.TXT").c_str(), (dir / "later").c_str(), MOVEFILE_DELAY_UNTIL_REBOOT));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

TEST(Deleting, DeletesFilesOnly) {
  ScratchDir dir;
  dir.write("Report.RTF", "x");
  dir.write("locked", "x");
  fs::create_directory(dir.path() / "d");
  ASSERT_TRUE(SetFileAttributesA((dir / "locked").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(DeleteFileA((windowsSpelling(dir.str()) + "\\report.rtf").c_str()));
  EXPECT_FALSE(fs::exists(dir.path() / "Report.RTF"));
  struct Case {
    std::string name;
    DWORD error;
  } cases[] = {
      {dir / "Report.RTF", ERROR_FILE_NOT_FOUND},
      {dir / "no/such", ERROR_PATH_NOT_FOUND},
      {dir / "d", ERROR_ACCESS_DENIED},
      {dir / "locked", ERROR_ACCESS_DENIED},
      {dir / "*.rtf", ERROR_INVALID_NAME},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(DeleteFileA(c.name.c_str())) << c.name;
    EXPECT_EQ(GetLastError(), c.error) << c.name;
  }
  ASSERT_TRUE(SetFileAttributesA((dir / "locked").c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(DeleteFileA((dir / "locked").c_str()));
}

TEST(FileAttributes, FromTheHostEntry) {
  ScratchDir dir;
  dir.write("plain", "x");
  dir.write(".dot", "x");
  fs::create_directory(dir.path() / "sub");
  struct Case {
    std::string name;
    DWORD attributes;
  } cases[] = {
      {dir / "plain", FILE_ATTRIBUTE_ARCHIVE},
      {dir / ".dot", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN},
      {windowsSpelling(dir.str()) + "\\SUB", FILE_ATTRIBUTE_DIRECTORY},
      {"C:\\", FILE_ATTRIBUTE_DIRECTORY},
  };
  for (const auto& c : cases) EXPECT_EQ(GetFileAttributesA(c.name.c_str()), c.attributes) << c.name;
  ASSERT_TRUE(SetFileAttributesA((dir / "plain").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(GetFileAttributesA((dir / "plain").c_str()),
            static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_TRUE(SetFileAttributesA((dir / "plain").c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributesA((dir / "plain").c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  SetLastError(0);
  EXPECT_EQ(GetFileAttributesA((dir / "none").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  SetLastError(0);
  EXPECT_EQ(GetFileAttributesA((dir / "none/x").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  SetLastError(0);
  EXPECT_FALSE(SetFileAttributesA((dir / "none").c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  WIN32_FILE_ATTRIBUTE_DATA data;
  SetLastError(0);
  EXPECT_FALSE(GetFileAttributesExA((dir / "plain").c_str(), GetFileExMaxInfoLevel, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}
