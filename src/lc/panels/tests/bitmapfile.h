// Bitmap files made by tests: the bytes of a .BMP (file header, 40-byte
// info header, colour table, rows bottom-up padded to 4 bytes).
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace kytest {

namespace detail {

template <typename T>
void put(std::string& out, size_t at, T value) {
  std::memcpy(&out[at], &value, sizeof value);
}

inline std::string bitmapFile(int width, int height, int bits, const std::vector<COLORREF>& palette,
                              const std::function<void(std::string& row, int x, int y)>& putPixel) {
  const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
  const size_t tableBytes = palette.size() * 4;
  const size_t bitsOffset = 14 + 40 + tableBytes;
  std::string out(bitsOffset + stride * height, '\0');
  out[0] = 'B';
  out[1] = 'M';
  put<uint32_t>(out, 2, static_cast<uint32_t>(out.size()));
  put<uint32_t>(out, 10, static_cast<uint32_t>(bitsOffset));
  put<uint32_t>(out, 14, 40);
  put<int32_t>(out, 18, width);
  put<int32_t>(out, 22, height);
  put<uint16_t>(out, 26, 1);
  put<uint16_t>(out, 28, static_cast<uint16_t>(bits));
  put<uint32_t>(out, 46, static_cast<uint32_t>(palette.size()));
  for (size_t i = 0; i < palette.size(); ++i) {
    out[54 + i * 4] = static_cast<char>(GetBValue(palette[i]));
    out[54 + i * 4 + 1] = static_cast<char>(GetGValue(palette[i]));
    out[54 + i * 4 + 2] = static_cast<char>(GetRValue(palette[i]));
  }
  for (int y = 0; y < height; ++y) {
    std::string row(stride, '\0');
    for (int x = 0; x < width; ++x) putPixel(row, x, y);
    out.replace(bitsOffset + static_cast<size_t>(height - 1 - y) * stride, stride, row);
  }
  return out;
}

}  // namespace detail

// 8 bits a pixel: `index(x, y)` picks the palette entry of each pixel
// (y = 0 is the top row).
inline std::string bitmap8(int width, int height, const std::vector<COLORREF>& palette,
                           const std::function<int(int x, int y)>& index) {
  return detail::bitmapFile(width, height, 8, palette,
                            [&](std::string& row, int x, int y) { row[x] = static_cast<char>(index(x, y)); });
}

// 24 bits a pixel, no colour table.
inline std::string bitmap24(int width, int height, const std::function<COLORREF(int x, int y)>& colour) {
  return detail::bitmapFile(width, height, 24, {}, [&](std::string& row, int x, int y) {
    COLORREF c = colour(x, y);
    row[x * 3] = static_cast<char>(GetBValue(c));
    row[x * 3 + 1] = static_cast<char>(GetGValue(c));
    row[x * 3 + 2] = static_cast<char>(GetRValue(c));
  });
}

}  // namespace kytest
