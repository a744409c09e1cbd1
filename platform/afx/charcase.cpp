// Case of ANSI text for the string class (see charcase.h).
#include "charcase.h"

#include <internal/codepage.h>

namespace afx {
namespace {

void mapCase(char* text, size_t length, unsigned char (*map)(unsigned char)) {
  for (size_t i = 0; i < length; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (win32::isAnsiLeadByte(c) && i + 1 < length && text[i + 1]) {
      ++i;  // the trail byte stays as it is
      continue;
    }
    text[i] = static_cast<char>(map(c));
  }
}

// The character at `p` as one value, and `p` moved past it.
unsigned nextCharacter(const unsigned char*& p) {
  const unsigned c = *p++;
  if (win32::isAnsiLeadByte(static_cast<unsigned char>(c)) && *p) return c << 8 | *p++;
  return win32::ansiToLower(static_cast<unsigned char>(c));
}

}  // namespace

void makeUpper(char* text, size_t length) { mapCase(text, length, win32::ansiToUpper); }
void makeLower(char* text, size_t length) { mapCase(text, length, win32::ansiToLower); }

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
