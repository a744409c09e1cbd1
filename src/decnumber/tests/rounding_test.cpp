// Rounding half away from zero and truncation toward zero to n decimals.
#include <gtest/gtest.h>

#include <string>

#include "FixedDecimalTestUtil.h"

namespace {

struct Case {
  const char* x;
  int n;
  const char* text;
};

TEST(Rounding, HalfAwayFromZero) {
  const std::string int34 = "1234567890123456789012345678901234";
  const Case cases[] = {
      {"2.345", 2, "2.35"},
      {"-2.345", 2, "-2.35"},
      {"2.344", 2, "2.34"},
      {"0", 2, "0"},
      {"0.000", 1, "0.0"},
      {"2.5", 0, "3"},
      {"-2.5", 0, "-3"},
      {"2.4999", 0, "2"},
      {"9.995", 2, "10.00"},
      {"-9.995", 2, "-10.00"},
      {"2.3", 2, "2.30"},    // padded to n decimals
      {"15", 1, "15.0"},
      {"1.5E+3", 0, "1500"},
      {"1234.5", -2, "1235"},  // n below 0 counts as 0
      {"NaN", 2, "NaN"},
      {"-Infinity", 2, "-Infinity"},
      // 34-digit limit: an integer stays as it is, padding stops at 34 digits.
      {int34.c_str(), 0, int34.c_str()},
      {int34.c_str(), 2, int34.c_str()},
      {"2.3", 40, "2.300000000000000000000000000000000"},
      {"0.1234567890123456789012345678901235", 33, "0.123456789012345678901234567890124"},
      {"99999999999999999999999999999999.95", 1, "100000000000000000000000000000000.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.x) + " to " + std::to_string(c.n));
    const KyFixedDecimal rounded = KyFixedDecimal::KyFixedDecimalRound(KyFixedDecimal(c.x), c.n);
    EXPECT_EQ(textOf(rounded), c.text);
  }
}

TEST(Rounding, TruncatesTowardZero) {
  const std::string int34 = "1234567890123456789012345678901234";
  const Case cases[] = {
      {"2.349", 2, "2.34"},
      {"-2.9", 0, "-2"},
      {"-0.5", 0, "0"},
      {"2.3", 2, "2.3"},  // never padded
      {"2.999", 1, "2.9"},
      {"1.5E+3", 2, "1500.0"},
      {"7.77", -3, "7"},
      {"0.1234567890123456789012345678901234", 33, "0.123456789012345678901234567890123"},
      {int34.c_str(), 5, int34.c_str()},
      {"1E-200", 5, "0.00000"},
      {"-1.9E+200", 0, "-1.9E+200"},
      {"sNaN", 1, "sNaN"},
      {"Infinity", 0, "Infinity"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.x) + " to " + std::to_string(c.n));
    const KyFixedDecimal cut = KyFixedDecimal::KyFixedDecimalTruncate(KyFixedDecimal(c.x), c.n);
    EXPECT_EQ(textOf(cut), c.text);
  }
}

TEST(Rounding, ResultDecimalPlacesAndState) {
  const KyFixedDecimal r = KyFixedDecimal::KyFixedDecimalRound(KyFixedDecimal("-2.345"), 2);
  EXPECT_EQ(r.decimalPlaces, 2);
  EXPECT_EQ(r.state, 0);
  const KyFixedDecimal t = KyFixedDecimal::KyFixedDecimalTruncate(KyFixedDecimal("2.9"), 0);
  EXPECT_EQ(t.decimalPlaces, 0);
  EXPECT_EQ(KyFixedDecimal::KyFixedDecimalRound(KyFixedDecimal("NaN"), 1).state, 2);
  EXPECT_EQ(KyFixedDecimal::KyFixedDecimalTruncate(KyFixedDecimal("-Infinity"), 1).state, 3);
}

}  // namespace
