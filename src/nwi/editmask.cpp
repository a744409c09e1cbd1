// Edit masks: formatting, stripping, keys and deletion.
#include "editmask.h"

#include <cctype>
#include <cstring>

#include "textbuffer.h"

namespace {

bool isLetter(unsigned char c) { return std::isalpha(c) || c >= 0xCA; }

// One position of a mask: a placeholder or a literal.
struct Element {
  char placeholder;  // 0 for a literal
  char literal;
};

bool accepts(char placeholder, char ch) {
  const auto c = static_cast<unsigned char>(ch);
  switch (placeholder) {
    case '@': return isLetter(c);
    case '#': return std::isdigit(c) != 0;
    case '!': return c < 0x80 && std::ispunct(c);
    case '&': return isLetter(c) || std::isdigit(c);
    case '*': return c >= 0x20 && c != 0x7F;
    default: return false;
  }
}

char blankOf(char placeholder) {
  switch (placeholder) {
    case '#': return '_';
    case '!': return '-';
    default: return ' ';
  }
}

// Reads the next element of the mask; returns false at its end.
bool nextElement(const char*& mask, Element& element) {
  for (;;) {
    if (!*mask) return false;
    if (*mask == '[') {  // a colour prefix occupies no position
      const char* close = std::strchr(mask, ']');
      mask = close ? close + 1 : mask + std::strlen(mask);
      continue;
    }
    break;
  }
  if (*mask == '\\' && mask[1]) {
    element = {0, mask[1]};
    mask += 2;
    return true;
  }
  const char c = *mask++;
  if (c == '@' || c == '#' || c == '!' || c == '&' || c == '*') element = {c, 0};
  else element = {0, c};
  return true;
}

int copyText(const char* text, char* out, int outSize) {
  const size_t count = strnlen(text, static_cast<size_t>(outSize - 1));
  std::memcpy(out, text, count);
  out[count] = 0;
  return static_cast<int>(count);
}

}  // namespace

int HCtlMaskFormat(const char* text, const char* mask, char* out, int outSize, int direction) {
  if (!text || !out || outSize < 1) return 0;
  if (!mask || !*mask) return copyText(text, out, outSize);
  HCtlTextWriter w{out, outSize - 1};
  const char* t = text;
  Element e;
  int result = -1;
  while (nextElement(mask, e)) {
    if (!e.placeholder) {
      // A letter or digit literal is the display's own; punctuation stands
      // in the text too and is consumed with it.
      const bool alnum = std::isalnum(static_cast<unsigned char>(e.literal)) != 0;
      if (direction == 0) w.put(e.literal);
      if (*t == e.literal && (direction == 1 || !alnum)) ++t;
      continue;
    }
    if (direction == 0) {
      while (*t && !accepts(e.placeholder, *t)) ++t;
      w.put(*t ? *t++ : blankOf(e.placeholder));
    } else if (!*t) {
      w.put(blankOf(e.placeholder));
    } else if (accepts(e.placeholder, *t)) {
      w.put(*t++);
    } else {
      result = w.length + 1;
      break;
    }
  }
  out[w.length] = 0;
  return result >= 0 ? result : w.length;
}

int HCtlMaskRestIsBlank(const char* text, const char* mask) {
  if (!text || !mask) return 1;
  const char* t = text;
  Element e;
  while (*t && nextElement(mask, e)) {
    if (!e.placeholder) {
      if (*t == e.literal) ++t;
      continue;
    }
    if (accepts(e.placeholder, *t) || *t == blankOf(e.placeholder)) ++t;
    else return 0;
  }
  return *t == 0;
}

int HCtlMaskKey(char* text, int textSize, const char* mask, int position, char key, int* newCaret, int* count) {
  if (!text || !mask || position < 0) return 1;
  const char* m = mask;
  Element e;
  for (int i = 0; i < position; ++i)
    if (!nextElement(m, e)) return 1;
  const size_t original = std::strlen(text);
  int at = position;
  bool accepted = false;
  while (!accepted && nextElement(m, e)) {
    // A text shorter than the mask grows by the display of the place.
    const int n = static_cast<int>(std::strlen(text));
    if (at > n || at + 2 > textSize) break;
    if (at == n) {
      text[at] = e.placeholder ? blankOf(e.placeholder) : e.literal;
      text[at + 1] = 0;
    }
    if (e.placeholder) {
      if (!accepts(e.placeholder, key)) break;
      text[at] = key;
      accepted = true;
    } else {
      accepted = e.literal == key;  // a different literal is stepped over
    }
    ++at;
  }
  if (!accepted) {
    text[original] = 0;  // drop what the walk displayed
    return 1;
  }
  if (newCaret) *newCaret = at;
  if (count) *count = at - position;
  return 0;
}

int HCtlMaskDelete(char* text, const char* mask, int position) {
  if (!text || !mask || position < 0) return 0;
  const char* m = mask;
  Element e;
  for (int i = 0; i < position; ++i)
    if (!nextElement(m, e)) return 0;
  if (!nextElement(m, e)) return 0;
  if (e.placeholder && position < static_cast<int>(std::strlen(text))) text[position] = blankOf(e.placeholder);
  return 2;
}
