// Semaphore objects: a count between 0 and a maximum, named within the process.
#include <internal/namedobject.h>
#include <internal/wait.h>

namespace {

class Semaphore : public win32::Waitable {
 public:
  Semaphore(LONG initial, LONG maximum) : count_(initial), maximum_(maximum) {}

  bool isSignaled(DWORD) const override { return count_ > 0; }
  win32::Take take(DWORD) override {
    --count_;
    return win32::Take::taken;
  }

  // Adds `release` unless that passes the maximum (ERROR_TOO_MANY_POSTS).
  bool release(LONG release, LONG* previous) {
    std::lock_guard guard(win32::waitLock());
    if (release > maximum_ - count_) {
      SetLastError(ERROR_TOO_MANY_POSTS);
      return false;
    }
    if (previous) *previous = count_;
    count_ += release;
    wakeWaiters();
    return true;
  }

 private:
  LONG count_;    // guarded by waitLock()
  LONG maximum_;
};

}  // namespace

extern "C" HANDLE WINAPI CreateSemaphoreA(LPSECURITY_ATTRIBUTES attributes, LONG initialCount, LONG maximumCount,
                                          LPCSTR name) {
  if (maximumCount <= 0 || initialCount < 0 || initialCount > maximumCount) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto make = [&]() -> std::shared_ptr<win32::KernelObject> {
    return std::make_shared<Semaphore>(initialCount, maximumCount);
  };
  if (!name) {
    HANDLE handle = win32::insertHandle(make());
    if (handle) SetLastError(ERROR_SUCCESS);
    return handle;
  }
  return win32::openOrCreateNamed(name, make, &win32::isKernelObjectOf<Semaphore>);
}

extern "C" HANDLE WINAPI OpenSemaphoreA(DWORD desiredAccess, BOOL inheritHandle, LPCSTR name) {
  return win32::openOrCreateNamed(name, nullptr, &win32::isKernelObjectOf<Semaphore>);
}

extern "C" BOOL WINAPI ReleaseSemaphore(HANDLE handle, LONG releaseCount, LPLONG previousCount) {
  auto semaphore = win32::lookupHandleAs<Semaphore>(handle);
  if (!semaphore) return FALSE;
  if (releaseCount <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return semaphore->release(releaseCount, previousCount) ? TRUE : FALSE;
}
