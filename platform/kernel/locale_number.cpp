// GetNumberFormat and GetCurrencyFormat. The value is a decimal text (an
// optional leading '-', digits, at most one '.'), never a binary number,
// so nothing is lost on the way: it is rounded as text, half away from
// zero, to the number of digits asked for. One implementation in UTF-16
// serves both forms; the 8-bit form passes its texts through the locale's
// code page.
#include "locale_ids.h"

#include <winbase.h>
#include <winnls.h>
#include <winnls.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace win32 {
namespace {

struct Decimal {
  bool negative = false;
  std::u16string integer;   // digits, no leading zeros
  std::u16string fraction;  // digits
};

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The value text as Windows accepts it; nothing else (no blanks, no '+',
// no exponent, no second point).
std::optional<Decimal> parseValue(std::u16string_view text) {
  Decimal d;
  size_t i = 0;
  if (i < text.size() && text[i] == u'-') {
    d.negative = true;
    ++i;
  }
  bool point = false, anyDigit = false;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'.' && !point) {
      point = true;
    } else if (isDigit(c)) {
      anyDigit = true;
      (point ? d.fraction : d.integer) += c;
    } else {
      return std::nullopt;
    }
  }
  if (!anyDigit) return std::nullopt;
  d.integer.erase(0, d.integer.find_first_not_of(u'0'));
  return d;
}

// Rounds to `digits` fractional digits, half away from zero; a result of
// zero loses its sign (Windows shows no "-0.00").
void roundTo(Decimal& d, unsigned digits) {
  if (d.fraction.size() > digits) {
    const bool up = d.fraction[digits] >= u'5';
    d.fraction.resize(digits);
    if (up) {
      std::u16string all = d.integer + d.fraction;
      size_t i = all.size();
      while (i > 0 && all[i - 1] == u'9') all[--i] = u'0';
      if (i == 0) all.insert(all.begin(), u'1');
      else ++all[i - 1];
      d.integer = all.substr(0, all.size() - digits);
      d.fraction = all.substr(all.size() - digits);
    }
  }
  d.fraction.resize(digits, u'0');
  if (d.integer.empty() && d.fraction.find_first_not_of(u'0') == std::u16string::npos) d.negative = false;
}

// Sizes of the digit groups from the decimal point leftwards; the last
// repeats when `repeat` (Windows' "3;0"), else the digits left of the
// listed groups stay together ("3").
struct Grouping {
  std::vector<unsigned> sizes;
  bool repeat = false;
};

// The locale's LOCALE_SGROUPING text ("3;0", "3;2;0", "3", "0").
Grouping groupingFromText(std::u16string_view text) {
  Grouping g;
  for (char16_t c : text)
    if (isDigit(c)) g.sizes.push_back(static_cast<unsigned>(c - u'0'));
  if (!g.sizes.empty() && g.sizes.back() == 0) {
    g.sizes.pop_back();
    g.repeat = true;
  }
  return g;
}

// NUMBERFMT's Grouping: 0..9 stands for "n;0", 32 for "3;2;0".
std::optional<Grouping> groupingFromNumber(UINT grouping) {
  if (grouping == 32) return Grouping{{3, 2}, true};
  if (grouping > 9) return std::nullopt;
  if (grouping == 0) return Grouping{};
  return Grouping{{grouping}, true};
}

std::u16string grouped(const std::u16string& digits, const Grouping& g, std::u16string_view separator) {
  std::vector<std::u16string> parts;  // from the right
  size_t end = digits.size();
  for (size_t i = 0; end > 0;) {
    unsigned size = 0;
    if (i < g.sizes.size()) size = g.sizes[i++];
    else if (g.repeat && !g.sizes.empty()) size = g.sizes.back();
    if (size == 0 || size >= end) {
      parts.push_back(digits.substr(0, end));
      break;
    }
    parts.push_back(digits.substr(end - size, size));
    end -= size;
  }
  std::u16string out;
  for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
    if (!out.empty()) out += separator;
    out += *it;
  }
  return out;
}

// How to show a number: the caller's NUMBERFMT/CURRENCYFMT or the locale's.
struct Layout {
  unsigned digits = 2;
  bool leadingZero = true;
  Grouping grouping;
  std::u16string decimal, thousand, symbol;
  unsigned negativeOrder = 0, positiveOrder = 0;
};

// Orders of the signed forms: 'n' the number, '$' the symbol, '-' the sign.
constexpr const char16_t* kNumberNegative[] = {u"(n)", u"-n", u"- n", u"n-", u"n -"};
constexpr const char16_t* kCurrencyNegative[] = {
    u"($n)", u"-$n",  u"$-n",  u"$n-",  u"(n$)", u"-n$", u"n-$",  u"n$-",
    u"-n $", u"-$ n", u"n $-", u"$ n-", u"$ -n", u"n- $", u"($ n)", u"(n $)"};
constexpr const char16_t* kCurrencyPositive[] = {u"$n", u"n$", u"$ n", u"n $"};

std::u16string fill(std::u16string_view order, std::u16string_view number, std::u16string_view symbol,
                    std::u16string_view sign) {
  std::u16string out;
  for (char16_t c : order) {
    if (c == u'n') out += number;
    else if (c == u'$') out += symbol;
    else if (c == u'-') out += sign;
    else out += c;
  }
  return out;
}

std::u16string formatDecimal(Decimal value, const Layout& layout, bool currency, std::u16string_view sign) {
  roundTo(value, layout.digits);
  std::u16string number;
  if (!value.integer.empty()) number = grouped(value.integer, layout.grouping, layout.thousand);
  else if (layout.leadingZero || layout.digits == 0) number = u"0";
  if (layout.digits) number += layout.decimal + value.fraction;
  if (currency) {
    const char16_t* order = value.negative ? kCurrencyNegative[layout.negativeOrder]
                                           : kCurrencyPositive[layout.positiveOrder];
    return fill(order, number, layout.symbol, sign);
  }
  return value.negative ? fill(kNumberNegative[layout.negativeOrder], number, u"", sign) : number;
}

const std::u16string& item(LCID concrete, LCTYPE type) {
  static const std::u16string empty;
  const std::u16string* value = localeItem(concrete, type);
  return value ? *value : empty;
}

Layout localeLayout(LCID concrete, bool currency) {
  Layout l;
  l.digits = localeNumber(concrete, currency ? LOCALE_ICURRDIGITS : LOCALE_IDIGITS);
  l.leadingZero = localeNumber(concrete, LOCALE_ILZERO) != 0;
  l.grouping = groupingFromText(item(concrete, currency ? LOCALE_SMONGROUPING : LOCALE_SGROUPING));
  l.decimal = item(concrete, currency ? LOCALE_SMONDECIMALSEP : LOCALE_SDECIMAL);
  l.thousand = item(concrete, currency ? LOCALE_SMONTHOUSANDSEP : LOCALE_STHOUSAND);
  l.negativeOrder = localeNumber(concrete, currency ? LOCALE_INEGCURR : LOCALE_INEGNUMBER);
  l.positiveOrder = localeNumber(concrete, LOCALE_ICURRENCY);
  l.symbol = item(concrete, LOCALE_SCURRENCY);
  return l;
}

// The caller's format as a layout; null when a member is out of range.
// `text` turns the format's strings into UTF-16.
template <class Format, class Text>
std::optional<Layout> callerLayout(const Format& f, Text text) {
  const auto grouping = groupingFromNumber(f.Grouping);
  if (f.NumDigits > 9 || f.LeadingZero > 1 || !grouping || !f.lpDecimalSep || !f.lpThousandSep)
    return std::nullopt;
  Layout l;
  l.digits = f.NumDigits;
  l.leadingZero = f.LeadingZero;
  l.grouping = *grouping;
  l.decimal = text(f.lpDecimalSep);
  l.thousand = text(f.lpThousandSep);
  l.negativeOrder = f.NegativeOrder;
  if constexpr (requires { f.lpCurrencySymbol; }) {
    if (f.NegativeOrder > 15 || f.PositiveOrder > 3 || !f.lpCurrencySymbol) return std::nullopt;
    l.positiveOrder = f.PositiveOrder;
    l.symbol = text(f.lpCurrencySymbol);
  } else if (f.NegativeOrder > 4) {
    return std::nullopt;
  }
  return l;
}

// The whole call in UTF-16: checks, then the text, or nullopt after
// setting the last error. The buffer's own checks are the caller's.
template <class Format, class Text>
std::optional<std::u16string> formatValue(LCID locale, DWORD flags, const std::u16string* value, const Format* format,
                                          bool currency, LCID& concrete, Text text) {
  constexpr DWORD kFlags = LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP;
  if (!value || !(concrete = resolveLocale(locale))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  // With a caller's format, no flag but the code page's applies.
  if ((flags & ~kFlags) || (format && (flags & LOCALE_NOUSEROVERRIDE))) {
    SetLastError(ERROR_INVALID_FLAGS);
    return std::nullopt;
  }
  std::optional<Layout> layout = format ? callerLayout(*format, text) : localeLayout(concrete, currency);
  const std::optional<Decimal> number = parseValue(*value);
  if (!layout || !number) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  return formatDecimal(*number, *layout, currency, item(concrete, LOCALE_SNEGATIVESIGN));
}

template <class Format>
int formatWide(LCID locale, DWORD flags, LPCWSTR value, const Format* format, LPWSTR out, int size, bool currency) {
  if (!isValidOutput(out, size)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::u16string text = value ? std::u16string(value) : std::u16string();
  LCID concrete = 0;
  const auto result = formatValue(locale, flags, value ? &text : nullptr, format, currency, concrete,
                                  [](LPCWSTR s) { return std::u16string(s); });
  return result ? answerText(*result, out, size) : 0;
}

template <class Format>
int formatAnsi(LCID locale, DWORD flags, LPCSTR value, const Format* format, LPSTR out, int size, bool currency) {
  if (!isValidOutput(out, size)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const LCID concrete = resolveLocale(locale);
  const std::u16string text = localeTextToWide(concrete, flags, value);
  LCID resolved = 0;
  const auto result = formatValue(locale, flags, value ? &text : nullptr, format, currency, resolved,
                                  [&](LPCSTR s) { return localeTextToWide(concrete, flags, s); });
  return result ? answerInCodePage(resolved, flags, *result, out, size) : 0;
}

}  // namespace
}  // namespace win32

using namespace win32;

extern "C" int WINAPI GetNumberFormatA(LCID Locale, DWORD dwFlags, LPCSTR lpValue, const NUMBERFMTA* lpFormat,
                                       LPSTR lpNumberStr, int cchNumber) {
  return formatAnsi(Locale, dwFlags, lpValue, lpFormat, lpNumberStr, cchNumber, false);
}

extern "C" int WINAPI GetNumberFormatW(LCID Locale, DWORD dwFlags, LPCWSTR lpValue, const NUMBERFMTW* lpFormat,
                                       LPWSTR lpNumberStr, int cchNumber) {
  return formatWide(Locale, dwFlags, lpValue, lpFormat, lpNumberStr, cchNumber, false);
}

extern "C" int WINAPI GetCurrencyFormatA(LCID Locale, DWORD dwFlags, LPCSTR lpValue, const CURRENCYFMTA* lpFormat,
                                         LPSTR lpCurrencyStr, int cchCurrency) {
  return formatAnsi(Locale, dwFlags, lpValue, lpFormat, lpCurrencyStr, cchCurrency, true);
}

extern "C" int WINAPI GetCurrencyFormatW(LCID Locale, DWORD dwFlags, LPCWSTR lpValue, const CURRENCYFMTW* lpFormat,
                                         LPWSTR lpCurrencyStr, int cchCurrency) {
  return formatWide(Locale, dwFlags, lpValue, lpFormat, lpCurrencyStr, cchCurrency, true);
}
