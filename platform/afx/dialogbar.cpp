// CDialogBar: a control bar made from a dialog template; its controls'
// commands go to the frame and their state follows the frame's handlers.
#include "afxstate.h"

#include <afxext.h>

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

namespace {

// The dialog manager's procedure for the bar: the framework's window
// procedure does the work; only WM_INITDIALOG needs an answer here.
INT_PTR CALLBACK dialogBarProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

}  // namespace

BOOL CDialogBar::Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, UINT nStyle, UINT nID) {
  if (!pParentWnd || !pParentWnd->m_hWnd || !lpszTemplateName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
  HRSRC hRsrc = ::FindResourceA(hInst, lpszTemplateName, RT_DIALOG);
  auto* lpTemplate = hRsrc ? static_cast<LPCDLGTEMPLATEA>(::LockResource(::LoadResource(hInst, hRsrc))) : nullptr;
  if (!lpTemplate) return FALSE;  // FindResource's error stays
  m_dwStyle = nStyle & CBRS_ALL;
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpTemplate, pParentWnd->m_hWnd, dialogBarProc, 0);
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  if (!hWnd) return FALSE;
  // The template says popup or child; a bar is a child with the bar's id.
  DWORD dwWindowStyle = (DWORD)::GetWindowLongA(hWnd, GWL_STYLE);
  dwWindowStyle &= ~(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | DS_MODALFRAME);
  dwWindowStyle |= WS_CHILD | WS_CLIPSIBLINGS | (nStyle & WS_VISIBLE);
  ::SetWindowLongA(hWnd, GWL_STYLE, (LONG)dwWindowStyle);
  if (::GetParent(hWnd) != pParentWnd->m_hWnd) ::SetParent(hWnd, pParentWnd->m_hWnd);
  ::SetWindowLongPtrA(hWnd, GWLP_ID, (LONG_PTR)nID);
  CRect rect;
  GetWindowRect(&rect);
  m_sizeDefault = rect.Size();
  SetOwner(pParentWnd);
  m_pDockSite = pParentWnd->AsFrameWnd();
  if (m_pDockSite) m_pDockSite->m_listControlBars.push_back(this);
  if (nStyle & WS_VISIBLE) ShowWindow(SW_SHOWNOACTIVATE);
  return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  // Across the frame when stretched, else the template's own size.
  if (bStretch) return bHorz ? CSize(32767, m_sizeDefault.cy) : CSize(m_sizeDefault.cx, 32767);
  return m_sizeDefault;
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}
