// The browse dialog of registered controls (dialog 15030 "Registered
// ActiveX Controls"): one row per registered control, the selected class's
// server and icon, its vendor's help, and registration of another control
// module.
#pragma once

#include <afxwin.h>

#include <memory>
#include <vector>

#include "KyActiveXInfo.h"

class KyActiveXBrowseDlg : public CDialog {
 public:
  explicit KyActiveXBrowseDlg(CWnd* parent);
  ~KyActiveXBrowseDlg() override;

  // The chosen row after OK ("" when none was chosen).
  CString m_displayName;
  CString m_progId;

  // The row selected now, or null.
  const KyActiveXInfoImpl* GetSelection() const;
  HWND GetList() const;

 protected:
  // Ends with Cancel when HKEY_CLASSES_ROOT cannot be opened.
  BOOL OnInitDialog() override;
  void OnOK() override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  void fill();
  void showSelection();
  void registerModule();
  bool selectByServer(const CString& file);

  std::vector<std::unique_ptr<KyActiveXInfoImpl>> m_rows;
  HICON m_icon = nullptr;  // the server's icon shown, when it is a copy of ours
};
