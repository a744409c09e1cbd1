// +, -, *, / and % on finite numbers, NaN, infinities and zero divisors.
#include <gtest/gtest.h>

#include <string>

#include "FixedDecimalTestUtil.h"

namespace {

struct Operation {
  const char* a;
  char op;
  const char* b;
  const char* text;
  int state;
  int decimalPlaces;
};

KyFixedDecimal apply(const KyFixedDecimal& a, char op, const KyFixedDecimal& b) {
  switch (op) {
    case '+': return a + b;
    case '-': return a - b;
    case '*': return a * b;
    case '/': return a / b;
    default: return a % b;
  }
}

TEST(Arithmetic, OperationTable) {
  const Operation cases[] = {
      {"1.10", '+', "2.205", "3.305", 0, 3},
      {"1", '-', "1.00", "0.00", 0, 2},
      {"-2.5", '*', "4", "-10.0", 0, 1},
      {"7", '/', "2", "3.5", 0, 1},
      {"1", '/', "3", "0.3333333333333333333333333333333333", 0, 34},
      {"10", '%', "3", "1", 0, 0},
      {"-10.5", '%', "3", "-1.5", 0, 1},
      {"1E+20", '*', "1E+20", "10000000000000000000000000000000000000000.0", 0, 1},
      // Division and remainder by zero: NaN, state 2.
      {"1", '/', "0", "NaN", 2, 0},
      {"0", '/', "0.00", "NaN", 2, 0},
      {"5", '%', "0", "NaN", 2, 0},
      // A NaN operand gives NaN.
      {"NaN", '+', "1", "NaN", 2, 0},
      {"1", '*', "sNaN", "NaN", 2, 0},
      {"Infinity", '-', "NaN", "NaN", 2, 0},
      // Infinities as decNumber computes them.
      {"1", '+', "Infinity", "Infinity", 3, 0},
      {"Infinity", '+', "1", "Infinity", 3, 0},
      {"1", '-', "Infinity", "-Infinity", 3, 0},
      {"Infinity", '-', "1", "Infinity", 3, 0},
      {"-Infinity", '-', "-Infinity", "NaN", 2, 0},
      {"Infinity", '+', "-Infinity", "NaN", 2, 0},
      {"-2", '*', "Infinity", "-Infinity", 3, 0},
      {"Infinity", '*', "-2", "-Infinity", 3, 0},
      {"0", '*', "Infinity", "NaN", 2, 0},
      // Division and remainder with an infinite operand: NaN.
      {"1", '/', "Infinity", "NaN", 2, 0},
      {"Infinity", '/', "2", "NaN", 2, 0},
      {"Infinity", '%', "2", "NaN", 2, 0},
      {"2", '%', "-Infinity", "NaN", 2, 0},
      // Overflow of the exponent range is an infinity, state 3.
      {"9E+999999999", '*', "10", "Infinity", 3, 0},
      {"-9E+999999999", '+', "-9E+999999999", "-Infinity", 3, 0},
  };
  for (const Operation& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " " + c.op + " " + c.b);
    const KyFixedDecimal result = apply(KyFixedDecimal(c.a), c.op, KyFixedDecimal(c.b));
    EXPECT_EQ(textOf(result), c.text);
    EXPECT_EQ(result.state, c.state);
    EXPECT_EQ(result.decimalPlaces, c.decimalPlaces);
  }
}

TEST(Arithmetic, RoundsTo34SignificantDigitsHalfUp) {
  const KyFixedDecimal nines(std::string(34, '9').c_str());
  EXPECT_EQ(textOf(nines + KyFixedDecimal("0.5")), "10000000000000000000000000000000000.0");
  EXPECT_EQ(textOf(nines + KyFixedDecimal("0.4")), std::string(34, '9'));
  // 1.000...0005 (35 digits) rounds half up to 34 digits.
  const KyFixedDecimal one("1");
  const KyFixedDecimal half("5E-34");
  EXPECT_EQ(textOf(one + half), "1.000000000000000000000000000000001");
  EXPECT_EQ(textOf(KyFixedDecimal("-1") - half), "-1.000000000000000000000000000000001");
}

TEST(Arithmetic, LongRightOperand) {
  const KyFixedDecimal x("10.25");
  EXPECT_EQ(textOf(x + 5L), "15.25");
  EXPECT_EQ(textOf(x - 20L), "-9.75");
  EXPECT_EQ(textOf(x * -2L), "-20.50");
  EXPECT_EQ(textOf(x / 4L), "2.5625");
  EXPECT_EQ((x / 0L).state, 2);
  EXPECT_EQ(textOf(KyFixedDecimal(0L) + 9223372036854775807L), "9223372036854775807");
}

TEST(Arithmetic, OperandsAreNotChanged) {
  const KyFixedDecimal a("1.5");
  const KyFixedDecimal b("0");
  const KyFixedDecimal c = a / b;
  EXPECT_EQ(c.state, 2);
  EXPECT_EQ(textOf(a), "1.5");
  EXPECT_EQ(a.context.status, 0u);
  EXPECT_EQ(b.context.status, 0u);
  EXPECT_EQ(c.context.digits, 34);
}

}  // namespace
