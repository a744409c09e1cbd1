// Bitmap files read into packed DIBs: the header arithmetic, the checks that
// keep corrupt files out, palettes, and a device bitmap painted back.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "KyDIB.h"

namespace {

struct BitmapFile {
  int width = 2, height = 2;
  WORD bits = 24;
  DWORD headerSize = 40;
  DWORD clrUsed = 0;
  DWORD compression = BI_RGB;
  DWORD sizeImage = 0;
  int tableEntries = -1;   // colour entries written; -1: what the format implies
  bool zeroOffset = false; // bfOffBits 0: the bits follow the colour table
  size_t cut = 0;          // bytes removed from the end

  std::vector<BYTE> bytes() const {
    int entries = tableEntries >= 0 ? tableEntries : (clrUsed ? clrUsed : (bits <= 8 ? 1 << bits : 0));
    size_t stride = ((size_t)bits * (width > 0 ? width : 0) + 31) / 32 * 4;  // the fixture writes no bits for bad widths
    size_t imageBytes = stride * (height < 0 ? -height : height);
    size_t fileSize = 14 + headerSize + entries * 4 + imageBytes;
    // Room for every header field even when the header is declared shorter;
    // the file is cut to its own size afterwards.
    std::vector<BYTE> out(std::max<size_t>(fileSize, 14 + 40));
    auto put = [&](size_t at, auto value) { std::memcpy(out.data() + at, &value, sizeof value); };
    put(0, (WORD)0x4D42);
    put(2, (DWORD)fileSize);
    put(10, (DWORD)(zeroOffset ? 0 : 14 + headerSize + entries * 4));
    put(14, headerSize);
    put(18, (LONG)width);
    put(22, (LONG)height);
    put(26, (WORD)1);
    put(28, bits);
    put(30, compression);
    put(34, sizeImage);
    put(46, clrUsed);
    for (int i = 0; i < entries; ++i) put(14 + headerSize + i * 4, (DWORD)(0x00010203 * (i + 1)));
    for (size_t i = 0; i < imageBytes; ++i) out[14 + headerSize + entries * 4 + i] = (BYTE)(0x40 + i);
    out.resize(fileSize - cut);
    return out;
  }
};

HDIB read(const BitmapFile& file) {
  auto b = file.bytes();
  ky::dib::MemorySource source(b.data(), b.size());
  return ky::dib::readPackedDIB(source);
}

// The header of a read DIB, copied out of the block.
BITMAPINFOHEADER header(HDIB dib) {
  BITMAPINFOHEADER bi{};
  auto* p = static_cast<char*>(GlobalLock(dib));
  std::memcpy(&bi, p, sizeof bi);
  GlobalUnlock(dib);
  return bi;
}

TEST(ReadDIB, ColourTablesFollowTheBitCount) {
  struct Case {
    const char* what;
    BitmapFile file;
    WORD colours;
  } cases[] = {
      {"24 bits: no colour table", {}, 0},
      {"1 bit, no used count: 2 entries", {.bits = 1}, 2},
      {"4 bits", {.bits = 4}, 16},
      {"8 bits, 5 used", {.bits = 8, .clrUsed = 5}, 5},
      {"16 bits: no table, not 65536 entries", {.bits = 16}, 0},
      {"32 bits", {.bits = 32}, 0},
      {"24 bits with an optional table of 3", {.clrUsed = 3}, 3},
  };
  for (const auto& c : cases) {
    HDIB dib = read(c.file);
    ASSERT_NE(dib, nullptr) << c.what;
    auto* lpbi = static_cast<LPSTR>(GlobalLock(dib));
    EXPECT_EQ(DIBNumColors(lpbi), c.colours) << c.what;
    EXPECT_EQ(DIBPaletteSize(lpbi), c.colours * 4) << c.what;
    EXPECT_EQ(FindDIBBits(lpbi), lpbi + 40 + c.colours * 4) << c.what;
    EXPECT_EQ((BYTE)*FindDIBBits(lpbi), 0x40) << c.what;  // the first byte of the bits
    GlobalUnlock(dib);
    EXPECT_EQ(FreeDIBHandle(dib), nullptr);
  }
}

TEST(ReadDIB, LongerHeadersTopDownImagesAndPackedOffsets) {
  // A V4 header (108 bytes): the colour table starts after it.
  HDIB v4 = read({.bits = 8, .headerSize = 108, .clrUsed = 2});
  ASSERT_NE(v4, nullptr);
  auto* lpbi = static_cast<LPSTR>(GlobalLock(v4));
  EXPECT_EQ(header(v4).biSize, 40u);
  DWORD first;
  std::memcpy(&first, lpbi + 40, 4);
  EXPECT_EQ(first, 0x00010203u);
  GlobalUnlock(v4);
  FreeDIBHandle(v4);

  HDIB topDown = read({.height = -3});
  ASSERT_NE(topDown, nullptr);
  EXPECT_EQ(header(topDown).biHeight, -3);
  EXPECT_EQ(header(topDown).biSizeImage, 8u * 3);  // stride of 2 pixels x 24 bits, three rows
  FreeDIBHandle(topDown);

  HDIB packed = read({.bits = 4, .zeroOffset = true});
  ASSERT_NE(packed, nullptr);
  FreeDIBHandle(packed);
}

TEST(ReadDIB, CorruptAndUnsupportedFilesGiveNull) {
  struct Case {
    const char* what;
    BitmapFile file;
  } cases[] = {
      {"core header", {.headerSize = 12}},
      {"header too long", {.headerSize = 4096, .tableEntries = 0}},
      {"used colours above what 8 bits allow", {.bits = 8, .clrUsed = 300, .tableEntries = 0}},
      {"bits missing", {.cut = 1}},
      {"colour table missing", {.bits = 8, .tableEntries = 0, .zeroOffset = true, .cut = 1}},
      {"odd bit count", {.bits = 7}},
      {"zero width", {.width = 0}},
      {"negative width", {.width = -2}},
      {"zero height", {.height = 0}},
      {"size overflow", {.width = 0x7FFFFFFF, .height = 0x7FFFFFFF, .tableEntries = 0, .cut = 0}},
      {"bit fields", {.bits = 16, .compression = BI_BITFIELDS}},
      {"RLE without its size", {.bits = 8, .compression = BI_RLE8}},
      {"RLE4 with 8 bits", {.bits = 8, .compression = BI_RLE4, .sizeImage = 4}},
  };
  for (const auto& c : cases) {
    if (std::string(c.what) == "size overflow") {
      // Too large to write out: only the headers, which claim ~16 exabytes.
      BitmapFile f = c.file;
      f.width = 2;
      f.height = 2;
      auto b = f.bytes();
      LONG huge = 0x7FFFFFFF;
      std::memcpy(b.data() + 18, &huge, 4);
      std::memcpy(b.data() + 22, &huge, 4);
      ky::dib::MemorySource source(b.data(), b.size());
      EXPECT_EQ(ky::dib::readPackedDIB(source), nullptr) << c.what;
      continue;
    }
    EXPECT_EQ(read(c.file), nullptr) << c.what;
  }
  auto b = BitmapFile{}.bytes();
  b[0] = 'M';  // not "BM"
  ky::dib::MemorySource source(b.data(), b.size());
  EXPECT_EQ(ky::dib::readPackedDIB(source), nullptr);
  ky::dib::MemorySource empty(nullptr, 0);
  EXPECT_EQ(ky::dib::readPackedDIB(empty), nullptr);
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
  ky::dib::MemorySource source(b.data(), b.size());
  HDIB dib = ky::dib::readPackedDIB(source);
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
