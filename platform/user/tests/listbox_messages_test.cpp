// List box messages: items, texts, data, searching, sorted insertion and
// the selection messages of the three selection modes.
#include "control_fixture.h"

#include <string>
#include <vector>

namespace {

class ListBoxMessages : public test::ControlTest {
 protected:
  HWND list(DWORD style, int height = 100) { return child("ListBox", nullptr, WS_VSCROLL | style, 100, 10, 10, 150, height); }
  static void add(HWND lb, std::initializer_list<const char*> texts) {
    for (const char* t : texts) SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM)t);
  }
  static std::string text(HWND lb, int index) {
    LRESULT n = SendMessageA(lb, LB_GETTEXTLEN, index, 0);
    if (n < 0) return "<err>";
    std::string s((size_t)n + 1, '\0');
    SendMessageA(lb, LB_GETTEXT, index, (LPARAM)s.data());
    s.resize((size_t)n);
    return s;
  }
  static std::vector<std::string> texts(HWND lb) {
    std::vector<std::string> all;
    for (int i = 0; i < SendMessageA(lb, LB_GETCOUNT, 0, 0); ++i) all.push_back(text(lb, i));
    return all;
  }
};

TEST_F(ListBoxMessages, AddsInsertsAndDeletesItems) {
  HWND lb = list(0);
  EXPECT_EQ(SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM) "one"), 0);
  EXPECT_EQ(SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM) "three"), 1);
  EXPECT_EQ(SendMessageA(lb, LB_INSERTSTRING, 1, (LPARAM) "two"), 1);
  EXPECT_EQ(SendMessageA(lb, LB_INSERTSTRING, (WPARAM)-1, (LPARAM) "four"), 3);
  EXPECT_EQ(texts(lb), (std::vector<std::string>{"one", "two", "three", "four"}));
  EXPECT_EQ(SendMessageA(lb, LB_DELETESTRING, 0, 0), 3);  // the count left
  EXPECT_EQ(SendMessageA(lb, LB_GETTEXTLEN, 1, 0), 5);
  EXPECT_EQ(text(lb, 1), "three");
  EXPECT_EQ(SendMessageA(lb, LB_INSERTSTRING, 9, (LPARAM) "x"), LB_ERR);
  SendMessageA(lb, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageA(lb, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ListBoxMessages, BadIndicesAnswerLbErr) {
  HWND lb = list(0);
  add(lb, {"a"});
  char buffer[16];
  struct Case {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
  } cases[] = {
      {LB_GETTEXT, 1, (LPARAM)buffer}, {LB_GETTEXTLEN, 5, 0},  {LB_DELETESTRING, 1, 0},
      {LB_GETITEMDATA, 1, 0},           {LB_SETITEMDATA, 2, 7}, {LB_GETSEL, 3, 0},
      {LB_SETCURSEL, 4, 0},             {LB_SETTOPINDEX, 9, 0}, {LB_GETSELCOUNT, 0, 0},
      {LB_GETSELITEMS, 1, (LPARAM)buffer}, {LB_SETSEL, 1, 0},   {LB_GETTEXTLEN, (WPARAM)-1, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(SendMessageA(lb, c.msg, c.wParam, c.lParam), LB_ERR) << std::hex << c.msg;
}

TEST_F(ListBoxMessages, ItemDataStaysWithItsItem) {
  HWND lb = list(0);
  add(lb, {"a", "b"});
  EXPECT_EQ(SendMessageA(lb, LB_SETITEMDATA, 1, (LPARAM)0x1234567890), TRUE);
  SendMessageA(lb, LB_INSERTSTRING, 0, (LPARAM) "first");
  EXPECT_EQ(SendMessageA(lb, LB_GETITEMDATA, 2, 0), (LRESULT)0x1234567890);
  EXPECT_EQ(SendMessageA(lb, LB_GETITEMDATA, 0, 0), 0);
}

TEST_F(ListBoxMessages, SortedListsOrderIgnoringCaseAndKeepEqualsInArrivalOrder) {
  HWND lb = list(LBS_SORT);
  add(lb, {"pear", "Apple", "banana", "apple", "Cherry"});
  EXPECT_EQ(texts(lb), (std::vector<std::string>{"Apple", "apple", "banana", "Cherry", "pear"}));
  EXPECT_EQ(SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM) "Banana split"), 3);
  // Inserting at a place keeps the place even in a sorted list.
  EXPECT_EQ(SendMessageA(lb, LB_INSERTSTRING, 0, (LPARAM) "zebra"), 0);
  EXPECT_EQ(text(lb, 0), "zebra");
}

TEST_F(ListBoxMessages, FindsByPrefixOrExactlyFromAfterTheStartWrapping) {
  HWND lb = list(0);
  add(lb, {"alpha", "beta", "Alpine", "al"});
  struct Case {
    UINT msg;
    int start;
    const char* text;
    LRESULT found;
  } cases[] = {
      {LB_FINDSTRING, -1, "al", 0},         {LB_FINDSTRING, 0, "AL", 2},       {LB_FINDSTRING, 3, "al", 0},
      {LB_FINDSTRING, -1, "gamma", LB_ERR}, {LB_FINDSTRINGEXACT, -1, "AL", 3}, {LB_FINDSTRINGEXACT, -1, "alp", LB_ERR},
      {LB_FINDSTRINGEXACT, 3, "ALPHA", 0},  {LB_FINDSTRING, 99, "b", 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SendMessageA(lb, c.msg, c.start, (LPARAM)c.text), c.found) << c.text << " from " << c.start;
  EXPECT_EQ(SendMessageA(lb, LB_SELECTSTRING, (WPARAM)-1, (LPARAM) "bE"), 1);
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessageA(lb, LB_SELECTSTRING, (WPARAM)-1, (LPARAM) "none"), LB_ERR);
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 1);
}

// A sorted list finds by halves: the answers must be those of a search item
// by item, from after the start and wrapping, also where runs of equal
// prefixes straddle the start, and once an insertion broke the order.
TEST_F(ListBoxMessages, FindsInLongSortedListsAnswerAsTheItemByItemSearch) {
  HWND lb = list(LBS_SORT);
  SendMessageA(lb, WM_SETREDRAW, FALSE, 0);
  for (int i = 0; i < 300; ++i) {
    char key[16];
    snprintf(key, sizeof key, i % 2 ? "Key%03d" : "key%02d", (i * 37) % 120);
    SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM)key);
  }
  const auto expected = [&](int start, const std::string& sought, bool exact) -> LRESULT {
    const std::vector<std::string> all = texts(lb);
    const int n = (int)all.size();
    if (start < -1 || start >= n) start = -1;
    for (int k = 1; k <= n; ++k) {
      const int i = (start + k) % n;
      const std::string head = exact ? all[i] : all[i].substr(0, sought.size());
      if ((exact || all[i].size() >= sought.size()) && lstrcmpiA(head.c_str(), sought.c_str()) == 0) return i;
    }
    return LB_ERR;
  };
  const auto checkAll = [&] {
    for (const char* sought : {"k", "KEY0", "key01", "Key011", "key11", "KEY119", "key12", "a", "z", "key005x"})
      for (int start : {-1, 0, 5, 40, 41, 150, 298, 299, 1000}) {
        EXPECT_EQ(SendMessageA(lb, LB_FINDSTRING, start, (LPARAM)sought), expected(start, sought, false))
            << sought << " from " << start;
        EXPECT_EQ(SendMessageA(lb, LB_FINDSTRINGEXACT, start, (LPARAM)sought), expected(start, sought, true))
            << sought << " exactly from " << start;
      }
  };
  checkAll();
  // LB_INSERTSTRING places an item where it is told, out of order.
  SendMessageA(lb, LB_INSERTSTRING, 3, (LPARAM) "key119");
  EXPECT_EQ(SendMessageA(lb, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM) "KEY119"), 3);
  checkAll();
}

TEST_F(ListBoxMessages, SingleSelectionFollowsInsertionsAndDeletions) {
  HWND lb = list(0);
  add(lb, {"a", "b", "c"});
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessageA(lb, LB_SETCURSEL, 1, 0), 1);
  SendMessageA(lb, LB_INSERTSTRING, 0, (LPARAM) "z");
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(SendMessageA(lb, LB_GETSEL, 2, 0), 1);
  SendMessageA(lb, LB_DELETESTRING, 2, 0);
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessageA(lb, LB_SETCURSEL, (WPARAM)-1, 0), LB_ERR);  // clearing answers LB_ERR too
  // Selection messages of the multiple modes fail here.
  EXPECT_EQ(SendMessageA(lb, LB_SETSEL, TRUE, 0), LB_ERR);
  EXPECT_EQ(SendMessageA(lb, LB_SELITEMRANGEEX, 0, 1), LB_ERR);
}

TEST_F(ListBoxMessages, MultipleSelectionMessages) {
  for (DWORD style : {(DWORD)LBS_MULTIPLESEL, (DWORD)LBS_EXTENDEDSEL}) {
    HWND lb = list(style);
    add(lb, {"0", "1", "2", "3", "4", "5"});
    EXPECT_EQ(SendMessageA(lb, LB_SETCURSEL, 1, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_SETSEL, TRUE, 4), LB_OKAY);
    EXPECT_EQ(SendMessageA(lb, LB_GETCARETINDEX, 0, 0), 4);
    EXPECT_EQ(SendMessageA(lb, LB_SELITEMRANGEEX, 1, 2), LB_OKAY);
    EXPECT_EQ(SendMessageA(lb, LB_SELITEMRANGE, TRUE, MAKELPARAM(5, 5)), LB_OKAY);
    EXPECT_EQ(SendMessageA(lb, LB_GETSELCOUNT, 0, 0), 4);
    int items[8] = {};
    EXPECT_EQ(SendMessageA(lb, LB_GETSELITEMS, 3, (LPARAM)items), 3);
    EXPECT_EQ((std::vector<int>{items[0], items[1], items[2]}), (std::vector<int>{1, 2, 4}));
    // A range given backwards deselects.
    SendMessageA(lb, LB_SELITEMRANGEEX, 2, 1);
    EXPECT_EQ(SendMessageA(lb, LB_GETSELCOUNT, 0, 0), 2);
    SendMessageA(lb, LB_SETSEL, FALSE, -1);
    EXPECT_EQ(SendMessageA(lb, LB_GETSELCOUNT, 0, 0), 0);
    SendMessageA(lb, LB_SETSEL, TRUE, -1);
    EXPECT_EQ(SendMessageA(lb, LB_GETSELCOUNT, 0, 0), 6);
    EXPECT_EQ(SendMessageA(lb, LB_SETANCHORINDEX, 3, 0), LB_OKAY);
    EXPECT_EQ(SendMessageA(lb, LB_GETANCHORINDEX, 0, 0), 3);
    DestroyWindow(lb);
  }
}

TEST_F(ListBoxMessages, TheSelectionModeIsFixedAtCreation) {
  struct Case {
    DWORD made, changedTo;
  } cases[] = {{0, LBS_MULTIPLESEL}, {0, LBS_EXTENDEDSEL}, {LBS_MULTIPLESEL, 0}, {LBS_EXTENDEDSEL, 0}};
  for (const Case& c : cases) {
    HWND lb = list(c.made);
    add(lb, {"0", "1", "2"});
    SetWindowLongA(lb, GWL_STYLE, (GetWindowLongA(lb, GWL_STYLE) & ~(LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) | c.changedTo);
    // A single-selection list takes LB_SETCURSEL and refuses LB_SETSEL; a multiple one the other way round.
    bool single = c.made == 0;
    EXPECT_EQ(SendMessageA(lb, LB_SETCURSEL, 1, 0), single ? 1 : LB_ERR) << c.made << "->" << c.changedTo;
    EXPECT_EQ(SendMessageA(lb, LB_SETSEL, TRUE, 2), single ? LB_ERR : LB_OKAY) << c.made << "->" << c.changedTo;
    DestroyWindow(lb);
  }
}

TEST_F(ListBoxMessages, CaretAndAnchorAnswerZeroUntilAnItemIsClicked) {
  for (DWORD style : {(DWORD)0, (DWORD)LBS_MULTIPLESEL, (DWORD)LBS_EXTENDEDSEL}) {
    HWND lb = list(style);
    add(lb, {"0", "1", "2", "3"});
    EXPECT_EQ(SendMessageA(lb, LB_GETCARETINDEX, 0, 0), 0) << style;
    EXPECT_EQ(SendMessageA(lb, LB_GETANCHORINDEX, 0, 0), 0) << style;
    RECT item;
    SendMessageA(lb, LB_GETITEMRECT, 2, (LPARAM)&item);
    LPARAM at = MAKELPARAM(item.left + 2, item.top + 1);
    SendMessageA(lb, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(lb, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(SendMessageA(lb, LB_GETCARETINDEX, 0, 0), 2) << style;
    EXPECT_EQ(SendMessageA(lb, LB_GETANCHORINDEX, 0, 0), 2) << style;
    DestroyWindow(lb);
  }
}

TEST_F(ListBoxMessages, GeometryOfItemsAndTheTopIndex) {
  HWND lb = list(LBS_NOINTEGRALHEIGHT, 100);
  for (int i = 0; i < 50; ++i) SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM)std::to_string(i).c_str());
  int h = (int)SendMessageA(lb, LB_GETITEMHEIGHT, 0, 0);
  ASSERT_GT(h, 0);
  RECT r{};
  ASSERT_EQ(SendMessageA(lb, LB_GETITEMRECT, 2, (LPARAM)&r), 1);
  EXPECT_EQ(r.top, 2 * h);
  EXPECT_EQ(r.bottom, 3 * h);
  EXPECT_EQ(SendMessageA(lb, LB_SETTOPINDEX, 10, 0), LB_OKAY);
  EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 10);
  SendMessageA(lb, LB_GETITEMRECT, 2, (LPARAM)&r);
  EXPECT_EQ(r.top, -8 * h);
  EXPECT_EQ(SendMessageA(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, h + 1)), 11);
  EXPECT_EQ(HIWORD(SendMessageA(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(500, 5))), 1);  // outside the client
  // The top index stops where the last page is full.
  RECT c;
  GetClientRect(lb, &c);
  SendMessageA(lb, LB_SETTOPINDEX, 49, 0);
  EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 50 - c.bottom / h);
  SCROLLINFO si{sizeof si, SIF_ALL};
  ASSERT_TRUE(GetScrollInfo(lb, SB_VERT, &si));
  EXPECT_EQ(si.nMax, 49);
  EXPECT_EQ((int)si.nPage, c.bottom / h);
  EXPECT_EQ(si.nPos, 50 - c.bottom / h);
  // Making the current item visible scrolls back.
  SendMessageA(lb, LB_SETCURSEL, 3, 0);
  EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 3);
}

TEST_F(ListBoxMessages, ScrollMessagesMoveTheTopIndex) {
  HWND lb = list(0, 100);
  for (int i = 0; i < 40; ++i) SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM)std::to_string(i).c_str());
  int h = (int)SendMessageA(lb, LB_GETITEMHEIGHT, 0, 0);
  RECT c;
  GetClientRect(lb, &c);
  int page = c.bottom / h;
  EXPECT_EQ(c.bottom % h, 0);  // whole items only without LBS_NOINTEGRALHEIGHT
  struct Case {
    int code;
    int top;
  } cases[] = {{SB_LINEDOWN, 1}, {SB_PAGEDOWN, page}, {SB_LINEUP, page - 1}, {SB_BOTTOM, 40 - page}, {SB_TOP, 0}};
  for (const Case& k : cases) {
    SendMessageA(lb, WM_VSCROLL, MAKEWPARAM(k.code, 0), 0);
    EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), k.top) << k.code;
  }
  SetFocus(lb);  // the wheel turns the focus window
  win32::input::wheel(lb, 5, 5, -120);
  win32::input::pumpMessages();
  EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 3);
}

TEST_F(ListBoxMessages, MultiColumnListsLayItemsOutInColumns) {
  HWND lb = child("ListBox", nullptr, LBS_MULTICOLUMN | WS_HSCROLL | LBS_NOINTEGRALHEIGHT, 100, 10, 10, 200, 80);
  SendMessageA(lb, LB_SETCOLUMNWIDTH, 50, 0);
  for (int i = 0; i < 30; ++i) SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM)std::to_string(i).c_str());
  int h = (int)SendMessageA(lb, LB_GETITEMHEIGHT, 0, 0);
  RECT c;
  GetClientRect(lb, &c);
  int rows = c.bottom / h;
  EXPECT_EQ(SendMessageA(lb, LB_GETLISTBOXINFO, 0, 0), rows);
  RECT r{};
  SendMessageA(lb, LB_GETITEMRECT, rows + 1, (LPARAM)&r);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.top, h);
  EXPECT_EQ(r.right, 100);
  SendMessageA(lb, WM_HSCROLL, SB_LINERIGHT, 0);
  EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), rows);
}

TEST_F(ListBoxMessages, TabStopsNeedTheStyleAndHorizontalExtentScrolls) {
  HWND plain = list(0);
  int stops[] = {20, 40};
  EXPECT_EQ(SendMessageA(plain, LB_SETTABSTOPS, 2, (LPARAM)stops), FALSE);
  HWND tabbed = child("ListBox", nullptr, WS_VSCROLL | LBS_USETABSTOPS | WS_HSCROLL, 101, 200, 10, 150, 100);
  EXPECT_EQ(SendMessageA(tabbed, LB_SETTABSTOPS, 2, (LPARAM)stops), TRUE);
  // The stops are dialog units and keep their place across a font change:
  // "a\tb" paints its "b" at the first stop with either font.
  SendMessageA(tabbed, LB_ADDSTRING, 0, (LPARAM) "a\tb");
  SendMessageA(tabbed, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
  HDC dc = GetDC(tabbed);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  ReleaseDC(tabbed, dc);
  int stopPixels = 20 * tm.tmAveCharWidth / 4;
  int h = (int)SendMessageA(tabbed, LB_GETITEMHEIGHT, 0, 0);
  bool inkAfterStop = false, inkBeforeStop = false;
  for (int x = 3; x < 2 + stopPixels + 12; ++x)
    for (int y = 1; y < h - 1; ++y)
      if (win32::snapshot::windowPixel(tabbed, x, y) != GetSysColor(COLOR_WINDOW))
        (x >= 2 + stopPixels ? inkAfterStop : inkBeforeStop) = true;
  EXPECT_TRUE(inkAfterStop);
  EXPECT_TRUE(inkBeforeStop);
  SendMessageA(tabbed, LB_SETHORIZONTALEXTENT, 600, 0);
  EXPECT_EQ(SendMessageA(tabbed, LB_GETHORIZONTALEXTENT, 0, 0), 600);
  SCROLLINFO si{sizeof si, SIF_ALL};
  ASSERT_TRUE(GetScrollInfo(tabbed, SB_HORZ, &si));
  EXPECT_EQ(si.nMax, 599);
  SendMessageA(tabbed, WM_HSCROLL, SB_PAGERIGHT, 0);
  GetScrollInfo(tabbed, SB_HORZ, &si);
  EXPECT_GT(si.nPos, 0);
}

TEST_F(ListBoxMessages, InitStorageAnswersTheRoomMade) {
  HWND lb = list(0);
  add(lb, {"a", "b"});
  EXPECT_EQ(SendMessageA(lb, LB_INITSTORAGE, 1000, 20000), 1002);
  EXPECT_EQ(SendMessageA(lb, LB_INITSTORAGE, (WPARAM)-5, 0), LB_ERRSPACE);
  EXPECT_EQ(SendMessageA(lb, LB_SETCOUNT, 10, 0), LB_ERR);  // no LBS_NODATA lists
}

TEST_F(ListBoxMessages, AnswersWantArrowsAndCharsToTheDialogManager) {
  HWND lb = list(0);
  EXPECT_EQ(SendMessageA(lb, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

TEST_F(ListBoxMessages, LargeListsKeepOrderThroughBlockSplits) {
  HWND lb = list(LBS_SORT);
  SendMessageA(lb, WM_SETREDRAW, FALSE, 0);
  // 3000 keys in a scrambled order: the list must come out sorted.
  for (int i = 0; i < 3000; ++i) {
    char key[16];
    snprintf(key, sizeof key, "k%05d", (i * 7919) % 3000);
    ASSERT_GE(SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM)key), 0);
  }
  SendMessageA(lb, WM_SETREDRAW, TRUE, 0);
  ASSERT_EQ(SendMessageA(lb, LB_GETCOUNT, 0, 0), 3000);
  for (int i = 0; i < 3000; i += 101) {
    char key[16];
    snprintf(key, sizeof key, "k%05d", i);
    EXPECT_EQ(text(lb, i), key);
  }
  for (int i = 2999; i >= 0; i -= 2) SendMessageA(lb, LB_DELETESTRING, i, 0);
  ASSERT_EQ(SendMessageA(lb, LB_GETCOUNT, 0, 0), 1500);
  EXPECT_EQ(text(lb, 1499), "k02998");
}

TEST_F(ListBoxMessages, DirectoryListingAddsFilesAndBracketedDirectories) {
  char dir[] = "/tmp/lbdirXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string base = dir;
  for (const char* name : {"b.txt", "a.txt"}) {
    FILE* f = fopen((base + "/" + name).c_str(), "w");
    ASSERT_NE(f, nullptr);
    fclose(f);
  }
  CreateDirectoryA((base + "/sub").c_str(), nullptr);
  HWND lb = list(LBS_SORT);
  std::string pattern = base + "/*";
  EXPECT_GE(SendMessageA(lb, LB_DIR, DDL_DIRECTORY, (LPARAM)pattern.c_str()), 0);
  std::vector<std::string> got = texts(lb);
  EXPECT_NE(std::find(got.begin(), got.end(), "a.txt"), got.end());
  EXPECT_NE(std::find(got.begin(), got.end(), "[sub]"), got.end());
  EXPECT_NE(std::find(got.begin(), got.end(), "[..]"), got.end());
  SendMessageA(lb, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageA(lb, LB_DIR, DDL_DIRECTORY | DDL_EXCLUSIVE, (LPARAM)pattern.c_str()) >= 0, true);
  EXPECT_EQ(texts(lb), (std::vector<std::string>{"[..]", "[sub]"}));
  // DlgDirListA lists a directory's pattern into a dialog's list and makes it current.
  char before[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof before, before);
  std::string pathPattern = base + "/*.txt";
  std::vector<char> buffer(pathPattern.begin(), pathPattern.end());
  buffer.push_back(0);
  EXPECT_TRUE(DlgDirListA(frame, buffer.data(), 100, 0, 0));
  EXPECT_STREQ(buffer.data(), "*.txt");
  EXPECT_EQ(texts(lb), (std::vector<std::string>{"a.txt", "b.txt"}));
  SetCurrentDirectoryA(before);
  char missing[] = "/no/such/dir/*.txt";
  EXPECT_FALSE(DlgDirListA(frame, missing, 100, 0, 0));
  for (const char* name : {"b.txt", "a.txt"}) remove((base + "/" + name).c_str());
  RemoveDirectoryA((base + "/sub").c_str());
  RemoveDirectoryA(dir);
}

}  // namespace
