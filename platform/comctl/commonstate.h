// What the common controls share: their C++ state behind the window's first
// extra pointer, WM_NOTIFY to the parent, and class registration.
#pragma once

#include <commctrl.h>

#include <memory>

namespace win32::comctl {

// Each class reserves one pointer of window extra bytes (offset 0) for its
// state; made at WM_NCCREATE, freed at WM_NCDESTROY.
constexpr int kStateBytes = sizeof(void*);

template <class T>
T* stateOf(HWND hwnd) {
  return reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, 0));
}

template <class T>
T* attachState(HWND hwnd) {
  auto made = std::make_unique<T>();
  SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(made.get()));
  return made.release();
}

template <class T>
void detachState(HWND hwnd) {
  std::unique_ptr<T> owned(stateOf<T>(hwnd));
  SetWindowLongPtrA(hwnd, 0, 0);
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

}  // namespace win32::comctl
