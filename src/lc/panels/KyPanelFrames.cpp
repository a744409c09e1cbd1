#include "KyPanelFrames.h"

#include "KyPanel.h"
#include "KyVBXCtrlManager.h"
#include "KyWinClientApp.h"

namespace {

constexpr int kTimerTick = 10;
constexpr UINT kViewId = 59648;          // AFX_IDW_PANE_FIRST
constexpr DWORD kViewStyle = 0x50800000;  // WS_CHILD | WS_VISIBLE | WS_BORDER
constexpr UINT kSizingTemplate = 111;
constexpr UINT kDialogTemplate = 103;

LPCSTR viewClass() {
  static LPCSTR name = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW), nullptr);
  return name;
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

}  // namespace

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
      if (m_pPanel->OnClose()) pFrame->DestroyWindow();
      return true;
    case WM_TIMER:
      m_pPanel->TriggerEvent(-1, kTimerTick);
      result = 0;
      return true;
    case WM_NCDESTROY:
      // The frame object goes with its window: the panel forgets both.
      m_pPanel->FrameDestroyed();
      m_pPanel = nullptr;
      return false;
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
      if (pPanel) pPanel->LayoutControls();
      break;
    default:
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

// --- top window and MDI child ------------------------------------------------

KyTopWin::KyTopWin(KyPanel* pPanel, DWORD dwStyle, DWORD) : KyViewFrame(pPanel) {
  Create(nullptr, "", dwStyle, rectDefault, nullptr, nullptr);
}

KyMDIChildWin::KyMDIChildWin(KyPanel* pPanel, CMDIFrameWnd* pMDIFrame, DWORD dwStyle, DWORD) : KyViewFrame(pPanel) {
  Create(nullptr, "", dwStyle, rectDefault, pMDIFrame);
}

// --- MDI frame --------------------------------------------------------------

KyMDIWin::KyMDIWin(KyPanel* pPanel, DWORD dwStyle, DWORD) : KyFramePart(pPanel) {
  if (!Create(nullptr, "", dwStyle, rectDefault, nullptr, nullptr)) return;
  CWinApp* pApp = AfxGetApp();
  if (pApp && !pApp->m_pMainWnd) pApp->m_pMainWnd = this;
}

LRESULT KyMDIWin::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (panelMessage(this, message, wParam, lParam, result)) return result;
  return CMDIFrameWnd::WindowProc(message, wParam, lParam);
}

void KyMDIWin::PostNcDestroy() {
  CWinApp* pApp = AfxGetApp();
  if (pApp && pApp->m_pMainWnd == this) pApp->m_pMainWnd = nullptr;
  CMDIFrameWnd::PostNcDestroy();
}

// --- dialogs ----------------------------------------------------------------

KyDialogWin::KyDialogWin(KyPanel* pPanel, HWND hParent, DWORD dwStyle, HINSTANCE hTemplates) : KyFramePart(pPanel) {
  UINT id = (dwStyle & WS_THICKFRAME) ? kSizingTemplate : kDialogTemplate;
  HRSRC hResource = ::FindResourceA(hTemplates, MAKEINTRESOURCE(id), RT_DIALOG);
  HGLOBAL hTemplate = hResource ? ::LoadResource(hTemplates, hResource) : nullptr;
  if (!hTemplate) return;
  CreateIndirect(hTemplate, hParent ? CWnd::FromHandle(hParent) : nullptr, hTemplates);
  if (m_hWnd && !(dwStyle & WS_SYSMENU)) ModifyStyle(WS_SYSMENU, 0, SWP_FRAMECHANGED);
}

LRESULT KyDialogWin::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  // OK and Cancel of the template close through the panel, as the close box.
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) && lParam == 0)
    message = WM_CLOSE;
  if (panelMessage(this, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_ERASEBKGND:
      fillWithPanelColor(m_pPanel, m_hWnd, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_CTLCOLORDLG:
      return 0;
    case WM_SIZE:
      if (m_pPanel) m_pPanel->LayoutControls();
      break;
    default:
      break;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}

void KyDialogWin::RunPanelLoop() {
  HWND hDialog = m_hWnd;
  while (::IsWindow(hDialog)) {
    MSG msg;
    if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      CWinApp* pApp = AfxGetApp();
      LONG count = 0;
      while (pApp && pApp->OnIdle(count++)) {
      }
      if (!::IsWindow(hDialog)) break;
      ::WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT) continue;
    if (::IsDialogMessageA(hDialog, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}
