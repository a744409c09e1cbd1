// Named shared memory segments with Windows' lifetime of named objects.
#include <internal/sharedsegment.h>
#include <winbase.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <chrono>
#include <thread>

namespace win32 {
namespace {

constexpr size_t kLongestShmName = 255;  // NAME_MAX of the shm file system
constexpr int kOpenAttempts = 200;

// "/ky.<uid>.<kind>.<name>" with '/' and '%' escaped: names are per user,
// as Windows names are per session. Windows allows names of up to MAX_PATH
// characters, more than a shm name holds: a longer one keeps its head and
// ends in a hash of the whole name.
std::string shmName(const char* kind, const std::string& name) {
  std::string path = "/ky." + std::to_string(::getuid()) + "." + kind + ".";
  for (char c : name) {
    if (c == '/')
      path += "%2F";
    else if (c == '%')
      path += "%25";
    else
      path += c;
  }
  if (path.size() <= kLongestShmName) return path;
  uint64_t hash = 14695981039346656037ull;  // FNV-1a, 64 bits
  for (unsigned char c : name) hash = (hash ^ c) * 1099511628211ull;
  char tail[20];
  std::snprintf(tail, sizeof tail, "#%016llx", static_cast<unsigned long long>(hash));
  return path.substr(0, kLongestShmName - 17) + tail;
}

bool lockRange(int fd, short type, bool wait) {
  struct flock lock = {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 1;
  for (;;) {
    if (::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) == 0) return true;
    if (errno != EINTR) return false;
  }
}

// True when `path` still names the file open on `fd`.
bool stillLinked(int fd, const std::string& path) {
  struct stat open = {}, named = {};
  if (::fstat(fd, &open) != 0) return false;
  std::string file = "/dev/shm" + path;
  if (::stat(file.c_str(), &named) != 0) return false;
  return open.st_ino == named.st_ino && open.st_dev == named.st_dev;
}

DWORD errorOf(int error) {
  switch (error) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case ENOSPC:
    case ENOMEM:
    case EFBIG: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_INVALID_HANDLE;
  }
}

// The size of a segment another process is creating: it sets the size
// right after creating it, so a zero size is only seen briefly.
size_t settledSize(int fd) {
  for (int tries = 0; tries < 2000; ++tries) {
    struct stat status = {};
    if (::fstat(fd, &status) != 0) return 0;
    if (status.st_size > 0) return static_cast<size_t>(status.st_size);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return 0;
}

}  // namespace

std::unique_ptr<SharedSegment> SharedSegment::open(const char* kind, const std::string& name, size_t createSize,
                                                   bool& created) {
  std::string path = shmName(kind, name);
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    if (createSize > 0) {
      int fd = ::shm_open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
      if (fd >= 0) {
        // Another opener may have taken the fresh file for a stale one and
        // unlinked it before our lock: then start again.
        if (!lockRange(fd, F_RDLCK, true) || !stillLinked(fd, path)) {
          ::close(fd);
          continue;
        }
        if (::ftruncate(fd, static_cast<off_t>(createSize)) != 0) {
          DWORD error = errorOf(errno);
          ::shm_unlink(path.c_str());
          ::close(fd);
          SetLastError(error);
          return nullptr;
        }
        created = true;
        return std::unique_ptr<SharedSegment>(new SharedSegment(fd, path, createSize));
      }
      if (errno != EEXIST) {
        SetLastError(errorOf(errno));
        return nullptr;
      }
    }
    int fd = ::shm_open(path.c_str(), O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == ENOENT && createSize > 0) continue;  // unlinked meanwhile: create it
      SetLastError(errorOf(errno));
      return nullptr;
    }
    if (lockRange(fd, F_WRLCK, false)) {
      // Nobody holds it: every process that used it has died (or its
      // creator is between creating and locking, and will start again).
      if (stillLinked(fd, path)) ::shm_unlink(path.c_str());
      ::close(fd);
      if (createSize == 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
      }
      continue;
    }
    if (!lockRange(fd, F_RDLCK, true) || !stillLinked(fd, path)) {
      ::close(fd);
      continue;
    }
    size_t size = settledSize(fd);
    if (size == 0) {
      ::close(fd);
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    created = false;
    return std::unique_ptr<SharedSegment>(new SharedSegment(fd, path, size));
  }
  SetLastError(ERROR_BUSY);
  return nullptr;
}

SharedSegment::~SharedSegment() {
  if (lockRange(fd_, F_WRLCK, false) && stillLinked(fd_, path_)) ::shm_unlink(path_.c_str());
  ::close(fd_);
}

}  // namespace win32
