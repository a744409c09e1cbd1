// KyPanel's mouse events and context menus: a mouse move (event 15) and a
// button press (16) on a control or on the panel, and a context-menu
// request (17) from a control's private messages or a released button on
// it. After the request's event the menu of the control (or of the panel)
// shows: the first number for a left button or a plain request, the
// second, tracked with the right button, for a right button or a request
// with selector bit 2.
#include "KyCtrl.h"
#include "KyPanel.h"
#include "KyZOrderMngr.h"

namespace {

constexpr int kContextMenuRequest = 17;
constexpr WPARAM kSecondMenu = 0x2;

bool contains(HWND hWnd, POINT ptScreen) {
  RECT rc{};
  return hWnd && IsWindowVisible(hWnd) && GetWindowRect(hWnd, &rc) && PtInRect(&rc, ptScreen);
}

}  // namespace

void KyPanel::SetContextMenu(int iFirst, int iSecond) { SetContextMenus(iFirst, iSecond); }

KyCtrl* KyPanel::ControlAt(POINT ptScreen) const {
  auto owner = [this](HWND hWnd) -> KyCtrl* {
    for (const auto& pControl : m_Controls)
      if (pControl->GetWindowHandle() == hWnd) return pControl.get();
    return nullptr;
  };
  // Topmost first, as the panel stacks its controls.
  if (m_pZOrder)
    for (HWND hWnd : m_pZOrder->Windows())
      if (KyCtrl* pControl = owner(hWnd); pControl && contains(hWnd, ptScreen)) return pControl;
  for (const auto& pControl : m_Controls)
    if (contains(pControl->GetWindowHandle(), ptScreen)) return pControl.get();
  return nullptr;
}

void KyPanel::MouseEvent(KyCtrl* pControl, int iCode, POINT ptScreen) {
  if (!pControl) pControl = ControlAt(ptScreen);
  TriggerEvent(pControl ? pControl->GetId() : -1, iCode);
}

void KyPanel::ContextMenuRequest(KyCtrl* pControl, WPARAM selector, POINT ptScreen) {
  KyCtrl* pSource = pControl ? pControl : ControlAt(ptScreen);
  const std::shared_ptr<bool> life = m_pAlive;
  TriggerEvent(pSource ? pSource->GetId() : -1, kContextMenuRequest);
  if (!*life) return;
  // The menu is the requesting control's own, else the panel's.
  const bool second = (selector & kSecondMenu) != 0;
  KyStateWin* pOwner = pControl ? static_cast<KyStateWin*>(pControl) : this;
  const int iMenu = pOwner->GetContextMenu(second ? 1 : 0);
  if (second && pControl && iMenu != -1) pControl->SetFocus();
  if (!*life) return;
  pOwner->DisplayContextMenu(iMenu, second ? TPM_RIGHTBUTTON : 0, ptScreen.x, ptScreen.y);
}
