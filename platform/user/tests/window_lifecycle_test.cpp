// Classes, creation and destruction of windows: the messages and their order.
#include "message_log.h"

#include <windows.h>

#include <gtest/gtest.h>

using test::Expect;
using test::kLParam;
using test::kWParam;

namespace {

class WindowLifecycle : public ::testing::Test {
 protected:
  void SetUp() override {
    test::recorderClass();
    test::answer() = nullptr;
    test::flushMessages();
  }
  void TearDown() override {
    test::answer() = nullptr;
    test::log().clear();
  }
};

HWND makePopup(DWORD style = WS_POPUP, HWND owner = nullptr) {
  return CreateWindowExA(0, test::recorderClass(), "popup", style, 10, 20, 200, 100, owner, nullptr, nullptr, nullptr);
}

TEST_F(WindowLifecycle, HiddenPopupGetsCreationMessagesInOrder) {
  HWND w = makePopup();
  ASSERT_TRUE(w);
  test::expectSequence({{WM_NCCREATE}, {WM_NCCALCSIZE, kWParam, FALSE}, {WM_CREATE},
                        {WM_SIZE, kWParam | kLParam, SIZE_RESTORED, MAKELPARAM(200, 100)},
                        {WM_MOVE, kLParam, 0, MAKELPARAM(10, 20)}},
                       "create popup");
  DestroyWindow(w);
}

TEST_F(WindowLifecycle, OverlappedWindowAsksMinMaxFirstAndActivatesWhenVisible) {
  HWND w = CreateWindowExA(0, test::recorderClass(), "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                           nullptr, nullptr, nullptr);
  ASSERT_TRUE(w);
  // Its size and place come with its first show, after the show's messages.
  test::expectSequence({{WM_GETMINMAXINFO}, {WM_NCCREATE}, {WM_NCCALCSIZE}, {WM_CREATE},
                        {WM_SHOWWINDOW, kWParam, TRUE}, {WM_WINDOWPOSCHANGING}, {WM_ACTIVATEAPP, kWParam, TRUE},
                        {WM_NCACTIVATE, kWParam, TRUE}, {WM_ACTIVATE, kWParam, WA_ACTIVE}, {WM_SETFOCUS},
                        {WM_WINDOWPOSCHANGED}, {WM_SIZE, kWParam, SIZE_RESTORED}, {WM_MOVE}},
                       "create visible overlapped");
  EXPECT_EQ(GetActiveWindow(), w);
  EXPECT_EQ(GetFocus(), w);
  // An overlapped window always has a caption and clips its siblings.
  EXPECT_EQ(GetWindowLongA(w, GWL_STYLE) & (WS_CAPTION | WS_CLIPSIBLINGS), WS_CAPTION | WS_CLIPSIBLINGS);
  DestroyWindow(w);
}

TEST_F(WindowLifecycle, AnInvisibleOverlappedWindowHearsItsSizeAtItsFirstShow) {
  HWND w = CreateWindowExA(0, test::recorderClass(), "main", WS_OVERLAPPEDWINDOW, 20, 30, 300, 200, nullptr, nullptr,
                           nullptr, nullptr);
  ASSERT_TRUE(w);
  test::expectSequence({{WM_GETMINMAXINFO}, {WM_NCCREATE}, {WM_NCCALCSIZE}, {WM_CREATE}}, "create hidden overlapped");
  RECT client;
  GetClientRect(w, &client);
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  ShowWindow(w, SW_SHOWNOACTIVATE);
  std::vector<test::Logged> shown = test::log();
  ASSERT_GE(shown.size(), 2u);
  EXPECT_EQ(shown[shown.size() - 2].msg, (UINT)WM_SIZE);
  EXPECT_EQ(shown[shown.size() - 2].lParam, MAKELPARAM(client.right, client.bottom));
  EXPECT_EQ(shown.back().msg, (UINT)WM_MOVE);
  EXPECT_EQ(shown.back().lParam, MAKELPARAM(origin.x, origin.y));
  // Owed once only.
  ShowWindow(w, SW_HIDE);
  test::log().clear();
  ShowWindow(w, SW_SHOWNOACTIVATE);
  for (const test::Logged& l : test::log()) EXPECT_NE(l.msg, (UINT)WM_SIZE);
  DestroyWindow(w);
}

TEST_F(WindowLifecycle, ChildCreationNotifiesParentAndUsesMenuAsId) {
  HWND parent = makePopup();
  test::log().clear();
  HWND child = CreateWindowExA(0, test::recorderClass(), "c", WS_CHILD | WS_VISIBLE, 5, 6, 50, 40, parent, (HMENU)77,
                               nullptr, nullptr);
  ASSERT_TRUE(child);
  test::expectSequence({{WM_NCCREATE, 0, 0, 0, child}, {WM_NCCALCSIZE}, {WM_CREATE}, {WM_SIZE}, {WM_MOVE},
                        {WM_PARENTNOTIFY, kWParam | kLParam, MAKEWPARAM(WM_CREATE, 77), (LPARAM)child, parent},
                        {WM_SHOWWINDOW, kWParam, TRUE, 0, child}, {WM_WINDOWPOSCHANGING}, {WM_WINDOWPOSCHANGED}},
                       "create child");
  EXPECT_EQ(GetDlgCtrlID(child), 77);
  EXPECT_EQ(GetDlgItem(parent, 77), child);
  EXPECT_EQ(GetParent(child), parent);
  DestroyWindow(parent);
}

TEST_F(WindowLifecycle, DestroyingSendsDestroyParentFirstAndNcDestroyChildrenFirst) {
  HWND parent = makePopup();
  HWND child = CreateWindowExA(0, test::recorderClass(), "c", WS_CHILD, 0, 0, 10, 10, parent, (HMENU)1, nullptr, nullptr);
  HWND grandchild =
      CreateWindowExA(0, test::recorderClass(), "g", WS_CHILD, 0, 0, 5, 5, child, (HMENU)2, nullptr, nullptr);
  test::log().clear();
  ASSERT_TRUE(DestroyWindow(parent));
  test::expectSequence({{WM_DESTROY, 0, 0, 0, parent}, {WM_DESTROY, 0, 0, 0, child}, {WM_DESTROY, 0, 0, 0, grandchild},
                        {WM_NCDESTROY, 0, 0, 0, grandchild}, {WM_NCDESTROY, 0, 0, 0, child},
                        {WM_NCDESTROY, 0, 0, 0, parent}},
                       "destroy tree");
  EXPECT_FALSE(IsWindow(parent));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(grandchild));
}

TEST_F(WindowLifecycle, DestroyingAChildNotifiesItsParent) {
  HWND parent = makePopup();
  HWND child = CreateWindowExA(0, test::recorderClass(), "c", WS_CHILD, 0, 0, 10, 10, parent, (HMENU)9, nullptr, nullptr);
  test::log().clear();
  DestroyWindow(child);
  test::expectSequence({{WM_PARENTNOTIFY, kWParam | kLParam, MAKEWPARAM(WM_DESTROY, 9), (LPARAM)child, parent},
                        {WM_DESTROY, 0, 0, 0, child}, {WM_NCDESTROY, 0, 0, 0, child}},
                       "destroy child");
  DestroyWindow(parent);
}

TEST_F(WindowLifecycle, AVisibleChildIsHiddenFirstWhenDestroyed) {
  HWND parent = makePopup(WS_POPUP | WS_VISIBLE);
  HWND child = CreateWindowExA(0, test::recorderClass(), "c", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent, (HMENU)9,
                               nullptr, nullptr);
  test::log().clear();
  DestroyWindow(child);
  test::expectSequence({{WM_PARENTNOTIFY, kWParam, MAKEWPARAM(WM_DESTROY, 9), 0, parent},
                        {WM_SHOWWINDOW, kWParam | kLParam, FALSE, 0, child}, {WM_WINDOWPOSCHANGING, 0, 0, 0, child},
                        {WM_WINDOWPOSCHANGED, 0, 0, 0, child}, {WM_DESTROY, 0, 0, 0, child},
                        {WM_NCDESTROY, 0, 0, 0, child}},
                       "destroy visible child");
  DestroyWindow(parent);
}

TEST_F(WindowLifecycle, AWindowPastNcDestroyTakesNoPlaceParentOrChild) {
  HWND parent = makePopup();
  HWND other = makePopup();
  struct Seen {
    BOOL moved = TRUE;
    HWND reparented = (HWND)1;
    HWND newChild = (HWND)1;
    DWORD error = 0;
  } seen;
  test::answer() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg != WM_NCDESTROY || hwnd != parent) return false;
    seen.moved = SetWindowPos(hwnd, nullptr, 1, 1, 5, 5, SWP_NOZORDER | SWP_NOACTIVATE);
    seen.error = GetLastError();
    seen.reparented = SetParent(hwnd, other);
    seen.newChild = CreateWindowExA(0, test::recorderClass(), "late", WS_CHILD, 0, 0, 5, 5, hwnd, nullptr, nullptr,
                                    nullptr);
    return false;
  };
  DestroyWindow(parent);
  test::answer() = nullptr;
  EXPECT_FALSE(seen.moved);
  EXPECT_EQ(seen.error, (DWORD)ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_EQ(seen.reparented, nullptr);
  EXPECT_EQ(seen.newChild, nullptr);
  DestroyWindow(other);
}

TEST_F(WindowLifecycle, OwnedWindowsAreDestroyedWithTheirOwner) {
  HWND owner = makePopup();
  HWND owned = makePopup(WS_POPUP, owner);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
  EXPECT_EQ(GetParent(owned), owner);  // a popup answers its owner
  test::log().clear();
  DestroyWindow(owner);
  test::expectSequence({{WM_DESTROY, 0, 0, 0, owned}, {WM_NCDESTROY, 0, 0, 0, owned}, {WM_DESTROY, 0, 0, 0, owner},
                        {WM_NCDESTROY, 0, 0, 0, owner}},
                       "destroy owner");
  EXPECT_FALSE(IsWindow(owned));
}

// The owner's list of owned windows follows every change: a window given
// to another owner goes with that one, one destroyed first is not met again.
TEST_F(WindowLifecycle, OwnedWindowsFollowTheirOwnerThroughChanges) {
  HWND first = makePopup(), second = makePopup();
  HWND kept = makePopup(WS_POPUP, first), lower = makePopup(WS_POPUP, first), upper = makePopup(WS_POPUP, first);
  HWND moved = makePopup(WS_POPUP, first), early = makePopup(WS_POPUP, first), freed = makePopup(WS_POPUP, second);
  SetWindowLongPtrA(moved, GWLP_HWNDPARENT, (LONG_PTR)second);
  SetWindowLongPtrA(kept, GWLP_HWNDPARENT, 0);
  SetWindowPos(lower, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  DestroyWindow(early);
  const struct {
    HWND window;
    HWND owner;
  } owners[] = {{moved, second}, {kept, nullptr}, {lower, first}, {upper, first}, {freed, second}};
  for (auto& o : owners) EXPECT_EQ(GetWindow(o.window, GW_OWNER), o.owner);
  test::log().clear();
  DestroyWindow(first);
  // The owned windows go first, the upper in z-order before the lower.
  std::vector<HWND> destroyed;
  for (const auto& m : test::log())
    if (m.msg == WM_DESTROY) destroyed.push_back(m.hwnd);
  EXPECT_EQ(destroyed, (std::vector<HWND>{upper, lower, first}));
  EXPECT_TRUE(IsWindow(moved));
  EXPECT_TRUE(IsWindow(kept));
  // A window given a new owner goes with that one.
  SetWindowLongPtrA(freed, GWLP_HWNDPARENT, (LONG_PTR)moved);
  DestroyWindow(moved);
  EXPECT_FALSE(IsWindow(freed));
  EXPECT_TRUE(IsWindow(second));
  DestroyWindow(second);
  DestroyWindow(kept);
}

TEST_F(WindowLifecycle, CreationFailsWhenNcCreateOrCreateRefuses) {
  struct Case {
    UINT refuse;
    LRESULT answer;
    std::vector<Expect> expected;
  } cases[] = {
      {WM_NCCREATE, FALSE, {{WM_NCCREATE}, {WM_NCDESTROY}}},
      {WM_CREATE, -1, {{WM_NCCREATE}, {WM_NCCALCSIZE}, {WM_CREATE}, {WM_NCDESTROY}}},
  };
  for (auto& c : cases) {
    test::answer() = [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
      if (msg != c.refuse) return false;
      r = c.answer;
      return true;
    };
    HWND w = makePopup();
    EXPECT_EQ(w, nullptr);
    test::expectSequence(c.expected, test::name(c.refuse).c_str());
  }
}

TEST_F(WindowLifecycle, CreateStructCarriesTheArguments) {
  CREATESTRUCTA seen{};
  int param = 42;
  test::answer() = [&](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT&) {
    if (msg == WM_CREATE) seen = *(CREATESTRUCTA*)lParam;
    return false;
  };
  HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, "kyrecorder", "Title", WS_POPUP | WS_BORDER, 1, 2, 30, 40, nullptr, nullptr,
                           nullptr, &param);
  ASSERT_TRUE(w);
  EXPECT_EQ(seen.lpCreateParams, &param);
  EXPECT_EQ(seen.x, 1);
  EXPECT_EQ(seen.y, 2);
  EXPECT_EQ(seen.cx, 30);
  EXPECT_EQ(seen.cy, 40);
  EXPECT_STREQ(seen.lpszName, "Title");
  EXPECT_EQ(seen.dwExStyle & WS_EX_TOOLWINDOW, (DWORD)WS_EX_TOOLWINDOW);
  char text[16];
  EXPECT_EQ(GetWindowTextA(w, text, sizeof text), 5);
  EXPECT_STREQ(text, "Title");
  DestroyWindow(w);
}

TEST_F(WindowLifecycle, ClassesAreFoundIgnoringCaseAndRefusedTwice) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.cbWndExtra = 8;
  wc.cbClsExtra = 4;
  wc.lpszClassName = "Ky Lifecycle Class";
  ATOM atom = RegisterClassA(&wc);
  ASSERT_NE(atom, 0);
  EXPECT_GE(atom, 0xC000);
  EXPECT_EQ(RegisterClassA(&wc), 0);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_CLASS_ALREADY_EXISTS);
  WNDCLASSA info{};
  EXPECT_TRUE(GetClassInfoA(nullptr, "KY LIFECYCLE CLASS", &info));
  EXPECT_EQ(info.cbWndExtra, 8);
  HWND w = CreateWindowExA(0, "ky lifecycle class", nullptr, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(w);
  char name[64];
  EXPECT_EQ(GetClassNameA(w, name, sizeof name), 18);
  EXPECT_STREQ(name, "Ky Lifecycle Class");
  EXPECT_FALSE(UnregisterClassA("Ky Lifecycle Class", nullptr));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_CLASS_HAS_WINDOWS);
  // The same name registers a window message with the same number (one atom table).
  EXPECT_EQ(RegisterWindowMessageA("KY LIFECYCLE CLASS"), atom);
  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClassA("Ky Lifecycle Class", nullptr));
  EXPECT_EQ(CreateWindowExA(0, "Ky Lifecycle Class", nullptr, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_CANNOT_FIND_WND_CLASS);
}

TEST_F(WindowLifecycle, BadHandlesFailWithInvalidWindowHandle) {
  HWND dead = makePopup();
  DestroyWindow(dead);
  HWND handles[] = {dead, (HWND)0x12345678, (HWND)(uintptr_t)0xFFFFFFFFFFFFull, (HWND)4};
  for (HWND h : handles) {
    SCOPED_TRACE(testing::Message() << "handle " << h);
    RECT r;
    struct Call {
      const char* name;
      std::function<bool()> fails;
    } calls[] = {
        {"IsWindow", [&] { return !IsWindow(h); }},
        {"DestroyWindow", [&] { return !DestroyWindow(h); }},
        {"GetWindowRect", [&] { return !GetWindowRect(h, &r); }},
        {"SetWindowPos", [&] { return !SetWindowPos(h, nullptr, 0, 0, 1, 1, SWP_NOZORDER); }},
        {"ShowWindow", [&] { return !ShowWindow(h, SW_SHOW); }},
        {"GetWindowLongPtrA", [&] { return GetWindowLongPtrA(h, GWLP_USERDATA) == 0; }},
        {"SetFocus", [&] { return SetFocus(h) == nullptr; }},
        {"InvalidateRect", [&] { return !InvalidateRect(h, nullptr, TRUE); }},
        {"PostMessageA", [&] { return !PostMessageA(h, WM_USER, 0, 0); }},
        {"SetTimer", [&] { return SetTimer(h, 1, 10, nullptr) == 0; }},
        {"GetParent", [&] { return GetParent(h) == nullptr; }},
    };
    for (auto& c : calls) {
      SetLastError(0);
      EXPECT_TRUE(c.fails()) << c.name;
      if (c.name != std::string("IsWindow")) {
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_WINDOW_HANDLE) << c.name;
      }
    }
    EXPECT_EQ(SendMessageA(h, WM_USER, 1, 2), 0);
  }
}

TEST_F(WindowLifecycle, ChildWithoutParentIsRefused) {
  EXPECT_EQ(CreateWindowExA(0, test::recorderClass(), nullptr, WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_TLW_WITH_WSCHILD);
}

TEST_F(WindowLifecycle, HandlesAreEvenThirtyTwoBitValues) {
  HWND a = makePopup(), b = makePopup();
  EXPECT_NE(a, b);
  for (HWND h : {a, b}) {
    EXPECT_LE((uintptr_t)h, 0x3FFFFFFFu);
    EXPECT_EQ((uintptr_t)h & 1, 0u);
  }
  DWORD pid = 0;
  EXPECT_EQ(GetWindowThreadProcessId(a, &pid), GetCurrentThreadId());
  EXPECT_EQ(pid, GetCurrentProcessId());
  DestroyWindow(a);
  DestroyWindow(b);
}

}  // namespace

namespace {

// A CBT hook hears of each window before its first message and may refuse it.
TEST(CbtHook, SeesCreationFirstAndMayRefuseCreationAndDestruction) {
  test::recorderClass();
  static std::vector<std::pair<int, UINT>> events;  // hook code, or the first message seen
  static bool refuse;
  events.clear();
  refuse = false;
  HHOOK hook = SetWindowsHookExA(WH_CBT, [](int code, WPARAM w, LPARAM l) -> LRESULT {
    if (code == HCBT_CREATEWND) {
      EXPECT_STREQ(((CBT_CREATEWNDA*)l)->lpcs->lpszName, "cbt");
      events.emplace_back(code, 0);
      return refuse;
    }
    if (code == HCBT_DESTROYWND) {
      events.emplace_back(code, 0);
      return refuse;
    }
    return 0;
  }, nullptr, GetCurrentThreadId());
  test::log().clear();
  HWND w = CreateWindowExA(0, test::recorderClass(), "cbt", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(w);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].first, HCBT_CREATEWND);
  refuse = true;
  EXPECT_FALSE(DestroyWindow(w));
  EXPECT_TRUE(IsWindow(w));
  EXPECT_EQ(CreateWindowExA(0, test::recorderClass(), "cbt", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  refuse = false;
  EXPECT_TRUE(DestroyWindow(w));
  UnhookWindowsHookEx(hook);
  test::log().clear();
}

}  // namespace
