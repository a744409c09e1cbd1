// The tab control's layout and painting. The row that holds the current tab
// stands in front, joined to the page; each row behind it is indented 10
// pixels more than the one in front of it.
#include <algorithm>

#include "library.h"
#include "markup.h"
#include "tabs.h"

namespace {

constexpr int kIndent = 10;  // per row behind the front one
constexpr int kCut = 4;      // the upper corners of a tab

bool shown(const HTabItem& t) { return (t.flags & HTI_HIDDEN) == 0; }

// The place of a tab among the visible ones, -1 for a hidden one.
int visibleIndex(const HTabsRecord* r, int index) {
  if (index < 0 || index >= r->count || !shown(r->tabs[index])) return -1;
  int v = 0;
  for (int i = 0; i < index; ++i) v += shown(r->tabs[i]);
  return v;
}

HGDIOBJ selectFont(const HTabsRecord* r, HDC dc) {
  return SelectObject(dc, r->head.font ? static_cast<HGDIOBJ>(r->head.font) : GetStockObject(ANSI_VAR_FONT));
}

void drawCaption(HDC dc, const HTabItem& tab, RECT box, bool focused) {
  if (tab.caption == nullptr || *tab.caption == '\0') return;
  SetBkMode(dc, TRANSPARENT);
  const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  if (tab.flags & HTI_DISABLED) {
    RECT shifted = box;
    OffsetRect(&shifted, 1, 1);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextA(dc, tab.caption, -1, &shifted, format);
    SetTextColor(dc, RGB(128, 128, 128));
  } else {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  }
  DrawTextA(dc, tab.caption, -1, &box, format);
  if (focused) {
    const DWORD extent = HCtlTextExtent(dc, tab.caption);
    RECT focus{0, 0, static_cast<LONG>(LOWORD(extent)) + 4, static_cast<LONG>(HIWORD(extent)) + 2};
    OffsetRect(&focus, (box.left + box.right - focus.right) / 2, (box.top + box.bottom - focus.bottom) / 2);
    DrawFocusRect(dc, &focus);
  }
}

// A tab: filled with its colour, outlined in gray with light and dark 3-D
// edges, its upper corners cut; the current one is open towards the page.
void drawTab(HDC dc, const HTabItem& tab, RECT box, bool current, bool focused) {
  const POINT outline[] = {{box.left, box.bottom},          {box.left, box.top + kCut},
                           {box.left + kCut, box.top},      {box.right - 1 - kCut, box.top},
                           {box.right - 1, box.top + kCut}, {box.right - 1, box.bottom}};
  HBRUSH fill = CreateSolidBrush(HCtlResolveColor(tab.tabColor, COLOR_BTNFACE));
  HPEN gray = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
  HGDIOBJ oldBrush = SelectObject(dc, fill);
  HGDIOBJ oldPen = SelectObject(dc, gray);
  Polygon(dc, outline, 6);
  // Light left and top edges, a dark right edge, one pixel inside the outline.
  SelectObject(dc, GetStockObject(WHITE_PEN));
  MoveToEx(dc, box.left + 1, box.bottom, nullptr);
  LineTo(dc, box.left + 1, box.top + kCut);
  LineTo(dc, box.left + kCut, box.top + 1);
  LineTo(dc, box.right - 1 - kCut, box.top + 1);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  MoveToEx(dc, box.right - 2, box.top + kCut, nullptr);
  LineTo(dc, box.right - 2, box.bottom);
  if (!current) {
    SelectObject(dc, gray);
    MoveToEx(dc, box.left, box.bottom - 1, nullptr);
    LineTo(dc, box.right, box.bottom - 1);
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(gray);
  DeleteObject(fill);
  drawCaption(dc, tab, box, focused);
}

}  // namespace

void HCtlTabsLayout(HTabsRecord* r) {
  if (r->layingOut) return;
  r->layingOut = TRUE;
  RECT client;
  GetClientRect(r->head.window, &client);
  HDC dc = GetDC(r->head.window);
  HGDIOBJ old = selectFont(r, dc);
  int widest = 0, tallest = 0;
  r->visible = 0;
  for (int i = 0; i < r->count; ++i) {
    if (!shown(r->tabs[i])) continue;
    ++r->visible;
    const DWORD extent = HCtlTextExtent(dc, r->tabs[i].caption ? r->tabs[i].caption : "");
    widest = std::max<int>(widest, LOWORD(extent));
    tallest = std::max<int>(tallest, HIWORD(extent));
  }
  if (tallest == 0) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    tallest = metrics.tmHeight;
  }
  SelectObject(dc, old);
  ReleaseDC(r->head.window, dc);
  r->tabWidth = widest + 8;
  r->rowHeight = tallest + 6;
  const int width = client.right - client.left;
  // The fewest rows that hold every visible tab, each row 10 pixels narrower.
  int rows = 1, perRow = 1;
  for (;; ++rows) {
    perRow = std::max(1, std::min(r->visible, (width - (rows - 1) * kIndent) / std::max(r->tabWidth, 1)));
    if (rows * perRow >= r->visible || rows >= std::max(r->visible, 1)) break;
  }
  r->rows = rows;
  r->perRow = perRow;
  r->tabWidth = std::max(1, (width - (rows - 1) * kIndent) / perRow);
  const int v = visibleIndex(r, r->current);
  r->currentRow = v >= 0 ? v / perRow : 0;
  r->layingOut = FALSE;
}

RECT HTabsTabRect(const HTabsRecord* r, int index) {
  const int v = visibleIndex(r, index);
  if (v < 0 || r->perRow <= 0) return RECT{0, 0, 0, 0};
  const int row = v / r->perRow;
  const int behind = (row - r->currentRow + r->rows) % r->rows;  // 0: the front row
  const int left = behind * kIndent + (v % r->perRow) * r->tabWidth;
  const int top = (r->rows - 1 - behind) * r->rowHeight;
  RECT box{left, top, left + r->tabWidth, top + r->rowHeight};
  if (index == r->current && (r->head.flags & HTF_SELECTED)) {
    InflateRect(&box, 2, 0);  // the current tab stands out, raised and joined to the page
    box.top -= 2;
    box.bottom += 1;
  }
  return box;
}

RECT HTabsPageRect(const HTabsRecord* r) {
  RECT client;
  GetClientRect(r->head.window, &client);
  RECT page{client.left, client.top + r->rowHeight * r->rows, client.right,
            client.bottom + kIndent - r->rows * kIndent};
  InflateRect(&page, -3, -3);
  return page;
}

int HTabsTabAt(const HTabsRecord* r, POINT at) {
  // The current tab overlaps its neighbours: it is looked at first.
  const RECT current = HTabsTabRect(r, r->current);
  if (PtInRect(&current, at)) return r->current;
  for (int i = 0; i < r->count; ++i) {
    const RECT box = HTabsTabRect(r, i);
    if (PtInRect(&box, at)) return i;
  }
  return -1;
}

void HTabsPaint(HTabsRecord* r, HDC dc) {
  RECT client;
  GetClientRect(r->head.window, &client);
  HBRUSH ground = CreateSolidBrush(HCtlResolveColor(r->color, COLOR_BTNFACE));
  FillRect(dc, &client, ground);
  DeleteObject(ground);
  const bool hasCurrent = r->current >= 0 && r->current < r->count && (r->head.flags & HTF_SELECTED);
  RECT page = HTabsPageRect(r);
  InflateRect(&page, 3, 3);
  HBRUSH pageBrush =
      CreateSolidBrush(HCtlResolveColor(hasCurrent ? r->tabs[r->current].pageColor : kHTabsGray, COLOR_BTNFACE));
  FillRect(dc, &page, pageBrush);
  DeleteObject(pageBrush);
  // The page's frame: light top and left, dark right and bottom.
  SelectObject(dc, GetStockObject(WHITE_PEN));
  MoveToEx(dc, page.left, page.bottom - 1, nullptr);
  LineTo(dc, page.left, page.top);
  LineTo(dc, page.right - 1, page.top);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  LineTo(dc, page.right - 1, page.bottom - 1);
  LineTo(dc, page.left, page.bottom - 1);
  HGDIOBJ old = selectFont(r, dc);
  for (int i = 0; i < r->count; ++i)
    if (!(hasCurrent && i == r->current) && shown(r->tabs[i])) drawTab(dc, r->tabs[i], HTabsTabRect(r, i), false, false);
  if (hasCurrent && shown(r->tabs[r->current]))
    drawTab(dc, r->tabs[r->current], HTabsTabRect(r, r->current), true, (r->head.flags & HTF_FOCUS) != 0);
  SelectObject(dc, old);
}
