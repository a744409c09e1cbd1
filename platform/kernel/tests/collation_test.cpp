#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Collation, CompareStringATable) {
  const DWORD kRunTimeFlags = NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH;
  struct Case { DWORD flags; const char* a; const char* b; int expected; } cases[] = {
      {0, "abc", "abc", CSTR_EQUAL},
      {0, "abc", "abd", CSTR_LESS_THAN},
      {0, "abc", "ABC", CSTR_LESS_THAN},       // lower before upper on a tie
      {0, "ABC", "abd", CSTR_LESS_THAN},       // case weighs only on a tie
      {0, "a", "B", CSTR_LESS_THAN},
      {0, "Zebra", "apple", CSTR_GREATER_THAN},
      {0, "ab", "abc", CSTR_LESS_THAN},
      {0, "", "a", CSTR_LESS_THAN},
      {NORM_IGNORECASE, "abc", "ABC", CSTR_EQUAL},
      {0, "r\xe9sum\xe9", "resume", CSTR_GREATER_THAN},  // accents after letters
      {0, "r\xe9sum\xe9", "resumf", CSTR_LESS_THAN},
      {NORM_IGNORENONSPACE, "r\xe9sum\xe9", "resume", CSTR_EQUAL},
      {0, "\xc9t\xe9", "ete", CSTR_GREATER_THAN},
      {kRunTimeFlags, "M\xfcller", "MULLER", CSTR_EQUAL},
      {0, "coop", "co-op", CSTR_LESS_THAN},    // word sort: the hyphen weighs last
      {0, "co-op", "cop", CSTR_LESS_THAN},
      {0, "can't", "cant", CSTR_GREATER_THAN},
      {SORT_STRINGSORT, "co-op", "coop", CSTR_LESS_THAN},  // string sort: '-' is a symbol
      {0, " ", "1", CSTR_LESS_THAN},           // symbols before digits
      {0, "9", "a", CSTR_LESS_THAN},           // digits before letters
      {0, "_", "a", CSTR_LESS_THAN},
      {0, "+", "}", CSTR_GREATER_THAN},       // the math signs after the other ASCII symbols
      {0, "+", ".", CSTR_GREATER_THAN},
      {0, "=", "~", CSTR_GREATER_THAN},
      {0, "<", ">", CSTR_LESS_THAN},
      {0, "!", "#", CSTR_LESS_THAN},
      {0, ">", "0", CSTR_LESS_THAN},           // still before digits
      {0, "~", "\xa1", CSTR_LESS_THAN},       // other symbols after the ASCII ones
      {NORM_IGNORESYMBOLS, "a.b,c", "abc", CSTR_EQUAL},
      {0, "Stra\xdf" "e", "Strasse", CSTR_EQUAL},  // ß weighs as ss
      {0, "\xe6", "ae", CSTR_EQUAL},
      {0, "\xfe", "z", CSTR_GREATER_THAN},     // þ after z
      {0, "a\x01" "b", "ab", CSTR_EQUAL},      // control characters weigh nothing
  };
  for (const auto& c : cases)
    EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, c.flags, c.a, -1, c.b, -1), c.expected)
        << c.a << " / " << c.b << " flags " << std::hex << c.flags;
}

TEST(Collation, CountsLimitTheTexts) {
  EXPECT_EQ(CompareStringA(0x0409, 0, "abcdef", 3, "abcxyz", 3), CSTR_EQUAL);
  EXPECT_EQ(CompareStringA(0x0409, 0, "abcdef", 4, "abcxyz", 3), CSTR_GREATER_THAN);
  EXPECT_EQ(CompareStringA(0x0409, 0, "abc", 4, "abc", -1), CSTR_EQUAL);  // a counted terminator weighs nothing
  EXPECT_EQ(CompareStringW(0x0409, NORM_IGNORECASE, u"\u00c9T\u00c9", -1, u"\u00e9t\u00e9", -1), CSTR_EQUAL);
  EXPECT_EQ(CompareStringW(0x0409, 0, u"\u30ab", -1, u"\u304b", -1), CSTR_GREATER_THAN);
  EXPECT_EQ(CompareStringW(0x0409, NORM_IGNOREKANATYPE, u"\u30ab", -1, u"\u304b", -1), CSTR_EQUAL);
  EXPECT_EQ(CompareStringW(0x0409, NORM_IGNOREWIDTH, u"\uff21", -1, u"A", -1), CSTR_EQUAL);
}

TEST(Collation, LatinLettersOfOtherPagesWeighAsTheirBaseLetter) {
  EXPECT_EQ(CompareStringW(0x0409, 0, u"\u0141\u00f3d\u017a", -1, u"Lodz", -1), CSTR_GREATER_THAN);
  EXPECT_EQ(CompareStringW(0x0409, NORM_IGNORENONSPACE, u"\u0141\u00f3d\u017a", -1, u"Lodz", -1), CSTR_EQUAL);
  EXPECT_EQ(CompareStringW(0x0409, 0, u"\u010d", -1, u"d", -1), CSTR_LESS_THAN);  // č between c and d
  EXPECT_EQ(CompareStringW(0x0409, 0, u"\u010d", -1, u"c", -1), CSTR_GREATER_THAN);
}

TEST(Collation, CompareRefusesBadArguments) {
  struct Case { LCID lcid; DWORD flags; const char* a; const char* b; DWORD error; } cases[] = {
      {0x0409, 0, nullptr, "a", ERROR_INVALID_PARAMETER},
      {0x0409, 0, "a", nullptr, ERROR_INVALID_PARAMETER},
      {0x0409, 0x40000000, "a", "b", ERROR_INVALID_FLAGS},
      {0x0419, 0, "a", "b", ERROR_INVALID_PARAMETER},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(CompareStringA(c.lcid, c.flags, c.a, -1, c.b, -1), 0);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, 0, "a", -1, "a", -1), CSTR_EQUAL);
}

// English, German and French sort by Windows' default table: the same
// answers in every one of them.
TEST(Collation, EuropeanLocalesShareTheDefaultOrder) {
  struct Case { DWORD flags; const char* a; const char* b; int expected; } cases[] = {
      {0, "+", "}", CSTR_GREATER_THAN},     {0, "coop", "co-op", CSTR_LESS_THAN},
      {0, "Stra\xdf" "e", "Strasse", CSTR_EQUAL}, {0, "\xe4", "b", CSTR_LESS_THAN},
      {0, "abc", "ABC", CSTR_LESS_THAN},    {NORM_IGNORECASE, "\xc4rger", "\xe4rger", CSTR_EQUAL},
      {0, "r\xe9sum\xe9", "resume", CSTR_GREATER_THAN}, {0, "9", "a", CSTR_LESS_THAN},
  };
  for (LCID lcid : {LCID(0x0409), LCID(0x0809), LCID(0x0407), LCID(0x040C), LCID(0x0007)})
    for (const auto& c : cases)
      EXPECT_EQ(CompareStringA(lcid, c.flags, c.a, -1, c.b, -1), c.expected)
          << std::hex << lcid << " " << c.a << " / " << c.b;
}

// Japanese compares through ICU's Japanese order: kanji by reading (JIS
// order: 亜 before 一), a voiced kana as its plain kana first; the flags
// and Windows' symbol order hold as elsewhere.
TEST(Collation, JapaneseOrder) {
  struct Case { DWORD flags; const char16_t* a; const char16_t* b; int expected; } cases[] = {
      {0, u"\u4e9c", u"\u4e00", CSTR_LESS_THAN},               // 亜 < 一, against code-point order
      {0, u"\u304b", u"\u304d", CSTR_LESS_THAN},               // か < き
      {0, u"\u304ca", u"\u304bb", CSTR_LESS_THAN},             // がa < かb: the voicing weighs after the letters
      {0, u"\u304c", u"\u304b", CSTR_GREATER_THAN},
      {NORM_IGNORENONSPACE, u"\u304c", u"\u304b", CSTR_EQUAL},
      {0, u"\u30ab", u"\u304b", CSTR_GREATER_THAN},             // カ / か
      {NORM_IGNOREKANATYPE, u"\u30ab", u"\u304b", CSTR_EQUAL},
      {0, u"\uff76", u"\u30ab", CSTR_GREATER_THAN},             // half-width ｶ / カ
      {NORM_IGNOREWIDTH, u"\uff76", u"\u30ab", CSTR_EQUAL},
      {NORM_IGNOREWIDTH, u"\uff21", u"A", CSTR_EQUAL},
      {0, u"z", u"\u3042", CSTR_LESS_THAN},                     // Latin before kana
      {0, u"9", u"a", CSTR_LESS_THAN},
      {0, u"+", u"}", CSTR_GREATER_THAN},                        // Windows' symbol order
      {0, u"+", u".", CSTR_GREATER_THAN},
      {0, u"!", u"#", CSTR_LESS_THAN},
      {0, u"coop", u"co-op", CSTR_LESS_THAN},                    // word sort
      {0, u"co-op", u"cop", CSTR_LESS_THAN},
      {SORT_STRINGSORT, u"co-op", u"coop", CSTR_LESS_THAN},
      {0, u"abc", u"ABC", CSTR_LESS_THAN},
      {NORM_IGNORECASE, u"abc", u"ABC", CSTR_EQUAL},
      {NORM_IGNORESYMBOLS, u"a.b,c", u"abc", CSTR_EQUAL},
      {0, u"\u65e5\u672c", u"\u65e5\u672c", CSTR_EQUAL},
      {0, u"a\u0001b", u"ab", CSTR_EQUAL},                       // control characters weigh nothing
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareStringW(0x0411, c.flags, reinterpret_cast<LPCWSTR>(c.a), -1, reinterpret_cast<LPCWSTR>(c.b), -1),
              c.expected)
        << std::hex << c.flags << " case " << (&c - cases);
  }
  // ASCII texts take the same way through the 8-bit form.
  EXPECT_EQ(CompareStringA(0x0411, 0, "+", -1, "}", -1), CSTR_GREATER_THAN);
  EXPECT_EQ(CompareStringA(0x0411, NORM_IGNORECASE, "Abc", 2, "aBx", 2), CSTR_EQUAL);
}

TEST(Collation, MapsCase) {
  char out[16];
  EXPECT_EQ(LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, "caf\xe9 \xff\x9a", -1, out, sizeof out), 8);
  EXPECT_STREQ(out, "CAF\xc9 \x9f\x8a");
  EXPECT_EQ(LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, "ABC\xc0", 4, out, sizeof out), 4);
  EXPECT_EQ(std::string(out, 4), "abc\xe0");
  EXPECT_EQ(LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, "abc", -1, nullptr, 0), 4);
  char inPlace[] = "mixed Case";
  EXPECT_EQ(LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, inPlace, -1, inPlace, sizeof inPlace), 11);
  EXPECT_STREQ(inPlace, "mixed case");
  struct Case { DWORD flags; int size; DWORD error; } cases[] = {
      {LCMAP_UPPERCASE, 2, ERROR_INSUFFICIENT_BUFFER},
      {LCMAP_UPPERCASE | LCMAP_LOWERCASE, 16, ERROR_INVALID_FLAGS},
      {LCMAP_SORTKEY, 16, ERROR_INVALID_FLAGS},
      {LCMAP_UPPERCASE, -1, ERROR_INVALID_PARAMETER},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(LCMapStringA(LOCALE_USER_DEFAULT, c.flags, "abc", -1, out, c.size), 0) << std::hex << c.flags;
    EXPECT_EQ(GetLastError(), c.error) << std::hex << c.flags;
  }
}

TEST(Collation, StringTypes) {
  WORD types[6] = {};
  ASSERT_TRUE(GetStringTypeA(LOCALE_USER_DEFAULT, CT_CTYPE1, "aZ5 .\xe9", 6, types));
  const WORD expected[6] = {
      C1_LOWER | C1_ALPHA | C1_XDIGIT | C1_DEFINED, C1_UPPER | C1_ALPHA | C1_DEFINED,
      C1_DIGIT | C1_XDIGIT | C1_DEFINED,           C1_SPACE | C1_BLANK | C1_DEFINED,
      C1_PUNCT | C1_DEFINED,                       C1_LOWER | C1_ALPHA | C1_DEFINED,
  };
  for (int i = 0; i < 6; ++i) EXPECT_EQ(types[i], expected[i]) << i;
  ASSERT_TRUE(GetStringTypeW(CT_CTYPE1, u"\u0416\u0436\u4e2d", 3, types));
  EXPECT_EQ(types[0], C1_UPPER | C1_ALPHA | C1_DEFINED);
  EXPECT_EQ(types[1], C1_LOWER | C1_ALPHA | C1_DEFINED);
  EXPECT_EQ(types[2], C1_ALPHA | C1_DEFINED);
  WORD withTerminator[3] = {0, 0, 0xFFFF};
  ASSERT_TRUE(GetStringTypeA(LOCALE_USER_DEFAULT, CT_CTYPE1, "a\t", -1, withTerminator));
  EXPECT_EQ(withTerminator[2], C1_CNTRL | C1_DEFINED);  // -1 types the terminator too
  SetLastError(0);
  EXPECT_FALSE(GetStringTypeA(LOCALE_USER_DEFAULT, CT_CTYPE2, "a", 1, types));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
  EXPECT_FALSE(GetStringTypeA(LOCALE_USER_DEFAULT, CT_CTYPE1, nullptr, 1, types));
}

}  // namespace
