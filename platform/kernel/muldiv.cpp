// MulDiv: number * numerator / denominator with a 64-bit intermediate,
// rounded half away from zero; -1 when the denominator is 0 or the result
// does not fit in 32 bits (the documented failure value).
#include <winbase.h>

#include <cstdint>
#include <limits>

extern "C" int WINAPI MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  int64_t product = static_cast<int64_t>(number) * numerator;
  bool negative = (product < 0) != (denominator < 0);
  uint64_t magnitude = product < 0 ? static_cast<uint64_t>(-product) : static_cast<uint64_t>(product);
  uint64_t divisor = denominator < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(denominator))
                                     : static_cast<uint64_t>(denominator);
  uint64_t quotient = (magnitude + divisor / 2) / divisor;
  if (negative) {
    if (quotient > static_cast<uint64_t>(std::numeric_limits<int>::max()) + 1) return -1;
    return static_cast<int>(-static_cast<int64_t>(quotient));
  }
  if (quotient > static_cast<uint64_t>(std::numeric_limits<int>::max())) return -1;
  return static_cast<int>(quotient);
}
