// The block file manager: first-fit allocation with splitting, freeing,
// transfers, and the refusals of closed, read-only and referenced files.
#include <gtest/gtest.h>

#include <cstring>

#include "Fmgr.h"
#include "scratchdir.h"

namespace {

TEST(Fmgr, BlocksComeFromTheFreeListFirstFitElseTheEnd) {
  ScratchDir dir;
  Fmgr f;
  ASSERT_EQ(f.Create(dir.File("b.fm").c_str(), 4), NoException);
  EXPECT_EQ(f.UsedEnd(), 20u);
  uint32_t a, b, c;
  ASSERT_EQ(f.Allocate(100, &a), NoException);
  ASSERT_EQ(f.Allocate(5, &b), NoException);  // counts as 12
  EXPECT_EQ(a, 20u);
  EXPECT_EQ(b, 120u);
  EXPECT_EQ(f.UsedEnd(), 132u);
  ASSERT_EQ(f.Free(100, a), NoException);
  EXPECT_EQ(f.FreeListHead(), a);
  struct Step {
    uint32_t size;
    uint32_t offset;
    uint32_t headAfter;
    const char* what;
  } steps[] = {
      {40, 20, 60, "split: the rest (48 + 12) stays free at the block's end"},
      {50, 132, 60, "too big for the rest: from the end"},
      {60, 60, 0, "exact fit of the rest empties the list"},
  };
  for (const auto& s : steps) {
    ASSERT_EQ(f.Allocate(s.size, &c), NoException) << s.what;
    EXPECT_EQ(c, s.offset) << s.what;
    EXPECT_EQ(f.FreeListHead(), s.headAfter) << s.what;
  }
  uint32_t record[3];
  ASSERT_EQ(f.Free(12, b), NoException);
  ASSERT_EQ(f.Read(record, sizeof record, b), NoException);
  EXPECT_EQ(record[0], 0xFEFEu);
  EXPECT_EQ(record[1], 0u);
  EXPECT_EQ(record[2], 0u);
}

TEST(Fmgr, TransfersContinueAndSwitchDirection) {
  ScratchDir dir;
  Fmgr f;
  ASSERT_EQ(f.Create(dir.File("t.fm").c_str(), 0), NoException);
  uint32_t at;
  ASSERT_EQ(f.Allocate(16, &at), NoException);
  ASSERT_EQ(f.Write("abcd", 4, at), NoException);
  ASSERT_EQ(f.Write("efgh", 4, Fmgr::kCurrent), NoException);
  char got[9] = {};
  ASSERT_EQ(f.Read(got, 8, at), NoException);
  EXPECT_STREQ(got, "abcdefgh");
  ASSERT_EQ(f.Write("ijkl", 4, Fmgr::kCurrent), NoException);  // a write straight after a read
  ASSERT_EQ(f.Read(got, 4, at + 8), NoException);
  EXPECT_EQ(std::memcmp(got, "ijkl", 4), 0);
  EXPECT_EQ(f.Read(got, 8, at + 12), UnexpectedEndOfFile);
}

TEST(Fmgr, ClosedReadOnlyAndReferencedFilesAreRefused) {
  ScratchDir dir;
  std::string path = dir.File("r.fm");
  Fmgr f;
  char byte = 0;
  uint32_t at;
  EXPECT_EQ(f.Read(&byte, 1, 0), FailedOrClosedFile);
  EXPECT_EQ(f.Write(&byte, 1, 0), FailedClosedOrReadOnlyFile);
  EXPECT_EQ(f.Close(true), ClosedFile);
  EXPECT_EQ(f.Open(dir.File("none.fm").c_str(), 0), ErrorOpeningFile);
  EXPECT_EQ(f.Open(nullptr, 0), InvalidPath);
  EXPECT_EQ(f.Create(std::string(300, 'p').c_str(), 0), InvalidPath);
  ASSERT_EQ(f.Create(path.c_str(), 0), NoException);
  f.AddRef();
  EXPECT_EQ(f.Close(true), DanglingSmartPointer);
  f.Release();
  EXPECT_EQ(f.Close(true), NoException);
  EXPECT_STREQ(f.Path(), "closed-file");

  ASSERT_EQ(f.Open(path.c_str(), 1), NoException);
  EXPECT_EQ(f.Write(&byte, 1, 0), FailedClosedOrReadOnlyFile);
  EXPECT_EQ(f.Allocate(20, &at), FailedClosedOrReadOnlyFile);
  EXPECT_EQ(f.Free(20, 16), FailedClosedOrReadOnlyFile);
  EXPECT_EQ(f.Flush(), FailedClosedOrReadOnlyFile);
  EXPECT_EQ(f.Read(&byte, 1, 12), NoException);
  EXPECT_EQ(byte, 'F');
}

TEST(Fmgr, MessagesAreTheSystemsTexts) {
  EXPECT_STREQ(ExceptionMessage(NoException), "No exception intended, none taken");
  EXPECT_STREQ(ExceptionMessage(FileCorrupted), "File corrupted");
  EXPECT_STREQ(ExceptionMessage(NullSmartPointer), "Accessing a null 'smart pointer'");
  EXPECT_STREQ(ExceptionMessage(AssertionFailed), "Assertion failed");
  EXPECT_STREQ(ExceptionMessage(static_cast<ExceptionCode>(20)), "");
  testing::internal::CaptureStdout();
  ExceptionHandler(WrongFileType, "x.cpp", 12, "while opening", "a.idx");
  ExceptionHandler(CacheFull);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "\nEXCEPTION ON line 12 of 'x.cpp':\nWrong file type\nwhile opening\nError occurred on: a.idx\n"
            "\nEXCEPTION: Cache full\n");
}

}  // namespace
