// Combo boxes: CB_* messages, and the drop-down sequences a parent hears
// when the list drops and closes by keys and clicks.
#include "control_fixture.h"

#include <functional>
#include <string>
#include <vector>

namespace input = win32::input;
using test::Notification;

namespace {

constexpr int kId = 200;

class ComboBoxTest : public test::ControlTest {
 protected:
  HWND make(DWORD style, int height = 150) {
    HWND cb = child("ComboBox", nullptr, WS_VSCROLL | style, kId, 20, 20, 160, height);
    for (const char* t : {"red", "green", "blue", "yellow"}) SendMessageA(cb, CB_ADDSTRING, 0, (LPARAM)t);
    settle();
    return cb;
  }
  std::vector<Notification> got() {
    auto n = test::notifications();
    test::log().clear();
    return n;
  }
  static std::string lbText(HWND cb, int index) {
    LRESULT n = SendMessageA(cb, CB_GETLBTEXTLEN, index, 0);
    if (n < 0) return "<err>";
    std::string s((size_t)n + 1, '\0');
    SendMessageA(cb, CB_GETLBTEXT, index, (LPARAM)s.data());
    s.resize((size_t)n);
    return s;
  }
  static std::string windowText(HWND w) {
    char buffer[64] = {};
    GetWindowTextA(w, buffer, sizeof buffer);
    return buffer;
  }
  static HWND listOf(HWND cb) {
    COMBOBOXINFO info{sizeof info};
    return GetComboBoxInfo(cb, &info) ? info.hwndList : nullptr;
  }
};

TEST_F(ComboBoxTest, ItemMessagesGoToTheListAndTheFaceShowsTheSelection) {
  HWND cb = make(CBS_DROPDOWNLIST);
  EXPECT_EQ(SendMessageA(cb, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(cb, CB_INSERTSTRING, 1, (LPARAM) "black"), 1);
  EXPECT_EQ(lbText(cb, 1), "black");
  EXPECT_EQ(SendMessageA(cb, CB_GETLBTEXTLEN, 9, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(cb, CB_FINDSTRING, (WPARAM)-1, (LPARAM) "BL"), 1);
  EXPECT_EQ(SendMessageA(cb, CB_FINDSTRINGEXACT, 1, (LPARAM) "blue"), 3);
  EXPECT_EQ(SendMessageA(cb, CB_SETCURSEL, 2, 0), 2);
  EXPECT_EQ(windowText(cb), "green");
  EXPECT_EQ(SendMessageA(cb, CB_SELECTSTRING, (WPARAM)-1, (LPARAM) "ye"), 4);
  EXPECT_EQ(windowText(cb), "yellow");
  EXPECT_EQ(SendMessageA(cb, CB_SETITEMDATA, 4, 77), TRUE);
  EXPECT_EQ(SendMessageA(cb, CB_GETITEMDATA, 4, 0), 77);
  // The face of a drop-down list shows items only: setting a text selects the item named.
  EXPECT_EQ(SetWindowTextA(cb, "red"), TRUE);
  EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(SendMessageA(cb, WM_SETTEXT, 0, (LPARAM) "purple"), CB_ERR);
  EXPECT_EQ(SendMessageA(cb, CB_DELETESTRING, 0, 0), 4);
  EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), CB_ERR);
  // Without an edit the edit messages fail.
  EXPECT_EQ(SendMessageA(cb, CB_LIMITTEXT, 5, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(cb, CB_GETEDITSEL, 0, 0), CB_ERR);
  SendMessageA(cb, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageA(cb, CB_GETCOUNT, 0, 0), 0);
  EXPECT_TRUE(got().empty());  // messages from the program raise no notifications
}

TEST_F(ComboBoxTest, SortedAndCaseConvertingCombos) {
  HWND cb = make(CBS_DROPDOWNLIST | CBS_SORT | CBS_UPPERCASE);
  std::vector<std::string> all;
  for (int i = 0; i < 4; ++i) all.push_back(lbText(cb, i));
  EXPECT_EQ(all, (std::vector<std::string>{"BLUE", "GREEN", "RED", "YELLOW"}));
}

TEST_F(ComboBoxTest, ADropDownIsAsHighAsItsFaceAndDropsTheHeightAskedFor) {
  HWND cb = make(CBS_DROPDOWNLIST, 150);
  RECT w, dropped;
  GetWindowRect(cb, &w);
  int face = (int)SendMessageA(cb, CB_GETITEMHEIGHT, (WPARAM)-1, 0);
  EXPECT_EQ(w.bottom - w.top, face + 8);
  ASSERT_TRUE(SendMessageA(cb, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)&dropped));
  EXPECT_EQ(dropped.top, w.bottom);
  EXPECT_EQ(dropped.left, w.left);
  // Four items need less than the height asked for: the list shrinks to them.
  int item = (int)SendMessageA(cb, CB_GETITEMHEIGHT, 0, 0);
  EXPECT_EQ(dropped.bottom - dropped.top, 4 * item + 2);
  EXPECT_EQ(SendMessageA(cb, CB_SETDROPPEDWIDTH, 300, 0), 300);
  SendMessageA(cb, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)&dropped);
  EXPECT_EQ(dropped.right - dropped.left, 300);
  EXPECT_EQ(SendMessageA(cb, CB_SETITEMHEIGHT, (WPARAM)-1, 30), CB_OKAY);
  GetWindowRect(cb, &w);
  EXPECT_EQ(w.bottom - w.top, 38);
}

TEST_F(ComboBoxTest, F4DropsArrowsChangeAndEnterCloses) {
  HWND cb = make(CBS_DROPDOWNLIST);
  SetFocus(cb);
  input::pumpMessages();
  EXPECT_EQ(got(), (std::vector<Notification>{{kId, CBN_SETFOCUS}}));
  input::keyPress(VK_F4);
  input::pumpMessages();
  EXPECT_TRUE(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_TRUE(IsWindowVisible(listOf(cb)));
  input::keyPress(VK_DOWN);
  input::keyPress(VK_DOWN);
  input::keyPress(VK_RETURN);
  input::pumpMessages();
  EXPECT_EQ(got(), (std::vector<Notification>{{kId, CBN_DROPDOWN},
                                              {kId, CBN_SELCHANGE},
                                              {kId, CBN_SELCHANGE},
                                              {kId, CBN_SELENDOK},
                                              {kId, CBN_CLOSEUP}}));
  EXPECT_FALSE(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_FALSE(IsWindowVisible(listOf(cb)));
  EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(GetFocus(), cb);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboBoxTest, EscapeCancelsAndAltArrowToggles) {
  HWND cb = make(CBS_DROPDOWNLIST);
  SetFocus(cb);
  settle();
  input::chord(VK_DOWN, false, false, true);
  input::pumpMessages();
  EXPECT_TRUE(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0));
  input::keyPress(VK_ESCAPE);
  input::pumpMessages();
  EXPECT_EQ(got(), (std::vector<Notification>{{kId, CBN_DROPDOWN}, {kId, CBN_SELENDCANCEL}, {kId, CBN_CLOSEUP}}));
  input::chord(VK_DOWN, false, false, true);
  input::chord(VK_UP, false, false, true);
  input::pumpMessages();
  EXPECT_EQ(got(), (std::vector<Notification>{{kId, CBN_DROPDOWN}, {kId, CBN_SELENDOK}, {kId, CBN_CLOSEUP}}));
}

TEST_F(ComboBoxTest, ArrowsChangeAClosedDropDownListWithoutDropping) {
  HWND cb = make(CBS_DROPDOWNLIST);
  SetFocus(cb);
  settle();
  input::keyPress(VK_DOWN);
  input::keyPress(VK_END);
  input::pumpMessages();
  EXPECT_EQ(got(), (std::vector<Notification>{{kId, CBN_SELCHANGE}, {kId, CBN_SELCHANGE}}));
  EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 3);
  EXPECT_FALSE(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0));
  input::typeText("g");
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 1);
}

TEST_F(ComboBoxTest, ExtendedUiDropsWithTheDownArrowNotWithF4) {
  HWND cb = make(CBS_DROPDOWNLIST);
  SendMessageA(cb, CB_SETEXTENDEDUI, TRUE, 0);
  EXPECT_EQ(SendMessageA(cb, CB_GETEXTENDEDUI, 0, 0), TRUE);
  SetFocus(cb);
  settle();
  input::keyPress(VK_F4);
  input::pumpMessages();
  EXPECT_FALSE(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0));
  input::keyPress(VK_DOWN);
  input::pumpMessages();
  EXPECT_TRUE(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(got(), (std::vector<Notification>{{kId, CBN_DROPDOWN}}));
}

TEST_F(ComboBoxTest, ClickingDropsAndClickingAnItemChoosesIt) {
  HWND cb = make(CBS_DROPDOWNLIST);
  input::click(cb, 20, 5);
  input::pumpMessages();
  ASSERT_TRUE(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(GetFocus(), cb);
  HWND list = listOf(cb);
  int item = (int)SendMessageA(cb, CB_GETITEMHEIGHT, 0, 0);
  input::click(list, 20, 2 * item + 2);
  input::pumpMessages();
  EXPECT_EQ(got(), (std::vector<Notification>{{kId, CBN_SETFOCUS},
                                              {kId, CBN_DROPDOWN},
                                              {kId, CBN_SELCHANGE},
                                              {kId, CBN_SELENDOK},
                                              {kId, CBN_CLOSEUP}}));
  EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(windowText(cb), "blue");
}

TEST_F(ComboBoxTest, PressingOnTheFaceAndReleasingOverAnItemChoosesIt) {
  HWND cb = make(CBS_DROPDOWNLIST);
  int item = (int)SendMessageA(cb, CB_GETITEMHEIGHT, 0, 0);
  RECT w;
  GetWindowRect(cb, &w);
  int face = w.bottom - w.top;
  // Down on the face, through the list, up over "blue" (the list starts below the face, inside its border).
  input::drag(cb, 20, 5, 20, face + 1 + 2 * item + item / 2);
  input::pumpMessages();
  EXPECT_EQ(got(), (std::vector<Notification>{{kId, CBN_SETFOCUS},
                                              {kId, CBN_DROPDOWN},
                                              {kId, CBN_SELCHANGE},
                                              {kId, CBN_SELENDOK},
                                              {kId, CBN_CLOSEUP}}));
  EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 2);
  // A plain click drops the list and leaves it down.
  input::click(cb, 20, 5);
  input::pumpMessages();
  EXPECT_TRUE(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0));
}

TEST_F(ComboBoxTest, AClickOutsideTheDroppedListCancels) {
  HWND cb = make(CBS_DROPDOWNLIST);
  SendMessageA(cb, CB_SETCURSEL, 0, 0);
  input::click(cb, 20, 5);
  input::pumpMessages();
  HWND list = listOf(cb);
  int item = (int)SendMessageA(cb, CB_GETITEMHEIGHT, 0, 0);
  // Hovering moves the list's selection; it is not the owner's choice until a click.
  input::mouseMove(list, 20, 3 * item + 2);
  input::click(frame, 350, 250);
  input::pumpMessages();
  EXPECT_EQ(got(), (std::vector<Notification>{{kId, CBN_SETFOCUS},
                                              {kId, CBN_DROPDOWN},
                                              {kId, CBN_SELENDCANCEL},
                                              {kId, CBN_CLOSEUP}}));
  EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 0);
  EXPECT_FALSE(IsWindowVisible(list));
}

TEST_F(ComboBoxTest, LosingTheFocusClosesTheList) {
  HWND cb = make(CBS_DROPDOWNLIST);
  HWND other = child("ListBox", nullptr, 0, 5, 250, 20, 100, 100);
  SetFocus(cb);
  SendMessageA(cb, CB_SHOWDROPDOWN, TRUE, 0);
  input::pumpMessages();
  test::log().clear();
  SetFocus(other);
  input::pumpMessages();
  EXPECT_EQ(got(), (std::vector<Notification>{
                       {kId, CBN_SELENDCANCEL}, {kId, CBN_CLOSEUP}, {kId, CBN_KILLFOCUS}, {5, LBN_SETFOCUS}}));
}

TEST_F(ComboBoxTest, OwnerDrawnFaceIsMeasuredAndDrawnAsItemMinusOne) {
  std::vector<MEASUREITEMSTRUCT> measured;
  std::vector<DRAWITEMSTRUCT> drawn;
  test::answer() = [&](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT& r) {
    if (msg == WM_MEASUREITEM) {
      auto* mi = (MEASUREITEMSTRUCT*)lParam;
      mi->itemHeight = mi->itemID == (UINT)-1 ? 24 : 18;
      measured.push_back(*mi);
    } else if (msg == WM_DRAWITEM) {
      drawn.push_back(*(DRAWITEMSTRUCT*)lParam);
    } else {
      return false;
    }
    r = TRUE;
    return true;
  };
  HWND cb = make(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS);
  ASSERT_EQ(measured.size(), 2u);
  EXPECT_EQ(measured[0].CtlType, (UINT)ODT_COMBOBOX);
  EXPECT_EQ(measured[0].itemID, (UINT)-1);
  EXPECT_EQ(measured[1].itemID, 0u);
  EXPECT_EQ(SendMessageA(cb, CB_GETITEMHEIGHT, (WPARAM)-1, 0), 24);
  EXPECT_EQ(SendMessageA(cb, CB_GETITEMHEIGHT, 0, 0), 18);
  SendMessageA(cb, CB_SETCURSEL, 1, 0);
  drawn.clear();
  UpdateWindow(cb);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].itemID, 1u);
  EXPECT_EQ(drawn[0].CtlID, (UINT)kId);
  EXPECT_TRUE(drawn[0].itemState & ODS_COMBOBOXEDIT);
  EXPECT_EQ(drawn[0].hwndItem, cb);
}

TEST_F(ComboBoxTest, ComboBoxInfoNamesItsParts) {
  HWND cb = make(CBS_DROPDOWNLIST);
  COMBOBOXINFO info{sizeof info};
  ASSERT_TRUE(GetComboBoxInfo(cb, &info));
  EXPECT_EQ(info.hwndCombo, cb);
  EXPECT_EQ(info.hwndItem, cb);
  char name[32];
  GetClassNameA(info.hwndList, name, sizeof name);
  EXPECT_STREQ(name, "ComboLBox");
  EXPECT_GT(info.rcButton.right, info.rcButton.left);
  EXPECT_EQ(info.stateButton, 0u);
  COMBOBOXINFO bad{3};
  EXPECT_FALSE(GetComboBoxInfo(cb, &bad));
  EXPECT_FALSE(GetComboBoxInfo(frame, &info));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
}

}  // namespace
