// DIB functions: made, measured, saved and loaded back byte for byte,
// converted to and from device bitmaps with their pixels, and the refusals
// of blocks and files that are not sound DIBs.
#include <gtest/gtest.h>
#include <internal/testbitmap.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "KyDIBUtil.h"
#include "scratchdir.h"

namespace {

std::vector<BYTE> bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<BYTE> blockOf(HDIB dib) {
  auto* p = static_cast<BYTE*>(GlobalLock(dib));
  std::vector<BYTE> out(p, p + GlobalSize(dib));
  GlobalUnlock(dib);
  return out;
}

HDIB blockFrom(const std::vector<BYTE>& bytes) {
  HDIB dib = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(dib), bytes.data(), bytes.size());
  GlobalUnlock(dib);
  return dib;
}

TEST(DIBUtil, CreatedDIBsAreMeasuredByTheirHeader) {
  struct Case {
    WORD asked, bits;
    WORD colours;
  } cases[] = {{1, 1, 2}, {3, 4, 16}, {8, 8, 256}, {16, 24, 0}, {24, 24, 0}, {32, 24, 0}};
  for (const auto& c : cases) {
    HDIB dib = CreateDIB(5, 3, c.asked);
    ASSERT_NE(dib, nullptr);
    auto* p = static_cast<LPSTR>(GlobalLock(dib));
    auto* bi = reinterpret_cast<BITMAPINFOHEADER*>(p);
    EXPECT_EQ(bi->biBitCount, c.bits);
    EXPECT_EQ(DIBWidth(p), 5u);
    EXPECT_EQ(DIBHeight(p), 3u);
    EXPECT_EQ(DIBNumColors(p), c.colours);
    EXPECT_EQ(PaletteSize(p), c.colours * 4);
    EXPECT_EQ(FindDIBBits(p), p + 40 + c.colours * 4);
    EXPECT_EQ(KyFindDIBBits(p), FindDIBBits(p));
    EXPECT_EQ(GlobalSize(dib), 40u + c.colours * 4 + (c.bits * 5 + 31) / 32 * 4 * 3);
    GlobalUnlock(dib);
    EXPECT_EQ(DestroyDIB(dib), 0);
  }
  EXPECT_EQ(CreateDIB(0, 3, 8), nullptr);
}

TEST(DIBUtil, SavedFilesLoadBackUnchanged) {
  ScratchDir dir;
  struct Case {
    const char* what;
    win32::testing::BitmapFile file;
  } cases[] = {
      {"24 bits", {.width = 3, .height = 2}},
      {"1 bit", {.width = 9, .bits = 1}},
      {"8 bits, 5 colours", {.width = 4, .bits = 8, .clrUsed = 5}},
      {"top-down 4 bits", {.width = 3, .height = -2, .bits = 4}},
  };
  for (const auto& c : cases) {
    std::string in = dir.File("in.bmp"), out = dir.File("out.bmp");
    auto original = c.file.bytes();
    std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(original.data()), original.size());
    HDIB dib = LoadDIB(in.c_str());
    ASSERT_NE(dib, nullptr) << c.what;
    ASSERT_EQ(SaveDIB(dib, out.c_str()), KY_DIB_SAVED) << c.what;
    auto saved = bytesOf(out);
    // The file header and everything behind the information header equal
    // the original; the header gains its used-colour count and image size.
    ASSERT_EQ(saved.size(), original.size()) << c.what;
    EXPECT_EQ(std::vector<BYTE>(saved.begin(), saved.begin() + 14), std::vector<BYTE>(original.begin(), original.begin() + 14)) << c.what;
    EXPECT_EQ(std::vector<BYTE>(saved.begin() + 54, saved.end()), std::vector<BYTE>(original.begin() + 54, original.end())) << c.what;
    HDIB again = LoadDIB(out.c_str());
    ASSERT_NE(again, nullptr) << c.what;
    EXPECT_EQ(blockOf(again), blockOf(dib)) << c.what;
    DestroyDIB(again);
    DestroyDIB(dib);
  }
}

TEST(DIBUtil, SaveWritesTheSizeOfThePaddedRowsAndRefusesUnsoundBlocks) {
  ScratchDir dir;
  std::string path = dir.File("s.bmp");
  HDIB dib = CreateDIB(3, 5, 24);  // rows of 9 bytes padded to 12
  ASSERT_EQ(SaveDIB(dib, path.c_str()), KY_DIB_SAVED);
  auto b = bytesOf(path);
  DWORD fileSize, imageSize;
  std::memcpy(&fileSize, &b[2], 4);
  std::memcpy(&imageSize, &b[14 + 20], 4);
  EXPECT_EQ(fileSize, 14u + 40 + 12 * 5);
  EXPECT_EQ(imageSize, 12u * 5);
  EXPECT_EQ(b.size(), fileSize);

  EXPECT_EQ(SaveDIB(nullptr, path.c_str()), KY_DIB_NO_DIB);
  EXPECT_EQ(SaveDIB(dib, dir.File("no/such/dir/x.bmp").c_str()), KY_DIB_FILE_ERROR);
  auto block = blockOf(dib);
  block.resize(block.size() - 1);  // a block one byte short of its bits
  HDIB shortBlock = blockFrom(block);
  EXPECT_EQ(SaveDIB(shortBlock, path.c_str()), KY_DIB_LOCK_ERROR);
  EXPECT_EQ(DIBToBitmap(shortBlock, nullptr), nullptr);
  EXPECT_EQ(CreateDIBPalette(shortBlock), nullptr);
  DestroyDIB(shortBlock);
  DestroyDIB(dib);
}

TEST(DIBUtil, CoreHeaderDIBsAreSavedWithTheirHeader) {
  ScratchDir dir;
  // A 2 x 2 monochrome DIB behind a 12-byte header: two RGB triples, rows of 4 bytes.
  std::vector<BYTE> core(12 + 6 + 8, 0);
  BITMAPCOREHEADER h{12, 2, 2, 1, 1};
  std::memcpy(core.data(), &h, sizeof h);
  core[12 + 3] = core[12 + 4] = core[12 + 5] = 0xFF;  // entry 1 white
  core[18] = 0x80;                                    // bottom row: first pixel white
  HDIB dib = blockFrom(core);
  std::string path = dir.File("core.bmp");
  ASSERT_EQ(SaveDIB(dib, path.c_str()), KY_DIB_SAVED);
  auto b = bytesOf(path);
  ASSERT_EQ(b.size(), 14u + core.size());
  EXPECT_EQ(std::vector<BYTE>(b.begin() + 14, b.end()), core);
  DWORD bitsOffset;
  std::memcpy(&bitsOffset, &b[10], 4);
  EXPECT_EQ(bitsOffset, 14u + 12 + 6);
  HPALETTE palette = CreateDIBPalette(dib);
  ASSERT_NE(palette, nullptr);
  PALETTEENTRY e[2];
  EXPECT_EQ(GetPaletteEntries(palette, 0, 2, e), 2u);
  EXPECT_EQ(e[1].peRed, 0xFF);
  DeleteObject(palette);
  DestroyDIB(dib);
}

TEST(DIBUtil, BitmapsAndDIBsConvertWithTheirPixels) {
  HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 3);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT all{0, 0, 4, 3};
  FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetPixel(memory, 0, 0, RGB(255, 0, 0));
  SetPixel(memory, 3, 2, RGB(0, 0, 255));
  SelectObject(memory, old);

  struct Case {
    WORD bits;
    WORD colours;
  } cases[] = {{24, 0}, {8, 256}};
  for (const auto& c : cases) {
    HDIB dib = ChangeBitmapFormat(bitmap, c.bits, BI_RGB, nullptr);
    ASSERT_NE(dib, nullptr) << c.bits;
    auto* p = static_cast<LPSTR>(GlobalLock(dib));
    EXPECT_EQ(DIBWidth(p), 4u);
    EXPECT_EQ(DIBHeight(p), 3u);
    EXPECT_EQ(reinterpret_cast<BITMAPINFOHEADER*>(p)->biBitCount, c.bits);
    EXPECT_EQ(DIBNumColors(p), c.colours);
    GlobalUnlock(dib);
    HPALETTE palette = CreateDIBPalette(dib);
    HBITMAP back = DIBToBitmap(dib, palette);
    ASSERT_NE(back, nullptr);
    HGDIOBJ prev = SelectObject(memory, back);
    EXPECT_EQ(GetPixel(memory, 0, 0), RGB(255, 0, 0)) << c.bits;
    EXPECT_EQ(GetPixel(memory, 3, 2), RGB(0, 0, 255)) << c.bits;
    EXPECT_EQ(GetPixel(memory, 1, 1), RGB(255, 255, 255)) << c.bits;
    SelectObject(memory, prev);
    DeleteObject(back);
    if (palette) DeleteObject(palette);
    HDIB changed = ChangeDIBFormat(dib, 24, BI_RGB);
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(reinterpret_cast<BITMAPINFOHEADER*>(GlobalLock(changed))->biBitCount, 24);
    GlobalUnlock(changed);
    DestroyDIB(changed);
    DestroyDIB(dib);
  }
  EXPECT_EQ(ChangeBitmapFormat(bitmap, 8, BI_RLE8, nullptr), nullptr);  // no RLE writer
  HDIB same = BitmapToDIB(bitmap, nullptr);
  ASSERT_NE(same, nullptr);
  DestroyDIB(same);
  EXPECT_EQ(BitmapToDIB(nullptr, nullptr), nullptr);
  DeleteObject(bitmap);
  DeleteDC(memory);
  DeleteDC(screen);
}

TEST(DIBUtil, WindowsAndTheScreenAreCopiedAtTheirSize) {
  HWND w = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 10, 10, 60, 40, nullptr, nullptr,
                           nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  RECT client;
  GetClientRect(w, &client);
  struct Case {
    WORD which;
    LONG width, height;
  } cases[] = {{PW_WINDOW, 60, 40}, {PW_CLIENT, client.right, client.bottom}};
  for (const auto& c : cases) {
    HDIB dib = KyDIBUtil::CopyWindowToDIB(w, c.which);
    ASSERT_NE(dib, nullptr) << c.which;
    auto* p = static_cast<LPSTR>(GlobalLock(dib));
    EXPECT_EQ(static_cast<LONG>(DIBWidth(p)), c.width);
    EXPECT_EQ(static_cast<LONG>(DIBHeight(p)), c.height);
    GlobalUnlock(dib);
    DestroyDIB(dib);
  }
  EXPECT_EQ(CopyWindowToDIB(w, 3), nullptr);
  DestroyWindow(w);
  EXPECT_EQ(CopyWindowToDIB(w, PW_WINDOW), nullptr);

  RECT r{-10, -10, 20, 30};  // cut to the screen: 20 x 30
  HDIB screen = CopyScreenToDIB(&r);
  ASSERT_NE(screen, nullptr);
  auto* p = static_cast<LPSTR>(GlobalLock(screen));
  EXPECT_EQ(DIBWidth(p), 20u);
  EXPECT_EQ(DIBHeight(p), 30u);
  GlobalUnlock(screen);
  DestroyDIB(screen);
  RECT off{-50, -50, -10, -10};
  EXPECT_EQ(CopyScreenToBitmap(&off), nullptr);
  EXPECT_EQ(CopyScreenToBitmap(nullptr), nullptr);
}

TEST(DIBUtil, DamagedFilesLoadNothing) {
  ScratchDir dir;
  std::string path = dir.File("bad.bmp");
  auto b = win32::testing::BitmapFile{.bits = 8, .clrUsed = 300, .tableEntries = 0}.bytes();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
  EXPECT_EQ(LoadDIB(path.c_str()), nullptr);
  EXPECT_EQ(LoadDIB(dir.File("missing.bmp").c_str()), nullptr);
  EXPECT_EQ(LoadDIB(nullptr), nullptr);
}

}  // namespace
