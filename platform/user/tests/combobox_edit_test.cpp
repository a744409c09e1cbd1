// Combo boxes with an edit child (CBS_SIMPLE, CBS_DROPDOWN): typing, the
// edit's notifications becoming the combo's, and the list following the text.
#include "control_fixture.h"

#include <string>
#include <vector>

namespace input = win32::input;
using test::Notification;

namespace {

constexpr int kId = 300;

class ComboBoxEdit : public test::ControlTest {
 protected:
  HWND make(DWORD style, int height = 150) {
    HWND cb = child("ComboBox", nullptr, WS_VSCROLL | style, kId, 20, 20, 160, height);
    for (const char* t : {"red", "green", "blue", "black"}) SendMessageA(cb, CB_ADDSTRING, 0, (LPARAM)t);
    settle();
    return cb;
  }
  std::vector<Notification> got() {
    auto n = test::notifications();
    test::log().clear();
    return n;
  }
  static std::string text(HWND w) {
    char buffer[64] = {};
    GetWindowTextA(w, buffer, sizeof buffer);
    return buffer;
  }
};

TEST_F(ComboBoxEdit, TheEditChildHasId1001AndCarriesTheText) {
  for (DWORD style : {(DWORD)CBS_SIMPLE, (DWORD)CBS_DROPDOWN}) {
    HWND cb = make(style);
    HWND edit = GetDlgItem(cb, 1001);
    ASSERT_NE(edit, nullptr) << style;
    char name[16];
    GetClassNameA(edit, name, sizeof name);
    EXPECT_STREQ(name, "Edit");
    COMBOBOXINFO info{sizeof info};
    ASSERT_TRUE(GetComboBoxInfo(cb, &info));
    EXPECT_EQ(info.hwndItem, edit);
    SetWindowTextA(cb, "hello");
    EXPECT_EQ(text(edit), "hello");
    EXPECT_EQ(text(cb), "hello");
    EXPECT_EQ(GetWindowTextLengthA(cb), 5);
    SendMessageA(cb, CB_SETCURSEL, 2, 0);
    EXPECT_EQ(text(edit), "blue");
    EXPECT_TRUE(got().empty());  // the combo's own changes of the text raise no CBN_EDIT*
    DestroyWindow(cb);
  }
}

TEST_F(ComboBoxEdit, TypingReportsUpdateThenChangeForEachCharacter) {
  HWND cb = make(CBS_DROPDOWN);
  SetFocus(cb);
  input::pumpMessages();
  EXPECT_EQ(GetFocus(), GetDlgItem(cb, 1001));
  EXPECT_EQ(got(), (std::vector<Notification>{{kId, CBN_SETFOCUS}}));
  input::typeText("gr");
  input::pumpMessages();
  EXPECT_EQ(text(cb), "gr");
  EXPECT_EQ(got(), (std::vector<Notification>{
                       {kId, CBN_EDITUPDATE}, {kId, CBN_EDITCHANGE}, {kId, CBN_EDITUPDATE}, {kId, CBN_EDITCHANGE}}));
  DWORD start = 9, end = 9;
  SendMessageA(cb, CB_GETEDITSEL, (WPARAM)&start, (LPARAM)&end);
  EXPECT_EQ(start, 2u);
  EXPECT_EQ(end, 2u);
  EXPECT_TRUE(SendMessageA(cb, CB_SETEDITSEL, 0, MAKELPARAM(0, -1)));
  SendMessageA(cb, CB_GETEDITSEL, (WPARAM)&start, (LPARAM)&end);
  EXPECT_EQ(end, 2u);
}

TEST_F(ComboBoxEdit, KeysOfTheEditDropMoveAndCloseTheList) {
  HWND cb = make(CBS_DROPDOWN);
  SetFocus(cb);
  settle();
  input::keyPress(VK_F4);
  input::keyPress(VK_DOWN);
  input::pumpMessages();
  EXPECT_TRUE(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(text(cb), "red");  // the first item
  input::keyPress(VK_RETURN);
  input::pumpMessages();
  EXPECT_FALSE(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(got(), (std::vector<Notification>{
                       {kId, CBN_DROPDOWN}, {kId, CBN_SELCHANGE}, {kId, CBN_SELENDOK}, {kId, CBN_CLOSEUP}}));
  EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 0);
}

TEST_F(ComboBoxEdit, ClickingTheButtonDropsAndTypingFollowsInTheList) {
  HWND cb = make(CBS_DROPDOWN);
  COMBOBOXINFO info{sizeof info};
  GetComboBoxInfo(cb, &info);
  input::click(cb, info.rcButton.left + 2, info.rcButton.top + 2);
  input::pumpMessages();
  ASSERT_TRUE(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0));
  input::typeText("bla");
  input::pumpMessages();
  // The list shows the first item the text begins, the owner chose nothing yet.
  EXPECT_EQ(SendMessageA(info.hwndList, LB_GETCURSEL, 0, 0), 3);
  auto n = got();
  EXPECT_EQ(std::count(n.begin(), n.end(), Notification{kId, CBN_SELCHANGE}), 0);
  EXPECT_EQ(text(cb), "bla");
  input::keyPress(VK_ESCAPE);
  input::pumpMessages();
  EXPECT_FALSE(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(text(cb), "bla");
}

TEST_F(ComboBoxEdit, TheEditSelectsItsTextWhenItTakesTheFocusAndTheListTakesTheDroppedWidth) {
  for (DWORD style : {(DWORD)CBS_SIMPLE, (DWORD)CBS_DROPDOWN}) {
    HWND cb = make(style);
    HWND edit = GetDlgItem(cb, 1001);
    SetWindowTextA(cb, "hello");
    SendMessageA(edit, EM_SETSEL, 1, 1);
    // However the focus comes: to the combo box, or to its edit directly.
    for (HWND target : {cb, edit}) {
      SetFocus(frame);
      SendMessageA(edit, EM_SETSEL, 1, 1);
      SetFocus(target);
      DWORD start = 0, end = 0;
      SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
      EXPECT_EQ(start, 0u) << style;
      EXPECT_EQ(end, 5u) << style;
    }
    DestroyWindow(cb);
  }
  HWND cb = make(CBS_DROPDOWN);
  EXPECT_EQ(SendMessageA(cb, CB_SETDROPPEDWIDTH, 260, 0), 260);
  SendMessageA(cb, CB_SHOWDROPDOWN, TRUE, 0);
  COMBOBOXINFO info{sizeof info};
  ASSERT_TRUE(GetComboBoxInfo(cb, &info));
  RECT list;
  GetWindowRect(info.hwndList, &list);
  EXPECT_EQ(list.right - list.left, 260);
  SendMessageA(cb, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(ComboBoxEdit, LimitTextStopsTyping) {
  HWND cb = make(CBS_DROPDOWN);
  EXPECT_TRUE(SendMessageA(cb, CB_LIMITTEXT, 3, 0));
  SetFocus(cb);
  input::typeText("abcdef");
  input::pumpMessages();
  EXPECT_EQ(text(cb), "abc");
}

TEST_F(ComboBoxEdit, SimpleCombosKeepTheirListAndSelectWhatIsTyped) {
  HWND cb = make(CBS_SIMPLE, 120);
  COMBOBOXINFO info{sizeof info};
  GetComboBoxInfo(cb, &info);
  EXPECT_TRUE(IsWindowVisible(info.hwndList));
  EXPECT_EQ(GetParent(info.hwndList), cb);
  EXPECT_EQ(info.stateButton, (DWORD)STATE_SYSTEM_INVISIBLE);
  SetFocus(cb);
  settle();
  input::typeText("gre");
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 1);
  got();
  input::keyPress(VK_DOWN);
  input::pumpMessages();
  EXPECT_EQ(text(cb), "blue");
  EXPECT_EQ(got(), (std::vector<Notification>{{kId, CBN_SELCHANGE}}));
  int item = (int)SendMessageA(cb, CB_GETITEMHEIGHT, 0, 0);
  input::doubleClick(info.hwndList, 10, 3 * item + 2);
  input::pumpMessages();
  EXPECT_EQ(text(cb), "black");
  EXPECT_EQ(got(), (std::vector<Notification>{{kId, CBN_SELCHANGE}, {kId, CBN_DBLCLK}}));
  EXPECT_EQ(GetFocus(), GetDlgItem(cb, 1001));
}

}  // namespace
