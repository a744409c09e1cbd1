#include "mailstore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace mapi32 {
namespace {

constexpr const char* kInfoSeparator = ":2,";

// The unique name of a new message: seconds, microseconds, process and a
// counter, then the host with the characters a maildir name may not hold
// replaced. Kept short, so that an id fits MAPI's 64-byte id buffer.
std::string uniqueName() {
  static std::atomic<unsigned> counter{0};
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now).count();
  const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(now).count() % 1000000;
  char host[64] = "";
  if (gethostname(host, sizeof host - 1) != 0) std::snprintf(host, sizeof host, "localhost");
  std::string hostName(host);
  hostName = hostName.substr(0, 20);
  for (char& c : hostName) {
    if (c == '/' || c == ':' || c == '.') c = '_';
  }
  return std::to_string(seconds) + ".M" + std::to_string(micros) + "P" + std::to_string(getpid()) + "Q" +
         std::to_string(counter++) + "." + hostName;
}

std::string idOf(const std::string& fileName) {
  const auto info = fileName.find(kInfoSeparator);
  return info == std::string::npos ? fileName : fileName.substr(0, info);
}

bool hasSeenFlag(const std::string& fileName) {
  const auto info = fileName.find(kInfoSeparator);
  return info != std::string::npos && fileName.find('S', info + 3) != std::string::npos;
}

// Writes and flushes the file; false on any failure, with nothing left.
bool writeWhole(const std::string& path, const std::string& text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  const bool ok = done == text.size() && ::fsync(fd) == 0;
  ::close(fd);
  if (!ok) ::unlink(path.c_str());
  return ok;
}

}  // namespace

std::string MailStore::defaultRoot() {
  if (const char* dir = std::getenv("KY_MAILDIR"); dir && *dir) return dir;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) return std::string(config) + "/ky721/Mail";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.config/ky721/Mail";
}

std::string MailStore::folderPath(Folder folder) const {
  return folder == Folder::Inbox ? root_ : root_ + "/.Outbox";
}

bool MailStore::open() const {
  std::error_code error;
  for (Folder folder : {Folder::Inbox, Folder::Outbox}) {
    for (const char* sub : {"tmp", "new", "cur"}) {
      const fs::path dir = fs::path(folderPath(folder)) / sub;
      fs::create_directories(dir, error);
      if (error || ::access(dir.c_str(), W_OK) != 0) return false;
    }
  }
  return true;
}

std::optional<std::string> MailStore::deliver(Folder folder, const std::string& text, bool seen) const {
  const std::string name = uniqueName();
  const std::string base = folderPath(folder);
  const std::string temporary = base + "/tmp/" + name;
  if (!writeWhole(temporary, text)) return std::nullopt;
  const std::string final = seen ? base + "/cur/" + name + kInfoSeparator + "S" : base + "/new/" + name;
  if (::rename(temporary.c_str(), final.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return std::nullopt;
  }
  return name;
}

std::vector<StoredMessage> MailStore::list(Folder folder) const {
  std::vector<StoredMessage> messages;
  for (const char* sub : {"new", "cur"}) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::path(folderPath(folder)) / sub, error)) {
      const std::string fileName = entry.path().filename().string();
      if (fileName.empty() || fileName[0] == '.' || !entry.is_regular_file(error)) continue;
      struct stat info {};
      if (::stat(entry.path().c_str(), &info) != 0) continue;
      messages.push_back({idOf(fileName), entry.path().string(), hasSeenFlag(fileName), info.st_mtime});
    }
  }
  std::sort(messages.begin(), messages.end(), [](const StoredMessage& a, const StoredMessage& b) {
    return a.delivered != b.delivered ? a.delivered < b.delivered : a.id < b.id;
  });
  return messages;
}

std::optional<StoredMessage> MailStore::find(Folder folder, const std::string& id) const {
  if (id.empty()) return std::nullopt;
  for (StoredMessage& message : list(folder)) {
    if (message.id == id) return message;
  }
  return std::nullopt;
}

bool MailStore::markSeen(const StoredMessage& message) const {
  if (message.seen) return true;
  const fs::path path(message.path);
  const fs::path folder = path.parent_path().parent_path();
  std::string fileName = path.filename().string();
  const auto info = fileName.find(kInfoSeparator);
  std::string flags = info == std::string::npos ? "" : fileName.substr(info + 3);
  flags += 'S';
  std::sort(flags.begin(), flags.end());  // maildir keeps flags in ASCII order
  const fs::path target = folder / "cur" / (message.id + kInfoSeparator + flags);
  return ::rename(message.path.c_str(), target.c_str()) == 0;
}

bool MailStore::replace(const StoredMessage& message, const std::string& text) const {
  const fs::path path(message.path);
  const std::string temporary = (path.parent_path().parent_path() / "tmp" / uniqueName()).string();
  if (!writeWhole(temporary, text)) return false;
  if (::rename(temporary.c_str(), message.path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool MailStore::remove(const StoredMessage& message) const { return ::unlink(message.path.c_str()) == 0; }

std::optional<std::string> readFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return text.str();
}

}  // namespace mapi32
