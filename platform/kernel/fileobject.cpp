// The file kernel object: descriptor ownership, access rights and the
// handle's byte-range locks (see internal/fileobject.h).
#include <internal/fileobject.h>
#include <internal/hosterror.h>
#include <winbase.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>

namespace win32 {
namespace {

constexpr DWORD kReadRights = GENERIC_READ | GENERIC_ALL | FILE_READ_DATA;
constexpr DWORD kWriteRights = GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA;
constexpr DWORD kAttributeRights = GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_ATTRIBUTES;

bool overlaps(uint64_t aOffset, uint64_t aLength, uint64_t bOffset, uint64_t bLength) {
  return aOffset < bOffset + bLength && bOffset < aOffset + aLength;
}

// One open file description lock request; answers 0 or errno.
int setDescriptorLock(int fd, short type, uint64_t offset, uint64_t length) {
  struct flock request {};
  request.l_type = type;
  request.l_whence = SEEK_SET;
  request.l_start = static_cast<off_t>(offset);
  request.l_len = static_cast<off_t>(length);
  request.l_pid = 0;  // required 0 for open file description locks
  while (::fcntl(fd, F_OFD_SETLK, &request) != 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}

}  // namespace

FileObject::FileObject(int fd, DWORD access, std::string hostPath, bool deleteOnClose, bool ownsDescriptor)
    : fd_(fd), access_(access), hostPath_(std::move(hostPath)), deleteOnClose_(deleteOnClose),
      ownsDescriptor_(ownsDescriptor) {}

FileObject::~FileObject() {
  // Windows deletes the file when its last handle closes; the last
  // reference to this object is that moment. Only the file this handle
  // opened goes, should another have taken its name since.
  if (deleteOnClose_ && !hostPath_.empty()) {
    struct stat opened, named;
    if (::fstat(fd_, &opened) == 0 && ::lstat(hostPath_.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
        opened.st_ino == named.st_ino) {
      ::unlink(hostPath_.c_str());
    }
  }
  if (ownsDescriptor_ && fd_ >= 0) ::close(fd_);
}

bool FileObject::canRead() const { return (access_ & kReadRights) != 0; }
bool FileObject::canWrite() const { return (access_ & kWriteRights) != 0; }
bool FileObject::canWriteAttributes() const { return (access_ & kAttributeRights) != 0; }

DWORD FileObject::lockRange(uint64_t offset, uint64_t length) {
  if (length == 0) return ERROR_SUCCESS;  // a range of no bytes excludes nothing
  constexpr uint64_t kMaxOffset = static_cast<uint64_t>(std::numeric_limits<off_t>::max());
  if (offset > kMaxOffset || length > kMaxOffset - offset) return ERROR_INVALID_PARAMETER;
  std::lock_guard guard(lock_);
  for (const auto& r : locked_) {
    if (overlaps(offset, length, r.offset, r.length)) return ERROR_LOCK_VIOLATION;
  }
  // A handle without write access takes a shared lock: Linux refuses an
  // exclusive one on a descriptor not open for writing.
  const short type = canWrite() ? F_WRLCK : F_RDLCK;
  if (int err = setDescriptorLock(fd_, type, offset, length)) return errorFromErrno(err);
  locked_.push_back({offset, length});
  return ERROR_SUCCESS;
}

DWORD FileObject::unlockRange(uint64_t offset, uint64_t length) {
  if (length == 0) return ERROR_SUCCESS;
  std::lock_guard guard(lock_);
  for (auto it = locked_.begin(); it != locked_.end(); ++it) {
    if (it->offset == offset && it->length == length) {
      if (int err = setDescriptorLock(fd_, F_UNLCK, offset, length)) return errorFromErrno(err);
      locked_.erase(it);
      return ERROR_SUCCESS;
    }
  }
  return ERROR_NOT_LOCKED;
}

}  // namespace win32
