// The process's attachment to the shared panel table: the named mutex and
// mapping are created (or opened) when the library is loaded and closed when
// it is unloaded.
//
// A library load that fails on Windows cannot fail an ELF load from a
// constructor without ending the process; instead the table stays unmapped
// and every operation answers false (last error ERROR_DLL_INIT_FAILED).
#include "paneltable.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace zuntext {
namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const {
    if (handle) CloseHandle(handle);
  }
};
using ScopedHandle = std::unique_ptr<void, HandleCloser>;

// Creates or opens an object under `fixedName`, else under the fallback
// names with the counter 0 to kLastFallback. `create` answers the handle or
// null; the last error it leaves is the caller's to read.
template <class Create>
ScopedHandle createNamed(const char* fixedName, const char* fallbackFormat, Create create) {
  if (HANDLE handle = create(fixedName)) return ScopedHandle(handle);
  char name[64];
  for (unsigned long counter = 0; counter <= kLastFallback; ++counter) {
    std::snprintf(name, sizeof name, fallbackFormat, counter);
    if (HANDLE handle = create(name)) return ScopedHandle(handle);
  }
  return nullptr;
}

bool acquired(DWORD wait) {
  // An owner that died holding the mutex hands it on abandoned; the table is
  // still consistent because every slot update publishes or retracts the
  // window handle as its single deciding write.
  return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

}  // namespace

PanelTable PanelTable::loaded_;

PanelTable& PanelTable::instance() { return loaded_; }

PanelTable::PanelTable() { attach(); }

PanelTable::~PanelTable() { detach(); }

bool PanelTable::attach() {
  ScopedHandle mutex =
      createNamed(kMutexName, kMutexFallback, [](const char* name) { return CreateMutexA(nullptr, FALSE, name); });
  if (!mutex) return false;

  // The mapping is created and, when new, zeroed while this process holds
  // the mutex: another process that opened it a moment later cannot have
  // registered a panel that the zeroing would wipe. When the lock cannot be
  // had the zeroing is left out; a new mapping's pages are zero already.
  const bool locked = acquired(WaitForSingleObject(mutex.get(), kLockWaitMs));
  DWORD status = ERROR_SUCCESS;
  ScopedHandle mapping = createNamed(kMappingName, kMappingFallback, [&status](const char* name) {
    HANDLE handle = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                       static_cast<DWORD>(kTableBytes), name);
    status = GetLastError();
    return handle;
  });
  void* view = nullptr;
  if (mapping && (status == ERROR_SUCCESS || status == ERROR_ALREADY_EXISTS)) {
    // Exactly the table's bytes: an existing object of the name that is
    // smaller fails here rather than faulting on a later slot access.
    view = MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, kTableBytes);
    if (view && status == ERROR_SUCCESS && locked) std::memset(view, 0, kTableBytes);
  }
  if (locked) ReleaseMutex(mutex.get());
  if (!view) return false;

  mapping_ = mapping.release();
  mutex_.store(mutex.release());
  slots_.store(static_cast<PanelSlot*>(view));
  return true;
}

void PanelTable::detach() {
  HANDLE mutex = mutex_.load();
  if (!mutex) return;
  // A thread of this process may still be inside an operation at exit: the
  // view goes away only once the mutex says nobody uses it.
  const bool locked = acquired(WaitForSingleObject(mutex, kLockWaitMs));
  PanelSlot* slots = slots_.exchange(nullptr);
  if (locked) ReleaseMutex(mutex);
  mutex_.store(nullptr);
  if (slots) UnmapViewOfFile(slots);
  if (mapping_) CloseHandle(mapping_);
  mapping_ = nullptr;
  CloseHandle(mutex);
}

TableLock::TableLock() {
  PanelTable& table = PanelTable::instance();
  HANDLE mutex = table.mutex_.load();
  if (!mutex) {
    SetLastError(ERROR_DLL_INIT_FAILED);
    return;
  }
  if (!acquired(WaitForSingleObject(mutex, kLockWaitMs))) return;
  PanelSlot* slots = table.slots_.load();
  if (!slots) {  // unloaded meanwhile
    ReleaseMutex(mutex);
    SetLastError(ERROR_DLL_INIT_FAILED);
    return;
  }
  mutex_ = mutex;
  slots_ = slots;
}

TableLock::~TableLock() {
  if (mutex_) ReleaseMutex(mutex_);
}

}  // namespace zuntext
