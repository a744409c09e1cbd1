// CView: a document's window, and the framework's printing steps on it.
#include <afxwin.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CView::~CView() {
  if (m_pDocument) m_pDocument->RemoveView(this);  // may delete the document
}

int CView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  auto* pContext = lpcs ? static_cast<CCreateContext*>(lpcs->lpCreateParams) : nullptr;
  if (pContext && pContext->m_pCurrentDoc) pContext->m_pCurrentDoc->AddView(this);
  return 0;
}

void CView::OnDestroy() {
  CFrameWnd* pFrame = GetParentFrame();
  if (pFrame && pFrame->GetActiveView() == this) pFrame->SetActiveView(nullptr, FALSE);
  CWnd::OnDestroy();
}

void CView::OnPaint() {
  CPaintDC dc(this);
  OnPrepareDC(&dc);
  OnDraw(&dc);
}

void CView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  // Without a known last page one page is printed.
  if (pInfo) pInfo->m_bContinuePrinting = pInfo->GetMaxPage() != 0xFFFF || pInfo->m_nCurPage == 1;
}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo) {
  CWinApp* pApp = AfxGetApp();
  if (!pApp || !pInfo) return FALSE;
  PRINTDLGA& pd = pInfo->m_pPD->m_pd;
  if (pInfo->m_bPreview || pInfo->m_bDirect) {
    // The application's printer as it is: no dialog.
    if (!pApp->GetPrinterDeviceDefaults(&pd)) return FALSE;
    if (!pd.hDC && !pInfo->m_pPD->CreatePrinterDC()) return FALSE;
    pd.nFromPage = static_cast<WORD>(pInfo->GetMinPage());
    pd.nToPage = static_cast<WORD>(pInfo->GetMaxPage());
  } else {
    pd.Flags |= PD_RETURNDC;
    if (pApp->DoPrintDialog(pInfo->m_pPD) != IDOK) return FALSE;
    if (!pd.hDC && !pInfo->m_pPD->CreatePrinterDC()) return FALSE;
  }
  return pd.hDC != nullptr;
}

CPrintInfo::CPrintInfo() : m_pPD(new CPrintDialog(FALSE)) {
  SetMinPage(1);
  SetMaxPage(0xFFFF);
  m_pPD->m_pd.nFromPage = 1;
  m_pPD->m_pd.nToPage = 0xFFFF;
}

CPrintInfo::~CPrintInfo() {
  // The set-up blocks are the application's; the DC is this run's.
  if (m_pPD->m_pd.hDC) ::DeleteDC(m_pPD->m_pd.hDC);
  delete m_pPD;
}

void CView::OnFilePrint() {
  CPrintInfo printInfo;
  const MSG* pMsg = GetCurrentMessage();
  if (pMsg && pMsg->message == WM_COMMAND && LOWORD(pMsg->wParam) == ID_FILE_PRINT_DIRECT) printInfo.m_bDirect = TRUE;
  if (!OnPreparePrinting(&printInfo)) return;
  CDC dcPrint;
  dcPrint.Attach(printInfo.m_pPD->m_pd.hDC);
  dcPrint.m_bPrinting = TRUE;
  CString title = m_pDocument ? m_pDocument->GetTitle() : CString();
  DOCINFOA docInfo{sizeof docInfo, title};
  OnBeginPrinting(&dcPrint, &printInfo);
  if (::StartDocA(dcPrint.m_hDC, &docInfo) <= 0) {
    OnEndPrinting(&dcPrint, &printInfo);
    dcPrint.Detach();  // printInfo deletes it
    AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT);
    return;
  }
  UINT nEndPage = std::min(printInfo.GetToPage(), printInfo.GetMaxPage());
  BOOL bError = FALSE;
  for (printInfo.m_nCurPage = printInfo.GetFromPage(); printInfo.m_nCurPage <= nEndPage; ++printInfo.m_nCurPage) {
    OnPrepareDC(&dcPrint, &printInfo);
    if (!printInfo.m_bContinuePrinting) break;
    printInfo.m_rectDraw.SetRect(0, 0, dcPrint.GetDeviceCaps(HORZRES), dcPrint.GetDeviceCaps(VERTRES));
    ::DPtoLP(dcPrint.m_hDC, reinterpret_cast<POINT*>(&printInfo.m_rectDraw), 2);
    if (::StartPage(dcPrint.m_hDC) <= 0) {
      bError = TRUE;
      break;
    }
    OnPrint(&dcPrint, &printInfo);
    if (::EndPage(dcPrint.m_hDC) <= 0) {
      bError = TRUE;
      break;
    }
  }
  if (bError) {
    ::AbortDoc(dcPrint.m_hDC);
  } else {
    ::EndDoc(dcPrint.m_hDC);
  }
  OnEndPrinting(&dcPrint, &printInfo);
  dcPrint.Detach();
}

void CView::OnFilePrintPreview() {
  auto* pState = new CPrintPreviewState;
  if (!DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, this, RUNTIME_CLASS(CPreviewView), pState)) {
    AfxMessageBox(AFX_IDP_COMMAND_FAILURE);
    delete pState;
  }
}
