// The environment's menu choices (KY_MENU_CHOICES) reach TrackPopupMenu (a
// program of its own, so that the variable is read at its first menu).
#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(MenuEnvironment, ChoicesComeFromKyMenuChoices) {
  setenv("KY_MENU_CHOICES", "12, 0x0B,0,junk", 1);
  HWND owner = CreateWindowExA(0, WC_DIALOG, "owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 11, "&One");
  AppendMenuA(menu, MF_STRING, 12, "&Two");
  EXPECT_EQ(win32::input::pendingMenuChoices(), 4u);
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 12);
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 11);  // hexadecimal is read too
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 0);   // 0 dismisses
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 0);   // not a number: dismissed
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 0);   // none left
  DestroyMenu(menu);
  DestroyWindow(owner);
}

}  // namespace
