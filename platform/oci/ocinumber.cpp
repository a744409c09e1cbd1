// OCI.DLL: the OCINumber conversions (a length byte, then Oracle NUMBER
// bytes) to and from integers of 1, 2, 4 or 8 bytes.
#include "ocivalues.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>

using namespace oci;

namespace {

bool fitsIn(long long value, unsigned long long magnitude, bool negative, uword length, bool isSigned) {
  if (length != 1 && length != 2 && length != 4 && length != 8) return false;
  const int bits = static_cast<int>(length) * 8;
  if (!isSigned) return !negative && (bits == 64 || magnitude < (1ULL << bits));
  if (bits == 64) return true;
  const long long high = (1LL << (bits - 1)) - 1, low = -(1LL << (bits - 1));
  return value >= low && value <= high;
}

}  // namespace

extern "C" {

sword OCINumberToInt(OCIError* err, const OCINumber* number, uword rsl_length, uword rsl_flag, void* rsl) {
  if (!number || !rsl) return fail(err, 22060, "argument is an invalid or uninitialized number");
  const ub1 length = number->OCINumberPart[0];
  if (length < 1 || length > OCI_NUMBER_SIZE - 1)
    return fail(err, 22060, "argument is an invalid or uninitialized number");
  const std::string decimal = numberToText(number->OCINumberPart + 1, length);
  if (decimal.empty()) return fail(err, 22060, "argument is an invalid or uninitialized number");
  const bool negative = decimal[0] == '-';
  // The integer digits: the fraction goes (towards zero).
  const size_t point = decimal.find('.');
  const size_t first = negative ? 1 : 0;
  const std::string text = decimal.substr(first, point == std::string::npos ? std::string::npos : point - first);
  const bool isSigned = rsl_flag == OCI_NUMBER_SIGNED;
  errno = 0;
  const unsigned long long magnitude = text.empty() ? 0 : std::strtoull(text.c_str(), nullptr, 10);
  const bool outOfRange = errno == ERANGE || (isSigned && magnitude > (negative ? 1ULL << 63 : (1ULL << 63) - 1));
  const long long value = negative ? static_cast<long long>(0ULL - magnitude) : static_cast<long long>(magnitude);
  if (outOfRange || !fitsIn(value, magnitude, negative, rsl_length, isSigned))
    return fail(err, 22054, "underflow or overflow in the number conversion");
  if (isSigned) {
    switch (rsl_length) {
      case 1: { const sb1 v = static_cast<sb1>(value); std::memcpy(rsl, &v, 1); break; }
      case 2: { const sb2 v = static_cast<sb2>(value); std::memcpy(rsl, &v, 2); break; }
      case 4: { const sb4 v = static_cast<sb4>(value); std::memcpy(rsl, &v, 4); break; }
      default: std::memcpy(rsl, &value, 8); break;
    }
  } else {
    std::memcpy(rsl, &magnitude, rsl_length);  // little-endian: the low bytes first
  }
  return OCI_SUCCESS;
}

sword OCINumberFromInt(OCIError* err, const void* inum, uword inum_length, uword inum_s_flag, OCINumber* number) {
  if (!inum || !number) return fail(err, 22060, "argument is an invalid or uninitialized number");
  char text[32];
  const bool isSigned = inum_s_flag == OCI_NUMBER_SIGNED;
  long long s = 0;
  unsigned long long u = 0;
  switch (inum_length) {
    case 1: s = *static_cast<const sb1*>(inum), u = *static_cast<const ub1*>(inum); break;
    case 2: { sb2 a; ub2 b; std::memcpy(&a, inum, 2), std::memcpy(&b, inum, 2); s = a, u = b; break; }
    case 4: { sb4 a; ub4 b; std::memcpy(&a, inum, 4), std::memcpy(&b, inum, 4); s = a, u = b; break; }
    case 8: std::memcpy(&s, inum, 8), std::memcpy(&u, inum, 8); break;
    default: return fail(err, 22060, "argument is an invalid or uninitialized number");
  }
  if (isSigned)
    std::snprintf(text, sizeof text, "%lld", s);
  else
    std::snprintf(text, sizeof text, "%llu", u);
  ub1 length = 0;
  if (!numberFromText(text, number->OCINumberPart + 1, &length)) return fail(err, 22054, "overflow");
  number->OCINumberPart[0] = length;
  return OCI_SUCCESS;
}

sword OCINumberSetZero(OCIError*, OCINumber* num) {
  if (!num) return OCI_INVALID_HANDLE;
  std::memset(num->OCINumberPart, 0, OCI_NUMBER_SIZE);
  num->OCINumberPart[0] = 1;
  num->OCINumberPart[1] = 0x80;
  return OCI_SUCCESS;
}

}  // extern "C"
