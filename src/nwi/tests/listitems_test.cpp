// The list's typed items: values of several type and storage pairs added,
// read back and shown; the order by data and by code (also after the fact);
// look-up; the walker, also with an owner that calls the list from its
// WM_DELETEITEM; codes replaced by longer texts; the buffer sizes.
#include <cstdint>
#include <cstring>

#include "listfixture.h"

using namespace listtest;

namespace {

class ListItems : public ListTest {};

TEST_F(ListItems, TypedValuesGoInAndComeBackAndShowThroughThePicture) {
  const int32_t longs[] = {-5, 1200, 7};
  const int16_t shorts[] = {-300, 0, 32767};
  const double doubles[] = {2.5, -1234.5, 0.125};
  const int64_t huges[] = {-9000000000LL, 1, 42};
  struct Case {
    const char* definition;
    const void* values;  // three values one after another
    int bytes;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {"%il", longs, 4, {"-5", "1200", "7"}},
      {"%is", shorts, 2, {"-300", "0", "32767"}},
      {"%nd#,##0.00", doubles, 8, {"2.50", "-1,234.50", "0.13"}},
      {"%nM#0", huges, 8, {"-9000000000", "1", "42"}},
  };
  int id = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.definition);
    HWND list = makeList(c.definition, 0, id++);
    EXPECT_EQ(HLAddItems(list, 3, c.values), 3);
    EXPECT_EQ(texts(list), c.shown);
    for (int i = 0; i < 3; ++i) {
      alignas(8) BYTE value[8] = {};
      EXPECT_EQ(HLGetData(list, i, value, c.bytes), 1);
      EXPECT_EQ(std::memcmp(value, static_cast<const BYTE*>(c.values) + i * c.bytes, c.bytes), 0) << i;
      EXPECT_EQ(SendMessageA(list, KYM_LISTGETDATALENGTH, i, 0), c.bytes);
    }
    EXPECT_EQ(SendMessageA(list, KYM_LISTGETDATATYPE, 0, 0), c.definition[1]);
    EXPECT_EQ(SendMessageA(list, KYM_LISTGETDATASTORAGE, 0, 0), c.definition[2]);
  }
}

TEST_F(ListItems, OrderByDataOrByCodeKeepsTheCodesWithTheirData) {
  struct Case {
    DWORD style;
    std::vector<const char*> data;
    std::vector<int32_t> codes;
    std::vector<std::string> order;
    std::vector<int32_t> orderedCodes;
  };
  const Case cases[] = {
      {HLS_SORTDATA, {"b", "a"}, {2, 1}, {"a", "b"}, {1, 2}},
      {HLS_SORTCODE, {"x", "y", "z"}, {3, 1, 2}, {"y", "z", "x"}, {1, 2, 3}},
      {0, {"x", "y", "z"}, {3, 1, 2}, {"x", "y", "z"}, {3, 1, 2}},
      {HLS_SORTDATA | HLS_SORTCODE, {"m", "c", "k"}, {1, 2, 3}, {"c", "k", "m"}, {2, 3, 1}},
  };
  int id = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    HWND list = makeList("%ss%il", c.style, id++);
    for (size_t i = 0; i < c.data.size(); ++i) EXPECT_GE(HLAddItemEx(list, c.data[i], &c.codes[i]), 0);
    EXPECT_EQ(texts(list), c.order);
    for (size_t i = 0; i < c.orderedCodes.size(); ++i) {
      int32_t code = 0;
      EXPECT_EQ(HLGetCode(list, static_cast<int>(i), &code, sizeof code), 1);
      EXPECT_EQ(code, c.orderedCodes[i]) << i;
      EXPECT_EQ(HLFindCode(list, 0, &c.orderedCodes[i]), static_cast<int>(i));
      EXPECT_EQ(HLFindData(list, 0, c.order[i].c_str()), static_cast<int>(i));
    }
  }
}

TEST_F(ListItems, SortingAfterTheFactMovesCurrentAndSelectionWithTheirItems) {
  HWND list = makeList("%ss%il", HLS_EXTENDED);
  const char* names[] = {"d", "b", "a", "c"};
  const int32_t codes[] = {4, 2, 1, 3};
  for (int i = 0; i < 4; ++i) HLAddItemEx(list, names[i], &codes[i]);
  HLSelectItem(list, 1, 1);  // b
  SendMessageA(list, KYM_LISTSETCURRENT, 0, 0);  // d
  SendMessageA(list, KYM_SETSTYLE, 0, WS_CHILD | WS_VISIBLE | HLS_EXTENDED | HLS_SORTCODE);
  EXPECT_EQ(texts(list), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(current(list), 3);
  EXPECT_EQ(HLIsSelected(list, 1), 1);
  EXPECT_EQ(SendMessageA(list, KYM_LISTGETSELCOUNT, 0, 0), 1);
  // A list sorted by code takes no code change: the order would break.
  const int32_t other = 9;
  EXPECT_EQ(HLSetCode(list, 0, &other), 0);
}

TEST_F(ListItems, FindingWrapsFromTheStartAndFailsClearly) {
  HWND list = makeList("%ss%ss");
  for (const char* t : {"Bern", "Berlin", "Bonn", "Berlin"}) HLAddItemEx(list, t, t);
  struct Case {
    int start;
    const char* value;
    int found;
  };
  const Case cases[] = {{0, "Berlin", 1}, {2, "Berlin", 3}, {5, "Bern", 0}, {0, "Paris", -1}, {0, nullptr, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(HLFindData(list, c.start, c.value), c.found) << c.start << " " << (c.value ? c.value : "none");
    EXPECT_EQ(HLFindCode(list, c.start, c.value), c.found);
  }
  HWND plain = makeList("%ss", 0, 2);
  HLAddItem(plain, "x");
  EXPECT_EQ(HLFindCode(plain, 0, "x"), -1) << "a list without codes finds no code";
}

TEST_F(ListItems, TheWalkerChoosesItemsByEachRule) {
  struct Case {
    const char* name;
    int which;
    std::vector<int> selected;
    std::vector<int> indices;
    std::vector<const char*> values;
    std::vector<std::string> left;
  };
  const Case cases[] = {
      {"by index", 4, {}, {1, 3}, {}, {"a", "c", "e"}},
      {"selected", 8, {0, 2, 4}, {}, {}, {"b", "d"}},
      {"not selected", 16, {0, 2, 4}, {}, {}, {"a", "c", "e"}},
      {"all", 0, {}, {}, {}, {}},
      {"by data", 1, {}, {}, {"d", "a", "zz"}, {"b", "c", "e"}},
      {"by code", 2, {}, {}, {"B", "E"}, {"a", "c", "d"}},
  };
  int id = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND list = makeList("%ss%ss", HLS_MULTIPLE, id++);
    for (const char* t : {"a", "b", "c", "d", "e"}) {
      const char code[2] = {static_cast<char>(t[0] - 'a' + 'A'), 0};
      HLAddItemEx(list, t, code);
    }
    for (int i : c.selected) HLSelectItem(list, i, 1);
    const void* values = c.which == 4 ? static_cast<const void*>(c.indices.data()) : c.values.data();
    const int count = static_cast<int>(c.which == 4 ? c.indices.size() : c.values.size());
    const size_t before = texts(list).size();
    EXPECT_EQ(HLDeleteItems(list, c.which, count, c.which == 0 || c.which >= 8 ? nullptr : values),
              static_cast<int>(before - c.left.size()));
    EXPECT_EQ(texts(list), std::vector<std::string>(c.left.begin(), c.left.end()));
    EXPECT_EQ(SendMessageA(list, KYM_LISTGETSELCOUNT, 0, 0), c.which == 16 ? 3 : 0);
  }
}

TEST_F(ListItems, AnOwnerCallingTheListWhileItemsAreDeletedDoesNotDisturbTheWalk) {
  HWND list = makeList("%ss", HLS_MULTIPLE | HLS_OWNERDRAW);
  for (const char* t : {"a", "b", "c", "d", "e", "f"}) HLAddItem(list, t);
  for (int i : {1, 2, 4}) HLSelectItem(list, i, 1);
  // The owner reads all items and the selected ones on every deletion:
  // walks of their own, inside the walk that deletes.
  std::vector<int> seenCounts;
  panelState().onDelete = [&](const DELETEITEMSTRUCT* item) {
    int all[8] = {};
    seenCounts.push_back(HLGetItems(item->hwndItem, 8, 3, all, 0, all, 0));
    HLGetItems(item->hwndItem, 8, 4, all, 16, all, 0);
  };
  EXPECT_EQ(HLDeleteItems(list, 8, 0, nullptr), 3);
  EXPECT_EQ(texts(list), (std::vector<std::string>{"a", "d", "f"}));
  EXPECT_EQ(panelState().deleted, (std::vector<UINT>{1, 1, 2}));
  EXPECT_EQ(seenCounts, (std::vector<int>{6, 5, 4}));
}

TEST_F(ListItems, ALongerTextCodeTakesANewElement) {
  HWND list = makeList("%ss%ss");
  HLAddItemEx(list, "one", "1");
  HLAddItemEx(list, "two", "2");
  const std::string longCode(300, 'k');
  EXPECT_EQ(HLSetCode(list, 0, longCode.c_str()), 1);
  char buffer[512] = {};
  EXPECT_EQ(HLGetCode(list, 0, buffer, sizeof buffer), 1);
  EXPECT_EQ(std::string(buffer), longCode);
  EXPECT_EQ(HLGetCode(list, 1, buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "2");
  EXPECT_EQ(dataText(list, 0), "one");
  EXPECT_EQ(HLSetCode(list, 0, "s"), 1);
  EXPECT_EQ(HLGetCode(list, 0, buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "s");
}

TEST_F(ListItems, ValuesAreCopiedOnlyIntoRoomTheCallerNames) {
  HWND list = makeList("%ss%il");
  const int32_t code = 77;
  HLAddItemEx(list, "Berlin", &code);
  char small[4] = {'x', 'x', 'x', 'x'};
  struct Case {
    const char* name;
    int index;
    void* buffer;
    int size;
    int result;
  };
  const Case cases[] = {
      {"no buffer: the bytes needed", 0, nullptr, 0, 7},
      {"cut to the room", 0, small, sizeof small, 1},
      {"a text without a size", 0, small, 0, 0},
      {"bad index", 1, small, sizeof small, 0},
      {"negative index", -1, nullptr, 0, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(HLGetData(list, c.index, c.buffer, c.size), c.result) << c.name;
  EXPECT_STREQ(small, "Ber");
  // The message form carries the size in the high half of wParam.
  char viaMessage[3] = {};
  EXPECT_EQ(SendMessageA(list, KYM_LISTGETDATA, HLIndexAndSize(0, sizeof viaMessage), reinterpret_cast<LPARAM>(viaMessage)), 1);
  EXPECT_STREQ(viaMessage, "Be");
  EXPECT_EQ(SendMessageA(list, KYM_LISTGETDATA, 0, reinterpret_cast<LPARAM>(viaMessage)), 0);
  int32_t readCode = 0;
  EXPECT_EQ(HLGetCode(list, 0, nullptr, 0), 4);
  EXPECT_EQ(HLGetCode(list, 0, &readCode, 2), 0) << "a fixed-size value does not fit 2 bytes";
  EXPECT_EQ(HLGetCode(list, 0, &readCode, sizeof readCode), 1);
  EXPECT_EQ(readCode, 77);
}

TEST_F(ListItems, BulkInsertsTakeArraysOfEachForm) {
  HWND texts3 = makeList("%ss%il", 0, 1);
  const char* names[] = {"a", "b", "c"};
  const int32_t codes[] = {10, 20, 30};
  EXPECT_EQ(HLAddItemsEx(texts3, 3, names, codes), 3);
  EXPECT_EQ(HLInsertItems(texts3, 1, 2, names), 2);
  EXPECT_EQ(texts(texts3), (std::vector<std::string>{"a", "a", "b", "b", "c"}));
  int32_t code = -1;
  HLGetCode(texts3, 1, &code, sizeof code);
  EXPECT_EQ(code, 0) << "an item added without its code has a zero code";
  HLGetCode(texts3, 4, &code, sizeof code);
  EXPECT_EQ(code, 30);
  EXPECT_EQ(HLInsertItemsEx(texts3, 0, 0, names, codes), 0);
  EXPECT_EQ(HLInsertItemsEx(texts3, 0, 2, nullptr, codes), -1);
  EXPECT_EQ(HLInsertItemEx(texts3, 0, nullptr, codes), -1);
  EXPECT_EQ(HLInsertStringEx(texts3, 0, "z", "123"), 0);
  HLGetCode(texts3, 0, &code, sizeof code);
  EXPECT_EQ(code, 123);
  EXPECT_EQ(HLInsertStringEx(texts3, 0, "q", "12x"), -1) << "a code text that does not read";
  EXPECT_EQ(HLInsertStringEx(panel, 0, "q", "1"), -1) << "not a list";
}

}  // namespace
