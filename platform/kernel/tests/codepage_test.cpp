#include <internal/codepage.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace {

std::u16string toWide(UINT cp, const std::string& bytes, DWORD flags = 0) {
  const int n = MultiByteToWideChar(cp, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string out(static_cast<size_t>(n), u'\0');
  if (n > 0) EXPECT_EQ(MultiByteToWideChar(cp, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(), n), n);
  return out;
}

std::string toBytes(UINT cp, const std::u16string& text, DWORD flags = 0, const char* defaultChar = nullptr,
                    BOOL* usedDefault = nullptr) {
  const int n = WideCharToMultiByte(cp, flags, text.data(), static_cast<int>(text.size()), nullptr, 0, defaultChar,
                                    usedDefault);
  std::string out(static_cast<size_t>(n), '\0');
  if (n > 0)
    EXPECT_EQ(WideCharToMultiByte(cp, flags, text.data(), static_cast<int>(text.size()), out.data(), n, defaultChar,
                                  usedDefault),
              n);
  return out;
}

TEST(CodePage, DefaultsAre1252And850) {
  EXPECT_EQ(GetACP(), 1252u);
  EXPECT_EQ(GetOEMCP(), 850u);
  EXPECT_FALSE(IsDBCSLeadByte(0x81));
  EXPECT_EQ(toWide(CP_ACP, "\x80"), u"\u20ac");
}

TEST(CodePage, Page1252RoundTripsAllBytes) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::u16string wide = toWide(1252, all, MB_ERR_INVALID_CHARS);
  ASSERT_EQ(wide.size(), 255u);
  EXPECT_EQ(toBytes(1252, wide, WC_NO_BEST_FIT_CHARS), all);
  struct Case { unsigned char byte; char16_t ch; } cases[] = {
      {0x41, u'A'}, {0x80, 0x20AC}, {0x81, 0x0081}, {0x83, 0x0192}, {0x8A, 0x0160}, {0x8D, 0x008D},
      {0x92, 0x2019}, {0x99, 0x2122}, {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xE9, 0x00E9}, {0xFF, 0x00FF},
  };
  for (const auto& c : cases) EXPECT_EQ(wide[c.byte - 1], c.ch) << int(c.byte);
}

TEST(CodePage, DoubleByteSamplesRoundTrip) {
  struct Case { UINT cp; const char* bytes; const char16_t* text; } cases[] = {
      {932, "\x93\xfa\x96\x7b\x8c\xea", u"\u65e5\u672c\u8a9e"},      // Japanese
      {932, "\x95\x5c" "a\xb1\\", u"\u8868a\uff71\\"},             // trail byte 0x5C, half-width kana
      {936, "\xd6\xd0\xce\xc4", u"\u4e2d\u6587"},                  // Simplified Chinese
      {949, "\xc7\xd1\xb1\xb9\xbe\xee", u"\ud55c\uad6d\uc5b4"},     // Korean
      {950, "\xa4\xa4\xa4\xe5", u"\u4e2d\u6587"},                  // Traditional Chinese
      {437, "\x82\x9b", u"\u00e9\u00a2"},
      {850, "\xd5\x9b", u"\u0131\u00f8"},
      {1251, "\xcf\xf0\xe8", u"\u041f\u0440\u0438"},
      {CP_UTF8, "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80", u"\u00e9\u20ac\U0001F600"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toWide(c.cp, c.bytes, MB_ERR_INVALID_CHARS), c.text) << c.cp;
    EXPECT_EQ(toBytes(c.cp, c.text), c.bytes) << c.cp;
  }
}

TEST(CodePage, Page932PrefersWindowsByteSequencesForDuplicates) {
  EXPECT_EQ(toBytes(932, u"\u2252"), "\x81\xe0");  // JIS row before NEC row 13
  EXPECT_EQ(toBytes(932, u"\u2160"), "\x87\x54");  // NEC row 13 before the IBM rows
  EXPECT_EQ(toBytes(932, u"\u2170"), "\xfa\x40");  // IBM rows before NEC-selected IBM rows
}

TEST(CodePage, Page932WritesYenAndOverlineAsTheirBytes) {
  EXPECT_EQ(toBytes(932, u"\u00a5" u"100\u203e"), "\\100~");  // best fit: shown as yen and overline there
  EXPECT_EQ(toBytes(932, u"\u00a5", WC_NO_BEST_FIT_CHARS), "?");
  EXPECT_EQ(toBytes(1252, u"\u00a5"), "\xa5");                    // a page that has the sign keeps it
  EXPECT_EQ(toBytes(1251, u"\u203e"), "?");                        // other pages have no such fit
}

TEST(CodePage, InvalidSequences) {
  struct Case { UINT cp; const char* bytes; const char16_t* lenient; } cases[] = {
      {932, "a\x81", u"a\u30fb"},           // lead byte at the end
      {932, "\x81 b", u"\u30fb b"},         // lead byte before a byte that cannot trail
      {932, "\x85\x40", u"\u30fb"},         // unassigned pair
      {CP_UTF8, "a\xc3", u"a\ufffd"},       // truncated
      {CP_UTF8, "\xc0\x80", u"\ufffd\ufffd"},                 // overlong
      {CP_UTF8, "\xed\xa0\x80", u"\ufffd\ufffd\ufffd"},        // encoded surrogate
      {CP_UTF8, "\xf4\x90\x80\x80", u"\ufffd\ufffd\ufffd\ufffd"},  // above U+10FFFF
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toWide(c.cp, c.bytes), c.lenient) << c.cp << " " << c.bytes;
    WCHAR out[8];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(c.cp, MB_ERR_INVALID_CHARS, c.bytes, -1, out, 8), 0) << c.bytes;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  }
}

TEST(CodePage, BufferSizesAndCounts) {
  WCHAR wide[8];
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, nullptr, 0), 4);  // -1 counts the terminator
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", 3, nullptr, 0), 3);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, wide, 4), 4);
  EXPECT_EQ(std::u16string(wide), u"abc");
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, wide, 3), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

  char bytes[8];
  EXPECT_EQ(WideCharToMultiByte(932, 0, u"\u65e5x", -1, nullptr, 0, nullptr, nullptr), 4);
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(932, 0, u"\u65e5x", -1, bytes, 3, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(WideCharToMultiByte(932, 0, u"\u65e5x", -1, bytes, 4, nullptr, nullptr), 4);
  EXPECT_STREQ(bytes, "\x93\xfax");
}

TEST(CodePage, RefusesBadArguments) {
  WCHAR wide[4];
  char bytes[4];
  BOOL used = FALSE;
  struct Case { const char* what; int (*call)(WCHAR*, char*, BOOL*); DWORD error; } cases[] = {
      {"null source", [](WCHAR* w, char*, BOOL*) { return MultiByteToWideChar(1252, 0, nullptr, -1, w, 4); },
       ERROR_INVALID_PARAMETER},
      {"empty count", [](WCHAR* w, char*, BOOL*) { return MultiByteToWideChar(1252, 0, "a", 0, w, 4); },
       ERROR_INVALID_PARAMETER},
      {"null target", [](WCHAR*, char*, BOOL*) { return MultiByteToWideChar(1252, 0, "a", -1, nullptr, 4); },
       ERROR_INVALID_PARAMETER},
      {"negative size", [](WCHAR* w, char*, BOOL*) { return MultiByteToWideChar(1252, 0, "a", -1, w, -2); },
       ERROR_INVALID_PARAMETER},
      {"unknown page", [](WCHAR* w, char*, BOOL*) { return MultiByteToWideChar(12345, 0, "a", -1, w, 4); },
       ERROR_INVALID_PARAMETER},
      {"utf-8 flags",
       [](WCHAR* w, char*, BOOL*) { return MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", -1, w, 4); },
       ERROR_INVALID_FLAGS},
      {"both forms",
       [](WCHAR* w, char*, BOOL*) {
         return MultiByteToWideChar(1252, MB_PRECOMPOSED | MB_COMPOSITE, "a", -1, w, 4);
       },
       ERROR_INVALID_FLAGS},
      {"unknown flag", [](WCHAR* w, char*, BOOL*) { return MultiByteToWideChar(1252, 0x100, "a", -1, w, 4); },
       ERROR_INVALID_FLAGS},
      {"null wide source",
       [](WCHAR*, char* b, BOOL*) { return WideCharToMultiByte(1252, 0, nullptr, -1, b, 4, nullptr, nullptr); },
       ERROR_INVALID_PARAMETER},
      {"utf-8 used-default",
       [](WCHAR*, char* b, BOOL* u) { return WideCharToMultiByte(CP_UTF8, 0, u"a", -1, b, 4, nullptr, u); },
       ERROR_INVALID_PARAMETER},
      {"utf-8 best fit",
       [](WCHAR*, char* b, BOOL*) {
         return WideCharToMultiByte(CP_UTF8, WC_NO_BEST_FIT_CHARS, u"a", -1, b, 4, nullptr, nullptr);
       },
       ERROR_INVALID_FLAGS},
      {"strict on 1252",
       [](WCHAR*, char* b, BOOL*) {
         return WideCharToMultiByte(1252, WC_ERR_INVALID_CHARS, u"a", -1, b, 4, nullptr, nullptr);
       },
       ERROR_INVALID_FLAGS},
      {"lone surrogate",
       [](WCHAR*, char* b, BOOL*) {
         return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, u"\xd800", -1, b, 4, nullptr, nullptr);
       },
       ERROR_NO_UNICODE_TRANSLATION},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(c.call(wide, bytes, &used), 0) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
  }
}

TEST(CodePage, DefaultCharacterForMissingCharacters) {
  BOOL used = FALSE;
  EXPECT_EQ(toBytes(1252, u"a\u4e2db", 0, nullptr, &used), "a?b");
  EXPECT_TRUE(used);
  used = FALSE;
  EXPECT_EQ(toBytes(1252, u"a\u4e2db", 0, "*", &used), "a*b");
  EXPECT_TRUE(used);
  used = TRUE;
  EXPECT_EQ(toBytes(1252, u"plain", 0, nullptr, &used), "plain");
  EXPECT_FALSE(used);
  EXPECT_EQ(toBytes(1252, u"\U0001F600", WC_NO_BEST_FIT_CHARS), "?");  // one character, one default
  EXPECT_EQ(toBytes(CP_UTF8, u"\xd800x"), "\xef\xbf\xbdx");
  EXPECT_EQ(toBytes(1252, u"e\u0301", WC_COMPOSITECHECK | WC_DISCARDNS), "e");
}

TEST(CodePage, BestFitUnlessRefused) {
  struct Case { UINT cp; const char16_t* text; const char* bestFit; const char* strict; } cases[] = {
      {1252, u"\u0141\u00f3d\u017a", "L\xf3" "dz", "?\xf3" "d?"},  // Łódź: ó is in 1252
      {1252, u"\uff21\uff42\uff13", "Ab3", "???"},                   // full-width forms
      {1252, u"\u2010\u2212\u2032\u2033\u3000", "-\x2d'\" ", "?????"},
      {1252, u"\u0133", "?", "?"},                                    // a ligature has no single look-alike
      {437, u"\u00c3\u0160", "AS", "??"},                             // 437 lacks Ã and Š
      {20127, u"caf\u00e9", "cafe", "caf?"},
  };
  for (const auto& c : cases) {
    BOOL used = TRUE;
    EXPECT_EQ(toBytes(c.cp, c.text, 0, nullptr, &used), c.bestFit) << c.cp;
    EXPECT_EQ(used, std::strchr(c.bestFit, '?') != nullptr) << c.cp;
    EXPECT_EQ(toBytes(c.cp, c.text, WC_NO_BEST_FIT_CHARS), c.strict) << c.cp;
  }
}

TEST(CodePage, LeadBytesPerPage) {
  struct Case { UINT cp; BYTE byte; BOOL lead; } cases[] = {
      {932, 0x80, FALSE}, {932, 0x81, TRUE},  {932, 0x9F, TRUE},  {932, 0xA0, FALSE}, {932, 0xDF, FALSE},
      {932, 0xE0, TRUE},  {932, 0xFC, TRUE},  {932, 0xFD, FALSE}, {936, 0x80, FALSE}, {936, 0x81, TRUE},
      {936, 0xFE, TRUE},  {936, 0xFF, FALSE}, {949, 0xA1, TRUE},  {950, 0xFE, TRUE},  {950, 0x7F, FALSE},
      {1252, 0x81, FALSE}, {CP_UTF8, 0xC3, FALSE},
  };
  for (const auto& c : cases) EXPECT_EQ(IsDBCSLeadByteEx(c.cp, c.byte), c.lead) << c.cp << " " << int(c.byte);
}

TEST(CodePage, DescribesPages) {
  CPINFO info;
  ASSERT_TRUE(GetCPInfo(932, &info));
  EXPECT_EQ(info.MaxCharSize, 2u);
  EXPECT_EQ(info.DefaultChar[0], '?');
  const BYTE leads932[MAX_LEADBYTES] = {0x81, 0x9F, 0xE0, 0xFC};
  EXPECT_EQ(std::memcmp(info.LeadByte, leads932, sizeof leads932), 0);
  ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
  EXPECT_EQ(info.MaxCharSize, 1u);
  EXPECT_EQ(info.LeadByte[0], 0);
  CPINFOEXA ex;
  ASSERT_TRUE(GetCPInfoExA(CP_UTF8, 0, &ex));
  EXPECT_EQ(ex.MaxCharSize, 4u);
  EXPECT_STREQ(ex.CodePageName, "65001 (UTF-8)");
  ASSERT_TRUE(GetCPInfoExA(CP_OEMCP, 0, &ex));
  EXPECT_EQ(ex.CodePage, 850u);
  ASSERT_TRUE(GetCPInfoExA(932, 0, &ex));
  EXPECT_EQ(ex.UnicodeDefaultChar, 0x30FB);
  SetLastError(0);
  EXPECT_FALSE(GetCPInfo(4242, &info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(GetCPInfo(1252, nullptr));
  for (UINT cp : {1252u, 1250u, 1251u, 437u, 850u, 20127u, 932u, 936u, 949u, 950u, 65001u})
    EXPECT_TRUE(IsValidCodePage(cp)) << cp;
  for (UINT cp : {0u, 42u, 65000u, 1234u}) EXPECT_FALSE(IsValidCodePage(cp)) << cp;
}

TEST(CodePage, LayerHelpersConvertLikeTheApi) {
  EXPECT_EQ(win32::ansiToWide("caf\xe9 \x80"), u"caf\u00e9 \u20ac");
  EXPECT_EQ(win32::wideToAnsi(u"caf\u00e9 \u20ac \u4e2d"), "caf\xe9 \x80 ?");
  EXPECT_EQ(win32::ansiToWide("\x93\xfa", 932), u"\u65e5");
  EXPECT_EQ(win32::wideToAnsi(u"\u65e5", CP_UTF8), "\xe6\x97\xa5");
  EXPECT_EQ(win32::ansiToWide(""), u"");
}

TEST(CodePage, AnsiCharacterProperties) {
  struct Case { unsigned char c; WORD type; unsigned char upper, lower; } cases[] = {
      {'a', C1_LOWER | C1_ALPHA | C1_XDIGIT | C1_DEFINED, 'A', 'a'},
      {'Z', C1_UPPER | C1_ALPHA | C1_DEFINED, 'Z', 'z'},
      {'5', C1_DIGIT | C1_XDIGIT | C1_DEFINED, '5', '5'},
      {' ', C1_SPACE | C1_BLANK | C1_DEFINED, ' ', ' '},
      {'\t', C1_CNTRL | C1_SPACE | C1_BLANK | C1_DEFINED, '\t', '\t'},
      {',', C1_PUNCT | C1_DEFINED, ',', ','},
      {0xE9, C1_LOWER | C1_ALPHA | C1_DEFINED, 0xC9, 0xE9},  // é É
      {0xC0, C1_UPPER | C1_ALPHA | C1_DEFINED, 0xC0, 0xE0},  // À à
      {0x9A, C1_LOWER | C1_ALPHA | C1_DEFINED, 0x8A, 0x9A},  // š Š
      {0x8C, C1_UPPER | C1_ALPHA | C1_DEFINED, 0x8C, 0x9C},  // Œ œ
      {0xFF, C1_LOWER | C1_ALPHA | C1_DEFINED, 0x9F, 0xFF},  // ÿ Ÿ
      {0xDF, C1_LOWER | C1_ALPHA | C1_DEFINED, 0xDF, 0xDF},  // ß has no single upper case
      {0xB5, C1_LOWER | C1_ALPHA | C1_DEFINED, 0xB5, 0xB5},  // µ
      {0xD7, C1_PUNCT | C1_DEFINED, 0xD7, 0xD7},             // ×
      {0xA0, C1_SPACE | C1_BLANK | C1_DEFINED, 0xA0, 0xA0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(win32::ansiCharType(c.c), c.type) << int(c.c);
    EXPECT_EQ(win32::ansiToUpper(c.c), c.upper) << int(c.c);
    EXPECT_EQ(win32::ansiToLower(c.c), c.lower) << int(c.c);
  }
}

// Arbitrary bytes never break a conversion: lenient decoding always
// succeeds with at most one character per byte, and what the page can
// say survives the way back.
TEST(CodePage, ArbitraryBytesConvertSafely) {
  std::mt19937 random(20240131);
  std::uniform_int_distribution<int> byte(0, 255), length(1, 40);
  for (UINT cp : {1252u, 1250u, 1251u, 437u, 850u, 932u, 936u, 949u, 950u, 65001u}) {
    for (int round = 0; round < 300; ++round) {
      std::string bytes(static_cast<size_t>(length(random)), '\0');
      for (char& b : bytes) b = static_cast<char>(byte(random));
      const std::u16string wide = toWide(cp, bytes);
      ASSERT_LE(wide.size(), bytes.size()) << cp;
      const std::string back = toBytes(cp, wide, cp == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS);
      EXPECT_EQ(toWide(cp, back), wide) << cp;  // the converted text is stable
    }
  }
}

TEST(CodePage, Utf16RoundTripsThroughUtf8) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> unit(1, 0xFFFF), length(1, 30);
  for (int round = 0; round < 500; ++round) {
    std::u16string text;
    for (int n = length(random); n > 0; --n) {
      const char16_t c = static_cast<char16_t>(unit(random));
      if (c >= 0xD800 && c <= 0xDFFF) {  // only whole surrogate pairs
        text += static_cast<char16_t>(0xD800 | (c & 0x3FF));
        text += static_cast<char16_t>(0xDC00 | (c & 0x3FF));
      } else {
        text += c;
      }
    }
    EXPECT_EQ(toWide(CP_UTF8, toBytes(CP_UTF8, text), MB_ERR_INVALID_CHARS), text);
  }
}

}  // namespace
