// The "msctls_updown32" control with a buddy edit: arrow keys, clicks,
// auto-repeat, the parent's veto through UDN_DELTAPOS, 32-bit ranges,
// wrapping, the buddy's number format and the range and position messages.
#include "comctl_fixture.h"

#include <string>
#include <vector>

namespace input = win32::input;

namespace {

constexpr int kEditId = 30;
constexpr int kUpDownId = 31;

class UpDown : public test::CommonControlTest {
 protected:
  // An edit and, created right after it, an up-down that takes it as buddy.
  void make(DWORD extraStyle, int lower, int upper, int pos) {
    edit = child("Edit", "", WS_BORDER, kEditId, 20, 20, 100, 24);
    updown = child(UPDOWN_CLASSA, nullptr,
                   UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | extraStyle, kUpDownId, 0, 0,
                   16, 24);
    ASSERT_NE(updown, nullptr);
    SendMessageA(updown, UDM_SETRANGE32, (WPARAM)lower, upper);
    SendMessageA(updown, UDM_SETPOS32, 0, pos);
    SetFocus(edit);
    settle();
  }
  std::string buddyText() {
    char text[64] = {};
    GetWindowTextA(edit, text, sizeof text);
    return text;
  }
  int position() { return (int)SendMessageA(updown, UDM_GETPOS32, 0, 0); }
  // The parent's UDN_DELTAPOS (as +1) and WM_VSCROLL codes, in order.
  std::vector<int> reports() {
    std::vector<int> got;
    for (const test::Logged& l : test::log()) {
      if (l.msg == WM_VSCROLL || l.msg == WM_HSCROLL) got.push_back(LOWORD(l.wParam));
    }
    return got;
  }
  int deltaRequests() {
    int n = 0;
    for (const test::Notified& x : test::notified()) n += x.code == (UINT)UDN_DELTAPOS && x.id == kUpDownId;
    return n;
  }
  HWND edit = nullptr;
  HWND updown = nullptr;
};

TEST_F(UpDown, TakesThePreviousWindowAsBuddyAndSitsAtItsRight) {
  make(0, 0, 10, 5);
  EXPECT_EQ((HWND)SendMessageA(updown, UDM_GETBUDDY, 0, 0), edit);
  RECT e{}, u{};
  GetWindowRect(edit, &e);
  GetWindowRect(updown, &u);
  EXPECT_EQ(u.left, e.right);
  EXPECT_EQ(e.right - e.left, 100 - 16);
  EXPECT_EQ(u.top, e.top);
  EXPECT_EQ(u.bottom, e.bottom);
  EXPECT_EQ(buddyText(), "5");
}

TEST_F(UpDown, ArrowKeysOnTheBuddyStepAndReport) {
  make(0, 0, 10, 5);
  input::keyPress(VK_UP);
  input::pumpMessages();
  EXPECT_EQ(buddyText(), "6");
  EXPECT_EQ(position(), 6);
  EXPECT_EQ(deltaRequests(), 1);
  EXPECT_EQ(reports(), (std::vector<int>{SB_THUMBPOSITION}));
  input::keyPress(VK_DOWN);
  input::keyPress(VK_DOWN);
  input::pumpMessages();
  EXPECT_EQ(buddyText(), "4");
}

TEST_F(UpDown, ClicksOnEachHalfStepAndEndTheScroll) {
  make(0, 0, 10, 5);
  RECT r{};
  GetClientRect(updown, &r);
  input::click(updown, r.right / 2, 2);
  input::pumpMessages();
  EXPECT_EQ(position(), 6);
  input::click(updown, r.right / 2, r.bottom - 2);
  input::click(updown, r.right / 2, r.bottom - 2);
  input::pumpMessages();
  EXPECT_EQ(position(), 4);
  EXPECT_EQ(buddyText(), "4");
  EXPECT_EQ(reports(), (std::vector<int>{SB_THUMBPOSITION, SB_ENDSCROLL, SB_THUMBPOSITION, SB_ENDSCROLL,
                                         SB_THUMBPOSITION, SB_ENDSCROLL}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(UpDown, HeldArrowRepeatsUntilReleased) {
  make(0, 0, 1000, 0);
  input::mouseDown(updown, 4, 2);
  input::pumpMessages();
  EXPECT_EQ(position(), 1);
  wait(900);  // first repeat after half a second, then every tenth
  int held = position();
  EXPECT_GE(held, 3);
  input::mouseUp(updown, 4, 2);
  input::pumpMessages();
  wait(300);
  EXPECT_EQ(position(), held);
  EXPECT_EQ(reports().back(), SB_ENDSCROLL);
}

TEST_F(UpDown, ParentCanVetoOrChangeTheStep) {
  make(0, 0, 100, 50);
  test::notifyAnswer() = [](NMHDR* hdr) -> LRESULT { return hdr->code == (UINT)UDN_DELTAPOS ? 1 : 0; };
  input::keyPress(VK_UP);
  input::pumpMessages();
  EXPECT_EQ(position(), 50);
  EXPECT_EQ(deltaRequests(), 1);
  EXPECT_TRUE(reports().empty());
  test::notifyAnswer() = [](NMHDR* hdr) -> LRESULT {
    if (hdr->code == (UINT)UDN_DELTAPOS) {
      auto* nm = reinterpret_cast<NMUPDOWN*>(hdr);
      EXPECT_EQ(nm->iPos, 50);
      EXPECT_EQ(nm->iDelta, 1);
      nm->iDelta = 7;
    }
    return 0;
  };
  input::keyPress(VK_UP);
  input::pumpMessages();
  EXPECT_EQ(position(), 57);
}

TEST_F(UpDown, ThirtyTwoBitRangesStopAtTheEndsWithThousandsSeparators) {
  make(0, -100000, 100000, 99999);
  int lower = 0, upper = 0;
  SendMessageA(updown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
  EXPECT_EQ(lower, -100000);
  EXPECT_EQ(upper, 100000);
  input::keyPress(VK_UP);
  input::pumpMessages();
  EXPECT_EQ(buddyText(), "100,000");
  test::log().clear();
  input::keyPress(VK_UP);
  input::pumpMessages();
  EXPECT_EQ(position(), 100000);
  EXPECT_TRUE(reports().empty());  // nothing moved, nothing reported
  SendMessageA(updown, UDM_SETPOS32, 0, -5000000);  // clamped
  EXPECT_EQ(position(), -100000);
  EXPECT_EQ(buddyText(), "-100,000");
}

TEST_F(UpDown, WrapContinuesFromTheOtherEnd) {
  make(UDS_WRAP, 0, 3, 3);
  input::keyPress(VK_UP);
  input::pumpMessages();
  EXPECT_EQ(position(), 0);
  input::keyPress(VK_DOWN);
  input::pumpMessages();
  EXPECT_EQ(position(), 3);
}

TEST_F(UpDown, DefaultRangeRunsDownwardsSoUpDecreases) {
  make(0, 0, 0, 0);
  HWND plain = child(UPDOWN_CLASSA, nullptr, 0, 40, 200, 20, 16, 24);
  EXPECT_EQ(SendMessageA(plain, UDM_GETRANGE, 0, 0), MAKELONG(0, 100));
  SendMessageA(plain, UDM_SETPOS, 0, 50);
  input::click(plain, 4, 2);
  input::pumpMessages();
  EXPECT_EQ(LOWORD(SendMessageA(plain, UDM_GETPOS, 0, 0)), 49);
  SendMessageA(plain, UDM_SETRANGE, 0, MAKELONG(20, -20));  // upper 20, lower -20
  EXPECT_EQ(SendMessageA(plain, UDM_GETRANGE, 0, 0), MAKELONG(20, (WORD)-20));
  EXPECT_EQ((short)SendMessageA(plain, UDM_SETPOS, 0, 100), 49);  // answers the old position
  EXPECT_EQ((short)LOWORD(SendMessageA(plain, UDM_GETPOS, 0, 0)), 20);  // the new one clamped to the range
}

TEST_F(UpDown, BuddyTextThatIsNoNumberIsReportedAsAnError) {
  make(0, 0, 10, 5);
  SetWindowTextA(edit, "abc");
  EXPECT_NE(HIWORD(SendMessageA(updown, UDM_GETPOS, 0, 0)), 0);
  BOOL error = FALSE;
  EXPECT_EQ(SendMessageA(updown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 5);
  EXPECT_TRUE(error);
  SetWindowTextA(edit, "8");
  EXPECT_EQ(SendMessageA(updown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 8);
  EXPECT_FALSE(error);
}

TEST_F(UpDown, SetBuddyIntIsFixedAtCreationAndNoBuddyIsAnError) {
  // Made with UDS_SETBUDDYINT: taking the style away later still writes the buddy.
  make(0, 0, 10, 5);
  SetWindowLongA(updown, GWL_STYLE, GetWindowLongA(updown, GWL_STYLE) & ~UDS_SETBUDDYINT);
  SendMessageA(updown, UDM_SETPOS32, 0, 7);
  EXPECT_EQ(buddyText(), "7");
  // Made without it: adding the style later writes nothing.
  HWND other = child("Edit", "x", WS_BORDER, 40, 20, 60, 100, 24);
  HWND plain = child(UPDOWN_CLASSA, nullptr, UDS_AUTOBUDDY, 41, 0, 0, 16, 24);
  SetWindowLongA(plain, GWL_STYLE, GetWindowLongA(plain, GWL_STYLE) | UDS_SETBUDDYINT);
  SendMessageA(plain, UDM_SETRANGE32, 0, 10);
  SendMessageA(plain, UDM_SETPOS32, 0, 3);
  char text[16] = "";
  GetWindowTextA(other, text, sizeof text);
  EXPECT_STREQ(text, "x");
  EXPECT_EQ(HIWORD(SendMessageA(plain, UDM_GETPOS, 0, 0)), 0);
  // Without a buddy the position comes with the error flag.
  SendMessageA(plain, UDM_SETBUDDY, 0, 0);
  LRESULT got = SendMessageA(plain, UDM_GETPOS, 0, 0);
  EXPECT_EQ(LOWORD(got), 3);
  EXPECT_NE(HIWORD(got), 0);
}

TEST_F(UpDown, HexadecimalBaseAndAccelerationTable) {
  make(0, 0, 4096, 255);
  EXPECT_EQ(SendMessageA(updown, UDM_SETBASE, 16, 0), 10);
  EXPECT_EQ(buddyText(), "0x00FF");
  EXPECT_EQ(SendMessageA(updown, UDM_SETBASE, 7, 0), 0);
  EXPECT_EQ(SendMessageA(updown, UDM_GETBASE, 0, 0), 16);
  SetWindowTextA(edit, "0x100");
  EXPECT_EQ(position(), 256);

  const UDACCEL table[] = {{0, 4}, {1, 16}};
  EXPECT_TRUE(SendMessageA(updown, UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(table)));
  UDACCEL got[3] = {};
  EXPECT_EQ(SendMessageA(updown, UDM_GETACCEL, 3, reinterpret_cast<LPARAM>(got)), 2);
  EXPECT_EQ(got[1].nInc, 16u);
  EXPECT_FALSE(SendMessageA(updown, UDM_SETACCEL, 0, reinterpret_cast<LPARAM>(table)));
  input::keyPress(VK_UP);  // keys step by the first increment
  input::pumpMessages();
  EXPECT_EQ(position(), 260);
}

TEST_F(UpDown, HorizontalControlStepsUpOnItsRightHalfAndReportsWithHScroll) {
  HWND horizontal = child(UPDOWN_CLASSA, nullptr, UDS_HORZ, 42, 200, 20, 32, 16);
  SendMessageA(horizontal, UDM_SETRANGE32, 0, 10);
  settle();
  input::click(horizontal, 28, 8);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(horizontal, UDM_GETPOS32, 0, 0), 1);
  input::click(horizontal, 4, 8);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(horizontal, UDM_GETPOS32, 0, 0), 0);
  int hscrolls = 0;
  for (const test::Logged& l : test::log()) hscrolls += l.msg == WM_HSCROLL && LOWORD(l.wParam) == SB_THUMBPOSITION;
  EXPECT_EQ(hscrolls, 2);
}

TEST_F(UpDown, ReplacingTheBuddyReleasesTheOldOne) {
  make(0, 0, 10, 5);
  HWND other = child("Edit", "", WS_BORDER, 41, 20, 80, 60, 24);
  EXPECT_EQ((HWND)SendMessageA(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(other), 0), edit);
  EXPECT_EQ(GetWindowTextLengthA(other), 1);
  SetFocus(edit);
  SetWindowTextA(edit, "2");
  input::keyPress(VK_UP);  // the old buddy's keys are its own again
  input::pumpMessages();
  EXPECT_EQ(buddyText(), "2");
  DestroyWindow(updown);
  SetFocus(other);
  input::keyPress(VK_UP);
  input::pumpMessages();  // no step and no crash once the control is gone
  EXPECT_TRUE(IsWindow(other));
}

}  // namespace
