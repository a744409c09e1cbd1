// The instance record that every control window of the library keeps, and
// the class dispatcher that every class's window procedure goes through.
#pragma once

#include <windows.h>

#include "kymessages.h"

// The head every class's record begins with; class fields follow it.
struct HCtlRecord {
  HWND window;
  HWND notifyTarget;  // gets WM_COMMAND notifications; the parent at creation
  WORD id;            // low word of the creation id
  WORD flags;         // HCTL_* bits and the class's own bits
  HFONT font;         // from WM_SETFONT; none at creation
  DWORD style;        // from KYM_SETSTYLE or creation; the static and the edit keep all 32 bits
};

// A class handler sees every message of its class first (WM_NCCREATE even
// before a record exists). It clears nothing: the dispatcher sets *passOn to
// FALSE before the call; the handler sets it TRUE to let the common handler
// and then DefWindowProcA answer.
typedef LRESULT (*HCtlClassHandler)(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn,
                                    HCtlRecord* record);

// Each class's handler is a function of exactly this signature, defined in
// the global namespace beside the class's code:
//   HButtProc (Butt, record in slot 1), HEdProc (Edit_SS and Edit), HLProc
//   (List), HStatProc (Stat), HToolProc (Tool), HCProc (Comb), HCDropProc
//   (Drop), HGridProc (Grid), HTabsProc (Tabs), HSpProc (Spin);
// all others keep their record in slot 0. RavletsInit registers a class only
// when its handler is linked into the library (ravlets.cpp refers to them
// weakly), so a class whose code is not built yet is simply absent.

// The record slot of a class is the index of a pointer-sized window long
// (byte offset slot * sizeof(LONG_PTR)).
LRESULT HCtlDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, HCtlClassHandler handler,
                     int recordSlot);
// The messages every class shares; TRUE when answered (*result holds the answer).
BOOL HCtlCommonProc(HCtlRecord* record, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// Sends WM_COMMAND(id | code << 16, window) to the target. Non-zero when the
// receiver vetoed (KYM_VETO) or destroyed the control meanwhile; 0 otherwise,
// also when nothing was sent (no target, notifications off).
int HCtlNotify(HCtlRecord* record, int code);
// The same, with the class's own test of whether the record still lives
// after the receiver ran (a class that can tell without a message).
typedef BOOL (*HCtlRecordLives)(HWND window, const HCtlRecord* record);
int HCtlNotifyChecked(HCtlRecord* record, int code, HCtlRecordLives lives);

// Kinds of HCtlGetColorBrush.
enum { HCTL_BRUSH_EDIT = 1, HCTL_BRUSH_LISTBOX = 2, HCTL_BRUSH_BUTTON = 3, HCTL_BRUSH_STATIC = 6 };
// The background brush the target answers to WM_CTLCOLOR*; the white stock
// brush for a zero answer or another kind.
HBRUSH HCtlGetColorBrush(HCtlRecord* record, int kind, HDC dc);

// Fills the head from WM_NCCREATE's creation data and stores the record
// (KYM_SETINSTANCE); the creation style becomes GWL_STYLE.
void HCtlInitRecord(HCtlRecord* record, HWND window, const CREATESTRUCTA* create);

// WM_PAINT of a class that paints itself on WM_ERASEBKGND (setting
// *paintedByErase): BeginPaint's erase painted it, or it is painted here.
typedef void (*HCtlPaintFn)(HCtlRecord* record, HDC dc);
LRESULT HCtlPaintWithErase(HCtlRecord* record, BOOL* paintedByErase, HCtlPaintFn paint);

// RegisterClassA with these fields; the atom, 0 on failure.
ATOM HCtlRegisterClass(UINT style, WNDPROC procedure, int classExtra, int windowExtra, HINSTANCE module, HICON icon,
                       HCURSOR cursor, HBRUSH background, LPCSTR menu, LPCSTR name);
