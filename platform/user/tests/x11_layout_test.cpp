// Characters from the server's keyboard layout: a layout with dead keys
// and AltGr (US international) set on the test's own Xvfb before the
// program connects; WM_DEADCHAR then the composed character, in the ANSI
// code page.
#include "message_log.h"
#include "x11_client.h"

#include <internal/xserver.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

kytest::XServer server;
// The layout is the server's before the program's first window reads it.
const bool international =
    server.running() &&
    system(("setxkbmap -display " + server.display() + " -layout us -variant intl 2>/dev/null").c_str()) == 0;

class X11Layout : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.running()) << server.error();
    ASSERT_TRUE(international) << "setxkbmap (x11-xkb-utils) could not set the layout";
    frame = CreateWindowExA(0, test::recorderClass(), "layout", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 200, 100,
                            nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(test::pumpUntil([&] { return x.byTitle("layout") != 0; }));
    SetFocus(frame);
    test::flushMessages();
  }
  void TearDown() override { DestroyWindow(frame); }
  HWND frame = nullptr;
  test::XClient x{server.display().c_str()};
};

TEST_F(X11Layout, DeadKeysAndAltGrMakeAnsiCharacters) {
  struct Key {
    UINT vk;
    bool shift = false;
    bool altGr = false;
  };
  struct Case {
    const char* what;
    std::vector<Key> keys;
    std::vector<std::pair<UINT, WPARAM>> expected;  // character messages
  } cases[] = {
      {"acute then e", {{VK_OEM_7}, {'E'}}, {{WM_DEADCHAR, 0xB4}, {WM_CHAR, 0xE9}}},
      {"diaeresis then u", {{VK_OEM_7, true}, {'U'}}, {{WM_DEADCHAR, 0xA8}, {WM_CHAR, 0xFC}}},
      {"acute then space", {{VK_OEM_7}, {VK_SPACE}}, {{WM_DEADCHAR, 0xB4}, {WM_CHAR, '\''}}},
      {"plain letter", {{'E'}}, {{WM_CHAR, 'e'}}},
      {"AltGr q", {{'Q', false, true}}, {{WM_CHAR, 0xE4}}},
      {"AltGr 5 (euro sign)", {{'5', false, true}}, {{WM_CHAR, 0x80}}},
  };
  const uint8_t shift = test::XClient::keycodeOf(VK_SHIFT);
  const uint8_t altGr = 108;  // the right Alt key: AltGr in this layout
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::log().clear();
    for (const Key& k : c.keys) {
      if (k.shift) x.key(shift, true);
      if (k.altGr) x.key(altGr, true);
      x.press(k.vk);
      if (k.altGr) x.key(altGr, false);
      if (k.shift) x.key(shift, false);
    }
    std::vector<std::pair<UINT, WPARAM>> got;
    auto collect = [&] {
      got.clear();
      for (const test::Logged& l : test::log())
        if (l.msg == WM_CHAR || l.msg == WM_DEADCHAR || l.msg == WM_SYSCHAR) got.emplace_back(l.msg, l.wParam);
      return got.size() >= c.expected.size();
    };
    EXPECT_TRUE(test::pumpUntil(collect));
    test::pumpUntil([] { return false; }, 50);  // nothing more comes
    collect();
    EXPECT_EQ(got, c.expected);
  }
}

}  // namespace
