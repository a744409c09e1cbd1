// Decimal digit strings of doubles, as the classic Microsoft C run-time
// produces them for printf, _ecvt, _fcvt and _gcvt.
//
// The classic CRT converts a double to at most 17 significant digits and then
// rounds that decimal string half up; positions beyond the 17th are zeros.
// So "%.2f" of 0.125 is "0.13" and "%.20f" of 0.1 is "0.10000000000000001000".
// Infinity and NaN become the digit strings "1#INF", "1#QNAN", "1#SNAN" and
// "1#IND" with the point after the first character; the same rounding then
// gives the classic texts "1.#INF00", and "1.#J" for "%.2f".
#pragma once

#include <string>

namespace msvcrt {

struct Decimal {
  std::string digits;     // significant digits, never empty before rounding
  int point = 0;          // value = 0.digits × 10^point
  bool negative = false;
  bool special = false;   // infinity or NaN: digits hold "1#INF" and the like
  bool zero = false;

  // Digit k of the (virtually zero-padded) string; '0' outside it.
  char at(int k) const {
    return k >= 0 && k < static_cast<int>(digits.size()) ? digits[static_cast<size_t>(k)] : '0';
  }
};

// The classic CRT's 17-digit decimal form of `value`.
Decimal toDecimal(double value);

// Keeps the first `count` digits (count may be 0 or negative), rounding half
// up on the next character with carry through '9'; a carry out of the first
// digit prepends "1" and moves the point.
void roundDigits(Decimal& d, int count);

// The body of a conversion, without sign: fixed ("%f"), exponent ("%e") and
// general ("%g") forms. `alternate` is the '#' flag; the exponent has at
// least three digits ("e+017").
std::string fixedForm(Decimal d, int precision, bool alternate);
std::string exponentForm(Decimal d, int precision, bool alternate, bool upper);
std::string generalForm(const Decimal& d, int precision, bool alternate, bool upper);

}  // namespace msvcrt
