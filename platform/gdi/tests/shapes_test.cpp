#include <gtest/gtest.h>

#include "canvas.h"

namespace {

TEST(Shapes, LineLeavesOutItsLastPixel) {
  struct Case {
    POINT from, to;
    int drawn;
    POINT lastDrawn;
  } cases[] = {
      {{1, 1}, {6, 1}, 5, {5, 1}},   // horizontal
      {{2, 6}, {2, 1}, 5, {2, 2}},   // vertical, upwards
      {{0, 0}, {4, 4}, 4, {3, 3}},   // diagonal
      {{3, 3}, {3, 3}, 0, {-1, -1}}, // a zero-length line draws nothing
  };
  for (const auto& c : cases) {
    Canvas canvas(10, 10);
    MoveToEx(canvas.dc(), c.from.x, c.from.y, nullptr);
    EXPECT_TRUE(LineTo(canvas.dc(), c.to.x, c.to.y));
    EXPECT_EQ(canvas.count(RGB(0, 0, 0)), c.drawn);
    EXPECT_EQ(canvas.at(c.to.x, c.to.y), RGB(255, 255, 255));
    if (c.drawn) EXPECT_EQ(canvas.at(c.lastDrawn.x, c.lastDrawn.y), RGB(0, 0, 0));
    POINT p;
    GetCurrentPositionEx(canvas.dc(), &p);
    EXPECT_EQ(p.x, c.to.x);
    EXPECT_EQ(p.y, c.to.y);
  }
}

TEST(Shapes, RectangleOutlineAndFillExcludeRightAndBottom) {
  Canvas c(12, 12);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(c.dc(), red);
  EXPECT_TRUE(Rectangle(c.dc(), 1, 1, 6, 5));
  EXPECT_EQ(c.row(0, 0, 8), "........");
  EXPECT_EQ(c.row(1, 0, 8), ".#####..");
  EXPECT_EQ(c.row(2, 0, 8), ".#???#..");
  EXPECT_EQ(c.row(4, 0, 8), ".#####..");
  EXPECT_EQ(c.row(5, 0, 8), "........");
  EXPECT_EQ(c.at(2, 2), RGB(255, 0, 0));
  // With the null pen the brush covers one pixel less to the right and below.
  SelectObject(c.dc(), GetStockObject(NULL_PEN));
  PatBlt(c.dc(), 0, 0, 12, 12, WHITENESS);
  Rectangle(c.dc(), 1, 1, 6, 5);
  EXPECT_EQ(c.count(RGB(255, 0, 0)), 4 * 3);
  EXPECT_EQ(c.at(5, 2), RGB(255, 255, 255));
  SelectObject(c.dc(), old);
  DeleteObject(red);
}

TEST(Shapes, WidePenAndInsideFrame) {
  Canvas c(20, 20);
  HPEN wide = CreatePen(PS_INSIDEFRAME, 3, RGB(0, 0, 0));
  HGDIOBJ old = SelectObject(c.dc(), wide);
  SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
  Rectangle(c.dc(), 2, 2, 12, 12);
  EXPECT_EQ(c.row(2, 0, 14), "..##########..");
  EXPECT_EQ(c.row(5, 0, 14), "..###....###..");
  EXPECT_EQ(c.count(RGB(0, 0, 0)), 100 - 16);
  SelectObject(c.dc(), old);
  DeleteObject(wide);
}

TEST(Shapes, EllipseStaysInsideItsBoxAndTouchesTheEdges) {
  Canvas c(20, 20);
  Ellipse(c.dc(), 2, 4, 18, 14);
  EXPECT_EQ(c.at(10, 4), RGB(0, 0, 0));   // top edge
  EXPECT_EQ(c.at(10, 13), RGB(0, 0, 0));  // bottom row inside the box
  EXPECT_EQ(c.at(2, 9), RGB(0, 0, 0));
  EXPECT_EQ(c.at(17, 9), RGB(0, 0, 0));
  for (int x = 0; x < 20; ++x) {
    EXPECT_EQ(c.at(x, 3), RGB(255, 255, 255));
    EXPECT_EQ(c.at(x, 14), RGB(255, 255, 255));
  }
  EXPECT_EQ(c.at(2, 4), RGB(255, 255, 255));  // corners stay clear
  EXPECT_EQ(c.at(10, 9), RGB(255, 255, 255)); // white brush inside
}

TEST(Shapes, PolygonFillModes) {
  // A pentagram: the centre is outside with ALTERNATE, inside with WINDING.
  POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
  for (int mode : {ALTERNATE, WINDING}) {
    Canvas c(21, 21);
    SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
    SelectObject(c.dc(), GetStockObject(NULL_PEN));
    SetPolyFillMode(c.dc(), mode);
    EXPECT_TRUE(Polygon(c.dc(), star, 5));
    EXPECT_EQ(c.at(10, 10) == RGB(0, 0, 0), mode == WINDING);
    EXPECT_EQ(c.at(10, 3), RGB(0, 0, 0));
  }
}

TEST(Shapes, Rop2Modes) {
  struct Case {
    int rop2;
    COLORREF pen, before, after;
  } cases[] = {
      {R2_COPYPEN, RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 0, 0)},
      {R2_XORPEN, RGB(255, 0, 0), RGB(255, 0, 255), RGB(0, 0, 255)},
      {R2_NOT, RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 255)},
      {R2_NOTXORPEN, RGB(255, 255, 255), RGB(18, 52, 86), RGB(18, 52, 86)},
      {R2_MASKPEN, RGB(255, 0, 255), RGB(255, 255, 0), RGB(255, 0, 0)},
      {R2_MERGEPEN, RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 0, 255)},
      {R2_BLACK, RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 0, 0)},
      {R2_WHITE, RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 255, 255)},
      {R2_NOP, RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 0, 255)},
  };
  for (const auto& c : cases) {
    Canvas canvas(4, 4);
    SetPixel(canvas.dc(), 1, 1, c.before);
    HPEN pen = CreatePen(PS_SOLID, 1, c.pen);
    HGDIOBJ old = SelectObject(canvas.dc(), pen);
    EXPECT_EQ(SetROP2(canvas.dc(), c.rop2), R2_COPYPEN);
    MoveToEx(canvas.dc(), 1, 1, nullptr);
    LineTo(canvas.dc(), 2, 1);
    EXPECT_EQ(canvas.at(1, 1), c.after) << c.rop2;
    SelectObject(canvas.dc(), old);
    DeleteObject(pen);
  }
}

TEST(Shapes, DashedPenLeavesGapsInBackgroundColour) {
  Canvas c(40, 3);
  HPEN dash = CreatePen(PS_DASH, 1, RGB(0, 0, 0));
  SelectObject(c.dc(), dash);
  SetBkColor(c.dc(), RGB(255, 0, 0));
  MoveToEx(c.dc(), 0, 1, nullptr);
  LineTo(c.dc(), 40, 1);
  EXPECT_EQ(c.at(0, 1), RGB(0, 0, 0));
  EXPECT_EQ(c.at(17, 1), RGB(0, 0, 0));
  EXPECT_EQ(c.at(18, 1), RGB(255, 0, 0));
  SetBkMode(c.dc(), TRANSPARENT);
  PatBlt(c.dc(), 0, 0, 40, 3, WHITENESS);
  MoveToEx(c.dc(), 0, 1, nullptr);
  LineTo(c.dc(), 40, 1);
  EXPECT_EQ(c.at(18, 1), RGB(255, 255, 255));
  SelectObject(c.dc(), GetStockObject(BLACK_PEN));
  DeleteObject(dash);
}

TEST(Shapes, BadHandlesFail) {
  SetLastError(0);
  EXPECT_FALSE(LineTo(nullptr, 1, 1));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(Rectangle(reinterpret_cast<HDC>(0x40000000), 0, 0, 1, 1));
  Canvas c(4, 4);
  EXPECT_FALSE(Polyline(c.dc(), nullptr, 3));
  EXPECT_FALSE(Polygon(c.dc(), nullptr, 3));
}

TEST(Shapes, PieAndChordStayInTheirBox) {
  Canvas c(30, 30);
  SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
  EXPECT_TRUE(Pie(c.dc(), 0, 0, 20, 20, 20, 10, 10, 0));  // upper-right quarter
  EXPECT_EQ(c.at(14, 5), RGB(0, 0, 0));
  EXPECT_EQ(c.at(5, 14), RGB(255, 255, 255));
  for (int i = 0; i < 30; ++i) EXPECT_EQ(c.at(i, 25), RGB(255, 255, 255));
  EXPECT_TRUE(Chord(c.dc(), 0, 0, 20, 20, 0, 10, 20, 10));
  EXPECT_TRUE(Arc(c.dc(), 0, 0, 20, 20, 0, 10, 20, 10));
}

}  // namespace
