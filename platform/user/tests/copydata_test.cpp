// Messages to a window of another process: WM_COPYDATA copies its data,
// answers come back, dead or hung receivers fail within a bounded time.
#include <windows.h>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Starts the peer program in `mode` and reads the handle of its window.
struct Peer {
  pid_t pid = -1;
  HWND hwnd = nullptr;

  explicit Peer(const char* mode) {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid = fork();
    if (pid == 0) {
      dup2(fds[1], 1);
      close(fds[0]);
      std::string program = std::string(KY_BIN_DIR) + "/user32_copydata_peer";
      execl(program.c_str(), program.c_str(), mode, (char*)nullptr);
      _exit(127);
    }
    close(fds[1]);
    FILE* in = fdopen(fds[0], "r");
    unsigned long value = 0;
    if (in && fscanf(in, "%lx", &value) == 1) hwnd = (HWND)(uintptr_t)value;
    if (in) fclose(in);
  }
  int wait() {
    int status = 0;
    if (pid > 0) waitpid(pid, &status, 0);
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  ~Peer() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
};

LRESULT sendData(HWND to, ULONG_PTR tag, const std::string& data, UINT timeout = 5000, BOOL* ok = nullptr) {
  COPYDATASTRUCT cds{tag, (DWORD)data.size(), (PVOID)data.data()};
  DWORD_PTR result = 0;
  BOOL sent = SendMessageTimeoutA(to, WM_COPYDATA, (WPARAM)GetDesktopWindow(), (LPARAM)&cds, SMTO_NORMAL, timeout, &result);
  if (ok) *ok = sent;
  return (LRESULT)result;
}

TEST(CopyData, DataTravelsToTheOtherProcessAndTheAnswerComesBack) {
  Peer peer("serve");
  ASSERT_TRUE(peer.hwnd);
  EXPECT_TRUE(IsWindow(peer.hwnd));
  DWORD pid = 0;
  EXPECT_NE(GetWindowThreadProcessId(peer.hwnd, &pid), 0u);
  EXPECT_EQ(pid, (DWORD)peer.pid);

  // The answer is cbData + the byte sum + dwData << 24, computed over there.
  struct Case {
    ULONG_PTR tag;
    std::string data;
  } cases[] = {{0x0041455A, std::string("ZEA\0Event", 9)}, {1, ""}, {2, std::string(100000, '\x01')}};
  for (auto& c : cases) {
    LRESULT expected = (LRESULT)c.data.size() + (LRESULT)(c.tag << 24);
    for (unsigned char ch : c.data) expected += ch;
    COPYDATASTRUCT cds{c.tag, (DWORD)c.data.size(), (PVOID)c.data.data()};
    EXPECT_EQ(SendMessageA(peer.hwnd, WM_COPYDATA, 0, (LPARAM)&cds), expected) << c.data.size();
    BOOL ok = FALSE;
    EXPECT_EQ(sendData(peer.hwnd, c.tag, c.data, 5000, &ok), expected);
    EXPECT_TRUE(ok);
  }
  // Plain values travel as they are; WM_COPYDATA cannot be posted.
  EXPECT_EQ(SendMessageA(peer.hwnd, WM_USER + 7, 20, 2), 42);
  EXPECT_TRUE(PostMessageA(peer.hwnd, WM_USER + 7, 0, 0));
  EXPECT_FALSE(PostMessageA(peer.hwnd, WM_COPYDATA, 0, 0));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_MESSAGE_SYNC_ONLY);

  sendData(peer.hwnd, 0, "quit");
  EXPECT_EQ(peer.wait(), 0);
  EXPECT_FALSE(IsWindow(peer.hwnd));
  DWORD start = GetTickCount();
  EXPECT_EQ(SendMessageA(peer.hwnd, WM_USER + 7, 1, 1), 0);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST(CopyData, AWindowOfADeadProcessIsNoWindow) {
  Peer peer("exit");
  ASSERT_TRUE(peer.hwnd);
  peer.wait();
  EXPECT_FALSE(IsWindow(peer.hwnd));
  BOOL ok = TRUE;
  DWORD start = GetTickCount();
  sendData(peer.hwnd, 1, "abc", INFINITE, &ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_LT(GetTickCount() - start, 1000u);
  EXPECT_EQ(GetWindowThreadProcessId(peer.hwnd, nullptr), 0u);
}

// A process killed with its window open cannot free the window's handle:
// the next process finds the handle dead, not owned by a process that took
// the killed one's pid.
TEST(CopyData, AWindowOfAKilledProcessIsNoWindow) {
  Peer peer("serve");
  ASSERT_TRUE(peer.hwnd);
  ASSERT_TRUE(IsWindow(peer.hwnd));
  kill(peer.pid, SIGKILL);
  peer.wait();
  EXPECT_FALSE(IsWindow(peer.hwnd));
  EXPECT_EQ(GetWindowThreadProcessId(peer.hwnd, nullptr), 0u);
  // A window made now gets a handle of its own, never the dead one's value.
  HWND mine = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(mine, nullptr);
  EXPECT_NE(mine, peer.hwnd);
  DestroyWindow(mine);
}

TEST(CopyData, AHungReceiverTimesOut) {
  Peer peer("hang");
  ASSERT_TRUE(peer.hwnd);
  BOOL ok = TRUE;
  DWORD start = GetTickCount();
  sendData(peer.hwnd, 1, "abc", 200, &ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_TIMEOUT);
  DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 150u);
  EXPECT_LT(elapsed, 2000u);
  // Killed while a sender waits without a time limit: the send fails at once.
  kill(peer.pid, SIGKILL);
  sendData(peer.hwnd, 1, "abc", INFINITE, &ok);
  EXPECT_FALSE(ok);
}

}  // namespace
