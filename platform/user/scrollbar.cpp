// The standard scroll bars of a window (WS_HSCROLL / WS_VSCROLL): their
// range, page, position and enabled arrows. SB_CTL names a scroll bar
// control (scrollctl.cpp), which the functions ask with SBM_* messages.
#include "scrollbarparts.h"
#include "window.h"

#include <algorithm>

namespace win32::user {
namespace {

bool isControl(int bar) { return bar == SB_CTL; }

bool validBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

// Shows or hides the bars by style; the client area changes. Answers
// whether anything changed (the frame is then redrawn whole).
bool showBars(HWND hwnd, int bar, bool show) {
  DWORD bits = bar == SB_HORZ ? WS_HSCROLL : bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL | WS_VSCROLL;
  DWORD style = (DWORD)GetWindowLongA(hwnd, GWL_STYLE);
  DWORD next = show ? style | bits : style & ~bits;
  if (next == style) return false;
  {
    Lock lock(userMutex());
    if (Window* w = findLocked(hwnd)) w->style = next;
  }
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return true;
}

// The bar beside the client area, in client coordinates.
RECT barRectLocked(const Window& w, int bar) {
  RECT client = w.clientRect;
  OffsetRect(&client, -client.left, -client.top);
  return bar == SB_VERT ? RECT{client.right, 0, client.right + GetSystemMetrics(SM_CXVSCROLL), client.bottom}
                        : RECT{0, client.bottom, client.right, client.bottom + GetSystemMetrics(SM_CYHSCROLL)};
}

// Whether two states of a bar draw the same pixels: the thumb in the same
// place and the same arrows greyed. A change of range that moves nothing
// on the screen (a list growing row by row with its thumb at the top)
// then costs no painting.
bool looksTheSame(const Window& w, int bar, const ScrollBarState& a, const ScrollBarState& b) {
  const RECT rect = barRectLocked(w, bar);
  const bool enabled = !(w.style & WS_DISABLED);
  const scrollbars::Layout la = scrollbars::layoutOf(rect, bar == SB_VERT, a, enabled);
  const scrollbars::Layout lb = scrollbars::layoutOf(rect, bar == SB_VERT, b, enabled);
  return EqualRect(&la.thumb, &lb.thumb) && a.disabledArrows == b.disabledArrows &&
         scrollbars::scrollsNothing(a) == scrollbars::scrollsNothing(b);
}

}  // namespace

// Which part of a window's scroll bar a screen point hits: SB_LINEUP /
// SB_LINEDOWN on the arrows, SB_PAGEUP / SB_PAGEDOWN beside the thumb.
POINT scrollBarHitTarget(HWND hwnd, int bar, POINT screen, int& code) {
  code = -1;
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  if (!w) return screen;
  POINT o = clientOriginOnScreen(w);
  RECT rect = barRectLocked(*w, bar);
  scrollbars::Layout layout = scrollbars::layoutOf(rect, bar == SB_VERT, w->scroll[bar], true);
  POINT p{screen.x - o.x, screen.y - o.y};
  // The point is on the bar: only its position along the bar matters.
  if (bar == SB_VERT) p.x = rect.left;
  else p.y = rect.top;
  int part = scrollbars::hitTest(layout, p);
  code = part == scrollbars::kThumb ? -1 : part;
  return screen;
}

}  // namespace win32::user

using namespace win32::user;

extern "C" int WINAPI SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO si, BOOL redraw) {
  if (si && isControl(bar) && (si->cbSize == sizeof(SCROLLINFO) || si->cbSize == sizeof(SCROLLINFO) - 4))
    return findWindow(hwnd) ? (int)SendMessageA(hwnd, SBM_SETSCROLLINFO, redraw, (LPARAM)si) : 0;
  if (!si || !validBar(bar) || (si->cbSize != sizeof(SCROLLINFO) && si->cbSize != sizeof(SCROLLINFO) - 4)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto w = findWindow(hwnd);
  if (!w) return 0;
  int pos;
  bool show = false, hide = false, same = false;
  {
    Lock lock(userMutex());
    ScrollBarState& s = w->scroll[bar];
    const ScrollBarState before = s;
    pos = scrollbars::applyScrollInfo(s, *si);
    same = looksTheSame(*w, bar, before, s);
    // A bar whose range scrolls nothing disappears unless SIF_DISABLENOSCROLL keeps it.
    if (si->fMask & (SIF_RANGE | SIF_PAGE)) {
      bool useless = scrollbars::scrollsNothing(s);
      if (useless && !(si->fMask & SIF_DISABLENOSCROLL)) hide = true;
      else if (!useless) show = true;
    }
  }
  bool reframed = (hide || show) && showBars(hwnd, bar, show);
  // As Windows: only the bar is drawn again, at once; the client area is left alone.
  if (redraw && !reframed && !same) paintScrollBars(hwnd, bar);
  return pos;
}

extern "C" BOOL WINAPI GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO si) {
  if (si && isControl(bar)) return findWindow(hwnd) ? (BOOL)SendMessageA(hwnd, SBM_GETSCROLLINFO, 0, (LPARAM)si) : FALSE;
  if (!si || !validBar(bar)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto w = findWindow(hwnd);
  if (!w) return FALSE;
  Lock lock(userMutex());
  const ScrollBarState& s = w->scroll[bar];
  DWORD barStyle = bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
  if (!(w->style & barStyle) && !s.rangeSet) {
    SetLastError(ERROR_NO_SCROLLBARS);
    return FALSE;
  }
  scrollbars::readScrollInfo(s, *si);
  return TRUE;
}

extern "C" int WINAPI SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  if (isControl(bar)) return findWindow(hwnd) ? (int)SendMessageA(hwnd, SBM_SETPOS, pos, redraw) : 0;
  auto w = findWindow(hwnd);
  if (!w || !validBar(bar)) {
    if (w) SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int old;
  {
    Lock lock(userMutex());
    old = w->scroll[bar].pos;
  }
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, pos, 0};
  SetScrollInfo(hwnd, bar, &si, redraw);
  return old;
}

extern "C" int WINAPI GetScrollPos(HWND hwnd, int bar) {
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
  return GetScrollInfo(hwnd, bar, &si) ? si.nPos : 0;
}

extern "C" BOOL WINAPI SetScrollRange(HWND hwnd, int bar, int min, int max, BOOL redraw) {
  if (max - (long long)min > 0x7FFFFFFF) {
    SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
    return FALSE;
  }
  if (!findWindow(hwnd)) return FALSE;
  SCROLLINFO si{sizeof si, SIF_RANGE, min, max, 0, 0, 0};
  SetScrollInfo(hwnd, bar, &si, redraw);
  return validBar(bar) || isControl(bar);
}

extern "C" BOOL WINAPI GetScrollRange(HWND hwnd, int bar, LPINT min, LPINT max) {
  if (!min || !max) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  SCROLLINFO si{sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(hwnd, bar, &si)) {
    *min = *max = 0;
    return FALSE;
  }
  *min = si.nMin;
  *max = si.nMax;
  return TRUE;
}

extern "C" BOOL WINAPI ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  if (!findWindow(hwnd)) return FALSE;
  if (isControl(bar)) {
    ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
    return TRUE;
  }
  if (bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  showBars(hwnd, bar, show != FALSE);
  return TRUE;
}

extern "C" BOOL WINAPI EnableScrollBar(HWND hwnd, UINT bars, UINT arrows) {
  auto w = findWindow(hwnd);
  if (!w) return FALSE;
  if (isControl((int)bars)) return (BOOL)SendMessageA(hwnd, SBM_ENABLE_ARROWS, arrows, 0);
  if (bars != SB_HORZ && bars != SB_VERT && bars != SB_BOTH) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  bool changed = false;
  {
    Lock lock(userMutex());
    for (int bar : {SB_HORZ, SB_VERT}) {
      if (bars != SB_BOTH && (int)bars != bar) continue;
      changed |= w->scroll[bar].disabledArrows != arrows;
      w->scroll[bar].disabledArrows = arrows;
    }
  }
  if (changed) paintScrollBars(hwnd, (int)bars);
  return changed;
}
