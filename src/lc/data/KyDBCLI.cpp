// The client-library bindings and the thread's data-access state.
#include "KyDBCLI.h"
#include "KyDLL.h"

#include "KyAppContext.h"
#include "KyFncMessage.h"
#include "KyMessage.h"

namespace {

// Message ids of the language library.
constexpr UINT kMsgDriverManagerMissing = 57365;
constexpr UINT kMsgODBC3FunctionsMissing = 57476;

}  // namespace

KyDBCLI::~KyDBCLI() = default;

KyODBC::KyODBC() {
  m_hModule = KyLoadLibraryQuietly("ODBC32.DLL");
  if (!m_hModule) {
    MessageBoxA(nullptr, "ODBC32.DLL", KyFormatMessageId(kMsgDriverManagerMissing), MB_ICONERROR);
    return;
  }
#define KY_ODBC_LOOKUP(name, parameters, arguments) \
  m_p##name = reinterpret_cast<decltype(m_p##name)>(reinterpret_cast<void*>(GetProcAddress(m_hModule, #name)));
  KY_ODBC_FUNCTIONS(KY_ODBC_LOOKUP)
#undef KY_ODBC_LOOKUP
  bool valid = true;
#define KY_ODBC_PRESENT(name, parameters, arguments) valid = valid && m_p##name;
  KY_ODBC_REQUIRED_FUNCTIONS(KY_ODBC_PRESENT)
  // The ODBC 3 group counts only with SQLSetConnectAttr, and then whole.
  if (m_pSQLSetConnectAttr) {
    KY_ODBC3_FUNCTIONS(KY_ODBC_PRESENT)
  }
#undef KY_ODBC_PRESENT
  if (!valid) MessageBoxA(nullptr, "ODBC", KyFormatMessageId(kMsgODBC3FunctionsMissing), 0);
}

KyODBC::~KyODBC() {
  if (m_hModule) FreeLibrary(m_hModule);
}

KyOCI::KyOCI() {
  m_hModule = KyLoadLibraryQuietly("OCI.DLL");
  if (!m_hModule) {
    KyMessage::Log("Error loading OCI.DLL");
    return;
  }
  bool complete = true;
#define KY_OCI_LOOKUP(name, parameters, arguments) \
  m_p##name = reinterpret_cast<decltype(m_p##name)>(reinterpret_cast<void*>(GetProcAddress(m_hModule, #name)));      \
  complete = complete && m_p##name;
  KY_OCI_CALLED_FUNCTIONS(KY_OCI_LOOKUP)
#undef KY_OCI_LOOKUP
#define KY_OCI_OTHER_LOOKUP(name) complete = complete && GetProcAddress(m_hModule, #name);
  KY_OCI_OTHER_FUNCTIONS(KY_OCI_OTHER_LOOKUP)
#undef KY_OCI_OTHER_LOOKUP
  if (!complete) KyMessage::Log("OCI.DLL Cannot be Loaded");
}

KyOCI::~KyOCI() {
  if (m_hModule) FreeLibrary(m_hModule);
}

// An exception inside the client library ends as -999, never in the caller.
#define KY_OCI_FORWARDER(name, parameters, arguments) \
  sword KyOCI::name parameters {                      \
    if (!m_p##name) return MissingEntry;              \
    try {                                             \
      return m_p##name arguments;                     \
    } catch (...) {                                   \
      return RaisedException;                         \
    }                                                 \
  }
KY_OCI_CALLED_FUNCTIONS(KY_OCI_FORWARDER)
#undef KY_OCI_FORWARDER

KyDataThread::~KyDataThread() {
  if (m_pODBC && m_hEnvironment) m_pODBC->SQLFreeEnv(m_hEnvironment);
  if (m_pOCI && m_pOCIEnvironment) m_pOCI->OCIHandleFree(m_pOCIEnvironment, OCI_HTYPE_ENV);
  delete m_pODBC;
  delete m_pOCI;
}

KyDataThread& KyDataThread::Current() {
  if (KyAppContext* pContext = KyAppContext::Current()) return pContext->GetDataThread();
  thread_local KyDataThread own;
  return own;
}

KyODBC* KyDataThread::GetODBC(BOOL fCreate) {
  if (!m_pODBC && fCreate) m_pODBC = new KyODBC;
  return m_pODBC;
}

KyOCI* KyDataThread::GetOCI(BOOL fCreate) {
  if (!m_pOCI && fCreate) m_pOCI = new KyOCI;
  return m_pOCI;
}
