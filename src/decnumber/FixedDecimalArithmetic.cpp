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

Order compare(const KyFixedDecimal& a, const KyFixedDecimal& b) {
  const bool aNaN = a.state == kStateNaN;
  const bool bNaN = b.state == kStateNaN;
  if (aNaN && bNaN) {
    const int c = fixedDecimalText(a.number).compare(fixedDecimalText(b.number));
    return c < 0 ? Order::Less : c > 0 ? Order::Greater : Order::Equal;
  }
  if (aNaN || bNaN) return Order::Unordered;
  // Finite numbers and infinities by value; the context is only written to
  // for a NaN operand, which cannot reach here.
  decContext context = a.context;
  decNumber result;
  decNumberCompare(&result, &a.number, &b.number, &context);
  if (decNumberIsZero(&result)) return Order::Equal;
  return decNumberIsNegative(&result) ? Order::Less : Order::Greater;
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
