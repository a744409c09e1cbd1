// A memory DC over a white 32-bit bitmap for drawing tests.
#pragma once

#include <windows.h>

#include "../../gdi/tests/lsan_fontconfig.h"

class DrawCanvas {
 public:
  DrawCanvas(int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateBitmap(width, height, 1, 32, nullptr);
    old_ = SelectObject(dc_, bitmap_);
    PatBlt(dc_, 0, 0, width, height, WHITENESS);
  }
  ~DrawCanvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  DrawCanvas(const DrawCanvas&) = delete;
  DrawCanvas& operator=(const DrawCanvas&) = delete;

  HDC dc() const { return dc_; }
  COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }
  int count(COLORREF c) const {
    int n = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) n += at(x, y) == c;
    return n;
  }
  // Bounding box of pixels that are not white; empty when there are none.
  RECT ink() const {
    RECT r{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (at(x, y) != RGB(255, 255, 255)) {
          if (x < r.left) r.left = x;
          if (y < r.top) r.top = y;
          if (x + 1 > r.right) r.right = x + 1;
          if (y + 1 > r.bottom) r.bottom = y + 1;
        }
    return r;
  }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  int width_, height_;
};
