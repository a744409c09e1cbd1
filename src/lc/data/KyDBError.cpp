// Error collectors: gathering diagnostics and the log line.
#include "KyDBError.h"

#include "KyDBCLI.h"
#include "KyFncMessage.h"
#include "KyMessage.h"

#include <mscrt.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT kMsgLogLine = 57480;  // call, code, date, time, SQLSTATE, message

// SQL Server reports an unbalanced transaction count after a stored
// procedure's EXECUTE as an error; it is none.
constexpr const char* kUnbalancedTransactionCount =
    "[Microsoft][ODBC SQL Server Driver][SQL Server]Transaction count after EXECUTE indicates a mismatching number of "
    "BEGIN and COMMIT statements.";

void copyBounded(char* pTarget, size_t size, const char* pszText) {
  const size_t n = strnlen(pszText ? pszText : "", size - 1);
  std::memcpy(pTarget, pszText ? pszText : "", n);
  pTarget[n] = '\0';
}

}  // namespace

KyDBError::~KyDBError() = default;

void KyDBError::Reset() {
  m_iCount = 0;
  m_iCurrent = 0;
  m_iLastCode = 0;
  for (KyDiagRecord& record : m_Records) record.nMessageLength = 0;
  m_Records[0].szMessage[0] = '\0';
}

BOOL KyDBError::IsBenign() const { return m_iLastCode == SQL_NEED_DATA; }

int KyDBError::Check(int iCode, const char*, SQLHSTMT) {
  Reset();
  m_iLastCode = iCode;
  return iCode;
}

void KyDBError::Report(int iCode, const char* pszCallName, const char* pszMessage) {
  Reset();
  m_iLastCode = iCode;
  KyDiagRecord& record = m_Records[0];
  record.szSQLState[0] = '\0';
  record.lNativeError = 0;
  copyBounded(record.szMessage, sizeof record.szMessage, pszMessage);
  record.nMessageLength = static_cast<SHORT>(std::strlen(record.szMessage));
  m_iCount = 1;
  if (m_fLog) writeLogLine(pszCallName);
}

void KyDBError::writeLogLine(const char* pszCallName) {
  char date[16] = {};
  char time[16] = {};
  _strdate(date);
  _strtime(time);
  const char* state = GetSQLState();
  KyString line = KyFormatMessageId(kMsgLogLine, {pszCallName, m_iLastCode, date, time, state ? state : "",
                                                  m_iCount ? m_Records[m_iCurrent].szMessage : ""});
  if (line.GetLength() > 1024) line = line.Left(1024);
  KyMessage::Log("%s", line.c_str());
}

void KyODBCError::Reset() {
  KyDBError::Reset();
  m_Records[0].szSQLState[0] = '\0';
}

BOOL KyODBCError::IsBenign() const {
  if (m_iLastCode == SQL_NEED_DATA) return TRUE;
  return m_iLastCode == SQL_SUCCESS_WITH_INFO && m_iCount &&
         std::strcmp(m_Records[m_iCount - 1].szSQLState, "01004") == 0;
}

BOOL KyODBCError::RowsTouched() const {
  return !(m_iLastCode == SQL_SUCCESS_WITH_INFO && m_iCount && std::strcmp(m_Records[0].szSQLState, "01S03") == 0);
}

int KyODBCError::Check(int iCode, const char* pszCallName, SQLHSTMT hStmt) {
  Reset();
  m_iLastCode = iCode;
  if (iCode == SQL_SUCCESS || iCode == SQL_NEED_DATA || iCode == SQL_NO_DATA) return iCode;
  if (iCode == SQL_INVALID_HANDLE) {
    copyBounded(m_Records[0].szMessage, sizeof m_Records[0].szMessage, "INVALID STATEMENT HANDLE");
    m_Records[0].nMessageLength = static_cast<SHORT>(std::strlen(m_Records[0].szMessage));
    m_iCount = 1;
  } else {
    const int limit = m_fFirstRecordOnly ? 1 : kMaxRecords;
    while (m_iCount < limit) {
      KyDiagRecord& record = m_Records[m_iCount];
      SQLINTEGER native = 0;
      SQLSMALLINT length = 0;
      const SQLRETURN rc = m_pBinding->SQLError(m_hEnvironment, m_hConnection, hStmt,
                                                reinterpret_cast<SQLCHAR*>(record.szSQLState), &native,
                                                reinterpret_cast<SQLCHAR*>(record.szMessage),
                                                static_cast<SQLSMALLINT>(sizeof record.szMessage), &length);
      if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) break;
      record.szSQLState[5] = '\0';
      record.lNativeError = native;
      record.nMessageLength = static_cast<SHORT>(strnlen(record.szMessage, sizeof record.szMessage - 1));
      ++m_iCount;
    }
  }
  if (iCode == SQL_SUCCESS_WITH_INFO || !m_fLog) return iCode;
  if (std::strcmp(pszCallName, "SQLExecute") == 0 && iCode == SQL_ERROR && m_iCount &&
      std::atoi(m_Records[0].szSQLState) == 25000 && std::strstr(m_Records[0].szMessage, kUnbalancedTransactionCount))
    return iCode;
  writeLogLine(pszCallName);
  return iCode;
}

KyOCIError::~KyOCIError() {
  if (m_pHandle && m_pBinding) m_pBinding->OCIHandleFree(m_pHandle, OCI_HTYPE_ERROR);
}

int KyOCIError::Check(int iCode, const char* pszCallName, SQLHSTMT) {
  Reset();
  const int code = static_cast<SHORT>(iCode);
  m_iLastCode = code;
  int result = code;
  if (iCode == OCI_STILL_EXECUTING) {
    result = 2;
  } else if (code == OCI_INVALID_HANDLE) {
    copyBounded(m_Records[0].szMessage, sizeof m_Records[0].szMessage, "INVALID  HANDLE");
    m_Records[0].nMessageLength = static_cast<SHORT>(std::strlen(m_Records[0].szMessage));
    m_Records[0].szSQLState[0] = '\0';
    m_iCount = 1;
  } else if (code == OCI_ERROR && m_pHandle) {
    const int limit = m_fFirstRecordOnly ? 1 : kMaxRecords;
    for (ub4 number = 1; m_iCount < limit; ++number) {
      KyDiagRecord& record = m_Records[m_iCount];
      sb4 native = 0;
      if (m_pBinding->OCIErrorGet(m_pHandle, number, nullptr, &native, reinterpret_cast<OraText*>(record.szMessage),
                                  sizeof record.szMessage, OCI_HTYPE_ERROR) != OCI_SUCCESS)
        break;
      record.lNativeError = native;
      record.nMessageLength = static_cast<SHORT>(strnlen(record.szMessage, sizeof record.szMessage - 1));
      // "ORA-" and the error number stand in for a SQLSTATE.
      copyBounded(record.szSQLState, sizeof record.szSQLState, record.szMessage);
      ++m_iCount;
    }
  }
  if (m_iCount && m_fLog) writeLogLine(pszCallName);
  return result;
}
