// Locale functions of winnls beyond winnls.h: number, currency, date and
// time formatting, and the enumeration of locales. They are kept in a
// header of their own so that adding them did not rebuild every user of
// windows.h; include it where they are used. The locales themselves
// (en-US, en-GB, de-DE, fr-FR, ja-JP; the user's from KY_LOCALE) are
// described in locale.cpp.
#pragma once
#include "winnls.h"

#define LCID_ALTERNATE_SORTS 0x00000004
typedef BOOL(CALLBACK* LOCALE_ENUMPROCA)(LPSTR);
// Passes each known id as eight hexadecimal digits ("00000407").
WINBASEAPI BOOL WINAPI EnumSystemLocalesA(LOCALE_ENUMPROCA lpLocaleEnumProc, DWORD dwFlags);

// --- numbers and currency (locale_number.cpp) --------------------------------
typedef struct _numberfmtA {
  UINT NumDigits;      // 0..9 fractional digits
  UINT LeadingZero;    // 0 or 1
  UINT Grouping;       // 0..9, or 32 for 3;2;0
  LPSTR lpDecimalSep;
  LPSTR lpThousandSep;
  UINT NegativeOrder;  // 0..4
} NUMBERFMTA, *LPNUMBERFMTA;
typedef struct _numberfmtW {
  UINT NumDigits;
  UINT LeadingZero;
  UINT Grouping;
  LPWSTR lpDecimalSep;
  LPWSTR lpThousandSep;
  UINT NegativeOrder;
} NUMBERFMTW, *LPNUMBERFMTW;
typedef struct _currencyfmtA {
  UINT NumDigits;
  UINT LeadingZero;
  UINT Grouping;
  LPSTR lpDecimalSep;
  LPSTR lpThousandSep;
  UINT NegativeOrder;  // 0..15
  UINT PositiveOrder;  // 0..3
  LPSTR lpCurrencySymbol;
} CURRENCYFMTA, *LPCURRENCYFMTA;
typedef struct _currencyfmtW {
  UINT NumDigits;
  UINT LeadingZero;
  UINT Grouping;
  LPWSTR lpDecimalSep;
  LPWSTR lpThousandSep;
  UINT NegativeOrder;
  UINT PositiveOrder;
  LPWSTR lpCurrencySymbol;
} CURRENCYFMTW, *LPCURRENCYFMTW;

// lpValue: an optional leading '-', digits, at most one '.'; rounded half
// away from zero. A null format takes the locale's values.
WINBASEAPI int WINAPI GetNumberFormatA(LCID Locale, DWORD dwFlags, LPCSTR lpValue, const NUMBERFMTA* lpFormat,
                                       LPSTR lpNumberStr, int cchNumber);
WINBASEAPI int WINAPI GetNumberFormatW(LCID Locale, DWORD dwFlags, LPCWSTR lpValue, const NUMBERFMTW* lpFormat,
                                       LPWSTR lpNumberStr, int cchNumber);
WINBASEAPI int WINAPI GetCurrencyFormatA(LCID Locale, DWORD dwFlags, LPCSTR lpValue, const CURRENCYFMTA* lpFormat,
                                         LPSTR lpCurrencyStr, int cchCurrency);
WINBASEAPI int WINAPI GetCurrencyFormatW(LCID Locale, DWORD dwFlags, LPCWSTR lpValue, const CURRENCYFMTW* lpFormat,
                                         LPWSTR lpCurrencyStr, int cchCurrency);

// --- dates and times (locale_datetime.cpp) ------------------------------------
#define DATE_SHORTDATE 0x00000001
#define DATE_LONGDATE 0x00000002
#define DATE_USE_ALT_CALENDAR 0x00000004
#define DATE_YEARMONTH 0x00000008
#define DATE_LTRREADING 0x00000010
#define DATE_RTLREADING 0x00000020
#define TIME_NOMINUTESORSECONDS 0x00000001
#define TIME_NOSECONDS 0x00000002
#define TIME_NOTIMEMARKER 0x00000004
#define TIME_FORCE24HOURFORMAT 0x00000008

// A null SYSTEMTIME formats the local time now; a null picture takes the
// locale's (LOCALE_SSHORTDATE, LOCALE_SLONGDATE, LOCALE_SYEARMONTH,
// LOCALE_STIMEFORMAT). The day of the week is computed, not read.
WINBASEAPI int WINAPI GetDateFormatA(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpDate, LPCSTR lpFormat,
                                     LPSTR lpDateStr, int cchDate);
WINBASEAPI int WINAPI GetDateFormatW(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpDate, LPCWSTR lpFormat,
                                     LPWSTR lpDateStr, int cchDate);
WINBASEAPI int WINAPI GetTimeFormatA(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpTime, LPCSTR lpFormat,
                                     LPSTR lpTimeStr, int cchTime);
WINBASEAPI int WINAPI GetTimeFormatW(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpTime, LPCWSTR lpFormat,
                                     LPWSTR lpTimeStr, int cchTime);
