// Large objects between memory and files in pieces: the piece protocol,
// state changes, shared states, temporary files, and a full disk.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>
#include <vector>

#include "KyLobManager.h"
#include "internal/scratchdir.h"

namespace {

namespace fs = std::filesystem;

std::string pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

std::string fileText(const std::string& path) {
  std::string text;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
  }
  return text;
}

// A state that records the pieces it takes.
class RecordingState : public KyLobState {
 public:
  RecordingState() : KyLobState(Memory) {}
  int PutPiece(const void* pBuffer, LONG iSize, LONGLONG lOffset, int fLast) override {
    pieces.push_back({iSize, lOffset, fLast});
    content.append(static_cast<const char*>(pBuffer), iSize);
    return 1;
  }
  struct Piece {
    LONG size;
    LONGLONG offset;
    int last;
    bool operator==(const Piece&) const = default;
  };
  std::vector<Piece> pieces;
  std::string content;
};

std::string contentOf(KyLobManager& manager) {
  BYTE* data = manager.GetData();
  return data ? std::string(reinterpret_cast<char*>(data), manager.GetLength()) : std::string();
}

TEST(LobManager, CopyMovesPiecesEndingWithAShortOrEmptyLastOne) {
  struct Case {
    size_t size;
    std::vector<RecordingState::Piece> pieces;
  } cases[] = {
      {10000, {{5000, 0, 0}, {5000, 5000, 0}, {0, 10000, 1}}},
      {12000, {{5000, 0, 0}, {5000, 5000, 0}, {2000, 10000, 1}}},
      {1, {{1, 0, 1}}},
  };
  for (const Case& c : cases) {
    const std::string bytes = pattern(c.size);
    KyLobStateMemory source(static_cast<LONG>(bytes.size()), bytes.data());
    auto* target = new RecordingState;
    EXPECT_EQ(KyLobManager::CopyContent(target, &source, 0), 1);
    EXPECT_EQ(target->pieces, c.pieces) << c.size;
    EXPECT_EQ(target->content, bytes);
    target->Release();
  }
}

TEST(LobManager, MemoryReadsStopAtTheLengthAndLeaveIt) {
  KyLobStateMemory memory(100, nullptr);  // capacity 100, nothing written
  EXPECT_EQ(memory.PutPiece("abcdef", 6, 0, 0), 1);
  EXPECT_EQ(memory.GetLength(), 6);
  char buffer[100];
  LONG got = -1;
  EXPECT_EQ(memory.GetPiece(buffer, 4, &got, 2), 1);
  EXPECT_EQ(got, 4);
  EXPECT_EQ(std::string(buffer, 4), "cdef");
  EXPECT_EQ(memory.GetLength(), 6);  // a read changes no length
  EXPECT_EQ(memory.GetPiece(buffer, 50, &got, 0), 1);
  EXPECT_EQ(got, 6);  // never the unwritten capacity
  EXPECT_EQ(memory.GetPiece(buffer, 50, &got, 6), 1);
  EXPECT_EQ(got, 0);
  // It never grows: a piece beyond the capacity fails with its message.
  EXPECT_EQ(memory.PutPiece(buffer, 95, 6, 1), 0);
  EXPECT_STREQ(memory.GetErrorText(), "PutPiece error: piecesize = 95");
  EXPECT_EQ(memory.PutPiece(nullptr, 3, 0, 1), 0);
}

class LobFiles : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("TMP", dir_.str().c_str(), 1); }
  void TearDown() override { ::unsetenv("TMP"); }
  size_t filesInTemp() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()));
  }
  kytest::ScratchDir dir_;
};

TEST_F(LobFiles, ContentMovesBetweenMemoryAndFiles) {
  const std::string bytes = pattern(23456);
  KyLobManager manager;
  manager.SetData(static_cast<LONG>(bytes.size()), bytes.data());
  const std::string path = dir_ / "one.bin";
  ASSERT_EQ(manager.SetFile(path.c_str()), 1);
  EXPECT_STREQ(manager.GetFileName(), path.c_str());
  EXPECT_EQ(fileText(path), bytes);
  EXPECT_EQ(manager.GetLength(), 23456);
  // From the file into another file and back into memory.
  const std::string second = dir_ / "two.bin";
  ASSERT_EQ(manager.SetFile(second.c_str()), 1);
  EXPECT_EQ(fileText(second), bytes);
  EXPECT_EQ(contentOf(manager), bytes);
  EXPECT_EQ(manager.GetState()->GetCode(), KyLobState::Memory);
  EXPECT_EQ(manager.GetFileName(), nullptr);
  // Given files stay when the states go.
  manager.Clear();
  EXPECT_TRUE(fs::exists(path));
  EXPECT_TRUE(fs::exists(second));
}

TEST_F(LobFiles, FileReadsHonourTheOffset) {
  const std::string path = dir_ / "offset.bin";
  dir_.write("offset.bin", "0123456789");
  KyLobStateFile file(path.c_str());
  char buffer[4];
  LONG got = 0;
  ASSERT_EQ(file.GetPiece(buffer, 4, &got, 6), 1);
  EXPECT_EQ(std::string(buffer, got), "6789");
  ASSERT_EQ(file.GetPiece(buffer, 4, &got, 2), 1);
  EXPECT_EQ(std::string(buffer, got), "2345");
  KyLobStateFile missing((dir_ / "none.bin").c_str());
  EXPECT_EQ(missing.GetPiece(buffer, 4, &got, 0), 0);
  EXPECT_EQ(got, 0);
  EXPECT_EQ(std::string(missing.GetErrorText()), "Unable to open file " + (dir_ / "none.bin") + " for read");
}

TEST_F(LobFiles, SameFileUnderAnotherSpellingIsNotTruncated) {
  const std::string bytes = pattern(9000);
  dir_.write("Report.DAT", bytes);
  KyLobManager manager;
  manager.AttachFile((dir_ / "Report.DAT").c_str());
  KyLobState* before = manager.GetState();
  // Another spelling: a different case (resolved by the layer), a "./".
  for (const std::string& other : {dir_ / "report.dat", dir_.str() + "/./Report.DAT"}) {
    EXPECT_EQ(manager.SetFile(other.c_str()), 1) << other;
    EXPECT_EQ(manager.GetState(), before) << other;
    manager.AttachFile(other.c_str());
    EXPECT_EQ(manager.GetState(), before) << other;
  }
  EXPECT_EQ(fileText(dir_ / "Report.DAT"), bytes);
}

TEST_F(LobFiles, TemporaryFilesAreMadeExclusivelyAndDeletedWithTheirState) {
  const std::string bytes = pattern(7000);
  {
    KyLobManager manager;
    manager.SetData(static_cast<LONG>(bytes.size()), bytes.data());
    ASSERT_EQ(manager.SetFile(nullptr), 1);  // a temporary name of its own
    const std::string name = manager.GetFileName();
    EXPECT_EQ(fs::path(name).parent_path(), dir_.path());
    EXPECT_EQ(fs::path(name).filename().string().substr(0, 2), "ky");
    EXPECT_EQ(fileText(name), bytes);
    KyLobManager typed;
    typed.ShareState(&manager);
    ASSERT_EQ(typed.SetFile(".txt"), 1);
    EXPECT_EQ(fs::path(typed.GetFileName()).extension(), ".txt");
    EXPECT_EQ(fileText(typed.GetFileName()), bytes);
    EXPECT_EQ(filesInTemp(), 2u);
  }
  EXPECT_EQ(filesInTemp(), 0u);  // both were made here: both went
}

TEST_F(LobFiles, SharedStatesLiveUntilTheirLastManager) {
  auto* first = new KyLobManager;
  first->SetData(3, "abc");
  KyLobManager second;
  second.ShareState(first);
  EXPECT_EQ(second.GetState(), first->GetState());
  first->Release();  // the state stays with the second
  EXPECT_EQ(contentOf(second), "abc");
  KyLobManager third;
  third.TakeState(&second);
  EXPECT_EQ(second.GetState(), nullptr);
  EXPECT_EQ(contentOf(third), "abc");
  third.ShareState(&third);  // sharing with itself keeps the content
  EXPECT_EQ(contentOf(third), "abc");
}

TEST_F(LobFiles, AFullDiskFailsTheCopyAndKeepsTheContent) {
  const std::string bytes = pattern(30000);
  KyLobManager manager;
  manager.SetData(static_cast<LONG>(bytes.size()), bytes.data());
  // /dev/full refuses every write with ENOSPC.
  EXPECT_EQ(manager.SetFile("/dev/full"), 0);
  EXPECT_EQ(manager.GetState()->GetCode(), KyLobState::Memory);
  EXPECT_EQ(contentOf(manager), bytes);

  // A file size limit: the first pieces fit, then a write is cut short.
  struct rlimit old {};
  getrlimit(RLIMIT_FSIZE, &old);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = old;
  limited.rlim_cur = 12000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const std::string target = dir_ / "cut.bin";
  const int copied = manager.SetFile(target.c_str());
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(copied, 0);
  EXPECT_EQ(contentOf(manager), bytes);  // still the memory content
  // A file content written to a full disk keeps its own file whole.
  ASSERT_EQ(manager.SetFile((dir_ / "whole.bin").c_str()), 1);
  KyLobManager copy;
  copy.ShareState(&manager);
  EXPECT_EQ(copy.SetFile("/dev/full"), 0);
  EXPECT_STREQ(copy.GetFileName(), (dir_ / "whole.bin").c_str());
  EXPECT_EQ(fileText(dir_ / "whole.bin"), bytes);
  EXPECT_NE(dynamic_cast<KyLobStateFile*>(copy.GetState()), nullptr);
}

TEST(LobManagerList, NodesHoldReferencesAndTheUnnamedOneIsTaken) {
  KyLobManagerList list;
  auto* manager = new KyLobManager;
  list.PushUnnamed(manager);
  list.Push("named", manager);
  EXPECT_EQ(manager->GetRefCount(), 3);
  KyLobManager* taken = list.TakeUnnamed();
  EXPECT_EQ(taken, manager);
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_EQ(manager->GetRefCount(), 3);  // the node's went, the taker's came
  EXPECT_EQ(list.TakeUnnamed(), nullptr);
  taken->Release();
  manager->Release();
  EXPECT_EQ(manager->GetRefCount(), 1);  // the named node's
}

}  // namespace
