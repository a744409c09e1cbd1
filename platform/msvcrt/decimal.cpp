// Decimal digit strings of doubles in the classic CRT's manner (decimal.h).
#include "decimal.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace msvcrt {
namespace {

constexpr int kSignificantDigits = 17;

const char* specialDigits(double value) {
  if (std::isinf(value)) return "1#INF";
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  const uint64_t mantissa = bits & 0x000FFFFFFFFFFFFFull;
  const uint64_t quietBit = 1ull << 51;
  if (!(mantissa & quietBit)) return "1#SNAN";
  // The x87/SSE "indefinite" (what 0/0 gives) is the negative quiet NaN
  // without payload.
  if ((bits >> 63) && mantissa == quietBit) return "1#IND";
  return "1#QNAN";
}

void appendExponent(std::string& out, int exponent, bool upper) {
  out += upper ? 'E' : 'e';
  out += exponent < 0 ? '-' : '+';
  char digits[12];
  auto r = std::to_chars(digits, digits + sizeof digits, std::abs(exponent));
  for (auto n = r.ptr - digits; n < 3; ++n) out += '0';
  out.append(digits, r.ptr);
}

}  // namespace

Decimal toDecimal(double value) {
  Decimal d;
  d.negative = std::signbit(value);
  if (!std::isfinite(value)) {
    d.special = true;
    d.digits = specialDigits(value);
    d.point = 1;
    return d;
  }
  if (value == 0) {
    d.zero = true;
    d.digits = "0";
    d.point = 1;
    return d;
  }
  // "d.dddddddddddddddde±x": 17 significant digits, correctly rounded.
  char buf[40];
  auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                         kSignificantDigits - 1);
  std::string_view text(buf, static_cast<size_t>(r.ptr - buf));
  const size_t e = text.find('e');
  d.digits.reserve(kSignificantDigits);
  for (char c : text.substr(0, e))
    if (c != '.') d.digits += c;
  int exponent = 0;
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
  d.point = exponent + 1;
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

void roundDigits(Decimal& d, int count) {
  if (count < 0) {
    d.digits.clear();
    return;
  }
  if (count >= static_cast<int>(d.digits.size())) return;
  const char next = d.digits[static_cast<size_t>(count)];
  d.digits.resize(static_cast<size_t>(count));
  if (next < '5') return;
  for (int k = count - 1; k >= 0; --k) {
    char& c = d.digits[static_cast<size_t>(k)];
    if (c != '9') {
      ++c;  // also on '#', 'I', 'N' of the special strings: "1.#J" is "1.#I" + 1
      return;
    }
    c = '0';
  }
  d.digits.insert(d.digits.begin(), '1');
  ++d.point;
}

std::string fixedForm(Decimal d, int precision, bool alternate) {
  roundDigits(d, d.point + precision);
  std::string out;
  if (d.point <= 0) {
    out += '0';
  } else {
    for (int k = 0; k < d.point; ++k) out += d.at(k);
  }
  if (precision > 0 || alternate) out += '.';
  for (int i = 0; i < precision; ++i) out += d.at(d.point + i);
  return out;
}

std::string exponentForm(Decimal d, int precision, bool alternate, bool upper) {
  roundDigits(d, precision + 1);
  std::string out(1, d.at(0));
  if (precision > 0 || alternate) out += '.';
  for (int i = 1; i <= precision; ++i) out += d.at(i);
  appendExponent(out, d.zero ? 0 : d.point - 1, upper);
  return out;
}

std::string generalForm(const Decimal& d, int precision, bool alternate, bool upper) {
  const int significant = precision < 0 ? 6 : (precision == 0 ? 1 : precision);
  Decimal rounded = d;
  roundDigits(rounded, significant);
  const int exponent = d.zero ? 0 : rounded.point - 1;
  std::string out = exponent < -4 || exponent >= significant
                        ? exponentForm(d, significant - 1, alternate, upper)
                        : fixedForm(d, significant - 1 - exponent, alternate);
  if (alternate) return out;
  // Drop trailing zeros of the fraction, then a bare point.
  const size_t dot = out.find('.');
  if (dot == std::string::npos) return out;
  size_t end = out.find_first_of("eE", dot);
  if (end == std::string::npos) end = out.size();
  size_t last = end;
  while (last > dot + 1 && out[last - 1] == '0') --last;
  if (last == dot + 1) last = dot;
  out.erase(last, end - last);
  return out;
}

}  // namespace msvcrt
