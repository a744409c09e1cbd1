// The test-input API (internal/testinput.h) over the layer's raw input.
#include <internal/testinput.h>

#include "input.h"

#include <cctype>

namespace win32::input {
namespace {

POINT toScreen(HWND hwnd, int x, int y) {
  POINT p{x, y};
  if (hwnd) ClientToScreen(hwnd, &p);
  return p;
}

UINT downMessage(Button b) {
  return b == Button::left ? WM_LBUTTONDOWN : b == Button::right ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
}

}  // namespace

void keyDown(UINT vk) { win32::user::queueKeyInput((BYTE)vk, false); }
void keyUp(UINT vk) { win32::user::queueKeyInput((BYTE)vk, true); }

void keyPress(UINT vk) {
  keyDown(vk);
  keyUp(vk);
}

void chord(UINT vk, bool shift, bool ctrl, bool alt) {
  if (shift) keyDown(VK_SHIFT);
  if (ctrl) keyDown(VK_CONTROL);
  if (alt) keyDown(VK_MENU);
  keyPress(vk);
  if (alt) keyUp(VK_MENU);
  if (ctrl) keyUp(VK_CONTROL);
  if (shift) keyUp(VK_SHIFT);
}

void typeText(const char* text) {
  for (const char* p = text; p && *p; ++p) {
    if (*p == '\n') {
      keyPress(VK_RETURN);
      continue;
    }
    SHORT scan = VkKeyScanA(*p);
    if (scan == -1) continue;  // not on a US keyboard
    chord(LOBYTE(scan), (HIBYTE(scan) & 1) != 0, (HIBYTE(scan) & 2) != 0, (HIBYTE(scan) & 4) != 0);
  }
}

void mouseMove(HWND hwnd, int x, int y) { win32::user::queueMouseInput(WM_MOUSEMOVE, toScreen(hwnd, x, y), 0); }

void mouseDown(HWND hwnd, int x, int y, Button b) {
  win32::user::queueMouseInput(downMessage(b), toScreen(hwnd, x, y), 0);
}

void mouseUp(HWND hwnd, int x, int y, Button b) {
  win32::user::queueMouseInput(downMessage(b) + 1, toScreen(hwnd, x, y), 0);
}

void click(HWND hwnd, int x, int y, Button b) {
  mouseMove(hwnd, x, y);
  mouseDown(hwnd, x, y, b);
  mouseUp(hwnd, x, y, b);
}

void doubleClick(HWND hwnd, int x, int y) {
  click(hwnd, x, y);
  mouseDown(hwnd, x, y);
  mouseUp(hwnd, x, y);
}

void drag(HWND hwnd, int x0, int y0, int x1, int y1) {
  mouseMove(hwnd, x0, y0);
  mouseDown(hwnd, x0, y0);
  constexpr int kSteps = 4;
  for (int i = 1; i <= kSteps; ++i) {
    // Each step is dispatched before the next, so the moves do not collapse into one.
    pumpMessages();
    mouseMove(hwnd, x0 + (x1 - x0) * i / kSteps, y0 + (y1 - y0) * i / kSteps);
  }
  mouseUp(hwnd, x1, y1);
}

void wheel(HWND hwnd, int x, int y, int delta) {
  win32::user::queueMouseInput(WM_MOUSEWHEEL, toScreen(hwnd, x, y), (short)delta);
}

int pumpMessages() {
  int count = 0;
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      // The quit stays for the program's own loop to see.
      PostQuitMessage((int)m.wParam);
      break;
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
    ++count;
  }
  return count;
}

}  // namespace win32::input
