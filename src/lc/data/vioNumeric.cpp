// vioNumeric and vioMoney: text, limits and the double form.
#include "vioNumeric.h"

#include "KyNumberText.h"

#include <algorithm>
#include <cstring>
#include <string>

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

// The largest value the column's precision holds: a buffer of length bytes
// has room for length - 3 digits, a sign and a point. (Filling the whole
// buffer with '9's would give one integer digit more than the column
// takes, a value the database refuses.)
void vioNumeric::SetLimitText(int iSignCode) {
  const int precision = static_cast<int>(m_Text.size()) - 3;
  std::string limit;
  if (precision > 0) {
    const int scale = std::max(m_iScale, 0);
    if (scale < precision) {
      limit.assign(static_cast<size_t>(precision - scale), '9');
      if (scale > 0) limit += '.' + std::string(static_cast<size_t>(scale), '9');
    } else {
      limit = "." + std::string(static_cast<size_t>(scale - precision), '0') + std::string(static_cast<size_t>(precision), '9');
    }
    if (iSignCode == 2) limit.insert(0, 1, '-');
  }
  const size_t n = std::min(limit.size(), m_Text.size() - 1);
  std::memcpy(m_Text.data(), limit.data(), n);
  m_Text[n] = '\0';
}

vioMoney::vioMoney(KyDatabaseConnection* pConnection, int iLength) : vioNumeric(pConnection, vioTypeMoney, iLength, 4) {}
