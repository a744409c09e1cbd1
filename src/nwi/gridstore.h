// The grid's file store: memory objects (row buffers) that a store may
// push out to a temporary file when more than its budget is held in
// memory, and brings back when they are locked again.
//
// Contract: an object is resident (holds memory) exactly while it is on the
// store's resident list; resident bytes is the sum of their sizes; a locked
// object is never written out. An object whose write-out fails stays
// resident, and one that cannot be read back is not handed out: its bytes
// are never lost or replaced by garbage. Every error is written to the
// debugger output ("Grid File Store:", the message, a line feed) and the
// operation goes on as far as it safely can.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <memory>

struct GridFileStore;

struct GridMemoryObject {
  GridFileStore* owner;
  DWORD size;                    // bytes, fixed at creation
  std::unique_ptr<BYTE[]> memory;  // none while the object lives only in the file
  DWORD fileOffset = kNoSlot;    // its slot in the file once written out
  int lockCount = 0;
  // Links of the store's list of all objects (newest first) and of its
  // resident list (oldest brought in first); doubly linked so that freeing
  // a row among thousands costs no walk.
  GridMemoryObject* nextAll = nullptr;
  GridMemoryObject* previousAll = nullptr;
  GridMemoryObject* nextResident = nullptr;
  GridMemoryObject* previousResident = nullptr;
  bool inStore = false;
  static constexpr DWORD kNoSlot = 0xFFFFFFFFu;
};

struct GridFileStore {
  int objectCount = 0;
  int64_t residentBytes = 0;
  int64_t highWater = 100;
  int64_t lowWater = 50;
  std::unique_ptr<char[]> fileName;  // 261 bytes once the file is made
  FILE* file = nullptr;              // opened "w+b"; objects move by whole-slot transfers
  int64_t fileEnd = 0;               // bytes of the file in use (slots are never given back)
  GridMemoryObject* allObjects = nullptr;
  GridMemoryObject* residentHead = nullptr;
  GridMemoryObject* residentTail = nullptr;
};

// K is the budget in units of 1000 bytes; a negative K makes no file.
GridFileStore* GridStoreCreate(int budget);
void GridStoreDestroy(GridFileStore* store);
int GridStoreSetBudget(GridFileStore* store, int budget);
GridMemoryObject* GridObjectCreate(GridFileStore* store, DWORD size);
int GridObjectFree(GridMemoryObject* object);
// The object's memory; nullptr (the lock undone) when the object could not
// be brought in (memory short, a failed read).
BYTE* GridObjectLock(GridMemoryObject* object);
int GridObjectUnlock(GridMemoryObject* object);

// Owns a store for its scope.
struct GridStoreDeleter {
  void operator()(GridFileStore* store) const { GridStoreDestroy(store); }
};
using GridStorePtr = std::unique_ptr<GridFileStore, GridStoreDeleter>;
