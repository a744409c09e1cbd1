// CWnd's members over the window system: relatives, styles, centring,
// texts and dialog items, descendants, message boxes and help.
#include "afxstate.h"

#include <charconv>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace {

BOOL modifyStyle(HWND hWnd, int nStyleOffset, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  DWORD dwStyle = (DWORD)::GetWindowLongA(hWnd, nStyleOffset);
  DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
  if (dwStyle == dwNewStyle) return FALSE;
  ::SetWindowLongA(hWnd, nStyleOffset, (LONG)dwNewStyle);
  if (nFlags) ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  return TRUE;
}

std::vector<HWND> childrenOf(HWND hWnd) {
  std::vector<HWND> children;
  for (HWND hChild = ::GetTopWindow(hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) children.push_back(hChild);
  return children;
}

void sendToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
  // Taken first: a handler may destroy windows on the way.
  for (HWND hChild : childrenOf(hWnd)) {
    if (!::IsWindow(hChild)) continue;
    if (bOnlyPerm) {
      if (CWnd* pWnd = CWnd::FromHandlePermanent(hChild)) AfxCallWndProc(pWnd, hChild, message, wParam, lParam);
    } else {
      ::SendMessageA(hChild, message, wParam, lParam);
    }
    if (bDeep && ::IsWindow(hChild)) sendToDescendants(hChild, message, wParam, lParam, bDeep, bOnlyPerm);
  }
}

}  // namespace

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return modifyStyle(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return modifyStyle(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return modifyStyle(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return modifyStyle(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
  sendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const {
  // Direct children first, then each child's descendants.
  for (HWND hChild : childrenOf(m_hWnd)) {
    if (::GetDlgCtrlID(hChild) != nID) continue;
    if (!bOnlyPerm) return FromHandle(hChild);
    if (CWnd* pWnd = FromHandlePermanent(hChild)) return pWnd;
  }
  for (HWND hChild : childrenOf(m_hWnd)) {
    CWnd child(hChild);
    CWnd* pWnd = child.GetDescendantWindow(nID, bOnlyPerm);
    child.m_hWnd = nullptr;  // borrowed
    if (pWnd) return pWnd;
  }
  return nullptr;
}

CWnd* CWnd::GetOwner() const { return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent(); }

CWnd* CWnd::GetTopLevelParent() const {
  HWND hWnd = m_hWnd;
  while (hWnd && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)) hWnd = ::GetParent(hWnd);
  return FromHandle(hWnd);
}

CWnd* CWnd::GetTopLevelOwner() const {
  HWND hWnd = m_hWnd;
  HWND hOwner;
  while ((hOwner = ::GetParent(hWnd)) != nullptr) hWnd = hOwner;
  return FromHandle(hWnd);
}

CFrameWnd* CWnd::GetParentFrame() const {
  for (HWND hWnd = ::GetParent(m_hWnd); hWnd; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd && pWnd->AsFrameWnd()) return pWnd->AsFrameWnd();
  }
  return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
  // The outermost frame among this window and its parents.
  CFrameWnd* pFrame = nullptr;
  for (HWND hWnd = m_hWnd; hWnd; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd && pWnd->AsFrameWnd()) pFrame = pWnd->AsFrameWnd();
  }
  return pFrame;
}

HWND CWnd::GetSafeOwner_(HWND hParent, HWND* pWndTop) {
  HWND hWnd = hParent;
  if (!hWnd) {
    // A command handler's box belongs to the frame routing the command.
    CWnd* pMain = afx::threadState().pRoutingFrame;
    if (!pMain || !pMain->m_hWnd) pMain = AfxGetMainWnd();
    hWnd = pMain ? pMain->m_hWnd : nullptr;
  }
  // A popup cannot be owned by a child window.
  while (hWnd && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)) hWnd = ::GetParent(hWnd);
  HWND hWndTop = hWnd;
  for (HWND hWndTemp = hWnd; hWndTemp; hWndTemp = ::GetParent(hWndTemp)) hWndTop = hWndTemp;
  // Without an explicit parent the box goes on the main window's popup in use.
  if (!hParent && hWnd) hWnd = ::GetLastActivePopup(hWnd);
  if (pWndTop) {
    if (hWndTop && ::IsWindowEnabled(hWndTop) && hWndTop != hWnd) {
      *pWndTop = hWndTop;
      ::EnableWindow(hWndTop, FALSE);
    } else {
      *pWndTop = nullptr;
    }
  }
  return hWnd;
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
  DWORD dwStyle = GetStyle();
  HWND hWndCenter = AfxWndHandle(pAlternateOwner);
  if (!pAlternateOwner) {
    hWndCenter = (dwStyle & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    if (hWndCenter) {
      // The owner may name another window to centre on.
      HWND hWndTemp = reinterpret_cast<HWND>(::SendMessageA(hWndCenter, WM_QUERYCENTERWND, 0, 0));
      if (hWndTemp) hWndCenter = hWndTemp;
    }
  }
  CRect rcDlg;
  GetWindowRect(&rcDlg);
  CRect rcArea, rcCenter;
  if (!(dwStyle & WS_CHILD)) {
    // Not on hidden or minimised windows.
    if (hWndCenter) {
      DWORD dwCenterStyle = (DWORD)::GetWindowLongA(hWndCenter, GWL_STYLE);
      if (!(dwCenterStyle & WS_VISIBLE) || (dwCenterStyle & WS_MINIMIZE)) hWndCenter = nullptr;
    }
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcArea, 0))
      rcArea.SetRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    if (hWndCenter) ::GetWindowRect(hWndCenter, &rcCenter);
    else rcCenter = rcArea;
  } else {
    HWND hWndParent = ::GetParent(m_hWnd);
    ::GetClientRect(hWndParent, &rcArea);
    if (!hWndCenter) hWndCenter = hWndParent;
    ::GetClientRect(hWndCenter, &rcCenter);
    ::MapWindowPoints(hWndCenter, hWndParent, reinterpret_cast<LPPOINT>(&rcCenter), 2);
  }
  int xLeft = (rcCenter.left + rcCenter.right) / 2 - rcDlg.Width() / 2;
  int yTop = (rcCenter.top + rcCenter.bottom) / 2 - rcDlg.Height() / 2;
  // Kept inside the area.
  if (xLeft < rcArea.left) xLeft = rcArea.left;
  else if (xLeft + rcDlg.Width() > rcArea.right) xLeft = rcArea.right - rcDlg.Width();
  if (yTop < rcArea.top) yTop = rcArea.top;
  else if (yTop + rcDlg.Height() > rcArea.bottom) yTop = rcArea.bottom - rcDlg.Height();
  SetWindowPos(nullptr, xLeft, yTop, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
  if (!lpszCaption) {
    CWinApp* pApp = AfxGetApp();
    lpszCaption = pApp ? pApp->m_pszAppName : nullptr;
  }
  return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
}

void AfxSetWindowText(HWND hWndCtrl, LPCSTR lpszNew) {
  if (!lpszNew) lpszNew = "";
  int nNewLen = lstrlenA(lpszNew);
  // Only a text of the same length can be the same; compare it then.
  if (::GetWindowTextLengthA(hWndCtrl) == nNewLen) {
    CString old;
    int nLen = ::GetWindowTextA(hWndCtrl, old.GetBuffer(nNewLen + 1), nNewLen + 1);
    old.ReleaseBuffer(nLen);
    if (old == lpszNew) return;
  }
  ::SetWindowTextA(hWndCtrl, lpszNew);
}

void CWnd::SetWindowText(LPCSTR lpszString) { AfxSetWindowText(m_hWnd, lpszString); }

void CWnd::GetWindowText(CString& rString) const {
  int nLen = ::GetWindowTextLengthA(m_hWnd);
  nLen = ::GetWindowTextA(m_hWnd, rString.GetBuffer(nLen + 1), nLen + 1);
  rString.ReleaseBuffer(nLen);
}

void CWnd::SetDlgItemText(int nID, LPCSTR lpszString) {
  if (HWND hItem = ::GetDlgItem(m_hWnd, nID)) AfxSetWindowText(hItem, lpszString);
}

int CWnd::GetDlgItemText(int nID, LPSTR lpStr, int nMaxCount) const {
  HWND hItem = ::GetDlgItem(m_hWnd, nID);
  if (!hItem) {
    if (lpStr && nMaxCount > 0) *lpStr = '\0';
    return 0;
  }
  return ::GetWindowTextA(hItem, lpStr, nMaxCount);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
  rString.Empty();
  HWND hItem = ::GetDlgItem(m_hWnd, nID);
  if (!hItem) return 0;
  CWnd item(hItem);
  item.GetWindowText(rString);
  item.m_hWnd = nullptr;  // borrowed
  return rString.GetLength();
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) {
  char text[16];
  if (bSigned) std::snprintf(text, sizeof text, "%d", (int)nValue);
  else std::snprintf(text, sizeof text, "%u", nValue);
  SetDlgItemText(nID, text);
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const {
  CString text;
  GetDlgItemText(nID, text);
  std::string value = (LPCSTR)text;
  size_t start = value.find_first_not_of(" \t");
  value = start == std::string::npos ? std::string() : value.substr(start);
  bool negative = bSigned && !value.empty() && value[0] == '-';
  const char* first = value.c_str() + (negative ? 1 : 0);
  const char* last = value.c_str() + value.size();
  unsigned long long magnitude = 0;
  auto [end, ec] = std::from_chars(first, last, magnitude);
  bool ok = ec == std::errc() && end == last && end != first;
  // Out of the type's range is no number either.
  if (ok) ok = bSigned ? magnitude <= (negative ? 0x80000000ULL : 0x7FFFFFFFULL) : magnitude <= 0xFFFFFFFFULL;
  if (lpTrans) *lpTrans = ok;
  if (!ok) return 0;
  return negative ? (UINT)(0 - (UINT)magnitude) : (UINT)magnitude;
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
  for (int nID = nIDFirstButton; nID <= nIDLastButton; ++nID)
    CheckDlgButton(nID, nID == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED);
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) {
  for (int nID = nIDFirstButton; nID <= nIDLastButton; ++nID)
    if (IsDlgButtonChecked(nID)) return nID;
  return 0;
}

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }

BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu ? pMenu->m_hMenu : nullptr); }

BOOL CWnd::IsDialogMessage(LPMSG lpMsg) { return ::IsDialogMessageA(m_hWnd, lpMsg); }

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  for (HWND hChild : childrenOf(m_hWnd)) {
    if (!::IsWindow(hChild)) continue;
    CCmdUI state;
    state.m_nID = (UINT)::GetDlgCtrlID(hChild);
    state.m_pOther = FromHandle(hChild);
    // The control's own update handler first, then this window's.
    CWnd* pChild = FromHandlePermanent(hChild);
    if (pChild && pChild->CCmdTarget::OnCmdMsg(0, (int)MAKELONG(0xFFFF, WM_COMMAND + WM_REFLECT_BASE), &state, nullptr))
      continue;
    if (CCmdTarget::OnCmdMsg(state.m_nID, (int)CN_UPDATE_COMMAND_UI, &state, nullptr)) continue;
    // Only push buttons and the like are disabled for want of a handler:
    // check boxes and radio buttons that work by themselves stay usable.
    BOOL bDisableTemp = bDisableIfNoHndler;
    if (bDisableTemp) {
      if (!(::SendMessageA(hChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) {
        bDisableTemp = FALSE;
      } else {
        UINT nStyle = (UINT)(::GetWindowLongA(hChild, GWL_STYLE) & 0x0F);
        if (nStyle == BS_AUTOCHECKBOX || nStyle == BS_AUTO3STATE || nStyle == BS_GROUPBOX || nStyle == BS_AUTORADIOBUTTON)
          bDisableTemp = FALSE;
      }
    }
    state.DoUpdate(pTarget, bDisableTemp);
  }
}

// --- window classes -----------------------------------------------------------

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  // One class per attribute set; the names live for the process.
  static std::mutex lock;
  static std::set<std::string> names;
  HINSTANCE hInst = AfxGetInstanceHandle();
  char name[128];
  std::snprintf(name, sizeof name, "Afx:%p:%x:%p:%p:%p", (void*)hInst, nClassStyle, (void*)hCursor,
                (void*)hbrBackground, (void*)hIcon);
  std::lock_guard guard(lock);
  auto [it, inserted] = names.insert(name);
  if (inserted) {
    WNDCLASSA wc{};
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;  // AfxWndProc takes over at creation
    wc.hInstance = hInst;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = it->c_str();
    if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
      names.erase(it);
      AfxThrowResourceException();
    }
  }
  return it->c_str();
}
