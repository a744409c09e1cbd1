// KyFixedDecimal: construction, parsing and conversion to machine numbers.
//
// Integers and floating-point values are made into numbers through their
// text. The texts are written with std::to_chars: bounded, and independent
// of the C locale (a program that sets a locale with a decimal comma must
// not turn 1.5 into NaN).
#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include "FixedDecimalInternal.h"

namespace {

// Room for any text below: a 64-bit integer with an exponent, or a float
// with six decimals (below 10^39), or a number in exponent form.
constexpr int kWorkText = 64;

// "%5.9f" is used up to this magnitude, where its text still fits the work
// buffer; larger values are written with 34 significant digits in exponent
// form, which is the same value decNumber would keep of the long text.
constexpr long double kFixedTextLimit = 1e36L;

template <typename Integer>
void integerText(char (&buffer)[kWorkText], Integer value) {
  auto [end, ec] = std::to_chars(buffer, buffer + kWorkText - 1, value);
  *end = '\0';
}

template <typename Integer>
void exponentText(char (&buffer)[kWorkText], Integer mantissa, int exponent) {
  char* last = buffer + kWorkText - 1;
  char* end = std::to_chars(buffer, last, mantissa).ptr;
  *end++ = 'e';
  end = std::to_chars(end, last, exponent).ptr;
  *end = '\0';
}

template <typename Floating>
void floatingText(char (&buffer)[kWorkText], Floating value, int decimals) {
  char* last = buffer + kWorkText - 1;
  std::to_chars_result r;
  if (std::isfinite(value) && std::fabs(value) >= kFixedTextLimit)
    r = std::to_chars(buffer, last, value, std::chars_format::scientific, KyFixedDecimal::kDigits - 1);
  else
    r = std::to_chars(buffer, last, value, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) r.ptr = buffer;  // cannot happen within the limits above
  *r.ptr = '\0';
}

// Integer part of a plain text ("-12.0" -> -12); false when it is out of
// range of long long.
bool integerPart(const std::string& text, long long& value) {
  value = 0;
  return std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc();
}

template <typename Integer>
Integer toInteger(const KyFixedDecimal& value) {
  constexpr Integer low = std::numeric_limits<Integer>::min();
  constexpr Integer high = std::numeric_limits<Integer>::max();
  if (value.state == kStateNaN) return 0;
  const bool negative = decNumberIsNegative(&value.number);
  if (value.state == kStateInfinite) return negative ? low : high;

  const KyFixedDecimal whole = KyFixedDecimal::KyFixedDecimalTruncate(value, 0);
  if (decNumberIsZero(&whole.number)) return 0;
  // 19 digits and more can be out of range of 64 bits; leave those to
  // saturation before reading any text.
  const int adjusted = whole.number.exponent + whole.number.digits - 1;
  if (adjusted >= 19) return negative ? low : high;
  long long result = 0;
  if (!integerPart(fixedDecimalText(whole.number), result)) return negative ? low : high;
  if (result < static_cast<long long>(low)) return low;
  if (result > static_cast<long long>(high)) return high;
  return static_cast<Integer>(result);
}

}  // namespace

void initFixedDecimalContext(decContext& context) {
  decContextDefault(&context, DEC_INIT_BASE);
  context.traps = 0;
  context.digits = KyFixedDecimal::kDigits;
}

KyFixedDecimal::KyFixedDecimal() : KyFixedDecimal("0.0") {}

KyFixedDecimal::KyFixedDecimal(const decNumber& value) : KyFixedDecimal(value, 0) {
  decimalPlaces = fixedDecimalPlaces(number);
}

KyFixedDecimal::KyFixedDecimal(const decNumber& value, int places) {
  initFixedDecimalContext(context);
  // A caller's decNumber may be sized for more digits than ours: copying
  // it whole would overrun the number, so a longer one is rounded.
  if (value.digits <= kDigits)
    decNumberCopy(&number, &value);
  else
    decNumberPlus(&number, &value, &context);
  // The state follows the flags: a NaN or an infinity marked as a finite
  // number would be computed with as one.
  state = fixedDecimalState(number);
  decimalPlaces = places;
}

KyFixedDecimal::KyFixedDecimal(const KyFixedDecimal& other)
    : state(other.state), number(other.number), context(other.context) {
  decimalPlaces = fixedDecimalPlaces(number);
}

KyFixedDecimal::KyFixedDecimal(unsigned char value) : KyFixedDecimal(static_cast<int>(value)) {}
KyFixedDecimal::KyFixedDecimal(unsigned short value) : KyFixedDecimal(static_cast<int>(value)) {}

KyFixedDecimal::KyFixedDecimal(int value) {
  initFixedDecimalContext(context);
  char text[kWorkText];
  integerText(text, value);
  SetMemberVariables(text);
}

KyFixedDecimal::KyFixedDecimal(int mantissa, int exponent) {
  initFixedDecimalContext(context);
  char text[kWorkText];
  exponentText(text, mantissa, exponent);
  SetMemberVariables(text);
}

KyFixedDecimal::KyFixedDecimal(unsigned int value) {
  initFixedDecimalContext(context);
  char text[kWorkText];
  integerText(text, value);
  SetMemberVariables(text);
}

KyFixedDecimal::KyFixedDecimal(long value) {
  initFixedDecimalContext(context);
  char text[kWorkText];
  integerText(text, value);
  SetMemberVariables(text);
}

KyFixedDecimal::KyFixedDecimal(long mantissa, int exponent) {
  initFixedDecimalContext(context);
  char text[kWorkText];
  exponentText(text, mantissa, exponent);
  SetMemberVariables(text);
}

// The 32-bit unsigned long of the original went through a double exactly;
// 64 bits would lose digits there, so the digits are written as they are.
KyFixedDecimal::KyFixedDecimal(unsigned long value) {
  initFixedDecimalContext(context);
  char text[kWorkText];
  integerText(text, value);
  SetMemberVariables(text);
}

KyFixedDecimal::KyFixedDecimal(long long value) : KyFixedDecimal(static_cast<long>(value)) {}
KyFixedDecimal::KyFixedDecimal(unsigned long long value)
    : KyFixedDecimal(static_cast<unsigned long>(value)) {}

KyFixedDecimal::KyFixedDecimal(float value) {
  initFixedDecimalContext(context);
  char text[kWorkText];
  floatingText(text, static_cast<double>(value), 6);
  SetMemberVariables(text);
}

KyFixedDecimal::KyFixedDecimal(double value) {
  initFixedDecimalContext(context);
  char text[kWorkText];
  floatingText(text, value, 9);
  SetMemberVariables(text);
}

KyFixedDecimal::KyFixedDecimal(long double value) {
  initFixedDecimalContext(context);
  char text[kWorkText];
  floatingText(text, value, 9);
  SetMemberVariables(text);
}

KyFixedDecimal::KyFixedDecimal(const char* text) {
  initFixedDecimalContext(context);
  SetMemberVariables(text);
}

void KyFixedDecimal::SetMemberVariables(const char* text) {
  decNumberFromString(&number, text ? text : "0.0", &context);
  settleFixedDecimal(*this);
}

KyFixedDecimal& KyFixedDecimal::operator=(const KyFixedDecimal& other) {
  state = other.state;
  number = other.number;
  context = other.context;
  return *this;
}

KyFixedDecimal::operator long double() const { return toDoubleKyFixedDecimal(*this); }

long double KyFixedDecimal::toDoubleKyFixedDecimal(const KyFixedDecimal& value) {
  if (value.state == kStateNaN) return std::numeric_limits<double>::quiet_NaN();
  const bool negative = decNumberIsNegative(&value.number);
  if (value.state == kStateInfinite)
    return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();

  // The double nearest to the text, as atof reads it, but without atof's
  // dependence on the locale's decimal point.
  char text[kWorkText];
  decNumberToString(&value.number, text);
  double result = 0;
  const char* first = text + (negative ? 1 : 0);
  const auto [end, ec] = std::from_chars(first, first + std::strlen(first), result);
  if (ec == std::errc::result_out_of_range) {
    const int adjusted = value.number.exponent + value.number.digits - 1;
    result = adjusted > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -result : result;
}

int KyFixedDecimal::toIntKyFixedDecimal(const KyFixedDecimal& value) { return toInteger<int>(value); }

__int64 KyFixedDecimal::toLongLongKyFixedDecimal(const KyFixedDecimal& value) {
  return toInteger<__int64>(value);
}

KyFixedDecimal KyFixedDecimal::KyFixedDecimalFromDouble(double value) { return KyFixedDecimal(value); }

KyFixedDecimal KyFixedDecimal::KyFixedDecimalFromLongDouble(long double value) {
  return KyFixedDecimal(value);
}
