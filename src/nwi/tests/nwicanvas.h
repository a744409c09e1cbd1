// A memory DC over a white 32-bit bitmap for the drawing tests of ky721nwi.
#pragma once

#include <windows.h>

class NwiCanvas {
 public:
  NwiCanvas(int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateBitmap(width, height, 1, 32, nullptr);
    old_ = SelectObject(dc_, bitmap_);
    PatBlt(dc_, 0, 0, width, height, WHITENESS);
  }
  ~NwiCanvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  NwiCanvas(const NwiCanvas&) = delete;
  NwiCanvas& operator=(const NwiCanvas&) = delete;

  HDC dc() const { return dc_; }
  COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }
  int count(COLORREF c) const {
    int n = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) n += at(x, y) == c;
    return n;
  }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  int width_, height_;
};
