// List boxes driven by synthetic keys and clicks: the selection each mode
// makes and the notifications the parent receives, in order.
#include "control_fixture.h"

#include <string>
#include <vector>

namespace input = win32::input;
using test::Notification;

namespace {

constexpr int kId = 100;

class ListBoxInput : public test::ControlTest {
 protected:
  HWND make(DWORD style, int count = 20) {
    HWND lb = child("ListBox", nullptr, WS_VSCROLL | LBS_NOTIFY | style, kId, 10, 10, 150, 120);
    for (int i = 0; i < count; ++i) {
      std::string s = std::string(1, (char)('a' + i % 26)) + "item" + std::to_string(i);
      SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM)s.c_str());
    }
    SetFocus(lb);
    settle();
    return lb;
  }
  int itemHeight(HWND lb) { return (int)SendMessageA(lb, LB_GETITEMHEIGHT, 0, 0); }
  void clickItem(HWND lb, int row, bool shift = false, bool ctrl = false) {
    if (shift) input::keyDown(VK_SHIFT);
    if (ctrl) input::keyDown(VK_CONTROL);
    input::click(lb, 20, row * itemHeight(lb) + 2);
    if (ctrl) input::keyUp(VK_CONTROL);
    if (shift) input::keyUp(VK_SHIFT);
    input::pumpMessages();
  }
  static std::vector<int> selected(HWND lb) {
    std::vector<int> items(256);
    LRESULT n = SendMessageA(lb, LB_GETSELITEMS, items.size(), (LPARAM)items.data());
    items.resize(n > 0 ? (size_t)n : 0);
    return items;
  }
  std::vector<Notification> got() {
    auto n = test::notifications();
    test::log().clear();
    return n;
  }
};

TEST_F(ListBoxInput, ArrowsHomeEndAndPagesMoveASingleSelection) {
  HWND lb = make(0);
  RECT c;
  GetClientRect(lb, &c);
  int page = c.bottom / itemHeight(lb);
  struct Case {
    UINT vk;
    int selected;
  } cases[] = {{VK_DOWN, 0}, {VK_DOWN, 1}, {VK_END, 19}, {VK_UP, 18}, {VK_HOME, 0}, {VK_NEXT, page - 1}, {VK_PRIOR, 0}};
  for (const Case& k : cases) {
    input::keyPress(k.vk);
    input::pumpMessages();
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), k.selected) << k.vk;
    EXPECT_EQ(got(), (std::vector<Notification>{{kId, LBN_SELCHANGE}})) << k.vk;
  }
  // At the first item already: nothing changes and nothing is said.
  input::keyPress(VK_UP);
  input::pumpMessages();
  EXPECT_TRUE(got().empty());
  EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 0);
  input::keyPress(VK_END);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 20 - page);
}

TEST_F(ListBoxInput, TypingALetterSelectsTheNextItemStartingWithIt) {
  HWND lb = make(0, 40);  // 'b' starts items 1 and 27
  input::typeText("b");
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 1);
  input::typeText("B");
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 27);
  input::typeText("b");
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 1);  // wraps round
}

TEST_F(ListBoxInput, ClickSelectsAndDoubleClickNotifies) {
  HWND lb = make(0);
  clickItem(lb, 3);
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(got(), (std::vector<Notification>{{kId, LBN_SELCHANGE}}));
  input::doubleClick(lb, 20, 2);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(got(), (std::vector<Notification>{{kId, LBN_SELCHANGE}, {kId, LBN_DBLCLK}}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ListBoxInput, DraggingMovesASingleSelection) {
  HWND lb = make(0);
  int h = itemHeight(lb);
  input::drag(lb, 20, 2, 20, 4 * h + 2);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 4);
  auto n = got();
  ASSERT_FALSE(n.empty());
  for (auto& e : n) EXPECT_EQ(e, (Notification{kId, LBN_SELCHANGE}));
}

TEST_F(ListBoxInput, MultipleSelectionTogglesByClickAndSpace) {
  HWND lb = make(LBS_MULTIPLESEL);
  clickItem(lb, 1);
  clickItem(lb, 3);
  EXPECT_EQ(selected(lb), (std::vector<int>{1, 3}));
  clickItem(lb, 1);
  EXPECT_EQ(selected(lb), (std::vector<int>{3}));
  got();
  // Arrows move the caret only; space toggles the caret's item. Each key reports.
  input::keyPress(VK_DOWN);
  input::keyPress(VK_SPACE);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(lb, LB_GETCARETINDEX, 0, 0), 2);
  EXPECT_EQ(selected(lb), (std::vector<int>{2, 3}));
  EXPECT_EQ(got(), (std::vector<Notification>{{kId, LBN_SELCHANGE}, {kId, LBN_SELCHANGE}}));
}

TEST_F(ListBoxInput, ExtendedSelectionWithShiftAndCtrl) {
  HWND lb = make(LBS_EXTENDEDSEL);
  clickItem(lb, 2);
  EXPECT_EQ(selected(lb), (std::vector<int>{2}));
  clickItem(lb, 5, true);
  EXPECT_EQ(selected(lb), (std::vector<int>{2, 3, 4, 5}));
  clickItem(lb, 3, false, true);
  EXPECT_EQ(selected(lb), (std::vector<int>{2, 4, 5}));
  clickItem(lb, 0);
  EXPECT_EQ(selected(lb), (std::vector<int>{0}));
  input::chord(VK_DOWN, true, false);
  input::chord(VK_DOWN, true, false);
  input::pumpMessages();
  EXPECT_EQ(selected(lb), (std::vector<int>{0, 1, 2}));
  // Ctrl moves the caret alone, ctrl+space adds its item.
  input::chord(VK_DOWN, false, true);
  input::chord(VK_DOWN, false, true);
  input::chord(VK_SPACE, false, true);
  input::pumpMessages();
  EXPECT_EQ(selected(lb), (std::vector<int>{0, 1, 2, 4}));
  // A plain arrow starts over.
  input::keyPress(VK_DOWN);
  input::pumpMessages();
  EXPECT_EQ(selected(lb), (std::vector<int>{5}));
  EXPECT_EQ(SendMessageA(lb, LB_GETANCHORINDEX, 0, 0), 5);
}

TEST_F(ListBoxInput, WithoutLbsNotifyOnlyFocusChangesAreReported) {
  HWND lb = child("ListBox", nullptr, WS_VSCROLL, kId, 10, 10, 150, 120);
  SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM) "a");
  SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM) "b");
  settle();
  SetFocus(lb);
  input::keyPress(VK_DOWN);
  input::pumpMessages();
  SetFocus(frame);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(got(), (std::vector<Notification>{{kId, LBN_SETFOCUS}, {kId, LBN_KILLFOCUS}}));
}

TEST_F(ListBoxInput, KeyboardInputGoesToTheOwnerFirst) {
  HWND lb = make(LBS_WANTKEYBOARDINPUT);
  // The owner takes Down itself (-2) and sends End to item 7.
  test::answer() = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT& r) {
    if (msg != WM_VKEYTOITEM) return false;
    r = LOWORD(wParam) == VK_DOWN ? -2 : LOWORD(wParam) == VK_END ? 7 : -1;
    return true;
  };
  input::keyPress(VK_DOWN);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), LB_ERR);
  input::keyPress(VK_END);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 7);
  input::keyPress(VK_HOME);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 0);
  std::vector<WPARAM> asked;
  for (auto& l : test::log())
    if (l.msg == WM_VKEYTOITEM) asked.push_back(l.wParam);
  EXPECT_EQ(asked.size(), 3u);  // one question per key press
  test::log().clear();
}

TEST_F(ListBoxInput, OwnerDrawnListsWithoutStringsAskTheOwnerForCharacters) {
  HWND lb = child("ListBox", nullptr, LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_WANTKEYBOARDINPUT, kId, 10, 10, 150, 120);
  for (ULONG_PTR v : {10, 20, 30, 40}) SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM)v);
  SetFocus(lb);
  settle();
  std::vector<WPARAM> asked;
  test::answer() = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT& r) {
    if (msg == WM_VKEYTOITEM) {
      r = -1;
      return true;
    }
    if (msg != WM_CHARTOITEM) return false;
    asked.push_back(wParam);
    r = LOWORD(wParam) == 'c' ? 2 : -2;
    return true;
  };
  input::typeText("xc");
  input::pumpMessages();
  EXPECT_EQ(asked, (std::vector<WPARAM>{MAKEWPARAM('x', 0), MAKEWPARAM('c', 0)}));
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 2);
}

TEST_F(ListBoxInput, NoSelListsMoveTheCaretOnly) {
  HWND lb = make(LBS_NOSEL);
  input::keyPress(VK_DOWN);
  input::keyPress(VK_DOWN);
  input::pumpMessages();
  clickItem(lb, 4);
  EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessageA(lb, LB_GETCARETINDEX, 0, 0), 4);
  EXPECT_TRUE(got().empty());
}

TEST_F(ListBoxInput, DisableNoScrollKeepsTheBarOfAShortList) {
  HWND keep = child("ListBox", nullptr, WS_VSCROLL | LBS_DISABLENOSCROLL, kId, 10, 10, 150, 120);
  HWND plain = child("ListBox", nullptr, WS_VSCROLL, kId + 1, 170, 10, 150, 120);
  for (HWND lb : {keep, plain}) SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM) "only");
  EXPECT_TRUE(GetWindowLongA(keep, GWL_STYLE) & WS_VSCROLL);
  EXPECT_FALSE(GetWindowLongA(plain, GWL_STYLE) & WS_VSCROLL);
  for (int i = 0; i < 30; ++i) SendMessageA(plain, LB_ADDSTRING, 0, (LPARAM) "more");
  EXPECT_TRUE(GetWindowLongA(plain, GWL_STYLE) & WS_VSCROLL);
}

}  // namespace
