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
};

// The settings now in force. They hold the defaults of an empty profile
// until GetIntlSettings first runs, so that formatting before RavletsInit
// never meets NUL separators.
const HCtlIntl& HCtlIntlSettings();

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
