// The window classes that the window system itself provides ("Button",
// "Edit", "#32770" ...). Each control file declares its class with a static
// SystemClass; the class becomes a global class the first time a window or a
// class query asks for it, so programs never register these names themselves.
#pragma once

#include <windows.h>

namespace win32::user {

struct SystemClassInfo {
  LPCSTR name;             // a class name, or MAKEINTATOM for the dialog class
  WNDPROC proc;
  UINT style;
  int wndExtraBytes;
  LPCSTR cursor;           // IDC_* of the class, or nullptr
  int backgroundColor;     // COLOR_* + 1 as the class brush, or 0 for none
};

struct SystemClass {
  explicit SystemClass(const SystemClassInfo& info);
};

}  // namespace win32::user
