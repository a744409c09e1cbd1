// Virtual mode: a grid over a hundred thousand rows holds only a window of
// them, fetched from and written back to its owner's callback.
#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "gridfixture.h"

namespace {

using gridtest::GridTest;

// The owner: rows whose single 32-bit value is their number (or what was
// stored), with switches to refuse operations.
struct Owner {
  LONG rows = 100000;
  std::map<LONG, int32_t> stored;
  std::vector<std::pair<int, LONG>> calls;  // operation, argument
  bool refuseValidation = false;
  bool refuseWriteBack = false;
  int fetches = 0;
};
Owner& owner() {
  static Owner o;
  return o;
}

LONG CALLBACK ownerCallback(HWND, int operation, LONG argument, void* values) {
  Owner& o = owner();
  o.calls.emplace_back(operation, argument);
  switch (operation) {
    case HGV_FETCH: {
      ++o.fetches;
      if (argument < 0 || argument >= o.rows) return 0;
      const auto found = o.stored.find(argument);
      const int32_t value = found != o.stored.end() ? found->second : argument;
      std::memcpy(values, &value, sizeof value);
      return 1;
    }
    case HGV_VALIDATE: return o.refuseValidation ? 1 : 0;
    case HGV_WRITEBACK:
      if (o.refuseWriteBack) return 0;
      [[fallthrough]];
    case HGV_STORE: {
      int32_t value;
      std::memcpy(&value, values, sizeof value);
      o.stored[argument] = value;
      return 1;
    }
    default: return 1;
  }
}

class GridVirtualTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    owner() = Owner{};
    grid = makeGrid(HGO_TITLES | HGO_ROWHEADER, {{"Number", 'i', 'l', 0}}, 300, 200);
    send(grid, KYM_GRIDSETCALLBACK, 0, reinterpret_cast<LPARAM>(&ownerCallback));
  }
  int32_t value(int row) {
    int32_t v = -1;
    HGGetCellData(grid, 0, row, &v);
    return v;
  }
  LONG top() { return static_cast<LONG>(send(grid, KYM_GRIDGETTOPROW)); }
  LONG base() { return static_cast<LONG>(send(grid, KYM_GRIDGETROWBASE)); }
  int cache() { return static_cast<int>(send(grid, KYM_GRIDGETCACHEROWS)); }
  HWND grid = nullptr;
};

TEST_F(GridVirtualTest, HoldsOnlyItsWindowOfRows) {
  EXPECT_GE(rows(grid), 2);
  EXPECT_LE(rows(grid), cache());
  EXPECT_LT(owner().fetches, 100) << "rows are fetched for the window only";
  for (int r = 0; r < rows(grid); ++r) EXPECT_EQ(value(r), r);
}

TEST_F(GridVirtualTest, ScrollingToTheEndOfAnnouncedRowsFetchesNearTheEnd) {
  send(grid, KYM_GRIDSETVROWCOUNT, 0, 100000);
  owner().fetches = 0;
  send(grid, KYM_GRIDSETTOPROW, 200000, 0);
  const LONG last = top();
  EXPECT_GT(last, 99980);
  EXPECT_LT(last, 100000);
  EXPECT_LE(owner().fetches, 2 * cache());
  EXPECT_LE(rows(grid), cache());
  EXPECT_EQ(value(static_cast<int>(last - base())), last);
  // The scroll range stays within what a scroll bar holds.
  const LRESULT range = send(grid, KYM_GRIDVSCROLLRANGE);
  EXPECT_GT(range, 0);
  EXPECT_LE(range, 32766);
  EXPECT_EQ(send(grid, KYM_GRIDGETVROWCOUNT), 100000);
  // Back up one row: the window grows at the front by one fetch.
  owner().fetches = 0;
  const LONG before = base();
  send(grid, KYM_GRIDSETTOPROW, static_cast<WPARAM>(before - 1), 0);
  EXPECT_EQ(top(), before - 1);
  EXPECT_EQ(value(static_cast<int>(top() - base())), before - 1);
  EXPECT_EQ(owner().fetches, 1);
}

TEST_F(GridVirtualTest, TheEndOfDataAddsTheNewRow) {
  owner().rows = 5;
  send(grid, KYM_GRIDSETOPTION, 1, HGO_NEWROW);
  send(grid, KYM_GRIDSETCALLBACK, 0, reinterpret_cast<LPARAM>(&ownerCallback));
  ASSERT_EQ(rows(grid), 6);
  EXPECT_EQ(send(grid, KYM_GRIDGETROWFLAGS, 5) & HGR_NEW, HGR_NEW);
  EXPECT_EQ(send(grid, KYM_GRIDGETVROWCOUNT), 6) << "the data's rows and the new row";
  EXPECT_NE(std::find(codes().begin(), codes().end(), HGN_ROWADDED), codes().end());
}

TEST_F(GridVirtualTest, AChangeIsValidatedFirstAndStored) {
  const int32_t seven = 7;
  owner().refuseValidation = true;
  EXPECT_EQ(HGSetCellData(grid, 0, 1, &seven), 0);
  EXPECT_EQ(HGSetCellData(grid, 0, 1, nullptr), 0);
  HGCellState state{};
  HGGetCellState(grid, 0, 1, &state);
  EXPECT_EQ(state.marks, 0) << "a refused change sets no null mark";
  EXPECT_EQ(value(1), 1);
  EXPECT_EQ(send(grid, KYM_GRIDGETROWFLAGS, 1) & HGR_MODIFIED, 0);
  owner().refuseValidation = false;
  EXPECT_EQ(HGSetCellData(grid, 0, 1, &seven), 1);
  EXPECT_EQ(owner().stored[1], 7);
  EXPECT_EQ(send(grid, KYM_GRIDGETROWFLAGS, 1) & HGR_MODIFIED, 0) << "stored rows are not modified";
}

// A modified row that leaves the window is written back; a refused write-back
// keeps the row held and is reported.
TEST_F(GridVirtualTest, ARefusedWriteBackKeepsTheRow) {
  send(grid, KYM_GRIDSETROWFLAGS, 0, MAKELPARAM(1, HGR_MODIFIED));
  owner().refuseWriteBack = true;
  testing::internal::CaptureStderr();
  send(grid, KYM_GRIDSETTOPROW, 30, 0);
  const std::string output = testing::internal::GetCapturedStderr();
  EXPECT_NE(output.find("refused"), std::string::npos);
  EXPECT_EQ(base(), 0) << "row 0 is still held";
  EXPECT_EQ(value(0), 0);
  owner().refuseWriteBack = false;
  send(grid, KYM_GRIDSETTOPROW, 90, 0);
  EXPECT_EQ(owner().stored.count(0), 1u);
  EXPECT_GT(base(), 0);
}

}  // namespace
