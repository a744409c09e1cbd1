#include "CPrtView.h"

#include "KyAppServices.h"
#include "KyPreviewView.h"
#include "KyPrintDlg.h"
#include "KyProfile.h"
#include "KyWindowPlacement.h"

IMPLEMENT_DYNCREATE(CPrtView, CView)

BEGIN_MESSAGE_MAP(CPrtView, CView)
  ON_COMMAND(ID_KY_START_REPORT, OnStartReport)
  ON_COMMAND(ID_FILE_PRINT, OnPrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnPrintPreview)
END_MESSAGE_MAP()

namespace {

// The module's current report view (the UI thread's only).
CPrtView* currentView = nullptr;

constexpr char kPreviewSection[] = "Preview";
constexpr char kPlacementKey[] = "Placement";

}  // namespace

CPrtView::CPrtView() { currentView = this; }

CPrtView::~CPrtView() {
  if (currentView == this) currentView = nullptr;
  m_Dev.AttachDC(nullptr);
}

CPrtView* CPrtView::GetCurrent() { return currentView; }

void CPrtView::freeReportContext() {
  // The device must not keep a context that is going.
  if (m_pDC && m_Dev.GetDC() == m_pDC.get()) m_Dev.AttachDC(nullptr);
  m_Dev.SetPrinterInfo(nullptr);
  m_pInfo.reset();
  m_pDC.reset();
}

BOOL CPrtView::OnPreparePrinting(CPrintInfo* pInfo) {
  if (!KyGetProfileBool("Printing", "No Dialog", 0)) return DoPreparePrinting(pInfo);
  // The application's printer without a dialog; the page range stays.
  const WORD nFrom = pInfo->m_pPD->m_pd.nFromPage;
  const WORD nTo = pInfo->m_pPD->m_pd.nToPage;
  const BOOL fDirect = pInfo->m_bDirect;
  pInfo->m_bDirect = TRUE;
  BOOL fPrepared = DoPreparePrinting(pInfo);
  pInfo->m_bDirect = fDirect;
  pInfo->m_pPD->m_pd.nFromPage = nFrom;
  pInfo->m_pPD->m_pd.nToPage = nTo;
  return fPrepared;
}

void CPrtView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  CView::OnPrepareDC(pDC, pInfo);
  if (!pInfo) return;
  m_Dev.AttachDC(pDC);
  m_Dev.SetPrinterInfo(pInfo);
}

void CPrtView::OnBeginPrinting(CDC*, CPrintInfo* pInfo) {
  m_Dev.StartRead();
  pInfo->SetMaxPage(m_Dev.GetNumPages());
}

void CPrtView::OnPrint(CDC*, CPrintInfo* pInfo) {
  KyBusy();
  m_Dev.PrintPage(static_cast<int>(pInfo->m_nCurPage));
}

void CPrtView::OnEndPrinting(CDC*, CPrintInfo*) {
  m_Dev.EndRead();
  // The printing DC goes after this step: the device lets go of it.
  m_Dev.AttachDC(nullptr);
  m_Dev.SetPrinterInfo(nullptr);
}

void CPrtView::OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CPreviewView* pView) {
  CFrameWnd* pFrame = GetParentFrame();
  if (pFrame) KySaveWindowPos(pFrame->m_hWnd, kPlacementKey, kPreviewSection, nullptr);
  CView::OnEndPrintPreview(pDC, pInfo, point, pView);
  CWinApp* pApp = AfxGetApp();
  CWnd* pMain = m_hMainBeforePreview ? CWnd::FromHandlePermanent(m_hMainBeforePreview) : nullptr;
  if (pApp && (!pApp->m_pMainWnd || pApp->m_pMainWnd == pFrame)) pApp->m_pMainWnd = pMain;
  m_hMainBeforePreview = nullptr;
  if (m_fCloseAfterPreview && pFrame) {
    pFrame->SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    if (pMain && pMain->m_hWnd) {
      pMain->SetFocus();
      pMain->ShowWindow(SW_SHOW);
    }
  }
}

void CPrtView::StartReport() {
  if (m_pPreview) {
    // An earlier report's preview closes; its frame stays for this one.
    m_fCloseAfterPreview = FALSE;
    m_pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
    m_fCloseAfterPreview = TRUE;
    if (CFrameWnd* pFrame = GetParentFrame()) pFrame->UpdateWindow();
  }
  freeReportContext();
  m_pInfo = std::make_unique<CPrintInfo>();
  const BOOL fDirect = m_pInfo->m_bDirect;
  m_pInfo->m_bDirect = TRUE;
  BOOL fPrepared = OnPreparePrinting(m_pInfo.get());
  m_pInfo->m_bDirect = fDirect;
  if (!fPrepared || !m_pInfo->m_pPD->m_pd.hDC) return;  // no printer: the report's commands do nothing
  m_pDC = std::make_unique<CDC>();
  m_pDC->Attach(m_pInfo->m_pPD->m_pd.hDC);
  m_pInfo->m_pPD->m_pd.hDC = nullptr;  // the CDC owns it now
  m_pDC->m_bPrinting = TRUE;
  SetMapMode(m_pDC->m_hDC, MM_TWIPS);
  m_pInfo->m_rectDraw.SetRect(0, 0, m_pDC->GetDeviceCaps(HORZRES), m_pDC->GetDeviceCaps(VERTRES));
  DPtoLP(m_pDC->m_hDC, reinterpret_cast<POINT*>(&m_pInfo->m_rectDraw), 2);
  m_Dev.AttachDC(m_pDC.get());
  m_Dev.SetPrinterInfo(m_pInfo.get());
  m_Dev.StartSpool();
  KyBusy();
}

void CPrtView::EndReport(int iMode) {
  m_Dev.EndSpool();
  if (!m_pDC) return;
  freeReportContext();
  switch (iMode) {
    case 0: {
      KyPrintDlg dlg(this);
      dlg.DoModal();
      break;
    }
    case 1:
      OnFilePrint();
      if (CFrameWnd* pFrame = GetParentFrame()) pFrame->SendMessage(WM_SYSCOMMAND, SC_CLOSE);
      break;
    case 2:
      ShowPreview();
      break;
    default:
      break;
  }
}

void CPrtView::ShowPreview() {
  CFrameWnd* pFrame = GetParentFrame();
  CWinApp* pApp = AfxGetApp();
  if (!pFrame || !pApp) return;
  // The frame is the application's main window while the preview shows.
  m_hMainBeforePreview = pApp->m_pMainWnd ? pApp->m_pMainWnd->m_hWnd : nullptr;
  pApp->m_pMainWnd = pFrame;
  KyRestoreWindowPos(pFrame->m_hWnd, kPlacementKey, kPreviewSection, nullptr);
  pFrame->ShowWindow(SW_SHOW);
  auto* pState = new CPrintPreviewState;
  if (!DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, this, RUNTIME_CLASS(KyPreviewView), pState)) {
    delete pState;
    pApp->m_pMainWnd = m_hMainBeforePreview ? CWnd::FromHandlePermanent(m_hMainBeforePreview) : nullptr;
    m_hMainBeforePreview = nullptr;
    AfxMessageBox(AFX_IDP_COMMAND_FAILURE, MB_OK | MB_ICONINFORMATION);
  }
}
