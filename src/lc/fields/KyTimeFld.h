// KyTimeFld: a time of day (hour, minute, second) with the states and value
// list of every field.
//
// Text out: "hh:mm:ss". Text in: "*NOW" (any case) takes the local clock's
// time (65535 in each part when the clock cannot be read as local time);
// anything else is read as numbers split at ",./\ -:" in the order hour,
// minute, second, missing ones 0, stored as read.
//
// Built-in special values: 00:00:00 for empty, null and low; 23:59:59 for
// high.
#pragma once

#include "KyDateTimeFld.h"
#include "KyFieldConversions.h"

class KyTimeFld : public KyDateTimeFld<KyTimeFld, tagODBCTIME> {
 public:
  static constexpr tagODBCTIME kBuiltInLow{0, 0, 0};
  static constexpr tagODBCTIME kBuiltInHigh{23, 59, 59};
  static constexpr KyDateTimeOptions kOptions{KyOptTimeEmpty, KyOptTimeHigh, KyOptTimeLow, 8};

  KyTimeFld() = default;
  KyTimeFld(int iHour, int iMinute, int iSecond, short sState = 0);
  KyTimeFld(const char* pszText, short sState);
  KyTimeFld(const tagODBCTIME& value) : KyDateTimeFld(value, KyStateValue) {}
  KyTimeFld(BYTE bAllowedStates, const KyTimeFld& empty, const KyTimeFld& null, const KyTimeFld& low,
            const KyTimeFld& high, WORD wListMask)
      : KyDateTimeFld(bAllowedStates, empty.m_Value, null.m_Value, low.m_Value, high.m_Value, wListMask) {}
  KyTimeFld(const KyTimeFld& other) = default;
  KyTimeFld& operator=(const KyTimeFld& other) = default;
  using KyDateTimeFld::operator==;

  // A NULL column gives state 1; otherwise the column's hour, minute and
  // second, state 0, then the database step.
  KyTimeFld& operator=(const vioTime& column);

  CString strGetText() const override;
  void PutText(const char* pszText) override;
  // 1 for the empty value or hour 0-23, minute and second 0-59; else 0.
  int Validate() const;

  KY_CAST_MEMBERS(KyTimeFld)
};

// -1, 0, 1 by hour, minute and second; states are not looked at.
int iKyCompTime(const KyTimeFld& a, const KyTimeFld& b);
// "hh:mm:ss" of three parts at pszOut (room for 20 characters); the end.
char* KyPutTimeText(char* pszOut, int iHour, int iMinute, int iSecond);
