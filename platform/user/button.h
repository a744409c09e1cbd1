// The "Button" control's state and painting, shared by button.cpp (messages,
// keyboard and mouse) and button_paint.cpp (one painter per button type).
#pragma once

#include <windows.h>

namespace win32::user::button {

struct ButtonState {
  UINT check = BST_UNCHECKED;  // BST_CHECKED or BST_INDETERMINATE for the checkable types
  bool pushed = false;         // drawn pressed (BST_PUSHED)
  bool focused = false;        // BST_FOCUS
  bool tracking = false;       // mouse button or space bar down on the button: release inside clicks
  HFONT font = nullptr;
  HANDLE image = nullptr;      // BM_SETIMAGE
  UINT imageType = IMAGE_BITMAP;
};

// The button type of a style (BS_TYPEMASK; unknown types behave as push buttons).
UINT typeOf(DWORD style);

// Paints the whole button (ODA_DRAWENTIRE) or, for owner-drawn buttons,
// asks the parent with `action` (ODA_SELECT after a press, ODA_FOCUS ...).
void paint(HWND hwnd, HDC dc, const ButtonState& st, UINT action);

}  // namespace win32::user::button
