// String comparison (CompareString), case mapping (LCMapString) and
// character types (GetStringType).
//
// The comparison approximates Windows' word sort: texts are compared as
// UTF-16 (the 8-bit forms convert from the ANSI code page first) by levels:
//   1. primary: control characters are ignored; symbols (ASCII ones in
//      Windows' order, with "+<=>" after "~"; others after them in
//      code-point order) before digits
//      before letters; a letter weighs as its base letter (é as e, æ as ae,
//      ß as ss, þ after z);
//   2. accents; 3. case, lower before upper; 4. kana type; 5. width;
//   6. in word sort (no SORT_STRINGSORT) '-', '\'' and the soft hyphen
//      weigh nothing above and decide only here, so "coop" < "co-op" < "cop".
// NORM_IGNORENONSPACE, NORM_IGNORECASE, NORM_IGNOREKANATYPE and
// NORM_IGNOREWIDTH drop levels 2 to 5; NORM_IGNORESYMBOLS drops symbols.
// English, German and French sort by this table, as on Windows. A locale
// with an order of its own (Japanese) compares through ICU's collator
// instead (compareTailored): the flags and the word-sort characters are
// applied to the texts first, so they mean the same in every locale.
#include "locale_collator.h"
#include "locale_ids.h"

#include <internal/codepage.h>
#include <winbase.h>
#include <winnls.h>

#include <cstring>
#include <string>
#include <vector>

namespace win32 {
namespace {

enum Group : uint32_t { kSymbolGroup = 1, kDigitGroup = 2, kLetterGroup = 3 };

struct Element {
  uint32_t primary = 0;
  uint8_t accent = 0;
  uint8_t upper = 0;
  uint8_t katakana = 0;
  uint8_t fullWidth = 0;
};

// The order of symbols: Windows sorts the ASCII ones as below (the math
// signs after the tilde); the rest follow in code-point order.
uint32_t symbolWeight(char16_t c) {
  static constexpr char kAsciiOrder[] = " !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>'-";
  if (c < 0x80)
    if (const char* at = std::strchr(kAsciiOrder, static_cast<char>(c)); at && c != 0)
      return static_cast<uint32_t>(at - kAsciiOrder);
  return 0x100u + c;
}

// Word-sort characters that weigh only at the last level: the character
// and where it stood.
struct Special {
  char16_t c;
  size_t position;
  auto operator<=>(const Special&) const = default;
};

struct Weights {
  std::vector<Element> elements;
  std::vector<Special> specials;
};

uint32_t letterWeight(char base) { return (kLetterGroup << 24) | static_cast<uint32_t>(base - 'a' + 1); }

bool isWordSortSpecial(char16_t c) { return c == u'-' || c == u'\'' || c == 0xAD; }

Weights weigh(std::u16string_view text, DWORD flags) {
  Weights w;
  const bool wordSort = !(flags & SORT_STRINGSORT);
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    Element e;
    if (c >= 0xFF01 && c <= 0xFF5E) {  // full-width forms weigh as ASCII, apart from width
      c = static_cast<char16_t>(c - 0xFEE0);
      e.fullWidth = 1;
    }
    if (c >= 0x30A1 && c <= 0x30F6) {  // katakana weighs as hiragana, apart from kana type
      c = static_cast<char16_t>(c - 0x60);
      e.katakana = 1;
    }
    const WORD type = unicodeCharType(c);
    if (type & C1_CNTRL) continue;
    if (c >= 0x0300 && c <= 0x036F) {  // a combining mark accents the character before it
      if (!w.elements.empty()) w.elements.back().accent = static_cast<uint8_t>(0x80 + (c - 0x0300));
      continue;
    }
    if (wordSort && isWordSortSpecial(c)) {
      if (!(flags & NORM_IGNORESYMBOLS)) w.specials.push_back({c, i});
      continue;
    }
    e.upper = (type & C1_UPPER) ? 1 : 0;
    const char16_t lower = unicodeToLower(c);
    if (c >= u'0' && c <= u'9') {
      e.primary = (kDigitGroup << 24) | (c - u'0');
    } else if (c == 0xB9 || c == 0xB2 || c == 0xB3) {
      e.primary = (kDigitGroup << 24) | (c == 0xB9 ? 1u : c - 0xB0u);
      e.accent = kHook;  // superscript digits weigh as digits with a mark
    } else if (lower >= u'a' && lower <= u'z') {
      e.primary = letterWeight(static_cast<char>(lower));
    } else if (lower == 0xFE) {  // þ sorts after z
      e.primary = letterWeight('z' + 1);
    } else if (LatinLetter l; decomposeLatin(c, l)) {
      e.primary = letterWeight(l.base);
      e.accent = l.accent;
      if (l.second) {
        w.elements.push_back(e);
        e.primary = letterWeight(l.second);
      }
    } else if (type & C1_ALPHA) {
      e.primary = (kLetterGroup << 24) | (0x100u + lower);
    } else {
      if (flags & NORM_IGNORESYMBOLS) continue;
      e.primary = (kSymbolGroup << 24) | symbolWeight(c);
    }
    w.elements.push_back(e);
  }
  return w;
}

// The text a collator compares under the flags, and the word-sort
// characters taken out of it.
struct Prepared {
  std::u16string text;
  std::vector<Special> specials;
};

Prepared prepare(std::u16string_view text, DWORD flags) {
  Prepared p;
  const bool wordSort = !(flags & SORT_STRINGSORT);
  std::u16string source = (flags & NORM_IGNOREWIDTH) ? withoutWidth(text) : std::u16string(text);
  if (flags & (NORM_IGNORENONSPACE | LINGUISTIC_IGNOREDIACRITIC)) source = withoutMarks(source);
  for (size_t i = 0; i < source.size(); ++i) {
    char16_t c = source[i];
    if (wordSort && isWordSortSpecial(c)) {
      if (!(flags & NORM_IGNORESYMBOLS)) p.specials.push_back({c, i});
      continue;
    }
    if ((flags & NORM_IGNOREKANATYPE) && c >= 0x30A1 && c <= 0x30F6) c = static_cast<char16_t>(c - 0x60);
    if (flags & (NORM_IGNORECASE | LINGUISTIC_IGNORECASE)) c = unicodeToLower(c);
    const WORD type = unicodeCharType(c);
    if (type & C1_CNTRL) continue;  // as in the default table: control characters weigh nothing
    if ((flags & NORM_IGNORESYMBOLS) && !(type & (C1_ALPHA | C1_DIGIT)) && !(c >= 0x0300 && c <= 0x036F)) continue;
    p.text += c;
  }
  return p;
}

int compareTailored(LCID concrete, std::u16string_view s1, std::u16string_view s2, DWORD flags) {
  const Prepared a = prepare(s1, flags), b = prepare(s2, flags);
  if (int r = collatorCompare(concrete, a.text, b.text)) return r;
  if (a.specials != b.specials) return a.specials < b.specials ? -1 : 1;
  return 0;
}

template <class Field>
int compareLevel(const Weights& a, const Weights& b, Field field) {
  const size_t n = std::min(a.elements.size(), b.elements.size());
  for (size_t i = 0; i < n; ++i) {
    const auto x = field(a.elements[i]), y = field(b.elements[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.elements.size() != b.elements.size()) return a.elements.size() < b.elements.size() ? -1 : 1;
  return 0;
}

int compareDefault(std::u16string_view s1, std::u16string_view s2, DWORD flags) {
  const Weights a = weigh(s1, flags), b = weigh(s2, flags);
  if (int r = compareLevel(a, b, [](const Element& e) { return e.primary; })) return r;
  const bool ignoreAccents = flags & (NORM_IGNORENONSPACE | LINGUISTIC_IGNOREDIACRITIC);
  const bool ignoreCase = flags & (NORM_IGNORECASE | LINGUISTIC_IGNORECASE);
  if (!ignoreAccents)
    if (int r = compareLevel(a, b, [](const Element& e) { return e.accent; })) return r;
  if (!ignoreCase)
    if (int r = compareLevel(a, b, [](const Element& e) { return e.upper; })) return r;
  if (!(flags & NORM_IGNOREKANATYPE))
    if (int r = compareLevel(a, b, [](const Element& e) { return e.katakana; })) return r;
  if (!(flags & NORM_IGNOREWIDTH))
    if (int r = compareLevel(a, b, [](const Element& e) { return e.fullWidth; })) return r;
  if (a.specials != b.specials) return a.specials < b.specials ? -1 : 1;
  return 0;
}

// The comparison of a locale: ICU's collator or the default table.
int compareTexts(LCID concrete, std::u16string_view s1, std::u16string_view s2, DWORD flags) {
  return hasOwnCollator(concrete) ? compareTailored(concrete, s1, s2, flags) : compareDefault(s1, s2, flags);
}

// --- the ASCII fast path ----------------------------------------------------
// Sorted list boxes compare thousands of short ASCII texts; converting each
// to UTF-16 and weighing it into vectors cost ten times the comparison.
// Texts of bytes below 0x80 are compared here without allocating. Each
// byte's weights are read once from weigh() itself, and the comparison walks
// the same levels as compareDefault, so both give the same answer for every
// flag: for ASCII the accent, kana and width levels are all zero.
struct AsciiWeight {
  enum Kind : uint8_t { kIgnored, kSpecial, kElement } kind = kIgnored;
  uint8_t upper = 0;
  uint32_t primary = 0;
};

// One table per pair of the flags that change ASCII weights:
// SORT_STRINGSORT (specials weigh as symbols) and NORM_IGNORESYMBOLS.
struct AsciiTables {
  bool usable = true;  // every byte below 0x80 is that same UTF-16 unit in the ANSI code page
  AsciiWeight weights[4][128];
};

int asciiTableIndex(DWORD flags) {
  return ((flags & SORT_STRINGSORT) ? 2 : 0) | ((flags & NORM_IGNORESYMBOLS) ? 1 : 0);
}

AsciiTables makeAsciiTables() {
  AsciiTables t;
  const DWORD variants[4] = {0, NORM_IGNORESYMBOLS, SORT_STRINGSORT, SORT_STRINGSORT | NORM_IGNORESYMBOLS};
  for (char16_t c = 0; c < 0x80; ++c) {
    const char byte = static_cast<char>(c);
    if (ansiToWide(std::string_view(&byte, 1)) != std::u16string(1, c)) t.usable = false;
    for (DWORD flags : variants) {
      const Weights w = weigh(std::u16string_view(&c, 1), flags);
      AsciiWeight& out = t.weights[asciiTableIndex(flags)][c];
      if (w.elements.size() == 1 && w.specials.empty()) {
        const Element& e = w.elements[0];
        if (e.accent || e.katakana || e.fullWidth) t.usable = false;
        out = {AsciiWeight::kElement, e.upper, e.primary};
      } else if (w.elements.empty() && w.specials.size() == 1) {
        out.kind = AsciiWeight::kSpecial;
      } else if (!w.elements.empty() || !w.specials.empty()) {
        t.usable = false;  // a byte weighing as several: leave it to the full path
      }
    }
  }
  return t;
}

const AsciiTables& asciiTables() {
  static const AsciiTables tables = makeAsciiTables();
  return tables;
}

bool isAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// compareDefault for two ASCII texts (isAscii), without conversion.
int compareAscii(std::string_view a, std::string_view b, const AsciiWeight* table, DWORD flags) {
  // The next position at or after `i` of a character of that kind, or the end.
  auto next = [&](std::string_view s, size_t i, AsciiWeight::Kind kind) {
    while (i < s.size() && table[static_cast<unsigned char>(s[i])].kind != kind) ++i;
    return i;
  };
  constexpr auto element = AsciiWeight::kElement, special = AsciiWeight::kSpecial;
  // Primary weights decide first; the first case difference decides next.
  int caseOrder = 0;
  size_t i = next(a, 0, element), j = next(b, 0, element);
  for (; i < a.size() || j < b.size(); i = next(a, i + 1, element), j = next(b, j + 1, element)) {
    if (i >= a.size()) return -1;
    if (j >= b.size()) return 1;
    const AsciiWeight& x = table[static_cast<unsigned char>(a[i])];
    const AsciiWeight& y = table[static_cast<unsigned char>(b[j])];
    if (x.primary != y.primary) return x.primary < y.primary ? -1 : 1;
    if (!caseOrder && x.upper != y.upper) caseOrder = x.upper < y.upper ? -1 : 1;
  }
  if (caseOrder && !(flags & (NORM_IGNORECASE | LINGUISTIC_IGNORECASE))) return caseOrder;
  // Word-sort specials: by character, then by where they stand.
  i = next(a, 0, special);
  j = next(b, 0, special);
  for (; i < a.size() || j < b.size(); i = next(a, i + 1, special), j = next(b, j + 1, special)) {
    if (i >= a.size()) return -1;
    if (j >= b.size()) return 1;
    if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
    if (i != j) return i < j ? -1 : 1;
  }
  return 0;
}

constexpr DWORD kCompareFlags = NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNORESYMBOLS | LINGUISTIC_IGNORECASE |
                                LINGUISTIC_IGNOREDIACRITIC | SORT_STRINGSORT | NORM_IGNOREKANATYPE |
                                NORM_IGNOREWIDTH | NORM_LINGUISTIC_CASING;

// Checks the common arguments; answers 0 or the Win32 error.
DWORD checkCompare(LCID locale, DWORD flags, const void* s1, const void* s2) {
  if (!s1 || !s2) return ERROR_INVALID_PARAMETER;
  if (flags & ~kCompareFlags) return ERROR_INVALID_FLAGS;
  if (!isSupportedLocale(locale, true)) return ERROR_INVALID_PARAMETER;
  return 0;
}

int toCompareResult(int r) { return r < 0 ? CSTR_LESS_THAN : r > 0 ? CSTR_GREATER_THAN : CSTR_EQUAL; }

std::string_view counted(const char* s, int count) {
  return std::string_view(s, count < 0 ? std::strlen(s) : static_cast<size_t>(count));
}

std::u16string_view counted(const WCHAR* s, int count) {
  if (count >= 0) return std::u16string_view(s, static_cast<size_t>(count));
  return std::u16string_view(s);
}

}  // namespace
}  // namespace win32

using namespace win32;

extern "C" int WINAPI CompareStringW(LCID Locale, DWORD dwCmpFlags, LPCWSTR lpString1, int cchCount1,
                                     LPCWSTR lpString2, int cchCount2) {
  if (DWORD error = checkCompare(Locale, dwCmpFlags, lpString1, lpString2)) {
    SetLastError(error);
    return 0;
  }
  return toCompareResult(compareTexts(resolveLocale(Locale, true), counted(lpString1, cchCount1),
                                      counted(lpString2, cchCount2), dwCmpFlags));
}

extern "C" int WINAPI CompareStringA(LCID Locale, DWORD dwCmpFlags, LPCSTR lpString1, int cchCount1,
                                     LPCSTR lpString2, int cchCount2) {
  if (DWORD error = checkCompare(Locale, dwCmpFlags, lpString1, lpString2)) {
    SetLastError(error);
    return 0;
  }
  const std::string_view text1 = counted(lpString1, cchCount1), text2 = counted(lpString2, cchCount2);
  const LCID concrete = resolveLocale(Locale, true);
  const AsciiTables& ascii = asciiTables();
  if (!hasOwnCollator(concrete) && ascii.usable && isAscii(text1) && isAscii(text2))
    return toCompareResult(compareAscii(text1, text2, ascii.weights[asciiTableIndex(dwCmpFlags)], dwCmpFlags));
  return toCompareResult(compareTexts(concrete, ansiToWide(text1), ansiToWide(text2), dwCmpFlags));
}

extern "C" int WINAPI LCMapStringA(LCID Locale, DWORD dwMapFlags, LPCSTR lpSrcStr, int cchSrc, LPSTR lpDestStr,
                                   int cchDest) {
  if (!lpSrcStr || cchSrc == 0 || cchDest < 0 || (cchDest && !lpDestStr) || !isSupportedLocale(Locale, true)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // Only case mapping: one of the two case flags, nothing else.
  const DWORD caseFlag = dwMapFlags & ~static_cast<DWORD>(LOCALE_USE_CP_ACP);
  if (caseFlag != LCMAP_UPPERCASE && caseFlag != LCMAP_LOWERCASE) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  // A count of -1 takes the terminator with the text.
  const size_t length = cchSrc < 0 ? std::strlen(lpSrcStr) + 1 : static_cast<size_t>(cchSrc);
  if (cchDest == 0) return static_cast<int>(length);
  if (static_cast<size_t>(cchDest) < length) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::string mapped(lpSrcStr, length);  // the source may be the destination
  for (size_t i = 0; i < length; ++i) {
    const auto c = static_cast<unsigned char>(mapped[i]);
    if (isAnsiLeadByte(c) && i + 1 < length) {
      ++i;  // a double-byte character keeps both bytes
      continue;
    }
    mapped[i] = static_cast<char>(caseFlag == LCMAP_UPPERCASE ? ansiToUpper(c) : ansiToLower(c));
  }
  std::memcpy(lpDestStr, mapped.data(), length);
  return static_cast<int>(length);
}

extern "C" BOOL WINAPI GetStringTypeW(DWORD dwInfoType, LPCWSTR lpSrcStr, int cchSrc, LPWORD lpCharType) {
  if (!lpSrcStr || !lpCharType || cchSrc == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (dwInfoType != CT_CTYPE1) {  // the other type sets are not kept by the layer
    SetLastError(ERROR_INVALID_FLAGS);
    return FALSE;
  }
  // A count of -1 types the terminator too.
  const std::u16string_view text(lpSrcStr, counted(lpSrcStr, cchSrc).size() + (cchSrc < 0 ? 1 : 0));
  for (size_t i = 0; i < text.size(); ++i) lpCharType[i] = unicodeCharType(text[i]);
  return TRUE;
}

extern "C" BOOL WINAPI GetStringTypeExA(LCID Locale, DWORD dwInfoType, LPCSTR lpSrcStr, int cchSrc,
                                        LPWORD lpCharType) {
  if (!lpSrcStr || !lpCharType || cchSrc == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (dwInfoType != CT_CTYPE1) {
    SetLastError(ERROR_INVALID_FLAGS);
    return FALSE;
  }
  const std::string_view text(lpSrcStr, counted(lpSrcStr, cchSrc).size() + (cchSrc < 0 ? 1 : 0));
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (isAnsiLeadByte(c) && i + 1 < text.size()) {
      // Both bytes of a double-byte character get the character's type.
      const std::u16string wide = ansiToWide(text.substr(i, 2));
      lpCharType[i] = lpCharType[i + 1] = wide.empty() ? 0 : unicodeCharType(wide[0]);
      ++i;
    } else {
      lpCharType[i] = ansiCharType(c);
    }
  }
  return TRUE;
}

extern "C" BOOL WINAPI GetStringTypeA(LCID Locale, DWORD dwInfoType, LPCSTR lpSrcStr, int cchSrc,
                                      LPWORD lpCharType) {
  return GetStringTypeExA(Locale, dwInfoType, lpSrcStr, cchSrc, lpCharType);
}
