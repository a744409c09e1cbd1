// KyViewIO: the status rules around the cursor's operations.
#include "KyViewIO.h"

#include "KyODBCCursorFat.h"
#include "KyOracleCursor.h"

#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyCharFld.h"
#include "KyDBHandles.h"
#include "KyDatabaseConnection.h"
#include "KyODBCConnection.h"
#include "KyWrapperList.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

KyString formatText(const char* pszFormat, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, pszFormat ? pszFormat : "", copy);
  va_end(copy);
  std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  std::vsnprintf(buffer.data(), buffer.size(), pszFormat ? pszFormat : "", args);
  return KyString(buffer.data());
}

int runOptionFlag(int iId) {
  KyAppContext* context = KyAppContext::Current();
  return context ? context->GetRunOptions()->fGetOption(iId) : 0;
}

}  // namespace

KyViewIO::KyViewIO(KyDatabaseConnection* pConnection) : m_pConnection(pConnection) {}

KyViewIO::~KyViewIO() {
  Close();
  if (m_pView) m_pView->SetAttachedWrapper(nullptr);
}

int KyViewIO::statusFrom(int rc) {
  if (rc == 0 || rc == 1)
    m_iStatus = StatusOK;
  else if (rc == 100)
    m_iStatus = StatusEndOfView;
  else
    m_iStatus = StatusError;
  return rc;
}

bool KyViewIO::requireConnection() {
  if (m_pConnection && m_pConnection->IsConnected()) return true;
  m_iStatus = StatusError;
  return false;
}

int KyViewIO::Connect(const char* a, const char* b, const char* c, const char* d, const char* e) {
  auto text = [](const char* p) { return KyString(p ? p : ""); };
  int rc;
  if (m_pConnection->GetKind() == KyDatabaseConnection::KindODBC) {
    const bool none = (!a && !b && !c) || (a && b && c && !*a && !*b && !*c);
    rc = none ? m_pConnection->Connect("", "", "", text(d), text(e))
              : m_pConnection->Connect(text(a), text(b), text(c), text(d), text(e));
  } else {
    rc = m_pConnection->Connect(text(a), text(b), text(c));
  }
  if (rc != 0 && rc != 1) {
    m_iStatus = StatusError;
    return -1;
  }
  if (m_pCursor && m_pConnection->GetKind() == KyDatabaseConnection::KindODBC)
    m_pCursor->ApplyStatementOptions(m_pCursor->GetSelectStatement(), 0);
  return rc;
}

int KyViewIO::DoConnect() {
  if (m_pConnection->IsConnected()) return 0;
  const int rc = Connect(nullptr, nullptr, nullptr, nullptr, nullptr);
  m_iStatus = rc == 0 || rc == 1 ? StatusOK : StatusError;
  return m_iStatus == StatusOK ? 0 : -1;
}

int KyViewIO::Disconnect() {
  if (m_pWrapperList) m_pWrapperList->CloseAllWrappers(m_pConnection);
  return m_pConnection->Disconnect();
}

int KyViewIO::Reconnect(KyDatabaseConnection* pConnection) {
  if (m_pConnection->IsConnected()) Close();
  m_pConnection = pConnection;
  if (m_pCursor && pConnection->GetKind() == KyDatabaseConnection::KindODBC) m_pCursor->Reconnect(pConnection);
  return 0;
}

int KyViewIO::Close() {
  m_fRowCurrent = 0;
  if (!m_pCursor) return 0;
  m_pCursor->DropStatements();
  return statusFrom(0);
}

void KyViewIO::PrepareCursor(int iRows) {
  if (m_pCursor || !m_pView) return;
  const bool odbc = m_pConnection->GetKind() == KyDatabaseConnection::KindODBC;
  if (runOptionFlag(odbc ? 14 : 16)) DoConnect();
  int rows = iRows > 0 ? iRows : 1;
  bool blob = false;
  for (int i = 0; i < m_pView->GetColumnCount(); ++i)
    if (m_pView->GetColumn(i) && m_pView->GetColumn(i)->GetType() == vioTypeBlob) blob = true;
  if (blob) rows = 1;
  const int positioned = m_pConnection->GetPositionedUpdate(m_pView->GetViewName());
  if (odbc && !blob && positioned && rows > 1)
    m_pCursor = std::make_unique<KyODBCCursorFat>(m_pConnection, m_pView, rows);
  else if (odbc && !blob && positioned)
    m_pCursor = std::make_unique<KyODBCCursorExt>(m_pConnection, m_pView, rows);
  else if (!odbc && positioned)
    m_pCursor = std::make_unique<KyOracleCursor>(m_pConnection, m_pView, rows);
  else
    m_pCursor = std::make_unique<KyDBCursorSimple>(m_pConnection, m_pView, rows);
}

void KyViewIO::SetViewDescription(KyViewDescription* pView, int iRows) {
  if (!m_pView) m_pView = pView;
  ++m_iUseCount;
  pView->SetAttachedWrapper(this);
  PrepareCursor(iRows);
  if (m_pCursor) m_pCursor->Describe(pView, iRows);
}

void KyViewIO::Release() {
  if (m_iUseCount > 0 && --m_iUseCount == 0) m_pView = nullptr;
}

int KyViewIO::Position(KySQLStatement* pStatement, int iOperation, int n) {
  if (!requireConnection() || !m_pCursor || !pStatement) {
    m_iStatus = StatusError;
    return -1;
  }
  const int rc = m_pCursor->Select(*pStatement, iOperation, n);
  if (rc == -1 || rc == -2) {
    m_fRowCurrent = 0;
    m_iStatus = StatusError;
    return rc;
  }
  m_fRowCurrent = m_pCursor->HasOpenResult() ? 1 : 0;
  m_iStatus = m_fRowCurrent ? StatusOK : StatusNoRow;
  return rc;
}

int KyViewIO::Position(KySQLStatement* pStatement, int iOperation, int n, int iMaxRows) {
  if (m_pCursor) m_pCursor->SetMaxRows(iMaxRows);
  return Position(pStatement, iOperation, n);
}

int KyViewIO::SelectAndFetch(KySQLStatement* pStatement, int iOperation, int n) {
  if (!requireConnection() || !pStatement) return -1;
  // The lock hint is SQL Server's: other DBMS keep their FOR UPDATE.
  if (m_pConnection->GetKind() == KyDatabaseConnection::KindODBC && m_pConnection->IsUnderCommitControl() &&
      m_pConnection->GetDBMSFamily() == KyDatabaseConnection::FamilySQLServer && pStatement->IsForUpdate())
    pStatement->UseUpdateLock();
  m_pLastSelect = std::make_unique<KySQLStatement>(*pStatement);
  m_iLastOperation = iOperation;
  m_iLastCount = n;
  const int rc = Position(pStatement, iOperation, n);
  if (rc == -1 || rc == -2) return rc;
  return FetchNext(iOperation == vioOpEqual ? n : 0);
}

int KyViewIO::SelectAndFetch(KySQLStatement* pStatement, int iOperation, int n, int iMaxRows) {
  if (m_pCursor) m_pCursor->SetMaxRows(iMaxRows);
  return SelectAndFetch(pStatement, iOperation, n);
}

int KyViewIO::FetchNext(int n) {
  if (!requireConnection()) return -1;
  if (!m_fRowCurrent || !m_pCursor) {
    m_iStatus = StatusNoRow;
    return 100;
  }
  const int rc = m_pCursor->FetchNext(n);
  if (rc == 100) {
    m_fRowCurrent = 0;
    m_iStatus = n ? StatusNoRow : StatusEndOfView;
    return 100;
  }
  if (rc == -1 || rc == -2) {
    m_fRowCurrent = 0;
    m_iStatus = StatusError;
    return rc;
  }
  m_iStatus = StatusOK;
  m_fRowCurrent = 1;
  return rc;
}

// An operation that is none of the known ones is refused as an error.
int KyViewIO::Fetch(const char* pszText, int iOperation, int n) {
  if (!requireConnection()) return -1;
  if (iOperation == vioOpNext) return FetchNext(n);
  if (iOperation >= 2 && iOperation <= 6) {
    KySQLStatement statement(pszText);
    return SelectAndFetch(&statement, iOperation, n);
  }
  m_iStatus = StatusError;
  return -1;
}

int KyViewIO::Insert(KySQLStatement* pStatement) {
  if (!requireConnection() || !m_pCursor || !pStatement) return -1;
  return statusFrom(m_pCursor->Insert(*pStatement));
}

int KyViewIO::Insert(const KyString* pText) {
  KySQLStatement statement(pText ? pText->c_str() : "");
  return Insert(&statement);
}

int KyViewIO::Update(KySQLStatement* pStatement, int iFlag) {
  if (!requireConnection() || !m_pCursor || !pStatement) return -1;
  // A cursor that updates through its select but cannot change rows is
  // opened again for update and brought back to the same row.
  if (m_pConnection->GetKind() == KyDatabaseConnection::KindODBC && m_pCursor->UpdatesThroughSelect() &&
      m_pCursor->IsReadOnlyCursor() && m_pConnection->GetDBMSFamily() != KyDatabaseConnection::FamilyDB2 &&
      m_pLastSelect) {
    m_pCursor->GetScratchAccessor().CopyFrom(m_pCursor->GetSelectAccessor());
    KySQLStatement again = *m_pLastSelect;
    again.SetForUpdateFlag(1);
    int rc = Position(&again, m_iLastOperation, m_iLastCount);
    while ((rc == 0 || rc == 1) && !m_pCursor->IsAtPosition()) rc = FetchNext(0);
    if (rc != 0 && rc != 1) return statusFrom(-1);
    m_pCursor->GetSelectAccessor().CopyFrom(m_pCursor->GetScratchAccessor());
  }
  return statusFrom(m_pCursor->Update(*pStatement, iFlag));
}

int KyViewIO::Update(const char* pszText, int iFlag) {
  KySQLStatement statement(pszText);
  return Update(&statement, iFlag);
}

int KyViewIO::Delete(KySQLStatement* pStatement, int a, int b) {
  if (!requireConnection() || !m_pCursor || !pStatement) return -1;
  return statusFrom(b == 0 ? m_pCursor->Delete(*pStatement) : m_pCursor->DeleteByStatement(*pStatement, a));
}

int KyViewIO::Delete(const KyString* pText, int a, int b) {
  KySQLStatement statement(pText ? pText->c_str() : "");
  return Delete(&statement, a, b);
}

// The statement runs as written (its '%' signs are no format) and its
// code is answered.
int KyViewIO::DeleteString(KySQLStatement* pStatement) {
  if (!requireConnection() || !m_pCursor || !pStatement) return -1;
  const int rc = m_pCursor->ExecSql(pStatement->GetText(), false);
  if (rc != 0 && rc != 100) m_iStatus = StatusError;
  return rc;
}

int KyViewIO::UpdateString(KySQLStatement* pStatement) {
  if (!requireConnection() || !m_pCursor || !pStatement) return -1;
  return m_pCursor->ExecuteText(*pStatement);
}

void KyViewIO::runFreeSql(const char* pszText, bool fMaxRow) {
  const bool repeat = m_strLastFreeSql == pszText;
  m_strLastFreeSql = pszText;
  if (!m_pCursor) {
    m_iStatus = StatusError;
    return;
  }
  KySQLStatement statement(pszText);
  int rc;
  if (statement.IsSelect()) {
    if (!fMaxRow) m_pCursor->SetDescribed();
    rc = Position(&statement, vioOpSelectString, 0);
  } else {
    rc = m_pCursor->ExecSql(pszText, repeat);
  }
  if (fMaxRow ? (rc != 0 && rc != 1) : (rc != 0 && rc != 1 && rc != 100)) m_iStatus = StatusError;
}

void KyViewIO::ExecSql(const char* pszFormat, ...) {
  if (!requireConnection()) return;
  va_list args;
  va_start(args, pszFormat);
  const KyString text = formatText(pszFormat, args);
  va_end(args);
  runFreeSql(text, false);
}

void KyViewIO::ExecSqlMaxRow(const char* pszFormat, int iMaxRows, ...) {
  if (!requireConnection()) return;
  va_list args;
  va_start(args, iMaxRows);
  const KyString text = formatText(pszFormat, args);
  va_end(args);
  if (m_pCursor) m_pCursor->SetMaxRows(iMaxRows);
  runFreeSql(text, true);
}

vioType* KyViewIO::GetColumn(int i) { return m_pCursor ? m_pCursor->GetSelectAccessor().GetValue(i - 1) : nullptr; }

vioType* KyViewIO::GetKeyColumn(int i) {
  if (!m_pCursor || !m_pView) return nullptr;
  KySQLCol* column = m_pView->GetColumn(i - 1);
  if (!column || column->GetKeySequence() < 1) return nullptr;
  return m_pCursor->GetKeyAccessor().GetValue(column->GetKeySequence() - 1);
}

SQLHSTMT KyViewIO::odbcHandle(KyDBStmtHandle* pStatement) {
  if (!pStatement || m_pConnection->GetKind() != KyDatabaseConnection::KindODBC) return nullptr;
  return pStatement->GetHandle();
}

SQLHSTMT KyViewIO::GetSelectHSTMT() { return m_pCursor ? odbcHandle(m_pCursor->GetSelectStatement()) : nullptr; }
SQLHSTMT KyViewIO::GetInsertHSTMT() { return m_pCursor ? odbcHandle(m_pCursor->GetInsertStatement()) : nullptr; }
SQLHSTMT KyViewIO::GetDeleteHSTMT() { return m_pCursor ? odbcHandle(m_pCursor->GetDeleteStatement()) : nullptr; }
SQLHSTMT KyViewIO::GetExecSqlHSTMT() { return m_pCursor ? odbcHandle(m_pCursor->GetTextStatement()) : nullptr; }
SQLHSTMT KyViewIO::GetUpdateHSTMT() { return m_pCursor ? odbcHandle(m_pCursor->GetUpdateStatement()) : nullptr; }

int KyViewIO::KySetVioStatus(KyCharFld& status) {
  const char* text = m_iStatus == StatusOK ? " " : m_iStatus == StatusNoRow ? "INF"
                                                 : m_iStatus == StatusEndOfView ? "EOV" : "ERR";
  status.PutText(text);
  return m_iStatus;
}

const char* KyViewIO::GetErrorMsg() {
  KyDBError* error = m_pConnection->GetError();
  return error ? error->GetErrorMsg() : "";
}

int KyViewIO::GetErrorMsgLen() {
  KyDBError* error = m_pConnection->GetError();
  return error ? error->GetErrorMsgLen() : 0;
}

const LONG* KyViewIO::GetNativeError() {
  static const LONG none = 0;
  KyDBError* error = m_pConnection->GetError();
  return error ? error->GetNativeError() : &none;
}

int KyViewIO::GetODBCRetcode() {
  KyDBError* error = m_pConnection->GetError();
  return error ? error->GetODBCRetcode() : 0;
}

const char* KyViewIO::GetSQLState() {
  KyDBError* error = m_pConnection->GetError();
  const char* state = error ? error->GetSQLState() : nullptr;
  return state ? state : "";
}
