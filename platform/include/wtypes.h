// OLE Automation's base types: BSTR, VARTYPE and the VT_* numbers, the
// Automation scalar types (VARIANT_BOOL, DATE, CY, DECIMAL).
// The numbers and layouts are Windows' own: they cross to COM peers, type
// libraries and stored variants.
#pragma once

#include "windef.h"

typedef LONG SCODE;
typedef WCHAR* LPOLESTR;
typedef const WCHAR* LPCOLESTR;

// A BSTR points at the first character; the 32-bit byte length (without the
// terminating NUL) sits in the four bytes before it.
typedef OLECHAR* BSTR;
typedef BSTR* LPBSTR;

typedef SHORT VARIANT_BOOL;
#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)

// Days since 30 December 1899, time of day as the fraction.
typedef double DATE;

// Currency: a 64-bit integer scaled by 10,000.
typedef union tagCY {
  struct { ULONG Lo; LONG Hi; };
  LONGLONG int64;
} CY;

typedef struct tagDEC {
  USHORT wReserved;
  BYTE scale;
  BYTE sign;  // 0x80: negative
  ULONG Hi32;
  ULONGLONG Lo64;
} DECIMAL;
#define DECIMAL_NEG ((BYTE)0x80)

typedef USHORT VARTYPE;

enum VARENUM {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_DECIMAL = 14,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_VOID = 24,
  VT_HRESULT = 25,
  VT_PTR = 26,
  VT_SAFEARRAY = 27,
  VT_CARRAY = 28,
  VT_USERDEFINED = 29,
  VT_LPSTR = 30,
  VT_LPWSTR = 31,
  VT_RECORD = 36,
  VT_INT_PTR = 37,
  VT_UINT_PTR = 38,
  VT_VECTOR = 0x1000,
  VT_ARRAY = 0x2000,
  VT_BYREF = 0x4000,
  VT_RESERVED = 0x8000,
  VT_ILLEGAL = 0xffff,
  VT_ILLEGALMASKED = 0x0fff,
  VT_TYPEMASK = 0x0fff
};

static_assert(sizeof(CY) == 8 && sizeof(DECIMAL) == 16);
