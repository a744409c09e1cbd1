// Double-byte text under code page 932: the ANSI code page comes from KY_ACP,
// read once per process, so this program sets it before anything asks.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

const bool kAcpSet = [] { return ::setenv("KY_ACP", "932", 1) == 0; }();

TEST(DbcsChars, CharNextStepsOverDoubleByteCharacters) {
  ASSERT_TRUE(kAcpSet);
  ASSERT_EQ(GetACP(), 932u);
  // 'a', 日 (93 FA), 表 (95 5C: its trail byte is a backslash), half-width ｱ (B1), 'b'
  const char text[] = "a\x93\xfa\x95\x5c\xb1" "b";
  std::vector<ptrdiff_t> steps;
  for (const char* p = text; *p; p = CharNextA(p)) steps.push_back(p - text);
  EXPECT_EQ(steps, (std::vector<ptrdiff_t>{0, 1, 3, 5, 6}));
  EXPECT_EQ(CharNextA(text + 7), text + 7);

  std::vector<ptrdiff_t> back;
  for (const char* p = text + 7; p != text;) {
    p = CharPrevA(text, p);
    back.push_back(p - text);
  }
  EXPECT_EQ(back, (std::vector<ptrdiff_t>{6, 5, 3, 1, 0}));
}

TEST(DbcsChars, LeadByteBeforeTheTerminatorIsOneCharacter) {
  const char text[] = "\x93";
  EXPECT_EQ(CharNextA(text), text + 1);
  EXPECT_EQ(CharNextExA(932, text, 0), text + 1);
  const char pair[] = "\x93\xfa";
  EXPECT_EQ(CharNextExA(1252, pair, 0), pair + 1);  // an explicit code page wins
  EXPECT_EQ(CharPrevExA(932, pair, pair + 2, 0), pair);
}

TEST(DbcsChars, CaseMappingSkipsTrailBytes) {
  char text[] = "x\x93\x61y";  // a kanji whose trail byte is 'a'
  CharUpperA(text);
  EXPECT_STREQ(text, "X\x93\x61Y");
  char buffer[] = "\x93\x61q";
  EXPECT_EQ(CharUpperBuffA(buffer, 3), 3u);
  EXPECT_STREQ(buffer, "\x93\x61Q");
}

TEST(DbcsChars, Classes) {
  EXPECT_TRUE(IsCharAlphaA(static_cast<CHAR>(0xB1)));   // half-width katakana
  EXPECT_FALSE(IsCharAlphaA(static_cast<CHAR>(0x93)));  // a lead byte alone is no character
  EXPECT_TRUE(IsCharAlphaA('k'));
}

}  // namespace
