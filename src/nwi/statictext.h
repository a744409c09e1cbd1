// The static control (class <prefix>Stat): a text, a group box, a frame, a
// picture or a 3-D line, defined by its window text (markup.h). Statics
// never take the focus and let the mouse through.
#pragma once

#include "ctlrecord.h"
#include "picture.h"

// Style bits (low word of the record's style).
enum {
  HSTAT_TYPEMASK = 0x000F,  // HSTAT_TEXT ... HSTAT_VLINE
  HSTAT_3DFRAME = 0x0010,   // 3-D frame (width by WS_BORDER); lines drawn sunken unless WS_BORDER
  HSTAT_3DFRAME2 = 0x0020,  // 3-D frame of width 2
  HSTAT_LEFT = 0x0040,
  HSTAT_RIGHT = 0x0080,     // neither: centred
  HSTAT_SHADOW = 0x0100,    // the text first in white one pixel right and down
  HSTAT_TRANSPARENT = 0x0200,
};
enum { HSTAT_TEXT = 0, HSTAT_GROUP = 1, HSTAT_FRAME = 2, HSTAT_PICTURE = 3, HSTAT_HLINE = 4, HSTAT_VLINE = 5 };

// The longest definition a static reads at creation; longer ones are cut.
inline constexpr int kHStatMaxDefinition = 259;

struct HStatRecord {
  HCtlRecord head;  // head.style keeps the whole 32-bit window style
  LPSTR text;       // owned; line breaks are '\n'
  HCtlPicture picture;
  BOOL ownsPicture;     // the picture came from the store and is freed with the static
  COLORREF textColor;   // for pictures: the transparent key colour; kHCtlNoColor when unset
  COLORREF backColor;   // kHCtlNoColor: COLOR_WINDOW
  BOOL paintedByErase;  // WM_ERASEBKGND already painted for the WM_PAINT that follows
};

// The class handler behind the dispatcher.
LRESULT HStatProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* record);

// The rectangle of the text (types text and group box) or picture, in client coordinates.
RECT HCtlStaticLayout(HStatRecord* record, HDC dc);
// Paints the whole static into `dc`.
void HCtlStaticPaint(HStatRecord* record, HDC dc);
