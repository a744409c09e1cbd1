// What a state does to a panel: the caption, the frame's size and place,
// and the colour behind the controls. Flags, colours and fonts of a panel's
// state are kept by its state part and not applied to the frame.
#include <afxwin.h>

#include "KyPanel.h"

namespace {

// An OLE colour: 0x80000000 + n is system colour n, -1 is none.
COLORREF translateColor(COLORREF color) {
  if (color == CLR_INVALID) return CLR_INVALID;
  if (color & 0x80000000) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFF;
}

}  // namespace

void KyPanel::Repaint() {
  if (!m_hWnd) return;
  InvalidateRect(m_hWnd, nullptr, TRUE);
  UpdateWindow(m_hWnd);
}

void KyPanel::SetText(const char* pszText) {
  if (m_hWnd) SetWindowTextA(m_hWnd, pszText ? pszText : "");
}

void KyPanel::SetSize(int cx, int cy) {
  m_cx = cx;
  m_cy = cy;
  const bool firstState = m_fFirstState;
  if (!m_hWnd) return;
  // MDI windows placed by the system keep the system's size at first.
  if (firstState && m_iPlacement == PlacementSystem && (m_iKind == KyMDIFrame || m_iKind == KyMDIChild)) return;
  const int width = ScaleX(cx), height = ScaleY(cy);
  if (IsZoomed(m_hWnd)) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    GetWindowPlacement(m_hWnd, &wp);
    wp.rcNormalPosition.right = wp.rcNormalPosition.left + width;
    wp.rcNormalPosition.bottom = wp.rcNormalPosition.top + height;
    wp.showCmd = SW_RESTORE;
    SetWindowPlacement(m_hWnd, &wp);
    return;
  }
  SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The first state gives the size the controls were laid out for: later
  // size changes move anchored controls by the difference to it.
  if (firstState) measureCreationClient();
}

void KyPanel::SetPosition(int x, int y) {
  m_x = x;
  m_y = y;
  const bool firstState = m_fFirstState;
  m_fFirstState = 0;
  if (!m_hWnd) return;
  if (firstState && m_iPlacement == PlacementCentred) {
    RECT rc, area;
    GetWindowRect(m_hWnd, &rc);
    HWND hParent = GetParent(m_hWnd);
    if (hParent && (GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD)) {
      GetClientRect(hParent, &area);
    } else {
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    const int left = area.left + ((area.right - area.left) - (rc.right - rc.left)) / 2;
    const int top = area.top + ((area.bottom - area.top) - (rc.bottom - rc.top)) / 2;
    SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  if (firstState && m_iPlacement != PlacementAtPosition) return;
  SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The state's background colour; without one the colour of the kind.
// Panels in a site or pane show their parent's colour.
COLORREF KyPanel::GetPanelColor() {
  KyPanel* pPanel = this;
  while ((pPanel->m_iKind == KySiteChild || pPanel->m_iKind == KySplitterPane) && pPanel->m_pParentPanel)
    pPanel = pPanel->m_pParentPanel;
  COLORREF color = translateColor(pPanel->GetStateBackColor());
  if (color != CLR_INVALID) return color;
  switch (pPanel->m_iKind) {
    case KyTopWindow:
    case KyMDIChild: return GetSysColor(COLOR_WINDOW);
    case KyDialog:
    case KyDialogUnderParent: return GetSysColor(COLOR_BTNFACE);
    case KyMDIFrame: return GetSysColor(COLOR_APPWORKSPACE);
    default: return CLR_INVALID;
  }
}
