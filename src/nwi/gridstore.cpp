// The grid's file store (gridstore.h). Objects travel between memory and
// the temporary file as single whole-object transfers at fixed slots
// (pread/pwrite on the stream's descriptor: one call each, and a short or
// failed transfer is seen at once instead of at some later flush).
#include "gridstore.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

namespace {

void report(const char* message) {
  OutputDebugStringA("Grid File Store:");
  OutputDebugStringA(message);
  OutputDebugStringA("\n");
}

void unlinkResident(GridFileStore* store, GridMemoryObject* object) {
  if (store->residentHead == nullptr) {
    report("No Unsaved records");
    return;
  }
  if (object->previousResident != nullptr)
    object->previousResident->nextResident = object->nextResident;
  else
    store->residentHead = object->nextResident;
  if (object->nextResident != nullptr)
    object->nextResident->previousResident = object->previousResident;
  else
    store->residentTail = object->previousResident;
  object->nextResident = object->previousResident = nullptr;
  store->residentBytes -= object->size;
}

void appendResident(GridFileStore* store, GridMemoryObject* object) {
  object->previousResident = store->residentTail;
  object->nextResident = nullptr;
  if (store->residentTail != nullptr)
    store->residentTail->nextResident = object;
  else
    store->residentHead = object;
  store->residentTail = object;
  store->residentBytes += object->size;
}

// Whole transfers: a signal or a partial write continues where it stopped.
bool writeAll(int fd, const BYTE* bytes, size_t size, off_t at) {
  while (size > 0) {
    const ssize_t n = pwrite(fd, bytes, size, at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<size_t>(n);
    at += n;
  }
  return true;
}

bool readAll(int fd, BYTE* bytes, size_t size, off_t at) {
  while (size > 0) {
    const ssize_t n = pread(fd, bytes, size, at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;  // an error, or the file ends inside the slot
    bytes += n;
    size -= static_cast<size_t>(n);
    at += n;
  }
  return true;
}

// Writes the object to its slot and lets its memory go. On any failure the
// object stays resident with its bytes: false.
bool writeOut(GridMemoryObject* object) {
  GridFileStore* store = object->owner;
  if (!object->memory) {
    report("Error Trying to Save invalid memory object");
    return false;
  }
  if (store->file == nullptr) {
    report("Error No File Created");
    return false;
  }
  const bool newSlot = object->fileOffset == GridMemoryObject::kNoSlot;
  const int64_t slot = newSlot ? store->fileEnd : object->fileOffset;
  if (slot + object->size > 0xFFFFFFFFll) {
    report("Error seeking end of file");
    return false;
  }
  if (!writeAll(fileno(store->file), object->memory.get(), object->size, static_cast<off_t>(slot))) {
    report("Error writing to file");
    return false;
  }
  if (newSlot) {
    object->fileOffset = static_cast<DWORD>(slot);
    store->fileEnd = slot + object->size;
  }
  object->memory.reset();
  unlinkResident(store, object);
  return true;
}

// Brings the object in; false (nothing changed) when memory is short or the
// slot cannot be read whole.
bool bringIn(GridMemoryObject* object) {
  GridFileStore* store = object->owner;
  if (object->memory) {
    report("Error Trying to Allocate previously allocate memory object");
    return true;
  }
  // Never written out: zero-filled; else the slot's bytes replace every byte.
  const bool fromFile = object->fileOffset != GridMemoryObject::kNoSlot;
  const size_t size = object->size ? object->size : 1;
  std::unique_ptr<BYTE[]> memory(fromFile ? new (std::nothrow) BYTE[size] : new (std::nothrow) BYTE[size]());
  if (!memory) return false;
  if (fromFile) {
    if (store->file == nullptr) {
      report("Error No File Created");
      return false;
    }
    if (!readAll(fileno(store->file), memory.get(), object->size, static_cast<off_t>(object->fileOffset))) {
      report("Error reading from file");
      return false;
    }
  }
  object->memory = std::move(memory);
  appendResident(store, object);
  return true;
}

// Frees at least a low water's worth before looking at the high water again,
// oldest first, passing over locked objects. Ends when a pass frees nothing
// or a write-out fails (the file is no use then; rows stay in memory).
void trim(GridFileStore* store) {
  while (store->residentBytes >= store->highWater && store->residentHead != nullptr) {
    const int64_t noted = store->residentBytes;
    GridMemoryObject* object = store->residentHead;
    while (object != nullptr && noted - store->residentBytes < store->lowWater) {
      GridMemoryObject* next = object->nextResident;
      if (object->lockCount < 1 && object->memory && !writeOut(object)) return;
      object = next;
    }
    if (store->residentBytes == noted) return;
  }
}

void destroyObject(GridMemoryObject* object) {
  GridFileStore* store = object->owner;
  if (object->previousAll != nullptr)
    object->previousAll->nextAll = object->nextAll;
  else
    store->allObjects = object->nextAll;
  if (object->nextAll != nullptr) object->nextAll->previousAll = object->previousAll;
  --store->objectCount;
  if (object->memory) unlinkResident(store, object);
  delete object;
}

}  // namespace

GridFileStore* GridStoreCreate(int budget) {
  auto* store = new (std::nothrow) GridFileStore();
  if (store != nullptr) GridStoreSetBudget(store, budget);
  return store;
}

void GridStoreDestroy(GridFileStore* store) {
  if (store == nullptr) return;
  if (store->file != nullptr) {
    if (std::fclose(store->file) != 0) report("Error deleting temporary file");
    store->file = nullptr;
    DeleteFileA(store->fileName.get());
  }
  while (store->allObjects != nullptr) destroyObject(store->allObjects);
  delete store;
}

int GridStoreSetBudget(GridFileStore* store, int budget) {
  if (store == nullptr || budget < 0) return 1;
  if (store->file == nullptr && !store->fileName) {
    char directory[261] = {};
    std::unique_ptr<char[]> name(new (std::nothrow) char[261]());
    if (name && GetTempPathA(sizeof directory, directory) != 0 && GetTempFileNameA(directory, "kys", 0, name.get()) != 0) {
      store->file = std::fopen(name.get(), "w+b");
      if (store->file == nullptr) DeleteFileA(name.get());
    }
    if (store->file == nullptr)
      report("Error creating temporary file");
    else
      store->fileName = std::move(name);
  }
  if (budget < 2) {
    store->highWater = 10000;
    store->lowWater = 5000;
  } else {
    store->highWater = static_cast<int64_t>(budget) * 1000;
    store->lowWater = store->highWater / 2;
  }
  return 1;
}

GridMemoryObject* GridObjectCreate(GridFileStore* store, DWORD size) {
  if (store == nullptr) return nullptr;
  auto* object = new (std::nothrow) GridMemoryObject();
  if (object == nullptr) return nullptr;
  object->owner = store;
  object->size = size;
  object->nextAll = store->allObjects;
  if (store->allObjects != nullptr) store->allObjects->previousAll = object;
  store->allObjects = object;
  object->inStore = true;
  ++store->objectCount;
  return object;
}

int GridObjectFree(GridMemoryObject* object) {
  if (object == nullptr) return 1;
  if (!object->inStore) {
    report("Error removing non-existant Memory Object");
    return 1;
  }
  destroyObject(object);
  return 1;
}

BYTE* GridObjectLock(GridMemoryObject* object) {
  if (object == nullptr) return nullptr;
  if (++object->lockCount == 1) {
    if (!object->memory && !bringIn(object)) {
      --object->lockCount;
      return nullptr;
    }
    trim(object->owner);
  }
  return object->memory.get();
}

int GridObjectUnlock(GridMemoryObject* object) {
  if (object == nullptr) return 1;
  if (object->lockCount <= 0) {
    report("Too many unlocks on memory obj");
    object->lockCount = 0;
    return 1;
  }
  --object->lockCount;
  return 1;
}
