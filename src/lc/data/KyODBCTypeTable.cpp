// KyODBCTypeTable: the driver's types for the column kinds.
#include "KyODBCTypeTable.h"

#include "KyDBCLI.h"

#include <cstring>
#include <iterator>

namespace {

// By VIO_TYPE: name, preferred, alternatives, initial chosen type.
constexpr KyODBCTypeEntry kInitial[KyODBCTypeTable::kEntries] = {
    {"char", SQL_CHAR, 0, 0, 0, "", 0},
    {"varchar", SQL_VARCHAR, SQL_CHAR, 0, 0, "", 0},
    {"numeric", SQL_NUMERIC, SQL_DECIMAL, SQL_CHAR, 0, "", 0},
    {"integer", SQL_INTEGER, SQL_CHAR, 0, 0, "", 0},
    {"smallint", SQL_SMALLINT, SQL_CHAR, 0, 0, "", 0},
    {"float", SQL_FLOAT, SQL_DOUBLE, SQL_CHAR, 0, "", 0},
    {"date", SQL_DATE, SQL_TIMESTAMP, SQL_CHAR, 0, "", 0},
    {"time", SQL_TIME, -154, SQL_TIMESTAMP, 1, "", 0},
    {"timestamp", SQL_TIMESTAMP, SQL_CHAR, 0, 0, "", 0},
    {"long binary", SQL_LONGVARBINARY, SQL_LONGVARCHAR, 0, 0, "", 0},
    {"money", SQL_DECIMAL, SQL_NUMERIC, 0, 0, "", 0},
    {"longvarchar", SQL_LONGVARCHAR, SQL_VARCHAR, SQL_CHAR, 0, "", 0},
    {"bigint", SQL_BIGINT, 0, 0, 0, "", 0},
};

constexpr SQLSMALLINT kCTypes[] = {SQL_C_CHAR, SQL_C_CHAR,   SQL_C_CHAR, SQL_C_LONG,      SQL_C_SHORT,
                                   SQL_C_DOUBLE, SQL_C_DATE, SQL_C_TIME, SQL_C_TIMESTAMP, SQL_C_BINARY,
                                   SQL_C_CHAR, SQL_C_CHAR,   SQL_C_SBIGINT, 0};
constexpr SQLULEN kDefaultSizes[] = {254, 254, 22, 11, 6, 22, 10, 8, 19};

}  // namespace

KyODBCTypeTable::KyODBCTypeTable(KyODBC* pBinding, SQLHDBC hConnection)
    : m_hConnection(hConnection), m_pBinding(pBinding) {
  std::memcpy(m_Entries, kInitial, sizeof m_Entries);
}

bool KyODBCTypeTable::tryType(KyODBCTypeEntry& entry, SQLSMALLINT nType) {
  entry.lColumnSize = 0;
  SQLHSTMT statement = nullptr;
  if (!SQL_SUCCEEDED(m_pBinding->SQLAllocStmt(m_hConnection, &statement))) return false;
  bool found = false;
  if (SQL_SUCCEEDED(m_pBinding->SQLGetTypeInfo(statement, nType)) && SQL_SUCCEEDED(m_pBinding->SQLFetch(statement))) {
    SQLLEN length = 0;
    char name[32] = {};
    m_pBinding->SQLGetData(statement, 1, SQL_C_CHAR, name, sizeof name, &length);
    std::memcpy(entry.szTypeName, name, sizeof name);
    entry.szTypeName[sizeof entry.szTypeName - 1] = '\0';
    entry.nChosen = nType;
    SQLINTEGER size = 0;
    m_pBinding->SQLGetData(statement, 3, SQL_C_LONG, &size, sizeof size, &length);
    entry.lColumnSize = size;
    found = true;
  }
  m_pBinding->SQLFreeStmt(statement, SQL_DROP);
  return found;
}

void KyODBCTypeTable::Build() {
  for (KyODBCTypeEntry& entry : m_Entries) {
    const SQLSMALLINT candidates[] = {entry.nPreferred, entry.nAlternative1, entry.nAlternative2, SQL_VARCHAR};
    bool found = false;
    for (SQLSMALLINT type : candidates) {
      if (type == 0) continue;
      if ((found = tryType(entry, type))) break;
    }
    if (!found) tryType(entry, SQL_LONGVARCHAR);
  }
}

const KyODBCTypeEntry* KyODBCTypeTable::GetEntry(int iVioType) const {
  return iVioType >= 0 && iVioType < kEntries ? &m_Entries[iVioType] : nullptr;
}

SQLSMALLINT KyODBCTypeTable::PreferredType(int iVioType) {
  return iVioType >= 0 && iVioType < kEntries ? kInitial[iVioType].nPreferred : 0;
}

SQLSMALLINT KyODBCTypeTable::CType(int iVioType) {
  return iVioType >= 0 && iVioType < static_cast<int>(std::size(kCTypes)) ? kCTypes[iVioType] : 0;
}

SQLULEN KyODBCTypeTable::DefaultSize(int iVioType) {
  return iVioType >= 0 && iVioType < static_cast<int>(std::size(kDefaultSizes)) ? kDefaultSizes[iVioType] : 254;
}
