// The text of a fixed-decimal number: decNumber's text, with exponent
// notation rewritten in plain notation.
//
// The plain text is never cut: a cut changes the magnitude (34 nines plus one
// would read as 10^33, 1E-40 as 0). When the plain text would exceed
// KyFixedDecimal::kMaxPlainText characters, decNumber's own exponent text is
// kept instead; it is exact and reads back to the same value, and no text
// grows past what the field code's buffers (256 bytes and up) hold.
#include <charconv>
#include <string_view>

#include "FixedDecimalInternal.h"

namespace {

// decNumberToString writes at most digits + 14 characters and a terminator;
// our numbers never hold more than 34 digits (a NaN payload included).
constexpr int kScientificTextSize = DECNUMDIGITS + 16;

long long exponentOf(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// Rewrites "m.mmmE+x" in plain notation. Returns false when the plain text
// would be longer than the limit (the caller keeps the exponent form).
bool toPlain(std::string_view scientific, size_t ePos, std::string& out) {
  std::string_view mantissa = scientific.substr(0, ePos);
  const long long exponent = exponentOf(scientific.substr(ePos + 1));
  const bool negative = !mantissa.empty() && mantissa.front() == '-';
  if (negative) mantissa.remove_prefix(1);

  std::string digits;
  const size_t point = mantissa.find('.');
  const long long p = point == std::string_view::npos ? static_cast<long long>(mantissa.size())
                                                      : static_cast<long long>(point);
  for (char c : mantissa)
    if (c != '.') digits += c;
  const long long n = static_cast<long long>(digits.size());
  const long long e = p + exponent;  // new position of the point
  const bool zero = digits.find_first_not_of('0') == std::string::npos;

  long long length = negative ? 1 : 0;
  if (e < 0)
    length += 2 + (-e) + n;  // "0." zeros digits
  else if (e <= n)
    length += n + 2;  // at most one "0" added before or after the point
  else
    length += (zero ? 1 : e) + 2;  // digits zeros ".0"
  if (length > KyFixedDecimal::kMaxPlainText) return false;

  out.clear();
  if (negative) out += '-';
  if (e < 0) {
    out += "0.";
    out.append(static_cast<size_t>(-e), '0');
    out += digits;
  } else if (e <= n) {
    if (e == 0) out += '0';
    out.append(digits, 0, static_cast<size_t>(e));
    out += '.';
    out.append(digits, static_cast<size_t>(e));
    if (e == n) out += '0';
  } else if (zero) {
    // 0E+2: the zeros would all lead; its plain value is 0.
    out += "0.0";
  } else {
    out += digits;
    out.append(static_cast<size_t>(e - n), '0');
    out += ".0";
  }
  return true;
}

}  // namespace

std::string fixedDecimalText(const decNumber& number) {
  char buffer[kScientificTextSize];
  decNumberToString(&number, buffer);
  std::string_view scientific(buffer);

  std::string text;
  const size_t ePos = scientific.find_first_of("Ee", 1);
  if (ePos == std::string_view::npos || !toPlain(scientific, ePos, text)) text.assign(scientific);
  if (text == "-0") text = "0";
  return text;
}

CString& KyFixedDecimal::strGetString(CString& out) const {
  out = fixedDecimalText(number).c_str();
  return out;
}

void KyFixedDecimal::toStringKyFixedDecimal(const KyFixedDecimal& value, CString& out) {
  value.strGetString(out);
}
