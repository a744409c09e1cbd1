// The "Edit" control driven by synthetic keys and mouse: typing and the
// notifications it sends, selecting, the clipboard, undo and the limit.
#include "control_fixture.h"

#include <string>
#include <vector>

namespace input = win32::input;
using test::Notification;

namespace {

class EditInput : public test::ControlTest {
 protected:
  HWND edit(DWORD style, const char* text = "", int id = 20, int width = 200) {
    HWND e = child("Edit", text, WS_BORDER | style, id, 10, 10, width, style & ES_MULTILINE ? 100 : 24);
    SendMessageA(e, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
    SetFocus(e);
    settle();
    return e;
  }
  static std::string textOf(HWND e) {
    char buffer[512] = {};
    GetWindowTextA(e, buffer, sizeof buffer);
    return buffer;
  }
  static std::pair<DWORD, DWORD> selection(HWND e) {
    DWORD start = 0, end = 0;
    SendMessageA(e, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    return {start, end};
  }
  static POINT at(HWND e, int index) {
    LRESULT p = SendMessageA(e, EM_POSFROMCHAR, index, 0);
    return POINT{(short)LOWORD(p), (short)HIWORD(p) + 3};
  }
};

TEST_F(EditInput, TypingSendsUpdateThenChangeForEachCharacter) {
  HWND e = child("Edit", "", WS_BORDER | ES_AUTOHSCROLL, 20, 10, 10, 200, 24);
  settle();
  SetFocus(e);
  EXPECT_EQ(test::notifications(), (std::vector<Notification>{{20, EN_SETFOCUS}}));
  test::log().clear();
  input::typeText("Hi");
  input::pumpMessages();
  EXPECT_EQ(test::notifications(),
            (std::vector<Notification>{{20, EN_UPDATE}, {20, EN_CHANGE}, {20, EN_UPDATE}, {20, EN_CHANGE}}));
  EXPECT_EQ(textOf(e), "Hi");
  EXPECT_EQ(selection(e), (std::pair<DWORD, DWORD>{2, 2}));
  EXPECT_EQ(SendMessageA(e, EM_GETMODIFY, 0, 0), TRUE);
  test::log().clear();
  SetFocus(frame);
  EXPECT_EQ(test::notifications(), (std::vector<Notification>{{20, EN_KILLFOCUS}}));
}

TEST_F(EditInput, ChangeIsReportedAfterTheEditPaintedAndUpdateBefore) {
  HWND e = edit(ES_AUTOHSCROLL);
  input::typeText("x");
  input::pumpMessages();
  std::vector<std::string> got;
  for (const test::Logged& l : test::log()) {
    if (l.msg == WM_CTLCOLOREDIT) got.push_back("paint");
    if (l.msg == WM_COMMAND && HIWORD(l.wParam) == EN_UPDATE) got.push_back("update");
    if (l.msg == WM_COMMAND && HIWORD(l.wParam) == EN_CHANGE) got.push_back("change");
  }
  EXPECT_EQ(got, (std::vector<std::string>{"update", "paint", "change"}));
}

TEST_F(EditInput, CaretFollowsTheInsertionPoint) {
  HWND e = edit(ES_MULTILINE | ES_AUTOVSCROLL);
  input::typeText("ab");
  input::keyPress(VK_RETURN);
  input::typeText("c");
  input::pumpMessages();
  POINT caret{};
  ASSERT_TRUE(GetCaretPos(&caret));
  LRESULT expected = SendMessageA(e, EM_POSFROMCHAR, 5, 0);
  EXPECT_EQ(caret.x, (short)LOWORD(expected));
  EXPECT_EQ(caret.y, (short)HIWORD(expected));
  input::keyPress(VK_HOME);
  input::pumpMessages();
  GetCaretPos(&caret);
  EXPECT_EQ(caret.x, (short)LOWORD(SendMessageA(e, EM_POSFROMCHAR, 4, 0)));
  // Focus leaves: the caret goes with it.
  SetFocus(frame);
  EXPECT_FALSE(GetCaretPos(&caret) && caret.x > 0);
}

TEST_F(EditInput, ShiftArrowsHomeEndAndWordMovesSelect) {
  HWND e = edit(ES_AUTOHSCROLL);
  input::typeText("hello big world");
  input::keyPress(VK_HOME);
  input::chord(VK_RIGHT, true, false);
  input::chord(VK_RIGHT, true, false);
  input::pumpMessages();
  EXPECT_EQ(selection(e), (std::pair<DWORD, DWORD>{0, 2}));
  input::keyPress(VK_RIGHT);  // collapses and moves from the caret
  input::chord(VK_RIGHT, false, true);
  input::pumpMessages();
  EXPECT_EQ(selection(e), (std::pair<DWORD, DWORD>{6, 6}));
  input::chord(VK_RIGHT, true, true);
  input::pumpMessages();
  EXPECT_EQ(selection(e), (std::pair<DWORD, DWORD>{6, 10}));
  input::chord(VK_END, true, false);
  input::pumpMessages();
  EXPECT_EQ(selection(e), (std::pair<DWORD, DWORD>{6, 15}));
  input::chord(VK_LEFT, false, true);
  input::chord(VK_HOME, true, false);
  input::pumpMessages();
  DWORD start = 0, end = 0;
  SendMessageA(e, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 10u);  // the anchor stayed at the word start
  input::typeText("X");
  input::pumpMessages();
  EXPECT_EQ(textOf(e), "Xworld");
}

TEST_F(EditInput, MouseDragSelectsAndDoubleClickSelectsAWord) {
  HWND e = edit(ES_AUTOHSCROLL, "alpha beta gamma");
  POINT from = at(e, 1), to = at(e, 8);
  input::drag(e, from.x, from.y, to.x, to.y);
  input::pumpMessages();
  EXPECT_EQ(selection(e), (std::pair<DWORD, DWORD>{1, 8}));
  EXPECT_EQ(GetCapture(), nullptr);
  POINT word = at(e, 7);
  input::doubleClick(e, word.x + 1, word.y);
  input::pumpMessages();
  EXPECT_EQ(selection(e), (std::pair<DWORD, DWORD>{6, 11}));  // "beta " with its trailing space
  // Shift+click extends from the anchor.
  POINT end = at(e, 16);
  SendMessageA(e, EM_SETSEL, 2, 2);
  input::keyDown(VK_SHIFT);
  input::click(e, end.x, end.y);
  input::keyUp(VK_SHIFT);
  input::pumpMessages();
  EXPECT_EQ(selection(e), (std::pair<DWORD, DWORD>{2, 16}));
}

TEST_F(EditInput, ClipboardRoundTripWithControlKeys) {
  HWND e = edit(ES_AUTOHSCROLL, "copy me");
  SendMessageA(e, EM_SETSEL, 0, 4);
  input::chord('C', false, true);
  input::keyPress(VK_END);
  input::chord('V', false, true);
  input::pumpMessages();
  EXPECT_EQ(textOf(e), "copy mecopy");
  SendMessageA(e, EM_SETSEL, 0, 5);
  input::chord('X', false, true);
  input::pumpMessages();
  EXPECT_EQ(textOf(e), "mecopy");
  ASSERT_TRUE(OpenClipboard(frame));
  auto* bytes = (const char*)GlobalLock(GetClipboardData(CF_TEXT));
  ASSERT_NE(bytes, nullptr);
  EXPECT_STREQ(bytes, "copy ");
  GlobalUnlock(GetClipboardData(CF_TEXT));
  CloseClipboard();
  // A single-line edit pastes the first line only.
  ASSERT_TRUE(OpenClipboard(frame));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 16);
  memcpy(GlobalLock(memory), "one\r\ntwo", 9);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
  SendMessageA(e, WM_SETTEXT, 0, (LPARAM)"");
  SendMessageA(e, WM_PASTE, 0, 0);
  EXPECT_EQ(textOf(e), "one");
}

TEST_F(EditInput, PasswordAndReadOnlyEditsKeepTheClipboardAndTextSafe) {
  HWND secret = edit(ES_AUTOHSCROLL | ES_PASSWORD, "hidden", 21);
  HWND fixed = edit(ES_AUTOHSCROLL | ES_READONLY, "fixed", 22);
  ASSERT_TRUE(OpenClipboard(frame));
  EmptyClipboard();
  CloseClipboard();
  SendMessageA(secret, EM_SETSEL, 0, -1);
  SendMessageA(secret, WM_COPY, 0, 0);
  SendMessageA(secret, WM_CUT, 0, 0);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(textOf(secret), "hidden");
  EXPECT_EQ(SendMessageA(secret, EM_GETPASSWORDCHAR, 0, 0), '*');
  SetFocus(fixed);
  input::typeText("zz");
  input::keyPress(VK_BACK);
  input::pumpMessages();
  SendMessageA(fixed, EM_SETSEL, 0, -1);
  SendMessageA(fixed, WM_CLEAR, 0, 0);
  EXPECT_EQ(textOf(fixed), "fixed");
  SendMessageA(fixed, EM_SETREADONLY, FALSE, 0);
  SendMessageA(fixed, WM_CLEAR, 0, 0);
  EXPECT_EQ(textOf(fixed), "");
}

TEST_F(EditInput, UndoTakesBackTheTypingRunAndRedoesOnSecondUndo) {
  HWND e = edit(ES_AUTOHSCROLL, "base");
  EXPECT_EQ(SendMessageA(e, EM_CANUNDO, 0, 0), FALSE);  // WM_SETTEXT leaves nothing to undo
  SendMessageA(e, EM_SETSEL, 4, 4);
  input::typeText(" text");
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(e, EM_CANUNDO, 0, 0), TRUE);
  input::chord('Z', false, true);
  input::pumpMessages();
  EXPECT_EQ(textOf(e), "base");
  SendMessageA(e, EM_UNDO, 0, 0);
  EXPECT_EQ(textOf(e), "base text");
  SendMessageA(e, EM_EMPTYUNDOBUFFER, 0, 0);
  EXPECT_EQ(SendMessageA(e, EM_CANUNDO, 0, 0), FALSE);
  EXPECT_EQ(SendMessageA(e, EM_UNDO, 0, 0), FALSE);
  EXPECT_EQ(textOf(e), "base text");
}

TEST_F(EditInput, TypingElsewhereStartsANewUndoStep) {
  HWND e = edit(ES_AUTOHSCROLL);
  input::typeText("ab");
  input::keyPress(VK_HOME);
  input::typeText("X");
  input::pumpMessages();
  EXPECT_EQ(textOf(e), "Xab");
  SendMessageA(e, EM_UNDO, 0, 0);
  EXPECT_EQ(textOf(e), "ab");
}

TEST_F(EditInput, LimitCutsInputAndReportsMaxText) {
  HWND e = edit(ES_AUTOHSCROLL);
  SendMessageA(e, EM_LIMITTEXT, 5, 0);
  EXPECT_EQ(SendMessageA(e, EM_GETLIMITTEXT, 0, 0), 5);
  input::typeText("abcdefg");
  input::pumpMessages();
  EXPECT_EQ(textOf(e), "abcde");
  std::vector<Notification> got = test::notifications();
  EXPECT_EQ(std::count(got.begin(), got.end(), Notification{20, EN_MAXTEXT}), 2);
  EXPECT_EQ(std::count(got.begin(), got.end(), Notification{20, EN_CHANGE}), 5);
  test::log().clear();
  SendMessageA(e, EM_SETSEL, 1, 2);
  SendMessageA(e, EM_REPLACESEL, TRUE, (LPARAM)"XYZ");
  EXPECT_EQ(textOf(e), "aXcde");
  EXPECT_EQ(test::notifications(),
            (std::vector<Notification>{{20, EN_UPDATE}, {20, EN_CHANGE}, {20, EN_MAXTEXT}}));
  // WM_SETTEXT is not limited.
  SetWindowTextA(e, "longer than five");
  EXPECT_EQ(textOf(e), "longer than five");
  SendMessageA(e, EM_LIMITTEXT, 0, 0);
  EXPECT_EQ(SendMessageA(e, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

TEST_F(EditInput, StylesFilterTypedCharacters) {
  struct Case {
    DWORD style;
    const char* typed;
    const char* text;
  } cases[] = {
      {ES_NUMBER, "a1b2", "12"},
      {ES_UPPERCASE, "MiXed", "MIXED"},
      {ES_LOWERCASE, "MiXed", "mixed"},
      {ES_READONLY, "abc", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    HWND e = edit(ES_AUTOHSCROLL | c.style);
    input::typeText(c.typed);
    input::pumpMessages();
    EXPECT_EQ(textOf(e), c.text);
    DestroyWindow(e);
  }
}

TEST_F(EditInput, SingleLineWithoutAutoScrollTakesOnlyWhatShows) {
  HWND e = edit(0, "", 20, 60);
  input::typeText("wwwwwwwwwwwwwwwwwwww");
  input::pumpMessages();
  std::string text = textOf(e);
  EXPECT_GT(text.size(), 2u);
  EXPECT_LT(text.size(), 20u);
  std::vector<Notification> got = test::notifications();
  EXPECT_EQ(got.back(), (Notification{20, EN_MAXTEXT}));
}

TEST_F(EditInput, MultiLineEnterAndTabAreText) {
  HWND e = edit(ES_MULTILINE | ES_AUTOVSCROLL);
  input::typeText("one");
  input::keyPress(VK_RETURN);
  input::typeText("two");
  input::keyPress(VK_TAB);
  input::pumpMessages();
  EXPECT_EQ(textOf(e), "one\r\ntwo\t");
  EXPECT_EQ(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 2);
  input::keyPress(VK_UP);
  input::keyPress(VK_HOME);
  input::chord(VK_DOWN, true, false);
  input::pumpMessages();
  EXPECT_EQ(selection(e), (std::pair<DWORD, DWORD>{0, 5}));
  input::keyPress(VK_BACK);  // the selection goes
  input::keyPress(VK_BACK);  // nothing before the start
  input::pumpMessages();
  EXPECT_EQ(textOf(e), "two\t");
  SendMessageA(e, EM_SETSEL, 0, 0);
  input::keyPress(VK_DELETE);
  input::pumpMessages();
  EXPECT_EQ(textOf(e), "wo\t");
}

TEST_F(EditInput, MultiLineInADialogLeavesEnterTabAndEscToTheDialog) {
  HWND e = edit(ES_MULTILINE | ES_AUTOVSCROLL);
  MSG m{e, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
  EXPECT_EQ(SendMessageA(e, WM_GETDLGCODE, VK_RETURN, (LPARAM)&m),
            DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS);
  test::log().clear();
  input::keyPress(VK_RETURN);
  input::keyPress(VK_TAB);
  input::pumpMessages();
  EXPECT_EQ(textOf(e), "");
  std::vector<Notification> got = test::notifications();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0], (Notification{IDOK, BN_CLICKED}));
  bool nextControl = false;
  for (const test::Logged& l : test::log()) nextControl |= l.msg == WM_NEXTDLGCTL;
  EXPECT_TRUE(nextControl);
}

TEST_F(EditInput, DialogCodesOfSingleAndMultiLineEdits) {
  HWND single = edit(ES_AUTOHSCROLL, "", 21);
  HWND multi = edit(ES_MULTILINE, "", 22);
  EXPECT_EQ(SendMessageA(single, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
  EXPECT_EQ(SendMessageA(multi, WM_GETDLGCODE, 0, 0),
            DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS);
}

}  // namespace
