// The data-access services the call manager dispatches to: the thread's
// connections by name and kind.
#include "KyCall.h"
#include "KyCallMgr.h"
#include "KyODBCConnection.h"

namespace {

// Default connections (empty names) are kept in the list under a name no
// INI section can give, one per kind.
const char* defaultKey(int iKind) { return iKind == KyDatabaseConnection::KindOCI ? "\x01OCI" : "\x01ODBC"; }

KyDatabaseConnection* connectionOf(KyCallMgr* pCallMgr, const char* pszName, int iKind) {
  if (!pCallMgr) return nullptr;
  const bool isDefault = !pszName || !*pszName;
  if (isDefault) {
    if (KyDatabaseConnection* existing = pCallMgr->GetDatabaseConnectionList(iKind)) return existing;
  }
  KyDatabaseConnectionList* list = pCallMgr->GetConnectionList();
  const char* key = isDefault ? defaultKey(iKind) : pszName;
  if (KyDatabaseConnection* found = list->LookUpByName(key)) return found;
  KyDatabaseConnection* made = iKind == KyDatabaseConnection::KindOCI
                                   ? static_cast<KyDatabaseConnection*>(new KyOCIConnection(isDefault ? "" : pszName))
                                   : new KyODBCConnection(isDefault ? "" : pszName);
  list->Push(key, made);
  if (isDefault) {
    if (iKind == KyDatabaseConnection::KindOCI)
      pCallMgr->m_pDefaultOCIConnection = made;
    else
      pCallMgr->m_pDefaultODBCConnection = made;
  }
  return made;
}

struct Registrar {
  Registrar() { KyGetCallServices().GetConnection = connectionOf; }
} registrar;

}  // namespace

KyDatabaseConnection* KyGetDatabaseConnection(const char* pszName, int iKind) {
  return connectionOf(KyCallMgr::GetCallMgr(), pszName, iKind);
}
