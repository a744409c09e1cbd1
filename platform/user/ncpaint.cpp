// The default look of the non-client area (WM_NCPAINT, WM_NCACTIVATE): the
// classic frame, caption and scroll bars, drawn on the window DC.
#include "menu.h"
#include "scrollbarparts.h"
#include "window.h"

#include <cstring>

namespace win32::user {

void fillWithBrush(HDC dc, const RECT& r, HBRUSH brush);  // paint.cpp

namespace {

void line(HDC dc, int x, int y, int cx, int cy, int color) {
  fillWithBrush(dc, RECT{x, y, x + cx, y + cy}, GetSysColorBrush(color));
}

// A two-pixel 3-D edge inside `r`: raised (light top-left) or sunken.
void edge(HDC dc, RECT& r, bool raised) {
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  int outerLight = raised ? COLOR_3DLIGHT : COLOR_3DSHADOW, outerDark = raised ? COLOR_3DDKSHADOW : COLOR_3DHIGHLIGHT;
  int innerLight = raised ? COLOR_3DHIGHLIGHT : COLOR_3DDKSHADOW, innerDark = raised ? COLOR_3DSHADOW : COLOR_3DLIGHT;
  line(dc, r.left, r.top, w, 1, outerLight);
  line(dc, r.left, r.top, 1, h, outerLight);
  line(dc, r.left, r.bottom - 1, w, 1, outerDark);
  line(dc, r.right - 1, r.top, 1, h, outerDark);
  InflateRect(&r, -1, -1);
  w -= 2;
  h -= 2;
  if (w <= 0 || h <= 0) return;
  line(dc, r.left, r.top, w, 1, innerLight);
  line(dc, r.left, r.top, 1, h, innerLight);
  line(dc, r.left, r.bottom - 1, w, 1, innerDark);
  line(dc, r.right - 1, r.top, 1, h, innerDark);
  InflateRect(&r, -1, -1);
}

// Draws the window's bar `bar` (SB_HORZ / SB_VERT) beside `client` (window coordinates).
void drawScrollBar(HDC dc, const RECT& client, int bar, const ScrollBarState& state, bool enabled) {
  bool vertical = bar == SB_VERT;
  RECT r = vertical ? RECT{client.right, client.top, client.right + GetSystemMetrics(SM_CXVSCROLL), client.bottom}
                    : RECT{client.left, client.bottom, client.right, client.bottom + GetSystemMetrics(SM_CYHSCROLL)};
  scrollbars::Layout layout = scrollbars::layoutOf(r, vertical, state, enabled);
  scrollbars::paint(dc, layout, state, enabled, scrollbars::kNowhere, GetSysColorBrush(COLOR_SCROLLBAR), false);
}

DWORD styleOfBar(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }

}  // namespace

void paintNonClient(HWND hwnd, bool active) {
  RECT window{}, client{};
  DWORD style = 0, exStyle = 0;
  HMENU menu = nullptr;
  std::string text;
  ScrollBarState bars[2];
  bool enabled = true;
  {
    Lock lock(userMutex());
    Window* w = findLocked(hwnd);
    if (!w || !reallyVisible(w)) return;
    window = RECT{0, 0, w->windowRect.right - w->windowRect.left, w->windowRect.bottom - w->windowRect.top};
    client = w->clientRect;
    OffsetRect(&client, -w->windowRect.left, -w->windowRect.top);
    style = w->style;
    exStyle = w->exStyle;
    if (!w->isChild()) menu = w->menu;
    text = w->text;
    bars[SB_HORZ] = w->scroll[SB_HORZ];
    bars[SB_VERT] = w->scroll[SB_VERT];
    enabled = !(w->style & WS_DISABLED);
  }
  if (EqualRect(&window, &client)) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  // Everything outside the client area first in the face colour, then the edges.
  HRGN rest = CreateRectRgnIndirect(&window);
  HRGN inside = CreateRectRgnIndirect(&client);
  CombineRgn(rest, rest, inside, RGN_DIFF);
  ExtSelectClipRgn(dc, rest, RGN_AND);
  fillWithBrush(dc, window, GetSysColorBrush(COLOR_3DFACE));
  DeleteObject(rest);
  DeleteObject(inside);
  RECT r = window;
  if ((style & (WS_THICKFRAME | WS_DLGFRAME)) || (exStyle & WS_EX_DLGMODALFRAME)) {
    edge(dc, r, true);
    if (style & WS_THICKFRAME) InflateRect(&r, -(GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXDLGFRAME)), -(GetSystemMetrics(SM_CYFRAME) - GetSystemMetrics(SM_CYDLGFRAME)));
    InflateRect(&r, -1, -1);
  } else if (style & WS_BORDER) {
    int w = r.right - r.left, h = r.bottom - r.top;
    line(dc, r.left, r.top, w, 1, COLOR_WINDOWFRAME);
    line(dc, r.left, r.bottom - 1, w, 1, COLOR_WINDOWFRAME);
    line(dc, r.left, r.top, 1, h, COLOR_WINDOWFRAME);
    line(dc, r.right - 1, r.top, 1, h, COLOR_WINDOWFRAME);
    InflateRect(&r, -1, -1);
  } else if (exStyle & WS_EX_STATICEDGE) {
    int w = r.right - r.left, h = r.bottom - r.top;
    line(dc, r.left, r.top, w, 1, COLOR_3DSHADOW);
    line(dc, r.left, r.top, 1, h, COLOR_3DSHADOW);
    line(dc, r.left, r.bottom - 1, w, 1, COLOR_3DHIGHLIGHT);
    line(dc, r.right - 1, r.top, 1, h, COLOR_3DHIGHLIGHT);
    InflateRect(&r, -1, -1);
  }
  if ((style & WS_CAPTION) == WS_CAPTION) {
    int height = GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    RECT caption{r.left, r.top, r.right, r.top + height - 1};
    fillWithBrush(dc, caption, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    if (!text.empty()) {
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
      HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
      TextOutA(dc, caption.left + 4, caption.top + 2, text.c_str(), (int)text.size());
      if (old) SelectObject(dc, old);
    }
    r.top += height;
  }
  if (menu) {
    paintMenuBar(dc, hwnd, menu, RECT{r.left, r.top, r.right, r.top + GetSystemMetrics(SM_CYMENU)});
    r.top += GetSystemMetrics(SM_CYMENU);
  }
  if (exStyle & WS_EX_CLIENTEDGE) edge(dc, r, false);
  for (int bar : {SB_VERT, SB_HORZ})
    if (style & styleOfBar(bar)) drawScrollBar(dc, client, bar, bars[bar], enabled);
  ReleaseDC(hwnd, dc);
}

void paintScrollBars(HWND hwnd, int which) {
  RECT client{};
  DWORD style = 0;
  ScrollBarState bars[2];
  bool enabled = true;
  {
    Lock lock(userMutex());
    Window* w = findLocked(hwnd);
    if (!w || !reallyVisible(w)) return;
    client = w->clientRect;
    OffsetRect(&client, -w->windowRect.left, -w->windowRect.top);
    style = w->style;
    bars[SB_HORZ] = w->scroll[SB_HORZ];
    bars[SB_VERT] = w->scroll[SB_VERT];
    enabled = !(w->style & WS_DISABLED);
  }
  if (!(style & (WS_HSCROLL | WS_VSCROLL))) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  for (int bar : {SB_VERT, SB_HORZ})
    if ((which == SB_BOTH || which == bar) && (style & styleOfBar(bar)))
      drawScrollBar(dc, client, bar, bars[bar], enabled);
  ReleaseDC(hwnd, dc);
}

}  // namespace win32::user
