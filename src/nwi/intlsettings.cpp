// International settings from WIN.INI "intl" and their setters.
#include "intlsettings.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

constexpr const char* kSection = "intl";

HCtlIntl defaults() {
  HCtlIntl s{};
  std::memcpy(s.language, "enu", 4);
  s.country = 1;
  s.thousandsSep = ',';
  s.decimalSep = '.';
  s.dateSep = '/';
  s.timeSep = ':';
  std::memcpy(s.datePicture, "mm/dd/yyyy", 11);
  std::memcpy(s.timePicture, "h:mm:ss ap", 11);
  std::memcpy(s.morning, "AM", 3);
  std::memcpy(s.afternoon, "PM", 3);
  std::memcpy(s.currency, "$", 2);
  return s;
}

HCtlIntl settings = defaults();
// What HCtlIntlSettings answers: this library's copy unless a scope of
// another library's is open.
const HCtlIntl* current = &settings;

struct CharSetOfLanguage {
  std::string_view language;
  int charSet;
};

// Font character sets by language code (GB2312, BIG5, East Europe, Greek,
// Shift-JIS, Hangul, Russian, Turkish); any other language is ANSI (0).
constexpr CharSetOfLanguage kCharSets[] = {
    {"chs", 134}, {"cht", 136}, {"csy", 238}, {"hun", 238}, {"plk", 238}, {"sky", 238},
    {"ell", 161}, {"jpn", 128}, {"kor", 129}, {"rus", 204}, {"trk", 162},
};

int charSetOf(std::string_view language) {
  for (const auto& entry : kCharSets)
    if (entry.language == language) return entry.charSet;
  return 0;
}

void lowerInPlace(char* text) {
  for (; *text; ++text) *text = static_cast<char>(std::tolower(static_cast<unsigned char>(*text)));
}

// One separator character; an empty profile value keeps the default instead
// of leaving a NUL that would end every formatted text at the separator.
DWORD readSeparator(const char* key, char fallback, char* target) {
  char buffer[2] = {};
  const char defaultText[2] = {fallback, 0};
  const DWORD length = GetProfileStringA(kSection, key, defaultText, buffer, sizeof buffer);
  *target = buffer[0] ? buffer[0] : fallback;
  return length;
}

bool acceptableSeparator(char separator) {
  const int c = static_cast<signed char>(separator);
  if (c <= 0) return false;  // NUL, and 128 and above as a signed char
  return !std::isalpha(c) && !std::isdigit(c);
}


bool hasLetter(const char* picture, char letter) {
  for (; *picture; ++picture)
    if (std::tolower(static_cast<unsigned char>(*picture)) == letter) return true;
  return false;
}

}  // namespace

int HCtlSetIntlSeparator(char separator, char* target) {
  if (!target || !acceptableSeparator(separator)) return 0;
  *target = separator;
  return 1;
}

int HCtlSetIntlPicture(const char* picture, const char* required, char (&target)[16]) {
  if (!picture) return 0;
  for (const char* letter = required; *letter; ++letter)
    if (!hasLetter(picture, *letter)) return 0;
  char copy[16];
  std::strncpy(copy, picture, sizeof copy - 1);
  copy[sizeof copy - 1] = 0;
  lowerInPlace(copy);
  std::memcpy(target, copy, sizeof copy);
  return 1;
}

const HCtlIntl& HCtlIntlSettings() { return *current; }
HCtlIntl HCtlIntlDefaults() { return defaults(); }

HCtlIntlScope::HCtlIntlScope(const HCtlIntl& settings) : previous_(current) { current = &settings; }
HCtlIntlScope::~HCtlIntlScope() { current = previous_; }

DWORD HCtlReadIntl(HCtlIntl* target) {
  const HCtlIntl fallback = defaults();
  HCtlIntl s = fallback;

  GetProfileStringA(kSection, "sLanguage", fallback.language, s.language, sizeof s.language);
  lowerInPlace(s.language);
  s.charSet = charSetOf(s.language);
  s.country = static_cast<int>(GetProfileIntA(kSection, "iCountry", fallback.country));
  readSeparator("sThousand", fallback.thousandsSep, &s.thousandsSep);
  readSeparator("sDecimal", fallback.decimalSep, &s.decimalSep);
  readSeparator("sDate", fallback.dateSep, &s.dateSep);

  GetProfileStringA(kSection, "sShortDate", fallback.datePicture, s.datePicture, sizeof s.datePicture);
  if (!s.datePicture[0]) std::memcpy(s.datePicture, fallback.datePicture, sizeof s.datePicture);
  lowerInPlace(s.datePicture);
  // '/' in a picture always means the date separator. A letter or digit as
  // separator would turn picture letters into separators: left alone.
  if (acceptableSeparator(s.dateSep))
    for (char* c = s.datePicture; *c; ++c)
      if (*c == s.dateSep) *c = '/';

  readSeparator("sTime", fallback.timeSep, &s.timeSep);
  s.hourLeadingZero = static_cast<int>(GetProfileIntA(kSection, "iTLZero", 0));
  const int clock24 = static_cast<int>(GetProfileIntA(kSection, "iTime", 0));
  std::snprintf(s.timePicture, sizeof s.timePicture, "%s%s", s.hourLeadingZero ? "hh:mm:ss" : "h:mm:ss",
                clock24 == 0 ? " ap" : "");

  GetProfileStringA(kSection, "s1159", fallback.morning, s.morning, sizeof s.morning);
  GetProfileStringA(kSection, "s2359", fallback.afternoon, s.afternoon, sizeof s.afternoon);
  const DWORD last = GetProfileStringA(kSection, "sCurrency", fallback.currency, s.currency, sizeof s.currency);
  if (target) *target = s;
  return last;
}

extern "C" DWORD WINAPI GetIntlSettings(void) { return HCtlReadIntl(&settings); }

extern "C" int WINAPI SetThousandsSep(char separator) { return HCtlSetIntlSeparator(separator, &settings.thousandsSep); }
extern "C" int WINAPI SetDecimalSep(char separator) { return HCtlSetIntlSeparator(separator, &settings.decimalSep); }
extern "C" int WINAPI SetDateSep(char separator) { return HCtlSetIntlSeparator(separator, &settings.dateSep); }
extern "C" int WINAPI SetTimeSep(char separator) { return HCtlSetIntlSeparator(separator, &settings.timeSep); }
extern "C" int WINAPI SetDefDateFormat(const char* picture) {
  return HCtlSetIntlPicture(picture, "dmy", settings.datePicture);
}
extern "C" int WINAPI SetDefTimeFormat(const char* picture) {
  return HCtlSetIntlPicture(picture, "hm", settings.timePicture);
}
