// KyAppContext: the per-thread application context.
#include "KyAppContext.h"

#include "KyAtomInterface.h"

#include "KyDBCLI.h"

#include "KyApp.h"
#include "KyCallMgr.h"

KyAppContext::KyAppContext() : m_pLocale(std::make_unique<KyLocale>()) { m_ArgumentPointers.push_back(nullptr); }

KyAppContext::~KyAppContext() {
  deleteCallMgr();
  deleteDataThread();
  KyApp* pApp = KyApp::GetApp();
  if (pApp && pApp->GetContext() == this) pApp->SetContext(nullptr);
}

KyAtomInterface& KyAppContext::GetAtomInterface() {
  if (!m_pAtomInterface) m_pAtomInterface = std::make_unique<KyAtomInterface>();
  return *m_pAtomInterface;
}

KyAppContext* KyAppContext::Current() {
  KyApp* pApp = KyApp::GetApp();
  return pApp ? pApp->GetContext() : nullptr;
}

const char* KyAppContext::pszGetResourceString(UINT nID) {
  auto [it, added] = m_StringCache.try_emplace(nID);
  // CString::LoadString reads through no shared buffer, so the load needs
  // no process-wide lock.
  if (added && nID != 0) it->second.LoadString(nID);
  return it->second;
}

void KyAppContext::CleanUpAppStringResources() { m_StringCache.clear(); }

int KyAppContext::Exit() {
  m_RunOptions.Save();
  deleteCallMgr();
  deleteDataThread();
  m_pLocale.reset();
  m_pAtomInterface.reset();
  ReleaseLanguageLibrary();
  CleanUpAppStringResources();
  FreeArguments();
  return 0;
}

void KyAppContext::SetArguments(int argc, const char* const* argv) {
  FreeArguments();
  for (int i = 0; i < argc && argv; ++i) m_Arguments.emplace_back(argv[i]);
  m_ArgumentPointers.clear();
  for (KyString& argument : m_Arguments) m_ArgumentPointers.push_back(argument.GetBuffer(0));
  m_ArgumentPointers.push_back(nullptr);
}

void KyAppContext::FreeArguments() {
  m_Arguments.clear();
  m_ArgumentPointers.assign(1, nullptr);
}

KyCallMgr* KyAppContext::GetCallMgr(BOOL fCreate) {
  if (!m_pCallMgr && fCreate) m_pCallMgr = new KyCallMgr;
  return m_pCallMgr;
}

void KyAppContext::deleteCallMgr() {
  // The resources the call manager frees reach it through this slot while
  // it ends; it leaves the slot only when it is gone.
  delete m_pCallMgr;
  m_pCallMgr = nullptr;
}

KyDataThread& KyAppContext::GetDataThread() {
  if (!m_pDataThread) m_pDataThread = new KyDataThread;
  return *m_pDataThread;
}

void KyAppContext::deleteDataThread() {
  delete m_pDataThread;
  m_pDataThread = nullptr;
}
