// Rendering windows the way the screen would show them, for tests and people.
#pragma once

#include <windows.h>

namespace win32::snapshot {

// Paints everything pending of `hwnd`'s top-level window and its children
// (WM_NCPAINT, WM_ERASEBKGND, WM_PAINT are sent to windows of the calling
// thread now; other threads' windows as they pump), then writes the window -
// frame and children included - to a PNG file. FALSE with the last error
// set for a bad window or an unwritable file.
BOOL saveWindowPng(HWND hwnd, const char* path);

// The colour of one pixel of `hwnd` in window coordinates (0,0 = the window
// rectangle's top-left), after painting what is pending; CLR_INVALID
// (0xFFFFFFFF) outside the window or for a bad window.
COLORREF windowPixel(HWND hwnd, int x, int y);

}  // namespace win32::snapshot
