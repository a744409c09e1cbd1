// The escaped-token text codec. Texts that hold lists or line breaks (tab
// captions, button captions, static texts, list items) use '\' as escape,
// '^' for a line break and ';' or ':' as separators.
#pragma once

#include <windows.h>

// Size of the library's token buffer: tokens of up to 255 characters.
inline constexpr int kHCtlTokenBuffer = 256;

// Copies the next token of `text` into the library's token buffer and
// answers it: the special character becomes the replacement (dropped when
// the replacement is 0), the escape character makes the next one literal (an
// escape at the end stops), the delimiter ends the token, DBCS pairs are
// copied whole. *next (when given) receives where the next token begins:
// after the delimiter, or at the terminator. A longer token is cut at 255
// characters; *next still points past its delimiter. Usual forms:
// (text, 0, '\\', '^', '\n') un-escapes a whole text; (text, ';', '\\', '^',
// '\n', &next) takes a ';' field.
LPSTR HCtlTakeToken(LPCSTR text, char delimiter, char escape, char special, char replacement, LPCSTR* next);

// The inverse into the same buffer: `replacement` becomes `special`, and
// `escape` and `special` get an `escape` in front.
LPSTR HCtlEscapeText(LPCSTR text, char escape, char special, char replacement);
