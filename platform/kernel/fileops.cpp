// Operations on files by name: copy, move, delete and attributes.
#include <internal/fileinfo.h>
#include <internal/hosterror.h>
#include <internal/hostpath.h>
#include <internal/wildcard.h>
#include <winbase.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>

namespace {

BOOL fail(DWORD code) {
  SetLastError(code);
  return FALSE;
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, answering errno of a failed close (a late write error).
  int close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

bool sameEntry(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

bool isReadOnlyFile(const struct stat& st) { return S_ISREG(st.st_mode) && win32::isReadOnlyMode(st.st_mode); }

// Writes all of `count` bytes; answers errno, 0 when done.
int writeAll(int fd, const char* data, size_t count) {
  while (count > 0) {
    const ssize_t n = ::write(fd, data, count);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += n;
    count -= static_cast<size_t>(n);
  }
  return 0;
}

// Copies content, permissions and times of `from` to `to`, as CopyFile
// keeps the attributes and the last write time. Answers a Win32 error code.
DWORD copyHostFile(const std::string& from, const std::string& to, bool failIfExists) {
  Descriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return win32::errorFromErrno(errno, from);
  struct stat source;
  if (::fstat(in.get(), &source) != 0) return win32::errorFromErrno(errno);
  if (S_ISDIR(source.st_mode)) return ERROR_ACCESS_DENIED;
  struct stat target;
  if (::stat(to.c_str(), &target) == 0) {
    // Copying a file onto itself would truncate it before reading.
    if (sameEntry(source, target)) return ERROR_SHARING_VIOLATION;
    if (failIfExists) return ERROR_FILE_EXISTS;
    if (S_ISDIR(target.st_mode) || isReadOnlyFile(target)) return ERROR_ACCESS_DENIED;
  }
  const int createFlags = failIfExists ? O_EXCL : O_TRUNC;
  Descriptor out(::open(to.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | createFlags, 0600));
  if (out.get() < 0) return win32::errorFromErrno(errno, to);

  auto buffer = std::make_unique<char[]>(128 * 1024);
  int err = 0;
  for (;;) {
    const ssize_t n = ::read(in.get(), buffer.get(), 128 * 1024);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      err = n < 0 ? errno : 0;
      break;
    }
    if ((err = writeAll(out.get(), buffer.get(), static_cast<size_t>(n))) != 0) break;
  }
  if (!err) {
    const timespec times[2] = {source.st_atim, source.st_mtim};
    ::futimens(out.get(), times);
    if (::fchmod(out.get(), source.st_mode & 07777) != 0) err = errno;
  }
  if (const int closeErr = out.close(); !err) err = closeErr;
  if (err) {
    ::unlink(to.c_str());  // no half-copied file stays behind
    return win32::errorFromErrno(err);
  }
  return ERROR_SUCCESS;
}

std::string parentDirectory(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string lastComponent(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

DWORD moveHostFile(const std::string& from, std::string to, std::string_view spelledTarget, DWORD flags) {
  struct stat source;
  if (::lstat(from.c_str(), &source) != 0) return win32::errorFromErrno(errno, from);
  struct stat target;
  if (::lstat(to.c_str(), &target) == 0) {
    if (sameEntry(source, target)) {
      // The target resolved, ignoring case, to the source itself: the move
      // changes only the letter case of the name.
      to = win32::joinHostPath(parentDirectory(to), lastComponent(win32::toHostPath(spelledTarget)));
      if (to == from) return ERROR_SUCCESS;
    } else {
      if (!(flags & MOVEFILE_REPLACE_EXISTING)) return ERROR_ALREADY_EXISTS;
      if (S_ISDIR(target.st_mode) || S_ISDIR(source.st_mode) || isReadOnlyFile(target)) return ERROR_ACCESS_DENIED;
    }
  }
  if (::rename(from.c_str(), to.c_str()) == 0) return ERROR_SUCCESS;
  const int err = errno;
  if (err != EXDEV) return win32::errorFromErrno(err, to);
  // Another file system: files move by copy and delete when allowed;
  // directories do not move across.
  if (S_ISDIR(source.st_mode) || !(flags & MOVEFILE_COPY_ALLOWED)) return ERROR_NOT_SAME_DEVICE;
  const DWORD copied = copyHostFile(from, to, !(flags & MOVEFILE_REPLACE_EXISTING));
  if (copied != ERROR_SUCCESS) return copied;
  if (::unlink(from.c_str()) != 0) return win32::errorFromErrno(errno, from);
  return ERROR_SUCCESS;
}

}  // namespace

extern "C" BOOL WINAPI CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists) {
  if (!lpExistingFileName || !lpNewFileName) return fail(ERROR_INVALID_PARAMETER);
  if (!*lpExistingFileName || !*lpNewFileName) return fail(ERROR_PATH_NOT_FOUND);
  const DWORD err = copyHostFile(win32::resolveHostPath(lpExistingFileName), win32::resolveHostPath(lpNewFileName),
                                 bFailIfExists != FALSE);
  return err == ERROR_SUCCESS ? TRUE : fail(err);
}

extern "C" BOOL WINAPI MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags) {
  // Moves at the next boot have no counterpart here.
  if (dwFlags & MOVEFILE_DELAY_UNTIL_REBOOT) return fail(ERROR_NOT_SUPPORTED);
  if (!lpExistingFileName || !lpNewFileName) return fail(ERROR_INVALID_PARAMETER);
  if (!*lpExistingFileName || !*lpNewFileName) return fail(ERROR_PATH_NOT_FOUND);
  const DWORD err = moveHostFile(win32::resolveHostPath(lpExistingFileName), win32::resolveHostPath(lpNewFileName),
                                 lpNewFileName, dwFlags);
  return err == ERROR_SUCCESS ? TRUE : fail(err);
}

extern "C" BOOL WINAPI MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName) {
  return MoveFileExA(lpExistingFileName, lpNewFileName, MOVEFILE_COPY_ALLOWED);
}

extern "C" BOOL WINAPI DeleteFileA(LPCSTR lpFileName) {
  if (!lpFileName || !*lpFileName) return fail(ERROR_PATH_NOT_FOUND);
  if (win32::hasWildcards(lpFileName)) return fail(ERROR_INVALID_NAME);
  const std::string path = win32::resolveHostPath(lpFileName);
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) {
    win32::setLastErrorFromErrno(errno, path);
    return FALSE;
  }
  if (S_ISDIR(st.st_mode) || isReadOnlyFile(st)) return fail(ERROR_ACCESS_DENIED);
  if (::unlink(path.c_str()) != 0) {
    win32::setLastErrorFromErrno(errno, path);
    return FALSE;
  }
  return TRUE;
}

extern "C" DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return GetFileAttributesExA(lpFileName, GetFileExInfoStandard, &data) ? data.dwFileAttributes
                                                                         : INVALID_FILE_ATTRIBUTES;
}

extern "C" BOOL WINAPI SetFileAttributesA(LPCSTR lpFileName, DWORD dwFileAttributes) {
  if (!lpFileName || !*lpFileName) return fail(ERROR_PATH_NOT_FOUND);
  const std::string path = win32::resolveHostPath(lpFileName);
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    win32::setLastErrorFromErrno(errno, path);
    return FALSE;
  }
  if (!S_ISREG(st.st_mode)) return TRUE;  // directories carry no read-only state here
  const mode_t mode = (dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? (st.st_mode & ~mode_t(0222))
                                                                   : (st.st_mode | S_IWUSR);
  if ((mode & 07777) != (st.st_mode & 07777) && ::chmod(path.c_str(), mode & 07777) != 0) {
    win32::setLastErrorFromErrno(errno, path);
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL WINAPI GetFileAttributesExA(LPCSTR lpFileName, GET_FILEEX_INFO_LEVELS fInfoLevelId,
                                            LPVOID lpFileInformation) {
  if (fInfoLevelId != GetFileExInfoStandard || !lpFileInformation) return fail(ERROR_INVALID_PARAMETER);
  if (!lpFileName || !*lpFileName) return fail(ERROR_PATH_NOT_FOUND);
  if (win32::hasWildcards(lpFileName)) return fail(ERROR_INVALID_NAME);
  const std::string path = win32::resolveHostPath(lpFileName);
  win32::FileInfo info;
  if (!win32::queryFileInfo(path, info)) {
    win32::setLastErrorFromErrno(errno, path);
    return FALSE;
  }
  auto* data = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(lpFileInformation);
  data->dwFileAttributes = info.attributes;
  data->ftCreationTime = info.creation;
  data->ftLastAccessTime = info.lastAccess;
  data->ftLastWriteTime = info.lastWrite;
  data->nFileSizeHigh = static_cast<DWORD>(info.size >> 32);
  data->nFileSizeLow = static_cast<DWORD>(info.size);
  return TRUE;
}
