#include "KyPanelFrames.h"

#include <afxocc.h>

#include <afxext.h>

#include <cctype>
#include <cstring>
#include <vector>

#include "KyCtrl.h"
#include "KyFunctionData.h"
#include "KyMDIClient.h"
#include "KyOptions.h"
#include "KyPanel.h"
#include "KyProfile.h"
#include "KyResourceStrings.h"
#include "KyVBXCtrlManager.h"
#include "KyToolBar.h"
#include "KyWinClientApp.h"
#include "KyWindowPlacement.h"

namespace {

constexpr int kTimerTick = 10, kCommand = 7;
constexpr int kSaveRestored = 0, kSaveMaximized = 2;  // modes of KySaveWindowMaximized
constexpr UINT kFirstMenuCommand = 4096;  // ids above are menu commands
constexpr int kMouseMoved = 15, kButtonPressed = 16;
constexpr UINT kViewId = 59648;          // AFX_IDW_PANE_FIRST
constexpr DWORD kViewStyle = 0x50800000;  // WS_CHILD | WS_VISIBLE | WS_BORDER
constexpr UINT kSizingTemplate = 111;
constexpr UINT kDialogTemplate = 103;
constexpr UINT kChildTemplate = 300;
constexpr UINT kStatusBarId = 59393;         // AFX_IDW_STATUS_BAR
constexpr DWORD kStatusBarStyle = 0x50008200;  // child, visible, bottom, top border
constexpr UINT kFrameIcon = 106;
constexpr UINT kFrameResource = 5;  // menu, icon, accelerators and title of the panel library
constexpr UINT kOptionsCommand = 0xC000;  // the system menu's run options
// The message pane, the two panes of the panel's own texts, caps lock and
// num lock.
constexpr UINT kIndicators[] = {0, 0xE707, 0xE706, 0xE701, 0xE702};

LPCSTR viewClass() {
  static LPCSTR name = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW), nullptr);
  return name;
}

// A mouse move or button press on the panel's own window (not on a
// control's): the panel's mouse event, for the control under the point.
void viewMouseEvent(KyPanel* pPanel, HWND hView, UINT message, LPARAM lParam) {
  if (!pPanel || (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN)) return;
  POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ::ClientToScreen(hView, &pt);
  pPanel->MouseEvent(nullptr, message == WM_MOUSEMOVE ? kMouseMoved : kButtonPressed, pt);
}

// WM_NEXTDLGCTL as a dialog answers it: the window in wParam (when the low
// word of lParam says so), else the next or previous tab stop.
void nextControl(HWND hParent, WPARAM wParam, LPARAM lParam) {
  HWND hTarget = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                : ::GetNextDlgTabItem(hParent, ::GetFocus(), wParam != 0);
  if (hTarget && KyPanel::WindowHolds(hParent, hTarget)) ::SetFocus(hTarget);
}

void fillWithPanelColor(KyPanel* pPanel, HWND hWnd, HDC hdc) {
  RECT rc;
  ::GetClientRect(hWnd, &rc);
  COLORREF color = pPanel ? pPanel->GetPanelColor() : ::GetSysColor(COLOR_WINDOW);
  if (color == CLR_INVALID) color = ::GetSysColor(COLOR_WINDOW);
  HBRUSH hBrush = ::CreateSolidBrush(color);
  ::FillRect(hdc, &rc, hBrush);
  ::DeleteObject(hBrush);
}

const char* implementationName(KyPanel* pPanel) {
  KyFunctionData* pFunction = pPanel ? pPanel->GetFunctionData() : nullptr;
  return pFunction ? pFunction->GetImplementationName().GetString() : "";
}

// "Parent Status Message Overwrite" (default on), read once per process.
bool parentTakesChildTexts() {
  static const bool fTakes = KyGetProfileInt("Window Options", "Parent Status Message Overwrite", 1) != 0;
  return fTakes;
}

// Whether a visible, enabled child of the window shows "&key" in its text.
bool hasMnemonic(HWND hParent, WPARAM key) {
  const int wanted = std::toupper(static_cast<unsigned char>(key));
  for (HWND h = ::GetWindow(hParent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(h) || !::IsWindowEnabled(h)) continue;
    char text[128] = "";
    ::GetWindowTextA(h, text, sizeof text);
    for (const char* p = std::strchr(text, '&'); p && p[1]; p = std::strchr(p + 2, '&'))
      if (p[1] != '&' && std::toupper(static_cast<unsigned char>(p[1])) == wanted) return true;
  }
  return false;
}

}  // namespace

void KyFramePart::SetUpFrame(CWnd* pFrame, int iKind, DWORD dwOptions) {
  m_pFrameWnd = pFrame;
  m_iKind = iKind;
  m_dwOptions = dwOptions;
  if (!pFrame || !pFrame->m_hWnd) return;
  if (!(dwOptions & kMenuOption)) ::SetMenu(pFrame->m_hWnd, nullptr);
  // The frame has no handlers of its own: the panel's events answer the
  // menu commands, so the framework must not grey the items it finds no
  // handler for (the menus keep the states the panel gives them).
  if (auto* pFrameWnd = dynamic_cast<CFrameWnd*>(pFrame)) pFrameWnd->m_bAutoMenuEnable = FALSE;
  if (iKind != KyMDIChild && (dwOptions & kStatusBarOption)) {
    auto* pBar = new CStatusBar;
    pBar->m_bAutoDelete = TRUE;
    if (pBar->Create(pFrame, kStatusBarStyle, kStatusBarId)) {
      // The indicator texts are the language library's; a missing one
      // leaves its pane empty.
      const HINSTANCE hCurrent = AfxGetResourceHandle();
      if (m_pPanel && m_pPanel->GetLanguageModule()) AfxSetResourceHandle(m_pPanel->GetLanguageModule());
      pBar->SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators)));
      AfxSetResourceHandle(hCurrent);
      pBar->SetPaneText(1, "");
      pBar->SetPaneText(2, "");
      m_pStatusBar = pBar;
      if (CFrameWnd* pFrameWnd = dynamic_cast<CFrameWnd*>(pFrame)) pFrameWnd->RecalcLayout();
    } else {
      delete pBar;
    }
  }
  if (iKind != KyDialog) {
    if (HICON hIcon = afxLoadFrameIcon(kFrameIcon)) {
      pFrame->SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
      pFrame->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
    }
  }
}

void KyFramePart::ShowStatusTexts(const char* pszMessage, const char* pszPane1, const char* pszPane2) {
  if (!m_pStatusBar || !m_pStatusBar->m_hWnd) return;
  m_pStatusBar->SetPaneText(1, pszPane1, FALSE);
  m_pStatusBar->SetPaneText(2, pszPane2, FALSE);
  m_pStatusBar->SetPaneText(0, pszMessage, FALSE);
  m_pStatusBar->Invalidate();
  m_pStatusBar->UpdateWindow();
}

bool KyFramePart::hasToolBarWindows() const {
  return dynamic_cast<CFrameWnd*>(m_pFrameWnd) && (m_dwOptions & kToolBarsOption) &&
         (m_iKind == KyTopWindow || m_iKind == KyMDIFrame);
}

KyCToolBar* KyFramePart::CreateToolBar(UINT nId, const char* pszTitle) {
  auto* pFrame = dynamic_cast<CFrameWnd*>(m_pFrameWnd);
  if (!hasToolBarWindows()) return nullptr;
  auto* pBar = new KyCToolBar;
  if (!pBar->CreateIn(pFrame, nId, pszTitle)) {
    delete pBar;
    return nullptr;
  }
  m_ToolBars.push_back(pBar);
  return pBar;
}

void KyFramePart::ShowToolBars(const std::vector<std::unique_ptr<KyButtonSet>>& sets, const char* pszDockName) {
  // An MDI child's sets show in its MDI frame's bars.
  auto* pFrame = dynamic_cast<CFrameWnd*>(m_pFrameWnd);
  if (!hasToolBarWindows()) return;
  bool fLayout = false, fNew = false;
  while (m_ToolBars.size() > sets.size()) {
    m_ToolBars.back()->DestroyWindow();
    m_ToolBars.pop_back();
    fLayout = true;
  }
  for (size_t i = 0; i < sets.size(); ++i) {
    if (i == m_ToolBars.size()) {
      auto* pBar = new KyCToolBar;
      if (!pBar->CreateIn(pFrame, ToolBarId(i), sets[i]->GetTitle())) {
        delete pBar;
        return;
      }
      m_ToolBars.push_back(pBar);
      fLayout = fNew = true;
    }
    KyCToolBar* pBar = m_ToolBars[i];
    if (pBar->GetShownSet() != sets[i].get()) {
      pBar->SetWindowText(sets[i]->GetTitle());
      pBar->ShowSet(sets[i].get());
    }
  }
  // New bars go where the sets' panel had them last.
  if (fNew && pszDockName && *pszDockName) LoadDockState(pszDockName);
  if (fLayout) pFrame->RecalcLayout();
}

void KyFramePart::SaveDockState() {
  auto* pFrame = dynamic_cast<CFrameWnd*>(m_pFrameWnd);
  const char* pszName = implementationName(m_pPanel);
  if (pFrame && pFrame->m_hWnd && *pszName) pFrame->SaveBarState(pszName);
}

void KyFramePart::LoadDockState(const char* pszName) {
  auto* pFrame = dynamic_cast<CFrameWnd*>(m_pFrameWnd);
  if (!pFrame || !pFrame->m_hWnd || !pszName || !*pszName) return;
  pFrame->LoadBarState(pszName);
  pFrame->RecalcLayout();
}

bool KyFramePart::PanelPrompt(UINT nId, CString& rMessage) const {
  if (!m_pPanel || nId == 0) return false;
  const char* pszText = pszGetResourceString(nId, m_pPanel);
  if (!pszText || !*pszText) return false;
  const char* pszEnd = std::strchr(pszText, '\n');
  rMessage = pszEnd ? CString(pszText, static_cast<int>(pszEnd - pszText)) : CString(pszText);
  return true;
}

bool KyFramePart::closeRequest() {
  if (m_iKind == KyTopWindow || m_iKind == KyMDIFrame) {
    // The frame's own bars come back (in their kept places) before their
    // places are kept.
    ShowToolBars(m_pPanel->GetButtonSets(), implementationName(m_pPanel));
    SaveDockState();
    KyWinClientApp* pApp = KyGetClientApp();
    HWND hMain = pApp && pApp->m_pMainWnd ? pApp->m_pMainWnd->m_hWnd : nullptr;
    // Closing the main window ends the application: every panel agrees
    // first, or all stay.
    if (hMain && m_pFrameWnd && hMain == m_pFrameWnd->m_hWnd && !pApp->CloseAllPanels()) return false;
    if (!m_pPanel) return false;
  }
  return m_pPanel->OnClose() != 0;
}

void KyFramePart::afterFrameMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_pPanel || !m_pFrameWnd || !m_pFrameWnd->m_hWnd) return;
  switch (message) {
    case WM_ACTIVATE:
      if (m_iKind != KyTopWindow) return;
      activated(LOWORD(wParam) != WA_INACTIVE);
      return;
    case WM_MDIACTIVATE: {
      // Told to the child that goes (wParam) and to the one that comes
      // (lParam).
      const bool fActive = reinterpret_cast<HWND>(lParam) == m_pFrameWnd->m_hWnd;
      if (m_iKind != KyMDIChild || (!fActive && reinterpret_cast<HWND>(wParam) != m_pFrameWnd->m_hWnd)) return;
      activated(fActive);
      if (!fActive) return;
      // The frame shows the child's bars and texts at once, not only at
      // the next idle turn.
      if (KyFramePart* pFrame = mdiFramePart()) pFrame->AdoptActiveChild();
      return;
    }
    case WM_SETFOCUS:
      if (m_iKind != KyTopWindow && m_iKind != KyMDIChild) return;
      m_pFrameWnd->GetWindowText(m_strTitle);
      m_pPanel->RestoreFocus();
      return;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == kOptionsCommand) {
        KyOptions options(m_pFrameWnd);
        options.DoModal();
      }
      // A child maximised or restored keeps that for the panels that keep
      // their placement.
      if (m_iKind == KyMDIChild && (wParam & 0xFFF0) == SC_MAXIMIZE) KySaveWindowMaximized(m_pPanel, kSaveMaximized);
      if (m_iKind == KyMDIChild && (wParam & 0xFFF0) == SC_RESTORE) KySaveWindowMaximized(m_pPanel, kSaveRestored);
      return;
    default:
      return;
  }
}

void KyFramePart::activated(bool fActive) {
  m_pFrameWnd->GetWindowText(m_strTitle);
  KyWinClientApp* pApp = KyGetClientApp();
  if (!pApp) return;
  if (fActive) {
    pApp->SetActivePanel(m_pPanel);
    return;
  }
  // The focus comes back to where it was when the frame is active again.
  if (HWND hFocus = ::GetFocus(); hFocus && ::IsChild(m_pFrameWnd->m_hWnd, hFocus)) m_pPanel->SetFocusWindow(hFocus);
  // A child that goes leaves the role to the one that comes.
  if (m_iKind != KyMDIChild || pApp->m_pActivePanel == m_pPanel) pApp->SetActivePanel(nullptr);
}

KyPanel* KyFramePart::ActiveChildPanel() const {
  auto* pMDI = dynamic_cast<CMDIFrameWnd*>(m_pFrameWnd);
  if (!pMDI || !pMDI->m_hWnd) return nullptr;
  auto* pChild = dynamic_cast<KyFramePart*>(pMDI->MDIGetActive());
  return pChild ? pChild->GetFramePanel() : nullptr;
}

void KyFramePart::AdoptActiveChild() {
  if (!m_pPanel) return;
  KyPanel* pChild = ActiveChildPanel();
  KyPanel* pOwner = pChild ? pChild : m_pPanel;
  ShowToolBars(pOwner->GetButtonSets(), implementationName(pOwner));
  // The texts go to the bar when another panel's are to show there.
  KyPanel* pTexts = pChild && parentTakesChildTexts() ? pChild : m_pPanel;
  if (pTexts->hHandle() == m_hStatusOwner) return;
  m_hStatusOwner = pTexts->hHandle();
  ShowStatusTexts(pTexts->GetStatusBarText(0), pTexts->GetStatusBarText(1), pTexts->GetStatusBarText(2));
}

bool KyFramePart::panelCommand(WPARAM wParam, LPARAM lParam) {
  if (!m_pPanel) return false;
  const int id = LOWORD(wParam);
  if (lParam) {
    // A notification of one of the panel's controls is not a command.
    KyCtrl* pControl = m_pPanel->pGetCtrl(id);
    if (pControl && pControl->GetWindowHandle() == reinterpret_cast<HWND>(lParam)) return false;
  }
  if (m_iKind == KyMDIFrame) {
    // The frame's panel first, then the active child's.
    if (m_pPanel->TriggerEvent(id, kCommand)) return true;
    KyPanel* pChild = ActiveChildPanel();
    return pChild && pChild->TriggerEvent(id, kCommand);
  }
  if (m_iKind != KyMDIChild) return false;
  if (m_pPanel->TriggerEvent(id, kCommand)) return true;
  // A menu command the child has no event for is the MDI frame's.
  KyFramePart* pFrame = mdiFramePart();
  KyPanel* pFramePanel = pFrame ? pFrame->GetFramePanel() : nullptr;
  return static_cast<UINT>(id) > kFirstMenuCommand && pFramePanel && pFramePanel->TriggerEvent(id, kCommand);
}

KyFramePart* KyFramePart::mdiFramePart() const {
  auto* pChild = dynamic_cast<CMDIChildWnd*>(m_pFrameWnd);
  return pChild ? dynamic_cast<KyFramePart*>(pChild->GetMDIFrame()) : nullptr;
}

void KyFramePart::ForgetButtonSets(const std::vector<std::unique_ptr<KyButtonSet>>& sets) {
  for (KyCToolBar* pBar : m_ToolBars)
    for (const auto& pSet : sets)
      if (pBar->GetShownSet() == pSet.get()) pBar->ShowSet(nullptr);
}

bool KyFramePart::panelMessage(CWnd* pFrame, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!m_pPanel) return false;
  // A dialog panel is its own view: VBX controls report to it.
  if (message == KyVBXCtrlManager::EventMessage()) {
    result = m_pPanel->OnVBXEvent(static_cast<UINT>(wParam), static_cast<int>(lParam));
    return true;
  }
  switch (message) {
    case WM_CLOSE:
      // The panel's Close event decides; the window stays when it refuses.
      result = 0;
      if (closeRequest()) pFrame->DestroyWindow();
      return true;
    case WM_QUERYENDSESSION:
      // The session ends only when every panel agrees to close.
      if (m_iKind != KyTopWindow && m_iKind != KyMDIFrame) return false;
      result = KyGetClientApp() ? KyGetClientApp()->CloseAllPanels() : TRUE;
      return true;
    case WM_INITMENU:
    case WM_MENUSELECT:
      if (m_iKind == KyMDIFrame) m_pPanel->SetMenuActive(1);
      return false;
    case WM_EXITMENULOOP:
      if (m_iKind == KyMDIFrame) m_pPanel->SetMenuActive(0);
      return false;
    case WM_ENTERSIZEMOVE:
      if (m_iKind == KyMDIChild) ::GetClientRect(pFrame->m_hWnd, &m_rcBeforeSizing);
      return false;
    case WM_EXITSIZEMOVE:
      // A child sized by the user lays its controls out once at the end.
      if (m_iKind == KyMDIChild) {
        RECT rc{};
        ::GetClientRect(pFrame->m_hWnd, &rc);
        if (rc.right != m_rcBeforeSizing.right || rc.bottom != m_rcBeforeSizing.bottom) m_pPanel->LayoutControls();
      }
      return false;
    case WM_TIMER:
      m_pPanel->TriggerEvent(-1, kTimerTick);
      result = 0;
      return true;
    case WM_IDLEUPDATECMDUI:
      if (m_iKind == KyMDIFrame)
        AdoptActiveChild();
      else
        ShowToolBars(m_pPanel->GetButtonSets(), implementationName(m_pPanel));
      return false;
    case WM_COMMANDHELP:
      // The panel of the focus (else the active one) answers; without one
      // the framework's help does.
      if (!KyPanel::CommandHelp(lParam)) return false;
      result = TRUE;
      return true;
    case WM_DESTROY:
      // The panes' sizes are kept while their windows still exist; a pane
      // that goes leaves no empty cell.
      m_pPanel->CloseSplitterHost();
      m_pPanel->LeavePaneHost();
      return false;
    case WM_NCDESTROY:
      // The frame object goes with its window: the panel forgets both.
      m_pPanel->FrameDestroyed();
      m_pPanel = nullptr;
      return false;
    case WM_COMMAND:
      // Menu and tool-bar commands of an MDI frame and its children run
      // the event of the panel that has one (the framework's handling
      // follows when none had).
      if (panelCommand(wParam, lParam)) {
        result = 0;
        return true;
      }
      return m_pPanel->OnPanelMessage(message, wParam, lParam, result);
    default:
      // Control notifications, other processes' events, trapped messages.
      return m_pPanel->OnPanelMessage(message, wParam, lParam, result);
  }
}

// --- the view ---------------------------------------------------------------

BOOL KyMFCView::CreateIn(CWnd* pFrame) {
  RECT rc{};
  ::GetClientRect(pFrame->m_hWnd, &rc);
  if (!CreateEx(0, viewClass(), "", kViewStyle, rc.left, rc.top, rc.right, rc.bottom, pFrame->m_hWnd,
                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kViewId))))
    return FALSE;
  // The border bit of the style stands for the client edge, which the view
  // does not show.
  ModifyStyle(WS_BORDER, 0, SWP_FRAMECHANGED);
  ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
  return TRUE;
}

void KyFramePart::OnActiveXEvent(const char* logicalName, DISPPARAMS*) {
  if (m_pPanel && logicalName) m_pPanel->DoEvent(logicalName);
}

bool KyFramePart::RouteControlEvent(UINT nID, int nCode, void* pExtra, BOOL* handled) {
  if (nCode != CN_EVENT) return false;
  *handled = RouteActiveXEvent(nID, static_cast<AFX_EVENT*>(pExtra), nullptr);
  return true;
}

BOOL KyMFCView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  BOOL handled = FALSE;
  if (m_pFrame->RouteControlEvent(nID, nCode, pExtra, &handled)) return handled;
  return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL KyMFCView::PreTranslateMessage(MSG* pMsg) {
  // The dialog manager takes mnemonics, Tab and the arrows of a group (the
  // keys the panel left); Enter and Escape stay the panel's. What it does
  // not use it dispatches (an Alt key that is no control's mnemonic goes
  // to the menu bar then).
  const WPARAM key = pMsg->wParam;
  const bool fNavigation = pMsg->message == WM_KEYDOWN && ::GetKeyState(VK_CONTROL) >= 0 &&
                           (key == VK_TAB || key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN);
  return (pMsg->message == WM_SYSCHAR || fNavigation) && IsDialogMessage(pMsg);
}

BOOL KyDialogWin::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  BOOL handled = FALSE;
  if (RouteControlEvent(nID, nCode, pExtra, &handled)) return handled;
  return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT KyMFCView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  KyPanel* pPanel = m_pFrame->GetFramePanel();
  if (pPanel && message == KyVBXCtrlManager::EventMessage())
    return pPanel->OnVBXEvent(static_cast<UINT>(wParam), static_cast<int>(lParam));
  LRESULT result = 0;
  // The controls' notifications reach the panel through their parent.
  if (message == WM_COMMAND && pPanel && pPanel->OnPanelMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_ERASEBKGND:
      fillWithPanelColor(pPanel, m_hWnd, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_SIZE:
      if (pPanel) pPanel->ViewSized();
      break;
    case WM_NEXTDLGCTL:
      // The view stands where a dialog would: its controls (a radio
      // button's arrows) move the focus through it.
      nextControl(m_hWnd, wParam, lParam);
      return 0;
    default:
      break;
  }
  const HWND hView = m_hWnd;
  result = CWnd::WindowProc(message, wParam, lParam);
  // The view object is gone with a window the message destroyed.
  if (::IsWindow(hView)) viewMouseEvent(m_pFrame->GetFramePanel(), hView, message, lParam);
  return result;
}

// --- top window and MDI child ------------------------------------------------

KyTopWin::KyTopWin(KyPanel* pPanel, DWORD dwStyle, DWORD dwOptions) : KyViewFrame(pPanel) {
  if (LoadFrame(kFrameResource, dwStyle, nullptr)) SetUpFrame(this, KyTopWindow, dwOptions);
}

KyMDIChildWin::KyMDIChildWin(KyPanel* pPanel, CMDIFrameWnd* pMDIFrame, DWORD dwStyle, DWORD dwOptions)
    : KyViewFrame(pPanel) {
  // The frame's bars are kept where they are before the child's take the
  // slots.
  if (auto* pFramePart = dynamic_cast<KyFramePart*>(pMDIFrame)) pFramePart->SaveDockState();
  // Beside a maximised child the new one comes maximised: the client draws
  // nothing until the panel is shown (StartPanel switches it on again).
  BOOL fMaximised = FALSE;
  const HWND hClient = pMDIFrame ? pMDIFrame->m_hWndMDIClient : nullptr;
  const bool fQuiet = hClient && pMDIFrame->MDIGetActive(&fMaximised) && fMaximised;
  if (fQuiet) ::SendMessageA(hClient, WM_SETREDRAW, FALSE, 0);
  if (LoadFrame(kFrameResource, dwStyle, pMDIFrame)) {
    SetUpFrame(this, KyMDIChild, dwOptions);
  } else if (fQuiet) {
    ::SendMessageA(hClient, WM_SETREDRAW, TRUE, 0);  // no panel will be shown to switch it on
    ::InvalidateRect(hClient, nullptr, TRUE);
  }
}

// --- MDI frame --------------------------------------------------------------

KyMDIWin::KyMDIWin(KyPanel* pPanel, DWORD dwStyle, DWORD dwOptions) : KyFramePart(pPanel) {
  if (!LoadFrame(kFrameResource, dwStyle, nullptr)) return;
  SetUpFrame(this, KyMDIFrame, dwOptions);
  m_pClient = std::make_unique<CMDIClient>(pPanel, pPanel->GetLanguageModule());
  if (!m_pClient->Attach(m_hWndMDIClient)) m_pClient.reset();
  CWinApp* pApp = AfxGetApp();
  if (pApp && !pApp->m_pMainWnd) pApp->m_pMainWnd = this;
}

KyMDIWin::~KyMDIWin() = default;

LRESULT KyMDIWin::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (panelMessage(this, message, wParam, lParam, result)) return result;
  const HWND hWnd = m_hWnd;
  result = CMDIFrameWnd::WindowProc(message, wParam, lParam);
  // The frame object is gone with a window the message destroyed.
  if (message == WM_SYSCOMMAND && ::IsWindow(hWnd)) afterFrameMessage(message, wParam, lParam);
  return result;
}

void KyMDIWin::MDICloseAll() {
  if (!m_hWndMDIClient) return;
  std::vector<HWND> children;
  for (HWND h = ::GetWindow(m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) children.push_back(h);
  for (HWND h : children)
    if (::IsWindow(h)) ::SendMessageA(h, WM_CLOSE, 0, 0);
}

void KyMDIWin::GetMessageString(UINT nId, CString& rMessage) const {
  if (MDIGetActive() || !PanelPrompt(nId, rMessage)) CMDIFrameWnd::GetMessageString(nId, rMessage);
}

void KyMDIWin::PostNcDestroy() {
  CWinApp* pApp = AfxGetApp();
  if (pApp && pApp->m_pMainWnd == this) pApp->m_pMainWnd = nullptr;
  CMDIFrameWnd::PostNcDestroy();
}

// --- dialogs ----------------------------------------------------------------

KyDialogWin::KyDialogWin(KyPanel* pPanel, HWND hParent, DWORD dwStyle, HINSTANCE hTemplates, int iKind,
                         DWORD dwOptions, DWORD dwExStyle)
    : KyFramePart(pPanel) {
  const bool fChild = iKind == KySiteChild || iKind == KySplitterPane;
  UINT id = fChild ? kChildTemplate : (dwStyle & WS_THICKFRAME) ? kSizingTemplate : kDialogTemplate;
  HRSRC hResource = ::FindResourceA(hTemplates, MAKEINTRESOURCE(id), RT_DIALOG);
  HGLOBAL hTemplate = hResource ? ::LoadResource(hTemplates, hResource) : nullptr;
  if (!hTemplate) return;
  CreateIndirect(hTemplate, hParent ? CWnd::FromHandle(hParent) : nullptr, hTemplates);
  if (!m_hWnd) return;
  if (fChild) {
    // A child of the parent's view: the caller's style and extended style
    // replace the template's.
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(dwStyle));
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(dwExStyle));
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  }
  if (!(dwStyle & WS_SYSMENU)) ModifyStyle(WS_SYSMENU, 0, SWP_FRAMECHANGED);
  SetUpFrame(this, iKind, dwOptions);
}

LRESULT KyDialogWin::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  // OK and Cancel of the template close through the panel, as the close
  // box; in a panel nested in a site they are the enclosing panel's Enter
  // and Escape.
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) && lParam == 0) {
    if (m_iKind == KySiteChild) {
      if (HWND hParent = ::GetParent(m_hWnd))
        ::PostMessageA(hParent, WM_CHAR, LOWORD(wParam) == IDOK ? VK_RETURN : VK_ESCAPE, 0);
      return 0;
    }
    message = WM_CLOSE;
  }
  // F1's help command asks for the command help, as a frame's does.
  if (message == WM_COMMAND && LOWORD(wParam) == ID_HELP && lParam == 0) {
    message = WM_COMMANDHELP;
    wParam = 0;
  }
  if (panelMessage(this, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_ERASEBKGND:
      fillWithPanelColor(m_pPanel, m_hWnd, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_CTLCOLORDLG:
      return 0;
    case WM_SETCURSOR:
      // With the application's busy cursor switched off the dialog shows
      // the wait cursor itself while the program asks for it.
      if (KyWinClientApp* pApp = KyGetClientApp(); pApp && !pApp->m_fBusyCursor) {
        ::SetCursor(::LoadCursorA(nullptr, pApp->m_fAutoWaitCursor ? IDC_WAIT : IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_SIZE:
      if (m_pPanel) m_pPanel->ViewSized();
      break;
    default:
      break;
  }
  const HWND hDialog = m_hWnd;
  const LRESULT answer = CDialog::WindowProc(message, wParam, lParam);
  // The dialog object is gone with a window the message destroyed.
  if (::IsWindow(hDialog)) viewMouseEvent(m_pPanel, hDialog, message, lParam);
  return answer;
}

BOOL KyDialogWin::PreTranslateMessage(MSG* pMsg) {
  if (m_iKind == KySiteChild && pMsg->message == WM_SYSCHAR && !hasMnemonic(m_hWnd, pMsg->wParam)) {
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
      CWnd* pOuter = CWnd::FromHandlePermanent(h);
      if (pOuter && pOuter->PreTranslateMessage(pMsg)) return TRUE;
    }
  }
  return CDialog::PreTranslateMessage(pMsg);
}

void KyDialogWin::RunPanelLoop(HWND hParent) {
  HWND hDialog = m_hWnd;
  CWinApp* pApp = AfxGetApp();
  LONG idle = 0;
  if (pApp) pApp->OnIdle(idle++);
  // The application's main window is disabled while the dialog runs; with
  // none, the dialog is the main window meanwhile.
  HWND hMain = pApp && pApp->m_pMainWnd ? pApp->m_pMainWnd->m_hWnd : nullptr;
  const bool fMainDisabled = hMain && hMain != hDialog && hMain != hParent && ::IsWindowEnabled(hMain);
  if (fMainDisabled) ::EnableWindow(hMain, FALSE);
  const bool fBecameMain = pApp && !pApp->m_pMainWnd;
  if (fBecameMain) pApp->m_pMainWnd = this;
  const bool fParentDisabled = hParent && ::IsWindowEnabled(hParent);
  if (fParentDisabled) ::EnableWindow(hParent, FALSE);
  ::EnableWindow(hDialog, TRUE);

  idle = 0;
  bool fIdle = true;
  while (::IsWindow(hDialog)) {
    MSG msg;
    if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (fIdle && pApp && pApp->OnIdle(idle++)) continue;
      fIdle = false;
      if (!::IsWindow(hDialog)) break;
      ::WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT) {
      // The quit belongs to the loop outside: it leaves this one and is
      // posted again, so the application still ends.
      ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    fIdle = true;
    idle = 0;
    if (pApp ? !pApp->PumpMessage() : !AfxPumpMessage()) break;
  }

  if (fParentDisabled && ::IsWindow(hParent)) ::EnableWindow(hParent, TRUE);
  if (fMainDisabled && ::IsWindow(hMain)) ::EnableWindow(hMain, TRUE);
  if (fBecameMain && pApp->m_pMainWnd == this) pApp->m_pMainWnd = nullptr;
  // The dialog goes with its loop (the object deletes itself with it).
  if (::IsWindow(hDialog)) ::DestroyWindow(hDialog);
}
