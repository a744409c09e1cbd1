// Date and time texts read back by a picture (with validation) and edited
// key by key.
#include <cctype>
#include <cstring>
#include <vector>

#include "datetime.h"
#include "intlsettings.h"
#include "textbuffer.h"

namespace {

constexpr int kPictureSize = 64;

bool isToken(char c) { return c == 'd' || c == 'f' || c == 'h' || c == 'm' || c == 's' || c == 'y'; }

// Month by name at the text (full names first, then abbreviations, letter
// case ignored); 0 when none matches. Advances the text over the letters.
int monthByName(const char*& text) {
  for (int month = 1; month <= 12; ++month) {
    char full[16] = {}, abbreviated[11] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + month - 1, full, sizeof full);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVMONTHNAME1 + month - 1, abbreviated, sizeof abbreviated);
    for (const char* name : {static_cast<const char*>(full), static_cast<const char*>(abbreviated)}) {
      const size_t length = std::strlen(name);
      if (length >= 3 && strncasecmp(text, name, length) == 0) {
        text += length;
        while (HCtlIsAlpha(*text) || *text == '.') ++text;
        return month;
      }
    }
  }
  return 0;
}

}  // namespace

int HCtlParseDateTime(HCtlDateTime* record, const char* text, const char* picture, int datePart, int timePart,
                      int select) {
  if (!record) return 0;
  *record = HCtlDateTime{};
  if (!text) return 0;
  char built[kPictureSize];
  const char* effective = picture;
  if (select || !picture || !*picture) {
    HCtlBuildPicture(picture, datePart, timePart, built, sizeof built);
    effective = built;
  }

  // Read into wide fields first: a "300" must fail validation, not wrap.
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
  bool yearGiven = false, monthGiven = false, dayGiven = false, hourRead = false;
  const char* p = effective;
  const char* t = text;
  while (*p && *t) {
    const char c = HCtlLower(*p);
    if (isToken(c)) {
      const int run = HCtlLetterRun(p, c);
      const char* next = p + run;
      if (run >= 3 && (c == 'm' || c == 'd') && HCtlIsAlpha(*t)) {
        if (c == 'm') {
          month = monthByName(t);
          if (!month) return 0;
          monthGiven = true;
        } else {
          while (HCtlIsAlpha(*t) || *t == '.') ++t;  // the day name tells nothing new
        }
        p = next;
        continue;
      }
      int k = 0;
      while (k < run && k < 9 && HCtlIsDigit(t[k])) ++k;
      // A one-letter field may hold two digits (and a year four) when a
      // separator or the end follows it in the picture.
      if (k == run && (!*next || !isToken(HCtlLower(*next)))) {
        const int most = c == 'y' ? 4 : (run < 8 ? run + 1 : 9);  // nine digits fit an int
        while (k < most && HCtlIsDigit(t[k])) ++k;
      }
      if (k == 0) {
        if (std::isalnum(static_cast<unsigned char>(*t))) return 0;  // a foreign character
        p = next;
        continue;
      }
      int value = 0;
      for (int i = 0; i < k; ++i) value = value * 10 + (t[i] - '0');
      switch (c) {
        case 'd': day = value; dayGiven = true; break;
        case 'f': ms = value; break;
        case 'h': hour = value; hourRead = true; break;
        case 's': second = value; break;
        case 'y': year = value; yearGiven = true; break;
        case 'm':
          if (!hourRead && (!timePart || datePart)) {
            month = value;
            monthGiven = true;
          } else {
            minute = value;
          }
          break;
      }
      t += k;
      p = next;
      continue;
    }
    if (c == 'a' && HCtlLower(p[1]) == 'p') {
      if (HCtlLower(*t) == 'a' && hour == 12) hour = 0;
      if (HCtlLower(*t) == 'p' && hour < 12) hour += 12;
      for (int i = 0; i < 2 && HCtlIsAlpha(*t); ++i) ++t;
      p += 2;
      continue;
    }
    ++p;
    ++t;
  }
  // A picture may name parts that the type does not hold: they are read
  // over but not kept.
  if (!datePart) {
    year = month = day = 0;
    yearGiven = monthGiven = dayGiven = false;
  }
  if (!timePart) hour = minute = second = ms = 0;
  const bool dateGiven = yearGiven || monthGiven || dayGiven;
  if (dateGiven && !std::strstr(effective, "yyyy") && yearGiven && year < 100) year += year < 40 ? 2000 : 1900;
  if (year > INT16_MAX || month > 12 || day > 31 || hour > 23 || minute > 59 || second > 59 || ms > 999) return 0;
  record->year = static_cast<int16_t>(year);
  record->month = static_cast<uint8_t>(month);
  record->day = static_cast<uint8_t>(day);
  record->hour = static_cast<uint8_t>(hour);
  record->minute = static_cast<uint8_t>(minute);
  record->second = static_cast<uint8_t>(second);
  record->milliseconds = static_cast<uint16_t>(ms);
  if (datePart && dateGiven && !HCtlValidDate(record, yearGiven, monthGiven, dayGiven)) return 0;
  return 1;
}

// --- keys -------------------------------------------------------------------

namespace {

// One element of the picture and the characters of the text it covers.
struct Segment {
  char kind;    // 'F' digit field, 'N' name, 'S' separator or literal, ' ' space, 'A' am/pm
  bool oneLetter;  // 'd', 'm' or 'h' alone: one or two digits
  int width;    // characters of a full field
  int start;
  int length;
};

std::vector<Segment> segmentsOf(const char* text, const char* picture) {
  std::vector<Segment> segments;
  const int n = static_cast<int>(std::strlen(text));
  int at = 0;
  for (const char* p = picture; *p;) {
    Segment s{'S', false, 1, at, 0};
    const char c = HCtlLower(*p);
    if (isToken(c) && !(HCtlLetterRun(p, c) == 1 && (c == 's' || c == 'f' || c == 'y'))) {
      const int run = HCtlLetterRun(p, c);
      p += run;
      if (run >= 3 && (c == 'd' || c == 'm')) {
        s.kind = 'N';
        while (at + s.length < n && HCtlIsAlpha(text[at + s.length])) ++s.length;
      } else {
        s.kind = 'F';
        s.oneLetter = run == 1;
        s.width = run == 1 ? 2 : (c == 'f' ? 3 : run);
        while (s.length < s.width && at + s.length < n && (HCtlIsDigit(text[at + s.length]) || text[at + s.length] == ' '))
          ++s.length;
      }
    } else if (c == 'a' && HCtlLower(p[1]) == 'p') {
      s.kind = 'A';
      s.width = 2;
      p += 2;
      while (s.length < 2 && at + s.length < n && HCtlIsAlpha(text[at + s.length])) ++s.length;
    } else if (*p == '[') {
      const char* close = std::strchr(p, ']');
      p = close ? close + 1 : p + std::strlen(p);
      continue;
    } else {
      s.kind = *p == ' ' ? ' ' : 'S';
      p += (*p == '\\' && p[1]) ? 2 : 1;
      s.length = at < n ? 1 : 0;
    }
    at += s.length;
    segments.push_back(s);
  }
  return segments;
}

// The displayed character of a separator segment at the picture position.
char separatorChar(const char* picture, const std::vector<Segment>& segments, size_t index) {
  // Walk the picture again to the index-th segment.
  size_t i = 0;
  for (const char* p = picture; *p;) {
    const char c = HCtlLower(*p);
    int step = 1;
    if (isToken(c) && !(HCtlLetterRun(p, c) == 1 && (c == 's' || c == 'f' || c == 'y'))) step = HCtlLetterRun(p, c);
    else if (c == 'a' && HCtlLower(p[1]) == 'p') step = 2;
    else if (*p == '[') {
      const char* close = std::strchr(p, ']');
      p = close ? close + 1 : p + std::strlen(p);
      continue;
    } else if (*p == '\\' && p[1]) step = 2;
    if (i == index) {
      if (*p == '/') return HCtlIntlSettings().dateSep;
      if (*p == ':') return HCtlIntlSettings().timeSep;
      return *p == '\\' ? p[1] : *p;
    }
    ++i;
    p += step;
  }
  return ' ';
}

// A digit into the field segment at the caret; false when refused.
bool digitIntoField(char* text, int textSize, const Segment& s, int caret, char key, int& newCaret) {
  if (s.oneLetter && s.length == 1) {
    if (!HCtlInsertChar(text, textSize, caret, key)) return false;
  } else if (HCtlIsDigit(text[caret]) || text[caret] == ' ') {
    text[caret] = key;
  } else {
    return false;
  }
  newCaret = caret + 1;
  return true;
}

int segmentAt(const std::vector<Segment>& segments, int caret) {
  for (size_t i = 0; i < segments.size(); ++i)
    if (caret >= segments[i].start && caret < segments[i].start + segments[i].length) return static_cast<int>(i);
  return -1;
}

bool digitKey(char* text, int textSize, const char* picture, const std::vector<Segment>& segments, int caret,
              char key, int& newCaret) {
  const int n = static_cast<int>(std::strlen(text));
  const int index = segmentAt(segments, caret);
  if (index < 0) {
    if (caret != n) return false;
    // At the end: complete the field the text ends in, or open the next one
    // behind its separator.
    int last = -1;
    for (size_t i = 0; i < segments.size(); ++i)
      if (segments[i].length > 0) last = static_cast<int>(i);
    if (last >= 0 && segments[last].kind == 'F' && segments[last].length < segments[last].width &&
        segments[last].start + segments[last].length == n)
      return HCtlInsertChar(text, textSize, n, key) && (newCaret = n + 1, true);
    const size_t next = static_cast<size_t>(last + 1);
    if (next + 1 < segments.size() && (segments[next].kind == 'S' || segments[next].kind == ' ') &&
        segments[next + 1].kind == 'F' && n + 3 <= textSize) {
      text[n] = separatorChar(picture, segments, next);
      text[n + 1] = key;
      text[n + 2] = 0;
      newCaret = n + 2;
      return true;
    }
    if (next < segments.size() && segments[next].kind == 'F' && n == 0)
      return HCtlInsertChar(text, textSize, 0, key) && (newCaret = 1, true);
    return false;
  }
  const Segment& s = segments[index];
  if (s.kind == 'F') return digitIntoField(text, textSize, s, caret, key, newCaret);
  if (s.kind == 'S' || s.kind == ' ') {
    // Right behind a one-digit field the digit completes it.
    if (index > 0 && segments[index - 1].kind == 'F' && segments[index - 1].oneLetter &&
        segments[index - 1].length == 1)
      return HCtlInsertChar(text, textSize, caret, key) && (newCaret = caret + 1, true);
    // Otherwise it goes to the place behind the separator.
    if (static_cast<size_t>(index + 1) < segments.size() && segments[index + 1].kind == 'F' &&
        segments[index + 1].length > 0)
      return digitIntoField(text, textSize, segments[index + 1], caret + 1, key, newCaret);
    return false;
  }
  return false;
}

}  // namespace

int HCtlDateKey(char* text, int textSize, const char* picture, int datePart, int timePart, int caret, char key,
                int* newCaret, int* count) {
  if (!text || caret < 0 || caret > static_cast<int>(std::strlen(text))) return 1;
  char effective[kPictureSize];
  HCtlBuildPicture(picture, datePart, timePart, effective, sizeof effective);
  const std::vector<Segment> segments = segmentsOf(text, effective);
  const int n = static_cast<int>(std::strlen(text));
  int moved = caret;
  bool accepted = false;
  if (HCtlIsDigit(key)) {
    accepted = digitKey(text, textSize, effective, segments, caret, key, moved);
  } else if (key == ' ') {
    const int index = segmentAt(segments, caret);
    if (index >= 0) {
      const Segment& s = segments[index];
      if (s.kind == 'F' && s.oneLetter) {
        std::memmove(text + caret, text + caret + 1, n - caret);
      } else if (s.kind == 'F') {
        text[caret] = ' ';
        moved = caret + 1;
      } else {
        moved = caret + 1;  // separators stay; the caret steps over them
      }
      accepted = true;
    }
  } else if (key == 'a' || key == 'A' || key == 'p' || key == 'P') {
    const int index = segmentAt(segments, caret);
    if (index >= 0 && segments[index].kind == 'A' && segments[index].start == caret) {
      text[caret] = key;
      moved = caret + 1;
      accepted = true;
    }
  } else if (std::ispunct(static_cast<unsigned char>(key))) {
    for (int i = caret; i < n; ++i)
      if (std::ispunct(static_cast<unsigned char>(text[i]))) {
        moved = i + 1;
        accepted = true;
        break;
      }
  }
  if (!accepted) return 1;
  if (newCaret) *newCaret = moved;
  if (count) *count = moved > caret ? moved - caret : 0;
  return 0;
}
