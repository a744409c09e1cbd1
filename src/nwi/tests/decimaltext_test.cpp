// Laying decimal digit texts into number pictures: the control's reading
// with the user's separators, the fields' reading in program notation,
// rounding, the two overflow rules, refusals, and texts far longer than a
// double's digits.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "intlprofile.h"
#include "numberformat.h"

namespace {

struct Case {
  const char* digits;
  int point;
  int negative;
  const char* picture;
  int flags;
  const char* text;
};

std::string lay(const Case& c, int size = 512) {
  std::string out(static_cast<size_t>(size), '\x01');
  const int length = HCtlFormatDecimalText(c.digits, c.point, c.negative, c.picture, out.data(), size, c.flags);
  EXPECT_EQ(length, static_cast<int>(std::strlen(out.c_str()))) << c.digits << " " << c.picture;
  return out.c_str();
}

constexpr int kField = HCTL_DECIMAL_FIELD | HCTL_DECIMAL_ROUND;

TEST(DecimalText, ControlReadingTable) {
  IntlProfile profile({{"sThousand", "'"}, {"sDecimal", ","}});
  const Case cases[] = {
      {"1234567", 7, 0, "*,0", 0, "1'234'567"},
      {"1234567890123456789012345678901234", 34, 0, "*,0",
       0, "1'234'567'890'123'456'789'012'345'678'901'234"},
      {"12345", 3, 1, "0.0;(0.0)", HCTL_DECIMAL_ROUND, "(123,5)"},
      {"12345", 3, 1, "0.0", 0, "-123,4"},  // cut without rounding
      {"9999995", 2, 0, "0.0", HCTL_DECIMAL_ROUND, "100,0"},
      {"123456789", 1, 0, "0.*", HCTL_DECIMAL_ROUND, "1,23456789"},
      {"0012", 2, 0, "#.##", 0, ",12"},  // leading integer zeros dropped
      {"12", 5, 0, "0", 0, "12000"},     // the point beyond the digits
      {"5", -2, 0, "0.0000", 0, "0,0050"},  // 0.005,
      {"", 0, 0, "#.##", 0, ""},
      {"150", 1, 0, "0.0#", 0, "1,5"},
      {"15", 2, 0, "+0", 0, "+15"},
      {"12345", 5, 0, "#X*0", 0, "X12345"},
      {"123456", 4, 1, "#,##0.00;(0.00)", HCTL_DECIMAL_EDITFORM, "-1234,56"},
      {"12", 2, 0, nullptr, 0, "12"},  // the default picture
  };
  for (const Case& c : cases) EXPECT_EQ(lay(c), c.text) << c.digits << " " << (c.picture ? c.picture : "null");
}

TEST(DecimalText, FieldReadingTable) {
  // Program notation whatever the user's separators.
  IntlProfile profile({{"sThousand", "'"}, {"sDecimal", ","}});
  const Case cases[] = {
      {"123456700", 7, 0, "#,##0.00", kField, "1,234,567.00"},
      {"05", 1, 0, "#.##", kField, "0.5"},  // the integer digits as given
      {"2", 1, 0, "#.##", kField, "2."},    // the picture's point stays
      {"150", 1, 0, "0.0#", kField, "1.5"},
      {"15", 2, 0, "+0", kField, "15"},
      {"12345", 5, 0, "#X*0", kField, "123X45"},
      {"1234", 4, 0, "0,0X00", kField, "1,2X34"},
      {"125", 1, 1, "0.0;[RED][x](0.0)", kField, "(1.3)"},
      {"99999999999999999999999999999999995", 33, 0, "0.0", kField, "1000000000000000000000000000000000.0"},
      {"1234", 4, 0, "$", kField, "$1234"},
  };
  for (const Case& c : cases) EXPECT_EQ(lay(c), c.text) << c.digits << " " << c.picture;
}

TEST(DecimalText, OverflowRules) {
  IntlProfile profile;
  const Case grouped{"123456", 6, 0, "*,0", 0, ""};
  EXPECT_EQ(lay(grouped, 6), "#####");
  Case cut = grouped;
  cut.flags = HCTL_DECIMAL_CUT;
  char out[6];
  EXPECT_EQ(HCtlFormatDecimalText(cut.digits, cut.point, 0, cut.picture, out, sizeof out, cut.flags), 7);
  EXPECT_STREQ(out, "123,4");
}

TEST(DecimalText, RefusesWhatItCannotLay) {
  IntlProfile profile;
  char out[16] = "untouched";
  EXPECT_EQ(HCtlFormatDecimalText("12a", 2, 0, "0.00", out, sizeof out, 0), -1);
  EXPECT_EQ(HCtlFormatDecimalText("-12", 2, 0, "0.00", out, sizeof out, 0), -1);
  EXPECT_EQ(HCtlFormatDecimalText(nullptr, 0, 0, "0.00", out, sizeof out, 0), -1);
  EXPECT_EQ(HCtlFormatDecimalText("15", 1, 0, "0.0E+00", out, sizeof out, kField), -1);
  EXPECT_EQ(HCtlFormatDecimalText("15", 1, 0, "0.0E+00", out, sizeof out, 0), -1);
  EXPECT_STREQ(out, "untouched");
  EXPECT_EQ(HCtlFormatDecimalText("15", 1, 0, "0.0", out, 1, 0), 0);
  EXPECT_EQ(HCtlFormatDecimalText("15", 1, 0, "0.0", nullptr, 16, 0), 0);
  EXPECT_STREQ(out, "untouched");
}

TEST(DecimalText, LongDigitTexts) {
  IntlProfile profile;
  // 1000 integer and 1000 fraction digits: every integer digit laid,
  // grouped, the fraction rounded at the last place.
  const std::string digits = std::string(1000, '7') + std::string(1000, '5');
  std::string out(4000, '\0');
  const int length =
      HCtlFormatDecimalText(digits.c_str(), 1000, 0, "#,##0.00", out.data(), static_cast<int>(out.size()), kField);
  std::string expected;
  for (int i = 0; i < 1000; ++i) {
    if (i > 0 && (1000 - i) % 3 == 0) expected += ',';
    expected += '7';
  }
  expected += ".56";
  EXPECT_EQ(length, static_cast<int>(expected.size()));
  EXPECT_EQ(out.c_str(), expected);
  // Into a small buffer the control's rule gives '#'s, the cut rule the
  // front and the full length.
  char small[10];
  EXPECT_EQ(HCtlFormatDecimalText(digits.c_str(), 1000, 0, "0.*", small, sizeof small, 0), 9);
  EXPECT_STREQ(small, "#########");
  EXPECT_EQ(HCtlFormatDecimalText(digits.c_str(), 1000, 0, "0.*", small, sizeof small, HCTL_DECIMAL_CUT), 2001);
  EXPECT_STREQ(small, "777777777");
}

TEST(DecimalText, DoublesWithManyFractionPlaces) {
  // More fraction places than any digit buffer of the formatting once held.
  IntlProfile profile;
  const std::string picture = "0." + std::string(600, '#');
  char out[64];
  EXPECT_EQ(HCtlFormatDouble(0.375, picture.c_str(), out, sizeof out, 0), 5);
  EXPECT_STREQ(out, "0.375");
}

}  // namespace
