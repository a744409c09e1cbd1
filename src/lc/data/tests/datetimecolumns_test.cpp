// Date and time column values: the driver layouts by connection kind, their
// text forms and parts.
#include <gtest/gtest.h>

#include <cstring>

#include "KyDatabaseConnection.h"
#include "vioDateTime.h"

namespace {

TEST(DateTimeColumns, OdbcLayouts) {
  vioDate date(nullptr, 2024, 2, 29);
  EXPECT_STREQ(date.GetText(), "2024-02-29");
  ASSERT_EQ(date.GetDataLength(), 6);
  const WORD expected[] = {2024, 2, 29};  // DATE_STRUCT
  EXPECT_EQ(std::memcmp(date.GetData(), expected, sizeof expected), 0);

  vioTimeStamp stamp(nullptr, 9999, 12, 31, 23, 59, 59, 999999);
  EXPECT_STREQ(stamp.GetText(), "9999-12-31 23:59:59");
  EXPECT_EQ(stamp.GetDataLength(), 16);
  EXPECT_EQ(stamp.GetFraction(), 0);  // an ODBC timestamp stores fraction 0

  vioTime time(nullptr);
  time.PutText("07:08:09");
  EXPECT_EQ(time.GetHour(), 7);
  EXPECT_EQ(time.GetSecond(), 9);
  EXPECT_EQ(time.GetYear(), 0);  // a time has no date parts
}

TEST(DateTimeColumns, OracleLayouts) {
  KyDatabaseConnection oci(KyDatabaseConnection::KindOCI, "ORA");
  vioTime time(&oci, 13, 14, 15);
  EXPECT_EQ(time.GetYear(), 4712);  // Oracle's time is a date on 4712-01-01
  EXPECT_EQ(time.GetMonth(), 1);
  EXPECT_EQ(time.GetDay(), 1);
  EXPECT_STREQ(time.GetText(), "13:14:15");
  EXPECT_EQ(time.GetDataLength(), 7);
  const BYTE ociDate[] = {0x68, 0x12, 1, 1, 13, 14, 15};  // year 4712 little-endian, then bytes
  EXPECT_EQ(std::memcmp(time.GetData(), ociDate, sizeof ociDate), 0);

  vioTimeStamp stamp(&oci, 2001, 2, 3, 4, 5, 6, 7);
  EXPECT_EQ(stamp.GetFraction(), 0);  // an OCIDate has no fraction
  EXPECT_STREQ(stamp.GetText(), "2001-02-03 04:05:06");
}

TEST(DateTimeColumns, TextAtFixedPositions) {
  struct Case {
    const char* text;
    const char* stored;
  } cases[] = {
      {"2017-02-28 10:00:00", "2017-02-28 10:00:00"},
      {"2017-02-28", "2017-02-28 00:00:00"},  // a short text: missing parts read 0
      {"", "0000-00-00 00:00:00"},
      {nullptr, "0000-00-00 00:00:00"},
      {"x", "0000-00-00 00:00:00"},
  };
  for (const Case& c : cases) {
    vioTimeStamp stamp(nullptr);
    stamp.PutText(c.text);
    EXPECT_STREQ(stamp.GetText(), c.stored) << (c.text ? c.text : "(null)");
  }
}

TEST(DateTimeColumns, UnknownConnectionKindHasNoLayout) {
  KyDatabaseConnection other(7, "X");
  vioDate date(&other, 2020, 1, 2);
  EXPECT_EQ(date.GetData(), nullptr);
  EXPECT_EQ(date.GetYear(), 0);
  EXPECT_STREQ(date.GetText(), "0000-00-00");
  vioDate copy(date);
  EXPECT_EQ(copy.GetData(), nullptr);
  vioDate odbc(nullptr, 1999, 12, 31);
  vioDate assigned(nullptr);
  assigned = odbc;
  EXPECT_STREQ(assigned.GetText(), "1999-12-31");
}

}  // namespace
