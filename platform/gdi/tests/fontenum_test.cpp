#include <gtest/gtest.h>

#include <strings.h>

#include <string>
#include <vector>

#include "canvas.h"

namespace {

// What one call of the enumeration callback received.
struct Entry {
  ENUMLOGFONTA logfont;
  NEWTEXTMETRICA metrics;
  DWORD type;
};

struct Recorder {
  std::vector<Entry> entries;
  int stopAfter = -1;  // answer 0 on this call (1-based); -1: never
};

int CALLBACK record(const LOGFONTA* lf, const TEXTMETRICA* tm, DWORD type, LPARAM data) {
  auto* r = reinterpret_cast<Recorder*>(data);
  r->entries.push_back({*reinterpret_cast<const ENUMLOGFONTA*>(lf), *reinterpret_cast<const NEWTEXTMETRICA*>(tm), type});
  return static_cast<int>(r->entries.size()) == r->stopAfter ? 0 : 7;
}

std::string text(const BYTE* bytes) { return reinterpret_cast<const char*>(bytes); }

// Every field that describes a style agrees with the style's name, and a
// font made from the LOGFONT realises to the metrics reported.
void expectConsistent(HDC dc, const Entry& e) {
  const LOGFONTA& lf = e.logfont.elfLogFont;
  const std::string style = text(e.logfont.elfStyle);
  const bool bold = style.find("Bold") != std::string::npos, italic = style.find("Italic") != std::string::npos;
  SCOPED_TRACE(std::string(lf.lfFaceName) + " " + style);
  EXPECT_EQ(e.type, DWORD(TRUETYPE_FONTTYPE));
  EXPECT_EQ(lf.lfWeight, bold ? FW_BOLD : FW_NORMAL);
  EXPECT_EQ(lf.lfItalic != 0, italic);
  EXPECT_EQ(e.metrics.tmItalic != 0, italic);
  EXPECT_EQ(e.metrics.ntmFlags, DWORD((bold ? NTM_BOLD : 0) | (italic ? NTM_ITALIC : 0) | (!bold && !italic ? NTM_REGULAR : 0)));
  EXPECT_EQ(text(e.logfont.elfFullName), !bold && !italic ? std::string(lf.lfFaceName) : std::string(lf.lfFaceName) + " " + style);
  EXPECT_EQ(lf.lfHeight, e.metrics.tmHeight);
  EXPECT_GT(lf.lfHeight, 0);
  EXPECT_EQ(e.metrics.ntmSizeEM, 2048u);
  HFONT font = CreateFontIndirectA(&lf);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA tm;
  ASSERT_TRUE(GetTextMetricsA(dc, &tm));
  EXPECT_EQ(tm.tmHeight, e.metrics.tmHeight);
  EXPECT_EQ(tm.tmAveCharWidth, e.metrics.tmAveCharWidth);
  SelectObject(dc, old);
  DeleteObject(font);
}

TEST(FontEnum, WithoutAFamilyEachFamilyComesOnceInItsRegularStyle) {
  Canvas c(1, 1);
  Recorder r;
  EXPECT_EQ(EnumFontFamiliesA(c.dc(), nullptr, record, reinterpret_cast<LPARAM>(&r)), 7);
  std::vector<std::string> names;
  for (const auto& e : r.entries) {
    const std::string name = e.logfont.elfLogFont.lfFaceName;
    for (const auto& seen : names) EXPECT_NE(strcasecmp(seen.c_str(), name.c_str()), 0) << name;
    names.push_back(name);
    EXPECT_EQ(text(e.logfont.elfStyle), "Regular");
    expectConsistent(c.dc(), e);
  }
  // The faces programs name, and those the mapping draws with.
  for (const char* wanted : {"MS Sans Serif", "Arial", "Courier New", "Times New Roman", "DejaVu Sans"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), wanted), names.end()) << wanted;
  }
}

TEST(FontEnum, AFamilyGivesEachOfItsStyles) {
  Canvas c(1, 1);
  const struct {
    const char* asked;
    const char* face;  // as the callback sees it
    size_t styles;
    BYTE family;
    bool fixedPitch;
  } cases[] = {
      {"Arial", "Arial", 4, FF_SWISS, false},
      {"courier new", "Courier New", 4, FF_MODERN, true},
      {"Times New Roman", "Times New Roman", 4, FF_ROMAN, false},
      {"DejaVu Sans Mono", "DejaVu Sans Mono", 4, FF_MODERN, true},
      {"No Such Face", "", 0, 0, false},
  };
  for (const auto& k : cases) {
    Recorder r;
    // The answer is the callback's last, or 1 when it was never called.
    EXPECT_EQ(EnumFontFamiliesA(c.dc(), k.asked, record, reinterpret_cast<LPARAM>(&r)), k.styles ? 7 : 1) << k.asked;
    ASSERT_EQ(r.entries.size(), k.styles) << k.asked;
    std::vector<std::string> styles;
    for (const auto& e : r.entries) {
      const LOGFONTA& lf = e.logfont.elfLogFont;
      EXPECT_STREQ(lf.lfFaceName, k.face);
      EXPECT_EQ(lf.lfPitchAndFamily & 0xF0, k.family) << k.asked;
      EXPECT_EQ(lf.lfPitchAndFamily & 3, k.fixedPitch ? FIXED_PITCH : VARIABLE_PITCH) << k.asked;
      // TEXTMETRIC's pitch bit is set for variable pitch.
      EXPECT_EQ((e.metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0, k.fixedPitch) << k.asked;
      styles.push_back(text(e.logfont.elfStyle));
      expectConsistent(c.dc(), e);
    }
    if (k.styles == 4) EXPECT_EQ(styles, (std::vector<std::string>{"Regular", "Bold", "Italic", "Bold Italic"}));
  }
}

TEST(FontEnum, ACallbackAnsweringZeroStopsAndBadArgumentsFail) {
  Canvas c(1, 1);
  for (const char* family : {static_cast<const char*>(nullptr), "Arial"}) {
    Recorder r;
    r.stopAfter = 2;
    EXPECT_EQ(EnumFontFamiliesA(c.dc(), family, record, reinterpret_cast<LPARAM>(&r)), 0);
    EXPECT_EQ(r.entries.size(), 2u);
  }
  SetLastError(0);
  EXPECT_EQ(EnumFontFamiliesA(c.dc(), nullptr, nullptr, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  Recorder r;
  EXPECT_EQ(EnumFontFamiliesA(nullptr, nullptr, record, reinterpret_cast<LPARAM>(&r)), 0);
  EXPECT_TRUE(r.entries.empty());
}

}  // namespace
