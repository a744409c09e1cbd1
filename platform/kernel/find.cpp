// FindFirstFileA / FindNextFileA / FindClose over a snapshot of a directory.
#include <internal/fileinfo.h>
#include <internal/hosterror.h>
#include <internal/hostpath.h>
#include <internal/kobject.h>
#include <internal/wildcard.h>
#include <winbase.h>

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// The names matched when the search began; their details are read as each
// one is handed out, and a name that has gone by then is passed over.
class FindObject : public win32::KernelObject {
 public:
  FindObject(std::string directory, std::vector<std::string> names)
      : directory_(std::move(directory)), names_(std::move(names)) {}

  // Fills `data` with the next entry; false when none is left.
  bool next(WIN32_FIND_DATAA& data) {
    while (position_ < names_.size()) {
      const std::string& name = names_[position_++];
      win32::FileInfo info;
      if (!win32::queryFileInfo(win32::joinHostPath(directory_, name), info)) continue;
      std::memset(&data, 0, sizeof data);
      data.dwFileAttributes = info.attributes;
      data.ftCreationTime = info.creation;
      data.ftLastAccessTime = info.lastAccess;
      data.ftLastWriteTime = info.lastWrite;
      data.nFileSizeHigh = static_cast<DWORD>(info.size >> 32);
      data.nFileSizeLow = static_cast<DWORD>(info.size);
      name.copy(data.cFileName, sizeof data.cFileName - 1);
      return true;
    }
    return false;
  }

 private:
  std::string directory_;
  std::vector<std::string> names_;
  size_t position_ = 0;
};

// Case-insensitive order, "." and ".." first (NTFS lists them that way).
bool listedBefore(const std::string& a, const std::string& b) {
  const bool aDots = a == "." || a == "..", bDots = b == "." || b == "..";
  if (aDots != bDots) return aDots;
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto ca = win32::foldCase(static_cast<unsigned char>(a[i]));
    const auto cb = win32::foldCase(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb;
  }
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

HANDLE failFind(DWORD code) {
  SetLastError(code);
  return INVALID_HANDLE_VALUE;
}

}  // namespace

extern "C" HANDLE WINAPI FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData) {
  if (!lpFindFileData) return failFind(ERROR_INVALID_PARAMETER);
  if (!lpFileName || !*lpFileName) return failFind(ERROR_PATH_NOT_FOUND);
  const std::string host = win32::toHostPath(lpFileName);
  const size_t slash = host.rfind('/');
  const std::string pattern = slash == std::string::npos ? host : host.substr(slash + 1);
  std::string directory = slash == std::string::npos ? std::string(".") : host.substr(0, slash == 0 ? 1 : slash);
  if (win32::hasWildcards(directory)) return failFind(ERROR_INVALID_NAME);
  if (pattern.empty()) return failFind(ERROR_FILE_NOT_FOUND);
  directory = win32::resolveHostPath(directory);

  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
  if (!dir) {
    const int err = errno;
    return failFind(err == ENOENT || err == ENOTDIR ? static_cast<DWORD>(ERROR_PATH_NOT_FOUND)
                                                    : win32::errorFromErrno(err));
  }
  std::vector<std::string> names;
  if (!win32::isDriveRoot(directory)) {
    for (const char* dots : {".", ".."}) {
      if (win32::matchesWildcard(pattern, dots)) names.emplace_back(dots);
    }
  }
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == ".." || name.size() >= MAX_PATH) continue;
    if (win32::matchesWildcard(pattern, name)) names.emplace_back(name);
  }
  std::sort(names.begin(), names.end(), listedBefore);

  auto find = std::make_shared<FindObject>(directory, std::move(names));
  if (!find->next(*lpFindFileData)) return failFind(ERROR_FILE_NOT_FOUND);
  HANDLE h = win32::insertHandle(find);
  return h ? h : INVALID_HANDLE_VALUE;
}

extern "C" BOOL WINAPI FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData) {
  auto find = win32::lookupHandleAs<FindObject>(hFindFile);
  if (!find) return FALSE;
  if (!lpFindFileData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!find->next(*lpFindFileData)) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL WINAPI FindClose(HANDLE hFindFile) {
  if (!win32::lookupHandleAs<FindObject>(hFindFile)) return FALSE;
  return win32::removeHandle(hFindFile) ? TRUE : FALSE;
}
