// Input from an X server (XTest in the test's own Xvfb) reaching the
// layer's windows as the messages Windows sends, and the window manager's
// close request.
#include "control_fixture.h"
#include "x11_client.h"

#include <internal/xserver.h>

#include <atomic>
#include <thread>

namespace {

kytest::XServer server;  // made before the first window: the display is chosen then

class X11Input : public test::ControlTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.running()) << server.error();
    ASSERT_TRUE(x.connected());
    test::ControlTest::SetUp();
    // Input goes to the window once the server shows it.
    ASSERT_TRUE(test::pumpUntil([&] { return (frameId = x.byTitle("controls")) != 0; }));
    RECT r;
    bool mapped = false;
    ASSERT_TRUE(test::pumpUntil([&] { return x.geometry(frameId, r, mapped) && mapped; }));
    settle();
  }
  // The screen point of a window's client point.
  static POINT onScreen(HWND hwnd, int cx, int cy) {
    POINT p{cx, cy};
    ClientToScreen(hwnd, &p);
    return p;
  }
  std::vector<test::Logged> logged(std::initializer_list<UINT> messages) {
    std::vector<test::Logged> out;
    for (const test::Logged& l : test::log())
      if (std::find(messages.begin(), messages.end(), l.msg) != messages.end()) out.push_back(l);
    return out;
  }
  test::XClient x{server.display().c_str()};
  xcb_window_t frameId = 0;
};

constexpr UINT kKeyMessages[] = {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR};

TEST_F(X11Input, ServerKeysBecomeKeyAndCharMessages) {
  SetFocus(frame);
  settle();
  struct Key {
    UINT vk;
    bool press;
  };
  const Key typed[] = {{'A', true}, {'A', false}, {VK_SHIFT, true}, {'1', true}, {'1', false}, {VK_SHIFT, false},
                       {VK_OEM_1, true}, {VK_OEM_1, false}};
  for (const Key& k : typed) x.key(test::XClient::keycodeOf(k.vk), k.press);
  // What Windows sends for these keys, scan codes included.
  auto keyParam = [](UINT vk, bool up) {
    return (LPARAM)(DWORD)(1 | (MapVirtualKeyA(vk, 0) << 16) | (up ? 0xC0000000u : 0));
  };
  const test::Expect expected[] = {
      {WM_KEYDOWN, test::kWParam | test::kLParam, 'A', keyParam('A', false)},
      {WM_CHAR, test::kWParam, 'a'},
      {WM_KEYUP, test::kWParam | test::kLParam, 'A', keyParam('A', true)},
      {WM_KEYDOWN, test::kWParam | test::kLParam, VK_SHIFT, keyParam(VK_SHIFT, false)},
      {WM_KEYDOWN, test::kWParam, '1'},
      {WM_CHAR, test::kWParam, '!'},
      {WM_KEYUP, test::kWParam, '1'},
      {WM_KEYUP, test::kWParam, VK_SHIFT},
      {WM_KEYDOWN, test::kWParam, VK_OEM_1},
      {WM_CHAR, test::kWParam, ';'},
      {WM_KEYUP, test::kWParam, VK_OEM_1},
  };
  const size_t want = std::size(expected);
  ASSERT_TRUE(test::pumpUntil([&] {
    return logged({WM_KEYDOWN, WM_KEYUP, WM_CHAR}).size() >= want;
  })) << test::describe(test::log());
  std::vector<test::Logged> keys;
  for (const test::Logged& l : test::log())
    if (std::find(std::begin(kKeyMessages), std::end(kKeyMessages), l.msg) != std::end(kKeyMessages)) keys.push_back(l);
  test::log() = keys;
  test::expectSequence(std::vector<test::Expect>(std::begin(expected), std::end(expected)), "typed keys");
}

TEST_F(X11Input, TypingAndClickingDriveControls) {
  HWND edit = child("Edit", "", WS_BORDER, 12, 10, 50, 200, 22);
  HWND button = child("Button", "&Apply", BS_PUSHBUTTON, 11, 10, 10, 90, 26);
  SetFocus(edit);
  settle();
  struct {
    UINT vk;
    bool shift;
  } keys[] = {{'H', true}, {'I', false}, {VK_SPACE, false}, {'5', false}, {'1', true}, {VK_BACK, false}, {'2', true}};
  for (auto& k : keys) {
    if (k.shift) x.key(test::XClient::keycodeOf(VK_SHIFT), true);
    x.press(k.vk);
    if (k.shift) x.key(test::XClient::keycodeOf(VK_SHIFT), false);
  }
  char text[64] = {};
  EXPECT_TRUE(test::pumpUntil([&] {
    GetWindowTextA(edit, text, sizeof text);
    return std::string(text) == "Hi 5@";
  })) << text;
  // Each typed character and the backspace changed the edit.
  size_t changes = 0;
  for (const auto& n : test::notifications())
    if (n == test::Notification{12, EN_CHANGE}) ++changes;
  EXPECT_EQ(changes, std::size(keys));

  test::log().clear();
  POINT p = onScreen(button, 45, 13);
  x.clickAt(p.x, p.y);
  EXPECT_TRUE(test::pumpUntil([&] {
    auto n = test::notifications();
    return std::find(n.begin(), n.end(), test::Notification{11, BN_CLICKED}) != n.end();
  }));
  EXPECT_EQ(GetFocus(), button);  // a click on a push button focuses it
}

TEST_F(X11Input, WheelAndDoubleClickFromServerButtons) {
  SetFocus(frame);
  POINT p = onScreen(frame, 60, 40);
  x.pointerTo(p.x, p.y);
  settle();
  struct {
    uint8_t button;
    short delta;
  } wheel[] = {{4, 120}, {5, -120}};
  for (auto& w : wheel) {
    test::log().clear();
    x.button(w.button, true);
    x.button(w.button, false);
    ASSERT_TRUE(test::pumpUntil([&] { return !logged({WM_MOUSEWHEEL}).empty(); }));
    auto got = logged({WM_MOUSEWHEEL});
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ((short)HIWORD(got[0].wParam), w.delta);
    EXPECT_EQ(got[0].hwnd, frame);
  }
  test::log().clear();
  for (int i = 0; i < 2; ++i) {
    x.button(1, true);
    x.button(1, false);
  }
  ASSERT_TRUE(test::pumpUntil([&] { return logged({WM_LBUTTONUP}).size() == 2; }));
  auto clicks = logged({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK});
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[0].msg, (UINT)WM_LBUTTONDOWN);
  EXPECT_EQ(clicks[1].msg, (UINT)WM_LBUTTONDBLCLK);  // the recorder's class has CS_DBLCLKS
  EXPECT_EQ(clicks[1].lParam, MAKELPARAM(60, 40));
}

TEST_F(X11Input, CloseRequestClosesTheWindow) {
  x.requestClose(frameId);
  ASSERT_TRUE(test::pumpUntil([&] { return !IsWindow(frame); }));
  auto got = logged({WM_SYSCOMMAND, WM_CLOSE});
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].msg, (UINT)WM_SYSCOMMAND);
  EXPECT_EQ(got[0].wParam & 0xFFF0, (WPARAM)SC_CLOSE);
  EXPECT_EQ(got[1].msg, (UINT)WM_CLOSE);
  frame = nullptr;
}

// Waits (in a thread of its own) until the item of `menu` at `position` is
// shown on the server; its screen rectangle, empty when it never shows.
RECT shownMenuItem(test::XClient& person, HMENU menu, UINT position) {
  RECT item{};
  for (int i = 0; i < 500; ++i) {
    if (GetMenuItemRect(nullptr, menu, position, &item) && person.mappedCovering(item)) return item;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return RECT{};
}

// What a person does to a shown popup menu, from another thread: waits
// until the item of `menu` at `position` is on the server, then moves there
// and, with `click`, clicks it.
bool pointAtMenuItem(test::XClient& person, HMENU menu, UINT position, bool click) {
  RECT item = shownMenuItem(person, menu, position);
  if (IsRectEmpty(&item)) return false;
  person.pointerTo((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  if (click) {
    person.button(1, true);
    person.button(1, false);
  }
  return true;
}

TEST_F(X11Input, PopupMenuOpenedAndChosenWithTheMouse) {
  HMENU recent = CreatePopupMenu();
  AppendMenuA(recent, MF_STRING, 201, "one");
  AppendMenuA(recent, MF_STRING, 202, "two");
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 101, "&Open");
  AppendMenuA(menu, MF_STRING, 102, "&Save\tCtrl+S");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_POPUP, (UINT_PTR)recent, "&Recent");
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 103, "Gr&ayed");
  struct Step {
    HMENU menu;
    UINT position;
    bool click;
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
    bool clickOutside;
    BOOL expected;
  } cases[] = {
      {"a command", {{menu, 1, true}}, false, 102},
      {"a command of a submenu", {{menu, 3, false}, {recent, 1, true}}, false, 202},
      {"a greyed item, then outside", {{menu, 4, true}}, true, 0},
      {"outside", {}, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::log().clear();
    POINT at = onScreen(frame, 30, 30);
    std::atomic<bool> acted{true};
    std::thread person([&] {
      test::XClient hand(server.display().c_str());
      for (const Step& step : c.steps) acted = acted && pointAtMenuItem(hand, step.menu, step.position, step.click);
      if (c.clickOutside) {
        RECT first{};
        for (int i = 0; i < 500 && !(GetMenuItemRect(nullptr, menu, 0, &first) && hand.mappedCovering(first)); ++i)
          std::this_thread::sleep_for(std::chrono::milliseconds(10));
        hand.clickAt(at.x + 300, at.y + 200);
      }
    });
    BOOL result = TrackPopupMenuEx(menu, TPM_RETURNCMD, at.x, at.y, frame, nullptr);
    person.join();
    EXPECT_TRUE(acted);
    EXPECT_EQ(result, c.expected);
    auto loop = logged({WM_ENTERMENULOOP, WM_EXITMENULOOP});
    ASSERT_EQ(loop.size(), 2u);
    bool submenuInitialised = false;
    for (const test::Logged& l : logged({WM_INITMENUPOPUP})) submenuInitialised |= (HMENU)l.wParam == recent;
    EXPECT_EQ(submenuInitialised, c.expected == 202);
  }
  DestroyMenu(menu);
}

TEST_F(X11Input, MenuBarDropDownOpenedByAClickAndTracked) {
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, 301, "&New");
  AppendMenuA(file, MF_STRING, 302, "&Open");
  AppendMenuA(file, MF_STRING, 303, "E&xit");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, (UINT_PTR)file, "&File");
  AppendMenuA(bar, MF_STRING, 310, "&Help");
  ASSERT_TRUE(SetMenu(frame, bar));
  SetFocus(frame);
  settle();
  RECT fileItem{};
  ASSERT_TRUE(GetMenuItemRect(frame, bar, 0, &fileItem));
  constexpr UINT kNoClick = ~0u;
  struct Case {
    const char* what;
    UINT clicked;            // the drop-down's item clicked, or kNoClick
    std::vector<UINT> keys;  // pressed once the drop-down shows
    WPARAM expected;         // the command, 0 for none
  } cases[] = {
      {"an item clicked", 1, {}, 302},
      {"arrows and Return", kNoClick, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, 303},
      {"a mnemonic", kNoClick, {'N'}, 301},
      {"Escape", kNoClick, {VK_ESCAPE}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::log().clear();
    std::atomic<bool> acted{false}, done{false}, barItemHilited{false};
    std::thread person([&] {
      test::XClient hand(server.display().c_str());
      hand.clickAt((fileItem.left + fileItem.right) / 2, (fileItem.top + fileItem.bottom) / 2);
      RECT first = shownMenuItem(hand, file, 0);
      // The bar shows whose drop-down is open.
      barItemHilited = !IsRectEmpty(&first) && (GetMenuState(bar, 0, MF_BYPOSITION) & MF_HILITE);
      if (c.clicked != kNoClick) {
        acted = pointAtMenuItem(hand, file, c.clicked, true);
      } else {
        // The pointer stays on the bar: no item of the drop-down is hot until a key makes one.
        RECT shown = shownMenuItem(hand, file, 0);
        acted = !IsRectEmpty(&shown);
        for (UINT vk : c.keys) hand.press(vk);
      }
      done = true;
    });
    EXPECT_TRUE(test::pumpUntil([&] { return done && !logged({WM_EXITMENULOOP}).empty(); }))
        << test::describe(test::log());
    person.join();
    EXPECT_TRUE(acted) << "the drop-down was not shown on the server";
    EXPECT_TRUE(barItemHilited);
    EXPECT_FALSE(GetMenuState(bar, 0, MF_BYPOSITION) & MF_HILITE);
    test::pumpUntil([] { return false; }, 50);  // the posted command comes
    std::vector<WPARAM> commands;
    for (const test::Logged& l : logged({WM_COMMAND})) commands.push_back(l.wParam);
    EXPECT_EQ(commands, c.expected ? std::vector<WPARAM>{c.expected} : std::vector<WPARAM>{});
    bool dropDownInitialised = false;
    for (const test::Logged& l : logged({WM_INITMENUPOPUP})) dropDownInitialised |= (HMENU)l.wParam == file;
    EXPECT_TRUE(dropDownInitialised);
  }
  SetMenu(frame, nullptr);
  DestroyMenu(bar);
}

// A dialog template in memory: a caption and a Cancel button.
std::vector<WORD> modalTemplate(const char* title) {
  std::vector<WORD> t;
  auto dword = [&](DWORD v) {
    t.push_back(LOWORD(v));
    t.push_back(HIWORD(v));
  };
  auto text = [&](const char* s) {
    for (; *s; ++s) t.push_back((WORD)(unsigned char)*s);
    t.push_back(0);
  };
  dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE);
  dword(0);
  t.push_back(1);  // one item
  for (short v : {10, 10, 150, 60}) t.push_back((WORD)v);
  t.push_back(0);  // no menu
  t.push_back(0);  // the dialog class
  text(title);
  if (t.size() % 2) t.push_back(0);  // items start on a DWORD
  dword(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
  dword(0);
  for (short v : {90, 40, 50, 14}) t.push_back((WORD)v);
  t.push_back(IDCANCEL);
  t.push_back(0xFFFF);
  t.push_back(0x0080);  // Button
  text("Cancel");
  t.push_back(0);  // no creation data
  return t;
}

INT_PTR CALLBACK endOnCommand(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_COMMAND) return EndDialog(dialog, LOWORD(wParam));
  return msg == WM_INITDIALOG;
}

TEST_F(X11Input, CloseRequestEndsModalLoopAndSkipsItsDisabledOwner) {
  std::vector<WORD> tmpl = modalTemplate("Modal");
  std::atomic<bool> ownerDisabled{false};
  std::string transientFor;
  std::thread windowManager([&] {
    test::XClient wm(server.display().c_str());
    xcb_window_t dialog = 0;
    for (int i = 0; i < 500 && !(dialog = wm.byTitle("Modal")); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!dialog) return;
    ownerDisabled = !IsWindowEnabled(frame);
    transientFor = wm.property(dialog, XCB_ATOM_WM_TRANSIENT_FOR);
    wm.requestClose(frameId);  // the owner is disabled: not closed
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    wm.requestClose(dialog);
  });
  INT_PTR result = DialogBoxIndirectParamA(nullptr, (LPCDLGTEMPLATEA)tmpl.data(), frame, endOnCommand, 0);
  windowManager.join();
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_TRUE(ownerDisabled);
  ASSERT_EQ(transientFor.size(), 4u);
  EXPECT_EQ(*(const uint32_t*)transientFor.data(), frameId);
  EXPECT_TRUE(IsWindow(frame));
  EXPECT_TRUE(logged({WM_CLOSE}).empty());
  EXPECT_TRUE(IsWindowEnabled(frame));
}

}  // namespace
