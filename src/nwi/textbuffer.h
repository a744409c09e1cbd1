// Small helpers that the formatting and key rules share: bounded writing
// into a caller's buffer, in-place edits of terminated texts, and reading
// and writing the little-endian fields of stored values.
#pragma once

#include <cctype>
#include <cstddef>
#include <cstring>

// Character classes of the "C" locale, safe for bytes of 128 and above.
inline char HCtlLower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
inline bool HCtlIsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
inline bool HCtlIsAlpha(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
// The letters that start an exponent in number texts and pictures.
inline bool HCtlIsExponentLetter(char c) { return c == 'd' || c == 'D' || c == 'e' || c == 'E'; }
// How many characters from `p` on are `letter` (lower case), either case.
inline int HCtlLetterRun(const char* p, char letter) {
  int n = 0;
  while (HCtlLower(p[n]) == letter) ++n;
  return n;
}

// Writes at most `capacity` characters; `overflow` tells that some were
// cut. The caller terminates at `length`.
struct HCtlTextWriter {
  char* out;
  int capacity;
  int length = 0;
  bool overflow = false;

  void put(char c) {
    if (length < capacity) out[length++] = c;
    else overflow = true;
  }
  // The number with at least `width` digits (leading zeros), '-' first
  // when negative.
  void number(int value, int width) {
    char digits[12];
    int n = 0;
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
      digits[n++] = static_cast<char>('0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude);
    if (value < 0) put('-');
    for (int i = n; i < width; ++i) put('0');
    while (n > 0) put(digits[--n]);
  }
};

// Inserts `c` at `position` of a terminated text in a buffer of textSize
// bytes; false (and no change) when there is no room or no such position.
inline bool HCtlInsertChar(char* text, int textSize, int position, char c) {
  const int n = static_cast<int>(std::strlen(text));
  if (n + 2 > textSize || position < 0 || position > n) return false;
  std::memmove(text + position + 1, text + position, n - position + 1);
  text[position] = c;
  return true;
}

// Removes up to `count` characters at `position` (nothing past the end).
inline void HCtlRemoveChars(char* text, int position, int count = 1) {
  const int n = static_cast<int>(std::strlen(text));
  if (position < 0 || position >= n) return;
  if (position + count > n) count = n - position;
  std::memmove(text + position, text + position + count, n - position - count + 1);
}

// A field of a stored value at a byte offset (values need not be aligned).
template <typename T>
T HCtlLoad(const void* value, size_t offset = 0) {
  T result;
  std::memcpy(&result, static_cast<const char*>(value) + offset, sizeof result);
  return result;
}

template <typename T>
void HCtlStore(void* value, size_t offset, const T& field) {
  std::memcpy(static_cast<char*>(value) + offset, &field, sizeof field);
}
