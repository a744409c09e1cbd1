// KyDatabaseConnection: a named connection to one data source, as the fields
// see it: its kind, its own special-value options and the two flags that
// field assignment reads. Connecting, handles, transactions and the ODBC and
// OCI subclasses grow here with the data-access layer; reading the special
// values from the INI sections on connect (ReadSpecialValues) is theirs too,
// and sets the special options and the own-special-values flag through the
// setters below.
#pragma once

#include "KyString.h"

#include <memory>
#include <vector>

class KyDatabaseConnection {
 public:
  // The kind word every layer of data access tests.
  enum { KindOCI = 1, KindODBC = 2 };

  KyDatabaseConnection(int iKind, const char* pszConnectionName);
  virtual ~KyDatabaseConnection();

  int GetKind() const { return m_iKind; }
  const KyString& GetConnectionName() const { return m_strConnectionName; }

  // Special options are texts by id (28 and up: data source, user, the
  // special values 32-43 and 44-55, ...). Ids below 28 are ignored; a null
  // text stores "".
  void SetSPOption(int iId, const char* pszText);
  // "" (never null) when the id was never set or is below 28.
  const char* pszGetSPOption(int iId) const;

  // Whether the connection's own special values (options 32-43, else
  // 44-55) stand before the run options.
  BOOL HasOwnSpecialValues() const { return m_fOwnSpecialValues; }
  void SetOwnSpecialValues(BOOL fOwn) { m_fOwnSpecialValues = fOwn ? TRUE : FALSE; }
  // Whether variable-length character values lose their trailing blanks
  // when read into fields.
  BOOL TrimsVarChar() const { return m_fTrimVarChar; }
  void SetTrimVarChar(BOOL fTrim) { m_fTrimVarChar = fTrim ? TRUE : FALSE; }

 private:
  KyDatabaseConnection(const KyDatabaseConnection&) = delete;
  KyDatabaseConnection& operator=(const KyDatabaseConnection&) = delete;

  static constexpr int kFirstSPOption = 28;

  int m_iKind;
  KyString m_strConnectionName;
  std::vector<std::unique_ptr<KyString>> m_SPOptions;  // by id - 28; null: never set
  BOOL m_fOwnSpecialValues = FALSE;
  BOOL m_fTrimVarChar = FALSE;
};
