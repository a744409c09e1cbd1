// Conversions between field types: the assignment table (numeric fields and
// columns), the rounding assignments of the fixed-decimal field and the
// casts through texts and digits, with sources in every state, special and
// out-of-range values.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <functional>
#include <string>

#include "../../app/tests/testapp.h"
#include "KyCharFld.h"
#include "KyDateFld.h"
#include "KyFixedDecFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "vioDateTime.h"
#include "vioInteger.h"
#include "vioNumeric.h"

namespace {

class Conversions : public ::testing::Test {
 protected:
  void SetUp() override {
    kytest::writeFile(ini_, "[Special Field Values]\n");
    app_.CreateContext();
  }
  void TearDown() override { app_.EndContext(); }

  kytest::ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  kytest::TestApp app_{ini_};
};

// Opens the protected casts of a target class.
template <class T>
struct Caster : T {
  using T::T;
  template <class Source>
  Caster& From(const Source& source) {
    this->CastFrom(source);
    return *this;
  }
};

struct Result {
  std::string text;
  int state;
};

template <class Field>
Result resultOf(const Field& field) {
  return {std::string(field.strGetText()), field.GetFieldState()};
}

// A fixed-decimal field of a scale holding a text.
KyFixedDecFld fixedOf(const char* text, int scale = 2, short state = 0) {
  KyFixedDecFld field;
  field.SetScale(scale);
  field.PutText(text);
  if (state) field.SetFieldState(state);
  return field;
}

template <class Target, class Source>
Result assign(Target target, const Source& source) {
  target = source;
  return resultOf(target);
}

struct NumberCase {
  const char* what;
  std::function<std::pair<double, int>()> run;
  double value;
  int state;
};

template <class Target, class Source>
std::pair<double, int> assigned(const Source& source) {
  Target target;
  target = source;
  return {static_cast<double>(target.GetValue()), target.GetFieldState()};
}

template <class Target, class Source>
std::pair<double, int> assignedAllowing(const Source& source, BYTE allowed) {
  using V = typename Target::ValueType;
  Target target(allowed, V(), V(), V(), V(), 0);
  target = source;
  return {static_cast<double>(target.GetValue()), target.GetFieldState()};
}

vioNumeric numericColumn(const char* text, int length = 12, int scale = 2) {
  vioNumeric column(nullptr, length, scale);
  column.PutText(text);
  return column;
}

template <class Column>
Column nullColumn(Column column) {
  column.SetNull(1);
  return column;
}

TEST_F(Conversions, NumericAssignments) {
  const NumberCase cases[] = {
      // Floating into integers: the fraction is dropped toward zero.
      {"Int = Dbl 3.99", [] { return assigned<KyIntFld>(KyDblFld(3.99, 0)); }, 3, 0},
      {"Int = Dbl -3.99", [] { return assigned<KyIntFld>(KyDblFld(-3.99, 0)); }, -3, 0},
      {"Int = Sgl 12.5", [] { return assigned<KyIntFld>(KySglFld(12.5f, 0)); }, 12, 0},
      // Beyond the target's range: its limit, never the low bits.
      {"Byte = Dbl 300", [] { return assigned<KyByteFld>(KyDblFld(300.0, 0)); }, 255, 0},
      {"Byte = Dbl -1", [] { return assigned<KyByteFld>(KyDblFld(-1.0, 0)); }, 0, 0},
      {"Int = Sgl 70000", [] { return assigned<KyIntFld>(KySglFld(70000.0f, 0)); }, 32767, 0},
      {"Long = Dbl 1e12", [] { return assigned<KyLongFld>(KyDblFld(1e12, 0)); }, INT32_MAX, 0},
      {"Long = Dbl -1e12", [] { return assigned<KyLongFld>(KyDblFld(-1e12, 0)); }, INT32_MIN, 0},
      {"LLong = Dbl 1e19", [] { return assigned<KyLLongFld>(KyDblFld(1e19, 0)); }, 9223372036854775807.0, 0},
      {"Sgl = Dbl 1e300", [] { return assigned<KySglFld>(KyDblFld(1e300, 0)); }, FLT_MAX, 0},
      {"Sgl = Dbl -1e300", [] { return assigned<KySglFld>(KyDblFld(-1e300, 0)); }, -FLT_MAX, 0},
      // Integers widen exactly.
      {"Int = Byte 200", [] { return assigned<KyIntFld>(KyByteFld(200, 0)); }, 200, 0},
      {"Long = Int -32768", [] { return assigned<KyLongFld>(KyIntFld(-32768, 0)); }, -32768, 0},
      {"Long = Byte 7", [] { return assigned<KyLongFld>(KyByteFld(7, 0)); }, 7, 0},
      {"LLong = Long min", [] { return assigned<KyLLongFld>(KyLongFld(INT32_MIN, 0)); }, INT32_MIN, 0},
      {"LLong = Int", [] { return assigned<KyLLongFld>(KyIntFld(12, 0)); }, 12, 0},
      {"LLong = Byte", [] { return assigned<KyLLongFld>(KyByteFld(255, 0)); }, 255, 0},
      {"LLong = Sgl", [] { return assigned<KyLLongFld>(KySglFld(-2.5f, 0)); }, -2, 0},
      {"Sgl = LLong 2^24+1", [] { return assigned<KySglFld>(KyLLongFld(16777217, 0)); }, 16777216, 0},
      {"Sgl = Byte", [] { return assigned<KySglFld>(KyByteFld(3, 0)); }, 3, 0},
      {"Sgl = Int", [] { return assigned<KySglFld>(KyIntFld(-3, 0)); }, -3, 0},
      {"Sgl = Long", [] { return assigned<KySglFld>(KyLongFld(1000000, 0)); }, 1000000, 0},
      {"Dbl = LLong max", [] { return assigned<KyDblFld>(KyLLongFld(INT64_MAX, 0)); }, 9223372036854775807.0, 0},
      {"Dbl = Sgl 0.5", [] { return assigned<KyDblFld>(KySglFld(0.5f, 0)); }, 0.5, 0},
      {"Dbl = Byte", [] { return assigned<KyDblFld>(KyByteFld(9, 0)); }, 9, 0},
      {"Dbl = Int", [] { return assigned<KyDblFld>(KyIntFld(-9, 0)); }, -9, 0},
      {"Dbl = Long", [] { return assigned<KyDblFld>(KyLongFld(INT32_MAX, 0)); }, INT32_MAX, 0},
      // From a fixed decimal: from its digits, with a range check.
      {"Byte = Fixed 200.9", [] { return assigned<KyByteFld>(fixedOf("200.9")); }, 200, 0},
      {"Int = Fixed -40000.5", [] { return assigned<KyIntFld>(fixedOf("-40000.5")); }, -32768, 0},
      {"Long = Fixed 2147483647.99", [] { return assigned<KyLongFld>(fixedOf("2147483647.99")); }, INT32_MAX, 0},
      {"LLong = Fixed 1234567890123456789.99",
       [] {
         KyLLongFld target;
         target = fixedOf("1234567890123456789.99");
         return std::pair<double, int>(target.GetValue() == 1234567890123456789LL ? 1 : 0, target.GetFieldState());
       },
       1, 0},
      {"LLong = Fixed max",
       [] {
         KyLLongFld target;
         target = fixedOf("9223372036854775807", 0);
         return std::pair<double, int>(target.GetValue() == INT64_MAX ? 1 : 0, 0);
       },
       1, 0},
      {"LLong = Fixed min",
       [] {
         KyLLongFld target;
         target = fixedOf("-9223372036854775808", 0);
         return std::pair<double, int>(target.GetValue() == INT64_MIN ? 1 : 0, 0);
       },
       1, 0},
      {"LLong = Fixed 1e20", [] { return assigned<KyLLongFld>(fixedOf("99999999999999999999", 0)); },
       9223372036854775807.0, 0},
      {"Dbl = Fixed 0.1234567890123", [] { return assigned<KyDblFld>(fixedOf("0.1234567890123", 13)); },
       0.1234567890123, 0},
      {"Dbl = Fixed not a number", [] { return assigned<KyDblFld>(fixedOf("abc")); }, 0, 0},
      {"Sgl = Fixed 1e30", [] { return assigned<KySglFld>(fixedOf("1000000000000000000000000000000", 0)); },
       1e30f, 0},
      {"Sgl = Fixed beyond float", [] { return assigned<KySglFld>(fixedOf("1e50", 0)); }, FLT_MAX, 0},
      // The state follows: the target's own special value.
      {"Int = Dbl high", [] { return assigned<KyIntFld>(KyDblFld(1.0, KyStateHigh)); }, 32767, KyStateHigh},
      {"Int = Dbl low", [] { return assigned<KyIntFld>(KyDblFld(1.0, KyStateLow)); }, -32768, KyStateLow},
      {"Int = Dbl null", [] { return assigned<KyIntFld>(KyDblFld(5.0, KyStateNull)); }, 0, KyStateNull},
      {"Byte = Sgl high", [] { return assigned<KyByteFld>(KySglFld(1.0f, KyStateHigh)); }, 255, KyStateHigh},
      {"Long = Fixed high", [] { return assigned<KyLongFld>(fixedOf("1", 2, KyStateHigh)); }, INT32_MAX, KyStateHigh},
      {"Dbl = LLong low", [] { return assigned<KyDblFld>(KyLLongFld(1, KyStateLow)); }, -DBL_MAX, KyStateLow},
      // Columns.
      {"Int = vioInteger 70000", [] { return assigned<KyIntFld>(vioInteger(nullptr, 70000)); }, 32767, 0},
      {"Int = vioSmallInt -5", [] { return assigned<KyIntFld>(vioSmallInt(nullptr, -5)); }, -5, 0},
      {"Int = NULL vioInteger", [] { return assigned<KyIntFld>(nullColumn(vioInteger(nullptr, 9))); }, 0, KyStateNull},
      {"Int = vioNumeric 123.45", [] { return assigned<KyIntFld>(numericColumn("123.45")); }, 123, 0},
      {"Long = vioInteger", [] { return assigned<KyLongFld>(vioInteger(nullptr, INT32_MIN)); }, INT32_MIN, 0},
      {"Long = vioNumeric", [] { return assigned<KyLongFld>(numericColumn("-99.99")); }, -99, 0},
      {"Long = vioNumeric at its limit, high allowed",
       [] { return assignedAllowing<KyLongFld>(numericColumn("999", 6, 0), KyStateHigh); }, 999, KyStateHigh},
      {"Long = vioNumeric below its limit, high allowed",
       [] { return assignedAllowing<KyLongFld>(numericColumn("998", 6, 0), KyStateHigh); }, 998, 0},
      {"Long = NULL vioNumeric", [] { return assigned<KyLongFld>(nullColumn(numericColumn("1"))); }, 0, KyStateNull},
      {"LLong = vioBigInt max, high allowed",
       [] { return assignedAllowing<KyLLongFld>(vioBigInt(nullptr, INT64_MAX), KyStateHigh); },
       9223372036854775807.0, KyStateHigh},
      {"Sgl = vioFloat 2.5", [] { return assigned<KySglFld>(vioFloat(nullptr, 2.5)); }, 2.5, 0},
      {"Sgl = vioFloat 1e300", [] { return assigned<KySglFld>(vioFloat(nullptr, 1e300)); }, FLT_MAX, 0},
      {"Sgl = vioNumeric", [] { return assigned<KySglFld>(numericColumn("0.25")); }, 0.25, 0},
      {"Dbl = vioNumeric -0.5", [] { return assigned<KyDblFld>(numericColumn("-0.5")); }, -0.5, 0},
      {"Ldbl = vioFloat", [] { return assigned<KyLdblFld>(vioFloat(nullptr, -7.25)); }, -7.25, 0},
      {"Ldbl = NULL vioFloat", [] { return assigned<KyLdblFld>(nullColumn(vioFloat(nullptr, 1))); }, 0, KyStateNull},
  };
  for (const NumberCase& c : cases) {
    const auto [value, state] = c.run();
    EXPECT_DOUBLE_EQ(value, c.value) << c.what;
    EXPECT_EQ(state, c.state) << c.what;
  }
}

struct TextCase {
  const char* what;
  std::function<Result()> run;
  const char* text;
  int state;
};

template <class Source>
Result intoFixed(const Source& source, int scale) {
  KyFixedDecFld target = fixedOf("0", scale);
  target = source;
  return resultOf(target);
}

// The rounding assignment (field sources only: a column does not compile).
template <class Source>
Result intoFixed(const Source& source, int scale, bool) {
  KyFixedDecFld target = fixedOf("0", scale);
  target <<= source;
  return resultOf(target);
}

TEST_F(Conversions, AssignmentsIntoFixedDecimal) {
  const TextCase cases[] = {
      {"= Dbl 1.239", [] { return intoFixed(KyDblFld(1.239, 0), 2); }, "1.23", 0},
      {"<<= Dbl 1.239", [] { return intoFixed(KyDblFld(1.239, 0), 2, true); }, "1.24", 0},
      {"<<= Dbl -1.235", [] { return intoFixed(KyDblFld(-1.235, 0), 2, true); }, "-1.24", 0},
      {"= Dbl -1.235", [] { return intoFixed(KyDblFld(-1.235, 0), 2); }, "-1.23", 0},
      {"= Ldbl 2.5", [] { return intoFixed(KyLdblFld(2.5, 0), 0); }, "2", 0},
      {"<<= Ldbl 2.5", [] { return intoFixed(KyLdblFld(2.5, 0), 0, true); }, "3", 0},
      {"= Sgl 0.1", [] { return intoFixed(KySglFld(0.1f, 0), 2); }, "0.10", 0},
      {"<<= Sgl", [] { return intoFixed(KySglFld(0.125f, 0), 2, true); }, "0.13", 0},
      {"= Byte", [] { return intoFixed(KyByteFld(255, 0), 2); }, "255", 0},
      {"<<= Byte", [] { return intoFixed(KyByteFld(1, 0), 0, true); }, "1", 0},
      {"= Int", [] { return intoFixed(KyIntFld(-32768, 0), 1); }, "-32768", 0},
      {"<<= Int (rounding pads)", [] { return intoFixed(KyIntFld(5, 0), 1, true); }, "5.0", 0},
      {"= Long", [] { return intoFixed(KyLongFld(INT32_MAX, 0), 0); }, "2147483647", 0},
      {"<<= Long", [] { return intoFixed(KyLongFld(-1, 0), 0, true); }, "-1", 0},
      {"= LLong min", [] { return intoFixed(KyLLongFld(INT64_MIN, 0), 0); }, "-9223372036854775808", 0},
      {"<<= LLong max", [] { return intoFixed(KyLLongFld(INT64_MAX, 0), 0, true); }, "9223372036854775807", 0},
      {"= Dbl high", [] { return intoFixed(KyDblFld(1.0, KyStateHigh), 2); }, "99999999999999999999999999.99",
       KyStateHigh},
      {"= Int low", [] { return intoFixed(KyIntFld(1, KyStateLow), 0); }, "-9999999999999999999999999999",
       KyStateLow},
      {"<<= Sgl null", [] { return intoFixed(KySglFld(3.0f, KyStateNull), 2, true); }, "0.00", KyStateNull},
      {"= vioNumeric", [] { return intoFixed(numericColumn("12.3"), 2); }, "12.3", 0},
      {"= NULL vioNumeric", [] { return intoFixed(nullColumn(numericColumn("12.3")), 2); }, "0.00", KyStateNull},
      {"= vioMoney",
       [] {
         vioMoney money(nullptr, 22);
         money.PutText("1234.5678");
         return intoFixed(money, 4);
       },
       "1234.5678", 0},
      {"= vioMoney at the money limit, high allowed",
       [] {
         vioMoney money(nullptr, 22);
         money.PutText("922337203685477.5807");
         KyFixedDecFld target(KyStateHigh, KyFixedDecImpl(), KyFixedDecImpl(), KyFixedDecImpl(), KyFixedDecImpl(), 0);
         target.SetScale(4);
         target = money;
         return resultOf(target);
       },
       "922337203685477.5807", KyStateHigh},
  };
  for (const TextCase& c : cases) {
    const Result r = c.run();
    EXPECT_EQ(r.text, c.text) << c.what;
    EXPECT_EQ(r.state, c.state) << c.what;
  }
}

template <class Target, class Source>
Result cast(const Source& source) {
  Caster<Target> target;
  target.From(source);
  return resultOf(target);
}

template <class Target, class Source>
Result castIntoFixed(const Source& source, int scale) {
  Caster<KyFixedDecFld> target;
  target.SetScale(scale);
  target.From(source);
  return resultOf(target);
}

TEST_F(Conversions, Casts) {
  const KyDateFld date(2017, 2, 28);
  const KyTimeFld time(9, 5, 7);
  const KyTimeStampFld stamp(2017, 2, 28, 10, 0, 0, 5);
  const TextCase cases[] = {
      // Dates and times as numbers.
      {"Long <- date", [&] { return cast<KyLongFld>(date); }, "20170228", 0},
      {"Long <- time", [&] { return cast<KyLongFld>(time); }, "90507", 0},
      {"Byte <- date (clamped)", [&] { return cast<KyByteFld>(date); }, "255", 0},
      {"Int <- time 23:59:59 (clamped)", [] { return cast<KyIntFld>(KyTimeFld(23, 59, 59)); }, "32767", 0},
      {"Int <- time", [] { return cast<KyIntFld>(KyTimeFld(0, 1, 2)); }, "102", 0},
      {"Byte <- time", [] { return cast<KyByteFld>(KyTimeFld(0, 1, 2)); }, "102", 0},
      {"Int <- date", [] { return cast<KyIntFld>(KyDateFld(0, 0, 1)); }, "1", 0},
      {"LLong <- date 9999-12-31", [] { return cast<KyLLongFld>(KyDateFld(9999, 12, 31)); }, "99991231", 0},
      {"LLong <- time", [&] { return cast<KyLLongFld>(time); }, "90507", 0},
      {"Dbl <- date 0001-01-01", [] { return cast<KyDblFld>(KyDateFld(1, 1, 1)); }, "10101", 0},
      {"Dbl <- time", [&] { return cast<KyDblFld>(time); }, "90507", 0},
      {"Sgl <- date", [&] { return cast<KySglFld>(date); }, "2.017023e+007", 0},
      {"Sgl <- time", [&] { return cast<KySglFld>(time); }, "90507", 0},
      {"Long <- high date: state 0", [] { return cast<KyLongFld>(KyDateFld(1, 1, 1, KyStateHigh)); }, "99991231", 0},
      // Character texts into numbers, in the user's notation.
      {"Int <- '1,234'", [] { return cast<KyIntFld>(KyCharFld("1,234")); }, "1234", 0},
      {"Long <- '-77'", [] { return cast<KyLongFld>(KyCharFld("-77")); }, "-77", 0},
      {"Long <- '99999999999'", [] { return cast<KyLongFld>(KyCharFld("99999999999")); }, "2147483647", 0},
      {"LLong <- text", [] { return cast<KyLLongFld>(KyCharFld("9223372036854775807")); }, "9223372036854775807", 0},
      {"Sgl <- text", [] { return cast<KySglFld>(KyCharFld("2.5")); }, "2.5", 0},
      {"Dbl <- text", [] { return cast<KyDblFld>(KyCharFld("1,000.25")); }, "1000.25", 0},
      {"Dbl <- 'abc'", [] { return cast<KyDblFld>(KyCharFld("abc")); }, "0", 0},
      // Texts of dates, times, timestamps and doubles.
      {"Char <- date", [&] { return cast<KyCharFld>(date); }, "2017-02-28", 0},
      {"Char <- time", [&] { return cast<KyCharFld>(time); }, "09:05:07", 0},
      {"Char <- timestamp", [&] { return cast<KyCharFld>(stamp); }, "2017-02-28 10:00:00 5", 0},
      {"Char <- timestamp 0", [] { return cast<KyCharFld>(KyTimeStampFld(1, 1, 1, 0, 0, 0, 0)); },
       "0001-01-01 00:00:00 0", 0},
      {"Char <- Dbl", [] { return cast<KyCharFld>(KyDblFld(1.5, 0)); }, "1.5", 0},
      {"Char <- Dbl high", [] { return cast<KyCharFld>(KyDblFld(0, KyStateHigh)); }, "1.79769313486232e+308", 0},
      // Numbers split into dates and times.
      {"Date <- Long 20170228", [] { return cast<KyDateFld>(KyLongFld(20170228, 0)); }, "2017-02-28", 0},
      {"Date <- Long 170228", [] { return cast<KyDateFld>(KyLongFld(170228, 0)); }, "0017-02-28", 0},
      {"Date <- Long -1", [] { return cast<KyDateFld>(KyLongFld(-1, 0)); }, "0000-00-01", 0},
      {"Date <- Byte", [] { return cast<KyDateFld>(KyByteFld(255, 0)); }, "0000-02-55", 0},
      {"Date <- Int", [] { return cast<KyDateFld>(KyIntFld(10101, 0)); }, "0001-01-01", 0},
      {"Date <- Dbl 20170228.9", [] { return cast<KyDateFld>(KyDblFld(20170228.9, 0)); }, "2017-02-28", 0},
      {"Date <- Dbl 1e300", [] { return cast<KyDateFld>(KyDblFld(1e300, 0)); }, "2147-48-36", 0},
      {"Date <- Sgl", [] { return cast<KyDateFld>(KySglFld(10101.0f, 0)); }, "0001-01-01", 0},
      {"Date <- LLong 99991231", [] { return cast<KyDateFld>(KyLLongFld(99991231, 0)); }, "9999-12-31", 0},
      {"Date <- LLong 123456789012", [] { return cast<KyDateFld>(KyLLongFld(123456789012LL, 0)); }, "1234-56-78", 0},
      {"Date <- Fixed", [] { return cast<KyDateFld>(fixedOf("20170228", 0)); }, "2017-02-28", 0},
      {"Date <- Fixed 2017", [] { return cast<KyDateFld>(fixedOf("2017", 0)); }, "2017-00-00", 0},
      {"Time <- Long 1234567", [] { return cast<KyTimeFld>(KyLongFld(1234567, 0)); }, "12:34:56", 0},
      {"Time <- Long 90507", [] { return cast<KyTimeFld>(KyLongFld(90507, 0)); }, "09:05:07", 0},
      {"Time <- Byte", [] { return cast<KyTimeFld>(KyByteFld(7, 0)); }, "00:00:07", 0},
      {"Time <- Int", [] { return cast<KyTimeFld>(KyIntFld(1234, 0)); }, "00:12:34", 0},
      {"Time <- Sgl", [] { return cast<KyTimeFld>(KySglFld(235959.0f, 0)); }, "23:59:59", 0},
      {"Time <- Dbl", [] { return cast<KyTimeFld>(KyDblFld(101010.7, 0)); }, "10:10:10", 0},
      {"Time <- LLong", [] { return cast<KyTimeFld>(KyLLongFld(235959, 0)); }, "23:59:59", 0},
      {"Time <- Fixed", [] { return cast<KyTimeFld>(fixedOf("235959", 0)); }, "23:59:59", 0},
      {"Time <- high Long: state 0", [] { return cast<KyTimeFld>(KyLongFld(0, KyStateHigh)); }, "21:47:48", 0},
      {"TimeStamp <- Fixed", [] { return cast<KyTimeStampFld>(fixedOf("20170228100000005", 0)); },
       "2017-02-28 10:00:00.005", 0},
      {"TimeStamp <- Fixed without fraction", [] { return cast<KyTimeStampFld>(fixedOf("20170228100000", 0)); },
       "2017-02-28 10:00:00.000", 0},
      // Into the fixed decimal.
      {"Fixed <- text", [] { return castIntoFixed<KyFixedDecFld>(KyCharFld("  1,234.5  "), 2); }, "1234.5", 0},
      // The 41st character and beyond are cut: the 7 does not count.
      {"Fixed <- long text: cut to 40",
       [] { return castIntoFixed<KyFixedDecFld>(KyCharFld("   12.50000000000000000000000000000000000007   "), 2); },
       "12.50000000000000000000000000000000", 0},
      {"Fixed <- date", [&] { return castIntoFixed<KyFixedDecFld>(date, 2); }, "20170228.000000000", 0},
      {"Fixed <- time", [&] { return castIntoFixed<KyFixedDecFld>(time, 0); }, "90507.000000000", 0},
      {"Fixed <- timestamp", [&] { return castIntoFixed<KyFixedDecFld>(stamp, 0); }, "20170228100000005.0", 0},
      {"Fixed <- Dbl", [] { return castIntoFixed<KyFixedDecFld>(KyDblFld(-2.75, 0), 2); }, "-2.75", 0},
      // Pairs without a rule of their own go through the texts.
      {"Date <- text", [] { return cast<KyDateFld>(KyCharFld("2016/2/29")); }, "2016-02-29", 0},
      {"TimeStamp <- date", [&] { return cast<KyTimeStampFld>(date); }, "2017-02-28 00:00:00.000", 0},
      {"Char <- Long", [] { return cast<KyCharFld>(KyLongFld(-5, KyStateLow)); }, "-2147483648", 0},
  };
  for (const TextCase& c : cases) {
    const Result r = c.run();
    EXPECT_EQ(r.text, c.text) << c.what;
    EXPECT_EQ(r.state, c.state) << c.what;
  }
}

// Dates through numbers and texts and back, at the year limits and leap days.
TEST_F(Conversions, DatesRoundTrip) {
  const KyDateFld dates[] = {KyDateFld(1, 1, 1), KyDateFld(9999, 12, 31), KyDateFld(2000, 2, 29),
                             KyDateFld(1900, 2, 28), KyDateFld(2016, 2, 29)};
  for (const KyDateFld& date : dates) {
    Caster<KyLongFld> number;
    number.From(date);
    Caster<KyDateFld> back;
    back.From(static_cast<const KyLongFld&>(number));
    EXPECT_EQ(iKyCompDate(back, date), 0) << date.strGetText();
    Caster<KyCharFld> text;
    text.From(date);
    Caster<KyDateFld> parsed;
    parsed.From(static_cast<const KyCharFld&>(text));
    EXPECT_EQ(iKyCompDate(parsed, date), 0) << date.strGetText();
    EXPECT_EQ(parsed.Validate(), 1);
  }
}

}  // namespace
