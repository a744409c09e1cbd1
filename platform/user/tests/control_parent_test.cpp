// A control made with a parent but without WS_CHILD (an owned window,
// which has no GetParent() unless WS_POPUP) still sends its notifications
// and colour messages to the parent it was created with.
#include "control_fixture.h"

namespace {

using test::ControlTest;

class ControlParent : public ControlTest {};

struct Case {
  const char* cls;
  DWORD style;
  void (*act)(HWND control);
  UINT message;  // what the creation parent must get from the control
  int code;      // WM_COMMAND notification code (HIWORD of wParam); -1 for none
};

const Case kCases[] = {
    {"Edit", ES_AUTOHSCROLL, [](HWND c) { SetWindowTextA(c, "x"); }, WM_COMMAND, EN_UPDATE},
    {"Edit", ES_AUTOHSCROLL, [](HWND c) { SetWindowTextA(c, "y"); }, WM_COMMAND, EN_CHANGE},
    {"Edit", ES_AUTOHSCROLL,
     [](HWND c) {
       SendMessageA(c, EM_LIMITTEXT, 1, 0);
       SendMessageA(c, EM_SETSEL, 0, -1);
       SendMessageA(c, WM_CHAR, 'a', 0);
       SendMessageA(c, WM_CHAR, 'b', 0);
     },
     WM_COMMAND, EN_MAXTEXT},
    {"Edit", ES_AUTOHSCROLL, [](HWND c) { UpdateWindow(c); }, WM_CTLCOLOREDIT, -1},
    {"Button", BS_PUSHBUTTON, [](HWND c) { SendMessageA(c, BM_CLICK, 0, 0); }, WM_COMMAND, BN_CLICKED},
    {"Button", BS_PUSHBUTTON, [](HWND c) { UpdateWindow(c); }, WM_CTLCOLORBTN, -1},
    {"Button", BS_OWNERDRAW, [](HWND c) { UpdateWindow(c); }, WM_DRAWITEM, -1},
    {"Static", SS_NOTIFY, [](HWND c) { UpdateWindow(c); }, WM_CTLCOLORSTATIC, -1},
    {"Static", SS_NOTIFY,
     [](HWND c) {
       SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
       SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
     },
     WM_COMMAND, STN_CLICKED},
    {"ScrollBar", SBS_VERT, [](HWND c) { SendMessageA(c, WM_KEYDOWN, VK_DOWN, 0); }, WM_VSCROLL, -1},
    {"ListBox", LBS_NOTIFY,
     [](HWND c) {
       SendMessageA(c, LB_ADDSTRING, 0, (LPARAM) "one");
       SendMessageA(c, LB_ADDSTRING, 0, (LPARAM) "two");
       SendMessageA(c, WM_KEYDOWN, VK_DOWN, 0);
     },
     WM_COMMAND, LBN_SELCHANGE},
    {"ComboBox", CBS_DROPDOWNLIST,
     [](HWND c) {
       SendMessageA(c, CB_ADDSTRING, 0, (LPARAM) "one");
       SendMessageA(c, CB_ADDSTRING, 0, (LPARAM) "two");
       SendMessageA(c, WM_KEYDOWN, VK_DOWN, 0);
     },
     WM_COMMAND, CBN_SELCHANGE},
};

TEST_F(ControlParent, NotificationsGoToTheParentGivenAtCreation) {
  for (DWORD kind : {(DWORD)WS_OVERLAPPED, (DWORD)WS_POPUP}) {
    for (const Case& c : kCases) {
      HWND control = CreateWindowExA(0, c.cls, "", kind | WS_VISIBLE | c.style, 0, 0, 120, 60, frame, nullptr,
                                     nullptr, nullptr);
      ASSERT_TRUE(control) << c.cls;
      EXPECT_EQ(GetParent(control), kind == WS_POPUP ? frame : nullptr);
      InvalidateRect(control, nullptr, TRUE);
      test::log().clear();
      c.act(control);
      bool got = false;
      for (const test::Logged& l : test::log()) {
        if (l.hwnd != frame || l.msg != c.message) continue;
        if (c.message == WM_COMMAND && ((HWND)l.lParam != control || HIWORD(l.wParam) != c.code)) continue;
        if (c.message >= WM_CTLCOLORMSGBOX && c.message <= WM_CTLCOLORSTATIC && (HWND)l.lParam != control) continue;
        if (c.message == WM_VSCROLL && (HWND)l.lParam != control) continue;
        got = true;
      }
      EXPECT_TRUE(got) << c.cls << " style " << std::hex << c.style << " message " << c.message << " code "
                       << c.code << (kind == WS_POPUP ? " pop-up" : " owned");
      DestroyWindow(control);
    }
  }
}

}  // namespace
