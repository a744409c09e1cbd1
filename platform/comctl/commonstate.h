// What the common controls share: their C++ state kept with the window,
// WM_NOTIFY to the parent, and class registration.
#pragma once

#include <commctrl.h>
#include <internal/controlstate.h>

#include <memory>

namespace win32::comctl {

// Each class reserves one pointer of window extra bytes, as the system's
// classes do, but keeps its state in the window's record, out of reach of
// SetWindowLong (internal/controlstate.h); made at WM_NCCREATE, freed at
// WM_NCDESTROY.
constexpr int kStateBytes = sizeof(void*);

template <class T>
T* stateOf(HWND hwnd) {
  return user::controlStateAs<T>(hwnd);
}

template <class T>
T* attachState(HWND hwnd) {
  auto made = std::make_unique<T>();
  user::setControlState(hwnd, &user::ControlKind<T>::tag, made.get());
  return made.release();
}

template <class T>
void detachState(HWND hwnd) {
  std::unique_ptr<T> owned(stateOf<T>(hwnd));
  if (owned) user::setControlState(hwnd, &user::ControlKind<T>::tag, nullptr);
}

// Fills the header (sender, its id, the code) and sends WM_NOTIFY to
// `target` (the parent when null); answers what the receiver answered, 0
// when there is nobody to tell.
LRESULT notify(HWND from, UINT code, NMHDR* header, HWND target = nullptr);

// The window a control reports to: its parent, else its owner.
HWND reportTarget(HWND hwnd);

// Lays a bar along its parent's top or bottom edge as wide as the parent's
// client area, `height` high: CCS_TOP/CCS_BOTTOM choose the edge (a style
// with neither takes `defaultEdge`), CCS_NOMOVEY keeps the bar's top,
// CCS_NOPARENTALIGN keeps its place and CCS_NORESIZE its size.
void alignToParent(HWND hwnd, int height, DWORD defaultEdge);

// A global class with one pointer of state; false when registration failed
// for another reason than the class existing already.
bool registerControlClass(LPCSTR name, WNDPROC proc, UINT style, LPCSTR cursor, int backgroundColor);

// Registration functions of each control file, called once by init.
void registerToolbar();
void registerStatusBar();
void registerUpDown();
void registerToolTips();
void registerTabControl();
void registerListView();

}  // namespace win32::comctl
