// Case of ANSI text for the string class, through the kernel's case table of
// the ANSI code page (one table for the whole layer). A double-byte
// character of a double-byte code page keeps both of its bytes: its trail
// byte is never taken for a letter of its own.
#pragma once

#include <cstddef>

namespace afx {

// Maps the case of `length` bytes in place.
void makeUpper(char* text, size_t length);
void makeLower(char* text, size_t length);

// _mbsicmp order: single-byte characters folded to lower case, a double-byte
// character taken whole (lead byte times 256 plus trail byte), compared as
// unsigned values; the answer is the difference of the first two that differ.
// Null pointers compare as "".
int compareNoCase(const char* a, const char* b);

}  // namespace afx
