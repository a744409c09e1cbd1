// CPropertySheet and CPropertyPage over PropertySheetA. The sheet's window
// object is attached as the window is made (the creation hook), each page's
// when its dialog procedure hears WM_INITDIALOG with the page's record.
#include "afxstate.h"

#include <afxdlgs.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

// --- CPropertyPage ---------------------------------------------------------------

INT_PTR CALLBACK AfxPropPageDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  const auto* psp = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
  auto* pPage = psp ? reinterpret_cast<CPropertyPage*>(psp->lParam) : nullptr;
  if (!pPage || !pPage->SubclassWindow(hWnd)) return TRUE;
  pPage->m_bFirstSetActive = TRUE;
  return pPage->OnInitDialog();
}

CPropertyPage::CPropertyPage() { commonConstruct(nullptr, 0); }

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) {
  commonConstruct(MAKEINTRESOURCE(nIDTemplate), nIDCaption);
}

CPropertyPage::CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption) {
  commonConstruct(lpszTemplateName, nIDCaption);
}

CPropertyPage::~CPropertyPage() = default;

void CPropertyPage::Construct(UINT nIDTemplate, UINT nIDCaption) {
  commonConstruct(MAKEINTRESOURCE(nIDTemplate), nIDCaption);
}

void CPropertyPage::Construct(LPCSTR lpszTemplateName, UINT nIDCaption) {
  commonConstruct(lpszTemplateName, nIDCaption);
}

void CPropertyPage::commonConstruct(LPCSTR lpszTemplateName, UINT nIDCaption) {
  // A template's name is kept in the page's own copy.
  m_strTemplate = lpszTemplateName && !IS_INTRESOURCE(lpszTemplateName) ? lpszTemplateName : "";
  m_lpszTemplateName = m_strTemplate.IsEmpty() ? lpszTemplateName : static_cast<LPCSTR>(m_strTemplate);
  m_strCaption.Empty();
  if (nIDCaption) m_strCaption.LoadString(nIDCaption);
  m_psp = PROPSHEETPAGEA{};
  m_psp.dwSize = sizeof m_psp;
  m_psp.dwFlags = m_strCaption.IsEmpty() ? PSP_DEFAULT : PSP_USETITLE;
  m_psp.hInstance = m_lpszTemplateName ? AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG) : nullptr;
  m_psp.pszTemplate = m_lpszTemplateName;
  m_psp.pszTitle = m_strCaption;
  m_psp.pfnDlgProc = AfxPropPageDlgProc;
  m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

CPropertySheet* CPropertyPage::GetSheet() const {
  return dynamic_cast<CPropertySheet*>(FromHandlePermanent(::GetParent(m_hWnd)));
}

void CPropertyPage::CancelToClose() {
  if (m_hWnd) PropSheet_CancelToClose(::GetParent(m_hWnd));
}

void CPropertyPage::SetModified(BOOL bChanged) {
  m_bModified = bChanged;
  if (!m_hWnd) return;
  if (bChanged) PropSheet_Changed(::GetParent(m_hWnd), m_hWnd);
  else PropSheet_UnChanged(::GetParent(m_hWnd), m_hWnd);
}

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam) {
  return m_hWnd ? PropSheet_QuerySiblings(::GetParent(m_hWnd), wParam, lParam) : 0;
}

BOOL CPropertyPage::OnSetActive() {
  // OnInitDialog showed the data the first time.
  if (m_bFirstSetActive) m_bFirstSetActive = FALSE;
  else UpdateData(FALSE);
  return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply() {
  OnOK();
  return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

void CPropertyPage::OnOK() { m_bModified = FALSE; }

void CPropertyPage::OnCancel() { m_bModified = FALSE; }

BOOL CPropertyPage::OnQueryCancel() { return TRUE; }

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header && header->hwndFrom == ::GetParent(m_hWnd)) {
    switch (header->code) {
      case PSN_SETACTIVE:
        *pResult = OnSetActive() ? 0 : -1;
        return TRUE;
      case PSN_KILLACTIVE:
        *pResult = !OnKillActive();
        return TRUE;
      case PSN_APPLY:
        *pResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return TRUE;
      case PSN_RESET:
        OnReset();
        *pResult = 0;
        return TRUE;
      case PSN_QUERYCANCEL:
        *pResult = !OnQueryCancel();
        return TRUE;
    }
  }
  return CDialog::OnNotify(wParam, lParam, pResult);
}

BOOL CPropertyPage::PreTranslateMessage(MSG* pMsg) { return CWnd::PreTranslateMessage(pMsg); }

// --- CPropertySheet --------------------------------------------------------------

CPropertySheet::CPropertySheet() = default;

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) {
  Construct(nIDCaption, pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) {
  Construct(pszCaption, pParentWnd, iSelectPage);
}

CPropertySheet::~CPropertySheet() = default;

void CPropertySheet::Construct(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) {
  CString caption;
  caption.LoadString(nIDCaption);
  Construct(caption, pParentWnd, iSelectPage);
}

void CPropertySheet::Construct(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) {
  m_strCaption = pszCaption ? pszCaption : "";
  m_pParentWnd = pParentWnd;
  m_nStartPage = iSelectPage;
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
  if (!pPage) return;
  m_pages.push_back(pPage);
  if (!m_hWnd) return;
  HPROPSHEETPAGE handle = CreatePropertySheetPageA(&pPage->m_psp);
  if (!handle || !::SendMessageA(m_hWnd, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(handle))) m_pages.pop_back();
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) { RemovePage(GetPageIndex(pPage)); }

void CPropertySheet::RemovePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return;
  if (m_hWnd) ::SendMessageA(m_hWnd, PSM_REMOVEPAGE, nPage, 0);
  m_pages.erase(m_pages.begin() + nPage);
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
  return nPage >= 0 && nPage < GetPageCount() ? m_pages[nPage] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
  const auto found = std::find(m_pages.begin(), m_pages.end(), pPage);
  return found == m_pages.end() ? -1 : static_cast<int>(found - m_pages.begin());
}

int CPropertySheet::GetActiveIndex() const {
  if (!m_hWnd) return static_cast<int>(m_nStartPage);
  HWND current = PropSheet_GetCurrentPageHwnd(m_hWnd);
  for (int i = 0; i < GetPageCount(); ++i)
    if (current && m_pages[i]->m_hWnd == current) return i;
  return -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const { return GetPage(GetActiveIndex()); }

BOOL CPropertySheet::SetActivePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return FALSE;
  if (!m_hWnd) {
    m_nStartPage = nPage;
    return TRUE;
  }
  return PropSheet_SetCurSel(m_hWnd, nullptr, nPage);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }

void CPropertySheet::SetTitle(LPCSTR lpszText, UINT nStyle) {
  m_strCaption = lpszText ? lpszText : "";
  m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
  if (m_hWnd) PropSheet_SetTitle(m_hWnd, nStyle, static_cast<LPCSTR>(m_strCaption));
}

HWND CPropertySheet::GetTabControl() const { return m_hWnd ? PropSheet_GetTabControl(m_hWnd) : nullptr; }

BOOL CPropertySheet::PressButton(int nButton) { return m_hWnd && PropSheet_PressButton(m_hWnd, nButton); }

void CPropertySheet::buildHeader(HWND hWndParent) {
  m_records.clear();
  for (CPropertyPage* pPage : m_pages) m_records.push_back(pPage->m_psp);
  m_psh.dwSize = sizeof m_psh;
  m_psh.dwFlags |= PSH_PROPSHEETPAGE;
  m_psh.hwndParent = hWndParent;
  m_psh.hInstance = AfxGetResourceHandle();
  m_psh.pszCaption = m_strCaption;
  m_psh.nPages = static_cast<UINT>(m_records.size());
  m_psh.nStartPage = m_nStartPage;
  m_psh.ppsp = m_records.data();
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD, DWORD) {
  if (pParentWnd) m_pParentWnd = pParentWnd;
  m_psh.dwFlags |= PSH_MODELESS;
  buildHeader(AfxWndHandle(m_pParentWnd));
  AfxHookWindowCreate(this);
  const INT_PTR made = PropertySheetA(&m_psh);
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  m_psh.dwFlags &= ~PSH_MODELESS;
  return made != -1 && m_hWnd != nullptr;
}

INT_PTR CPropertySheet::DoModal() {
  HWND hWndTop = nullptr;
  HWND hWndParent = CWnd::GetSafeOwner_(AfxWndHandle(m_pParentWnd), &hWndTop);
  CWinApp* pApp = AfxGetApp();
  if (pApp) pApp->EnableModeless(FALSE);
  m_nModalResult = IDCANCEL;
  INT_PTR result = -1;
  m_psh.dwFlags |= PSH_MODELESS;
  buildHeader(hWndParent);
  AfxHookWindowCreate(this);
  const INT_PTR made = PropertySheetA(&m_psh);
  AfxUnhookWindowCreate();
  m_psh.dwFlags &= ~PSH_MODELESS;
  if (made != -1 && m_hWnd) {
    const BOOL bEnableParent = hWndParent && ::IsWindowEnabled(hWndParent);
    if (bEnableParent) ::EnableWindow(hWndParent, FALSE);
    result = RunModalLoop(MLF_SHOWONIDLE);
    if (m_hWnd)
      SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (bEnableParent) ::EnableWindow(hWndParent, TRUE);
    if (hWndParent && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hWndParent);
    DestroyWindow();
  }
  if (hWndTop) ::EnableWindow(hWndTop, TRUE);
  if (pApp) pApp->EnableModeless(TRUE);
  return result;
}

void CPropertySheet::EndDialog(int nEndID) {
  m_nModalResult = nEndID;
  if (m_nFlags & WF_CONTINUEMODAL) EndModalLoop(nEndID);
  else if (m_hWnd) DestroyWindow();
}

BOOL CPropertySheet::ContinueModal() {
  // OK or Cancel has ended the sheet when it has no current page.
  if (m_hWnd && !PropSheet_GetCurrentPageHwnd(m_hWnd)) return FALSE;
  return CWnd::ContinueModal();
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  if ((pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) &&
      (pMsg->message < WM_MOUSEFIRST || pMsg->message > WM_MOUSELAST))
    return FALSE;
  return m_hWnd && PropSheet_IsDialogMessage(m_hWnd, pMsg);
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // What closes the sheet decides DoModal's answer.
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
    m_nModalResult = LOWORD(wParam);
  else if (message == WM_CLOSE)
    m_nModalResult = IDCANCEL;
  const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
  if (message == WM_INITDIALOG) OnInitDialog();
  // OK, Cancel and the close box end the sheet; the modal loop hears it.
  const bool mayEnd = message == WM_COMMAND || message == WM_CLOSE || message == WM_SYSCOMMAND;
  if (mayEnd && (m_nFlags & WF_CONTINUEMODAL) && m_hWnd && !PropSheet_GetCurrentPageHwnd(m_hWnd))
    EndModalLoop(m_nModalResult);
  return lResult;
}
