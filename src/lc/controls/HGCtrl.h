// HGCtrl: the part of a grid cell editor that binds it to one column of a
// grid. It knows where the column's value lies in the grid's row buffer
// and turns the state operations (colours, font, visibility, protection,
// width, heading) into column or cell settings of the grid window.
//
// Cell state records: outside a row walk a colour, font or protection goes
// into the pending record, which every row added afterwards takes; during
// a walk it goes into the current-row record and at once into that one
// cell of the grid.
#pragma once

#include <windows.h>

#include <cstdint>

class HGrid;

// A cell's state as the grid keeps it: six little-endian 32-bit words
// (look on, marks, background, text colour, font, protected). The grid
// paints the colours of a cell whose look is on as they stand, so a record
// starts with the system's window colours (0 would paint black on black).
struct HGCellStateRecord {
  static constexpr uint32_t kSystemColor = 0x80000000u;
  uint32_t words[6] = {1, 0, kSystemColor | COLOR_WINDOW, kSystemColor | COLOR_WINDOWTEXT, 0, 0};
};
static_assert(sizeof(HGCellStateRecord) == 24, "the grid's cell state layout");

class HGCtrl {
 public:
  enum StateWord { WordBackColor = 2, WordTextColor = 3, WordFont = 4, WordProtected = 5 };

  HGCtrl() = default;
  virtual ~HGCtrl() = default;
  HGCtrl(const HGCtrl&) = delete;
  HGCtrl& operator=(const HGCtrl&) = delete;

  // Takes the next column of the grid and its place in the row buffer.
  void DoBind(HGrid* pGrid);
  // The offset and length again (the grid moved its columns).
  void Rebind();
  // The column's in-cell field window; null when unbound or windowless.
  HWND hGetHandle() const;

  // --- virtual operations, in slot order ---
  virtual void FocusCell();
  virtual BOOL HasCellFocus();
  virtual void SetColumnWidth(int iWidth);
  virtual void ShowColumn(int fVisible);
  virtual void ProtectColumn(int fProtect, int fEnabled);
  virtual void SetHeading(const char* pszText);

  // A colour or font word by the walk rule above.
  void SetStateWord(StateWord word, uint32_t value);
  void RepaintColumn();

  int GetColumn() const { return m_iColumn; }
  HGrid* GetGrid() const { return m_pGrid; }
  int GetValueOffset() const { return m_iOffset; }
  int GetValueLength() const { return m_iLength; }
  // The grid's storage letter of the column ('s' text, 'd' double ...).
  char GetStorage() const { return m_cStorage; }
  const HGCellStateRecord& GetPendingState() const { return m_Pending; }
  const HGCellStateRecord& GetRowState() const { return m_RowState; }
  // The column's bytes in the row buffer; null without a buffer or when
  // the column does not lie inside it.
  BYTE* ValueBytes() const;
  // The grid window (null when unbound).
  HWND GridWindow() const;

 protected:
  // The panel whose focus records the editor reads.
  virtual HWND PanelFocusWindow() { return nullptr; }
  // The grid's property message for this column, addressed by position.
  LRESULT columnMessage(UINT uMessage, LPARAM lParam = 0) const;

 private:
  // Sets one word of the current row's cell, the cell's other words kept.
  void applyRowState(StateWord word);

  int m_iColumn = -1;
  HGrid* m_pGrid = nullptr;
  int m_iOffset = 0;
  int m_iLength = 0;
  char m_cStorage = 's';
  HGCellStateRecord m_Pending;
  HGCellStateRecord m_RowState;
};
