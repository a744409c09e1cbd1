// KyDispatchObject: names and exceptions (reference counting and
// QueryInterface come from the layer's shared COM object helper).
#include "KyDispatchObject.h"

#include <strings.h>
#include <winnls.h>

#include <cstring>
#include <vector>

HRESULT KyDispatchObject::QueryInterface(REFIID riid, void** ppvObject) {
  return win32::com::answerQuery(riid, ppvObject, {{&IID_IUnknown, this}, {&IID_IDispatch, this}});
}

HRESULT KyDispatchObject::GetTypeInfoCount(UINT* pctinfo) {
  if (!pctinfo) return E_POINTER;
  *pctinfo = 0;
  return S_OK;
}

HRESULT KyDispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
  if (ppTInfo) *ppTInfo = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT KyDispatchObject::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID, DISPID* rgDispId) {
  if (!rgszNames || !rgDispId || cNames == 0) return E_INVALIDARG;
  for (UINT i = 0; i < cNames; ++i) rgDispId[i] = DISPID_UNKNOWN;
  const std::string name = FromBstr(rgszNames[0]);
  for (const Member& m : m_Members) {
    if (strcasecmp(name.c_str(), m.pszName) == 0) {
      rgDispId[0] = m.id;
      return cNames == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
  }
  return DISP_E_UNKNOWNNAME;
}

HRESULT KyDispatchObject::PutText(DISPPARAMS* pDispParams, std::string* pText) {
  if (!pDispParams || pDispParams->cArgs < 1 || !pDispParams->rgvarg) return DISP_E_BADPARAMCOUNT;
  VARIANT value;
  VariantInit(&value);
  const HRESULT hr = VariantChangeType(&value, &pDispParams->rgvarg[0], 0, VT_BSTR);
  if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
  *pText = FromBstr(value.bstrVal);
  VariantClear(&value);
  return S_OK;
}

HRESULT KyDispatchObject::Raise(EXCEPINFO* pExcepInfo, WORD wCode, const char* pszDescription) {
  if (pExcepInfo) {
    std::memset(pExcepInfo, 0, sizeof *pExcepInfo);
    pExcepInfo->wCode = wCode;
    pExcepInfo->bstrDescription = ToBstr(pszDescription);
  }
  return DISP_E_EXCEPTION;
}

BSTR KyDispatchObject::ToBstr(const char* pszText) {
  const char* text = pszText ? pszText : "";
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::vector<OLECHAR> wide(static_cast<size_t>(length > 0 ? length : 1), 0);
  if (length > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  return SysAllocString(wide.data());
}

std::string KyDispatchObject::FromBstr(BSTR bstr) {
  if (!bstr) return std::string();
  const int length = WideCharToMultiByte(CP_ACP, 0, bstr, -1, nullptr, 0, nullptr, nullptr);
  std::vector<char> text(static_cast<size_t>(length > 0 ? length : 1), 0);
  if (length > 0) WideCharToMultiByte(CP_ACP, 0, bstr, -1, text.data(), length, nullptr, nullptr);
  return std::string(text.data());
}
