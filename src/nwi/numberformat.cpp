// Number pictures: reading them, formatting numbers by them, and reading
// number texts back.
#include "numberformat.h"

#include <mscrt.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "intlsettings.h"
#include "textbuffer.h"

namespace {

constexpr const char* kDefaultPicture = "*0.*";
// Fraction digits when the picture sets no limit, or shows an exponent.
constexpr int kFreePrecision = 13;
// Tokens read from one section; a longer section is cut there.
constexpr int kMaxTokens = 256;

enum class Part : char { integer, fraction, exponent };

struct Token {
  char kind;  // '#', '0', '*', ',', 'L' literal, 'E' exponent letter
  char ch;    // the character written for 'L' and 'E'
  Part part;
};

struct Section {
  Token tokens[kMaxTokens];
  int count = 0;
  HCtlNumberState state{};
};

bool isPlace(char c) { return c == '#' || c == '0' || c == '*'; }

// End of the section that starts at `text`: the first ';' that is neither
// escaped nor inside the colour prefix.
const char* sectionEnd(const char* text) {
  const char* p = text;
  if (*p == '[') {
    while (*p && *p != ']') ++p;
    if (*p) ++p;
  }
  for (; *p && *p != ';'; ++p)
    if (*p == '\\' && p[1]) ++p;
  return p;
}

void countPlace(HCtlNumberPart& part, char c) {
  if (c == '*') {
    part.maxDigits = -1;
    return;
  }
  ++part.places;
  if (c == '0') ++part.zeros;
  if (part.maxDigits >= 0) ++part.maxDigits;
}

void addToken(Section& s, char kind, char ch, Part part) {
  if (s.count < kMaxTokens) s.tokens[s.count++] = Token{kind, ch, part};
}

// Reads one section [begin, end) into tokens and counts.
void readSection(const char* begin, const char* end, int strict, Section& s) {
  HCtlNumberState& st = s.state;
  st.sectionLength = static_cast<int>(end - begin);
  const char* p = begin;
  if (*p == '[') {
    while (p < end && *p != ']') ++p;
    if (p < end) ++p;
  }
  Part part = Part::integer;
  bool zeroSeen = false;
  char previous = 0;
  for (; p < end; ++p) {
    const char c = *p;
    HCtlNumberPart& counts = part == Part::integer ? st.integer : part == Part::fraction ? st.fraction : st.exponent;
    if (c == '\\' && p + 1 < end) {
      ++p;
      counts.length += 2;
      ++counts.literals;
      addToken(s, 'L', *p, part);
      previous = 0;
      continue;
    }
    ++counts.length;
    if (part != Part::exponent && HCtlIsExponentLetter(c) && isPlace(previous) && p + 1 < end &&
        (isPlace(p[1]) || p[1] == '+' || p[1] == '-')) {
      part = Part::exponent;
      st.hasExponent = true;
      addToken(s, 'E', c, part);
      if (p[1] == '+' || p[1] == '-') {
        st.exponentSign = p[1] == '+';
        ++p;
        ++st.exponent.length;
      }
      previous = 0;
      continue;
    }
    if (isPlace(c)) {
      if (part == Part::integer && c == '0' && strict) {
        if (zeroSeen) continue;  // only the first '0' counts for the key rules
        zeroSeen = true;
      }
      countPlace(counts, c);
      addToken(s, c, c, part);
    } else if (c == ',' && part == Part::integer) {
      st.grouping = true;
      addToken(s, ',', c, part);
    } else if (c == '.' && part == Part::integer) {
      st.hasPoint = true;
      part = Part::fraction;
    } else {
      ++counts.literals;
      addToken(s, 'L', c, part);
    }
    previous = c;
  }
}

const char* selectSection(const char* picture, int negative, int strict, Section& s) {
  if (!picture || !*picture) picture = kDefaultPicture;
  s.count = 0;
  s.state = HCtlNumberState{};
  const char* end = sectionEnd(picture);
  const char* chosen = picture;
  if (negative && *end == ';' && end[1] && end[1] != ';') {
    chosen = end + 1;
    end = sectionEnd(chosen);
  } else {
    s.state.signNeeded = negative != 0;
  }
  readSection(chosen, end, strict, s);
  return chosen;
}

using Builder = HCtlTextWriter;

void reverse(char* begin, char* end) {
  while (begin < end) {
    const char c = *begin;
    *begin++ = *--end;
    *end = c;
  }
}

// Digits of the integer part (or of an exponent) written right to left
// through the places of `part`: places take digits, '0' places left over
// take '0', surplus digits go before the first place, the group separator
// between each three digits when grouping. Writes reversed into `b`.
void writeIntegerReversed(const Section& s, Part part, const char* digits, int digitCount, bool grouping,
                          bool literals, Builder& b) {
  const char separator = HCtlIntlSettings().thousandsSep;
  int next = digitCount - 1;
  int written = 0;
  auto putDigit = [&](char d) {
    if (grouping && written > 0 && written % 3 == 0) b.put(separator);
    b.put(d);
    ++written;
  };
  int first = -1;  // the leftmost place of the part: surplus digits go there
  for (int i = 0; i < s.count; ++i)
    if (s.tokens[i].part == part && isPlace(s.tokens[i].kind)) {
      first = i;
      break;
    }
  for (int i = s.count - 1; i >= 0; --i) {
    const Token& t = s.tokens[i];
    if (t.part != part) continue;
    switch (t.kind) {
      case '#': if (next >= 0) putDigit(digits[next--]); break;
      case '0': putDigit(next >= 0 ? digits[next--] : '0'); break;
      case '*': while (next >= 0) putDigit(digits[next--]); break;
      case 'L': if (literals) b.put(t.ch); break;
      default: break;
    }
    if (i == first)
      while (next >= 0) putDigit(digits[next--]);
  }
  while (next >= 0) putDigit(digits[next--]);  // a part without places
}

// Fraction digits left to right: places take digits, '0' places take '0'
// when the digits are used up.
void writeFraction(const Section& s, const char* digits, int digitCount, bool literals, Builder& b) {
  int next = 0;
  for (int i = 0; i < s.count; ++i) {
    const Token& t = s.tokens[i];
    if (t.part != Part::fraction) continue;
    switch (t.kind) {
      case '#': if (next < digitCount) b.put(digits[next++]); break;
      case '0': b.put(next < digitCount ? digits[next++] : '0'); break;
      case '*': while (next < digitCount) b.put(digits[next++]); break;
      case 'L': if (literals) b.put(t.ch); break;
      default: break;
    }
  }
}

// The digits of a number to show: integer digits without leading zeros,
// fraction digits without trailing zeros beyond the '0' places, and the
// exponent when the picture shows one.
struct Digits {
  char integer[400];
  int integerCount = 0;
  char fraction[400];
  int fractionCount = 0;
  int exponent = 0;
};

// Splits the digit string of _fcvt/_ecvt (point after `point` digits).
void splitDigits(const char* digits, int point, int fractionLimit, int fractionZeros, Digits& d) {
  const int length = static_cast<int>(std::strlen(digits));
  d.integerCount = 0;
  for (int i = 0; i < point && i < length && d.integerCount < static_cast<int>(sizeof d.integer); ++i)
    if (d.integerCount > 0 || digits[i] != '0') d.integer[d.integerCount++] = digits[i];
  for (int i = length; i < point && d.integerCount > 0 && d.integerCount < static_cast<int>(sizeof d.integer); ++i)
    d.integer[d.integerCount++] = '0';
  d.fractionCount = 0;
  for (int i = point; i < 0 && d.fractionCount < fractionLimit; ++i) d.fraction[d.fractionCount++] = '0';
  for (int i = point < 0 ? 0 : point; i < length && d.fractionCount < fractionLimit; ++i)
    d.fraction[d.fractionCount++] = digits[i];
  while (d.fractionCount > fractionZeros && d.fraction[d.fractionCount - 1] == '0') --d.fractionCount;
}

// Writes the whole number; returns the length or fills '#'.
int writeNumber(const Section& s, const Digits& d, bool editForm, char* out, int outSize) {
  const HCtlNumberState& st = s.state;
  Builder b{out, outSize - 1};
  const bool literals = !editForm;
  writeIntegerReversed(s, Part::integer, d.integer, d.integerCount, st.grouping && !editForm, literals, b);
  if (st.signNeeded) b.put('-');
  reverse(out, out + b.length);
  // The separator only when fraction digits follow: "2" rather than "2."
  // for a whole number under a picture without required decimals.
  if (d.fractionCount > 0 || st.fraction.zeros > 0) b.put(HCtlIntlSettings().decimalSep);
  writeFraction(s, d.fraction, d.fractionCount, literals, b);
  if (st.hasExponent && !editForm) {
    for (int i = 0; i < s.count; ++i)
      if (s.tokens[i].kind == 'E') b.put(s.tokens[i].ch);
    if (d.exponent < 0) b.put('-');
    else if (st.exponentSign) b.put('+');
    char digits[12];
    int count = 0;
    for (unsigned e = static_cast<unsigned>(d.exponent < 0 ? -d.exponent : d.exponent); e; e /= 10)
      digits[count++] = static_cast<char>('0' + e % 10);
    reverse(digits, digits + count);
    const int start = b.length;
    writeIntegerReversed(s, Part::exponent, digits, count, false, literals, b);
    reverse(out + start, out + b.length);
  }
  if (b.overflow) {
    std::memset(out, '#', outSize - 1);
    out[outSize - 1] = 0;
    return outSize - 1;
  }
  out[b.length] = 0;
  return b.length;
}

int writeText(const char* text, char* out, int outSize) {
  const int length = static_cast<int>(std::strlen(text));
  if (length > outSize - 1) {
    std::memset(out, '#', outSize - 1);
    out[outSize - 1] = 0;
    return outSize - 1;
  }
  std::memcpy(out, text, length + 1);
  return length;
}

// The form used when the picture has no exponent and the number lies
// beyond what digit places can show: "-1.2345e+25".
int writeScientific(double value, char* out, int outSize) {
  int point = 0, sign = 0;
  const char* digits = _ecvt(value, 5, &point, &sign);
  char text[32];
  const int length = std::snprintf(text, sizeof text, "%s%c%c%.4se%+d", sign ? "-" : "", digits[0],
                                   HCtlIntlSettings().decimalSep, digits + 1, point - 1);
  return length > 0 ? writeText(text, out, outSize) : 0;
}

}  // namespace

const char* HCtlNumberPicture(const char* picture, int negative, int strict, HCtlNumberState* state) {
  Section s;
  const char* section = selectSection(picture, negative, strict, s);
  if (state) *state = s.state;
  return section;
}

int HCtlFormatDouble(double value, const char* picture, char* out, int outSize, int editForm) {
  if (!out || outSize < 2) return 0;
  if (std::isnan(value)) return writeText("1.#QNAN", out, outSize);
  if (std::isinf(value)) return writeText(value > 0 ? "+1.#INF" : "-1.#INF", out, outSize);
  const bool negative = value < 0;
  Section s;
  // The edit form reads the picture strictly and always signs with '-'.
  selectSection(picture, negative && !editForm, editForm, s);
  if (editForm) s.state.signNeeded = negative;
  const HCtlNumberState& st = s.state;
  const bool exponentShown = st.hasExponent && !editForm;
  const double magnitude = std::fabs(value);
  if (!exponentShown && magnitude != 0 && (magnitude >= 1e20 || magnitude < 1e-14))
    return writeScientific(value, out, outSize);

  const int fractionLimit =
      st.fraction.maxDigits < 0 || exponentShown || magnitude < 1e-15 ? kFreePrecision : st.fraction.maxDigits;
  Digits d;
  int point = 0, sign = 0;
  if (exponentShown) {
    // The mantissa keeps as many integer digits as the picture has '0'
    // places (at least one).
    const int integerDigits = st.integer.zeros > 0 ? st.integer.zeros : 1;
    const char* digits = _ecvt(magnitude, integerDigits + fractionLimit, &point, &sign);
    d.exponent = magnitude == 0 ? 0 : point - integerDigits;
    splitDigits(digits, integerDigits, fractionLimit, st.fraction.zeros, d);
  } else {
    const char* digits = _fcvt(magnitude, fractionLimit, &point, &sign);
    splitDigits(digits, point, fractionLimit, st.fraction.zeros, d);
  }
  return writeNumber(s, d, editForm != 0, out, outSize);
}

int HCtlFormatInt64(int64_t value, const char* picture, char* out, int outSize, int* negative, int editForm) {
  if (negative) *negative = value < 0;
  if (!out || outSize < 2) return 0;
  Section s;
  selectSection(picture, value < 0 && !editForm, editForm, s);
  if (s.state.hasExponent && !editForm)
    return HCtlFormatDouble(static_cast<double>(value), picture, out, outSize, editForm);
  if (editForm) s.state.signNeeded = value < 0;
  // The magnitude as unsigned: -2^63 has no positive int64.
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  Digits d;
  char reversed[24];
  int count = 0;
  for (; magnitude; magnitude /= 10) reversed[count++] = static_cast<char>('0' + magnitude % 10);
  for (int i = 0; i < count; ++i) d.integer[i] = reversed[count - 1 - i];
  d.integerCount = count;
  return writeNumber(s, d, editForm != 0, out, outSize);
}

// --- number texts -----------------------------------------------------------

namespace {

bool literalOf(const Section& s, char c) {
  for (int i = 0; i < s.count; ++i)
    if (s.tokens[i].kind == 'L' && s.tokens[i].ch == c) return true;
  return false;
}

// The text reduced to "[-]digits[.digits][e[-]digits]"; false when it holds
// a character that belongs to no number of the picture.
bool cleanNumber(const char* text, const char* picture, char* clean, int cleanSize, bool* shownNegative) {
  const HCtlIntl& intl = HCtlIntlSettings();
  Section positive, negative;
  const bool hasPicture = picture && *picture;
  bool hasNegativeSection = false;
  if (hasPicture) {
    selectSection(picture, 0, 0, positive);
    const char* end = sectionEnd(picture);
    hasNegativeSection = *end == ';' && end[1] && end[1] != ';';
    if (hasNegativeSection) selectSection(picture, 1, 0, negative);
  }
  *shownNegative = false;
  Builder b{clean, cleanSize - 1};
  bool point = false, exponent = false, digitSeen = false;
  for (const char* p = text; *p; ++p) {
    const char c = *p;
    if (std::isdigit(static_cast<unsigned char>(c))) {
      b.put(c);
      digitSeen = true;
    } else if (c == intl.decimalSep && !exponent) {
      if (point) return false;
      point = true;
      b.put('.');
    } else if (c == '-') {
      // A sign leads the number or its exponent.
      const bool leading = b.length == 0;
      const bool afterExponent = b.length > 0 && clean[b.length - 1] == 'e';
      if (!leading && !afterExponent) return false;
      b.put('-');
    } else if (HCtlIsExponentLetter(c) && digitSeen && !exponent) {
      exponent = true;
      b.put('e');
    } else if (c == intl.thousandsSep || c == ' ' || c == '+' || std::strchr(intl.currency, c)) {
      continue;
    } else if (hasPicture && literalOf(positive, c)) {
      continue;
    } else if (hasNegativeSection && literalOf(negative, c)) {
      *shownNegative = true;
    } else {
      return false;
    }
  }
  if (b.overflow) return false;
  clean[b.length] = 0;
  return true;
}

}  // namespace

int HCtlTextToDouble(const char* text, const char* picture, double* value) {
  if (!text || !value) return 0;
  char clean[512];
  bool shownNegative = false;
  if (!cleanNumber(text, picture, clean, sizeof clean, &shownNegative)) return 0;
  double number = 0;
  if (clean[0] && std::strcmp(clean, "-") != 0) {
    char* end = nullptr;
    number = std::strtod(clean, &end);
    // A trailing exponent letter without digits reads as no exponent.
    if (end && *end && !(end[0] == 'e' && (end[1] == 0 || (end[1] == '-' && end[2] == 0)))) return 0;
  }
  if (shownNegative && clean[0] != '-') number = -number;
  *value = number;
  return 1;
}

int HCtlTextToInt64(const char* text, const char* picture, int64_t* value) {
  if (!text || !value) return 0;
  char clean[512];
  bool shownNegative = false;
  if (!cleanNumber(text, picture, clean, sizeof clean, &shownNegative)) return 0;
  if (std::strchr(clean, 'e')) return 0;
  const bool negative = clean[0] == '-' || shownNegative;
  uint64_t magnitude = 0;
  const uint64_t limit = negative ? (uint64_t{1} << 63) : (uint64_t{1} << 63) - 1;
  for (const char* p = clean[0] == '-' ? clean + 1 : clean; *p && *p != '.'; ++p) {
    const unsigned digit = static_cast<unsigned>(*p - '0');
    if (magnitude > (limit - digit) / 10) return 0;
    magnitude = magnitude * 10 + digit;
  }
  *value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return 1;
}
