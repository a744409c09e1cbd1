// Under code page 932 a trail byte 0x5C is part of its character, not a
// separator, and formatted wide text is cut between characters. KY_ACP is read once per process: set before anything asks.
#include <mscrt.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const bool kAcpSet = [] { return ::setenv("KY_ACP", "932", 1) == 0; }();

TEST(SplitPathDbcs, TrailByteIsNoSeparator) {
  ASSERT_TRUE(kAcpSet);
  char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
  _splitpath("C:\\\x95\x5c\\\x95\x5c.txt", drive, dir, fname, ext);  // C:\表\表.txt
  EXPECT_STREQ(drive, "C:");
  EXPECT_STREQ(dir, "\\\x95\x5c\\");
  EXPECT_STREQ(fname, "\x95\x5c");
  EXPECT_STREQ(ext, ".txt");
  char path[_MAX_PATH];
  _makepath(path, nullptr, "\x95\x5c", "f", nullptr);  // the directory does not end in a separator
  EXPECT_STREQ(path, "\x95\x5c\\f");
}

TEST(FormatDbcs, WidePrecisionCutsBetweenCharacters) {
  char buffer[16];
  // 日本 in 932 is four bytes; three bytes of room keep only the first character.
  EXPECT_EQ(_snprintf(buffer, sizeof buffer, "%.3S|", u"\u65e5\u672c"), 3);
  EXPECT_STREQ(buffer, "\x93\xfa|");
  EXPECT_EQ(_snprintf(buffer, sizeof buffer, "%.4ls|", u"\u65e5\u672c"), 5);
  EXPECT_STREQ(buffer, "\x93\xfa\x96\x7b|");
}

}  // namespace
