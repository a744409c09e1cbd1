// _tempnam: a name for a new file, in the first directory that exists of
// TMP, the caller's directory and the layer's temporary directory (the
// current directory as the last resort), starting with the caller's prefix.
#include <mscrt.h>
#include <unistd.h>
#include <windows.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool isDirectory(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string environmentValue(const char* name) {
  char value[MAX_PATH];
  const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

std::string chooseDirectory(const char* dir) {
  if (std::string tmp = environmentValue("TMP"); !tmp.empty() && isDirectory(tmp.c_str())) return tmp;
  if (dir && *dir && isDirectory(dir)) return dir;
  char temp[MAX_PATH];
  const DWORD n = GetTempPathA(sizeof temp, temp);
  if (n > 0 && n < sizeof temp && isDirectory(temp)) return std::string(temp, n);
  return ".";
}

}  // namespace

extern "C" char* _tempnam(const char* dir, const char* prefix) {
  // Numbers start from the process id so that two processes rarely race
  // for a name; each candidate is checked against the directory.
  static std::atomic<unsigned> counter{static_cast<unsigned>(::getpid()) * 1000u};
  std::string base = chooseDirectory(dir);
  if (base.back() != '/' && base.back() != '\\') base += '/';
  if (prefix) base += prefix;
  for (int attempt = 0; attempt < 100000; ++attempt) {
    const std::string name = base + std::to_string(counter.fetch_add(1) % 100000000u);
    if (GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    char* copy = static_cast<char*>(std::malloc(name.size() + 1));
    if (!copy) {
      errno = ENOMEM;
      return nullptr;
    }
    std::memcpy(copy, name.c_str(), name.size() + 1);
    return copy;
  }
  errno = EEXIST;
  return nullptr;
}
