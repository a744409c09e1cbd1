// Number pictures: reading them, formatting numbers by them, and reading
// number texts back.
#include "numberformat.h"

#include <mscrt.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "intlsettings.h"
#include "textbuffer.h"

namespace {

constexpr const char* kDefaultPicture = "*0.*";
// Fraction digits when the picture sets no limit, or shows an exponent.
constexpr int kFreePrecision = 13;
// Tokens the control reading keeps from one section; a longer section is
// cut there.
constexpr int kMaxTokens = 256;

enum class Part : char { integer, fraction, exponent };

struct Token {
  char kind;  // '#', '0', '*', ',' grouping, 'S' silent, 'L' literal, 'E' exponent letter
  char ch;    // the character written for 'L' and 'E'
  Part part;
};

struct Section {
  std::vector<Token> tokens;
  HCtlNumberState state{};
};

bool isPlace(char c) { return c == '#' || c == '0' || c == '*'; }

// End of the section that starts at `text`: the first ';' that is not
// escaped. The control reading also passes over a ';' inside the colour
// prefix; the field reading does not.
const char* sectionEnd(const char* text, bool field = false) {
  const char* p = text;
  if (*p == '[' && !field) {
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

void addToken(Section& s, char kind, char ch, Part part, bool field) {
  if (field || static_cast<int>(s.tokens.size()) < kMaxTokens) s.tokens.push_back(Token{kind, ch, part});
}

// Reads one section [begin, end) into tokens and counts. The field reading
// (`field`) differs from the control's: any number of colour prefixes, '+'
// and ',' show nothing anywhere (',' also turns on grouping in the
// fraction), an exponent letter needs a sign, '#' or '0' after it, and
// there is no token limit.
void readSection(const char* begin, const char* end, int strict, bool field, Section& s) {
  HCtlNumberState& st = s.state;
  st.sectionLength = static_cast<int>(end - begin);
  const char* p = begin;
  do {
    if (p < end && *p == '[') {
      while (p < end && *p != ']') ++p;
      if (p < end) ++p;
    }
  } while (field && p < end && *p == '[');
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
      addToken(s, 'L', *p, part, field);
      previous = 0;
      continue;
    }
    ++counts.length;
    const bool exponentNext =
        p + 1 < end && ((field ? p[1] == '#' || p[1] == '0' : isPlace(p[1])) || p[1] == '+' || p[1] == '-');
    if (part != Part::exponent && HCtlIsExponentLetter(c) && isPlace(previous) && exponentNext) {
      part = Part::exponent;
      st.hasExponent = true;
      addToken(s, 'E', c, part, field);
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
      addToken(s, c, c, part, field);
    } else if (c == ',' && (part == Part::integer || field)) {
      st.grouping = true;
      addToken(s, ',', c, part, field);
    } else if (c == '.' && part == Part::integer) {
      st.hasPoint = true;
      part = Part::fraction;
    } else if (c == '+' && field) {
      addToken(s, 'S', c, part, field);
    } else {
      ++counts.literals;
      addToken(s, 'L', c, part, field);
    }
    previous = c;
  }
}

// Reads the section a value of the sign uses into `s`; answers where it starts.
const char* readPicture(const char* picture, int negative, int strict, Section& s, bool field) {
  if (!picture || !*picture) picture = kDefaultPicture;
  s.tokens.clear();
  s.state = HCtlNumberState{};
  const char* end = sectionEnd(picture, field);
  const char* chosen = picture;
  if (negative && *end == ';' && end[1] && end[1] != ';') {
    chosen = end + 1;
    end = sectionEnd(chosen, field);
  } else {
    s.state.signNeeded = negative != 0;
  }
  readSection(chosen, end, strict, field, s);
  return chosen;
}

// A read section and where it starts in its picture.
struct ReadSection {
  Section section;
  ptrdiff_t offset = 0;
};
using SectionRef = std::shared_ptr<const ReadSection>;

// The pictures a thread formatted with last, read: a field formats with the
// same picture again and again, and reading it cost as much as the
// formatting. Keyed by the picture's text (a buffer may be reused for
// another picture) and the reading's options.
class SectionCache {
 public:
  SectionRef find(const char* picture, int negative, int strict, bool field) {
    const Options options{negative != 0, strict != 0, field};
    for (Entry& e : entries_)
      if (e.value && e.options == options && e.picture == picture) return e.value;
    Entry& e = entries_[next_];
    next_ = (next_ + 1) % entries_.size();
    auto read = std::make_shared<ReadSection>();
    read->offset = readPicture(picture, negative, strict, read->section, field) - picture;
    e.picture = picture;
    e.options = options;
    e.value = std::move(read);
    return e.value;
  }

 private:
  struct Options {
    bool negative, strict, field;
    bool operator==(const Options&) const = default;
  };
  struct Entry {
    std::string picture;
    Options options{};
    SectionRef value;
  };
  std::array<Entry, 16> entries_;
  size_t next_ = 0;
};

// The section of `picture` for a value of the sign (the negative section
// when there is one and `negative` is set, the default picture for none).
// With `strict` only the first '0' of the integer part counts as a place.
SectionRef sectionOf(const char* picture, int negative, int strict, bool field = false) {
  thread_local SectionCache cache;
  return cache.find(picture && *picture ? picture : kDefaultPicture, negative, strict, field);
}

using Builder = HCtlTextWriter;

// How a number is laid: the control's way (the user's separators, leading
// integer zeros dropped, the point only before fraction digits) or the
// fields' (see HCTL_DECIMAL_FIELD).
struct Layout {
  bool editForm = false;
  bool field = false;
  bool cut = false;  // overflow: write what fits and answer the full length
};

// The digits of a number to show: integer digits, fraction digits and the
// exponent when the picture shows one. Any length: a decimal text may hold
// far more digits than a double.
struct Digits {
  std::string integer;
  std::string fraction;
  int exponent = 0;
};

// Digits of the integer part (or of an exponent) written right to left
// through the places of `part`: places take digits, '0' places left over
// take '0', surplus digits go before the leftmost place, the group
// separator between each three digits when grouping. Appends reversed.
void writeIntegerReversed(const Section& s, Part part, const std::string& digits, bool grouping, bool literals,
                          const Layout& layout, std::string& b) {
  const char separator = layout.field ? ',' : HCtlIntlSettings().thousandsSep;
  const int count = static_cast<int>(s.tokens.size());
  int next = static_cast<int>(digits.size()) - 1;
  int written = 0;
  int first = -1;   // the leftmost place of the part: surplus digits go there
  int forced = 0;   // '0' places still to come (leftwards)
  for (int i = 0; i < count; ++i)
    if (s.tokens[i].part == part && isPlace(s.tokens[i].kind)) {
      if (first < 0) first = i;
      if (s.tokens[i].kind == '0') ++forced;
    }
  // The control puts the separator in front of the next digit, the field
  // right after the third one when another digit follows.
  auto putDigit = [&](char d) {
    if (grouping && !layout.field && written > 0 && written % 3 == 0) b += separator;
    b += d;
    ++written;
    if (grouping && layout.field && written % 3 == 0 && (next >= 0 || forced > 0)) b += separator;
  };
  auto putRest = [&] {
    while (next >= 0) putDigit(digits[next--]);
  };
  // The field puts the digits of a part without places right before the
  // point, the control in front of the part's literals.
  if (layout.field && first < 0) putRest();
  for (int i = count - 1; i >= 0; --i) {
    const Token& t = s.tokens[i];
    if (t.part != part) continue;
    switch (t.kind) {
      case '#': if (next >= 0) putDigit(digits[next--]); break;
      case '0': --forced; putDigit(next >= 0 ? digits[next--] : '0'); break;
      case '*':
        if (layout.field) {
          if (next >= 0) putDigit(digits[next--]);
        } else {
          putRest();
        }
        break;
      case 'L': if (literals) b += t.ch; break;
      default: break;
    }
    if (i == first) putRest();
  }
  putRest();
}

// Fraction digits left to right: places take digits, '0' places take '0'
// when the digits are used up.
void writeFraction(const Section& s, const std::string& digits, bool literals, std::string& b) {
  size_t next = 0;
  for (const Token& t : s.tokens) {
    if (t.part != Part::fraction) continue;
    switch (t.kind) {
      case '#': if (next < digits.size()) b += digits[next++]; break;
      case '0': b += next < digits.size() ? digits[next++] : '0'; break;
      case '*': b.append(digits, next, std::string::npos); next = digits.size(); break;
      case 'L': if (literals) b += t.ch; break;
      default: break;
    }
  }
}

// Splits a digit text (point after `point` digits) into the parts to lay:
// fraction digits up to `fractionLimit`. The control drops leading integer
// zeros and keeps trailing fraction zeros only for the '0' places; the
// field keeps the integer digits as given and drops every trailing
// fraction zero (its '0' places show them again).
void splitDigits(const char* digits, int point, int fractionLimit, int fractionZeros, bool field, Digits& d) {
  const int length = static_cast<int>(std::strlen(digits));
  d.integer.clear();
  for (int i = 0; i < point && i < length; ++i)
    if (field || !d.integer.empty() || digits[i] != '0') d.integer += digits[i];
  if (length < point && !d.integer.empty()) d.integer.append(static_cast<size_t>(point - length), '0');
  d.fraction.clear();
  for (int i = point; i < 0 && static_cast<int>(d.fraction.size()) < fractionLimit; ++i) d.fraction += '0';
  for (int i = point < 0 ? 0 : point; i < length && static_cast<int>(d.fraction.size()) < fractionLimit; ++i)
    d.fraction += digits[i];
  const size_t keep = field ? 0 : static_cast<size_t>(fractionZeros);
  while (d.fraction.size() > keep && d.fraction.back() == '0') d.fraction.pop_back();
}

// Rounds half up to `places` fraction digits (all of them when negative),
// carrying through nines into the integer digits.
void roundFraction(Digits& d, int places) {
  if (places < 0 || d.fraction.size() <= static_cast<size_t>(places)) return;
  const bool up = d.fraction[places] >= '5';
  d.fraction.resize(places);
  if (!up) return;
  size_t i = d.fraction.size();
  while (i > 0 && d.fraction[i - 1] == '9') d.fraction[--i] = '0';
  if (i > 0) {
    ++d.fraction[i - 1];
    return;
  }
  i = d.integer.size();
  while (i > 0 && d.integer[i - 1] == '9') d.integer[--i] = '0';
  if (i > 0)
    ++d.integer[i - 1];
  else
    d.integer.insert(d.integer.begin(), '1');
}

// Answers a laid text: whole when it fits into outSize - 1 characters,
// else '#'s, or (cut) the part that fits with the full length answered.
int answer(const std::string& text, const Layout& layout, char* out, int outSize) {
  const size_t room = static_cast<size_t>(outSize - 1);
  if (text.size() <= room) {
    std::memcpy(out, text.c_str(), text.size() + 1);
    return static_cast<int>(text.size());
  }
  if (layout.cut) {
    std::memcpy(out, text.data(), room);
    out[room] = 0;
    return text.size() > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(text.size());
  }
  std::memset(out, '#', room);
  out[room] = 0;
  return outSize - 1;
}

// Writes the whole number.
int writeNumber(const Section& s, bool signNeeded, const Digits& d, const Layout& layout, char* out, int outSize) {
  const HCtlNumberState& st = s.state;
  const bool literals = !layout.editForm;
  std::string text;
  text.reserve(d.integer.size() * 4 / 3 + d.fraction.size() + s.tokens.size() + 8);
  writeIntegerReversed(s, Part::integer, d.integer, st.grouping && !layout.editForm, literals, layout, text);
  if (signNeeded) text += '-';
  std::reverse(text.begin(), text.end());
  // The control shows the separator only when fraction digits follow: "2"
  // rather than "2." for a whole number under a picture without required
  // decimals. The field shows the picture's point.
  if (layout.field ? st.hasPoint : !d.fraction.empty() || st.fraction.zeros > 0)
    text += layout.field ? '.' : HCtlIntlSettings().decimalSep;
  writeFraction(s, d.fraction, literals, text);
  if (st.hasExponent && !layout.editForm) {
    for (const Token& t : s.tokens)
      if (t.kind == 'E') text += t.ch;
    if (d.exponent < 0) text += '-';
    else if (st.exponentSign) text += '+';
    std::string digits;
    for (unsigned e = static_cast<unsigned>(d.exponent < 0 ? -d.exponent : d.exponent); e; e /= 10)
      digits += static_cast<char>('0' + e % 10);
    std::reverse(digits.begin(), digits.end());
    const size_t start = text.size();
    writeIntegerReversed(s, Part::exponent, digits, false, literals, layout, text);
    std::reverse(text.begin() + static_cast<std::ptrdiff_t>(start), text.end());
  }
  return answer(text, layout, out, outSize);
}

int writeText(const char* text, char* out, int outSize) { return answer(text, Layout{}, out, outSize); }

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
  const SectionRef read = sectionOf(picture, negative, strict);
  if (state) *state = read->section.state;
  return (picture && *picture ? picture : kDefaultPicture) + read->offset;
}

int HCtlFormatDecimalText(const char* digits, int point, int negative, const char* picture, char* out, int outSize,
                          int flags) {
  if (!out || outSize < 2) return 0;
  if (!digits) return -1;
  for (const char* p = digits; *p; ++p)
    if (!HCtlIsDigit(*p)) return -1;
  Layout layout;
  layout.editForm = (flags & HCTL_DECIMAL_EDITFORM) != 0;
  layout.field = (flags & HCTL_DECIMAL_FIELD) != 0;
  layout.cut = (flags & HCTL_DECIMAL_CUT) != 0;
  const SectionRef read = sectionOf(picture, negative && !layout.editForm, layout.editForm, layout.field);
  const Section& s = read->section;
  const bool signNeeded = layout.editForm ? negative != 0 : s.state.signNeeded;
  if (s.state.hasExponent && !layout.editForm) return -1;
  Digits d;
  splitDigits(digits, point, INT_MAX, s.state.fraction.zeros, layout.field, d);
  if (flags & HCTL_DECIMAL_ROUND) {
    roundFraction(d, s.state.hasPoint ? s.state.fraction.maxDigits : 0);
    const size_t keep = layout.field ? 0 : static_cast<size_t>(s.state.fraction.zeros);
    while (d.fraction.size() > keep && d.fraction.back() == '0') d.fraction.pop_back();
  }
  return writeNumber(s, signNeeded, d, layout, out, outSize);
}

int HCtlFormatDouble(double value, const char* picture, char* out, int outSize, int editForm) {
  if (!out || outSize < 2) return 0;
  if (std::isnan(value)) return writeText("1.#QNAN", out, outSize);
  if (std::isinf(value)) return writeText(value > 0 ? "+1.#INF" : "-1.#INF", out, outSize);
  const bool negative = value < 0;
  // The edit form reads the picture strictly and always signs with '-'.
  const SectionRef read = sectionOf(picture, negative && !editForm, editForm);
  const Section& s = read->section;
  const bool signNeeded = editForm ? negative : s.state.signNeeded;
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
    splitDigits(digits, integerDigits, fractionLimit, st.fraction.zeros, false, d);
  } else {
    const char* digits = _fcvt(magnitude, fractionLimit, &point, &sign);
    splitDigits(digits, point, fractionLimit, st.fraction.zeros, false, d);
  }
  Layout layout;
  layout.editForm = editForm != 0;
  return writeNumber(s, signNeeded, d, layout, out, outSize);
}

int HCtlFormatInt64(int64_t value, const char* picture, char* out, int outSize, int* negative, int editForm) {
  if (negative) *negative = value < 0;
  if (!out || outSize < 2) return 0;
  const SectionRef read = sectionOf(picture, value < 0 && !editForm, editForm);
  const Section& s = read->section;
  if (s.state.hasExponent && !editForm)
    return HCtlFormatDouble(static_cast<double>(value), picture, out, outSize, editForm);
  const bool signNeeded = editForm ? value < 0 : s.state.signNeeded;
  // The magnitude as unsigned: -2^63 has no positive int64.
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  Digits d;
  for (; magnitude; magnitude /= 10) d.integer += static_cast<char>('0' + magnitude % 10);
  std::reverse(d.integer.begin(), d.integer.end());
  Layout layout;
  layout.editForm = editForm != 0;
  return writeNumber(s, signNeeded, d, layout, out, outSize);
}

// --- number texts -----------------------------------------------------------

namespace {

bool literalOf(const Section& s, char c) {
  for (const Token& t : s.tokens)
    if (t.kind == 'L' && t.ch == c) return true;
  return false;
}

// The text reduced to "[-]digits[.digits][e[-]digits]"; false when it holds
// a character that belongs to no number of the picture.
bool cleanNumber(const char* text, const char* picture, char* clean, int cleanSize, bool* shownNegative) {
  const HCtlIntl& intl = HCtlIntlSettings();
  SectionRef positiveRead, negativeRead;
  const bool hasPicture = picture && *picture;
  bool hasNegativeSection = false;
  if (hasPicture) {
    positiveRead = sectionOf(picture, 0, 0);
    const char* end = sectionEnd(picture);
    hasNegativeSection = *end == ';' && end[1] && end[1] != ';';
    if (hasNegativeSection) negativeRead = sectionOf(picture, 1, 0);
  }
  static const Section none;
  const Section& positive = positiveRead ? positiveRead->section : none;
  const Section& negative = negativeRead ? negativeRead->section : none;
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
