// Date, time and timestamp fields: text forms, reading of texts and of the
// clock, validation across leap years and the year limits, comparisons,
// special values and the database value-to-state step.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "../../app/tests/testapp.h"
#include "KyDatabaseConnection.h"
#include "KyDateFld.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"

namespace {

class DateTimeFields : public ::testing::Test {
 protected:
  void SetUp() override {
    kytest::writeFile(ini_, "[Special Field Values]\n");  // the run options' defaults
    app_.CreateContext();
  }
  void TearDown() override { app_.EndContext(); }

  kytest::ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  kytest::TestApp app_{ini_};
};

std::string text(const KyRTType& field) { return std::string(field.strGetText()); }

TEST_F(DateTimeFields, TextForms) {
  EXPECT_EQ(text(KyDateFld(2017, 2, 28)), "2017-02-28");
  EXPECT_EQ(text(KyDateFld(1, 1, 1)), "0001-01-01");
  EXPECT_EQ(text(KyDateFld()), "0000-00-00");
  EXPECT_EQ(text(KyDateFld(-5, 1, 1)), "-0005-01-01");
  EXPECT_EQ(text(KyTimeFld(9, 5, 7)), "09:05:07");
  EXPECT_EQ(text(KyTimeStampFld(2017, 2, 28, 10, 0, 0, 5)), "2017-02-28 10:00:00.005");
  EXPECT_EQ(text(KyTimeStampFld(2017, 2, 28, 10, 0, 0, 999)), "2017-02-28 10:00:00.999");
  EXPECT_EQ(text(KyTimeStampFld(-32768, 65535, 65535, 65535, 65535, 65535, 0x7fffffff)),
            "-32768-65535-65535 65535:65535:65535.2147483647");
}

TEST_F(DateTimeFields, ReadsTextsAsNumbers) {
  struct Case {
    const char* in;
    const char* date;
    const char* time;
    const char* stamp;
  } cases[] = {
      {"2017-02-28", "2017-02-28", "2017:02:28", "2017-02-28 00:00:00.000"},
      {"2017/2/28", "2017-02-28", "2017:02:28", "2017-02-28 00:00:00.000"},
      {"2017 2 28", "2017-02-28", "2017:02:28", "2017-02-28 00:00:00.000"},
      {"28.2.2017", "0028-02-2017", "28:02:2017", "0028-02-2017 00:00:00.000"},
      {"10:20:30", "0010-20-30", "10:20:30", "0010-20-30 00:00:00.000"},
      {"2017-02-28 10:00:00.5", "2017-02-28", "2017:02:28", "2017-02-28 10:00:00.005"},
      {"2017--02,,28", "2017-02-28", "2017:02:28", "2017-02-28 00:00:00.000"},  // runs of delimiters
      {"2017-x-28", "2017-00-28", "2017:00:28", "2017-00-28 00:00:00.000"},    // not a number: 0
      {"", "0000-00-00", "00:00:00", "0000-00-00 00:00:00.000"},
      {" *NOW", "0000-00-00", "00:00:00", "0000-00-00 00:00:00.000"},  // not the clock
      {"99999-99999-1", "32767-65535-01", "65535:65535:01", "32767-65535-01 00:00:00.000"},  // limits
      {"1 2 3 4 5 6 7 8 9", "0001-02-03", "01:02:03", "0001-02-03 04:05:06.007"},  // extra numbers ignored
  };
  for (const Case& c : cases) {
    KyDateFld date;
    KyTimeFld time;
    KyTimeStampFld stamp;
    date.PutText(c.in);
    time.PutText(c.in);
    stamp.PutText(c.in);
    EXPECT_EQ(text(date), c.date) << c.in;
    EXPECT_EQ(text(time), c.time) << c.in;
    EXPECT_EQ(text(stamp), c.stamp) << c.in;
  }
  KyDateFld none;
  none.PutText(nullptr);
  EXPECT_EQ(text(none), "0000-00-00");
}

TEST_F(DateTimeFields, NowReadsTheLocalClock) {
  const std::time_t before = std::time(nullptr);
  KyDateFld date("*now", 0);
  KyTimeStampFld stamp("*Now", 0);
  KyTimeFld time;
  time.PutText("*NOW");
  std::tm local{};
  localtime_r(&before, &local);
  // Around midnight the second reading may be a day later: compare with both.
  const bool sameDay = date.GetValue().day == local.tm_mday;
  if (sameDay) {
    EXPECT_EQ(date.GetValue().year, local.tm_year + 1900);
    EXPECT_EQ(date.GetValue().month, local.tm_mon + 1);
  }
  EXPECT_EQ(date.Validate(), 1);
  EXPECT_EQ(time.Validate(), 1);
  EXPECT_EQ(stamp.Validate(), 1);
  EXPECT_EQ(stamp.GetValue().year, date.GetValue().year);
  EXPECT_LE(stamp.GetValue().fraction, 999u);
}

TEST_F(DateTimeFields, ValidatesDates) {
  struct Case {
    int year, month, day;
    int valid;
  } cases[] = {
      {2016, 2, 29, 1}, {2000, 2, 29, 1}, {1900, 2, 29, 0}, {2017, 2, 29, 0}, {2017, 2, 28, 1},
      {2017, 4, 31, 0}, {2017, 4, 30, 1}, {2017, 13, 1, 0}, {2017, 0, 1, 0},  {2017, 1, 0, 0},
      {2017, 12, 31, 1}, {2017, 12, 32, 0}, {0, 0, 0, 1},    // empty
      {1, 1, 1, 1},     {9999, 12, 31, 1}, {9996, 2, 29, 1}, {4, 2, 29, 1},   {100, 2, 29, 0},
      {400, 2, 29, 1},  {0, 2, 29, 1},     {-1, 1, 1, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KyDateFld(c.year, c.month, c.day).Validate(), c.valid) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(KyTimeStampFld(c.year, c.month, c.day, 0, 0, 0, 0).Validate(), c.valid)
        << c.year << "-" << c.month << "-" << c.day;
  }
  // The text 28.2.2017 reads as year 28, day 2017.
  EXPECT_EQ(KyDateFld("28.2.2017", 0).Validate(), 0);
  // The list's empty value is valid whatever it is.
  KyDateFld listed(0, KyDateFld(1, 99, 99), KyDateFld(), KyDateFld(), KyDateFld(), KyStateEmpty);
  listed.SetEmpty();
  EXPECT_EQ(listed.Validate(), 1);
}

TEST_F(DateTimeFields, ValidatesTimesAndFractions) {
  struct Case {
    int hour, minute, second;
    int valid;
  } cases[] = {
      {0, 0, 0, 1},   {23, 59, 59, 1}, {24, 0, 0, 0},  {23, 60, 0, 0},
      {23, 0, 60, 0}, {23, 60, 60, 0}, {12, 30, 0, 1}, {65535, 65535, 65535, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KyTimeFld(c.hour, c.minute, c.second).Validate(), c.valid) << c.hour << ":" << c.minute << ":" << c.second;
    EXPECT_EQ(KyTimeStampFld(2017, 1, 1, c.hour, c.minute, c.second, 0).Validate(), c.valid)
        << c.hour << ":" << c.minute << ":" << c.second;
  }
  struct Fraction {
    long fraction;
    int valid;
  } fractions[] = {{0, 1}, {5, 1}, {999, 1}, {1000, 0}, {999999, 0}};
  for (const Fraction& f : fractions)
    EXPECT_EQ(KyTimeStampFld(2017, 1, 1, 0, 0, 0, f.fraction).Validate(), f.valid) << f.fraction;
  // The class's own high value passes its validation.
  KyTimeStampFld high;
  high.SetFieldState(KyStateHigh);
  EXPECT_EQ(text(high), "9999-12-31 23:59:59.999");
  EXPECT_EQ(high.Validate(), 1);
}

int sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

TEST_F(DateTimeFields, ComparesDatesAcrossTheCalendar) {
  // In ascending order: leap days, the turn of centuries and the year limits.
  const KyDateFld dates[] = {
      KyDateFld(-1, 12, 31), KyDateFld(0, 0, 0),     KyDateFld(1, 1, 1),     KyDateFld(1, 1, 2),
      KyDateFld(1899, 12, 31), KyDateFld(1900, 2, 28), KyDateFld(1900, 3, 1),  KyDateFld(2000, 2, 28),
      KyDateFld(2000, 2, 29), KyDateFld(2000, 3, 1),   KyDateFld(2016, 2, 29), KyDateFld(9999, 12, 30),
      KyDateFld(9999, 12, 31),
  };
  const int n = static_cast<int>(std::size(dates));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      EXPECT_EQ(iKyCompDate(dates[i], dates[j]), sign(i - j)) << text(dates[i]) << " vs " << text(dates[j]);
  // States are not looked at.
  KyDateFld high(9999, 12, 31, KyStateHigh);
  EXPECT_EQ(iKyCompDate(high, KyDateFld(9999, 12, 31)), 0);
}

TEST_F(DateTimeFields, ComparesTimesAndTimestamps) {
  EXPECT_EQ(iKyCompTime(KyTimeFld(10, 0, 0), KyTimeFld(9, 59, 59)), 1);
  EXPECT_EQ(iKyCompTime(KyTimeFld(0, 0, 0), KyTimeFld(0, 0, 1)), -1);
  EXPECT_EQ(iKyCompTime(KyTimeFld(23, 59, 59), KyTimeFld(23, 59, 59)), 0);

  const KyTimeStampFld stamps[] = {
      KyTimeStampFld(1, 1, 1, 0, 0, 0, 0),        KyTimeStampFld(1, 1, 1, 0, 0, 0, 1),
      KyTimeStampFld(2000, 2, 29, 23, 59, 59, 999), KyTimeStampFld(2000, 3, 1, 0, 0, 0, 0),
      KyTimeStampFld(9999, 12, 31, 23, 59, 59, 998), KyTimeStampFld(9999, 12, 31, 23, 59, 59, 999),
  };
  const int n = static_cast<int>(std::size(stamps));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) EXPECT_EQ(iKyCompTimeStamp(stamps[i], stamps[j]), sign(i - j)) << i << " " << j;

  // A time against a timestamp: only hour, minute and second count.
  const KyTimeStampFld stamp(2017, 1, 1, 10, 0, 0, 500);
  EXPECT_EQ(iKyCompTimeStamp(KyTimeFld(10, 0, 0), stamp), 0);
  EXPECT_EQ(iKyCompTimeStamp(stamp, KyTimeFld(10, 0, 0)), 0);
  EXPECT_EQ(iKyCompTimeStamp(KyTimeFld(9, 0, 0), stamp), -1);
  EXPECT_EQ(iKyCompTimeStamp(stamp, KyTimeFld(9, 0, 0)), 1);
}

TEST_F(DateTimeFields, EqualityWithTheOdbcStructures) {
  EXPECT_EQ((KyDateFld(2017, 2, 28) == tagODBCDATE{2017, 2, 28}), 1);
  EXPECT_EQ((KyDateFld(2017, 2, 28, KyStateHigh) == tagODBCDATE{9999, 12, 31}), 1);  // the state's value
  EXPECT_EQ((KyTimeFld(1, 2, 3) == tagODBCTIME{1, 2, 4}), 0);
  EXPECT_EQ((KyTimeStampFld(2017, 2, 28, 1, 2, 3, 4) == tagODBCTIMESTAMP{2017, 2, 28, 1, 2, 3, 4}), 1);
  EXPECT_EQ((KyTimeStampFld(2017, 2, 28, 1, 2, 3, 4) == tagODBCTIMESTAMP{2017, 2, 28, 1, 2, 3, 5}), 0);
  const KyDateFld fromStruct(tagODBCDATE{1, 2, 3});
  EXPECT_EQ(fromStruct.GetFieldState(), 0);
  EXPECT_EQ(text(fromStruct), "0001-02-03");
}

TEST_F(DateTimeFields, SpecialValuesAndLists) {
  struct Case {
    short state;
    const char* date;
    const char* time;
    const char* stamp;
  } builtIns[] = {
      {KyStateNull, "0000-00-00", "00:00:00", "0000-00-00 00:00:00.000"},
      {KyStateLow, "0000-00-00", "00:00:00", "0000-00-00 00:00:00.000"},
      {KyStateHigh, "9999-12-31", "23:59:59", "9999-12-31 23:59:59.999"},
  };
  for (const Case& c : builtIns) {
    KyDateFld date(2017, 2, 28, c.state);
    KyTimeFld time(1, 2, 3, c.state);
    KyTimeStampFld stamp(2017, 2, 28, 1, 2, 3, 4, c.state);
    EXPECT_EQ(text(date), c.date);
    EXPECT_EQ(text(time), c.time);
    EXPECT_EQ(text(stamp), c.stamp);
    EXPECT_EQ(date.GetFieldState(), c.state);
  }
  // A full constructor: the list's entries win; a copy keeps the list.
  KyDateFld listed(KyStateHigh | KyStateLow, KyDateFld(1, 1, 1), KyDateFld(1, 1, 2), KyDateFld(1, 1, 3),
                   KyDateFld(8888, 8, 8), KyStateEmpty | KyStateNull | KyStateLow | KyStateHigh);
  listed.SetFieldState(KyStateHigh);
  EXPECT_EQ(text(listed), "8888-08-08");
  EXPECT_EQ(text(KyDateFld(listed.GetDefaultVal(KyStateNull))), "0001-01-02");
  listed.SetEmpty();
  EXPECT_EQ(text(listed), "0001-01-01");
  EXPECT_TRUE(listed.IfEmpty());
  KyDateFld copy(listed);
  copy.SetFieldState(KyStateLow);
  EXPECT_EQ(text(copy), "0001-01-03");
  // A copy of a source in a special state takes that state's value.
  const KyTimeFld highTime(1, 2, 3, KyStateHigh);
  const KyTimeFld copiedTime(highTime);
  EXPECT_EQ(text(copiedTime), "23:59:59");
  // (text, state): the state's value first, then the text.
  const KyTimeFld parsed("10:11:12", KyStateHigh);
  EXPECT_EQ(text(parsed), "10:11:12");
  EXPECT_EQ(parsed.GetFieldState(), KyStateHigh);
}

TEST_F(DateTimeFields, ColumnValuesAndTheirStates) {
  // The default INI values: date high 9999-12-31, low and empty 0001-01-01.
  KyDateFld date(KyStateHigh | KyStateLow | KyStateNull, KyDateFld(), KyDateFld(), KyDateFld(), KyDateFld(), 0);
  date = vioDate(nullptr, 9999, 12, 31);
  EXPECT_EQ(date.GetFieldState(), KyStateHigh);
  EXPECT_EQ(text(date), "9999-12-31");
  date = vioDate(nullptr, 0001, 1, 1);  // the empty option comes first
  EXPECT_EQ(date.GetFieldState(), KyStateValue);
  EXPECT_EQ(text(date), "0000-00-00");
  EXPECT_TRUE(date.IfEmpty());
  date = vioDate(nullptr, 2017, 2, 28);
  EXPECT_EQ(date.GetFieldState(), KyStateValue);
  EXPECT_EQ(text(date), "2017-02-28");
  vioDate null(nullptr, 2017, 2, 28);
  null.SetNull(1);
  date = null;
  EXPECT_EQ(date.GetFieldState(), KyStateNull);
  EXPECT_EQ(text(date), "0000-00-00");

  // High not allowed: stays a value.
  KyDateFld plain;
  plain = vioDate(nullptr, 9999, 12, 31);
  EXPECT_EQ(plain.GetFieldState(), KyStateValue);

  // List entries are compared first.
  KyTimeFld time(KyStateHigh, KyTimeFld(), KyTimeFld(), KyTimeFld(), KyTimeFld(22, 0, 0), KyStateHigh);
  time = vioTime(nullptr, 22, 0, 0);
  EXPECT_EQ(time.GetFieldState(), KyStateHigh);
  time = vioTime(nullptr, 23, 59, 59);  // the list has a high entry: the INI value does not count
  EXPECT_EQ(time.GetFieldState(), KyStateValue);

  // The timestamp compares 19 characters: the fraction does not count.
  KyTimeStampFld stamp(KyStateHigh, KyTimeStampFld(), KyTimeStampFld(), KyTimeStampFld(), KyTimeStampFld(), 0);
  stamp = vioTimeStamp(nullptr, 9999, 12, 31, 23, 59, 59, 0);
  EXPECT_EQ(stamp.GetFieldState(), KyStateHigh);

  // A connection's own special values.
  KyDatabaseConnection connection(KyDatabaseConnection::KindODBC, "DB");
  connection.SetOwnSpecialValues(TRUE);
  connection.SetSPOption(KyOptDateLow, "1900-01-01");
  KyDateFld low(KyStateLow, KyDateFld(), KyDateFld(), KyDateFld(), KyDateFld(), 0);
  low = vioDate(&connection, 1900, 1, 1);
  EXPECT_EQ(low.GetFieldState(), KyStateLow);
}

}  // namespace
