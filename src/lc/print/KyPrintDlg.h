// KyPrintDlg: the choice at the end of a report (language library template
// 200): preview, print, printer set-up or cancel. Owned by the report
// view's frame; its buttons act on that frame.
#pragma once

#include <afxwin.h>

class KyPrintDlg : public CDialog {
 public:
  enum { IDD = 200 };
  explicit KyPrintDlg(CView* pView);

  afx_msg void OnPreview();
  afx_msg void OnPrint();
  afx_msg void OnSetup();
  void OnCancel() override;
  DECLARE_MESSAGE_MAP()

 private:
  CFrameWnd* m_pFrame;
};
