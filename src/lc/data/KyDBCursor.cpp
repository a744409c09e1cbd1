// KyDBCursor: select, fetch, positioned update and delete, insert and free
// statements of one view.
#include "KyDBCursor.h"

#include "KyDBHandles.h"
#include "KyMessage.h"
#include "KyODBCConnection.h"
#include "KyViewDescription.h"
#include "vioBlob.h"

#include <algorithm>
#include <cstring>

namespace {

bool succeeded(int rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

}  // namespace

// The number of parameter markers of a statement text outside quotes.
int KyDBCursor::markerCount(const char* pszText) {
  int count = 0;
  bool quoted = false;
  for (const char* p = pszText; p && *p; ++p) {
    if (*p == '\'') quoted = !quoted;
    if (*p == '?' && !quoted) ++count;
  }
  return count;
}

KyDBCursor::KyDBCursor(KyDatabaseConnection* pConnection, KyViewDescription* pView, int iRows, FetchKind kind)
    : m_pConnection(pConnection), m_iRows(std::max(iRows, 1)), m_FetchKind(kind) {
  KyDBConnHandle* handle = pConnection->GetConnHandle();
  m_pSelect.reset(KyDBStmtHandle::Create(handle));
  m_pDelete.reset(KyDBStmtHandle::Create(handle));
  m_pInsert.reset(KyDBStmtHandle::Create(handle));
  m_pText.reset(KyDBStmtHandle::Create(handle));
  if (pView) Describe(pView, iRows);
}

KyDBCursor::~KyDBCursor() = default;

bool KyDBCursor::isODBC() const { return m_pConnection->GetKind() == KyDatabaseConnection::KindODBC; }
bool KyDBCursor::isOCI() const { return m_pConnection->GetKind() == KyDatabaseConnection::KindOCI; }

void KyDBCursor::Describe(KyViewDescription* pView, int iRows) {
  m_strViewName = pView->GetViewName();
  m_Select.Clear();
  m_Scratch.Clear();
  m_Key.Clear();
  m_Position.Clear();
  m_RowKey.Clear();
  m_Parameter.Clear();
  m_KeyColumns.clear();
  if (iRows > 0) m_iRows = iRows;
  for (int i = 0; i < pView->GetColumnCount(); ++i) {
    KySQLCol* column = pView->GetColumn(i);
    auto make = [&]() -> vioType* {
      return column ? vioFactory(m_pConnection, column->GetType(), static_cast<int>(column->GetLength()),
                                 static_cast<int>(column->GetScale()), m_iRows)
                    : nullptr;
    };
    m_Select.Add(make());
    m_Scratch.Add(make());
    for (KyAccessor* accessor : {&m_Select, &m_Scratch})
      if (vioType* value = accessor->GetValue(i); value && value->GetType() == vioTypeBlob)
        static_cast<vioBlob*>(value)->SetName(column->GetName());
  }
  for (int k = 0; k < pView->GetKeyCount(); ++k) {
    KySQLCol* column = pView->GetKeyColumn(k);
    const int index = column ? column->GetIndex() - 1 : -1;
    m_KeyColumns.push_back(index);
    vioType* value = m_Select.GetValue(index);
    m_Key.Add(value);
    m_Parameter.Add(value);
    auto copy = [&]() -> vioType* {
      return column ? vioFactory(m_pConnection, column->GetType(), static_cast<int>(column->GetLength()),
                                 static_cast<int>(column->GetScale()), 1)
                    : nullptr;
    };
    m_Position.Add(copy());
    m_RowKey.Add(copy());
  }
  m_fRowCurrent = 0;
  m_iMaxRows = -1;
  m_iDelivered = 0;
  m_fDescribed = 1;
}

void KyDBCursor::Reconnect(KyDatabaseConnection* pConnection) {
  DropStatements();
  m_pConnection = pConnection;
  for (KyAccessor* accessor : {&m_Select, &m_Scratch, &m_Position, &m_RowKey}) accessor->SetConnection(pConnection);
  KyDBConnHandle* handle = pConnection->GetConnHandle();
  m_pSelect.reset(KyDBStmtHandle::Create(handle));
  m_pDelete.reset(KyDBStmtHandle::Create(handle));
  m_pInsert.reset(KyDBStmtHandle::Create(handle));
  m_pText.reset(KyDBStmtHandle::Create(handle));
}

int KyDBCursor::ApplyStatementOptions(KyDBStmtHandle* pStatement, int fForUpdate) {
  if (!isODBC() || !pStatement) return 0;
  auto* connection = static_cast<KyODBCConnection*>(m_pConnection);
  return connection->GetDefaultOptions()->ApplyToStatement(static_cast<KyODBCStmtHandle*>(pStatement), m_strViewName,
                                                           fForUpdate);
}

int KyDBCursor::prepareOn(KyDBStmtHandle* pStatement, const char* pszText, int fForUpdate) {
  int rc = pStatement->Alloc();
  if (!succeeded(rc)) return rc;
  ApplyStatementOptions(pStatement, fForUpdate);
  return pStatement->Prepare(pszText);
}

void KyDBCursor::DropStatements() {
  for (KyDBStmtHandle* statement : {m_pSelect.get(), m_pDelete.get(), m_pInsert.get()})
    if (statement) statement->Drop();
  m_fRowCurrent = 0;
  m_fFirstRowPending = 0;
  m_iLastDeleteNumber = -1;
  m_fInsertPrepared = false;
  m_Current = KySQLStatement("");
}

void KyDBCursor::CloseSelect() {
  if (m_pSelect) m_pSelect->Close();
  m_fRowCurrent = 0;
  m_fFirstRowPending = 0;
}

bool KyDBCursor::admitRow() {
  if (m_iMaxRows >= 0 && m_iDelivered >= m_iMaxRows) {
    m_iDelivered = 0;
    return false;
  }
  return true;
}

void KyDBCursor::savePosition() { m_Position.CopyFrom(m_Key); }

int KyDBCursor::executeWithLongData(KyDBStmtHandle* pStatement) {
  if (m_Select.CheckBlobs(pStatement->GetError()) < 0) return -1;
  const int rc = pStatement->Execute();
  return rc == SQL_NEED_DATA ? m_Select.PutLongData(pStatement, rc) : rc;
}

int KyDBCursor::rowWithLongData(int iCode) {
  const bool pending = iCode == SQL_NEED_DATA && isOCI();
  if (!succeeded(iCode) && !pending) return iCode;
  if (m_Select.FetchLongData(m_pSelect.get()) < 0) return -1;
  return pending ? SQL_SUCCESS : iCode;
}

int KyDBCursor::prepareSelect(const KySQLStatement& statement, int iOperation, int iCount) {
  m_Current = statement;
  m_fRowCurrent = 0;
  int rc = m_pSelect->Alloc();
  if (!succeeded(rc)) return rc;
  const int forUpdate = statement.IsForUpdate() || statement.GetForUpdateFlag();
  ApplyStatementOptions(m_pSelect.get(), forUpdate);
  if (isOCI() || m_FetchKind != SingleRow) m_pSelect->SetRowsetSize(m_iRows);
  KySQLStatement text = statement;
  if (isODBC() && !m_pConnection->CanSelectForUpdate()) text.RemoveForUpdate();
  rc = m_pSelect->Prepare(text.GetText());
  if (!succeeded(rc) && isODBC() && text.IsForUpdate()) {
    text.RemoveForUpdate();
    rc = m_pSelect->Prepare(text.GetText());
  }
  if (!succeeded(rc)) return rc;
  // Positioning parameters: the leading keys once each for "equal"; for
  // the greater-than forms each branch repeats the leading keys.
  if (iOperation == vioOpEqual) {
    rc = m_Parameter.BindParameters(m_pSelect.get(), 1, iCount, 0);
  } else if (iOperation != vioOpSelectString) {
    int number = 1;
    for (int i = 1; i <= iCount && succeeded(rc); ++i) {
      rc = m_Parameter.BindParameters(m_pSelect.get(), number, i, 0);
      number += i;
    }
  }
  if (!succeeded(rc) && rc != 0) return rc;
  return m_Select.BindColumns(m_pSelect.get());
}

int KyDBCursor::Select(const KySQLStatement& statement, int iOperation, int iCount) {
  m_iDelivered = 0;
  m_fFirstRowPending = 0;
  int rc;
  if (isODBC() && m_pSelect->IsAllocated() && statement.IsSameStatement(m_Current)) {
    m_pSelect->Close();
  } else {
    rc = prepareSelect(statement, iOperation, iCount);
    if (!succeeded(rc)) return rc;
  }
  rc = m_pSelect->Execute();
  if (isODBC()) {
    const char* state = m_pSelect->GetError()->GetSQLState();
    if (state && std::strcmp(state, "40001") == 0) {
      KyMessage::Log("Select returned SQLState [%s]", state);
      CloseSelect();
      return -1;
    }
  }
  if (rc != 0 && rc != 1 && rc != 99) {
    CloseSelect();
    return rc;
  }
  if (isOCI()) {
    // The execute fetched the first row; a maximum of 0 delivers none.
    if (!admitRow()) {
      CloseSelect();
      return 100;
    }
    m_fRowCurrent = 1;
    ++m_iDelivered;
    m_Select.SetFirst();  // one row fetched into the first row of a block
    rc = rowWithLongData(rc);
    if (rc < 0) {
      CloseSelect();
      return rc;
    }
    m_RowKey.CopyFrom(m_Key);
  } else {
    rc = FetchRow();
    if (rc == 100 || rc < 0) {
      CloseSelect();
      return rc;
    }
  }
  m_fFirstRowPending = 1;
  m_fRowCurrent = 1;
  savePosition();
  return rc;
}

int KyDBCursor::FetchNext(int iCount) {
  int rc = 0;
  if (!m_fFirstRowPending) rc = FetchRow();
  m_fFirstRowPending = 0;
  if (rc < 0 || rc == 100) {
    CloseSelect();
    return rc;
  }
  for (int k = 0; k < iCount && k < m_Key.GetCount(); ++k) {
    const vioType* current = m_Key.GetValue(k);
    const vioType* first = m_Position.GetValue(k);
    if (!current || !first) continue;
    if (isOCI() && (current->IsNull() || first->IsNull())) continue;
    if (!current->Equals(*first)) {
      CloseSelect();
      return 100;
    }
  }
  return 0;
}

bool KyDBCursor::IsAtPosition() const { return m_Key.EqualsFirst(m_Key.GetCount(), m_RowKey, false); }

int KyDBCursor::DeleteByStatement(const KySQLStatement& statement, int iNumber) {
  int rc = 0;
  if (iNumber != m_iLastDeleteNumber || !m_pDelete->IsAllocated()) {
    m_pDelete->Close();
    rc = prepareOn(m_pDelete.get(), statement.GetText(), 0);
    if (!succeeded(rc)) return rc;
    m_iLastDeleteNumber = iNumber;
    rc = m_Key.BindParameters(m_pDelete.get(), 1, std::min(markerCount(statement.GetText()), m_Key.GetCount()), 0);
    if (!succeeded(rc) && rc != 0) return rc;
  }
  rc = m_pDelete->Execute();
  if (!succeeded(rc)) return rc == 100 ? -1 : rc;
  return m_pDelete->TouchedRows() ? rc : -1;
}

int KyDBCursor::Insert(const KySQLStatement& statement) {
  int rc = 0;
  if (!m_fInsertPrepared || !m_pInsert->IsAllocated() || m_LastFreeText != statement.GetText()) {
    rc = prepareOn(m_pInsert.get(), statement.GetText(), 0);
    if (!succeeded(rc)) return rc;
    rc = m_Select.BindParameters(m_pInsert.get(), 1, std::min(markerCount(statement.GetText()), m_Select.GetCount()),
                                 0);
    if (!succeeded(rc) && rc != 0) return rc;
    m_fInsertPrepared = true;
    m_LastFreeText = statement.GetText();
  }
  return executeWithLongData(m_pInsert.get());
}

int KyDBCursor::ExecuteText(const KySQLStatement& statement) {
  int rc = prepareOn(m_pText.get(), statement.GetText(), 0);
  if (!succeeded(rc)) return rc;
  rc = m_Select.BindParameters(m_pText.get(), 1, std::min(markerCount(statement.GetText()), m_Select.GetCount()), 0);
  if (!succeeded(rc) && rc != 0) return rc;
  rc = executeWithLongData(m_pText.get());
  if (!succeeded(rc)) return rc == 100 ? -1 : rc;
  if (!m_pText->TouchedRows()) return -1;
  m_pText->Close();
  m_pText->Drop();
  return 0;
}

int KyDBCursor::ExecSql(const char* pszText, bool fRepeat) {
  int rc = 0;
  if (!fRepeat || !m_pText->IsAllocated()) {
    m_pText->Close();
    m_pText->Drop();
    rc = m_pText->Alloc();
    if (!succeeded(rc)) return rc;
    ApplyStatementOptions(m_pText.get(), 0);
  } else {
    m_pText->Close();
  }
  rc = m_pText->Prepare(pszText);
  if (succeeded(rc)) rc = m_pText->Execute();
  return rc == 1 ? 0 : rc;
}

bool KyDBCursor::IsReadOnlyCursor() {
  if (!isODBC() || !m_pSelect->IsAllocated()) return false;
  auto* statement = static_cast<KyODBCStmtHandle*>(m_pSelect.get());
  KyODBC* odbc = statement->GetODBC();
  SQLULEN concurrency = SQL_CONCUR_READ_ONLY, cursorType = SQL_CURSOR_FORWARD_ONLY;
  odbc->SQLGetStmtAttr(statement->GetHSTMT(), SQL_ATTR_CONCURRENCY, &concurrency, SQL_IS_UINTEGER, nullptr);
  odbc->SQLGetStmtAttr(statement->GetHSTMT(), SQL_ATTR_CURSOR_TYPE, &cursorType, SQL_IS_UINTEGER, nullptr);
  return cursorType == SQL_CURSOR_FORWARD_ONLY || concurrency == SQL_CONCUR_READ_ONLY;
}

KyDBCursorSimple::KyDBCursorSimple(KyDatabaseConnection* pConnection, KyViewDescription* pView, int iRows)
    : KyDBCursor(pConnection, pView, iRows, SingleRow),
      m_pUpdate(KyDBStmtHandle::Create(pConnection->GetConnHandle())) {}

// A maximum row count delivers exactly that many rows.
int KyDBCursorSimple::FetchRow() {
  m_Select.ClearForFetch();
  if (!admitRow()) return 100;
  const int rc = rowWithLongData(m_pSelect->Fetch());
  if (succeeded(rc)) {
    ++m_iDelivered;
    m_fRowCurrent = 1;
    m_Select.SetFirst();
    m_RowKey.CopyFrom(m_Key);
  } else {
    m_fRowCurrent = 0;
  }
  return rc;
}

void KyDBCursorSimple::DropStatements() {
  if (m_pUpdate) m_pUpdate->Drop();
  m_strUpdateText.Empty();
  m_strDeleteText.Empty();
  KyDBCursor::DropStatements();
}

// Delete and update of the current row go by the key values as fetched, so
// that a key the program changed since does not pick another row.
int KyDBCursorSimple::Delete(const KySQLStatement& statement) {
  int rc = 0;
  if (!m_pDelete->IsAllocated() || m_strDeleteText != statement.GetText()) {
    rc = prepareOn(m_pDelete.get(), statement.GetText(), 0);
    if (!succeeded(rc)) return rc;
    rc = m_RowKey.BindParameters(m_pDelete.get(), 1, m_RowKey.GetCount(), 0);
    if (!succeeded(rc) && rc != 0) return rc;
    m_strDeleteText = statement.GetText();
    m_iLastDeleteNumber = -1;
  }
  rc = m_pDelete->Execute();
  if (!succeeded(rc)) return rc == 100 ? -1 : rc;
  return m_pDelete->TouchedRows() ? rc : -1;
}

int KyDBCursorSimple::Update(const KySQLStatement& statement, int) {
  int rc = 0;
  if (!m_pUpdate->IsAllocated() || m_strUpdateText != statement.GetText()) {
    rc = prepareOn(m_pUpdate.get(), statement.GetText(), 0);
    if (!succeeded(rc)) return rc;
    const int markers = markerCount(statement.GetText());
    const int values = std::max(0, std::min(markers - m_RowKey.GetCount(), m_Select.GetCount()));
    rc = m_Select.BindParameters(m_pUpdate.get(), 1, values, 0);
    if (succeeded(rc) || rc == 0) rc = m_RowKey.BindParameters(m_pUpdate.get(), values + 1, m_RowKey.GetCount(), 0);
    if (!succeeded(rc) && rc != 0) return rc;
    m_strUpdateText = statement.GetText();
  }
  rc = executeWithLongData(m_pUpdate.get());
  if (!succeeded(rc)) return rc == 100 ? -1 : rc;
  if (!m_pUpdate->TouchedRows()) return -1;
  // The row now has the key it was given.
  m_RowKey.CopyFrom(m_Key);
  return rc;
}

KyODBCCursorExt::KyODBCCursorExt(KyDatabaseConnection* pConnection, KyViewDescription* pView, int iRows)
    : KyDBCursor(pConnection, pView, 1, Extended), m_RowStatus(1) {
  (void)iRows;
}

// An error of the fetch is reported as such, not as the end of the data.
int KyODBCCursorExt::FetchRow() {
  m_Select.ClearForFetch();
  if (!admitRow()) return 100;
  auto* statement = static_cast<KyODBCStmtHandle*>(m_pSelect.get());
  SQLULEN fetched = 0;
  const int rc = statement->Check(statement->GetODBC()->SQLExtendedFetch(statement->GetHSTMT(), SQL_FETCH_NEXT, 1,
                                                                         &fetched, m_RowStatus.data()),
                                  "SQLExtendedFetch");
  if (succeeded(rc)) {
    ++m_iDelivered;
    m_fRowCurrent = static_cast<int>(fetched);
    m_Select.SetFirst();
    m_RowKey.CopyFrom(m_Key);
  } else {
    m_fRowCurrent = 0;
  }
  return rc;
}

int KyODBCCursorExt::Delete(const KySQLStatement&) {
  auto* statement = static_cast<KyODBCStmtHandle*>(m_pSelect.get());
  const int rc = statement->Check(
      statement->GetODBC()->SQLSetPos(statement->GetHSTMT(), 1, SQL_DELETE, SQL_LOCK_NO_CHANGE), "SQLSetPos DELETE");
  if (!succeeded(rc)) return rc;
  return statement->GetError()->RowsTouched() ? rc : -1;  // SQLSTATE 01S03
}

int KyODBCCursorExt::Update(const KySQLStatement&, int) {
  auto* statement = static_cast<KyODBCStmtHandle*>(m_pSelect.get());
  // Unchanged key columns stay out of the update.
  std::vector<SQLLEN> saved;
  const bool keyUnchanged = IsAtPosition();
  if (keyUnchanged)
    for (int k = 0; k < m_Key.GetCount(); ++k)
      saved.push_back(m_Key.GetValue(k) ? m_Key.GetValue(k)->ExchangeIndicator(SQL_IGNORE) : 0);
  const int rc = statement->Check(
      statement->GetODBC()->SQLSetPos(statement->GetHSTMT(), 1, SQL_UPDATE, SQL_LOCK_NO_CHANGE), "SQLSetPos UPDATE");
  if (keyUnchanged)
    for (int k = 0; k < m_Key.GetCount(); ++k)
      if (m_Key.GetValue(k)) m_Key.GetValue(k)->ExchangeIndicator(saved[static_cast<size_t>(k)]);
  if (!succeeded(rc)) return rc;
  return statement->GetError()->RowsTouched() ? rc : -1;  // SQLSTATE 01S03
}
