// KyComFld and KyComPtrFld.
#include "KyComFld.h"

#include <ole2.h>

#include <mscrt.h>

#include <cstdio>

#include "KyAXControl.h"
#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyCharFld.h"
#include "KyComEvents.h"
#include "KyFunctionData.h"
#include "KyIntegerFld.h"
#include "KyVariantFld.h"

namespace {

// The language library's texts of the common failures.
struct ResultText {
  HRESULT hr;
  UINT id;
};
constexpr ResultText kResultTexts[] = {
    {E_UNEXPECTED, 57491}, {E_NOTIMPL, 57492}, {E_OUTOFMEMORY, 57493}, {E_INVALIDARG, 57494},
    {E_NOINTERFACE, 57495}, {E_POINTER, 57496}, {E_HANDLE, 57497},     {E_ABORT, 57498},
    {E_FAIL, 57499},        {E_ACCESSDENIED, 57500}, {static_cast<HRESULT>(0x8000000AL), 57501},
};

KyString hexOf(HRESULT hr) {
  KyString text;
  text.Format("0x%X", static_cast<unsigned>(hr));
  return text;
}

// The system's message for the result; "" when it has none.
KyString systemText(HRESULT hr) {
  char* pszText = nullptr;
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                     FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                 nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<LPSTR>(&pszText), 0, nullptr);
  KyString text(n && pszText ? pszText : "");
  if (pszText) LocalFree(pszText);
  return text;
}

KyString narrow(BSTR text) {
  KyString result;
  const UINT n = SysStringLen(text);
  if (!n) return result;
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
  std::string buffer(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(n), buffer.data(), bytes, nullptr, nullptr);
  return KyString(buffer.c_str());
}

KyString descriptionOf(IErrorInfo* pInfo) {
  BSTR text = nullptr;
  if (!pInfo || FAILED(pInfo->GetDescription(&text))) return KyString();
  KyString result = narrow(text);
  SysFreeString(text);
  return result;
}

// The identity of an object; null for none (no reference kept).
IUnknown* identityOf(IUnknown* p) {
  IUnknown* identity = nullptr;
  if (!p || FAILED(p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)))) return nullptr;
  identity->Release();
  return identity;
}

}  // namespace

KyComFld::KyComFld(const IID& iid, const CLSID& clsid) : m_IID(iid), m_CLSID(clsid) {}

KyComFld::KyComFld(const IID& iid) : m_IID(iid) {}

KyComFld::KyComFld(KyComPtrFld& pointer) {
  // The derived class's slot does not exist yet: the pointer field's
  // object is taken by CastFrom in the derived constructor's body; here
  // the creation details are copied.
  m_FunctionName = pointer.GetCreationText();
  m_CreationTime = pointer.GetCreationTime();
  if (KyComFld* pOther = pointer.GetComField()) m_IID = pOther->GetIID();
}

KyComFld::~KyComFld() {
  delete m_pEventMgr;
  if (m_fInTable) RemoveFromGlobalTable();
  SetErrorObject(nullptr);
}

void KyComFld::SetErrorObject(IErrorInfo* pInfo) {
  if (pInfo) pInfo->AddRef();
  if (m_pErrorInfo) m_pErrorInfo->Release();
  m_pErrorInfo = pInfo;
}

void KyComFld::takeErrorObject() {
  ISupportErrorInfo* pSupport = nullptr;
  IUnknown* pObject = GetInterface();
  if (!pObject || FAILED(pObject->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&pSupport))))
    return;
  const HRESULT supports = pSupport->InterfaceSupportsErrorInfo(m_IID);
  pSupport->Release();
  if (supports != S_OK) return;
  IErrorInfo* pInfo = nullptr;
  if (GetErrorInfo(0, &pInfo) == S_OK && pInfo) {
    SetErrorObject(pInfo);
    pInfo->Release();
  }
}

void KyComFld::SetInterface(IUnknown* p) {
  if (p && GetInterface()) {
    if (identityOf(p) == identityOf(GetInterface())) return;  // this object already
  }
  ReleaseInterface();
  m_TableKey.Empty();
  if (p) {
    m_hrLast = p->QueryInterface(m_IID, GetInterfaceSlot());
    if (FAILED(m_hrLast)) *GetInterfaceSlot() = nullptr;
    if (m_pFunctionData && GetInterface() && !m_fControlAttached) {
      if (KyComHandler* pHandler = m_pFunctionData->GetComEvent()) {
        UnMapEvents();
        pHandler->MapEvents();
      }
    }
  }
  m_fCastFrom = 0;
}

HRESULT KyComFld::GetIUnknown(IUnknown*& pOut) {
  if (!GetInterface()) return S_FALSE;
  return GetInterface()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&pOut));
}

HRESULT KyComFld::CreateInstance(const char* pszFunctionName, const char* pszFieldName, KyFunctionData* pFunction) {
  ReleaseInterface();
  m_FunctionName = pszFunctionName ? pszFunctionName : "";
  m_FieldName = pszFieldName ? pszFieldName : "";
  m_CreationTime = _time64(nullptr);
  m_pFunctionData = pFunction;
  SetErrorObject(nullptr);
  MULTI_QI query = {&IID_IUnknown, nullptr, S_OK};
  m_hrLast = CoCreateInstanceEx(m_CLSID, nullptr, CLSCTX_ALL, nullptr, 1, &query);
  if (SUCCEEDED(m_hrLast)) m_hrLast = query.hr;
  if (FAILED(m_hrLast) || !query.pItf) {
    if (SUCCEEDED(m_hrLast)) m_hrLast = E_NOINTERFACE;
    ProcessHResult(pFunction);
    return m_hrLast;
  }
  // An object with a running state enters it; its answer is kept, not
  // tested (the interface query decides).
  m_hrLast = OleRun(query.pItf);
  m_hrLast = query.pItf->QueryInterface(m_IID, GetInterfaceSlot());
  if (FAILED(m_hrLast)) *GetInterfaceSlot() = nullptr;
  ProcessHResult(pFunction);
  query.pItf->Release();
  return m_hrLast;
}

HRESULT KyComFld::CastFrom(IUnknown* p) {
  ReleaseInterface();
  m_TableKey.Empty();
  m_fCastFrom = 0;
  if (!p) return S_OK;
  const HRESULT hr = p->QueryInterface(m_IID, GetInterfaceSlot());
  if (FAILED(hr)) {
    *GetInterfaceSlot() = nullptr;
    m_hrLast = hr;
    return E_FAIL;
  }
  return S_OK;
}

// The slot is released before the query writes it: overwriting a held
// pointer would leak its reference. A failed query leaves the field empty,
// so it no longer counts as attached either.
HRESULT KyComFld::KyAttachControl(KyAXControl* pControl, KyFunctionData* pFunction) {
  m_pFunctionData = pFunction;
  ReleaseInterface();
  m_fControlAttached = 0;
  if (!pControl) return E_POINTER;
  IUnknown* control = pControl->GetControlUnknown();
  if (!control) return OLE_E_NOTRUNNING;  // a placeholder: the control could not be made
  const HRESULT hr = control->QueryInterface(m_IID, GetInterfaceSlot());
  if (FAILED(hr)) {
    *GetInterfaceSlot() = nullptr;
    return hr;
  }
  m_fControlAttached = 1;
  return hr;
}

HRESULT KyComFld::CastFrom(KyComFld& other) {
  if (other.GetInterface())
    SetInterface(other.GetInterface());
  else if (GetInterface())
    ReleaseInterface();
  return S_OK;
}

HRESULT KyComFld::CastFrom(KyVariantFld& variant) {
  IUnknown* p = variant.pGetIUnknown();
  if (!p) return E_FAIL;
  SetInterface(p);
  return S_OK;
}

bool KyComFld::CompareEqual(KyComFld& other) {
  IUnknown *a = nullptr, *b = nullptr;
  GetIUnknown(a);
  other.GetIUnknown(b);
  const bool equal = a == b;
  if (a) a->Release();
  if (b) b->Release();
  return equal;
}

void KyComFld::ClearCreationDetails() {
  m_CreationTime = 0;
  m_FunctionName.Empty();
  m_FieldName.Empty();
  m_TableKey.Empty();
}

void KyComFld::AddToGlobalTable() {
  KyAppContext* pContext = KyAppContext::Current();
  if (!pContext) return;
  if (m_fInTable) RemoveFromGlobalTable();
  m_fInTable = 1;
  m_pTableEntry = new KyComFldInfo(GetInterface(), m_FunctionName, m_FieldName, m_CreationTime);
  // The whole address: a 64-bit pointer does not fit "%X".
  m_TableKey.Format("0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(m_pTableEntry)));
  pContext->m_ComObjects[m_TableKey] = m_pTableEntry;
}

void KyComFld::RemoveFromGlobalTable() {
  m_fInTable = 0;
  if (KyAppContext* pContext = KyAppContext::Current(); pContext && m_pTableEntry) {
    KyString key;
    key.Format("0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(m_pTableEntry)));
    pContext->m_ComObjects.erase(key);
  }
  delete m_pTableEntry;
  m_pTableEntry = nullptr;
  m_TableKey.Empty();
}

void KyComFld::UnMapEvents() {
  if (m_pEventMgr && m_fControlAttached) DisconnectControlEvents();
  delete m_pEventMgr;
  m_pEventMgr = nullptr;
  m_fEventsMade = 0;
}

void KyComFld::CleanUp() {
  UnMapEvents();
  m_TableKey.Empty();
}

void KyComFld::CrackHResult(KyLongFld& code, KyLongFld& second, KyCharFld& text1, KyCharFld& message,
                            KyCharFld& text3) {
  code.SetValue(m_hrLast);
  code.SetFieldState(KyStateValue);
  second.SetValue(0);
  second.SetFieldState(KyStateValue);
  text1.PutText("");
  message.PutText("");
  text3.PutText("");
  takeErrorObject();
  if (m_pErrorInfo) {
    // The object's own report: its source, description and help file.
    BSTR source = nullptr, help = nullptr;
    if (SUCCEEDED(m_pErrorInfo->GetSource(&source))) text1.PutText(narrow(source));
    message.PutText(descriptionOf(m_pErrorInfo));
    if (SUCCEEDED(m_pErrorInfo->GetHelpFile(&help))) text3.PutText(narrow(help));
    SysFreeString(source);
    SysFreeString(help);
    SetErrorObject(nullptr);  // reported: released
    return;
  }
  message.PutText(systemText(m_hrLast));
}

void KyComFld::ProcessHResult(KyFunctionData* pFunction) {
  if (!pFunction) {
    SetErrorObject(nullptr);
    return;
  }
  KyString status(" ");
  if (FAILED(m_hrLast)) {
    if (!m_pErrorInfo) takeErrorObject();
    if (m_pErrorInfo) {
      status = descriptionOf(m_pErrorInfo);
      if (status.IsEmpty()) status = hexOf(m_hrLast);
    } else {
      status = systemText(m_hrLast);
      if (status.IsEmpty()) {
        status = hexOf(m_hrLast);
        KyAppContext* pContext = KyAppContext::Current();
        for (const ResultText& r : kResultTexts) {
          if (r.hr != m_hrLast || !pContext) continue;
          const char* pszText = pContext->pszGetResourceString(r.id);
          if (pszText && *pszText) status = pszText;
        }
      }
    }
  }
  KyCallMgr::SetReturnedStatus(pFunction, status);
  SetErrorObject(nullptr);
}

KyComPtrFld::KyComPtrFld(KyComFld& field)
    : m_pComField(&field),
      m_ppInterface(field.GetInterfaceSlot()),
      m_CreationText(field.GetFunctionName()),
      m_CreationTime(field.GetCreationTime()) {}

CString KyComPtrFld::strGetText() const {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%p", static_cast<void*>(GetInterface()));
  CString text(buffer);
  if (!m_pComField->GetFunctionName().IsEmpty()) {
    text += ", ";
    text += m_pComField->GetFunctionName();
  }
  if (const __int64 time = m_pComField->GetCreationTime(); time != 0) {
    const time_t seconds = static_cast<time_t>(time);
    struct tm local {};
    localtime_r(&seconds, &local);
    char stamp[128];
    std::strftime(stamp, sizeof stamp, "%c", &local);
    text += ", ";
    text += stamp;
  }
  return text;
}

void KyVariantFld::CastFrom(KyComFld& field) { CastFrom(field.GetInterface()); }
