#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "suballocator.h"

namespace {

bool allZero(const void* p, size_t n) {
  auto* b = static_cast<const unsigned char*>(p);
  for (size_t i = 0; i < n; ++i)
    if (b[i] != 0) return false;
  return true;
}

TEST(SubAllocator, SizesOutsideTheLimitsGiveNone) {
  struct Case {
    size_t size;
    bool expectPiece;
  };
  const Case cases[] = {{0, false}, {1, true}, {4, true}, {5, true}, {1000, true}, {32760, true},
                        {32766, true}, {32767, false}, {40000, false}, {SIZE_MAX, false}};
  for (const Case& c : cases) {
    void* p = HCtlAlloc(c.size);
    EXPECT_EQ(p != nullptr, c.expectPiece) << c.size;
    if (p != nullptr) {
      EXPECT_GE(HCtlPieceSize(p), c.size) << c.size;
      EXPECT_EQ(HCtlPieceSize(p) % 4, 0u);
      EXPECT_TRUE(allZero(p, HCtlPieceSize(p))) << c.size;
      EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % alignof(void*), 0u) << "pieces hold pointers";
      EXPECT_EQ(HCtlFree(p), nullptr);
    }
  }
}

TEST(SubAllocator, OneByteGivesAZeroFilledPieceOfAtLeastFourBytes) {
  auto* p = static_cast<unsigned char*>(HCtlAlloc(1));
  ASSERT_NE(p, nullptr);
  EXPECT_GE(HCtlPieceSize(p), 4u);
  EXPECT_TRUE(allZero(p, 4));
  HCtlFree(p);
}

TEST(SubAllocator, FreedPiecesComeBackZeroFilled) {
  auto* p = static_cast<char*>(HCtlAlloc(64));
  std::memset(p, 'x', 64);
  HCtlFree(p);
  auto* q = static_cast<char*>(HCtlAlloc(64));
  EXPECT_TRUE(allZero(q, 64));
  HCtlFree(q);
}

TEST(SubAllocator, ForeignAddressesAreReturnedUntouched) {
  int local = 7;
  std::vector<char> heap(16, 'a');
  EXPECT_EQ(HCtlFree(&local), &local);
  EXPECT_EQ(HCtlFree(heap.data()), heap.data());
  EXPECT_EQ(HCtlFree(nullptr), nullptr);
  // An address inside a piece is no piece either.
  auto* p = static_cast<char*>(HCtlAlloc(32));
  EXPECT_EQ(HCtlFree(p + 8), p + 8);
  EXPECT_EQ(local, 7);
  EXPECT_EQ(HCtlFree(p), nullptr);
  // A piece freed twice: the second time it is no longer a piece.
  void* q = HCtlAlloc(16);
  void* keep = HCtlAlloc(16);  // keeps the block alive
  EXPECT_EQ(HCtlFree(q), nullptr);
  EXPECT_EQ(HCtlFree(q), q);
  HCtlFree(keep);
}

TEST(SubAllocator, PiecesDoNotOverlap) {
  std::vector<char*> pieces;
  for (int i = 0; i < 2000; ++i) {
    const size_t size = 1 + (i * 37) % 300;
    auto* p = static_cast<char*>(HCtlAlloc(size));
    ASSERT_NE(p, nullptr);
    std::memset(p, static_cast<char>(i), size);
    pieces.push_back(p);
  }
  for (int i = 0; i < 2000; ++i) {
    const size_t size = 1 + (i * 37) % 300;
    for (size_t k = 0; k < size; ++k) ASSERT_EQ(pieces[i][k], static_cast<char>(i)) << i;
  }
  // Free every other one and fill the holes again.
  for (size_t i = 0; i < pieces.size(); i += 2) EXPECT_EQ(HCtlFree(pieces[i]), nullptr);
  for (size_t i = 0; i < pieces.size(); i += 2) {
    pieces[i] = static_cast<char*>(HCtlAlloc(8));
    ASSERT_NE(pieces[i], nullptr);
    std::memset(pieces[i], 'z', 8);
  }
  for (size_t i = 1; i < pieces.size(); i += 2) {
    const size_t size = 1 + (i * 37) % 300;
    for (size_t k = 0; k < size; ++k) ASSERT_EQ(pieces[i][k], static_cast<char>(i)) << i;
  }
  for (char* p : pieces) EXPECT_EQ(HCtlFree(p), nullptr);
}

TEST(SubAllocator, ABlockIsReleasedWithItsLastPieceAndMadeAgainOnDemand) {
  const int before = HCtlBlockCount();
  std::vector<void*> pieces;
  // More than one block's worth of 1000-byte pieces.
  for (int i = 0; i < 40; ++i) pieces.push_back(HCtlAlloc(1000));
  EXPECT_GE(HCtlBlockCount(), before + 2);
  for (void* p : pieces) HCtlFree(p);
  EXPECT_EQ(HCtlBlockCount(), before);
  void* again = HCtlAlloc(100);
  EXPECT_EQ(HCtlBlockCount(), before + 1);
  HCtlFree(again);
  EXPECT_EQ(HCtlBlockCount(), before);
}

TEST(SubAllocator, ReallocationKeepsContents) {
  struct Case {
    size_t from;
    size_t to;
  };
  const Case cases[] = {{16, 8}, {16, 16}, {16, 17}, {8, 4000}, {4000, 12}, {100, 32766}, {32000, 100}};
  for (const Case& c : cases) {
    void* keep = HCtlAlloc(24);  // a neighbour, so that growth cannot simply extend
    auto* p = static_cast<unsigned char*>(HCtlAlloc(c.from));
    ASSERT_NE(p, nullptr);
    for (size_t i = 0; i < c.from; ++i) p[i] = static_cast<unsigned char>(i * 7);
    auto* q = static_cast<unsigned char*>(HCtlRealloc(p, c.to));
    ASSERT_NE(q, nullptr) << c.from << "->" << c.to;
    const size_t kept = std::min(c.from, c.to);
    for (size_t i = 0; i < kept; ++i) ASSERT_EQ(q[i], static_cast<unsigned char>(i * 7)) << c.from << "->" << c.to;
    if (c.to > c.from) EXPECT_TRUE(allZero(q + c.from, c.to - c.from)) << "growth is zero-filled";
    if (c.to <= c.from) EXPECT_EQ(q, p) << "shrinking keeps the piece in place";
    EXPECT_GE(HCtlPieceSize(q), c.to);
    EXPECT_EQ(HCtlFree(q), nullptr);
    HCtlFree(keep);
  }
}

TEST(SubAllocator, FailedReallocationLeavesTheOldPieceValid) {
  auto* p = static_cast<char*>(HCtlAlloc(10));
  std::memcpy(p, "keepme", 7);
  EXPECT_EQ(HCtlRealloc(p, 40000), nullptr);
  EXPECT_EQ(HCtlRealloc(p, 0), nullptr);
  EXPECT_STREQ(p, "keepme");
  int local = 0;
  EXPECT_EQ(HCtlRealloc(&local, 10), nullptr) << "not a piece";
  EXPECT_EQ(HCtlFree(p), nullptr);
  void* fresh = HCtlRealloc(nullptr, 20);
  EXPECT_NE(fresh, nullptr);
  HCtlFree(fresh);
}

}  // namespace
