// Colour tokens and the markup of static texts (see markup.h).
#include "markup.h"

#include <cctype>
#include <cstring>
#include <string>

#include "kymessages.h"
#include "library.h"

namespace {

struct NamedColor {
  const char* name;
  COLORREF color;
};

// Whole names only. Matching by length and first letter, as the first
// controls did, made "darkred" dark green and any seven-letter word
// beginning with 'd' a colour; the short "dk"/"lt" spellings are kept.
const NamedColor kNames[] = {
    {"red", 0x000000FF},       {"blue", 0x00FF0000},      {"cyan", 0x00FFFF00},      {"darkcyan", 0x00808000},
    {"dkcyan", 0x00808000},    {"gray", 0x00808080},      {"grey", 0x00808080},      {"black", 0x00000000},
    {"darkred", 0x00000080},   {"dkred", 0x00000080},     {"green", 0x0000FF00},     {"lightgray", 0x00C0C0C0},
    {"lightgrey", 0x00C0C0C0}, {"ltgray", 0x00C0C0C0},    {"ltgrey", 0x00C0C0C0},    {"olive", 0x00008080},
    {"white", 0x00FFFFFF},     {"darkblue", 0x00800000},  {"dkblue", 0x00800000},    {"purple", 0x00800080},
    {"yellow", 0x0000FFFF},    {"darkgreen", 0x00008000}, {"dkgreen", 0x00008000},   {"magenta", 0x00FF00FF},
};

constexpr int kMaxDigits = 19;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool nameColor(const char* text, int length, COLORREF* color) {
  for (const NamedColor& entry : kNames) {
    if (static_cast<int>(std::strlen(entry.name)) != length) continue;
    bool same = true;
    for (int i = 0; i < length && same; ++i)
      same = std::tolower(static_cast<unsigned char>(text[i])) == entry.name[i];
    if (same) {
      *color = entry.color;
      return true;
    }
  }
  return false;
}

bool numberColor(const char* text, int length, COLORREF* color) {
  int parts[3] = {0, 0, 0};
  int found = 0;
  int i = 0;
  while (i < length && found < 3) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
      ++i;
      continue;
    }
    int digits = 0;
    unsigned long long value = 0;
    for (; i < length && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
      if (++digits > kMaxDigits) return false;
      if (value <= 255) value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    parts[found++] = value > 255 ? 255 : static_cast<int>(value);  // clamped: 300 is full intensity, not 44
  }
  if (found == 0) return false;
  *color = HCTL_PALETTERGB | RGB(parts[0], parts[1], parts[2]);
  return true;
}

}  // namespace

BOOL HCtlColorToken(LPCSTR token, int length, COLORREF* color) {
  if (token == nullptr || color == nullptr || length <= 0) return FALSE;
  while (length > 0 && isBlank(*token)) ++token, --length;
  while (length > 0 && isBlank(token[length - 1])) --length;
  if (length == 0) return FALSE;
  if (std::isalpha(static_cast<unsigned char>(*token))) return nameColor(token, length, color);
  return numberColor(token, length, color);
}

int HCtlParseMarkup(LPCSTR definition, COLORREF* textColor, COLORREF* bkColor, LPSTR display, int displaySize) {
  // The remaining text (brackets taken out, escapes of ';' and '[' resolved)
  // with the positions of its first two unescaped separators.
  std::string rest;
  size_t separators[2] = {std::string::npos, std::string::npos};
  int separatorCount = 0;
  int found = 0;
  bool fieldHadBracket[2] = {false, false};
  bool unclosed = false;
  const char* p = definition ? definition : "";
  while (*p != '\0') {
    const char c = *p;
    if (HCtlIsLeadByte(c) && p[1] != '\0') {
      rest.append(p, 2);
      p += 2;
      continue;
    }
    if (c == '\\' && (p[1] == ';' || p[1] == '[')) {
      rest.push_back(p[1]);
      p += 2;
      continue;
    }
    if (c == ';') {
      if (separatorCount < 2) separators[separatorCount] = rest.size();
      ++separatorCount;
      rest.push_back(c);
      ++p;
      continue;
    }
    if (c == '[' && !unclosed) {
      const char* close = std::strchr(p + 1, ']');
      unclosed = close == nullptr;  // then no later '[' has an end either
      if (close == nullptr) {  // an open bracket without its end is text
        rest.push_back(c);
        ++p;
        continue;
      }
      const int field = separatorCount;
      if (field < 2 && !fieldHadBracket[field]) {
        fieldHadBracket[field] = true;
        const int length = static_cast<int>(close - p - 1);
        COLORREF color = 0;
        if (field == 0 && textColor != nullptr && HCtlColorToken(p + 1, length, &color)) {
          *textColor = color;
          found |= HCTL_MARKUP_TEXTCOLOR;
        } else if (field == 1 && bkColor != nullptr && HCtlColorToken(p + 1, length, &color)) {
          *bkColor = color;
          found |= HCTL_MARKUP_BKCOLOR;
        }
      }
      p = close + 1;
      continue;
    }
    rest.push_back(c);
    ++p;
  }
  size_t start = 0;
  if (separatorCount >= 2)
    start = separators[1] + 1;
  else if (separatorCount == 1)
    start = separators[0] + 1;
  if (display != nullptr && displaySize > 0) {
    // As much as fits, never cutting a DBCS pair.
    int kept = 0;
    for (size_t i = start; i < rest.size();) {
      const int n = HCtlIsLeadByte(rest[i]) && i + 1 < rest.size() ? 2 : 1;
      if (kept + n > displaySize - 1) break;
      kept += n;
      i += static_cast<size_t>(n);
    }
    std::memcpy(display, rest.data() + start, static_cast<size_t>(kept));
    display[kept] = '\0';
  }
  return found;
}

COLORREF HCtlResolveColor(COLORREF value, int fallback) {
  if (value == kHCtlNoColor) return GetSysColor(fallback);
  if ((value & HCTL_SYSCOLOR) != 0) return GetSysColor(static_cast<int>(value & 0xFF));
  return value;
}

const char* HCtlTakeColours(const char* text, COLORREF* first, COLORREF* second) {
  const char* p = text ? text : "";
  for (int n = 0; n < 2 && *p == '['; ++n) {
    const char* close = std::strchr(p, ']');
    if (close == nullptr) break;
    COLORREF c;
    if (!HCtlColorToken(p + 1, static_cast<int>(close - p - 1), &c)) break;
    *(n == 0 ? first : second) = c;
    p = close + 1;
  }
  return p;
}
