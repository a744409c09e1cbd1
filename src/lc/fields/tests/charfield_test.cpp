// The character field's text operations: cutting to the maximum, repeated
// characters, trailing blanks, program notation, bounded formatting and the
// wide-character constructor.
#include <gtest/gtest.h>

#include <string>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyCharFld.h"

namespace {

class CharField : public ::testing::Test {
 protected:
  void SetUp() override {
    kytest::writeWinIni("[intl]\nsDecimal=,\nsThousand=.\n");
    app_.CreateContext();
  }
  void TearDown() override { app_.EndContext(); }
  kytest::ScratchDir dir_;
  kytest::TestApp app_{dir_.path() / "APP.INI"};
};

#define LIMITED(name, max) KyCharFld name(max, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, 0)

TEST_F(CharField, PutTextCutsToTheMaximum) {
  struct Case {
    int max;
    const char* text;
    const char* stored;
  } cases[] = {{3, "abcdef", "abc"}, {3, "ab", "ab"}, {0, "abc", ""}, {-1, "abcdef", "abcdef"}, {5, nullptr, ""}};
  for (const Case& c : cases) {
    LIMITED(field, c.max);
    field.PutText(c.text);
    EXPECT_STREQ(field.c_str(), c.stored) << c.max;
    field.SetText(c.text);
    EXPECT_STREQ(field.c_str(), c.stored) << c.max;
  }
}

TEST_F(CharField, SetStringAndTrimSpaces) {
  LIMITED(field, 4);
  field.SetString(6, 'x');
  EXPECT_STREQ(field.c_str(), "xxxx");
  field.SetString(0, 'y');  // a count of 0 changes nothing
  EXPECT_STREQ(field.c_str(), "xxxx");
  field.SetString(-3, 'y');
  EXPECT_STREQ(field.c_str(), "xxxx");

  KyCharFld blanks("  a b  ");
  blanks.TrimSpaces();
  EXPECT_STREQ(blanks.c_str(), "  a b");
  KyCharFld allBlank("   ");
  allBlank.TrimSpaces();
  EXPECT_STREQ(allBlank.c_str(), "");
}

TEST_F(CharField, PutUSTextWritesTheUsersNotation) {
  KyCharFld field;
  field.PutUSText("1,234.56");
  EXPECT_STREQ(field.c_str(), "1.234,56");
}

TEST_F(CharField, FormatfIsBoundedByMaxStringSize) {
  KyCharFld field;
  field.Formatf("%s-%d-%.2f", "a", 42, 1.5);
  EXPECT_STREQ(field.c_str(), "a-42-1.50");
  field.Formatf("%e", 1e17);
  EXPECT_STREQ(field.c_str(), "1.000000e+017");  // the C run-time's form
  // A text longer than the work buffer (2048 bytes by default) is cut there.
  const std::string longText(5000, 'q');
  field.Formatf("%s", longText.c_str());
  EXPECT_EQ(field.GetLength(), 2047);
  LIMITED(small, 5);
  small.Formatf("%d", 1234567);
  EXPECT_STREQ(small.c_str(), "12345");
}

TEST_F(CharField, WideTextBecomesAnsiText) {
  const WCHAR text[] = {u'A', u'\u00e9', u'z', 0};
  KyCharFld field(text);
  EXPECT_STREQ(field.c_str(), "A\xe9z");  // code page 1252
  KyCharFld none(static_cast<const WCHAR*>(nullptr));
  EXPECT_STREQ(none.c_str(), "");
}

TEST_F(CharField, CastFromTakesTheSourceTextAndStateZero) {
  struct Caster : KyCharFld {
    using KyCharFld::KyCharFld;
    void From(const KyRTType& source) { CastFrom(source); }
  };
  Caster target("", 8);
  KyCharFld source("hello", 2);
  target.From(source);
  EXPECT_STREQ(target.c_str(), "hello");
  EXPECT_EQ(target.GetFieldState(), 0);
}

}  // namespace
