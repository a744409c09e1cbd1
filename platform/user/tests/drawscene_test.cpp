#include <cairo.h>
#include <gtest/gtest.h>
#include <internal/gdi_surface.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "drawcanvas.h"

namespace {

// A dialog-like panel drawn with the user32 drawing functions.
std::string renderPanel(const std::string& path) {
  cairo_surface_t* surface = win32::gdi::createWindowSurface(240, 140);
  HDC dc = win32::gdi::createSurfaceDC(surface, POINT{0, 0}, nullptr, nullptr);
  RECT all{0, 0, 240, 140};
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
  EXPECT_TRUE(win32::gdi::writePng(surface, path.c_str()));
  cairo_surface_destroy(surface);
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(DrawScene, PanelRendersTheSameEveryTime) {
  const std::string a = renderPanel("/tmp/user32_drawscene_a.png");
  const std::string b = renderPanel("/tmp/user32_drawscene_b.png");
  EXPECT_GT(a.size(), 500u);
  EXPECT_EQ(a, b);
  std::remove("/tmp/user32_drawscene_b.png");
}

}  // namespace
