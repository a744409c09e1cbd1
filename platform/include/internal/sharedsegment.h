// A POSIX shared memory object that stands for a named kernel object shared
// between the processes of the user (a named mutex, a named file mapping).
//
// Windows deletes a named object when its last handle in any process is
// closed. Here every process that has the segment open holds a shared
// open-file-description lock on it; the one that closes it and can then
// take the lock exclusively was the last user and unlinks the name. Locks go
// with a process that dies, so a segment that only dead processes used is
// recognised as stale on the next open and made afresh.
#pragma once

#include <windef.h>

#include <cstddef>
#include <memory>
#include <string>

namespace win32 {

class SharedSegment {
 public:
  // Opens the segment of `kind` ("mutex", "section") and `name`; when none
  // exists and `createSize` is non-zero, creates one of that many zeroed
  // bytes. `created` tells which happened. Answers null with the last error
  // set (ERROR_FILE_NOT_FOUND, ERROR_FILENAME_EXCED_RANGE, ERROR_ACCESS_DENIED,
  // ERROR_NOT_ENOUGH_MEMORY).
  static std::unique_ptr<SharedSegment> open(const char* kind, const std::string& name, size_t createSize,
                                             bool& created);
  ~SharedSegment();
  SharedSegment(const SharedSegment&) = delete;
  SharedSegment& operator=(const SharedSegment&) = delete;

  int fd() const { return fd_; }
  size_t size() const { return size_; }

 private:
  SharedSegment(int fd, std::string path, size_t size) : fd_(fd), path_(std::move(path)), size_(size) {}
  int fd_;
  std::string path_;  // the shm_open name
  size_t size_;
};

}  // namespace win32
