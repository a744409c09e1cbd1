// The grid window: creation and destruction, attaching a data set, rows
// added and removed with their notifications, the geometry of cells, the
// layout (visible rows, scroll ranges) and scrolling. Layout and scrolling
// look at the row count and the visible rows only, never at every row.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>

#include "grid.h"
#include "library.h"
#include "suballocator.h"

namespace {

int clientHeight(const HGridRecord* r) {
  RECT client;
  GetClientRect(r->head.window, &client);
  return client.bottom - client.top;
}

int clientWidth(const HGridRecord* r) {
  RECT client;
  GetClientRect(r->head.window, &client);
  return client.right - client.left;
}

int editBarHeight(const HGridRecord* r) {
  if (r->editBar == nullptr) return 0;
  RECT bar;
  GetWindowRect(r->editBar, &bar);
  return bar.bottom - bar.top;
}

int shownWidth(const HGField* field) { return (field->flags & HGC_HIDDEN) ? 0 : field->width; }

int rowHeaderWidth(const HGridRecord* r) {
  return (r->data->options & HGO_ROWHEADER) ? std::max<int>(r->data->rowHeaderWidth, 0) : 0;
}

int fixedWidth(const HGridRecord* r) {
  int width = 0;
  for (int p = 0; p < r->data->fixedColumns; ++p)
    if (const HGField* field = HGColumnAtPosition(r->data, p)) width += shownWidth(field);
  return width;
}

LONG largestTop(const HGridRecord* r) { return HGLargestTop(r); }

void updateVerticalBar(HGridRecord* r) {
  HWND window = r->head.window;
  const LONG largest = largestTop(r);
  r->rowsPerUnit = static_cast<int>(std::max<LONG>((largest + 32765) / 32766, 1));
  const int range = static_cast<int>(largest / r->rowsPerUnit);
  r->vScroll = static_cast<int>((r->rowBase + r->topRow) / r->rowsPerUnit);
  if (!(r->data->options & WS_VSCROLL)) return;
  if (range == 0 && (r->data->options & HGO_DISABLEVSCROLL)) {
    SetScrollRange(window, SB_VERT, 0, 1, FALSE);
    EnableScrollBar(window, SB_VERT, ESB_DISABLE_BOTH);
    r->verticalBarDisabled = TRUE;
    return;
  }
  // Called for every row appended: one call sets range and thumb.
  if (r->verticalBarDisabled) EnableScrollBar(window, SB_VERT, ESB_ENABLE_BOTH);
  r->verticalBarDisabled = FALSE;
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_POS, 0, range, 0, std::min(r->vScroll, range), 0};
  SetScrollInfo(window, SB_VERT, &info, TRUE);
}

void updateHorizontalBar(HGridRecord* r) {
  HGridData* data = r->data;
  const int available = clientWidth(r) - rowHeaderWidth(r) - fixedWidth(r);
  const int count = HGColumnCount(data);
  int largest = std::max<int>(data->fixedColumns, 0);
  int filled = 0;
  for (int p = count - 1; p >= data->fixedColumns; --p) {
    filled += shownWidth(HGColumnAtPosition(data, p));
    if (filled > available) {
      largest = std::min(p + 1, count - 1);
      break;
    }
  }
  r->maxLeftColumn = std::max<int>(largest, data->fixedColumns);
  HCtlNotify(&r->head, HGN_HRANGE);
  if (r->leftColumn > r->maxLeftColumn) r->leftColumn = r->maxLeftColumn;
  if (r->leftColumn < data->fixedColumns) r->leftColumn = data->fixedColumns;
  r->hScroll = r->leftColumn - data->fixedColumns;
  if (r->data->options & WS_HSCROLL) {
    SetScrollRange(r->head.window, SB_HORZ, 0, r->maxLeftColumn - data->fixedColumns, FALSE);
    SetScrollPos(r->head.window, SB_HORZ, r->hScroll, TRUE);
  }
}

void invalidateCellArea(HGridRecord* r) {
  RECT area;
  GetClientRect(r->head.window, &area);
  area.top = editBarHeight(r);
  InvalidateRect(r->head.window, &area, FALSE);
}

void addStartRows(HGridRecord* r) {
  HGridData* data = r->data;
  for (int i = 0; i < data->initialRows && HGRowCount(data) < kHGMaxRows; ++i)
    HGInsertRowAt(data, HGRowCount(data), 0);
  if ((data->options & HGO_NEWROW) && !(r->head.flags & HGF_VIRTUAL)) HGInsertRowAt(data, HGRowCount(data), HGR_NEW);
}

int firstColumn(const HGridRecord* r) {
  const DWORD options = r->data->options;
  if (options & HGO_ROWSELECT) return -1;
  if (options & HGO_ROWHEADER) return 0;
  return std::min(1, std::max(HGColumnCount(r->data) - 1, 0));
}

}  // namespace

namespace {

// Every grid record freed raises the generation, so that a record found
// for a window before stays good while the generation stands.
std::atomic<uint64_t>& recordGeneration() {
  static std::atomic<uint64_t> generation{1};
  return generation;
}

struct FoundRecord {
  HWND window = nullptr;
  HGridRecord* record = nullptr;
  uint64_t generation = 0;
};
thread_local FoundRecord lastFound;

}  // namespace

HGridRecord* HGRecordOf(HWND window) {
  // Every cell written through the exports comes this way: the last grid
  // found is answered again while no grid record has been freed.
  const uint64_t generation = recordGeneration().load(std::memory_order_acquire);
  if (window != nullptr && window == lastFound.window && generation == lastFound.generation) return lastFound.record;
  // A window that is gone has no class name: no separate IsWindow.
  if (window == nullptr || !HCtlClassHasSuffix(window, "Grid")) return nullptr;
  auto* r = reinterpret_cast<HGridRecord*>(SendMessageA(window, KYM_GETINSTANCE, 0, 0));
  if (r == nullptr || r->head.window != window) return nullptr;
  if (r->data != nullptr) lastFound = FoundRecord{window, r, generation};
  return r;
}

LONG HGTotalRows(const HGridRecord* r) {
  const LONG heldRows = HGRowCount(r->data);
  if (!(r->head.flags & HGF_VIRTUAL)) return heldRows;
  return std::max<LONG>(r->rowBase + heldRows, r->totalRows);
}

// The last page full (one row more with a partial row, so that the last
// row can be seen whole).
LONG HGLargestTop(const HGridRecord* r) {
  const int page = r->visibleRows - ((r->head.flags & HGF_PARTIALROW) ? 1 : 0);
  return std::max<LONG>(HGTotalRows(r) - std::max(page, 1), 0);
}

int HGCellRect(HGridRecord* r, int position, int row, RECT* rect) {
  if (r->data == nullptr || rect == nullptr) return 0;
  const int top = editBarHeight(r) + ((r->data->options & HGO_TITLES) ? r->data->columnHeaderHeight : 0);
  if (row < 0) {
    rect->top = editBarHeight(r);
    rect->bottom = top;
  } else {
    rect->top = top + (row - r->topRow) * r->data->rowHeight;
    rect->bottom = rect->top + r->data->rowHeight;
  }
  if (position < 0) {
    rect->left = 0;
    rect->right = rowHeaderWidth(r);
    return 1;
  }
  const HGField* field = HGColumnAtPosition(r->data, position);
  if (field == nullptr) return 0;
  int x = rowHeaderWidth(r);
  if (position < r->data->fixedColumns) {
    for (int p = 0; p < position; ++p) x += shownWidth(HGColumnAtPosition(r->data, p));
  } else {
    if (position < r->leftColumn) return 0;
    x += fixedWidth(r);
    for (int p = r->leftColumn; p < position; ++p) x += shownWidth(HGColumnAtPosition(r->data, p));
  }
  rect->left = x;
  rect->right = x + shownWidth(field);
  return 1;
}

void HGInvalidateCells(HGridRecord* r, int column1, int row1, int column2, int row2) {
  if (r->data == nullptr) return;
  // Rows off the page have nothing on the screen to redraw.
  const int low = std::min(row1, row2), high = std::max(row1, row2);
  if (low >= 0 && (high < r->topRow || low >= r->topRow + r->visibleRows)) return;
  RECT client, area{};
  GetClientRect(r->head.window, &client);
  // Rows: the band between the two rows, cut to the client area.
  RECT first, last;
  HGCellRect(r, -1, std::min(row1, row2), &first);
  HGCellRect(r, -1, std::max(row1, row2), &last);
  area.top = std::max<LONG>(first.top, 0);
  area.bottom = std::min(last.bottom, client.bottom);
  // Columns: the cells' span when both are shown, else the whole width.
  RECT a, b;
  const int p1 = column1 < 0 ? -1 : HGPositionOfColumn(r->data, column1);
  const int p2 = column2 < 0 ? -1 : HGPositionOfColumn(r->data, column2);
  if (HGCellRect(r, p1, 0, &a) && HGCellRect(r, p2, 0, &b)) {
    area.left = std::min(a.left, b.left);
    area.right = std::max(a.right, b.right);
  } else {
    area.left = 0;
    area.right = client.right;
  }
  if (area.bottom > area.top) InvalidateRect(r->head.window, &area, FALSE);
}

void HGInvalidateRow(HGridRecord* r, int row) { HGInvalidateCells(r, -1, row, HGColumnCount(r->data) - 1, row); }

void HGUpdateVerticalBar(HGridRecord* r) {
  if (r->data != nullptr) updateVerticalBar(r);
}

void HGLayout(HGridRecord* r) {
  HGridData* data = r->data;
  if (data == nullptr) return;
  if (r->editBar != nullptr) {
    RECT bar;
    GetWindowRect(r->editBar, &bar);
    SetWindowPos(r->editBar, nullptr, 0, 0, clientWidth(r), bar.bottom - bar.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const int titles = (data->options & HGO_TITLES) ? data->columnHeaderHeight : 0;
  const int area = std::max(clientHeight(r) - titles - editBarHeight(r), 0);
  const int rowHeight = std::max<int>(data->rowHeight, 1);
  r->visibleRows = std::max(area / rowHeight, 1);
  r->head.flags &= static_cast<WORD>(~HGF_PARTIALROW);
  if (area > rowHeight && area % rowHeight != 0) {
    r->head.flags |= HGF_PARTIALROW;
    ++r->visibleRows;
  }
  if (r->head.flags & HGF_VIRTUAL) {
    HGFillCache(r);
    HGCacheScrollTo(r, r->rowBase + r->topRow);
  }
  const LONG largest = largestTop(r);
  if (r->rowBase + r->topRow > largest) {
    if (r->head.flags & HGF_VIRTUAL) HGCacheScrollTo(r, largest);
    r->topRow = static_cast<int>(std::max<LONG>(largest - r->rowBase, 0));
    invalidateCellArea(r);
  }
  updateVerticalBar(r);
  HCtlNotify(&r->head, HGN_LAYOUT);
  updateHorizontalBar(r);
  HGPlaceField(r);
  if (r->accessMode == 0 && !r->fillPending && !(r->head.flags & HGF_VIRTUAL)) {
    r->fillPending = TRUE;
    PostMessageA(r->head.window, KYM_GRIDFILL, 0, 0);
  }
}

void HGRefresh(HGridRecord* r, BOOL erase) {
  HGLayout(r);
  InvalidateRect(r->head.window, nullptr, erase);
}

int HGSetTop(HGridRecord* r, LONG absoluteRow) {
  if (r->data == nullptr) return 0;
  // In virtual mode rows past the held ones are asked for before the
  // target is held against the end of the data.
  if (r->head.flags & HGF_VIRTUAL)
    HGCacheScrollTo(r, std::max<LONG>(r->dataEnded ? std::min(absoluteRow, largestTop(r)) : absoluteRow, 0));
  const LONG target = std::clamp<LONG>(absoluteRow, 0, largestTop(r));
  if ((r->head.flags & HGF_VIRTUAL) && target != absoluteRow) HGCacheScrollTo(r, target);
  const int top = static_cast<int>(std::clamp<LONG>(target - r->rowBase, 0, std::max(HGRowCount(r->data) - 1, 0)));
  if (top != r->topRow) {
    r->topRow = top;
    invalidateCellArea(r);
    HGPlaceField(r);
    if (!(r->head.flags & HGF_SCROLLING)) HCtlNotify(&r->head, HGN_VSCROLL);
  }
  updateVerticalBar(r);
  return static_cast<int>(r->rowBase + r->topRow);
}

int HGSetLeft(HGridRecord* r, int position) {
  if (r->data == nullptr) return 0;
  const int left = std::clamp(position, static_cast<int>(r->data->fixedColumns), std::max(r->maxLeftColumn, 0));
  if (left != r->leftColumn) {
    r->leftColumn = left;
    invalidateCellArea(r);
    HGPlaceField(r);
    if (!(r->head.flags & HGF_SCROLLING)) HCtlNotify(&r->head, HGN_HSCROLL);
  }
  r->hScroll = r->leftColumn - r->data->fixedColumns;
  if (r->data->options & WS_HSCROLL) SetScrollPos(r->head.window, SB_HORZ, r->hScroll, TRUE);
  return r->leftColumn;
}

// The path of creation and KYM_GRIDSETDATA: the old set goes, the new one
// is fitted to the window and its start rows are added.
int HGAttachData(HGridRecord* r, HGridData* data) {
  if (data == nullptr) return 0;
  if (r->data != nullptr && r->data != data) {
    HGHideField(r);
    HGEmptyCache(r);
    for (HGField* field : r->data->columns) field->fieldWindow = nullptr;
    HGDataDestroy(r->data);
  }
  r->data = data;
  r->currentField = nullptr;
  DefWindowProcA(r->head.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(data->title.c_str()));
  if (data->fixedColumns > HGColumnCount(data)) data->fixedColumns = static_cast<short>(HGColumnCount(data));
  if (data->fixedColumns < 0) data->fixedColumns = 0;
  if (data->rowHeight < 1 || data->rowHeight > 2000) data->rowHeight = 20;
  HGMakeEditBar(r);
  HGMakeFieldWindows(r);
  if (data->options & WS_POPUP) {
    HWND owner = GetWindow(r->head.window, GW_OWNER);
    if (owner != nullptr) EnableWindow(owner, FALSE);
  }
  r->topRow = 0;
  r->leftColumn = data->fixedColumns;
  r->anchorRow = r->currentRow = 0;
  r->anchorColumn = r->currentColumn = firstColumn(r);
  r->reportedColumn = r->reportedRow = -1;
  r->head.flags |= HGF_NOTENTERED;
  addStartRows(r);
  r->sortedColumn = -1;
  r->sortAscending = 1;
  r->pressedTitle = -1;
  return 1;
}

void HGClear(HGridRecord* r) {
  if (r->data == nullptr) return;
  HGHideField(r);
  HGEmptyCache(r);
  r->totalRows = 0;
  const int budget = r->data->memoryBudget;
  r->data->store.reset(GridStoreCreate(-1));
  r->data->memoryBudget = -1;
  if (budget >= 0) HGSetBudget(r->data, budget);
  if ((r->data->options & HGO_NEWROW) && !(r->head.flags & HGF_VIRTUAL))
    HGInsertRowAt(r->data, 0, HGR_NEW);
  r->topRow = 0;
  r->currentColumn = r->anchorColumn = 0;
  r->currentRow = r->anchorRow = 0;
}

int HGAppendRow(HGridRecord* r, BOOL newRow, const void* values) {
  HGridData* data = r->data;
  if (data == nullptr) return -1;
  int at = HGRowCount(data);
  if (at > 0 && (data->options & HGO_NEWROW) && (data->rows.back().flags & HGR_NEW) && !newRow) --at;
  const int row = HGInsertRowAt(data, at, newRow ? HGR_NEW : 0);
  if (row < 0) return -1;
  if (values != nullptr) {
    BYTE* current = HGReachRow(data, row);
    const size_t size = static_cast<size_t>(HGRowSize(data));
    if (current != nullptr) {
      std::memcpy(current, values, size);
      std::memcpy(current + size, values, size);
    }
  }
  if (row <= r->topRow + r->visibleRows) HGInvalidateRow(r, row);
  return HGRowCount(data);
}

int HGInsertRow(HGridRecord* r, int row, const void* values) {
  HGridData* data = r->data;
  if (data == nullptr || row < 0 || row > HGRowCount(data)) return -1;
  if (r->head.flags & HGF_VIRTUAL) {
    const size_t size = static_cast<size_t>(HGRowSize(data));
    std::vector<BYTE> buffer(size + 1, 0);
    if (values != nullptr) std::memcpy(buffer.data(), values, size);
    if (HGCall(r, HGV_INSERT, r->rowBase + row, buffer.data()) == 0) return -1;
  }
  const int at = HGInsertRowAt(data, row, 0);
  if (at < 0) return -1;
  if (values != nullptr) {
    BYTE* current = HGReachRow(data, at);
    const size_t size = static_cast<size_t>(HGRowSize(data));
    if (current != nullptr) {
      std::memcpy(current, values, size);
      std::memcpy(current + size, values, size);
    }
  }
  if (r->currentRow >= at) ++r->currentRow;
  if (r->anchorRow >= at) ++r->anchorRow;
  invalidateCellArea(r);
  return at;
}

int HGDeleteRow(HGridRecord* r, int row, BOOL notify) {
  HGridData* data = r->data;
  if (data == nullptr || row < 0 || row >= HGRowCount(data)) return 0;
  if (notify) {
    r->reportedColumn = -1;
    r->reportedRow = row;
    if (HCtlNotify(&r->head, HGN_DELETING) != 0) return 0;
    if (HGRecordOf(r->head.window) != r || row >= HGRowCount(data)) return 0;
  }
  const bool isNew = (data->rows[static_cast<size_t>(row)].flags & HGR_NEW) != 0;
  if ((r->head.flags & HGF_VIRTUAL) && !isNew && HGCall(r, HGV_DELETE, r->rowBase + row, HGReachRow(data, row)) == 0)
    return 0;
  if (row == r->currentRow) HGHideField(r);
  HGDeleteRowAt(data, row);
  if ((r->head.flags & HGF_VIRTUAL) && !isNew && r->totalRows > 0) --r->totalRows;
  if (r->currentRow > row || r->currentRow >= HGRowCount(data)) r->currentRow = std::max(r->currentRow - 1, 0);
  if (r->anchorRow > row || r->anchorRow >= HGRowCount(data)) r->anchorRow = std::max(r->anchorRow - 1, 0);
  if ((data->options & HGO_NEWROW) && !(r->head.flags & HGF_VIRTUAL) &&
      (HGRowCount(data) == 0 || !(data->rows.back().flags & HGR_NEW)))
    HGInsertRowAt(data, HGRowCount(data), HGR_NEW);
  invalidateCellArea(r);
  return 1;
}

namespace {

void vScroll(HGridRecord* r, int code) {
  const int page = std::max(r->visibleRows - 1, 1);
  const LONG top = r->rowBase + r->topRow;
  LONG target = top;
  switch (code) {
    case SB_LINEUP: target = top - 1; break;
    case SB_LINEDOWN: target = top + 1; break;
    case SB_PAGEUP: target = top - page; break;
    case SB_PAGEDOWN: target = top + page; break;
    case SB_THUMBPOSITION: {
      SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
      GetScrollInfo(r->head.window, SB_VERT, &info);
      target = static_cast<LONG>(info.nPos) * r->rowsPerUnit;
      break;
    }
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = largestTop(r); break;
    default: return;
  }
  if (target < r->rowBase && r->rowBase == 0 && !(r->head.flags & HGF_VIRTUAL)) HCtlNotify(&r->head, HGN_MOREBEFORE);
  HGSetTop(r, target);
  if (!(r->head.flags & HGF_VIRTUAL) && r->accessMode == 0) SendMessageA(r->head.window, KYM_GRIDFILL, 0, 0);
}

void hScroll(HGridRecord* r, int code, int position) {
  int visibleColumns = 0, x = rowHeaderWidth(r) + fixedWidth(r);
  for (int p = r->leftColumn; p < HGColumnCount(r->data); ++p) {
    x += shownWidth(HGColumnAtPosition(r->data, p));
    if (x > clientWidth(r)) break;
    ++visibleColumns;
  }
  const int page = std::max(visibleColumns - 1, 1);
  int target = r->leftColumn;
  switch (code) {
    case SB_LINELEFT: target -= 1; break;
    case SB_LINERIGHT: target += 1; break;
    case SB_PAGELEFT: target -= page; break;
    case SB_PAGERIGHT: target += page; break;
    case SB_THUMBPOSITION: target = r->data->fixedColumns + position; break;
    default: return;
  }
  HGSetLeft(r, target);
}

void destroy(HGridRecord* r) {
  HWND window = r->head.window;
  HGReleaseLayout(r);
  if (GetWindowLongA(window, GWL_STYLE) & WS_POPUP) {
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner != nullptr) EnableWindow(owner, TRUE);
  }
  HGHideField(r);
  HCtlNotify(&r->head, HGN_DESTROY);
  if (HGRecordOf(window) != r) return;
  HGEmptyCache(r);
  // A control never ends its application's loop, with or without a parent.
  if (r->data != nullptr)
    for (HGField* field : r->data->columns) field->fieldWindow = nullptr;
  r->currentField = nullptr;
  if (r->ownsBrush && r->backBrush != nullptr) DeleteObject(r->backBrush);
  r->backBrush = nullptr;
  r->ownsBrush = FALSE;
}

void freeRecord(HWND window, HGridRecord* r) {
  recordGeneration().fetch_add(1, std::memory_order_acq_rel);
  HGDataDestroy(r->data);
  if (r->name != nullptr) HCtlFree(r->name);
  delete r->sortKeys;
  SendMessageA(window, KYM_SETINSTANCE, 0, 0);
  delete r;
}

}  // namespace

// Creation makes the record; WM_CREATE loads the layout (gridlayoutfile.cpp).
LRESULT HGridProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* head) {
  if (message == WM_NCCREATE) {
    auto* r = new (std::nothrow) HGridRecord();
    if (r == nullptr) return FALSE;
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    HCtlInitRecord(&r->head, window, create);
    r->backColor = static_cast<COLORREF>(-1);
    r->pressedTitle = r->sortedColumn = r->movingTitle = -1;
    r->name = HCtlStrDup(create && create->lpszName ? create->lpszName : "");
    HGridData* data = HGLoadLayout(window, create);
    if (data == nullptr || !HGAttachData(r, data)) {
      HGDataDestroy(data);
      freeRecord(window, r);
      return FALSE;
    }
    SendMessageA(window, KYM_SETBKBRUSH, reinterpret_cast<WPARAM>(GetStockObject(WHITE_BRUSH)), 0);
    return TRUE;
  }
  auto* r = reinterpret_cast<HGridRecord*>(head);
  if (r == nullptr || (r->data == nullptr && message != WM_NCDESTROY)) {  // still being made
    *passOn = TRUE;
    return 0;
  }
  LRESULT result = 0;
  switch (message) {
    case WM_CREATE: HGRefresh(r, TRUE); return 0;
    case WM_DESTROY: destroy(r); return 0;
    case WM_NCDESTROY:
      freeRecord(window, r);
      *passOn = TRUE;
      return 0;
    case WM_SIZE: HGLayout(r); return 0;
    case WM_VSCROLL: vScroll(r, LOWORD(wParam)); return 0;
    case WM_HSCROLL: hScroll(r, LOWORD(wParam), static_cast<short>(HIWORD(wParam))); return 0;
    case WM_MOUSEWHEEL: {
      const int delta = static_cast<short>(HIWORD(wParam));
      HGSetTop(r, r->rowBase + r->topRow + (delta > 0 ? -3 : 3));
      return 0;
    }
    case WM_SETTEXT:
      r->data->title = lParam ? reinterpret_cast<const char*>(lParam) : "";
      HGRenameLayout(r, reinterpret_cast<const char*>(lParam));
      *passOn = TRUE;
      return TRUE;
    case WM_ERASEBKGND: return 1;
    case WM_STYLECHANGED:
      // The options word and the window style are kept equal.
      if (static_cast<int>(wParam) == GWL_STYLE) {
        r->data->options = reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew;
        if (HGRebuildEditBar(r)) HGRefresh(r, TRUE);
      }
      *passOn = TRUE;
      return 0;
    case WM_QUERYENDSESSION: return 1;
    default: break;
  }
  if (HGWindowMessage(r, message, wParam, lParam, &result)) return result;
  if (HGMessage(r, message, wParam, lParam, &result)) return result;
  if ((r->data->options & HGO_MDICHILD) && message != WM_NCDESTROY) {
    return DefMDIChildProcA(window, message, wParam, lParam);
  }
  *passOn = TRUE;
  return 0;
}
