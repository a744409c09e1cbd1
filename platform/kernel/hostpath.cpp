// Windows path spellings onto the Linux file system (see internal/hostpath.h).
#include <internal/hostpath.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>

namespace win32 {
namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool hasDrivePrefix(std::string_view p) {
  return p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0]));
}

bool exists(const std::string& p) {
  struct stat st;
  return ::lstat(p.c_str(), &st) == 0;
}

// Root of drive `letter` as KY_DRIVE_MAP gives it ("" for "/"), or nothing
// when the map does not name the drive.
std::optional<std::string> mappedRoot(char letter) {
  const char* map = std::getenv("KY_DRIVE_MAP");
  if (!map) return std::nullopt;
  std::string_view rest(map);
  while (!rest.empty()) {
    size_t end = rest.find(';');
    std::string_view entry = rest.substr(0, end);
    if (entry.size() >= 2 && entry[1] == '=' && std::toupper(static_cast<unsigned char>(entry[0])) == letter) {
      std::string root(entry.substr(2));
      while (root.size() > 1 && root.back() == '/') root.pop_back();
      return root == "/" ? std::string() : root;
    }
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return std::nullopt;
}

// Name of an entry of `dir` equal to `name` ignoring case, or empty.
std::string findIgnoringCase(const std::string& dir, std::string_view name) {
  std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.empty() ? "." : dir.c_str()), ::closedir);
  if (!d) return {};
  while (dirent* e = ::readdir(d.get())) {
    if (equalsIgnoringCase(e->d_name, name)) return e->d_name;
  }
  return {};
}

}  // namespace

unsigned char foldCase(unsigned char c) {
  // Code page 1252 upper-case letters À..Þ (but not ×) fold like ASCII.
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  return c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (foldCase(static_cast<unsigned char>(a[i])) != foldCase(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

std::string driveRoot(char drive) {
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(drive)));
  return mappedRoot(letter).value_or(std::string());  // unmapped: the file system root
}

bool driveExists(char drive) {
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(drive)));
  if (letter < 'A' || letter > 'Z') return false;
  return letter == 'C' || mappedRoot(letter).has_value();
}

bool isDriveRoot(std::string_view hostDir) {
  while (hostDir.size() > 1 && hostDir.back() == '/') hostDir.remove_suffix(1);
  if (hostDir == "/" || hostDir.empty()) return hostDir == "/";
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    auto root = mappedRoot(letter);
    if (root && !root->empty() && *root == hostDir) return true;
  }
  return false;
}

std::string hostCurrentDirectory() {
  std::string buffer(256, '\0');
  for (;;) {
    if (::getcwd(buffer.data(), buffer.size())) {
      buffer.resize(std::char_traits<char>::length(buffer.c_str()));
      return buffer;
    }
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::string toHostPath(std::string_view p) {
  std::string out;
  out.reserve(p.size() + 8);
  if (hasDrivePrefix(p)) {
    const char drive = p[0];
    p.remove_prefix(2);
    const bool currentDrive = std::toupper(static_cast<unsigned char>(drive)) == 'C';
    if (!p.empty() && !isSeparator(p[0]) && currentDrive) {
      // "C:name" is relative to the current directory of the current drive.
    } else {
      out = driveRoot(drive);
      if (p.empty() || !isSeparator(p[0])) out += '/';
    }
  }
  for (char c : p) out += isSeparator(c) ? '/' : c;
  return out;
}

std::string resolveHostPath(std::string_view windowsPath) {
  std::string host = toHostPath(windowsPath);
  if (host.empty() || exists(host)) return host;

  // Walk the components, replacing each missing one by a case variant.
  std::string resolved;
  size_t pos = 0;
  if (host[0] == '/') {
    resolved = "/";
    pos = 1;
  }
  while (pos <= host.size()) {
    size_t end = host.find('/', pos);
    if (end == std::string::npos) end = host.size();
    std::string_view part(host.data() + pos, end - pos);
    if (!part.empty()) {
      std::string candidate = resolved + std::string(part);
      if (!exists(candidate)) {
        std::string dir = resolved.empty() ? std::string(".") : resolved;
        std::string match = findIgnoringCase(dir, part);
        // Keep the resolved prefix and the rest as spelled, so that a create
        // lands in the existing directory of another case.
        if (match.empty()) return resolved + host.substr(pos);
        candidate = resolved + match;
      }
      resolved = std::move(candidate);
      if (end < host.size()) resolved += '/';
    } else if (end < host.size() && pos != end) {
      resolved += '/';
    }
    pos = end + 1;
  }
  return resolved;
}

}  // namespace win32
