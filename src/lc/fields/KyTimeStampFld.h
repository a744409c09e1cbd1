// KyTimeStampFld: a date and time of day with a fraction of a second in
// milliseconds (0-999), with the states and value list of every field.
//
// Text out: "yyyy-mm-dd hh:mm:ss.fff" (at least three digits of fraction).
// Text in: "*NOW" (any case) takes the local clock to the millisecond (the
// time parts 65535 when the clock cannot be read as local time); anything
// else is read as numbers split at ",./\ -:" in the order year, month, day,
// hour, minute, second, fraction, missing ones 0, stored as read.
//
// Built-in special values: all zeros for empty, null and low; 9999-12-31
// 23:59:59.999 for high, the largest value that Validate accepts.
#pragma once

#include "KyDateTimeFld.h"
#include "KyFieldConversions.h"

class KyTimeFld;

class KyTimeStampFld : public KyDateTimeFld<KyTimeStampFld, tagODBCTIMESTAMP> {
 public:
  static constexpr ULONG kMaxFraction = 999;
  static constexpr tagODBCTIMESTAMP kBuiltInLow{0, 0, 0, 0, 0, 0, 0};
  static constexpr tagODBCTIMESTAMP kBuiltInHigh{9999, 12, 31, 23, 59, 59, kMaxFraction};
  // The fraction is not compared with the special values' texts.
  static constexpr KyDateTimeOptions kOptions{KyOptTimestampEmpty, KyOptTimestampHigh, KyOptTimestampLow, 19};

  KyTimeStampFld() = default;
  KyTimeStampFld(int iYear, int iMonth, int iDay, int iHour, int iMinute, int iSecond, long lFraction,
                 short sState = 0);
  KyTimeStampFld(const char* pszText, short sState);
  KyTimeStampFld(const tagODBCTIMESTAMP& value) : KyDateTimeFld(value, KyStateValue) {}
  KyTimeStampFld(BYTE bAllowedStates, const KyTimeStampFld& empty, const KyTimeStampFld& null,
                 const KyTimeStampFld& low, const KyTimeStampFld& high, WORD wListMask)
      : KyDateTimeFld(bAllowedStates, empty.m_Value, null.m_Value, low.m_Value, high.m_Value, wListMask) {}
  KyTimeStampFld(const KyTimeStampFld& other) = default;
  KyTimeStampFld& operator=(const KyTimeStampFld& other) = default;
  using KyDateTimeFld::operator==;

  // A NULL column gives state 1; otherwise the column's parts and fraction,
  // state 0, then the database step.
  KyTimeStampFld& operator=(const vioTimeStamp& column);

  CString strGetText() const override;
  void PutText(const char* pszText) override;
  // 1 for the empty value or a valid date and time with a fraction of 0-999;
  // else 0.
  int Validate() const;

  KY_CAST_MEMBERS(KyTimeStampFld)
};

// -1, 0, 1 by year (signed), month, day, hour, minute, second, fraction;
// states are not looked at.
int iKyCompTimeStamp(const KyTimeStampFld& a, const KyTimeStampFld& b);
// A time against a timestamp's hour, minute and second only.
int iKyCompTimeStamp(const KyTimeFld& a, const KyTimeStampFld& b);
int iKyCompTimeStamp(const KyTimeStampFld& a, const KyTimeFld& b);
