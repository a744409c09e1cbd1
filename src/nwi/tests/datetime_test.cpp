#include "datetime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>

#include "datatypes.h"
#include "intlprofile.h"

// Found by argument lookup: the record lives in the global namespace.
static bool operator==(const HCtlDateTime& a, const HCtlDateTime& b) {
  return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second, a.milliseconds) ==
         std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second, b.milliseconds);
}

namespace {

std::string show(const HCtlDateTime& r) {
  char text[64];
  std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d.%03d", r.year, r.month, r.day, r.hour, r.minute,
                r.second, r.milliseconds);
  return text;
}

TEST(JulianDay, GregorianReformAndDayZeros) {
  const struct {
    int year, month, day;
    int32_t julian;
  } cases[] = {
      {1582, 10, 15, 2299161}, {1582, 10, 4, 2299160}, {1900, 1, 1, 2415021}, {1899, 12, 30, 2415019},
      {2000, 2, 29, 2451604},  {1970, 1, 1, 2440588},  {-4713, 1, 1, 0},      {2017, 2, 3, 2457788},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HCtlJulianDay(c.year, c.month, c.day), c.julian) << c.year << "-" << c.month << "-" << c.day;
    HCtlDateTime r{};
    HCtlCalendarDate(c.julian, &r);
    EXPECT_EQ(r.year, c.year);
    EXPECT_EQ(r.month, c.month);
    EXPECT_EQ(r.day, c.day);
  }
  EXPECT_EQ(HCtlJulianDay(0, 5, 1), HCtlJulianDay(1992, 5, 1));  // year 0 is taken as 1992
}

TEST(MsOfDay, SplitsBack) {
  const int32_t ms = HCtlMsOfDay(13, 5, 9, 250);
  EXPECT_EQ(ms, 47109250);
  int h, m, s, f;
  HCtlSplitMs(ms, &h, &m, &s, &f);
  EXPECT_EQ(h, 13);
  EXPECT_EQ(m, 5);
  EXPECT_EQ(s, 9);
  EXPECT_EQ(f, 250);
  HCtlSplitMs(ms, nullptr, nullptr, nullptr, nullptr);  // every output optional
}

// What a storage form keeps of a record.
HCtlDateTime project(HCtlDateTime r, char storage) {
  const bool timeOnly = std::strchr("Iit", storage) != nullptr;
  const bool dateOnly = std::strchr("Aadl", storage) != nullptr;
  if (timeOnly) r.year = r.month = r.day = 0;
  if (dateOnly) r.hour = r.minute = r.second = r.milliseconds = 0;
  switch (storage) {
    case 'q': r.second = 0; r.milliseconds = 0; break;
    case 'T': case 'm': case 't': r.milliseconds = 0; break;
    case 'I': r.second &= ~1; r.milliseconds = 0; break;
    case 'i': r.milliseconds = r.milliseconds / 10 * 10; break;
    default: break;
  }
  return r;
}

char typeOf(char storage) {
  if (std::strchr("Aadl", storage)) return 'd';
  if (std::strchr("Iit", storage)) return 't';
  return 'a';
}

// Forms that need a real date (an empty one cannot be stored).
bool needsDate(char storage) { return std::strchr("AQquTm", storage) != nullptr; }

TEST(DateStorage, EveryFormConvertsToEveryOther) {
  const char forms[] = "AadlIitDQqusTm";
  const HCtlDateTime records[] = {
      {2017, 2, 3, 13, 6, 8, 0, 250},
      {2000, 2, 29, 0, 0, 0, 0, 0},
      {2037, 12, 31, 23, 59, 58, 0, 990},
  };
  for (const char* zone : {"UTC", "CET-1CEST,M3.5.0,M10.5.0/3"}) {
    TimeZone tz(zone);
    for (const HCtlDateTime& original : records) {
      for (const char from : std::string(forms)) {
        uint8_t first[64] = {};
        ASSERT_EQ(HCtlRecordToStorage(&original, first, from), 1) << from;
        ASSERT_EQ(HCtlStorageValid(typeOf(from) == 'a' && from == 'T' ? 'k' : typeOf(from), from), 1);
        HCtlDateTime viaFrom{};
        ASSERT_EQ(HCtlRecordFromStorage(&viaFrom, first, from), 1) << from;
        EXPECT_EQ(viaFrom, project(original, from)) << zone << " " << from << " " << show(viaFrom);
        for (const char to : std::string(forms)) {
          uint8_t second[64];
          std::memset(second, 0xEE, sizeof second);
          const int stored = HCtlRecordToStorage(&viaFrom, second, to);
          const bool emptyDate = viaFrom.year == 0 && viaFrom.month == 0 && viaFrom.day == 0;
          if (emptyDate && needsDate(to)) {
            EXPECT_EQ(stored, 0) << from << " to " << to;
            EXPECT_EQ(second[0], 0xEE);
            continue;
          }
          ASSERT_EQ(stored, 1) << from << " to " << to;
          HCtlDateTime back{};
          ASSERT_EQ(HCtlRecordFromStorage(&back, second, to), 1) << from << " to " << to;
          EXPECT_EQ(back, project(project(original, from), to)) << zone << " " << from << " to " << to << " " << show(back);
        }
      }
    }
  }
}

TEST(DateStorage, DayZerosOfTheNumberForms) {
  HCtlDateTime r{};
  const int32_t q[2] = {0, 0};
  ASSERT_EQ(HCtlRecordFromStorage(&r, q, 'Q'), 1);
  EXPECT_EQ(r, (HCtlDateTime{1900, 1, 1, 0, 0, 0, 0, 0}));
  const struct {
    double days;
    HCtlDateTime record;
  } cases[] = {
      {0.0, {1899, 12, 30, 0, 0, 0, 0, 0}},
      {1.5, {1899, 12, 31, 12, 0, 0, 0, 0}},
      {-1.25, {1899, 12, 29, 6, 0, 0, 0, 0}},  // OLE dates: the fraction is the time of day
      {42769.5, {2017, 2, 3, 12, 0, 0, 0, 0}},
      {0.99999999999, {1899, 12, 31, 0, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(HCtlRecordFromStorage(&r, &c.days, 'u'), 1) << c.days;
    EXPECT_EQ(r, c.record) << c.days << " " << show(r);
    double back = 0;
    ASSERT_EQ(HCtlRecordToStorage(&c.record, &back, 'u'), 1);
    EXPECT_NEAR(back, std::round(c.days * 86400000) / 86400000, 1e-9) << c.days;
  }
}

TEST(DateStorage, OutOfRangeValuesAreRefusedNotWrapped) {
  TimeZone tz("UTC");
  const struct {
    HCtlDateTime record;
    char storage;
  } refused[] = {
      {{1979, 12, 31, 0, 0, 0, 0, 0}, 'A'},
      {{2108, 1, 1, 0, 0, 0, 0, 0}, 'A'},
      {{1899, 12, 31, 0, 0, 0, 0, 0}, 'q'},
      {{2079, 6, 7, 0, 0, 0, 0, 0}, 'q'},  // day 65536
      {{1900, 6, 1, 0, 0, 0, 0, 0}, 'T'},
      {{1900, 6, 1, 0, 0, 0, 0, 0}, 'm'},
      {{1850, 6, 1, 0, 0, 0, 0, 0}, 'T'},
      {{1969, 12, 31, 0, 0, 0, 0, 0}, 'T'},  // before the run-time's calendar time
      {{3001, 1, 1, 0, 0, 0, 0, 0}, 'm'},
      {{2017, 13, 1, 0, 0, 0, 0, 0}, 'D'},
      {{2017, 2, 31, 0, 0, 0, 0, 0}, 'd'},
      {{2017, 2, 3, 24, 0, 0, 0, 0}, 'Q'},
      {{2017, 2, 3, 0, 60, 0, 0, 0}, 't'},
      {{2017, 2, 3, 0, 0, 0, 0, 1000}, 's'},
  };
  for (const auto& c : refused) {
    uint8_t value[64];
    std::memset(value, 0x5A, sizeof value);
    EXPECT_EQ(HCtlRecordToStorage(&c.record, value, c.storage), 0) << c.storage << " " << show(c.record);
    EXPECT_EQ(value[0], 0x5A);
  }
  uint8_t value[64];
  const HCtlDateTime last{2079, 6, 6, 23, 59, 0, 0, 0};
  EXPECT_EQ(HCtlRecordToStorage(&last, value, 'q'), 1);
  const HCtlDateTime lastPacked{2107, 12, 31, 0, 0, 0, 0, 0};
  EXPECT_EQ(HCtlRecordToStorage(&lastPacked, value, 'A'), 1);
}

TEST(DateStorage, EarlyYearsDoNotReuseTheYearOfAnEarlierConversion) {
  TimeZone tz("UTC");
  const HCtlDateTime good{2017, 2, 3, 1, 2, 3, 0, 0};
  int64_t t = 0;
  ASSERT_EQ(HCtlRecordToStorage(&good, &t, 'T'), 1);
  EXPECT_EQ(t, 1486083723);
  const HCtlDateTime early{1900, 2, 3, 1, 2, 3, 0, 0};
  int64_t again = 42;
  EXPECT_EQ(HCtlRecordToStorage(&early, &again, 'T'), 0);
  EXPECT_EQ(again, 42);
}

TEST(DateStorage, QuarterMillisecondsAreKept) {
  const HCtlDateTime r{2017, 2, 3, 13, 5, 9, 0, 987};
  int32_t q[2];
  ASSERT_EQ(HCtlRecordToStorage(&r, q, 'Q'), 1);
  EXPECT_EQ(q[1], HCtlMsOfDay(13, 5, 9, 987));
  HCtlDateTime back{};
  ASSERT_EQ(HCtlRecordFromStorage(&back, q, 'Q'), 1);
  EXPECT_EQ(back, r);
}

TEST(DateStorage, CorruptValuesAreRefused) {
  TimeZone tz("UTC");
  HCtlDateTime r{};
  const int32_t badMs[2] = {0, 86400000};
  EXPECT_EQ(HCtlRecordFromStorage(&r, badMs, 'Q'), 0);
  const int32_t negativeMs[2] = {0, -1};
  EXPECT_EQ(HCtlRecordFromStorage(&r, negativeMs, 'Q'), 0);
  const uint16_t badMinutes[2] = {0, 1440};
  EXPECT_EQ(HCtlRecordFromStorage(&r, badMinutes, 'q'), 0);
  const double nan = std::nan("");
  EXPECT_EQ(HCtlRecordFromStorage(&r, &nan, 'u'), 0);
  const double far = 1e12;
  EXPECT_EQ(HCtlRecordFromStorage(&r, &far, 'u'), 0);
  MsTm tm{0, 0, 0, 1, 12, 117, 0, 0, 0};  // month 12 does not exist
  EXPECT_EQ(HCtlRecordFromStorage(&r, &tm, 'm'), 0);
  const int64_t negative = -1;
  EXPECT_EQ(HCtlRecordFromStorage(&r, &negative, 'T'), 0);
  const int32_t any = 0;
  EXPECT_EQ(HCtlRecordFromStorage(&r, &any, 'x'), 0);
  EXPECT_EQ(HCtlRecordFromStorage(nullptr, &any, 'l'), 0);
}

TEST(DateStorage, TmHasMicrosoftsLayout) {
  TimeZone tz("UTC");
  const HCtlDateTime r{2017, 2, 3, 13, 5, 9, 0, 0};
  uint8_t bytes[40];
  std::memset(bytes, 0xEE, sizeof bytes);
  ASSERT_EQ(HCtlRecordToStorage(&r, bytes, 'm'), 1);
  EXPECT_EQ(bytes[36], 0xEE);  // 36 bytes, no more
  int32_t fields[9];
  std::memcpy(fields, bytes, sizeof fields);
  const int32_t expected[9] = {9, 5, 13, 3, 1, 117, 5, 33, 0};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(fields[i], expected[i]) << "field " << i;
  EXPECT_EQ(HCtlStorageSize('a', 'm'), 36);
}

TEST(DateTimeToString, PicturesTable) {
  IntlProfile profile;
  const HCtlDateTime r{2017, 2, 3, 13, 5, 9, 0, 42};
  const struct {
    const char* picture;
    const char* text;
  } cases[] = {
      {"d/m/yy", "3/2/17"},
      {"dd/mm/yyyy", "03/02/2017"},
      {"ddd dd", "Fri 03"},
      {"dddd", "Friday"},
      {"DDDD", "FRIDAY"},
      {"Dddd", "Friday"},
      {"mmm", "feb"},
      {"Mmm", "Feb"},
      {"MMMM", "FEBRUARY"},
      {"mmmm yyyy", "february 2017"},
      {"hh:mm:ss", "13:05:09"},
      {"h:mm ap", "1:05 pm"},
      {"h:mm AP", "1:05 PM"},
      {"hh:mm:ss.ff", "13:05:09.042"},
      {"yyyy\\y", "2017y"},
      {"[red]dd", "03"},
      {"y s f", "y s f"},
      {"hh:m", "13:m"},
  };
  for (const auto& c : cases) {
    char out[64];
    const int length = DateTimeToString(&r, c.picture, out, sizeof out, 0, 1, 1);
    EXPECT_STREQ(out, c.text) << c.picture;
    EXPECT_EQ(length, static_cast<int>(std::strlen(out)));
  }
}

TEST(DateTimeToString, TwelveHourClockAndMidnight) {
  IntlProfile profile;
  const struct {
    HCtlDateTime record;
    int datePart, timePart;
    const char* text;
  } cases[] = {
      {{2017, 2, 3, 13, 5, 9, 0, 0}, 0, 1, "1:05:09 pm"},
      {{2017, 2, 3, 0, 30, 0, 0, 0}, 0, 1, "12:30:00 am"},
      {{2017, 2, 3, 12, 0, 0, 0, 0}, 0, 1, "12:00:00 pm"},
      {{2017, 2, 3, 0, 0, 0, 0, 0}, 1, 1, "02/03/2017"},          // midnight shows as a date
      {{2017, 2, 3, 0, 0, 0, 0, 5}, 1, 1, "02/03/2017 12:00:00 am"},
      {{2017, 2, 3, 9, 0, 0, 0, 0}, 1, 0, "02/03/2017"},
  };
  for (const auto& c : cases) {
    char out[64];
    DateTimeToString(&c.record, "", out, sizeof out, 0, c.datePart, c.timePart);
    EXPECT_STREQ(out, c.text);
  }
}

TEST(DateTimeToString, TimeOnlyPicturesReadMmAsMinutes) {
  IntlProfile profile;
  const HCtlDateTime r{0, 0, 0, 7, 45, 0, 0, 0};
  char out[32];
  DateTimeToString(&r, "mm:ss", out, sizeof out, 0, 0, 1);
  EXPECT_STREQ(out, "45:00");
}

TEST(DateTimeToString, SelectFlagChoosesComponentsOfTheDefaults) {
  IntlProfile profile({{"sShortDate", "dd.mm.yyyy"}, {"sDate", "."}});
  const HCtlDateTime r{2017, 2, 3, 13, 5, 9, 0, 0};
  const struct {
    const char* picture;
    int datePart, timePart;
    const char* effective;
    const char* text;
  } cases[] = {
      {"", 1, 1, "dd/mm/yyyy h:mm:ss ap", "03.02.2017 1:05:09 pm"},
      {"yyyy", 1, 0, "yyyy", "2017"},
      {"MM/YY", 1, 0, "mm/yy", "02.17"},
      {"d-m-yyyy", 1, 0, "dd/mm/yyyy", "03.02.2017"},
      {"dd", 1, 0, "dd", "03"},
      {"hh:mm", 0, 1, "h:mm ap", "1:05 pm"},
      {"ss", 0, 1, "ss ap", "09 pm"},
      {"dd/mm hh:mm", 1, 1, "dd/mm h:mm ap", "03.02 1:05 pm"},
  };
  for (const auto& c : cases) {
    char effective[64];
    HCtlBuildPicture(c.picture, c.datePart, c.timePart, effective, sizeof effective);
    EXPECT_STREQ(effective, c.effective) << c.picture;
    char out[64];
    DateTimeToString(&r, c.picture, out, sizeof out, 1, c.datePart, c.timePart);
    EXPECT_STREQ(out, c.text) << c.picture;
  }
}

TEST(DateTimeToString, WritesWhatFits) {
  IntlProfile profile;
  const HCtlDateTime r{2017, 2, 3, 0, 0, 0, 0, 0};
  char out[6];
  EXPECT_EQ(DateTimeToString(&r, "dd/mm/yyyy", out, sizeof out, 0, 1, 0), 5);
  EXPECT_STREQ(out, "03/02");
  EXPECT_EQ(DateTimeToString(&r, "dd", out, 0, 0, 1, 0), 0);
  EXPECT_EQ(DateTimeToString(nullptr, "dd", out, sizeof out, 0, 1, 0), 0);
}

TEST(ParseDateTime, ReadsAndValidatesTable) {
  IntlProfile profile;
  const struct {
    const char* text;
    const char* picture;
    int datePart, timePart;
    int result;
    HCtlDateTime record;
  } cases[] = {
      {"02/03/2017", "", 1, 0, 1, {2017, 2, 3, 0, 0, 0, 0, 0}},
      {"2/3/2017", "m/d/yyyy", 1, 0, 1, {2017, 2, 3, 0, 0, 0, 0, 0}},
      {"12/25/39", "mm/dd/yy", 1, 0, 1, {2039, 12, 25, 0, 0, 0, 0, 0}},
      {"12/25/40", "mm/dd/yy", 1, 0, 1, {1940, 12, 25, 0, 0, 0, 0, 0}},
      {"13/01/2017", "", 1, 0, 0, {}},
      {"02/31/2017", "", 1, 0, 0, {}},
      {"02/29/1900", "", 1, 0, 0, {}},
      {"02/29/2000", "", 1, 0, 1, {2000, 2, 29, 0, 0, 0, 0, 0}},
      {"00/10/2000", "", 1, 0, 0, {}},
      {"ab/cd/efgh", "", 1, 0, 0, {}},
      {"1:05:09 pm", "", 0, 1, 1, {0, 0, 0, 13, 5, 9, 0, 0}},
      {"12:30:00 am", "", 0, 1, 1, {0, 0, 0, 0, 30, 0, 0, 0}},
      {"24:00:00", "hh:mm:ss", 0, 1, 0, {}},
      {"10:61:00", "hh:mm:ss", 0, 1, 0, {}},
      {"02/03/2017 13:05:09", "mm/dd/yyyy hh:mm:ss", 1, 1, 1, {2017, 2, 3, 13, 5, 9, 0, 0}},
      {"03 Feb 2017", "dd mmm yyyy", 1, 0, 1, {2017, 2, 3, 0, 0, 0, 0, 0}},
      {"03 Xyz 2017", "dd mmm yyyy", 1, 0, 0, {}},
      {"", "", 1, 0, 1, {}},
  };
  for (const auto& c : cases) {
    HCtlDateTime r{};
    EXPECT_EQ(HCtlParseDateTime(&r, c.text, c.picture, c.datePart, c.timePart, 0), c.result)
        << c.text << " " << c.picture;
    if (c.result) EXPECT_EQ(r, c.record) << c.text << " " << show(r);
  }
}

TEST(ParseDateTime, MissingPartsAreFilledIn) {
  HCtlDateTime r{};
  r.day = 31;
  r.month = 5;
  EXPECT_EQ(HCtlValidDate(&r, 0, 1, 1), 1);
  EXPECT_EQ(r.year, HCtlCurrentYear());
  r = HCtlDateTime{2017, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(HCtlValidDate(&r, 1, 0, 0), 1);
  EXPECT_EQ(r.month, 1);
  EXPECT_EQ(r.day, 1);
  r = HCtlDateTime{1900, 2, 29, 0, 0, 0, 0, 0};
  EXPECT_EQ(HCtlValidDate(&r, 1, 1, 1), 0);
}

TEST(DateKey, KeysTable) {
  IntlProfile profile;
  const struct {
    const char* text;
    const char* picture;
    int datePart, timePart;
    int caret;
    char key;
    int result;
    const char* after;
    int caretAfter;
  } cases[] = {
      {"02/03/2017", "mm/dd/yyyy", 1, 0, 0, '1', 0, "12/03/2017", 1},
      {"02/03/2017", "mm/dd/yyyy", 1, 0, 2, '1', 0, "02/13/2017", 4},   // on a separator: the place behind
      {"02/03/2017", "mm/dd/yyyy", 1, 0, 0, '/', 0, "02/03/2017", 3},   // the next field
      {"02/03/2017", "mm/dd/yyyy", 1, 0, 6, '/', 1, "02/03/2017", 6},   // no punctuation follows
      {"02/03/2017", "mm/dd/yyyy", 1, 0, 10, '1', 1, "02/03/2017", 10},
      {"02/03/2017", "mm/dd/yyyy", 1, 0, 3, ' ', 0, "02/ 3/2017", 4},
      {"02/03/2017", "mm/dd/yyyy", 1, 0, 3, 'x', 1, "02/03/2017", 3},
      {"1:05:09 am", "h:mm:ss ap", 0, 1, 8, 'p', 0, "1:05:09 pm", 9},
      {"1:05:09 am", "h:mm:ss ap", 0, 1, 9, 'p', 1, "1:05:09 am", 9},   // a letter before the caret
      {"1:05:09 am", "h:mm:ss ap", 0, 1, 3, 'p', 1, "1:05:09 am", 3},
      {"02", "mm/dd/yyyy", 1, 0, 2, '1', 0, "02/1", 4},                 // the next field opens
  };
  for (const auto& c : cases) {
    char text[32];
    std::snprintf(text, sizeof text, "%s", c.text);
    int caret = -1, count = -1;
    EXPECT_EQ(HCtlDateKey(text, sizeof text, c.picture, c.datePart, c.timePart, c.caret, c.key, &caret, &count), c.result)
        << c.text << " at " << c.caret << " key " << c.key;
    EXPECT_STREQ(text, c.after) << c.text << " at " << c.caret << " key " << c.key;
    if (c.result == 0) EXPECT_EQ(caret, c.caretAfter) << c.text << " at " << c.caret << " key " << c.key;
  }
}

TEST(DateKey, OneDigitFieldsGrowAndShrink) {
  IntlProfile profile({{"sShortDate", "m/d/yyyy"}});
  const struct {
    const char* text;
    int caret;
    char key;
    const char* after;
    int caretAfter;
  } cases[] = {
      {"2/3/2017", 1, '1', "21/3/2017", 2},   // completes a one-digit field
      {"2/3/2017", 0, '1', "12/3/2017", 1},   // room for a second digit
      {"12/3/2017", 1, '5', "15/3/2017", 2},  // two digits: overwritten
      {"12/3/2017", 0, ' ', "2/3/2017", 0},   // a space takes the digit out
  };
  for (const auto& c : cases) {
    char text[32];
    std::snprintf(text, sizeof text, "%s", c.text);
    int caret = -1, count = -1;
    EXPECT_EQ(HCtlDateKey(text, sizeof text, "", 1, 0, c.caret, c.key, &caret, &count), 0) << c.text;
    EXPECT_STREQ(text, c.after) << c.text << " at " << c.caret;
    EXPECT_EQ(caret, c.caretAfter) << c.text << " at " << c.caret;
  }
}

}  // namespace
