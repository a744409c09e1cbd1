// Drives: the letters that exist, their kind and their free space.
// C: is the file system root; other letters exist when KY_DRIVE_MAP maps
// them (see internal/hostpath.h). All are fixed disks.
#include <internal/hosterror.h>
#include <internal/hostpath.h>
#include <winbase.h>

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cctype>
#include <cerrno>
#include <string>

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

extern "C" BOOL WINAPI GetDiskFreeSpaceExA(LPCSTR lpDirectoryName, PULARGE_INTEGER lpFreeBytesAvailableToCaller,
                                           PULARGE_INTEGER lpTotalNumberOfBytes,
                                           PULARGE_INTEGER lpTotalNumberOfFreeBytes) {
  const std::string path = lpDirectoryName && *lpDirectoryName ? win32::resolveHostPath(lpDirectoryName) : ".";
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    SetLastError(errno == ENOENT || errno == ENOTDIR ? static_cast<DWORD>(ERROR_PATH_NOT_FOUND)
                                                     : win32::errorFromErrno(errno));
    return FALSE;
  }
  if (!S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_DIRECTORY);
    return FALSE;
  }
  struct statvfs vfs;
  if (::statvfs(path.c_str(), &vfs) != 0) {
    win32::setLastErrorFromErrno(errno);
    return FALSE;
  }
  const uint64_t unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
  if (lpFreeBytesAvailableToCaller) lpFreeBytesAvailableToCaller->QuadPart = uint64_t(vfs.f_bavail) * unit;
  if (lpTotalNumberOfBytes) lpTotalNumberOfBytes->QuadPart = uint64_t(vfs.f_blocks) * unit;
  if (lpTotalNumberOfFreeBytes) lpTotalNumberOfFreeBytes->QuadPart = uint64_t(vfs.f_bfree) * unit;
  return TRUE;
}

extern "C" DWORD WINAPI GetLogicalDrives(void) {
  DWORD drives = 0;
  for (int i = 0; i < 26; ++i) {
    if (win32::driveExists(static_cast<char>('A' + i))) drives |= 1u << i;
  }
  return drives;
}

extern "C" UINT WINAPI GetDriveTypeA(LPCSTR lpRootPathName) {
  // No name is the current drive (C:); "\" is its root.
  if (!lpRootPathName) return DRIVE_FIXED;
  const std::string_view root(lpRootPathName);
  if (root.size() == 1 && isSeparator(root[0])) return DRIVE_FIXED;
  const bool driveRoot = root.size() >= 2 && root[1] == ':' && std::isalpha(static_cast<unsigned char>(root[0])) &&
                         (root.size() == 2 || (root.size() == 3 && isSeparator(root[2])));
  if (driveRoot && win32::driveExists(root[0])) return DRIVE_FIXED;
  return DRIVE_NO_ROOT_DIR;
}
