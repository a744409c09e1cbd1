// The rasteriser: spans, pixels and masks written into a DC's target with
// its clip and a raster operation, in device coordinates.
//
// Raster operations are ternary (ROP3): a truth table over pattern (P),
// source (S) and destination (D) bits; bit P*4+S*2+D of the code's second
// byte gives the result. Binary ROP2 codes of pens are ROP3 codes without S.
#pragma once

#include <cstdint>
#include <vector>

#include "dc.h"

namespace win32::gdi {

uint32_t applyRop3(uint8_t rop, uint32_t p, uint32_t s, uint32_t d);
uint8_t rop3FromRop2(int rop2);
constexpr uint8_t kPatCopy = 0xF0;

// What a fill writes at each pixel: a pattern of raw values repeated from a
// device origin; pixels with opaque == 0 are left alone (transparent hatch
// backgrounds). A 1x1 pattern is a solid colour.
struct Ink {
  bool null = true;
  int width = 1;
  int height = 1;
  std::vector<uint32_t> raw;
  std::vector<uint8_t> opaque;  // empty: all opaque
  POINT origin{0, 0};

  static Ink solid(uint32_t raw);
  bool isSolid() const { return width == 1 && height == 1 && opaque.empty(); }
  bool sample(int x, int y, uint32_t& value) const;
};

class Painter {
 public:
  explicit Painter(DCObject& dc);
  ~Painter();
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;

  bool valid() const { return buffer_.valid(); }
  DCObject& dc() { return dc_; }
  const PixelBuffer& buffer() const { return buffer_; }
  const Region& clip() const { return clip_; }
  POINT offset() const { return offset_; }

  uint32_t rawOf(COLORREF color) const { return buffer_.rawOfRgb(rgbOf(plainColor(color))); }
  // The selected brush for fills; `patBlt` draws hatch backgrounds whatever
  // the background mode.
  Ink brushInk(bool patBlt = false) const;
  Ink inkOf(const BrushObject* brush, bool patBlt) const;
  COLORREF penColor() const;

  // Writes [x0, x1) of row y with `ink` through `rop`, inside the clip.
  // Narrows the clip to a device rectangle for the rest of this painter.
  void restrictTo(const RECT& rect) { clip_ = clip_.intersect(Region(rect)); }

  void span(int y, int x0, int x1, const Ink& ink, uint8_t rop);
  void pixel(int x, int y, uint32_t raw, uint8_t rop);
  void rows(int top, const std::vector<std::vector<Span>>& rows, const Ink& ink, uint8_t rop);
  void region(const Region& r, const Ink& ink, uint8_t rop);
  // Blends a coverage mask at device (x, y) in `rgb`; 1-bit and palette
  // targets take the colour where coverage is at least half.
  void mask(int x, int y, int width, int height, const uint8_t* coverage, uint32_t rgb);

  // Device-pixel lines. Cosmetic lines are one pixel wide and styled; their
  // last point is not drawn. Wide lines are filled outlines with round ends.
  void cosmeticLine(POINT a, POINT b, const Ink& ink, uint8_t rop, const std::vector<int>& dashes,
                    const Ink* gapInk, int& dashPhase);
  void wideLine(POINT a, POINT b, int width, const Ink& ink, uint8_t rop);

 private:
  DCObject& dc_;
  PixelBuffer buffer_;
  POINT offset_{0, 0};
  Region clip_;
};

}  // namespace win32::gdi
