// Code pages: the ANSI and OEM pages of the process, their descriptions
// (GetCPInfo), lead bytes, and the conversions between them and UTF-16.
//
// Every page except UTF-8 is a pair of tables built on first use: bytes (and
// byte pairs) to UTF-16, and UTF-16 back to bytes. Code page 1252 and the
// ASCII page 20127 are tables of our own; the others are read once from
// glibc's iconv converters. The tables make the documented flags uniform
// (MB_ERR_INVALID_CHARS, default characters) and make every page a
// round trip where Windows' page is one.
//
// Best fit (without WC_NO_BEST_FIT_CHARS) is a small generic table rather
// than Windows' per-page tables: accented Latin letters become their plain
// letter, full-width forms ASCII, typographic dashes, quotes and spaces
// ASCII ones (unicodeBestFit); anything else the page lacks becomes the
// default character.
// Deliberate limit: no composition or decomposition (MB_COMPOSITE fails with
// ERROR_INVALID_FLAGS; with WC_COMPOSITECHECK a combining mark is dropped for
// WC_DISCARDNS and otherwise converted on its own). MB_USEGLYPHCHARS is
// accepted and changes nothing: the control bytes stay control characters.
#include <iconv.h>
#include <internal/codepage.h>
#include <winbase.h>
#include <winnls.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace win32 {
namespace {

constexpr char16_t kNoChar = 0xFFFF;     // byte (pair) without a character
constexpr uint16_t kUnmapped = 0xFFFF;   // character without bytes (0xFF is never a lead byte)

struct LeadRange {
  BYTE first, last;
};

struct PageInfo {
  UINT id;
  const char* iconvName;  // nullptr: a table of our own
  const char* name;       // as GetCPInfoExA names it
  std::array<LeadRange, 2> leads;
  char16_t unicodeDefault;
};

// The lead-byte ranges are the ones Windows reports for these pages.
const PageInfo kPages[] = {
    {1252, nullptr, "1252  (ANSI - Latin I)", {}, u'?'},
    {1250, "CP1250", "1250  (ANSI - Central Europe)", {}, u'?'},
    {1251, "CP1251", "1251  (ANSI - Cyrillic)", {}, u'?'},
    {1253, "CP1253", "1253  (ANSI - Greek)", {}, u'?'},
    {1254, "CP1254", "1254  (ANSI - Turkish)", {}, u'?'},
    {437, "IBM437", "437   (OEM - United States)", {}, u'?'},
    {850, "IBM850", "850   (OEM - Multilingual Latin I)", {}, u'?'},
    {20127, nullptr, "20127 (US-ASCII)", {}, u'?'},
    {932, "CP932", "932   (ANSI/OEM - Japanese Shift-JIS)", {{{0x81, 0x9F}, {0xE0, 0xFC}}}, 0x30FB},
    {936, "CP936", "936   (ANSI/OEM - Simplified Chinese GBK)", {{{0x81, 0xFE}, {}}}, u'?'},
    {949, "CP949", "949   (ANSI/OEM - Korean)", {{{0x81, 0xFE}, {}}}, u'?'},
    {950, "CP950", "950   (ANSI/OEM - Traditional Chinese Big5)", {{{0x81, 0xFE}, {}}}, u'?'},
};
constexpr size_t kPageCount = sizeof kPages / sizeof kPages[0];
const char* const kUtf8Name = "65001 (UTF-8)";

// Code page 1252 at 0x80..0x9F; the five unassigned bytes map to the C1
// controls of the same value, as Windows maps them.
constexpr char16_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

class Table {
 public:
  explicit Table(const PageInfo& info) : info_(info), encode_(0x10000, kUnmapped) {
    single_.fill(kNoChar);
    lead_.fill(false);
    for (const LeadRange& r : info.leads)
      for (unsigned b = r.first; r.first && b <= r.last; ++b) lead_[b] = true;
    if (isDoubleByte()) pair_.assign(0x10000, kNoChar);
    if (info.id == 1252) build1252();
    else if (info.id == 20127) buildAscii();
    else buildFromIconv();
    buildEncoding();
    buildProperties();
  }

  const PageInfo& info() const { return info_; }
  bool isDoubleByte() const { return info_.leads[0].first != 0; }
  bool isLead(BYTE b) const { return lead_[b]; }
  char16_t single(BYTE b) const { return single_[b]; }
  char16_t pair(BYTE lead, BYTE trail) const { return pair_[(lead << 8) | trail]; }
  uint16_t encode(char16_t c) const { return encode_[c]; }
  WORD type(BYTE b) const { return type_[b]; }
  BYTE upper(BYTE b) const { return upper_[b]; }
  BYTE lower(BYTE b) const { return lower_[b]; }

 private:
  void build1252() {
    for (unsigned b = 0; b < 256; ++b)
      single_[b] = (b >= 0x80 && b <= 0x9F) ? k1252High[b - 0x80] : static_cast<char16_t>(b);
  }

  // Windows' ASCII page reads a byte with the high bit set as its low seven bits.
  void buildAscii() {
    for (unsigned b = 0; b < 256; ++b) single_[b] = static_cast<char16_t>(b & 0x7F);
  }

  void buildFromIconv() {
    iconv_t cd = iconv_open("UTF-16LE", info_.iconvName);
    if (cd == reinterpret_cast<iconv_t>(-1)) return;  // page stays empty: every byte invalid
    std::unique_ptr<void, int (*)(iconv_t)> guard(cd, iconv_close);
    auto decode = [&](const unsigned char* bytes, size_t n) -> char16_t {
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      char in[2] = {static_cast<char>(bytes[0]), n > 1 ? static_cast<char>(bytes[1]) : '\0'};
      unsigned char out[8];
      char* ip = in;
      char* op = reinterpret_cast<char*>(out);
      size_t il = n, ol = sizeof out;
      if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || il != 0 || sizeof out - ol != 2)
        return kNoChar;  // invalid, incomplete, or outside the 16-bit plane
      return static_cast<char16_t>(out[0] | (out[1] << 8));
    };
    for (unsigned b = 0; b < 256; ++b) {
      if (lead_[b]) continue;
      const unsigned char byte = static_cast<unsigned char>(b);
      single_[b] = decode(&byte, 1);
    }
    if (info_.id == 932 && single_[0x80] == kNoChar) single_[0x80] = 0x0080;
    if (!isDoubleByte()) return;
    for (unsigned lead = 0; lead < 256; ++lead) {
      if (!lead_[lead]) continue;
      for (unsigned trail = 0x40; trail < 0x100; ++trail) {
        const unsigned char bytes[2] = {static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)};
        pair_[(lead << 8) | trail] = decode(bytes, 2);
      }
    }
  }

  // The inverse of the decoding; where several byte sequences read as the
  // same character the first one in byte order wins, except that in 932
  // the NEC-selected IBM rows (leads 0xED, 0xEE) yield to the IBM rows, as
  // Windows converts.
  void buildEncoding() {
    for (unsigned b = 0; b < 256; ++b)
      if (single_[b] != kNoChar && encode_[single_[b]] == kUnmapped) encode_[single_[b]] = static_cast<uint16_t>(b);
    if (!isDoubleByte()) return;
    auto addLead = [&](unsigned lead) {
      for (unsigned trail = 0x40; trail < 0x100; ++trail) {
        const char16_t c = pair_[(lead << 8) | trail];
        if (c != kNoChar && encode_[c] == kUnmapped) encode_[c] = static_cast<uint16_t>((lead << 8) | trail);
      }
    };
    const bool deferNecRows = info_.id == 932;
    for (unsigned lead = 0; lead < 256; ++lead)
      if (lead_[lead] && !(deferNecRows && (lead == 0xED || lead == 0xEE))) addLead(lead);
    if (deferNecRows) {
      addLead(0xED);
      addLead(0xEE);
    }
  }

  // Character types and case partners of the single bytes that round-trip.
  void buildProperties() {
    for (unsigned b = 0; b < 256; ++b) {
      type_[b] = 0;
      upper_[b] = lower_[b] = static_cast<BYTE>(b);
      const char16_t c = single_[b];
      if (lead_[b] || c == kNoChar || encode_[c] != b) continue;
      type_[b] = unicodeCharType(c);
      const uint16_t up = encode_[unicodeToUpper(c)];
      const uint16_t down = encode_[unicodeToLower(c)];
      if (up < 0x100) upper_[b] = static_cast<BYTE>(up);
      if (down < 0x100) lower_[b] = static_cast<BYTE>(down);
    }
  }

  const PageInfo& info_;
  std::array<char16_t, 256> single_;
  std::array<bool, 256> lead_;
  std::vector<char16_t> pair_;
  std::vector<uint16_t> encode_;
  std::array<WORD, 256> type_;
  std::array<BYTE, 256> upper_, lower_;
};

const PageInfo* findPage(UINT id) {
  for (const PageInfo& p : kPages)
    if (p.id == id) return &p;
  return nullptr;
}

// The table of a page, built once per process; nullptr for UTF-8 and
// unsupported pages.
const Table* tableOf(UINT id) {
  static std::once_flag once[kPageCount];
  static std::unique_ptr<Table> tables[kPageCount];
  const PageInfo* info = findPage(id);
  if (!info) return nullptr;
  const size_t i = static_cast<size_t>(info - kPages);
  std::call_once(once[i], [&] { tables[i] = std::make_unique<Table>(*info); });
  return tables[i].get();
}

UINT pageFromEnvironment(const char* variable, UINT fallback) {
  const char* value = std::getenv(variable);
  if (!value || !*value) return fallback;
  char* end = nullptr;
  const unsigned long id = std::strtoul(value, &end, 10);
  return (*end == '\0' && findPage(static_cast<UINT>(id))) ? static_cast<UINT>(id) : fallback;
}

const Table& ansiTable() {
  static const Table* table = tableOf(GetACP());
  return *table;
}

// --- decoding and encoding ----------------------------------------------------

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Bytes to UTF-16 through a table. Answers 0 or the Win32 error.
DWORD decodeTable(const Table& t, std::string_view in, bool strict, std::u16string& out) {
  const auto* s = reinterpret_cast<const unsigned char*>(in.data());
  const size_t n = in.size();
  for (size_t i = 0; i < n;) {
    const BYTE b = s[i];
    char16_t c;
    if (t.isLead(b)) {
      const bool hasTrail = i + 1 < n && s[i + 1] >= 0x40;
      c = hasTrail ? t.pair(b, s[i + 1]) : kNoChar;
      // An undefined pair in the trail range is one bad character; a lead
      // byte before a byte outside it (or at the end) is bad on its own.
      i += hasTrail ? 2 : 1;
    } else {
      c = t.single(b);
      ++i;
    }
    if (c == kNoChar) {
      if (strict) return ERROR_NO_UNICODE_TRANSLATION;
      c = t.info().unicodeDefault;
    }
    out += c;
  }
  return 0;
}

// UTF-8 to UTF-16; an ill-formed sequence (overlong, surrogate, above
// U+10FFFF, truncated) becomes one U+FFFD per maximal bad part.
DWORD decodeUtf8(std::string_view in, bool strict, std::u16string& out) {
  const auto* s = reinterpret_cast<const unsigned char*>(in.data());
  const size_t n = in.size();
  for (size_t i = 0; i < n;) {
    const unsigned char b = s[i];
    if (b < 0x80) {
      out += static_cast<char16_t>(b);
      ++i;
      continue;
    }
    int length = 0;
    char32_t cp = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) length = 2, cp = b & 0x1F;
    else if (b >= 0xE0 && b <= 0xEF) {
      length = 3, cp = b & 0x0F;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4, cp = b & 0x07;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    }
    size_t used = 1;
    bool good = length > 0;
    for (int k = 1; good && k < length; ++k) {
      if (i + used >= n) {
        good = false;
        break;
      }
      const unsigned char c = s[i + used];
      const unsigned char lo = k == 1 ? low : 0x80, hi = k == 1 ? high : 0xBF;
      if (c < lo || c > hi) {
        good = false;
        break;
      }
      cp = (cp << 6) | (c & 0x3F);
      ++used;
    }
    i += used;
    if (!good) {
      if (strict) return ERROR_NO_UNICODE_TRANSLATION;
      out += u'\xFFFD';
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return 0;
}

DWORD encodeUtf8(std::u16string_view in, bool strict, std::string& out) {
  for (size_t i = 0; i < in.size(); ++i) {
    char32_t cp = in[i];
    if (isHighSurrogate(in[i]) && i + 1 < in.size() && isLowSurrogate(in[i + 1])) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (in[i + 1] - 0xDC00);
      ++i;
    } else if (isHighSurrogate(in[i]) || isLowSurrogate(in[i])) {
      if (strict) return ERROR_NO_UNICODE_TRANSLATION;
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return 0;
}

bool isCombiningMark(char16_t c) { return c >= 0x0300 && c <= 0x036F; }

// Best fit of one page beyond the generic table: Japanese Windows shows the
// bytes 0x5C and 0x7E as the yen sign and the overline, so 932 writes those
// two characters with them (a Japanese currency text keeps its symbol).
char16_t pageBestFit(UINT page, char16_t c) {
  if (page == 932 && c == 0x00A5) return u'\\';
  if (page == 932 && c == 0x203E) return u'~';
  return unicodeBestFit(c);
}

// UTF-16 to bytes through a table; `defaultBytes` replaces what the page lacks.
void encodeTable(const Table& t, std::u16string_view in, DWORD flags, std::string_view defaultBytes,
                 std::string& out, bool& usedDefault) {
  for (size_t i = 0; i < in.size(); ++i) {
    const char16_t c = in[i];
    if ((flags & WC_COMPOSITECHECK) && (flags & WC_DISCARDNS) && isCombiningMark(c) && i > 0) continue;
    uint16_t code = (isHighSurrogate(c) || isLowSurrogate(c)) ? kUnmapped : t.encode(c);
    if (code == kUnmapped && !(flags & WC_NO_BEST_FIT_CHARS)) code = t.encode(pageBestFit(t.info().id, c));
    if (code == kUnmapped) {
      // A surrogate pair is one character and gets one default character.
      if (isHighSurrogate(c) && i + 1 < in.size() && isLowSurrogate(in[i + 1])) ++i;
      out += defaultBytes;
      usedDefault = true;
    } else if (code > 0xFF) {
      out += static_cast<char>(code >> 8);
      out += static_cast<char>(code & 0xFF);
    } else {
      out += static_cast<char>(code);
    }
  }
}

// The first character of a caller's default-character string.
std::string_view defaultCharacter(const Table& t, const char* given) {
  if (!given) return "?";
  const size_t n = t.isLead(static_cast<BYTE>(given[0])) && given[1] ? 2 : 1;
  return std::string_view(given, n);
}

}  // namespace

// --- helpers for the layer (internal/codepage.h) ------------------------------

UINT resolveCodePage(UINT codePage) {
  switch (codePage) {
    case CP_ACP:
    case CP_THREAD_ACP: return GetACP();
    case CP_OEMCP: return GetOEMCP();
    case CP_MACCP: return 10000;
    default: return codePage;
  }
}

std::u16string ansiToWide(std::string_view text, UINT codePage) {
  std::u16string out;
  out.reserve(text.size());
  const UINT id = resolveCodePage(codePage);
  if (id == CP_UTF8) decodeUtf8(text, false, out);
  else if (const Table* t = tableOf(id)) decodeTable(*t, text, false, out);
  return out;
}

std::string wideToAnsi(std::u16string_view text, UINT codePage) {
  std::string out;
  out.reserve(text.size());
  const UINT id = resolveCodePage(codePage);
  bool usedDefault = false;
  if (id == CP_UTF8) encodeUtf8(text, false, out);
  else if (const Table* t = tableOf(id)) encodeTable(*t, text, 0, "?", out, usedDefault);
  return out;
}

bool isAnsiLeadByte(unsigned char c) { return ansiTable().isLead(c); }

size_t ansiCharLength(const char* p) { return isAnsiLeadByte(static_cast<unsigned char>(p[0])) && p[1] ? 2 : 1; }

bool isAnsiDoubleByte() { return ansiTable().isDoubleByte(); }

// The one-character form of decodeTable's rule.
size_t ansiCharLength(const char* p, size_t available) {
  const auto* s = reinterpret_cast<const unsigned char*>(p);
  return ansiTable().isLead(s[0]) && available > 1 && s[1] >= 0x40 ? 2 : 1;
}

char16_t ansiCharAt(const char* p, size_t available, size_t& length) {
  const Table& t = ansiTable();
  const auto* s = reinterpret_cast<const unsigned char*>(p);
  length = ansiCharLength(p, available);
  const char16_t c = length == 2 ? t.pair(s[0], s[1]) : t.single(s[0]);
  return c == kNoChar ? t.info().unicodeDefault : c;
}

WORD ansiCharType(unsigned char c) { return ansiTable().type(c); }
unsigned char ansiToUpper(unsigned char c) { return ansiTable().upper(c); }
unsigned char ansiToLower(unsigned char c) { return ansiTable().lower(c); }

void mapAnsiCase(char* text, size_t length, bool upper) {
  const Table& t = ansiTable();
  for (size_t i = 0; i < length; ++i) {
    const auto c = static_cast<BYTE>(text[i]);
    if (t.isLead(c) && i + 1 < length && text[i + 1]) {
      ++i;  // the trail byte stays as it is
      continue;
    }
    text[i] = static_cast<char>(upper ? t.upper(c) : t.lower(c));
  }
}

}  // namespace win32

using namespace win32;

extern "C" UINT WINAPI GetACP(void) {
  static const UINT acp = pageFromEnvironment("KY_ACP", 1252);
  return acp;
}

extern "C" UINT WINAPI GetOEMCP(void) {
  static const UINT oemcp = pageFromEnvironment("KY_OEMCP", 850);
  return oemcp;
}

extern "C" BOOL WINAPI IsValidCodePage(UINT CodePage) { return CodePage == CP_UTF8 || findPage(CodePage) != nullptr; }

extern "C" BOOL WINAPI GetCPInfoExA(UINT CodePage, DWORD dwFlags, LPCPINFOEXA info) {
  if (!info || dwFlags != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const UINT id = resolveCodePage(CodePage);
  const PageInfo* page = findPage(id);
  if (!page && id != CP_UTF8) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::memset(info, 0, sizeof *info);
  info->DefaultChar[0] = '?';
  info->CodePage = id;
  info->UnicodeDefaultChar = page ? page->unicodeDefault : u'\xFFFD';
  const char* name = page ? page->name : kUtf8Name;
  std::memcpy(info->CodePageName, name, std::min(std::strlen(name) + 1, sizeof info->CodePageName));
  if (!page) {
    info->MaxCharSize = 4;
    return TRUE;
  }
  info->MaxCharSize = page->leads[0].first ? 2 : 1;
  size_t k = 0;
  for (const LeadRange& r : page->leads) {
    if (!r.first) break;
    info->LeadByte[k++] = r.first;
    info->LeadByte[k++] = r.last;
  }
  return TRUE;
}

extern "C" BOOL WINAPI GetCPInfo(UINT CodePage, LPCPINFO info) {
  CPINFOEXA ex;
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!GetCPInfoExA(CodePage, 0, &ex)) return FALSE;
  info->MaxCharSize = ex.MaxCharSize;
  std::memcpy(info->DefaultChar, ex.DefaultChar, sizeof info->DefaultChar);
  std::memcpy(info->LeadByte, ex.LeadByte, sizeof info->LeadByte);
  return TRUE;
}

extern "C" BOOL WINAPI IsDBCSLeadByteEx(UINT CodePage, BYTE TestChar) {
  const UINT id = resolveCodePage(CodePage);
  if (id == CP_UTF8) return FALSE;
  const PageInfo* page = findPage(id);
  if (!page) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (const LeadRange& r : page->leads)
    if (r.first && TestChar >= r.first && TestChar <= r.last) return TRUE;
  return FALSE;
}

extern "C" BOOL WINAPI IsDBCSLeadByte(BYTE TestChar) { return isAnsiLeadByte(TestChar); }

extern "C" int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                                          LPWSTR lpWideCharStr, int cchWideChar) {
  if (!lpMultiByteStr || cbMultiByte == 0 || cchWideChar < 0 || (cchWideChar && !lpWideCharStr) ||
      static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const UINT id = resolveCodePage(CodePage);
  const Table* table = id == CP_UTF8 ? nullptr : tableOf(id);
  if (!table && id != CP_UTF8) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const DWORD allowed = id == CP_UTF8 ? MB_ERR_INVALID_CHARS
                                      : MB_PRECOMPOSED | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS;
  if ((dwFlags & ~allowed) != 0) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  // A count of -1 (any negative) takes the text with its terminator.
  const size_t length = cbMultiByte < 0 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
  std::u16string out;
  out.reserve(length);
  const bool strict = dwFlags & MB_ERR_INVALID_CHARS;
  const std::string_view in(lpMultiByteStr, length);
  const DWORD error = table ? decodeTable(*table, in, strict, out) : decodeUtf8(in, strict, out);
  if (error) {
    SetLastError(error);
    return 0;
  }
  if (cchWideChar == 0) return static_cast<int>(out.size());
  const size_t n = std::min(out.size(), static_cast<size_t>(cchWideChar));
  std::memcpy(lpWideCharStr, out.data(), n * sizeof(WCHAR));
  if (n < out.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  return static_cast<int>(n);
}

extern "C" int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                                          LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                                          LPBOOL lpUsedDefaultChar) {
  if (!lpWideCharStr || cchWideChar == 0 || cbMultiByte < 0 || (cbMultiByte && !lpMultiByteStr) ||
      static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const UINT id = resolveCodePage(CodePage);
  const Table* table = id == CP_UTF8 ? nullptr : tableOf(id);
  if (!table && id != CP_UTF8) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (id == CP_UTF8) {
    if ((dwFlags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) != 0) {
      SetLastError(ERROR_INVALID_FLAGS);
      return 0;
    }
    if (lpDefaultChar || lpUsedDefaultChar) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
  } else if ((dwFlags & ~static_cast<DWORD>(WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR | WC_COMPOSITECHECK |
                                             WC_NO_BEST_FIT_CHARS)) != 0) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  size_t length = 0;
  if (cchWideChar < 0) {
    while (lpWideCharStr[length]) ++length;
    ++length;  // the terminator is converted and counted
  } else {
    length = static_cast<size_t>(cchWideChar);
  }
  const std::u16string_view in(lpWideCharStr, length);
  std::string out;
  out.reserve(length);
  bool usedDefault = false;
  if (table) {
    encodeTable(*table, in, dwFlags, defaultCharacter(*table, lpDefaultChar), out, usedDefault);
  } else if (DWORD error = encodeUtf8(in, dwFlags & WC_ERR_INVALID_CHARS, out)) {
    SetLastError(error);
    return 0;
  }
  if (lpUsedDefaultChar) *lpUsedDefaultChar = usedDefault;
  if (cbMultiByte == 0) return static_cast<int>(out.size());
  size_t n = std::min(out.size(), static_cast<size_t>(cbMultiByte));
  std::memcpy(lpMultiByteStr, out.data(), n);
  if (n < out.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  return static_cast<int>(n);
}
