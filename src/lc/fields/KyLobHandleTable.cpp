// KyLobHandleTable: handle numbers of large-object managers.
#include "KyLobHandleTable.h"

#include <mutex>
#include <unordered_map>

namespace {

// One table per process: a parameter block may be read by another thread
// than the one that wrote it.
struct Table {
  std::mutex lock;
  std::unordered_map<DWORD, KyLobManager*> byHandle;
  std::unordered_map<KyLobManager*, DWORD> byManager;
  DWORD next = 1;
};

Table& table() {
  static Table* t = new Table;  // outlives every manager, also static ones
  return *t;
}

}  // namespace

DWORD KyLobHandleTable::HandleOf(KyLobManager* pManager) {
  if (!pManager) return 0;
  Table& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  if (auto found = t.byManager.find(pManager); found != t.byManager.end()) return found->second;
  // The next number that is neither 0 nor in use (after a wrap-around).
  while (t.next == 0 || t.byHandle.count(t.next)) ++t.next;
  const DWORD handle = t.next++;
  t.byHandle.emplace(handle, pManager);
  t.byManager.emplace(pManager, handle);
  return handle;
}

KyLobManager* KyLobHandleTable::Find(DWORD dwHandle) {
  Table& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  const auto found = t.byHandle.find(dwHandle);
  return found == t.byHandle.end() ? nullptr : found->second;
}

void KyLobHandleTable::Forget(KyLobManager* pManager) {
  Table& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  const auto found = t.byManager.find(pManager);
  if (found == t.byManager.end()) return;
  t.byHandle.erase(found->second);
  t.byManager.erase(found);
}
