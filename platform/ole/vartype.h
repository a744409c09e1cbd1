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

}  // namespace oleaut
