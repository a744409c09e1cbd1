// Characters from the server's keyboard layout: a layout with dead keys
// and AltGr (US international) set on the test's own Xvfb before the
// program connects; WM_DEADCHAR then the composed character, in the ANSI
// code page. Layouts set while the program runs are followed at once.
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
  // The character messages the log holds.
  static std::vector<std::pair<UINT, WPARAM>> characters() {
    std::vector<std::pair<UINT, WPARAM>> got;
    for (const test::Logged& l : test::log())
      if (l.msg == WM_CHAR || l.msg == WM_DEADCHAR || l.msg == WM_SYSCHAR) got.emplace_back(l.msg, l.wParam);
    return got;
  }
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

bool setLayout(const char* layout, const char* variant) {
  std::string command = "setxkbmap -display " + server.display() + " -layout " + layout;
  if (*variant) command += std::string(" -variant ") + variant;
  return system((command + " 2>/dev/null").c_str()) == 0;
}

TEST_F(X11Layout, LayoutChangedWhileRunningIsFollowed) {
  struct Case {
    const char* layout;
    UINT usKey;  // the key pressed, named by what it is on a US keyboard
    BYTE vk;     // what it is now
    std::vector<std::pair<UINT, WPARAM>> expected;
    UINT secondUsKey = 0;  // a key pressed after it, for a dead key
  } cases[] = {
      {"de", 'Y', 'Z', {{WM_CHAR, 'z'}}},
      {"fr", 'Q', 'A', {{WM_CHAR, 'a'}}},
      {"de", VK_OEM_3, VK_OEM_3, {{WM_DEADCHAR, '^'}, {WM_CHAR, 0xEA}}, 'E'},
      {"us", 'Y', 'Y', {{WM_CHAR, 'y'}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.layout) + " key " + std::to_string(c.usKey));
    ASSERT_TRUE(setLayout(c.layout, ""));
    test::log().clear();
    x.press(c.usKey);
    if (c.secondUsKey) x.press(c.secondUsKey);
    EXPECT_TRUE(test::pumpUntil([&] { return characters().size() >= c.expected.size(); }));
    test::pumpUntil([] { return false; }, 50);  // nothing more comes
    EXPECT_EQ(characters(), c.expected);
    BYTE down = 0;
    for (const test::Logged& l : test::log())
      if (l.msg == WM_KEYDOWN && !down) down = (BYTE)l.wParam;
    EXPECT_EQ(down, c.vk);
  }
  // The layout the other test expects, whichever runs first.
  ASSERT_TRUE(setLayout("us", "intl"));
}

}  // namespace
