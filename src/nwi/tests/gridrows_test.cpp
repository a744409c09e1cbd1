// Rows keep every byte of both halves whatever form they are held in:
// rows of plain values are kept short and laid out whole while reached, and
// columns added, moved and deleted, rows inserted and deleted around the
// reached row, sorting and moving into the file store must all see and keep
// the same bytes as rows held whole.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "gridfixture.h"

namespace {

using gridtest::GridTest;

// What the test expects of one cell: current and saved value and state.
struct Cell {
  std::vector<BYTE> value, savedValue;
  HGCellState state{}, savedState{};
};
using Row = std::vector<Cell>;  // by column index

class GridRowsTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    grid = makeGrid(0, {{"A", 'i', 'l', 0}, {"B", 's', 's', 8}});
  }

 public:  // the steps of a table reach the grid through the fixture
  using GridTest::send;
  int columns() const { return static_cast<int>(send(grid, KYM_GRIDCOLUMNCOUNT)); }
  // Column properties are asked by display position.
  size_t width(int column) const { return static_cast<size_t>(send(grid, KYM_GRIDGETFIELDSIZE, position(column))); }
  size_t rowSize() const {
    return static_cast<size_t>(send(grid, KYM_GRIDROWVALUESIZE)) + kHGStateSize * static_cast<size_t>(columns());
  }
  int position(int column) const { return static_cast<int>(send(grid, KYM_GRIDPOSOFFIELD, column)); }

  // One half of a row as the grid lays it out, from the test's cells.
  std::vector<BYTE> half(const Row& row, bool saved) const {
    std::vector<BYTE> bytes(rowSize(), 0);
    const size_t values = static_cast<size_t>(send(grid, KYM_GRIDROWVALUESIZE));
    for (int c = 0; c < columns(); ++c) {
      const Cell& cell = row[static_cast<size_t>(c)];
      const auto offset = static_cast<size_t>(send(grid, KYM_GRIDGETFIELDOFFSET, position(c)));
      const std::vector<BYTE>& value = saved ? cell.savedValue : cell.value;
      std::memcpy(bytes.data() + offset, value.data(), value.size());
      std::memcpy(bytes.data() + values + static_cast<size_t>(position(c)) * kHGStateSize,
                  saved ? &cell.savedState : &cell.state, kHGStateSize);
    }
    return bytes;
  }
  // A row written through the messages that lay whole halves in.
  void putRow(int row, const Row& cells) {
    std::vector<BYTE> current = half(cells, false), saved = half(cells, true);
    ASSERT_EQ(send(grid, KYM_GRIDPUTROW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(current.data())), 1);
    ASSERT_EQ(send(grid, KYM_GRIDPUTSAVEDROW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(saved.data())), 1);
  }
  void expectRows(const std::vector<Row>& expected, const std::string& step) const {
    ASSERT_EQ(rows(grid), static_cast<int>(expected.size())) << step;
    for (size_t r = 0; r < expected.size(); ++r) {
      std::vector<BYTE> current(rowSize()), saved(rowSize());
      ASSERT_EQ(send(grid, KYM_GRIDGETROW, r, reinterpret_cast<LPARAM>(current.data())), 1) << step;
      ASSERT_EQ(send(grid, KYM_GRIDGETSAVEDROW, r, reinterpret_cast<LPARAM>(saved.data())), 1) << step;
      EXPECT_EQ(current, half(expected[r], false)) << step << ": row " << r;
      EXPECT_EQ(saved, half(expected[r], true)) << step << ": saved half of row " << r;
    }
  }
  HWND grid = nullptr;
};

Cell cellOf(int32_t number, size_t width) {
  Cell cell;
  cell.value.assign(width, 0);
  std::memcpy(cell.value.data(), &number, std::min(width, sizeof number));
  cell.savedValue.assign(width, 0);
  return cell;
}

Cell textCell(const std::string& text, size_t width) {
  Cell cell;
  cell.value.assign(width, 0);
  std::memcpy(cell.value.data(), text.data(), std::min(width, text.size()));
  cell.savedValue.assign(width, 0);
  return cell;
}

// Rows of every shape a row can have: all zero, values alone, values in
// both halves, a state with its look on, a saved half of its own, a null
// cell.
std::vector<Row> shapes(size_t widthA, size_t widthB) {
  std::vector<Row> rows;
  auto plain = [&](int n) { return Row{cellOf(100 + n, widthA), textCell("r" + std::to_string(n), widthB)}; };
  rows.push_back(Row{cellOf(0, widthA), textCell("", widthB)});
  rows.push_back(plain(1));
  Row both = plain(2);
  for (Cell& c : both) c.savedValue = c.value;
  rows.push_back(both);
  Row looked = plain(3);
  looked[1].state = HGCellState{1, 0, 0, RGB(1, 2, 3), RGB(4, 5, 6), 0, 1};
  rows.push_back(looked);
  Row ownSaved = plain(4);
  ownSaved[0].savedValue = cellOf(7, widthA).value;
  rows.push_back(ownSaved);
  Row null = plain(5);
  null[0] = cellOf(0, widthA);
  null[0].state.marks = HGM_NULL;
  rows.push_back(null);
  return rows;
}

TEST_F(GridRowsTest, EveryShapeOfRowKeepsItsBytesThroughEachChange) {
  struct Step {
    const char* name;
    std::function<void(GridRowsTest&, std::vector<Row>&)> apply;
  };
  const std::vector<Step> steps = {
      {"reading back", [](GridRowsTest&, std::vector<Row>&) {}},
      {"a column moved",
       [](GridRowsTest& t, std::vector<Row>&) { ASSERT_EQ(t.send(t.grid, KYM_GRIDMOVEFIELD, 0, 1), 1); }},
      {"a column inserted first",
       [](GridRowsTest& t, std::vector<Row>& rows) {
         HGField* field = HGFieldCreate("C", 0, 40, 100, 's', 's', 's', 's', 5, 'e', 0, "");
         ASSERT_GE(t.send(t.grid, KYM_GRIDINSERTFIELD, 0, reinterpret_cast<LPARAM>(field)), 0);
         for (Row& row : rows) row.push_back(textCell("", 5));
       }},
      {"a column deleted",
       [](GridRowsTest& t, std::vector<Row>& rows) {
         ASSERT_EQ(t.send(t.grid, KYM_GRIDDELETEFIELD, 0), 1);
         for (Row& row : rows) row.erase(row.begin());
       }},
      {"a row inserted in the reached row's place",
       [](GridRowsTest& t, std::vector<Row>& rows) {
         const int32_t value = 55;
         ASSERT_EQ(HGSetCellData(t.grid, 0, 1, &value), 1);
         std::memcpy(rows[1][0].value.data(), &value, sizeof value);
         ASSERT_EQ(t.send(t.grid, KYM_GRIDINSERTROW, 1, 0), 1);
         rows.insert(rows.begin() + 1, Row{cellOf(0, t.width(0)), textCell("", t.width(1))});
       }},
      {"the reached row deleted",
       [](GridRowsTest& t, std::vector<Row>& rows) {
         ASSERT_EQ(HGSetCellData(t.grid, 1, 2, "gone"), 1);
         ASSERT_EQ(t.send(t.grid, KYM_GRIDDELETEROW, 2), 1);
         rows.erase(rows.begin() + 2);
       }},
      {"sorted by A descending",
       [](GridRowsTest& t, std::vector<Row>& rows) {
         const HGSortKey key{0, 0};
         ASSERT_EQ(t.send(t.grid, KYM_GRIDSORT, 1, reinterpret_cast<LPARAM>(&key)), 1);
         std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
           int32_t x = 0, y = 0;
           std::memcpy(&x, a[0].value.data(), sizeof x);
           std::memcpy(&y, b[0].value.data(), sizeof y);
           return x > y;
         });
       }},
      {"moved into the file store",
       [](GridRowsTest& t, std::vector<Row>&) { ASSERT_EQ(t.send(t.grid, KYM_GRIDSETMEMBUDGET, 1), 1); }},
  };
  gridtest::ScratchDirectory directory;
  std::vector<Row> expected = shapes(width(0), width(1));
  for (size_t r = 0; r < expected.size(); ++r) {
    appendRow(grid);
    putRow(static_cast<int>(r), expected[r]);
  }
  for (const Step& step : steps) {
    step.apply(*this, expected);
    ASSERT_FALSE(HasFatalFailure()) << step.name;
    expectRows(expected, step.name);
  }
}

// A cell written through the export changes the current half alone; the
// saved half and the other cells stay as they were, and a null cell is
// marked in its state.
TEST_F(GridRowsTest, ACellWrittenChangesItsCurrentHalfAlone) {
  std::vector<Row> expected = shapes(width(0), width(1));
  for (size_t r = 0; r < expected.size(); ++r) {
    appendRow(grid);
    putRow(static_cast<int>(r), expected[r]);
  }
  for (size_t r = 0; r < expected.size(); ++r) {
    const auto number = static_cast<int32_t>(900 + r);
    ASSERT_EQ(HGSetCellData(grid, 0, static_cast<int>(r), &number), 1);
    std::memcpy(expected[r][0].value.data(), &number, sizeof number);
    expected[r][0].state.marks = 0;
    ASSERT_EQ(HGSetCellData(grid, 1, static_cast<int>(r), nullptr), 1);
    std::fill(expected[r][1].value.begin(), expected[r][1].value.end(), 0);
    expected[r][1].state.marks = HGM_NULL;
  }
  expectRows(expected, "each row written");
}

}  // namespace
