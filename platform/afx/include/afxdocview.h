// The document architecture: documents, views, document templates, and the
// views' printing and print preview.
//
// A template makes a document, its frame and the frame's view; the view
// joins the document named by the create context. A document is deleted
// with its last view. Printing runs the framework's steps on the view:
// OnPreparePrinting (DoPreparePrinting: the print dialog, or the
// application's printer without one), OnBeginPrinting, for each page
// OnPrepareDC and OnPrint between StartPage and EndPage, OnEndPrinting.
// Print preview runs the same steps page by page onto page images of the
// printer (internal/printer.h) shown in a preview view that replaces the
// view in its frame until the preview closes.
#pragma once

#include <commdlg.h>

#include <vector>

#include "afxbars.h"
#include "afxframe.h"
#include "afxgdi.h"
#include "afxwnd.h"

class CView;
class CDocTemplate;

class CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)
 public:
  CDocument() = default;
  ~CDocument() override;

  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
  const CString& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(LPCSTR lpszTitle);
  virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

  void AddView(CView* pView);
  void RemoveView(CView* pView);
  POSITION GetFirstViewPosition() const;
  CView* GetNextView(POSITION& rPosition) const;
  const std::vector<CView*>& Views() const { return m_views; }
  void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

  virtual BOOL OnNewDocument();
  virtual void DeleteContents() {}
  // Destroys the document's frames (and so its views); the document goes
  // with its last view.
  virtual void OnCloseDocument();

  CDocTemplate* m_pDocTemplate = nullptr;
  CString m_strTitle;
  BOOL m_bModified = FALSE;
  BOOL m_bAutoDelete = TRUE;

 private:
  std::vector<CView*> m_views;
};

// The print dialog of the framework over PrintDlgA; m_pd's blocks are the
// application's printer set-up while the dialog runs.
class CPrintDialog : public CObject {
 public:
  explicit CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS |
                                                             PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                        CWnd* pParentWnd = nullptr);
  virtual INT_PTR DoModal();
  // The printer DC of m_pd's set-up (kept in m_pd.hDC), or null.
  HDC CreatePrinterDC();
  CString GetDeviceName() const;
  int GetCopies() const { return m_pd.nCopies; }
  PRINTDLGA m_pd{};
};

// What one printing or preview run knows.
class CPrintInfo {
 public:
  CPrintInfo();
  ~CPrintInfo();
  CPrintInfo(const CPrintInfo&) = delete;
  CPrintInfo& operator=(const CPrintInfo&) = delete;

  void SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = static_cast<WORD>(nMinPage); }
  void SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = static_cast<WORD>(nMaxPage); }
  UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
  UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
  UINT GetFromPage() const { return m_pPD->m_pd.nFromPage; }
  UINT GetToPage() const { return m_pPD->m_pd.nToPage; }

  CPrintDialog* m_pPD;
  BOOL m_bDirect = FALSE;    // print without the dialog
  BOOL m_bPreview = FALSE;
  BOOL m_bContinuePrinting = TRUE;
  UINT m_nCurPage = 1;
  UINT m_nNumPreviewPages = 1;
  LPVOID m_lpUserData = nullptr;
  CRect m_rectDraw;          // the page's drawing area, logical units
  CString m_strPageDesc = "Page %u\nPages %u-%u\n";
};

struct CPrintPreviewState {
  UINT nIDMainPane = AFX_IDW_PANE_FIRST;
  HMENU hMenu = nullptr;
  DWORD dwStates = 0;
  CView* pViewActiveOld = nullptr;
};

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)
 public:
  CView() = default;
  ~CView() override;

  CDocument* GetDocument() const { return m_pDocument; }
  virtual void OnDraw(CDC* pDC) = 0;
  virtual void OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }
  virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) { Invalidate(TRUE); }

  // --- printing steps ---
  virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
  virtual BOOL OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }
  virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {}
  virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo) { OnDraw(pDC); }
  virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) {}
  virtual void OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, class CPreviewView* pView);
  // The print dialog, or (direct printing, preview) the application's
  // printer without one; makes the printer DC. FALSE when cancelled or
  // when no printer DC can be made.
  BOOL DoPreparePrinting(CPrintInfo* pInfo);
  // Opens the preview in the view's frame with the dialog bar nIDResource
  // and a preview view of pPreviewViewClass; FALSE when it cannot start.
  BOOL DoPrintPreview(UINT nIDResource, CView* pPrintView, CRuntimeClass* pPreviewViewClass,
                      CPrintPreviewState* pState);

  // Views live on the heap: the object deletes itself with its window.
  void PostNcDestroy() override { delete this; }

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg void OnFilePrint();
  afx_msg void OnFilePrintPreview();
  DECLARE_MESSAGE_MAP()

 public:
  CDocument* m_pDocument = nullptr;
  CPrintPreviewState* m_pPreviewState = nullptr;  // while this view's preview runs
};

// The preview: one page at a time, drawn by the print view onto a page
// image of the printer at the screen's resolution times the zoom.
class CPreviewView : public CView {
  DECLARE_DYNCREATE(CPreviewView)
 public:
  CPreviewView() = default;
  ~CPreviewView() override;

  // Starts the preview of pPrintView; FALSE when its preparation fails.
  BOOL SetPrintView(CView* pPrintView);
  void OnDraw(CDC* pDC) override;
  // Renders page nPage (1-based) into a page image; null when it cannot.
  HDC RenderPage(UINT nPage);
  UINT GetCurrentPage() const { return m_nCurrentPage; }
  UINT GetPageCount() const;
  int GetZoom() const { return m_nZoom; }
  virtual void OnDisplayPageNumber(UINT nPage, UINT nPagesDisplayed);

  afx_msg void OnPreviewClose();
  afx_msg void OnNextPage();
  afx_msg void OnPrevPage();
  afx_msg void OnPreviewPrint();
  afx_msg void OnZoomIn();
  afx_msg void OnZoomOut();
  DECLARE_MESSAGE_MAP()

 public:
  CView* m_pPrintView = nullptr;
  CView* m_pOrigView = nullptr;
  CPrintPreviewState* m_pPreviewState = nullptr;
  CPrintInfo* m_pPreviewInfo = nullptr;
  CDialogBar* m_pToolBar = nullptr;
  CDC m_dcPrinter;      // the printer the preview stands for (attribute DC)
  CDC m_dcPage;         // the page image of the current page
  UINT m_nCurrentPage = 1;
  int m_nZoom = 1;      // page image at 96 dpi times the zoom
};

// The preview's dialog bar and commands.
#define AFX_IDD_PREVIEW_TOOLBAR 30723
#define AFX_ID_PREVIEW_CLOSE 0xE300
#define AFX_ID_PREVIEW_NUMPAGE 0xE301
#define AFX_ID_PREVIEW_NEXT 0xE302
#define AFX_ID_PREVIEW_PREV 0xE303
#define AFX_ID_PREVIEW_PRINT 0xE304
#define AFX_ID_PREVIEW_ZOOMIN 0xE305
#define AFX_ID_PREVIEW_ZOOMOUT 0xE306
#define AFX_IDW_PREVIEW_BAR 0xE805

// Makes documents of one class with their frames and views.
class CDocTemplate : public CCmdTarget {
  DECLARE_DYNAMIC(CDocTemplate)
 public:
  CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);
  ~CDocTemplate() override;

  // A new document (lpszPathName null) with its frame and view; the frame
  // is shown when bMakeVisible. Null when any part cannot be made.
  virtual CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE);
  virtual CDocument* CreateNewDocument();
  virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
  virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
  void AddDocument(CDocument* pDoc);
  void RemoveDocument(CDocument* pDoc);
  const std::vector<CDocument*>& Documents() const { return m_docs; }

  UINT m_nIDResource;
  CRuntimeClass* m_pDocClass;
  CRuntimeClass* m_pFrameClass;
  CRuntimeClass* m_pViewClass;

 private:
  std::vector<CDocument*> m_docs;
  UINT m_nUntitledCount = 0;
};

class CMultiDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CMultiDocTemplate)
 public:
  using CDocTemplate::CDocTemplate;
};

class CSingleDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CSingleDocTemplate)
 public:
  using CDocTemplate::CDocTemplate;
};
