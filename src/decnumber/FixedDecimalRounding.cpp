// Rounding and truncation to a number of decimals, by decNumber's quantize
// with the rounding of each (half up, which decNumber applies to the
// magnitude: half away from zero; and down, toward zero).
//
// Working on the number rather than cutting its text keeps 34-digit values
// right: adding half a unit to a 34-digit integer and rounding the sum back
// to 34 digits would raise the integer by one before the cut, and an
// exponent text would be cut at the wrong place.
#include <algorithm>

#include "FixedDecimalInternal.h"

namespace {

// The copy of x with its decimal places recounted.
KyFixedDecimal copyOf(const KyFixedDecimal& x) { return KyFixedDecimal(x); }

// x quantized to the exponent, in a copy of x's context with the rounding
// given. When decNumber refuses (the coefficient would need more than 34
// digits, or the exponent is out of range) x is returned unchanged.
KyFixedDecimal quantized(const KyFixedDecimal& x, int exponent, rounding mode) {
  KyFixedDecimal result = KyFixedDecimalAccess::result(x.context);
  result.context.round = mode;
  decNumber scale;
  decNumberZero(&scale);
  scale.exponent = exponent;
  decNumberQuantize(&result.number, &x.number, &scale, &result.context);
  if (decNumberIsNaN(&result.number)) return copyOf(x);
  result.context.round = x.context.round;
  settleFixedDecimal(result);
  return result;
}

}  // namespace

KyFixedDecimal KyFixedDecimal::KyFixedDecimalRound(const KyFixedDecimal& x, int n) {
  const int target = -std::max(n, 0);
  if (x.state != kStateNormal) return copyOf(x);
  const decNumber& v = x.number;
  if (v.exponent < target) return quantized(x, target, DEC_ROUND_HALF_UP);
  // Fewer decimals than asked: pad with zeros, as far as 34 digits allow.
  // Zero is left as it is.
  if (decNumberIsZero(&v) || v.exponent == target) return copyOf(x);
  const int room = kDigits - v.digits;  // zeros that still fit
  const long long reachable = static_cast<long long>(v.exponent) - room;
  const int padded = static_cast<int>(std::max<long long>(target, reachable));
  if (padded >= v.exponent) return copyOf(x);
  return quantized(x, padded, DEC_ROUND_HALF_UP);
}

KyFixedDecimal KyFixedDecimal::KyFixedDecimalTruncate(const KyFixedDecimal& x, int n) {
  const int target = -std::max(n, 0);
  if (x.state != kStateNormal || x.number.exponent >= target) return copyOf(x);
  return quantized(x, target, DEC_ROUND_DOWN);
}
