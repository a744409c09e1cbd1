// The date field's text forms, validation and column assignment.
#include "KyDateFld.h"

namespace {

tagODBCDATE dateOf(long year, long month, long day) {
  return {KyClampInteger<SHORT>(static_cast<long long>(year)), KyClampInteger<USHORT>(static_cast<long long>(month)),
          KyClampInteger<USHORT>(static_cast<long long>(day))};
}

int sign(long long difference) { return difference < 0 ? -1 : difference > 0 ? 1 : 0; }

}  // namespace

KyDateFld::KyDateFld(int iYear, int iMonth, int iDay, short sState)
    : KyDateTimeFld(dateOf(iYear, iMonth, iDay), sState) {}

KyDateFld::KyDateFld(const char* pszText, short sState) {
  if (sState != KyStateValue) SetFieldState(sState);
  PutText(pszText);
}

KyDateFld& KyDateFld::operator=(const vioDate& column) {
  assignFromColumn(column, dateOf(column.GetYear(), column.GetMonth(), column.GetDay()));
  return *this;
}

CString KyDateFld::strGetText() const {
  char text[32];
  char* end = KyPutPaddedNumber(text, m_Value.year, 4);
  *end++ = '-';
  end = KyPutPaddedNumber(end, m_Value.month, 2);
  *end++ = '-';
  end = KyPutPaddedNumber(end, m_Value.day, 2);
  return CString(text, static_cast<int>(end - text));
}

void KyDateFld::PutText(const char* pszText) {
  if (KyIsNowText(pszText)) {
    tagODBCTIMESTAMP now;
    KyReadLocalClock(now);  // on failure the parts are 0, as the date wants
    m_Value = {now.year, now.month, now.day};
    return;
  }
  long parts[3];
  KySplitDateTimeText(pszText, parts, 3);
  m_Value = dateOf(parts[0], parts[1], parts[2]);
}

int KyDateFld::Validate() const {
  if (IfEmpty()) return 1;
  return KyIsValidDate(m_Value.year, m_Value.month, m_Value.day) ? 1 : 0;
}

int iKyCompDate(const KyDateFld& a, const KyDateFld& b) {
  const tagODBCDATE x = a.GetValue();
  const tagODBCDATE y = b.GetValue();
  if (x.year != y.year) return sign(x.year - y.year);
  if (x.month != y.month) return sign(x.month - y.month);
  return sign(x.day - y.day);
}
