// KyString in a single-byte code page: maximum length, assignment and
// appending, substrings, replacing, formatting and the free functions.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <memory>
#include <string>

#include "KyString.h"

namespace {

TEST(KyString, ConstructionCutsToTheMaximum) {
  struct Case {
    const char* text;
    int max;
    const char* expected;
  } cases[] = {
      {"abcdefg", 5, "abcde"}, {"abc", 5, "abc"}, {"abcde", 5, "abcde"},
      {"abc", 0, ""},          {"abc", -1, "abc"}, {"abc", -7, "abc"},
      {"", 3, ""},             {nullptr, 3, ""},
  };
  for (const Case& c : cases) {
    KyString fromC(c.text, c.max);
    EXPECT_EQ(fromC, c.expected) << c.max;
    KyString fromCString(CString(c.text), c.max);
    EXPECT_EQ(fromCString, c.expected);
    KyString unlimited(c.text);
    KyString fromKy(unlimited, c.max);
    EXPECT_EQ(fromKy, c.expected);
  }
  KyString limited("abc", 2);
  KyString copy(limited);  // a copy has no maximum of its own
  EXPECT_EQ(copy.GetMaxLength(), -1);
  EXPECT_EQ(copy, "ab");
}

TEST(KyString, AssignmentKeepsTheTargetsLimits) {
  KyString target(3);
  KyString source("abcdef", 10);
  target = source;
  EXPECT_EQ(target, "abc");
  EXPECT_EQ(target.GetMaxLength(), 3);
  source = target;
  EXPECT_EQ(source, "abc");
  EXPECT_EQ(source.GetMaxLength(), 10);

  target = "wxyz";
  EXPECT_EQ(target, "wxy");
  target = static_cast<const char*>(nullptr);
  EXPECT_TRUE(target.IsEmpty());
  target = "xyz";
  target = target.c_str();  // its own buffer: nothing changes
  EXPECT_EQ(target, "xyz");
  target = target.c_str() + 1;  // a tail of its own text
  EXPECT_EQ(target, "yz");
  target = CString("12345");
  EXPECT_EQ(target, "123");
  target = 'q';
  EXPECT_EQ(target, "q");
  KyString& self = target;
  target = self;
  EXPECT_EQ(target, "q");
}

TEST(KyString, SetBytes) {
  KyString s(4);
  s.SetBytes(3, "abcdef");
  EXPECT_EQ(s, "abc");
  s.SetBytes(6, "abcdef");
  EXPECT_EQ(s, "abcd");
  s.SetBytes(0, "abc");
  EXPECT_TRUE(s.IsEmpty());
  s.SetBytes(-2, "abc");
  EXPECT_TRUE(s.IsEmpty());
}

// Appending cuts to the maximum as every other change does; a null pointer
// appends nothing; appending a string's own text doubles it.
TEST(KyString, AppendingKeepsTheMaximum) {
  KyString s(5);
  s = "abcdefg";
  EXPECT_EQ(s, "abcde");
  s += "xyz";
  EXPECT_EQ(s, "abcde");
  s.AppendFormat("%s", "");
  EXPECT_EQ(s, "abcde");

  KyString t("ab");
  t += static_cast<const char*>(nullptr);
  EXPECT_EQ(t, "ab");
  t += t.c_str();
  EXPECT_EQ(t, "abab");
  t += t;
  EXPECT_EQ(t, "abababab");
  t.Append(KyString("!"));
  t.AppendCString(CString("?"));
  t += '.';
  EXPECT_EQ(t, "abababab!?.");

  KyString limited(4);
  limited = "ab";
  limited.Append(KyString("cdef"));
  EXPECT_EQ(limited, "abcd");
  limited = "ab";
  limited += 'c';
  limited += 'd';
  limited += 'e';
  EXPECT_EQ(limited, "abcd");
}

TEST(KyString, EditorsOfTheFrameworkKeepTheMaximum) {
  KyString s(4);
  s = "abc";
  s.Insert(0, "xy");
  EXPECT_EQ(s, "xyab");
  s.Insert(1, 'z');
  EXPECT_EQ(s, "xzya");
  s.Replace("z", "123");
  EXPECT_EQ(s, "x123");
  s.Replace('1', '9');
  EXPECT_EQ(s, "x923");
  char* buffer = s.GetBuffer(10);
  std::memcpy(buffer, "123456789", 10);
  s.ReleaseBuffer();
  EXPECT_EQ(s, "1234");
}

TEST(KyString, Substrings) {
  struct Case {
    const char* text;
    int first;
    int count;  // -100: Mid(first)
    const char* expected;
  } mids[] = {
      {"abc", 5, 2, ""},   {"abc", 3, 1, ""},    {"abc", 0, 2, "ab"},  {"abc", 1, 10, "bc"},
      {"abc", -1, 2, "ab"}, {"abc", 1, 0, ""},   {"abc", 1, -3, ""},   {"abc", 1, -100, "bc"},
      {"abc", -4, -100, "abc"}, {"abc", 3, -100, ""}, {"", 0, 1, ""},
  };
  for (const Case& c : mids) {
    KyString s(c.text);
    KyString result = c.count == -100 ? s.Mid(c.first) : s.Mid(c.first, c.count);
    EXPECT_EQ(result, c.expected) << c.text << " " << c.first << " " << c.count;
    EXPECT_EQ(result.GetMaxLength(), -1);
  }
  struct Side {
    const char* text;
    int count;
    const char* left;
    const char* right;
  } sides[] = {
      {"abc", 2, "ab", "bc"}, {"abc", 5, "abc", "abc"}, {"abc", 0, "", ""}, {"abc", -1, "", ""}, {"", 2, "", ""},
  };
  for (const Side& c : sides) {
    KyString s(c.text);
    EXPECT_EQ(s.Left(c.count), c.left) << c.count;
    EXPECT_EQ(s.Right(c.count), c.right) << c.count;
  }
  KyString limited("abcdef", 4);
  EXPECT_EQ(limited.Mid(1).GetMaxLength(), -1);
  EXPECT_EQ(limited.SingleBytePrefix(), "abcd");
}

TEST(KyString, ReplaceFirstAndAll) {
  struct Case {
    const char* text;
    const char* search;
    const char* replacement;
    const char* first;
    int position;
    const char* all;
  } cases[] = {
      {"aXbX", "X", "YY", "aYYbX", 1, "aYYbYY"},
      {"aa", "a", "aa", "aaa", 0, "aaaa"},
      {"abc", "z", "Q", "abc", -1, "abc"},
      {"abab", "ab", "", "ab", 0, ""},
      {"aaa", "aa", "b", "ba", 0, "ba"},  // no overlap
      {"abc", "", "Q", "abc", -1, "abc"},  // an empty search text occurs nowhere
      {"", "a", "b", "", -1, ""},
  };
  for (const Case& c : cases) {
    KyString first(c.text);
    EXPECT_EQ(first.ReplaceString(KyString(c.search), KyString(c.replacement)), c.position) << c.text;
    EXPECT_EQ(first, c.first) << c.text;
    KyString all(c.text);
    KyString result = all.ReplaceAllString(KyString(c.search), KyString(c.replacement));
    EXPECT_EQ(all, c.all) << c.text;
    EXPECT_EQ(result, c.all) << c.text;
  }
  KyString limited("aXbX", 4);
  EXPECT_EQ(limited.ReplaceAllString(KyString("X"), KyString("YY")), "aYYb");
  EXPECT_EQ(limited, "aYYb");
  KyString notFound("abcdef");
  notFound.Init(0, 3, 0);
  EXPECT_EQ(notFound.ReplaceString(KyString("z"), KyString("")), -1);
  EXPECT_EQ(notFound, "abc");
}

TEST(KyString, ReplaceChar) {
  KyString s("a.b.c");
  EXPECT_EQ(s.ReplaceChar('.', ','), "a,b,c");
  KyString shared(s);
  s.ReplaceChar(',', ';');
  EXPECT_EQ(shared, "a,b,c");  // a copy sharing the text is not touched
  EXPECT_EQ(s, "a;b;c");
}

TEST(KyString, FormatIsNotLimitedToAWorkBuffer) {
  KyString s;
  s.Format("%d-%s", 42, "x");
  EXPECT_EQ(s, "42-x");
  const std::string big(20000, 'q');
  s.Format("<%s>", big.c_str());
  EXPECT_EQ(s.GetLength(), 20002);
  s.Format("%s%s", s.c_str(), "!");  // arguments may point into the string
  EXPECT_EQ(s.GetLength(), 20003);

  KyString limited(6);
  limited.Format("%08.3f", 3.14159);
  EXPECT_EQ(limited, "0003.1");
  limited.Format("%s", big.c_str());
  EXPECT_EQ(limited, "qqqqqq");
  limited = "ab";
  limited.AppendFormat("%d", 12345);
  EXPECT_EQ(limited, "ab1234");
  KyString e;
  e.Format("%e", 1e17);
  EXPECT_EQ(e, "1.000000e+017");  // the C run-time's exponent form
}

TEST(KyString, EqualityIsByteExact) {
  EXPECT_TRUE(KyString::IsEqual(KyString("abc"), CString("abc")));
  EXPECT_FALSE(KyString::IsEqual(KyString("abc"), KyString("ABC")));
  EXPECT_TRUE(KyString::IsDifferent(KyString("abc"), KyString("abc ")));
  EXPECT_FALSE(KyString::IsDifferent(KyString(""), KyString()));
}

int sign(int value) { return (value > 0) - (value < 0); }

// The word-at-a-time comparison agrees with the framework's rule at every
// length and every position of a difference, across block edges.
TEST(KyString, CompareNoCaseAgreesWithTheFramework) {
  const std::string base = "The Quick Brown Fox Jumps Over The Lazy Dog 0123456789 [\\]^_`{|}~@";
  const char replacements[] = {'a', 'Z', '[', '@', '`', '{', '\xc9', '\xe9', '\x8a', '\x9a', ' '};
  for (size_t length = 0; length <= 40; ++length) {
    const std::string left = base.substr(0, length);
    std::string lowered = left;
    for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(KyString(left.c_str()).CompareNoCase(lowered.c_str()), 0) << left;
    EXPECT_EQ(KyString(left.c_str()).CompareNoCase(CString(lowered.c_str())), 0) << left;
    for (size_t at = 0; at < length; ++at) {
      for (char replacement : replacements) {
        std::string right = lowered;
        right[at] = replacement;
        const int expected = sign(CString(left.c_str()).CompareNoCase(right.c_str()));
        EXPECT_EQ(sign(KyString(left.c_str()).CompareNoCase(right.c_str())), expected) << left << "|" << right;
        EXPECT_EQ(sign(KyString(right.c_str()).CompareNoCase(CString(left.c_str()))), -expected);
      }
    }
    // A prefix is less than the whole.
    if (length > 0) {
      EXPECT_LT(KyString(left.substr(0, length - 1).c_str()).CompareNoCase(left.c_str()), 0);
    }
  }
  EXPECT_EQ(KyString("\xc9T\xc9").CompareNoCase("\xe9t\xe9"), 0);  // code page 1252 pairs
  EXPECT_EQ(KyString("abc").CompareNoCase(static_cast<const char*>(nullptr)), CString("abc").CompareNoCase(nullptr));
  KyString withNul("ab");
  withNul += 'c';
  withNul.SetBytes(5, "ab\0xy");  // the text ends at its NUL
  EXPECT_EQ(withNul.CompareNoCase("AB"), 0);
}

TEST(KyString, MoveLeavesTheSourceUsable) {
  KyString source("moved text");
  KyString target(std::move(source));
  EXPECT_EQ(target, "moved text");
  KyString limited(4);
  limited = std::move(target);
  EXPECT_EQ(limited, "move");
  source = "again";
  EXPECT_EQ(source, "again");
}

TEST(KyStringFunctions, StrDupAndTrim) {
  std::unique_ptr<char[]> copy(pszKyStrDup("abc"));
  EXPECT_STREQ(copy.get(), "abc");
  std::unique_ptr<char[]> empty(pszKyStrDup(nullptr));
  EXPECT_STREQ(empty.get(), "");

  struct Case {
    const char* text;
    const char* trimmed;
  } cases[] = {{"  a  ", "  a"}, {"abc", "abc"}, {"   ", ""}, {"", ""}, {"a\t ", "a\t"}};
  for (const Case& c : cases) {
    std::string buffer = c.text;
    EXPECT_STREQ(pszKyTrimSpaces(buffer.data()), c.trimmed);
  }
  EXPECT_EQ(pszKyTrimSpaces(nullptr), nullptr);
}

TEST(KyStringFunctions, CompareWithoutTrailingBlanks) {
  struct Case {
    const char* a;
    const char* b;
    int compare;
    int compareNoCase;
  } cases[] = {
      {"abc", "abc   ", 0, 0}, {"ABC", "abc ", -1, 0},  {"abc", "abd", -1, -1}, {"ab", "abc", -1, -1},
      {"abc", "ab ", 1, 1},     {" abc", "abc", -1, -1}, {"", "   ", 0, 0},      {nullptr, "", 0, 0},
      {"a\xe9", "a\xc9", 1, 1},  // only ASCII letters change case
      {"0123456789abcdefGHIJ", "0123456789ABCDEFghij  ", 1, 0},
      {"0123456789abcdefGHIJ", "0123456789ABCDEFghiK", 1, -1},
      {"0123456789ABCDEF[", "0123456789abcdef{", -1, -1},  // '[' is no capital
  };
  for (const Case& c : cases) {
    EXPECT_EQ(sign(iKyCompString(c.a, c.b)), c.compare) << (c.a ? c.a : "null") << "|" << c.b;
    EXPECT_EQ(sign(iKyiCompString(c.a, c.b)), c.compareNoCase) << (c.a ? c.a : "null") << "|" << c.b;
    EXPECT_EQ(sign(iKyCompString(c.b, c.a)), -c.compare);
  }
}

TEST(KyStringFunctions, ContainsAndStartsWith) {
  struct Case {
    const char* part;
    const char* whole;
    BOOL contains;
    BOOL starts;
  } cases[] = {
      {"ab", "xab", TRUE, FALSE}, {"ab", "abab", TRUE, TRUE}, {"", "xyz", TRUE, TRUE},
      {"ab", "a", FALSE, FALSE},  {"ab", "", FALSE, FALSE},   {"aba", "xabab", TRUE, FALSE},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fKyStringCT(c.part, c.whole), c.contains) << c.part << "|" << c.whole;
    EXPECT_EQ(fKyStringST(c.part, c.whole), c.starts) << c.part << "|" << c.whole;
  }
}

TEST(KyStringFunctions, SubStringCountsFromOne) {
  struct Case {
    int length;
    int start;
    const char* expected;
  } cases[] = {
      {3, 2, "bcd"}, {3, 1, "abc"}, {10, 4, "def"}, {2, 7, ""}, {0, 2, ""},
      {3, 0, "abc"}, {3, -5, "abc"},  // a start before the text counts from the first character
  };
  const KyString source("abcdef");
  for (const Case& c : cases) EXPECT_EQ(strKySubString(source, c.length, c.start), c.expected) << c.start;
}

}  // namespace
