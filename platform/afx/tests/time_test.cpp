// CTime and CTimeSpan: fields in local time across daylight saving changes,
// the range limits, conversions and formatting.
#include <afx.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

// Runs each test in a zone with daylight saving time (Central Europe:
// CET +1, CEST +2 from the last Sunday of March to the last of October).
class TimeTest : public testing::Test {
 protected:
  void SetUp() override { useZone("CET-1CEST,M3.5.0,M10.5.0/3"); }
  void TearDown() override { useZone("UTC0"); }
  static void useZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }
};

template <class Action>
void expectInvalidArg(Action action) {
  try {
    action();
    ADD_FAILURE() << "no CInvalidArgException";
  } catch (CException* e) {
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)));
    e->Delete();
  }
}

TEST_F(TimeTest, FieldsRoundTripInLocalTime) {
  CTime t(2026, 12, 10, 13, 45, 30);
  EXPECT_EQ(t.GetTime(), 1796906730);  // 12:45:30 UTC
  EXPECT_EQ(t.GetYear(), 2026);
  EXPECT_EQ(t.GetMonth(), 12);
  EXPECT_EQ(t.GetDay(), 10);
  EXPECT_EQ(t.GetHour(), 13);
  EXPECT_EQ(t.GetMinute(), 45);
  EXPECT_EQ(t.GetSecond(), 30);
  EXPECT_EQ(t.GetDayOfWeek(), 5);  // Thursday; 1 is Sunday
  struct tm gmt {};
  ASSERT_EQ(t.GetGmtTm(&gmt), &gmt);
  EXPECT_EQ(gmt.tm_hour, 12);
  EXPECT_EQ(t.GetGmtTm(nullptr), nullptr);
  EXPECT_EQ(CTime(2026, 1, 32, 0, 0, 0).GetMonth(), 2);  // fields carry over
}

TEST_F(TimeTest, DaylightSavingChanges) {
  struct Case {
    int month, day, hour, minute, dst;
    __time64_t utc;
    int shownHour;
  };
  const Case cases[] = {
      {3, 29, 1, 59, -1, 1774745940, 1},  // last minute of CET
      {3, 29, 3, 0, -1, 1774746000, 3},   // first minute of CEST
      {7, 1, 12, 0, -1, 1782900000, 12},  // summer: UTC+2
      {7, 1, 12, 0, 0, 1782903600, 13},   // forced standard time, shown in CEST
      {1, 15, 12, 0, 1, 1768471200, 11},  // forced daylight time in winter
      {10, 25, 3, 30, -1, 1792895400, 3}, // after the change back: CET
  };
  for (const Case& c : cases) {
    CTime t(2026, c.month, c.day, c.hour, c.minute, 0, c.dst);
    EXPECT_EQ(t.GetTime(), c.utc) << c.month << "/" << c.day << " " << c.hour;
    EXPECT_EQ(t.GetHour(), c.shownHour) << c.month << "/" << c.day << " " << c.hour;
  }
  CTime beforeGap(2026, 3, 29, 1, 30, 0);
  EXPECT_EQ((beforeGap + CTimeSpan(0, 1, 0, 0)).GetHour(), 3);  // 02:30 does not exist
  CTime summer(2026, 7, 1, 0, 0, 0), winter(2026, 1, 1, 0, 0, 0);
  EXPECT_EQ((summer - winter).GetTotalHours(), 181 * 24 - 1);
}

TEST_F(TimeTest, RangeLimits) {
  useZone("UTC0");
  EXPECT_EQ(CTime(1970, 1, 1, 0, 0, 0).GetTime(), 0);
  EXPECT_EQ(CTime(3000, 12, 31, 23, 59, 59).GetTime(), 32535215999LL);
  EXPECT_EQ(CTime(2038, 1, 19, 3, 14, 8).GetTime(), 2147483648LL);  // past 32 bits
  expectInvalidArg([] { CTime(1969, 12, 31, 23, 59, 59); });
  expectInvalidArg([] { CTime(3001, 1, 1, 0, 0, 0); });
  expectInvalidArg([] { CTime(1899, 1, 1, 0, 0, 0); });
  expectInvalidArg([] { CTime(static_cast<__time64_t>(-1)).GetYear(); });
  expectInvalidArg([] { CTime(32535216000LL).Format("%Y"); });
  SYSTEMTIME old = {1850, 1, 0, 1, 0, 0, 0, 0};
  EXPECT_EQ(CTime(old).GetTime(), 0);
}

TEST_F(TimeTest, SystemTimeFileTimeAndDosTime) {
  SYSTEMTIME st = {2026, 7, 0, 4, 9, 8, 7, 654};
  CTime t(st);
  SYSTEMTIME back {};
  ASSERT_TRUE(t.GetAsSystemTime(back));
  EXPECT_EQ(back.wYear, 2026);
  EXPECT_EQ(back.wMonth, 7);
  EXPECT_EQ(back.wDay, 4);
  EXPECT_EQ(back.wDayOfWeek, 6);  // Saturday
  EXPECT_EQ(back.wHour, 9);
  EXPECT_EQ(back.wMinute, 8);
  EXPECT_EQ(back.wSecond, 7);
  EXPECT_EQ(back.wMilliseconds, 0);
  // 2026-07-04 07:08:07 UTC as FILETIME
  ULONGLONG ticks = (1783148887ULL + 11644473600ULL) * 10000000ULL + 1234;
  FILETIME ft = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  EXPECT_TRUE(CTime::IsValidFILETIME(ft));
  EXPECT_EQ(CTime(ft).GetTime(), 1783148887);
  EXPECT_EQ(CTime(ft), t);
  FILETIME zero = {0, 0};
  EXPECT_FALSE(CTime::IsValidFILETIME(zero));
  expectInvalidArg([&] { CTime{zero}; });
  WORD dosDate = static_cast<WORD>(((2026 - 1980) << 9) | (7 << 5) | 4);
  WORD dosTime = static_cast<WORD>((9 << 11) | (8 << 5) | 3);
  EXPECT_EQ(CTime(dosDate, dosTime).GetTime(), t.GetTime() - 1);  // DOS seconds are even
}

TEST_F(TimeTest, FormatsWithTheRunTimeConversions) {
  CTime t(1995, 3, 4, 8, 5, 9);  // a Saturday
  struct Case {
    const char* format;
    const char* expected;
  };
  const Case cases[] = {
      {"%Y-%m-%d %H:%M:%S", "1995-03-04 08:05:09"},
      {"%#d.%#m.%#y %#H:%#M:%#S", "4.3.95 8:5:9"},
      {"%a %A %b %B", "Sat Saturday Mar March"},
      {"%c", "03/04/95 08:05:09"},
      {"%#c", "Saturday, March 4, 1995 08:05:09"},
      {"%x|%#x|%X", "03/04/95|Saturday, March 4, 1995|08:05:09"},
      {"%I %p %j %#j %w", "08 AM 063 63 6"},
      {"%U %W", "09 09"},
      {"%Z", "CET"},
      {"100%%", "100%"},
      {"%Q%", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(t.Format(c.format), c.expected) << c.format;
  EXPECT_EQ(t.FormatGmt("%H:%M %Z"), "07:05 CET");
  EXPECT_EQ(CTime(1995, 3, 4, 20, 0, 0).Format("%I %p"), "08 PM");
  EXPECT_EQ(CTime(1995, 3, 4, 0, 0, 0).Format("%I"), "12");
  EXPECT_EQ(CTime(1995, 7, 4, 0, 0, 0).Format("%Z"), "CEST");
}

TEST_F(TimeTest, SpansComputeAndFormat) {
  CTimeSpan span(3, 1, 5, 9);
  EXPECT_EQ(span.GetTotalSeconds(), 3 * 86400 + 3600 + 5 * 60 + 9);
  EXPECT_EQ(span.GetDays(), 3);
  EXPECT_EQ(span.GetHours(), 1);
  EXPECT_EQ(span.GetMinutes(), 5);
  EXPECT_EQ(span.GetSeconds(), 9);
  EXPECT_EQ(span.GetTotalHours(), 73);
  EXPECT_EQ(span.GetTotalMinutes(), 73 * 60 + 5);
  EXPECT_EQ(span.Format("%D days %H:%M:%S %%"), "3 days 01:05:09 %");
  EXPECT_EQ(span.Format("%X"), "");
  EXPECT_EQ(CTimeSpan(100, 0, 0, 0).Format("%D"), "100");
  CTimeSpan sum = span + CTimeSpan(0, 23, 0, 0);
  EXPECT_EQ(sum.GetDays(), 4);
  EXPECT_TRUE(sum > span && span < sum && span != sum && span == CTimeSpan(span.GetTimeSpan()));
  CTime t(2026, 1, 1, 0, 0, 0);
  CTime later = t + span;
  EXPECT_EQ(later - t, span);
  later -= span;
  EXPECT_EQ(later, t);
  EXPECT_TRUE(t < t + CTimeSpan(1) && t >= t - CTimeSpan(1));
}

TEST_F(TimeTest, CurrentTimeIsNow) {
  __time64_t before = ::time(nullptr);
  CTime now = CTime::GetCurrentTime();
  EXPECT_GE(now.GetTime(), before);
  EXPECT_LE(now.GetTime(), ::time(nullptr));
}

}  // namespace
