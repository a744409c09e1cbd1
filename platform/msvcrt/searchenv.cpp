// _searchenv_s: finds a file in the current directory, then in the
// directories listed by an environment variable.
//
// Windows separates the list with ';'. Linux lists (PATH) use ':', so a ':'
// separates too, except as the drive colon of a piece that starts "X:".
#include <mscrt.h>
#include <windows.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string> splitDirectoryList(std::string_view list) {
  std::vector<std::string> out;
  std::string piece;
  for (size_t i = 0; i <= list.size(); ++i) {
    const char c = i < list.size() ? list[i] : ';';
    const bool driveColon = c == ':' && piece.size() == 1 && std::isalpha(static_cast<unsigned char>(piece[0]));
    if (c == ';' || (c == ':' && !driveColon)) {
      if (!piece.empty()) out.push_back(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  return out;
}

std::string environmentValue(const char* name) {
  const DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
  if (needed == 0) return {};
  std::string value(needed, '\0');
  const DWORD n = GetEnvironmentVariableA(name, value.data(), needed);
  value.resize(n < needed ? n : 0);
  return value;
}

errno_t answer(const std::string& candidate, char* pathname, size_t size) {
  if (!_fullpath(pathname, candidate.c_str(), size)) {
    pathname[0] = '\0';
    return errno = ERANGE;
  }
  return 0;
}

}  // namespace

extern "C" errno_t _searchenv_s(const char* filename, const char* varname, char* pathname, size_t size) {
  if (!pathname || size == 0) return errno = EINVAL;
  pathname[0] = '\0';
  if (!filename || !varname) return errno = EINVAL;
  if (!*filename) return errno = ENOENT;
  if (_access(filename, 0) == 0) return answer(filename, pathname, size);
  for (std::string dir : splitDirectoryList(environmentValue(varname))) {
    if (dir.back() != '/' && dir.back() != '\\') dir += '/';
    const std::string candidate = dir + filename;
    if (_access(candidate.c_str(), 0) == 0) return answer(candidate, pathname, size);
  }
  return errno = ENOENT;
}
