// The string class's case functions under the double-byte code page 932:
// the ANSI code page comes from KY_ACP, read once per process, so this
// program sets it before anything asks.
#include <afx.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const bool kAcpSet = [] { return ::setenv("KY_ACP", "932", 1) == 0; }();

// Trail bytes that are ASCII letters: 0x83 0x41 (katakana a) and 0x83 0x61
// (another katakana) are two different characters.
TEST(CStringDbcs, CaseMappingLeavesTrailBytes) {
  ASSERT_TRUE(kAcpSet);
  ASSERT_EQ(GetACP(), 932u);
  struct Case {
    const char* text;
    const char* upper;
    const char* lower;
  };
  const Case cases[] = {
      {"x\x83\x61y", "X\x83\x61Y", "x\x83\x61y"},
      {"X\x83\x41Y", "X\x83\x41Y", "x\x83\x41y"},
      {"\x93\xfa\x95\x5c" "ab", "\x93\xfa\x95\x5c" "AB", "\x93\xfa\x95\x5c" "ab"},  // trail byte 0x5C stays
      {"\xb1" "a", "\xb1" "A", "\xb1" "a"},  // a half-width katakana is one byte
      {"ab\x83", "AB\x83", "ab\x83"},        // a lead byte at the end stands alone
  };
  for (const Case& c : cases) {
    CString up(c.text), low(c.text);
    EXPECT_EQ(up.MakeUpper(), c.upper) << c.text;
    EXPECT_EQ(low.MakeLower(), c.lower) << c.text;
  }
}

TEST(CStringDbcs, CompareNoCaseTakesDoubleByteCharactersWhole) {
  ASSERT_EQ(GetACP(), 932u);
  struct Case {
    const char* a;
    const char* b;
    int expected;
  };
  const Case cases[] = {
      {"A\x83\x61", "a\x83\x61", 0},
      {"\x83\x61", "\x83\x41", 1},    // two characters, not one in two cases
      {"\x83\x41z", "\x83\x41Z", 0},
      {"\x83\x41", "\xb1", 1},         // a double-byte character after every single byte
      {"b", "\x83\x41", -1},
      {"", "\x83\x41", -1},
  };
  auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (const Case& c : cases) {
    EXPECT_EQ(sign(CString(c.a).CompareNoCase(c.b)), c.expected) << c.a << " / " << c.b;
    EXPECT_EQ(sign(CString(c.b).CompareNoCase(c.a)), -c.expected) << c.b << " / " << c.a;
  }
}

}  // namespace
