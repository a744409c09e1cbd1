// DrawTextA with the text of a double-byte code page: widths as the GDI
// measures them, and no break, ellipsis or prefix ever splitting a lead byte
// from its trail byte. The ANSI code page comes from KY_ACP, read once per
// process: this program runs under 932 unless KY_ACP names another page, and
// the build runs it again under 936, 949 and 950.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "drawcanvas.h"

namespace {

const bool kAcpSet = [] { return ::setenv("KY_ACP", "932", 0) == 0; }();

struct Sample {
  UINT codePage;
  const char16_t* words;  // double-byte characters only
};

const Sample kSamples[] = {
    {932, u"日本語表示試験"},
    {936, u"简体中文显示测试"},
    {949, u"한국어표시시험"},
    {950, u"繁體中文顯示許功"},
};

std::string toAnsi(const std::u16string& text) {
  int n = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()),
                              nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

// Whether `offset` starts a character of `text` (walked from its start).
bool startsCharacter(const std::string& text, size_t offset) {
  size_t i = 0;
  while (i < offset) i += IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size() ? 2 : 1;
  return i == offset;
}

// A double-byte character of the page whose trail byte is a backslash, or "".
std::string backslashTrailCharacter() {
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    if (!IsDBCSLeadByte(static_cast<BYTE>(lead))) continue;
    const char bytes[2] = {static_cast<char>(lead), '\\'};
    WCHAR wide[2];
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, 2, wide, 2) == 1) return std::string(bytes, 2);
  }
  return "";
}

class DrawTextDbcs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kAcpSet);
    size_t characters = 0;
    for (const Sample& s : kSamples)
      if (s.codePage == GetACP()) {
        words_ = toAnsi(s.words);
        characters = std::u16string(s.words).size();
      }
    ASSERT_FALSE(words_.empty()) << "no sample text for code page " << GetACP();
    ASSERT_EQ(words_.size(), 2 * characters) << "every character of the sample takes two bytes";
    font_ = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    SelectObject(canvas_.dc(), font_);
    GetTextMetricsA(canvas_.dc(), &tm_);
    SIZE one{};
    GetTextExtentPoint32A(canvas_.dc(), words_.data(), 2, &one);
    wide_ = one.cx;
  }
  void TearDown() override {
    SelectObject(canvas_.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(font_);
  }
  int extent(const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(canvas_.dc(), text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
  }

  DrawCanvas canvas_{400, 200};
  HFONT font_ = nullptr;
  TEXTMETRICA tm_{};
  std::string words_;
  int wide_ = 0;  // the width of one full-width character
};

TEST_F(DrawTextDbcs, CalcRectWidthIsTheExtent) {
  const std::string texts[] = {words_, "Ab " + words_ + " cd", words_.substr(0, 4) + "&" + words_.substr(4)};
  for (const std::string& text : texts) {
    RECT r{0, 0, 0, 0};
    EXPECT_EQ(DrawTextA(canvas_.dc(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX), tm_.tmHeight);
    EXPECT_EQ(r.right, extent(text)) << text;
    RECT wide{0, 0, 1000, 0};
    DrawTextA(canvas_.dc(), text.c_str(), -1, &wide, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_EQ(wide.right, extent(text)) << text;
  }
}

// Text without spaces breaks between double-byte characters, never inside
// one: lines of three in a rectangle three and a half characters wide.
TEST_F(DrawTextDbcs, WordBreakFallsBetweenCharacters) {
  const int count = static_cast<int>(words_.size() / 2);
  for (UINT extra : {0u, static_cast<UINT>(DT_EDITCONTROL)}) {
    RECT r{0, 0, wide_ * 7 / 2, 0};
    const int height = DrawTextA(canvas_.dc(), words_.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | extra);
    EXPECT_EQ(height, (count + 2) / 3 * tm_.tmHeight);
    EXPECT_EQ(r.right, 3 * wide_);
  }
  // After a Latin word too.
  const std::string mixed = "Abc " + words_;
  RECT r{0, 0, extent("Abc ") + wide_ * 5 / 2, 0};
  DrawTextA(canvas_.dc(), mixed.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(r.right, extent("Abc " + words_.substr(0, 4)));
}

TEST_F(DrawTextDbcs, EndEllipsisKeepsWholeCharacters) {
  const int dots = extent("...");
  for (int room = 1; room <= 4; ++room) {
    // Between room and room + 1 characters, and a byte's worth of either side.
    for (int slack : {wide_ / 2 - 1, wide_ / 2 + 1}) {
      std::vector<char> buffer(words_.begin(), words_.end());
      buffer.resize(words_.size() + 8, '\0');
      RECT r{0, 0, dots + room * wide_ + slack, 40};
      DrawTextA(canvas_.dc(), buffer.data(), -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
      const std::string shown(buffer.data());
      ASSERT_GE(shown.size(), 3u);
      EXPECT_EQ(shown.substr(shown.size() - 3), "...");
      EXPECT_EQ(shown.substr(0, shown.size() - 3), words_.substr(0, static_cast<size_t>(room) * 2)) << room;
      EXPECT_LE(extent(shown), r.right);
    }
  }
}

// "&" before a double-byte character underlines all of it.
TEST_F(DrawTextDbcs, PrefixUnderlinesTheWholeCharacter) {
  const std::string text = "&" + words_.substr(0, 2) + "x&&";
  RECT calc{0, 0, 0, 0};
  DrawTextA(canvas_.dc(), text.c_str(), -1, &calc, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(calc.right, extent(words_.substr(0, 2) + "x&"));
  RECT r{0, 0, 200, 40};
  DrawTextA(canvas_.dc(), text.c_str(), -1, &r, DT_SINGLELINE);
  const int y = tm_.tmAscent + 1;
  int underlined = 0;
  for (int x = 0; x < wide_ + 4; ++x) underlined += canvas_.at(x, y) == RGB(0, 0, 0);
  EXPECT_EQ(underlined, wide_);
}

// A trail byte that is a backslash is no path separator.
TEST_F(DrawTextDbcs, PathEllipsisFindsTheRealSeparator) {
  const std::string tricky = backslashTrailCharacter();
  if (GetACP() == 932 || GetACP() == 950) ASSERT_FALSE(tricky.empty());
  if (tricky.empty()) return;  // 936 and 949 have no such character
  const std::string tail = "\\" + tricky + tricky + tricky;
  const std::string path = "C:\\folder\\subfolder" + tail;
  std::vector<char> buffer(path.begin(), path.end());
  buffer.resize(path.size() + 8, '\0');
  RECT r{0, 0, extent("C:\\f...") + extent(tail), 40};
  DrawTextA(canvas_.dc(), buffer.data(), -1, &r, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING);
  const std::string shown(buffer.data());
  ASSERT_GE(shown.size(), tail.size() + 3);
  EXPECT_EQ(shown.substr(shown.size() - tail.size()), tail) << shown;
  EXPECT_EQ(shown.substr(shown.size() - tail.size() - 3, 3), "...") << shown;
  EXPECT_TRUE(startsCharacter(shown, shown.size() - tail.size()));
}

// What DrawTextA draws is what TextOutA draws at the same place.
TEST_F(DrawTextDbcs, DrawnPixelsMatchTextOut) {
  const std::string text = "Ab " + words_;
  RECT r{5, 5, 395, 60};
  DrawTextA(canvas_.dc(), text.c_str(), -1, &r, DT_SINGLELINE | DT_NOPREFIX);
  DrawCanvas other(400, 200);
  SelectObject(other.dc(), font_);
  TextOutA(other.dc(), 5, 5, text.data(), static_cast<int>(text.size()));
  int differing = 0, inked = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 400; ++x) {
      differing += canvas_.at(x, y) != other.at(x, y);
      inked += other.at(x, y) != RGB(255, 255, 255);
    }
  SelectObject(other.dc(), GetStockObject(SYSTEM_FONT));
  EXPECT_GT(inked, 100);
  EXPECT_EQ(differing, 0);
}

}  // namespace
