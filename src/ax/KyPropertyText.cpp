// Text forms of colour, boolean and font property values.
#include "KyPropertyText.h"

#include <cctype>
#include <charconv>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool onlySpaceFrom(const char* p) {
  while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
  return *p == '\0';
}

// A word of at most `limit` non-blank characters after blanks; false when
// there is none or it is longer.
bool readWord(const char*& p, int limit, CString& out) {
  while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
  const char* start = p;
  while (*p && !std::isspace(static_cast<unsigned char>(*p))) ++p;
  const int n = static_cast<int>(p - start);
  if (n == 0 || n > limit) return false;
  out = CString(start, n);
  return true;
}

}  // namespace

bool ax::ColorTextFromControl(const char* text, CString& out) {
  if (!text) return false;
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(text, &end, 10);
  if (end == text || errno || !onlySpaceFrom(end) || value < INT32_MIN || value > UINT32_MAX) return false;
  out = ColorText(static_cast<DWORD>(static_cast<uint32_t>(value)));
  return true;
}

CString ax::ColorText(DWORD color) {
  static const char digits[] = "0123456789ABCDEF";
  char text[10] = {'0', 'x'};
  for (int i = 0; i < 8; ++i) text[2 + i] = digits[(color >> (28 - 4 * i)) & 0xF];
  return CString(text, 10);
}

bool ax::ColorTextToControl(const char* text, CString& out) {
  DWORD color = 0;
  if (!ColorValue(text, &color)) return false;
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, color).ptr;
  out = CString(digits, static_cast<int>(end - digits));
  return true;
}

bool ax::ColorValue(const char* text, DWORD* color) {
  if (!text) return false;
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  if (*text == '-' || *text == '+') return false;  // a colour has no sign
  errno = 0;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text, &end, 0);
  if (end == text || errno || !onlySpaceFrom(end) || value > UINT32_MAX) return false;
  *color = static_cast<DWORD>(value);
  return true;
}

CString ax::BooleanTextFromControl(const char* text) { return std::atoi(text ? text : "") != 0 ? "1" : "0"; }

CString ax::BooleanTextToControl(const char* text) { return std::atoi(text ? text : "") != 0 ? "-1" : "0"; }

CString ax::ComposeFontText(const FontText& font) {
  CString style;
  if (font.bold) style += "Bold";
  if (font.italic) style += "Italic";
  if (font.strikethrough) style += "Strikethrough";
  if (font.underline) style += "Underline";
  if (style.IsEmpty()) style = "Regular";
  CString text;
  text.Format("%s %d '%s'", static_cast<const char*>(style), std::atoi(font.size), static_cast<const char*>(font.face));
  return text;
}

bool ax::ParseFontText(const char* text, FontText& out) {
  if (!text) return false;
  const char* p = text;
  CString style, size;
  if (!readWord(p, 64, style) || !readWord(p, 16, size)) return false;
  // One character (the opening quote) is skipped, then the face runs to the
  // next quote or the end.
  while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
  if (!*p) return false;
  ++p;
  const char* close = std::strchr(p, '\'');
  const int n = close ? static_cast<int>(close - p) : static_cast<int>(std::strlen(p));
  if (n == 0 || n > kMaxFaceName) return false;
  FontText font;
  font.face = CString(p, n);
  font.size = size;
  style.MakeLower();
  font.bold = style.Find("bold") >= 0;
  font.italic = style.Find("italic") >= 0;
  font.underline = style.Find("underline") >= 0;
  font.strikethrough = style.Find("strikethrough") >= 0;
  out = font;
  return true;
}
