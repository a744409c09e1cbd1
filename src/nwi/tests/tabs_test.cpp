// The tab control: captions from the window text and their lengths, tabs
// added and removed, selection with vetoes, several rows, keyboard, mouse
// and mnemonics, the transparent page area, and the keyboard between a page
// and the dialog around the control. A PNG of tab controls is written
// beside the test programs.
#include <gtest/gtest.h>
#include <internal/snapshot.h>
#include <internal/testinput.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "button.h"
#include "notifyparent.h"
#include "ravlets.h"
#include "tabs.h"

namespace {

using nwitest::Notification;
using nwitest::notifyLog;
namespace input = win32::input;

class Tabs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(RavletsInit("KYWA721")); }
  void SetUp() override {
    panel = nwitest::makePanel(520, 400);
    ASSERT_NE(panel, nullptr);
  }
  void TearDown() override {
    DestroyWindow(panel);
    input::pumpMessages();
  }
  HWND make(const char* captions, int id = 7, int x = 10, int y = 10, int w = 300, int h = 150) {
    HWND t = CreateWindowExA(0, "KYWA721Tabs", captions, WS_CHILD | WS_VISIBLE | WS_BORDER, x, y, w, h, panel,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(t, nullptr);
    SendMessageA(t, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), 0);
    input::pumpMessages();
    notifyLog().received.clear();
    return t;
  }
  static std::string caption(HWND t, int index) {
    char text[300] = {};
    SendMessageA(t, KYM_TABSGETCAPTION, MAKEWPARAM(index, sizeof text), reinterpret_cast<LPARAM>(text));
    return text;
  }
  static std::vector<int> codes() {
    std::vector<int> out;
    for (const Notification& n : notifyLog().received) out.push_back(n.code);
    return out;
  }
  static HTabsRecord* record(HWND t) { return reinterpret_cast<HTabsRecord*>(SendMessageA(t, KYM_GETINSTANCE, 0, 0)); }
  HWND panel = nullptr;
};

TEST_F(Tabs, CaptionsComeFromTheWindowTextAndTabsAreAddedByNumber) {
  HWND t = make("One;T\\;wo;Thr^ee");
  ASSERT_EQ(SendMessageA(t, KYM_TABSGETCOUNT, 0, 0), 3);
  EXPECT_STREQ(record(t)->tabs[1].caption, "T;wo");
  EXPECT_STREQ(record(t)->tabs[2].caption, "Thr\nee");
  EXPECT_EQ(caption(t, 2), "Thr^ee");
  EXPECT_EQ(SendMessageA(t, KYM_TABSSETCOUNT, 5, 0), 1);
  EXPECT_EQ(caption(t, 3), "Tab4");
  EXPECT_EQ(caption(t, 4), "Tab5");
  EXPECT_EQ(codes(), (std::vector<int>{HTN_ADDED, HTN_ADDED}));
  EXPECT_EQ(SendMessageA(t, KYM_TABSSETCOUNT, 2, 0), 1);
  EXPECT_EQ(SendMessageA(t, KYM_TABSGETCOUNT, 0, 0), 2);
  // Inserting before the current tab moves the current index up.
  SendMessageA(t, KYM_TABSSELECT, 1, 1);
  EXPECT_EQ(SendMessageA(t, KYM_TABSINSERT, 0, reinterpret_cast<LPARAM>("New")), 1);
  EXPECT_EQ(SendMessageA(t, KYM_TABSGETCURRENT, 0, 0), 2);
  EXPECT_EQ(caption(t, 0), "New");
  EXPECT_EQ(SendMessageA(t, KYM_TABSINSERT, 3, 0), 1);
  EXPECT_EQ(caption(t, 3), "Tab4");
  SendMessageA(t, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  EXPECT_EQ(SendMessageA(t, KYM_TABSGETCOUNT, 0, 0), 0) << "an empty text gives no tabs";
  EXPECT_EQ(SendMessageA(t, KYM_TABSGETCAPTIONLEN, 0, 0), 0) << "outside";
}

TEST_F(Tabs, CaptionLengthsAndCopiesAgreeAndStayInTheBuffer) {
  HWND t = make("a\\\\b\\^c^d;x");
  const std::string escaped = "a\\\\b\\^c^d";
  EXPECT_STREQ(record(t)->tabs[0].caption, "a\\b^c\nd");
  EXPECT_EQ(SendMessageA(t, KYM_TABSGETCAPTIONLEN, 0, 0), static_cast<LRESULT>(escaped.size()));
  EXPECT_EQ(SendMessageA(t, WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(escaped.size()));
  struct Case {
    WPARAM wParam;
    std::string copied;
  } cases[] = {
      {0, escaped},                 // no size: as long as the length said
      {MAKEWPARAM(0, 4), "a\\\\"},  // a size of 4: three characters and the terminator
      {MAKEWPARAM(1, 0), "x"},
      {MAKEWPARAM(9, 40), ""},      // outside
  };
  for (const Case& c : cases) {
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    const LRESULT n = SendMessageA(t, KYM_TABSGETCAPTION, c.wParam, reinterpret_cast<LPARAM>(buffer));
    EXPECT_EQ(n, static_cast<LRESULT>(c.copied.size()));
    if (!c.copied.empty()) EXPECT_EQ(std::string(buffer), c.copied);
    EXPECT_EQ(buffer[c.copied.size() + 1], '#') << "nothing written past the copy";
  }
  char text[64] = {};
  EXPECT_EQ(SendMessageA(t, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)),
            static_cast<LRESULT>(escaped.size()));
  EXPECT_EQ(text, escaped);
}

TEST_F(Tabs, SelectionIsAnnouncedAndMayBeVetoed) {
  HWND t = make("A;B;C;D;E");
  SendMessageA(t, KYM_TABSENABLE, 3, 0);
  SendMessageA(t, KYM_TABSSHOW, 4, 0);
  struct Step {
    const char* what;
    int index;
    bool forced;
    std::set<int> vetoes;
    LRESULT result;
    int current;
    std::vector<int> codes;
  } steps[] = {
      {"the first selection", 0, false, {}, 1, 0, {HTN_FIRSTVISIT, HTN_SELCHANGE}},
      {"another tab", 1, false, {}, 1, 1, {HTN_SELCHANGING, HTN_FIRSTVISIT, HTN_SELCHANGE}},
      {"the current tab again", 1, false, {}, 0, 1, {}},
      {"vetoed before", 2, false, {HTN_SELCHANGING}, 0, 1, {HTN_SELCHANGING}},
      {"vetoed after", 2, false, {HTN_SELCHANGE}, 0, 1,
       {HTN_SELCHANGING, HTN_FIRSTVISIT, HTN_SELCHANGE, HTN_SELCHANGE}},
      {"visited once", 2, false, {}, 1, 2, {HTN_SELCHANGING, HTN_SELCHANGE}},
      {"a disabled tab", 3, false, {}, 0, 2, {}},
      {"a disabled tab, forced", 3, true, {}, 1, 3, {HTN_SELCHANGING, HTN_FIRSTVISIT}},
      {"a hidden tab, forced", 4, true, {}, 0, 3, {}},
      {"outside", 9, false, {}, 0, 3, {}},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    notifyLog().received.clear();
    notifyLog().vetoes = s.vetoes;
    EXPECT_EQ(SendMessageA(t, KYM_TABSSELECT, s.index, s.forced ? 0 : 1), s.result);
    EXPECT_EQ(SendMessageA(t, KYM_TABSGETCURRENT, 0, 0), s.current);
    EXPECT_EQ(codes(), s.codes);
  }
  EXPECT_EQ(SendMessageA(t, KYM_TABSVISITED, 2, 0), 1);
  EXPECT_EQ(SendMessageA(t, KYM_TABSVISITED, 4, 0), 0);
}

TEST_F(Tabs, PerTabPropertiesAreKeptAndCopiedToNewTabs) {
  HWND t = make("A;B");
  struct Property {
    UINT set, get;
    LPARAM value;
  } properties[] = {
      {KYM_TABSSETVALUE, KYM_TABSGETVALUE, 9},         {KYM_TABSSETCOLOR, KYM_TABSGETCOLOR, RGB(255, 0, 0)},
      {KYM_TABSSETWORD, KYM_TABSGETWORD, 1234},        {KYM_TABSSETPAGECOLOR, KYM_TABSGETPAGECOLOR, RGB(0, 0, 255)},
      {KYM_TABSSETFLAG, KYM_TABSGETFLAG, 1},           {KYM_TABSSETDATA, KYM_TABSGETDATA, 0x12345678},
  };
  for (const Property& p : properties) {
    EXPECT_EQ(SendMessageA(t, p.set, static_cast<WPARAM>(-1), p.value), 1) << p.set;
    EXPECT_EQ(SendMessageA(t, p.get, 1, 0), p.value) << p.get;
    EXPECT_EQ(SendMessageA(t, p.set, 5, p.value), 0) << "outside";
  }
  SendMessageA(t, KYM_TABSINSERT, 2, 0);
  for (UINT get : {KYM_TABSGETVALUE, KYM_TABSGETCOLOR, KYM_TABSGETWORD, KYM_TABSGETPAGECOLOR, KYM_TABSGETFLAG})
    EXPECT_EQ(SendMessageA(t, get, 2, 0), SendMessageA(t, get, 0, 0)) << "the new tab takes the first's " << get;
  EXPECT_EQ(SendMessageA(t, KYM_TABSGETDATA, 2, 0), 0);
}

TEST_F(Tabs, ManyTabsStackInRowsAndTheCurrentRowStandsInFront) {
  HWND t = make("January;February;March;April;May;June;July;August", 7, 10, 10, 260, 200);
  HTabsRecord* r = record(t);
  ASSERT_GT(r->rows, 1);
  EXPECT_GE(r->rows * r->perRow, 8);
  EXPECT_LT((r->rows - 1) * r->perRow, 8) << "the fewest rows";
  RECT page{};
  SendMessageA(t, KYM_TABSPAGERECT, 0, reinterpret_cast<LPARAM>(&page));
  EXPECT_EQ(page.top, r->rowHeight * r->rows + 3);
  SendMessageA(t, KYM_TABSSELECT, 0, 1);
  const RECT front = HTabsTabRect(r, 0);
  SendMessageA(t, KYM_TABSSELECT, 7, 1);
  EXPECT_EQ(r->currentRow, 7 / r->perRow);
  const RECT moved = HTabsTabRect(r, 7);
  EXPECT_EQ(moved.bottom, front.bottom) << "the current tab's row comes to the front";
  const RECT behind = HTabsTabRect(r, 0);
  EXPECT_LT(behind.bottom, moved.bottom);
  EXPECT_GE(behind.left, 10) << "a row behind is indented";
  // Up goes one row back, Down one row to the front, Left and Right wrap.
  SendMessageA(t, KYM_TABSSELECT, 1, 1);
  struct Key {
    UINT vk;
    int expected;
  } keys[] = {{VK_UP, 1 + r->perRow}, {VK_DOWN, 1}, {VK_LEFT, 0}, {VK_LEFT, 7}, {VK_RIGHT, 0}};
  for (const Key& k : keys) {
    SendMessageA(t, WM_KEYDOWN, k.vk, 0);
    EXPECT_EQ(SendMessageA(t, KYM_TABSGETCURRENT, 0, 0), k.expected) << k.vk;
  }
  SendMessageA(t, KYM_TABSENABLE, 1, 0);
  SendMessageA(t, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(SendMessageA(t, KYM_TABSGETCURRENT, 0, 0), 2) << "a disabled tab is skipped";
  EXPECT_EQ(SendMessageA(t, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(Tabs, TheMouseSelectsTabsAndPassesThroughThePage) {
  HWND under = CreateWindowExA(0, "KYWA721Butt", "441;Under", WS_CHILD | WS_VISIBLE, 60, 80, 120, 40, panel,
                               reinterpret_cast<HMENU>(50), nullptr, nullptr);
  HWND t = make("One;Two");
  SetWindowPos(under, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  const RECT second = HTabsTabRect(record(t), 1);
  input::click(t, (second.left + second.right) / 2, (second.top + second.bottom) / 2);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(t, KYM_TABSGETCURRENT, 0, 0), 1);
  notifyLog().received.clear();
  POINT inPage{100, 100};
  MapWindowPoints(panel, t, &inPage, 1);
  input::click(t, inPage.x, inPage.y);
  input::pumpMessages();
  EXPECT_EQ(notifyLog().received, (std::vector<Notification>{{50, HBN_CLICKED}})) << "the button under the page";
  EXPECT_EQ(SendMessageA(t, KYM_TABSGETCURRENT, 0, 0), 1);
}

TEST_F(Tabs, AltAndTheMnemonicSelectThroughTheText) {
  HWND t = make("&General;&Second;&Third");
  SendMessageA(t, KYM_TABSSELECT, 0, 1);
  BYTE keys[256] = {};
  keys[VK_MENU] = 0x80;
  keys['T'] = 0x80;
  SetKeyboardState(keys);
  char text[32] = {};
  SendMessageA(t, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "&Third");
  BYTE none[256] = {};
  SetKeyboardState(none);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(t, KYM_TABSGETCURRENT, 0, 0), 2);
}

TEST_F(Tabs, TabsAndPagesAreDrawn) {
  HWND one = make("General;Colours;&Disabled", 7, 10, 10, 300, 120);
  SendMessageA(one, KYM_TABSENABLE, 2, 0);
  SendMessageA(one, KYM_TABSSETPAGECOLOR, 1, RGB(255, 255, 0));
  SendMessageA(one, KYM_TABSSETCOLOR, 1, RGB(255, 200, 200));
  SendMessageA(one, KYM_TABSSELECT, 1, 1);
  HWND rows = make("January;February;March;April;May;June;July", 8, 10, 140, 260, 150);
  SendMessageA(rows, KYM_TABSSELECT, 5, 1);
  SetFocus(rows);
  input::pumpMessages();
  const std::string path = std::string(KY_BIN_DIR) + "/../nwi_tabs.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(panel, path.c_str())) << path;
  RECT page{};
  SendMessageA(one, KYM_TABSPAGERECT, 0, reinterpret_cast<LPARAM>(&page));
  POINT middle{(page.left + page.right) / 2, (page.top + page.bottom) / 2};
  MapWindowPoints(one, panel, &middle, 1);
  EXPECT_EQ(win32::snapshot::windowPixel(panel, middle.x, middle.y), RGB(255, 255, 0)) << "the current tab's page colour";
}

// A dialog with a real tab control (id 10) and a page shown over it.
class TabDialog : public ::testing::Test {
 protected:
  static INT_PTR CALLBACK noProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }
  void SetUp() override {
    ASSERT_TRUE(RavletsInit("KYWA721"));
    HINSTANCE self = GetModuleHandleA(nullptr);
    dialog = CreateDialogParamA(self, MAKEINTRESOURCEA(100), nullptr, noProc, 0);
    ASSERT_NE(dialog, nullptr);
    page = CreateDialogParamA(self, MAKEINTRESOURCEA(200), dialog, noProc, 0);
    ASSERT_NE(page, nullptr);
    tabs = GetDlgItem(dialog, 10);
    RECT area{};
    SendMessageA(tabs, KYM_TABSPAGERECT, 0, reinterpret_cast<LPARAM>(&area));
    MapWindowPoints(tabs, dialog, reinterpret_cast<POINT*>(&area), 2);
    SetWindowPos(page, HWND_TOP, area.left, area.top, 0, 0, SWP_NOSIZE);
    input::pumpMessages();
  }
  void TearDown() override { DestroyWindow(dialog); }
  // A key through IsTabDlgMessage, as the application's loop passes it.
  BOOL key(UINT vk, bool shift = false) {
    if (shift) input::keyDown(VK_SHIFT);
    input::pumpMessages();
    MSG msg{GetFocus(), WM_KEYDOWN, vk, 0, 0, {}};
    const BOOL used = IsTabDlgMessage(dialog, page, 10, &msg);
    if (shift) input::keyUp(VK_SHIFT);
    input::pumpMessages();
    return used;
  }
  HWND dialog = nullptr, page = nullptr, tabs = nullptr;
};

TEST_F(TabDialog, TheKeyboardGoesFromTheTabsIntoThePageAndOn) {
  ASSERT_NE(tabs, nullptr);
  SetFocus(tabs);
  EXPECT_TRUE(key(VK_TAB));
  EXPECT_EQ(GetFocus(), GetDlgItem(page, 21)) << "into the page";
  EXPECT_TRUE(key(VK_TAB));
  EXPECT_EQ(GetFocus(), GetDlgItem(page, 22));
  EXPECT_TRUE(key(VK_TAB));
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK)) << "out of the page to the tab stop after the tabs";
  EXPECT_TRUE(key(VK_TAB, true));
  EXPECT_EQ(GetFocus(), GetDlgItem(page, 22)) << "back into the page's last tab stop";
  EXPECT_TRUE(key(VK_TAB, true));
  EXPECT_TRUE(key(VK_TAB, true));
  EXPECT_EQ(GetFocus(), tabs) << "back to the tabs";
  // The arrows are the tab control's own: it wants them.
  SendMessageA(tabs, KYM_TABSSELECT, 0, 1);
  SendMessageA(tabs, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(SendMessageA(tabs, KYM_TABSGETCURRENT, 0, 0), 1);
}

}  // namespace
