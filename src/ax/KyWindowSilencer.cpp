#include "KyWindowSilencer.h"

#include <map>

#ifndef WM_XBUTTONDBLCLK
#define WM_XBUTTONDBLCLK 0x020D
#endif
#ifndef WM_UNICHAR
#define WM_UNICHAR 0x0109
#endif

namespace {

// Which silencer a window's messages go through (GUI thread only).
std::map<HWND, KyWindowSilencer*>& silencers() {
  static std::map<HWND, KyWindowSilencer*> map;
  return map;
}

bool swallowed(UINT message) {
  return message == WM_SETCURSOR || (message >= WM_MOUSEMOVE && message <= WM_XBUTTONDBLCLK) ||
         (message >= WM_KEYDOWN && message <= WM_UNICHAR);
}

}  // namespace

KyWindowSilencer::KyWindowSilencer(HWND window) : m_window(window) {
  if (!IsWindow(window) || silencers().count(window)) return;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    m_children.push_back(std::make_unique<KyWindowSilencer>(child));
  silencers()[window] = this;
  m_previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KyWindowSilencer::silencedProc)));
}

KyWindowSilencer::~KyWindowSilencer() {
  m_children.clear();
  if (!m_previous) return;
  silencers().erase(m_window);
  if (IsWindow(m_window)) SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
}

LRESULT CALLBACK KyWindowSilencer::silencedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto found = silencers().find(hwnd);
  if (found == silencers().end()) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCHITTEST) return HTTRANSPARENT;
  if (swallowed(message)) return 1;
  const WNDPROC previous = found->second->m_previous;
  if (message == WM_NCDESTROY) {
    // The window goes: its procedure is put back and the silencer forgets it.
    found->second->m_previous = nullptr;
    silencers().erase(found);
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  }
  return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}
