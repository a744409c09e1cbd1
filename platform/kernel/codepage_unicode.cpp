// Character types and simple case mapping of UTF-16 code units, for the
// scripts the supported code pages carry (see internal/codepage.h).
#include <internal/codepage.h>
#include <winnls.h>

namespace win32 {
namespace {

constexpr WORD kUpper = C1_UPPER | C1_ALPHA | C1_DEFINED;
constexpr WORD kLower = C1_LOWER | C1_ALPHA | C1_DEFINED;
constexpr WORD kLetter = C1_ALPHA | C1_DEFINED;
constexpr WORD kPunct = C1_PUNCT | C1_DEFINED;
constexpr WORD kBlank = C1_SPACE | C1_BLANK | C1_DEFINED;

bool between(char16_t c, char16_t first, char16_t last) { return c >= first && c <= last; }

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

}  // namespace win32
