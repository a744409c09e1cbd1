// TrackMouseEvent: WM_MOUSELEAVE when the pointer leaves the watched window
// (or is elsewhere already), WM_MOUSEHOVER once it rests there for the hover
// time; querying and cancelling.
#include "message_log.h"

#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace input = win32::input;

namespace {

class MouseTracking : public ::testing::Test {
 protected:
  void SetUp() override {
    test::answer() = nullptr;
    frame = CreateWindowExA(0, test::recorderClass(), "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                            nullptr, nullptr, nullptr, nullptr);
    inner = CreateWindowExA(0, test::recorderClass(), "inner", WS_CHILD | WS_VISIBLE, 10, 10, 100, 60, frame,
                            (HMENU)5, nullptr, nullptr);
    input::mouseMove(inner, 20, 20);
    input::pumpMessages();
    test::log().clear();
  }
  void TearDown() override {
    DestroyWindow(frame);
    input::pumpMessages();
    test::log().clear();
  }
  BOOL track(DWORD flags, DWORD hoverTime = HOVER_DEFAULT) {
    TRACKMOUSEEVENT tme{sizeof tme, flags, inner, hoverTime};
    return TrackMouseEvent(&tme);
  }
  // The messages `msg` the log holds, with their windows.
  static std::vector<test::Logged> told(UINT msg) {
    std::vector<test::Logged> out;
    for (const test::Logged& l : test::log())
      if (l.msg == msg) out.push_back(l);
    return out;
  }
  HWND frame = nullptr, inner = nullptr;
};

TEST_F(MouseTracking, LeaveIsToldOnceWhenThePointerGoesElsewhere) {
  struct Case {
    const char* what;
    bool leaveFirst;  // the pointer is already elsewhere when tracking starts
  } cases[] = {{"moves out", false}, {"is out already", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    input::mouseMove(c.leaveFirst ? frame : inner, c.leaveFirst ? 200 : 20, c.leaveFirst ? 150 : 20);
    input::pumpMessages();
    test::log().clear();
    ASSERT_TRUE(track(TME_LEAVE));
    input::pumpMessages();
    EXPECT_EQ(told(WM_MOUSELEAVE).size(), c.leaveFirst ? 1u : 0u);
    for (int x : {200, 220}) input::mouseMove(frame, x, 150);
    input::pumpMessages();
    auto leaves = told(WM_MOUSELEAVE);
    ASSERT_EQ(leaves.size(), 1u);
    EXPECT_EQ(leaves[0].hwnd, inner);
    input::mouseMove(inner, 20, 20);
    input::pumpMessages();
    test::log().clear();
  }
}

TEST_F(MouseTracking, HoverIsToldOnceAfterRestingForTheHoverTime) {
  ASSERT_TRUE(track(TME_HOVER | TME_LEAVE, 30));
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (told(WM_MOUSEHOVER).empty() && std::chrono::steady_clock::now() < until) {
    input::pumpMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  auto hovers = told(WM_MOUSEHOVER);
  ASSERT_EQ(hovers.size(), 1u);
  EXPECT_EQ(hovers[0].hwnd, inner);
  EXPECT_EQ(hovers[0].lParam, MAKELPARAM(20, 20));
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  input::pumpMessages();
  EXPECT_EQ(told(WM_MOUSEHOVER).size(), 1u);
  // Leave is still watched after the hover.
  TRACKMOUSEEVENT query{sizeof query, TME_QUERY, nullptr, 0};
  ASSERT_TRUE(TrackMouseEvent(&query));
  EXPECT_EQ(query.dwFlags, (DWORD)TME_LEAVE);
  EXPECT_EQ(query.hwndTrack, inner);
}

TEST_F(MouseTracking, CancelledTrackingTellsNothing) {
  ASSERT_TRUE(track(TME_LEAVE));
  ASSERT_TRUE(track(TME_LEAVE | TME_CANCEL));
  TRACKMOUSEEVENT query{sizeof query, TME_QUERY, nullptr, 0};
  ASSERT_TRUE(TrackMouseEvent(&query));
  EXPECT_EQ(query.dwFlags, 0u);
  input::mouseMove(frame, 200, 150);
  input::pumpMessages();
  EXPECT_TRUE(told(WM_MOUSELEAVE).empty());
}

TEST_F(MouseTracking, RefusesBadArguments) {
  TRACKMOUSEEVENT wrongSize{sizeof(TRACKMOUSEEVENT) - 1, TME_LEAVE, inner, 0};
  EXPECT_FALSE(TrackMouseEvent(&wrongSize));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
  TRACKMOUSEEVENT noWindow{sizeof(TRACKMOUSEEVENT), TME_LEAVE, (HWND)(UINT_PTR)0x7777, 0};
  EXPECT_FALSE(TrackMouseEvent(&noWindow));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_WINDOW_HANDLE);
}

}  // namespace
