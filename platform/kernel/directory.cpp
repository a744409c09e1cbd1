// Directories: creation, removal and the process's current directory.
#include <internal/answerbuffer.h>
#include <internal/hosterror.h>
#include <internal/hostpath.h>
#include <winbase.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace {

BOOL fail(DWORD code) {
  SetLastError(code);
  return FALSE;
}

bool isExistingNonDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

}  // namespace

extern "C" BOOL WINAPI CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes) {
  if (!lpPathName || !*lpPathName) return fail(ERROR_PATH_NOT_FOUND);
  const std::string path = win32::resolveHostPath(lpPathName);
  if (::mkdir(path.c_str(), 0777) != 0) {
    const int err = errno;
    if (err == EEXIST) return fail(ERROR_ALREADY_EXISTS);
    // Only the parent can be missing here.
    if (err == ENOENT || err == ENOTDIR) return fail(ERROR_PATH_NOT_FOUND);
    return fail(win32::errorFromErrno(err));
  }
  return TRUE;
}

extern "C" BOOL WINAPI RemoveDirectoryA(LPCSTR lpPathName) {
  if (!lpPathName || !*lpPathName) return fail(ERROR_PATH_NOT_FOUND);
  const std::string path = win32::resolveHostPath(lpPathName);
  struct stat target, current;
  // Windows holds the current directory open, so it cannot be removed.
  if (::stat(path.c_str(), &target) == 0 && ::stat(".", &current) == 0 && target.st_dev == current.st_dev &&
      target.st_ino == current.st_ino) {
    return fail(ERROR_SHARING_VIOLATION);
  }
  if (::rmdir(path.c_str()) != 0) {
    const int err = errno;
    if (err == ENOTEMPTY || err == EEXIST) return fail(ERROR_DIR_NOT_EMPTY);
    if (err == ENOTDIR && isExistingNonDirectory(path)) return fail(ERROR_DIRECTORY);
    win32::setLastErrorFromErrno(err, path);
    return FALSE;
  }
  return TRUE;
}

extern "C" DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
  const std::string current = win32::hostCurrentDirectory();
  if (current.empty()) {
    win32::setLastErrorFromErrno(errno);
    return 0;
  }
  return win32::answerString(current, lpBuffer, nBufferLength);
}

extern "C" BOOL WINAPI SetCurrentDirectoryA(LPCSTR lpPathName) {
  if (!lpPathName) return fail(ERROR_INVALID_PARAMETER);
  if (!*lpPathName) return fail(ERROR_INVALID_NAME);
  const std::string path = win32::resolveHostPath(lpPathName);
  if (::chdir(path.c_str()) != 0) {
    const int err = errno;
    if (err == ENOTDIR && isExistingNonDirectory(path)) return fail(ERROR_DIRECTORY);
    win32::setLastErrorFromErrno(err, path);
    return FALSE;
  }
  return TRUE;
}
