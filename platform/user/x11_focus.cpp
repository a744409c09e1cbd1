// The server's keyboard focus and the layer's activation kept together.
//
// The program activates a window: its X window takes the server's focus.
// The server moves the focus (a window manager, a click on another
// program, another client's SetInputFocus): the window's thread activates
// it as Windows would (WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP,
// WM_KILLFOCUS and WM_SETFOCUS in Windows' order), or, when the focus went
// to a window of another program, deactivates it. The window that had the
// focus inside a top-level window when it was left gets it back when the
// server gives the top-level window the focus again.
//
// Focus events are acted on by the window's own thread (activation is a
// thread's affair) and only while they still describe the server: the
// focus is asked of the server when the event is read, and a focus request
// of the program made since the event makes it out of date.
#include "queue.h"
#include "x11_server.h"

namespace win32::user::x11 {
namespace {

// Grabs come and go without the focus moving; "pointer" focus follows the
// pointer under PointerRoot and is no choice of a window.
bool movesFocus(uint8_t mode, uint8_t detail) {
  return mode != XCB_NOTIFY_MODE_GRAB && mode != XCB_NOTIFY_MODE_UNGRAB && detail != XCB_NOTIFY_DETAIL_POINTER &&
         detail != XCB_NOTIFY_DETAIL_POINTER_ROOT && detail != XCB_NOTIFY_DETAIL_NONE;
}

// Set while a thread activates a window because the server gave it the
// focus: the server has it there already, and asking again could undo a
// later change of another client.
thread_local bool followingServer = false;

// A window that can take the focus back: alive, inside `top`, shown and enabled.
bool canTakeFocusBack(HWND hwnd, HWND top) {
  return hwnd && IsWindow(hwnd) && GetAncestor(hwnd, GA_ROOT) == top && IsWindowVisible(hwnd) &&
         IsWindowEnabled(hwnd);
}

}  // namespace

void Server::runOnThread(DWORD threadId, std::function<void()> work) {
  Lock lock(userMutex());
  auto q = queueOfThreadLocked(threadId);
  if (!q || !q->alive) return;
  q->callbacks.push_back(std::move(work));
  q->signal(QS_SENDMESSAGE);
}

xcb_window_t Server::focusOnServer() {
  auto* r = xcb_get_input_focus_reply(conn_, xcb_get_input_focus(conn_), nullptr);
  const xcb_window_t focus = r ? r->focus : (xcb_window_t)XCB_NONE;
  free(r);
  return focus;
}

void Server::focus(HWND top) {
  // The window being left keeps the window that has the focus in it now
  // (the layer moves the focus only after this call).
  HWND focus = GetFocus();
  HWND left = focus ? GetAncestor(focus, GA_ROOT) : nullptr;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    if (left && left != top)
      if (ShownWindow* shown = byHandle(left)) shown->savedFocus = focus;
    ShownWindow* shown = byHandle(top);
    if (shown && shown->mapped && !shown->overrideRedirect && !followingServer) {
      xcb_set_input_focus(conn_, XCB_INPUT_FOCUS_PARENT, shown->id, XCB_CURRENT_TIME);
      xcb_flush(conn_);
    }
  }
  // Counted after the request is on its way: an event read before the count
  // changed is checked against the server's focus, asked after this request.
  ++focusRequests_;
}

void Server::focusIn(const xcb_focus_in_event_t& event) {
  if (!movesFocus(event.mode, event.detail)) return;
  const uint32_t asked = focusRequests_.load();  // before the server is asked: see focus()
  if (focusOnServer() != event.event) return;
  HWND top;
  DWORD thread;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    ShownWindow* shown = byId(event.event);
    if (!shown) return;
    top = shown->hwnd;
    thread = shown->threadId;
  }
  runOnThread(thread, [this, top, asked] {
    if (focusRequests_.load() != asked || !IsWindow(top) || !IsWindowVisible(top)) return;
    // A window disabled by its modal dialog passes the activation to the dialog, as on Windows.
    HWND target = top;
    if (!IsWindowEnabled(top)) {
      target = GetLastActivePopup(top);
      if (target == top || !IsWindowEnabled(target) || !IsWindowVisible(target)) return;
    }
    if (GetActiveWindow() == target) return;
    followingServer = target == top;  // a dialog activated instead takes the focus itself
    const bool activated = activateWindow(target, false);
    followingServer = false;
    if (!activated) return;
    HWND saved = nullptr;
    {
      std::lock_guard<std::mutex> guard(mutex_);
      if (ShownWindow* shown = byHandle(target)) saved = shown->savedFocus;
    }
    if (canTakeFocusBack(saved, target) && GetFocus() != saved) SetFocus(saved);
  });
}

void Server::focusOut(const xcb_focus_out_event_t& event) {
  if (!movesFocus(event.mode, event.detail) || event.detail == XCB_NOTIFY_DETAIL_INFERIOR) return;
  const uint32_t asked = focusRequests_.load();  // before the server is asked: see focus()
  const xcb_window_t now = focusOnServer();
  HWND top;
  DWORD thread;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    // To a window of ours: its FocusIn activates it, which deactivates this one.
    if (byId(now)) return;
    ShownWindow* shown = byId(event.event);
    if (!shown) return;
    top = shown->hwnd;
    thread = shown->threadId;
  }
  runOnThread(thread, [this, top, asked] {
    if (focusRequests_.load() != asked || GetActiveWindow() != top) return;
    HWND focus = GetFocus();
    {
      std::lock_guard<std::mutex> guard(mutex_);
      if (ShownWindow* shown = byHandle(top)) shown->savedFocus = focus;
    }
    // Another program is active now: the thread has no active window, as on Windows.
    activateWindow(nullptr, false);
  });
}

}  // namespace win32::user::x11
