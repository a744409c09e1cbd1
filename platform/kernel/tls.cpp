// Thread-local storage slots. A slot freed and allocated again reads null
// in every thread (Windows clears a freed slot in all threads): each value
// carries the generation of the slot it was stored under.
#include <winbase.h>

#include <array>
#include <atomic>
#include <mutex>
#include <vector>

namespace {

// 64 classic slots plus the 1024 expansion slots of Windows 2000 and later.
constexpr DWORD kSlotCount = TLS_MINIMUM_AVAILABLE + 1024;

struct SlotTable {
  std::mutex lock;
  std::array<bool, kSlotCount> inUse{};
  // Odd while allocated; bumped on every allocation and every free.
  std::array<std::atomic<uint32_t>, kSlotCount> generation{};

  static SlotTable& instance() {
    static SlotTable table;
    return table;
  }
};

struct SlotValue {
  void* value = nullptr;
  uint32_t generation = 0;
};

// Grown on demand so that threads that use few slots stay small.
thread_local std::vector<SlotValue> threadSlots;

bool allocated(DWORD index) {
  return index < kSlotCount &&
         (SlotTable::instance().generation[index].load(std::memory_order_acquire) & 1) != 0;
}

}  // namespace

extern "C" DWORD WINAPI TlsAlloc(void) {
  auto& table = SlotTable::instance();
  std::lock_guard guard(table.lock);
  for (DWORD index = 0; index < kSlotCount; ++index) {
    if (table.inUse[index]) continue;
    table.inUse[index] = true;
    table.generation[index].fetch_add(1, std::memory_order_release);
    return index;
  }
  SetLastError(ERROR_NO_MORE_ITEMS);
  return TLS_OUT_OF_INDEXES;
}

extern "C" BOOL WINAPI TlsFree(DWORD index) {
  auto& table = SlotTable::instance();
  std::lock_guard guard(table.lock);
  if (index >= kSlotCount || !table.inUse[index]) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  table.inUse[index] = false;
  table.generation[index].fetch_add(1, std::memory_order_release);
  return TRUE;
}

extern "C" LPVOID WINAPI TlsGetValue(DWORD index) {
  if (index >= kSlotCount) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // Documented: success clears the last error, so that a stored null can be
  // told from a failure.
  SetLastError(ERROR_SUCCESS);
  if (index >= threadSlots.size()) return nullptr;
  const SlotValue& slot = threadSlots[index];
  uint32_t current = SlotTable::instance().generation[index].load(std::memory_order_acquire);
  return slot.generation == current ? slot.value : nullptr;
}

extern "C" BOOL WINAPI TlsSetValue(DWORD index, LPVOID value) {
  if (!allocated(index)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (index >= threadSlots.size()) threadSlots.resize(index + 1);
  threadSlots[index] = {value, SlotTable::instance().generation[index].load(std::memory_order_acquire)};
  return TRUE;
}
