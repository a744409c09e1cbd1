#include "editmask.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string maskFormat(const char* text, const char* mask, int direction, int size = 64) {
  char out[64];
  HCtlMaskFormat(text, mask, out, size, direction);
  return out;
}

TEST(MaskFormat, FormatsAndStripsTable) {
  const struct {
    const char* text;
    const char* mask;
    const char* display;
    const char* stripped;
  } cases[] = {
      {"0301234567", "(###) ###-####", "(030) 123-4567", "0301234567"},
      {"030", "(###) ###-####", "(030) ___-____", "030"},  // stripping stops at a blank
      {"ab12", "@@-&&", "ab-12", "ab12"},
      {"a1", "@#", "a1", "a1"},
      {"1-", "#@", "1 ", "1"},             // a refused character is skipped in formatting
      {"12", "[blue]##", "12", "12"},      // a colour prefix is no position
      {"12", "\\###", "#12", "12"},
      {"5", "A#", "A5", "5"},              // a letter literal consumes nothing
      {"x!", "@!", "x!", "x!"},
      {"h\xE9llo", "*****", "h\xE9llo", "h\xE9llo"},
      {"abc", "", "abc", "abc"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(maskFormat(c.text, c.mask, 0), c.display) << c.mask;
    EXPECT_EQ(maskFormat(c.display, c.mask, 1), c.stripped) << c.mask;
  }
}

TEST(MaskFormat, StripStopsAtARefusedCharacter) {
  char out[16];
  EXPECT_EQ(HCtlMaskFormat("12x4", "####", out, sizeof out, 1), 3);  // two written, one more
  EXPECT_STREQ(out, "12");
  EXPECT_EQ(HCtlMaskFormat("1234", "####", out, 3, 0), 2);
  EXPECT_STREQ(out, "12");
  EXPECT_EQ(HCtlMaskFormat(nullptr, "##", out, sizeof out, 0), 0);
  EXPECT_EQ(HCtlMaskFormat("1", "##", out, 0, 0), 0);
}

TEST(MaskKey, KeysTable) {
  const struct {
    const char* text;
    const char* mask;
    int position;
    char key;
    int result;
    const char* after;
    int caret;
  } cases[] = {
      {"(___) ___", "(###) ###", 1, '5', 0, "(5__) ___", 2},
      {"(___) ___", "(###) ###", 0, '5', 0, "(5__) ___", 2},   // the literal is stepped over
      {"(5__) ___", "(###) ###", 3, '7', 0, "(5_7) ___", 4},
      {"(567) ___", "(###) ###", 4, '1', 0, "(567) 1__", 7},   // over ')' and ' '
      {"(567) ___", "(###) ###", 4, ')', 0, "(567) ___", 5},   // a literal typed as itself
      {"(___) ___", "(###) ###", 1, 'a', 1, "(___) ___", 1},
      {"(567) 123", "(###) ###", 9, '1', 1, "(567) 123", 9},   // the end of the mask
      {"", "##-##", 0, '1', 0, "1", 1},                        // a short text grows
      {"12", "##-##", 2, '3', 0, "12-3", 4},
      {"[x]", "[red]@@", 0, 'q', 0, "qx]", 1},                  // no position for the prefix
  };
  for (const auto& c : cases) {
    char text[32];
    std::snprintf(text, sizeof text, "%s", c.text);
    int caret = -1, count = -1;
    EXPECT_EQ(HCtlMaskKey(text, sizeof text, c.mask, c.position, c.key, &caret, &count), c.result) << c.text << " " << c.key;
    EXPECT_STREQ(text, c.after) << c.text << " " << c.key;
    if (c.result == 0) {
      EXPECT_EQ(caret, c.caret);
      EXPECT_EQ(count, c.caret - c.position);
    }
  }
}

TEST(MaskDelete, PlaceholdersGetTheirBlank) {
  char text[16] = "(12) ab!";
  EXPECT_EQ(HCtlMaskDelete(text, "(##) @@!", 1), 2);
  EXPECT_STREQ(text, "(_2) ab!");
  EXPECT_EQ(HCtlMaskDelete(text, "(##) @@!", 0), 2);  // literal stays
  EXPECT_STREQ(text, "(_2) ab!");
  EXPECT_EQ(HCtlMaskDelete(text, "(##) @@!", 5), 2);
  EXPECT_STREQ(text, "(_2)  b!");
  EXPECT_EQ(HCtlMaskDelete(text, "(##) @@!", 7), 2);
  EXPECT_STREQ(text, "(_2)  b-");
  EXPECT_EQ(HCtlMaskDelete(text, "(##) @@!", 8), 0);
}

}  // namespace
