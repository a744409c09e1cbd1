// The "Edit" control with double-byte text (code page 932): the caret, the
// selection, deletion and the limit keep lead and trail bytes together. The
// ANSI code page comes from KY_ACP, read once per process.
#include "control_fixture.h"

#include <internal/snapshot.h>

#include <cstdlib>
#include <string>

namespace input = win32::input;

namespace {

const bool kAcpSet = [] { return ::setenv("KY_ACP", "932", 1) == 0; }();

// 'a', 日 (93 FA), 表 (95 5C: its trail byte is a backslash), 'b'
const char kText[] = "a\x93\xfa\x95\x5c" "b";

class EditDbcs : public test::ControlTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kAcpSet);
    ASSERT_EQ(GetACP(), 932u);
    ControlTest::SetUp();
    e = child("Edit", kText, WS_BORDER | ES_AUTOHSCROLL, 20, 10, 10, 200, 24);
    SetFocus(e);
    settle();
  }
  std::string text() {
    char buffer[64] = {};
    GetWindowTextA(e, buffer, sizeof buffer);
    return buffer;
  }
  DWORD caret() {
    DWORD start = 0, end = 0;
    SendMessageA(e, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    return end;
  }
  HWND e = nullptr;
};

TEST_F(EditDbcs, ArrowsStepOverWholeCharacters) {
  std::vector<DWORD> steps;
  SendMessageA(e, EM_SETSEL, 0, 0);
  for (int i = 0; i < 4; ++i) {
    input::keyPress(VK_RIGHT);
    input::pumpMessages();
    steps.push_back(caret());
  }
  EXPECT_EQ(steps, (std::vector<DWORD>{1, 3, 5, 6}));
  steps.clear();
  for (int i = 0; i < 4; ++i) {
    input::keyPress(VK_LEFT);
    input::pumpMessages();
    steps.push_back(caret());
  }
  EXPECT_EQ(steps, (std::vector<DWORD>{5, 3, 1, 0}));
}

TEST_F(EditDbcs, SelectionInsideACharacterMovesToItsStart) {
  SendMessageA(e, EM_SETSEL, 2, 4);
  DWORD start = 0, end = 0;
  SendMessageA(e, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 3u);
}

TEST_F(EditDbcs, BackspaceAndDeleteRemoveBothBytes) {
  SendMessageA(e, EM_SETSEL, 5, 5);
  input::keyPress(VK_BACK);  // 表, whose trail byte is a backslash
  input::pumpMessages();
  EXPECT_EQ(text(), "a\x93\xfa" "b");
  SendMessageA(e, EM_SETSEL, 1, 1);
  input::keyPress(VK_DELETE);
  input::pumpMessages();
  EXPECT_EQ(text(), "ab");
}

TEST_F(EditDbcs, TypedCharacterInTwoMessagesOrOneIsInsertedWhole) {
  SendMessageA(e, EM_SETSEL, 6, 6);
  SendMessageA(e, WM_CHAR, 0x93, 0);  // lead byte: held back until its trail
  EXPECT_EQ(text(), kText);
  SendMessageA(e, WM_CHAR, 0xFA, 0);
  SendMessageA(e, WM_CHAR, 0x955C, 0);  // both bytes at once
  EXPECT_EQ(text(), std::string(kText) + "\x93\xfa\x95\x5c");
  EXPECT_EQ(caret(), 10u);
}

TEST_F(EditDbcs, LimitNeverSplitsACharacter) {
  SetWindowTextA(e, "ab");
  SendMessageA(e, EM_LIMITTEXT, 3, 0);
  SendMessageA(e, EM_SETSEL, 2, 2);
  SendMessageA(e, EM_REPLACESEL, TRUE, (LPARAM)"\x93\xfa");
  EXPECT_EQ(text(), "ab");  // one byte of room: the character does not fit
}

TEST_F(EditDbcs, WordMovesAndDoubleClickKeepCharactersWhole) {
  SetWindowTextA(e, "\x93\xfa\x96\x7b \x8c\xea");  // 日本 語
  SendMessageA(e, EM_SETSEL, 0, 0);
  input::chord(VK_RIGHT, false, true);
  input::pumpMessages();
  EXPECT_EQ(caret(), 5u);
  input::chord(VK_RIGHT, true, true);
  input::pumpMessages();
  DWORD start = 0, end = 0;
  SendMessageA(e, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  EXPECT_EQ(start, 5u);
  EXPECT_EQ(end, 7u);
}

// The highlight of a selected double-byte character lies on the character's
// edges as the GDI measures the text before it and through it.
TEST_F(EditDbcs, SelectionHighlightLandsOnCharacterEdges) {
  HFONT font = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  SendMessageA(e, WM_SETFONT, (WPARAM)font, TRUE);
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, font);
  struct Case {
    DWORD from, to;  // the selection: 日, 表, then both
  } cases[] = {{1, 3}, {3, 5}, {1, 5}};
  for (const Case& c : cases) {
    SendMessageA(e, EM_SETSEL, c.from, c.to);
    LRESULT origin = SendMessageA(e, EM_POSFROMCHAR, 0, 0);  // where the line starts, client coordinates
    SIZE before{}, through{};
    GetTextExtentPoint32A(dc, kText, (int)c.from, &before);
    GetTextExtentPoint32A(dc, kText, (int)c.to, &through);
    POINT p{(short)LOWORD(origin), (short)HIWORD(origin)};  // the line's top row: above the glyphs
    RECT window{};
    GetWindowRect(e, &window);
    ClientToScreen(e, &p);
    const int row = p.y - window.top, left = p.x - window.left;
    std::vector<int> highlighted;
    for (int x = 0; x < window.right - window.left; ++x)
      if (win32::snapshot::windowPixel(e, x, row) == GetSysColor(COLOR_HIGHLIGHT)) highlighted.push_back(x - left);
    ASSERT_FALSE(highlighted.empty()) << c.from << ".." << c.to;
    EXPECT_EQ(highlighted.front(), before.cx) << c.from << ".." << c.to;
    EXPECT_EQ(highlighted.back() + 1, through.cx) << c.from << ".." << c.to;
    EXPECT_EQ(LOWORD(SendMessageA(e, EM_POSFROMCHAR, c.to, 0)) - LOWORD(origin), through.cx);
  }
  DeleteDC(dc);
  SendMessageA(e, WM_SETFONT, 0, FALSE);
  DeleteObject(font);
}

}  // namespace
