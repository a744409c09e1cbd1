// A dialog-like panel drawn with the user32 drawing functions onto a window
// surface: the pixels the drawing rules decide are probed, and the PNG file
// of the surface reads back as the same pixels.
#include <cairo.h>
#include <gtest/gtest.h>
#include <internal/gdi_surface.h>
#include <internal/scratchdir.h>

#include <cstring>
#include <string>

#include "drawcanvas.h"

namespace {

struct Surface {
  cairo_surface_t* s;
  explicit Surface(cairo_surface_t* surface) : s(surface) {}
  ~Surface() { cairo_surface_destroy(s); }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  COLORREF at(int x, int y) const {
    cairo_surface_flush(s);
    const auto* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    const uint32_t v = reinterpret_cast<const uint32_t*>(row)[x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  // Whether any pixel of `r` differs from `background` (ink is there).
  bool inked(RECT r, COLORREF background) const {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (at(x, y) != background) return true;
    return false;
  }
};

constexpr int kWidth = 240, kHeight = 140;

cairo_surface_t* renderPanel() {
  cairo_surface_t* surface = win32::gdi::createWindowSurface(kWidth, kHeight);
  HDC dc = win32::gdi::createSurfaceDC(surface, POINT{0, 0}, nullptr, nullptr);
  RECT all{0, 0, kWidth, kHeight};
  FillRect(dc, &all, reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1));
  RECT frame = all;
  DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT | BF_ADJUST);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  RECT label{10, 10, 230, 40};
  DrawTextA(dc, "&Name of the customer, wrapped over lines", -1, &label, DT_WORDBREAK);
  RECT edit{10, 44, 150, 64};
  DrawEdge(dc, &edit, EDGE_SUNKEN, BF_RECT | BF_ADJUST | BF_MIDDLE);
  FillRect(dc, &edit, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  DrawTextA(dc, "Smith & Sons", -1, &edit, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  RECT check{10, 72, 23, 85};
  DrawFrameControl(dc, &check, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  RECT radio{10, 92, 23, 105};
  DrawFrameControl(dc, &radio, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
  RECT button{150, 100, 225, 125};
  DrawFrameControl(dc, &button, DFC_BUTTON, DFCS_BUTTONPUSH);
  DrawTextA(dc, "O&K", -1, &button, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  InflateRect(&button, -4, -4);
  DrawFocusRect(dc, &button);
  DrawIcon(dc, 190, 44, LoadIconA(nullptr, IDI_EXCLAMATION));
  win32::gdi::releaseSurfaceDC(dc);
  return surface;
}

TEST(DrawScene, PanelPixelsFollowTheDrawingRules) {
  Surface panel(renderPanel());
  const COLORREF face = GetSysColor(COLOR_3DFACE), window = GetSysColor(COLOR_WINDOW);
  struct Probe {
    int x, y;
    int colour;  // a system colour index
    const char* what;
  } probes[] = {
      {0, 70, COLOR_3DLIGHT, "raised frame, outer top-left"},
      {1, 70, COLOR_3DHILIGHT, "raised frame, inner top-left"},
      {239, 70, COLOR_3DDKSHADOW, "raised frame, outer bottom-right"},
      {238, 70, COLOR_3DSHADOW, "raised frame, inner bottom-right"},
      {120, 139, COLOR_3DDKSHADOW, "raised frame, bottom"},
      {5, 5, COLOR_3DFACE, "face inside the frame"},
      {10, 54, COLOR_3DSHADOW, "sunken field, outer left"},
      {11, 54, COLOR_3DDKSHADOW, "sunken field, inner left"},
      {149, 54, COLOR_3DHILIGHT, "sunken field, outer right"},
      {148, 54, COLOR_3DLIGHT, "sunken field, inner right"},
      {140, 54, COLOR_WINDOW, "field, right of its text"},
      {16, 78, COLOR_WINDOWTEXT, "the check box's mark"},
      {16, 98, COLOR_WINDOWTEXT, "the radio button's dot"},
  };
  for (const Probe& p : probes) EXPECT_EQ(panel.at(p.x, p.y), GetSysColor(p.colour)) << p.what;
  // The field's text starts at its left and is centred on its height.
  EXPECT_TRUE(panel.inked({12, 48, 40, 60}, window));
  EXPECT_FALSE(panel.inked({100, 46, 146, 62}, window));
  // The label wraps: ink on its second line, none to the right of its box.
  EXPECT_TRUE(panel.inked({10, 10, 230, 24}, face));
  EXPECT_TRUE(panel.inked({10, 24, 230, 40}, face));
  EXPECT_FALSE(panel.inked({231, 10, 237, 40}, face));
  // The button's caption is centred: ink in the middle, none at its sides.
  EXPECT_TRUE(panel.inked({175, 106, 200, 119}, face));
  EXPECT_FALSE(panel.inked({156, 106, 170, 119}, face));
  // The focus rectangle is dotted: every other pixel of its top edge.
  EXPECT_NE(panel.at(154, 104), panel.at(155, 104));
  EXPECT_EQ(panel.at(154, 104), panel.at(156, 104));
  // The icon sits at its point, 32 pixels wide, and nowhere else.
  EXPECT_TRUE(panel.inked({190, 44, 222, 76}, face));
  EXPECT_FALSE(panel.inked({224, 44, 236, 76}, face));
}

TEST(DrawScene, ThePngHoldsThePanelsPixels) {
  kytest::ScratchDir dir;
  Surface panel(renderPanel());
  const std::string path = dir / "panel.png";
  ASSERT_TRUE(win32::gdi::writePng(panel.s, path.c_str()));
  Surface read(cairo_image_surface_create_from_png(path.c_str()));
  ASSERT_EQ(cairo_surface_status(read.s), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_image_surface_get_width(read.s), kWidth);
  ASSERT_EQ(cairo_image_surface_get_height(read.s), kHeight);
  int different = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) different += read.at(x, y) != panel.at(x, y);
  EXPECT_EQ(different, 0);
  // Drawing again gives the same pixels.
  Surface again(renderPanel());
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) different += again.at(x, y) != panel.at(x, y);
  EXPECT_EQ(different, 0);
}

}  // namespace
