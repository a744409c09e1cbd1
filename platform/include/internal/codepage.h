// Code-page conversions and character properties for the layer's own code
// (kernel32 exports them; user32, the resources, the string class and COM
// use them instead of converting on their own).
//
// Conversions behave as MultiByteToWideChar / WideCharToMultiByte without
// flags: an invalid byte sequence becomes the code page's Unicode default
// character; a character the code page lacks becomes its look-alike (best
// fit, unicodeBestFit) or else the default character ('?'). WCHAR text is
// char16_t, never wchar_t.
#pragma once

#include <string>
#include <string_view>

#include "../windef.h"

namespace win32 {

// CP_ACP (0) and the other symbolic pages resolve to the process's pages.
std::u16string ansiToWide(std::string_view text, UINT codePage = 0);
std::string wideToAnsi(std::u16string_view text, UINT codePage = 0);

// The concrete page behind CP_ACP, CP_OEMCP, CP_THREAD_ACP; others as given.
UINT resolveCodePage(UINT codePage);

// Lead byte of a double-byte character in the ANSI code page (IsDBCSLeadByte).
bool isAnsiLeadByte(unsigned char c);
// Length in bytes (1 or 2) of the character at `p` in the ANSI code page;
// a lead byte before the terminator counts 1.
size_t ansiCharLength(const char* p);
// Whether the ANSI code page has double-byte characters (932, 936, 949, 950).
bool isAnsiDoubleByte();
// Length in bytes of the character at `p` (`available` bytes there, at
// least 1) as MultiByteToWideChar reads a counted text: 2 for a lead byte
// followed by a trail byte (0x40 and above), else 1. Drawing and measuring
// text step through it this way.
size_t ansiCharLength(const char* p, size_t available);
// That character as UTF-16, without converting the whole text; bytes the
// page does not define read as its default character.
char16_t ansiCharAt(const char* p, size_t available, size_t& length);

// Properties of a single-byte character of the ANSI code page: CT_CTYPE1
// flags (C1_UPPER ...), and its case partners; a byte whose partner is not
// in the code page (or a lead byte) maps to itself.
WORD ansiCharType(unsigned char c);
unsigned char ansiToUpper(unsigned char c);
unsigned char ansiToLower(unsigned char c);
// Maps the case of `length` bytes of ANSI text in place with those
// partners (CharUpperBuffA, CString::MakeUpper ...): a double-byte
// character keeps both bytes, so a trail byte is never taken for a letter.
void mapAnsiCase(char* text, size_t length, bool upper);

// The same properties of a UTF-16 code unit (Latin, Greek, Cyrillic, the
// CJK ranges and the full-width forms; other letters are typed C1_DEFINED).
WORD unicodeCharType(char16_t c);
char16_t unicodeToUpper(char16_t c);
char16_t unicodeToLower(char16_t c);

// A Latin letter with an accent (or a ligature) as its plain letters: the
// lower-case base letter, a second letter for ligatures (æ: a, e; ß: s, s)
// or 0, and the accent (LatinAccent). False for other characters,
// plain letters included.
enum LatinAccent : unsigned char {
  kNoAccent, kAcute, kGrave, kCircumflex, kDiaeresis, kTilde, kRing, kCedilla, kStroke, kCaron, kHook,
  kMacron, kBreve, kOgonek, kDot, kDoubleAcute
};
struct LatinLetter {
  char base;
  char second;
  LatinAccent accent;
};
bool decomposeLatin(char16_t c, LatinLetter& letter);

// A look-alike for a character that a code page may lack, for the default
// conversion to bytes (Windows' "best fit"): accented Latin letters as
// their plain letter, full-width forms as ASCII, typographic dashes,
// quotes and spaces as ASCII ones. Answers `c` when it knows none.
char16_t unicodeBestFit(char16_t c);

}  // namespace win32
