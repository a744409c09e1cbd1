// Automation dates (days since 1899-12-30, the time as the fraction, which
// counts away from day 0 before it) to and from calendar parts.
#pragma once

#include <oleauto.h>

struct KyDateParts {
  int year, month, day, hour, minute, second;
};

// False for parts that are no date and time of years 100-9999.
bool KyDateOfParts(const KyDateParts& parts, DATE* pDate);
// False for a date outside years 100-9999 (or no number).
bool KyPartsOfDate(DATE date, KyDateParts* pParts);
