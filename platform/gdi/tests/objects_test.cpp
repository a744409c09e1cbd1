#include <gtest/gtest.h>

#include <cstring>

#include "canvas.h"

namespace {

TEST(Objects, StockObjectsHaveTheirKindsAndSurviveDeletion) {
  struct Case {
    int index;
    DWORD type;
  } cases[] = {
      {WHITE_BRUSH, OBJ_BRUSH}, {NULL_BRUSH, OBJ_BRUSH},   {BLACK_PEN, OBJ_PEN},
      {NULL_PEN, OBJ_PEN},      {SYSTEM_FONT, OBJ_FONT},   {DEFAULT_GUI_FONT, OBJ_FONT},
      {ANSI_FIXED_FONT, OBJ_FONT}, {DEFAULT_PALETTE, OBJ_PAL},
  };
  for (const auto& c : cases) {
    HGDIOBJ o = GetStockObject(c.index);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(GetObjectType(o), c.type);
    EXPECT_TRUE(DeleteObject(o));
    EXPECT_EQ(GetObjectType(o), c.type);
    EXPECT_EQ(GetStockObject(c.index), o);
  }
  EXPECT_EQ(GetStockObject(9), nullptr);
  EXPECT_EQ(GetStockObject(-1), nullptr);
}

TEST(Objects, GetObjectForEachKind) {
  HPEN pen = CreatePen(PS_DASH, 3, RGB(1, 2, 3));
  LOGPEN lp;
  EXPECT_EQ(GetObjectA(pen, sizeof lp, &lp), static_cast<int>(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
  EXPECT_EQ(lp.lopnWidth.x, 3);
  EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
  EXPECT_EQ(GetObjectA(pen, 4, &lp), 0);

  LOGBRUSH solid{BS_SOLID, RGB(9, 8, 7), 0};
  HPEN ext = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 5, &solid, 0, nullptr);
  ASSERT_NE(ext, nullptr);
  EXTLOGPEN elp;
  EXPECT_GT(GetObjectA(ext, sizeof elp, &elp), 0);
  EXPECT_EQ(elp.elpWidth, 5u);
  EXPECT_EQ(elp.elpColor, RGB(9, 8, 7));

  HBRUSH brush = CreateHatchBrush(HS_CROSS, RGB(4, 5, 6));
  LOGBRUSH lb;
  EXPECT_EQ(GetObjectA(brush, sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_HATCHED));
  EXPECT_EQ(lb.lbHatch, static_cast<ULONG_PTR>(HS_CROSS));

  LOGFONTA in{};
  in.lfHeight = -13;
  in.lfWeight = FW_BOLD;
  in.lfItalic = 1;
  std::strcpy(in.lfFaceName, "Arial");
  HFONT font = CreateFontIndirectA(&in);
  LOGFONTA out;
  EXPECT_EQ(GetObjectA(font, sizeof out, &out), static_cast<int>(sizeof out));
  EXPECT_EQ(out.lfHeight, -13);
  EXPECT_EQ(out.lfWeight, FW_BOLD);
  EXPECT_STREQ(out.lfFaceName, "Arial");

  HBITMAP bitmap = CreateBitmap(10, 3, 1, 1, nullptr);
  BITMAP bm;
  EXPECT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 10);
  EXPECT_EQ(bm.bmHeight, 3);
  EXPECT_EQ(bm.bmWidthBytes, 2);  // rows of a device bitmap are WORD aligned
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(bm.bmBits, nullptr);
  EXPECT_EQ(GetObjectA(bitmap, 0, nullptr), static_cast<int>(sizeof bm));

  for (HGDIOBJ o : {(HGDIOBJ)pen, (HGDIOBJ)ext, (HGDIOBJ)brush, (HGDIOBJ)font, (HGDIOBJ)bitmap}) {
    EXPECT_TRUE(DeleteObject(o));
  }
  SetLastError(0);
  EXPECT_EQ(GetObjectA(pen, sizeof lp, &lp), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(Objects, SelectObjectAnswersThePreviousObject) {
  Canvas c(4, 4);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(c.dc(), pen);
  EXPECT_EQ(old, GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_PEN), pen);
  EXPECT_EQ(SelectObject(c.dc(), old), pen);
  HRGN region = CreateRectRgn(0, 0, 2, 2);
  EXPECT_EQ(SelectObject(c.dc(), region), reinterpret_cast<HGDIOBJ>(SIMPLEREGION));
  EXPECT_EQ(SelectObject(c.dc(), reinterpret_cast<HGDIOBJ>(0x1234)), nullptr);
  DeleteObject(region);
  DeleteObject(pen);
}

TEST(Objects, DeletingSelectedObjects) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
  SelectObject(dc, brush);
  // A selected brush: deletion is deferred until it is deselected.
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetObjectType(brush), 0u);
  // A selected bitmap: refused.
  HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_FALSE(DeleteObject(bitmap));
  // ...and it cannot go into a second DC at the same time.
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, bitmap), nullptr);
  // The same DC may select it again while a saved state still holds it.
  SaveDC(dc);
  SelectObject(dc, old);
  EXPECT_EQ(SelectObject(dc, bitmap), old);
  RestoreDC(dc, -1);
  SelectObject(dc, old);
  EXPECT_TRUE(DeleteObject(bitmap));
  DeleteDC(other);
  DeleteDC(dc);
}

TEST(Objects, MemoryDCStartsWithAOnePixelMonochromeBitmap) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP current = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
  BITMAP bm;
  ASSERT_EQ(GetObjectA(current, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
  // A compatible bitmap of such a DC is monochrome too.
  HBITMAP mono = CreateCompatibleBitmap(dc, 8, 8);
  GetObjectA(mono, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  DeleteObject(mono);
  DeleteDC(dc);
  EXPECT_FALSE(DeleteDC(dc));
}

TEST(Objects, SaveAndRestoreDC) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SaveDC(dc), 1);
  SetTextColor(dc, RGB(1, 1, 1));
  SelectObject(dc, GetStockObject(NULL_PEN));
  EXPECT_EQ(SaveDC(dc), 2);
  SetTextColor(dc, RGB(2, 2, 2));
  EXPECT_EQ(SaveDC(dc), 3);
  EXPECT_TRUE(RestoreDC(dc, -1));  // back to the third save
  EXPECT_EQ(GetTextColor(dc), RGB(2, 2, 2));
  EXPECT_TRUE(RestoreDC(dc, 1));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_FALSE(RestoreDC(dc, 1));  // that level is gone
  EXPECT_FALSE(RestoreDC(dc, 0));
  DeleteDC(dc);
}

TEST(Objects, DisplayCapabilities) {
  HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  ASSERT_NE(screen, nullptr);
  struct Case {
    int index, value;
  } cases[] = {
      {HORZRES, 1280}, {VERTRES, 1024}, {LOGPIXELSX, 96}, {LOGPIXELSY, 96}, {BITSPIXEL, 32},
      {PLANES, 1},     {NUMCOLORS, -1}, {TECHNOLOGY, DT_RASDISPLAY},       {HORZSIZE, 339},
      {VERTSIZE, 271}, {SIZEPALETTE, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(GetDeviceCaps(screen, c.index), c.value) << c.index;
  EXPECT_TRUE(GetDeviceCaps(screen, RASTERCAPS) & RC_BITBLT);
  HDC info = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  EXPECT_EQ(GetDeviceCaps(info, HORZRES), 1280);
  EXPECT_EQ(CreateDCA("WINSPOOL", "Printer", nullptr, nullptr), nullptr);
  DeleteDC(info);
  DeleteDC(screen);
}

TEST(Objects, PalettesAreKeptButTrueColour) {
  struct {
    WORD version, count;
    PALETTEENTRY entries[2];
  } lp{0x300, 2, {{255, 0, 0, 0}, {0, 0, 255, 0}}};
  HPALETTE palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp));
  ASSERT_NE(palette, nullptr);
  WORD count = 0;
  EXPECT_EQ(GetObjectA(palette, sizeof count, &count), 2);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(GetNearestPaletteIndex(palette, RGB(10, 0, 200)), 1u);
  HDC dc = CreateCompatibleDC(nullptr);
  HPALETTE old = SelectPalette(dc, palette, FALSE);
  EXPECT_EQ(old, GetStockObject(DEFAULT_PALETTE));
  EXPECT_EQ(RealizePalette(dc), 0u);
  EXPECT_EQ(GetNearestColor(dc, RGB(3, 4, 5)), RGB(3, 4, 5));
  SelectPalette(dc, old, FALSE);
  DeleteDC(dc);
  DeleteObject(palette);
}

}  // namespace
