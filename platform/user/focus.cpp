// Focus, activation, the foreground window and the mouse capture.
//
// Each thread has its own active, focus and capture window and key state
// (its input state), shared with the threads AttachThreadInput joined it
// to; the foreground window is the process's last activated window.
// Order of messages on activation (as Windows): the old window gets
// WM_NCACTIVATE(FALSE) and WM_ACTIVATE(WA_INACTIVE); when the active thread
// changes, every top-level window of the old and new thread gets
// WM_ACTIVATEAPP; the new window gets WM_NCACTIVATE(TRUE) and
// WM_ACTIVATE, whose default sets the focus; a focus change sends
// WM_KILLFOCUS to the old focus window, then WM_SETFOCUS to the new one.
#include "display.h"
#include "hook.h"
#include "input.h"
#include "queue.h"
#include "window.h"

namespace win32::user {

void destroyCaretOf(HWND hwnd);  // caret.cpp

namespace {

HWND foreground = nullptr;  // guarded by userMutex()

HWND setFocusWindow(HWND hwnd) {
  auto q = currentQueue();
  HWND previous;
  {
    Lock lock(userMutex());
    previous = q->inputState->focus;
    if (previous == hwnd) return previous;
    q->inputState->focus = hwnd;
  }
  if (previous && IsWindow(previous)) {
    SendMessageA(previous, WM_KILLFOCUS, (WPARAM)hwnd, 0);
    if (GetFocus() != hwnd) return previous;  // the handler moved the focus elsewhere
  }
  if (hwnd && IsWindow(hwnd)) SendMessageA(hwnd, WM_SETFOCUS, (WPARAM)previous, 0);
  return previous;
}

std::vector<HWND> topLevelWindowsOf(DWORD threadId) {
  std::vector<HWND> out;
  Lock lock(userMutex());
  for (Window* c : desktopLocked()->children)
    if (c->threadId == threadId) out.push_back(c->handle);
  return out;
}

}  // namespace

bool sharesInputLocked(const ThreadQueue& q, const Window& w) {
  return w.threadId == q.threadId || (w.queue && w.queue->inputState == q.inputState);
}

HWND foregroundWindowLocked() { return findLocked(foreground) ? foreground : nullptr; }

bool activateWindow(HWND hwnd, bool mouse) {
  auto q = currentQueue();
  HWND previous;
  bool needsTop = false;
  {
    Lock lock(userMutex());
    if (hwnd) {
      Window* w = findLocked(hwnd);
      if (!w || !sharesInputLocked(*q, *w)) return false;
      w = topLevelOf(w);
      hwnd = w->handle;
      needsTop = w->parent && !w->parent->children.empty() && w->parent->children.front() != w;
    }
    previous = q->inputState->active;
    if (previous == hwnd) return true;
  }
  if (hasHooks(WH_CBT)) {
    CBTACTIVATESTRUCT cbt{mouse, previous};
    if (callHooks(WH_CBT, HCBT_ACTIVATE, (WPARAM)hwnd, (LPARAM)&cbt)) return false;
  }
  {
    Lock lock(userMutex());
    q->inputState->active = hwnd;
    if (hwnd) {
      foreground = hwnd;
      // The owner chain remembers its last active popup (GetLastActivePopup).
      if (Window* w = findLocked(hwnd))
        for (Window* o = findLocked(w->owner); o; o = findLocked(o->owner)) o->lastActivePopup = hwnd;
    } else if (foreground == previous) {
      foreground = nullptr;
    }
  }
  if (previous && IsWindow(previous)) {
    SendMessageA(previous, WM_NCACTIVATE, FALSE, (LPARAM)hwnd);
    SendMessageA(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(previous)), (LPARAM)hwnd);
  }
  if (needsTop) SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // The application (this thread) becomes active or inactive as a whole.
  if (!previous || !hwnd) {
    BOOL activeNow = hwnd != nullptr;
    for (HWND t : topLevelWindowsOf(q->threadId)) SendMessageA(t, WM_ACTIVATEAPP, activeNow, 0);
  }
  if (hwnd && display::onServer()) display::activated(hwnd);
  if (hwnd && IsWindow(hwnd)) {
    SendMessageA(hwnd, WM_NCACTIVATE, TRUE, (LPARAM)previous);
    SendMessageA(hwnd, WM_ACTIVATE, MAKEWPARAM(mouse ? WA_CLICKACTIVE : WA_ACTIVE, IsIconic(hwnd)), (LPARAM)previous);
  }
  HWND focus = GetFocus();
  if (!hwnd) setFocusWindow(nullptr);
  else if (GetActiveWindow() == hwnd && (!focus || GetAncestor(focus, GA_ROOT) != hwnd)) setFocusWindow(hwnd);
  return true;
}

void activateOtherWindow(HWND hwnd) {
  HWND next = nullptr;
  {
    Lock lock(userMutex());
    Window* w = findLocked(hwnd);
    DWORD tid = w ? w->threadId : 0;
    auto usable = [&](Window* c) {
      return c && c != w && c->threadId == tid && (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED) &&
             !c->destroying && !c->isChild();
    };
    if (w && usable(findLocked(w->owner))) next = w->owner;
    else
      for (Window* c : desktopLocked()->children)
        if (usable(c) && c->owner != hwnd) {
          next = c->handle;
          break;
        }
  }
  activateWindow(next, false);
}

void releaseInputOf(HWND hwnd) {
  auto q = currentQueue();
  bool capture, active;
  {
    Lock lock(userMutex());
    capture = q->inputState->capture == hwnd;
    active = q->inputState->active == hwnd;
  }
  if (capture) ReleaseCapture();
  destroyCaretOf(hwnd);
  if (active) activateOtherWindow(hwnd);
  Lock lock(userMutex());
  // A destroyed window loses the focus quietly (no WM_KILLFOCUS), as on Windows.
  for (Window* f = findLocked(q->inputState->focus); f; f = f->isChild() ? f->parent : nullptr)
    if (f->handle == hwnd) {
      q->inputState->focus = nullptr;
      break;
    }
  if (q->inputState->active == hwnd) q->inputState->active = nullptr;
  if (foreground == hwnd) foreground = nullptr;
}

}  // namespace win32::user

using namespace win32::user;

extern "C" HWND WINAPI GetFocus(void) {
  auto q = currentQueue();
  Lock lock(userMutex());
  return q->inputState->focus;
}

extern "C" HWND WINAPI SetFocus(HWND hwnd) {
  auto q = currentQueue();
  if (!hwnd) {
    // Taking the focus away asks the CBT hook too, which may refuse it.
    HWND previous = GetFocus();
    if (hasHooks(WH_CBT) && callHooks(WH_CBT, HCBT_SETFOCUS, 0, (LPARAM)previous)) return nullptr;
    setFocusWindow(nullptr);
    return previous;
  }
  HWND top;
  {
    Lock lock(userMutex());
    Window* w = findLocked(hwnd);
    if (!w) {
      setWindowError();
      return nullptr;
    }
    if (!sharesInputLocked(*q, *w)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return nullptr;
    }
    // A minimized or disabled window (or one inside such) cannot take the focus.
    for (Window* a = w; a && !a->isDesktop(); a = a->isChild() ? a->parent : nullptr)
      if (a->style & (WS_MINIMIZE | WS_DISABLED)) return nullptr;
    top = topLevelOf(w)->handle;
    if (q->inputState->focus == hwnd) return hwnd;
  }
  if (hasHooks(WH_CBT) && callHooks(WH_CBT, HCBT_SETFOCUS, (WPARAM)hwnd, (LPARAM)GetFocus())) return nullptr;
  if (top != GetActiveWindow()) {
    if (!activateWindow(top, false)) return nullptr;
    if (!IsWindow(hwnd) || GetActiveWindow() != top) return nullptr;
  }
  return setFocusWindow(hwnd);
}

extern "C" HWND WINAPI GetActiveWindow(void) {
  auto q = currentQueue();
  Lock lock(userMutex());
  return q->inputState->active;
}

extern "C" HWND WINAPI SetActiveWindow(HWND hwnd) {
  HWND previous = GetActiveWindow();
  if (hwnd) {
    auto w = findWindow(hwnd);
    if (!w) return nullptr;
    auto q = currentQueue();
    Lock lock(userMutex());
    if (!sharesInputLocked(*q, *w)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return nullptr;
    }
  }
  if (!activateWindow(hwnd, false)) return nullptr;
  return previous;
}

extern "C" HWND WINAPI GetForegroundWindow(void) {
  Lock lock(userMutex());
  return findLocked(foreground) ? foreground : nullptr;
}

extern "C" BOOL WINAPI SetForegroundWindow(HWND hwnd) {
  auto w = findWindow(hwnd);
  if (!w) return FALSE;
  if (w->threadId == currentQueue()->threadId) return activateWindow(hwnd, false);
  // A window of another thread is activated by its own thread.
  SendNotifyMessageA(hwnd, WM_NULL, 0, 0);
  Lock lock(userMutex());
  foreground = topLevelOf(w.get())->handle;
  return TRUE;
}

extern "C" HWND WINAPI GetCapture(void) {
  auto q = currentQueue();
  Lock lock(userMutex());
  return q->inputState->capture;
}

extern "C" HWND WINAPI SetCapture(HWND hwnd) {
  auto q = currentQueue();
  HWND previous;
  {
    Lock lock(userMutex());
    if (hwnd) {
      Window* w = findLocked(hwnd);
      if (!w) {
        setWindowError();
        return nullptr;
      }
      if (!sharesInputLocked(*q, *w)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
      }
    }
    previous = q->inputState->capture;
    q->inputState->capture = hwnd;
  }
  if (display::onServer()) display::captureChanged(hwnd);
  if (previous && previous != hwnd && IsWindow(previous))
    SendMessageA(previous, WM_CAPTURECHANGED, 0, (LPARAM)hwnd);
  return previous;
}

extern "C" BOOL WINAPI ReleaseCapture(void) {
  auto q = currentQueue();
  HWND previous;
  {
    Lock lock(userMutex());
    previous = q->inputState->capture;
    q->inputState->capture = nullptr;
  }
  if (previous && display::onServer()) display::captureChanged(nullptr);
  if (previous && IsWindow(previous)) SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

namespace {

// The window `hwnd` if it belongs to thread `threadId`, else nullptr.
HWND keepIfOfThread(HWND hwnd, DWORD threadId) {
  Window* w = findLocked(hwnd);
  return w && w->threadId == threadId ? hwnd : nullptr;
}

}  // namespace

// Joining makes `idAttach` share the input state of `idAttachTo` (and of the
// threads already joined to it); parting gives `idAttach` a state of its
// own holding the focus, active and capture windows that are its own.
extern "C" BOOL WINAPI AttachThreadInput(DWORD idAttach, DWORD idAttachTo, BOOL attach) {
  Lock lock(userMutex());
  auto from = queueOfThreadLocked(idAttach);
  auto to = queueOfThreadLocked(idAttachTo);
  if (idAttach == idAttachTo || !from || !to || !from->alive || !to->alive) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (attach) {
    from->inputState = to->inputState;
    return TRUE;
  }
  if (from->inputState != to->inputState) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto shared = from->inputState;
  auto own = std::make_shared<InputState>(*shared);
  own->focus = keepIfOfThread(shared->focus, idAttach);
  own->active = keepIfOfThread(shared->active, idAttach);
  own->capture = keepIfOfThread(shared->capture, idAttach);
  if (own->focus) shared->focus = nullptr;
  if (own->active) shared->active = nullptr;
  if (own->capture) shared->capture = nullptr;
  from->inputState = own;
  return TRUE;
}
