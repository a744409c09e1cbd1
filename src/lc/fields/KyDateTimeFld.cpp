// Text reading, the clock and the calendar of the date and time fields.
#include "KyDateTimeFld.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <ctime>

namespace {

bool isDelimiter(char ch) { return ch != '\0' && std::strchr(kKyDateTimeDelimiters, ch) != nullptr; }

}  // namespace

void KySplitDateTimeText(const char* pszText, long* plParts, int iMaxParts) {
  for (int i = 0; i < iMaxParts; ++i) plParts[i] = 0;
  if (!pszText) return;
  const char* p = pszText;
  for (int part = 0; part < iMaxParts; ++part) {
    while (isDelimiter(*p)) ++p;
    if (!*p) return;
    // A piece reads as atol reads it: its leading number (a piece cannot
    // start with '-', a delimiter); the 32-bit limit where it overflows.
    plParts[part] = KyClampInteger<LONG>(KyReadInteger(p));
    while (*p && !isDelimiter(*p)) ++p;
  }
}

bool KyIsNowText(const char* pszText) {
  static constexpr char kNow[] = "*NOW";
  if (!pszText) return false;
  for (int i = 0; i < 4; ++i)
    if (pszText[i] == '\0' || (pszText[i] & ~0x20) != (kNow[i] & ~0x20)) return false;
  return pszText[4] == '\0';
}

bool KyReadLocalClock(tagODBCTIMESTAMP& now) {
  now = {};
  timespec clock{};
  std::tm local{};
  if (clock_gettime(CLOCK_REALTIME, &clock) != 0) return false;
  const time_t seconds = clock.tv_sec;
  if (!localtime_r(&seconds, &local)) return false;
  now.year = static_cast<SHORT>(local.tm_year + 1900);
  now.month = static_cast<USHORT>(local.tm_mon + 1);
  now.day = static_cast<USHORT>(local.tm_mday);
  now.hour = static_cast<USHORT>(local.tm_hour);
  now.minute = static_cast<USHORT>(local.tm_min);
  // A leap second reads as the 59th.
  now.second = static_cast<USHORT>(local.tm_sec > 59 ? 59 : local.tm_sec);
  now.fraction = static_cast<ULONG>(clock.tv_nsec / 1000000);
  return true;
}

bool KyIsLeapYear(int iYear) { return (iYear % 4 == 0 && iYear % 100 != 0) || iYear % 400 == 0; }

int KyDaysInMonth(int iYear, int iMonth) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (iMonth < 1 || iMonth > 12) return 0;
  return iMonth == 2 && KyIsLeapYear(iYear) ? 29 : kDays[iMonth - 1];
}

bool KyIsValidDate(int iYear, int iMonth, int iDay) {
  return iYear >= 0 && iDay >= 1 && iDay <= KyDaysInMonth(iYear, iMonth);
}

bool KyIsValidTime(int iHour, int iMinute, int iSecond) {
  return iHour >= 0 && iHour <= 23 && iMinute >= 0 && iMinute <= 59 && iSecond >= 0 && iSecond <= 59;
}

char* KyPutPaddedNumber(char* pszOut, long long value, int iDigits) {
  unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
  if (value < 0) *pszOut++ = '-';
  char digits[24];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, magnitude);
  const int count = static_cast<int>(end - digits);
  for (int i = count; i < iDigits; ++i) *pszOut++ = '0';
  std::memcpy(pszOut, digits, static_cast<size_t>(count));
  return pszOut + count;
}

int KyReadTextPiece(const char* pszText, int iFirst, int iCount) {
  if (!pszText || iFirst < 0 || iCount <= 0) return 0;
  const size_t length = std::strlen(pszText);
  if (static_cast<size_t>(iFirst) >= length) return 0;
  char piece[16] = {};
  const size_t count = std::min(static_cast<size_t>(iCount), std::min(length - iFirst, sizeof piece - 1));
  std::memcpy(piece, pszText + iFirst, count);
  return KyClampInteger<int>(KyReadInteger(piece));
}
