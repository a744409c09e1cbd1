// The idle script of runs without a display (see internal/idlescript.h).
#include <internal/idlescript.h>
#include <internal/snapshot.h>
#include <internal/testinput.h>
#include <internal/userscript.h>
#include <windows.h>

#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>

namespace win32::script {

namespace {

std::mutex g_lock;
std::deque<std::string> g_actions;
bool g_loaded = false;

void load() {
  if (g_loaded) return;
  g_loaded = true;
  const char* script = std::getenv("KY_INPUT_SCRIPT");
  std::string text = script ? script : "";
  size_t start = 0;
  while (start <= text.size() && !text.empty()) {
    size_t end = text.find(';', start);
    std::string action = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!action.empty()) g_actions.push_back(action);
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

struct KeyName {
  const char* name;
  UINT vk;
};
constexpr KeyName kKeys[] = {{"Escape", VK_ESCAPE}, {"Return", VK_RETURN}, {"Tab", VK_TAB}, {"Space", VK_SPACE},
                             {"F1", VK_F1},         {"F2", VK_F2},         {"F3", VK_F3},   {"F4", VK_F4},
                             {"F5", VK_F5},         {"F6", VK_F6},         {"F7", VK_F7},   {"F8", VK_F8},
                             {"F9", VK_F9},         {"F10", VK_F10},       {"F11", VK_F11}, {"F12", VK_F12}};

BOOL CALLBACK firstVisible(HWND hwnd, LPARAM found) {
  if (!IsWindowVisible(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

// The thread's window the script acts on: the active one, else the first
// visible top-level one.
HWND target() {
  HWND active = GetActiveWindow();
  if (active && IsWindowVisible(active)) return active;
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), firstVisible, reinterpret_cast<LPARAM>(&found));
  return found;
}

void run(const std::string& action, HWND window) {
  if (action.rfind("snapshot:", 0) == 0) {
    const std::string path = action.substr(9);
    if (win32::snapshot::saveWindowPng(window, path.c_str()))
      announce("snapshot: " + path);
    else
      announce("snapshot: " + path + " could not be written");
    return;
  }
  if (action.rfind("key:", 0) == 0) {
    const std::string name = action.substr(4);
    for (const KeyName& key : kKeys)
      if (lstrcmpiA(key.name, name.c_str()) == 0) {
        SetForegroundWindow(window);
        win32::input::keyPress(key.vk);
        return;
      }
    announce("input script: no key named " + name);
    return;
  }
  if (action == "close") {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return;
  }
  announce("input script: unknown action " + action);
}

}  // namespace

bool runIdleStep() {
  std::string action;
  {
    std::lock_guard<std::mutex> lock(g_lock);
    load();
    if (g_actions.empty()) return false;
  }
  HWND window = target();
  if (!window) return false;
  {
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_actions.empty()) return false;
    action = g_actions.front();
    g_actions.pop_front();
  }
  run(action, window);
  return true;
}

}  // namespace win32::script
