// Between threads: SendMessageCallbackA's answers, and AttachThreadInput
// sharing the focus, active window and key state.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {

// What the other thread's window answers; runs on that thread.
std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>& remoteAnswer() {
  static std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> f;
  return f;
}

LRESULT CALLBACK remoteProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= WM_USER && remoteAnswer()) return remoteAnswer()(hwnd, msg, wParam, lParam);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

const char* remoteClass() {
  static bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = remoteProc;
    wc.lpszClassName = "KyThreadInputWindow";
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return "KyThreadInputWindow";
}

// A thread with a visible top-level window that runs its message loop until destroyed.
class RemoteThread {
 public:
  RemoteThread() {
    thread_ = std::thread([this] {
      HWND w = CreateWindowExA(0, remoteClass(), "remote", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr,
                               nullptr, nullptr);
      threadId_ = GetCurrentThreadId();
      window_ = w;
      MSG m;
      while (!stop_) {
        if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        else MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      }
      DestroyWindow(w);
    });
    while (!window_) Sleep(1);
  }
  ~RemoteThread() {
    stop_ = true;
    thread_.join();
    remoteAnswer() = nullptr;
  }
  HWND window() const { return window_; }
  DWORD threadId() const { return threadId_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<HWND> window_{nullptr};
  std::atomic<DWORD> threadId_{0};
  std::thread thread_;
};

struct CallbackSeen {
  int calls = 0;
  HWND hwnd = nullptr;
  UINT msg = 0;
  ULONG_PTR data = 0;
  LRESULT result = 0;
  DWORD thread = 0;
};
CallbackSeen seen;

void CALLBACK recordCallback(HWND hwnd, UINT msg, ULONG_PTR data, LRESULT result) {
  seen = CallbackSeen{seen.calls + 1, hwnd, msg, data, result, GetCurrentThreadId()};
}

LRESULT CALLBACK localProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER + 1) return (LRESULT)(wParam + lParam);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST(SendMessageCallback, OnTheCallingThreadTheCallbackFollowsTheProcedureAtOnce) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = localProc;
  wc.lpszClassName = "KyCallbackLocal";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "KyCallbackLocal", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(w);
  seen = {};
  EXPECT_TRUE(SendMessageCallbackA(w, WM_USER + 1, 30, 12, recordCallback, 0xABC));
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(seen.hwnd, w);
  EXPECT_EQ(seen.msg, (UINT)WM_USER + 1);
  EXPECT_EQ(seen.data, 0xABCu);
  EXPECT_EQ(seen.result, 42);
  // Without a callback the message is still sent.
  EXPECT_TRUE(SendMessageCallbackA(w, WM_USER + 1, 1, 1, nullptr, 0));
  EXPECT_EQ(seen.calls, 1);
  DestroyWindow(w);
}

TEST(SendMessageCallback, ToAnotherThreadReturnsAtOnceAndAnswersWhenTheSenderLooksAtItsQueue) {
  RemoteThread remote;
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<DWORD> kind{0};
  std::atomic<bool> ran{false};
  remoteAnswer() = [&](HWND, UINT, WPARAM wParam, LPARAM) -> LRESULT {
    kind = InSendMessageEx(nullptr);
    WaitForSingleObject(release, 5000);  // the sender must not be waiting for this
    ran = true;
    return (LRESULT)wParam * 3;
  };
  seen = {};
  EXPECT_TRUE(SendMessageCallbackA(remote.window(), WM_USER + 7, 14, 0, recordCallback, 99));
  SetEvent(release);
  while (!ran) Sleep(1);
  Sleep(20);
  EXPECT_EQ(seen.calls, 0) << "the answer waits for the sender's queue";
  MSG m;
  for (int i = 0; i < 500 && !seen.calls; ++i) {
    PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
    Sleep(1);
  }
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(seen.thread, GetCurrentThreadId());
  EXPECT_EQ(seen.hwnd, remote.window());
  EXPECT_EQ(seen.msg, (UINT)WM_USER + 7);
  EXPECT_EQ(seen.data, 99u);
  EXPECT_EQ(seen.result, 42);
  EXPECT_EQ(kind.load() & ISMEX_CALLBACK, (DWORD)ISMEX_CALLBACK);
  CloseHandle(release);
}

TEST(SendMessageCallback, RefusesWhatItCannotSend) {
  RemoteThread remote;
  struct Case {
    HWND hwnd;
    UINT msg;
    DWORD error;
  } cases[] = {
      {(HWND)(UINT_PTR)0x7FFF0F01, WM_USER, ERROR_INVALID_WINDOW_HANDLE},
      // The sender does not wait, so a parameter pointing into its memory cannot cross.
      {remote.window(), WM_SETTEXT, ERROR_MESSAGE_SYNC_ONLY},
      {remote.window(), WM_GETTEXT, ERROR_MESSAGE_SYNC_ONLY},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(SendMessageCallbackA(c.hwnd, c.msg, 0, 0, recordCallback, 0)) << c.msg;
    EXPECT_EQ(GetLastError(), c.error) << c.msg;
  }
}

TEST(AttachThreadInput, JoinedThreadsShareFocusActiveWindowAndKeyStateUntilParted) {
  RemoteThread remote;
  DWORD me = GetCurrentThreadId();
  // Asks the other thread what it sees.
  remoteAnswer() = [](HWND, UINT msg, WPARAM wParam, LPARAM) -> LRESULT {
    if (msg == WM_USER + 1) return (LRESULT)GetFocus();
    if (msg == WM_USER + 2) return (LRESULT)GetActiveWindow();
    if (msg == WM_USER + 3) return GetKeyState((int)wParam);
    return 0;
  };
  SetLastError(0);
  SetFocus(remote.window());
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
  EXPECT_NE(GetFocus(), remote.window());

  ASSERT_TRUE(AttachThreadInput(me, remote.threadId(), TRUE));
  SetFocus(remote.window());
  EXPECT_EQ(GetFocus(), remote.window());
  EXPECT_EQ(GetActiveWindow(), remote.window());
  EXPECT_EQ((HWND)SendMessageA(remote.window(), WM_USER + 1, 0, 0), remote.window());
  EXPECT_EQ((HWND)SendMessageA(remote.window(), WM_USER + 2, 0, 0), remote.window());
  BYTE keys[256] = {};
  keys['Q'] = 0x81;
  SetKeyboardState(keys);
  EXPECT_EQ((SHORT)SendMessageA(remote.window(), WM_USER + 3, 'Q', 0), (SHORT)0xFF81);

  ASSERT_TRUE(AttachThreadInput(me, remote.threadId(), FALSE));
  // Each side keeps what is its own.
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ((HWND)SendMessageA(remote.window(), WM_USER + 1, 0, 0), remote.window());
  keys['Q'] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ((SHORT)SendMessageA(remote.window(), WM_USER + 3, 'Q', 0), (SHORT)0xFF81);
  SetLastError(0);
  SetFocus(remote.window());
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST(AttachThreadInput, RefusesBadThreads) {
  RemoteThread remote;
  DWORD me = GetCurrentThreadId();
  MSG m;
  PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);  // this thread has a queue
  struct Case {
    DWORD from, to;
    BOOL attach;
  } cases[] = {
      {me, me, TRUE},                      // a thread with itself
      {me, 0x7FFFFFF1, TRUE},              // no such thread
      {0x7FFFFFF1, me, TRUE},
      {me, remote.threadId(), FALSE},      // parting threads never joined
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(AttachThreadInput(c.from, c.to, c.attach)) << c.from << " " << c.to;
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
  }
}

}  // namespace
