// Small helpers shared by the drawing functions of user32.
#pragma once

#include <windows.h>

namespace win32::user {

// A brush argument that may be (HBRUSH)(COLOR_* + 1).
HBRUSH resolveBrush(HBRUSH brush);
// PatBlt of `r` with `brush` selected for the call.
bool fillWith(HDC dc, const RECT& r, HBRUSH brush, DWORD rop);
bool fillColor(HDC dc, const RECT& r, COLORREF color);

// Paints `color` where the monochrome `mask` bitmap (selected into
// `maskDC`) has 0 bits, leaving the other pixels: the "PSDPxax" transfer
// (0x00B8074A), which draws glyphs and disabled images in one colour.
void paintMask(HDC dc, int x, int y, int width, int height, HDC maskDC, int maskX, int maskY, COLORREF color);

// A memory DC with a monochrome bitmap of the given size, white.
struct MonoCanvas {
  MonoCanvas(int width, int height);
  ~MonoCanvas();
  MonoCanvas(const MonoCanvas&) = delete;
  MonoCanvas& operator=(const MonoCanvas&) = delete;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  int width = 0;
  int height = 0;
};

}  // namespace win32::user
