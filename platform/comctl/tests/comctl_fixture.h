// What the common control tests share: a recording parent frame (the
// standard controls' message recorder), the WM_NOTIFY records it got -
// copied when sent, as the sender's record is gone afterwards - and where
// snapshots go.
#pragma once

#include "../../user/tests/message_log.h"

#include <commctrl.h>
#include <internal/snapshot.h>
#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace test {

struct Notified {
  UINT_PTR id;
  UINT code;
  bool operator==(const Notified&) const = default;
};

inline std::vector<Notified>& notified() {
  static std::vector<Notified> got;
  return got;
}

// Answers a WM_NOTIFY the parent got (after it was recorded); 0 when unset.
inline std::function<LRESULT(NMHDR*)>& notifyAnswer() {
  static std::function<LRESULT(NMHDR*)> f;
  return f;
}

// WM_COMMAND (id, code) pairs and WM_NOTIFY codes in the order the parent got them.
struct Event {
  UINT msg;
  int a;  // command id or notified id
  int b;  // notification code
  bool operator==(const Event&) const = default;
};
inline std::vector<Event>& events() {
  static std::vector<Event> got;
  return got;
}

inline std::string snapshotPath(const char* name) { return std::string(KY_BIN_DIR) + "/../" + name; }

class CommonControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    notified().clear();
    events().clear();
    notifyAnswer() = nullptr;
    answer() = [](HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
      if (msg == WM_COMMAND) events().push_back(Event{msg, LOWORD(wParam), HIWORD(wParam)});
      if (msg != WM_NOTIFY) return false;
      auto* hdr = reinterpret_cast<NMHDR*>(lParam);
      notified().push_back(Notified{hdr->idFrom, hdr->code});
      events().push_back(Event{msg, (int)hdr->idFrom, (int)hdr->code});
      result = notifyAnswer() ? notifyAnswer()(hdr) : 0;
      return true;
    };
    frame = CreateWindowExA(0, recorderClass(), "common controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400,
                            300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    settle();
  }
  void TearDown() override {
    DestroyWindow(frame);
    win32::input::pumpMessages();
    answer() = nullptr;
    notifyAnswer() = nullptr;
    log().clear();
    BYTE none[256] = {};
    SetKeyboardState(none);
  }
  HWND child(const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, frame, (HMENU)(INT_PTR)id,
                           nullptr, nullptr);
  }
  void settle() {
    win32::input::pumpMessages();
    log().clear();
    notified().clear();
    events().clear();
  }
  // Lets `ms` milliseconds pass with the queue pumped, so due timers run.
  static void wait(int ms) {
    for (int waited = 0; waited < ms; waited += 5) {
      Sleep(5);
      win32::input::pumpMessages();
    }
  }
  HWND frame = nullptr;
};

}  // namespace test
