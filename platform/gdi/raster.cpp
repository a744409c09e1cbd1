// Spans, pixels and lines with clipping and raster operations.
#include "raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace win32::gdi {

uint32_t applyRop3(uint8_t rop, uint32_t p, uint32_t s, uint32_t d) {
  switch (rop) {
    case 0x00: return 0;
    case 0xFF: return ~0u;
    case 0xCC: return s;
    case 0xF0: return p;
    case 0xAA: return d;
    case 0x55: return ~d;
    case 0x33: return ~s;
    case 0x0F: return ~p;
    case 0x66: return s ^ d;
    case 0x88: return s & d;
    case 0xEE: return s | d;
    case 0x5A: return p ^ d;
    case 0xA0: return p & d;
    case 0xFA: return p | d;
    default: break;
  }
  uint32_t r = 0;
  for (int i = 0; i < 8; ++i) {
    if (!((rop >> i) & 1)) continue;
    r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return r;
}

uint8_t rop3FromRop2(int rop2) {
  // ROP2 code - 1 is a truth table over (P, D) with bit index P*2+D.
  const int table = std::clamp(rop2, R2_BLACK, R2_WHITE) - 1;
  uint8_t rop = 0;
  for (int i = 0; i < 8; ++i) {
    int p = (i >> 2) & 1, d = i & 1;
    if ((table >> (p * 2 + d)) & 1) rop |= uint8_t(1 << i);
  }
  return rop;
}

Ink Ink::solid(uint32_t raw) {
  Ink ink;
  ink.null = false;
  ink.raw = {raw};
  return ink;
}

bool Ink::sample(int x, int y, uint32_t& value) const {
  if (null) return false;
  if (width == 1 && height == 1 && opaque.empty()) {
    value = raw[0];
    return true;
  }
  int px = ((x - origin.x) % width + width) % width;
  int py = ((y - origin.y) % height + height) % height;
  size_t i = size_t(py) * width + px;
  if (!opaque.empty() && !opaque[i]) return false;
  value = raw[i];
  return true;
}

Painter::Painter(DCObject& dc) : dc_(dc) {
  buffer_ = dc.target(&offset_);
  if (buffer_.valid()) clip_ = dc.visibleRegion();
}

Painter::~Painter() {
  if (buffer_.valid()) dc_.touched();
}

namespace {

// Rows of the 8x8 hatch patterns, bit 7 leftmost.
constexpr uint8_t kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},  // HS_HORIZONTAL
    {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10},  // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // HS_FDIAGONAL "\"
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // HS_BDIAGONAL "/"
    {0x10, 0x10, 0x10, 0x10, 0xFF, 0x10, 0x10, 0x10},  // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // HS_DIAGCROSS
};

}  // namespace

Ink Painter::brushInk(bool patBlt) const { return inkOf(dc_.state.brush.get().get(), patBlt); }

Ink Painter::inkOf(const BrushObject* brush, bool patBlt) const {
  Ink ink;
  if (!brush) return ink;
  ink.origin = dc_.state.brushOrg;
  switch (brush->style) {
    case BS_SOLID:
      return Ink::solid(rawOf(isDCColorObject(brush) ? dc_.state.dcBrushColor : brush->color));
    case BS_HATCHED: {
      ink.null = false;
      ink.width = ink.height = 8;
      const uint32_t fg = rawOf(brush->color), bg = rawOf(dc_.state.bkColor);
      const bool opaqueBack = patBlt || dc_.state.bkMode == OPAQUE;
      const auto& rows = kHatches[std::min<ULONG_PTR>(brush->hatch, 5)];
      for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
          bool on = (rows[y] >> (7 - x)) & 1;
          ink.raw.push_back(on ? fg : bg);
          if (!opaqueBack) ink.opaque.push_back(on);
        }
      }
      if (opaqueBack) ink.opaque.clear();
      return ink;
    }
    case BS_PATTERN:
    case BS_DIBPATTERNPT:
    case BS_DIBPATTERN:
    case BS_PATTERN8X8:
    case BS_DIBPATTERN8X8: {
      if (!brush->pattern) return ink;
      const auto& p = brush->pattern->pixels;
      ink.null = false;
      ink.width = p.width;
      ink.height = p.height;
      // Monochrome patterns: 0 bits in the text colour, 1 bits in the background colour.
      const uint32_t fg = rawOf(dc_.state.textColor), bg = rawOf(dc_.state.bkColor);
      for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
          ink.raw.push_back(brush->pattern->monochrome() ? (p.raw(x, y) ? bg : fg) : buffer_.rawOfRgb(p.rgb(x, y)));
        }
      }
      return ink;
    }
    default:
      return ink;  // BS_NULL
  }
}

COLORREF Painter::penColor() const {
  const PenObject* pen = dc_.state.pen.get().get();
  if (!pen) return 0;
  return isDCColorObject(pen) ? dc_.state.dcPenColor : pen->color;
}

void Painter::span(int y, int x0, int x1, const Ink& ink, uint8_t rop) {
  if (ink.null || x0 >= x1) return;
  const auto* spans = clip_.rowSpans(y);
  if (!spans) return;
  const int by = y + offset_.y;
  const uint32_t mask = buffer_.rawMask();
  for (const auto& s : *spans) {
    int a = std::max(x0, s.left), b = std::min(x1, s.right);
    if (a >= b) continue;
    if (rop == kPatCopy && ink.isSolid() && buffer_.isPlain32()) {
      uint32_t* row = buffer_.row32(by);
      uint32_t v = (ink.raw[0] & 0xFFFFFF) | (buffer_.opaqueAlpha ? 0xFF000000u : 0u);
      std::fill(row + a + offset_.x, row + b + offset_.x, v);
      continue;
    }
    for (int x = a; x < b; ++x) {
      uint32_t p;
      if (!ink.sample(x, y, p)) continue;
      const int bx = x + offset_.x;
      uint32_t d = rop == kPatCopy ? 0 : buffer_.raw(bx, by);
      buffer_.setRaw(bx, by, applyRop3(rop, p, 0, d) & mask);
    }
  }
}

void Painter::pixel(int x, int y, uint32_t raw, uint8_t rop) {
  if (!clip_.contains(x, y)) return;
  const int bx = x + offset_.x, by = y + offset_.y;
  buffer_.setRaw(bx, by, applyRop3(rop, raw, 0, buffer_.raw(bx, by)) & buffer_.rawMask());
}

void Painter::rows(int top, const std::vector<std::vector<Span>>& rows, const Ink& ink, uint8_t rop) {
  for (size_t i = 0; i < rows.size(); ++i) {
    for (const auto& s : rows[i]) span(top + static_cast<int>(i), s.left, s.right, ink, rop);
  }
}

void Painter::region(const Region& r, const Ink& ink, uint8_t rop) {
  for (const auto& band : r.bands()) {
    for (int y = band.top; y < band.bottom; ++y) {
      for (const auto& s : band.spans) span(y, s.left, s.right, ink, rop);
    }
  }
}

void Painter::mask(int x, int y, int width, int height, const uint8_t* coverage, uint32_t rgb) {
  const bool blend = buffer_.bpp > 8;
  const uint32_t solid = buffer_.rawOfRgb(rgb);
  const int cr = (rgb >> 16) & 0xFF, cg = (rgb >> 8) & 0xFF, cb = rgb & 0xFF;
  const bool plain = buffer_.isPlain32();
  const uint32_t alpha = buffer_.opaqueAlpha ? 0xFF000000u : 0u;
  rgb &= 0xFFFFFF;
  for (int j = 0; j < height; ++j) {
    const int dy = y + j;
    const auto* spans = clip_.rowSpans(dy);
    if (!spans) continue;
    const uint8_t* cov = coverage + size_t(j) * width;
    for (const auto& s : *spans) {
      int a = std::max(x, s.left), b = std::min(x + width, s.right);
      for (int dx = a; dx < b; ++dx) {
        unsigned c = cov[dx - x];
        if (!c) continue;
        const int bx = dx + offset_.x, by = dy + offset_.y;
        if (plain) {
          uint32_t& px = buffer_.row32(by)[bx];
          if (c == 255) {
            px = rgb | alpha;
          } else {
            uint32_t d = px;
            auto mix = [c](uint32_t from, int to) { return (int(from) * (255 - int(c)) + to * int(c) + 127) / 255; };
            px = (uint32_t(mix((d >> 16) & 0xFF, cr)) << 16) | (uint32_t(mix((d >> 8) & 0xFF, cg)) << 8) |
                 uint32_t(mix(d & 0xFF, cb)) | alpha;
          }
          continue;
        }
        if (!blend || c == 255) {
          if (blend || c >= 128) buffer_.setRaw(bx, by, solid);
          continue;
        }
        uint32_t d = buffer_.rgb(bx, by);
        auto mix = [c](int from, int to) { return (from * (255 - int(c)) + to * int(c) + 127) / 255; };
        uint32_t out = (mix((d >> 16) & 0xFF, cr) << 16) | (mix((d >> 8) & 0xFF, cg) << 8) | mix(d & 0xFF, cb);
        buffer_.setRgb(bx, by, out);
      }
    }
  }
}

// Bresenham from a towards b, b excluded. `dashes` alternates on/off run
// lengths (empty = solid); gaps use `gapInk` when given (opaque background).
void Painter::cosmeticLine(POINT a, POINT b, const Ink& ink, uint8_t rop, const std::vector<int>& dashes,
                           const Ink* gapInk, int& dashPhase) {
  int dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
  int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
  int steps = std::max(dx, dy);
  int period = 0;
  for (int d : dashes) period += d;
  int x = a.x, y = a.y;
  int err = (dx > dy ? dx : -dy) / 2;
  for (int i = 0; i < steps; ++i) {
    bool on = true;
    if (period > 0) {
      int pos = dashPhase % period, k = 0;
      while (pos >= dashes[k]) pos -= dashes[k++];
      on = (k % 2) == 0;
      ++dashPhase;
    }
    const Ink* use = on ? &ink : gapInk;
    uint32_t v;
    if (use && use->sample(x, y, v)) pixel(x, y, v, rop);
    int e2 = err;
    if (e2 > -dx) {
      err -= dy;
      x += sx;
    }
    if (e2 < dy) {
      err += dx;
      y += sy;
    }
  }
}

void Painter::wideLine(POINT a, POINT b, int width, const Ink& ink, uint8_t rop) {
  // The segment's outline as a polygon, plus round ends.
  double len = std::hypot(double(b.x - a.x), double(b.y - a.y));
  double half = width / 2.0;
  if (len > 0) {
    double nx = -(b.y - a.y) / len * half, ny = (b.x - a.x) / len * half;
    POINT quad[4] = {{LONG(std::lround(a.x + nx)), LONG(std::lround(a.y + ny))},
                     {LONG(std::lround(b.x + nx)), LONG(std::lround(b.y + ny))},
                     {LONG(std::lround(b.x - nx)), LONG(std::lround(b.y - ny))},
                     {LONG(std::lround(a.x - nx)), LONG(std::lround(a.y - ny))}};
    int four = 4;
    auto poly = polygonRows(quad, &four, 1, WINDING);
    Region shape = Region::fromRows(poly.top, poly.rows);
    int r0 = width / 2, r1 = width - width / 2;
    for (POINT c : {a, b}) {
      shape = shape.unite(Region::fromRows(c.y - r0, ellipseRows(c.x - r0, c.y - r0, c.x + r1, c.y + r1)));
    }
    region(shape, ink, rop);
  } else {
    int r0 = width / 2, r1 = width - width / 2;
    rows(a.y - r0, ellipseRows(a.x - r0, a.y - r0, a.x + r1, a.y + r1), ink, rop);
  }
}

}  // namespace win32::gdi
