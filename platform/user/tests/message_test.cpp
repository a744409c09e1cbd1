// Sending and posting: order, nesting, threads, filters, quit and timers.
#include "message_log.h"

#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using test::Expect;
using test::kLParam;
using test::kWParam;

namespace {

class Messages : public ::testing::Test {
 protected:
  void SetUp() override {
    test::answer() = nullptr;
    window = CreateWindowExA(0, test::recorderClass(), "m", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    test::flushMessages();
  }
  void TearDown() override {
    test::answer() = nullptr;
    DestroyWindow(window);
    test::flushMessages();
  }
  HWND window = nullptr;
};

TEST_F(Messages, SendCallsTheProcedureAtOnceAndPostWaitsForTheLoop) {
  EXPECT_EQ(SendMessageA(window, WM_USER + 1, 10, 20), 0);
  test::expectSequence({{WM_USER + 1, kWParam | kLParam, 10, 20}}, "send");
  EXPECT_TRUE(PostMessageA(window, WM_USER + 2, 1, 2));
  EXPECT_TRUE(test::log().empty());
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.hwnd, window);
  EXPECT_EQ(m.message, (UINT)WM_USER + 2);
  DispatchMessageA(&m);
  test::expectSequence({{WM_USER + 2, kWParam | kLParam, 1, 2}}, "posted");
}

TEST_F(Messages, NestedSendsReturnInnermostFirst) {
  test::answer() = [&](HWND h, UINT msg, WPARAM w, LPARAM, LRESULT& r) {
    if (msg != WM_USER) return false;
    r = w == 0 ? 1 : SendMessageA(h, WM_USER, w - 1, 0) + 1;
    return true;
  };
  EXPECT_EQ(SendMessageA(window, WM_USER, 3, 0), 4);
  test::expectSequence({{WM_USER, kWParam, 3}, {WM_USER, kWParam, 2}, {WM_USER, kWParam, 1}, {WM_USER, kWParam, 0}},
                       "nested");
}

TEST_F(Messages, PostedMessagesComeInOrderBeforeInputAndPaint) {
  InvalidateRect(window, nullptr, FALSE);
  ShowWindow(window, SW_SHOWNA);
  test::flushMessages();
  InvalidateRect(window, nullptr, FALSE);
  SetTimer(window, 5, 10, nullptr);
  Sleep(20);
  win32::input::mouseMove(window, 5, 5);
  PostMessageA(window, WM_USER + 1, 0, 0);
  PostMessageA(window, WM_USER + 2, 0, 0);
  UINT order[5] = {};
  MSG m;
  for (UINT& o : order) {
    ASSERT_TRUE(PeekMessageA(&m, window, 0, 0, PM_REMOVE));
    o = m.message;
    if (m.message == WM_PAINT) ValidateRect(window, nullptr);
  }
  KillTimer(window, 5);
  UINT expected[5] = {WM_USER + 1, WM_USER + 2, WM_MOUSEMOVE, WM_PAINT, WM_TIMER};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(test::name(order[i]), test::name(expected[i])) << i;
}

TEST_F(Messages, PeekMessageFiltersByRangeAndWindow) {
  HWND other = CreateWindowExA(0, test::recorderClass(), "o", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  PostMessageA(window, WM_USER + 1, 0, 0);
  PostMessageA(other, WM_USER + 2, 0, 0);
  PostThreadMessageA(GetCurrentThreadId(), WM_USER + 3, 0, 0);
  MSG m;
  struct Case {
    HWND filter;
    UINT min, max;
    bool found;
    UINT msg;
  } cases[] = {
      {nullptr, WM_USER + 2, WM_USER + 2, true, WM_USER + 2},
      {window, 0, 0, true, WM_USER + 1},
      {(HWND)-1, 0, 0, true, WM_USER + 3},
      {other, WM_USER + 1, WM_USER + 1, false, 0},
      {nullptr, WM_USER + 4, WM_USER + 9, false, 0},
  };
  for (auto& c : cases) {
    bool found = PeekMessageA(&m, c.filter, c.min, c.max, PM_NOREMOVE);
    EXPECT_EQ(found, c.found) << test::name(c.msg);
    if (found) {
      EXPECT_EQ(m.message, c.msg);
    }
  }
  // PM_NOREMOVE left everything; removal takes them in posting order.
  EXPECT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, (UINT)WM_USER + 1);
  EXPECT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, (UINT)WM_USER + 2);
  EXPECT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, (UINT)WM_USER + 3);
  EXPECT_EQ(m.hwnd, nullptr);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  DestroyWindow(other);
}

TEST_F(Messages, QuitComesAfterPostedMessagesAndEndsGetMessage) {
  PostQuitMessage(7);
  PostMessageA(window, WM_USER, 0, 0);
  MSG m;
  ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
  EXPECT_EQ(m.message, (UINT)WM_USER);
  // WM_QUIT ignores the number filter.
  ASSERT_EQ(GetMessageA(&m, nullptr, WM_USER + 10, WM_USER + 20), FALSE);
  EXPECT_EQ(m.message, (UINT)WM_QUIT);
  EXPECT_EQ(m.wParam, 7u);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Messages, GetMessageAnswersMinusOneForABadWindow) {
  MSG m;
  EXPECT_EQ(GetMessageA(&m, (HWND)0x1234, 0, 0), -1);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(Messages, SendToAnotherThreadWaitsAndRunsMessagesSentBack) {
  // The other thread's window sends back to ours while our send waits.
  std::atomic<HWND> remote{nullptr};
  std::atomic<bool> stop{false};
  std::thread t([&] {
    HWND w = CreateWindowExA(0, test::recorderClass(), "t", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    remote = w;
    MSG m;
    while (!stop) {
      if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
      else MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    DestroyWindow(w);
  });
  while (!remote) Sleep(1);
  HWND mine = window;
  test::answer() = [&](HWND h, UINT msg, WPARAM w, LPARAM, LRESULT& r) {
    if (msg == WM_USER + 5 && h == remote.load()) {
      r = SendMessageA(mine, WM_USER + 6, w, 0) + 100;  // runs on the other thread
      return true;
    }
    if (msg == WM_USER + 6) {
      r = (LRESULT)(w * 2);
      EXPECT_TRUE(InSendMessage());
      return true;
    }
    return false;
  };
  EXPECT_EQ(SendMessageA(remote, WM_USER + 5, 21, 0), 142);
  DWORD_PTR result = 0;
  EXPECT_TRUE(SendMessageTimeoutA(remote, WM_USER + 5, 1, 0, SMTO_NORMAL, 1000, &result));
  EXPECT_EQ(result, 102u);
  stop = true;
  t.join();
  test::answer() = nullptr;
  test::log().clear();
}

TEST_F(Messages, SendMessageTimeoutGivesUpOnABusyThread) {
  std::atomic<HWND> remote{nullptr};
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread t([&] {
    remote = CreateWindowExA(0, test::recorderClass(), "t", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    WaitForSingleObject(release, 5000);  // not looking at its queue
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    DestroyWindow(remote);
  });
  while (!remote) Sleep(1);
  DWORD_PTR result = 99;
  DWORD start = GetTickCount();
  EXPECT_FALSE(SendMessageTimeoutA(remote, WM_USER, 0, 0, SMTO_NORMAL, 100, &result));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_TIMEOUT);
  EXPECT_LT(GetTickCount() - start, 2000u);
  test::log().clear();
  SetEvent(release);
  t.join();
  CloseHandle(release);
  // The message the sender gave up on never ran.
  for (const test::Logged& l : test::log()) EXPECT_FALSE(l.hwnd == remote.load() && l.msg == WM_USER);
  // A window whose thread ended is no window any more.
  EXPECT_FALSE(IsWindow(remote));
}

TEST_F(Messages, ReplyMessageAnswersTheSenderEarly) {
  std::atomic<HWND> remote{nullptr};
  std::atomic<bool> stop{false}, replied{false};
  std::thread t([&] {
    remote = CreateWindowExA(0, test::recorderClass(), "t", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    MSG m;
    while (!stop) {
      if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
      else Sleep(1);
    }
    DestroyWindow(remote);
  });
  while (!remote) Sleep(1);
  test::answer() = [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_USER + 9) return false;
    EXPECT_EQ(InSendMessageEx(nullptr), (DWORD)ISMEX_SEND);
    EXPECT_TRUE(ReplyMessage(55));
    EXPECT_EQ(InSendMessageEx(nullptr), (DWORD)(ISMEX_SEND | ISMEX_REPLIED));
    while (!replied) Sleep(1);  // the sender goes on although this handler still runs
    r = 66;
    return true;
  };
  EXPECT_EQ(SendMessageA(remote, WM_USER + 9, 0, 0), 55);
  replied = true;
  stop = true;
  t.join();
  test::answer() = nullptr;
  test::log().clear();
  EXPECT_FALSE(ReplyMessage(1));  // not inside a sent message
}

TEST_F(Messages, TimersFireOncePerLookAndThreadTimersCallTheirProcedure) {
  ASSERT_EQ(SetTimer(window, 3, 20, nullptr), 3u);
  Sleep(70);  // several periods pass; WM_TIMER comes once
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_EQ(m.hwnd, window);
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_TRUE(KillTimer(window, 3));
  EXPECT_FALSE(KillTimer(window, 3));

  static int calls;
  calls = 0;
  UINT_PTR id = SetTimer(nullptr, 0, 10, [](HWND h, UINT msg, UINT_PTR, DWORD) {
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(msg, (UINT)WM_TIMER);
    ++calls;
  });
  ASSERT_NE(id, 0u);
  ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);  // waits for the timer
  EXPECT_EQ(m.message, (UINT)WM_TIMER);
  DispatchMessageA(&m);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(KillTimer(nullptr, id));
  // A forged WM_TIMER naming a procedure of no timer calls nothing.
  MSG forged{nullptr, WM_TIMER, 1, (LPARAM)(TIMERPROC)[](HWND, UINT, UINT_PTR, DWORD) { ++calls; }, 0, {}};
  DispatchMessageA(&forged);
  EXPECT_EQ(calls, 1);
}

TEST_F(Messages, BroadcastsReachEveryTopLevelWindowAndNoChild) {
  HWND second = CreateWindowExA(0, test::recorderClass(), "second", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr,
                                nullptr);
  HWND child = CreateWindowExA(0, test::recorderClass(), "child", WS_CHILD, 0, 0, 5, 5, window, nullptr, nullptr,
                               nullptr);
  const UINT kinds[] = {WM_USER + 20, WM_USER + 21, WM_USER + 22, WM_USER + 23};
  test::log().clear();
  SendMessageA(HWND_BROADCAST, kinds[0], 0, 0);
  DWORD_PTR result = 99;
  EXPECT_TRUE(SendMessageTimeoutA(HWND_BROADCAST, kinds[1], 0, 0, SMTO_NORMAL, 1000, &result));
  EXPECT_TRUE(SendNotifyMessageA(HWND_BROADCAST, kinds[2], 0, 0));
  EXPECT_TRUE(PostMessageA(HWND_BROADCAST, kinds[3], 0, 0));
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  for (UINT kind : kinds) {
    int toWindow = 0, toSecond = 0, toChild = 0;
    for (const test::Logged& l : test::log()) {
      if (l.msg != kind) continue;
      toWindow += l.hwnd == window;
      toSecond += l.hwnd == second;
      toChild += l.hwnd == child;
    }
    EXPECT_EQ(toWindow, 1) << kind;
    EXPECT_EQ(toSecond, 1) << kind;
    EXPECT_EQ(toChild, 0) << kind;
  }
  DestroyWindow(second);
}

TEST_F(Messages, QueueStatusTellsWhatIsThereAndWhatIsNew) {
  GetQueueStatus(QS_ALLINPUT);  // everything seen
  EXPECT_EQ(GetQueueStatus(QS_POSTMESSAGE), 0u);
  PostMessageA(window, WM_USER, 0, 0);
  // New and there; asking again leaves it there but not new.
  EXPECT_EQ(GetQueueStatus(QS_POSTMESSAGE), MAKELONG(QS_POSTMESSAGE, QS_POSTMESSAGE));
  EXPECT_EQ(GetQueueStatus(QS_POSTMESSAGE), MAKELONG(0, QS_POSTMESSAGE));
  // Only the kinds asked for are told.
  PostMessageA(window, WM_USER, 0, 0);
  EXPECT_EQ(GetQueueStatus(QS_KEY), 0u);
  test::flushMessages();
  EXPECT_EQ(GetQueueStatus(QS_POSTMESSAGE), 0u);
}

TEST_F(Messages, PeekMessageTakesOnlyTheKindsItsFiltersName) {
  // A posted message, a pending paint and a due timer wait together.
  ShowWindow(window, SW_SHOWNOACTIVATE);
  test::flushMessages();
  UpdateWindow(window);
  struct Case {
    UINT flags;
    UINT expected;  // 0: nothing
  } cases[] = {
      {PM_QS_INPUT, 0},
      {PM_QS_PAINT, WM_PAINT},
      {PM_QS_POSTMESSAGE, WM_USER},
      {PM_QS_POSTMESSAGE, WM_TIMER},  // the posted message went; the timer is posted kind too
      {0, WM_PAINT},
  };
  PostMessageA(window, WM_USER, 0, 0);
  InvalidateRect(window, nullptr, FALSE);
  SetTimer(window, 5, 10, nullptr);
  Sleep(30);
  for (const Case& c : cases) {
    MSG m{};
    const BOOL got = PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE | c.flags);
    EXPECT_EQ(got ? m.message : 0u, c.expected) << std::hex << c.flags;
    if (got && m.message == WM_PAINT) ValidateRect(window, nullptr);
    if (got && m.message == WM_PAINT && c.flags == PM_QS_PAINT) InvalidateRect(window, nullptr, FALSE);
  }
  KillTimer(window, 5);
  ValidateRect(window, nullptr);
}

TEST_F(Messages, ThreadTimerIdsRunOutWithAnError) {
  // Thread timers have the ids 1 .. 0x7FFF: with all taken, the next one is
  // refused (the search for a free id must end), and a freed id is given again.
  std::vector<UINT_PTR> ids;
  for (UINT_PTR id; (id = SetTimer(nullptr, 0, 60000, nullptr)) != 0;) ids.push_back(id);
  EXPECT_EQ(ids.size(), 0x7FFFu);
  SetLastError(0);
  EXPECT_EQ(SetTimer(nullptr, 0, 60000, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_USER_HANDLES));
  // Resetting a timer the thread has needs no new id.
  EXPECT_EQ(SetTimer(nullptr, ids[5], 50000, nullptr), ids[5]);
  ASSERT_TRUE(KillTimer(nullptr, ids[7]));
  EXPECT_EQ(SetTimer(nullptr, 0, 60000, nullptr), ids[7]);
  // Window timers have ids of their own.
  EXPECT_EQ(SetTimer(window, 9, 60000, nullptr), 9u);
  EXPECT_TRUE(KillTimer(window, 9));
  for (UINT_PTR id : ids) EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(Messages, SetTextWithAnUnreadableTextIsRefused) {
  char title[16] = "";
  ASSERT_TRUE(SetWindowTextA(window, "kept"));
  struct Case {
    LPARAM text;
    LRESULT answer;
    const char* after;
  } cases[] = {
      {0x1234, FALSE, "kept"},  // a garbage pointer is not read
      {(LPARAM)"new", TRUE, "new"},
      {0, TRUE, ""},  // no text empties it
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DefWindowProcA(window, WM_SETTEXT, 0, c.text), c.answer) << c.after;
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, c.after);
  }
}

TEST_F(Messages, MsgWaitWakesForEventsAndForInput) {
  // No handles at all: a wait for input alone, bounded by its time.
  DWORD before = GetTickCount();
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT), (DWORD)WAIT_TIMEOUT);
  EXPECT_GE(GetTickCount() - before, 40u);
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_ALLINPUT), (DWORD)WAIT_TIMEOUT);
  SetEvent(event);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 1000, QS_ALLINPUT), WAIT_OBJECT_0);
  std::thread poster([&] {
    Sleep(30);
    PostMessageA(window, WM_USER, 0, 0);
  });
  DWORD start = GetTickCount();
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 5000, QS_POSTMESSAGE), WAIT_OBJECT_0 + 1);
  EXPECT_LT(GetTickCount() - start, 2000u);
  poster.join();
  // Input already seen by a look at the queue does not wake again...
  MSG m;
  EXPECT_TRUE(PeekMessageA(&m, nullptr, WM_USER + 1, WM_USER + 1, PM_NOREMOVE) == FALSE);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_POSTMESSAGE), (DWORD)WAIT_TIMEOUT);
  // ...unless the caller asks for any input there is.
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &event, 0, QS_POSTMESSAGE, MWMO_INPUTAVAILABLE), WAIT_OBJECT_0 + 1);
  // The message is still there (high word), and no longer new (low word).
  EXPECT_EQ(GetQueueStatus(QS_POSTMESSAGE), MAKELONG(0, QS_POSTMESSAGE));
  CloseHandle(event);
}

TEST_F(Messages, SubclassingChainsThroughCallWindowProc) {
  static WNDPROC previous;
  static std::vector<UINT> seen;
  seen.clear();
  previous = (WNDPROC)SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)(WNDPROC)[](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    seen.push_back(msg);
    if (msg == WM_USER + 3) return 33;
    return CallWindowProcA(previous, h, msg, w, l);
  });
  EXPECT_EQ(previous, (WNDPROC)test::recordingProc);
  EXPECT_EQ(SendMessageA(window, WM_USER + 3, 0, 0), 33);
  SendMessageA(window, WM_USER + 4, 0, 0);
  test::expectSequence({{WM_USER + 4}}, "after subclass");
  EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 3, WM_USER + 4}));
  SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)previous);
}

TEST_F(Messages, PostingHasAQuotaAndCopyDataCannotBePosted) {
  EXPECT_FALSE(PostMessageA(window, WM_COPYDATA, 0, 0));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_MESSAGE_SYNC_ONLY);
  int posted = 0;
  while (PostMessageA(window, WM_USER, 0, 0)) ++posted;
  EXPECT_EQ(posted, 10000);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_NOT_ENOUGH_QUOTA);
  test::flushMessages();
}

TEST_F(Messages, PostingToAThreadWithoutAQueueFails) {
  EXPECT_FALSE(PostThreadMessageA(0x7FFFFFF0, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_THREAD_ID);
  EXPECT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_USER + 1, 5, 6));
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, (HWND)-1, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.hwnd, nullptr);
  EXPECT_EQ(m.wParam, 5u);
  EXPECT_EQ(DispatchMessageA(&m), 0);  // nothing to dispatch a thread message to
  EXPECT_EQ(DispatchMessageA(nullptr), 0);
  EXPECT_FALSE(TranslateMessage(nullptr));
  EXPECT_EQ(GetMessageA(nullptr, nullptr, 0, 0), -1);
}

TEST_F(Messages, RegisteredMessagesIgnoreCase) {
  UINT a = RegisterWindowMessageA("KyTestMessage");
  EXPECT_GE(a, 0xC000u);
  EXPECT_LE(a, 0xFFFFu);
  EXPECT_EQ(RegisterWindowMessageA("kytestmessage"), a);
  EXPECT_NE(RegisterWindowMessageA("KyOtherMessage"), a);
  EXPECT_EQ(RegisterWindowMessageA(""), 0u);
}

}  // namespace
