// The "ToolbarWindow32" control: buttons from a bitmap strip of the
// program, layout, clicks with WM_COMMAND, check and check-group buttons,
// state messages, placement, and the tool tips it owns.
#include "comctl_fixture.h"

#include <vector>

namespace input = win32::input;
using test::Event;

namespace {

constexpr int kStripId = 100;  // four images: red, green, blue, black squares

TBBUTTON button(int image, int id, BYTE style, BYTE state = TBSTATE_ENABLED) {
  TBBUTTON b{};
  b.iBitmap = image;
  b.idCommand = id;
  b.fsState = state;
  b.fsStyle = style;
  return b;
}

class Toolbar : public test::CommonControlTest {
 protected:
  // Red plain button 10, a separator, green check 11, a separator, blue and
  // black check-group buttons 12 and 13.
  HWND make(DWORD style = 0) {
    const TBBUTTON buttons[] = {button(0, 10, TBSTYLE_BUTTON), button(0, 0, TBSTYLE_SEP),
                                button(1, 11, TBSTYLE_CHECK),  button(0, 0, TBSTYLE_SEP),
                                button(2, 12, TBSTYLE_CHECKGROUP), button(3, 13, TBSTYLE_CHECKGROUP)};
    HWND tb = CreateToolbarEx(frame, WS_VISIBLE | style, 1, 4, GetModuleHandleA(nullptr), kStripId, buttons, 6, 0, 0,
                              16, 15, sizeof(TBBUTTON));
    settle();
    return tb;
  }
  static POINT centre(HWND tb, int index) {
    RECT r{};
    SendMessageA(tb, TB_GETITEMRECT, (WPARAM)index, reinterpret_cast<LPARAM>(&r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  static void clickButton(HWND tb, int index) {
    POINT c = centre(tb, index);
    input::click(tb, c.x, c.y);
    input::pumpMessages();
  }
};

TEST_F(Toolbar, LaysOutButtonsAndSeparatorsFromTheLeft) {
  HWND tb = make();
  ASSERT_NE(tb, nullptr);
  EXPECT_EQ(SendMessageA(tb, TB_BUTTONCOUNT, 0, 0), 6);
  struct Case {
    int index;
    RECT rect;
  } cases[] = {{0, {0, 2, 24, 24}}, {1, {24, 2, 32, 24}}, {2, {32, 2, 56, 24}},
               {4, {64, 2, 88, 24}}, {5, {88, 2, 112, 24}}};
  for (const Case& c : cases) {
    RECT r{};
    ASSERT_TRUE(SendMessageA(tb, TB_GETITEMRECT, (WPARAM)c.index, reinterpret_cast<LPARAM>(&r))) << c.index;
    EXPECT_TRUE(EqualRect(&r, &c.rect)) << c.index << ": " << r.left << "," << r.top << "," << r.right << ","
                                        << r.bottom;
  }
  RECT none{};
  EXPECT_FALSE(SendMessageA(tb, TB_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&none)));
  EXPECT_EQ(SendMessageA(tb, TB_COMMANDTOINDEX, 12, 0), 4);
  EXPECT_EQ(SendMessageA(tb, TB_COMMANDTOINDEX, 99, 0), -1);
  // Placed along the top of the parent's client area, as wide as it.
  RECT client{}, wr{};
  GetClientRect(frame, &client);
  GetWindowRect(tb, &wr);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&wr), 2);
  EXPECT_EQ(wr.top, 0);
  EXPECT_EQ(wr.right - wr.left, client.right);
  EXPECT_EQ(wr.bottom - wr.top, 26);
}

TEST_F(Toolbar, DrawsTheStripImagesWithTheClassicGreyMappedToTheButtonFace) {
  HWND tb = make();
  POINT c = centre(tb, 0);
  RECT wr{}, fr{};
  GetWindowRect(tb, &wr);
  GetWindowRect(frame, &fr);
  int dx = wr.left - fr.left, dy = wr.top - fr.top;
  EXPECT_EQ(win32::snapshot::windowPixel(frame, dx + c.x, dy + c.y), RGB(255, 0, 0));
  c = centre(tb, 2);
  EXPECT_EQ(win32::snapshot::windowPixel(frame, dx + c.x, dy + c.y), RGB(0, 128, 0));
  // The image's corner: light grey in the file, the button face on screen.
  RECT r{};
  SendMessageA(tb, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  int imageLeft = r.left + (24 - 16) / 2, imageTop = r.top + (22 - 15) / 2;
  EXPECT_EQ(win32::snapshot::windowPixel(frame, dx + imageLeft + 1, dy + imageTop + 1), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Toolbar, ClickSendsBeginDragEndDragThenCommand) {
  HWND tb = make();
  clickButton(tb, 0);
  EXPECT_EQ(test::events(), (std::vector<Event>{{WM_NOTIFY, 1, (int)TBN_BEGINDRAG},
                                                {WM_NOTIFY, 1, (int)TBN_ENDDRAG},
                                                {WM_COMMAND, 10, BN_CLICKED}}));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(SendMessageA(tb, TB_GETSTATE, 10, 0), TBSTATE_ENABLED);
}

TEST_F(Toolbar, ReleaseAwayFromTheButtonDoesNotCommand) {
  HWND tb = make();
  POINT c = centre(tb, 0);
  input::mouseDown(tb, c.x, c.y);
  input::pumpMessages();
  EXPECT_TRUE(SendMessageA(tb, TB_ISBUTTONPRESSED, 10, 0));
  input::mouseMove(tb, 200, c.y);
  input::pumpMessages();
  EXPECT_FALSE(SendMessageA(tb, TB_ISBUTTONPRESSED, 10, 0));
  input::mouseUp(tb, 200, c.y);
  input::pumpMessages();
  for (const Event& e : test::events()) EXPECT_NE(e.msg, (UINT)WM_COMMAND);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Toolbar, CheckButtonsToggleAndCheckGroupsKeepOneChecked) {
  HWND tb = make();
  struct Step {
    int clickIndex;
    bool checked11, checked12, checked13;
  } steps[] = {
      {2, true, false, false},  {2, false, false, false}, {4, false, true, false},
      {5, false, false, true},  {5, false, false, true},  // clicking the checked one keeps it
  };
  for (const Step& s : steps) {
    clickButton(tb, s.clickIndex);
    EXPECT_EQ(SendMessageA(tb, TB_ISBUTTONCHECKED, 11, 0) != 0, s.checked11);
    EXPECT_EQ(SendMessageA(tb, TB_ISBUTTONCHECKED, 12, 0) != 0, s.checked12);
    EXPECT_EQ(SendMessageA(tb, TB_ISBUTTONCHECKED, 13, 0) != 0, s.checked13);
  }
  // TB_CHECKBUTTON on a group member unchecks the others too.
  SendMessageA(tb, TB_CHECKBUTTON, 12, TRUE);
  EXPECT_TRUE(SendMessageA(tb, TB_ISBUTTONCHECKED, 12, 0));
  EXPECT_FALSE(SendMessageA(tb, TB_ISBUTTONCHECKED, 13, 0));
}

TEST_F(Toolbar, DisabledButtonsIgnoreClicks) {
  HWND tb = make();
  EXPECT_TRUE(SendMessageA(tb, TB_ENABLEBUTTON, 10, FALSE));
  EXPECT_FALSE(SendMessageA(tb, TB_ISBUTTONENABLED, 10, 0));
  clickButton(tb, 0);
  EXPECT_TRUE(test::events().empty());
  SendMessageA(tb, TB_ENABLEBUTTON, 10, TRUE);
  clickButton(tb, 0);
  EXPECT_EQ(test::events().back(), (Event{WM_COMMAND, 10, BN_CLICKED}));
}

TEST_F(Toolbar, StateMessagesAnswerMinusOneForUnknownCommands) {
  HWND tb = make();
  for (UINT msg : {TB_ISBUTTONCHECKED, TB_ISBUTTONENABLED, TB_ISBUTTONHIDDEN, TB_GETSTATE})
    EXPECT_EQ(SendMessageA(tb, msg, 99, 0), -1) << msg;
  EXPECT_FALSE(SendMessageA(tb, TB_SETSTATE, 99, TBSTATE_ENABLED));
  EXPECT_TRUE(SendMessageA(tb, TB_SETSTATE, 11, TBSTATE_ENABLED | TBSTATE_CHECKED));
  EXPECT_EQ(SendMessageA(tb, TB_GETSTATE, 11, 0), TBSTATE_ENABLED | TBSTATE_CHECKED);
}

TEST_F(Toolbar, HidingAButtonMovesTheFollowingOnesLeft) {
  HWND tb = make();
  RECT before{}, after{};
  SendMessageA(tb, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&before));
  SendMessageA(tb, TB_HIDEBUTTON, 10, TRUE);
  EXPECT_TRUE(SendMessageA(tb, TB_ISBUTTONHIDDEN, 10, 0));
  EXPECT_FALSE(SendMessageA(tb, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&after)));
  SendMessageA(tb, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&after));
  EXPECT_EQ(after.left, before.left - 24);
}

TEST_F(Toolbar, InsertDeleteGetAndButtonInfo) {
  HWND tb = make();
  TBBUTTON extra = button(3, 20, TBSTYLE_BUTTON);
  EXPECT_TRUE(SendMessageA(tb, TB_INSERTBUTTONA, 0, reinterpret_cast<LPARAM>(&extra)));
  EXPECT_EQ(SendMessageA(tb, TB_COMMANDTOINDEX, 20, 0), 0);
  EXPECT_EQ(SendMessageA(tb, TB_COMMANDTOINDEX, 10, 0), 1);
  TBBUTTON got{};
  EXPECT_TRUE(SendMessageA(tb, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&got)));
  EXPECT_EQ(got.idCommand, 20);
  EXPECT_EQ(got.iBitmap, 3);
  EXPECT_FALSE(SendMessageA(tb, TB_GETBUTTON, 50, reinterpret_cast<LPARAM>(&got)));

  EXPECT_TRUE(SendMessageA(tb, TB_SETCMDID, 0, 21));
  TBBUTTONINFOA info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_IMAGE | TBIF_STATE | TBIF_STYLE | TBIF_COMMAND;
  EXPECT_EQ(SendMessageA(tb, TB_GETBUTTONINFOA, 21, reinterpret_cast<LPARAM>(&info)), 0);
  EXPECT_EQ(info.iImage, 3);
  EXPECT_EQ(info.idCommand, 21);
  info.dwMask = TBIF_IMAGE | TBIF_BYINDEX;
  info.iImage = 1;
  EXPECT_TRUE(SendMessageA(tb, TB_SETBUTTONINFOA, 0, reinterpret_cast<LPARAM>(&info)));
  SendMessageA(tb, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&got));
  EXPECT_EQ(got.iBitmap, 1);

  EXPECT_TRUE(SendMessageA(tb, TB_DELETEBUTTON, 0, 0));
  EXPECT_FALSE(SendMessageA(tb, TB_DELETEBUTTON, 40, 0));
  EXPECT_EQ(SendMessageA(tb, TB_BUTTONCOUNT, 0, 0), 6);
  EXPECT_EQ(test::notified().back().code, (UINT)TBN_DELETINGBUTTON);
}

TEST_F(Toolbar, RowsAndBottomPlacement) {
  HWND tb = make(TBSTYLE_WRAPABLE | CCS_BOTTOM);
  EXPECT_EQ(SendMessageA(tb, TB_GETROWS, 0, 0), 1);
  RECT bound{};
  SendMessageA(tb, TB_SETROWS, MAKEWPARAM(2, TRUE), reinterpret_cast<LPARAM>(&bound));
  EXPECT_EQ(SendMessageA(tb, TB_GETROWS, 0, 0), 2);
  SendMessageA(tb, TB_AUTOSIZE, 0, 0);
  RECT client{}, wr{};
  GetClientRect(frame, &client);
  GetWindowRect(tb, &wr);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&wr), 2);
  EXPECT_EQ(wr.bottom, client.bottom);
  EXPECT_EQ(wr.bottom - wr.top, 2 + 2 * 22 + 2);
  EXPECT_EQ(SendMessageA(tb, TB_GETBUTTONSIZE, 0, 0), MAKELONG(24, 22));
  EXPECT_TRUE(SendMessageA(tb, TB_SETBUTTONSIZE, 0, MAKELONG(30, 28)));
  EXPECT_EQ(SendMessageA(tb, TB_GETBUTTONSIZE, 0, 0), MAKELONG(30, 28));
}

TEST_F(Toolbar, AddsImagesFromAnHBitmapAndRefusesBadOnes) {
  HWND tb = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 300, 30, frame, nullptr,
                            nullptr, nullptr);
  ASSERT_NE(tb, nullptr);
  HBITMAP strip = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kStripId));
  ASSERT_NE(strip, nullptr);
  TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(strip)};
  EXPECT_EQ(SendMessageA(tb, TB_ADDBITMAP, 4, reinterpret_cast<LPARAM>(&add)), 0);
  EXPECT_EQ(SendMessageA(tb, TB_ADDBITMAP, 4, reinterpret_cast<LPARAM>(&add)), 4);  // indexes continue
  TBADDBITMAP missing{GetModuleHandleA(nullptr), 4242};
  EXPECT_EQ(SendMessageA(tb, TB_ADDBITMAP, 1, reinterpret_cast<LPARAM>(&missing)), -1);
  EXPECT_EQ(SendMessageA(tb, TB_ADDBITMAP, 1, 0), -1);
  DestroyWindow(tb);
  DeleteObject(strip);  // the caller's bitmap stays the caller's
}

TEST_F(Toolbar, ReplacedStripsChangedImagesIndentAndStrings) {
  HWND tb = make();
  HBITMAP other = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kStripId));
  TBREPLACEBITMAP replace{GetModuleHandleA(nullptr), (UINT_PTR)kStripId, nullptr, reinterpret_cast<UINT_PTR>(other), 4};
  EXPECT_TRUE(SendMessageA(tb, TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(&replace)));
  EXPECT_FALSE(SendMessageA(tb, TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(&replace)));  // no such strip now

  EXPECT_TRUE(SendMessageA(tb, TB_CHANGEBITMAP, 10, 2));
  EXPECT_EQ(SendMessageA(tb, TB_GETBITMAP, 10, 0), 2);
  EXPECT_EQ(SendMessageA(tb, TB_GETBITMAP, 99, 0), -1);

  SendMessageA(tb, TB_SETINDENT, 5, 0);
  RECT r{};
  SendMessageA(tb, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.left, 5);

  EXPECT_EQ(SendMessageA(tb, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>("Open\0Save\0")), 0);
  TBBUTTON labelled = button(0, 40, TBSTYLE_BUTTON);
  labelled.iString = 1;
  SendMessageA(tb, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&labelled));
  char text[16] = {};
  EXPECT_EQ(SendMessageA(tb, TB_GETBUTTONTEXTA, 40, reinterpret_cast<LPARAM>(text)), 4);
  EXPECT_STREQ(text, "Save");
  DestroyWindow(tb);
  DeleteObject(other);
}

TEST_F(Toolbar, FlatButtonsRiseUnderTheMouse) {
  HWND tb = make(TBSTYLE_FLAT);
  EXPECT_EQ(SendMessageA(tb, TB_GETHOTITEM, 0, 0), -1);
  POINT c = centre(tb, 2);
  input::mouseMove(tb, c.x, c.y);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(tb, TB_GETHOTITEM, 0, 0), 2);
  input::mouseMove(frame, 200, 200);  // leaving the bar
  input::pumpMessages();
  wait(250);
  EXPECT_EQ(SendMessageA(tb, TB_GETHOTITEM, 0, 0), -1);
  input::mouseMove(tb, c.x, c.y);
  input::pumpMessages();
  RECT r{}, wr{}, fr{};
  SendMessageA(tb, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
  GetWindowRect(tb, &wr);
  GetWindowRect(frame, &fr);
  // The raised edge's light top-left line.
  EXPECT_EQ(win32::snapshot::windowPixel(frame, wr.left - fr.left + r.left, wr.top - fr.top + r.top + 5),
            GetSysColor(COLOR_BTNHIGHLIGHT));
  input::mouseMove(tb, centre(tb, 1).x, c.y);  // a separator is never hot
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(tb, TB_GETHOTITEM, 0, 0), -1);
  SendMessageA(tb, TB_ENABLEBUTTON, 10, FALSE);
  EXPECT_EQ(SendMessageA(tb, TB_SETHOTITEM, 0, 0), -1);  // disabled: not hot
  EXPECT_EQ(SendMessageA(tb, TB_GETHOTITEM, 0, 0), -1);
}

TEST_F(Toolbar, OwnTooltipsAskTheParentForTheButtonText) {
  HWND tb = make(TBSTYLE_TOOLTIPS);
  HWND tips = (HWND)SendMessageA(tb, TB_GETTOOLTIPS, 0, 0);
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 4);  // separators have no tool
  SendMessageA(tips, TTM_SETDELAYTIME, TTDT_INITIAL, 20);
  test::notifyAnswer() = [](NMHDR* hdr) -> LRESULT {
    if (hdr->code == TTN_NEEDTEXTA && hdr->idFrom == 12) {
      auto* info = reinterpret_cast<NMTTDISPINFOA*>(hdr);
      lstrcpynA(info->szText, "Blue", sizeof info->szText);
    }
    return 0;
  };
  POINT c = centre(tb, 4);
  input::mouseMove(tb, c.x, c.y);
  input::pumpMessages();
  EXPECT_FALSE(IsWindowVisible(tips));  // not before the delay
  wait(60);
  EXPECT_TRUE(IsWindowVisible(tips));
  char text[32] = {};
  GetWindowTextA(tips, text, sizeof text);
  EXPECT_STREQ(text, "Blue");
  ASSERT_FALSE(test::notified().empty());
  EXPECT_EQ(test::notified().front(), (test::Notified{12, (UINT)TTN_NEEDTEXTA}));
  clickButton(tb, 4);
  EXPECT_FALSE(IsWindowVisible(tips));
  DestroyWindow(tb);
  EXPECT_FALSE(IsWindow(tips));
}

}  // namespace
