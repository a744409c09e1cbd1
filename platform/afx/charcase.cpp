// Case of ANSI text for the string class (see charcase.h).
#include "charcase.h"

#include <internal/codepage.h>

namespace afx {
namespace {

// The character at `p` as one value, and `p` moved past it.
unsigned nextCharacter(const unsigned char*& p) {
  const unsigned c = *p++;
  if (win32::isAnsiLeadByte(static_cast<unsigned char>(c)) && *p) return c << 8 | *p++;
  return win32::ansiToLower(static_cast<unsigned char>(c));
}

}  // namespace

void makeUpper(char* text, size_t length) { win32::mapAnsiCase(text, length, true); }
void makeLower(char* text, size_t length) { win32::mapAnsiCase(text, length, false); }

int compareNoCase(const char* a, const char* b) {
  const auto* p = reinterpret_cast<const unsigned char*>(a ? a : "");
  const auto* q = reinterpret_cast<const unsigned char*>(b ? b : "");
  for (;;) {
    const unsigned c = nextCharacter(p), d = nextCharacter(q);
    if (c != d) return static_cast<int>(c) - static_cast<int>(d);
    if (c == 0) return 0;
  }
}

}  // namespace afx
