// Masked text of fields: each class hands its value to the control
// library's FormatData with its type and storage letters; character fields
// choose the mask or plain text by the mask's first character.
#include <gtest/gtest.h>

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
