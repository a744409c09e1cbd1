// KyViewIO: the view access object through which generated code reads and
// writes one view on one connection. It owns the view's cursor, keeps the
// status generated code reads after each call (0 OK, 1 error, 2 no row,
// 4 end of view) and hands out the column values. Views stay registered
// per thread in a KyWrapperList by "view_wrapper_connection".
#pragma once

#include "KyDBCursor.h"
#include "KyDBError.h"
#include "KySQLStatement.h"
#include "KyViewDescription.h"

#include <memory>

class KyCharFld;
class KyDatabaseConnection;
class KyWrapperList;

class KyViewIO {
 public:
  enum { StatusOK = 0, StatusError = 1, StatusNoRow = 2, StatusEndOfView = 4 };

  explicit KyViewIO(KyDatabaseConnection* pConnection);
  virtual ~KyViewIO();

  int Connect(const char* a, const char* b, const char* c, const char* d, const char* e);
  int Disconnect();
  int Reconnect(KyDatabaseConnection* pConnection);
  int Open() { return 0; }
  int Close();
  int Position(KySQLStatement* pStatement, int iOperation, int n);
  int Position(KySQLStatement* pStatement, int iOperation, int n, int iMaxRows);
  int PositionForUpdate(KySQLStatement* pStatement, int iOperation, int n) { return Position(pStatement, iOperation, n); }
  int SelectAndFetch(KySQLStatement* pStatement, int iOperation, int n);
  int SelectAndFetch(KySQLStatement* pStatement, int iOperation, int n, int iMaxRows);
  int SelectAndFetchForUpdate(KySQLStatement* pStatement, int iOperation, int n) {
    return SelectAndFetch(pStatement, iOperation, n);
  }
  int SelectString(KySQLStatement* pStatement) { return Position(pStatement, vioOpSelectString, 0); }
  int SelectString(KySQLStatement* pStatement, int iMaxRows) {
    return Position(pStatement, vioOpSelectString, 0, iMaxRows);
  }
  int SelectStringForUpdate(KySQLStatement* pStatement) { return SelectString(pStatement); }
  int FetchNext(int n);
  int Fetch(const char* pszText, int iOperation, int n);
  int FetchForUpdate(const char* pszText, int iOperation, int n) { return Fetch(pszText, iOperation, n); }
  int Insert(KySQLStatement* pStatement);
  int Insert(const KyString* pText);
  int Update(KySQLStatement* pStatement, int iFlag);
  int Update(const char* pszText, int iFlag);
  int Delete(KySQLStatement* pStatement, int a, int b);
  int Delete(const KyString* pText, int a, int b);
  int DeleteString(KySQLStatement* pStatement);
  int UpdateString(KySQLStatement* pStatement);
  // Free SQL: the format and its arguments; only the status tells.
  void ExecSql(const char* pszFormat, ...);
  void ExecSqlMaxRow(const char* pszFormat, int iMaxRows, ...);

  // Entry i (1-based) of the select values, or null.
  vioType* GetColumn(int i);
  // The key value of view column i (1-based), or null for a column that is
  // no key.
  vioType* GetKeyColumn(int i);

  SQLHSTMT GetSelectHSTMT();
  SQLHSTMT GetInsertHSTMT();
  SQLHSTMT GetDeleteHSTMT();
  SQLHSTMT GetExecSqlHSTMT();
  SQLHSTMT GetUpdateHSTMT();

  // " " (OK), "INF" (no row), "EOV" (end of view) or "ERR"; the status.
  int KySetVioStatus(KyCharFld& status);
  int GetStatus() const { return m_iStatus; }
  int IsDescribed() const { return m_pCursor && m_pCursor->IsDescribed(); }

  const char* GetErrorMsg();
  int GetErrorMsgLen();
  const LONG* GetNativeError();
  int GetODBCRetcode();
  const char* GetSQLState();

  // Attaches a description and builds the cursor's values from it.
  void SetViewDescription(KyViewDescription* pView, int iRows);
  // One attachment fewer; the description goes at 0.
  void Release();
  // Keeps a description made for this view (by AllocateWrapper) as long as
  // the view lives.
  void AdoptDescription(std::unique_ptr<KyViewDescription> pView) { m_OwnDescriptions.push_back(std::move(pView)); }
  // Makes the cursor when the view has none.
  void PrepareCursor(int iRows);
  KyDatabaseConnection* GetConnection() const { return m_pConnection; }
  KyDBCursor* GetCursor() const { return m_pCursor.get(); }
  void SetWrapperList(KyWrapperList* pList) { m_pWrapperList = pList; }

 protected:
  int DoConnect();

 private:
  KyViewIO(const KyViewIO&) = delete;
  KyViewIO& operator=(const KyViewIO&) = delete;

  // Status 1 and -1 unless the connection is connected.
  bool requireConnection();
  int statusFrom(int rc);
  void runFreeSql(const char* pszText, bool fMaxRow);
  SQLHSTMT odbcHandle(KyDBStmtHandle* pStatement);

  KyViewDescription* m_pView = nullptr;
  std::vector<std::unique_ptr<KyViewDescription>> m_OwnDescriptions;
  int m_iUseCount = 0;
  KyDatabaseConnection* m_pConnection;
  std::unique_ptr<KyDBCursor> m_pCursor;
  int m_iStatus = StatusOK;
  int m_fRowCurrent = 0;
  KyWrapperList* m_pWrapperList = nullptr;
  std::unique_ptr<KySQLStatement> m_pLastSelect;
  int m_iLastOperation = 0;
  int m_iLastCount = 0;
  KyString m_strLastFreeSql;
};
