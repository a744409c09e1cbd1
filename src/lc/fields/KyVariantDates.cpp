// Automation dates and calendar parts through the system's conversions.
#include "KyVariantDates.h"

bool KyDateOfParts(const KyDateParts& p, DATE* pDate) {
  if (p.year < 0 || p.month < 0 || p.day < 0 || p.hour < 0 || p.minute < 0 || p.second < 0) return false;
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(p.year);
  time.wMonth = static_cast<WORD>(p.month);
  time.wDay = static_cast<WORD>(p.day);
  time.wHour = static_cast<WORD>(p.hour);
  time.wMinute = static_cast<WORD>(p.minute);
  time.wSecond = static_cast<WORD>(p.second);
  return SystemTimeToVariantTime(&time, pDate) != FALSE;
}

bool KyPartsOfDate(DATE date, KyDateParts* p) {
  SYSTEMTIME time{};
  if (!VariantTimeToSystemTime(date, &time)) return false;
  *p = {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
  return true;
}
