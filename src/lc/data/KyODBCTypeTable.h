// KyODBCTypeTable: the SQL type an ODBC connection's driver takes for each
// column kind (VIO_TYPE), chosen after connecting from SQLGetTypeInfo: the
// preferred type, else its alternatives, else VARCHAR, else LONGVARCHAR.
// Beside it, the C type that binds each column kind and the column size a
// parameter takes when the driver chose another type.
#pragma once

#include <sqlext.h>

class KyODBC;

struct KyODBCTypeEntry {
  char szName[32];
  SQLSMALLINT nPreferred;
  SQLSMALLINT nAlternative1;
  SQLSMALLINT nAlternative2;
  SQLSMALLINT nChosen;
  char szTypeName[32];  // the driver's TYPE_NAME
  SQLINTEGER lColumnSize;
};

class KyODBCTypeTable {
 public:
  static constexpr int kEntries = 13;
  KyODBCTypeTable(KyODBC* pBinding, SQLHDBC hConnection);
  // Asks the driver for every entry in order.
  void Build();
  // Null beyond the table.
  const KyODBCTypeEntry* GetEntry(int iVioType) const;
  // The static preferred type of a column kind (0 beyond the table).
  static SQLSMALLINT PreferredType(int iVioType);
  // The C type that binds a column kind.
  static SQLSMALLINT CType(int iVioType);
  // The default column size of a parameter.
  static SQLULEN DefaultSize(int iVioType);

 private:
  bool tryType(KyODBCTypeEntry& entry, SQLSMALLINT nType);

  KyODBCTypeEntry m_Entries[kEntries];
  SQLHDBC m_hConnection;
  KyODBC* m_pBinding;
};
