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
//
// Text is in the ANSI code page of the process. A character the face lacks
// (the ideographs and kana of a double-byte code page, for one) comes from
// the first face of fontconfig's fallback list for the face's style and the
// code page's language that has it, at the same size and on the same
// baseline; only a character no installed face has shows the face's
// missing-glyph box.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
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
struct FallbackList;

struct Glyph {
  int advance = 0;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;  // width * height, 0..255
  char16_t code = 0;                 // the character drawn
  unsigned long index = 0;           // its glyph in `face`
  cairo_scaled_font_t* face = nullptr;  // the realised face or the fallback that has it
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
  // The glyph of a byte read on its own (a lead byte alone is the code
  // page's default character).
  const Glyph& glyph(unsigned char c);
  // The glyph of the character at `text` (`available` > 0 bytes there);
  // `length` receives its bytes: 2 for a double-byte character.
  const Glyph& charGlyph(const char* text, size_t available, size_t& length);
  int underlinePosition() const { return underlinePos_; }  // below the baseline
  int strikeoutPosition() const { return strikeoutPos_; }  // above the baseline
  int lineThickness() const { return lineThickness_; }
  // The cairo font the glyphs come from (em in device pixels); for devices
  // that draw text as vectors.
  cairo_scaled_font_t* scaledFont() const { return font_; }

 private:
  RealizedFont() = default;
  void computeMetrics(const LOGFONTA& logfont, double em);
  std::unique_ptr<Glyph> makeGlyph(char16_t code);
  cairo_scaled_font_t* fallbackHaving(char16_t code, unsigned long& index);
  cairo_scaled_font_t* font_ = nullptr;
  double em_ = 12;
  int style_[3] = {};  // family kind, weight, italic: what the fallbacks are sorted for
  FallbackList* fallbacks_ = nullptr;
  std::vector<cairo_scaled_font_t*> fallbackFonts_;  // fallbacks_'s faces at em_, made when first needed
  std::string family_;
  TEXTMETRICA metrics_{};
  int underlinePos_ = 1;
  int strikeoutPos_ = 3;
  int lineThickness_ = 1;
  std::unique_ptr<Glyph> glyphs_[256];
  std::unordered_map<uint16_t, std::unique_ptr<Glyph>> pairs_;  // double-byte characters, lead byte high
};

// A character of a text laid out for drawing: its glyph, its bytes (1, or 2
// for a double-byte character) and its advance in device pixels.
struct TextChar {
  const Glyph* glyph = nullptr;
  int bytes = 1;
  int advance = 0;
};

// The Windows face names the mapping stands in for, in its own order.
std::vector<const char*> mappedFaceNames();

std::shared_ptr<FontObject> stockFont(int index);

}  // namespace win32::gdi
