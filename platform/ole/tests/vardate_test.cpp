// Automation dates to and from calendar dates.
#include <gtest/gtest.h>
#include <oleauto.h>

namespace {

TEST(VariantTime, DatesAndSerialsMeetBothWays) {
  struct Case {
    WORD y, m, d, h, mi, s, dayOfWeek;
    DATE serial;
  } cases[] = {
      {1899, 12, 30, 0, 0, 0, 6, 0.0},      {1900, 1, 1, 18, 0, 0, 1, 2.75},
      {1899, 12, 29, 6, 0, 0, 5, -1.25},    {2017, 2, 28, 0, 0, 0, 2, 42794.0},
      {100, 1, 1, 0, 0, 0, 5, -657434.0},   {9999, 12, 31, 12, 0, 0, 5, 2958465.5},
  };
  for (const Case& c : cases) {
    SYSTEMTIME t{};
    ASSERT_TRUE(VariantTimeToSystemTime(c.serial, &t)) << c.serial;
    EXPECT_EQ(t.wYear, c.y);
    EXPECT_EQ(t.wMonth, c.m);
    EXPECT_EQ(t.wDay, c.d);
    EXPECT_EQ(t.wHour, c.h);
    EXPECT_EQ(t.wMinute, c.mi);
    EXPECT_EQ(t.wSecond, c.s);
    EXPECT_EQ(t.wDayOfWeek, c.dayOfWeek) << c.serial;
    DATE back = -1;
    ASSERT_TRUE(SystemTimeToVariantTime(&t, &back));
    EXPECT_DOUBLE_EQ(back, c.serial);
  }
}

TEST(VariantTime, RefusesWhatIsNoDate) {
  SYSTEMTIME t{};
  EXPECT_FALSE(VariantTimeToSystemTime(2958466.0, &t));  // year 10000
  EXPECT_FALSE(VariantTimeToSystemTime(-657435.0, &t));  // year 99
  DATE d = 0;
  for (SYSTEMTIME bad : {SYSTEMTIME{2019, 2, 0, 29}, SYSTEMTIME{2020, 13, 0, 1}, SYSTEMTIME{99, 1, 0, 1},
                         SYSTEMTIME{2020, 1, 0, 1, 24}})
    EXPECT_FALSE(SystemTimeToVariantTime(&bad, &d)) << bad.wYear << "-" << bad.wMonth << "-" << bad.wDay;
}

}  // namespace
