// Logical fonts, their realisation through fontconfig and cairo/FreeType,
// and the per-face glyph cache.
#include "font.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <internal/codepage.h>
#include <internal/hostpath.h>
#include <winnls.h>
#include <map>
#include <tuple>

namespace win32::gdi {
namespace {

enum class Family { Sans, SansCondensed, Mono, Serif, Other };

struct FaceAlias {
  const char* windowsName;
  Family family;
};

// Windows faces the run-time and its panels name, and the family that
// stands in for each.
constexpr FaceAlias kAliases[] = {
    {"MS Sans Serif", Family::Sans},   {"MS Shell Dlg", Family::Sans},    {"MS Shell Dlg 2", Family::Sans},
    {"Microsoft Sans Serif", Family::Sans}, {"Arial", Family::Sans},      {"Helvetica", Family::Sans},
    {"System", Family::SansCondensed},          {"Tahoma", Family::Sans},          {"Verdana", Family::Sans},
    {"Segoe UI", Family::Sans},        {"Small Fonts", Family::Sans},     {"Arial Narrow", Family::Sans},
    {"Courier New", Family::Mono},     {"Courier", Family::Mono},         {"Fixedsys", Family::Mono},
    {"Terminal", Family::Mono},        {"Lucida Console", Family::Mono},  {"Consolas", Family::Mono},
    {"Times New Roman", Family::Serif}, {"Times", Family::Serif},         {"MS Serif", Family::Serif},
    {"Georgia", Family::Serif},
};

const char* familyName(Family f) {
  switch (f) {
    case Family::Mono: return "DejaVu Sans Mono";
    case Family::Serif: return "DejaVu Serif";
    case Family::SansCondensed: return "DejaVu Sans Condensed";
    default: return "DejaVu Sans";
  }
}

BYTE familyBits(Family f) {
  switch (f) {
    case Family::Mono: return FF_MODERN;
    case Family::Serif: return FF_ROMAN;
    default: return FF_SWISS;
  }
}

Family familyOf(const LOGFONTA& lf) {
  std::string_view face(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
  for (const auto& a : kAliases) {
    if (equalsIgnoringCase(face, a.windowsName)) return a.family;
  }
  if (!face.empty()) return Family::Other;
  if ((lf.lfPitchAndFamily & 3) == FIXED_PITCH || (lf.lfPitchAndFamily & 0xF0) == FF_MODERN) return Family::Mono;
  if ((lf.lfPitchAndFamily & 0xF0) == FF_ROMAN) return Family::Serif;
  return Family::Sans;
}

// Rendering settings fixed so that glyphs come out the same whatever the
// machine's fontconfig says.
void fixRendering(FcPattern* match) {
  FcPatternDel(match, FC_ANTIALIAS);
  FcPatternDel(match, FC_HINTING);
  FcPatternDel(match, FC_HINT_STYLE);
  FcPatternDel(match, FC_AUTOHINT);
  FcPatternDel(match, FC_RGBA);
  FcPatternDel(match, FC_LCD_FILTER);
  FcPatternDel(match, FC_EMBEDDED_BITMAP);
  FcPatternAddBool(match, FC_ANTIALIAS, FcTrue);
  FcPatternAddBool(match, FC_HINTING, FcTrue);
  FcPatternAddInteger(match, FC_HINT_STYLE, FC_HINT_SLIGHT);
  FcPatternAddBool(match, FC_AUTOHINT, FcFalse);
  FcPatternAddInteger(match, FC_RGBA, FC_RGBA_NONE);
  FcPatternAddBool(match, FC_EMBEDDED_BITMAP, FcFalse);
}

// A fontconfig pattern for the face, rendering settings fixed.
FcPattern* matchFace(const LOGFONTA& lf, Family family) {
  FcPattern* request = FcPatternCreate();
  std::string face(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
  const char* name = family == Family::Other ? face.c_str() : familyName(family);
  FcPatternAddString(request, FC_FAMILY, reinterpret_cast<const FcChar8*>(name));
  if (family == Family::Other) {
    // An unknown face falls back on the stand-in of its pitch and family.
    LOGFONTA bare = lf;
    bare.lfFaceName[0] = 0;
    FcPatternAddString(request, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyName(familyOf(bare))));
  }
  int weight = lf.lfWeight == 0 ? FW_NORMAL : std::clamp<int>(lf.lfWeight, 1, 1000);
  FcPatternAddInteger(request, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(request, FC_SLANT, lf.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, request, FcMatchPattern);
  FcDefaultSubstitute(request);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, request, &result);
  FcPatternDestroy(request);
  if (match) fixRendering(match);
  return match;
}

// The language whose faces carry the double-byte characters of the ANSI
// code page, or nullptr.
const char* ansiLanguage() {
  switch (GetACP()) {
    case 932: return "ja";
    case 936: return "zh-cn";
    case 949: return "ko";
    case 950: return "zh-tw";
    default: return nullptr;
  }
}

const char* genericFamily(Family f) {
  switch (f) {
    case Family::Mono: return "monospace";
    case Family::Serif: return "serif";
    default: return "sans-serif";
  }
}

}  // namespace

// Faces for characters a realised face lacks, in fontconfig's order for one
// style and the code page's language: each face there adds characters the
// ones before it lack. Built once per style and kept for the process, as
// sorting the installed faces is the slow part of a fallback.
struct FallbackList {
  struct Entry {
    FcPattern* pattern = nullptr;     // ready for rendering
    FcCharSet* charset = nullptr;     // the pattern's
    cairo_font_face_t* face = nullptr;  // made when first needed
  };
  std::vector<Entry> entries;

  cairo_font_face_t* faceOf(size_t i) {
    Entry& e = entries[i];
    if (!e.face) e.face = cairo_ft_font_face_create_for_pattern(e.pattern);
    return e.face;
  }
};

namespace {

FallbackList* fallbackList(Family family, int weight, bool italic) {
  using Key = std::tuple<int, int, int>;
  static auto* lists = new std::map<Key, std::unique_ptr<FallbackList>>;
  weight = std::clamp(weight, 1, 1000);
  const Key key{static_cast<int>(family), weight, italic ? 1 : 0};
  auto& list = (*lists)[key];
  if (list) return list.get();
  list = std::make_unique<FallbackList>();
  FcPattern* request = FcPatternCreate();
  FcPatternAddString(request, FC_FAMILY, reinterpret_cast<const FcChar8*>(genericFamily(family)));
  if (const char* lang = ansiLanguage()) FcPatternAddString(request, FC_LANG, reinterpret_cast<const FcChar8*>(lang));
  FcPatternAddInteger(request, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(request, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, request, FcMatchPattern);
  FcDefaultSubstitute(request);
  FcResult result;
  if (FcFontSet* set = FcFontSort(nullptr, request, FcTrue, nullptr, &result)) {
    for (int i = 0; i < set->nfont; ++i) {
      FcPattern* prepared = FcFontRenderPrepare(nullptr, request, set->fonts[i]);
      if (!prepared) continue;
      fixRendering(prepared);
      FcCharSet* charset = nullptr;
      if (FcPatternGetCharSet(prepared, FC_CHARSET, 0, &charset) == FcResultMatch) {
        list->entries.push_back({prepared, charset, nullptr});
      } else {
        FcPatternDestroy(prepared);
      }
    }
    FcFontSetDestroy(set);
  }
  FcPatternDestroy(request);
  return list.get();
}

// The glyph of `code` in `font`; 0 when the face has none.
unsigned long glyphIndexOf(cairo_scaled_font_t* font, char16_t code) {
  char utf8[4] = {};
  if (code < 0x80) {
    utf8[0] = static_cast<char>(code);
  } else if (code < 0x800) {
    utf8[0] = static_cast<char>(0xC0 | (code >> 6));
    utf8[1] = static_cast<char>(0x80 | (code & 0x3F));
  } else {
    utf8[0] = static_cast<char>(0xE0 | (code >> 12));
    utf8[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    utf8[2] = static_cast<char>(0x80 | (code & 0x3F));
  }
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  unsigned long index = 0;
  if (cairo_scaled_font_text_to_glyphs(font, 0, 0, utf8, -1, &glyphs, &count, nullptr, nullptr, nullptr) ==
          CAIRO_STATUS_SUCCESS &&
      count == 1) {
    index = glyphs[0].index;
  }
  cairo_glyph_free(glyphs);
  return index;
}

cairo_scaled_font_t* makeScaled(cairo_font_face_t* face, double em) {
  cairo_matrix_t matrix, identity;
  cairo_matrix_init_scale(&matrix, em, em);
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
  cairo_scaled_font_t* font = cairo_scaled_font_create(face, &matrix, &identity, options);
  cairo_font_options_destroy(options);
  return font;
}

using CacheKey = std::tuple<std::string, int, int, int>;  // family, weight, italic, pixel height

}  // namespace

std::vector<const char*> mappedFaceNames() {
  std::vector<const char*> names;
  for (const auto& a : kAliases) names.push_back(a.windowsName);
  return names;
}

int FontObject::describe(int size, void* buffer) const {
  if (!buffer) return sizeof(LOGFONTA);
  if (size < static_cast<int>(offsetof(LOGFONTA, lfFaceName))) return 0;
  int n = std::min<int>(size, sizeof(LOGFONTA));
  std::memcpy(buffer, &logfont, n);
  return n;
}

RealizedFont::~RealizedFont() {
  for (cairo_scaled_font_t* f : fallbackFonts_)
    if (f) cairo_scaled_font_destroy(f);
  if (font_) cairo_scaled_font_destroy(font_);
}

std::shared_ptr<RealizedFont> RealizedFont::get(const LOGFONTA& lf, int pixelHeight) {
  GdiLock lock(gdiMutex());
  // Faces realised before; a program uses a handful of sizes, but a bound
  // keeps a runaway (zoom through every size) from growing without end.
  static auto* cache = new std::map<CacheKey, std::shared_ptr<RealizedFont>>;
  const Family family = familyOf(lf);
  std::string face = family == Family::Other ? std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE))
                                             : familyName(family);
  for (auto& ch : face) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (pixelHeight == 0) pixelHeight = -12;  // lfHeight 0: the default size, 9 points
  const int weight = lf.lfWeight == 0 ? FW_NORMAL : lf.lfWeight;
  CacheKey key{face, weight, lf.lfItalic ? 1 : 0, pixelHeight};
  if (auto it = cache->find(key); it != cache->end()) return it->second;
  if (cache->size() > 512) cache->clear();

  auto realized = std::shared_ptr<RealizedFont>(new RealizedFont);
  cairo_font_face_t* cairoFace = nullptr;
  if (FcPattern* match = matchFace(lf, family)) {
    FcChar8* matchedFamily = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch) {
      realized->family_ = reinterpret_cast<const char*>(matchedFamily);
    }
    cairoFace = cairo_ft_font_face_create_for_pattern(match);
    FcPatternDestroy(match);
  }
  if (!cairoFace || cairo_font_face_status(cairoFace) != CAIRO_STATUS_SUCCESS) {
    if (cairoFace) cairo_font_face_destroy(cairoFace);
    cairoFace = cairo_toy_font_face_create("sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    realized->family_ = "sans-serif";
  }
  // A positive height is the cell (ascent + descent): scale the em to fit.
  double em = std::abs(pixelHeight);
  if (pixelHeight > 0) {
    cairo_scaled_font_t* probe = makeScaled(cairoFace, 1000);
    cairo_font_extents_t fe;
    cairo_scaled_font_extents(probe, &fe);
    cairo_scaled_font_destroy(probe);
    if (fe.ascent + fe.descent > 0) em = pixelHeight * 1000.0 / (fe.ascent + fe.descent);
  }
  realized->font_ = makeScaled(cairoFace, em);
  realized->em_ = em;
  LOGFONTA bare = lf;
  bare.lfFaceName[0] = 0;
  const Family kind = family == Family::Other ? familyOf(bare) : family;
  realized->style_[0] = static_cast<int>(kind);
  realized->style_[1] = weight;
  realized->style_[2] = lf.lfItalic ? 1 : 0;
  cairo_font_face_destroy(cairoFace);
  realized->computeMetrics(lf, em);
  if (pixelHeight > 0) {
    // The cell is exactly the requested height.
    auto& tm = realized->metrics_;
    tm.tmHeight = pixelHeight;
    tm.tmDescent = std::max<LONG>(0, pixelHeight - tm.tmAscent);
    tm.tmAscent = pixelHeight - tm.tmDescent;
    tm.tmInternalLeading = std::max<LONG>(0, pixelHeight - static_cast<LONG>(std::lround(em)));
  }
  (*cache)[key] = realized;
  return realized;
}

void RealizedFont::computeMetrics(const LOGFONTA& lf, double em) {
  cairo_font_extents_t fe{};
  cairo_scaled_font_extents(font_, &fe);
  auto& tm = metrics_;
  tm.tmAscent = static_cast<LONG>(std::ceil(fe.ascent - 0.01));
  tm.tmDescent = static_cast<LONG>(std::ceil(fe.descent - 0.01));
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - static_cast<LONG>(std::lround(em)));
  tm.tmExternalLeading = std::max<LONG>(0, static_cast<LONG>(std::lround(fe.height - fe.ascent - fe.descent)));
  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  int sum = 0;
  for (const char* p = kLetters; *p; ++p) sum += advance(static_cast<unsigned char>(*p));
  tm.tmAveCharWidth = (sum + 26) / 52;
  int widest = 0;
  for (int c = 0x20; c < 0x100; ++c) widest = std::max(widest, advance(static_cast<unsigned char>(c)));
  tm.tmMaxCharWidth = widest;
  tm.tmWeight = lf.lfWeight == 0 ? FW_NORMAL : lf.lfWeight;
  tm.tmOverhang = 0;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x1E;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = lf.lfItalic ? 0xFF : 0;
  tm.tmUnderlined = lf.lfUnderline ? 0xFF : 0;
  tm.tmStruckOut = lf.lfStrikeOut ? 0xFF : 0;
  LOGFONTA bare = lf;
  Family family = familyOf(lf);
  if (family == Family::Other) {
    bare.lfFaceName[0] = 0;
    family = familyOf(bare);
  }
  const bool fixed = advance('i') == advance('W');
  // TMPF_FIXED_PITCH set means a variable-pitch font (Windows' naming).
  tm.tmPitchAndFamily = familyBits(family) | TMPF_TRUETYPE | TMPF_VECTOR | (fixed ? 0 : TMPF_FIXED_PITCH);
  tm.tmCharSet = lf.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : lf.lfCharSet;
  lineThickness_ = std::max(1, static_cast<int>(std::lround(em / 14.0)));
  underlinePos_ = std::max(1, static_cast<int>(std::lround(em / 9.0)));
  strikeoutPos_ = std::max(1, static_cast<int>(std::lround(tm.tmAscent * 0.3)));
}

const Glyph& RealizedFont::glyph(unsigned char c) {
  if (!glyphs_[c]) {
    const char byte = static_cast<char>(c);
    size_t length = 1;
    glyphs_[c] = makeGlyph(ansiCharAt(&byte, 1, length));
  }
  return *glyphs_[c];
}

const Glyph& RealizedFont::charGlyph(const char* text, size_t available, size_t& length) {
  const auto lead = static_cast<unsigned char>(text[0]);
  length = isAnsiLeadByte(lead) ? ansiCharLength(text, available) : 1;
  if (length == 1) return glyph(lead);
  const uint16_t key = static_cast<uint16_t>(lead << 8 | static_cast<unsigned char>(text[1]));
  auto& slot = pairs_[key];
  if (!slot) slot = makeGlyph(ansiCharAt(text, available, length));
  return *slot;
}

// The first fallback face at this size that has `code`, its glyph in `index`.
cairo_scaled_font_t* RealizedFont::fallbackHaving(char16_t code, unsigned long& index) {
  GdiLock lock(gdiMutex());
  if (!fallbacks_) fallbacks_ = fallbackList(static_cast<Family>(style_[0]), style_[1], style_[2] != 0);
  for (size_t i = 0; i < fallbacks_->entries.size(); ++i) {
    if (!FcCharSetHasChar(fallbacks_->entries[i].charset, code)) continue;
    if (fallbackFonts_.size() <= i) fallbackFonts_.resize(i + 1, nullptr);
    if (!fallbackFonts_[i]) fallbackFonts_[i] = makeScaled(fallbacks_->faceOf(i), em_);
    index = glyphIndexOf(fallbackFonts_[i], code);
    if (index) return fallbackFonts_[i];
  }
  return nullptr;
}

std::unique_ptr<Glyph> RealizedFont::makeGlyph(char16_t code) {
  auto g = std::make_unique<Glyph>();
  g->code = code;
  g->face = font_;
  // Control characters have no glyph: they show the face's missing-glyph
  // box, as TrueType faces do on Windows; so does a character no face has.
  if (code >= 0x20) {
    g->index = glyphIndexOf(font_, code);
    if (!g->index) {
      unsigned long index = 0;
      if (cairo_scaled_font_t* fallback = fallbackHaving(code, index)) {
        g->face = fallback;
        g->index = index;
      }
    }
  }
  cairo_glyph_t single{g->index, 0, 0};
  cairo_text_extents_t te{};
  cairo_scaled_font_glyph_extents(g->face, &single, 1, &te);
  g->advance = static_cast<int>(std::lround(te.x_advance));
  if (code < 0x20) g->advance = std::max(1, g->advance);
  if (te.width > 0 && te.height > 0) {
    g->left = static_cast<int>(std::floor(te.x_bearing)) - 1;
    g->top = static_cast<int>(std::floor(te.y_bearing)) - 1;
    g->width = static_cast<int>(std::ceil(te.x_bearing + te.width)) + 1 - g->left;
    g->height = static_cast<int>(std::ceil(te.y_bearing + te.height)) + 1 - g->top;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, g->width, g->height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_scaled_font(cr, g->face);
    cairo_glyph_t placed = single;
    placed.x = -g->left;
    placed.y = -g->top;
    cairo_show_glyphs(cr, &placed, 1);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    if (data) {
      g->coverage.resize(size_t(g->width) * g->height);
      for (int y = 0; y < g->height; ++y) std::memcpy(&g->coverage[size_t(y) * g->width], data + y * stride, g->width);
    } else {
      g->width = g->height = 0;
    }
    cairo_surface_destroy(surface);
  }
  return g;
}

}  // namespace win32::gdi

using namespace win32::gdi;

extern "C" HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lf) {
  if (!lf) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto font = std::make_shared<FontObject>();
  font->logfont = *lf;
  font->logfont.lfFaceName[LF_FACESIZE - 1] = 0;
  return static_cast<HFONT>(registerObject(font));
}

extern "C" HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                                   DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                                   DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR face) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic);
  lf.lfUnderline = static_cast<BYTE>(underline);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}
