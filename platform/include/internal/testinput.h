// Synthetic user input for tests: what a person's keyboard and mouse would
// produce, going through the message queue exactly as real input does
// (hooks, capture, hit testing, activation by click, WM_SETCURSOR, double
// clicks of CS_DBLCLKS classes, key state). Coordinates are client
// coordinates of the given window. Nothing is dispatched until the queue is
// pumped (pumpMessages or the program's own loop).
#pragma once

#include <windows.h>

namespace win32::input {

enum class Button { left, right, middle };

void keyDown(UINT vk);
void keyUp(UINT vk);
// Down then up.
void keyPress(UINT vk);
// A key with modifiers held around it (pressed in the order shift, ctrl, alt; released backwards).
void chord(UINT vk, bool shift, bool ctrl, bool alt = false);
// Each character typed with the US layout (shift where the character needs it).
void typeText(const char* text);

void mouseMove(HWND hwnd, int x, int y);
void mouseDown(HWND hwnd, int x, int y, Button button = Button::left);
void mouseUp(HWND hwnd, int x, int y, Button button = Button::left);
// Move, press and release at one point.
void click(HWND hwnd, int x, int y, Button button = Button::left);
// Two clicks within the double-click time and distance.
void doubleClick(HWND hwnd, int x, int y);
// Press at the first point, move in steps to the second, release there.
void drag(HWND hwnd, int x0, int y0, int x1, int y1);
// Rotates the wheel by `delta` (120 a notch) with the cursor at the point.
void wheel(HWND hwnd, int x, int y, int delta);

// Takes, translates and dispatches every message the calling thread has
// (WM_PAINT and due timers included) until the queue is empty. Answers how
// many messages were dispatched.
int pumpMessages();

}  // namespace win32::input

// --- menus (menutrack.cpp) ---------------------------------------------------
namespace win32::input {

// The item the next menu a person would use picks: TrackPopupMenu(Ex), the
// menu bar opened by Alt+mnemonic, F10 or a click, the system menu. `id` is
// the command id of the item (reached through the submenus that hold it); 0
// dismisses the menu. Choices are used in the order pushed; a menu with no
// choice left is dismissed. A choice of a greyed item or of an id the menu
// does not hold dismisses the menu too, as a person could not pick it.
void pushMenuChoice(UINT id);
void clearMenuChoices();
size_t pendingMenuChoices();

}  // namespace win32::input
// --- end of menus ------------------------------------------------------------
