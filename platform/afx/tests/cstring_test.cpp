// CString behaviour: construction, sharing, buffers, substrings, editing,
// searching, trimming, comparison and formatting.
#include <afx.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// Runs `action` and checks that it throws a CInvalidArgException*, which it
// deletes as a handler must.
template <class Action>
void expectInvalidArg(Action action, int index) {
  try {
    action();
    ADD_FAILURE() << "no exception for index " << index;
  } catch (CException* e) {
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)));
    e->Delete();
  }
}

TEST(CStringConstruction, FromTextsCharsAndCounts) {
  EXPECT_EQ(CString("abc"), "abc");
  EXPECT_TRUE(CString(static_cast<LPCSTR>(nullptr)).IsEmpty());
  EXPECT_EQ(CString('x', 3), "xxx");
  EXPECT_TRUE(CString('x', 0).IsEmpty());
  EXPECT_TRUE(CString('x', -2).IsEmpty());
  EXPECT_EQ(CString("abcdef", 3), "abc");
  EXPECT_TRUE(CString("abc", 0).IsEmpty());
  EXPECT_TRUE(CString(nullptr, 5).IsEmpty());
  const unsigned char bytes[] = {0xE9, 'a', 0};
  EXPECT_EQ(CString(bytes), "\xE9" "a");
  EXPECT_EQ(CString(u"d\u00E9j\u20AC\u4E00"), "d\xE9j\x80?");
}

TEST(CStringConstruction, ResourceIdWithoutStringIsEmpty) {
  CString s(MAKEINTRESOURCE(0x7FFF));
  EXPECT_TRUE(s.IsEmpty());
  CString t("keep");
  EXPECT_FALSE(t.LoadString(0x7FFF));
  EXPECT_TRUE(t.IsEmpty());
}

// The test program carries string resources 100-103 (tests/data/strings.rc,
// 102 being longer than the first buffer tried);
// AFXCHAIN.DLL carries 100 and 200 (tests/data/chain.rc).
TEST(CStringResource, LoadsStringsOfTheProgram) {
  CString s;
  EXPECT_TRUE(s.LoadString(100));
  EXPECT_EQ(s, "Hello from the program");
  EXPECT_EQ(CString(MAKEINTRESOURCE(100)), "Hello from the program");
  EXPECT_TRUE(s.LoadString(102));
  EXPECT_EQ(s.GetLength(), 310);
  EXPECT_EQ(s.Right(3), "789");
  s.Format(101, 3, "x");
  EXPECT_EQ(s, "3 items of x");
  s.FormatMessage(101, 2, "y");
  EXPECT_EQ(s, "d items of s");  // "%d" is no insert: the percent goes
  EXPECT_FALSE(s.LoadString(104));
  EXPECT_TRUE(s.IsEmpty());
  s = "x";
  s.Format(104, 1);
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_EQ(CTime(2026, 2, 3, 12, 0, 0).Format(103), "2026/02/03");
}

TEST(CStringResource, SearchesTheExtensionLibraryChain) {
  HMODULE library = LoadLibraryA(KY_BIN_DIR "/AFXCHAIN.DLL");
  ASSERT_NE(library, nullptr);
  CString s;
  EXPECT_FALSE(s.LoadString(200));
  AfxAddResourceModule(library);
  AfxAddResourceModule(library);
  EXPECT_TRUE(s.LoadString(200));
  EXPECT_EQ(s, "From the extension library");
  EXPECT_TRUE(s.LoadString(100));
  EXPECT_EQ(s, "Hello from the program");  // the resource handle comes first
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(200 / 16 + 1), RT_STRING), library);
  AfxSetResourceHandle(library);
  EXPECT_EQ(AfxGetResourceHandle(), library);
  EXPECT_TRUE(s.LoadString(100));
  EXPECT_EQ(s, "Shadowed by the program");
  AfxSetResourceHandle(nullptr);
  AfxRemoveResourceModule(library);
  EXPECT_FALSE(s.LoadString(200));
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(200 / 16 + 1), RT_STRING), nullptr);
  FreeLibrary(library);
}

TEST(CStringSharing, CopiesShareUntilWritten) {
  CString a("shared text");
  CString b = a;
  EXPECT_EQ(static_cast<LPCSTR>(a), static_cast<LPCSTR>(b));
  b.SetAt(0, 'S');
  EXPECT_EQ(a, "shared text");
  EXPECT_EQ(b, "Shared text");
  CString c = a;
  c += "!";
  EXPECT_EQ(a, "shared text");
  EXPECT_EQ(c, "shared text!");
}

TEST(CStringSharing, LockedBufferIsNeverShared) {
  CString a("locked");
  LPSTR p = a.LockBuffer();
  CString b = a;
  EXPECT_NE(p, static_cast<LPCSTR>(b));
  p[0] = 'L';
  EXPECT_EQ(a, "Locked");
  EXPECT_EQ(b, "locked");
  a.UnlockBuffer();
  CString c = a;
  EXPECT_EQ(static_cast<LPCSTR>(a), static_cast<LPCSTR>(c));
}

TEST(CStringSharing, CopiesAcrossThreadsAreSafe) {
  const CString source("text copied by many threads");
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&source] {
      for (int i = 0; i < 20000; ++i) {
        CString copy = source;
        CString other = copy;
        copy += "x";
        if (other != source) std::abort();
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(source, "text copied by many threads");
}

TEST(CStringAccess, ElementsAndBadIndexes) {
  CString s("abc");
  EXPECT_EQ(s.GetAt(0), 'a');
  EXPECT_EQ(s[2], 'c');
  s.SetAt(1, 'B');
  EXPECT_EQ(s, "aBc");
  for (int bad : {-1, 3, INT_MAX}) {
    expectInvalidArg([&] { (void)s.GetAt(bad); }, bad);
    expectInvalidArg([&] { s.SetAt(bad, 'x'); }, bad);
  }
  EXPECT_EQ(s, "aBc");
}

TEST(CStringBuffer, GetBufferReleaseBufferForms) {
  CString s("abc");
  LPSTR p = s.GetBuffer(10);
  ASSERT_GE(s.GetAllocLength(), 10);
  EXPECT_STREQ(p, "abc");
  std::memcpy(p, "abcdefgh", 9);
  s.ReleaseBuffer();
  EXPECT_EQ(s, "abcdefgh");
  EXPECT_EQ(s.GetLength(), 8);
  s.GetBuffer(0);
  s.ReleaseBuffer(2);
  EXPECT_EQ(s, "ab");
  p = s.GetBufferSetLength(4);
  p[2] = 'c';
  p[3] = 'd';
  s.ReleaseBuffer();
  EXPECT_EQ(s, "abcd");
  s.FreeExtra();
  EXPECT_EQ(s.GetAllocLength(), 4);
  s.Preallocate(100);
  EXPECT_GE(s.GetAllocLength(), 100);
  EXPECT_EQ(s, "abcd");
}

TEST(CStringBuffer, GetBufferOfSharedTextLeavesTheCopyAlone) {
  CString a("one");
  CString b = a;
  LPSTR p = b.GetBuffer(0);
  p[0] = 'O';
  b.ReleaseBuffer();
  EXPECT_EQ(a, "one");
  EXPECT_EQ(b, "One");
  CString empty;
  p = empty.GetBuffer(0);
  p[0] = '\0';
  empty.ReleaseBuffer();
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_TRUE(CString().IsEmpty());
}

TEST(CStringConcatenation, AllOperandForms) {
  CString a("ab");
  EXPECT_EQ(a + CString("cd"), "abcd");
  EXPECT_EQ(a + "cd", "abcd");
  EXPECT_EQ("cd" + a, "cdab");
  EXPECT_EQ(a + 'c', "abc");
  EXPECT_EQ('c' + a, "cab");
  EXPECT_EQ(a + static_cast<LPCSTR>(nullptr), "ab");
  a += 'c';
  a += "de";
  a += CString("f");
  a += static_cast<LPCSTR>(nullptr);
  EXPECT_EQ(a, "abcdef");
  a += a;
  EXPECT_EQ(a, "abcdefabcdef");
  a += static_cast<LPCSTR>(a) + 6;
  EXPECT_EQ(a, "abcdefabcdefabcdef");
}

TEST(CStringConcatenation, RepeatedAppendGrowsGeometrically) {
  CString s;
  int reallocations = 0;
  LPCSTR last = s;
  for (int i = 0; i < 10000; ++i) {
    s += 'x';
    if (static_cast<LPCSTR>(s) != last) ++reallocations, last = s;
  }
  EXPECT_EQ(s.GetLength(), 10000);
  EXPECT_LT(reallocations, 40);
}

TEST(CStringAssignment, SelfAndOverlappingSources) {
  CString s("abcdef");
  const CString& same = s;
  s = same;  // assignment to itself
  EXPECT_EQ(s, "abcdef");
  s = static_cast<LPCSTR>(s) + 2;
  EXPECT_EQ(s, "cdef");
  s = 'z';
  EXPECT_EQ(s, "z");
  s = static_cast<LPCSTR>(nullptr);
  EXPECT_TRUE(s.IsEmpty());
  CString moved("moved text");
  CString target(std::move(moved));
  EXPECT_EQ(target, "moved text");
}

TEST(CStringCompare, OrderAndCase) {
  struct Case {
    const char* a;
    const char* b;
    int compare;
    int noCase;
  };
  const Case cases[] = {
      {"abc", "abc", 0, 0},   {"abc", "ABC", 1, 0},      {"ab", "abc", -1, -1},  {"", "", 0, 0},
      {"a_", "AB", 1, -1},    {"\xE9t\xE9", "\xC9T\xC9", 1, 0},  // e acute in code page 1252
      {"\xFF", "\x9F", 1, 0},  // y diaeresis
      {"\x80", "a", 1, 1},
  };
  auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (const Case& c : cases) {
    CString s(c.a);
    EXPECT_EQ(sign(s.Compare(c.b)), c.compare) << c.a << " / " << c.b;
    EXPECT_EQ(sign(s.CompareNoCase(c.b)), c.noCase) << c.a << " / " << c.b;
    EXPECT_EQ(sign(s.Collate(c.b)), c.compare);
    EXPECT_EQ(sign(s.CollateNoCase(c.b)), c.noCase);
  }
  CString s("abc");
  EXPECT_GT(s.Compare(nullptr), 0);
  EXPECT_TRUE(s == "abc" && "abc" == s && s == CString("abc"));
  EXPECT_TRUE(s != "abd" && "abd" != s);
  EXPECT_TRUE(s < "abd" && "abb" < s && s <= "abc" && s >= "abc");
  EXPECT_TRUE(s > "abb" && "abd" > s && "abc" <= s && "abc" >= s);
}

struct MidCase {
  int first;
  int count;
  const char* expected;
};

TEST(CStringSubstrings, MidClampsAsTheFrameworkDoes) {
  const CString s("abcdef");
  const MidCase cases[] = {
      {0, 3, "abc"},  {2, 2, "cd"},   {4, 10, "ef"}, {-3, 2, "ab"},  {2, -1, ""},
      {6, 1, ""},     {10, 2, ""},    {0, 6, "abcdef"}, {5, INT_MAX, "f"}, {INT_MAX, INT_MAX, ""},
  };
  for (const MidCase& c : cases) EXPECT_EQ(s.Mid(c.first, c.count), c.expected) << c.first << "," << c.count;
  EXPECT_EQ(s.Mid(3), "def");
  EXPECT_EQ(s.Mid(-1), "abcdef");
  EXPECT_EQ(s.Mid(6), "");
  EXPECT_EQ(s.Mid(INT_MAX), "");
}

TEST(CStringSubstrings, LeftRightAndSpans) {
  const CString s("abcdef");
  const std::pair<int, const char*> left[] = {{0, ""}, {2, "ab"}, {6, "abcdef"}, {9, "abcdef"}, {-1, ""}};
  for (auto [n, expected] : left) EXPECT_EQ(s.Left(n), expected) << n;
  const std::pair<int, const char*> right[] = {{0, ""}, {2, "ef"}, {6, "abcdef"}, {9, "abcdef"}, {-1, ""}};
  for (auto [n, expected] : right) EXPECT_EQ(s.Right(n), expected) << n;
  EXPECT_EQ(CString("Right").Right(2), "ht");
  EXPECT_EQ(CString("abc").Right(5), "abc");
  EXPECT_EQ(CString("cabbage").SpanIncluding("abc"), "cabba");
  EXPECT_EQ(CString("cabbage").SpanIncluding("xyz"), "");
  EXPECT_EQ(CString("Cabbage; ware").SpanExcluding(";,"), "Cabbage");
  EXPECT_EQ(CString("plain").SpanExcluding(";"), "plain");
  EXPECT_EQ(CString("plain").SpanIncluding(nullptr), "");
}

TEST(CStringCase, UpperLowerReverse) {
  CString s("Hello \xE9\xFF\x9A 1");
  s.MakeUpper();
  EXPECT_EQ(s, "HELLO \xC9\x9F\x8A 1");
  s.MakeLower();
  EXPECT_EQ(s, "hello \xE9\xFF\x9A 1");
  EXPECT_EQ(CString("\xDF\xF7\xB5").MakeUpper(), "\xDF\xF7\xB5");  // no upper case in 1252
  EXPECT_EQ(CString("abc").MakeReverse(), "cba");
  EXPECT_EQ(CString().MakeReverse(), "");
}

TEST(CStringEditing, ReplaceForms) {
  struct Case {
    const char* text;
    const char* from;
    const char* to;
    int count;
    const char* expected;
  };
  const Case cases[] = {
      {"aXbX", "X", "YY", 2, "aYYbYY"},  {"aa", "a", "aa", 2, "aaaa"},   {"aaa", "aa", "b", 1, "ba"},
      {"abc", "x", "y", 0, "abc"},       {"abc", "", "y", 0, "abc"},      {"abc", nullptr, "y", 0, "abc"},
      {"abcabc", "bc", nullptr, 2, "aa"}, {"abc", "abc", "", 1, ""},
  };
  for (const Case& c : cases) {
    CString s(c.text);
    EXPECT_EQ(s.Replace(c.from, c.to), c.count) << c.text;
    EXPECT_EQ(s, c.expected) << c.text;
  }
  CString s("a.b.c");
  EXPECT_EQ(s.Replace('.', '/'), 2);
  EXPECT_EQ(s, "a/b/c");
  EXPECT_EQ(s.Replace('/', '/'), 0);
  CString self("abab");
  EXPECT_EQ(self.Replace(static_cast<LPCSTR>(self) + 2, "x"), 2);  // "ab" found in its own text
  EXPECT_EQ(self, "xx");
}

TEST(CStringEditing, RemoveInsertDelete) {
  CString s("a-b-c-");
  EXPECT_EQ(s.Remove('-'), 3);
  EXPECT_EQ(s, "abc");
  EXPECT_EQ(s.Remove('x'), 0);
  struct InsertCase {
    int index;
    const char* text;
    const char* expected;
  };
  const InsertCase inserts[] = {{1, "XY", "aXYbc"}, {0, "X", "Xabc"}, {-5, "X", "Xabc"},
                                {3, "X", "abcX"},   {99, "X", "abcX"}, {1, "", "abc"}, {1, nullptr, "abc"}};
  for (const InsertCase& c : inserts) {
    CString t("abc");
    EXPECT_EQ(t.Insert(c.index, c.text), static_cast<int>(std::strlen(c.expected)));
    EXPECT_EQ(t, c.expected) << c.index;
  }
  CString t("abc");
  EXPECT_EQ(t.Insert(1, '-'), 4);
  EXPECT_EQ(t, "a-bc");
  struct DeleteCase {
    int index;
    int count;
    const char* expected;
  };
  const DeleteCase deletes[] = {{0, 1, "bcdef"}, {2, 2, "abef"}, {4, 99, "abcd"}, {-2, 1, "bcdef"},
                                {6, 1, "abcdef"}, {2, 0, "abcdef"}, {2, -1, "abcdef"}, {0, INT_MAX, ""}};
  for (const DeleteCase& c : deletes) {
    CString d("abcdef");
    EXPECT_EQ(d.Delete(c.index, c.count), static_cast<int>(std::strlen(c.expected)));
    EXPECT_EQ(d, c.expected) << c.index << "," << c.count;
  }
}

TEST(CStringTrim, WhitespaceCharAndSetForms) {
  EXPECT_EQ(CString(" \t\r\n\v\fab c \t\n").TrimLeft(), "ab c \t\n");
  EXPECT_EQ(CString(" \tab c \t\n\r").TrimRight(), " \tab c");
  EXPECT_EQ(CString("  ab  ").Trim(), "ab");
  EXPECT_EQ(CString("xxabxx").TrimLeft('x'), "abxx");
  EXPECT_EQ(CString("xxabxx").TrimRight('x'), "xxab");
  EXPECT_EQ(CString("xxabxx").Trim('x'), "ab");
  EXPECT_EQ(CString("*-ab-*").TrimLeft("-*"), "ab-*");
  EXPECT_EQ(CString("*-ab-*").TrimRight("-*"), "*-ab");
  EXPECT_EQ(CString("*-ab-*").Trim("*-"), "ab");
  EXPECT_EQ(CString("   ").Trim(), "");
  EXPECT_EQ(CString("ab").Trim(static_cast<LPCSTR>(nullptr)), "ab");
  EXPECT_EQ(CString("\xA0" "a").TrimLeft(), "\xA0" "a");  // no-break space is no white space in "C"
}

TEST(CStringSearch, FindForms) {
  const CString s("abcabc");
  struct Case {
    const char* sub;
    int start;
    int expected;
  };
  const Case cases[] = {{"bc", 0, 1}, {"bc", 2, 4}, {"bc", 5, -1}, {"x", 0, -1}, {"", 3, 3},
                        {"abc", -4, 0}, {"c", 6, -1}, {"c", 7, -1}, {nullptr, 0, -1}};
  for (const Case& c : cases) EXPECT_EQ(s.Find(c.sub, c.start), c.expected) << (c.sub ? c.sub : "null") << c.start;
  EXPECT_EQ(s.Find('c'), 2);
  EXPECT_EQ(s.Find('c', 3), 5);
  EXPECT_EQ(s.Find('c', 6), -1);
  EXPECT_EQ(s.Find('z'), -1);
  EXPECT_EQ(s.Find('\0'), -1);
  EXPECT_EQ(s.ReverseFind('a'), 3);
  EXPECT_EQ(s.ReverseFind('z'), -1);
  EXPECT_EQ(s.FindOneOf("xc"), 2);
  EXPECT_EQ(s.FindOneOf("xyz"), -1);
  EXPECT_EQ(s.FindOneOf(nullptr), -1);
}

TEST(CStringSearch, TokenizeWalksTokens) {
  const CString s("%First Second#Third");
  std::vector<std::string> tokens;
  int pos = 0;
  for (CString token = s.Tokenize("% #", pos); pos != -1; token = s.Tokenize("% #", pos))
    tokens.emplace_back(static_cast<LPCSTR>(token));
  EXPECT_EQ(tokens, (std::vector<std::string>{"First", "Second", "Third"}));
  pos = 0;
  EXPECT_EQ(CString(",,,").Tokenize(",", pos), "");
  EXPECT_EQ(pos, -1);
}

TEST(CStringFormat, MicrosoftOutputForms) {
  struct Case {
    const char* expected;
    CString text;
  };
  auto format = [](const char* f, auto... args) {
    CString s;
    s.Format(f, args...);
    return s;
  };
  const Case cases[] = {
      {"42", format("%d", 42)},
      {"-000042", format("%07d", -42)},
      {"12345678901", format("%I64d", 12345678901LL)},
      {"1.500000e+002", format("%e", 150.0)},
      {"1e+017", format("%g", 1e17)},
      {"abc|  x", format("%s|%3s", "abc", "x")},
      {"ff FF", format("%x %X", 255, 255)},
      {"%", format("%%")},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, c.expected);
  CString big;
  big.Format("%s%s", std::string(5000, 'a').c_str(), std::string(5000, 'b').c_str());
  EXPECT_EQ(big.GetLength(), 10000);
  EXPECT_EQ(big.Right(1), "b");
}

TEST(CStringFormat, ArgumentsFromItsOwnTextAndAppending) {
  CString s("value");
  s.Format("[%s]", static_cast<LPCSTR>(s));
  EXPECT_EQ(s, "[value]");
  s.AppendFormat(" %d", 7);
  EXPECT_EQ(s, "[value] 7");
  s.AppendFormat("%s", "");
  EXPECT_EQ(s, "[value] 7");
  s.Format("%s", "");
  EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringFormat, MessageInsertsByNumber) {
  CString s;
  s.FormatMessage("%2 before %1", "one", "two");
  EXPECT_EQ(s, "two before one");
  s.FormatMessage("%1!d! items, %2!5s!|", 42, "ab");
  EXPECT_EQ(s, "42 items,    ab|");
  s.FormatMessage("100%% sure%n");
  EXPECT_EQ(s, "100% sure\r\n");
  s.FormatMessage("");
  EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringPrinting, StreamsItsText) {
  std::ostringstream os;
  os << CString("text");
  EXPECT_EQ(os.str(), "text");
  EXPECT_EQ(testing::PrintToString(CString("x")), "\"x\"");
}

}  // namespace
