#include <gtest/gtest.h>

#include <string>

#include "drawcanvas.h"

namespace {

std::string data(const char* name) { return std::string(KY_TEST_DATA) + "/" + name; }

COLORREF pixelOf(HBITMAP bitmap, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return c;
}

TEST(DrawImage, LoadsCoreHeaderAndBitFieldFiles) {
  HBITMAP core = static_cast<HBITMAP>(LoadImageA(nullptr, data("core3x2.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  ASSERT_NE(core, nullptr);
  EXPECT_EQ(pixelOf(core, 0, 1), RGB(255, 0, 0));  // bottom row: red, blue, red
  EXPECT_EQ(pixelOf(core, 1, 1), RGB(0, 0, 255));
  EXPECT_EQ(pixelOf(core, 0, 0), RGB(0, 0, 255));  // top row: blue, blue, red
  EXPECT_EQ(pixelOf(core, 2, 0), RGB(255, 0, 0));
  DeleteObject(core);
  HBITMAP fields = static_cast<HBITMAP>(LoadImageA(nullptr, data("fields565.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  ASSERT_NE(fields, nullptr);
  EXPECT_EQ(pixelOf(fields, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(pixelOf(fields, 1, 0), RGB(0, 255, 0));
  DeleteObject(fields);
}

TEST(DrawImage, LoadsABitmapFileBottomUp) {
  for (UINT flags : {0u, static_cast<UINT>(LR_CREATEDIBSECTION)}) {
    HBITMAP b = static_cast<HBITMAP>(LoadImageA(nullptr, data("rgb3x2.bmp").c_str(), IMAGE_BITMAP, 0, 0,
                                                LR_LOADFROMFILE | flags));
    ASSERT_NE(b, nullptr) << flags;
    BITMAP bm;
    GetObjectA(b, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 3);
    EXPECT_EQ(bm.bmHeight, 2);
    EXPECT_EQ(bm.bmBits != nullptr, flags == LR_CREATEDIBSECTION);
    EXPECT_EQ(pixelOf(b, 0, 1), RGB(255, 0, 0));  // the file's first row is the bottom one
    EXPECT_EQ(pixelOf(b, 2, 1), RGB(0, 0, 255));
    EXPECT_EQ(pixelOf(b, 2, 0), RGB(128, 128, 128));
    DeleteObject(b);
  }
}

TEST(DrawImage, Map3DColoursReplacesTheGreys) {
  HBITMAP plain = static_cast<HBITMAP>(LoadImageA(nullptr, data("greys4.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  HBITMAP mapped = static_cast<HBITMAP>(
      LoadImageA(nullptr, data("greys4.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_LOADMAP3DCOLORS));
  ASSERT_NE(plain, nullptr);
  ASSERT_NE(mapped, nullptr);
  EXPECT_EQ(pixelOf(plain, 2, 0), RGB(192, 192, 192));
  EXPECT_EQ(pixelOf(mapped, 1, 0), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(pixelOf(mapped, 2, 0), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(pixelOf(mapped, 0, 0), RGB(0, 0, 0));
  HBITMAP transparent = static_cast<HBITMAP>(
      LoadImageA(nullptr, data("greys4.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_LOADTRANSPARENT));
  EXPECT_EQ(pixelOf(transparent, 0, 0), GetSysColor(COLOR_WINDOW));
  DeleteObject(plain);
  DeleteObject(mapped);
  DeleteObject(transparent);
}

TEST(DrawImage, CorruptFilesAreRefused) {
  struct Case {
    const char* file;
    UINT type;
    DWORD error;
  } cases[] = {
      {"truncated.bmp", IMAGE_BITMAP, ERROR_INVALID_DATA}, {"huge.bmp", IMAGE_BITMAP, ERROR_INVALID_DATA},
      {"notbmp.bmp", IMAGE_BITMAP, ERROR_INVALID_DATA},    {"badoffset.ico", IMAGE_ICON, ERROR_INVALID_DATA},
      {"rgb3x2.bmp", IMAGE_ICON, ERROR_INVALID_DATA},      {"missing.bmp", IMAGE_BITMAP, ERROR_FILE_NOT_FOUND},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(LoadImageA(nullptr, data(c.file).c_str(), c.type, 0, 0, LR_LOADFROMFILE), nullptr) << c.file;
    EXPECT_EQ(GetLastError(), c.error) << c.file;
  }
  EXPECT_EQ(LoadImageA(nullptr, "x", 7, 0, 0, LR_LOADFROMFILE), nullptr);
}

TEST(DrawImage, IconFilesPickTheSizeAsked) {
  for (int size : {16, 32}) {
    HICON icon = static_cast<HICON>(LoadImageA(nullptr, data("two.ico").c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO ii;
    ASSERT_TRUE(GetIconInfo(icon, &ii));
    BITMAP bm;
    GetObjectA(ii.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, size);
    EXPECT_TRUE(ii.fIcon);
    DeleteObject(ii.hbmMask);
    DeleteObject(ii.hbmColor);
    EXPECT_TRUE(DestroyIcon(icon));
  }
}

TEST(DrawImage, CursorFileKeepsItsHotspot) {
  HCURSOR cursor = static_cast<HCURSOR>(LoadImageA(nullptr, data("arrow.cur").c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
  ASSERT_NE(cursor, nullptr);
  ICONINFO ii;
  ASSERT_TRUE(GetIconInfo(cursor, &ii));
  EXPECT_FALSE(ii.fIcon);
  EXPECT_EQ(ii.xHotspot, 3u);
  EXPECT_EQ(ii.yHotspot, 5u);
  DeleteObject(ii.hbmMask);
  DeleteObject(ii.hbmColor);
  DestroyIcon(cursor);
}

TEST(DrawImage, CopyImageScalesBitmaps) {
  HBITMAP b = static_cast<HBITMAP>(LoadImageA(nullptr, data("rgb3x2.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  HBITMAP big = static_cast<HBITMAP>(CopyImage(b, IMAGE_BITMAP, 6, 4, LR_COPYDELETEORG));
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(GetObjectType(b), 0u);  // the original was deleted
  BITMAP bm;
  GetObjectA(big, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 6);
  EXPECT_EQ(pixelOf(big, 1, 3), RGB(255, 0, 0));
  EXPECT_EQ(pixelOf(big, 5, 3), RGB(0, 0, 255));
  EXPECT_EQ(CopyImage(big, IMAGE_BITMAP, 0, 0, LR_COPYRETURNORG), big);
  DeleteObject(big);
  EXPECT_EQ(CopyImage(nullptr, IMAGE_BITMAP, 0, 0, 0), nullptr);
}

}  // namespace
