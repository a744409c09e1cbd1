// The cache of parsed INI files and their atomic writes (see profilecache.h).
#include "profilecache.h"

#include <internal/hosterror.h>
#include <internal/hostpath.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <unordered_map>

namespace win32::profile {
namespace {

class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  int get() const { return fd_; }
  // Closes now, answering 0 or the errno of close (a delayed write error).
  int close() {
    const int fd = fd_;
    fd_ = -1;
    return fd >= 0 && ::close(fd) != 0 ? errno : 0;
  }

 private:
  int fd_;
};

struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  int64_t mtimeNs = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const struct stat& st) {
  return {st.st_dev, st.st_ino, st.st_size,
          static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

int64_t nowNs() {
  timespec ts{};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

// Whether a write after `checkedAtNs` could have left the stamp unchanged:
// file times come from a clock that ticks every few ms (50 ms is a safe
// margin), or in whole seconds where the file system keeps no fraction.
bool isRacy(const FileStamp& stamp, int64_t checkedAtNs) {
  const int64_t window = stamp.mtimeNs % 1'000'000'000 == 0 ? 2'000'000'000 : 50'000'000;
  return stamp.mtimeNs >= checkedAtNs - window;
}

// What opening something other than a regular file as a profile reports:
// a directory EISDIR, a device or FIFO (endless or blocking, never an INI
// file) EACCES; both are ERROR_ACCESS_DENIED.
int nonFileErrno(const struct stat& st) { return S_ISDIR(st.st_mode) ? EISDIR : EACCES; }

// Reads the whole file. The stamp is taken before the bytes: a change while
// reading then shows as a new stamp or falls into the racy window.
bool readFile(const std::string& path, std::string& bytes, FileStamp& stamp, int& err) {
  // O_NONBLOCK: a FIFO named as an INI file must not hang the open.
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat st{};
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) {
    err = errno;
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    err = nonFileErrno(st);
    return false;
  }
  stamp = stampOf(st);
  // Read straight into the string; it grows if the file grew meanwhile.
  bytes.resize(static_cast<size_t>(st.st_size) + 1);
  size_t used = 0;
  for (;;) {
    if (used == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t got = ::read(fd.get(), bytes.data() + used, bytes.size() - used);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      err = errno;
      return false;
    }
    used += static_cast<size_t>(got);
  }
  bytes.resize(used);
  return true;
}

int writeAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<size_t>(put);
  }
  return ::fsync(fd) == 0 ? 0 : errno;
}

// Writes `bytes` over the file itself: only where no file can be created
// beside it (a directory we may not write holding a file we may).
int writeInPlace(const std::string& target, const std::string& bytes, FileStamp& stamp) {
  UniqueFd fd(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
  if (fd.get() < 0) return errno;
  if (int err = writeAll(fd.get(), bytes)) return err;
  struct stat st{};
  if (::fstat(fd.get(), &st) != 0) return errno;
  stamp = stampOf(st);
  return fd.close();
}

// The file a write replaces: the target of a symbolic link, so that the
// rename replaces the file and keeps the link.
std::string writeTarget(const std::string& path) {
  struct stat lst{};
  if (::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
      std::string target(real);
      std::free(real);
      return target;
    }
  }
  return path;
}

// Writes `bytes` to a new file beside `path` and renames it over `path`.
// Answers 0 or the errno of the failing step.
int writeFileAtomically(const std::string& path, const std::string& bytes, FileStamp& stamp) {
  static std::atomic<unsigned> serial{0};
  const std::string target = writeTarget(path);
  struct stat old{};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists) {
    // Never rename over a directory or a device node.
    if (!S_ISREG(old.st_mode)) return nonFileErrno(old);
    // A read-only file must stay so, although its directory would let a
    // rename replace it.
    if (::access(target.c_str(), W_OK) != 0) return errno;
  }

  const size_t slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temp;
  int fdNumber = -1;
  for (int attempt = 0; attempt < 100 && fdNumber < 0; ++attempt) {
    temp = dir + "." + base + ".ky" + std::to_string(::getpid()) + "." + std::to_string(serial++);
    // 0666 for a new file lets the umask decide, as for any created file.
    fdNumber = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fdNumber < 0 && errno != EEXIST) break;
  }
  if (fdNumber < 0) {
    const int err = errno;
    if (exists && (err == EACCES || err == EPERM)) return writeInPlace(target, bytes, stamp);
    return err;
  }
  UniqueFd fd(fdNumber);
  int err = 0;
  if (exists) {
    if (::fchmod(fd.get(), old.st_mode & 07777) != 0) err = errno;
    // Keeping the owner only works for root; a user's file stays the user's anyway.
    if (!err && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
      [[maybe_unused]] int ignored = ::fchown(fd.get(), old.st_uid, old.st_gid);
    }
  }
  if (!err) err = writeAll(fd.get(), bytes);
  struct stat now{};
  if (!err && ::fstat(fd.get(), &now) != 0) err = errno;
  if (!err) err = fd.close();
  if (!err && ::rename(temp.c_str(), target.c_str()) != 0) err = errno;
  if (err) {
    ::unlink(temp.c_str());
    return err;
  }
  stamp = stampOf(now);
  return 0;
}

// Serialises the writers of profile files of one directory across
// processes (flock on the directory), so that a read-modify-write of one
// process never loses the change another process made in between. Readers
// need no lock: a write replaces the file whole, with a new inode. Where no
// lock can be had (an unreadable directory, a file system without flock) the
// write goes ahead without it.
class DirectoryLock {
 public:
  explicit DirectoryLock(const std::string& filePath)
      : fd_(openDirectory(filePath)) {
    if (fd_.get() >= 0) {
      while (::flock(fd_.get(), LOCK_EX) != 0 && errno == EINTR) {
      }
    }
  }
  // Closing the descriptor releases the lock.

 private:
  static int openDirectory(const std::string& filePath) {
    const size_t slash = filePath.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string(".")
                            : slash == 0               ? std::string("/")
                                                       : filePath.substr(0, slash);
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) fd = ::open(resolveHostPath(dir).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd;
  }
  UniqueFd fd_;
};

struct Entry {
  std::shared_ptr<const ProfileFile> file;
  FileStamp stamp;
  bool racy = true;
};

class ProfileCache {
 public:
  std::shared_ptr<const ProfileFile> load(const std::string& spelling, DWORD& error) {
    std::lock_guard lock(mutex_);
    std::string path;
    return loadLocked(spelling, path, error);
  }

  bool update(const std::string& spelling, const ProfileEdit& edit, DWORD& error) {
    std::lock_guard lock(mutex_);
    DirectoryLock writers(spelling);
    std::string path;
    std::shared_ptr<const ProfileFile> current = loadLocked(spelling, path, error);
    if (!current) {
      if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return false;
      current = std::make_shared<const ProfileFile>(std::string());  // the write creates it
    }
    std::optional<std::string> bytes = edit(*current);
    if (!bytes) return true;
    FileStamp stamp;
    if (int err = writeFileAtomically(path, *bytes, stamp)) {
      error = errorFromErrno(err, path);
      return false;
    }
    entries_[path] = Entry{std::make_shared<const ProfileFile>(std::move(*bytes)), stamp, true};
    return true;
  }

  void forget(const std::string& spelling) {
    std::lock_guard lock(mutex_);
    entries_.erase(spelling);
    entries_.erase(resolveHostPath(spelling));
  }

 private:
  // The file `spelling` names; `path` is set to the name that was found (or
  // that a write creates). The exact spelling costs one stat; the lookup
  // ignoring case runs only when it is missing.
  std::shared_ptr<const ProfileFile> loadLocked(const std::string& spelling, std::string& path, DWORD& error) {
    const int64_t checkedAt = nowNs();
    struct stat st{};
    path = spelling;
    if (::stat(path.c_str(), &st) != 0) {
      int err = errno;
      if (err == ENOENT || err == ENOTDIR) {
        path = resolveHostPath(spelling);
        if (path != spelling && ::stat(path.c_str(), &st) == 0) err = 0;
        else if (path != spelling) err = errno;
      }
      if (err) {
        error = errorFromErrno(err, path);
        entries_.erase(path);
        return nullptr;
      }
    }
    if (!S_ISREG(st.st_mode)) {
      error = errorFromErrno(nonFileErrno(st), path);
      entries_.erase(path);
      return nullptr;
    }
    auto it = entries_.find(path);
    if (it != entries_.end() && it->second.stamp == stampOf(st) && !it->second.racy) {
      return it->second.file;
    }
    std::string bytes;
    FileStamp stamp;
    int err = 0;
    if (!readFile(path, bytes, stamp, err)) {
      error = errorFromErrno(err, path);
      entries_.erase(path);
      return nullptr;
    }
    Entry& entry = entries_[path];
    // A racy entry whose bytes are still the same needs no new parse.
    if (!entry.file || entry.stamp != stamp || entry.file->text() != bytes) {
      entry.file = std::make_shared<const ProfileFile>(std::move(bytes));
    }
    entry.stamp = stamp;
    entry.racy = isRacy(stamp, checkedAt);
    return entry.file;
  }

  std::mutex mutex_;
  std::unordered_map<std::string, Entry> entries_;
};

ProfileCache& cache() {
  static ProfileCache instance;
  return instance;
}

}  // namespace

std::shared_ptr<const ProfileFile> loadProfile(const std::string& hostPath, DWORD& error) {
  return cache().load(hostPath, error);
}

bool updateProfile(const std::string& hostPath, const ProfileEdit& edit, DWORD& error) {
  return cache().update(hostPath, edit, error);
}

void forgetProfile(const std::string& hostPath) { cache().forget(hostPath); }

}  // namespace win32::profile
