// A window's icons on the server: _NET_WM_ICON holds each image as its
// width, height and rows of ARGB pixels. The colour image gives the
// pixels; its alpha where it has one, else the mask (set bits are
// transparent). A monochrome icon is its mask's two halves: AND over XOR.
#include "icon.h"
#include "window.h"
#include "x11_server.h"

#include <vector>

namespace win32::user::x11 {
namespace {

// The rows of a bitmap as 32-bit 0xAARRGGBB pixels, top row first.
std::vector<uint32_t> pixelsOf(HBITMAP bitmap, int width, int height) {
  std::vector<uint32_t> out((size_t)width * height);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC dc = CreateCompatibleDC(nullptr);
  const int rows = GetDIBits(dc, bitmap, 0, (UINT)height, out.data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  if (rows != height) out.clear();
  return out;
}

// Appends the icon's image in the property's layout; false when it cannot be read.
bool appendIcon(HICON handle, std::vector<uint32_t>& property) {
  std::shared_ptr<IconObject> icon = findIcon(handle);
  if (!icon || icon->width <= 0 || icon->height <= 0) return false;
  const int w = icon->width, h = icon->height;
  std::vector<uint32_t> mask = pixelsOf(icon->mask, w, icon->color ? h : 2 * h);
  std::vector<uint32_t> color = icon->color ? pixelsOf(icon->color, w, h) : std::vector<uint32_t>();
  if (mask.empty() || (icon->color && color.empty())) return false;
  bool hasAlpha = false;
  for (uint32_t p : color) hasAlpha |= (p >> 24) != 0;
  property.push_back((uint32_t)w);
  property.push_back((uint32_t)h);
  for (size_t i = 0; i < (size_t)w * h; ++i) {
    const bool transparentByMask = (mask[i] & 0xFFFFFF) != 0;
    uint32_t rgb;
    if (icon->color) rgb = color[i] & 0xFFFFFF;
    else rgb = (mask[(size_t)w * h + i] & 0xFFFFFF) ? 0xFFFFFF : 0;  // the XOR half
    const uint32_t alpha = hasAlpha ? color[i] >> 24 : transparentByMask ? 0 : 0xFF;
    property.push_back(alpha << 24 | rgb);
  }
  return true;
}

}  // namespace

void Server::showIcon(HWND top) {
  std::vector<HICON> icons;
  {
    Lock lock(userMutex());
    Window* w = findLocked(top);
    if (!w) return;
    for (HICON h : {w->iconBig, w->iconSmall}) if (h) icons.push_back(h);
    if (icons.empty())
      for (HICON h : {w->cls->icon, w->cls->iconSmall}) if (h) icons.push_back(h);
  }
  std::vector<uint32_t> property;
  for (HICON h : icons) appendIcon(h, property);
  std::lock_guard<std::mutex> guard(mutex_);
  ShownWindow* shown = byHandle(top);
  if (!shown || shown->overrideRedirect) return;
  if (property.empty()) xcb_delete_property(conn_, shown->id, atoms_.netWmIcon);
  else
    xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, shown->id, atoms_.netWmIcon, XCB_ATOM_CARDINAL, 32,
                        (uint32_t)property.size(), property.data());
  xcb_flush(conn_);
}

}  // namespace win32::user::x11
