// KyFixedDecimal: an exact decimal number of up to 34 significant digits.
//
// Each object holds one decNumber with its own decNumber context (34 digits,
// rounding half up, no traps), so arithmetic never raises a signal; every
// operation is decNumber's. Conversions from integers and floating-point
// numbers go through their decimal text, as the fixed-decimal field expects
// (a double keeps nine decimals).
//
// State: 0 a finite number, 2 not a number (NaN or sNaN), 3 infinite.
// Decimal places: the number of characters after the '.' in the value's text
// (see strGetString); 0 for a state other than 0.
//
// Nothing here throws (apart from CString running out of memory); a text that
// is not a number becomes NaN, a division by zero NaN.
#pragma once

// The number is sized for 34 digits. decNumber's struct size depends on
// DECNUMDIGITS, so every unit that includes decNumber.h together with this
// class must see the same value.
#if defined(DECNUMDIGITS) && DECNUMDIGITS != 34
#error "KyFixedDecimal needs DECNUMDIGITS 34 wherever decNumber.h is included"
#endif
#ifndef DECNUMDIGITS
#define DECNUMDIGITS 34
#endif
#include <decnumber/decNumber.h>

#include <afxstr.h>

#include <windef.h>

class KyFixedDecimal {
 public:
  // Significant digits of every object's context.
  static constexpr int kDigits = 34;

  KyFixedDecimal();                                 // "0.0"
  // The number is copied (rounded to 34 digits if it has more) and its state
  // follows its flags; the second form takes the decimal places as given.
  KyFixedDecimal(const decNumber& value);
  KyFixedDecimal(const decNumber& value, int decimalPlaces);
  KyFixedDecimal(const KyFixedDecimal& other);      // decimal places recounted
  KyFixedDecimal(unsigned char value);
  KyFixedDecimal(unsigned short value);
  KyFixedDecimal(int value);
  KyFixedDecimal(int mantissa, int exponent);       // "%de%d"
  KyFixedDecimal(unsigned int value);
  // long is 64 bits here and the same type as __int64 (and unsigned long as
  // unsigned __int64): one constructor serves both, exact in all 64 bits.
  KyFixedDecimal(long value);
  KyFixedDecimal(long mantissa, int exponent);      // "%lde%d"
  KyFixedDecimal(unsigned long value);
  // long long is a type of its own on this platform; without these a
  // 64-bit long long argument would be ambiguous.
  KyFixedDecimal(long long value);
  KyFixedDecimal(unsigned long long value);
  KyFixedDecimal(float value);                      // "%f": six decimals
  KyFixedDecimal(double value);                     // "%5.9f": nine decimals
  KyFixedDecimal(long double value);                // "%5.9f": nine decimals
  KyFixedDecimal(const char* text);                 // null: "0.0"

  // Parses the text into the number with this object's context (extra digits
  // rounded to 34), then sets the state and the decimal places. A text that
  // is not a number gives NaN (state 2); a null pointer reads as "0.0".
  void SetMemberVariables(const char* text);

  // Copies state, context and number; this object keeps its decimal places.
  KyFixedDecimal& operator=(const KyFixedDecimal& other);

  operator long double() const;

  // The value's text in plain notation: "1500.0", "0.0000001", "-2.35",
  // "NaN", "Infinity". Plain notation is kept as long as it fits in
  // kMaxPlainText characters; beyond that (magnitudes near 10^128 or
  // 10^-126 and further) the text is decNumber's exponent form
  // ("1.5E+200"), which keeps the value exactly.
  static constexpr int kMaxPlainText = 128;
  CString& strGetString(CString& out) const;

  // These conversions read their argument.
  static void toStringKyFixedDecimal(const KyFixedDecimal& value, CString& out);
  // The double nearest to the value (as atof of its text gives), as long
  // double; NaN for state 2, an infinity for state 3.
  static long double toDoubleKyFixedDecimal(const KyFixedDecimal& value);
  // The value truncated toward zero; values beyond the type's range give its
  // limit of the same sign (infinities too), NaN gives 0.
  static int toIntKyFixedDecimal(const KyFixedDecimal& value);
  static __int64 toLongLongKyFixedDecimal(const KyFixedDecimal& value);

  static KyFixedDecimal KyFixedDecimalFromDouble(double value);
  static KyFixedDecimal KyFixedDecimalFromLongDouble(long double value);

  // Rounds half away from zero to n decimals; a value with fewer decimals is
  // padded with zeros up to n (as far as 34 digits allow). Zero, NaN and the
  // infinities are not padded. n below 0 counts as 0.
  static KyFixedDecimal KyFixedDecimalRound(const KyFixedDecimal& x, int n);
  // Cuts toward zero to n decimals; never pads. n below 1 counts as 0.
  static KyFixedDecimal KyFixedDecimalTruncate(const KyFixedDecimal& x, int n);

  // Fields in the order of the exported layout. The number is 36 bytes:
  // Debian's decNumber keeps 3 digits per 16-bit unit (12 units for 34
  // digits) where a build with 4 digits per unit needs 9; results are the
  // same, only the size differs.
  int state;
  decNumber number;
  decContext context;
  int decimalPlaces;

 private:
  friend struct KyFixedDecimalAccess;
  struct WithContext {};
  // A result of 0 in a copy of another number's context, status cleared:
  // the target of an operation, made without parsing any text.
  KyFixedDecimal(WithContext, const decContext& from) : state(0), context(from), decimalPlaces(0) {
    context.status = 0;
    number.digits = 1;
    number.exponent = 0;
    number.bits = 0;
    number.lsu[0] = 0;
  }
};

KyFixedDecimal operator+(const KyFixedDecimal& a, const KyFixedDecimal& b);
KyFixedDecimal operator-(const KyFixedDecimal& a, const KyFixedDecimal& b);
KyFixedDecimal operator*(const KyFixedDecimal& a, const KyFixedDecimal& b);
KyFixedDecimal operator/(const KyFixedDecimal& a, const KyFixedDecimal& b);
KyFixedDecimal operator%(const KyFixedDecimal& a, const KyFixedDecimal& b);
KyFixedDecimal operator+(const KyFixedDecimal& a, long b);
KyFixedDecimal operator-(const KyFixedDecimal& a, long b);
KyFixedDecimal operator*(const KyFixedDecimal& a, long b);
KyFixedDecimal operator/(const KyFixedDecimal& a, long b);

// 1 or 0. Finite numbers and infinities compare by value (1.0 == 1.00);
// two NaNs compare by their texts (NaN == NaN); a NaN and anything else are
// unordered: only != holds.
int operator==(const KyFixedDecimal& a, const KyFixedDecimal& b);
int operator!=(const KyFixedDecimal& a, const KyFixedDecimal& b);
int operator<(const KyFixedDecimal& a, const KyFixedDecimal& b);
int operator<=(const KyFixedDecimal& a, const KyFixedDecimal& b);
int operator>(const KyFixedDecimal& a, const KyFixedDecimal& b);
int operator>=(const KyFixedDecimal& a, const KyFixedDecimal& b);
