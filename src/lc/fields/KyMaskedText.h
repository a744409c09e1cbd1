// Masked text of fields: a field's value as an edit control shows it under
// an edit mask, formatted by the control library's FormatData with the type
// and storage letters that describe the field's value bytes.
#pragma once

#include "KyString.h"

#include "KyFieldsFwd.h"

// The value bytes under the mask through a 256-byte buffer: the text
// FormatData wrote, "" when it wrote nothing (an invalid value or pair).
CString KyFormatMasked(const void* pValue, char cType, char cStorage, const char* pszMask);
// A character field's text: type 'm' when the mask is not empty and does
// not start with a digit, else 's'; the buffer holds the whole text and
// mask, so masked texts are not limited to 256 bytes.
CString KyFormatMaskedChar(const char* pszText, const char* pszMask);

// Type and storage letters of a field class's value bytes.
struct KyMaskedLetters {
  char cType;
  char cStorage;
};
template <class Field>
constexpr KyMaskedLetters KyMaskedLettersOf();
template <> constexpr KyMaskedLetters KyMaskedLettersOf<KyByteFld>() { return {'n', 'b'}; }
template <> constexpr KyMaskedLetters KyMaskedLettersOf<KyIntFld>() { return {'n', 's'}; }
template <> constexpr KyMaskedLetters KyMaskedLettersOf<KyLongFld>() { return {'n', 'l'}; }
template <> constexpr KyMaskedLetters KyMaskedLettersOf<KyLLongFld>() { return {'n', 'M'}; }
template <> constexpr KyMaskedLetters KyMaskedLettersOf<KySglFld>() { return {'n', 'f'}; }
template <> constexpr KyMaskedLetters KyMaskedLettersOf<KyDblFld>() { return {'n', 'd'}; }
// The long double field keeps a 64-bit double.
template <> constexpr KyMaskedLetters KyMaskedLettersOf<KyLdblFld>() { return {'n', 'd'}; }
// ODBC date (year, month, day), time (hour, minute, second) and timestamp
// records are the 'd', 't' and 's' storage forms byte for byte.
template <> constexpr KyMaskedLetters KyMaskedLettersOf<KyDateFld>() { return {'d', 'd'}; }
template <> constexpr KyMaskedLetters KyMaskedLettersOf<KyTimeFld>() { return {'t', 't'}; }
template <> constexpr KyMaskedLetters KyMaskedLettersOf<KyTimeStampFld>() { return {'a', 's'}; }
