// Full, long and short path names and temporary file names. Answers are in host spelling
// with '/' (see the section comment in winbase.h).
#include <internal/answerbuffer.h>
#include <internal/hosterror.h>
#include <internal/hostpath.h>
#include <winbase.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

bool isAllDots(std::string_view part) { return part.find_first_not_of('.') == std::string_view::npos; }

// `host` made absolute and lexically normal: no "." or empty components,
// ".." applied (never above the root), and trailing dots and blanks cut
// from names, which Windows ignores. A trailing separator stays.
std::string normalAbsolute(std::string host) {
  if (host.empty() || host[0] != '/') host = win32::joinHostPath(win32::hostCurrentDirectory(), host);
  const bool trailingSeparator = host.back() == '/';
  std::vector<std::string_view> parts;
  std::string_view rest(host);
  while (!rest.empty()) {
    const size_t slash = rest.find('/');
    std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    if (!isAllDots(part)) {
      while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.remove_suffix(1);
    }
    parts.push_back(part);
  }
  std::string out;
  for (auto part : parts) {
    out += '/';
    out += part;
  }
  if (out.empty() || trailingSeparator) out += '/';
  return out;
}

std::string withSeparator(std::string directory) {
  if (directory.empty()) return std::string("./");
  if (directory.back() != '/') directory += '/';
  return directory;
}

// Name of temporary file `number` in `directory` (ending with '/'):
// the prefix's first three characters, the number in upper-case
// hexadecimal, ".TMP" (Windows' "%.3s%X.TMP").
std::string temporaryName(const std::string& directory, std::string_view prefix, unsigned number) {
  char digits[8];
  const auto end = std::to_chars(digits, digits + sizeof digits, number, 16).ptr;
  std::string name = directory;
  name += prefix.substr(0, 3);
  for (const char* d = digits; d != end; ++d) name += static_cast<char>(std::toupper(static_cast<unsigned char>(*d)));
  name += ".TMP";
  return name;
}

// Where the search for an unused number starts: different for every call
// and every process, as Windows starts from the tick count.
unsigned nextStartNumber() {
  static std::atomic<unsigned> counter{static_cast<unsigned>(std::time(nullptr)) ^
                                       (static_cast<unsigned>(::getpid()) << 4)};
  return counter.fetch_add(1, std::memory_order_relaxed);
}

// GetLongPathNameA and GetShortPathNameA: this file system keeps one name
// per entry, so both answer `path` as given (relative stays relative) once
// it names an existing file or directory.
DWORD answerExistingPath(LPCSTR path, LPSTR buffer, DWORD size) {
  if (!path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::string_view given(path);
  if (given.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return 0;
  }
  if (given.find_first_of("*?") != std::string_view::npos) {
    SetLastError(ERROR_INVALID_NAME);
    return 0;
  }
  const std::string host = win32::resolveHostPath(given);
  struct stat st;
  if (::stat(host.c_str(), &st) != 0) {
    win32::setLastErrorFromErrno(errno, host);
    return 0;
  }
  // The answer may be written over the caller's own string.
  return win32::answerString(std::string(given), buffer, size);
}

}  // namespace

extern "C" DWORD WINAPI GetLongPathNameA(LPCSTR lpszShortPath, LPSTR lpszLongPath, DWORD cchBuffer) {
  return answerExistingPath(lpszShortPath, lpszLongPath, cchBuffer);
}

extern "C" DWORD WINAPI GetShortPathNameA(LPCSTR lpszLongPath, LPSTR lpszShortPath, DWORD cchBuffer) {
  return answerExistingPath(lpszLongPath, lpszShortPath, cchBuffer);
}

extern "C" DWORD WINAPI GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart) {
  if (!lpFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!*lpFileName) {
    SetLastError(ERROR_INVALID_NAME);
    return 0;
  }
  // Resolving letter case last makes the answer name the existing entry.
  const std::string full = win32::resolveHostPath(normalAbsolute(win32::toHostPath(lpFileName)));
  const DWORD length = win32::answerString(full, lpBuffer, nBufferLength);
  if (length < nBufferLength && lpFilePart) {
    const size_t slash = full.rfind('/');
    *lpFilePart = slash + 1 < full.size() ? lpBuffer + slash + 1 : nullptr;
  }
  return length;
}

extern "C" DWORD WINAPI GetTempPathA(DWORD nBufferLength, LPSTR lpBuffer) {
  // Windows looks at TMP, then TEMP; TMPDIR is the Linux convention.
  std::string directory = "/tmp/";
  for (const char* variable : {"TMP", "TEMP", "TMPDIR"}) {
    const char* value = std::getenv(variable);
    if (value && *value) {
      directory = withSeparator(normalAbsolute(win32::resolveHostPath(value)));
      break;
    }
  }
  return win32::answerString(directory, lpBuffer, nBufferLength);
}

extern "C" UINT WINAPI GetTempFileNameA(LPCSTR lpPathName, LPCSTR lpPrefixString, UINT uUnique, LPSTR lpTempFileName) {
  if (!lpPathName || !lpTempFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::string directory = withSeparator(win32::resolveHostPath(lpPathName));
  // Room for the prefix, four digits, ".TMP" and the terminator.
  if (directory.size() > MAX_PATH - 14) {
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return 0;
  }
  const std::string_view prefix = lpPrefixString ? std::string_view(lpPrefixString) : std::string_view();
  auto answer = [&](const std::string& name) {
    name.copy(lpTempFileName, MAX_PATH - 1);
    lpTempFileName[std::min<size_t>(name.size(), MAX_PATH - 1)] = '\0';
  };
  if (uUnique != 0) {
    // Only the name is made; only the low 16 bits of the number are used.
    answer(temporaryName(directory, prefix, uUnique & 0xFFFF));
    return uUnique;
  }
  unsigned number = nextStartNumber() & 0xFFFF;
  for (unsigned tries = 0; tries < 0xFFFF; ++tries, number = (number + 1) & 0xFFFF) {
    if (number == 0) number = 1;  // 0 would mean "make no file"
    const std::string name = temporaryName(directory, prefix, number);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      answer(name);
      return number;
    }
    if (errno == EEXIST || errno == EINTR) continue;
    const int err = errno;
    SetLastError(err == ENOENT || err == ENOTDIR ? static_cast<DWORD>(ERROR_DIRECTORY) : win32::errorFromErrno(err));
    return 0;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return 0;
}
