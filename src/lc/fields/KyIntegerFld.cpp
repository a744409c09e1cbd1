// The integer fields' text forms.
#include "KyIntegerFld.h"

#include <charconv>

template <class Derived, class T>
CString KyIntegerFld<Derived, T>::strGetText() const {
  char text[24];  // the longest 64-bit value and its sign
  auto [end, ec] = std::to_chars(text, text + sizeof text - 1, this->m_Value);
  *end = '\0';
  return CString(text);
}

template <class Derived, class T>
void KyIntegerFld<Derived, T>::PutText(const char* pszText) {
  this->m_Value = KyClampInteger<T>(KyReadInteger(pszText));
}

template <class Derived, class T>
void KyIntegerFld<Derived, T>::PutIntlText(const char* pszText) {
  this->m_Value = KyClampInteger<T>(KyReadInteger(KyNumberFromIntlText(pszText)));
}

template class KyIntegerFld<KyByteFld, BYTE>;
template class KyIntegerFld<KyIntFld, SHORT>;
template class KyIntegerFld<KyLongFld, LONG>;
template class KyIntegerFld<KyLLongFld, __int64>;
