#include <mscrt.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class LowIo : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("crt_lowio_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const char* name) const { return (dir_ / name).string(); }
  static std::string contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void put(const std::string& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
  }
  fs::path dir_;
};

TEST_F(LowIo, BinaryModeKeepsBytes) {
  const std::string file = path("bin.dat");
  const int fd = _open(file.c_str(), _O_CREAT | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(_write(fd, "a\r\nb\n\x1a", 6), 6);
  EXPECT_EQ(_close(fd), 0);
  EXPECT_EQ(contents(file), std::string("a\r\nb\n\x1a"));

  const int in = _open(file.c_str(), _O_RDONLY | _O_BINARY);
  ASSERT_GE(in, 0);
  EXPECT_EQ(_filelength(in), 6);
  char buffer[16];
  EXPECT_EQ(_read(in, buffer, sizeof buffer), 6);
  EXPECT_EQ(std::string(buffer, 6), std::string("a\r\nb\n\x1a"));
  EXPECT_EQ(_read(in, buffer, sizeof buffer), 0);
  EXPECT_EQ(_lseek(in, 2, SEEK_SET), 2);
  EXPECT_EQ(_read(in, buffer, 1), 1);
  EXPECT_EQ(buffer[0], '\n');
  EXPECT_EQ(_close(in), 0);
}

TEST_F(LowIo, TextModeTranslatesLineEndsAndStopsAtCtrlZ) {
  const std::string file = path("text.txt");
  const int fd = _open(file.c_str(), _O_CREAT | _O_WRONLY | _O_TRUNC, _S_IWRITE);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(_write(fd, "a\nb", 3), 3);  // the caller's count
  _close(fd);
  EXPECT_EQ(contents(file), "a\r\nb");

  put(file, std::string("x\r\ny\rz\x1arest"));
  const int in = _open(file.c_str(), _O_RDONLY | _O_TEXT);
  ASSERT_GE(in, 0);
  char buffer[32];
  const int n = _read(in, buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer, static_cast<size_t>(std::max(n, 0))), "x\ny\rz");
  EXPECT_EQ(_read(in, buffer, sizeof buffer), 0);
  _close(in);
}

TEST_F(LowIo, TextModeJoinsCarriageReturnAcrossReads) {
  const std::string file = path("split.txt");
  put(file, "ab\r\ncd");
  const int in = _open(file.c_str(), _O_RDONLY);
  ASSERT_GE(in, 0);
  char buffer[8];
  EXPECT_EQ(_read(in, buffer, 3), 3);  // "ab\r" read, the LF looked ahead
  EXPECT_EQ(std::string(buffer, 3), "ab\n");
  EXPECT_EQ(_read(in, buffer, 8), 2);
  EXPECT_EQ(std::string(buffer, 2), "cd");
  _close(in);
}

TEST_F(LowIo, CreationModesAndTemporaryFiles) {
  const std::string readOnly = path("ro.dat");
  const int fd = _open(readOnly.c_str(), _O_CREAT | _O_WRONLY | _O_BINARY, _S_IREAD);
  ASSERT_GE(fd, 0);
  _close(fd);
  struct stat st;
  ASSERT_EQ(::stat(readOnly.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0222, 0u);

  const std::string temporary = path("tmp.dat");
  const int t = _open(temporary.c_str(), _O_CREAT | _O_RDWR | _O_TEMPORARY | _O_BINARY, _S_IWRITE);
  ASSERT_GE(t, 0);
  EXPECT_TRUE(fs::exists(temporary));
  _close(t);
  EXPECT_FALSE(fs::exists(temporary));

  errno = 0;
  EXPECT_EQ(_open(readOnly.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY, _S_IWRITE), -1);
  EXPECT_EQ(errno, EEXIST);
}

TEST_F(LowIo, OpensWindowsSpellingsAndReportsErrors) {
  fs::create_directories(dir_ / "Sub");
  put(path("Sub/Data.TXT"), "12345");
  int fd = -1;
  EXPECT_EQ(_sopen_s(&fd, (dir_.string() + "\\sub\\data.txt").c_str(), _O_RDONLY | _O_BINARY, _SH_DENYNO, _S_IREAD),
            0);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(_filelength(fd), 5);
  EXPECT_EQ(_close(fd), 0);
  EXPECT_EQ(_close(fd), -1);  // closed already
  EXPECT_EQ(errno, EBADF);

  EXPECT_EQ(_sopen_s(&fd, path("missing").c_str(), _O_RDONLY, _SH_DENYNO, 0), ENOENT);
  EXPECT_EQ(fd, -1);
  errno = 0;
  EXPECT_EQ(_open(dir_.c_str(), _O_RDONLY), -1);  // a directory is no file
  EXPECT_EQ(errno, EACCES);
  char buffer[4];
  EXPECT_EQ(_read(12345, buffer, 4), -1);
  EXPECT_EQ(errno, EBADF);
  EXPECT_EQ(_open(nullptr, _O_RDONLY), -1);
  EXPECT_EQ(_sopen_s(nullptr, "x", _O_RDONLY, _SH_DENYNO, 0), EINVAL);
}

TEST_F(LowIo, Unlink) {
  const std::string file = path("gone.txt");
  put(file, "x");
  EXPECT_EQ(_unlink(file.c_str()), 0);
  EXPECT_FALSE(fs::exists(file));
  errno = 0;
  EXPECT_EQ(_unlink(file.c_str()), -1);
  EXPECT_EQ(errno, ENOENT);
  errno = 0;
  EXPECT_EQ(_unlink(dir_.c_str()), -1);
  EXPECT_EQ(errno, EACCES);
}

TEST_F(LowIo, SearchEnvFindsAlongTheList) {
  fs::create_directories(dir_ / "a");
  fs::create_directories(dir_ / "b");
  put(path("b/app.ini"), "[x]");
  char found[512];
  for (const std::string& separator : {std::string(";"), std::string(":")}) {
    ::setenv("KY_CRT_SEARCH", (path("a") + separator + path("b")).c_str(), 1);
    EXPECT_EQ(_searchenv_s("app.ini", "KY_CRT_SEARCH", found, sizeof found), 0) << separator;
    EXPECT_EQ(std::string(found), path("b") + "/app.ini") << separator;
  }
  EXPECT_EQ(_searchenv_s("none.ini", "KY_CRT_SEARCH", found, sizeof found), ENOENT);
  EXPECT_STREQ(found, "");
  char tiny[4];
  EXPECT_EQ(_searchenv_s("app.ini", "KY_CRT_SEARCH", tiny, sizeof tiny), ERANGE);
  ::unsetenv("KY_CRT_SEARCH");
}

TEST(Time64, SecondsSinceTheEpoch) {
  __time64_t stored = 0;
  const __time64_t now = _time64(&stored);
  EXPECT_EQ(now, stored);
  EXPECT_LE(std::llabs(now - static_cast<__time64_t>(std::time(nullptr))), 1);
}

}  // namespace
