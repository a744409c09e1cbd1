// The ANSI code page comes from KY_ACP, read once per process: this program
// sets it to 932 before anything asks.
#include <internal/codepage.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const bool kAcpSet = [] { return ::setenv("KY_ACP", "932", 1) == 0; }();

TEST(DbcsAnsiCodePage, EnvironmentSelects932) {
  ASSERT_TRUE(kAcpSet);
  EXPECT_EQ(GetACP(), 932u);
  CPINFO info;
  ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
  EXPECT_EQ(info.MaxCharSize, 2u);
}

TEST(DbcsAnsiCodePage, LeadBytesAndConversions) {
  EXPECT_TRUE(IsDBCSLeadByte(0x81));
  EXPECT_TRUE(IsDBCSLeadByte(0xE0));
  EXPECT_FALSE(IsDBCSLeadByte(0xB1));  // half-width katakana is one byte
  EXPECT_FALSE(IsDBCSLeadByte('a'));
  EXPECT_EQ(win32::ansiToWide("\x93\xfa\x96\x7b"), u"\u65e5\u672c");
  EXPECT_EQ(win32::wideToAnsi(u"\u8868"), "\x95\x5c");
  EXPECT_EQ(win32::ansiCharLength("\x95\x5c"), 2u);
  EXPECT_EQ(win32::ansiCharLength("\x95"), 1u);  // lead byte before the terminator
}

TEST(DbcsAnsiCodePage, CaseMappingLeavesDoubleByteCharactersAlone) {
  char text[] = "a\x82\x60z";  // a, full-width A (0x8260), z
  ASSERT_EQ(LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, text, -1, text, sizeof text), 5);
  EXPECT_STREQ(text, "A\x82\x60Z");
  WORD types[4];
  ASSERT_TRUE(GetStringTypeA(LOCALE_USER_DEFAULT, CT_CTYPE1, "\x93\xfa\xb1", 3, types));
  EXPECT_EQ(types[0], C1_ALPHA | C1_DEFINED);
  EXPECT_EQ(types[1], C1_ALPHA | C1_DEFINED);
  EXPECT_EQ(types[2], C1_ALPHA | C1_DEFINED);
}

}  // namespace
