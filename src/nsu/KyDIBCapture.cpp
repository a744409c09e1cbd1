// DIBs made from device bitmaps, the screen and windows, and DIBs turned
// into other formats. Pixels are read with GetDIBits through a screen DC
// with the given palette realised.
#include <internal/dib.h>

#include <cstring>

#include "KyDIBUtil.h"

namespace {

// A DC of the screen, made and deleted here.
struct ScreenDC {
  HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  ~ScreenDC() {
    if (dc) DeleteDC(dc);
  }
};

// The bitmap's pixels as a DIB of the given bit count (0: the bitmap's own).
HDIB bitmapToDIB(HBITMAP bitmap, WORD bits, DWORD compression, HPALETTE palette) {
  BITMAP bm{};
  if (!bitmap || GetObjectA(bitmap, sizeof bm, &bm) != static_cast<int>(sizeof bm)) return nullptr;
  if (compression != BI_RGB) return nullptr;  // the layer's GetDIBits writes no RLE
  if (bits == 0) bits = static_cast<WORD>(bm.bmPlanes * bm.bmBitsPixel);  // CreateDIB rounds it
  HDIB dib = CreateDIB(static_cast<DWORD>(bm.bmWidth), static_cast<DWORD>(bm.bmHeight), bits);
  if (!dib) return nullptr;
  ScreenDC screen;
  if (!screen.dc) return DestroyDIB(dib), nullptr;
  HPALETTE old = nullptr;
  if (palette) {
    old = SelectPalette(screen.dc, palette, FALSE);
    RealizePalette(screen.dc);
  }
  auto* p = static_cast<LPSTR>(GlobalLock(dib));
  int lines = GetDIBits(screen.dc, bitmap, 0, static_cast<UINT>(bm.bmHeight), FindDIBBits(p),
                        reinterpret_cast<BITMAPINFO*>(p), DIB_RGB_COLORS);
  // GetDIBits fills biClrUsed with 0; the whole table is there.
  GlobalUnlock(dib);
  if (old) SelectPalette(screen.dc, old, FALSE);
  if (lines != bm.bmHeight) return DestroyDIB(dib), nullptr;
  return dib;
}

// The rectangle cut to the screen; false when nothing is left.
bool clipToScreen(const RECT& r, RECT* out) {
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return IntersectRect(out, &r, &screen) != FALSE;
}

// A copy of the source DC's rectangle in a new device bitmap.
HBITMAP copyToBitmap(HDC source, int x, int y, int width, int height) {
  if (!source || width <= 0 || height <= 0) return nullptr;
  HDC memory = CreateCompatibleDC(source);
  if (!memory) return nullptr;
  HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
  if (bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BOOL copied = BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    SelectObject(memory, old);
    if (!copied) {
      DeleteObject(bitmap);
      bitmap = nullptr;
    }
  }
  DeleteDC(memory);
  return bitmap;
}

}  // namespace

extern "C" {

HDIB BitmapToDIB(HBITMAP bitmap, HPALETTE palette) { return bitmapToDIB(bitmap, 0, BI_RGB, palette); }

HDIB ChangeBitmapFormat(HBITMAP bitmap, WORD bits, DWORD compression, HPALETTE palette) {
  return bitmapToDIB(bitmap, bits, compression, palette);
}

HDIB ChangeDIBFormat(HDIB dib, WORD bits, DWORD compression) {
  HPALETTE palette = CreateDIBPalette(dib);
  HBITMAP bitmap = DIBToBitmap(dib, palette);
  HDIB changed = bitmap ? bitmapToDIB(bitmap, bits, compression, palette) : nullptr;
  if (bitmap) DeleteObject(bitmap);
  if (palette) DeleteObject(palette);
  return changed;
}

HBITMAP CopyScreenToBitmap(LPRECT rect) {
  RECT r;
  if (!rect || !clipToScreen(*rect, &r)) return nullptr;
  ScreenDC screen;
  return copyToBitmap(screen.dc, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

HDIB CopyScreenToDIB(LPRECT rect) {
  HBITMAP bitmap = CopyScreenToBitmap(rect);
  if (!bitmap) return nullptr;
  HPALETTE palette = GetSystemPalette();
  HDIB dib = BitmapToDIB(bitmap, palette);
  if (palette) DeleteObject(palette);
  DeleteObject(bitmap);
  return dib;
}

// The window's own pixels (its surface, wherever it is on the screen): the
// whole window through its window DC, or the client area through its DC.
HDIB CopyWindowToDIB(HWND window, WORD which) {
  if (!IsWindow(window) || (which != PW_WINDOW && which != PW_CLIENT)) return nullptr;
  RECT r;
  if (which == PW_WINDOW) {
    GetWindowRect(window, &r);
  } else {
    GetClientRect(window, &r);
  }
  HDC dc = which == PW_WINDOW ? GetWindowDC(window) : GetDC(window);
  HBITMAP bitmap = copyToBitmap(dc, 0, 0, r.right - r.left, r.bottom - r.top);
  if (dc) ReleaseDC(window, dc);
  if (!bitmap) return nullptr;
  HDIB dib = BitmapToDIB(bitmap, nullptr);
  DeleteObject(bitmap);
  return dib;
}

HDIB KyCopyWindowToDIB(HWND window, WORD which) { return CopyWindowToDIB(window, which); }

}  // extern "C"
