// Rendering a window with its children to a PNG file or reading its pixels.
#include <internal/snapshot.h>

#include <internal/gdi_surface.h>

#include "window.h"

#include <cairo.h>

namespace win32::snapshot {
namespace {

// Paints what is pending and answers the top-level surface (a new
// reference) and where `hwnd`'s window rectangle lies in it.
cairo_surface_t* renderedSurface(HWND hwnd, RECT& inSurface) {
  HWND top = GetAncestor(hwnd, GA_ROOT);
  if (!top) return nullptr;
  RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  using namespace win32::user;
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  Window* t = findLocked(top);
  if (!w || !t || !makeSurfaceLocked(*t)) {
    setWindowError();
    return nullptr;
  }
  RECT tr = windowRectOnScreen(t), wr = windowRectOnScreen(w);
  inSurface = wr;
  OffsetRect(&inSurface, -tr.left, -tr.top);
  cairo_surface_flush(t->surface);
  return cairo_surface_reference(t->surface);
}

}  // namespace

BOOL saveWindowPng(HWND hwnd, const char* path) {
  if (!path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  RECT r;
  cairo_surface_t* surface = renderedSurface(hwnd, r);
  if (!surface) return FALSE;
  int cx = std::max(1, (int)(r.right - r.left)), cy = std::max(1, (int)(r.bottom - r.top));
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, cx, cy);
  cairo_t* cr = cairo_create(out);
  cairo_set_source_surface(cr, surface, -r.left, -r.top);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  bool ok = win32::gdi::writePng(out, path);
  cairo_surface_destroy(out);
  return ok ? TRUE : FALSE;
}

COLORREF windowPixel(HWND hwnd, int x, int y) {
  RECT r;
  cairo_surface_t* surface = renderedSurface(hwnd, r);
  if (!surface) return CLR_INVALID;
  COLORREF color = CLR_INVALID;
  int sx = r.left + x, sy = r.top + y;
  if (x >= 0 && y >= 0 && x < r.right - r.left && y < r.bottom - r.top && sx < cairo_image_surface_get_width(surface) &&
      sy < cairo_image_surface_get_height(surface)) {
    const unsigned char* row = cairo_image_surface_get_data(surface) + sy * cairo_image_surface_get_stride(surface);
    uint32_t px = ((const uint32_t*)row)[sx];  // 0x00RRGGBB
    color = RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
  }
  cairo_surface_destroy(surface);
  return color;
}

}  // namespace win32::snapshot
