// Integer and floating-point column values: their text forms.
#include "vioInteger.h"

#include "KyNumberText.h"
#include "KyString.h"

#include <algorithm>
#include <charconv>
#include <cstring>

template <class T, VIO_TYPE Type>
const char* vioScalar<T, Type>::GetText() const {
  if constexpr (std::is_floating_point_v<T>) {
    KyString text;
    text.Format("%.15g", m_Value);
    const size_t n = std::min<size_t>(static_cast<size_t>(text.GetLength()), m_TextForm.size() - 1);
    std::memcpy(m_TextForm.data(), text.c_str(), n);
    m_TextForm[n] = '\0';
  } else {
    auto [end, ec] = std::to_chars(m_TextForm.data(), m_TextForm.data() + m_TextForm.size() - 1, m_Value);
    *end = '\0';
  }
  return m_TextForm.data();
}

template <class T, VIO_TYPE Type>
void vioScalar<T, Type>::PutText(const char* pszText) {
  if constexpr (std::is_floating_point_v<T>)
    m_Value = KyReadDouble(pszText);
  else
    m_Value = KyClampInteger<T>(KyReadInteger(pszText));
}

template class vioScalar<SHORT, vioTypeSmallInt>;
template class vioScalar<LONG, vioTypeInteger>;
template class vioScalar<LONGLONG, vioTypeBigInt>;
template class vioScalar<double, vioTypeFloat>;
