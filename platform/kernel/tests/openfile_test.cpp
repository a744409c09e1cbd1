#include <winbase.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "scratchdir.h"

namespace fs = std::filesystem;

namespace {

class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard() : saved_(fs::current_path()) {}
  ~CurrentDirectoryGuard() { fs::current_path(saved_); }

 private:
  fs::path saved_;
};

}  // namespace

TEST(OpenFile, ExistParseAndDelete) {
  ScratchDir dir;
  dir.write("Layout.GRS", "grid");
  OFSTRUCT info{};
  EXPECT_EQ(OpenFile((windowsSpelling(dir.str()) + "\\layout.grs").c_str(), &info, OF_EXIST), 1);
  EXPECT_EQ(info.cBytes, sizeof(OFSTRUCT));
  EXPECT_EQ(info.nErrCode, 0);
  EXPECT_EQ(std::string(info.szPathName), dir / "Layout.GRS");

  SetLastError(0);
  EXPECT_EQ(OpenFile((dir / "missing.wav").c_str(), &info, OF_EXIST), HFILE_ERROR);
  EXPECT_EQ(info.nErrCode, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  EXPECT_EQ(OpenFile("C:\\a\\..\\b\\c.txt", &info, OF_PARSE), 0);
  EXPECT_STREQ(info.szPathName, "/b/c.txt");

  EXPECT_EQ(OpenFile((dir / "Layout.GRS").c_str(), &info, OF_DELETE), 1);
  EXPECT_FALSE(fs::exists(dir.path() / "Layout.GRS"));
}

TEST(OpenFile, BareNamesAreSearchedFromTheCurrentDirectory) {
  CurrentDirectoryGuard restore;
  ScratchDir dir;
  dir.write("Click.WAV", "RIFF");
  ASSERT_TRUE(SetCurrentDirectoryA(dir.str().c_str()));
  OFSTRUCT info{};
  const HFILE file = OpenFile("click.wav", &info, OF_READ | OF_SHARE_DENY_NONE);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(fs::path(info.szPathName), fs::canonical(dir.path() / "Click.WAV"));
  char buffer[8] = {};
  EXPECT_EQ(_lread(file, buffer, sizeof buffer), 4u);
  EXPECT_STREQ(buffer, "RIFF");
  EXPECT_EQ(_lclose(file), 0);
  // A closed HFILE is refused.
  EXPECT_EQ(_lread(file, buffer, 1), static_cast<UINT>(HFILE_ERROR));
  EXPECT_EQ(_lclose(file), HFILE_ERROR);
}

TEST(OpenFile, CreateWriteSeekAndRead) {
  ScratchDir dir;
  OFSTRUCT info{};
  HFILE file = OpenFile((dir / "new.bin").c_str(), &info, OF_CREATE | OF_READWRITE);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(_lwrite(file, "0123456789", 10), 10u);
  EXPECT_EQ(_llseek(file, -4, FILE_END), 6);
  char tail[4];
  EXPECT_EQ(_lread(file, tail, 4), 4u);
  EXPECT_EQ(std::string(tail, 4), "6789");
  EXPECT_EQ(_llseek(file, -1, FILE_BEGIN), HFILE_ERROR);
  EXPECT_EQ(_lclose(file), 0);

  file = _lcreat((dir / "lc.txt").c_str(), 0);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(_lwrite(file, "abc", 3), 3u);
  _lclose(file);
  file = _lopen((dir / "LC.TXT").c_str(), OF_READ);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(_lwrite(file, "x", 1), static_cast<UINT>(HFILE_ERROR));  // opened for reading only
  _lclose(file);
  EXPECT_EQ(_lopen((dir / "none").c_str(), OF_READ), HFILE_ERROR);
  EXPECT_EQ(dir.read("lc.txt"), "abc");
}
