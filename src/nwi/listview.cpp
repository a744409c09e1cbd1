// The list's geometry and painting: layout (item height, visible rows and
// columns, the scroll bar), item rectangles, hit testing, scrolling, and the
// painting of the items touched by the area being painted - never of the
// others, so that painting costs the same for a thousand items as for a
// hundred thousand.
#include <algorithm>
#include <cstring>

#include "library.h"
#include "listcontrol.h"
#include "markup.h"

namespace {

bool multiColumn(const HLRecord* r) { return (r->head.style & HLS_MULTICOLUMN) != 0; }
bool singleItem(const HLRecord* r) { return (r->head.style & HLS_SINGLEITEM) != 0; }
bool focused(const HLRecord* r) { return GetFocus() == r->head.window; }

HFONT fontOf(const HLRecord* r) {
  return r->head.font ? r->head.font : static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
}

int clientWidth(const HLRecord* r) { return r->client.right - r->client.left; }
int clientHeight(const HLRecord* r) { return r->client.bottom - r->client.top; }

// Rows that are wholly visible.
int fullRows(const HLRecord* r) {
  return std::max(r->visibleRows - ((r->head.flags & HLF_PARTIALROW) ? 1 : 0), 1);
}

// The greatest top index that still fills the window (multi-column lists:
// the first item of the last column that does).
int maxTop(const HLRecord* r) {
  const int count = HLCount(r);
  if (singleItem(r)) return std::max(count - 1, 0);
  if (!multiColumn(r)) return std::max(count - fullRows(r), 0);
  const int rows = std::max(r->visibleRows, 1);
  const int columns = (count + rows - 1) / rows;
  const int fullColumns = std::max(clientWidth(r) / std::max(r->columnWidth, 1), 1);
  return std::max(columns - fullColumns, 0) * rows;
}

int measureItemHeight(HLRecord* r) {
  if (singleItem(r)) return clientHeight(r);
  if (r->lineHeight == 0) r->lineHeight = HIWORD(HCtlAvgCharSize(fontOf(r)));
  const int lineHeight = r->lineHeight;
  if (!(r->head.style & HLS_OWNERDRAW)) return lineHeight;
  MEASUREITEMSTRUCT item{};
  item.CtlType = ODT_LISTBOX;
  item.CtlID = r->head.id;
  item.itemHeight = static_cast<UINT>(lineHeight);
  SendMessageA(r->head.notifyTarget, WM_MEASUREITEM, r->head.id, reinterpret_cast<LPARAM>(&item));
  return static_cast<int>(item.itemHeight);
}

int widestText(HLRecord* r) {
  HDC dc = GetDC(r->head.window);
  HGDIOBJ previous = SelectObject(dc, fontOf(r));
  int widest = 0;
  char text[256];
  for (int i = 0, count = HLCount(r); i < count; ++i) {
    const int length = HLItemText(r, i, text, sizeof text, nullptr);
    SIZE size{};
    GetTextExtentPoint32A(dc, text, length, &size);
    widest = std::max<int>(widest, size.cx);
  }
  SelectObject(dc, previous);
  ReleaseDC(r->head.window, dc);
  return widest;
}

void updateScrollBar(HLRecord* r) {
  if (r->head.style & HLS_NOSCROLL) return;
  const int bar = multiColumn(r) ? SB_HORZ : SB_VERT;
  const int rows = std::max(r->visibleRows, 1);
  int range = 0, position = 0;
  if (multiColumn(r)) {
    range = maxTop(r) / rows;
    position = r->top / rows;
  } else {
    range = maxTop(r);
    position = r->top;
  }
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_POS;
  info.nMax = range;
  info.nPos = position;
  SetScrollInfo(r->head.window, bar, &info, (r->head.flags & HLF_NOREDRAW) == 0);
}

void setTopIndex(HLRecord* r, int top) {
  top = std::clamp(top, 0, maxTop(r));
  if (multiColumn(r)) top -= top % std::max(r->visibleRows, 1);
  if (top == r->top) return;
  r->top = top;
  updateScrollBar(r);
  HLRepaint(r);
}

void drawOwnerItem(HLRecord* r, HDC dc, int index, const RECT& rect, UINT action, UINT state) {
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_LISTBOX;
  item.CtlID = r->head.id;
  item.itemID = static_cast<UINT>(index);
  item.itemAction = action;
  item.itemState = state;
  item.hwndItem = r->head.window;
  item.hDC = dc;
  item.rcItem = rect;
  item.itemData = reinterpret_cast<ULONG_PTR>(HLDataAt(r, index));
  if (index >= 0 && r->store->codeType == 'n' && r->store->codeStorage == 'W') {
    DWORD code = 0;
    std::memcpy(&code, HLCodeAt(r, index), sizeof code);
    item.itemData = code;
  }
  SendMessageA(r->head.notifyTarget, WM_DRAWITEM, r->head.id, reinterpret_cast<LPARAM>(&item));
}

void drawItem(HLRecord* r, HDC dc, int index, const RECT& rect) {
  const bool selected = HLIsItemSelected(r, index) && (!singleItem(r) || focused(r));
  if (r->head.style & HLS_OWNERDRAW) {
    const UINT state = (selected ? ODS_SELECTED : 0) | (focused(r) ? ODS_FOCUS : 0);
    drawOwnerItem(r, dc, index, rect, ODA_SELECT, state);
    return;
  }
  char text[256];
  int negative = 0;
  const int length = HLItemText(r, index, text, sizeof text, &negative);
  if (selected) {
    FillRect(dc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else {
    SetTextColor(dc, HCtlResolveColor(negative ? r->secondColor : r->textColor, COLOR_WINDOWTEXT));
  }
  SetBkMode(dc, TRANSPARENT);
  RECT textRect = rect;
  textRect.left += 2;
  if (r->head.style & HLS_TABS) {
    const int lineHeight = HIWORD(GetTabbedTextExtentA(dc, "X", 1, 0, nullptr));
    TabbedTextOutA(dc, textRect.left, rect.top + (rect.bottom - rect.top - lineHeight) / 2, text, length, r->tabCount,
                   r->tabs, textRect.left);
  } else {
    DrawTextA(dc, text, length, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
}

void drawFocus(HLRecord* r, HDC dc) {
  if (!focused(r) || r->current < 0 || (r->head.style & HLS_FOCUSBRUSH)) return;
  RECT rect;
  HLItemRect(r, r->current, &rect);
  if (r->head.style & HLS_OWNERDRAW) drawOwnerItem(r, dc, r->current, rect, ODA_FOCUS, ODS_FOCUS);
  else DrawFocusRect(dc, &rect);
}

}  // namespace

void HLLayout(HLRecord* r) {
  GetClientRect(r->head.window, &r->client);
  r->itemHeight = std::max(measureItemHeight(r), 1);
  const int height = clientHeight(r);
  r->visibleRows = height / r->itemHeight;
  r->head.flags &= ~HLF_PARTIALROW;
  if ((r->head.style & HLS_NOINTEGRAL) && height % r->itemHeight != 0) {
    ++r->visibleRows;
    r->head.flags |= HLF_PARTIALROW;
  }
  r->visibleRows = std::max(r->visibleRows, 1);
  r->visibleColumns = 1;
  if (multiColumn(r)) {
    if (!(r->head.flags & HLF_COLUMNSET)) {
      r->columnWidth = std::max(2 * widestText(r), 10);
      if (r->columnWidth > clientWidth(r) * 4 / 5) r->columnWidth = std::max(clientWidth(r), 1);
    }
    r->columnWidth = std::max(r->columnWidth, 1);
    r->visibleColumns = std::max((clientWidth(r) + r->columnWidth - 1) / r->columnWidth, 1);
  }
  r->top = std::clamp(r->top, 0, maxTop(r));
  if (multiColumn(r)) r->top -= r->top % r->visibleRows;
  updateScrollBar(r);
  if (r->head.style & HLS_3DFRAME) RedrawWindow(r->head.window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void HLItemRect(HLRecord* r, int index, RECT* rect) {
  if (rect == nullptr) return;
  if (singleItem(r)) {
    *rect = r->client;
    return;
  }
  const int relative = index - r->top;
  const int rows = std::max(r->visibleRows, 1);
  int column = 0, row = relative;
  if (multiColumn(r)) {
    column = relative >= 0 ? relative / rows : (relative - rows + 1) / rows;
    row = relative - column * rows;
  }
  const int width = multiColumn(r) ? r->columnWidth : clientWidth(r);
  rect->left = r->client.left + column * width;
  rect->right = rect->left + width;
  rect->top = r->client.top + row * r->itemHeight;
  rect->bottom = rect->top + r->itemHeight;
}

int HLItemAt(HLRecord* r, int x, int y) {
  const int count = HLCount(r);
  if (count == 0) return -1;
  if (singleItem(r)) return std::max(r->current, 0);
  const int rows = std::max(r->visibleRows, 1);
  int row = y < r->client.top ? -1 : (y - r->client.top) / std::max(r->itemHeight, 1);
  if (!multiColumn(r)) return std::clamp(r->top + row, 0, count - 1);
  row = std::clamp(row, 0, rows - 1);
  const int column = x < r->client.left ? -1 : (x - r->client.left) / std::max(r->columnWidth, 1);
  return std::clamp(r->top + column * rows + row, 0, count - 1);
}

void HLEraseBackground(HLRecord* r, HDC dc) {
  RECT client;
  GetClientRect(r->head.window, &client);
  if (r->backColor != kHCtlNoColor) {
    HBRUSH brush = CreateSolidBrush(HCtlResolveColor(r->backColor, COLOR_WINDOW));
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    return;
  }
  HBRUSH brush = r->backBrush;
  if (brush == nullptr && focused(r) && (r->head.style & HLS_FOCUSBRUSH)) brush = r->focusBrush;
  if (brush == nullptr) brush = HCtlGetColorBrush(&r->head, HCTL_BRUSH_LISTBOX, dc);
  FillRect(dc, &client, brush);
}

void HLPaint(HLRecord* r) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(r->head.window, &ps);
  if (dc == nullptr) return;
  HGDIOBJ previousFont = SelectObject(dc, fontOf(r));
  if (singleItem(r)) {
    if (r->current >= 0 || (r->head.style & HLS_OWNERDRAW)) drawItem(r, dc, r->current, r->client);
  } else {
    // The collection reaches an item by walking from its cached node when the
    // item lies at or after it, else from the head: the paint starts at the
    // top item and leaves the cache there again, so that repainting a list
    // scrolled far down walks no items.
    HCtlList* data = r->store->data;
    HCtlNode* topNode = HCtlListAt(data, r->top);
    const int count = HLCount(r);
    const int rows = std::max(r->visibleRows, 1);
    const int itemHeight = std::max(r->itemHeight, 1);
    // Only the items that the painted area touches.
    const int firstRow = std::max<int>((ps.rcPaint.top - r->client.top) / itemHeight, 0);
    const int lastRow = std::min<int>((ps.rcPaint.bottom - r->client.top - 1) / itemHeight, rows - 1);
    int firstColumn = 0, lastColumn = 0;
    if (multiColumn(r)) {
      firstColumn = std::max<int>((ps.rcPaint.left - r->client.left) / r->columnWidth, 0);
      lastColumn = std::min<int>((ps.rcPaint.right - r->client.left - 1) / r->columnWidth, r->visibleColumns - 1);
    }
    for (int column = firstColumn; column <= lastColumn; ++column) {
      for (int row = firstRow; row <= lastRow; ++row) {
        const int index = r->top + column * rows + row;
        if (index >= count) break;
        RECT rect;
        HLItemRect(r, index, &rect);
        drawItem(r, dc, index, rect);
      }
    }
    if (topNode != nullptr) {
      data->cursorIndex = r->top;
      data->cursorNode = topNode;
    }
  }
  drawFocus(r, dc);
  SelectObject(dc, previousFont);
  EndPaint(r->head.window, &ps);
}

void HLSetTop(HLRecord* r, int index) { setTopIndex(r, index); }

void HLRepaintItem(HLRecord* r, int index) {
  if (index < 0 || (r->head.flags & HLF_NOREDRAW)) return;
  RECT rect;
  HLItemRect(r, index, &rect);
  RECT visible;
  if (IntersectRect(&visible, &rect, &r->client)) InvalidateRect(r->head.window, &visible, TRUE);
}

void HLRepaint(HLRecord* r) {
  if (!(r->head.flags & HLF_NOREDRAW)) InvalidateRect(r->head.window, nullptr, TRUE);
}

void HLMakeVisible(HLRecord* r, int index) {
  if (index < 0) return;
  if (singleItem(r)) {
    setTopIndex(r, index);
    return;
  }
  const int rows = std::max(r->visibleRows, 1);
  if (multiColumn(r)) {
    const int fullColumns = std::max(clientWidth(r) / std::max(r->columnWidth, 1), 1);
    const int column = index / rows, topColumn = r->top / rows;
    if (column < topColumn) setTopIndex(r, column * rows);
    else if (column >= topColumn + fullColumns) setTopIndex(r, (column - fullColumns + 1) * rows);
    return;
  }
  if (index < r->top) setTopIndex(r, index);
  else if (index >= r->top + fullRows(r)) setTopIndex(r, index - fullRows(r) + 1);
}

void HLScrollBy(HLRecord* r, int rows) {
  if (multiColumn(r)) setTopIndex(r, r->top + rows * std::max(r->visibleRows, 1));
  else setTopIndex(r, r->top + rows);
}

void HLVScroll(HLRecord* r, int code, int position) {
  const int page = std::max(r->visibleRows - 2, 1);
  int step = 0;
  switch (code) {
    case SB_LINEUP: step = -1; break;
    case SB_LINEDOWN: step = 1; break;
    case SB_PAGEUP: step = -page; break;
    case SB_PAGEDOWN: step = page; break;
    case SB_TOP: step = -HLCount(r); break;
    case SB_BOTTOM: step = HLCount(r); break;
    case SB_THUMBPOSITION: case SB_THUMBTRACK:
      if (!singleItem(r)) setTopIndex(r, position);
      return;
    default: return;
  }
  // A single-item list shows one item: scrolling picks the next one instead.
  if (singleItem(r)) HLSetCurrent(r, std::max(r->current, 0) + step, TRUE, FALSE);
  else HLScrollBy(r, step);
}

void HLHScroll(HLRecord* r, int code, int position) {
  if (!multiColumn(r)) return;
  const int rows = std::max(r->visibleRows, 1);
  switch (code) {
    case SB_LINEUP: HLScrollBy(r, -1); break;
    case SB_LINEDOWN: HLScrollBy(r, 1); break;
    case SB_PAGEUP: HLScrollBy(r, -r->visibleColumns); break;
    case SB_PAGEDOWN: HLScrollBy(r, r->visibleColumns); break;
    case SB_THUMBPOSITION: case SB_THUMBTRACK: setTopIndex(r, position * rows); break;
    default: break;
  }
}
