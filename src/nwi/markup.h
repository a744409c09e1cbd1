// Colour tokens and the small text markup of statics: an optional colour
// prefix (text colour, then background colour, each in brackets and
// separated by ';') in front of the text. Buttons take the same colour
// tokens; the mask, number and date pictures skip bracketed prefixes.
#pragma once

#include <windows.h>

// Colour value meaning "not set" (the record's -1).
inline constexpr COLORREF kHCtlNoColor = 0xFFFFFFFFu;

// The colour of the text inside '[' and ']': a colour name (whole name,
// ignoring case: "red", "darkred", "lightgray" ...), or up to three decimal
// numbers for red, green and blue separated by any other characters (each
// clamped to 255, missing ones 0), which give a palette-relative colour.
// FALSE, with *color untouched, for anything else: an unknown name, no
// number, a number of more than 19 digits.
BOOL HCtlColorToken(LPCSTR token, int length, COLORREF* color);

// Result bits of HCtlParseMarkup.
enum { HCTL_MARKUP_TEXTCOLOR = 1, HCTL_MARKUP_BKCOLOR = 2 };

// Reads a definition: '\' makes a following ';' or '[' literal; bracketed
// runs are taken out of the text; the first one before the first ';' is the
// text colour, the first one of the field after it the background colour
// (only looked at when `bkColor` is given). `display` (of `displaySize`
// bytes, always terminated when non-zero) receives the text a static shows:
// what follows the second ';', or the first when there is only one, or the
// whole text. DBCS pairs are copied whole. Answers the HCTL_MARKUP_* bits of
// the colours found.
int HCtlParseMarkup(LPCSTR definition, COLORREF* textColor, COLORREF* bkColor, LPSTR display, int displaySize);

// Up to two leading "[colour]" tokens of a picture text: the first sets
// *first, the second *second. Answers the text after them; a token that is
// no colour stops the reading and stays in the text.
const char* HCtlTakeColours(const char* text, COLORREF* first, COLORREF* second);

// The COLORREF to draw with: system colour values (high bit set) resolved
// with GetSysColor; kHCtlNoColor gives the system colour `fallback`.
COLORREF HCtlResolveColor(COLORREF value, int fallback);
