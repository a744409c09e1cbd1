// MDI: the client creating, activating, cycling, maximizing, tiling and
// cascading its children, and the default procedures of frame and children.
#include "message_log.h"

#include <internal/snapshot.h>
#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr UINT kFirstChild = 1000;
HWND gClient = nullptr;
LPARAM gCreationParam = 0;  // the MDICREATESTRUCT's lParam the last child saw in WM_CREATE

LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefFrameProcA(hwnd, gClient, msg, wParam, lParam);
}

LRESULT CALLBACK childProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) {
    auto* mcs = (const MDICREATESTRUCTA*)((const CREATESTRUCTA*)lParam)->lpCreateParams;
    gCreationParam = mcs ? mcs->lParam : -1;
  }
  if (msg == WM_MDIACTIVATE) test::log().push_back(test::Logged{hwnd, msg, wParam, lParam});
  return DefMDIChildProcA(hwnd, msg, wParam, lParam);
}

void registerClasses() {
  static bool done = [] {
    WNDCLASSA frame{};
    frame.lpfnWndProc = frameProc;
    frame.lpszClassName = "KyMdiFrame";
    WNDCLASSA child{};
    child.lpfnWndProc = childProc;
    child.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    child.lpszClassName = "KyMdiChild";
    return RegisterClassA(&frame) && RegisterClassA(&child);
  }();
  ASSERT_TRUE(done);
}

class Mdi : public ::testing::Test {
 protected:
  void SetUp() override {
    registerClasses();
    frame = CreateWindowExA(0, "KyMdiFrame", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                            nullptr, nullptr, nullptr);
    CLIENTCREATESTRUCT ccs{nullptr, kFirstChild};
    RECT r;
    GetClientRect(frame, &r);
    client = CreateWindowExA(0, "MDIClient", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, r.right,
                             r.bottom, frame, (HMENU)0xCAC, nullptr, &ccs);
    ASSERT_NE(client, nullptr);
    gClient = client;
    SetActiveWindow(frame);
    win32::input::pumpMessages();
    test::log().clear();
  }
  void TearDown() override {
    DestroyWindow(frame);
    gClient = nullptr;
    win32::input::pumpMessages();
    test::log().clear();
    BYTE none[256] = {};
    SetKeyboardState(none);
  }
  HWND create(const char* title, DWORD style = 0, int x = CW_USEDEFAULT, int y = CW_USEDEFAULT,
              int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT) {
    MDICREATESTRUCTA mcs{"KyMdiChild", title, nullptr, x, y, cx, cy, style, 42};
    return (HWND)SendMessageA(client, WM_MDICREATE, 0, (LPARAM)&mcs);
  }
  HWND active(BOOL* maximized = nullptr) { return (HWND)SendMessageA(client, WM_MDIGETACTIVE, 0, (LPARAM)maximized); }
  static std::string text(HWND w) {
    char buffer[128] = {};
    GetWindowTextA(w, buffer, sizeof buffer);
    return buffer;
  }
  static RECT rectIn(HWND w, HWND parent) {
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, parent, (POINT*)&r, 2);
    return r;
  }
  // The WM_MDIACTIVATE messages the children got: (child, deactivated, activated).
  std::vector<std::tuple<HWND, HWND, HWND>> activations() {
    std::vector<std::tuple<HWND, HWND, HWND>> got;
    for (auto& l : test::log())
      if (l.msg == WM_MDIACTIVATE) got.emplace_back(l.hwnd, (HWND)l.wParam, (HWND)l.lParam);
    test::log().clear();
    return got;
  }
  HWND frame = nullptr, client = nullptr;
};

TEST_F(Mdi, CreatedChildrenGetIdsInOrderAndBecomeActive) {
  gCreationParam = 0;
  HWND one = create("One");
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(gCreationParam, 42);  // WM_CREATE carries the MDICREATESTRUCT
  EXPECT_EQ(activations(), (std::vector<std::tuple<HWND, HWND, HWND>>{{one, nullptr, one}}));
  HWND two = create("Two");
  EXPECT_EQ(GetDlgCtrlID(one), (int)kFirstChild);
  EXPECT_EQ(GetDlgCtrlID(two), (int)kFirstChild + 1);
  EXPECT_EQ(active(), two);
  EXPECT_EQ(activations(), (std::vector<std::tuple<HWND, HWND, HWND>>{{one, one, two}, {two, one, two}}));
  EXPECT_EQ(GetFocus(), two);
  EXPECT_EQ(GetWindowLongA(two, GWL_EXSTYLE) & WS_EX_MDICHILD, WS_EX_MDICHILD);
  DWORD style = (DWORD)GetWindowLongA(two, GWL_STYLE);
  EXPECT_EQ(style & (WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_VISIBLE), (DWORD)(WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_VISIBLE));
  // Default places cascade down the client.
  RECT r1 = rectIn(one, client), r2 = rectIn(two, client);
  EXPECT_GT(r2.top, r1.top);
  EXPECT_GT(r2.left, r1.left);
}

TEST_F(Mdi, ActivatingAChildTellsTheOneLosingAndTheOneGaining) {
  HWND one = create("One"), two = create("Two");
  activations();
  SendMessageA(client, WM_MDIACTIVATE, (WPARAM)one, 0);
  EXPECT_EQ(active(), one);
  EXPECT_EQ(activations(), (std::vector<std::tuple<HWND, HWND, HWND>>{{two, two, one}, {one, two, one}}));
  EXPECT_EQ(GetWindow(client, GW_CHILD), one);  // on top
  SendMessageA(client, WM_MDIACTIVATE, (WPARAM)one, 0);
  EXPECT_TRUE(activations().empty());
  // A window-menu command activates the child of that id.
  SendMessageA(frame, WM_COMMAND, kFirstChild + 1, 0);
  EXPECT_EQ(active(), two);
}

// Repainted later (a snapshot, an uncovered frame), each child keeps the
// caption its activation gave it: only the active child looks active.
TEST_F(Mdi, OnlyTheActiveChildsCaptionIsPaintedActive) {
  HWND one = create("One", 0, 0, 0, 200, 150), two = create("Two", 0, 220, 0, 200, 150);
  ShowWindow(frame, SW_SHOW);
  auto captionColor = [&](HWND child) {
    RECT r = rectIn(child, frame), frameRect;
    GetWindowRect(frame, &frameRect);
    POINT origin{0, 0};
    ClientToScreen(frame, &origin);
    const int x = origin.x - frameRect.left + r.left + 60;
    const int y = origin.y - frameRect.top + r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    return win32::snapshot::windowPixel(frame, x, y);
  };
  for (HWND activated : {one, two}) {
    SendMessageA(client, WM_MDIACTIVATE, (WPARAM)activated, 0);
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (HWND child : {one, two})
      EXPECT_EQ(captionColor(child), GetSysColor(child == activated ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION))
          << text(child) << " with " << text(activated) << " active";
  }
}

TEST_F(Mdi, NextAndPreviousCycleThroughTheChildren) {
  HWND a = create("A"), b = create("B"), c = create("C");
  ASSERT_EQ(active(), c);
  SendMessageA(client, WM_MDINEXT, 0, 0);
  EXPECT_EQ(active(), b);
  SendMessageA(client, WM_MDINEXT, 0, 0);
  EXPECT_EQ(active(), a);
  SendMessageA(client, WM_MDINEXT, 0, 0);
  EXPECT_EQ(active(), c);
  SendMessageA(client, WM_MDINEXT, 0, 1);
  EXPECT_EQ(active(), a);
  // The child's system menu's next-window command does the same.
  SendMessageA(a, WM_SYSCOMMAND, SC_NEXTWINDOW, 0);
  EXPECT_NE(active(), a);
}

TEST_F(Mdi, DestroyingTheActiveChildActivatesTheNextAndKeepsIdsContiguous) {
  HWND a = create("A"), b = create("B"), c = create("C");
  SendMessageA(client, WM_MDIACTIVATE, (WPARAM)a, 0);
  SendMessageA(client, WM_MDIDESTROY, (WPARAM)a, 0);
  EXPECT_FALSE(IsWindow(a));
  EXPECT_EQ(active(), c);  // the next in z-order
  EXPECT_EQ(GetDlgCtrlID(c), (int)kFirstChild);
  EXPECT_EQ(GetDlgCtrlID(b), (int)kFirstChild + 1);
  // WM_CLOSE of a child destroys it through the client.
  SendMessageA(c, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(c));
  EXPECT_EQ(active(), b);
  DestroyWindow(b);
  EXPECT_EQ(active(), nullptr);
}

TEST_F(Mdi, AMaximizedChildFillsTheClientAndNamesItselfInTheFrame) {
  HWND a = create("Doc A"), b = create("Doc B");
  SendMessageA(client, WM_MDIMAXIMIZE, (WPARAM)b, 0);
  BOOL maximized = FALSE;
  EXPECT_EQ(active(&maximized), b);
  EXPECT_TRUE(maximized);
  EXPECT_TRUE(IsZoomed(b));
  RECT clientArea, childClient;
  GetClientRect(client, &clientArea);
  GetClientRect(b, &childClient);
  EXPECT_EQ(childClient.right, clientArea.right);
  EXPECT_EQ(childClient.bottom, clientArea.bottom);
  POINT origin{0, 0};
  MapWindowPoints(b, client, &origin, 1);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  EXPECT_EQ(text(frame), "Frame - [Doc B]");
  // Activating another child passes the maximized state on.
  SendMessageA(client, WM_MDIACTIVATE, (WPARAM)a, 0);
  EXPECT_TRUE(IsZoomed(a));
  EXPECT_FALSE(IsZoomed(b));
  EXPECT_EQ(text(frame), "Frame - [Doc A]");
  // A new child comes maximized too.
  HWND c = create("Doc C");
  EXPECT_TRUE(IsZoomed(c));
  EXPECT_FALSE(IsZoomed(a));
  // The frame follows its own new text.
  SetWindowTextA(frame, "App");
  EXPECT_EQ(text(frame), "App - [Doc C]");
  SendMessageA(client, WM_MDIRESTORE, (WPARAM)c, 0);
  EXPECT_FALSE(IsZoomed(c));
  EXPECT_EQ(text(frame), "App");
  active(&maximized);
  EXPECT_FALSE(maximized);
}

TEST_F(Mdi, TilingSharesTheClientWithoutOverlap) {
  std::vector<HWND> kids;
  for (const char* t : {"1", "2", "3", "4"}) kids.push_back(create(t));
  RECT area;
  GetClientRect(client, &area);
  for (UINT how : {(UINT)MDITILE_VERTICAL, (UINT)MDITILE_HORIZONTAL}) {
    EXPECT_TRUE(SendMessageA(client, WM_MDITILE, how, 0));
    long covered = 0;
    for (size_t i = 0; i < kids.size(); ++i) {
      RECT r = rectIn(kids[i], client);
      covered += (r.right - r.left) * (r.bottom - r.top);
      for (size_t j = i + 1; j < kids.size(); ++j) {
        RECT other = rectIn(kids[j], client), both;
        EXPECT_FALSE(IntersectRect(&both, &r, &other)) << how << ": " << i << " and " << j;
      }
    }
    EXPECT_EQ(covered, (long)area.right * area.bottom) << how;
  }
  // Three windows tiled vertically stand side by side at full height; five make two columns.
  DestroyWindow(kids.back());
  kids.pop_back();
  SendMessageA(client, WM_MDITILE, MDITILE_VERTICAL, 0);
  for (HWND k : kids) EXPECT_EQ(rectIn(k, client).bottom - rectIn(k, client).top, area.bottom);
  kids.push_back(create("4"));
  kids.push_back(create("5"));
  SendMessageA(client, WM_MDITILE, MDITILE_VERTICAL, 0);
  std::set<LONG> columns;
  for (HWND k : kids) columns.insert(rectIn(k, client).left);
  EXPECT_EQ(columns.size(), 2u);
}

TEST_F(Mdi, CascadingStepsEachChildOneCaptionFurther) {
  HWND a = create("A"), b = create("B"), c = create("C");
  SendMessageA(client, WM_MDIACTIVATE, (WPARAM)b, 0);
  EXPECT_TRUE(SendMessageA(client, WM_MDICASCADE, 0, 0));
  // The z-order decides: the active child ends in front, at the last step.
  RECT rb = rectIn(b, client), rc = rectIn(c, client), ra = rectIn(a, client);
  int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  EXPECT_EQ(rb.top, 2 * step);
  EXPECT_EQ(rc.top, step);
  EXPECT_EQ(ra.top, 0);
  EXPECT_EQ(GetWindow(client, GW_CHILD), b);
  EXPECT_EQ(rb.right - rb.left, ra.right - ra.left);
}

TEST_F(Mdi, IconArrangeLinesUpMinimizedChildrenAtTheBottom) {
  HWND a = create("A"), b = create("B");
  create("C");
  ShowWindow(a, SW_MINIMIZE);
  ShowWindow(b, SW_MINIMIZE);
  SetWindowPos(a, nullptr, 200, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(client, WM_MDIICONARRANGE, 0, 0);
  RECT area;
  GetClientRect(client, &area);
  int cy = GetSystemMetrics(SM_CYMINSPACING);
  RECT ra = rectIn(a, client), rb = rectIn(b, client);
  EXPECT_EQ(ra.top, area.bottom - cy);
  EXPECT_EQ(rb.top, area.bottom - cy);
  EXPECT_NE(ra.left, rb.left);
  // Tiling leaves the icon row free.
  SendMessageA(client, WM_MDITILE, MDITILE_HORIZONTAL, 0);
  HWND c = active();
  EXPECT_LE(rectIn(c, client).bottom, area.bottom - cy);
}

TEST_F(Mdi, TheFrameSizesItsClientAndPassesFocusToTheActiveChild) {
  HWND a = create("A");
  SetWindowPos(frame, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
  RECT fc, cc;
  GetClientRect(frame, &fc);
  GetClientRect(client, &cc);
  EXPECT_EQ(cc.right, fc.right);
  EXPECT_EQ(cc.bottom, fc.bottom);
  SetFocus(frame);
  EXPECT_EQ(GetFocus(), a);
}

TEST_F(Mdi, TheWindowMenuListsTheChildrenWithTheActiveChecked) {
  HMENU bar = CreateMenu();
  HMENU window = CreatePopupMenu();
  AppendMenuA(window, MF_STRING, 50, "&Tile");
  AppendMenuA(bar, MF_POPUP, (UINT_PTR)window, "&Window");
  EXPECT_EQ(SendMessageA(client, WM_MDISETMENU, (WPARAM)bar, (LPARAM)window), 0);
  EXPECT_EQ(GetMenu(frame), bar);
  HWND a = create("Alpha");
  create("Beta");
  auto entries = [&] {
    std::vector<std::string> got;
    for (int i = 0; i < GetMenuItemCount(window); ++i) {
      char s[64] = {};
      GetMenuStringA(window, (UINT)i, s, sizeof s, MF_BYPOSITION);
      UINT state = GetMenuState(window, (UINT)i, MF_BYPOSITION);
      got.push_back((state & MF_SEPARATOR) ? "-" : std::string(s) + ((state & MF_CHECKED) ? " *" : ""));
    }
    return got;
  };
  EXPECT_EQ(entries(), (std::vector<std::string>{"&Tile", "-", "&1 Alpha", "&2 Beta *"}));
  EXPECT_EQ(GetMenuItemID(window, 2), kFirstChild);
  SendMessageA(client, WM_MDIACTIVATE, (WPARAM)a, 0);
  SetWindowTextA(a, "Alpha 2");
  EXPECT_EQ(entries(), (std::vector<std::string>{"&Tile", "-", "&1 Alpha 2 *", "&2 Beta"}));
  SendMessageA(client, WM_MDIDESTROY, (WPARAM)a, 0);
  EXPECT_EQ(entries(), (std::vector<std::string>{"&Tile", "-", "&1 Beta *"}));
  SendMessageA(client, WM_MDIDESTROY, (WPARAM)active(), 0);
  EXPECT_EQ(entries(), (std::vector<std::string>{"&Tile"}));
  // Ten children: nine listed, the rest behind "More Windows...".
  for (int i = 0; i < 10; ++i) create(std::to_string(i).c_str());
  auto all = entries();
  ASSERT_EQ(all.size(), 12u);
  EXPECT_EQ(all.back(), "&More Windows...");
  EXPECT_EQ(all[10], "&9 9 *");  // the active child keeps its place in the list
  EXPECT_EQ(SendMessageA(client, WM_MDIREFRESHMENU, 0, 0), (LRESULT)bar);
}

TEST_F(Mdi, AMaximizedChildPutsItsControlsInTheFrameMenuBar) {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, 60, "&Open");
  AppendMenuA(bar, MF_POPUP, (UINT_PTR)file, "&File");
  AppendMenuA(bar, MF_POPUP, (UINT_PTR)CreatePopupMenu(), "&Window");
  SendMessageA(client, WM_MDISETMENU, (WPARAM)bar, 0);
  HWND a = create("Doc A"), b = create("Doc B");
  SendMessageA(client, WM_MDIMAXIMIZE, (WPARAM)b, 0);
  ASSERT_EQ(GetMenuItemCount(bar), 6);
  EXPECT_EQ(GetSubMenu(bar, 0), GetSystemMenu(b, FALSE));
  EXPECT_EQ(GetSubMenu(bar, 1), file);
  EXPECT_EQ(GetMenuItemID(bar, 3), (UINT)SC_MINIMIZE);
  EXPECT_EQ(GetMenuItemID(bar, 4), (UINT)SC_RESTORE);
  EXPECT_EQ(GetMenuItemID(bar, 5), (UINT)SC_CLOSE);
  const std::string path = std::string(KY_BIN_DIR) + "/../mdi_maximized.png";
  EXPECT_TRUE(win32::snapshot::saveWindowPng(frame, path.c_str()));
  // Another child taking the maximized state brings its own system menu.
  SendMessageA(client, WM_MDIACTIVATE, (WPARAM)a, 0);
  ASSERT_EQ(GetMenuItemCount(bar), 6);
  EXPECT_EQ(GetSubMenu(bar, 0), GetSystemMenu(a, FALSE));
  // The restore button's command reaches the child through the frame.
  SendMessageA(frame, WM_COMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsZoomed(a));
  EXPECT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(GetSubMenu(bar, 0), file);
  EXPECT_TRUE(IsMenu(GetSystemMenu(a, FALSE)));
  // Closing a maximized child takes its controls off too.
  SendMessageA(client, WM_MDIMAXIMIZE, (WPARAM)a, 0);
  EXPECT_EQ(GetMenuItemCount(bar), 6);
  SendMessageA(frame, WM_COMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindow(a));
  EXPECT_TRUE(IsZoomed(b));
  EXPECT_EQ(GetSubMenu(bar, 0), GetSystemMenu(b, FALSE));
  DestroyWindow(b);
  EXPECT_EQ(GetMenuItemCount(bar), 2);
}

TEST_F(Mdi, CreateMdiWindowAndTheSystemKeys) {
  HWND a = CreateMDIWindowA("KyMdiChild", "A", 0, CW_USEDEFAULT, CW_USEDEFAULT, 200, 150, client, nullptr, 0);
  ASSERT_NE(a, nullptr);
  RECT r = rectIn(a, client);
  EXPECT_EQ(r.right - r.left, 200);
  HWND b = CreateMDIWindowA("KyMdiChild", "B", 0, 10, 10, 200, 150, client, nullptr, 0);
  EXPECT_EQ(CreateMDIWindowA("KyMdiChild", "X", 0, 0, 0, 10, 10, frame, nullptr, 0), nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
  BYTE keys[256] = {};
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  MSG next{b, WM_KEYDOWN, VK_F6, 0};
  EXPECT_TRUE(TranslateMDISysAccel(client, &next));
  EXPECT_EQ(active(), a);
  MSG close{a, WM_KEYDOWN, VK_F4, 0};
  EXPECT_TRUE(TranslateMDISysAccel(client, &close));
  EXPECT_FALSE(IsWindow(a));
  MSG other{b, WM_KEYDOWN, 'A', 0};
  EXPECT_FALSE(TranslateMDISysAccel(client, &other));
}

}  // namespace
