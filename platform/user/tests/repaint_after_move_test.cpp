// What is painted again when a window moves, changes size, z-order or
// visibility: the parent only where it is uncovered, the window itself only
// where it shows something it did not show before (unless SWP_NOCOPYBITS),
// nothing with SWP_NOREDRAW; and a child that paints early is not painted
// over by a parent that paints its whole client area.
#include <internal/snapshot.h>
#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

using win32::snapshot::windowPixel;

namespace {

constexpr COLORREF kParentColour = RGB(200, 0, 0);
constexpr COLORREF kChildColour = RGB(0, 0, 200);
constexpr COLORREF kSiblingColour = RGB(0, 160, 0);

struct PaintLog {
  int count = 0;
  RECT last{};  // rcPaint of the last WM_PAINT
};
std::map<HWND, PaintLog>& paintLog() {
  static std::map<HWND, PaintLog> log;
  return log;
}

// Fills its whole client area, whatever the update region, in the colour
// the window's user data holds: a parent without WS_CLIPCHILDREN paints over
// its children wherever its update region lets it.
LRESULT CALLBACK fillingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    PaintLog& log = paintLog()[hwnd];
    ++log.count;
    log.last = ps.rcPaint;
    RECT all;
    GetClientRect(hwnd, &all);
    HBRUSH brush = CreateSolidBrush((COLORREF)GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

const char* fillingClass() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = fillingProc;
    wc.lpszClassName = "KyFilling";
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return "KyFilling";
}

class RepaintAfterMove : public ::testing::Test {
 protected:
  void SetUp() override {
    paintLog().clear();
    parent = make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 150, nullptr, kParentColour);
    child = make(WS_CHILD | WS_VISIBLE, 20, 20, 60, 40, parent, kChildColour);
  }
  void TearDown() override {
    DestroyWindow(parent);
    win32::input::pumpMessages();
  }
  HWND make(DWORD style, int x, int y, int cx, int cy, HWND owner, COLORREF colour) {
    HWND w = CreateWindowExA(0, fillingClass(), "", style, x, y, cx, cy, owner, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(w, GWLP_USERDATA, (LONG_PTR)colour);
    return w;
  }
  // Paints what is pending, then forgets the paints so far.
  void settle() {
    win32::input::pumpMessages();
    paintLog().clear();
  }
  // Pixels of `r` (parent's client coordinates) that are not `colour`.
  int pixelsNot(COLORREF colour, const RECT& r) {
    int wrong = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) wrong += windowPixel(parent, x, y) != colour;
    return wrong;
  }
  HWND parent = nullptr, child = nullptr;
};

// The fault: the parent was invalidated over the whole old rectangle, the
// child painted at once (as an edit does between EN_UPDATE and EN_CHANGE),
// and the parent's later paint covered it.
TEST_F(RepaintAfterMove, AChildThatPaintsAtOnceIsNotPaintedOverByItsParent) {
  struct Case {
    const char* name;
    bool parentPaintedFirst;  // false: the parent still owes its first paint
    std::function<void(HWND)> move;
    RECT after;      // the child's rectangle afterwards
    RECT uncovered;  // parent area the child left (empty: none)
  } cases[] = {
      {"SetWindowPos, overlapping move", true,
       [](HWND c) { SetWindowPos(c, nullptr, 30, 25, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); },
       {30, 25, 90, 65}, {20, 20, 30, 60}},
      {"MoveWindow, shrinking", true, [](HWND c) { MoveWindow(c, 20, 20, 40, 30, TRUE); }, {20, 20, 60, 50},
       {60, 20, 80, 60}},
      {"MoveWindow, growing and moving", true, [](HWND c) { MoveWindow(c, 10, 10, 90, 70, TRUE); }, {10, 10, 100, 80},
       {0, 0, 0, 0}},
      {"DeferWindowPos", true,
       [](HWND c) {
         HDWP batch = BeginDeferWindowPos(1);
         batch = DeferWindowPos(batch, c, nullptr, 25, 20, 60, 40, SWP_NOZORDER | SWP_NOACTIVATE);
         EndDeferWindowPos(batch);
       },
       {25, 20, 85, 60}, {20, 20, 25, 60}},
      {"parent not painted yet, shrinking", false, [](HWND c) { MoveWindow(c, 20, 20, 40, 30, TRUE); },
       {20, 20, 60, 50}, {60, 20, 80, 60}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MoveWindow(child, 20, 20, 60, 40, TRUE);
    win32::input::pumpMessages();
    if (!c.parentPaintedFirst) InvalidateRect(parent, nullptr, TRUE);
    c.move(child);
    UpdateWindow(child);
    // windowPixel paints what is pending first: the parent's turn comes now.
    EXPECT_EQ(pixelsNot(kChildColour, c.after), 0);
    if (c.uncovered.right > c.uncovered.left) {
      EXPECT_EQ(pixelsNot(kParentColour, c.uncovered), 0);
    }
  }
  std::string path = std::string(KY_BIN_DIR) + "/../repaint_moved_child.png";
  EXPECT_TRUE(win32::snapshot::saveWindowPng(parent, path.c_str()));
}

TEST_F(RepaintAfterMove, WhatEachFlagRepaints) {
  HWND sibling = make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 100, 60, 60, 40, parent, kSiblingColour);
  SetWindowLongA(child, GWL_STYLE, GetWindowLongA(child, GWL_STYLE) | WS_CLIPSIBLINGS);
  struct Case {
    const char* name;
    std::function<void()> prepare;  // before the paints are counted
    std::function<void()> change;
    int childPaints;
    RECT childPaint;   // rcPaint of the child's paint, when it paints
    int parentPaints;
    RECT parentPaint;  // rcPaint of the parent's paint, when it paints
    int siblingPaints = 0;
    RECT siblingPaint{};
  } cases[] = {
      {"a move keeps the child's pixels: the parent paints what it uncovered", nullptr,
       [&] { SetWindowPos(child, nullptr, 50, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); }, 0, {}, 1,
       {20, 20, 50, 60}},
      {"SWP_NOCOPYBITS: the child paints whole", nullptr,
       [&] {
         SetWindowPos(child, nullptr, 50, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
       },
       1, {0, 0, 60, 40}, 1, {20, 20, 50, 60}},
      {"SWP_NOREDRAW: nothing", nullptr,
       [&] { SetWindowPos(child, nullptr, 50, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW); },
       0, {}, 0, {}},
      {"a new size: the child paints whole, the parent nothing it still covers", nullptr,
       [&] { MoveWindow(child, 20, 20, 70, 40, TRUE); }, 1, {0, 0, 70, 40}, 0, {}},
      {"SWP_HIDEWINDOW: the parent paints where it was", nullptr,
       [&] {
         SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                                                      SWP_HIDEWINDOW);
       },
       0, {}, 1, {20, 20, 80, 60}},
      {"SWP_SHOWWINDOW: the child paints whole", [&] { ShowWindow(child, SW_HIDE); },
       [&] {
         SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                                                      SWP_SHOWWINDOW);
       },
       1, {0, 0, 60, 40}, 0, {}},
      {"raised over a sibling: the child paints the part it now shows", [&] {
         MoveWindow(child, 80, 40, 60, 40, TRUE);
         SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
       },
       [&] { SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); }, 1,
       {20, 20, 60, 40}, 0, {}},
      {"lowered under a sibling: the sibling paints the part it now shows",
       [&] {
         MoveWindow(child, 80, 40, 60, 40, TRUE);
         SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
       },
       [&] { SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); }, 0, {}, 0, {},
       1, {0, 0, 40, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ShowWindow(child, SW_SHOWNA);
    MoveWindow(child, 20, 20, 60, 40, TRUE);
    if (c.prepare) c.prepare();
    settle();
    c.change();
    win32::input::pumpMessages();
    EXPECT_EQ(paintLog()[child].count, c.childPaints);
    if (c.childPaints) {
      EXPECT_TRUE(EqualRect(&paintLog()[child].last, &c.childPaint));
    }
    EXPECT_EQ(paintLog()[parent].count, c.parentPaints);
    if (c.parentPaints) {
      EXPECT_TRUE(EqualRect(&paintLog()[parent].last, &c.parentPaint));
    }
    EXPECT_EQ(paintLog()[sibling].count, c.siblingPaints);
    if (c.siblingPaints) {
      EXPECT_TRUE(EqualRect(&paintLog()[sibling].last, &c.siblingPaint));
    }
  }
}

TEST_F(RepaintAfterMove, AMovedChildKeepsItsPixelsAndTheSiblingsItPassesOver) {
  HWND sibling = make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 60, 30, 40, 40, parent, kSiblingColour);
  SetWindowLongA(child, GWL_STYLE, GetWindowLongA(child, GWL_STYLE) | WS_CLIPSIBLINGS);
  settle();
  // The child is above the sibling (created first) and slides off it.
  SetWindowPos(child, nullptr, 0, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(pixelsNot(kChildColour, RECT{0, 90, 60, 130}), 0);
  EXPECT_EQ(pixelsNot(kSiblingColour, RECT{60, 30, 100, 70}), 0);
  EXPECT_EQ(pixelsNot(kParentColour, RECT{20, 20, 60, 60}), 0);
  // Moved back under the sibling's corner it keeps what it showed and paints only what came out.
  paintLog().clear();
  SetWindowPos(child, sibling, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(pixelsNot(kChildColour, RECT{20, 20, 60, 60}), 0);
  EXPECT_EQ(pixelsNot(kChildColour, RECT{60, 20, 80, 30}), 0);
  EXPECT_EQ(pixelsNot(kSiblingColour, RECT{60, 30, 100, 70}), 0);
  EXPECT_EQ(paintLog()[sibling].count, 0);
}

TEST_F(RepaintAfterMove, ASiblingAChildPaintedOverIsRepairedWhenTheChildLeaves) {
  HWND sibling = make(WS_CHILD | WS_VISIBLE, 60, 30, 40, 40, parent, kSiblingColour);
  // The child, without WS_CLIPSIBLINGS, lies below the sibling and paints over it.
  SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  settle();
  InvalidateRect(child, nullptr, TRUE);
  UpdateWindow(child);
  ASSERT_EQ(windowPixel(parent, 70, 40), kChildColour);
  SetWindowPos(child, nullptr, 0, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(pixelsNot(kSiblingColour, RECT{60, 30, 100, 70}), 0);
  EXPECT_EQ(pixelsNot(kChildColour, RECT{0, 90, 60, 130}), 0);
  EXPECT_EQ(paintLog()[sibling].count, 1);
}

TEST_F(RepaintAfterMove, ATopLevelWindowMovedIsNotPaintedAgain) {
  settle();
  SetWindowPos(parent, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  win32::input::pumpMessages();
  EXPECT_EQ(paintLog()[parent].count, 0);
  EXPECT_EQ(paintLog()[child].count, 0);
  EXPECT_EQ(windowPixel(parent, 30, 30), kChildColour);
  // A new size paints it all again.
  SetWindowPos(parent, nullptr, 0, 0, 220, 160, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  win32::input::pumpMessages();
  EXPECT_EQ(paintLog()[parent].count, 1);
  EXPECT_EQ(windowPixel(parent, 210, 155), kParentColour);
}

// An edit resized and given text before the queue runs (an up-down control
// does this to its buddy) shows its frame and its text afterwards.
TEST_F(RepaintAfterMove, AnEditResizedAndGivenTextBeforeThePumpIsShown) {
  for (bool parentPaintedFirst : {true, false}) {
    SCOPED_TRACE(parentPaintedFirst ? "parent painted first" : "parent still owing its first paint");
    HWND edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 80, 120, 24, parent, nullptr,
                                nullptr, nullptr);
    if (parentPaintedFirst) win32::input::pumpMessages();
    else InvalidateRect(parent, nullptr, TRUE);
    SetWindowPos(edit, nullptr, 20, 80, 100, 24, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextA(edit, "12345");
    EXPECT_EQ(windowPixel(edit, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(windowPixel(edit, 99, 23), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(windowPixel(edit, 95, 12), GetSysColor(COLOR_WINDOW));
    int ink = 0;
    for (int y = 1; y < 23; ++y)
      for (int x = 1; x < 60; ++x) ink += windowPixel(edit, x, y) == GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_GT(ink, 10) << "the text shows";
    EXPECT_EQ(windowPixel(parent, 130, 90), kParentColour) << "where the edit was";
    if (!parentPaintedFirst) {
      std::string path = std::string(KY_BIN_DIR) + "/../repaint_resized_edit.png";
      EXPECT_TRUE(win32::snapshot::saveWindowPng(parent, path.c_str()));
    }
    DestroyWindow(edit);
  }
}

}  // namespace

namespace {

// A parent of many children finds the ones a change uncovers by place: a
// child destroyed among hundreds of siblings (one of them moved there just
// before) repaints exactly the siblings it covered.
TEST_F(RepaintAfterMove, AmongManySiblingsExactlyTheUncoveredOnesRepaint) {
  std::vector<HWND> siblings;
  for (int y = 0; y < 150; y += 10)
    for (int x = 0; x < 200; x += 10) siblings.push_back(make(WS_CHILD | WS_VISIBLE, x, y, 10, 10, parent, kSiblingColour));
  ASSERT_GT(siblings.size(), 256u);
  SetWindowPos(siblings.back(), nullptr, 55, 45, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(siblings.front(), nullptr, 0, 0, 5, 5, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT cover{40, 40, 100, 80};
  HWND coverChild = make(WS_CHILD | WS_VISIBLE, cover.left, cover.top, cover.right - cover.left, cover.bottom - cover.top,
                         parent, kChildColour);
  settle();
  DestroyWindow(coverChild);
  win32::input::pumpMessages();
  int repainted = 0;
  for (HWND s : siblings) {
    RECT r, meet;
    GetWindowRect(s, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    const bool covered = IntersectRect(&meet, &r, &cover) != 0;
    EXPECT_EQ(paintLog()[s].count, covered ? 1 : 0) << r.left << "," << r.top;
    repainted += covered;
  }
  EXPECT_EQ(repainted, 6 * 4 + 1);  // the grid under the cover and the sibling moved there
  EXPECT_EQ(paintLog()[child].count, 1);  // the fixture's child, under the cover's left edge
}

}  // namespace
