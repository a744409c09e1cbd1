// The conversions of the tables in KyFieldConversions.h. Every text made
// here is bounded by its own buffer (numbers) or grows (KyString): no copy
// of a user's text goes into a fixed work buffer.
#include "KyFieldConversions.h"

#include "KyCharFld.h"
#include "KyDateFld.h"
#include "KyFixedDecFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"

#include <cfloat>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace {

// The fixed-decimal text cast into KyFixedDecFld is cut to this many
// characters (after its blanks are trimmed).
constexpr int kFixedTextCast = 40;

template <class T>
constexpr bool isColumn = std::is_base_of_v<vioType, T>;

// The nearest double of a fixed-decimal number, read from its decimal
// digits (not through nine-decimal text and back): beyond the double's range
// its largest value of that sign; not a number 0.
double fixedToDouble(const KyFixedDecImpl& value) {
  const double number = static_cast<double>(KyFixedDecimal::toDoubleKyFixedDecimal(value.Number()));
  if (std::isnan(number)) return 0.0;
  if (std::isinf(number)) return number < 0 ? -DBL_MAX : DBL_MAX;
  return number;
}

// A value converted into the value type T of a numeric field, clamped to
// T's range; floating values into integers drop their fraction.
template <class T, class V>
T convertNumber(V value) {
  if constexpr (std::is_integral_v<T>) {
    if constexpr (std::is_integral_v<V>)
      return KyClampInteger<T>(static_cast<long long>(value));
    else
      return KyClampInteger<T>(static_cast<double>(value));
  } else if constexpr (std::is_same_v<T, float>) {
    return KyClampFloat(static_cast<double>(value));
  } else {
    return static_cast<T>(value);
  }
}

// A fixed-decimal number into T, from its decimal digits.
template <class T>
T convertFixed(const KyFixedDecImpl& value) {
  if constexpr (std::is_integral_v<T>)
    return KyClampInteger<T>(static_cast<long long>(KyFixedDecimal::toLongLongKyFixedDecimal(value.Number())));
  else
    return convertNumber<T>(fixedToDouble(value));
}

template <class T, class Source>
T numberOf(const Source& source) {
  if constexpr (std::is_same_v<Source, KyFixedDecFld>)
    return convertFixed<T>(source.GetValue());
  else
    return convertNumber<T>(source.GetValue());
}

// A numeric field's value as a fixed-decimal number: integers exactly,
// float with six decimals, double with nine (the decimal forms the number's
// constructors give).
template <class Source>
KyFixedDecImpl fixedOf(const Source& source) {
  using V = typename Source::ValueType;
  if constexpr (std::is_integral_v<V>)
    return KyFixedDecImpl(static_cast<long long>(source.GetValue()));
  else
    return KyFixedDecImpl(source.GetValue());
}

// The value (scale kept), then the source's state, then the value cut or
// rounded to the scale read first.
void assignFixed(KyFixedDecFld& target, const KyFixedDecImpl& value, int iState, bool rounding) {
  const int scale = target.GetScale();
  target.SetValue(value);
  target.SetFieldState(static_cast<short>(iState));
  target.SetValue(rounding ? round(target.GetValue(), scale) : truncate(target.GetValue(), scale));
}

// The value of a column in T.
template <class T, class Column>
T columnNumber(const Column& column) {
  if constexpr (std::is_base_of_v<vioNumeric, Column>)
    return convertNumber<T>(static_cast<double>(column));
  else
    return convertNumber<T>(column.GetValue());
}

template <class Target, class Column>
void assignColumn(Target& target, const Column& column) {
  if (column.IsNull()) return target.SetFieldState(KyStateNull);
  if constexpr (std::is_same_v<Target, KyFixedDecFld>) {
    // Through the text, so it is padded to the field's decimals.
    target.PutText(column.GetText());
    target.SetFieldState(KyStateValue);
    if constexpr (std::is_same_v<Column, vioMoney>)
      target.KyContentToStateFromDB(&column);
    else
      target.KyContentToStateFromDB(nullptr);
  } else {
    target.SetValue(columnNumber<typename Target::ValueType>(column));
    target.SetFieldState(KyStateValue);
    // The limits of a decimal column are its own; the others' are the
    // field's built-in values.
    if constexpr (std::is_base_of_v<vioNumeric, Column>)
      target.KyContentToStateFromDB(&column);
    else
      target.KyContentToStateFromDB(nullptr);
  }
}

// A number's text in a buffer of its own (no value needs more than 32).
struct NumberText {
  char text[32];
};

// "%0*ld": at least iWidth characters, the sign among them.
NumberText padded(long long value, int iWidth) {
  NumberText out;
  *KyPutPaddedNumber(out.text, value, value < 0 ? iWidth - 1 : iWidth) = '\0';
  return out;
}

// The digits of a date ("%04.4d%02.2d%02.2d") or a time ("%02.2d%02.2d%02.2d").
NumberText digitsOf(const KyDateFld& date) {
  const tagODBCDATE d = date.GetValue();
  NumberText out;
  char* end = KyPutPaddedNumber(out.text, d.year, 4);
  end = KyPutPaddedNumber(end, d.month, 2);
  *KyPutPaddedNumber(end, d.day, 2) = '\0';
  return out;
}

NumberText digitsOf(const KyTimeFld& time) {
  const tagODBCTIME t = time.GetValue();
  NumberText out;
  char* end = KyPutPaddedNumber(out.text, t.hour, 2);
  end = KyPutPaddedNumber(end, t.minute, 2);
  *KyPutPaddedNumber(end, t.second, 2) = '\0';
  return out;
}

// The number whose digits a number-to-date cast splits: "%08ld" ("%06ld")
// of the value, floating values truncated; a 64-bit field's own value; a
// fixed-decimal field's text.
template <class Source>
CString splitText(const Source& source, int iWidth) {
  if constexpr (std::is_same_v<Source, KyFixedDecFld>) {
    return source.strGetText();
  } else {
    const long long value = std::is_same_v<Source, KyLLongFld> ? static_cast<long long>(source.GetValue())
                                                                : convertNumber<LONG>(source.GetValue());
    return CString(padded(value, iWidth).text);
  }
}

// Optional blanks and sign, then digits only.
bool isPlainInteger(const char* pszText) {
  const char* p = pszText;
  while (*p == ' ') ++p;
  if (*p == '-' || *p == '+') ++p;
  if (*p < '0' || *p > '9') return false;
  while (*p >= '0' && *p <= '9') ++p;
  return *p == '\0';
}

template <class T>
constexpr bool isNumericTarget = std::is_same_v<T, KyByteFld> || std::is_same_v<T, KyIntFld> ||
                                 std::is_same_v<T, KyLongFld> || std::is_same_v<T, KyLLongFld> ||
                                 std::is_same_v<T, KySglFld> || std::is_same_v<T, KyDblFld>;

void castStampIntoChar(KyCharFld& target, const KyTimeStampFld& source) {
  const tagODBCTIMESTAMP s = source.GetValue();
  char text[64];
  char* end = KyPutPaddedNumber(text, s.year, 4);
  *end++ = '-';
  end = KyPutPaddedNumber(end, s.month, 2);
  *end++ = '-';
  end = KyPutPaddedNumber(end, s.day, 2);
  *end++ = ' ';
  end = KyPutTimeText(end, s.hour, s.minute, s.second);
  *end++ = ' ';
  end = KyPutPaddedNumber(end, s.fraction, 1);
  *end = '\0';
  target.PutText(text);
}

}  // namespace

template <class Target, class Source>
void KyAssignField(Target& target, const Source& source) {
  if constexpr (isColumn<Source>) {
    assignColumn(target, source);
  } else if constexpr (std::is_same_v<Target, KyFixedDecFld>) {
    assignFixed(target, fixedOf(source), source.GetFieldState(), false);
  } else {
    target.SetValue(numberOf<typename Target::ValueType>(source));
    target.SetFieldState(static_cast<short>(source.GetFieldState()));
  }
}

template <class Target, class Source>
void KyRoundAssignField(Target& target, const Source& source) {
  assignFixed(target, fixedOf(source), source.GetFieldState(), true);
}

template <class Target, class Source>
void KyCastField(Target& target, const Source& source) {
  if constexpr (isNumericTarget<Target> && (std::is_same_v<Source, KyDateFld> || std::is_same_v<Source, KyTimeFld>)) {
    target.PutText(digitsOf(source).text);
  } else if constexpr (isNumericTarget<Target> && std::is_same_v<Source, KyCharFld>) {
    // Plain digits read the same in every notation: skip the rewriting.
    if (std::is_integral_v<typename Target::ValueType> && isPlainInteger(source))
      target.PutText(source);
    else
      target.PutIntlText(source);
  } else if constexpr (std::is_same_v<Target, KyCharFld> &&
                       (std::is_same_v<Source, KyDateFld> || std::is_same_v<Source, KyTimeFld>)) {
    target.PutText(source.strGetText());
  } else if constexpr (std::is_same_v<Target, KyCharFld> && std::is_same_v<Source, KyTimeStampFld>) {
    castStampIntoChar(target, source);
  } else if constexpr (std::is_same_v<Target, KyCharFld> && std::is_same_v<Source, KyDblFld>) {
    target.PutUSText(source.strGetText());
  } else if constexpr (std::is_same_v<Target, KyDateFld>) {
    const CString text = splitText(source, 8);
    target.SetValue(KyDateFld(KyReadTextPiece(text, 0, 4), KyReadTextPiece(text, 4, 2), KyReadTextPiece(text, 6, 2)).GetValue());
  } else if constexpr (std::is_same_v<Target, KyTimeFld>) {
    const CString text = splitText(source, 6);
    target.SetValue(KyTimeFld(KyReadTextPiece(text, 0, 2), KyReadTextPiece(text, 2, 2), KyReadTextPiece(text, 4, 2)).GetValue());
  } else if constexpr (std::is_same_v<Target, KyTimeStampFld>) {
    const CString text = source.strGetText();
    const long fraction = text.GetLength() > 14 ? KyClampInteger<LONG>(KyReadInteger(static_cast<const char*>(text) + 14)) : 0;
    target.SetValue(KyTimeStampFld(KyReadTextPiece(text, 0, 4), KyReadTextPiece(text, 4, 2), KyReadTextPiece(text, 6, 2),
                                   KyReadTextPiece(text, 8, 2), KyReadTextPiece(text, 10, 2), KyReadTextPiece(text, 12, 2),
                                   fraction)
                        .GetValue());
  } else if constexpr (std::is_same_v<Target, KyFixedDecFld> && std::is_same_v<Source, KyCharFld>) {
    const char* first = source;
    const char* last = first + source.GetLength();
    while (first < last && *first == ' ') ++first;
    while (last > first && last[-1] == ' ') --last;
    char text[kFixedTextCast + 1];
    const size_t length = std::min(static_cast<size_t>(last - first), static_cast<size_t>(kFixedTextCast));
    std::memcpy(text, first, length);
    text[length] = '\0';
    target.PutIntlText(text);
  } else if constexpr (std::is_same_v<Target, KyFixedDecFld> &&
                       (std::is_same_v<Source, KyDateFld> || std::is_same_v<Source, KyTimeFld>)) {
    target.SetValue(KyFixedDecImpl(KyReadDouble(digitsOf(source).text)));
  } else if constexpr (std::is_same_v<Target, KyFixedDecFld> && std::is_same_v<Source, KyTimeStampFld>) {
    const CString text = source.strGetText();
    char digits[64];
    int count = 0;
    for (const char* p = text; *p && count < static_cast<int>(sizeof digits) - 1; ++p)
      if (*p >= '0' && *p <= '9') digits[count++] = *p;
    digits[count] = '\0';
    target.PutText(digits);
  } else if constexpr (std::is_same_v<Target, KyFixedDecFld> && std::is_same_v<Source, KyDblFld>) {
    target.PutText(source.strGetText());
  } else {
    static_assert(!sizeof(Target), "a cast of the table without a rule");
  }
  target.SetFieldState(KyStateValue);
}

#define KY_INSTANTIATE_ASSIGN(Target, Source) template void KyAssignField<Target, Source>(Target&, const Source&);
#define KY_INSTANTIATE_ROUND(Target, Source) template void KyRoundAssignField<Target, Source>(Target&, const Source&);
#define KY_INSTANTIATE_CAST(Target, Source) template void KyCastField<Target, Source>(Target&, const Source&);
KY_FIELD_ASSIGNMENTS(KY_INSTANTIATE_ASSIGN)
KY_FIELD_ROUNDING_ASSIGNMENTS(KY_INSTANTIATE_ROUND)
KY_FIELD_CASTS(KY_INSTANTIATE_CAST)
