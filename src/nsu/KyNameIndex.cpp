#include "KyNameIndex.h"

#include <new>

#include "NameIndexTree.h"

// Runs work on the tree; a failure is reported once and ends the index's
// usefulness (the host decides what follows, never this library).
template <typename Work>
bool KyNameIndex::run(Work&& work) {
  if (!IsUsable()) return false;
  try {
    work(*m_tree);
    return true;
  } catch (const IndexFailure& f) {
    m_error = f.code;
  } catch (const std::bad_alloc&) {
    m_error = CacheFull;  // no memory for the cache's slots
  }
  ExceptionHandler(m_error, nullptr, 0, nullptr, m_tree->File().Path());
  return false;
}

KyNameIndex::KyNameIndex(const char* file, int cacheSize) {
  try {
    m_tree = NameIndexTree::Create(file, cacheSize);
  } catch (const IndexFailure& f) {
    m_error = f.code;
  } catch (const std::bad_alloc&) {
    m_error = CacheFull;  // a cache larger than memory
  }
  if (m_error) ExceptionHandler(m_error, nullptr, 0, nullptr, file);
}

KyNameIndex::~KyNameIndex() {
  run([](NameIndexTree& t) { t.Flush(); });
}

int KyNameIndex::AddEntry(const char* name, LONG value) {
  MnodeKey key;
  if (!key.Set(name, value)) return 0;
  return run([&](NameIndexTree& t) { t.Insert(key); }) ? 1 : 0;
}

KyNameIndex::Removal KyNameIndex::remove(const char* name, LONG value) {
  MnodeKey key;
  if (!key.Set(name, value)) return Removal::Missing;
  bool removed = false;
  if (!run([&](NameIndexTree& t) { removed = t.Remove(key); })) return Removal::Failed;
  return removed ? Removal::Removed : Removal::Missing;
}

int KyNameIndex::RemoveEntry(const char* name, LONG value) { return remove(name, value) == Removal::Removed; }

int KyNameIndex::ChangeEntry(const char* oldName, const char* newName, LONG value) {
  if (!AddEntry(newName, value)) return 0;
  // A missing old entry still leaves the new one, as a plain add would.
  return remove(oldName, value) == Removal::Failed ? 0 : 1;
}

LONG KyNameIndex::FindEntry(const char* name) {
  MnodeKey key;
  if (!key.Set(name, 0)) return 0;
  int32_t value = 0;
  bool found = false;
  run([&](NameIndexTree& t) { found = t.Find(key, &value); });
  return found ? value : 0;
}

void KyNameIndex::WalkIndex(void (*fn)(LONG)) {
  if (!fn) return;
  run([&](NameIndexTree& t) { t.Walk([&](int32_t v) { fn(v); }); });
}
