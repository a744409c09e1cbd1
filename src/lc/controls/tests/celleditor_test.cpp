// The grid cell editors: their column and cell settings (protection,
// visibility, headings, colours), values bounded by the column and the
// typed form, combo values straight into the grid's cell, the fixed-decimal
// cell's picture and error text, and editing a column by typing into its
// cell, refused input keeping the cell.
#include <gtest/gtest.h>

#include <internal/snapshot.h>

#include <cstdlib>
#include <cstring>

#include "gridfixture.h"
#include "listcontrol.h"

namespace {

using kytest::GridRow;
namespace input = win32::input;

class CellEditor : public kytest::GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    ASSERT_TRUE(makeGrid(kytest::kEveryClassFields, kytest::everyClassEditors(), kytest::kAmountMask,
                         WS_VISIBLE | HGO_INPLACE | HGO_TITLES));
    for (int i = 0; i < 3; ++i) addRow(GridRow::numbered(i));
  }
  HGCtrl* part(int column) const { return dynamic_cast<HGCtrl*>(editors_[static_cast<size_t>(column)]); }
  WORD columnFlags(int column) const { return static_cast<WORD>(send(KYM_GRIDGETFIELDFLAGS, column)); }
  void standOn(int row) {
    ASSERT_TRUE(grid_->fGetFirstRecord());
    for (int i = 0; i < row; ++i) ASSERT_TRUE(grid_->fGetNextRecord());
  }
  void key(UINT vk) {
    input::chord(vk, false, false);
    input::pumpMessages();
  }
};

TEST_F(CellEditor, ProtectingAColumnHidesItsFieldAndMarksNewRows) {
  KyCtrl* name = editors_[0];
  HWND field = name->GetWindowHandle();
  ASSERT_NE(field, nullptr) << "the in-cell field window is the editor's";
  ShowWindow(field, SW_SHOW);
  name->SetProtected(1);
  EXPECT_TRUE(columnFlags(0) & HGC_READONLY);
  EXPECT_FALSE(IsWindowVisible(field));
  EXPECT_EQ(part(0)->GetPendingState().words[HGCtrl::WordProtected], 1u);
  name->SetProtected(0);
  EXPECT_FALSE(columnFlags(0) & HGC_READONLY);
  // A disabled editor is protected whatever it is asked.
  name->SetState(12401);  // hidden and disabled
  name->SetProtected(0);
  EXPECT_TRUE(columnFlags(0) & HGC_READONLY);
  // During a walk only the current row's cell is protected.
  KyCtrl* qty = editors_[1];
  standOn(1);
  qty->SetProtected(1);
  EXPECT_FALSE(columnFlags(1) & HGC_READONLY);
  for (int row = 0; row < 3; ++row) {
    HGCellState state{};
    ASSERT_TRUE(HGGetCellState(window(), 1, row, &state));
    EXPECT_EQ(state.disabled != 0, row == 1) << row;
  }
}

TEST_F(CellEditor, UnchangedSettingsSendNothing) {
  kytest::MessageRecorder recorder(window());
  editors_[2]->SetVisible(0);
  editors_[2]->SetVisible(0);
  EXPECT_EQ(recorder.count(KYM_GRIDSETFIELDFLAGS), 1) << "hiding twice flags once";
  EXPECT_TRUE(columnFlags(2) & HGC_HIDDEN);
  editors_[3]->SetText("Price");
  editors_[3]->SetText("Price");
  EXPECT_EQ(recorder.count(KYM_GRIDSETFIELDTITLE), 1);
  char title[32] = {};
  send(KYM_GRIDGETFIELDTITLE, 3, reinterpret_cast<LPARAM>(title));
  EXPECT_STREQ(title, "Price");
}

// Each kind of editor is its stand-alone class made without a window.
TEST_F(CellEditor, AnUnboundEditorHasNoWindowAndNoRow) {
  open("", "ORDERS", "KYGRDTST");
  struct Case {
    int kind;
    bool (*standsFor)(KyCtrl*);
  };
  const Case cases[] = {
      {grHEdit::kKind, [](KyCtrl* c) { return dynamic_cast<HEdit*>(c) != nullptr; }},
      {grHComb::kKind, [](KyCtrl* c) { return dynamic_cast<HComb*>(c) != nullptr; }},
      {grHButt::kKind, [](KyCtrl* c) { return dynamic_cast<HButt*>(c) != nullptr; }},
      {grHEditFixedDec::kKind, [](KyCtrl* c) { return dynamic_cast<HEditFixedDec*>(c) != nullptr; }},
  };
  int id = 150;
  for (const Case& c : cases) {
    KyCreateCtrl record = kytest::controlRecord(++id, c.kind, 0);
    panel_->CreateControls(&record, 1);
    KyCtrl* editor = panel_->pGetCtrl(id);
    ASSERT_NE(editor, nullptr) << c.kind;
    EXPECT_TRUE(c.standsFor(editor)) << c.kind;
    EXPECT_EQ(editor->GetWindowHandle(), nullptr) << c.kind;
    EXPECT_EQ(editor->GetCurrentRow(), -1) << c.kind;
    EXPECT_EQ(editor->IsGridCell(), 1) << c.kind;
    editor->SetTextColor(RGB(1, 2, 3));  // no grid: nothing happens
    editor->SetVisible(0);
    if (c.kind == grHEditFixedDec::kKind) {  // it exchanges decimals only
      KyFixedDecFld number;
      number.PutText("12.5");
      EXPECT_EQ(editor->DDX(AccRead, number), 0);
      EXPECT_STREQ(number.strGetText(), "12.5");
      continue;
    }
    KyCharFld text("kept");
    EXPECT_EQ(editor->DDX(AccRead, text), 0) << c.kind;
    EXPECT_STREQ(text.GetString(), "kept") << c.kind;
  }
}

TEST_F(CellEditor, ValuesAreBoundedByTheColumnAndTheTypedForm) {
  standOn(0);
  grid_->StartAccess(AccWrite);
  KyCharFld longName("a name much longer than the column holds");
  EXPECT_EQ(editors_[0]->DDX(AccWrite, longName), 1);
  KyByteFld flags;
  flags.SetValue(7);
  EXPECT_EQ(editors_[5]->DDX(AccWrite, flags), 1);
  // A value the column's storage cannot hold is refused: the row keeps 7.
  KyLongFld tooBig;
  tooBig.SetValue(300);
  EXPECT_EQ(editors_[5]->DDX(AccWrite, tooBig), 0);
  grid_->EndAccess(AccWrite);
  EXPECT_EQ(cellText(0, 0), std::string(longName.GetString()).substr(0, 20));
  EXPECT_EQ(cellText(5, 0), "7");
  // A decimal text read into a short buffer is cut there, terminated.
  standOn(2);
  char small[6];
  std::memset(small, 'x', sizeof small);
  EXPECT_EQ(editors_[9]->GetTypedValue(KyTypedValue{KyTypedKind::DecimalText, small, sizeof small}), 1);
  EXPECT_STREQ(small, "23456");
}

TEST_F(CellEditor, AComboValueReachesTheCellAtOnceOnlyOutsideAnAccess) {
  auto* combo = dynamic_cast<grHComb*>(editors_[11]);
  ASSERT_NE(combo, nullptr);
  standOn(1);
  KyCharFld code("NEW");
  EXPECT_EQ(combo->DDX(AccWrite, code), 1);
  EXPECT_EQ(cellText(11, 1), "NEW") << "a walk stands on the row and no access is open";
  grid_->StartAccess(AccWrite);
  KyCharFld other("INSIDE");
  EXPECT_EQ(combo->DDX(AccWrite, other), 1);
  EXPECT_EQ(cellText(11, 1), "NEW") << "inside an access only the row buffer changes";
  grid_->EndAccess(AccWrite);
  EXPECT_EQ(cellText(11, 1), "INSIDE");
}

TEST_F(CellEditor, ComboEntriesGoIntoTheColumnCutToIt) {
  auto* combo = dynamic_cast<grHComb*>(editors_[11]);
  HWND list = combo->GetWindowHandle();
  ASSERT_NE(list, nullptr);
  for (const char* data : {"SHORT", "A CODE LONGER THAN THE COLUMN"})
    SendMessageA(list, KYM_LISTADDITEM, 0, reinterpret_cast<LPARAM>(data));
  standOn(2);
  grid_->StartAccess(AccWrite);
  GridRow row = GridRow::numbered(2);
  exchange(AccWrite, row);
  EXPECT_EQ(combo->SetCurrentEntry(1), 1);
  grid_->EndAccess(AccWrite);
  EXPECT_EQ(cellText(11, 2), "A CODE L") << "the column holds 8 characters";
  standOn(0);
  grid_->StartAccess(AccWrite);
  row = GridRow::numbered(0);
  exchange(AccWrite, row);
  EXPECT_EQ(combo->SetCurrentEntry(0), 1);
  grid_->EndAccess(AccWrite);
  standOn(0);
  EXPECT_EQ(combo->GetCurrentEntry(), 1) << "the row's value is an entry of the list";
  EXPECT_EQ(SendMessageA(list, KYM_LISTGETCURRENT, 0, 0), 0);
  EXPECT_EQ(combo->SetCurrentEntry(5), 0) << "no such entry";
}

TEST_F(CellEditor, FixedDecimalCellsLayTheValueIntoThePicture) {
  struct Case {
    const char* source;  // null: no source at all
    const char* cell;
  };
  const Case cases[] = {
      {"", "0.00"},
      {"-", "0.00"},
      {"1234567890123456789012345678.456", "1,234,567,890,123,456,789,012,345,678.46"},
      {"-42.5", "-42.50"},
      {nullptr, "<Error NULL>"},
  };
  KyCtrl* amount = editors_[9];
  for (const Case& c : cases) {
    standOn(0);
    grid_->StartAccess(AccWrite);
    char source[64] = {};
    if (c.source) std::strcpy(source, c.source);
    EXPECT_EQ(amount->SetTypedValue(KyTypedValue{KyTypedKind::DecimalText, c.source ? source : nullptr, sizeof source}),
              1);
    grid_->EndAccess(AccWrite);
    EXPECT_EQ(cellText(9, 0), c.cell) << (c.source ? c.source : "null");
  }
  // Read back whole: every digit of a 28-digit value.
  standOn(0);
  KyFixedDecFld read;
  read.PutText("0.00");
  grid_->StartAccess(AccWrite);
  KyFixedDecFld written;
  written.PutText("9999999999999999999999999999.99");
  amount->DDX(AccWrite, written);
  grid_->EndAccess(AccWrite);
  standOn(0);
  EXPECT_EQ(amount->DDX(AccRead, read), 1);
  EXPECT_STREQ(toString(read.GetValue()).GetString(), "9999999999999999999999999999.99");
}

TEST_F(CellEditor, FixedDecimalCellNotifications) {
  KyCtrl* amount = editors_[9];
  HWND field = amount->GetWindowHandle();
  ASSERT_NE(field, nullptr);
  send(KYM_GRIDSETCURSEL, 0, MAKELONG(9, 1));
  auto fieldText = [field] {
    char text[64] = {};
    GetWindowTextA(field, text, sizeof text);
    return std::string(text);
  };
  EXPECT_EQ(amount->MapNotification(HEditFixedDec::NotifySetFocus), HEditFixedDec::EventSetFocus);
  EXPECT_EQ(fieldText(), "-2,345,678,901,234,567,890,123,456.71");
  struct Case {
    const char* typed;
    int event;
    const char* shown;
  };
  for (const Case& c : {Case{"12.5", HEditFixedDec::EventChange, "12.5"}, Case{"12a", 0, "-2,345,678,901,234,567,890,123,456.71"},
                        Case{"1.,5", 0, "-2,345,678,901,234,567,890,123,456.71"}}) {
    SetWindowTextA(field, c.typed);
    EXPECT_EQ(amount->MapNotification(HEditFixedDec::NotifyChange), c.event) << c.typed;
    EXPECT_EQ(fieldText(), c.shown) << c.typed;
  }
  // Leaving the cell lays what it holds into the picture.
  HGSetCellString(window(), 9, 1, "7");
  EXPECT_EQ(amount->MapNotification(HEditFixedDec::NotifyKillFocus), HEditFixedDec::EventKillFocus);
  EXPECT_EQ(cellText(9, 1), "7.00");
}

TEST_F(CellEditor, AnErrorTextIsCutToTheColumn) {
  open("", "ORDERS", "KYGRDTST");
  ASSERT_TRUE(makeGrid(kytest::kThreeColumns, {13}));  // a fixed-decimal editor on an 8-character column
  grid_->StartAccess(AccAdd);
  EXPECT_EQ(editors_[0]->SetTypedValue(KyTypedValue{KyTypedKind::DecimalText, nullptr, 0}), 1);
  grid_->EndAccess(AccAdd);
  EXPECT_EQ(cellText(0, 0), "<Error N");
}

TEST_F(CellEditor, TypingIntoACellEditsItsColumn) {
  ShowWindow(panel_->hHandle(), SW_SHOW);
  input::pumpMessages();
  standOn(1);
  send(KYM_GRIDSETCURSEL, 0, MAKELONG(0, 1));
  SetFocus(window());
  input::pumpMessages();
  input::typeText("Zed");
  input::pumpMessages();
  EXPECT_TRUE(editors_[0]->HasFocus() || GetFocus() == editors_[0]->GetWindowHandle());
  key(VK_RETURN);
  // A number column refuses letters and takes the digits.
  send(KYM_GRIDSETCURSEL, 0, MAKELONG(1, 2));
  SetFocus(window());
  input::pumpMessages();
  input::typeText("5x5");
  key(VK_RETURN);
  // Escape gives the cell back what the field was typing over.
  send(KYM_GRIDSETCURSEL, 0, MAKELONG(1, 0));
  SetFocus(window());
  input::pumpMessages();
  input::typeText("99");
  key(VK_ESCAPE);
  key(VK_DOWN);
  std::vector<std::string> names, quantities;
  for (int found = grid_->fGetFirstRecord(); found; found = grid_->fGetNextRecord()) {
    const GridRow row = readCurrent();
    names.push_back(row.name.GetString());
    quantities.push_back(static_cast<const char*>(row.qty.strGetText()));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"row0", "Zed", "row2"}));
  EXPECT_EQ(quantities, (std::vector<std::string>{"-3", "4", "55"}));
}

TEST_F(CellEditor, SpaceInACheckCellTogglesItsColumn) {
  ShowWindow(panel_->hHandle(), SW_SHOW);
  input::pumpMessages();
  for (int row : {0, 1}) {
    send(KYM_GRIDSETCURSEL, 0, MAKELONG(10, row));
    SetFocus(window());
    input::pumpMessages();
    key(VK_SPACE);
    key(VK_RETURN);
  }
  std::vector<int> checks;
  for (int found = grid_->fGetFirstRecord(); found; found = grid_->fGetNextRecord())
    checks.push_back(readCurrent().done.GetValue());
  EXPECT_EQ(checks, (std::vector<int>{1, 0, 0})) << "rows 0 and 1 held 0 and 1";
  auto* check = dynamic_cast<grHButt*>(editors_[10]);
  standOn(0);
  EXPECT_EQ(check->GetCheck(), 1);
}

TEST_F(CellEditor, FocusGoesToTheColumnsCell) {
  ShowWindow(panel_->hHandle(), SW_SHOW);
  input::pumpMessages();
  standOn(2);
  send(KYM_GRIDSETCURSEL, 0, MAKELONG(0, 2));
  editors_[3]->SetFocus();
  input::pumpMessages();
  const auto cell = static_cast<LONG>(send(KYM_GRIDGETCURSEL));
  EXPECT_EQ(static_cast<short>(LOWORD(cell)), 3);
  EXPECT_EQ(static_cast<short>(HIWORD(cell)), 2);
  EXPECT_EQ(grid_->GetInnerFocusControl(), editors_[3]);
}

// A snapshot of the panel: the rows show, a cell coloured during a walk
// shows its colour, and a fixed-decimal edit beside the grid shows a
// negative value in its negative colour. KY_SNAPSHOT_DIR keeps the picture.
TEST_F(CellEditor, TheRowsShowOnThePanel) {
  KyCreateCtrl record = kytest::controlRecord(150, KindFixedDecEdit, kytest::kAmountMask);
  record.y = 260;
  record.width = 160;
  panel_->CreateControls(&record, 1);
  auto* edit = dynamic_cast<HEditFixedDec*>(panel_->pGetCtrl(150));
  ASSERT_NE(edit, nullptr);
  char negative[] = "-98765.4";
  edit->SetTypedValue(KyTypedValue{KyTypedKind::DecimalText, negative, sizeof negative});
  standOn(1);
  editors_[0]->SetBackColor(RGB(0, 200, 0));
  ShowWindow(panel_->hHandle(), SW_SHOW);
  input::pumpMessages();
  const char* kept = std::getenv("KY_SNAPSHOT_DIR");
  const std::string png = (kept ? std::filesystem::path(kept) : dir_.path()) / "gridpanel.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(panel_->hHandle(), png.c_str()));

  RECT cell{};
  ASSERT_TRUE(HGCellRect(HGRecordOf(window()), 0, 1, &cell));
  POINT at{cell.left + 2, cell.bottom - 3};
  MapWindowPoints(window(), nullptr, &at, 1);
  RECT frame{};
  GetWindowRect(panel_->hHandle(), &frame);
  EXPECT_EQ(win32::snapshot::windowPixel(panel_->hHandle(), at.x - frame.left, at.y - frame.top), RGB(0, 200, 0));
  EXPECT_EQ(cellText(0, 1), "row1");
  char shown[32] = {};
  GetWindowTextA(edit->GetWindowHandle(), shown, sizeof shown);
  EXPECT_STREQ(shown, "-98,765.40");
}

}  // namespace
