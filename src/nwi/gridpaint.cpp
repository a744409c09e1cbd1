// Painting the grid: the title row, the row header, and the cells of the
// rows on view that meet the invalid area - never more rows than fit in
// the window, however many the grid holds. A cell shows its value as its
// column formats it, in the cell state's colours and font when its look is
// on; selected cells are inverted and the current cell is framed.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "drawing.h"
#include "grid.h"

namespace {

COLORREF resolve(COLORREF color) {
  return (color & HCTL_SYSCOLOR) ? GetSysColor(static_cast<int>(color & 0xFF)) : (color & 0x00FFFFFF);
}

bool intersects(const RECT& a, const RECT& b) {
  RECT common;
  return IntersectRect(&common, &a, &b) != FALSE;
}

bool cellSelected(const HGridRecord* r, int position, int row) {
  if (row < 0 || row >= HGRowCount(r->data)) return false;
  if (r->data->options & HGO_ROWSELECT) return (r->data->rows[static_cast<size_t>(row)].flags & HGR_SELECTED) != 0;
  if (!(r->head.flags & HGF_RANGESELECTED)) return false;
  const int anchor = HGPositionOfColumn(r->data, r->anchorColumn);
  const int current = HGPositionOfColumn(r->data, r->currentColumn);
  return row >= std::min(r->anchorRow, r->currentRow) && row <= std::max(r->anchorRow, r->currentRow) &&
         position >= std::min(anchor, current) && position <= std::max(anchor, current);
}

void drawTitle(HGridRecord* r, HDC dc, int position) {
  RECT rect;
  const HGField* f = HGColumnAtPosition(r->data, position);
  if (!HGCellRect(r, position, -1, &rect) || (f->flags & HGC_HIDDEN)) return;
  std::string title = f->title;
  if ((f->flags & HGC_READONLY) && r->data->version < 18506) title = " " + title + " ";
  HCtlDrawButtonFace(r->head.window, dc, &rect, 1, position == r->pressedTitle ? HCTL_FACE_PUSHED : 0, title.c_str(),
                     r->head.font, nullptr, GetSysColor(COLOR_BTNTEXT));
}

void drawRowHeader(HGridRecord* r, HDC dc, int row) {
  RECT rect;
  HGCellRect(r, -1, row, &rect);
  char text[24] = "";
  if (row >= 0) {
    if (r->data->rows[static_cast<size_t>(row)].flags & HGR_NEW)
      std::strcpy(text, "*");
    else
      std::snprintf(text, sizeof text, "%ld", static_cast<long>(r->rowBase + 1 + row));
  }
  HCtlDrawButtonFace(r->head.window, dc, &rect, 1, 0, text, r->head.font, nullptr, GetSysColor(COLOR_BTNTEXT));
}

void drawCell(HGridRecord* r, HDC dc, int position, int row, HBRUSH background) {
  RECT rect;
  const HGField* f = HGColumnAtPosition(r->data, position);
  if (f == nullptr || (f->flags & HGC_HIDDEN) || !HGCellRect(r, position, row, &rect) || rect.right <= rect.left) return;
  const int column = HGColumnAtPositionIndex(r->data, position);
  HGCellState state{};
  HGGetState(r->data, HGReachRow(r->data, row), position, &state);
  RECT inner = rect;
  --inner.right;
  --inner.bottom;
  HBRUSH cellBrush = nullptr;
  if (state.lookOn) cellBrush = CreateSolidBrush(resolve(state.background));
  FillRect(dc, &inner, cellBrush ? cellBrush : background);
  if (cellBrush) DeleteObject(cellBrush);
  // Columns of class letters below 'c' show nothing.
  if (static_cast<unsigned char>(f->fieldClass) >= 'c') {
    char text[258] = "";
    HGCellText(r, column, row, text, sizeof text);
    SetTextColor(dc, state.lookOn ? resolve(state.text) : GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ oldFont = nullptr;
    if (state.lookOn && state.font != 0)
      oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(state.font)));
    RECT textRect = inner;
    InflateRect(&textRect, -2, 0);
    const char type = HGEffectiveType(f);
    const bool number = type == 'i' || type == 'n' || type == 'c' || type == 'z';
    DrawTextA(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (number ? DT_RIGHT : DT_LEFT));
    if (oldFont) SelectObject(dc, oldFont);
  }
  if (cellSelected(r, position, row)) InvertRect(dc, &inner);
}

void drawGridLines(HGridRecord* r, HDC dc, const RECT& area) {
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
  HGDIOBJ old = SelectObject(dc, pen);
  for (int row = r->topRow; row < r->topRow + r->visibleRows && row < HGRowCount(r->data); ++row) {
    RECT rect;
    HGCellRect(r, -1, row, &rect);
    MoveToEx(dc, rect.right, rect.bottom - 1, nullptr);
    LineTo(dc, area.right, rect.bottom - 1);
  }
  for (int p = 0; p < HGColumnCount(r->data); ++p) {
    RECT top, bottom;
    if (!HGCellRect(r, p, r->topRow, &top)) continue;
    HGCellRect(r, p, r->topRow + r->visibleRows, &bottom);
    MoveToEx(dc, top.right - 1, top.top, nullptr);
    LineTo(dc, top.right - 1, std::min(bottom.top, area.bottom));
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

}  // namespace

void HGPaint(HGridRecord* r) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(r->head.window, &ps);
  if (dc == nullptr) return;
  RECT client;
  GetClientRect(r->head.window, &client);
  HBRUSH background = r->backBrush != nullptr ? r->backBrush : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  HBRUSH coloured = r->backColor != static_cast<COLORREF>(-1) ? CreateSolidBrush(resolve(r->backColor)) : nullptr;
  if (coloured) background = coloured;
  FillRect(dc, &ps.rcPaint, background);
  HGDIOBJ oldFont = r->head.font ? SelectObject(dc, r->head.font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  HGridData* data = r->data;
  const int lastRow = std::min(r->topRow + r->visibleRows, HGRowCount(data));
  if (data->options & HGO_TITLES) {
    for (int p = 0; p < HGColumnCount(data); ++p) {
      RECT rect;
      if (HGCellRect(r, p, -1, &rect) && rect.left < client.right && intersects(rect, ps.rcPaint)) drawTitle(r, dc, p);
    }
    if (data->options & HGO_ROWHEADER) drawRowHeader(r, dc, -1);
  }
  for (int row = r->topRow; row < lastRow; ++row) {
    RECT band;
    HGCellRect(r, -1, row, &band);
    band.right = client.right;
    if (!intersects(band, ps.rcPaint)) continue;
    if (data->options & HGO_ROWHEADER) drawRowHeader(r, dc, row);
    for (int p = 0; p < HGColumnCount(data); ++p) {
      RECT rect;
      if (HGCellRect(r, p, row, &rect) && rect.left < client.right && intersects(rect, ps.rcPaint))
        drawCell(r, dc, p, row, background);
    }
  }
  drawGridLines(r, dc, client);
  // The current cell is framed while the grid or its field has the focus.
  HWND focus = GetFocus();
  const bool focused = focus == r->head.window || (r->head.flags & HGF_FIELDFOCUS) || (data->options & HGO_KEEPFIELD);
  RECT current;
  if (focused && r->currentRow >= r->topRow && r->currentRow < lastRow && r->currentColumn >= 0 &&
      HGCellRect(r, HGPositionOfColumn(data, r->currentColumn), r->currentRow, &current))
    DrawFocusRect(dc, &current);
  if (oldFont) SelectObject(dc, oldFont);
  if (coloured) DeleteObject(coloured);
  EndPaint(r->head.window, &ps);
}
