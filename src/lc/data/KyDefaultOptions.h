// KyDefaultOptions: the ODBC options of a connection's INI sections, as
// numbered keys ("Pre_Connection_Option_1=SQL_ATTR_LOGIN_TIMEOUT,5;
// comment"): options applied before and after connecting, default statement
// options, per-view statement options and fetch kinds ("VIEW: " sections
// named by "View_Option_Section_" keys), the pessimistic lock and the
// "Fetch Type" of a data source or view.
#pragma once

#include "KyODBCOptionTable.h"
#include "KyString.h"

#include <vector>

class KyODBCConnection;
class KyODBCStmtHandle;

class KyDefaultOptions {
 public:
  enum { FetchSQLFetch = 0, FetchExtended = 1, FetchUndecided = 2 };
  // Room of the store; entries beyond it are ignored.
  static constexpr size_t kMaxViewEntries = 7000;
  static constexpr size_t kMaxDefaultEntries = 7;
  static constexpr size_t kMaxViews = 1000;

  explicit KyDefaultOptions(KyODBCConnection* pConnection);

  // Before connecting: "Pre_Connection_Option_" keys of "ODBC-DSN: " + the
  // data source, then option 1224 = 1.
  void ApplyPreConnection(const char* pszDataSource);
  // After connecting: fetch kind, pessimistic lock, "Connection_Option_"
  // and "Connection_Attr_" keys, the cursor defaults of extended fetching,
  // the view sections and the default statement options.
  void ReadAfterConnect(const char* pszDataSource);
  // The fetch kind of a view (its own entry, else the data source's).
  int GetFetchKind(const char* pszViewName);
  // Applies the view's entries (else the defaults) to a statement; the code
  // of the last call.
  int ApplyToStatement(KyODBCStmtHandle* pStatement, const char* pszViewName, int fForUpdate);
  int IsPessimisticLock() const { return m_fPessimisticLock; }

 private:
  struct Entry {
    KyODBCResolvedOption option;
    bool isAttribute = false;
  };
  struct View {
    KyString name;
    size_t first;
    size_t last;
  };
  static constexpr int kFetchKindEntry = 5682;  // a view entry that carries the view's fetch kind

  // Reads numbered keys "<prefix><n>" from 1 until one is missing; each
  // resolved pair goes to the callback.
  template <class Callback>
  void readNumbered(const char* pszSection, const char* pszPrefix, Callback callback);
  bool parse(const char* pszText, Entry* pEntry) const;
  int applyToConnection(const Entry& entry);
  int fetchTypeOf(const char* pszSection);
  int askDriverFetchKind();
  bool driverIsODBC3();
  void readViewSections(const char* pszSection);

  KyODBCConnection* m_pConnection;
  KyODBCOptionTable m_Options{KyODBCOptionTable::ODBC2Options};
  KyODBCOptionTable m_Attributes{KyODBCOptionTable::ODBC3Attributes};
  std::vector<Entry> m_ViewEntries;
  std::vector<Entry> m_DefaultEntries;
  std::vector<View> m_Views;
  int m_iFetchKind = FetchUndecided;
  int m_iDriverFetchKind = FetchUndecided;
  int m_fCursorTypeSet = 0;
  int m_fConcurrencySet = 0;
  int m_fPessimisticLock = 0;
};
