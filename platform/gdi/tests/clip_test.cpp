#include <gtest/gtest.h>

#include "canvas.h"

namespace {

TEST(Clip, SelectClipRgnLimitsDrawingAndCopiesTheRegion) {
  Canvas c(20, 20);
  HRGN r = CreateRectRgn(5, 5, 10, 10);
  EXPECT_EQ(SelectClipRgn(c.dc(), r), SIMPLEREGION);
  SetRectRgn(r, 0, 0, 20, 20);  // the DC keeps its own copy
  PatBlt(c.dc(), 0, 0, 20, 20, BLACKNESS);
  EXPECT_EQ(c.count(RGB(0, 0, 0)), 25);
  RECT box;
  EXPECT_EQ(GetClipBox(c.dc(), &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.right, 10);
  EXPECT_EQ(GetClipRgn(c.dc(), r), 1);
  GetRgnBox(r, &box);
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(SelectClipRgn(c.dc(), nullptr), SIMPLEREGION);
  EXPECT_EQ(GetClipRgn(c.dc(), r), 0);
  DeleteObject(r);
}

TEST(Clip, IntersectAndExclude) {
  Canvas c(20, 20);
  EXPECT_EQ(IntersectClipRect(c.dc(), 2, 2, 12, 12), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(c.dc(), 4, 4, 8, 8), COMPLEXREGION);
  PatBlt(c.dc(), 0, 0, 20, 20, BLACKNESS);
  EXPECT_EQ(c.count(RGB(0, 0, 0)), 100 - 16);
  EXPECT_TRUE(PtVisible(c.dc(), 2, 2));
  EXPECT_FALSE(PtVisible(c.dc(), 5, 5));
  RECT inner{4, 4, 8, 8}, edge{0, 0, 3, 3};
  EXPECT_FALSE(RectVisible(c.dc(), &inner));
  EXPECT_TRUE(RectVisible(c.dc(), &edge));
}

TEST(Clip, SaveAndRestoreKeepTheClip) {
  Canvas c(10, 10);
  int level = SaveDC(c.dc());
  IntersectClipRect(c.dc(), 0, 0, 2, 2);
  EXPECT_TRUE(RestoreDC(c.dc(), level));
  PatBlt(c.dc(), 0, 0, 10, 10, BLACKNESS);
  EXPECT_EQ(c.count(RGB(0, 0, 0)), 100);
}

TEST(Clip, RegionPainting) {
  Canvas c(20, 20);
  HRGN r = CreateRectRgn(2, 2, 8, 8);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  EXPECT_TRUE(FillRgn(c.dc(), r, red));
  EXPECT_EQ(c.count(RGB(255, 0, 0)), 36);
  EXPECT_TRUE(InvertRgn(c.dc(), r));
  EXPECT_EQ(c.count(RGB(0, 255, 255)), 36);
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  EXPECT_TRUE(FrameRgn(c.dc(), r, black, 1, 1));
  EXPECT_EQ(c.count(RGB(0, 0, 0)), 20);  // the ring of a 6x6 square
  EXPECT_FALSE(FillRgn(c.dc(), r, nullptr));
  DeleteObject(red);
  DeleteObject(r);
}

}  // namespace
