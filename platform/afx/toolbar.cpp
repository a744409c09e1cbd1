// CToolBar: buttons with images from one bitmap, laid out and painted by
// the bar itself (the common tool bar control does not exist here), with
// check state through CCmdUI, prompts and tips for the button under the
// pointer, and clicks sent to the owner as WM_COMMAND.
#include "afxstate.h"

#include <afxext.h>

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_CANCELMODE()
END_MESSAGE_MAP()

namespace {

constexpr int kSeparatorWidth = 8;  // pixels between button groups

// The tool bar resource: WORD version (1), width, height, count, ids.
struct ToolBarData {
  WORD wVersion;
  WORD wWidth;
  WORD wHeight;
  WORD wItemCount;
};

}  // namespace

CToolBar::~CToolBar() {
  if (m_hbmImageWell) ::DeleteObject(m_hbmImageWell);
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  return CreateEx(pParentWnd, 0, dwStyle, CRect(0, 0, 0, 0), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, CRect rcBorders, UINT nID) {
  if (rcBorders.left || rcBorders.top || rcBorders.right || rcBorders.bottom) {
    m_cxLeftBorder = rcBorders.left;
    m_cyTopBorder = rcBorders.top;
    m_cxRightBorder = rcBorders.right;
    m_cyBottomBorder = rcBorders.bottom;
  }
  return CreateBar(0, dwStyle, pParentWnd, nID);
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
  // The button frame needs 7 by 6 pixels around the image.
  if (sizeButton.cx - sizeImage.cx < 7 || sizeButton.cy - sizeImage.cy < 6) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return;
  }
  m_sizeButton = sizeButton;
  m_sizeImage = sizeImage;
  if (m_hWnd) {
    Invalidate();
    if (m_pDockSite) m_pDockSite->DelayRecalcLayout();
  }
}

BOOL CToolBar::LoadBitmap(LPCSTR lpszResourceName) {
  // A null module is the system's bitmaps for LoadBitmap: name the program.
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
  if (!hInst) hInst = ::GetModuleHandleA(nullptr);
  HBITMAP hbm = ::LoadBitmapA(hInst, lpszResourceName);
  if (!hbm) return FALSE;
  if (m_hbmImageWell) ::DeleteObject(m_hbmImageWell);
  m_hbmImageWell = hbm;
  if (m_hWnd) Invalidate();
  return TRUE;
}

BOOL CToolBar::LoadToolBar(LPCSTR lpszResourceName) {
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_TOOLBAR);
  HRSRC hRsrc = ::FindResourceA(hInst, lpszResourceName, RT_TOOLBAR);
  if (!hRsrc) return FALSE;
  DWORD cb = ::SizeofResource(hInst, hRsrc);
  auto* pData = static_cast<const BYTE*>(::LockResource(::LoadResource(hInst, hRsrc)));
  if (!pData || cb < sizeof(ToolBarData)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return FALSE;
  }
  ToolBarData header;
  std::memcpy(&header, pData, sizeof header);
  // A resource shorter than its count says is corrupt: refuse it whole.
  if (header.wVersion != 1 || cb < sizeof(ToolBarData) + header.wItemCount * sizeof(WORD)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return FALSE;
  }
  std::vector<UINT> ids(header.wItemCount);
  for (size_t i = 0; i < ids.size(); i++) {
    WORD id;
    std::memcpy(&id, pData + sizeof(ToolBarData) + i * sizeof(WORD), sizeof id);
    ids[i] = id;
  }
  if (!SetButtons(ids.data(), (int)ids.size())) return FALSE;
  SetSizes(CSize(header.wWidth + 7, header.wHeight + 7), CSize(header.wWidth, header.wHeight));
  return LoadBitmap(lpszResourceName);
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
  if (nIDCount < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  m_buttons.assign((size_t)nIDCount, Button{});
  int iImage = 0;
  for (size_t i = 0; i < m_buttons.size(); i++) {
    Button& button = m_buttons[i];
    if (!lpIDArray) {
      button.nStyle = TBBS_SEPARATOR;  // a slot to be filled with SetButtonInfo
      continue;
    }
    button.nID = lpIDArray[i];
    if (button.nID == ID_SEPARATOR) button.nStyle = TBBS_SEPARATOR;
    else button.iImage = iImage++;
  }
  m_nCount = nIDCount;
  if (m_hWnd) {
    Invalidate();
    if (m_pDockSite) m_pDockSite->DelayRecalcLayout();
  }
  return TRUE;
}

int CToolBar::CommandToIndex(UINT nIDFind) const {
  for (size_t i = 0; i < m_buttons.size(); i++) {
    if (m_buttons[i].nID == nIDFind) return (int)i;
  }
  return -1;
}

UINT CToolBar::GetItemID(int nIndex) const {
  if (nIndex < 0 || (size_t)nIndex >= m_buttons.size()) return 0;
  return m_buttons[(size_t)nIndex].nID;
}

UINT CToolBar::GetButtonStyle(int nIndex) const {
  if (nIndex < 0 || (size_t)nIndex >= m_buttons.size()) return 0;
  return m_buttons[(size_t)nIndex].nStyle;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
  if (nIndex < 0 || (size_t)nIndex >= m_buttons.size()) return;
  Button& button = m_buttons[(size_t)nIndex];
  if (button.nStyle == nStyle) return;
  // A change of kind changes the layout, a change of state only the button.
  bool bLayout = (button.nStyle ^ nStyle) & (TBBS_SEPARATOR | TBBS_HIDDEN);
  button.nStyle = nStyle;
  if (!m_hWnd) return;
  if (bLayout) {
    Invalidate();
    if (m_pDockSite) m_pDockSite->DelayRecalcLayout();
  } else {
    InvalidateButton(nIndex);
  }
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const {
  if (nIndex < 0 || (size_t)nIndex >= m_buttons.size()) {
    nID = 0;
    nStyle = 0;
    iImage = 0;
    return;
  }
  const Button& button = m_buttons[(size_t)nIndex];
  nID = button.nID;
  nStyle = button.nStyle;
  iImage = button.iImage;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage) {
  if (nIndex < 0 || (size_t)nIndex >= m_buttons.size()) return;
  Button& button = m_buttons[(size_t)nIndex];
  button.nID = nID;
  // A separator's "image" is its width in the common control; here it is
  // a fixed gap and the value is kept for GetButtonInfo.
  button.iImage = iImage;
  SetButtonStyle(nIndex, nStyle);
  if (m_hWnd) Invalidate();
}

// --- geometry ---------------------------------------------------------------------------------

CRect CToolBar::ButtonRect(int nIndex) const {
  CRect inside;
  const_cast<CToolBar*>(this)->CalcInsideRect(inside, !IsVertical());
  // inside is relative to an empty rectangle: its left/top are the margins.
  int pos = IsVertical() ? inside.top : inside.left;
  CRect rect;
  for (int i = 0; i <= nIndex && (size_t)i < m_buttons.size(); i++) {
    const Button& button = m_buttons[(size_t)i];
    int extent = 0;
    if (!(button.nStyle & TBBS_HIDDEN)) {
      extent = (button.nStyle & TBBS_SEPARATOR) ? kSeparatorWidth : (IsVertical() ? m_sizeButton.cy : m_sizeButton.cx);
    }
    if (i == nIndex) {
      if (IsVertical()) {
        int len = (button.nStyle & TBBS_SEPARATOR) ? extent : m_sizeButton.cy;
        rect.SetRect(inside.left, pos, inside.left + m_sizeButton.cx, pos + len);
      } else {
        rect.SetRect(pos, inside.top, pos + extent, inside.top + m_sizeButton.cy);
      }
      if (button.nStyle & TBBS_HIDDEN) rect.SetRectEmpty();
    }
    pos += extent;
  }
  return rect;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  if (!lpRect) return;
  if (nIndex < 0 || (size_t)nIndex >= m_buttons.size()) {
    ::SetRectEmpty(lpRect);
    return;
  }
  *lpRect = ButtonRect(nIndex);
}

int CToolBar::HitTest(CPoint point) const {
  for (size_t i = 0; i < m_buttons.size(); i++) {
    if (m_buttons[i].nStyle & (TBBS_SEPARATOR | TBBS_HIDDEN)) continue;
    if (ButtonRect((int)i).PtInRect(point)) return (int)i;
  }
  return -1;
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CRect inside;
  CalcInsideRect(inside, bHorz);
  int length = 0;
  for (const Button& button : m_buttons) {
    if (button.nStyle & TBBS_HIDDEN) continue;
    length += (button.nStyle & TBBS_SEPARATOR) ? kSeparatorWidth : (bHorz ? m_sizeButton.cx : m_sizeButton.cy);
  }
  int cxMargins = -inside.left + inside.right;  // negative: the margins' sum
  int cyMargins = -inside.top + inside.bottom;
  CSize size;
  if (bHorz) {
    size.cx = bStretch ? 32767 : length - cxMargins;
    size.cy = m_sizeButton.cy - cyMargins;
  } else {
    size.cx = m_sizeButton.cx - cxMargins;
    size.cy = bStretch ? 32767 : length - cyMargins;
  }
  return size;
}

// --- painting ---------------------------------------------------------------------------------

void CToolBar::InvalidateButton(int nIndex) {
  CRect rect = ButtonRect(nIndex);
  InvalidateRect(&rect);
}

void CToolBar::DrawButton(CDC* pDC, int nIndex) {
  const Button& button = m_buttons[(size_t)nIndex];
  CRect rect = ButtonRect(nIndex);
  HDC hDC = pDC->m_hDC;
  if (button.nStyle & TBBS_SEPARATOR) {
    // An etched line in the gap.
    RECT line = IsVertical() ? RECT{rect.left + 2, rect.top + 3, rect.right - 2, rect.top + 5}
                             : RECT{rect.left + 3, rect.top + 2, rect.left + 5, rect.bottom - 2};
    ::DrawEdge(hDC, &line, EDGE_ETCHED, IsVertical() ? BF_TOP : BF_LEFT);
    return;
  }
  const bool bPushed = (button.nStyle & (TBBS_PRESSED | TBBS_CHECKED)) != 0;
  const bool bDisabled = (button.nStyle & TBBS_DISABLED) != 0;
  if (button.nStyle & TBBS_CHECKED && !(button.nStyle & TBBS_PRESSED)) {
    // A checked button's face is lighter than the bar.
    RECT face = rect;
    ::InflateRect(&face, -1, -1);
    ::FillRect(hDC, &face, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
  }
  ::DrawEdge(hDC, &rect, bPushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  if (!m_hbmImageWell || button.iImage < 0) return;
  // The image centred, one pixel down and right while pushed.
  int x = rect.left + (rect.Width() - m_sizeImage.cx) / 2 + (bPushed ? 1 : 0);
  int y = rect.top + (rect.Height() - m_sizeImage.cy) / 2 + (bPushed ? 1 : 0);
  HDC hdcImage = ::CreateCompatibleDC(hDC);
  HGDIOBJ hOld = ::SelectObject(hdcImage, m_hbmImageWell);
  if (!bDisabled) {
    ::BitBlt(hDC, x, y, m_sizeImage.cx, m_sizeImage.cy, hdcImage, button.iImage * m_sizeImage.cx, 0, SRCCOPY);
  } else {
    // Disabled: the image's non-face pixels embossed, a highlight one
    // pixel down and right under a shadow (the look of a greyed button).
    const COLORREF face = ::GetPixel(hdcImage, button.iImage * m_sizeImage.cx, 0);
    const COLORREF hilite = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    for (int pass = 0; pass < 2; pass++) {
      for (int iy = 0; iy < m_sizeImage.cy; iy++) {
        for (int ix = 0; ix < m_sizeImage.cx; ix++) {
          COLORREF c = ::GetPixel(hdcImage, button.iImage * m_sizeImage.cx + ix, iy);
          if (c == face || c == CLR_INVALID) continue;
          // Light colours vanish as a real greyed image's do.
          if (GetRValue(c) + GetGValue(c) + GetBValue(c) > 3 * 0xC0) continue;
          if (pass == 0) ::SetPixel(hDC, x + ix + 1, y + iy + 1, hilite);
          else ::SetPixel(hDC, x + ix, y + iy, shadow);
        }
      }
    }
  }
  ::SelectObject(hdcImage, hOld);
  ::DeleteDC(hdcImage);
}

void CToolBar::OnPaint() {
  PAINTSTRUCT ps;
  HDC hDC = ::BeginPaint(m_hWnd, &ps);
  CDC* pDC = CDC::FromHandle(hDC);
  for (size_t i = 0; i < m_buttons.size(); i++) {
    if (m_buttons[i].nStyle & TBBS_HIDDEN) continue;
    DrawButton(pDC, (int)i);
  }
  ::EndPaint(m_hWnd, &ps);
}

// --- mouse ------------------------------------------------------------------------------------

void CToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
  RelayToToolTip(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));  // a click hides the tip
  int nIndex = HitTest(point);
  if (nIndex < 0 || (m_buttons[(size_t)nIndex].nStyle & TBBS_DISABLED)) {
    Default();
    return;
  }
  m_iButtonCapture = nIndex;
  SetCapture();
  SetButtonStyle(nIndex, m_buttons[(size_t)nIndex].nStyle | TBBS_PRESSED);
  UpdateWindow();
}

void CToolBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_iButtonCapture >= 0) {
    // Pressed only while the pointer stays on the button.
    UINT nStyle = m_buttons[(size_t)m_iButtonCapture].nStyle & ~TBBS_PRESSED;
    if (HitTest(point) == m_iButtonCapture) nStyle |= TBBS_PRESSED;
    SetButtonStyle(m_iButtonCapture, nStyle);
  }
  CControlBar::OnMouseMove(nFlags, point);
}

void CToolBar::OnLButtonUp(UINT, CPoint point) {
  if (m_iButtonCapture < 0) {
    Default();
    return;
  }
  int nIndex = m_iButtonCapture;
  m_iButtonCapture = -1;
  ::ReleaseCapture();
  Button& button = m_buttons[(size_t)nIndex];
  SetButtonStyle(nIndex, button.nStyle & ~TBBS_PRESSED);
  if (HitTest(point) != nIndex) return;  // released elsewhere: no command
  // A check box flips at once; the update handlers have the last word.
  if (button.nStyle & TBBS_CHECKBOX) SetButtonStyle(nIndex, button.nStyle ^ TBBS_CHECKED);
  CWnd* pOwner = GetOwner();
  if (pOwner && pOwner->m_hWnd) pOwner->SendMessage(WM_COMMAND, MAKEWPARAM(button.nID, BN_CLICKED), (LPARAM)m_hWnd);
}

void CToolBar::OnCancelMode() {
  if (m_iButtonCapture >= 0) {
    SetButtonStyle(m_iButtonCapture, m_buttons[(size_t)m_iButtonCapture].nStyle & ~TBBS_PRESSED);
    m_iButtonCapture = -1;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  }
  Default();
}

INT_PTR CToolBar::OnToolHitTest(CPoint point, CString* pTipText, RECT* pRect) const {
  int nIndex = HitTest(point);
  if (nIndex < 0) return -1;
  if (pRect) *pRect = ButtonRect(nIndex);
  UINT nID = m_buttons[(size_t)nIndex].nID;
  if (pTipText) {
    // The tip is the text after the last '\n' of the command's string; a
    // string without one is the tip whole.
    CString str;
    pTipText->Empty();
    if (str.LoadString(nID)) {
      int nl = str.ReverseFind('\n');
      *pTipText = nl >= 0 ? str.Mid(nl + 1) : str;
    }
  }
  return (INT_PTR)nID;
}

// --- updates ----------------------------------------------------------------------------------

namespace {

class ToolCmdUI : public CCmdUI {
 public:
  explicit ToolCmdUI(CToolBar* pBar) : bar_(pBar) {}
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    UINT nStyle = bar_->GetButtonStyle((int)m_nIndex) & ~TBBS_DISABLED;
    if (!bOn) nStyle = (nStyle | TBBS_DISABLED) & ~TBBS_PRESSED;
    bar_->SetButtonStyle((int)m_nIndex, nStyle);
  }
  void SetCheck(int nCheck) override {
    UINT nStyle = bar_->GetButtonStyle((int)m_nIndex) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
    if (nCheck == 1) nStyle |= TBBS_CHECKED;
    else if (nCheck == 2) nStyle |= TBBS_INDETERMINATE;
    // A button that shows a check is a check box.
    bar_->SetButtonStyle((int)m_nIndex, nStyle | TBBS_CHECKBOX);
  }
  void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
  void SetText(LPCSTR) override {}  // buttons have no text

 private:
  CToolBar* bar_;
};

}  // namespace

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  ToolCmdUI state(this);
  state.m_pOther = this;
  state.m_nIndexMax = (UINT)m_buttons.size();
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
    if (m_buttons[state.m_nIndex].nStyle & TBBS_SEPARATOR) continue;
    state.m_nID = m_buttons[state.m_nIndex].nID;
    state.DoUpdate(pTarget, bDisableIfNoHndler);
  }
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}
