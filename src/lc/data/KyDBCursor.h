// KyDBCursor: runs the statements of one view on one connection: the
// select with its positioning parameters, fetching into the view's column
// values, positioned delete and update of the current row, inserts and
// statements by text. KyDBCursorSimple fetches one row at a time and
// updates and deletes through statements of its own, keyed on the current
// row's key values as fetched; KyODBCCursorExt fetches with SQLExtendedFetch
// and positions with SQLSetPos.
//
// Accessors: select (one value per view column), scratch (the same shape),
// key (the select values of the key columns), position (the key values of
// the row fetched last) and parameter (the key values bound to positioning
// parameters).
#pragma once

#include "KyAccessor.h"
#include "KySQLStatement.h"

#include <memory>
#include <vector>

class KyDatabaseConnection;
class KyDBStmtHandle;
class KyViewDescription;

// The operation code generated code passes with a select.
enum VIO_OP_CODE { vioOpNext = 0, vioOpEqual = 2, vioOpGreater = 3, vioOpSelectString = 8 };

class KyDBCursor {
 public:
  enum FetchKind { SingleRow = 0, Extended = 1, Rowset = 2 };

  KyDBCursor(KyDatabaseConnection* pConnection, KyViewDescription* pView, int iRows, FetchKind kind);
  virtual int FetchRow() = 0;
  virtual ~KyDBCursor();
  virtual int Select(const KySQLStatement& statement, int iOperation, int iCount);
  virtual int Delete(const KySQLStatement& statement) = 0;
  virtual int Update(const KySQLStatement& statement, int iRow) = 0;
  virtual void DropStatements();
  // Whether an update runs through the select statement's cursor.
  virtual bool UpdatesThroughSelect() const { return false; }

  // The next row; 100 (and the cursor closed) at the end or when one of the
  // first iCount key values changed.
  int FetchNext(int iCount);
  int DeleteByStatement(const KySQLStatement& statement, int iNumber);
  int Insert(const KySQLStatement& statement);
  int ExecuteText(const KySQLStatement& statement);
  // A free statement on the text statement handle; fRepeat keeps it
  // prepared. Answers the code (1 counts as 0).
  int ExecSql(const char* pszText, bool fRepeat);
  void Describe(KyViewDescription* pView, int iRows);
  void Reconnect(KyDatabaseConnection* pConnection);
  // ODBC: the select statement is forward-only or read-only.
  bool IsReadOnlyCursor();
  // The key of the current row is that of the saved position again.
  bool IsAtPosition() const;
  int ApplyStatementOptions(KyDBStmtHandle* pStatement, int fForUpdate);
  // The maximum number of rows a select delivers (-1 unlimited).
  void SetMaxRows(int iMax) { m_iMaxRows = iMax; }
  void CloseSelect();
  bool HasOpenResult() const { return m_fRowCurrent != 0; }

  KyAccessor& GetSelectAccessor() { return m_Select; }
  KyAccessor& GetScratchAccessor() { return m_Scratch; }
  KyAccessor& GetKeyAccessor() { return m_Key; }
  KyAccessor& GetPositionAccessor() { return m_Position; }
  KyDBStmtHandle* GetSelectStatement() { return m_pSelect.get(); }
  KyDBStmtHandle* GetInsertStatement() { return m_pInsert.get(); }
  KyDBStmtHandle* GetDeleteStatement() { return m_pDelete.get(); }
  KyDBStmtHandle* GetTextStatement() { return m_pText.get(); }
  virtual KyDBStmtHandle* GetUpdateStatement() { return nullptr; }
  const KySQLStatement& GetCurrentStatement() const { return m_Current; }
  int IsDescribed() const { return m_fDescribed; }
  void SetDescribed() { m_fDescribed = 1; }
  KyDatabaseConnection* GetConnection() const { return m_pConnection; }

 protected:
  bool isODBC() const;
  bool isOCI() const;
  static int markerCount(const char* pszText);
  // Allocates, applies the statement options and prepares the text.
  int prepareOn(KyDBStmtHandle* pStatement, const char* pszText, int fForUpdate);
  int prepareSelect(const KySQLStatement& statement, int iOperation, int iCount);
  // Executes a statement whose parameters include the select values: long
  // binary values are checked first (CheckBlobs) and their pieces sent
  // when the execute asks for them.
  int executeWithLongData(KyDBStmtHandle* pStatement);
  // A row came (OCI: 99 while its long values wait to be read): the long
  // binary values read their columns. 0 or 1 for a row, -1 when a long
  // value could not be read; other codes unchanged.
  int rowWithLongData(int iCode);
  // Counts the row against the maximum: false when the maximum was reached
  // (the counter starts again).
  bool admitRow();
  void savePosition();

  KyDatabaseConnection* m_pConnection;
  KyString m_strViewName;
  std::unique_ptr<KyDBStmtHandle> m_pSelect;
  std::unique_ptr<KyDBStmtHandle> m_pDelete;
  std::unique_ptr<KyDBStmtHandle> m_pInsert;
  std::unique_ptr<KyDBStmtHandle> m_pText;
  KySQLStatement m_Current{""};
  KyAccessor m_Select;
  KyAccessor m_Scratch;
  KyAccessor m_Key{false};
  KyAccessor m_Position;
  KyAccessor m_RowKey;  // the key values of the row fetched last
  KyAccessor m_Parameter{false};
  std::vector<int> m_KeyColumns;  // select index of each key
  int m_iRows;
  int m_fRowCurrent = 0;
  int m_iDelivered = 0;
  int m_iMaxRows = -1;
  int m_fFirstRowPending = 0;
  FetchKind m_FetchKind;
  int m_iLastDeleteNumber = -1;
  int m_fDescribed = 0;
  bool m_fInsertPrepared = false;
  KyString m_LastFreeText;
};

class KyDBCursorSimple : public KyDBCursor {
 public:
  KyDBCursorSimple(KyDatabaseConnection* pConnection, KyViewDescription* pView, int iRows);
  int FetchRow() override;
  int Delete(const KySQLStatement& statement) override;
  int Update(const KySQLStatement& statement, int iRow) override;
  void DropStatements() override;
  KyDBStmtHandle* GetUpdateStatement() override { return m_pUpdate.get(); }

 protected:
  std::unique_ptr<KyDBStmtHandle> m_pUpdate;
  KyString m_strDeleteText;
  KyString m_strUpdateText;
};

class KyODBCCursorExt : public KyDBCursor {
 public:
  KyODBCCursorExt(KyDatabaseConnection* pConnection, KyViewDescription* pView, int iRows);
  int FetchRow() override;
  int Delete(const KySQLStatement& statement) override;
  int Update(const KySQLStatement& statement, int iRow) override;
  bool UpdatesThroughSelect() const override { return true; }
  KyDBStmtHandle* GetUpdateStatement() override { return m_pSelect.get(); }

 private:
  std::vector<SQLUSMALLINT> m_RowStatus;
};
