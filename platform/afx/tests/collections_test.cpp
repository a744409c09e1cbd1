// Collections: list iteration by POSITION and removal while iterating,
// array growth and editing, map lookup, iteration and hashing.
#include <afxcoll.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

template <class Action>
void expectInvalidArg(Action action) {
  try {
    action();
    ADD_FAILURE() << "no CInvalidArgException";
  } catch (CException* e) {
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)));
    e->Delete();
  }
}

std::vector<std::string> forward(const CStringList& list) {
  std::vector<std::string> out;
  for (POSITION pos = list.GetHeadPosition(); pos;) out.emplace_back(static_cast<LPCSTR>(list.GetNext(pos)));
  return out;
}

std::vector<std::string> backward(const CStringList& list) {
  std::vector<std::string> out;
  for (POSITION pos = list.GetTailPosition(); pos;) out.emplace_back(static_cast<LPCSTR>(list.GetPrev(pos)));
  return out;
}

using Texts = std::vector<std::string>;

TEST(CollectionList, AddsAndWalksBothWays) {
  CStringList list;
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetHeadPosition(), nullptr);
  list.AddTail("b");
  list.AddHead("a");
  POSITION posC = list.AddTail(CString("c"));
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetHead(), "a");
  EXPECT_EQ(list.GetTail(), "c");
  EXPECT_EQ(list.GetAt(posC), "c");
  EXPECT_EQ(forward(list), (Texts{"a", "b", "c"}));
  EXPECT_EQ(backward(list), (Texts{"c", "b", "a"}));
}

TEST(CollectionList, InsertsBeforeAndAfterIncludingNullPositions) {
  CStringList list;
  POSITION posB = list.AddTail("b");
  list.InsertBefore(posB, "a");
  list.InsertAfter(posB, "c");
  list.InsertBefore(nullptr, "head");
  list.InsertAfter(nullptr, "tail");
  EXPECT_EQ(forward(list), (Texts{"head", "a", "b", "c", "tail"}));
  list.SetAt(posB, "B");
  EXPECT_EQ(list.GetAt(posB), "B");
}

TEST(CollectionList, RemovesDuringIteration) {
  CPtrList list;
  int values[6] = {0, 1, 2, 3, 4, 5};
  for (int& v : values) list.AddTail(&v);
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    POSITION current = pos;
    int* p = static_cast<int*>(list.GetNext(pos));
    if (*p % 2 == 0) list.RemoveAt(current);
  }
  std::vector<int> kept;
  for (POSITION pos = list.GetHeadPosition(); pos;) kept.push_back(*static_cast<int*>(list.GetNext(pos)));
  EXPECT_EQ(kept, (std::vector<int>{1, 3, 5}));
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(*static_cast<int*>(list.RemoveHead()), 1);
  EXPECT_EQ(*static_cast<int*>(list.RemoveTail()), 5);
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_EQ(list.GetHeadPosition(), list.GetTailPosition());
  list.RemoveAt(list.GetHeadPosition());
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetTailPosition(), nullptr);
  list.AddTail(&values[0]);
  EXPECT_EQ(list.GetHead(), &values[0]);
}

TEST(CollectionList, FindsByValueAndIndex) {
  CStringList list;
  for (const char* s : {"x", "y", "x", "z"}) list.AddTail(s);
  POSITION first = list.Find("x");
  ASSERT_NE(first, nullptr);
  POSITION second = list.Find("x", first);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(list.Find("x", second), nullptr);
  EXPECT_EQ(list.Find("X"), nullptr);  // case matters
  EXPECT_EQ(list.FindIndex(2), second);
  EXPECT_EQ(list.FindIndex(0), first);
  EXPECT_EQ(list.FindIndex(4), nullptr);
  EXPECT_EQ(list.FindIndex(-1), nullptr);

  CObList objects;
  CObList member;
  objects.AddTail(&member);
  EXPECT_EQ(objects.Find(&member), objects.GetHeadPosition());
}

TEST(CollectionList, AppendsListsIncludingItself) {
  CStringList list;
  list.AddTail("a");
  list.AddTail("b");
  CStringList other;
  other.AddTail("c");
  list.AddTail(&other);
  list.AddHead(&other);
  EXPECT_EQ(forward(list), (Texts{"c", "a", "b", "c"}));
  other.AddTail(&other);
  EXPECT_EQ(forward(other), (Texts{"c", "c"}));
}

TEST(CollectionList, RefusesMissingElements) {
  CStringList list;
  expectInvalidArg([&] { list.GetHead(); });
  expectInvalidArg([&] { list.RemoveTail(); });
  POSITION none = nullptr;
  expectInvalidArg([&] { list.GetNext(none); });
  expectInvalidArg([&] { list.RemoveAt(nullptr); });
  expectInvalidArg([&] { list.SetAt(nullptr, "x"); });
}

TEST(CollectionArray, GrowsAndKeepsValues) {
  CDWordArray array;
  EXPECT_EQ(array.GetSize(), 0);
  EXPECT_EQ(array.GetUpperBound(), -1);
  EXPECT_EQ(array.GetData(), nullptr);
  for (DWORD i = 0; i < 100; ++i) EXPECT_EQ(array.Add(i * 3), static_cast<INT_PTR>(i));
  EXPECT_EQ(array.GetSize(), 100);
  EXPECT_EQ(array[99], 297u);
  array.SetSize(120);
  EXPECT_EQ(array.GetAt(119), 0u);  // new elements are zero
  array.SetAtGrow(150, 7);
  EXPECT_EQ(array.GetSize(), 151);
  EXPECT_EQ(array.GetAt(149), 0u);
  EXPECT_EQ(array.GetData()[150], 7u);
  array.ElementAt(0) = 11;
  array[1] = 12;
  EXPECT_EQ(array.GetAt(0), 11u);
  EXPECT_EQ(array.GetAt(1), 12u);
  array.SetSize(2);
  array.FreeExtra();
  EXPECT_EQ(array.GetSize(), 2);
  array.RemoveAll();
  EXPECT_TRUE(array.IsEmpty());
}

TEST(CollectionArray, InsertsAndRemoves) {
  CStringArray array;
  array.Add("a");
  array.Add("d");
  array.InsertAt(1, "b");
  array.InsertAt(2, "c", 2);
  array.InsertAt(7, "far");  // past the end: grows with empty strings
  std::vector<std::string> got;
  for (INT_PTR i = 0; i < array.GetSize(); ++i) got.emplace_back(static_cast<LPCSTR>(array[i]));
  EXPECT_EQ(got, (Texts{"a", "b", "c", "c", "d", "", "", "far"}));
  array.RemoveAt(2, 2);
  array.RemoveAt(3, 2);
  EXPECT_EQ(array.GetSize(), 4);
  EXPECT_EQ(array[3], "far");
  expectInvalidArg([&] { array.RemoveAt(3, 2); });
  expectInvalidArg([&] { array.RemoveAt(-1); });
  expectInvalidArg([&] { array.GetAt(4); });
  expectInvalidArg([&] { array.SetAt(-1, "x"); });
  expectInvalidArg([&] { array.SetSize(-1); });
  CStringArray more;
  more.Add("x");
  more.Add("y");
  EXPECT_EQ(array.Append(more), 4);
  EXPECT_EQ(array.Append(array), 6);
  EXPECT_EQ(array.GetSize(), 12);
  array.InsertAt(0, &more);
  EXPECT_EQ(array[0], "x");
  more.Copy(array);
  EXPECT_EQ(more.GetSize(), 14);
  array.SetAtGrow(20, array[0]);  // the source is an element of the array
  EXPECT_EQ(array[20], "x");
}

TEST(CollectionArray, ByteWordPointerAndObjectArrays) {
  CByteArray bytes;
  bytes.SetSize(3);
  bytes[2] = 0xFF;
  EXPECT_EQ(bytes[0], 0);
  EXPECT_EQ(bytes[2], 0xFF);
  CWordArray words;
  words.Add(0xFFFF);
  EXPECT_EQ(words[0], 0xFFFF);
  CUIntArray uints;
  uints.SetSize(0, 64);
  uints.Add(5);
  EXPECT_EQ(uints.GetAt(0), 5u);
  CPtrArray pointers;
  pointers.SetSize(2);
  EXPECT_EQ(pointers[1], nullptr);
  CObArray objects;
  objects.Add(&bytes);
  EXPECT_TRUE(objects[0]->IsKindOf(RUNTIME_CLASS(CByteArray)));
}

TEST(CollectionMap, StringKeysAreCaseSensitive) {
  CMapStringToPtr map;
  int a = 1, b = 2;
  map.SetAt("Key", &a);
  map["key"] = &b;
  EXPECT_EQ(map.GetCount(), 2);
  void* value = nullptr;
  ASSERT_TRUE(map.Lookup("Key", value));
  EXPECT_EQ(value, &a);
  ASSERT_TRUE(map.Lookup("key", value));
  EXPECT_EQ(value, &b);
  EXPECT_FALSE(map.Lookup("KEY", value));
  map.SetAt("Key", &b);
  EXPECT_EQ(map.GetCount(), 2);
  EXPECT_TRUE(map.RemoveKey("Key"));
  EXPECT_FALSE(map.RemoveKey("Key"));
  EXPECT_FALSE(map.Lookup("Key", value));
  EXPECT_EQ(map.GetCount(), 1);
  map.RemoveAll();
  EXPECT_TRUE(map.IsEmpty());
  EXPECT_EQ(map.GetStartPosition(), nullptr);
  EXPECT_FALSE(map.Lookup("key", value));
}

TEST(CollectionMap, IteratesEveryAssociationOnceAndAllowsRemovingTheLast) {
  CMapStringToString map;
  std::map<std::string, std::string> expected;
  for (int i = 0; i < 200; ++i) {
    std::string key = "k" + std::to_string(i);
    std::string value = "v" + std::to_string(i * i);
    map.SetAt(key.c_str(), value.c_str());
    expected[key] = value;
  }
  std::map<std::string, std::string> seen;
  for (POSITION pos = map.GetStartPosition(); pos;) {
    CString key, value;
    map.GetNextAssoc(pos, key, value);
    EXPECT_TRUE(seen.emplace(static_cast<LPCSTR>(key), static_cast<LPCSTR>(value)).second);
    if (key.Right(1) == "7") map.RemoveKey(key);
  }
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(map.GetCount(), 180);
  CString value;
  EXPECT_TRUE(map.Lookup("k12", value));
  EXPECT_EQ(value, "v144");
  EXPECT_FALSE(map.Lookup("k17", value));
}

TEST(CollectionMap, HashTableSizeAndRehash) {
  CMapPtrToPtr map;
  EXPECT_EQ(map.GetHashTableSize(), 17u);
  std::vector<int> cells(50);
  for (int& c : cells) map[&c] = &c + 1;
  map.InitHashTable(101);
  EXPECT_EQ(map.GetHashTableSize(), 101u);
  EXPECT_EQ(map.GetCount(), 50);
  for (int& c : cells) {
    void* value = nullptr;
    ASSERT_TRUE(map.Lookup(&c, value));
    EXPECT_EQ(value, &c + 1);
  }
  POSITION bad = nullptr;
  void* key = nullptr;
  void* value = nullptr;
  expectInvalidArg([&] { map.GetNextAssoc(bad, key, value); });
}

TEST(CollectionMap, HashesAsTheFrameworkDoes) {
  EXPECT_EQ(HashKey("A"), 65u);
  EXPECT_EQ(HashKey("AB"), 65u * 33 + 66);
  EXPECT_EQ(HashKey(static_cast<LPCSTR>(nullptr)), 0u);
  EXPECT_EQ(HashKey(static_cast<WORD>(0x1234)), 0x123u);
  EXPECT_EQ(HashKey(reinterpret_cast<void*>(0x1000)), 0x100u);
}

TEST(CollectionMap, WordAndObjectMaps) {
  CMapWordToPtr wordToPtr;
  int x = 0;
  wordToPtr[7] = &x;
  void* p = nullptr;
  EXPECT_TRUE(wordToPtr.Lookup(7, p));
  EXPECT_EQ(p, &x);
  CMapPtrToWord ptrToWord;
  ptrToWord[&x] = 9;
  WORD w = 0;
  EXPECT_TRUE(ptrToWord.Lookup(&x, w));
  EXPECT_EQ(w, 9);
  CMapWordToOb wordToOb;
  CMapStringToOb stringToOb;
  wordToOb[1] = &stringToOb;
  stringToOb["self"] = &stringToOb;
  CObject* object = nullptr;
  EXPECT_TRUE(stringToOb.Lookup("self", object));
  EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CMapStringToOb)));
  EXPECT_TRUE(wordToOb.Lookup(1, object));
  EXPECT_FALSE(object->IsKindOf(RUNTIME_CLASS(CMapWordToOb)));
}

struct Item : CObject {
  explicit Item(int v) : value(v) {}
  int value;
};

TEST(CollectionTyped, TypedPointerWrappers) {
  Item one(1), two(2);
  CTypedPtrList<CObList, Item*> list;
  list.AddTail(&one);
  list.AddTail(&two);
  int sum = 0;
  for (POSITION pos = list.GetHeadPosition(); pos;) sum += list.GetNext(pos)->value;
  EXPECT_EQ(sum, 3);
  EXPECT_EQ(list.GetTail()->value, 2);
  CTypedPtrArray<CPtrArray, Item*> array;
  array.Add(&two);
  EXPECT_EQ(array[0]->value, 2);
  CTypedPtrMap<CMapStringToPtr, CString, Item*> map;
  map.SetAt("one", &one);
  Item* found = nullptr;
  EXPECT_TRUE(map.Lookup("one", found));
  EXPECT_EQ(found, &one);
  POSITION pos = map.GetStartPosition();
  CString key;
  map.GetNextAssoc(pos, key, found);
  EXPECT_EQ(key, "one");
  EXPECT_EQ(pos, nullptr);
}

TEST(CollectionClasses, RunTimeClassesOfTheNamedCollections) {
  CStringList strings;
  CMapStringToPtr map;
  EXPECT_STREQ(strings.GetRuntimeClass()->m_lpszClassName, "CStringList");
  EXPECT_TRUE(map.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(map.IsKindOf(RUNTIME_CLASS(CMapStringToOb)));
}

}  // namespace
