// Locale ids, the user's locale and GetLocaleInfo. The layer knows five
// locales (en-US, en-GB, de-DE, fr-FR, ja-JP; their values come from
// locale_data.cpp). The user's and the system's locale are the one
// KY_LOCALE names, else en-US. User overrides are not read here; the
// run-time takes the user's settings from WIN.INI "intl" itself.
#include "locale_ids.h"

#include <internal/codepage.h>
#include <winbase.h>
#include <winnls.h>
#include <winnls.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace win32 {
namespace {

constexpr LCID kEnglishUS = 0x0409;

thread_local LCID threadLocale = 0;  // 0: the user's locale

bool isKnownConcrete(LCID locale) { return localeName(locale) != nullptr; }

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto fold = [](char c) { return c == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

// KY_LOCALE's value as a concrete id: a name ("de-DE", "de_DE", any case)
// or a hexadecimal id ("0407", "0x0407"); 0 when it names none we know.
LCID localeFromText(std::string_view text) {
  for (size_t i = 0; LCID id = knownLocale(i); ++i)
    if (equalIgnoringCase(text, localeName(id))) return id;
  std::string digits(text);
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) digits.erase(0, 2);
  if (digits.empty() || digits.size() > 8 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    return 0;
  const LCID id = static_cast<LCID>(std::strtoul(digits.c_str(), nullptr, 16));
  return id == LOCALE_USER_DEFAULT || id == LOCALE_SYSTEM_DEFAULT || id == LOCALE_NEUTRAL ? 0 : resolveLocale(id);
}

LCID readUserLocale() {
  const char* value = std::getenv("KY_LOCALE");
  if (!value || !*value) return kEnglishUS;
  if (const LCID id = localeFromText(value)) return id;
  std::fprintf(stderr, "KY_LOCALE: unknown locale \"%s\" (known: en-US, en-GB, de-DE, fr-FR, ja-JP); using en-US\n",
               value);
  return kEnglishUS;
}

}  // namespace

LCID userLocale() {
  static const LCID locale = readUserLocale();
  return locale;
}

LCID resolveLocale(LCID locale, bool orInvariant) {
  if (locale >> 16) return 0;  // a sort id other than the default
  const LANGID language = LANGIDFROMLCID(locale);
  switch (language) {
    case LANG_USER_DEFAULT:
    case LANG_SYSTEM_DEFAULT:
    case MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL): return userLocale();
    case MAKELANGID(LANG_INVARIANT, SUBLANG_NEUTRAL): return orInvariant ? kEnglishUS : 0;
    default: break;
  }
  if (isKnownConcrete(language)) return language;
  // A language without its country takes the country Windows gives it.
  if (SUBLANGID(language) == SUBLANG_NEUTRAL) {
    const LCID withDefault = MAKELANGID(PRIMARYLANGID(language), SUBLANG_DEFAULT);
    if (isKnownConcrete(withDefault)) return withDefault;
  }
  return 0;
}

UINT localeCodePage(LCID concrete, DWORD flags) {
  if (flags & LOCALE_USE_CP_ACP) return GetACP();
  const DWORD page = localeNumber(concrete, LOCALE_IDEFAULTANSICODEPAGE);
  return page ? page : GetACP();
}

int answerText(std::u16string_view text, WCHAR* buffer, int size) {
  const int count = static_cast<int>(text.size()) + 1;
  if (size == 0) return count;
  if (size < count) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(buffer, text.data(), text.size() * sizeof(WCHAR));
  buffer[text.size()] = 0;
  return count;
}

int answerText(std::string_view text, char* buffer, int size) {
  const int count = static_cast<int>(text.size()) + 1;
  if (size == 0) return count;
  if (size < count) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = 0;
  return count;
}

std::u16string localeTextToWide(LCID concrete, DWORD flags, const char* text) {
  return text ? ansiToWide(text, localeCodePage(concrete, flags)) : std::u16string();
}

int answerInCodePage(LCID concrete, DWORD flags, std::u16string_view text, char* buffer, int size) {
  return answerText(wideToAnsi(text, localeCodePage(concrete, flags)), buffer, size);
}

}  // namespace win32

using namespace win32;

namespace {

// The item a GetLocaleInfo call asks for, after checking the call; null
// after setting the last error.
const std::u16string* lookUp(LCID locale, LCTYPE type, bool bufferMissing, int size, LCID& concrete,
                             bool& asNumber) {
  constexpr LCTYPE kModifiers = LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP | LOCALE_RETURN_NUMBER;
  if (size < 0 || (size && bufferMissing) || !(concrete = resolveLocale(locale))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  asNumber = type & LOCALE_RETURN_NUMBER;
  const LCTYPE item = type & ~kModifiers;
  const std::u16string* value = localeItem(concrete, item);
  if (!value || (asNumber && !isNumericLocaleItem(item))) {
    SetLastError(ERROR_INVALID_FLAGS);
    return nullptr;
  }
  return value;
}

// A number answer fills a DWORD: 4 bytes in the 8-bit form, 2 units in the wide one.
template <class Char>
int answerNumber(DWORD number, Char* buffer, int size) {
  constexpr int count = sizeof number / sizeof(Char);
  if (size == 0) return count;
  if (size < count) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(buffer, &number, sizeof number);
  return count;
}

}  // namespace

extern "C" int WINAPI GetLocaleInfoA(LCID Locale, LCTYPE LCType, LPSTR lpLCData, int cchData) {
  LCID concrete = 0;
  bool asNumber = false;
  const std::u16string* value = lookUp(Locale, LCType, !lpLCData, cchData, concrete, asNumber);
  if (!value) return 0;
  if (asNumber) return answerNumber(localeNumber(concrete, LCType & 0xFFFF), lpLCData, cchData);
  return answerInCodePage(concrete, LCType, *value, lpLCData, cchData);
}

extern "C" int WINAPI GetLocaleInfoW(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData) {
  LCID concrete = 0;
  bool asNumber = false;
  const std::u16string* value = lookUp(Locale, LCType, !lpLCData, cchData, concrete, asNumber);
  if (!value) return 0;
  if (asNumber) return answerNumber(localeNumber(concrete, LCType & 0xFFFF), lpLCData, cchData);
  return answerText(*value, lpLCData, cchData);
}

extern "C" LCID WINAPI GetUserDefaultLCID(void) { return userLocale(); }
extern "C" LCID WINAPI GetSystemDefaultLCID(void) { return userLocale(); }
extern "C" LANGID WINAPI GetUserDefaultLangID(void) { return LANGIDFROMLCID(userLocale()); }
extern "C" LANGID WINAPI GetSystemDefaultLangID(void) { return LANGIDFROMLCID(userLocale()); }
extern "C" LCID WINAPI GetThreadLocale(void) { return threadLocale ? threadLocale : userLocale(); }

extern "C" BOOL WINAPI SetThreadLocale(LCID Locale) {
  const LCID concrete = resolveLocale(Locale);
  if (!concrete) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  threadLocale = concrete;
  return TRUE;
}

extern "C" BOOL WINAPI IsValidLocale(LCID Locale, DWORD dwFlags) {
  return (dwFlags == LCID_INSTALLED || dwFlags == LCID_SUPPORTED) && isKnownConcrete(Locale);
}

extern "C" BOOL WINAPI EnumSystemLocalesA(LOCALE_ENUMPROCA lpLocaleEnumProc, DWORD dwFlags) {
  if (!lpLocaleEnumProc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (dwFlags & ~static_cast<DWORD>(LCID_INSTALLED | LCID_SUPPORTED | LCID_ALTERNATE_SORTS)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return FALSE;
  }
  if (dwFlags & LCID_ALTERNATE_SORTS) return TRUE;  // the layer keeps no alternate sorts
  for (size_t i = 0; LCID id = knownLocale(i); ++i) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(id));  // as Windows passes it
    if (!lpLocaleEnumProc(text)) break;
  }
  return TRUE;
}
