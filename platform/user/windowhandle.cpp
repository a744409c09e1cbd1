// Allocation and lookup of machine-wide window handles (see windowhandle.h).
#include "windowhandle.h"

#include <internal/sharedsegment.h>
#include <winbase.h>

#include <pthread.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <set>

namespace win32::user {
namespace {

// A handle is ((generation + 1) << 19) | (slot << 1): even, from 0x00080000
// up to 0x3FFFFFFE (GDI objects and icons live above). The generation grows
// each time a slot is taken, so a handle value comes back only after 2,047
// windows had that slot.
constexpr uint32_t kSlotBits = 18;
constexpr uint32_t kSlots = 1u << kSlotBits;
constexpr uint32_t kGenerations = 0x3FFFFFFEu >> (kSlotBits + 1);  // 2,047
constexpr uint32_t kFirstHandle = 1u << (kSlotBits + 1);
constexpr uint32_t kLastHandle = 0x3FFFFFFE;

uint32_t handleOf(uint32_t slot, uint32_t generation) { return ((generation + 1) << (kSlotBits + 1)) | (slot << 1); }

struct Slot {
  uint32_t used;
  uint32_t generation;  // of the handle that holds the slot (or held it last)
  uint32_t pid;
  uint32_t tid;
  uint64_t startTime;  // of the process, to tell a reused pid
};

// The table, in a shared mapping of the user's processes. Pages of slots
// never used are never touched, so the mapping costs what it holds.
struct Table {
  std::atomic<uint32_t> ready;  // set once the creator made the mutex
  pthread_mutex_t mutex;         // robust: a process that dies holding it does not block the others
  uint32_t cursor;               // where the next search for a free slot starts
  Slot slots[kSlots];
};

// The kernel's start time of process `pid` in clock ticks (field 22 of
// /proc/<pid>/stat), 0 when the process does not exist.
unsigned long long processStartTime(pid_t pid) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
  FILE* f = fopen(path, "r");
  if (!f) return 0;
  char buf[1024];
  size_t n = fread(buf, 1, sizeof buf - 1, f);
  fclose(f);
  buf[n] = 0;
  const char* p = strrchr(buf, ')');  // the command name may hold spaces
  if (!p) return 0;
  // After ")": state is field 3; start time is field 22.
  int field = 2;
  for (++p; *p && field < 22; ++p)
    if (*p == ' ') ++field;
  return strtoull(p, nullptr, 10);
}

bool alive(const Slot& slot) { return processStartTime((pid_t)slot.pid) == slot.startTime; }

class Registry {
 public:
  Registry() {
    bool created = false;
    segment_ = SharedSegment::open("windows", "table", sizeof(Table), created);
    if (!segment_) return;
    void* view = mmap(nullptr, sizeof(Table), PROT_READ | PROT_WRITE, MAP_SHARED, segment_->fd(), 0);
    if (view == MAP_FAILED) return;
    table_ = static_cast<Table*>(view);
    if (created) {
      pthread_mutexattr_t attributes;
      pthread_mutexattr_init(&attributes);
      pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
      pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
      pthread_mutex_init(&table_->mutex, &attributes);
      pthread_mutexattr_destroy(&attributes);
      table_->ready.store(1, std::memory_order_release);
    } else {
      // The creator makes the mutex right after the segment: wait for it.
      for (int i = 0; i < 2000 && !table_->ready.load(std::memory_order_acquire); ++i) usleep(1000);
      if (!table_->ready.load(std::memory_order_acquire)) table_ = nullptr;
    }
  }

  ~Registry() {
    // Slots of windows still open when the process ends would look alive to
    // a later process that reuses the pid; free them.
    if (table_) {
      Locked locked(*table_);
      for (uint32_t slot : mine_) table_->slots[slot].used = 0;
    }
  }

  HWND allocate(DWORD threadId) {
    std::lock_guard guard(lock_);
    if (!table_) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    Locked locked(*table_);
    // First a free slot; failing that, one whose process is gone.
    for (int pass = 0; pass < 2; ++pass) {
      for (uint32_t n = 0; n < kSlots; ++n) {
        const uint32_t index = (table_->cursor + n) % kSlots;
        Slot& slot = table_->slots[index];
        if (slot.used && (pass == 0 || slot.pid == (uint32_t)getpid() || alive(slot))) continue;
        slot.used = 1;
        slot.generation = (slot.generation + 1) % kGenerations;
        slot.pid = (uint32_t)getpid();
        slot.tid = threadId;
        slot.startTime = startTime_;
        table_->cursor = (index + 1) % kSlots;
        mine_.insert(index);
        return (HWND)(uintptr_t)handleOf(index, slot.generation);
      }
    }
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }

  void release(HWND hwnd) {
    std::lock_guard guard(lock_);
    const auto value = (uint32_t)(uintptr_t)hwnd;
    const uint32_t index = (value >> 1) & (kSlots - 1);
    if (!table_ || !mine_.erase(index)) return;
    Locked locked(*table_);
    table_->slots[index].used = 0;
  }

  bool findForeign(HWND hwnd, ForeignWindow& out) {
    const uintptr_t value = (uintptr_t)hwnd;
    if (!table_ || value < kFirstHandle || value > kLastHandle || (value & 1)) return false;
    const uint32_t index = ((uint32_t)value >> 1) & (kSlots - 1);
    const uint32_t generation = ((uint32_t)value >> (kSlotBits + 1)) - 1;
    Locked locked(*table_);
    Slot& slot = table_->slots[index];
    if (!slot.used || slot.generation != generation || slot.pid == (uint32_t)getpid()) return false;
    if (!alive(slot)) {
      slot.used = 0;  // its process is gone (or its pid was reused): the slot is free again
      return false;
    }
    out.processId = slot.pid;
    out.threadId = slot.tid;
    return true;
  }

 private:
  // Holds the table's mutex; a holder that died leaves the table as it was
  // between two whole changes, so it is taken over as it stands.
  class Locked {
   public:
    explicit Locked(Table& table) : table_(table) {
      if (pthread_mutex_lock(&table_.mutex) == EOWNERDEAD) pthread_mutex_consistent(&table_.mutex);
    }
    ~Locked() { pthread_mutex_unlock(&table_.mutex); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

   private:
    Table& table_;
  };

  std::unique_ptr<SharedSegment> segment_;
  Table* table_ = nullptr;
  std::mutex lock_;
  std::set<uint32_t> mine_;
  unsigned long long startTime_ = processStartTime(getpid());
};

Registry& registry() {
  static Registry instance;
  return instance;
}

}  // namespace

const std::string& registryDirectory() {
  static const std::string dir = [] {
    std::string d;
    if (const char* runtime = getenv("XDG_RUNTIME_DIR"); runtime && *runtime && access(runtime, W_OK) == 0)
      d = std::string(runtime) + "/ky-windows";
    else
      d = "/tmp/ky-windows-" + std::to_string(getuid());
    mkdir(d.c_str(), 0700);
    return d;
  }();
  return dir;
}

HWND allocateWindowHandle(DWORD threadId) { return registry().allocate(threadId); }

void releaseWindowHandle(HWND hwnd) { registry().release(hwnd); }

bool findForeignWindow(HWND hwnd, ForeignWindow& out) { return registry().findForeign(hwnd, out); }

}  // namespace win32::user
