// Raw keyboard and mouse input: queued as it happens, turned into the
// messages an application sees when its thread takes it from the queue.
//
// Taking a mouse message does what Windows does: the window is the capture
// window or the one under the point (WM_NCHITTEST decides, HTTRANSPARENT
// lets the point through); a button press in an inactive top-level window
// asks WM_MOUSEACTIVATE and may activate it (and may eat the click);
// WM_SETCURSOR follows; a second press within the double-click time and
// distance becomes a double click for windows of CS_DBLCLKS classes (always
// in the non-client area); outside the client area the NC form is used.
#include "hook.h"
#include "input.h"
#include "queue.h"

#include <cstdlib>

namespace win32::user {

std::array<BYTE, 256>& asyncKeysLocked();  // keyboard.cpp

namespace {

constexpr UINT kNcOffset = WM_MOUSEMOVE - WM_NCMOUSEMOVE;  // client and NC mouse messages are this far apart

bool isButtonDown(UINT m) { return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN; }

BYTE buttonKey(UINT m) {
  switch (m) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: return VK_LBUTTON;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: return VK_RBUTTON;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: return VK_MBUTTON;
    default: return 0;
  }
}

bool isButtonUp(UINT m) { return m == WM_LBUTTONUP || m == WM_RBUTTONUP || m == WM_MBUTTONUP; }

void setKey(std::array<BYTE, 256>& keys, BYTE vk, bool up) {
  if (up) keys[vk] &= ~0x80;
  else {
    if (!(keys[vk] & 0x80)) keys[vk] ^= 1;  // toggle state flips on each press
    keys[vk] |= 0x80;
  }
}

// The generic and the left-hand key move together (VK_SHIFT and VK_LSHIFT ...).
void setKeyWithSide(std::array<BYTE, 256>& keys, BYTE vk, bool up) {
  setKey(keys, vk, up);
  switch (vk) {
    case VK_SHIFT: setKey(keys, VK_LSHIFT, up); break;
    case VK_CONTROL: setKey(keys, VK_LCONTROL, up); break;
    case VK_MENU: setKey(keys, VK_LMENU, up); break;
    case VK_LSHIFT: case VK_RSHIFT: setKey(keys, VK_SHIFT, up); break;
    case VK_LCONTROL: case VK_RCONTROL: setKey(keys, VK_CONTROL, up); break;
    case VK_LMENU: case VK_RMENU: setKey(keys, VK_MENU, up); break;
    default: break;
  }
}

WPARAM mouseKeyFlags(const std::array<BYTE, 256>& keys) {
  WPARAM f = 0;
  if (keys[VK_LBUTTON] & 0x80) f |= MK_LBUTTON;
  if (keys[VK_RBUTTON] & 0x80) f |= MK_RBUTTON;
  if (keys[VK_MBUTTON] & 0x80) f |= MK_MBUTTON;
  if (keys[VK_SHIFT] & 0x80) f |= MK_SHIFT;
  if (keys[VK_CONTROL] & 0x80) f |= MK_CONTROL;
  return f;
}

// The queue that input at a window goes to; the calling thread's when none.
std::shared_ptr<ThreadQueue> queueForWindowLocked(HWND hwnd) {
  Window* w = findLocked(hwnd);
  if (w && w->queue && w->queue->alive) return w->queue;
  return nullptr;
}

void pushInput(const std::shared_ptr<ThreadQueue>& q, const MSG& m, DWORD bits) {
  // Consecutive moves collapse into the last one, as Windows does.
  if (m.message == WM_MOUSEMOVE && !q->input.empty() && q->input.back().message == WM_MOUSEMOVE)
    q->input.back() = m;
  else
    q->input.push_back(m);
  q->signal(bits);
}

// The window under a screen point and its hit-test code (WM_NCHITTEST).
HWND hitTest(POINT screen, LRESULT& hit) {
  hit = HTNOWHERE;
  HWND h = WindowFromPoint(screen);
  if (h) hit = SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
  return h;
}

bool disabledWithin(HWND hwnd) {
  Lock lock(userMutex());
  for (Window* w = findLocked(hwnd); w && !w->isDesktop(); w = w->isChild() ? w->parent : nullptr)
    if (w->style & WS_DISABLED) return true;
  return false;
}

constexpr UINT_PTR kHoverTimer = 0xFFF7;  // the window system's timer of a window watched for hover
constexpr UINT kDefaultHoverTime = 400;   // milliseconds, Windows' default
constexpr int kHoverRange = 2;            // pixels each way: Windows' 4 x 4 hover rectangle

bool withinHoverRange(POINT a, POINT b) { return abs(a.x - b.x) <= kHoverRange && abs(a.y - b.y) <= kHoverRange; }

// Lock not held. Ends what is watched of the queue's tracked window
// (`flags`), posting WM_MOUSELEAVE when leave was watched.
void endTracking(ThreadQueue& q, DWORD flags) {
  HWND tracked;
  bool leave;
  {
    Lock lock(userMutex());
    tracked = q.trackWindow;
    leave = (q.trackFlags & flags & TME_LEAVE) != 0;
    q.trackFlags &= ~flags;
    if (!q.trackFlags) q.trackWindow = nullptr;
  }
  if (flags & TME_HOVER) KillTimer(tracked, kHoverTimer);
  if (leave && IsWindow(tracked)) PostMessageA(tracked, WM_MOUSELEAVE, 0, 0);
}

void CALLBACK hoverTimerProc(HWND hwnd, UINT, UINT_PTR id, DWORD) {
  KillTimer(hwnd, id);
  auto q = currentQueue();
  POINT at;
  WPARAM keys;
  {
    Lock lock(userMutex());
    if (q->trackWindow != hwnd || !(q->trackFlags & TME_HOVER)) return;
    at = cursorPositionLocked();
    keys = mouseKeyFlags(q->inputState->keys);
    if (!withinHoverRange(at, q->hoverFrom)) return;  // a move restarts the timer itself
    // Hover is told once; leave stays watched.
    q->trackFlags &= ~TME_HOVER;
    if (!q->trackFlags) q->trackWindow = nullptr;
  }
  ScreenToClient(hwnd, &at);
  PostMessageA(hwnd, WM_MOUSEHOVER, keys, MAKELPARAM(at.x, at.y));
}

// A mouse message for `target` (nullptr: over no window of the thread) was
// taken: leaving the watched window ends its tracking; moving within it
// beyond the hover rectangle starts the hover time again.
void noteTrackedMouse(ThreadQueue& q, HWND target, POINT screen) {
  HWND tracked;
  DWORD flags;
  UINT hoverTime;
  {
    Lock lock(userMutex());
    tracked = q.trackWindow;
    flags = q.trackFlags;
    hoverTime = q.hoverTime;
    if (!tracked) return;
    if (target == tracked && (flags & TME_HOVER) && !withinHoverRange(screen, q.hoverFrom)) q.hoverFrom = screen;
    else if (target == tracked) return;
  }
  if (target != tracked) endTracking(q, TME_LEAVE | TME_HOVER);
  else SetTimer(tracked, kHoverTimer, hoverTime, hoverTimerProc);
}

// Builds the application's form of a raw mouse message. False: the message is dropped.
bool cookMouse(ThreadQueue& q, const MSG& raw, MSG& out, bool remove) {
  POINT pt = raw.pt;
  HWND capture;
  {
    Lock lock(userMutex());
    capture = q.inputState->capture;
  }
  HWND target;
  LRESULT hit;
  if (raw.message == WM_MOUSEWHEEL) {
    target = GetFocus();
    hit = HTCLIENT;
    if (!target) return false;
  } else if (capture && IsWindow(capture)) {
    target = capture;
    hit = HTCLIENT;
  } else {
    target = hitTest(pt, hit);
  }
  if (remove && raw.message != WM_MOUSEWHEEL) noteTrackedMouse(q, hit == HTCLIENT ? target : nullptr, pt);
  if (!target) return false;
  {
    Lock lock(userMutex());
    Window* w = findLocked(target);
    if (!w || w->threadId != q.threadId) return false;
  }
  UINT msg = raw.message;
  if (!capture && (hit == HTERROR || disabledWithin(target))) {
    if (remove) SendMessageA(target, WM_SETCURSOR, (WPARAM)target, MAKELPARAM(HTERROR, msg));
    return false;
  }
  if (hasHooks(WH_MOUSE)) {
    MOUSEHOOKSTRUCT mh{pt, target, (UINT)hit, 0};
    if (callHooks(WH_MOUSE, remove ? HC_ACTION : HC_NOREMOVE, msg, (LPARAM)&mh)) return false;
  }
  bool eat = false;
  if (remove) {
    {
      Lock lock(userMutex());
      if (BYTE key = buttonKey(msg)) setKeyWithSide(q.inputState->keys, key, isButtonUp(msg));
    }
    if (isButtonDown(msg) && !capture) {
      HWND top = GetAncestor(target, GA_ROOT);
      if (top && top != GetActiveWindow()) {
        LRESULT ma = SendMessageA(target, WM_MOUSEACTIVATE, (WPARAM)top, MAKELPARAM(hit, msg));
        if (ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT) activateWindow(top, true);
        eat = ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT;
      }
    }
    if (!capture && IsWindow(target)) SendMessageA(target, WM_SETCURSOR, (WPARAM)target, MAKELPARAM(hit, msg));
  }
  if (eat || !IsWindow(target)) return false;

  if (isButtonDown(msg)) {
    Lock lock(userMutex());
    Window* w = findLocked(target);
    bool dblclks = hit != HTCLIENT || (w && (w->cls->style & CS_DBLCLKS));
    DWORD elapsed = raw.time - q.lastClickTime;
    bool near = abs(pt.x - q.lastClickPos.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                abs(pt.y - q.lastClickPos.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    bool second = q.lastClickMsg == msg && q.lastClickWindow == target && elapsed <= GetDoubleClickTime() && near;
    if (remove) {
      // A double click starts the count again: a third press is a single one.
      q.lastClickMsg = second && dblclks ? 0 : msg;
      q.lastClickTime = raw.time;
      q.lastClickPos = pt;
      q.lastClickWindow = target;
    }
    if (second && dblclks) msg += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
  }
  out = raw;
  out.hwnd = target;
  if (hit != HTCLIENT && msg != WM_MOUSEWHEEL) {
    out.message = msg - kNcOffset;
    out.wParam = (WPARAM)hit;
    out.lParam = MAKELPARAM(pt.x, pt.y);
  } else {
    POINT client = pt;
    if (msg != WM_MOUSEWHEEL) ScreenToClient(target, &client);
    Lock lock(userMutex());
    out.message = msg;
    out.wParam = mouseKeyFlags(q.inputState->keys) | (msg == WM_MOUSEWHEEL ? (WPARAM)(WORD)(short)raw.wParam << 16 : 0);
    out.lParam = MAKELPARAM(client.x, client.y);
  }
  return true;
}

// Builds the application's form of a raw key message. False: dropped by a hook.
bool cookKey(ThreadQueue& q, const MSG& raw, MSG& out, bool remove) {
  out = raw;
  {
    Lock lock(userMutex());
    out.hwnd = q.inputState->focus;
    if (!out.hwnd) {
      // Without a focus the active window gets the keys, as system keys.
      out.hwnd = q.inputState->active;
      if (out.message == WM_KEYDOWN) out.message = WM_SYSKEYDOWN;
      else if (out.message == WM_KEYUP) out.message = WM_SYSKEYUP;
    }
  }
  if (hasHooks(WH_KEYBOARD) && callHooks(WH_KEYBOARD, remove ? HC_ACTION : HC_NOREMOVE, out.wParam, out.lParam))
    return false;
  if (remove) {
    Lock lock(userMutex());
    setKeyWithSide(q.inputState->keys, (BYTE)out.wParam, out.message == WM_KEYUP || out.message == WM_SYSKEYUP);
  }
  return out.hwnd != nullptr || remove;
}

}  // namespace

bool takeInputMessage(MSG& out, HWND filter, UINT min, UINT max, bool remove) {
  auto q = currentQueue();
  for (;;) {
    MSG raw;
    {
      Lock lock(userMutex());
      auto it = q->input.begin();
      for (; it != q->input.end(); ++it) {
        // The filter sees the client form of mouse messages and the key messages as they are.
        bool mouse = it->message >= WM_MOUSEFIRST && it->message <= WM_MOUSELAST;
        bool inRange = !(min || max) || (it->message >= min && it->message <= max) ||
                       (mouse && it->message - kNcOffset >= min && it->message - kNcOffset <= max);
        if (inRange) break;
      }
      if (it == q->input.end()) return false;
      raw = *it;
      q->input.erase(it);
    }
    bool mouse = raw.message >= WM_MOUSEFIRST && raw.message <= WM_MOUSELAST;
    // Only taking the message counts it (a click, a key's state, activation):
    // a look at it first, as modal loops take one, must not make the
    // taking a double click.
    bool ok = mouse ? cookMouse(*q, raw, out, remove) : cookKey(*q, raw, out, remove);
    if (!ok || !out.hwnd) continue;  // dropped: look at the next input
    Lock lock(userMutex());
    if (!passesFilterLocked(out.hwnd, out.message, filter, 0, 0)) {
      // Input for a window outside the window filter stays for later.
      q->input.push_front(raw);
      return false;
    }
    if (!remove) q->input.push_front(raw);
    return true;
  }
}

void queueKeyInput(BYTE vk, bool up) {
  bool extended;
  UINT scan = scanCodeOf(vk, extended);
  queueKeyInput(vk, up, scan, extended);
}

void queueKeyInput(BYTE vk, bool up, UINT scan, bool extended) {
  static bool altAlone = false;  // Alt went down and no other key since (lock held)
  Lock lock(userMutex());
  auto& async = asyncKeysLocked();
  bool wasDown = (async[vk] & 0x80) != 0;
  setKeyWithSide(async, vk, up);
  bool alt = (async[VK_MENU] & 0x80) != 0, ctrl = (async[VK_CONTROL] & 0x80) != 0;
  bool isAlt = vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU;
  if (isAlt && !up) altAlone = true;
  else if (!isAlt && !up) altAlone = false;
  // Alt without Ctrl (and F10) makes system keys; releasing Alt is a system
  // key only when nothing was pressed with it.
  bool system = (alt && !ctrl) || vk == VK_F10 || (isAlt && !ctrl && (!up || altAlone));
  UINT msg = up ? (system ? WM_SYSKEYUP : WM_KEYUP) : (system ? WM_SYSKEYDOWN : WM_KEYDOWN);
  LPARAM lParam = 1 | (scan << 16) | (extended ? 1 << 24 : 0) | (alt ? 1 << 29 : 0) |
                  ((up || wasDown) ? 1 << 30 : 0) | (up ? 1u << 31 : 0);
  auto foreground = queueForWindowLocked(foregroundWindowLocked());
  lock.unlock();
  auto q = foreground ? foreground : currentQueue();
  lock.lock();
  pushInput(q, MSG{nullptr, msg, vk, (LPARAM)(DWORD)lParam, (DWORD)tickNow(), cursorPositionLocked()}, QS_KEY);
}

void queueMouseInput(UINT msg, POINT screen, short wheel) {
  Lock lock(userMutex());
  POINT pt = moveCursorLocked(screen);
  if (BYTE key = buttonKey(msg)) setKeyWithSide(asyncKeysLocked(), key, isButtonUp(msg));
  // The thread of the capture window, else of the window under the point.
  std::shared_ptr<ThreadQueue> target;
  for (Window* w : allWindowsLocked())
    if (w->queue && w->queue->inputState->capture && w->queue->inputState->capture == w->handle) {
      target = w->queue;
      break;
    }
  lock.unlock();
  if (!target) {
    HWND under = windowFromPointNoMessages(pt);
    lock.lock();
    target = queueForWindowLocked(under);
    lock.unlock();
  }
  if (!target) target = currentQueue();
  lock.lock();
  DWORD bits = msg == WM_MOUSEMOVE ? QS_MOUSEMOVE : QS_MOUSEBUTTON;
  pushInput(target, MSG{nullptr, msg, (WPARAM)(WORD)wheel, 0, (DWORD)tickNow(), pt}, bits);
}

}  // namespace win32::user

using namespace win32::user;

extern "C" VOID WINAPI keybd_event(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra) {
  queueKeyInput(vk, (flags & KEYEVENTF_KEYUP) != 0);
}

extern "C" VOID WINAPI mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extra) {
  POINT pt;
  GetCursorPos(&pt);
  if (flags & MOUSEEVENTF_MOVE) {
    if (flags & MOUSEEVENTF_ABSOLUTE) {
      // Absolute coordinates are 0..65535 across the screen.
      pt.x = (LONG)((long long)dx * GetSystemMetrics(SM_CXSCREEN) / 65536);
      pt.y = (LONG)((long long)dy * GetSystemMetrics(SM_CYSCREEN) / 65536);
    } else {
      pt.x += (LONG)dx;
      pt.y += (LONG)dy;
    }
    queueMouseInput(WM_MOUSEMOVE, pt, 0);
  }
  static constexpr struct { DWORD flag; UINT msg; } kButtons[] = {
      {MOUSEEVENTF_LEFTDOWN, WM_LBUTTONDOWN},   {MOUSEEVENTF_LEFTUP, WM_LBUTTONUP},
      {MOUSEEVENTF_RIGHTDOWN, WM_RBUTTONDOWN},  {MOUSEEVENTF_RIGHTUP, WM_RBUTTONUP},
      {MOUSEEVENTF_MIDDLEDOWN, WM_MBUTTONDOWN}, {MOUSEEVENTF_MIDDLEUP, WM_MBUTTONUP},
  };
  for (auto& b : kButtons)
    if (flags & b.flag) queueMouseInput(b.msg, pt, 0);
  if (flags & 0x0800 /* MOUSEEVENTF_WHEEL */) queueMouseInput(WM_MOUSEWHEEL, pt, (short)data);
}

extern "C" BOOL WINAPI DragDetect(HWND hwnd, POINT pt) {
  // Without a live mouse, a drag is what is already queued: a move beyond
  // the drag distance before the button comes up.
  MSG m;
  while (PeekMessageA(&m, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    if (m.message == WM_LBUTTONUP) return FALSE;
    if (m.message == WM_MOUSEMOVE) {
      POINT p{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
      ClientToScreen(m.hwnd, &p);
      if (abs(p.x - pt.x) > GetSystemMetrics(SM_CXDRAG) || abs(p.y - pt.y) > GetSystemMetrics(SM_CYDRAG)) return TRUE;
    }
  }
  return FALSE;
}

extern "C" BOOL WINAPI TrackMouseEvent(LPTRACKMOUSEEVENT tme) {
  if (!tme || tme->cbSize != sizeof(TRACKMOUSEEVENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto q = currentQueue();
  if (tme->dwFlags & TME_QUERY) {
    Lock lock(userMutex());
    tme->dwFlags = q->trackFlags;
    tme->hwndTrack = q->trackWindow;
    tme->dwHoverTime = q->hoverTime;
    return TRUE;
  }
  if (!IsWindow(tme->hwndTrack)) {
    setWindowError();
    return FALSE;
  }
  const DWORD flags = tme->dwFlags & (TME_LEAVE | TME_HOVER);
  if (tme->dwFlags & TME_CANCEL) {
    bool same;
    {
      Lock lock(userMutex());
      same = q->trackWindow == tme->hwndTrack;
      if (same && (flags & TME_LEAVE)) q->trackFlags &= ~TME_LEAVE;  // cancelled: no WM_MOUSELEAVE
    }
    if (same) endTracking(*q, flags);
    return TRUE;
  }
  POINT at;
  HWND under;
  {
    Lock lock(userMutex());
    at = cursorPositionLocked();
  }
  under = windowFromPointNoMessages(at);
  {
    Lock lock(userMutex());
    if (q->trackWindow != tme->hwndTrack) q->trackFlags = 0;
    q->trackWindow = tme->hwndTrack;
    q->trackFlags |= flags;
    if (flags & TME_HOVER) {
      q->hoverTime = tme->dwHoverTime == HOVER_DEFAULT ? kDefaultHoverTime : tme->dwHoverTime;
      q->hoverFrom = at;
    }
  }
  // The pointer is elsewhere already: the window hears it at once, as on Windows.
  if (under != tme->hwndTrack) {
    endTracking(*q, TME_LEAVE | TME_HOVER);
    return TRUE;
  }
  if (flags & TME_HOVER) SetTimer(tme->hwndTrack, kHoverTimer, q->hoverTime, hoverTimerProc);
  return TRUE;
}

void win32::user::pointerLeftAllWindows() {
  std::vector<std::pair<HWND, std::shared_ptr<ThreadQueue>>> watched;
  {
    Lock lock(userMutex());
    for (Window* w : allWindowsLocked())
      if (w->queue && w->queue->trackWindow == w->handle && (w->queue->trackFlags & TME_LEAVE))
        watched.emplace_back(w->handle, w->queue);
    for (auto& [hwnd, q] : watched) {
      q->trackFlags = 0;
      q->trackWindow = nullptr;
    }
  }
  for (auto& [hwnd, q] : watched) PostMessageA(hwnd, WM_MOUSELEAVE, 0, 0);
}
