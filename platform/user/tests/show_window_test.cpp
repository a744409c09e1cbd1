// ShowWindow as Windows keeps it: commands that change nothing send nothing
// (and wait for nobody), a hidden active window hears its new place before
// it loses activation, and minimized windows are placed as Windows places them.
#include "message_log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <thread>

namespace {

class ShowWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    test::answer() = nullptr;
    top = CreateWindowExA(0, test::recorderClass(), "top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 300, 200, nullptr,
                          nullptr, nullptr, nullptr);
    child = CreateWindowExA(0, test::recorderClass(), "child", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, top, nullptr,
                            nullptr, nullptr);
    test::flushMessages();
  }
  void TearDown() override {
    DestroyWindow(top);
    test::flushMessages();
  }
  // The position of the first `msg` the log holds (with `wParam` when given), or -1.
  static int positionOf(UINT msg, WPARAM wParam = ~(WPARAM)0) {
    const auto& log = test::log();
    for (size_t i = 0; i < log.size(); ++i)
      if (log[i].msg == msg && (wParam == ~(WPARAM)0 || log[i].wParam == wParam)) return (int)i;
    return -1;
  }
  HWND top = nullptr;
  HWND child = nullptr;
};

TEST_F(ShowWindows, ShowingAShownWindowSendsNothing) {
  struct Case {
    HWND* window;
    int command;
  } cases[] = {
      {&top, SW_SHOW}, {&top, SW_SHOWNOACTIVATE}, {&child, SW_SHOW}, {&child, SW_SHOWNORMAL}, {&child, SW_SHOWNOACTIVATE},
  };
  for (const Case& c : cases) {
    test::log().clear();
    EXPECT_TRUE(ShowWindow(*c.window, c.command)) << c.command;
    test::expectSequence({}, "a shown window shown again");
  }
  // Hiding a hidden window sends nothing either and answers FALSE.
  ShowWindow(child, SW_HIDE);
  test::log().clear();
  EXPECT_FALSE(ShowWindow(child, SW_HIDE));
  test::expectSequence({}, "a hidden window hidden again");
}

TEST_F(ShowWindows, AShownWindowOfABusyThreadIsShownAgainAtOnce) {
  // The owner thread waits in WaitForSingleObject and runs no messages.
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::promise<HWND> made;
  std::thread owner([&] {
    HWND w = CreateWindowExA(0, "Static", "busy", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                             nullptr);
    made.set_value(w);
    WaitForSingleObject(release, INFINITE);
    DestroyWindow(w);
  });
  HWND busy = made.get_future().get();
  ASSERT_NE(busy, nullptr);
  auto shown = std::async(std::launch::async, [&] { return ShowWindow(busy, SW_SHOW); });
  const bool atOnce = shown.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
  SetEvent(release);  // frees a waiting ShowWindow too, so that the test ends either way
  EXPECT_TRUE(atOnce);
  EXPECT_TRUE(shown.get());
  owner.join();
  CloseHandle(release);
}

TEST_F(ShowWindows, AHiddenActiveWindowHearsItsNewPlaceBeforeItIsDeactivated) {
  HWND other = CreateWindowExA(0, test::recorderClass(), "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                               nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(top);
  ASSERT_EQ(GetActiveWindow(), top);
  test::log().clear();
  EXPECT_TRUE(ShowWindow(top, SW_HIDE));
  const int changed = positionOf(WM_WINDOWPOSCHANGED);
  const int deactivated = positionOf(WM_ACTIVATE, WA_INACTIVE);
  const int ncDeactivated = positionOf(WM_NCACTIVATE, FALSE);
  SCOPED_TRACE(test::describe(test::log()));
  ASSERT_GE(changed, 0);
  ASSERT_GE(deactivated, 0);
  EXPECT_LT(changed, deactivated);
  EXPECT_LT(changed, ncDeactivated);
  EXPECT_EQ(GetActiveWindow(), other);
  DestroyWindow(other);
}

TEST_F(ShowWindows, SetWindowPosActivatesATopLevelWindowUnlessAskedNotTo) {
  HWND other = CreateWindowExA(0, test::recorderClass(), "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                               nullptr, nullptr, nullptr, nullptr);
  ASSERT_EQ(GetActiveWindow(), other);
  SetWindowPos(top, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(GetActiveWindow(), other);
  SetWindowPos(top, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(GetActiveWindow(), top);
  EXPECT_EQ(GetFocus(), top);
  DestroyWindow(other);
}

TEST_F(ShowWindows, MinimizedTopLevelWindowsLeaveTheScreenAndRememberMaximizing) {
  struct Case {
    int before;  // the command that comes before minimizing
    UINT flags;  // of the placement while minimized
  } cases[] = {{SW_SHOWNORMAL, 0}, {SW_SHOWMAXIMIZED, WPF_RESTORETOMAXIMIZED}};
  for (const Case& c : cases) {
    ShowWindow(top, c.before);
    ShowWindow(top, SW_MINIMIZE);
    RECT r;
    GetWindowRect(top, &r);
    EXPECT_EQ(r.left, -32000);
    EXPECT_EQ(r.top, -32000);
    WINDOWPLACEMENT wp{sizeof wp};
    ASSERT_TRUE(GetWindowPlacement(top, &wp));
    EXPECT_EQ(wp.showCmd, (UINT)SW_SHOWMINIMIZED);
    EXPECT_EQ(wp.flags, c.flags);
    EXPECT_EQ(wp.ptMinPosition.x, -32000);
    EXPECT_EQ(wp.ptMinPosition.y, -32000);
    EXPECT_EQ(wp.rcNormalPosition.left, 40);
    ShowWindow(top, SW_SHOWNORMAL);
  }
  // A child minimizes inside its parent, at the bottom-left.
  ShowWindow(child, SW_MINIMIZE);
  RECT client, r;
  GetClientRect(top, &client);
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, top, (POINT*)&r, 2);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.bottom, client.bottom);
}

}  // namespace
