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

// A fontconfig pattern for the face, with rendering settings fixed so that
// glyphs come out the same whatever the machine's fontconfig says.
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
  if (!match) return nullptr;
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
  return match;
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

char32_t unicodeOf1252(unsigned char c) {
  static char32_t* table = [] {
    auto* t = new char32_t[256];
    for (int i = 0; i < 256; ++i) {
      char byte = static_cast<char>(i);
      std::u16string w = ansiToWide(std::string_view(&byte, 1), 1252);
      t[i] = w.size() == 1 ? w[0] : char32_t(i);
    }
    return t;
  }();
  return table[c];
}

int FontObject::describe(int size, void* buffer) const {
  if (!buffer) return sizeof(LOGFONTA);
  if (size < static_cast<int>(offsetof(LOGFONTA, lfFaceName))) return 0;
  int n = std::min<int>(size, sizeof(LOGFONTA));
  std::memcpy(buffer, &logfont, n);
  return n;
}

RealizedFont::~RealizedFont() {
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
  if (glyphs_[c]) return *glyphs_[c];
  auto g = std::make_unique<Glyph>();
  char32_t code = unicodeOf1252(c);
  // Control characters have no glyph: they show the face's missing-glyph
  // box, as TrueType faces do on Windows.
  char utf8[5] = {};
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
  cairo_glyph_t single{0, 0, 0};
  bool haveGlyph = false;
  if (code >= 0x20) {
    cairo_glyph_t* glyphs = nullptr;
    int count = 0;
    if (cairo_scaled_font_text_to_glyphs(font_, 0, 0, utf8, -1, &glyphs, &count, nullptr, nullptr, nullptr) ==
            CAIRO_STATUS_SUCCESS &&
        count == 1) {
      single = glyphs[0];
      haveGlyph = true;
    }
    cairo_glyph_free(glyphs);
  }
  single.x = single.y = 0;
  cairo_text_extents_t te{};
  cairo_scaled_font_glyph_extents(font_, &single, 1, &te);
  g->advance = static_cast<int>(std::lround(te.x_advance));
  if (code < 0x20 && !haveGlyph) g->advance = std::max(1, static_cast<int>(std::lround(te.x_advance)));
  if (te.width > 0 && te.height > 0) {
    g->left = static_cast<int>(std::floor(te.x_bearing)) - 1;
    g->top = static_cast<int>(std::floor(te.y_bearing)) - 1;
    g->width = static_cast<int>(std::ceil(te.x_bearing + te.width)) + 1 - g->left;
    g->height = static_cast<int>(std::ceil(te.y_bearing + te.height)) + 1 - g->top;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, g->width, g->height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_scaled_font(cr, font_);
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
  glyphs_[c] = std::move(g);
  return *glyphs_[c];
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
