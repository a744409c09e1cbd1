// Windows of this process that stand for panels: each records the
// WM_COPYDATA messages it receives and answers a chosen value.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace zuntext::test {

struct ReceivedEvent {
  ULONG_PTR tag = 0;
  DWORD size = 0;
  WPARAM wParam = 0;
  std::vector<BYTE> data;
};

class TestPanel {
 public:
  explicit TestPanel(LRESULT answer = 1) : answer_(answer) {
    static const ATOM registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = &TestPanel::procedure;
      wc.lpszClassName = "ZuntTestPanel";
      return RegisterClassA(&wc);
    }();
    (void)registered;
    window_ = CreateWindowExA(0, "ZuntTestPanel", "panel", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~TestPanel() { destroy(); }
  TestPanel(const TestPanel&) = delete;
  TestPanel& operator=(const TestPanel&) = delete;

  HWND window() const { return window_; }
  void destroy() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
  }
  const std::vector<ReceivedEvent>& received() const { return received_; }
  // Runs in the window's thread while a message is handled.
  std::function<void()> onEvent;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TestPanel*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message != WM_COPYDATA || !self) return DefWindowProcA(window, message, wParam, lParam);
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    const auto* bytes = static_cast<const BYTE*>(copy->lpData);
    self->received_.push_back(ReceivedEvent{copy->dwData, copy->cbData, wParam,
                                            std::vector<BYTE>(bytes, bytes + copy->cbData)});
    // Scribbling over the data must not reach the next receiver.
    std::fill(static_cast<BYTE*>(copy->lpData), static_cast<BYTE*>(copy->lpData) + copy->cbData, BYTE{0xEE});
    if (self->onEvent) self->onEvent();
    return self->answer_;
  }

  HWND window_ = nullptr;
  LRESULT answer_;
  std::vector<ReceivedEvent> received_;
};

// The event name a received payload carries at offset 4.
inline std::string eventName(const ReceivedEvent& event) {
  if (event.data.size() < 5) return {};
  return std::string(reinterpret_cast<const char*>(event.data.data() + 4), ::strnlen(reinterpret_cast<const char*>(event.data.data() + 4), event.data.size() - 4));
}

}  // namespace zuntext::test
