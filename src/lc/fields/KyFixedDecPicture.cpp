// Laying a fixed-decimal value into a display picture (see the header).
#include "KyFixedDecPicture.h"

#include <algorithm>
#include <vector>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// One picture character as the laying sees it.
struct PictureToken {
  enum Kind { Place, Point, Silent, Literal } kind;
  char ch;  // the place character ('#', '0', '*') or the literal
};

struct Section {
  std::vector<PictureToken> integer;   // before the point, left to right
  std::vector<PictureToken> fraction;  // after it
  bool hasPoint = false;
  bool grouping = false;
  bool exponent = false;
};

// The end of the section that starts at p: the first ';' that is not
// escaped.
const char* sectionEnd(const char* p) {
  for (; *p && *p != ';'; ++p)
    if (*p == '\\' && p[1]) ++p;
  return p;
}

Section readSection(const char* first, const char* last) {
  Section section;
  // Colour prefixes ("[RED]", "[255,0,0]") show nothing.
  while (first < last && *first == '[') {
    const char* close = std::find(first, last, ']');
    first = close < last ? close + 1 : last;
  }
  bool afterPlace = false;
  for (const char* p = first; p < last; ++p) {
    std::vector<PictureToken>& part = section.hasPoint ? section.fraction : section.integer;
    const char c = *p;
    if (c == '\\' && p + 1 < last) {
      part.push_back({PictureToken::Literal, *++p});
      afterPlace = false;
      continue;
    }
    // An exponent letter right after a digit place and before a sign or a
    // place starts an exponent part.
    if (afterPlace && (c == 'e' || c == 'E' || c == 'd' || c == 'D') && p + 1 < last &&
        (p[1] == '+' || p[1] == '-' || p[1] == '#' || p[1] == '0'))
      section.exponent = true;
    afterPlace = c == '#' || c == '0' || c == '*';
    if (afterPlace) {
      part.push_back({PictureToken::Place, c});
    } else if (c == '.' && !section.hasPoint) {
      section.hasPoint = true;
    } else if (c == ',') {
      section.grouping = true;
      part.push_back({PictureToken::Silent, c});
    } else if (c == '+') {
      part.push_back({PictureToken::Silent, c});
    } else {
      part.push_back({PictureToken::Literal, c});
    }
  }
  return section;
}

// Rounds the digits half up to `places` fraction digits, carrying through
// nines into the integer digits; then drops fraction zeros at the end.
void roundFraction(std::string& integer, std::string& fraction, size_t places) {
  if (fraction.size() > places) {
    const bool up = fraction[places] >= '5';
    fraction.resize(places);
    if (up) {
      std::string all = integer + fraction;
      size_t i = all.size();
      while (i > 0 && all[i - 1] == '9') all[--i] = '0';
      if (i > 0)
        ++all[i - 1];
      else
        all.insert(all.begin(), '1');
      integer = all.substr(0, all.size() - places);
      fraction = all.substr(all.size() - places);
    }
  }
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
}

// The integer part laid right to left, then reversed.
std::string layInteger(const Section& section, const std::string& digits) {
  const std::vector<PictureToken>& tokens = section.integer;
  int leftmostPlace = -1;
  int forced = 0;
  for (int i = 0; i < static_cast<int>(tokens.size()); ++i) {
    if (tokens[i].kind != PictureToken::Place) continue;
    if (leftmostPlace < 0) leftmostPlace = i;
    if (tokens[i].ch == '0') ++forced;
  }
  std::string reversed;
  size_t remaining = digits.size();
  int placed = 0;
  auto put = [&](char c) {
    reversed += c;
    ++placed;
    if (section.grouping && placed % 3 == 0 && (remaining > 0 || forced > 0)) reversed += ',';
  };
  auto putRemaining = [&] {
    while (remaining > 0) put(digits[--remaining]);
  };
  // Without any place the digits stand right before the point.
  if (leftmostPlace < 0) putRemaining();
  for (int i = static_cast<int>(tokens.size()) - 1; i >= 0; --i) {
    const PictureToken& token = tokens[i];
    if (token.kind == PictureToken::Literal) {
      reversed += token.ch;
    } else if (token.kind == PictureToken::Place) {
      if (token.ch == '0') --forced;
      if (remaining > 0)
        put(digits[--remaining]);
      else if (token.ch == '0')
        put('0');
      if (i == leftmostPlace) putRemaining();
    }
  }
  return std::string(reversed.rbegin(), reversed.rend());
}

std::string layFraction(const Section& section, const std::string& digits) {
  std::string out;
  size_t next = 0;
  for (const PictureToken& token : section.fraction) {
    if (token.kind == PictureToken::Literal) {
      out += token.ch;
    } else if (token.kind == PictureToken::Place) {
      if (token.ch == '*') {
        out.append(digits, next);
        next = digits.size();
      } else if (next < digits.size()) {
        out += digits[next++];
      } else if (token.ch == '0') {
        out += '0';
      }
    }
  }
  return out;
}

// The fraction places of a section; SIZE_MAX when a '*' leaves them open.
size_t fractionPlaces(const Section& section) {
  size_t places = 0;
  for (const PictureToken& token : section.fraction) {
    if (token.kind != PictureToken::Place) continue;
    if (token.ch == '*') return static_cast<size_t>(-1);
    ++places;
  }
  return places;
}

}  // namespace

bool KyLayDecimalInPicture(std::string_view value, const char* pszPicture, std::string& out) {
  // The value: an optional '-', digits, optionally '.' and more digits.
  const bool minus = !value.empty() && value.front() == '-';
  if (minus) value.remove_prefix(1);
  const size_t point = value.find('.');
  std::string integer(value.substr(0, point));
  std::string fraction(point == std::string_view::npos ? std::string_view() : value.substr(point + 1));
  if (integer.empty() || !std::all_of(integer.begin(), integer.end(), isDigit) ||
      !std::all_of(fraction.begin(), fraction.end(), isDigit))
    return false;
  // A negative zero ("-0.00") is not less than 0.
  const bool negative = minus && value.find_first_of("123456789") != std::string_view::npos;

  const char* picture = pszPicture ? pszPicture : "";
  if (!*picture) {
    out.assign(minus ? "-" : "");
    out.append(value);
    return true;
  }
  // An empty negative section counts as none.
  const char* positiveEnd = sectionEnd(picture);
  const bool hasNegativeSection = *positiveEnd == ';' && sectionEnd(positiveEnd + 1) != positiveEnd + 1;
  const char* first = picture;
  const char* last = positiveEnd;
  if (negative && hasNegativeSection) {
    first = positiveEnd + 1;
    last = sectionEnd(first);
  }
  const Section section = readSection(first, last);
  if (section.exponent) return false;

  roundFraction(integer, fraction, section.hasPoint ? fractionPlaces(section) : 0);
  out.assign(negative && !hasNegativeSection ? "-" : "");
  out += layInteger(section, integer);
  if (section.hasPoint) {
    out += '.';
    out += layFraction(section, fraction);
  }
  return true;
}
