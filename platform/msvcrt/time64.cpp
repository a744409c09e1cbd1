// _time64: seconds since 1970-01-01 00:00 UTC, 64 bits wide.
#include <mscrt.h>

#include <ctime>

extern "C" __time64_t _time64(__time64_t* destination) {
  const __time64_t now = static_cast<__time64_t>(std::time(nullptr));
  if (destination) *destination = now;
  return now;
}
