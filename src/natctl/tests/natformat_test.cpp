// The native build's formatting: infinities, digits laid from a number
// text, month names in the case of the picture letters, settings of its
// own, date-time record order and the numeric character test.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

#include "formatdata.h"
#include "intlsettings.h"
#include "natformat.h"
#include "ravlets.h"

namespace {

std::string format(const void* value, char type, char storage, const char* picture, int editForm = 0) {
  char out[128];
  NatCtl::FormatData(value, type, storage, picture, out, sizeof out, nullptr, editForm);
  return out;
}

TEST(NativeFormat, NumbersBeyondTheRangeShowAsInfinite) {
  const struct {
    double value;
    const char* expected;
    int negative;
  } cases[] = {
      {HUGE_VAL, "+INF", 0},
      {-HUGE_VAL, "-INF", 1},
      {DBL_MAX, "+INF", 0},
      {-DBL_MAX, "-INF", 1},
      {1.7976924369886e308, nullptr, 0},  // the bound itself is a number
      {-2.5, "-2.50", 1},
  };
  for (const auto& c : cases) {
    char out[400];
    int negative = -1;
    NatCtl::FormatData(&c.value, 'n', 'd', "*0.00", out, sizeof out, &negative, 0);
    if (c.expected) EXPECT_STREQ(out, c.expected) << c.value;
    else EXPECT_EQ(std::strchr(out, 'I'), nullptr) << out;
    EXPECT_EQ(negative, c.negative) << c.value;
  }
  // A float's infinity too.
  const float f = -HUGE_VALF;
  EXPECT_EQ(format(&f, 'n', 'f', "*0.00"), "-INF");
}

TEST(NativeFormat, NumberTextKeepsItsOwnDigits) {
  const struct {
    const char* number;
    const char* picture;
    const char* expected;
  } cases[] = {
      {"0.1", "*0.####################", "0.1"},
      {"0.30000000000000004", "*0.#################", "0.30000000000000004"},
      {"00012.50", "*0.00", "12.50"},
      {"-7.25", "*0.00", "-7.25"},
      {"123456789012345678901234567890", "*0", "123456789012345678901234567890"},
  };
  for (const auto& c : cases) {
    char out[128] = "set data";
    EXPECT_GT(NatCtl::FormatNumberText(c.number, c.picture, out, sizeof out, nullptr, 0), 0) << c.number;
    EXPECT_STREQ(out, c.expected) << c.number;
  }
  char out[16] = "untouched";
  EXPECT_EQ(NatCtl::FormatNumberText("abc", "*0", out, sizeof out, nullptr, 0), 0);
}

TEST(NativeFormat, FormatDataNeverReadsItsOutputBuffer) {
  // The output buffer holds a number text: the value, not the text, is shown.
  const double value = 0.1;
  char out[64] = "77.5";
  NatCtl::FormatData(&value, 'n', 'd', "*0.00", out, sizeof out, nullptr, 0);
  EXPECT_STREQ(out, "0.10");
}

TEST(NativeFormat, MonthNamesTakeTheCaseOfThePictureLetters) {
  HCtlDateTime date{2017, 2, 3, 0, 0, 0, 0, 0};
  const struct {
    const char* picture;
    const char* native;
    const char* custom;
  } cases[] = {
      {"MMM d", "FEB 3", "FEB 3"},
      {"Mmm d", "Feb 3", "Feb 3"},
      {"mmm d", "Feb 3", "feb 3"},  // the native build keeps the stored name
      {"MMMM", "FEBRUARY", "FEBRUARY"},
      {"mMMM", "FEBRUARY", "fEBRUARY"},
  };
  for (const auto& c : cases) {
    char native[64], custom[64];
    NatCtl::DateTimeToString(&date, c.picture, native, sizeof native, 0, 1, 0);
    DateTimeToString(&date, c.picture, custom, sizeof custom, 0, 1, 0);
    EXPECT_STREQ(native, c.native) << c.picture;
    EXPECT_STREQ(custom, c.custom) << c.picture;
  }
}

TEST(NativeFormat, SettingsAreTheLibrarysOwn) {
  ASSERT_EQ(NatCtl::SetDecimalSep(','), 1);
  ASSERT_EQ(NatCtl::SetThousandsSep('.'), 1);
  const double value = 1234.5;
  char native[64], custom[64];
  NatCtl::FormatData(&value, 'n', 'd', "#,##0.00", native, sizeof native, nullptr, 0);
  FormatData(&value, 'n', 'd', "#,##0.00", custom, sizeof custom, nullptr, 0);
  EXPECT_STREQ(native, "1.234,50");
  EXPECT_STREQ(custom, "1,234.50");
  EXPECT_EQ(NatCtl::GetDecimalSepChar(), ',');
  EXPECT_EQ(HCtlIntlSettings().decimalSep, '.');
  EXPECT_EQ(NatCtl::SetDecimalSep('5'), 0);  // a digit is refused, the setting stays
  EXPECT_EQ(NatCtl::GetDecimalSepChar(), ',');
  NatCtl::GetIntlSettings();
  EXPECT_EQ(NatCtl::GetDecimalSepChar(), '.');
  // The overwrite modes are separate too.
  SetOverwriteMode(FALSE);
  NatCtl::SetOverwriteMode(TRUE);
  EXPECT_FALSE(GetOverwriteMode());
  EXPECT_TRUE(NatCtl::GetOverwriteMode());
  NatCtl::SetOverwriteMode(FALSE);
}

TEST(NativeFormat, DateTimeRecordsCompareFieldByField) {
  const HCtlDateTime base{2017, 2, 3, 10, 20, 30, 0, 500};
  const struct {
    HCtlDateTime other;
    int expected;
  } cases[] = {
      {{2017, 2, 3, 10, 20, 30, 0, 500}, 0},  {{2018, 1, 1, 0, 0, 0, 0, 0}, -1},
      {{2016, 12, 31, 23, 59, 59, 0, 999}, 1}, {{2017, 2, 3, 10, 20, 30, 0, 501}, -1},
      {{2017, 2, 3, 10, 21, 0, 0, 0}, -1},    {{-1, 2, 3, 10, 20, 30, 0, 500}, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NatCtl::CompareDateTimeRecords(&base, &c.other), c.expected);
    EXPECT_EQ(NatCtl::CompareDateTimeRecords(&c.other, &base), -c.expected);
  }
}

TEST(NativeFormat, NumericCharactersFollowTheSettings) {
  for (char c : std::string("0123456789.,-dDeE")) EXPECT_TRUE(NatCtl::IsNumericChar(c)) << c;
  for (char c : std::string("+ aXn$;")) EXPECT_FALSE(NatCtl::IsNumericChar(c)) << c;
  NatCtl::SetDecimalSep(';');
  EXPECT_TRUE(NatCtl::IsNumericChar(';'));
  NatCtl::GetIntlSettings();
}

TEST(NativeFormat, Int64StorageHoldsA32BitValueInItsLowHalf) {
  const struct {
    double stored;
    int64_t expected;
  } cases[] = {{-5, -5}, {2147483647.0, 2147483647}, {-2147483648.0, INT64_C(-2147483648)}, {7, 7}};
  for (const auto& c : cases) {
    int64_t value = 0;
    char text[32];
    ASSERT_EQ(NatCtl::TextToValue(&value, sizeof value, 'n', 'M', "*0", std::to_string(int64_t(c.stored)).c_str(), 0),
              0);
    EXPECT_EQ(value, c.expected);
    EXPECT_EQ(NatCtl::FormatData(&value, 'n', 'M', "*0", text, sizeof text, nullptr, 0),
              static_cast<int>(std::to_string(c.expected).size()));
    EXPECT_EQ(text, std::to_string(c.expected));
  }
}

}  // namespace
