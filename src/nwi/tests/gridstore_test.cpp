// The grid's file store: budgets, locking, paging out oldest first and back
// exactly, and I/O failures that keep every byte.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include "gridstore.h"

namespace {

// Each test's temporary files go to a directory of its own.
class GridStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/gridstoreXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory = pattern;
    setenv("TMP", directory.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("TMP");
    std::string command = "rm -rf '" + directory + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  static long fileSize(const GridFileStore* store) {
    struct stat info {};
    return stat(store->fileName.get(), &info) == 0 ? static_cast<long>(info.st_size) : -1;
  }
  // Locks, fills with `seed` and unlocks.
  static void fill(GridMemoryObject* object, int seed) {
    BYTE* memory = GridObjectLock(object);
    ASSERT_NE(memory, nullptr);
    for (DWORD i = 0; i < object->size; ++i) memory[i] = static_cast<BYTE>(seed + i);
    GridObjectUnlock(object);
  }
  static bool holds(GridMemoryObject* object, int seed) {
    BYTE* memory = GridObjectLock(object);
    bool same = memory != nullptr;
    for (DWORD i = 0; same && i < object->size; ++i) same = memory[i] == static_cast<BYTE>(seed + i);
    GridObjectUnlock(object);
    return same;
  }
  std::string directory;
};

TEST_F(GridStoreTest, BudgetSetsTheWaterMarks) {
  struct Case {
    int budget;
    int64_t high, low;
    bool file;
  };
  const Case cases[] = {{0, 10000, 5000, true}, {1, 10000, 5000, true}, {3, 3000, 1500, true},
                        {250, 250000, 125000, true}, {-1, 100, 50, false}};
  for (const Case& c : cases) {
    GridStorePtr store(GridStoreCreate(c.budget));
    ASSERT_TRUE(store);
    EXPECT_EQ(store->highWater, c.high) << c.budget;
    EXPECT_EQ(store->lowWater, c.low) << c.budget;
    EXPECT_EQ(store->file != nullptr, c.file) << c.budget;
    if (c.file) {
      const std::string name = store->fileName.get();
      EXPECT_EQ(name.rfind(directory + "/kys", 0), 0u) << name;
    }
  }
}

TEST_F(GridStoreTest, DestroyDeletesTheTemporaryFile) {
  std::string name;
  {
    GridStorePtr store(GridStoreCreate(2));
    name = store->fileName.get();
    EXPECT_EQ(access(name.c_str(), F_OK), 0);
  }
  EXPECT_NE(access(name.c_str(), F_OK), 0);
}

TEST_F(GridStoreTest, FirstLockGivesZeroFilledMemory) {
  GridStorePtr store(GridStoreCreate(2));
  GridMemoryObject* object = GridObjectCreate(store.get(), 300);
  EXPECT_EQ(store->objectCount, 1);
  const BYTE* memory = GridObjectLock(object);
  ASSERT_NE(memory, nullptr);
  EXPECT_EQ(std::vector<BYTE>(memory, memory + 300), std::vector<BYTE>(300, 0));
  EXPECT_EQ(store->residentBytes, 300);
  EXPECT_EQ(object->fileOffset, GridMemoryObject::kNoSlot);
  GridObjectUnlock(object);
}

// Budget 3: high water 3000, low 1500. Ten objects of 1000 bytes.
TEST_F(GridStoreTest, PagesOutOldestFirstAndReadsBackExactly) {
  GridStorePtr store(GridStoreCreate(3));
  std::vector<GridMemoryObject*> objects;
  for (int i = 0; i < 10; ++i) {
    objects.push_back(GridObjectCreate(store.get(), 1000));
    fill(objects.back(), i * 7);
    EXPECT_LT(store->residentBytes, 3000 + 1000) << i;
  }
  // The oldest went out first; the newest is still in memory.
  EXPECT_FALSE(objects[0]->memory);
  EXPECT_NE(objects[0]->fileOffset, GridMemoryObject::kNoSlot);
  EXPECT_TRUE(objects[9]->memory);
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(holds(objects[i], i * 7)) << i;
  EXPECT_EQ(fileSize(store.get()) % 1000, 0);
}

TEST_F(GridStoreTest, ALockedObjectIsNeverWrittenOut) {
  GridStorePtr store(GridStoreCreate(3));
  GridMemoryObject* held = GridObjectCreate(store.get(), 1000);
  fill(held, 1);
  GridObjectLock(held);
  GridObjectLock(held);
  GridObjectUnlock(held);  // still locked once
  for (int i = 0; i < 8; ++i) fill(GridObjectCreate(store.get(), 1000), i);
  EXPECT_TRUE(held->memory);
  EXPECT_EQ(held->fileOffset, GridMemoryObject::kNoSlot);
  GridObjectUnlock(held);
  for (int i = 0; i < 8; ++i) fill(GridObjectCreate(store.get(), 1000), i);
  EXPECT_FALSE(held->memory) << "after the last unlock a trim writes it out";
  EXPECT_TRUE(holds(held, 1));
}

TEST_F(GridStoreTest, FreeingNeverShrinksTheFile) {
  GridStorePtr store(GridStoreCreate(2));
  std::vector<GridMemoryObject*> objects;
  for (int i = 0; i < 12; ++i) {
    objects.push_back(GridObjectCreate(store.get(), 500));
    fill(objects.back(), i);
  }
  const long size = fileSize(store.get());
  ASSERT_GT(size, 0);
  for (GridMemoryObject* object : objects) GridObjectFree(object);
  EXPECT_EQ(store->objectCount, 0);
  EXPECT_EQ(store->residentBytes, 0);
  EXPECT_EQ(fileSize(store.get()), size);
}

TEST_F(GridStoreTest, TooManyUnlocksAreReportedAndTheCountStaysAtZero) {
  GridStorePtr store(GridStoreCreate(2));
  GridMemoryObject* object = GridObjectCreate(store.get(), 10);
  testing::internal::CaptureStderr();
  GridObjectUnlock(object);
  const std::string output = testing::internal::GetCapturedStderr();
  EXPECT_NE(output.find("Grid File Store:"), std::string::npos);
  EXPECT_NE(output.find("Too many unlocks on memory obj"), std::string::npos);
  EXPECT_EQ(object->lockCount, 0);
}

// A file that cannot grow (the process's file size limit): write-outs fail,
// every object stays in memory with its bytes, and the failure is reported.
TEST_F(GridStoreTest, AFailedWriteOutKeepsTheObjectResident) {
  GridStorePtr store(GridStoreCreate(2));
  std::vector<GridMemoryObject*> objects;
  for (int i = 0; i < 3; ++i) {
    objects.push_back(GridObjectCreate(store.get(), 1000));
    fill(objects.back(), 40 + i);
  }
  const long before = fileSize(store.get());
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tight = saved;
  tight.rlim_cur = static_cast<rlim_t>(before);
  setrlimit(RLIMIT_FSIZE, &tight);
  testing::internal::CaptureStderr();
  for (int i = 0; i < 20; ++i) {
    objects.push_back(GridObjectCreate(store.get(), 1000));
    fill(objects.back(), 60 + i);
  }
  const std::string output = testing::internal::GetCapturedStderr();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_NE(output.find("Error writing to file"), std::string::npos);
  for (size_t i = 3; i < objects.size(); ++i) EXPECT_TRUE(objects[i]->memory) << i;
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(holds(objects[static_cast<size_t>(i)], 40 + i)) << i;
  for (int i = 0; i < 20; ++i) EXPECT_TRUE(holds(objects[static_cast<size_t>(3 + i)], 60 + i)) << i;
}

// A slot that cannot be read whole is not handed out as garbage.
TEST_F(GridStoreTest, AFailedReadIsReportedAndGivesNoMemory) {
  GridStorePtr store(GridStoreCreate(2));
  std::vector<GridMemoryObject*> objects;
  for (int i = 0; i < 12; ++i) {
    objects.push_back(GridObjectCreate(store.get(), 1000));
    fill(objects.back(), i);
  }
  ASSERT_FALSE(objects[0]->memory);
  ASSERT_EQ(truncate(store->fileName.get(), 0), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(GridObjectLock(objects[0]), nullptr);
  const std::string output = testing::internal::GetCapturedStderr();
  EXPECT_NE(output.find("Error reading from file"), std::string::npos);
  EXPECT_EQ(objects[0]->lockCount, 0);
  EXPECT_FALSE(objects[0]->memory);
}

}  // namespace
