// Pixel memory of bitmaps and surfaces, in any of the DIB formats.
//
// Colours inside gdi32 are "rgb" values 0x00RRGGBB (cairo's and a 32-bit
// DIB's layout); COLORREF is 0x00BBGGRR. A "raw" value is what one pixel of
// a particular buffer holds: a palette index for 1/4/8 bits, the packed
// value for 16/32 bits, 0x00RRGGBB for 24 bits. Raster operations work on
// raw values, as Windows applies them to indices on palette devices.
#pragma once

#include <windef.h>

#include <cstdint>
#include <vector>

namespace win32::gdi {

inline uint32_t rgbOf(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
inline COLORREF colorrefOf(uint32_t rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

// A COLORREF with PALETTERGB/PALETTEINDEX flags resolved against the default
// palette (this layer has true colour only).
COLORREF plainColor(COLORREF c);

struct PixelBuffer {
  uint8_t* top = nullptr;  // row 0, the topmost row
  ptrdiff_t stride = 0;    // bytes from a row to the one below it; negative for bottom-up DIBs
  int width = 0;
  int height = 0;
  int bpp = 32;
  std::vector<uint32_t> colors;                        // rgb colour table for bpp <= 8
  uint32_t masks[3] = {0xFF0000, 0x00FF00, 0x0000FF};  // red, green, blue for 16 and 32 bits
  bool opaqueAlpha = false;                            // ARGB32 surfaces: writes keep alpha at 0xFF

  bool valid() const { return top && width > 0 && height > 0; }
  uint8_t* row(int y) const { return top + stride * y; }
  uint32_t* row32(int y) const { return reinterpret_cast<uint32_t*>(row(y)); }
  bool isPlain32() const { return bpp == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF; }
  // Bits that matter in a raw value.
  uint32_t rawMask() const {
    switch (bpp) {
      case 1: return 1;
      case 4: return 0xF;
      case 8: return 0xFF;
      case 16: return 0xFFFF;
      case 24: return 0xFFFFFF;
      default: return isPlain32() ? 0xFFFFFF : (masks[0] | masks[1] | masks[2]);
    }
  }

  uint32_t raw(int x, int y) const;
  void setRaw(int x, int y, uint32_t value);
  uint32_t rgbOfRaw(uint32_t raw) const;
  uint32_t rawOfRgb(uint32_t rgb) const;  // nearest palette entry for palette formats
  uint32_t rgb(int x, int y) const { return rgbOfRaw(raw(x, y)); }
  void setRgb(int x, int y, uint32_t rgb) { setRaw(x, y, rawOfRgb(rgb)); }

 private:
  mutable uint32_t lastRgb_ = 0xFFFFFFFF;  // one-entry cache of rawOfRgb for palette formats
  mutable uint32_t lastRaw_ = 0;
};

// Bytes of one row of a DIB (rows are DWORD aligned), or -1 on overflow.
int64_t dibStride(int64_t width, int bpp);

}  // namespace win32::gdi
