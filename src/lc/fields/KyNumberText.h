// Reading numbers from texts as the run-time's fields do (atol / atof
// readings), with one rule for values beyond a type's range: they are
// clamped to the type's limits, never wrapped or left undefined.
#pragma once

#include <cstddef>
#include <limits>
#include <type_traits>

// Leading blanks (isspace), an optional sign and decimal digits; what follows
// is ignored. No digits: 0. Beyond the 64-bit range: the limit of that sign.
long long KyReadInteger(const char* pszText);

// Leading blanks, an optional sign, then a decimal number with an optional
// exponent ("12", "-.5", "1.5e3"); what follows is ignored. Anything else
// (no digits, "inf", "nan", hexadecimal) reads as 0. Beyond the double's
// range: the largest double of that sign; below its smallest magnitude: 0.
double KyReadDouble(const char* pszText);

// A 64-bit integer clamped into T.
template <class T>
T KyClampInteger(long long value) {
  static_assert(std::is_integral_v<T>);
  if constexpr (sizeof(T) < sizeof(long long) || std::is_unsigned_v<T>) {
    constexpr long long low = static_cast<long long>(std::numeric_limits<T>::min());
    if (value < low) return std::numeric_limits<T>::min();
    if constexpr (sizeof(T) < sizeof(long long)) {
      constexpr long long high = static_cast<long long>(std::numeric_limits<T>::max());
      if (value > high) return std::numeric_limits<T>::max();
    }
  }
  return static_cast<T>(value);
}

// A double clamped into the integer type T, truncated toward zero; NaN
// gives 0.
template <class T>
T KyClampInteger(double value) {
  static_assert(std::is_integral_v<T>);
  if (value != value) return 0;
  if (value <= static_cast<double>(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
  // max() may not be representable (2^63 - 1 rounds up to 2^63): compare
  // with the first value beyond it.
  constexpr double beyond = static_cast<double>(std::numeric_limits<T>::max()) + 1.0;
  if (value >= beyond) return std::numeric_limits<T>::max();
  return static_cast<T>(value);
}

// A double clamped into float's range (NaN stays NaN).
float KyClampFloat(double value);

class KyString;
class KyLocale;

// The text with the locale's decimal character turned into '.' and blanks
// dropped (every other character stays): the reading of PutText.
KyString KyNumberFromLocaleText(const char* pszText);
// The text with the locale's thousands character dropped and the rest
// turned into program notation (KyLocale::FromIntlNumber): the reading of
// PutIntlText.
KyString KyNumberFromIntlText(const char* pszText);
// The same rewrite in place (the text only shrinks) with the given
// regional settings (null: none, as without an application context);
// returns the new length.
size_t KyNumberFromIntlTextInPlace(char* pszText, const KyLocale* pLocale);
// The calling thread's regional settings; null without an application
// context.
const KyLocale* KyCurrentLocale();
// The calling thread's decimal and thousands characters ('.' and ',' without
// an application context), and those of the given settings.
char KyLocaleDecimalChar();
char KyLocaleThousandChar();
char KyLocaleDecimalChar(const KyLocale* pLocale);
char KyLocaleThousandChar(const KyLocale* pLocale);
