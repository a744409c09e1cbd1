#include <gtest/gtest.h>

#include <string>

#include "KyPropertyText.h"

TEST(PropertyText, ColoursReadFromTheControlAsHexadecimal) {
  struct Case {
    const char* control;
    const char* stored;
  } cases[] = {{"-2147483643", "0x80000005"}, {"2147483653", "0x80000005"}, {"255", "0x000000FF"},
               {"16711680", "0x00FF0000"},    {"0", "0x00000000"},          {"-1", "0xFFFFFFFF"}};
  for (const Case& c : cases) {
    CString out;
    ASSERT_TRUE(ax::ColorTextFromControl(c.control, out)) << c.control;
    EXPECT_STREQ(out, c.stored) << c.control;
  }
  CString untouched = "kept";
  for (const char* bad : {"", "red", "12x", "99999999999"}) {
    EXPECT_FALSE(ax::ColorTextFromControl(bad, untouched)) << bad;
    EXPECT_STREQ(untouched, "kept");
  }
}

TEST(PropertyText, StoredColoursGoToTheControlAsDecimal) {
  struct Case {
    const char* stored;
    const char* control;
  } cases[] = {{"0x80000005", "2147483653"}, {"2147483653", "2147483653"}, {"0X00ff0000", "16711680"},
               {"017", "15"},                {"255 ", "255"},              {"0xFFFFFFFF", "4294967295"}};
  for (const Case& c : cases) {
    CString out;
    ASSERT_TRUE(ax::ColorTextToControl(c.stored, out)) << c.stored;
    EXPECT_STREQ(out, c.control) << c.stored;
  }
  CString untouched = "kept";
  for (const char* bad : {"", "red", "0x", "12abc", "0x100000000", "-5", "089"}) {
    EXPECT_FALSE(ax::ColorTextToControl(bad, untouched)) << bad;
    EXPECT_STREQ(untouched, "kept");
  }
}

TEST(PropertyText, BooleansFollowTheNumberInTheText) {
  struct Case {
    const char* text;
    const char* fromControl;
    const char* toControl;
  } cases[] = {{"-1", "1", "-1"}, {"1", "1", "-1"}, {"0", "0", "0"}, {"True", "0", "0"}, {"", "0", "0"}, {"7x", "1", "-1"}};
  for (const Case& c : cases) {
    EXPECT_STREQ(ax::BooleanTextFromControl(c.text), c.fromControl) << c.text;
    EXPECT_STREQ(ax::BooleanTextToControl(c.text), c.toControl) << c.text;
  }
}

TEST(PropertyText, FontsAreWrittenStyleSizeAndQuotedFace) {
  struct Case {
    ax::FontText font;
    const char* text;
  } cases[] = {
      {{false, false, false, false, "8", "Arial"}, "Regular 8 'Arial'"},
      {{true, false, false, false, "10", "Arial"}, "Bold 10 'Arial'"},
      {{true, true, false, false, "8", "MS Sans Serif"}, "BoldItalic 8 'MS Sans Serif'"},
      {{true, true, true, true, "9.75", "Courier New"}, "BoldItalicStrikethroughUnderline 9 'Courier New'"},
  };
  for (const Case& c : cases) EXPECT_STREQ(ax::ComposeFontText(c.font), c.text);
}

TEST(PropertyText, FontTextsAreReadBackIntoAttributes) {
  struct Case {
    const char* text;
    bool bold, italic, strike, underline;
    const char* size;
    const char* face;
  } cases[] = {
      {"Regular 8 'Arial'", false, false, false, false, "8", "Arial"},
      {"BoldItalic 8 'MS Sans Serif'", true, true, false, false, "8", "MS Sans Serif"},
      {"underlineBOLD 9.75 'Courier New'", true, false, false, true, "9.75", "Courier New"},
      {"Strikethrough 12 'Tahoma", false, false, true, false, "12", "Tahoma"},
      {"  Bold   10   'A b'  trailing", true, false, false, false, "10", "A b"},
  };
  for (const Case& c : cases) {
    ax::FontText font;
    ASSERT_TRUE(ax::ParseFontText(c.text, font)) << c.text;
    EXPECT_EQ(font.bold, c.bold) << c.text;
    EXPECT_EQ(font.italic, c.italic) << c.text;
    EXPECT_EQ(font.strikethrough, c.strike) << c.text;
    EXPECT_EQ(font.underline, c.underline) << c.text;
    EXPECT_STREQ(font.size, c.size) << c.text;
    EXPECT_STREQ(font.face, c.face) << c.text;
  }
}

TEST(PropertyText, MalformedOrOverlongFontTextsAreRefused) {
  const std::string longFace = "Bold 8 '" + std::string(ax::kMaxFaceName + 1, 'x') + "'";
  const std::string longStyle = std::string(65, 'b') + " 8 'Arial'";
  const std::string fittingFace = "Bold 8 '" + std::string(ax::kMaxFaceName, 'x') + "'";
  for (const std::string& bad : {std::string(""), std::string("Bold"), std::string("Bold 8"), std::string("Bold 8 ''"),
                                 longFace, longStyle, std::string("Bold 12345678901234567 'Arial'")}) {
    ax::FontText font;
    font.face = "kept";
    EXPECT_FALSE(ax::ParseFontText(bad.c_str(), font)) << bad;
    EXPECT_STREQ(font.face, "kept");
  }
  ax::FontText font;
  EXPECT_TRUE(ax::ParseFontText(fittingFace.c_str(), font));
}
