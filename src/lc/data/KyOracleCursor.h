// KyOracleCursor: the single-row cursor of OCI connections whose view has
// positioned update on. After each row it reads the row's Oracle row id
// into a descriptor of its own; delete and update of the current row run
// the view's statement with its condition replaced by "rowid = :m_rowid"
// and that row id bound, so they reach exactly the row fetched.
#pragma once

#include "KyDBCursor.h"

#include <oci.h>

class KyOracleCursor : public KyDBCursorSimple {
 public:
  KyOracleCursor(KyDatabaseConnection* pConnection, KyViewDescription* pView, int iRows);
  ~KyOracleCursor() override;
  int FetchRow() override;
  int Select(const KySQLStatement& statement, int iOperation, int iCount) override;
  int Delete(const KySQLStatement& statement) override;
  int Update(const KySQLStatement& statement, int iRow) override;
  // Frees the row-id descriptor first.
  void DropStatements() override;

 private:
  // The descriptor, allocated on first use in the connection's environment.
  OCIRowid* rowIdDescriptor();
  void freeRowId();
  // Reads the current row's row id ("OCIAttrGet").
  int readRowId();
  int bindRowId(KyDBStmtHandle* pStatement);

  OCIRowid* m_pRowId = nullptr;
  bool m_fRowIdRead = false;
};
