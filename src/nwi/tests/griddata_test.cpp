// The grid's data through its exports and messages: columns of every type
// and storage, cells as values, states and texts, rows added, changed,
// moved and deleted, vetoes that leave no trace, and the row buffers paging
// through the file store under a small budget.
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

#include "datatypes.h"
#include "formatdata.h"
#include "gridfixture.h"

namespace {

using gridtest::Column;
using gridtest::GridTest;

// Every type letter with every storage it allows.
const std::vector<std::pair<char, const char*>> kPairs = {
    {'a', "DQTmqsu"}, {'k', "T"}, {'d', "Aadl"}, {'t', "Iit"}, {'b', "hbswiluW"}, {'c', "hbswiluWfdM"},
    {'n', "hbswiluWfdM"}, {'i', "hbswiluWfd"}, {'z', "fd"}, {'h', "h"}, {'m', "s"}, {'s', "s"}};

// A sample text of the type, made by the library from a known value.
std::string sample(char type) {
  char out[64] = {};
  switch (type) {
    case 'd': {
      const int32_t date = 20240305;
      FormatData(&date, 'd', 'l', "", out, sizeof out, nullptr, 0);
      return out;
    }
    case 't': {
      const uint16_t time[3] = {10, 20, 30};
      FormatData(time, 't', 't', "", out, sizeof out, nullptr, 0);
      return out;
    }
    case 'a': case 'k': {
      const int64_t seconds = 1700000000;
      FormatData(&seconds, 'k', 'T', "", out, sizeof out, nullptr, 0);
      return out;
    }
    case 'b': return "TRUE";
    case 'h': return "x";
    case 'm': case 's': return "text";
    default: return "42";
  }
}

TEST_F(GridTest, FieldCreateTakesTheValueWidthFromTheStorage) {
  struct Case {
    char type, storage, displayType, displayStorage;
    int length;
    char fieldClass;
    WORD flags;
    const char* picture;
    short width, unit;
    WORD keptFlags;
  };
  const Case cases[] = {
      {'s', 's', 's', 's', 12, 'e', 0, "", 12, 1, 0},
      {'i', 'l', 'i', 'l', 0, 'e', 0, "", 4, 4, 0},
      {'n', 'd', 'n', 'd', 99, 'e', 0, "", 8, 8, 0},
      {'d', 'd', 'd', 'd', 0, 'e', 0, "", 6, 6, 0},
      {'a', 'm', 'a', 'm', 0, 'e', 0, "", 36, 36, 0},
      {'s', 's', 's', 's', 0, 'e', 0, "XXXX", 5, 1, 0},               // the picture's length plus one
      {'s', 's', 'i', 'l', 20, 'd', HGC_CODED, "", 4, 4, HGC_CODED},  // a code of the display storage
      {'s', 's', 'i', 'l', 20, 'e', HGC_CODED, "", 20, 1, 0},         // coding kept only for lists
  };
  for (const Case& c : cases) {
    HGField* f = HGFieldCreate("T", c.flags, 1, 10, c.type, c.storage, c.displayType, c.displayStorage, c.length,
                               c.fieldClass, 0x10000, c.picture);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->valueWidth, c.width) << c.type << c.storage;
    EXPECT_EQ(f->unit, c.unit) << c.type << c.storage;
    EXPECT_EQ(f->flags, c.keptFlags) << c.type << c.storage;
    EXPECT_EQ(f->width, 2) << "at least 2";
    EXPECT_EQ(f->boxed, 1);
    EXPECT_EQ(HGFieldDestroy(f), 1);
  }
  EXPECT_EQ(HGFieldDestroy(nullptr), 0);
}

TEST_F(GridTest, CellsOfEveryPairKeepTheirValueThroughText) {
  std::vector<Column> columns;
  std::vector<std::string> titles;
  for (const auto& [type, storages] : kPairs)
    for (const char* s = storages; *s; ++s) titles.push_back(std::string(1, type) + *s);
  for (const std::string& t : titles) columns.push_back({t.c_str(), t[0], t[1], 24});
  HWND grid = makeGrid(HGO_TITLES, columns);
  const int row = appendRow(grid);
  ASSERT_EQ(row, 0);
  for (int c = 0; c < static_cast<int>(titles.size()); ++c) {
    const std::string first = sample(titles[static_cast<size_t>(c)][0]);
    ASSERT_TRUE(setText(grid, c, row, first.c_str())) << titles[static_cast<size_t>(c)] << " " << first;
    const std::string shown = text(grid, c, row);
    EXPECT_FALSE(shown.empty()) << titles[static_cast<size_t>(c)];
    std::vector<BYTE> once(64), twice(64);
    EXPECT_EQ(HGGetCellData(grid, c, row, once.data()), 1);
    ASSERT_TRUE(setText(grid, c, row, shown.c_str())) << titles[static_cast<size_t>(c)] << " " << shown;
    HGGetCellData(grid, c, row, twice.data());
    EXPECT_EQ(text(grid, c, row), shown) << titles[static_cast<size_t>(c)];
    EXPECT_EQ(once, twice) << titles[static_cast<size_t>(c)];
  }
}

TEST_F(GridTest, ANullCellHasNoValueAndZeroBytes) {
  HWND grid = makeGrid(0, {{"N", 'i', 'l', 0}});
  appendRow(grid);
  const int32_t seven = 7;
  ASSERT_EQ(HGSetCellData(grid, 0, 0, &seven), 1);
  ASSERT_EQ(HGSetCellData(grid, 0, 0, nullptr), 1);
  int32_t read = -1;
  EXPECT_EQ(HGGetCellData(grid, 0, 0, &read), 0);
  EXPECT_EQ(read, 0);
  HGCellState state{};
  ASSERT_EQ(HGGetCellState(grid, 0, 0, &state), 1);
  EXPECT_EQ(state.marks & HGM_NULL, HGM_NULL);
  EXPECT_EQ(text(grid, 0, 0), "");
}

// A string filled to its width has no terminator: reads stop at the width.
TEST_F(GridTest, AStringFilledToItsWidthIsReadOnlyToItsWidth) {
  HWND grid = makeGrid(0, {{"A", 's', 's', 10}, {"B", 's', 's', 10}});
  appendRow(grid);
  ASSERT_TRUE(setText(grid, 1, 0, "neighbour"));
  ASSERT_EQ(HGSetCellData(grid, 0, 0, "ABCDEFGHIJKLMNO"), 1);
  char raw[11] = {};
  EXPECT_EQ(HGGetCellData(grid, 0, 0, raw), 1);
  EXPECT_EQ(std::string(raw, 10), "ABCDEFGHIJ");
  EXPECT_EQ(text(grid, 0, 0), "ABCDEFGHIJ");
  EXPECT_EQ(text(grid, 1, 0), "neighbour");
}

TEST_F(GridTest, SizesAreClampedToTheirRanges) {
  HWND grid = makeGrid(HGO_TITLES, {{"A", 'i', 'l', 0}});
  struct Case {
    UINT set, get;
    WPARAM position;
    LONG_PTR value, expected;
  };
  const Case cases[] = {
      {KYM_GRIDSETFIELDWIDTH, KYM_GRIDGETFIELDWIDTH, 0, 1, 2},
      {KYM_GRIDSETFIELDWIDTH, KYM_GRIDGETFIELDWIDTH, 0, 5000, 2000},
      {KYM_GRIDSETFIELDWIDTH, KYM_GRIDGETFIELDWIDTH, 0, 120, 120},
  };
  for (const Case& c : cases) {
    send(grid, c.set, c.position, c.value);
    EXPECT_EQ(send(grid, c.get, c.position), c.expected) << c.value;
  }
  const std::pair<LONG_PTR, LONG_PTR> heights[] = {{1, 2}, {3000, 2000}, {25, 25}};
  for (const auto& [value, expected] : heights) {
    send(grid, KYM_GRIDSETROWHEIGHT, static_cast<WPARAM>(value), 1);
    EXPECT_EQ(send(grid, KYM_GRIDGETROWHEIGHT), expected) << value;
  }
  send(grid, KYM_GRIDSETHEADERHEIGHT, static_cast<WPARAM>(-5), 1);
  EXPECT_EQ(send(grid, KYM_GRIDGETHEADERHEIGHT), 0);
  EXPECT_EQ(send(grid, KYM_GRIDGETFIELDWIDTH, 5), 0) << "no column there";
}

TEST_F(GridTest, RowsAreAddedBeforeTheTrailingNewRowAndMoved) {
  HWND grid = makeGrid(HGO_NEWROW, {{"A", 's', 's', 8}});
  ASSERT_EQ(rows(grid), 1);
  EXPECT_EQ(send(grid, KYM_GRIDGETROWFLAGS, 0) & HGR_NEW, HGR_NEW);
  for (const char* t : {"one", "two", "three"}) {
    const int row = appendRow(grid);
    ASSERT_TRUE(setText(grid, 0, row - 1, t)) << t;
  }
  ASSERT_EQ(rows(grid), 4);
  EXPECT_EQ(send(grid, KYM_GRIDGETROWFLAGS, 3) & HGR_NEW, HGR_NEW) << "the new row stays last";
  std::vector<char> values(8, 'x');
  std::memcpy(values.data(), "zero", 5);
  EXPECT_EQ(send(grid, KYM_GRIDINSERTROW, 0, reinterpret_cast<LPARAM>(values.data())), 0);
  EXPECT_EQ(send(grid, KYM_GRIDMOVEROW, 0, 3), 3);
  std::vector<std::string> seen;
  for (int row = 0; row < rows(grid) - 1; ++row) seen.push_back(text(grid, 0, row));
  EXPECT_EQ(seen, (std::vector<std::string>{"one", "two", "three", "zero"}));
  EXPECT_EQ(send(grid, KYM_GRIDDELETEROW, 1), 1);
  EXPECT_EQ(text(grid, 0, 1), "three");
  EXPECT_EQ(send(grid, KYM_GRIDDELETEROW, 40), 0);
  char saved[8] = {};
  ASSERT_EQ(send(grid, KYM_GRIDGETSAVEDVALUES, 2, reinterpret_cast<LPARAM>(saved)), 1);
  EXPECT_STREQ(saved, "zero") << "an inserted row's values fill both halves";
}

TEST_F(GridTest, TheRowLimitIsKept) {
  HWND grid = makeGrid(0, {{"A", 'i', 's', 0}});
  for (int i = 0; i < kHGMaxRows; ++i) ASSERT_GT(send(grid, KYM_GRIDAPPENDROW), 0) << i;
  EXPECT_LT(send(grid, KYM_GRIDAPPENDROW), 1);
  EXPECT_LT(send(grid, KYM_GRIDINSERTROW, 0, 0), 0);
  EXPECT_EQ(rows(grid), kHGMaxRows);
}

// A veto of the change notification puts everything back: the value, the
// null mark, the row's modified mark and the bound row.
TEST_F(GridTest, AVetoedChangeLeavesNoTrace) {
  HWND grid = makeGrid(0, {{"A", 'i', 'l', 0}});
  appendRow(grid);
  send(grid, KYM_GRIDSETROWFLAGS, 0, MAKELPARAM(0, HGR_MODIFIED));
  std::vector<BYTE> bound(static_cast<size_t>(send(grid, KYM_GRIDROWVALUESIZE)) + kHGStateSize);
  send(grid, KYM_GRIDSETBOUNDROW, 0, reinterpret_cast<LPARAM>(bound.data()));
  const std::vector<BYTE> boundBefore = bound;
  nwitest::notifyLog().vetoes = {HGN_CHANGED};
  const int32_t value = 99;
  EXPECT_EQ(HGSetCellData(grid, 0, 0, &value), 0);
  EXPECT_EQ(HGSetCellData(grid, 0, 0, nullptr), 0);
  int32_t read = -1;
  EXPECT_EQ(HGGetCellData(grid, 0, 0, &read), 1) << "still not null";
  EXPECT_EQ(read, 0);
  EXPECT_EQ(send(grid, KYM_GRIDGETROWFLAGS, 0) & HGR_MODIFIED, 0);
  EXPECT_EQ(bound, boundBefore);
  nwitest::notifyLog().vetoes.clear();
  EXPECT_EQ(HGSetCellData(grid, 0, 0, &value), 1);
  EXPECT_EQ(send(grid, KYM_GRIDGETROWFLAGS, 0) & HGR_MODIFIED, HGR_MODIFIED);
  int32_t boundValue = 0;
  std::memcpy(&boundValue, bound.data(), 4);
  EXPECT_EQ(boundValue, 99);
}

// Out-of-range text is refused and the old value kept, as edits keep it.
TEST_F(GridTest, RefusedTextKeepsTheOldValue) {
  HWND grid = makeGrid(0, {{"B", 'i', 'b', 0}, {"D", 'd', 'l', 0}});
  appendRow(grid);
  ASSERT_TRUE(setText(grid, 0, 0, "200"));
  for (const char* refused : {"300", "-1", "abc"}) EXPECT_FALSE(setText(grid, 0, 0, refused)) << refused;
  EXPECT_EQ(text(grid, 0, 0), "200");
  EXPECT_FALSE(setText(grid, 1, 0, "99/99/9999"));
}

TEST_F(GridTest, ColumnMessagesAnswer) {
  HWND grid = makeGrid(HGO_MOVECOLUMNS, {{"Name", 's', 's', 10}, {"Age", 'i', 's', 0}, {"When", 'd', 'l', 0}});
  appendRow(grid);
  ASSERT_TRUE(setText(grid, 0, 0, "Ann"));
  ASSERT_TRUE(setText(grid, 1, 0, "31"));
  EXPECT_EQ(send(grid, KYM_GRIDCOLUMNCOUNT), 3);
  EXPECT_EQ(send(grid, KYM_GRIDFINDFIELD, 0, reinterpret_cast<LPARAM>("AGE")), 1);
  EXPECT_EQ(send(grid, KYM_GRIDFINDFIELD, 0, reinterpret_cast<LPARAM>("none")), -1);
  EXPECT_EQ(send(grid, KYM_GRIDROWVALUESIZE), 10 + 2 + 4);
  EXPECT_EQ(send(grid, KYM_GRIDMOVEFIELD, 0, 2), 2);
  EXPECT_EQ(send(grid, KYM_GRIDMOVEFIELD, 1, 1), -1);
  EXPECT_EQ(send(grid, KYM_GRIDPOSOFFIELD, 0), 2);
  EXPECT_EQ(send(grid, KYM_GRIDFIELDATPOS, 0), 1);
  EXPECT_EQ(send(grid, KYM_GRIDGETFIELDOFFSET, 0), 0) << "values lie in display order";
  EXPECT_EQ(send(grid, KYM_GRIDGETFIELDOFFSET, 2), 6);
  EXPECT_EQ(text(grid, 0, 0), "Ann") << "values move with their column";
  EXPECT_EQ(text(grid, 1, 0), "31");
  short order[3] = {};
  send(grid, KYM_GRIDGETORDER, 0, reinterpret_cast<LPARAM>(order));
  EXPECT_EQ(std::vector<short>(order, order + 3), (std::vector<short>{1, 2, 0}));
  const short wanted[3] = {0, 1, 2};
  EXPECT_EQ(send(grid, KYM_GRIDSETORDER, 0, reinterpret_cast<LPARAM>(wanted)), 1);
  EXPECT_EQ(send(grid, KYM_GRIDPOSOFFIELD, 2), 2);
  char title[16] = {};
  send(grid, KYM_GRIDSETFIELDTITLE, 1, reinterpret_cast<LPARAM>("Years"));
  EXPECT_EQ(send(grid, KYM_GRIDGETFIELDTITLELEN, 1), 5);
  send(grid, KYM_GRIDGETFIELDTITLE, 1, reinterpret_cast<LPARAM>(title));
  EXPECT_STREQ(title, "Years");
  EXPECT_EQ(send(grid, KYM_GRIDGETFIELDTYPE, 1), 'i');
  EXPECT_EQ(send(grid, KYM_GRIDGETFIELDSTORE, 1), 's');
  EXPECT_EQ(send(grid, KYM_GRIDGETFIELDSIZE, 0), 10);
  EXPECT_EQ(send(grid, KYM_GRIDDELETEFIELD, 0), 1);
  EXPECT_EQ(send(grid, KYM_GRIDCOLUMNCOUNT), 2);
  EXPECT_EQ(text(grid, 0, 0), "31");
  EXPECT_EQ(send(grid, KYM_GRIDROWVALUESIZE), 2 + 4);
}

TEST_F(GridTest, SelectionMessagesWalkTheMarkedRows) {
  HWND grid = makeGrid(HGO_ROWSELECT, {{"A", 'i', 's', 0}});
  for (int i = 0; i < 6; ++i) appendRow(grid);
  for (int row : {1, 3, 4}) EXPECT_EQ(send(grid, KYM_GRIDSELECTROW, static_cast<WPARAM>(row)), 1);
  EXPECT_EQ(send(grid, KYM_GRIDTOGGLEROW, 4), 0);
  EXPECT_EQ(send(grid, KYM_GRIDCOUNTSELECTED), 2);
  LONG selected[8] = {};
  EXPECT_EQ(send(grid, KYM_GRIDGETSELECTED, 1, reinterpret_cast<LPARAM>(selected)), 1) << "at most the room";
  EXPECT_EQ(send(grid, KYM_GRIDGETSELECTED, 8, reinterpret_cast<LPARAM>(selected)), 2);
  EXPECT_EQ(std::vector<LONG>(selected, selected + 2), (std::vector<LONG>{1, 3}));
  EXPECT_EQ(send(grid, KYM_GRIDFIRSTSELECTED), 1);
  EXPECT_EQ(send(grid, KYM_GRIDNEXTSELECTED, 1), 3);
  EXPECT_EQ(send(grid, KYM_GRIDNEXTSELECTED, 3), -1);
  EXPECT_EQ(send(grid, KYM_GRIDUNSELECTROW, 5), 0);
}

TEST_F(GridTest, SortingBySeveralKeysKeepsTheOrderOfEqualRows) {
  HWND grid = makeGrid(0, {{"Group", 's', 's', 4}, {"N", 'i', 'l', 0}, {"Tag", 's', 's', 4}});
  const char* data[][3] = {{"b", "2", "r1"}, {"a", "9", "r2"}, {"b", "1", "r3"},
                           {"a", "9", "r4"}, {"b", "2", "r5"}, {"a", "3", "r6"}};
  for (const auto& row : data) {
    const int r = appendRow(grid);
    for (int c = 0; c < 3; ++c) ASSERT_TRUE(setText(grid, c, r, row[c]));
  }
  const HGSortKey keys[] = {{0, 1}, {1, 0}};  // group ascending, then number descending
  ASSERT_EQ(send(grid, KYM_GRIDSORT, 2, reinterpret_cast<LPARAM>(keys)), 1);
  std::vector<std::string> tags;
  for (int r = 0; r < rows(grid); ++r) tags.push_back(text(grid, 2, r));
  EXPECT_EQ(tags, (std::vector<std::string>{"r2", "r4", "r6", "r1", "r5", "r3"}));
  // The keys are kept: their count without a buffer, at most the room with one.
  EXPECT_EQ(send(grid, KYM_GRIDGETSORTKEYS), 2);
  HGSortKey out[2] = {{-1, -1}, {-1, -1}};
  EXPECT_EQ(send(grid, KYM_GRIDGETSORTKEYS, 1, reinterpret_cast<LPARAM>(out)), 2);
  EXPECT_EQ(out[0].column, 0);
  EXPECT_EQ(out[1].column, -1) << "nothing past the room given";
}

// One integer key: every order a stable sort of the same numbers gives,
// ascending and descending, over values that need every bit of a 32-bit
// storage (negative, large, repeated).
TEST_F(GridTest, OneIntegerKeySortsAsAStableSortOfItsNumbers) {
  struct Case {
    char storage;
    short ascending;
  } cases[] = {{'l', 1}, {'l', 0}, {'u', 1}, {'u', 0}, {'i', 1}};
  for (const Case& c : cases) {
    HWND grid = makeGrid(0, {{"N", 'n', c.storage, 0}, {"Tag", 's', 's', 8}});
    std::vector<int64_t> numbers;
    for (int i = 0; i < 600; ++i) {
      const int64_t spread = (i * 7919LL) % 5000 * 859433LL;  // up to about 4.3e9
      int64_t n = c.storage == 'u' ? spread : spread / 2 - 2147483647LL / 2 * (i % 3);
      if (c.storage != 'u') n = std::clamp<int64_t>(n, INT32_MIN, INT32_MAX);
      n = std::min<int64_t>(n, c.storage == 'u' ? UINT32_MAX : INT32_MAX);
      if (i % 10 == 0) n = numbers.empty() ? n : numbers[static_cast<size_t>(i / 2)];  // ties
      numbers.push_back(n);
      const int r = appendRow(grid);
      BYTE value[4];
      const auto stored = static_cast<uint32_t>(n);
      std::memcpy(value, &stored, 4);
      ASSERT_EQ(HGSetCellData(grid, 0, r, value), 1);
      ASSERT_TRUE(setText(grid, 1, r, std::to_string(i).c_str()));
    }
    std::vector<int> expected(numbers.size());
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
      return c.ascending ? numbers[size_t(a)] < numbers[size_t(b)] : numbers[size_t(a)] > numbers[size_t(b)];
    });
    const HGSortKey key{0, c.ascending};
    ASSERT_EQ(send(grid, KYM_GRIDSORT, 1, reinterpret_cast<LPARAM>(&key)), 1);
    for (int r = 0; r < rows(grid); ++r)
      ASSERT_EQ(text(grid, 1, r), std::to_string(expected[size_t(r)])) << c.storage << c.ascending << " row " << r;
    DestroyWindow(grid);
  }
}

TEST_F(GridTest, ATextColumnWithADecimalPictureSortsAsNumbers) {
  HWND grid = makeGrid(0, {{"Amount", 's', 's', 8, 'e', "#.0"}, {"Plain", 's', 's', 8}});
  for (const char* t : {"10", "9", "100", "9.5"}) {
    const int r = appendRow(grid);
    ASSERT_TRUE(setText(grid, 0, r, t));
    ASSERT_TRUE(setText(grid, 1, r, t));
  }
  const HGSortKey byAmount{0, 1};
  send(grid, KYM_GRIDSORT, 1, reinterpret_cast<LPARAM>(&byAmount));
  std::vector<std::string> seen;
  for (int r = 0; r < rows(grid); ++r) seen.push_back(text(grid, 1, r));
  EXPECT_EQ(seen, (std::vector<std::string>{"9", "9.5", "10", "100"}));
}

class GridStoreBudgetTest : public GridTest {
 protected:
  static HGridData* dataOf(HWND grid) { return reinterpret_cast<HGridData*>(SendMessageA(grid, KYM_GRIDGETDATA, 0, 0)); }
  // Rows of two texts of 40 bytes: values "<row>-a" and "<row>-b".
  void fillRows(HWND grid, int count) {
    for (int i = 0; i < count; ++i) {
      const int r = appendRow(grid);
      ASSERT_TRUE(setText(grid, 0, r, (std::to_string(r) + "-a").c_str()));
      ASSERT_TRUE(setText(grid, 1, r, (std::to_string(r) + "-b").c_str()));
    }
  }
  void expectRows(HWND grid, int count) {
    for (int r = 0; r < count; ++r) {
      ASSERT_EQ(text(grid, 0, r), std::to_string(r) + "-a") << r;
      ASSERT_EQ(text(grid, 1, r), std::to_string(r) + "-b") << r;
    }
  }
  HWND makeTwoTexts() { return makeGrid(0, {{"A", 's', 's', 40}, {"B", 's', 's', 40}}); }
};

TEST_F(GridStoreBudgetTest, RowsPageOutAndBackUnderASmallBudget) {
  HWND grid = makeTwoTexts();
  ASSERT_EQ(send(grid, KYM_GRIDSETMEMBUDGET, 1), 1);
  fillRows(grid, 400);
  const HGridData* data = dataOf(grid);
  EXPECT_LT(data->store->residentBytes, 2 * data->store->highWater);
  EXPECT_GT(data->store->fileEnd, 0) << "rows went out to the file";
  expectRows(grid, 400);
  // Sorting reaches every row through the store and keeps each row whole.
  const HGSortKey descending{0, 0};
  ASSERT_EQ(send(grid, KYM_GRIDSORT, 1, reinterpret_cast<LPARAM>(&descending)), 1);
  const HCtlCompareFn compare = HCtlComparator('s', 's');
  std::vector<std::string> seen;
  for (int r = 0; r < 400; ++r) {
    const std::string a = text(grid, 0, r);
    EXPECT_EQ(text(grid, 1, r), a.substr(0, a.size() - 1) + "b") << r;
    if (!seen.empty()) EXPECT_GE(compare(seen.back().c_str(), a.c_str()), 0) << r;
    seen.push_back(a);
  }
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());
}

// Rows made before the budget are plain blocks; setting the budget moves
// them into the store, and they page like the rest.
TEST_F(GridStoreBudgetTest, RowsMadeBeforeTheBudgetMoveIntoTheStore) {
  HWND grid = makeTwoTexts();
  fillRows(grid, 200);
  ASSERT_EQ(send(grid, KYM_GRIDSETMEMBUDGET, 1), 1);
  const HGridData* data = dataOf(grid);
  for (const HGRowRecord& row : data->rows) ASSERT_NE(row.object, nullptr);
  fillRows(grid, 200);
  expectRows(grid, 400);
}

TEST_F(GridStoreBudgetTest, AnIoErrorKeepsTheRows) {
  HWND grid = makeTwoTexts();
  ASSERT_EQ(send(grid, KYM_GRIDSETMEMBUDGET, 1), 1);
  fillRows(grid, 100);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tight = saved;
  tight.rlim_cur = static_cast<rlim_t>(dataOf(grid)->store->fileEnd);
  setrlimit(RLIMIT_FSIZE, &tight);
  testing::internal::CaptureStderr();
  fillRows(grid, 300);
  const std::string output = testing::internal::GetCapturedStderr();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_NE(output.find("Grid File Store:"), std::string::npos);
  expectRows(grid, 400);
}

}  // namespace
