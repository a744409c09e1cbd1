// The VBX emulation library (BIVBX30.32N, loaded by name): 16-bit VBX
// custom controls cannot run here, so the library hosts VBX-style controls
// written for it, with the entry points a VBX host binds. A VBX file names
// the classes it provides, one "class=<name>" line each; the library knows
// the classes "Gauge" and "Switch".
//
// Handles are pointer-sized and never cut: a control (HCTL), a string
// value (HSZ) and a picture (HPIC). Property values travel as LONG_PTR: a
// number as itself, a string as an HSZ when read and as a const char* when
// written, a float as its IEEE bits in the low 32 bits, a picture as its
// HPIC. Events reach the control's parent as the registered message
// VBX_EVENT_MESSAGE with wParam = control id and lParam = event index.
#pragma once

#include <windows.h>

typedef struct VBXControl__* HCTL;
typedef struct VBXString__* HSZ;
typedef struct VBXPicture__* HPIC;

// Property type codes (the VB 3 model's): 1 and 13 strings, 7 float, 12
// picture; the others are numbers.
#define VBX_PT_STRING 1
#define VBX_PT_SHORT 2
#define VBX_PT_LONG 3
#define VBX_PT_BOOL 4
#define VBX_PT_COLOR 5
#define VBX_PT_FLOAT 7
#define VBX_PT_PICTURE 12
#define VBX_PT_HSZ 13

#define VBX_EVENT_MESSAGE "KyVBXEvent"

#ifdef __cplusplus
extern "C" {
#endif

BOOL WINAPI VBXInit32(HINSTANCE hInstance, LPCSTR lpszName);
void WINAPI VBXTerm32(void);
// Null when the file is missing, does not name the class, or the window
// cannot be made.
HCTL WINAPI VBXCreate(LPCSTR lpszFile, LPCSTR lpszClass, LPCSTR lpszText, int x, int y, int cx, int cy,
                      HWND hwndParent, UINT id);
HWND WINAPI VBXGetHwnd(HCTL hctl);
int WINAPI VBXGetPropIndex(HCTL hctl, LPCSTR lpszName);  // -1 when unknown
int WINAPI VBXGetPropType(HCTL hctl, int index);         // 0 when unknown
BOOL WINAPI VBXIsArrayProp(HCTL hctl, int index);
BOOL WINAPI VBXGetProp(HCTL hctl, int index, LONG_PTR* pValue);
BOOL WINAPI VBXSetProp(HCTL hctl, int index, LONG_PTR value);
BOOL WINAPI VBXGetArrayProp(HCTL hctl, int index, int element, LONG_PTR* pValue);
BOOL WINAPI VBXSetArrayProp(HCTL hctl, int index, int element, LONG_PTR value);
// Copies the string (at most size - 1 characters and a zero); its length.
int WINAPI VBXGetCStringBuf(HSZ hsz, LPSTR lpBuffer, int size);
void WINAPI VBXDestroyCString(HSZ hsz);
int WINAPI VBXGetEventIndex(HCTL hctl, LPCSTR lpszName);  // -1 when unknown
int WINAPI VBXGetEventNameBuf(HCTL hctl, int index, LPSTR lpBuffer, int size);  // 0 when unknown
BOOL WINAPI VBXMethodAddItem(HCTL hctl, LPCSTR lpszItem, int index);
BOOL WINAPI VBXMethodClear(HCTL hctl);
BOOL WINAPI VBXMethodDrag(HCTL hctl, int action);
BOOL WINAPI VBXMethodMove(HCTL hctl, int x, int y, int cx, int cy);
BOOL WINAPI VBXMethodRefresh(HCTL hctl);
BOOL WINAPI VBXMethodRemoveItem(HCTL hctl, int index);
// A picture of the library made from a copy of the bitmap (the caller keeps
// its own); referenced and released by count.
HPIC WINAPI VBXCreatePicture(HBITMAP hBitmap, HPALETTE hPalette);
HPIC WINAPI VBXReferencePicture(HPIC hpic);
void WINAPI VBXDestroyPicture(HPIC hpic);
int WINAPI VBXTwp2PixX(LONG twips);
int WINAPI VBXTwp2PixY(LONG twips);
LONG WINAPI VBXPix2TwpX(int pixels);
LONG WINAPI VBXPix2TwpY(int pixels);

#ifdef __cplusplus
}
#endif
