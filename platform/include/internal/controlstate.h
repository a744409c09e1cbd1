// The C++ state a control class keeps with each of its windows.
//
// It lives in the window's record, not in the window's extra bytes: an
// application's SetWindowLong on a control (or on a class it made from one
// with GetClassInfoA, whose extra bytes it may use from offset 0) cannot
// reach it. The state is tagged with its kind, so that a window is known for
// the control it is by its state rather than by its class name: a
// superclass of "ComboBox" under another name is a combo box too.
#pragma once

#include <windef.h>

namespace win32::user {

// The state of kind `kind` attached to `hwnd`, or nullptr (no window, no
// state, or a state of another kind).
void* controlState(HWND hwnd, const void* kind);
// Attaches `state` of kind `kind` to `hwnd` (nullptr detaches); false for no window.
bool setControlState(HWND hwnd, const void* kind, void* state);

// The parent window given to CreateWindowEx, while it exists (nullptr
// otherwise): a standard control sends its notifications and colour
// messages there, not to GetParent(), which an owned control without
// WS_CHILD or WS_POPUP does not have.
HWND creationParent(HWND hwnd);

// One tag per state type: its address is the kind.
template <class T>
struct ControlKind {
  static inline const char tag = 0;
};

template <class T>
T* controlStateAs(HWND hwnd) {
  return static_cast<T*>(controlState(hwnd, &ControlKind<T>::tag));
}

}  // namespace win32::user
