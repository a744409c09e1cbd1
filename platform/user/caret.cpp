// The caret: one per thread, owned by a window. Its state is kept here (a
// snapshot does not draw it); a display draws and blinks it (display.h).
// Hiding counts, as on Windows: ShowCaret undoes one HideCaret; BeginPaint
// hides it and EndPaint shows it again.
#include "display.h"
#include "queue.h"

namespace win32::user {
namespace {

struct Caret {
  HWND owner = nullptr;
  HBITMAP bitmap = nullptr;
  int width = 0, height = 0;
  POINT pos{};
  int hidden = 1;  // a new caret starts hidden
};

// Guarded by userMutex(); keyed by thread.
std::vector<std::pair<DWORD, Caret>>& carets() {
  static std::vector<std::pair<DWORD, Caret>> c;
  return c;
}

Caret* caretOfThreadLocked(DWORD tid) {
  for (auto& [t, c] : carets())
    if (t == tid) return &c;
  return nullptr;
}

UINT blinkTime = 530;

// Declared before a function's lock: tells the display of the change once the lock is gone.
struct TellDisplay {
  ~TellDisplay() {
    if (display::onServer()) display::caretChanged();
  }
};

}  // namespace

void destroyCaretOf(HWND hwnd) {
  TellDisplay tell;
  Lock lock(userMutex());
  std::erase_if(carets(), [&](auto& e) { return e.second.owner == hwnd; });
}

void hideCaretForPaint(HWND hwnd, bool hide) {
  {
    Lock lock(userMutex());
    Caret* c = caretOfThreadLocked(GetCurrentThreadId());
    if (!c || c->owner != hwnd) return;
    if (hide) c->hidden++;
    else if (c->hidden > 0) c->hidden--;
  }
  if (display::onServer()) display::caretChanged();
}

}  // namespace win32::user

using namespace win32::user;

extern "C" BOOL WINAPI CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height) {
  auto w = findWindow(hwnd);
  if (!w) return FALSE;
  if (w->threadId != GetCurrentThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  TellDisplay tell;
  Lock lock(userMutex());
  DWORD tid = GetCurrentThreadId();
  std::erase_if(carets(), [&](auto& e) { return e.first == tid; });
  Caret c;
  c.owner = hwnd;
  c.bitmap = bitmap;
  c.width = width ? width : GetSystemMetrics(SM_CXBORDER);
  c.height = height ? height : GetSystemMetrics(SM_CYBORDER);
  carets().emplace_back(tid, c);
  return TRUE;
}

extern "C" BOOL WINAPI DestroyCaret(void) {
  TellDisplay tell;
  Lock lock(userMutex());
  DWORD tid = GetCurrentThreadId();
  if (!caretOfThreadLocked(tid)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  std::erase_if(carets(), [&](auto& e) { return e.first == tid; });
  return TRUE;
}

extern "C" BOOL WINAPI ShowCaret(HWND hwnd) {
  TellDisplay tell;
  Lock lock(userMutex());
  Caret* c = caretOfThreadLocked(GetCurrentThreadId());
  if (!c || (hwnd && c->owner != hwnd)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (c->hidden > 0) c->hidden--;
  return TRUE;
}

extern "C" BOOL WINAPI HideCaret(HWND hwnd) {
  TellDisplay tell;
  Lock lock(userMutex());
  Caret* c = caretOfThreadLocked(GetCurrentThreadId());
  if (!c || (hwnd && c->owner != hwnd)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  c->hidden++;
  return TRUE;
}

extern "C" BOOL WINAPI SetCaretPos(int x, int y) {
  TellDisplay tell;
  Lock lock(userMutex());
  Caret* c = caretOfThreadLocked(GetCurrentThreadId());
  if (!c) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  c->pos = POINT{x, y};
  return TRUE;
}

extern "C" BOOL WINAPI GetCaretPos(LPPOINT point) {
  if (!point) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Lock lock(userMutex());
  Caret* c = caretOfThreadLocked(GetCurrentThreadId());
  *point = c ? c->pos : POINT{0, 0};
  return c != nullptr;
}

extern "C" UINT WINAPI GetCaretBlinkTime(void) { return blinkTime; }

extern "C" BOOL WINAPI SetCaretBlinkTime(UINT ms) {
  blinkTime = ms;
  return TRUE;
}

// For tests and snapshots: the caret of the calling thread.
namespace win32::user {
bool caretState(HWND& owner, POINT& pos, SIZE& size, bool& visible) {
  Lock lock(userMutex());
  Caret* c = caretOfThreadLocked(GetCurrentThreadId());
  if (!c) return false;
  owner = c->owner;
  pos = c->pos;
  size = SIZE{c->width, c->height};
  visible = c->hidden == 0;
  return true;
}
}  // namespace win32::user
