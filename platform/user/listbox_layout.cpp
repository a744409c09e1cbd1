// List box geometry: which item stands where, the top item, the scroll bars.
// Every function here looks at the visible items only, so the cost of
// laying out and scrolling does not grow with the number of items (a
// variable-height list walks from the top item to the client's bottom).
#include "listbox.h"

#include "control.h"

#include <algorithm>

namespace win32::user {
namespace {

RECT client(const ListBox& lb) {
  RECT r{};
  GetClientRect(lb.self, &r);
  return r;
}

int clientHeight(const ListBox& lb) { return client(lb).bottom; }
int clientWidth(const ListBox& lb) { return client(lb).right; }

int columnsVisible(ListBox& lb) { return std::max(1, clientWidth(lb) / std::max(1, lb.columnWidth)); }

int columnCount(ListBox& lb) {
  int rows = rowsPerColumn(lb);
  return (lb.count() + rows - 1) / rows;
}

int trackPosition(HWND hwnd, int bar) {
  SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
  return GetScrollInfo(hwnd, bar, &si) ? si.nTrackPos : 0;
}

void setHorizontalPos(ListBox& lb, int pos) {
  int limit = std::max(0, lb.horizontalExtent - clientWidth(lb));
  pos = std::clamp(pos, 0, limit);
  if (pos == lb.horizontalPos) return;
  lb.horizontalPos = pos;
  if (lb.redraw) InvalidateRect(lb.self, nullptr, TRUE);
  updateScrollBars(lb);
}

}  // namespace

int rowsPerColumn(ListBox& lb) { return std::max(1, clientHeight(lb) / std::max(1, lb.itemHeight)); }

int pageRows(ListBox& lb) {
  if (!lb.variable()) return lb.multiColumn() ? rowsPerColumn(lb) * columnsVisible(lb) : rowsPerColumn(lb);
  int height = clientHeight(lb), used = 0, rows = 0;
  for (int i = lb.top; i < lb.count(); ++i) {
    used += lb.items.at(i).height;
    if (used > height) break;
    ++rows;
  }
  return std::max(1, rows);
}

int maxTop(ListBox& lb) {
  int n = lb.count();
  if (n == 0) return 0;
  if (lb.multiColumn()) {
    int rows = rowsPerColumn(lb);
    return std::max(0, columnCount(lb) - columnsVisible(lb)) * rows;
  }
  if (!lb.variable()) return std::max(0, n - rowsPerColumn(lb));
  int height = clientHeight(lb), used = 0, top = n;
  while (top > 0 && used + lb.items.at(top - 1).height <= height) used += lb.items.at(--top).height;
  return std::min(top, n - 1);
}

bool itemRect(ListBox& lb, int index, RECT& r) {
  RECT c = client(lb);
  if (lb.multiColumn()) {
    int rows = rowsPerColumn(lb);
    int column = index / rows - lb.top / rows;
    r.left = column * lb.columnWidth;
    r.right = r.left + lb.columnWidth;
    r.top = (index % rows) * lb.itemHeight;
    r.bottom = r.top + lb.itemHeight;
  } else {
    r.left = -lb.horizontalPos;
    r.right = std::max((int)c.right, lb.horizontalExtent) - lb.horizontalPos;
    if (!lb.variable()) {
      r.top = (index - lb.top) * lb.itemHeight;
      r.bottom = r.top + lb.itemHeight;
    } else {
      int y = 0;
      if (index >= lb.top)
        for (int i = lb.top; i < index; ++i) y += lb.items.at(i).height;
      else
        for (int i = index; i < lb.top; ++i) y -= lb.items.at(i).height;
      r.top = y;
      r.bottom = y + (lb.valid(index) ? lb.items.at(index).height : lb.itemHeight);
    }
  }
  RECT both;
  return IntersectRect(&both, &r, &c) != 0;
}

int itemAt(ListBox& lb, POINT p, bool& outside) {
  RECT c = client(lb);
  outside = !PtInRect(&c, p);
  int n = lb.count();
  if (n == 0) return -1;
  int index;
  if (lb.multiColumn()) {
    int rows = rowsPerColumn(lb);
    int column = std::max(0, (int)p.x) / std::max(1, lb.columnWidth);
    int row = std::clamp((int)p.y / std::max(1, lb.itemHeight), 0, rows - 1);
    index = lb.top + column * rows + row;
  } else if (!lb.variable()) {
    int row = p.y < 0 ? -1 : (int)p.y / std::max(1, lb.itemHeight);
    index = lb.top + row;
  } else {
    index = lb.top;
    int y = 0;
    if (p.y < 0) index = lb.top - 1;
    else
      while (index < n - 1 && y + lb.items.at(index).height <= p.y) y += lb.items.at(index++).height;
  }
  if (index >= n) {
    outside = true;
    index = n - 1;
  }
  if (index < 0) {
    outside = true;
    index = 0;
  }
  return index;
}

void ensureVisible(ListBox& lb, int index) {
  if (!lb.valid(index)) return;
  if (lb.multiColumn()) {
    int rows = rowsPerColumn(lb), visible = columnsVisible(lb);
    int column = index / rows, first = lb.top / rows;
    if (column < first) setTop(lb, column * rows);
    else if (column >= first + visible) setTop(lb, (column - visible + 1) * rows);
    return;
  }
  if (index < lb.top) {
    setTop(lb, index);
    return;
  }
  if (!lb.variable()) {
    int rows = rowsPerColumn(lb);
    if (index >= lb.top + rows) setTop(lb, index - rows + 1);
    return;
  }
  int height = clientHeight(lb), top = lb.top, used = 0;
  for (int i = top; i <= index; ++i) used += lb.items.at(i).height;
  while (used > height && top < index) used -= lb.items.at(top++).height;
  setTop(lb, top);
}

void setTop(ListBox& lb, int top) {
  top = std::clamp(top, 0, maxTop(lb));
  if (lb.multiColumn()) top -= top % rowsPerColumn(lb);
  if (top == lb.top) return;
  lb.top = top;
  if (lb.redraw) InvalidateRect(lb.self, nullptr, TRUE);
  updateScrollBars(lb);
}

void updateScrollBars(ListBox& lb) {
  if (!lb.redraw || lb.inLayout) return;
  lb.inLayout = true;
  UINT keep = (lb.style & LBS_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0;
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | keep, 0, 0, 0, 0, 0};
  if (lb.multiColumn()) {
    if (lb.style & WS_HSCROLL) {
      int rows = rowsPerColumn(lb);
      si.nMax = std::max(0, columnCount(lb) - 1);
      si.nPage = (UINT)columnsVisible(lb);
      si.nPos = lb.top / rows;
      SetScrollInfo(lb.self, SB_HORZ, &si, TRUE);
    }
  } else {
    if (lb.style & WS_VSCROLL) {
      si.nMax = std::max(0, lb.count() - 1);
      si.nPage = (UINT)pageRows(lb);
      si.nPos = lb.top;
      SetScrollInfo(lb.self, SB_VERT, &si, TRUE);
    }
    if (lb.style & WS_HSCROLL) {
      si.nMax = std::max(0, lb.horizontalExtent - 1);
      si.nPage = (UINT)clientWidth(lb);
      si.nPos = lb.horizontalPos;
      SetScrollInfo(lb.self, SB_HORZ, &si, TRUE);
    }
  }
  lb.inLayout = false;
}

void invalidateItem(ListBox& lb, int index) {
  if (!lb.redraw || !lb.valid(index)) return;
  RECT r;
  if (itemRect(lb, index, r)) InvalidateRect(lb.self, &r, TRUE);
}

void invalidateFrom(ListBox& lb, int index) {
  if (!lb.redraw) return;
  RECT c = client(lb);
  if (lb.multiColumn() || lb.variable()) {
    if (index < lb.top + pageRows(lb) + 1) InvalidateRect(lb.self, nullptr, TRUE);
    return;
  }
  if (index < lb.top) {
    InvalidateRect(lb.self, nullptr, TRUE);
    return;
  }
  int y = (index - lb.top) * lb.itemHeight;
  if (y >= c.bottom) return;
  RECT r{0, y, c.right, c.bottom};
  InvalidateRect(lb.self, &r, TRUE);
}

void onScroll(ListBox& lb, bool vertical, int code) {
  bool columns = lb.multiColumn();
  if (!vertical && !columns) {
    int line = 8, page = clientWidth(lb);
    int pos = lb.horizontalPos;
    switch (code) {
      case SB_LINELEFT: pos -= line; break;
      case SB_LINERIGHT: pos += line; break;
      case SB_PAGELEFT: pos -= page; break;
      case SB_PAGERIGHT: pos += page; break;
      case SB_LEFT: pos = 0; break;
      case SB_RIGHT: pos = lb.horizontalExtent; break;
      case SB_THUMBPOSITION:
      case SB_THUMBTRACK: pos = trackPosition(lb.self, SB_HORZ); break;
      default: return;
    }
    setHorizontalPos(lb, pos);
    return;
  }
  if (vertical && columns) return;
  // One step is one row, or one column of a multi-column list.
  int step = columns ? rowsPerColumn(lb) : 1;
  int page = columns ? columnsVisible(lb) * step : pageRows(lb);
  int top = lb.top;
  switch (code) {
    case SB_LINEUP: top -= step; break;
    case SB_LINEDOWN: top += step; break;
    case SB_PAGEUP: top -= std::max(step, page - (columns ? 0 : 1)); break;
    case SB_PAGEDOWN: top += std::max(step, page - (columns ? 0 : 1)); break;
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = maxTop(lb); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: top = trackPosition(lb.self, columns ? SB_HORZ : SB_VERT) * step; break;
    default: return;
  }
  setTop(lb, top);
}

void onSize(ListBox& lb) {
  if (lb.inLayout) return;
  // Without LBS_NOINTEGRALHEIGHT the window shrinks to show whole items only.
  bool integral = !(lb.style & LBS_NOINTEGRALHEIGHT) && !lb.variable() && !lb.combo;
  int height = clientHeight(lb);
  if (integral && height > lb.itemHeight && height % lb.itemHeight) {
    RECT w;
    GetWindowRect(lb.self, &w);
    lb.inLayout = true;
    SetWindowPos(lb.self, nullptr, 0, 0, w.right - w.left, w.bottom - w.top - height % lb.itemHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    lb.inLayout = false;
  }
  lb.top = std::min(lb.top, maxTop(lb));
  if (lb.multiColumn()) lb.top -= lb.top % rowsPerColumn(lb);
  updateScrollBars(lb);
  if (lb.redraw) InvalidateRect(lb.self, nullptr, TRUE);
}

void measureFixed(ListBox& lb) {
  HDC dc = GetDC(lb.self);
  {
    control::FontScope font(dc, lb.font);
    lb.itemHeight = control::lineHeight(dc);
  }
  ReleaseDC(lb.self, dc);
  if (!lb.ownerDraw()) return;
  // The owner answers the height of every item of a fixed list once, and the
  // default height of a variable one.
  MEASUREITEMSTRUCT mi{};
  mi.CtlType = ownerControlType(lb);
  mi.CtlID = ownerControlId(lb);
  mi.itemID = 0;
  mi.itemHeight = (UINT)lb.itemHeight;
  if (lb.style & LBS_OWNERDRAWFIXED) {
    SendMessageA(ownerWindow(lb), WM_MEASUREITEM, mi.CtlID, (LPARAM)&mi);
    if (mi.itemHeight > 0 && mi.itemHeight <= 255) lb.itemHeight = (int)mi.itemHeight;
  }
}

int measureVariable(ListBox& lb, int index, ULONG_PTR data) {
  MEASUREITEMSTRUCT mi{};
  mi.CtlType = ownerControlType(lb);
  mi.CtlID = ownerControlId(lb);
  mi.itemID = (UINT)index;
  mi.itemHeight = (UINT)lb.itemHeight;
  mi.itemData = data;
  SendMessageA(ownerWindow(lb), WM_MEASUREITEM, mi.CtlID, (LPARAM)&mi);
  return std::clamp((int)mi.itemHeight, 1, 255);
}

}  // namespace win32::user
