// The server's events turned into what the layer's windows see: keys and
// mouse as raw input (queued for the thread that owns the window, exactly
// as the test-input API queues it), exposures as damage, the window
// manager's close request as SC_CLOSE, its moves and resizes as
// SetWindowPos between WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE; focus changes
// go to x11_focus.cpp, the selection's events to x11_clipboard.cpp.
//
// Runs on the event thread. The server's mutex is held only to read the
// window records, never while the layer is called.
#include "input.h"
#include "queue.h"
#include "x11_server.h"

#include <algorithm>

namespace win32::user::x11 {
namespace {

constexpr short kWheelNotch = 120;
constexpr UINT kLeftControlScan = 0x1D;

struct ButtonMessages {
  uint8_t button;
  UINT down, up;
};
constexpr ButtonMessages kButtons[] = {
    {1, WM_LBUTTONDOWN, WM_LBUTTONUP},
    {2, WM_MBUTTONDOWN, WM_MBUTTONUP},
    {3, WM_RBUTTONDOWN, WM_RBUTTONUP},
};

// Wakes the thread of `threadId` so that it flushes (exposed areas).
void wakeThread(DWORD threadId) {
  Lock lock(userMutex());
  if (auto q = queueOfThreadLocked(threadId)) q->wake->set();
}

}  // namespace

void Server::handleEvent(xcb_generic_event_t* event) {
  const uint8_t type = event->response_type & 0x7F;
  const bool synthetic = (event->response_type & 0x80) != 0;
  // The window an event is about, and where its surface stands on the screen.
  auto find = [this](xcb_window_t id, HWND& hwnd, RECT& rect, DWORD& thread) {
    std::lock_guard<std::mutex> guard(mutex_);
    ShownWindow* shown = byId(id);
    if (!shown) return false;
    hwnd = shown->hwnd;
    rect = shown->shownRect;
    thread = shown->threadId;
    return true;
  };
  HWND hwnd;
  RECT rect;
  DWORD thread;
  if (isKeyboardChange(event)) {
    reloadKeyboard(conn_);
    return;
  }
  switch (type) {
    case XCB_EXPOSE: {
      auto* e = (xcb_expose_event_t*)event;
      if (!find(e->window, hwnd, rect, thread)) return;
      damage(hwnd, RECT{e->x, e->y, e->x + e->width, e->y + e->height});
      wakeThread(thread);
      return;
    }
    case XCB_KEY_PRESS:
    case XCB_KEY_RELEASE: {
      auto* e = (xcb_key_press_event_t*)event;
      UINT scan;
      bool extended;
      BYTE vk = virtualKeyOf(e->detail, scan, extended);
      if (!vk) return;
      const bool up = type == XCB_KEY_RELEASE;
      // AltGr comes as a left Ctrl around the right Alt, as Windows sends it.
      const bool altGr = isAltGr(e->detail);
      if (altGr && !up) queueKeyInput(VK_CONTROL, false, kLeftControlScan, false);
      queueKeyInput(vk, up, scan, extended);
      if (altGr && up) queueKeyInput(VK_CONTROL, true, kLeftControlScan, false);
      return;
    }
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE: {
      auto* e = (xcb_button_press_event_t*)event;
      if (!find(e->event, hwnd, rect, thread)) return;
      const POINT at{rect.left + e->event_x, rect.top + e->event_y};
      const bool press = type == XCB_BUTTON_PRESS;
      if (e->detail == 4 || e->detail == 5) {
        // The wheel is buttons 4 (away from the user) and 5; their releases mean nothing.
        if (press) queueMouseInput(WM_MOUSEWHEEL, at, e->detail == 4 ? kWheelNotch : (short)-kWheelNotch);
        return;
      }
      for (const ButtonMessages& b : kButtons)
        if (b.button == e->detail) queueMouseInput(press ? b.down : b.up, at, 0);
      return;
    }
    case XCB_MOTION_NOTIFY: {
      auto* e = (xcb_motion_notify_event_t*)event;
      if (!find(e->event, hwnd, rect, thread)) return;
      {
        std::lock_guard<std::mutex> guard(mutex_);
        pointerWindow_ = e->event;
      }
      queueMouseInput(WM_MOUSEMOVE, POINT{rect.left + e->event_x, rect.top + e->event_y}, 0);
      return;
    }
    case XCB_LEAVE_NOTIFY: {
      auto* e = (xcb_leave_notify_event_t*)event;
      // Into a child of the window (none here) or a grab's coming and going is no leave.
      if (e->detail != XCB_NOTIFY_DETAIL_INFERIOR && e->mode == XCB_NOTIFY_MODE_NORMAL) pointerLeftAllWindows();
      return;
    }
    case XCB_CLIENT_MESSAGE: {
      auto* e = (xcb_client_message_event_t*)event;
      if (e->type != atoms_.wmProtocols || e->data.data32[0] != atoms_.wmDeleteWindow) return;
      if (!find(e->window, hwnd, rect, thread)) return;
      // A disabled window (the owner of a modal dialog) takes no close request, as it takes no input.
      if (IsWindowEnabled(hwnd)) PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    }
    case XCB_CONFIGURE_NOTIFY: {
      auto* e = (xcb_configure_notify_event_t*)event;
      RECT now;
      {
        std::lock_guard<std::mutex> guard(mutex_);
        ShownWindow* shown = byId(e->window);
        if (!shown) return;
        hwnd = shown->hwnd;
        now = shown->shownRect;
        auto& asked = shown->sizesAsked;
        auto mine = std::find(asked.begin(), asked.end(), std::make_pair((int)e->width, (int)e->height));
        if (mine != asked.end()) asked.erase(asked.begin(), mine + 1);
        else now = RECT{now.left, now.top, now.left + e->width, now.top + e->height};
        // Only a window manager's (synthetic) notice gives the place on the
        // screen; a real one is relative to the parent, maybe the manager's frame.
        if (synthetic) OffsetRect(&now, e->x - now.left, e->y - now.top);
        if (EqualRect(&now, &shown->shownRect)) return;
        shown->shownRect = now;
      }
      SendMessageA(hwnd, WM_ENTERSIZEMOVE, 0, 0);
      SetWindowPos(hwnd, nullptr, now.left, now.top, now.right - now.left, now.bottom - now.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      SendMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
      return;
    }
    case XCB_FOCUS_IN:
      focusIn(*(xcb_focus_in_event_t*)event);
      return;
    case XCB_FOCUS_OUT:
      focusOut(*(xcb_focus_out_event_t*)event);
      return;
    case XCB_SELECTION_REQUEST:
      answerSelectionRequest(*(xcb_selection_request_event_t*)event);
      return;
    case XCB_SELECTION_NOTIFY:
      takeSelectionNotify(*(xcb_selection_notify_event_t*)event);
      return;
    case XCB_PROPERTY_NOTIFY:
      selectionPropertyChanged(*(xcb_property_notify_event_t*)event);
      return;
    case XCB_SELECTION_CLEAR:
      loseSelection();
      return;
    default:
      return;
  }
}

}  // namespace win32::user::x11
