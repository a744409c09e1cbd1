// Menus of the window system: the menu objects behind HMENU, and what the
// menu tracking, the menu bar and the accelerators share.
//
// Menus live in a table of their own under menuMutex(), which is never held
// while a message is sent: code that notifies a window copies what it needs
// (a MenuSnapshot) first. A menu handle is a small 32-bit value, never a
// pointer, so that a stale handle is simply not found.
#pragma once

#include <windows.h>

#include <mutex>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace win32::user {

struct MenuItem {
  UINT type = MFT_STRING;  // MFT_* (MF_POPUP is not kept here: subMenu says it)
  UINT state = 0;          // MFS_*
  UINT id = 0;
  HMENU subMenu = nullptr;
  HBITMAP checkedBitmap = nullptr;
  HBITMAP uncheckedBitmap = nullptr;
  HBITMAP bitmap = nullptr;  // MFT_BITMAP's image or MIIM_BITMAP's
  ULONG_PTR data = 0;
  std::string text;

  bool separator() const { return (type & MFT_SEPARATOR) != 0; }
  bool enabled() const { return !(state & (MF_GRAYED | MF_DISABLED)); }
  // The MF_* flags GetMenuState and WM_MENUSELECT report for the item.
  UINT flags() const;
};

struct Menu {
  HMENU handle = nullptr;
  bool popup = false;      // CreatePopupMenu (or a submenu of a loaded menu)
  bool system = false;     // a window's system menu
  std::vector<MenuItem> items;
};

std::mutex& menuMutex();
// Lock held. The menu behind `menu`, or nullptr.
Menu* findMenuLocked(HMENU menu);

// A copy of a menu's items, taken under the lock for use without it.
struct MenuSnapshot {
  HMENU handle = nullptr;
  bool system = false;
  std::vector<MenuItem> items;
};
std::optional<MenuSnapshot> snapshotMenu(HMENU menu);

// The position of the item with command `id` in `menu` or, failing that,
// in its submenus (depth first), with the menu that holds it.
struct ItemPlace {
  HMENU menu = nullptr;
  int position = -1;
};
ItemPlace findCommandLocked(HMENU menu, UINT id);

// The character after the first single '&' of a menu text, upper-cased; 0 for none.
char menuMnemonic(const std::string& text);

// --- resources (menuresource.cpp) ---
// A menu from a MENU or MENUEX template of `size` bytes (SIZE_MAX when the
// size is unknown); nullptr with ERROR_INVALID_DATA when it is malformed.
HMENU menuFromTemplate(const void* data, size_t size);

// --- the system menu (menu.cpp) ---
// Lock not held. The window's system menu, made on first use; nullptr when
// the window has none (no WS_SYSMENU).
HMENU systemMenuOf(HWND hwnd, bool create);
// The window's menu bar and its system menu go with the window (WM_NCDESTROY).
void destroyWindowMenus(HWND hwnd);
// Grays the system menu's items that the window's state makes useless
// (as DefWindowProc does before the menu shows).
void refreshSystemMenu(HWND hwnd, HMENU menu);

// --- the menu bar (menubar.cpp) ---
// Paints `menu` as the menu bar of `hwnd` into `bar` (window coordinates).
void paintMenuBar(HDC dc, HWND hwnd, HMENU menu, const RECT& bar);
// The rectangle of each item of the bar, relative to the bar's top-left corner.
std::vector<RECT> menuBarLayout(HMENU menu, int barWidth);
// The menu bar of `hwnd` in screen coordinates; false when it has none.
bool menuBarOnScreen(HWND hwnd, RECT& bar);

// --- tracking (menutrack.cpp) ---
// DefWindowProc's WM_SYSCOMMAND with SC_KEYMENU (lParam: the character, 0 for
// F10 or Alt alone) and SC_MOUSEMENU (lParam: the screen point).
void menuSysCommand(HWND hwnd, WPARAM command, LPARAM lParam);
// The next scripted menu choice: a command id, 0 to dismiss; nullopt when none is scripted.
std::optional<UINT> nextMenuChoice();

// --- menu windows (menuwindow.cpp) ---
// Shows `menu` at the screen point and tracks the person's mouse and keys
// until a command is chosen (its id) or the menu is dismissed (0), or until
// `ended` answers true (EndMenu).
UINT trackMenuWindow(HMENU menu, POINT at, HWND owner, const std::function<bool()>& ended);
// The screen rectangle of an item of a popup menu shown now; false when the
// menu is not shown or has no such item.
bool openMenuItemRect(HMENU menu, UINT position, RECT& rect);

}  // namespace win32::user
