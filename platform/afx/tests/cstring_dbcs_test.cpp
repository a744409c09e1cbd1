// The string class's case functions under a double-byte code page: the ANSI
// code page comes from KY_ACP, read once per process, so this program runs
// under 932 unless KY_ACP names another page, and the build runs it again
// under 936, 949 and 950. Each page has double-byte characters whose trail
// byte is an ASCII letter: they keep both bytes and their identity.
#include <afx.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const bool kAcpSet = [] { return ::setenv("KY_ACP", "932", 0) == 0; }();

bool isCharacter(const std::string& bytes) {
  WCHAR wide[2];
  return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), wide, 2) == 1;
}

// A lead byte that makes two characters with the trail bytes 'A' and 'a'.
std::string leadWithLetterTrails() {
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    const std::string l(1, static_cast<char>(lead));
    if (IsDBCSLeadByte(static_cast<BYTE>(lead)) && isCharacter(l + "A") && isCharacter(l + "a")) return l;
  }
  return "";
}

class CStringDbcs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kAcpSet);
    CPINFO info{};
    ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
    ASSERT_EQ(info.MaxCharSize, 2u) << "code page " << GetACP() << " is not a double-byte page";
    lead_ = leadWithLetterTrails();
    ASSERT_FALSE(lead_.empty());
    upperA_ = lead_ + "A";
    lowerA_ = lead_ + "a";
  }
  std::string lead_, upperA_, lowerA_;  // a lead byte, and its characters with trail bytes 'A' and 'a'
};

TEST_F(CStringDbcs, CaseMappingLeavesTrailBytes) {
  struct Case {
    std::string text, upper, lower;
  };
  std::vector<Case> cases = {
      {"x" + lowerA_ + "y", "X" + lowerA_ + "Y", "x" + lowerA_ + "y"},
      {"X" + upperA_ + "Y", "X" + upperA_ + "Y", "x" + upperA_ + "y"},
      {"ab" + lead_, "AB" + lead_, "ab" + lead_},  // a lead byte at the end stands alone
  };
  if (GetACP() == 932) {
    cases.push_back({"\x93\xfa\x95\x5c" "ab", "\x93\xfa\x95\x5c" "AB", "\x93\xfa\x95\x5c" "ab"});  // trail 0x5C stays
    cases.push_back({"\xb1" "a", "\xb1" "A", "\xb1" "a"});  // a half-width katakana is one byte
  }
  for (const Case& c : cases) {
    CString up(c.text.c_str()), low(c.text.c_str());
    EXPECT_EQ(std::string(up.MakeUpper()), c.upper) << c.text;
    EXPECT_EQ(std::string(low.MakeLower()), c.lower) << c.text;
    // The kernel's functions map alike: one case table.
    std::string viaKernel = c.text;
    CharUpperBuffA(viaKernel.data(), static_cast<DWORD>(viaKernel.size()));
    EXPECT_EQ(viaKernel, c.upper) << c.text;
  }
}

TEST_F(CStringDbcs, CompareNoCaseTakesDoubleByteCharactersWhole) {
  struct Case {
    std::string a, b;
    int expected;
  };
  const Case cases[] = {
      {"A" + lowerA_, "a" + lowerA_, 0},
      {lowerA_, upperA_, 1},  // two characters, not one in two cases
      {upperA_ + "z", upperA_ + "Z", 0},
      {"b", upperA_, -1},  // a double-byte character after every single byte
      {"", upperA_, -1},
  };
  auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (const Case& c : cases) {
    EXPECT_EQ(sign(CString(c.a.c_str()).CompareNoCase(c.b.c_str())), c.expected) << c.a << " / " << c.b;
    EXPECT_EQ(sign(CString(c.b.c_str()).CompareNoCase(c.a.c_str())), -c.expected) << c.b << " / " << c.a;
  }
}

}  // namespace
