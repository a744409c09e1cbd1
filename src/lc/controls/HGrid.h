// HGrid: the panel's grid control (kind 4). The grid window of the control
// library owns rows and cells; HGrid moves one row at a time between the
// function's fields and the grid through its row buffer: a walk reads a
// row into the buffer, the bound cell editors (HGCtrl) exchange their
// column's bytes with fields, and EndAccess writes the buffer back or adds
// it as a new row. The column map (order and widths) lives in the INI file.
//
// Row buffer: the row data (each column's value at the offset the grid
// gives for it), then one 24-byte cell state per column in the grid's
// display order. Column numbers are the order in which columns were
// added; the grid addresses column properties by display position, so
// every property request first asks the column's position.
#pragma once

#include <windows.h>

#include <vector>

#include "KyCtrl.h"

class HGCtrl;

// The access modes generated code gives StartAccess/EndAccess and DDX.
enum AccMode {
  AccNone = 0,
  AccRead = 1,
  AccWrite = 2,
  AccPrepare = 3,
  AccAdd = 4,
  AccDelete = 5,
  AccClear = 6,
  AccClearEntries = 7,
  AccMarkModified = 8,
  AccUnmarkModified = 9,
  AccCurrentRows = 10,
  AccSavedRows = 11,
  AccShowRow = 12,
  AccFocus13 = 13,
  AccFocus14 = 14,
  AccFocus15 = 15,
  AccHoldOn = 16,
  AccHoldOff = 17,
};

class HGrid : public KyCtrl {
 public:
  static constexpr int kKind = 4;
  static constexpr DWORD kFieldMagic = 0xABCD1234;  // of the grid field resource
  static constexpr int kFieldRecordSize = 26;

  HGrid(KyPanel* const pPanel, const KyCreateCtrl* pRecord);
  ~HGrid() override;

  // The grid of a grid window (null when none).
  static HGrid* FromWindow(HWND hWnd);

  void LoadFields(int iResourceId);
  // The same from the bytes of a grid field resource (used by LoadFields).
  void LoadFieldsFrom(const BYTE* pData, DWORD dwSize);
  void StartAccess(AccMode mode);
  void EndAccess(AccMode mode);
  static AccMode GetFieldAccMode(AccMode mode);

  int fGetFirstRecord();
  int fGetNextRecord();
  int fGetFirstSelected();
  int fGetNextSelected();
  int fGetFirstModified();
  int fGetNextModified();
  int iGetRow() const { return m_iCurrentRow; }
  int iGetNextCol() { return m_iNextCol++; }

  // Whether the current column is the first (fFirst) or the last one.
  int fIsColumnAt(int fFirst);

  // --- what the cell editors use ---
  void EnterEditor(int iColumn, HGCtrl* pEditor);
  BYTE* GetRowBuffer() const { return m_pRowBuffer.get(); }
  int GetRowBufferSize() const { return m_iRowBufferSize; }
  int IsInAccess() const { return m_fInAccess; }
  int IsPositioned() const { return m_fPositioned; }
  int GetRowVariant() const { return m_iRowVariant; }
  int GetFieldCount() const { return m_iFieldCount; }
  // The grid's display position of a column (-1 when none).
  int PositionOf(int iColumn) const;
  // The panel control that edits a column (null when none).
  KyCtrl* EditorOfColumn(int iColumn);
  void SetPendingFocus(KyCtrl* pControl) { m_pPendingFocus = pControl; }

  // --- KyCtrl operations ---
  void Repaint() override;
  void SetEnabled(int fEnabled) override;
  void SetProtected(int fProtected) override;
  void SetFont(HFONT hFont) override;
  void SetAuxData(const KyAuxCtrlInfo& aux) override;
  BOOL SetFocus() override;
  BOOL HasFocus() override;
  int MapNotification(int iCode) override;
  void SaveSettings(const char* pszSection, const char* pszKey) override;
  void RestoreSettings(const char* pszSection, const char* pszKey) override;
  int CanStartDragAt(int x, int y) override;
  int HasInnerFocusControl() override { return 1; }
  KyCtrl* GetInnerFocusControl() override;
  void ClearEntries() override;

 private:
  void AddField(const char* pszTitle, unsigned short usFlags, int iWidth, int iHeight, char cDisplayType,
                char cStorageType, int iLength, char cFieldClass, unsigned long ulStyle, const char* pszPicture);
  LRESULT send(UINT uMessage, WPARAM wParam = 0, LPARAM lParam = 0) const;
  void sendHeights();
  int rowCount() const;
  // Reads the current row into the buffer; false when the grid gave none.
  bool readRow();
  void deleteCurrentRow();
  // Positioned and current row after a walk step to iRow (-1: none).
  int standOn(int iRow, bool fSelection);
  // The column offsets and lengths change when columns move.
  void rebindEditors();
  std::string settingsSection(const char* pszKey) const;
  // Moves the columns into the stored order (positions by column).
  void restoreOrder(const std::vector<short>& stored);

  std::vector<HGCtrl*> m_Editors;  // by column number; null until bound
  int m_iNextCol = 0;
  int m_iCurrentRow = -1;
  int m_iRowBufferSize = 0;
  std::unique_ptr<BYTE[]> m_pRowBuffer;
  int m_iFieldCount = 0;
  int m_iRowVariant = 1;
  int m_iHeightA = 0, m_iHeightB = -1;
  int m_iFixedColumns = 0;
  KyCtrl* m_pPendingFocus = nullptr;
  int m_fInAccess = 0;
  int m_fPositioned = 0;
  int m_fSelectionWalk = 0;
};
