// Making numbers from texts, integers, floating-point values and decNumbers:
// value text, state and decimal places.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "FixedDecimalTestUtil.h"

namespace {

struct Made {
  const char* what;
  std::function<KyFixedDecimal()> make;
  const char* text;
  int state;
  int decimalPlaces;
};

TEST(Construction, GivesTextStateAndDecimalPlaces) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const Made cases[] = {
      {"default", [] { return KyFixedDecimal(); }, "0.0", 0, 1},
      {"int 5", [] { return KyFixedDecimal(5); }, "5", 0, 0},
      {"int min", [] { return KyFixedDecimal(INT_MIN); }, "-2147483648", 0, 0},
      {"unsigned char", [] { return KyFixedDecimal(static_cast<unsigned char>(255)); }, "255", 0, 0},
      {"unsigned short", [] { return KyFixedDecimal(static_cast<unsigned short>(65535)); }, "65535", 0, 0},
      {"unsigned int", [] { return KyFixedDecimal(4294967295u); }, "4294967295", 0, 0},
      {"int 15e2", [] { return KyFixedDecimal(15, 2); }, "1500.0", 0, 1},
      {"int 15e-3", [] { return KyFixedDecimal(15, -3); }, "0.015", 0, 3},
      {"int exponent beyond range", [] { return KyFixedDecimal(1, INT_MAX); }, "Infinity", 3, 0},
      {"long", [] { return KyFixedDecimal(-9007199254740993L); }, "-9007199254740993", 0, 0},
      {"long 7e3", [] { return KyFixedDecimal(7L, 3); }, "7000.0", 0, 1},
      {"__int64 max", [] { return KyFixedDecimal(static_cast<__int64>(LLONG_MAX)); }, "9223372036854775807", 0, 0},
      {"long long min", [] { return KyFixedDecimal(LLONG_MIN); }, "-9223372036854775808", 0, 0},
      // 64 bits exactly: through a double this would end in ...616.
      {"unsigned long", [] { return KyFixedDecimal(ULONG_MAX); }, "18446744073709551615", 0, 0},
      {"unsigned long long", [] { return KyFixedDecimal(18446744073709551615ull); }, "18446744073709551615", 0, 0},
      {"float", [] { return KyFixedDecimal(0.5f); }, "0.500000", 0, 6},
      {"float max", [] { return KyFixedDecimal(FLT_MAX); }, "340282346638528859811704183484516900000.0", 0, 1},
      {"double 1.5", [] { return KyFixedDecimal(1.5); }, "1.500000000", 0, 9},
      {"double -0.1", [] { return KyFixedDecimal(-0.1); }, "-0.100000000", 0, 9},
      {"long double", [] { return KyFixedDecimal(2.25L); }, "2.250000000", 0, 9},
      // Below 10^36 nine decimals are written and then rounded to 34 digits.
      {"double 1e35", [] { return KyFixedDecimal(1e35); }, "99999999999999996863366107917975550.0", 0, 1},
      // 10^36 and up: 34 significant digits of the binary value.
      {"double 1e36", [] { return KyFixedDecimal(1e36); }, "1000000000000000042420637374017962000.0", 0, 1},
      {"double -1e100",
       [] { return KyFixedDecimal(-1e100); },
       "-10000000000000000159028911097599180000000000000000000000000000000000000000000000000000000000000000000.0",
       0, 1},
      {"double max", [] { return KyFixedDecimal(DBL_MAX); }, "1.797693134862315708145274237317044E+308", 0, 1},
      {"long double max", [] { return KyFixedDecimal(LDBL_MAX); }, "1.189731495357231765021263853030970E+4932", 0, 1},
      {"double NaN", [nan] { return KyFixedDecimal(nan); }, "NaN", 2, 0},
      {"double infinity", [inf] { return KyFixedDecimal(inf); }, "Infinity", 3, 0},
      {"double -infinity", [inf] { return KyFixedDecimal(-inf); }, "-Infinity", 3, 0},
      {"from double", [] { return KyFixedDecimal::KyFixedDecimalFromDouble(3.0); }, "3.000000000", 0, 9},
      {"from long double", [] { return KyFixedDecimal::KyFixedDecimalFromLongDouble(-3.0L); }, "-3.000000000", 0, 9},
      {"text", [] { return KyFixedDecimal("0.0000001"); }, "0.0000001", 0, 7},
      {"null text", [] { return KyFixedDecimal(static_cast<const char*>(nullptr)); }, "0.0", 0, 1},
      {"not a number", [] { return KyFixedDecimal("12a"); }, "NaN", 2, 0},
      {"empty text", [] { return KyFixedDecimal(""); }, "NaN", 2, 0},
      {"blanks", [] { return KyFixedDecimal(" 1"); }, "NaN", 2, 0},
      {"sNaN", [] { return KyFixedDecimal("sNaN"); }, "sNaN", 2, 0},
      {"infinity text", [] { return KyFixedDecimal("-Inf"); }, "-Infinity", 3, 0},
      {"exponent overflow", [] { return KyFixedDecimal("1E+9999999999"); }, "Infinity", 3, 0},
      {"35 digits rounded",
       [] { return KyFixedDecimal("1.2345678901234567890123456789012345"); },
       "1.234567890123456789012345678901235", 0, 33},
  };
  for (const Made& c : cases) {
    SCOPED_TRACE(c.what);
    const KyFixedDecimal value = c.make();
    EXPECT_EQ(textOf(value), c.text);
    EXPECT_EQ(value.state, c.state);
    EXPECT_EQ(value.decimalPlaces, c.decimalPlaces);
  }
}

TEST(Construction, SetMemberVariablesReparsesInOwnContext) {
  KyFixedDecimal value(7);
  value.SetMemberVariables("-12.50");
  EXPECT_EQ(textOf(value), "-12.50");
  EXPECT_EQ(value.decimalPlaces, 2);
  value.SetMemberVariables("x");
  EXPECT_EQ(value.state, 2);
  EXPECT_EQ(value.decimalPlaces, 0);
  value.SetMemberVariables("Infinity");
  EXPECT_EQ(value.state, 3);
  EXPECT_EQ(value.context.digits, 34);
  EXPECT_EQ(value.context.traps, 0u);
  EXPECT_EQ(value.context.round, DEC_ROUND_HALF_UP);
}

TEST(Construction, FromDecNumberFollowsItsFlags) {
  decContext context;
  decContextDefault(&context, DEC_INIT_BASE);
  context.traps = 0;
  context.digits = 34;
  decNumber number;

  decNumberFromString(&number, "-1.250", &context);
  const KyFixedDecimal counted(number);
  EXPECT_EQ(textOf(counted), "-1.250");
  EXPECT_EQ(counted.state, 0);
  EXPECT_EQ(counted.decimalPlaces, 3);

  const KyFixedDecimal given(number, 7);
  EXPECT_EQ(given.decimalPlaces, 7);

  // A NaN or an infinity is never taken for a finite number.
  decNumberFromString(&number, "NaN", &context);
  EXPECT_EQ(KyFixedDecimal(number).state, 2);
  decNumberFromString(&number, "-Infinity", &context);
  EXPECT_EQ(KyFixedDecimal(number, 2).state, 3);
}

TEST(Construction, CopyAndAssignment) {
  KyFixedDecimal source("2.5000");
  source.decimalPlaces = 9;  // the copy recounts from the text
  const KyFixedDecimal copy(source);
  EXPECT_EQ(textOf(copy), "2.5000");
  EXPECT_EQ(copy.decimalPlaces, 4);

  KyFixedDecimal target("1.5");  // one decimal place
  target = KyFixedDecimal("-7.125");
  EXPECT_EQ(textOf(target), "-7.125");
  EXPECT_EQ(target.decimalPlaces, 1);  // the target keeps its own
  target = KyFixedDecimal("NaN");
  EXPECT_EQ(target.state, 2);
  target = target;
  EXPECT_EQ(target.state, 2);
}

}  // namespace
