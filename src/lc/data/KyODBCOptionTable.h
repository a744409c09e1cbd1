// KyODBCOptionTable: the names of ODBC connection and statement options
// (kind 0, ODBC 2) or attributes (kind 1, ODBC 3) that INI option keys use,
// with their ids, value kinds and named values, and the resolution of an
// INI pair (name, value text) into an option id and value.
#pragma once

#include "KyString.h"

struct KyODBCNamedValue {
  const char* name;
  long value;
};

struct KyODBCOptionEntry {
  enum ValueKind { Text = 0, Number = 1, Named = 2 };
  const char* name;
  int id;
  const char* odbc2Name;  // attributes: the ODBC 2 option a driver without ODBC 3 takes
  int odbc2Id;            // -1: none
  ValueKind kind;
  const KyODBCNamedValue* values;
  int valueCount;
  // Passed with the value: SQL_NTS for texts, SQL_IS_UINTEGER otherwise.
  int LengthIndicator() const;
};

// An INI pair resolved into an option.
struct KyODBCResolvedOption {
  int id = 0;
  long number = 0;
  KyString text;
  bool isText = false;
  int lengthIndicator = 0;
};

class KyODBCOptionTable {
 public:
  enum Kind { ODBC2Options = 0, ODBC3Attributes = 1 };
  explicit KyODBCOptionTable(Kind kind);

  Kind GetKind() const { return m_Kind; }
  // Exact, case-sensitive; the connection entries first, then the
  // statement entries. Null when absent.
  const KyODBCOptionEntry* FindByName(const char* pszName) const;
  const KyODBCOptionEntry* FindById(int iId) const;
  // -1 when the name is in neither array.
  int GetLengthIndicator(const char* pszName) const;
  // The ODBC 2 id of an attribute id; false when it has none.
  bool GetODBC2Id(int iId, int* piODBC2Id) const;
  // Resolves (name, value text); false when the name names no option (the
  // caller skips the pair). A name that is no entry is read as a number:
  // the digits after its first '#', or the whole text.
  bool Resolve(const char* pszName, const char* pszValue, KyODBCResolvedOption* pOption) const;

 private:
  Kind m_Kind;
  const KyODBCOptionEntry* m_pConnection;
  int m_iConnectionCount;
  const KyODBCOptionEntry* m_pStatement;
  int m_iStatementCount;
};
