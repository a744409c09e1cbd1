// KyOptions: the run-options dialog (template 108 of the language library):
// a list of the option groups and the path of the INI file. OK on the
// AS/400 entry opens the AS/400 options.
#pragma once

#include <afxwin.h>

class KyOptions : public CDialog {
 public:
  static constexpr UINT kTemplateId = 108;

  explicit KyOptions(CWnd* pParent = nullptr) : CDialog(kTemplateId, pParent) {}

  int m_iSelection = -1;  // the list's selected entry
  CString m_strIniPath;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;
};
