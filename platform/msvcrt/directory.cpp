// Drives, the current directory, full paths and access tests. The layer has
// one drive, C: (3), and answers paths in its own spelling, the Linux one
// with '/' (as GetCurrentDirectoryA and GetFullPathNameA answer them).
#include <mscrt.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kDriveC = 3;

// A kernel answer of `needed` characters into `buffer` of `size`, or into a
// new block of at least `size` when `buffer` is null.
template <class Fill>
char* answerPath(char* buffer, size_t size, Fill fill) {
  const DWORD needed = fill(nullptr, 0);  // with the terminator
  if (needed == 0) {
    errno = ENOENT;
    return nullptr;
  }
  char* out = buffer;
  if (!out) {
    size = std::max(size, static_cast<size_t>(needed));
    out = static_cast<char*>(std::malloc(size));
    if (!out) {
      errno = ENOMEM;
      return nullptr;
    }
  } else if (size < needed) {
    errno = ERANGE;
    return nullptr;
  }
  const DWORD written = fill(out, static_cast<DWORD>(size));
  if (written == 0 || written >= size) {
    if (!buffer) std::free(out);
    errno = written == 0 ? ENOENT : ERANGE;
    return nullptr;
  }
  return out;
}

}  // namespace

extern "C" {

int _getdrive(void) { return kDriveC; }

int _chdrive(int drive) {
  if (drive < 1 || drive > 26) {
    errno = EINVAL;
    return -1;
  }
  if (drive != kDriveC) {
    errno = EACCES;
    return -1;
  }
  return 0;
}

char* _getdcwd(int drive, char* buffer, int maxLength) {
  if (drive != 0 && drive != kDriveC) {
    errno = EACCES;
    return nullptr;
  }
  if (buffer && maxLength <= 0) {
    errno = EINVAL;
    return nullptr;
  }
  return answerPath(buffer, static_cast<size_t>(std::max(maxLength, 0)),
                    [](char* out, DWORD size) { return GetCurrentDirectoryA(size, out); });
}

char* _getcwd(char* buffer, int maxLength) { return _getdcwd(0, buffer, maxLength); }

char* _fullpath(char* absolute, const char* relative, size_t maxLength) {
  if (!relative || !*relative) return _getcwd(absolute, static_cast<int>(std::min<size_t>(maxLength, INT32_MAX)));
  if (!absolute) maxLength = _MAX_PATH;
  return answerPath(absolute, maxLength,
                    [relative](char* out, DWORD size) { return GetFullPathNameA(relative, size, out, nullptr); });
}

int _access(const char* path, int mode) {
  if (!path || (mode & ~6)) {
    errno = EINVAL;
    return -1;
  }
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    errno = ENOENT;
    return -1;
  }
  if ((mode & 2) && (attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    errno = EACCES;
    return -1;
  }
  return 0;
}

}  // extern "C"
