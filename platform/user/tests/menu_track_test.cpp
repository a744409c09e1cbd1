// Menu tracking, headless: TrackPopupMenu with scripted choices, the menu
// bar by Alt+mnemonic, F10, Alt and a click, the system menu, and the order
// of the menu messages the owner hears.
#include "data/menudialog.h"
#include "message_log.h"

#include <internal/testinput.h>
#include <internal/userscript.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace input = win32::input;

namespace {

struct MenuMessage {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const MenuMessage& o) const { return msg == o.msg && wParam == o.wParam && lParam == o.lParam; }
};

std::ostream& operator<<(std::ostream& out, const MenuMessage& m) {
  return out << test::name(m.msg) << "(" << std::hex << m.wParam << ", " << m.lParam << std::dec << ")";
}

bool isMenuMessage(UINT msg) {
  switch (msg) {
    case WM_ENTERMENULOOP: case WM_EXITMENULOOP: case WM_INITMENU: case WM_INITMENUPOPUP: case WM_MENUSELECT:
    case WM_UNINITMENUPOPUP: case WM_MENUCHAR: case WM_COMMAND: case WM_SYSCOMMAND: return true;
    default: return false;
  }
}

// The menu messages of the log (and the log cleared).
std::vector<MenuMessage> menuMessages() {
  std::vector<MenuMessage> out;
  for (const test::Logged& l : test::log())
    if (isMenuMessage(l.msg)) out.push_back(MenuMessage{l.msg, l.wParam, l.lParam});
  test::log().clear();
  return out;
}

WPARAM select(WORD item, UINT flags) { return MAKEWPARAM(item, flags); }
LPARAM handle(HMENU m) { return (LPARAM)m; }
constexpr WPARAM kClosed = MAKEWPARAM(0, 0xFFFF);

class MenuTracking : public ::testing::Test {
 protected:
  void SetUp() override {
    input::clearMenuChoices();
    test::answer() = nullptr;
    owner = CreateWindowExA(0, test::recorderClass(), "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                            nullptr, nullptr, nullptr, nullptr);
    popup = CreatePopupMenu();
    recent = CreatePopupMenu();
    AppendMenuA(recent, MF_STRING, 11, "&One");
    AppendMenuA(recent, MF_STRING, 12, "&Two");
    AppendMenuA(popup, MF_STRING, 10, "&Open");
    AppendMenuA(popup, MF_POPUP, (UINT_PTR)recent, "&Recent");
    AppendMenuA(popup, MF_STRING | MF_GRAYED, 13, "&Save");
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup, MF_STRING, 14, "E&xit");
    input::pumpMessages();
    test::log().clear();
  }
  void TearDown() override {
    test::answer() = nullptr;
    input::clearMenuChoices();
    DestroyMenu(popup);
    if (IsWindow(owner)) DestroyWindow(owner);
    input::pumpMessages();
    test::log().clear();
    BYTE none[256] = {};
    SetKeyboardState(none);
  }
  // The messages of the popup opened on its way to the "Recent" submenu,
  // `inRecent` heard there, and the menu closed.
  std::vector<MenuMessage> throughRecent(const std::vector<MenuMessage>& inRecent) const {
    std::vector<MenuMessage> out = {
        {WM_ENTERMENULOOP, TRUE, 0},
        {WM_INITMENU, (WPARAM)popup, 0},
        {WM_INITMENUPOPUP, (WPARAM)popup, MAKELPARAM(0, FALSE)},
        {WM_MENUSELECT, select(1, MF_POPUP | MF_HILITE), handle(popup)},
        {WM_INITMENUPOPUP, (WPARAM)recent, MAKELPARAM(1, FALSE)},
    };
    out.insert(out.end(), inRecent.begin(), inRecent.end());
    out.insert(out.end(), {{WM_UNINITMENUPOPUP, (WPARAM)recent, 0},
                           {WM_UNINITMENUPOPUP, (WPARAM)popup, 0},
                           {WM_MENUSELECT, kClosed, 0},
                           {WM_EXITMENULOOP, TRUE, 0}});
    return out;
  }
  HWND owner = nullptr;
  HMENU popup = nullptr, recent = nullptr;
};

TEST_F(MenuTracking, ReturnsTheScriptedChoiceThroughItsSubmenu) {
  input::pushMenuChoice(12);
  EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), 12);
  EXPECT_EQ(menuMessages(), throughRecent({{WM_MENUSELECT, select(12, MF_HILITE), handle(recent)}}));
  input::pumpMessages();
  EXPECT_TRUE(menuMessages().empty());  // the command was the answer, not a message
  EXPECT_EQ(input::pendingMenuChoices(), 0u);
}

TEST_F(MenuTracking, TheOwnerHearsEnterIdleWhileTheMenuIsOpen) {
  // Where WM_ENTERIDLE falls among the menu messages, and that the owner may end the menu from it.
  std::vector<UINT> order;
  bool endFromIdle = false;
  test::answer() = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    if (msg == WM_ENTERIDLE) {
      EXPECT_EQ(wParam, (WPARAM)MSGF_MENU);
      if (endFromIdle) EndMenu();
    }
    if (msg == WM_ENTERIDLE || msg == WM_INITMENUPOPUP || msg == WM_UNINITMENUPOPUP) order.push_back(msg);
    return false;
  };
  struct Case {
    bool end;
    UINT answer;
  } cases[] = {{false, 10}, {true, 0}};
  for (const Case& c : cases) {
    order.clear();
    endFromIdle = c.end;
    input::pushMenuChoice(10);
    EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), (BOOL)c.answer);
    EXPECT_EQ(order, (std::vector<UINT>{WM_INITMENUPOPUP, WM_ENTERIDLE, WM_UNINITMENUPOPUP})) << c.end;
  }
  // TPM_NONOTIFY keeps it quiet too.
  order.clear();
  input::pushMenuChoice(10);
  EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY, 10, 10, 0, owner, nullptr), 10);
  EXPECT_TRUE(order.empty());
  test::log().clear();
}

TEST_F(MenuTracking, EndMenuFromTheOwnerDismissesTheMenu) {
  // Ended while the submenu on the way opens: nothing is chosen, the menu
  // closes with its usual messages and the scripted choice is used up.
  input::pushMenuChoice(12);
  test::answer() = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    if (msg == WM_INITMENUPOPUP && (HMENU)wParam == recent) EXPECT_TRUE(EndMenu());
    return false;
  };
  EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), 0);
  EXPECT_EQ(menuMessages(), throughRecent({}));
  EXPECT_EQ(input::pendingMenuChoices(), 0u);
  // Ended at once, without TPM_RETURNCMD: no command is posted either.
  test::answer() = [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_INITMENU) EndMenu();
    return false;
  };
  input::pushMenuChoice(10);
  EXPECT_FALSE(TrackPopupMenu(popup, TPM_LEFTALIGN, 10, 10, 0, owner, nullptr));
  input::pumpMessages();
  for (const MenuMessage& m : menuMessages()) EXPECT_NE(m.msg, (UINT)WM_COMMAND);
  // The next menu is tracked as usual: the end belonged to the one before.
  test::answer() = nullptr;
  input::pushMenuChoice(10);
  EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), 10);
  EXPECT_TRUE(EndMenu()) << "nothing tracked: nothing to end";
}

TEST_F(MenuTracking, WithoutReturnCmdTheCommandIsPosted) {
  input::pushMenuChoice(10);
  EXPECT_EQ(TrackPopupMenu(popup, TPM_LEFTALIGN, 10, 10, 0, owner, nullptr), TRUE);
  std::vector<MenuMessage> during = menuMessages();
  ASSERT_FALSE(during.empty());
  EXPECT_EQ(during.back().msg, (UINT)WM_EXITMENULOOP);
  input::pumpMessages();
  std::vector<MenuMessage> after = menuMessages();
  std::vector<MenuMessage> expected = {{WM_COMMAND, 10, 0}};
  EXPECT_EQ(after, expected);
}

TEST_F(MenuTracking, ANonChoiceDismissesTheMenu) {
  struct Case {
    const char* what;
    bool push;
    UINT choice;
  } cases[] = {
      {"no choice", false, 0}, {"zero", true, 0}, {"greyed item", true, 13},
      {"unknown id", true, 99}, {"a separator's id", true, 0},
  };
  for (const Case& c : cases) {
    if (c.push) input::pushMenuChoice(c.choice);
    EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 0) << c.what;
    std::vector<MenuMessage> got = menuMessages();
    ASSERT_GE(got.size(), 6u) << c.what;
    EXPECT_EQ(got.back(), (MenuMessage{WM_EXITMENULOOP, TRUE, 0})) << c.what;
    EXPECT_EQ(got[got.size() - 2], (MenuMessage{WM_MENUSELECT, kClosed, 0})) << c.what;
    input::pumpMessages();
    EXPECT_TRUE(menuMessages().empty()) << c.what;
  }
}

TEST_F(MenuTracking, TheOwnerMayEnableItemsWhenThePopupIsInitialised) {
  test::answer() = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT& r) {
    if (msg != WM_INITMENUPOPUP || (HMENU)wParam != popup) return false;
    EnableMenuItem(popup, 13, MF_BYCOMMAND | MF_ENABLED);
    r = 0;
    return true;
  };
  input::pushMenuChoice(13);
  EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 13);
}

TEST_F(MenuTracking, NoNotifyKeepsTheMenuMessagesBack) {
  input::pushMenuChoice(11);
  EXPECT_EQ(TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_NONOTIFY, 0, 0, owner, nullptr), 11);
  std::vector<MenuMessage> expected = {{WM_ENTERMENULOOP, TRUE, 0}, {WM_EXITMENULOOP, TRUE, 0}};
  EXPECT_EQ(menuMessages(), expected);
}

TEST_F(MenuTracking, BadArgumentsFail) {
  EXPECT_FALSE(TrackPopupMenu((HMENU)0x1234, 0, 0, 0, 0, owner, nullptr));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_MENU_HANDLE);
  EXPECT_FALSE(TrackPopupMenu(popup, 0, 0, 0, 0, (HWND)0x7FFFFFF0, nullptr));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_TRUE(menuMessages().empty());
}

class MenuBar : public MenuTracking {
 protected:
  void SetUp() override {
    MenuTracking::SetUp();
    bar = LoadMenuA(nullptr, MAKEINTRESOURCEA(IDM_MAIN));
    ASSERT_TRUE(SetMenu(owner, bar));
    file = GetSubMenu(bar, 0);
    SetFocus(owner);
    input::pumpMessages();
    test::log().clear();
    win32::script::clearMessageBeepLog();
  }
  void TearDown() override {
    MenuTracking::TearDown();
    DestroyMenu(bar);
  }
  void alt(UINT key) {
    input::chord(key, false, false, true);
    input::pumpMessages();
  }
  // The WM_COMMAND ids the owner got.
  std::vector<WPARAM> commands(const std::vector<MenuMessage>& messages) {
    std::vector<WPARAM> out;
    for (const MenuMessage& m : messages)
      if (m.msg == WM_COMMAND) out.push_back(m.wParam);
    return out;
  }
  HMENU bar = nullptr, file = nullptr;
};

TEST_F(MenuBar, AltAndAMnemonicOpensThePopupOfThatItem) {
  input::pushMenuChoice(IDM_OPEN);
  alt('F');
  std::vector<MenuMessage> expected = {
      {WM_SYSCOMMAND, SC_KEYMENU, 'f'},
      {WM_ENTERMENULOOP, FALSE, 0},
      {WM_INITMENU, (WPARAM)bar, 0},
      {WM_MENUSELECT, select(0, MF_POPUP | MF_HILITE), handle(bar)},
      {WM_INITMENUPOPUP, (WPARAM)file, MAKELPARAM(0, FALSE)},
      {WM_MENUSELECT, select(IDM_OPEN, MF_HILITE), handle(file)},
      {WM_UNINITMENUPOPUP, (WPARAM)file, 0},
      {WM_MENUSELECT, kClosed, 0},
      {WM_EXITMENULOOP, FALSE, 0},
      {WM_COMMAND, IDM_OPEN, 0},
  };
  EXPECT_EQ(menuMessages(), expected);
}

TEST_F(MenuBar, ACommandOnTheBarRunsAtOnce) {
  alt('H');
  EXPECT_EQ(commands(menuMessages()), std::vector<WPARAM>{IDM_HELP});
  EXPECT_EQ(input::pendingMenuChoices(), 0u);
}

TEST_F(MenuBar, AnUnknownMnemonicAsksTheOwnerThenBeeps) {
  alt('Q');
  std::vector<MenuMessage> got = menuMessages();
  std::vector<MenuMessage> expected = {
      {WM_SYSCOMMAND, SC_KEYMENU, 'q'},
      {WM_ENTERMENULOOP, FALSE, 0},
      {WM_INITMENU, (WPARAM)bar, 0},
      {WM_MENUCHAR, MAKEWPARAM('q', 0), handle(bar)},
      {WM_MENUSELECT, kClosed, 0},
      {WM_EXITMENULOOP, FALSE, 0},
  };
  EXPECT_EQ(got, expected);
  EXPECT_EQ(win32::script::messageBeepLog().size(), 1u);
  // The owner may name the item itself.
  test::answer() = [](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_MENUCHAR) return false;
    r = MAKELRESULT(2, MNC_EXECUTE);
    return true;
  };
  alt('Q');
  EXPECT_EQ(commands(menuMessages()), std::vector<WPARAM>{IDM_HELP});
}

TEST_F(MenuBar, F10AndTheScriptedChoiceGoThroughTheSubmenus) {
  input::pushMenuChoice(IDM_ONE);
  input::keyPress(VK_F10);
  input::pumpMessages();
  std::vector<MenuMessage> got = menuMessages();
  std::vector<MenuMessage> expected = {
      {WM_SYSCOMMAND, SC_KEYMENU, 0},
      {WM_ENTERMENULOOP, FALSE, 0},
      {WM_INITMENU, (WPARAM)bar, 0},
      {WM_MENUSELECT, select(0, MF_POPUP | MF_HILITE), handle(bar)},
      {WM_INITMENUPOPUP, (WPARAM)file, MAKELPARAM(0, FALSE)},
      {WM_MENUSELECT, select(3, MF_POPUP | MF_HILITE), handle(file)},
      {WM_INITMENUPOPUP, (WPARAM)GetSubMenu(file, 3), MAKELPARAM(3, FALSE)},
      {WM_MENUSELECT, select(IDM_ONE, MF_HILITE), handle(GetSubMenu(file, 3))},
      {WM_UNINITMENUPOPUP, (WPARAM)GetSubMenu(file, 3), 0},
      {WM_UNINITMENUPOPUP, (WPARAM)file, 0},
      {WM_MENUSELECT, kClosed, 0},
      {WM_EXITMENULOOP, FALSE, 0},
      {WM_COMMAND, IDM_ONE, 0},
  };
  EXPECT_EQ(got, expected);
}

TEST_F(MenuBar, AltAloneWithoutAChoiceOnlyHighlightsTheFirstItem) {
  input::keyPress(VK_MENU);
  input::pumpMessages();
  std::vector<MenuMessage> expected = {
      {WM_SYSCOMMAND, SC_KEYMENU, 0},
      {WM_ENTERMENULOOP, FALSE, 0},
      {WM_INITMENU, (WPARAM)bar, 0},
      {WM_MENUSELECT, select(0, MF_POPUP | MF_HILITE), handle(bar)},
      {WM_MENUSELECT, kClosed, 0},
      {WM_EXITMENULOOP, FALSE, 0},
  };
  EXPECT_EQ(menuMessages(), expected);
}

TEST_F(MenuBar, AClickOnTheBarOpensTheItemUnderIt) {
  RECT edit;
  ASSERT_TRUE(GetMenuItemRect(owner, bar, 1, &edit));
  POINT p{(edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2};
  ScreenToClient(owner, &p);
  input::pushMenuChoice(IDM_PASTE);
  input::click(owner, p.x, p.y);
  input::pumpMessages();
  std::vector<MenuMessage> got = menuMessages();
  ASSERT_GE(got.size(), 4u);
  EXPECT_EQ(got[0].msg, (UINT)WM_SYSCOMMAND);
  EXPECT_EQ(got[0].wParam, (WPARAM)(SC_MOUSEMENU + HTMENU));
  HMENU editMenu = GetSubMenu(bar, 1);
  bool selectedWithMouse = false;
  for (const MenuMessage& m : got)
    if (m.msg == WM_MENUSELECT && m.lParam == handle(editMenu))
      selectedWithMouse = LOWORD(m.wParam) == IDM_PASTE && (HIWORD(m.wParam) & MF_MOUSESELECT);
  EXPECT_TRUE(selectedWithMouse);
  EXPECT_EQ(commands(got), std::vector<WPARAM>{IDM_PASTE});
}

TEST_F(MenuBar, TheSystemMenuPostsSystemCommands) {
  input::pushMenuChoice(SC_RESTORE);  // greyed: the window is neither minimized nor maximized
  alt(VK_SPACE);
  std::vector<MenuMessage> got = menuMessages();
  HMENU system = GetSystemMenu(owner, FALSE);
  ASSERT_GE(got.size(), 3u);
  EXPECT_EQ(got[3], (MenuMessage{WM_INITMENUPOPUP, (WPARAM)system, MAKELPARAM(0, TRUE)}));
  for (const MenuMessage& m : got) EXPECT_FALSE(m.msg == WM_SYSCOMMAND && m.wParam == SC_RESTORE);
  input::pushMenuChoice(SC_MINIMIZE);
  alt(VK_SPACE);
  got = menuMessages();
  EXPECT_EQ(got.back(), (MenuMessage{WM_SYSCOMMAND, SC_MINIMIZE, 0}));
  EXPECT_TRUE(IsIconic(owner));
  EXPECT_EQ(GetMenuState(system, SC_RESTORE, MF_BYCOMMAND), (UINT)MF_GRAYED);  // refreshed when it opened
}

TEST_F(MenuBar, AWindowWithoutMenusOnlyBeeps) {
  SetMenu(owner, nullptr);
  SetWindowLongA(owner, GWL_STYLE, GetWindowLongA(owner, GWL_STYLE) & ~WS_SYSMENU);
  test::log().clear();
  alt('F');
  std::vector<MenuMessage> expected = {{WM_SYSCOMMAND, SC_KEYMENU, 'f'}};
  EXPECT_EQ(menuMessages(), expected);
  EXPECT_EQ(win32::script::messageBeepLog().size(), 1u);
}

}  // namespace
