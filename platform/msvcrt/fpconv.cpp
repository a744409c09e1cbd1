// _ecvt, _fcvt and _gcvt with the classic CRT's digits (decimal.h).
//
// _ecvt/_fcvt answer digits only, in a buffer of the calling thread that the
// next call overwrites (as Microsoft's per-thread buffer); zero has its
// point at 0 ("00000" with *decimalPoint 0), as the classic CRT gives it.
#include <mscrt.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>

#include "decimal.h"

namespace {

thread_local char cvtBuffer[_CVTBUFSIZE];

// Writes `count` digits of `d` (rounded there, zero-padded) into the thread's buffer.
char* digitsOf(msvcrt::Decimal d, int count, int* decimalPoint, int* sign) {
  if (sign) *sign = d.negative ? 1 : 0;
  if (d.zero) d.point = 0;
  count = std::clamp(count, 0, _CVTBUFSIZE - 1);
  msvcrt::roundDigits(d, count);
  // A carry ("9.99" to "10.0") adds a leading digit; keep `count` of them.
  for (int k = 0; k < count; ++k) cvtBuffer[k] = d.at(k);
  cvtBuffer[count] = '\0';
  if (decimalPoint) *decimalPoint = d.point;
  return cvtBuffer;
}

}  // namespace

extern "C" char* _ecvt(double value, int count, int* decimalPoint, int* sign) {
  return digitsOf(msvcrt::toDecimal(value), count, decimalPoint, sign);
}

extern "C" char* _fcvt(double value, int count, int* decimalPoint, int* sign) {
  msvcrt::Decimal d = msvcrt::toDecimal(value);
  if (d.zero) d.point = 0;
  // Digits up to `count` places after the point; rounding may carry the
  // point one place on, which adds one digit.
  const int total = std::min(d.point + std::max(count, 0), _CVTBUFSIZE - 2);
  msvcrt::Decimal rounded = d;
  msvcrt::roundDigits(rounded, total);  // a negative total leaves no digits: the value rounds to 0
  const int digits = std::clamp(rounded.point + std::max(count, 0), 0, _CVTBUFSIZE - 1);
  return digitsOf(rounded, digits, decimalPoint, sign);
}

// `digits` significant digits; fixed form when the exponent lies in
// -1 .. digits - 1, else the exponent form; trailing zeros of the fraction
// are dropped but the point stays ("1.", "1.e+020", "0.").
extern "C" char* _gcvt(double value, int digits, char* buffer) {
  if (!buffer) {
    errno = EINVAL;
    return nullptr;
  }
  digits = std::clamp(digits, 1, _CVTBUFSIZE - 40);
  msvcrt::Decimal d = msvcrt::toDecimal(value);
  if (d.zero) d.point = 0;
  msvcrt::Decimal rounded = d;
  msvcrt::roundDigits(rounded, digits);
  const int magnitude = rounded.point - 1;
  std::string text = magnitude < -1 || magnitude > digits - 1
                         ? msvcrt::exponentForm(d, digits - 1, true, false)
                         : msvcrt::fixedForm(d, digits - 1 - magnitude, true);
  size_t end = text.find('e');
  if (end == std::string::npos) end = text.size();
  size_t last = end;
  while (last > 0 && text[last - 1] == '0' && text.find('.') < last - 1) --last;
  text.erase(last, end - last);
  if (d.negative) text.insert(text.begin(), '-');
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return buffer;
}
