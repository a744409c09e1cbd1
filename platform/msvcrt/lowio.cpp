// Low-level file I/O of the CRT (_open, _read, _write ...) over POSIX file
// descriptors, with Microsoft's visible rules: Windows path spellings
// (resolved as the layer resolves them), text mode unless _O_BINARY (CR LF
// read as LF, LF written as CR LF, Ctrl-Z ends the data read), and
// _O_TEMPORARY files removed on the last _close.
//
// Sharing modes (_SH_DENY*) are accepted and not enforced: Linux has no
// mandatory sharing, and the run-time opens these files deny-none or alone.
#include <fcntl.h>
#include <internal/hostpath.h>
#include <mscrt.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct OpenFile {
  bool text = false;
  std::string deleteOnClose;  // host path of an _O_TEMPORARY file
  bool atEnd = false;         // a Ctrl-Z was read in text mode
};

// Per-process table of the descriptors opened here.
class OpenFiles {
 public:
  void add(int fd, OpenFile file) {
    std::lock_guard lock(mutex_);
    files_[fd] = std::move(file);
  }
  bool find(int fd, OpenFile& out) {
    std::lock_guard lock(mutex_);
    auto it = files_.find(fd);
    if (it == files_.end()) return false;
    out = it->second;
    return true;
  }
  void markEnd(int fd) {
    std::lock_guard lock(mutex_);
    if (auto it = files_.find(fd); it != files_.end()) it->second.atEnd = true;
  }
  void clearEnd(int fd) {
    std::lock_guard lock(mutex_);
    if (auto it = files_.find(fd); it != files_.end()) it->second.atEnd = false;
  }
  bool remove(int fd, OpenFile& out) {
    std::lock_guard lock(mutex_);
    auto it = files_.find(fd);
    if (it == files_.end()) return false;
    out = std::move(it->second);
    files_.erase(it);
    return true;
  }

 private:
  std::mutex mutex_;
  std::map<int, OpenFile> files_;
};

OpenFiles& openFiles() {
  static OpenFiles files;
  return files;
}

int hostFlags(int oflag) {
  int flags = 0;
  switch (oflag & 3) {
    case _O_WRONLY: flags = O_WRONLY; break;
    case _O_RDWR: flags = O_RDWR; break;
    default: flags = O_RDONLY; break;
  }
  if (oflag & _O_APPEND) flags |= O_APPEND;
  if (oflag & _O_CREAT) flags |= O_CREAT;
  if (oflag & _O_TRUNC) flags |= O_TRUNC;
  if (oflag & _O_EXCL) flags |= O_EXCL;
  if (oflag & _O_NOINHERIT) flags |= O_CLOEXEC;
  return flags;
}

int openFile(const char* filename, int oflag, int pmode) {
  if (!filename || ((oflag & 3) == 3) || ((oflag & _O_TEXT) && (oflag & _O_BINARY))) {
    errno = EINVAL;
    return -1;
  }
  const std::string host = win32::resolveHostPath(filename);
  struct stat st;
  if (::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    errno = EACCES;  // Windows does not open directories as files
    return -1;
  }
  // A file created without _S_IWRITE is read-only.
  const mode_t mode = (pmode & _S_IWRITE) ? 0666 : 0444;
  const int fd = ::open(host.c_str(), hostFlags(oflag), mode);
  if (fd < 0) return -1;
  OpenFile file;
  file.text = !(oflag & _O_BINARY);
  if (oflag & _O_TEMPORARY) file.deleteOnClose = host;
  openFiles().add(fd, std::move(file));
  return fd;
}

// Reads raw bytes, retrying interrupted reads.
ssize_t readRaw(int fd, char* buffer, size_t count) {
  ssize_t n;
  do n = ::read(fd, buffer, count);
  while (n < 0 && errno == EINTR);
  return n;
}

int readText(int fd, char* buffer, unsigned count) {
  std::vector<char> raw(count);
  const ssize_t n = readRaw(fd, raw.data(), count);
  if (n <= 0) return static_cast<int>(n);
  unsigned out = 0;
  for (ssize_t i = 0; i < n; ++i) {
    const char c = raw[static_cast<size_t>(i)];
    if (c == 0x1A) {  // Ctrl-Z: the end of the text
      openFiles().markEnd(fd);
      ::lseek(fd, i - n, SEEK_CUR);
      break;
    }
    if (c == '\r') {
      char next;
      if (i + 1 < n) {
        next = raw[static_cast<size_t>(i) + 1];
      } else if (readRaw(fd, &next, 1) == 1) {
        if (next != '\n') ::lseek(fd, -1, SEEK_CUR);  // look ahead only
      } else {
        next = 0;
      }
      if (next == '\n') {
        if (i + 1 < n) ++i;
        buffer[out++] = '\n';
        continue;
      }
    }
    buffer[out++] = c;
  }
  return static_cast<int>(out);
}

bool writeAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

extern "C" {

int _open(const char* filename, int oflag, ...) {
  int pmode = 0;
  if (oflag & _O_CREAT) {
    va_list args;
    va_start(args, oflag);
    pmode = va_arg(args, int);
    va_end(args);
  }
  return openFile(filename, oflag, pmode);
}

int _sopen(const char* filename, int oflag, int shflag, ...) {
  int pmode = 0;
  if (oflag & _O_CREAT) {
    va_list args;
    va_start(args, shflag);
    pmode = va_arg(args, int);
    va_end(args);
  }
  return openFile(filename, oflag, pmode);
}

errno_t _sopen_s(int* pfh, const char* filename, int oflag, int shflag, int pmode) {
  if (!pfh) return errno = EINVAL;
  *pfh = openFile(filename, oflag, pmode);
  return *pfh < 0 ? errno : 0;
}

int _read(int fd, void* buffer, unsigned count) {
  OpenFile file;
  if (!openFiles().find(fd, file)) {
    errno = EBADF;
    return -1;
  }
  if (!buffer || count > INT_MAX) {
    errno = EINVAL;
    return -1;
  }
  if (count == 0 || (file.text && file.atEnd)) return 0;
  if (file.text) return readText(fd, static_cast<char*>(buffer), count);
  return static_cast<int>(readRaw(fd, static_cast<char*>(buffer), count));
}

int _write(int fd, const void* buffer, unsigned count) {
  OpenFile file;
  if (!openFiles().find(fd, file)) {
    errno = EBADF;
    return -1;
  }
  if (!buffer || count > INT_MAX) {
    errno = EINVAL;
    return -1;
  }
  const char* data = static_cast<const char*>(buffer);
  if (!file.text) return writeAll(fd, data, count) ? static_cast<int>(count) : -1;
  std::string translated;
  translated.reserve(count + count / 8);
  for (unsigned i = 0; i < count; ++i) {
    if (data[i] == '\n') translated += '\r';
    translated += data[i];
  }
  // The count is of the caller's bytes, as Microsoft's _write answers it.
  return writeAll(fd, translated.data(), translated.size()) ? static_cast<int>(count) : -1;
}

int _close(int fd) {
  OpenFile file;
  if (!openFiles().remove(fd, file)) {
    errno = EBADF;
    return -1;
  }
  const int result = ::close(fd);
  if (!file.deleteOnClose.empty()) ::unlink(file.deleteOnClose.c_str());
  return result == 0 ? 0 : -1;
}

__int64 _lseeki64(int fd, __int64 offset, int origin) {
  OpenFile file;
  if (!openFiles().find(fd, file)) {
    errno = EBADF;
    return -1;
  }
  const int whence = origin == SEEK_SET ? SEEK_SET : origin == SEEK_CUR ? SEEK_CUR : origin == SEEK_END ? SEEK_END : -1;
  if (whence < 0) {
    errno = EINVAL;
    return -1;
  }
  const off_t position = ::lseek(fd, offset, whence);
  if (position >= 0) openFiles().clearEnd(fd);
  return position;
}

LONG _lseek(int fd, LONG offset, int origin) {
  const __int64 position = _lseeki64(fd, offset, origin);
  if (position > INT32_MAX) {
    errno = EINVAL;
    return -1;
  }
  return static_cast<LONG>(position);
}

__int64 _filelengthi64(int fd) {
  OpenFile file;
  if (!openFiles().find(fd, file)) {
    errno = EBADF;
    return -1;
  }
  struct stat st;
  return ::fstat(fd, &st) == 0 ? st.st_size : -1;
}

LONG _filelength(int fd) {
  const __int64 length = _filelengthi64(fd);
  return length > INT32_MAX ? -1 : static_cast<LONG>(length);
}

int _unlink(const char* filename) {
  if (!filename) {
    errno = EINVAL;
    return -1;
  }
  const std::string host = win32::resolveHostPath(filename);
  struct stat st;
  if (::lstat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    errno = EACCES;
    return -1;
  }
  return ::unlink(host.c_str()) == 0 ? 0 : -1;
}

}  // extern "C"
