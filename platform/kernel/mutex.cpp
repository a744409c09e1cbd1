// Mutex objects: owned by a thread, recursive, abandoned when the owner ends
// without releasing them. An unnamed mutex lives in the process; a named one
// is a robust, recursive, process-shared pthread mutex in a shared memory
// segment, so that every process of the user that names it shares it and a
// process that dies holding it leaves it abandoned (EOWNERDEAD).
#include <internal/namedobject.h>
#include <internal/sharedsegment.h>
#include <internal/wait.h>

#include <pthread.h>
#include <sys/mman.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

namespace {

using win32::Take;

// The mutexes of this process that a thread owns, abandoned at its end.
class LocalMutex;
struct OwnedMutexes {
  std::vector<std::weak_ptr<LocalMutex>> owned;
  ~OwnedMutexes();
};
thread_local OwnedMutexes ownedByThread;

class LocalMutex : public win32::Waitable, public std::enable_shared_from_this<LocalMutex> {
 public:
  bool isSignaled(DWORD threadId) const override { return owner_ == 0 || owner_ == threadId; }

  Take take(DWORD threadId) override {
    if (owner_ == threadId) {
      ++recursion_;
      return Take::taken;
    }
    owner_ = threadId;
    recursion_ = 1;
    ownedByThread.owned.push_back(weak_from_this());
    if (!abandoned_) return Take::taken;
    abandoned_ = false;
    return Take::abandoned;
  }

  bool release(DWORD threadId) {
    std::lock_guard guard(win32::waitLock());
    if (owner_ != threadId || recursion_ == 0) {
      SetLastError(ERROR_NOT_OWNER);
      return false;
    }
    if (--recursion_ == 0) {
      owner_ = 0;
      forget();
      wakeWaiters();
    }
    return true;
  }

  // waitLock() held: the owning thread ended.
  void abandon() {
    owner_ = 0;
    recursion_ = 0;
    abandoned_ = true;
    wakeWaiters();
  }

 private:
  void forget() {
    auto& list = ownedByThread.owned;
    std::erase_if(list, [this](const std::weak_ptr<LocalMutex>& entry) {
      auto mutex = entry.lock();
      return !mutex || mutex.get() == this;
    });
  }

  DWORD owner_ = 0;  // thread id; guarded by waitLock() like the rest
  LONG recursion_ = 0;
  bool abandoned_ = false;
};

void abandonOwnedMutexes() {
  std::lock_guard guard(win32::waitLock());
  for (auto& entry : ownedByThread.owned)
    if (auto mutex = entry.lock()) mutex->abandon();
  ownedByThread.owned.clear();
}

OwnedMutexes::~OwnedMutexes() {
  if (!owned.empty()) abandonOwnedMutexes();
}

// The layout of a named mutex's segment, the same in every process.
struct SharedMutexBlock {
  std::atomic<uint32_t> ready;  // 0 while the creator initialises, then kReady
  pthread_mutex_t mutex;
};
constexpr uint32_t kReady = 0x4B594D58;  // "KYMX"

class SharedMutex : public win32::Waitable {
 public:
  SharedMutex(std::unique_ptr<win32::SharedSegment> segment, SharedMutexBlock* block)
      : segment_(std::move(segment)), block_(block) {}
  ~SharedMutex() override { ::munmap(block_, sizeof(SharedMutexBlock)); }

  // Opens (or, with `mayCreate`, creates) the named mutex; null with the
  // last error set on failure; `created` tells whether it is new.
  static std::shared_ptr<SharedMutex> open(const std::string& name, bool mayCreate, bool& created) {
    auto segment = win32::SharedSegment::open("mutex", name, mayCreate ? sizeof(SharedMutexBlock) : 0, created);
    if (!segment) return nullptr;
    if (segment->size() < sizeof(SharedMutexBlock)) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    void* address = ::mmap(nullptr, sizeof(SharedMutexBlock), PROT_READ | PROT_WRITE, MAP_SHARED, segment->fd(), 0);
    if (address == MAP_FAILED) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    auto* block = static_cast<SharedMutexBlock*>(address);
    auto mutex = std::make_shared<SharedMutex>(std::move(segment), block);
    if (created) {
      pthread_mutexattr_t attributes;
      pthread_mutexattr_init(&attributes);
      pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
      pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
      pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
      pthread_mutex_init(&block->mutex, &attributes);
      pthread_mutexattr_destroy(&attributes);
      block->ready.store(kReady, std::memory_order_release);
    } else if (!mutex->awaitReady()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    return mutex;
  }

  bool polled() const override { return true; }
  bool isSignaled(DWORD) const override { return false; }  // never asked: polled

  Take take(DWORD) override { return answer(pthread_mutex_trylock(&block_->mutex)); }
  void untake(DWORD) override { pthread_mutex_unlock(&block_->mutex); }

  // A wait for this mutex alone blocks in the kernel instead of polling.
  std::optional<Take> waitAlone(DWORD, DWORD timeoutMs) override {
    if (timeoutMs == INFINITE) return answer(pthread_mutex_lock(&block_->mutex));
    struct timespec deadline;
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += timeoutMs / 1000;
    deadline.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
      deadline.tv_sec += 1;
      deadline.tv_nsec -= 1000000000L;
    }
    return answer(pthread_mutex_clocklock(&block_->mutex, CLOCK_MONOTONIC, &deadline));
  }

  bool release() {
    if (pthread_mutex_unlock(&block_->mutex) != 0) {
      SetLastError(ERROR_NOT_OWNER);
      return false;
    }
    return true;
  }

 private:
  Take answer(int result) {
    if (result == 0) return Take::taken;
    if (result == EOWNERDEAD) {
      // The owner died holding it: the new owner gets it, marked abandoned.
      pthread_mutex_consistent(&block_->mutex);
      return Take::abandoned;
    }
    return Take::refused;
  }

  bool awaitReady() {
    for (int tries = 0; tries < 2000; ++tries) {
      if (block_->ready.load(std::memory_order_acquire) == kReady) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }

  std::unique_ptr<win32::SharedSegment> segment_;
  SharedMutexBlock* block_;
};

bool isMutex(const win32::KernelObject& object) {
  return dynamic_cast<const LocalMutex*>(&object) || dynamic_cast<const SharedMutex*>(&object);
}

}  // namespace

namespace win32 {
void releaseOwnedMutexesAtExit() { abandonOwnedMutexes(); }
}  // namespace win32

extern "C" HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name) {
  DWORD self = win32::currentThreadId();
  if (!name) {
    auto mutex = std::make_shared<LocalMutex>();
    if (initialOwner) {
      std::lock_guard guard(win32::waitLock());
      mutex->take(self);
    }
    HANDLE handle = win32::insertHandle(mutex);
    if (handle) SetLastError(ERROR_SUCCESS);
    return handle;
  }
  std::string key = win32::namespaceKey(name);
  bool createdHere = false;
  std::shared_ptr<SharedMutex> made;
  HANDLE handle = win32::openOrCreateNamed(
      name,
      [&]() -> std::shared_ptr<win32::KernelObject> {
        made = SharedMutex::open(key, true, createdHere);
        if (made && !createdHere) SetLastError(ERROR_ALREADY_EXISTS);
        return made;
      },
      &isMutex);
  // Only the creator of a mutex takes it as initial owner, as on Windows.
  if (handle && made && createdHere && initialOwner) {
    DWORD status = GetLastError();
    made->take(self);
    SetLastError(status);
  }
  return handle;
}

extern "C" HANDLE WINAPI OpenMutexA(DWORD desiredAccess, BOOL inheritHandle, LPCSTR name) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::string key = win32::namespaceKey(name);
  return win32::openOrCreateNamed(
      name,
      [&]() -> std::shared_ptr<win32::KernelObject> {
        bool created = false;
        return SharedMutex::open(key, false, created);
      },
      &isMutex);
}

extern "C" BOOL WINAPI ReleaseMutex(HANDLE handle) {
  auto object = win32::lookupHandle(handle);
  if (auto local = std::dynamic_pointer_cast<LocalMutex>(object)) return local->release(win32::currentThreadId());
  if (auto shared = std::dynamic_pointer_cast<SharedMutex>(object)) return shared->release();
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}
