// vioType: the base of the column value classes. It carries what every
// column shares: the VIO_TYPE, length and scale of the description, the
// connection whose kind decides the layouts, and the NULL indicator in the
// form the connection's driver reads (ODBC: a 32-bit length/indicator,
// -3 not NULL, -1 NULL; OCI: a 16-bit indicator, 0 not NULL, 0xFFFF NULL).
// A column without a connection keeps the ODBC form.
//
// Binding: a value binds its own buffer and indicator to a statement as a
// result column or a parameter, with the C type of its VIO_TYPE and (ODBC)
// the SQL type the connection's driver chose for it; on OCI with the
// external type of its VIO_TYPE.
#pragma once

#include <windef.h>

#include <sqlext.h>

#include "KyString.h"

class KyDatabaseConnection;
class KyDBStmtHandle;

enum VIO_TYPE {
  vioTypeCharacter = 0,
  vioTypeVarChar = 1,
  vioTypeNumeric = 2,
  vioTypeInteger = 3,
  vioTypeSmallInt = 4,
  vioTypeFloat = 5,
  vioTypeDate = 6,
  vioTypeTime = 7,
  vioTypeTimeStamp = 8,
  vioTypeBlob = 9,
  vioTypeMoney = 10,
  vioTypeLongVarChar = 11,  // made only by vioVarChar itself
  vioTypeBigInt = 12,
  vioTypeNone = 13,
};

class vioType {
 public:
  virtual ~vioType();

  // The value's text form; never null.
  virtual const char* GetText() const = 0;
  // Sets the value from text (null reads as "").
  virtual void PutText(const char* pszText) = 0;

  // Non-zero when the indicator says NULL.
  int IsNull() const;
  // 1 marks the value NULL, 0 not NULL.
  void SetNull(int fNull);

  // The value's buffer as the driver reads and writes it, and its size in
  // bytes.
  virtual void* GetDataPointer() = 0;
  virtual SQLLEN GetDataSize() const = 0;
  // Binds the value as result column iColumn (1-based).
  virtual int BindColumn(KyDBStmtHandle* pStatement, int iColumn);
  // Binds the value as parameter iNumber (1-based) with a direction
  // (SQL_PARAM_INPUT ...); OCI binds by name when a name is given.
  virtual int BindParameter(KyDBStmtHandle* pStatement, int iNumber, int iDirection, const char* pszName);
  // Character values are emptied before each fetch, so that a shorter
  // value keeps no characters of the last.
  virtual void ClearForFetch() {}
  // Equal values: the same VIO_TYPE and NULL state, texts compared trimmed,
  // numeric texts as numbers, other values by their bytes.
  virtual bool Equals(const vioType& other) const;
  // Ties the value to another connection (the view reconnected).
  void SetConnection(KyDatabaseConnection* pConnection) { m_pConnection = pConnection; }
  // Puts an ODBC length/indicator in place (SQL_IGNORE leaves a column
  // out of a positioned update) and answers the one it replaced.
  SQLLEN ExchangeIndicator(SQLLEN nIndicator) {
    const SQLLEN old = m_lIndicator;
    m_lIndicator = nIndicator;
    return old;
  }
  // Where the driver reads and writes the indicator of fetched rows (a
  // multi-row value: the start of its indicator array).
  virtual void* GetIndicatorPointer() { return valueIndicatorPointer(); }
  // The current row's value (a multi-row value's copy of its current row;
  // else the data pointer). Comparisons, copies and parameters use it.
  virtual void* GetValuePointer() { return GetDataPointer(); }
  // Multi-row values: the current row becomes the first (the next) row of
  // the block; StoreRow writes the current row back into the block.
  virtual void SetFirst() {}
  virtual void SetNext() {}
  virtual void StoreRow() {}
  // The rows of the value's block (1 for single-row values).
  virtual int GetRowCount() const { return 1; }

  // The special value of option iId (32-43) for this column (the
  // connection's own values first, then the run option), cut to the
  // column's text length: 10 for a date, 8 for a time, 19 for a timestamp,
  // else length - 1; option 32's one-character value fills that length.
  KyString GetSpecialFldValFromINI(int iId) const;
  // A field's special state as the settings' special value: an empty field
  // (state 0, no list entry for empty) takes the Empty value; high (allowed,
  // current, no list entry) the High value; low likewise the Low value. A
  // setting that is empty changes nothing. Columns without special values
  // (SpecialOptionBase 0) ignore it.
  template <class Field>
  void SetContentFromINI(const Field& field) {
    setContentFromINI(field.GetFieldState(), field.IfEmpty() != 0, field.GetLP(4) != nullptr, field.IsAllowed(8) != 0,
                      field.GetLP(8) != nullptr, field.IsAllowed(2) != 0, field.GetLP(2) != nullptr);
  }
  // The first of the column kind's special-value options (high, low, empty
  // in that order): 32 character, 35 date, 38 time, 41 timestamp; 0 none.
  virtual int SpecialOptionBase() const { return 0; }

  VIO_TYPE GetType() const { return m_Type; }
  int GetLength() const { return m_iLength; }
  int GetScale() const { return m_iScale; }
  KyDatabaseConnection* GetConnection() const { return m_pConnection; }
  // Whether the connection is an OCI one (null: no).
  bool IsOCI() const;

 protected:
  // Not NULL from the start.
  vioType(KyDatabaseConnection* pConnection, VIO_TYPE type, int iLength, int iScale);
  vioType(const vioType&) = default;
  vioType& operator=(const vioType&) = default;

  // The indicator itself, where a parameter's value is read from.
  void* valueIndicatorPointer() { return IsOCI() ? static_cast<void*>(&m_wIndicator) : &m_lIndicator; }
  // Character values: the indicator becomes the text length when not NULL.
  void SetIndicatorLength(size_t length);
  // The SQL type and column size an ODBC parameter of this value takes.
  void odbcParameterType(SQLSMALLINT* pnSQLType, SQLULEN* pnColumnSize, SQLSMALLINT* pnDigits) const;
  // The OCI external type and buffer size of the value.
  void ociExternalType(int* piType, SQLLEN* pnSize) const;
  void setContentFromINI(int iState, bool fEmpty, bool fEmptyEntry, bool fAllowsHigh, bool fHighEntry, bool fAllowsLow,
                         bool fLowEntry);

  VIO_TYPE m_Type;
  int m_iLength;
  int m_iScale;
  KyDatabaseConnection* m_pConnection;  // not owned
  SQLLEN m_lIndicator = -3;             // ODBC: SQL_NTS / SQL_NULL_DATA / a length
  USHORT m_wIndicator = 0;              // OCI: 0 / 0xFFFF
};
