// CSplitterWnd: static splitters of up to 16 by 16 panes laid out by their
// ideal sizes (the last taking the rest), and bars dragged with the mouse.
#include <afxext.h>

#include <internal/testinput.h>

#include <gtest/gtest.h>

namespace {

class App : public CWinApp {
 public:
  App() : CWinApp("Splitter test") {}
};

class Splitter : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                              nullptr);
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override {
    splitter_.DestroyWindow();
    DestroyWindow(parent_);
  }
  // A pane window in the cell.
  HWND pane(int row, int col) {
    return CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, splitter_.m_hWnd,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(splitter_.IdFromRowCol(row, col))), nullptr,
                           nullptr);
  }
  static RECT rectIn(HWND hWnd, HWND hParent) {
    RECT rc{};
    GetWindowRect(hWnd, &rc);
    MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }

  // A splitter that shows its rows and columns as given.
  class GrowingSplitter : public CSplitterWnd {
   public:
    void Show(int rows, int cols) {
      m_nRows = rows;
      m_nCols = cols;
    }
  };
  App app_;
  HWND parent_ = nullptr;
  GrowingSplitter splitter_;
};

TEST_F(Splitter, CreateStaticRefusesBadCounts) {
  const struct {
    int rows, cols;
    bool made;
  } cases[] = {{1, 1, true}, {16, 16, true}, {0, 1, false}, {1, 0, false}, {17, 1, false}, {1, 17, false}};
  for (const auto& c : cases) {
    CSplitterWnd splitter;
    EXPECT_EQ(splitter.CreateStatic(CWnd::FromHandle(parent_), c.rows, c.cols) != FALSE, c.made)
        << c.rows << " x " << c.cols;
    if (!c.made) continue;
    EXPECT_EQ(splitter.GetMaxRowCount(), c.rows);
    EXPECT_EQ(splitter.GetMaxColumnCount(), c.cols);
    EXPECT_EQ(GetDlgCtrlID(splitter.m_hWnd), AFX_IDW_PANE_FIRST);
    splitter.DestroyWindow();
  }
}

TEST_F(Splitter, LaysRowsOutByIdealSizesAndTheLastTakesTheRest) {
  ASSERT_TRUE(splitter_.CreateStatic(CWnd::FromHandle(parent_), 16, 1));
  splitter_.Show(3, 1);
  HWND top = pane(0, 0), middle = pane(1, 0), bottom = pane(2, 0);
  splitter_.SetRowInfo(0, 100, 20);
  splitter_.SetRowInfo(1, 50, 20);
  splitter_.SetRowInfo(2, 500, 20);
  splitter_.SetColumnInfo(0, 400, 20);
  splitter_.RecalcLayout();
  const int gap = CSplitterWnd::kSplitterGap;
  const struct {
    HWND hWnd;
    int top, height;
  } expected[] = {{top, 0, 100}, {middle, 100 + gap, 50}, {bottom, 150 + 2 * gap, 300 - 150 - 2 * gap}};
  for (const auto& e : expected) {
    RECT rc = rectIn(e.hWnd, splitter_.m_hWnd);
    EXPECT_EQ(rc.top, e.top);
    EXPECT_EQ(rc.bottom - rc.top, e.height);
    EXPECT_EQ(rc.right - rc.left, 400);
  }
  int cur = 0, min = 0;
  splitter_.GetRowInfo(2, cur, min);
  EXPECT_EQ(cur, 300 - 150 - 2 * gap);
  EXPECT_EQ(min, 20);
  EXPECT_EQ(splitter_.GetRowIdeal(2), 500);
  EXPECT_EQ(splitter_.GetPane(1, 0)->m_hWnd, middle);
  EXPECT_EQ(splitter_.GetPane(3, 0), nullptr) << "a row that is not shown";
  // A row whose room is less than its minimum shows nothing.
  splitter_.SetRowInfo(0, 295, 20);
  splitter_.RecalcLayout();
  splitter_.GetRowInfo(1, cur, min);
  EXPECT_EQ(cur, 0);
}

TEST_F(Splitter, DraggingABarSetsTheIdealSizeBeforeIt) {
  ASSERT_TRUE(splitter_.CreateStatic(CWnd::FromHandle(parent_), 1, 16));
  splitter_.Show(1, 2);
  pane(0, 0);
  pane(0, 1);
  splitter_.SetRowInfo(0, 300, 20);
  splitter_.SetColumnInfo(0, 150, 20);
  splitter_.SetColumnInfo(1, 150, 20);
  splitter_.RecalcLayout();
  const int bar = 150 + CSplitterWnd::kSplitterGap / 2;
  win32::input::drag(splitter_.m_hWnd, bar, 100, bar + 60, 100);
  win32::input::pumpMessages();
  EXPECT_EQ(splitter_.GetColumnIdeal(0), 150 + 60) << "by the distance dragged";
  int cur = 0, min = 0;
  splitter_.GetColumnInfo(1, cur, min);
  EXPECT_EQ(cur, 400 - splitter_.GetColumnIdeal(0) - CSplitterWnd::kSplitterGap);
}

}  // namespace
