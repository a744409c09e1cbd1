#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "canvas.h"

namespace {

HFONT font(const char* face, int height, int weight = FW_NORMAL, bool italic = false, bool underline = false) {
  return CreateFontA(height, 0, 0, 0, weight, italic, underline, 0, ANSI_CHARSET, 0, 0, 0, 0, face);
}

// Columns and rows that hold ink of `color`.
RECT inkBox(const Canvas& c, int w, int h, COLORREF background = RGB(255, 255, 255)) {
  RECT r{w, h, -1, -1};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (c.at(x, y) != background) {
        r.left = std::min<LONG>(r.left, x);
        r.top = std::min<LONG>(r.top, y);
        r.right = std::max<LONG>(r.right, x + 1);
        r.bottom = std::max<LONG>(r.bottom, y + 1);
      }
  return r;
}

TEST(Text, HeightsFollowTheLogfontRule) {
  Canvas c(4, 4);
  struct Case {
    int lfHeight;
    int cell;  // expected tmHeight, or 0 for "more than the character height"
  } cases[] = {{13, 13}, {16, 16}, {24, 24}, {-11, 0}, {-20, 0}};
  for (const auto& k : cases) {
    HFONT f = font("MS Sans Serif", k.lfHeight);
    HGDIOBJ old = SelectObject(c.dc(), f);
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetricsA(c.dc(), &tm));
    if (k.cell) {
      EXPECT_EQ(tm.tmHeight, k.cell);
    } else {
      // A negative height is the character height: the cell adds internal leading.
      EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -k.lfHeight);
    }
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    SelectObject(c.dc(), old);
    DeleteObject(f);
  }
}

TEST(Text, FacesMapToFamiliesWithConsistentPitch) {
  Canvas c(4, 4);
  struct Case {
    const char* face;
    bool fixed;
    BYTE family;
  } cases[] = {
      {"MS Sans Serif", false, FF_SWISS}, {"Arial", false, FF_SWISS},  {"Helvetica", false, FF_SWISS},
      {"Courier New", true, FF_MODERN},   {"Courier", true, FF_MODERN}, {"Times New Roman", false, FF_ROMAN},
      {"Wingdings", false, FF_SWISS},
  };
  for (const auto& k : cases) {
    HFONT f = font(k.face, -13);
    HGDIOBJ old = SelectObject(c.dc(), f);
    TEXTMETRICA tm;
    GetTextMetricsA(c.dc(), &tm);
    // TMPF_FIXED_PITCH is set for variable-pitch fonts.
    EXPECT_EQ((tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0, k.fixed) << k.face;
    EXPECT_EQ(tm.tmPitchAndFamily & 0xF0, k.family) << k.face;
    char face[LF_FACESIZE];
    EXPECT_GT(GetTextFaceA(c.dc(), sizeof face, face), 0);
    EXPECT_STREQ(face, k.face);
    SIZE i, w;
    GetTextExtentPoint32A(c.dc(), "iiii", 4, &i);
    GetTextExtentPoint32A(c.dc(), "WWWW", 4, &w);
    EXPECT_EQ(i.cx == w.cx, k.fixed) << k.face;
    SelectObject(c.dc(), old);
    DeleteObject(f);
  }
}

TEST(Text, ExtentsGrowWithTextAndMatchInk) {
  Canvas c(300, 40);
  HFONT f = font("Arial", -16);
  SelectObject(c.dc(), f);
  const char* text = "Hello, World";
  int previous = 0;
  for (int n = 1; n <= static_cast<int>(std::strlen(text)); ++n) {
    SIZE s;
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc(), text, n, &s));
    EXPECT_GT(s.cx, previous);
    previous = s.cx;
  }
  SIZE s;
  GetTextExtentPoint32A(c.dc(), text, 12, &s);
  SetBkMode(c.dc(), TRANSPARENT);
  TextOutA(c.dc(), 10, 5, text, 12);
  RECT ink = inkBox(c, 300, 40);
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 10 + s.cx + 1);
  EXPECT_GT(ink.right - ink.left, s.cx * 8 / 10);
  EXPECT_GE(ink.top, 5);
  EXPECT_LE(ink.bottom, 5 + s.cy);
  // Widths of single characters add up to the extent.
  int widths[256];
  ASSERT_TRUE(GetCharWidth32A(c.dc(), 0, 255, widths));
  int sum = 0;
  for (const char* p = text; *p; ++p) sum += widths[static_cast<unsigned char>(*p)];
  EXPECT_EQ(sum, s.cx);
  SetTextCharacterExtra(c.dc(), 2);
  SIZE spaced;
  GetTextExtentPoint32A(c.dc(), text, 12, &spaced);
  EXPECT_EQ(spaced.cx, s.cx + 24);
  SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
  DeleteObject(f);
}

TEST(Text, ExtentExFitsAndPartialExtents) {
  Canvas c(4, 4);
  SelectObject(c.dc(), GetStockObject(ANSI_FIXED_FONT));
  TEXTMETRICA tm;
  GetTextMetricsA(c.dc(), &tm);
  const int w = tm.tmAveCharWidth;
  int fit = 0, dx[5];
  SIZE s;
  ASSERT_TRUE(GetTextExtentExPointA(c.dc(), "abcde", 5, 3 * w, &fit, dx, &s));
  EXPECT_EQ(fit, 3);
  EXPECT_EQ(dx[0], w);
  EXPECT_EQ(dx[4], 5 * w);
  EXPECT_EQ(s.cx, 5 * w);
  EXPECT_FALSE(GetTextExtentPoint32A(c.dc(), nullptr, 3, &s));
  EXPECT_TRUE(GetTextExtentPoint32A(c.dc(), "", 0, &s));
  EXPECT_EQ(s.cx, 0);
}

TEST(Text, AlignmentAndOpaqueBackground) {
  Canvas c(200, 40);
  HFONT f = font("Arial", -14);
  SelectObject(c.dc(), f);
  SIZE s;
  GetTextExtentPoint32A(c.dc(), "Mm", 2, &s);
  // Opaque mode fills the whole text cell in the background colour.
  SetBkColor(c.dc(), RGB(0, 0, 255));
  SetTextColor(c.dc(), RGB(255, 0, 0));
  TextOutA(c.dc(), 20, 5, "Mm", 2);
  EXPECT_EQ(c.at(20, 5), RGB(0, 0, 255));
  EXPECT_EQ(c.at(20 + s.cx - 1, 5 + s.cy - 1), RGB(0, 0, 255));
  EXPECT_EQ(c.at(20 + s.cx, 5), RGB(255, 255, 255));
  // TA_RIGHT | TA_BOTTOM puts the cell left of and above the point.
  PatBlt(c.dc(), 0, 0, 200, 40, WHITENESS);
  SetTextAlign(c.dc(), TA_RIGHT | TA_BOTTOM);
  TextOutA(c.dc(), 100, 30, "Mm", 2);
  EXPECT_EQ(c.at(100 - s.cx, 30 - s.cy), RGB(0, 0, 255));
  EXPECT_EQ(c.at(100, 30), RGB(255, 255, 255));
  // TA_UPDATECP advances the current position.
  SetTextAlign(c.dc(), TA_UPDATECP);
  MoveToEx(c.dc(), 0, 0, nullptr);
  TextOutA(c.dc(), 999, 999, "Mm", 2);
  POINT p;
  GetCurrentPositionEx(c.dc(), &p);
  EXPECT_EQ(p.x, s.cx);
  SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
  DeleteObject(f);
}

TEST(Text, ExtTextOutOpaqueClippedAndSpacing) {
  Canvas c(100, 30);
  RECT r{10, 5, 40, 25};
  SetBkColor(c.dc(), RGB(0, 255, 0));
  SetBkMode(c.dc(), TRANSPARENT);
  EXPECT_TRUE(ExtTextOutA(c.dc(), 12, 6, ETO_OPAQUE | ETO_CLIPPED, &r, "WWWWWWWWWW", 10, nullptr));
  EXPECT_EQ(c.at(10, 5), RGB(0, 255, 0));
  EXPECT_EQ(c.at(39, 24), RGB(0, 255, 0));
  for (int y = 0; y < 30; ++y) EXPECT_EQ(c.at(45, y), RGB(255, 255, 255));  // clipped
  PatBlt(c.dc(), 0, 0, 100, 30, WHITENESS);
  INT dx[3] = {30, 30, 30};
  ExtTextOutA(c.dc(), 0, 0, 0, nullptr, "III", 3, dx);
  RECT ink = inkBox(c, 100, 30);
  EXPECT_GE(ink.right - ink.left, 60);  // three bars 30 pixels apart
  EXPECT_FALSE(ExtTextOutA(c.dc(), 0, 0, 0, nullptr, nullptr, 3, nullptr));
}

TEST(Text, UnderlineAndBoldChangeTheInk) {
  auto inkCount = [](HFONT f) {
    Canvas c(120, 30);
    SelectObject(c.dc(), f);
    SetBkMode(c.dc(), TRANSPARENT);
    TextOutA(c.dc(), 2, 2, "Sample", 6);
    int n = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 120; ++x) n += c.at(x, y) != RGB(255, 255, 255);
    SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
    return n;
  };
  HFONT plain = font("Arial", -14), bold = font("Arial", -14, FW_BOLD), under = font("Arial", -14, FW_NORMAL, false, true);
  int p = inkCount(plain), b = inkCount(bold), u = inkCount(under);
  EXPECT_GT(b, p);
  EXPECT_GT(u, p);
  DeleteObject(plain);
  DeleteObject(bold);
  DeleteObject(under);
}

TEST(Text, TwipsFontsScaleToPixels) {
  // Twentieths of a point, as a printing font holder makes them: 10 pt = -200.
  HDC dc = CreateCompatibleDC(nullptr);
  SetMapMode(dc, MM_TWIPS);
  HFONT f = font("Arial", -200);
  SelectObject(dc, f);
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  // 10 pt at 96 dpi is 13.3 pixels of character height: about 200 twips.
  EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, 200, 15);
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(f);
  DeleteDC(dc);
}

}  // namespace
