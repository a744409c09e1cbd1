// Library-wide state of the custom control library (one copy per process,
// used from the user-interface thread): its module, the shared cursors, the
// version flags and the overwrite mode.
#pragma once

#include <windows.h>

// The library's own module: its resources, the owner of its classes.
HINSTANCE HCtlLibraryModule();
// The standard arrow and I-beam cursors, loaded by RavletsInit.
HCURSOR HCtlArrowCursor();
HCURSOR HCtlIBeamCursor();
// The Windows version word's major number in the high byte, minor in the low.
WORD HCtlWinVersion();
// TRUE when the major version is 4 (the list then skips an extra 3-D frame).
BOOL HCtlIsVersion4();
BOOL HCtlInitialised();

// Sets the window procedure when it differs; answers the previous one, or
// nullptr when it was already set.
WNDPROC HCtlSubclass(HWND window, WNDPROC procedure);
// UpdateWindow on the top-level ancestor.
void HCtlUpdateTopWindow(HWND window);
// 2834 when the top-level window's class name begins with "RWSWnd", 2609
// with "DlgEdit" (ignoring case), else 0: a design-time host.
int HCtlHostKind(HWND window);
// TRUE when the window's class name ends with `suffix` (a window of one of
// this library's classes under any prefix).
BOOL HCtlClassHasSuffix(HWND window, const char* suffix);

// Height in the high word and average letter width in the low word of the
// font (the system font when none).
DWORD HCtlAvgCharSize(HFONT font);
// Size of a multi-line text with '&' mnemonic prefixes: summed line heights
// in the high word, widest line in the low word.
DWORD HCtlTextExtent(HDC dc, LPCSTR text);

// Copies of texts on the sub-allocator.
LPSTR HCtlStrDup(LPCSTR text);                  // nullptr for nullptr
LPSTR HCtlReplaceDup(LPSTR* holder, LPCSTR text);  // frees the held copy, stores a new one
LPSTR HCtlFillDup(LPCSTR text, char c);         // same length, every character c
// Copies at most size - 1 characters (all when size is negative) and
// terminates; 0 and nothing copied for size 0 or no source. The count copied.
int HCtlCopyText(LPSTR target, LPCSTR source, int size);
int HCtlWideLength(const WCHAR* text);
BOOL HCtlIsLeadByte(char c);

// IME composition window and font of the window's input context; nothing
// unless RavletsInit bound the IME entry.
void HCtlImeSetCompositionPos(HWND window, DWORD x, DWORD y);
void HCtlImeSetCompositionFont(HWND window, HFONT font);
void HCtlImeBind();
