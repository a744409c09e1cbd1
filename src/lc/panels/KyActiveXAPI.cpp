#include "KyActiveXAPI.h"

#include <afxocc.h>
#include <oleauto.h>

#include <vector>

#include "KyActiveXControl.h"
#include "KyActiveXScripter.h"
#include "KyAppContext.h"
#include "KyCharFld.h"
#include "KyCtrl.h"
#include "KyDispParams.h"
#include "KyFunctionData.h"
#include "KyPanel.h"
#include "KyPanelFrames.h"
#include "KyRTType.h"
#include "KyResourceStrings.h"
#include "KyScriptText.h"

namespace {

const char kGlobal[] = "#Global";

KyPanel* currentPanel() {
  KyAppContext* pContext = KyAppContext::Current();
  KyFunctionData* pFunction = pContext ? pContext->m_pCurrentFunction : nullptr;
  return pFunction ? pFunction->GetPanel() : nullptr;
}

bool isGlobal(const char* code) { return code && CString(code).Left(7).CompareNoCase(kGlobal) == 0; }

VARIANT textArgument(const char* text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = ax::ToBstr(text);
  return v;
}

VARIANT indexArgument(int index) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = index;
  return v;
}

// One call of the control's dispatch interface by member name. Arguments
// in declared order; a put takes the last as its value. The string result,
// when asked for, goes to *result. 0 on any failure; an exception the
// control raises is shown to the user.
class DispatchCall {
 public:
  DispatchCall(KyCtrl* pCtrl, const char* member) {
    auto* control = pCtrl ? dynamic_cast<KyActiveXControl*>(pCtrl->GetActiveXControl()) : nullptr;
    COleControlSite* site = control ? control->GetControlSite() : nullptr;
    if (!site || !site->m_pDispatch || !member) return;
    const long id = control->GetDISPIDFromName(member);
    if (id == -1) return;
    dispatch_ = site->m_pDispatch;
    id_ = id;
    owner_ = control->GetSafeHwnd();
  }
  ~DispatchCall() {
    for (VARIANT& v : arguments_) VariantClear(&v);
  }
  DispatchCall(const DispatchCall&) = delete;
  DispatchCall& operator=(const DispatchCall&) = delete;

  // The next argument in declared order (stored last first).
  void add(VARIANT v) { arguments_.insert(arguments_.begin(), v); }
  int run(WORD kind, CString* result = nullptr) {
    if (!dispatch_) return 0;
    DISPID putId = DISPID_PROPERTYPUT;
    const bool put = kind == DISPATCH_PROPERTYPUT;
    DISPPARAMS params{arguments_.data(), put ? &putId : nullptr, static_cast<UINT>(arguments_.size()), put ? 1u : 0u};
    VARIANT value;
    VariantInit(&value);
    EXCEPINFO exception{};
    const HRESULT hr = dispatch_->Invoke(id_, IID_NULL, LOCALE_SYSTEM_DEFAULT, kind, &params,
                                         result ? &value : nullptr, &exception, nullptr);
    if (hr == DISP_E_EXCEPTION) report(exception);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    bool done = SUCCEEDED(hr);
    if (done && result) {
      VARIANT text;
      VariantInit(&text);
      done = value.vt == VT_EMPTY || SUCCEEDED(VariantChangeType(&text, &value, 0, VT_BSTR));
      *result = text.vt == VT_BSTR ? ax::FromBstr(text.bstrVal) : CString();
      VariantClear(&text);
    }
    VariantClear(&value);
    return done ? 1 : 0;
  }

 private:
  void report(EXCEPINFO& exception) const {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    const CString source = ax::FromBstr(exception.bstrSource);
    ::MessageBoxA(owner_, ax::FromBstr(exception.bstrDescription), source.IsEmpty() ? nullptr : (LPCSTR)source,
                  MB_OK | MB_ICONEXCLAMATION);
  }

  IDispatch* dispatch_ = nullptr;
  DISPID id_ = 0;
  HWND owner_ = nullptr;
  std::vector<VARIANT> arguments_;
};

}  // namespace

int KyActiveXAPI::CallMethod(KyCtrl* pCtrl, const KyCharFld& method) {
  DispatchCall call(pCtrl, method.strGetText());
  return call.run(DISPATCH_METHOD);
}

int KyActiveXAPI::CallMethod8(KyCtrl* pCtrl, const KyCharFld& method, KyRTType* pResult, int n, KyRTType* a1,
                              KyRTType* a2, KyRTType* a3, KyRTType* a4, KyRTType* a5, KyRTType* a6, KyRTType* a7,
                              KyRTType* a8) {
  if (n < 0 || n > kMaxArguments) return 0;
  KyRTType* arguments[kMaxArguments] = {a1, a2, a3, a4, a5, a6, a7, a8};
  DispatchCall call(pCtrl, method.strGetText());
  for (int i = 0; i < n; ++i) {
    const CString text = arguments[i] ? arguments[i]->strGetText() : CString();
    call.add(textArgument(text));
  }
  CString result;
  if (!call.run(DISPATCH_METHOD, &result)) return 0;
  if (pResult) pResult->PutText(result);
  return 1;
}

int KyActiveXAPI::GetProperty(KyCtrl* pCtrl, const KyCharFld& property, KyRTType& field) {
  DispatchCall call(pCtrl, property.strGetText());
  CString value;
  if (!call.run(DISPATCH_PROPERTYGET, &value)) return 0;
  field.PutText(value);
  return 1;
}

int KyActiveXAPI::GetIxProperty(KyCtrl* pCtrl, int iIndex, const KyCharFld& property, KyRTType& field) {
  DispatchCall call(pCtrl, property.strGetText());
  call.add(indexArgument(iIndex));
  CString value;
  if (!call.run(DISPATCH_PROPERTYGET, &value)) return 0;
  field.PutText(value);
  return 1;
}

int KyActiveXAPI::SetProperty(KyCtrl* pCtrl, const KyCharFld& property, KyRTType& field) {
  DispatchCall call(pCtrl, property.strGetText());
  call.add(textArgument(field.strGetText()));
  return call.run(DISPATCH_PROPERTYPUT);
}

int KyActiveXAPI::SetIxProperty(KyCtrl* pCtrl, int iIndex, const KyCharFld& property, KyRTType& field) {
  DispatchCall call(pCtrl, property.strGetText());
  call.add(indexArgument(iIndex));
  call.add(textArgument(field.strGetText()));
  return call.run(DISPATCH_PROPERTYPUT);
}

int KyActiveXAPI::GetEventParamCount() {
  KyPanel* pPanel = currentPanel();
  KyFramePart* pPart = pPanel ? pPanel->GetFramePart() : nullptr;
  return pPart ? KyDispParams(pPart->GetEventParams()).GetCount() : 0;
}

int KyActiveXAPI::GetEventParam(int n, KyRTType& field) {
  KyPanel* pPanel = currentPanel();
  KyFramePart* pPart = pPanel ? pPanel->GetFramePart() : nullptr;
  DISPPARAMS* params = pPart ? pPart->GetEventParams() : nullptr;
  if (!params || n < 1 || n > static_cast<int>(params->cArgs)) return 0;
  field.PutText(KyDispParams(params).GetParam(n - 1));
  return 1;
}

void KyActiveXAPI::FieldAccess(void* pField, CString& text, int direction) {
  auto* field = static_cast<KyRTType*>(pField);
  if (!field) return;
  if (direction == 1) {
    field->PutText(text);
  } else {
    text = field->strGetText();
  }
}

void KyActiveXAPI::NameField(KyRTType* pField, const KyCharFld& name) {
  KyPanel* pPanel = currentPanel();
  KyActiveXScripter* pScripter = pPanel ? pPanel->GetScripter() : nullptr;
  if (pScripter) pScripter->NameField(pField, name.strGetText(), FieldAccess);
}

int KyActiveXAPI::RunScript(int iStringId, const KyCharFld& language) {
  KyPanel* pPanel = currentPanel();
  KyActiveXScripter* pScripter = pPanel ? pPanel->GetScripter() : nullptr;
  if (!pScripter) return 0;
  const CString code(pszGetResourceString(static_cast<UINT>(iStringId), pPanel));
  if (code.IsEmpty()) return 0;
  const CString lang = language.strGetText();
  if (isGlobal(code)) return KyActiveXScripter::RunGlobalScript(code, lang);
  return pScripter->RunScript(code, nullptr, lang);
}

int KyActiveXAPI::RunScript(const KyCharFld& code, const KyCharFld& entry, const KyCharFld& language) {
  const CString text = code.strGetText();
  const CString lang = language.strGetText();
  if (isGlobal(text)) return KyActiveXScripter::RunGlobalScript(text, lang);
  KyPanel* pPanel = currentPanel();
  KyActiveXScripter* pScripter = pPanel ? pPanel->GetScripter() : nullptr;
  if (!pScripter) return 0;
  return pScripter->RunScript(text, entry.strGetText(), lang);
}
