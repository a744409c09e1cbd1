// The mouse cursor: its shape (SetCursor), position, clipping rectangle and
// show counter. Cursor objects themselves are made by icon.cpp.
#include "display.h"
#include "icon.h"
#include "queue.h"

#include <algorithm>

namespace win32::user {
namespace {

HCURSOR current = nullptr;
POINT position{640, 512};
RECT clip{0, 0, 0, 0};
bool clipped = false;
int showCount = 0;

}  // namespace

POINT cursorPositionLocked() { return position; }

// Moves the cursor (input and SetCursorPos), kept inside the screen and the clip rectangle. Lock held.
POINT moveCursorLocked(POINT p) {
  RECT bounds = clipped ? clip : RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  p.x = std::clamp(p.x, bounds.left, std::max(bounds.left, bounds.right - 1));
  p.y = std::clamp(p.y, bounds.top, std::max(bounds.top, bounds.bottom - 1));
  position = p;
  return p;
}

}  // namespace win32::user

using namespace win32::user;

extern "C" HCURSOR WINAPI SetCursor(HCURSOR cursor) {
  HCURSOR old;
  {
    Lock lock(userMutex());
    old = current;
    current = cursor;
  }
  if (display::onServer()) display::cursorChanged(cursor);  // the pointer may be over another window now
  return old;
}

extern "C" HCURSOR WINAPI GetCursor(void) {
  Lock lock(userMutex());
  return current;
}

extern "C" BOOL WINAPI GetCursorPos(LPPOINT point) {
  if (!point) {
    SetLastError(ERROR_NOACCESS);
    return FALSE;
  }
  Lock lock(userMutex());
  *point = position;
  return TRUE;
}

extern "C" BOOL WINAPI SetCursorPos(int x, int y) {
  // Moving the cursor is input: a WM_MOUSEMOVE follows, as on Windows.
  mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (DWORD)(x * 65536 / GetSystemMetrics(SM_CXSCREEN)),
              (DWORD)(y * 65536 / GetSystemMetrics(SM_CYSCREEN)), 0, 0);
  Lock lock(userMutex());
  moveCursorLocked(POINT{x, y});
  return TRUE;
}

extern "C" BOOL WINAPI ClipCursor(const RECT* rect) {
  Lock lock(userMutex());
  if (!rect) {
    clipped = false;
    return TRUE;
  }
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (!IntersectRect(&clip, rect, &screen)) clip = RECT{rect->left, rect->top, rect->left + 1, rect->top + 1};
  clipped = true;
  moveCursorLocked(position);
  return TRUE;
}

extern "C" BOOL WINAPI GetClipCursor(LPRECT rect) {
  if (!rect) return FALSE;
  Lock lock(userMutex());
  *rect = clipped ? clip : RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return TRUE;
}

extern "C" int WINAPI ShowCursor(BOOL show) {
  Lock lock(userMutex());
  return show ? ++showCount : --showCount;
}

// Cursor objects are icon.cpp's; these two only forward.
extern "C" HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
  return win32::user::loadCursorObject(instance, name);
}

extern "C" BOOL WINAPI DestroyCursor(HCURSOR cursor) {
  return win32::user::destroyCursorObject(cursor) ? TRUE : FALSE;
}
