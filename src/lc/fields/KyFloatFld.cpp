// The floating-point fields' text forms.
#include "KyFloatFld.h"

namespace {

KyString format(const char* pszFormat, double value) {
  KyString text;
  text.Format(pszFormat, value);
  return text;
}

KyString formatFixed(int iDecimals, double value) {
  KyString text;
  text.Format("%.*f", iDecimals, value);
  return text;
}

}  // namespace

template <class Derived, class T>
T KyFloatFld<Derived, T>::fromDouble(double value) {
  if constexpr (sizeof(T) == sizeof(float))
    return KyClampFloat(value);
  else
    return value;
}

template <class Derived, class T>
void KyFloatFld<Derived, T>::PutText(const char* pszText) {
  this->m_Value = fromDouble(KyReadDouble(KyNumberFromLocaleText(pszText)));
}

template <class Derived, class T>
void KyFloatFld<Derived, T>::PutIntlText(const char* pszText) {
  this->m_Value = fromDouble(KyReadDouble(KyNumberFromIntlText(pszText)));
}

template class KyFloatFld<KySglFld, float>;
template class KyFloatFld<KyDblFld, double>;
template class KyFloatFld<KyLdblFld, double>;

CString KyDblFld::strGetText(int iDecimals) const {
  if (iDecimals < 0 || m_Value > 9999999999999998.0) return format("%.15g", m_Value);
  return formatFixed(iDecimals, m_Value);
}

CString KyLdblFld::strGetText(int iDecimals) const {
  if (iDecimals < 0 || m_Value > 1e19 || m_Value < -1e18) return format("%.19g", m_Value);
  return formatFixed(iDecimals, m_Value);
}

CString KySglFld::strGetText(int iDecimals) const {
  const double value = m_Value;
  if (iDecimals < 0) return format("%.7g", value);
  KyString text = formatFixed(iDecimals, value);
  return text.GetLength() > 8 ? format("%.7g", value) : text;
}
