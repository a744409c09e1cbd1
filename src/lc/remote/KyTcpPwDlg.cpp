// KyTcpPwDlg: the password-change dialog.
#include "KyTcpPwDlg.h"

#include "KyFncMessage.h"
#include "KyProfile.h"
#include "KyRemote400Info.h"

namespace {

constexpr UINT kMsgPasswordsDiffer = 59179;

}  // namespace

KyTcpPwDlg::KyTcpPwDlg(KyRemoteTcpipInfo* pInfo, CWnd* pParent) : CDialog(kTemplateId, pParent), m_pInfo(pInfo) {}

BOOL KyTcpPwDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CenterWindow();
  return TRUE;
}

void KyTcpPwDlg::OnOK() {
  BeginWaitCursor();
  CString fresh, again;
  GetDlgItemText(kNew, fresh);
  GetDlgItemText(kAgain, again);
  if (fresh != again) {
    EndWaitCursor();
    KyShowMessageBox(KyFormatMessageId(kMsgPasswordsDiffer));
    return;
  }
  if (auto* p400 = dynamic_cast<KyRemote400Info*>(m_pInfo)) {
    p400->SetPassword(fresh, 0, 1);
    if (::IsDlgButtonChecked(m_hWnd, kSave) == BST_CHECKED)
      KyWriteProfileString(m_pInfo->GetSection(), "Password", p400->GetPassword(1, 1));
  } else if (m_pInfo) {
    m_pInfo->SetPasswordText(fresh);
  }
  EndWaitCursor();
  EndDialog(IDOK);
}
