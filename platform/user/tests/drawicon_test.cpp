#include <gtest/gtest.h>

#include <string>

#include "drawcanvas.h"

namespace {

std::string data(const char* name) { return std::string(KY_TEST_DATA) + "/" + name; }

TEST(DrawIconTest, MaskLeavesTheBackgroundAndImageIsDrawn) {
  // The 16x16 image of two.ico: left half red, right half blue, top four rows transparent.
  HICON icon = static_cast<HICON>(LoadImageA(nullptr, data("two.ico").c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE));
  ASSERT_NE(icon, nullptr);
  DrawCanvas c(40, 40);
  RECT all{0, 0, 40, 40};
  FillRect(c.dc(), &all, reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1));
  EXPECT_TRUE(DrawIconEx(c.dc(), 4, 4, icon, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(c.at(6, 5), GetSysColor(COLOR_3DFACE));  // transparent rows
  EXPECT_EQ(c.at(6, 12), RGB(255, 0, 0));
  EXPECT_EQ(c.at(16, 12), RGB(0, 0, 255));
  EXPECT_EQ(c.at(21, 12), GetSysColor(COLOR_3DFACE));  // beyond the icon
  // DrawIcon draws at the system size: twice as large.
  FillRect(c.dc(), &all, reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1));
  EXPECT_TRUE(DrawIcon(c.dc(), 0, 0, icon));
  EXPECT_EQ(c.at(30, 20), RGB(0, 0, 255));
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
  EXPECT_FALSE(DrawIcon(c.dc(), 0, 0, icon));
}

TEST(DrawIconTest, AlphaIconsUseTheirAlphaAsMask) {
  HICON icon = static_cast<HICON>(LoadImageA(nullptr, data("two.ico").c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE));
  ASSERT_NE(icon, nullptr);
  DrawCanvas c(32, 32);
  DrawIconEx(c.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(c.at(2, 10), RGB(255, 255, 255));
  EXPECT_EQ(c.at(12, 10), RGB(0, 255, 0));
  DestroyIcon(icon);
}

TEST(DrawIconTest, CreateIconIndirectCopiesAndGetIconInfoAnswersCopies) {
  HBITMAP mask = CreateBitmap(8, 8, 1, 1, nullptr);  // all 0: opaque
  HBITMAP color = CreateBitmap(8, 8, 1, 32, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, color);
  PatBlt(dc, 0, 0, 8, 8, WHITENESS);
  SelectObject(dc, old);
  DeleteDC(dc);
  ICONINFO ii{FALSE, 2, 3, mask, color};
  HICON cursor = CreateIconIndirect(&ii);
  ASSERT_NE(cursor, nullptr);
  DeleteObject(mask);
  DeleteObject(color);
  ICONINFO out;
  ASSERT_TRUE(GetIconInfo(cursor, &out));
  EXPECT_FALSE(out.fIcon);
  EXPECT_EQ(out.xHotspot, 2u);
  EXPECT_EQ(out.yHotspot, 3u);
  EXPECT_NE(out.hbmColor, color);
  DeleteObject(out.hbmMask);
  DeleteObject(out.hbmColor);
  DrawCanvas c(10, 10);
  PatBlt(c.dc(), 0, 0, 10, 10, BLACKNESS);
  DrawIconEx(c.dc(), 1, 1, cursor, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(c.at(1, 1), RGB(255, 255, 255));
  EXPECT_EQ(c.at(9, 9), RGB(0, 0, 0));
  HICON copy = CopyIcon(cursor);
  EXPECT_NE(copy, cursor);
  EXPECT_TRUE(DestroyIcon(copy));
  EXPECT_TRUE(DestroyIcon(cursor));
  ICONINFO empty{TRUE, 0, 0, nullptr, nullptr};
  EXPECT_EQ(CreateIconIndirect(&empty), nullptr);
  EXPECT_EQ(CreateIconIndirect(nullptr), nullptr);
}

TEST(DrawIconTest, MonochromeIconsFromCreateIcon) {
  // AND mask: left half transparent; XOR image: all ones (white where opaque,
  // inverted where transparent).
  BYTE andBits[16 * 2], xorBits[16 * 2];
  for (int i = 0; i < 16; ++i) {
    andBits[2 * i] = 0xFF;
    andBits[2 * i + 1] = 0x00;
    xorBits[2 * i] = 0x00;
    xorBits[2 * i + 1] = 0xFF;
  }
  HICON icon = CreateIcon(nullptr, 16, 16, 1, 1, andBits, xorBits);
  ASSERT_NE(icon, nullptr);
  ICONINFO ii;
  GetIconInfo(icon, &ii);
  EXPECT_EQ(ii.hbmColor, nullptr);
  BITMAP bm;
  GetObjectA(ii.hbmMask, sizeof bm, &bm);
  EXPECT_EQ(bm.bmHeight, 32);  // AND over XOR
  DeleteObject(ii.hbmMask);
  DrawCanvas c(20, 20);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT all{0, 0, 20, 20};
  FillRect(c.dc(), &all, red);
  DrawIconEx(c.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(c.at(2, 2), RGB(255, 0, 0));
  EXPECT_EQ(c.at(12, 2), RGB(255, 255, 255));
  DeleteObject(red);
  DestroyIcon(icon);
}

TEST(DrawIconTest, StandardIconsAreSharedAndDrawable) {
  for (LPCSTR id : {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK, IDI_WINLOGO}) {
    HICON a = LoadIconA(nullptr, id);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(LoadIconA(nullptr, id), a);
    EXPECT_TRUE(DestroyIcon(a));  // shared: stays usable
    DrawCanvas c(32, 32);
    EXPECT_TRUE(DrawIcon(c.dc(), 0, 0, a));
    EXPECT_GT(32 * 32 - c.count(RGB(255, 255, 255)), 100);
    EXPECT_EQ(c.at(0, 0), RGB(255, 255, 255));
  }
  EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
  EXPECT_EQ(LoadIconA(nullptr, "NAMED"), nullptr);
}

TEST(DrawIconTest, ResourceImagesAreCheckedBeforeUse) {
  BYTE junk[64] = {40, 0, 0, 0, 16, 0, 0, 0, 32, 0, 0, 0, 1, 0, 4, 0};
  SetLastError(0);
  EXPECT_EQ(CreateIconFromResourceEx(junk, sizeof junk, TRUE, 0x30000, 0, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  EXPECT_EQ(CreateIconFromResourceEx(junk, 2, FALSE, 0x30000, 0, 0, 0), nullptr);
  EXPECT_EQ(CreateIconFromResourceEx(junk, sizeof junk, TRUE, 5, 0, 0, 0), nullptr);
  BYTE dir[6 + 14 * 2] = {0, 0, 1, 0, 2, 0,
                          16, 16, 16, 0, 1, 0, 4, 0, 0, 1, 0, 0, 7, 0,
                          32, 32, 0, 0, 1, 0, 32, 0, 0, 16, 0, 0, 9, 0};
  EXPECT_EQ(LookupIconIdFromDirectoryEx(dir, TRUE, 32, 32, 0), 9);
  EXPECT_EQ(LookupIconIdFromDirectoryEx(dir, TRUE, 16, 16, 0), 7);
  EXPECT_EQ(LookupIconIdFromDirectory(dir, TRUE), 9);
  EXPECT_EQ(LookupIconIdFromDirectoryEx(dir, FALSE, 32, 32, 0), 0);  // not a cursor directory
}

}  // namespace
