// Moving the current cell and the grid's window messages: focus, keyboard,
// mouse, commands from its fields, colours and fonts. Row targets of the
// keyboard are absolute, so that in virtual mode the held window follows
// the current cell.
#include <algorithm>
#include <cstring>
#include <string>

#include "grid.h"
#include "library.h"
#include "nwiresource.h"

namespace {

bool ctrlDown() { return GetKeyState(VK_CONTROL) < 0; }
bool shiftDown() { return GetKeyState(VK_SHIFT) < 0; }

// "Grid WholeRow Select With Ctrl Click" of [Window Options] in the INI
// file named like the program, read once.
bool ctrlClickSelectsRows() {
  static const bool on = [] {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string ini = path;
    const size_t dot = ini.find_last_of('.');
    const size_t slash = ini.find_last_of("/\\");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ini.resize(dot);
    ini += ".INI";
    return GetPrivateProfileIntA("Window Options", "Grid WholeRow Select With Ctrl Click", 1, ini.c_str()) != 0;
  }();
  return on;
}

bool columnReadOnly(const HGridRecord* r, int column) {
  const HGField* f = HGColumn(r->data, column);
  return f == nullptr || (f->flags & HGC_READONLY) != 0 || (r->data->options & HGO_READONLY) != 0;
}

HWND currentFieldWindow(const HGridRecord* r) {
  const HGField* f = HGColumn(r->data, r->currentColumn);
  return f && f->fieldWindow ? f->fieldWindow->window : nullptr;
}

bool fieldHasFocus(const HGridRecord* r) { return (r->head.flags & HGF_FIELDFOCUS) != 0; }

// The next shown column from a display position, by step; -1 when none.
int stepColumn(const HGridRecord* r, int position, int step) {
  for (int p = position + step; p >= 0 && p < HGColumnCount(r->data); p += step) {
    const HGField* f = HGColumnAtPosition(r->data, p);
    if (f != nullptr && !(f->flags & HGC_HIDDEN)) return p;
  }
  return -1;
}

int firstShown(const HGridRecord* r) { return stepColumn(r, -1, 1); }
int lastShown(const HGridRecord* r) { return stepColumn(r, HGColumnCount(r->data), -1); }

// Scrolls so that the row and the column are on view.
void makeVisible(HGridRecord* r, int column, int row) {
  const int full = std::max(r->visibleRows - ((r->head.flags & HGF_PARTIALROW) ? 1 : 0), 1);
  if (row >= 0 && row < r->topRow)
    HGSetTop(r, r->rowBase + row);
  else if (row >= r->topRow + full)
    HGSetTop(r, r->rowBase + row - full + 1);
  const int position = HGPositionOfColumn(r->data, column);
  if (position < r->data->fixedColumns) return;
  if (position < r->leftColumn) {
    HGSetLeft(r, position);
    return;
  }
  RECT client, cell;
  GetClientRect(r->head.window, &client);
  while (r->leftColumn < position && HGCellRect(r, position, std::max(row, 0), &cell) && cell.right > client.right)
    if (HGSetLeft(r, r->leftColumn + 1) == r->leftColumn - 1) break;
}

// Moves to an absolute row: in virtual mode the held window is scrolled
// first, so that the row is held.
void moveToAbsolute(HGridRecord* r, int position, LONG absolute, bool extend) {
  const LONG total = HGTotalRows(r);
  const LONG first = (r->data->options & HGO_TITLES) ? -1 : 0;
  absolute = std::clamp<LONG>(absolute, first, std::max<LONG>(total - 1, first));
  if (absolute >= 0 && (absolute < r->rowBase || absolute >= r->rowBase + HGRowCount(r->data))) {
    const int full = std::max(r->visibleRows - ((r->head.flags & HGF_PARTIALROW) ? 1 : 0), 1);
    HGSetTop(r, absolute < r->rowBase ? absolute : absolute - full + 1);
  }
  const int row = absolute < 0 ? -1 : static_cast<int>(absolute - r->rowBase);
  HGMoveCurrent(r, position < 0 ? -1 : HGColumnAtPositionIndex(r->data, position), row, extend);
}

void focusField(HGridRecord* r, const MSG* key) {
  if (columnReadOnly(r, r->currentColumn)) return;
  HWND field = currentFieldWindow(r);
  if (field == nullptr || !IsWindowEnabled(field)) return;
  HGPlaceField(r);
  SetFocus(field);
  if (key != nullptr) SendMessageA(field, key->message, key->wParam, key->lParam);
}

void forEachSelectedRow(HGridRecord* r, bool lastFirst, bool (*action)(HGridRecord*, int)) {
  const int count = HGRowCount(r->data);
  for (int i = 0; i < count; ++i) {
    const int row = lastFirst ? count - 1 - i : i;
    if (row < HGRowCount(r->data) && (r->data->rows[static_cast<size_t>(row)].flags & HGR_SELECTED) &&
        !action(r, row))
      return;
  }
}

LRESULT keyDown(HGridRecord* r, UINT key, LPARAM lParam) {
  const bool shift = shiftDown(), ctrl = ctrlDown();
  const int position = std::max(HGPositionOfColumn(r->data, r->currentColumn), r->currentColumn < 0 ? -1 : 0);
  const LONG row = r->rowBase + r->currentRow;
  const int page = std::max(r->visibleRows - 1, 1);
  const bool rowMode = (r->data->options & HGO_ROWSELECT) != 0;
  const bool editRows = (r->data->options & HGO_INSERTDELETE) && rowMode;
  auto column = [&](int p) { return p < 0 ? position : p; };
  switch (key) {
    case VK_TAB: {
      const int next = stepColumn(r, position, shift ? -1 : 1);
      if (next >= 0) moveToAbsolute(r, next, row, false);
      return 0;
    }
    case VK_RETURN: moveToAbsolute(r, position, row + 1, shift); return 0;
    case VK_ESCAPE:
      HGLoadField(r);
      SetFocus(r->head.window);
      return 0;
    case VK_LEFT: moveToAbsolute(r, column(stepColumn(r, position, -1)), row, shift); return 0;
    case VK_RIGHT: moveToAbsolute(r, column(stepColumn(r, position, 1)), row, shift); return 0;
    case VK_UP: moveToAbsolute(r, position, row - (ctrl ? page : 1), shift); return 0;
    case VK_DOWN: moveToAbsolute(r, position, row + (ctrl ? page : 1), shift); return 0;
    case VK_PRIOR: moveToAbsolute(r, position, ctrl ? 0 : row - page, shift); return 0;
    case VK_NEXT: moveToAbsolute(r, position, ctrl ? HGTotalRows(r) - 1 : row + page, shift); return 0;
    case VK_HOME: moveToAbsolute(r, firstShown(r), ctrl ? 0 : row, shift); return 0;
    case VK_END: moveToAbsolute(r, lastShown(r), ctrl ? HGTotalRows(r) - 1 : row, shift); return 0;
    case VK_DELETE:
      if (shift)
        HGCopy(r);
      else if (editRows)
        forEachSelectedRow(r, true, [](HGridRecord* g, int at) { return HGDeleteRow(g, at, TRUE) != 0; });
      HGLayout(r);
      return 0;
    case VK_INSERT:
      if (shift)
        HGPaste(r);
      else if (ctrl)
        HGCopy(r);
      else if (editRows)
        forEachSelectedRow(r, true, [](HGridRecord* g, int at) { return HGInsertRow(g, at, nullptr) >= 0; });
      HGLayout(r);
      return 0;
    case VK_F2: focusField(r, nullptr); return 0;
    default: break;
  }
  if (ctrl && (key == 'C' || key == 'X')) {
    HGCopy(r);
    return 0;
  }
  if (ctrl && key == 'V') {
    HGPaste(r);
    return 0;
  }
  if (!ctrl && (key == VK_SPACE || (key >= 0x30 && key <= 0x6F) || key >= 0x92)) {
    const MSG message{r->head.window, WM_KEYDOWN, key, lParam, 0, {0, 0}};
    focusField(r, &message);
  }
  return 0;
}

struct Hit {
  int position;  // -1: the row header
  int row;       // -1: the title row
  bool onCell;
};

Hit hitTest(HGridRecord* r, int x, int y) {
  Hit hit{-2, -2, false};
  RECT cell;
  for (int row = -1; row < r->visibleRows + r->topRow && row < HGRowCount(r->data); row = row < 0 ? r->topRow : row + 1)
    if (HGCellRect(r, -1, row, &cell) && y >= cell.top && y < cell.bottom) {
      hit.row = row;
      break;
    }
  if (HGCellRect(r, -1, 0, &cell) && x < cell.right) hit.position = -1;
  for (int p = 0; p < HGColumnCount(r->data) && hit.position == -2; ++p)
    if (HGCellRect(r, p, 0, &cell) && x >= cell.left && x < cell.right) hit.position = p;
  hit.onCell = hit.position > -2 && hit.row > -2;
  return hit;
}

// Borders that a press drags: the title row's bottom (its height), the row
// header's right edge (its width), a title's right edge (the column's width).
constexpr int kNoBorder = -2, kTitleBottom = -3, kRowHeaderEdge = -4;

int borderAt(HGridRecord* r, int x, int y) {
  const DWORD options = r->data->options;
  RECT title, header;
  const bool titles = (options & HGO_TITLES) && HGCellRect(r, -1, -1, &title);
  if ((options & HGO_SIZEHEADERS) && titles) {
    const int zone = std::clamp(r->data->rowHeight / 3, 1, 4);
    if (y >= title.bottom - zone && y < title.bottom + zone) return kTitleBottom;
  }
  if ((options & HGO_SIZEHEADERS) && (options & HGO_ROWHEADER) && HGCellRect(r, -1, 0, &header)) {
    const int zone = std::clamp(r->data->rowHeaderWidth / 3, 1, 6);
    if (x >= header.right - zone && x <= header.right + 1) return kRowHeaderEdge;
  }
  if (!(options & HGO_SIZECOLUMNS) || !titles || y < title.top || y >= title.bottom) return kNoBorder;
  for (int p = 0; p < HGColumnCount(r->data); ++p) {
    RECT cell;
    const HGField* f = HGColumnAtPosition(r->data, p);
    if (!HGCellRect(r, p, -1, &cell) || (f->flags & HGC_HIDDEN)) continue;
    const int zone = std::clamp(f->width / 3, 1, 6);
    if (x >= cell.right - zone && x <= cell.right + 1) return p;
  }
  return kNoBorder;
}

struct Drag {
  HGridRecord* grid = nullptr;
  int border = kNoBorder;  // a display position, or kTitleBottom / kRowHeaderEdge
  POINT start{0, 0};
  int startSize = 0;
};
Drag& drag() {
  static Drag d;
  return d;
}

int sizeAtBorder(HGridRecord* r, int border) {
  if (border == kTitleBottom) return r->data->columnHeaderHeight;
  if (border == kRowHeaderEdge) return r->data->rowHeaderWidth;
  return HGColumnAtPosition(r->data, border)->width;
}

// Ends a border drag: the new size, clamped, and the layout again.
void endDrag(HGridRecord* r, int x, int y) {
  const Drag d = drag();
  drag() = {};
  if (d.grid != r) return;
  if (d.border == kTitleBottom) {
    r->data->columnHeaderHeight = static_cast<short>(std::clamp(d.startSize + y - static_cast<int>(d.start.y), 2, 2000));
  } else if (d.border == kRowHeaderEdge) {
    r->data->rowHeaderWidth = static_cast<short>(std::clamp(d.startSize + x - static_cast<int>(d.start.x), 2, 2000));
  } else if (HGField* f = HGColumnAtPosition(r->data, d.border)) {
    f->width = static_cast<WORD>(std::clamp(d.startSize + x - static_cast<int>(d.start.x), 3, 2000));
    r->reportedColumn = HGColumnAtPositionIndex(r->data, d.border);
    r->reportedRow = -1;
  }
  HGRefresh(r, FALSE);
  if (d.border >= 0) HCtlNotify(&r->head, HGN_COLUMNSIZED);
}

// With option 0x1000, while whole columns are selected (no current row), a
// Shift+press on the title of a selected column starts moving it.
bool startsColumnMove(const HGridRecord* r, WPARAM keys, const Hit& hit) {
  if (!(r->data->options & HGO_MOVECOLUMNS) || !(keys & MK_SHIFT) || hit.row != -1 || hit.position < 0 ||
      r->currentRow != -1)
    return false;
  const int anchor = HGPositionOfColumn(r->data, r->anchorColumn);
  const int current = HGPositionOfColumn(r->data, r->currentColumn);
  return anchor >= 0 && current >= 0 && hit.position >= std::min(anchor, current) &&
         hit.position <= std::max(anchor, current);
}

void showMoveCursor() {
  HCURSOR own = LoadCursorA(HCtlLibraryModule(), MAKEINTRESOURCEA(4304));
  SetCursor(own != nullptr ? own : LoadCursorA(nullptr, IDC_SIZEALL));
}

// The moved column goes to the position under the release (the last one
// past the right end); the selection goes with it.
void endColumnMove(HGridRecord* r, int x, int y) {
  const int from = r->movingTitle;
  r->movingTitle = -1;
  const Hit hit = hitTest(r, x, y);
  int to = hit.position;
  RECT last;
  const int count = HGColumnCount(r->data);
  if (to < 0 && count > 0 && HGCellRect(r, count - 1, -1, &last) && x >= last.right) to = count - 1;
  if (to < 0 || to == from) return;
  HGHideField(r);
  if (HGMoveColumn(r->data, from, to) < 0) return;
  HGRefresh(r, TRUE);
  r->reportedColumn = HGColumnAtPositionIndex(r->data, to);
  r->reportedRow = -1;
  HCtlNotify(&r->head, HGN_COLUMNSIZED);
}

void mouseDown(HGridRecord* r, WPARAM keys, int x, int y) {
  if (GetFocus() != r->head.window && !fieldHasFocus(r)) SetFocus(r->head.window);
  if (!HGCommitField(r)) return;
  const int border = borderAt(r, x, y);
  if (border != kNoBorder) {
    drag() = {r, border, {x, y}, sizeAtBorder(r, border)};
    r->head.flags |= HGF_CAPTURED | HGF_COLUMNDRAG;
    SetCapture(r->head.window);
    return;
  }
  const Hit hit = hitTest(r, x, y);
  if (!hit.onCell) return;
  if (startsColumnMove(r, keys, hit)) {
    r->movingTitle = hit.position;
    SetCapture(r->head.window);
    r->head.flags |= HGF_CAPTURED;
    showMoveCursor();
    return;
  }
  if (hit.row == -1 && hit.position >= 0) {
    r->pressedTitle = hit.position;
    HGInvalidateCells(r, HGColumnAtPositionIndex(r->data, hit.position), -1,
                      HGColumnAtPositionIndex(r->data, hit.position), -1);
    SetCapture(r->head.window);
    r->head.flags |= HGF_CAPTURED;
    return;
  }
  const bool ctrl = (keys & MK_CONTROL) != 0;
  if (ctrl && ctrlClickSelectsRows() && !(r->data->options & HGO_ROWSELECT)) r->data->options |= HGO_ROWSELECT;
  const int column = hit.position < 0 ? -1 : HGColumnAtPositionIndex(r->data, hit.position);
  HGMoveCurrent(r, column, hit.row, (keys & MK_SHIFT) != 0);
  if (IsWindow(r->head.window) && HGRecordOf(r->head.window) == r) {
    SetCapture(r->head.window);
    r->head.flags |= HGF_CAPTURED;
  }
}

// Dragging a selection past an edge of the cells scrolls: at once, then
// again every kAutoScrollPace milliseconds while the pointer stays out, the
// selection growing with it: one column a step, and one row a step more for
// every row height the pointer lies beyond the edge (at most a page).
constexpr UINT_PTR kAutoScrollTimer = 0x4753;
constexpr UINT kAutoScrollPace = 60;

bool selecting(const HGridRecord* r) {
  return (r->head.flags & HGF_CAPTURED) && !(r->head.flags & HGF_COLUMNDRAG) && r->pressedTitle < 0 &&
         r->movingTitle < 0;
}

// How far the point lies past the scrolling cells: -1, 0 or 1 in columns
// (x), and rows to step (y, signed).
POINT pastTheCells(HGridRecord* r, int x, int y) {
  RECT client, first;
  GetClientRect(r->head.window, &client);
  HGCellRect(r, -1, r->topRow, &first);
  int left = first.right;
  for (int p = 0; p < r->data->fixedColumns; ++p) {
    RECT fixed;
    if (HGCellRect(r, p, r->topRow, &fixed)) left = std::max<int>(left, fixed.right);
  }
  const int height = std::max<int>(r->data->rowHeight, 1);
  const int page = std::max(r->visibleRows - 1, 1);
  int rows = 0;
  if (y < first.top) rows = -std::min(1 + (first.top - 1 - y) / height, page);
  if (y >= client.bottom) rows = std::min(1 + (y - client.bottom) / height, page);
  return POINT{x < left ? -1 : (x >= client.right ? 1 : 0), rows};
}

void autoScroll(HGridRecord* r, int x, int y) {
  const POINT past = pastTheCells(r, x, y);
  if (past.x == 0 && past.y == 0) {
    KillTimer(r->head.window, kAutoScrollTimer);
    return;
  }
  const int position = HGPositionOfColumn(r->data, r->currentColumn);
  int next = position;
  if (past.x != 0 && position >= 0) {
    const int stepped = stepColumn(r, position, past.x);
    if (stepped >= 0 && stepped >= r->data->fixedColumns) next = stepped;
  }
  const LONG row = std::max<LONG>(r->rowBase + r->currentRow + past.y, 0);
  moveToAbsolute(r, next, row, true);
  if (HGRecordOf(r->head.window) != r) return;
  makeVisible(r, r->currentColumn, r->currentRow);
  SetTimer(r->head.window, kAutoScrollTimer, kAutoScrollPace, nullptr);
}

void autoScrollTick(HGridRecord* r) {
  if (!selecting(r)) {
    KillTimer(r->head.window, kAutoScrollTimer);
    return;
  }
  POINT at;
  GetCursorPos(&at);
  ScreenToClient(r->head.window, &at);
  autoScroll(r, at.x, at.y);
}

void mouseMove(HGridRecord* r, int x, int y) {
  if (!selecting(r)) return;  // a width is taken on release, a title waits for it
  const Hit hit = hitTest(r, x, y);
  if (hit.onCell && hit.row >= 0 && hit.position >= 0 &&
      (hit.row != r->currentRow || HGColumnAtPositionIndex(r->data, hit.position) != r->currentColumn))
    HGMoveCurrent(r, HGColumnAtPositionIndex(r->data, hit.position), hit.row, TRUE);
  if (HGRecordOf(r->head.window) == r) autoScroll(r, x, y);
}

void mouseUp(HGridRecord* r, int x, int y) {
  if (!(r->head.flags & HGF_CAPTURED)) return;
  KillTimer(r->head.window, kAutoScrollTimer);
  r->head.flags &= static_cast<WORD>(~HGF_CAPTURED);
  ReleaseCapture();
  if (r->movingTitle >= 0) {
    endColumnMove(r, x, y);
    return;
  }
  if (r->head.flags & HGF_COLUMNDRAG) {
    r->head.flags &= static_cast<WORD>(~HGF_COLUMNDRAG);
    endDrag(r, x, y);
    return;
  }
  if (r->pressedTitle >= 0) {
    const int pressed = r->pressedTitle;
    r->pressedTitle = -1;
    InvalidateRect(r->head.window, nullptr, FALSE);
    const Hit hit = hitTest(r, x, y);
    if (!r->autoSort || hit.row != -1 || hit.position != pressed) return;
    const int column = HGColumnAtPositionIndex(r->data, pressed);
    r->sortAscending = column == r->sortedColumn ? !r->sortAscending : 1;
    r->sortedColumn = column;
    const HGSortKey key{column, r->sortAscending};
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    HGSort(r, 1, &key);
    SetCursor(previous);
  }
}

void rightDown(HGridRecord* r, WPARAM keys, int x, int y) {
  const Hit hit = hitTest(r, x, y);
  if (!hit.onCell || hit.row < 0 || (keys & (MK_SHIFT | MK_CONTROL))) return;
  const bool selected = (r->data->rows[static_cast<size_t>(hit.row)].flags & HGR_SELECTED) != 0;
  if (selected) return;
  if (!HGCommitField(r)) return;
  SetFocus(r->head.window);
  if ((r->data->options & HGO_ROWSELECT) && !(r->data->options & HGO_CTRLMOVES))
    for (HGRowRecord& row : r->data->rows) row.flags &= static_cast<WORD>(~HGR_SELECTED);
  HGMoveCurrent(r, hit.position < 0 ? -1 : HGColumnAtPositionIndex(r->data, hit.position), hit.row, FALSE);
}

bool setCursor(HGridRecord* r) {
  if (r->movingTitle >= 0) {
    showMoveCursor();
    return true;
  }
  if (r->head.flags & HGF_CAPTURED) return false;
  POINT at;
  GetCursorPos(&at);
  ScreenToClient(r->head.window, &at);
  const int border = borderAt(r, at.x, at.y);
  if (border == kNoBorder) return false;
  // The library's resizing cursors where it has them, else the system's.
  const bool vertical = border == kTitleBottom;
  HCURSOR own = LoadCursorA(HCtlLibraryModule(), MAKEINTRESOURCEA(vertical ? 4302 : 4303));
  SetCursor(own != nullptr ? own : LoadCursorA(nullptr, vertical ? IDC_SIZENS : IDC_SIZEWE));
  return true;
}

LRESULT setFont(HGridRecord* r, WPARAM wParam, LPARAM lParam) {
  HFONT previous = r->head.font;
  auto font = reinterpret_cast<HFONT>(wParam);
  r->head.font = font;
  if (r->editBar != nullptr) SendMessageA(r->editBar, WM_SETFONT, wParam, 0);
  for (HGField* f : r->data->columns)
    if (f->fieldWindow) SendMessageA(f->fieldWindow->window, WM_SETFONT, wParam, 0);
  if ((r->data->units & 3) == 1) HGScaleToFont(r->data, HCtlAvgCharSize(previous), HCtlAvgCharSize(font));
  HGRefresh(r, TRUE);
  if (lParam) UpdateWindow(r->head.window);
  return reinterpret_cast<LRESULT>(previous);
}

LRESULT colorBrush(HGridRecord* r, WPARAM wParam, LPARAM lParam) {
  if (r->backBrush != nullptr) return reinterpret_cast<LRESULT>(r->backBrush);
  if (r->head.notifyTarget != nullptr) {
    const LRESULT answer = SendMessageA(r->head.notifyTarget, KYM_GRIDCTLCOLOR, wParam, lParam);
    if (answer != 0) return answer;
  }
  return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

void fieldLostFocus(HGridRecord* r, HWND gaining) {
  if (!HGCommitField(r)) {
    if (HWND field = currentFieldWindow(r)) SetFocus(field);
    return;
  }
  r->head.flags &= static_cast<WORD>(~HGF_FIELDFOCUS);
  if (gaining == r->head.window) return;
  HCtlNotify(&r->head, HGN_KILLFOCUS);
  if (HGRecordOf(r->head.window) == r && !(r->data->options & HGO_KEEPFIELD)) HGHideField(r);
}

LRESULT command(HGridRecord* r, WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case IDOK: HGCommitField(r); return 0;
    case IDCANCEL: HGLoadField(r); return 0;
    case 4:
      if (fieldHasFocus(r) && !r->committing) HGCommitField(r);
      return 0;
    default:
      if (r->head.notifyTarget != nullptr)
        SendMessageA(r->head.notifyTarget, WM_COMMAND, MAKEWPARAM(0xFFFF, HIWORD(wParam)), lParam);
      return 0;
  }
}

}  // namespace

void HGMoveCurrent(HGridRecord* r, int column, int row, BOOL extend) {
  HGridData* data = r->data;
  if (data == nullptr) return;
  if (!ctrlDown() && data->savedOptions != 0xFFFFFFFFu) data->options = data->savedOptions;
  const bool rowMode = (data->options & HGO_ROWSELECT) != 0;
  if (rowMode) column = -1;
  if (!HGCommitField(r)) {
    r->redirected = TRUE;
    return;
  }
  r->reportedColumn = column;
  r->reportedRow = row;
  r->redirected = FALSE;
  HWND window = r->head.window;
  HCtlNotify(&r->head, extend ? HGN_EXTENDING : HGN_MOVING);
  if (HGRecordOf(window) != r) return;
  if (r->redirected) {
    column = r->reportedColumn;
    row = r->reportedRow;
  }
  column = std::clamp(column, -1, HGColumnCount(data) - 1);
  row = std::clamp(row, -1, HGRowCount(data) - 1);
  const bool rowChanged = row != r->currentRow;
  HGHideField(r);
  r->currentColumn = column;
  r->currentRow = row;
  if (rowMode && ctrlDown() && row >= 0) {
    data->rows[static_cast<size_t>(row)].flags ^= HGR_SELECTED;
  } else if (!extend) {
    r->anchorColumn = column;
    r->anchorRow = row;
    r->head.flags &= static_cast<WORD>(~HGF_RANGESELECTED);
    if (rowMode) {
      for (HGRowRecord& record : data->rows) record.flags &= static_cast<WORD>(~HGR_SELECTED);
      if (row >= 0) data->rows[static_cast<size_t>(row)].flags |= HGR_SELECTED;
    }
  } else {
    r->head.flags |= HGF_RANGESELECTED;
    if (rowMode)
      for (int i = 0; i < HGRowCount(data); ++i) {
        const bool inside = i >= std::min(r->anchorRow, row) && i <= std::max(r->anchorRow, row);
        WORD& flags = data->rows[static_cast<size_t>(i)].flags;
        flags = inside ? (flags | HGR_SELECTED) : (flags & static_cast<WORD>(~HGR_SELECTED));
      }
  }
  makeVisible(r, column, row);
  if (!(r->head.flags & HGF_VIRTUAL) && r->accessMode == 0 && row >= HGRowCount(data) - 1)
    SendMessageA(window, KYM_GRIDFILL, 0, 0);
  InvalidateRect(window, nullptr, FALSE);
  if (r->boundRow != nullptr && rowChanged) SendMessageA(window, KYM_GRIDSETBOUNDROW, 0, reinterpret_cast<LPARAM>(r->boundRow));
  HGPlaceField(r);
  r->head.flags &= static_cast<WORD>(~HGF_NOTENTERED);
  HCtlNotify(&r->head, HGN_MOVED);
  if (HGRecordOf(window) == r && r->head.notifyTarget != nullptr && !(r->head.flags & HCTL_NONOTIFY))
    PostMessageA(r->head.notifyTarget, WM_COMMAND, MAKEWPARAM(r->head.id, HGN_SELCHANGE), reinterpret_cast<LPARAM>(window));
}

BOOL HGWindowMessage(HGridRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  *result = 0;
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_PAINT: HGPaint(r); return TRUE;
    case WM_KEYDOWN: *result = keyDown(r, static_cast<UINT>(wParam), lParam); return TRUE;
    case WM_CHAR:
      if (HWND field = currentFieldWindow(r); field != nullptr && IsWindowEnabled(field) && GetFocus() == field)
        *result = SendMessageA(field, message, wParam, lParam);
      return TRUE;
    case WM_GETDLGCODE:
      *result = fieldHasFocus(r) ? DLGC_WANTALLKEYS
                : ((r->data->options & HGO_TABLEAVES) || ctrlDown()) ? (DLGC_WANTARROWS | DLGC_WANTCHARS)
                                                                    : DLGC_WANTALLKEYS;
      return TRUE;
    case WM_SETFOCUS:
      HCtlNotify(&r->head, HGN_SETFOCUS);
      if (HGRecordOf(r->head.window) == r) {
        HGPlaceField(r);
        InvalidateRect(r->head.window, nullptr, FALSE);
      }
      return TRUE;
    case WM_KILLFOCUS: {
      const auto gaining = reinterpret_cast<HWND>(wParam);
      if (gaining != nullptr && IsChild(r->head.window, gaining)) return TRUE;  // into its own field
      HCtlNotify(&r->head, HGN_KILLFOCUS);
      if (HGRecordOf(r->head.window) == r) {
        if (!(r->data->options & HGO_KEEPFIELD)) HGHideField(r);
        InvalidateRect(r->head.window, nullptr, FALSE);
      }
      return TRUE;
    }
    case KYM_FIELDGOTFOCUS:
      r->head.flags |= HGF_FIELDFOCUS;
      if (!(r->head.flags & HGF_FIELDSHOWN)) HGPlaceField(r);
      return TRUE;
    case KYM_FIELDLOSTFOCUS: fieldLostFocus(r, reinterpret_cast<HWND>(wParam)); return TRUE;
    case WM_LBUTTONDOWN: mouseDown(r, wParam, x, y); return TRUE;
    case WM_MOUSEMOVE: mouseMove(r, x, y); return TRUE;
    case WM_TIMER:
      if (wParam != kAutoScrollTimer) return FALSE;
      autoScrollTick(r);
      return TRUE;
    case WM_LBUTTONUP: mouseUp(r, x, y); return TRUE;
    case WM_LBUTTONDBLCLK: {
      const Hit hit = hitTest(r, x, y);
      if (hit.onCell && hit.row >= 0) HCtlNotify(&r->head, HGN_DBLCLK);
      return TRUE;
    }
    case WM_RBUTTONDOWN: rightDown(r, wParam, x, y); return TRUE;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) != r->head.window || LOWORD(lParam) != HTCLIENT) return FALSE;
      *result = setCursor(r) ? TRUE : FALSE;
      return *result != 0;
    case WM_SETFONT: *result = setFont(r, wParam, lParam); return TRUE;
    case WM_COMMAND: *result = command(r, wParam, lParam); return TRUE;
    case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN: case WM_CTLCOLORSTATIC:
      *result = colorBrush(r, wParam, lParam);
      return TRUE;
    case WM_MDIACTIVATE:
      if (reinterpret_cast<HWND>(lParam) == r->head.window) SetFocus(r->head.window);
      return FALSE;
    case WM_CLOSE:
      if (GetWindowLongA(r->head.window, GWL_STYLE) & WS_POPUP) {
        if (HWND owner = GetWindow(r->head.window, GW_OWNER)) EnableWindow(owner, TRUE);
        return FALSE;
      }
      if ((r->data->options & HGO_MDICHILD) && SendMessageA(r->head.window, WM_QUERYENDSESSION, 0, 0))
        PostMessageA(GetParent(r->head.window), WM_MDIDESTROY, reinterpret_cast<WPARAM>(r->head.window), 0);
      return (r->data->options & HGO_MDICHILD) != 0;
    default: return FALSE;
  }
}
