// Helpers shared by the files of KyFixedDecimal; not exported.
#pragma once

#include <string>

#include "KyFixedDecimal.h"

#pragma GCC visibility push(hidden)

enum : int { kStateNormal = 0, kStateNaN = 2, kStateInfinite = 3 };

struct KyFixedDecimalAccess {
  // An empty number (state 0) in a copy of `from`'s context, status cleared:
  // the target of an operation whose operands keep their own contexts.
  static KyFixedDecimal result(const decContext& from) {
    return KyFixedDecimal(KyFixedDecimal::WithContext{}, from);
  }
};

// decContextDefault(DEC_INIT_BASE) with traps off and 34 digits: rounding
// half up, exponents up to +-999999999.
void initFixedDecimalContext(decContext& context);

// State code from the number's flags: NaN or sNaN 2, infinity 3, else 0.
inline int fixedDecimalState(const decNumber& number) {
  if (number.bits & (DECNAN | DECSNAN)) return kStateNaN;
  if (number.bits & DECINF) return kStateInfinite;
  return kStateNormal;
}

// Decimal places of the plain text of a finite number: the digits after its
// '.', which is -exponent for a negative exponent, 1 for a positive one (the
// plain text of 15E+2 is "1500.0") and 0 for exponent 0.
// (The exponent text that replaces a very long plain text counts the same.)
inline int fixedDecimalPlaces(const decNumber& number) {
  if (number.bits & DECSPECIAL) return 0;
  if (number.exponent < 0) return -number.exponent;
  return number.exponent > 0 ? 1 : 0;
}

// Sets state and decimal places from the number (after any operation).
inline void settleFixedDecimal(KyFixedDecimal& value) {
  value.state = fixedDecimalState(value.number);
  value.decimalPlaces = fixedDecimalPlaces(value.number);
}

// The text of strGetString, as a std::string.
std::string fixedDecimalText(const decNumber& number);

#pragma GCC visibility pop
