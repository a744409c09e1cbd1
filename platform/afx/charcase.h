// Case pairs of code page 1252, the ANSI code page of the layer: ASCII
// letters, the Latin-1 letters 0xC0-0xDE / 0xE0-0xFE (without the
// multiplication and division signs) and the four pairs that code page 1252
// puts in 0x80-0x9F. Characters without a pair map to themselves.
#pragma once

namespace afx {

unsigned char toUpper1252(unsigned char c);
unsigned char toLower1252(unsigned char c);

// _stricmp order: both texts folded to lower case, then compared as
// unsigned bytes. Null pointers compare as "".
int compareNoCase1252(const char* a, const char* b);

}  // namespace afx
