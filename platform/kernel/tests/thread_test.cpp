#include <internal/wait.h>
#include <winbase.h>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>

namespace {

DWORD WINAPI answer(LPVOID parameter) { return static_cast<DWORD>(reinterpret_cast<uintptr_t>(parameter)); }

DWORD WINAPI recordId(LPVOID parameter) {
  *static_cast<DWORD*>(parameter) = GetCurrentThreadId();
  return 0;
}

DWORD WINAPI leaveEarly(LPVOID parameter) {
  ExitThread(77);
  return 1;  // never reached
}

DWORD WINAPI waitForEvent(LPVOID parameter) { return WaitForSingleObject(static_cast<HANDLE>(parameter), INFINITE); }

TEST(Thread, HandleIsSignalledWithTheExitCodeWhenTheThreadEnds) {
  struct Case {
    LPTHREAD_START_ROUTINE start;
    uintptr_t parameter;
    DWORD exitCode;
  } cases[] = {{answer, 42, 42}, {answer, 0, 0}, {leaveEarly, 0, 77}};
  for (const auto& c : cases) {
    HANDLE thread = CreateThread(nullptr, 0, c.start, reinterpret_cast<LPVOID>(c.parameter), 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, c.exitCode);
    CloseHandle(thread);
  }
}

TEST(Thread, RunningThreadIsStillActive) {
  HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 64 * 1024, waitForEvent, go, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(STILL_ACTIVE, 259);
  EXPECT_EQ(WaitForSingleObject(thread, 20), static_cast<DWORD>(WAIT_TIMEOUT));
  SetEvent(go);
  EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, WAIT_OBJECT_0);
  CloseHandle(thread);
  CloseHandle(go);
}

TEST(Thread, SuspendedThreadStartsOnResume) {
  DWORD seen = 0, reported = 0;
  HANDLE thread = CreateThread(nullptr, 0, recordId, &seen, CREATE_SUSPENDED, &reported);
  ASSERT_NE(thread, nullptr);
  EXPECT_NE(reported, 0u);
  EXPECT_NE(reported, GetCurrentThreadId());
  EXPECT_EQ(GetThreadId(thread), reported);
  EXPECT_EQ(WaitForSingleObject(thread, 50), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(seen, 0u);
  EXPECT_EQ(ResumeThread(thread), 1u);
  EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(seen, reported);
  EXPECT_EQ(ResumeThread(thread), 0u);  // not suspended any more
  CloseHandle(thread);
}

TEST(Thread, ClosingTheHandleLeavesTheThreadRunning) {
  HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  static HANDLE pair[2];
  pair[0] = go;
  pair[1] = done;
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID) -> DWORD {
        WaitForSingleObject(pair[0], INFINITE);
        SetEvent(pair[1]);
        return 0;
      },
      nullptr, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_TRUE(CloseHandle(thread));
  SetEvent(go);
  EXPECT_EQ(WaitForSingleObject(done, 5000), WAIT_OBJECT_0);
  CloseHandle(go);
  CloseHandle(done);
}

TEST(Thread, BadHandlesAndArgumentsFail) {
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  DWORD code = 0;
  for (HANDLE bad : {static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE, event}) {
    SetLastError(0);
    EXPECT_FALSE(GetExitCodeThread(bad, &code));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(ResumeThread(bad), static_cast<DWORD>(-1));
  }
  EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  CloseHandle(event);
}

TEST(Thread, PseudoHandleMeansTheCallingThread) {
  HANDLE self = GetCurrentThread();
  EXPECT_EQ(GetThreadId(self), GetCurrentThreadId());
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(self, &code));
  EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
}

TEST(Thread, ForkedChildHasItsOwnThreadId) {
  DWORD parent = GetCurrentThreadId();
  pid_t child = fork();
  if (child == 0) _exit(GetCurrentThreadId() != parent && GetCurrentThreadId() == static_cast<DWORD>(getpid()) ? 0 : 1);
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(Thread, RunningIsToldForThreadsOfAnyProcess) {
  EXPECT_TRUE(win32::threadRunning(GetCurrentThreadId()));
  EXPECT_FALSE(win32::threadRunning(0));

  // A thread of this process that ended, and one still waiting.
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  DWORD waitingId = 0, endedId = 0;
  HANDLE waiting = CreateThread(nullptr, 0, waitForEvent, release, 0, &waitingId);
  HANDLE ended = CreateThread(nullptr, 0, recordId, &endedId, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(ended, 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(win32::threadRunning(waitingId));
  // The handle is signalled just before the POSIX thread is gone.
  for (int i = 0; i < 500 && win32::threadRunning(endedId); ++i) Sleep(2);
  EXPECT_FALSE(win32::threadRunning(endedId));
  SetEvent(release);
  WaitForSingleObject(waiting, 5000);

  // Another process: running while it runs, not once it died, reaped or not.
  int toChild[2];
  ASSERT_EQ(pipe(toChild), 0);
  pid_t child = fork();
  if (child == 0) {
    close(toChild[1]);
    char byte;
    _exit(read(toChild[0], &byte, 1) == 1 ? 0 : 1);
  }
  const auto childId = static_cast<DWORD>(child);
  EXPECT_TRUE(win32::threadRunning(childId));
  close(toChild[1]);  // the child reads end of file and ends
  siginfo_t info{};
  ASSERT_EQ(waitid(P_PID, child, &info, WEXITED | WNOWAIT), 0);  // ended, not reaped
  EXPECT_FALSE(win32::threadRunning(childId));
  waitpid(child, nullptr, 0);
  EXPECT_FALSE(win32::threadRunning(childId));
  close(toChild[0]);
  CloseHandle(waiting);
  CloseHandle(ended);
  CloseHandle(release);
}

TEST(Interlocked, OperationsAnswerAsDocumented) {
  LONG volatile value = 5;
  EXPECT_EQ(InterlockedIncrement(&value), 6);
  EXPECT_EQ(InterlockedDecrement(&value), 5);
  EXPECT_EQ(InterlockedExchange(&value, 9), 5);
  EXPECT_EQ(InterlockedCompareExchange(&value, 1, 8), 9);  // no match: unchanged
  EXPECT_EQ(value, 9);
  EXPECT_EQ(InterlockedCompareExchange(&value, 1, 9), 9);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(InterlockedExchangeAdd(&value, -3), 1);
  EXPECT_EQ(value, -2);
  value = 0x7FFFFFFF;
  EXPECT_EQ(InterlockedIncrement(&value), static_cast<LONG>(0x80000000));  // wraps as 32 bits
}

TEST(Interlocked, IncrementsFromManyThreadsAddUp) {
  static LONG volatile counter = 0;
  HANDLE threads[8];
  for (HANDLE& thread : threads)
    thread = CreateThread(
        nullptr, 0,
        [](LPVOID) -> DWORD {
          for (int i = 0; i < 10000; ++i) InterlockedIncrement(&counter);
          return 0;
        },
        nullptr, 0, nullptr);
  EXPECT_EQ(WaitForMultipleObjects(8, threads, TRUE, 10000), WAIT_OBJECT_0);
  EXPECT_EQ(counter, 80000);
  for (HANDLE thread : threads) CloseHandle(thread);
}

TEST(CriticalSection, IsRecursiveAndExcludesOtherThreads) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  EnterCriticalSection(&section);
  EXPECT_TRUE(TryEnterCriticalSection(&section));
  EXPECT_EQ(section.RecursionCount, 2);
  static CRITICAL_SECTION* shared;
  shared = &section;
  auto tryFromOtherThread = [] {
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID) -> DWORD {
          BOOL entered = TryEnterCriticalSection(shared);
          if (entered) LeaveCriticalSection(shared);
          return entered;
        },
        nullptr, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    return code;
  };
  EXPECT_EQ(tryFromOtherThread(), 0u);
  LeaveCriticalSection(&section);
  EXPECT_EQ(tryFromOtherThread(), 0u);  // still entered once
  LeaveCriticalSection(&section);
  EXPECT_EQ(section.RecursionCount, 0);
  EXPECT_EQ(tryFromOtherThread(), 1u);
  DeleteCriticalSection(&section);
}

}  // namespace
