#include <gtest/gtest.h>

#include "canvas.h"

namespace {

// Logical (1000, 1000) in each mode, in device pixels at 96 dpi.
TEST(Mapping, FixedModesTable) {
  struct Case {
    int mode;
    POINT device;
  } cases[] = {
      {MM_TEXT, {1000, 1000}},
      {MM_LOMETRIC, {378, -378}},   // 100 mm
      {MM_HIMETRIC, {38, -38}},     // 10 mm
      {MM_LOENGLISH, {960, -960}},  // 10 in
      {MM_HIENGLISH, {96, -96}},    // 1 in
      {MM_TWIPS, {67, -67}},        // 1000/1440 in
  };
  HDC dc = CreateCompatibleDC(nullptr);
  for (const auto& c : cases) {
    EXPECT_NE(SetMapMode(dc, c.mode), 0);
    EXPECT_EQ(GetMapMode(dc), c.mode);
    POINT p{1000, 1000};
    EXPECT_TRUE(LPtoDP(dc, &p, 1));
    EXPECT_EQ(p.x, c.device.x) << c.mode;
    EXPECT_EQ(p.y, c.device.y) << c.mode;
  }
  // A twips DC turns the screen's 1280 pixels into 19200 twips.
  SetMapMode(dc, MM_TWIPS);
  POINT corner{1280, 1024};
  DPtoLP(dc, &corner, 1);
  EXPECT_EQ(corner.x, 19200);
  EXPECT_EQ(corner.y, -15360);
  EXPECT_EQ(SetMapMode(dc, 0), 0);
  DeleteDC(dc);
}

TEST(Mapping, OriginsAndExtents) {
  HDC dc = CreateCompatibleDC(nullptr);
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, 100, 100, nullptr);
  SetViewportExtEx(dc, 200, 50, nullptr);
  SetWindowOrgEx(dc, 10, 10, nullptr);
  SetViewportOrgEx(dc, 5, 5, nullptr);
  POINT p{20, 30};
  LPtoDP(dc, &p, 1);
  EXPECT_EQ(p.x, 25);  // (20-10)*2 + 5
  EXPECT_EQ(p.y, 15);  // (30-10)/2 + 5
  DPtoLP(dc, &p, 1);
  EXPECT_EQ(p.x, 20);
  EXPECT_EQ(p.y, 30);
  OffsetViewportOrgEx(dc, 10, 0, nullptr);
  POINT org;
  GetViewportOrgEx(dc, &org);
  EXPECT_EQ(org.x, 15);
  SIZE old;
  EXPECT_TRUE(ScaleViewportExtEx(dc, 1, 2, 2, 1, &old));
  EXPECT_EQ(old.cx, 200);
  SIZE now;
  GetViewportExtEx(dc, &now);
  EXPECT_EQ(now.cx, 100);
  EXPECT_EQ(now.cy, 100);
  EXPECT_FALSE(SetWindowExtEx(dc, 0, 5, nullptr));
  DeleteDC(dc);
}

TEST(Mapping, IsotropicKeepsUnitsSquare) {
  HDC dc = CreateCompatibleDC(nullptr);
  SetMapMode(dc, MM_ISOTROPIC);
  SetWindowExtEx(dc, 100, 100, nullptr);
  SetViewportExtEx(dc, 400, -200, nullptr);
  SIZE ext;
  GetViewportExtEx(dc, &ext);
  EXPECT_EQ(ext.cx, 200);
  EXPECT_EQ(ext.cy, -200);
  // Extents do not change in a fixed mode.
  SetMapMode(dc, MM_TEXT);
  SetWindowExtEx(dc, 7, 7, nullptr);
  GetWindowExtEx(dc, reinterpret_cast<LPSIZE>(&ext));
  EXPECT_EQ(ext.cx, 1);
  DeleteDC(dc);
}

TEST(Mapping, DrawingFollowsTheTransform) {
  Canvas c(40, 40);
  SetMapMode(c.dc(), MM_ANISOTROPIC);
  SetWindowExtEx(c.dc(), 1, 1, nullptr);
  SetViewportExtEx(c.dc(), 4, 4, nullptr);
  SetViewportOrgEx(c.dc(), 2, 2, nullptr);
  SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
  SelectObject(c.dc(), GetStockObject(NULL_PEN));
  Rectangle(c.dc(), 0, 0, 3, 3);  // device (2,2)-(14,14), less one pixel
  RECT box;
  GetClipBox(c.dc(), &box);
  EXPECT_EQ(box.right, 10);  // (40-2)/4 rounded
  EXPECT_EQ(c.at(0, 0), RGB(0, 0, 0));  // GetPixel takes logical coordinates
  SetMapMode(c.dc(), MM_TEXT);
  SetViewportOrgEx(c.dc(), 0, 0, nullptr);
  EXPECT_EQ(c.count(RGB(0, 0, 0)), 11 * 11);
  EXPECT_EQ(c.at(2, 2), RGB(0, 0, 0));
}

}  // namespace
