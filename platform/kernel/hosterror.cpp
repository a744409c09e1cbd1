// errno -> Win32 error codes (see internal/hosterror.h).
#include <internal/hosterror.h>
#include <winbase.h>

#include <sys/stat.h>

#include <cerrno>
#include <string>

namespace win32 {
namespace {

struct ErrnoMapping {
  int err;
  DWORD code;
};

// The codes Windows gives for the same conditions.
constexpr ErrnoMapping kErrnoTable[] = {
    {ENOENT, ERROR_FILE_NOT_FOUND},
    {ENOTDIR, ERROR_PATH_NOT_FOUND},
    {EACCES, ERROR_ACCESS_DENIED},
    {EPERM, ERROR_ACCESS_DENIED},
    {EISDIR, ERROR_ACCESS_DENIED},
    {EROFS, ERROR_WRITE_PROTECT},
    {EEXIST, ERROR_FILE_EXISTS},
    {ENOTEMPTY, ERROR_DIR_NOT_EMPTY},
    {ENOSPC, ERROR_DISK_FULL},
    {EDQUOT, ERROR_DISK_FULL},
    {EFBIG, ERROR_FILE_TOO_LARGE},
    {EMFILE, ERROR_TOO_MANY_OPEN_FILES},
    {ENFILE, ERROR_TOO_MANY_OPEN_FILES},
    {EBADF, ERROR_INVALID_HANDLE},
    {ENOMEM, ERROR_NOT_ENOUGH_MEMORY},
    {EINVAL, ERROR_INVALID_PARAMETER},
    {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
    {ELOOP, ERROR_CANT_RESOLVE_FILENAME},
    {EXDEV, ERROR_NOT_SAME_DEVICE},
    {EBUSY, ERROR_BUSY},
    {ETXTBSY, ERROR_SHARING_VIOLATION},
    {EAGAIN, ERROR_LOCK_VIOLATION},  // a refused non-blocking lock
    {EDEADLK, ERROR_LOCK_VIOLATION},
    {ESPIPE, ERROR_SEEK_ON_DEVICE},
    {EPIPE, ERROR_BROKEN_PIPE},
    {EIO, ERROR_IO_DEVICE},
    {EFAULT, ERROR_NOACCESS},
    {ENOSYS, ERROR_NOT_SUPPORTED},
    {EOPNOTSUPP, ERROR_NOT_SUPPORTED},
    {ENODEV, ERROR_INVALID_DRIVE},
    {ENXIO, ERROR_INVALID_DRIVE},
};

bool isDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The directory part of a host path ("." for a bare name).
std::string parentOf(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  const size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

}  // namespace

DWORD errorFromErrno(int err) {
  for (const auto& m : kErrnoTable) {
    if (m.err == err) return m.code;
  }
  return ERROR_GEN_FAILURE;
}

DWORD errorFromErrno(int err, std::string_view hostPath) {
  if ((err == ENOENT || err == ENOTDIR) && !hostPath.empty()) {
    return isDirectory(parentOf(hostPath)) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
  }
  return errorFromErrno(err);
}

void setLastErrorFromErrno(int err, std::string_view hostPath) { SetLastError(errorFromErrno(err, hostPath)); }

}  // namespace win32
