#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "library.h"
#include "ravlets.h"
#include "suballocator.h"

namespace {

TEST(Utilities, InsertsCharactersIntoAString) {
  struct Case {
    const char* text;
    char c;
    int count;
    int position;
    const char* result;
  };
  const Case cases[] = {{"abcd", '-', 2, 1, "a--bcd"}, {"abcd", 'x', 1, 4, "abcdx"}, {"", 'y', 3, 0, "yyy"},
                        {"ab", 'z', 0, 1, "ab"},       {"ab", 'z', 2, 5, "ab"},     {"ab", 'z', -1, 0, "ab"}};
  for (const Case& c : cases) {
    char buffer[32] = {};
    std::strcpy(buffer, c.text);
    EXPECT_EQ(_fstrcins(buffer, c.c, c.count, c.position), buffer);
    EXPECT_STREQ(buffer, c.result) << c.text << " " << c.count << "@" << c.position;
  }
  EXPECT_EQ(_fstrcins(nullptr, 'a', 1, 0), nullptr);
}

TEST(Utilities, CopyTextIsBounded) {
  struct Case {
    const char* source;
    int size;
    int copied;
    const char* result;
  };
  const Case cases[] = {{"hello", 10, 5, "hello"}, {"hello", 3, 2, "he"},  {"hello", 1, 0, ""},
                        {"hello", -1, 5, "hello"}, {"hello", 0, 0, "###"}, {nullptr, 5, 0, "###"}};
  for (const Case& c : cases) {
    char buffer[16] = "###";
    EXPECT_EQ(HCtlCopyText(buffer, c.source, c.size), c.copied) << c.size;
    EXPECT_STREQ(buffer, c.result) << c.size;
  }
}

TEST(Utilities, StringCopiesLiveOnTheSubAllocator) {
  LPSTR a = HCtlStrDup("text");
  EXPECT_STREQ(a, "text");
  EXPECT_GE(HCtlPieceSize(a), 5u);
  EXPECT_EQ(HCtlStrDup(nullptr), nullptr);
  LPSTR held = HCtlStrDup("old");
  EXPECT_STREQ(HCtlReplaceDup(&held, "new"), "new");
  EXPECT_STREQ(held, "new");
  LPSTR filled = HCtlFillDup("abc", '*');
  EXPECT_STREQ(filled, "***");
  const WCHAR wide[] = {u'a', u'b', 0};
  EXPECT_EQ(HCtlWideLength(wide), 2);
  EXPECT_EQ(HCtlWideLength(nullptr), 0);
  for (LPSTR p : {a, held, filled}) EXPECT_EQ(HCtlFree(p), nullptr);
}

TEST(Utilities, TextExtentDiscountsMnemonicPrefixes) {
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
  SIZE plain{}, amps{};
  GetTextExtentPointA(dc, "&Save", 5, &plain);
  GetTextExtentPointA(dc, "&&&", 3, &amps);
  const DWORD one = HCtlTextExtent(dc, "&Save");
  EXPECT_EQ(static_cast<int>(LOWORD(one)), plain.cx - amps.cx / 3);
  EXPECT_EQ(static_cast<int>(HIWORD(one)), plain.cy);
  SIZE doubled{};
  GetTextExtentPointA(dc, "A&&B", 4, &doubled);
  EXPECT_EQ(static_cast<int>(LOWORD(HCtlTextExtent(dc, "A&&B"))), doubled.cx - amps.cx / 3) << "'&&' counts once";
  const DWORD two = HCtlTextExtent(dc, "short\nmuch longer line");
  SIZE longer{};
  GetTextExtentPointA(dc, "much longer line", 16, &longer);
  EXPECT_EQ(static_cast<int>(LOWORD(two)), longer.cx);
  EXPECT_EQ(static_cast<int>(HIWORD(two)), 2 * plain.cy);
  DeleteDC(dc);
  const DWORD average = HCtlAvgCharSize(nullptr);
  EXPECT_GT(LOWORD(average), 0);
  EXPECT_GT(HIWORD(average), 0);
}

LRESULT CALLBACK plainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

TEST(Utilities, CenterWindowAndWindowSizes) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = plainProc;
  wc.lpszClassName = "NwiUtilPlain";
  RegisterClassA(&wc);
  HWND parent = CreateWindowExA(0, "NwiUtilPlain", "", WS_POPUP, 100, 100, 300, 200, nullptr, nullptr, nullptr, nullptr);
  HWND child = CreateWindowExA(0, "NwiUtilPlain", "", WS_CHILD, 0, 0, 100, 50, parent, nullptr, nullptr, nullptr);
  EXPECT_EQ(WindowWidth(child), 100);
  EXPECT_EQ(WindowHeight(child), 50);
  EXPECT_EQ(WindowWidth(nullptr), 0);
  EXPECT_EQ(WindowHeight(reinterpret_cast<HWND>(0x7777)), 0);
  ASSERT_TRUE(CenterWindow(child, 10));
  RECT r{};
  GetWindowRect(child, &r);
  POINT topLeft{r.left, r.top};
  ScreenToClient(parent, &topLeft);
  EXPECT_EQ(topLeft.x, 100);
  EXPECT_EQ(topLeft.y, 75 + 10);
  // A window larger than its parent's area goes to 0.
  HWND big = CreateWindowExA(0, "NwiUtilPlain", "", WS_CHILD, 5, 5, 400, 300, parent, nullptr, nullptr, nullptr);
  ASSERT_TRUE(CenterWindow(big, 0));
  GetWindowRect(big, &r);
  POINT bigTopLeft{r.left, r.top};
  ScreenToClient(parent, &bigTopLeft);
  EXPECT_EQ(bigTopLeft.x, 0);
  EXPECT_EQ(bigTopLeft.y, 0);
  EXPECT_FALSE(CenterWindow(nullptr, 0));
  RECT rect{1, 2, 3, 4};
  RCtoS(parent, &rect);
  EXPECT_EQ(rect.left, 101);
  RStoC(parent, &rect);
  EXPECT_EQ(rect.left, 1);
  EXPECT_EQ(rect.bottom, 4);
  DestroyWindow(parent);
}

TEST(Utilities, HostKindRecognisesDesignHosts) {
  const char* names[] = {"RWSWndFrame", "dlgeditor", "KyPanel"};
  const int kinds[] = {2834, 2609, 0};
  for (int i = 0; i < 3; ++i) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = plainProc;
    wc.lpszClassName = names[i];
    RegisterClassA(&wc);
    HWND top = CreateWindowExA(0, names[i], "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExA(0, names[i], "", WS_CHILD, 0, 0, 5, 5, top, nullptr, nullptr, nullptr);
    EXPECT_EQ(HCtlHostKind(child), kinds[i]) << names[i];
    DestroyWindow(top);
  }
}

TEST(Utilities, SubclassAnswersThePreviousProcedureOnce) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = plainProc;
  wc.lpszClassName = "NwiUtilSub";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "NwiUtilSub", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  static WNDPROC other = [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT { return DefWindowProcA(h, m, wp, lp); };
  EXPECT_EQ(HCtlSubclass(w, other), plainProc);
  EXPECT_EQ(HCtlSubclass(w, other), nullptr) << "already set";
  DestroyWindow(w);
}

}  // namespace
