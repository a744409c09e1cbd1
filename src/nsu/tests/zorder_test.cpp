// The z-order manager: list order by order number, the stacking of a
// panel's children through deferred positioning, and that it holds through
// moves and shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "KyZOrderMngr.h"

namespace {

std::vector<HWND>* g_painted = nullptr;

LRESULT CALLBACK childProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    if (g_painted) g_painted->push_back(hwnd);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

class ZOrder : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = childProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZOrderChild";
    RegisterClassA(&wc);
    parent = CreateWindowExA(0, "STATIC", "panel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    for (int i = 0; i < 5; ++i) {
      child[i] = CreateWindowExA(0, "ZOrderChild", "", WS_CHILD | WS_VISIBLE, 10 * i, 10 * i, 50, 20, parent,
                                 nullptr, nullptr, nullptr);
      ASSERT_NE(child[i], nullptr);
    }
  }
  void TearDown() override { DestroyWindow(parent); }

  // The parent's children, top first.
  std::vector<HWND> stacking() const {
    std::vector<HWND> out;
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) out.push_back(w);
    return out;
  }

  HWND parent = nullptr;
  HWND child[5] = {};
};

TEST_F(ZOrder, ListOrderFollowsTheOrderNumbers) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> adds;  // child index, order
    std::vector<int> list;                  // child indexes in list order
  } cases[] = {
      {"equal orders keep the first ahead", {{0, 5}, {1, 3}, {2, 5}}, {1, 0, 2}},
      {"a listed window moves, never twice", {{0, 5}, {1, 3}, {0, 1}, {1, 7}}, {0, 1}},
      {"0 and -1 sort as 4000", {{0, 0}, {1, 4001}, {2, 3999}, {3, -1}, {4, 4000}}, {2, 0, 3, 4, 1}},
  };
  for (const auto& c : cases) {
    KyZOrderMngr z;
    for (auto [i, order] : c.adds) z.Add(child[i], order, 0);
    std::vector<HWND> expected;
    for (int i : c.list) expected.push_back(child[i]);
    EXPECT_EQ(z.Windows(), expected) << c.what;
  }
}

TEST_F(ZOrder, RelativeOrderWalksFromTheHead) {
  KyZOrderMngr z;
  z.Add(child[0], 20, 0);
  z.Add(child[1], 10, 0);
  EXPECT_EQ(z.RelativeOrder(child[1], child[0]), KyZOrderMngr::FirstComesFirst);
  EXPECT_EQ(z.RelativeOrder(child[0], child[1]), KyZOrderMngr::SecondComesFirst);
  EXPECT_EQ(z.RelativeOrder(child[0], child[4]), KyZOrderMngr::FirstComesFirst);
  EXPECT_EQ(z.RelativeOrder(child[3], child[4]), KyZOrderMngr::NeitherListed);
  z.Remove(child[1]);
  z.Remove(child[3]);  // not listed: nothing
  EXPECT_EQ(z.Windows(), std::vector<HWND>{child[0]});
  z.Clear();
  EXPECT_EQ(z.RelativeOrder(child[0], child[1]), KyZOrderMngr::NeitherListed);
}

TEST_F(ZOrder, DrawAllStacksTheGroupAtTheBottomAndKeepsItThroughMovesAndShows) {
  KyZOrderMngr z;
  // Tab positions 3, 1, 2 for children 0, 1, 2; children 3 and 4 unlisted.
  z.Add(child[0], 3, 0);
  z.Add(child[1], 1, 0);
  z.Add(child[2], 2, 0);
  z.DrawAll(0);
  // New children start at the bottom, so the unlisted ones are on top in
  // the order they were made.
  std::vector<HWND> expected{child[3], child[4], child[1], child[2], child[0]};
  EXPECT_EQ(stacking(), expected);

  MoveWindow(child[2], 100, 100, 60, 30, TRUE);
  SetWindowPos(child[1], nullptr, 5, 5, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
  ShowWindow(child[0], SW_HIDE);
  ShowWindow(child[0], SW_SHOW);
  EXPECT_EQ(stacking(), expected);

  // A later add lands behind the window ahead of it in the list.
  z.Add(child[3], 4, 0);
  EXPECT_EQ(stacking(), (std::vector<HWND>{child[4], child[1], child[2], child[0], child[3]}));
}

TEST_F(ZOrder, WindowsArePaintedInListOrder) {
  KyZOrderMngr z;
  z.Add(child[2], 1, 0);
  z.Add(child[0], 2, 0);
  z.Add(child[1], 3, 0);
  std::vector<HWND> painted;
  g_painted = &painted;
  for (HWND w : child) InvalidateRect(w, nullptr, TRUE);
  z.DrawAll(0);
  g_painted = nullptr;
  EXPECT_EQ(painted, (std::vector<HWND>{child[2], child[0], child[1]}));
}

TEST_F(ZOrder, AWindowThatIsGoneAbandonsOnlyThatPass) {
  KyZOrderMngr z;
  HWND gone = CreateWindowExA(0, "ZOrderChild", "", WS_CHILD, 0, 0, 5, 5, parent, nullptr, nullptr, nullptr);
  z.Add(child[0], 1, 0);
  z.Add(gone, 2, 0);
  z.Add(child[1], 3, 0);
  DestroyWindow(gone);
  auto before = stacking();
  z.DrawAll(0);  // the pass fails at the lost window: nothing restacked, no crash
  EXPECT_EQ(stacking(), before);
  z.Remove(gone);
  z.DrawAll(0);  // a new pass opens
  auto after = stacking();
  ASSERT_EQ(after.size(), 5u);
  EXPECT_EQ(after[3], child[0]);
  EXPECT_EQ(after[4], child[1]);
}

}  // namespace
