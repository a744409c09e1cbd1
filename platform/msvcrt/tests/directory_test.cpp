#include <mscrt.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string hostCwd() { return fs::current_path().string(); }

TEST(Drives, OnlyDriveC) {
  EXPECT_EQ(_getdrive(), 3);
  EXPECT_EQ(_chdrive(3), 0);
  errno = 0;
  EXPECT_EQ(_chdrive(4), -1);
  EXPECT_EQ(errno, EACCES);
  EXPECT_EQ(_chdrive(0), -1);
}

TEST(Drives, CurrentDirectory) {
  char* allocated = _getdcwd(0, nullptr, 0);
  ASSERT_NE(allocated, nullptr);
  EXPECT_EQ(allocated, hostCwd());
  std::free(allocated);
  char buffer[4096];
  EXPECT_EQ(_getdcwd(3, buffer, sizeof buffer), buffer);
  EXPECT_EQ(std::string(buffer), hostCwd());
  EXPECT_EQ(_getcwd(buffer, sizeof buffer), buffer);
  errno = 0;
  EXPECT_EQ(_getdcwd(4, buffer, sizeof buffer), nullptr);
  EXPECT_EQ(errno, EACCES);
  errno = 0;
  EXPECT_EQ(_getdcwd(0, buffer, 2), nullptr);
  EXPECT_EQ(errno, ERANGE);
}

TEST(Paths, FullPathResolvesRelativeNames) {
  char* full = _fullpath(nullptr, "a/../b.txt", 0);
  ASSERT_NE(full, nullptr);
  EXPECT_EQ(std::string(full), hostCwd() + "/b.txt");
  std::free(full);
  char small[4];
  errno = 0;
  EXPECT_EQ(_fullpath(small, "some\\longer\\name", sizeof small), nullptr);
  EXPECT_EQ(errno, ERANGE);
}

class TempDirectory : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("crt_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(TempDirectory, AccessModes) {
  const std::string file = (dir_ / "f.txt").string();
  std::ofstream(file) << "x";
  EXPECT_EQ(_access(file.c_str(), 0), 0);
  EXPECT_EQ(_access(file.c_str(), 6), 0);
  ::chmod(file.c_str(), 0444);
  errno = 0;
  EXPECT_EQ(_access(file.c_str(), 2), -1);
  EXPECT_EQ(errno, EACCES);
  EXPECT_EQ(_access(file.c_str(), 4), 0);
  errno = 0;
  EXPECT_EQ(_access((dir_ / "missing").string().c_str(), 0), -1);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(_access(file.c_str(), 1), -1);  // no execute mode in Windows
}

TEST_F(TempDirectory, TempnamChoosesTheDirectory) {
  const char* savedTmp = std::getenv("TMP");
  const std::string saved = savedTmp ? savedTmp : "";

  ::setenv("TMP", dir_.c_str(), 1);
  char* a = _tempnam("\\no_such_dir", "ky");
  char* b = _tempnam("\\no_such_dir", "ky");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(std::string(a).rfind(dir_.string() + "/ky", 0), 0u) << a;
  EXPECT_STRNE(a, b);
  EXPECT_FALSE(fs::exists(a));
  std::free(a);
  std::free(b);

  ::setenv("TMP", (dir_ / "missing").c_str(), 1);  // TMP that does not exist is passed over
  char* c = _tempnam(dir_.c_str(), "pre");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(std::string(c).rfind(dir_.string() + "/pre", 0), 0u) << c;
  std::free(c);

  ::unsetenv("TMP");
  char* d = _tempnam("\\no_such_dir", nullptr);
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(fs::is_directory(fs::path(d).parent_path())) << d;
  std::free(d);

  if (savedTmp) ::setenv("TMP", saved.c_str(), 1);
}

TEST(TimeTexts, DateAndTimeForms) {
  char date[9], time[9];
  EXPECT_EQ(_strdate(date), date);
  EXPECT_EQ(_strtime(time), time);
  EXPECT_TRUE(std::regex_match(date, std::regex(R"(\d\d/\d\d/\d\d)"))) << date;
  EXPECT_TRUE(std::regex_match(time, std::regex(R"(\d\d:\d\d:\d\d)"))) << time;
}

}  // namespace
