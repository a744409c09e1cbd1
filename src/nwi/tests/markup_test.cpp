#include <gtest/gtest.h>

#include <string>

#include "kymessages.h"
#include "markup.h"

namespace {

TEST(ColorToken, NamesAreMatchedWhole) {
  struct Case {
    const char* token;
    bool valid;
    COLORREF color;
  };
  const Case cases[] = {
      {"red", true, 0x000000FF},        {"RED", true, 0x000000FF},        {"blue", true, 0x00FF0000},
      {"cyan", true, 0x00FFFF00},       {"gray", true, 0x00808080},       {"black", true, 0x00000000},
      {"green", true, 0x0000FF00},      {"olive", true, 0x00008080},      {"white", true, 0x00FFFFFF},
      {"purple", true, 0x00800080},     {"yellow", true, 0x0000FFFF},     {"magenta", true, 0x00FF00FF},
      {"darkred", true, 0x00000080},    {"dkred", true, 0x00000080},      {"darkgreen", true, 0x00008000},
      {"dkgreen", true, 0x00008000},    {"darkblue", true, 0x00800000},   {"darkcyan", true, 0x00808000},
      {"lightgray", true, 0x00C0C0C0},  {"ltgray", true, 0x00C0C0C0},     {" white ", true, 0x00FFFFFF},
      // Words that only share a length and a first letter with a colour are no colour.
      {"rot", false, 0},                {"bark", false, 0},               {"dxxxxxx", false, 0},
      {"xxxxxxx", false, 0},            {"whale", false, 0},              {"redd", false, 0},
      {"", false, 0},                   {"   ", false, 0},
  };
  for (const Case& c : cases) {
    COLORREF color = 0x12345678;
    EXPECT_EQ(HCtlColorToken(c.token, static_cast<int>(strlen(c.token)), &color) != FALSE, c.valid) << c.token;
    EXPECT_EQ(color, c.valid ? c.color : 0x12345678u) << c.token;
  }
}

TEST(ColorToken, NumbersArePaletteRelativeAndClamped) {
  struct Case {
    const char* token;
    bool valid;
    COLORREF color;
  };
  const Case cases[] = {
      {"255,0,0", true, 0x020000FF},
      {"0 128 255", true, 0x02FF8000},
      {"10", true, 0x0200000A},
      {"1;2", true, 0x02000201},
      {"300,0,999", true, 0x02FF00FF},  // clamped, not wrapped (300 would be 44)
      {"1,2,3,4", true, 0x02030201},
      {"0000000000000000001", true, 0x02000001},  // 19 digits
      {"00000000000000000001", false, 0},         // 20 digits
      {"99999999999999999999999", false, 0},
      {",,,", false, 0},
      {"-5", true, 0x02000005},  // '-' is a separator
  };
  for (const Case& c : cases) {
    COLORREF color = 0;
    EXPECT_EQ(HCtlColorToken(c.token, static_cast<int>(strlen(c.token)), &color) != FALSE, c.valid) << c.token;
    if (c.valid) EXPECT_EQ(color, c.color) << c.token;
  }
}

TEST(Markup, ColoursAndTheDisplayedText) {
  struct Case {
    const char* definition;
    int found;
    COLORREF text;
    COLORREF back;
    const char* display;
  };
  const COLORREF none = kHCtlNoColor;
  const Case cases[] = {
      {"Plain text", 0, none, none, "Plain text"},
      {"[white];Hello", HCTL_MARKUP_TEXTCOLOR, 0x00FFFFFF, none, "Hello"},
      {"[];[lightgray];Text", HCTL_MARKUP_BKCOLOR, none, 0x00C0C0C0, "Text"},
      {"[red];[0,0,255];Both", 3, 0x000000FF, 0x02FF0000, "Both"},
      {"[darkred];x", HCTL_MARKUP_TEXTCOLOR, 0x00000080, none, "x"},
      {"[dxxxxxx];x", 0, none, none, "x"},
      {"a;b;c;d", 0, none, none, "c;d"},
      {"a;b", 0, none, none, "b"},
      {"Semi\\;colon", 0, none, none, "Semi;colon"},
      {"\\[red] literal", 0, none, none, "[red] literal"},
      {"[red][blue];x", HCTL_MARKUP_TEXTCOLOR, 0x000000FF, none, "x"},
      {"Price [EUR]", 0, none, none, "Price "},
      {"open [bracket", 0, none, none, "open [bracket"},
      {"", 0, none, none, ""},
  };
  for (const Case& c : cases) {
    COLORREF text = none;
    COLORREF back = none;
    char display[64];
    EXPECT_EQ(HCtlParseMarkup(c.definition, &text, &back, display, sizeof display), c.found) << c.definition;
    EXPECT_EQ(text, c.text) << c.definition;
    EXPECT_EQ(back, c.back) << c.definition;
    EXPECT_STREQ(display, c.display) << c.definition;
  }
}

TEST(Markup, BackgroundIsOnlyReadWithATarget) {
  COLORREF text = kHCtlNoColor;
  char display[16];
  EXPECT_EQ(HCtlParseMarkup("[red];[blue];t", &text, nullptr, display, sizeof display), HCTL_MARKUP_TEXTCOLOR);
  EXPECT_STREQ(display, "t");
}

TEST(Markup, DisplayIsBoundedAndTerminated) {
  const std::string longText(500, 'q');
  char display[10];
  HCtlParseMarkup(longText.c_str(), nullptr, nullptr, display, sizeof display);
  EXPECT_EQ(std::string(display), std::string(9, 'q'));
  EXPECT_EQ(HCtlParseMarkup(nullptr, nullptr, nullptr, display, sizeof display), 0);
  EXPECT_STREQ(display, "");
}

TEST(Markup, ColourValuesResolveSystemColours) {
  EXPECT_EQ(HCtlResolveColor(HCTL_SYSCOLOR | COLOR_BTNFACE, COLOR_WINDOW), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(HCtlResolveColor(kHCtlNoColor, COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(HCtlResolveColor(0x00123456, COLOR_WINDOW), 0x00123456u);
}

}  // namespace
