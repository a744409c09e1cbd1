// Win32 file information from statx (see internal/fileinfo.h).
#include <internal/fileinfo.h>
#include <internal/filetime.h>
#include <winbase.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

namespace win32 {
namespace {

FILETIME fromStatx(const struct statx_timestamp& t) { return fileTimeFromUnix(t.tv_sec, t.tv_nsec); }

void fill(const struct statx& st, std::string_view name, FileInfo& info) {
  info.attributes = attributesFromMode(st.stx_mode, name);
  info.size = S_ISDIR(st.stx_mode) ? 0 : st.stx_size;
  info.lastAccess = fromStatx(st.stx_atime);
  info.lastWrite = fromStatx(st.stx_mtime);
  if (st.stx_mask & STATX_BTIME) {
    info.creation = fromStatx(st.stx_btime);
  } else {
    // File systems without a birth time: the older of the change and
    // modification times is the best stand-in.
    const auto& older = (st.stx_ctime.tv_sec < st.stx_mtime.tv_sec) ? st.stx_ctime : st.stx_mtime;
    info.creation = fromStatx(older);
  }
}

std::string_view lastComponent(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

constexpr unsigned kMask = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_ATIME | STATX_MTIME | STATX_CTIME | STATX_BTIME;

}  // namespace

bool isReadOnlyMode(uint32_t mode) { return (mode & S_IWUSR) == 0; }

DWORD attributesFromMode(uint32_t mode, std::string_view name) {
  DWORD attributes = 0;
  if (S_ISDIR(mode)) {
    attributes |= FILE_ATTRIBUTE_DIRECTORY;
  } else {
    attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if (isReadOnlyMode(mode)) attributes |= FILE_ATTRIBUTE_READONLY;
  }
  if (name.size() > 1 && name[0] == '.' && name != "..") attributes |= FILE_ATTRIBUTE_HIDDEN;
  return attributes;
}

bool queryFileInfo(const std::string& hostPath, FileInfo& info) {
  struct statx st;
  if (::statx(AT_FDCWD, hostPath.c_str(), 0, kMask, &st) != 0) {
    const int err = errno;
    // A dangling symbolic link still names an entry; describe the link.
    if (err != ENOENT || ::statx(AT_FDCWD, hostPath.c_str(), AT_SYMLINK_NOFOLLOW, kMask, &st) != 0) {
      errno = err;
      return false;
    }
  }
  fill(st, lastComponent(hostPath), info);
  return true;
}

bool queryFileInfo(int fd, std::string_view name, FileInfo& info) {
  struct statx st;
  if (::statx(fd, "", AT_EMPTY_PATH, kMask, &st) != 0) return false;
  fill(st, lastComponent(name), info);
  return true;
}

}  // namespace win32
