// CMainFrame: the frame the runner's report document uses (print preview):
// a plain frame with a status bar of the message pane and the caps, num and
// scroll lock indicators, titled with the language library's log title.
#pragma once

#include <afxext.h>
#include <afxframe.h>
#include <afxres.h>

class CMainFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  CMainFrame() = default;

  CStatusBar m_wndStatusBar;

  void OnUpdateFrameTitle(BOOL bAddToTitle) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  DECLARE_MESSAGE_MAP()
};
