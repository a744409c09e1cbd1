// Text of a double-byte code page drawn and measured as characters: the
// ANSI code page comes from KY_ACP, read once per process, so this program
// runs under 932 unless KY_ACP names another page, and the build runs it
// again under 936, 949 and 950. Each page has a known text (ASCII, the
// page's own characters, and a double-byte character whose trail byte is an
// ASCII letter or a backslash where the page has one).
#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <internal/utf8.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "canvas.h"

namespace {

const bool kAcpSet = [] { return ::setenv("KY_ACP", "932", 0) == 0; }();

struct Sample {
  UINT codePage;
  const char* language;  // fontconfig's name of the page's language
  const char16_t* text;
};

const Sample kSamples[] = {
    {932, "ja", u"Abc 日本語の表示テスト ｱｲｳ"},  // 表 is 95 5C, ア is 83 41
    {936, "zh-cn", u"Abc 简体中文显示测试"},
    {949, "ko", u"Abc 한국어 표시 시험"},
    {950, "zh-tw", u"Abc 繁體中文顯示許功"},  // 許 and 功 end in 5C
};

const Sample* currentSample() {
  for (const Sample& s : kSamples)
    if (s.codePage == GetACP()) return &s;
  return nullptr;
}

std::string toAnsi(const std::u16string& text) {
  int n = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()),
                              nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  BOOL usedDefault = FALSE;
  WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()), out.data(), n,
                      nullptr, &usedDefault);
  EXPECT_FALSE(usedDefault) << "the sample text is not all in code page " << GetACP();
  return out;
}

// The characters of ANSI text as (offset, bytes), walked with the lead bytes.
std::vector<std::pair<size_t, size_t>> characters(const std::string& text) {
  std::vector<std::pair<size_t, size_t>> out;
  for (size_t i = 0; i < text.size();) {
    size_t n = IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size() ? 2 : 1;
    out.emplace_back(i, n);
    i += n;
  }
  return out;
}

UINT codeAt(const std::string& text, size_t offset, size_t bytes) {
  auto b = [&](size_t i) { return static_cast<UINT>(static_cast<unsigned char>(text[i])); };
  return bytes == 2 ? (b(offset) << 8 | b(offset + 1)) : b(offset);
}

constexpr int kEm = 16;

class TextDbcs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kAcpSet);
    sample_ = currentSample();
    ASSERT_NE(sample_, nullptr) << "no sample text for code page " << GetACP();
    text_ = toAnsi(sample_->text);
    ASSERT_GT(text_.size(), std::u16string(sample_->text).size()) << "the sample has no double-byte character";
    font_ = CreateFontA(-kEm, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  }
  void TearDown() override { DeleteObject(font_); }

  const Sample* sample_ = nullptr;
  std::string text_;
  HFONT font_ = nullptr;
};

TEST_F(TextDbcs, ExtentsAgreeBetweenTheFunctions) {
  Canvas c(8, 8);
  SelectObject(c.dc(), font_);
  SIZE size{};
  ASSERT_TRUE(GetTextExtentPoint32A(c.dc(), text_.data(), static_cast<int>(text_.size()), &size));
  EXPECT_GT(size.cx, 0);

  // Character by character through GetCharWidth32A (a double-byte character
  // as lead byte * 256 + trail byte), and per byte from GetTextExtentExPointA.
  std::vector<INT> dx(text_.size());
  int fit = -1;
  SIZE exSize{};
  ASSERT_TRUE(GetTextExtentExPointA(c.dc(), text_.data(), static_cast<int>(text_.size()), size.cx, &fit, dx.data(),
                                    &exSize));
  EXPECT_EQ(exSize.cx, size.cx);
  EXPECT_EQ(fit, static_cast<int>(text_.size()));
  int sum = 0, fullWidth = 0;
  for (auto [offset, bytes] : characters(text_)) {
    const UINT code = codeAt(text_, offset, bytes);
    INT w = 0;
    ASSERT_TRUE(GetCharWidth32A(c.dc(), code, code, &w)) << std::hex << code;
    SIZE one{};
    GetTextExtentPoint32A(c.dc(), text_.data() + offset, static_cast<int>(bytes), &one);
    EXPECT_EQ(w, one.cx) << std::hex << code;
    sum += w;
    // Both bytes of a character end where the character ends.
    for (size_t k = 0; k < bytes; ++k) EXPECT_EQ(dx[offset + k], sum) << "byte " << offset + k;
    if (bytes == 2) {
      if (!fullWidth) fullWidth = w;
      // An ideograph or syllable is one full-width character, not two bytes' worth of anything.
      EXPECT_EQ(w, fullWidth) << std::hex << code;
    }
  }
  EXPECT_EQ(sum, size.cx);
  TEXTMETRICA tm{};
  GetTextMetricsA(c.dc(), &tm);
  EXPECT_GE(fullWidth, tm.tmAveCharWidth * 3 / 2);

  // A limit inside a double-byte character fits only the characters before it.
  for (auto [offset, bytes] : characters(text_)) {
    if (bytes != 2 || offset == 0) continue;
    ASSERT_TRUE(GetTextExtentExPointA(c.dc(), text_.data(), static_cast<int>(text_.size()), dx[offset] - 1, &fit,
                                      nullptr, &exSize));
    EXPECT_EQ(fit, static_cast<int>(offset));
    break;
  }

  // The current position moves by the extent.
  SetTextAlign(c.dc(), TA_UPDATECP);
  MoveToEx(c.dc(), 0, 0, nullptr);
  TextOutA(c.dc(), 0, 0, text_.data(), static_cast<int>(text_.size()));
  POINT at{};
  GetCurrentPositionEx(c.dc(), &at);
  EXPECT_EQ(at.x, size.cx);
}

TEST_F(TextDbcs, CharacterWidthsTakeDoubleByteCodes) {
  Canvas c(8, 8);
  SelectObject(c.dc(), font_);
  size_t offset = 0;
  while (!IsDBCSLeadByte(static_cast<BYTE>(text_[offset]))) ++offset;
  const UINT code = codeAt(text_, offset, 2);
  INT widths[3] = {};
  ASSERT_TRUE(GetCharWidth32A(c.dc(), code - 1, code + 1, widths));  // a range across double-byte codes
  INT single = 0;
  GetCharWidth32A(c.dc(), code, code, &single);
  EXPECT_EQ(widths[1], single);
  ABC abc{};
  ASSERT_TRUE(GetCharABCWidthsA(c.dc(), code, code, &abc));
  EXPECT_EQ(abc.abcA + static_cast<int>(abc.abcB) + abc.abcC, single);
  EXPECT_GT(abc.abcB, 0u);
  SetLastError(0);
  EXPECT_FALSE(GetCharWidth32A(c.dc(), 0xFFFF, 0x10000, widths));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// lpDx has an entry a byte: a double-byte character advances by the sum of
// its two, so the width on the lead byte (trail 0) and the width halved
// draw alike, and alike to the font's own advances.
TEST_F(TextDbcs, LpDxPerByteSumsADoubleByteCharacter) {
  const int width = 400, height = 30;
  std::vector<INT> natural(text_.size()), leadOnly(text_.size()), halved(text_.size());
  {
    Canvas c(8, 8);
    SelectObject(c.dc(), font_);
    int fit = 0;
    SIZE size{};
    std::vector<INT> ends(text_.size());
    GetTextExtentExPointA(c.dc(), text_.data(), static_cast<int>(text_.size()), 0, &fit, ends.data(), &size);
    int previous = 0;
    for (auto [offset, bytes] : characters(text_)) {
      const int w = ends[offset] - previous;
      previous = ends[offset];
      leadOnly[offset] = w;
      halved[offset] = bytes == 2 ? w / 2 : w;
      if (bytes == 2) {
        leadOnly[offset + 1] = 0;
        halved[offset + 1] = w - w / 2;
      }
    }
  }
  auto draw = [&](const INT* dx) {
    auto c = std::make_unique<Canvas>(width, height);
    SelectObject(c->dc(), font_);
    ExtTextOutA(c->dc(), 2, 2, 0, nullptr, text_.data(), static_cast<UINT>(text_.size()), dx);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) pixels.push_back(c->at(x, y));
    return pixels;
  };
  const auto plain = draw(nullptr);
  EXPECT_EQ(draw(leadOnly.data()), plain);
  EXPECT_EQ(draw(halved.data()), plain);
  EXPECT_NE(std::count(plain.begin(), plain.end(), RGB(255, 255, 255)), static_cast<long>(plain.size()));
}

// The reference: each character's glyph from DejaVu Sans where it has one,
// else from the face fontconfig gives the page's language, drawn by cairo at
// the same size on whole-pixel advances.
struct Reference {
  std::vector<uint8_t> coverage;  // width * height
  int advance = 0;
};

cairo_scaled_font_t* scaledFace(const char* pattern) {
  FcPattern* request = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
  FcConfigSubstitute(nullptr, request, FcMatchPattern);
  FcDefaultSubstitute(request);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, request, &result);
  FcPatternDestroy(request);
  cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(match);
  FcPatternDestroy(match);
  cairo_matrix_t m, identity;
  cairo_matrix_init_scale(&m, kEm, kEm);
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_scaled_font_t* font = cairo_scaled_font_create(face, &m, &identity, options);
  cairo_font_options_destroy(options);
  cairo_font_face_destroy(face);
  return font;
}

unsigned long glyphOf(cairo_scaled_font_t* font, const std::string& utf8) {
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  cairo_scaled_font_text_to_glyphs(font, 0, 0, utf8.data(), static_cast<int>(utf8.size()), &glyphs, &count, nullptr,
                                   nullptr, nullptr);
  unsigned long index = count == 1 ? glyphs[0].index : 0;
  cairo_glyph_free(glyphs);
  return index;
}

std::string utf8Of(char16_t c) {
  std::string s;
  win32::appendUtf8(s, c);
  return s;
}

Reference drawReference(const std::u16string& text, const char* language, int width, int height, int x0,
                        int baseline) {
  cairo_scaled_font_t* latin = scaledFace("DejaVu Sans");
  cairo_scaled_font_t* cjk = scaledFace((std::string("sans-serif:lang=") + language).c_str());
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
  cairo_t* cr = cairo_create(surface);
  int pen = x0;
  for (char16_t ch : text) {
    const std::string utf8 = utf8Of(ch);
    cairo_scaled_font_t* font = latin;
    unsigned long index = glyphOf(latin, utf8);
    if (!index) {
      font = cjk;
      index = glyphOf(cjk, utf8);
    }
    EXPECT_NE(index, 0u) << "no installed face has U+" << std::hex << static_cast<int>(ch);
    cairo_glyph_t g{index, static_cast<double>(pen), static_cast<double>(baseline)};
    cairo_set_scaled_font(cr, font);
    cairo_show_glyphs(cr, &g, 1);
    cairo_text_extents_t te;
    g.x = g.y = 0;
    cairo_scaled_font_glyph_extents(font, &g, 1, &te);
    pen += static_cast<int>(std::lround(te.x_advance));
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  Reference out;
  out.advance = pen - x0;
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) out.coverage.push_back(data[y * stride + x]);
  cairo_surface_destroy(surface);
  cairo_scaled_font_destroy(latin);
  cairo_scaled_font_destroy(cjk);
  return out;
}

TEST_F(TextDbcs, CharactersDrawAsTheirGlyphs) {
  const int width = 420, height = 32, x0 = 4, baseline = 22;
  Canvas c(width, height);
  SelectObject(c.dc(), font_);
  SetTextAlign(c.dc(), TA_BASELINE);
  ASSERT_TRUE(TextOutA(c.dc(), x0, baseline, text_.data(), static_cast<int>(text_.size())));
  SIZE size{};
  GetTextExtentPoint32A(c.dc(), text_.data(), static_cast<int>(text_.size()), &size);
  const Reference expected = drawReference(sample_->text, sample_->language, width, height, x0, baseline);
  EXPECT_EQ(size.cx, expected.advance);
  // Black on white: a pixel's darkness is the glyph's coverage there.
  int inked = 0, differing = 0, worst = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int drawn = 255 - GetRValue(c.at(x, y));
      const int want = expected.coverage[static_cast<size_t>(y * width + x)];
      inked += want > 128;
      const int diff = std::abs(drawn - want);
      worst = std::max(worst, diff);
      differing += diff > 2;
    }
  EXPECT_GT(inked, 200);
  EXPECT_EQ(differing, 0) << "worst difference " << worst;
}

}  // namespace
