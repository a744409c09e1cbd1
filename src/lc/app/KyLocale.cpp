// KyLocale: regional settings from WIN.INI [intl] and the language table.
#include "KyLocale.h"

#include <string_view>

namespace {

constexpr char intlSection[] = "intl";
constexpr DWORD valueBufferSize = 260;

KyString readIntlString(LPCSTR key, LPCSTR fallback) {
  KyString value;
  DWORD n = GetProfileStringA(intlSection, key, fallback, value.GetBuffer(valueBufferSize - 1), valueBufferSize);
  value.ReleaseBuffer(static_cast<int>(n));
  return value;
}

UINT readIntlInt(LPCSTR key, int fallback) { return GetProfileIntA(intlSection, key, fallback); }

struct LanguageEntry {
  std::string_view language;  // lower case
  UINT codePage;
  UINT charSet;
  BOOL doubleByte;
};

// The first match wins; any other language gets code page 1252 and
// character set 1 (DEFAULT_CHARSET).
constexpr LanguageEntry languages[] = {
    {"chs", 936, 134, TRUE},  {"cht", 950, 136, TRUE},  {"csy", 1250, 238, FALSE}, {"ell", 1253, 161, FALSE},
    {"hun", 1250, 238, FALSE}, {"jpn", 932, 128, TRUE},  {"kor", 949, 129, TRUE},   {"plk", 1250, 238, FALSE},
    {"rus", 1251, 204, FALSE}, {"sky", 1250, 238, FALSE}, {"trk", 1254, 162, FALSE},
};
constexpr LanguageEntry otherLanguage = {"", 1252, 1, FALSE};

const LanguageEntry& languageEntry(std::string_view language) {
  for (const LanguageEntry& entry : languages)
    if (entry.language == language) return entry;
  return otherLanguage;
}

// Walks the characters of text (CharNextA's steps over the ANSI code page)
// and hands each single-byte character to map, which rewrites it in place.
template <class Map>
void mapSingleBytes(char* text, Map map) {
  if (!text) return;
  for (char* p = text; *p;) {
    char* next = CharNextA(p);
    if (next == p + 1) map(*p);
    p = next;
  }
}

}  // namespace

KyLocale::KyLocale() {
  m_nCountry = readIntlInt("iCountry", 1);
  m_strLanguage = readIntlString("sLanguage", "enu");
  m_strLanguage.MakeLower();
  m_strShortDate = readIntlString("sShortDate", "M/d/yy");
  m_strLongDate = readIntlString("sLongDate", "dddd, MMMM dd, yyyy");
  m_nTimeFormat = readIntlInt("iTime", 0);
  m_nTimeLeadingZero = readIntlInt("iTLZero", 0);
  m_strTimeSeparator = readIntlString("sTime", ":");
  m_nTimePrefix = readIntlInt("iTimePrefix", 0);
  m_strMorning = readIntlString("s1159", "AM");
  m_strAfternoon = readIntlString("s2359", "PM");
  m_strDecimal = readIntlString("sDecimal", ".");
  m_strThousand = readIntlString("sThousand", ",");
  m_strCurrency = readIntlString("sCurrency", "$");

  // A key present but empty ("sDecimal=") would make the separator
  // character NUL, which cuts every number text it is written into.
  if (m_strDecimal.IsEmpty()) m_strDecimal = ".";
  if (m_strThousand.IsEmpty()) m_strThousand = ",";

  const LanguageEntry& entry = languageEntry(std::string_view(m_strLanguage, m_strLanguage.GetLength()));
  m_nCodePage = entry.codePage;
  m_nCharSet = entry.charSet;
  m_fDoubleByte = entry.doubleByte;
}

void KyLocale::ToIntlNumber(char* pszText) const {
  const char decimal = GetDecimalChar();
  const char thousand = GetThousandChar();
  mapSingleBytes(pszText, [&](char& ch) {
    if (ch == '.')
      ch = decimal;
    else if (ch == ',')
      ch = thousand;
  });
}

void KyLocale::FromIntlNumber(char* pszText) const {
  const char decimal = GetDecimalChar();
  const char thousand = GetThousandChar();
  if (decimal == '.') return;
  mapSingleBytes(pszText, [&](char& ch) {
    if (ch == decimal)
      ch = '.';
    else if (ch == thousand)
      ch = ',';
    else if (ch == '.')
      ch = static_cast<char>(0x82);
  });
}

// The rewrite keeps the length: one byte for one byte.
void KyLocale::ToIntlNumber(CString& text) const {
  ToIntlNumber(text.GetBuffer(text.GetLength()));
  text.ReleaseBuffer(text.GetLength());
}

void KyLocale::FromIntlNumber(CString& text) const {
  FromIntlNumber(text.GetBuffer(text.GetLength()));
  text.ReleaseBuffer(text.GetLength());
}
