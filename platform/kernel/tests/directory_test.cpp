#include <winbase.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "scratchdir.h"

namespace fs = std::filesystem;

namespace {

// Restores the current directory a test changes.
class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard() : saved_(fs::current_path()) {}
  ~CurrentDirectoryGuard() { fs::current_path(saved_); }

 private:
  fs::path saved_;
};

// Sets or removes an environment variable for one test.
class EnvironmentGuard {
 public:
  EnvironmentGuard(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old, hadValue_ = true;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~EnvironmentGuard() { hadValue_ ? ::setenv(name_, saved_.c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::string saved_;
  bool hadValue_ = false;
};

std::string fullPath(const std::string& name) {
  char buffer[MAX_PATH];
  const DWORD n = GetFullPathNameA(name.c_str(), sizeof buffer, buffer, nullptr);
  return n && n < sizeof buffer ? std::string(buffer, n) : std::string("<failed>");
}

}  // namespace

TEST(Directory, CreateAndRemoveWithTheirErrors) {
  ScratchDir dir;
  const std::string base = windowsSpelling(dir.str());
  EXPECT_TRUE(CreateDirectoryA((base + "\\New").c_str(), nullptr));
  EXPECT_TRUE(fs::is_directory(dir.path() / "New"));
  dir.write("New/inside.txt", "x");
  dir.write("file.txt", "x");
  struct Case {
    BOOL (*call)(const std::string&);
    std::string path;
    DWORD error;
  } cases[] = {
      {[](const std::string& p) { return CreateDirectoryA(p.c_str(), nullptr); }, base + "\\new", ERROR_ALREADY_EXISTS},
      {[](const std::string& p) { return CreateDirectoryA(p.c_str(), nullptr); }, base + "\\no\\such", ERROR_PATH_NOT_FOUND},
      {[](const std::string& p) { return RemoveDirectoryA(p.c_str()); }, base + "\\NEW", ERROR_DIR_NOT_EMPTY},
      {[](const std::string& p) { return RemoveDirectoryA(p.c_str()); }, base + "\\gone", ERROR_FILE_NOT_FOUND},
      {[](const std::string& p) { return RemoveDirectoryA(p.c_str()); }, base + "\\no\\such", ERROR_PATH_NOT_FOUND},
      {[](const std::string& p) { return RemoveDirectoryA(p.c_str()); }, base + "\\file.txt", ERROR_DIRECTORY},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(c.call(c.path)) << c.path;
    EXPECT_EQ(GetLastError(), c.error) << c.path;
  }
  fs::remove(dir.path() / "New/inside.txt");
  EXPECT_TRUE(RemoveDirectoryA((base + "\\nEw").c_str()));
  EXPECT_FALSE(fs::exists(dir.path() / "New"));
}

TEST(Directory, CurrentDirectoryBufferRules) {
  CurrentDirectoryGuard restore;
  ScratchDir dir;
  fs::create_directory(dir.path() / "Work");
  ASSERT_TRUE(SetCurrentDirectoryA((windowsSpelling(dir.str()) + "\\work").c_str()));
  const std::string expected = fs::canonical(dir.path() / "Work").string();
  const DWORD length = static_cast<DWORD>(expected.size());
  // Too small: the size needed, terminator included; nothing written.
  char small[4] = "abc";
  EXPECT_EQ(GetCurrentDirectoryA(sizeof small, small), length + 1);
  EXPECT_STREQ(small, "abc");
  EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), length + 1);
  EXPECT_EQ(GetCurrentDirectoryA(length, small), length + 1);  // one short: the terminator needs room
  std::string exact(length + 1, '#');
  EXPECT_EQ(GetCurrentDirectoryA(length + 1, exact.data()), length);
  EXPECT_EQ(exact.c_str(), expected);
  // Setting to a file or a missing directory fails and changes nothing.
  dir.write("f", "");
  SetLastError(0);
  EXPECT_FALSE(SetCurrentDirectoryA((dir / "f").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIRECTORY));
  SetLastError(0);
  EXPECT_FALSE(SetCurrentDirectoryA((dir / "none").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(fs::current_path(), fs::path(expected));
}

TEST(Directory, CurrentDirectoryCannotBeRemoved) {
  CurrentDirectoryGuard restore;
  ScratchDir dir;
  fs::create_directory(dir.path() / "here");
  ASSERT_TRUE(SetCurrentDirectoryA((dir / "here").c_str()));
  SetLastError(0);
  EXPECT_FALSE(RemoveDirectoryA((dir / "here").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

TEST(FullPathName, NormalisesToHostSpelling) {
  CurrentDirectoryGuard restore;
  ScratchDir dir;
  fs::create_directories(dir.path() / "Run" / "Deep");
  const std::string run = fs::canonical(dir.path() / "Run").string();
  ASSERT_TRUE(SetCurrentDirectoryA(run.c_str()));
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {"file.ini", run + "/file.ini"},
      {"deep\\..\\.\\x.txt", run + "/x.txt"},
      {".\\DEEP\\y", run + "/Deep/y"},  // an existing entry keeps its spelling on disk
      {"C:\\a\\b\\..\\c", "/a/c"},
      {"\\a\\..\\..\\b", "/b"},       // never above the root
      {"C:\\dir\\name. ", "/dir/name"},  // trailing dots and blanks go, as Windows drops them
      {"C:\\dir\\sub\\", "/dir/sub/"},
      {"C:\\", "/"},
      {"C:x.txt", run + "/x.txt"},  // drive-relative on the current drive
  };
  for (const auto& c : cases) EXPECT_EQ(fullPath(c.in), c.out) << c.in;
}

TEST(FullPathName, BufferRulesAndFilePart) {
  char buffer[MAX_PATH];
  char* filePart = nullptr;
  const char* name = "C:\\dir\\report.rtf";
  EXPECT_EQ(GetFullPathNameA(name, 3, buffer, &filePart), 16u);  // "/dir/report.rtf" + terminator
  EXPECT_EQ(filePart, nullptr);
  EXPECT_EQ(GetFullPathNameA(name, 15, buffer, &filePart), 16u);
  EXPECT_EQ(GetFullPathNameA(name, 16, buffer, &filePart), 15u);
  EXPECT_STREQ(buffer, "/dir/report.rtf");
  ASSERT_NE(filePart, nullptr);
  EXPECT_STREQ(filePart, "report.rtf");
  filePart = buffer;
  EXPECT_EQ(GetFullPathNameA("C:\\dir\\", sizeof buffer, buffer, &filePart), 5u);
  EXPECT_EQ(filePart, nullptr);  // a name ending in a separator has no file part
  SetLastError(0);
  EXPECT_EQ(GetFullPathNameA(nullptr, sizeof buffer, buffer, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0);
  EXPECT_EQ(GetFullPathNameA("", sizeof buffer, buffer, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
}

TEST(TempPath, FollowsTmpTempTmpdirAndEndsWithSeparator) {
  ScratchDir dir;
  fs::create_directory(dir.path() / "T1");
  struct Case {
    const char* tmp;
    const char* temp;
    const char* tmpdir;
    std::string expected;
  } cases[] = {
      {nullptr, nullptr, nullptr, "/tmp/"},
      {nullptr, nullptr, "/var/tmp", "/var/tmp/"},
      {nullptr, "C:\\Temp\\", "/var/tmp", "/Temp/"},
      {"", "/x/", nullptr, "/x/"},  // an empty value counts as none
  };
  for (const auto& c : cases) {
    EnvironmentGuard tmp("TMP", c.tmp), temp("TEMP", c.temp), tmpdir("TMPDIR", c.tmpdir);
    char buffer[MAX_PATH + 1];
    const DWORD n = GetTempPathA(sizeof buffer, buffer);
    EXPECT_EQ(std::string(buffer, n), c.expected);
  }
  const std::string windows = windowsSpelling(dir.str()) + "\\t1";
  EnvironmentGuard tmp("TMP", windows.c_str());
  const std::string expected = (dir.path() / "T1").string() + "/";
  char small[2] = "";
  EXPECT_EQ(GetTempPathA(sizeof small, small), expected.size() + 1);
  char buffer[MAX_PATH + 1];
  EXPECT_EQ(GetTempPathA(sizeof buffer, buffer), expected.size());
  EXPECT_EQ(buffer, expected);
}

TEST(TempFileName, FormsAndCreatesUniqueNames) {
  ScratchDir dir;
  char name[MAX_PATH];
  // A given number: only the name, from the prefix's first three letters.
  EXPECT_EQ(GetTempFileNameA(dir.str().c_str(), "kysXYZ", 0x1A2B, name), 0x1A2Bu);
  EXPECT_EQ(std::string(name), dir / "kys1A2B.TMP");
  EXPECT_FALSE(fs::exists(name));
  EXPECT_EQ(GetTempFileNameA((dir.str() + "\\").c_str(), "Ky", 0x12345, name), 0x12345u);
  EXPECT_EQ(std::string(name), dir / "Ky2345.TMP");  // low 16 bits only
  // Number 0: the system picks one and creates the file, never twice the same.
  char first[MAX_PATH], second[MAX_PATH];
  const UINT a = GetTempFileNameA(dir.str().c_str(), "kys", 0, first);
  const UINT b = GetTempFileNameA(dir.str().c_str(), "kys", 0, second);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_STRNE(first, second);
  EXPECT_TRUE(fs::is_regular_file(first));
  EXPECT_TRUE(fs::is_regular_file(second));
  EXPECT_EQ(fs::file_size(first), 0u);
  char expected[MAX_PATH];
  std::snprintf(expected, sizeof expected, "%s/kys%X.TMP", dir.str().c_str(), a);
  EXPECT_STREQ(first, expected);
}

TEST(TempFileName, Failures) {
  ScratchDir dir;
  char name[MAX_PATH];
  SetLastError(0);
  EXPECT_EQ(GetTempFileNameA((dir / "missing").c_str(), "ky", 0, name), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIRECTORY));
  SetLastError(0);
  EXPECT_EQ(GetTempFileNameA(nullptr, "ky", 0, name), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  const std::string longPath = "/" + std::string(MAX_PATH - 10, 'd');
  SetLastError(0);
  EXPECT_EQ(GetTempFileNameA(longPath.c_str(), "ky", 1, name), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
}

// Both conversions answer an existing path as given, with the string buffer
// rules, and fail with Windows' errors otherwise.
TEST(LongAndShortPathName, AnswerExistingPathsAsGiven) {
  ScratchDir dir;
  dir.write("Report.txt", "x");
  fs::create_directory(dir.path() / "Sub");
  CurrentDirectoryGuard guard;
  fs::current_path(dir.path());
  const std::string base = windowsSpelling(dir.str());
  using Convert = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
  const struct {
    const char* name;
    Convert convert;
  } functions[] = {{"GetLongPathNameA", GetLongPathNameA}, {"GetShortPathNameA", GetShortPathNameA}};
  const struct {
    std::string path;
    DWORD error;  // 0: the path comes back as given
  } cases[] = {
      {base + "\\Report.txt", 0},
      {base + "\\REPORT.TXT", 0},
      {dir / "Sub", 0},
      {"Report.txt", 0},
      {"Sub\\", 0},
      {base + "\\missing.txt", ERROR_FILE_NOT_FOUND},
      {base + "\\no\\such.txt", ERROR_PATH_NOT_FOUND},
      {base + "\\*.txt", ERROR_INVALID_NAME},
      {"", ERROR_PATH_NOT_FOUND},
  };
  for (const auto& f : functions) {
    for (const auto& c : cases) {
      char buffer[MAX_PATH] = "untouched";
      SetLastError(0);
      const DWORD n = f.convert(c.path.c_str(), buffer, sizeof buffer);
      if (c.error) {
        EXPECT_EQ(n, 0u) << f.name << " " << c.path;
        EXPECT_EQ(GetLastError(), c.error) << f.name << " " << c.path;
        continue;
      }
      EXPECT_EQ(n, c.path.size()) << f.name << " " << c.path;
      EXPECT_EQ(buffer, c.path) << f.name;
      // Too small a buffer is left alone; the answer is the size needed.
      char small[4] = "abc";
      EXPECT_EQ(f.convert(c.path.c_str(), small, sizeof small), c.path.size() + 1) << f.name;
      EXPECT_STREQ(small, "abc");
      EXPECT_EQ(f.convert(c.path.c_str(), nullptr, 0), c.path.size() + 1) << f.name;
    }
    // Converting in place works; a NULL path is refused.
    char inPlace[MAX_PATH];
    std::snprintf(inPlace, sizeof inPlace, "%s", (base + "\\Report.txt").c_str());
    EXPECT_EQ(f.convert(inPlace, inPlace, sizeof inPlace), base.size() + 11) << f.name;
    EXPECT_EQ(inPlace, base + "\\Report.txt");
    SetLastError(0);
    EXPECT_EQ(f.convert(nullptr, inPlace, sizeof inPlace), 0u) << f.name;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
}

TEST(Drives, CIsAFixedDiskAndMappedLettersExist) {
  EnvironmentGuard map("KY_DRIVE_MAP", "D=/srv/data;q=/mnt/q");
  EXPECT_EQ(GetLogicalDrives(), (1u << 2) | (1u << 3) | (1u << 16));
  struct Case {
    const char* root;
    UINT type;
  } cases[] = {
      {nullptr, DRIVE_FIXED}, {"C:\\", DRIVE_FIXED}, {"c:", DRIVE_FIXED},     {"\\", DRIVE_FIXED},
      {"D:/", DRIVE_FIXED},   {"E:\\", DRIVE_NO_ROOT_DIR}, {"C:\\dir\\", DRIVE_NO_ROOT_DIR},
  };
  for (const auto& c : cases) EXPECT_EQ(GetDriveTypeA(c.root), c.type) << (c.root ? c.root : "(null)");
}

TEST(Drives, FreeSpaceOfTheDiskHoldingADirectory) {
  ScratchDir dir;
  ULARGE_INTEGER available, total, free;
  ASSERT_TRUE(GetDiskFreeSpaceExA(windowsSpelling(dir.str()).c_str(), &available, &total, &free));
  EXPECT_GT(total.QuadPart, 0u);
  EXPECT_LE(free.QuadPart, total.QuadPart);
  EXPECT_LE(available.QuadPart, free.QuadPart);
  EXPECT_TRUE(GetDiskFreeSpaceExA(nullptr, &available, nullptr, nullptr));
  SetLastError(0);
  EXPECT_FALSE(GetDiskFreeSpaceExA((dir / "missing").c_str(), &available, &total, &free));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}
