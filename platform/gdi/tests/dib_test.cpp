#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <internal/dib.h>
#include <vector>

#include "canvas.h"

namespace {

struct Info {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

Info infoFor(int width, int height, int bpp) {
  Info info{};
  info.header = {sizeof(BITMAPINFOHEADER), width, height, 1, static_cast<WORD>(bpp), BI_RGB, 0, 0, 0, 0, 0};
  for (int i = 0; i < 256; ++i) {
    // Grey ramps that hold black and white at each depth.
    BYTE v = static_cast<BYTE>(bpp == 1 ? i * 255 : bpp == 4 ? i * 17 : i);
    info.colors[i] = {v, v, v, 0};
  }
  return info;
}

// A DIB section of each depth: drawing shows in the bits, and GetDIBits /
// SetDIBits through a 32-bit form give back the same pixels.
TEST(Dib, SectionRoundTripsForEachDepth) {
  for (int bpp : {1, 4, 8, 16, 24, 32}) {
    for (int height : {5, -5}) {
      Info info = infoFor(7, height, bpp);
      void* bits = nullptr;
      HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
      ASSERT_NE(section, nullptr) << bpp;
      ASSERT_NE(bits, nullptr);
      DIBSECTION ds;
      ASSERT_EQ(GetObjectA(section, sizeof ds, &ds), static_cast<int>(sizeof ds));
      EXPECT_EQ(ds.dsBm.bmBits, bits);
      EXPECT_EQ(ds.dsBmih.biBitCount, bpp);
      HDC dc = CreateCompatibleDC(nullptr);
      HGDIOBJ old = SelectObject(dc, section);
      std::memset(bits, 0, ds.dsBm.bmWidthBytes * 5);
      // Drawing lands in the bits: the top-left pixel is the first row of a
      // top-down DIB and the last row of a bottom-up one.
      SetPixel(dc, 0, 0, RGB(255, 255, 255));
      const BYTE* row = static_cast<BYTE*>(bits) + (height < 0 ? 0 : 4 * ds.dsBm.bmWidthBytes);
      EXPECT_NE(row[0], 0) << bpp << " " << height;
      // The bits written by hand show when drawing reads them.
      std::vector<COLORREF> before;
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) before.push_back(GetPixel(dc, x, y));
      Info as32 = infoFor(7, -5, 32);
      std::vector<DWORD> pixels(35);
      EXPECT_EQ(GetDIBits(dc, section, 0, 5, pixels.data(), reinterpret_cast<BITMAPINFO*>(&as32), DIB_RGB_COLORS), 5);
      EXPECT_EQ(pixels[0] & 0xFFFFFF, 0xFFFFFFu) << bpp;
      SelectObject(dc, old);
      std::memset(bits, 0, ds.dsBm.bmWidthBytes * 5);
      EXPECT_EQ(SetDIBits(dc, section, 0, 5, pixels.data(), reinterpret_cast<BITMAPINFO*>(&as32), DIB_RGB_COLORS), 5);
      SelectObject(dc, section);
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(GetPixel(dc, x, y), before[y * 7 + x]) << bpp << " " << x << "," << y;
      SelectObject(dc, old);
      DeleteDC(dc);
      DeleteObject(section);
    }
  }
}

TEST(Dib, BitFieldsAndHeaderQueries) {
  struct {
    BITMAPINFOHEADER h;
    DWORD masks[3];
  } info{{sizeof(BITMAPINFOHEADER), 2, 1, 1, 16, BI_BITFIELDS, 0, 0, 0, 0, 0}, {0xF800, 0x07E0, 0x001F}};
  void* bits;
  HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(section, nullptr);
  static_cast<WORD*>(bits)[0] = 0xF800;  // pure red in 5-6-5
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, section);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  SetPixel(dc, 1, 0, RGB(0, 255, 0));
  EXPECT_EQ(static_cast<WORD*>(bits)[1], 0x07E0);
  BITMAPINFO query{};
  query.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  HBITMAP ddb = CreateBitmap(9, 4, 1, 32, nullptr);
  EXPECT_GT(GetDIBits(dc, ddb, 0, 0, nullptr, &query, DIB_RGB_COLORS), 0);
  EXPECT_EQ(query.bmiHeader.biWidth, 9);
  EXPECT_EQ(query.bmiHeader.biHeight, 4);
  EXPECT_EQ(query.bmiHeader.biBitCount, 32);
  EXPECT_EQ(query.bmiHeader.biSizeImage, 9u * 4 * 4);
  DeleteDC(dc);
  DeleteObject(section);
  DeleteObject(ddb);
}

TEST(Dib, InvalidHeadersAreRefused) {
  struct Case {
    LONG width, height;
    WORD planes, bpp;
    DWORD compression;
  } cases[] = {
      {0, 1, 1, 8, BI_RGB}, {1, 0, 1, 8, BI_RGB},  {1, 1, 2, 8, BI_RGB}, {1, 1, 1, 7, BI_RGB},
      {1, 1, 1, 8, BI_BITFIELDS}, {1, 1, 1, 24, 9}, {100000, 100000, 1, 32, BI_RGB}, {-4, 1, 1, 8, BI_RGB},
  };
  for (const auto& c : cases) {
    Info info = infoFor(c.width, c.height, c.bpp);
    info.header.biPlanes = c.planes;
    info.header.biCompression = c.compression;
    void* bits = reinterpret_cast<void*>(1);
    SetLastError(0);
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    EXPECT_NE(GetLastError(), 0u);
  }
  EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
}

TEST(Dib, StretchDIBitsCountsSourceRowsFromTheBottom) {
  // A bottom-up 2x2 DIB: the first row in memory is the bottom row.
  Info info = infoFor(2, 2, 32);
  DWORD pixels[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};  // bottom: red, green; top: blue, white
  Canvas c(4, 4);
  EXPECT_EQ(StretchDIBits(c.dc(), 0, 0, 2, 2, 0, 0, 2, 2, pixels, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(c.at(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(c.at(0, 1), RGB(255, 0, 0));
  EXPECT_EQ(SetDIBitsToDevice(c.dc(), 2, 2, 2, 2, 0, 0, 0, 2, pixels, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS), 2);
  EXPECT_EQ(c.at(3, 2), RGB(255, 255, 255));
  EXPECT_EQ(c.at(3, 3), RGB(0, 255, 0));
}

TEST(Dib, Rle8IsDecodedWithinBounds) {
  Info info = infoFor(4, 2, 8);
  info.header.biCompression = BI_RLE8;
  info.colors[1] = {0, 0, 255, 0};  // red
  // Bottom row: 4 x index 1; end of line; top row: absolute run of 3 then a run past the edge.
  BYTE data[] = {4, 1, 0, 0, 0, 3, 1, 0, 1, 0, 200, 1, 0, 1};
  info.header.biSizeImage = sizeof data;
  HDC screen = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &info.header, CBM_INIT, data, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ASSERT_NE(bitmap, nullptr);
  SelectObject(screen, bitmap);
  EXPECT_EQ(GetPixel(screen, 0, 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(screen, 3, 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(screen, 0, 0), RGB(255, 0, 0));
  DeleteDC(screen);
  DeleteObject(bitmap);
}

TEST(Dib, PackedLayoutHelpers) {
  Info info = infoFor(3, 3, 4);
  EXPECT_EQ(win32::gdi::dibBitsOffset(&info, sizeof info), 40u + 16 * 4);
  EXPECT_EQ(win32::gdi::dibImageSize(&info, sizeof info), 4u * 3);
  info.header.biClrUsed = 2;
  EXPECT_EQ(win32::gdi::dibBitsOffset(&info, sizeof info), 40u + 2 * 4);
  EXPECT_EQ(win32::gdi::dibBitsOffset(&info, 41), 0u);  // the table does not fit
  BITMAPCOREHEADER core{sizeof(BITMAPCOREHEADER), 2, 2, 1, 1};
  BYTE packed[12 + 6] = {};
  std::memcpy(packed, &core, sizeof core);
  EXPECT_EQ(win32::gdi::dibBitsOffset(packed, sizeof packed), 12u + 2 * 3);
  EXPECT_EQ(win32::gdi::dibBitsOffset("garbage", 8), 0u);
}

// A top-down 32-bit DIB section selected into a memory DC of its own.
class Section32 {
 public:
  Section32(int width, int height, DWORD fill) : info_(infoFor(width, -height, 32)) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(nullptr, info(), DIB_RGB_COLORS, &bits_, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    std::fill_n(pixels(), width * height, fill);
  }
  ~Section32() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  DWORD* pixels() const { return static_cast<DWORD*>(bits_); }
  const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(&info_); }

 private:
  Info info_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  void* bits_ = nullptr;
};

TEST(Dib, ThirtyTwoBitCopiesKeepTheFourthByte) {
  const DWORD value = 0xFEDCBA98;
  using Copy = std::function<bool(const Section32& to, const Section32& from)>;
  const struct {
    const char* name;
    Copy copy;
  } cases[] = {
      {"BitBlt", [](auto& to, auto& from) { return BitBlt(to.dc(), 0, 0, 2, 2, from.dc(), 0, 0, SRCCOPY); }},
      {"StretchBlt 1:1",
       [](auto& to, auto& from) { return StretchBlt(to.dc(), 0, 0, 2, 2, from.dc(), 0, 0, 2, 2, SRCCOPY); }},
      {"StretchBlt enlarging",
       [](auto& to, auto& from) { return StretchBlt(to.dc(), 0, 0, 2, 2, from.dc(), 0, 0, 1, 1, SRCCOPY); }},
      {"StretchBlt mirrored",
       [](auto& to, auto& from) { return StretchBlt(to.dc(), 2, 0, -2, 2, from.dc(), 0, 0, 2, 2, SRCCOPY); }},
      {"StretchDIBits",
       [](auto& to, auto& from) {
         return StretchDIBits(to.dc(), 0, 0, 2, 2, 0, 0, 2, 2, from.pixels(), from.info(), DIB_RGB_COLORS,
                              SRCCOPY) == 2;
       }},
      {"GetDIBits",
       [](auto& to, auto& from) {
         Info info = infoFor(2, -2, 32);
         return GetDIBits(from.dc(), from.bitmap(), 0, 2, to.pixels(), reinterpret_cast<BITMAPINFO*>(&info),
                          DIB_RGB_COLORS) == 2;
       }},
  };
  for (const auto& c : cases) {
    Section32 from(2, 2, value), to(2, 2, 0);
    GdiFlush();
    EXPECT_TRUE(c.copy(to, from)) << c.name;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(to.pixels()[i], value) << c.name << " pixel " << i;
  }
}

// Reads pixel 0 of memory row `row` of a DIB of `bpp` bits as its raw value.
DWORD firstPixelOfRow(const std::vector<BYTE>& bits, int row, int width, int bpp) {
  const BYTE* p = bits.data() + row * ((width * bpp + 31) / 32 * 4);
  switch (bpp) {
    case 16: return p[0] | (p[1] << 8);
    case 24: return p[0] | (p[1] << 8) | (p[2] << 16);
    default: return (p[0] | (p[1] << 8) | (p[2] << 16)) & 0xFFFFFF;
  }
}

TEST(Dib, GetDIBitsOrdersRowsByTheSignOfTheHeight) {
  // Image rows top to bottom: red, green, blue; their raw values per depth.
  const COLORREF rows[3] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
  const struct {
    int bpp;
    DWORD raw[3];
  } depths[] = {
      {16, {0x7C00, 0x03E0, 0x001F}},
      {24, {0xFF0000, 0x00FF00, 0x0000FF}},
      {32, {0xFF0000, 0x00FF00, 0x0000FF}},
  };
  Canvas canvas(2, 3);
  for (int y = 0; y < 3; ++y) SetPixel(canvas.dc(), 0, y, rows[y]);
  for (const auto& d : depths) {
    for (int height : {3, -3}) {
      Info info = infoFor(2, height, d.bpp);
      std::vector<BYTE> bits(3 * ((2 * d.bpp + 31) / 32 * 4));
      ASSERT_EQ(GetDIBits(canvas.dc(), canvas.bitmap(), 0, 3, bits.data(), reinterpret_cast<BITMAPINFO*>(&info),
                          DIB_RGB_COLORS), 3);
      for (int row = 0; row < 3; ++row) {
        int imageRow = height < 0 ? row : 2 - row;
        EXPECT_EQ(firstPixelOfRow(bits, row, 2, d.bpp), d.raw[imageRow]) << d.bpp << " bits, height " << height;
      }
    }
  }
}

TEST(Dib, GetDIBitsReportsTheBitFieldsOfTheRowsItGives) {
  struct MaskedInfo {
    BITMAPINFOHEADER h;
    DWORD masks[3];
  };
  MaskedInfo section555{{sizeof(BITMAPINFOHEADER), 1, 1, 1, 16, BI_BITFIELDS, 0, 0, 0, 0, 0}, {0x7C00, 0x03E0, 0x001F}};
  void* sectionBits = nullptr;
  HBITMAP section =
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&section555), DIB_RGB_COLORS, &sectionBits, nullptr, 0);
  ASSERT_NE(section, nullptr);
  Canvas canvas(1, 1);
  SetPixel(canvas.dc(), 0, 0, RGB(255, 0, 0));
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, section);
  SetPixel(dc, 0, 0, RGB(255, 0, 0));
  SelectObject(dc, old);
  const struct {
    const char* name;
    HBITMAP bitmap;
    WORD bpp;
    DWORD masks[3];
    DWORD red;
  } cases[] = {
      {"32-bit bitmap as 16", canvas.bitmap(), 16, {0xF800, 0x07E0, 0x001F}, 0xF800},
      {"32-bit bitmap as 32", canvas.bitmap(), 32, {0xFF0000, 0x00FF00, 0x0000FF}, 0xFF0000},
      {"5-5-5 section as 16", section, 16, {0x7C00, 0x03E0, 0x001F}, 0x7C00},
  };
  for (const auto& c : cases) {
    // The caller's masks are overwritten, not obeyed.
    MaskedInfo info{{sizeof(BITMAPINFOHEADER), 1, 1, 1, c.bpp, BI_BITFIELDS, 0, 0, 0, 0, 0}, {0x1, 0x2, 0x4}};
    DWORD pixel = 0;
    EXPECT_EQ(GetDIBits(dc, c.bitmap, 0, 1, &pixel, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS), 1) << c.name;
    EXPECT_EQ(info.h.biCompression, DWORD(BI_BITFIELDS)) << c.name;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(info.masks[i], c.masks[i]) << c.name << " mask " << i;
    EXPECT_EQ(pixel, c.red) << c.name;
  }
  DeleteDC(dc);
  DeleteObject(section);
}

}  // namespace
