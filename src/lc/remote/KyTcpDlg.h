// KyTcpDlg: the sign-on dialog of a TCP/IP location (template 201 of the
// language library): host name (1026), user id (1028) and password (1024),
// each with a check box that saves it (1021, 1022, 1023). OK puts the
// values into the location's record: an AS/400 user id upper-cased and the
// password set (remembered with 1023, whose stored form is then written to
// "Password"); another location's password text as it is. The saved host
// and user id are written to "System" and "UserId".
#pragma once

#include <afxwin.h>

class KyRemoteTcpipInfo;

class KyTcpDlg : public CDialog {
 public:
  static constexpr UINT kTemplateId = 201;
  static constexpr int kSaveHost = 1021, kSaveUser = 1022, kSavePassword = 1023, kPassword = 1024, kHost = 1026,
                       kUser = 1028;

  explicit KyTcpDlg(KyRemoteTcpipInfo* pInfo, CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  KyRemoteTcpipInfo* m_pInfo;  // the location's record, not owned
};
