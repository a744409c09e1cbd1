// Print preview: the preview view replaces the print view in its frame,
// with the preview dialog bar above it, and shows one page at a time. Each
// page is printed by the print view onto a page image of the printer (a
// printer DC without a document, at 96 dpi times the zoom) and copied onto
// the screen.
#include <afxwin.h>

#include <algorithm>

IMPLEMENT_DYNCREATE(CPreviewView, CView)

BEGIN_MESSAGE_MAP(CPreviewView, CView)
  ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
  ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnNextPage)
  ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPrevPage)
  ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPreviewPrint)
  ON_COMMAND(AFX_ID_PREVIEW_ZOOMIN, OnZoomIn)
  ON_COMMAND(AFX_ID_PREVIEW_ZOOMOUT, OnZoomOut)
END_MESSAGE_MAP()

namespace {

constexpr int kMaxZoom = 4;

}  // namespace

BOOL CView::DoPrintPreview(UINT nIDResource, CView* pPrintView, CRuntimeClass* pPreviewViewClass,
                           CPrintPreviewState* pState) {
  CFrameWnd* pParent = GetParentFrame();
  if (!pParent || !pPrintView || !pPreviewViewClass || !pState) return FALSE;
  CObject* pObject = pPreviewViewClass->CreateObject();
  auto* pView = dynamic_cast<CPreviewView*>(pObject);
  if (!pView) {
    delete pObject;
    return FALSE;
  }
  pView->m_pPreviewState = pState;
  pView->m_pOrigView = this;
  auto* pBar = new CDialogBar;
  pBar->m_bAutoDelete = TRUE;
  if (!pBar->Create(pParent, MAKEINTRESOURCE(nIDResource), CBRS_TOP | WS_VISIBLE, AFX_IDW_PREVIEW_BAR)) {
    delete pBar;
    pView->m_pPreviewState = nullptr;  // the caller keeps the state on failure
    delete pView;
    return FALSE;
  }
  pView->m_pToolBar = pBar;
  // The print view steps aside: hidden, under another id, until the end.
  pState->nIDMainPane = GetDlgCtrlID();
  pState->pViewActiveOld = dynamic_cast<CView*>(pParent->GetActiveView());
  SetDlgCtrlID(AFX_IDW_PANE_SAVE);
  ShowWindow(SW_HIDE);
  CCreateContext context;
  context.m_pCurrentFrame = pParent;
  context.m_pLastView = this;
  if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pParent, AFX_IDW_PANE_FIRST,
                     &context) ||
      !pView->SetPrintView(pPrintView)) {
    if (pView->m_hWnd) {
      pView->m_pPreviewState = nullptr;
      pView->m_pToolBar = nullptr;
      pView->DestroyWindow();
    }
    pBar->DestroyWindow();
    SetDlgCtrlID(static_cast<int>(pState->nIDMainPane));
    ShowWindow(SW_SHOW);
    pParent->RecalcLayout();
    return FALSE;
  }
  m_pPreviewState = pState;
  pParent->SetActiveView(pView);
  pParent->RecalcLayout();
  pView->OnDisplayPageNumber(pView->m_nCurrentPage, 1);
  return TRUE;
}

void CView::OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT, CPreviewView* pView) {
  OnEndPrinting(pDC, pInfo);
  CFrameWnd* pParent = GetParentFrame();
  CPrintPreviewState* pState = pView->m_pPreviewState;
  if (pView->m_pToolBar) pView->m_pToolBar->DestroyWindow();
  pView->m_pToolBar = nullptr;
  SetDlgCtrlID(pState ? static_cast<int>(pState->nIDMainPane) : AFX_IDW_PANE_FIRST);
  ShowWindow(SW_SHOW);
  m_pPreviewState = nullptr;
  pView->DestroyWindow();  // deletes the preview view and its state
  if (pParent) {
    pParent->SetActiveView(this);
    pParent->RecalcLayout();
  }
}

CPreviewView::~CPreviewView() {
  delete m_pPreviewInfo;  // deletes the printer DC it still holds
  delete m_pPreviewState;
}

BOOL CPreviewView::SetPrintView(CView* pPrintView) {
  m_pPrintView = pPrintView;
  m_pPreviewInfo = new CPrintInfo;
  m_pPreviewInfo->m_bPreview = TRUE;
  if (!pPrintView->OnPreparePrinting(m_pPreviewInfo)) return FALSE;
  m_dcPrinter.Attach(m_pPreviewInfo->m_pPD->m_pd.hDC);
  m_dcPrinter.m_bPrinting = TRUE;
  pPrintView->OnBeginPrinting(&m_dcPrinter, m_pPreviewInfo);
  m_nCurrentPage = std::max<UINT>(1, m_pPreviewInfo->GetMinPage());
  return TRUE;
}

UINT CPreviewView::GetPageCount() const { return m_pPreviewInfo ? m_pPreviewInfo->GetMaxPage() : 0; }

HDC CPreviewView::RenderPage(UINT nPage) {
  if (!m_pPreviewInfo || !m_pPrintView) return nullptr;
  m_dcPage.DeleteDC();
  // The printer's own set-up at the preview's resolution.
  DEVMODEA mode{};
  if (HGLOBAL hMode = m_pPreviewInfo->m_pPD->m_pd.hDevMode) {
    if (auto* pMode = static_cast<const DEVMODEA*>(::GlobalLock(hMode))) {
      mode = *pMode;
      ::GlobalUnlock(hMode);
    }
  }
  mode.dmSize = sizeof mode;
  mode.dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
  mode.dmPrintQuality = mode.dmYResolution = static_cast<short>(96 * m_nZoom);
  if (!m_dcPage.Attach(::CreateDCA("winspool", m_pPreviewInfo->m_pPD->GetDeviceName(), nullptr, &mode))) return nullptr;
  m_dcPage.m_bPrinting = TRUE;
  ::StartPage(m_dcPage.m_hDC);
  m_pPreviewInfo->m_nCurPage = nPage;
  m_pPrintView->OnPrepareDC(&m_dcPage, m_pPreviewInfo);
  m_pPreviewInfo->m_rectDraw.SetRect(0, 0, m_dcPage.GetDeviceCaps(HORZRES), m_dcPage.GetDeviceCaps(VERTRES));
  ::DPtoLP(m_dcPage.m_hDC, reinterpret_cast<POINT*>(&m_pPreviewInfo->m_rectDraw), 2);
  m_pPrintView->OnPrint(&m_dcPage, m_pPreviewInfo);
  ::EndPage(m_dcPage.m_hDC);
  return m_dcPage.m_hDC;
}

void CPreviewView::OnDraw(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  ::FillRect(pDC->m_hDC, &client, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
  HDC hPage = RenderPage(m_nCurrentPage);
  if (!hPage) return;
  // The page at the top left of the view, a little margin around it.
  ::SetMapMode(hPage, MM_TEXT);
  ::SetWindowOrgEx(hPage, 0, 0, nullptr);
  ::SetViewportOrgEx(hPage, 0, 0, nullptr);
  const int width = ::GetDeviceCaps(hPage, HORZRES);
  const int height = ::GetDeviceCaps(hPage, VERTRES);
  ::BitBlt(pDC->m_hDC, 8, 8, width, height, hPage, 0, 0, SRCCOPY);
}

void CPreviewView::OnDisplayPageNumber(UINT nPage, UINT nPagesDisplayed) {
  if (!m_pPreviewInfo) return;
  CString format = m_pPreviewInfo->m_strPageDesc;
  int newline = format.Find('\n');
  if (newline >= 0) format = format.Left(newline);
  CString text;
  text.Format(format, nPage);
  if (CFrameWnd* pFrame = GetParentFrame()) pFrame->SetMessageText(text);
}

void CPreviewView::OnPreviewClose() {
  CView* pOrigView = m_pOrigView;
  if (!pOrigView) return;
  pOrigView->OnEndPrintPreview(&m_dcPrinter, m_pPreviewInfo, CPoint(0, 0), this);
}

void CPreviewView::OnNextPage() {
  if (m_nCurrentPage >= GetPageCount()) return;
  ++m_nCurrentPage;
  OnDisplayPageNumber(m_nCurrentPage, 1);
  Invalidate(TRUE);
}

void CPreviewView::OnPrevPage() {
  if (m_nCurrentPage <= 1) return;
  --m_nCurrentPage;
  OnDisplayPageNumber(m_nCurrentPage, 1);
  Invalidate(TRUE);
}

void CPreviewView::OnPreviewPrint() {
  CView* pOrigView = m_pOrigView;
  OnPreviewClose();  // this view is gone now
  pOrigView->SendMessage(WM_COMMAND, ID_FILE_PRINT);
}

void CPreviewView::OnZoomIn() {
  if (m_nZoom >= kMaxZoom) return;
  ++m_nZoom;
  Invalidate(TRUE);
}

void CPreviewView::OnZoomOut() {
  if (m_nZoom <= 1) return;
  --m_nZoom;
  Invalidate(TRUE);
}
