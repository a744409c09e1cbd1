#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string info(LCID lcid, LCTYPE type) {
  char buffer[128];
  const int n = GetLocaleInfoA(lcid, type, buffer, sizeof buffer);
  EXPECT_GT(n, 0) << std::hex << type;
  return n > 0 ? std::string(buffer, static_cast<size_t>(n - 1)) : "<failed>";
}

TEST(Locale, DefaultsAreEnglishUnitedStates) {
  EXPECT_EQ(GetUserDefaultLCID(), 0x0409u);
  EXPECT_EQ(GetSystemDefaultLCID(), 0x0409u);
  EXPECT_EQ(GetThreadLocale(), 0x0409u);
  EXPECT_EQ(GetUserDefaultLangID(), 0x0409);
  EXPECT_EQ(LOCALE_USER_DEFAULT, 0x0400u);
  EXPECT_EQ(LOCALE_SYSTEM_DEFAULT, 0x0800u);
  EXPECT_TRUE(IsValidLocale(0x0409, LCID_INSTALLED));
  EXPECT_FALSE(IsValidLocale(0x0411, LCID_INSTALLED));
}

TEST(Locale, AnswersEnglishUnitedStatesItems) {
  struct Case { LCTYPE type; const char* value; } cases[] = {
      {LOCALE_SDAYNAME1, "Monday"},          {LOCALE_SDAYNAME7, "Sunday"},
      {LOCALE_SABBREVDAYNAME3, "Wed"},       {LOCALE_SMONTHNAME1, "January"},
      {LOCALE_SMONTHNAME12, "December"},     {LOCALE_SABBREVMONTHNAME9, "Sep"},
      {LOCALE_SCOUNTRY, "United States"},    {LOCALE_SENGCOUNTRY, "United States"},
      {LOCALE_ICOUNTRY, "1"},                {LOCALE_SLANGUAGE, "English (United States)"},
      {LOCALE_SABBREVLANGNAME, "ENU"},       {LOCALE_IDEFAULTANSICODEPAGE, "1252"},
      {LOCALE_IDEFAULTCODEPAGE, "437"},      {LOCALE_SDECIMAL, "."},
      {LOCALE_STHOUSAND, ","},               {LOCALE_SDATE, "/"},
      {LOCALE_STIME, ":"},                   {LOCALE_SSHORTDATE, "M/d/yyyy"},
      {LOCALE_SLONGDATE, "dddd, MMMM dd, yyyy"}, {LOCALE_ICURRDIGITS, "2"},
      {LOCALE_SCURRENCY, "$"},               {LOCALE_IDATE, "0"},
      {LOCALE_ITIME, "0"},                   {LOCALE_S1159, "AM"},
      {LOCALE_S2359, "PM"},                  {LOCALE_SPOSITIVESIGN, ""},
      {LOCALE_ILANGUAGE, "0409"},            {LOCALE_SISO639LANGNAME, "en"},
  };
  for (LCID lcid : {LCID(0x0409), LCID(LOCALE_USER_DEFAULT), LCID(LOCALE_SYSTEM_DEFAULT), LCID(LOCALE_NEUTRAL)})
    for (const auto& c : cases) EXPECT_EQ(info(lcid, c.type), c.value) << std::hex << lcid << " " << c.type;
  EXPECT_EQ(info(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL | LOCALE_NOUSEROVERRIDE), ".");
}

TEST(Locale, SizesAndErrors) {
  char buffer[8];
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME9, nullptr, 0), 10);  // with terminator
  SetLastError(0);
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME9, buffer, sizeof buffer), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  struct Case { LCID lcid; LCTYPE type; char* out; int size; DWORD error; } cases[] = {
      {0x0411, LOCALE_SDECIMAL, buffer, 8, ERROR_INVALID_PARAMETER},
      {0x10409, LOCALE_SDECIMAL, buffer, 8, ERROR_INVALID_PARAMETER},
      {0x0409, 0x7777, buffer, 8, ERROR_INVALID_FLAGS},
      {0x0409, LOCALE_SDECIMAL | LOCALE_RETURN_NUMBER, buffer, 8, ERROR_INVALID_FLAGS},
      {0x0409, LOCALE_SDECIMAL, nullptr, 8, ERROR_INVALID_PARAMETER},
      {0x0409, LOCALE_SDECIMAL, buffer, -1, ERROR_INVALID_PARAMETER},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(GetLocaleInfoA(c.lcid, c.type, c.out, c.size), 0) << std::hex << c.lcid << " " << c.type;
    EXPECT_EQ(GetLastError(), c.error) << std::hex << c.lcid << " " << c.type;
  }
}

TEST(Locale, NumbersOnRequest) {
  DWORD number = 0;
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                           reinterpret_cast<char*>(&number), sizeof number),
            4);
  EXPECT_EQ(number, 1252u);
  number = 0;
  EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ICOUNTRY | LOCALE_RETURN_NUMBER,
                           reinterpret_cast<WCHAR*>(&number), 2),
            2);
  EXPECT_EQ(number, 1u);
}

TEST(Locale, WideForm) {
  WCHAR buffer[16];
  EXPECT_EQ(GetLocaleInfoW(0x0409, LOCALE_SDAYNAME2, buffer, 16), 8);
  EXPECT_EQ(std::u16string(buffer), u"Tuesday");
  EXPECT_EQ(GetLocaleInfoW(0x0409, LOCALE_SDAYNAME2, nullptr, 0), 8);
}

TEST(Locale, ThreadLocale) {
  EXPECT_TRUE(SetThreadLocale(LOCALE_USER_DEFAULT));
  EXPECT_EQ(GetThreadLocale(), 0x0409u);
  SetLastError(0);
  EXPECT_FALSE(SetThreadLocale(0x0407));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
