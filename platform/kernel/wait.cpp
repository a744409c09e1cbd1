// The wait functions: one mechanism for every waitable object of the layer.
//
// A waiting thread registers a Waiter with each object it waits on and
// sleeps on the Waiter's condition variable; an object whose state changes
// wakes its registered waiters, which then test their whole set again under
// waitLock(). Objects shared between processes are re-tried at short
// intervals, since no in-process lock sees their changes.
#include <internal/wait.h>

#include <pthread.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <optional>
#include <thread>

namespace win32 {

struct Waiter {
  std::condition_variable wake;
  bool woken = false;
  // Objects pulsed while this thread waited: signalled for its next look only.
  std::vector<const Waitable*> pulsed;
  // An auto-reset pulse offered to several waiters goes to the first that
  // takes the pulsed object: the ticket it shares with the others is then spent.
  std::vector<std::pair<const Waitable*, std::shared_ptr<bool>>> pulseTickets;
};

std::mutex& waitLock() {
  static std::mutex lock;
  return lock;
}

void Waitable::pulseWaiters(bool all) {
  auto ticket = std::make_shared<bool>(false);  // shared by the waiters of one auto-reset pulse
  for (Waiter* waiter : waiters_) {
    waiter->pulsed.push_back(this);
    if (!all) waiter->pulseTickets.emplace_back(this, ticket);
  }
  wakeWaiters();
}

void Waitable::wakeWaiters() {
  for (Waiter* waiter : waiters_) {
    waiter->woken = true;
    waiter->wake.notify_one();
  }
}

// Enrols a waiter with every object of a wait for its duration (waitLock() held).
class WaitRegistration {
 public:
  WaitRegistration(std::span<Waitable* const> objects, Waiter* waiter) : objects_(objects), waiter_(waiter) {
    for (Waitable* object : objects_) object->waiters_.push_back(waiter_);
  }
  ~WaitRegistration() {
    for (Waitable* object : objects_) {
      auto& list = object->waiters_;
      auto it = std::find(list.begin(), list.end(), waiter_);
      if (it != list.end()) list.erase(it);
    }
  }
  WaitRegistration(const WaitRegistration&) = delete;
  WaitRegistration& operator=(const WaitRegistration&) = delete;

 private:
  std::span<Waitable* const> objects_;
  Waiter* waiter_;
};

namespace {
// The kernel's id of the calling thread, asked once per thread. A forked
// child's only thread has a new id: the fork handler forgets the parent's.
thread_local DWORD cachedThreadId = 0;
[[maybe_unused]] const int forkHandler = pthread_atfork(nullptr, nullptr, [] { cachedThreadId = 0; });
}  // namespace

DWORD currentThreadId() {
  if (cachedThreadId == 0) cachedThreadId = static_cast<DWORD>(::syscall(SYS_gettid));
  return cachedThreadId;
}

namespace {

// One attempt to satisfy a wait for any object (waitLock() held): the first
// object in array order that is signalled wins, as Windows answers.
// Whether `object` counts as signalled for this waiter now: its state, or
// a pulse it received while the waiter slept.
bool ready(const Waitable* object, const Waiter& waiter, DWORD threadId) {
  if (object->isSignaled(threadId)) return true;
  if (std::find(waiter.pulsed.begin(), waiter.pulsed.end(), object) == waiter.pulsed.end()) return false;
  // An auto-reset pulse lets one thread through: the first to spend its ticket.
  for (const auto& [pulsed, spent] : waiter.pulseTickets)
    if (pulsed == object && *spent) return false;
  return true;
}

void spendPulseTickets(Waiter& waiter, const Waitable* object) {
  for (auto& [pulsed, spent] : waiter.pulseTickets)
    if (pulsed == object) *spent = true;
}

std::optional<DWORD> tryAny(std::span<Waitable* const> objects, Waiter& waiter, DWORD threadId) {
  for (size_t i = 0; i < objects.size(); ++i) {
    Waitable* object = objects[i];
    if (!object->polled() && !ready(object, waiter, threadId)) continue;
    Take took = object->take(threadId);
    if (took != Take::refused) spendPulseTickets(waiter, object);
    if (took == Take::taken) return WAIT_OBJECT_0 + static_cast<DWORD>(i);
    if (took == Take::abandoned) return WAIT_ABANDONED_0 + static_cast<DWORD>(i);
  }
  return std::nullopt;
}

// One attempt to satisfy a wait for all objects (waitLock() held): nothing
// is consumed unless everything can be.
std::optional<DWORD> tryAll(std::span<Waitable* const> objects, Waiter& waiter, DWORD threadId) {
  for (Waitable* object : objects)
    if (!object->polled() && !ready(object, waiter, threadId)) return std::nullopt;
  std::optional<size_t> firstAbandoned;
  for (size_t i = 0; i < objects.size(); ++i) {
    if (!objects[i]->polled()) continue;
    Take took = objects[i]->take(threadId);
    if (took == Take::refused) {
      for (size_t j = 0; j < i; ++j)
        if (objects[j]->polled()) objects[j]->untake(threadId);
      return std::nullopt;
    }
    if (took == Take::abandoned && !firstAbandoned) firstAbandoned = i;
  }
  for (size_t i = 0; i < objects.size(); ++i) {
    if (objects[i]->polled()) continue;
    if (objects[i]->take(threadId) == Take::abandoned && !firstAbandoned) firstAbandoned = i;
  }
  for (Waitable* object : objects) spendPulseTickets(waiter, object);
  if (firstAbandoned) return WAIT_ABANDONED_0 + static_cast<DWORD>(*firstAbandoned);
  return WAIT_OBJECT_0;
}

constexpr auto kFirstPoll = std::chrono::milliseconds(1);
constexpr auto kLongestPoll = std::chrono::milliseconds(16);

}  // namespace

DWORD waitForWaitables(std::span<Waitable* const> objects, bool waitAll, DWORD timeoutMs) {
  if (objects.empty() || objects.size() > MAXIMUM_WAIT_OBJECTS + 1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  if (waitAll) {
    for (size_t i = 0; i < objects.size(); ++i)
      if (std::find(objects.begin() + i + 1, objects.end(), objects[i]) != objects.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
      }
  }
  if (objects.size() == 1 && objects[0]->polled()) {
    if (auto took = objects[0]->waitAlone(currentThreadId(), timeoutMs)) {
      if (*took == Take::taken) return WAIT_OBJECT_0;
      if (*took == Take::abandoned) return WAIT_ABANDONED_0;
      return WAIT_TIMEOUT;
    }
  }
  const bool anyPolled = std::any_of(objects.begin(), objects.end(), [](Waitable* o) { return o->polled(); });
  const DWORD threadId = currentThreadId();
  using Clock = std::chrono::steady_clock;
  const bool forever = timeoutMs == INFINITE;
  const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
  auto poll = kFirstPoll;

  Waiter waiter;
  std::unique_lock lock(waitLock());
  WaitRegistration registration(objects, &waiter);
  for (;;) {
    auto answer = waitAll ? tryAll(objects, waiter, threadId) : tryAny(objects, waiter, threadId);
    // A pulse counts at the moment it happens only.
    waiter.pulsed.clear();
    waiter.pulseTickets.clear();
    if (answer) return *answer;
    auto now = Clock::now();
    if (!forever && now >= deadline) return WAIT_TIMEOUT;
    waiter.woken = false;
    auto until = forever ? Clock::time_point::max() : deadline;
    if (anyPolled) {
      until = std::min(until, now + poll);
      poll = std::min(poll * 2, std::chrono::duration_cast<std::chrono::milliseconds>(kLongestPoll));
    }
    if (until == Clock::time_point::max())
      waiter.wake.wait(lock, [&] { return waiter.woken; });
    else
      waiter.wake.wait_until(lock, until, [&] { return waiter.woken; });
  }
}

DWORD waitForObjects(std::span<const HANDLE> handles, bool waitAll, DWORD timeoutMs, Waitable* extra) {
  if (handles.size() > MAXIMUM_WAIT_OBJECTS || (handles.empty() && !extra)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  // Hold every object for the whole wait: a handle closed meanwhile by
  // another thread must not free an object this wait still watches.
  std::vector<std::shared_ptr<Waitable>> held;
  std::vector<Waitable*> objects;
  held.reserve(handles.size());
  objects.reserve(handles.size() + 1);
  for (HANDLE handle : handles) {
    auto object = lookupHandleAs<Waitable>(handle);
    if (!object) return WAIT_FAILED;  // ERROR_INVALID_HANDLE already set
    objects.push_back(object.get());
    held.push_back(std::move(object));
  }
  if (extra) objects.push_back(extra);
  return waitForWaitables(objects, waitAll, timeoutMs);
}

// --- Event --------------------------------------------------------------

void Event::set() {
  std::lock_guard guard(waitLock());
  signaled_ = true;
  wakeWaiters();
}

void Event::reset() {
  std::lock_guard guard(waitLock());
  signaled_ = false;
}

// A pulse releases the threads waiting at this moment (one of them for an
// auto-reset event) and leaves the event reset; nobody waiting, it is lost.
void Event::pulse() {
  std::lock_guard guard(waitLock());
  signaled_ = false;
  pulseWaiters(manualReset_);
}

bool Event::isSet() const {
  std::lock_guard guard(waitLock());
  return signaled_;
}

Take Event::take(DWORD threadId) {
  if (!manualReset_) signaled_ = false;
  return Take::taken;
}

}  // namespace win32

using win32::currentThreadId;

extern "C" DWORD WINAPI WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  return win32::waitForObjects(std::span<const HANDLE>(handles, count), waitAll != FALSE, milliseconds);
}

extern "C" DWORD WINAPI WaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                                 BOOL alertable) {
  // No asynchronous procedure calls are ever queued here, so an alertable
  // wait ends only as a plain one does.
  return WaitForMultipleObjects(count, handles, waitAll, milliseconds);
}

extern "C" DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  return win32::waitForObjects(std::span<const HANDLE>(&handle, 1), false, milliseconds);
}

extern "C" DWORD WINAPI WaitForSingleObjectEx(HANDLE handle, DWORD milliseconds, BOOL alertable) {
  return WaitForSingleObject(handle, milliseconds);
}

extern "C" DWORD WINAPI SleepEx(DWORD milliseconds, BOOL alertable) {
  if (milliseconds == INFINITE) {
    for (;;) std::this_thread::sleep_for(std::chrono::hours(24));
  }
  if (milliseconds == 0)
    sched_yield();
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  return 0;
}

extern "C" BOOL WINAPI SwitchToThread(void) {
  // sched_yield cannot tell whether another thread ran; Windows answers
  // nonzero when one did. Reporting that one may have is the honest reading.
  return sched_yield() == 0 ? TRUE : FALSE;
}
