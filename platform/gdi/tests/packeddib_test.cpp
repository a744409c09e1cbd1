// The shared reader of bitmap files and the arithmetic of packed DIBs: what
// a good file gives, and that every damaged or unsupported one gives null.
#include <gtest/gtest.h>
#include <internal/dib.h>
#include <internal/testbitmap.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using win32::testing::BitmapFile;

HGLOBAL read(const std::vector<BYTE>& b) {
  win32::gdi::MemoryDibSource source(b.data(), b.size());
  return win32::gdi::readBitmapFile(source);
}
HGLOBAL read(const BitmapFile& file) { return read(file.bytes()); }
HGLOBAL readAs(const std::vector<BYTE>& b, unsigned forms) {
  win32::gdi::MemoryDibSource source(b.data(), b.size());
  return win32::gdi::readBitmapFile(source, forms);
}

BITMAPINFOHEADER header(HGLOBAL dib) {
  BITMAPINFOHEADER bi{};
  std::memcpy(&bi, GlobalLock(dib), sizeof bi);
  GlobalUnlock(dib);
  return bi;
}

TEST(ReadBitmapFile, ColourTablesFollowTheBitCount) {
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
    HGLOBAL dib = read(c.file);
    ASSERT_NE(dib, nullptr) << c.what;
    const auto* p = static_cast<const BYTE*>(GlobalLock(dib));
    EXPECT_EQ(win32::gdi::packedDibColours(p), c.colours) << c.what;
    EXPECT_EQ(win32::gdi::packedDibPaletteBytes(p), c.colours * 4u) << c.what;
    EXPECT_EQ(header(dib).biClrUsed, c.colours) << c.what;
    EXPECT_EQ(header(dib).biSizeImage, c.file.imageBytes()) << c.what;
    EXPECT_EQ(p[40 + c.colours * 4], 0x40) << c.what;  // the first byte of the bits
    EXPECT_EQ(GlobalSize(dib), 40 + c.colours * 4 + c.file.imageBytes()) << c.what;
    EXPECT_TRUE(win32::gdi::packedDibFits(p, GlobalSize(dib))) << c.what;
    GlobalUnlock(dib);
    GlobalFree(dib);
  }
}

TEST(ReadBitmapFile, CoreHeadersAndBitFieldsOnlyWhenTheCallerTakesThem) {
  // A 3 x 2 picture of 4 bits behind a 12-byte header: three-byte entries.
  std::vector<BYTE> core(14 + 12 + 16 * 3 + 8);
  const BITMAPCOREHEADER h{sizeof(BITMAPCOREHEADER), 3, 2, 1, 4};
  core[0] = 'B', core[1] = 'M';
  std::memcpy(core.data() + 14, &h, sizeof h);
  for (int i = 0; i < 16 * 3; ++i) core[26 + i] = static_cast<BYTE>(i);
  for (int i = 0; i < 8; ++i) core[26 + 48 + i] = static_cast<BYTE>(0x40 + i);
  EXPECT_EQ(readAs(core, win32::gdi::kBitmapBasic), nullptr);
  HGLOBAL widened = readAs(core, win32::gdi::kBitmapCoreHeader);
  ASSERT_NE(widened, nullptr);
  const BITMAPINFOHEADER bi = header(widened);
  EXPECT_EQ(bi.biSize, 40u);
  EXPECT_EQ(bi.biWidth, 3);
  EXPECT_EQ(bi.biHeight, 2);
  EXPECT_EQ(bi.biBitCount, 4);
  EXPECT_EQ(bi.biClrUsed, 16u);
  const auto* p = static_cast<const BYTE*>(GlobalLock(widened));
  EXPECT_EQ(std::vector<BYTE>(p + 40 + 4, p + 40 + 8), (std::vector<BYTE>{3, 4, 5, 0}));  // the second entry
  EXPECT_EQ(p[40 + 64], 0x40);
  EXPECT_TRUE(win32::gdi::packedDibFits(p, GlobalSize(widened)));
  GlobalUnlock(widened);
  GlobalFree(widened);

  // 16 bits with three colour masks after the header.
  const auto masked = BitmapFile{.bits = 16, .compression = BI_BITFIELDS, .tableEntries = 3}.bytes();
  EXPECT_EQ(readAs(masked, win32::gdi::kBitmapCoreHeader), nullptr);
  HGLOBAL fields = readAs(masked, win32::gdi::kBitmapBitFields);
  ASSERT_NE(fields, nullptr);
  p = static_cast<const BYTE*>(GlobalLock(fields));
  DWORD masks[3];
  std::memcpy(masks, p + 40, sizeof masks);
  EXPECT_EQ(masks[2], 0x00010203u * 3);
  EXPECT_EQ(p[52], 0x40);
  EXPECT_EQ(GlobalSize(fields), 52 + BitmapFile{.bits = 16}.imageBytes());
  EXPECT_TRUE(win32::gdi::packedDibFits(p, GlobalSize(fields)));
  GlobalUnlock(fields);
  GlobalFree(fields);
}

TEST(ReadBitmapFile, LongerHeadersTopDownImagesAndPackedOffsets) {
  // A V4 header (108 bytes): the colour table starts after it.
  HGLOBAL v4 = read(BitmapFile{.bits = 8, .headerSize = 108, .clrUsed = 2});
  ASSERT_NE(v4, nullptr);
  EXPECT_EQ(header(v4).biSize, 40u);
  DWORD first;
  std::memcpy(&first, static_cast<BYTE*>(GlobalLock(v4)) + 40, 4);
  GlobalUnlock(v4);
  EXPECT_EQ(first, 0x00010203u);
  GlobalFree(v4);

  HGLOBAL topDown = read(BitmapFile{.height = -3});
  ASSERT_NE(topDown, nullptr);
  EXPECT_EQ(header(topDown).biHeight, -3);
  EXPECT_EQ(header(topDown).biSizeImage, 8u * 3);  // stride of 2 pixels x 24 bits, three rows
  GlobalFree(topDown);

  HGLOBAL packed = read(BitmapFile{.bits = 4, .zeroOffset = true});
  ASSERT_NE(packed, nullptr);
  GlobalFree(packed);
}

TEST(ReadBitmapFile, CorruptAndUnsupportedFilesGiveNull) {
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
      {"bit fields", {.bits = 16, .compression = BI_BITFIELDS}},
      {"RLE without its size", {.bits = 8, .compression = BI_RLE8}},
      {"RLE4 with 8 bits", {.bits = 8, .compression = BI_RLE4, .sizeImage = 4}},
      {"file header only", {.cut = 70 - 14}},
  };
  for (const auto& c : cases) EXPECT_EQ(read(c.file), nullptr) << c.what;

  // Headers that claim ~16 exabytes of bits: refused before any allocation.
  auto huge = BitmapFile{}.bytes();
  LONG side = 0x7FFFFFFF;
  std::memcpy(huge.data() + 18, &side, 4);
  std::memcpy(huge.data() + 22, &side, 4);
  EXPECT_EQ(read(huge), nullptr);
  auto notBM = BitmapFile{}.bytes();
  notBM[0] = 'M';
  EXPECT_EQ(read(notBM), nullptr);
  win32::gdi::MemoryDibSource empty(nullptr, 0);
  EXPECT_EQ(win32::gdi::readBitmapFile(empty), nullptr);
}

// The colour of entry `index` of the test files' colour tables.
COLORREF tableColour(int index) { return RGB(index + 1, 2 * (index + 1), 3 * (index + 1)); }

TEST(ReadBitmapFile, RunLengthPicturesDecodeWhenDrawn) {
  struct Case {
    const char* what;
    BitmapFile file;
    int rows[2][4];  // colour indexes, top row first
  } cases[] = {
      // Bottom row: a run of four 1s, end of line; top row: three absolute
      // pixels (padded to a word), then end of bitmap.
      {"RLE8", {.width = 4, .bits = 8, .clrUsed = 4, .compression = BI_RLE8, .rle = {4, 1, 0, 0, 0, 3, 2, 3, 2, 0, 0, 1}},
       {{2, 3, 2, 0}, {1, 1, 1, 1}}},
      // The same in nibbles: a run alternates its two values.
      {"RLE4", {.width = 4, .bits = 4, .compression = BI_RLE4, .rle = {4, 0x12, 0, 0, 0, 3, 0x32, 0x30, 0, 1}},
       {{3, 2, 3, 0}, {1, 2, 1, 2}}},
  };
  for (auto& c : cases) {
    c.file.sizeImage = static_cast<DWORD>(c.file.rle.size());
    HGLOBAL dib = read(c.file);
    ASSERT_NE(dib, nullptr) << c.what;
    EXPECT_EQ(header(dib).biCompression, c.file.compression) << c.what;
    EXPECT_EQ(header(dib).biSizeImage, c.file.rle.size()) << c.what;
    const auto* p = static_cast<const BYTE*>(GlobalLock(dib));
    HBITMAP bitmap = win32::gdi::packedDibToBitmap(p, nullptr);
    GlobalUnlock(dib);
    GlobalFree(dib);
    ASSERT_NE(bitmap, nullptr) << c.what;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(GetPixel(dc, x, y), tableColour(c.rows[y][x])) << c.what << " " << x << "," << y;
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
}

TEST(ReadBitmapFile, RunLengthPicturesTooLargeToExpandAreRefused) {
  // Two bytes of RLE (end of bitmap) describe a picture of any size; the
  // expanded bits, not the file, decide. 8 bits a pixel: 16384 x 16384 is
  // the largest square that stays within 256 MiB.
  const std::vector<BYTE> endOfBitmap = {0, 1};
  struct Case {
    const char* what;
    int width, height;
    WORD bits;
    DWORD compression;
    bool refused;
  } cases[] = {
      {"RLE8 of 2.6M x 2.6M", 2600000, 2600000, 8, BI_RLE8, true},
      {"RLE4 of 2.6M x 2.6M", 2600000, 2600000, 4, BI_RLE4, true},
      {"RLE8 as wide as a LONG", 0x7FFFFFFF, 1, 8, BI_RLE8, true},
      {"RLE8 of 16384 x 16385", 16384, 16385, 8, BI_RLE8, true},
      {"RLE8 of 16384 x 16384", 16384, 16384, 8, BI_RLE8, false},
      {"RLE4 of 32768 x 16384", 32768, 16384, 4, BI_RLE4, false},
  };
  for (const auto& c : cases) {
    BitmapFile file{.width = c.width, .height = c.height, .bits = c.bits, .compression = c.compression,
                    .sizeImage = 2, .rle = endOfBitmap};
    SetLastError(0);
    HGLOBAL dib = read(file);
    if (c.refused) {
      EXPECT_EQ(dib, nullptr) << c.what;
      EXPECT_EQ(GetLastError(), DWORD{ERROR_NOT_ENOUGH_MEMORY}) << c.what;
    } else {
      ASSERT_NE(dib, nullptr) << c.what;
      EXPECT_EQ(GlobalSize(dib), 40 + (size_t{1} << c.bits) * 4 + 2) << c.what;  // the data stays compressed
      EXPECT_TRUE(win32::gdi::packedDibFits(GlobalLock(dib), GlobalSize(dib))) << c.what;
      GlobalUnlock(dib);
      GlobalFree(dib);
    }
  }
}

// Found by fuzzing: a top-down RLE picture was read into a block the rest of
// the layer refuses. Windows allows no compressed top-down picture.
TEST(ReadBitmapFile, TopDownRunLengthPicturesAreRefused) {
  for (auto [bits, compression] : {std::pair<WORD, DWORD>{8, BI_RLE8}, {4, BI_RLE4}}) {
    BitmapFile file{.width = 20, .height = -1, .bits = bits, .compression = compression, .sizeImage = 2,
                    .rle = {0, 1}};
    EXPECT_EQ(read(file), nullptr) << bits;
    file.height = 1;
    HGLOBAL dib = read(file);
    EXPECT_NE(dib, nullptr) << bits;
    GlobalFree(dib);
  }
}

// A file larger than one read piece, starting in the middle of an open file.
TEST(ReadBitmapFile, FilesAreReadInPiecesFromTheirCurrentPosition) {
  char dir[MAX_PATH], path[MAX_PATH];
  ASSERT_NE(GetTempPathA(sizeof dir, dir), 0u);
  ASSERT_NE(GetTempFileNameA(dir, "dib", 0, path), 0u);
  BitmapFile file{.width = 200, .height = 100};  // 60,000 bytes of bits
  auto b = file.bytes();
  FILE* f = std::fopen(path, "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("prefix", f);
  std::fwrite(b.data(), 1, b.size(), f);
  std::fclose(f);

  OFSTRUCT of{};
  HFILE h = OpenFile(path, &of, OF_READ);
  ASSERT_NE(h, HFILE_ERROR);
  _llseek(h, 6, FILE_BEGIN);
  HGLOBAL dib = win32::gdi::readBitmapFile(h);
  _lclose(h);
  ASSERT_NE(dib, nullptr);
  const auto* p = static_cast<const BYTE*>(GlobalLock(dib));
  EXPECT_EQ(0, std::memcmp(p + 40, b.data() + 54, file.imageBytes()));
  GlobalUnlock(dib);
  GlobalFree(dib);

  EXPECT_EQ(win32::gdi::readBitmapFile(path), nullptr);  // the prefix hides "BM"
  DeleteFileA(path);
  EXPECT_EQ(win32::gdi::readBitmapFile(path), nullptr);
  EXPECT_EQ(win32::gdi::readBitmapFile(static_cast<LPCSTR>(nullptr)), nullptr);
  EXPECT_EQ(win32::gdi::readBitmapFile(HFILE_ERROR), nullptr);
}

TEST(PackedDib, CoreHeadersAreMeasuredToo) {
  BYTE core[12 + 2 * 3 + 4 * 3] = {};
  BITMAPCOREHEADER h{sizeof(BITMAPCOREHEADER), 5, 3, 1, 1};
  std::memcpy(core, &h, sizeof h);
  EXPECT_EQ(win32::gdi::packedDibColours(core), 2);
  EXPECT_EQ(win32::gdi::packedDibPaletteBytes(core), 6u);
  EXPECT_EQ(win32::gdi::packedDibWidth(core), 5);
  EXPECT_EQ(win32::gdi::packedDibHeight(core), 3);
  EXPECT_TRUE(win32::gdi::packedDibFits(core, sizeof core));
  EXPECT_FALSE(win32::gdi::packedDibFits(core, sizeof core - 1));
}

TEST(PackedDib, FitsOnlyWhenTableAndBitsLieInsideTheBlock) {
  auto b = BitmapFile{.bits = 8, .clrUsed = 4}.bytes();
  const BYTE* dib = b.data() + 14;
  size_t size = b.size() - 14;
  struct Case {
    const char* what;
    DWORD clrUsed;
    size_t size;
    bool fits;
  } cases[] = {
      {"whole", 4, size, true},
      {"one byte short", 4, size - 1, false},
      {"a used count larger than the block's table", 200, size, false},
      {"header only", 4, 40, false},
  };
  for (const auto& c : cases) {
    std::vector<BYTE> copy(dib, dib + size);
    std::memcpy(copy.data() + 32, &c.clrUsed, 4);
    EXPECT_EQ(win32::gdi::packedDibFits(copy.data(), c.size), c.fits) << c.what;
  }
  EXPECT_FALSE(win32::gdi::packedDibFits(nullptr, 100));
  EXPECT_FALSE(win32::gdi::packedDibFits("garbage", 8));
}

TEST(PackedDib, PaletteAndDeviceBitmapFromTheBlock) {
  HGLOBAL mono = read(BitmapFile{.bits = 1});
  ASSERT_NE(mono, nullptr);
  HPALETTE palette = win32::gdi::createPackedDibPalette(GlobalLock(mono));
  ASSERT_NE(palette, nullptr);
  PALETTEENTRY entries[2] = {};
  EXPECT_EQ(GetPaletteEntries(palette, 0, 2, entries), 2u);
  EXPECT_EQ(entries[1].peRed, 2);  // 0x00020406: blue 6, green 4, red 2
  EXPECT_EQ(entries[1].peGreen, 4);
  EXPECT_EQ(entries[1].peBlue, 6);
  HBITMAP bitmap = win32::gdi::packedDibToBitmap(GlobalLock(mono), palette);
  ASSERT_NE(bitmap, nullptr);
  BITMAP bm{};
  ASSERT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 2);
  EXPECT_EQ(bm.bmHeight, 2);
  GlobalUnlock(mono);
  GlobalUnlock(mono);
  DeleteObject(bitmap);
  DeleteObject(palette);
  GlobalFree(mono);

  HGLOBAL trueColour = read(BitmapFile{});
  EXPECT_EQ(win32::gdi::createPackedDibPalette(GlobalLock(trueColour)), nullptr);
  GlobalUnlock(trueColour);
  GlobalFree(trueColour);
  EXPECT_EQ(win32::gdi::packedDibToBitmap(nullptr, nullptr), nullptr);
}

}  // namespace
