#include <winbase.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "childprocess.h"

namespace {

std::string uniqueName(const char* stem) { return std::string(stem) + "-" + std::to_string(getpid()); }

// The panel registry's shape: a page-file-backed mapping of 50 slots of 112 bytes.
constexpr DWORD kTableBytes = 5600;

TEST(Mapping, ViewsOfOneMappingShareTheirBytes) {
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kTableBytes, nullptr);
  ASSERT_NE(mapping, nullptr);
  auto* first = static_cast<unsigned char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  auto* second = static_cast<unsigned char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, kTableBytes));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  for (DWORD i = 0; i < kTableBytes; ++i) ASSERT_EQ(first[i], 0) << i;  // page-file mappings start zeroed
  std::memcpy(first + 4, "panel", 6);
  EXPECT_STREQ(reinterpret_cast<char*>(second + 4), "panel");
  // Closing the handle leaves the views working.
  EXPECT_TRUE(CloseHandle(mapping));
  first[kTableBytes - 1] = 7;
  EXPECT_EQ(second[kTableBytes - 1], 7);
  EXPECT_TRUE(FlushViewOfFile(first + 100, 10));
  EXPECT_TRUE(UnmapViewOfFile(first));
  EXPECT_TRUE(UnmapViewOfFile(second));
  SetLastError(0);
  EXPECT_FALSE(UnmapViewOfFile(second));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ADDRESS));
}

TEST(Mapping, CopyOnWriteViewKeepsItsChangesToItself) {
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, nullptr);
  auto* shared = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
  auto* copy = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_COPY, 0, 0, 0));
  ASSERT_NE(copy, nullptr);
  copy[0] = 'c';
  EXPECT_EQ(shared[0], 0);
  UnmapViewOfFile(shared);
  UnmapViewOfFile(copy);
  CloseHandle(mapping);
}

TEST(Mapping, RefusesWhatWindowsRefuses) {
  HANDLE readOnly = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READONLY, 0, 70000, nullptr);
  ASSERT_NE(readOnly, nullptr);
  struct Case {
    const char* what;
    DWORD access;
    DWORD offset;
    SIZE_T bytes;
    DWORD error;
  } cases[] = {
      {"write to read-only", FILE_MAP_WRITE, 0, 0, ERROR_ACCESS_DENIED},
      {"beyond the end", FILE_MAP_READ, 0, 70001, ERROR_ACCESS_DENIED},
      {"offset past the end", FILE_MAP_READ, 131072, 0, ERROR_ACCESS_DENIED},
      {"unaligned offset", FILE_MAP_READ, 4096, 0, 1132},  // ERROR_MAPPED_ALIGNMENT
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(MapViewOfFile(readOnly, c.access, 0, c.offset, c.bytes), nullptr) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
  }
  void* tail = MapViewOfFile(readOnly, FILE_MAP_READ, 0, 65536, 0);  // the last 4464 bytes
  EXPECT_NE(tail, nullptr);
  UnmapViewOfFile(tail);
  CloseHandle(readOnly);

  EXPECT_EQ(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, 0x40 /* execute */, 0, 10, nullptr), nullptr);
  EXPECT_EQ(MapViewOfFile(nullptr, FILE_MAP_READ, 0, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  int local = 0;
  EXPECT_FALSE(FlushViewOfFile(&local, 4));
  EXPECT_EQ(OpenFileMappingA(FILE_MAP_READ, FALSE, uniqueName("mapping-test-none").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

// The child's side: "<name>" — opens the mapping and the mutex of the
// same name as the panel registry does, checks the parent's slot and
// answers in the next one.
TEST(MappingChild, AnswersInTheSharedTable) {
  const char* argument = childArgument();
  if (!argument) GTEST_SKIP() << "runs only as another process's child";
  std::string name(argument);
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kTableBytes, name.c_str());
  ASSERT_NE(mapping, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  HANDLE mutex = CreateMutexA(nullptr, FALSE, (name + "-lock").c_str());
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  auto* table = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(WaitForSingleObject(mutex, 1000), WAIT_OBJECT_0);
  EXPECT_STREQ(table + 4, "from parent");
  std::snprintf(table + 112 + 4, 104, "from child %d", static_cast<int>(getpid()));
  EXPECT_TRUE(ReleaseMutex(mutex));
  UnmapViewOfFile(table);
  CloseHandle(mapping);
  CloseHandle(mutex);
}

TEST(Mapping, NamedMappingIsSharedWithAnotherProcess) {
  std::string name = uniqueName("mapping-test-registry");
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kTableBytes, name.c_str());
  ASSERT_NE(mapping, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  HANDLE mutex = CreateMutexA(nullptr, FALSE, (name + "-lock").c_str());
  ASSERT_NE(mutex, nullptr);
  auto* table = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  ASSERT_NE(table, nullptr);
  std::memcpy(table + 4, "from parent", 12);
  EXPECT_EQ(runChildTest("MappingChild.AnswersInTheSharedTable", name), 0);
  EXPECT_EQ(std::string(table + 112 + 4).rfind("from child ", 0), 0u) << table + 112 + 4;
  // Opened by name in this process: the same bytes.
  HANDLE opened = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
  ASSERT_NE(opened, nullptr);
  auto* again = static_cast<char*>(MapViewOfFile(opened, FILE_MAP_READ, 0, 0, 0));
  EXPECT_STREQ(again + 4, "from parent");
  UnmapViewOfFile(again);
  UnmapViewOfFile(table);
  CloseHandle(opened);
  CloseHandle(mapping);
  CloseHandle(mutex);
  // The last handle took the name with it.
  EXPECT_EQ(OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Mapping, NamedMappingKeepsTheFirstSize) {
  std::string name = uniqueName("mapping-test-size");
  HANDLE first = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, name.c_str());
  HANDLE second = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1 << 20, name.c_str());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(MapViewOfFile(second, FILE_MAP_READ, 0, 0, 8192), nullptr);
  CloseHandle(first);
  CloseHandle(second);
}

TEST(Mapping, FileMappingShowsAndChangesTheFile) {
  char path[] = "/tmp/ky-mapping-test-XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, "file contents", 13), 13);
  close(fd);
  HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 0, nullptr);
  ASSERT_NE(mapping, nullptr);
  CloseHandle(file);  // the mapping keeps the file
  auto* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(std::string(view, 13), "file contents");
  std::memcpy(view, "FILE", 4);
  EXPECT_TRUE(FlushViewOfFile(view, 0));
  UnmapViewOfFile(view);
  CloseHandle(mapping);
  char back[14] = {};
  std::FILE* check = std::fopen(path, "rb");
  ASSERT_NE(check, nullptr);
  EXPECT_EQ(std::fread(back, 1, 13, check), 13u);
  std::fclose(check);
  EXPECT_STREQ(back, "FILE contents");
  unlink(path);
}

}  // namespace
