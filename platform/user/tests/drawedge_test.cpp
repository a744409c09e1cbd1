#include <gtest/gtest.h>

#include "drawcanvas.h"

namespace {

TEST(DrawEdge, RingColoursTable) {
  // (edge, flags) -> colours of the outer top-left, outer bottom-right and
  // inner top-left pixels on the left/bottom/left sides.
  struct Case {
    UINT edge, flags;
    int outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
  } cases[] = {
      {EDGE_RAISED, 0, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DHIGHLIGHT, COLOR_3DSHADOW},
      {EDGE_SUNKEN, 0, COLOR_3DSHADOW, COLOR_3DHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
      {EDGE_ETCHED, 0, COLOR_3DSHADOW, COLOR_3DHIGHLIGHT, COLOR_3DHIGHLIGHT, COLOR_3DSHADOW},
      {EDGE_BUMP, 0, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
      {EDGE_RAISED, BF_SOFT, COLOR_3DHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_3DSHADOW},
      {EDGE_SUNKEN, BF_FLAT, COLOR_3DSHADOW, COLOR_3DSHADOW, COLOR_3DFACE, COLOR_3DFACE},
      {EDGE_SUNKEN, BF_MONO, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME, COLOR_WINDOW, COLOR_WINDOW},
  };
  for (const auto& k : cases) {
    DrawCanvas c(20, 20);
    RECT r{2, 2, 12, 12};
    EXPECT_TRUE(DrawEdge(c.dc(), &r, k.edge, BF_RECT | k.flags));
    EXPECT_EQ(c.at(2, 6), GetSysColor(k.outerTopLeft)) << k.edge << " " << k.flags;
    EXPECT_EQ(c.at(6, 11), GetSysColor(k.outerBottomRight));
    EXPECT_EQ(c.at(3, 6), GetSysColor(k.innerTopLeft));
    EXPECT_EQ(c.at(6, 10), GetSysColor(k.innerBottomRight));
    // Corners: top-right and bottom-left take the bottom-right colour.
    EXPECT_EQ(c.at(11, 2), GetSysColor(k.outerBottomRight));
    EXPECT_EQ(c.at(2, 11), GetSysColor(k.outerBottomRight));
    EXPECT_EQ(c.at(6, 6), RGB(255, 255, 255));  // no BF_MIDDLE
  }
}

TEST(DrawEdge, AdjustMiddleAndPartialSides) {
  DrawCanvas c(20, 20);
  RECT r{0, 0, 10, 10};
  EXPECT_TRUE(DrawEdge(c.dc(), &r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.top, 2);
  EXPECT_EQ(r.right, 8);
  EXPECT_EQ(r.bottom, 8);
  EXPECT_EQ(c.at(5, 5), GetSysColor(COLOR_3DFACE));
  RECT half{10, 10, 20, 20};
  DrawEdge(c.dc(), &half, BDR_SUNKENOUTER, BF_BOTTOM | BF_RIGHT | BF_ADJUST);
  EXPECT_EQ(half.left, 10);
  EXPECT_EQ(half.right, 19);
  EXPECT_EQ(half.bottom, 19);
  EXPECT_EQ(c.at(10, 10), RGB(255, 255, 255));
  EXPECT_EQ(c.at(19, 15), GetSysColor(COLOR_3DHIGHLIGHT));
  EXPECT_FALSE(DrawEdge(c.dc(), nullptr, EDGE_RAISED, BF_RECT));
}

TEST(DrawEdge, Diagonal) {
  DrawCanvas c(12, 12);
  RECT r{0, 0, 10, 10};
  EXPECT_TRUE(DrawEdge(c.dc(), &r, BDR_RAISEDOUTER, BF_DIAGONAL_ENDTOPRIGHT));
  EXPECT_NE(c.at(0, 9), RGB(255, 255, 255));
  EXPECT_NE(c.at(9, 0), RGB(255, 255, 255));
  EXPECT_EQ(c.at(0, 0), RGB(255, 255, 255));
}

}  // namespace
