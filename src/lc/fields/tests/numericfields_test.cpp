// The integer and floating-point fields: text in and out, range limits,
// built-in and listed special values and the database value-to-state step.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <string>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "vioNumeric.h"

namespace {

class NumericFields : public ::testing::Test {
 protected:
  // Every fixture writes the test program's WIN.INI: it outlives the test.
  void SetUp() override {
    kytest::writeWinIni(winIni_);
    app_.CreateContext();
  }
  void TearDown() override { app_.EndContext(); }
  std::string winIni_ = "[intl]\n";
  kytest::ScratchDir dir_;
  kytest::TestApp app_{dir_.path() / "APP.INI"};
};

template <class Field>
std::string textAfter(const char* input) {
  Field field;
  field.PutText(input);
  return std::string(field.strGetText());
}

// Values beyond a field's range are clamped to the limit of their sign.
TEST_F(NumericFields, IntegerTextIsClampedToTheRange) {
  struct Case {
    const char* input;
    const char* byteText;
    const char* intText;
    const char* longText;
    const char* llongText;
  } cases[] = {
      {"42", "42", "42", "42", "42"},
      {"  -17xyz", "0", "-17", "-17", "-17"},
      {"abc", "0", "0", "0", "0"},
      {"300", "255", "300", "300", "300"},
      {"70000", "255", "32767", "70000", "70000"},
      {"-70000", "0", "-32768", "-70000", "-70000"},
      {"2147483648", "255", "32767", "2147483647", "2147483648"},
      {"-2147483649", "0", "-32768", "-2147483648", "-2147483649"},
      {"9223372036854775808", "255", "32767", "2147483647", "9223372036854775807"},
      {"-99999999999999999999", "0", "-32768", "-2147483648", "-9223372036854775808"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(textAfter<KyByteFld>(c.input), c.byteText) << c.input;
    EXPECT_EQ(textAfter<KyIntFld>(c.input), c.intText) << c.input;
    EXPECT_EQ(textAfter<KyLongFld>(c.input), c.longText) << c.input;
    EXPECT_EQ(textAfter<KyLLongFld>(c.input), c.llongText) << c.input;
  }
}

TEST_F(NumericFields, BuiltInSpecialValues) {
  struct Case {
    short code;
    std::string byteText, intText, longText, llongText, sglText, dblText;
  } cases[] = {
      {1, "0", "0", "0", "0", "0", "0"},
      {4, "0", "0", "0", "0", "0", "0"},
      {2, "0", "-32768", "-2147483648", "-9223372036854775808", "-3.402823e+038", "-1.79769313486232e+308"},
      {8, "255", "32767", "2147483647", "9223372036854775807", "3.402823e+038", "1.79769313486232e+308"},
  };
  for (const Case& c : cases) {
    KyByteFld b(7, c.code);
    KyIntFld i(7, c.code);
    KyLongFld l(7, c.code);
    KyLLongFld ll(7, c.code);
    KySglFld s(7.0f, c.code);
    KyDblFld d(7.0, c.code);
    EXPECT_EQ(std::string(b.strGetText()), c.byteText) << c.code;
    EXPECT_EQ(std::string(i.strGetText()), c.intText) << c.code;
    EXPECT_EQ(std::string(l.strGetText()), c.longText) << c.code;
    EXPECT_EQ(std::string(ll.strGetText()), c.llongText) << c.code;
    EXPECT_EQ(std::string(s.strGetText()), c.sglText) << c.code;
    EXPECT_EQ(std::string(d.strGetText()), c.dblText) << c.code;
    EXPECT_EQ(i.GetFieldState(), c.code == 4 ? 0 : c.code);
  }
  KyIntFld other(7, 16);  // no special value: the value stays
  EXPECT_EQ(other.GetValue(), 7);
  EXPECT_EQ(other.GetFieldState(), 16);
}

TEST_F(NumericFields, ValueListAndDefaultValues) {
  KyIntFld field(0xA, 1, 2, 3, 4, 0xC);  // list: empty 1, null 2, low 3, high 4; mask empty|high
  EXPECT_EQ(field.GetValue(), 0);        // emptied before the list existed
  EXPECT_FALSE(field.IfEmpty());
  field.SetEmpty();
  EXPECT_EQ(field.GetValue(), 1);
  EXPECT_TRUE(field.IfEmpty());
  EXPECT_EQ(field.GetDefaultVal(8), 4);
  EXPECT_EQ(field.GetDefaultVal(2), -32768);  // no low entry under the mask
  EXPECT_EQ(field.GetDefaultVal(1), 0);
  field.SetFieldState(8);
  EXPECT_EQ(field.GetValue(), 4);

  KyIntFld copy(field);  // built-in high, then the list; no allowed states
  EXPECT_EQ(copy.GetValue(), 32767);
  EXPECT_EQ(copy.GetFieldState(), 8);
  EXPECT_EQ(copy.GetAllowedStates(), 0);
  copy.SetFieldState(8);
  EXPECT_EQ(copy.GetValue(), 4);

  KyIntFld target;
  target = field;  // the source's state with the target's (no) list
  EXPECT_EQ(target.GetValue(), 32767);
  KyIntFld constructed;
  constructed.Construct(field);
  EXPECT_EQ(constructed.GetValue(), 4);
  EXPECT_EQ(constructed.GetAllowedStates(), 0xA);
}

TEST_F(NumericFields, DatabaseStateFromColumnLimits) {
  vioNumeric column(nullptr, 8, 2);  // precision 5, scale 2: limits 999.99 and -999.99
  struct Case {
    double value;
    BYTE allowed;
    int state;
  } cases[] = {
      {999.99, 0xA, 8}, {-999.99, 0xA, 2}, {999.99, 0x2, 0}, {5.0, 0xA, 0}, {DBL_MAX, 0xA, 0},
  };
  for (const Case& c : cases) {
    KyDblFld field(c.allowed, 0, 0, 0, 0, 0);
    field.SetValue(c.value);
    field.KyContentToStateFromDB(&column);
    EXPECT_EQ(field.GetFieldState(), c.state) << c.value;
  }
  KyDblFld builtIn(0xA, 0, 0, 0, 0, 0);  // without a column: the built-in values
  builtIn.SetValue(DBL_MAX);
  builtIn.KyContentToStateFromDB();
  EXPECT_EQ(builtIn.GetFieldState(), 8);

  // A listed high value stands instead of the column's high limit; low
  // (not under the mask) still comes from the column.
  vioNumeric integer(nullptr, 6, 0);  // limits 9999 and -999 ('-' takes a digit's place)
  const struct {
    SHORT value;
    int state;
  } listedCases[] = {{100, 8}, {9999, 0}, {-999, 2}, {-9999, 0}, {-1, 0}};
  for (const auto& c : listedCases) {
    KyIntFld listed(0xA, 0, 0, -1, 100, 0x8);
    listed.SetValue(c.value);
    listed.KyContentToStateFromDB(&integer);
    EXPECT_EQ(listed.GetFieldState(), c.state) << c.value;
  }
}

TEST_F(NumericFields, SixtyFourBitLimitsAreExact) {
  vioNumeric column(nullptr, 22, 0);
  KyLLongFld field(0xA, 0, 0, 0, 0, 0);
  field.SetValue(INT64_MAX - 1000);  // the same double as INT64_MAX, but not equal
  field.KyContentToStateFromDB(&column);
  EXPECT_EQ(field.GetFieldState(), 0);
  field.SetValue(INT64_MAX);
  field.KyContentToStateFromDB(&column);
  EXPECT_EQ(field.GetFieldState(), 8);
}

TEST_F(NumericFields, FloatingPointTextForms) {
  struct Case {
    double value;
    int decimals;
    const char* dbl;
    const char* ldbl;
    const char* sgl;
  } cases[] = {
      {1e17, 2, "1e+017", "100000000000000000.00", "1e+017"},
      {-5e18, 2, "-5000000000000000000.00", "-5000000000000000000", "-5e+018"},
      {-5e17, 2, "-500000000000000000.00", "-500000000000000000.00", "-5e+017"},
      {123456.78, 2, "123456.78", "123456.78", "123456.8"},
      {0.1, -1, "0.1", "0.10000000000000001", "0.1"},  // the C run-time's 17 digits
      {2.5, 0, "3", "3", "3"},
      {-1e300, 1, nullptr, "-1.0000000000000001e+300", "-3.402823e+038"},
  };
  for (const Case& c : cases) {
    KyDblFld d(c.value, 0);
    KyLdblFld l(c.value, 0);
    KySglFld s(0.0f, 0);
    s.PutText(std::to_string(c.value).c_str());
    if (c.dbl) {
      EXPECT_STREQ(d.strGetText(c.decimals), c.dbl) << c.value;
    }
    EXPECT_STREQ(l.strGetText(c.decimals), c.ldbl) << c.value;
    EXPECT_STREQ(s.strGetText(c.decimals), c.sgl) << c.value;
  }
  // 1.005 is 1.00499999999999989... as a double: printf rounds it down.
  EXPECT_STREQ(KyDblFld(1.005, 0).strGetText(2), "1.00");
  // A huge negative value in fixed form is written whole, never into a
  // fixed buffer: 301 digits, the point and two decimals.
  EXPECT_EQ(KyDblFld(-1e300, 0).strGetText(2).GetLength(), 1 + 301 + 3);
}

TEST_F(NumericFields, FloatingPointTextInIsClampedAndNeverNaN) {
  struct Case {
    const char* input;
    double dbl;
    float sgl;
  } cases[] = {
      {"1.5", 1.5, 1.5f},          {" 1 234.5 ", 1234.5, 1234.5f}, {"1e39", 1e39, FLT_MAX},
      {"-1e39", -1e39, -FLT_MAX},  {"1e400", DBL_MAX, FLT_MAX},    {"-1e400", -DBL_MAX, -FLT_MAX},
      {"1e-400", 0.0, 0.0f},       {"nan", 0.0, 0.0f},             {"inf", 0.0, 0.0f},
      {"0x10", 0.0, 0.0f},         {"-.5x", -0.5, -0.5f},          {"", 0.0, 0.0f},
  };
  for (const Case& c : cases) {
    KyDblFld d;
    d.PutText(c.input);
    EXPECT_EQ(d.GetValue(), c.dbl) << c.input;
    KySglFld s;
    s.PutText(c.input);
    EXPECT_EQ(s.GetValue(), c.sgl) << c.input;
  }
}

class NumericFieldsComma : public NumericFields {
 protected:
  void SetUp() override {
    winIni_ = "[intl]\nsDecimal=,\nsThousand=.\n";
    NumericFields::SetUp();
  }
};

TEST_F(NumericFieldsComma, LocaleNotation) {
  KyDblFld d;
  d.PutText("1 234,5");  // the decimal character and blanks; '.' would be kept
  EXPECT_EQ(d.GetValue(), 1234.5);
  d.PutIntlText("1.234.567,25");
  EXPECT_EQ(d.GetValue(), 1234567.25);
  KyLongFld l;
  l.PutIntlText("1.234.567");
  EXPECT_EQ(l.GetValue(), 1234567);
  KySglFld s;
  s.PutIntlText("-2,5");
  EXPECT_EQ(s.GetValue(), -2.5f);
}

}  // namespace
