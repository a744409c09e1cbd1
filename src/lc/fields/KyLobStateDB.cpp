// The database state: content in a column of an open statement. Reading
// takes the column's bytes piece by piece (SQLGetData); writing fills a
// parameter the statement was executed with as data at execution: BeginPut
// asks for the parameter that needs data, the pieces follow, the last
// piece completes the statement.

#include "KyDBHandles.h"
#include "KyLobState.h"

namespace {

// The library's "success" and "success with information" (a piece that
// did not hold all the column's bytes), and ODBC's end of data.
bool succeeded(int iCode) { return iCode == 0 || iCode == 1; }

constexpr int kNoData = 100;
constexpr int kNeedData = 99;

bool isOCI(const KyDBStmtHandle* pStatement) { return dynamic_cast<const KyOCIStmtHandle*>(pStatement) != nullptr; }

}  // namespace

KyLobStateDB::KyLobStateDB(KyDBStmtHandle* pStatement, WORD wColumn, WORD wColumnType)
    : KyLobState(Database), m_pStatement(pStatement), m_wColumn(wColumn), m_wColumnType(wColumnType) {}

int KyLobStateDB::failWithStatement() {
  KyDBError* pError = m_pStatement ? m_pStatement->GetError() : nullptr;
  m_ErrorText = pError ? pError->GetErrorMsg() : "";
  if (m_ErrorText.IsEmpty()) m_ErrorText.Format("Database call returned %d", m_iLastCode);
  return 0;
}

int KyLobStateDB::GetPiece(void* pBuffer, LONG iWanted, LONG* piGot, LONGLONG lOffset) {
  *piGot = 0;
  if (!m_pStatement) return failWithStatement();
  // A read that failed before ends the column: no further read is made.
  if (lOffset != 0 && !succeeded(m_iLastCode) && m_iLastCode != kNeedData)
    return m_iLastCode == kNoData ? 1 : failWithStatement();
  // OCI completes the row with the column's last piece: nothing follows.
  if (lOffset != 0 && m_iLastCode == 0 && isOCI(m_pStatement)) return 1;
  SQLLEN got = 0;
  m_iLastCode = m_pStatement->GetData(m_wColumn, static_cast<SHORT>(m_wColumnType), pBuffer, iWanted, &got);
  if (m_iLastCode == kNoData) return 1;  // all was read: an empty last piece
  if (!succeeded(m_iLastCode) && !(m_iLastCode == kNeedData && isOCI(m_pStatement))) return failWithStatement();
  *piGot = static_cast<LONG>(got);
  return 1;
}

int KyLobStateDB::BeginPut(LONG) {
  if (!m_pStatement) return failWithStatement();
  if (isOCI(m_pStatement)) return 1;  // the pieces drive the statement
  void* token = nullptr;
  m_iLastCode = m_pStatement->NextDataRequest(&token);
  return m_iLastCode == kNeedData || succeeded(m_iLastCode) ? 1 : failWithStatement();
}

int KyLobStateDB::PutPiece(const void* pBuffer, LONG iSize, LONGLONG lOffset, int fLast) {
  if (!m_pStatement) return failWithStatement();
  void* bytes = const_cast<void*>(pBuffer);
  if (isOCI(m_pStatement)) {
    m_iLastCode = m_pStatement->PutData(bytes, iSize, fLast);
  } else if (iSize > 0 || (lOffset == 0 && fLast)) {
    // ODBC: an empty whole content is sent as it is; an empty last piece
    // only completes the statement.
    m_iLastCode = m_pStatement->PutData(bytes, iSize, !fLast);
  } else {
    m_iLastCode = fLast ? m_pStatement->ParamData() : 0;
  }
  // After the last piece ODBC may ask for the next data-at-execution
  // parameter (99): this column is complete all the same.
  return succeeded(m_iLastCode) || m_iLastCode == kNeedData ? 1 : failWithStatement();
}
