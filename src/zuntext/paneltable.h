// The shared table of open panels: its byte layout (every process of the
// user that loads the library maps the same 5600 bytes, so the layout is
// fixed and little-endian), the names of the kernel objects that share it,
// and the process's attachment to it.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace zuntext {

inline constexpr std::size_t kSlotCount = 50;
inline constexpr std::size_t kNameField = 104;        // bytes, NUL included
inline constexpr std::size_t kLongestPanelName = 100;  // characters
inline constexpr std::size_t kLongestEventName = 50;   // characters
inline constexpr DWORD kLockWaitMs = 1000;

// One slot. A window handle of 0 marks the slot free; the thread id ties a
// registration to the thread that made it.
struct PanelSlot {
  uint32_t window;
  char name[kNameField];
  uint32_t threadId;
};
static_assert(sizeof(PanelSlot) == 112);
static_assert(offsetof(PanelSlot, window) == 0);
static_assert(offsetof(PanelSlot, name) == 4);
static_assert(offsetof(PanelSlot, threadId) == 108);

inline constexpr std::size_t kTableBytes = kSlotCount * sizeof(PanelSlot);
static_assert(kTableBytes == 5600);

// The kernel object names every process uses; the fallbacks take a five-digit
// counter from 0 to kLastFallback when the fixed name cannot be created.
inline constexpr const char* kMappingName = "0F83D846_12C4_11D3_A912_12345678901";
inline constexpr const char* kMappingFallback = "NewFileName-%5.5lu";
inline constexpr const char* kMutexName = "0F83D846_12C4_11D3_A912_99999999999";
inline constexpr const char* kMutexFallback = "0F83D846_12C4_11D3_A912_999999%5.5lu";
inline constexpr unsigned long kLastFallback = 99999;

// The process's view of the table, set up when the library is loaded and
// taken down when it is unloaded. A set-up that failed leaves the table
// unusable: every lock on it then fails.
class PanelTable {
 public:
  static PanelTable& instance();

  ~PanelTable();
  PanelTable(const PanelTable&) = delete;
  PanelTable& operator=(const PanelTable&) = delete;

 private:
  friend class TableLock;
  PanelTable();  // the one instance, loaded_, is set up with the library
  bool attach();
  void detach();

  // Written at load and unload only; atomic because a thread of the process
  // may still call in while the library is being unloaded at exit.
  std::atomic<HANDLE> mutex_{nullptr};
  std::atomic<PanelSlot*> slots_{nullptr};  // the mapped view
  HANDLE mapping_ = nullptr;

  static PanelTable loaded_;
};

// Holds the table's mutex for one operation (at most kLockWaitMs of waiting).
// slots() is null when the lock was not had; the mutex is released at the
// end of the scope.
class TableLock {
 public:
  TableLock();
  ~TableLock();
  TableLock(const TableLock&) = delete;
  TableLock& operator=(const TableLock&) = delete;

  PanelSlot* slots() const { return slots_; }

 private:
  HANDLE mutex_ = nullptr;  // set only while held
  PanelSlot* slots_ = nullptr;
};

}  // namespace zuntext
