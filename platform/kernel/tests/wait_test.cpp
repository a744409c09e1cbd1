#include <internal/wait.h>
#include <winbase.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Events {
  explicit Events(int count, BOOL manual = TRUE) {
    for (int i = 0; i < count; ++i) handles.push_back(CreateEventA(nullptr, manual, FALSE, nullptr));
  }
  ~Events() {
    for (HANDLE h : handles) CloseHandle(h);
  }
  std::vector<HANDLE> handles;
};

TEST(Wait, AnyAnswersTheLowestSignalledIndex) {
  Events events(4);
  SetEvent(events.handles[3]);
  SetEvent(events.handles[1]);
  EXPECT_EQ(WaitForMultipleObjects(4, events.handles.data(), FALSE, 0), WAIT_OBJECT_0 + 1);
}

TEST(Wait, AllWaitsForEveryObjectAndTakesThemTogether) {
  HANDLE handles[2] = {CreateEventA(nullptr, FALSE, TRUE, nullptr), CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  // One of two signalled: the wait for all times out and consumes nothing.
  EXPECT_EQ(WaitForMultipleObjects(2, handles, TRUE, 20), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(WaitForSingleObject(handles[0], 0), WAIT_OBJECT_0);  // still signalled, taken now
  SetEvent(handles[0]);
  std::thread setter([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    SetEvent(handles[1]);
  });
  EXPECT_EQ(WaitForMultipleObjects(2, handles, TRUE, 5000), WAIT_OBJECT_0);
  setter.join();
  // Both auto-reset events were consumed by the one wait.
  EXPECT_EQ(WaitForSingleObject(handles[0], 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(WaitForSingleObject(handles[1], 0), static_cast<DWORD>(WAIT_TIMEOUT));
  CloseHandle(handles[0]);
  CloseHandle(handles[1]);
}

TEST(Wait, AllReportsAnAbandonedMutexAmongThem) {
  HANDLE event = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
  std::thread([&] { WaitForSingleObject(mutex, 0); }).join();
  HANDLE handles[2] = {event, mutex};
  EXPECT_EQ(WaitForMultipleObjects(2, handles, TRUE, 1000), WAIT_ABANDONED_0 + 1);
  EXPECT_TRUE(ReleaseMutex(mutex));
  CloseHandle(event);
  CloseHandle(mutex);
}

// A named mutex lives in shared memory, outside the in-process wait state:
// waits that mix it with in-process objects must still be exact.
TEST(Wait, NamedMutexTogetherWithInProcessObjects) {
  std::string name = "wait-test-mixed-" + std::to_string(GetCurrentThreadId());
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE both[2] = {event, mutex};
  HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread owner([&] {
    WaitForSingleObject(mutex, INFINITE);
    SetEvent(taken);
    WaitForSingleObject(done, INFINITE);
    ReleaseMutex(mutex);
  });
  WaitForSingleObject(taken, INFINITE);
  // The event alone is signalled: any answers it, all must wait for the mutex too.
  SetEvent(event);
  EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 50), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_OBJECT_0);  // takes the auto-reset event
  SetEvent(event);
  SetEvent(done);
  EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));  // consumed with the mutex
  EXPECT_TRUE(ReleaseMutex(mutex));
  owner.join();
  for (HANDLE h : {mutex, event, taken, done}) CloseHandle(h);
}

TEST(Wait, PulseCountsOnlyForWaitsThatCanComplete) {
  HANDLE pulsed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE pair[2] = {pulsed, never};
  DWORD allResult = 0, anyResult = 0;
  std::thread allWaiter([&] { allResult = WaitForMultipleObjects(2, pair, TRUE, 500); });
  std::thread anyWaiter([&] { anyResult = WaitForSingleObject(pulsed, 2000); });
  auto object = win32::lookupHandleAs<win32::Waitable>(pulsed);
  for (;;) {
    std::lock_guard guard(win32::waitLock());
    if (object->waiterCount() == 2) break;
  }
  // The auto-reset pulse goes to the one waiter it can release.
  PulseEvent(pulsed);
  allWaiter.join();
  anyWaiter.join();
  EXPECT_EQ(allResult, static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(anyResult, WAIT_OBJECT_0);
  CloseHandle(pulsed);
  CloseHandle(never);
}

TEST(Wait, TimeoutIsHonoured) {
  Events events(1);
  for (DWORD timeout : {0u, 50u, 200u}) {
    auto start = Clock::now();
    EXPECT_EQ(WaitForSingleObject(events.handles[0], timeout), static_cast<DWORD>(WAIT_TIMEOUT));
    auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_GE(waited, static_cast<long>(timeout)) << timeout;
    EXPECT_LT(waited, static_cast<long>(timeout) + 1000) << timeout;
  }
}

TEST(Wait, InfiniteWaitEndsWhenSignalled) {
  Events events(1);
  std::thread setter([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    SetEvent(events.handles[0]);
  });
  EXPECT_EQ(WaitForSingleObject(events.handles[0], INFINITE), WAIT_OBJECT_0);
  setter.join();
}

TEST(Wait, BadArgumentsFail) {
  Events events(MAXIMUM_WAIT_OBJECTS + 1);
  HANDLE closed = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  CloseHandle(closed);
  HANDLE notWaitable = win32::insertHandle(std::make_shared<win32::KernelObject>());
  struct Case {
    const char* what;
    DWORD count;
    const HANDLE* handles;
    BOOL all;
    DWORD error;
  } cases[] = {
      {"none", 0, events.handles.data(), FALSE, ERROR_INVALID_PARAMETER},
      {"too many", MAXIMUM_WAIT_OBJECTS + 1, events.handles.data(), FALSE, ERROR_INVALID_PARAMETER},
      {"null array", 1, nullptr, FALSE, ERROR_INVALID_PARAMETER},
      {"closed handle", 1, &closed, FALSE, ERROR_INVALID_HANDLE},
      {"not waitable", 1, &notWaitable, FALSE, ERROR_INVALID_HANDLE},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(WaitForMultipleObjects(c.count, c.handles, c.all, 0), WAIT_FAILED) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
  }
  HANDLE twice[2] = {events.handles[0], events.handles[0]};
  EXPECT_EQ(WaitForMultipleObjects(2, twice, TRUE, 0), WAIT_FAILED);
  EXPECT_EQ(WaitForMultipleObjects(2, twice, FALSE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  SetLastError(0);
  EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  // Exactly the maximum is fine.
  SetEvent(events.handles[MAXIMUM_WAIT_OBJECTS - 1]);
  EXPECT_EQ(WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS, events.handles.data(), FALSE, 0),
            WAIT_OBJECT_0 + MAXIMUM_WAIT_OBJECTS - 1);
  CloseHandle(notWaitable);
}

// The way user32's MsgWaitForMultipleObjects joins a queue's signal to the handles.
TEST(Wait, ExtraObjectCountsAfterTheHandles) {
  Events events(2);
  win32::Event queue(false, false);
  std::thread poster([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    queue.set();
  });
  EXPECT_EQ(win32::waitForObjects(events.handles, false, 5000, &queue), WAIT_OBJECT_0 + 2);
  poster.join();
  EXPECT_FALSE(queue.isSet());  // auto-reset: taken by the wait
  SetEvent(events.handles[0]);
  queue.set();
  EXPECT_EQ(win32::waitForObjects(events.handles, false, 0, &queue), WAIT_OBJECT_0);
  // With waitAll the extra object must be signalled as well.
  SetEvent(events.handles[1]);
  EXPECT_EQ(win32::waitForObjects(events.handles, true, 0, &queue), WAIT_OBJECT_0);
  EXPECT_EQ(win32::waitForObjects(events.handles, true, 10, &queue), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(win32::waitForObjects({}, false, 0, &queue), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(Wait, SleepExWaitsAndAnswersZero) {
  auto start = Clock::now();
  EXPECT_EQ(SleepEx(30, TRUE), 0u);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(30));
  EXPECT_EQ(SleepEx(0, FALSE), 0u);
}

}  // namespace
