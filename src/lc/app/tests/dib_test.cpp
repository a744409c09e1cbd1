// Bitmap files read into packed DIBs through the run-time's functions: the
// header arithmetic, palettes, and a device bitmap painted back (the checks
// that keep corrupt files out are the layer's reader's, tested beside it).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <internal/dib.h>
#include <internal/testbitmap.h>

#include "KyDIB.h"

namespace {

using win32::testing::BitmapFile;

HDIB read(const BitmapFile& file) {
  auto b = file.bytes();
  win32::gdi::MemoryDibSource source(b.data(), b.size());
  return win32::gdi::readBitmapFile(source);
}

// The header of a read DIB, copied out of the block.
BITMAPINFOHEADER header(HDIB dib) {
  BITMAPINFOHEADER bi{};
  auto* p = static_cast<char*>(GlobalLock(dib));
  std::memcpy(&bi, p, sizeof bi);
  GlobalUnlock(dib);
  return bi;
}

// Both header forms: colour entries of 4 bytes behind a 40-byte header, of
// 3 behind a 12-byte one; the bits follow the table.
TEST(DIBHeader, ArithmeticOfBothHeaderForms) {
  BYTE info[40 + 3 * 4 + 8] = {};
  BITMAPINFOHEADER bi{40, 3, 2, 1, 4, BI_RGB, 0, 0, 0, 3, 0};
  std::memcpy(info, &bi, sizeof bi);
  BYTE core[12 + 16 * 3 + 8] = {};
  BITMAPCOREHEADER bc{12, 3, 2, 1, 4};
  std::memcpy(core, &bc, sizeof bc);
  struct Case {
    const char* what;
    LPSTR header;
    WORD colours, paletteBytes;
    size_t bitsAt;
  } cases[] = {
      {"information header, 3 used", reinterpret_cast<LPSTR>(info), 3, 12, 52},
      {"core header, 4 bits", reinterpret_cast<LPSTR>(core), 16, 48, 60},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DIBNumColors(c.header), c.colours) << c.what;
    EXPECT_EQ(DIBPaletteSize(c.header), c.paletteBytes) << c.what;
    EXPECT_EQ(FindDIBBits(c.header), c.header + c.bitsAt) << c.what;
  }
  EXPECT_EQ(FindDIBBits(nullptr), nullptr);
  EXPECT_EQ(DIBNumColors(nullptr), 0);
  HDIB dib = read({.bits = 8, .clrUsed = 5});
  ASSERT_NE(dib, nullptr);
  auto* lpbi = static_cast<LPSTR>(GlobalLock(dib));
  EXPECT_EQ((BYTE)*FindDIBBits(lpbi), 0x40);  // the first byte of the bits
  GlobalUnlock(dib);
  EXPECT_EQ(FreeDIBHandle(dib), nullptr);
}

TEST(ReadDIB, FilesAreReadFromThePath) {
  char dir[MAX_PATH], path[MAX_PATH];
  ASSERT_NE(GetTempPathA(sizeof dir, dir), 0u);
  ASSERT_NE(GetTempFileNameA(dir, "dib", 0, path), 0u);
  auto b = BitmapFile{.bits = 1}.bytes();
  FILE* f = std::fopen(path, "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(b.data(), 1, b.size(), f);
  std::fclose(f);

  HDIB dib = ReadDIBFile(path);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(header(dib).biClrUsed, 2u);
  FreeDIBHandle(dib);
  DeleteFileA(path);
  EXPECT_EQ(ReadDIBFile(path), nullptr);  // gone
  EXPECT_EQ(ReadDIBFile(nullptr), nullptr);
  EXPECT_EQ(ReadDIB(HFILE_ERROR), nullptr);
}

TEST(DIBPalette, BuiltFromTheColourTableOnlyWhenThereIsOne) {
  HDIB mono = read({.bits = 1});
  HPALETTE palette = CreateDIBPaletteHandle(mono);
  ASSERT_NE(palette, nullptr);
  PALETTEENTRY entries[2] = {};
  EXPECT_EQ(GetPaletteEntries(palette, 0, 2, entries), 2u);
  // Stored blue, green, red: 0x00010203 is blue 3, green 2, red 1.
  EXPECT_EQ(entries[0].peRed, 1);
  EXPECT_EQ(entries[0].peGreen, 2);
  EXPECT_EQ(entries[0].peBlue, 3);
  DeleteObject(palette);
  FreeDIBHandle(mono);

  HDIB trueColour = read({});
  EXPECT_EQ(CreateDIBPaletteHandle(trueColour), nullptr);
  FreeDIBHandle(trueColour);
  EXPECT_EQ(CreateDIBPaletteHandle(nullptr), nullptr);
}

TEST(DIBPaint, DeviceBitmapPaintsTheDIBsPixels) {
  // 2 x 2, bottom-up: the first row in the file is the bottom one.
  BitmapFile file;
  auto b = file.bytes();
  const BYTE bits[16] = {0, 0, 255, /**/ 0, 255, 0, /**/ 0, 0, /**/ 255, 0, 0, /**/ 255, 255, 255, /**/ 0, 0};
  std::memcpy(b.data() + 54, bits, sizeof bits);
  win32::gdi::MemoryDibSource source(b.data(), b.size());
  HDIB dib = win32::gdi::readBitmapFile(source);
  ASSERT_NE(dib, nullptr);
  HBITMAP bitmap = DIBToDeviceBitmap(dib, nullptr);
  ASSERT_NE(bitmap, nullptr);

  HDC screen = GetDC(nullptr);
  HDC target = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 8, 8);
  HGDIOBJ old = SelectObject(target, canvas);
  RECT to{0, 0, 2, 2}, from{0, 0, 2, 2};
  EXPECT_TRUE(PaintDIB(target, &to, bitmap, &from, nullptr));
  EXPECT_EQ(GetPixel(target, 0, 1), RGB(255, 0, 0));    // bottom left
  EXPECT_EQ(GetPixel(target, 1, 1), RGB(0, 255, 0));    // bottom right
  EXPECT_EQ(GetPixel(target, 0, 0), RGB(0, 0, 255));    // top left
  EXPECT_EQ(GetPixel(target, 1, 0), RGB(255, 255, 255));
  RECT stretched{4, 4, 8, 8};
  EXPECT_TRUE(PaintDIB(target, &stretched, bitmap, &from, nullptr));
  EXPECT_EQ(GetPixel(target, 4, 4), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(target, 7, 7), RGB(0, 255, 0));
  EXPECT_FALSE(PaintDIB(target, nullptr, bitmap, &from, nullptr));

  SelectObject(target, old);
  DeleteObject(canvas);
  DeleteDC(target);
  ReleaseDC(nullptr, screen);
  DeleteObject(bitmap);
  FreeDIBHandle(dib);
}

TEST(DIBPalette, TrueColourScreenHasNoSystemPalette) {
  HDC screen = GetDC(nullptr);
  bool paletteDevice = GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE;
  ReleaseDC(nullptr, screen);
  HPALETTE palette = CreateSystemPaletteHandle();
  EXPECT_EQ(palette != nullptr, paletteDevice);
  if (palette) DeleteObject(palette);
}

}  // namespace
