#include <winbase.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

TEST(Tls, EachThreadSeesItsOwnValue) {
  DWORD slot = TlsAlloc();
  ASSERT_NE(slot, TLS_OUT_OF_INDEXES);
  int here = 1, there = 2;
  EXPECT_TRUE(TlsSetValue(slot, &here));
  std::thread([&] {
    EXPECT_EQ(TlsGetValue(slot), nullptr);  // a new thread starts with null
    EXPECT_TRUE(TlsSetValue(slot, &there));
    EXPECT_EQ(TlsGetValue(slot), &there);
  }).join();
  EXPECT_EQ(TlsGetValue(slot), &here);
  EXPECT_TRUE(TlsFree(slot));
}

TEST(Tls, GetValueClearsTheLastErrorOnSuccess) {
  DWORD slot = TlsAlloc();
  SetLastError(ERROR_INVALID_HANDLE);
  EXPECT_EQ(TlsGetValue(slot), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  TlsFree(slot);
}

TEST(Tls, FreedSlotReadsNullWhenAllocatedAgain) {
  DWORD slot = TlsAlloc();
  int value = 3;
  TlsSetValue(slot, &value);
  TlsFree(slot);
  DWORD again = TlsAlloc();
  ASSERT_EQ(again, slot);  // the lowest free slot is reused
  EXPECT_EQ(TlsGetValue(again), nullptr);
  TlsFree(again);
}

TEST(Tls, OffersAtLeast1088SlotsThenRunsOut) {
  std::vector<DWORD> slots;
  for (;;) {
    DWORD slot = TlsAlloc();
    if (slot == TLS_OUT_OF_INDEXES) break;
    slots.push_back(slot);
    ASSERT_LT(slots.size(), 100000u);
  }
  EXPECT_GE(slots.size(), 1088u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
  // The highest slot works like any other.
  int value = 4;
  EXPECT_TRUE(TlsSetValue(slots.back(), &value));
  EXPECT_EQ(TlsGetValue(slots.back()), &value);
  for (DWORD slot : slots) EXPECT_TRUE(TlsFree(slot));
}

TEST(Tls, InvalidIndexesFail) {
  for (DWORD bad : {static_cast<DWORD>(TLS_OUT_OF_INDEXES), 5000u}) {
    SetLastError(0);
    EXPECT_EQ(TlsGetValue(bad), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(TlsSetValue(bad, nullptr));
    EXPECT_FALSE(TlsFree(bad));
  }
  DWORD slot = TlsAlloc();
  TlsFree(slot);
  EXPECT_FALSE(TlsFree(slot));  // twice
  EXPECT_FALSE(TlsSetValue(slot, nullptr));
}

}  // namespace
