// SAFEARRAY: descriptor with the element type in the four bytes before it
// (FADF_HAVEVARTYPE, as Windows keeps it), bounds stored right to left,
// elements in one block with the leftmost index varying fastest.
#include <oleauto.h>

#include <cstdlib>
#include <cstring>

#include "vartype.h"

namespace {

// Room before the descriptor: Windows keeps an IID or the VARTYPE there.
constexpr size_t kPrefix = 16;
constexpr ULONG kMaxLocks = 0xFFFF;

size_t descriptorSize(UINT dims) { return sizeof(SAFEARRAY) + (dims - 1) * sizeof(SAFEARRAYBOUND); }

VARTYPE* vartypeSlot(SAFEARRAY* psa) { return reinterpret_cast<VARTYPE*>(reinterpret_cast<BYTE*>(psa) - 4); }

USHORT featuresOf(VARTYPE vt) {
  switch (vt) {
    case VT_BSTR: return FADF_HAVEVARTYPE | FADF_BSTR;
    case VT_UNKNOWN: return FADF_HAVEVARTYPE | FADF_UNKNOWN;
    case VT_DISPATCH: return FADF_HAVEVARTYPE | FADF_DISPATCH;
    case VT_VARIANT: return FADF_HAVEVARTYPE | FADF_VARIANT;
    default: return FADF_HAVEVARTYPE;
  }
}

// Total element count; false when it overflows what a block can hold.
bool elementCount(const SAFEARRAY* psa, size_t* count) {
  size_t total = 1;
  for (USHORT i = 0; i < psa->cDims; ++i) {
    const ULONG n = psa->rgsabound[i].cElements;
    if (n && total > SIZE_MAX / n) return false;
    total *= n;
  }
  if (psa->cbElements && total > (SIZE_MAX / 2) / psa->cbElements) return false;
  *count = total;
  return true;
}

// Address of the element at rgIndices (leftmost dimension first), or null
// when an index is outside its bounds.
BYTE* elementAt(SAFEARRAY* psa, const LONG* rgIndices) {
  size_t offset = 0;
  size_t stride = 1;
  for (USHORT dim = 0; dim < psa->cDims; ++dim) {
    const SAFEARRAYBOUND& bound = psa->rgsabound[psa->cDims - 1 - dim];
    const long long position = static_cast<long long>(rgIndices[dim]) - bound.lLbound;
    if (position < 0 || position >= static_cast<long long>(bound.cElements)) return nullptr;
    offset += static_cast<size_t>(position) * stride;
    stride *= bound.cElements;
  }
  return static_cast<BYTE*>(psa->pvData) + offset * psa->cbElements;
}

// Frees what the elements own (BSTRs, references, VARIANT contents).
void clearElements(SAFEARRAY* psa) {
  size_t count = 0;
  if (!psa->pvData || !elementCount(psa, &count)) return;
  BYTE* data = static_cast<BYTE*>(psa->pvData);
  for (size_t i = 0; i < count; ++i) {
    void* element = data + i * psa->cbElements;
    if (psa->fFeatures & FADF_VARIANT) {
      VariantClear(static_cast<VARIANT*>(element));
    } else if (psa->fFeatures & FADF_BSTR) {
      SysFreeString(*static_cast<BSTR*>(element));
      *static_cast<BSTR*>(element) = nullptr;
    } else if (psa->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
      IUnknown*& unknown = *static_cast<IUnknown**>(element);
      if (unknown) unknown->Release();
      unknown = nullptr;
    }
  }
}

// Copies one element value into dest (which owns nothing): BSTRs and
// VARIANTs deeply, interfaces with a new reference.
HRESULT copyElement(const SAFEARRAY* psa, void* dest, const void* src) {
  if (psa->fFeatures & FADF_VARIANT) {
    VariantInit(static_cast<VARIANT*>(dest));
    return VariantCopy(static_cast<VARIANT*>(dest), static_cast<const VARIANT*>(src));
  }
  if (psa->fFeatures & FADF_BSTR) {
    BSTR text = *static_cast<const BSTR*>(src);
    BSTR copy = nullptr;
    if (text) {
      copy = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(text), SysStringByteLen(text));
      if (!copy) return E_OUTOFMEMORY;
    }
    *static_cast<BSTR*>(dest) = copy;
    return S_OK;
  }
  if (psa->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
    IUnknown* unknown = *static_cast<IUnknown* const*>(src);
    if (unknown) unknown->AddRef();
    *static_cast<IUnknown**>(dest) = unknown;
    return S_OK;
  }
  std::memcpy(dest, src, psa->cbElements);
  return S_OK;
}

// A descriptor (and zeroed data) for vt with bounds already in stored
// (right-to-left) order.
SAFEARRAY* createStored(VARTYPE vt, UINT cDims, const SAFEARRAYBOUND* stored) {
  if (cDims == 0 || cDims > 0xFFFF || !oleaut::isValidArrayType(vt)) return nullptr;
  auto* block = static_cast<BYTE*>(std::calloc(1, kPrefix + descriptorSize(cDims)));
  if (!block) return nullptr;
  auto* psa = reinterpret_cast<SAFEARRAY*>(block + kPrefix);
  psa->cDims = static_cast<USHORT>(cDims);
  psa->fFeatures = featuresOf(vt);
  psa->cbElements = oleaut::valueSize(vt);
  *vartypeSlot(psa) = vt;
  std::memcpy(psa->rgsabound, stored, cDims * sizeof(SAFEARRAYBOUND));
  size_t count = 0;
  if (!elementCount(psa, &count)) {
    std::free(block);
    return nullptr;
  }
  if (count) {
    psa->pvData = std::calloc(count, psa->cbElements);
    if (!psa->pvData) {
      std::free(block);
      return nullptr;
    }
  }
  return psa;
}

void freeDescriptor(SAFEARRAY* psa) { std::free(reinterpret_cast<BYTE*>(psa) - kPrefix); }

// nDim (1-based, from the left) to the stored bound, or null.
SAFEARRAYBOUND* boundOf(SAFEARRAY* psa, UINT nDim) {
  if (nDim < 1 || nDim > psa->cDims) return nullptr;
  return &psa->rgsabound[psa->cDims - nDim];
}

}  // namespace

extern "C" SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound) {
  if (!rgsabound || cDims == 0 || cDims > 0xFFFF) return nullptr;
  SAFEARRAYBOUND* stored = static_cast<SAFEARRAYBOUND*>(std::malloc(cDims * sizeof(SAFEARRAYBOUND)));
  if (!stored) return nullptr;
  for (UINT i = 0; i < cDims; ++i) stored[i] = rgsabound[cDims - 1 - i];
  SAFEARRAY* psa = createStored(vt, cDims, stored);
  std::free(stored);
  return psa;
}

extern "C" SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements) {
  SAFEARRAYBOUND bound{cElements, lLbound};
  return createStored(vt, 1, &bound);
}

extern "C" HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
  if (!psa) return S_OK;
  if (psa->cLocks) return DISP_E_ARRAYISLOCKED;
  clearElements(psa);
  if (!(psa->fFeatures & (FADF_STATIC | FADF_AUTO | FADF_EMBEDDED))) std::free(psa->pvData);
  freeDescriptor(psa);
  return S_OK;
}

extern "C" UINT SafeArrayGetDim(SAFEARRAY* psa) { return psa ? psa->cDims : 0; }

extern "C" UINT SafeArrayGetElemsize(SAFEARRAY* psa) { return psa ? psa->cbElements : 0; }

extern "C" HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt) {
  if (!psa || !pvt) return E_INVALIDARG;
  if (psa->fFeatures & FADF_HAVEVARTYPE) *pvt = *vartypeSlot(psa);
  else if (psa->fFeatures & FADF_BSTR) *pvt = VT_BSTR;
  else if (psa->fFeatures & FADF_UNKNOWN) *pvt = VT_UNKNOWN;
  else if (psa->fFeatures & FADF_DISPATCH) *pvt = VT_DISPATCH;
  else if (psa->fFeatures & FADF_VARIANT) *pvt = VT_VARIANT;
  else return E_INVALIDARG;
  return S_OK;
}

extern "C" HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound) {
  if (!psa || !plLbound) return E_INVALIDARG;
  const SAFEARRAYBOUND* bound = boundOf(psa, nDim);
  if (!bound) return DISP_E_BADINDEX;
  *plLbound = bound->lLbound;
  return S_OK;
}

extern "C" HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound) {
  if (!psa || !plUbound) return E_INVALIDARG;
  const SAFEARRAYBOUND* bound = boundOf(psa, nDim);
  if (!bound) return DISP_E_BADINDEX;
  // An empty dimension answers lower bound - 1, as Windows does.
  *plUbound = static_cast<LONG>(static_cast<long long>(bound->lLbound) + bound->cElements - 1);
  return S_OK;
}

extern "C" HRESULT SafeArrayLock(SAFEARRAY* psa) {
  if (!psa) return E_INVALIDARG;
  if (psa->cLocks >= kMaxLocks) return E_UNEXPECTED;
  ++psa->cLocks;
  return S_OK;
}

extern "C" HRESULT SafeArrayUnlock(SAFEARRAY* psa) {
  if (!psa) return E_INVALIDARG;
  if (psa->cLocks == 0) return E_UNEXPECTED;
  --psa->cLocks;
  return S_OK;
}

extern "C" HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData) {
  if (!psa || !ppvData) return E_INVALIDARG;
  const HRESULT hr = SafeArrayLock(psa);
  *ppvData = SUCCEEDED(hr) ? psa->pvData : nullptr;
  return hr;
}

extern "C" HRESULT SafeArrayUnaccessData(SAFEARRAY* psa) { return SafeArrayUnlock(psa); }

extern "C" HRESULT SafeArrayPtrOfIndex(SAFEARRAY* psa, LONG* rgIndices, void** ppvData) {
  if (!psa || !rgIndices || !ppvData) return E_INVALIDARG;
  BYTE* element = elementAt(psa, rgIndices);
  if (!element) return DISP_E_BADINDEX;
  *ppvData = element;
  return S_OK;
}

extern "C" HRESULT SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
  if (!psa || !rgIndices || !pv) return E_INVALIDARG;
  BYTE* element = elementAt(psa, rgIndices);
  if (!element) return DISP_E_BADINDEX;
  HRESULT hr = SafeArrayLock(psa);
  if (FAILED(hr)) return hr;
  hr = copyElement(psa, pv, element);
  SafeArrayUnlock(psa);
  return hr;
}

extern "C" HRESULT SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
  if (!psa || !rgIndices) return E_INVALIDARG;
  // Interfaces and BSTRs are passed as the pointer itself (which may be
  // null); every other type by the address of its value.
  const bool pointerValue = psa->fFeatures & (FADF_BSTR | FADF_UNKNOWN | FADF_DISPATCH);
  if (!pv && !pointerValue) return E_INVALIDARG;
  BYTE* element = elementAt(psa, rgIndices);
  if (!element) return DISP_E_BADINDEX;
  HRESULT hr = SafeArrayLock(psa);
  if (FAILED(hr)) return hr;
  if (psa->fFeatures & FADF_VARIANT) {
    hr = VariantCopy(reinterpret_cast<VARIANT*>(element), static_cast<const VARIANT*>(pv));
  } else if (psa->fFeatures & FADF_BSTR) {
    BSTR text = static_cast<BSTR>(pv);
    BSTR copy = text ? SysAllocStringByteLen(reinterpret_cast<LPCSTR>(text), SysStringByteLen(text)) : nullptr;
    if (text && !copy) {
      hr = E_OUTOFMEMORY;
    } else {
      SysFreeString(*reinterpret_cast<BSTR*>(element));
      *reinterpret_cast<BSTR*>(element) = copy;
    }
  } else if (pointerValue) {
    auto* unknown = static_cast<IUnknown*>(pv);
    if (unknown) unknown->AddRef();
    IUnknown*& slot = *reinterpret_cast<IUnknown**>(element);
    if (slot) slot->Release();
    slot = unknown;
  } else {
    std::memcpy(element, pv, psa->cbElements);
  }
  SafeArrayUnlock(psa);
  return hr;
}

extern "C" HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut) {
  if (!ppsaOut) return E_INVALIDARG;
  *ppsaOut = nullptr;
  if (!psa) return S_OK;
  VARTYPE vt;
  if (FAILED(SafeArrayGetVartype(psa, &vt))) return E_INVALIDARG;
  SAFEARRAY* copy = createStored(vt, psa->cDims, psa->rgsabound);
  if (!copy) return E_OUTOFMEMORY;
  size_t count = 0;
  elementCount(psa, &count);
  for (size_t i = 0; i < count; ++i) {
    const HRESULT hr = copyElement(psa, static_cast<BYTE*>(copy->pvData) + i * copy->cbElements,
                                   static_cast<BYTE*>(psa->pvData) + i * psa->cbElements);
    if (FAILED(hr)) {
      SafeArrayDestroy(copy);
      return hr;
    }
  }
  *ppsaOut = copy;
  return S_OK;
}
