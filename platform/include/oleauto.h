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

// --- dates ---
// A date of years 100-9999 (the time rounded to the second, milliseconds
// 0); FALSE outside them or for parts that are no date.
WINOLEAUTAPI_(INT) VariantTimeToSystemTime(DATE vtime, LPSYSTEMTIME lpSystemTime);
WINOLEAUTAPI_(INT) SystemTimeToVariantTime(LPSYSTEMTIME lpSystemTime, DATE* pvtime);

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

// --- IDispatch::Invoke ---
#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8
#define DISPID_UNKNOWN (-1)
#define DISPID_VALUE 0
#define DISPID_PROPERTYPUT (-3)
// The positional argument `position` (0 = first; arguments lie in rgvarg in
// reverse order) or the named one of that DISPID, changed to vt into
// pvarResult (which owns the result). DISP_E_PARAMNOTFOUND when there is no
// such argument; a failed change gives DISP_E_TYPEMISMATCH or
// DISP_E_OVERFLOW with *puArgErr set to the argument's index in rgvarg.
WINOLEAUTAPI DispGetParam(DISPPARAMS* pdispparams, UINT position, VARTYPE vtTarg, VARIANT* pvarResult,
                          UINT* puArgErr);

// --- error objects ---
struct IErrorInfo : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetGUID(GUID* pGUID) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSource(BSTR* pBstrSource) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDescription(BSTR* pBstrDescription) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR* pBstrHelpFile) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD* pdwHelpContext) = 0;

 protected:
  ~IErrorInfo() = default;
};
struct ICreateErrorInfo : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetGUID(REFGUID rguid) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSource(LPOLESTR szSource) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetDescription(LPOLESTR szDescription) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHelpFile(LPOLESTR szHelpFile) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD dwHelpContext) = 0;

 protected:
  ~ICreateErrorInfo() = default;
};
struct ISupportErrorInfo : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) = 0;

 protected:
  ~ISupportErrorInfo() = default;
};
// A new error object (it answers both interfaces), empty texts.
WINOLEAUTAPI CreateErrorInfo(ICreateErrorInfo** pperrinfo);
// The calling thread's error object: SetErrorInfo keeps a reference to it
// (null clears it) and releases the one it replaces; GetErrorInfo hands the
// reference over and clears the slot, S_FALSE with null when there is none.
// dwReserved must be 0 (E_INVALIDARG).
WINOLEAUTAPI SetErrorInfo(ULONG dwReserved, IErrorInfo* perrinfo);
WINOLEAUTAPI GetErrorInfo(ULONG dwReserved, IErrorInfo** pperrinfo);

// --- comparison ---
#define VARCMP_LT 0
#define VARCMP_EQ 1
#define VARCMP_GT 2
#define VARCMP_NULL 3
// Compares two variants by value: numbers (and dates, booleans as -1 and 0,
// empty as 0) by their value exactly, two texts as texts (NORM_IGNORECASE
// in dwFlags ignores case), a text against a number: the text is greater;
// VT_NULL on either side gives VARCMP_NULL. By-reference values are read
// through. Objects, arrays and errors give DISP_E_TYPEMISMATCH.
WINOLEAUTAPI VarCmp(LPVARIANT pvarLeft, LPVARIANT pvarRight, LCID lcid, ULONG dwFlags);
