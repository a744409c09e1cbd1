// KyODBCCursorFat: blocks of rows through SQLExtendedFetch.
#include "KyODBCCursorFat.h"

#include "KyDBHandles.h"
#include "KyODBCConnection.h"

namespace {
bool succeeded(int rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }
}  // namespace

KyODBCCursorFat::KyODBCCursorFat(KyDatabaseConnection* pConnection, KyViewDescription* pView, int iRows)
    : KyDBCursor(pConnection, pView, iRows, Rowset), m_RowStatus(static_cast<size_t>(std::max(iRows, 1))) {
  // The blocks are bound column by column.
  auto* handle = static_cast<KyODBCConnHandle*>(pConnection->GetConnHandle());
  if (handle && handle->GetHDBC())
    handle->Check(handle->GetODBC()->SQLSetConnectOption(handle->GetHDBC(), SQL_BIND_TYPE, SQL_BIND_BY_COLUMN),
                  "SQLSetConnectOption");
}

int KyODBCCursorFat::Select(const KySQLStatement& statement, int iOperation, int iCount) {
  // The block may have grown with a new description.
  if (m_RowStatus.size() < static_cast<size_t>(m_iRows)) m_RowStatus.resize(static_cast<size_t>(m_iRows));
  m_nFetched = 0;
  m_iCurrentRow = 1;
  m_iDeliveredRow = 0;
  return KyDBCursor::Select(statement, iOperation, iCount);
}

int KyODBCCursorFat::fetchBlock() {
  auto* statement = static_cast<KyODBCStmtHandle*>(m_pSelect.get());
  m_nFetched = 0;
  const int rc = statement->Check(statement->GetODBC()->SQLExtendedFetch(statement->GetHSTMT(), SQL_FETCH_NEXT, 0,
                                                                         &m_nFetched, m_RowStatus.data()),
                                  "SQLExtendedFetch");
  m_iCurrentRow = 1;
  m_Select.SetFirst();
  if (m_nFetched > m_RowStatus.size()) m_nFetched = m_RowStatus.size();
  return rc;
}

int KyODBCCursorFat::setPos(SQLUSMALLINT nOperation, const char* pszCallName) {
  auto* statement = static_cast<KyODBCStmtHandle*>(m_pSelect.get());
  return statement->Check(statement->GetODBC()->SQLSetPos(statement->GetHSTMT(), static_cast<SQLSETPOSIROW>(m_iCurrentRow),
                                                          nOperation, SQL_LOCK_NO_CHANGE),
                          pszCallName);
}

int KyODBCCursorFat::FetchRow() {
  if (!admitRow()) return 100;
  for (;;) {
    if (m_nFetched == 0 || m_iCurrentRow > static_cast<int>(m_nFetched)) {
      const int rc = fetchBlock();
      if (!succeeded(rc)) {
        m_fRowCurrent = 0;
        return rc;
      }
      if (m_nFetched == 0) return 100;
    }
    SQLUSMALLINT status = m_RowStatus[static_cast<size_t>(m_iCurrentRow - 1)];
    if (status == SQL_ROW_UPDATED || status == SQL_ROW_ADDED) {
      const int rc = setPos(SQL_REFRESH, "SQLSetPos REFRESH");
      if (!succeeded(rc)) return rc;
      status = m_RowStatus[static_cast<size_t>(m_iCurrentRow - 1)];
      if (status == SQL_ROW_UPDATED || status == SQL_ROW_ADDED) status = SQL_ROW_SUCCESS;  // refreshed as it is
    }
    if (status == SQL_ROW_DELETED) {
      ++m_iCurrentRow;
      continue;
    }
    if (status == SQL_ROW_NOROW) return 100;
    if (status == SQL_ROW_ERROR) {
      ++m_iCurrentRow;
      return -1;
    }
    m_Select.SetRow(m_iCurrentRow - 1);
    m_iDeliveredRow = m_iCurrentRow++;
    ++m_iDelivered;
    m_fRowCurrent = 1;
    m_RowKey.CopyFrom(m_Key);
    return 0;
  }
}

int KyODBCCursorFat::Delete(const KySQLStatement&) {
  if (m_iDeliveredRow == 0) return -1;
  SQLUSMALLINT& status = m_RowStatus[static_cast<size_t>(m_iDeliveredRow - 1)];
  // A row this cursor deleted is not there to delete again, whatever the
  // driver would say.
  if (status == SQL_ROW_DELETED) {
    m_pSelect->GetError()->Report(-1, "SQLSetPos DELETE", "The row has been deleted.");
    return -1;
  }
  const int next = m_iCurrentRow;
  m_iCurrentRow = m_iDeliveredRow;
  const int rc = setPos(SQL_DELETE, "SQLSetPos DELETE");
  m_iCurrentRow = next;
  if (!succeeded(rc)) return rc;
  if (!m_pSelect->GetError()->RowsTouched()) return -1;  // SQLSTATE 01S03
  status = SQL_ROW_DELETED;
  return rc;
}

int KyODBCCursorFat::Update(const KySQLStatement&, int) {
  if (m_iDeliveredRow == 0) return -1;
  // The program's values go into the block row SQLSetPos sends; unchanged
  // key columns stay out of the update.
  std::vector<SQLLEN> saved;
  const bool keyUnchanged = IsAtPosition();
  if (keyUnchanged)
    for (int k = 0; k < m_Key.GetCount(); ++k)
      saved.push_back(m_Key.GetValue(k) ? m_Key.GetValue(k)->ExchangeIndicator(SQL_IGNORE) : 0);
  m_Select.StoreRows();
  const int next = m_iCurrentRow;
  m_iCurrentRow = m_iDeliveredRow;
  const int rc = setPos(SQL_UPDATE, "SQLSetPos UPDATE");
  m_iCurrentRow = next;
  if (keyUnchanged) {
    for (int k = 0; k < m_Key.GetCount(); ++k)
      if (m_Key.GetValue(k)) m_Key.GetValue(k)->ExchangeIndicator(saved[static_cast<size_t>(k)]);
    m_Select.StoreRows();
  }
  if (!succeeded(rc)) return rc;
  return m_pSelect->GetError()->RowsTouched() ? rc : -1;  // SQLSTATE 01S03
}
