// The grid window: editing in place with synthetic keys, moving the
// current cell, copy and paste round trips, sorting by a title click, the
// notifications it sends, and what it paints.
#include <internal/snapshot.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "gridfixture.h"

namespace {

using gridtest::Column;
using gridtest::GridTest;
namespace input = win32::input;

class GridWindowTest : public GridTest {
 protected:
  HWND makeFilled(DWORD options, int count) {
    HWND grid = makeGrid(options | HGO_TITLES | HGO_INPLACE,
                         {{"Name", 's', 's', 40}, {"Qty", 'i', 'l', 0}, {"Note", 's', 's', 40}});
    for (int r = 0; r < count; ++r) {
      appendRow(grid);
      EXPECT_TRUE(setText(grid, 0, r, ("name" + std::to_string(r)).c_str()));
      EXPECT_TRUE(setText(grid, 1, r, std::to_string(r * 10).c_str()));
    }
    return grid;
  }
  void focusGrid(HWND grid) {
    SetFocus(grid);
    input::pumpMessages();
  }
  std::pair<int, int> current(HWND grid) {
    const auto packed = static_cast<LONG>(send(grid, KYM_GRIDGETCURSEL));
    return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
  }
  void select(HWND grid, int c1, int r1, int c2, int r2) {
    send(grid, KYM_GRIDSETCURSEL, 0, cell(c1, r1));
    send(grid, KYM_GRIDSETCURSEL, 1, cell(c2, r2));
  }
  static std::string clipboard() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      text = static_cast<const char*>(GlobalLock(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
  }
  static void setClipboard(const std::string& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
  }
};

TEST_F(GridWindowTest, TypingIntoACellEditsItInPlace) {
  HWND grid = makeFilled(0, 3);
  focusGrid(grid);
  send(grid, KYM_GRIDSETCURSEL, 0, cell(0, 1));
  input::typeText("Zed");
  input::pumpMessages();
  HWND field = reinterpret_cast<HWND>(send(grid, KYM_GRIDGETFIELDWND, 0));
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(GetFocus(), field) << "typing moves the focus into the cell's field";
  key(VK_RETURN);
  EXPECT_EQ(text(grid, 0, 1), "Zed") << "the first key replaced nothing: it was passed on";
  EXPECT_EQ(current(grid), std::make_pair(0, 2)) << "Enter moves down";
  EXPECT_EQ(send(grid, KYM_GRIDGETROWFLAGS, 1) & HGR_MODIFIED, HGR_MODIFIED);
  // Esc takes the cell's value back into the field.
  send(grid, KYM_GRIDSETCURSEL, 0, cell(1, 2));
  key(VK_F2);
  input::typeText("99");
  key(VK_ESCAPE);
  key(VK_UP);
  EXPECT_EQ(text(grid, 1, 2), "20");
}

// Without the in-place option the field sits in an edit bar above the cells.
TEST_F(GridWindowTest, WithoutInPlaceTheFieldSitsInTheEditBar) {
  HWND grid = makeGrid(HGO_TITLES, {{"Name", 's', 's', 20}, {"Qty", 'i', 'l', 0}});
  appendRow(grid);
  appendRow(grid);
  HGridRecord* r = HGRecordOf(grid);
  ASSERT_NE(r->editBar, nullptr);
  RECT bar, cellRect;
  GetWindowRect(r->editBar, &bar);
  ASSERT_TRUE(HGCellRect(r, 0, 0, &cellRect));
  EXPECT_GE(cellRect.top, bar.bottom - bar.top) << "the cells start below the bar";
  focusGrid(grid);
  send(grid, KYM_GRIDSETCURSEL, 0, cell(1, 1));
  HWND field = reinterpret_cast<HWND>(send(grid, KYM_GRIDGETFIELDWND, 1));
  for (const char* typed : {"1", "2"}) {
    input::typeText(typed);
    input::pumpMessages();
  }
  EXPECT_EQ(GetParent(field), r->editBar);
  EXPECT_EQ(GetFocus(), field);
  EXPECT_TRUE(IsWindowVisible(field));
  char typed[16] = {};
  GetWindowTextA(field, typed, sizeof typed);
  EXPECT_STREQ(typed, "12");
  key(VK_RETURN);
  EXPECT_EQ(text(grid, 1, 1), "12");
}

// Switching editing in place on and off takes the edit bar away and brings
// it back; the fields are made again where they now belong and still edit.
TEST_F(GridWindowTest, TheEditBarFollowsTheOptions) {
  HWND grid = makeGrid(HGO_TITLES, {{"Name", 's', 's', 20}, {"Qty", 'i', 'l', 0}});
  appendRow(grid);
  HGridRecord* r = HGRecordOf(grid);
  struct Step {
    WPARAM inPlace;
    const char* typed;
  };
  for (const Step& step : {Step{1, "34"}, Step{0, "56"}, Step{1, "78"}}) {
    ASSERT_EQ(send(grid, KYM_GRIDSETOPTION, step.inPlace, HGO_INPLACE), 1);
    input::pumpMessages();
    EXPECT_EQ(r->editBar == nullptr, step.inPlace != 0) << step.typed;
    focusGrid(grid);
    send(grid, KYM_GRIDSETCURSEL, 0, cell(1, 0));
    HWND field = reinterpret_cast<HWND>(send(grid, KYM_GRIDGETFIELDWND, 1));
    ASSERT_NE(field, nullptr) << step.typed;
    input::typeText(step.typed);
    input::pumpMessages();
    EXPECT_EQ(GetParent(field), step.inPlace ? grid : r->editBar) << step.typed;
    key(VK_RETURN);
    EXPECT_EQ(text(grid, 1, 0), step.typed);
  }
}

TEST_F(GridWindowTest, AVetoedCommitKeepsTheFocusInTheField) {
  HWND grid = makeFilled(0, 3);
  focusGrid(grid);
  send(grid, KYM_GRIDSETCURSEL, 0, cell(0, 0));
  input::typeText("X");
  input::pumpMessages();
  nwitest::notifyLog().vetoes = {HGN_CHANGED};
  key(VK_DOWN);
  EXPECT_EQ(current(grid), std::make_pair(0, 0)) << "the refused commit keeps the current cell";
  EXPECT_EQ(GetFocus(), reinterpret_cast<HWND>(send(grid, KYM_GRIDGETFIELDWND, 0)));
  EXPECT_EQ(text(grid, 0, 0), "name0");
  nwitest::notifyLog().vetoes.clear();
  key(VK_DOWN);
  EXPECT_EQ(text(grid, 0, 0), "X");
}

TEST_F(GridWindowTest, KeysMoveTheCurrentCell) {
  HWND grid = makeFilled(0, 40);
  focusGrid(grid);
  send(grid, KYM_GRIDSETCURSEL, 0, cell(0, 0));
  struct Step {
    UINT key;
    bool shift, ctrl;
    int column, row;
  };
  const Step steps[] = {{VK_DOWN, false, false, 0, 1},  {VK_RIGHT, false, false, 1, 1}, {VK_TAB, false, false, 2, 1},
                        {VK_TAB, true, false, 1, 1},    {VK_END, false, true, 2, 39},  {VK_DOWN, false, false, 2, 39},
                        {VK_HOME, false, true, 0, 0},   {VK_NEXT, false, false, 0, -1}, {VK_PRIOR, false, true, 0, 0}};
  for (const Step& s : steps) {
    key(s.key, s.shift, s.ctrl);
    const auto [column, row] = current(grid);
    EXPECT_EQ(column, s.column) << s.key;
    if (s.row >= 0) EXPECT_EQ(row, s.row) << s.key;
  }
  EXPECT_GT(send(grid, KYM_GRIDGETTOPROW), -1);
  key(VK_END, false, true);
  const LRESULT top = send(grid, KYM_GRIDGETTOPROW);
  EXPECT_GT(top, 20) << "the last row is scrolled into view";
}

TEST_F(GridWindowTest, TabLeavesTheGridWithTheOption) {
  HWND grid = makeFilled(HGO_TABLEAVES, 2);
  EXPECT_EQ(send(grid, WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);
  HWND other = makeFilled(0, 2);
  EXPECT_EQ(send(other, WM_GETDLGCODE), DLGC_WANTALLKEYS);
}

// A 2x2 copy with a null cell: NULL in its place, tabs between, CR LF after rows.
TEST_F(GridWindowTest, CopyWritesNullCellsAndRowEnds) {
  HWND grid = makeFilled(0, 3);
  HGSetCellData(grid, 1, 1, nullptr);
  select(grid, 0, 0, 1, 1);
  focusGrid(grid);
  key('C', false, true);
  EXPECT_EQ(clipboard(), "name0\t0\r\nname1\tNULL\r\n");
}

// Texts with tabs, line ends, quotes and the word NULL come back as they went.
TEST_F(GridWindowTest, CopyAndPasteRoundTripAwkwardTexts) {
  HWND grid = makeFilled(0, 6);
  const std::vector<std::string> awkward = {"NULL", "tab\there", "two\r\nlines", "say \"hi\"", "\"quoted", "plain"};
  for (int r = 0; r < 6; ++r) ASSERT_TRUE(setText(grid, 2, r, awkward[static_cast<size_t>(r)].c_str()));
  HGSetCellData(grid, 1, 5, nullptr);
  select(grid, 1, 0, 2, 5);
  focusGrid(grid);
  key('C', false, true);
  for (int r = 0; r < 6; ++r) {
    ASSERT_TRUE(setText(grid, 2, r, "x"));
    ASSERT_TRUE(setText(grid, 1, r, "1"));
  }
  send(grid, KYM_GRIDSETCURSEL, 0, cell(1, 0));
  key('V', false, true);
  for (int r = 0; r < 6; ++r) EXPECT_EQ(text(grid, 2, r), awkward[static_cast<size_t>(r)]) << r;
  int32_t value = -1;
  EXPECT_EQ(HGGetCellData(grid, 1, 5, &value), 0) << "the null cell is null again";
  EXPECT_EQ(HGGetCellData(grid, 1, 4, &value), 1);
  EXPECT_EQ(value, 40);
}

TEST_F(GridWindowTest, OneCellPastedIntoARangeFillsIt) {
  HWND grid = makeFilled(0, 4);
  setClipboard("7\r\n");
  select(grid, 1, 0, 1, 2);
  focusGrid(grid);
  key(VK_INSERT, true);
  for (int r = 0; r < 3; ++r) EXPECT_EQ(text(grid, 1, r), "7") << r;
  EXPECT_EQ(text(grid, 1, 3), "30");
  // Several lines into one row take as many rows.
  setClipboard("a\t5\r\nc\t6\r\n");
  send(grid, KYM_GRIDSETCURSEL, 0, cell(0, 2));
  key('V', false, true);
  EXPECT_EQ(text(grid, 0, 3), "c");
  EXPECT_EQ(text(grid, 1, 3), "6");
  // The first refusal stops the paste; cells written before it stay.
  setClipboard("z\tq\r\ny\t1\r\n");
  send(grid, KYM_GRIDSETCURSEL, 0, cell(0, 0));
  key('V', false, true);
  EXPECT_EQ(text(grid, 0, 0), "z");
  EXPECT_EQ(text(grid, 1, 0), "7");
  EXPECT_EQ(text(grid, 0, 1), "name1");
  // A line whose cell count fits neither one column nor the range is refused.
  setClipboard("1\t2\t3\r\n");
  select(grid, 0, 0, 1, 0);
  key('V', false, true);
  EXPECT_EQ(text(grid, 0, 0), "z");
  EXPECT_EQ(text(grid, 1, 0), "7");
}

TEST_F(GridWindowTest, ClickingATitleSortsAndAgainReverses) {
  HWND grid = makeFilled(0, 5);
  send(grid, KYM_GRIDAUTOSORT, 1);
  RECT title;
  GetClientRect(grid, &title);
  const int y = 8;  // inside the title row
  const int qtyX = 80 + 40;  // the second column's middle
  input::click(grid, qtyX, y);
  input::pumpMessages();
  EXPECT_EQ(text(grid, 1, 0), "0");
  Sleep(GetDoubleClickTime() + 50);  // two separate clicks, not a double click
  input::click(grid, qtyX, y);
  input::pumpMessages();
  EXPECT_EQ(text(grid, 1, 0), "40");
  EXPECT_EQ(text(grid, 1, 4), "0");
}

// Border drags: a column's width (at least 3 by the mouse), the title row's height.
TEST_F(GridWindowTest, DraggingBordersResizes) {
  HWND grid = makeFilled(HGO_SIZECOLUMNS | HGO_SIZEHEADERS, 3);
  nwitest::notifyLog() = {};
  input::drag(grid, 79, 10, 20, 10);
  input::pumpMessages();
  EXPECT_EQ(send(grid, KYM_GRIDGETFIELDWIDTH, 0), 80 + 20 - 79);
  EXPECT_NE(std::find(codes().begin(), codes().end(), HGN_COLUMNSIZED), codes().end());
  const LRESULT width = send(grid, KYM_GRIDGETFIELDWIDTH, 0);
  input::drag(grid, static_cast<int>(width) - 1, 10, 0, 10);
  input::pumpMessages();
  EXPECT_EQ(send(grid, KYM_GRIDGETFIELDWIDTH, 0), 3);
  input::drag(grid, 150, 19, 150, 40);
  input::pumpMessages();
  EXPECT_EQ(send(grid, KYM_GRIDGETHEADERHEIGHT), 20 + 40 - 19);
}

TEST_F(GridWindowTest, ACellClickMovesAndNotifies) {
  HWND grid = makeFilled(0, 5);
  nwitest::notifyLog() = {};
  input::click(grid, 80 + 40, 20 + 2 * 20 + 5);
  input::pumpMessages();
  EXPECT_EQ(current(grid), std::make_pair(1, 2));
  const std::vector<int> seen = codes();
  auto at = [&](int code) { return std::find(seen.begin(), seen.end(), code) - seen.begin(); };
  ASSERT_LT(at(HGN_MOVING), static_cast<long>(seen.size()));
  EXPECT_LT(at(HGN_MOVING), at(HGN_MOVED));
  EXPECT_LT(at(HGN_MOVED), at(HGN_SELCHANGE)) << "the selection change is posted after the move";
}

// A selection dragged past the bottom keeps scrolling while the pointer
// stays there, and past the top back up; the anchor stays where the
// press was, and releasing the button stops the scrolling.
TEST_F(GridWindowTest, DraggingASelectionPastAnEdgeScrolls) {
  HWND grid = makeFilled(0, 60);
  HGridRecord* r = HGRecordOf(grid);
  RECT client;
  GetClientRect(grid, &client);
  auto waitTicks = [](int ticks) {
    for (int i = 0; i < ticks; ++i) {
      Sleep(20);
      input::pumpMessages();
    }
  };
  input::mouseMove(grid, 80 + 40, 20 + 5);
  input::mouseDown(grid, 80 + 40, 20 + 5);
  input::pumpMessages();
  ASSERT_EQ(current(grid), std::make_pair(1, 0));
  input::mouseMove(grid, 80 + 40, client.bottom + 4 * 20);  // five rows a step
  waitTicks(15);
  const int below = current(grid).second;
  EXPECT_GT(below, r->visibleRows) << "scrolled past the first page";
  EXPECT_GT(r->topRow, 0);
  EXPECT_EQ(r->anchorRow, 0) << "the anchor stays at the press";
  input::mouseMove(grid, 80 + 40, 20 + 2 * 20 + 5);  // back inside: no more scrolling
  input::pumpMessages();
  const int top = r->topRow;
  waitTicks(8);
  EXPECT_EQ(r->topRow, top);
  input::mouseMove(grid, 80 + 40, 2);  // over the titles: back up, a row a step
  waitTicks(8);
  EXPECT_LT(r->topRow, top);
  input::mouseUp(grid, 80 + 40, 2);
  input::pumpMessages();
  const int released = r->topRow;
  waitTicks(8);
  EXPECT_EQ(r->topRow, released) << "releasing stops the scrolling";
}

// A Shift+press on the title of a selected whole column, with option
// 0x1000, drags the column to where the button is released; its values go
// with it and the owner hears of it. Without any of the three the title
// is only pressed.
TEST_F(GridWindowTest, AWholeColumnMovesByDraggingItsTitle) {
  struct Case {
    DWORD options;
    bool shift, wholeColumn, moves;
  };
  const Case cases[] = {
      {HGO_MOVECOLUMNS, true, true, true},
      {0, true, true, false},
      {HGO_MOVECOLUMNS, false, true, false},
      {HGO_MOVECOLUMNS, true, false, false},
  };
  for (const Case& c : cases) {
    HWND grid = makeFilled(c.options, 3);
    send(grid, KYM_GRIDSETCURSEL, 0, cell(0, c.wholeColumn ? -1 : 1));
    input::pumpMessages();
    nwitest::notifyLog() = {};
    if (c.shift) input::keyDown(VK_SHIFT);
    input::mouseMove(grid, 40, 10);
    input::mouseDown(grid, 40, 10);
    input::mouseMove(grid, 2 * 80 + 40, 10);
    input::mouseUp(grid, 2 * 80 + 40, 10);
    if (c.shift) input::keyUp(VK_SHIFT);
    input::pumpMessages();
    EXPECT_EQ(send(grid, KYM_GRIDPOSOFFIELD, 0), c.moves ? 2 : 0) << c.options << c.shift << c.wholeColumn;
    EXPECT_EQ(text(grid, 0, 1), "name1") << "the values stay with their column";
    const std::vector<int> seen = codes();
    EXPECT_EQ(std::count(seen.begin(), seen.end(), HGN_COLUMNSIZED), c.moves ? 1 : 0);
    DestroyWindow(grid);
  }
}

TEST_F(GridWindowTest, AMoveCanBeRedirectedByTheOwner) {
  HWND grid = makeFilled(0, 5);
  // The owner answers the move notification by naming another cell.
  static HWND target;
  target = grid;
  SetWindowLongPtrA(panel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_COMMAND && HIWORD(wp) == HGN_MOVING) SendMessageA(target, KYM_GRIDSETLASTCHANGE, 0, MAKELONG(2, 3));
    return nwitest::notifyPanelProc(w, m, wp, lp);
  }));
  send(grid, KYM_GRIDSETCURSEL, 0, cell(0, 1));
  EXPECT_EQ(current(grid), std::make_pair(2, 3));
  EXPECT_EQ(send(grid, KYM_GRIDGETFLAGS) & HGF_REDIRECTED, HGF_REDIRECTED);
}

// A control never ends its application's loop: no WM_QUIT when a grid
// without a parent goes.
TEST_F(GridWindowTest, DestroyingAGridWithoutParentPostsNoQuit) {
  HWND grid = CreateWindowExA(0, "KYWA721Grid", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(grid, nullptr);
  DestroyWindow(grid);
  MSG message;
  bool quit = false;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) quit = quit || message.message == WM_QUIT;
  EXPECT_FALSE(quit);
}

TEST_F(GridWindowTest, PaintsTitlesRowNumbersAndCells) {
  HWND grid = makeFilled(HGO_ROWHEADER, 30);
  HGCellState red{1, 0, 0, RGB(255, 0, 0), RGB(255, 255, 255), 0, 0};
  ASSERT_EQ(HGSetCellState(grid, 1, 2, &red), 1);
  send(grid, KYM_GRIDSETTOPROW, 20, 0);
  send(grid, KYM_GRIDSETTOPROW, 0, 0);
  const std::string path = std::string(KY_BIN_DIR) + "/../grid_window.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(panel, path.c_str())) << path;
  RECT cellRect{};
  HGridRecord* r = HGRecordOf(grid);
  ASSERT_TRUE(HGCellRect(r, 1, 2, &cellRect));
  POINT origin{cellRect.left + 3, cellRect.top + 3};
  MapWindowPoints(grid, panel, &origin, 1);
  EXPECT_EQ(win32::snapshot::windowPixel(panel, origin.x, origin.y), RGB(255, 0, 0)) << "the cell's own background";
  int low = -1, high = -1;
  GetScrollRange(grid, SB_VERT, &low, &high);
  RECT client;
  GetClientRect(grid, &client);
  const int fullRows = (client.bottom - 20) / 20;
  EXPECT_EQ(high, 30 - fullRows) << "rows past the last full page";
  EXPECT_EQ(high, send(grid, KYM_GRIDVSCROLLRANGE));
}

}  // namespace
