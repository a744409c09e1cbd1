// Sending messages: to a window of the calling thread the procedure is
// called directly; to a window of another thread the message is queued for
// that thread and the sender waits, running messages sent to itself
// meanwhile (so two threads sending to each other do not dead-lock); to a
// window of another process it travels over that process's socket
// (crossprocess.cpp).
#include "crossprocess.h"
#include "hook.h"
#include "queue.h"
#include "window.h"
#include "windowhandle.h"

#include <climits>

namespace win32::user {
namespace {

// Messages whose parameters point into the sender's memory and that have no
// copy across processes; sending them to another process fails.
bool carriesPointer(UINT msg) {
  switch (msg) {
    case WM_CREATE: case WM_NCCREATE: case WM_GETTEXT: case WM_SETTEXT: case WM_GETMINMAXINFO:
    case WM_WINDOWPOSCHANGING: case WM_WINDOWPOSCHANGED: case WM_NCCALCSIZE: case WM_STYLECHANGING:
    case WM_STYLECHANGED: case WM_DRAWITEM: case WM_MEASUREITEM: case WM_COMPAREITEM: case WM_DELETEITEM:
    case WM_NOTIFY: case WM_HELP: case WM_MDICREATE:
      return true;
    default:
      return false;
  }
}

void reply(const std::shared_ptr<SentMessage>& sm, LRESULT result) {
  std::function<void(LRESULT)> onReply;
  {
    Lock lock(userMutex());
    if (sm->replied) return;
    sm->replied = true;
    sm->result = result;
    if (sm->sender) sm->sender->wake->set();
    onReply = std::move(sm->onReply);
  }
  if (onReply) onReply(result);
}

// Sends to a window of another thread of this process. Answers false on
// timeout (ERROR_TIMEOUT) or when the receiver went away.
bool sendToThread(const WindowPtr& w, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags, DWORD timeoutMs,
                  LRESULT* result) {
  auto self = currentQueue();
  auto sm = std::make_shared<SentMessage>();
  sm->hwnd = w->handle;
  sm->msg = msg;
  sm->wParam = wParam;
  sm->lParam = lParam;
  sm->sender = self;
  queueSentMessage(w->queue, sm);
  ULONGLONG deadline = timeoutMs == INFINITE ? ULLONG_MAX : tickNow() + timeoutMs;
  for (;;) {
    {
      Lock lock(userMutex());
      if (sm->replied) {
        if (result) *result = sm->result;
        return true;
      }
      if (!w->queue->alive) {
        setWindowError();
        return false;
      }
    }
    if (!(flags & SMTO_BLOCK)) runSentMessages();
    ULONGLONG now = tickNow();
    if (now >= deadline) {
      // A message the receiver has not begun is dropped: it would run after
      // its sender gave up on it.
      Lock lock(userMutex());
      if (sm->replied) continue;
      std::erase(w->queue->sent, sm);
      SetLastError(ERROR_TIMEOUT);
      return false;
    }
    {
      Lock lock(userMutex());
      if (sm->replied || (!self->sent.empty() && !(flags & SMTO_BLOCK))) continue;
    }
    DWORD wait = deadline == ULLONG_MAX ? INFINITE : (DWORD)std::min<ULONGLONG>(deadline - now, 0x7FFFFFFF);
    Waitable* event = self->wake.get();
    win32::waitForWaitables(std::span<Waitable* const>(&event, 1), false, wait);
  }
}

// The common path of SendMessageA, SendMessageTimeoutA and the internal sends.
// The last window of this thread sent to, while procedureGeneration() stands.
// Only the owning thread destroys a window, so a remembered window of the
// calling thread cannot vanish unseen.
struct LastTarget {
  HWND hwnd = nullptr;
  WNDPROC proc = nullptr;
  uint64_t generation = 0;
};
// initial-exec: a plain TLS offset instead of a __tls_get_addr call on every send.
__attribute__((tls_model("initial-exec"))) thread_local LastTarget lastTarget;

bool sendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags, DWORD timeoutMs, LRESULT* result) {
  if (hwnd && hwnd == lastTarget.hwnd &&
      procedureGeneration().load(std::memory_order_acquire) == lastTarget.generation) {
    LRESULT r = callProcedure(hwnd, lastTarget.proc, msg, wParam, lParam);
    if (result) *result = r;
    return true;
  }
  if (result) *result = 0;
  WNDPROC proc = nullptr;
  WindowPtr other;
  bool found;
  {
    // One look under the lock: the common case (a window of this thread) needs nothing more.
    Lock lock(userMutex());
    Window* w = findLocked(hwnd);
    found = w != nullptr;
    if (w && (w->isDesktop() || w->threadId == callingThreadId())) {
      proc = w->proc;
      if (!w->isDesktop() && !w->destroying)
        lastTarget = LastTarget{hwnd, proc, procedureGeneration().load(std::memory_order_acquire)};
    } else if (w) {
      other = sharedLocked(w);
    }
  }
  if (found && !other) {
    LRESULT r = callProcedure(hwnd, proc, msg, wParam, lParam);
    if (result) *result = r;
    return true;
  }
  if (other) return sendToThread(other, msg, wParam, lParam, flags, timeoutMs, result);
  ForeignWindow foreign;
  if (findForeignWindow(hwnd, foreign)) {
    if (carriesPointer(msg)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
    return sendToProcess(hwnd, foreign, msg, wParam, lParam, false, timeoutMs, result);
  }
  setWindowError();
  return false;
}

}  // namespace

LRESULT callProcedure(HWND hwnd, WNDPROC proc, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hasHooks(WH_CALLWNDPROC)) {
    CWPSTRUCT cwp{lParam, wParam, msg, hwnd};
    callHooks(WH_CALLWNDPROC, HC_ACTION, 0, (LPARAM)&cwp);
    // A hook may have subclassed the window meanwhile.
    Lock lock(userMutex());
    if (Window* w = findLocked(hwnd)) proc = w->proc;
  }
  return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

LRESULT sendInternal(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT r = 0;
  sendMessage(hwnd, msg, wParam, lParam, SMTO_NORMAL, INFINITE, &r);
  return r;
}

void runSentMessage(const std::shared_ptr<SentMessage>& sm) {
  auto q = currentQueue();
  WNDPROC proc = nullptr;
  {
    Lock lock(userMutex());
    q->receiving.push_back(sm);
    if (Window* w = findLocked(sm->hwnd)) proc = w->proc;
  }
  LRESULT r = proc ? callProcedure(sm->hwnd, proc, sm->msg, sm->wParam, sm->lParam) : 0;
  {
    Lock lock(userMutex());
    q->receiving.pop_back();
  }
  reply(sm, r);
}

bool runSentMessages() {
  auto q = currentQueue();
  bool ran = false;
  for (;;) {
    std::shared_ptr<SentMessage> sm;
    std::function<void()> callback;
    {
      Lock lock(userMutex());
      if (!q->sent.empty()) {
        sm = q->sent.front();
        q->sent.pop_front();
      } else if (!q->callbacks.empty()) {
        callback = std::move(q->callbacks.front());
        q->callbacks.pop_front();
      } else {
        break;
      }
    }
    if (sm) runSentMessage(sm);
    else callback();
    ran = true;
  }
  return ran;
}

void queueSentMessage(const std::shared_ptr<ThreadQueue>& q, std::shared_ptr<SentMessage> sm) {
  Lock lock(userMutex());
  if (!q->alive) {
    lock.unlock();
    reply(sm, 0);
    return;
  }
  q->sent.push_back(std::move(sm));
  q->signal(QS_SENDMESSAGE);
}

}  // namespace win32::user

using namespace win32::user;

namespace {

// HWND_BROADCAST: every top-level window of the process.
std::vector<HWND> broadcastTargets() {
  std::vector<HWND> targets;
  Lock lock(userMutex());
  for (Window* c : desktopLocked()->children) targets.push_back(c->handle);
  return targets;
}

// Whether `w` runs on the calling thread (the desktop answers any thread).
bool onThisThread(const WindowPtr& w) { return w->isDesktop() || w->threadId == callingThreadId(); }

// Calls the procedure of a window of this thread now.
LRESULT callNow(const WindowPtr& w, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc;
  {
    Lock lock(userMutex());
    proc = w->proc;
  }
  return callProcedure(hwnd, proc, msg, wParam, lParam);
}

// A message for another thread whose sender does not wait for it.
std::shared_ptr<SentMessage> unwaitedMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto sm = std::make_shared<SentMessage>();
  sm->hwnd = hwnd;
  sm->msg = msg;
  sm->wParam = wParam;
  sm->lParam = lParam;
  sm->notify = true;
  return sm;
}

}  // namespace

extern "C" LRESULT WINAPI SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    for (HWND t : broadcastTargets()) sendMessage(t, msg, wParam, lParam, SMTO_NORMAL, INFINITE, nullptr);
    return 1;
  }
  LRESULT r = 0;
  sendMessage(hwnd, msg, wParam, lParam, SMTO_NORMAL, INFINITE, &r);
  return r;
}

extern "C" LRESULT WINAPI SendMessageTimeoutA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags,
                                              UINT timeout, DWORD_PTR* result) {
  if (hwnd == HWND_BROADCAST) {
    // Each window gets its own time; a window that does not answer in it is passed by.
    for (HWND t : broadcastTargets()) sendMessage(t, msg, wParam, lParam, flags, timeout, nullptr);
    if (result) *result = 0;
    return TRUE;
  }
  LRESULT r = 0;
  bool ok = sendMessage(hwnd, msg, wParam, lParam, flags, timeout, &r);
  if (result) *result = ok ? (DWORD_PTR)r : 0;
  return ok ? TRUE : FALSE;
}

extern "C" BOOL WINAPI SendNotifyMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    for (HWND t : broadcastTargets()) SendNotifyMessageA(t, msg, wParam, lParam);
    return TRUE;
  }
  auto w = findWindow(hwnd);
  if (!w) {
    ForeignWindow foreign;
    if (findForeignWindow(hwnd, foreign) && !carriesPointer(msg) && msg != WM_COPYDATA)
      return sendToProcess(hwnd, foreign, msg, wParam, lParam, true, 0, nullptr);
    setWindowError();
    return FALSE;
  }
  if (onThisThread(w)) {
    callNow(w, hwnd, msg, wParam, lParam);
    return TRUE;
  }
  queueSentMessage(w->queue, unwaitedMessage(hwnd, msg, wParam, lParam));
  return TRUE;
}

// To a window of this thread the procedure runs now and the callback right
// after it; to another thread's window the message is queued and the
// callback runs on this thread when it next looks at its queue (GetMessage,
// PeekMessage, WaitMessage), as Windows documents.
extern "C" BOOL WINAPI SendMessageCallbackA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                            SENDASYNCPROC callback, ULONG_PTR data) {
  if (hwnd == HWND_BROADCAST) {
    for (HWND t : broadcastTargets()) SendMessageCallbackA(t, msg, wParam, lParam, callback, data);
    return TRUE;
  }
  auto w = findWindow(hwnd);
  if (!w) {
    setWindowError();
    return FALSE;
  }
  if (onThisThread(w)) {
    LRESULT r = callNow(w, hwnd, msg, wParam, lParam);
    if (callback) callback(hwnd, msg, data, r);
    return TRUE;
  }
  // The sender does not wait: a parameter pointing into its memory could be gone.
  if (msg < WM_USER && carriesPointer(msg)) {
    SetLastError(ERROR_MESSAGE_SYNC_ONLY);
    return FALSE;
  }
  auto sm = unwaitedMessage(hwnd, msg, wParam, lParam);
  sm->callback = true;
  if (callback) {
    std::weak_ptr<ThreadQueue> sender = currentQueue();
    sm->onReply = [sender, callback, hwnd, msg, data](LRESULT r) {
      Lock lock(userMutex());
      auto q = sender.lock();
      if (!q || !q->alive) return;
      q->callbacks.push_back([=] { callback(hwnd, msg, data, r); });
      q->signal(QS_SENDMESSAGE);
    };
  }
  queueSentMessage(w->queue, sm);
  return TRUE;
}

extern "C" LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  return proc(hwnd, msg, wParam, lParam);
}

extern "C" BOOL WINAPI InSendMessage(void) {
  auto q = currentQueue();
  Lock lock(userMutex());
  return !q->receiving.empty() && !q->receiving.back()->notify;
}

extern "C" DWORD WINAPI InSendMessageEx(LPVOID) {
  auto q = currentQueue();
  Lock lock(userMutex());
  if (q->receiving.empty()) return ISMEX_NOSEND;
  auto& sm = q->receiving.back();
  DWORD r = sm->callback ? ISMEX_CALLBACK : sm->notify ? ISMEX_NOTIFY : ISMEX_SEND;
  if (sm->replied) r |= ISMEX_REPLIED;
  return r;
}

extern "C" BOOL WINAPI ReplyMessage(LRESULT result) {
  auto q = currentQueue();
  std::shared_ptr<SentMessage> sm;
  {
    Lock lock(userMutex());
    if (q->receiving.empty() || q->receiving.back()->replied || q->receiving.back()->notify) return FALSE;
    sm = q->receiving.back();
  }
  reply(sm, result);
  return TRUE;
}

extern "C" UINT WINAPI RegisterWindowMessageA(LPCSTR name) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Lock lock(userMutex());
  ATOM a = userAtom(name, true);
  if (!a) SetLastError(ERROR_INVALID_PARAMETER);
  return a;
}
