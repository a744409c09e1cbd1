// _strdate and _strtime: the local date "mm/dd/yy" and time "hh:mm:ss" in
// a 9-byte buffer.
#include <mscrt.h>
#include <windows.h>

#include <cerrno>

namespace {

// Three two-digit fields with a separator, as "07/04/26".
char* writeTriple(char* buffer, unsigned a, unsigned b, unsigned c, char separator) {
  if (!buffer) {
    errno = EINVAL;
    return nullptr;
  }
  const unsigned fields[3] = {a % 100, b % 100, c % 100};
  for (int i = 0; i < 3; ++i) {
    buffer[3 * i] = static_cast<char>('0' + fields[i] / 10);
    buffer[3 * i + 1] = static_cast<char>('0' + fields[i] % 10);
    buffer[3 * i + 2] = i < 2 ? separator : '\0';
  }
  return buffer;
}

}  // namespace

extern "C" char* _strdate(char* buffer) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return writeTriple(buffer, now.wMonth, now.wDay, now.wYear, '/');
}

extern "C" char* _strtime(char* buffer) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return writeTriple(buffer, now.wHour, now.wMinute, now.wSecond, ':');
}
