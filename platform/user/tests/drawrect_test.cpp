#include <gtest/gtest.h>

#include "drawcanvas.h"

namespace {

TEST(DrawRect, FillFrameInvert) {
  DrawCanvas c(20, 20);
  RECT r{2, 3, 10, 8};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  EXPECT_TRUE(FillRect(c.dc(), &r, red));
  EXPECT_EQ(c.count(RGB(255, 0, 0)), 8 * 5);
  EXPECT_EQ(c.at(10, 3), RGB(255, 255, 255));  // right and bottom edges excluded
  EXPECT_TRUE(FrameRect(c.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
  EXPECT_EQ(c.count(RGB(0, 0, 0)), 2 * 8 + 2 * 3);
  EXPECT_EQ(c.at(3, 4), RGB(255, 0, 0));
  EXPECT_TRUE(InvertRect(c.dc(), &r));
  EXPECT_EQ(c.at(3, 4), RGB(0, 255, 255));
  EXPECT_EQ(c.at(2, 3), RGB(255, 255, 255));
  // A system colour index + 1 stands for its brush.
  RECT all{0, 0, 20, 20};
  FillRect(c.dc(), &all, reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1));
  EXPECT_EQ(c.at(0, 0), GetSysColor(COLOR_3DFACE));
  EXPECT_FALSE(FillRect(c.dc(), nullptr, red));
  DeleteObject(red);
}

TEST(DrawRect, FocusRectIsDottedAndUndoesItself) {
  DrawCanvas c(20, 20);
  RECT r{2, 2, 12, 9};
  EXPECT_TRUE(DrawFocusRect(c.dc(), &r));
  // Every other pixel of the border is inverted.
  EXPECT_NE(c.at(2, 2), c.at(3, 2));
  EXPECT_EQ(c.at(2, 2), c.at(4, 2));
  EXPECT_EQ(c.at(6, 5), RGB(255, 255, 255));
  int dots = c.count(RGB(0, 0, 0));
  EXPECT_GT(dots, 10);
  EXPECT_LT(dots, 2 * (10 + 7));
  EXPECT_TRUE(DrawFocusRect(c.dc(), &r));
  EXPECT_EQ(c.count(RGB(0, 0, 0)), 0);
}

}  // namespace
