// Clocks, calendar conversions and the time zone.
//
// Calendar arithmetic is done on day numbers (days since 1970-01-01, the
// proleptic Gregorian calendar Windows uses back to 1601) so that every
// FILETIME converts, whatever the range of time_t or struct tm.
#include <internal/filetime.h>
#include <winbase.h>

#include <ctime>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int64_t kTicksPerMillisecond = 10'000;
constexpr int64_t kSecondsPerDay = 86'400;
constexpr int64_t kDaysFrom1601To1970 = 134'774;
constexpr uint64_t kMaxFileTime = 0x7FFFFFFFFFFFFFFFULL;  // larger values do not convert, as on Windows

// Days since 1970-01-01 of a Gregorian date (month 1..12).
int64_t daysFromCivil(int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;
}

struct CivilDate {
  int64_t year;
  unsigned month;
  unsigned day;
};

CivilDate civilFromDays(int64_t days) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned mp = (5 * dayOfYear + 2) / 153;
  const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2), month, day};
}

bool isLeapYear(unsigned year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

unsigned daysInMonth(unsigned year, unsigned month) {
  static constexpr unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Splits a count of 100-ns ticks since 1601 into calendar fields.
SYSTEMTIME systemTimeFromTicks(uint64_t ticks) {
  const uint64_t totalSeconds = ticks / win32::kTicksPerSecond;
  const int64_t days = static_cast<int64_t>(totalSeconds / kSecondsPerDay);
  const unsigned secondOfDay = static_cast<unsigned>(totalSeconds % kSecondsPerDay);
  const CivilDate date = civilFromDays(days - kDaysFrom1601To1970);
  SYSTEMTIME st;
  st.wYear = static_cast<WORD>(date.year);
  st.wMonth = static_cast<WORD>(date.month);
  st.wDay = static_cast<WORD>(date.day);
  st.wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1601-01-01 was a Monday; 0 is Sunday
  st.wHour = static_cast<WORD>(secondOfDay / 3600);
  st.wMinute = static_cast<WORD>(secondOfDay / 60 % 60);
  st.wSecond = static_cast<WORD>(secondOfDay % 60);
  st.wMilliseconds = static_cast<WORD>(ticks / kTicksPerMillisecond % 1000);
  return st;
}

timespec clockNow(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return ts;
}

// Seconds east of UTC that local time is at the Unix time `t`.
long utcOffsetAt(time_t t) {
  tm local{};
  localtime_r(&t, &local);
  return local.tm_gmtoff;
}

long currentUtcOffset() {
  tzset();  // follow a TZ changed since the last call, as Windows follows the control panel
  return utcOffsetAt(time(nullptr));
}

// Adds `seconds` to a FILETIME; false when the result leaves the range.
bool shiftFileTime(const FILETIME& in, long seconds, FILETIME& out) {
  const int64_t q = static_cast<int64_t>(win32::fileTimeToQuad(in));
  const int64_t shifted = q + static_cast<int64_t>(seconds) * win32::kTicksPerSecond;
  if (q < 0 || shifted < 0) return false;
  out = win32::quadToFileTime(static_cast<uint64_t>(shifted));
  return true;
}

}  // namespace

// --- clocks -----------------------------------------------------------------

extern "C" ULONGLONG WINAPI GetTickCount64(void) {
  const timespec ts = clockNow(CLOCK_BOOTTIME);
  return static_cast<ULONGLONG>(ts.tv_sec) * 1000 + static_cast<ULONGLONG>(ts.tv_nsec) / 1'000'000;
}

extern "C" DWORD WINAPI GetTickCount(void) { return static_cast<DWORD>(GetTickCount64()); }

extern "C" BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency) {
  if (!lpFrequency) {
    SetLastError(ERROR_NOACCESS);
    return FALSE;
  }
  lpFrequency->QuadPart = win32::kTicksPerSecond;
  return TRUE;
}

extern "C" BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount) {
  if (!lpPerformanceCount) {
    SetLastError(ERROR_NOACCESS);
    return FALSE;
  }
  const timespec ts = clockNow(CLOCK_MONOTONIC);
  lpPerformanceCount->QuadPart = static_cast<LONGLONG>(ts.tv_sec) * win32::kTicksPerSecond + ts.tv_nsec / 100;
  return TRUE;
}

extern "C" void WINAPI Sleep(DWORD dwMilliseconds) { SleepEx(dwMilliseconds, FALSE); }

// --- system and local time ----------------------------------------------------

extern "C" void WINAPI GetSystemTimeAsFileTime(LPFILETIME lpSystemTimeAsFileTime) {
  if (lpSystemTimeAsFileTime) *lpSystemTimeAsFileTime = win32::fileTimeFromTimespec(clockNow(CLOCK_REALTIME));
}

extern "C" void WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime) {
  if (!lpSystemTime) return;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  *lpSystemTime = systemTimeFromTicks(win32::fileTimeToQuad(now));
}

extern "C" void WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime) {
  if (!lpSystemTime) return;
  tzset();
  const timespec now = clockNow(CLOCK_REALTIME);
  FILETIME local;
  if (!shiftFileTime(win32::fileTimeFromTimespec(now), utcOffsetAt(now.tv_sec), local)) {
    local = win32::fileTimeFromTimespec(now);
  }
  *lpSystemTime = systemTimeFromTicks(win32::fileTimeToQuad(local));
}

// --- conversions --------------------------------------------------------------

extern "C" BOOL WINAPI FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime) {
  if (!lpFileTime || !lpSystemTime || win32::fileTimeToQuad(*lpFileTime) > kMaxFileTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *lpSystemTime = systemTimeFromTicks(win32::fileTimeToQuad(*lpFileTime));
  return TRUE;
}

extern "C" BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime) {
  if (!lpSystemTime || !lpFileTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const SYSTEMTIME& st = *lpSystemTime;
  // wDayOfWeek is ignored, as Windows does; every other field must be valid.
  const bool valid = st.wYear >= 1601 && st.wMonth >= 1 && st.wMonth <= 12 && st.wDay >= 1 &&
                     st.wDay <= daysInMonth(st.wYear, st.wMonth) && st.wHour < 24 && st.wMinute < 60 &&
                     st.wSecond < 60 && st.wMilliseconds < 1000;
  if (!valid) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int64_t days = daysFromCivil(st.wYear, st.wMonth, st.wDay) + kDaysFrom1601To1970;
  const int64_t seconds = days * kSecondsPerDay + st.wHour * 3600 + st.wMinute * 60 + st.wSecond;
  const uint64_t ticks = static_cast<uint64_t>(seconds) * win32::kTicksPerSecond +
                         static_cast<uint64_t>(st.wMilliseconds) * kTicksPerMillisecond;
  // The last representable time is 30828-09-14 02:48:05.477.
  if (static_cast<uint64_t>(seconds) > kMaxFileTime / win32::kTicksPerSecond || ticks > kMaxFileTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *lpFileTime = win32::quadToFileTime(ticks);
  return TRUE;
}

extern "C" BOOL WINAPI FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime) {
  if (!lpFileTime || !lpLocalFileTime || !shiftFileTime(*lpFileTime, currentUtcOffset(), *lpLocalFileTime)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL WINAPI LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, LPFILETIME lpFileTime) {
  if (!lpLocalFileTime || !lpFileTime || !shiftFileTime(*lpLocalFileTime, -currentUtcOffset(), *lpFileTime)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

extern "C" LONG WINAPI CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2) {
  // A missing time compares as the earliest one.
  const uint64_t a = lpFileTime1 ? win32::fileTimeToQuad(*lpFileTime1) : 0;
  const uint64_t b = lpFileTime2 ? win32::fileTimeToQuad(*lpFileTime2) : 0;
  return a < b ? -1 : (a > b ? 1 : 0);
}

// --- time zone ------------------------------------------------------------------

namespace {

struct Transition {
  time_t at;          // first second of the new offset (UTC)
  long offsetBefore;  // seconds east of UTC
  long offsetAfter;
  std::string zoneName;  // the abbreviation in force after it
};

// The first second in (low, high] whose offset differs from low's.
time_t findChange(time_t low, time_t high) {
  const long before = utcOffsetAt(low);
  while (high - low > 1) {
    const time_t middle = low + (high - low) / 2;
    if (utcOffsetAt(middle) == before) {
      low = middle;
    } else {
      high = middle;
    }
  }
  return high;
}

// Windows' "day-in-month" form of a yearly transition: month, weekday, the
// week of the month (5 = the last) and the wall-clock time it happens at.
SYSTEMTIME yearlyRule(const Transition& t) {
  FILETIME wall{};
  shiftFileTime(win32::fileTimeFromUnix(t.at, 0), t.offsetBefore, wall);
  SYSTEMTIME st = systemTimeFromTicks(win32::fileTimeToQuad(wall));
  const unsigned week = (st.wDay - 1) / 7 + 1;
  st.wDay = static_cast<WORD>(st.wDay + 7u > daysInMonth(st.wYear, st.wMonth) ? 5 : week);
  st.wYear = 0;
  st.wSecond = 0;
  st.wMilliseconds = 0;
  return st;
}

void copyName(const char* name, WCHAR (&out)[32]) {
  std::fill(std::begin(out), std::end(out), u'\0');
  const std::string_view text = name ? name : "";
  for (size_t i = 0; i < text.size() && i < 31; ++i) out[i] = static_cast<unsigned char>(text[i]);
}

}  // namespace

extern "C" DWORD WINAPI GetTimeZoneInformation(LPTIME_ZONE_INFORMATION lpTimeZoneInformation) {
  if (!lpTimeZoneInformation) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return TIME_ZONE_ID_INVALID;
  }
  tzset();
  const time_t now = time(nullptr);
  tm local{};
  localtime_r(&now, &local);

  // The year's transitions, found day by day and then to the second.
  const time_t yearStart = static_cast<time_t>(daysFromCivil(local.tm_year + 1900, 1, 1) * kSecondsPerDay);
  const time_t yearEnd = static_cast<time_t>(daysFromCivil(local.tm_year + 1901, 1, 1) * kSecondsPerDay);
  std::vector<Transition> transitions;
  for (time_t day = yearStart - kSecondsPerDay; day < yearEnd; day += kSecondsPerDay) {
    const long before = utcOffsetAt(day);
    if (utcOffsetAt(day + kSecondsPerDay) == before) continue;
    const time_t at = findChange(day, day + kSecondsPerDay);
    tm after{};
    localtime_r(&at, &after);
    transitions.push_back({at, before, after.tm_gmtoff, after.tm_zone ? after.tm_zone : ""});
  }
  // Daylight time is the later clock of the two, whatever the host calls
  // it: zones whose "daylight" saving runs in winter (Europe/Dublin) still
  // answer a negative DaylightBias, as Windows has them.
  long standard = local.tm_gmtoff, daylight = local.tm_gmtoff;
  for (const auto& t : transitions) {
    standard = std::min({standard, t.offsetBefore, t.offsetAfter});
    daylight = std::max({daylight, t.offsetBefore, t.offsetAfter});
  }
  const Transition* toDaylight = nullptr;
  const Transition* toStandard = nullptr;
  for (const auto& t : transitions) {
    if (!toDaylight && t.offsetAfter == daylight) toDaylight = &t;
    if (!toStandard && t.offsetAfter == standard) toStandard = &t;
  }

  TIME_ZONE_INFORMATION& tzi = *lpTimeZoneInformation;
  tzi = TIME_ZONE_INFORMATION{};
  if (!toDaylight || !toStandard || standard == daylight) {
    // No yearly change (or a one-off change of the zone's offset): the
    // offset in force now is the zone's standard time.
    tzi.Bias = static_cast<LONG>(-local.tm_gmtoff / 60);
    copyName(local.tm_zone, tzi.StandardName);
    copyName(local.tm_zone, tzi.DaylightName);
    return TIME_ZONE_ID_UNKNOWN;
  }
  // Bias is in minutes and counts the other way: UTC = local time + bias.
  tzi.Bias = static_cast<LONG>(-standard / 60);
  copyName(toStandard->zoneName.c_str(), tzi.StandardName);
  copyName(toDaylight->zoneName.c_str(), tzi.DaylightName);
  tzi.StandardDate = yearlyRule(*toStandard);
  tzi.DaylightDate = yearlyRule(*toDaylight);
  tzi.StandardBias = 0;
  tzi.DaylightBias = static_cast<LONG>(-(daylight - standard) / 60);
  return local.tm_gmtoff == daylight ? TIME_ZONE_ID_DAYLIGHT : TIME_ZONE_ID_STANDARD;
}
