#include <internal/wait.h>
#include <winbase.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

size_t waitersOn(HANDLE handle) {
  auto object = win32::lookupHandleAs<win32::Waitable>(handle);
  std::lock_guard guard(win32::waitLock());
  return object->waiterCount();
}

// Starts `count` threads that each wait once on `event` (up to `timeoutMs`)
// and answers how many were released.
int releasedWaiters(HANDLE event, int count, DWORD timeoutMs, void (*signal)(HANDLE)) {
  std::atomic<int> released{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < count; ++i)
    threads.emplace_back([&] {
      if (WaitForSingleObject(event, timeoutMs) == WAIT_OBJECT_0) ++released;
    });
  while (waitersOn(event) < static_cast<size_t>(count)) std::this_thread::yield();
  signal(event);
  for (auto& t : threads) t.join();
  return released;
}

TEST(Event, ManualResetReleasesEveryWaiterAndStaysSignalled) {
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(releasedWaiters(event, 4, 2000, [](HANDLE e) { SetEvent(e); }), 4);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ResetEvent(event));
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  CloseHandle(event);
}

TEST(Event, AutoResetReleasesOneWaiterPerSet) {
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(releasedWaiters(event, 3, 300, [](HANDLE e) { SetEvent(e); }), 1);
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  // Signalled with nobody waiting, it stays so until one wait takes it.
  SetEvent(event);
  SetEvent(event);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  CloseHandle(event);
}

TEST(Event, PulseReleasesCurrentWaitersAndLeavesItReset) {
  struct Case {
    BOOL manual;
    int released;
  } cases[] = {{TRUE, 3}, {FALSE, 1}};
  for (const auto& c : cases) {
    HANDLE event = CreateEventA(nullptr, c.manual, FALSE, nullptr);
    EXPECT_EQ(releasedWaiters(event, 3, 300, [](HANDLE e) { PulseEvent(e); }), c.released) << c.manual;
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    // A pulse with nobody waiting is lost.
    PulseEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(event);
  }
}

TEST(Event, InitialStateIsHonoured) {
  HANDLE event = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  CloseHandle(event);
}

TEST(Event, NamedEventIsSharedAndReportsExisting) {
  HANDLE first = CreateEventA(nullptr, TRUE, FALSE, "event-test-shared");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  HANDLE second = CreateEventA(nullptr, FALSE, TRUE, "event-test-shared");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_NE(first, second);
  HANDLE opened = OpenEventA(EVENT_ALL_ACCESS, FALSE, "event-test-shared");
  ASSERT_NE(opened, nullptr);
  // Same object: the first creator's manual reset and initial state hold.
  SetEvent(opened);
  EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
  CloseHandle(first);
  CloseHandle(second);
  CloseHandle(opened);
  // The name went with the last handle.
  SetLastError(0);
  EXPECT_EQ(OpenEventA(EVENT_ALL_ACCESS, FALSE, "event-test-shared"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Event, NameOfAnotherKindOfObjectIsRefused) {
  HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 1, "event-test-taken");
  ASSERT_NE(semaphore, nullptr);
  SetLastError(0);
  EXPECT_EQ(CreateEventA(nullptr, TRUE, FALSE, "event-test-taken"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  CloseHandle(semaphore);
}

TEST(Event, OperationsOnBadHandlesFail) {
  HANDLE semaphore = CreateSemaphoreA(nullptr, 0, 1, nullptr);
  for (HANDLE bad : {static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE, semaphore}) {
    for (auto operation : {&SetEvent, &ResetEvent, &PulseEvent}) {
      SetLastError(0);
      EXPECT_FALSE(operation(bad));
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
  }
  CloseHandle(semaphore);
}

TEST(Semaphore, CountsDownAndRefusesReleaseAboveMaximum) {
  HANDLE semaphore = CreateSemaphoreA(nullptr, 2, 3, nullptr);
  ASSERT_NE(semaphore, nullptr);
  EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(semaphore, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  LONG previous = -1;
  EXPECT_TRUE(ReleaseSemaphore(semaphore, 3, &previous));
  EXPECT_EQ(previous, 0);
  SetLastError(0);
  EXPECT_FALSE(ReleaseSemaphore(semaphore, 1, &previous));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TOO_MANY_POSTS));
  EXPECT_EQ(previous, 0);  // untouched by the failure
  EXPECT_FALSE(ReleaseSemaphore(semaphore, 0, nullptr));
  CloseHandle(semaphore);
  EXPECT_EQ(CreateSemaphoreA(nullptr, 2, 1, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
