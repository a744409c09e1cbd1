// The time field's text forms, validation and column assignment.
#include "KyTimeFld.h"

namespace {

tagODBCTIME timeOf(long hour, long minute, long second) {
  return {KyClampInteger<USHORT>(static_cast<long long>(hour)), KyClampInteger<USHORT>(static_cast<long long>(minute)),
          KyClampInteger<USHORT>(static_cast<long long>(second))};
}

int sign(int difference) { return difference < 0 ? -1 : difference > 0 ? 1 : 0; }

}  // namespace

KyTimeFld::KyTimeFld(int iHour, int iMinute, int iSecond, short sState)
    : KyDateTimeFld(timeOf(iHour, iMinute, iSecond), sState) {}

KyTimeFld::KyTimeFld(const char* pszText, short sState) {
  if (sState != KyStateValue) SetFieldState(sState);
  PutText(pszText);
}

KyTimeFld& KyTimeFld::operator=(const vioTime& column) {
  assignFromColumn(column, timeOf(column.GetHour(), column.GetMinute(), column.GetSecond()));
  return *this;
}

char* KyPutTimeText(char* pszOut, int iHour, int iMinute, int iSecond) {
  char* end = KyPutPaddedNumber(pszOut, iHour, 2);
  *end++ = ':';
  end = KyPutPaddedNumber(end, iMinute, 2);
  *end++ = ':';
  return KyPutPaddedNumber(end, iSecond, 2);
}

CString KyTimeFld::strGetText() const {
  char text[32];
  const char* end = KyPutTimeText(text, m_Value.hour, m_Value.minute, m_Value.second);
  return CString(text, static_cast<int>(end - text));
}

void KyTimeFld::PutText(const char* pszText) {
  if (KyIsNowText(pszText)) {
    tagODBCTIMESTAMP now;
    m_Value = KyReadLocalClock(now) ? tagODBCTIME{now.hour, now.minute, now.second} : tagODBCTIME{65535, 65535, 65535};
    return;
  }
  long parts[3];
  KySplitDateTimeText(pszText, parts, 3);
  m_Value = timeOf(parts[0], parts[1], parts[2]);
}

int KyTimeFld::Validate() const {
  if (IfEmpty()) return 1;
  return KyIsValidTime(m_Value.hour, m_Value.minute, m_Value.second) ? 1 : 0;
}

int iKyCompTime(const KyTimeFld& a, const KyTimeFld& b) {
  const tagODBCTIME x = a.GetValue();
  const tagODBCTIME y = b.GetValue();
  if (x.hour != y.hour) return sign(x.hour - y.hour);
  if (x.minute != y.minute) return sign(x.minute - y.minute);
  return sign(x.second - y.second);
}
