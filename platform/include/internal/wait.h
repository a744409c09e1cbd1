// Waitable kernel objects and the one wait mechanism of the layer.
//
// Every object that WaitForSingleObject / WaitForMultipleObjects accept
// (events, mutexes, semaphores, threads) derives from Waitable. The signal
// state of all in-process Waitables is guarded by one process-wide lock,
// waitLock(), so that a wait for all objects can test every object and take
// them together atomically, as Windows guarantees.
//
// For user32's MsgWaitForMultipleObjects: give each thread's message queue a
// win32::Event (auto- or manual-reset, as the queue prefers), set() it
// whenever input the waiter may care about arrives, and call
//
//   win32::waitForObjects(handles, waitAll, timeoutMs, &queueEvent)
//
// The extra object counts as the object just after the handles: a wait for
// any object answers WAIT_OBJECT_0 + handles.size() when it was the one
// signalled. With waitAll the extra object is part of the set that must be
// signalled together (MsgWaitForMultipleObjects with fWaitAll: all objects
// *and* input). A custom Waitable works too: change its state only while
// holding waitLock() and call wakeWaiters() before releasing it; isSignaled
// and take run with waitLock() held, so they must not take locks that are
// ever held while waitLock() is being acquired.
//
// Objects shared between processes (named mutexes) cannot keep their state
// under an in-process lock: they report polled() and are tried with take();
// a wait that includes one re-checks at short intervals.
#pragma once

#include <internal/kobject.h>
#include <winbase.h>

#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace win32 {

struct Waiter;

// The lock that guards the signal state of every in-process Waitable.
std::mutex& waitLock();

// Answers of Waitable::take.
enum class Take { refused, taken, abandoned };

class Waitable : public KernelObject {
 public:
  // waitLock() held. True when a wait by thread `threadId` would be
  // satisfied now. Never called for polled objects.
  virtual bool isSignaled(DWORD threadId) const = 0;
  // waitLock() held. The wait succeeded on this object for `threadId`:
  // consume the signal (an auto-reset event resets, a semaphore counts down,
  // a mutex becomes owned). For a polled object this is the attempt itself
  // and may be refused. `abandoned` reports a mutex whose owner ended
  // without releasing it.
  virtual Take take(DWORD threadId) = 0;
  // waitLock() held. Gives back what take() obtained; only needed by polled
  // objects, whose take() is tried before a wait for all is complete.
  virtual void untake(DWORD threadId) {}
  // True for objects shared with other processes (see above).
  virtual bool polled() const { return false; }
  // A polled object may block for a wait on it alone (without waitLock());
  // nullopt means "poll me like the others". Answers Take::refused on timeout.
  virtual std::optional<Take> waitAlone(DWORD threadId, DWORD timeoutMs) { return std::nullopt; }

  // waitLock() held: the threads waiting on this object look again.
  void wakeWaiters();
  // waitLock() held: how many threads wait on this object now.
  size_t waiterCount() const { return waiters_.size(); }
  // waitLock() held: the object counts as signalled, once, for the threads
  // waiting on it now (all of them, or the first that can take it), though
  // its state stays unsignalled: PulseEvent.
  void pulseWaiters(bool all);

 private:
  friend class WaitRegistration;
  std::vector<Waiter*> waiters_;  // guarded by waitLock()
};

// An event object; CreateEventA makes these. Other parts of the layer may
// create their own (a message queue's input signal) without a handle.
class Event : public Waitable {
 public:
  Event(bool manualReset, bool initialState) : manualReset_(manualReset), signaled_(initialState) {}
  void set();    // signalled; wakes waiters (an auto-reset event releases one)
  void reset();  // not signalled
  void pulse();  // releases current waiters (all, or one if auto-reset) and resets
  bool isSet() const;

  bool isSignaled(DWORD threadId) const override { return signaled_; }
  Take take(DWORD threadId) override;

 private:
  bool manualReset_;
  bool signaled_;
};

// The wait of WaitForMultipleObjects: answers WAIT_OBJECT_0 + n,
// WAIT_ABANDONED_0 + n, WAIT_TIMEOUT or WAIT_FAILED (last error set:
// ERROR_INVALID_HANDLE for a handle that is not waitable,
// ERROR_INVALID_PARAMETER for no or more than MAXIMUM_WAIT_OBJECTS objects
// or the same object twice in a wait for all). `extra` may be null.
DWORD waitForObjects(std::span<const HANDLE> handles, bool waitAll, DWORD timeoutMs, Waitable* extra = nullptr);

// The same for objects the caller already holds.
DWORD waitForWaitables(std::span<Waitable* const> objects, bool waitAll, DWORD timeoutMs);

// Abandons the in-process mutexes the calling thread owns (its end).
void releaseOwnedMutexesAtExit();

// The calling thread's id as GetCurrentThreadId answers it (the kernel's
// thread id: unique among the processes of the machine).
DWORD currentThreadId();

// Whether the thread of that id (as GetCurrentThreadId answers it, in any
// process of the machine) still runs. A thread that ended, or whose process
// died and is only waiting to be reaped, does not.
bool threadRunning(DWORD threadId);

}  // namespace win32
