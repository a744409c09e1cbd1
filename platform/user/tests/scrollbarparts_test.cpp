// Scroll bar geometry shared by window scroll bars and the ScrollBar
// control: thumb size and place, hit testing, and the position a dragged
// thumb stands for.
#include "scrollbarparts.h"

#include <gtest/gtest.h>

namespace bars = win32::user::scrollbars;
using win32::user::ScrollBarState;

namespace {

ScrollBarState state(int min, int max, int page, int pos) {
  ScrollBarState s;
  s.min = min;
  s.max = max;
  s.page = page;
  s.pos = pos;
  return s;
}

// A vertical bar 16 wide and 216 high: arrows of 16, a track of 184.
const RECT kBar{0, 0, 16, 216};

TEST(ScrollBarParts, ThumbTakesThePagesShareOfTheTrackAtThePositionsPlace) {
  struct Case {
    ScrollBarState s;
    int top, length;
  } cases[] = {
      {state(0, 100, 0, 0), 16, 16},      // no page: a square thumb
      {state(0, 100, 0, 100), 184, 16},   // at the end of the track
      {state(0, 99, 50, 0), 16, 92},      // half the range shows: half the track
      {state(0, 99, 50, 50), 108, 92},    // the last position (max - page + 1)
      {state(0, 9999, 1, 0), 16, 8},      // never thinner than 8 pixels
      {state(-50, 49, 10, 0), 16 + 92, 18},  // 50 of 90 positions along the 166 free pixels
  };
  for (const Case& c : cases) {
    bars::Layout l = bars::layoutOf(kBar, true, c.s, true);
    EXPECT_EQ(l.thumb.top, c.top) << c.s.max << "/" << c.s.page << "/" << c.s.pos;
    EXPECT_EQ(l.thumb.bottom - l.thumb.top, c.length) << c.s.max << "/" << c.s.page << "/" << c.s.pos;
  }
}

TEST(ScrollBarParts, NoThumbWhenDisabledUselessOrTooShort) {
  auto hasThumb = [](const RECT& bar, const ScrollBarState& s, bool enabled) {
    bars::Layout l = bars::layoutOf(bar, true, s, enabled);
    return !IsRectEmpty(&l.thumb);
  };
  EXPECT_FALSE(hasThumb(kBar, state(0, 100, 0, 0), false));
  EXPECT_FALSE(hasThumb(kBar, state(0, 0, 0, 0), true));
  EXPECT_FALSE(hasThumb(kBar, state(0, 9, 20, 0), true));
  EXPECT_TRUE(hasThumb(kBar, state(0, 9, 5, 0), true));
  RECT stub{0, 0, 16, 40};
  bars::Layout l = bars::layoutOf(stub, true, state(0, 100, 0, 0), true);
  EXPECT_TRUE(IsRectEmpty(&l.thumb));
  RECT tiny{0, 0, 16, 20};  // shorter than two arrows: they share the length
  l = bars::layoutOf(tiny, true, state(0, 100, 0, 0), true);
  EXPECT_EQ(l.first.bottom, 10);
  EXPECT_EQ(l.last.top, 10);
}

TEST(ScrollBarParts, HitTestNamesThePartUnderThePoint) {
  bars::Layout l = bars::layoutOf(kBar, true, state(0, 99, 50, 25), true);  // thumb 62..154
  struct Case {
    int y, part;
  } cases[] = {
      {0, SB_LINEUP},   {15, SB_LINEUP},   {16, SB_PAGEUP},    {61, SB_PAGEUP}, {62, bars::kThumb},
      {153, bars::kThumb}, {154, SB_PAGEDOWN}, {199, SB_PAGEDOWN}, {200, SB_LINEDOWN}, {215, SB_LINEDOWN},
      {216, bars::kNowhere},
  };
  for (const Case& c : cases) EXPECT_EQ(bars::hitTest(l, POINT{8, c.y}), c.part) << c.y;
  bars::Layout horizontal = bars::layoutOf(RECT{0, 0, 216, 16}, false, state(0, 99, 50, 25), true);
  EXPECT_EQ(bars::hitTest(horizontal, POINT{100, 8}), bars::kThumb);
  EXPECT_EQ(bars::hitTest(horizontal, POINT{205, 8}), SB_LINEDOWN);
}

TEST(ScrollBarParts, DraggedThumbPositionIsTheInverseOfItsPlace) {
  ScrollBarState s = state(0, 99, 10, 0);
  bars::Layout l = bars::layoutOf(kBar, true, s, true);
  for (int pos = 0; pos <= 90; ++pos) {
    s.pos = pos;
    bars::Layout at = bars::layoutOf(kBar, true, s, true);
    EXPECT_EQ(bars::positionAt(l, s, at.thumb.top), pos);
  }
  EXPECT_EQ(bars::positionAt(l, s, -500), 0);
  EXPECT_EQ(bars::positionAt(l, s, 5000), 90);
}

TEST(ScrollBarParts, ScrollInfoClampsThePositionToTheUsableRange) {
  ScrollBarState s;
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 99, 200, 150, 0};
  EXPECT_EQ(bars::applyScrollInfo(s, si), 0);  // the page is cut to the range: nothing scrolls
  EXPECT_EQ(s.page, 100);
  EXPECT_TRUE(bars::scrollsNothing(s));
  si = SCROLLINFO{sizeof si, SIF_PAGE | SIF_POS, 0, 0, 20, 95, 0};
  EXPECT_EQ(bars::applyScrollInfo(s, si), 80);
  SCROLLINFO out{sizeof out, SIF_ALL, 0, 0, 0, 0, 0};
  bars::readScrollInfo(s, out);
  EXPECT_EQ(out.nMax, 99);
  EXPECT_EQ(out.nPage, 20u);
  EXPECT_EQ(out.nPos, 80);
}

}  // namespace
