// Raw input of the layer: what a keyboard and a mouse would produce,
// queued for the thread that owns the window it goes to.
#pragma once

#include <windows.h>

namespace win32::user {

// A key went down or up (generic VK_SHIFT/VK_CONTROL/VK_MENU or any other key).
void queueKeyInput(BYTE vk, bool up);
// The same with the scan code the keyboard gave (a display's own keys).
void queueKeyInput(BYTE vk, bool up, UINT scan, bool extended);
// A mouse message (WM_MOUSEMOVE, WM_LBUTTONDOWN ... WM_MOUSEWHEEL in client
// form) at a screen point; `wheel` is the wheel delta of WM_MOUSEWHEEL.
void queueMouseInput(UINT msg, POINT screen, short wheel);

// rawinput.cpp: the pointer left every window of the program (a display's
// pointer went elsewhere): windows watched for TME_LEAVE hear WM_MOUSELEAVE.
void pointerLeftAllWindows();

// keyboard.cpp: the scan code of a virtual key (US layout), and whether it is an extended key.
UINT scanCodeOf(UINT vk, bool& extended);
// keyboard.cpp: the character of a key with the given key state, 0 when none.
int characterOf(UINT vk, const BYTE* keys);

// cursor.cpp: moves the cursor inside the screen and the clip rectangle. Lock held.
POINT moveCursorLocked(POINT p);

// focus.cpp: the foreground window (lock held).
HWND foregroundWindowLocked();

// tree.cpp: the window under a screen point (no messages).
HWND windowFromPointNoMessages(POINT screen);

}  // namespace win32::user
