// The user's locale comes from KY_LOCALE, read once per process: this
// program sets it to de-DE before anything asks, and runs children with
// other values.
#include "childprocess.h"

#include <windows.h>
#include <winnls.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

const bool kLocaleSet = [] {
  const char* child = childArgument();
  return ::setenv("KY_LOCALE", child ? child : "de-DE", 1) == 0;
}();

// A child run (started by NamesAndIdsSelect with its own KY_LOCALE) only
// answers, by its exit code, whether that value selected KY_EXPECTED_LCID;
// it ends before any test runs.
const bool kChildAnswered = [] {
  if (!kLocaleSet || !childArgument()) return false;
  const char* expected = std::getenv("KY_EXPECTED_LCID");
  const bool selected = expected && GetUserDefaultLCID() == static_cast<LCID>(std::strtoul(expected, nullptr, 16));
  std::_Exit(selected ? 0 : 1);
}();

std::string info(LCID lcid, LCTYPE type) {
  char buffer[64];
  const int n = GetLocaleInfoA(lcid, type, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n - 1)) : "<failed>";
}

TEST(UserLocale, EnvironmentSelectsGerman) {
  ASSERT_TRUE(kLocaleSet);
  EXPECT_EQ(GetUserDefaultLCID(), 0x0407u);
  EXPECT_EQ(GetSystemDefaultLCID(), 0x0407u);
  EXPECT_EQ(GetUserDefaultLangID(), 0x0407);
  EXPECT_EQ(GetSystemDefaultLangID(), 0x0407);
  EXPECT_EQ(GetThreadLocale(), 0x0407u);
  for (LCID lcid : {LCID(LOCALE_USER_DEFAULT), LCID(LOCALE_SYSTEM_DEFAULT), LCID(LOCALE_NEUTRAL)}) {
    EXPECT_EQ(info(lcid, LOCALE_SSHORTDATE), "dd.MM.yyyy") << std::hex << lcid;
    EXPECT_EQ(info(lcid, LOCALE_SDECIMAL), ",") << std::hex << lcid;
    EXPECT_EQ(info(lcid, LOCALE_SMONTHNAME3), "M\xe4rz") << std::hex << lcid;
  }
  EXPECT_EQ(info(0x0409, LOCALE_SSHORTDATE), "M/d/yyyy");  // other locales keep their values
  EXPECT_EQ(GetACP(), 1252u);                               // the code page is KY_ACP's
}

TEST(UserLocale, FormatsInTheUserLocale) {
  char buffer[64];
  ASSERT_GT(GetNumberFormatA(LOCALE_USER_DEFAULT, 0, "-1234567.891", nullptr, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "-1.234.567,89");
  ASSERT_GT(GetCurrencyFormatA(LOCALE_USER_DEFAULT, 0, "1234.5", nullptr, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "1.234,50 \x80");
  const SYSTEMTIME date = {2024, 3, 0, 5, 14, 7, 9, 0};
  ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &date, nullptr, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "Dienstag, 5. M\xe4rz 2024");
  ASSERT_GT(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &date, nullptr, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "14:07:09");
}

TEST(UserLocale, NamesAndIdsSelect) {
  struct Case { const char* value; const char* lcid; } cases[] = {
      {"de-DE", "407"}, {"fr_fr", "40c"}, {"JA-JP", "411"}, {"en-GB", "809"},
      {"0x0411", "411"}, {"040C", "40c"}, {"809", "809"}, {"7", "407"},  // a language alone
      {"xx-YY", "409"}, {"0419", "409"}, {"0x", "409"}, {"0400", "409"},  // unknown: en-US
      {"", "409"},
  };
  for (const auto& c : cases) {
    ::setenv("KY_EXPECTED_LCID", c.lcid, 1);
    EXPECT_EQ(runChildTest("UserLocale.None", c.value), 0) << c.value;
  }
  ::unsetenv("KY_EXPECTED_LCID");
}

}  // namespace
