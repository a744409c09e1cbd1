// KyPanel's frame by window kind (Init), the scale base, showing the panel
// (StartPanel) and laying its controls out.
#include <afxwin.h>

#include <mscrt.h>

#include "KyAppServices.h"
#include "KyCtrl.h"
#include "KyFunctionData.h"
#include "KyMessage.h"
#include "KyPanel.h"

#include "KyActiveXScripter.h"
#include "KyPanelFrames.h"
#include "KyRTType.h"
#include "KyResourceScope.h"
#include "KyDragDrop.h"
#include "KySite.h"
#include "KySplitter.h"
#include "KyWinClientApp.h"
#include "KyWindowPlacement.h"
#include "KyZOrderMngr.h"

namespace {

constexpr int kScalingOption = 44;
constexpr UINT kNoParentDialog = 59182;
constexpr UINT kNoParentPane = 59181;
constexpr UINT kNoSiteParent = 59149;
constexpr UINT kSecondMDIFrame = 57382;
constexpr UINT kNoWindow = 57383;
constexpr int kAfterShowing = 29;

// The kinds' style bits, added to the caller's.
constexpr DWORD kMDIChildStyle = 0x44800000;  // WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER
constexpr DWORD kDialogStyle = 0x80800080;    // WS_POPUP | WS_BORDER | DS_MODALFRAME
constexpr DWORD kMDIFrameStyle = 0x02800000;  // WS_CLIPCHILDREN | WS_BORDER

// The texts are the language library's: the box reads them with the module
// that was current before the panel's own.
void stopBox(UINT nId, HINSTANCE hLanguage) {
  const HINSTANCE hCurrent = AfxGetResourceHandle();
  if (hLanguage) AfxSetResourceHandle(hLanguage);
  KyMessage::Box(MB_ICONSTOP, "%s", KyGetMessageText(nId));
  AfxSetResourceHandle(hCurrent);
}

}  // namespace

int KyPanel::ScaleX(int x) const { return m_iDesignX ? MulDiv(x, m_iScaleX, m_iDesignX) : x; }
int KyPanel::ScaleY(int y) const { return m_iDesignY ? MulDiv(y, m_iScaleY, m_iDesignY) : y; }

int KyPanel::Init(int iKind, DWORD dwStyle, DWORD dwOptions, DWORD dwDesignBaseUnits, int iPlacement, int fRestore) {
  const HINSTANCE hPrevious = AfxGetResourceHandle();
  m_hLanguageModule = hPrevious;
  if (!m_pParentPanel && iKind == KyDialogUnderParent) {
    stopBox(kNoParentDialog, hPrevious);
    return 0;
  }
  if (!m_pParentPanel && iKind == KySplitterPane) {
    stopBox(kNoParentPane, hPrevious);
    return 0;
  }
  if (iKind == KySiteChild) {
    if (!m_pParentPanel || !m_pParentPanel->HasCurrentSite() || m_pParentPanel->GetKind() == KyMDIFrame) {
      stopBox(kNoSiteParent, hPrevious);
      return 0;
    }
    fRestore = 0;
  }
  KyResourceScope scope(this);
  m_fRestore = fRestore;
  m_iPlacement = iPlacement;
  m_iKind = iKind;

  m_iDesignX = LOWORD(dwDesignBaseUnits);
  m_iDesignY = HIWORD(dwDesignBaseUnits);
  const LONG system = GetDialogBaseUnits();
  m_iScaleX = LOWORD(system);
  m_iScaleY = HIWORD(system);
  if (iKind != KySiteChild) {
    // "Normal" or empty keeps the design; "None" scales to this system's
    // units. Any other value keeps the design too: a panel never scales by
    // an unset base.
    const char* pszScaling = KyGetRunOption(kScalingOption);
    if (_stricmp(pszScaling, "None") != 0) {
      m_iScaleX = m_iDesignX;
      m_iScaleY = m_iDesignY;
    }
  }

  m_dwOptions = dwOptions;
  dwStyle |= WS_BORDER;
  if (m_iKind == KyMDIChild && !KyGetMDIFrame()) {
    m_iKind = KyTopWindow;
    m_fDemoted = 1;
  } else if (m_iKind == KyMDIFrame && KyGetMDIFrame()) {
    stopBox(kSecondMDIFrame, hPrevious);
    m_iKind = KySecondMDIFrame;
  }
  createFrame(dwStyle, hPrevious);

  if (m_pFrame) {
    if (KyWinClientApp* pApp = KyGetClientApp()) pApp->AddPanel(this);
    measureCreationClient();
    m_pDragDrop = std::make_unique<KyPanelDragDrop>(this, m_hWnd, m_dwOptions);
  }
  m_pZOrder = std::make_unique<KyZOrderMngr>();
  if (m_hResInstance && FindResourceA(m_hResInstance, "POPUPS", RT_MENU))
    m_hPopups = LoadMenuA(m_hResInstance, "POPUPS");
  if (m_iKind == KySiteChild && m_pFrame) {
    auto* pSite = dynamic_cast<KySite*>(m_pParentPanel->m_pCurrentSite);
    if (pSite && pSite->AddChildPanel(this, pSite->GetNextPosition())) m_pSite = pSite;
  }
  return m_pFrame != nullptr;
}

void KyPanel::createFrame(DWORD dwStyle, HINSTANCE hPrevious) {
  KyFramePart* pPart = nullptr;
  CWnd* pFrame = nullptr;
  switch (m_iKind) {
    case KyTopWindow: {
      auto* p = new KyTopWin(this, dwStyle, m_dwOptions);
      if (p->IsCreated()) pFrame = p, pPart = p;
      else delete p;
      break;
    }
    case KyMDIChild: {
      auto* p = new KyMDIChildWin(this, KyGetMDIFrame(), dwStyle | kMDIChildStyle, m_dwOptions);
      if (p->IsCreated()) pFrame = p, pPart = p;
      else delete p;
      break;
    }
    case KyMDIFrame: {
      auto* p = new KyMDIWin(this, dwStyle | kMDIFrameStyle, m_dwOptions);
      if (p->IsCreated()) pFrame = p, pPart = p;
      else delete p;
      break;
    }
    case KyDialog:
    case KyDialogUnderParent: {
      // The templates are the language library's: the module that was
      // current before the panel's own.
      HWND hOwner = m_pParentPanel ? m_pParentPanel->hHandle() : nullptr;
      auto* p = new KyDialogWin(this, hOwner, dwStyle | kDialogStyle, hPrevious, m_iKind, m_dwOptions);
      if (p->IsCreated()) pFrame = p, pPart = p;
      else delete p;
      break;
    }
    case KySplitterPane: {
      // The pane's view lives in the view of the first ancestor that is
      // not a pane; hosts are top windows, MDI children and site children.
      KyPanel* pHost = GetPaneHostPanel();
      const int hostKind = pHost ? pHost->GetKind() : -1;
      if (!pHost || !pHost->ViewHandle() || (hostKind != KyTopWindow && hostKind != KyMDIChild && hostKind != KySiteChild))
        break;
      auto* p = new KySplitterChild(this, pHost->ViewHandle(), hPrevious, m_dwOptions);
      if (p->IsCreated()) pFrame = p, pPart = p;
      else delete p;
      break;
    }
    case KySiteChild: {
      // A child dialog on the parent's view in the current site: the
      // caller's style gives way to the child's.
      auto* pSite = dynamic_cast<KySite*>(m_pParentPanel->m_pCurrentSite);
      if (!pSite) break;
      DWORD style = pSite->IsVisible() ? (WS_CHILD | WS_VISIBLE) : WS_CHILD;
      if (m_ChildOptions[1]) style |= WS_TABSTOP;
      if (m_ChildOptions[2]) style |= WS_BORDER;
      auto* p = new KyDialogWin(this, m_pParentPanel->ViewHandle(), style, hPrevious, KySiteChild, m_dwOptions);
      if (p->IsCreated()) pFrame = p, pPart = p;
      else delete p;
      if (pFrame) ::BringWindowToTop(pFrame->m_hWnd);
      break;
    }
    default:
      break;
  }
  if (!pFrame) {
    stopBox(kNoWindow, hPrevious);
    return;
  }
  m_pFrame = pFrame;
  m_hWnd = pFrame->m_hWnd;
  m_hView = pPart->GetViewWindow();
  // Scripts of the panel run on the frame, its events through the frame.
  m_pScripter = std::make_unique<KyActiveXScripter>(pFrame, pPart);
}

void KyPanel::measureCreationClient() {
  RECT rc{};
  if (m_hView) ::GetClientRect(m_hView, &rc);
  m_CreationClient = SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

void KyPanel::FrameDestroyed() {
  m_pScripter.reset();
  m_pFrame = nullptr;
  m_hWnd = nullptr;
  m_hView = nullptr;
  if (m_pFunctionData) m_pFunctionData->PanelWindowGone(this);
}

void KyPanel::destroyFrame() {
  if (!m_pFrame) return;
  if (auto* pPart = dynamic_cast<KyFramePart*>(m_pFrame)) pPart->Detach();
  CWnd* pFrame = m_pFrame;
  FrameDestroyed();
  pFrame->DestroyWindow();
}

void KyPanel::LayoutControls() {
  if (m_Controls.empty() || !m_hView) return;
  if (m_iNesting > 0) {
    // During an event the moves gather in the event's batch: the controls
    // move once, when the event ends.
    if (!m_hEventBatch) m_hEventBatch = BeginDeferWindowPos(static_cast<int>(m_Controls.size()));
    for (const auto& pControl : m_Controls) m_hEventBatch = pControl->ResizeWithPanel(m_hEventBatch, 0);
    return;
  }
  HDWP hBatch = BeginDeferWindowPos(static_cast<int>(m_Controls.size()));
  for (const auto& pControl : m_Controls) hBatch = pControl->ResizeWithPanel(hBatch, 0);
  if (hBatch) EndDeferWindowPos(hBatch);
}

HWND KyPanel::FirstTabWindow() const {
  if (!m_pZOrder) return nullptr;
  for (HWND hWnd : m_pZOrder->Windows())
    if (IsWindowVisible(hWnd) && IsWindowEnabled(hWnd)) return hWnd;
  return nullptr;
}

void KyPanel::SetTabSequence(HWND hWnd, int iPosition) {
  if (m_pZOrder && hWnd) m_pZOrder->Add(hWnd, iPosition, 0);
}

void KyPanel::StartPanel() {
  KyResourceScope scope(this);
  m_fStarting = 1;
  LayoutControls();
  if (m_pZOrder) m_pZOrder->DrawAll(0);
  m_fShown = 1;
  KyWinClientApp* pApp = KyGetClientApp();
  if (pApp) pApp->BusyOff();
  if (!m_pFrame) {
    m_fStarting = 0;
    return;
  }
  const char* pszKey = m_pFunctionData ? m_pFunctionData->GetImplementationName().GetString() : "";
  if (m_iKind == KySplitterPane) {
    KyPanel* pHost = GetPaneHostPanel();
    KySplitterHost* pSplitterHost = pHost ? pHost->GetSplitterHost() : nullptr;
    if (!pSplitterHost || !pSplitterHost->AddPane(this)) {
      // No room for another row or column: the pane stays hidden.
      ::ShowWindow(m_hWnd, SW_HIDE);
      m_fStarting = 0;
      return;
    }
  }
  // A panel that keeps its placement but has none stored yet shows as made.
  const int fRestored = m_fRestore ? KyRestoreWindowPos(m_hWnd, kPanelPlacementSuffix, pszKey, this) : 0;
  for (const auto& pControl : m_Controls) pControl->RestoreSettings(kPanelPlacementSuffix, pszKey);

  if (HWND hFirst = FirstTabWindow()) {
    ::SetFocus(hFirst);
    m_hFocus = hFirst;
  }
  if (m_iKind == KyMDIChild || !fRestored) ::ShowWindow(m_hWnd, SW_SHOW);
  if (CWnd* pClient = KyGetMDIClient()) {
    pClient->SendMessage(WM_SETREDRAW, TRUE, 0);
    if (m_iKind == KyMDIChild)
      ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  }
  ::UpdateWindow(m_hWnd);
  ::BringWindowToTop(m_hWnd);
  RestoreFocus();
  if (pApp) pApp->SetActivePanel(this);
  m_fStarting = 0;
  TriggerEvent(-1, kAfterShowing);
  ActivateToolTips();
  RefreshStatusBar();
  if (KyFramePart* pPart = GetFramePart()) {
    pPart->ShowToolBars(m_ButtonSets);
    // The bars go where the panel's function had them when it last closed.
    if ((m_iKind == KyTopWindow || m_iKind == KyMDIFrame) && !m_ButtonSets.empty()) pPart->LoadDockState(pszKey);
  }
  UpdateDefaultButton(::GetFocus());
  if (m_iKind == KyDialog && m_pFrame) {
    auto* pDialog = dynamic_cast<KyDialogWin*>(m_pFrame);
    pDialog->RunPanelLoop(m_pParentPanel ? m_pParentPanel->hHandle() : nullptr);
  }
}
