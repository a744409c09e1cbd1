// The spin control's messages: creation as an enlarged edit, the button
// column in the non-client area (size, painting, hit test, cursors), presses
// with auto-repeat or drag tracking, the Up and Down keys and the step
// messages. Everything else is the edit's (HEdProc).
#include "spin.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "datatypes.h"
#include "drawing.h"
#include "library.h"
#include "nwiresource.h"
#include "suballocator.h"
#include "tracking.h"

namespace {

constexpr DWORD kFirstRepeat = 300;   // ms before the second step of a held button
constexpr DWORD kRepeatFloor = 10;    // the repeat never runs faster than this
constexpr DWORD kRepeatGiveUp = 400;  // a loop starved this long ends
constexpr COLORREF kArrowKey = RGB(0, 255, 0);

int liveSpins = 0;
HCURSOR cursors[4];  // IDC_HSPINDRAG .. IDC_HSPINDOWN, while spins live

enum { kDragCursor, kAboveCursor, kInsideCursor, kBelowCursor };

HSpRecord* recordOf(HCtlRecord* head) { return reinterpret_cast<HSpRecord*>(head); }
bool hasDragArea(const HSpRecord* s) { return (s->spinFlags & HSP_DRAGAREA) != 0; }
bool isDateType(char type) { return type == 'd' || type == 't' || type == 'a'; }

void holdCursors(bool hold) {
  for (int i = 0; i < 4; ++i) {
    if (hold) {
      cursors[i] = LoadCursorA(HCtlLibraryModule(), MAKEINTRESOURCEA(IDC_HSPINDRAG + i));
    } else {
      if (cursors[i] != nullptr) DestroyCursor(cursors[i]);
      cursors[i] = nullptr;
    }
  }
}

// The arrow bitmaps: + 1 on screens wider than 1000 pixels, + 2 when disabled.
HBITMAP arrow(bool up, bool disabled) {
  static HBITMAP loaded[2][4];
  const int variant = (disabled ? 2 : 0) + (GetSystemMetrics(SM_CXSCREEN) > 1000 ? 1 : 0);
  HBITMAP& slot = loaded[up ? 0 : 1][variant];
  if (slot == nullptr)
    slot = LoadBitmapA(HCtlLibraryModule(), MAKEINTRESOURCEA((up ? IDB_HSPINUP : IDB_HSPINDOWN) + variant));
  return slot;
}

// --- the button column, in window coordinates ----------------------------------------------

RECT columnRect(HWND window) {
  RECT frame, client;
  GetWindowRect(window, &frame);
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const int left = origin.x - frame.left + client.right;
  const int top = origin.y - frame.top;
  return {left, top, left + GetSystemMetrics(SM_CXVSCROLL), top + client.bottom};
}

// Area 1 is the up button, 2 the gap between, 3 the down button.
RECT partRect(HWND window, int part, bool dragArea) {
  RECT column = columnRect(window);
  const int height = column.bottom - column.top;
  const int gap = dragArea ? (height % 2 != 0 ? 5 : 4) : 0;
  const int button = (height - gap) / 2 + 1;
  if (part == 1) column.bottom = column.top + button;
  if (part == 3) column.top = column.bottom - button;
  if (part == 2) {
    column.top += button;
    column.bottom -= button;
  }
  return column;
}

int hitCode(HSpRecord* s, POINT screen) {
  HWND window = s->edit.head.window;
  RECT frame;
  GetWindowRect(window, &frame);
  const POINT at{screen.x - frame.left, screen.y - frame.top};
  const RECT column = columnRect(window);
  if (!PtInRect(&column, at)) return 0;
  const RECT up = partRect(window, 1, hasDragArea(s));
  const RECT down = partRect(window, 3, hasDragArea(s));
  if (PtInRect(&up, at)) return HSP_HITUP;
  if (PtInRect(&down, at)) return HSP_HITDOWN;
  return hasDragArea(s) ? HSP_HITDRAG : (at.y < (column.top + column.bottom) / 2 ? HSP_HITUP : HSP_HITDOWN);
}

// Draws a part (0 all of them) released or pressed.
void drawButtons(HSpRecord* s, int part, bool pressed) {
  HWND window = s->edit.head.window;
  HDC dc = GetWindowDC(window);
  if (dc == nullptr) return;
  const bool disabled = !IsWindowEnabled(window);
  for (int p = 1; p <= 3; ++p) {
    if (part != 0 && part != p) continue;
    RECT r = partRect(window, p, hasDragArea(s));
    if (IsRectEmpty(&r)) continue;
    if (p == 2) {
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      continue;
    }
    HCtlDrawButtonFace(window, dc, &r, 1, pressed ? HCTL_FACE_PUSHED : 0, nullptr, nullptr, arrow(p == 1, disabled),
                       kArrowKey);
  }
  ReleaseDC(window, dc);
}

// --- steps ---------------------------------------------------------------------------------

void copyToLink(HEdRecord* r) {
  if (r->link != nullptr && r->value != nullptr) std::memcpy(r->link, r->value, r->valueSize);
}

void step(HSpRecord* s, bool up, bool repeated) {
  HEdRecord* r = &s->edit;
  HWND window = r->head.window;
  HEdCommit(r, r->text);
  if (repeated) {
    drawButtons(s, s->buttonState, false);
    drawButtons(s, s->buttonState, true);
  }
  if (HCtlNotify(&r->head, up ? HSP_N_UP : HSP_N_DOWN) != 0 || !IsWindow(window)) return;
  std::vector<BYTE> before(r->value, r->value + r->valueSize);
  HSpStep(s, up ? TRUE : FALSE);
  if (std::memcmp(before.data(), r->value, r->valueSize) != 0) r->head.flags |= HED_MODIFIED;
  copyToLink(r);
  const int anchor = r->anchor, caret = r->caret;
  HEdShow(r, (r->head.flags & HED_DISPLAY) ? 0 : 1);
  if (isDateType(r->type)) HEdSetSel(r, 0, anchor, caret);  // the step chose the selection
  HCtlNotify(&r->head, HED_N_CHANGE);
}

// Steps at once, again after 300 ms and then each 5/6 of the previous
// interval, until the button's release waits in the queue.
void autoRepeat(HSpRecord* s, UINT message) {
  HWND window = s->edit.head.window;
  SendMessageA(window, message, 0, 0);
  UpdateWindow(window);
  DWORD last = GetTickCount();
  DWORD interval = kFirstRepeat;
  for (;;) {
    MSG pending;
    if (!IsWindow(window) || PeekMessageA(&pending, window, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE)) return;
    if (GetAsyncKeyState(VK_LBUTTON) >= 0 && GetKeyState(VK_LBUTTON) >= 0 &&
        !PeekMessageA(&pending, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE))
      return;  // released where this window does not hear it
    const DWORD waited = GetTickCount() - last;
    if (waited > kRepeatGiveUp) return;
    if (waited < interval) {
      Sleep(std::min<DWORD>(interval - waited, 10));
      continue;
    }
    SendMessageA(window, message, 1, 0);
    UpdateWindow(window);
    last = GetTickCount();
    interval = std::max<DWORD>(interval * 5 / 6, kRepeatFloor);
  }
}

LRESULT press(HSpRecord* s, int hit) {
  HEdRecord* r = &s->edit;
  HWND window = r->head.window;
  if (GetFocus() != window) {
    SetFocus(window);  // the first click only focuses
    return 0;
  }
  s->buttonState = static_cast<WORD>(hit - 30);
  HEdCommit(r, r->text);
  SetCapture(window);
  if (!isDateType(r->type)) HEdSetSel(r, 0, 0, 0);
  drawButtons(s, s->buttonState, true);
  if (s->buttonState == 1) autoRepeat(s, KYM_SPINUP);
  else if (s->buttonState == 3) autoRepeat(s, KYM_SPINDOWN);
  else {
    SetCursor(cursors[kInsideCursor]);
    HCtlTrackCapture(&r->head, FALSE);
  }
  return 0;
}

// A mouse move while the drag area is held: above the field steps up, below it down.
void dragStep(HSpRecord* s, LPARAM lParam) {
  HWND window = s->edit.head.window;
  RECT client;
  GetClientRect(window, &client);
  const int y = static_cast<SHORT>(HIWORD(lParam));
  if (y < client.top) {
    SetCursor(cursors[kAboveCursor]);
    SendMessageA(window, KYM_SPINUP, 0, 0);
  } else if (y >= client.bottom) {
    SetCursor(cursors[kBelowCursor]);
    SendMessageA(window, KYM_SPINDOWN, 0, 0);
  } else {
    SetCursor(cursors[kInsideCursor]);
  }
}

void release(HSpRecord* s) {
  if (s->buttonState == 0) return;
  if (GetCapture() == s->edit.head.window) ReleaseCapture();
  drawButtons(s, s->buttonState, false);
  s->buttonState = 0;
}

// --- creation --------------------------------------------------------------------------------

// The increment of a definition: the third part of the range of a number.
double definedIncrement(const char* definition) {
  char type = 's', storage = 's';
  const char* rest = HCtlParsePrefix(definition, &type, &storage, nullptr, nullptr);
  double minimum = 0, maximum = 0, third = 1.0;
  if ((type == 'n' || type == 'c' || isDateType(type)) && *rest == '|' &&
      (HEdParseRange(&rest, &minimum, &maximum, &third, type, storage) & 4) != 0)
    return third;
  return 1.0;
}

LRESULT create(HWND window, WPARAM wParam, LPARAM lParam, BOOL* passOn) {
  auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
  // Style bit 0x20 is the drag area here, the password style to the edit.
  const bool dragArea = (cs->style & kHSpDragStyle) != 0;
  cs->style &= ~kHSpDragStyle;
  const char* text = (cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName)) ? cs->lpszName : "";
  if (!HEdProc(window, WM_NCCREATE, wParam, lParam, passOn, nullptr)) return FALSE;
  auto* edit = reinterpret_cast<HCtlRecord*>(SendMessageA(window, KYM_GETINSTANCE, 0, 0));
  auto* s = static_cast<HSpRecord*>(HCtlRealloc(edit, sizeof(HSpRecord)));
  if (s == nullptr) {
    // No room for the spin's fields: no window rather than fields written past the edit's record.
    HEdProc(window, WM_NCDESTROY, 0, 0, passOn, edit);
    *passOn = FALSE;
    return FALSE;
  }
  SendMessageA(window, KYM_SETINSTANCE, 0, reinterpret_cast<LPARAM>(s));
  s->buttonState = 0;
  s->spinFlags = dragArea ? HSP_DRAGAREA : 0;
  s->increment = definedIncrement(text);
  if (liveSpins++ == 0) holdCursors(true);
  *passOn = TRUE;
  return TRUE;
}

LRESULT getIncrement(HSpRecord* s, LPARAM buffer) {
  const char type = s->edit.type;
  if ((type != 'n' && type != 'c') || buffer == 0) return 0;
  return HEdNumberToValue(s->increment, reinterpret_cast<void*>(buffer), type, s->edit.storage) ? 1 : 0;
}

LRESULT setIncrement(HSpRecord* s, LPARAM value) {
  const char type = s->edit.type;
  if (type != 'n' && type != 'c') return 0;
  double increment = 1.0;
  if (value != 0 && !HEdValueToNumber(&increment, reinterpret_cast<const void*>(value), type, s->edit.storage)) return 0;
  s->increment = increment;
  return 1;
}

}  // namespace

LRESULT HSpProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* head) {
  if (message == WM_NCCREATE) return create(window, wParam, lParam, passOn);
  HSpRecord* s = recordOf(head);
  if (s == nullptr) return HEdProc(window, message, wParam, lParam, passOn, head);
  HEdRecord* r = &s->edit;
  switch (message) {
    case WM_NCDESTROY:
      if (--liveSpins == 0) holdCursors(false);
      break;
    case WM_NCCALCSIZE:
      if (lParam != 0) {
        RECT* rect = reinterpret_cast<RECT*>(lParam);  // the first rectangle in both forms
        rect->right = std::max<LONG>(rect->left, rect->right - GetSystemMetrics(SM_CXVSCROLL));
      }
      break;
    case WM_NCPAINT: {
      // The edit's frame first, so that the buttons stand on it whole.
      const LRESULT result = HEdProc(window, message, wParam, lParam, passOn, head);
      drawButtons(s, 0, false);
      return result;
    }
    case WM_NCHITTEST:
      if (const int hit = hitCode(s, {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))}))
        return hit;
      break;
    case WM_SETCURSOR: {
      const int hit = LOWORD(lParam);
      if ((r->head.flags & HED_FOCUS) && (hit == HSP_HITUP || hit == HSP_HITDOWN)) {
        SetCursor(HCtlArrowCursor());
        return 1;
      }
      if ((r->head.flags & HED_FOCUS) && hit == HSP_HITDRAG && hasDragArea(s)) {
        SetCursor(cursors[kDragCursor]);
        return 1;
      }
      break;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HSP_HITUP || wParam == HSP_HITDOWN || (wParam == HSP_HITDRAG && hasDragArea(s)))
        return press(s, static_cast<int>(wParam));
      break;
    case WM_MOUSEMOVE:
      if (s->buttonState == 0) break;
      if (s->buttonState == 2) dragStep(s, lParam);
      return 1;
    case WM_LBUTTONUP: release(s); break;
    case WM_KEYDOWN:
      if (wParam != VK_UP && wParam != VK_DOWN) break;
      drawButtons(s, wParam == VK_UP ? 1 : 3, true);
      SendMessageA(window, wParam == VK_UP ? KYM_SPINUP : KYM_SPINDOWN, 0, 0);
      return 0;
    case WM_KEYUP:
      if (wParam != VK_UP && wParam != VK_DOWN) break;
      drawButtons(s, wParam == VK_UP ? 1 : 3, false);
      return 0;
    case KYM_SPINUP:
    case KYM_SPINDOWN:
      step(s, message == KYM_SPINUP, wParam != 0);
      if (!IsWindow(window)) return 0;
      break;
    case KYM_GETINC: return getIncrement(s, lParam);
    case KYM_SETINC: return setIncrement(s, lParam);
    case KYM_SPINSETDRAGAREA:
      s->spinFlags = wParam ? (s->spinFlags | HSP_DRAGAREA) : (s->spinFlags & ~HSP_DRAGAREA);
      RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      break;
    default: break;
  }
  return HEdProc(window, message, wParam, lParam, passOn, head);
}
