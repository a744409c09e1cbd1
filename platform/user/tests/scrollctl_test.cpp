// The "ScrollBar" control: range and position by SBM_* messages and by the
// scroll functions with SB_CTL, and what arrows, page areas, the thumb and
// keys report to the parent.
#include "control_fixture.h"

#include <vector>

namespace input = win32::input;

namespace {

struct Scroll {
  UINT msg;
  int code;
  int position;
  bool operator==(const Scroll&) const = default;
};

class ScrollBarControl : public test::ControlTest {
 protected:
  // A vertical bar 17 wide and 200 high: arrows 17 high, track 166.
  HWND bar(DWORD style = SBS_VERT, int width = 17, int height = 200) {
    HWND b = child("ScrollBar", "", style, 30, 20, 20, width, height);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
    SetScrollInfo(b, SB_CTL, &si, TRUE);
    settle();
    return b;
  }
  std::vector<Scroll> scrolls(HWND b) {
    std::vector<Scroll> got;
    for (const test::Logged& l : test::log())
      if ((l.msg == WM_VSCROLL || l.msg == WM_HSCROLL) && (HWND)l.lParam == b)
        got.push_back(Scroll{l.msg, LOWORD(l.wParam), (short)HIWORD(l.wParam)});
    test::log().clear();
    return got;
  }
};

TEST_F(ScrollBarControl, RangeAndPositionByMessagesAndScrollFunctions) {
  HWND b = child("ScrollBar", "", SBS_HORZ, 30, 20, 20, 200, 17);
  int min = -1, max = -1;
  SendMessageA(b, SBM_GETRANGE, (WPARAM)&min, (LPARAM)&max);
  EXPECT_EQ(min, 0);
  EXPECT_EQ(max, 0);  // a new control scrolls nothing
  SendMessageA(b, SBM_SETRANGE, 10, 50);
  EXPECT_EQ(SendMessageA(b, SBM_SETPOS, 70, TRUE), 10);  // the old position
  EXPECT_EQ(SendMessageA(b, SBM_GETPOS, 0, 0), 50);       // clamped to the range
  EXPECT_EQ(SendMessageA(b, SBM_SETRANGE, 0, 20), 50);    // moved: the old position answered
  EXPECT_EQ(GetScrollPos(b, SB_CTL), 20);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 99, 25, 90, 0};
  EXPECT_EQ(SetScrollInfo(b, SB_CTL, &si, FALSE), 75);  // the page keeps max - page + 1
  SCROLLINFO got{sizeof got, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(b, SB_CTL, &got));
  EXPECT_EQ(got.nMin, 0);
  EXPECT_EQ(got.nMax, 99);
  EXPECT_EQ(got.nPage, 25u);
  EXPECT_EQ(got.nPos, 75);
  EXPECT_EQ(SetScrollPos(b, SB_CTL, 3, TRUE), 75);
  EXPECT_TRUE(SetScrollRange(b, SB_CTL, 0, 10, TRUE));
  ASSERT_TRUE(GetScrollRange(b, SB_CTL, &min, &max));
  EXPECT_EQ(max, 10);
  EXPECT_EQ(SendMessageA(b, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(ScrollBarControl, ArrowsAndPageAreasReportToTheParentWithTheControlsHandle) {
  HWND b = bar();
  input::click(b, 8, 195);  // down arrow
  input::pumpMessages();
  EXPECT_EQ(scrolls(b), (std::vector<Scroll>{{WM_VSCROLL, SB_LINEDOWN, 0}, {WM_VSCROLL, SB_ENDSCROLL, 0}}));
  EXPECT_EQ(GetScrollPos(b, SB_CTL), 0);  // the parent moves the bar, not the bar itself
  input::click(b, 8, 150);  // below the thumb
  input::click(b, 8, 5);    // up arrow
  input::pumpMessages();
  EXPECT_EQ(scrolls(b), (std::vector<Scroll>{{WM_VSCROLL, SB_PAGEDOWN, 0},
                                             {WM_VSCROLL, SB_ENDSCROLL, 0},
                                             {WM_VSCROLL, SB_LINEUP, 0},
                                             {WM_VSCROLL, SB_ENDSCROLL, 0}}));
  SendMessageA(b, SBM_SETPOS, 90, TRUE);
  input::click(b, 8, 40);  // above the thumb, now at the bottom
  input::pumpMessages();
  EXPECT_EQ(scrolls(b), (std::vector<Scroll>{{WM_VSCROLL, SB_PAGEUP, 0}, {WM_VSCROLL, SB_ENDSCROLL, 0}}));
}

TEST_F(ScrollBarControl, ThumbDragTracksThenSetsThePosition) {
  HWND b = bar();
  // The thumb is 16 high (page 10 of 100 over 166) at the top of the track.
  input::mouseDown(b, 8, 25);
  input::mouseMove(b, 8, 100);
  input::pumpMessages();
  SCROLLINFO si{sizeof si, SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(b, SB_CTL, &si);
  EXPECT_EQ(si.nPos, 0);
  EXPECT_GT(si.nTrackPos, 40);
  EXPECT_LT(si.nTrackPos, 60);
  input::mouseMove(b, 8, 400);  // past the end: the last position
  input::mouseUp(b, 8, 400);
  input::pumpMessages();
  std::vector<Scroll> got = scrolls(b);
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[0].code, SB_THUMBTRACK);
  EXPECT_EQ(got[0].position, si.nTrackPos);
  EXPECT_EQ(got[1], (Scroll{WM_VSCROLL, SB_THUMBTRACK, 90}));
  EXPECT_EQ(got[2], (Scroll{WM_VSCROLL, SB_THUMBPOSITION, 90}));
  EXPECT_EQ(got[3], (Scroll{WM_VSCROLL, SB_ENDSCROLL, 0}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollBarControl, KeysScrollAndReleaseEnds) {
  HWND b = bar(SBS_HORZ | WS_TABSTOP, 200, 17);
  SetFocus(b);
  test::log().clear();
  input::keyPress(VK_RIGHT);
  input::keyPress(VK_HOME);
  input::keyPress(VK_NEXT);
  input::pumpMessages();
  EXPECT_EQ(scrolls(b), (std::vector<Scroll>{{WM_HSCROLL, SB_LINEDOWN, 0},
                                             {WM_HSCROLL, SB_ENDSCROLL, 0},
                                             {WM_HSCROLL, SB_TOP, 0},
                                             {WM_HSCROLL, SB_ENDSCROLL, 0},
                                             {WM_HSCROLL, SB_PAGEDOWN, 0},
                                             {WM_HSCROLL, SB_ENDSCROLL, 0}}));
}

TEST_F(ScrollBarControl, DisabledArrowsAndDisabledBarsDoNothing) {
  HWND b = bar();
  EXPECT_TRUE(EnableScrollBar(b, SB_CTL, ESB_DISABLE_DOWN));
  EXPECT_FALSE(SendMessageA(b, SBM_ENABLE_ARROWS, ESB_DISABLE_DOWN, 0));  // no change
  input::click(b, 8, 195);
  input::pumpMessages();
  EXPECT_TRUE(scrolls(b).empty());
  input::click(b, 8, 5);
  input::pumpMessages();
  EXPECT_EQ(scrolls(b).size(), 2u);
  EnableWindow(b, FALSE);
  input::click(b, 8, 5);
  SendMessageA(b, WM_KEYDOWN, VK_DOWN, 0);
  input::pumpMessages();
  EXPECT_TRUE(scrolls(b).empty());
}

TEST_F(ScrollBarControl, TrackIsPaintedWithTheParentsBrush) {
  HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
  test::answer() = [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_CTLCOLORSCROLLBAR) return false;
    r = (LRESULT)green;
    return true;
  };
  HWND b = bar();
  InvalidateRect(b, nullptr, TRUE);
  UpdateWindow(b);
  EXPECT_EQ(win32::snapshot::windowPixel(b, 8, 150), RGB(0, 200, 0));
  test::answer() = nullptr;
  DestroyWindow(b);
  DeleteObject(green);
}

TEST_F(ScrollBarControl, SnapshotOfBarsAndAWindowsOwnScrollBars) {
  SetWindowPos(frame, nullptr, 0, 0, 360, 260, SWP_NOMOVE | SWP_NOZORDER);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 20, 40, 0};
  HWND normal = child("ScrollBar", "", SBS_VERT, 1, 10, 10, 17, 180);
  HWND focused = child("ScrollBar", "", SBS_VERT | WS_TABSTOP, 2, 40, 10, 17, 180);
  HWND disabled = child("ScrollBar", "", SBS_VERT | WS_DISABLED, 3, 70, 10, 17, 180);
  HWND horizontal = child("ScrollBar", "", SBS_HORZ, 4, 100, 10, 200, 17);
  HWND pane = child("Static", "", SS_WHITERECT | WS_VSCROLL | WS_HSCROLL, 5, 100, 40, 200, 150);
  for (HWND b : {normal, focused, disabled, horizontal}) SetScrollInfo(b, SB_CTL, &si, TRUE);
  SetScrollInfo(pane, SB_VERT, &si, TRUE);
  SetScrollInfo(pane, SB_HORZ, &si, TRUE);
  SetFocus(focused);
  const std::string path = test::snapshotPath("scrollbar_kinds.png");
  ASSERT_TRUE(win32::snapshot::saveWindowPng(frame, path.c_str()));
  // The thumb (29 of the 146 track pixels, 58 down) has a raised edge; the disabled bar has no thumb.
  const int thumbMiddle = 17 + (146 - 29) * 40 / 80 + 14;
  EXPECT_EQ(win32::snapshot::windowPixel(normal, 1, thumbMiddle), GetSysColor(COLOR_3DHIGHLIGHT));
  EXPECT_EQ(win32::snapshot::windowPixel(disabled, 1, thumbMiddle), GetSysColor(COLOR_SCROLLBAR));
}

}  // namespace
