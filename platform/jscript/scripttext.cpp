#include "scripttext.h"

#include <internal/utf8.h>

namespace jscript {

std::string toEngineText(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t unit : text) win32::appendUtf8(out, unit);
  return out;
}

std::u16string fromEngineText(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= text.size()) {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) valid = false;
      code = (code << 6) | (next & 0x3F);
    }
    if (!valid) {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    i += extra + 1;
    if (code > 0xFFFF) {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
  }
  return out;
}

}  // namespace jscript
