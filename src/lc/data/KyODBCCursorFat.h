// KyODBCCursorFat: the ODBC cursor of views with positioned update and more
// than one row per fetch. One SQLExtendedFetch fills a block (rowset) of
// rows into the multi-row column values; rows are then delivered one by one
// from the block, skipping rows the driver reports deleted and refreshing
// rows it reports updated or added. Positioned delete and update act
// through SQLSetPos on the row last delivered.
#pragma once

#include "KyDBCursor.h"

class KyODBCCursorFat : public KyDBCursor {
 public:
  KyODBCCursorFat(KyDatabaseConnection* pConnection, KyViewDescription* pView, int iRows);
  int FetchRow() override;
  int Select(const KySQLStatement& statement, int iOperation, int iCount) override;
  int Delete(const KySQLStatement& statement) override;
  int Update(const KySQLStatement& statement, int iRow) override;
  bool UpdatesThroughSelect() const override { return true; }
  KyDBStmtHandle* GetUpdateStatement() override { return m_pSelect.get(); }

 private:
  // The next block; its code (100 at the end).
  int fetchBlock();
  int setPos(SQLUSMALLINT nOperation, const char* pszCallName);

  std::vector<SQLUSMALLINT> m_RowStatus;
  SQLULEN m_nFetched = 0;    // rows of the current block
  int m_iCurrentRow = 1;     // the block row looked at next (1-based)
  int m_iDeliveredRow = 0;   // the block row delivered last (1-based; 0 none)
};
