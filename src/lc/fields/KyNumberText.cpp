// Number readings of the fields.
#include "KyNumberText.h"

#include "KyAppContext.h"
#include "KyString.h"

#include <cctype>
#include <cfloat>
#include <charconv>
#include <cstring>

namespace {

const char* skipBlanks(const char* p) {
  while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
  return p;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

long long KyReadInteger(const char* pszText) {
  if (!pszText) return 0;
  const char* p = skipBlanks(pszText);
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  // Accumulate toward the sign's side so that the most negative value fits.
  long long value = 0;
  for (; isDigit(*p); ++p) {
    const int digit = *p - '0';
    if (negative) {
      if (value < (std::numeric_limits<long long>::min() + digit) / 10) return std::numeric_limits<long long>::min();
      value = value * 10 - digit;
    } else {
      if (value > (std::numeric_limits<long long>::max() - digit) / 10) return std::numeric_limits<long long>::max();
      value = value * 10 + digit;
    }
  }
  return value;
}

double KyReadDouble(const char* pszText) {
  if (!pszText) return 0.0;
  const char* p = skipBlanks(pszText);
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  // The decimal forms only: a digit, or a point followed by one.
  if (!isDigit(*p) && !(*p == '.' && isDigit(p[1]))) return 0.0;
  const char* last = p;
  while (isDigit(*last) || *last == '.' || *last == 'e' || *last == 'E' || *last == '+' || *last == '-') ++last;
  double value = 0.0;
  const auto [end, ec] = std::from_chars(p, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone: tell overflow from underflow by the
    // decimal exponent it would have.
    const char* exponent = p;
    while (exponent < end && *exponent != 'e' && *exponent != 'E') ++exponent;
    long long power = exponent < end ? KyReadInteger(exponent + 1) : 0;
    const char* digit = p;
    while (digit < exponent && (*digit == '0' || *digit == '.')) ++digit;
    const char* point = static_cast<const char*>(std::memchr(p, '.', static_cast<size_t>(exponent - p)));
    const char* intEnd = point ? point : exponent;
    power += digit < intEnd ? (intEnd - digit) : -(digit - intEnd);
    value = power > 0 ? DBL_MAX : 0.0;
  }
  return negative ? -value : value;
}

float KyClampFloat(double value) {
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

const KyLocale* KyCurrentLocale() {
  KyAppContext* context = KyAppContext::Current();
  return context ? context->GetLocale() : nullptr;
}

char KyLocaleDecimalChar(const KyLocale* pLocale) { return pLocale ? pLocale->GetDecimalChar() : '.'; }
char KyLocaleThousandChar(const KyLocale* pLocale) { return pLocale ? pLocale->GetThousandChar() : ','; }
char KyLocaleDecimalChar() { return KyLocaleDecimalChar(KyCurrentLocale()); }
char KyLocaleThousandChar() { return KyLocaleThousandChar(KyCurrentLocale()); }

KyString KyNumberFromLocaleText(const char* pszText) {
  KyString out;
  if (!pszText) return out;
  const char decimal = KyLocaleDecimalChar();
  for (const char* p = pszText; *p; ++p) {
    if (*p == ' ') continue;
    out += *p == decimal ? '.' : *p;
  }
  return out;
}

KyString KyNumberFromIntlText(const char* pszText) {
  KyString out;
  if (!pszText) return out;
  out = pszText;
  const int length = out.GetLength();
  const size_t kept = KyNumberFromIntlTextInPlace(out.GetBuffer(length), KyCurrentLocale());
  out.ReleaseBuffer(static_cast<int>(kept));
  return out;
}

size_t KyNumberFromIntlTextInPlace(char* pszText, const KyLocale* pLocale) {
  if (!pszText) return 0;
  const char thousand = KyLocaleThousandChar(pLocale);
  char* kept = pszText;
  for (const char* p = pszText; *p; ++p)
    if (*p != thousand) *kept++ = *p;
  *kept = '\0';
  if (pLocale) pLocale->FromIntlNumber(pszText);
  return static_cast<size_t>(kept - pszText);
}
