#include <gtest/gtest.h>

#include "canvas.h"

namespace {

// Every named ROP3 on one pixel: P = brush, S = source, D = destination.
TEST(Blit, Rop3TruthTable) {
  const COLORREF P = RGB(0xF0, 0xF0, 0x0F), S = RGB(0xCC, 0x33, 0x0F), D = RGB(0xAA, 0x55, 0xFF);
  struct Case {
    DWORD rop;
    unsigned (*f)(unsigned p, unsigned s, unsigned d);
  } cases[] = {
      {SRCCOPY, [](unsigned, unsigned s, unsigned) { return s; }},
      {SRCPAINT, [](unsigned, unsigned s, unsigned d) { return s | d; }},
      {SRCAND, [](unsigned, unsigned s, unsigned d) { return s & d; }},
      {SRCINVERT, [](unsigned, unsigned s, unsigned d) { return s ^ d; }},
      {SRCERASE, [](unsigned, unsigned s, unsigned d) { return s & ~d; }},
      {NOTSRCCOPY, [](unsigned, unsigned s, unsigned) { return ~s; }},
      {NOTSRCERASE, [](unsigned, unsigned s, unsigned d) { return ~(s | d); }},
      {MERGECOPY, [](unsigned p, unsigned s, unsigned) { return p & s; }},
      {MERGEPAINT, [](unsigned, unsigned s, unsigned d) { return ~s | d; }},
      {PATCOPY, [](unsigned p, unsigned, unsigned) { return p; }},
      {PATPAINT, [](unsigned p, unsigned s, unsigned d) { return p | ~s | d; }},
      {PATINVERT, [](unsigned p, unsigned, unsigned d) { return p ^ d; }},
      {DSTINVERT, [](unsigned, unsigned, unsigned d) { return ~d; }},
      {BLACKNESS, [](unsigned, unsigned, unsigned) { return 0u; }},
      {WHITENESS, [](unsigned, unsigned, unsigned) { return ~0u; }},
      {0x00B8074A, [](unsigned p, unsigned s, unsigned d) { return (p & ~s) | (d & s); }},  // PSDPxax
      {0x00E20746, [](unsigned p, unsigned s, unsigned d) { return (s & p) | (d & ~s); }},  // DSPDxax
  };
  Canvas src(1, 1), dst(1, 1);
  SetPixel(src.dc(), 0, 0, S);
  HBRUSH brush = CreateSolidBrush(P);
  SelectObject(dst.dc(), brush);
  for (const auto& c : cases) {
    SetPixel(dst.dc(), 0, 0, D);
    EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, c.rop));
    EXPECT_EQ(dst.at(0, 0), c.f(P, S, D) & 0xFFFFFF) << std::hex << c.rop;
  }
  SelectObject(dst.dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(brush);
}

TEST(Blit, MonochromeToColourUsesTextAndBackgroundColours) {
  Canvas mono(2, 1, 1), colour(2, 1);
  SetPixel(mono.dc(), 0, 0, RGB(0, 0, 0));
  SetPixel(mono.dc(), 1, 0, RGB(255, 255, 255));
  SetTextColor(colour.dc(), RGB(255, 0, 0));
  SetBkColor(colour.dc(), RGB(0, 0, 255));
  BitBlt(colour.dc(), 0, 0, 2, 1, mono.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(colour.at(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(colour.at(1, 0), RGB(0, 0, 255));
}

TEST(Blit, ColourToMonochromeMatchesTheBackgroundColour) {
  Canvas colour(3, 1), mono(3, 1, 1);
  SetPixel(colour.dc(), 0, 0, RGB(10, 20, 30));
  SetPixel(colour.dc(), 1, 0, RGB(255, 255, 255));
  SetPixel(colour.dc(), 2, 0, RGB(0, 0, 0));
  SetBkColor(colour.dc(), RGB(10, 20, 30));
  BitBlt(mono.dc(), 0, 0, 3, 1, colour.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(mono.at(0, 0), RGB(255, 255, 255));  // the background colour -> 1
  EXPECT_EQ(mono.at(1, 0), RGB(0, 0, 0));        // white is not the background here
  EXPECT_EQ(mono.at(2, 0), RGB(0, 0, 0));
}

TEST(Blit, TransparentDrawingThroughAMask) {
  // The classic sequence: mask from the key colour, then AND / OR blits.
  const COLORREF key = RGB(255, 0, 255);
  Canvas image(2, 1), mask(2, 1, 1), screen(2, 1);
  SetPixel(image.dc(), 0, 0, key);
  SetPixel(image.dc(), 1, 0, RGB(0, 128, 0));
  SetPixel(screen.dc(), 0, 0, RGB(1, 2, 3));
  SetPixel(screen.dc(), 1, 0, RGB(1, 2, 3));
  SetBkColor(image.dc(), key);
  BitBlt(mask.dc(), 0, 0, 2, 1, image.dc(), 0, 0, SRCCOPY);  // key -> 1
  SetBkColor(screen.dc(), RGB(255, 255, 255));
  SetTextColor(screen.dc(), RGB(0, 0, 0));
  BitBlt(screen.dc(), 0, 0, 2, 1, mask.dc(), 0, 0, SRCAND);  // hole where the image is opaque
  SetBkColor(image.dc(), RGB(0, 0, 0));
  SetTextColor(image.dc(), RGB(255, 255, 255));
  BitBlt(image.dc(), 0, 0, 2, 1, mask.dc(), 0, 0, SRCAND);  // black out the key pixels
  BitBlt(screen.dc(), 0, 0, 2, 1, image.dc(), 0, 0, SRCPAINT);
  EXPECT_EQ(screen.at(0, 0), RGB(1, 2, 3));
  EXPECT_EQ(screen.at(1, 0), RGB(0, 128, 0));
}

TEST(Blit, MaskBltChoosesRopPerMaskBit) {
  Canvas src(2, 1), dst(2, 1);
  SetPixel(src.dc(), 0, 0, RGB(255, 0, 0));
  SetPixel(src.dc(), 1, 0, RGB(255, 0, 0));
  BYTE bits[2] = {0x80, 0};  // first pixel 1, second 0
  HBITMAP mask = CreateBitmap(2, 1, 1, 1, bits);
  EXPECT_TRUE(MaskBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, mask, 0, 0, MAKEROP4(SRCCOPY, 0x00AA0029)));
  EXPECT_EQ(dst.at(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(dst.at(1, 0), RGB(255, 255, 255));
  HBITMAP colourMask = CreateBitmap(2, 1, 1, 32, nullptr);
  EXPECT_FALSE(MaskBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, colourMask, 0, 0, SRCCOPY));
  DeleteObject(mask);
  DeleteObject(colourMask);
}

TEST(Blit, PatternBrushesRepeatFromTheBrushOrigin) {
  // 8x8 monochrome checker: 0 bits take the text colour, 1 bits the background.
  BYTE rows[16] = {};  // rows of 8 pixels padded to 16 bits
  for (int i = 0; i < 8; ++i) rows[2 * i] = (i % 2) ? 0x55 : 0xAA;
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
  HBRUSH brush = CreatePatternBrush(pattern);
  DeleteObject(pattern);  // the brush keeps its own copy
  Canvas c(16, 16);
  SetTextColor(c.dc(), RGB(255, 0, 0));
  SetBkColor(c.dc(), RGB(0, 0, 255));
  SelectObject(c.dc(), brush);
  PatBlt(c.dc(), 0, 0, 16, 16, PATCOPY);
  EXPECT_EQ(c.at(0, 0), RGB(0, 0, 255));  // bit 1
  EXPECT_EQ(c.at(1, 0), RGB(255, 0, 0));  // bit 0
  EXPECT_EQ(c.at(8, 0), RGB(0, 0, 255));
  EXPECT_EQ(c.at(0, 1), RGB(255, 0, 0));
  SetBrushOrgEx(c.dc(), 1, 0, nullptr);
  PatBlt(c.dc(), 0, 0, 16, 16, PATCOPY);
  EXPECT_EQ(c.at(0, 0), RGB(255, 0, 0));
  LOGBRUSH lb;
  EXPECT_EQ(GetObjectA(brush, sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_PATTERN));
  SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(brush);
}

TEST(Blit, HatchBrushHonoursBackgroundMode) {
  HBRUSH hatch = CreateHatchBrush(HS_HORIZONTAL, RGB(0, 0, 0));
  Canvas c(8, 8);
  SelectObject(c.dc(), hatch);
  SelectObject(c.dc(), GetStockObject(NULL_PEN));
  SetBkColor(c.dc(), RGB(255, 0, 0));
  SetBkMode(c.dc(), TRANSPARENT);
  Rectangle(c.dc(), 0, 0, 9, 9);
  EXPECT_EQ(c.count(RGB(0, 0, 0)), 8);
  EXPECT_EQ(c.count(RGB(255, 0, 0)), 0);
  SetBkMode(c.dc(), OPAQUE);
  Rectangle(c.dc(), 0, 0, 9, 9);
  EXPECT_EQ(c.count(RGB(255, 0, 0)), 56);
  SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(hatch);
}

TEST(Blit, StretchAndMirror) {
  Canvas src(2, 1), dst(4, 2);
  SetPixel(src.dc(), 0, 0, RGB(255, 0, 0));
  SetPixel(src.dc(), 1, 0, RGB(0, 0, 255));
  EXPECT_TRUE(StretchBlt(dst.dc(), 0, 0, 4, 2, src.dc(), 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(dst.at(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(dst.at(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(dst.at(2, 0), RGB(0, 0, 255));
  // A negative width spans [x + width, x): mirrored, the source's right pixel lands left.
  EXPECT_TRUE(StretchBlt(dst.dc(), 4, 0, -4, 2, src.dc(), 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(dst.at(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(dst.at(3, 0), RGB(255, 0, 0));
}

TEST(Blit, OverlappingCopyWithinOneBitmap) {
  Canvas c(6, 1);
  for (int x = 0; x < 6; ++x) SetPixel(c.dc(), x, 0, RGB(x * 40, 0, 0));
  BitBlt(c.dc(), 1, 0, 5, 1, c.dc(), 0, 0, SRCCOPY);  // scroll right by one
  for (int x = 1; x < 6; ++x) EXPECT_EQ(c.at(x, 0), RGB((x - 1) * 40, 0, 0));
}

TEST(Blit, TransparentBltSkipsTheKeyColour) {
  Canvas src(2, 1), dst(2, 1);
  SetPixel(src.dc(), 0, 0, RGB(255, 0, 255));
  SetPixel(src.dc(), 1, 0, RGB(0, 255, 0));
  EXPECT_TRUE(TransparentBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, 2, 1, RGB(255, 0, 255)));
  EXPECT_EQ(dst.at(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(dst.at(1, 0), RGB(0, 255, 0));
}

TEST(Blit, PixelsOutsideAndErrors) {
  Canvas c(2, 2);
  EXPECT_EQ(GetPixel(c.dc(), 5, 5), CLR_INVALID);
  EXPECT_EQ(SetPixel(c.dc(), -1, 0, 0), CLR_INVALID);
  EXPECT_EQ(SetPixel(c.dc(), 1, 1, PALETTERGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_FALSE(BitBlt(c.dc(), 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
  EXPECT_TRUE(BitBlt(c.dc(), 0, 0, 1, 1, nullptr, 0, 0, BLACKNESS));
  EXPECT_FALSE(PatBlt(c.dc(), 0, 0, 1, 1, SRCCOPY));
}

TEST(Blit, FloodFill) {
  Canvas c(10, 10);
  SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
  Rectangle(c.dc(), 2, 2, 8, 8);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  SelectObject(c.dc(), red);
  EXPECT_TRUE(ExtFloodFill(c.dc(), 4, 4, RGB(0, 0, 0), FLOODFILLBORDER));
  EXPECT_EQ(c.count(RGB(255, 0, 0)), 16);
  EXPECT_TRUE(ExtFloodFill(c.dc(), 0, 0, RGB(255, 255, 255), FLOODFILLSURFACE));
  EXPECT_EQ(c.count(RGB(255, 255, 255)), 0);
  SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
}

}  // namespace
