// Fields into column values: the assignments generated code makes before an
// insert or update. Only the pairs instantiated at the end exist; another
// pair does not link.
#include "KyCharFld.h"
#include "KyDateFld.h"
#include "KyFixedDecFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "vioBigIntOra.h"
#include "vioCharacter.h"
#include "vioDateTime.h"
#include "vioInteger.h"
#include "vioNumeric.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>

namespace {

// The money type's range, which a money column's limits take.
constexpr char kMoneyHigh[] = "922337203685477.5807";
constexpr char kMoneyLow[] = "-922337203685477.5807";

template <class T, class V>
T saturated(V value) {
  if constexpr (std::is_floating_point_v<V> && !std::is_floating_point_v<T>) {
    if (std::isnan(value)) return T();
    if (value <= static_cast<V>(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
    if (value >= static_cast<V>(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
    return static_cast<T>(value);
  } else if constexpr (!std::is_floating_point_v<T>) {
    if (value < static_cast<V>(0) && static_cast<long long>(value) < static_cast<long long>(std::numeric_limits<T>::min()))
      return std::numeric_limits<T>::min();
    if (value > static_cast<V>(0) &&
        static_cast<unsigned long long>(value) > static_cast<unsigned long long>(std::numeric_limits<T>::max()))
      return std::numeric_limits<T>::max();
    return static_cast<T>(value);
  } else {
    return static_cast<T>(value);
  }
}

// A field's special state that a column stands for by its limit: 8 or 2
// when the field is in it, allows it and has no list entry for it; else 0.
template <class Field>
int limitState(const Field& field) {
  for (int code : {8, 2})
    if (field.GetFieldState() == code && field.IsAllowed(code) && !field.GetLP(code)) return code;
  return 0;
}

// The double limit of a float column: 58 '9's (after '-' for the smallest)
// with the point at length - scale and the end at length + 1.
double floatLimit(int iLength, int iScale, int iCode) {
  char digits[60];
  std::memset(digits, '9', 58);
  digits[58] = '\0';
  const int point = iLength - iScale;
  const int end = iLength + 1;
  if (point >= 0 && point < 58) digits[point] = '.';
  if (end >= 0 && end < 58) digits[end] = '\0';
  const double value = std::atof(digits);
  return iCode == 2 ? -value : value;
}

// A null field makes the column NULL (true); any other clears NULL.
bool tookNull(vioType& column, const KyRTType& field) {
  const bool null = field.GetFieldState() == KyStateNull;
  column.SetNull(null ? 1 : 0);
  return null;
}

template <class Field>
double valueOf(const Field& field) {
  if constexpr (std::is_same_v<Field, KyFixedDecFld>)
    return std::atof(static_cast<const char*>(field.strGetText()));
  else
    return static_cast<double>(field.GetValue());
}

}  // namespace

// --- integers and floats -----------------------------------------------------

template <class T, VIO_TYPE Type>
template <class Field>
vioScalar<T, Type>& vioScalar<T, Type>::operator=(const Field& field) {
  if (tookNull(*this, field)) return *this;
  if constexpr (std::is_same_v<Field, KyFixedDecFld>)
    m_Value = saturated<T>(valueOf(field));
  else
    m_Value = saturated<T>(field.GetValue());
  if constexpr (Type == vioTypeFloat && !std::is_same_v<Field, KyFixedDecFld>) {
    if (const int code = limitState(field)) m_Value = floatLimit(m_iLength, m_iScale, code);
  }
  return *this;
}

template vioSmallInt& vioSmallInt::operator=(const KyByteFld&);
template vioSmallInt& vioSmallInt::operator=(const KyIntFld&);
template vioInteger& vioInteger::operator=(const KyDblFld&);
template vioInteger& vioInteger::operator=(const KyIntFld&);
template vioInteger& vioInteger::operator=(const KyLdblFld&);
template vioInteger& vioInteger::operator=(const KyLongFld&);
template vioBigInt& vioBigInt::operator=(const KyDblFld&);
template vioBigInt& vioBigInt::operator=(const KyIntFld&);
template vioBigInt& vioBigInt::operator=(const KyLLongFld&);
template vioBigInt& vioBigInt::operator=(const KyLdblFld&);
template vioBigInt& vioBigInt::operator=(const KyLongFld&);
template vioScalar<double, vioTypeFloat>& vioScalar<double, vioTypeFloat>::operator=(const KyDblFld&);
template vioScalar<double, vioTypeFloat>& vioScalar<double, vioTypeFloat>::operator=(const KyFixedDecFld&);
template vioScalar<double, vioTypeFloat>& vioScalar<double, vioTypeFloat>::operator=(const KyIntFld&);
template vioScalar<double, vioTypeFloat>& vioScalar<double, vioTypeFloat>::operator=(const KyLongFld&);
template vioScalar<double, vioTypeFloat>& vioScalar<double, vioTypeFloat>::operator=(const KySglFld&);

// --- Oracle big integers -------------------------------------------------------

template <class Field>
vioBigIntOra& vioBigIntOra::operator=(const Field& field) {
  if (tookNull(*this, field)) return *this;
  SetValue(saturated<LONGLONG>(field.GetValue()));
  return *this;
}

template vioBigIntOra& vioBigIntOra::operator=(const KyDblFld&);
template vioBigIntOra& vioBigIntOra::operator=(const KyLLongFld&);
template vioBigIntOra& vioBigIntOra::operator=(const KyLdblFld&);
template vioBigIntOra& vioBigIntOra::operator=(const KyLongFld&);

// --- numeric and money ---------------------------------------------------------

vioNumeric& vioNumeric::operator=(double value) {
  char text[400];  // any double at any scale the buffer may take
  std::snprintf(text, sizeof text, "%.*f", std::min(std::max(m_iScale, 0), 60), value);
  SetNull(0);
  PutText(text);
  return *this;
}

template <class Field>
vioNumeric& vioNumeric::operator=(const Field& field) {
  if constexpr (std::is_same_v<Field, KyFixedDecFld>) {
    if (field.GetFieldState() == KyStateNull) {
      PutText("");
      SetNull(1);
      return *this;
    }
    std::string text(static_cast<const char*>(field.strGetText()));
    if (text.size() > 512) text.resize(512);
    // Oracle takes "1.50" as written; one trailing '0' or '.' goes, as the
    // OCI road has always sent it.
    if (IsOCI() && text.find('.') != std::string::npos && !text.empty() && (text.back() == '0' || text.back() == '.'))
      text.pop_back();
    SetNull(0);
    PutText(text.c_str());
    if (const int code = limitState(field)) {
      if (m_Type == vioTypeMoney) {
        PutText(code == 8 ? kMoneyHigh : kMoneyLow);
      } else {
        // The signed form: the buffer of '9's with the sign first.
        std::string limit(m_Text.size() - 1, '9');
        if (!limit.empty()) limit[0] = code == 8 ? '+' : '-';
        const int point = static_cast<int>(m_Text.size()) - m_iScale - 2;
        if (m_iScale > 0 && point > 0 && point < static_cast<int>(limit.size()))
          limit[static_cast<size_t>(point)] = '.';
        else if (m_iScale <= 0 && limit.size() >= 1)
          limit.resize(limit.size() - 1);
        PutText(limit.c_str());
      }
    }
    return *this;
  } else {
    if (tookNull(*this, field)) return *this;
    *this = static_cast<double>(field.GetValue());
    if (const int code = limitState(field)) {
      SetLimitText(code);
      SetIndicatorLength(std::strlen(m_Text.data()));
    }
    return *this;
  }
}

template vioNumeric& vioNumeric::operator=(const KyDblFld&);
template vioNumeric& vioNumeric::operator=(const KyFixedDecFld&);
template vioNumeric& vioNumeric::operator=(const KyIntFld&);
template vioNumeric& vioNumeric::operator=(const KyLdblFld&);
template vioNumeric& vioNumeric::operator=(const KyLongFld&);
template vioNumeric& vioNumeric::operator=(const KySglFld&);

// --- characters ------------------------------------------------------------------

vioCharacter& vioCharacter::operator=(const KyCharFld& field) {
  if (field.GetFieldState() == KyStateNull) {
    SetData("");
    SetNull(1);
    return *this;
  }
  SetNull(0);
  PutText(field.c_str());
  SetContentFromINI(field);
  return *this;
}

vioVarChar& vioVarChar::operator=(const KyCharFld& field) {
  vioCharacter::operator=(field);
  return *this;
}

// --- dates and times -------------------------------------------------------------

vioDate& vioDate::operator=(const KyDateFld& field) {
  if (tookNull(*this, field)) return *this;
  const tagODBCDATE value = field.GetValue();
  SetYear(value.year);
  SetMonth(value.month);
  SetDay(value.day);
  SetContentFromINI(field);
  return *this;
}

vioTime& vioTime::operator=(const KyTimeFld& field) {
  if (tookNull(*this, field)) return *this;
  const tagODBCTIME value = field.GetValue();
  SetHour(value.hour);
  SetMinute(value.minute);
  SetSecond(value.second);
  SetContentFromINI(field);
  return *this;
}

vioTimeStamp& vioTimeStamp::operator=(const KyTimeStampFld& field) {
  if (tookNull(*this, field)) return *this;
  const tagODBCTIMESTAMP value = field.GetValue();
  SetYear(value.year);
  SetMonth(value.month);
  SetDay(value.day);
  SetHour(value.hour);
  SetMinute(value.minute);
  SetSecond(value.second);
  SetFraction(static_cast<long>(value.fraction));
  SetContentFromINI(field);
  return *this;
}
