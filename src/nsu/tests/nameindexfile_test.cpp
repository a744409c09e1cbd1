// The name index file byte by byte: headers and nodes at their offsets,
// freed blocks reused, and damaged or foreign files refused with an error.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "KyNameIndex.h"
#include "NameIndexTree.h"
#include "scratchdir.h"

namespace {

std::vector<unsigned char> bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const std::string& path, const std::vector<unsigned char>& b) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(b.data()), b.size());
}

uint32_t u32(const std::vector<unsigned char>& b, size_t at) {
  uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

void put32(std::vector<unsigned char>& b, size_t at, uint32_t v) { std::memcpy(b.data() + at, &v, 4); }

// Offsets of a node's fields.
constexpr size_t kCount = 0, kChild0 = 4, kEntries = 8, kEntry = 40;

TEST(NameIndexFile, ANewIndexIsItsHeadersAndAnEmptyRoot) {
  ScratchDir dir;
  std::string path = dir.File("new.idx");
  { KyNameIndex index(path.c_str(), 4); }
  auto b = bytesOf(path);
  ASSERT_EQ(b.size(), 36u + 1248);
  struct Field {
    size_t at;
    uint32_t value;
    const char* what;
  } fields[] = {
      {0, 0, "free-list head"}, {4, 1284, "end of the used area"}, {8, 36, "header area"},
      {16, 36, "root"},         {20, 32, "key size"},              {24, 0, "entries"},
      {28, 1, "nodes"},         {32, 1, "height"},                 {36 + kCount, 0, "root's entry count"},
  };
  for (const auto& f : fields) EXPECT_EQ(u32(b, f.at), f.value) << f.what;
  EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "FMGR");
}

TEST(NameIndexFile, ThirtyTwoEntriesSplitTheRootIntoTwoLeaves) {
  ScratchDir dir;
  std::string path = dir.File("split.idx");
  {
    KyNameIndex index(path.c_str(), 4);
    for (int i = 0; i < 32; ++i) ASSERT_EQ(index.AddEntry(("name" + std::to_string(100 + i)).c_str(), i), 1);
  }
  auto b = bytesOf(path);
  ASSERT_EQ(b.size(), 36u + 3 * 1248);
  const uint32_t left = 36, right = 36 + 1248, root = 36 + 2 * 1248;
  EXPECT_EQ(u32(b, 16), root);
  EXPECT_EQ(u32(b, 24), 32u);  // entries
  EXPECT_EQ(u32(b, 28), 3u);   // nodes
  EXPECT_EQ(u32(b, 32), 2u);   // height
  EXPECT_EQ(u32(b, root + kCount), 1u);
  EXPECT_EQ(u32(b, root + kChild0), left);
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[root + kEntries]), "NAME115");  // the middle entry went up
  EXPECT_EQ(u32(b, root + kEntries + 32), 15u);
  EXPECT_EQ(u32(b, root + kEntries + 36), right);
  EXPECT_EQ(u32(b, left + kCount), 15u);
  EXPECT_EQ(u32(b, right + kCount), 16u);
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[left + kEntries]), "NAME100");
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[right + kEntries + 15 * kEntry]), "NAME131");
  EXPECT_EQ(b[left + kEntries + 7], 0);  // names are zero-filled behind their end
}

TEST(NameIndexFile, AFreedNodeIsReusedBeforeTheFileGrows) {
  ScratchDir dir;
  std::string path = dir.File("reuse.idx");
  {
    KyNameIndex index(path.c_str(), 4);
    for (int i = 0; i < 32; ++i) index.AddEntry(("k" + std::to_string(100 + i)).c_str(), i);
    // Emptying a leaf below 15 merges the two leaves and frees a node and the
    // root above them.
    for (int i = 0; i < 3; ++i) ASSERT_EQ(index.RemoveEntry(("k" + std::to_string(100 + i)).c_str(), i), 1);
  }
  auto b = bytesOf(path);
  EXPECT_EQ(b.size(), 36u + 3 * 1248);
  EXPECT_EQ(u32(b, 28), 1u);  // one node left
  EXPECT_EQ(u32(b, 32), 1u);
  uint32_t head = u32(b, 0);
  ASSERT_NE(head, 0u);
  EXPECT_EQ(u32(b, head), 0xFEFEu);      // free marker
  EXPECT_EQ(u32(b, head + 4), 1236u);    // size minus 12
  uint32_t next = u32(b, head + 8);
  ASSERT_NE(next, 0u);
  EXPECT_EQ(u32(b, next), 0xFEFEu);
  EXPECT_EQ(u32(b, next + 8), 0u);

  // Splitting again takes both free blocks: the file stays as long.
  auto tree = NameIndexTree::Open(path.c_str(), 8, false);
  for (int i = 0; i < 5; ++i) {
    MnodeKey key;
    key.Set(("z" + std::to_string(i)).c_str(), i);
    tree->Insert(key);
  }
  tree->Flush();
  EXPECT_EQ(tree->File().FreeListHead(), 0u);
  EXPECT_EQ(tree->File().UsedEnd(), 36u + 3 * 1248);
  EXPECT_NO_THROW(tree->Verify());
}

// A good file of a few hundred entries, three levels deep, to damage.
std::string goodFile(const ScratchDir& dir) {
  std::string path = dir.File("good.idx");
  KyNameIndex index(path.c_str(), 4);
  for (int i = 0; i < 600; ++i) index.AddEntry(("entry" + std::to_string(i)).c_str(), i);
  return path;
}

ExceptionCode openAndUse(const std::string& path) {
  try {
    auto tree = NameIndexTree::Open(path.c_str(), 4, false);
    tree->Verify();
    int32_t value;
    for (int i = 0; i < 600; i += 7) tree->Find([&] { MnodeKey k; k.Set(("entry" + std::to_string(i)).c_str(), 0); return k; }(), &value);
    MnodeKey key;
    key.Set("entry5", 1);
    for (int i = 0; i < 40; ++i) tree->Insert(key);  // one leaf overflows: a block is allocated
    return NoException;
  } catch (const IndexFailure& f) {
    return f.code;
  }
}

TEST(NameIndexFile, DamagedAndForeignFilesAreRefused) {
  ScratchDir dir;
  std::string path = goodFile(dir);
  const auto good = bytesOf(path);
  ASSERT_EQ(openAndUse(path), NoException);
  const uint32_t root = u32(good, 16);
  const uint32_t leaf = 36;  // the first node made is a leaf for good
  struct Case {
    const char* what;
    void (*damage)(std::vector<unsigned char>&, uint32_t root, uint32_t leaf);
    ExceptionCode expected;
  } cases[] = {
      {"no signature", [](auto& b, uint32_t, uint32_t) { b[12] = 'X'; }, WrongFileType},
      {"shorter than the header", [](auto& b, uint32_t, uint32_t) { b.resize(10); }, UnexpectedEndOfFile},
      {"cut in the blocks", [](auto& b, uint32_t, uint32_t) { b.resize(b.size() - 100); }, FileCorrupted},
      {"header area beyond the file", [](auto& b, uint32_t, uint32_t) { put32(b, 8, 0x7FFFFFF0); }, FileCorrupted},
      {"another header size", [](auto& b, uint32_t, uint32_t) { put32(b, 8, 40); }, WrongFileType},
      {"free list out of the file", [](auto& b, uint32_t, uint32_t) { put32(b, 0, 0x10000000); }, FileCorrupted},
      {"free list without its marker", [](auto& b, uint32_t, uint32_t leaf) { put32(b, 0, leaf); }, FileCorrupted},
      {"key size", [](auto& b, uint32_t, uint32_t) { put32(b, 20, 16); }, FileCorrupted},
      {"height 0", [](auto& b, uint32_t, uint32_t) { put32(b, 32, 0); }, FileCorrupted},
      {"height beyond the tree", [](auto& b, uint32_t, uint32_t) { put32(b, 32, 9); }, FileCorrupted},
      {"root outside the file", [](auto& b, uint32_t, uint32_t) { put32(b, 16, 0x01000000); }, FileCorrupted},
      {"root in the header", [](auto& b, uint32_t, uint32_t) { put32(b, 16, 8); }, FileCorrupted},
      {"entry count above 31", [](auto& b, uint32_t root, uint32_t) { put32(b, root, 200); }, FileCorrupted},
      {"a child pointing at its parent", [](auto& b, uint32_t root, uint32_t) { put32(b, root + 4, root); }, FileCorrupted},
      {"a child outside the file", [](auto& b, uint32_t root, uint32_t) { put32(b, root + 4, 0x7FFFFF00); }, FileCorrupted},
      {"a child in a leaf", [](auto& b, uint32_t, uint32_t leaf) { put32(b, leaf + 8 + 36, 36); }, FileCorrupted},
      {"a name without its end", [](auto& b, uint32_t, uint32_t leaf) { std::memset(&b[leaf + 8], 'A', 32); }, FileCorrupted},
      {"names out of order", [](auto& b, uint32_t, uint32_t leaf) { b[leaf + 8] = 'Z'; }, FileCorrupted},
      {"entry count behind the header", [](auto& b, uint32_t, uint32_t) { put32(b, 24, 5); }, FileCorrupted},
  };
  for (const auto& c : cases) {
    auto b = good;
    c.damage(b, root, leaf);
    writeBytes(path, b);
    EXPECT_EQ(openAndUse(path), c.expected) << c.what;
  }
}

TEST(NameIndexFile, AnIndexWhoseFileIsDamagedUnderItAnswersWithAnError) {
  ScratchDir dir;
  std::string path = dir.File("live.idx");
  KyNameIndex index(path.c_str(), 4);
  for (int i = 0; i < 600; ++i) ASSERT_EQ(index.AddEntry(("live" + std::to_string(i)).c_str(), i + 1), 1);
  // Another hand overwrites the first leaf's count, which the small cache has
  // long written out.
  FILE* f = std::fopen(path.c_str(), "r+b");
  ASSERT_NE(f, nullptr);
  std::fseek(f, 36, SEEK_SET);
  uint32_t bad = 999;
  std::fwrite(&bad, 4, 1, f);
  std::fclose(f);
  LONG found = 0;
  for (int i = 0; i < 600 && index.IsUsable(); ++i) found = index.FindEntry(("live" + std::to_string(i)).c_str());
  EXPECT_FALSE(index.IsUsable());
  EXPECT_EQ(index.LastError(), FileCorrupted);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(index.AddEntry("more", 1), 0);
}

}  // namespace
