// KyOracleCursor: positioned delete and update by row id.
#include "KyOracleCursor.h"

#include "KyDBHandles.h"
#include "KyDatabaseConnection.h"

#include <algorithm>

namespace {
bool succeeded(int rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }
}  // namespace

KyOracleCursor::KyOracleCursor(KyDatabaseConnection* pConnection, KyViewDescription* pView, int iRows)
    : KyDBCursorSimple(pConnection, pView, iRows) {}

KyOracleCursor::~KyOracleCursor() { freeRowId(); }

OCIRowid* KyOracleCursor::rowIdDescriptor() {
  if (m_pRowId) return m_pRowId;
  auto* handle = static_cast<KyOCIConnHandle*>(m_pConnection->GetConnHandle());
  if (!handle || !handle->GetEnvironment()) return nullptr;
  void* descriptor = nullptr;
  const int rc = handle->Check(
      handle->GetOCI()->OCIDescriptorAlloc(handle->GetEnvironment(), &descriptor, OCI_DTYPE_ROWID, 0, nullptr),
      "OCIDescriptorAlloc");
  if (succeeded(rc)) m_pRowId = static_cast<OCIRowid*>(descriptor);
  return m_pRowId;
}

void KyOracleCursor::freeRowId() {
  if (!m_pRowId) return;
  auto* handle = static_cast<KyOCIConnHandle*>(m_pConnection->GetConnHandle());
  if (handle) handle->GetOCI()->OCIDescriptorFree(m_pRowId, OCI_DTYPE_ROWID);
  m_pRowId = nullptr;
  m_fRowIdRead = false;
}

void KyOracleCursor::DropStatements() {
  freeRowId();
  KyDBCursorSimple::DropStatements();
}

int KyOracleCursor::readRowId() {
  m_fRowIdRead = false;
  OCIRowid* rowid = rowIdDescriptor();
  if (!rowid) return -1;
  auto* statement = static_cast<KyOCIStmtHandle*>(m_pSelect.get());
  const int rc = statement->Check(statement->GetOCI()->OCIAttrGet(statement->GetStatement(), OCI_HTYPE_STMT, rowid,
                                                                  nullptr, OCI_ATTR_ROWID, statement->GetErrorHandle()),
                                  "OCIAttrGet");
  m_fRowIdRead = succeeded(rc);
  return rc;
}

int KyOracleCursor::Select(const KySQLStatement& statement, int iOperation, int iCount) {
  const int rc = KyDBCursorSimple::Select(statement, iOperation, iCount);
  if (succeeded(rc)) readRowId();
  return rc;
}

int KyOracleCursor::FetchRow() {
  const int rc = KyDBCursorSimple::FetchRow();
  if (succeeded(rc)) readRowId();
  return rc;
}

int KyOracleCursor::bindRowId(KyDBStmtHandle* pStatement) {
  // A row whose id could not be read has no position to act on.
  if (!m_fRowIdRead) {
    pStatement->GetError()->Report(-1, "OCIBindByName", "The current row has no row id.");
    return -1;
  }
  return pStatement->BindParamByName(":m_rowid", m_pRowId, 4, SQLT_RDD, nullptr, nullptr);
}

int KyOracleCursor::Delete(const KySQLStatement& statement) {
  KySQLStatement byRowId = statement;
  byRowId.AddRowIdCondition();
  int rc = prepareOn(m_pDelete.get(), byRowId.GetText(), 0);
  if (!succeeded(rc)) return rc;
  m_iLastDeleteNumber = -1;
  rc = bindRowId(m_pDelete.get());
  if (!succeeded(rc)) return rc;
  rc = m_pDelete->Execute();
  if (!succeeded(rc)) return rc == 100 ? -1 : rc;
  return m_pDelete->TouchedRows() ? rc : -1;
}

int KyOracleCursor::Update(const KySQLStatement& statement, int) {
  KySQLStatement byRowId = statement;
  byRowId.AddRowIdCondition();
  int rc = prepareOn(m_pUpdate.get(), byRowId.GetText(), 0);
  if (!succeeded(rc)) return rc;
  m_strUpdateText.Empty();
  const int values = std::min(markerCount(byRowId.GetText()), m_Select.GetCount());
  rc = m_Select.BindParameters(m_pUpdate.get(), 1, values, 0);
  if (!succeeded(rc) && rc != 0) return rc;
  rc = bindRowId(m_pUpdate.get());
  if (!succeeded(rc)) return rc;
  rc = executeWithLongData(m_pUpdate.get());
  if (!succeeded(rc)) return rc == 100 ? -1 : rc;
  if (!m_pUpdate->TouchedRows()) return -1;
  m_RowKey.CopyFrom(m_Key);
  return rc;
}
