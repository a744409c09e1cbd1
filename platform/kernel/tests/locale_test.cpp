#include <windows.h>
#include <winnls.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr LCID kUS = 0x0409, kGB = 0x0809, kDE = 0x0407, kFR = 0x040C, kJP = 0x0411;

std::string info(LCID lcid, LCTYPE type) {
  char buffer[128];
  const int n = GetLocaleInfoA(lcid, type, buffer, sizeof buffer);
  EXPECT_GT(n, 0) << std::hex << lcid << " " << type;
  return n > 0 ? std::string(buffer, static_cast<size_t>(n - 1)) : "<failed>";
}

std::u16string wideInfo(LCID lcid, LCTYPE type) {
  WCHAR buffer[128];
  const int n = GetLocaleInfoW(lcid, type, buffer, 128);
  EXPECT_GT(n, 0) << std::hex << lcid << " " << type;
  return n > 0 ? std::u16string(buffer, static_cast<size_t>(n - 1)) : u"<failed>";
}

TEST(Locale, DefaultsAreEnglishUnitedStates) {
  EXPECT_EQ(GetUserDefaultLCID(), 0x0409u);
  EXPECT_EQ(GetSystemDefaultLCID(), 0x0409u);
  EXPECT_EQ(GetThreadLocale(), 0x0409u);
  EXPECT_EQ(GetUserDefaultLangID(), 0x0409);
  EXPECT_EQ(GetSystemDefaultLangID(), 0x0409);
  EXPECT_EQ(LOCALE_USER_DEFAULT, 0x0400u);
  EXPECT_EQ(LOCALE_SYSTEM_DEFAULT, 0x0800u);
}

TEST(Locale, KnowsFiveLocales) {
  for (LCID lcid : {kUS, kGB, kDE, kFR, kJP}) {
    EXPECT_TRUE(IsValidLocale(lcid, LCID_INSTALLED)) << std::hex << lcid;
    EXPECT_TRUE(IsValidLocale(lcid, LCID_SUPPORTED)) << std::hex << lcid;
  }
  for (LCID lcid : {LCID(0x0419), LCID(0x10407), LCID(0x0C07), LCID(LOCALE_USER_DEFAULT)})
    EXPECT_FALSE(IsValidLocale(lcid, LCID_INSTALLED)) << std::hex << lcid;
  EXPECT_FALSE(IsValidLocale(kDE, 0));
  // A language without its country is Windows' default country of it.
  EXPECT_EQ(info(0x0007, LOCALE_SNAME), "de-DE");
  EXPECT_EQ(info(0x000C, LOCALE_SNAME), "fr-FR");
  EXPECT_EQ(info(0x0011, LOCALE_SNAME), "ja-JP");
  EXPECT_EQ(info(0x0009, LOCALE_SNAME), "en-US");
}

TEST(Locale, EnumeratesTheKnownLocales) {
  static std::vector<std::string> seen;
  seen.clear();
  ASSERT_TRUE(EnumSystemLocalesA([](LPSTR id) -> BOOL { return seen.push_back(id), TRUE; }, LCID_SUPPORTED));
  EXPECT_EQ(seen, (std::vector<std::string>{"00000409", "00000809", "00000407", "0000040C", "00000411"}));
  seen.clear();
  ASSERT_TRUE(EnumSystemLocalesA([](LPSTR id) -> BOOL { return seen.push_back(id), FALSE; }, LCID_INSTALLED));
  EXPECT_EQ(seen.size(), 1u);  // the callback's FALSE ends the enumeration
  SetLastError(0);
  EXPECT_FALSE(EnumSystemLocalesA(nullptr, LCID_INSTALLED));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(EnumSystemLocalesA([](LPSTR) -> BOOL { return TRUE; }, 0x100));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

// Windows' values, locale by locale (the 8-bit form in each locale's code
// page: 1252 for the European ones).
TEST(Locale, AnswersWindowsValues) {
  struct Case { LCID lcid; LCTYPE type; const char* value; } cases[] = {
      {kUS, LOCALE_SDAYNAME1, "Monday"},           {kUS, LOCALE_SDAYNAME7, "Sunday"},
      {kUS, LOCALE_SABBREVDAYNAME3, "Wed"},        {kUS, LOCALE_SMONTHNAME1, "January"},
      {kUS, LOCALE_SMONTHNAME12, "December"},      {kUS, LOCALE_SABBREVMONTHNAME9, "Sep"},
      {kUS, LOCALE_SCOUNTRY, "United States"},     {kUS, LOCALE_SENGCOUNTRY, "United States"},
      {kUS, LOCALE_ICOUNTRY, "1"},                 {kUS, LOCALE_SLANGUAGE, "English (United States)"},
      {kUS, LOCALE_SABBREVLANGNAME, "ENU"},        {kUS, LOCALE_IDEFAULTANSICODEPAGE, "1252"},
      {kUS, LOCALE_IDEFAULTCODEPAGE, "437"},       {kUS, LOCALE_SDECIMAL, "."},
      {kUS, LOCALE_STHOUSAND, ","},                {kUS, LOCALE_SGROUPING, "3;0"},
      {kUS, LOCALE_SLIST, ","},                    {kUS, LOCALE_SDATE, "/"},
      {kUS, LOCALE_STIME, ":"},                    {kUS, LOCALE_SSHORTDATE, "M/d/yyyy"},
      {kUS, LOCALE_SLONGDATE, "dddd, MMMM dd, yyyy"}, {kUS, LOCALE_STIMEFORMAT, "h:mm:ss tt"},
      {kUS, LOCALE_ICURRDIGITS, "2"},              {kUS, LOCALE_IDIGITS, "2"},
      {kUS, LOCALE_SCURRENCY, "$"},                {kUS, LOCALE_ICURRENCY, "0"},
      {kUS, LOCALE_INEGCURR, "0"},                 {kUS, LOCALE_INEGNUMBER, "1"},
      {kUS, LOCALE_ILZERO, "1"},                   {kUS, LOCALE_IDATE, "0"},
      {kUS, LOCALE_ILDATE, "0"},                   {kUS, LOCALE_ITIME, "0"},
      {kUS, LOCALE_ITLZERO, "0"},                  {kUS, LOCALE_IDAYLZERO, "0"},
      {kUS, LOCALE_S1159, "AM"},                   {kUS, LOCALE_S2359, "PM"},
      {kUS, LOCALE_SPOSITIVESIGN, ""},             {kUS, LOCALE_ILANGUAGE, "0409"},
      {kUS, LOCALE_SISO639LANGNAME, "en"},         {kUS, LOCALE_SISO3166CTRYNAME, "US"},
      {kUS, LOCALE_SABBREVCTRYNAME, "USA"},        {kUS, LOCALE_SINTLSYMBOL, "USD"},
      {kUS, LOCALE_INEGSIGNPOSN, "0"},             {kUS, LOCALE_IPOSSYMPRECEDES, "1"},
      {kUS, LOCALE_SYEARMONTH, "MMMM, yyyy"},      {kUS, LOCALE_IFIRSTDAYOFWEEK, "6"},

      {kGB, LOCALE_SLANGUAGE, "English (United Kingdom)"}, {kGB, LOCALE_SABBREVLANGNAME, "ENG"},
      {kGB, LOCALE_SCOUNTRY, "United Kingdom"},    {kGB, LOCALE_ICOUNTRY, "44"},
      {kGB, LOCALE_SSHORTDATE, "dd/MM/yyyy"},      {kGB, LOCALE_SLONGDATE, "dd MMMM yyyy"},
      {kGB, LOCALE_STIMEFORMAT, "HH:mm:ss"},       {kGB, LOCALE_SDATE, "/"},
      {kGB, LOCALE_IDATE, "1"},                    {kGB, LOCALE_ITIME, "1"},
      {kGB, LOCALE_ITLZERO, "1"},                  {kGB, LOCALE_S1159, "AM"},
      {kGB, LOCALE_SCURRENCY, "\xa3"},             {kGB, LOCALE_INEGCURR, "1"},
      {kGB, LOCALE_SABBREVMONTHNAME9, "Sep"},      {kGB, LOCALE_SDAYNAME1, "Monday"},
      {kGB, LOCALE_SINTLSYMBOL, "GBP"},            {kGB, LOCALE_ILANGUAGE, "0809"},

      {kDE, LOCALE_SDAYNAME1, "Montag"},           {kDE, LOCALE_SDAYNAME7, "Sonntag"},
      {kDE, LOCALE_SABBREVDAYNAME1, "Mo"},         {kDE, LOCALE_SABBREVDAYNAME7, "So"},
      {kDE, LOCALE_SMONTHNAME3, "M\xe4rz"},        {kDE, LOCALE_SMONTHNAME12, "Dezember"},
      {kDE, LOCALE_SABBREVMONTHNAME3, "Mrz"},      {kDE, LOCALE_SABBREVMONTHNAME10, "Okt"},
      {kDE, LOCALE_SDECIMAL, ","},                 {kDE, LOCALE_STHOUSAND, "."},
      {kDE, LOCALE_SLIST, ";"},                    {kDE, LOCALE_SDATE, "."},
      {kDE, LOCALE_STIME, ":"},                    {kDE, LOCALE_SSHORTDATE, "dd.MM.yyyy"},
      {kDE, LOCALE_SLONGDATE, "dddd, d. MMMM yyyy"}, {kDE, LOCALE_STIMEFORMAT, "HH:mm:ss"},
      {kDE, LOCALE_S1159, ""},                     {kDE, LOCALE_S2359, ""},
      {kDE, LOCALE_SCURRENCY, "\x80"},             {kDE, LOCALE_ICURRENCY, "3"},
      {kDE, LOCALE_INEGCURR, "8"},                 {kDE, LOCALE_ICURRDIGITS, "2"},
      {kDE, LOCALE_IDATE, "1"},                    {kDE, LOCALE_ILDATE, "1"},
      {kDE, LOCALE_ITIME, "1"},                    {kDE, LOCALE_IDAYLZERO, "1"},
      {kDE, LOCALE_SLANGUAGE, "German (Germany)"}, {kDE, LOCALE_SNATIVELANGNAME, "Deutsch"},
      {kDE, LOCALE_SENGLANGUAGE, "German"},        {kDE, LOCALE_SCOUNTRY, "Germany"},
      {kDE, LOCALE_SNATIVECTRYNAME, "Deutschland"}, {kDE, LOCALE_SABBREVLANGNAME, "DEU"},
      {kDE, LOCALE_SABBREVCTRYNAME, "DEU"},        {kDE, LOCALE_ICOUNTRY, "49"},
      {kDE, LOCALE_SISO639LANGNAME, "de"},         {kDE, LOCALE_SISO3166CTRYNAME, "DE"},
      {kDE, LOCALE_IDEFAULTANSICODEPAGE, "1252"},  {kDE, LOCALE_IDEFAULTCODEPAGE, "850"},
      {kDE, LOCALE_SINTLSYMBOL, "EUR"},            {kDE, LOCALE_INEGSYMPRECEDES, "0"},
      {kDE, LOCALE_INEGSEPBYSPACE, "1"},           {kDE, LOCALE_SYEARMONTH, "MMMM yyyy"},

      {kFR, LOCALE_SDAYNAME1, "lundi"},            {kFR, LOCALE_SABBREVDAYNAME7, "dim."},
      {kFR, LOCALE_SMONTHNAME2, "f\xe9vrier"},     {kFR, LOCALE_SABBREVMONTHNAME2, "f\xe9vr."},
      {kFR, LOCALE_SMONTHNAME8, "ao\xfbt"},        {kFR, LOCALE_SDECIMAL, ","},
      {kFR, LOCALE_STHOUSAND, "\xa0"},             {kFR, LOCALE_SLIST, ";"},
      {kFR, LOCALE_SSHORTDATE, "dd/MM/yyyy"},      {kFR, LOCALE_SLONGDATE, "dddd d MMMM yyyy"},
      {kFR, LOCALE_STIMEFORMAT, "HH:mm:ss"},       {kFR, LOCALE_SCURRENCY, "\x80"},
      {kFR, LOCALE_ICURRENCY, "3"},                {kFR, LOCALE_INEGCURR, "8"},
      {kFR, LOCALE_SLANGUAGE, "French (France)"},  {kFR, LOCALE_SNATIVELANGNAME, "fran\xe7" "ais"},
      {kFR, LOCALE_ICOUNTRY, "33"},                {kFR, LOCALE_ILANGUAGE, "040c"},
      {kFR, LOCALE_S1159, ""},                     {kFR, LOCALE_IDATE, "1"},

      {kJP, LOCALE_SSHORTDATE, "yyyy/MM/dd"},      {kJP, LOCALE_STIMEFORMAT, "H:mm:ss"},
      {kJP, LOCALE_SDATE, "/"},                    {kJP, LOCALE_IDATE, "2"},
      {kJP, LOCALE_ILDATE, "2"},                   {kJP, LOCALE_ITIME, "1"},
      {kJP, LOCALE_ITLZERO, "0"},                  {kJP, LOCALE_ICURRDIGITS, "0"},
      {kJP, LOCALE_ICURRENCY, "0"},                {kJP, LOCALE_INEGCURR, "1"},
      {kJP, LOCALE_SDECIMAL, "."},                 {kJP, LOCALE_STHOUSAND, ","},
      {kJP, LOCALE_IDEFAULTANSICODEPAGE, "932"},   {kJP, LOCALE_IDEFAULTCODEPAGE, "932"},
      {kJP, LOCALE_SABBREVLANGNAME, "JPN"},        {kJP, LOCALE_ICOUNTRY, "81"},
      {kJP, LOCALE_SLANGUAGE, "Japanese (Japan)"}, {kJP, LOCALE_SABBREVMONTHNAME1, "1"},
      {kJP, LOCALE_SINTLSYMBOL, "JPY"},            {kJP, LOCALE_ITIMEMARKPOSN, "1"},
      // The 8-bit form converts through the locale's code page, 932.
      {kJP, LOCALE_SDAYNAME1, "\x8c\x8e\x97\x6a\x93\xfa"}, {kJP, LOCALE_S1159, "\x8c\xdf\x91\x4f"},
  };
  for (const auto& c : cases) EXPECT_EQ(info(c.lcid, c.type), c.value) << std::hex << c.lcid << " " << c.type;
}

TEST(Locale, JapaneseNamesInTheWideForm) {
  struct Case { LCTYPE type; const char16_t* value; } cases[] = {
      {LOCALE_SDAYNAME1, u"\u6708\u66dc\u65e5"},        {LOCALE_SDAYNAME7, u"\u65e5\u66dc\u65e5"},
      {LOCALE_SABBREVDAYNAME1, u"\u6708"},              {LOCALE_SMONTHNAME1, u"1\u6708"},
      {LOCALE_SMONTHNAME12, u"12\u6708"},               {LOCALE_SABBREVMONTHNAME12, u"12"},
      {LOCALE_S1159, u"\u5348\u524d"},                  {LOCALE_S2359, u"\u5348\u5f8c"},
      {LOCALE_SCURRENCY, u"\u00a5"},                    {LOCALE_SNATIVELANGNAME, u"\u65e5\u672c\u8a9e"},
      {LOCALE_SNATIVECTRYNAME, u"\u65e5\u672c"},        {LOCALE_SLONGDATE, u"yyyy'\u5e74'M'\u6708'd'\u65e5'"},
  };
  for (const auto& c : cases) EXPECT_EQ(wideInfo(kJP, c.type), c.value) << std::hex << c.type;
  EXPECT_EQ(wideInfo(kFR, LOCALE_STHOUSAND), u"\u00a0");
  EXPECT_EQ(wideInfo(kDE, LOCALE_SCURRENCY), u"\u20ac");
}

TEST(Locale, DefaultIdsResolveToTheUserLocale) {
  for (LCID lcid : {LCID(LOCALE_USER_DEFAULT), LCID(LOCALE_SYSTEM_DEFAULT), LCID(LOCALE_NEUTRAL)}) {
    EXPECT_EQ(info(lcid, LOCALE_SNAME), "en-US") << std::hex << lcid;
    EXPECT_EQ(info(lcid, LOCALE_SSHORTDATE), "M/d/yyyy") << std::hex << lcid;
  }
  EXPECT_EQ(info(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL | LOCALE_NOUSEROVERRIDE), ".");
}

TEST(Locale, UseCpAcpConvertsThroughTheProcessPage) {
  // This program's ANSI code page is 1252, where the Japanese names have no bytes.
  char buffer[32];
  ASSERT_EQ(GetLocaleInfoA(kJP, LOCALE_SDAYNAME1 | LOCALE_USE_CP_ACP, buffer, sizeof buffer), 4);
  EXPECT_STREQ(buffer, "???");
  ASSERT_GT(GetLocaleInfoA(kDE, LOCALE_SMONTHNAME3 | LOCALE_USE_CP_ACP, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "M\xe4rz");
}

TEST(Locale, SizesAndErrors) {
  char buffer[8];
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME9, nullptr, 0), 10);  // with terminator
  EXPECT_EQ(GetLocaleInfoA(kJP, LOCALE_SDAYNAME1, nullptr, 0), 7);  // three double-byte characters
  EXPECT_EQ(GetLocaleInfoW(kJP, LOCALE_SDAYNAME1, nullptr, 0), 4);
  SetLastError(0);
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME9, buffer, sizeof buffer), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  struct Case { LCID lcid; LCTYPE type; char* out; int size; DWORD error; } cases[] = {
      {0x0419, LOCALE_SDECIMAL, buffer, 8, ERROR_INVALID_PARAMETER},
      {0x10409, LOCALE_SDECIMAL, buffer, 8, ERROR_INVALID_PARAMETER},
      {LOCALE_INVARIANT, LOCALE_SDECIMAL, buffer, 8, ERROR_INVALID_PARAMETER},
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
  struct Case { LCID lcid; LCTYPE type; DWORD number; } cases[] = {
      {kUS, LOCALE_IDEFAULTANSICODEPAGE, 1252}, {kJP, LOCALE_IDEFAULTANSICODEPAGE, 932},
      {kDE, LOCALE_ICOUNTRY, 49},               {kFR, LOCALE_ILANGUAGE, 0x040C},  // hexadecimal
      {kJP, LOCALE_ICURRDIGITS, 0},             {kGB, LOCALE_IDATE, 1},
  };
  for (const auto& c : cases) {
    DWORD number = 0xFFFFFFFF;
    EXPECT_EQ(GetLocaleInfoA(c.lcid, c.type | LOCALE_RETURN_NUMBER, reinterpret_cast<char*>(&number), sizeof number), 4);
    EXPECT_EQ(number, c.number) << std::hex << c.lcid << " " << c.type;
  }
  DWORD number = 0;
  EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ICOUNTRY | LOCALE_RETURN_NUMBER,
                           reinterpret_cast<WCHAR*>(&number), 2),
            2);
  EXPECT_EQ(number, 1u);
  EXPECT_EQ(GetLocaleInfoA(kUS, LOCALE_ICOUNTRY | LOCALE_RETURN_NUMBER, nullptr, 0), 4);
}

TEST(Locale, WideForm) {
  WCHAR buffer[16];
  EXPECT_EQ(GetLocaleInfoW(0x0409, LOCALE_SDAYNAME2, buffer, 16), 8);
  EXPECT_EQ(std::u16string(buffer), u"Tuesday");
  EXPECT_EQ(GetLocaleInfoW(0x0409, LOCALE_SDAYNAME2, nullptr, 0), 8);
  SetLastError(0);
  EXPECT_EQ(GetLocaleInfoW(0x0409, LOCALE_SDAYNAME2, buffer, 7), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(Locale, ThreadLocale) {
  EXPECT_TRUE(SetThreadLocale(0x0407));
  EXPECT_EQ(GetThreadLocale(), 0x0407u);
  EXPECT_EQ(GetUserDefaultLCID(), 0x0409u);  // the user's locale stays
  EXPECT_TRUE(SetThreadLocale(LOCALE_USER_DEFAULT));
  EXPECT_EQ(GetThreadLocale(), 0x0409u);
  SetLastError(0);
  EXPECT_FALSE(SetThreadLocale(0x0419));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(GetThreadLocale(), 0x0409u);
}

}  // namespace
