// Arithmetic and comparison of fixed-decimal numbers.
//
// Each result is a new number in a copy of the left operand's context; the
// operands are only read. The state of a result always follows its flags:
// an overflow is an infinity (state 3), an invalid operation NaN (state 2),
// never a "finite" number that holds either.
#include "FixedDecimalInternal.h"

namespace {

using Operation = decNumber* (*)(decNumber*, const decNumber*, const decNumber*, decContext*);

void setNaN(decNumber& number) {
  number.digits = 1;
  number.exponent = 0;
  number.bits = DECNAN;
  number.lsu[0] = 0;
}

// +, - and *: a NaN operand gives NaN; otherwise decNumber's arithmetic,
// infinities included (Infinity - Infinity is NaN, 1 - Infinity -Infinity).
// One result object on every path, so that it is built in place.
template <Operation operation>
KyFixedDecimal calculate(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  KyFixedDecimal result = KyFixedDecimalAccess::result(a.context);
  if (a.state == kStateNaN || b.state == kStateNaN)
    setNaN(result.number);
  else
    operation(&result.number, &a.number, &b.number, &result.context);
  settleFixedDecimal(result);
  return result;
}

// / and %: both operands finite, else NaN. A zero divisor gives NaN without
// dividing (decNumber would answer Infinity for 1/0).
template <Operation operation>
KyFixedDecimal divide(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  KyFixedDecimal result = KyFixedDecimalAccess::result(a.context);
  if (a.state != kStateNormal || b.state != kStateNormal || decNumberIsZero(&b.number))
    setNaN(result.number);
  else
    operation(&result.number, &a.number, &b.number, &result.context);
  settleFixedDecimal(result);
  return result;
}

enum class Order { Less, Equal, Greater, Unordered };

// Two NaNs order by their texts; a NaN and anything else are unordered.
// Rare, and kept out of line so that the common path stays small.
[[gnu::noinline, gnu::cold]] Order compareNaN(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  if (a.state != kStateNaN || b.state != kStateNaN) return Order::Unordered;
  const int c = fixedDecimalText(a.number).compare(fixedDecimalText(b.number));
  return c < 0 ? Order::Less : c > 0 ? Order::Greater : Order::Equal;
}

// decNumber's own comparison, for infinities and for finite numbers whose
// coefficients would need aligning. The context is only written to for a
// NaN operand, which cannot reach here.
[[gnu::noinline]] Order compareByDecNumber(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  decContext context = a.context;
  decNumber result;
  decNumberCompare(&result, &a.number, &b.number, &context);
  if (decNumberIsZero(&result)) return Order::Equal;
  return decNumberIsNegative(&result) ? Order::Less : Order::Greater;
}

constexpr Order reversed(Order o) {
  return o == Order::Less ? Order::Greater : o == Order::Greater ? Order::Less : o;
}

// Finite numbers are ordered here without decNumber whenever that is cheap
// and certain. It rests on decNumber's invariant that a coefficient has no
// leading zero digits (digits counts its significant digits; zero is one
// digit 0), which decNumber's own comparison relies on as well:
// - zero against zero (of any sign and exponent) is equal;
// - otherwise a sign decides, zero counting as between the signs;
// - with one sign, the adjusted exponent (exponent + digits - 1, the power
//   of ten of the first digit) decides the magnitude when it differs;
// - with equal exponents and digits the units decide, most significant
//   first.
// Only equal adjusted exponents with different exponents (1.5 against 1.50
// or 1.23) are left to decNumber.
inline Order compare(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  const decNumber& x = a.number;
  const decNumber& y = b.number;
  if (a.state != kStateNormal || b.state != kStateNormal || ((x.bits | y.bits) & DECSPECIAL) ||
      x.digits < 1 || x.digits > KyFixedDecimal::kDigits || y.digits < 1 || y.digits > KyFixedDecimal::kDigits) {
    if (a.state == kStateNaN || b.state == kStateNaN) return compareNaN(a, b);
    return compareByDecNumber(a, b);
  }
  const bool xZero = x.digits == 1 && x.lsu[0] == 0;
  const bool yZero = y.digits == 1 && y.lsu[0] == 0;
  if (xZero || yZero) {
    if (xZero && yZero) return Order::Equal;
    if (xZero) return (y.bits & DECNEG) ? Order::Greater : Order::Less;
    return (x.bits & DECNEG) ? Order::Less : Order::Greater;
  }
  const bool negative = x.bits & DECNEG;
  if (negative != static_cast<bool>(y.bits & DECNEG)) return negative ? Order::Less : Order::Greater;
  Order magnitude;
  const int xAdjusted = x.exponent + x.digits;
  const int yAdjusted = y.exponent + y.digits;
  if (xAdjusted != yAdjusted) {
    magnitude = xAdjusted < yAdjusted ? Order::Less : Order::Greater;
  } else if (x.exponent == y.exponent) {
    magnitude = Order::Equal;
    for (int unit = (x.digits + DECDPUN - 1) / DECDPUN - 1; unit >= 0; --unit) {
      if (x.lsu[unit] != y.lsu[unit]) {
        magnitude = x.lsu[unit] < y.lsu[unit] ? Order::Less : Order::Greater;
        break;
      }
    }
  } else {
    return compareByDecNumber(a, b);
  }
  return negative ? reversed(magnitude) : magnitude;
}

}  // namespace

KyFixedDecimal operator+(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  return calculate<decNumberAdd>(a, b);
}
KyFixedDecimal operator-(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  return calculate<decNumberSubtract>(a, b);
}
KyFixedDecimal operator*(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  return calculate<decNumberMultiply>(a, b);
}
KyFixedDecimal operator/(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  return divide<decNumberDivide>(a, b);
}
KyFixedDecimal operator%(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  return divide<decNumberRemainder>(a, b);
}

KyFixedDecimal operator+(const KyFixedDecimal& a, long b) { return a + KyFixedDecimal(b); }
KyFixedDecimal operator-(const KyFixedDecimal& a, long b) { return a - KyFixedDecimal(b); }
KyFixedDecimal operator*(const KyFixedDecimal& a, long b) { return a * KyFixedDecimal(b); }
KyFixedDecimal operator/(const KyFixedDecimal& a, long b) { return a / KyFixedDecimal(b); }

int operator==(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  return compare(a, b) == Order::Equal;
}
int operator!=(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  return compare(a, b) != Order::Equal;
}
int operator<(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  return compare(a, b) == Order::Less;
}
int operator<=(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  const Order o = compare(a, b);
  return o == Order::Less || o == Order::Equal;
}
int operator>(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  return compare(a, b) == Order::Greater;
}
int operator>=(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  const Order o = compare(a, b);
  return o == Order::Greater || o == Order::Equal;
}
