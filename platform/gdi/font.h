// Fonts: logical fonts (LOGFONTA records) and the faces they realise to.
//
// A logical font realises, for one device pixel size, to an installed face
// found through fontconfig: Windows face names map to DejaVu families
// ("MS Sans Serif", "Arial" ... to DejaVu Sans; "Courier New" and fixed
// pitch to DejaVu Sans Mono; "Times New Roman" to DejaVu Serif), so metrics
// are the same on every machine that has fonts-dejavu-core. Glyphs are drawn
// by cairo/FreeType once per character into 8-bit coverage masks with fixed
// settings (greyscale antialiasing, slight hinting, integer advances), which
// keeps rendering deterministic.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gdiobject.h"

typedef struct _cairo_scaled_font cairo_scaled_font_t;

namespace win32::gdi {

class FontObject : public GdiObject {
 public:
  FontObject() : GdiObject(OBJ_FONT) {}
  LOGFONTA logfont{};
  int describe(int size, void* buffer) const override;
};

// A coverage mask of one character; (left, top) is the offset of the mask's
// top-left pixel from the pen position on the baseline.
struct Glyph {
  int advance = 0;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;  // width * height, 0..255
};

class RealizedFont {
 public:
  ~RealizedFont();
  // The face for `logfont` at `pixelHeight` device pixels (signed like
  // lfHeight: negative = character height, positive = cell height).
  // Never null: a face that cannot be found falls back to DejaVu Sans, and
  // failing that to cairo's built-in sans serif.
  static std::shared_ptr<RealizedFont> get(const LOGFONTA& logfont, int pixelHeight);

  const TEXTMETRICA& metrics() const { return metrics_; }
  const std::string& family() const { return family_; }
  int advance(unsigned char c) { return glyph(c).advance; }
  const Glyph& glyph(unsigned char c);
  int underlinePosition() const { return underlinePos_; }  // below the baseline
  int strikeoutPosition() const { return strikeoutPos_; }  // above the baseline
  int lineThickness() const { return lineThickness_; }
  // The cairo font the glyphs come from (em in device pixels); for devices
  // that draw text as vectors.
  cairo_scaled_font_t* scaledFont() const { return font_; }

 private:
  RealizedFont() = default;
  void computeMetrics(const LOGFONTA& logfont, double em);
  cairo_scaled_font_t* font_ = nullptr;
  std::string family_;
  TEXTMETRICA metrics_{};
  int underlinePos_ = 1;
  int strikeoutPos_ = 3;
  int lineThickness_ = 1;
  std::unique_ptr<Glyph> glyphs_[256];
};

// The Windows face names the mapping stands in for, in its own order.
std::vector<const char*> mappedFaceNames();

// Unicode of a code page 1252 byte.
char32_t unicodeOf1252(unsigned char c);

std::shared_ptr<FontObject> stockFont(int index);

}  // namespace win32::gdi
