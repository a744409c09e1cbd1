// The "Button" control: check states, clicks by mouse, space bar and
// BM_CLICK, radio groups, notifications, dialog codes, owner drawing.
#include "control_fixture.h"

#include <algorithm>
#include <vector>

namespace input = win32::input;
using test::Notification;

namespace {

class Button : public test::ControlTest {};

TEST_F(Button, MouseClickOnPushButtonNotifiesParentOnce) {
  HWND b = child("Button", "OK", BS_PUSHBUTTON, 10, 10, 10, 80, 24);
  settle();
  input::click(b, 5, 5);
  input::pumpMessages();
  EXPECT_EQ(test::notifications(), (std::vector<Notification>{{10, BN_CLICKED}}));
  EXPECT_EQ(GetFocus(), b);
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0), BST_FOCUS);  // pressed no more
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Button, ReleaseOutsideTheButtonDoesNotClick) {
  HWND b = child("Button", "OK", BS_PUSHBUTTON, 10, 10, 10, 80, 24);
  settle();
  input::mouseDown(b, 5, 5);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
  input::mouseMove(b, 150, 5);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);  // drawn up while the mouse is away
  input::mouseUp(b, 150, 5);
  input::pumpMessages();
  EXPECT_TRUE(test::notifications().empty());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Button, SpaceBarPressesAndReleaseClicks) {
  HWND b = child("Button", "Check", BS_AUTOCHECKBOX, 11, 10, 10, 120, 20);
  SetFocus(b);
  settle();
  input::keyDown(VK_SPACE);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0), BST_PUSHED | BST_FOCUS);
  EXPECT_TRUE(test::notifications().empty());
  input::keyUp(VK_SPACE);
  input::pumpMessages();
  EXPECT_EQ(test::notifications(), (std::vector<Notification>{{11, BN_CLICKED}}));
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(Button, AutomaticTypesChangeTheirCheckWhenClicked) {
  struct Case {
    DWORD style;
    std::vector<LRESULT> checks;  // after each of three clicks
  } cases[] = {
      {BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}},
      {BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
      {BS_CHECKBOX, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}},
      {BS_3STATE, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}},
      {BS_AUTORADIOBUTTON, {BST_CHECKED, BST_CHECKED, BST_CHECKED}},
      {BS_RADIOBUTTON, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    HWND b = child("Button", "x", c.style | WS_GROUP, 12, 10, 10, 120, 20);
    settle();
    for (LRESULT expected : c.checks) {
      SendMessageA(b, BM_CLICK, 0, 0);
      EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), expected);
    }
    EXPECT_EQ(test::notifications(),
              (std::vector<Notification>{{12, BN_CLICKED}, {12, BN_CLICKED}, {12, BN_CLICKED}}));
    DestroyWindow(b);
  }
}

TEST_F(Button, SetCheckKeepsToWhatTheTypeCanShow) {
  struct Case {
    DWORD style;
    WPARAM set;
    LRESULT got;
  } cases[] = {
      {BS_CHECKBOX, BST_INDETERMINATE, BST_CHECKED}, {BS_3STATE, BST_INDETERMINATE, BST_INDETERMINATE},
      {BS_AUTO3STATE, BST_CHECKED, BST_CHECKED},     {BS_PUSHBUTTON, BST_CHECKED, BST_UNCHECKED},
      {BS_GROUPBOX, BST_CHECKED, BST_UNCHECKED},     {BS_RADIOBUTTON, 7, BST_CHECKED},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    HWND b = child("Button", "x", c.style, 1, 10, 10, 120, 20);
    SendMessageA(b, BM_SETCHECK, c.set, 0);
    EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), c.got);
    EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & 3, c.got);
    DestroyWindow(b);
  }
}

TEST_F(Button, AutoRadioButtonUnchecksTheOthersOfItsGroupOnly) {
  HWND a = child("Button", "A", BS_AUTORADIOBUTTON | WS_GROUP, 1, 10, 10, 100, 20);
  HWND b = child("Button", "B", BS_AUTORADIOBUTTON, 2, 10, 30, 100, 20);
  HWND c = child("Button", "C", BS_AUTORADIOBUTTON, 3, 10, 50, 100, 20);
  HWND d = child("Button", "D", BS_AUTORADIOBUTTON | WS_GROUP, 4, 10, 70, 100, 20);
  SendMessageA(a, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(d, BM_SETCHECK, BST_CHECKED, 0);
  settle();
  input::click(c, 5, 5);
  input::pumpMessages();
  EXPECT_EQ(test::notifications(), (std::vector<Notification>{{3, BN_CLICKED}}));
  EXPECT_EQ(SendMessageA(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(d, BM_GETCHECK, 0, 0), BST_CHECKED);  // another group
  // The checked radio button is the group's tab stop.
  EXPECT_EQ(GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP, WS_TABSTOP);
  EXPECT_EQ(GetWindowLongA(a, GWL_STYLE) & WS_TABSTOP, 0);
}

TEST_F(Button, NotifyStyleReportsFocusAndDoubleClicks) {
  HWND plain = child("Button", "plain", BS_PUSHBUTTON, 1, 10, 10, 80, 24);
  HWND b = child("Button", "notify", BS_PUSHBUTTON | BS_NOTIFY, 2, 10, 40, 80, 24);
  settle();
  SetFocus(plain);
  SetFocus(b);
  SetFocus(plain);
  EXPECT_EQ(test::notifications(), (std::vector<Notification>{{2, BN_SETFOCUS}, {2, BN_KILLFOCUS}}));
  test::log().clear();
  input::doubleClick(b, 5, 5);
  input::pumpMessages();
  EXPECT_EQ(test::notifications(),
            (std::vector<Notification>{{2, BN_SETFOCUS}, {2, BN_CLICKED}, {2, BN_DOUBLECLICKED}}));
  test::log().clear();
  // Without BS_NOTIFY the second click of a double click is a click.
  input::doubleClick(plain, 5, 5);
  input::pumpMessages();
  EXPECT_EQ(test::notifications(),
            (std::vector<Notification>{{2, BN_KILLFOCUS}, {1, BN_CLICKED}, {1, BN_CLICKED}}));
}

TEST_F(Button, DisabledButtonIgnoresClicks) {
  HWND b = child("Button", "OK", BS_PUSHBUTTON | WS_DISABLED, 10, 10, 10, 80, 24);
  settle();
  input::click(b, 5, 5);
  input::pumpMessages();
  SendMessageA(b, BM_CLICK, 0, 0);
  EXPECT_TRUE(test::notifications().empty());
}

TEST_F(Button, DialogCodesFollowTheType) {
  struct Case {
    DWORD style;
    LRESULT code;
  } cases[] = {
      {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON}, {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
      {BS_CHECKBOX, DLGC_BUTTON},                          {BS_AUTOCHECKBOX, DLGC_BUTTON},
      {BS_RADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},    {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
      {BS_3STATE, DLGC_BUTTON},                            {BS_GROUPBOX, DLGC_STATIC},
      {BS_OWNERDRAW, DLGC_BUTTON},
  };
  for (const Case& c : cases) {
    HWND b = child("Button", "x", c.style, 1, 10, 10, 80, 24);
    EXPECT_EQ(SendMessageA(b, WM_GETDLGCODE, 0, 0), c.code) << c.style;
    DestroyWindow(b);
  }
}

TEST_F(Button, SetStyleChangesTheTypeAndItsDialogCode) {
  HWND b = child("Button", "OK", BS_PUSHBUTTON | BS_NOTIFY, 1, 10, 10, 80, 24);
  SendMessageA(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(GetWindowLongA(b, GWL_STYLE) & (BS_TYPEMASK | BS_NOTIFY), BS_DEFPUSHBUTTON | BS_NOTIFY);
  EXPECT_EQ(SendMessageA(b, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
}

// The messages a button itself gets, through a subclass.
WNDPROC buttonProcedure = nullptr;
std::vector<test::Logged> buttonMessages;
LRESULT CALLBACK watchButton(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  buttonMessages.push_back(test::Logged{hwnd, msg, wParam, lParam});
  return CallWindowProcA(buttonProcedure, hwnd, msg, wParam, lParam);
}

TEST_F(Button, SetStyleSendsNoStyleMessagesAndClickPressesWithoutKeyState) {
  HWND b = child("Button", "OK", BS_PUSHBUTTON, 1, 10, 10, 80, 24);
  buttonProcedure = (WNDPROC)SetWindowLongPtrA(b, GWLP_WNDPROC, (LONG_PTR)watchButton);
  buttonMessages.clear();
  SendMessageA(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  for (const test::Logged& m : buttonMessages) {
    EXPECT_NE(m.msg, (UINT)WM_STYLECHANGING);
    EXPECT_NE(m.msg, (UINT)WM_STYLECHANGED);
  }
  EXPECT_EQ(GetWindowLongA(b, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  buttonMessages.clear();
  SendMessageA(b, BM_CLICK, 0, 0);
  auto down = std::find_if(buttonMessages.begin(), buttonMessages.end(),
                           [](const test::Logged& m) { return m.msg == WM_LBUTTONDOWN; });
  ASSERT_NE(down, buttonMessages.end());
  EXPECT_EQ(down->wParam, 0u);
  EXPECT_EQ(test::notifications(), (std::vector<test::Notification>{{1, BN_CLICKED}}));
  DestroyWindow(b);
}

TEST_F(Button, GroupBoxLetsTheMouseThrough) {
  HWND g = child("Button", "Group", BS_GROUPBOX, 1, 10, 10, 200, 100);
  EXPECT_EQ(SendMessageA(g, WM_NCHITTEST, 0, MAKELPARAM(70, 70)), HTTRANSPARENT);
}

TEST_F(Button, GroupBoxWithAShorterTitleLeavesNoTraceOfTheOldOne) {
  HWND g = child("Button", "A rather long title", BS_GROUPBOX, 1, 10, 10, 200, 100);
  SendMessageA(g, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
  auto darkPixels = [&] {
    UpdateWindow(frame);
    UpdateWindow(g);
    int dark = 0;
    for (int x = 40; x < 150; ++x)
      for (int y = 0; y < 14; ++y) {
        COLORREF p = win32::snapshot::windowPixel(g, x, y);
        dark += GetRValue(p) < 80 && GetGValue(p) < 80 && GetBValue(p) < 80;
      }
    return dark;
  };
  EXPECT_GT(darkPixels(), 0);
  SetWindowTextA(g, "A");
  EXPECT_EQ(darkPixels(), 0);
}

TEST_F(Button, OwnerDrawnButtonAsksItsParentWithItsState) {
  HWND b = child("Button", "", BS_OWNERDRAW, 33, 10, 10, 80, 24);
  settle();
  std::vector<DRAWITEMSTRUCT> drawn;
  test::answer() = [&](HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& r) {
    if (msg != WM_DRAWITEM) return false;
    EXPECT_EQ(wParam, 33u);
    drawn.push_back(*(DRAWITEMSTRUCT*)lParam);
    r = TRUE;
    return true;
  };
  InvalidateRect(b, nullptr, TRUE);
  UpdateWindow(b);
  SendMessageA(b, BM_SETSTATE, TRUE, 0);
  SetFocus(b);
  EnableWindow(b, FALSE);
  UpdateWindow(b);
  test::answer() = nullptr;
  ASSERT_GE(drawn.size(), 4u);
  const DRAWITEMSTRUCT& first = drawn[0];
  EXPECT_EQ(first.CtlType, (UINT)ODT_BUTTON);
  EXPECT_EQ(first.CtlID, 33u);
  EXPECT_EQ(first.itemAction, (UINT)ODA_DRAWENTIRE);
  EXPECT_EQ(first.itemState, 0u);
  EXPECT_EQ(first.hwndItem, b);
  EXPECT_TRUE(first.rcItem.left == 0 && first.rcItem.top == 0 && first.rcItem.right == 80 &&
              first.rcItem.bottom == 24);
  EXPECT_EQ(drawn[1].itemAction, (UINT)ODA_SELECT);
  EXPECT_EQ(drawn[1].itemState, (UINT)ODS_SELECTED);
  EXPECT_EQ(drawn[2].itemAction, (UINT)ODA_FOCUS);
  EXPECT_EQ(drawn[2].itemState, (UINT)(ODS_SELECTED | ODS_FOCUS));
  EXPECT_EQ(drawn.back().itemState & ODS_DISABLED, (UINT)ODS_DISABLED);
  // A control that paints sends WM_CTLCOLORBTN before each WM_DRAWITEM.
  bool colourFirst = false;
  for (size_t i = 1; i < test::log().size(); ++i)
    if (test::log()[i].msg == WM_DRAWITEM) {
      colourFirst = test::log()[i - 1].msg == WM_CTLCOLORBTN;
      break;
    }
  EXPECT_TRUE(colourFirst);
}

TEST_F(Button, ImageAndFontAreKeptAndAnsweredBack) {
  HWND b = child("Button", "", BS_PUSHBUTTON | BS_BITMAP, 1, 10, 10, 80, 40);
  HBITMAP bitmap = CreateBitmap(16, 16, 1, 32, nullptr);
  EXPECT_EQ(SendMessageA(b, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap), 0);
  EXPECT_EQ(SendMessageA(b, BM_GETIMAGE, IMAGE_BITMAP, 0), (LRESULT)bitmap);
  EXPECT_EQ(SendMessageA(b, BM_GETIMAGE, IMAGE_ICON, 0), 0);
  EXPECT_EQ(SendMessageA(b, BM_SETIMAGE, 7, (LPARAM)bitmap), 0);  // no such image type
  EXPECT_EQ(SendMessageA(b, BM_SETIMAGE, IMAGE_BITMAP, 0), (LRESULT)bitmap);
  HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
  EXPECT_EQ(SendMessageA(b, WM_GETFONT, 0, 0), 0);
  SendMessageA(b, WM_SETFONT, (WPARAM)font, TRUE);
  EXPECT_EQ(SendMessageA(b, WM_GETFONT, 0, 0), (LRESULT)font);
  DestroyWindow(b);
  DeleteObject(bitmap);
}

TEST_F(Button, PaintingStartsWithTheColourMessageOfItsKind) {
  // Push buttons ask WM_CTLCOLORBTN; check boxes, radio buttons and group boxes WM_CTLCOLORSTATIC.
  struct Case {
    DWORD style;
    UINT first;
  } cases[] = {
      {BS_PUSHBUTTON, WM_CTLCOLORBTN},       {BS_DEFPUSHBUTTON, WM_CTLCOLORBTN},
      {BS_CHECKBOX, WM_CTLCOLORSTATIC},      {BS_AUTOCHECKBOX, WM_CTLCOLORSTATIC},
      {BS_RADIOBUTTON, WM_CTLCOLORSTATIC},   {BS_AUTORADIOBUTTON, WM_CTLCOLORSTATIC},
      {BS_3STATE, WM_CTLCOLORSTATIC},        {BS_GROUPBOX, WM_CTLCOLORSTATIC},
      {BS_AUTOCHECKBOX | BS_PUSHLIKE, WM_CTLCOLORBTN}, {BS_OWNERDRAW, WM_CTLCOLORBTN},
  };
  for (const Case& c : cases) {
    HWND b = child("Button", "b", c.style, 1, 10, 10, 100, 30);
    UpdateWindow(b);
    test::log().clear();
    InvalidateRect(b, nullptr, TRUE);
    UpdateWindow(b);
    UINT first = 0;
    for (const test::Logged& l : test::log())
      if (l.hwnd == frame) {
        first = l.msg;
        break;
      }
    EXPECT_EQ(first, c.first) << std::hex << c.style;
    DestroyWindow(b);
  }
}

TEST_F(Button, CheckBoxPaintsWithTheBrushItsParentAnswers) {
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  test::answer() = [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_CTLCOLORSTATIC) return false;
    r = (LRESULT)red;
    return true;
  };
  HWND b = child("Button", "", BS_AUTOCHECKBOX, 1, 10, 10, 120, 20);
  UpdateWindow(b);
  EXPECT_EQ(win32::snapshot::windowPixel(b, 100, 10), RGB(255, 0, 0));
  test::answer() = nullptr;
  DestroyWindow(b);
  DeleteObject(red);
}

TEST_F(Button, SnapshotOfEveryKindNormalFocusedAndDisabled) {
  SetWindowPos(frame, nullptr, 0, 0, 470, 370, SWP_NOMOVE | SWP_NOZORDER);
  HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
  struct Kind {
    const char* text;
    DWORD style;
    WPARAM check;
  } kinds[] = {
      {"Push", BS_PUSHBUTTON, 0},        {"Default", BS_DEFPUSHBUTTON, 0},
      {"Check", BS_AUTOCHECKBOX, 1},     {"Three", BS_AUTO3STATE, 2},
      {"Radio", BS_AUTORADIOBUTTON, 1},  {"Left text", BS_AUTOCHECKBOX | BS_LEFTTEXT, 1},
      {"Like", BS_AUTOCHECKBOX | BS_PUSHLIKE, 1},
      {"Two lines of a multi-line label", BS_PUSHBUTTON | BS_MULTILINE, 0},
      {"", BS_PUSHBUTTON | BS_ICON, 0},
  };
  HICON icon = LoadIconA(nullptr, IDI_EXCLAMATION);
  const char* columns[] = {"normal", "focused", "disabled"};
  int id = 100;
  for (int col = 0; col < 3; ++col) {
    child("Button", columns[col], BS_GROUPBOX, id++, 10 + col * 150, 5, 145, 330);
    for (int row = 0; row < 9; ++row) {
      const Kind& k = kinds[row];
      HWND b = child("Button", k.text, k.style | WS_GROUP | (col == 2 ? WS_DISABLED : 0), id++, 20 + col * 150,
                     25 + row * 33, 125, row == 8 ? 38 : 30);
      SendMessageA(b, WM_SETFONT, (WPARAM)font, FALSE);
      SendMessageA(b, BM_SETCHECK, k.check, 0);
      if (k.style & BS_ICON) SendMessageA(b, BM_SETIMAGE, IMAGE_ICON, (LPARAM)icon);
      if (col == 1) {
        SendMessageA(b, WM_SETFOCUS, 0, 0);
      }
    }
  }
  const std::string path = test::snapshotPath("button_kinds.png");
  ASSERT_TRUE(win32::snapshot::saveWindowPng(frame, path.c_str()));
  // A push button's face is the 3-D face colour.
  EXPECT_EQ(win32::snapshot::windowPixel(GetDlgItem(frame, 101), 5, 5), GetSysColor(COLOR_3DFACE));
}

}  // namespace
