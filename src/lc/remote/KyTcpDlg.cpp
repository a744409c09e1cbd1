// KyTcpDlg: the sign-on dialog.
#include "KyTcpDlg.h"

#include "KyProfile.h"
#include "KyRemote400Info.h"

KyTcpDlg::KyTcpDlg(KyRemoteTcpipInfo* pInfo, CWnd* pParent) : CDialog(kTemplateId, pParent), m_pInfo(pInfo) {}

BOOL KyTcpDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (m_pInfo) {
    ::SetDlgItemTextA(m_hWnd, kHost, m_pInfo->m_strSystem);
    ::SetDlgItemTextA(m_hWnd, kUser, m_pInfo->m_strUserId);
    auto* p400 = dynamic_cast<KyRemote400Info*>(m_pInfo);
    ::SetDlgItemTextA(m_hWnd, kPassword, p400 ? p400->GetPassword(0, 0) : m_pInfo->GetPassword());
  }
  CenterWindow();
  return TRUE;
}

void KyTcpDlg::OnOK() {
  BeginWaitCursor();
  CString host, user, password;
  GetDlgItemText(kHost, host);
  GetDlgItemText(kUser, user);
  GetDlgItemText(kPassword, password);
  const bool savePassword = ::IsDlgButtonChecked(m_hWnd, kSavePassword) == BST_CHECKED;
  if (m_pInfo) {
    if (auto* p400 = dynamic_cast<KyRemote400Info*>(m_pInfo)) {
      user.MakeUpper();
      p400->SetPassword(password, savePassword, 0);
      if (savePassword) KyWriteProfileString(m_pInfo->GetSection(), "Password", p400->GetPassword(1, 0));
    } else {
      m_pInfo->SetPasswordText(password);
    }
    m_pInfo->m_strSystem = host;
    m_pInfo->m_strUserId = user;
    if (::IsDlgButtonChecked(m_hWnd, kSaveHost) == BST_CHECKED)
      KyWriteProfileString(m_pInfo->GetSection(), "System", host);
    if (::IsDlgButtonChecked(m_hWnd, kSaveUser) == BST_CHECKED)
      KyWriteProfileString(m_pInfo->GetSection(), "UserId", user);
  }
  EndWaitCursor();
  EndDialog(IDOK);
}
