// Timers: SetTimer/KillTimer for windows and for the thread (no window).
// A timer does not queue messages: WM_TIMER is made when the queue is looked
// at, the timer is due and nothing else waits, so that a slow program gets
// one WM_TIMER for many periods, as on Windows.
#include "queue.h"

#include <algorithm>
#include <climits>

namespace win32::user {
namespace {

constexpr UINT kMinimumElapse = 10;            // USER_TIMER_MINIMUM
constexpr UINT kMaximumElapse = 0x7FFFFFFF;    // USER_TIMER_MAXIMUM
constexpr UINT_PTR kLastThreadTimerId = 0x7FFF;  // thread timers have ids 1 .. this
constexpr DWORD kNoMoreUserHandles = ERROR_NO_MORE_USER_HANDLES;
UINT_PTR nextThreadTimerId = kLastThreadTimerId;  // ids of thread timers count down from here

}  // namespace

ULONGLONG nextTimerDueLocked(const ThreadQueue& q) {
  ULONGLONG due = ULLONG_MAX;
  for (const Timer& t : q.timers) due = std::min(due, t.due);
  return due;
}

void killWindowTimersLocked(ThreadQueue& q, HWND hwnd) {
  std::erase_if(q.timers, [&](const Timer& t) { return t.hwnd == hwnd; });
}

bool takeTimerMessageLocked(ThreadQueue& q, MSG& out, HWND filter, bool remove) {
  ULONGLONG now = tickNow();
  for (Timer& t : q.timers) {
    if (t.due > now || !passesFilterLocked(t.hwnd, WM_TIMER, filter, 0, 0)) continue;
    out = MSG{t.hwnd, WM_TIMER, t.id, (LPARAM)t.proc, (DWORD)now, cursorPositionLocked()};
    if (remove) t.due = now + t.elapse;
    return true;
  }
  return false;
}

bool isTimerProcLocked(const ThreadQueue& q, LPARAM proc) {
  return std::any_of(q.timers.begin(), q.timers.end(), [&](const Timer& t) { return (LPARAM)t.proc == proc; });
}

}  // namespace win32::user

using namespace win32::user;

extern "C" UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  auto q = currentQueue();
  Lock lock(userMutex());
  if (hwnd) {
    Window* w = findLocked(hwnd);
    if (!w) {
      setWindowError();
      return 0;
    }
    if (w->threadId != q->threadId) {
      SetLastError(ERROR_ACCESS_DENIED);
      return 0;
    }
  }
  elapse = std::clamp(elapse, kMinimumElapse, kMaximumElapse);
  if (!hwnd) {
    auto it = std::find_if(q->timers.begin(), q->timers.end(), [&](const Timer& t) { return !t.hwnd && t.id == id; });
    if (it == q->timers.end() || !id) {
      // A new thread timer gets an id of its own; the one given is ignored.
      // With every id taken there is none to give (the search would not end).
      const auto threadTimers = std::count_if(q->timers.begin(), q->timers.end(), [](const Timer& t) { return !t.hwnd; });
      if ((UINT_PTR)threadTimers >= kLastThreadTimerId) {
        SetLastError(kNoMoreUserHandles);
        return 0;
      }
      do id = nextThreadTimerId = nextThreadTimerId > 1 ? nextThreadTimerId - 1 : kLastThreadTimerId;
      while (std::any_of(q->timers.begin(), q->timers.end(), [&](const Timer& t) { return !t.hwnd && t.id == id; }));
    }
  }
  ULONGLONG due = tickNow() + elapse;
  for (Timer& t : q->timers)
    if (t.hwnd == hwnd && t.id == id) {
      t = Timer{hwnd, id, elapse, proc, due};
      return hwnd ? (id ? id : 1) : id;
    }
  q->timers.push_back(Timer{hwnd, id, elapse, proc, due});
  q->wake->set();  // a waiting GetMessage must recompute its wake-up time
  return hwnd ? (id ? id : 1) : id;
}

extern "C" BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id) {
  auto q = currentQueue();
  Lock lock(userMutex());
  if (hwnd && !findLocked(hwnd)) {
    setWindowError();
    return FALSE;
  }
  auto it = std::find_if(q->timers.begin(), q->timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == q->timers.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  q->timers.erase(it);
  return TRUE;
}
