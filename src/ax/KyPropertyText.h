// Text forms of single property values whose kind the type information
// gives: colours, booleans and fonts. Each function answers false for a
// text it refuses, leaving its output untouched.
#pragma once

#include <afx.h>

namespace ax {

// A colour as read from the control (its value in decimal text, signed or
// not) into the stored form "0x%8.8X": system colour 5 reads 0x80000005.
bool ColorTextFromControl(const char* text, CString& out);
// The stored form of a colour value: "0x" and eight hexadecimal digits.
CString ColorText(DWORD color);
// The value of a stored colour (below); false when refused.
bool ColorValue(const char* text, DWORD* color);
// A stored colour (hexadecimal with "0x", octal with a leading "0", else
// decimal) into the decimal text the control is given. Refused: no number,
// trailing characters, or a value beyond 32 bits.
bool ColorTextToControl(const char* text, CString& out);

// Booleans: the number in the text (0 for words such as "True") decides;
// read from the control as "1"/"0", given to it as "-1"/"0".
CString BooleanTextFromControl(const char* text);
CString BooleanTextToControl(const char* text);

// The font form "<style> <size> '<face>'", e.g. "BoldItalic 8 'MS Sans Serif'".
struct FontText {
  bool bold = false;
  bool italic = false;
  bool strikethrough = false;
  bool underline = false;
  CString size;  // as written: "8", "9.75"
  CString face;
};
// Face names longer than this are refused.
constexpr int kMaxFaceName = 34;
CString ComposeFontText(const FontText& font);
// The style word sets each attribute its lower-cased text contains (so
// "Regular" clears all four). Refused: a missing part, a style word over
// 64 or a size over 16 characters, a face name over kMaxFaceName.
bool ParseFontText(const char* text, FontText& out);

}  // namespace ax
