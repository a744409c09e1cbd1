// The fixed-decimal field: its scale through copies and assignments, cutting
// and rounding at the scale, text input padded to the current decimals,
// special values and the value class's operations.
#include <gtest/gtest.h>

#include <string>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyFixedDecFld.h"
#include "vioNumeric.h"

namespace {

class FixedDecField : public ::testing::Test {
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

// A field of the given scale, made as generated code makes one: from a
// template value whose text has that many decimals.
KyFixedDecFld withScale(const char* templateValue) {
  KyFixedDecFld field;
  field.Construct(KyFixedDecFld(KyFixedDecImpl(templateValue), 0));
  return field;
}

std::string text(const KyFixedDecFld& field) { return std::string(field.strGetText()); }

TEST_F(FixedDecField, NewFieldsHaveScaleOneAndConstructSetsIt) {
  EXPECT_EQ(KyFixedDecFld().GetScale(), 1);
  EXPECT_EQ(KyFixedDecFld(KyFixedDecImpl("1.2345"), 0).GetScale(), 1);
  KyFixedDecFld field;
  field.Construct(KyFixedDecFld(KyFixedDecImpl("0.00"), 0));
  EXPECT_EQ(field.GetScale(), 2);
  EXPECT_EQ(text(field), "0.00");
}

TEST_F(FixedDecField, CopiesKeepTheScale) {
  KyFixedDecFld original;
  original.Construct(KyFixedDecFld(KyFixedDecImpl("0.00"), 0));
  KyFixedDecFld copy(original);
  EXPECT_EQ(copy.GetScale(), 2);
  copy = KyFixedDecFld(KyFixedDecImpl("1.239"), 0);
  EXPECT_EQ(text(copy), "1.23");  // cut at two decimals, not one
}

TEST_F(FixedDecField, AssignmentCutsAndRoundingAssignmentRoundsAtTheScale) {
  struct Case {
    const char* scaleTemplate;
    const char* source;
    const char* cut;
    const char* rounded;
  } cases[] = {
      {"0.00", "1.239", "1.23", "1.24"},
      {"0.00", "-1.235", "-1.23", "-1.24"},
      {"0.00", "-1.234", "-1.23", "-1.23"},
      {"0", "2.5", "2", "3"},
      {"0.0000", "1.5", "1.5", "1.5000"},  // cutting never pads, rounding does
      {"0.00", "9999999999999999999999999999.995", "9999999999999999999999999999.99",
       "10000000000000000000000000000.00"},
  };
  for (const Case& c : cases) {
    KyFixedDecFld source(KyFixedDecImpl(c.source), 0);
    KyFixedDecFld cut = withScale(c.scaleTemplate);
    cut = source;
    EXPECT_EQ(text(cut), c.cut) << c.source;
    KyFixedDecFld rounded = withScale(c.scaleTemplate);
    rounded <<= source;
    EXPECT_EQ(text(rounded), c.rounded) << c.source;
    EXPECT_EQ(rounded.GetScale(), cut.GetScale());
  }
}

TEST_F(FixedDecField, PutTextPadsToTheCurrentDecimals) {
  struct Case {
    const char* input;
    const char* stored;
  } cases[] = {
      {"12", "12.00"},         {"1,234.5", "1234.50"},  {" 7 ", "7.00"},      {"3.14159", "3.14159"},
      {"1e3", "1000.0"},       {"1E3", "1000.0"},       // an exponent is never padded
      {"-0.5", "-0.50"},       {"abc", "NaN"},
  };
  for (const Case& c : cases) {
    KyFixedDecFld field = withScale("0.00");
    field.PutText(c.input);
    EXPECT_EQ(text(field), c.stored) << c.input;
    EXPECT_EQ(field.GetScale(), 2) << c.input;
  }
}

// Signs, exponents, digits beyond the 34 a number holds, and texts longer
// than the reading's stack buffer (128 characters), which are read whole.
TEST_F(FixedDecField, PutTextReadsSignsExponentsAndLongTexts) {
  const std::string zeros200(200, '0');
  const std::string blanks300(300, ' ');
  const std::string threes140(140, '3');
  std::string thousands = "1";
  for (int i = 0; i < 10; ++i) thousands += ",000";
  struct Case {
    std::string input;
    const char* stored;
  } cases[] = {
      {"+12", "12.00"},
      {"-1,234,567.891", "-1234567.891"},
      {"1.5e2", "150.0"},
      {"-2.5E-3", "-0.0025"},
      {"12-", "NaN"},
      {"", "0.00"},
      // 35 digits: rounded half up to 34.
      {"12345678901234567890123456789012345.6", "12345678901234567890123456789012350.0"},
      {zeros200 + "12.5", "12.50"},
      {blanks300 + "7" + blanks300, "7.00"},
      {"1." + threes140, "1.333333333333333333333333333333333"},
      {thousands, "1000000000000000000000000000000.00"},
  };
  for (const Case& c : cases) {
    KyFixedDecFld field = withScale("0.00");
    field.PutText(c.input.c_str());
    EXPECT_EQ(text(field), c.stored) << c.input;
    EXPECT_EQ(field.GetScale(), 2) << c.input;
    KyFixedDecFld intl = withScale("0.00");
    intl.PutIntlText(c.input.c_str());
    EXPECT_EQ(text(intl), c.stored) << "intl " << c.input;
  }
}

// A field whose value has a billion decimals (1E-999999999) pads what is
// typed as if the zeros were all written, without writing them: the digits
// stop at 34, and a zero keeps its exponent.
TEST_F(FixedDecField, PutTextPadsToABillionDecimalsWithoutWritingThem) {
  const struct {
    const char* input;
    const char* stored;
  } cases[] = {
      {"5", "5.000000000000000000000000000000000"},
      {"12.5", "12.50000000000000000000000000000000"},
      {"-0", "-0E-999999999"},
      {"0", "0E-999999999"},
  };
  for (const auto& c : cases) {
    for (bool intl : {false, true}) {
      KyFixedDecFld field;
      field.PutText("1E-999999999");
      ASSERT_EQ(text(field), "1E-999999999");
      if (intl)
        field.PutIntlText(c.input);
      else
        field.PutText(c.input);
      EXPECT_EQ(text(field), c.stored) << c.input << (intl ? " intl" : "");
    }
  }
}

class FixedDecFieldComma : public FixedDecField {
 protected:
  void SetUp() override {
    winIni_ = "[intl]\nsDecimal=,\nsThousand=.\n";
    FixedDecField::SetUp();
  }
};

TEST_F(FixedDecFieldComma, LocaleNotation) {
  KyFixedDecFld field = withScale("0.00");
  field.PutIntlText("1.234,5");
  EXPECT_EQ(text(field), "1234.50");
  field.PutIntlText("7");  // a missing point is added as the locale's
  EXPECT_EQ(text(field), "7.00");
  field.PutIntlText("");
  EXPECT_EQ(text(field), "0.00");
  field.PutText("2,5");  // PutText: the locale's decimal character is a point too
  EXPECT_EQ(text(field), "2.50");
}

// In the comma locale PutIntlText takes '.' as the thousands character;
// PutText takes both ',' and '.' as the point.
TEST_F(FixedDecFieldComma, LocaleNotationOfSignsExponentsAndLongTexts) {
  const std::string zeros150(150, '0');
  struct Case {
    std::string input;
    const char* intl;
    const char* program;
  } cases[] = {
      {"1.5", "15.00", "1.50"},
      {"-1,5e3", "-1500.0", "-1500.0"},
      {"+0,125", "0.125", "0.125"},
      {"1.234.567,5" + zeros150, "1234567.500000000000000000000000000", "NaN"},
  };
  for (const Case& c : cases) {
    KyFixedDecFld intl = withScale("0.00");
    intl.PutIntlText(c.input.c_str());
    EXPECT_EQ(text(intl), c.intl) << c.input;
    KyFixedDecFld program = withScale("0.00");
    program.PutText(c.input.c_str());
    EXPECT_EQ(text(program), c.program) << c.input;
  }
}

// Masked text is laid in program notation, then shown with the locale's
// separators; every digit of a 28-digit value stays.
TEST_F(FixedDecFieldComma, MaskedTextShowsTheLocaleSeparators) {
  const KyFixedDecFld field(KyFixedDecImpl("-1234567890123456789012345.67"), 0);
  EXPECT_EQ(std::string(field.strGetMaskedText("#,##0.00")), "-1.234.567.890.123.456.789.012.345,67");
  char buffer[256];
  KyFixedDecFld::FormatToBuffer(field, "#,##0.00", buffer, sizeof buffer, 0);
  EXPECT_STREQ(buffer, "-1,234,567,890,123,456,789,012,345.67");  // program notation
}

TEST_F(FixedDecField, ValueAndStateConstructorListsTheValue) {
  KyFixedDecFld field(KyFixedDecImpl(5), 8);
  EXPECT_EQ(field.GetFieldState(), 8);
  EXPECT_EQ(field.GetAllowedStates(), 8);
  EXPECT_TRUE(field.GetValue() == KyFixedDecImpl(5));
  field.SetValue(KyFixedDecImpl(1));
  field.SetFieldState(0);
  field.SetFieldState(8);
  EXPECT_TRUE(field.GetValue() == KyFixedDecImpl(5));
  EXPECT_EQ(field.GetLP(2), nullptr);
}

TEST_F(FixedDecField, BuiltInSpecialValuesFollowTheScale) {
  struct Case {
    const char* scaleTemplate;
    short code;
    const char* value;
  } cases[] = {
      {"0.00", 8, "99999999999999999999999999.99"},
      {"0.00", 2, "-99999999999999999999999999.99"},
      {"0", 8, "9999999999999999999999999999"},
      {"0.00", 1, "0.00"},
      {"0.00", 4, "0.00"},
  };
  for (const Case& c : cases) {
    KyFixedDecFld field = withScale(c.scaleTemplate);
    field.SetFieldState(c.code);
    EXPECT_TRUE(field.GetValue() == KyFixedDecImpl(c.value)) << c.value << " got " << text(field);
    EXPECT_TRUE(field.GetDefaultVal(c.code) == KyFixedDecImpl(c.value)) << c.value;
  }
}

TEST_F(FixedDecField, DatabaseStateFromMoneyLimits) {
  vioNumeric money(nullptr, 22, 4);
  const struct {
    const char* value;
    bool column;
    int state;
  } cases[] = {
      {"922337203685477.5807", true, 8},
      {"-922337203685477.5807", true, 2},
      {"922337203685477.5806", true, 0},
      {"99999999999999999999999999.99", false, 8},
      {"922337203685477.5807", false, 0},
  };
  for (const auto& c : cases) {
    KyFixedDecFld field(0xA, KyFixedDecImpl(0), KyFixedDecImpl(0), KyFixedDecImpl(0), KyFixedDecImpl(0), 0);
    field.Construct(KyFixedDecFld(KyFixedDecImpl(c.value), 0));
    field.InitLP(0xA, KyFixedDecImpl(0), KyFixedDecImpl(0), KyFixedDecImpl(0), KyFixedDecImpl(0), 0);
    field.KyContentToStateFromDB(c.column ? &money : nullptr);
    EXPECT_EQ(field.GetFieldState(), c.state) << c.value;
  }
}

TEST_F(FixedDecField, ValueOperations) {
  const KyFixedDecImpl a("10.5"), b("4");
  EXPECT_EQ(toString(a + b), "14.5");
  EXPECT_EQ(toString(a - b), "6.5");
  EXPECT_EQ(toString(a * b), "42.0");
  EXPECT_EQ(toString(a / b), "2.625");
  EXPECT_EQ(toString(a % b), "2.5");
  EXPECT_EQ(toString(a + 2L), "12.5");
  EXPECT_EQ(toString(a * 3L), "31.5");
  EXPECT_TRUE(a > b && b < a && a >= a && a <= a && a != b && !(a == b));
  EXPECT_EQ(toString(round(KyFixedDecImpl("2.345"), 2)), "2.35");
  EXPECT_EQ(toString(truncate(KyFixedDecImpl("2.349"), 2)), "2.34");
  EXPECT_EQ(toInt(KyFixedDecImpl("-7.9")), -7);
  EXPECT_EQ(toInt(KyFixedDecImpl("1e20")), INT_MAX);
  EXPECT_EQ(toDouble(KyFixedDecImpl("0.25")), 0.25L);
  // Nine decimals at most, and large values keep their magnitude.
  EXPECT_EQ(static_cast<long double>(KyFixedDecImpl("1.23456789012")), 1.23456789);
  EXPECT_EQ(static_cast<long double>(KyFixedDecImpl("123456789012345678901234")), 1.2345678901234568e23);
  KyFixedDecFld remainder = KyFixedDecFld(KyFixedDecImpl("7"), 8) % KyFixedDecFld(KyFixedDecImpl("4"), 0);
  EXPECT_EQ(remainder.GetFieldState(), 0);
  EXPECT_EQ(text(remainder), "3");
}

TEST_F(FixedDecField, CopyOfASpecialStateAllowsNothing) {
  KyFixedDecFld source(KyFixedDecImpl("0.00"), 0);
  source.InitLP(0x8, KyFixedDecImpl(0), KyFixedDecImpl(0), KyFixedDecImpl(0), KyFixedDecImpl(42), 0x8);
  source.SetFieldState(8);
  KyFixedDecFld copy(source);
  EXPECT_EQ(copy.GetFieldState(), 8);
  EXPECT_EQ(copy.GetAllowedStates(), 0);
  EXPECT_FALSE(copy.GetValue() == KyFixedDecImpl(42));  // built-in high first
  copy.SetFieldState(8);
  EXPECT_TRUE(copy.GetValue() == KyFixedDecImpl(42));  // then the copied list
}

}  // namespace
