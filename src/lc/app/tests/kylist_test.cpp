// Named lists: lookup ignoring case, removal by exact name, Pop of the node
// found, ownership of nodes.
#include <gtest/gtest.h>

#include <memory>

#include <string>

#include "KyConversationList.h"
#include "KyList.h"
#include "KyRegistryLists.h"
#include "KyRemoteInfo.h"

namespace {

int item1 = 1, item2 = 2, item3 = 3;

KyListNode* node(const char* name, void* current) {
  auto* n = new KyListNode(name);
  n->SetCurrent(current);
  return n;
}

TEST(KyList, EmptyListFindsNothing) {
  KyList list;
  EXPECT_EQ(list.Find("abc"), nullptr);
  EXPECT_EQ(list.FindNode("abc", nullptr), nullptr);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetHead(), nullptr);
}

TEST(KyList, FindIgnoresCaseAndTakesTheFirst) {
  KyList list;
  KyListNode* first = node("abc", &item1);
  KyListNode* second = node("ABC", &item2);
  list.Add(first);
  list.Add(second);
  list.Add(node("other", &item3));
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.Find("Abc"), &item1);
  EXPECT_EQ(list.Find("OTHER"), &item3);
  EXPECT_EQ(list.Find("ab"), nullptr);
  EXPECT_EQ(list.FindNode("Abc", nullptr), first);
  EXPECT_EQ(list.FindNode("Abc", second), second);  // the start node itself counts
  EXPECT_EQ(list.FindNode("Abc", second->GetNext()), nullptr);
}

TEST(KyList, BaseListPushPopDeleteChangeNothing) {
  KyList list;
  list.Add(node("abc", &item1));
  list.Push("new", &item2);
  list.Pop("abc");
  list.Delete("abc");
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_EQ(list.Find("abc"), &item1);
  EXPECT_EQ(list.Find("new"), nullptr);
}

// The registries' Delete matches exactly; Pop removes what it finds.
TEST(KyList, RegistryRemoval) {
  struct Case {
    const char* names[3];
    bool pop;  // Pop instead of Delete
    const char* removed;
    int countAfter;
    const char* stillFound;  // null: nothing to check
  } cases[] = {
      {{"abc"}, false, "ABC", 1, "abc"},                // exact match only
      {{"abc"}, false, "abc", 0, nullptr},
      {{"abc"}, true, "ABC", 0, nullptr},               // found under another case, and removed
      {{"abc", "ABC"}, false, "ABC", 1, "abc"},         // the exact one goes
      {{"x", "abc", "ABC"}, true, "Abc", 2, "abc"},     // the first found goes, ABC stays
      {{"x", "y", "z"}, false, "y", 2, "z"},            // from the middle
      {{"x", "y", "z"}, true, "Z", 2, "x"},             // the tail
      {{"x", "y"}, true, "nothing", 2, "y"},
  };
  for (const Case& c : cases) {
    KyCOMAppList list;
    for (const char* name : c.names)
      if (name) list.Add(node(name, nullptr));
    if (c.pop)
      list.Pop(c.removed);
    else
      list.Delete(c.removed);
    EXPECT_EQ(list.GetCount(), c.countAfter) << c.removed;
    if (c.stillFound) {
      EXPECT_NE(list.FindNode(c.stillFound, nullptr), nullptr) << c.removed;
    }
    if (c.pop && c.countAfter < 2) {
      EXPECT_EQ(list.FindNode(c.removed, nullptr), nullptr);
    }
  }
  KyCOMAppList list;
  list.Add(node("x", nullptr));
  list.Add(node("abc", nullptr));
  list.Add(node("ABC", nullptr));
  list.Pop("Abc");
  ASSERT_NE(list.FindNode("abc", nullptr), nullptr);
  EXPECT_STREQ(*list.FindNode("abc", nullptr)->GetName(), "ABC");
}

TEST(KyList, RemovingTheOnlyNodeEmptiesTheHead) {
  KyConversationList list;
  list.Push("only", nullptr);  // a node that holds no conversation (nodes own theirs)
  ASSERT_EQ(list.GetCount(), 1);
  list.Delete("only");
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetHead(), nullptr);
  KyListNode* next = node("next", &item2);
  list.Add(next);
  EXPECT_EQ(list.GetHead(), next);
  EXPECT_EQ(list.Find("NEXT"), &item2);
}

struct CountingInfo : KyRemoteInfo {
  explicit CountingInfo(int& deleted) : deleted_(deleted) {}
  ~CountingInfo() override { ++deleted_; }
  int& deleted_;
};

TEST(KyList, RemoteInfoNodesOwnTheirRecords) {
  int deleted = 0;
  {
    KyRemoteInfoList list;
    auto* first = new CountingInfo(deleted);
    list.Replace("HOST1", first);
    EXPECT_EQ(list.Find("host1"), first);
    auto* second = new CountingInfo(deleted);
    list.Replace("HOST1", second);  // the old entry and its record go
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.Find("HOST1"), second);
    list.Replace("HOST2", new CountingInfo(deleted));
  }
  EXPECT_EQ(deleted, 3);  // the list's end deletes the rest
}

TEST(KyList, DefaultLocationsByPlatform) {
  struct Case {
    char platform;
    const char* location;
  } cases[] = {{'A', "Remote"},     {'U', "RemoteUnix"},   {'N', "RemoteWinNT"}, {'J', "RemoteJava"},
               {'#', "RemoteCSharp"}, {'a', ""}, {'?', ""}, {'\0', ""}};
  const KyConversationList list;
  for (const Case& c : cases) EXPECT_STREQ(list.GetDefaultLocation(c.platform), c.location);
}

// A changed default is the list's own: another list keeps the built-in
// names, and a letter without a default takes none.
TEST(KyList, DefaultLocationsChangePerList) {
  KyConversationList changed;
  const KyConversationList other;
  struct Case {
    char platform;
    bool taken;
  } cases[] = {{'A', true}, {'U', true}, {'N', true}, {'J', true}, {'#', true}, {'X', false}, {'a', false}};
  for (const Case& c : cases) {
    const std::string before = other.GetDefaultLocation(c.platform);
    EXPECT_EQ(changed.SetDefaultLocation(c.platform, "Elsewhere"), c.taken) << c.platform;
    EXPECT_STREQ(changed.GetDefaultLocation(c.platform), c.taken ? "Elsewhere" : "") << c.platform;
    EXPECT_EQ(other.GetDefaultLocation(c.platform), before) << c.platform;
  }
}

TEST(KyList, NodeAccessors) {
  KyListNode n("name");
  EXPECT_STREQ(*n.GetName(), "name");
  EXPECT_EQ(n.GetName()->GetMaxLength(), -1);
  EXPECT_EQ(n.GetCurrent(), nullptr);
  EXPECT_EQ(n.GetNext(), nullptr);
  KyListNode other("other");
  n.SetNext(&other);
  EXPECT_EQ(n.GetNext(), &other);
  n.SetNext(nullptr);
}

}  // namespace
