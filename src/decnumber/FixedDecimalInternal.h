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
int fixedDecimalState(const decNumber& number);

// Decimal places of the plain text of a finite number: the digits after its
// '.', which is -exponent for a negative exponent, 1 for a positive one (the
// plain text of 15E+2 is "1500.0") and 0 for exponent 0.
int fixedDecimalPlaces(const decNumber& number);

// Sets state and decimal places from the number (after any operation).
void settleFixedDecimal(KyFixedDecimal& value);

// The text of strGetString, as a std::string.
std::string fixedDecimalText(const decNumber& number);

#pragma GCC visibility pop
