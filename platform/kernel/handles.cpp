// The process's handle table for kernel objects.
#include <internal/kobject.h>
#include <winbase.h>

#include <mutex>
#include <unordered_map>

namespace win32 {
namespace {

struct HandleTable {
  std::mutex lock;
  std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> objects;
  uintptr_t next = 0x100;  // low values stay free so that stray small ints never hit

  static HandleTable& instance() {
    static HandleTable table;
    return table;
  }
};

constexpr uintptr_t kMaxHandle = 0x3FFFFFFC;  // handles keep 32-bit values

}  // namespace

void setInvalidHandleError() { SetLastError(ERROR_INVALID_HANDLE); }

HANDLE insertHandle(std::shared_ptr<KernelObject> object) {
  if (!object) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto& table = HandleTable::instance();
  std::lock_guard guard(table.lock);
  // Wraps around once the counter reaches the top; values still in use are skipped.
  for (uintptr_t tries = 0; tries < kMaxHandle / 4; ++tries) {
    uintptr_t value = table.next;
    table.next = value >= kMaxHandle ? 0x100 : value + 4;
    if (table.objects.emplace(value, object).second) return reinterpret_cast<HANDLE>(value);
  }
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}

std::shared_ptr<KernelObject> lookupHandle(HANDLE handle) {
  auto& table = HandleTable::instance();
  std::lock_guard guard(table.lock);
  auto it = table.objects.find(reinterpret_cast<uintptr_t>(handle));
  if (it == table.objects.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return it->second;
}

bool removeHandle(HANDLE handle) {
  std::shared_ptr<KernelObject> doomed;  // destroyed outside the lock
  auto& table = HandleTable::instance();
  {
    std::lock_guard guard(table.lock);
    auto it = table.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == table.objects.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return false;
    }
    doomed = std::move(it->second);
    table.objects.erase(it);
  }
  return true;
}

HANDLE duplicateHandle(HANDLE handle) {
  auto object = lookupHandle(handle);
  return object ? insertHandle(std::move(object)) : nullptr;
}

}  // namespace win32

extern "C" BOOL WINAPI CloseHandle(HANDLE handle) { return win32::removeHandle(handle) ? TRUE : FALSE; }
