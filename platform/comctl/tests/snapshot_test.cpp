// Pictures of the common controls as the screen would show them, written
// under the build tree for people to look at: a frame with a tool bar, a
// status bar with parts and an up-down with its buddy; a tool tip shown over
// a tool. The checks are on pixels that say the controls drew themselves.
#include "comctl_fixture.h"

namespace input = win32::input;

namespace {

class Snapshot : public test::CommonControlTest {};

TBBUTTON button(int image, int id, BYTE style, BYTE state = TBSTATE_ENABLED) {
  TBBUTTON b{};
  b.iBitmap = image;
  b.idCommand = id;
  b.fsState = state;
  b.fsStyle = style;
  return b;
}

TEST_F(Snapshot, FrameWithToolBarStatusBarAndUpDown) {
  const TBBUTTON buttons[] = {button(0, 10, TBSTYLE_BUTTON), button(1, 11, TBSTYLE_BUTTON, 0),
                              button(0, 0, TBSTYLE_SEP),     button(2, 12, TBSTYLE_CHECKGROUP),
                              button(3, 13, TBSTYLE_CHECKGROUP, TBSTATE_ENABLED | TBSTATE_CHECKED)};
  HWND tb = CreateToolbarEx(frame, WS_VISIBLE, 1, 4, GetModuleHandleA(nullptr), 100, buttons, 5, 0, 0, 16, 15,
                            sizeof(TBBUTTON));
  ASSERT_NE(tb, nullptr);
  HWND sb = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, "Ready", frame, 2);
  const int edges[] = {150, 250, -1};
  SendMessageA(sb, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  SendMessageA(sb, SB_SETTEXTA, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>("Raised"));
  SendMessageA(sb, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>("\tNUM"));
  HWND edit = child("Edit", "", WS_BORDER, 30, 20, 60, 80, 22);
  HWND updown = child(UPDOWN_CLASSA, nullptr, UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT, 31, 0, 0, 16, 22);
  SendMessageA(updown, UDM_SETRANGE32, 0, 5000);
  SendMessageA(updown, UDM_SETPOS32, 0, 1234);
  input::pumpMessages();
  ASSERT_TRUE(win32::snapshot::saveWindowPng(frame, test::snapshotPath("comctl_frame.png").c_str()));
  char text[16] = {};
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "1,234");
  // The first button's red square, in window coordinates of the frame.
  RECT fr{}, br{};
  GetWindowRect(frame, &fr);
  SendMessageA(tb, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&br));
  MapWindowPoints(tb, nullptr, reinterpret_cast<POINT*>(&br), 2);
  EXPECT_EQ(win32::snapshot::windowPixel(frame, (br.left + br.right) / 2 - fr.left, (br.top + br.bottom) / 2 - fr.top),
            RGB(255, 0, 0));
}

TEST_F(Snapshot, ToolTipOverATool) {
  HWND tips = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, frame, nullptr, nullptr, nullptr);
  SendMessageA(tips, TTM_SETDELAYTIME, TTDT_INITIAL, 10);
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_SUBCLASS;
  ti.hwnd = frame;
  ti.uId = 1;
  ti.rect = RECT{0, 0, 200, 100};
  ti.lpszText = const_cast<LPSTR>("Opens a document");
  SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  input::mouseMove(frame, 40, 40);
  input::pumpMessages();
  wait(60);
  ASSERT_TRUE(IsWindowVisible(tips));
  ASSERT_TRUE(win32::snapshot::saveWindowPng(tips, test::snapshotPath("comctl_tooltip.png").c_str()));
  RECT r{};
  GetWindowRect(tips, &r);
  EXPECT_EQ(win32::snapshot::windowPixel(tips, 2, (r.bottom - r.top) / 2), GetSysColor(COLOR_INFOBK));
  EXPECT_EQ(win32::snapshot::windowPixel(tips, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
}

}  // namespace
