// CreateFileA and the operations on file handles.
#include <internal/fileinfo.h>
#include <internal/fileobject.h>
#include <internal/filetime.h>
#include <internal/hosterror.h>
#include <internal/hostpath.h>
#include <winbase.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <string>

using win32::FileObject;

namespace {

constexpr DWORD kWriteDataRights = GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA;
constexpr DWORD kAnyWriteRights = kWriteDataRights | FILE_APPEND_DATA;
constexpr DWORD kReadDataRights = GENERIC_READ | GENERIC_ALL | FILE_READ_DATA;
// read() and write() move at most this much per call on Linux.
constexpr size_t kMaxTransfer = 0x40000000;

BOOL fail(DWORD code) {
  SetLastError(code);
  return FALSE;
}

HANDLE failHandle(DWORD code) {
  SetLastError(code);
  return INVALID_HANDLE_VALUE;
}

int openFlagsFor(DWORD access, DWORD flags) {
  int oflags = O_CLOEXEC | O_NOCTTY;
  const bool read = access & kReadDataRights;
  const bool write = access & kAnyWriteRights;
  if (read && write) {
    oflags |= O_RDWR;
  } else if (write) {
    oflags |= O_WRONLY;
  } else {
    oflags |= O_RDONLY;
  }
  // FILE_APPEND_DATA alone is Windows' append mode: every write lands at the end.
  if ((access & FILE_APPEND_DATA) && !(access & kWriteDataRights)) oflags |= O_APPEND;
  if (flags & FILE_FLAG_WRITE_THROUGH) oflags |= O_DSYNC;
  return oflags;
}

// open() retried on EINTR; answers the descriptor or -1 with errno.
int openRetrying(const std::string& path, int oflags, mode_t mode) {
  int fd;
  do {
    fd = ::open(path.c_str(), oflags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

struct Opened {
  int fd = -1;
  bool existed = false;
  int err = 0;
};

// Opens `path` as `disposition` asks, telling apart a file that existed
// from one this call created without a window between the two checks.
Opened openWithDisposition(const std::string& path, DWORD disposition, int oflags, mode_t mode, bool truncateReadOnly,
                           bool queryOnly) {
  Opened r;
  const bool creates = disposition == CREATE_NEW || disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
  if (creates) {
    r.fd = openRetrying(path, oflags | O_CREAT | O_EXCL, mode);
    if (r.fd >= 0 || errno != EEXIST || disposition == CREATE_NEW) {
      r.err = r.fd < 0 ? errno : 0;
      return r;
    }
    r.existed = true;
  }
  const bool truncates = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
  // O_TRUNC on a descriptor opened for reading only is unspecified: cut first.
  if (truncates && truncateReadOnly && ::truncate(path.c_str(), 0) != 0) {
    r.err = errno;
    return r;
  }
  r.fd = openRetrying(path, oflags | (truncates && !truncateReadOnly ? O_TRUNC : 0), 0);
  if (r.fd < 0 && queryOnly && errno == EACCES && !truncates) {
    // A handle without data rights (attributes and times only) may be had
    // on a file its user cannot read.
    r.fd = openRetrying(path, O_PATH | O_CLOEXEC, 0);
  }
  r.err = r.fd < 0 ? errno : 0;
  r.existed = r.existed || disposition != CREATE_NEW;
  return r;
}

uint64_t combine(DWORD low, DWORD high) { return (static_cast<uint64_t>(high) << 32) | low; }

// Moves the handle's pointer; answers the new position or -1 with the
// last error set.
int64_t moveFilePointer(const FileObject& file, int64_t distance, DWORD method) {
  int64_t base = 0;
  switch (method) {
    case FILE_BEGIN:
      break;
    case FILE_CURRENT:
      base = ::lseek(file.descriptor(), 0, SEEK_CUR);
      break;
    case FILE_END: {
      struct stat st;
      base = ::fstat(file.descriptor(), &st) == 0 ? st.st_size : -1;
      break;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return -1;
  }
  if (base < 0) {
    win32::setLastErrorFromErrno(errno);
    return -1;
  }
  int64_t target;
  if (__builtin_add_overflow(base, distance, &target)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (target < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);  // the pointer stays where it was
    return -1;
  }
  // Past the end is allowed: the file grows only when written or cut there.
  if (::lseek(file.descriptor(), target, SEEK_SET) < 0) {
    win32::setLastErrorFromErrno(errno);
    return -1;
  }
  return target;
}

std::shared_ptr<FileObject> fileFromHandle(HANDLE handle) { return win32::lookupHandleAs<FileObject>(handle); }

// Transfers up to `count` bytes with `op` (read or write, optionally at an
// offset), a call at a time of at most kMaxTransfer bytes. Reads stop at the
// first short transfer (end of file, or what a pipe had); writes go on until
// everything is written. Answers errno, 0 when done.
template <class Op>
int transfer(Op op, size_t count, bool untilComplete, size_t& done) {
  done = 0;
  while (done < count) {
    const size_t chunk = std::min(count - done, kMaxTransfer);
    const ssize_t n = op(done, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<size_t>(n);
    if (n == 0 || (!untilComplete && static_cast<size_t>(n) < chunk)) break;
  }
  return 0;
}

}  // namespace

extern "C" HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                                     LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                                     DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) {
  if (!lpFileName || !*lpFileName) return failHandle(ERROR_PATH_NOT_FOUND);
  if (dwCreationDisposition < CREATE_NEW || dwCreationDisposition > TRUNCATE_EXISTING) {
    return failHandle(ERROR_INVALID_PARAMETER);
  }
  const bool writesData = dwDesiredAccess & kAnyWriteRights;
  if (dwCreationDisposition == TRUNCATE_EXISTING && !(dwDesiredAccess & kWriteDataRights)) {
    return failHandle(ERROR_INVALID_PARAMETER);
  }
  std::string path = win32::resolveHostPath(lpFileName);
  if (win32::equalsIgnoringCase(lpFileName, "NUL")) path = "/dev/null";

  struct stat st;
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      // A directory opens only for its attributes and times, and only
      // with FILE_FLAG_BACKUP_SEMANTICS, as on Windows.
      if (dwCreationDisposition == CREATE_NEW) return failHandle(ERROR_FILE_EXISTS);
      const bool opensOnly = dwCreationDisposition == OPEN_EXISTING || dwCreationDisposition == OPEN_ALWAYS;
      if (!(dwFlagsAndAttributes & FILE_FLAG_BACKUP_SEMANTICS) || !opensOnly || writesData) {
        return failHandle(ERROR_ACCESS_DENIED);
      }
      const int fd = openRetrying(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
      if (fd < 0) {
        win32::setLastErrorFromErrno(errno, path);
        return INVALID_HANDLE_VALUE;
      }
      HANDLE h = win32::insertHandle(std::make_shared<FileObject>(fd, dwDesiredAccess, path, false, true));
      if (!h) return INVALID_HANDLE_VALUE;
      SetLastError(dwCreationDisposition == OPEN_ALWAYS ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
      return h;
    }
    // The read-only attribute refuses writing and replacing even where
    // Linux permissions would let the owner (or root) through.
    const bool replaces = dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == TRUNCATE_EXISTING;
    if (S_ISREG(st.st_mode) && win32::isReadOnlyMode(st.st_mode) && (writesData || replaces) &&
        dwCreationDisposition != CREATE_NEW) {
      return failHandle(ERROR_ACCESS_DENIED);
    }
  }

  const int oflags = openFlagsFor(dwDesiredAccess, dwFlagsAndAttributes);
  const mode_t mode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
  const bool readOnlyDescriptor = (oflags & O_ACCMODE) == O_RDONLY;
  const bool queryOnly = !(dwDesiredAccess & (kReadDataRights | kAnyWriteRights));
  Opened opened = openWithDisposition(path, dwCreationDisposition, oflags, mode, readOnlyDescriptor, queryOnly);
  if (opened.fd < 0) {
    win32::setLastErrorFromErrno(opened.err, path);
    return INVALID_HANDLE_VALUE;
  }
  const bool deleteOnClose = dwFlagsAndAttributes & FILE_FLAG_DELETE_ON_CLOSE;
  HANDLE h = win32::insertHandle(std::make_shared<FileObject>(opened.fd, dwDesiredAccess, path, deleteOnClose, true));
  if (!h) return INVALID_HANDLE_VALUE;
  const bool reportsExisting = dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS;
  SetLastError(reportsExisting && opened.existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return h;
}

extern "C" BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                                LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
  auto file = fileFromHandle(hFile);
  if (!file) return FALSE;
  if (!file->canRead()) return fail(ERROR_ACCESS_DENIED);
  if (!lpBuffer && nNumberOfBytesToRead) return fail(ERROR_NOACCESS);
  auto* buffer = static_cast<char*>(lpBuffer);
  const int fd = file->descriptor();
  size_t done = 0;
  int err;
  if (lpOverlapped) {
    const uint64_t offset = combine(lpOverlapped->Offset, lpOverlapped->OffsetHigh);
    err = transfer([&](size_t at, size_t n) { return ::pread(fd, buffer + at, n, static_cast<off_t>(offset + at)); },
                   nNumberOfBytesToRead, false, done);
    if (!err) ::lseek(fd, static_cast<off_t>(offset + done), SEEK_SET);
    lpOverlapped->Internal = 0;
    lpOverlapped->InternalHigh = done;
  } else {
    err = transfer([&](size_t at, size_t n) { return ::read(fd, buffer + at, n); }, nNumberOfBytesToRead, false, done);
  }
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = static_cast<DWORD>(done);
  if (err) {
    // Reading a directory handle is no function of a directory, as on Windows.
    SetLastError(err == EISDIR ? static_cast<DWORD>(ERROR_INVALID_FUNCTION) : win32::errorFromErrno(err));
    return FALSE;
  }
  // A read at an offset that is at or past the end fails, as Windows
  // documents for synchronous handles; a plain read there answers 0 bytes.
  if (lpOverlapped && done == 0 && nNumberOfBytesToRead) return fail(ERROR_HANDLE_EOF);
  return TRUE;
}

extern "C" BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                                 LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
  auto file = fileFromHandle(hFile);
  if (!file) return FALSE;
  if (!file->canWrite()) return fail(ERROR_ACCESS_DENIED);
  if (!lpBuffer && nNumberOfBytesToWrite) return fail(ERROR_NOACCESS);
  const auto* buffer = static_cast<const char*>(lpBuffer);
  const int fd = file->descriptor();
  size_t done = 0;
  int err;
  // Offset 0xFFFFFFFF:0xFFFFFFFF in the record means "at the end of the file".
  const bool toEnd = lpOverlapped && lpOverlapped->Offset == 0xFFFFFFFF && lpOverlapped->OffsetHigh == 0xFFFFFFFF;
  if (lpOverlapped && !toEnd) {
    const uint64_t offset = combine(lpOverlapped->Offset, lpOverlapped->OffsetHigh);
    err = transfer([&](size_t at, size_t n) { return ::pwrite(fd, buffer + at, n, static_cast<off_t>(offset + at)); },
                   nNumberOfBytesToWrite, true, done);
    if (!err) ::lseek(fd, static_cast<off_t>(offset + done), SEEK_SET);
  } else {
    if (toEnd) ::lseek(fd, 0, SEEK_END);
    err = transfer([&](size_t at, size_t n) { return ::write(fd, buffer + at, n); }, nNumberOfBytesToWrite, true, done);
  }
  if (lpOverlapped) {
    lpOverlapped->Internal = 0;
    lpOverlapped->InternalHigh = done;
  }
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = static_cast<DWORD>(done);
  if (err) {
    win32::setLastErrorFromErrno(err);
    return FALSE;
  }
  return TRUE;
}

extern "C" DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh,
                                       DWORD dwMoveMethod) {
  auto file = fileFromHandle(hFile);
  if (!file) return INVALID_SET_FILE_POINTER;
  // Without a high part the distance is a signed 32-bit number; with one,
  // the two halves make a signed 64-bit distance.
  const int64_t distance =
      lpDistanceToMoveHigh
          ? static_cast<int64_t>(combine(static_cast<DWORD>(lDistanceToMove), static_cast<DWORD>(*lpDistanceToMoveHigh)))
          : static_cast<int64_t>(lDistanceToMove);
  if (!lpDistanceToMoveHigh) {
    // The result has to fit in the 32 bits returned: check before moving.
    const off_t before = ::lseek(file->descriptor(), 0, SEEK_CUR);
    const int64_t target = moveFilePointer(*file, distance, dwMoveMethod);
    if (target < 0) return INVALID_SET_FILE_POINTER;
    if (target > static_cast<int64_t>(0xFFFFFFFF)) {
      if (before >= 0) ::lseek(file->descriptor(), before, SEEK_SET);
      SetLastError(ERROR_INVALID_PARAMETER);
      return INVALID_SET_FILE_POINTER;
    }
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(target);
  }
  const int64_t target = moveFilePointer(*file, distance, dwMoveMethod);
  if (target < 0) return INVALID_SET_FILE_POINTER;
  *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<uint64_t>(target) >> 32);
  // A low part of 0xFFFFFFFF is a valid position: the caller tells it from
  // a failure by the last error.
  SetLastError(NO_ERROR);
  return static_cast<DWORD>(target);
}

extern "C" BOOL WINAPI SetFilePointerEx(HANDLE hFile, LARGE_INTEGER liDistanceToMove, PLARGE_INTEGER lpNewFilePointer,
                                        DWORD dwMoveMethod) {
  auto file = fileFromHandle(hFile);
  if (!file) return FALSE;
  const int64_t target = moveFilePointer(*file, liDistanceToMove.QuadPart, dwMoveMethod);
  if (target < 0) return FALSE;
  if (lpNewFilePointer) lpNewFilePointer->QuadPart = target;
  return TRUE;
}

extern "C" BOOL WINAPI SetEndOfFile(HANDLE hFile) {
  auto file = fileFromHandle(hFile);
  if (!file) return FALSE;
  if (!file->canWrite()) return fail(ERROR_ACCESS_DENIED);
  const off_t position = ::lseek(file->descriptor(), 0, SEEK_CUR);
  if (position < 0 || ::ftruncate(file->descriptor(), position) != 0) {
    win32::setLastErrorFromErrno(errno);
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL WINAPI GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize) {
  auto file = fileFromHandle(hFile);
  if (!file) return FALSE;
  if (!lpFileSize) return fail(ERROR_INVALID_PARAMETER);
  struct stat st;
  if (::fstat(file->descriptor(), &st) != 0) {
    win32::setLastErrorFromErrno(errno);
    return FALSE;
  }
  lpFileSize->QuadPart = S_ISDIR(st.st_mode) ? 0 : st.st_size;
  return TRUE;
}

extern "C" DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(hFile, &size)) return INVALID_FILE_SIZE;
  if (lpFileSizeHigh) *lpFileSizeHigh = static_cast<DWORD>(static_cast<uint64_t>(size.QuadPart) >> 32);
  // A size whose low part is 0xFFFFFFFF is told from a failure by the last error.
  SetLastError(NO_ERROR);
  return static_cast<DWORD>(size.QuadPart);
}

extern "C" BOOL WINAPI FlushFileBuffers(HANDLE hFile) {
  auto file = fileFromHandle(hFile);
  if (!file) return FALSE;
  if (!file->canWrite()) return fail(ERROR_ACCESS_DENIED);
  if (::fsync(file->descriptor()) != 0) {
    // Terminals and pipes cannot be synced; the layer holds no buffer of
    // its own, so what was written has already reached them.
    if (errno == EINVAL || errno == EROFS) return TRUE;
    win32::setLastErrorFromErrno(errno);
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL WINAPI GetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime,
                                   LPFILETIME lpLastWriteTime) {
  auto file = fileFromHandle(hFile);
  if (!file) return FALSE;
  win32::FileInfo info;
  if (!win32::queryFileInfo(file->descriptor(), file->hostPath(), info)) {
    win32::setLastErrorFromErrno(errno);
    return FALSE;
  }
  if (lpCreationTime) *lpCreationTime = info.creation;
  if (lpLastAccessTime) *lpLastAccessTime = info.lastAccess;
  if (lpLastWriteTime) *lpLastWriteTime = info.lastWrite;
  return TRUE;
}

extern "C" BOOL WINAPI SetFileTime(HANDLE hFile, const FILETIME* lpCreationTime, const FILETIME* lpLastAccessTime,
                                   const FILETIME* lpLastWriteTime) {
  auto file = fileFromHandle(hFile);
  if (!file) return FALSE;
  if (!file->canWriteAttributes()) return fail(ERROR_ACCESS_DENIED);
  // A null pointer, 0 and 0xFFFFFFFF:0xFFFFFFFF all leave the time as it is.
  auto toTimespec = [](const FILETIME* ft) {
    timespec ts{0, UTIME_OMIT};
    if (ft) {
      const uint64_t q = win32::fileTimeToQuad(*ft);
      if (q != 0 && q != UINT64_MAX) ts = win32::timespecFromFileTime(*ft);
    }
    return ts;
  };
  const timespec times[2] = {toTimespec(lpLastAccessTime), toTimespec(lpLastWriteTime)};
  if (::futimens(file->descriptor(), times) != 0) {
    win32::setLastErrorFromErrno(errno);
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL WINAPI LockFile(HANDLE hFile, DWORD dwFileOffsetLow, DWORD dwFileOffsetHigh,
                                DWORD nNumberOfBytesToLockLow, DWORD nNumberOfBytesToLockHigh) {
  auto file = fileFromHandle(hFile);
  if (!file) return FALSE;
  const DWORD err = file->lockRange(combine(dwFileOffsetLow, dwFileOffsetHigh),
                                    combine(nNumberOfBytesToLockLow, nNumberOfBytesToLockHigh));
  return err == ERROR_SUCCESS ? TRUE : fail(err);
}

extern "C" BOOL WINAPI UnlockFile(HANDLE hFile, DWORD dwFileOffsetLow, DWORD dwFileOffsetHigh,
                                  DWORD nNumberOfBytesToUnlockLow, DWORD nNumberOfBytesToUnlockHigh) {
  auto file = fileFromHandle(hFile);
  if (!file) return FALSE;
  const DWORD err = file->unlockRange(combine(dwFileOffsetLow, dwFileOffsetHigh),
                                      combine(nNumberOfBytesToUnlockLow, nNumberOfBytesToUnlockHigh));
  return err == ERROR_SUCCESS ? TRUE : fail(err);
}

extern "C" DWORD WINAPI GetFileType(HANDLE hFile) {
  auto file = fileFromHandle(hFile);
  if (!file) return FILE_TYPE_UNKNOWN;
  struct stat st;
  if (::fstat(file->descriptor(), &st) != 0) {
    win32::setLastErrorFromErrno(errno);
    return FILE_TYPE_UNKNOWN;
  }
  SetLastError(NO_ERROR);
  if (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode) || S_ISBLK(st.st_mode)) return FILE_TYPE_DISK;
  if (S_ISCHR(st.st_mode)) return FILE_TYPE_CHAR;
  if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) return FILE_TYPE_PIPE;
  return FILE_TYPE_UNKNOWN;
}
