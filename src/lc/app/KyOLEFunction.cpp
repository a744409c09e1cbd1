// KyOLEFunction: the function object of the runner's automation, and the
// context's call of it.
#include <cctype>
#include <string>

#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyOLEApp.h"

KyOLEFunction::KyOLEFunction(KyOLEApp* pApp, const std::string& strFile, const std::string& strImplementation)
    : KyDispatchObject({{"fileNME", kFileName}, {"implementationNME", kImplementationName}, {"Call", kCall}}),
      m_pApp(pApp),
      m_strFile(strFile),
      m_strImplementation(strImplementation) {
  m_pApp->AddRef();
}

KyOLEFunction::~KyOLEFunction() { m_pApp->Release(); }

HRESULT KyOLEFunction::call(VARIANT& inParms, VARIANT& outParms, EXCEPINFO* pExcepInfo) {
  // An argument passed by reference to a VARIANT is looked at through it.
  auto target = [](VARIANT& v) -> VARIANT& { return v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal ? *v.pvarVal : v; };
  struct Check {
    VARIANT& parms;
    const char* byReference;
    const char* oneDimension;
  } checks[] = {
      {target(inParms), "Type Mismatch in InParms for KyRunOLE.Function.Call() Method. Pass an array by reference",
       "Type Mismatch in InParams for KyRunOLE.Function.Call() Method. Pass a one-dimensional array"},
      {target(outParms), "Type Mismatch in OutParms for KyRunOLE.Function.Call() Method. Pass an array by reference",
       "Type Mismatch in OutParams for KyRunOLE.Function.Call() Method. Pass a one-dimensional array"}};
  for (const Check& c : checks) {
    if (c.parms.vt != (VT_ARRAY | VT_BYREF | VT_VARIANT) || !c.parms.pparray)
      return Raise(pExcepInfo, kNotByReference, c.byReference);
    if (!*c.parms.pparray || SafeArrayGetDim(*c.parms.pparray) != 1)
      return Raise(pExcepInfo, kNotOneDimension, c.oneDimension);
  }
  m_ppsaIn = checks[0].parms.pparray;
  m_ppsaOut = checks[1].parms.pparray;
  KyCallFromAutomation(m_pApp->GetContext(), *this);
  m_ppsaIn = m_ppsaOut = nullptr;
  return S_OK;
}

HRESULT KyOLEFunction::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                              VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) {
  m_pApp->MakeCurrent();
  if (!pDispParams) return E_INVALIDARG;
  if (dispIdMember == kCall) {
    if (!(wFlags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    if (pDispParams->cArgs != 2 || pDispParams->cNamedArgs != 0) return DISP_E_BADPARAMCOUNT;
    // Arguments lie in reverse order: InParms is the last.
    const HRESULT hr = call(pDispParams->rgvarg[1], pDispParams->rgvarg[0], pExcepInfo);
    if (SUCCEEDED(hr) && pVarResult) {
      VariantInit(pVarResult);
      pVarResult->vt = VT_ERROR;
      pVarResult->scode = S_OK;
    }
    return hr;
  }
  std::string* text = dispIdMember == kFileName             ? &m_strFile
                      : dispIdMember == kImplementationName ? &m_strImplementation
                                                            : nullptr;
  if (!text) return DISP_E_MEMBERNOTFOUND;
  if (wFlags & DISPATCH_PROPERTYPUT) return PutText(pDispParams, text);
  if (!(wFlags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
  if (pVarResult) {
    VariantInit(pVarResult);
    pVarResult->vt = VT_BSTR;
    pVarResult->bstrVal = ToBstr(text->c_str());
  }
  return S_OK;
}

std::pair<std::string, std::string> KyAutomationCallNames(const std::string& strFile,
                                                          const std::string& strImplementation) {
  std::string library = strFile;
  for (char& c : library) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (library.find('.') == std::string::npos) library += ".DLL";
  std::string implementation = strImplementation;
  if (implementation.empty()) {
    // The file name part: no folder, no extension.
    const size_t slash = library.find_last_of("/\\:");
    implementation = library.substr(slash == std::string::npos ? 0 : slash + 1);
    const size_t dot = implementation.rfind('.');
    if (dot != std::string::npos) implementation.erase(dot);
  }
  return {library, implementation};
}

void KyCallFromAutomation(KyAppContext* pContext, const KyOLEFunction& function) {
  if (!pContext) return;
  const auto [library, implementation] =
      KyAutomationCallNames(function.GetFileName(), function.GetImplementationName());
  pContext->m_psaInput = *function.GetInParms();
  pContext->m_psaOutput = *function.GetOutParms();
  KyCallMgr::Call(nullptr, nullptr, nullptr, 0, implementation.c_str(), library.c_str());
  pContext->m_psaInput = pContext->m_psaOutput = nullptr;
}
