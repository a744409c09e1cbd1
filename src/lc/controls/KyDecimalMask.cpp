// The fixed-decimal mask and the decimal text rules (KyDecimalMask.h).
#include "KyDecimalMask.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "KyFixedDecFld.h"
#include "KyLocale.h"
#include "KyNumberText.h"

namespace {

struct NamedColor {
  const char* name;
  COLORREF color;
};

// Names are matched as written (upper case).
constexpr NamedColor kNegativeColors[] = {
    {"RED", 0x0000FF},    {"GREEN", 0x00FF00},   {"BLUE", 0xFF0000},   {"WHITE", 0xFFFFFF},
    {"YELLOW", 0x00FFFF}, {"MAGENTA", 0xFF00FF}, {"CYAN", 0xFFFF00},   {"GRAY", 0x808080},
    {"LGRAY", 0xC0C0C0},  {"DKRED", 0x000080},   {"DKGREEN", 0x008000}, {"DKBLUE", 0x800000},
    {"OLIVE", 0x008080},  {"PURPLE", 0x800080},  {"DRAB", 0x808000},
};
constexpr size_t kLongestColorName = 10;

COLORREF namedColor(const std::string& name) {
  if (name.size() >= kLongestColorName) return 0;
  for (const NamedColor& c : kNegativeColors)
    if (name == c.name) return c.color;
  return 0;
}

// The RGB group that the last '[' opens: up to three fields of up to three
// digits. False (no colour) when a field is longer: a damaged resource
// must not stop the program.
bool readRgbGroup(const std::string& mask, COLORREF& color) {
  const size_t open = mask.rfind('[');
  if (open == std::string::npos) return false;
  int parts[3] = {0, 0, 0};
  int part = 0;
  std::string field;
  for (size_t i = open + 1; i < mask.size() && part < 3; ++i) {
    const char c = mask[i];
    if (c >= '0' && c <= '9') {
      field += c;
      if (field.size() > 3) return false;
      continue;
    }
    parts[part++] = std::atoi(field.c_str());
    field.clear();
    if (c != ',') break;
  }
  color = static_cast<COLORREF>(parts[0] | parts[1] << 8 | parts[2] << 16);
  return true;
}

// The picture without its bracket groups (colour markup is never shown).
std::string withoutGroups(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      out += text[i];
      out += text[++i];
      continue;
    }
    if (text[i] == '[') {
      const size_t close = text.find(']', i);
      if (close != std::string::npos) {
        i = close;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

bool isDigitPlace(char c) { return c == '#' || c == '0' || c == '*'; }

}  // namespace

KyDecimalMask KyDecimalMask::Parse(const char* pszMask) {
  std::string text = pszMask && *pszMask ? pszMask : kDefault;
  if (text.size() >= 3 && text[0] == '%') text.erase(0, 3);
  KyDecimalMask mask;
  COLORREF rgb = 0;
  if (readRgbGroup(text, rgb)) mask.positiveColor = mask.negativeColor = rgb;
  const size_t semicolon = text.find(';');
  mask.positive = withoutGroups(text.substr(0, semicolon));
  if (semicolon == std::string::npos) {
    mask.negative = mask.positive;
    return mask;
  }
  std::string rest = text.substr(semicolon + 1);
  size_t at = 0;
  while (at < rest.size() && rest[at] == '[') {
    const size_t close = rest.find(']', at);
    if (close == std::string::npos) break;
    mask.negativeColor = namedColor(rest.substr(at + 1, close - at - 1));
    at = close + 1;
  }
  mask.negative = withoutGroups(rest.substr(at));
  return mask;
}

int KyDecimalMask::FractionPlaces() const {
  const size_t point = positive.find('.');
  if (point == std::string::npos) return -1;
  int places = 0;
  for (size_t i = point + 1; i < positive.size() && isDigitPlace(positive[i]); ++i) ++places;
  return places;
}

int KyDecimalMask::IntegerPlaces() const {
  int places = 0;
  for (char c : positive.substr(0, positive.find('.')))
    if (isDigitPlace(c)) ++places;
  return places;
}

std::string KyDecimalMask::Format(const std::string& decimalText) const {
  // Both sections go to the formatter so that it chooses by the sign and
  // adds no sign of its own to the negative one.
  const std::string picture = positive + ";" + negative;
  KyFixedDecFld field;
  field.SetValue(KyFixedDecImpl(decimalText.c_str()));
  // Room for every digit a fixed decimal holds and the picture's literals.
  std::string out(picture.size() + 160, '\0');
  const int length = KyFixedDecFld::FormatToBuffer(field, picture.c_str(), out.data(), static_cast<int>(out.size()), 0);
  out.resize(static_cast<size_t>(length > 0 ? length : 0));
  return out;
}

std::string KyToIntlNumber(const std::string& text) {
  CString out(text.c_str());
  if (const KyLocale* pLocale = KyCurrentLocale()) pLocale->ToIntlNumber(out);
  return std::string(out);
}

std::string KyFromIntlNumber(const std::string& text) {
  CString out(text.c_str());
  if (const KyLocale* pLocale = KyCurrentLocale()) pLocale->FromIntlNumber(out);
  return std::string(out);
}

std::string KyCleanDecimalText(const char* pszText) {
  std::string out;
  for (const char* p = pszText ? pszText : ""; *p; ++p)
    if ((*p >= '0' && *p <= '9') || *p == '-' || *p == '.') out += *p;
  if (out.empty() || out == "-" || out == ".") return "0.0";
  return out;
}

bool KyIsValidDecimalText(const char* pszText, bool* pfTypingError) {
  if (pfTypingError) *pfTypingError = false;
  const std::string text = pszText ? pszText : "";
  if (text.find(".,") != std::string::npos || text.find("--") != std::string::npos) {
    if (pfTypingError) *pfTypingError = true;
    return false;
  }
  bool digits = false, point = false;
  size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return true;
  if (text[i] == '-') ++i;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else if (c != ',' && c != ' ') {
      return false;
    }
  }
  // "-" and "." alone read as zero.
  return digits || text.find_first_not_of(" -.") == std::string::npos;
}

bool KyIsNegativeDecimal(const std::string& clean) {
  const KyFixedDecImpl value(clean.c_str());
  return value.Number().state == 0 && value < KyFixedDecImpl(0);
}

std::string KyStepDecimal(const std::string& value, const KyFixedDecImpl& increment, bool fUp,
                          const KyFixedDecImpl& minimum, const KyFixedDecImpl& maximum, int iPlaces) {
  const KyFixedDecImpl current(KyCleanDecimalText(value.c_str()).c_str());
  KyFixedDecImpl result = fUp ? current + increment : current - increment;
  const KyFixedDecImpl zero(0);
  if (minimum != zero || maximum != zero) {
    if (result < minimum) result = minimum;
    if (result > maximum) result = maximum;
  }
  if (iPlaces >= 0) result = round(result, iPlaces);
  return toString(result).GetString();
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The shown text's digits on each side of its decimal point, and where
// the caret stands among them.
struct ShownDigits {
  std::string integer, fraction;
  bool inFraction = false;
  int digits = 0;
};

ShownDigits shownDigits(const std::string& shown, int caret) {
  ShownDigits d;
  const size_t point = shown.find('.');
  for (size_t i = 0; i < shown.size(); ++i) {
    if (!isDigit(shown[i])) continue;
    const bool fraction = point != std::string::npos && i > point;
    (fraction ? d.fraction : d.integer).push_back(shown[i]);
    if (fraction && static_cast<int>(i) < caret) ++d.digits;
    if (!fraction && static_cast<int>(i) >= caret) ++d.digits;
  }
  d.inFraction = point != std::string::npos && caret > static_cast<int>(point);
  if (d.inFraction) d.digits = std::min<int>(d.digits, static_cast<int>(d.fraction.size()));
  return d;
}

size_t significantDigits(const std::string& integer) {
  const size_t first = integer.find_first_not_of('0');
  return first == std::string::npos ? 0 : integer.size() - first;
}

}  // namespace

bool KyTypeDecimalKey(const KyDecimalMask& mask, const std::string& shown, int caret, bool negative, char key,
                      KyDecimalTyping& typed) {
  ShownDigits d = shownDigits(shown, std::max(caret, 0));
  const int pictureFraction = mask.FractionPlaces();
  // A point without digit places after it sets no limit; no point, no fraction.
  const int fractionPlaces = pictureFraction < 0 ? 0 : (pictureFraction == 0 ? 13 : pictureFraction);
  const size_t integerPlaces =
      static_cast<size_t>(std::max(mask.IntegerPlaces(), KyFixedDecimal::kDigits - fractionPlaces));
  const auto integerAt = d.integer.size() - static_cast<size_t>(d.digits);  // the digit under the caret
  if (isDigit(key) || key == ' ') {
    const char digit = key == ' ' ? '0' : key;
    if (!d.inFraction && d.digits > 0) {
      d.integer[integerAt] = digit;
      --d.digits;
    } else if (!d.inFraction) {
      if (key == ' ') return false;
      if (d.integer == "0") d.integer.clear();
      d.integer.push_back(digit);
      if (significantDigits(d.integer) > integerPlaces) return false;
    } else if (d.digits < static_cast<int>(d.fraction.size())) {
      d.fraction[static_cast<size_t>(d.digits++)] = digit;
    } else {
      if (key == ' ' || static_cast<int>(d.fraction.size()) >= fractionPlaces) return false;
      d.fraction.push_back(digit);
      ++d.digits;
    }
  } else if (key == '.') {
    if (d.inFraction || fractionPlaces == 0) return false;
    for (size_t i = integerAt; i < d.integer.size(); ++i) d.integer[i] = '0';
    d.inFraction = true;
    d.digits = 0;
  } else if (key == '-') {
    negative = !negative;
  } else {
    return false;
  }
  typed.negative = negative;
  typed.inFraction = d.inFraction;
  typed.digits = d.digits;
  typed.clean = (negative ? "-" : "") + (d.integer.empty() ? std::string("0") : d.integer) + "." +
                (d.fraction.empty() ? std::string("0") : d.fraction);
  return true;
}

int KyDecimalCaret(const std::string& shown, const KyDecimalTyping& typed) {
  const size_t point = shown.find('.');
  const size_t integerEnd = point == std::string::npos ? shown.size() : point;
  if (typed.inFraction && point != std::string::npos) {
    int left = typed.digits;
    size_t at = point + 1;
    while (at < shown.size() && left > 0) {
      if (isDigit(shown[at])) --left;
      ++at;
    }
    return static_cast<int>(at);
  }
  // Integer digits right of the caret: the caret stands before the
  // typed.digits-th digit counted back from the end of the integer part.
  int right = typed.digits;
  size_t at = integerEnd;
  while (at > 0 && right > 0) {
    --at;
    if (isDigit(shown[at])) --right;
  }
  return static_cast<int>(at);
}
