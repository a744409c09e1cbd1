// KyOLEApp: the App object of the runner's automation.
#include "KyOLEApp.h"

#include <objbase.h>
#include <winreg.h>

#include <string>
#include <utility>

#include "KyAppContext.h"
#include "KyRunOptions.h"
#include "KyWinClientApp.h"

namespace {

std::string clsidText() {
  OLECHAR wide[40] = {};
  StringFromGUID2(KyOLEApp::kClsid, wide, 40);
  return std::string(wide, wide + std::char_traits<OLECHAR>::length(wide));
}

}  // namespace

bool KyOLEApp::UpdateRegistry() {
  char program[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  const std::string clsid = clsidText(), classKey = "CLSID\\" + clsid, progId = kProgId;
  const std::pair<std::string, std::string> keys[] = {
      {progId, progId},          {progId + "\\CLSID", clsid},
      {classKey, progId},        {classKey + "\\ProgID", progId},
      {classKey + "\\LocalServer32", program},
  };
  for (const auto& [key, value] : keys)
    if (RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(), 0) != ERROR_SUCCESS) return false;
  return true;
}

KyOLEApp::KyOLEApp(KyWinClientApp* pApp)
    : KyDispatchObject({{"environmentKey", kEnvironmentKey}, {"Function", kFunction}}), m_pApp(pApp) {
  m_pApp->m_iAppState = 3;
  m_pApp->m_iStartMode = 3;
  m_pContext = new KyAppContext;
  m_pApp->SetContext(m_pContext);
  m_pContext->Init(m_pApp->m_lpCmdLine ? m_pApp->m_lpCmdLine : "");
}

KyOLEApp::~KyOLEApp() {
  MakeCurrent();
  m_pContext->Exit();
  delete m_pContext;
  m_pApp->SetContext(nullptr);
}

void KyOLEApp::MakeCurrent() { m_pApp->SetContext(m_pContext); }

void KyOLEApp::environmentKeyChanged() {
  m_pApp->LocateIniFile(m_strEnvironmentKey.c_str());
  m_pContext->GetRunOptions()->Load();
}

HRESULT KyOLEApp::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
                         EXCEPINFO*, UINT* puArgErr) {
  MakeCurrent();
  if (!pDispParams) return E_INVALIDARG;
  VARIANT value;
  VariantInit(&value);
  switch (dispIdMember) {
    case kEnvironmentKey:
      if (wFlags & DISPATCH_PROPERTYPUT) {
        const HRESULT hr = PutText(pDispParams, &m_strEnvironmentKey);
        if (FAILED(hr)) return hr;
        environmentKeyChanged();
        return S_OK;
      }
      if (!(wFlags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
      if (pVarResult) {
        VariantInit(pVarResult);
        pVarResult->vt = VT_BSTR;
        pVarResult->bstrVal = ToBstr(m_strEnvironmentKey.c_str());
      }
      return S_OK;
    case kFunction: {
      if (!(wFlags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
      if (pDispParams->cArgs != 2) return DISP_E_BADPARAMCOUNT;
      VARIANT implementation;
      VariantInit(&implementation);
      HRESULT hr = DispGetParam(pDispParams, 0, VT_BSTR, &value, puArgErr);
      if (SUCCEEDED(hr)) hr = DispGetParam(pDispParams, 1, VT_BSTR, &implementation, puArgErr);
      if (FAILED(hr)) {
        VariantClear(&value);
        return hr;
      }
      auto* pFunction = new KyOLEFunction(this, FromBstr(value.bstrVal), FromBstr(implementation.bstrVal));
      VariantClear(&value);
      VariantClear(&implementation);
      if (pVarResult) {
        VariantInit(pVarResult);
        pVarResult->vt = VT_DISPATCH;
        pVarResult->pdispVal = pFunction;  // the result holds the first reference
      } else {
        pFunction->Release();
      }
      return S_OK;
    }
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}
