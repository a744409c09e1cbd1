// Pixels and block transfers: GetPixel/SetPixel, PatBlt, BitBlt,
// StretchBlt, MaskBlt, TransparentBlt and flood fills.
//
// Colour conversion between source and destination follows Windows: a
// monochrome bitmap's 0 bits become the destination DC's text colour and its
// 1 bits the background colour; a colour source drawn onto a monochrome
// bitmap gives 1 (white) where the pixel equals the source DC's background
// colour and 0 elsewhere.
#include <algorithm>
#include <cstring>

#include "blit.h"
#include "raster.h"

namespace win32::gdi {
namespace {

bool usesSource(uint8_t rop) { return ((rop >> 2) ^ rop) & 0x33; }
bool usesPattern(uint8_t rop) { return ((rop >> 4) ^ rop) & 0x0F; }

// Source pixels of one transfer, converted to the destination's raw format.
class SourceReader {
 public:
  SourceReader(DCObject& src, const PixelBuffer& dest, DCObject& destDC, RECT area) {
    buffer_ = src.target(&offset_);
    const bool srcMono = src.kind == DCObject::Kind::Memory && src.state.bitmap && src.state.bitmap->monochrome();
    const bool destMono = destDC.kind == DCObject::Kind::Memory && destDC.state.bitmap &&
                          destDC.state.bitmap->monochrome();
    if (srcMono && !destMono) {
      mode_ = Mode::MonoToColor;
      zero_ = dest.rawOfRgb(rgbOf(plainColor(destDC.state.textColor)));
      one_ = dest.rawOfRgb(rgbOf(plainColor(destDC.state.bkColor)));
    } else if (!srcMono && destMono) {
      mode_ = Mode::ColorToMono;
      background_ = rgbOf(plainColor(src.state.bkColor));
    } else if (srcMono && destMono) {
      mode_ = Mode::Raw;
    } else if (buffer_.isPlain32() && dest.isPlain32()) {
      mode_ = Mode::Raw;
      // Between 32-bit DIBs the fourth byte travels with the pixel, as on
      // Windows; surfaces that force an opaque alpha have none to give.
      fourthByte_ = !buffer_.opaqueAlpha && !dest.opaqueAlpha;
    }
    dest_ = &dest;
    // A transfer within one buffer reads a snapshot, so overlapping
    // scrolls copy what was there before.
    if (buffer_.valid() && buffer_.top == dest.top) {
      RECT r{std::max<LONG>(area.left + offset_.x, 0), std::max<LONG>(area.top + offset_.y, 0),
             std::min<LONG>(area.right + offset_.x, buffer_.width), std::min<LONG>(area.bottom + offset_.y, buffer_.height)};
      if (r.left < r.right && r.top < r.bottom) {
        snapshotRect_ = r;
        snapshot_.resize(size_t(r.right - r.left) * (r.bottom - r.top));
        for (int y = r.top; y < r.bottom; ++y) {
          for (int x = r.left; x < r.right; ++x) snapshot_[size_t(y - r.top) * (r.right - r.left) + (x - r.left)] = rawAt(x, y);
        }
      }
    }
  }

  bool valid() const { return buffer_.valid(); }
  // True when raw values read carry the source's fourth byte.
  bool keepsFourthByte() const { return fourthByte_; }

  // The source row at (x, y) when it can be copied as it is (same 32-bit
  // format, no snapshot), else nullptr.
  const uint32_t* plainRow(int x, int y, int count) const {
    if (mode_ != Mode::Raw || !buffer_.isPlain32() || !snapshot_.empty()) return nullptr;
    x += offset_.x;
    y += offset_.y;
    if (x < 0 || y < 0 || y >= buffer_.height || x + count > buffer_.width) return nullptr;
    return buffer_.row32(y) + x;
  }

  // Raw source value at source device (x, y) in the destination's format;
  // false outside the source.
  bool read(int x, int y, uint32_t& value) const {
    x += offset_.x;
    y += offset_.y;
    if (x < 0 || y < 0 || x >= buffer_.width || y >= buffer_.height) return false;
    uint32_t raw;
    if (!snapshot_.empty() && x >= snapshotRect_.left && x < snapshotRect_.right && y >= snapshotRect_.top &&
        y < snapshotRect_.bottom) {
      raw = snapshot_[size_t(y - snapshotRect_.top) * (snapshotRect_.right - snapshotRect_.left) + (x - snapshotRect_.left)];
    } else {
      raw = rawAt(x, y);
    }
    switch (mode_) {
      case Mode::Raw: value = raw; break;
      case Mode::MonoToColor: value = raw ? one_ : zero_; break;
      case Mode::ColorToMono: value = buffer_.rgbOfRaw(raw) == background_ ? 1 : 0; break;
      case Mode::Convert: value = dest_->rawOfRgb(buffer_.rgbOfRaw(raw)); break;
    }
    return true;
  }

  // The source colour (before conversion), for TransparentBlt.
  bool rgbAt(int x, int y, uint32_t& rgb) const {
    x += offset_.x;
    y += offset_.y;
    if (x < 0 || y < 0 || x >= buffer_.width || y >= buffer_.height) return false;
    rgb = buffer_.rgb(x, y);
    return true;
  }

 private:
  enum class Mode { Convert, Raw, MonoToColor, ColorToMono };
  uint32_t rawAt(int x, int y) const { return fourthByte_ ? buffer_.row32(y)[x] : buffer_.raw(x, y); }

  PixelBuffer buffer_;
  const PixelBuffer* dest_ = nullptr;
  POINT offset_{0, 0};
  Mode mode_ = Mode::Convert;
  uint32_t zero_ = 0, one_ = 0, background_ = 0;
  bool fourthByte_ = false;
  RECT snapshotRect_{};
  std::vector<uint32_t> snapshot_;
};

// Device extent of a logical box given by origin and (signed) size.
struct Box {
  int x, y, width, height;  // width/height may be negative: mirrored
};

Box deviceBox(DCObject& dc, int x, int y, int w, int h) {
  POINT a = dc.toDevice({x, y}), b = dc.toDevice({x + w, y + h});
  return {a.x, a.y, b.x - a.x, b.y - a.y};
}

}  // namespace

bool transfer(const Transfer& t) {
  DCObject& dest = *t.dest;
  Painter painter(dest);
  if (!painter.valid()) return true;  // nothing to draw on (an information DC)
  Box d = deviceBox(dest, t.x, t.y, t.width, t.height);
  Box s = t.src ? deviceBox(*t.src, t.srcX, t.srcY, t.srcWidth, t.srcHeight) : Box{0, 0, d.width, d.height};
  bool flipX = (d.width < 0) != (s.width < 0), flipY = (d.height < 0) != (s.height < 0);
  auto normalise = [](int& pos, int& size) {
    if (size < 0) {
      pos += size;
      size = -size;
    }
  };
  normalise(d.x, d.width);
  normalise(d.y, d.height);
  normalise(s.x, s.width);
  normalise(s.y, s.height);
  if (d.width == 0 || d.height == 0) return true;

  const bool anySource = usesSource(t.foreRop) || usesSource(t.backRop) || t.transparent;
  std::optional<SourceReader> reader;
  if (anySource) {
    if (!t.src) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
    reader.emplace(*t.src, painter.buffer(), dest, RECT{s.x, s.y, s.x + s.width, s.y + s.height});
    if (!reader->valid()) return true;
  }
  Ink pattern;
  if (usesPattern(t.foreRop) || usesPattern(t.backRop)) pattern = painter.brushInk(true);

  const PixelBuffer& out = painter.buffer();
  PixelBuffer& target = const_cast<PixelBuffer&>(out);
  const POINT off = painter.offset();
  const uint32_t mask = out.rawMask();
  const bool copies = t.foreRop == 0xCC && t.backRop == 0xCC && !t.transparent;
  const bool plainCopy = copies && out.isPlain32() && s.width == d.width && s.height == d.height && !flipX && !flipY;
  // A plain copy keeps whole 32-bit values; other ROPs work on the colour bits.
  const bool wholeValues = copies && reader && reader->keepsFourthByte();
  // Whole rows of one value: BLACKNESS, WHITENESS and solid PATCOPY.
  bool fill = false;
  uint32_t fillValue = 0;
  if (out.isPlain32() && !t.mask && !t.transparent && t.foreRop == t.backRop) {
    const uint8_t rop = t.foreRop;
    if (rop == 0x00 || rop == 0xFF || (rop == 0xF0 && pattern.isSolid() && !pattern.null)) {
      fill = true;
      fillValue = (rop == 0x00 ? 0u : rop == 0xFF ? 0xFFFFFFu : pattern.raw[0] & 0xFFFFFF) |
                  (out.opaqueAlpha ? 0xFF000000u : 0u);
    }
  }
  for (int j = 0; j < d.height; ++j) {
    const int y = d.y + j;
    const auto* spans = painter.clip().rowSpans(y);
    if (!spans) continue;
    int sj = static_cast<int>((int64_t(j) * 2 + 1) * s.height / (int64_t(d.height) * 2));
    if (flipY) sj = s.height - 1 - sj;
    const int sy = s.y + sj;
    for (const auto& span : *spans) {
      int a = std::max(d.x, span.left), b = std::min(d.x + d.width, span.right);
      if (a >= b) continue;
      if (fill) {
        uint32_t* row = target.row32(y + off.y);
        std::fill(row + a + off.x, row + b + off.x, fillValue);
        continue;
      }
      if (plainCopy) {
        if (const uint32_t* from = reader->plainRow(s.x + (a - d.x), sy, b - a)) {
          uint32_t* row = target.row32(y + off.y) + a + off.x;
          if (wholeValues) {
            std::copy_n(from, b - a, row);
            continue;
          }
          const uint32_t alpha = out.opaqueAlpha ? 0xFF000000u : 0u;
          for (int k = 0; k < b - a; ++k) row[k] = (from[k] & 0xFFFFFF) | alpha;
          continue;
        }
      }
      for (int x = a; x < b; ++x) {
        const int i = x - d.x;
        int si = plainCopy ? i : static_cast<int>((int64_t(i) * 2 + 1) * s.width / (int64_t(d.width) * 2));
        if (flipX) si = s.width - 1 - si;
        const int sx = s.x + si;
        uint32_t sv = 0, pv = 0;
        if (reader) {
          if (!reader->read(sx, sy, sv)) continue;
          if (t.transparent) {
            uint32_t rgb;
            reader->rgbAt(sx, sy, rgb);
            if (rgb == t.transparentRgb) continue;
          }
        }
        uint8_t rop = t.foreRop;
        if (t.mask) {
          int mx = t.maskX + i, my = t.maskY + j;
          const auto& m = t.mask->pixels;
          bool bit = mx >= 0 && my >= 0 && mx < m.width && my < m.height && m.raw(mx, my);
          rop = bit ? t.foreRop : t.backRop;
        }
        if (usesPattern(rop) && !pattern.sample(x, y, pv)) continue;
        const int bx = x + off.x, by = y + off.y;
        if (wholeValues) {
          target.row32(by)[bx] = sv;
          continue;
        }
        uint32_t dv = (rop == 0xCC || rop == 0xF0) ? 0 : target.raw(bx, by);
        target.setRaw(bx, by, applyRop3(rop, pv, sv, dv) & mask);
      }
    }
  }
  return true;
}

}  // namespace win32::gdi

using namespace win32::gdi;

namespace {

BOOL runTransfer(Transfer& t, HDC dest, HDC src) {
  GdiLock lock(gdiMutex());
  auto d = findDC(dest);
  if (!d) return FALSE;
  std::shared_ptr<DCObject> s;
  if (src) {
    s = findDC(src);
    if (!s) return FALSE;
  }
  t.dest = d.get();
  t.src = s.get();
  return transfer(t) ? TRUE : FALSE;
}

}  // namespace

extern "C" BOOL WINAPI PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
  Transfer t{};
  t.x = x, t.y = y, t.width = width, t.height = height;
  t.foreRop = t.backRop = static_cast<uint8_t>(rop >> 16);
  if (usesSource(t.foreRop)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return runTransfer(t, hdc, nullptr);
}

extern "C" BOOL WINAPI StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                                  int srcWidth, int srcHeight, DWORD rop) {
  Transfer t{};
  t.x = x, t.y = y, t.width = width, t.height = height;
  t.srcX = xSrc, t.srcY = ySrc, t.srcWidth = srcWidth, t.srcHeight = srcHeight;
  t.foreRop = t.backRop = static_cast<uint8_t>(rop >> 16);
  return runTransfer(t, dest, usesSource(t.foreRop) ? src : nullptr);
}

extern "C" BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                              DWORD rop) {
  // The source extent is the destination's, in the source DC's own units.
  GdiLock lock(gdiMutex());
  int sw = width, sh = height;
  if (src && usesSource(static_cast<uint8_t>(rop >> 16))) {
    auto d = findDC(dest);
    auto s = findDC(src);
    if (!d || !s) return FALSE;
    sw = s->widthToLogical(d->widthToDevice(width));
    sh = s->heightToLogical(d->heightToDevice(height));
  }
  return StretchBlt(dest, x, y, width, height, src, xSrc, ySrc, sw, sh, rop);
}

extern "C" BOOL WINAPI MaskBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                               HBITMAP mask, int xMask, int yMask, DWORD rop4) {
  GdiLock lock(gdiMutex());
  Transfer t{};
  t.x = x, t.y = y, t.width = width, t.height = height;
  t.srcX = xSrc, t.srcY = ySrc, t.srcWidth = width, t.srcHeight = height;
  t.foreRop = static_cast<uint8_t>(rop4 >> 16);
  t.backRop = static_cast<uint8_t>(rop4 >> 24);
  std::shared_ptr<BitmapObject> m;
  if (mask) {
    m = findBitmap(mask);
    if (!m) return FALSE;
    if (m->pixels.bpp != 1) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    t.mask = m.get();
    t.maskX = xMask;
    t.maskY = yMask;
  } else {
    t.backRop = t.foreRop;
  }
  return runTransfer(t, dest, (usesSource(t.foreRop) || usesSource(t.backRop)) ? src : nullptr);
}

extern "C" BOOL WINAPI TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                                      int srcWidth, int srcHeight, UINT transparent) {
  if (width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0 || !src) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Transfer t{};
  t.x = x, t.y = y, t.width = width, t.height = height;
  t.srcX = xSrc, t.srcY = ySrc, t.srcWidth = srcWidth, t.srcHeight = srcHeight;
  t.foreRop = t.backRop = 0xCC;
  t.transparent = true;
  t.transparentRgb = rgbOf(plainColor(transparent));
  return runTransfer(t, dest, src);
}

extern "C" COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return CLR_INVALID;
  POINT offset;
  PixelBuffer b = dc->target(&offset);
  POINT p = dc->toDevice({x, y});
  if (!b.valid() || !dc->visibleRegion().contains(p.x, p.y)) return CLR_INVALID;
  return colorrefOf(b.rgb(p.x + offset.x, p.y + offset.y));
}

extern "C" COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return CLR_INVALID;
  Painter painter(*dc);
  POINT p = dc->toDevice({x, y});
  if (!painter.valid() || !painter.clip().contains(p.x, p.y)) return CLR_INVALID;
  uint32_t raw = painter.rawOf(color);
  painter.pixel(p.x, p.y, raw, kPatCopy);
  return colorrefOf(painter.buffer().rgbOfRaw(raw));
}

extern "C" BOOL WINAPI SetPixelV(HDC hdc, int x, int y, COLORREF color) {
  return SetPixel(hdc, x, y, color) != CLR_INVALID;
}

// Scanline flood fill over raw values: FLOODFILLBORDER fills up to pixels of
// `color`, FLOODFILLSURFACE fills the pixels that have `color`.
extern "C" BOOL WINAPI ExtFloodFill(HDC hdc, int x, int y, COLORREF color, UINT type) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return FALSE;
  Painter painter(*dc);
  POINT start = dc->toDevice({x, y});
  if (!painter.valid() || !painter.clip().contains(start.x, start.y)) return FALSE;
  const PixelBuffer& b = painter.buffer();
  const POINT off = painter.offset();
  const uint32_t key = painter.rawOf(color);
  auto fillable = [&](int px, int py) {
    uint32_t v = b.raw(px + off.x, py + off.y);
    return type == FLOODFILLSURFACE ? v == key : v != key;
  };
  if (!fillable(start.x, start.y)) return FALSE;
  const RECT box = painter.clip().box();
  const int w = box.right - box.left, h = box.bottom - box.top;
  std::vector<uint8_t> seen(size_t(w) * h, 0);
  std::vector<POINT> stack{start};
  std::vector<std::pair<int, POINT>> runs;  // row, [x0, x1)
  while (!stack.empty()) {
    POINT p = stack.back();
    stack.pop_back();
    auto index = [&](int px, int py) { return size_t(py - box.top) * w + (px - box.left); };
    if (seen[index(p.x, p.y)] || !fillable(p.x, p.y)) continue;
    int x0 = p.x, x1 = p.x + 1;
    while (x0 - 1 >= box.left && !seen[index(x0 - 1, p.y)] && painter.clip().contains(x0 - 1, p.y) &&
           fillable(x0 - 1, p.y))
      --x0;
    while (x1 < box.right && !seen[index(x1, p.y)] && painter.clip().contains(x1, p.y) && fillable(x1, p.y)) ++x1;
    for (int i = x0; i < x1; ++i) seen[index(i, p.y)] = 1;
    runs.push_back({p.y, POINT{x0, x1}});
    for (int ny : {p.y - 1, p.y + 1}) {
      if (ny < box.top || ny >= box.bottom) continue;
      for (int i = x0; i < x1; ++i) {
        if (!seen[index(i, ny)] && painter.clip().contains(i, ny)) stack.push_back({i, ny});
      }
    }
  }
  // Fill after the search, so the fill colour never confuses it.
  Ink ink = painter.brushInk();
  for (const auto& [row, r] : runs) painter.span(row, r.x, r.y, ink, kPatCopy);
  return TRUE;
}

extern "C" BOOL WINAPI FloodFill(HDC hdc, int x, int y, COLORREF color) {
  return ExtFloodFill(hdc, x, y, color, FLOODFILLBORDER);
}
