#include "numberformat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "intlprofile.h"

namespace {

std::string formatDouble(double value, const char* picture, int editForm = 0, int size = 64) {
  char out[128];
  const int length = HCtlFormatDouble(value, picture, out, size, editForm);
  EXPECT_EQ(length, static_cast<int>(std::strlen(out)));
  return out;
}

TEST(NumberPicture, ReadsTheParts) {
  HCtlNumberState st;
  const char* picture = "[red]#,##0.00#;(0.0)";
  EXPECT_EQ(HCtlNumberPicture(picture, 0, 0, &st), picture);
  EXPECT_EQ(st.sectionLength, 14);
  EXPECT_EQ(st.integer.places, 4);
  EXPECT_EQ(st.integer.zeros, 1);
  EXPECT_EQ(st.integer.maxDigits, 4);
  EXPECT_TRUE(st.grouping);
  EXPECT_TRUE(st.hasPoint);
  EXPECT_EQ(st.fraction.places, 3);
  EXPECT_EQ(st.fraction.zeros, 2);
  EXPECT_FALSE(st.signNeeded);
  EXPECT_EQ(HCtlNumberPicture(picture, 1, 0, &st), picture + 15);
  EXPECT_EQ(st.fraction.maxDigits, 1);
  EXPECT_FALSE(st.signNeeded);

  HCtlNumberPicture("*0.*", 1, 0, &st);
  EXPECT_EQ(st.integer.maxDigits, -1);
  EXPECT_EQ(st.fraction.maxDigits, -1);
  EXPECT_TRUE(st.signNeeded);

  HCtlNumberPicture("000.00", 0, 1, &st);  // strict: the first '0' alone
  EXPECT_EQ(st.integer.zeros, 1);

  HCtlNumberPicture("0.00E+00", 0, 0, &st);
  EXPECT_TRUE(st.hasExponent);
  EXPECT_TRUE(st.exponentSign);
  EXPECT_EQ(st.exponent.zeros, 2);
  HCtlNumberPicture("0 days", 0, 0, &st);  // a 'd' in a word is no exponent
  EXPECT_FALSE(st.hasExponent);
}

TEST(NumberFormat, PicturesTable) {
  IntlProfile profile;
  const struct {
    double value;
    const char* picture;
    const char* text;
  } cases[] = {
      {1200000.5, "*,0.00", "1,200,000.50"},
      {-1200000.5, "*,0.00", "-1,200,000.50"},
      {-3.5, "0.00;[red](0.00)", "(3.50)"},
      {2.0, "", "2"},
      {2.5, "", "2.5"},
      {0.125, "", "0.125"},
      {0, "", "0"},
      {0, "#.##", ""},
      {0.5, "#.##", ".5"},
      {5, "000", "005"},
      {12345, "#0", "12345"},  // surplus digits before the first place
      {12345, "$#0", "$12345"},
      {1.125, "0.00", "1.13"},  // half away from zero
      {1.005, "0.00", "1.00"},  // 1.00499999...
      {9.999, "0.00", "10.00"},
      {1.5, "0.0#", "1.5"},
      {1.25, "0.0#", "1.25"},
      {42, "\\#0", "#42"},
      {42, "0 kg", "42 kg"},
      {0.25, "0.00 %", "0.25 %"},
      {1500, "0.00E+00", "1.50E+03"},
      {0.015, "0.0e0", "1.5e-2"},
      {1500, "00.0E+0", "15.0E+2"},
      {0, "0.00E+00", "0.00E+00"},
      {1e25, "", "1.0000e+25"},
      {-1e25, "*0.00", "-1.0000e+25"},
      {1.23456e-16, "0.00", "1.2346e-16"},
      {std::numeric_limits<double>::infinity(), "", "+1.#INF"},
      {-std::numeric_limits<double>::infinity(), "", "-1.#INF"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatDouble(c.value, c.picture), c.text) << c.value << " " << c.picture;
}

// Pictures read once are kept per thread by their text: a buffer written
// over with another picture, and more pictures than are kept, format as read
// afresh.
TEST(NumberFormat, PicturesReadBeforeFollowTheirText) {
  IntlProfile profile;
  char picture[32] = "0.00";
  EXPECT_EQ(formatDouble(2.5, picture), "2.50");
  std::strcpy(picture, "0.0;(0.0)");
  EXPECT_EQ(formatDouble(2.5, picture), "2.5");
  EXPECT_EQ(formatDouble(-2.5, picture), "(2.5)");
  std::strcpy(picture, "000");
  EXPECT_EQ(formatDouble(2.0, picture), "002");
  for (int round = 0; round < 3; ++round)
    for (int places = 0; places < 24; ++places) {
      const std::string p = "0." + std::string(static_cast<size_t>(places), '0');
      char expected[64];
      std::snprintf(expected, sizeof expected, "%.*f", places, 1.5);
      EXPECT_EQ(formatDouble(1.5, places ? p.c_str() : "0"), expected) << p;
    }
}

TEST(NumberFormat, TooNarrowFillsWithHashes) {
  IntlProfile profile;
  EXPECT_EQ(formatDouble(123456.0, "*,0.00", 0, 8), "#######");
  EXPECT_EQ(formatDouble(12.0, "0.00", 0, 6), "12.00");
  char out[2];
  EXPECT_EQ(HCtlFormatDouble(1, "", out, 1, 0), 0);
}

TEST(NumberFormat, Int64UsesTheSameRules) {
  IntlProfile profile({{"sThousand", "'"}});
  const struct {
    int64_t value;
    const char* picture;
    int editForm;
    const char* text;
  } cases[] = {
      {INT64_MAX, "*,0", 0, "9'223'372'036'854'775'807"},
      {INT64_MIN, "*0", 0, "-9223372036854775808"},
      {-42, "0.00;(0.00)", 0, "(42.00)"},
      {-42, "0.00;(0.00)", 1, "-42.00"},
      {0, "", 0, "0"},
      {1500, "0.0E+0", 0, "1.5E+3"},
  };
  for (const auto& c : cases) {
    char out[64];
    int negative = -1;
    HCtlFormatInt64(c.value, c.picture, out, sizeof out, &negative, c.editForm);
    EXPECT_STREQ(out, c.text);
    EXPECT_EQ(negative, c.value < 0);
  }
}

TEST(NumberText, ReadsWithTheSettings) {
  IntlProfile profile({{"sThousand", "."}, {"sDecimal", ","}, {"sCurrency", "EUR"}});
  double value = 0;
  ASSERT_EQ(HCtlTextToDouble("1.234,5 EUR", nullptr, &value), 1);
  EXPECT_DOUBLE_EQ(value, 1234.5);
  EXPECT_EQ(HCtlTextToDouble("1,2,3", nullptr, &value), 0);
  int64_t integer = 0;
  ASSERT_EQ(HCtlTextToInt64("-1.000", nullptr, &integer), 1);
  EXPECT_EQ(integer, -1000);
}

struct KeyCase {
  const char* text;
  const char* picture;
  int caret;
  char key;
  char range;
  int result;
  const char* after;
  int caretAfter;
};

TEST(NumberKey, KeysTable) {
  IntlProfile profile;
  const KeyCase cases[] = {
      {"12.50", "*0.00", 0, '9', 0, 0, "92.50", 1},       // a digit overwrites a digit
      {"12.50", "*0.00", 5, '1', 0, 1, "12.50", 5},       // the fraction is full
      {"12.5", "*0.00", 4, '1', 0, 0, "12.51", 5},
      {"12", "*0.00", 2, '3', 'i', 0, "123", 3},          // unbounded integer: the range gives the room
      {"32767", "*0", 5, '0', 'i', 1, "32767", 5},        // 327670 is over the range
      {"3276", "*0", 4, '8', 'i', 1, "3276", 4},          // 32768 is over the range
      {"3276", "*0", 4, '7', 'i', 0, "32767", 5},
      {"255", "*0", 0, '3', 'b', 1, "255", 0},            // 355 is over a byte
      {"12", "##0", 2, '3', 0, 0, "123", 3},
      {"123", "##0", 3, '4', 0, 1, "123", 3},             // three places
      {"12.50", "*0.00", 2, '7', 0, 0, "127.50", 3},      // on the separator: into the integer part
      {"123.50", "##0.00", 3, '7', 0, 0, "123.70", 5},    // integer full: the first fraction place
      {"12", "*0.00", 2, '.', 0, 0, "12.", 3},
      {"1234", "*0.00", 2, '.', 0, 0, "12.", 3},          // the digits behind the caret go
      {"12", "*0", 2, '.', 0, 1, "12", 2},                // no point in the picture
      {"12.50", "*0.00", 4, '.', 0, 1, "12.50", 4},       // the separator lies before the caret
      {"123.50", "*0.00", 1, '.', 0, 0, "1.50", 2},
      {"12", "*0", 0, '-', 0, 0, "-12", 1},
      {"12", "*0", 1, '-', 0, 1, "12", 1},
      {"-12", "*0", 0, '5', 0, 0, "52", 1},               // the '-' under the caret goes first
      {"12", "*0", 0, 'x', 0, 1, "12", 0},
      {"255", "*0", 0, '-', 'b', 1, "255", 0},            // -255 is below a byte
  };
  for (const auto& c : cases) {
    char text[32];
    std::snprintf(text, sizeof text, "%s", c.text);
    int caret = -1, count = -1;
    const int result = HCtlNumberKey(text, sizeof text, c.picture, c.caret, c.key, &caret, &count, c.range);
    EXPECT_EQ(result, c.result) << c.text << " key " << c.key;
    EXPECT_STREQ(text, c.after) << c.text << " key " << c.key;
    if (result == 0) EXPECT_EQ(caret, c.caretAfter) << c.text << " key " << c.key;
  }
}

TEST(NumberKey, Int64RangeComparesByLengthThenDigits) {
  IntlProfile profile;
  const KeyCase cases[] = {
      {"922337203685477580", "*0", 18, '7', 'L', 0, "9223372036854775807", 19},
      {"922337203685477580", "*0", 18, '8', 'L', 1, "922337203685477580", 18},
      {"-922337203685477580", "*0", 19, '8', 'L', 0, "-9223372036854775808", 20},
      {"-922337203685477580", "*0", 19, '9', 'L', 1, "-922337203685477580", 19},
      {"1234567890123456789", "*0", 0, '1', 'L', 0, "1234567890123456789", 1},
  };
  for (const auto& c : cases) {
    char text[40];
    std::snprintf(text, sizeof text, "%s", c.text);
    int caret = -1, count = -1;
    EXPECT_EQ(HCtlNumberKey(text, sizeof text, c.picture, c.caret, c.key, &caret, &count, c.range), c.result) << c.text;
    EXPECT_STREQ(text, c.after);
  }
  // A 20-digit number beginning 1 is over the range whatever its digits.
  char text[40] = "1000000000000000000";
  int caret = 0, count = 0;
  EXPECT_EQ(HCtlNumberKey(text, sizeof text, "*0", 19, '0', &caret, &count, 'L'), 1);
  EXPECT_STREQ(text, "1000000000000000000");
}

TEST(NumberKey, RefusesWhenTheBufferIsFull) {
  IntlProfile profile;
  char text[4] = "123";
  int caret = 0, count = 0;
  EXPECT_EQ(HCtlNumberKey(text, sizeof text, "*0", 3, '4', &caret, &count, 0), 1);
  EXPECT_STREQ(text, "123");
}

TEST(ExponentKey, KeysTable) {
  IntlProfile profile;
  const KeyCase cases[] = {
      {"12", "", 2, '3', 0, 0, "123", 3},
      {"12", "", 1, '.', 0, 0, "1.2", 2},
      {"1.2", "", 3, '.', 0, 1, "1.2", 3},     // one separator
      {"1.2", "", 1, 'e', 0, 1, "1.2", 1},     // an exponent not before the separator
      {"1.2", "", 3, 'e', 0, 0, "1.2e", 4},
      {"1.2e5", "", 3, 'E', 0, 0, "1.2E5", 4}, // typed over the exponent letter
      {"1.2e5", "", 4, 'E', 0, 1, "1.2e5", 4},
      {"1.2e5", "", 4, '-', 0, 0, "1.2e-5", 5},
      {"1.2e-5", "", 4, '+', 0, 0, "1.2e+5", 5},
      {"12", "", 0, '-', 0, 0, "-12", 1},
      {"12", "", 1, '-', 0, 1, "12", 1},
      {"1.2e5", "", 5, '.', 0, 1, "1.2e5", 5},
      {"12", "", 1, 'x', 0, 1, "12", 1},
  };
  for (const auto& c : cases) {
    char text[32];
    std::snprintf(text, sizeof text, "%s", c.text);
    int caret = -1, count = -1;
    EXPECT_EQ(HCtlExponentKey(text, sizeof text, c.picture, c.caret, c.key, &caret, &count), c.result) << c.text << " " << c.key;
    EXPECT_STREQ(text, c.after);
  }
}

TEST(FloatKey, DigitsShiftInFromTheRight) {
  IntlProfile profile;
  char text[16] = "0.00";
  const char typed[] = "5371";
  const char* expected[] = {"0.05", "0.53", "5.37", "53.71"};
  for (int i = 0; i < 4; ++i) {
    int caret = -1, count = -1;
    ASSERT_EQ(HCtlFloatKey(text, sizeof text, "*0.00", static_cast<int>(std::strlen(text)), typed[i], &caret, &count), 0);
    EXPECT_STREQ(text, expected[i]);
    EXPECT_EQ(caret, static_cast<int>(std::strlen(text)));
  }
  int caret = 0, count = 0;
  ASSERT_EQ(HCtlFloatKey(text, sizeof text, "*0.00", 5, '-', &caret, &count), 0);
  EXPECT_STREQ(text, "-53.71");
  ASSERT_EQ(HCtlFloatKey(text, sizeof text, "*0.00", 6, '+', &caret, &count), 0);
  EXPECT_STREQ(text, "53.71");
  EXPECT_EQ(HCtlFloatKey(text, sizeof text, "*0.00", 5, 'x', &caret, &count), 1);
  // Deleting shifts the digits back.
  const char* after[] = {"5.37", "0.53", "0.05", "0.00"};
  for (const char* want : after) {
    const int result = HCtlFloatDelete(text, "*0.00", static_cast<int>(std::strlen(text)) - 1);
    EXPECT_TRUE(result == 2 || result == 3);
    EXPECT_STREQ(text, want);
  }
  EXPECT_EQ(HCtlFloatDelete(text, "*0.00", 1), 2);  // the separator stays
  EXPECT_EQ(HCtlFloatDelete(text, "*0.00", 9), 0);
}

}  // namespace
