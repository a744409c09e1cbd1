#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "collection.h"
#include "suballocator.h"

namespace {

// The items of a list of ints, head to tail, walking the circular links.
std::vector<int> ints(HCtlList* list) {
  std::vector<int> out;
  HCtlNode* node = list->head;
  for (int i = 0; i < list->count; ++i, node = node->next) out.push_back(*static_cast<int*>(HCtlListData(list, node)));
  if (list->count > 0) EXPECT_EQ(list->tail->next, list->head) << "the tail links to the head";
  return out;
}

std::vector<std::string> strings(HCtlList* list) {
  std::vector<std::string> out;
  HCtlNode* node = list->head;
  for (int i = 0; i < list->count; ++i, node = node->next) out.push_back(static_cast<char*>(HCtlListData(list, node)));
  return out;
}

HCtlList* intList(std::initializer_list<int> values, bool sorted = false) {
  HCtlList* list = HCtlListCreate(sizeof(int), nullptr, nullptr, nullptr, nullptr, nullptr, sorted);
  for (int v : values) HCtlListAppend(list, &v);
  return list;
}

TEST(Collection, RefusesElementSizesBelowMinusOne) {
  EXPECT_EQ(HCtlListCreate(-2, nullptr, nullptr, nullptr, nullptr, nullptr, FALSE), nullptr);
  HCtlList* strings = HCtlListCreate(-1, nullptr, nullptr, nullptr, nullptr, nullptr, FALSE);
  ASSERT_NE(strings, nullptr);
  EXPECT_TRUE(strings->flags & kHCtlListEmpty);
  HCtlListDestroy(strings);
}

TEST(Collection, StringItemsAreCopiedWithTheirTerminator) {
  HCtlList* list = HCtlListCreate(kHCtlStringItems, nullptr, nullptr, nullptr, nullptr, nullptr, FALSE);
  char text[] = "apple";
  EXPECT_EQ(HCtlListAppend(list, text), 0);
  text[0] = 'X';  // the list holds its own copy
  EXPECT_EQ(HCtlListAppend(list, "banana"), 1);
  EXPECT_EQ(HCtlListAppend(list, nullptr), 2) << "no item: an empty string";
  EXPECT_EQ(strings(list), (std::vector<std::string>{"apple", "banana", ""}));
  EXPECT_GE(HCtlPieceSize(list->head), sizeof(HCtlNode) + 6);
  HCtlListDestroy(list);
}

TEST(Collection, SortedListsInsertAtTheirPlaceIgnoringCase) {
  HCtlList* list = HCtlListCreate(kHCtlStringItems, nullptr, nullptr, nullptr, nullptr, nullptr, TRUE);
  struct Step {
    const char* item;
    int index;
  };
  const Step steps[] = {{"m", 0}, {"c", 0}, {"x", 2}, {"D", 1}, {"M", 2}, {"zz", 5}, {"a", 0}};
  for (const Step& s : steps) EXPECT_EQ(HCtlListAdd(list, s.item), s.index) << s.item;
  EXPECT_EQ(strings(list), (std::vector<std::string>{"a", "c", "D", "M", "m", "x", "zz"}));
  EXPECT_EQ(HCtlListSortedPlace(list, "n"), 5);
  EXPECT_EQ(HCtlListSortedPlace(list, "zzz"), 7);
  int index = -1;
  EXPECT_NE(HCtlListFind(list, "d", 0, &index), nullptr);
  EXPECT_EQ(index, 2);
  EXPECT_EQ(HCtlListFind(list, "b", 0, &index), nullptr);
  HCtlListDestroy(list);
}

TEST(Collection, FindStartsAtTheStartIndexModuloTheCountAndWraps) {
  HCtlList* list = intList({7, 8, 7});
  struct Case {
    int key;
    int start;
    int found;  // -1: none
  };
  const Case cases[] = {{7, 0, 0}, {7, 1, 2}, {7, 5, 2}, {7, 3, 0}, {8, 2, 1}, {7, -4, 0}, {9, 0, -1}, {8, 100, 1}};
  for (const Case& c : cases) {
    int index = -1;
    HCtlNode* node = HCtlListFind(list, &c.key, c.start, &index);
    if (c.found < 0) {
      EXPECT_EQ(node, nullptr) << c.key << " from " << c.start;
    } else {
      ASSERT_NE(node, nullptr) << c.key << " from " << c.start;
      EXPECT_EQ(index, c.found) << c.key << " from " << c.start;
      EXPECT_EQ(node, HCtlListAt(list, c.found));
    }
  }
  HCtlListDestroy(list);
}

TEST(Collection, AtAnswersTheTailForMinusOneAndNoneOutside) {
  HCtlList* list = intList({1, 2, 3});
  EXPECT_EQ(HCtlListAt(list, -1), list->tail);
  EXPECT_EQ(HCtlListAt(list, 0), list->head);
  EXPECT_EQ(*static_cast<int*>(HCtlListData(list, HCtlListAt(list, 2))), 3);
  EXPECT_EQ(*static_cast<int*>(HCtlListData(list, HCtlListAt(list, 1))), 2) << "walking back from the cursor";
  EXPECT_EQ(HCtlListAt(list, 3), nullptr);
  EXPECT_EQ(HCtlListAt(list, -2), nullptr);
  HCtlList* empty = intList({});
  EXPECT_EQ(HCtlListAt(empty, -1), nullptr);
  EXPECT_EQ(HCtlListAt(empty, 0), nullptr);
  HCtlListDestroy(empty);
  HCtlListDestroy(list);
}

TEST(Collection, InsertMoveAndDeleteKeepTheChain) {
  struct Case {
    const char* what;
    int a;
    int b;
    int result;
    std::vector<int> after;
  };
  // Each case starts from 10 20 30 40.
  const std::vector<Case> cases = {
      {"insert", 0, 5, 0, {5, 10, 20, 30, 40}},
      {"insert", 2, 5, 2, {10, 20, 5, 30, 40}},
      {"insert", 4, 5, 4, {10, 20, 30, 40, 5}},
      {"insert", -3, 5, 4, {10, 20, 30, 40, 5}},
      {"insert", 99, 5, 4, {10, 20, 30, 40, 5}},
      {"move", 3, 0, 0, {40, 10, 20, 30}},
      {"move", 0, 3, 3, {20, 30, 40, 10}},
      {"move", 1, 2, 2, {10, 30, 20, 40}},
      {"move", 1, 1, -1, {10, 20, 30, 40}},
      {"move", 4, 0, -1, {10, 20, 30, 40}},
      {"move", 0, -1, -1, {10, 20, 30, 40}},
      {"delete", 0, 0, 1, {20, 30, 40}},
      {"delete", 3, 0, 1, {10, 20, 30}},
      {"delete", 1, 0, 1, {10, 30, 40}},
      {"delete", 4, 0, 0, {10, 20, 30, 40}},
      {"delete", -1, 0, 0, {10, 20, 30, 40}},
  };
  for (const Case& c : cases) {
    HCtlList* list = intList({10, 20, 30, 40});
    HCtlListAt(list, 3);  // a cursor the change must not leave stale
    int result;
    if (std::string(c.what) == "insert")
      result = HCtlListInsert(list, c.a, &c.b);
    else if (std::string(c.what) == "move")
      result = HCtlListMove(list, c.a, c.b);
    else
      result = HCtlListDelete(list, c.a);
    EXPECT_EQ(result, c.result) << c.what << " " << c.a << " " << c.b;
    EXPECT_EQ(ints(list), c.after) << c.what << " " << c.a << " " << c.b;
    for (int i = 0; i < list->count; ++i)
      EXPECT_EQ(*static_cast<int*>(HCtlListData(list, HCtlListAt(list, i))), c.after[i]);
    HCtlListDestroy(list);
  }
}

TEST(Collection, DeletingTheLastNodeEmptiesTheList) {
  HCtlList* list = intList({1});
  EXPECT_EQ(HCtlListDelete(list, 0), 1);
  EXPECT_EQ(list->count, 0);
  EXPECT_EQ(list->head, nullptr);
  EXPECT_TRUE(list->flags & kHCtlListEmpty);
  int v = 2;
  EXPECT_EQ(HCtlListAppend(list, &v), 0);
  EXPECT_FALSE(list->flags & kHCtlListEmpty);
  HCtlListEmpty(list);
  EXPECT_EQ(list->count, 0);
  EXPECT_TRUE(list->flags & kHCtlListEmpty);
  HCtlListDestroy(list);
}

// A make callback that fails: no node, no index.
HCtlNode* failingMake(HCtlList*, const void*) { return nullptr; }

TEST(Collection, NoNodeMadeGivesMinusOne) {
  HCtlList* list = HCtlListCreate(sizeof(int), failingMake, nullptr, nullptr, nullptr, nullptr, FALSE);
  int v = 1;
  EXPECT_EQ(HCtlListAppend(list, &v), -1);
  EXPECT_EQ(HCtlListInsert(list, 0, &v), -1);
  EXPECT_EQ(HCtlListAdd(list, &v), -1);
  EXPECT_EQ(list->count, 0);
  HCtlListDestroy(list);
  // Items too large for a piece fail the same way.
  HCtlList* huge = HCtlListCreate(40000, nullptr, nullptr, nullptr, nullptr, nullptr, FALSE);
  std::vector<char> big(40000, 'b');
  EXPECT_EQ(HCtlListAppend(huge, big.data()), -1);
  HCtlListDestroy(huge);
}

int byAbsolute(const void* key, const void* data) {
  return std::abs(*static_cast<const int*>(key)) - std::abs(*static_cast<const int*>(data));
}

int freed = 0;
void countingFree(HCtlList*, HCtlNode* node) {
  ++freed;
  HCtlFree(node);
}

TEST(Collection, UserCompareAndFreeCallbacksAreUsed) {
  freed = 0;
  HCtlList* list = HCtlListCreate(sizeof(int), nullptr, nullptr, byAbsolute, countingFree, nullptr, TRUE);
  for (int v : {-5, 3, -1, 4}) HCtlListAdd(list, &v);
  EXPECT_EQ(ints(list), (std::vector<int>{-1, 3, 4, -5}));
  int key = 4;
  int index = -1;
  EXPECT_NE(HCtlListFind(list, &key, 0, &index), nullptr);
  EXPECT_EQ(index, 2);
  key = -3;
  EXPECT_NE(HCtlListFind(list, &key, 2, &index), nullptr) << "wraps from the start index to the head";
  EXPECT_EQ(index, 1);
  HCtlListDelete(list, 0);
  EXPECT_EQ(freed, 1);
  HCtlListDestroy(list);
  EXPECT_EQ(freed, 4);
}

TEST(Collection, AppendAllCopiesTheOtherListsItems) {
  HCtlList* a = intList({1, 2});
  HCtlList* b = intList({3, 4});
  EXPECT_TRUE(HCtlListAppendAll(a, b));
  EXPECT_EQ(ints(a), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_TRUE(HCtlListAppendAll(b, b)) << "appending a list to itself doubles it once";
  EXPECT_EQ(ints(b), (std::vector<int>{3, 4, 3, 4}));
  EXPECT_FALSE(HCtlListAppendAll(a, nullptr));
  HCtlListDestroy(a);
  HCtlListDestroy(b);
}

}  // namespace
