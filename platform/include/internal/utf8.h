// One UTF-16 code unit appended as UTF-8: the layer hands text to cairo,
// fontconfig and the script engine in UTF-8. Units of the basic plane only,
// as the callers pass characters converted from ANSI code pages.
#pragma once
#include <string>

namespace win32 {

inline void appendUtf8(std::string& utf8, char16_t u) {
  if (u < 0x80) {
    utf8 += static_cast<char>(u);
  } else if (u < 0x800) {
    utf8 += static_cast<char>(0xC0 | (u >> 6));
    utf8 += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    utf8 += static_cast<char>(0xE0 | (u >> 12));
    utf8 += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    utf8 += static_cast<char>(0x80 | (u & 0x3F));
  }
}

}  // namespace win32
