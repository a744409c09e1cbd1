// The timestamp field's text forms, validation, column assignment and
// comparisons.
#include "KyTimeStampFld.h"

#include "KyTimeFld.h"

#include <tuple>

namespace {

tagODBCTIMESTAMP stampOf(long year, long month, long day, long hour, long minute, long second, long long fraction) {
  auto part = [](long value) { return KyClampInteger<USHORT>(static_cast<long long>(value)); };
  return {KyClampInteger<SHORT>(static_cast<long long>(year)), part(month), part(day), part(hour), part(minute),
          part(second), KyClampInteger<ULONG>(fraction)};
}

template <class T>
int compareTuples(const T& a, const T& b) {
  return a < b ? -1 : b < a ? 1 : 0;
}

auto timeParts(const tagODBCTIME& t) { return std::make_tuple(t.hour, t.minute, t.second); }
auto timeParts(const tagODBCTIMESTAMP& t) { return std::make_tuple(t.hour, t.minute, t.second); }

}  // namespace

KyTimeStampFld::KyTimeStampFld(int iYear, int iMonth, int iDay, int iHour, int iMinute, int iSecond, long lFraction,
                               short sState)
    : KyDateTimeFld(stampOf(iYear, iMonth, iDay, iHour, iMinute, iSecond, lFraction), sState) {}

KyTimeStampFld::KyTimeStampFld(const char* pszText, short sState) {
  if (sState != KyStateValue) SetFieldState(sState);
  PutText(pszText);
}

KyTimeStampFld& KyTimeStampFld::operator=(const vioTimeStamp& column) {
  assignFromColumn(column, stampOf(column.GetYear(), column.GetMonth(), column.GetDay(), column.GetHour(),
                                   column.GetMinute(), column.GetSecond(), column.GetFraction()));
  return *this;
}

CString KyTimeStampFld::strGetText() const {
  char text[64];  // "-32768-65535-65535 65535:65535:65535.4294967295"
  char* end = KyPutPaddedNumber(text, m_Value.year, 4);
  *end++ = '-';
  end = KyPutPaddedNumber(end, m_Value.month, 2);
  *end++ = '-';
  end = KyPutPaddedNumber(end, m_Value.day, 2);
  *end++ = ' ';
  end = KyPutTimeText(end, m_Value.hour, m_Value.minute, m_Value.second);
  *end++ = '.';
  end = KyPutPaddedNumber(end, m_Value.fraction, 3);
  return CString(text, static_cast<int>(end - text));
}

void KyTimeStampFld::PutText(const char* pszText) {
  if (KyIsNowText(pszText)) {
    tagODBCTIMESTAMP now;
    if (!KyReadLocalClock(now)) now.hour = now.minute = now.second = 65535;
    m_Value = now;
    return;
  }
  long parts[7];
  KySplitDateTimeText(pszText, parts, 7);
  m_Value = stampOf(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5], parts[6]);
}

int KyTimeStampFld::Validate() const {
  if (IfEmpty()) return 1;
  return KyIsValidDate(m_Value.year, m_Value.month, m_Value.day) &&
                 KyIsValidTime(m_Value.hour, m_Value.minute, m_Value.second) && m_Value.fraction <= kMaxFraction
             ? 1
             : 0;
}

int iKyCompTimeStamp(const KyTimeStampFld& a, const KyTimeStampFld& b) {
  const tagODBCTIMESTAMP x = a.GetValue();
  const tagODBCTIMESTAMP y = b.GetValue();
  return compareTuples(std::make_tuple(x.year, x.month, x.day, x.hour, x.minute, x.second, x.fraction),
                       std::make_tuple(y.year, y.month, y.day, y.hour, y.minute, y.second, y.fraction));
}

int iKyCompTimeStamp(const KyTimeFld& a, const KyTimeStampFld& b) {
  return compareTuples(timeParts(a.GetValue()), timeParts(b.GetValue()));
}

int iKyCompTimeStamp(const KyTimeStampFld& a, const KyTimeFld& b) { return -iKyCompTimeStamp(b, a); }
