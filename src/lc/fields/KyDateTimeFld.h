// What the date, time and timestamp fields share: the ODBC structures they
// hold, the reading of their texts, the local clock of "*NOW", the calendar
// rules of Validate and the database value-to-state step.
//
// The state rules (SetFieldState, SetDefaultData, SetEmpty, IfEmpty, GetLP,
// GetDefaultVal, Construct, the value list) are those of KyNumericFld,
// which serve any value type with == and an all-zero default: the fields
// derive from it and replace only its database step.
#pragma once

#include "KyNumericFld.h"
#include "vioDateTime.h"

// The structures exchanged with ODBC drivers; their layout is the driver's
// (DATE_STRUCT, TIME_STRUCT, TIMESTAMP_STRUCT).
struct tagODBCDATE {
  SHORT year;
  USHORT month;
  USHORT day;
  friend bool operator==(const tagODBCDATE&, const tagODBCDATE&) = default;
};
struct tagODBCTIME {
  USHORT hour;
  USHORT minute;
  USHORT second;
  friend bool operator==(const tagODBCTIME&, const tagODBCTIME&) = default;
};
// The fraction is in milliseconds everywhere in the run-time (the clock of
// "*NOW", the text's three digits, Validate's 0-999).
struct tagODBCTIMESTAMP {
  SHORT year;
  USHORT month;
  USHORT day;
  USHORT hour;
  USHORT minute;
  USHORT second;
  ULONG fraction;
  friend bool operator==(const tagODBCTIMESTAMP&, const tagODBCTIMESTAMP&) = default;
};
static_assert(sizeof(tagODBCDATE) == 6 && sizeof(tagODBCTIME) == 6 && sizeof(tagODBCTIMESTAMP) == 16);

// The delimiters of date and time texts.
inline constexpr char kKyDateTimeDelimiters[] = ",./\\ -:";

// Splits the text at runs of delimiters into at most iMaxParts numbers, each
// the atol reading of its piece (saturated at the 32-bit range); the parts
// beyond the text's pieces are 0. Null reads as "".
void KySplitDateTimeText(const char* pszText, long* plParts, int iMaxParts);

// Whether the text is "*NOW" in any case (nothing around it).
bool KyIsNowText(const char* pszText);

// One reading of the local clock. False when the clock cannot be turned into
// local time (then the parts are 0).
bool KyReadLocalClock(tagODBCTIMESTAMP& now);

// The calendar: days of a month (0 for a month outside 1-12) and whether a
// year is a leap year of the Gregorian calendar.
bool KyIsLeapYear(int iYear);
int KyDaysInMonth(int iYear, int iMonth);
// Year 0 or more, month 1-12, day 1 to the month's length.
bool KyIsValidDate(int iYear, int iMonth, int iDay);
// Hour 0-23, minute and second 0-59.
bool KyIsValidTime(int iHour, int iMinute, int iSecond);

// Writes a number with at least iDigits digits (zeros after a '-') at
// pszOut, which has room for a sign and max(iDigits, 20) digits; gives the
// end. The "%0*.*d" form of the text forms, without a format parse.
char* KyPutPaddedNumber(char* pszOut, long long value, int iDigits);

// The run options and compared length of one class's database step.
struct KyDateTimeOptions {
  int iEmpty;
  int iHigh;
  int iLow;
  int iLength;
};

template <class Derived, class T>
class KyDateTimeFld : public KyNumericFld<Derived, T> {
  using Base = KyNumericFld<Derived, T>;

 public:
  // After a column value has been stored; the first rule that holds wins:
  // the list's empty, high, low entries equal to the value; then without an
  // entry for it, the text against the empty option, and (when allowed) the
  // high and low options, over the class's length.
  void KyContentToStateFromDB(const vioType* pColumn = nullptr) {
    constexpr KyDateTimeOptions options = Derived::kOptions;
    const T* empty = this->GetLP(KyStateEmpty);
    const T* high = this->GetLP(KyStateHigh);
    const T* low = this->GetLP(KyStateLow);
    if (empty && *empty == this->m_Value) return this->SetEmpty();
    if (high && *high == this->m_Value) return void(this->m_bFieldState = KyStateHigh);
    if (low && *low == this->m_Value) return void(this->m_bFieldState = KyStateLow);
    const CString text = this->strGetText();
    if (!empty && KyRTType::isEQSpecialValFromINI(text, pColumn, options.iEmpty, options.iLength))
      return this->SetEmpty();
    if (this->IsAllowed(KyStateHigh) && !high &&
        KyRTType::isEQSpecialValFromINI(text, pColumn, options.iHigh, options.iLength))
      return void(this->m_bFieldState = KyStateHigh);
    if (this->IsAllowed(KyStateLow) && !low &&
        KyRTType::isEQSpecialValFromINI(text, pColumn, options.iLow, options.iLength))
      this->m_bFieldState = KyStateLow;
  }

  // Every member equal (the fraction included); the state is not looked at.
  BOOL operator==(const T& value) const { return this->m_Value == value ? 1 : 0; }

 protected:
  using Base::Base;
  KyDateTimeFld(const KyDateTimeFld&) = default;
  KyDateTimeFld& operator=(const KyDateTimeFld&) = default;
  ~KyDateTimeFld() = default;

  // A NULL column: state 1 with the null value, whatever the allowed states.
  // Otherwise the column's parts, state 0, then the database step.
  void assignFromColumn(const vioDateTimeValue& column, T value) {
    if (column.IsNull()) return this->SetFieldState(KyStateNull);
    this->m_Value = value;
    this->m_bFieldState = KyStateValue;
    KyContentToStateFromDB(&column);
  }
};

// The piece of a number's text at [iFirst, iFirst + iCount) read with atoi;
// a piece beyond the text reads 0. The number-to-date splits.
int KyReadTextPiece(const char* pszText, int iFirst, int iCount);
