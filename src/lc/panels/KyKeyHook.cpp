#include "KyKeyHook.h"

#include <afxres.h>
#include <afxframe.h>
#include <afxwin.h>

#include "KyAppServices.h"
#include "KyCtrl.h"
#include "KyMsgWin.h"
#include "KyPanel.h"
#include "KyProfile.h"
#include "KyWinClientApp.h"

namespace {

constexpr LPARAM kKeyUp = LPARAM(1) << 31;       // transition state
constexpr LPARAM kRepeated = LPARAM(1) << 30;    // previous key state
constexpr LPARAM kAltDown = LPARAM(1) << 29;     // context code
constexpr int kButtonClicked = 1;
constexpr UINT KYM_CLICK = 1123;  // a control's private "click yourself"

// The F10 key-down the keyboard hook saw last: the message hook then
// leaves that message alone.
thread_local bool t_fSawF10 = false;

bool isDown(int vk) { return ::GetKeyState(vk) < 0; }

bool isNavigationKey(UINT uKey) {
  return uKey == VK_TAB || uKey == VK_LEFT || uKey == VK_RIGHT || uKey == VK_UP || uKey == VK_DOWN;
}

// "Pass Child Keycodes to Parent" (default on), read once per process.
bool passChildKeys() {
  static const bool fPass = KyGetProfileInt("Window Options", "Pass Child Keycodes to Parent", 1) != 0;
  return fPass;
}

// The control of the panel whose window (or inner window) has the focus.
KyCtrl* focusControl(KyPanel* pPanel) {
  HWND hFocus = ::GetFocus();
  if (!hFocus) return nullptr;
  for (const auto& pControl : pPanel->GetControls()) {
    HWND hWnd = pControl->GetWindowHandle();
    if (hWnd && (hWnd == hFocus || ::IsChild(hWnd, hFocus))) return pControl.get();
  }
  return nullptr;
}

// Enter on a dialog panel whose focus is one of its push buttons: the
// button's event, else the button clicks itself.
bool enterOnPushButton(KyPanel* pPanel) {
  if (pPanel->GetKind() != KyDialog) return false;
  KyCtrl* pControl = focusControl(pPanel);
  if (!pControl || pControl->GetKind() != KindPushButton) return false;
  if (!pPanel->TriggerEvent(pControl->GetId(), kButtonClicked))
    ::SendMessageA(pControl->GetWindowHandle(), KYM_CLICK, 0, 0);
  return true;
}

}  // namespace

BOOL KyKeyHook::Install() {
  if (IsInstalled()) return TRUE;
  const DWORD thread = ::GetCurrentThreadId();
  m_hKeyboard = ::SetWindowsHookExA(WH_KEYBOARD, keyboardProc, nullptr, thread);
  m_hMessage = ::SetWindowsHookExA(WH_GETMESSAGE, messageProc, nullptr, thread);
  if (m_hKeyboard && m_hMessage) return TRUE;
  Remove();
  return FALSE;
}

void KyKeyHook::Remove() {
  if (m_hKeyboard) ::UnhookWindowsHookEx(m_hKeyboard);
  if (m_hMessage) ::UnhookWindowsHookEx(m_hMessage);
  m_hKeyboard = m_hMessage = nullptr;
}

int KyKeyHook::HandleKey(UINT uKey) {
  KyWinClientApp* pApp = KyGetClientApp();
  if (!pApp) return 0;
  KyPanel* pActive = pApp->m_pActivePanel;
  if (!pActive) {
    // Escape closes the message log when that is the active window.
    if (uKey == VK_ESCAPE && pApp->m_pMsgWin && pApp->m_pMsgWin->m_hWnd &&
        ::GetActiveWindow() == pApp->m_pMsgWin->m_hWnd) {
      pApp->m_pMsgWin->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
      return 1;
    }
    KyPanel* pMain = KyPanel::FindPanelByHandle(&pApp->m_OpenPanels, hKyGetMainHandle());
    return pMain ? pMain->OnKeyBoard(static_cast<int>(uKey)) : 0;
  }
  // Ctrl+Tab in a panel nested in a site moves among the MDI children.
  if (uKey == VK_TAB && isDown(VK_CONTROL) && pActive->GetKind() == KySiteChild) {
    KyPanel* pFrame = pActive->MDIFrameAncestor();
    CWnd* pClient = pFrame ? KyGetMDIClient() : nullptr;
    if (pClient) {
      CMDIChildWnd* pChild = KyGetActiveMDIChild(nullptr);
      pClient->SendMessage(WM_MDINEXT, reinterpret_cast<WPARAM>(pChild ? pChild->m_hWnd : nullptr),
                           isDown(VK_SHIFT) ? 1 : 0);
      return 1;
    }
  }
  const int fTaken = pActive->OnKeyBoard(static_cast<int>(uKey));
  pApp->SetActivePanel(pActive);
  if (fTaken) return 1;
  // Navigation the panel left alone is the focus window's own (the dialog
  // manager moves the focus).
  if (isNavigationKey(uKey)) return 0;
  if (uKey == VK_RETURN && enterOnPushButton(pActive)) return 1;

  const int kind = pActive->GetKind();
  if (kind == KyMDIChild || kind == KySiteChild) {
    // Child panels hand keys up to the panels around them, nearest first.
    if (!passChildKeys() || uKey == VK_TAB || isDown(VK_MENU)) return 0;
    for (KyPanel* p = pActive->GetParentPanel(); p; p = p->GetParentPanel())
      if (p->OnKeyBoard(static_cast<int>(uKey))) return 1;
    return 0;
  }
  KyPanel* pFrame = pActive->MDIFrameAncestor();
  return pFrame ? pFrame->OnKeyBoard(static_cast<int>(uKey)) : 0;
}

LRESULT KyKeyHook::decide(UINT uKey, LPARAM lParam) {
  KyWinClientApp* pApp = KyGetClientApp();
  // Before the main window exists the keys are the windows' own. (There is
  // no input method here, so no composition can be pending.)
  if (!pApp || !pApp->m_pMainWnd || (lParam & kKeyUp)) return 0;
  if (uKey == VK_F4 && (lParam & kAltDown)) return 0;
  if (HandleKey(uKey)) {
    // Keys the frame still needs after the panel took them.
    return (uKey == VK_PRIOR || uKey == VK_NEXT || uKey == VK_F4 || uKey == VK_ESCAPE) ? 0 : 1;
  }
  if (uKey == VK_F1 && !(lParam & kRepeated) && !isDown(VK_SHIFT) && !isDown(VK_CONTROL) && !(lParam & kAltDown)) {
    if (HWND hActive = ::GetActiveWindow()) ::SendMessageA(hActive, WM_COMMAND, ID_HELP, 0);
    else pApp->WinHelp(0, HELP_CONTENTS);
    return 1;
  }
  // F10 does not open the menu bar.
  if (uKey == VK_F10 && !isDown(VK_SHIFT)) return 1;
  return 0;
}

LRESULT CALLBACK KyKeyHook::keyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    if (wParam == VK_F10 && !(lParam & kKeyUp)) t_fSawF10 = true;
    if (decide(static_cast<UINT>(wParam), lParam)) return 1;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK KyKeyHook::messageProc(int code, WPARAM wParam, LPARAM lParam) {
  auto* pMsg = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && pMsg && pMsg->message == WM_SYSKEYDOWN && pMsg->wParam == VK_F10) {
    // An F10 that reached the queue without the keyboard hook: handled as
    // that hook would, and never a menu activation.
    if (!t_fSawF10) decide(VK_F10, pMsg->lParam);
    t_fSawF10 = false;
    pMsg->message = WM_NULL;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// --- input method -------------------------------------------------------------

namespace {

bool g_fIMESupport = false;  // the process has an input method library
constexpr DWORD kRoman = 0x10;  // IME_CMODE_ROMAN

}  // namespace

KyIME::KyIME() {
  // The input method library of the system; this system has none, so the
  // support stays off and the controls' modes change nothing.
  m_hLibrary = ::LoadLibraryA("IMM32.DLL");
  g_fIMESupport = m_hLibrary != nullptr && ::GetProcAddress(m_hLibrary, "ImmGetContext") != nullptr;
}

KyIME::~KyIME() {
  if (m_hLibrary) ::FreeLibrary(m_hLibrary);
  g_fIMESupport = false;
}

BOOL KyIME::IsWINNLSLoaded() { return g_fIMESupport; }

int KyIME::ConversionFor(int iMode, DWORD dwCurrent) {
  const DWORD kept = dwCurrent & kRoman;
  switch (iMode) {
    case FullAlphanumeric: return static_cast<int>(kept | 0x8);
    case FullKatakana: return static_cast<int>(kept | 0xB);
    case Hiragana: return static_cast<int>(kept | 0x9);
    case HalfAlphanumeric: return static_cast<int>(kept);
    case HalfKatakana: return static_cast<int>(kept | 0x3);
    case Close: return static_cast<int>(kept);
    default: return -1;
  }
}

BOOL KyIME::SetMode(HWND hWnd, HWND hInner, int iMode) {
  if (!g_fIMESupport || !m_hLibrary || !hWnd || iMode == -1 || iMode == LeaveAlone) return FALSE;
  using GetContext = HIMC(WINAPI*)(HWND);
  using ReleaseContext = BOOL(WINAPI*)(HWND, HIMC);
  using AssociateContext = HIMC(WINAPI*)(HWND, HIMC);
  using SetOpen = BOOL(WINAPI*)(HIMC, BOOL);
  using GetStatus = BOOL(WINAPI*)(HIMC, LPDWORD, LPDWORD);
  using SetStatus = BOOL(WINAPI*)(HIMC, DWORD, DWORD);
  auto getContext = reinterpret_cast<GetContext>(::GetProcAddress(m_hLibrary, "ImmGetContext"));
  auto releaseContext = reinterpret_cast<ReleaseContext>(::GetProcAddress(m_hLibrary, "ImmReleaseContext"));
  auto associate = reinterpret_cast<AssociateContext>(::GetProcAddress(m_hLibrary, "ImmAssociateContext"));
  auto setOpen = reinterpret_cast<SetOpen>(::GetProcAddress(m_hLibrary, "ImmSetOpenStatus"));
  auto getStatus = reinterpret_cast<GetStatus>(::GetProcAddress(m_hLibrary, "ImmGetConversionStatus"));
  auto setStatus = reinterpret_cast<SetStatus>(::GetProcAddress(m_hLibrary, "ImmSetConversionStatus"));
  if (!getContext || !releaseContext || !associate || !setOpen || !getStatus || !setStatus) return FALSE;
  if (iMode == Remove) {
    associate(hWnd, nullptr);
    if (hInner) associate(hInner, nullptr);
    return TRUE;
  }
  HIMC hContext = getContext(hWnd);
  if (!hContext) return FALSE;
  DWORD conversion = 0, sentence = 0;
  getStatus(hContext, &conversion, &sentence);
  const int wanted = ConversionFor(iMode, conversion);
  if (iMode != Close) setOpen(hContext, TRUE);
  if (wanted >= 0) setStatus(hContext, static_cast<DWORD>(wanted), sentence);
  if (iMode == Close) setOpen(hContext, FALSE);
  if (hInner) associate(hInner, hContext);
  releaseContext(hWnd, hContext);
  return TRUE;
}
