// The grid cell editors: the panel controls that stand for one column of a
// grid each (kinds 5, 6, 7 and 13), each over its stand-alone class (HEdit,
// HComb, HButt, HEditFixedDec) made without a window of its own. Generated code exchanges a column's
// value with a field through DDX as with any control; the editor reads and
// writes the grid's row buffer instead of a window, and its state setters
// become column or cell settings (HGCtrl).
//
// Every value crossing the row buffer is bounded by the smaller of the
// column and the caller's typed form, and converted between the column's
// storage (text, int32, double ...) and the typed form the exchange uses.
// Without a row buffer (a grid without fields) every value operation fails.
#pragma once

#include <utility>
#include <vector>

#include "HButt.h"
#include "HComb.h"
#include "HEdit.h"
#include "HEditFixedDec.h"
#include "HGCtrl.h"
#include "HGrid.h"
#include "KyCtrl.h"
#include "KyPanel.h"

// The operations every cell editor answers through its column.
template <class Base>
class HGCell : public Base, public HGCtrl {
 public:
  template <class... Args>
  explicit HGCell(Args&&... args) : Base(std::forward<Args>(args)...) {}

  void Repaint() override { RepaintColumn(); }
  void SetVisible(int fVisible) override { ShowColumn(fVisible); }
  void SetProtected(int fProtected) override {
    ProtectColumn(fProtected, (this->GetStateFlags() & KyStateWin::FlagEnabled) != 0);
  }
  void SetText(const char* pszText) override { SetHeading(pszText); }
  // A state without a colour gives CLR_INVALID: the cell's own colour.
  void SetTextColor(COLORREF color) override {
    SetStateWord(WordTextColor, color == CLR_INVALID ? HGCellStateRecord().words[WordTextColor] : color);
  }
  void SetBackColor(COLORREF color) override {
    SetStateWord(WordBackColor, color == CLR_INVALID ? HGCellStateRecord().words[WordBackColor] : color);
  }
  // The grid keeps a font as its 32-bit handle value.
  void SetFont(HFONT hFont) override {
    SetStateWord(WordFont, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hFont)));
  }
  void SetSize(int cx, int cy) override { SetColumnWidth(cx); }
  int IsGridCell() override { return 1; }
  int GetCurrentRow() override { return GetGrid() ? GetGrid()->iGetRow() : -1; }
  HWND GetWindowHandle() override { return hGetHandle(); }
  void BindToGrid(KyCtrl* pGrid) override { DoBind(dynamic_cast<HGrid*>(pGrid)); }
  BOOL SetFocus() override {
    FocusCell();
    return hGetHandle() != nullptr;
  }
  BOOL HasFocus() override { return HasCellFocus(); }

 protected:
  HWND PanelFocusWindow() override {
    KyPanel* pPanel = this->GetPanel();
    return pPanel ? pPanel->GetFocusWindow() : nullptr;
  }
};

// The value operations of an editor whose column holds text or typed
// bytes of the column's length, over the stand-alone class it stands for.
template <class Base>
class HGColumnEditor : public HGCell<Base> {
 public:
  using HGCell<Base>::HGCell;
  int GetTypedValue(const KyTypedValue& value) override;
  int SetTypedValue(const KyTypedValue& value) override;
  int GetTextValue(KyCharFld& text) override;
  int SetTextValue(const char* pszText) override;

 protected:
  // Where a value is written (the column in the row buffer; null without
  // one), and what follows once it is: the combo box sends values straight
  // to the grid's cell from a scratch buffer.
  virtual BYTE* writeTarget(std::vector<BYTE>& scratch);
  virtual int commit(const BYTE* bytes);
};

// Text or typed bytes of the column's length.
class grHEdit : public HGColumnEditor<HEdit> {
 public:
  static constexpr int kKind = 5;
  grHEdit(KyPanel* const pPanel, const KyCreateCtrl* pRecord);
  // Puts the grid's picture of the column on the in-cell edit.
  void ApplyColumnPicture() override;
};

// The data (code) of the chosen list entry, as text of the column's
// length. Outside an access while a walk stands on a row, values go
// straight to the grid's cell.
class grHComb : public HGColumnEditor<HComb> {
 public:
  static constexpr int kKind = 6;
  grHComb(KyPanel* const pPanel, const KyCreateCtrl* pRecord);
  // The row's value shown: the in-cell list selects the entry with it.
  int GetCurrentEntry();
  // The data of list entry n stored as the column's value.
  int SetCurrentEntry(int iEntry);

 protected:
  BYTE* writeTarget(std::vector<BYTE>& scratch) override;
  int commit(const BYTE* bytes) override;

 private:
  // Outside an access while a walk stands on a row.
  bool straightToCell() const;
};

// A 32-bit integer: the check state.
class grHButt : public HGCell<HButt> {
 public:
  static constexpr int kKind = 7;
  grHButt(KyPanel* const pPanel, const KyCreateCtrl* pRecord);
  int GetCheck();
  int SetCheck(int iCheck);
  int GetTypedValue(const KyTypedValue& value) override;
  int SetTypedValue(const KyTypedValue& value) override;
  int GetTextValue(KyCharFld& text) override;
  int SetTextValue(const char* pszText) override;
};

// The value as text laid into the editor's picture, in the user's
// separators; a source that is not there stores "<Error NULL>".
class grHEditFixedDec : public HGCell<HEditFixedDec> {
 public:
  static constexpr int kKind = 13;
  grHEditFixedDec(KyPanel* const pPanel, const KyCreateCtrl* pRecord);
  int GetTypedValue(const KyTypedValue& value) override;
  int SetTypedValue(const KyTypedValue& value) override;
  // Entering the cell shows its value laid into the picture, typing is
  // checked (a refused text shows the last good one), leaving the cell lays
  // the cell's text into the picture again.
  int MapNotification(int iCode) override;

 private:
  bool currentCell(int& row, std::string& text);
  void showInCell(const std::string& laid);
};
