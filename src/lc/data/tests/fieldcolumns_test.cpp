// Fields assigned to column values before an insert or update: NULL, values
// saturated at the column's range, special states as column limits or as
// the settings' special values; and the system date and time values.
#include "databases.h"

#include "KyCharFld.h"
#include "KyDateFld.h"
#include "KyDatabaseConnection.h"
#include "KyFixedDecFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyViewIO.h"
#include "vioBigIntOra.h"
#include "vioCharacter.h"
#include "vioDateTime.h"
#include "vioInteger.h"
#include "vioNumeric.h"
#include "vioSysDateTime.h"

#include <cfloat>
#include <climits>

namespace {

using dbtest::DataTest;
using dbtest::PostgresServer;

// A double field that may be high and low, in the state given.
KyDblFld doubleIn(short state, double value = 1.5) {
  KyDblFld field(KyStateHigh | KyStateLow | KyStateNull, 0, 0, 0, 0, 0);
  field.SetValue(value);
  if (state) field.SetFieldState(state);
  return field;
}

KyFixedDecFld fixedIn(short state, const char* text = "1.5") {
  KyFixedDecFld field(KyStateHigh | KyStateLow | KyStateNull, KyFixedDecImpl(), KyFixedDecImpl(), KyFixedDecImpl(),
                      KyFixedDecImpl(), 0);
  field.SetScale(2);
  field.PutText(text);
  if (state) field.SetFieldState(state);
  return field;
}

TEST(FieldColumns, NumericColumnsTakeLimitsThatFitTheirPrecision) {
  struct Case {
    const char* what;
    std::function<void(vioNumeric&)> assign;
    bool money;
    const char* text;  // null: NULL
  } cases[] = {
      {"double 1.5", [](vioNumeric& c) { c = doubleIn(0); }, false, "1.50"},
      {"double high", [](vioNumeric& c) { c = doubleIn(KyStateHigh); }, false, "999.99"},
      {"double low", [](vioNumeric& c) { c = doubleIn(KyStateLow); }, false, "-999.99"},
      {"double null", [](vioNumeric& c) { c = doubleIn(KyStateNull); }, false, nullptr},
      {"fixed 12.25", [](vioNumeric& c) { c = fixedIn(0, "12.25"); }, false, "12.25"},
      {"fixed high", [](vioNumeric& c) { c = fixedIn(KyStateHigh); }, false, "+999.99"},
      {"fixed low", [](vioNumeric& c) { c = fixedIn(KyStateLow); }, false, "-999.99"},
      {"fixed null", [](vioNumeric& c) { c = fixedIn(KyStateNull); }, false, nullptr},
      {"money fixed high", [](vioNumeric& c) { c = fixedIn(KyStateHigh); }, true, "922337203685477.5807"},
      {"money fixed low", [](vioNumeric& c) { c = fixedIn(KyStateLow); }, true, "-922337203685477.5807"},
      {"money long", [](vioNumeric& c) { c = KyLongFld(-42, 0); }, true, "-42.0000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // NUMERIC(5,2) as the factory makes it (precision + 3 bytes); money of 22.
    std::unique_ptr<vioNumeric> column = c.money ? std::make_unique<vioMoney>(nullptr, 22)
                                                 : std::make_unique<vioNumeric>(nullptr, 8, 2);
    c.assign(*column);
    EXPECT_EQ(column->IsNull() != 0, c.text == nullptr);
    if (c.text) EXPECT_STREQ(column->GetText(), c.text);
  }
}

TEST(FieldColumns, IntegersSaturateAndFloatsTakeTheirDoubleLimit) {
  vioInteger integer(nullptr);
  integer = doubleIn(0, 1e12);
  EXPECT_EQ(integer.GetValue(), INT32_MAX);
  integer = doubleIn(0, -1e12);
  EXPECT_EQ(integer.GetValue(), INT32_MIN);
  integer = doubleIn(KyStateNull);
  EXPECT_TRUE(integer.IsNull());
  vioSmallInt small(nullptr);
  small = KyIntFld(-7, 0);
  EXPECT_FALSE(small.IsNull());
  EXPECT_EQ(small.GetValue(), -7);
  vioBigInt big(nullptr);
  big = KyLLongFld(INT64_MIN, 0);
  EXPECT_EQ(big.GetValue(), INT64_MIN);
  // A single-row float column is 10 long with scale 3.
  vioFloat real(nullptr);
  real = doubleIn(KyStateHigh);
  EXPECT_DOUBLE_EQ(real.GetValue(), 9999999.999);
  real = doubleIn(KyStateLow);
  EXPECT_DOUBLE_EQ(real.GetValue(), -9999999.999);
  real = fixedIn(0, "-2.25");
  EXPECT_DOUBLE_EQ(real.GetValue(), -2.25);
  real = 0.5;
  EXPECT_DOUBLE_EQ(real.GetValue(), 0.5);
}

class SpecialValues : public DataTest {};

TEST_F(SpecialValues, CharacterAndDateStatesTakeTheSettingsValues) {
  setIni(
      "[Special Field Values]\nCharacter High Value=~\nCharacter Empty Value=(none)\nDate Low Value=1900-01-02\n"
      "Date High Value=2999-12-31\n");
  KyCharFld high(20, 0, 0, KyStateHigh, "", "", "", "", 0);
  high.SetFieldState(KyStateHigh);
  vioCharacter text(nullptr, 6);
  text = high;
  EXPECT_STREQ(text.GetText(), "~~~~~");  // one character fills the column
  text = KyCharFld("");
  EXPECT_STREQ(text.GetText(), "(none");  // cut to the column
  text = KyCharFld("abc");
  EXPECT_STREQ(text.GetText(), "abc");
  KyDateFld low(KyStateLow, KyDateFld(), KyDateFld(), KyDateFld(), KyDateFld(), 0);
  low.SetFieldState(KyStateLow);
  vioDate date(nullptr);
  date = low;
  EXPECT_STREQ(date.GetText(), "1900-01-02");
  KyDateFld highDate(KyStateHigh, KyDateFld(), KyDateFld(), KyDateFld(), KyDateFld(), 0);
  highDate.SetFieldState(KyStateHigh);
  date = highDate;
  EXPECT_STREQ(date.GetText(), "2999-12-31");
  date = KyDateFld(2024, 2, 29);
  EXPECT_STREQ(date.GetText(), "2024-02-29");
}

// The high state of a double field goes into a NUMERIC(5,2) column the
// server checks, and comes back as the high state.
TEST_F(SpecialValues, HighDoubleIsStoredInANarrowNumericColumn) {
  ASSERT_TRUE(PostgresServer::Get().running());
  setIni("[ODBC-CON: Shop]\nDSN=pg\nUserid=postgres\nPassword=NOT_REQUIRED\n");
  constexpr vioFieldInfo kColumns[] = {{"k", vioTypeInteger, 4, 0, 0, 0}, {"price", vioTypeNumeric, 5, 2, 0, 0}};
  constexpr unsigned short kKeys[] = {0};
  KyViewDescription description("PRICES", 2, 1, kColumns, kKeys);
  description.SetDatabaseConnectionName("Shop", KyDatabaseConnection::KindODBC);
  KyViewIO* view = description.GetWrapper(nullptr, "Prices");
  ASSERT_NE(view, nullptr);
  view->ExecSql("DROP TABLE IF EXISTS prices");
  view->ExecSql("CREATE TABLE prices (k INTEGER PRIMARY KEY, price NUMERIC(5,2))");
  static_cast<vioInteger&>(*view->GetColumn(1)) = KyLongFld(1, 0);
  static_cast<vioNumeric&>(*view->GetColumn(2)) = doubleIn(KyStateHigh);
  KySQLStatement insert("INSERT INTO prices (k, price) VALUES (?, ?)");
  const int rc = view->Insert(&insert);
  ASSERT_TRUE(rc == 0 || rc == 1) << view->GetErrorMsg();
  KySQLStatement select("SELECT k, price FROM prices WHERE (k = ?)");
  ASSERT_EQ(view->SelectAndFetch(&select, vioOpEqual, 1), 0) << view->GetErrorMsg();
  KyDblFld back(KyStateHigh, 0, 0, 0, 0, 0);
  back = static_cast<vioNumeric&>(*view->GetColumn(2));
  EXPECT_EQ(back.GetFieldState(), KyStateHigh);
}

TEST(SysDateTime, PartsAreSetInLocalTimeAndNormalised) {
  vioSysDate date;
  ASSERT_EQ(date.SetSysDate(13, 1, 123), 0);  // month 13 of 2023
  EXPECT_EQ(date.GetSysYear(), 124);
  EXPECT_EQ(date.GetSysMonth(), 1);
  EXPECT_EQ(date.GetSysDay(), 1);
  ASSERT_EQ(date.SetSysDay(31), 0);
  ASSERT_EQ(date.SetSysMonth(2), 0);  // 31 February 2024 is 2 March
  EXPECT_EQ(date.GetSysMonth(), 3);
  EXPECT_EQ(date.GetSysDay(), 2);
  const int64_t before = date.GetTime();
  EXPECT_EQ(date.SetSysDate(13, 1, INT_MAX), -1);  // the year after INT_MAX
  EXPECT_EQ(date.GetTime(), before);  // a date that is no time leaves the value
  vioSysTime time;
  ASSERT_EQ(time.SetSysTime(23, 59, 60), 0);  // one second into the next day
  EXPECT_EQ(time.GetSysHour(), 0);
  EXPECT_EQ(time.GetSysMinute(), 0);
  EXPECT_EQ(time.GetSysSecond(), 0);
}

}  // namespace
