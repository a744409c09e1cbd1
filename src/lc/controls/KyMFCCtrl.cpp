#include "KyMFCCtrl.h"

#include "KyCtrl.h"
#include "KyPanel.h"
#include "natctl.h"
#include "editcontrol.h"
#include "natmessages.h"

namespace {

constexpr char kWrapperProperty[] = "KyMFCCtrl";
// A control's own context-menu requests: its second menu, its first menu.
constexpr UINT KYM_CONTEXTMENU2 = 1454, KYM_CONTEXTMENU1 = 1455;
constexpr int kMouseMoved = 15, kButtonPressed = 16;
constexpr WPARAM kFirstMenu = 0x1, kSecondMenu = 0x2;

// The messages a native facade forwards to its mouse window.
bool isForwarded(UINT message) {
  switch (message) {
    case WM_KEYDOWN: case WM_KEYUP: case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_SETFOCUS: case WM_KILLFOCUS:
    case NKM_MOUSE1: case NKM_MOUSE2:
      return true;
    default:
      return false;
  }
}

}  // namespace

KyMFCCtrl::~KyMFCCtrl() { detach(); }

bool KyMFCCtrl::AttachTo(HWND hWnd, KyGUIControl* pNative) {
  if (!hWnd || !IsWindow(hWnd) || m_hControl) return false;
  if (!SetPropA(hWnd, kWrapperProperty, this)) return false;
  m_hControl = hWnd;
  m_pfnPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KyMFCCtrl::procedure)));
  if (pNative) {
    // The window object of the wrapper is the control window itself, not
    // owned (the facade's object owns it).
    m_hWnd = hWnd;
    pNative->SetMouseWnd(this);
  }
  return true;
}

void KyMFCCtrl::detach() {
  if (!m_hControl) return;
  if (IsWindow(m_hControl)) {
    // Only when nothing went in front of the wrapper since; otherwise the
    // later procedure keeps calling through it, and the property says the
    // wrapper is gone.
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(m_hControl, GWLP_WNDPROC)) == &KyMFCCtrl::procedure)
      SetWindowLongPtrA(m_hControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnPrevious));
    RemovePropA(m_hControl, kWrapperProperty);
  }
  m_hControl = nullptr;
  m_hWnd = nullptr;
}

LRESULT CALLBACK KyMFCCtrl::procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<KyMFCCtrl*>(GetPropA(hWnd, kWrapperProperty));
  if (!self) return DefWindowProcA(hWnd, message, wParam, lParam);
  return self->handle(message, wParam, lParam);
}

LRESULT KyMFCCtrl::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hWnd = m_hControl;
  WNDPROC pfnPrevious = m_pfnPrevious;
  if (message == WM_NCDESTROY) {
    detach();
    return CallWindowProcA(pfnPrevious, hWnd, message, wParam, lParam);
  }
  if (isForwarded(message)) {
    if (m_uPassing == message) return 0;  // the facade's copy of this very message
  }
  if ((message == KYM_CONTEXTMENU2 || message == KYM_CONTEXTMENU1) && m_pControl && m_pControl->GetPanel()) {
    const POINT ptScreen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    m_pControl->GetPanel()->ContextMenuRequest(
        m_pControl, wParam | (message == KYM_CONTEXTMENU2 ? kSecondMenu : kFirstMenu), ptScreen);
    return 0;
  }
  Observe(message, wParam, lParam, m_iDepth > 0);
  if (const char* pszEvent = m_pControl ? m_pControl->GetTrappedEvent(message) : nullptr) {
    if (KyPanel* pPanel = m_pControl->GetPanel()) pPanel->DoEvent(pszEvent);
    if (!IsWindow(hWnd)) return 0;
  }
  LRESULT intercepted = 0;
  if (Intercept(message, wParam, lParam, &intercepted)) return intercepted;
  const UINT outer = m_uPassing;
  if (isForwarded(message)) m_uPassing = message;
  ++m_iDepth;
  const LRESULT result = CallWindowProcA(pfnPrevious, hWnd, message, wParam, lParam);
  // The window may be gone, and the wrapper with its control.
  if (!IsWindow(hWnd) || GetPropA(hWnd, kWrapperProperty) != this) return result;
  --m_iDepth;
  m_uPassing = outer;
  // The window's own handling first, then the panel's events; a message the
  // window sent itself is not the user's.
  if (m_iDepth == 0) mouseEvent(message, lParam);
  return result;
}

void KyMFCCtrl::mouseEvent(UINT message, LPARAM lParam) {
  KyPanel* pPanel = m_pControl ? m_pControl->GetPanel() : nullptr;
  if (!pPanel) return;
  POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      ::ClientToScreen(m_hControl, &pt);
      pPanel->MouseEvent(m_pControl, message == WM_MOUSEMOVE ? kMouseMoved : kButtonPressed, pt);
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      ::ClientToScreen(m_hControl, &pt);
      pPanel->ContextMenuRequest(m_pControl, message == WM_LBUTTONUP ? kFirstMenu : kSecondMenu, pt);
      break;
    default:
      break;
  }
}

void ButtonCtrl::EnableControl() {
  if (HWND hWnd = m_pControl ? m_pControl->GetWindowHandle() : nullptr) ::EnableWindow(hWnd, TRUE);
}

void ButtonCtrl::DisableControl() {
  if (HWND hWnd = m_pControl ? m_pControl->GetWindowHandle() : nullptr) ::EnableWindow(hWnd, FALSE);
}

void SpinCtrl::Observe(UINT message, WPARAM, LPARAM, bool fNested) {
  if (fNested) return;
  if (message == NKM_STEPUP || message == NKM_STEPDOWN) m_uLastRequest = message;
  // A value shown is a set text too.
  if (message == WM_SETTEXT || message == KYM_SETDATA) m_uLastRequest = WM_SETTEXT;
}
