// Character fields with double-byte text (code page 932, Japanese regional
// settings): cutting never splits a character (half a character becomes a
// blank, as in KyString), and the database step compares double-byte texts.
#include <gtest/gtest.h>

#include <cstdlib>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyCharFld.h"
#include "vioCharacter.h"

namespace {

const bool kAcpSet = [] { return ::setenv("KY_ACP", "932", 1) == 0; }();

#define D1 "\x82\xa0"
#define D2 "\x82\xa2"
#define D3 "\x95\x5c"  // its trail byte is a backslash

class CharDbcs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kAcpSet);
    ASSERT_EQ(GetACP(), 932u);
    kytest::writeWinIni("[intl]\nsLanguage=JPN\n");
    kytest::writeFile(ini_, "[Special Field Values]\nCharacter Empty Value=" D1 "\n");
    app_.CreateContext();
  }
  void TearDown() override { app_.EndContext(); }
  kytest::ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  kytest::TestApp app_{ini_};
};

TEST_F(CharDbcs, SafeCutKeepsWholeCharacters) {
  struct Case {
    int max;
    const char* text;
    const char* stored;
  } cases[] = {
      {4, D1 D2 D3, D1 D2},
      {3, D1 D2 D3, D1 " "},  // the second character does not fit whole
      {3, "a" D3 "b", "a" D3},
      {2, "a" D3, "a "},
  };
  for (const Case& c : cases) {
    KyCharFld field(c.max, 1, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
    field.PutText(c.text);
    EXPECT_STREQ(field.c_str(), c.stored) << c.max;
  }
}

TEST_F(CharDbcs, HostMixedLengthCountsShiftBytes) {
  // Host measure: shift-out and shift-in around each double-byte run.
  KyCharFld field(6, 1, 1, 0, nullptr, nullptr, nullptr, nullptr, 0);
  field.PutText(D1 D2 D3);
  EXPECT_STREQ(field.c_str(), D1 D2);
  EXPECT_EQ(field.GetHostLength(), 6);
}

TEST_F(CharDbcs, DoubleByteEmptyValueFromTheIniFile) {
  vioCharacter column(nullptr, 5);
  column.PutText(D1 "  ");
  KyCharFld field("old");
  field = column;
  EXPECT_STREQ(field.c_str(), "");  // matched the empty value: SetEmpty
  column.PutText(D2);
  field = column;
  EXPECT_STREQ(field.c_str(), D2);
  EXPECT_TRUE(KyCharFld(D1 D3) == KyCharFld(D1 D3 "  "));
}

}  // namespace
