// Top-level windows shown on an X server (Xvfb started by the test): their
// X windows follow the layer's place, visibility and title, and the server
// shows exactly the pixels of the window's headless snapshot.
#include "control_fixture.h"
#include "x11_client.h"

#include <internal/scratchdir.h>
#include <internal/xserver.h>

#include <cairo.h>

namespace {

// Made before the program's first window: the display is chosen then.
kytest::XServer server;

class X11Display : public test::ControlTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.running()) << server.error();
    ASSERT_TRUE(x.connected());
    test::ControlTest::SetUp();
  }
  // The X window of the recording frame, once the server has it.
  xcb_window_t frameWindow() {
    xcb_window_t id = 0;
    test::pumpUntil([&] { return (id = x.byTitle("controls")) != 0; });
    return id;
  }
  test::XClient x{server.display().c_str()};
};

TEST_F(X11Display, XWindowFollowsPlaceAndVisibility) {
  xcb_window_t id = frameWindow();
  ASSERT_NE(id, 0u);
  struct Step {
    const char* what;
    std::function<void(HWND)> act;
  } steps[] = {
      {"shown", [](HWND) {}},
      {"moved", [](HWND h) { SetWindowPos(h, nullptr, 120, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }},
      {"resized", [](HWND h) { SetWindowPos(h, nullptr, 0, 0, 333, 222, SWP_NOMOVE | SWP_NOZORDER); }},
      {"moved and resized", [](HWND h) { MoveWindow(h, 10, 20, 500, 260, TRUE); }},
      {"hidden", [](HWND h) { ShowWindow(h, SW_HIDE); }},
      {"shown again", [](HWND h) { ShowWindow(h, SW_SHOW); }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act(frame);
    RECT want;
    GetWindowRect(frame, &want);
    const bool visible = IsWindowVisible(frame);
    RECT got{};
    bool mapped = !visible;
    EXPECT_TRUE(test::pumpUntil([&] { return x.geometry(id, got, mapped) && EqualRect(&got, &want) && mapped == visible; }))
        << "server: " << got.left << "," << got.top << " " << got.right - got.left << "x" << got.bottom - got.top
        << (mapped ? " mapped" : " unmapped");
  }
  DestroyWindow(frame);
  frame = nullptr;
  EXPECT_TRUE(test::pumpUntil([&] {
    auto all = x.topLevels();
    return std::find(all.begin(), all.end(), id) == all.end();
  }));
}

TEST_F(X11Display, TitleIsTheCaptionInUtf8) {
  xcb_window_t id = frameWindow();
  ASSERT_NE(id, 0u);
  struct {
    const char* ansi;
    const char* utf8;
  } cases[] = {{"Plain", "Plain"}, {"Caf\xe9 \x80 5", "Caf\xc3\xa9 \xe2\x82\xac 5"}, {"", ""}};
  const xcb_atom_t netName = x.atom("_NET_WM_NAME");
  for (auto& c : cases) {
    SetWindowTextA(frame, c.ansi);
    EXPECT_TRUE(test::pumpUntil([&] { return x.property(id, netName) == c.utf8; })) << c.ansi;
    EXPECT_EQ(x.property(id, XCB_ATOM_WM_NAME), c.ansi);
  }
}

// The server's pixels of a window against the window's own PNG snapshot.
void expectServerShowsSnapshot(test::XClient& x, xcb_window_t id, HWND hwnd) {
  kytest::ScratchDir dir;
  std::string png = (dir.path() / "window.png").string();
  ASSERT_TRUE(win32::snapshot::saveWindowPng(hwnd, png.c_str()));
  cairo_surface_t* snap = cairo_image_surface_create_from_png(png.c_str());
  ASSERT_EQ(cairo_surface_status(snap), CAIRO_STATUS_SUCCESS);
  const int w = cairo_image_surface_get_width(snap), h = cairo_image_surface_get_height(snap);
  std::vector<uint32_t> want((size_t)w * h);
  for (int y = 0; y < h; ++y) {
    auto* row = (const uint32_t*)(cairo_image_surface_get_data(snap) + (size_t)y * cairo_image_surface_get_stride(snap));
    for (int i = 0; i < w; ++i) want[(size_t)y * w + i] = row[i] & 0xFFFFFF;
  }
  cairo_surface_destroy(snap);
  std::vector<uint32_t> got;
  EXPECT_TRUE(test::pumpUntil([&] { return (got = x.image(id, w, h)) == want; }));
  ASSERT_EQ(got.size(), want.size());
  size_t differing = 0;
  for (size_t i = 0; i < got.size(); ++i) differing += got[i] != want[i];
  EXPECT_EQ(differing, 0u) << "of " << w << "x" << h << " pixels";
}

TEST_F(X11Display, ServerShowsTheHeadlessSnapshot) {
  child("Button", "&Apply", BS_PUSHBUTTON, 11, 10, 10, 90, 26);
  child("Edit", "some text", WS_BORDER, 12, 10, 50, 200, 22);
  child("Button", "Keep", BS_AUTOCHECKBOX, 13, 10, 90, 120, 20);
  HWND list = child("ListBox", nullptr, WS_BORDER | WS_VSCROLL, 14, 220, 10, 150, 120);
  for (const char* item : {"alpha", "beta", "gamma"}) SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)item);
  xcb_window_t id = frameWindow();
  ASSERT_NE(id, 0u);
  expectServerShowsSnapshot(x, id, frame);
  // A repaint of one control sends that part again and the rest stays.
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  CheckDlgButton(frame, 13, BST_CHECKED);
  expectServerShowsSnapshot(x, id, frame);
  // After a resize the whole window is new.
  SetWindowPos(frame, nullptr, 0, 0, 450, 280, SWP_NOMOVE | SWP_NOZORDER);
  expectServerShowsSnapshot(x, id, frame);
}

TEST_F(X11Display, IconsOfWmSetIconAreNetWmIcon) {
  xcb_window_t id = frameWindow();
  ASSERT_NE(id, 0u);
  const xcb_atom_t netIcon = x.atom("_NET_WM_ICON");
  HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(SendMessageA(frame, WM_SETICON, ICON_BIG, (LPARAM)icon), 0);
  EXPECT_EQ((HICON)SendMessageA(frame, WM_GETICON, ICON_BIG, 0), icon);
  std::string bytes;
  ASSERT_TRUE(test::pumpUntil([&] { return !(bytes = x.property(id, netIcon)).empty(); }));
  ASSERT_GE(bytes.size(), 8u);
  const auto* words = (const uint32_t*)bytes.data();
  const uint32_t w = words[0], h = words[1];
  EXPECT_EQ(w, (uint32_t)GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(h, (uint32_t)GetSystemMetrics(SM_CYICON));
  ASSERT_EQ(bytes.size(), (2 + (size_t)w * h) * 4);
  size_t opaque = 0;
  for (size_t i = 0; i < (size_t)w * h; ++i) opaque += (words[2 + i] >> 24) == 0xFF;
  EXPECT_GT(opaque, 0u);
  EXPECT_LT(opaque, (size_t)w * h);  // the mask leaves the corners clear
  // Taking the icon away takes the property away.
  EXPECT_EQ((HICON)SendMessageA(frame, WM_SETICON, ICON_BIG, 0), icon);
  EXPECT_TRUE(test::pumpUntil([&] { return x.property(id, netIcon).empty(); }));
}

TEST_F(X11Display, DropDownListIsOverrideRedirect) {
  HWND combo = child("ComboBox", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL, 20, 10, 10, 150, 120);
  for (const char* item : {"red", "green", "blue"}) SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)item);
  settle();
  const xcb_window_t frameId = frameWindow();
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  RECT list{};
  SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)&list);
  list.top += 30;  // below the face: the list alone
  bool overrideRedirect = false;
  xcb_window_t id = 0;
  ASSERT_TRUE(test::pumpUntil([&] { return (id = x.mappedCovering(list, &overrideRedirect)) != 0 && id != frameId; }))
      << "the list is not above the frame on the server";
  EXPECT_TRUE(overrideRedirect);
  SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
  RECT r;
  bool mapped = true;
  EXPECT_TRUE(test::pumpUntil([&] { return x.geometry(id, r, mapped) && !mapped; }));
}

// Windows the system places itself (menus, drop-down lists, tooltips) are
// kept out of the window manager's hands; windows with a caption are its.
TEST_F(X11Display, PopupsThatPlaceThemselvesAreOverrideRedirect) {
  struct Case {
    const char* what;
    DWORD style, exStyle;
    bool owned;
    bool topmostBeforeShown;  // what a tooltip does: SetWindowPos(HWND_TOPMOST), then shown
    bool expected;
  } cases[] = {
      {"an owned popup without caption (a drop-down)", WS_POPUP | WS_BORDER, 0, true, false, true},
      {"a tooltip: unowned, made topmost, then shown", WS_POPUP | WS_BORDER, 0, false, true, true},
      {"an unowned tool window", WS_POPUP, WS_EX_TOOLWINDOW, false, false, true},
      {"an owned popup with a caption (a dialog)", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, true, false, false},
      {"an overlapped window", WS_OVERLAPPEDWINDOW, 0, false, false, false},
  };
  const xcb_window_t frameId = frameWindow();
  ASSERT_NE(frameId, 0u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HWND popup = CreateWindowExA(c.exStyle, "Static", "popup", c.style, 600, 500, 120, 40, c.owned ? frame : nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(popup, nullptr);
    if (c.topmostBeforeShown) SetWindowPos(popup, HWND_TOPMOST, 610, 510, 100, 30, SWP_NOACTIVATE);
    SetWindowPos(popup, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RECT r;
    GetWindowRect(popup, &r);
    bool overrideRedirect = !c.expected;
    xcb_window_t id = 0;
    EXPECT_TRUE(test::pumpUntil([&] { return (id = x.mappedCovering(r, &overrideRedirect)) != 0 && id != frameId; }));
    EXPECT_EQ(overrideRedirect, c.expected);
    DestroyWindow(popup);
  }
}

TEST_F(X11Display, CaretIsInvertedOnTheServerOnly) {
  HWND edit = child("Edit", "caret", WS_BORDER, 12, 10, 50, 200, 22);
  SetCaretBlinkTime(60000);  // steady while the test looks
  SetFocus(edit);
  settle();
  xcb_window_t id = frameWindow();
  ASSERT_NE(id, 0u);
  POINT caret{};
  ASSERT_TRUE(GetCaretPos(&caret));
  RECT frameRect;
  GetWindowRect(frame, &frameRect);
  POINT at = caret;
  ClientToScreen(edit, &at);
  const int cx = at.x - frameRect.left, cy = at.y - frameRect.top;  // window coordinates
  const int w = frameRect.right - frameRect.left, h = frameRect.bottom - frameRect.top;
  auto serverPixel = [&] {
    auto img = x.image(id, w, h);
    return img.empty() ? 0xFFFFFFFFu : img[(size_t)(cy + 2) * w + cx];
  };
  const COLORREF snap = win32::snapshot::windowPixel(frame, cx, cy + 2);
  const uint32_t snapRgb = (GetRValue(snap) << 16) | (GetGValue(snap) << 8) | GetBValue(snap);
  EXPECT_TRUE(test::pumpUntil([&] { return serverPixel() == (~snapRgb & 0xFFFFFF); }))
      << std::hex << serverPixel() << " snapshot " << snapRgb;
  HideCaret(edit);
  EXPECT_TRUE(test::pumpUntil([&] { return serverPixel() == snapRgb; }));
  ShowCaret(edit);
  SetCaretBlinkTime(530);
}

}  // namespace
