// Date and time column values: vioDate, vioTime and vioTimeStamp. Each keeps
// its parts in the byte layout that the connection's driver binds:
//
// | layout           | bytes        | parts                                        |
// |------------------|--------------|----------------------------------------------|
// | vioDateODBC      | 6            | year, month, day: 16-bit (DATE_STRUCT)        |
// | vioTimeODBC      | 6            | hour, minute, second: 16-bit (TIME_STRUCT)    |
// | vioTimeStampODBC | 16           | six 16-bit parts, 32-bit fraction             |
// | vioDateOra, vioTimeStampOra | 7 (8 allocated) | year signed 16-bit; month, day, hour, minute, second 8-bit (OCIDate) |
// | vioTimeOra       | 7 (8)        | an OCIDate whose date is 4712-01-01           |
//
// ODBC connections (and columns without a connection) get the ODBC layouts,
// OCI connections the Oracle ones; a connection of any other kind gets no
// layout, whose parts read 0 and ignore writes.
#pragma once

#include "vioType.h"

#include <array>
#include <memory>

class vioDateTimeLayout;
class KyDateFld;
class KyTimeFld;
class KyTimeStampFld;

// What the three column classes share: the layout and its parts.
class vioDateTimeValue : public vioType {
 public:
  ~vioDateTimeValue() override;
  vioDateTimeValue(const vioDateTimeValue& other);
  vioDateTimeValue& operator=(const vioDateTimeValue& other);

  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  long GetFraction() const;
  void SetYear(int iValue);
  void SetMonth(int iValue);
  void SetDay(int iValue);
  void SetHour(int iValue);
  void SetMinute(int iValue);
  void SetSecond(int iValue);
  // ODBC timestamps store 0 whatever the value; Oracle ones have none.
  void SetFraction(long lValue);

  // The layout's bytes as the driver binds them (null without a layout).
  const BYTE* GetData() const;
  int GetDataLength() const;

  const char* GetText() const override;
  void* GetDataPointer() override;
  // The bytes the driver binds: ODBC the structure, OCI the 7-byte OCIDate.
  SQLLEN GetDataSize() const override { return GetDataLength(); }

 protected:
  enum Kind { Date, Time, TimeStamp };
  vioDateTimeValue(KyDatabaseConnection* pConnection, VIO_TYPE type, Kind kind);

  Kind m_Kind;
  std::unique_ptr<vioDateTimeLayout> m_pLayout;
  mutable std::array<char, 32> m_TextForm{};
};

class vioDate : public vioDateTimeValue {
 public:
  explicit vioDate(KyDatabaseConnection* pConnection);
  vioDate(KyDatabaseConnection* pConnection, int iYear, int iMonth, int iDay);
  // "yyyy-mm-dd": year at 0, month at 5, day at 8, each read with atoi.
  void PutText(const char* pszText) override;
  // NULL for a null field, else its parts; then its special state as the
  // settings' value.
  vioDate& operator=(const KyDateFld& field);
  int SpecialOptionBase() const override { return 35; }
};

class vioTime : public vioDateTimeValue {
 public:
  explicit vioTime(KyDatabaseConnection* pConnection);
  vioTime(KyDatabaseConnection* pConnection, int iHour, int iMinute, int iSecond);
  // "hh:mm:ss": hour at 0, minute at 3, second at 6.
  void PutText(const char* pszText) override;
  vioTime& operator=(const KyTimeFld& field);
  int SpecialOptionBase() const override { return 38; }
};

class vioTimeStamp : public vioDateTimeValue {
 public:
  explicit vioTimeStamp(KyDatabaseConnection* pConnection);
  vioTimeStamp(KyDatabaseConnection* pConnection, int iYear, int iMonth, int iDay, int iHour, int iMinute,
               int iSecond, long lFraction);
  // "yyyy-mm-dd hh:mm:ss": parts at 0, 5, 8, 11, 14 and 17.
  void PutText(const char* pszText) override;
  vioTimeStamp& operator=(const KyTimeStampFld& field);
  int SpecialOptionBase() const override { return 41; }
};
