// The auto-repeat tracking loop ends on the button's release or on a veto,
// feeds the control synthetic moves, and never runs twice at once.
#include <gtest/gtest.h>
#include <internal/testinput.h>

#include <algorithm>
#include <vector>

#include "ctlrecord.h"
#include "suballocator.h"
#include "tracking.h"

namespace {

std::vector<UINT> seen;
bool nestedCall = false;

LRESULT handler(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* record) {
  if (message == WM_MOUSEMOVE || message == WM_LBUTTONUP) seen.push_back(message);
  if (message == WM_NCCREATE) {
    auto* r = static_cast<HCtlRecord*>(HCtlAlloc(sizeof(HCtlRecord)));
    HCtlInitRecord(r, window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
  }
  if (message == WM_NCDESTROY && record) {
    HCtlFree(record);
    SendMessageA(window, KYM_SETINSTANCE, 0, 0);
  }
  if (message == WM_MOUSEMOVE && nestedCall) {
    nestedCall = false;
    HCtlTrackCapture(record, FALSE);  // must return at once
    seen.push_back(0);
  }
  *passOn = TRUE;
  return 0;
}

LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return HCtlDispatch(w, m, wp, lp, handler, 0); }

class Tracking : public ::testing::Test {
 protected:
  void SetUp() override {
    static const ATOM atom =
        HCtlRegisterClass(0, proc, 0, sizeof(LONG_PTR), nullptr, nullptr, nullptr, nullptr, nullptr, "NwiTrack");
    ASSERT_NE(atom, 0);
    window_ = CreateWindowExA(0, "NwiTrack", "", WS_POPUP | WS_VISIBLE, 10, 10, 100, 100, nullptr, nullptr, nullptr,
                              nullptr);
    record_ = reinterpret_cast<HCtlRecord*>(SendMessageA(window_, KYM_GETINSTANCE, 0, 0));
    ASSERT_NE(record_, nullptr);
    seen.clear();
  }
  void TearDown() override { DestroyWindow(window_); }
  HWND window_ = nullptr;
  HCtlRecord* record_ = nullptr;
};

TEST_F(Tracking, AVetoEndsTheLoopWithAPostedButtonRelease) {
  win32::input::mouseDown(window_, 50, 50);
  win32::input::pumpMessages();
  seen.clear();
  record_->flags |= HCTL_VETO;
  HCtlTrackCapture(record_, FALSE);
  EXPECT_TRUE(seen.empty()) << "nothing sent before the veto was seen";
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, window_, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE));
  record_->flags &= static_cast<WORD>(~HCTL_VETO);
  win32::input::mouseUp(window_, 50, 50);
  win32::input::pumpMessages();
}

TEST_F(Tracking, TheReleaseOfTheButtonEndsTheLoop) {
  win32::input::mouseDown(window_, 50, 50);
  win32::input::pumpMessages();
  seen.clear();
  win32::input::mouseUp(window_, 50, 50);  // queued: the loop finds it
  nestedCall = true;
  HCtlTrackCapture(record_, TRUE);
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen.front(), static_cast<UINT>(WM_MOUSEMOVE)) << "a synthetic move first";
  EXPECT_EQ(seen.back(), static_cast<UINT>(WM_LBUTTONUP)) << "the release is sent to the control";
  EXPECT_NE(std::find(seen.begin(), seen.end(), 0u), seen.end()) << "the nested call returned";
}

}  // namespace
