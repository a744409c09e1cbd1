// The value's text: plain notation that keeps the magnitude, the exponent
// form beyond the plain-text limit, "-0", and the decimal places counted.
#include <gtest/gtest.h>

#include <string>

#include "FixedDecimalTestUtil.h"

namespace {

struct TextCase {
  const char* input;
  const char* text;
  int decimalPlaces;
};

TEST(Text, PlainNotationKeepsTheMagnitude) {
  const std::string nines34(34, '9');
  const TextCase cases[] = {
      {"0", "0", 0},
      {"-0", "0", 0},
      {"-0.00", "-0.00", 2},
      {"1.50", "1.50", 2},
      {"1E+3", "1000.0", 1},
      {"-1.5E+3", "-1500.0", 1},
      {"1.23E+1", "12.3", 1},
      {"0E+2", "0.0", 1},
      {"0E-8", "0.00000000", 8},
      {"0.0000001", "0.0000001", 7},
      {"-1.25E-7", "-0.000000125", 9},
      {"0.000001", "0.000001", 6},
      {"1E-40", "0.0000000000000000000000000000000000000001", 40},
      {"1E+40", "10000000000000000000000000000000000000000.0", 1},
      {"1234567890123456789012345678901234", "1234567890123456789012345678901234", 0},
      {"0.1234567890123456789012345678901234", "0.1234567890123456789012345678901234", 34},
      // One digit over 34: rounded, magnitude kept.
      {"99999999999999999999999999999999995", "100000000000000000000000000000000000.0", 1},
      {"NaN", "NaN", 0},
      {"-Infinity", "-Infinity", 0},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.input);
    CString out;
    const KyFixedDecimal value(c.input);
    EXPECT_STREQ(static_cast<const char*>(value.strGetString(out)), c.text);
    EXPECT_EQ(value.decimalPlaces, c.decimalPlaces);
    CString viaStatic;
    KyFixedDecimal::toStringKyFixedDecimal(value, viaStatic);
    EXPECT_STREQ(static_cast<const char*>(viaStatic), c.text);
  }
}

TEST(Text, ExponentFormBeyondThePlainLimit) {
  // 127 characters of plain text still plain; the next power of ten is not.
  const KyFixedDecimal widest("1E+124");  // 125 digits + ".0"
  EXPECT_EQ(textOf(widest).size(), 127u);
  EXPECT_EQ(textOf(KyFixedDecimal("1E+126")), "1E+126");
  EXPECT_EQ(textOf(KyFixedDecimal("-1.5E+999999")), "-1.5E+999999");
  EXPECT_EQ(textOf(KyFixedDecimal("1E-200")), "1E-200");
  EXPECT_EQ(KyFixedDecimal("1E-200").decimalPlaces, 200);
  // Every text reads back to the same value.
  for (const char* input : {"1E+126", "-7.25E-300", "1E+999999999", "3.3E-12"}) {
    SCOPED_TRACE(input);
    const KyFixedDecimal value(input);
    EXPECT_EQ(KyFixedDecimal(textOf(value).c_str()) == value, 1);
  }
}

TEST(Text, ResultsAtThe34DigitLimit) {
  const KyFixedDecimal nines(std::string(34, '9').c_str());
  EXPECT_EQ(textOf(nines + KyFixedDecimal(1)), "10000000000000000000000000000000000.0");
  const KyFixedDecimal e20("1E+20");
  EXPECT_EQ(textOf(e20 * e20), "10000000000000000000000000000000000000000.0");
  EXPECT_EQ(textOf(KyFixedDecimal(1) / KyFixedDecimal(3)), "0.3333333333333333333333333333333333");
  EXPECT_EQ(textOf(KyFixedDecimal(2) / KyFixedDecimal(3)), "0.6666666666666666666666666666666667");
}

}  // namespace
