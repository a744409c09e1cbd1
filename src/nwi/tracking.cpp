// The auto-repeat mouse tracking loop of the list, the grid and the spin:
// while the left button is held after a press, the control gets synthetic
// mouse moves at a rate that grows with the distance of the cursor from its
// client area, so that it keeps scrolling.
#include <cstdlib>

#include "ctlrecord.h"
#include "tracking.h"

namespace {

bool tracking = false;  // the loop runs at most once at a time in the process

constexpr DWORD kPumpGap = 200;  // ms between messages that still count as one burst

WPARAM keyFlags() {
  if (GetKeyState(VK_LBUTTON) < 0) return MK_LBUTTON;
  if (GetKeyState(VK_RBUTTON) < 0) return MK_RBUTTON;
  if (GetKeyState(VK_MBUTTON) < 0) return MK_MBUTTON;
  if (GetKeyState(VK_CONTROL) < 0) return MK_CONTROL;
  if (GetKeyState(VK_SHIFT) < 0) return MK_SHIFT;
  return 0;
}

// Milliseconds before the next synthetic move.
DWORD nextDelay(const RECT& client, POINT at, POINT last, BOOL horizontal) {
  int d = -1;
  if (at.y < client.top) d = client.top - at.y;
  if (at.y >= client.bottom) d = at.y - client.bottom + 1;
  if (d >= 0) {
    if (d < 20) return 200;
    if (d <= 40) return static_cast<DWORD>((40 - d) * 10);
    return 0;
  }
  const bool nearSide = (at.x < client.left && at.x > client.left - 10) ||
                        (at.x >= client.right && at.x < client.right + 10);
  if (horizontal && nearSide) {
    const int dx = std::abs(at.x - last.x);
    const int dy = std::abs(at.y - last.y);
    if ((dx == 0 && dy < 3) || dx > dy) {
      if (dx < 10) return 300;
      if (dx <= 20) return static_cast<DWORD>((20 - dx) * 30);
      return 0;
    }
  }
  return 0;
}

LPARAM pointParam(POINT at) { return MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y)); }

}  // namespace

void HCtlTrackCapture(HCtlRecord* record, BOOL horizontal) {
  if (record == nullptr || tracking || (GetVersion() & 0x80000000u) != 0) return;
  tracking = true;
  HWND window = record->window;
  DWORD lastMove = GetTickCount();
  DWORD delay = 0;
  POINT last{};
  GetCursorPos(&last);
  ScreenToClient(window, &last);
  bool done = false;
  bool moved = false;  // the first move goes out at once
  while (!done && IsWindow(window)) {
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(window, &at);
    if ((record->flags & HCTL_VETO) != 0) {
      PostMessageA(window, WM_LBUTTONUP, 0, pointParam(at));
      break;
    }
    if (!moved || GetTickCount() - lastMove > delay) {
      moved = true;
      SendMessageA(window, WM_MOUSEMOVE, keyFlags(), pointParam(at));
      if (!IsWindow(window)) break;
      UpdateWindow(window);
      lastMove = GetTickCount();
      last = at;
    }
    RECT client{};
    GetClientRect(window, &client);
    delay = nextDelay(client, at, last, horizontal);
    // Pending input first; then wait for more within the burst gap.
    for (;;) {
      MSG msg;
      if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (GetKeyState(VK_LBUTTON) >= 0 && GetAsyncKeyState(VK_LBUTTON) >= 0) done = true;  // released elsewhere
        if (done) break;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, delay < kPumpGap ? (delay ? delay : 10) : kPumpGap,
                                      QS_ALLINPUT) != WAIT_OBJECT_0)
          break;
        continue;
      }
      if (msg.message == WM_MOUSEMOVE) continue;
      if (msg.message == WM_LBUTTONUP) {
        SendMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
        done = true;
        break;
      }
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        done = true;
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      if (!IsWindow(window)) {
        done = true;
        break;
      }
    }
  }
  tracking = false;
}
