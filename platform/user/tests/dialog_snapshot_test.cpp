// Snapshots of a dialog of standard controls with its template's menu bar,
// and of a frame window with a menu bar, written beside the built programs
// (build dir) for people to look at; a few pixels are checked here.
#include "data/menudialog.h"

#include <internal/snapshot.h>
#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string snapshotPath(const char* name) { return std::string(KY_BIN_DIR) + "/../" + name; }

INT_PTR CALLBACK plainProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// A pixel of the menu bar item `index`, `dx` pixels into it, in window coordinates.
COLORREF barPixel(HWND hwnd, HMENU bar, int index, int dx, int dy) {
  RECT item, window;
  GetMenuItemRect(hwnd, bar, index, &item);
  GetWindowRect(hwnd, &window);
  return win32::snapshot::windowPixel(hwnd, item.left - window.left + dx, item.top - window.top + dy);
}

// Whether the item shows something other than its background (its text).
bool itemHasInk(HWND hwnd, HMENU bar, int index, COLORREF background) {
  RECT item;
  GetMenuItemRect(hwnd, bar, index, &item);
  for (int y = 2; y < item.bottom - item.top - 2; ++y)
    for (int x = 2; x < item.right - item.left - 2; ++x)
      if (barPixel(hwnd, bar, index, x, y) != background) return true;
  return false;
}

TEST(DialogSnapshot, OptionsDialogWithItsMenuBar) {
  HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_REAL), nullptr, plainProc, 0);
  ASSERT_NE(dialog, nullptr);
  SetDlgItemTextA(dialog, IDC_NAME, "Orvo Zunt");
  CheckRadioButton(dialog, IDC_FIRST, IDC_THIRD, IDC_SECOND);
  CheckDlgButton(dialog, IDC_KEEP, BST_CHECKED);
  for (const char* s : {"Alpha", "Beta", "Gamma", "Delta", "Epsilon"})
    SendDlgItemMessageA(dialog, IDC_LIST, LB_ADDSTRING, 0, (LPARAM)s);
  SendDlgItemMessageA(dialog, IDC_LIST, LB_SETCURSEL, 1, 0);
  for (const char* s : {"English", "Deutsch"}) SendDlgItemMessageA(dialog, IDC_COMBO, CB_ADDSTRING, 0, (LPARAM)s);
  SendDlgItemMessageA(dialog, IDC_COMBO, CB_SETCURSEL, 0, 0);
  ShowWindow(dialog, SW_SHOW);
  win32::input::pumpMessages();
  ASSERT_TRUE(win32::snapshot::saveWindowPng(dialog, snapshotPath("dialog_options.png").c_str()));
  // The dialog face is the 3-D face colour; the menu bar has its colour and its texts.
  HMENU bar = GetMenu(dialog);
  ASSERT_NE(bar, nullptr);
  POINT face{5, 5};
  ClientToScreen(dialog, &face);
  RECT window;
  GetWindowRect(dialog, &window);
  EXPECT_EQ(win32::snapshot::windowPixel(dialog, face.x - window.left, face.y - window.top), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(barPixel(dialog, bar, 0, 1, 1), GetSysColor(COLOR_MENU));
  EXPECT_TRUE(itemHasInk(dialog, bar, 0, GetSysColor(COLOR_MENU)));
  DestroyWindow(dialog);
}

TEST(DialogSnapshot, FrameWithAMenuBar) {
  HMENU bar = LoadMenuA(nullptr, MAKEINTRESOURCEA(IDM_MAIN));
  HWND frame = CreateWindowExA(0, WC_DIALOG, "Frame with a menu", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 360, 160,
                               nullptr, bar, nullptr, nullptr);
  ASSERT_NE(frame, nullptr);
  EnableMenuItem(bar, 1, MF_BYPOSITION | MF_GRAYED);  // "Edit" drawn greyed
  HiliteMenuItem(frame, bar, 0, MF_BYPOSITION | MF_HILITE);  // "File" drawn highlighted
  win32::input::pumpMessages();
  ASSERT_TRUE(win32::snapshot::saveWindowPng(frame, snapshotPath("menu_bar.png").c_str()));
  EXPECT_EQ(barPixel(frame, bar, 0, 1, 1), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(barPixel(frame, bar, 1, 1, 1), GetSysColor(COLOR_MENU));
  EXPECT_TRUE(itemHasInk(frame, bar, 1, GetSysColor(COLOR_MENU)));
  EXPECT_TRUE(itemHasInk(frame, bar, 2, GetSysColor(COLOR_MENU)));  // "Help", at the right edge
  DestroyWindow(frame);
  DestroyMenu(bar);
}

}  // namespace
