// The combo box: a face (an edit field, or a single-item list sharing the
// list's items) and a list (a visible child below the face, or a list that
// drops down from a button), kept in step. Classes <prefix>Comb (HCProc) and
// <prefix>Drop (HCDropProc, the list's class with its own handler).
//
// Where the code lives: combocontrol.cpp the combo's messages and children;
// combodrop.cpp dropping and closing the list, its mouse hook, the button,
// the list's class handler and the face's subclass; combosync.cpp keeping
// face and list in step, and the HC* exports.
#pragma once

#include <windows.h>

#include "ctlrecord.h"
#include "listcontrol.h"

// Private messages of the combo (the list's and the edit's go to its children).
#define KYM_COMBOFACEFOCUS (WM_USER + 121)      // 1145
#define KYM_COMBOFACEBLUR (WM_USER + 122)       // 1146
#define KYM_COMBOSYSKEY (WM_USER + 251)         // 1275: wParam key
#define KYM_COMBOGETDROPHEIGHT (WM_USER + 273)  // 1297
#define KYM_COMBOSETDROPHEIGHT (WM_USER + 274)  // 1298: wParam height
#define KYM_COMBOGETDROPWIDTH (WM_USER + 275)   // 1299
#define KYM_COMBOSETDROPWIDTH (WM_USER + 276)   // 1300: wParam width

// Child ids.
enum : int { HC_EDIT_ID = 1, HC_FACE_ID = 2, HC_LIST_ID = 65534 };

// Notifications to the owner.
enum : int {
  HC_N_CHANGE = 1, HC_N_DBLCLK = 2, HC_N_SETFOCUS = 4, HC_N_KILLFOCUS = 5, HC_N_EDITMODIFIED = 6, HC_N_DROPDOWN = 7,
  HC_N_EDITCHANGE = 8, HC_N_CLOSEUP = 9, HC_N_LEFTCHANGED = 0x400
};

// Class style bits.
enum : DWORD {
  HCS_DROPDOWN = 0x0001, HCS_EDITABLE = 0x0008, HCS_3DFRAME = 0x0010, HCS_FOCUSBRUSH = 0x0020, HCS_TABCUT = 0x0080,
  HCS_WANTKEYS = 0x1000
};

// Flag word bits.
enum : WORD { HCF_DROPPED = 0x1, HCF_HELD = 0x2, HCF_PRESSED = 0x4, HCF_DIFFERS = 0x8, HCF_CHANGED = HCTL_CHANGED };

struct HCRecord {
  HCtlRecord head;
  WNDPROC faceProc;  // the face's own procedure (the combo subclasses it)
  int dropHeight;    // pixels
  int dropWidth;     // pixels; 0 = the combo's width
  HWND face;
  HWND list;
  HCtlRecord* faceRecord;
  HLRecord* listRecord;
};

LRESULT HCProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* record);
LRESULT HCDropProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* record);
LRESULT CALLBACK HCFaceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The combo record of a window of this library's combo class, else nullptr.
HCRecord* HCRecordOf(HWND window);
bool HCEditable(const HCRecord* r);

// Direction 0: the face from the list; 1: the list from the face.
void HCSync(HCRecord* r, int direction, BOOL notify);
void HCDropDown(HWND window);
void HCCloseUp(HCRecord* r, HWND window);
void HCToggle(HCRecord* r);
void HCLayout(HCRecord* r);
void HCDrawButton(HWND window, HDC dc, BOOL pressed);
// The button column at the right of the client area.
RECT HCButtonRect(HCRecord* r);

extern "C" {
int WINAPI HCAddItemEx(HWND window, const void* data, const void* code);
int WINAPI HCAddItems(HWND window, int count, const void* data);
int WINAPI HCAddItemsEx(HWND window, int count, const void* data, const void* codes);
int WINAPI HCInsertItemEx(HWND window, int index, const void* data, const void* code);
int WINAPI HCInsertItems(HWND window, int index, int count, const void* data);
int WINAPI HCInsertItemsEx(HWND window, int index, int count, const void* data, const void* codes);
int WINAPI HCDeleteItems(HWND window, int which, int count, const void* values);
int WINAPI HCGetItems(HWND window, int count, int what, void* out, int which, const void* values, int bufferSize);
}
