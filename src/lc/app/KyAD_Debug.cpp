// The action-diagram debugger binding and the application object's four
// debugger members.
#include "KyAD_Debug.h"

#include "KyDLL.h"
#include "KyFncMessage.h"
#include "KyWinClientApp.h"

#include <cstdio>
#include <mutex>

namespace {

constexpr UINT kMsgDebuggerNotLoaded = 57461;

// The process-wide entries; null until bound, all null again after a
// failed binding or when the library goes.
struct Entries {
  KyDebugCreateProc create = nullptr;
  KyDebugDestroyProc destroy = nullptr;
  KyDebugDebugProc debug = nullptr;
  KyDebugRegisterProc registerFunction = nullptr;
  KyDebugRestoreProc restore = nullptr;
  KyDebugDispatchProc dispatch = nullptr;
  // RestoreFunctionDataPtr is not required.
  bool complete() const { return create && destroy && debug && registerFunction && dispatch; }
};

// Recursive: the library's Create and Destroy run under it and may call
// back into the forwarders.
std::recursive_mutex& entriesLock() {
  static std::recursive_mutex lock;
  return lock;
}
Entries& entries() {
  static Entries table;
  return table;
}
// A copy taken under the lock, for one forwarding call.
Entries boundEntries() {
  std::lock_guard<std::recursive_mutex> guard(entriesLock());
  return entries();
}

HWND mainWindow() {
  CWinApp* pApp = AfxGetApp();
  return pApp && pApp->m_pMainWnd ? pApp->m_pMainWnd->GetSafeHwnd() : nullptr;
}

std::string libraryName() {
  char name[32];
  std::snprintf(name, sizeof name, "KY%d%d%d%s%s.DLL", 7, 2, 1, "NDG", "");
  return name;
}

template <class Proc>
Proc entry(HMODULE h, const char* name) {
  return reinterpret_cast<Proc>(GetProcAddress(h, name));
}

}  // namespace

KyAD_Debug::KyAD_Debug(unsigned long ulValue, const char*) : m_dwValue(static_cast<DWORD>(ulValue)) {}

KyAD_Debug::~KyAD_Debug() {
  std::lock_guard<std::recursive_mutex> guard(entriesLock());
  if (m_hModule) {
    if (entries().destroy) entries().destroy(m_hDebugger);
    // The entries point into the library that goes now.
    entries() = Entries{};
    FreeLibrary(m_hModule);
  }
}

int KyAD_Debug::ResolveAD_Debug() {
  std::lock_guard<std::recursive_mutex> guard(entriesLock());
  Entries& table = entries();
  if (m_hModule && table.complete()) {
    // Bound already: a new handle only when none is held.
    if (!m_hDebugger) m_hDebugger = table.create(mainWindow(), 1, m_dwValue);
    return m_hDebugger != 0;
  }
  const std::string name = libraryName();
  HMODULE module = KyLoadLibraryQuietly(name.c_str());
  if (!module) {
    KyShowMessageBox(KyFormatMessageId(kMsgDebuggerNotLoaded, {name.c_str()}), MB_ICONSTOP);
    return 0;
  }
  Entries bound;
  bound.create = entry<KyDebugCreateProc>(module, "Create");
  bound.destroy = entry<KyDebugDestroyProc>(module, "Destroy");
  bound.debug = entry<KyDebugDebugProc>(module, "Debug");
  bound.registerFunction = entry<KyDebugRegisterProc>(module, "Register");
  bound.restore = entry<KyDebugRestoreProc>(module, "RestoreFunctionDataPtr");
  bound.dispatch = entry<KyDebugDispatchProc>(module, "Dispatch");
  if (!bound.complete()) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "Orvo Zunt Action Diagram Debug DLL <%s> Address resolution failed. \nCreate: 0x%lX \nDestroy: "
                  "0x%lX \nKy_Debug: 0x%lX \nKy_Register: 0x%lX \n RestoreFunctionDataPtr: 0x%lX \nDispatch: 0x%lX",
                  name.c_str(), reinterpret_cast<unsigned long>(bound.create),
                  reinterpret_cast<unsigned long>(bound.destroy), reinterpret_cast<unsigned long>(bound.debug),
                  reinterpret_cast<unsigned long>(bound.registerFunction),
                  reinterpret_cast<unsigned long>(bound.restore), reinterpret_cast<unsigned long>(bound.dispatch));
    table = Entries{};
    FreeLibrary(module);
    KyShowMessageBox(text, MB_ICONSTOP);
    return 0;
  }
  const KyDebugHandle handle = bound.create(mainWindow(), 1, m_dwValue);
  if (!handle) {
    table = Entries{};
    FreeLibrary(module);
    return 0;
  }
  table = bound;
  m_hModule = module;
  m_hDebugger = handle;
  return 1;
}

void KyAD_Debug::Register(KyDebugHandle h, LONG l1, KyFunctionData* pFunction, LONG l2, const char* pszText) {
  if (const Entries bound = boundEntries(); bound.registerFunction) bound.registerFunction(h, l1, pFunction, l2, pszText);
}

void KyAD_Debug::Debug(KyDebugHandle h, LONG l1, LONG l2, LONG l3, LONG l4) {
  if (const Entries bound = boundEntries(); bound.debug) bound.debug(h, l1, l2, l3, l4);
}

void KyAD_Debug::RestoreFunctionDataPtr(KyDebugHandle h, KyFunctionData* pFunction) {
  if (const Entries bound = boundEntries(); bound.restore) bound.restore(h, pFunction);
}

int KyAD_Debug::Dispatch(KyDebugHandle h, MSG& msg) {
  const Entries bound = boundEntries();
  return bound.dispatch ? bound.dispatch(h, msg) : 0;
}

// --- the application object's members ---------------------------------------

namespace {
KyDebugHandle handleOf(const std::unique_ptr<KyAD_Debug>& pDebug) { return pDebug ? pDebug->GetHandle() : 0; }
}  // namespace

void KyWinClientApp::Ky_Register(LONG l1, KyFunctionData* pFunction, LONG l2, const char* pszText) {
  if (!m_pDebug) {
    auto pDebug = std::make_unique<KyAD_Debug>(m_dwDebugCreateValue, nullptr);
    // A failed binding leaves no object: the next registration tries again.
    if (!pDebug->ResolveAD_Debug()) return;
    m_pDebug = std::move(pDebug);
  }
  KyAD_Debug::Register(m_pDebug->GetHandle(), l1, pFunction, l2, pszText);
}

void KyWinClientApp::Ky_Debug(LONG l1, LONG l2, LONG l3, LONG l4) { KyAD_Debug::Debug(handleOf(m_pDebug), l1, l2, l3, l4); }

void KyWinClientApp::Ky_RestoreFunctionDataPtr(KyFunctionData* pFunction) {
  KyAD_Debug::RestoreFunctionDataPtr(handleOf(m_pDebug), pFunction);
}

int KyWinClientApp::Dispatch(MSG& msg) { return KyAD_Debug::Dispatch(handleOf(m_pDebug), msg); }

void KyWinClientApp::EndDebugger() { m_pDebug.reset(); }
