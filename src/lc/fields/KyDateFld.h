// KyDateFld: a calendar date (year, month, day) with the states and value
// list of every field.
//
// Text out: "yyyy-mm-dd" (at least four digits of year, two of month and
// day). Text in: "*NOW" (any case) takes today from the local clock;
// anything else is read as numbers split at ",./\ -:" in the order year,
// month, day, missing ones 0, stored as read (beyond a part's range its
// limit). Nothing is checked there: callers that need a date call Validate.
//
// Built-in special values: 0000-00-00 for empty, null and low; 9999-12-31
// for high.
#pragma once

#include "KyDateTimeFld.h"
#include "KyFieldConversions.h"

class KyDateFld : public KyDateTimeFld<KyDateFld, tagODBCDATE> {
 public:
  static constexpr tagODBCDATE kBuiltInLow{0, 0, 0};
  static constexpr tagODBCDATE kBuiltInHigh{9999, 12, 31};
  static constexpr KyDateTimeOptions kOptions{KyOptDateEmpty, KyOptDateHigh, KyOptDateLow, 10};

  KyDateFld() = default;
  KyDateFld(int iYear, int iMonth, int iDay, short sState = 0);
  KyDateFld(const char* pszText, short sState);
  KyDateFld(const tagODBCDATE& value) : KyDateTimeFld(value, KyStateValue) {}
  KyDateFld(BYTE bAllowedStates, const KyDateFld& empty, const KyDateFld& null, const KyDateFld& low,
            const KyDateFld& high, WORD wListMask)
      : KyDateTimeFld(bAllowedStates, empty.m_Value, null.m_Value, low.m_Value, high.m_Value, wListMask) {}
  KyDateFld(const KyDateFld& other) = default;
  KyDateFld& operator=(const KyDateFld& other) = default;
  using KyDateTimeFld::operator==;

  // A NULL column gives state 1; otherwise the column's date, state 0, then
  // the database step.
  KyDateFld& operator=(const vioDate& column);

  CString strGetText() const override;
  void PutText(const char* pszText) override;
  // 1 for the empty value or a date of the calendar (year 0 or more), else 0.
  int Validate() const;

  KY_CAST_MEMBERS(KyDateFld)
};

// -1, 0, 1 by year (signed), month and day; states are not looked at.
int iKyCompDate(const KyDateFld& a, const KyDateFld& b);
