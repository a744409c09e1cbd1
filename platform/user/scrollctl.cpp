// The "ScrollBar" control (SB_CTL): a scroll bar window of its own that
// reports arrows, page areas, thumb drags and keys to its parent as
// WM_HSCROLL / WM_VSCROLL with its handle; the parent moves it with
// SBM_SETPOS or SetScrollInfo(SB_CTL).
#include "control.h"
#include "scrollbarparts.h"
#include "systemclass.h"

namespace win32::user::scrollctl {
namespace {

namespace bars = win32::user::scrollbars;

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatDelay = 400;  // ms before a held arrow or page area repeats
constexpr UINT kRepeatDelay = 50;

struct ScrollControl {
  ScrollBarState bar;
  int pressed = bars::kNowhere;  // the part held down by the mouse
  bool over = false;             // the mouse is over the part held down
  int grab = 0;                  // pixels from the thumb's leading edge to the mouse, while dragging
  bool focused = false;
};

ScrollControl* stateOf(HWND hwnd) { return control::state<ScrollControl>(hwnd); }

bool vertical(HWND hwnd) { return (GetWindowLongA(hwnd, GWL_STYLE) & SBS_VERT) != 0; }

bars::Layout layoutOf(HWND hwnd, const ScrollControl& sc) {
  RECT client;
  GetClientRect(hwnd, &client);
  return bars::layoutOf(client, vertical(hwnd), sc.bar, IsWindowEnabled(hwnd) != FALSE);
}

void tellParent(HWND hwnd, int code, int position = 0) {
  HWND parent = creationParent(hwnd);
  if (!parent) return;
  SendMessageA(parent, vertical(hwnd) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, (WORD)position), (LPARAM)hwnd);
}

void redraw(HWND hwnd, BOOL now) {
  InvalidateRect(hwnd, nullptr, FALSE);
  if (now) UpdateWindow(hwnd);
}

int pointAlong(HWND hwnd, LPARAM lParam) { return vertical(hwnd) ? (short)HIWORD(lParam) : (short)LOWORD(lParam); }

void onButtonDown(HWND hwnd, ScrollControl& sc, LPARAM lParam) {
  if (GetWindowLongA(hwnd, GWL_STYLE) & WS_TABSTOP) SetFocus(hwnd);
  bars::Layout layout = layoutOf(hwnd, sc);
  int part = bars::hitTest(layout, POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
  if (part == bars::kNowhere) return;
  bool firstArrow = part == SB_LINEUP, lastArrow = part == SB_LINEDOWN;
  if ((firstArrow && (sc.bar.disabledArrows & ESB_DISABLE_LTUP)) || (lastArrow && (sc.bar.disabledArrows & ESB_DISABLE_RTDN)))
    return;
  if ((firstArrow || lastArrow) && bars::scrollsNothing(sc.bar)) return;
  sc.pressed = part;
  sc.over = true;
  SetCapture(hwnd);
  if (part == bars::kThumb) {
    sc.grab = pointAlong(hwnd, lParam) - (layout.vertical ? layout.thumb.top : layout.thumb.left);
    sc.bar.trackPos = sc.bar.pos;
  } else {
    tellParent(hwnd, part);
    SetTimer(hwnd, kRepeatTimer, kFirstRepeatDelay, nullptr);
  }
  redraw(hwnd, TRUE);
}

void onMouseMove(HWND hwnd, ScrollControl& sc, LPARAM lParam) {
  if (sc.pressed == bars::kNowhere || GetCapture() != hwnd) return;
  bars::Layout layout = layoutOf(hwnd, sc);
  if (sc.pressed == bars::kThumb) {
    int position = bars::positionAt(layout, sc.bar, pointAlong(hwnd, lParam) - sc.grab);
    if (position != sc.bar.trackPos) {
      sc.bar.trackPos = position;
      tellParent(hwnd, SB_THUMBTRACK, position);
    }
    return;
  }
  bool over = bars::hitTest(layout, POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)}) == sc.pressed;
  if (over != sc.over) {
    sc.over = over;
    redraw(hwnd, TRUE);
  }
}

void endPress(HWND hwnd, ScrollControl& sc) {
  int part = sc.pressed;
  sc.pressed = bars::kNowhere;
  KillTimer(hwnd, kRepeatTimer);
  if (GetCapture() == hwnd) ReleaseCapture();
  if (part == bars::kThumb) tellParent(hwnd, SB_THUMBPOSITION, sc.bar.trackPos);
  if (part != bars::kNowhere) tellParent(hwnd, SB_ENDSCROLL);
  redraw(hwnd, TRUE);
}

void onTimer(HWND hwnd, ScrollControl& sc) {
  if (sc.pressed == bars::kNowhere || sc.pressed == bars::kThumb) {
    KillTimer(hwnd, kRepeatTimer);
    return;
  }
  SetTimer(hwnd, kRepeatTimer, kRepeatDelay, nullptr);
  if (!sc.over) return;
  // A page area stops repeating once the thumb has come under the mouse.
  tellParent(hwnd, sc.pressed);
}

// Keys as the parent sees them: one scroll code per key press, SB_ENDSCROLL at release.
int keyCode(UINT vk) {
  switch (vk) {
    case VK_UP:
    case VK_LEFT: return SB_LINEUP;
    case VK_DOWN:
    case VK_RIGHT: return SB_LINEDOWN;
    case VK_PRIOR: return SB_PAGEUP;
    case VK_NEXT: return SB_PAGEDOWN;
    case VK_HOME: return SB_TOP;
    case VK_END: return SB_BOTTOM;
    default: return bars::kNowhere;
  }
}

LRESULT setInfo(HWND hwnd, ScrollControl& sc, const SCROLLINFO* si, BOOL redrawNow) {
  if (!si) return sc.bar.pos;
  int pos = bars::applyScrollInfo(sc.bar, *si);
  if (redrawNow) redraw(hwnd, FALSE);
  return pos;
}

LRESULT setRange(HWND hwnd, ScrollControl& sc, int min, int max, BOOL redrawNow) {
  if ((long long)max - min > 0x7FFFFFFF) {
    SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
    return FALSE;
  }
  int old = sc.bar.pos;
  SCROLLINFO si{sizeof si, SIF_RANGE, min, max, 0, 0, 0};
  setInfo(hwnd, sc, &si, redrawNow);
  return sc.bar.pos != old ? old : 0;
}

void paint(HWND hwnd, HDC dc, const ScrollControl& sc) {
  RECT client;
  GetClientRect(hwnd, &client);
  DWORD style = (DWORD)GetWindowLongA(hwnd, GWL_STYLE);
  HBRUSH track = control::colorBrush(hwnd, dc, WM_CTLCOLORSCROLLBAR);
  if (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
    if (style & SBS_SIZEGRIP) DrawFrameControl(dc, &client, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    return;
  }
  bars::Layout layout = layoutOf(hwnd, sc);
  // While dragging, the thumb follows the mouse, not the position.
  ScrollBarState shown = sc.bar;
  if (sc.pressed == bars::kThumb) {
    shown.pos = sc.bar.trackPos;
    layout = bars::layoutOf(client, layout.vertical, shown, IsWindowEnabled(hwnd) != FALSE);
  }
  bars::paint(dc, layout, shown, IsWindowEnabled(hwnd) != FALSE, sc.over ? sc.pressed : bars::kNowhere, track,
              sc.focused);
}

LRESULT CALLBACK scrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    ScrollControl* sc = control::attach<ScrollControl>(hwnd);
    sc->bar.max = 0;  // a new scroll bar control has the range 0..0
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  ScrollControl* sc = stateOf(hwnd);
  if (!sc) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_NCDESTROY:
      control::detach<ScrollControl>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      control::PaintScope scope(hwnd, wParam);
      paint(hwnd, scope.dc(), *sc);
      return 0;
    }
    case WM_ENABLE: redraw(hwnd, FALSE); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      sc->focused = msg == WM_SETFOCUS;
      redraw(hwnd, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: onButtonDown(hwnd, *sc, lParam); return 0;
    case WM_MOUSEMOVE: onMouseMove(hwnd, *sc, lParam); return 0;
    case WM_LBUTTONUP: endPress(hwnd, *sc); return 0;
    case WM_CAPTURECHANGED:
      if (sc->pressed != bars::kNowhere && (HWND)lParam != hwnd) endPress(hwnd, *sc);
      return 0;
    case WM_TIMER:
      if (wParam == kRepeatTimer) onTimer(hwnd, *sc);
      return 0;
    case WM_KEYDOWN: {
      int code = keyCode((UINT)wParam);
      if (code != bars::kNowhere && IsWindowEnabled(hwnd)) tellParent(hwnd, code);
      return 0;
    }
    case WM_KEYUP:
      if (keyCode((UINT)wParam) != bars::kNowhere && IsWindowEnabled(hwnd)) tellParent(hwnd, SB_ENDSCROLL);
      return 0;
    case SBM_SETPOS: {
      int old = sc->bar.pos;
      SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, (int)wParam, 0};
      setInfo(hwnd, *sc, &si, (BOOL)lParam);
      return old;
    }
    case SBM_GETPOS: return sc->bar.pos;
    case SBM_SETRANGE: return setRange(hwnd, *sc, (int)wParam, (int)lParam, FALSE);
    case SBM_SETRANGEREDRAW: return setRange(hwnd, *sc, (int)wParam, (int)lParam, TRUE);
    case SBM_GETRANGE:
      if (wParam) *(LPINT)wParam = sc->bar.min;
      if (lParam) *(LPINT)lParam = sc->bar.max;
      return 0;
    case SBM_ENABLE_ARROWS: {
      UINT arrows = (UINT)wParam & ESB_DISABLE_BOTH;
      bool changed = arrows != sc->bar.disabledArrows;
      sc->bar.disabledArrows = arrows;
      if (changed) redraw(hwnd, FALSE);
      return changed;
    }
    case SBM_SETSCROLLINFO: return setInfo(hwnd, *sc, (const SCROLLINFO*)lParam, (BOOL)wParam);
    case SBM_GETSCROLLINFO:
      if (!lParam) return FALSE;
      bars::readScrollInfo(sc->bar, *(SCROLLINFO*)lParam);
      return TRUE;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

const SystemClass kScrollBarClass({"ScrollBar", scrollBarProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                   control::kStateBytes, IDC_ARROW, 0});

}  // namespace
}  // namespace win32::user::scrollctl
