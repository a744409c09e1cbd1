// The shared panel table as any other process sees it: opened by its names,
// read byte by byte, locked with its own mutex. Tests read the slots through
// it to check what the library wrote, and hold the mutex to keep other
// processes of the user (tests running in parallel) out for a moment.
#pragma once

#include "paneltable.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace zuntext::test {

// One slot decoded from its bytes at the offsets of the stored layout.
struct SlotBytes {
  uint32_t window = 0;
  std::string name;
  uint32_t threadId = 0;
};

class TableView {
 public:
  explicit TableView(const char* mappingName = kMappingName, const char* mutexName = kMutexName) {
    mapping_ = OpenFileMappingA(FILE_MAP_READ, FALSE, mappingName);
    if (mapping_) bytes_ = static_cast<const BYTE*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, kTableBytes));
    mutex_ = OpenMutexA(SYNCHRONIZE, FALSE, mutexName);
  }
  ~TableView() {
    while (held_ > 0) unlock();
    if (bytes_) UnmapViewOfFile(bytes_);
    if (mapping_) CloseHandle(mapping_);
    if (mutex_) CloseHandle(mutex_);
  }
  TableView(const TableView&) = delete;
  TableView& operator=(const TableView&) = delete;

  bool opened() const { return bytes_ && mutex_; }

  // The mutex is recursive: the library's own calls on this thread still
  // get it while the view holds it.
  bool lock() {
    DWORD wait = WaitForSingleObject(mutex_, 5000);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) return false;
    ++held_;
    return true;
  }
  void unlock() {
    if (held_ > 0 && ReleaseMutex(mutex_)) --held_;
  }

  SlotBytes slot(size_t index) const {
    const BYTE* at = bytes_ + index * 112;
    SlotBytes slot;
    std::memcpy(&slot.window, at, 4);
    slot.name.assign(reinterpret_cast<const char*>(at + 4), ::strnlen(reinterpret_cast<const char*>(at + 4), 104));
    std::memcpy(&slot.threadId, at + 108, 4);
    return slot;
  }
  const BYTE* bytes(size_t index) const { return bytes_ + index * 112; }

  std::vector<size_t> slotsNamed(const std::string& name) const {
    std::vector<size_t> found;
    for (size_t i = 0; i < kSlotCount; ++i)
      if (slot(i).window != 0 && slot(i).name == name) found.push_back(i);
    return found;
  }
  size_t freeSlots() const {
    size_t count = 0;
    for (size_t i = 0; i < kSlotCount; ++i) count += slot(i).window == 0;
    return count;
  }

 private:
  HANDLE mapping_ = nullptr;
  HANDLE mutex_ = nullptr;
  const BYTE* bytes_ = nullptr;
  int held_ = 0;
};

// Panel names of this process: the table is shared with every test program
// of the user that runs at the same time.
inline std::string uniqueName(const std::string& stem) {
  return stem + "-" + std::to_string(::getpid());
}

inline uint32_t handleValue(HWND window) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)); }

}  // namespace zuntext::test
