// CSplitterWnd: layout of panes by ideal sizes, the bars between them
// painted in the button face, and bars dragged with the mouse.
#include "afxstate.h"

#include <afxres.h>
#include <afxsplitter.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

namespace {

constexpr int kMaxPanes = 16;

LPCSTR splitterClass() {
  static LPCSTR name = AfxRegisterWndClass(CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  return name;
}

}  // namespace

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID) {
  if (!pParentWnd || nRows < 1 || nCols < 1 || nRows > kMaxPanes || nCols > kMaxPanes) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  m_nMaxRows = nRows;
  m_nMaxCols = nCols;
  m_nRows = m_nCols = 0;  // panes come as they are given sizes
  m_pRowInfo.assign(static_cast<size_t>(nRows), CRowColInfo{});
  m_pColInfo.assign(static_cast<size_t>(nCols), CRowColInfo{});
  RECT rc{};
  ::GetClientRect(pParentWnd->m_hWnd, &rc);
  return CreateEx(0, splitterClass(), "", dwStyle | WS_CHILD | WS_CLIPCHILDREN, 0, 0, rc.right, rc.bottom,
                  pParentWnd->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const {
  if (row < 0 || row >= m_nMaxRows) return;
  cyCur = m_pRowInfo[static_cast<size_t>(row)].nCurSize;
  cyMin = m_pRowInfo[static_cast<size_t>(row)].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin) {
  if (row < 0 || row >= m_nMaxRows || cyIdeal < 0 || cyMin < 0) return;
  m_pRowInfo[static_cast<size_t>(row)].nIdealSize = cyIdeal;
  m_pRowInfo[static_cast<size_t>(row)].nMinSize = cyMin;
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const {
  if (col < 0 || col >= m_nMaxCols) return;
  cxCur = m_pColInfo[static_cast<size_t>(col)].nCurSize;
  cxMin = m_pColInfo[static_cast<size_t>(col)].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin) {
  if (col < 0 || col >= m_nMaxCols || cxIdeal < 0 || cxMin < 0) return;
  m_pColInfo[static_cast<size_t>(col)].nIdealSize = cxIdeal;
  m_pColInfo[static_cast<size_t>(col)].nMinSize = cxMin;
}

int CSplitterWnd::GetRowIdeal(int row) const {
  return row >= 0 && row < m_nMaxRows ? m_pRowInfo[static_cast<size_t>(row)].nIdealSize : 0;
}

int CSplitterWnd::GetColumnIdeal(int col) const {
  return col >= 0 && col < m_nMaxCols ? m_pColInfo[static_cast<size_t>(col)].nIdealSize : 0;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const {
  if (!m_hWnd || row < 0 || col < 0 || row >= m_nRows || col >= m_nCols) return nullptr;
  HWND hPane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
  return hPane ? CWnd::FromHandle(hPane) : nullptr;
}

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol) const {
  if (!pWnd || !pWnd->m_hWnd || ::GetParent(pWnd->m_hWnd) != m_hWnd) return FALSE;
  const int id = ::GetDlgCtrlID(pWnd->m_hWnd) - AFX_IDW_PANE_FIRST;
  if (id < 0 || id / 16 >= m_nRows || id % 16 >= m_nCols) return FALSE;
  if (pRow) *pRow = id / 16;
  if (pCol) *pCol = id % 16;
  return TRUE;
}

// Every row but the last gets its ideal size while room is left (a row
// that would be smaller than its minimum shrinks to nothing); the last
// takes the rest.
void CSplitterWnd::LayoutRowCol(std::vector<CRowColInfo>& info, int count, int total) {
  int left = std::max(total, 0);
  for (int i = 0; i < count; ++i) {
    CRowColInfo& item = info[static_cast<size_t>(i)];
    if (i == count - 1) {
      item.nCurSize = left;
      break;
    }
    int size = std::min(item.nIdealSize, left);
    if (size < item.nMinSize) size = 0;
    item.nCurSize = size;
    left = std::max(left - size - kSplitterGap, 0);
  }
}

int CSplitterWnd::rowStart(int row) const {
  int y = 0;
  for (int i = 0; i < row; ++i) y += m_pRowInfo[static_cast<size_t>(i)].nCurSize + kSplitterGap;
  return y;
}

int CSplitterWnd::columnStart(int col) const {
  int x = 0;
  for (int i = 0; i < col; ++i) x += m_pColInfo[static_cast<size_t>(i)].nCurSize + kSplitterGap;
  return x;
}

void CSplitterWnd::RecalcLayout() {
  if (!m_hWnd || m_nRows == 0 || m_nCols == 0) return;
  RECT rc{};
  ::GetClientRect(m_hWnd, &rc);
  LayoutRowCol(m_pRowInfo, m_nRows, rc.bottom);
  LayoutRowCol(m_pColInfo, m_nCols, rc.right);
  HDWP hBatch = ::BeginDeferWindowPos(m_nRows * m_nCols);
  for (int row = 0; row < m_nRows; ++row) {
    for (int col = 0; col < m_nCols; ++col) {
      HWND hPane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
      if (!hPane || !hBatch) continue;
      hBatch = ::DeferWindowPos(hBatch, hPane, nullptr, columnStart(col), rowStart(row),
                                m_pColInfo[static_cast<size_t>(col)].nCurSize,
                                m_pRowInfo[static_cast<size_t>(row)].nCurSize, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (hBatch) ::EndDeferWindowPos(hBatch);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

int CSplitterWnd::RowBarAt(int y) const {
  for (int row = 0; row + 1 < m_nRows; ++row) {
    const int bar = rowStart(row + 1) - kSplitterGap;
    if (y >= bar && y < bar + kSplitterGap) return row;
  }
  return -1;
}

int CSplitterWnd::ColumnBarAt(int x) const {
  for (int col = 0; col + 1 < m_nCols; ++col) {
    const int bar = columnStart(col + 1) - kSplitterGap;
    if (x >= bar && x < bar + kSplitterGap) return col;
  }
  return -1;
}

void CSplitterWnd::paintBars(HDC hdc) {
  RECT rc{};
  ::GetClientRect(m_hWnd, &rc);
  HBRUSH hFace = ::GetSysColorBrush(COLOR_BTNFACE);
  for (int row = 0; row + 1 < m_nRows; ++row) {
    RECT bar{0, rowStart(row + 1) - kSplitterGap, rc.right, rowStart(row + 1)};
    ::FillRect(hdc, &bar, hFace);
    ::DrawEdge(hdc, &bar, EDGE_RAISED, BF_TOP | BF_BOTTOM);
  }
  for (int col = 0; col + 1 < m_nCols; ++col) {
    RECT bar{columnStart(col + 1) - kSplitterGap, 0, columnStart(col + 1), rc.bottom};
    ::FillRect(hdc, &bar, hFace);
    ::DrawEdge(hdc, &bar, EDGE_RAISED, BF_LEFT | BF_RIGHT);
  }
}

LRESULT CSplitterWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_SIZE:
      RecalcLayout();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = ::BeginPaint(m_hWnd, &ps);
      paintBars(hdc);
      ::EndPaint(m_hWnd, &ps);
      return 0;
    }
    case WM_SETCURSOR: {
      POINT pt;
      ::GetCursorPos(&pt);
      ::ScreenToClient(m_hWnd, &pt);
      LPCSTR cursor = RowBarAt(pt.y) >= 0 ? IDC_SIZENS : ColumnBarAt(pt.x) >= 0 ? IDC_SIZEWE : nullptr;
      if (!cursor || reinterpret_cast<HWND>(wParam) != m_hWnd) break;
      ::SetCursor(::LoadCursorA(nullptr, cursor));
      return TRUE;
    }
    case WM_LBUTTONDOWN:
      m_trackRow = RowBarAt(y);
      m_trackCol = m_trackRow < 0 ? ColumnBarAt(x) : -1;
      if (m_trackRow < 0 && m_trackCol < 0) break;
      // The bar keeps the point where it was taken: a drag by n pixels
      // changes the size by n.
      m_trackOrigin = m_trackRow >= 0 ? rowStart(m_trackRow) + y - (rowStart(m_trackRow + 1) - kSplitterGap)
                                      : columnStart(m_trackCol) + x - (columnStart(m_trackCol + 1) - kSplitterGap);
      m_bTracking = TRUE;
      ::SetCapture(m_hWnd);
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      if (!m_bTracking) break;
      // The row or column before the bar follows the point.
      if (m_trackRow >= 0) m_pRowInfo[static_cast<size_t>(m_trackRow)].nIdealSize = std::max(y - m_trackOrigin, 0);
      else m_pColInfo[static_cast<size_t>(m_trackCol)].nIdealSize = std::max(x - m_trackOrigin, 0);
      RecalcLayout();
      if (message == WM_LBUTTONUP) {
        m_bTracking = FALSE;
        ::ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      m_bTracking = FALSE;
      break;
    default:
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
