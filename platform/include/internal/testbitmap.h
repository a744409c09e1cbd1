// Bytes of a bitmap file made to order, for the tests of every library that
// reads bitmap files: each field can be set wrong on purpose. Colour entry i
// is 0x00010203 * (i + 1) (blue 3, green 2, red 1 for the first); bit byte i
// is 0x40 + i unless RLE data is given.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace win32::testing {

struct BitmapFile {
  int width = 2, height = 2;
  WORD bits = 24;
  DWORD headerSize = 40;
  DWORD clrUsed = 0;
  DWORD compression = BI_RGB;
  DWORD sizeImage = 0;
  int tableEntries = -1;    // colour entries written; -1: what the format implies
  bool zeroOffset = false;  // bfOffBits 0: the bits follow the colour table
  size_t cut = 0;           // bytes removed from the end
  std::vector<BYTE> rle;    // when set, the bits as written (RLE data) instead of the pattern

  size_t stride() const { return (static_cast<size_t>(bits) * (width > 0 ? width : 0) + 31) / 32 * 4; }
  size_t imageBytes() const { return rle.empty() ? stride() * (height < 0 ? -height : height) : rle.size(); }
  int entries() const { return tableEntries >= 0 ? tableEntries : (clrUsed ? clrUsed : (bits <= 8 ? 1 << bits : 0)); }
  size_t bitsOffset() const { return 14 + headerSize + entries() * 4; }

  std::vector<BYTE> bytes() const {
    size_t fileSize = bitsOffset() + imageBytes();
    // Room for every header field even when the header is declared shorter;
    // the file is cut to its own size afterwards.
    std::vector<BYTE> out(std::max<size_t>(fileSize, 14 + 40));
    auto put = [&](size_t at, auto value) { std::memcpy(out.data() + at, &value, sizeof value); };
    put(0, static_cast<WORD>(0x4D42));
    put(2, static_cast<DWORD>(fileSize));
    put(10, static_cast<DWORD>(zeroOffset ? 0 : bitsOffset()));
    put(14, headerSize);
    put(18, static_cast<LONG>(width));
    put(22, static_cast<LONG>(height));
    put(26, static_cast<WORD>(1));
    put(28, bits);
    put(30, compression);
    put(34, sizeImage);
    put(46, clrUsed);
    for (int i = 0; i < entries(); ++i) put(14 + headerSize + i * 4, static_cast<DWORD>(0x00010203 * (i + 1)));
    for (size_t i = 0; i < imageBytes(); ++i)
      out[bitsOffset() + i] = rle.empty() ? static_cast<BYTE>(0x40 + i) : rle[i];
    out.resize(fileSize - std::min(cut, fileSize));
    return out;
  }
};

}  // namespace win32::testing
