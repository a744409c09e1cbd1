// Window surfaces and their PNG output.
#include <cairo.h>

#include <internal/gdi_surface.h>
#include <internal/hostpath.h>
#include <winbase.h>

namespace win32::gdi {

cairo_surface_t* createWindowSurface(int width, int height) {
  if (width <= 0 || height <= 0 || width > 32767 || height > 32767) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_destroy(cr);
  return surface;
}

bool writePng(cairo_surface_t* surface, const char* path) {
  if (!surface || !path || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  cairo_surface_flush(surface);
  std::string host = resolveHostPath(path);
  cairo_status_t status = cairo_surface_write_to_png(surface, host.c_str());
  if (status != CAIRO_STATUS_SUCCESS) {
    SetLastError(status == CAIRO_STATUS_NO_MEMORY ? ERROR_NOT_ENOUGH_MEMORY : ERROR_ACCESS_DENIED);
    return false;
  }
  return true;
}

}  // namespace win32::gdi
