// Windows path spellings onto the Linux file system (see internal/hostpath.h).
#include <internal/hostpath.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

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

// The names in one directory, as the case-insensitive look-up last read
// them, and the directory's modification time then (a name made, removed
// or renamed in it changes that time).
struct Listing {
  timespec mtime{};
  std::vector<std::string> names;
};

bool sameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

// A directory changed so recently that another change within the same
// clock tick would leave its time as it is: such a listing is not kept.
bool changedJustNow(const timespec& mtime) {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  const long long ago = (now.tv_sec - mtime.tv_sec) * 1000000000LL + (now.tv_nsec - mtime.tv_nsec);
  return ago < 50'000'000LL;  // 50 ms: several ticks of the coarse file clock
}

// Name of an entry of `dir` equal to `name` ignoring case, or empty. A
// program looks the same missing names up again and again (INI files,
// libraries along PATH): each directory is read once while it is unchanged.
std::string findIgnoringCase(const std::string& dir, std::string_view name) {
  const std::string path = dir.empty() ? std::string(".") : dir;
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
  static std::mutex mutex;
  static auto* listings = new std::unordered_map<std::string, Listing>;
  std::lock_guard lock(mutex);
  // "." follows the current directory: it is keyed by what it is now.
  const std::string key = path == "." ? hostCurrentDirectory() : path;
  auto it = listings->find(key);
  if (it == listings->end() || !sameTime(it->second.mtime, st.st_mtim)) {
    Listing fresh{st.st_mtim, {}};
    std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(path.c_str()), ::closedir);
    if (!d) return {};
    while (dirent* e = ::readdir(d.get())) fresh.names.emplace_back(e->d_name);
    if (changedJustNow(st.st_mtim) || key.empty()) {
      if (it != listings->end()) listings->erase(it);
      for (const std::string& entry : fresh.names)
        if (equalsIgnoringCase(entry, name)) return entry;
      return {};
    }
    if (listings->size() > 256) listings->clear();  // a walk over many directories keeps no more
    it = listings->insert_or_assign(key, std::move(fresh)).first;
  }
  for (const std::string& entry : it->second.names)
    if (equalsIgnoringCase(entry, name)) return entry;
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
