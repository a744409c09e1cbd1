// DefWindowProcA: the default answer of every message a window procedure
// passes on. Each message's default is a short handler, picked from a table.
#include "display.h"
#include "queue.h"
#include "window.h"


#include <cstring>

namespace win32::user {

// paint.cpp / ncpaint.cpp
void paintNonClient(HWND hwnd, bool active);
void fillWithBrush(HDC dc, const RECT& r, HBRUSH brush);
POINT scrollBarHitTarget(HWND hwnd, int bar, POINT screen, int& code);
// menutrack.cpp: the menu bar and system menu opened by keys or a click.
void menuSysCommand(HWND hwnd, WPARAM command, LPARAM lParam);
void destroyWindowMenus(HWND hwnd);

namespace {

using Handler = LRESULT (*)(HWND, WPARAM, LPARAM);

WindowPtr windowOf(HWND hwnd) { return findWindow(hwnd); }

HWND parentOfChild(HWND hwnd) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  return w && w->isChild() && w->parent && !w->parent->isDesktop() ? w->parent->handle : nullptr;
}

LRESULT onNcCreate(HWND hwnd, WPARAM, LPARAM lParam) {
  auto* cs = (CREATESTRUCTA*)lParam;
  auto w = windowOf(hwnd);
  if (!w || !cs) return TRUE;
  Lock lock(userMutex());
  // A name of 0xFFFF followed by an id is a resource ordinal (dialog templates), not text.
  if (cs->lpszName && !IS_INTRESOURCE(cs->lpszName) && (BYTE)cs->lpszName[0] != 0xFF) w->text = cs->lpszName;
  w->scrollShown[SB_HORZ] = (cs->style & WS_HSCROLL) != 0;
  w->scrollShown[SB_VERT] = (cs->style & WS_VSCROLL) != 0;
  return TRUE;
}

// The client rectangle a window rectangle leaves, by the window's styles.
RECT clientFromWindow(HWND hwnd, RECT r) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  if (!w) return r;
  RECT f = frameInsets(w->style, w->exStyle, !w->isChild() && w->menu != nullptr);
  r.left += f.left;
  r.top += f.top;
  r.right -= f.right;
  r.bottom -= f.bottom;
  if ((w->style & WS_VSCROLL) && r.right - r.left >= GetSystemMetrics(SM_CXVSCROLL))
    r.right -= GetSystemMetrics(SM_CXVSCROLL);
  if ((w->style & WS_HSCROLL) && r.bottom - r.top >= GetSystemMetrics(SM_CYHSCROLL))
    r.bottom -= GetSystemMetrics(SM_CYHSCROLL);
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

LRESULT onNcCalcSize(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  if (!lParam) return 0;
  RECT* r = wParam ? &((NCCALCSIZE_PARAMS*)lParam)->rgrc[0] : (RECT*)lParam;
  *r = clientFromWindow(hwnd, *r);
  return 0;
}

LRESULT onNcHitTest(HWND hwnd, WPARAM, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  if (!w) return HTNOWHERE;
  RECT wr = windowRectOnScreen(w);
  if (!PtInRect(&wr, p)) return HTNOWHERE;
  RECT client = w->clientRect;
  POINT o = clientOriginOnScreen(w->parent);
  OffsetRect(&client, o.x, o.y);
  if (PtInRect(&client, p)) return HTCLIENT;
  if (w->style & WS_MINIMIZE) return HTCAPTION;
  // Frame edges first: the sizing border of WS_THICKFRAME, the plain border otherwise.
  RECT f = frameInsets(w->style & ~WS_CAPTION, w->exStyle & ~WS_EX_CLIENTEDGE, false);
  RECT inner{wr.left + f.left, wr.top + f.top, wr.right - f.right, wr.bottom - f.bottom};
  if (!PtInRect(&inner, p)) {
    if (!(w->style & WS_THICKFRAME)) return HTBORDER;
    constexpr int kCorner = 16;
    bool left = p.x < inner.left, right = p.x >= inner.right, top = p.y < inner.top, bottom = p.y >= inner.bottom;
    if (top) return p.x < wr.left + kCorner ? HTTOPLEFT : p.x >= wr.right - kCorner ? HTTOPRIGHT : HTTOP;
    if (bottom) return p.x < wr.left + kCorner ? HTBOTTOMLEFT : p.x >= wr.right - kCorner ? HTBOTTOMRIGHT : HTBOTTOM;
    if (left) return p.y < wr.top + kCorner ? HTTOPLEFT : p.y >= wr.bottom - kCorner ? HTBOTTOMLEFT : HTLEFT;
    if (right) return p.y < wr.top + kCorner ? HTTOPRIGHT : p.y >= wr.bottom - kCorner ? HTBOTTOMRIGHT : HTRIGHT;
  }
  if ((w->style & WS_CAPTION) == WS_CAPTION) {
    int captionBottom = inner.top + GetSystemMetrics((w->exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    if (p.y < captionBottom) {
      int button = GetSystemMetrics(SM_CXSIZE);
      if ((w->style & WS_SYSMENU) && !(w->exStyle & WS_EX_TOOLWINDOW) && p.x < inner.left + button) return HTSYSMENU;
      int x = inner.right;
      if (w->style & WS_SYSMENU) {
        if (p.x >= x - button) return HTCLOSE;
        x -= button + 2;
      }
      if (w->style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) {
        if (p.x >= x - button) return HTMAXBUTTON;
        if (p.x >= x - 2 * button) return HTMINBUTTON;
      }
      return HTCAPTION;
    }
    inner.top = captionBottom;
  }
  if (!w->isChild() && w->menu && p.y < inner.top + GetSystemMetrics(SM_CYMENU)) return HTMENU;
  if ((w->style & WS_VSCROLL) && p.x >= client.right && p.y < client.bottom) return HTVSCROLL;
  if ((w->style & WS_HSCROLL) && p.y >= client.bottom && p.x < client.right) return HTHSCROLL;
  if ((w->style & WS_HSCROLL) && (w->style & WS_VSCROLL) && p.x >= client.right && p.y >= client.bottom) return HTSIZE;
  return HTBORDER;
}

LRESULT onSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  // A child lets its parent choose first.
  if (HWND parent = parentOfChild(hwnd))
    if (SendMessageA(parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
  short hit = (short)LOWORD(lParam);
  LPCSTR shape = IDC_ARROW;
  switch (hit) {
    case HTCLIENT: {
      HCURSOR c = (HCURSOR)GetClassLongPtrA(hwnd, GCLP_HCURSOR);
      if (!c) return FALSE;
      SetCursor(c);
      return TRUE;
    }
    case HTLEFT: case HTRIGHT: shape = IDC_SIZEWE; break;
    case HTTOP: case HTBOTTOM: shape = IDC_SIZENS; break;
    case HTTOPLEFT: case HTBOTTOMRIGHT: shape = IDC_SIZENWSE; break;
    case HTTOPRIGHT: case HTBOTTOMLEFT: shape = IDC_SIZENESW; break;
    case HTERROR:
      if (HIWORD(lParam) == WM_LBUTTONDOWN) MessageBeep(0);
      break;
    default: break;
  }
  SetCursor(LoadCursorA(nullptr, shape));
  return TRUE;
}

LRESULT onMouseActivate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  if (HWND parent = parentOfChild(hwnd))
    if (LRESULT r = SendMessageA(parent, WM_MOUSEACTIVATE, wParam, lParam)) return r;
  return MA_ACTIVATE;
}

HBRUSH classBrush(HWND hwnd) {
  auto brush = (ULONG_PTR)GetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND);
  // COLOR_* + 1 stands for the system colour's brush.
  if (brush && brush <= COLOR_GRADIENTINACTIVECAPTION + 1) return GetSysColorBrush((int)brush - 1);
  return (HBRUSH)brush;
}

LRESULT onEraseBackground(HWND hwnd, WPARAM wParam, LPARAM) {
  HBRUSH brush = classBrush(hwnd);
  if (!brush || !wParam) return 0;
  RECT r;
  if (GetClipBox((HDC)wParam, &r) == 0) GetClientRect(hwnd, &r);
  fillWithBrush((HDC)wParam, r, brush);
  return 1;
}

LRESULT onPaint(HWND hwnd, WPARAM, LPARAM) {
  PAINTSTRUCT ps;
  if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
  return 0;
}

LRESULT onNcPaint(HWND hwnd, WPARAM, LPARAM) {
  // A child with a caption (an MDI child) keeps the look its last
  // WM_NCACTIVATE gave it; only one child of a frame is the active one.
  bool active = GetActiveWindow() == GetAncestor(hwnd, GA_ROOT);
  if (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) {
    auto w = windowOf(hwnd);
    active = w && w->ncActive;
  }
  paintNonClient(hwnd, active);
  return 0;
}

LRESULT onNcActivate(HWND hwnd, WPARAM wParam, LPARAM) {
  if (auto w = windowOf(hwnd)) {
    Lock lock(userMutex());
    w->ncActive = wParam != 0;
  }
  paintNonClient(hwnd, wParam != 0);
  return TRUE;
}

LRESULT onSetText(HWND hwnd, WPARAM, LPARAM lParam) {
  auto w = windowOf(hwnd);
  if (!w) return FALSE;
  // A text that cannot be read is refused, as Windows does, instead of a fault here.
  if (lParam && IsBadStringPtrA((LPCSTR)lParam, ~(UINT_PTR)0)) return FALSE;
  bool caption;
  {
    Lock lock(userMutex());
    w->text = lParam ? (const char*)lParam : "";
    caption = (w->style & WS_CAPTION) == WS_CAPTION;
  }
  if (caption) RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  if (display::onServer()) display::textChanged(hwnd);
  return TRUE;
}

LRESULT onGetText(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  auto w = windowOf(hwnd);
  if (!w || !lParam || !wParam) return 0;
  Lock lock(userMutex());
  size_t n = std::min(w->text.size(), (size_t)wParam - 1);
  memcpy((char*)lParam, w->text.data(), n);
  ((char*)lParam)[n] = 0;
  return (LRESULT)n;
}

LRESULT onGetTextLength(HWND hwnd, WPARAM, LPARAM) {
  auto w = windowOf(hwnd);
  if (!w) return 0;
  Lock lock(userMutex());
  return (LRESULT)w->text.size();
}

LRESULT onNcDestroy(HWND hwnd, WPARAM, LPARAM) {
  destroyWindowMenus(hwnd);
  return 0;
}

LRESULT onClose(HWND hwnd, WPARAM, LPARAM) {
  DestroyWindow(hwnd);
  return 0;
}

LRESULT onWindowPosChanged(HWND hwnd, WPARAM, LPARAM lParam) {
  auto* pos = (WINDOWPOS*)lParam;
  if (!pos) return 0;
  RECT client{};
  DWORD style = 0;
  {
    Lock lock(userMutex());
    Window* w = findLocked(hwnd);
    if (!w) return 0;
    client = w->clientRect;
    style = w->style;
  }
  if (!(pos->flags & SWP_NOCLIENTMOVE)) SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
  if (!(pos->flags & SWP_NOCLIENTSIZE) || (pos->flags & SWP_STATECHANGED)) {
    WPARAM type = (style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : (style & WS_MINIMIZE) ? SIZE_MINIMIZED : SIZE_RESTORED;
    SendMessageA(hwnd, WM_SIZE, type, MAKELPARAM(client.right - client.left, client.bottom - client.top));
  }
  return 0;
}

LRESULT ctlColor(HWND, WPARAM wParam, int textColor, int backColor) {
  HDC dc = (HDC)wParam;
  if (dc) {
    SetTextColor(dc, GetSysColor(textColor));
    SetBkColor(dc, GetSysColor(backColor));
  }
  return (LRESULT)GetSysColorBrush(backColor);
}
LRESULT onCtlColorWindow(HWND h, WPARAM w, LPARAM) { return ctlColor(h, w, COLOR_WINDOWTEXT, COLOR_WINDOW); }
LRESULT onCtlColorFace(HWND h, WPARAM w, LPARAM) { return ctlColor(h, w, COLOR_WINDOWTEXT, COLOR_3DFACE); }
LRESULT onCtlColorScrollBar(HWND h, WPARAM w, LPARAM) { return ctlColor(h, w, COLOR_WINDOWTEXT, COLOR_SCROLLBAR); }

LRESULT onSysKeyDown(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  constexpr LPARAM kAltDown = 1 << 29;
  if ((lParam & kAltDown) && wParam == VK_F4)
    SendMessageA(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
  return 0;
}

// F10 (without Shift) and Alt pressed and released alone make the menu bar active.
LRESULT onSysKeyUp(HWND hwnd, WPARAM wParam, LPARAM) {
  if ((wParam == VK_F10 && !(GetKeyState(VK_SHIFT) & 0x8000)) || wParam == VK_MENU)
    SendMessageA(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, 0);
  return 0;
}

LRESULT onSysChar(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  constexpr LPARAM kAltDown = 1 << 29;
  if (wParam == VK_RETURN && IsIconic(hwnd)) {
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    return 0;
  }
  // Alt with a character asks for the menu with that mnemonic.
  if ((lParam & kAltDown) && wParam && wParam != VK_TAB && wParam != VK_ESCAPE)
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_KEYMENU, (LPARAM)wParam);
  return 0;
}

LRESULT onSysCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  switch (wParam & 0xFFF0) {
    case SC_KEYMENU:
    case SC_MOUSEMENU: menuSysCommand(hwnd, wParam, lParam); break;
    case SC_CLOSE: SendMessageA(hwnd, WM_CLOSE, 0, 0); break;
    case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
    case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); break;
    case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
    default: break;  // moving and sizing by keyboard have no screen here
  }
  return 0;
}

LRESULT onActivate(HWND hwnd, WPARAM wParam, LPARAM) {
  if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(hwnd)) SetFocus(hwnd);
  return 0;
}

LRESULT onCancelMode(HWND hwnd, WPARAM, LPARAM) {
  if (GetCapture() == hwnd) ReleaseCapture();
  return 0;
}

LRESULT onSetRedraw(HWND hwnd, WPARAM wParam, LPARAM) {
  // Windows toggles WS_VISIBLE quietly: no messages, no repaint until asked.
  auto w = windowOf(hwnd);
  if (!w) return 0;
  Lock lock(userMutex());
  if (wParam) w->style |= WS_VISIBLE;
  else w->style &= ~WS_VISIBLE;
  return 0;
}

LRESULT toParent(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND parent = parentOfChild(hwnd);
  return parent ? SendMessageA(parent, msg, wParam, lParam) : 0;
}
LRESULT onMouseWheel(HWND h, WPARAM w, LPARAM l) { return toParent(h, WM_MOUSEWHEEL, w, l); }
LRESULT onContextMenu(HWND h, WPARAM w, LPARAM l) { return toParent(h, WM_CONTEXTMENU, w, l); }
LRESULT onHelp(HWND h, WPARAM w, LPARAM l) { return toParent(h, WM_HELP, w, l); }

LRESULT onNcLButtonDown(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (wParam) {
    case HTCLOSE: SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam); break;
    case HTMENU:
    case HTSYSMENU: SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU + wParam, lParam); break;
    case HTVSCROLL:
    case HTHSCROLL: {
      int code = -1;
      int bar = wParam == HTVSCROLL ? SB_VERT : SB_HORZ;
      scrollBarHitTarget(hwnd, bar, p, code);
      if (code >= 0) SendMessageA(hwnd, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, 0), 0);
      break;
    }
    default: break;
  }
  return 0;
}

LRESULT onNcLButtonDblClk(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  if (wParam == HTCAPTION && (GetWindowLongA(hwnd, GWL_STYLE) & WS_MAXIMIZEBOX))
    SendMessageA(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, lParam);
  return 0;
}

// WM_SETICON keeps the icon of its size and answers the one it replaces.
LRESULT onSetIcon(HWND hwnd, WPARAM which, LPARAM icon) {
  auto w = windowOf(hwnd);
  if (!w || (which != ICON_SMALL && which != ICON_BIG)) return 0;
  HICON previous;
  {
    Lock lock(userMutex());
    HICON& slot = which == ICON_BIG ? w->iconBig : w->iconSmall;
    previous = slot;
    slot = (HICON)icon;
  }
  if (display::onServer()) display::iconChanged(hwnd);
  return (LRESULT)previous;
}

// WM_GETICON: ICON_SMALL2 (2) is the small icon, else the big one.
LRESULT onGetIcon(HWND hwnd, WPARAM which, LPARAM) {
  auto w = windowOf(hwnd);
  if (!w) return 0;
  Lock lock(userMutex());
  if (which == ICON_BIG) return (LRESULT)w->iconBig;
  if (which == ICON_SMALL) return (LRESULT)w->iconSmall;
  return (LRESULT)(w->iconSmall ? w->iconSmall : w->iconBig);
}

LRESULT answerTrue(HWND, WPARAM, LPARAM) { return TRUE; }

struct Entry {
  UINT msg;
  Handler handler;
};

constexpr Entry kHandlers[] = {
    {WM_NCCREATE, onNcCreate},
    {WM_NCCALCSIZE, onNcCalcSize},
    {WM_NCHITTEST, onNcHitTest},
    {WM_SETCURSOR, onSetCursor},
    {WM_MOUSEACTIVATE, onMouseActivate},
    {WM_ERASEBKGND, onEraseBackground},
    {WM_PAINT, onPaint},
    {WM_NCPAINT, onNcPaint},
    {WM_NCACTIVATE, onNcActivate},
    {WM_SETTEXT, onSetText},
    {WM_GETTEXT, onGetText},
    {WM_GETTEXTLENGTH, onGetTextLength},
    {WM_CLOSE, onClose},
    {WM_SETICON, onSetIcon},
    {WM_GETICON, onGetIcon},
    {WM_NCDESTROY, onNcDestroy},
    {WM_WINDOWPOSCHANGED, onWindowPosChanged},
    {WM_CTLCOLORMSGBOX, onCtlColorFace},
    {WM_CTLCOLOREDIT, onCtlColorWindow},
    {WM_CTLCOLORLISTBOX, onCtlColorWindow},
    {WM_CTLCOLORBTN, onCtlColorFace},
    {WM_CTLCOLORDLG, onCtlColorFace},
    {WM_CTLCOLORSTATIC, onCtlColorFace},
    {WM_CTLCOLORSCROLLBAR, onCtlColorScrollBar},
    {WM_SYSKEYDOWN, onSysKeyDown},
    {WM_SYSKEYUP, onSysKeyUp},
    {WM_SYSCHAR, onSysChar},
    {WM_SYSCOMMAND, onSysCommand},
    {WM_ACTIVATE, onActivate},
    {WM_CANCELMODE, onCancelMode},
    {WM_SETREDRAW, onSetRedraw},
    {WM_MOUSEWHEEL, onMouseWheel},
    {WM_CONTEXTMENU, onContextMenu},
    {WM_HELP, onHelp},
    {WM_NCLBUTTONDOWN, onNcLButtonDown},
    {WM_NCLBUTTONDBLCLK, onNcLButtonDblClk},
    {WM_QUERYENDSESSION, answerTrue},
    {WM_QUERYOPEN, answerTrue},
};

}  // namespace
}  // namespace win32::user

using namespace win32::user;

extern "C" LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  for (const Entry& e : kHandlers)
    if (e.msg == msg) return e.handler(hwnd, wParam, lParam);
  return 0;
}
