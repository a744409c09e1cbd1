// GetDateFormat and GetTimeFormat: a SYSTEMTIME shown through a Windows
// picture ("dddd, d. MMMM yyyy", "h:mm:ss tt"), the caller's or the
// locale's. Text in single quotes is copied ('' is a quote); characters
// that are no field of the picture's kind are copied as they stand. One
// implementation in UTF-16 serves both forms; the 8-bit form passes its
// texts through the locale's code page.
#include "locale_ids.h"

#include <winbase.h>
#include <winnls.h>
#include <winnls.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace win32 {
namespace {

// A piece of a picture: a run of one field letter, or copied text (letter 0).
struct Token {
  char16_t letter = 0;
  size_t count = 0;
  std::u16string text;
};

std::vector<Token> tokenize(std::u16string_view picture, std::u16string_view fieldLetters) {
  std::vector<Token> tokens;
  auto addText = [&](std::u16string_view text) {
    if (tokens.empty() || tokens.back().letter) tokens.push_back({});
    tokens.back().text += text;
  };
  for (size_t i = 0; i < picture.size();) {
    const char16_t c = picture[i];
    if (c == u'\'') {
      ++i;
      if (i < picture.size() && picture[i] == u'\'') {  // '' outside quotes
        addText(u"'");
        ++i;
        continue;
      }
      std::u16string quoted;
      for (; i < picture.size(); ++i) {
        if (picture[i] != u'\'') {
          quoted += picture[i];
        } else if (i + 1 < picture.size() && picture[i + 1] == u'\'') {
          quoted += u'\'';
          ++i;
        } else {
          ++i;
          break;
        }
      }
      addText(quoted);  // an unclosed quote runs to the end
      continue;
    }
    if (fieldLetters.find(c) != std::u16string_view::npos) {
      size_t end = i;
      while (end < picture.size() && picture[end] == c) ++end;
      tokens.push_back({c, end - i, {}});
      i = end;
      continue;
    }
    addText(std::u16string_view(&picture[i], 1));
    ++i;
  }
  return tokens;
}

// Drops the fields `drop` selects with the text that joins each to the
// field before it (or, for a leading field, to the field after it):
// "h:mm:ss tt" without seconds is "h:mm tt", without the mark "h:mm:ss".
template <class Drop>
void dropFields(std::vector<Token>& tokens, Drop drop) {
  std::vector<Token> kept;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    if (!t.letter || !drop(t)) {
      kept.push_back(t);
      continue;
    }
    bool fieldBefore = false;
    for (const Token& k : kept) fieldBefore = fieldBefore || k.letter;
    if (fieldBefore) {
      while (!kept.empty() && !kept.back().letter) kept.pop_back();
    } else {
      while (i + 1 < tokens.size() && !tokens[i + 1].letter) ++i;
    }
  }
  tokens = std::move(kept);
}

std::u16string number(unsigned value, size_t width) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), u'0');
  return digits;
}

const std::u16string& item(LCID concrete, LCTYPE type) {
  static const std::u16string empty;
  const std::u16string* value = localeItem(concrete, type);
  return value ? *value : empty;
}

bool isLeapYear(unsigned year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

unsigned daysInMonth(unsigned year, unsigned month) {
  static constexpr unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// 0 = Sunday, as SYSTEMTIME counts.
unsigned dayOfWeek(unsigned year, unsigned month, unsigned day) {
  static constexpr unsigned kOffsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) --year;
  return (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + day) % 7;
}

// The range Windows' dates cover (FILETIME's years).
bool isValidDate(const SYSTEMTIME& t) {
  return t.wYear >= 1601 && t.wYear <= 30827 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 &&
         t.wDay <= daysInMonth(t.wYear, t.wMonth);
}

bool isValidTime(const SYSTEMTIME& t) {
  return t.wHour < 24 && t.wMinute < 60 && t.wSecond < 60 && t.wMilliseconds < 1000;
}

// The Gregorian era as Windows names it (the "g" field).
std::u16string eraName(LCID concrete) {
  switch (PRIMARYLANGID(concrete)) {
    case 0x07: return u"n. Chr.";
    case 0x0C: return u"ap. J.-C.";
    case 0x11: return u"\u897f\u66a6";
    default: return u"A.D.";
  }
}

std::u16string formatDate(LCID concrete, const SYSTEMTIME& t, std::u16string_view picture) {
  std::u16string out;
  const unsigned weekday = (dayOfWeek(t.wYear, t.wMonth, t.wDay) + 6) % 7;  // Windows' names start on Monday
  for (const Token& token : tokenize(picture, u"dMyg")) {
    switch (token.letter) {
      case 0: out += token.text; break;
      case u'd':
        if (token.count <= 2) out += number(t.wDay, token.count);
        else out += item(concrete, (token.count == 3 ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1) + weekday);
        break;
      case u'M':
        if (token.count <= 2) out += number(t.wMonth, token.count);
        else out += item(concrete, (token.count == 3 ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1) + t.wMonth - 1);
        break;
      case u'y':
        if (token.count <= 2) out += number(t.wYear % 100, token.count);
        else out += number(t.wYear, 4);
        break;
      case u'g': out += eraName(concrete); break;
    }
  }
  return out;
}

std::u16string formatTime(LCID concrete, const SYSTEMTIME& t, std::u16string_view picture, DWORD flags) {
  std::vector<Token> tokens = tokenize(picture, u"hHmst");
  if (flags & (TIME_NOMINUTESORSECONDS | TIME_NOSECONDS))
    dropFields(tokens, [&](const Token& k) {
      return k.letter == u's' || (k.letter == u'm' && (flags & TIME_NOMINUTESORSECONDS));
    });
  if (flags & TIME_NOTIMEMARKER) dropFields(tokens, [](const Token& k) { return k.letter == u't'; });
  const std::u16string& mark = item(concrete, t.wHour < 12 ? LOCALE_S1159 : LOCALE_S2359);
  std::u16string out;
  for (const Token& token : tokens) {
    const size_t width = std::min<size_t>(token.count, 2);
    switch (token.letter) {
      case 0: out += token.text; break;
      case u'h':
        if (flags & TIME_FORCE24HOURFORMAT) out += number(t.wHour, width);
        else out += number(t.wHour % 12 ? t.wHour % 12 : 12, width);
        break;
      case u'H': out += number(t.wHour, width); break;
      case u'm': out += number(t.wMinute, width); break;
      case u's': out += number(t.wSecond, width); break;
      case u't': out += width == 1 ? mark.substr(0, 1) : mark; break;
    }
  }
  return out;
}

// The time a call formats: the caller's, checked, or now; nullopt after
// setting the last error.
std::optional<SYSTEMTIME> takeTime(const SYSTEMTIME* given, bool valid(const SYSTEMTIME&)) {
  SYSTEMTIME t{};
  if (given) t = *given;
  else GetLocalTime(&t);
  if (!valid(t)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  return t;
}

constexpr DWORD kDatePictureFlags = DATE_SHORTDATE | DATE_LONGDATE | DATE_YEARMONTH;
constexpr DWORD kDateFlags = kDatePictureFlags | DATE_USE_ALT_CALENDAR | DATE_LTRREADING | DATE_RTLREADING |
                             LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP;
constexpr DWORD kTimeFlags = TIME_NOMINUTESORSECONDS | TIME_NOSECONDS | TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT |
                             LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP;

bool validDateFlags(DWORD flags, bool hasPicture) {
  const DWORD pictures = flags & kDatePictureFlags;
  if ((flags & ~kDateFlags) || (pictures & (pictures - 1))) return false;  // at most one picture
  if ((flags & DATE_LTRREADING) && (flags & DATE_RTLREADING)) return false;
  return !hasPicture || !(flags & (kDatePictureFlags | LOCALE_NOUSEROVERRIDE));
}

bool validTimeFlags(DWORD flags, bool hasPicture) {
  return !(flags & ~kTimeFlags) && !(hasPicture && (flags & LOCALE_NOUSEROVERRIDE));
}

LCTYPE datePictureItem(DWORD flags) {
  if (flags & DATE_LONGDATE) return LOCALE_SLONGDATE;
  if (flags & DATE_YEARMONTH) return LOCALE_SYEARMONTH;
  return LOCALE_SSHORTDATE;
}

// The whole date call in UTF-16; `picture` null takes the locale's.
std::optional<std::u16string> dateText(LCID locale, DWORD flags, const SYSTEMTIME* date,
                                       const std::u16string* picture, LCID& concrete) {
  if (!(concrete = resolveLocale(locale))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  if (!validDateFlags(flags, picture != nullptr)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return std::nullopt;
  }
  const std::optional<SYSTEMTIME> t = takeTime(date, isValidDate);
  if (!t) return std::nullopt;
  return formatDate(concrete, *t, picture ? *picture : item(concrete, datePictureItem(flags)));
}

std::optional<std::u16string> timeText(LCID locale, DWORD flags, const SYSTEMTIME* time,
                                       const std::u16string* picture, LCID& concrete) {
  if (!(concrete = resolveLocale(locale))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  if (!validTimeFlags(flags, picture != nullptr)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return std::nullopt;
  }
  const std::optional<SYSTEMTIME> t = takeTime(time, isValidTime);
  if (!t) return std::nullopt;
  return formatTime(concrete, *t, picture ? *picture : item(concrete, LOCALE_STIMEFORMAT), flags);
}

using TextFunction = std::optional<std::u16string> (*)(LCID, DWORD, const SYSTEMTIME*, const std::u16string*, LCID&);

int callWide(TextFunction text, LCID locale, DWORD flags, const SYSTEMTIME* t, LPCWSTR picture, LPWSTR out,
             int size) {
  if (!isValidOutput(out, size)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::u16string format = picture ? std::u16string(picture) : std::u16string();
  LCID concrete = 0;
  const auto result = text(locale, flags, t, picture ? &format : nullptr, concrete);
  return result ? answerText(*result, out, size) : 0;
}

int callAnsi(TextFunction text, LCID locale, DWORD flags, const SYSTEMTIME* t, LPCSTR picture, LPSTR out,
             int size) {
  if (!isValidOutput(out, size)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::u16string format = localeTextToWide(resolveLocale(locale), flags, picture);
  LCID concrete = 0;
  const auto result = text(locale, flags, t, picture ? &format : nullptr, concrete);
  return result ? answerInCodePage(concrete, flags, *result, out, size) : 0;
}

}  // namespace
}  // namespace win32

using namespace win32;

extern "C" int WINAPI GetDateFormatA(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpDate, LPCSTR lpFormat,
                                     LPSTR lpDateStr, int cchDate) {
  return callAnsi(dateText, Locale, dwFlags, lpDate, lpFormat, lpDateStr, cchDate);
}

extern "C" int WINAPI GetDateFormatW(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpDate, LPCWSTR lpFormat,
                                     LPWSTR lpDateStr, int cchDate) {
  return callWide(dateText, Locale, dwFlags, lpDate, lpFormat, lpDateStr, cchDate);
}

extern "C" int WINAPI GetTimeFormatA(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpTime, LPCSTR lpFormat,
                                     LPSTR lpTimeStr, int cchTime) {
  return callAnsi(timeText, Locale, dwFlags, lpTime, lpFormat, lpTimeStr, cchTime);
}

extern "C" int WINAPI GetTimeFormatW(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpTime, LPCWSTR lpFormat,
                                     LPWSTR lpTimeStr, int cchTime) {
  return callWide(timeText, Locale, dwFlags, lpTime, lpFormat, lpTimeStr, cchTime);
}
