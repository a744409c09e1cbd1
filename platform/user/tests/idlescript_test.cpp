// The idle script: with KY_INPUT_SCRIPT set, a thread's message loop takes
// one action each time its queue is empty while one of its windows shows: a
// snapshot of the window, key presses, a close request; unknown actions are
// told and skipped.
#include <gtest/gtest.h>
#include <internal/scratchdir.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_seen;

LRESULT CALLBACK recordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN: g_seen.push_back("key " + std::to_string(wParam)); return 0;
    case WM_CLOSE:
      g_seen.push_back("close");
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

TEST(IdleScript, ActsWhenTheLoopIsIdle) {
  kytest::ScratchDir dir;
  const std::string png = (dir.path() / "shot.png").string();
  unsetenv("KY_MESSAGEBOX_QUIET");  // the script tells what it did on stderr
  // Read once, on the loop's first idle turn.
  setenv("KY_INPUT_SCRIPT", ("snapshot:" + png + ";key:F4;nonsense;key:Nokey;key:escape;close").c_str(), 1);
  WNDCLASSA wc{};
  wc.lpfnWndProc = recordingProc;
  wc.lpszClassName = "IdleScriptTest";
  ASSERT_TRUE(RegisterClassA(&wc));
  HWND hwnd = CreateWindowExA(0, "IdleScriptTest", "Scripted", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 120,
                              nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  ::testing::internal::CaptureStderr();
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  const std::string told = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(std::filesystem::exists(png));
  EXPECT_NE(told.find("snapshot: " + png), std::string::npos) << told;
  EXPECT_NE(told.find("unknown action nonsense"), std::string::npos) << told;
  EXPECT_NE(told.find("no key named Nokey"), std::string::npos) << told;
  EXPECT_EQ(g_seen, (std::vector<std::string>{"key " + std::to_string(VK_F4), "key " + std::to_string(VK_ESCAPE),
                                              "close"}));
  unsetenv("KY_INPUT_SCRIPT");
}

}  // namespace
