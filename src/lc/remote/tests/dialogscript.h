// Plays steps on the modal dialogs of the thread, from the thread's timer
// while a modal loop runs: each step waits for a visible dialog of its
// caption, then acts on it.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kytest {

class DialogScript {
 public:
  using Act = std::function<void(HWND)>;
  DialogScript() { timer_ = SetTimer(nullptr, 0, 10, &DialogScript::tick); }
  ~DialogScript() {
    KillTimer(nullptr, timer_);
    steps().clear();
  }
  void then(const char* caption, Act act) { steps().push_back({caption, std::move(act)}); }
  size_t pending() const { return steps().size(); }

  static Act press(int button) {
    return [button](HWND h) { PostMessageA(h, WM_COMMAND, button, 0); };
  }
  static Act fill(std::vector<std::pair<int, const char*>> texts, std::vector<int> checks, int button) {
    return [=](HWND h) {
      for (auto [id, text] : texts) SetDlgItemTextA(h, id, text);
      for (int id : checks) CheckDlgButton(h, id, BST_CHECKED);
      PostMessageA(h, WM_COMMAND, button, 0);
    };
  }

 private:
  struct Step {
    std::string caption;
    Act act;
  };
  static std::deque<Step>& steps() {
    static std::deque<Step> queue;
    return queue;
  }
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    if (steps().empty()) return;
    HWND h = FindWindowA("#32770", steps().front().caption.c_str());
    if (!h || !IsWindowVisible(h)) return;
    Act act = std::move(steps().front().act);
    steps().pop_front();
    act(h);
  }
  UINT_PTR timer_ = 0;
};

}  // namespace kytest
