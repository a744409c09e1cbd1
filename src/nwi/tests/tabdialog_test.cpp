// Tab, Shift+Tab, Enter and Alt+mnemonics through a dialog that embeds a tab page.
#include <gtest/gtest.h>
#include <internal/testinput.h>

#include "ravlets.h"

namespace {

INT_PTR CALLBACK noProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class TabDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    HINSTANCE self = GetModuleHandleA(nullptr);
    dialog_ = CreateDialogParamA(self, MAKEINTRESOURCEA(100), nullptr, noProc, 0);
    ASSERT_NE(dialog_, nullptr);
    page_ = CreateDialogParamA(self, MAKEINTRESOURCEA(200), dialog_, noProc, 0);
    ASSERT_NE(page_, nullptr);
    SetWindowPos(page_, nullptr, 4, 24, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    win32::input::pumpMessages();
  }
  void TearDown() override { DestroyWindow(dialog_); }

  // Sends a key through IsTabDlgMessage as the application's loop would.
  BOOL key(UINT message, UINT vk, bool shift = false) {
    if (shift) win32::input::keyDown(VK_SHIFT);
    win32::input::pumpMessages();
    MSG msg{};
    msg.hwnd = GetFocus();
    msg.message = message;
    msg.wParam = vk;
    const BOOL used = IsTabDlgMessage(dialog_, page_, 10, &msg);
    if (shift) win32::input::keyUp(VK_SHIFT);
    win32::input::pumpMessages();
    return used;
  }
  HWND item(HWND parent, int id) { return GetDlgItem(parent, id); }

  HWND dialog_ = nullptr;
  HWND page_ = nullptr;
};

TEST_F(TabDialog, TabMovesThroughThePageAsPartOfTheDialogsOrder) {
  struct Step {
    HWND from;
    bool shift;
    HWND to;
  };
  const Step steps[] = {
      {item(page_, 21), false, item(page_, 22)},     // within the page
      {item(page_, 22), false, item(dialog_, IDOK)},  // off the end: the stop after the tab control
      {item(page_, 21), true, item(dialog_, 10)},     // back off the start: the tab control
      {item(dialog_, 10), false, item(page_, 21)},    // from the tab control into the page
      {item(dialog_, IDOK), true, item(page_, 22)},   // back from the stop after the tab control
  };
  for (const Step& s : steps) {
    SetFocus(s.from);
    ASSERT_EQ(GetFocus(), s.from);
    EXPECT_TRUE(key(WM_KEYDOWN, VK_TAB, s.shift));
    EXPECT_EQ(GetFocus(), s.to) << GetDlgCtrlID(s.from) << (s.shift ? " shift" : "");
  }
}

TEST_F(TabDialog, AltMnemonicsReachControlsOnThePage) {
  SetFocus(item(dialog_, IDCANCEL));
  EXPECT_TRUE(key(WM_SYSKEYDOWN, 'N'));
  EXPECT_EQ(GetFocus(), item(page_, 21)) << "the control after the label &Name";
  EXPECT_FALSE(key(WM_SYSKEYDOWN, 'Q') && GetFocus() != item(page_, 21)) << "no match: focus stays";
}

TEST_F(TabDialog, WithoutAPageItIsTheDialogsOwnHandling) {
  SetFocus(item(dialog_, 10));
  MSG msg{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_TRUE(IsTabDlgMessage(dialog_, nullptr, 10, &msg));
  EXPECT_EQ(GetFocus(), item(dialog_, IDOK));
  EXPECT_FALSE(IsTabDlgMessage(dialog_, page_, 10, nullptr));
}

}  // namespace
