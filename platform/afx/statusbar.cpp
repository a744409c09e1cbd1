// CStatusBar: the framework's own status bar: panes laid out and painted
// here (not the common control), the message pane 0 taking the window
// text, indicators updated through the frame's update handlers.
#include "afxstate.h"

#include <afxext.h>

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
  ON_WM_PAINT()
  ON_WM_SIZE()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(WM_GETTEXT, OnGetText)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
  ON_MESSAGE(WM_SETFONT, OnSetFont)
  ON_MESSAGE(WM_GETFONT, OnGetFont)
END_MESSAGE_MAP()

namespace {

// Pixels: the frame of a pane's text and the gap between panes.
constexpr int kPaneBorder = 2;   // sunken edge plus one pixel of air, each side
constexpr int kPaneGap = 2;

}  // namespace

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  m_cxLeftBorder = 0;
  m_cxRightBorder = 0;
  m_cyTopBorder = 2;
  m_cyBottomBorder = 0;
  m_hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  if (!CreateBar(0, dwStyle, pParentWnd, nID)) return FALSE;
  // The pane with the message: one stretchy pane until indicators come.
  if (m_panes.empty()) {
    Pane pane;
    pane.nStyle = SBPS_NOBORDERS | SBPS_STRETCH;
    m_panes.push_back(pane);
    m_nCount = 1;
  }
  return TRUE;
}

int CStatusBar::TextWidth(LPCSTR lpsz) {
  if (!lpsz || !*lpsz) return 0;
  HDC hDC = ::GetDC(m_hWnd);
  HGDIOBJ hOld = ::SelectObject(hDC, m_hFont);
  SIZE size{};
  ::GetTextExtentPoint32A(hDC, lpsz, (int)strlen(lpsz), &size);
  ::SelectObject(hDC, hOld);
  ::ReleaseDC(m_hWnd, hDC);
  return size.cx;
}

int CStatusBar::BarHeight() {
  HDC hDC = ::GetDC(m_hWnd);
  HGDIOBJ hOld = ::SelectObject(hDC, m_hFont);
  TEXTMETRICA tm{};
  ::GetTextMetricsA(hDC, &tm);
  ::SelectObject(hDC, hOld);
  ::ReleaseDC(m_hWnd, hDC);
  // Text, the pane borders and the bar's top margin.
  return tm.tmHeight + 2 * kPaneBorder + m_cyTopBorder + m_cyBottomBorder + 2;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  if (nIDCount < 0 || (nIDCount > 0 && !lpIDArray)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  BOOL bResult = TRUE;
  m_panes.assign((size_t)nIDCount, Pane{});
  for (int i = 0; i < nIDCount; i++) {
    Pane& pane = m_panes[(size_t)i];
    pane.nID = lpIDArray[i];
    if (pane.nID == ID_SEPARATOR) {
      // The message pane has no frame; separators share the free width.
      pane.nStyle = SBPS_STRETCH | (i == 0 ? SBPS_NOBORDERS : 0);
      continue;
    }
    if (!pane.strText.LoadString(pane.nID)) bResult = FALSE;  // the pane stays, empty
    pane.cxText = TextWidth(pane.strText);
  }
  m_nCount = nIDCount;
  if (m_hWnd) {
    Invalidate();
    if (m_pDockSite) m_pDockSite->DelayRecalcLayout();
  }
  return bResult;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
  for (size_t i = 0; i < m_panes.size(); i++) {
    if (m_panes[i].nID == nIDFind) return (int)i;
  }
  return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
  if (nIndex < 0 || (size_t)nIndex >= m_panes.size()) return 0;
  return m_panes[(size_t)nIndex].nID;
}

std::vector<CRect> CStatusBar::PaneRects() const {
  CRect client;
  ::GetClientRect(m_hWnd, &client);
  CRect inside = client;
  const_cast<CStatusBar*>(this)->CalcInsideRect(inside, TRUE);
  // The sizing grip takes a square at the right of a sizable frame's bar.
  HWND hTop = ::GetParent(m_hWnd);
  if (hTop && (::GetWindowLongA(hTop, GWL_STYLE) & WS_THICKFRAME) && !::IsZoomed(hTop))
    inside.right -= inside.Height();
  int nStretch = 0;
  int cxFixed = 0;
  for (const Pane& pane : m_panes) {
    cxFixed += pane.cxText + 2 * kPaneBorder + kPaneGap;
    if (pane.nStyle & SBPS_STRETCH) nStretch++;
  }
  int cxExtra = std::max(0, inside.Width() - cxFixed);
  std::vector<CRect> rects;
  int x = inside.left;
  int nStretchSeen = 0;
  for (const Pane& pane : m_panes) {
    int cx = pane.cxText + 2 * kPaneBorder;
    if (pane.nStyle & SBPS_STRETCH) {
      // The stretchy panes share the free width; the last gets the rest.
      int share = cxExtra / nStretch;
      if (++nStretchSeen == nStretch) share = cxExtra - share * (nStretch - 1);
      cx += share;
    }
    rects.emplace_back(x, inside.top, x + cx, inside.bottom);
    x += cx + kPaneGap;
  }
  return rects;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  if (!lpRect) return;
  std::vector<CRect> rects = PaneRects();
  if (nIndex < 0 || (size_t)nIndex >= rects.size()) {
    ::SetRectEmpty(lpRect);
    return;
  }
  *lpRect = rects[(size_t)nIndex];
}

CString CStatusBar::GetPaneText(int nIndex) const {
  if (nIndex < 0 || (size_t)nIndex >= m_panes.size()) return CString();
  return m_panes[(size_t)nIndex].strText;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate) {
  if (nIndex < 0 || (size_t)nIndex >= m_panes.size()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Pane& pane = m_panes[(size_t)nIndex];
  if (!lpszNewText) lpszNewText = "";
  if (pane.strText == lpszNewText) return TRUE;  // no flicker for the same text
  pane.strText = lpszNewText;
  if (bUpdate && m_hWnd) {
    std::vector<CRect> rects = PaneRects();
    InvalidateRect(&rects[(size_t)nIndex]);
  }
  return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
  if (nIndex < 0 || (size_t)nIndex >= m_panes.size()) {
    nID = 0;
    nStyle = 0;
    cxWidth = 0;
    return;
  }
  const Pane& pane = m_panes[(size_t)nIndex];
  nID = pane.nID;
  nStyle = pane.nStyle;
  cxWidth = pane.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
  if (nIndex < 0 || (size_t)nIndex >= m_panes.size()) return;
  Pane& pane = m_panes[(size_t)nIndex];
  pane.nID = nID;
  pane.nStyle = nStyle;
  pane.cxText = std::max(0, cxWidth);
  if (m_hWnd) Invalidate();
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
  if (nIndex < 0 || (size_t)nIndex >= m_panes.size()) return 0;
  return m_panes[(size_t)nIndex].nStyle;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
  if (nIndex < 0 || (size_t)nIndex >= m_panes.size()) return;
  Pane& pane = m_panes[(size_t)nIndex];
  if (pane.nStyle == nStyle) return;
  pane.nStyle = nStyle;
  if (m_hWnd) {
    std::vector<CRect> rects = PaneRects();
    InvalidateRect(&rects[(size_t)nIndex]);
  }
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
  size.cy = BarHeight();
  if (!bStretch) {
    int cx = 0;
    for (const Pane& pane : m_panes) cx += pane.cxText + 2 * kPaneBorder + kPaneGap;
    size.cx = cx;
  }
  return size;
}

// --- window text is the message pane ---------------------------------------------------------

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
  int nIndex = CommandToIndex(ID_SEPARATOR);
  if (nIndex < 0) return FALSE;
  SetPaneText(nIndex, reinterpret_cast<LPCSTR>(lParam));
  if (m_hWnd) UpdateWindow();
  return TRUE;
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
  int nIndex = CommandToIndex(ID_SEPARATOR);
  if (nIndex < 0 || wParam == 0 || !lParam) return 0;
  const CString& text = m_panes[(size_t)nIndex].strText;
  size_t n = std::min((size_t)text.GetLength(), (size_t)wParam - 1);
  memcpy(reinterpret_cast<char*>(lParam), (LPCSTR)text, n);
  reinterpret_cast<char*>(lParam)[n] = '\0';
  return (LRESULT)n;
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) {
  int nIndex = CommandToIndex(ID_SEPARATOR);
  return nIndex < 0 ? 0 : m_panes[(size_t)nIndex].strText.GetLength();
}

LRESULT CStatusBar::OnSetFont(WPARAM wParam, LPARAM lParam) {
  m_hFont = reinterpret_cast<HFONT>(wParam);
  if (!m_hFont) m_hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  for (Pane& pane : m_panes) {
    if (pane.nID != ID_SEPARATOR) pane.cxText = TextWidth(pane.strText);
  }
  if (lParam) Invalidate();
  return 0;
}

LRESULT CStatusBar::OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hFont); }

// --- painting and updates ---------------------------------------------------------------------

void CStatusBar::OnSize(UINT, int, int) {
  Default();
  Invalidate();  // the stretchy panes moved
}

void CStatusBar::OnPaint() {
  PAINTSTRUCT ps;
  HDC hDC = ::BeginPaint(m_hWnd, &ps);
  CRect client;
  GetClientRect(&client);
  ::FillRect(hDC, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  CDC* pDC = CDC::FromHandle(hDC);
  DrawBorders(pDC, client);
  HGDIOBJ hOldFont = ::SelectObject(hDC, m_hFont);
  ::SetBkMode(hDC, TRANSPARENT);
  ::SetTextColor(hDC, ::GetSysColor(COLOR_BTNTEXT));
  std::vector<CRect> rects = PaneRects();
  for (size_t i = 0; i < m_panes.size(); i++) {
    const Pane& pane = m_panes[i];
    CRect rect = rects[i];
    if (!(pane.nStyle & SBPS_NOBORDERS))
      ::DrawEdge(hDC, &rect, (pane.nStyle & SBPS_POPOUT) ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    // A disabled indicator shows its frame only (the key is not toggled).
    if (pane.nStyle & SBPS_DISABLED) continue;
    rect.DeflateRect(kPaneBorder, 0);
    ::DrawTextA(hDC, pane.strText, pane.strText.GetLength(), &rect,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  // The sizing grip of a sizable frame.
  HWND hTop = ::GetParent(m_hWnd);
  if (hTop && (::GetWindowLongA(hTop, GWL_STYLE) & WS_THICKFRAME) && !::IsZoomed(hTop)) {
    RECT grip{client.right - client.Height(), client.top, client.right, client.bottom};
    ::DrawFrameControl(hDC, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
  ::SelectObject(hDC, hOldFont);
  ::EndPaint(m_hWnd, &ps);
}

namespace {

// The update handlers' view of one pane: enabled shows the text, checked
// pops the pane out, text replaces the pane's text.
class StatusCmdUI : public CCmdUI {
 public:
  explicit StatusCmdUI(CStatusBar* pBar) : bar_(pBar) {}
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    UINT nStyle = bar_->GetPaneStyle((int)m_nIndex) & ~SBPS_DISABLED;
    if (!bOn) nStyle |= SBPS_DISABLED;
    bar_->SetPaneStyle((int)m_nIndex, nStyle);
  }
  void SetCheck(int nCheck) override {
    UINT nStyle = bar_->GetPaneStyle((int)m_nIndex) & ~SBPS_POPOUT;
    if (nCheck) nStyle |= SBPS_POPOUT;
    bar_->SetPaneStyle((int)m_nIndex, nStyle);
  }
  void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
  void SetText(LPCSTR lpszText) override { bar_->SetPaneText((int)m_nIndex, lpszText); }

 private:
  CStatusBar* bar_;
};

}  // namespace

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  StatusCmdUI state(this);
  state.m_pOther = this;
  state.m_nIndexMax = (UINT)m_panes.size();
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
    state.m_nID = m_panes[state.m_nIndex].nID;
    // The message pane is the frame's to write, not an indicator.
    if (state.m_nID == ID_SEPARATOR) continue;
    state.DoUpdate(pTarget, bDisableIfNoHndler);
  }
  // Commands of children of the bar, if any.
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}
