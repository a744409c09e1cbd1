// Search paths for files named without a directory: LoadLibraryA's library
// search, SearchPathA, SetDllDirectoryA / GetDllDirectoryA.
#include <internal/answerbuffer.h>
#include <internal/hostpath.h>
#include <internal/modulesearch.h>
#include <winbase.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>

namespace win32 {
namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool isAbsolute(std::string_view name) {
  return (!name.empty() && isSeparator(name[0])) || (name.size() >= 2 && name[1] == ':');
}

std::string currentDirectory() {
  char buffer[PATH_MAX];
  return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

// The host form of a directory named in Windows spelling, made absolute.
// Letter case is left to findInDirectory, which resolves the directory and
// the name together only when the exact spelling is missing.
std::string absoluteDirectory(std::string_view directory) {
  std::string host = toHostPath(directory);
  if (host.empty()) return currentDirectory();
  if (host[0] != '/') host = currentDirectory() + "/" + host;
  while (host.size() > 1 && host.back() == '/') host.pop_back();
  return host;
}

// Splits `list` at `separator`, skipping empty items.
std::vector<std::string> splitList(std::string_view list, char separator) {
  std::vector<std::string> items;
  while (!list.empty()) {
    const size_t end = list.find(separator);
    if (end != 0) items.emplace_back(list.substr(0, end));
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  return items;
}

// The host PATH, whose items are separated by ':' as the host writes them.
std::vector<std::string> pathDirectories() {
  const char* path = std::getenv("PATH");
  return path ? splitList(path, ':') : std::vector<std::string>{};
}

// SetDllDirectoryA's state: nothing set (the default order), or a directory,
// possibly empty, that also takes the current directory out of the search.
struct DllDirectory {
  std::mutex lock;
  bool set = false;
  std::string directory;  // as given, Windows spelling
};
DllDirectory& dllDirectory() {
  static auto* state = new DllDirectory;  // never destroyed: usable from static destructors
  return *state;
}

std::optional<std::string> findAlong(const std::vector<std::string>& directories, std::string_view name,
                                     bool regularOnly) {
  for (const std::string& directory : directories) {
    if (auto found = findInDirectory(absoluteDirectory(directory), name, regularOnly)) return found;
  }
  return std::nullopt;
}

bool hasExtension(std::string_view name) { return fileNamePart(name).find('.') != std::string_view::npos; }

}  // namespace

const std::string& programPath() {
  static const std::string path = [] {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
  }();
  return path;
}

std::string programDirectory() {
  const std::string& path = programPath();
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

bool isExplicitPath(std::string_view name) {
  if (isAbsolute(name)) return true;
  for (std::string_view prefix : {"./", ".\\", "../", "..\\"}) {
    if (name.substr(0, prefix.size()) == prefix) return true;
  }
  return false;
}

bool hasDirectory(std::string_view name) {
  return name.find_first_of("\\/") != std::string_view::npos || (name.size() >= 2 && name[1] == ':');
}

std::string_view fileNamePart(std::string_view path) {
  const size_t slash = path.find_last_of("\\/");
  std::string_view part = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (slash == std::string_view::npos && part.size() >= 2 && part[1] == ':') part.remove_prefix(2);
  return part;
}

std::string libraryFileName(std::string_view name) {
  std::string file(name);
  if (!file.empty() && file.back() == '.') {
    file.pop_back();
  } else if (!hasExtension(file)) {
    file += ".DLL";
  }
  return file;
}

std::optional<std::string> findExistingFile(std::string_view path, bool regularOnly) {
  // The name as written costs one system call; only a missing one is looked
  // for in other letter cases, directory by directory.
  std::string candidate = toHostPath(path);
  struct stat st;
  if (::stat(candidate.c_str(), &st) != 0) {
    candidate = resolveHostPath(path);
    if (::stat(candidate.c_str(), &st) != 0) return std::nullopt;
  }
  if (regularOnly && !S_ISREG(st.st_mode)) return std::nullopt;
  return candidate;
}

std::optional<std::string> findInDirectory(const std::string& directory, std::string_view name, bool regularOnly) {
  if (name.empty()) return std::nullopt;
  return findExistingFile(directory + "/" + std::string(name), regularOnly);
}

std::optional<std::string> findLibraryFile(std::string_view fileName) {
  std::vector<std::string> directories{programDirectory()};
  bool withCurrentDirectory = true;
  {
    DllDirectory& dll = dllDirectory();
    std::lock_guard guard(dll.lock);
    if (dll.set) {
      withCurrentDirectory = false;
      if (!dll.directory.empty()) directories.push_back(dll.directory);
    }
  }
  if (withCurrentDirectory) directories.push_back(currentDirectory());
  for (std::string& directory : pathDirectories()) directories.push_back(std::move(directory));
  return findAlong(directories, fileName, true);
}

}  // namespace win32

using namespace win32;

extern "C" DWORD WINAPI SearchPathA(LPCSTR lpPath, LPCSTR lpFileName, LPCSTR lpExtension, DWORD nBufferLength,
                                    LPSTR lpBuffer, LPSTR* lpFilePart) {
  if (!lpFileName || !*lpFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string name(lpFileName);
  if (lpExtension && *lpExtension && !hasExtension(name)) name += lpExtension;

  std::optional<std::string> found;
  if (isExplicitPath(name)) {
    std::string host = resolveHostPath(name);
    if (!host.empty() && host[0] != '/') host = currentDirectory() + "/" + host;
    host = std::filesystem::path(host).lexically_normal().string();  // a full path, as GetFullPathName gives
    struct stat st;
    if (::stat(host.c_str(), &st) == 0) found = host;
  } else if (lpPath) {
    found = findAlong(splitList(lpPath, ';'), name, false);
  } else {
    std::vector<std::string> directories{programDirectory(), currentDirectory()};
    for (std::string& directory : pathDirectories()) directories.push_back(std::move(directory));
    found = findAlong(directories, name, false);
  }
  if (!found) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  const DWORD result = win32::answerString(*found, lpBuffer, nBufferLength);
  if (result == found->size() && lpFilePart) *lpFilePart = lpBuffer + (found->size() - fileNamePart(*found).size());
  return result;
}

extern "C" BOOL WINAPI SetDllDirectoryA(LPCSTR lpPathName) {
  DllDirectory& dll = dllDirectory();
  std::lock_guard guard(dll.lock);
  dll.set = lpPathName != nullptr;
  dll.directory = lpPathName ? lpPathName : "";
  return TRUE;
}

extern "C" DWORD WINAPI GetDllDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
  std::string directory;
  {
    DllDirectory& dll = dllDirectory();
    std::lock_guard guard(dll.lock);
    directory = dll.directory;
  }
  return win32::answerString(directory, lpBuffer, nBufferLength);
}
