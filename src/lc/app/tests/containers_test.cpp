// KyCtr and KyItr: order of adding, walking with removal, flushing with and
// without deleting; KyPtrArray::pForEach.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KyCtr.h"
#include "KyPtrArray.h"

namespace {

struct Named : KyCtrObj {
  Named(char name, int* deletions) : name(name), deletions(deletions) {}
  ~Named() override { ++*deletions; }
  char name;
  int* deletions;
};

std::string walk(KyCtr& ctr) {
  std::string order;
  KyItr itr(ctr);
  while (itr.fWalk()) order += static_cast<Named*>(itr.pCurrent())->name;
  return order;
}

TEST(Containers, EmptyContainerWalksNothing) {
  KyCtr ctr;
  KyItr itr(ctr);
  EXPECT_EQ(itr.fWalk(), 0);
  EXPECT_EQ(itr.fWalk(), 0);
  EXPECT_EQ(itr.pCurrent(), nullptr);
  EXPECT_EQ(ctr.GetCount(), 0);
  EXPECT_EQ(ctr.pAdd(nullptr), nullptr);  // a null object links nothing
  EXPECT_EQ(ctr.GetCount(), 0);
}

TEST(Containers, HeadAndTailAdding) {
  int deletions = 0;
  Named a('a', &deletions), b('b', &deletions), c('c', &deletions);
  KyCtr ctr;
  EXPECT_EQ(ctr.pAdd(&a), &a);
  ctr.pAdd(&b);
  EXPECT_EQ(ctr.pAddToTail(&c), &c);
  EXPECT_EQ(walk(ctr), "bac");
  EXPECT_EQ(ctr.GetCount(), 3);
  ctr.Remove(static_cast<KyCtrObj*>(&a));
  EXPECT_EQ(walk(ctr), "bc");
  ctr.Remove(ctr.GetHead());  // sentinels are no elements
  ctr.Remove(static_cast<KyCtrElem*>(nullptr));
  EXPECT_EQ(ctr.GetCount(), 2);
}

TEST(Containers, RemovingDuringAWalkContinuesWithTheNext) {
  int deletions = 0;
  Named a('a', &deletions), b('b', &deletions), c('c', &deletions), d('d', &deletions);
  struct Case {
    std::string remove;  // names removed when the walk reaches them
    std::string seen;
    std::string left;
  } cases[] = {{"a", "abcd", "bcd"}, {"b", "abcd", "acd"}, {"d", "abcd", "abc"}, {"abcd", "abcd", ""}, {"", "abcd", "abcd"}};
  for (const Case& test : cases) {
    KyCtr ctr;
    for (Named* n : {&a, &b, &c, &d}) ctr.pAddToTail(n);
    std::string seen;
    KyItr itr(ctr);
    while (itr.fWalk()) {
      const char name = static_cast<Named*>(itr.pCurrent())->name;
      seen += name;
      if (test.remove.find(name) != std::string::npos) itr.Remove();
    }
    EXPECT_EQ(seen, test.seen) << test.remove;
    EXPECT_EQ(walk(ctr), test.left) << test.remove;
    EXPECT_EQ(ctr.GetCount(), static_cast<LONG>(test.left.size()));
  }
}

TEST(Containers, RemovingBeforeTheFirstWalk) {
  int deletions = 0;
  Named a('a', &deletions), b('b', &deletions);
  KyCtr ctr;
  ctr.pAddToTail(&a);
  ctr.pAddToTail(&b);
  KyItr itr(ctr);
  itr.Remove();  // the first element
  ASSERT_TRUE(itr.fWalk());
  EXPECT_EQ(static_cast<Named*>(itr.pCurrent())->name, 'b');
  EXPECT_FALSE(itr.fWalk());
}

TEST(Containers, FlushDeletesEachObjectOnceAndTheDestructorNone) {
  int deletions = 0;
  {
    KyCtr ctr;
    ctr.pAdd(new Named('x', &deletions));
    auto* twice = new Named('y', &deletions);
    ctr.pAdd(twice);
    ctr.pAddToTail(twice);  // linked twice, deleted once
    ctr.Flush(1);
    EXPECT_EQ(deletions, 2);
    EXPECT_EQ(ctr.GetCount(), 0);
    EXPECT_EQ(walk(ctr), "");
  }
  Named kept('k', &deletions);
  {
    KyCtr ctr;
    ctr.pAdd(&kept);
    ctr.Flush(0);
    ctr.pAdd(&kept);
  }  // the destructor flushes without deleting
  EXPECT_EQ(deletions, 2);
}

int stopAtNegative(void* element) { return *static_cast<int*>(element) < 0 ? 0 : 1; }

TEST(Containers, ForEachReturnsTheFirstElementTheCallbackStopsAt) {
  int values[] = {1, 2, -3, 4, -5};
  void* pointers[] = {&values[0], &values[1], &values[2], &values[3], &values[4]};
  KyPtrArray array(pointers, 5);
  struct Case {
    int first, last;
    int* expected;
  } cases[] = {
      {0, -1, &values[2]}, {3, -1, &values[4]}, {3, 3, nullptr}, {4, 2, nullptr},  // first above last: nothing
      {-5, 1, nullptr},    {3, 99, &values[4]},                                  // indices outside are never read
  };
  for (const Case& c : cases) EXPECT_EQ(array.pForEach(stopAtNegative, c.first, c.last), c.expected) << c.first << ".." << c.last;
  EXPECT_EQ(KyPtrArray(nullptr, 3).pForEach(stopAtNegative, 0, -1), nullptr);
  EXPECT_EQ(array.pForEach(nullptr, 0, -1), nullptr);
}

}  // namespace
