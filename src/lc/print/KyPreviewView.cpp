#include "KyPreviewView.h"

#include "CPrtView.h"

IMPLEMENT_DYNCREATE(KyPreviewView, CPreviewView)

BEGIN_MESSAGE_MAP(KyPreviewView, CPreviewView)
  ON_WM_CREATE()
  ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPreviewPrint)
END_MESSAGE_MAP()

KyPreviewView::~KyPreviewView() {
  CPrtView* pView = CPrtView::GetCurrent();
  if (pView && pView->GetPreview() == this) pView->SetPreview(nullptr);
}

int KyPreviewView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CPreviewView::OnCreate(lpcs) == -1) return -1;
  if (CPrtView* pView = CPrtView::GetCurrent()) pView->SetPreview(this);
  return 0;
}

void KyPreviewView::OnDisplayPageNumber(UINT nPage, UINT) {
  CFrameWnd* pFrame = GetParentFrame();
  if (!pFrame) return;
  CString text;
  text.Format("Page %u", nPage);
  pFrame->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(text)));
}

void KyPreviewView::OnPreviewPrint() {
  if (CFrameWnd* pFrame = GetParentFrame()) pFrame->SendMessage(WM_COMMAND, ID_FILE_PRINT);
}
