// The "SysTabControl32" control: items inserted, read back and removed,
// the selection changed by the program (silently) and by clicks and arrow
// keys (offered, vetoable, reported), hit tests and the display area.
#include "comctl_fixture.h"

#include <string>
#include <vector>

namespace input = win32::input;

namespace {

constexpr int kTabId = 40;

class TabControl : public test::CommonControlTest {
 protected:
  void make(std::vector<std::string> texts, DWORD style = 0) {
    tabs = child(WC_TABCONTROLA, nullptr, style, kTabId, 10, 10, 300, 200);
    ASSERT_NE(tabs, nullptr);
    for (size_t i = 0; i < texts.size(); ++i) {
      TCITEMA item{};
      item.mask = TCIF_TEXT | TCIF_PARAM;
      item.pszText = texts[i].data();
      item.lParam = static_cast<LPARAM>(100 + i);
      ASSERT_EQ(TabCtrl_InsertItem(tabs, static_cast<int>(i), &item), static_cast<int>(i));
    }
    settle();
  }
  std::string text(int index) {
    char buffer[64] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    return SendMessageA(tabs, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item)) ? buffer : "<none>";
  }
  POINT middleOf(int index) {
    RECT r{};
    EXPECT_TRUE(TabCtrl_GetItemRect(tabs, index, &r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  std::vector<UINT> codes() {
    std::vector<UINT> got;
    for (const test::Notified& n : test::notified())
      if (n.id == kTabId) got.push_back(n.code);
    return got;
  }
  HWND tabs = nullptr;
};

}  // namespace

TEST_F(TabControl, ItemsAreKeptInOrderWithTheirTexts) {
  make({"Palette", "System"});
  EXPECT_EQ(TabCtrl_GetItemCount(tabs), 2);
  EXPECT_EQ(TabCtrl_GetCurSel(tabs), 0);  // the first tab comes selected
  TCITEMA middle{};
  middle.mask = TCIF_TEXT;
  char name[] = "Middle";
  middle.pszText = name;
  EXPECT_EQ(TabCtrl_InsertItem(tabs, 1, &middle), 1);
  EXPECT_EQ(TabCtrl_InsertItem(tabs, 99, &middle), 3);  // past the end: appended
  EXPECT_EQ(text(0), "Palette");
  EXPECT_EQ(text(1), "Middle");
  EXPECT_EQ(text(2), "System");
  EXPECT_EQ(text(4), "<none>");
  TCITEMA param{};
  param.mask = TCIF_PARAM;
  ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMA, 2, reinterpret_cast<LPARAM>(&param)));
  EXPECT_EQ(param.lParam, 101);
  char tiny[4] = "";
  TCITEMA cut{};
  cut.mask = TCIF_TEXT;
  cut.pszText = tiny;
  cut.cchTextMax = sizeof tiny;
  ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&cut)));
  EXPECT_STREQ(tiny, "Pal");  // cut to the buffer, terminated
  EXPECT_TRUE(SendMessageA(tabs, TCM_DELETEITEM, 1, 0));
  EXPECT_FALSE(SendMessageA(tabs, TCM_DELETEITEM, 7, 0));
  EXPECT_EQ(TabCtrl_GetItemCount(tabs), 3);
  EXPECT_TRUE(SendMessageA(tabs, TCM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(TabCtrl_GetItemCount(tabs), 0);
  EXPECT_EQ(TabCtrl_GetCurSel(tabs), -1);
}

TEST_F(TabControl, TheProgramSelectsWithoutTellingTheParent) {
  make({"One", "Two", "Three"});
  struct Case {
    int index;
    int previous;  // what the message answers: -1 for an index out of range
    int selected;
  } cases[] = {{2, 0, 2}, {1, 2, 1}, {3, -1, 1}, {-1, -1, 1}};
  for (const Case& c : cases) {
    EXPECT_EQ(TabCtrl_SetCurSel(tabs, c.index), c.previous) << c.index;
    EXPECT_EQ(TabCtrl_GetCurSel(tabs), c.selected) << c.index;
  }
  EXPECT_TRUE(codes().empty());
}

TEST_F(TabControl, ClicksAndArrowKeysAreOfferedThenReported) {
  make({"One", "Two", "Three"});
  struct Case {
    const char* what;
    std::function<void()> act;
    LRESULT veto;
    int selected;
    std::vector<UINT> told;
  } cases[] = {
      {"click on the third", [&] { POINT p = middleOf(2); input::click(tabs, p.x, p.y); }, 0, 2,
       {(UINT)TCN_SELCHANGING, (UINT)TCN_SELCHANGE}},
      {"click on the selected one", [&] { POINT p = middleOf(2); input::click(tabs, p.x, p.y); }, 0, 2, {}},
      {"Left key", [] { input::keyPress(VK_LEFT); }, 0, 1,
       {(UINT)TCN_KEYDOWN, (UINT)TCN_SELCHANGING, (UINT)TCN_SELCHANGE}},
      {"vetoed click", [&] { POINT p = middleOf(0); input::click(tabs, p.x, p.y); }, 1, 1, {(UINT)TCN_SELCHANGING}},
      {"Right key past the last", [] { input::keyPress(VK_RIGHT), input::keyPress(VK_RIGHT); }, 0, 2,
       {(UINT)TCN_KEYDOWN, (UINT)TCN_SELCHANGING, (UINT)TCN_SELCHANGE, (UINT)TCN_KEYDOWN}},
      {"click beside the tabs", [&] { input::click(tabs, 290, 5); }, 0, 2, {}},
  };
  for (const Case& c : cases) {
    test::notifyAnswer() = [&](NMHDR* header) -> LRESULT { return header->code == (UINT)TCN_SELCHANGING ? c.veto : 0; };
    settle();
    c.act();
    input::pumpMessages();
    EXPECT_EQ(TabCtrl_GetCurSel(tabs), c.selected) << c.what;
    EXPECT_EQ(codes(), c.told) << c.what;
  }
}

TEST_F(TabControl, HitTestsAndTheDisplayAreaFollowTheTabs) {
  make({"Palette", "System"});
  RECT first{}, second{};
  ASSERT_TRUE(TabCtrl_GetItemRect(tabs, 0, &first));
  ASSERT_TRUE(TabCtrl_GetItemRect(tabs, 1, &second));
  EXPECT_EQ(first.right, second.left);
  EXPECT_GT(first.right - first.left, 0);
  TCHITTESTINFO hit{middleOf(1), 0};
  EXPECT_EQ(SendMessageA(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  EXPECT_EQ(hit.flags, static_cast<UINT>(TCHT_ONITEMLABEL));
  TCHITTESTINFO miss{{250, 150}, 0};
  EXPECT_EQ(SendMessageA(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&miss)), -1);
  EXPECT_EQ(miss.flags, static_cast<UINT>(TCHT_NOWHERE));
  RECT area{0, 0, 300, 200};
  TabCtrl_AdjustRect(tabs, FALSE, &area);
  EXPECT_GE(area.top, first.bottom);  // below the row of tabs
  EXPECT_LT(area.bottom, 200);
  RECT back = area;
  TabCtrl_AdjustRect(tabs, TRUE, &back);
  EXPECT_EQ(back.left, 0);
  EXPECT_EQ(back.top, 0);
  EXPECT_EQ(back.right, 300);
  EXPECT_EQ(back.bottom, 200);
}

TEST_F(TabControl, ThePageAreaLetsTheMouseThroughToWhatLiesThere) {
  make({"One", "Two"});
  // A page made after the tabs lies below them in the z-order.
  HWND page = child("Button", "page", BS_PUSHBUTTON, 41, 40, 80, 100, 30);
  settle();
  input::click(page, 50, 15);
  input::pumpMessages();
  EXPECT_EQ(test::events(), (std::vector<test::Event>{{WM_COMMAND, 41, BN_CLICKED}}));
  POINT onTab = middleOf(1);
  ClientToScreen(tabs, &onTab);
  EXPECT_EQ(SendMessageA(tabs, WM_NCHITTEST, 0, MAKELPARAM(onTab.x, onTab.y)), HTCLIENT);
}
