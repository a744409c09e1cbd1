// Character types and simple case mapping of UTF-16 code units, for the
// scripts the supported code pages carry (see internal/codepage.h).
#include <internal/codepage.h>
#include <winnls.h>

#include <algorithm>
#include <iterator>

namespace win32 {
namespace {

constexpr WORD kUpper = C1_UPPER | C1_ALPHA | C1_DEFINED;
constexpr WORD kLower = C1_LOWER | C1_ALPHA | C1_DEFINED;
constexpr WORD kLetter = C1_ALPHA | C1_DEFINED;
constexpr WORD kPunct = C1_PUNCT | C1_DEFINED;
constexpr WORD kBlank = C1_SPACE | C1_BLANK | C1_DEFINED;

bool between(char16_t c, char16_t first, char16_t last) { return c >= first && c <= last; }

// Accented Latin letters and ligatures by their lower-case form.
struct DecomposedLetter {
  char16_t lower;
  LatinLetter letter;
};

constexpr DecomposedLetter kDecomposed[] = {
    {0x00DF, {'s', 's', kNoAccent}},   {0x00E0, {'a', 0, kGrave}},      {0x00E1, {'a', 0, kAcute}},
    {0x00E2, {'a', 0, kCircumflex}},   {0x00E3, {'a', 0, kTilde}},      {0x00E4, {'a', 0, kDiaeresis}},
    {0x00E5, {'a', 0, kRing}},         {0x00E6, {'a', 'e', kNoAccent}}, {0x00E7, {'c', 0, kCedilla}},
    {0x00E8, {'e', 0, kGrave}},        {0x00E9, {'e', 0, kAcute}},      {0x00EA, {'e', 0, kCircumflex}},
    {0x00EB, {'e', 0, kDiaeresis}},    {0x00EC, {'i', 0, kGrave}},      {0x00ED, {'i', 0, kAcute}},
    {0x00EE, {'i', 0, kCircumflex}},   {0x00EF, {'i', 0, kDiaeresis}},  {0x00F0, {'d', 0, kStroke}},
    {0x00F1, {'n', 0, kTilde}},        {0x00F2, {'o', 0, kGrave}},      {0x00F3, {'o', 0, kAcute}},
    {0x00F4, {'o', 0, kCircumflex}},   {0x00F5, {'o', 0, kTilde}},      {0x00F6, {'o', 0, kDiaeresis}},
    {0x00F8, {'o', 0, kStroke}},       {0x00F9, {'u', 0, kGrave}},      {0x00FA, {'u', 0, kAcute}},
    {0x00FB, {'u', 0, kCircumflex}},   {0x00FC, {'u', 0, kDiaeresis}},  {0x00FD, {'y', 0, kAcute}},
    {0x00FF, {'y', 0, kDiaeresis}},    {0x0101, {'a', 0, kMacron}},     {0x0103, {'a', 0, kBreve}},
    {0x0105, {'a', 0, kOgonek}},       {0x0107, {'c', 0, kAcute}},      {0x0109, {'c', 0, kCircumflex}},
    {0x010B, {'c', 0, kDot}},          {0x010D, {'c', 0, kCaron}},      {0x010F, {'d', 0, kCaron}},
    {0x0111, {'d', 0, kStroke}},       {0x0113, {'e', 0, kMacron}},     {0x0115, {'e', 0, kBreve}},
    {0x0117, {'e', 0, kDot}},          {0x0119, {'e', 0, kOgonek}},     {0x011B, {'e', 0, kCaron}},
    {0x011D, {'g', 0, kCircumflex}},   {0x011F, {'g', 0, kBreve}},      {0x0121, {'g', 0, kDot}},
    {0x0123, {'g', 0, kCedilla}},      {0x0125, {'h', 0, kCircumflex}}, {0x0127, {'h', 0, kStroke}},
    {0x0129, {'i', 0, kTilde}},        {0x012B, {'i', 0, kMacron}},     {0x012D, {'i', 0, kBreve}},
    {0x012F, {'i', 0, kOgonek}},       {0x0131, {'i', 0, kDot}},        {0x0133, {'i', 'j', kNoAccent}},
    {0x0135, {'j', 0, kCircumflex}},   {0x0137, {'k', 0, kCedilla}},    {0x013A, {'l', 0, kAcute}},
    {0x013C, {'l', 0, kCedilla}},      {0x013E, {'l', 0, kCaron}},      {0x0140, {'l', 0, kDot}},
    {0x0142, {'l', 0, kStroke}},       {0x0144, {'n', 0, kAcute}},      {0x0146, {'n', 0, kCedilla}},
    {0x0148, {'n', 0, kCaron}},        {0x014D, {'o', 0, kMacron}},     {0x014F, {'o', 0, kBreve}},
    {0x0151, {'o', 0, kDoubleAcute}},  {0x0153, {'o', 'e', kNoAccent}}, {0x0155, {'r', 0, kAcute}},
    {0x0157, {'r', 0, kCedilla}},      {0x0159, {'r', 0, kCaron}},      {0x015B, {'s', 0, kAcute}},
    {0x015D, {'s', 0, kCircumflex}},   {0x015F, {'s', 0, kCedilla}},    {0x0161, {'s', 0, kCaron}},
    {0x0163, {'t', 0, kCedilla}},      {0x0165, {'t', 0, kCaron}},      {0x0167, {'t', 0, kStroke}},
    {0x0169, {'u', 0, kTilde}},        {0x016B, {'u', 0, kMacron}},     {0x016D, {'u', 0, kBreve}},
    {0x016F, {'u', 0, kRing}},         {0x0171, {'u', 0, kDoubleAcute}}, {0x0173, {'u', 0, kOgonek}},
    {0x0175, {'w', 0, kCircumflex}},   {0x0177, {'y', 0, kCircumflex}}, {0x017A, {'z', 0, kAcute}},
    {0x017C, {'z', 0, kDot}},          {0x017E, {'z', 0, kCaron}},      {0x017F, {'s', 0, kNoAccent}},
    {0x0192, {'f', 0, kHook}},
};

constexpr bool sortedByCode() {
  for (size_t i = 1; i < std::size(kDecomposed); ++i)
    if (kDecomposed[i - 1].lower >= kDecomposed[i].lower) return false;
  return true;
}
static_assert(sortedByCode(), "decomposeLatin searches the table by halves");


// Latin Extended-A alternates upper and lower case in pairs, starting on an
// even code in some runs and on an odd code in others.
enum class Pairing { None, EvenUpper, OddUpper };

Pairing latinExtendedPairing(char16_t c) {
  if (between(c, 0x0100, 0x0137) || between(c, 0x014A, 0x0177)) return Pairing::EvenUpper;
  if (between(c, 0x0139, 0x0148) || between(c, 0x0179, 0x017E)) return Pairing::OddUpper;
  return Pairing::None;
}

WORD asciiType(char16_t c) {
  if (c < 0x20 || c == 0x7F) {
    WORD t = C1_CNTRL | C1_DEFINED;
    if (between(c, 0x09, 0x0D)) t |= C1_SPACE;
    if (c == 0x09) t |= C1_BLANK;
    return t;
  }
  if (c == 0x20) return kBlank;
  if (between(c, '0', '9')) return C1_DIGIT | C1_XDIGIT | C1_DEFINED;
  if (between(c, 'A', 'Z')) return kUpper | (c <= 'F' ? C1_XDIGIT : 0);
  if (between(c, 'a', 'z')) return kLower | (c <= 'f' ? C1_XDIGIT : 0);
  return kPunct;
}

WORD latin1Type(char16_t c) {
  if (c <= 0x9F) return C1_CNTRL | C1_DEFINED;
  if (c == 0xA0) return kBlank;
  if (c == 0xAA || c == 0xBA) return kLetter;  // ordinal indicators: letters without case
  if (c == 0xB5) return kLower;
  if (c == 0xB2 || c == 0xB3 || c == 0xB9) return C1_DIGIT | C1_PUNCT | C1_DEFINED;
  if (c <= 0xBF || c == 0xD7 || c == 0xF7) return kPunct;
  return c <= 0xDE ? kUpper : kLower;
}

WORD greekType(char16_t c) {
  if (c == 0x0386 || between(c, 0x0388, 0x038F) || between(c, 0x0391, 0x03AB)) return kUpper;
  if (between(c, 0x03AC, 0x03CE)) return kLower;
  return kPunct;
}

}  // namespace

WORD unicodeCharType(char16_t c) {
  if (c < 0x80) return asciiType(c);
  if (c < 0x100) return latin1Type(c);
  switch (latinExtendedPairing(c)) {
    case Pairing::EvenUpper: return (c % 2 == 0) ? kUpper : kLower;
    case Pairing::OddUpper: return (c % 2 == 1) ? kUpper : kLower;
    case Pairing::None: break;
  }
  if (c == 0x0178) return kUpper;
  if (between(c, 0x0138, 0x017F)) return kLower;  // ĸ ŉ ſ
  if (c == 0x0192) return kLower;                 // ƒ
  if (between(c, 0x0180, 0x024F)) return kLetter;
  if (between(c, 0x02B0, 0x02FF)) return kPunct;  // modifier letters such as ˆ ˜
  if (between(c, 0x0300, 0x036F)) return C1_DEFINED;  // combining marks
  if (between(c, 0x0370, 0x03FF)) return greekType(c);
  if (between(c, 0x0400, 0x042F)) return kUpper;
  if (between(c, 0x0430, 0x045F)) return kLower;
  if (between(c, 0x0460, 0x0481) || between(c, 0x048A, 0x04BF)) return (c % 2 == 0) ? kUpper : kLower;
  if (between(c, 0x0482, 0x0489)) return kPunct;
  if (between(c, 0x04C0, 0x04FF)) return kLetter;
  if (between(c, 0x2000, 0x200A) || c == 0x3000) return kBlank;
  if (c == 0x2028 || c == 0x2029) return C1_SPACE | C1_DEFINED;
  if (between(c, 0x200B, 0x200F)) return C1_DEFINED;
  if (between(c, 0x2010, 0x2BFF)) return kPunct;  // punctuation, currency, letterlike, arrows, symbols
  if (between(c, 0x3001, 0x3004) || between(c, 0x3008, 0x3020) || c == 0x30FB || c == 0x309B || c == 0x309C)
    return kPunct;
  if (between(c, 0x3005, 0x3007) || between(c, 0x3021, 0x303F) || between(c, 0x3041, 0x30FF) ||
      between(c, 0x3130, 0x318F) || between(c, 0x3400, 0x9FFF) || between(c, 0xAC00, 0xD7A3) ||
      between(c, 0xF900, 0xFAFF))
    return kLetter;
  if (between(c, 0xFF01, 0xFF5E)) return unicodeCharType(static_cast<char16_t>(c - 0xFEE0)) & ~C1_XDIGIT;
  if (between(c, 0xFF61, 0xFF65) || between(c, 0xFFE0, 0xFFEE)) return kPunct;
  if (between(c, 0xFF66, 0xFF9F)) return kLetter;  // half-width katakana
  if (between(c, 0xD800, 0xDFFF)) return 0;
  return C1_DEFINED;
}

char16_t unicodeToUpper(char16_t c) {
  if (between(c, 'a', 'z')) return c - 0x20;
  if (c < 0x80) return c;
  if (between(c, 0xE0, 0xFE) && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x0178;
  if (c < 0x100) return c;
  switch (latinExtendedPairing(c)) {
    case Pairing::EvenUpper: return c == 0x0131 ? u'I' : static_cast<char16_t>(c & ~1u);
    case Pairing::OddUpper: return (c % 2 == 0) ? c - 1 : c;
    case Pairing::None: break;
  }
  if (between(c, 0x03B1, 0x03CB) && c != 0x03C2) return c - 0x20;
  if (c == 0x03C2) return 0x03A3;  // final sigma
  if (c == 0x03AC) return 0x0386;
  if (between(c, 0x03AD, 0x03AF)) return c - 0x25;
  if (c == 0x03CC) return 0x038C;
  if (c == 0x03CD || c == 0x03CE) return c - 0x3F;
  if (between(c, 0x0430, 0x044F)) return c - 0x20;
  if (between(c, 0x0450, 0x045F)) return c - 0x50;
  if (between(c, 0x0460, 0x0481) || between(c, 0x048A, 0x04BF)) return static_cast<char16_t>(c & ~1u);
  if (between(c, 0xFF41, 0xFF5A)) return c - 0x20;
  return c;
}

char16_t unicodeToLower(char16_t c) {
  if (between(c, 'A', 'Z')) return c + 0x20;
  if (c < 0x80) return c;
  if (between(c, 0xC0, 0xDE) && c != 0xD7) return c + 0x20;
  if (c < 0x100) return c;
  if (c == 0x0178) return 0xFF;
  switch (latinExtendedPairing(c)) {
    case Pairing::EvenUpper: return c == 0x0130 ? u'i' : static_cast<char16_t>(c | 1u);
    case Pairing::OddUpper: return (c % 2 == 1) ? c + 1 : c;
    case Pairing::None: break;
  }
  if (between(c, 0x0391, 0x03AB)) return c + 0x20;
  if (c == 0x0386) return 0x03AC;
  if (between(c, 0x0388, 0x038A)) return c + 0x25;
  if (c == 0x038C) return 0x03CC;
  if (c == 0x038E || c == 0x038F) return c + 0x3F;
  if (between(c, 0x0410, 0x042F)) return c + 0x20;
  if (between(c, 0x0400, 0x040F)) return c + 0x50;
  if (between(c, 0x0460, 0x0481) || between(c, 0x048A, 0x04BF)) return static_cast<char16_t>(c | 1u);
  if (between(c, 0xFF21, 0xFF3A)) return c + 0x20;
  return c;
}

bool decomposeLatin(char16_t c, LatinLetter& letter) {
  const char16_t lower = unicodeToLower(c);
  const auto* end = std::end(kDecomposed);
  const auto* it = std::lower_bound(std::begin(kDecomposed), end, lower,
                                    [](const DecomposedLetter& d, char16_t key) { return d.lower < key; });
  if (it == end || it->lower != lower) return false;
  letter = it->letter;
  return true;
}

char16_t unicodeBestFit(char16_t c) {
  LatinLetter letter;
  if (decomposeLatin(c, letter) && !letter.second) {
    const bool upper = unicodeCharType(c) & C1_UPPER;
    return static_cast<char16_t>(upper ? letter.base - 'a' + 'A' : letter.base);
  }
  if (between(c, 0xFF01, 0xFF5E)) return static_cast<char16_t>(c - 0xFEE0);  // full-width ASCII
  if (c == 0x3000 || c == 0x00A0 || between(c, 0x2000, 0x200A)) return u' ';
  if (between(c, 0x2010, 0x2015) || c == 0x2212) return u'-';
  if (between(c, 0x2018, 0x201B) || c == 0x2032) return u'\'';
  if (between(c, 0x201C, 0x201F) || c == 0x2033) return u'"';
  if (c == 0x2039) return u'<';
  if (c == 0x203A) return u'>';
  return c;
}

}  // namespace win32
