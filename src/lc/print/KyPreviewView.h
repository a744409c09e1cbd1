// KyPreviewView: the report's print preview. Its print command goes to the
// preview's frame, its page number to the frame's status line, and its end
// tells the report view that no preview is open.
#pragma once

#include <afxwin.h>

class KyPreviewView : public CPreviewView {
  DECLARE_DYNCREATE(KyPreviewView)
 public:
  KyPreviewView() = default;
  ~KyPreviewView() override;

  void OnDisplayPageNumber(UINT nPage, UINT nPagesDisplayed) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnPreviewPrint();
  DECLARE_MESSAGE_MAP()
};
