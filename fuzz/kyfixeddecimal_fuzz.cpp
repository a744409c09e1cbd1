// KyFixedDecimal parsing and text conversion on arbitrary input: the input
// is split into two texts and a decimal count; both are parsed, written back
// as text, read again, rounded, truncated, converted and combined. Beyond
// "no crash, no sanitizer report" it checks what must hold for any input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "KyFixedDecimal.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

std::string textOf(const KyFixedDecimal& value) {
  CString out;
  value.strGetString(out);
  return std::string(static_cast<const char*>(out));
}

int significantDigits(const std::string& text) {
  const size_t first = text.find_first_of("123456789");
  if (first == std::string::npos) return 0;
  int count = 0;
  for (size_t i = first; i < text.size() && text[i] != 'E'; ++i)
    if (text[i] != '.') ++count;
  return count;
}

void checkText(const KyFixedDecimal& value) {
  require(value.state == 0 || value.state == 2 || value.state == 3);
  const std::string text = textOf(value);
  // Plain up to the limit; an exponent text (34 digits, sign, point and
  // "E-1000000032") is shorter still.
  require(text.size() <= static_cast<size_t>(KyFixedDecimal::kMaxPlainText));
  require(text != "-0");
  const KyFixedDecimal again(text.c_str());
  require(again.state == value.state);
  if (value.state != 2) require(again == value);
  // The ".0" of a 34-digit integer's text is a 35th digit that reading
  // rounds away; otherwise the decimals read back as they were.
  if (value.state == 0 && significantDigits(text) <= KyFixedDecimal::kDigits)
    require(again.decimalPlaces == value.decimalPlaces);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int decimals = 0;
  if (size > 0) {
    decimals = static_cast<int8_t>(data[0]);
    ++data;
    --size;
  }
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('|');
  const std::string left = input.substr(0, split);
  const std::string right = split == std::string::npos ? "1" : input.substr(split + 1);

  const KyFixedDecimal a(left.c_str());
  const KyFixedDecimal b(right.c_str());
  checkText(a);
  checkText(b);

  const KyFixedDecimal rounded = KyFixedDecimal::KyFixedDecimalRound(a, decimals);
  const KyFixedDecimal cut = KyFixedDecimal::KyFixedDecimalTruncate(a, decimals);
  checkText(rounded);
  checkText(cut);
  if (a.state == 0) {
    // Truncation moves toward zero, never past it.
    require(cut.state == 0);
    if (a >= KyFixedDecimal(0)) require(cut <= a);
    else require(cut >= a);
  }

  (void)KyFixedDecimal::toIntKyFixedDecimal(a);
  (void)KyFixedDecimal::toLongLongKyFixedDecimal(a);
  const long double asDouble = KyFixedDecimal::toDoubleKyFixedDecimal(a);
  checkText(KyFixedDecimal(static_cast<double>(asDouble)));

  checkText(a + b);
  checkText(a - b);
  checkText(a * b);
  checkText(a / b);
  checkText(a % b);
  // Numbers and infinities order exactly as decNumber's own comparison.
  if (a.state != 2 && b.state != 2) {
    decContext context = a.context;
    decNumber order;
    decNumberCompare(&order, &a.number, &b.number, &context);
    const int expected = decNumberIsZero(&order) ? 0 : decNumberIsNegative(&order) ? -1 : 1;
    require((a < b) == (expected < 0));
    require((a == b) == (expected == 0));
    require((a > b) == (expected > 0));
    require((a <= b) == (expected <= 0));
    require((a >= b) == (expected >= 0));
    require((a != b) == (expected != 0));
  } else {
    (void)(a < b);
    (void)(a == b);
  }
  return 0;
}
