#include <internal/kobject.h>
#include <winbase.h>

#include <gtest/gtest.h>

namespace {
struct Probe : win32::KernelObject {
  explicit Probe(bool* alive) : alive(alive) { *alive = true; }
  ~Probe() override { *alive = false; }
  bool* alive;
};
struct Other : win32::KernelObject {};
}  // namespace

TEST(Handles, CloseReleasesObjectOnceLastHandleGoes) {
  bool alive = false;
  HANDLE h = win32::insertHandle(std::make_shared<Probe>(&alive));
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(h) % 4, 0u);
  HANDLE dup = win32::duplicateHandle(h);
  ASSERT_NE(dup, nullptr);
  EXPECT_NE(dup, h);
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_TRUE(alive);
  EXPECT_TRUE(CloseHandle(dup));
  EXPECT_FALSE(alive);
}

TEST(Handles, UnknownOrClosedHandleFailsWithInvalidHandle) {
  for (HANDLE bad : {static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE, reinterpret_cast<HANDLE>(0x12345678)}) {
    SetLastError(0);
    EXPECT_FALSE(CloseHandle(bad));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  }
  HANDLE h = win32::insertHandle(std::make_shared<Other>());
  ASSERT_TRUE(CloseHandle(h));
  SetLastError(0);
  EXPECT_FALSE(CloseHandle(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(Handles, LookupByTypeRefusesOtherKinds) {
  bool alive = false;
  HANDLE h = win32::insertHandle(std::make_shared<Probe>(&alive));
  EXPECT_NE(win32::lookupHandleAs<Probe>(h), nullptr);
  SetLastError(0);
  EXPECT_EQ(win32::lookupHandleAs<Other>(h), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  CloseHandle(h);
}
