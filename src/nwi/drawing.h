// Drawing functions that the library's classes share: 3-D bevels and
// frames, the button face and transparent bitmaps.
#pragma once

#include <windows.h>

// Kinds of HCtlDraw3DFrame.
enum {
  HCTL_FRAME_SUNKEN = 0,        // shadow top-left, highlight bottom-right
  HCTL_FRAME_RAISED = 1,        // highlight, shadow
  HCTL_FRAME_ETCHED = 2,        // a raised ring, then a sunken ring inside
  HCTL_FRAME_DEEPSUNKEN = 3,    // a sunken ring, then dark shadow / face inside
  HCTL_FRAME_DOUBLERAISED = 4,  // face / dark shadow, then highlight / shadow inside
};

// Draws the rings of `kind` in the system's 3-D colours; `rect` shrinks by
// one pixel per ring. With `fill` the area is first filled with the DC's
// current brush.
void HCtlDraw3DFrame(HDC dc, RECT* rect, int kind, BOOL fill);

// One ring: the left and top edges with `topLeft`, the right and bottom
// edges with `bottomRight` (the stock white and black pens when none). With
// `fill` the rectangle (one pixel in with `inset`) is first filled with the
// DC's current brush. `rect` ends one pixel smaller on every side.
void HCtlDrawBevel(HDC dc, RECT* rect, HPEN topLeft, HPEN bottomRight, BOOL inset, BOOL fill);

// Flags of HCtlDrawButtonFace.
enum {
  HCTL_FACE_DISABLED = 1,
  HCTL_FACE_DEFAULT = 2,     // inner black rectangle
  HCTL_FACE_PUSHED = 4,      // sunken, content moved right and down by 1 + border width
  HCTL_FACE_LEFT = 8,
  HCTL_FACE_RIGHT = 16,
  HCTL_FACE_EMBOSSED = 32,   // a white copy of the text one pixel right and down first
  HCTL_FACE_CONTENTRECT = 128,  // `rect` receives the content rectangle
};

// Paints a button face off-screen and copies it to `rect`: the face, its
// black outline, the bevel, and either the bitmap (centred, `textColor` as
// its transparent key) or the text (un-escaped, '^' breaks lines,
// vertically centred). `window` may be none.
void HCtlDrawButtonFace(HWND window, HDC dc, RECT* rect, int borderWidth, int flags, LPCSTR text, HFONT font,
                        HBITMAP bitmap, COLORREF textColor);

// Copies the bitmap with the pixels of `key` left out; opaque on a device of
// fewer than 2 colour bits or with a key of 0; nothing on a device that
// cannot BitBlt. A system colour value (high bit set) is resolved.
void HCtlDrawTransparent(HDC dc, HBITMAP bitmap, int x, int y, COLORREF key);

// An etched (else deep sunken) frame in the window's DC around its client
// area, extended by 4 pixels right and down.
void HCtlFrameScrollBars(HWND window, BOOL etched);

// The 3-D frame that edits and lists draw in their non-client area: thin
// (one sunken ring) with WS_BORDER, else two rings. HCtlFrameNcCalcSize
// answers WM_NCCALCSIZE (the default handling, then the rings' inset);
// HCtlFrameNcPaint draws the rings after the default WM_NCPAINT.
LRESULT HCtlFrameNcCalcSize(HWND window, WPARAM wParam, LPARAM lParam);
void HCtlFrameNcPaint(HWND window, WPARAM wParam, LPARAM lParam);
