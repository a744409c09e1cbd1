// The "Static" control's state and painting, shared by static.cpp (messages,
// images, notifications) and static_paint.cpp (one painter per static type).
#pragma once

#include <windows.h>

namespace win32::user::statics {

struct StaticState {
  HFONT font = nullptr;
  HANDLE image = nullptr;       // icon, cursor, bitmap or metafile by the style
  UINT imageType = IMAGE_ICON;
  bool ownsImage = false;       // loaded from the window text: destroyed with the control
};

DWORD typeOf(DWORD style);  // SS_TYPEMASK

void paint(HWND hwnd, HDC dc, const StaticState& st);

}  // namespace win32::user::statics
