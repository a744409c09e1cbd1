#include <winbase.h>

#include <gtest/gtest.h>

#include "childprocess.h"

#include <string>
#include <thread>

namespace {

// A name no other test run uses at the same time.
std::string uniqueName(const char* stem) { return std::string(stem) + "-" + std::to_string(getpid()); }

DWORD waitFromOtherThread(HANDLE mutex, DWORD timeoutMs) {
  DWORD result = 0;
  std::thread([&] {
    result = WaitForSingleObject(mutex, timeoutMs);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0) ReleaseMutex(mutex);
  }).join();
  return result;
}

class Mutex : public testing::TestWithParam<bool> {
 protected:
  // The same behaviour is required of unnamed (in-process) and named (shared) mutexes.
  HANDLE create(BOOL initialOwner) {
    std::string name = uniqueName("mutex-test");
    return CreateMutexA(nullptr, initialOwner, GetParam() ? name.c_str() : nullptr);
  }
};

TEST_P(Mutex, RecursiveOwnershipNeedsOneReleasePerAcquisition) {
  HANDLE mutex = create(TRUE);
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);  // owned three times now
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(waitFromOtherThread(mutex, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << i;
    EXPECT_TRUE(ReleaseMutex(mutex)) << i;
  }
  EXPECT_EQ(waitFromOtherThread(mutex, 0), WAIT_OBJECT_0);
  SetLastError(0);
  EXPECT_FALSE(ReleaseMutex(mutex));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
  CloseHandle(mutex);
}

TEST_P(Mutex, OnlyTheOwnerReleases) {
  HANDLE mutex = create(TRUE);
  ASSERT_NE(mutex, nullptr);
  BOOL released = TRUE;
  DWORD error = 0;
  std::thread([&] {
    released = ReleaseMutex(mutex);
    error = GetLastError();
  }).join();
  EXPECT_FALSE(released);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_NOT_OWNER));
  EXPECT_TRUE(ReleaseMutex(mutex));
  CloseHandle(mutex);
}

TEST_P(Mutex, ThreadEndingAsOwnerLeavesItAbandoned) {
  HANDLE mutex = create(FALSE);
  ASSERT_NE(mutex, nullptr);
  std::thread([&] { EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0); }).join();
  EXPECT_EQ(WaitForSingleObject(mutex, 1000), WAIT_ABANDONED_0);
  // The new owner holds it normally; the abandonment is reported once.
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ReleaseMutex(mutex));
  CloseHandle(mutex);
}

INSTANTIATE_TEST_SUITE_P(UnnamedAndNamed, Mutex, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Named" : "Unnamed"; });

// The child's side of the tests below: "<role>:<name>".
TEST(NamedMutexChild, Role) {
  const char* argument = childArgument();
  if (!argument) GTEST_SKIP() << "runs only as another process's child";
  std::string text(argument);
  std::string role = text.substr(0, text.find(':'));
  std::string name = text.substr(text.find(':') + 1);
  if (role == "finds-it-taken") {
    HANDLE other = CreateMutexA(nullptr, TRUE, name.c_str());
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(WaitForSingleObject(other, 100), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_FALSE(ReleaseMutex(other));
  } else if (role == "takes-and-releases") {
    HANDLE other = OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(WaitForSingleObject(other, 2000), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(other));
  } else if (role == "takes-and-dies") {
    HANDLE other = OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
    ASSERT_NE(other, nullptr);
    ASSERT_EQ(WaitForSingleObject(other, 2000), WAIT_OBJECT_0);
    _exit(0);  // ends holding it
  } else if (role == "creates-and-dies") {
    HANDLE created = CreateMutexA(nullptr, TRUE, name.c_str());
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    _exit(0);  // no handle closed: the name's segment stays behind
  } else if (role == "finds-nothing") {
    EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, name.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  } else {
    FAIL() << "unknown role " << role;
  }
}

int child(const char* role, const std::string& name) {
  return runChildTest("NamedMutexChild.Role", std::string(role) + ":" + name);
}

TEST(NamedMutex, IsSharedWithAnotherProcess) {
  std::string name = uniqueName("mutex-test-process");
  HANDLE mutex = CreateMutexA(nullptr, TRUE, name.c_str());
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(child("finds-it-taken", name), 0);
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(child("takes-and-releases", name), 0);
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ReleaseMutex(mutex));
  CloseHandle(mutex);
}

TEST(NamedMutex, ProcessDyingAsOwnerLeavesItAbandoned) {
  std::string name = uniqueName("mutex-test-dying");
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(child("takes-and-dies", name), 0);
  EXPECT_EQ(WaitForSingleObject(mutex, 1000), WAIT_ABANDONED_0);
  EXPECT_TRUE(ReleaseMutex(mutex));
  CloseHandle(mutex);
}

TEST(NamedMutex, NameGoesWithTheLastHandle) {
  std::string name = uniqueName("mutex-test-lifetime");
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  ASSERT_NE(mutex, nullptr);
  HANDLE opened = OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
  ASSERT_NE(opened, nullptr);
  CloseHandle(mutex);
  EXPECT_EQ(child("takes-and-releases", name), 0);  // still there through `opened`
  CloseHandle(opened);
  SetLastError(0);
  EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, name.c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(child("finds-nothing", name), 0);
}

TEST(NamedMutex, SegmentLeftByDeadProcessesIsMadeAfresh) {
  std::string name = uniqueName("mutex-test-stale");
  ASSERT_EQ(child("creates-and-dies", name), 0);
  // Nobody alive has it open: the name is free again, as on Windows.
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ReleaseMutex(mutex));
  CloseHandle(mutex);
}

TEST(NamedMutex, LongNamesUpToMaxPathWork) {
  std::string stem = uniqueName("mutex-test-long-");
  std::string a = stem + std::string(240 - stem.size(), 'a');
  std::string b = stem + std::string(240 - stem.size() - 1, 'a') + "b";  // differs in its last character only
  HANDLE first = CreateMutexA(nullptr, FALSE, a.c_str());
  ASSERT_NE(first, nullptr);
  HANDLE second = CreateMutexA(nullptr, FALSE, b.c_str());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));  // a different object
  EXPECT_EQ(child("takes-and-releases", a), 0);
  CloseHandle(first);
  CloseHandle(second);
  SetLastError(0);
  EXPECT_EQ(CreateMutexA(nullptr, FALSE, std::string(MAX_PATH, 'x').c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
}

TEST(NamedMutex, CreatorWhoFindsItExistingDoesNotOwnIt) {
  std::string name = uniqueName("mutex-test-existing");
  HANDLE first = CreateMutexA(nullptr, FALSE, name.c_str());
  HANDLE second = CreateMutexA(nullptr, TRUE, name.c_str());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_FALSE(ReleaseMutex(second));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
  CloseHandle(first);
  CloseHandle(second);
}

}  // namespace
