#include <windows.h>
#include <internal/profilebatch.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kData = KY_TEST_DATA;

std::string readBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeBytes(const fs::path& p, std::string_view bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A fresh directory per test; WIN.INI is pointed into it so that no test
// touches the user's real one.
class Profile : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           ("profile_" + std::to_string(::getpid()) + "_" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    if (const char* old = std::getenv("KY_WIN_INI")) savedWinIni_ = old;
    ::setenv("KY_WIN_INI", (dir_ / "WIN.INI").c_str(), 1);
  }
  void TearDown() override {
    if (savedWinIni_) ::setenv("KY_WIN_INI", savedWinIni_->c_str(), 1);
    else ::unsetenv("KY_WIN_INI");
    fs::remove_all(dir_);
  }

  // Copies fixture `name` into the test directory and answers its path.
  std::string fixture(const std::string& name) {
    fs::copy_file(kData + "/" + name, dir_ / name, fs::copy_options::overwrite_existing);
    return (dir_ / name).string();
  }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  std::string get(const char* app, const char* key, const char* def, const std::string& file,
                  DWORD size = 256) {
    std::vector<char> buf(size + 1, '#');
    GetPrivateProfileStringA(app, key, def, buf.data(), size, file.c_str());
    return buf.data();
  }

  fs::path dir_;
  std::optional<std::string> savedWinIni_;
};

// The bytes of a double-NUL list written as a literal ending in "\0".
template <size_t N>
std::string listBytes(const char (&literal)[N]) {
  return std::string(literal, N);
}

// The strings of a double-NUL list.
std::vector<std::string> splitList(const char* list) {
  std::vector<std::string> out;
  for (const char* p = list; *p; p += std::strlen(p) + 1) out.emplace_back(p);
  return out;
}

TEST_F(Profile, MissingFileGivesDefaultAndFileNotFound) {
  const std::string file = path("absent.ini");
  char buf[32];
  SetLastError(0);
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "dflt", buf, sizeof buf, file.c_str()), 4u);
  EXPECT_STREQ(buf, "dflt");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(GetPrivateProfileIntA("s", "k", 17, file.c_str()), 17u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(GetPrivateProfileSectionNamesA(buf, sizeof buf, file.c_str()), 0u);
  EXPECT_EQ(buf[0], '\0');
  EXPECT_EQ(GetPrivateProfileSectionA("s", buf, sizeof buf, file.c_str()), 0u);
  EXPECT_EQ(buf[0], '\0');
  EXPECT_FALSE(fs::exists(file));
}

TEST_F(Profile, ReadsValuesAsWindowsDoes) {
  const std::string file = fixture("profile_read.ini");
  struct Case {
    const char* app;
    const char* key;
    const char* expected;  // nullptr: the key is not found, the default comes back
  } cases[] = {
      {"Values", "plain", "hello"},
      {"VALUES", "PLAIN", "hello"},            // case ignored; first section wins
      {" Values ", " plain ", "hello"},        // names are trimmed
      {"Values", "spaced", "some value"},      // blanks around name and value
      {"Values", "dquoted", "  quoted value  "},
      {"Values", "squoted", "single"},
      {"Values", "mismatched", "\"open'"},     // quotes must match to go
      {"Values", "lonequote", "\""},
      {"Values", "emptyquotes", ""},
      {"Values", "empty", ""},
      {"values", "casekey", "MixedCase"},
      {"Values", "dup", "first"},              // first duplicate key wins
      {"Values", "tab", "tabbed"},
      {"Values", ";commented", nullptr},
      {"Values", "line without equals", nullptr},
      {"Values", "missing", nullptr},
      {"", "orphan", nullptr},                 // lines before any section are never read
      {"Other", "key", "other value"},
      {"Other", "afterbad", "belongs to Other"},  // "[Unterminated" is no header
      {"Unterminated", "afterbad", nullptr},
      {"Last", "tail", "no newline"},          // last line without line ending
      {"NoSuchSection", "plain", nullptr},
  };
  for (const Case& c : cases) {
    SetLastError(0xdead);
    const std::string got = get(c.app, c.key, "<default>", file);
    EXPECT_EQ(got, c.expected ? c.expected : "<default>") << c.app << "/" << c.key;
    EXPECT_EQ(GetLastError(), c.expected ? static_cast<DWORD>(ERROR_SUCCESS)
                                         : static_cast<DWORD>(ERROR_FILE_NOT_FOUND))
        << c.app << "/" << c.key;
  }
}

TEST_F(Profile, DefaultLosesTrailingBlanksOnly) {
  const std::string file = fixture("profile_read.ini");
  struct Case { const char* def; const char* expected; } cases[] = {
      {nullptr, ""},
      {"", ""},
      {"text   ", "text"},
      {"  lead", "  lead"},
      {"\"quoted\"", "\"quoted\""},
      {"   ", " "},  // the first character always stays
      {"tab\t", "tab\t"},
  };
  for (const Case& c : cases) {
    char buf[32];
    const DWORD n = GetPrivateProfileStringA("Values", "missing", c.def, buf, sizeof buf, file.c_str());
    EXPECT_STREQ(buf, c.expected) << (c.def ? c.def : "(null)");
    EXPECT_EQ(n, std::strlen(c.expected));
  }
}

TEST_F(Profile, TruncatesSingleValueToSizeMinusOne) {
  const std::string file = fixture("profile_read.ini");
  struct Case { DWORD size; DWORD ret; const char* text; } cases[] = {
      {32, 5, "hello"}, {6, 5, "hello"}, {5, 4, "hell"}, {2, 1, "h"}, {1, 0, ""},
  };
  for (const Case& c : cases) {
    char buf[40];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(GetPrivateProfileStringA("Values", "plain", "", buf, c.size, file.c_str()), c.ret) << c.size;
    EXPECT_STREQ(buf, c.text) << c.size;
    EXPECT_EQ(buf[c.size], '#') << "wrote past nSize " << c.size;
  }
  // A cut default follows the same rule.
  char buf[4];
  EXPECT_EQ(GetPrivateProfileStringA("Values", "missing", "default", buf, sizeof buf, file.c_str()), 3u);
  EXPECT_STREQ(buf, "def");
  EXPECT_EQ(GetPrivateProfileStringA("Values", "plain", "", nullptr, 10, file.c_str()), 0u);
  EXPECT_EQ(GetPrivateProfileStringA("Values", "plain", "", buf, 0, file.c_str()), 0u);
}

TEST_F(Profile, TruncatesListsToSizeMinusTwo) {
  const std::string file = fixture("profile_read.ini");
  // Keys of [Other]: "key\0afterbad\0\0" needs 14 characters.
  struct Case { DWORD size; DWORD ret; std::string bytes; } cases[] = {
      {64, 13, std::string("key\0afterbad\0\0", 14)},
      {15, 13, std::string("key\0afterbad\0\0", 14)},
      {14, 12, std::string("key\0afterbad\0\0", 14)},  // an exact fit counts as cut
      {13, 11, std::string("key\0afterba\0\0", 13)},
      {5, 3, std::string("key\0\0", 5)},
      {4, 2, std::string("ke\0\0", 4)},
      {2, 0, std::string("\0\0", 2)},
  };
  for (const Case& c : cases) {
    std::vector<char> buf(c.size + 1, '#');
    EXPECT_EQ(GetPrivateProfileStringA("Other", nullptr, "", buf.data(), c.size, file.c_str()), c.ret) << c.size;
    EXPECT_EQ(std::string(buf.data(), c.bytes.size()), c.bytes) << c.size;
    EXPECT_EQ(buf[c.size], '#') << "wrote past nSize " << c.size;
  }
  // Section names: the same rule.
  char names[12];
  EXPECT_EQ(GetPrivateProfileSectionNamesA(names, sizeof names, file.c_str()), 10u);
  EXPECT_EQ(std::string(names, 12), std::string("Values\0val\0\0", 12));
  const std::string all = listBytes("Values\0values\0Other\0Empty\0Last\0");
  std::vector<char> exact(all.size() + 1);
  EXPECT_EQ(GetPrivateProfileSectionNamesA(exact.data(), all.size() + 1, file.c_str()), all.size() - 1);
  EXPECT_EQ(GetPrivateProfileSectionNamesA(exact.data(), all.size(), file.c_str()), all.size() - 2);
  EXPECT_EQ(std::string(exact.data(), all.size()), all);
  // Section lines: the same rule again.
  const std::string other = listBytes("key=other value\0[Unterminated\0afterbad=belongs to Other\0");
  std::vector<char> lines(other.size());
  EXPECT_EQ(GetPrivateProfileSectionA("Other", lines.data(), other.size(), file.c_str()), other.size() - 2);
  EXPECT_EQ(std::string(lines.data(), other.size()), other);
  EXPECT_EQ(GetPrivateProfileSectionA("Other", lines.data(), 20, file.c_str()), 18u);
  EXPECT_EQ(std::string(lines.data(), 20), std::string("key=other value\0[U\0\0", 20));
}

TEST_F(Profile, EnumeratesSectionsKeysAndSectionLines) {
  const std::string file = fixture("profile_read.ini");
  char buf[1024];

  DWORD n = GetPrivateProfileStringA(nullptr, "ignored", "default", buf, sizeof buf, file.c_str());
  EXPECT_EQ(splitList(buf), (std::vector<std::string>{"Values", "values", "Other", "Empty", "Last"}));
  EXPECT_EQ(n, std::strlen("Values") + 1 + 6 + 1 + 5 + 1 + 5 + 1 + 4 + 1);
  EXPECT_EQ(GetPrivateProfileSectionNamesA(buf, sizeof buf, file.c_str()), n);

  // Keys: lines without '=', comments and nameless keys are no keys.
  n = GetPrivateProfileStringA("values", nullptr, "default", buf, sizeof buf, file.c_str());
  EXPECT_EQ(splitList(buf), (std::vector<std::string>{"plain", "spaced", "dquoted", "squoted", "mismatched",
                                                      "lonequote", "emptyquotes", "empty", "CaseKey", "dup",
                                                      "dup", "tab"}));
  // A section without keys, or none at all, answers the default.
  EXPECT_EQ(GetPrivateProfileStringA("Empty", nullptr, "default", buf, sizeof buf, file.c_str()), 7u);
  EXPECT_STREQ(buf, "default");
  EXPECT_EQ(GetPrivateProfileStringA("Nothing", nullptr, nullptr, buf, sizeof buf, file.c_str()), 0u);
  EXPECT_STREQ(buf, "");

  // Section lines: key=value with quotes kept, lines without '=' as they are.
  n = GetPrivateProfileSectionA("Other", buf, sizeof buf, file.c_str());
  const std::string expected = listBytes("key=other value\0[Unterminated\0afterbad=belongs to Other\0");
  EXPECT_EQ(n, expected.size() - 1);
  EXPECT_EQ(std::string(buf, expected.size()), expected);
  GetPrivateProfileSectionA("Values", buf, sizeof buf, file.c_str());
  const auto lines = splitList(buf);
  ASSERT_EQ(lines.size(), 14u);  // the comment is left out
  EXPECT_EQ(lines[1], "spaced=some value");
  EXPECT_EQ(lines[2], "dquoted=\"  quoted value  \"");
  EXPECT_EQ(lines[11], "line without equals");
  EXPECT_EQ(lines[12], "tab=tabbed");
  EXPECT_EQ(lines[13], "=no name");  // a line without a key name comes back as written
  EXPECT_EQ(GetPrivateProfileSectionA("Empty", buf, sizeof buf, file.c_str()), 0u);

  SetLastError(0);
  EXPECT_EQ(GetPrivateProfileSectionA(nullptr, buf, sizeof buf, file.c_str()), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(Profile, ParsesIntegersLikeWindows) {
  const std::string file = fixture("profile_int.ini");
  struct Case { const char* key; UINT expected; } cases[] = {
      {"decimal", 42},  {"negative", static_cast<UINT>(-5)}, {"hex", 31}, {"signed", 7},
      {"text", 0},      {"empty", 99},                       {"binary", 5}, {"octal", 15},
      {"wrap", 1},      {"quoted", 12},                      {"missing", 99},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetPrivateProfileIntA("Numbers", c.key, 99, file.c_str()), c.expected) << c.key;
  }
  EXPECT_EQ(GetPrivateProfileIntA("Numbers", "missing", -1, file.c_str()), static_cast<UINT>(-1));
}

struct WriteCase {
  const char* name;
  const char* app;
  const char* key;
  const char* value;
  const char* expected;  // the whole file afterwards
};

TEST_F(Profile, WritesChangeOnlyTheirLinesInCrlfFile) {
  const WriteCase cases[] = {
      {"replace", "first", "B", "20", "; settings\r\n[First]\r\na=1\r\nb=20\r\n\r\n[Second]\r\nc=3\r\n"},
      {"add key", "First", "d", "4", "; settings\r\n[First]\r\na=1\r\nb = 2\r\nd=4\r\n\r\n[Second]\r\nc=3\r\n"},
      {"add section", "Third", "e", "5",
       "; settings\r\n[First]\r\na=1\r\nb = 2\r\n\r\n[Second]\r\nc=3\r\n[Third]\r\ne=5\r\n"},
      {"delete key", "First", "a", nullptr, "; settings\r\n[First]\r\nb = 2\r\n\r\n[Second]\r\nc=3\r\n"},
      {"delete section", "FIRST", nullptr, nullptr, "; settings\r\n[Second]\r\nc=3\r\n"},
      {"delete last section", "Second", nullptr, nullptr, "; settings\r\n[First]\r\na=1\r\nb = 2\r\n\r\n"},
      {"delete missing key", "First", "zz", nullptr, nullptr},
      {"delete missing section", "None", nullptr, nullptr, nullptr},
      {"same value", "Second", "c", "3", nullptr},
  };
  const std::string original = readBytes(kData + "/profile_write_crlf.ini");
  for (const WriteCase& c : cases) {
    const std::string file = fixture("profile_write_crlf.ini");
    ASSERT_TRUE(WritePrivateProfileStringA(c.app, c.key, c.value, file.c_str())) << c.name;
    EXPECT_EQ(readBytes(file), c.expected ? c.expected : original) << c.name;
    if (c.key && c.value) {
      EXPECT_EQ(get(c.app, c.key, "", file), c.value) << c.name;
    }
  }
}

TEST_F(Profile, WritesKeepLfEndingsAndEndUnterminatedLastLine) {
  const WriteCase cases[] = {
      {"add key", "A", "y", "2", "[A]\nx=1\ny=2\n"},
      {"replace last", "A", "x", "9", "[A]\nx=9"},
      {"add section", "B", "z", "3", "[A]\nx=1\n[B]\nz=3\n"},
      {"delete last key", "A", "x", nullptr, "[A]\n"},
  };
  for (const WriteCase& c : cases) {
    const std::string file = fixture("profile_write_lf.ini");
    ASSERT_TRUE(WritePrivateProfileStringA(c.app, c.key, c.value, file.c_str())) << c.name;
    EXPECT_EQ(readBytes(file), c.expected) << c.name;
  }
}

// A batch writes the same bytes as the same writes made one by one, in one
// replacement of each file at its end; reads and other writes of the thread
// see what it keeps.
TEST_F(Profile, BatchedWritesGiveTheBytesOfSingleWritesInOneReplacement) {
  struct Write {
    const char* app;
    const char* key;
    const char* value;
  };
  const Write writes[] = {
      {"first", "B", "20"},    {"First", "d", "4"},     {"Third", "e", "5"},  {"First", "a", nullptr},
      {"Second", "c", "3"},    {"Third", "f", "6"},     {"first", "b", "21"}, {"Fourth", "x", nullptr},
      {"Second", "zz", nullptr}, {"second", "c", "33"}, {"First", "D", "44"},
  };
  for (const char* fixtureName : {"profile_write_crlf.ini", "profile_write_lf.ini"}) {
    SCOPED_TRACE(fixtureName);
    const std::string single = fixture(fixtureName);
    for (const Write& w : writes) ASSERT_TRUE(WritePrivateProfileStringA(w.app, w.key, w.value, single.c_str()));
    const std::string expected = readBytes(single);

    const std::string batched = path(std::string("batched_") + fixtureName);
    fs::copy_file(kData + "/" + fixtureName, batched, fs::copy_options::overwrite_existing);
    const std::string original = readBytes(batched);
    {
      win32::ProfileBatch batch;
      for (const Write& w : writes) ASSERT_TRUE(WritePrivateProfileStringA(w.app, w.key, w.value, batched.c_str()));
      EXPECT_EQ(readBytes(batched), original);  // nothing written yet
      EXPECT_TRUE(batch.Commit());
    }
    EXPECT_EQ(readBytes(batched), expected);
  }

  // A read in the middle of a batch sees the kept writes.
  const std::string file = fixture("profile_write_crlf.ini");
  win32::ProfileBatch batch;
  ASSERT_TRUE(WritePrivateProfileStringA("Second", "c", "7", file.c_str()));
  EXPECT_EQ(get("Second", "c", "", file), "7");
  ASSERT_TRUE(WritePrivateProfileStringA("Second", nullptr, nullptr, file.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("Second", "n", "8", file.c_str()));
  {
    win32::ProfileBatch inner;  // nested: the outer batch writes
    ASSERT_TRUE(WritePrivateProfileStringA("Second", "m", "9", file.c_str()));
    EXPECT_TRUE(inner.Commit());
  }
  EXPECT_EQ(readBytes(file).find("m=9"), std::string::npos);
  EXPECT_TRUE(batch.Commit());
  EXPECT_EQ(get("Second", "c", "-", file), "-");
  EXPECT_EQ(get("Second", "n", "", file), "8");
  EXPECT_EQ(get("Second", "m", "", file), "9");
}

TEST_F(Profile, BatchCommitReportsAFileThatCannotBeWritten) {
  const std::string good = path("good.ini");
  const std::string bad = path("no/such/dir/bad.ini");
  win32::ProfileBatch batch;
  ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "1", bad.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "2", good.c_str()));
  SetLastError(0);
  EXPECT_FALSE(batch.Commit());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(get("S", "k", "", good), "2");  // the other file is written all the same
}

TEST_F(Profile, WriteCreatesFileWithCrlf) {
  const std::string file = path("new.ini");
  ASSERT_TRUE(WritePrivateProfileStringA(" Sec ", " key ", "value", file.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("Sec", "other", "x y", file.c_str()));
  EXPECT_EQ(readBytes(file), "[Sec]\r\nkey=value\r\nother=x y\r\n");
  // Deleting from a file that does not exist changes nothing and creates nothing.
  const std::string absent = path("absent.ini");
  EXPECT_TRUE(WritePrivateProfileStringA("Sec", "key", nullptr, absent.c_str()));
  EXPECT_TRUE(WritePrivateProfileStringA("Sec", nullptr, nullptr, absent.c_str()));
  EXPECT_FALSE(fs::exists(absent));
  // A NULL section is refused as Windows refuses it; all NULL flushes and
  // answers FALSE as documented.
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "k", "v", file.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str()));
  EXPECT_EQ(get("Sec", "key", "", file), "value");
}

TEST_F(Profile, WritesSectionBodies) {
  const std::string file = fixture("profile_write_crlf.ini");
  ASSERT_TRUE(WritePrivateProfileSectionA("First", "n=1\0m=2\0plain line\0", file.c_str()));
  EXPECT_EQ(readBytes(file), "; settings\r\n[First]\r\nn=1\r\nm=2\r\nplain line\r\n\r\n[Second]\r\nc=3\r\n");
  ASSERT_TRUE(WritePrivateProfileSectionA("New", "k=v\0", file.c_str()));
  EXPECT_EQ(get("New", "k", "", file), "v");
  ASSERT_TRUE(WritePrivateProfileSectionA("Second", "", file.c_str()));
  ASSERT_TRUE(WritePrivateProfileSectionA("New", nullptr, file.c_str()));
  EXPECT_EQ(readBytes(file), "; settings\r\n[First]\r\nn=1\r\nm=2\r\nplain line\r\n\r\n[Second]\r\n");
}

TEST_F(Profile, WriteFailsWithMappedError) {
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", path("no/such/dir/x.ini").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

  fs::create_directories(dir_ / "adir.ini");
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", path("adir.ini").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

}

TEST_F(Profile, WriteRefusesReadOnlyFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes read-only files";
  const std::string file = fixture("profile_write_lf.ini");
  fs::permissions(file, fs::perms::owner_read);
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringA("A", "x", "2", file.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(readBytes(file), "[A]\nx=1");
}

TEST_F(Profile, WritesInPlaceWhenOnlyTheFileIsWritable) {
  const std::string file = fixture("profile_write_lf.ini");
  ::chmod(file.c_str(), 0666);
  ::chmod(dir_.c_str(), 0555);  // no temporary file can go beside it (unless root)
  const bool written = WritePrivateProfileStringA("A", "x", "2", file.c_str());
  ::chmod(dir_.c_str(), 0755);
  ASSERT_TRUE(written);
  EXPECT_EQ(readBytes(file), "[A]\nx=2");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(Profile, WriteKeepsPermissionsAndLinks) {
  const std::string file = fixture("profile_write_lf.ini");
  ::chmod(file.c_str(), 0640);
  ASSERT_TRUE(WritePrivateProfileStringA("A", "x", "2", file.c_str()));
  struct stat st{};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  const std::string link = path("link.ini");
  fs::create_symlink(file, link);
  ASSERT_TRUE(WritePrivateProfileStringA("A", "x", "3", link.c_str()));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(readBytes(file), "[A]\nx=3");
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

TEST_F(Profile, ResolvesFileNamesIgnoringCaseAndInWindowsDirectory) {
  fs::copy_file(kData + "/profile_read.ini", dir_ / "Profile_Case.INI");
  EXPECT_EQ(get("Values", "plain", "", (dir_ / "PROFILE_case.ini").string()), "hello");
  const std::string windowsStyle = dir_.string() + "\\profile_CASE.ini";
  EXPECT_EQ(get("Values", "plain", "", windowsStyle), "hello");

  // A bare name lies in the Windows directory (the one holding WIN.INI).
  EXPECT_EQ(get("Values", "plain", "no", "profile_case.ini"), "hello");
  ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "v", "bare.ini"));
  EXPECT_TRUE(fs::exists(dir_ / "bare.ini"));
  EXPECT_EQ(get("S", "k", "", "BARE.INI"), "v");
}

TEST_F(Profile, SeesChangesMadeBehindTheCache) {
  const fs::path file = dir_ / "changing.ini";
  writeBytes(file, "[s]\nk=aaa\n");
  EXPECT_EQ(get("s", "k", "", file.string()), "aaa");
  // Same size, same inode, at once: within the file system's clock tick.
  { std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary); f.seekp(6); f.write("bbb", 3); }
  EXPECT_EQ(get("s", "k", "", file.string()), "bbb");
  // Replaced by another file.
  writeBytes(dir_ / "other.ini", "[s]\nk=longer value\n");
  fs::rename(dir_ / "other.ini", file);
  EXPECT_EQ(get("s", "k", "", file.string()), "longer value");
  // Removed.
  fs::remove(file);
  EXPECT_EQ(get("s", "k", "gone", file.string()), "gone");
}

TEST_F(Profile, CacheFollowsTheNanosecondsOfTheModificationTime) {
  const fs::path file = dir_ / "stamped.ini";
  auto setTime = [&](long ns) {
    const timespec times[2] = {{1600000000, ns}, {1600000000, ns}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  };
  writeBytes(file, "[s]\nk=one\n");
  setTime(500);
  EXPECT_EQ(get("s", "k", "", file.string()), "one");
  // Same size and inode; only the nanoseconds of the time tell.
  { std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary); f.seekp(6); f.write("two", 3); }
  setTime(501);
  EXPECT_EQ(get("s", "k", "", file.string()), "two");
  // With the stamp put back exactly, the cached copy answers: nothing is re-read.
  { std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary); f.seekp(6); f.write("six", 3); }
  setTime(501);
  EXPECT_EQ(get("s", "k", "", file.string()), "two");
  // Flushing (all NULL) drops the cached copy.
  EXPECT_FALSE(WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str()));
  EXPECT_EQ(get("s", "k", "", file.string()), "six");
}

TEST_F(Profile, WinIniFunctionsUseKyWinIni) {
  char buf[64];
  EXPECT_EQ(GetProfileStringA("intl", "sDecimal", ".", buf, sizeof buf), 1u);  // no WIN.INI yet
  EXPECT_STREQ(buf, ".");
  EXPECT_EQ(GetProfileIntA("intl", "iCountry", 1), 1u);

  ASSERT_TRUE(WriteProfileStringA("intl", "sDecimal", ","));
  ASSERT_TRUE(WriteProfileStringA("intl", "iCountry", "49"));
  EXPECT_EQ(readBytes(dir_ / "WIN.INI"), "[intl]\r\nsDecimal=,\r\niCountry=49\r\n");
  EXPECT_EQ(GetProfileStringA("INTL", "sdecimal", ".", buf, sizeof buf), 1u);
  EXPECT_STREQ(buf, ",");
  EXPECT_EQ(GetProfileIntA("intl", "iCountry", 1), 49u);
  EXPECT_EQ(get("intl", "sDecimal", "", "win.ini"), ",");
  EXPECT_EQ(get("intl", "sDecimal", "", "WIN.INI"), ",");
  const std::string section = listBytes("sDecimal=,\0iCountry=49\0");
  EXPECT_EQ(GetProfileSectionA("intl", buf, sizeof buf), section.size() - 1);
  EXPECT_EQ(std::string(buf, section.size()), section);
  ASSERT_TRUE(WriteProfileSectionA("intl", "sLanguage=deu\0"));
  EXPECT_EQ(get("intl", "sLanguage", "", "win.ini"), "deu");

  // The Windows directory holds WIN.INI; the system directory is inside it.
  const std::string windows = dir_.string();
  EXPECT_EQ(GetWindowsDirectoryA(buf, sizeof buf), windows.size());
  EXPECT_EQ(buf, windows);
  EXPECT_EQ(GetWindowsDirectoryA(buf, static_cast<UINT>(windows.size())), windows.size() + 1);
  EXPECT_EQ(GetWindowsDirectoryA(nullptr, 0), windows.size() + 1);
  EXPECT_EQ(GetSystemDirectoryA(buf, sizeof buf), windows.size() + 9);
  EXPECT_EQ(buf, windows + "/system32");
}

TEST_F(Profile, WinIniDefaultsToXdgConfigHome) {
  ::unsetenv("KY_WIN_INI");
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const std::optional<std::string> savedXdg = oldXdg ? std::optional<std::string>(oldXdg) : std::nullopt;
  ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
  char buf[512];
  GetWindowsDirectoryA(buf, sizeof buf);
  EXPECT_EQ(std::string(buf), (dir_ / "config" / "ky").string());
  // The Windows directory is made on the first write.
  EXPECT_TRUE(WriteProfileStringA("windows", "device", "PDF"));
  EXPECT_EQ(readBytes(dir_ / "config" / "ky" / "WIN.INI"), "[windows]\r\ndevice=PDF\r\n");
  if (savedXdg) ::setenv("XDG_CONFIG_HOME", savedXdg->c_str(), 1);
  else ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(Profile, StructsRoundTripWithChecksum) {
  const std::string file = path("struct.ini");
  BYTE data[3] = {0x01, 0x02, 0xFF};
  ASSERT_TRUE(WritePrivateProfileStructA("s", "k", data, sizeof data, file.c_str()));
  EXPECT_EQ(get("s", "k", "", file), "0102FF02");  // bytes, then their sum's low byte

  BYTE back[3] = {};
  EXPECT_TRUE(GetPrivateProfileStructA("s", "k", back, sizeof back, file.c_str()));
  EXPECT_EQ(std::memcmp(back, data, sizeof data), 0);

  struct Case { const char* value; UINT size; DWORD error; } bad[] = {
      {"0102FF02", 2, ERROR_BAD_LENGTH},     // wrong size
      {"0102FF03", 3, ERROR_INVALID_DATA},   // wrong checksum
      {"01G2FF02", 3, ERROR_INVALID_DATA},   // not hex
  };
  for (const Case& c : bad) {
    ASSERT_TRUE(WritePrivateProfileStringA("s", "bad", c.value, file.c_str()));
    SetLastError(0);
    EXPECT_FALSE(GetPrivateProfileStructA("s", "bad", back, c.size, file.c_str())) << c.value;
    EXPECT_EQ(GetLastError(), c.error) << c.value;
  }
  EXPECT_FALSE(GetPrivateProfileStructA("s", "none", back, sizeof back, file.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  ASSERT_TRUE(WritePrivateProfileStructA("s", "k", nullptr, 0, file.c_str()));  // NULL deletes
  EXPECT_EQ(get("s", "k", "gone", file), "gone");
}

TEST_F(Profile, SurvivesCorruptFiles) {
  const fs::path file = dir_ / "corrupt.ini";
  std::string bytes = listBytes("\xEF\xBB\xBF[s]\nk=a\0b\n[\n]\n[[x]]]\n==\n\r\r\n\x1a");
  bytes.pop_back();
  bytes += std::string(100000, 'z');  // one very long line without ending
  writeBytes(file, bytes);
  EXPECT_EQ(get("s", "k", "", file.string()), "a");  // a value stops at a NUL
  EXPECT_EQ(get("[x", nullptr, "d", file.string()), "d");  // a nameless key is no key
  char names[256];
  GetPrivateProfileSectionNamesA(names, sizeof names, file.string().c_str());
  EXPECT_EQ(splitList(names), (std::vector<std::string>{"s", "[x"}));
  char big[16];
  EXPECT_EQ(GetPrivateProfileSectionA("[x", big, sizeof big, file.string().c_str()), 14u);
  EXPECT_EQ(std::string(big), "==");  // a line without a name before '=' comes back as written
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "fixed", file.string().c_str()));
  EXPECT_EQ(get("s", "k", "", file.string()), "fixed");
}

TEST_F(Profile, RefusesDevicesAndFifos) {
  const std::string fifo = path("fifo.ini");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  struct Case { const char* file; } cases[] = {{"/dev/zero"}, {"/dev/null"}, {fifo.c_str()}};
  for (const Case& c : cases) {
    EXPECT_EQ(get("s", "k", "dflt", c.file), "dflt") << c.file;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << c.file;
  }
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", fifo.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  struct stat st{};
  ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(Profile, ConcurrentReadersAndWritersKeepEveryKey) {
  const std::string file = path("threads.ini");
  constexpr int kThreads = 4;
  constexpr int kKeys = 25;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      char buf[32];
      for (int k = 0; k < kKeys; ++k) {
        const std::string key = "t" + std::to_string(t) + "k" + std::to_string(k);
        WritePrivateProfileStringA("Shared", key.c_str(), key.c_str(), file.c_str());
        GetPrivateProfileStringA("Shared", key.c_str(), "", buf, sizeof buf, file.c_str());
        EXPECT_EQ(std::string(buf), key);
      }
    });
  }
  for (auto& t : threads) t.join();
  for (int t = 0; t < kThreads; ++t) {
    for (int k = 0; k < kKeys; ++k) {
      const std::string key = "t" + std::to_string(t) + "k" + std::to_string(k);
      EXPECT_EQ(get("Shared", key.c_str(), "", file), key);
    }
  }
}

TEST_F(Profile, ConcurrentProcessesKeepEveryKey) {
  const std::string file = path("processes.ini");
  constexpr int kProcesses = 4;
  constexpr int kKeys = 10;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      bool ok = true;
      for (int k = 0; k < kKeys; ++k) {
        const std::string key = "p" + std::to_string(p) + "k" + std::to_string(k);
        ok = WritePrivateProfileStringA("Shared", key.c_str(), "1", file.c_str()) && ok;
      }
      ::_exit(ok ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  char keys[4096];
  GetPrivateProfileStringA("Shared", nullptr, "", keys, sizeof keys, file.c_str());
  EXPECT_EQ(splitList(keys).size(), static_cast<size_t>(kProcesses * kKeys));
}

}  // namespace
