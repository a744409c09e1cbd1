// International settings of the control library: separators and default
// pictures that every formatting of values uses. Read from the section
// "intl" of WIN.INI by GetIntlSettings (RavletsInit calls it once); the
// setters change single values afterwards. One copy per process, used from
// the user-interface thread without locks, as Windows' own intl cache.
#pragma once
#include <windows.h>

struct HCtlIntl {
  char language[16];      // "sLanguage", lower-cased, at most 15 characters
  int charSet;            // font character set chosen by the language
  int country;            // "iCountry"; 66 makes deletion ignore DBCS pairs
  char thousandsSep;      // never NUL: an empty profile value keeps ','
  char decimalSep;        // never NUL: keeps '.'
  char dateSep;           // never NUL: keeps '/'
  char timeSep;           // never NUL: keeps ':'
  char datePicture[16];   // lower-cased; '/' stands for the date separator
  int hourLeadingZero;    // "iTLZero"
  char timePicture[16];   // built: "h:mm:ss" / "hh:mm:ss", " ap" for 12 hours
  char morning[8];        // "s1159"
  char afternoon[8];      // "s2359"
  char currency[5];       // "sCurrency"
  // Not read from the profile: the native control library's copy sets it.
  // Day and month names under lower-case picture letters keep the case they
  // are stored in (this library's own rule lowers a month's initial there).
  int keepNameCase;
};

// The settings now in force. They hold the defaults of an empty profile
// until GetIntlSettings first runs, so that formatting before RavletsInit
// never meets NUL separators.
const HCtlIntl& HCtlIntlSettings();

// The settings of an empty profile.
HCtlIntl HCtlIntlDefaults();
// Reads the section "intl" into *s (what GetIntlSettings does for this
// library's own copy); the same answer as GetIntlSettings.
DWORD HCtlReadIntl(HCtlIntl* s);
// The setters' rules applied to a given copy: 1 when set, 0 and no change
// as the exports below say.
int HCtlSetIntlSeparator(char separator, char* target);
int HCtlSetIntlPicture(const char* picture, const char* required, char (&target)[16]);

// The native control library formats with this library's engine but keeps
// settings of its own: while a scope lives, HCtlIntlSettings answers the
// given copy instead of this library's (user-interface thread only, like
// the settings themselves; scopes nest).
class HCtlIntlScope {
 public:
  explicit HCtlIntlScope(const HCtlIntl& settings);
  ~HCtlIntlScope();
  HCtlIntlScope(const HCtlIntlScope&) = delete;
  HCtlIntlScope& operator=(const HCtlIntlScope&) = delete;

 private:
  const HCtlIntl* previous_;
};

extern "C" {
// Reads every setting again (overwriting what the setters changed); returns
// the length that the last GetProfileStringA answered (the currency symbol).
DWORD WINAPI GetIntlSettings(void);
// 1 when set; 0 and no change for a character that is NUL, 128 or above
// (negative as a signed char), a letter or a digit.
int WINAPI SetThousandsSep(char separator);
int WINAPI SetDecimalSep(char separator);
int WINAPI SetDateSep(char separator);
int WINAPI SetTimeSep(char separator);
// 1 when set; 0 and no change for no picture or one that lacks d, m or y
// (time: h or m). At most 15 characters are kept, lower-cased.
int WINAPI SetDefDateFormat(const char* picture);
int WINAPI SetDefTimeFormat(const char* picture);
}
