// ICU's collators inside kernel32 (locale_collator.cpp), for the locales
// whose order is not Windows' default table.
#pragma once
#include <windef.h>

#include <string>
#include <string_view>

namespace win32 {

// Whether the locale (a concrete id) compares through an ICU collator.
bool hasOwnCollator(LCID concrete);
// -1, 0 or 1 by the locale's collator, at every level ICU has.
int collatorCompare(LCID concrete, std::u16string_view a, std::u16string_view b);
// The text decomposed without its non-spacing marks (accents, the kana's
// voicing marks).
std::u16string withoutMarks(std::u16string_view text);

// The text with its compatibility forms (full-width Latin, half-width
// kana) as the ordinary ones.
std::u16string withoutWidth(std::u16string_view text);

}  // namespace win32
