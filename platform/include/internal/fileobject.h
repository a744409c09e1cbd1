// The kernel object behind a CreateFileA handle (and the standard handles).
#pragma once

#include <internal/kobject.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace win32 {

class FileObject : public KernelObject {
 public:
  // Takes ownership of `fd` when `ownsDescriptor`; `access` holds the
  // GENERIC_* / FILE_*_DATA rights the handle was opened with.
  FileObject(int fd, DWORD access, std::string hostPath, bool deleteOnClose, bool ownsDescriptor);
  ~FileObject() override;

  int descriptor() const { return fd_; }
  const std::string& hostPath() const { return hostPath_; }
  bool canRead() const;
  bool canWrite() const;
  bool canWriteAttributes() const;

  // Byte-range locks of this handle. Windows refuses a second lock that
  // overlaps one the same handle holds and unlocks only exact ranges, which
  // the descriptor's own locks would not do; this list keeps those rules.
  // Both answer a Win32 error code, ERROR_SUCCESS when done.
  DWORD lockRange(uint64_t offset, uint64_t length);
  DWORD unlockRange(uint64_t offset, uint64_t length);

 private:
  struct Range {
    uint64_t offset;
    uint64_t length;
  };
  int fd_;
  DWORD access_;
  std::string hostPath_;
  bool deleteOnClose_;
  bool ownsDescriptor_;
  std::mutex lock_;
  std::vector<Range> locked_;
};

}  // namespace win32
