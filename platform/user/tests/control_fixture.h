// What the tests of the standard controls share: a recording parent frame,
// the WM_COMMAND notifications it got, and where snapshots go.
#pragma once

#include "message_log.h"

#include <internal/snapshot.h>
#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace test {

// (control id, notification code) of each WM_COMMAND the parent got, in order.
using Notification = std::pair<int, int>;

inline std::vector<Notification> notifications(UINT message = WM_COMMAND) {
  std::vector<Notification> got;
  for (const Logged& l : log())
    if (l.msg == message) got.emplace_back(LOWORD(l.wParam), HIWORD(l.wParam));
  return got;
}

// Snapshots go beside the test programs' libraries, in the build tree.
inline std::string snapshotPath(const char* name) { return std::string(KY_BIN_DIR) + "/../" + name; }

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    answer() = nullptr;
    frame = CreateWindowExA(0, recorderClass(), "controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300,
                            nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    win32::input::pumpMessages();
    log().clear();
  }
  void TearDown() override {
    answer() = nullptr;
    DestroyWindow(frame);
    win32::input::pumpMessages();
    log().clear();
    BYTE none[256] = {};
    SetKeyboardState(none);
  }
  HWND child(const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, frame, (HMENU)(INT_PTR)id,
                           nullptr, nullptr);
  }
  // Pumps the queue and forgets what the parent got until now.
  void settle() {
    win32::input::pumpMessages();
    log().clear();
  }
  HWND frame = nullptr;
};

}  // namespace test
