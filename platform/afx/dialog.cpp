// CDialog: modal and modeless dialogs from templates of the resource chain.
#include "afxstate.h"

#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, OnOK)
  ON_COMMAND(IDCANCEL, OnCancel)
  ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
  ON_MESSAGE(WM_SETFONT, HandleSetFont)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    CDialog* pDialog = pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CDialog)) ? static_cast<CDialog*>(pWnd) : nullptr;
    return pDialog ? pDialog->OnInitDialog() : TRUE;
  }
  return FALSE;
}

CDialog::CDialog() = default;

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd) : m_pParentWnd(pParentWnd) {
  setTemplateName(lpszTemplateName);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_pParentWnd(pParentWnd) {
  setTemplateName(MAKEINTRESOURCE(nIDTemplate));
}

CDialog::~CDialog() {
  // A modeless dialog still open goes with its object (as every CWnd).
  if (m_hWnd) DestroyWindow();
}

void CDialog::setTemplateName(LPCSTR lpszTemplateName) {
  if (IS_INTRESOURCE(lpszTemplateName) || !lpszTemplateName) {
    m_lpszTemplateName = lpszTemplateName;
  } else {
    m_strTemplateName = lpszTemplateName;
    m_lpszTemplateName = m_strTemplateName;
  }
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst) {
  if (!lpDialogTemplate) return FALSE;
  if (!hInst) hInst = AfxGetResourceHandle();
  m_nModalResult = -1;
  m_nFlags |= WF_CONTINUEMODAL;
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpDialogTemplate, AfxWndHandle(pParentWnd), AfxDlgProc, 0);
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  // OnInitDialog may already have ended it (EndDialog in a failed init).
  if (hWnd && !(m_nFlags & WF_CONTINUEMODAL)) {
    ::DestroyWindow(hWnd);
    hWnd = nullptr;
  }
  if (!hWnd) {
    m_nFlags &= ~WF_CONTINUEMODAL;
    return FALSE;
  }
  return TRUE;
}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd) {
  setTemplateName(lpszTemplateName);
  HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
  HRSRC hResource = ::FindResourceA(hInst, lpszTemplateName, RT_DIALOG);
  if (!hResource) return FALSE;
  HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
  return hTemplate ? CreateIndirect(hTemplate, pParentWnd, hInst) : FALSE;
}

BOOL CDialog::CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst) {
  auto lpTemplate = static_cast<LPCDLGTEMPLATEA>(::LockResource(hDialogTemplate));
  return CreateIndirect(lpTemplate, pParentWnd, nullptr, hInst);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd, void*, HINSTANCE hInst) {
  if (!pParentWnd) pParentWnd = AfxGetMainWnd();
  m_pParentWnd = pParentWnd;
  BOOL bResult = CreateDlgIndirect(lpDialogTemplate, pParentWnd, hInst);
  // A modeless dialog has no modal loop to end.
  m_nFlags &= ~WF_CONTINUEMODAL;
  return bResult;
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd, void*) {
  m_lpDialogTemplate = lpDialogTemplate;
  m_pParentWnd = pParentWnd;
  return lpDialogTemplate != nullptr;
}

HWND CDialog::PreModal() {
  // The owner is found as for a message box; the top-level window above it
  // is disabled here and enabled again in PostModal.
  HWND hWnd = CWnd::GetSafeOwner_(AfxWndHandle(m_pParentWnd), &m_hWndTop);
  if (CWinApp* pApp = AfxGetApp()) pApp->EnableModeless(FALSE);
  return hWnd;
}

void CDialog::PostModal() {
  if (m_hWndTop) ::EnableWindow(m_hWndTop, TRUE);
  m_hWndTop = nullptr;
  if (CWinApp* pApp = AfxGetApp()) pApp->EnableModeless(TRUE);
}

INT_PTR CDialog::DoModal() {
  LPCDLGTEMPLATEA lpDialogTemplate = m_lpDialogTemplate;
  HINSTANCE hInst = AfxGetResourceHandle();
  if (m_lpszTemplateName) {
    hInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    HRSRC hResource = ::FindResourceA(hInst, m_lpszTemplateName, RT_DIALOG);
    HGLOBAL hTemplate = hResource ? ::LoadResource(hInst, hResource) : nullptr;
    lpDialogTemplate = hTemplate ? static_cast<LPCDLGTEMPLATEA>(::LockResource(hTemplate)) : nullptr;
  }
  if (!lpDialogTemplate) return -1;

  HWND hWndParent = PreModal();
  BOOL bEnableParent = FALSE;
  if (hWndParent && ::IsWindowEnabled(hWndParent)) {
    ::EnableWindow(hWndParent, FALSE);
    bEnableParent = TRUE;
  }
  try {
    if (CreateDlgIndirect(lpDialogTemplate, CWnd::FromHandle(hWndParent), hInst)) {
      if (m_nFlags & WF_CONTINUEMODAL) {
        DWORD dwFlags = MLF_SHOWONIDLE;
        if (GetStyle() & DS_NOIDLEMSG) dwFlags |= MLF_NOIDLEMSG;
        RunModalLoop(dwFlags);
      }
      // Hidden before the owner is enabled, so that the owner activates
      // without the dialog flashing over it.
      if (m_hWnd)
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
  } catch (CException* e) {
    e->Delete();
    m_nModalResult = -1;
  }
  if (bEnableParent) ::EnableWindow(hWndParent, TRUE);
  if (hWndParent && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hWndParent);
  DestroyWindow();
  PostModal();
  return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
  if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) EndModalLoop(nResult);
  ::EndDialog(m_hWnd, nResult);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
  if (pWndCtrl) ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
  // The system's dialog procedure calls AfxDlgProc, which calls OnInitDialog.
  return Default();
}

LRESULT CDialog::HandleSetFont(WPARAM wParam, LPARAM) {
  OnSetFont(CFont::FromHandle(reinterpret_cast<HFONT>(wParam)));
  return Default();
}

namespace {

// RT_DLGINIT: the resource type the dialog editor writes initial list and
// combo box strings into.
constexpr WORD kDlgInitType = 240;
// Its records carry the list and combo messages under their 16-bit numbers.
constexpr WORD kWin16AddListString = 0x0401;
constexpr WORD kWin16AddComboString = 0x0403;

}  // namespace

BOOL CWnd::ExecuteDlgInit(LPCSTR lpszResourceName) {
  if (!lpszResourceName) return TRUE;
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, MAKEINTRESOURCE(kDlgInitType));
  HRSRC hResource = ::FindResourceA(hInst, lpszResourceName, MAKEINTRESOURCE(kDlgInitType));
  if (!hResource) return TRUE;  // nothing to put in
  HGLOBAL hData = ::LoadResource(hInst, hResource);
  const void* pData = hData ? ::LockResource(hData) : nullptr;
  if (!pData) return FALSE;
  return ExecuteDlgInit(pData, ::SizeofResource(hInst, hResource));
}

BOOL CWnd::ExecuteDlgInit(const void* lpResource, DWORD dwSize) {
  // Records of (WORD control id, WORD message, DWORD length, bytes), up to
  // a control id of 0. Every length is checked against the resource's end.
  const BYTE* p = static_cast<const BYTE*>(lpResource);
  const BYTE* end = p + dwSize;
  while (p && end - p >= (ptrdiff_t)sizeof(WORD)) {
    WORD nIDC = 0;
    std::memcpy(&nIDC, p, sizeof nIDC);
    if (nIDC == 0) return TRUE;
    if (end - p < 8) return FALSE;
    WORD nMsg = 0;
    DWORD dwLen = 0;
    std::memcpy(&nMsg, p + 2, sizeof nMsg);
    std::memcpy(&dwLen, p + 4, sizeof dwLen);
    p += 8;
    if (dwLen > (DWORD)(end - p)) return FALSE;
    if (nMsg == kWin16AddListString || nMsg == kWin16AddComboString) {
      // The text need not be terminated inside the record.
      std::string text(reinterpret_cast<const char*>(p), dwLen);
      text.resize(std::strlen(text.c_str()));
      UINT message = nMsg == kWin16AddListString ? LB_ADDSTRING : CB_ADDSTRING;
      LRESULT r = ::SendDlgItemMessageA(m_hWnd, nIDC, message, 0, reinterpret_cast<LPARAM>(text.c_str()));
      if (r == LB_ERR || r == LB_ERRSPACE) return FALSE;  // CB_ERR and CB_ERRSPACE have the same values
    }
    p += dwLen;
  }
  return TRUE;
}

BOOL CDialog::OnInitDialog() {
  // The template's initial list strings go in before the values.
  if (!ExecuteDlgInit(m_lpszTemplateName)) {
    EndDialog(-1);
    return FALSE;
  }
  if (!UpdateData(FALSE)) {
    // The values could not be shown: the dialog ends at once.
    EndDialog(-1);
    return FALSE;
  }
  return TRUE;
}

void CDialog::OnOK() {
  // UpdateData already told the user and put the focus back on a failure.
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  // Escape in a multi-line edit (which wants all keys) still cancels a
  // dialog whose Cancel button is usable.
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_CANCEL) &&
      (::GetWindowLongA(pMsg->hwnd, GWL_STYLE) & ES_MULTILINE)) {
    char className[16] = "";
    ::GetClassNameA(pMsg->hwnd, className, sizeof className);
    if (lstrcmpiA(className, "Edit") == 0) {
      HWND hItem = ::GetDlgItem(m_hWnd, IDCANCEL);
      if (!hItem || ::IsWindowEnabled(hItem)) {
        SendMessage(WM_COMMAND, IDCANCEL, 0);
        return TRUE;
      }
    }
  }
  return PreTranslateInput(pMsg);
}

BOOL CDialog::PreTranslateInput(LPMSG lpMsg) {
  if ((lpMsg->message < WM_KEYFIRST || lpMsg->message > WM_KEYLAST) &&
      (lpMsg->message < WM_MOUSEFIRST || lpMsg->message > WM_MOUSELAST))
    return FALSE;
  return IsDialogMessage(lpMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // The dialog, then the window that owns it, then the thread object.
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if ((nCode != CN_COMMAND && nCode != (int)CN_UPDATE_COMMAND_UI) || nID == 0 || nID >= 0xF000) return FALSE;
  CWnd* pOwner = FromHandlePermanent(::GetWindow(m_hWnd, GW_OWNER));
  if (pOwner && pOwner != this && pOwner->CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CWinThread* pThread = AfxGetThread();
  return pThread && pThread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
