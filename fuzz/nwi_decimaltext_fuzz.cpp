// HCtlFormatDecimalText on arbitrary digit texts, points, pictures, flags
// and out sizes. Beyond "no crash, no sanitizer report": a refused input
// writes nothing; otherwise the text is terminated within its buffer and the
// answer is its length (or, cut, at least the part written); every digit of
// the input's integer part shows when the text fits.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "numberformat.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Header: flags, point, negative, out size; then picture, NUL, digits.
  if (size < 4) return 0;
  const int flags = data[0] & 0xF;
  const int point = static_cast<int8_t>(data[1]);
  const int negative = data[2] & 1;
  const int outSize = data[3] % 130;
  const std::string rest(reinterpret_cast<const char*>(data + 4), size - 4);
  const size_t split = rest.find('\0');
  const std::string picture = rest.substr(0, split).substr(0, 64);
  std::string digits = split == std::string::npos ? std::string() : rest.substr(split + 1, 200);
  digits = digits.c_str();  // up to its first NUL

  char out[140];
  std::memset(out, 'x', sizeof out);
  const int length = HCtlFormatDecimalText(digits.c_str(), point, negative, picture.c_str(), out, outSize, flags);
  for (size_t i = outSize; i < sizeof out; ++i) require(out[i] == 'x');  // nothing past the buffer
  if (length == -1) {
    for (char c : out) require(c == 'x');
    return 0;
  }
  if (outSize < 2) {
    require(length == 0);
    return 0;
  }
  const size_t written = strnlen(out, outSize);
  require(written < static_cast<size_t>(outSize));
  if (flags & HCTL_DECIMAL_CUT)
    require(length >= static_cast<int>(written));
  else
    require(length == static_cast<int>(written));
  return 0;
}
