// Integer texts: _itoa and its family, _atoi64.
#include <mscrt.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <limits>

namespace {

// Radix 10 writes a sign; other radices write the value's bits as unsigned.
// `bits` is the value in its own width (32 or 64 bits), `mask` that width.
char* toText(uint64_t bits, bool negative, uint64_t mask, char* buffer, int radix) {
  if (!buffer) {
    errno = EINVAL;
    return nullptr;
  }
  if (radix < 2 || radix > 36) {
    buffer[0] = '\0';
    errno = EINVAL;
    return buffer;
  }
  char* p = buffer;
  if (negative) {
    *p++ = '-';
    bits = (0 - bits) & mask;
  }
  // 64 binary digits is the longest text; the caller's buffer holds 65.
  auto r = std::to_chars(p, p + 64, bits, radix);
  *r.ptr = '\0';
  return buffer;
}

}  // namespace

extern "C" {

char* _itoa(int value, char* buffer, int radix) {
  return toText(static_cast<uint32_t>(value), radix == 10 && value < 0, UINT32_MAX, buffer, radix);
}

char* _ltoa(LONG value, char* buffer, int radix) {
  return toText(static_cast<uint32_t>(value), radix == 10 && value < 0, UINT32_MAX, buffer, radix);
}

char* _ultoa(ULONG value, char* buffer, int radix) { return toText(value, false, UINT64_MAX, buffer, radix); }

char* _i64toa(__int64 value, char* buffer, int radix) {
  return toText(static_cast<uint64_t>(value), radix == 10 && value < 0, UINT64_MAX, buffer, radix);
}

char* _ui64toa(UINT64 value, char* buffer, int radix) { return toText(value, false, UINT64_MAX, buffer, radix); }

__int64 _atoi64(const char* text) {
  if (!text) {
    errno = EINVAL;
    return 0;
  }
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  uint64_t value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    const unsigned digit = static_cast<unsigned>(*p - '0');
    if (value > (limit - digit) / 10) {
      errno = ERANGE;
      return negative ? std::numeric_limits<__int64>::min() : std::numeric_limits<__int64>::max();
    }
    value = value * 10 + digit;
  }
  return negative ? static_cast<__int64>(0 - value) : static_cast<__int64>(value);
}

}  // extern "C"
