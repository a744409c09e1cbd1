// ODBC connection and statement handles.
#include "KyDBHandles.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

SQLCHAR* sqlText(const char* pszText) {
  return reinterpret_cast<SQLCHAR*>(const_cast<char*>(pszText ? pszText : ""));
}

void copy32(char* pTarget, const std::string& value) {
  const size_t n = std::min<size_t>(value.size(), 32);
  std::memcpy(pTarget, value.data(), n);
  pTarget[n] = '\0';
}

}  // namespace

KyDBConnHandle::~KyDBConnHandle() = default;

KyODBCConnHandle::KyODBCConnHandle(KyODBC* pBinding, SQLHENV hEnvironment)
    : m_pBinding(pBinding), m_hEnvironment(hEnvironment), m_Error(pBinding) {
  m_Error.SetHandles(m_hEnvironment, nullptr);
}

KyODBCConnHandle::~KyODBCConnHandle() { Disconnect(); }

int KyODBCConnHandle::Check(int iCode, const char* pszCallName) {
  m_Error.SetHandles(m_hEnvironment, m_hConnection);
  return m_Error.Check(iCode, pszCallName, nullptr);
}

int KyODBCConnHandle::Alloc() {
  if (m_hConnection) Disconnect();
  if (!m_hEnvironment) {
    if (m_pBinding->IsODBC3()) {
      const int rc = Check(m_pBinding->SQLAllocHandle(SQL_HANDLE_ENV, nullptr, &m_hEnvironment),
                           "SQLAllocHandle SQL_HANDLE_ENV");
      if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) return -1;
      // ODBC 2 behaviour: the SQLSTATEs come in their ODBC 2 form ("S1C00").
      Check(m_pBinding->SQLSetEnvAttr(m_hEnvironment, SQL_ATTR_ODBC_VERSION,
                                      reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC2), SQL_IS_INTEGER),
            "SQLSetEnvAttr");
    } else if (Check(m_pBinding->SQLAllocEnv(&m_hEnvironment), "SQLAllocEnv") != SQL_SUCCESS) {
      return -1;
    }
  }
  const int rc = m_pBinding->IsODBC3()
                     ? Check(m_pBinding->SQLAllocHandle(SQL_HANDLE_DBC, m_hEnvironment, &m_hConnection),
                             "SQLAllocHandle SQL_HANDLE_DBC")
                     : Check(m_pBinding->SQLAllocConnect(m_hEnvironment, &m_hConnection), "SQLAllocConnect");
  if (rc != SQL_SUCCESS) {
    m_hConnection = nullptr;
    return -1;
  }
  m_Error.SetHandles(m_hEnvironment, m_hConnection);
  return 0;
}

int KyODBCConnHandle::Connect(const char* pszDataSource, const char* pszUser, const char* pszPassword) {
  if (m_fConnected) return 0;
  const SQLRETURN rc = m_pBinding->SQLConnect(m_hConnection, sqlText(pszDataSource), SQL_NTS, sqlText(pszUser),
                                              SQL_NTS, sqlText(pszPassword), SQL_NTS);
  if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) m_fConnected = TRUE;
  return Check(rc, "SQLConnect");
}

int KyODBCConnHandle::DriverConnect(HWND hWnd, const char* pszConnectString) {
  SQLCHAR completed[257] = {};
  SQLSMALLINT length = 0;
  const char* text = pszConnectString ? pszConnectString : "";
  const SQLRETURN rc =
      m_pBinding->SQLDriverConnect(m_hConnection, hWnd, sqlText(text), static_cast<SQLSMALLINT>(std::strlen(text)),
                                   completed, 256, &length, SQL_DRIVER_COMPLETE);
  if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) m_fConnected = TRUE;
  m_szDataSource[0] = m_szUserId[0] = '\0';
  if (!*text) parseConnectString(reinterpret_cast<const char*>(completed));
  return Check(rc, "SQLConnect");
}

// "key=value;..." of a completed connect string: FILEDSN (its file name
// after the last '\') before DSN, and UID.
void KyODBCConnHandle::parseConnectString(const char* pszCompleted) {
  const std::string text = pszCompleted;
  const bool fileDSN = text.find("FILEDSN=") != std::string::npos;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find(';', start), text.size());
    const std::string part = text.substr(start, end - start);
    const size_t equals = part.find('=');
    if (equals != std::string::npos) {
      const std::string key = part.substr(0, equals);
      std::string value = part.substr(equals + 1);
      if (fileDSN && key == "FILEDSN") {
        const size_t slash = value.rfind('\\');
        if (slash != std::string::npos) value = value.substr(slash + 1);
        copy32(m_szDataSource, value);
      } else if (!fileDSN && key == "DSN") {
        copy32(m_szDataSource, value);
      } else if (key == "UID") {
        copy32(m_szUserId, value);
      }
    }
    start = end + 1;
  }
}

int KyODBCConnHandle::Disconnect() {
  if (!m_hConnection) {
    m_fConnected = FALSE;
    return 0;
  }
  Check(m_pBinding->SQLDisconnect(m_hConnection), "SQLDisconnect");
  const int rc = m_pBinding->IsODBC3()
                     ? Check(m_pBinding->SQLFreeHandle(SQL_HANDLE_DBC, m_hConnection), "SQLFreeHandle SQL_HANDLE_DBC")
                     : Check(m_pBinding->SQLFreeConnect(m_hConnection), "SQLFreeConnect");
  m_hConnection = nullptr;
  m_fConnected = FALSE;
  m_Error.SetHandles(m_hEnvironment, nullptr);
  return rc;
}

int KyODBCConnHandle::Commit() {
  return Check(m_pBinding->SQLTransact(m_hEnvironment, m_hConnection, SQL_COMMIT), "SQLTransact");
}

int KyODBCConnHandle::Rollback() {
  return Check(m_pBinding->SQLTransact(m_hEnvironment, m_hConnection, SQL_ROLLBACK), "SQLTransact");
}

int KyODBCConnHandle::GetInfo(SQLUSMALLINT nInfo, SQLPOINTER pBuffer, SQLSMALLINT nSize, SQLSMALLINT* pnLength) {
  return Check(m_pBinding->SQLGetInfo(m_hConnection, nInfo, pBuffer, nSize, pnLength), "SQLGetInfo");
}

int KyODBCConnHandle::GetRowArraySize(SQLHSTMT hStmt) {
  SQLULEN size = 0;
  if (m_pBinding->IsODBC3()) {
    const int rc = m_Error.Check(m_pBinding->SQLGetStmtAttr(hStmt, SQL_ATTR_ROW_ARRAY_SIZE, &size, SQL_IS_UINTEGER,
                                                            nullptr),
                                 "SQLGetStmtAttr SQL_ATTR_ROW_ARRAY_SIZE", hStmt);
    if ((rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) && size > 1) return static_cast<int>(size);
  }
  size = 0;
  const int rc =
      m_Error.Check(m_pBinding->SQLGetStmtOption(hStmt, SQL_ROWSET_SIZE, &size), "SQLGetStmtOption SQL_ROWSET_SIZE",
                    hStmt);
  if ((rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) && size >= 1) return static_cast<int>(size);
  return 1;
}

KyDBStmtHandle* KyDBStmtHandle::Create(KyDBConnHandle* pConnection) {
  if (!pConnection) return nullptr;
  KyDBCLI* binding = pConnection->GetBinding();
  if (binding && binding->IsODBC()) return new KyODBCStmtHandle(static_cast<KyODBCConnHandle*>(pConnection));
  if (binding && binding->IsOCI()) return new KyOCIStmtHandle(static_cast<KyOCIConnHandle*>(pConnection));
  return nullptr;
}

KyDBStmtHandle::~KyDBStmtHandle() = default;

bool KyDBStmtHandle::TouchedRows() { return m_pError->RowsTouched() != FALSE; }

bool KyODBCStmtHandle::TouchedRows() {
  if (!m_pError->RowsTouched()) return false;
  SQLLEN rows = -1;
  return !SQL_SUCCEEDED(m_pBinding->SQLRowCount(m_hStmt, &rows)) || rows != 0;
}

int KyDBStmtHandle::BindParamByName(const char*, void*, int, int, void*, void*) { return -1; }

KyODBCStmtHandle::KyODBCStmtHandle(KyODBCConnHandle* pConnection)
    : KyDBStmtHandle(pConnection), m_pBinding(pConnection->GetODBC()) {}

KyODBCStmtHandle::~KyODBCStmtHandle() {
  if (m_hStmt) m_pBinding->SQLFreeStmt(m_hStmt, SQL_DROP);
}

int KyODBCStmtHandle::Check(int iCode, const char* pszCallName) {
  auto* connection = static_cast<KyODBCConnHandle*>(m_pConnection);
  auto* error = static_cast<KyODBCError*>(m_pError);
  error->SetHandles(connection->GetEnvironment(), connection->GetHDBC());
  return error->Check(iCode, pszCallName, m_hStmt);
}

int KyODBCStmtHandle::Alloc() {
  if (m_hStmt) {
    m_pBinding->SQLFreeStmt(m_hStmt, SQL_DROP);
    m_hStmt = nullptr;
  }
  SQLHDBC hdbc = static_cast<KyODBCConnHandle*>(m_pConnection)->GetHDBC();
  if (m_pBinding->IsODBC3())
    return Check(m_pBinding->SQLAllocHandle(SQL_HANDLE_STMT, hdbc, &m_hStmt), "SQLAllocHandle SQL_HANDLE_STMT");
  return Check(m_pBinding->SQLAllocStmt(hdbc, &m_hStmt), "SQLAllocStmt");
}

int KyODBCStmtHandle::SetRowsetSize(int iRows) {
  return Check(m_pBinding->SQLSetStmtOption(m_hStmt, SQL_ROWSET_SIZE, static_cast<SQLULEN>(iRows)),
               "SQLSetStmtOption SQL_ROWSET_SIZE");
}

int KyODBCStmtHandle::Prepare(const char* pszText) {
  return Check(m_pBinding->SQLPrepare(m_hStmt, sqlText(pszText), SQL_NTS), "SQLPrepare");
}

int KyODBCStmtHandle::Execute() {
  const int rc = Check(m_pBinding->SQLExecute(m_hStmt), "SQLExecute");
  // A parameter waits for its pieces: SQLParamData names it.
  m_iPendingRequest = rc == SQL_NEED_DATA ? kAskDriver : rc;
  return rc;
}

int KyODBCStmtHandle::ExecDirect(const char* pszText) {
  const int rc = Check(m_pBinding->SQLExecDirect(m_hStmt, sqlText(pszText), SQL_NTS), "SQLExecDirect");
  m_iPendingRequest = rc == SQL_NEED_DATA ? kAskDriver : rc;
  return rc;
}

// A close that succeeds leaves the collector as it was: the close that
// follows a failed execute must not wipe that failure's diagnostics.
int KyODBCStmtHandle::Close() {
  if (!m_hStmt) return 0;
  const SQLRETURN rc = m_pBinding->SQLFreeStmt(m_hStmt, SQL_CLOSE);
  return rc == SQL_SUCCESS ? rc : Check(rc, "SQLFreeStmt SQL_CLOSE");
}

int KyODBCStmtHandle::Drop() {
  if (!m_hStmt) return 0;
  const int rc = Check(m_pBinding->SQLFreeStmt(m_hStmt, SQL_DROP), "SQLFreeStmt SQL_DROP");
  m_hStmt = nullptr;
  return rc;
}

int KyODBCStmtHandle::BindParam(int iNumber, int iDirection, int iCType, int iSQLType, SQLULEN nColumnSize,
                                int iScale, void* pBuffer, SQLLEN nBufferSize, void* pIndicator,
                                SQLLEN* pBinaryLength) {
  SQLLEN* length = iCType == SQL_C_BINARY ? pBinaryLength : static_cast<SQLLEN*>(pIndicator);
  return Check(m_pBinding->SQLBindParameter(m_hStmt, static_cast<SQLUSMALLINT>(iNumber),
                                            static_cast<SQLSMALLINT>(iDirection), static_cast<SQLSMALLINT>(iCType),
                                            static_cast<SQLSMALLINT>(iSQLType), nColumnSize,
                                            static_cast<SQLSMALLINT>(iScale), pBuffer, nBufferSize, length),
               "BindParam");
}

int KyODBCStmtHandle::BindColumn(int iColumn, int iCType, void* pBuffer, SQLLEN nBufferSize, void* pIndicator) {
  return Check(m_pBinding->SQLBindCol(m_hStmt, static_cast<SQLUSMALLINT>(iColumn), static_cast<SQLSMALLINT>(iCType),
                                      pBuffer, nBufferSize, static_cast<SQLLEN*>(pIndicator)),
               "BindColumn");
}

int KyODBCStmtHandle::Fetch() { return Check(m_pBinding->SQLFetch(m_hStmt), "SQLFetch"); }

// Every failure of SQLGetData reaches the collector (a truncation, code 1,
// too), so a failed column read is logged like any other call.
int KyODBCStmtHandle::GetData(int iColumn, int iCType, void* pBuffer, SQLLEN nSize, SQLLEN* pnLength) {
  SQLLEN indicator = 0;
  m_fLastDataNull = false;
  const SQLRETURN rc = m_pBinding->SQLGetData(m_hStmt, static_cast<SQLUSMALLINT>(iColumn),
                                              static_cast<SQLSMALLINT>(iCType), pBuffer, nSize, &indicator);
  if (rc != SQL_SUCCESS && rc != SQL_NO_DATA) Check(rc, "SQLGetData");
  if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) m_fLastDataNull = indicator == SQL_NULL_DATA;
  if (pnLength) {
    if (indicator == SQL_NULL_DATA)
      *pnLength = 0;
    else if (indicator == SQL_NO_TOTAL || indicator > nSize)
      *pnLength = nSize;
    else
      *pnLength = indicator;
  }
  return rc;
}

int KyODBCStmtHandle::ParamData() {
  SQLPOINTER token = nullptr;
  const int rc = Check(m_pBinding->SQLParamData(m_hStmt, &token), "SQLParamData");
  m_iPendingRequest = rc;
  m_pPendingToken = rc == SQL_NEED_DATA ? token : nullptr;
  return rc;
}

int KyODBCStmtHandle::NextDataRequest(void** ppToken) {
  if (m_iPendingRequest == kAskDriver) ParamData();
  *ppToken = m_iPendingRequest == SQL_NEED_DATA ? m_pPendingToken : nullptr;
  return m_iPendingRequest;
}

int KyODBCStmtHandle::BindLongParam(int iNumber, void* pToken, SQLLEN* pnAtExecution, void*) {
  return Check(m_pBinding->SQLBindParameter(m_hStmt, static_cast<SQLUSMALLINT>(iNumber), SQL_PARAM_INPUT, SQL_C_BINARY,
                                            SQL_LONGVARBINARY, 0, 0, pToken, 0, pnAtExecution),
               "BindParam");
}

int KyODBCStmtHandle::PutData(void* pBuffer, SQLLEN nLength, BOOL fMore) {
  m_iPendingRequest = kAskDriver;
  if (nLength > 0) {
    const int rc = Check(m_pBinding->SQLPutData(m_hStmt, pBuffer, nLength), "SQLPutData");
    if (fMore) return rc;
  } else {
    Check(m_pBinding->SQLPutData(m_hStmt, pBuffer, SQL_NULL_DATA), "SQLPutData");
  }
  return ParamData();
}
