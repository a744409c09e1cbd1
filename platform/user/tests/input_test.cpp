// Synthetic keyboard and mouse input through the queue.
#include "message_log.h"

#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

using test::Expect;
using test::kLParam;
using test::kWParam;
namespace input = win32::input;

namespace {

class Input : public ::testing::Test {
 protected:
  void SetUp() override {
    test::answer() = nullptr;
    frame = CreateWindowExA(0, test::recorderClass(), "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                            nullptr, nullptr, nullptr, nullptr);
    edit = CreateWindowExA(0, test::recorderClass(), "edit", WS_CHILD | WS_VISIBLE, 10, 10, 100, 30, frame, (HMENU)5,
                           nullptr, nullptr);
    SetFocus(edit);
    input::pumpMessages();
    test::log().clear();
  }
  void TearDown() override {
    DestroyWindow(frame);
    input::pumpMessages();
    test::log().clear();
    BYTE none[256] = {};
    SetKeyboardState(none);
  }
  HWND frame = nullptr, edit = nullptr;
};

TEST_F(Input, TypedTextBecomesKeyAndCharacterMessagesOfTheFocusWindow) {
  input::typeText("aB");
  input::pumpMessages();
  test::expectSequence({{WM_KEYDOWN, kWParam, 'A', 0, nullptr},
                        {WM_CHAR, kWParam, 'a'},
                        {WM_KEYUP, kWParam, 'A'},
                        {WM_KEYDOWN, kWParam, VK_SHIFT},
                        {WM_KEYDOWN, kWParam, 'B'},
                        {WM_CHAR, kWParam, 'B'},
                        {WM_KEYUP, kWParam, 'B'},
                        {WM_KEYUP, kWParam, VK_SHIFT}},
                       "typing");
  EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);  // up again (the low bit toggles with each press)
}

TEST_F(Input, KeyMessagesCarryScanCodeAndTransitionBits) {
  input::keyDown(VK_RETURN);
  input::keyDown(VK_RETURN);  // auto-repeat: the key was already down
  input::keyUp(VK_RETURN);
  input::pumpMessages();
  std::vector<test::Logged> got = test::log();
  test::log().clear();
  ASSERT_GE(got.size(), 5u);
  EXPECT_EQ(got[0].msg, (UINT)WM_KEYDOWN);
  EXPECT_EQ(got[0].lParam, 0x001C0001);
  EXPECT_EQ(got[1].msg, (UINT)WM_CHAR);
  EXPECT_EQ(got[1].wParam, (WPARAM)'\r');
  EXPECT_EQ(got[2].lParam, 0x401C0001);  // previous state down
  EXPECT_EQ(got.back().msg, (UINT)WM_KEYUP);
  EXPECT_EQ((DWORD)got.back().lParam, 0xC01C0001u);
}

TEST_F(Input, AltKeysAreSystemKeysAndCtrlMakesControlCharacters) {
  input::chord('F', false, false, true);
  input::chord('C', false, true);
  input::pumpMessages();
  test::expectSequence({{WM_SYSKEYDOWN, kWParam, VK_MENU},
                        {WM_SYSKEYDOWN, kWParam, 'F'},
                        {WM_SYSCHAR, kWParam, 'f'},
                        {WM_SYSCOMMAND, kWParam, SC_KEYMENU, 0, nullptr},
                        {WM_SYSKEYUP, kWParam, 'F'},
                        {WM_KEYUP, kWParam, VK_MENU},
                        {WM_KEYDOWN, kWParam, VK_CONTROL},
                        {WM_KEYDOWN, kWParam, 'C'},
                        {WM_CHAR, kWParam, 3},
                        {WM_KEYUP, kWParam, 'C'},
                        {WM_KEYUP, kWParam, VK_CONTROL}},
                       "alt and ctrl");
}

TEST_F(Input, ClickInAnInactiveWindowActivatesItThenDelivers) {
  HWND other = CreateWindowExA(0, test::recorderClass(), "other", WS_POPUP | WS_VISIBLE, 600, 100, 100, 100, nullptr,
                               nullptr, nullptr, nullptr);
  input::pumpMessages();
  SetActiveWindow(frame);
  test::log().clear();
  input::click(other, 10, 20);
  input::pumpMessages();
  test::expectSequence({{WM_MOUSEMOVE, kWParam | kLParam, 0, MAKELPARAM(10, 20), other},
                        {WM_MOUSEACTIVATE, kWParam | kLParam, (WPARAM)other, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)},
                        {WM_NCACTIVATE, kWParam, FALSE, 0, frame},
                        {WM_ACTIVATE, kWParam, WA_INACTIVE, 0, frame},
                        {WM_WINDOWPOSCHANGING, 0, 0, 0, other},  // to the top
                        {WM_WINDOWPOSCHANGED, 0, 0, 0, other},
                        {WM_NCACTIVATE, kWParam, TRUE, 0, other},
                        {WM_ACTIVATE, kWParam, WA_CLICKACTIVE, 0, other},
                        {WM_KILLFOCUS, 0, 0, 0, frame},  // its own activation focused it
                        {WM_SETFOCUS, 0, 0, 0, other},
                        {WM_LBUTTONDOWN, kWParam | kLParam, MK_LBUTTON, MAKELPARAM(10, 20), other},
                        {WM_LBUTTONUP, kWParam | kLParam, 0, MAKELPARAM(10, 20), other}},
                       "click activates");
  EXPECT_EQ(GetActiveWindow(), other);
  DestroyWindow(other);
}

TEST_F(Input, DoubleClicksNeedTheClassStyleInTheClientArea) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = test::recordingProc;
  wc.lpszClassName = "KyNoDblClks";
  RegisterClassA(&wc);
  HWND plain = CreateWindowExA(0, "KyNoDblClks", "", WS_CHILD | WS_VISIBLE, 150, 10, 50, 50, frame, nullptr, nullptr, nullptr);
  input::pumpMessages();
  test::log().clear();
  input::doubleClick(edit, 5, 5);
  input::doubleClick(plain, 5, 5);
  input::pumpMessages();
  test::expectSequence({{WM_MOUSEMOVE, 0, 0, 0, edit}, {WM_LBUTTONDOWN}, {WM_LBUTTONUP}, {WM_LBUTTONDBLCLK}, {WM_LBUTTONUP},
                        {WM_MOUSEMOVE, 0, 0, 0, plain}, {WM_LBUTTONDOWN}, {WM_LBUTTONUP}, {WM_LBUTTONDOWN}, {WM_LBUTTONUP}},
                       "double clicks");
  DestroyWindow(plain);
  UnregisterClassA("KyNoDblClks", nullptr);
}

TEST_F(Input, LookingAtAClickWithoutTakingItLeavesItASingleClick) {
  // A modal loop peeks before it takes: the look must not count as a click.
  input::click(edit, 5, 5);
  MSG msg{};
  std::vector<UINT> taken;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    taken.push_back(msg.message);
    DispatchMessageA(&msg);
  }
  EXPECT_EQ(taken, (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(Input, CaptionClicksAreNonClientAndCaptureTakesAllMouseInput) {
  RECT wr;
  GetWindowRect(frame, &wr);
  POINT caption{wr.left + 40, wr.top + 10};
  ScreenToClient(frame, &caption);
  input::click(frame, caption.x, caption.y);
  input::pumpMessages();
  test::expectSequence({{WM_NCMOUSEMOVE, kWParam, HTCAPTION, 0, frame}, {WM_NCLBUTTONDOWN, kWParam, HTCAPTION},
                        {WM_NCLBUTTONUP, kWParam, HTCAPTION}},
                       "caption");
  SetCapture(edit);
  input::click(frame, 250, 150);  // far outside the edit
  input::pumpMessages();
  test::expectSequence({{WM_MOUSEMOVE, kLParam, 0, MAKELPARAM(240, 140), edit},
                        {WM_LBUTTONDOWN, kLParam, 0, MAKELPARAM(240, 140), edit},
                        {WM_LBUTTONUP, 0, 0, 0, edit}},
                       "captured");
  ReleaseCapture();
  test::log().clear();
}

TEST_F(Input, HooksSeeInputFirstAndMayDropIt) {
  static int keyboardCalls, mouseCalls;
  keyboardCalls = mouseCalls = 0;
  HHOOK kb = SetWindowsHookExA(WH_KEYBOARD, [](int code, WPARAM w, LPARAM l) -> LRESULT {
    ++keyboardCalls;
    return w == 'X' ? 1 : CallNextHookEx(nullptr, code, w, l);  // 'X' never arrives
  }, nullptr, GetCurrentThreadId());
  HHOOK mouse = SetWindowsHookExA(WH_MOUSE, [](int code, WPARAM w, LPARAM l) -> LRESULT {
    ++mouseCalls;
    return 0;
  }, nullptr, GetCurrentThreadId());
  ASSERT_TRUE(kb);
  ASSERT_TRUE(mouse);
  input::typeText("xy");
  input::click(edit, 1, 1);
  input::pumpMessages();
  test::expectSequence({{WM_KEYDOWN, kWParam, 'Y'}, {WM_CHAR, kWParam, 'y'}, {WM_KEYUP, kWParam, 'Y'}, {WM_MOUSEMOVE},
                        {WM_LBUTTONDOWN}, {WM_LBUTTONUP}},
                       "hooked");
  EXPECT_EQ(keyboardCalls, 4);
  EXPECT_EQ(mouseCalls, 3);
  EXPECT_TRUE(UnhookWindowsHookEx(kb));
  EXPECT_TRUE(UnhookWindowsHookEx(mouse));
  EXPECT_FALSE(UnhookWindowsHookEx(kb));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HOOK_HANDLE);
}

TEST_F(Input, MouseButtonsShowInKeyStateAndCursorPosition) {
  input::mouseDown(edit, 3, 4);
  input::pumpMessages();
  EXPECT_LT(GetKeyState(VK_LBUTTON), 0);
  EXPECT_NE(GetAsyncKeyState(VK_LBUTTON), 0);
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 100 + 4 + 10 + 3);
  input::mouseUp(edit, 3, 4);
  input::pumpMessages();
  EXPECT_EQ(GetKeyState(VK_LBUTTON) & 0x8000, 0);
  test::log().clear();
}

}  // namespace
