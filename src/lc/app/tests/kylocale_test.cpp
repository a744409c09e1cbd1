// Regional settings from WIN.INI [intl]: defaults, the language table, and
// number texts between program form and the user's form.
#include <gtest/gtest.h>

#include <string>

#include "KyLocale.h"
#include "testapp.h"

namespace {

TEST(KyLocale, DefaultsWithoutSettings) {
  kytest::writeWinIni("");
  KyLocale locale;
  EXPECT_EQ(locale.GetCountry(), 1u);
  EXPECT_EQ(locale.GetLanguage(), "enu");
  EXPECT_EQ(locale.GetShortDate(), "M/d/yy");
  EXPECT_EQ(locale.GetLongDate(), "dddd, MMMM dd, yyyy");
  EXPECT_EQ(locale.GetTimeFormat(), 0u);
  EXPECT_EQ(locale.GetTimeLeadingZero(), 0u);
  EXPECT_EQ(locale.GetTimeSeparator(), ":");
  EXPECT_EQ(locale.GetTimePrefix(), 0u);
  EXPECT_EQ(locale.GetMorningSuffix(), "AM");
  EXPECT_EQ(locale.GetAfternoonSuffix(), "PM");
  EXPECT_EQ(locale.GetDecimalText(), ".");
  EXPECT_EQ(locale.GetThousandText(), ",");
  EXPECT_EQ(locale.GetCurrency(), "$");
  EXPECT_EQ(locale.GetCodePage(), 1252u);
  EXPECT_EQ(locale.GetCharSet(), 1u);
  EXPECT_FALSE(locale.IsDoubleByte());
}

TEST(KyLocale, ReadsTheSettings) {
  kytest::writeWinIni(
      "[intl]\niCountry=49\nsLanguage=DEU\nsShortDate=dd.MM.yyyy\nsLongDate=dddd, d. MMMM yyyy\niTime=1\n"
      "iTLZero=1\nsTime=.\niTimePrefix=1\ns1159=vorm\ns2359=nachm\nsDecimal=,\nsThousand=.\nsCurrency=EUR\n");
  KyLocale locale;
  EXPECT_EQ(locale.GetCountry(), 49u);
  EXPECT_EQ(locale.GetLanguage(), "deu");
  EXPECT_EQ(locale.GetShortDate(), "dd.MM.yyyy");
  EXPECT_EQ(locale.GetLongDate(), "dddd, d. MMMM yyyy");
  EXPECT_EQ(locale.GetTimeFormat(), 1u);
  EXPECT_EQ(locale.GetTimeLeadingZero(), 1u);
  EXPECT_EQ(locale.GetTimeSeparator(), ".");
  EXPECT_EQ(locale.GetTimePrefix(), 1u);
  EXPECT_EQ(locale.GetMorningSuffix(), "vorm");
  EXPECT_EQ(locale.GetAfternoonSuffix(), "nachm");
  EXPECT_EQ(locale.GetDecimalChar(), ',');
  EXPECT_EQ(locale.GetThousandChar(), '.');
  EXPECT_EQ(locale.GetCurrency(), "EUR");
  EXPECT_EQ(locale.GetCodePage(), 1252u);  // not in the table
  EXPECT_EQ(locale.GetCharSet(), 1u);
}

TEST(KyLocale, LanguageTable) {
  struct Case {
    const char* language;
    UINT codePage;
    UINT charSet;
    BOOL doubleByte;
  } cases[] = {
      {"chs", 936, 134, TRUE},   {"cht", 950, 136, TRUE},   {"csy", 1250, 238, FALSE}, {"ell", 1253, 161, FALSE},
      {"hun", 1250, 238, FALSE}, {"jpn", 932, 128, TRUE},   {"JPN", 932, 128, TRUE},   {"kor", 949, 129, TRUE},
      {"plk", 1250, 238, FALSE}, {"rus", 1251, 204, FALSE}, {"sky", 1250, 238, FALSE}, {"trk", 1254, 162, FALSE},
      {"deu", 1252, 1, FALSE},   {"enu", 1252, 1, FALSE},   {"jp", 1252, 1, FALSE},    {"jpnx", 1252, 1, FALSE},
  };
  for (const Case& c : cases) {
    kytest::writeWinIni(std::string("[intl]\nsLanguage=") + c.language + "\n");
    KyLocale locale;
    EXPECT_EQ(locale.GetCodePage(), c.codePage) << c.language;
    EXPECT_EQ(locale.GetCharSet(), c.charSet) << c.language;
    EXPECT_EQ(locale.IsDoubleByte(), c.doubleByte) << c.language;
  }
}

// An empty separator would make its character NUL, which cuts numbers.
TEST(KyLocale, EmptySeparatorsKeepTheirDefaults) {
  kytest::writeWinIni("[intl]\nsDecimal=\nsThousand=\n");
  KyLocale locale;
  EXPECT_EQ(locale.GetDecimalChar(), '.');
  EXPECT_EQ(locale.GetThousandChar(), ',');
  std::string number = "1,234.5";
  locale.ToIntlNumber(number.data());
  EXPECT_EQ(number, "1,234.5");
}

TEST(KyLocale, NumberTexts) {
  struct Case {
    const char* decimal;
    const char* thousand;
    const char* program;
    const char* user;        // ToIntlNumber(program)
    const char* fromUser;    // FromIntlNumber input
    const char* backToProgram;
  } cases[] = {
      {",", ".", "1,234.56", "1.234,56", "1.234,56", "1,234.56"},
      {",", "\" \"", "1,000.5", "1 000,5", "1 000,5", "1,000.5"},
      {",", "\" \"", "1.5", "1,5", "1.5", "1\x82" "5"},  // a literal '.' is no decimal point
      {".", ",", "1,234.5", "1,234.5", "1,234.5", "1,234.5"},  // unchanged with '.'
      {",", ",", "1.5", "1,5", "1,5", "1.5"},  // equal separators count as decimal
      {"'", ".", "", "", "", ""},
  };
  for (const Case& c : cases) {
    kytest::writeWinIni(std::string("[intl]\nsDecimal=") + c.decimal + "\nsThousand=" + c.thousand + "\n");
    KyLocale locale;
    std::string text = c.program;
    locale.ToIntlNumber(text.data());
    EXPECT_EQ(text, c.user) << c.program;
    text = c.fromUser;
    locale.FromIntlNumber(text.data());
    EXPECT_EQ(text, c.backToProgram) << c.fromUser;
    CString object(c.program);
    locale.ToIntlNumber(object);
    EXPECT_EQ(object, c.user);
    object = c.fromUser;
    locale.FromIntlNumber(object);
    EXPECT_EQ(object, c.backToProgram);
  }
  KyLocale locale;
  locale.ToIntlNumber(static_cast<char*>(nullptr));  // nothing to rewrite
  locale.FromIntlNumber(static_cast<char*>(nullptr));
}

}  // namespace
