// vioType: the base of the column value classes. It carries what every
// column shares: the VIO_TYPE, length and scale of the description, the
// connection whose kind decides the layouts, and the NULL indicator in the
// form the connection's driver reads (ODBC: a 32-bit length/indicator,
// -3 not NULL, -1 NULL; OCI: a 16-bit indicator, 0 not NULL, 0xFFFF NULL).
// A column without a connection keeps the ODBC form.
//
// Binding, the multi-row forms and the factory grow here with the accessors
// of the data-access layer.
#pragma once

#include <windef.h>

class KyDatabaseConnection;

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

  // Character values: the indicator becomes the text length when not NULL.
  void SetIndicatorLength(size_t length);

  VIO_TYPE m_Type;
  int m_iLength;
  int m_iScale;
  KyDatabaseConnection* m_pConnection;  // not owned
  LONG m_lIndicator = -3;               // ODBC: SQL_NTS / SQL_NULL_DATA / a length
  USHORT m_wIndicator = 0;              // OCI: 0 / 0xFFFF
};
