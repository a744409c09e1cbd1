// Comparison: by value for finite numbers and infinities, by text between
// two NaNs, and unordered between a NaN and anything else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FixedDecimalTestUtil.h"

namespace {

// Expected results of ==, !=, <, <=, >, >= in that order.
struct Comparison {
  const char* a;
  const char* b;
  int eq, ne, lt, le, gt, ge;
};

TEST(Comparison, RelationTable) {
  const std::string big(34, '9');
  const Comparison cases[] = {
      {"1.0", "1.00", 1, 0, 0, 1, 0, 1},
      {"-0", "0.000", 1, 0, 0, 1, 0, 1},
      {"2", "10", 0, 1, 1, 1, 0, 0},
      {"-2", "-10", 0, 1, 0, 0, 1, 1},
      {"0.0000000000000000000000000000000001", "0", 0, 1, 0, 0, 1, 1},
      {big.c_str(), "1E+34", 0, 1, 1, 1, 0, 0},
      {"NaN", "NaN", 1, 0, 0, 1, 0, 1},
      {"NaN", "1", 0, 1, 0, 0, 0, 0},
      {"1", "NaN", 0, 1, 0, 0, 0, 0},
      {"NaN", "Infinity", 0, 1, 0, 0, 0, 0},
      // Infinities are ordered with every number.
      {"Infinity", "1E+999999", 0, 1, 0, 0, 1, 1},
      {"-Infinity", "-1E+999999", 0, 1, 1, 1, 0, 0},
      {"Infinity", "Infinity", 1, 0, 0, 1, 0, 1},
      {"-Infinity", "Infinity", 0, 1, 1, 1, 0, 0},
  };
  for (const Comparison& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " ? " + c.b);
    const KyFixedDecimal a(c.a);
    const KyFixedDecimal b(c.b);
    EXPECT_EQ(a == b, c.eq);
    EXPECT_EQ(a != b, c.ne);
    EXPECT_EQ(a < b, c.lt);
    EXPECT_EQ(a <= b, c.le);
    EXPECT_EQ(a > b, c.gt);
    EXPECT_EQ(a >= b, c.ge);
  }
}

TEST(Comparison, NaNsCompareByText) {
  // The texts "NaN" and "sNaN" order as strings do.
  const KyFixedDecimal quiet("NaN");
  const KyFixedDecimal signalling("sNaN");
  EXPECT_EQ(quiet < signalling, 1);
  EXPECT_EQ(quiet != signalling, 1);
  EXPECT_EQ(signalling > quiet, 1);
}

// Every pair of a set of values chosen around the shortcuts of the
// comparison (sign, zero of any sign and exponent, adjusted exponent, unit
// boundaries, equal values written with different exponents) orders
// exactly as decNumber's own comparison does.
TEST(Comparison, AgreesWithDecNumberOnEveryPair) {
  const std::string nines(34, '9');
  const std::vector<std::string> values = {
      "0", "-0", "0E+5", "-0E-7", "0.000", "1", "-1", "1.0", "1.00", "-1.000", "1.5", "1.50", "1.23", "1.499",
      "9", "10", "10.0", "99", "100", "999", "1000", "1000.0", "1001", "999.9999", "123456", "123457",
      "123456.000", "-123456", "-123457", "0.001", "0.0010", "0.0009", "1E-34", "-1E-34", "1E+34",
      "12345678901234567890123456789012.34", "12345678901234567890123456789012.35",
      "-12345678901234567890123456789012.34", nines, "-" + nines, "0." + nines, "9.99E+999999", "1E-999999",
      "922337203685477.5807", "-922337203685477.5807", "922337203685477.5808", "Infinity", "-Infinity",
  };
  decContext context;
  decContextDefault(&context, DEC_INIT_BASE);
  context.traps = 0;
  context.digits = KyFixedDecimal::kDigits;
  for (const std::string& left : values) {
    for (const std::string& right : values) {
      SCOPED_TRACE(left + " ? " + right);
      const KyFixedDecimal a(left.c_str());
      const KyFixedDecimal b(right.c_str());
      decNumber result;
      decNumberCompare(&result, &a.number, &b.number, &context);
      const int expected = decNumberIsZero(&result) ? 0 : decNumberIsNegative(&result) ? -1 : 1;
      EXPECT_EQ(a == b, expected == 0);
      EXPECT_EQ(a != b, expected != 0);
      EXPECT_EQ(a < b, expected < 0);
      EXPECT_EQ(a <= b, expected <= 0);
      EXPECT_EQ(a > b, expected > 0);
      EXPECT_EQ(a >= b, expected >= 0);
    }
  }
}

}  // namespace
