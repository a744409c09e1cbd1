// The sub-allocator: 32 KB global memory blocks carved into zero-filled
// pieces.
//
// Block layout: a directory of 4-byte entries grows upward from the start of
// the block; the last entry always describes the free "end space" that lies
// directly behind the directory; pieces are carved from the top of the end
// space downward, so that the directory can grow into the end space without
// moving any piece that was handed out. An entry is {WORD size | in-use bit,
// WORD offset}. Sizes are multiples of the 8-byte granule so that every
// piece is aligned for the pointers and handles that the records hold (the
// granule is 8 on this 64-bit platform; the used bit therefore never clashes
// with a size bit).
#include "suballocator.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

constexpr size_t kBlockBytes = 32776;  // a multiple of the granule; fits the offsets in 16 bits
constexpr size_t kGranule = 8;
constexpr size_t kEntryBytes = 4;
constexpr uint16_t kUsed = 1;
constexpr size_t kTableGrowth = 8;

struct Entry {
  uint16_t sizeAndUse;
  uint16_t offset;
  size_t size() const { return sizeAndUse & ~kUsed; }
  bool used() const { return (sizeAndUse & kUsed) != 0; }
};
static_assert(sizeof(Entry) == kEntryBytes);

struct Block {
  uint8_t* memory = nullptr;  // GlobalAlloc'd; nullptr for a free descriptor
  size_t largestFree = 0;     // largest request that fits now
  int usedCount = 0;
  int firstFree = 0;          // entry where the search for a free piece starts
  int lastEntry = 0;          // the end space

  Entry* directory() const { return reinterpret_cast<Entry*>(memory); }
  Entry& end() const { return directory()[lastEntry]; }
  bool holds(const void* address) const {
    auto* p = static_cast<const uint8_t*>(address);
    return memory != nullptr && p > memory && p < memory + kBlockBytes;
  }
};

class SubAllocator {
 public:
  void* allocate(size_t size) {
    std::lock_guard lock(mutex_);
    return allocateLocked(size, -1);
  }

  void* release(void* piece) {
    std::lock_guard lock(mutex_);
    return releaseLocked(piece) ? nullptr : piece;
  }

  void* reallocate(void* piece, size_t size) {
    std::lock_guard lock(mutex_);
    if (piece == nullptr) return allocateLocked(size, -1);
    if (size == 0 || size >= kHCtlPieceLimit) return nullptr;
    int blockIndex = -1;
    int entryIndex = -1;
    if (!locate(piece, &blockIndex, &entryIndex)) return nullptr;
    Block& block = blocks_[blockIndex];
    const size_t need = roundUp(size);
    const size_t have = block.directory()[entryIndex].size();
    if (need <= have) {
      splitRest(block, entryIndex, need);
      refresh(block);
      return piece;
    }
    void* moved = allocateLocked(size, blockIndex);
    if (moved == nullptr) moved = allocateLocked(size, -1);
    if (moved == nullptr) return nullptr;
    std::memcpy(moved, piece, have);
    releaseLocked(piece);
    return moved;
  }

  size_t pieceSize(const void* piece) {
    std::lock_guard lock(mutex_);
    int blockIndex = -1;
    int entryIndex = -1;
    if (!locate(piece, &blockIndex, &entryIndex)) return 0;
    return blocks_[blockIndex].directory()[entryIndex].size();
  }

  int blockCount() {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(blocks_.begin(), blocks_.end(),
                                          [](const Block& b) { return b.memory != nullptr; }));
  }

 private:
  static size_t roundUp(size_t size) { return (size + kGranule - 1) & ~(kGranule - 1); }

  // `only` >= 0 restricts the search to that block (a growing reallocation
  // tries its own block first).
  void* allocateLocked(size_t size, int only) {
    if (size == 0 || size >= kHCtlPieceLimit) return nullptr;
    const size_t need = roundUp(size);
    if (only >= 0) return carve(blocks_[only], need);
    if (lastUsed_ >= 0 && lastUsed_ < static_cast<int>(blocks_.size()) && blocks_[lastUsed_].memory &&
        blocks_[lastUsed_].largestFree >= need)
      return carve(blocks_[lastUsed_], need);
    for (size_t i = 0; i < blocks_.size(); ++i) {
      if (blocks_[i].memory && blocks_[i].largestFree >= need) {
        lastUsed_ = static_cast<int>(i);
        return carve(blocks_[i], need);
      }
    }
    const int fresh = freshBlock();
    if (fresh < 0) return nullptr;
    lastUsed_ = fresh;
    return carve(blocks_[fresh], need);
  }

  int freshBlock() {
    auto freeSlot = std::find_if(blocks_.begin(), blocks_.end(), [](const Block& b) { return b.memory == nullptr; });
    int index;
    if (freeSlot != blocks_.end()) {
      index = static_cast<int>(freeSlot - blocks_.begin());
    } else {
      index = static_cast<int>(blocks_.size());
      blocks_.resize(blocks_.size() + kTableGrowth);
    }
    auto* memory = static_cast<uint8_t*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, kBlockBytes));
    if (memory == nullptr) return -1;
    Block& block = blocks_[index];
    block = Block{};
    block.memory = memory;
    block.directory()[0] = Entry{static_cast<uint16_t>(kBlockBytes - kEntryBytes), static_cast<uint16_t>(kEntryBytes)};
    refresh(block);
    return index;
  }

  // First fit from the first free candidate; nullptr when the block has no room.
  void* carve(Block& block, size_t need) {
    Entry* dir = block.directory();
    for (int i = block.firstFree; i <= block.lastEntry; ++i) {
      if (dir[i].used()) continue;
      if (i == block.lastEntry) {
        // The end space also pays for the new directory entry.
        Entry& end = dir[i];
        if (end.size() < need + kEntryBytes) return nullptr;
        const size_t top = end.offset + end.size() - need;
        const size_t rest = end.size() - need - kEntryBytes;
        dir[i + 1] = Entry{static_cast<uint16_t>(rest), static_cast<uint16_t>(end.offset + kEntryBytes)};
        dir[i] = Entry{static_cast<uint16_t>(need | kUsed), static_cast<uint16_t>(top)};
        block.lastEntry = i + 1;
        return handOut(block, i);
      }
      if (dir[i].size() >= need) {
        splitRest(block, i, need);
        dir[i].sizeAndUse |= kUsed;
        return handOut(block, i);
      }
    }
    return nullptr;
  }

  void* handOut(Block& block, int index) {
    Entry& entry = block.directory()[index];
    std::memset(block.memory + entry.offset, 0, entry.size());
    ++block.usedCount;
    refresh(block);
    return block.memory + entry.offset;
  }

  // Entry `index` keeps `need` bytes; a rest of a granule or more becomes a
  // free entry of its own right behind it when the end space can give the
  // directory 4 more bytes (and keep a granule).
  void splitRest(Block& block, int index, size_t need) {
    Entry* dir = block.directory();
    const size_t size = dir[index].size();
    if (size - need < kGranule || block.end().size() < kGranule + kEntryBytes) return;
    std::memmove(&dir[index + 2], &dir[index + 1], (block.lastEntry - index) * sizeof(Entry));
    ++block.lastEntry;
    Entry& end = block.end();
    end = Entry{static_cast<uint16_t>(end.size() - kEntryBytes), static_cast<uint16_t>(end.offset + kEntryBytes)};
    const uint16_t use = dir[index].sizeAndUse & kUsed;
    dir[index + 1] = Entry{static_cast<uint16_t>(size - need), static_cast<uint16_t>(dir[index].offset + need)};
    dir[index] = Entry{static_cast<uint16_t>(need | use), dir[index].offset};
  }

  bool releaseLocked(void* piece) {
    int blockIndex = -1;
    int entryIndex = -1;
    if (!locate(piece, &blockIndex, &entryIndex)) return false;
    Block& block = blocks_[blockIndex];
    block.directory()[entryIndex].sizeAndUse &= ~kUsed;
    if (--block.usedCount == 0) {
      GlobalFree(block.memory);
      block = Block{};
      return true;
    }
    absorbIntoEnd(block);
    refresh(block);
    return true;
  }

  // A freed piece that borders the end space goes back into it together with
  // its directory entry, so that a block does not fragment from the top.
  void absorbIntoEnd(Block& block) {
    Entry* dir = block.directory();
    for (;;) {
      const Entry end = block.end();
      int neighbour = -1;
      for (int i = 0; i < block.lastEntry; ++i)
        if (!dir[i].used() && dir[i].offset == end.offset + end.size()) neighbour = i;
      if (neighbour < 0) return;
      const size_t grown = end.size() + dir[neighbour].size() + kEntryBytes;
      std::memmove(&dir[neighbour], &dir[neighbour + 1], (block.lastEntry - neighbour) * sizeof(Entry));
      --block.lastEntry;
      block.end() = Entry{static_cast<uint16_t>(grown), static_cast<uint16_t>(end.offset - kEntryBytes)};
    }
  }

  void refresh(Block& block) {
    Entry* dir = block.directory();
    size_t largest = block.end().size() >= kEntryBytes ? block.end().size() - kEntryBytes : 0;
    int first = block.lastEntry;
    for (int i = block.lastEntry - 1; i >= 0; --i) {
      if (dir[i].used()) continue;
      first = i;
      largest = std::max(largest, dir[i].size());
    }
    block.firstFree = first;
    block.largestFree = largest;
  }

  bool locate(const void* piece, int* blockIndex, int* entryIndex) {
    if (piece == nullptr) return false;
    auto inBlock = [&](int b) {
      const Block& block = blocks_[b];
      if (!block.holds(piece)) return false;
      const size_t offset = static_cast<const uint8_t*>(piece) - block.memory;
      for (int i = 0; i < block.lastEntry; ++i) {
        const Entry& e = block.directory()[i];
        if (e.used() && e.offset == offset) {
          *blockIndex = b;
          *entryIndex = i;
          return true;
        }
      }
      return false;
    };
    if (lastUsed_ >= 0 && lastUsed_ < static_cast<int>(blocks_.size()) && inBlock(lastUsed_)) return true;
    for (size_t b = 0; b < blocks_.size(); ++b)
      if (inBlock(static_cast<int>(b))) return true;
    return false;
  }

  std::mutex mutex_;
  std::vector<Block> blocks_;
  int lastUsed_ = -1;
};

SubAllocator& allocator() {
  static SubAllocator* instance = new SubAllocator;  // lives as long as the pieces it handed out
  return *instance;
}

}  // namespace

void* HCtlAlloc(size_t size) { return allocator().allocate(size); }
void* HCtlFree(void* piece) { return allocator().release(piece); }
void* HCtlRealloc(void* piece, size_t size) { return allocator().reallocate(piece, size); }
size_t HCtlPieceSize(const void* piece) { return allocator().pieceSize(piece); }
int HCtlBlockCount() { return allocator().blockCount(); }
