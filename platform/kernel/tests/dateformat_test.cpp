#include <windows.h>
#include <winnls.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr LCID kUS = 0x0409, kGB = 0x0809, kDE = 0x0407, kFR = 0x040C, kJP = 0x0411;

// Tuesday 5 March 2024, 14:07:09.045; the day of the week given is wrong
// on purpose: the functions compute it.
constexpr SYSTEMTIME kMoment = {2024, 3, 0, 5, 14, 7, 9, 45};

std::string date(LCID lcid, DWORD flags, const SYSTEMTIME& t, const char* picture = nullptr) {
  char buffer[80];
  const int n = GetDateFormatA(lcid, flags, &t, picture, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n - 1)) : "<error " + std::to_string(GetLastError()) + ">";
}

std::string time(LCID lcid, DWORD flags, const SYSTEMTIME& t, const char* picture = nullptr) {
  char buffer[80];
  const int n = GetTimeFormatA(lcid, flags, &t, picture, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n - 1)) : "<error " + std::to_string(GetLastError()) + ">";
}

TEST(DateFormat, LocalePictures) {
  struct Case { LCID lcid; DWORD flags; const char* expected; } cases[] = {
      {kUS, 0, "3/5/2024"},                    {kUS, DATE_SHORTDATE, "3/5/2024"},
      {kUS, DATE_LONGDATE, "Tuesday, March 05, 2024"}, {kUS, DATE_YEARMONTH, "March, 2024"},
      {kGB, DATE_SHORTDATE, "05/03/2024"},     {kGB, DATE_LONGDATE, "05 March 2024"},
      {kDE, DATE_SHORTDATE, "05.03.2024"},     {kDE, DATE_LONGDATE, "Dienstag, 5. M\xe4rz 2024"},
      {kDE, DATE_YEARMONTH, "M\xe4rz 2024"},
      {kFR, DATE_SHORTDATE, "05/03/2024"},     {kFR, DATE_LONGDATE, "mardi 5 mars 2024"},
      {kJP, DATE_SHORTDATE, "2024/03/05"},
      {kJP, DATE_LONGDATE, "2024\x94N3\x8c\x8e" "5\x93\xfa"},  // 2024年3月5日 in 932
      {LOCALE_USER_DEFAULT, DATE_LONGDATE | LOCALE_NOUSEROVERRIDE, "Tuesday, March 05, 2024"},
  };
  for (const auto& c : cases) EXPECT_EQ(date(c.lcid, c.flags, kMoment), c.expected) << std::hex << c.lcid;
  WCHAR wide[32];
  ASSERT_GT(GetDateFormatW(kJP, DATE_LONGDATE, &kMoment, nullptr, wide, 32), 0);
  EXPECT_EQ(std::u16string(wide), u"2024\u5e743\u67085\u65e5");
}

TEST(DateFormat, CallersPictures) {
  SYSTEMTIME early = kMoment;
  early.wYear = 2009;
  struct Case { const SYSTEMTIME& t; const char* picture; const char* expected; } cases[] = {
      {kMoment, "d dd ddd dddd ddddd", "5 05 Tue Tuesday Tuesday"},
      {kMoment, "M MM MMM MMMM", "3 03 Mar March"},
      {kMoment, "y yy yyyy yyyyy", "24 24 2024 2024"},
      {early, "y yy", "9 09"},
      {kMoment, "'Day' d 'of' MMMM", "Day 5 of March"},
      {kMoment, "dd''MM", "05'03"},
      {kMoment, "'It''s' d", "It's 5"},
      {kMoment, "hh:mm:ss tt d", "hh:mm:ss tt 5"},  // time fields are text in a date
      {kMoment, "gg yyyy", "A.D. 2024"},
      {kMoment, "d 'unclosed", "5 unclosed"},
      {kMoment, "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(date(kUS, 0, c.t, c.picture), c.expected) << c.picture;
  EXPECT_EQ(date(kDE, 0, kMoment, "ddd, d. MMM yy"), "Di, 5. Mrz 24");
}

TEST(DateFormat, RefusesBadDatesAndFlags) {
  auto with = [](WORD year, WORD month, WORD day) { SYSTEMTIME t = kMoment; t.wYear = year; t.wMonth = month; t.wDay = day; return t; };
  for (const SYSTEMTIME& t : {with(2024, 13, 1), with(2024, 0, 1), with(2023, 2, 29), with(2024, 4, 31),
                              with(2024, 1, 0), with(1600, 12, 31), with(30828, 1, 1)}) {
    SetLastError(0);
    EXPECT_EQ(date(kUS, 0, t), "<error 87>") << t.wYear << "-" << t.wMonth << "-" << t.wDay;
  }
  EXPECT_EQ(date(kUS, 0, with(2024, 2, 29)), "2/29/2024");  // a leap day
  EXPECT_EQ(date(kUS, 0, with(1601, 1, 1), "dddd"), "Monday");
  SYSTEMTIME badTime = kMoment;
  badTime.wHour = 99;  // a date does not look at the time
  EXPECT_EQ(date(kUS, 0, badTime), "3/5/2024");
  struct Case { DWORD flags; const char* picture; LCID lcid; DWORD error; } cases[] = {
      {DATE_SHORTDATE | DATE_LONGDATE, nullptr, kUS, ERROR_INVALID_FLAGS},
      {DATE_LONGDATE | DATE_YEARMONTH, nullptr, kUS, ERROR_INVALID_FLAGS},
      {DATE_LTRREADING | DATE_RTLREADING, nullptr, kUS, ERROR_INVALID_FLAGS},
      {DATE_LONGDATE, "d", kUS, ERROR_INVALID_FLAGS},
      {LOCALE_NOUSEROVERRIDE, "d", kUS, ERROR_INVALID_FLAGS},
      {0x1000, nullptr, kUS, ERROR_INVALID_FLAGS},
      {0, nullptr, 0x0419, ERROR_INVALID_PARAMETER},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    char buffer[32];
    EXPECT_EQ(GetDateFormatA(c.lcid, c.flags, &kMoment, c.picture, buffer, sizeof buffer), 0) << std::hex << c.flags;
    EXPECT_EQ(GetLastError(), c.error) << std::hex << c.flags;
  }
}

TEST(DateFormat, LocaleTimes) {
  struct Case { LCID lcid; DWORD flags; const char* expected; } cases[] = {
      {kUS, 0, "2:07:09 PM"},
      {kUS, TIME_NOSECONDS, "2:07 PM"},
      {kUS, TIME_NOMINUTESORSECONDS, "2 PM"},
      {kUS, TIME_NOTIMEMARKER, "2:07:09"},
      {kUS, TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT, "14:07:09"},
      {kGB, 0, "14:07:09"},
      {kDE, 0, "14:07:09"},
      {kDE, TIME_NOSECONDS, "14:07"},
      {kFR, 0, "14:07:09"},
      {kJP, 0, "14:07:09"},
      {LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE, "2:07:09 PM"},
  };
  for (const auto& c : cases) EXPECT_EQ(time(c.lcid, c.flags, kMoment), c.expected) << std::hex << c.lcid << " " << c.flags;
  SYSTEMTIME midnight = kMoment;
  midnight.wHour = 0;
  EXPECT_EQ(time(kUS, 0, midnight), "12:07:09 AM");
  midnight.wHour = 12;
  EXPECT_EQ(time(kUS, 0, midnight), "12:07:09 PM");
}

TEST(DateFormat, CallersTimePictures) {
  const SYSTEMTIME morning = {0, 0, 0, 0, 9, 5, 3, 0};  // the date is not looked at
  struct Case { LCID lcid; DWORD flags; const char* picture; const char* expected; } cases[] = {
      {kUS, 0, "hh HH h H m mm s ss t tt", "09 09 9 9 5 05 3 03 A AM"},
      {kUS, 0, "'at' HH 'o''clock'", "at 09 o'clock"},
      {kUS, 0, "d/M/y H", "d/M/y 9"},  // date fields are text in a time
      {kUS, TIME_NOSECONDS, "tt h:mm:ss", "AM 9:05"},
      {kUS, TIME_NOTIMEMARKER, "tt h:mm:ss", "9:05:03"},  // a leading mark takes the blank after it
      {kUS, TIME_NOMINUTESORSECONDS, "HH'h'mm", "09"},
      {kUS, TIME_FORCE24HOURFORMAT, "hh:mm", "09:05"},
      {kDE, 0, "H:mm tt", "9:05 "},  // German has no marks
  };
  for (const auto& c : cases) EXPECT_EQ(time(c.lcid, c.flags, morning, c.picture), c.expected) << c.picture;
  SYSTEMTIME evening = morning;
  evening.wHour = 21;
  EXPECT_EQ(time(kUS, TIME_FORCE24HOURFORMAT, evening, "hh:mm"), "21:05");
  WCHAR wide[32];
  ASSERT_GT(GetTimeFormatW(kJP, 0, &evening, u"tt h:mm", wide, 32), 0);
  EXPECT_EQ(std::u16string(wide), u"\u5348\u5f8c 9:05");
  ASSERT_GT(GetTimeFormatW(kJP, 0, &evening, u"t", wide, 32), 0);
  EXPECT_EQ(std::u16string(wide), u"\u5348");
}

TEST(DateFormat, RefusesBadTimesAndFlags) {
  auto with = [](WORD h, WORD m, WORD s, WORD ms) { SYSTEMTIME t = kMoment; t.wHour = h; t.wMinute = m; t.wSecond = s; t.wMilliseconds = ms; return t; };
  for (const SYSTEMTIME& t : {with(24, 0, 0, 0), with(0, 60, 0, 0), with(0, 0, 60, 0), with(0, 0, 0, 1000)}) {
    SetLastError(0);
    EXPECT_EQ(time(kUS, 0, t), "<error 87>") << t.wHour << ":" << t.wMinute << ":" << t.wSecond;
  }
  struct Case { DWORD flags; const char* picture; LCID lcid; DWORD error; } cases[] = {
      {LOCALE_NOUSEROVERRIDE, "h", kUS, ERROR_INVALID_FLAGS},
      {0x10, nullptr, kUS, ERROR_INVALID_FLAGS},
      {0, nullptr, 0x0419, ERROR_INVALID_PARAMETER},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    char buffer[32];
    EXPECT_EQ(GetTimeFormatA(c.lcid, c.flags, &kMoment, c.picture, buffer, sizeof buffer), 0) << std::hex << c.flags;
    EXPECT_EQ(GetLastError(), c.error) << std::hex << c.flags;
  }
}

TEST(DateFormat, BuffersAndSizes) {
  EXPECT_EQ(GetDateFormatA(kUS, 0, &kMoment, nullptr, nullptr, 0), 9);  // "3/5/2024"
  EXPECT_EQ(GetTimeFormatA(kUS, 0, &kMoment, nullptr, nullptr, 0), 11);
  EXPECT_EQ(GetDateFormatW(kJP, DATE_LONGDATE, &kMoment, nullptr, nullptr, 0), 10);
  EXPECT_EQ(GetDateFormatA(kJP, DATE_LONGDATE, &kMoment, nullptr, nullptr, 0), 13);  // double-byte characters
  char buffer[9];
  EXPECT_EQ(GetDateFormatA(kUS, 0, &kMoment, nullptr, buffer, 9), 9);
  EXPECT_STREQ(buffer, "3/5/2024");
  SetLastError(0);
  EXPECT_EQ(GetDateFormatA(kUS, 0, &kMoment, nullptr, buffer, 8), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  SetLastError(0);
  EXPECT_EQ(GetTimeFormatA(kUS, 0, &kMoment, nullptr, buffer, 5), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  for (int size : {-1, 8}) {
    SetLastError(0);
    EXPECT_EQ(GetDateFormatA(kUS, 0, &kMoment, nullptr, size < 0 ? buffer : nullptr, size), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GetTimeFormatW(kUS, 0, &kMoment, nullptr, nullptr, size), 0);
  }
}

TEST(DateFormat, NoTimeMeansNow) {
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  char year[8], hour[8];
  ASSERT_EQ(GetDateFormatA(kUS, 0, nullptr, "yyyy", year, sizeof year), 5);
  ASSERT_EQ(GetTimeFormatA(kUS, 0, nullptr, "HH", hour, sizeof hour), 3);
  GetLocalTime(&after);
  EXPECT_TRUE(std::stoi(year) == before.wYear || std::stoi(year) == after.wYear) << year;
  EXPECT_TRUE(std::stoi(hour) == before.wHour || std::stoi(hour) == after.wHour) << hour;
}

}  // namespace
