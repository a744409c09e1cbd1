// What the list and combo tests share: a panel that records the WM_COMMAND
// notifications of its children (and can run a handler on WM_DELETEITEM),
// synthetic input pumped through the window system, and typed values.
#pragma once

#include <gtest/gtest.h>
#include <internal/snapshot.h>
#include <internal/testinput.h>

#include <functional>
#include <string>
#include <vector>

#include "listcontrol.h"
#include "ravlets.h"

namespace listtest {

namespace input = win32::input;

struct Notice {
  int id;
  int code;
  bool operator==(const Notice& other) const { return id == other.id && code == other.code; }
};

struct Panel {
  std::vector<Notice> notices;
  std::vector<UINT> deleted;                     // itemID of each WM_DELETEITEM
  std::function<void(const DELETEITEMSTRUCT*)> onDelete;
};
inline Panel& panelState() {
  static Panel p;
  return p;
}

inline LRESULT CALLBACK panelProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_COMMAND && lp != 0) {
    panelState().notices.push_back({LOWORD(wp), HIWORD(wp)});
    return 0;
  }
  if (m == WM_DELETEITEM) {
    const auto* item = reinterpret_cast<const DELETEITEMSTRUCT*>(lp);
    panelState().deleted.push_back(item->itemID);
    if (panelState().onDelete) panelState().onDelete(item);
    return 1;
  }
  return DefWindowProcA(w, m, wp, lp);
}

class ListTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(RavletsInit("KYWA721"));
    WNDCLASSA wc{};
    wc.lpfnWndProc = panelProc;
    wc.lpszClassName = "NwiListPanel";
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassA(&wc);
  }
  void SetUp() override {
    panelState() = {};
    panel = CreateWindowExA(0, "NwiListPanel", "Lists", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 480,
                            360, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(panel, nullptr);
    input::pumpMessages();
  }
  void TearDown() override {
    DestroyWindow(panel);
    input::pumpMessages();
    BYTE none[256] = {};
    SetKeyboardState(none);
  }
  // A list of the library's class with the type definition as its text.
  HWND makeList(const char* definition, DWORD style = 0, int id = 1, int x = 10, int y = 10, int w = 150,
                int h = 120) {
    HWND list = CreateWindowExA(0, "KYWA721List", definition, WS_CHILD | WS_VISIBLE | WS_BORDER | style, x, y, w, h,
                                panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(list, nullptr) << definition;
    return list;
  }
  static void addTexts(HWND list, const std::vector<const char*>& texts) {
    for (const char* t : texts) ASSERT_GE(HLAddItem(list, t), 0) << t;
  }
  static std::string dataText(HWND list, int index) {
    char buffer[256] = {};
    if (HLGetData(list, index, buffer, sizeof buffer) == 0) return "<none>";
    return buffer;
  }
  static std::vector<std::string> texts(HWND list) {
    std::vector<std::string> all;
    const int n = static_cast<int>(SendMessageA(list, KYM_LISTGETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      char buffer[256] = {};
      SendMessageA(list, KYM_LISTGETTEXT, i, reinterpret_cast<LPARAM>(buffer));
      all.push_back(buffer);
    }
    return all;
  }
  static int current(HWND list) { return static_cast<int>(SendMessageA(list, KYM_LISTGETCURRENT, 0, 0)); }
  void key(UINT vk, bool shift = false, bool ctrl = false) {
    input::chord(vk, shift, ctrl);
    input::pumpMessages();
  }
  // A click on item `index` of a list whose items are `itemHeight` high.
  void clickItem(HWND list, int index, int itemHeight, WPARAM modifiers = 0) {
    const bool shift = modifiers & MK_SHIFT, ctrl = modifiers & MK_CONTROL;
    if (shift) input::keyDown(VK_SHIFT);
    if (ctrl) input::keyDown(VK_CONTROL);
    input::click(list, 20, index * itemHeight + itemHeight / 2);
    if (ctrl) input::keyUp(VK_CONTROL);
    if (shift) input::keyUp(VK_SHIFT);
    input::pumpMessages();
  }
  std::vector<int> codesOf(int id) const {
    std::vector<int> codes;
    for (const Notice& n : panelState().notices)
      if (n.id == id) codes.push_back(n.code);
    return codes;
  }
  HWND panel = nullptr;
};

}  // namespace listtest
