// Value sizes and validity of VARTYPEs.
#include "vartype.h"

namespace oleaut {

ULONG valueSize(VARTYPE base) {
  switch (base) {
    case VT_I1: case VT_UI1: return 1;
    case VT_I2: case VT_UI2: case VT_BOOL: return 2;
    case VT_I4: case VT_UI4: case VT_R4: case VT_ERROR: case VT_INT: case VT_UINT: return 4;
    case VT_I8: case VT_UI8: case VT_R8: case VT_CY: case VT_DATE: return 8;
    case VT_BSTR: case VT_UNKNOWN: case VT_DISPATCH: case VT_INT_PTR: case VT_UINT_PTR: return sizeof(void*);
    case VT_DECIMAL: return sizeof(DECIMAL);
    case VT_VARIANT: return sizeof(VARIANT);
    default: return 0;
  }
}

bool isValidVariantType(VARTYPE vt) {
  if (vt & (VT_VECTOR | VT_RESERVED)) return false;
  const VARTYPE base = vt & VT_TYPEMASK;
  const bool byref = vt & VT_BYREF;
  const bool array = vt & VT_ARRAY;
  if (base == VT_EMPTY || base == VT_NULL) return !byref && !array;
  if (base == VT_VARIANT) return byref || array;  // never a VARIANT inside a VARIANT by value
  if (base == VT_RECORD) return false;   // records need IRecordInfo, which the layer has not got
  return valueSize(base) != 0;
}

bool isValidArrayType(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY: case VT_NULL: case VT_RECORD: case VT_INT_PTR: case VT_UINT_PTR: return false;
    default: return valueSize(vt) != 0;
  }
}

}  // namespace oleaut
