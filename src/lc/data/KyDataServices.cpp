// The data-access services the call manager dispatches to: the thread's
// connections by name and kind, and stored-procedure calls.
#include "KyCall.h"
#include "KyCallMgr.h"
#include "KyDBFunction.h"
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

// The record keeps its procedure (prepared once) while its connection is
// the registered one of the name; a connection made anew gets a new one.
int callStoredProcedure(void** ppProcedure, KyFunctionData* pCaller, const char* pszProcedure,
                        const char* pszConnection, int iKind) {
  KyDatabaseConnection* connection = connectionOf(KyCallMgr::GetCallMgr(), pszConnection, iKind);
  if (!connection || !ppProcedure) return 0;
  auto* procedure = static_cast<KyDBFunction*>(*ppProcedure);
  if (procedure && procedure->GetConnection() != connection) {
    delete procedure;
    procedure = nullptr;
  }
  if (!procedure) *ppProcedure = procedure = new KyDBFunction(pszProcedure, connection);
  return procedure->Call(pCaller);
}

void deleteStoredProcedure(void* pProcedure) { delete static_cast<KyDBFunction*>(pProcedure); }

struct Registrar {
  Registrar() {
    KyGetCallServices().GetConnection = connectionOf;
    KyGetCallServices().CallStoredProcedure = callStoredProcedure;
    KyGetCallServices().DeleteStoredProcedure = deleteStoredProcedure;
  }
} registrar;

}  // namespace

KyDatabaseConnection* KyGetDatabaseConnection(const char* pszName, int iKind) {
  return connectionOf(KyCallMgr::GetCallMgr(), pszName, iKind);
}
