// DateTimeToString: a date-time record written by a date/time picture,
// with the day and month names of the user's locale.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "datetime.h"
#include "intlsettings.h"
#include "textbuffer.h"

namespace {

struct Names {
  char fullDay[7][16];  // index 0 = Sunday
  char shortDay[7][11];
  char fullMonth[12][16];
  char shortMonth[12][11];
};

constexpr const char* kFallbackDays[7] = {"sunday", "monday", "tuesday", "wednesday", "thursday", "friday", "saturday"};
constexpr const char* kFallbackMonths[12] = {"january", "february", "march",     "april",   "may",      "june",
                                             "july",    "august",   "september", "october", "november", "december"};

void copyName(char* target, size_t size, const char* source) {
  std::snprintf(target, size, "%s", source);
}

void loadName(LCTYPE fullType, LCTYPE shortType, const char* fallback, char (&full)[16], char (&shortName)[11]) {
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, fullType, full, sizeof full) <= 1) copyName(full, sizeof full, fallback);
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, shortType, shortName, sizeof shortName) <= 0) shortName[0] = 0;
  size_t length = std::strlen(shortName);
  if (length > 0 && shortName[length - 1] == '.') shortName[--length] = 0;
  if (length < 3) {
    std::memcpy(shortName, full, 3);
    shortName[3] = 0;
  }
}

// Loaded on the first use in the process, as the locale does not change
// under a running program.
const Names& names() {
  static const Names loaded = [] {
    Names n{};
    // LOCALE_SDAYNAME1 is Monday; Sunday is the seventh.
    for (int day = 0; day < 7; ++day) {
      const int offset = day == 0 ? 6 : day - 1;
      loadName(LOCALE_SDAYNAME1 + offset, LOCALE_SABBREVDAYNAME1 + offset, kFallbackDays[day], n.fullDay[day],
               n.shortDay[day]);
    }
    for (int month = 0; month < 12; ++month)
      loadName(LOCALE_SMONTHNAME1 + month, LOCALE_SABBREVMONTHNAME1 + month, kFallbackMonths[month],
               n.fullMonth[month], n.shortMonth[month]);
    return n;
  }();
  return loaded;
}

struct Writer : HCtlTextWriter {
  // A name in the case the picture letters ask for: the first letter by
  // the token's first letter, the others by its second letter (upper case
  // letters make capitals, lower case ones keep the name as it is; a
  // lower-case first month letter makes a lower-case initial). The case
  // maps of the ANSI code page change the letters, so that accented names
  // ("f\xe9vrier") become capitals too and a double-byte initial stays whole.
  void name(const char* text, char first, char second, bool lowerInitial) {
    char copy[16];
    const int length = std::snprintf(copy, sizeof copy, "%s", text);
    const int n = length < static_cast<int>(sizeof copy) ? length : static_cast<int>(sizeof copy) - 1;
    if (n <= 0) return;
    const int initial = n > 1 && IsDBCSLeadByte(static_cast<BYTE>(copy[0])) ? 2 : 1;
    if (std::isupper(static_cast<unsigned char>(first))) CharUpperBuffA(copy, initial);
    else if (lowerInitial) CharLowerBuffA(copy, initial);
    if (std::isupper(static_cast<unsigned char>(second))) CharUpperBuffA(copy + initial, n - initial);
    for (int i = 0; i < n; ++i) put(copy[i]);
  }
};

bool hasMarker(const char* picture) {
  for (const char* p = picture; *p; ++p)
    if (HCtlLower(p[0]) == 'a' && HCtlLower(p[1]) == 'p') return true;
  return false;
}

}  // namespace

extern "C" int WINAPI DateTimeToString(const HCtlDateTime* record, const char* picture, char* out, int outSize,
                                       int select, int datePart, int timePart) {
  if (!out || outSize < 1) return 0;
  out[0] = 0;
  if (!record) return 0;
  const Names& n = names();
  const HCtlIntl& intl = HCtlIntlSettings();
  const HCtlDateTime& r = *record;
  if (!picture) picture = "";
  char effective[64];
  if (select || !*picture) {
    // A date-time at midnight shows as a date.
    const bool midnight = r.hour == 0 && r.minute == 0 && r.second == 0 && r.milliseconds == 0;
    const bool time = timePart && !(datePart && !*picture && midnight);
    HCtlBuildPicture(picture, datePart, time, effective, sizeof effective);
    picture = effective;
  }
  int hour = r.hour;
  if (hasMarker(picture)) hour = hour % 12 == 0 ? 12 : hour % 12;
  const bool timeOnly = timePart && !datePart;
  const int dayOfWeek = static_cast<int>((int64_t{HCtlJulianDay(r.year, r.month, r.day)} + 1) % 7);
  const int monthIndex = r.month >= 1 && r.month <= 12 ? r.month - 1 : 0;

  Writer w{{out, outSize - 1}};
  bool hourWritten = false;
  for (const char* p = picture; *p && w.length < w.capacity;) {
    const char c = HCtlLower(*p);
    const int run = HCtlLetterRun(p, c);
    switch (c) {
      case 'd': {
        const int take = run > 4 ? 4 : run;
        if (take == 1) w.number(r.day, 1);
        else if (take == 2) w.number(r.day, 2);
        else w.name(take == 3 ? n.shortDay[(dayOfWeek + 7) % 7] : n.fullDay[(dayOfWeek + 7) % 7], p[0], p[1], false);
        p += take;
        continue;
      }
      case 'm': {
        const bool minute = timeOnly || (hourWritten && ((p - picture >= 1 && HCtlLower(p[-1]) == 'h') ||
                                                         (p - picture >= 2 && HCtlLower(p[-2]) == 'h')));
        if (minute) {
          if (run >= 2) {
            w.number(r.minute, 2);
            p += 2;
          } else {
            w.put(*p++);
          }
          continue;
        }
        const int take = run > 4 ? 4 : run;
        if (take <= 2) w.number(r.month, take);
        else w.name(take == 3 ? n.shortMonth[monthIndex] : n.fullMonth[monthIndex], p[0], p[1], !intl.keepNameCase);
        p += take;
        continue;
      }
      case 'h':
        w.number(hour, run >= 2 ? 2 : 1);
        hourWritten = true;
        p += run >= 2 ? 2 : 1;
        continue;
      case 's':
        if (run >= 2) {
          w.number(r.second, 2);
          p += 2;
        } else {
          w.put(*p++);
        }
        continue;
      case 'f':
        if (run >= 2) {
          w.number(r.milliseconds, 3);
          p += run >= 3 ? 3 : 2;
        } else {
          w.put(*p++);
        }
        continue;
      case 'y':
        if (run >= 4) {
          w.number(r.year, 4);
          p += 4;
        } else if (run >= 2) {
          w.number(std::abs(r.year % 100), 2);
          if (run == 3) w.put(p[2]);
          p += run;
        } else {
          w.put(*p++);
        }
        continue;
      case 'a':
        if (HCtlLower(p[1]) == 'p') {
          const bool afternoon = r.hour >= 12;
          const bool upperA = std::isupper(static_cast<unsigned char>(p[0])) != 0;
          const bool upperP = std::isupper(static_cast<unsigned char>(p[1])) != 0;
          w.put(afternoon ? (upperA ? 'P' : 'p') : p[0]);
          w.put(upperP ? 'M' : 'm');
          p += 2;
        } else {
          w.put(*p++);
        }
        continue;
      default:
        break;
    }
    if (*p == '/') w.put(intl.dateSep);
    else if (*p == ':') w.put(intl.timeSep);
    else if (*p == '\\' && p[1]) w.put(*++p);
    else if (*p == '[') {
      const char* close = std::strchr(p, ']');
      p = close ? close : p + std::strlen(p) - 1;
    } else {
      w.put(*p);
    }
    ++p;
  }
  out[w.length] = 0;
  return w.length;
}
