// The server's keyboard focus moved by another client (what a window
// manager or a click on another program does) becomes the layer's
// activation and focus, in Windows' order, per top-level window.
#include "message_log.h"
#include "x11_client.h"

#include <internal/xserver.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

kytest::XServer server;  // made before the first window: the display is chosen then

class X11Focus : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.running()) << server.error();
    ASSERT_TRUE(x.connected());
    first = makeTopLevel("first", 20, firstEdit);
    second = makeTopLevel("second", 320, secondEdit);
    ASSERT_TRUE(test::pumpUntil([&] { return (firstId = shownId("first")) && (secondId = shownId("second")); }));
    SetFocus(firstEdit);
    ASSERT_TRUE(test::pumpUntil([&] { return focusOnServer() == firstId; }));
    test::flushMessages();
  }
  void TearDown() override {
    DestroyWindow(first);
    DestroyWindow(second);
    if (foreign) xcb_destroy_window(x.connection(), foreign);
    x.sync();
  }
  HWND makeTopLevel(const char* title, int left, HWND& edit) {
    HWND top = CreateWindowExA(0, test::recorderClass(), title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, left, 40, 260, 160,
                               nullptr, nullptr, nullptr, nullptr);
    edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 22, top, nullptr, nullptr,
                           nullptr);
    return top;
  }
  // The X window of a title once it is mapped, else 0.
  xcb_window_t shownId(const char* title) {
    xcb_window_t id = x.byTitle(title);
    RECT r;
    bool mapped = false;
    return id && x.geometry(id, r, mapped) && mapped ? id : 0;
  }
  xcb_window_t focusOnServer() {
    auto* r = xcb_get_input_focus_reply(x.connection(), xcb_get_input_focus(x.connection()), nullptr);
    xcb_window_t w = r ? r->focus : 0;
    free(r);
    return w;
  }
  // What a window manager does when the person picks another window.
  void moveServerFocus(xcb_window_t to) {
    xcb_set_input_focus(x.connection(), XCB_INPUT_FOCUS_POINTER_ROOT, to, XCB_CURRENT_TIME);
    x.sync();
  }
  // A mapped window of another program.
  xcb_window_t foreignWindow() {
    foreign = xcb_generate_id(x.connection());
    xcb_create_window(x.connection(), XCB_COPY_FROM_PARENT, foreign, x.root(), 700, 400, 100, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_map_window(x.connection(), foreign);
    x.sync();
    return foreign;
  }
  // The activation and focus messages of the log, in order.
  static std::vector<test::Logged> activation() {
    std::vector<test::Logged> out;
    for (const test::Logged& l : test::log())
      if (l.msg == WM_NCACTIVATE || l.msg == WM_ACTIVATE || l.msg == WM_ACTIVATEAPP || l.msg == WM_SETFOCUS ||
          l.msg == WM_KILLFOCUS)
        out.push_back(l);
    return out;
  }
  static void expectActivation(const std::vector<test::Expect>& expected, const char* what) {
    test::log() = activation();
    test::expectSequence(expected, what);
  }

  test::XClient x{server.display().c_str()};
  HWND first = nullptr, second = nullptr, firstEdit = nullptr, secondEdit = nullptr;
  xcb_window_t firstId = 0, secondId = 0, foreign = 0;
};

TEST_F(X11Focus, ServerFocusActivatesTheOtherWindowInWindowsOrder) {
  moveServerFocus(secondId);
  ASSERT_TRUE(test::pumpUntil([&] { return GetActiveWindow() == second; })) << test::describe(test::log());
  test::pumpUntil([] { return false; }, 50);  // nothing more comes
  using test::kLParam;
  using test::kWParam;
  expectActivation(
      {
          {WM_NCACTIVATE, kWParam, FALSE, 0, first},
          {WM_ACTIVATE, kWParam | kLParam, WA_INACTIVE, (LPARAM)second, first},
          {WM_NCACTIVATE, kWParam, TRUE, 0, second},
          {WM_ACTIVATE, kWParam | kLParam, WA_ACTIVE, (LPARAM)first, second},
          {WM_SETFOCUS, kWParam, (WPARAM)firstEdit, 0, second},
      },
      "focus to the second window");
  EXPECT_EQ(GetFocus(), second);
  EXPECT_EQ(GetForegroundWindow(), second);
  EXPECT_EQ(focusOnServer(), secondId);
  // Keys follow the focus.
  x.press('K');
  ASSERT_TRUE(test::pumpUntil([&] {
    return std::any_of(test::log().begin(), test::log().end(),
                       [&](const test::Logged& l) { return l.msg == WM_CHAR && l.hwnd == second && l.wParam == 'k'; });
  })) << test::describe(test::log());
}

TEST_F(X11Focus, EachWindowGetsBackTheFocusItHad) {
  moveServerFocus(secondId);
  ASSERT_TRUE(test::pumpUntil([&] { return GetActiveWindow() == second; }));
  SetFocus(secondEdit);
  struct Step {
    const char* what;
    xcb_window_t to;
    HWND active, focus;
  } steps[] = {
      {"back to the first", firstId, first, firstEdit},
      {"back to the second", secondId, second, secondEdit},
      {"the first again", firstId, first, firstEdit},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    moveServerFocus(s.to);
    EXPECT_TRUE(test::pumpUntil([&] { return GetActiveWindow() == s.active && GetFocus() == s.focus; }))
        << "active " << GetActiveWindow() << " focus " << GetFocus();
  }
  // Typed text reaches the restored focus.
  x.press('Z');
  char text[16] = {};
  EXPECT_TRUE(test::pumpUntil([&] { return GetWindowTextA(firstEdit, text, sizeof text) == 1; }));
  EXPECT_STREQ(text, "z");
}

TEST_F(X11Focus, AnotherProgramTakingTheFocusDeactivatesUntilItComesBack) {
  moveServerFocus(foreignWindow());
  ASSERT_TRUE(test::pumpUntil([&] { return GetActiveWindow() == nullptr; })) << test::describe(test::log());
  test::pumpUntil([] { return false; }, 50);
  using test::kLParam;
  using test::kWParam;
  // The application as a whole is left: every top-level window hears it.
  expectActivation(
      {
          {WM_NCACTIVATE, kWParam, FALSE, 0, first},
          {WM_ACTIVATE, kWParam | kLParam, WA_INACTIVE, 0, first},
          {WM_ACTIVATEAPP, kWParam, FALSE},
          {WM_ACTIVATEAPP, kWParam, FALSE},
      },
      "focus to another program");
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetForegroundWindow(), nullptr);

  moveServerFocus(firstId);
  ASSERT_TRUE(test::pumpUntil([&] { return GetActiveWindow() == first && GetFocus() == firstEdit; }))
      << "focus " << GetFocus();
  size_t appActivations = 0;
  for (const test::Logged& l : activation()) appActivations += l.msg == WM_ACTIVATEAPP && l.wParam == TRUE;
  EXPECT_EQ(appActivations, 2u);
  EXPECT_EQ(focusOnServer(), firstId);
}

}  // namespace
