#include <cairo.h>
#include <gtest/gtest.h>
#include <internal/gdi_surface.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "lsan_fontconfig.h"

using namespace win32::gdi;

namespace {

uint32_t pixel(cairo_surface_t* s, int x, int y) {
  cairo_surface_flush(s);
  auto* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
  return reinterpret_cast<uint32_t*>(row)[x] & 0xFFFFFF;
}

TEST(Surface, OriginAndWindowClip) {
  cairo_surface_t* s = createWindowSurface(50, 40);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(pixel(s, 0, 0), 0xFFFFFFu);
  HRGN clip = CreateRectRgn(0, 0, 10, 10);
  HWND window = reinterpret_cast<HWND>(0x20002);
  HDC dc = createSurfaceDC(s, POINT{20, 10}, clip, window);
  ASSERT_NE(dc, nullptr);
  DeleteObject(clip);  // the DC keeps its own copy
  EXPECT_EQ(windowOfDC(dc), window);
  EXPECT_EQ(surfaceOfDC(dc), s);
  PatBlt(dc, -5, -5, 100, 100, BLACKNESS);
  EXPECT_EQ(pixel(s, 20, 10), 0u);
  EXPECT_EQ(pixel(s, 29, 19), 0u);
  EXPECT_EQ(pixel(s, 30, 10), 0xFFFFFFu);
  EXPECT_EQ(pixel(s, 19, 10), 0xFFFFFFu);
  // The application clip narrows the window clip, never widens it.
  HRGN wide = CreateRectRgn(-100, -100, 100, 100);
  SelectClipRgn(dc, wide);
  PatBlt(dc, 0, 0, 50, 50, WHITENESS);
  EXPECT_EQ(pixel(s, 30, 10), 0xFFFFFFu);
  EXPECT_EQ(pixel(s, 20, 10), 0xFFFFFFu);
  DeleteObject(wide);
  RECT box;
  GetClipBox(dc, &box);
  EXPECT_EQ(box.right, 10);
  // Reset for reuse keeps the surface and origin but drops the state.
  SetTextColor(dc, RGB(1, 2, 3));
  resetSurfaceDC(dc);
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(GetClipRgn(dc, CreateRectRgn(0, 0, 0, 0)), 0);
  EXPECT_TRUE(setSurfaceDCOrigin(dc, POINT{0, 0}, nullptr));
  PatBlt(dc, 0, 0, 50, 40, BLACKNESS);
  EXPECT_EQ(pixel(s, 49, 39), 0u);
  releaseSurfaceDC(dc);
  EXPECT_EQ(GetObjectType(dc), 0u);
  cairo_surface_destroy(s);
}

TEST(Surface, RefusesBadSurfaces) {
  SetLastError(0);
  EXPECT_EQ(createSurfaceDC(nullptr, POINT{0, 0}, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  cairo_surface_t* a8 = cairo_image_surface_create(CAIRO_FORMAT_A8, 4, 4);
  EXPECT_EQ(createSurfaceDC(a8, POINT{0, 0}, nullptr, nullptr), nullptr);
  cairo_surface_destroy(a8);
  EXPECT_EQ(createWindowSurface(0, 10), nullptr);
  EXPECT_FALSE(writePng(nullptr, "/tmp/x.png"));
}

std::string render(const std::string& path) {
  cairo_surface_t* s = createWindowSurface(160, 80);
  HDC dc = createSurfaceDC(s, POINT{0, 0}, nullptr, nullptr);
  HBRUSH face = CreateSolidBrush(RGB(212, 208, 200));
  RECT all{0, 0, 160, 80};
  SelectObject(dc, face);
  PatBlt(dc, 0, 0, 160, 80, PATCOPY);
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  Ellipse(dc, 5, 5, 60, 50);
  HFONT font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif");
  SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, 70, 20, "Panel", 5);
  MoveToEx(dc, 0, 79, nullptr);
  LineTo(dc, 160, 0);
  releaseSurfaceDC(dc);
  DeleteObject(face);
  DeleteObject(font);
  (void)all;
  EXPECT_TRUE(writePng(s, path.c_str()));
  cairo_surface_destroy(s);
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Surface, PngOfASceneIsTheSameEveryTime) {
  std::string a = render("/tmp/gdi_surface_test_a.png");
  std::string b = render("/tmp/gdi_surface_test_b.png");
  EXPECT_GT(a.size(), 100u);
  EXPECT_EQ(a.substr(1, 3), "PNG");
  EXPECT_EQ(a, b);
  std::remove("/tmp/gdi_surface_test_a.png");
  std::remove("/tmp/gdi_surface_test_b.png");
  cairo_surface_t* s = createWindowSurface(2, 2);
  SetLastError(0);
  EXPECT_FALSE(writePng(s, "/nonexistent-dir/x.png"));
  EXPECT_NE(GetLastError(), 0u);
  cairo_surface_destroy(s);
}

TEST(Surface, MemoryBitmapsHaveCairoSurfaces) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP b = CreateBitmap(8, 8, 1, 32, nullptr);
  SelectObject(dc, b);
  cairo_surface_t* s = surfaceOfDC(dc);
  ASSERT_NE(s, nullptr);
  SetPixel(dc, 3, 3, RGB(255, 0, 0));
  EXPECT_EQ(pixel(s, 3, 3), 0xFF0000u);
  DeleteDC(dc);
  DeleteObject(b);
}

}  // namespace
