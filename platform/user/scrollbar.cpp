// The standard scroll bars of a window (WS_HSCROLL / WS_VSCROLL): their
// range, page, position and enabled arrows. SB_CTL scroll bar controls are
// windows of their own class and are not handled here.
#include "window.h"

#include <algorithm>

namespace win32::user {
namespace {

// The usable range of positions: max - page + 1 when a page is set, as Windows clamps.
int maxPosition(const ScrollBarState& s) {
  return s.page ? std::max(s.min, s.max - (int)s.page + 1) : s.max;
}

bool validBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

void redrawFrame(HWND hwnd, BOOL redraw) {
  if (redraw) RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

// Shows or hides the bars by style; the client area changes.
void showBars(HWND hwnd, int bar, bool show) {
  DWORD bits = bar == SB_HORZ ? WS_HSCROLL : bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL | WS_VSCROLL;
  DWORD style = (DWORD)GetWindowLongA(hwnd, GWL_STYLE);
  DWORD next = show ? style | bits : style & ~bits;
  if (next == style) return;
  {
    Lock lock(userMutex());
    if (Window* w = findLocked(hwnd)) w->style = next;
  }
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
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
  RECT client = w->clientRect;
  int length = bar == SB_VERT ? client.bottom - client.top : client.right - client.left;
  int along = bar == SB_VERT ? screen.y - o.y : screen.x - o.x;
  int arrow = GetSystemMetrics(bar == SB_VERT ? SM_CYVSCROLL : SM_CXHSCROLL);
  const ScrollBarState& s = w->scroll[bar];
  if (along < arrow) code = SB_LINEUP;
  else if (along >= length - arrow) code = SB_LINEDOWN;
  else {
    int track = std::max(1, length - 2 * arrow);
    int range = std::max(1, maxPosition(s) - s.min);
    int thumb = arrow + (int)((long long)(s.pos - s.min) * std::max(0, track - arrow) / range);
    code = along < thumb ? SB_PAGEUP : along >= thumb + arrow ? SB_PAGEDOWN : SB_THUMBPOSITION;
    if (code == SB_THUMBPOSITION) code = -1;
  }
  return screen;
}

}  // namespace win32::user

using namespace win32::user;

extern "C" int WINAPI SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO si, BOOL redraw) {
  if (!si || !validBar(bar) || (si->cbSize != sizeof(SCROLLINFO) && si->cbSize != sizeof(SCROLLINFO) - 4)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto w = findWindow(hwnd);
  if (!w) return 0;
  int pos;
  bool show = false, hide = false;
  {
    Lock lock(userMutex());
    ScrollBarState& s = w->scroll[bar];
    if (si->fMask & SIF_RANGE) {
      s.min = si->nMin;
      s.max = si->nMax;
      s.rangeSet = true;
    }
    if (si->fMask & SIF_PAGE) s.page = (int)std::min<UINT>(si->nPage, (UINT)std::max(0, s.max - s.min + 1));
    if (si->fMask & SIF_POS) s.pos = si->nPos;
    s.pos = std::clamp(s.pos, s.min, std::max(s.min, maxPosition(s)));
    pos = s.pos;
    // A bar whose range scrolls nothing disappears unless SIF_DISABLENOSCROLL keeps it.
    if (si->fMask & (SIF_RANGE | SIF_PAGE)) {
      bool useless = s.min >= s.max || (s.page && (int)s.page > s.max - s.min);
      if (useless && !(si->fMask & SIF_DISABLENOSCROLL)) hide = true;
      else if (!useless) show = true;
    }
  }
  if (hide) showBars(hwnd, bar, false);
  else if (show) showBars(hwnd, bar, true);
  redrawFrame(hwnd, redraw);
  return pos;
}

extern "C" BOOL WINAPI GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO si) {
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
  if (si->fMask & SIF_RANGE) {
    si->nMin = s.min;
    si->nMax = s.max;
  }
  if (si->fMask & SIF_PAGE) si->nPage = (UINT)s.page;
  if (si->fMask & SIF_POS) si->nPos = s.pos;
  if (si->fMask & SIF_TRACKPOS) si->nTrackPos = s.trackPos;
  return TRUE;
}

extern "C" int WINAPI SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
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
  return validBar(bar);
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
  redrawFrame(hwnd, TRUE);
  return changed;
}
