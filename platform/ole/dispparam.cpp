// DispGetParam: one argument of an IDispatch::Invoke, changed to the type
// the callee wants.
#include <oleauto.h>

extern "C" HRESULT DispGetParam(DISPPARAMS* pdispparams, UINT position, VARTYPE vtTarg, VARIANT* pvarResult,
                                UINT* puArgErr) {
  if (!pdispparams || !pvarResult) return E_INVALIDARG;
  // A named argument with the position as its DISPID wins; otherwise the
  // positional ones follow the named ones, last argument first.
  UINT index = pdispparams->cArgs;
  for (UINT i = 0; i < pdispparams->cNamedArgs; ++i) {
    if (pdispparams->rgdispidNamedArgs && pdispparams->rgdispidNamedArgs[i] == static_cast<DISPID>(position)) {
      index = i;
      break;
    }
  }
  if (index == pdispparams->cArgs) {
    const UINT positional = pdispparams->cArgs - pdispparams->cNamedArgs;
    if (position >= positional) return DISP_E_PARAMNOTFOUND;
    index = pdispparams->cArgs - 1 - position;
  }
  VariantInit(pvarResult);
  const HRESULT hr = VariantChangeType(pvarResult, &pdispparams->rgvarg[index], 0, vtTarg);
  if (FAILED(hr)) {
    if (puArgErr) *puArgErr = index;
    return hr == DISP_E_OVERFLOW ? hr : DISP_E_TYPEMISMATCH;
  }
  return S_OK;
}
