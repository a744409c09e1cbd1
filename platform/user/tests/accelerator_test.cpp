// Accelerator tables: loading, copying, and TranslateAcceleratorA with the
// WM_INITMENU / WM_INITMENUPOPUP messages of the items of the window's menu.
#include "data/menudialog.h"
#include "message_log.h"

#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace input = win32::input;

namespace {

struct Heard {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Heard& o) const { return msg == o.msg && wParam == o.wParam && lParam == o.lParam; }
};

std::ostream& operator<<(std::ostream& out, const Heard& h) {
  return out << test::name(h.msg) << "(" << std::hex << h.wParam << ", " << h.lParam << std::dec << ")";
}

class Accelerators : public ::testing::Test {
 protected:
  void SetUp() override {
    test::answer() = [](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
      r = 0;
      return msg == WM_SYSCOMMAND;  // the system commands are only heard here, not carried out
    };
    bar = LoadMenuA(nullptr, MAKEINTRESOURCEA(IDM_MAIN));
    window = CreateWindowExA(0, test::recorderClass(), "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200,
                             nullptr, bar, nullptr, nullptr);
    table = LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(IDA_MAIN));
    SetFocus(window);
    input::pumpMessages();
    test::log().clear();
  }
  void TearDown() override {
    test::answer() = nullptr;
    DestroyAcceleratorTable(table);
    DestroyWindow(window);
    DestroyMenu(bar);
    input::pumpMessages();
    test::log().clear();
    BYTE none[256] = {};
    SetKeyboardState(none);
  }
  // A message loop with the accelerators first: answers how many messages they took.
  int pump() {
    int translated = 0;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (TranslateAcceleratorA(window, table, &m)) {
        ++translated;
        continue;
      }
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    return translated;
  }
  std::vector<Heard> heard() {
    std::vector<Heard> out;
    for (const test::Logged& l : test::log())
      if (l.msg == WM_COMMAND || l.msg == WM_SYSCOMMAND || l.msg == WM_INITMENU || l.msg == WM_INITMENUPOPUP)
        out.push_back(Heard{l.msg, l.wParam, l.lParam});
    test::log().clear();
    return out;
  }
  HMENU bar = nullptr;
  HWND window = nullptr;
  HACCEL table = nullptr;
};

TEST_F(Accelerators, LoadsTheResourceTable) {
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(CopyAcceleratorTableA(table, nullptr, 0), 7);
  ACCEL entries[7];
  ASSERT_EQ(CopyAcceleratorTableA(table, entries, 7), 7);
  EXPECT_EQ(entries[0].fVirt, FVIRTKEY | FCONTROL);
  EXPECT_EQ(entries[0].key, 'O');
  EXPECT_EQ(entries[0].cmd, IDM_OPEN);
  EXPECT_EQ(entries[3].fVirt, FVIRTKEY | FSHIFT);
  EXPECT_EQ(entries[3].key, VK_F5);
  EXPECT_EQ(entries[4].fVirt, 0);  // a character
  EXPECT_EQ(entries[4].key, 'a');
  EXPECT_EQ(entries[5].fVirt, FALT);
  EXPECT_EQ(entries[6].cmd, SC_CLOSE);
  ACCEL two[2];
  EXPECT_EQ(CopyAcceleratorTableA(table, two, 2), 2);
  EXPECT_EQ(LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(999)), nullptr);
}

TEST_F(Accelerators, TranslatesKeysIntoCommands) {
  HMENU file = GetSubMenu(bar, 0);
  struct Case {
    const char* what;
    UINT key;
    bool shift, ctrl, alt;
    std::vector<Heard> expected;
  } cases[] = {
      {"Ctrl+O: an item of the menu",
       'O', false, true, false,
       {{WM_INITMENU, (WPARAM)bar, 0},
        {WM_INITMENUPOPUP, (WPARAM)file, MAKELPARAM(0, FALSE)},
        {WM_COMMAND, MAKEWPARAM(IDM_OPEN, 1), 0}}},
      {"Ctrl+S: a greyed item is initialised but not sent",
       'S', false, true, false,
       {{WM_INITMENU, (WPARAM)bar, 0}, {WM_INITMENUPOPUP, (WPARAM)file, MAKELPARAM(0, FALSE)}}},
      {"Shift+F5: a command without a menu item", VK_F5, true, false, false, {{WM_COMMAND, MAKEWPARAM(IDM_RELOAD, 1), 0}}},
      {"a: a character", 'A', false, false, false, {{WM_COMMAND, MAKEWPARAM(IDM_LETTER_A, 1), 0}}},
      {"Alt+x: a character with Alt", 'X', false, false, true, {{WM_COMMAND, MAKEWPARAM(IDM_ALT_X, 1), 0}}},
      {"Alt+F4: an item of the system menu",
       VK_F4, false, false, true,
       {{WM_INITMENU, (WPARAM)GetSystemMenu(window, FALSE), 0}, {WM_SYSCOMMAND, SC_CLOSE, 0x00010000}}},
      {"Ctrl+Shift+O: the modifiers must match", 'O', true, true, false, {}},
      {"Shift+a: 'A' is not 'a'", 'A', true, false, false, {}},
      {"x without Alt", 'X', false, false, false, {}},
  };
  for (const Case& c : cases) {
    input::chord(c.key, c.shift, c.ctrl, c.alt);
    int translated = pump();
    EXPECT_EQ(heard(), c.expected) << c.what;
    EXPECT_EQ(translated, c.expected.empty() ? 0 : 1) << c.what;
  }
}

TEST_F(Accelerators, ADisabledOrMinimizedWindowGetsNoMenuCommands) {
  // A disabled window: the key of a menu item is used up, nothing is sent.
  EnableWindow(window, FALSE);
  MSG m{window, WM_KEYDOWN, 'O', 0, 0, {0, 0}};
  BYTE keys[256] = {};
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  EXPECT_EQ(TranslateAcceleratorA(window, table, &m), 1);
  EXPECT_TRUE(heard().empty());
  EnableWindow(window, TRUE);
  test::log().clear();
  // A minimized window: an item of its menu sends nothing, another command is sent.
  ShowWindow(window, SW_MINIMIZE);
  input::pumpMessages();
  test::log().clear();
  SetKeyboardState(keys);
  EXPECT_EQ(TranslateAcceleratorA(window, table, &m), 1);
  EXPECT_TRUE(heard().empty());
  keys[VK_CONTROL] = 0;
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  m.wParam = VK_F5;
  EXPECT_EQ(TranslateAcceleratorA(window, table, &m), 1);
  std::vector<Heard> expected = {{WM_COMMAND, MAKEWPARAM(IDM_RELOAD, 1), 0}};
  EXPECT_EQ(heard(), expected);
}

TEST_F(Accelerators, TablesByCodeAndBadHandles) {
  ACCEL entries[] = {{FVIRTKEY | FCONTROL | 0x80, 'Z', 7}, {FVIRTKEY, VK_DELETE, 8}};
  HACCEL made = CreateAcceleratorTableA(entries, 2);
  ASSERT_NE(made, nullptr);
  ACCEL copy[2];
  ASSERT_EQ(CopyAcceleratorTableA(made, copy, 2), 2);
  EXPECT_EQ(copy[0].fVirt, FVIRTKEY | FCONTROL);  // only the flags of the record are kept
  EXPECT_EQ(copy[1].cmd, 8);
  EXPECT_TRUE(DestroyAcceleratorTable(made));
  EXPECT_FALSE(DestroyAcceleratorTable(made));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_ACCEL_HANDLE);
  EXPECT_EQ(CopyAcceleratorTableA(made, nullptr, 0), 0);
  EXPECT_EQ(CreateAcceleratorTableA(entries, 0), nullptr);
  EXPECT_EQ(CreateAcceleratorTableA(nullptr, 2), nullptr);
  MSG m{window, WM_KEYDOWN, 'Z', 0, 0, {0, 0}};
  EXPECT_EQ(TranslateAcceleratorA(window, made, &m), 0);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_ACCEL_HANDLE);
  EXPECT_EQ(TranslateAcceleratorA(window, table, nullptr), 0);
  m.message = WM_KEYUP;  // only key presses and characters are translated
  m.wParam = VK_F5;
  EXPECT_EQ(TranslateAcceleratorA(window, table, &m), 0);
}

}  // namespace
