// Thread message queues: posting, GetMessage/PeekMessage, dispatching and
// waiting for input together with kernel objects.
//
// PeekMessage looks in Windows' order: messages sent by other threads are
// run first; then posted messages; then WM_QUIT (once no posted message is
// left); then input; then WM_PAINT; then WM_TIMER. Paint and timer messages
// are generated when looked for, never queued, so they come only when
// nothing else is waiting.
#include "crossprocess.h"
#include "display.h"
#include "hook.h"
#include "queue.h"

#include <internal/idlescript.h>

#include <algorithm>
#include <climits>
#include <map>

namespace win32::user {
namespace {

constexpr size_t kPostLimit = 10000;  // Windows' default per-queue limit

struct QueueRegistry {
  std::map<DWORD, std::shared_ptr<ThreadQueue>> queues;
};

QueueRegistry& registry() {
  static QueueRegistry* r = new QueueRegistry;
  return *r;
}

// Ends the queue with its thread: senders waiting on it are answered 0 and
// its windows go.
struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueHolder() {
    if (!queue) return;
    std::deque<std::shared_ptr<SentMessage>> pending;
    {
      Lock lock(userMutex());
      queue->alive = false;
      registry().queues.erase(queue->threadId);
      pending.swap(queue->sent);
      for (auto& sm : pending) {
        sm->replied = true;
        if (sm->sender) sm->sender->wake->set();
      }
    }
    for (auto& sm : pending)
      if (sm->onReply) sm->onReply(0);
    dropThreadWindows(queue->threadId);
  }
};

thread_local QueueHolder holder;

bool postTo(const std::shared_ptr<ThreadQueue>& q, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Lock lock(userMutex());
  if (!q->alive) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return false;
  }
  if (q->posted.size() >= kPostLimit) {
    SetLastError(ERROR_NOT_ENOUGH_QUOTA);
    return false;
  }
  q->posted.push_back(MSG{hwnd, msg, wParam, lParam, (DWORD)tickNow(), cursorPositionLocked()});
  q->signal(QS_POSTMESSAGE | QS_ALLPOSTMESSAGE);
  return true;
}

// The kinds of messages PeekMessage's PM_QS_* flags let through (all by default).
DWORD kindsOf(UINT flags) {
  DWORD kinds = flags >> 16;
  return kinds ? kinds | QS_SENDMESSAGE : QS_ALLINPUT | QS_ALLPOSTMESSAGE;
}

// One look into the queue. Answers 1 with a message, 0 without, -1 for a bad window filter.
int peek(MSG& out, HWND filter, UINT min, UINT max, UINT flags) {
  auto q = currentQueue();
  if (filter && filter != (HWND)-1) {
    Lock lock(userMutex());
    Window* w = findLocked(filter);
    if (!w || w->threadId != q->threadId) {
      setWindowError();
      return -1;
    }
  }
  bool remove = (flags & PM_REMOVE) != 0;
  DWORD kinds = kindsOf(flags);
  runSentMessages();
  {
    Lock lock(userMutex());
    q->changedBits = 0;
    if (kinds & QS_POSTMESSAGE) {
      auto it = std::find_if(q->posted.begin(), q->posted.end(), [&](const MSG& m) {
        return passesFilterLocked(m.hwnd, m.message, filter, min, max);
      });
      if (it != q->posted.end()) {
        out = *it;
        if (remove) q->posted.erase(it);
        goto found;
      }
      // WM_QUIT passes every filter of numbers, as Windows documents.
      if (q->quitPending && q->posted.empty()) {
        out = MSG{nullptr, WM_QUIT, (WPARAM)q->quitCode, 0, (DWORD)tickNow(), cursorPositionLocked()};
        if (remove) q->quitPending = false;
        goto found;
      }
    }
  }
  if ((kinds & QS_INPUT) && takeInputMessage(out, filter, min, max, remove)) {
    Lock lock(userMutex());
    goto found;
  }
  {
    Lock lock(userMutex());
    if ((kinds & QS_PAINT) && passesFilterLocked(nullptr, WM_PAINT, nullptr, min, max)) {
      if (HWND h = windowNeedingPaintLocked(*q, filter)) {
        out = MSG{h, WM_PAINT, 0, 0, (DWORD)tickNow(), cursorPositionLocked()};
        goto found;
      }
    }
    if ((kinds & QS_TIMER) && passesFilterLocked(nullptr, WM_TIMER, nullptr, min, max) &&
        takeTimerMessageLocked(*q, out, filter, remove))
      goto found;
  }
  // Nothing left: what the thread drew goes to the screen now.
  display::flush();
  return 0;
found:
  {
    Lock lock(userMutex());
    q->messageTime = out.time;
    q->messagePos = out.pt;
  }
  if (hasHooks(WH_GETMESSAGE)) callHooks(WH_GETMESSAGE, HC_ACTION, remove ? PM_REMOVE : PM_NOREMOVE, (LPARAM)&out);
  return 1;
}

}  // namespace

ULONGLONG tickNow() { return GetTickCount64(); }

std::shared_ptr<ThreadQueue> currentQueue() {
  if (holder.queue) return holder.queue;
  auto q = std::make_shared<ThreadQueue>();
  q->threadId = win32::currentThreadId();
  Lock lock(userMutex());
  registry().queues[q->threadId] = q;
  holder.queue = q;
  return q;
}

std::shared_ptr<ThreadQueue> queueOfThreadLocked(DWORD threadId) {
  auto& r = registry().queues;
  auto it = r.find(threadId);
  return it == r.end() ? nullptr : it->second;
}

bool passesFilterLocked(HWND msgWindow, UINT msg, HWND filter, UINT min, UINT max) {
  if ((min || max) && (msg < min || msg > max)) return false;
  if (!filter) return true;
  if (filter == (HWND)-1) return msgWindow == nullptr;
  if (msgWindow == filter) return true;
  Window* w = findLocked(msgWindow);
  for (; w && w->isChild(); w = w->parent)
    if (w->parent && w->parent->handle == filter) return true;
  return false;
}

DWORD queueBitsLocked(ThreadQueue& q) {
  DWORD bits = 0;
  if (!q.posted.empty()) bits |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
  if (q.quitPending) bits |= QS_POSTMESSAGE;
  if (!q.sent.empty() || !q.callbacks.empty()) bits |= QS_SENDMESSAGE;
  for (const MSG& m : q.input)
    bits |= (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST) ? QS_KEY
            : m.message == WM_MOUSEMOVE                            ? QS_MOUSEMOVE
                                                                   : QS_MOUSEBUTTON;
  if (windowNeedingPaintLocked(q, nullptr)) bits |= QS_PAINT;
  if (nextTimerDueLocked(q) <= tickNow()) bits |= QS_TIMER;
  return bits;
}

void purgeWindowMessagesLocked(ThreadQueue& q, HWND hwnd) {
  std::erase_if(q.posted, [&](const MSG& m) { return m.hwnd == hwnd; });
  killWindowTimersLocked(q, hwnd);
}

bool waitForQueue(DWORD mask, DWORD timeoutMs, bool anyInput) {
  auto q = currentQueue();
  ULONGLONG deadline = timeoutMs == INFINITE ? ULLONG_MAX : tickNow() + timeoutMs;
  for (;;) {
    ULONGLONG due;
    {
      Lock lock(userMutex());
      DWORD now = queueBitsLocked(*q);
      // Paint and timers count whenever they are there; the rest only when new.
      DWORD bits = anyInput ? now : (q->changedBits & now) | (now & (QS_PAINT | QS_TIMER | QS_SENDMESSAGE));
      if (bits & mask) return true;
      due = nextTimerDueLocked(*q);
    }
    ULONGLONG now = tickNow();
    if (now >= deadline) return false;
    ULONGLONG until = std::min(deadline, due);
    DWORD wait = until == ULLONG_MAX ? INFINITE : (DWORD)std::min<ULONGLONG>(until > now ? until - now : 0, 0x7FFFFFFF);
    display::flush();  // an exposure wakes the thread to send its pixels again
    Waitable* event = q->wake.get();
    win32::waitForWaitables(std::span<Waitable* const>(&event, 1), false, wait);
  }
}

}  // namespace win32::user

using namespace win32::user;

extern "C" BOOL WINAPI PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) {
    // Its data lives only as long as a send; Windows refuses to post it.
    SetLastError(ERROR_MESSAGE_SYNC_ONLY);
    return FALSE;
  }
  if (!hwnd) return PostThreadMessageA(GetCurrentThreadId(), msg, wParam, lParam);
  if (hwnd == HWND_BROADCAST) {
    std::vector<std::pair<HWND, std::shared_ptr<ThreadQueue>>> targets;
    {
      Lock lock(userMutex());
      for (Window* c : desktopLocked()->children) targets.emplace_back(c->handle, c->queue);
    }
    for (auto& [h, q] : targets)
      if (q) postTo(q, h, msg, wParam, lParam);
    return TRUE;
  }
  auto w = findWindow(hwnd);
  if (!w) {
    ForeignWindow foreign;
    if (findForeignWindow(hwnd, foreign)) return sendToProcess(hwnd, foreign, msg, wParam, lParam, true, 0, nullptr);
    setWindowError();
    return FALSE;
  }
  if (!w->queue) {
    SetLastError(ERROR_ACCESS_DENIED);  // the desktop has no queue here
    return FALSE;
  }
  return postTo(w->queue, hwnd, msg, wParam, lParam);
}

extern "C" BOOL WINAPI PostThreadMessageA(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) {
    SetLastError(ERROR_MESSAGE_SYNC_ONLY);
    return FALSE;
  }
  std::shared_ptr<ThreadQueue> q;
  if (threadId == GetCurrentThreadId()) q = currentQueue();
  else {
    Lock lock(userMutex());
    q = queueOfThreadLocked(threadId);
  }
  if (!q) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return FALSE;
  }
  return postTo(q, nullptr, msg, wParam, lParam);
}

extern "C" VOID WINAPI PostQuitMessage(int code) {
  auto q = currentQueue();
  Lock lock(userMutex());
  q->quitPending = true;
  q->quitCode = code;
  q->signal(QS_POSTMESSAGE | QS_ALLPOSTMESSAGE);
}

extern "C" BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT min, UINT max, UINT flags) {
  MSG m{};
  int r = peek(m, hwnd, min, max, flags);
  if (r <= 0) return FALSE;
  if (msg) *msg = m;
  return TRUE;
}

extern "C" BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT min, UINT max) {
  if (!msg) {
    SetLastError(ERROR_NOACCESS);
    return -1;
  }
  for (;;) {
    int r = peek(*msg, hwnd, min, max, PM_REMOVE);
    if (r < 0) return -1;
    if (r > 0) return msg->message != WM_QUIT;
    // A run without a display may script what a person would do.
    if (win32::script::runIdleStep()) continue;
    waitForQueue(QS_ALLINPUT, INFINITE, false);
  }
}

extern "C" BOOL WINAPI WaitMessage(void) {
  waitForQueue(QS_ALLINPUT, INFINITE, false);
  return TRUE;
}

extern "C" LRESULT WINAPI DispatchMessageA(const MSG* msg) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (msg->message == WM_TIMER && msg->lParam) {
    // Only a procedure of a live timer is called: a forged WM_TIMER calls nothing.
    auto q = currentQueue();
    bool known;
    {
      Lock lock(userMutex());
      known = isTimerProcLocked(*q, msg->lParam);
    }
    if (known) ((TIMERPROC)msg->lParam)(msg->hwnd, msg->message, msg->wParam, (DWORD)tickNow());
    return 0;
  }
  if (!msg->hwnd) return 0;
  auto w = findWindow(msg->hwnd);
  if (!w) return 0;
  WNDPROC proc;
  {
    Lock lock(userMutex());
    if (w->threadId != callingThreadId() && !w->isDesktop()) {
      SetLastError(ERROR_MESSAGE_SYNC_ONLY);
      return 0;
    }
    proc = w->proc;
  }
  return callProcedure(msg->hwnd, proc, msg->message, msg->wParam, msg->lParam);
}

extern "C" DWORD WINAPI GetQueueStatus(UINT flags) {
  auto q = currentQueue();
  Lock lock(userMutex());
  // High word: what the queue holds now; low word: what came since the
  // queue was last looked at and is still there.
  DWORD now = queueBitsLocked(*q) & flags;
  DWORD fresh = q->changedBits & now;
  q->changedBits &= ~flags;
  return MAKELONG(fresh, now);
}

extern "C" BOOL WINAPI GetInputState(void) {
  auto q = currentQueue();
  Lock lock(userMutex());
  return (queueBitsLocked(*q) & (QS_KEY | QS_MOUSEBUTTON)) != 0;
}

extern "C" DWORD WINAPI MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD timeoutMs, DWORD mask,
                                                    DWORD flags) {
  if (count >= MAXIMUM_WAIT_OBJECTS || (count && !handles)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  auto q = currentQueue();
  bool anyInput = (flags & MWMO_INPUTAVAILABLE) != 0;
  bool waitAll = (flags & MWMO_WAITALL) != 0;
  ULONGLONG deadline = timeoutMs == INFINITE ? ULLONG_MAX : tickNow() + timeoutMs;
  for (;;) {
    ULONGLONG due;
    {
      Lock lock(userMutex());
      DWORD now = queueBitsLocked(*q);
      DWORD bits = anyInput ? now : (q->changedBits & now) | (now & (QS_PAINT | QS_TIMER));
      if ((bits & mask) && !waitAll) return WAIT_OBJECT_0 + count;
      due = nextTimerDueLocked(*q);
    }
    ULONGLONG now = tickNow();
    ULONGLONG until = std::min(deadline, due);
    DWORD wait = until == ULLONG_MAX ? INFINITE : (DWORD)std::min<ULONGLONG>(until > now ? until - now : 0, 0x7FFFFFFF);
    display::flush();
    DWORD r = win32::waitForObjects(std::span<const HANDLE>(handles, count), waitAll, wait, q->wake.get());
    if (r == WAIT_OBJECT_0 + count) {
      if (waitAll) return r;
      continue;  // something arrived: is it input the caller asked for?
    }
    if (r == WAIT_TIMEOUT) {
      if (tickNow() >= deadline) return WAIT_TIMEOUT;
      continue;  // a timer fell due
    }
    return r;
  }
}

extern "C" DWORD WINAPI MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD timeoutMs,
                                                  DWORD mask) {
  return MsgWaitForMultipleObjectsEx(count, handles, timeoutMs, mask, waitAll ? MWMO_WAITALL : 0);
}

extern "C" LONG WINAPI GetMessageTime(void) {
  auto q = currentQueue();
  Lock lock(userMutex());
  return (LONG)q->messageTime;
}

extern "C" DWORD WINAPI GetMessagePos(void) {
  auto q = currentQueue();
  Lock lock(userMutex());
  return MAKELONG((WORD)(SHORT)q->messagePos.x, (WORD)(SHORT)q->messagePos.y);
}

extern "C" LPARAM WINAPI GetMessageExtraInfo(void) {
  auto q = currentQueue();
  Lock lock(userMutex());
  return q->extraInfo;
}

extern "C" LPARAM WINAPI SetMessageExtraInfo(LPARAM info) {
  auto q = currentQueue();
  Lock lock(userMutex());
  LPARAM old = q->extraInfo;
  q->extraInfo = info;
  return old;
}
