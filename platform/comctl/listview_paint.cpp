// Geometry and painting of the list view: where the header, the rows and
// the parts of an item lie, and how they are drawn (the selection in the
// highlight colours while the list has the focus, in the button face with
// LVS_SHOWSELALWAYS when it has not, the focus rectangle round the focused
// item, grid lines with LVS_EX_GRIDLINES).
#include "listview.h"

#include <algorithm>
#include <cstring>

namespace win32::comctl::listview {
namespace {

constexpr int kLabelGap = 2;      // pixels between an image and the label
constexpr int kSubItemPadding = 6;  // pixels before a subitem's text, as in the header
constexpr int kHeaderPadding = 6;

TEXTMETRICA metricsOf(const ListView& lv) {
  HDC dc = GetDC(lv.self);
  HGDIOBJ old = SelectObject(dc, fontOf(lv));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(lv.self, dc);
  return tm;
}

SIZE imageSize(HIMAGELIST list) {
  IMAGEINFO info{};
  if (!list || ImageList_GetImageCount(list) <= 0 || !ImageList_GetImageInfo(list, 0, &info)) return SIZE{0, 0};
  return SIZE{info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top};
}

// The list of small pictures of rows: the small image list, or in the icon
// view the normal one.
HIMAGELIST rowImages(const ListView& lv) {
  return lv.images[LVSIL_SMALL] ? lv.images[LVSIL_SMALL] : (styleOf(lv) & LVS_TYPEMASK) == LVS_ICON ? lv.images[LVSIL_NORMAL] : nullptr;
}

UINT alignmentOf(int format) {
  switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return DT_RIGHT;
    case LVCFMT_CENTER: return DT_CENTER;
    default: return DT_LEFT;
  }
}

constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

void paintHeader(const ListView& lv, HDC dc) {
  const int height = headerHeight(lv);
  if (!height) return;
  RECT client = clientOf(lv);
  RECT strip{client.left, 0, client.right, height};
  FillRect(dc, &strip, GetSysColorBrush(COLOR_BTNFACE));
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  int x = -lv.scrollX;
  for (const Column& column : lv.columns) {
    RECT cell{x, 0, x + column.width, height};
    x += column.width;
    if (column.width <= 0) continue;
    DrawEdge(dc, &cell, EDGE_RAISED, BF_RECT);
    RECT text = cell;
    InflateRect(&text, -kHeaderPadding, 0);
    DrawTextA(dc, column.text.c_str(), -1, &text, kTextFormat | alignmentOf(column.format));
  }
  if (x < client.right) {
    RECT rest{x, 0, client.right, height};
    DrawEdge(dc, &rest, EDGE_RAISED, BF_RECT);
  }
}

void paintRow(const ListView& lv, HDC dc, int index, bool hasFocus) {
  const Item& item = lv.items[index];
  const bool selected = item.state & LVIS_SELECTED;
  const bool shown = selected && (hasFocus || (styleOf(lv) & LVS_SHOWSELALWAYS));
  const bool fullRow = report(lv) && (lv.extended & LVS_EX_FULLROWSELECT);
  RECT selectArea{};
  itemPart(lv, index, 0, fullRow ? LVIR_BOUNDS : LVIR_LABEL, selectArea);
  if (shown) FillRect(dc, &selectArea, GetSysColorBrush(hasFocus ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
  RECT icon{};
  itemPart(lv, index, 0, LVIR_ICON, icon);
  if (HIMAGELIST images = rowImages(lv); images && item.image >= 0)
    ImageList_Draw(images, item.image, dc, icon.left, icon.top + (icon.bottom - icon.top - imageSize(images).cy) / 2,
                   ILD_TRANSPARENT);
  const std::vector<int> widths = columnWidths(lv);
  for (size_t column = 0; column < widths.size(); ++column) {
    RECT cell{};
    itemPart(lv, index, static_cast<int>(column), LVIR_LABEL, cell);
    const bool inSelection = shown && (column == 0 || fullRow);
    SetTextColor(dc, inSelection && hasFocus ? GetSysColor(COLOR_HIGHLIGHTTEXT) : lv.text);
    const std::string text = textOf(lv, index, static_cast<int>(column));
    RECT area = cell;
    area.left += column == 0 ? kLabelGap : kSubItemPadding;
    area.right -= kLabelGap;
    const int format = report(lv) && column < lv.columns.size() ? lv.columns[column].format : LVCFMT_LEFT;
    DrawTextA(dc, text.c_str(), -1, &area, kTextFormat | (column == 0 ? DT_LEFT : alignmentOf(format)));
  }
  if (hasFocus && (item.state & LVIS_FOCUSED)) DrawFocusRect(dc, &selectArea);
}

void paintGridLines(const ListView& lv, HDC dc) {
  if (!report(lv) || !(lv.extended & LVS_EX_GRIDLINES)) return;
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
  HGDIOBJ old = SelectObject(dc, pen);
  const RECT client = clientOf(lv);
  const int top = headerHeight(lv), height = rowHeight(lv);
  int x = -lv.scrollX;
  for (int width : columnWidths(lv)) {
    x += width;
    MoveToEx(dc, x - 1, top, nullptr);
    LineTo(dc, x - 1, client.bottom);
  }
  for (int y = top + height - 1; y < client.bottom; y += height) {
    MoveToEx(dc, client.left, y, nullptr);
    LineTo(dc, client.right, y);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

}  // namespace

HFONT fontOf(const ListView& lv) { return lv.font ? lv.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

DWORD styleOf(const ListView& lv) { return static_cast<DWORD>(GetWindowLongA(lv.self, GWL_STYLE)); }

bool report(const ListView& lv) { return (styleOf(lv) & LVS_TYPEMASK) == LVS_REPORT; }

int headerHeight(const ListView& lv) {
  if (!report(lv) || (styleOf(lv) & LVS_NOCOLUMNHEADER)) return 0;
  return metricsOf(lv).tmHeight + 8;
}

int rowHeight(const ListView& lv) {
  const int text = metricsOf(lv).tmHeight;
  int images = imageSize(rowImages(lv)).cy;
  images = std::max(images, static_cast<int>(imageSize(lv.images[LVSIL_STATE]).cy));
  return std::max(text, images) + 2;
}

RECT clientOf(const ListView& lv) {
  RECT client{};
  GetClientRect(lv.self, &client);
  return client;
}

int rowsPerPage(const ListView& lv) {
  const RECT client = clientOf(lv);
  return std::max(1, (client.bottom - headerHeight(lv)) / rowHeight(lv));
}

std::vector<int> columnWidths(const ListView& lv) {
  std::vector<int> widths;
  if (!report(lv)) {
    widths.push_back(clientOf(lv).right);
    return widths;
  }
  for (const Column& column : lv.columns) widths.push_back(std::max(0, column.width));
  return widths;
}

RECT rowRect(const ListView& lv, int index) {
  const std::vector<int> widths = columnWidths(lv);
  int total = 0;
  for (int width : widths) total += width;
  const int height = rowHeight(lv);
  const int y = headerHeight(lv) + (index - lv.top) * height;
  return RECT{-lv.scrollX, y, -lv.scrollX + total, y + height};
}

bool itemPart(const ListView& lv, int index, int subItem, int code, RECT& out) {
  if (index < 0 || index >= static_cast<int>(lv.items.size())) return false;
  const std::vector<int> widths = columnWidths(lv);
  if (subItem < 0 || (subItem > 0 && subItem >= static_cast<int>(widths.size()))) return false;
  const RECT row = rowRect(lv, index);
  if (code == LVIR_BOUNDS && subItem == 0) {
    out = row;
    return true;
  }
  int x = row.left;
  for (int column = 0; column < subItem; ++column) x += widths[column];
  const int width = widths.empty() ? 0 : widths[subItem];
  RECT cell{x, row.top, x + width, row.bottom};
  if (subItem > 0) {
    if (code == LVIR_ICON) cell.right = cell.left;
    out = cell;
    return true;
  }
  // Column 0: indent, state image, small image, then the label.
  const Item& item = lv.items[index];
  const SIZE state = imageSize(lv.images[LVSIL_STATE]);
  const SIZE small = imageSize(rowImages(lv));
  int left = cell.left + item.indent * small.cx + state.cx;
  RECT icon{left, cell.top, left + small.cx, cell.bottom};
  RECT label{icon.right, cell.top, std::max(icon.right, static_cast<int>(cell.right)), cell.bottom};
  switch (code) {
    case LVIR_ICON: out = icon; return true;
    case LVIR_LABEL: out = label; return true;
    case LVIR_SELECTBOUNDS: out = RECT{icon.left, cell.top, label.right, cell.bottom}; return true;
    default: return false;
  }
}

std::string textOf(const ListView& lv, int index, int subItem) {
  if (index < 0 || index >= static_cast<int>(lv.items.size())) return {};
  const Item& item = lv.items[index];
  if (subItem == 0 && item.textCallback) {
    char buffer[260] = "";
    NMLVDISPINFOA info{};
    info.item.mask = LVIF_TEXT;
    info.item.iItem = index;
    info.item.lParam = item.param;
    info.item.pszText = buffer;
    info.item.cchTextMax = sizeof buffer;
    notify(lv.self, LVN_GETDISPINFOA, &info.hdr);
    if (!info.item.pszText) return {};
    return std::string(info.item.pszText, strnlen(info.item.pszText, sizeof buffer));
  }
  return subItem < static_cast<int>(item.texts.size()) ? item.texts[subItem] : std::string();
}

void updateScrollBars(ListView& lv) {
  if (!lv.redraw || (styleOf(lv) & LVS_NOSCROLL)) return;
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  si.nMax = std::max(0, static_cast<int>(lv.items.size()) - 1);
  si.nPage = static_cast<UINT>(rowsPerPage(lv));
  si.nPos = lv.top;
  SetScrollInfo(lv.self, SB_VERT, &si, TRUE);
  if (!report(lv)) return;
  int total = 0;
  for (int width : columnWidths(lv)) total += width;
  si.nMax = std::max(0, total - 1);
  si.nPage = static_cast<UINT>(std::max(1, static_cast<int>(clientOf(lv).right)));
  si.nPos = lv.scrollX;
  SetScrollInfo(lv.self, SB_HORZ, &si, TRUE);
}

void paint(ListView& lv) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(lv.self, &ps);
  const RECT client = clientOf(lv);
  if (lv.background != CLR_NONE) {
    HBRUSH brush = CreateSolidBrush(lv.background);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
  }
  HGDIOBJ oldFont = SelectObject(dc, fontOf(lv));
  SetBkMode(dc, TRANSPARENT);
  const bool hasFocus = GetFocus() == lv.self;
  const int last = std::min(static_cast<int>(lv.items.size()), lv.top + rowsPerPage(lv) + 1);
  // Rows are clipped below the header so that a partly shown row never covers it.
  const int header = headerHeight(lv);
  SaveDC(dc);
  IntersectClipRect(dc, client.left, header, client.right, client.bottom);
  for (int index = lv.top; index < last; ++index) paintRow(lv, dc, index, hasFocus);
  paintGridLines(lv, dc);
  RestoreDC(dc, -1);
  paintHeader(lv, dc);
  SelectObject(dc, oldFont);
  EndPaint(lv.self, &ps);
}

}  // namespace win32::comctl::listview
