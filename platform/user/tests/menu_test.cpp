// Menus built by code and loaded from MENU and MENUEX resources: items,
// states, texts, item information, the system menu and bad handles.
#include "data/menudialog.h"
#include "menu.h"

#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string itemText(HMENU menu, UINT position) {
  char text[64];
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

// The texts of a menu's items in order ("-" for a separator).
std::string texts(HMENU menu) {
  std::string out;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (!out.empty()) out += "|";
    out += (GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) ? "-" : itemText(menu, i);
  }
  return out;
}

TEST(Menu, BuiltByCodeKeepsItemsInOrder) {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  ASSERT_TRUE(IsMenu(bar) && IsMenu(file));
  ASSERT_NE(bar, file);
  EXPECT_TRUE(AppendMenuA(file, MF_STRING, 10, "&Open"));
  EXPECT_TRUE(AppendMenuA(file, MF_SEPARATOR, 0, nullptr));
  EXPECT_TRUE(AppendMenuA(file, MF_STRING | MF_GRAYED, 12, "&Close"));
  EXPECT_TRUE(InsertMenuA(file, 0, MF_BYPOSITION | MF_STRING, 9, "&New"));
  EXPECT_TRUE(InsertMenuA(file, 12, MF_BYCOMMAND | MF_STRING, 11, "&Save"));  // before Close
  EXPECT_TRUE(InsertMenuA(file, (UINT)-1, MF_BYPOSITION | MF_STRING, 13, "E&xit"));
  EXPECT_TRUE(AppendMenuA(bar, MF_POPUP, (UINT_PTR)file, "&File"));
  EXPECT_EQ(texts(file), "&New|&Open|-|&Save|&Close|E&xit");
  EXPECT_EQ(GetSubMenu(bar, 0), file);
  EXPECT_EQ(GetSubMenu(bar, 1), nullptr);
  EXPECT_EQ(GetMenuItemID(bar, 0), (UINT)-1);  // a popup has no command id
  EXPECT_EQ(GetMenuItemID(file, 1), 10u);
  EXPECT_EQ(GetMenuItemID(file, 2), 0u);
  // By command, the submenus are searched too.
  EXPECT_TRUE(ModifyMenuA(bar, 11, MF_BYCOMMAND | MF_STRING, 21, "Save &As"));
  EXPECT_EQ(itemText(file, 3), "Save &As");
  EXPECT_TRUE(DeleteMenu(bar, 21, MF_BYCOMMAND));
  EXPECT_TRUE(RemoveMenu(file, 0, MF_BYPOSITION));
  EXPECT_EQ(texts(file), "&Open|-|&Close|E&xit");
  EXPECT_FALSE(DeleteMenu(bar, 999, MF_BYCOMMAND));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_MENU_ITEM_NOT_FOUND);
  // Removing the popup keeps the submenu; deleting a popup destroys it.
  EXPECT_TRUE(RemoveMenu(bar, 0, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(file));
  AppendMenuA(bar, MF_POPUP, (UINT_PTR)file, "&File");
  EXPECT_TRUE(DeleteMenu(bar, 0, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(file));
  EXPECT_TRUE(DestroyMenu(bar));
  EXPECT_FALSE(IsMenu(bar));
}

TEST(Menu, StatesAreReportedAsMenuFlags) {
  HMENU menu = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 31, "a");
  AppendMenuA(sub, MF_STRING, 32, "b");
  AppendMenuA(menu, MF_STRING, 1, "plain");
  AppendMenuA(menu, MF_STRING | MF_CHECKED, 2, "checked");
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 3, "grayed");
  AppendMenuA(menu, MF_STRING | MF_DISABLED, 4, "disabled");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_POPUP | MF_GRAYED, (UINT_PTR)sub, "sub");
  AppendMenuA(menu, MF_STRING | MF_MENUBREAK, 5, "break");
  struct Case {
    UINT position;
    UINT state;
  } cases[] = {
      {0, MF_ENABLED}, {1, MF_CHECKED},   {2, MF_GRAYED},
      {3, MF_DISABLED}, {4, MF_SEPARATOR}, {5, (2u << 8) | MF_POPUP | MF_GRAYED},  // count in the high byte
      {6, MF_MENUBREAK},
  };
  for (const Case& c : cases) EXPECT_EQ(GetMenuState(menu, c.position, MF_BYPOSITION), c.state) << c.position;
  EXPECT_EQ(GetMenuState(menu, 99, MF_BYPOSITION), (UINT)-1);
  EXPECT_EQ(GetMenuState(menu, 32, MF_BYCOMMAND), (UINT)MF_ENABLED);
  // CheckMenuItem and EnableMenuItem answer the previous state.
  EXPECT_EQ(CheckMenuItem(menu, 1, MF_BYCOMMAND | MF_CHECKED), (DWORD)MF_UNCHECKED);
  EXPECT_EQ(CheckMenuItem(menu, 1, MF_BYCOMMAND | MF_UNCHECKED), (DWORD)MF_CHECKED);
  EXPECT_EQ(CheckMenuItem(menu, 99, MF_BYCOMMAND | MF_CHECKED), (DWORD)-1);
  EXPECT_EQ(EnableMenuItem(menu, 3, MF_BYCOMMAND | MF_ENABLED), (BOOL)MF_GRAYED);
  EXPECT_EQ(EnableMenuItem(menu, 3, MF_BYCOMMAND | MF_GRAYED), (BOOL)MF_ENABLED);
  EXPECT_EQ(EnableMenuItem(menu, 31, MF_BYCOMMAND | MF_DISABLED), (BOOL)MF_ENABLED);
  EXPECT_EQ(GetMenuState(sub, 0, MF_BYPOSITION), (UINT)MF_DISABLED);
  EXPECT_EQ(EnableMenuItem(menu, 99, MF_BYCOMMAND), -1);
  DestroyMenu(menu);
  EXPECT_FALSE(IsMenu(sub));  // destroyed with its parent
}

TEST(Menu, RadioItemsAndTheDefaultItem) {
  HMENU menu = CreatePopupMenu();
  for (UINT id = 1; id <= 4; ++id) AppendMenuA(menu, MF_STRING | (id == 1 ? MF_CHECKED : 0), id, "x");
  EXPECT_TRUE(CheckMenuRadioItem(menu, 1, 3, 2, MF_BYCOMMAND));
  EXPECT_EQ(GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED, 0u);
  EXPECT_EQ(GetMenuState(menu, 1, MF_BYPOSITION), (UINT)(MF_CHECKED | MFT_RADIOCHECK));
  EXPECT_TRUE(CheckMenuRadioItem(menu, 0, 3, 3, MF_BYPOSITION));
  EXPECT_EQ(GetMenuState(menu, 1, MF_BYPOSITION) & MF_CHECKED, 0u);
  EXPECT_TRUE(GetMenuState(menu, 3, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_FALSE(CheckMenuRadioItem(menu, 0, 3, 9, MF_BYPOSITION));
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), (UINT)-1);
  EXPECT_TRUE(SetMenuDefaultItem(menu, 3, FALSE));
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 3u);
  EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, 0), 2u);
  EXPECT_TRUE(SetMenuDefaultItem(menu, (UINT)-1, FALSE));
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), (UINT)-1);
  DestroyMenu(menu);
}

TEST(Menu, CommandLookUpsFollowWindows) {
  // Inserting by a command id the menu does not hold appends: the idiom of filling an empty menu.
  HMENU empty = CreatePopupMenu();
  EXPECT_TRUE(InsertMenuA(empty, 0, MF_STRING, 0, "&Test"));
  EXPECT_EQ(GetMenuItemCount(empty), 1);
  EXPECT_EQ(itemText(empty, 0), "&Test");
  DestroyMenu(empty);

  // A submenu is searched before the popup item whose id is the submenu's handle.
  HMENU top = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  UINT subId = (UINT)(UINT_PTR)sub;
  AppendMenuA(top, MF_STRING, 1, "one");
  AppendMenuA(top, MF_STRING, 2, "two");
  AppendMenuA(top, MF_POPUP, (UINT_PTR)sub, "&Sub");
  AppendMenuA(sub, MF_STRING, 3, "three");
  AppendMenuA(sub, MF_STRING, 4, "four");
  char text[32] = "";
  EXPECT_GT(GetMenuStringA(top, subId, text, sizeof text, MF_BYCOMMAND), 0);
  EXPECT_STREQ(text, "&Sub");
  AppendMenuA(sub, MF_STRING, subId, "inner");
  EXPECT_GT(GetMenuStringA(top, subId, text, sizeof text, MF_BYCOMMAND), 0);
  EXPECT_STREQ(text, "inner");

  // Radio groups by command lie in one menu: across a submenu they fail.
  struct Case {
    UINT first, last, check;
    BOOL ok;
  } cases[] = {{1, 2, 2, TRUE}, {3, 4, 4, TRUE}, {1, 4, 3, FALSE}, {1, 2, 3, FALSE}, {3, 4, 1, FALSE}};
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(CheckMenuRadioItem(top, c.first, c.last, c.check, MF_BYCOMMAND), c.ok)
        << c.first << ".." << c.last << " " << c.check;
    if (c.ok) EXPECT_TRUE(GetMenuState(top, c.check, MF_BYCOMMAND) & MF_CHECKED);
  }
  DestroyMenu(top);
}

TEST(Menu, ItemInformationReadsAndWritesEachField) {
  HMENU menu = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_DATA | MIIM_FTYPE;
  info.wID = 55;
  info.dwTypeData = (LPSTR) "&Item";
  info.fState = MFS_CHECKED | MFS_DEFAULT;
  info.fType = MFT_RADIOCHECK;
  info.dwItemData = 0xABCDEF;
  ASSERT_TRUE(InsertMenuItemA(menu, 0, TRUE, &info));
  MENUITEMINFOA out{};
  out.cbSize = sizeof out;
  out.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_DATA | MIIM_FTYPE | MIIM_SUBMENU;
  out.dwTypeData = nullptr;  // without a buffer the length is answered
  ASSERT_TRUE(GetMenuItemInfoA(menu, 55, FALSE, &out));
  EXPECT_EQ(out.cch, 5u);
  EXPECT_EQ(out.wID, 55u);
  EXPECT_EQ(out.fState, (UINT)(MFS_CHECKED | MFS_DEFAULT));
  EXPECT_EQ(out.fType, (UINT)MFT_RADIOCHECK);
  EXPECT_EQ(out.dwItemData, 0xABCDEFu);
  EXPECT_EQ(out.hSubMenu, nullptr);
  char buffer[4];
  out.dwTypeData = buffer;
  out.cch = sizeof buffer;
  ASSERT_TRUE(GetMenuItemInfoA(menu, 0, TRUE, &out));
  EXPECT_STREQ(buffer, "&It");  // cut to the buffer
  EXPECT_EQ(out.cch, 3u);
  MENUITEMINFOA change{};
  change.cbSize = sizeof change;
  change.fMask = MIIM_SUBMENU | MIIM_STRING;
  change.hSubMenu = sub;
  change.dwTypeData = (LPSTR) "More";
  ASSERT_TRUE(SetMenuItemInfoA(menu, 55, FALSE, &change));
  EXPECT_EQ(GetSubMenu(menu, 0), sub);
  EXPECT_EQ(itemText(menu, 0), "More");
  // MIIM_TYPE does not mix with the newer MIIM_STRING / MIIM_FTYPE / MIIM_BITMAP.
  change.fMask = MIIM_TYPE | MIIM_STRING;
  EXPECT_FALSE(SetMenuItemInfoA(menu, 0, TRUE, &change));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
  change.cbSize = 12;
  EXPECT_FALSE(GetMenuItemInfoA(menu, 0, TRUE, &change));
  EXPECT_FALSE(GetMenuItemInfoA(menu, 7, TRUE, &out));
  DestroyMenu(menu);
}

TEST(Menu, TextsAreCutToTheBufferAndLengthsAnswered) {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 1, "&Open...\tCtrl+O");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  char text[6] = "xxxxx";
  EXPECT_EQ(GetMenuStringA(menu, 1, text, sizeof text, MF_BYCOMMAND), 5);
  EXPECT_STREQ(text, "&Open");
  EXPECT_EQ(GetMenuStringA(menu, 1, nullptr, 0, MF_BYCOMMAND), 15);
  EXPECT_EQ(GetMenuStringA(menu, 1, text, sizeof text, MF_BYPOSITION), 0);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(GetMenuStringA(menu, 99, text, sizeof text, MF_BYCOMMAND), 0);
  DestroyMenu(menu);
}

TEST(Menu, LoadsTheMenuResource) {
  HMENU bar = LoadMenuA(nullptr, MAKEINTRESOURCEA(IDM_MAIN));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(texts(bar), "&File|&Edit|&Help");
  EXPECT_EQ(GetMenuState(bar, 2, MF_BYPOSITION), (UINT)MF_HELP);
  EXPECT_EQ(GetMenuItemID(bar, 2), (UINT)IDM_HELP);
  HMENU file = GetSubMenu(bar, 0);
  EXPECT_EQ(texts(file), "&Open...\tCtrl+O|&Save\tCtrl+S|-|&Recent|E&xit");
  EXPECT_EQ(GetMenuState(file, IDM_SAVE, MF_BYCOMMAND), (UINT)MF_GRAYED);
  HMENU recent = GetSubMenu(file, 3);
  ASSERT_NE(recent, nullptr);
  EXPECT_EQ(texts(recent), "&1 one.txt|&2 two.txt");
  EXPECT_EQ(GetMenuState(bar, IDM_TWO, MF_BYCOMMAND), (UINT)MF_CHECKED);
  EXPECT_EQ(GetMenuItemID(GetSubMenu(bar, 1), 1), (UINT)IDM_PASTE);
  DestroyMenu(bar);
  // A menu named by a string, as the panels' "POPUPS".
  HMENU popups = LoadMenuA(nullptr, "popups");
  ASSERT_NE(popups, nullptr);
  EXPECT_EQ(GetMenuItemID(GetSubMenu(popups, 0), 0), (UINT)IDM_CONTEXT_COPY);
  DestroyMenu(popups);
}

TEST(Menu, LoadsTheExtendedMenuResource) {
  HMENU menu = LoadMenuA(nullptr, MAKEINTRESOURCEA(IDM_EX));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 1);
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_SUBMENU;
  ASSERT_TRUE(GetMenuItemInfoA(menu, 0, TRUE, &info));
  EXPECT_EQ(info.wID, (UINT)IDM_VIEW);  // MENUEX popups have ids of their own
  HMENU view = info.hSubMenu;
  EXPECT_EQ(texts(view), "&Large|&Small|-|&Refresh");
  EXPECT_EQ(GetMenuState(view, IDM_LARGE, MF_BYCOMMAND), (UINT)(MFT_RADIOCHECK | MFS_CHECKED));
  EXPECT_EQ(GetMenuState(view, IDM_SMALL, MF_BYCOMMAND), (UINT)MFT_RADIOCHECK);
  EXPECT_EQ(GetMenuDefaultItem(view, FALSE, 0), (UINT)IDM_REFRESH);
  DestroyMenu(menu);
}

TEST(Menu, CorruptOrMissingTemplatesAreRefused) {
  EXPECT_EQ(LoadMenuA(nullptr, MAKEINTRESOURCEA(999)), nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_RESOURCE_NAME_NOT_FOUND);
  EXPECT_EQ(LoadMenuIndirectA(nullptr), nullptr);
  const WORD unknown[] = {7, 0, MF_END, 1, 'a', 0};  // no such version
  EXPECT_EQ(LoadMenuIndirectA(unknown), nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_DATA);
  // Every truncation of the real menus is refused, never read past its end.
  for (int id : {IDM_MAIN, IDM_EX}) {
    HRSRC info = FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_MENU);
    ASSERT_NE(info, nullptr);
    const BYTE* data = (const BYTE*)LockResource(LoadResource(nullptr, info));
    DWORD size = SizeofResource(nullptr, info);
    HMENU whole = win32::user::menuFromTemplate(data, size);
    ASSERT_NE(whole, nullptr);
    DestroyMenu(whole);
    for (DWORD n = 0; n < size; ++n) {
      std::vector<BYTE> part(data, data + n);  // exactly n bytes, so a sanitizer sees any overrun
      HMENU menu = win32::user::menuFromTemplate(part.data(), part.size());
      // Only the bare header is a whole menu: an empty one.
      size_t header = id == IDM_EX ? 8 : 4;
      if (n == header) EXPECT_EQ(GetMenuItemCount(menu), 0);
      else EXPECT_EQ(menu, nullptr) << id << " cut at " << n;
      if (menu) DestroyMenu(menu);
    }
  }
}

TEST(Menu, BadHandlesFailWithTheMenuError) {
  HMENU bad = (HMENU)0x12345678;
  EXPECT_FALSE(IsMenu(bad));
  EXPECT_FALSE(DestroyMenu(bad));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_MENU_HANDLE);
  EXPECT_FALSE(AppendMenuA(bad, MF_STRING, 1, "x"));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_MENU_HANDLE);
  EXPECT_EQ(GetMenuItemCount(bad), -1);
  EXPECT_EQ(GetMenuItemID(bad, 0), (UINT)-1);
  EXPECT_EQ(GetSubMenu(bad, 0), nullptr);
  HMENU menu = CreateMenu();
  EXPECT_FALSE(AppendMenuA(menu, MF_POPUP, (UINT_PTR)bad, "x"));  // a popup needs a real submenu
  EXPECT_EQ(GetMenuItemCount(menu), 0);
  // A menu that holds itself is destroyed once.
  AppendMenuA(menu, MF_POPUP, (UINT_PTR)menu, "self");
  EXPECT_TRUE(DestroyMenu(menu));
}

TEST(Menu, EveryWindowHasItsOwnSystemMenu) {
  HWND a = CreateWindowExA(0, WC_DIALOG, "a", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  HWND b = CreateWindowExA(0, WC_DIALOG, "b", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  HMENU system = GetSystemMenu(a, FALSE);
  ASSERT_TRUE(IsMenu(system));
  EXPECT_EQ(GetSystemMenu(a, FALSE), system);
  EXPECT_EQ(GetSystemMenu(b, FALSE), nullptr);  // no WS_SYSMENU
  EXPECT_EQ(texts(system), "&Restore|&Move|&Size|Mi&nimize|Ma&ximize|-|&Close\tAlt+F4");
  EXPECT_EQ(GetMenuItemID(system, 6), (UINT)SC_CLOSE);
  EXPECT_EQ(GetMenuDefaultItem(system, FALSE, 0), (UINT)SC_CLOSE);
  // A program may change its copy; reverting gives the standard menu back.
  DeleteMenu(system, SC_SIZE, MF_BYCOMMAND);
  EXPECT_EQ(GetMenuItemCount(system), 6);
  EXPECT_EQ(GetSystemMenu(a, TRUE), nullptr);
  EXPECT_FALSE(IsMenu(system));
  EXPECT_EQ(GetMenuItemCount(GetSystemMenu(a, FALSE)), 7);
  EXPECT_EQ(GetSystemMenu((HWND)0x7FFFFFF0, FALSE), nullptr);
  DestroyWindow(a);
  DestroyWindow(b);
}

TEST(Menu, WindowsCarryTheirMenuBar) {
  HMENU bar = LoadMenuA(nullptr, MAKEINTRESOURCEA(IDM_MAIN));
  HWND frame = CreateWindowExA(0, WC_DIALOG, "frame", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, bar, nullptr,
                               nullptr);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(GetMenu(frame), bar);
  RECT item0, item1;
  ASSERT_TRUE(GetMenuItemRect(frame, bar, 0, &item0));
  ASSERT_TRUE(GetMenuItemRect(frame, bar, 1, &item1));
  EXPECT_EQ(item0.right, item1.left);
  EXPECT_EQ(item0.bottom - item0.top, GetSystemMetrics(SM_CYMENU));
  // The bar lies right above the client area; the help item is pushed to the right edge.
  POINT client{0, 0};
  ClientToScreen(frame, &client);
  EXPECT_EQ(item0.bottom, client.y);
  RECT help, window;
  ASSERT_TRUE(GetMenuItemRect(frame, bar, 2, &help));
  GetWindowRect(frame, &window);
  EXPECT_EQ(help.right, window.right - (client.x - window.left));
  EXPECT_EQ(MenuItemFromPoint(frame, bar, POINT{item1.left + 2, item1.top + 2}), 1);
  EXPECT_EQ(MenuItemFromPoint(frame, bar, POINT{client.x + 5, client.y + 5}), -1);
  EXPECT_FALSE(GetMenuItemRect(frame, bar, 9, &help));
  EXPECT_TRUE(SetMenu(frame, nullptr));
  EXPECT_FALSE(GetMenuItemRect(frame, bar, 0, &help));
  DestroyWindow(frame);
  DestroyMenu(bar);
}

TEST(Menu, AWindowTakesItsMenusWithIt) {
  HMENU bar = LoadMenuA(nullptr, MAKEINTRESOURCEA(IDM_MAIN));
  HMENU kept = CreateMenu();
  HWND frame = CreateWindowExA(0, WC_DIALOG, "frame", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, bar, nullptr,
                               nullptr);
  HWND other = CreateWindowExA(0, WC_DIALOG, "other", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, kept, nullptr,
                               nullptr);
  HMENU file = GetSubMenu(bar, 0);
  HMENU system = GetSystemMenu(frame, FALSE);
  SetMenu(other, nullptr);  // a menu taken off first stays
  DestroyWindow(frame);
  DestroyWindow(other);
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_FALSE(IsMenu(file));
  EXPECT_FALSE(IsMenu(system));
  EXPECT_TRUE(IsMenu(kept));
  DestroyMenu(kept);
}

}  // namespace
