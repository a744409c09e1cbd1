// Locale ids and locale data (GetLocaleInfo). The layer knows one locale,
// English (United States): every default id resolves to it and its values
// are Windows' values for en-US. User overrides are not read here; the
// run-time takes the user's settings from WIN.INI "intl" itself.
#include "locale_ids.h"

#include <internal/codepage.h>
#include <winbase.h>
#include <winnls.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

constexpr LCID kEnglishUS = 0x0409;

struct Item {
  LCTYPE type;
  const char* value;
};

// Sorted by type for the lookup; numeric items ("I" names) can also be
// answered as numbers (LOCALE_RETURN_NUMBER).
constexpr Item kEnglishUSItems[] = {
    {LOCALE_ILANGUAGE, "0409"},
    {LOCALE_SLANGUAGE, "English (United States)"},
    {LOCALE_SABBREVLANGNAME, "ENU"},
    {LOCALE_SNATIVELANGNAME, "English"},
    {LOCALE_ICOUNTRY, "1"},
    {LOCALE_SCOUNTRY, "United States"},
    {LOCALE_SABBREVCTRYNAME, "USA"},
    {LOCALE_SNATIVECTRYNAME, "United States"},
    {LOCALE_IDEFAULTLANGUAGE, "0409"},
    {LOCALE_IDEFAULTCOUNTRY, "1"},
    {LOCALE_IDEFAULTCODEPAGE, "437"},
    {LOCALE_SLIST, ","},
    {LOCALE_IMEASURE, "1"},
    {LOCALE_SDECIMAL, "."},
    {LOCALE_STHOUSAND, ","},
    {LOCALE_SGROUPING, "3;0"},
    {LOCALE_IDIGITS, "2"},
    {LOCALE_ILZERO, "1"},
    {LOCALE_SNATIVEDIGITS, "0123456789"},
    {LOCALE_SCURRENCY, "$"},
    {LOCALE_SINTLSYMBOL, "USD"},
    {LOCALE_SMONDECIMALSEP, "."},
    {LOCALE_SMONTHOUSANDSEP, ","},
    {LOCALE_SMONGROUPING, "3;0"},
    {LOCALE_ICURRDIGITS, "2"},
    {LOCALE_IINTLCURRDIGITS, "2"},
    {LOCALE_ICURRENCY, "0"},
    {LOCALE_INEGCURR, "0"},
    {LOCALE_SDATE, "/"},
    {LOCALE_STIME, ":"},
    {LOCALE_SSHORTDATE, "M/d/yyyy"},
    {LOCALE_SLONGDATE, "dddd, MMMM dd, yyyy"},
    {LOCALE_IDATE, "0"},
    {LOCALE_ILDATE, "0"},
    {LOCALE_ITIME, "0"},
    {LOCALE_ICENTURY, "1"},
    {LOCALE_ITLZERO, "0"},
    {LOCALE_IDAYLZERO, "0"},
    {LOCALE_IMONLZERO, "0"},
    {LOCALE_S1159, "AM"},
    {LOCALE_S2359, "PM"},
    {LOCALE_SDAYNAME1, "Monday"},
    {LOCALE_SDAYNAME2, "Tuesday"},
    {LOCALE_SDAYNAME3, "Wednesday"},
    {LOCALE_SDAYNAME4, "Thursday"},
    {LOCALE_SDAYNAME5, "Friday"},
    {LOCALE_SDAYNAME6, "Saturday"},
    {LOCALE_SDAYNAME7, "Sunday"},
    {LOCALE_SABBREVDAYNAME1, "Mon"},
    {LOCALE_SABBREVDAYNAME2, "Tue"},
    {LOCALE_SABBREVDAYNAME3, "Wed"},
    {LOCALE_SABBREVDAYNAME4, "Thu"},
    {LOCALE_SABBREVDAYNAME5, "Fri"},
    {LOCALE_SABBREVDAYNAME6, "Sat"},
    {LOCALE_SABBREVDAYNAME7, "Sun"},
    {LOCALE_SMONTHNAME1, "January"},
    {LOCALE_SMONTHNAME2, "February"},
    {LOCALE_SMONTHNAME3, "March"},
    {LOCALE_SMONTHNAME4, "April"},
    {LOCALE_SMONTHNAME5, "May"},
    {LOCALE_SMONTHNAME6, "June"},
    {LOCALE_SMONTHNAME7, "July"},
    {LOCALE_SMONTHNAME8, "August"},
    {LOCALE_SMONTHNAME9, "September"},
    {LOCALE_SMONTHNAME10, "October"},
    {LOCALE_SMONTHNAME11, "November"},
    {LOCALE_SMONTHNAME12, "December"},
    {LOCALE_SABBREVMONTHNAME1, "Jan"},
    {LOCALE_SABBREVMONTHNAME2, "Feb"},
    {LOCALE_SABBREVMONTHNAME3, "Mar"},
    {LOCALE_SABBREVMONTHNAME4, "Apr"},
    {LOCALE_SABBREVMONTHNAME5, "May"},
    {LOCALE_SABBREVMONTHNAME6, "Jun"},
    {LOCALE_SABBREVMONTHNAME7, "Jul"},
    {LOCALE_SABBREVMONTHNAME8, "Aug"},
    {LOCALE_SABBREVMONTHNAME9, "Sep"},
    {LOCALE_SABBREVMONTHNAME10, "Oct"},
    {LOCALE_SABBREVMONTHNAME11, "Nov"},
    {LOCALE_SABBREVMONTHNAME12, "Dec"},
    {LOCALE_SPOSITIVESIGN, ""},
    {LOCALE_SNEGATIVESIGN, "-"},
    {LOCALE_IPOSSIGNPOSN, "3"},
    {LOCALE_INEGSIGNPOSN, "0"},
    {LOCALE_IPOSSYMPRECEDES, "1"},
    {LOCALE_IPOSSEPBYSPACE, "0"},
    {LOCALE_INEGSYMPRECEDES, "1"},
    {LOCALE_INEGSEPBYSPACE, "0"},
    {LOCALE_SISO639LANGNAME, "en"},
    {LOCALE_SISO3166CTRYNAME, "US"},
    {LOCALE_SNAME, "en-US"},
    {LOCALE_SENGLANGUAGE, "English"},
    {LOCALE_SENGCOUNTRY, "United States"},
    {LOCALE_STIMEFORMAT, "h:mm:ss tt"},
    {LOCALE_IDEFAULTANSICODEPAGE, "1252"},
    {LOCALE_ITIMEMARKPOSN, "0"},
    {LOCALE_SYEARMONTH, "MMMM, yyyy"},
    {LOCALE_SENGCURRNAME, "US Dollar"},
    {LOCALE_SNATIVECURRNAME, "US Dollar"},
    {LOCALE_ICALENDARTYPE, "1"},
    {LOCALE_IPAPERSIZE, "1"},
    {LOCALE_IOPTIONALCALENDAR, "0"},
    {LOCALE_IFIRSTDAYOFWEEK, "6"},
    {LOCALE_IFIRSTWEEKOFYEAR, "0"},
    {LOCALE_SMONTHNAME13, ""},
    {LOCALE_SABBREVMONTHNAME13, ""},
    {LOCALE_INEGNUMBER, "1"},
    {LOCALE_IDEFAULTMACCODEPAGE, "10000"},
    {LOCALE_IDEFAULTEBCDICCODEPAGE, "037"},
};

constexpr bool sortedByType() {
  for (size_t i = 1; i < std::size(kEnglishUSItems); ++i)
    if (kEnglishUSItems[i - 1].type >= kEnglishUSItems[i].type) return false;
  return true;
}
static_assert(sortedByType());

thread_local LCID threadLocale = kEnglishUS;

const Item* findItem(LCTYPE type) {
  const auto* end = std::end(kEnglishUSItems);
  const auto* it = std::lower_bound(std::begin(kEnglishUSItems), end, type,
                                    [](const Item& item, LCTYPE t) { return item.type < t; });
  return it != end && it->type == type ? it : nullptr;
}

bool isNumericType(LCTYPE type) {
  switch (type) {
    case LOCALE_ILANGUAGE: case LOCALE_ICOUNTRY: case LOCALE_IDEFAULTLANGUAGE: case LOCALE_IDEFAULTCOUNTRY:
    case LOCALE_IDEFAULTCODEPAGE: case LOCALE_IMEASURE: case LOCALE_IDIGITS: case LOCALE_ILZERO:
    case LOCALE_ICURRDIGITS: case LOCALE_IINTLCURRDIGITS: case LOCALE_ICURRENCY: case LOCALE_INEGCURR:
    case LOCALE_IDATE: case LOCALE_ILDATE: case LOCALE_ITIME: case LOCALE_ICENTURY: case LOCALE_ITLZERO:
    case LOCALE_IDAYLZERO: case LOCALE_IMONLZERO: case LOCALE_IPOSSIGNPOSN: case LOCALE_INEGSIGNPOSN:
    case LOCALE_IPOSSYMPRECEDES: case LOCALE_IPOSSEPBYSPACE: case LOCALE_INEGSYMPRECEDES:
    case LOCALE_INEGSEPBYSPACE: case LOCALE_IDEFAULTANSICODEPAGE: case LOCALE_ITIMEMARKPOSN:
    case LOCALE_ICALENDARTYPE: case LOCALE_IPAPERSIZE: case LOCALE_IOPTIONALCALENDAR:
    case LOCALE_IFIRSTDAYOFWEEK: case LOCALE_IFIRSTWEEKOFYEAR: case LOCALE_INEGNUMBER:
    case LOCALE_IDEFAULTMACCODEPAGE: case LOCALE_IDEFAULTEBCDICCODEPAGE: return true;
    default: return false;
  }
}

// Looks the item up; answers it, or 0 after setting the last error.
const Item* lookUp(LCID locale, LCTYPE type, bool& asNumber) {
  constexpr LCTYPE kModifiers = LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP | LOCALE_RETURN_NUMBER;
  if (!win32::isSupportedLocale(locale)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  asNumber = type & LOCALE_RETURN_NUMBER;
  const Item* item = findItem(type & ~kModifiers);
  if (!item || (asNumber && !isNumericType(item->type))) {
    SetLastError(ERROR_INVALID_FLAGS);
    return nullptr;
  }
  return item;
}

// Copies `count` units of `value` (the terminator included) into the
// caller's buffer as GetLocaleInfo does: a size of 0 asks for the count.
template <class Char>
int answer(const Char* value, int count, Char* buffer, int size) {
  if (size == 0) return count;
  if (size < count) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(buffer, value, static_cast<size_t>(count) * sizeof(Char));
  return count;
}

}  // namespace

namespace win32 {

bool isSupportedLocale(LCID locale, bool orInvariant) {
  if (locale >> 16) return false;  // a sort id other than the default
  switch (LANGIDFROMLCID(locale)) {
    case kEnglishUS:
    case LANG_USER_DEFAULT:
    case LANG_SYSTEM_DEFAULT:
    case MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL):
    case MAKELANGID(LANG_ENGLISH, SUBLANG_NEUTRAL): return true;
    case MAKELANGID(LANG_INVARIANT, SUBLANG_NEUTRAL): return orInvariant;
    default: return false;
  }
}

}  // namespace win32

extern "C" int WINAPI GetLocaleInfoA(LCID Locale, LCTYPE LCType, LPSTR lpLCData, int cchData) {
  if (cchData < 0 || (cchData && !lpLCData)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  bool asNumber = false;
  const Item* item = lookUp(Locale, LCType, asNumber);
  if (!item) return 0;
  if (asNumber) {
    // The number fills a DWORD: 4 bytes in the 8-bit form.
    const DWORD number = static_cast<DWORD>(std::strtoul(item->value, nullptr, 10));
    return answer(reinterpret_cast<const char*>(&number), sizeof number, lpLCData, cchData);
  }
  return answer(item->value, static_cast<int>(std::strlen(item->value)) + 1, lpLCData, cchData);
}

extern "C" int WINAPI GetLocaleInfoW(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData) {
  if (cchData < 0 || (cchData && !lpLCData)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  bool asNumber = false;
  const Item* item = lookUp(Locale, LCType, asNumber);
  if (!item) return 0;
  if (asNumber) {
    const DWORD number = static_cast<DWORD>(std::strtoul(item->value, nullptr, 10));
    return answer(reinterpret_cast<const WCHAR*>(&number), sizeof number / sizeof(WCHAR), lpLCData, cchData);
  }
  // The en-US values are ASCII: every code page reads them alike.
  const std::u16string text = win32::ansiToWide(std::string_view(item->value, std::strlen(item->value) + 1), 1252);
  return answer(text.data(), static_cast<int>(text.size()), lpLCData, cchData);
}

extern "C" LCID WINAPI GetUserDefaultLCID(void) { return kEnglishUS; }
extern "C" LCID WINAPI GetSystemDefaultLCID(void) { return kEnglishUS; }
extern "C" LANGID WINAPI GetUserDefaultLangID(void) { return LANGIDFROMLCID(kEnglishUS); }
extern "C" LANGID WINAPI GetSystemDefaultLangID(void) { return LANGIDFROMLCID(kEnglishUS); }
extern "C" LCID WINAPI GetThreadLocale(void) { return threadLocale; }

extern "C" BOOL WINAPI SetThreadLocale(LCID Locale) {
  if (!win32::isSupportedLocale(Locale)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  threadLocale = kEnglishUS;
  return TRUE;
}

extern "C" BOOL WINAPI IsValidLocale(LCID Locale, DWORD dwFlags) {
  return (dwFlags == LCID_INSTALLED || dwFlags == LCID_SUPPORTED) && LANGIDFROMLCID(Locale) == kEnglishUS &&
         !(Locale >> 16);
}
