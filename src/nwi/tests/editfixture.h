// What the edit control tests share: a parent that records the edits'
// WM_COMMAND notifications (and vetoes the codes a test names), typing
// through the window system, and reading values back.
#pragma once

#include <gtest/gtest.h>
#include <internal/snapshot.h>
#include <internal/testinput.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "editcontrol.h"
#include "intlprofile.h"
#include "ravlets.h"

namespace edittest {

namespace input = win32::input;

// The spare edit that takes the focus away; its notifications are not recorded.
constexpr int kSpareId = 99;

struct Recorder {
  std::vector<int> codes;      // notification codes in order
  std::vector<DWORD> times;    // GetTickCount() of each
  std::set<int> vetoes;        // codes the parent vetoes
};
inline Recorder& recorder() {
  static Recorder r;
  return r;
}

inline LRESULT CALLBACK parentProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_COMMAND && lp != 0 && LOWORD(wp) != kSpareId) {
    const int code = HIWORD(wp);
    recorder().codes.push_back(code);
    recorder().times.push_back(GetTickCount());
    if (recorder().vetoes.count(code)) SendMessageA(reinterpret_cast<HWND>(lp), KYM_VETO, 0, 0);
    return 0;
  }
  if (m == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(w, &r);
    FillRect(reinterpret_cast<HDC>(wp), &r, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  return DefWindowProcA(w, m, wp, lp);
}

class EditTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(RavletsInit("KYWA721"));
    WNDCLASSA wc{};
    wc.lpfnWndProc = parentProc;
    wc.lpszClassName = "NwiEditPanel";
    RegisterClassA(&wc);
  }
  void SetUp() override {
    recorder() = {};
    panel = CreateWindowExA(0, "NwiEditPanel", "Edits", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 420, 320, nullptr,
                            nullptr, nullptr, nullptr);
    ASSERT_NE(panel, nullptr);
    other = CreateWindowExA(0, "KYWA721Edit", "", WS_CHILD | WS_VISIBLE, 10, 280, 100, 24, panel,
                            reinterpret_cast<HMENU>(kSpareId), nullptr, nullptr);
    input::pumpMessages();
  }
  void TearDown() override {
    // The clipboard owns what the edits copied until it is emptied.
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
    DestroyWindow(panel);
    input::pumpMessages();
    BYTE none[256] = {};
    SetKeyboardState(none);
    SetOverwriteMode(FALSE);
  }
  HWND make(const char* definition, DWORD style = WS_BORDER, int id = 1, int x = 10, int y = 10, int w = 200, int h = 24,
            const char* className = "KYWA721Edit") {
    HWND e = CreateWindowExA(0, className, definition, WS_CHILD | WS_VISIBLE | style, x, y, w, h, panel,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(e, nullptr) << definition;
    SendMessageA(e, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), 0);
    return e;
  }
  void focus(HWND e) {
    SetFocus(e);
    input::pumpMessages();
  }
  void type(const char* text) {
    input::typeText(text);
    input::pumpMessages();
  }
  void key(UINT vk, bool shift = false, bool ctrl = false) {
    input::chord(vk, shift, ctrl);
    input::pumpMessages();
  }
  // Focus leaves for the spare edit: the commit runs.
  void leave() { focus(other); }
  static std::string text(HWND e) {
    char buffer[256] = {};
    GetWindowTextA(e, buffer, sizeof buffer);
    return buffer;
  }
  static double number(HWND e) {
    double d = -999;
    SendMessageA(e, KYM_GETDATA, sizeof d, reinterpret_cast<LPARAM>(&d));
    return d;
  }
  std::vector<int>& codes() { return recorder().codes; }
  HWND panel = nullptr;
  HWND other = nullptr;
};

}  // namespace edittest
