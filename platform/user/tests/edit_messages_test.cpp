// The "Edit" control's EM_* messages: lines, selection, scrolling, the
// formatting rectangle, positions, the local handle, and its painting.
#include "control_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace input = win32::input;
using test::Notification;

namespace {

class EditMessages : public test::ControlTest {
 protected:
  HWND edit(DWORD style, const char* text, int width = 200, int height = 100) {
    HWND e = child("Edit", text, WS_BORDER | style, 20, 10, 10, width, height);
    SendMessageA(e, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
    settle();
    return e;
  }
};

TEST_F(EditMessages, LineQueriesOfAMultiLineEdit) {
  HWND e = edit(ES_MULTILINE | ES_AUTOHSCROLL, "one\r\ntwo words\r\n\r\nlast");
  EXPECT_EQ(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 4);
  struct Case {
    UINT msg;
    WPARAM wParam;
    LRESULT result;
  } cases[] = {
      {EM_LINEINDEX, 0, 0},     {EM_LINEINDEX, 1, 5},      {EM_LINEINDEX, 2, 16},    {EM_LINEINDEX, 3, 18},
      {EM_LINEINDEX, 4, -1},    {EM_LINELENGTH, 0, 3},     {EM_LINELENGTH, 7, 9},    {EM_LINELENGTH, 16, 0},
      {EM_LINELENGTH, 18, 4},   {EM_LINEFROMCHAR, 0, 0},   {EM_LINEFROMCHAR, 4, 0},  {EM_LINEFROMCHAR, 5, 1},
      {EM_LINEFROMCHAR, 17, 2}, {EM_LINEFROMCHAR, 22, 3},  {EM_LINEFROMCHAR, 99, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessageA(e, c.msg, c.wParam, 0), c.result) << std::hex << c.msg << " " << std::dec << c.wParam;
  }
  char buffer[16] = {};
  *(WORD*)buffer = sizeof buffer;
  EXPECT_EQ(SendMessageA(e, EM_GETLINE, 1, (LPARAM)buffer), 9);
  EXPECT_EQ(std::string(buffer, 9), "two words");
  *(WORD*)buffer = 3;
  EXPECT_EQ(SendMessageA(e, EM_GETLINE, 1, (LPARAM)buffer), 3);  // cut to the buffer, no terminator
  EXPECT_EQ(SendMessageA(e, EM_GETLINE, 9, (LPARAM)buffer), 0);
  // -1: the caret's line; EM_LINELENGTH(-1): the unselected characters of the selection's lines.
  SendMessageA(e, EM_SETSEL, 7, 20);
  EXPECT_EQ(SendMessageA(e, EM_LINEINDEX, (WPARAM)-1, 0), 18);
  EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, (WPARAM)-1, 0), 1);
  EXPECT_EQ(SendMessageA(e, EM_LINELENGTH, (WPARAM)-1, 0), 2 + 2);
}

TEST_F(EditMessages, WrappingBreaksAfterSpacesUnlessAutoHScroll) {
  const char* text = "the quick brown fox jumps over the lazy dog";
  HWND wrapped = edit(ES_MULTILINE, text, 80, 200);
  HWND scrolled = edit(ES_MULTILINE | ES_AUTOHSCROLL, text, 80, 200);
  LRESULT lines = SendMessageA(wrapped, EM_GETLINECOUNT, 0, 0);
  EXPECT_GT(lines, 2);
  EXPECT_EQ(SendMessageA(scrolled, EM_GETLINECOUNT, 0, 0), 1);
  // Each wrapped line but the last ends after a space.
  for (LRESULT i = 1; i < lines; ++i) {
    LRESULT start = SendMessageA(wrapped, EM_LINEINDEX, i, 0);
    EXPECT_EQ(text[start - 1], ' ') << i;
  }
  // The text is unchanged by wrapping.
  char buffer[64] = {};
  GetWindowTextA(wrapped, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, text);
}

TEST_F(EditMessages, SetSelClampsAndMinusOneMeansEndOrNone) {
  HWND e = edit(ES_AUTOHSCROLL, "abcdef", 200, 24);
  struct Case {
    WPARAM start;
    LPARAM end;
    DWORD s, t;
  } cases[] = {
      {0, -1, 0, 6}, {2, 4, 2, 4}, {4, 2, 2, 4}, {(WPARAM)-1, 0, 2, 2}, {3, 99, 3, 6}, {99, 99, 6, 6},
  };
  for (const Case& c : cases) {
    SendMessageA(e, EM_SETSEL, c.start, c.end);
    DWORD s = 0, t = 0;
    LRESULT packed = SendMessageA(e, EM_GETSEL, (WPARAM)&s, (LPARAM)&t);
    EXPECT_EQ(s, c.s) << c.start << "," << c.end;
    EXPECT_EQ(t, c.t) << c.start << "," << c.end;
    EXPECT_EQ(packed, MAKELRESULT(c.s, c.t));
  }
}

TEST_F(EditMessages, ScrollingMultiLineByMessagesAndTheCaret) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "line " + std::to_string(i) + "\r\n";
  HWND e = edit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, text.c_str(), 200, 100);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  LRESULT r = SendMessageA(e, EM_SCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(r, MAKELRESULT(1, TRUE));
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
  EXPECT_EQ(SendMessageA(e, EM_LINESCROLL, 0, 10), TRUE);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 11);
  EXPECT_EQ(SendMessageA(e, EM_LINESCROLL, 0, -100), TRUE);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  // The caret at the end brings the last line into view.
  SendMessageA(e, EM_SETSEL, text.size(), text.size());
  SendMessageA(e, EM_SCROLLCARET, 0, 0);
  LRESULT first = SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0);
  EXPECT_GT(first, 30);
  EXPECT_EQ(GetScrollPos(e, SB_VERT), first);
  // The scroll bar: EN_VSCROLL to the parent, then the scroll.
  test::log().clear();
  SendMessageA(e, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(test::notifications(), (std::vector<Notification>{{20, EN_VSCROLL}}));
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  // Single-line edits do not scroll by lines.
  HWND single = edit(ES_AUTOHSCROLL, "x", 100, 24);
  EXPECT_EQ(SendMessageA(single, EM_SCROLL, SB_LINEDOWN, 0), FALSE);
  EXPECT_EQ(SendMessageA(single, EM_LINESCROLL, 0, 1), FALSE);
}

TEST_F(EditMessages, SelectionHeldBelowTheTextGrowsALineAtEachTick) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "line " + std::to_string(i) + "\r\n";
  HWND e = edit(ES_MULTILINE | ES_AUTOVSCROLL, text.c_str(), 200, 100);
  input::mouseDown(e, 5, 5);
  input::mouseMove(e, 5, 95);   // the last visible line
  input::mouseMove(e, 5, 160);  // below the edit
  input::pumpMessages();
  LRESULT first = SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0);
  DWORD start = 0, end = 0;
  SendMessageA(e, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  LRESULT line = SendMessageA(e, EM_LINEFROMCHAR, end, 0);
  const DWORD anchor = start;
  // The timer's ticks, sent here instead of waited for.
  SendMessageA(e, WM_TIMER, 1, 0);
  SendMessageA(e, WM_TIMER, 1, 0);
  SendMessageA(e, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  EXPECT_EQ(start, anchor);
  EXPECT_LT(anchor, 5u);  // on the first line
  EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, end, 0), line + 2);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), first + 2);
  input::mouseUp(e, 5, 160);
  input::pumpMessages();
  SendMessageA(e, WM_TIMER, 1, 0);  // a late tick after the release changes nothing
  SendMessageA(e, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, end, 0), line + 2);
}

TEST_F(EditMessages, SingleLineScrollsHorizontallyToTheCaret) {
  HWND e = edit(ES_AUTOHSCROLL, "", 60, 24);
  SetFocus(e);
  input::typeText("a long line that goes well past the right edge");
  input::pumpMessages();
  LRESULT first = SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0);
  EXPECT_GT(first, 0);  // the first visible character
  LRESULT end = SendMessageA(e, EM_POSFROMCHAR, 46, 0);
  EXPECT_LE((short)LOWORD(end), 60);
  input::keyPress(VK_HOME);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(EditMessages, MultiLineWithoutAutoVScrollTakesOnlyTheLinesThatShow) {
  HWND e = edit(ES_MULTILINE, "", 200, 40);  // two lines of the font
  SetFocus(e);
  settle();
  for (int i = 0; i < 5; ++i) input::keyPress(VK_RETURN);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 2);
  std::vector<Notification> got = test::notifications();
  EXPECT_EQ(std::count(got.begin(), got.end(), Notification{20, EN_MAXTEXT}), 4);
}

TEST_F(EditMessages, AlignmentPlacesTheText) {
  HWND left = edit(ES_AUTOHSCROLL, "abc", 200, 24);
  HWND centre = edit(ES_AUTOHSCROLL | ES_CENTER, "abc", 200, 24);
  HWND right = edit(ES_AUTOHSCROLL | ES_RIGHT, "abc", 200, 24);
  int l = LOWORD(SendMessageA(left, EM_POSFROMCHAR, 0, 0));
  int c = LOWORD(SendMessageA(centre, EM_POSFROMCHAR, 0, 0));
  int r = LOWORD(SendMessageA(right, EM_POSFROMCHAR, 0, 0));
  int width = LOWORD(SendMessageA(left, EM_POSFROMCHAR, 3, 0)) - l;
  RECT format;
  SendMessageA(right, EM_GETRECT, 0, (LPARAM)&format);
  EXPECT_EQ(r + width, format.right);
  EXPECT_NEAR(c, (l + r) / 2, 1);
}

TEST_F(EditMessages, HorizontalScrollBarScrollsAndNotifies) {
  HWND e = edit(ES_MULTILINE | WS_HSCROLL, "a line far wider than the edit that shows it", 80, 60);
  EXPECT_EQ(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 1);  // a horizontal scroll bar means no wrapping
  int before = (short)LOWORD(SendMessageA(e, EM_POSFROMCHAR, 0, 0));
  test::log().clear();
  SendMessageA(e, WM_HSCROLL, SB_PAGERIGHT, 0);
  EXPECT_EQ(test::notifications(), (std::vector<Notification>{{20, EN_HSCROLL}}));
  EXPECT_LT((short)LOWORD(SendMessageA(e, EM_POSFROMCHAR, 0, 0)), before);
  EXPECT_GT(GetScrollPos(e, SB_HORZ), 0);
}

TEST_F(EditMessages, PositionsAndCharactersRoundTrip) {
  HWND e = edit(ES_MULTILINE | ES_AUTOHSCROLL, "abc\r\ndefgh");
  for (int index : {0, 1, 3, 5, 7, 10}) {
    LRESULT p = SendMessageA(e, EM_POSFROMCHAR, index, 0);
    ASSERT_NE(p, -1);
    LRESULT c = SendMessageA(e, EM_CHARFROMPOS, 0, MAKELPARAM(LOWORD(p) + 1, HIWORD(p) + 2));
    EXPECT_EQ(LOWORD(c), index);
    EXPECT_EQ(HIWORD(c), index >= 5 ? 1 : 0);
  }
  EXPECT_EQ(SendMessageA(e, EM_POSFROMCHAR, 11, 0), -1);
  LRESULT line0 = SendMessageA(e, EM_POSFROMCHAR, 0, 0), line1 = SendMessageA(e, EM_POSFROMCHAR, 5, 0);
  EXPECT_EQ(LOWORD(line0), LOWORD(line1));
  EXPECT_GT(HIWORD(line1), HIWORD(line0));
}

TEST_F(EditMessages, MarginsAndTheFormattingRectangle) {
  HWND e = edit(ES_MULTILINE, "text");
  SendMessageA(e, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(7, 9));
  EXPECT_EQ(SendMessageA(e, EM_GETMARGINS, 0, 0), MAKELRESULT(7, 9));
  RECT client, format;
  GetClientRect(e, &client);
  SendMessageA(e, EM_GETRECT, 0, (LPARAM)&format);
  EXPECT_EQ(format.left, 7);
  EXPECT_EQ(format.right, client.right - 9);
  EXPECT_EQ(LOWORD(SendMessageA(e, EM_POSFROMCHAR, 0, 0)), 7);
  RECT set{20, 5, 150, 80};
  SendMessageA(e, EM_SETRECT, 0, (LPARAM)&set);
  SendMessageA(e, EM_GETRECT, 0, (LPARAM)&format);
  EXPECT_TRUE(EqualRect(&format, &set));
  LRESULT p = SendMessageA(e, EM_POSFROMCHAR, 0, 0);
  EXPECT_EQ(LOWORD(p), 20);
  EXPECT_EQ(HIWORD(p), 5);
}

TEST_F(EditMessages, LocalHandleHoldsTheTextAndSetHandleReplacesIt) {
  HWND e = edit(ES_MULTILINE, "from the control");
  HLOCAL h = (HLOCAL)SendMessageA(e, EM_GETHANDLE, 0, 0);
  ASSERT_NE(h, nullptr);
  EXPECT_STREQ((const char*)LocalLock(h), "from the control");
  LocalUnlock(h);
  SendMessageA(e, EM_SETSEL, 0, 4);
  SendMessageA(e, EM_REPLACESEL, FALSE, (LPARAM)"FROM");
  EXPECT_STREQ((const char*)LocalLock(h), "FROM the control");  // follows the text
  LocalUnlock(h);
  HLOCAL mine = LocalAlloc(LMEM_MOVEABLE, 32);
  strcpy((char*)LocalLock(mine), "from the program");
  LocalUnlock(mine);
  SendMessageA(e, EM_SETHANDLE, (WPARAM)mine, 0);  // the old handle is freed by the control
  char buffer[32] = {};
  GetWindowTextA(e, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "from the program");
  EXPECT_EQ(SendMessageA(e, EM_GETHANDLE, 0, 0), (LRESULT)mine);
}

TEST_F(EditMessages, BadHandlesAndNullPointersLeaveTheTextAlone) {
  HWND e = edit(ES_MULTILINE, "kept");
  EXPECT_EQ(SendMessageA(e, EM_SETHANDLE, (WPARAM)0x12345678, 0), 0);  // no local memory handle
  SendMessageA(e, EM_SETHANDLE, 0, 0);
  EXPECT_EQ(SendMessageA(e, EM_GETSEL, 0, 0), 0);
  for (UINT msg : {EM_GETRECT, EM_REPLACESEL, EM_GETLINE, EM_SETTABSTOPS, WM_GETTEXT}) {
    SendMessageA(e, msg, 1, 0);
  }
  SendMessageA(e, EM_SETRECT, 0, 0);  // null: back to the default rectangle
  char buffer[16] = {};
  GetWindowTextA(e, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "kept");
}

TEST_F(EditMessages, ModifyFlagReadOnlyAndPasswordCharacter) {
  HWND e = edit(ES_AUTOHSCROLL, "abc", 200, 24);
  EXPECT_EQ(SendMessageA(e, EM_GETMODIFY, 0, 0), FALSE);
  SendMessageA(e, EM_REPLACESEL, TRUE, (LPARAM)"x");
  EXPECT_EQ(SendMessageA(e, EM_GETMODIFY, 0, 0), TRUE);
  SendMessageA(e, EM_SETMODIFY, FALSE, 0);
  EXPECT_EQ(SendMessageA(e, EM_GETMODIFY, 0, 0), FALSE);
  EXPECT_EQ(SendMessageA(e, EM_SETREADONLY, TRUE, 0), TRUE);
  EXPECT_EQ(GetWindowLongA(e, GWL_STYLE) & ES_READONLY, ES_READONLY);
  EXPECT_EQ(SendMessageA(e, EM_GETPASSWORDCHAR, 0, 0), 0);
  SendMessageA(e, EM_SETPASSWORDCHAR, '#', 0);
  EXPECT_EQ(SendMessageA(e, EM_GETPASSWORDCHAR, 0, 0), '#');
  EXPECT_EQ(GetWindowLongA(e, GWL_STYLE) & ES_PASSWORD, ES_PASSWORD);
  SendMessageA(e, EM_SETPASSWORDCHAR, 0, 0);
  EXPECT_EQ(GetWindowLongA(e, GWL_STYLE) & ES_PASSWORD, 0);
}

TEST_F(EditMessages, ReadOnlyAndDisabledEditsAskForStaticColours) {
  HWND e = edit(ES_AUTOHSCROLL, "abc", 200, 24);
  auto coloursAsked = [&] {
    test::log().clear();
    InvalidateRect(e, nullptr, TRUE);
    UpdateWindow(e);
    std::vector<UINT> got;
    for (const test::Logged& l : test::log())
      if (l.msg == WM_CTLCOLOREDIT || l.msg == WM_CTLCOLORSTATIC) got.push_back(l.msg);
    return got;
  };
  EXPECT_EQ(coloursAsked(), (std::vector<UINT>{WM_CTLCOLOREDIT}));
  // The brush the parent answers fills the edit.
  HBRUSH cyan = CreateSolidBrush(RGB(0, 255, 255));
  test::answer() = [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_CTLCOLOREDIT) return false;
    r = (LRESULT)cyan;
    return true;
  };
  EXPECT_EQ(coloursAsked().size(), 1u);
  RECT client;
  GetClientRect(e, &client);
  POINT corner{client.right - 2, client.bottom - 2};
  MapWindowPoints(e, nullptr, &corner, 1);
  RECT window;
  GetWindowRect(e, &window);
  EXPECT_EQ(win32::snapshot::windowPixel(e, corner.x - window.left, corner.y - window.top), RGB(0, 255, 255));
  test::answer() = nullptr;
  DeleteObject(cyan);
  SendMessageA(e, EM_SETREADONLY, TRUE, 0);
  EXPECT_EQ(coloursAsked(), (std::vector<UINT>{WM_CTLCOLORSTATIC}));
  SendMessageA(e, EM_SETREADONLY, FALSE, 0);
  EnableWindow(e, FALSE);
  EXPECT_EQ(coloursAsked(), (std::vector<UINT>{WM_CTLCOLORSTATIC}));
}

TEST_F(EditMessages, FontIsKeptAndChangesTheLineHeight) {
  HWND e = edit(ES_MULTILINE, "one\r\ntwo");
  HFONT big = CreateFontA(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  int before = HIWORD(SendMessageA(e, EM_POSFROMCHAR, 5, 0));
  SendMessageA(e, WM_SETFONT, (WPARAM)big, TRUE);
  EXPECT_EQ(SendMessageA(e, WM_GETFONT, 0, 0), (LRESULT)big);
  EXPECT_GT(HIWORD(SendMessageA(e, EM_POSFROMCHAR, 5, 0)), before + 10);
  DestroyWindow(e);
  DeleteObject(big);
}

TEST_F(EditMessages, MultiLineEditsHaveNoPasswordForm) {
  HWND e = edit(ES_MULTILINE | ES_PASSWORD, "abc");
  EXPECT_EQ(SendMessageA(e, EM_SETPASSWORDCHAR, '#', 0), 0);
  EXPECT_EQ(GetWindowLongA(e, GWL_STYLE) & ES_PASSWORD, ES_PASSWORD);  // the style stays, unused
  HWND single = edit(ES_AUTOHSCROLL, "abc", 200, 24);
  SendMessageA(single, EM_SETPASSWORDCHAR, '#', 0);
  // Password characters are all the same width: the positions say so.
  EXPECT_EQ(LOWORD(SendMessageA(single, EM_POSFROMCHAR, 2, 0)) - LOWORD(SendMessageA(single, EM_POSFROMCHAR, 1, 0)),
            LOWORD(SendMessageA(single, EM_POSFROMCHAR, 1, 0)) - LOWORD(SendMessageA(single, EM_POSFROMCHAR, 0, 0)));
}

TEST_F(EditMessages, SetTextNotifiesSingleLineOnlyWithChange) {
  HWND single = edit(ES_AUTOHSCROLL, "", 200, 24);
  HWND multi = child("Edit", "", ES_MULTILINE, 21, 10, 40, 200, 60);
  settle();
  SetWindowTextA(single, "a");
  SetWindowTextA(multi, "b");
  EXPECT_EQ(test::notifications(), (std::vector<Notification>{{20, EN_UPDATE}, {20, EN_CHANGE}, {21, EN_UPDATE}}));
}

TEST_F(EditMessages, SnapshotOfEditsNormalFocusedAndDisabled) {
  SetWindowPos(frame, nullptr, 0, 0, 460, 260, SWP_NOMOVE | SWP_NOZORDER);
  HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
  struct Kind {
    const char* text;
    DWORD style;
    int height;
  } kinds[] = {
      {"Single line", ES_AUTOHSCROLL, 22},
      {"secret", ES_AUTOHSCROLL | ES_PASSWORD, 22},
      {"Read only", ES_AUTOHSCROLL | ES_READONLY, 22},
      {"Right", ES_AUTOHSCROLL | ES_RIGHT, 22},
      {"Multi-line text\r\nthat wraps at the right edge of the control", ES_MULTILINE | WS_VSCROLL, 60},
  };
  const char* columns[] = {"normal", "focused", "disabled"};
  HWND focused = nullptr;
  for (int col = 0; col < 3; ++col) {
    HWND title = child("Static", columns[col], SS_LEFT, 90 + col, 10 + col * 148, 4, 140, 16);
    SendMessageA(title, WM_SETFONT, (WPARAM)font, FALSE);
    int y = 22;
    for (int row = 0; row < 5; ++row) {
      HWND e = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", kinds[row].text,
                               WS_CHILD | WS_VISIBLE | kinds[row].style | (col == 2 ? WS_DISABLED : 0), 10 + col * 148,
                               y, 140, kinds[row].height, frame, (HMENU)(INT_PTR)(100 + col * 10 + row), nullptr,
                               nullptr);
      SendMessageA(e, WM_SETFONT, (WPARAM)font, FALSE);
      if (col == 1) SendMessageA(e, EM_SETSEL, 0, 4);
      if (col == 1 && row == 0) focused = e;
      y += kinds[row].height + 6;
    }
  }
  // Selections show in the focused edit and in ES_NOHIDESEL ones only.
  SetFocus(focused);
  const std::string path = test::snapshotPath("edit_kinds.png");
  ASSERT_TRUE(win32::snapshot::saveWindowPng(frame, path.c_str()));
  // The top row of the line box, above the glyphs: the selection's colour where selected.
  EXPECT_EQ(win32::snapshot::windowPixel(focused, 4, 2), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(win32::snapshot::windowPixel(focused, 60, 2), GetSysColor(COLOR_WINDOW));
}

}  // namespace
