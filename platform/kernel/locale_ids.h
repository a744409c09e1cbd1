// Locales inside kernel32: which ids the layer knows (locale.cpp) and the
// values of their items (locale_data.cpp). Formatting (locale_number.cpp,
// locale_datetime.cpp) and comparison (locale_collation.cpp) read them here.
#pragma once
#include <windef.h>

#include <string>
#include <string_view>

typedef DWORD LCTYPE;

namespace win32 {

// The concrete id (0x0409, 0x0809, 0x0407, 0x040C, 0x0411) that `locale`
// names: itself, the user or system default, the neutral id, or a language
// without its country (0x07 is de-DE). 0 when the layer does not know it.
// With `orInvariant` the invariant locale answers en-US (comparison and
// mapping treat it alike).
LCID resolveLocale(LCID locale, bool orInvariant = false);
inline bool isSupportedLocale(LCID locale, bool orInvariant = false) {
  return resolveLocale(locale, orInvariant) != 0;
}

// The user's locale: KY_LOCALE (a name such as "de-DE" or a hexadecimal
// id), else en-US; read once per process.
LCID userLocale();

// The value of an item (LOCALE_S..., LOCALE_I..., without modifier bits)
// of a concrete locale, or null when the layer does not keep that item.
const std::u16string* localeItem(LCID concrete, LCTYPE type);
// The number an "I" item holds (LOCALE_ILANGUAGE is hexadecimal).
DWORD localeNumber(LCID concrete, LCTYPE type);
bool isNumericLocaleItem(LCTYPE type);

// The ANSI code page through which the 8-bit functions pass the locale's
// texts: the locale's own, or the process's with LOCALE_USE_CP_ACP.
UINT localeCodePage(LCID concrete, DWORD flags);

// The locale's name ("de-DE") and the name ICU knows it by ("de_DE").
const char* localeName(LCID concrete);
const char* localeIcuName(LCID concrete);

// ICU's collation of a locale whose order is not Windows' default table
// ("ja"), or null.
const char* localeCollation(LCID concrete);

// Each concrete id the layer knows, in order; `index` past the end gives 0.
LCID knownLocale(size_t index);

// Copies `text` and its terminator into a caller's buffer of `size` units
// the way the NLS functions answer: a size of 0 asks for the count; a
// buffer too small fails with ERROR_INSUFFICIENT_BUFFER.
int answerText(std::u16string_view text, WCHAR* buffer, int size);
int answerText(std::string_view text, char* buffer, int size);

// The 8-bit forms of the formatting functions: texts in and out through
// localeCodePage(concrete, flags).
std::u16string localeTextToWide(LCID concrete, DWORD flags, const char* text);
int answerInCodePage(LCID concrete, DWORD flags, std::u16string_view text, char* buffer, int size);

// Checks the output buffer of an NLS call (a negative size, or a buffer
// missing for a size above 0, is ERROR_INVALID_PARAMETER).
inline bool isValidOutput(const void* buffer, int size) { return size >= 0 && (size == 0 || buffer); }

}  // namespace win32
