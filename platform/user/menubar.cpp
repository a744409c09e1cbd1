// The menu bar: its layout in the non-client area, its painting, and the
// item rectangles that hit testing and GetMenuItemRect use.
//
// The bar is one line of SM_CYMENU pixels: items from the left, each its
// text's width plus padding; the first MFT_RIGHTJUSTIFY item and the ones
// after it are pushed to the right edge. Items that do not fit are clipped.
#include "menu.h"
#include "window.h"

#include <algorithm>

namespace win32::user {

void fillWithBrush(HDC dc, const RECT& r, HBRUSH brush);  // paint.cpp

namespace {

constexpr int kItemPadding = 8;  // pixels left and right of an item's text

// The text a menu item shows: up to its Tab (the shortcut column of popups).
std::string barText(const MenuItem& item) { return item.text.substr(0, item.text.find('\t')); }

int itemWidth(HDC dc, const MenuItem& item) {
  if (item.separator()) return 0;
  if ((item.type & MFT_BITMAP) && item.bitmap) {
    BITMAP bm{};
    GetObjectA(item.bitmap, sizeof bm, &bm);
    return bm.bmWidth + 4;
  }
  std::string text = barText(item);
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), (int)text.size(), &r, DT_SINGLELINE | DT_CALCRECT);
  return r.right - r.left + 2 * kItemPadding;
}

std::vector<RECT> layout(const std::vector<MenuItem>& items, int barWidth) {
  std::vector<RECT> rects(items.size(), RECT{0, 0, 0, 0});
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return rects;
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  int height = GetSystemMetrics(SM_CYMENU);
  int x = 0;
  size_t rightFrom = items.size();
  for (size_t i = 0; i < items.size(); ++i) {
    if ((items[i].type & MFT_RIGHTJUSTIFY) && rightFrom == items.size()) rightFrom = i;
    int w = itemWidth(dc, items[i]);
    rects[i] = RECT{x, 0, x + w, height};
    x += w;
  }
  if (rightFrom < items.size()) {
    int shift = barWidth - x;
    if (shift > 0)
      for (size_t i = rightFrom; i < items.size(); ++i) OffsetRect(&rects[i], shift, 0);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  return rects;
}

void paintItem(HDC dc, const MenuItem& item, RECT r) {
  bool hilite = (item.state & MFS_HILITE) != 0;
  if (hilite) fillWithBrush(dc, r, GetSysColorBrush(COLOR_HIGHLIGHT));
  if ((item.type & MFT_BITMAP) && item.bitmap) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, item.bitmap);
    BITMAP bm{};
    GetObjectA(item.bitmap, sizeof bm, &bm);
    BitBlt(dc, r.left + 2, r.top + (r.bottom - r.top - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, source, 0, 0,
           SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    return;
  }
  std::string text = barText(item);
  UINT format = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
  if (!item.enabled() && !hilite) {
    // Disabled items are drawn etched: a light copy one pixel down-right under the grey text.
    RECT shadow = r;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_3DHIGHLIGHT));
    DrawTextA(dc, text.c_str(), (int)text.size(), &shadow, format);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  } else {
    SetTextColor(dc, GetSysColor(hilite ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  }
  DrawTextA(dc, text.c_str(), (int)text.size(), &r, format);
}

}  // namespace

std::vector<RECT> menuBarLayout(HMENU menu, int barWidth) {
  auto snapshot = snapshotMenu(menu);
  if (!snapshot) return {};
  return layout(snapshot->items, barWidth);
}

void paintMenuBar(HDC dc, HWND, HMENU menu, const RECT& bar) {
  fillWithBrush(dc, bar, GetSysColorBrush(COLOR_MENU));
  auto snapshot = snapshotMenu(menu);
  if (!snapshot) return;
  std::vector<RECT> rects = layout(snapshot->items, bar.right - bar.left);
  int saved = SaveDC(dc);
  IntersectClipRect(dc, bar.left, bar.top, bar.right, bar.bottom);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  for (size_t i = 0; i < rects.size(); ++i) {
    if (snapshot->items[i].separator()) continue;
    RECT r = rects[i];
    OffsetRect(&r, bar.left, bar.top);
    paintItem(dc, snapshot->items[i], r);
  }
  SelectObject(dc, old);
  RestoreDC(dc, saved);
}

bool menuBarOnScreen(HWND hwnd, RECT& bar) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  if (!w || w->isChild() || !w->menu) return false;
  RECT window = windowRectOnScreen(w);
  RECT client = w->clientRect;
  POINT origin = clientOriginOnScreen(w->parent);
  OffsetRect(&client, origin.x, origin.y);
  // The bar lies right above the client area (and its sunken edge), inside the frame.
  int edge = (w->exStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : 0;
  int inset = client.left - window.left - edge;
  bar.bottom = client.top - edge;
  bar.top = bar.bottom - GetSystemMetrics(SM_CYMENU);
  bar.left = window.left + inset;
  bar.right = window.right - inset;
  return true;
}

}  // namespace win32::user

using namespace win32::user;

extern "C" BOOL WINAPI GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, LPRECT rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // A popup has a place on the screen while it is shown (on a display).
  if ((!hwnd || GetMenu(hwnd) != menu) && openMenuItemRect(menu, position, *rect)) return TRUE;
  RECT bar;
  if (!hwnd || GetMenu(hwnd) != menu || !menuBarOnScreen(hwnd, bar)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::vector<RECT> rects = menuBarLayout(menu, bar.right - bar.left);
  if (position >= rects.size()) {
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return FALSE;
  }
  *rect = rects[position];
  OffsetRect(rect, bar.left, bar.top);
  return TRUE;
}

extern "C" int WINAPI MenuItemFromPoint(HWND hwnd, HMENU menu, POINT screen) {
  RECT bar;
  if (!hwnd || GetMenu(hwnd) != menu || !menuBarOnScreen(hwnd, bar)) return -1;
  std::vector<RECT> rects = menuBarLayout(menu, bar.right - bar.left);
  POINT p{screen.x - bar.left, screen.y - bar.top};
  for (size_t i = 0; i < rects.size(); ++i)
    if (PtInRect(&rects[i], p)) return (int)i;
  return -1;
}
