// Threads: CreateThread runs the start routine on a POSIX thread; the
// thread's object is signalled when it ends, carrying its exit code.
#include <internal/wait.h>

#include <pthread.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

using win32::Take;

class Thread : public win32::Waitable {
 public:
  Thread(LPTHREAD_START_ROUTINE start, LPVOID parameter, bool suspended)
      : start_(start), parameter_(parameter), suspendCount_(suspended ? 1 : 0) {}

  bool isSignaled(DWORD) const override { return ended_; }
  Take take(DWORD) override { return Take::taken; }

  // Runs on the new thread.
  void run();
  void waitUntilStarted() {
    std::unique_lock lock(win32::waitLock());
    changed_.wait(lock, [&] { return id_ != 0; });
  }

  DWORD resume() {
    std::lock_guard guard(win32::waitLock());
    DWORD previous = suspendCount_;
    if (suspendCount_ > 0 && --suspendCount_ == 0) changed_.notify_all();
    return previous;
  }

  DWORD exitCode() const {
    std::lock_guard guard(win32::waitLock());
    return ended_ ? exitCode_ : STILL_ACTIVE;
  }

  DWORD id() const {
    std::lock_guard guard(win32::waitLock());
    return id_;
  }

  // The thread leaves through ExitThread with `code`.
  void exitWith(DWORD code) {
    std::lock_guard guard(win32::waitLock());
    exitCode_ = code;
    exitCodeSet_ = true;
  }

 private:
  // Signals the end even when the thread is unwound by ExitThread.
  struct EndGuard {
    Thread* thread;
    ~EndGuard() {
      win32::releaseOwnedMutexesAtExit();
      std::lock_guard guard(win32::waitLock());
      thread->ended_ = true;
      thread->wakeWaiters();
    }
  };

  LPTHREAD_START_ROUTINE start_;
  LPVOID parameter_;
  std::condition_variable changed_;  // start and resume; waits under waitLock()
  DWORD suspendCount_;
  DWORD id_ = 0;
  DWORD exitCode_ = STILL_ACTIVE;
  bool exitCodeSet_ = false;
  bool ended_ = false;
};

// The object of the current thread when CreateThread made it.
thread_local Thread* currentThread = nullptr;

void Thread::run() {
  currentThread = this;
  EndGuard end{this};
  {
    std::unique_lock lock(win32::waitLock());
    id_ = win32::currentThreadId();
    changed_.notify_all();
    changed_.wait(lock, [&] { return suspendCount_ == 0; });
  }
  DWORD code = start_(parameter_);
  std::lock_guard guard(win32::waitLock());
  if (!exitCodeSet_) exitCode_ = code;
}

void* threadMain(void* argument) {
  // The thread keeps its object alive while it runs, whatever the handles do.
  std::shared_ptr<Thread> self(std::move(*static_cast<std::shared_ptr<Thread>*>(argument)));
  delete static_cast<std::shared_ptr<Thread>*>(argument);
  self->run();
  return nullptr;
}

// GetCurrentThread's pseudo handle: "the calling thread", never in the table.
const HANDLE kCurrentThread = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-2));

size_t stackSizeFor(SIZE_T requested) {
  long page = ::sysconf(_SC_PAGESIZE);
  size_t size = std::max<size_t>(requested, PTHREAD_STACK_MIN);
  return (size + page - 1) / page * page;
}

}  // namespace

extern "C" HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                                      LPVOID parameter, DWORD creationFlags, LPDWORD threadId) {
  if (!start) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto thread = std::make_shared<Thread>(start, parameter, (creationFlags & CREATE_SUSPENDED) != 0);
  HANDLE handle = win32::insertHandle(thread);
  if (!handle) return nullptr;

  pthread_attr_t threadAttributes;
  pthread_attr_init(&threadAttributes);
  pthread_attr_setdetachstate(&threadAttributes, PTHREAD_CREATE_DETACHED);
  if (stackSize > 0) pthread_attr_setstacksize(&threadAttributes, stackSizeFor(stackSize));
  auto* argument = new std::shared_ptr<Thread>(thread);
  pthread_t posixThread;
  int result = pthread_create(&posixThread, &threadAttributes, threadMain, argument);
  pthread_attr_destroy(&threadAttributes);
  if (result != 0) {
    delete argument;
    win32::removeHandle(handle);
    SetLastError(result == EAGAIN ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  thread->waitUntilStarted();
  if (threadId) *threadId = thread->id();
  return handle;
}

extern "C" void WINAPI ExitThread(DWORD exitCode) {
  if (currentThread) currentThread->exitWith(exitCode);
  // pthread_exit unwinds the stack, so the thread's end guard still runs.
  pthread_exit(nullptr);
}

extern "C" BOOL WINAPI GetExitCodeThread(HANDLE handle, LPDWORD exitCode) {
  if (handle == kCurrentThread && exitCode) {
    *exitCode = STILL_ACTIVE;  // the caller runs
    return TRUE;
  }
  auto thread = win32::lookupHandleAs<Thread>(handle);
  if (!thread) return FALSE;
  if (!exitCode) {
    SetLastError(ERROR_NOACCESS);
    return FALSE;
  }
  *exitCode = thread->exitCode();
  return TRUE;
}

extern "C" DWORD WINAPI ResumeThread(HANDLE handle) {
  auto thread = win32::lookupHandleAs<Thread>(handle);
  if (!thread) return static_cast<DWORD>(-1);
  return thread->resume();
}

extern "C" DWORD WINAPI GetThreadId(HANDLE handle) {
  if (handle == kCurrentThread) return win32::currentThreadId();
  auto thread = win32::lookupHandleAs<Thread>(handle);
  return thread ? thread->id() : 0;
}

extern "C" DWORD WINAPI GetCurrentThreadId(void) { return win32::currentThreadId(); }

namespace win32 {

// The kernel keeps /proc/<tid> for every thread of the machine (listed or
// not); its state letter after the command's closing parenthesis is Z or X
// once the thread ended but is not reaped yet.
bool threadRunning(DWORD threadId) {
  if (threadId == 0) return false;
  char path[48];
  std::snprintf(path, sizeof path, "/proc/%lu/stat", static_cast<unsigned long>(threadId));
  FILE* file = std::fopen(path, "r");
  if (!file) return false;
  char text[512];
  const size_t length = std::fread(text, 1, sizeof text - 1, file);
  std::fclose(file);
  text[length] = 0;
  const char* end = std::strrchr(text, ')');  // the command may hold spaces and parentheses
  if (!end || end[1] != ' ') return false;
  const char state = end[2];
  return state != 'Z' && state != 'X' && state != 'x';
}

}  // namespace win32

// Needs no closing.
extern "C" HANDLE WINAPI GetCurrentThread(void) { return kCurrentThread; }
