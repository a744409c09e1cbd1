// Monochrome canvases and mask painting shared by the drawing functions.
#include "drawutil.h"

namespace win32::user {

MonoCanvas::MonoCanvas(int w, int h) : width(w), height(h) {
  dc = CreateCompatibleDC(nullptr);
  bitmap = CreateBitmap(w > 0 ? w : 1, h > 0 ? h : 1, 1, 1, nullptr);
  old = SelectObject(dc, bitmap);
  PatBlt(dc, 0, 0, w, h, WHITENESS);
}

MonoCanvas::~MonoCanvas() {
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

void paintMask(HDC dc, int x, int y, int width, int height, HDC maskDC, int maskX, int maskY, COLORREF color) {
  // Mono to colour: 0 bits -> text colour (black, all 0), 1 bits -> background
  // (white, all 1), so the source selects bit by bit between brush and screen.
  HBRUSH brush = CreateSolidBrush(color);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
  COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, x, y, width, height, maskDC, maskX, maskY, 0x00B8074A);
  SetTextColor(dc, text);
  SetBkColor(dc, back);
  SelectObject(dc, oldBrush);
  DeleteObject(brush);
}

}  // namespace win32::user
