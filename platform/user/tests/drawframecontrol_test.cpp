#include <gtest/gtest.h>

#include "drawcanvas.h"

namespace {

TEST(FrameControl, PushButtonRaisedAndPushed) {
  DrawCanvas c(30, 20);
  RECT r{0, 0, 30, 20};
  EXPECT_TRUE(DrawFrameControl(c.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH));
  EXPECT_EQ(c.at(15, 10), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(c.at(29, 10), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(c.at(0, 10), GetSysColor(COLOR_3DHIGHLIGHT));  // soft: highlight outside
  RECT adjusted = r;
  DrawFrameControl(c.dc(), &adjusted, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED | DFCS_ADJUSTRECT);
  EXPECT_EQ(adjusted.left, 2);
  EXPECT_EQ(adjusted.right, 28);
  EXPECT_EQ(c.at(0, 10), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(c.at(1, 10), GetSysColor(COLOR_3DSHADOW));
}

TEST(FrameControl, CheckBoxStatesTable) {
  struct Case {
    UINT state;
    int face;
    bool mark;
    int markColor;
  } cases[] = {
      {DFCS_BUTTONCHECK, COLOR_WINDOW, false, 0},
      {DFCS_BUTTONCHECK | DFCS_CHECKED, COLOR_WINDOW, true, COLOR_WINDOWTEXT},
      {DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE, COLOR_3DFACE, true, COLOR_3DSHADOW},
      {DFCS_BUTTON3STATE | DFCS_CHECKED, COLOR_WINDOW, true, COLOR_3DSHADOW},
      {DFCS_BUTTONCHECK | DFCS_PUSHED, COLOR_3DFACE, false, 0},
  };
  for (const auto& k : cases) {
    DrawCanvas c(13, 13);
    RECT r{0, 0, 13, 13};
    EXPECT_TRUE(DrawFrameControl(c.dc(), &r, DFC_BUTTON, k.state));
    EXPECT_EQ(c.at(0, 5), GetSysColor(COLOR_3DSHADOW)) << k.state;
    EXPECT_EQ(c.at(2, 2), GetSysColor(k.face)) << k.state;
    int marked = k.mark ? c.count(GetSysColor(k.markColor)) : 0;
    if (k.mark) EXPECT_GE(marked, 21) << k.state;  // 7 columns of 3
    EXPECT_EQ(c.at(6, 6) != GetSysColor(k.face), k.mark) << k.state;
  }
}

TEST(FrameControl, RadioButtonIsRoundAndChecked) {
  DrawCanvas c(13, 13);
  RECT r{0, 0, 13, 13};
  EXPECT_TRUE(DrawFrameControl(c.dc(), &r, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED));
  EXPECT_EQ(c.at(0, 0), RGB(255, 255, 255));  // corners stay untouched
  EXPECT_EQ(c.at(12, 12), RGB(255, 255, 255));
  EXPECT_EQ(c.at(6, 6), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(c.at(6, 0), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(c.at(6, 12), GetSysColor(COLOR_3DHIGHLIGHT));
}

TEST(FrameControl, ScrollArrowsPointTheirWay) {
  struct Case {
    UINT kind;
    POINT heavy, light;  // more ink near `heavy` than near `light`
  } cases[] = {
      {DFCS_SCROLLUP, {8, 10}, {8, 6}},
      {DFCS_SCROLLDOWN, {8, 6}, {8, 10}},
      {DFCS_SCROLLLEFT, {10, 8}, {6, 8}},
      {DFCS_SCROLLRIGHT, {6, 8}, {10, 8}},
  };
  for (const auto& k : cases) {
    DrawCanvas c(17, 17);
    RECT r{0, 0, 17, 17};
    EXPECT_TRUE(DrawFrameControl(c.dc(), &r, DFC_SCROLL, k.kind));
    auto ink = [&](POINT p, bool vertical) {
      int n = 0;
      for (int d = -4; d <= 4; ++d) {
        COLORREF col = vertical ? c.at(p.x + d, p.y) : c.at(p.x, p.y + d);
        n += col == GetSysColor(COLOR_BTNTEXT);
      }
      return n;
    };
    bool vertical = k.kind == DFCS_SCROLLUP || k.kind == DFCS_SCROLLDOWN;
    EXPECT_GT(ink(k.heavy, vertical), ink(k.light, vertical)) << k.kind;
  }
  DrawCanvas c(17, 17);
  RECT r{0, 0, 17, 17};
  EXPECT_FALSE(DrawFrameControl(c.dc(), &r, DFC_SCROLL, 0x6));
  EXPECT_FALSE(DrawFrameControl(c.dc(), &r, 99, 0));
  EXPECT_FALSE(DrawFrameControl(c.dc(), nullptr, DFC_BUTTON, 0));
}

TEST(FrameControl, CaptionAndMenuGlyphs) {
  for (UINT kind : {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE, DFCS_CAPTIONHELP}) {
    DrawCanvas c(18, 16);
    RECT r{0, 0, 18, 16};
    EXPECT_TRUE(DrawFrameControl(c.dc(), &r, DFC_CAPTION, kind));
    int dark = 0;  // glyph pixels: darker than any face or edge colour but the dark shadow
    for (int y = 2; y < 14; ++y)
      for (int x = 2; x < 16; ++x) {
        COLORREF p = c.at(x, y);
        dark += GetRValue(p) + GetGValue(p) + GetBValue(p) < 200;
      }
    EXPECT_GT(dark, 4) << kind;
  }
  for (UINT kind : {DFCS_MENUCHECK, DFCS_MENUBULLET, DFCS_MENUARROW}) {
    DrawCanvas c(16, 16);
    PatBlt(c.dc(), 0, 0, 16, 16, BLACKNESS);
    RECT r{0, 0, 16, 16};
    EXPECT_TRUE(DrawFrameControl(c.dc(), &r, DFC_MENU, kind));
    int black = c.count(RGB(0, 0, 0));
    EXPECT_GT(black, 3) << kind;
    EXPECT_EQ(black + c.count(RGB(255, 255, 255)), 256) << kind;  // black on white only
  }
}

}  // namespace
