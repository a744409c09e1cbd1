// The screen a top-level window is shown on: none (headless, the default)
// or an X server (x11_*.cpp). The window system calls these where what a
// person would see changes; without a display each call is one test of a
// flag, so the headless path keeps its speed and behaviour.
//
// Which display: KY_DISPLAY=headless forces none; KY_DISPLAY=x11 or a set
// DISPLAY selects the X server named by DISPLAY. The choice is made once,
// on first use; a server that cannot be reached leaves the program
// headless with a message on stderr.
//
// Top-level windows become X windows of their window size showing their
// surface (frame, caption and children as the layer draws them); child
// windows stay the layer's own.
#pragma once

#include <windows.h>

#include <string>

namespace win32::user::display {

// True when top-level windows are shown on an X server.
bool onServer();

// Lock not held. A top-level window's place, size, visibility, owner or
// style changed: its X window follows (made when first shown).
void placeChanged(HWND top);
// Lock held. The window leaves the table: its X window goes.
void destroyed(HWND top);
// Lock held or not. `rect` (surface coordinates) of the window's surface
// was drawn on and is sent to the server at the next flush.
void damaged(HWND top, const RECT& rect);
// Lock not held. The caption text of the window changed.
void textChanged(HWND top);
// Lock not held. The window became the active window of its thread: it
// takes the server's keyboard focus.
void activated(HWND top);
// Lock not held. The capture went to `hwnd` (nullptr: released): the
// pointer is grabbed for its top-level window meanwhile, so that the mouse
// reaches it outside its windows too.
void captureChanged(HWND hwnd);
// Lock not held. WM_SETICON gave the window another icon.
void iconChanged(HWND top);
// Lock not held. The calling thread's caret was made, moved, shown, hidden or destroyed.
void caretChanged();
// Lock not held. SetCursor changed the cursor's shape.
void cursorChanged(HCURSOR cursor);
// Lock not held. The clipboard got text (closed after a change): other
// programs on the server may paste it now.
void clipboardChanged();
// Lock not held. The text another program on the server put on the
// clipboard; false when none did (or the program itself owns it).
bool foreignClipboardText(std::u16string& text);
// Lock not held. Sends what the calling thread's windows drew since the
// last flush; called whenever the thread finds its queue empty.
void flush();

}  // namespace win32::user::display
