// CSplitterWnd: a window that lays out panes (child windows with the ids
// IdFromRowCol gives) in rows and columns with bars between them. Each row
// and column has an ideal and a minimum size; the last row and column take
// what is left. A person drags a bar to change the ideal size before it.
// Only static splitters are made here (CreateStatic).
#pragma once

#include "afxres.h"
#include "afxwin.h"

#include <vector>

class CSplitterWnd : public CWnd {
  DECLARE_DYNAMIC(CSplitterWnd)
 public:
  CSplitterWnd() = default;

  // A splitter of nRows by nCols panes (at most 16 each) in pParent; FALSE
  // with bad counts or when the window cannot be made.
  virtual BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                            UINT nID = AFX_IDW_PANE_FIRST);

  int GetRowCount() const { return m_nRows; }
  int GetColumnCount() const { return m_nCols; }
  int GetMaxRowCount() const { return m_nMaxRows; }
  int GetMaxColumnCount() const { return m_nMaxCols; }
  // Current and minimum size of a row (column); nothing for a bad index.
  void GetRowInfo(int row, int& cyCur, int& cyMin) const;
  void SetRowInfo(int row, int cyIdeal, int cyMin);
  void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
  void SetColumnInfo(int col, int cxIdeal, int cxMin);
  // The ideal size a row (column) asks for.
  int GetRowIdeal(int row) const;
  int GetColumnIdeal(int col) const;

  // The pane window of a cell (null when there is none).
  CWnd* GetPane(int row, int col) const;
  int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
  BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol) const;

  // Places the panes by the ideal sizes in the client.
  virtual void RecalcLayout();

  // Width of the bar between two panes, pixels.
  static constexpr int kSplitterGap = 6;

 protected:
  struct CRowColInfo {
    int nMinSize = 0;
    int nIdealSize = 0;
    int nCurSize = 0;
  };
  int m_nMaxRows = 1, m_nMaxCols = 1;
  int m_nRows = 0, m_nCols = 0;
  std::vector<CRowColInfo> m_pRowInfo;  // m_nMaxRows entries
  std::vector<CRowColInfo> m_pColInfo;  // m_nMaxCols entries
  BOOL m_bTracking = FALSE;
  int m_trackRow = -1, m_trackCol = -1;  // the bar being dragged: after this row or column
  int m_trackOrigin = 0;                 // the point less the ideal size, client pixels

  // The bar under the point: the row or column before it, -1 for none.
  int RowBarAt(int y) const;
  int ColumnBarAt(int x) const;
  // Sizes of the visible rows or columns in `total` pixels.
  static void LayoutRowCol(std::vector<CRowColInfo>& info, int count, int total);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override {}

 private:
  void paintBars(HDC hdc);
  int rowStart(int row) const;
  int columnStart(int col) const;
};
