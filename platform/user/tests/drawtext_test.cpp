#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "drawcanvas.h"

namespace {

struct Font {
  HFONT h;
  explicit Font(const char* face, int height = -13)
      : h(CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, face)) {}
  ~Font() { DeleteObject(h); }
};

TEST(TextLayout, CalcRectSingleLineMatchesTheExtent) {
  DrawCanvas c(10, 10);
  Font f("MS Sans Serif");
  SelectObject(c.dc(), f.h);
  TEXTMETRICA tm;
  GetTextMetricsA(c.dc(), &tm);
  SIZE s;
  GetTextExtentPoint32A(c.dc(), "Hello", 5, &s);
  RECT r{5, 5, 5, 5};
  EXPECT_EQ(DrawTextA(c.dc(), "Hello", -1, &r, DT_CALCRECT | DT_SINGLELINE), tm.tmHeight);
  EXPECT_EQ(r.right - r.left, s.cx);
  EXPECT_EQ(r.bottom - r.top, tm.tmHeight);
  // The prefix character takes no room.
  RECT p{0, 0, 0, 0};
  DrawTextA(c.dc(), "&Hello", -1, &p, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(p.right, s.cx);
  RECT q{0, 0, 0, 0};
  DrawTextA(c.dc(), "&Hello", -1, &q, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_GT(q.right, s.cx);
  SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
}

TEST(TextLayout, WordBreakHeightsTable) {
  DrawCanvas c(10, 10);
  Font f("Courier New");  // fixed pitch: widths are easy to reason about
  SelectObject(c.dc(), f.h);
  TEXTMETRICA tm;
  GetTextMetricsA(c.dc(), &tm);
  const int w = tm.tmAveCharWidth, h = tm.tmHeight;
  struct Case {
    const char* text;
    int widthChars;
    UINT format;
    int lines;
    int widestChars;
  } cases[] = {
      {"one two three", 100, DT_WORDBREAK, 1, 13},
      {"one two three", 7, DT_WORDBREAK, 2, 7},  // "one two" / "three"
      {"one two three", 5, DT_WORDBREAK, 3, 5},
      {"one\ntwo\r\nthree", 100, 0, 3, 5},
      {"one\ntwo", 100, DT_SINGLELINE, 1, 7},  // the break shows as a character
      {"averyveryverylongword x", 5, DT_WORDBREAK, 2, 21},  // long words stay whole
      {"a\n", 100, 0, 1, 1},
      {"", 100, DT_WORDBREAK, 0, 0},
      {"tab\there", 100, DT_EXPANDTABS, 1, 12},
  };
  for (const auto& k : cases) {
    RECT r{0, 0, k.widthChars * w, 0};
    int height = DrawTextA(c.dc(), k.text, -1, &r, DT_CALCRECT | k.format);
    EXPECT_EQ(height, k.lines * h) << k.text;
    EXPECT_EQ(r.bottom, k.lines * h) << k.text;
    EXPECT_EQ(r.right, k.widestChars * w) << k.text;
  }
  SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
}

TEST(TextLayout, AlignmentPlacesTheInk) {
  Font f("Arial", -16);
  struct Case {
    UINT format;
    bool left, right, top, bottom;  // which side the ink hugs
  } cases[] = {
      {DT_SINGLELINE | DT_LEFT | DT_TOP, true, false, true, false},
      {DT_SINGLELINE | DT_RIGHT | DT_BOTTOM, false, true, false, true},
      {DT_SINGLELINE | DT_CENTER | DT_VCENTER, false, false, false, false},
  };
  for (const auto& k : cases) {
    DrawCanvas c(200, 100);
    SelectObject(c.dc(), f.h);
    SetBkMode(c.dc(), TRANSPARENT);
    RECT r{0, 0, 200, 100};
    DrawTextA(c.dc(), "Middle", -1, &r, k.format);
    RECT ink = c.ink();
    EXPECT_EQ(ink.left < 10, k.left) << k.format;
    EXPECT_EQ(ink.right > 190, k.right) << k.format;
    EXPECT_EQ(ink.top < 10, k.top) << k.format;
    EXPECT_EQ(ink.bottom > 90, k.bottom) << k.format;
    if (!k.left && !k.right) EXPECT_NEAR((ink.left + ink.right) / 2, 100, 4);
    SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
  }
}

TEST(TextLayout, ClipsToTheRectangleUnlessNoClip) {
  Font f("Arial", -16);
  for (UINT extra : {0u, static_cast<UINT>(DT_NOCLIP)}) {
    DrawCanvas c(200, 40);
    SelectObject(c.dc(), f.h);
    RECT r{0, 0, 30, 40};
    DrawTextA(c.dc(), "WWWWWWWWWW", -1, &r, DT_SINGLELINE | extra);
    EXPECT_EQ(c.ink().right > 30, extra == DT_NOCLIP);
    SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
  }
}

TEST(TextLayout, MnemonicUnderline) {
  Font f("Courier New", -16);
  DrawCanvas a(100, 30), b(100, 30);
  for (auto* c : {&a, &b}) {
    SelectObject(c->dc(), f.h);
    SetBkMode(c->dc(), TRANSPARENT);
  }
  RECT r{0, 0, 100, 30};
  DrawTextA(a.dc(), "&File", -1, &r, DT_SINGLELINE);
  DrawTextA(b.dc(), "File", -1, &r, DT_SINGLELINE);
  int ai = 0, bi = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 100; ++x) {
      ai += a.at(x, y) != RGB(255, 255, 255);
      bi += b.at(x, y) != RGB(255, 255, 255);
    }
  EXPECT_GT(ai, bi);  // the underline under F
  DrawCanvas hidden(100, 30);
  SelectObject(hidden.dc(), f.h);
  SetBkMode(hidden.dc(), TRANSPARENT);
  DrawTextA(hidden.dc(), "&File", -1, &r, DT_SINGLELINE | DT_HIDEPREFIX);
  int hi = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 100; ++x) hi += hidden.at(x, y) != RGB(255, 255, 255);
  EXPECT_EQ(hi, bi);
  for (auto* c : {&a, &b, &hidden}) SelectObject(c->dc(), GetStockObject(SYSTEM_FONT));
}

TEST(TextLayout, EllipsisFitsAndModifiesOnRequest) {
  DrawCanvas c(10, 10);
  Font f("Courier New");
  SelectObject(c.dc(), f.h);
  TEXTMETRICA tm;
  GetTextMetricsA(c.dc(), &tm);
  const int w = tm.tmAveCharWidth;
  char text[] = "abcdefghijklmnop";
  RECT r{0, 0, 8 * w, 20};
  DrawTextA(c.dc(), text, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_STREQ(text, "abcde...");
  char path[] = "C:\\dir\\sub\\file.txt";
  RECT pr{0, 0, 15 * w, 20};
  DrawTextA(c.dc(), path, -1, &pr, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_STREQ(path, "C:\\...\\file.txt");
  RECT calc{0, 0, 8 * w, 0};
  DrawTextA(c.dc(), "abcdefghijklmnop", -1, &calc, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_EQ(calc.right, 8 * w);
  SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
}

TEST(TextLayout, ExParamsMarginsTabsAndErrors) {
  DrawCanvas c(10, 10);
  Font f("Courier New");
  SelectObject(c.dc(), f.h);
  TEXTMETRICA tm;
  GetTextMetricsA(c.dc(), &tm);
  const int w = tm.tmAveCharWidth;
  DRAWTEXTPARAMS p{sizeof p, 4, 3, 5, 0};
  char text[] = "a\tb";
  RECT r{0, 0, 0, 0};
  DrawTextExA(c.dc(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS, &p);
  EXPECT_EQ(r.right, 3 + 5 * w + 5);  // tab to 4 characters, then 'b'
  EXPECT_EQ(p.uiLengthDrawn, 3u);
  // DT_TABSTOP: the high byte of the low word is the tab size in characters.
  DrawCanvas tabs(200, 30);
  SelectObject(tabs.dc(), f.h);
  RECT t{0, 0, 200, 30};
  DrawTextA(tabs.dc(), "a\tb", -1, &t, DT_SINGLELINE | DT_TABSTOP | (2 << 8));
  EXPECT_LE(tabs.ink().right, 3 * w + 1);
  EXPECT_GT(tabs.ink().right, 2 * w);
  SelectObject(tabs.dc(), GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(DrawTextA(c.dc(), "x", -1, nullptr, 0), 0);
  RECT any{0, 0, 10, 10};
  EXPECT_EQ(DrawTextA(nullptr, "x", -1, &any, 0), 0);
  SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
}

TEST(TextLayout, TabbedTextOut) {
  DrawCanvas c(200, 20);
  Font f("Courier New");
  SelectObject(c.dc(), f.h);
  TEXTMETRICA tm;
  GetTextMetricsA(c.dc(), &tm);
  const int w = tm.tmAveCharWidth;
  INT stops[] = {50, 120};
  LONG r = TabbedTextOutA(c.dc(), 10, 0, "a\tb\tc", 5, 2, stops, 10);
  EXPECT_EQ(LOWORD(r), 120 + w);
  EXPECT_EQ(HIWORD(r), tm.tmHeight);
  EXPECT_EQ(GetTabbedTextExtentA(c.dc(), "ab\tc", 4, 1, stops), static_cast<DWORD>(MAKELONG(50 + w, tm.tmHeight)));
  SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
}

TEST(TextLayout, TwipsLinesGoDownTheDevice) {
  // Printing works in MM_TWIPS: logical y grows upwards, lines still go down.
  DrawCanvas c(200, 100);
  SetMapMode(c.dc(), MM_TWIPS);
  HFONT f = CreateFontA(-200, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  SelectObject(c.dc(), f);
  TEXTMETRICA tm;
  GetTextMetricsA(c.dc(), &tm);
  RECT r{0, 0, 2800, -1400};
  int height = DrawTextA(c.dc(), "one\ntwo", -1, &r, DT_CALCRECT);
  EXPECT_EQ(height, 2 * tm.tmHeight);
  EXPECT_EQ(r.bottom, -2 * tm.tmHeight);
  SetBkMode(c.dc(), TRANSPARENT);
  RECT box{0, 0, 2800, -1400};
  DrawTextA(c.dc(), "one\ntwo", -1, &box, 0);
  SetMapMode(c.dc(), MM_TEXT);
  RECT ink = c.ink();
  EXPECT_GE(ink.top, 0);
  EXPECT_GT(ink.bottom, 20);  // the second line is below the first on the device
  EXPECT_LT(ink.bottom, 40);
  SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
  DeleteObject(f);
}

}  // namespace
