// The object cache: hits, misses, creation through the creator, the delete
// function, and the statistics of the lifetime and of the period.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KyCache.h"

namespace {

struct Counted : KyCachedObject {
  explicit Counted(std::vector<std::string>* gone, const char* name) : KyCachedObject(name), gone(gone) {}
  ~Counted() override { gone->push_back(m_name); }
  std::vector<std::string>* gone;
};

std::vector<std::string> g_gone;
int g_created = 0;

KyCachedObject* make(void* name) {
  ++g_created;
  return new Counted(&g_gone, static_cast<const char*>(name));
}
KyCachedObject* makeNothing(void*) { return nullptr; }

std::vector<std::string> g_deletedThroughFunction;
void deleteThroughFunction(KyCachedObject* o) {
  g_deletedThroughFunction.push_back(o->m_name);
  delete o;
}

TEST(KyCache, HitsAndMissesAreCountedInBothPeriods) {
  g_created = 0;
  KyCache cache("fonts");
  struct Step {
    LONG key;
    KyCacheCreator creator;
    const char* name;
    bool object;  // an object answered
    int created;  // the creator's calls so far
    DWORD hits, misses;
  } steps[] = {
      {1, nullptr, "a", false, 0, 0, 1},    // a miss without a creator: null
      {1, make, "a", true, 1, 0, 2},        // created and entered
      {1, make, "ignored", true, 1, 1, 2},  // found: no creator call
      {2, makeNothing, "b", false, 1, 1, 3},
      {2, make, "b", true, 2, 1, 4},
      {1, nullptr, "x", true, 2, 2, 4},
  };
  for (const auto& s : steps) {
    KyCachedObject* o = cache.FindOrAdd(s.key, s.creator, const_cast<char*>(s.name));
    EXPECT_EQ(o != nullptr, s.object) << s.key << s.name;
    EXPECT_EQ(g_created, s.created);
    EXPECT_EQ(cache.Lifetime().hits, s.hits);
    EXPECT_EQ(cache.Lifetime().misses, s.misses);
    EXPECT_EQ(cache.Period().hits, s.hits);
  }
  EXPECT_EQ(cache.FindOrAdd(1, nullptr, nullptr)->m_hits, 3);
  EXPECT_EQ(cache.FindOrAdd(1, nullptr, nullptr)->m_name, "a");
  cache.ReportStats();
  EXPECT_EQ(cache.Period().hits, 0u);
  EXPECT_EQ(cache.Lifetime().hits, 4u);
}

TEST(KyCache, StaleAllDeletesEveryObjectAndStartsAPeriod) {
  g_gone.clear();
  g_deletedThroughFunction.clear();
  {
    KyCache cache("pictures");
    cache.FindOrAdd(1, make, const_cast<char*>("one"));
    cache.FindOrAdd(2, make, const_cast<char*>("two"));
    cache.FindOrAdd(2, nullptr, nullptr);
    cache.StaleAll();
    EXPECT_EQ(g_gone, (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(cache.Count(), 0u);
    EXPECT_EQ(cache.StaleCalls(), 1u);
    EXPECT_EQ(cache.Period().hits, 0u);
    EXPECT_EQ(cache.Lifetime().hits, 1u);
    EXPECT_EQ(cache.FindOrAdd(1, nullptr, nullptr), nullptr);  // gone: a miss

    cache.SetDelFnc(deleteThroughFunction);
    cache.FindOrAdd(3, make, const_cast<char*>("three"));
  }  // the destructor stales what is left, through the function
  EXPECT_EQ(g_deletedThroughFunction, std::vector<std::string>{"three"});
}

}  // namespace
