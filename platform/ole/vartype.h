// Facts about VARTYPEs shared by the VARIANT and SAFEARRAY code.
#pragma once

#include <oleauto.h>

namespace oleaut {

// Size of one value of a scalar type as a VARIANT or array element holds
// it; 0 for a type that has no fixed value (VT_EMPTY, VT_NULL, invalid).
ULONG valueSize(VARTYPE base);
// Whether vt is a type a VARIANT may hold (base type, VT_ARRAY, VT_BYREF).
bool isValidVariantType(VARTYPE vt);
// Whether a SAFEARRAY may have elements of this type.
bool isValidArrayType(VARTYPE vt);

// Days from 1899-12-30 to a date of the Gregorian calendar.
long long serialOf(long long year, int month, int day);
// A date serial of years 100-9999 split into its calendar day and the
// seconds of its time (rounded to the second); false outside that range.
struct DateParts {
  int year = 0, month = 0, day = 0;
  long long dayNumber = 0;  // the serial's whole days
  int seconds = 0;
};
bool splitDate(double date, DateParts* parts);

}  // namespace oleaut
