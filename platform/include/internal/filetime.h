// FILETIME arithmetic shared by the file, find and time functions.
//
// A FILETIME counts 100-nanosecond intervals since 1601-01-01 00:00 UTC;
// the Unix epoch 1970-01-01 is 11,644,473,600 seconds later.
#pragma once

#include <windef.h>

#include <ctime>
#include <cstdint>

namespace win32 {

inline constexpr int64_t kTicksPerSecond = 10'000'000;
inline constexpr int64_t kUnixEpochSeconds = 11'644'473'600;  // 1601 -> 1970

inline uint64_t fileTimeToQuad(const FILETIME& ft) {
  return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

inline FILETIME quadToFileTime(uint64_t q) {
  return FILETIME{static_cast<DWORD>(q), static_cast<DWORD>(q >> 32)};
}

// A Unix time (seconds and nanoseconds, UTC) as FILETIME; times before 1601
// answer 0.
inline FILETIME fileTimeFromUnix(int64_t seconds, int64_t nanoseconds) {
  const int64_t since1601 = seconds + kUnixEpochSeconds;
  if (since1601 < 0) return FILETIME{0, 0};
  return quadToFileTime(static_cast<uint64_t>(since1601) * kTicksPerSecond +
                        static_cast<uint64_t>(nanoseconds / 100));
}

inline FILETIME fileTimeFromTimespec(const timespec& ts) { return fileTimeFromUnix(ts.tv_sec, ts.tv_nsec); }

inline timespec timespecFromFileTime(const FILETIME& ft) {
  const uint64_t q = fileTimeToQuad(ft);
  timespec ts{};
  ts.tv_sec = static_cast<time_t>(static_cast<int64_t>(q / kTicksPerSecond) - kUnixEpochSeconds);
  ts.tv_nsec = static_cast<long>((q % kTicksPerSecond) * 100);
  return ts;
}

}  // namespace win32
