// Critical sections: recursive locks owned by a thread. The lock itself is
// a recursive pthread mutex reached through LockSemaphore; OwningThread and
// RecursionCount are kept as Windows keeps them, since code inspects them.
#include <internal/wait.h>

#include <pthread.h>

namespace {

pthread_mutex_t* lockOf(LPCRITICAL_SECTION section) { return static_cast<pthread_mutex_t*>(section->LockSemaphore); }

void noteEntered(LPCRITICAL_SECTION section) {
  section->OwningThread = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(win32::currentThreadId()));
  ++section->RecursionCount;
  __atomic_add_fetch(&section->LockCount, 1, __ATOMIC_RELAXED);
}

}  // namespace

extern "C" BOOL WINAPI InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD spinCount) {
  if (!section) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto* lock = new (std::nothrow) pthread_mutex_t;
  if (!lock) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(lock, &attributes);
  pthread_mutexattr_destroy(&attributes);
  section->DebugInfo = nullptr;
  section->LockCount = -1;  // Windows' value for "free"
  section->RecursionCount = 0;
  section->OwningThread = nullptr;
  section->LockSemaphore = lock;
  section->SpinCount = spinCount;
  return TRUE;
}

extern "C" void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION section) {
  InitializeCriticalSectionAndSpinCount(section, 0);
}

extern "C" void WINAPI EnterCriticalSection(LPCRITICAL_SECTION section) {
  if (!section || !lockOf(section)) return;
  pthread_mutex_lock(lockOf(section));
  noteEntered(section);
}

extern "C" BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION section) {
  if (!section || !lockOf(section)) return FALSE;
  if (pthread_mutex_trylock(lockOf(section)) != 0) return FALSE;
  noteEntered(section);
  return TRUE;
}

extern "C" void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION section) {
  if (!section || !lockOf(section)) return;
  // Leaving a section the thread does not own is a caller's error; the
  // bookkeeping is left alone then rather than corrupted.
  if (section->OwningThread != reinterpret_cast<HANDLE>(static_cast<uintptr_t>(win32::currentThreadId())) ||
      section->RecursionCount <= 0)
    return;
  __atomic_sub_fetch(&section->LockCount, 1, __ATOMIC_RELAXED);
  if (--section->RecursionCount == 0) section->OwningThread = nullptr;
  pthread_mutex_unlock(lockOf(section));
}

extern "C" void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION section) {
  if (!section || !lockOf(section)) return;
  pthread_mutex_destroy(lockOf(section));
  delete lockOf(section);
  section->LockSemaphore = nullptr;
  section->OwningThread = nullptr;
  section->RecursionCount = 0;
}
