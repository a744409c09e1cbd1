// A keyed cache of objects that are costly to make, with statistics: hits,
// misses and the creation time the hits saved, for the cache's lifetime and
// for the current reporting period.
#pragma once

#include <windows.h>

#include <map>
#include <string>

class KyCachedObject {
 public:
  explicit KyCachedObject(const char* name = "") : m_name(name ? name : "") {}
  virtual ~KyCachedObject() = default;

  std::string m_name;
  LONG m_hits = 0;
  DWORD m_createTime = 0;  // milliseconds its creator took
};

typedef KyCachedObject* (*KyCacheCreator)(void* argument);
typedef void (*KyCacheDelFnc)(KyCachedObject* object);

class KyCache {
 public:
  struct Counters {
    DWORD hits = 0;
    DWORD misses = 0;
    DWORD createTime = 0;  // milliseconds of creation the hits saved
  };

  explicit KyCache(const char* name);
  KyCache(const KyCache&) = delete;
  KyCache& operator=(const KyCache&) = delete;
  virtual ~KyCache();

  // The object under the key; on a miss, a new one from the creator
  // (timed, entered under the key). Null on a miss without a creator or
  // when the creator makes nothing.
  KyCachedObject* FindOrAdd(LONG key, KyCacheCreator creator, void* argument);
  // Deletes every object (through the delete function when one is set) and
  // starts a new reporting period.
  void StaleAll();
  void SetDelFnc(KyCacheDelFnc fn) { m_delete = fn; }
  // Closes the reporting period when statistics were taken in it.
  void ReportStats();

  const std::string& Name() const { return m_name; }
  const Counters& Lifetime() const { return m_lifetime; }
  const Counters& Period() const { return m_period; }
  DWORD StaleCalls() const { return m_staleCalls; }
  size_t Count() const { return m_objects.size(); }

 private:
  std::map<LONG, KyCachedObject*> m_objects;
  std::string m_name;
  KyCacheDelFnc m_delete = nullptr;
  bool m_enabled = true;
  bool m_statsTaken = false;
  Counters m_lifetime, m_period;
  DWORD m_staleCalls = 0;
};
