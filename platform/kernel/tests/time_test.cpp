#include <internal/filetime.h>
#include <winbase.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ctime>
#include <string>

namespace {

FILETIME fromQuad(uint64_t q) { return win32::quadToFileTime(q); }

bool sameFields(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDayOfWeek == b.wDayOfWeek && a.wDay == b.wDay &&
         a.wHour == b.wHour && a.wMinute == b.wMinute && a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds;
}

std::string describe(const SYSTEMTIME& s) {
  return std::to_string(s.wYear) + "-" + std::to_string(s.wMonth) + "-" + std::to_string(s.wDay) + " (" +
         std::to_string(s.wDayOfWeek) + ") " + std::to_string(s.wHour) + ":" + std::to_string(s.wMinute) + ":" +
         std::to_string(s.wSecond) + "." + std::to_string(s.wMilliseconds);
}

// Sets TZ for one test and puts the old zone back.
class ZoneGuard {
 public:
  explicit ZoneGuard(const char* zone) {
    if (const char* old = std::getenv("TZ")) saved_ = old, had_ = true;
    ::setenv("TZ", zone, 1);
    tzset();
  }
  ~ZoneGuard() {
    had_ ? ::setenv("TZ", saved_.c_str(), 1) : ::unsetenv("TZ");
    tzset();
  }

 private:
  std::string saved_;
  bool had_ = false;
};

int64_t quad(const FILETIME& ft) { return static_cast<int64_t>(win32::fileTimeToQuad(ft)); }

}  // namespace

TEST(FileTime, KnownDatesBothWays) {
  struct Case {
    uint64_t fileTime;
    SYSTEMTIME fields;  // year, month, day of week, day, hour, minute, second, ms
  } cases[] = {
      {0, {1601, 1, 1, 1, 0, 0, 0, 0}},
      {116444736000000000ULL, {1970, 1, 4, 1, 0, 0, 0, 0}},
      {94405824010000000ULL, {1900, 3, 4, 1, 0, 0, 1, 0}},
      {125962992005000000ULL, {2000, 2, 2, 29, 12, 0, 0, 500}},
      {134413849879990000ULL, {2026, 12, 4, 10, 14, 3, 7, 999}},
      {9223372036854770000ULL, {30828, 9, 4, 14, 2, 48, 5, 477}},
  };
  for (const auto& c : cases) {
    SYSTEMTIME st{};
    const FILETIME ft = fromQuad(c.fileTime);
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &st)) << c.fileTime;
    EXPECT_TRUE(sameFields(st, c.fields)) << c.fileTime << " gave " << describe(st);
    FILETIME back{};
    ASSERT_TRUE(SystemTimeToFileTime(&c.fields, &back)) << describe(c.fields);
    EXPECT_EQ(win32::fileTimeToQuad(back), c.fileTime) << describe(c.fields);
  }
}

TEST(FileTime, RoundTripKeepsMillisecondsAndDropsFinerTicks) {
  for (uint64_t q : {1ULL, 9999ULL, 123456789012345678ULL, 0x7FFFFFFFFFFFFFFFULL, 131000000000001234ULL}) {
    SYSTEMTIME st;
    const FILETIME ft = fromQuad(q);
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
    FILETIME back;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &back));
    EXPECT_EQ(win32::fileTimeToQuad(back), q - q % 10000) << q;
  }
  SYSTEMTIME st;
  const FILETIME tooLarge = fromQuad(0x8000000000000000ULL);
  SetLastError(0);
  EXPECT_FALSE(FileTimeToSystemTime(&tooLarge, &st));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(FileTime, InvalidSystemTimesAreRefused) {
  const SYSTEMTIME valid{2000, 2, 6, 29, 23, 59, 59, 999};  // the day of week is not checked
  FILETIME ft;
  EXPECT_TRUE(SystemTimeToFileTime(&valid, &ft));
  struct Case {
    const char* what;
    SYSTEMTIME st;
  } cases[] = {
      {"month 0", {2000, 0, 0, 1, 0, 0, 0, 0}},
      {"month 13", {2000, 13, 0, 1, 0, 0, 0, 0}},
      {"day 0", {2000, 1, 0, 0, 0, 0, 0, 0}},
      {"29 Feb 2001", {2001, 2, 0, 29, 0, 0, 0, 0}},
      {"29 Feb 1900", {1900, 2, 0, 29, 0, 0, 0, 0}},
      {"31 April", {2000, 4, 0, 31, 0, 0, 0, 0}},
      {"hour 24", {2000, 1, 0, 1, 24, 0, 0, 0}},
      {"minute 60", {2000, 1, 0, 1, 0, 60, 0, 0}},
      {"second 60", {2000, 1, 0, 1, 0, 0, 60, 0}},
      {"ms 1000", {2000, 1, 0, 1, 0, 0, 0, 1000}},
      {"year 1600", {1600, 12, 0, 31, 0, 0, 0, 0}},
      {"year 30828 after the end", {30828, 9, 0, 15, 0, 0, 0, 0}},
      {"year 65535", {65535, 12, 0, 31, 23, 59, 59, 999}},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(SystemTimeToFileTime(&c.st, &ft)) << c.what;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << c.what;
  }
}

TEST(FileTime, CompareFileTimeOrdersByBothHalves) {
  struct Case {
    uint64_t a, b;
    LONG result;
  } cases[] = {
      {1, 2, -1}, {2, 1, 1}, {5, 5, 0}, {0x100000000ULL, 0xFFFFFFFFULL, 1}, {0xFFFFFFFFULL, 0x100000000ULL, -1},
  };
  for (const auto& c : cases) {
    const FILETIME a = fromQuad(c.a), b = fromQuad(c.b);
    EXPECT_EQ(CompareFileTime(&a, &b), c.result) << c.a << " vs " << c.b;
  }
}

TEST(SystemTime, AgreesWithTheHostClock) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const int64_t unixSeconds = quad(now) / win32::kTicksPerSecond - win32::kUnixEpochSeconds;
  EXPECT_NEAR(static_cast<double>(unixSeconds), static_cast<double>(std::time(nullptr)), 2.0);
  SYSTEMTIME st;
  GetSystemTime(&st);
  FILETIME fromFields;
  ASSERT_TRUE(SystemTimeToFileTime(&st, &fromFields));
  EXPECT_NEAR(static_cast<double>(quad(fromFields) - quad(now)) / win32::kTicksPerSecond, 0.0, 2.0);
}

TEST(LocalTime, FollowsTheZoneOffset) {
  ZoneGuard zone("KYT-3");  // three hours east of UTC, no daylight saving
  SYSTEMTIME utc, local;
  GetSystemTime(&utc);
  GetLocalTime(&local);
  FILETIME utcTime, localTime;
  ASSERT_TRUE(SystemTimeToFileTime(&utc, &utcTime));
  ASSERT_TRUE(SystemTimeToFileTime(&local, &localTime));
  EXPECT_NEAR(static_cast<double>(quad(localTime) - quad(utcTime)) / win32::kTicksPerSecond, 3 * 3600.0, 2.0);

  FILETIME converted, back;
  ASSERT_TRUE(FileTimeToLocalFileTime(&utcTime, &converted));
  EXPECT_EQ(quad(converted) - quad(utcTime), 3 * 3600 * win32::kTicksPerSecond);
  ASSERT_TRUE(LocalFileTimeToFileTime(&converted, &back));
  EXPECT_EQ(quad(back), quad(utcTime));
  // Before 1601 there is nothing to answer.
  const FILETIME early = fromQuad(1000);
  SetLastError(0);
  EXPECT_FALSE(LocalFileTimeToFileTime(&early, &back));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(TimeZone, DescribesTheHostZone) {
  struct Case {
    const char* zone;
    DWORD result;  // TIME_ZONE_ID_UNKNOWN for a zone without daylight saving
    LONG bias;
    LONG daylightBias;
    SYSTEMTIME daylightDate;  // month, day of week, week of month, hour
    SYSTEMTIME standardDate;
    const char16_t* standardName;
  } cases[] = {
      {"UTC0", TIME_ZONE_ID_UNKNOWN, 0, 0, {}, {}, u"UTC"},
      {"KYT-3", TIME_ZONE_ID_UNKNOWN, -180, 0, {}, {}, u"KYT"},
      {"CET-1CEST,M3.5.0,M10.5.0/3", TIME_ZONE_ID_STANDARD, -60, -60, {0, 3, 0, 5, 2, 0, 0, 0},
       {0, 10, 0, 5, 3, 0, 0, 0}, u"CET"},
      {"EST5EDT,M3.2.0,M11.1.0", TIME_ZONE_ID_STANDARD, 300, -60, {0, 3, 0, 2, 2, 0, 0, 0},
       {0, 11, 0, 1, 2, 0, 0, 0}, u"EST"},
      // Southern hemisphere: daylight time spans the turn of the year.
      {"AEST-10AEDT,M10.1.0,M4.1.0/3", TIME_ZONE_ID_STANDARD, -600, -60, {0, 10, 0, 1, 2, 0, 0, 0},
       {0, 4, 0, 1, 3, 0, 0, 0}, u"AEST"},
  };
  for (const auto& c : cases) {
    ZoneGuard zone(c.zone);
    TIME_ZONE_INFORMATION tzi;
    const DWORD result = GetTimeZoneInformation(&tzi);
    if (c.result == TIME_ZONE_ID_UNKNOWN) {
      EXPECT_EQ(result, c.result) << c.zone;
    } else {
      // Standard or daylight depending on today's date.
      EXPECT_TRUE(result == TIME_ZONE_ID_STANDARD || result == TIME_ZONE_ID_DAYLIGHT) << c.zone;
    }
    EXPECT_EQ(tzi.Bias, c.bias) << c.zone;
    EXPECT_EQ(tzi.DaylightBias, c.daylightBias) << c.zone;
    EXPECT_EQ(tzi.StandardBias, 0) << c.zone;
    EXPECT_TRUE(sameFields(tzi.DaylightDate, c.daylightDate)) << c.zone << " " << describe(tzi.DaylightDate);
    EXPECT_TRUE(sameFields(tzi.StandardDate, c.standardDate)) << c.zone << " " << describe(tzi.StandardDate);
    EXPECT_EQ(std::u16string(tzi.StandardName), c.standardName) << c.zone;
  }
}

TEST(TimeZone, WinterSavingZonesStillHaveSummerAsDaylight) {
  // The host database describes Irish time with "daylight" saving in winter;
  // Windows describes the same clocks with summer as daylight time.
  if (!std::filesystem::exists("/usr/share/zoneinfo/Europe/Dublin")) GTEST_SKIP() << "no zone database";
  ZoneGuard zone("Europe/Dublin");
  TIME_ZONE_INFORMATION tzi;
  const DWORD result = GetTimeZoneInformation(&tzi);
  EXPECT_TRUE(result == TIME_ZONE_ID_STANDARD || result == TIME_ZONE_ID_DAYLIGHT);
  EXPECT_EQ(tzi.Bias, 0);
  EXPECT_EQ(tzi.DaylightBias, -60);
  EXPECT_EQ(tzi.DaylightDate.wMonth, 3);
  EXPECT_EQ(tzi.StandardDate.wMonth, 10);
  EXPECT_EQ(std::u16string(tzi.StandardName), u"GMT");
  EXPECT_EQ(std::u16string(tzi.DaylightName), u"IST");
}

TEST(Clocks, TickCountsAndPerformanceCounter) {
  LARGE_INTEGER frequency, before, after;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_EQ(frequency.QuadPart, 10'000'000);
  ASSERT_TRUE(QueryPerformanceCounter(&before));
  const ULONGLONG ticksBefore = GetTickCount64();
  Sleep(20);
  ASSERT_TRUE(QueryPerformanceCounter(&after));
  const ULONGLONG ticksAfter = GetTickCount64();
  // Lower bounds only: a busy machine may sleep longer, never shorter.
  EXPECT_GE(after.QuadPart - before.QuadPart, 20 * frequency.QuadPart / 1000);
  EXPECT_GE(ticksAfter - ticksBefore, 19u);  // the millisecond counts may straddle
  // The 32-bit count is the low half of the 64-bit one.
  const ULONGLONG wide = GetTickCount64();
  const DWORD narrow = GetTickCount();
  EXPECT_LE(static_cast<DWORD>(narrow - static_cast<DWORD>(wide)), 1000u);
  SetLastError(0);
  EXPECT_FALSE(QueryPerformanceCounter(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOACCESS));
}
