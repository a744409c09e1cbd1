// CControlBar: what every bar shares: its window, its slice of the frame's
// layout, borders, idle updates, fly-by prompts and the owner's routing.
#include "afxstate.h"

#include <afxext.h>

#include <commctrl.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_WM_ERASEBKGND()
  ON_WM_MOUSEMOVE()
  ON_WM_DESTROY()
  ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {
// While a button shows its prompt the bar looks whether the pointer left.
constexpr UINT_PTR kFlyByTimer = 0xE000;
}  // namespace

CControlBar::CControlBar() = default;

CControlBar::~CControlBar() {
  // Destroyed while the window lives (a member of a frame being deleted):
  // the frame must not lay out a dangling bar.
  if (m_pDockBar) m_pDockBar->RemoveControlBar(this);
  if (m_pDockSite) {
    auto& list = m_pDockSite->m_listControlBars;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

BOOL CControlBar::CreateBar(DWORD dwExStyle, DWORD dwStyle, CWnd* pParentWnd, UINT nID, LPCSTR lpszText) {
  if (!pParentWnd || !pParentWnd->m_hWnd) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // The bar styles stay with the object; the window gets the rest.
  m_dwStyle = dwStyle & CBRS_ALL;
  dwStyle &= ~CBRS_ALL;
  dwStyle |= WS_CHILD | WS_CLIPSIBLINGS;
  static LPCSTR barClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  if (!CreateEx(dwExStyle, barClass, lpszText, dwStyle, 0, 0, 0, 0, pParentWnd->m_hWnd,
                reinterpret_cast<HMENU>((UINT_PTR)nID)))
    return FALSE;
  SetOwner(pParentWnd);
  m_pDockSite = pParentWnd->AsFrameWnd();
  if (m_pDockSite) m_pDockSite->m_listControlBars.push_back(this);
  return TRUE;
}

void CControlBar::OnDestroy() {
  if (m_hWndToolTip) {
    ::DestroyWindow(m_hWndToolTip);
    m_hWndToolTip = nullptr;
  }
  if (m_pDockBar) m_pDockBar->RemoveControlBar(this);
  m_pDockBar = nullptr;
  if (m_pDockSite) {
    auto& list = m_pDockSite->m_listControlBars;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    m_pDockSite = nullptr;
  }
  Default();
}

void CControlBar::PostNcDestroy() {
  if (m_bAutoDelete) delete this;
}

void CControlBar::SetBarStyle(DWORD dwStyle) {
  if (m_dwStyle == dwStyle) return;
  m_dwStyle = dwStyle & CBRS_ALL;
  if (m_hWnd) Invalidate();
}

void CControlBar::EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }

BOOL CControlBar::IsFloating() const { return m_pDockBar && m_pDockBar->m_bFloating; }

CFrameWnd* CControlBar::GetDockingFrame() const {
  if (IsFloating()) return m_pDockSite;
  return GetParentFrame();
}

// --- layout -------------------------------------------------------------------------

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size;
  // Stretching bars span the frame; their thickness is the borders'.
  if (bStretch) {
    if (bHorz) size.cx = 32767;
    else size.cy = 32767;
  }
  CRect rect;
  CalcInsideRect(rect, bHorz);
  size.cy += -rect.top + rect.bottom;
  size.cx += -rect.left + rect.right;
  return size;
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
  const int cxBorder = 1, cyBorder = 1;
  if (m_dwStyle & CBRS_BORDER_LEFT) rect.left += cxBorder;
  if (m_dwStyle & CBRS_BORDER_TOP) rect.top += cyBorder;
  if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right -= cxBorder;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= cyBorder;
  // The bar's own margins: the leading edge is the wider (room for a
  // gripper).
  if (bHorz) {
    rect.left += m_cxLeftBorder;
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
  } else {
    rect.left += m_cyTopBorder;
    rect.top += m_cxLeftBorder;
    rect.right -= m_cyBottomBorder;
    rect.bottom -= m_cxRightBorder;
  }
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
  auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  if (!lpLayout) return 0;
  DWORD dwStyle = m_dwStyle & CBRS_ALIGN_ANY;
  // A hidden bar and one that floats take no room.
  if (!(GetStyle() & WS_VISIBLE) || !dwStyle || (m_dwStyle & CBRS_FLOATING)) return 0;
  CRect rect(lpLayout->rect);
  CSize sizeAvail = rect.Size();
  CSize size = CalcFixedLayout(lpLayout->bStretch, (dwStyle & CBRS_ORIENT_HORZ) != 0);
  size.cx = std::min(size.cx, sizeAvail.cx);
  size.cy = std::min(size.cy, sizeAvail.cy);
  if (dwStyle & CBRS_ORIENT_HORZ) {
    lpLayout->sizeTotal.cy += size.cy;
    lpLayout->sizeTotal.cx = std::max(lpLayout->sizeTotal.cx, size.cx);
    if (dwStyle == CBRS_ALIGN_TOP) lpLayout->rect.top += size.cy;
    else {
      rect.top = rect.bottom - size.cy;
      lpLayout->rect.bottom -= size.cy;
    }
  } else {
    lpLayout->sizeTotal.cx += size.cx;
    lpLayout->sizeTotal.cy = std::max(lpLayout->sizeTotal.cy, size.cy);
    if (dwStyle == CBRS_ALIGN_LEFT) lpLayout->rect.left += size.cx;
    else {
      rect.left = rect.right - size.cx;
      lpLayout->rect.right -= size.cx;
    }
  }
  rect.right = rect.left + size.cx;
  rect.bottom = rect.top + size.cy;
  afxRepositionWindow(lpLayout, m_hWnd, &rect);
  return 0;
}

// --- painting ---------------------------------------------------------------------------

void CControlBar::DrawBorders(CDC* pDC, CRect& rect) {
  // A line on each CBRS_BORDER_* side: shadow outside, highlight inside.
  HBRUSH hShadow = ::GetSysColorBrush(COLOR_BTNSHADOW);
  HBRUSH hHilite = ::GetSysColorBrush(COLOR_BTNHIGHLIGHT);
  HDC hDC = pDC->m_hDC;
  if (m_dwStyle & CBRS_BORDER_TOP) {
    RECT r{rect.left, rect.top, rect.right, rect.top + 1};
    ::FillRect(hDC, &r, hHilite);
    rect.top++;
  }
  if (m_dwStyle & CBRS_BORDER_BOTTOM) {
    RECT r{rect.left, rect.bottom - 1, rect.right, rect.bottom};
    ::FillRect(hDC, &r, hShadow);
    rect.bottom--;
  }
  if (m_dwStyle & CBRS_BORDER_LEFT) {
    RECT r{rect.left, rect.top, rect.left + 1, rect.bottom};
    ::FillRect(hDC, &r, hHilite);
    rect.left++;
  }
  if (m_dwStyle & CBRS_BORDER_RIGHT) {
    RECT r{rect.right - 1, rect.top, rect.right, rect.bottom};
    ::FillRect(hDC, &r, hShadow);
    rect.right--;
  }
}

void CControlBar::EraseNonClient(CDC* pDC) {
  CRect rect;
  GetClientRect(&rect);
  ::FillRect(pDC->m_hDC, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
  DrawBorders(pDC, rect);
  if ((m_dwStyle & CBRS_GRIPPER) && !(m_dwStyle & CBRS_FLOATING)) {
    // Two raised lines along the leading edge.
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    for (int i = 0; i < 2; i++) {
      RECT r = bHorz ? RECT{rect.left + 2 + 3 * i, rect.top + 2, rect.left + 4 + 3 * i, rect.bottom - 2}
                     : RECT{rect.left + 2, rect.top + 2 + 3 * i, rect.right - 2, rect.top + 4 + 3 * i};
      ::DrawEdge(pDC->m_hDC, &r, BDR_RAISEDINNER, BF_RECT);
    }
  }
}

BOOL CControlBar::OnEraseBkgnd(CDC* pDC) {
  EraseNonClient(pDC);
  return TRUE;
}

// --- idle updates and routing ---------------------------------------------------------------

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  if (!(GetStyle() & WS_VISIBLE)) return 0;
  // The owner's frame (an MDI frame asks its active child first).
  CWnd* pOwner = GetOwner();
  CFrameWnd* pTarget = pOwner ? pOwner->AsFrameWnd() : nullptr;
  if (!pTarget) pTarget = GetParentFrame();
  if (pTarget) OnUpdateCmdUI(pTarget, (BOOL)wParam);
  return 0;
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
      // The control's own object first (reflection), then the owner.
      LRESULT lResult = 0;
      if (OnWndMsg(message, wParam, lParam, &lResult)) return lResult;
      CWnd* pOwner = GetOwner();
      if (pOwner && pOwner->m_hWnd) return pOwner->SendMessage(message, wParam, lParam);
      break;
    }
    default:
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CControlBar::PreTranslateMessage(MSG* pMsg) { return CWnd::PreTranslateMessage(pMsg); }

void CControlBar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kFlyByTimer) {
    Default();
    return;
  }
  POINT pt;
  ::GetCursorPos(&pt);
  if (::WindowFromPoint(pt) == m_hWnd) return;
  KillTimer(kFlyByTimer);
  ResetFlyBy();
}

void CControlBar::OnMouseMove(UINT nFlags, CPoint point) {
  UpdateFlyBy(point);
  RelayToToolTip(WM_MOUSEMOVE, nFlags, MAKELPARAM(point.x, point.y));
  Default();
}

void CControlBar::RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_hWndToolTip) return;
  MSG msg{m_hWnd, message, wParam, lParam, 0, {0, 0}};
  ::SendMessageA(m_hWndToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void CControlBar::UpdateToolTip(INT_PTR nHit, const RECT& rect) {
  if (!m_hWndToolTip) {
    if (nHit == -1) return;
    m_hWndToolTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                      m_hWnd, nullptr, AfxGetInstanceHandle(), nullptr);
    if (!m_hWndToolTip) return;  // no tool tips to be had: the text stays in m_strTipText
  }
  // One tool, moved to the item under the pointer.
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = m_hWnd;
  ti.uId = 1;
  ::SendMessageA(m_hWndToolTip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  if (nHit == -1 || m_strTipText.IsEmpty()) return;
  ti.rect = rect;
  ti.lpszText = const_cast<LPSTR>((LPCSTR)m_strTipText);
  ::SendMessageA(m_hWndToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CControlBar::UpdateFlyBy(CPoint point) {
  if (!(m_dwStyle & (CBRS_FLYBY | CBRS_TOOLTIPS))) return;
  CString strTip;
  RECT rect{};
  INT_PTR nHit = OnToolHitTest(point, &strTip, &rect);
  if (nHit == m_nHitLast) return;
  m_nHitLast = nHit;
  if (nHit != -1) SetTimer(kFlyByTimer, 200);
  if (m_dwStyle & CBRS_TOOLTIPS) {
    m_strTipText = nHit != -1 ? strTip : CString();
    UpdateToolTip(nHit, rect);
  }
  if (!(m_dwStyle & CBRS_FLYBY)) return;
  CFrameWnd* pFrame = m_pDockSite ? m_pDockSite : GetParentFrame();
  if (!pFrame) return;
  // The button's prompt while the pointer is over it; the idle text after.
  pFrame->SetMessageText(nHit != -1 ? (UINT)nHit : (UINT)AFX_IDS_IDLEMESSAGE);
}

void CControlBar::ResetFlyBy() { UpdateFlyBy(CPoint(-32767, -32767)); }
