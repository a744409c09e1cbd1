#include "KyCache.h"

KyCache::KyCache(const char* name) : m_name(name ? name : "") {}

KyCache::~KyCache() { StaleAll(); }

KyCachedObject* KyCache::FindOrAdd(LONG key, KyCacheCreator creator, void* argument) {
  m_statsTaken = true;
  auto it = m_objects.find(key);
  if (m_enabled && it != m_objects.end()) {
    KyCachedObject* object = it->second;
    for (Counters* c : {&m_lifetime, &m_period}) {
      ++c->hits;
      c->createTime += object->m_createTime;
    }
    ++object->m_hits;
    return object;
  }
  ++m_lifetime.misses;
  ++m_period.misses;
  if (!creator) return nullptr;
  DWORD start = GetTickCount();
  KyCachedObject* object = creator(argument);
  if (!object) return nullptr;
  object->m_createTime = GetTickCount() - start;
  // A key never holds two objects: the one it held is let go first.
  if (it != m_objects.end() && it->second != object) {
    if (m_delete)
      m_delete(it->second);
    else
      delete it->second;
  }
  m_objects[key] = object;
  return object;
}

void KyCache::StaleAll() {
  ++m_staleCalls;
  for (auto& [key, object] : m_objects) {
    if (m_delete)
      m_delete(object);
    else
      delete object;
  }
  m_objects.clear();
  m_period = Counters{};
}

void KyCache::ReportStats() {
  if (!m_statsTaken) return;
  m_period = Counters{};
  m_statsTaken = false;
}
