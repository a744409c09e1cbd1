// Key and delete rules of numeric edit texts: 'c'/'n' (digits within the
// picture's limits and the field's range), 'i' (with an exponent) and 'z'
// (fixed decimals that digits shift into from the right).
#include <cctype>
#include <cstring>
#include <string>

#include "intlsettings.h"
#include "numberformat.h"
#include "textbuffer.h"

namespace {

constexpr int kFreePrecision = 13;


int length(const char* text) { return static_cast<int>(std::strlen(text)); }

int countDigits(const char* begin, const char* end) {
  int count = 0;
  for (const char* p = begin; p < end; ++p) count += HCtlIsDigit(*p);
  return count;
}

// How many integer digits an unbounded ('*') integer part may take: as
// many as the field's range allows, so that digits typed at the end are
// taken up to the range check instead of all being refused.
int integerRoom(char range, int textSize) {
  switch (range) {
    case 'b': return 3;
    case 'i': return 5;
    case 'l': return 10;
    case 'L': return 19;
    case 's': return 39;
    case 'd': case 'f': return 309;
    default: return textSize;
  }
}

// Integer digits of a plain number text compared with the 64-bit limits by
// length first and then digit by digit (a plain text comparison would let
// 20-digit numbers that start with 1 to 8 pass).
bool withinInt64(const char* text) {
  const bool negative = text[0] == '-';
  const char* p = negative ? text + 1 : text;
  while (*p == '0') ++p;
  const char* end = p;
  while (HCtlIsDigit(*end)) ++end;
  const int digits = static_cast<int>(end - p);
  const char* limit = negative ? "9223372036854775808" : "9223372036854775807";
  if (digits != 19) return digits < 19;
  return std::strncmp(p, limit, 19) <= 0;
}

bool withinRange(const char* text, char range) {
  if (range == 'L') return withinInt64(text);
  double low, high;
  switch (range) {
    case 'b': low = 0; high = 255; break;
    case 'i': low = -32768; high = 32767; break;
    case 'l': low = -2147483648.0; high = 2147483647.0; break;
    case 's': low = -3.4028234663852886e38; high = 3.4028234663852886e38; break;
    case 'd': case 'f': low = -1.7976931348623157e308; high = 1.7976931348623157e308; break;
    default: return true;
  }
  double value = 0;
  if (!HCtlTextToDouble(text, nullptr, &value)) return false;
  return value >= low && value <= high;
}

void report(int caret, int from, int* newCaret, int* count) {
  if (newCaret) *newCaret = caret;
  if (count) *count = caret > from ? caret - from : 0;
}

// The edit of one key on a 'c'/'n' text; false when refused.
bool numberKey(char* text, int textSize, const HCtlNumberState& st, const char* picture, int& caret, char key,
               char range) {
  const char separator = HCtlIntlSettings().decimalSep;
  const int fractionLimit = st.fraction.maxDigits < 0 ? kFreePrecision : st.fraction.maxDigits;
  const int integerLimit = st.integer.maxDigits < 0 ? integerRoom(range, textSize) : st.integer.maxDigits;
  if (text[caret] == '-' && key != '-') HCtlRemoveChars(text, caret);

  if (key == '-') {
    if (caret != 0) return false;
    if (text[0] != '-' && !HCtlInsertChar(text, textSize, 0, '-')) return false;
    caret = 1;
    return true;
  }
  char* point = std::strchr(text, separator);
  if (key == separator) {
    if (point && point - text < caret) return false;
    if (point) {
      HCtlRemoveChars(text, caret, static_cast<int>(point - text) - caret);
    } else {
      if (!st.hasPoint) return false;
      text[caret] = 0;  // the digits behind the caret go
      if (!HCtlInsertChar(text, textSize, caret, separator)) return false;
    }
    caret += 1;
    return true;
  }
  if (key == ' ') {
    const int result = HCtlNumberDelete(text, picture, caret);
    if (result == 0) return false;
    if (result == 1) HCtlRemoveChars(text, caret);
    else caret += 1;
    return true;
  }
  if (!HCtlIsDigit(key)) return false;

  const char under = text[caret];
  if (HCtlIsDigit(under)) {
    text[caret++] = key;
    return true;
  }
  const int n = length(text);
  const int integerDigits = countDigits(text, point ? point : text + n);
  if (under == 0) {
    if (point ? countDigits(point + 1, text + n) >= fractionLimit : integerDigits >= integerLimit) return false;
    if (!HCtlInsertChar(text, textSize, caret, key)) return false;
    caret += 1;
    return true;
  }
  if (under == separator) {
    if (integerDigits < integerLimit) {
      if (!HCtlInsertChar(text, textSize, caret, key)) return false;
      caret += 1;
      return true;
    }
    if (fractionLimit == 0) return false;
    if (HCtlIsDigit(text[caret + 1])) text[caret + 1] = key;
    else if (text[caret + 1] != 0 || !HCtlInsertChar(text, textSize, caret + 1, key)) return false;
    caret += 2;
    return true;
  }
  return false;
}

}  // namespace

int HCtlNumberKey(char* text, int textSize, const char* picture, int caret, char key, int* newCaret, int* count,
                  char range) {
  if (!text || caret < 0 || caret > length(text)) return 1;
  const std::string saved(text);
  HCtlNumberState st;
  HCtlNumberPicture(picture, std::strchr(text, '-') != nullptr, 1, &st);
  int at = caret;
  if (!numberKey(text, textSize, st, picture, at, key, range) || !withinRange(text, range)) {
    std::memcpy(text, saved.c_str(), saved.size() + 1);
    return 1;
  }
  report(at, caret, newCaret, count);
  return 0;
}

int HCtlNumberDelete(char* text, const char* picture, int position) {
  if (!text || position < 0 || position >= length(text)) return 0;
  const char separator = HCtlIntlSettings().decimalSep;
  const char c = text[position];
  if (c == separator) return 2;
  if (c == '-' || !HCtlIsDigit(c)) return 1;
  const char* point = std::strchr(text, separator);
  if (point && text + position > point) return 1;  // fraction digits go
  HCtlNumberState st;
  HCtlNumberPicture(picture, std::strchr(text, '-') != nullptr, 1, &st);
  // The last digits that the picture requires are kept as '0'.
  if (countDigits(text, point ? point : text + length(text)) <= st.integer.zeros) {
    text[position] = '0';
    return 2;
  }
  return 1;
}

int HCtlExponentKey(char* text, int textSize, const char* picture, int caret, char key, int* newCaret, int* count) {
  if (!text || caret < 0 || caret > length(text)) return 1;
  const char separator = HCtlIntlSettings().decimalSep;
  const char* point = std::strchr(text, separator);
  const char* letter = std::strpbrk(text, "dDeE");
  bool replace = false;
  if (HCtlIsDigit(key) || key == ' ') {
    // always inserted
  } else if (key == separator) {
    if (point || (letter && letter - text <= caret)) return 1;
  } else if (HCtlIsExponentLetter(key)) {
    if (point && caret <= point - text) return 1;
    if (letter) {
      if (letter - text != caret) return 1;
      replace = true;
    }
  } else if (key == '+' || key == '-') {
    if (text[caret] == '+' || text[caret] == '-') replace = true;
    else if (caret != 0 && !(caret > 0 && HCtlIsExponentLetter(text[caret - 1]))) return 1;
  } else {
    return 1;
  }
  if (replace) text[caret] = key;
  else if (!HCtlInsertChar(text, textSize, caret, key)) return 1;
  report(caret + 1, caret, newCaret, count);
  return 0;
}

int HCtlExponentDelete(const char* text, int position) {
  if (!text || position < 0 || position >= length(text)) return 0;
  const char c = text[position];
  return (c == '+' || c == '-') && position > 0 && HCtlIsExponentLetter(text[position - 1]) ? 2 : 1;
}

int HCtlFloatKey(char* text, int textSize, const char* picture, int caret, char key, int* newCaret, int* count) {
  if (!text || caret < 0 || caret > length(text)) return 1;
  const char separator = HCtlIntlSettings().decimalSep;
  if (key == '-') {
    if (text[0] != '-' && !HCtlInsertChar(text, textSize, 0, '-')) return 1;
  } else if (key == '+') {
    if (text[0] == '-') HCtlRemoveChars(text, 0);
  } else if (key == '.' || key == separator) {
    // The separator has a fixed place; the key changes nothing.
  } else if (HCtlIsDigit(key)) {
    if (!HCtlInsertChar(text, textSize, caret, key)) return 1;
    // The digit shifts the number one place to the left of the separator.
    if (char* point = std::strchr(text, separator); point && point[1]) {
      point[0] = point[1];
      point[1] = separator;
    }
    char* integer = text[0] == '-' ? text + 1 : text;
    if (integer[0] == '0' && HCtlIsDigit(integer[1])) HCtlRemoveChars(text, static_cast<int>(integer - text));
  } else {
    return 1;
  }
  // Digits come in from the right: the caret stays at the end.
  const int end = length(text);
  report(end, caret, newCaret, count);
  return 0;
}

int HCtlFloatDelete(char* text, const char* picture, int position) {
  if (!text || position < 0 || position >= length(text)) return 0;
  const char separator = HCtlIntlSettings().decimalSep;
  const char c = text[position];
  if (c == separator) return 2;
  if (!HCtlIsDigit(c)) return 1;
  const size_t before = std::strlen(text);
  HCtlRemoveChars(text, position);
  HCtlNumberState st;
  HCtlNumberPicture(picture, 0, 0, &st);
  const bool negative = text[0] == '-';
  std::string digits;
  for (const char* p = text; *p; ++p)
    if (HCtlIsDigit(*p)) digits += *p;
  int result = 3;
  if (static_cast<int>(digits.size()) < st.fraction.zeros + st.integer.zeros) {
    digits.insert(digits.begin(), '0');
    result = 2;
  }
  std::string laid = negative ? "-" : "";
  const int fractionDigits = st.fraction.zeros;
  const int split = static_cast<int>(digits.size()) - fractionDigits;
  if (fractionDigits > 0 && split >= 0) {
    laid += digits.substr(0, split);
    laid += separator;
    laid += digits.substr(split);
  } else {
    laid += digits;
  }
  // The text may not outgrow the buffer it came in: a layout longer than
  // the text was (a separator added to a text without one) keeps the digits.
  if (laid.size() > before) laid = (negative ? "-" : "") + digits;
  if (laid.size() > before) laid.erase(0, laid.size() - before);
  std::memcpy(text, laid.c_str(), laid.size() + 1);
  return result;
}
