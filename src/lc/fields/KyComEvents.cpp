// COM event sinks: sites, the sink, and the function's COM handler.
#include "KyComEvents.h"

#include <winuser.h>

#include <atomic>
#include <cstring>

#include "KyAppContext.h"
#include "KyCharFld.h"
#include "KyComFld.h"
#include "KyDateFld.h"
#include "KyFixedDecFld.h"
#include "KyFloatFld.h"
#include "KyFunctionData.h"
#include "KyIntegerFld.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "KyVariable.h"
#include "KyVariantFld.h"

namespace {

// The field's value as a variant, by its class.
void variantOfField(KyRTType* pField, KyVariantFld& value) {
#define KY_FIELD_VALUE(Field)                                \
  if (auto* p = dynamic_cast<Field*>(pField)) {              \
    value.CastFrom(*p);                                      \
    return;                                                  \
  }
  KY_VARIANT_FIELDS(KY_FIELD_VALUE)
#undef KY_FIELD_VALUE
  if (auto* p = dynamic_cast<KyVariantFld*>(pField)) {
    value = *p;
  } else if (auto* p = dynamic_cast<KyComPtrFld*>(pField)) {
    value.CastFrom(p->GetInterface());
  } else {
    value.PutText(pField->strGetText());
  }
}

// Writes the field's value into the caller's by-reference argument, in the
// argument's type; what the argument held is released.
void writeBack(KyRTType* pField, VARIANT& argument) {
  const VARTYPE base = argument.vt & ~VT_BYREF;
  KyVariantFld value;
  variantOfField(pField, value);
  if (base == VT_VARIANT) {
    VariantCopy(argument.pvarVal, &value.GetVariant());
    return;
  }
  VARIANT converted;
  VariantInit(&converted);
  if (base & VT_ARRAY) {
    if (!(value.GetType() & VT_ARRAY) || FAILED(VariantCopy(&converted, &value.GetVariant()))) return;
    if (*argument.pparray) SafeArrayDestroy(*argument.pparray);
    *argument.pparray = converted.parray;
    return;
  }
  if (FAILED(VariantChangeType(&converted, &value.GetVariant(), 0, base))) return;
  switch (base) {
    case VT_BSTR:
      SysFreeString(*argument.pbstrVal);
      *argument.pbstrVal = converted.bstrVal;  // the caller owns it now
      return;
    case VT_DISPATCH: case VT_UNKNOWN:
      if (*argument.ppunkVal) (*argument.ppunkVal)->Release();
      *argument.ppunkVal = converted.punkVal;  // with the reference the conversion took
      return;
    case VT_DECIMAL:
      *argument.pdecVal = converted.decVal;
      argument.pdecVal->wReserved = 0;
      return;
    default: {
      // The scalar types: as many bytes as the type has.
      const size_t size = base == VT_I1 || base == VT_UI1 ? 1
                          : base == VT_I2 || base == VT_UI2 || base == VT_BOOL ? 2
                          : base == VT_I8 || base == VT_UI8 || base == VT_R8 || base == VT_DATE || base == VT_CY ? 8
                                                                                                                 : 4;
      std::memcpy(argument.byref, &converted.llVal, size);
      VariantClear(&converted);
    }
  }
}

}  // namespace

// --- the sink: an IDispatch with a count of its own, since the source
// keeps it until Unadvise and may still hold it when its site is gone ---

class KyIIDComSite::Sink final : public IDispatch {
 public:
  explicit Sink(KyIIDComSite* pSite) : m_pSite(pSite) {}
  void Detach() { m_pSite = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || (m_pSite && riid == m_pSite->GetIID())) {
      *ppv = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_Count; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --m_Count;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* pParams, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return m_pSite ? m_pSite->Dispatch(id, pParams) : S_OK;
  }

 private:
  KyIIDComSite* m_pSite;
  std::atomic<ULONG> m_Count{1};
};

KyIIDComSite::KyIIDComSite(IUnknown* pObject, const IID& iid, KyFunctionData* pFunction)
    : m_IID(iid), m_pObject(pObject), m_pFunctionData(pFunction), m_pSink(new Sink(this)) {
  if (m_pObject) m_pObject->AddRef();
}

KyIIDComSite::~KyIIDComSite() {
  Unadvise();
  m_pSink->Detach();
  m_pSink->Release();
  if (m_pObject) m_pObject->Release();
}

IDispatch* KyIIDComSite::GetSink() const { return m_pSink; }

DWORD KyIIDComSite::Advise() {
  m_dwCookie = 0;
  IConnectionPointContainer* pContainer = nullptr;
  if (!m_pObject ||
      FAILED(m_pObject->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&pContainer))))
    return 0;
  IConnectionPoint* pPoint = nullptr;
  if (SUCCEEDED(pContainer->FindConnectionPoint(m_IID, &pPoint)) && pPoint) {
    DWORD cookie = 0;
    if (SUCCEEDED(pPoint->Advise(m_pSink, &cookie))) {
      m_dwCookie = cookie;
      m_pPoint = pPoint;  // kept: Unadvise must reach this very point
    } else {
      pPoint->Release();
    }
  }
  pContainer->Release();
  return m_dwCookie;
}

void KyIIDComSite::Unadvise() {
  if (m_pPoint) {
    if (m_dwCookie) m_pPoint->Unadvise(m_dwCookie);
    m_pPoint->Release();
    m_pPoint = nullptr;
  }
  m_dwCookie = 0;
}

void KyIIDComSite::AddMapping(LONG lDispId, int iEvent, KyVariable* pVariable) {
  if (m_MappedIds.count(lDispId)) return;
  m_Mappings.push_back({lDispId, iEvent, pVariable});
  m_MappedIds[lDispId] = lDispId;
}

HRESULT KyIIDComSite::Dispatch(DISPID id, DISPPARAMS* pParams) {
  if (!m_MappedIds.count(id)) return S_OK;
  const UINT count = pParams ? pParams->cArgs : 0;
  // A copy: the handler may map events anew while it runs.
  const std::vector<KyDispIdLogIdMap> mappings = m_Mappings;
  for (const KyDispIdLogIdMap& mapping : mappings) {
    if (mapping.lDispId != id) continue;
    KyRTDIArray<KyRTDIVarFldMap>* pFields = nullptr;
    bool byReference = false;
    auto fieldOf = [&](UINT k) -> KyRTType* {
      KyRTDIVarFldMap* pEntry = pFields ? pFields->At(static_cast<int>(k)) : nullptr;
      if (!pEntry || !pEntry->m_pField || (pEntry->m_pFld && pEntry->m_pFld->m_cType == 's')) return nullptr;
      return pEntry->m_pField;
    };
    if (mapping.pVariable && count > 0) {
      if (m_pFunctionData) m_pFunctionData->GetVariableTable();
      pFields = mapping.pVariable->GetRTDIFldArray();
      for (UINT k = 0; k < count; ++k) {
        KyRTType* pField = fieldOf(k);
        if (!pField) continue;
        VARIANT& argument = pParams->rgvarg[count - 1 - k];  // arguments come last first
        KyVariantFld value;
        value.CastFrom(&argument);
        value.PopulateField(pField);
        if (argument.vt & VT_BYREF) byReference = true;
      }
    }
    if (KyComHandler* pHandler = m_pFunctionData ? m_pFunctionData->GetComEvent() : nullptr)
      pHandler->FireEvent(mapping.iEvent);
    if (byReference) {
      for (UINT k = 0; k < count; ++k) {
        KyRTType* pField = fieldOf(k);
        VARIANT& argument = pParams->rgvarg[count - 1 - k];
        if (pField && (argument.vt & VT_BYREF) && argument.byref) writeBack(pField, argument);
      }
    }
  }
  return S_OK;
}

KyComEventMgr::KyComEventMgr(IUnknown* pObject, KyFunctionData* pFunction)
    : m_pObject(pObject), m_pFunctionData(pFunction) {}

KyComEventMgr::~KyComEventMgr() {
  m_Sites.clear();  // each site disconnects
  if (m_pObject) m_pObject->Release();
}

void KyComEventMgr::MapEvent(const IID& iid, LONG lDispId, int iEvent, KyVariable* pVariable) {
  KyIIDComSite* pSite = nullptr;
  for (auto& [siteIID, site] : m_Sites)
    if (siteIID == iid && site) pSite = site.get();
  if (!pSite) {
    auto site = std::make_unique<KyIIDComSite>(m_pObject, iid, m_pFunctionData);
    site->Advise();  // a failed connection stays with cookie 0
    pSite = site.get();
    m_Sites.emplace_back(iid, std::move(site));
  }
  pSite->AddMapping(lDispId, iEvent, pVariable);
}

void KyComFld::MapEvent(KyFunctionData* pFunction, const IID& eventIID, LONG lDispId, int iEvent,
                        KyVariable* pVariable) {
  if (!m_fEventsMade) {
    m_fEventsMade = 1;
    delete m_pEventMgr;
    m_pEventMgr = nullptr;
    IUnknown* pObject = nullptr;
    if (!GetInterface() || FAILED(GetInterface()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&pObject))) ||
        !pObject) {
      m_fEventsMade = 0;
      return;
    }
    m_pEventMgr = new KyComEventMgr(pObject, pFunction);
  }
  if (m_pEventMgr) m_pEventMgr->MapEvent(eventIID, lDispId, iEvent, pVariable);
}

// --- the handler ---

namespace {

// The handlers of the thread whose queues wait for the thread to be free,
// by their retry timer.
thread_local std::map<UINT_PTR, KyComHandler*> waitingHandlers;

bool threadBusy() {
  KyAppContext* pContext = KyAppContext::Current();
  return pContext && pContext->m_iBusyCount != 0;
}

}  // namespace

KyComHandler::KyComHandler(KyFunctionData* pFunction) : m_pFunctionData(pFunction) {
  if (m_pFunctionData) m_pFunctionData->SetComEvent(this);
}

KyComHandler::~KyComHandler() {
  if (m_Timer) {
    KillTimer(nullptr, m_Timer);
    waitingHandlers.erase(m_Timer);
  }
  if (m_pFunctionData && m_pFunctionData->GetComEvent() == this) m_pFunctionData->SetComEvent(nullptr);
}

void KyComHandler::FireEvent(int iEvent) {
  if (!m_fEnabled) return;
  if (threadBusy() || !m_Queued.empty()) {
    // Later events keep their order behind the waiting ones.
    m_Queued.push_back(iEvent);
    if (!m_Timer) {
      m_Timer = SetTimer(nullptr, 0, 20, &KyComHandler::onRetry);
      if (m_Timer) waitingHandlers[m_Timer] = this;
    }
    if (!threadBusy()) runQueued();
    return;
  }
  run(iEvent);
}

void CALLBACK KyComHandler::onRetry(HWND, UINT, UINT_PTR id, DWORD) {
  auto found = waitingHandlers.find(id);
  if (found != waitingHandlers.end()) found->second->runQueued();
}

bool KyComHandler::runQueued() {
  while (!m_Queued.empty() && !threadBusy()) {
    const int iEvent = m_Queued.front();
    m_Queued.pop_front();
    run(iEvent);
  }
  if (m_Queued.empty() && m_Timer) {
    KillTimer(nullptr, m_Timer);
    waitingHandlers.erase(m_Timer);
    m_Timer = 0;
  }
  return m_Queued.empty();
}

void KyComHandler::run(int iEvent) {
  KyFunctionData* pFunction = m_pFunctionData;
  bool owner = false;
  // Inside an event of the function (a COM event, or a panel event whose
  // call made the object fire) the event runs nested: waiting would wait
  // for this very thread.
  const bool nested = pFunction && (pFunction->IsInComEvent() || pFunction->GetCurrentLogicalEvent() != 0);
  // Waits, with the user interface alive, until no other event of the
  // function runs.
  if (pFunction && !nested) owner = pFunction->AcquireIdle();
  ++m_iNesting;
  m_fBusy = 1;
  const int saved = pFunction ? pFunction->GetCurrentLogicalEvent() : 0;
  if (pFunction) {
    pFunction->SetCurrentLogicalEvent(iEvent);
    if (owner) pFunction->SetInComEvent(1);
  }
  EventHandler();
  if (pFunction) {
    if (owner) pFunction->SetInComEvent(0);
    pFunction->SetCurrentLogicalEvent(saved);
  }
  --m_iNesting;
  m_fBusy = m_iNesting > 0;
  if (owner) pFunction->ReleaseIdle();
}

int KyComHandler::Start() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
