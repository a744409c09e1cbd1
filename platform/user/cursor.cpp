// The mouse cursor: its shape (SetCursor), position, clipping rectangle and
// show counter. Standard cursors are distinct fixed handles; cursors of a
// module come from the module's resources.
#include "queue.h"

#include <algorithm>

namespace win32::user {
namespace {

constexpr uintptr_t kStandardCursorBase = 0x5FFFFF00;  // above the GDI handles
constexpr WORD kStandardIds[] = {32512, 32513, 32514, 32515, 32516, 32640, 32641, 32642,
                                 32643, 32644, 32645, 32646, 32648, 32649, 32650, 32651};

HCURSOR current = nullptr;
POINT position{640, 512};
RECT clip{0, 0, 0, 0};
bool clipped = false;
int showCount = 0;

bool isStandard(HCURSOR c) {
  uintptr_t v = (uintptr_t)c;
  return v >= kStandardCursorBase && v < kStandardCursorBase + 0x100;
}

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

extern "C" HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (!instance) {
    if (IS_INTRESOURCE(name))
      for (WORD id : kStandardIds)
        if (id == (WORD)(ULONG_PTR)name) return (HCURSOR)(kStandardCursorBase + (id - 32512) % 0x100);
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  // Cursor resources of modules are not made into cursors by this layer.
  SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
  return nullptr;
}

extern "C" HCURSOR WINAPI SetCursor(HCURSOR cursor) {
  Lock lock(userMutex());
  HCURSOR old = current;
  current = cursor;
  return old;
}

extern "C" HCURSOR WINAPI GetCursor(void) {
  Lock lock(userMutex());
  return current;
}

extern "C" BOOL WINAPI DestroyCursor(HCURSOR cursor) {
  // Shared standard cursors are never destroyed; Windows answers TRUE anyway.
  if (isStandard(cursor)) return TRUE;
  SetLastError(ERROR_INVALID_CURSOR_HANDLE);
  return FALSE;
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
