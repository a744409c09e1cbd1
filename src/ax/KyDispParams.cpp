#include "KyDispParams.h"

VARIANT* KyDispParams::GetArg(int n) const {
  return n >= 0 && n < GetCount() && m_params->rgvarg ? &m_params->rgvarg[n] : nullptr;
}

CString KyDispParams::GetParam(int n) const {
  if (n < 0 || n >= GetCount()) return CString();
  VARIANT text;
  VariantInit(&text);
  UINT argErr = 0;
  CString out;
  if (SUCCEEDED(DispGetParam(m_params, static_cast<UINT>(n), VT_BSTR, &text, &argErr)))
    for (UINT i = 0; i < SysStringLen(text.bstrVal); ++i)
      out += text.bstrVal[i] <= 0xFF ? static_cast<char>(text.bstrVal[i]) : '?';
  VariantClear(&text);
  return out;
}
