#include <internal/kobject.h>
#include <winbase.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "scratchdir.h"

namespace fs = std::filesystem;

namespace {

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;

HANDLE open(const std::string& name, DWORD access, DWORD disposition, DWORD flags = FILE_ATTRIBUTE_NORMAL) {
  return CreateFileA(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition, flags, nullptr);
}

// Write then read through one handle; answers what was read back.
std::string writeAndReadBack(HANDLE h, const std::string& text) {
  DWORD written = 0, read = 0;
  EXPECT_TRUE(WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
  EXPECT_EQ(written, text.size());
  EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_BEGIN), 0u);
  std::string back(text.size() + 8, '\0');
  EXPECT_TRUE(ReadFile(h, back.data(), static_cast<DWORD>(back.size()), &read, nullptr));
  back.resize(read);
  return back;
}

}  // namespace

TEST(Creating, DispositionsAnswerDocumentedResultsAndLastErrors) {
  struct Case {
    DWORD disposition;
    bool exists;
    bool succeeds;
    DWORD lastError;
    const char* contentAfter;  // nullptr: the file does not exist afterwards
  } cases[] = {
      {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
      {CREATE_NEW, false, true, ERROR_SUCCESS, ""},
      {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
      {CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
      {OPEN_EXISTING, true, true, ERROR_SUCCESS, "old"},
      {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
      {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
      {OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
      {TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, ""},
      {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    if (c.exists) dir.write("f.dat", "old");
    SetLastError(0xDEAD);
    HANDLE h = open(dir / "f.dat", kReadWrite, c.disposition);
    const DWORD error = GetLastError();
    SCOPED_TRACE(testing::Message() << "disposition " << c.disposition << (c.exists ? " existing" : " absent"));
    EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.succeeds);
    EXPECT_EQ(error, c.lastError);
    if (h != INVALID_HANDLE_VALUE) {
      EXPECT_TRUE(CloseHandle(h));
    }
    EXPECT_EQ(fs::exists(dir.path() / "f.dat"), c.contentAfter != nullptr);
    if (c.contentAfter) {
      EXPECT_EQ(dir.read("f.dat"), c.contentAfter);
    }
  }
}

TEST(Creating, RefusesBadArgumentsAndMissingDirectories) {
  ScratchDir dir;
  struct Case {
    std::string name;
    DWORD access;
    DWORD disposition;
    DWORD error;
  } cases[] = {
      {dir / "a", kReadWrite, 0, ERROR_INVALID_PARAMETER},
      {dir / "a", kReadWrite, 6, ERROR_INVALID_PARAMETER},
      {dir / "a", GENERIC_READ, TRUNCATE_EXISTING, ERROR_INVALID_PARAMETER},
      {"", kReadWrite, OPEN_ALWAYS, ERROR_PATH_NOT_FOUND},
      {dir / "missing/a", kReadWrite, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
      {dir / "missing/a", kReadWrite, CREATE_NEW, ERROR_PATH_NOT_FOUND},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(open(c.name, c.access, c.disposition), INVALID_HANDLE_VALUE) << c.name << " " << c.disposition;
    EXPECT_EQ(GetLastError(), c.error) << c.name << " " << c.disposition;
  }
  SetLastError(0);
  EXPECT_EQ(CreateFileA(nullptr, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(Creating, OpensWindowsSpellingWithBackslashesAndWrongCase) {
  ScratchDir dir;
  fs::create_directory(dir.path() / "SubDir");
  dir.write("SubDir/Data.TXT", "payload");
  HANDLE h = open(windowsSpelling(dir.str()) + "\\subdir\\DATA.txt", GENERIC_READ, OPEN_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  char buffer[16] = {};
  DWORD read = 0;
  EXPECT_TRUE(ReadFile(h, buffer, sizeof buffer, &read, nullptr));
  EXPECT_EQ(std::string(buffer, read), "payload");
  CloseHandle(h);
}

TEST(ReadWriteFile, RoundTripAndEndOfFile) {
  ScratchDir dir;
  HANDLE h = open(dir / "rt.bin", kReadWrite, CREATE_ALWAYS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  const std::string text("line one\r\nline\0two", 18);
  EXPECT_EQ(writeAndReadBack(h, text), text);
  // At the end a read succeeds with no bytes.
  char c;
  DWORD read = 99;
  EXPECT_TRUE(ReadFile(h, &c, 1, &read, nullptr));
  EXPECT_EQ(read, 0u);
  // A write of nothing changes nothing.
  DWORD written = 99;
  EXPECT_TRUE(WriteFile(h, "", 0, &written, nullptr));
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(GetFileSize(h, nullptr), text.size());
  CloseHandle(h);
  EXPECT_EQ(dir.read("rt.bin"), text);
}

TEST(ReadWriteFile, AccessRightsOfTheHandleAreEnforced) {
  ScratchDir dir;
  dir.write("f", "abc");
  HANDLE reader = open(dir / "f", GENERIC_READ, OPEN_EXISTING);
  HANDLE writer = open(dir / "f", GENERIC_WRITE, OPEN_EXISTING);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  char buffer[4];
  DWORD n;
  SetLastError(0);
  EXPECT_FALSE(WriteFile(reader, "x", 1, &n, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  SetLastError(0);
  EXPECT_FALSE(ReadFile(writer, buffer, 1, &n, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  SetLastError(0);
  EXPECT_FALSE(SetEndOfFile(reader));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  SetLastError(0);
  EXPECT_FALSE(ReadFile(reader, nullptr, 4, &n, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOACCESS));
  CloseHandle(reader);
  CloseHandle(writer);
  // No data rights at all: size and times only.
  HANDLE query = open(dir / "f", 0, OPEN_EXISTING);
  ASSERT_NE(query, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetFileSize(query, nullptr), 3u);
  SetLastError(0);
  EXPECT_FALSE(ReadFile(query, buffer, 1, &n, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  CloseHandle(query);
}

TEST(ReadWriteFile, AppendOnlyAccessWritesAtTheEnd) {
  ScratchDir dir;
  dir.write("log.txt", "first\n");
  HANDLE h = open(dir / "log.txt", FILE_APPEND_DATA, OPEN_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  SetFilePointer(h, 0, nullptr, FILE_BEGIN);
  DWORD n;
  EXPECT_TRUE(WriteFile(h, "second\n", 7, &n, nullptr));
  CloseHandle(h);
  EXPECT_EQ(dir.read("log.txt"), "first\nsecond\n");
}

TEST(ReadWriteFile, OverlappedRecordGivesTheOffset) {
  ScratchDir dir;
  HANDLE h = open(dir / "o.bin", kReadWrite, CREATE_ALWAYS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD n;
  ASSERT_TRUE(WriteFile(h, "0123456789", 10, &n, nullptr));
  OVERLAPPED at{};
  at.Offset = 4;
  EXPECT_TRUE(WriteFile(h, "ab", 2, &n, &at));
  EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 6u);  // the pointer follows the transfer
  char buffer[4] = {};
  at.Offset = 3;
  EXPECT_TRUE(ReadFile(h, buffer, 4, &n, &at));
  EXPECT_EQ(std::string(buffer, n), "3ab6");
  EXPECT_EQ(at.InternalHigh, 4u);
  at.Offset = 10;
  SetLastError(0);
  EXPECT_FALSE(ReadFile(h, buffer, 4, &n, &at));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HANDLE_EOF));
  EXPECT_EQ(n, 0u);
  at.Offset = at.OffsetHigh = 0xFFFFFFFF;  // "append"
  EXPECT_TRUE(WriteFile(h, "Z", 1, &n, &at));
  CloseHandle(h);
  EXPECT_EQ(dir.read("o.bin"), "0123ab6789Z");
}

TEST(SetFilePointer, MovesAndRefusalsTable) {
  ScratchDir dir;
  dir.write("ten", "0123456789");
  HANDLE h = open(dir / "ten", kReadWrite, OPEN_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  struct Case {
    LONG distance;
    DWORD method;
    DWORD expected;  // INVALID_SET_FILE_POINTER for a refusal
    DWORD error;
  } cases[] = {
      {0, FILE_END, 10, NO_ERROR},
      {5, FILE_BEGIN, 5, NO_ERROR},
      {-3, FILE_CURRENT, 2, NO_ERROR},
      {100, FILE_BEGIN, 100, NO_ERROR},  // past the end is allowed
      {-101, FILE_CURRENT, INVALID_SET_FILE_POINTER, ERROR_NEGATIVE_SEEK},
      {-11, FILE_END, INVALID_SET_FILE_POINTER, ERROR_NEGATIVE_SEEK},
      {0, 7, INVALID_SET_FILE_POINTER, ERROR_INVALID_PARAMETER},
  };
  DWORD position = 0;
  for (const auto& c : cases) {
    SetLastError(0xDEAD);
    const DWORD result = SetFilePointer(h, c.distance, nullptr, c.method);
    EXPECT_EQ(result, c.expected) << c.distance << " from " << c.method;
    EXPECT_EQ(GetLastError(), c.error) << c.distance << " from " << c.method;
    if (result != INVALID_SET_FILE_POINTER) position = result;
    // A refused move leaves the pointer where it was.
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), position);
  }
  EXPECT_EQ(GetFileSize(h, nullptr), 10u);  // moving past the end does not grow the file
  CloseHandle(h);
}

TEST(SetFilePointer, WritingAndCuttingPastTheEnd) {
  ScratchDir dir;
  dir.write("f", "abc");
  HANDLE h = open(dir / "f", kReadWrite, OPEN_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  SetFilePointer(h, 5, nullptr, FILE_BEGIN);
  DWORD n;
  EXPECT_TRUE(WriteFile(h, "Z", 1, &n, nullptr));
  EXPECT_EQ(dir.read("f"), std::string("abc\0\0Z", 6));
  SetFilePointer(h, 2, nullptr, FILE_BEGIN);
  EXPECT_TRUE(SetEndOfFile(h));
  EXPECT_EQ(dir.read("f"), "ab");
  SetFilePointer(h, 4, nullptr, FILE_BEGIN);
  EXPECT_TRUE(SetEndOfFile(h));
  EXPECT_EQ(dir.read("f"), std::string("ab\0\0", 4));
  CloseHandle(h);
}

TEST(SetFilePointer, HighPartAndPositionsBeyondFourGigabytes) {
  ScratchDir dir;
  HANDLE h = open(dir / "big", kReadWrite, CREATE_ALWAYS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LONG high = 1;
  SetLastError(0xDEAD);
  EXPECT_EQ(SetFilePointer(h, 5, &high, FILE_BEGIN), 5u);
  EXPECT_EQ(high, 1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
  ASSERT_TRUE(SetEndOfFile(h));  // sparse: no space is used
  DWORD sizeHigh = 0;
  EXPECT_EQ(GetFileSize(h, &sizeHigh), 5u);
  EXPECT_EQ(sizeHigh, 1u);
  LARGE_INTEGER size;
  ASSERT_TRUE(GetFileSizeEx(h, &size));
  EXPECT_EQ(size.QuadPart, 0x100000005LL);
  // Without a high part the position must fit in 32 bits.
  SetLastError(0);
  EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
  EXPECT_NE(GetLastError(), static_cast<DWORD>(NO_ERROR));
  // A low part of 0xFFFFFFFF is a position, told apart by the last error.
  high = 0;
  SetLastError(0xDEAD);
  EXPECT_EQ(SetFilePointer(h, -1, &high, FILE_BEGIN), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
  EXPECT_EQ(high, 0);
  // A negative 64-bit distance from the end.
  high = -1;
  EXPECT_EQ(SetFilePointer(h, -5, &high, FILE_END), 0u);
  EXPECT_EQ(high, 1);
  LARGE_INTEGER distance, now;
  distance.QuadPart = -0x100000000LL;
  EXPECT_TRUE(SetFilePointerEx(h, distance, &now, FILE_CURRENT));
  EXPECT_EQ(now.QuadPart, 0);
  CloseHandle(h);
}

TEST(Creating, ReadOnlyAttributeRefusesWritingAndReplacing) {
  ScratchDir dir;
  HANDLE h = open(dir / "ro.txt", kReadWrite, CREATE_NEW, FILE_ATTRIBUTE_READONLY);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD n;
  EXPECT_TRUE(WriteFile(h, "x", 1, &n, nullptr));  // the creating handle may write
  CloseHandle(h);
  for (DWORD disposition : {DWORD(OPEN_EXISTING), DWORD(OPEN_ALWAYS), DWORD(CREATE_ALWAYS), DWORD(TRUNCATE_EXISTING)}) {
    SetLastError(0);
    EXPECT_EQ(open(dir / "ro.txt", GENERIC_WRITE, disposition), INVALID_HANDLE_VALUE) << disposition;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << disposition;
  }
  h = open(dir / "ro.txt", GENERIC_READ, OPEN_EXISTING);
  EXPECT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  EXPECT_EQ(dir.read("ro.txt"), "x");
}

TEST(Creating, DeleteOnCloseRemovesTheFileWithTheLastHandle) {
  ScratchDir dir;
  HANDLE h = open(dir / "tmp.dat", kReadWrite, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  HANDLE second = win32::duplicateHandle(h);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_TRUE(fs::exists(dir.path() / "tmp.dat"));
  EXPECT_TRUE(CloseHandle(second));
  EXPECT_FALSE(fs::exists(dir.path() / "tmp.dat"));
  // A file that took the name meanwhile is not the one to delete.
  h = open(dir / "tmp.dat", kReadWrite, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  fs::rename(dir.path() / "tmp.dat", dir.path() / "moved.dat");
  dir.write("tmp.dat", "other");
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_EQ(dir.read("tmp.dat"), "other");
}

TEST(Creating, DirectoriesOpenOnlyWithBackupSemantics) {
  ScratchDir dir;
  fs::create_directory(dir.path() / "d");
  SetLastError(0);
  EXPECT_EQ(open(dir / "d", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  HANDLE h = open(dir / "d", GENERIC_READ, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetFileType(h), static_cast<DWORD>(FILE_TYPE_DISK));
  FILETIME written{};
  EXPECT_TRUE(GetFileTime(h, nullptr, nullptr, &written));
  EXPECT_NE(written.dwHighDateTime, 0u);
  char buffer[4];
  DWORD n;
  SetLastError(0);
  EXPECT_FALSE(ReadFile(h, buffer, sizeof buffer, &n, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FUNCTION));
  CloseHandle(h);
}

TEST(LockFile, RangesExcludeOtherHandlesAndUnlockOnlyExactly) {
  ScratchDir dir;
  dir.write("shared", std::string(64, 'x'));
  HANDLE first = open(dir / "shared", kReadWrite, OPEN_EXISTING);
  HANDLE second = open(dir / "shared", kReadWrite, OPEN_EXISTING);
  ASSERT_NE(first, INVALID_HANDLE_VALUE);
  ASSERT_NE(second, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(LockFile(first, 0, 0, 10, 0));
  struct Case {
    HANDLE h;
    DWORD offset, length;
    bool lock;  // false: unlock
    DWORD error;
  } cases[] = {
      {second, 5, 10, true, ERROR_LOCK_VIOLATION},  // overlaps the first handle's range
      {first, 9, 2, true, ERROR_LOCK_VIOLATION},    // a handle's own ranges do not overlap either
      {second, 10, 10, true, ERROR_SUCCESS},        // adjacent is free
      {first, 0, 5, false, ERROR_NOT_LOCKED},       // only the exact range unlocks
      {second, 0, 10, false, ERROR_NOT_LOCKED},     // nor another handle's
      {first, 0, 10, false, ERROR_SUCCESS},
      {second, 0, 10, true, ERROR_SUCCESS},         // free again
      {first, 30, 0, true, ERROR_SUCCESS},          // no bytes: nothing to exclude
      {first, 0, 0xFFFFFFFF, true, ERROR_LOCK_VIOLATION},
  };
  for (const auto& c : cases) {
    SetLastError(ERROR_SUCCESS);
    const BOOL ok = c.lock ? LockFile(c.h, c.offset, 0, c.length, 0) : UnlockFile(c.h, c.offset, 0, c.length, 0);
    EXPECT_EQ(ok != FALSE, c.error == ERROR_SUCCESS) << c.offset << "+" << c.length;
    EXPECT_EQ(GetLastError(), c.error) << c.offset << "+" << c.length;
  }
  CloseHandle(second);  // closing releases its locks
  EXPECT_TRUE(LockFile(first, 0, 0, 64, 0));
  CloseHandle(first);
}

TEST(FileTimes, SetAndGetRoundTrip) {
  ScratchDir dir;
  HANDLE h = open(dir / "t", kReadWrite, CREATE_ALWAYS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  SYSTEMTIME when{2001, 9, 0, 8, 12, 34, 56, 0};
  FILETIME written, accessed;
  ASSERT_TRUE(SystemTimeToFileTime(&when, &written));
  when.wYear = 2002;
  ASSERT_TRUE(SystemTimeToFileTime(&when, &accessed));
  EXPECT_TRUE(SetFileTime(h, nullptr, &accessed, &written));
  FILETIME gotWritten{}, gotAccessed{}, created{};
  EXPECT_TRUE(GetFileTime(h, &created, &gotAccessed, &gotWritten));
  EXPECT_EQ(CompareFileTime(&gotWritten, &written), 0);
  EXPECT_EQ(CompareFileTime(&gotAccessed, &accessed), 0);
  // A null time leaves that time alone.
  EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, nullptr));
  EXPECT_TRUE(GetFileTime(h, nullptr, nullptr, &gotWritten));
  EXPECT_EQ(CompareFileTime(&gotWritten, &written), 0);
  CloseHandle(h);
  HANDLE reader = open(dir / "t", GENERIC_READ, OPEN_EXISTING);
  SetLastError(0);
  EXPECT_FALSE(SetFileTime(reader, nullptr, nullptr, &written));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  CloseHandle(reader);
}

TEST(StdHandles, AreFileObjectsThatStayTheSame) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  ASSERT_NE(out, INVALID_HANDLE_VALUE);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(GetStdHandle(STD_OUTPUT_HANDLE), out);
  EXPECT_NE(GetStdHandle(STD_ERROR_HANDLE), out);
  const DWORD type = GetFileType(out);
  EXPECT_TRUE(type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE || type == FILE_TYPE_DISK) << type;
  DWORD n = 0;
  EXPECT_TRUE(WriteFile(GetStdHandle(STD_ERROR_HANDLE), "", 0, &n, nullptr));
  // Closing the handle leaves the descriptor: a new handle serves it.
  EXPECT_TRUE(CloseHandle(out));
  HANDLE again = GetStdHandle(STD_OUTPUT_HANDLE);
  EXPECT_NE(again, INVALID_HANDLE_VALUE);
  EXPECT_NE(GetFileType(again), static_cast<DWORD>(FILE_TYPE_UNKNOWN));
  SetLastError(0);
  EXPECT_EQ(GetStdHandle(42), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(FileHandles, BadHandlesAnswerInvalidHandle) {
  struct Other : win32::KernelObject {};
  HANDLE notAFile = win32::insertHandle(std::make_shared<Other>());
  char buffer[4];
  DWORD n;
  LONG high = 0;
  FILETIME ft;
  for (HANDLE bad : {HANDLE(nullptr), INVALID_HANDLE_VALUE, HANDLE(0x7654), notAFile}) {
    auto expectInvalid = [&](bool failed, const char* what) {
      EXPECT_TRUE(failed) << what;
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE)) << what;
      SetLastError(0);
    };
    SetLastError(0);
    expectInvalid(!ReadFile(bad, buffer, 4, &n, nullptr), "ReadFile");
    expectInvalid(!WriteFile(bad, buffer, 4, &n, nullptr), "WriteFile");
    expectInvalid(SetFilePointer(bad, 0, &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER, "SetFilePointer");
    expectInvalid(!SetEndOfFile(bad), "SetEndOfFile");
    expectInvalid(GetFileSize(bad, nullptr) == INVALID_FILE_SIZE, "GetFileSize");
    expectInvalid(!FlushFileBuffers(bad), "FlushFileBuffers");
    expectInvalid(!GetFileTime(bad, &ft, &ft, &ft), "GetFileTime");
    expectInvalid(!LockFile(bad, 0, 0, 1, 0), "LockFile");
    expectInvalid(GetFileType(bad) == FILE_TYPE_UNKNOWN, "GetFileType");
  }
  CloseHandle(notAFile);
}

TEST(Creating, NulDeviceSwallowsWrites) {
  HANDLE h = open("NUL", GENERIC_WRITE, OPEN_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD n = 0;
  EXPECT_TRUE(WriteFile(h, "gone", 4, &n, nullptr));
  EXPECT_EQ(n, 4u);
  EXPECT_EQ(GetFileType(h), static_cast<DWORD>(FILE_TYPE_CHAR));
  EXPECT_TRUE(FlushFileBuffers(h));
  CloseHandle(h);
}
