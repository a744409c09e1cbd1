// The "msctls_statusbar32" control: placement at the parent's bottom,
// parts and their rectangles, texts with their types, owner drawing,
// simple mode and the size grip.
#include "comctl_fixture.h"

#include <string>
#include <vector>

namespace {

class StatusBar : public test::CommonControlTest {
 protected:
  HWND make(DWORD style = 0, const char* text = "Ready") {
    HWND sb = CreateStatusWindowA((LONG)(WS_CHILD | WS_VISIBLE | style), text, frame, 7);
    settle();
    return sb;
  }
  RECT placed(HWND sb) {
    RECT wr{};
    GetWindowRect(sb, &wr);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&wr), 2);
    return wr;
  }
  std::string text(HWND sb, int part) {
    LRESULT len = SendMessageA(sb, SB_GETTEXTLENGTHA, (WPARAM)part, 0);
    std::string s((size_t)LOWORD(len) + 1, '\0');
    SendMessageA(sb, SB_GETTEXTA, (WPARAM)part, reinterpret_cast<LPARAM>(s.data()));
    s.resize(LOWORD(len));
    return s;
  }
};

TEST_F(StatusBar, SitsAtTheParentsBottomAndFollowsItsSize) {
  HWND sb = make();
  ASSERT_NE(sb, nullptr);
  RECT client{};
  GetClientRect(frame, &client);
  RECT r = placed(sb);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, client.right);
  EXPECT_EQ(r.bottom, client.bottom);
  EXPECT_GT(r.bottom - r.top, 10);
  int height = r.bottom - r.top;
  SetWindowPos(frame, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
  GetClientRect(frame, &client);
  SendMessageA(sb, WM_SIZE, 0, 0);  // what a parent does on its own WM_SIZE
  r = placed(sb);
  EXPECT_EQ(r.right, client.right);
  EXPECT_EQ(r.bottom, client.bottom);
  EXPECT_EQ(r.bottom - r.top, height);
  // SB_SETMINHEIGHT makes it taller at the next placement.
  SendMessageA(sb, SB_SETMINHEIGHT, 40, 0);
  SendMessageA(sb, WM_SIZE, 0, 0);
  r = placed(sb);
  EXPECT_EQ(r.bottom - r.top, 40 + 2 * 2 + 2);
}

TEST_F(StatusBar, PartsAndTheirRectangles) {
  HWND sb = make();
  EXPECT_EQ(SendMessageA(sb, SB_GETPARTS, 0, 0), 1);
  const int edges[] = {100, 200, -1};
  EXPECT_TRUE(SendMessageA(sb, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges)));
  int got[4] = {};
  EXPECT_EQ(SendMessageA(sb, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(got)), 3);
  EXPECT_EQ(std::vector<int>(got, got + 3), std::vector<int>(edges, edges + 3));
  int borders[3] = {};
  ASSERT_TRUE(SendMessageA(sb, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders)));
  RECT client{};
  GetClientRect(sb, &client);
  struct Case {
    int part;
    int left, right;
  } cases[] = {{0, borders[0], 100}, {1, 100 + borders[2], 200}, {2, 200 + borders[2], client.right - borders[0]}};
  for (const Case& c : cases) {
    RECT r{};
    ASSERT_TRUE(SendMessageA(sb, SB_GETRECT, (WPARAM)c.part, reinterpret_cast<LPARAM>(&r)));
    EXPECT_EQ(r.left, c.left) << c.part;
    EXPECT_EQ(r.right, c.right) << c.part;
    EXPECT_EQ(r.top, borders[1]) << c.part;
  }
  RECT r{};
  EXPECT_FALSE(SendMessageA(sb, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&r)));
  EXPECT_FALSE(SendMessageA(sb, SB_SETPARTS, 0, reinterpret_cast<LPARAM>(edges)));
  EXPECT_FALSE(SendMessageA(sb, SB_SETPARTS, 300, reinterpret_cast<LPARAM>(edges)));
  EXPECT_FALSE(SendMessageA(sb, SB_SETPARTS, 2, 0));
}

TEST_F(StatusBar, TextsKeepTheirTypes) {
  HWND sb = make();
  EXPECT_EQ(text(sb, 0), "Ready");  // the window text is the first part's
  const int edges[] = {100, -1};
  SendMessageA(sb, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  struct Case {
    int part;
    WORD type;
    const char* text;
  } cases[] = {{0, 0, "Left"}, {1, SBT_POPOUT, "Raised"}, {1, SBT_NOBORDERS, "Plain\tcentre\tright"}};
  for (const Case& c : cases) {
    EXPECT_TRUE(SendMessageA(sb, SB_SETTEXTA, (WPARAM)(c.part | c.type), reinterpret_cast<LPARAM>(c.text)));
    LRESULT len = SendMessageA(sb, SB_GETTEXTLENGTHA, (WPARAM)c.part, 0);
    EXPECT_EQ(LOWORD(len), strlen(c.text));
    EXPECT_EQ(HIWORD(len), c.type);
    EXPECT_EQ(text(sb, c.part), c.text);
  }
  EXPECT_FALSE(SendMessageA(sb, SB_SETTEXTA, 5, reinterpret_cast<LPARAM>("nowhere")));
  SetWindowTextA(sb, "Through WM_SETTEXT");
  EXPECT_EQ(text(sb, 0), "Through WM_SETTEXT");
}

TEST_F(StatusBar, OwnerDrawnPartsAreDrawnByTheParent) {
  HWND sb = make();
  EXPECT_TRUE(SendMessageA(sb, SB_SETTEXTA, 0 | SBT_OWNERDRAW, 0x1234));
  EXPECT_EQ(SendMessageA(sb, SB_GETTEXTA, 0, 0), 0x1234);
  test::log().clear();
  UpdateWindow(sb);
  RedrawWindow(sb, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  bool drew = false;
  for (const test::Logged& l : test::log())
    if (l.msg == WM_DRAWITEM && l.wParam == 7) drew = true;
  EXPECT_TRUE(drew);
}

TEST_F(StatusBar, SimpleModeShowsItsOwnTextAndTellsTheParent) {
  HWND sb = make();
  SendMessageA(sb, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>("Menu help"));
  EXPECT_FALSE(SendMessageA(sb, SB_ISSIMPLE, 0, 0));
  SendMessageA(sb, SB_SIMPLE, TRUE, 0);
  EXPECT_TRUE(SendMessageA(sb, SB_ISSIMPLE, 0, 0));
  char buffer[32] = {};
  GetWindowTextA(sb, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "Menu help");
  SendMessageA(sb, SB_SIMPLE, FALSE, 0);
  GetWindowTextA(sb, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "Ready");
  EXPECT_EQ(test::notified(), (std::vector<test::Notified>{{7, (UINT)SBN_SIMPLEMODECHANGE},
                                                           {7, (UINT)SBN_SIMPLEMODECHANGE}}));
}

TEST_F(StatusBar, SizeGripSizesTheParent) {
  HWND sb = make(SBARS_SIZEGRIP);
  RECT wr{};
  GetWindowRect(sb, &wr);
  EXPECT_EQ(SendMessageA(sb, WM_NCHITTEST, 0, MAKELPARAM(wr.right - 2, wr.bottom - 2)), HTBOTTOMRIGHT);
  EXPECT_EQ(SendMessageA(sb, WM_NCHITTEST, 0, MAKELPARAM(wr.left + 5, wr.bottom - 2)), HTCLIENT);
}

}  // namespace
