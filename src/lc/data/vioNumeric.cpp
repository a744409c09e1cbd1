// vioNumeric and vioMoney: text, limits and the double form.
#include "vioNumeric.h"

#include "KyNumberText.h"

#include <algorithm>
#include <cstring>

vioNumeric::vioNumeric(KyDatabaseConnection* pConnection, int iLength, int iScale)
    : vioNumeric(pConnection, vioTypeNumeric, iLength, iScale) {}

vioNumeric::vioNumeric(KyDatabaseConnection* pConnection, VIO_TYPE type, int iLength, int iScale)
    : vioType(pConnection, type, iLength, iScale), m_Text(static_cast<size_t>(std::max(iLength, 1)), '\0') {}

void vioNumeric::PutText(const char* pszText) {
  const char* text = pszText ? pszText : "";
  const size_t n = strnlen(text, m_Text.size() - 1);
  std::memcpy(m_Text.data(), text, n);
  m_Text[n] = '\0';
  SetIndicatorLength(n);
}

vioNumeric::operator double() const { return IsNull() ? 0.0 : KyReadDouble(m_Text.data()); }

void vioNumeric::SetLimitText(int iSignCode) {
  const int digits = static_cast<int>(m_Text.size()) - 1;  // the terminator stays
  std::fill(m_Text.begin(), m_Text.end() - 1, '9');
  m_Text.back() = '\0';
  // The point stands before the scale's digits, at length - scale - 2; a
  // scale that leaves no room for it (or scale 0) gives an integer limit.
  const int point = digits - 1 - m_iScale;
  if (m_iScale > 0 && point > 0)
    m_Text[static_cast<size_t>(point)] = '.';
  else if (m_iScale <= 0 && digits >= 2)
    m_Text[static_cast<size_t>(digits - 1)] = '\0';
  if (iSignCode == 2 && digits > 0) m_Text[0] = '-';
}

vioMoney::vioMoney(KyDatabaseConnection* pConnection, int iLength) : vioNumeric(pConnection, vioTypeMoney, iLength, 4) {}
