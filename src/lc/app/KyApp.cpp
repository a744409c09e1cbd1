// KyApp: the context slot and the forwarders to the thread's context.
#include "KyApp.h"

#include "KyAppContext.h"

KyApp::KyApp(LPCSTR lpszAppName) : CWinApp(lpszAppName), m_dwContextSlot(TlsAlloc()) {
  if (m_dwContextSlot != TLS_OUT_OF_INDEXES) TlsSetValue(m_dwContextSlot, nullptr);
}

KyApp::~KyApp() {
  if (m_dwContextSlot != TLS_OUT_OF_INDEXES) TlsFree(m_dwContextSlot);
  if (m_hModule) FreeLibrary(m_hModule);
}

KyApp* KyApp::GetApp() { return dynamic_cast<KyApp*>(AfxGetApp()); }

KyAppContext* KyApp::GetContext() const {
  if (m_dwContextSlot == TLS_OUT_OF_INDEXES) return nullptr;
  return static_cast<KyAppContext*>(TlsGetValue(m_dwContextSlot));
}

void KyApp::SetContext(KyAppContext* pContext) {
  if (m_dwContextSlot != TLS_OUT_OF_INDEXES) TlsSetValue(m_dwContextSlot, pContext);
}

KyAppContext* KyApp::CreateContext() {
  EndContext();
  auto* pContext = new KyAppContext;
  SetContext(pContext);
  pContext->GetRunOptions()->Load();
  return pContext;
}

int KyApp::EndContext() {
  KyAppContext* pContext = GetContext();
  if (!pContext) return 0;
  int result = pContext->Exit();
  SetContext(nullptr);
  delete pContext;
  return result;
}

const char* KyApp::pszGetResourceString(UINT nID) {
  KyAppContext* pContext = GetContext();
  return pContext ? pContext->pszGetResourceString(nID) : "";
}

void KyApp::CleanUpAppStringResources() {
  if (KyAppContext* pContext = GetContext()) pContext->CleanUpAppStringResources();
}
