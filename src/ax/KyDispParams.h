// A view on the arguments of one control event; it owns nothing.
#pragma once

#include <afx.h>
#include <oleauto.h>

class AFX_EXT_CLASS KyDispParams {
 public:
  KyDispParams() = default;
  explicit KyDispParams(DISPPARAMS* params) : m_params(params) {}

  int GetCount() const { return m_params ? static_cast<int>(m_params->cArgs) : 0; }
  // The n-th argument as stored (the event's last argument first); null
  // out of range.
  VARIANT* GetArg(int n) const;
  // The argument at position n in the event's declared order as text; ""
  // out of range or when it cannot be turned into text.
  CString GetParam(int n) const;

 private:
  DISPPARAMS* m_params = nullptr;
};
