// KyDefaultOptions: reading the numbered option keys and applying them.
#include "KyDefaultOptions.h"

#include "KyMessage.h"
#include "KyODBCConnection.h"
#include "KyProfile.h"

#include <mscrt.h>

#include <cstring>

namespace {

constexpr const char* kNotFound = "KYNF";

KyString dsnSection(const char* pszDataSource) { return KyString("ODBC-DSN: ") + (pszDataSource ? pszDataSource : ""); }

bool succeeded(int rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

SQLPOINTER valuePointer(const KyODBCResolvedOption& option) {
  return option.isText ? static_cast<SQLPOINTER>(const_cast<char*>(option.text.c_str()))
                       : reinterpret_cast<SQLPOINTER>(static_cast<intptr_t>(option.number));
}

}  // namespace

KyDefaultOptions::KyDefaultOptions(KyODBCConnection* pConnection) : m_pConnection(pConnection) {}

template <class Callback>
void KyDefaultOptions::readNumbered(const char* pszSection, const char* pszPrefix, Callback callback) {
  for (int i = 1;; ++i) {
    KyString key;
    key.Format("%s%i", pszPrefix, i);
    const KyString value = KyGetProfileString(pszSection, key, kNotFound);
    if (value == kNotFound) return;
    Entry entry;
    if (!value.IsEmpty() && parse(value, &entry)) callback(entry);
  }
}

// "name,value" with a ';' comment; SQL_ATTR names are ODBC 3 attributes.
bool KyDefaultOptions::parse(const char* pszText, Entry* pEntry) const {
  KyString text = pszText;
  const int comment = text.Find(';');
  if (comment >= 0) text = text.Left(comment);
  const int comma = text.Find(',');
  if (comma <= 0) return false;
  KyString name = text.Left(comma);
  KyString value = text.Mid(comma + 1);
  name.Trim();
  value.Trim();
  pEntry->isAttribute = std::strncmp(name, "SQL_ATTR", 8) == 0;
  const KyODBCOptionTable& table = pEntry->isAttribute ? m_Attributes : m_Options;
  return table.Resolve(name, value, &pEntry->option);
}

bool KyDefaultOptions::driverIsODBC3() {
  char version[16] = {};
  SQLSMALLINT length = 0;
  KyODBCConnHandle* handle = m_pConnection->GetODBCHandle();
  if (!handle || !succeeded(handle->GetInfo(SQL_DRIVER_ODBC_VER, version, sizeof version, &length))) return false;
  return version[1] == '3';
}

int KyDefaultOptions::applyToConnection(const Entry& entry) {
  KyODBCConnHandle* handle = m_pConnection->GetODBCHandle();
  KyODBC* odbc = m_pConnection->GetODBC();
  const KyODBCResolvedOption& option = entry.option;
  int rc;
  if (entry.isAttribute && odbc->IsODBC3() && driverIsODBC3()) {
    rc = odbc->SQLSetConnectAttr(handle->GetHDBC(), option.id, valuePointer(option), option.lengthIndicator);
  } else {
    int id = option.id;
    if (entry.isAttribute && !m_Attributes.GetODBC2Id(option.id, &id)) return 0;
    rc = odbc->SQLSetConnectOption(handle->GetHDBC(), static_cast<SQLUSMALLINT>(id),
                                   reinterpret_cast<SQLULEN>(valuePointer(option)));
  }
  if (!succeeded(rc)) handle->Check(rc, "SQLSetConnectOption");
  return rc;
}

void KyDefaultOptions::ApplyPreConnection(const char* pszDataSource) {
  readNumbered(dsnSection(pszDataSource), "Pre_Connection_Option_", [this](const Entry& e) { applyToConnection(e); });
  // SQL Server's native client: several active results on one connection.
  Entry mars;
  mars.option.id = 1224;
  mars.option.number = 1;
  mars.option.lengthIndicator = SQL_IS_UINTEGER;
  applyToConnection(mars);
}

int KyDefaultOptions::askDriverFetchKind() {
  if (m_iDriverFetchKind == FetchUndecided && m_pConnection->IsConnected()) {
    SQLUINTEGER operations = 0;
    SQLSMALLINT length = 0;
    KyODBCConnHandle* handle = m_pConnection->GetODBCHandle();
    const int rc = handle->GetInfo(SQL_POS_OPERATIONS, &operations, sizeof operations, &length);
    const SQLUINTEGER both = SQL_POS_UPDATE | SQL_POS_DELETE;
    m_iDriverFetchKind = succeeded(rc) && (operations & both) == both ? FetchExtended : FetchSQLFetch;
  }
  return m_iDriverFetchKind;
}

int KyDefaultOptions::fetchTypeOf(const char* pszSection) {
  const KyString type = KyGetProfileString(pszSection, "Fetch Type", "Ask_Driver");
  if (type == "SQLFetch") return FetchSQLFetch;
  if (type == "SQLExtendedFetch") return FetchExtended;
  if (m_iFetchKind != FetchUndecided) return m_iFetchKind;
  const int driver = askDriverFetchKind();
  return driver == FetchUndecided ? FetchSQLFetch : driver;
}

void KyDefaultOptions::ReadAfterConnect(const char* pszDataSource) {
  const KyString section = dsnSection(pszDataSource);
  m_iFetchKind = fetchTypeOf(section);
  m_fPessimisticLock =
      KyGetProfileString(section, "Pessimistic Lock on For Update", "False").CompareNoCase("True") == 0;
  auto connectionOption = [this](const Entry& e) {
    if (e.option.id == 6) m_fCursorTypeSet = 1;
    if (e.option.id == 7) m_fConcurrencySet = 1;
    applyToConnection(e);
  };
  readNumbered(section, "Connection_Option_", connectionOption);
  readNumbered(section, "Connection_Attr_", connectionOption);
  // Extended fetching wants a cursor that can position and update; DB2/NT
  // refuses these defaults.
  const bool db2nt = m_pConnection->GetDBMSName() == "DB2/NT";
  if (m_iFetchKind == FetchExtended && m_pConnection->IsConnected() && !db2nt) {
    Entry entry;
    entry.option.lengthIndicator = SQL_IS_UINTEGER;
    if (!m_fCursorTypeSet) {
      entry.option.id = 6;
      entry.option.number = SQL_CURSOR_DYNAMIC;
      applyToConnection(entry);
    }
    if (!m_fConcurrencySet) {
      entry.option.id = 7;
      entry.option.number = SQL_CONCUR_VALUES;
      applyToConnection(entry);
    }
  }
  readViewSections(section);
  auto defaultEntry = [this](const Entry& e) {
    if (m_DefaultEntries.size() >= kMaxDefaultEntries) return;
    m_DefaultEntries.push_back(e);
    const Entry& stored = m_DefaultEntries.back();
    KyString value = stored.option.isText ? stored.option.text : KyString();
    if (!stored.option.isText) value.Format("%ld", stored.option.number);
    const KyODBCOptionEntry* named =
        (stored.isAttribute ? m_Attributes : m_Options).FindById(stored.option.id);
    KyMessage::Log("Getting Default Option #%d [%s = %s]", static_cast<int>(m_DefaultEntries.size()),
                   named ? named->name : "", value.c_str());
  };
  readNumbered(section, "Default_Statement_Attr_", defaultEntry);
  readNumbered(section, "Default_Statement_Option_", defaultEntry);
}

void KyDefaultOptions::readViewSections(const char* pszSection) {
  for (int i = 1; i <= static_cast<int>(kMaxViews); ++i) {
    KyString key;
    key.Format("View_Option_Section_%i", i);
    KyString value = KyGetProfileString(pszSection, key, kNotFound);
    if (value == kNotFound) return;
    const int comment = value.Find(';');
    if (comment >= 0) value = value.Left(comment);
    value.Trim();
    if (value.IsEmpty() || m_Views.size() >= kMaxViews) continue;
    const bool prefixed = std::strncmp(value, "VIEW: ", 6) == 0;
    const KyString viewName = prefixed ? value.Mid(6) : value;
    const KyString viewSection = KyString("VIEW: ") + viewName;
    const size_t first = m_ViewEntries.size();
    const char* sections[2] = {viewSection, viewName};
    for (const char* prefix : {"Statement_Attr_", "Statement_Option_"}) {
      for (const char* sectionName : sections) {
        if (KyGetProfileString(sectionName, "Fetch Type", kNotFound) != kNotFound &&
            m_ViewEntries.size() < kMaxViewEntries) {
          Entry fetch;
          fetch.option.id = kFetchKindEntry;
          fetch.option.number = fetchTypeOf(sectionName);
          m_ViewEntries.push_back(fetch);
        }
        readNumbered(sectionName, prefix, [this](const Entry& e) {
          if (m_ViewEntries.size() < kMaxViewEntries) m_ViewEntries.push_back(e);
        });
      }
    }
    if (m_ViewEntries.size() > first) m_Views.push_back({viewName, first, m_ViewEntries.size() - 1});
  }
}

int KyDefaultOptions::GetFetchKind(const char* pszViewName) {
  for (const View& view : m_Views) {
    if (view.name.CompareNoCase(pszViewName ? pszViewName : "") != 0) continue;
    for (size_t i = view.first; i <= view.last; ++i)
      if (m_ViewEntries[i].option.id == kFetchKindEntry) return static_cast<int>(m_ViewEntries[i].option.number);
  }
  return m_iFetchKind == FetchUndecided ? FetchSQLFetch : m_iFetchKind;
}

int KyDefaultOptions::ApplyToStatement(KyODBCStmtHandle* pStatement, const char* pszViewName, int fForUpdate) {
  const Entry* first = m_DefaultEntries.data();
  const Entry* last = first + m_DefaultEntries.size();
  bool viewEntries = false;
  for (const View& view : m_Views) {
    if (view.name.CompareNoCase(pszViewName ? pszViewName : "") == 0) {
      first = &m_ViewEntries[view.first];
      last = &m_ViewEntries[view.last] + 1;
      viewEntries = true;
      break;
    }
  }
  KyODBC* odbc = m_pConnection->GetODBC();
  const bool odbc3 = odbc->IsODBC3() && driverIsODBC3();
  int rc = 0;
  bool concurrencySet = false;
  for (const Entry* entry = first; entry < last; ++entry) {
    const KyODBCResolvedOption& option = entry->option;
    if (option.id == kFetchKindEntry) continue;
    // An update needs a cursor that can scroll and change rows.
    if (fForUpdate && ((option.id == 6 && option.number == 0) || (option.id == 7 && option.number == 1))) continue;
    if (entry->isAttribute && odbc3) {
      rc = odbc->SQLSetStmtAttr(pStatement->GetHSTMT(), option.id, valuePointer(option), option.lengthIndicator);
    } else {
      int id = option.id;
      if (entry->isAttribute && !m_Attributes.GetODBC2Id(option.id, &id)) continue;
      rc = odbc->SQLSetStmtOption(pStatement->GetHSTMT(), static_cast<SQLUSMALLINT>(id),
                                  reinterpret_cast<SQLULEN>(valuePointer(option)));
    }
    if (option.id == 7) concurrencySet = true;
    if (!succeeded(rc)) {
      if (!viewEntries)
        KyMessage::Log("Error Applying Default Option #%d. See next log message for details.",
                       static_cast<int>(entry - first) + 1);
      pStatement->Check(rc, "SQLSetStmtOption");
    }
  }
  if (m_fPessimisticLock && fForUpdate && !concurrencySet) {
    rc = odbc3 ? odbc->SQLSetStmtAttr(pStatement->GetHSTMT(), SQL_ATTR_CONCURRENCY,
                                      reinterpret_cast<SQLPOINTER>(SQL_CONCUR_LOCK), SQL_IS_UINTEGER)
               : odbc->SQLSetStmtOption(pStatement->GetHSTMT(), SQL_CONCURRENCY, SQL_CONCUR_LOCK);
  }
  return rc;
}
