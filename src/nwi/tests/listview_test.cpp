// The list's geometry and painting: the integral height, scrolling within
// the items, the selected item painted in the highlight colours, owner
// drawing, and a picture of the sample list to look at.
#include <cstring>

#include "listfixture.h"

using namespace listtest;

namespace {

class ListView : public ListTest {
 protected:
  // The colour at a client point of `list`, as the screen would show it.
  COLORREF pixel(HWND list, int x, int y) {
    POINT p{x, y};
    ClientToScreen(list, &p);
    RECT frame;
    GetWindowRect(panel, &frame);
    return win32::snapshot::windowPixel(panel, p.x - frame.left, p.y - frame.top);
  }
};

TEST_F(ListView, IntegralHeightRoundsToWholeItemsPlusTheFrame) {
  HWND list = makeList("%ss", HLS_3DFRAME);
  SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), 0);
  const int h = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  ASSERT_GT(h, 0);
  struct Case {
    DWORD style;
    int asked;
    int height;
  };
  const Case cases[] = {
      {HLS_3DFRAME, 4 + 6 * h, 4 + 6 * h},
      {HLS_3DFRAME, 4 + 6 * h - 1, 4 + 5 * h},
      {0, 2 + 3 * h + h / 2, 2 + 3 * h},
      {HLS_NOINTEGRAL, 2 + 3 * h + h / 2, 2 + 3 * h + h / 2},
  };
  int id = 2;
  for (const Case& c : cases) {
    HWND l = makeList("%ss", c.style, id++);
    SendMessageA(l, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), 0);
    SetWindowPos(l, nullptr, 0, 0, 100, c.asked, SWP_NOMOVE | SWP_NOZORDER);
    RECT r;
    GetWindowRect(l, &r);
    EXPECT_EQ(r.bottom - r.top, c.height) << c.style << " asked " << c.asked;
  }
  RECT before;
  GetWindowRect(list, &before);
  HWND noFont = makeList("%ss", 0, 9);
  SetWindowPos(noFont, nullptr, 0, 0, 100, 4 * h + 5, SWP_NOMOVE | SWP_NOZORDER);
  RECT r;
  GetWindowRect(noFont, &r);
  EXPECT_EQ(r.bottom - r.top, 4 * h + 5) << "without a font set the height stays as asked";
}

TEST_F(ListView, ScrollingKeepsTheWindowFilled) {
  HWND list = makeList("%ss");
  std::vector<std::string> names;
  for (int i = 0; i < 50; ++i) names.push_back("row" + std::to_string(i));
  for (const std::string& n : names) HLAddItem(list, n.c_str());
  const int h = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  RECT client;
  GetClientRect(list, &client);
  const int rows = client.bottom / h;
  struct Step {
    UINT message;
    WPARAM wParam;
    int top;
  };
  const Step steps[] = {
      {KYM_LISTSETTOP, 10, 10},        {WM_VSCROLL, SB_LINEDOWN, 11},         {WM_VSCROLL, SB_PAGEUP, 11 - (rows - 2)},
      {KYM_LISTSETTOP, 49, 50 - rows}, {WM_VSCROLL, SB_LINEDOWN, 50 - rows},  {KYM_LISTSCROLL, static_cast<WPARAM>(-3), 47 - rows},
      {WM_VSCROLL, SB_TOP, 0},         {WM_VSCROLL, SB_LINEUP, 0},
  };
  for (const Step& s : steps) {
    SendMessageA(list, s.message, s.wParam, 0);
    EXPECT_EQ(SendMessageA(list, KYM_LISTGETTOP, 0, 0), s.top) << s.message << " " << static_cast<int>(s.wParam);
  }
  SendMessageA(list, KYM_LISTSETCURRENT, 30, 0);
  const int top = static_cast<int>(SendMessageA(list, KYM_LISTGETTOP, 0, 0));
  EXPECT_TRUE(30 >= top && 30 < top + rows) << "the current item is scrolled into view";
  EXPECT_EQ(GetScrollPos(list, SB_VERT), top);
}

TEST_F(ListView, SelectedItemsShowInTheHighlightColours) {
  HWND list = makeList("%nd#,##0.00", 0, 1, 10, 10, 150, 120);
  const double values[] = {12.5, -7.25, 3};
  HLAddItems(list, 3, values);
  SendMessageA(list, KYM_SETTEXTCOLOR, 1, RGB(255, 0, 0));
  SetFocus(list);
  SendMessageA(list, KYM_LISTSETCURRENT, 2, 0);
  const int h = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  const std::string path = std::string(KY_BIN_DIR) + "/../list_selected.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(panel, path.c_str())) << path;
  EXPECT_EQ(pixel(list, 140, 2 * h + h / 2), GetSysColor(COLOR_HIGHLIGHT)) << "the selected row";
  EXPECT_NE(pixel(list, 140, h / 2), GetSysColor(COLOR_HIGHLIGHT)) << "a row not selected";
  int red = 0;
  for (int x = 0; x < 100; ++x)
    for (int y = h; y < 2 * h; ++y) {
      const COLORREF c = pixel(list, x, y);
      red += GetRValue(c) > 160 && GetGValue(c) < 110 && GetBValue(c) < 110;
    }
  EXPECT_GT(red, 5) << "a negative value in the second colour";
}

TEST_F(ListView, OwnerDrawnItemsAreDrawnByTheOwnerWithTheirState) {
  static std::vector<std::pair<UINT, UINT>> drawn;  // itemID, itemState
  drawn.clear();
  WNDPROC previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(panel, GWLP_WNDPROC));
  static WNDPROC chained = previous;
  SetWindowLongPtrA(panel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_DRAWITEM) {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item->itemAction == ODA_SELECT) drawn.push_back({item->itemID, item->itemState});
      return 1;
    }
    if (m == WM_MEASUREITEM) {
      reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = 20;
      return 1;
    }
    return CallWindowProcA(chained, w, m, wp, lp);
  }));
  HWND list = makeList("%ss", HLS_OWNERDRAW | HLS_MULTIPLE, 1, 10, 10, 150, 70);
  addTexts(list, {"a", "b", "c", "d", "e"});
  HLSelectItem(list, 1, 1);
  EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 20) << "the owner measured the items";
  drawn.clear();
  InvalidateRect(list, nullptr, TRUE);
  UpdateWindow(list);
  EXPECT_EQ(drawn, (std::vector<std::pair<UINT, UINT>>{{0, 0}, {1, ODS_SELECTED}, {2, 0}}))
      << "only the rows that show";
  SetWindowLongPtrA(panel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
}

TEST_F(ListView, TheSampleListWithTabStops) {
  HWND tabbed = makeList("%ss", HLS_TABS, 1, 10, 10, 150, 200);
  HWND plain = makeList("[0,0,128]", HLS_3DFRAME, 2, 180, 10, 150, 200);
  SendMessageA(tabbed, KYM_LISTSAMPLE, 0, 0);
  SendMessageA(plain, KYM_LISTSAMPLE, 0, 0);
  EXPECT_EQ(SendMessageA(plain, KYM_LISTGETCOUNT, 0, 0), 25);
  EXPECT_EQ(texts(plain).front(), "Line 1");
  EXPECT_EQ(texts(tabbed).back(), "Line\t25");
  SetFocus(plain);
  SendMessageA(plain, KYM_LISTSETCURRENT, 3, 0);
  const std::string path = std::string(KY_BIN_DIR) + "/../list_sample.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(panel, path.c_str())) << path;
  int blue = 0;
  for (int x = 0; x < 120; ++x)
    for (int y = 0; y < 16; ++y) {
      const COLORREF c = pixel(plain, x, y);
      blue += GetBValue(c) > 80 && GetRValue(c) < 60 && GetGValue(c) < 60;
    }
  EXPECT_GT(blue, 5) << "the colour token of the window text colours the items";
}

}  // namespace
