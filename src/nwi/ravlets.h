// Exported functions of the custom control library's window infrastructure:
// the one-time initialisation that registers the window classes under a
// prefix, and small window utilities the run-time shares with the library.
#pragma once

#include <windows.h>

#include "kymessages.h"

extern "C" {
// Registers the library's window classes as <prefix>Butt, <prefix>Edit_SS,
// <prefix>Edit, <prefix>List, <prefix>Stat, <prefix>Tool, <prefix>Comb,
// <prefix>Drop, <prefix>Grid, <prefix>Tabs and <prefix>Spin (CS_GLOBALCLASS,
// under the library's module), after reading the international settings.
// Once per process: later calls do nothing. Answers TRUE once initialised;
// FALSE for a missing or over-long prefix (nothing is registered then).
// A class whose handler this build of the library does not have yet is
// left unregistered even so: TRUE does not promise every class, and
// creating a window of a missing class fails (GetClassInfoA tells which exist).
BOOL WINAPI RavletsInit(LPCSTR prefix);
// Nothing to undo: the classes stay registered for the process.
void WINAPI RavletsExit(void);

// The library-wide overwrite mode of edit fields; the setter answers the previous mode.
BOOL WINAPI GetOverwriteMode(void);
BOOL WINAPI SetOverwriteMode(BOOL overwrite);

// Centres the window on its parent's client area (the screen without a
// parent), `offset` pixels lower; clamped to 0. MoveWindow's result; 0 for
// no window.
BOOL WINAPI CenterWindow(HWND window, int offset);
// Both corners of the rectangle from client to screen coordinates of the window, and back.
void WINAPI RCtoS(HWND window, LPRECT rect);
void WINAPI RStoC(HWND window, LPRECT rect);
// Height or width of the window rectangle; 0 for no window.
int WINAPI WindowHeight(HWND window);
int WINAPI WindowWidth(HWND window);
// Moves the tail of `text` from `position` on by `count` characters (the
// terminator included) and fills the gap with `count` copies of `c`. The
// caller provides the room. Answers `text`.
LPSTR WINAPI _fstrcins(LPSTR text, char c, int count, int position);
}

extern "C" {
// Dialog-message handling for a dialog that embeds a tab page: Tab and
// Shift+Tab move through the page's controls as part of the dialog's order
// (right after the tab control `tabId`), Enter and Esc go to the dialog
// when the page has no default or cancel button, Alt+mnemonics find
// controls on the page too. Without a page, IsDialogMessageA(dialog, msg).
// Non-zero when the message was used.
BOOL WINAPI IsTabDlgMessage(HWND dialog, HWND page, int tabId, LPMSG msg);
}
