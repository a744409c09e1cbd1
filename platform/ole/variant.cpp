// VariantInit, VariantClear, VariantCopy and VariantCopyInd.
#include <oleauto.h>

#include <cstring>

#include "vartype.h"

using oleaut::isValidVariantType;

extern "C" void VariantInit(VARIANTARG* pvarg) {
  if (!pvarg) return;
  pvarg->vt = VT_EMPTY;
  pvarg->wReserved1 = pvarg->wReserved2 = pvarg->wReserved3 = 0;
}

extern "C" HRESULT VariantClear(VARIANTARG* pvarg) {
  if (!pvarg) return E_INVALIDARG;
  const VARTYPE vt = pvarg->vt;
  if (!isValidVariantType(vt)) return DISP_E_BADVARTYPE;
  if (!(vt & VT_BYREF)) {
    if (vt & VT_ARRAY) {
      if (pvarg->parray) {
        const HRESULT hr = SafeArrayDestroy(pvarg->parray);
        if (FAILED(hr)) return hr;  // a locked array stays where it is
      }
    } else if (vt == VT_BSTR) {
      SysFreeString(pvarg->bstrVal);
    } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
      // IDispatch derives from IUnknown: one Release serves both.
      if (pvarg->punkVal) pvarg->punkVal->Release();
    }
  }
  pvarg->vt = VT_EMPTY;
  return S_OK;
}

namespace {

// dest gets its own copy of what src holds by value; dest's old content
// has been freed. On failure dest is VT_EMPTY.
HRESULT copyOwned(VARIANTARG* dest, const VARIANTARG* src) {
  std::memcpy(static_cast<void*>(dest), src, sizeof(VARIANT));
  const VARTYPE vt = src->vt;
  if (vt & VT_BYREF) return S_OK;  // a reference is copied as the reference
  if (vt & VT_ARRAY) {
    if (!src->parray) return S_OK;
    dest->parray = nullptr;
    const HRESULT hr = SafeArrayCopy(src->parray, &dest->parray);
    if (FAILED(hr)) dest->vt = VT_EMPTY;
    return hr;
  }
  if (vt == VT_BSTR && src->bstrVal) {
    dest->bstrVal = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(src->bstrVal), SysStringByteLen(src->bstrVal));
    if (!dest->bstrVal) {
      dest->vt = VT_EMPTY;
      return E_OUTOFMEMORY;
    }
  } else if ((vt == VT_UNKNOWN || vt == VT_DISPATCH) && src->punkVal) {
    src->punkVal->AddRef();
  }
  return S_OK;
}

}  // namespace

extern "C" HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc) {
  if (!pvargDest || !pvargSrc) return E_INVALIDARG;
  if (!isValidVariantType(pvargSrc->vt)) return DISP_E_BADVARTYPE;
  if (pvargDest == pvargSrc) return S_OK;
  const HRESULT hr = VariantClear(pvargDest);
  if (FAILED(hr)) return hr;
  return copyOwned(pvargDest, pvargSrc);
}

extern "C" HRESULT VariantCopyInd(VARIANT* pvarDest, const VARIANTARG* pvargSrc) {
  if (!pvarDest || !pvargSrc) return E_INVALIDARG;
  const VARTYPE vt = pvargSrc->vt;
  if (!isValidVariantType(vt)) return DISP_E_BADVARTYPE;
  if (!(vt & VT_BYREF)) return VariantCopy(pvarDest, pvargSrc);
  if (!pvargSrc->byref) return E_INVALIDARG;

  VARIANT value;
  VariantInit(&value);
  if (vt == (VT_VARIANT | VT_BYREF)) {
    const VARIANT* inner = pvargSrc->pvarVal;
    if (inner->vt == (VT_VARIANT | VT_BYREF)) return E_INVALIDARG;  // one level of reference only
    if (inner->vt & VT_BYREF) return VariantCopyInd(pvarDest, inner);
    std::memcpy(static_cast<void*>(&value), inner, sizeof(VARIANT));
  } else {
    value.vt = vt & ~VT_BYREF;
    const ULONG size = (vt & VT_ARRAY) ? sizeof(SAFEARRAY*) : oleaut::valueSize(value.vt);
    if (value.vt == VT_DECIMAL) {
      std::memcpy(&value.decVal, pvargSrc->pdecVal, sizeof(DECIMAL));
      value.vt = VT_DECIMAL;  // the DECIMAL's reserved word overlays vt
    } else {
      std::memcpy(&value.llVal, pvargSrc->byref, size);
    }
  }
  // Copy into a temporary first: the source may be referred to from pvarDest.
  VARIANT copy;
  const HRESULT hr = copyOwned(&copy, &value);
  if (FAILED(hr)) return hr;
  const HRESULT cleared = VariantClear(pvarDest);
  if (FAILED(cleared)) {
    VariantClear(&copy);
    return cleared;
  }
  std::memcpy(static_cast<void*>(pvarDest), &copy, sizeof(VARIANT));
  return S_OK;
}
