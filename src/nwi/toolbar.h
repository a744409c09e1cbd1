// The tool bar (class <prefix>Tool, and "HTool" for HToolCreate): a window
// whose child controls come from a dialog template resource and which docks
// against an edge of its parent or floats as a small pop-up with a caption.
// Its children's commands and colour requests go on to its notification
// target.
//
// Files: toolbar.cpp (the class, docking, the exports), dialogtemplate.cpp
// (children from a dialog template, rescaling to a font).
#pragma once

#include "ctlrecord.h"

#define KYM_TOOLGETBRUSH (WM_USER + 12)      // 1036
#define KYM_TOOLSETBRUSH (WM_USER + 13)      // 1037: wParam brush, 0 a new COLOR_BTNFACE one
#define KYM_TOOLGETTHICKNESS (WM_USER + 16)  // 1040
#define KYM_TOOLSETTHICKNESS (WM_USER + 17)  // 1041: wParam thickness, lParam re-dock

// Tool bar style bits (besides WS_POPUP, which floats the bar).
enum : DWORD {
  HTS_BOTTOM = 0x01, HTS_LEFT = 0x02, HTS_RIGHT = 0x04,  // none of them: the top
  HTS_OWNLENGTH = 0x08,  // not stretched over the parent's width or height
  HTS_3DBORDER = 0x10,
  HTS_FONTGIVEN = 0x8000,  // WM_SETFONT gave the font: the bar does not delete it
};

struct HToolRecord {
  HCtlRecord head;     // head.style: the whole 32-bit style
  int thickness;       // height docked at top or bottom, width docked left or right
  int parentWidth, parentHeight;  // the parent's client size at the last re-dock
  HBRUSH background;   // owned
  HFONT templateFont;  // made from the template, owned unless a font was given
  BOOL paintedByErase;
};

extern "C" {
// Creates a tool bar from dialog template `templateId` of `module`: a
// pop-up with caption and system menu for a negative style (id 0), else a
// child docked as the style says. The window, or none.
HWND WINAPI HToolCreate(HINSTANCE module, LPCSTR templateId, HWND parent, HWND target, LONG style, int id, int x,
                        int y);
// Docks a docked bar again to its parent's client area.
void WINAPI HToolUpdate(HWND window);
}

LRESULT HToolProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* record);

// Creates the items of a standard dialog template as children of `parent`
// (redrawing off meanwhile) and sends the parent WM_INITDIALOG. *size gets
// the template's size in pixels, *font the template's font (none without
// DS_SETFONT). The first child with WS_TABSTOP, else the first child; 0
// when the template cannot be found, locked or read.
HWND HCtlCreateFromTemplate(HINSTANCE module, LPCSTR name, HWND parent, SIZE* size, HFONT* font);
// EnumChildWindows callback: moves a child from the old font's scale to the
// new one's and gives it the new font. lParam points at {new font, old font}.
BOOL CALLBACK HCtlRescaleChild(HWND child, LPARAM fonts);
