// A memory DC over a white 32-bit bitmap for pixel tests.
#pragma once

#include <windows.h>

#include <string>

#include "lsan_fontconfig.h"

class Canvas {
 public:
  Canvas(int width, int height, int bpp = 32) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = bpp == 1 ? CreateBitmap(width, height, 1, 1, nullptr) : CreateBitmap(width, height, 1, 32, nullptr);
    old_ = SelectObject(dc_, bitmap_);
    PatBlt(dc_, 0, 0, width, height, WHITENESS);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }
  // Rows as characters: '#' for `ink`, '.' for white, '?' otherwise.
  std::string row(int y, int x0, int x1, COLORREF ink = RGB(0, 0, 0)) const {
    std::string s;
    for (int x = x0; x < x1; ++x) {
      COLORREF c = at(x, y);
      s += c == ink ? '#' : c == RGB(255, 255, 255) ? '.' : '?';
    }
    return s;
  }
  int count(COLORREF color) const {
    int n = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) n += at(x, y) == color;
    return n;
  }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  int width_, height_;
};
