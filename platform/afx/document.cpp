// CDocument and the document templates that make documents with their
// frames and views.
#include <afxwin.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocument::~CDocument() {
  // Views still attached (a document deleted by its owner) forget it.
  for (CView* pView : m_views) pView->m_pDocument = nullptr;
  if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR lpszTitle) {
  m_strTitle = lpszTitle ? lpszTitle : "";
  for (CView* pView : m_views) {
    if (CFrameWnd* pFrame = pView->GetParentFrame()) pFrame->OnUpdateFrameTitle(TRUE);
  }
}

void CDocument::AddView(CView* pView) {
  if (!pView || std::find(m_views.begin(), m_views.end(), pView) != m_views.end()) return;
  m_views.push_back(pView);
  pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
  auto it = std::find(m_views.begin(), m_views.end(), pView);
  if (it == m_views.end()) return;
  m_views.erase(it);
  pView->m_pDocument = nullptr;
  if (m_views.empty() && m_bAutoDelete) delete this;
}

POSITION CDocument::GetFirstViewPosition() const {
  return m_views.empty() ? nullptr : reinterpret_cast<POSITION>(static_cast<uintptr_t>(1));
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
  // The position is the 1-based index of the next view.
  size_t index = reinterpret_cast<uintptr_t>(rPosition);
  if (index == 0 || index > m_views.size()) {
    rPosition = nullptr;
    return nullptr;
  }
  CView* pView = m_views[index - 1];
  rPosition = index < m_views.size() ? reinterpret_cast<POSITION>(static_cast<uintptr_t>(index + 1)) : nullptr;
  return pView;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
  for (CView* pView : std::vector<CView*>(m_views)) {
    if (pView != pSender) pView->OnUpdate(pSender, lHint, pHint);
  }
}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CDocument::OnCloseDocument() {
  // The last view's destruction deletes the document: keep it until all
  // frames are gone, then delete it once.
  BOOL bAutoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;
  while (!m_views.empty()) {
    CView* pView = m_views.front();
    CFrameWnd* pFrame = pView->GetParentFrame();
    if (pFrame) {
      pFrame->DestroyWindow();
    } else {
      pView->DestroyWindow();
    }
    // A view that is still here (no window) leaves the document anyway.
    if (!m_views.empty() && m_views.front() == pView) RemoveView(pView);
  }
  m_bAutoDelete = bAutoDelete;
  DeleteContents();
  if (m_bAutoDelete) delete this;
}

// --- templates ------------------------------------------------------------------

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass) {}

CDocTemplate::~CDocTemplate() {
  // Documents outlive no template: they are closed with it.
  while (!m_docs.empty()) {
    CDocument* pDoc = m_docs.back();
    m_docs.pop_back();
    pDoc->m_pDocTemplate = nullptr;
    pDoc->OnCloseDocument();
  }
}

void CDocTemplate::AddDocument(CDocument* pDoc) {
  m_docs.push_back(pDoc);
  pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
  auto it = std::find(m_docs.begin(), m_docs.end(), pDoc);
  if (it != m_docs.end()) m_docs.erase(it);
  pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument() {
  CObject* pObject = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
  auto* pDoc = dynamic_cast<CDocument*>(pObject);
  if (!pDoc) {
    delete pObject;
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  AddDocument(pDoc);
  return pDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
  CCreateContext context;
  context.m_pCurrentFrame = pOther;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  CObject* pObject = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
  auto* pFrame = dynamic_cast<CFrameWnd*>(pObject);
  if (!pFrame) {
    delete pObject;
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // A frame that fails to load has deleted itself with its window.
  if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) return nullptr;
  return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
  if (auto* pView = dynamic_cast<CView*>(pFrame->GetActiveView())) pView->OnInitialUpdate();
  pFrame->OnUpdateFrameTitle(TRUE);
  if (bMakeVisible) pFrame->ActivateFrame();
}

CDocument* CDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible) {
  if (lpszPathName) {  // documents here are made, never read from files
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  CDocument* pDoc = CreateNewDocument();
  if (!pDoc) return nullptr;
  // The frame's view keeps the document; without one it goes now.
  BOOL bAutoDelete = pDoc->m_bAutoDelete;
  pDoc->m_bAutoDelete = FALSE;
  CFrameWnd* pFrame = CreateNewFrame(pDoc, nullptr);
  pDoc->m_bAutoDelete = bAutoDelete;
  if (!pFrame) {
    delete pDoc;
    return nullptr;
  }
  CString title;
  title.Format("Untitled%u", ++m_nUntitledCount);
  pDoc->SetTitle(title);
  if (!pDoc->OnNewDocument()) {
    pFrame->DestroyWindow();
    return nullptr;
  }
  InitialUpdateFrame(pFrame, pDoc, bMakeVisible);
  return pDoc;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
  if (pTemplate) m_templateList.push_back(pTemplate);
}
