#include <cairo.h>
#include <gtest/gtest.h>
#include <internal/gdi_surface.h>
#include <internal/scratchdir.h>
#include <windows.h>

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
  EXPECT_FALSE(writePng(nullptr, "x.png"));
}

// A scene of a face, a white ellipse, text and a diagonal line.
cairo_surface_t* renderScene() {
  cairo_surface_t* s = createWindowSurface(160, 80);
  HDC dc = createSurfaceDC(s, POINT{0, 0}, nullptr, nullptr);
  HBRUSH face = CreateSolidBrush(RGB(212, 208, 200));
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
  return s;
}

TEST(Surface, SceneFollowsThePixelRules) {
  cairo_surface_t* s = renderScene();
  constexpr uint32_t kFace = 0xD4D0C8, kWhite = 0xFFFFFF, kBlack = 0;
  struct Probe {
    int x, y;
    uint32_t colour;
    const char* what;
  } probes[] = {
      {150, 75, kFace, "the face, away from everything"},
      {32, 27, kWhite, "the ellipse's inside"},
      {5, 27, kBlack, "the ellipse's left edge, on the box"},
      {32, 5, kBlack, "the ellipse's top edge, on the box"},
      {59, 27, kBlack, "the ellipse's right edge, the box's last column"},
      {60, 27, kFace, "right of the box"},
      {6, 6, kFace, "the box's corner, outside the ellipse"},
      {0, 79, kBlack, "the line's first point"},
      {32, 63, kBlack, "the line on its way"},
      {32, 65, kFace, "below the line"},
  };
  for (const Probe& p : probes) EXPECT_EQ(pixel(s, p.x, p.y), p.colour) << p.what;
  // The text starts at its point: ink from x 70 on, between the top and the
  // cell's height, nothing to its left.
  auto inked = [&](int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (pixel(s, x, y) != kFace) return true;
    return false;
  };
  EXPECT_TRUE(inked(70, 20, 80, 34));
  EXPECT_FALSE(inked(62, 20, 69, 34));
  EXPECT_FALSE(inked(70, 0, 110, 19));
  cairo_surface_destroy(s);
}

TEST(Surface, PngReadsBackAsTheSurface) {
  kytest::ScratchDir dir;
  cairo_surface_t* s = renderScene();
  const std::string path = dir / "scene.png";
  ASSERT_TRUE(writePng(s, path.c_str()));
  cairo_surface_t* read = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(read), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_image_surface_get_width(read), 160);
  ASSERT_EQ(cairo_image_surface_get_height(read), 80);
  int different = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 160; ++x) different += pixel(read, x, y) != pixel(s, x, y);
  EXPECT_EQ(different, 0);
  cairo_surface_destroy(read);
  cairo_surface_destroy(s);
  s = createWindowSurface(2, 2);
  SetLastError(0);
  EXPECT_FALSE(writePng(s, (dir.path() / "missing" / "x.png").c_str()));
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
