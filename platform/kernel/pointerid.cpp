// The pointer id table: two maps under one lock. Ids count up from 1 and
// skip the ones still in use when they wrap, so that a forgotten id is not
// given out again while an older holder may still present it.
#include <internal/pointerid.h>

#include <mutex>
#include <unordered_map>

namespace win32 {
namespace {

struct PointerIds {
  std::mutex lock;
  std::unordered_map<DWORD, void*> byId;
  std::unordered_map<const void*, DWORD> byPointer;
  DWORD next = 1;
};

PointerIds& table() {
  static PointerIds ids;
  return ids;
}

}  // namespace

DWORD pointerToId(const void* pointer) {
  if (!pointer) return 0;
  PointerIds& ids = table();
  std::lock_guard guard(ids.lock);
  if (auto found = ids.byPointer.find(pointer); found != ids.byPointer.end()) return found->second;
  while (ids.next == 0 || ids.byId.count(ids.next)) ++ids.next;
  const DWORD id = ids.next++;
  ids.byId.emplace(id, const_cast<void*>(pointer));
  ids.byPointer.emplace(pointer, id);
  return id;
}

void* pointerFromId(DWORD id) {
  PointerIds& ids = table();
  std::lock_guard guard(ids.lock);
  auto found = ids.byId.find(id);
  return found == ids.byId.end() ? nullptr : found->second;
}

void forgetPointerId(DWORD id) {
  PointerIds& ids = table();
  std::lock_guard guard(ids.lock);
  auto found = ids.byId.find(id);
  if (found == ids.byId.end()) return;
  ids.byPointer.erase(found->second);
  ids.byId.erase(found);
}

}  // namespace win32
