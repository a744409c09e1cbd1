// Docking: the dock bars along a frame's sides holding rows of bars, the
// floating mini frames, and the frame's EnableDocking/DockControlBar/
// FloatControlBar.
#include "afxstate.h"

#include <afxext.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)
IMPLEMENT_DYNAMIC(CMiniDockFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
  ON_WM_SIZE()
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CWnd)
  ON_WM_CLOSE()
  ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

// The sides in the order a bar without a chosen side tries them.
struct DockSide {
  DWORD dwAlign;
  UINT nID;
};
constexpr DockSide kDockSides[] = {
    {CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP},
    {CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM},
    {CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_LEFT},
    {CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT},
};

}  // namespace

// --- CDockBar -------------------------------------------------------------------------------

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
  return CreateBar(0, dwStyle | WS_CLIPCHILDREN, pParentWnd, nID);
}

int CDockBar::GetDockedVisibleCount() const {
  int n = 0;
  for (const auto& row : m_rows)
    for (CControlBar* pBar : row)
      if (pBar->m_hWnd && pBar->IsVisible()) n++;
  return n;
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  if (!pBar || !pBar->m_hWnd) return;
  if (pBar->m_pDockBar && pBar->m_pDockBar != this) pBar->m_pDockBar->RemoveControlBar(pBar);
  else if (pBar->m_pDockBar == this) RemoveControlBar(pBar);
  // The bar takes this side's alignment.
  DWORD dwAlign = m_bFloating ? CBRS_ALIGN_TOP : (m_dwStyle & CBRS_ALIGN_ANY);
  DWORD dwStyle = (pBar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_FLOATING)) | dwAlign;
  if (m_bFloating) dwStyle |= CBRS_FLOATING;
  pBar->m_dwStyle = dwStyle;
  size_t nRow = m_rows.size();
  if (lpRect && !m_rows.empty()) {
    // The row under the rectangle's top-left corner, if any.
    CRect rectRow;
    for (size_t i = 0; i < m_rows.size(); i++) {
      for (CControlBar* pOther : m_rows[i]) {
        CRect rect;
        pOther->GetWindowRect(&rect);
        if (IsHorz() ? (lpRect->top >= rect.top && lpRect->top < rect.bottom)
                     : (lpRect->left >= rect.left && lpRect->left < rect.right)) {
          nRow = i;
          break;
        }
      }
      if (nRow != m_rows.size()) break;
    }
  }
  if (nRow == m_rows.size()) m_rows.emplace_back();
  m_rows[nRow].push_back(pBar);
  if (::GetParent(pBar->m_hWnd) != m_hWnd) pBar->SetParent(this);
  pBar->m_pDockBar = this;
  // Docked bars do not float any more and vice versa.
  if (m_bFloating) pBar->ShowWindow(SW_SHOWNA);
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar) {
  for (auto row = m_rows.begin(); row != m_rows.end(); ++row) {
    auto it = std::find(row->begin(), row->end(), pBar);
    if (it == row->end()) continue;
    row->erase(it);
    if (row->empty()) m_rows.erase(row);
    if (pBar->m_pDockBar == this) pBar->m_pDockBar = nullptr;
    return TRUE;
  }
  return FALSE;
}

void CDockBar::LayoutBars(CSize* pTotal, BOOL bMove) {
  // Rows stack across the side; bars of a row line up along it.
  const bool bHorz = IsHorz();
  int across = 0;
  int alongMax = 0;
  HDWP hDWP = bMove ? ::BeginDeferWindowPos(8) : nullptr;
  for (const auto& row : m_rows) {
    int along = 0;
    int thickness = 0;
    for (CControlBar* pBar : row) {
      if (!pBar->m_hWnd || !pBar->IsVisible()) continue;
      CSize size = pBar->CalcFixedLayout(FALSE, bHorz);
      CRect rect = bHorz ? CRect(CPoint(along, across), size) : CRect(CPoint(across, along), size);
      if (hDWP)
        hDWP = ::DeferWindowPos(hDWP, pBar->m_hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                SWP_NOZORDER | SWP_NOACTIVATE);
      along += bHorz ? size.cx : size.cy;
      thickness = std::max(thickness, (int)(bHorz ? size.cy : size.cx));
    }
    across += thickness;
    alongMax = std::max(alongMax, along);
  }
  if (hDWP) ::EndDeferWindowPos(hDWP);
  if (pTotal) *pTotal = bHorz ? CSize(alongMax, across) : CSize(across, alongMax);
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize total;
  LayoutBars(&total, FALSE);
  if (bStretch && !m_bFloating) {
    if (IsHorz()) total.cx = 32767;
    else total.cy = 32767;
  }
  return total;
}

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
  // An empty side takes no room (and stays visible for later bars).
  if (GetDockedVisibleCount() == 0) {
    auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (lpLayout && lpLayout->hDWP) {
      CRect empty(lpLayout->rect.left, lpLayout->rect.top, lpLayout->rect.left, lpLayout->rect.top);
      afxRepositionWindow(lpLayout, m_hWnd, &empty);
    }
    return 0;
  }
  return CControlBar::OnSizeParent(wParam, lParam);
}

void CDockBar::OnSize(UINT, int, int) {
  Default();
  LayoutBars(nullptr, TRUE);
}

// --- CMiniDockFrameWnd ------------------------------------------------------------------------

BOOL CMiniDockFrameWnd::Create(CFrameWnd* pParent, DWORD dwBarStyle) {
  static LPCSTR miniClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                                reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  if (!CreateEx(WS_EX_TOOLWINDOW, miniClass, nullptr, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, 0, 50,
                50, pParent ? pParent->m_hWnd : nullptr, nullptr))
    return FALSE;
  if (!m_wndDockBar.Create(this, WS_CHILD | WS_VISIBLE | dwBarStyle, AFX_IDW_DOCKBAR_FLOAT)) return FALSE;
  // The floating dock bar belongs to the parent frame's docking, not to
  // the mini frame's (which has no layout of frames).
  m_wndDockBar.m_pDockSite = pParent;
  m_wndDockBar.SetOwner(pParent);
  return TRUE;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL) {
  // The frame wraps the bar it floats.
  CSize size = m_wndDockBar.CalcFixedLayout(FALSE, TRUE);
  CRect rect(0, 0, std::max<LONG>(size.cx, 16), std::max<LONG>(size.cy, 8));
  ::AdjustWindowRectEx(&rect, GetStyle(), FALSE, GetExStyle());
  SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CRect client;
  GetClientRect(&client);
  m_wndDockBar.MoveWindow(&client);
}

void CMiniDockFrameWnd::OnSize(UINT, int, int) {
  Default();
  if (m_wndDockBar.m_hWnd) {
    CRect client;
    GetClientRect(&client);
    m_wndDockBar.MoveWindow(&client);
  }
}

void CMiniDockFrameWnd::OnClose() {
  // Closing a floating bar hides it: the frame can show it again.
  CFrameWnd* pFrame = m_wndDockBar.m_pDockSite;
  for (const auto& row : m_wndDockBar.m_rows)
    for (CControlBar* pBar : row)
      if (pFrame) pFrame->ShowControlBar(pBar, FALSE, FALSE);
  ShowWindow(SW_HIDE);
}

// --- the frame's docking --------------------------------------------------------------------

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
  m_dwDockStyle |= dwDockStyle & CBRS_ALIGN_ANY;
  for (const DockSide& side : kDockSides) {
    if (!(dwDockStyle & side.dwAlign) || GetControlBar(side.nID)) continue;
    auto* pDock = new CDockBar(FALSE);
    pDock->m_bAutoDelete = TRUE;
    if (!pDock->Create(this, WS_CHILD | WS_VISIBLE | side.dwAlign, side.nID)) {
      delete pDock;
      AfxThrowResourceException();
    }
  }
  // Dock bars stand outside the bars made before them (the status bar
  // stays at the very edge): they go to the end of the z-order walk.
  RecalcLayout();
}

CDockBar* CFrameWnd::FindDockBarFor(CControlBar* pBar, UINT nDockBarID) {
  for (const DockSide& side : kDockSides) {
    if (nDockBarID ? side.nID != nDockBarID : !(pBar->m_dwDockStyle & side.dwAlign)) continue;
    if (auto* pDock = dynamic_cast<CDockBar*>(GetControlBar(side.nID))) return pDock;
  }
  return nullptr;
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
  if (!pBar || !pBar->m_hWnd) return;
  CDockBar* pDock = FindDockBarFor(pBar, nDockBarID);
  if (!pDock) {
    SetLastError(ERROR_INVALID_PARAMETER);  // no side of the frame takes this bar
    return;
  }
  DockControlBar(pBar, pDock, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  if (!pBar || !pDockBar) return;
  CDockBar* pOld = pBar->m_pDockBar;
  HWND hMiniOld = (pOld && pOld->m_bFloating) ? ::GetParent(pOld->m_hWnd) : nullptr;
  pBar->m_pDockSite = this;
  pDockBar->DockControlBar(pBar, lpRect);
  // A floating frame left empty goes.
  if (hMiniOld && pOld->m_rows.empty()) ::DestroyWindow(hMiniOld);
  RecalcLayout();
  pDockBar->LayoutBars(nullptr, TRUE);
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  if (!pBar || !pBar->m_hWnd) return;
  CDockBar* pOld = pBar->m_pDockBar;
  if (pOld && pOld->m_bFloating) {
    // Already floating: the frame only moves.
    HWND hMini = ::GetParent(pOld->m_hWnd);
    ::SetWindowPos(hMini, nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  auto* pMini = new CMiniDockFrameWnd;
  if (!pMini->Create(this, dwStyle & CBRS_ALIGN_ANY)) {
    if (pMini->m_hWnd) pMini->DestroyWindow();
    else delete pMini;
    AfxThrowResourceException();
  }
  pBar->m_pDockSite = this;
  pMini->m_wndDockBar.DockControlBar(pBar, nullptr);
  pMini->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pMini->RecalcLayout();
  pMini->m_wndDockBar.LayoutBars(nullptr, TRUE);
  if (pBar->IsVisible()) pMini->ShowWindow(SW_SHOWNA);
  RecalcLayout();
}
