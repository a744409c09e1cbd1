#include <gtest/gtest.h>

#include "drawcanvas.h"

namespace {

TEST(DrawStateTest, DisabledTextIsEmbossed) {
  DrawCanvas c(80, 30);
  RECT all{0, 0, 80, 30};
  FillRect(c.dc(), &all, reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1));
  EXPECT_TRUE(DrawStateA(c.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>("Text"), 0, 2, 2, 0, 0,
                         DST_TEXT | DSS_DISABLED));
  EXPECT_GT(c.count(GetSysColor(COLOR_3DSHADOW)), 5);
  EXPECT_GT(c.count(GetSysColor(COLOR_3DHIGHLIGHT)), 2);
  EXPECT_EQ(c.count(RGB(0, 0, 0)), 0);
}

TEST(DrawStateTest, NormalBitmapAndMonoMask) {
  HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);  // black
  DrawCanvas c(10, 10);
  EXPECT_TRUE(DrawStateA(c.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, 3, 3, 0, 0, DST_BITMAP));
  EXPECT_EQ(c.count(RGB(0, 0, 0)), 16);
  EXPECT_EQ(c.at(3, 3), RGB(0, 0, 0));
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  EXPECT_TRUE(DrawStateA(c.dc(), red, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, 3, 3, 0, 0, DST_BITMAP | DSS_MONO));
  EXPECT_EQ(c.count(RGB(255, 0, 0)), 16);
  PatBlt(c.dc(), 0, 0, 10, 10, WHITENESS);
  EXPECT_TRUE(DrawStateA(c.dc(), red, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, 0, 0, 0, 0, DST_BITMAP | DSS_UNION));
  EXPECT_EQ(c.count(RGB(255, 0, 0)), 8);  // dithered: every other pixel
  DeleteObject(red);
  DeleteObject(bitmap);
}

BOOL CALLBACK paintBox(HDC dc, LPARAM, WPARAM, int cx, int cy) {
  return PatBlt(dc, 0, 0, cx, cy, BLACKNESS);
}

TEST(DrawStateTest, ComplexCallbackAndErrors) {
  DrawCanvas c(10, 10);
  EXPECT_TRUE(DrawStateA(c.dc(), nullptr, paintBox, 0, 0, 1, 1, 3, 3, DST_COMPLEX));
  EXPECT_EQ(c.count(RGB(0, 0, 0)), 9);
  EXPECT_FALSE(DrawStateA(c.dc(), nullptr, nullptr, 0, 0, 0, 0, 0, 0, DST_TEXT));
}

BOOL CALLBACK grayOut(HDC dc, LPARAM, int) { return PatBlt(dc, 0, 0, 4, 4, BLACKNESS); }

TEST(DrawStateTest, GrayString) {
  DrawCanvas c(60, 30);
  EXPECT_TRUE(GrayStringA(c.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>("Grey"), 0, 0, 0, 0, 0));
  EXPECT_GT(c.count(GetSysColor(COLOR_GRAYTEXT)), 5);
  PatBlt(c.dc(), 0, 0, 60, 30, WHITENESS);
  EXPECT_TRUE(GrayStringA(c.dc(), nullptr, grayOut, 0, 0, 5, 5, 4, 4));
  EXPECT_EQ(c.count(GetSysColor(COLOR_GRAYTEXT)), 16);
  EXPECT_FALSE(GrayStringA(c.dc(), nullptr, nullptr, 0, 0, 0, 0, 0, 0));
}

}  // namespace
