// Conversion to int, 64-bit integers and floating point: exact digits, range
// checks, NaN and infinities.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "FixedDecimalTestUtil.h"

namespace {

struct IntegerCase {
  const char* text;
  int asInt;
  long long asLongLong;
};

TEST(Conversion, IntegersTruncateAndSaturate) {
  const IntegerCase cases[] = {
      {"-2.9", -2, -2},
      {"2.9", 2, 2},
      {"0.0", 0, 0},
      {"-0.5", 0, 0},
      {"12345678901.7", INT_MAX, 12345678901LL},
      {"2147483647.99", INT_MAX, 2147483647LL},
      {"-2147483648.5", INT_MIN, -2147483648LL},
      {"2147483648", INT_MAX, 2147483648LL},
      {"1.5E+3", 1500, 1500},
      // Above 2^53: every digit kept.
      {"9007199254740993", INT_MAX, 9007199254740993LL},
      {"9223372036854775807.9", INT_MAX, LLONG_MAX},
      {"-9223372036854775808", INT_MIN, LLONG_MIN},
      {"9223372036854775808", INT_MAX, LLONG_MAX},
      {"-9999999999999999999", INT_MIN, LLONG_MIN},
      {"1E+40", INT_MAX, LLONG_MAX},
      {"-1E+999999", INT_MIN, LLONG_MIN},
      {"1E-999999", 0, 0},
      {"Infinity", INT_MAX, LLONG_MAX},
      {"-Infinity", INT_MIN, LLONG_MIN},
      {"NaN", 0, 0},
  };
  for (const IntegerCase& c : cases) {
    SCOPED_TRACE(c.text);
    const KyFixedDecimal value(c.text);
    EXPECT_EQ(KyFixedDecimal::toIntKyFixedDecimal(value), c.asInt);
    EXPECT_EQ(KyFixedDecimal::toLongLongKyFixedDecimal(value), c.asLongLong);
  }
}

TEST(Conversion, DoubleIsTheNearestToTheText) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"1.5", 1.5},
      {"-0.1", -0.1},
      {"12345678901.7", 12345678901.7},
      {"1.5E+3", 1500.0},
      {"0.3333333333333333333333333333333333", 1.0 / 3.0},
      {"1E+400", std::numeric_limits<double>::infinity()},
      {"-1E+400", -std::numeric_limits<double>::infinity()},
      {"1E-400", 0.0},
      {"5E-324", 5e-324},
      {"-Infinity", -std::numeric_limits<double>::infinity()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const KyFixedDecimal value(c.text);
    EXPECT_EQ(KyFixedDecimal::toDoubleKyFixedDecimal(value), static_cast<long double>(c.value));
    const long double viaOperator = value;
    EXPECT_EQ(viaOperator, static_cast<long double>(c.value));
  }
  EXPECT_TRUE(std::isnan(KyFixedDecimal::toDoubleKyFixedDecimal(KyFixedDecimal("NaN"))));
  EXPECT_TRUE(std::isnan(KyFixedDecimal::toDoubleKyFixedDecimal(KyFixedDecimal("sNaN"))));
}

TEST(Conversion, IndependentOfTheCLocale) {
  // A locale with a decimal comma, where one is installed.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
    GTEST_SKIP() << "no locale with a decimal comma";
  const KyFixedDecimal fromDouble(1.5);
  const long double back = KyFixedDecimal::toDoubleKyFixedDecimal(KyFixedDecimal("2.25"));
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(textOf(fromDouble), "1.500000000");
  EXPECT_EQ(back, 2.25L);
}

}  // namespace
