// What the grid tests share: a panel of the grid test library with a grid
// (id 100) whose columns come from a grid field resource, and one cell
// editor per column (ids 101 on) made by the panel's control loader and
// bound in column order; a row of fields of every class and its exchange
// through the editors.
#pragma once

#include <internal/testinput.h>

#include <string>
#include <vector>

#include "HGCellEditors.h"
#include "HGrid.h"
#include "KyDateFld.h"
#include "KyFixedDecFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "controlfixture.h"
#include "grid.h"
#include "ravlets.h"

namespace kytest {

enum : int { kCellState = 12400, kGridId = 100, kEveryClassFields = 300, kCutFields = 301, kBadMagicFields = 302, kThreeColumns = 303 };
enum : int16_t { kAmountMask = 21100, kRgbMask = 21101, kLongRgbMask = 21102, kTwoColourMask = 21103, kGridTitle = 21012 };

// The editor kinds of the columns of kEveryClassFields.
inline const std::vector<int>& everyClassEditors() {
  static const std::vector<int> kinds = {5, 5, 5, 5, 5, 5, 5, 5, 5, 13, 7, 6};
  return kinds;
}

// One row: a field of every class, in column order.
struct GridRow {
  KyCharFld name;
  KyLongFld qty;
  KyLLongFld big;
  KyDblFld price;
  KySglFld ratio;
  KyByteFld flags;
  KyDateFld day;
  KyTimeFld clock;
  KyTimeStampFld stamp;
  KyFixedDecFld amount;
  KyIntFld done;
  KyCharFld code;

  static GridRow numbered(int i) {
    GridRow row;
    row.name = KyCharFld(("row" + std::to_string(i)).c_str());
    row.qty.SetValue(i * 7 - 3);
    row.big.SetValue(9000000000000LL + i);
    row.price.SetValue(1234.25 + i);
    row.ratio.SetValue(0.5f * static_cast<float>(i));
    row.flags.SetValue(static_cast<BYTE>(200 + i));
    row.day.SetValue(tagODBCDATE{2026, 12, static_cast<SQLUSMALLINT>(i + 1)});
    row.clock.SetValue(tagODBCTIME{13, 45, static_cast<SQLUSMALLINT>(i)});
    row.stamp.SetValue(tagODBCTIMESTAMP{2026, 12, 11, 3, 30, static_cast<SQLUSMALLINT>(i), 0});
    row.amount.PutText(((i % 2 ? "-" : "") + std::string("2345678901234567890123456.7") + std::to_string(i)).c_str());
    row.done.SetValue(static_cast<short>(i % 2));
    row.code = KyCharFld(("C" + std::to_string(i)).c_str());
    return row;
  }
  // Every value as text, for comparing two rows.
  std::vector<std::string> texts() const {
    std::vector<std::string> all;
    for (const KyRTType* field : std::initializer_list<const KyRTType*>{
             &name, &qty, &big, &price, &ratio, &flags, &day, &clock, &stamp, &done, &code})
      all.push_back(static_cast<const char*>(field->strGetText()));
    // Value equality: the scale of the reading field is its own.
    all.push_back(static_cast<const char*>(toString(amount.GetValue())));
    return all;
  }
};

class GridFixture : public PanelFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RavletsInit("KYWA721"));
    open("", "ORDERS", "KYGRDTST");
  }
  // A grid with the columns of the field resource and editors of the kinds.
  HGrid* makeGrid(int iFields, const std::vector<int>& editorKinds, int16_t mask = kAmountMask,
                  DWORD style = WS_VISIBLE) {
    std::vector<KyCreateCtrl> records;
    KyCreateCtrl grid = controlRecord(kGridId, HGrid::kKind, 0, 0, style);
    grid.width = 600;
    grid.height = 240;
    grid.borderStyle = 10;  // row height in dialog units
    grid.dropRows = -1;
    grid.nameId = kGridTitle;
    records.push_back(grid);
    for (size_t i = 0; i < editorKinds.size(); ++i) {
      const int kind = editorKinds[i];
      records.push_back(controlRecord(kGridId + 1 + static_cast<int>(i), kind, kind == 13 ? mask : 0));
    }
    panel_->CreateControls(records.data(), static_cast<int>(records.size()));
    grid_ = dynamic_cast<HGrid*>(panel_->pGetCtrl(kGridId));
    EXPECT_NE(grid_, nullptr);
    if (!grid_) return nullptr;
    grid_->LoadFields(iFields);
    editors_.clear();
    for (size_t i = 0; i < editorKinds.size(); ++i)
      editors_.push_back(panel_->pBindControl(kGridId + 1 + static_cast<int>(i), kCellState, grid_));
    return grid_;
  }
  HWND window() const { return grid_->GetWindowHandle(); }
  LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageA(window(), message, wParam, lParam);
  }
  int rows() const { return static_cast<int>(send(KYM_GRIDROWCOUNT)); }
  std::string cellText(int column, int row) const {
    char text[256] = {};
    HGGetCellText(window(), column, row, text, sizeof text);
    return text;
  }
  // Every editor exchanges its field of the row.
  void exchange(AccMode mode, GridRow& row) {
    const AccMode m = HGrid::GetFieldAccMode(mode);
    int column = 0;
    auto next = [&](auto& field) { return editors_[column++]->DDX(m, field); };
    for (int result : {next(row.name), next(row.qty), next(row.big), next(row.price), next(row.ratio),
                       next(row.flags), next(row.day), next(row.clock), next(row.stamp), next(row.amount),
                       next(row.done), next(row.code)})
      EXPECT_EQ(result, 1) << "column " << column;
  }
  void addRow(GridRow row) {
    grid_->StartAccess(AccAdd);
    exchange(AccAdd, row);
    grid_->EndAccess(AccAdd);
  }
  GridRow readCurrent() {
    GridRow row;
    exchange(AccRead, row);
    return row;
  }

  HGrid* grid_ = nullptr;
  std::vector<KyCtrl*> editors_;
};

// Records the messages a window receives (by number), passing them on.
class MessageRecorder {
 public:
  explicit MessageRecorder(HWND hWnd) : hWnd_(hWnd) {
    SetPropA(hWnd_, "recorder", this);
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageRecorder::proc)));
  }
  ~MessageRecorder() {
    SetWindowLongPtrA(hWnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    RemovePropA(hWnd_, "recorder");
  }
  int count(UINT message) const {
    int n = 0;
    for (UINT m : seen_) n += m == message;
    return n;
  }

 private:
  static LRESULT CALLBACK proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<MessageRecorder*>(GetPropA(hWnd, "recorder"));
    self->seen_.push_back(message);
    return CallWindowProcA(self->previous_, hWnd, message, wParam, lParam);
  }
  HWND hWnd_;
  WNDPROC previous_ = nullptr;
  std::vector<UINT> seen_;
};

}  // namespace kytest
