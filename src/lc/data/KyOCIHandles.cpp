// OCI connection and statement handles.
#include "KyDBHandles.h"

#include "KyFncMessage.h"

#include <cstring>

namespace {

// Language-library texts that name the failed logon step in the log line.
constexpr UINT kMsgServerHandle = 57481;
constexpr UINT kMsgServiceContext = 57482;
constexpr UINT kMsgUserPassword = 57483;
constexpr UINT kMsgSession = 57484;

const OraText* oraText(const char* pszText) { return reinterpret_cast<const OraText*>(pszText ? pszText : ""); }
ub4 textLength(const char* pszText) { return static_cast<ub4>(pszText ? std::strlen(pszText) : 0); }

}  // namespace

KyOCIConnHandle::KyOCIConnHandle(KyOCI* pBinding, OCIEnv* pEnvironment)
    : m_pBinding(pBinding), m_pEnvironment(pEnvironment), m_Error(pBinding) {}

KyOCIConnHandle::~KyOCIConnHandle() { Disconnect(); }

int KyOCIConnHandle::Check(int iCode, const char* pszCallName) { return m_Error.Check(iCode, pszCallName, nullptr); }

int KyOCIConnHandle::Alloc() {
  if (!m_pEnvironment) {
    const sword rc = m_pBinding->OCIEnvCreate(&m_pEnvironment, 11, nullptr, nullptr, nullptr, nullptr, 0, nullptr);
    if (rc < 0) {
      m_pEnvironment = nullptr;
      return rc == KyOCI::RaisedException ? KyOCI::RaisedException : -1;
    }
  }
  if (!m_Error.GetHandle())
    m_pBinding->OCIHandleAlloc(m_pEnvironment, reinterpret_cast<void**>(m_Error.GetHandleSlot()), OCI_HTYPE_ERROR, 0,
                               nullptr);
  return m_Error.GetHandle() ? 0 : KyOCI::RaisedException;
}

int KyOCIConnHandle::failStep(int iCode, const char* pszName) {
  if (iCode == KyOCI::RaisedException) return KyOCI::RaisedException;
  Check(iCode, pszName);
  return -1;
}

int KyOCIConnHandle::Connect(const char* pszSID, const char* pszUser, const char* pszPassword) {
  OCIError* error = m_Error.GetHandle();
  const KyString server = KyFormatMessageId(kMsgServerHandle);
  const KyString context = KyFormatMessageId(kMsgServiceContext);
  const KyString user = KyFormatMessageId(kMsgUserPassword);
  const KyString session = KyFormatMessageId(kMsgSession);
  sword rc = m_pBinding->OCIHandleAlloc(m_pEnvironment, reinterpret_cast<void**>(&m_pServer), OCI_HTYPE_SERVER, 0,
                                        nullptr);
  if (rc != OCI_SUCCESS) return failStep(rc, server);
  rc = m_pBinding->OCIServerAttach(m_pServer, error, oraText(pszSID), static_cast<sb4>(textLength(pszSID)), 0);
  if (rc != OCI_SUCCESS) return failStep(rc, "OCIServerAttach");
  rc = m_pBinding->OCIHandleAlloc(m_pEnvironment, reinterpret_cast<void**>(&m_pServiceContext), OCI_HTYPE_SVCCTX, 0,
                                  nullptr);
  if (rc != OCI_SUCCESS) return failStep(rc, context);
  rc = m_pBinding->OCIAttrSet(m_pServiceContext, OCI_HTYPE_SVCCTX, m_pServer, 0, OCI_ATTR_SERVER, error);
  if (rc != OCI_SUCCESS) return failStep(rc, context);
  rc = m_pBinding->OCIHandleAlloc(m_pEnvironment, reinterpret_cast<void**>(&m_pSession), OCI_HTYPE_SESSION, 0,
                                  nullptr);
  if (rc != OCI_SUCCESS) return failStep(rc, context);
  rc = m_pBinding->OCIAttrSet(m_pSession, OCI_HTYPE_SESSION, const_cast<char*>(pszUser ? pszUser : ""),
                              textLength(pszUser), OCI_ATTR_USERNAME, error);
  if (rc != OCI_SUCCESS) return failStep(rc, context);
  rc = m_pBinding->OCIAttrSet(m_pSession, OCI_HTYPE_SESSION, const_cast<char*>(pszPassword ? pszPassword : ""),
                              textLength(pszPassword), OCI_ATTR_PASSWORD, error);
  if (rc != OCI_SUCCESS) return failStep(rc, user);
  rc = m_pBinding->OCISessionBegin(m_pServiceContext, error, m_pSession, OCI_CRED_RDBMS, OCI_DEFAULT);
  if (rc != OCI_SUCCESS) return failStep(rc, session);
  rc = m_pBinding->OCIAttrSet(m_pServiceContext, OCI_HTYPE_SVCCTX, m_pSession, 0, OCI_ATTR_SESSION, error);
  m_fSessionBegun = TRUE;
  if (rc != OCI_SUCCESS) return failStep(rc, session);
  m_fConnected = TRUE;
  return 0;
}

int KyOCIConnHandle::Disconnect() {
  OCIError* error = m_Error.GetHandle();
  int rc = 0;
  if (m_fSessionBegun)
    Check(m_pBinding->OCISessionEnd(m_pServiceContext, error, m_pSession, OCI_DEFAULT), "OCI_SESSION_END");
  if (m_pServer) rc = Check(m_pBinding->OCIServerDetach(m_pServer, error, OCI_DEFAULT), "OCI_SERVER_DETACH");
  if (m_pServer) m_pBinding->OCIHandleFree(m_pServer, OCI_HTYPE_SERVER);
  if (m_pServiceContext) m_pBinding->OCIHandleFree(m_pServiceContext, OCI_HTYPE_SVCCTX);
  if (m_pSession) m_pBinding->OCIHandleFree(m_pSession, OCI_HTYPE_SESSION);
  m_pServer = nullptr;
  m_pServiceContext = nullptr;
  m_pSession = nullptr;
  m_fSessionBegun = FALSE;
  m_fConnected = FALSE;
  return rc;
}

int KyOCIConnHandle::Commit() {
  return Check(m_pBinding->OCITransCommit(m_pServiceContext, m_Error.GetHandle(), 0), "OCI_COMMIT");
}

int KyOCIConnHandle::Rollback() {
  return Check(m_pBinding->OCITransRollback(m_pServiceContext, m_Error.GetHandle(), 0), "OCI_ROLLBACK");
}

KyOCIStmtHandle::KyOCIStmtHandle(KyOCIConnHandle* pConnection)
    : KyDBStmtHandle(pConnection), m_pOCIConnection(pConnection), m_pBinding(pConnection->GetOCI()) {}

KyOCIStmtHandle::~KyOCIStmtHandle() {
  if (m_hStmt) m_pBinding->OCIHandleFree(m_hStmt, OCI_HTYPE_STMT);
}

OCIError* KyOCIStmtHandle::GetErrorHandle() const { return m_pOCIConnection->GetErrorHandle(); }

int KyOCIStmtHandle::Check(int iCode, const char* pszCallName) { return m_pError->Check(iCode, pszCallName, nullptr); }

int KyOCIStmtHandle::Alloc() {
  if (m_hStmt) {
    m_pBinding->OCIHandleFree(m_hStmt, OCI_HTYPE_STMT);
    m_hStmt = nullptr;
  }
  return Check(m_pBinding->OCIHandleAlloc(m_pOCIConnection->GetEnvironment(), &m_hStmt, OCI_HTYPE_STMT, 0, nullptr),
               "OCI_ALLOC_Stmt");
}

int KyOCIStmtHandle::SetRowsetSize(int iRows) {
  ub4 rows = static_cast<ub4>(iRows);
  return Check(m_pBinding->OCIAttrSet(m_hStmt, OCI_HTYPE_STMT, &rows, 0, OCI_ATTR_PREFETCH_ROWS, GetErrorHandle()),
               "OCI_ATTR_PREFETCH_ROWS");
}

int KyOCIStmtHandle::Prepare(const char* pszText) {
  m_LongBinds.clear();
  return Check(m_pBinding->OCIStmtPrepare(GetStatement(), GetErrorHandle(), oraText(pszText), textLength(pszText),
                                          OCI_NTV_SYNTAX, OCI_DEFAULT),
               "OCIPrepare");
}

int KyOCIStmtHandle::Execute() {
  m_iLastExecute = Check(m_pBinding->OCIStmtExecute(m_pOCIConnection->GetServiceContext(), GetStatement(),
                                                    GetErrorHandle(), 1, 0, nullptr, nullptr,
                                                    m_pOCIConnection->m_ExecuteMode),
                         "OCIExecute");
  return m_iLastExecute;
}

bool KyOCIStmtHandle::TouchedRows() {
  if (!m_pError->RowsTouched()) return false;
  ub4 rows = 0;
  const sword rc = m_pBinding->OCIAttrGet(m_hStmt, OCI_HTYPE_STMT, &rows, nullptr, OCI_ATTR_ROW_COUNT, GetErrorHandle());
  return rc != OCI_SUCCESS || rows > 0;
}

int KyOCIStmtHandle::ExecDirect(const char*) { return Check(OCI_ERROR, "OCIExecDirect"); }

int KyOCIStmtHandle::Drop() {
  if (!m_hStmt) return 0;
  const int rc = Check(m_pBinding->OCIHandleFree(m_hStmt, OCI_HTYPE_STMT), "OCIFreeStmt DROP");
  m_hStmt = nullptr;
  return rc;
}

int KyOCIStmtHandle::BindParamByName(const char* pszName, void* pBuffer, int iSize, int iType, void* pIndicator,
                                     void* pLength) {
  OCIBind* bind = nullptr;
  return Check(m_pBinding->OCIBindByName(GetStatement(), &bind, GetErrorHandle(), oraText(pszName), -1, pBuffer, iSize,
                                         static_cast<ub2>(iType), pIndicator, static_cast<ub2*>(pLength), nullptr, 0,
                                         nullptr, OCI_DEFAULT),
               "BindParamByName");
}

int KyOCIStmtHandle::BindParam(int iNumber, int, int iCType, int, SQLULEN, int, void* pBuffer, SQLLEN nBufferSize,
                               void* pIndicator, SQLLEN*) {
  OCIBind* bind = nullptr;
  return Check(m_pBinding->OCIBindByPos(GetStatement(), &bind, GetErrorHandle(), static_cast<ub4>(iNumber), pBuffer,
                                        static_cast<sb4>(nBufferSize), static_cast<ub2>(iCType), pIndicator, nullptr,
                                        nullptr, 0, nullptr, OCI_DEFAULT),
               "BindParamByPos");
}

int KyOCIStmtHandle::BindColumn(int iColumn, int iCType, void* pBuffer, SQLLEN nBufferSize, void* pIndicator) {
  OCIDefine* define = nullptr;
  return Check(m_pBinding->OCIDefineByPos(GetStatement(), &define, GetErrorHandle(), static_cast<ub4>(iColumn),
                                          pBuffer, static_cast<sb4>(nBufferSize), static_cast<ub2>(iCType),
                                          pIndicator, nullptr, nullptr, OCI_DEFAULT),
               "OCIDefineByPos");
}

int KyOCIStmtHandle::Fetch() {
  return Check(m_pBinding->OCIStmtFetch(GetStatement(), GetErrorHandle(), 1, OCI_FETCH_NEXT, OCI_DEFAULT), "SQLFetch");
}

// One piece of a piecewise transfer: the library's piece information, then
// the buffer set for the piece (the last one when fLast is set).
int KyOCIStmtHandle::setPiece(void* pBuffer, ub4* pLength, sb2* pIndicator, BOOL fLast, const char* pszGetName,
                              const char* pszSetName) {
  void* handle = nullptr;
  ub4 type = 0, iteration = 0, index = 0;
  ub1 direction = 0, piece = 0;
  const int rc = Check(m_pBinding->OCIStmtGetPieceInfo(GetStatement(), GetErrorHandle(), &handle, &type, &direction,
                                                       &iteration, &index, &piece),
                       pszGetName);
  if (rc != 0) return rc;
  if (fLast) piece = OCI_LAST_PIECE;
  return Check(m_pBinding->OCIStmtSetPieceInfo(handle, type, GetErrorHandle(), pBuffer, pLength, piece, pIndicator,
                                               nullptr),
               pszSetName);
}

int KyOCIStmtHandle::GetData(int, int, void* pBuffer, SQLLEN nSize, SQLLEN* pnLength) {
  ub4 length = static_cast<ub4>(nSize);
  sb2 indicator = 0;
  m_fLastDataNull = false;
  if (pnLength) *pnLength = 0;
  int rc = setPiece(pBuffer, &length, &indicator, FALSE, "GetPieceInfo", "SetPieceInfo");
  if (rc != 0) return rc;
  rc = Fetch();
  if (rc == 0 || rc == 1 || rc == 99) {
    m_fLastDataNull = indicator == -1;
    if (pnLength) *pnLength = m_fLastDataNull ? 0 : length;
  }
  return rc;
}

int KyOCIStmtHandle::PutData(void* pBuffer, SQLLEN nLength, BOOL fLast) {
  ub4 length = static_cast<ub4>(nLength);
  const int rc = setPiece(pBuffer, &length, nullptr, fLast, "OCIStmtGetPieceInfo", "OCIStmtSetPieceInfo");
  return rc != 0 ? rc : Execute();
}

int KyOCIStmtHandle::BindLongColumn(int iColumn) {
  OCIDefine* define = nullptr;
  return Check(m_pBinding->OCIDefineByPos(GetStatement(), &define, GetErrorHandle(), static_cast<ub4>(iColumn),
                                          nullptr, kLongMaximum, SQLT_LBI, nullptr, nullptr, nullptr,
                                          OCI_DYNAMIC_FETCH),
               "OCIDefineByPos");
}

int KyOCIStmtHandle::BindLongParam(int iNumber, void* pToken, SQLLEN*, void* pIndicator) {
  OCIBind* bind = nullptr;
  const int rc = Check(m_pBinding->OCIBindByPos(GetStatement(), &bind, GetErrorHandle(), static_cast<ub4>(iNumber),
                                                nullptr, kLongMaximum, SQLT_LBI, pIndicator, nullptr, nullptr, 0,
                                                nullptr, OCI_DATA_AT_EXEC),
                       "BindParamByPos");
  if (rc == 0) m_LongBinds.emplace_back(bind, pToken);
  return rc;
}

// The library names the bind that waits for its pieces.
int KyOCIStmtHandle::NextDataRequest(void** ppToken) {
  *ppToken = nullptr;
  if (m_iLastExecute != OCI_NEED_DATA) return m_iLastExecute;
  void* handle = nullptr;
  ub4 type = 0, iteration = 0, index = 0;
  ub1 direction = 0, piece = 0;
  const int rc = Check(m_pBinding->OCIStmtGetPieceInfo(GetStatement(), GetErrorHandle(), &handle, &type, &direction,
                                                       &iteration, &index, &piece),
                       "OCIStmtGetPieceInfo");
  if (rc != 0) return rc;
  for (const auto& [bind, token] : m_LongBinds)
    if (bind == handle) *ppToken = token;
  return OCI_NEED_DATA;
}
