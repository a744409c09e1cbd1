// Pixel access for every DIB format.
#include "pixels.h"

#include <bit>

namespace win32::gdi {
namespace {

int maskShift(uint32_t mask) { return mask ? std::countr_zero(mask) : 0; }
int maskBits(uint32_t mask) { return mask ? std::popcount(mask) : 0; }

// Extracts the component under `mask` scaled to 8 bits.
uint32_t component(uint32_t value, uint32_t mask) {
  if (!mask) return 0;
  uint32_t v = (value & mask) >> maskShift(mask);
  int bits = maskBits(mask);
  if (bits >= 8) return v >> (bits - 8);
  // Replicate the high bits into the low ones so that full scale stays 255.
  uint32_t out = v << (8 - bits);
  for (int shift = bits; shift < 8; shift += bits) out |= out >> bits;
  return out & 0xFF;
}

uint32_t packComponent(uint32_t c8, uint32_t mask) {
  if (!mask) return 0;
  int bits = maskBits(mask);
  uint32_t v = bits >= 8 ? c8 << (bits - 8) : c8 >> (8 - bits);
  return (v << maskShift(mask)) & mask;
}

// The 20 static colours of the default palette (PALETTEINDEX).
constexpr uint32_t kDefaultPalette[20] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0,
    0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

}  // namespace

COLORREF plainColor(COLORREF c) {
  switch (c >> 24) {
    case 0x01: {  // PALETTEINDEX(i)
      unsigned i = c & 0xFFFF;
      return colorrefOf(i < 20 ? kDefaultPalette[i] : 0);
    }
    case 0x02:  // PALETTERGB
      return c & 0xFFFFFF;
    default:
      return c & 0xFFFFFF;
  }
}

int64_t dibStride(int64_t width, int bpp) {
  if (width < 0 || bpp <= 0) return -1;
  int64_t bits = width * bpp;
  if (bits / bpp != width || bits > (int64_t(1) << 40)) return -1;
  return ((bits + 31) / 32) * 4;
}

uint32_t PixelBuffer::raw(int x, int y) const {
  const uint8_t* r = row(y);
  switch (bpp) {
    case 1: return (r[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (r[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    case 8: return r[x];
    case 16: return r[2 * x] | (r[2 * x + 1] << 8);
    case 24: return r[3 * x] | (r[3 * x + 1] << 8) | (r[3 * x + 2] << 16);
    default: return reinterpret_cast<const uint32_t*>(r)[x] & rawMask();
  }
}

void PixelBuffer::setRaw(int x, int y, uint32_t v) {
  uint8_t* r = row(y);
  switch (bpp) {
    case 1: {
      uint8_t bit = 0x80 >> (x & 7);
      r[x >> 3] = (v & 1) ? (r[x >> 3] | bit) : (r[x >> 3] & ~bit);
      break;
    }
    case 4: {
      uint8_t& b = r[x >> 1];
      b = (x & 1) ? ((b & 0xF0) | (v & 0xF)) : ((b & 0x0F) | ((v & 0xF) << 4));
      break;
    }
    case 8: r[x] = static_cast<uint8_t>(v); break;
    case 16:
      r[2 * x] = v & 0xFF;
      r[2 * x + 1] = (v >> 8) & 0xFF;
      break;
    case 24:
      r[3 * x] = v & 0xFF;
      r[3 * x + 1] = (v >> 8) & 0xFF;
      r[3 * x + 2] = (v >> 16) & 0xFF;
      break;
    default:
      reinterpret_cast<uint32_t*>(r)[x] = (v & rawMask()) | (opaqueAlpha ? 0xFF000000u : 0u);
  }
}

uint32_t PixelBuffer::rgbOfRaw(uint32_t v) const {
  if (bpp <= 8) return v < colors.size() ? colors[v] : 0;
  if (bpp == 24 || isPlain32()) return v & 0xFFFFFF;
  return (component(v, masks[0]) << 16) | (component(v, masks[1]) << 8) | component(v, masks[2]);
}

uint32_t PixelBuffer::rawOfRgb(uint32_t rgb) const {
  rgb &= 0xFFFFFF;
  if (bpp <= 8) {
    if (rgb == lastRgb_) return lastRaw_;
    uint32_t best = 0;
    int64_t bestDistance = INT64_MAX;
    for (size_t i = 0; i < colors.size(); ++i) {
      int dr = int((colors[i] >> 16) & 0xFF) - int((rgb >> 16) & 0xFF);
      int dg = int((colors[i] >> 8) & 0xFF) - int((rgb >> 8) & 0xFF);
      int db = int(colors[i] & 0xFF) - int(rgb & 0xFF);
      int64_t d = int64_t(dr) * dr + int64_t(dg) * dg + int64_t(db) * db;
      if (d < bestDistance) {
        bestDistance = d;
        best = static_cast<uint32_t>(i);
        if (d == 0) break;
      }
    }
    lastRgb_ = rgb;
    lastRaw_ = best;
    return best;
  }
  if (bpp == 24 || isPlain32()) return rgb;
  return packComponent((rgb >> 16) & 0xFF, masks[0]) | packComponent((rgb >> 8) & 0xFF, masks[1]) |
         packComponent(rgb & 0xFF, masks[2]);
}

}  // namespace win32::gdi
