// Positions, sizes, z-order, visibility states and coordinate mapping.
#include "message_log.h"

#include <windows.h>

#include <gtest/gtest.h>

using test::Expect;
using test::kLParam;
using test::kWParam;

namespace {

class Positions : public ::testing::Test {
 protected:
  void SetUp() override {
    test::answer() = nullptr;
    parent = CreateWindowExA(0, test::recorderClass(), "p", WS_POPUP | WS_VISIBLE, 100, 50, 400, 300, nullptr, nullptr,
                             nullptr, nullptr);
    for (int i = 0; i < 3; ++i)
      kids[i] = CreateWindowExA(0, test::recorderClass(), "k", WS_CHILD | WS_VISIBLE, 10 * i, 10 * i, 50, 50, parent,
                                (HMENU)(INT_PTR)(i + 1), nullptr, nullptr);
    test::flushMessages();
  }
  void TearDown() override {
    DestroyWindow(parent);
    test::flushMessages();
  }
  std::vector<HWND> zOrder() {
    std::vector<HWND> out;
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) out.push_back(h);
    return out;
  }
  HWND parent = nullptr;
  HWND kids[3] = {};
};

TEST_F(Positions, ChildrenStackInCreationOrderAndMoveWithInsertAfter) {
  EXPECT_EQ(zOrder(), (std::vector<HWND>{kids[0], kids[1], kids[2]}));
  struct Case {
    int who;
    HWND after;
    std::vector<int> expected;
  } cases[] = {
      {2, HWND_TOP, {2, 0, 1}},
      {2, HWND_BOTTOM, {0, 1, 2}},
      {0, nullptr, {1, 0, 2}},  // after kids[1]: filled below
      {2, HWND_TOP, {2, 1, 0}},
  };
  cases[2].after = kids[1];
  for (auto& c : cases) {
    EXPECT_TRUE(SetWindowPos(kids[c.who], c.after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    std::vector<HWND> expected;
    for (int i : c.expected) expected.push_back(kids[i]);
    EXPECT_EQ(zOrder(), expected);
  }
  EXPECT_EQ(GetWindow(kids[2], GW_HWNDFIRST), kids[2]);
  EXPECT_EQ(GetWindow(kids[2], GW_HWNDLAST), kids[0]);
  EXPECT_EQ(GetWindow(kids[0], GW_HWNDPREV), kids[1]);
}

TEST_F(Positions, SetWindowPosSendsChangingAndChangedWithMoveAndSize) {
  WINDOWPOS seen{};
  test::answer() = [&](HWND, UINT msg, WPARAM, LPARAM l, LRESULT&) {
    if (msg == WM_WINDOWPOSCHANGED) seen = *(WINDOWPOS*)l;
    return false;
  };
  EXPECT_TRUE(SetWindowPos(kids[0], nullptr, 5, 7, 60, 70, SWP_NOZORDER));
  // Without SWP_NOACTIVATE a child is told it is activated.
  test::expectSequence({{WM_WINDOWPOSCHANGING}, {WM_NCCALCSIZE, kWParam, TRUE}, {WM_CHILDACTIVATE}, {WM_WINDOWPOSCHANGED},
                        {WM_MOVE, kLParam, 0, MAKELPARAM(5, 7)},
                        {WM_SIZE, kWParam | kLParam, SIZE_RESTORED, MAKELPARAM(60, 70)}},
                       "move and size");
  EXPECT_EQ(seen.x, 5);
  EXPECT_EQ(seen.cx, 60);
  // Nothing changes: only WM_WINDOWPOSCHANGING is asked.
  SetWindowPos(kids[0], nullptr, 5, 7, 60, 70, SWP_NOZORDER | SWP_NOACTIVATE);
  test::expectSequence({{WM_WINDOWPOSCHANGING}}, "no change");
  // The application may change the position in WM_WINDOWPOSCHANGING.
  test::answer() = [&](HWND, UINT msg, WPARAM, LPARAM l, LRESULT&) {
    if (msg == WM_WINDOWPOSCHANGING) ((WINDOWPOS*)l)->x = 33;
    return false;
  };
  MoveWindow(kids[0], 1, 1, 60, 70, TRUE);
  RECT r;
  GetWindowRect(kids[0], &r);
  EXPECT_EQ(r.left, 100 + 33);
  test::answer() = nullptr;
}

TEST_F(Positions, RectanglesMapBetweenClientAndScreen) {
  MoveWindow(kids[1], 20, 30, 50, 40, FALSE);
  RECT r;
  ASSERT_TRUE(GetWindowRect(kids[1], &r));
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.top, 80);
  ASSERT_TRUE(GetClientRect(kids[1], &r));
  EXPECT_EQ(r.right, 50);
  EXPECT_EQ(r.bottom, 40);
  POINT p{1, 2};
  ClientToScreen(kids[1], &p);
  EXPECT_EQ(p.x, 121);
  EXPECT_EQ(p.y, 82);
  ScreenToClient(parent, &p);
  EXPECT_EQ(p.x, 21);
  EXPECT_EQ(p.y, 32);
  POINT pts[2] = {{0, 0}, {5, 5}};
  int moved = MapWindowPoints(kids[1], parent, pts, 2);
  EXPECT_EQ(pts[1].x, 25);
  EXPECT_EQ(LOWORD(moved), 20);
  EXPECT_EQ(HIWORD(moved), 30);
  // kids[0] (0,0)-(50,50) lies above kids[1] (20,30)-(70,70).
  EXPECT_EQ(ChildWindowFromPoint(parent, POINT{25, 35}), kids[0]);
  EXPECT_EQ(ChildWindowFromPoint(parent, POINT{60, 65}), kids[1]);
  EXPECT_EQ(WindowFromPoint(POINT{160, 115}), kids[1]);
  EXPECT_EQ(WindowFromPoint(POINT{100 + 390, 50 + 290}), parent);
}

TEST_F(Positions, FramesFollowTheStyles) {
  struct Case {
    DWORD style, exStyle;
    BOOL menu;
    RECT expected;  // AdjustWindowRectEx of {0,0,200,100}
  } cases[] = {
      {WS_POPUP, 0, FALSE, {0, 0, 200, 100}},
      {WS_POPUP | WS_BORDER, 0, FALSE, {-1, -1, 201, 101}},
      {WS_POPUP | WS_DLGFRAME, 0, FALSE, {-3, -3, 203, 103}},
      {WS_CAPTION, 0, FALSE, {-3, -22, 203, 103}},
      {WS_OVERLAPPEDWINDOW, 0, FALSE, {-4, -23, 204, 104}},
      {WS_OVERLAPPEDWINDOW, 0, TRUE, {-4, -42, 204, 104}},
      {WS_CHILD, WS_EX_CLIENTEDGE, FALSE, {-2, -2, 202, 102}},
      {WS_POPUP, WS_EX_DLGMODALFRAME, FALSE, {-3, -3, 203, 103}},
  };
  for (auto& c : cases) {
    RECT r{0, 0, 200, 100};
    AdjustWindowRectEx(&r, c.style, c.menu, c.exStyle);
    EXPECT_TRUE(EqualRect(&r, &c.expected)) << std::hex << c.style << " " << c.exStyle << ": " << std::dec << r.left
                                            << "," << r.top << "," << r.right << "," << r.bottom;
    // A window of that style gets that client area.
    HWND w = CreateWindowExA(c.exStyle, test::recorderClass(), "", c.style & ~WS_CHILD | ((c.style & WS_CHILD) ? WS_POPUP : 0),
                             0, 0, r.right - r.left, r.bottom - r.top, nullptr, c.menu ? (HMENU)1 : nullptr, nullptr, nullptr);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, 200) << std::hex << c.style;
    EXPECT_EQ(client.bottom, 100) << std::hex << c.style;
    DestroyWindow(w);
  }
}

TEST_F(Positions, ShowWindowCommandsChangeStateAndPlacement) {
  HWND w = CreateWindowExA(0, test::recorderClass(), "w", WS_OVERLAPPEDWINDOW, 40, 30, 300, 200, nullptr, nullptr,
                           nullptr, nullptr);
  test::log().clear();
  EXPECT_FALSE(ShowWindow(w, SW_SHOWMAXIMIZED));
  EXPECT_TRUE(IsZoomed(w));
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, -4);
  EXPECT_EQ(r.right - r.left, 1280 + 8);
  WINDOWPLACEMENT wp{sizeof wp};
  GetWindowPlacement(w, &wp);
  EXPECT_EQ(wp.showCmd, (UINT)SW_SHOWMAXIMIZED);
  EXPECT_EQ(wp.rcNormalPosition.left, 40);
  EXPECT_EQ(wp.rcNormalPosition.right, 340);
  EXPECT_TRUE(ShowWindow(w, SW_MINIMIZE));
  EXPECT_TRUE(IsIconic(w));
  EXPECT_FALSE(IsZoomed(w));
  // Minimized from maximized, a restore maximizes again; the next one restores.
  EXPECT_TRUE(ShowWindow(w, SW_RESTORE));
  EXPECT_FALSE(IsIconic(w));
  EXPECT_TRUE(IsZoomed(w));
  EXPECT_TRUE(ShowWindow(w, SW_RESTORE));
  EXPECT_FALSE(IsZoomed(w));
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.bottom, 230);
  EXPECT_TRUE(ShowWindow(w, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_FALSE(ShowWindow(w, SW_HIDE));  // answers the previous visibility
  wp.showCmd = SW_SHOWNORMAL;
  wp.rcNormalPosition = RECT{1, 2, 101, 102};
  EXPECT_TRUE(SetWindowPlacement(w, &wp));
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 1);
  EXPECT_EQ(r.bottom, 102);
  EXPECT_TRUE(IsWindowVisible(w));
  DestroyWindow(w);
}

TEST_F(Positions, DeferredPositionsApplyTogetherAndBadWindowsEndTheBatch) {
  HDWP batch = BeginDeferWindowPos(2);
  ASSERT_TRUE(batch);
  batch = DeferWindowPos(batch, kids[0], nullptr, 1, 1, 10, 10, SWP_NOZORDER);
  batch = DeferWindowPos(batch, kids[1], HWND_BOTTOM, 2, 2, 20, 20, 0);
  ASSERT_TRUE(batch);
  RECT r;
  GetClientRect(kids[0], &r);
  EXPECT_EQ(r.right, 50);  // nothing moves before the end
  EXPECT_TRUE(EndDeferWindowPos(batch));
  GetClientRect(kids[0], &r);
  EXPECT_EQ(r.right, 10);
  EXPECT_EQ(zOrder().back(), kids[1]);
  HDWP bad = BeginDeferWindowPos(1);
  EXPECT_EQ(DeferWindowPos(bad, (HWND)0x1234, nullptr, 0, 0, 1, 1, 0), nullptr);
  EXPECT_FALSE(EndDeferWindowPos(bad));
}

TEST_F(Positions, TopmostWindowsStayAboveTheOthers) {
  HWND a = CreateWindowExA(WS_EX_TOPMOST, test::recorderClass(), "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  HWND b = CreateWindowExA(0, test::recorderClass(), "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetTopWindow(nullptr), a);
  SetWindowPos(b, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetTopWindow(nullptr), b);
  EXPECT_TRUE(GetWindowLongA(b, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(b, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetTopWindow(nullptr), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  DestroyWindow(a);
  DestroyWindow(b);
}

TEST_F(Positions, TreeWalksAndSearches) {
  EXPECT_TRUE(IsChild(parent, kids[2]));
  EXPECT_FALSE(IsChild(kids[2], parent));
  EXPECT_EQ(GetAncestor(kids[2], GA_ROOT), parent);
  EXPECT_EQ(GetAncestor(parent, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(FindWindowExA(parent, nullptr, "KYRECORDER", "k"), kids[0]);
  EXPECT_EQ(FindWindowExA(parent, kids[0], "kyrecorder", nullptr), kids[1]);
  static std::vector<HWND> seen;
  seen.clear();
  EnumChildWindows(parent, [](HWND h, LPARAM) -> BOOL {
    seen.push_back(h);
    return seen.size() < 2;
  }, 0);
  EXPECT_EQ(seen, (std::vector<HWND>{kids[0], kids[1]}));
  HWND other = CreateWindowExA(0, test::recorderClass(), "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(SetParent(kids[2], other), parent);
  EXPECT_EQ(GetParent(kids[2]), other);
  EXPECT_EQ(SetParent(other, kids[2]), nullptr);  // a window cannot go inside its own child
  DestroyWindow(other);
  EXPECT_FALSE(IsWindow(kids[2]));
}

TEST_F(Positions, WindowLongsPropertiesAndStyleMessages) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = test::recordingProc;
  wc.cbWndExtra = 12;
  wc.lpszClassName = "KyExtraBytes";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "KyExtraBytes", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(SetWindowLongPtrA(w, 4, 0x1122334455667788), 0);
  EXPECT_EQ(GetWindowLongPtrA(w, 4), 0x1122334455667788);
  EXPECT_EQ(GetWindowLongA(w, 4), 0x55667788);
  EXPECT_EQ(GetWindowWord(w, 8), 0x3344);
  EXPECT_EQ(GetWindowLongPtrA(w, 5), 0);  // past the extra bytes
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_INDEX);
  SetWindowLongPtrA(w, GWLP_USERDATA, 99);
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_USERDATA), 99);
  test::log().clear();
  SetWindowLongA(w, GWL_STYLE, WS_POPUP | WS_BORDER);
  test::expectSequence({{WM_STYLECHANGING, kWParam, (WPARAM)GWL_STYLE}, {WM_STYLECHANGED, kWParam, (WPARAM)GWL_STYLE}},
                       "style");
  EXPECT_EQ((DWORD)GetWindowLongA(w, GWL_STYLE), (DWORD)(WS_POPUP | WS_BORDER));
  EXPECT_TRUE(SetPropA(w, "Colour", (HANDLE)7));
  EXPECT_EQ(GetPropA(w, "COLOUR"), (HANDLE)7);
  EXPECT_EQ(RemovePropA(w, "colour"), (HANDLE)7);
  EXPECT_EQ(GetPropA(w, "Colour"), nullptr);
  DestroyWindow(w);
  UnregisterClassA("KyExtraBytes", nullptr);
}

TEST_F(Positions, AMenuBarTakesRoomFromTheClientArea) {
  HWND w = CreateWindowExA(0, test::recorderClass(), "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr, nullptr,
                           nullptr);
  RECT before, after;
  GetClientRect(w, &before);
  EXPECT_TRUE(SetMenu(w, (HMENU)0x1000));
  EXPECT_EQ(GetMenu(w), (HMENU)0x1000);
  GetClientRect(w, &after);
  EXPECT_EQ(before.bottom - after.bottom, GetSystemMetrics(SM_CYMENU));
  EXPECT_FALSE(SetMenu(kids[0], (HMENU)0x1000));  // children have no menu bar
  DestroyWindow(w);
}

TEST_F(Positions, RectangleHelpers) {
  RECT a{0, 0, 10, 10}, b{5, 5, 20, 20}, r;
  EXPECT_TRUE(IntersectRect(&r, &a, &b));
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.right, 10);
  EXPECT_TRUE(UnionRect(&r, &a, &b));
  EXPECT_EQ(r.right, 20);
  RECT c{20, 20, 30, 30};
  EXPECT_FALSE(IntersectRect(&r, &a, &c));
  EXPECT_TRUE(IsRectEmpty(&r));
  RECT cut{0, 0, 10, 4};
  EXPECT_TRUE(SubtractRect(&r, &a, &cut));
  EXPECT_EQ(r.top, 4);
  EXPECT_TRUE(PtInRect(&a, POINT{0, 0}));
  EXPECT_FALSE(PtInRect(&a, POINT{10, 5}));
  EXPECT_FALSE(IntersectRect(nullptr, &a, &b));
}

}  // namespace
