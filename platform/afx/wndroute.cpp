// CWnd's routing: commands and notifications to the message map, control
// notifications reflected back to the control's own object, the
// pre-translation walk, and the default handlers of the CWnd map.
#include "afxstate.h"

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
  ON_WM_NCDESTROY()
  ON_WM_DRAWITEM()
  ON_WM_MEASUREITEM()
  ON_WM_CTLCOLOR()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_PARENTNOTIFY()
  ON_MESSAGE(WM_COMPAREITEM, OnChildItemMessage)
  ON_MESSAGE(WM_DELETEITEM, OnChildItemMessage)
  ON_MESSAGE(WM_VKEYTOITEM, OnChildItemMessage)
  ON_MESSAGE(WM_CHARTOITEM, OnChildItemMessage)
END_MESSAGE_MAP()

namespace {

// A command of a menu item or accelerator is carried out only when its
// update handler (if any) leaves it enabled: this CCmdUI only records.
class EnabledProbe : public CCmdUI {
 public:
  BOOL m_bEnabled = TRUE;
  void Enable(BOOL bOn) override {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCSTR) override {}
};

}  // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam);
  HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
  int nCode = HIWORD(wParam);
  if (!hWndCtrl) {
    // Menu (code 0) or accelerator (code 1).
    if (nCode == 0 || nCode == 1) {
      EnabledProbe state;
      state.m_nID = nID;
      OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, nullptr);
      if (!state.m_bEnabled) return TRUE;  // disabled: swallowed
    }
    nCode = CN_COMMAND;
  } else {
    // UpdateData is moving values into the controls: their change
    // notifications are not the user's.
    if (afx::threadState().hLockoutNotifyWindow == m_hWnd) return TRUE;
    CWnd* pChild = FromHandlePermanent(hWndCtrl);
    if (pChild && pChild->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr)) return TRUE;
    if (nID == 0) return FALSE;
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
  if (!pNMHDR) return FALSE;
  HWND hWndCtrl = pNMHDR->hwndFrom;
  UINT nID = (UINT)pNMHDR->idFrom;
  if (afx::threadState().hLockoutNotifyWindow == m_hWnd) return TRUE;
  CWnd* pChild = FromHandlePermanent(hWndCtrl);
  if (pChild && pChild != this && pChild->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult)) return TRUE;
  AFX_NOTIFY notify{pResult, pNMHDR};
  return OnCmdMsg(nID, (int)MAKELONG(pNMHDR->code, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
      return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND: {
      // The control's own map, without further routing.
      int nCode = HIWORD(wParam);
      if (!CCmdTarget::OnCmdMsg(0, (int)MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr)) return FALSE;
      if (pResult) *pResult = 1;
      return TRUE;
    }
    case WM_NOTIFY: {
      NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
      if (!pNMHDR) return FALSE;
      AFX_NOTIFY notify{pResult, pNMHDR};
      return CCmdTarget::OnCmdMsg(0, (int)MAKELONG(pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
    }
    default:
      if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        // The colour message reaches the control as 0xBC19 with the
        // control, its DC and its kind; a null brush leaves it to the parent.
        AFX_CTLCOLOR ctl{m_hWnd, reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
        LRESULT lResult = 0;
        if (!OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&ctl), &lResult)) return FALSE;
        if (pResult) *pResult = lResult;
        return lResult != 0;
      }
      return FALSE;
  }
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
  CWnd* pWnd = FromHandlePermanent(hWndChild);
  return pWnd ? pWnd->SendChildNotifyLastMsg(pResult) : FALSE;
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
  const MSG msg = afx::threadState().lastSentMsg;
  return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
  // GetParent gives a popup's owner: the walk leaves a dialog for the
  // window that owns it.
  for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
    if (CWnd* pWnd = FromHandlePermanent(hWnd)) {
      if (pWnd->PreTranslateMessage(pMsg)) return TRUE;
    }
    if (hWnd == hWndStop) break;
  }
  return FALSE;
}

// --- default handlers of the CWnd map: the control first --------------------

HBRUSH CWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  LRESULT lResult = 0;
  if (pWnd && pWnd->m_hWnd != m_hWnd && ReflectLastMsg(pWnd->m_hWnd, &lResult)) return reinterpret_cast<HBRUSH>(lResult);
  return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar) {
  if (pScrollBar && ReflectLastMsg(pScrollBar->m_hWnd)) return;
  Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar) {
  if (pScrollBar && ReflectLastMsg(pScrollBar->m_hWnd)) return;
  Default();
}

void CWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
  // Menus draw their own items through the window that owns them.
  if (lpDrawItemStruct && lpDrawItemStruct->CtlType != ODT_MENU && ReflectLastMsg(lpDrawItemStruct->hwndItem)) return;
  Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  if (lpMeasureItemStruct && lpMeasureItemStruct->CtlType != ODT_MENU) {
    HWND hWndChild = ::GetDlgItem(m_hWnd, (int)lpMeasureItemStruct->CtlID);
    if (hWndChild && ReflectLastMsg(hWndChild)) return;
  }
  Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam) {
  if ((message == WM_CREATE || message == WM_DESTROY) && ReflectLastMsg(reinterpret_cast<HWND>(lParam))) return;
  Default();
}

LRESULT CWnd::OnChildItemMessage(WPARAM wParam, LPARAM lParam) {
  const MSG& msg = afx::threadState().lastSentMsg;
  HWND hWndChild = nullptr;
  switch (msg.message) {
    case WM_COMPAREITEM: hWndChild = lParam ? reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem : nullptr; break;
    case WM_DELETEITEM: hWndChild = lParam ? reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem : nullptr; break;
    default: hWndChild = reinterpret_cast<HWND>(lParam); break;  // WM_VKEYTOITEM, WM_CHARTOITEM
  }
  LRESULT lResult = 0;
  if (hWndChild && ReflectLastMsg(hWndChild, &lResult)) return lResult;
  return Default();
}
