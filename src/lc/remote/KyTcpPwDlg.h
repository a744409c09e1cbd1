// KyTcpPwDlg: the password-change dialog of a TCP/IP location (template 203
// of the language library): the new password twice (1022, 1023) and a
// check box that saves it (1024). Two different texts show message 59179
// and keep the dialog open. OK makes an AS/400's text the new password to
// send (its stored form written to "Password" when saved); another
// location's password text is set as it is.
#pragma once

#include <afxwin.h>

class KyRemoteTcpipInfo;

class KyTcpPwDlg : public CDialog {
 public:
  static constexpr UINT kTemplateId = 203;
  static constexpr int kNew = 1022, kAgain = 1023, kSave = 1024;

  explicit KyTcpPwDlg(KyRemoteTcpipInfo* pInfo, CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  KyRemoteTcpipInfo* m_pInfo;  // the location's record, not owned
};
