// Caret state and the standard scroll bars of a window.
#include "message_log.h"

#include <internal/snapshot.h>
#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

class CaretAndBars : public ::testing::Test {
 protected:
  void SetUp() override {
    w = CreateWindowExA(0, test::recorderClass(), "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                        nullptr);
    win32::input::pumpMessages();
    test::log().clear();
  }
  void TearDown() override {
    DestroyWindow(w);
    win32::input::pumpMessages();
    test::log().clear();
  }
  HWND w = nullptr;
};

TEST_F(CaretAndBars, CaretKeepsItsPositionAndGoesWithItsWindow) {
  POINT p{};
  EXPECT_FALSE(SetCaretPos(1, 1));  // no caret yet
  ASSERT_TRUE(CreateCaret(w, nullptr, 2, 14));
  EXPECT_TRUE(SetCaretPos(30, 4));
  EXPECT_TRUE(GetCaretPos(&p));
  EXPECT_EQ(p.x, 30);
  EXPECT_EQ(p.y, 4);
  EXPECT_TRUE(ShowCaret(w));
  EXPECT_TRUE(HideCaret(w));
  EXPECT_FALSE(ShowCaret((HWND)0x1234));
  EXPECT_TRUE(SetCaretBlinkTime(400));
  EXPECT_EQ(GetCaretBlinkTime(), 400u);
  DestroyWindow(w);  // the caret goes with its window
  w = nullptr;
  EXPECT_FALSE(SetCaretPos(1, 1));
  EXPECT_FALSE(DestroyCaret());
}

TEST_F(CaretAndBars, ScrollInfoIsClampedToRangeAndPage) {
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 500, 0};
  EXPECT_EQ(SetScrollInfo(w, SB_VERT, &si, TRUE), 91);  // max - page + 1
  EXPECT_TRUE(GetWindowLongA(w, GWL_STYLE) & WS_VSCROLL);
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(SetScrollPos(w, SB_VERT, 20, FALSE), 91);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 20);
  int min = -1, max = -1;
  EXPECT_TRUE(GetScrollRange(w, SB_VERT, &min, &max));
  EXPECT_EQ(min, 0);
  EXPECT_EQ(max, 100);
  // A range that scrolls nothing hides the bar again.
  SetScrollRange(w, SB_VERT, 0, 0, TRUE);
  EXPECT_FALSE(GetWindowLongA(w, GWL_STYLE) & WS_VSCROLL);
  EXPECT_TRUE(ShowScrollBar(w, SB_HORZ, TRUE));
  EXPECT_TRUE(GetWindowLongA(w, GWL_STYLE) & WS_HSCROLL);
  EXPECT_FALSE(GetScrollInfo(w, 7, &si));
}

TEST_F(CaretAndBars, ClicksOnTheBarArrowsAndTrackScroll) {
  SetScrollRange(w, SB_VERT, 0, 100, TRUE);
  win32::input::pumpMessages();
  test::log().clear();
  RECT client;
  GetClientRect(w, &client);
  int x = client.right + 5;  // in the bar, right of the client area
  win32::input::click(w, x, 5);
  win32::input::mouseMove(w, x - 40, 50);
  win32::input::click(w, x, client.bottom - 5);
  win32::input::pumpMessages();
  std::vector<WPARAM> codes;
  for (auto& l : test::log())
    if (l.msg == WM_VSCROLL) codes.push_back(LOWORD(l.wParam));
  test::log().clear();
  EXPECT_EQ(codes, (std::vector<WPARAM>{SB_LINEUP, SB_LINEDOWN}));
}

}  // namespace

namespace {

// The colours down the middle of a window's vertical bar (window coordinates).
std::vector<COLORREF> barColumn(HWND hwnd) {
  RECT window, client;
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  std::vector<COLORREF> column;
  int x = client.right + GetSystemMetrics(SM_CXVSCROLL) / 2;
  for (int y = 0; y < window.bottom - window.top; ++y) column.push_back(win32::snapshot::windowPixel(hwnd, x, y));
  return column;
}

TEST_F(CaretAndBars, SettingABarRedrawsTheBarAloneAndAtOnce) {
  SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) | WS_VSCROLL);
  SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  win32::input::pumpMessages();
  struct Case {
    const char* what;
    BOOL redraw;
    void (*change)(HWND, BOOL);
  } cases[] = {
      {"SetScrollInfo", TRUE, [](HWND h, BOOL r) {
         SCROLLINFO pos{sizeof pos, SIF_POS, 0, 0, 0, 80, 0};
         SetScrollInfo(h, SB_VERT, &pos, r);
       }},
      {"SetScrollPos", TRUE, [](HWND h, BOOL r) { SetScrollPos(h, SB_VERT, 30, r); }},
      {"SetScrollRange", TRUE, [](HWND h, BOOL r) { SetScrollRange(h, SB_VERT, 0, 40, r); }},
      {"EnableScrollBar", TRUE, [](HWND h, BOOL) { EnableScrollBar(h, SB_VERT, ESB_DISABLE_BOTH); }},
      {"SetScrollPos without redraw", FALSE, [](HWND h, BOOL r) { SetScrollPos(h, SB_VERT, 5, r); }},
  };
  for (const Case& c : cases) {
    std::vector<COLORREF> before = barColumn(w);
    test::log().clear();
    c.change(w, c.redraw);
    EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE)) << c.what;
    MSG m;
    EXPECT_FALSE(PeekMessageA(&m, w, WM_PAINT, WM_PAINT, PM_NOREMOVE)) << c.what;
    EXPECT_EQ(barColumn(w) != before, c.redraw != FALSE) << c.what;
    win32::input::pumpMessages();
  }
}

}  // namespace
