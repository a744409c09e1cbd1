// OLE Automation functions of the layer (OLEAUT32): BSTR allocation,
// VARIANT handling with type changes, SAFEARRAY creation and access.
//
// Ownership follows Windows: a VARIANT owns its BSTR, array and interface
// reference; VariantClear frees them, VariantCopy duplicates them (the
// BSTR and array deeply, the interface by AddRef). SafeArrayGetElement
// hands the caller a copy that the caller frees; SafeArrayPutElement stores
// a copy and frees the element it replaces.
#pragma once

#include "oaidl.h"

#ifdef __cplusplus
#define WINOLEAUTAPI extern "C" HRESULT
#define WINOLEAUTAPI_(type) extern "C" type
#else
#define WINOLEAUTAPI extern HRESULT
#define WINOLEAUTAPI_(type) extern type
#endif

// --- BSTR ---
// Null when the text is null or memory runs out.
WINOLEAUTAPI_(BSTR) SysAllocString(const OLECHAR* psz);
// ui characters copied from pch (left zeroed when pch is null), then a NUL.
WINOLEAUTAPI_(BSTR) SysAllocStringLen(const OLECHAR* pch, UINT ui);
// len bytes (not characters); a trailing odd byte is kept.
WINOLEAUTAPI_(BSTR) SysAllocStringByteLen(LPCSTR psz, UINT len);
WINOLEAUTAPI_(INT) SysReAllocString(BSTR* pbstr, const OLECHAR* psz);
WINOLEAUTAPI_(INT) SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len);
WINOLEAUTAPI_(void) SysFreeString(BSTR bstrString);
// Characters (0 for null).
WINOLEAUTAPI_(UINT) SysStringLen(BSTR bstr);
WINOLEAUTAPI_(UINT) SysStringByteLen(BSTR bstr);

// --- VARIANT ---
// VariantChangeType flags.
#define VARIANT_NOVALUEPROP 0x01
#define VARIANT_ALPHABOOL 0x02
#define VARIANT_NOUSEROVERRIDE 0x04
#define VARIANT_CALENDAR_HIJRI 0x08
#define VARIANT_LOCALBOOL 0x10

WINOLEAUTAPI_(void) VariantInit(VARIANTARG* pvarg);
WINOLEAUTAPI VariantClear(VARIANTARG* pvarg);
WINOLEAUTAPI VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc);
WINOLEAUTAPI VariantCopyInd(VARIANT* pvarDest, const VARIANTARG* pvargSrc);
// The conversions of the scalar types among each other and to and from
// VT_BSTR (numbers written and read with '.' as decimal point, dates as
// "M/D/YYYY h:mm:ss AM", as for the neutral locale; dates are also read in
// ISO order); a source passed by reference is read through. In place
// (source == destination) is allowed.
WINOLEAUTAPI VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT wFlags, VARTYPE vt);
WINOLEAUTAPI VariantChangeTypeEx(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, LCID lcid, USHORT wFlags,
                                 VARTYPE vt);

// --- SAFEARRAY ---
WINOLEAUTAPI_(SAFEARRAY*) SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound);
WINOLEAUTAPI_(SAFEARRAY*) SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements);
WINOLEAUTAPI SafeArrayDestroy(SAFEARRAY* psa);
WINOLEAUTAPI_(UINT) SafeArrayGetDim(SAFEARRAY* psa);
WINOLEAUTAPI_(UINT) SafeArrayGetElemsize(SAFEARRAY* psa);
WINOLEAUTAPI SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt);
// nDim is 1-based, counted from the left as the caller declared them.
WINOLEAUTAPI SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound);
WINOLEAUTAPI SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound);
WINOLEAUTAPI SafeArrayLock(SAFEARRAY* psa);
WINOLEAUTAPI SafeArrayUnlock(SAFEARRAY* psa);
WINOLEAUTAPI SafeArrayAccessData(SAFEARRAY* psa, void** ppvData);
WINOLEAUTAPI SafeArrayUnaccessData(SAFEARRAY* psa);
WINOLEAUTAPI SafeArrayPtrOfIndex(SAFEARRAY* psa, LONG* rgIndices, void** ppvData);
WINOLEAUTAPI SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv);
WINOLEAUTAPI SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv);
WINOLEAUTAPI SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut);
