#include <winbase.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include <sys/mman.h>
#include <unistd.h>

namespace {

TEST(GlobalMemory, FixedBlockHandleIsItsPointer) {
  HGLOBAL block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, 40);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalLock(block), block);
  EXPECT_EQ(GlobalHandle(block), block);
  EXPECT_EQ(GlobalSize(block), 40u);
  EXPECT_EQ(GlobalFlags(block), 0u);
  const char zeros[40] = {};
  EXPECT_EQ(std::memcmp(block, zeros, sizeof zeros), 0);
  EXPECT_TRUE(GlobalUnlock(block));  // fixed blocks keep no lock count
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, MoveableBlockCountsLocks) {
  HGLOBAL block = GlobalAlloc(GHND, 16);
  ASSERT_NE(block, nullptr);
  char* data = static_cast<char*>(GlobalLock(block));
  ASSERT_NE(data, nullptr);
  EXPECT_NE(static_cast<void*>(data), block);
  EXPECT_EQ(GlobalHandle(data), block);
  EXPECT_EQ(GlobalLock(block), data);
  EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 2u);
  EXPECT_TRUE(GlobalUnlock(block));  // still locked once
  SetLastError(ERROR_INVALID_HANDLE);
  EXPECT_FALSE(GlobalUnlock(block));  // now unlocked: zero with NO_ERROR
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
  EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 0u);
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, ReallocationKeepsContentsAndZeroesGrowth) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
  std::memcpy(GlobalLock(block), "abcd", 4);
  GlobalUnlock(block);
  HGLOBAL grown = GlobalReAlloc(block, 100000, GMEM_MOVEABLE | GMEM_ZEROINIT);
  ASSERT_EQ(grown, block);  // a moveable block keeps its handle
  EXPECT_EQ(GlobalSize(grown), 100000u);
  const char* data = static_cast<const char*>(GlobalLock(grown));
  EXPECT_EQ(std::memcmp(data, "abcd", 4), 0);
  EXPECT_EQ(data[4], 0);
  EXPECT_EQ(data[99999], 0);
  GlobalUnlock(grown);
  GlobalFree(grown);

  // A fixed block moves only when GMEM_MOVEABLE allows it; its handle follows.
  HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 8);
  std::memcpy(fixed, "12345678", 8);
  EXPECT_EQ(GlobalReAlloc(fixed, 1 << 20, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  HGLOBAL moved = GlobalReAlloc(fixed, 1 << 20, GMEM_MOVEABLE | GMEM_ZEROINIT);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(std::memcmp(moved, "12345678", 8), 0);
  EXPECT_EQ(static_cast<char*>(moved)[(1 << 20) - 1], 0);
  EXPECT_EQ(GlobalLock(moved), moved);
  GlobalFree(moved);
}

TEST(GlobalMemory, LockedMoveableBlockDoesNotMoveUnlessAllowed) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 8);
  void* data = GlobalLock(block);
  EXPECT_EQ(GlobalReAlloc(block, 1 << 20, 0), nullptr);
  EXPECT_EQ(GlobalLock(block), data);
  GlobalUnlock(block);
  GlobalUnlock(block);
  EXPECT_EQ(GlobalReAlloc(block, 1 << 20, 0), block);
  GlobalFree(block);
}

TEST(GlobalMemory, DiscardAndModify) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DISCARDABLE, 32);
  EXPECT_EQ(GlobalFlags(block), static_cast<UINT>(GMEM_DISCARDABLE));
  EXPECT_EQ(GlobalDiscard(block), block);
  EXPECT_EQ(GlobalFlags(block) & GMEM_DISCARDED, static_cast<UINT>(GMEM_DISCARDED));
  EXPECT_EQ(GlobalSize(block), 0u);
  EXPECT_EQ(GlobalLock(block), nullptr);
  EXPECT_EQ(GlobalReAlloc(block, 10, GMEM_MOVEABLE), block);  // revived
  EXPECT_EQ(GlobalSize(block), 10u);
  EXPECT_NE(GlobalLock(block), nullptr);
  GlobalUnlock(block);
  GlobalFree(block);

  // GMEM_MODIFY | GMEM_MOVEABLE turns a fixed block into a moveable one.
  HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 8);
  HGLOBAL moveable = GlobalReAlloc(fixed, 0, GMEM_MODIFY | GMEM_MOVEABLE);
  ASSERT_NE(moveable, nullptr);
  EXPECT_NE(moveable, fixed);
  EXPECT_EQ(GlobalLock(moveable), fixed);  // same data
  EXPECT_EQ(GlobalFlags(moveable) & GMEM_LOCKCOUNT, 1u);
  GlobalUnlock(moveable);
  GlobalFree(moveable);

  // A moveable block of no bytes starts discarded.
  HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(GlobalFlags(empty) & GMEM_DISCARDED, static_cast<UINT>(GMEM_DISCARDED));
  GlobalFree(empty);
}

TEST(GlobalMemory, BadHandlesAreAnsweredNotCrashed) {
  HGLOBAL freed = GlobalAlloc(GMEM_MOVEABLE, 4);
  GlobalFree(freed);
  int onStack = 0;
  for (HGLOBAL bad : {freed, static_cast<HGLOBAL>(&onStack), reinterpret_cast<HGLOBAL>(0x1234)}) {
    SetLastError(0);
    EXPECT_EQ(GlobalLock(bad), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalSize(bad), 0u);
    EXPECT_EQ(GlobalFlags(bad), static_cast<UINT>(GMEM_INVALID_HANDLE));
    EXPECT_FALSE(GlobalUnlock(bad));
    EXPECT_EQ(GlobalReAlloc(bad, 8, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GlobalFree(bad), bad);  // failure answers the handle
    EXPECT_EQ(GlobalHandle(bad), nullptr);
  }
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
  EXPECT_EQ(GlobalAlloc(0x10000, 4), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(LocalMemory, BehavesAsGlobalWithItsOwnFlags) {
  HLOCAL block = LocalAlloc(LHND | LMEM_DISCARDABLE, 12);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(LocalFlags(block), static_cast<UINT>(LMEM_DISCARDABLE));
  void* data = LocalLock(block);
  EXPECT_EQ(LocalHandle(data), block);
  EXPECT_EQ(LocalSize(block), 12u);
  EXPECT_EQ(LocalFlags(block) & LMEM_LOCKCOUNT, 1u);
  EXPECT_FALSE(LocalUnlock(block));
  EXPECT_EQ(LocalReAlloc(block, 24, LMEM_MOVEABLE), block);
  EXPECT_EQ(LocalSize(block), 24u);
  EXPECT_EQ(LocalFree(block), nullptr);
  HLOCAL fixed = LocalAlloc(LPTR, 3);
  EXPECT_EQ(LocalLock(fixed), fixed);
  EXPECT_EQ(LocalFree(fixed), nullptr);
}

TEST(HeapMemory, ProcessHeapAllocatesAndChecksPointers) {
  HANDLE heap = GetProcessHeap();
  ASSERT_NE(heap, nullptr);
  auto* data = static_cast<char*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, 10));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data[9], 0);
  EXPECT_EQ(HeapSize(heap, 0, data), 10u);
  data = static_cast<char*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, data, 5000));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data[4999], 0);
  EXPECT_TRUE(HeapFree(heap, 0, data));
  int onStack = 0;
  EXPECT_FALSE(HeapFree(heap, 0, &onStack));
  EXPECT_TRUE(HeapFree(heap, 0, nullptr));
  EXPECT_EQ(HeapAlloc(reinterpret_cast<HANDLE>(0x40), 0, 4), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(MulDiv, RoundsHalfAwayFromZeroAndFailsWithMinusOne) {
  struct Case {
    int number, numerator, denominator, result;
  } cases[] = {
      {10, 72, 96, 8},       {12, 96, 72, 16},     {1, 1, 2, 1},          {-1, 1, 2, -1},
      {1, -1, 2, -1},        {1, 1, -2, -1},       {-1, -1, 2, 1},        {3, 1, 4, 1},
      {5, 1, 4, 1},          {6, 1, 4, 2},         {-6, 1, 4, -2},        {0, 5, 3, 0},
      {7, 3, 0, -1},         {INT_MAX, 2, 1, -1},  {INT_MAX, 2, 2, INT_MAX}, {INT_MIN, 1, 1, INT_MIN},
      {INT_MIN, -1, 1, -1},  {65536, 65536, 65536, 65536}, {100000, 100000, 3, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.result)
        << c.number << " * " << c.numerator << " / " << c.denominator;
}

TEST(PointerCheck, ReadAndWriteProbesDoNotFault) {
  static const char constant[] = "read only";
  char writable[64] = {};
  EXPECT_FALSE(IsBadReadPtr(writable, sizeof writable));
  EXPECT_FALSE(IsBadWritePtr(writable, sizeof writable));
  EXPECT_FALSE(IsBadReadPtr(constant, sizeof constant));
  EXPECT_TRUE(IsBadWritePtr(const_cast<char*>(constant), sizeof constant));
  EXPECT_TRUE(IsBadReadPtr(nullptr, 1));
  EXPECT_TRUE(IsBadWritePtr(nullptr, 1));
  EXPECT_FALSE(IsBadReadPtr(nullptr, 0));  // nothing to check
  EXPECT_TRUE(IsBadReadPtr(reinterpret_cast<void*>(0x10), 30));
  EXPECT_TRUE(IsBadReadPtr(writable, ~static_cast<UINT_PTR>(0)));  // wraps around
}

TEST(PointerCheck, StringProbeReadsToTheTerminatorOrTheLimit) {
  // A text that ends right before an unreadable page, and one cut by it.
  const long page = sysconf(_SC_PAGESIZE);
  char* pages = static_cast<char*>(mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(pages, MAP_FAILED);
  ASSERT_EQ(mprotect(pages + page, page, PROT_NONE), 0);
  memset(pages, 'x', page);
  pages[page - 1] = 0;
  char* endsInTime = pages + page - 5;
  struct Case {
    const char* text;
    UINT_PTR most;
    BOOL bad;
  } cases[] = {
      {"short", 100, FALSE},
      {endsInTime, ~static_cast<UINT_PTR>(0), FALSE},
      {pages, ~static_cast<UINT_PTR>(0), FALSE},  // a whole page up to its terminator
      {nullptr, 1, TRUE},
      {nullptr, 0, FALSE},  // nothing to check
      {reinterpret_cast<const char*>(0x1234), 10, TRUE},
  };
  for (const Case& c : cases) EXPECT_EQ(IsBadStringPtrA(c.text, c.most), c.bad) << static_cast<const void*>(c.text);
  pages[page - 1] = 'x';  // now the text runs into the unreadable page
  EXPECT_TRUE(IsBadStringPtrA(endsInTime, ~static_cast<UINT_PTR>(0)));
  EXPECT_FALSE(IsBadStringPtrA(endsInTime, 5)) << "the limit comes before the page";
  munmap(pages, 2 * page);
}

}  // namespace
