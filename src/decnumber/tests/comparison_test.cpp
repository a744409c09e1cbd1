// Comparison: by value for finite numbers and infinities, by text between
// two NaNs, and unordered between a NaN and anything else.
#include <gtest/gtest.h>

#include <string>

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

}  // namespace
