// Focus, activation and capture: who gets which message, in which order.
#include "message_log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using test::Expect;
using test::kLParam;
using test::kWParam;

namespace {

class Focus : public ::testing::Test {
 protected:
  void SetUp() override {
    test::answer() = nullptr;
    first = make(WS_POPUP | WS_VISIBLE, nullptr, "first");
    second = make(WS_POPUP | WS_VISIBLE, nullptr, "second");
    child = make(WS_CHILD | WS_VISIBLE, first, "child");
    test::flushMessages();
  }
  void TearDown() override {
    for (HWND w : {child, first, second}) DestroyWindow(w);
    test::flushMessages();
  }
  static HWND make(DWORD style, HWND parent, const char* text) {
    return CreateWindowExA(0, test::recorderClass(), text, style, 0, 0, 100, 100, parent, (HMENU)(INT_PTR)((style & WS_CHILD) ? 1 : 0),
                           nullptr, nullptr);
  }
  HWND first = nullptr, second = nullptr, child = nullptr;
};

TEST_F(Focus, SetFocusKillsTheOldFocusBeforeSettingTheNew) {
  SetFocus(second);
  test::log().clear();
  // Moving into another top-level window activates it first; its activation
  // focuses it, so that is the focus SetFocus replaces.
  EXPECT_EQ(SetFocus(child), first);
  test::expectSequence({{WM_NCACTIVATE, kWParam, FALSE, 0, second},
                        {WM_ACTIVATE, kWParam | kLParam, WA_INACTIVE, (LPARAM)first, second},
                        {WM_WINDOWPOSCHANGING, 0, 0, 0, first}, {WM_WINDOWPOSCHANGED, 0, 0, 0, first},
                        {WM_NCACTIVATE, kWParam, TRUE, 0, first},
                        {WM_ACTIVATE, kWParam | kLParam, WA_ACTIVE, (LPARAM)second, first},
                        {WM_KILLFOCUS, kWParam, (WPARAM)first, 0, second},
                        {WM_SETFOCUS, kWParam, (WPARAM)second, 0, first},
                        {WM_KILLFOCUS, kWParam, (WPARAM)child, 0, first},
                        {WM_SETFOCUS, kWParam, (WPARAM)first, 0, child}},
                       "focus into the other window's child");
  EXPECT_EQ(GetFocus(), child);
  EXPECT_EQ(GetActiveWindow(), first);
  EXPECT_EQ(GetForegroundWindow(), first);
  // Focus on the same window again sends nothing.
  EXPECT_EQ(SetFocus(child), child);
  test::expectSequence({}, "same focus");
  EXPECT_EQ(SetFocus(nullptr), child);
  test::expectSequence({{WM_KILLFOCUS, kWParam, 0, 0, child}}, "no focus");
}

TEST_F(Focus, DisabledWindowsAndChildrenOfDisabledWindowsTakeNoFocus) {
  SetFocus(first);
  EnableWindow(first, FALSE);
  test::log().clear();
  EXPECT_EQ(SetFocus(child), nullptr);
  EXPECT_EQ(SetFocus(first), nullptr);
  test::expectSequence({}, "refused");
  EnableWindow(first, TRUE);
  test::expectSequence({{WM_ENABLE, kWParam, TRUE, 0, first}}, "enable");
}

TEST_F(Focus, DisablingTheFocusWindowTakesTheFocusAway) {
  SetFocus(child);
  test::log().clear();
  EXPECT_FALSE(EnableWindow(child, FALSE));
  test::expectSequence({{WM_CANCELMODE, 0, 0, 0, child}, {WM_KILLFOCUS, kWParam, 0, 0, child},
                        {WM_ENABLE, kWParam, FALSE, 0, child}},
                       "disable focus window");
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_TRUE(EnableWindow(child, TRUE));  // answers: it was disabled
}

TEST_F(Focus, DestroyingTheActiveWindowActivatesAnother) {
  SetActiveWindow(second);
  SetActiveWindow(first);
  test::log().clear();
  DestroyWindow(first);
  first = nullptr;
  EXPECT_EQ(GetActiveWindow(), second);
  EXPECT_EQ(GetFocus(), second);
}

struct FocusHook {
  std::vector<std::pair<WPARAM, LPARAM>> calls;
  bool refuse = false;
} focusHook;
LRESULT CALLBACK cbtFocus(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_SETFOCUS) {
    focusHook.calls.emplace_back(wParam, lParam);
    if (focusHook.refuse) return TRUE;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Focus, TakingTheFocusAwayAsksTheCbtHook) {
  SetFocus(child);
  focusHook = FocusHook{};
  HHOOK hook = SetWindowsHookExA(WH_CBT, cbtFocus, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  // Refused: the focus stays.
  focusHook.refuse = true;
  EXPECT_EQ(SetFocus(nullptr), nullptr);
  EXPECT_EQ(GetFocus(), child);
  focusHook.refuse = false;
  EXPECT_EQ(SetFocus(nullptr), child);
  EXPECT_EQ(GetFocus(), nullptr);
  const std::vector<std::pair<WPARAM, LPARAM>> expected = {{0, (LPARAM)child}, {0, (LPARAM)child}};
  EXPECT_EQ(focusHook.calls, expected);
  UnhookWindowsHookEx(hook);
}

TEST_F(Focus, CaptureChangesAreAnnounced) {
  EXPECT_EQ(SetCapture(first), nullptr);
  EXPECT_EQ(GetCapture(), first);
  EXPECT_EQ(SetCapture(second), first);
  test::expectSequence({{WM_CAPTURECHANGED, kLParam, 0, (LPARAM)second, first}}, "capture moves");
  EXPECT_TRUE(ReleaseCapture());
  test::expectSequence({{WM_CAPTURECHANGED, kLParam, 0, 0, second}}, "capture released");
  EXPECT_EQ(GetCapture(), nullptr);
  SetCapture(child);
  DestroyWindow(child);
  child = nullptr;
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Focus, HidingTheFocusedChildGivesTheFocusToItsParent) {
  SetFocus(child);
  test::log().clear();
  EXPECT_TRUE(ShowWindow(child, SW_HIDE));
  test::expectSequence({{WM_SHOWWINDOW, kWParam, FALSE, 0, child}, {WM_WINDOWPOSCHANGING, 0, 0, 0, child},
                        {WM_WINDOWPOSCHANGED, 0, 0, 0, child}, {WM_KILLFOCUS, kWParam, (WPARAM)first, 0, child},
                        {WM_SETFOCUS, kWParam, (WPARAM)child, 0, first}},
                       "hide focused child");
  EXPECT_EQ(GetFocus(), first);
  EXPECT_FALSE(IsWindowVisible(child));
}

TEST_F(Focus, KeyboardStateIsKeptAndRestored) {
  BYTE keys[256] = {};
  keys['A'] = 0x80;
  keys[VK_CAPITAL] = 0x01;
  EXPECT_TRUE(SetKeyboardState(keys));
  EXPECT_LT(GetKeyState('A'), 0);
  EXPECT_EQ(GetKeyState(VK_CAPITAL), 1);
  EXPECT_EQ(GetKeyState('B'), 0);
  BYTE back[256];
  EXPECT_TRUE(GetKeyboardState(back));
  EXPECT_EQ(back['A'], 0x80);
  memset(keys, 0, sizeof keys);
  SetKeyboardState(keys);
  EXPECT_FALSE(GetKeyboardState(nullptr));
}

}  // namespace
