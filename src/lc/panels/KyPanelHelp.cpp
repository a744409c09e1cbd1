// KyPanel's help: F1 and help commands open the application's help at the
// context of what the user is on. The context comes from the focus
// control (its own help context, else the help word of its first event
// entry), from the first command entry of a help command, else from the
// panel; without any the help contents open.
#include <afxres.h>
#include <afxframe.h>
#include <afxwin.h>

#include "KyCtrl.h"
#include "KyPanel.h"
#include "KyWinClientApp.h"

namespace {

constexpr int kCommand = 7;

const auto inside = &KyPanel::WindowHolds;

// Steps from the window up to the ancestor (0 for itself); -1 when it is
// not one.
int depthBelow(HWND hAncestor, HWND hWnd) {
  int depth = 0;
  for (HWND h = hWnd; h; h = ::GetParent(h), ++depth)
    if (h == hAncestor) return depth;
  return -1;
}

}  // namespace

DWORD KyPanel::HelpContextFor(UINT uCommandId) const {
  if (uCommandId == 0) {
    // F1: the control that holds the focus.
    HWND hFocus = ::GetFocus();
    for (const auto& pControl : m_Controls) {
      if (!inside(pControl->GetWindowHandle(), hFocus)) continue;
      if (pControl->GetHelpContextId()) return pControl->GetHelpContextId();
      for (const auto& pEvent : m_Events)
        if (pEvent->m_iSourceId == pControl->GetId()) {
          if (pEvent->m_iExtra) return static_cast<DWORD>(pEvent->m_iExtra);
          break;
        }
      break;
    }
  } else {
    for (const auto& pEvent : m_Events)
      if (pEvent->m_iSourceId == static_cast<int>(uCommandId) && pEvent->m_iEventCode == kCommand) {
        if (pEvent->m_iExtra) return static_cast<DWORD>(pEvent->m_iExtra);
        break;
      }
  }
  return m_dwHelpId;
}

void KyPanel::KyPanelHelp(UINT uCommandId) {
  // A panel that binds F1 has its own help event.
  if (m_fF1Bound) return;
  CWinApp* pApp = AfxGetApp();
  if (!pApp) return;
  const DWORD dwContext = HelpContextFor(uCommandId);
  if (dwContext)
    pApp->WinHelp(dwContext, HELP_CONTEXT);
  else
    pApp->WinHelp(0, HELP_CONTENTS);
}

KyPanel* KyPanel::PanelOwningWindow(HWND hWnd) {
  KyWinClientApp* pApp = KyGetClientApp();
  if (!pApp || !hWnd) return nullptr;
  // A panel nested in another's window (a site, a pane) owns what lies in
  // its own frame: the nearest frame wins.
  KyPanel* pOwner = nullptr;
  int best = -1;
  for (POSITION pos = pApp->m_OpenPanels.GetHeadPosition(); pos;) {
    auto* pPanel = static_cast<KyPanel*>(pApp->m_OpenPanels.GetNext(pos));
    const int depth = pPanel ? depthBelow(pPanel->hHandle(), hWnd) : -1;
    if (depth >= 0 && (best < 0 || depth < best)) {
      best = depth;
      pOwner = pPanel;
    }
  }
  return pOwner;
}

BOOL KyPanel::CommandHelp(LPARAM lContext) {
  // The framework passes a tracked command as its command help context.
  UINT uCommandId = 0;
  if (static_cast<ULONG_PTR>(lContext) >= HID_BASE_COMMAND && static_cast<ULONG_PTR>(lContext) < HID_BASE_RESOURCE)
    uCommandId = static_cast<UINT>(lContext - HID_BASE_COMMAND);
  KyPanel* pPanel = PanelOwningWindow(::GetFocus());
  if (!pPanel)
    if (KyWinClientApp* pApp = KyGetClientApp()) pPanel = pApp->m_pActivePanel;
  if (!pPanel) return FALSE;
  pPanel->KyPanelHelp(uCommandId);
  return TRUE;
}
