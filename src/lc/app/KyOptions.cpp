#include "KyOptions.h"

#include "KyApp.h"
#include "KyOpt400.h"

namespace {

constexpr int kList = 1010;
constexpr int kIniPath = 1013;
constexpr UINT kAS400EntryId = 57380;

}  // namespace

BOOL KyOptions::OnInitDialog() {
  CWinApp* pApp = AfxGetApp();
  m_strIniPath = pApp && pApp->m_pszProfileName ? pApp->m_pszProfileName : "";
  CDialog::OnInitDialog();
  KyApp* pKyApp = KyApp::GetApp();
  ::SendDlgItemMessageA(m_hWnd, kList, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(pKyApp ? pKyApp->pszGetResourceString(kAS400EntryId) : ""));
  ::SendDlgItemMessageA(m_hWnd, kList, LB_SETCURSEL, 0, 0);
  m_iSelection = 0;
  CenterWindow();
  return TRUE;
}

void KyOptions::DoDataExchange(CDataExchange* pDX) {
  DDX_LBIndex(pDX, kList, m_iSelection);
  DDX_Text(pDX, kIniPath, m_strIniPath);
}

void KyOptions::OnOK() {
  if (!UpdateData(TRUE)) return;
  if (m_iSelection == 0) {
    KyOpt400 options(this);
    options.DoModal();
  }
  EndDialog(IDOK);
}
