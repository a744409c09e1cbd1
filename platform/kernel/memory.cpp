// Global, local and heap memory blocks. Win32 keeps one heap behind all
// three families, and so does this file: every block is recorded in one
// table, so that a bad handle or pointer is answered with an error instead
// of a crash.
//
// A fixed block's handle is its data pointer. A moveable block's handle is
// a value of its own (the address of its record), distinct from the data
// pointer that GlobalLock answers, and the block keeps a lock count (at most
// 255, as GMEM_LOCKCOUNT gives). A moveable block can be discarded (size 0,
// no data) and revived by a reallocation.
#include <winbase.h>

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

enum class Family { global, local, heap };

struct Block {
  void* data = nullptr;  // null while discarded
  size_t size = 0;       // the size asked for, not what malloc rounded to
  bool moveable = false;
  bool discardable = false;
  Family family = Family::global;
  unsigned lockCount = 0;
};

constexpr unsigned kMostLocks = 0xFF;

// The flag bits of a family: LMEM_DISCARDABLE differs from GMEM_DISCARDABLE.
struct FlagBits {
  UINT valid;
  UINT discardable;
};
constexpr FlagBits bitsOf(Family family) {
  return family == Family::local ? FlagBits{LMEM_VALID_FLAGS, LMEM_DISCARDABLE}
                                 : FlagBits{GMEM_VALID_FLAGS, GMEM_DISCARDABLE};
}

class BlockTable {
 public:
  static BlockTable& instance() {
    static BlockTable table;
    return table;
  }

  std::mutex lock;

  HANDLE handleOf(const Block* block) const {
    return block->moveable ? reinterpret_cast<HANDLE>(const_cast<Block*>(block)) : block->data;
  }

  // The block behind a handle (moveable handle or fixed pointer), or null.
  Block* find(HANDLE handle) {
    if (!handle) return nullptr;
    auto moveable = byHandle_.find(handle);
    if (moveable != byHandle_.end()) return moveable->second.get();
    auto fixed = byPointer_.find(handle);
    if (fixed != byPointer_.end() && !fixed->second->moveable) return fixed->second;
    return nullptr;
  }

  // The block whose data starts at `pointer`, or null.
  Block* findByData(const void* pointer) {
    auto it = byPointer_.find(const_cast<void*>(pointer));
    return it == byPointer_.end() ? nullptr : it->second;
  }

  // Records a new block; answers its handle.
  HANDLE add(std::unique_ptr<Block> owned) {
    Block* block = owned.get();
    if (block->data) byPointer_[block->data] = block;
    if (block->moveable) {
      HANDLE handle = reinterpret_cast<HANDLE>(block);
      byHandle_[handle] = std::move(owned);
      return handle;
    }
    fixed_[block] = std::move(owned);
    return block->data;
  }

  void remove(Block* block) {
    if (block->data) byPointer_.erase(block->data);
    std::free(block->data);
    if (block->moveable)
      byHandle_.erase(reinterpret_cast<HANDLE>(block));
    else
      fixed_.erase(block);
  }

  // Around a change of a block's data pointer: detach before, attach after.
  void detach(Block* block) {
    if (block->data) byPointer_.erase(block->data);
  }
  void attach(Block* block) {
    if (block->data) byPointer_[block->data] = block;
  }

  // A fixed block becomes moveable (GMEM_MODIFY | GMEM_MOVEABLE).
  HANDLE makeMoveable(Block* block) {
    auto it = fixed_.find(block);
    std::unique_ptr<Block> owned = std::move(it->second);
    fixed_.erase(it);
    owned->moveable = true;
    HANDLE handle = reinterpret_cast<HANDLE>(block);
    byHandle_[handle] = std::move(owned);
    return handle;
  }

 private:
  std::unordered_map<HANDLE, std::unique_ptr<Block>> byHandle_;  // moveable blocks by handle
  std::unordered_map<Block*, std::unique_ptr<Block>> fixed_;     // fixed and heap blocks
  std::unordered_map<void*, Block*> byPointer_;                  // every block with data, by data
};

void* allocateData(size_t bytes, bool zero) {
  // malloc(0) may answer null; a block of no bytes still has an address.
  size_t size = std::max<size_t>(bytes, 1);
  return zero ? std::calloc(1, size) : std::malloc(size);
}

HANDLE allocate(Family family, UINT flags, SIZE_T bytes) {
  if (flags & ~bitsOf(family).valid) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto block = std::make_unique<Block>();
  block->family = family;
  block->moveable = (flags & GMEM_MOVEABLE) != 0;
  block->discardable = block->moveable && (flags & bitsOf(family).discardable) == bitsOf(family).discardable;
  block->size = bytes;
  // A moveable block of no bytes starts discarded, as on Windows.
  if (!(block->moveable && bytes == 0)) {
    block->data = allocateData(bytes, (flags & GMEM_ZEROINIT) != 0);
    if (!block->data) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
  } else {
    block->size = 0;
  }
  auto& table = BlockTable::instance();
  std::lock_guard guard(table.lock);
  return table.add(std::move(block));
}

HANDLE freeBlock(HANDLE handle) {
  if (!handle) return nullptr;
  auto& table = BlockTable::instance();
  std::lock_guard guard(table.lock);
  Block* block = table.find(handle);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return handle;  // failure answers the handle
  }
  table.remove(block);
  return nullptr;
}

void* lockBlock(HANDLE handle) {
  auto& table = BlockTable::instance();
  std::lock_guard guard(table.lock);
  Block* block = table.find(handle);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (!block->moveable) return block->data;
  if (!block->data) {
    SetLastError(ERROR_DISCARDED);
    return nullptr;
  }
  if (block->lockCount < kMostLocks) ++block->lockCount;
  return block->data;
}

BOOL unlockBlock(HANDLE handle) {
  auto& table = BlockTable::instance();
  std::lock_guard guard(table.lock);
  Block* block = table.find(handle);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!block->moveable) return TRUE;
  if (block->lockCount == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--block->lockCount > 0) return TRUE;
  SetLastError(NO_ERROR);  // documented: zero with NO_ERROR means "now unlocked"
  return FALSE;
}

SIZE_T sizeOf(HANDLE handle) {
  auto& table = BlockTable::instance();
  std::lock_guard guard(table.lock);
  Block* block = table.find(handle);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return block->data ? block->size : 0;
}

UINT flagsOf(HANDLE handle, Family family) {
  auto& table = BlockTable::instance();
  std::lock_guard guard(table.lock);
  Block* block = table.find(handle);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return GMEM_INVALID_HANDLE;
  }
  UINT flags = block->lockCount & GMEM_LOCKCOUNT;
  if (block->discardable) flags |= bitsOf(family).discardable;
  if (block->moveable && !block->data) flags |= GMEM_DISCARDED;
  return flags;
}

HANDLE handleOfData(const void* pointer) {
  auto& table = BlockTable::instance();
  std::lock_guard guard(table.lock);
  if (Block* block = table.findByData(pointer)) return table.handleOf(block);
  if (Block* block = table.find(const_cast<void*>(pointer))) return table.handleOf(block);
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

// Resizes the block's data; in place when `mayMove` is false (only within
// what malloc already gave the block). Zeroes the grown part on request.
bool resizeData(BlockTable& table, Block* block, size_t bytes, bool mayMove, bool zero) {
  size_t old = block->size;
  if (!block->data) {
    block->data = allocateData(bytes, zero);
    if (!block->data) return false;
    block->size = bytes;
    table.attach(block);
    return true;
  }
  if (bytes > old && bytes > malloc_usable_size(block->data)) {
    if (!mayMove) return false;
    table.detach(block);
    void* after = std::realloc(block->data, std::max<size_t>(bytes, 1));
    if (after) block->data = after;
    table.attach(block);
    if (!after) return false;
  }
  if (zero && bytes > old) std::memset(static_cast<char*>(block->data) + old, 0, bytes - old);
  block->size = bytes;
  return true;
}

HANDLE reallocate(Family family, HANDLE handle, SIZE_T bytes, UINT flags) {
  if (flags & ~(bitsOf(family).valid | GMEM_MODIFY)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto& table = BlockTable::instance();
  std::lock_guard guard(table.lock);
  Block* block = table.find(handle);
  if (!block || block->family == Family::heap) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  const bool moveableFlag = (flags & GMEM_MOVEABLE) != 0;
  const bool zero = (flags & GMEM_ZEROINIT) != 0;
  if (flags & GMEM_MODIFY) {
    // Attributes only; the size is ignored.
    if (moveableFlag && !block->moveable) return table.makeMoveable(block);
    if (block->moveable) block->discardable = (flags & bitsOf(family).discardable) == bitsOf(family).discardable;
    return table.handleOf(block);
  }
  if (block->moveable) {
    if (bytes == 0) {
      if (block->lockCount > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
      }
      table.detach(block);
      std::free(block->data);
      block->data = nullptr;
      block->size = 0;
      return handle;
    }
    // A locked block keeps its address unless the caller allows a move.
    if (!resizeData(table, block, bytes, block->lockCount == 0 || moveableFlag, zero)) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    return handle;
  }
  if (!resizeData(table, block, bytes, moveableFlag, zero)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return block->data;  // a fixed block's handle follows its data
}

// The one heap of the process; any other value is not a heap here.
HANDLE processHeap() {
  static char heap;
  return &heap;
}

bool isHeap(HANDLE heap) {
  if (heap == processHeap()) return true;
  SetLastError(ERROR_INVALID_HANDLE);
  return false;
}

}  // namespace

extern "C" HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) { return allocate(Family::global, flags, bytes); }
extern "C" HGLOBAL WINAPI GlobalReAlloc(HGLOBAL handle, SIZE_T bytes, UINT flags) {
  return reallocate(Family::global, handle, bytes, flags);
}
extern "C" HGLOBAL WINAPI GlobalFree(HGLOBAL handle) { return freeBlock(handle); }
extern "C" LPVOID WINAPI GlobalLock(HGLOBAL handle) { return lockBlock(handle); }
extern "C" BOOL WINAPI GlobalUnlock(HGLOBAL handle) { return unlockBlock(handle); }
extern "C" SIZE_T WINAPI GlobalSize(HGLOBAL handle) { return sizeOf(handle); }
extern "C" UINT WINAPI GlobalFlags(HGLOBAL handle) { return flagsOf(handle, Family::global); }
extern "C" HGLOBAL WINAPI GlobalHandle(LPCVOID pointer) { return handleOfData(pointer); }

extern "C" HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes) { return allocate(Family::local, flags, bytes); }
extern "C" HLOCAL WINAPI LocalReAlloc(HLOCAL handle, SIZE_T bytes, UINT flags) {
  return reallocate(Family::local, handle, bytes, flags);
}
extern "C" HLOCAL WINAPI LocalFree(HLOCAL handle) { return freeBlock(handle); }
extern "C" LPVOID WINAPI LocalLock(HLOCAL handle) { return lockBlock(handle); }
extern "C" BOOL WINAPI LocalUnlock(HLOCAL handle) { return unlockBlock(handle); }
extern "C" SIZE_T WINAPI LocalSize(HLOCAL handle) { return sizeOf(handle); }
extern "C" UINT WINAPI LocalFlags(HLOCAL handle) { return flagsOf(handle, Family::local); }
extern "C" HLOCAL WINAPI LocalHandle(LPCVOID pointer) { return handleOfData(pointer); }

extern "C" HANDLE WINAPI GetProcessHeap(void) { return processHeap(); }

extern "C" LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (!isHeap(heap)) return nullptr;
  auto block = std::make_unique<Block>();
  block->family = Family::heap;
  block->size = bytes;
  block->data = allocateData(bytes, (flags & HEAP_ZERO_MEMORY) != 0);
  if (!block->data) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto& table = BlockTable::instance();
  std::lock_guard guard(table.lock);
  return table.add(std::move(block));
}

extern "C" LPVOID WINAPI HeapReAlloc(HANDLE heap, DWORD flags, LPVOID pointer, SIZE_T bytes) {
  if (!isHeap(heap)) return nullptr;
  auto& table = BlockTable::instance();
  std::lock_guard guard(table.lock);
  Block* block = table.findByData(pointer);
  if (!block || block->family != Family::heap) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!resizeData(table, block, bytes, !(flags & HEAP_REALLOC_IN_PLACE_ONLY), (flags & HEAP_ZERO_MEMORY) != 0)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return block->data;
}

extern "C" BOOL WINAPI HeapFree(HANDLE heap, DWORD flags, LPVOID pointer) {
  if (!isHeap(heap)) return FALSE;
  if (!pointer) return TRUE;  // documented as harmless
  auto& table = BlockTable::instance();
  std::lock_guard guard(table.lock);
  Block* block = table.findByData(pointer);
  if (!block || block->family != Family::heap) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  table.remove(block);
  return TRUE;
}

extern "C" SIZE_T WINAPI HeapSize(HANDLE heap, DWORD flags, LPCVOID pointer) {
  if (!isHeap(heap)) return static_cast<SIZE_T>(-1);
  auto& table = BlockTable::instance();
  std::lock_guard guard(table.lock);
  Block* block = table.findByData(pointer);
  if (!block || block->family != Family::heap) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return static_cast<SIZE_T>(-1);
  }
  return block->size;
}
