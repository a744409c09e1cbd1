#include "intlsettings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "intlprofile.h"

namespace {

TEST(IntlSettings, EmptyProfileGivesTheDefaults) {
  IntlProfile profile;
  const HCtlIntl& s = HCtlIntlSettings();
  EXPECT_STREQ(s.language, "enu");
  EXPECT_EQ(s.charSet, 0);
  EXPECT_EQ(s.country, 1);
  EXPECT_EQ(s.thousandsSep, ',');
  EXPECT_EQ(s.decimalSep, '.');
  EXPECT_EQ(s.dateSep, '/');
  EXPECT_EQ(s.timeSep, ':');
  EXPECT_STREQ(s.datePicture, "mm/dd/yyyy");
  EXPECT_STREQ(s.timePicture, "h:mm:ss ap");
  EXPECT_STREQ(s.morning, "AM");
  EXPECT_STREQ(s.afternoon, "PM");
  EXPECT_STREQ(s.currency, "$");
}

TEST(IntlSettings, ReadsEverySettingOfTheSection) {
  IntlProfile profile({{"sLanguage", "DEU"}, {"iCountry", "49"}, {"sThousand", "."}, {"sDecimal", ","},
                       {"sDate", "."}, {"sShortDate", "DD.MM.YYYY"}, {"sTime", ":"}, {"iTLZero", "1"},
                       {"iTime", "1"}, {"s1159", "vorm"}, {"s2359", "nachm"}, {"sCurrency", "EUR"}});
  const HCtlIntl& s = HCtlIntlSettings();
  EXPECT_STREQ(s.language, "deu");
  EXPECT_EQ(s.country, 49);
  EXPECT_EQ(s.thousandsSep, '.');
  EXPECT_EQ(s.decimalSep, ',');
  EXPECT_EQ(s.dateSep, '.');
  // The separator becomes '/', the picture lower case.
  EXPECT_STREQ(s.datePicture, "dd/mm/yyyy");
  EXPECT_STREQ(s.timePicture, "hh:mm:ss");
  EXPECT_STREQ(s.morning, "vorm");
  EXPECT_STREQ(s.afternoon, "nachm");
  EXPECT_STREQ(s.currency, "EUR");
}

TEST(IntlSettings, ReturnsTheLengthOfTheLastProfileString) {
  IntlProfile profile({{"sCurrency", "EUR"}});
  EXPECT_EQ(GetIntlSettings(), 3u);
}

TEST(IntlSettings, EmptySeparatorsKeepTheDefaults) {
  IntlProfile profile({{"sThousand", ""}, {"sDecimal", ""}, {"sDate", ""}, {"sTime", ""}, {"sShortDate", ""}});
  const HCtlIntl& s = HCtlIntlSettings();
  EXPECT_EQ(s.thousandsSep, ',');
  EXPECT_EQ(s.decimalSep, '.');
  EXPECT_EQ(s.dateSep, '/');
  EXPECT_EQ(s.timeSep, ':');
  EXPECT_STREQ(s.datePicture, "mm/dd/yyyy");
}

TEST(IntlSettings, FontCharacterSetFollowsTheLanguage) {
  const struct {
    const char* language;
    int charSet;
  } cases[] = {{"chs", 134}, {"CHT", 136}, {"csy", 238}, {"hun", 238}, {"plk", 238}, {"sky", 238}, {"ell", 161},
               {"jpn", 128}, {"kor", 129}, {"rus", 204}, {"trk", 162}, {"fra", 0},   {"enu", 0}};
  for (const auto& c : cases) {
    IntlProfile profile({{"sLanguage", c.language}});
    EXPECT_EQ(HCtlIntlSettings().charSet, c.charSet) << c.language;
  }
}

TEST(IntlSettings, LongValuesAreCut) {
  IntlProfile profile({{"sLanguage", "abcdefghijklmnopqrstuvwxyz"}, {"sShortDate", "dd/mm/yyyy dd/mm/yyyy"},
                       {"s1159", "morning-time"}, {"sCurrency", "EURO$"}});
  const HCtlIntl& s = HCtlIntlSettings();
  EXPECT_STREQ(s.language, "abcdefghijklmno");
  EXPECT_STREQ(s.datePicture, "dd/mm/yyyy dd/m");
  EXPECT_STREQ(s.morning, "morning");
  EXPECT_STREQ(s.currency, "EURO");
}

TEST(IntlSettings, TimePictureFollowsClockAndLeadingZero) {
  const struct {
    const char* leadingZero;
    const char* clock;
    const char* picture;
  } cases[] = {{"0", "0", "h:mm:ss ap"}, {"1", "0", "hh:mm:ss ap"}, {"0", "1", "h:mm:ss"}, {"1", "1", "hh:mm:ss"}};
  for (const auto& c : cases) {
    IntlProfile profile({{"iTLZero", c.leadingZero}, {"iTime", c.clock}});
    EXPECT_STREQ(HCtlIntlSettings().timePicture, c.picture);
  }
}

TEST(IntlSettings, SeparatorSettersRefuseLettersDigitsAndHighCharacters) {
  IntlProfile profile;
  using Setter = int (*)(char);
  const Setter setters[] = {SetThousandsSep, SetDecimalSep, SetDateSep, SetTimeSep};
  const char refused[] = {'x', 'Z', '5', static_cast<char>(0x80), static_cast<char>(0xE9), 0};
  for (Setter set : setters) {
    for (char c : refused) EXPECT_EQ(set(c), 0) << static_cast<int>(c);
    EXPECT_EQ(set(';'), 1);
  }
  EXPECT_EQ(HCtlIntlSettings().thousandsSep, ';');
  EXPECT_EQ(HCtlIntlSettings().decimalSep, ';');
  EXPECT_EQ(HCtlIntlSettings().dateSep, ';');
  EXPECT_EQ(HCtlIntlSettings().timeSep, ';');
  EXPECT_EQ(SetDecimalSep(','), 1);
  EXPECT_EQ(HCtlIntlSettings().decimalSep, ',');
}

TEST(IntlSettings, PictureSettersNeedTheirLetters) {
  IntlProfile profile;
  EXPECT_EQ(SetDefDateFormat(nullptr), 0);
  EXPECT_EQ(SetDefDateFormat("dd.mm"), 0);  // no year
  EXPECT_STREQ(HCtlIntlSettings().datePicture, "mm/dd/yyyy");
  EXPECT_EQ(SetDefDateFormat("YYYY-MM-DD and more text"), 1);
  EXPECT_STREQ(HCtlIntlSettings().datePicture, "yyyy-mm-dd and ");  // 15 characters, lower case, '-' kept
  EXPECT_EQ(SetDefTimeFormat("ss"), 0);
  EXPECT_EQ(SetDefTimeFormat("HH.MM"), 1);
  EXPECT_STREQ(HCtlIntlSettings().timePicture, "hh.mm");
}

TEST(IntlSettings, ReadingAgainOverwritesWhatTheSettersChanged) {
  IntlProfile profile({{"sDecimal", ","}});
  ASSERT_EQ(SetDecimalSep(';'), 1);
  GetIntlSettings();
  EXPECT_EQ(HCtlIntlSettings().decimalSep, ',');
}

}  // namespace
