// The grid control on a panel: columns loaded from grid field resources,
// rows of every field class written and read through the access modes,
// walks over all, selected and modified rows (deleting on the way), the
// column map saved and restored, and the notifications' events.
#include <gtest/gtest.h>

#include <set>

#include "KyProfile.h"
#include "gridfixture.h"

namespace {

using kytest::GridRow;

class GridControl : public kytest::GridFixture {
 protected:
  void fill(int count) {
    ASSERT_TRUE(makeGrid(kytest::kEveryClassFields, kytest::everyClassEditors()));
    for (int i = 0; i < count; ++i) addRow(GridRow::numbered(i));
  }
};

TEST_F(GridControl, LoadsOneColumnPerRecordOfTheResource) {
  struct Case {
    int resource;
    int columns;
  };
  // 301 claims 50 records and holds 2; 302 has a wrong magic.
  for (const Case& c : {Case{kytest::kEveryClassFields, 12}, Case{kytest::kCutFields, 2}, Case{kytest::kBadMagicFields, 0}}) {
    open("", "ORDERS", "KYGRDTST");
    ASSERT_TRUE(makeGrid(c.resource, {}));
    EXPECT_EQ(send(KYM_GRIDCOLUMNCOUNT), c.columns) << c.resource;
    EXPECT_EQ(grid_->GetFieldCount(), c.columns);
  }
  // The row buffer holds the row's values and a cell state per column.
  EXPECT_EQ(grid_->GetRowBuffer(), nullptr);
}

TEST_F(GridControl, RowsOfEveryFieldClassGoInAndComeBack) {
  fill(3);
  ASSERT_EQ(rows(), 3);
  EXPECT_EQ(grid_->iGetRow(), 2) << "an added row is the current row";
  EXPECT_EQ(cellText(0, 1), "row1");
  EXPECT_EQ(cellText(9, 0), "2,345,678,901,234,567,890,123,456.70") << "laid into the editor's picture";
  int row = 0;
  for (int found = grid_->fGetFirstRecord(); found; found = grid_->fGetNextRecord(), ++row) {
    EXPECT_EQ(grid_->iGetRow(), row);
    EXPECT_EQ(readCurrent().texts(), GridRow::numbered(row).texts()) << "row " << row;
  }
  EXPECT_EQ(row, 3);
  EXPECT_EQ(grid_->iGetRow(), -1);
  EXPECT_FALSE(grid_->IsPositioned());
}

TEST_F(GridControl, WriteModeChangesOnlyTheRowAWalkStandsOn) {
  fill(3);
  ASSERT_TRUE(grid_->fGetFirstRecord());
  ASSERT_TRUE(grid_->fGetNextRecord());
  GridRow changed = GridRow::numbered(7);
  grid_->StartAccess(AccWrite);
  exchange(AccWrite, changed);
  grid_->EndAccess(AccWrite);
  // Off the rows, a write lands nowhere.
  while (grid_->fGetNextRecord()) {
  }
  GridRow lost = GridRow::numbered(9);
  grid_->StartAccess(AccWrite);
  exchange(AccWrite, lost);
  grid_->EndAccess(AccWrite);

  const std::vector<int> expected = {0, 7, 2};
  int row = 0;
  for (int found = grid_->fGetFirstRecord(); found; found = grid_->fGetNextRecord(), ++row)
    EXPECT_EQ(readCurrent().texts(), GridRow::numbered(expected[static_cast<size_t>(row)]).texts()) << row;
}

TEST_F(GridControl, AnEmptyAddAppendsZerosAndTheEditorsPendingStates) {
  ASSERT_TRUE(makeGrid(kytest::kEveryClassFields, {5, 5}));  // columns 2 on have no editor
  editors_[1]->SetTextColor(RGB(0, 0, 255));
  grid_->StartAccess(AccAdd);
  grid_->EndAccess(AccAdd);
  grid_->StartAccess(AccAdd);
  grid_->EndAccess(AccAdd);
  ASSERT_EQ(rows(), 2);
  EXPECT_EQ(grid_->iGetRow(), 1);
  for (int row = 0; row < 2; ++row) {
    HGCellState state{};
    ASSERT_TRUE(HGGetCellState(window(), 1, row, &state));
    EXPECT_EQ(state.text, RGB(0, 0, 255)) << "every later row takes the colour";
    ASSERT_TRUE(HGGetCellState(window(), 5, row, &state));
    EXPECT_EQ(state.lookOn, 1u) << "a column without an editor takes the initial state";
    EXPECT_EQ(state.text, HGCellStateRecord().words[HGCtrl::WordTextColor]);
  }
  EXPECT_EQ(cellText(1, 0), "0");
  // Modes after an add stand on the added row.
  grid_->StartAccess(AccMarkModified);
  grid_->EndAccess(AccMarkModified);
  EXPECT_EQ(send(KYM_GRIDGETROWFLAGS, 1) & HGR_MODIFIED, HGR_MODIFIED);
}

TEST_F(GridControl, AColourSetDuringAWalkChangesOnlyThatCell) {
  fill(3);
  ASSERT_TRUE(grid_->fGetFirstRecord());
  ASSERT_TRUE(grid_->fGetNextRecord());
  editors_[0]->SetTextColor(RGB(255, 0, 0));
  editors_[0]->SetBackColor(RGB(0, 255, 0));
  for (int row = 0; row < 3; ++row) {
    HGCellState state{};
    ASSERT_TRUE(HGGetCellState(window(), 0, row, &state));
    EXPECT_EQ(state.text == RGB(255, 0, 0), row == 1) << row;
    EXPECT_EQ(state.background == RGB(0, 255, 0), row == 1) << row;
  }
  EXPECT_EQ(cellText(0, 1), "row1") << "the cell keeps its value";
}

TEST_F(GridControl, DeletingDuringAWalkVisitsEveryRemainingRowOnce) {
  fill(6);
  std::vector<std::string> visited;
  for (int found = grid_->fGetFirstRecord(); found; found = grid_->fGetNextRecord()) {
    const GridRow row = readCurrent();
    visited.push_back(row.name.GetString());
    if (row.qty.GetValue() % 2 == 0) {  // rows 1, 3 and 5 (qty 4, 18, 32)
      grid_->StartAccess(AccDelete);
      grid_->EndAccess(AccDelete);
    }
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"row0", "row1", "row2", "row3", "row4", "row5"}));
  EXPECT_EQ(rows(), 3);
  EXPECT_EQ(cellText(0, 1), "row2");
}

TEST_F(GridControl, SelectionAndModifiedWalksVisitTheirRows) {
  fill(6);
  for (int row : {1, 2, 4}) send(KYM_GRIDSELECTROW, static_cast<WPARAM>(row));
  std::vector<int> selected;
  for (int found = grid_->fGetFirstSelected(); found; found = grid_->fGetNextSelected()) {
    selected.push_back(grid_->iGetRow());
    if (readCurrent().name == KyCharFld("row1")) {  // deleting a selected row keeps the walk going
      grid_->StartAccess(AccDelete);
      grid_->EndAccess(AccDelete);
    }
  }
  EXPECT_EQ(selected, (std::vector<int>{1, 1, 3})) << "rows 2 and 4 moved up one";
  // The modified marks are set and cleared through the access modes.
  for (int found = grid_->fGetFirstRecord(); found; found = grid_->fGetNextRecord()) {
    const AccMode mark = grid_->iGetRow() % 2 ? AccMarkModified : AccUnmarkModified;
    grid_->StartAccess(mark);
    grid_->EndAccess(mark);
  }
  std::vector<std::string> modified;
  for (int found = grid_->fGetFirstModified(); found; found = grid_->fGetNextModified())
    modified.push_back(readCurrent().name.GetString());
  EXPECT_EQ(modified, (std::vector<std::string>{"row2", "row4"}));
}

TEST_F(GridControl, AccessModesAndTheirFieldModes) {
  struct Case {
    AccMode mode;
    AccMode field;
  };
  for (const Case& c : {Case{AccRead, AccRead}, Case{AccWrite, AccWrite}, Case{AccAdd, AccWrite},
                        Case{AccPrepare, AccPrepare}, Case{AccDelete, AccNone}, Case{AccShowRow, AccNone}})
    EXPECT_EQ(HGrid::GetFieldAccMode(c.mode), c.field) << c.mode;
  fill(40);
  for (AccMode mode : {AccFocus13, AccFocus14, AccFocus15}) {
    grid_->StartAccess(mode);
    EXPECT_TRUE(grid_->IsInAccess());
    grid_->EndAccess(mode);
    EXPECT_FALSE(grid_->IsInAccess());
  }
  EXPECT_EQ(rows(), 40);
  // Mode 12 brings the current row into view and makes it the grid's.
  grid_->StartAccess(AccShowRow);
  EXPECT_EQ(HIWORD(send(KYM_GRIDGETCURSEL)), 39);
  EXPECT_GT(send(KYM_GRIDGETTOPROW), 0);
  grid_->StartAccess(AccSavedRows);
  EXPECT_EQ(grid_->GetRowVariant(), 0);
  grid_->StartAccess(AccCurrentRows);
  EXPECT_EQ(grid_->GetRowVariant(), 1);
  grid_->StartAccess(AccClear);
  EXPECT_EQ(rows(), 0);
}

TEST_F(GridControl, NotificationsBecomeEvents) {
  ASSERT_TRUE(makeGrid(kytest::kThreeColumns, {}));
  const std::pair<int, int> table[] = {{1, 4}, {2, 5}, {3, 13}, {4, 2}, {16, 8}, {18, 11}, {19, 12}, {24, 13},
                                       {5, 0}, {17, 0}, {0x10000 | 19, 12}};
  for (const auto& [code, event] : table) EXPECT_EQ(grid_->MapNotification(code), event) << code;
}

TEST_F(GridControl, ControlOperationsReachTheGridWindow) {
  fill(2);
  const int heading = static_cast<int>(send(KYM_GRIDGETHEADERHEIGHT));
  struct Drag {
    int y;
    int starts;
  };
  for (const Drag& d : {Drag{heading - 1, 0}, Drag{heading, 0}, Drag{heading + 1, 1}})
    EXPECT_EQ(grid_->CanStartDragAt(0, d.y), d.starts) << d.y;
  KyAuxCtrlInfo aux{};
  aux.word20 = 1;
  grid_->SetAuxData(aux);
  EXPECT_TRUE(HGRecordOf(window())->autoSort) << "a non-zero word 20 turns automatic sorting on";
  // A pending focus editor takes the next focus request once.
  ShowWindow(panel_->hHandle(), SW_SHOW);
  grid_->SetPendingFocus(editors_[2]);
  grid_->SetFocus();
  EXPECT_EQ(static_cast<short>(LOWORD(send(KYM_GRIDGETCURSEL))), 2);
  grid_->SetFocus();
  EXPECT_TRUE(grid_->HasFocus());
  grid_->SetProtected(1);
  for (int column = 0; column < 12; ++column) EXPECT_TRUE(send(KYM_GRIDGETFIELDFLAGS, column) & HGC_READONLY) << column;
  grid_->ClearEntries();
  EXPECT_EQ(rows(), 0);
}

TEST_F(GridControl, EditorsOfAGridWithoutFieldsFail) {
  ASSERT_TRUE(makeGrid(kytest::kBadMagicFields, {5, 7}));
  KyCharFld text("kept");
  KyIntFld check;
  check.SetValue(3);
  for (AccMode mode : {AccRead, AccWrite}) {
    EXPECT_EQ(editors_[0]->DDX(mode, text), 0);
    EXPECT_EQ(editors_[1]->DDX(mode, check), 0);
  }
  EXPECT_STREQ(text.GetString(), "kept");
  EXPECT_EQ(check.GetValue(), 3);
}

// --- the column map ------------------------------------------------------------------

class ColumnMap : public GridControl {
 protected:
  static constexpr char kSection[] = "ORDERS:Grid:Grid Settings";
  void SetUp() override {
    GridControl::SetUp();
    ASSERT_TRUE(makeGrid(kytest::kThreeColumns, {5, 5, 5}));
    send(KYM_GRIDSETOPTION, 1, HGO_MOVECOLUMNS);
  }
  std::vector<short> order() const {
    std::vector<short> all(3);
    send(KYM_GRIDGETORDER, 0, reinterpret_cast<LPARAM>(all.data()));
    return all;
  }
  int width(int column) const {
    return static_cast<int>(send(KYM_GRIDGETFIELDWIDTH, static_cast<WPARAM>(send(KYM_GRIDPOSOFFIELD, column))));
  }
  void store(const char* text) { KyWriteProfileString(kSection, "Column Map", text); }
};

TEST_F(ColumnMap, SavedAsColumnAndWidthPerPosition) {
  send(KYM_GRIDMOVEFIELD, 2, 1);
  for (auto [column, w] : {std::pair{0, 80}, {1, 120}, {2, 40}})
    send(KYM_GRIDSETFIELDWIDTH, static_cast<WPARAM>(send(KYM_GRIDPOSOFFIELD, column)), w);
  grid_->SaveSettings(nullptr, "ORDERS");
  // The profile reader trims the blank at the end.
  EXPECT_STREQ(KyGetProfileString(kSection, "Column Map", "").GetString(), "0,80; 2,40; 1,120;");
}

TEST_F(ColumnMap, RestoredOnlyWhenItFitsTheColumns) {
  struct Case {
    const char* stored;
    std::vector<short> order;
    std::vector<int> widths;  // by column
  };
  const int w0 = width(0), w1 = width(1), w2 = width(2);
  const Case cases[] = {
      {"2,50; 0,60; 1,70; ", {2, 0, 1}, {60, 70, 50}},
      {"1,2; 2,1; 0,90; ", {1, 2, 0}, {90, std::max(2, w1), 2}},  // 2 keeps a wider width; below 2 is 2
      {"0,50; 1,50; ", {0, 1, 2}, {w0, w1, w2}},                   // fewer columns
      {"0,50; 1,50; 2,50; 3,50; ", {0, 1, 2}, {w0, w1, w2}},       // more columns
      {"0,50; 0,50; 1,50; ", {0, 1, 2}, {w0, w1, w2}},             // a column twice
      {"2,50; 0,60; 1,", {0, 1, 2}, {w0, w1, w2}},                  // a width missing
      {"", {0, 1, 2}, {w0, w1, w2}},
  };
  for (const Case& c : cases) {
    open("", "ORDERS", "KYGRDTST");
    ASSERT_TRUE(makeGrid(kytest::kThreeColumns, {5, 5, 5}));
    send(KYM_GRIDSETOPTION, 1, HGO_MOVECOLUMNS);
    store(c.stored);
    grid_->RestoreSettings(nullptr, "ORDERS");
    EXPECT_EQ(order(), c.order) << c.stored;
    EXPECT_EQ((std::vector<int>{width(0), width(1), width(2)}), c.widths) << c.stored;
  }
}

TEST_F(ColumnMap, ColumnsTheUserMovedKeepTheirOrder) {
  send(KYM_GRIDMOVEFIELD, 0, 2);
  store("2,50; 0,60; 1,70; ");
  grid_->RestoreSettings(nullptr, "ORDERS");
  EXPECT_EQ(order(), (std::vector<short>{1, 2, 0}));
  EXPECT_EQ((std::vector<int>{width(0), width(1), width(2)}), (std::vector<int>{60, 70, 50}));
}

TEST_F(ColumnMap, EditorsFollowTheirColumnsWhenTheOrderIsRestored) {
  for (const char* name : {"a", "b", "c"}) {
    KyCharFld first(name), second((std::string(name) + name).c_str()), third("z");
    grid_->StartAccess(AccAdd);
    editors_[0]->DDX(AccWrite, first);
    editors_[1]->DDX(AccWrite, second);
    editors_[2]->DDX(AccWrite, third);
    grid_->EndAccess(AccAdd);
  }
  store("2,50; 0,60; 1,70; ");
  grid_->RestoreSettings(nullptr, "ORDERS");
  ASSERT_EQ(order(), (std::vector<short>{2, 0, 1}));
  ASSERT_TRUE(grid_->fGetFirstRecord());
  ASSERT_TRUE(grid_->fGetNextRecord());
  KyCharFld first, second;
  editors_[0]->DDX(AccRead, first);
  editors_[1]->DDX(AccRead, second);
  EXPECT_STREQ(first.GetString(), "b");
  EXPECT_STREQ(second.GetString(), "bb");
  EXPECT_EQ(cellText(1, 1), "bb");
}

}  // namespace
