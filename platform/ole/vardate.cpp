// Automation dates and calendar dates: VariantTimeToSystemTime,
// SystemTimeToVariantTime, and the day arithmetic the conversions share
// (Howard Hinnant's civil-day algorithms; serial 25569 is 1970-01-01,
// and 719468 days lie from 0000-03-01 to it).
#include <oleauto.h>

#include <cmath>

#include "vartype.h"

namespace {

constexpr double kFirstDate = -657434.0;  // 0100-01-01
constexpr double kEndDate = 2958466.0;    // 10000-01-01

bool leapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && leapYear(y) ? 29 : lengths[m - 1];
}

}  // namespace

long long oleaut::serialOf(long long y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + 25569;
}

bool oleaut::splitDate(double date, DateParts* parts) {
  if (!(date >= kFirstDate && date < kEndDate)) return false;
  double day = std::trunc(date);
  // The fraction counts away from day 0 on both sides of it.
  long long seconds = std::llround(std::fabs(date - day) * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    day += date < 0 ? -1 : 1;
  }
  const long long z = static_cast<long long>(day) - 25569 + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  parts->day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  parts->month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  parts->year = static_cast<int>(yoe + era * 400 + (parts->month <= 2));
  parts->dayNumber = static_cast<long long>(day);
  parts->seconds = static_cast<int>(seconds);
  return true;
}

extern "C" INT VariantTimeToSystemTime(DATE vtime, LPSYSTEMTIME lpSystemTime) {
  oleaut::DateParts parts;
  if (!lpSystemTime || !oleaut::splitDate(vtime, &parts)) return FALSE;
  lpSystemTime->wYear = static_cast<WORD>(parts.year);
  lpSystemTime->wMonth = static_cast<WORD>(parts.month);
  lpSystemTime->wDay = static_cast<WORD>(parts.day);
  // 1899-12-30 was a Saturday (6).
  lpSystemTime->wDayOfWeek = static_cast<WORD>(((parts.dayNumber + 6) % 7 + 7) % 7);
  lpSystemTime->wHour = static_cast<WORD>(parts.seconds / 3600);
  lpSystemTime->wMinute = static_cast<WORD>(parts.seconds / 60 % 60);
  lpSystemTime->wSecond = static_cast<WORD>(parts.seconds % 60);
  lpSystemTime->wMilliseconds = 0;
  return TRUE;
}

extern "C" INT SystemTimeToVariantTime(LPSYSTEMTIME lpSystemTime, DATE* pvtime) {
  if (!lpSystemTime || !pvtime) return FALSE;
  const SYSTEMTIME& t = *lpSystemTime;
  if (t.wYear < 100 || t.wYear > 9999 || t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1 ||
      t.wDay > daysInMonth(t.wYear, t.wMonth) || t.wHour > 23 || t.wMinute > 59 || t.wSecond > 59)
    return FALSE;
  const double day = static_cast<double>(oleaut::serialOf(t.wYear, t.wMonth, t.wDay));
  const double fraction = (t.wHour * 3600 + t.wMinute * 60 + t.wSecond) / 86400.0;
  *pvtime = day < 0 ? day - fraction : day + fraction;
  return TRUE;
}
