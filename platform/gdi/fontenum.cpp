// Font enumeration: EnumFontFamiliesA over the faces a program may name.
//
// The families offered are the Windows faces the font mapping stands in for
// (see font.h) and every family fontconfig has installed, each once,
// ignoring case. All are scalable outline faces (TRUETYPE_FONTTYPE), with
// the four classic styles for the mapped faces and the styles installed for
// the others. Metrics are those the face realises to at a 16-pixel em.
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstring>
#include <internal/fontsetup.h>
#include <internal/hostpath.h>
#include <string>
#include <vector>

#include "dc.h"
#include "font.h"

namespace win32::gdi {
namespace {

constexpr int kEnumEm = 16;          // pixels of the em the metrics are taken at
constexpr int kDesignEm = 2048;      // units of ntmSizeEM, as outline faces report

struct Style {
  bool bold;
  bool italic;
};
constexpr Style kClassicStyles[] = {{false, false}, {true, false}, {false, true}, {true, true}};

struct Family {
  std::string name;
  std::vector<Style> styles;
};

const char* styleName(Style s) {
  return s.bold ? (s.italic ? "Bold Italic" : "Bold") : (s.italic ? "Italic" : "Regular");
}

bool sameName(const std::string& a, const std::string& b) { return equalsIgnoringCase(a, b); }

// The styles fontconfig has installed for `family`, in the classic order.
std::vector<Style> installedStyles(const char* family) {
  awaitFontSetup();
  std::vector<Style> styles;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcObjectSet* objects = FcObjectSetBuild(FC_WEIGHT, FC_SLANT, nullptr);
  FcFontSet* set = FcFontList(nullptr, pattern, objects);
  bool seen[2][2] = {};
  for (int i = 0; set && i < set->nfont; ++i) {
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(set->fonts[i], FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(set->fonts[i], FC_SLANT, 0, &slant);
    seen[weight >= FC_WEIGHT_BOLD][slant != FC_SLANT_ROMAN] = true;
  }
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  for (Style s : kClassicStyles) {
    if (seen[s.bold][s.italic]) styles.push_back(s);
  }
  return styles;
}

// Every family on offer, mapped faces first, then installed ones by name.
std::vector<Family> families() {
  std::vector<Family> all;
  for (const char* name : mappedFaceNames()) {
    all.push_back({name, std::vector<Style>(std::begin(kClassicStyles), std::end(kClassicStyles))});
  }
  std::vector<std::string> installed;
  awaitFontSetup();
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* set = FcFontList(nullptr, pattern, objects);
  for (int i = 0; set && i < set->nfont; ++i) {
    FcChar8* name = nullptr;
    if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &name) != FcResultMatch) continue;
    std::string family(reinterpret_cast<const char*>(name));
    // LOGFONTA holds no longer face name.
    if (family.size() < LF_FACESIZE) installed.push_back(family);
  }
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  std::sort(installed.begin(), installed.end());
  for (const auto& name : installed) {
    if (std::none_of(all.begin(), all.end(), [&](const Family& f) { return sameName(f.name, name); })) {
      all.push_back({name, installedStyles(name.c_str())});
    }
  }
  return all;
}

// One style of a family as EnumFontFamiliesA hands it to the callback.
struct Description {
  ENUMLOGFONTA logfont{};
  NEWTEXTMETRICA metrics{};
};

Description describe(const std::string& family, Style style) {
  Description d;
  LOGFONTA& lf = d.logfont.elfLogFont;
  family.copy(lf.lfFaceName, LF_FACESIZE - 1);
  lf.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = style.italic ? 1 : 0;
  lf.lfCharSet = ANSI_CHARSET;
  awaitFontSetup();
  // Reported by its cell height, as the LOGFONT given back realises.
  lf.lfHeight = RealizedFont::get(lf, -kEnumEm)->metrics().tmHeight;
  const TEXTMETRICA tm = RealizedFont::get(lf, lf.lfHeight)->metrics();
  lf.lfWidth = tm.tmAveCharWidth;
  lf.lfOutPrecision = OUT_STROKE_PRECIS;
  lf.lfClipPrecision = CLIP_STROKE_PRECIS;
  lf.lfQuality = DRAFT_QUALITY;
  // TEXTMETRIC's pitch bits say "variable" by a set bit; LOGFONT's by a value.
  lf.lfPitchAndFamily = static_cast<BYTE>((tm.tmPitchAndFamily & 0xF0) |
                                          ((tm.tmPitchAndFamily & TMPF_FIXED_PITCH) ? VARIABLE_PITCH : FIXED_PITCH));
  std::string full = family;
  if (style.bold || style.italic) full = full + " " + styleName(style);
  full.copy(reinterpret_cast<char*>(d.logfont.elfFullName), LF_FULLFACESIZE - 1);
  std::string(styleName(style)).copy(reinterpret_cast<char*>(d.logfont.elfStyle), LF_FACESIZE - 1);
  std::memcpy(&d.metrics, &tm, sizeof tm);
  d.metrics.ntmFlags = (style.bold ? NTM_BOLD : 0) | (style.italic ? NTM_ITALIC : 0) |
                       (!style.bold && !style.italic ? NTM_REGULAR : 0);
  d.metrics.ntmSizeEM = kDesignEm;
  d.metrics.ntmCellHeight = static_cast<UINT>(tm.tmHeight * (kDesignEm / kEnumEm));
  d.metrics.ntmAvgWidth = static_cast<UINT>(tm.tmAveCharWidth * (kDesignEm / kEnumEm));
  return d;
}

}  // namespace
}  // namespace win32::gdi

using namespace win32::gdi;

// Without a family: the regular style of every family, once. With one:
// each style of that family (none when it is unknown). The answer is the
// last value the callback returned (a zero stops the walk), 1 when it was
// never called.
extern "C" int WINAPI EnumFontFamiliesA(HDC hdc, LPCSTR family, FONTENUMPROCA proc, LPARAM data) {
  if (!proc || !findDC(hdc)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int answer = 1;
  for (const auto& f : families()) {
    if (family && !sameName(f.name, family)) continue;
    std::vector<Style> styles = f.styles;
    if (!family && !styles.empty()) styles.resize(1);
    for (Style s : styles) {
      const Description d = describe(f.name, s);
      answer = proc(&d.logfont.elfLogFont, reinterpret_cast<const TEXTMETRICA*>(&d.metrics), TRUETYPE_FONTTYPE, data);
      if (answer == 0) return 0;
    }
    if (family) break;
  }
  return answer;
}
