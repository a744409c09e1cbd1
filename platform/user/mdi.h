// The "MDIClient" window class and the default procedures of MDI frames and
// children: the state one client keeps and the pieces its files share.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace win32::user {

struct MdiClient {
  HWND self = nullptr;
  HWND frame = nullptr;
  HMENU windowMenu = nullptr;      // where the children are listed, or null
  UINT firstChildId = 0;           // the id of the first child; the others follow
  std::vector<HWND> children;      // creation order: children[i] has id firstChildId + i
  HWND active = nullptr;
  HWND maximized = nullptr;        // the maximized child, or null
  std::string frameTitle;          // the frame's own text while a child is maximized
  bool titleSaved = false;
  bool closing = false;            // the client is being destroyed: children go without activating others
  // The maximized child's system menu and buttons in the frame's menu bar.
  HMENU controlsMenu = nullptr;    // the menu bar holding them, or null
  HWND controlsChild = nullptr;    // whose system menu heads the bar
  HBITMAP controlBitmaps[4] = {};  // system (icon), minimize, restore, close; freed with the client         // frameTitle holds the frame's own text

  UINT idOf(size_t index) const { return firstChildId + (UINT)index; }
};

// The client state of a window of the "MDIClient" class, or null.
MdiClient* mdiClientOf(HWND hwnd);
// The MDI client a child belongs to (its parent), or null.
MdiClient* mdiClientOfChild(HWND child);

// --- mdi.cpp ----------------------------------------------------------------
void activateChild(MdiClient& client, HWND child);
// A child leaves the client (destroyed): another becomes active, ids stay contiguous.
void forgetChild(MdiClient& client, HWND child);
// The frame shows "<frame> - [<child>]" while a child is maximized.
void updateFrameTitle(MdiClient& client);

// --- mdi_arrange.cpp --------------------------------------------------------
// Where the n-th new child goes without a position: one caption lower and
// to the right of the one before.
RECT cascadeSlot(HWND client, int n);

// --- mdi_maxmenu.cpp ------------------------------------------------------------
// While a child is maximized the frame's menu bar starts with the child's
// system menu and ends with its minimize, restore and close buttons.
void showMaximizedControls(MdiClient& client);
void removeMaximizedControls(MdiClient& client);
void freeControlBitmaps(MdiClient& client);

// --- mdi_windowmenu.cpp ------------------------------------------------------
// Lists the children in the window menu ("&1 Title" ...) with the active one checked.
void refreshWindowMenu(MdiClient& client);
// Takes the children's entries out of the window menu.
void clearWindowMenu(MdiClient& client);

}  // namespace win32::user
