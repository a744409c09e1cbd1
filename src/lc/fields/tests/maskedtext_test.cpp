// Masked text of fields: each class hands its value to the control
// library's FormatData with its type and storage letters; character fields
// choose the mask or plain text by the mask's first character.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "KyCharFld.h"
#include "KyDateFld.h"
#include "KyFixedDecFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyMaskedText.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "formatdata.h"
#include "intlsettings.h"

namespace {

std::string masked(const KyRTType& field, const char* mask) {
  return static_cast<LPCSTR>(field.strGetMaskedText(mask));
}

// What FormatData itself writes for the same bytes and letters.
std::string direct(const void* value, char type, char storage, const char* mask) {
  char out[256] = {};
  FormatData(value, type, storage, mask, out, sizeof out, nullptr, 0);
  return out;
}

class MaskedText : public ::testing::Test {
 protected:
  void SetUp() override { GetIntlSettings(); }
};

}  // namespace

TEST_F(MaskedText, NumericClassesUseTheirLetters) {
  const BYTE b = 200;
  const SHORT s = -1234;
  const LONG l = 1234567;
  const __int64 ll = 123456789012345LL;
  const float f = 2.5f;
  const double d = -1234.5;
  EXPECT_EQ(masked(KyByteFld(b, 0), "*0"), direct(&b, 'n', 'b', "*0"));
  EXPECT_EQ(masked(KyIntFld(s, 0), "*,0"), "-1,234");
  EXPECT_EQ(masked(KyLongFld(l, 0), "*,0"), "1,234,567");
  EXPECT_EQ(masked(KyLLongFld(ll, 0), "*0"), "123456789012345");
  EXPECT_EQ(masked(KySglFld(f, 0), "*0.00"), "2.50");
  EXPECT_EQ(masked(KyDblFld(d, 0), "*,0.00;(*,0.00)"), "(1,234.50)");
  EXPECT_EQ(masked(KyLdblFld(d, 0), "*0.0"), "-1234.5");
  EXPECT_EQ(masked(KyByteFld(b, 0), "*0"), "200");
}

TEST_F(MaskedText, DatesAndTimesAreTheirStorageForms) {
  EXPECT_EQ(masked(KyDateFld(2017, 2, 28), "yyyy-mm-dd"), "2017-02-28");
  EXPECT_EQ(masked(KyDateFld(2017, 2, 28), "dd.mm.yyyy"), "28.02.2017");
  EXPECT_EQ(masked(KyTimeFld(9, 5, 7), "hh:mm:ss"), "09:05:07");
  EXPECT_EQ(masked(KyTimeStampFld(2017, 2, 28, 13, 45, 0, 0), "yyyy-mm-dd hh:mm"), "2017-02-28 13:45");
}

TEST_F(MaskedText, InvalidValuesGiveAnEmptyText) {
  // FormatData writes nothing for a pair it does not know or no value, and
  // the 256-byte buffer must not hand back what the stack held then.
  const LONG l = 5;
  EXPECT_EQ(std::string(static_cast<LPCSTR>(KyFormatMasked(&l, 'x', 'l', "*0"))), "");
  EXPECT_EQ(std::string(static_cast<LPCSTR>(KyFormatMasked(nullptr, 'n', 'l', "*0"))), "");
}

TEST_F(MaskedText, CharacterFieldsChooseTheMaskByItsFirstCharacter) {
  const struct {
    const char* text;
    const char* mask;
    const char* expected;
  } cases[] = {
      {"5551234", "(###) ####", "(555) 1234"},  // 'm'
      {"5551234", "9999", "5551234"},         // starts with a digit: plain text
      {"5551234", "", "5551234"},             // no mask: plain text
      {"", "(###)", "(___)"},
  };
  for (const auto& c : cases) EXPECT_EQ(masked(KyCharFld(c.text), c.mask), c.expected) << c.mask;
  // Longer than the 256 bytes the other classes use.
  const std::string longText(600, 'x');
  EXPECT_EQ(masked(KyCharFld(longText.c_str()), ""), longText);
}

TEST_F(MaskedText, FixedDecimalIsFormattedWithTheLocaleSeparators) {
  KyFixedDecFld field(KyFixedDecImpl(-123456, -2), 0);
  EXPECT_EQ(masked(field, "*,0.00"), "-1,234.56");
}

// Fixed decimals are laid into the picture from their own digits: all 28
// digits of a field survive (a double keeps 15 to 17).
TEST_F(MaskedText, FixedDecimalKeepsEveryDigit) {
  const struct {
    const char* value;
    const char* mask;
    const char* expected;
  } cases[] = {
      {"9999999999999999999999999999", "*,0", "9,999,999,999,999,999,999,999,999,999"},
      {"1234567890123456789012345678", "*0", "1234567890123456789012345678"},
      {"12345678901234567890123456.78", "*,0.00", "12,345,678,901,234,567,890,123,456.78"},
      {"-99999999999999999999999999.99", "*,0.00;(*,0.00)", "(99,999,999,999,999,999,999,999,999.99)"},
      {"0.1234567890123456789012345678", "0.*", "0.1234567890123456789012345678"},
      // Rounded half up at the last place, carrying through nines.
      {"1234567890123456789012345.675", "#,##0.00", "1,234,567,890,123,456,789,012,345.68"},
      {"99999999999999999999999999.995", "0.00", "100000000000000000000000000.00"},
      {"-1.25", "0.0;[RED]-0.0", "-1.3"},
      {"1.23", "[RED]0.0", "1.2"},
      // Without a negative section (or with an empty one) the sign goes in
      // front; a negative zero is no negative value.
      {"-0.5", "0.00", "-0.50"},
      {"-0.5", "0.00;", "-0.50"},
      {"-0.00", "0.00;(0.00)", "0.00"},
      // Literals, forced places, open places, escapes; leftover digits go
      // in front of the leftmost place, grouped.
      {"12.5", "$#,##0.00", "$12.50"},
      {"1234567.891", "$#,##0.00", "$1,234,567.89"},
      {"5", "000.0", "005.0"},
      {"1.5", "#.##", "1.5"},
      {"0", "#,##0.00", "0.00"},
      {"12345.678", "0.00 DM", "12345.68 DM"},
      {"12345", "\\#0", "#12345"},
      {"1234", "", "1234"},
  };
  for (const auto& c : cases) {
    const KyFixedDecFld field(KyFixedDecImpl(c.value), 0);
    EXPECT_EQ(masked(field, c.mask), c.expected) << c.value << " " << c.mask;
    char buffer[256];
    EXPECT_EQ(KyFixedDecFld::FormatToBuffer(field, c.mask, buffer, sizeof buffer, 0),
              static_cast<int>(std::strlen(c.expected)));
    EXPECT_STREQ(buffer, c.expected);
  }
}

TEST_F(MaskedText, FixedDecimalBufferRules) {
  const KyFixedDecFld field(KyFixedDecImpl("1234.5"), 0);
  char buffer[8] = "xxxxxxx";
  EXPECT_EQ(KyFixedDecFld::FormatToBuffer(field, "*,0.00", nullptr, 256, 0), 0);
  EXPECT_EQ(KyFixedDecFld::FormatToBuffer(field, "*,0.00", buffer, 1, 0), 0);
  EXPECT_STREQ(buffer, "xxxxxxx");  // nothing written
  EXPECT_EQ(KyFixedDecFld::FormatToBuffer(field, "*,0.00", buffer, 5, 0), 4);
  EXPECT_STREQ(buffer, "1,23");  // cut to the buffer
  // What a picture cannot show: the number's own text.
  EXPECT_EQ(KyFixedDecFld::FormatToBuffer(KyFixedDecFld(KyFixedDecImpl("abc"), 0), "0.00", buffer, 8, 0), 3);
  EXPECT_STREQ(buffer, "NaN");
}

TEST_F(MaskedText, FixedDecimalExponentPicturesUseTheNumberFormatting) {
  const KyFixedDecFld field(KyFixedDecImpl("12345.5"), 0);
  const double value = 12345.5;
  EXPECT_EQ(masked(field, "0.00E+00"), direct(&value, 'n', 'd', "0.00E+00"));
}
