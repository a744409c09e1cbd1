// The option-name tables: names and values as the ODBC headers define them.
#include "KyODBCOptionTable.h"

#include <sqlext.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

using E = KyODBCOptionEntry;

#define KY_VALUES(name, ...) constexpr KyODBCNamedValue name[] = {__VA_ARGS__};
KY_VALUES(accessMode, {"SQL_MODE_READ_WRITE", 0}, {"SQL_MODE_READ_ONLY", 1}, {"SQL_MODE_DEFAULT", 0})
KY_VALUES(autocommit, {"SQL_AUTOCOMMIT_OFF", 0}, {"SQL_AUTOCOMMIT_ON", 1}, {"SQL_AUTOCOMMIT_DEFAULT", 1})
KY_VALUES(loginTimeout, {"SQL_LOGIN_TIMEOUT_DEFAULT", 15})
KY_VALUES(trace, {"SQL_OPT_TRACE_OFF", 0}, {"SQL_OPT_TRACE_ON", 1}, {"SQL_OPT_TRACE_DEFAULT", 0})
KY_VALUES(odbcCursors, {"SQL_CUR_USE_IF_NEEDED", 0}, {"SQL_CUR_USE_ODBC", 1}, {"SQL_CUR_USE_DRIVER", 2},
          {"SQL_CUR_DEFAULT", 2})
KY_VALUES(isolation2, {"SQL_TXN_READ_UNCOMMITTED", 1}, {"SQL_TXN_READ_COMMITTED", 2},
          {"SQL_TXN_REPEATABLE_READ", 4}, {"SQL_TXN_SERIALIZABLE", 8})
KY_VALUES(isolation3, {"SQL_TRANSACTION_READ_UNCOMMITTED", 1}, {"SQL_TRANSACTION_READ_COMMITTED", 2},
          {"SQL_TRANSACTION_REPEATABLE_READ", 4}, {"SQL_TRANSACTION_SERIALIZABLE", 8})
KY_VALUES(queryTimeout, {"SQL_QUERY_TIMEOUT_DEFAULT", 0})
KY_VALUES(maxRows, {"SQL_MAX_ROWS_DEFAULT", 0})
KY_VALUES(noscan, {"SQL_NOSCAN_OFF", 0}, {"SQL_NOSCAN_ON", 1}, {"SQL_NOSCAN_DEFAULT", 0})
KY_VALUES(maxLength, {"SQL_MAX_LENGTH_DEFAULT", 0})
KY_VALUES(async, {"SQL_ASYNC_ENABLE_OFF", 0}, {"SQL_ASYNC_ENABLE_ON", 1}, {"SQL_ASYNC_ENABLE_DEFAULT", 0})
KY_VALUES(concurrency, {"SQL_CONCUR_READ_ONLY", 1}, {"SQL_CONCUR_LOCK", 2}, {"SQL_CONCUR_ROWVER", 3},
          {"SQL_CONCUR_VALUES", 4}, {"SQL_CONCUR_DEFAULT", 1})
KY_VALUES(cursorType, {"SQL_CURSOR_FORWARD_ONLY", 0}, {"SQL_CURSOR_KEYSET_DRIVEN", 1}, {"SQL_CURSOR_DYNAMIC", 2},
          {"SQL_CURSOR_STATIC", 3}, {"SQL_CURSOR_TYPE_DEFAULT", 0})
KY_VALUES(rowsetSize, {"SQL_ROWSET_SIZE_DEFAULT", 1})
KY_VALUES(keysetSize, {"SQL_KEYSET_SIZE_DEFAULT", 0})
KY_VALUES(simulate, {"SQL_SC_NON_UNIQUE", 0}, {"SQL_SC_TRY_UNIQUE", 1}, {"SQL_SC_UNIQUE", 2})
KY_VALUES(retrieve, {"SQL_RD_OFF", 0}, {"SQL_RD_ON", 1}, {"SQL_RD_DEFAULT", 1})
KY_VALUES(bookmarks2, {"SQL_UB_OFF", 0}, {"SQL_UB_ON", 1}, {"SQL_UB_DEFAULT", 0})
KY_VALUES(bookmarks3, {"SQL_UB_OFF", 0}, {"SQL_UB_ON", 1}, {"SQL_UB_DEFAULT", 0}, {"SQL_UB_FIXED", 1},
          {"SQL_UB_VARIABLE", 2})
KY_VALUES(truth, {"SQL_TRUE", 1}, {"SQL_FALSE", 0})
KY_VALUES(disconnect, {"SQL_DB_RETURN_TO_POOL", 0}, {"SQL_DB_DISCONNECT", 1}, {"SQL_DB_DEFAULT", 0})
KY_VALUES(enlist, {"SQL_DTC_DONE", 0})
KY_VALUES(scrollable, {"SQL_NONSCROLLABLE", 0}, {"SQL_SCROLLABLE", 1})
KY_VALUES(sensitivity, {"SQL_UNSPECIFIED", 0}, {"SQL_INSENSITIVE", 1}, {"SQL_SENSITIVE", 2})
#undef KY_VALUES

#define KY_V(list) list, static_cast<int>(std::size(list))
#define KY_NONE nullptr, 0

constexpr E statementOptions[] = {
    {"SQL_QUERY_TIMEOUT", 0, nullptr, -1, E::Number, KY_V(queryTimeout)},
    {"SQL_MAX_ROWS", 1, nullptr, -1, E::Number, KY_V(maxRows)},
    {"SQL_NOSCAN", 2, nullptr, -1, E::Named, KY_V(noscan)},
    {"SQL_MAX_LENGTH", 3, nullptr, -1, E::Number, KY_V(maxLength)},
    {"SQL_ASYNC_ENABLE", 4, nullptr, -1, E::Named, KY_V(async)},
    {"SQL_CURSOR_TYPE", 6, nullptr, -1, E::Named, KY_V(cursorType)},
    {"SQL_CONCURRENCY", 7, nullptr, -1, E::Named, KY_V(concurrency)},
    {"SQL_KEYSET_SIZE", 8, nullptr, -1, E::Number, KY_V(keysetSize)},
    {"SQL_ROWSET_SIZE", 9, nullptr, -1, E::Number, KY_V(rowsetSize)},
    {"SQL_SIMULATE_CURSOR", 10, nullptr, -1, E::Named, KY_V(simulate)},
    {"SQL_RETRIEVE_DATA", 11, nullptr, -1, E::Named, KY_V(retrieve)},
    {"SQL_USE_BOOKMARKS", 12, nullptr, -1, E::Named, KY_V(bookmarks2)},
    {"SQL_GET_BOOKMARK", 13, nullptr, -1, E::Named, KY_NONE},
};

constexpr E connectionOptions[] = {
    {"SQL_QUERY_TIMEOUT", 0, nullptr, -1, E::Named, KY_V(queryTimeout)},
    {"SQL_ACCESS_MODE", 101, nullptr, -1, E::Named, KY_V(accessMode)},
    {"SQL_AUTOCOMMIT", 102, nullptr, -1, E::Named, KY_V(autocommit)},
    {"SQL_LOGIN_TIMEOUT", 103, nullptr, -1, E::Number, KY_V(loginTimeout)},
    {"SQL_OPT_TRACE", 104, nullptr, -1, E::Named, KY_V(trace)},
    {"SQL_OPT_TRACEFILE", 105, nullptr, -1, E::Text, KY_NONE},
    {"SQL_TRANSLATE_DLL", 106, nullptr, -1, E::Text, KY_NONE},
    {"SQL_TRANSLATE_OPTION", 107, nullptr, -1, E::Named, KY_NONE},
    {"SQL_TXN_ISOLATION", 108, nullptr, -1, E::Named, KY_V(isolation2)},
    {"SQL_CURRENT_QUALIFIER", 109, nullptr, -1, E::Named, KY_NONE},
    {"SQL_ODBC_CURSORS", 110, nullptr, -1, E::Named, KY_V(odbcCursors)},
    {"SQL_QUIET_MODE", 111, nullptr, -1, E::Named, KY_NONE},
    {"SQL_PACKET_SIZE", 112, nullptr, -1, E::Number, KY_NONE},
};

constexpr E statementAttributes[] = {
    {"SQL_ATTR_CURSOR_SCROLLABLE", -1, nullptr, -1, E::Named, KY_V(scrollable)},
    {"SQL_ATTR_CURSOR_SENSITIVITY", -2, nullptr, -1, E::Named, KY_V(sensitivity)},
    {"SQL_ATTR_METADATA_ID", 10014, nullptr, -1, E::Named, KY_V(truth)},
    {"SQL_ATTR_ASYNC_ENABLE", 4, "SQL_ASYNC_ENABLE", 4, E::Named, KY_V(async)},
    {"SQL_ATTR_CONCURRENCY", 7, "SQL_CONCURRENCY", 7, E::Named, KY_V(concurrency)},
    {"SQL_ATTR_CURSOR_TYPE", 6, "SQL_CURSOR_TYPE", 6, E::Named, KY_V(cursorType)},
    {"SQL_ATTR_ENABLE_AUTO_IPD", 15, nullptr, -1, E::Named, KY_V(truth)},
    {"SQL_ATTR_KEYSET_SIZE", 8, "SQL_KEYSET_SIZE", 8, E::Number, KY_V(keysetSize)},
    {"SQL_ATTR_MAX_LENGTH", 3, "SQL_MAX_LENGTH", 3, E::Number, KY_V(maxLength)},
    {"SQL_ATTR_MAX_ROWS", 1, "SQL_MAX_ROWS", 1, E::Number, KY_V(maxRows)},
    {"SQL_ATTR_NOSCAN", 2, "SQL_NOSCAN", 2, E::Named, KY_V(noscan)},
    {"SQL_ATTR_PARAMSET_SIZE", 22, nullptr, -1, E::Number, KY_NONE},
    {"SQL_ATTR_QUERY_TIMEOUT", 0, "SQL_QUERY_TIMEOUT", 0, E::Number, KY_V(queryTimeout)},
    {"SQL_ATTR_RETRIEVE_DATA", 11, "SQL_RETRIEVE_DATA", 11, E::Named, KY_V(retrieve)},
    {"SQL_ATTR_ROW_ARRAY_SIZE", 27, "SQL_ROWSET_SIZE", 9, E::Number, KY_V(rowsetSize)},
    {"SQL_ATTR_SIMULATE_CURSOR", 10, "SQL_SIMULATE_CURSOR", 10, E::Named, KY_V(simulate)},
    {"SQL_ATTR_USE_BOOKMARKS", 12, "SQL_USE_BOOKMARKS", 12, E::Named, KY_V(bookmarks3)},
};

constexpr E connectionAttributes[] = {
    {"SQL_ATTR_METADATA_ID", 10014, nullptr, -1, E::Named, KY_V(truth)},
    {"SQL_ATTR_ACCESS_MODE", 101, "SQL_ACCESS_MODE", 101, E::Named, KY_V(accessMode)},
    {"SQL_ATTR_ASYNC_ENABLE", 4, nullptr, -1, E::Named, KY_V(async)},
    {"SQL_ATTR_AUTOCOMMIT", 102, "SQL_AUTOCOMMIT", 102, E::Named, KY_V(autocommit)},
    {"SQL_ATTR_CONNECTION_TIMEOUT", 113, nullptr, -1, E::Number, KY_NONE},
    {"SQL_ATTR_CURRENT_CATALOG", 109, "SQL_CURRENT_QUALIFIER", 109, E::Text, KY_NONE},
    {"SQL_ATTR_DISCONNECT_BEHAVIOR", 114, nullptr, -1, E::Named, KY_V(disconnect)},
    {"SQL_ATTR_ENLIST_IN_DTC", 1207, nullptr, -1, E::Named, KY_V(enlist)},
    {"SQL_ATTR_LOGIN_TIMEOUT", 103, "SQL_LOGIN_TIMEOUT", 103, E::Number, KY_V(loginTimeout)},
    {"SQL_ATTR_ODBC_CURSORS", 110, "SQL_ODBC_CURSORS", 110, E::Named, KY_V(odbcCursors)},
    {"SQL_ATTR_PACKET_SIZE", 112, "SQL_PACKET_SIZE", 112, E::Number, KY_NONE},
    {"SQL_ATTR_TRACE", 104, "SQL_OPT_TRACE", 104, E::Named, KY_V(trace)},
    {"SQL_ATTR_TRACEFILE", 105, "SQL_OPT_TRACEFILE", 105, E::Text, KY_NONE},
    {"SQL_ATTR_TRANSLATE_LIB", 106, "SQL_TRANSLATE_DLL", 106, E::Text, KY_NONE},
    {"SQL_ATTR_TXN_ISOLATION", 108, "SQL_TXN_ISOLATION", 108, E::Named, KY_V(isolation3)},
};
#undef KY_V
#undef KY_NONE

// The trace-file default is a text, unlike every other named value.
constexpr const char* kTraceFileDefaultName = "SQL_OPT_TRACE_FILE_DEFAULT";
constexpr const char* kTraceFileDefault = "\\SQL.LOG";

// Reads a number the way option keys are written: the digits after the
// first '#', else the whole text (atol). False for a text that begins with
// '#' or has no leading number.
bool readNumber(const char* pszText, long* pValue) {
  if (!pszText || !*pszText || *pszText == '#') return false;
  const char* hash = std::strchr(pszText, '#');
  const char* digits = hash ? hash + 1 : pszText;
  char* end = nullptr;
  *pValue = std::strtol(digits, &end, 10);
  return end != digits;
}

}  // namespace

int KyODBCOptionEntry::LengthIndicator() const { return kind == Text ? SQL_NTS : SQL_IS_UINTEGER; }

KyODBCOptionTable::KyODBCOptionTable(Kind kind) : m_Kind(kind) {
  if (kind == ODBC2Options) {
    m_pConnection = connectionOptions;
    m_iConnectionCount = static_cast<int>(std::size(connectionOptions));
    m_pStatement = statementOptions;
    m_iStatementCount = static_cast<int>(std::size(statementOptions));
  } else {
    m_pConnection = connectionAttributes;
    m_iConnectionCount = static_cast<int>(std::size(connectionAttributes));
    m_pStatement = statementAttributes;
    m_iStatementCount = static_cast<int>(std::size(statementAttributes));
  }
}

const KyODBCOptionEntry* KyODBCOptionTable::FindByName(const char* pszName) const {
  if (!pszName) return nullptr;
  for (int i = 0; i < m_iConnectionCount; ++i)
    if (std::strcmp(m_pConnection[i].name, pszName) == 0) return &m_pConnection[i];
  for (int i = 0; i < m_iStatementCount; ++i)
    if (std::strcmp(m_pStatement[i].name, pszName) == 0) return &m_pStatement[i];
  return nullptr;
}

const KyODBCOptionEntry* KyODBCOptionTable::FindById(int iId) const {
  for (int i = 0; i < m_iConnectionCount; ++i)
    if (m_pConnection[i].id == iId) return &m_pConnection[i];
  for (int i = 0; i < m_iStatementCount; ++i)
    if (m_pStatement[i].id == iId) return &m_pStatement[i];
  return nullptr;
}

int KyODBCOptionTable::GetLengthIndicator(const char* pszName) const {
  const KyODBCOptionEntry* entry = FindByName(pszName);
  return entry ? entry->LengthIndicator() : -1;
}

bool KyODBCOptionTable::GetODBC2Id(int iId, int* piODBC2Id) const {
  const KyODBCOptionEntry* entry = FindById(iId);
  if (!entry || entry->odbc2Id < 0) return false;
  *piODBC2Id = entry->odbc2Id;
  return true;
}

bool KyODBCOptionTable::Resolve(const char* pszName, const char* pszValue, KyODBCResolvedOption* pOption) const {
  const char* value = pszValue ? pszValue : "";
  KyODBCResolvedOption resolved;
  if (const KyODBCOptionEntry* entry = FindByName(pszName)) {
    resolved.id = entry->id;
    resolved.lengthIndicator = entry->LengthIndicator();
    if (entry->kind == KyODBCOptionEntry::Text) {
      resolved.isText = true;
      resolved.text = std::strcmp(value, kTraceFileDefaultName) == 0 ? kTraceFileDefault : value;
      *pOption = resolved;
      return true;
    }
    bool named = false;
    for (int i = 0; i < entry->valueCount && !named; ++i) {
      if (std::strcmp(entry->values[i].name, value) == 0) {
        resolved.number = entry->values[i].value;
        named = true;
      }
    }
    // A text that names no value reads as a number (0 when it is none).
    if (!named && !readNumber(value, &resolved.number)) resolved.number = 0;
    *pOption = resolved;
    return true;
  }
  long id = 0;
  if (!readNumber(pszName, &id) || id == 0) return false;
  resolved.id = static_cast<int>(id);
  if (readNumber(value, &resolved.number)) {
    resolved.lengthIndicator = SQL_IS_UINTEGER;
  } else {
    resolved.isText = true;
    resolved.text = value;
    resolved.lengthIndicator = SQL_NTS;
  }
  *pOption = resolved;
  return true;
}
