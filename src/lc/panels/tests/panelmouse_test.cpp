// The mouse on a panel: moves and presses become events 15 and 16 of the
// control under the mouse (or of the panel), released buttons and a
// control's private requests become event 17 and then the context menu of
// the control or the panel; controls laid out during an event move once,
// when it ends; a named event run with a command tool bar under the mouse
// moves the focus to the panel and back first.
#include <gtest/gtest.h>

#include <functional>

#include "HEdit.h"
#include "panelharness.h"

namespace {

using kytest::RecordingPanel;
namespace input = win32::input;

constexpr int kMoved = 15, kPressed = 16, kContextMenu = 17, kCommand = 7, kNotify = 14;
constexpr UINT kOpen = 31001, kDelete = 31002;  // items of submenus 1 and 2 of "POPUPS"
constexpr UINT KYM_CONTEXTMENU2 = 1454, KYM_CONTEXTMENU1 = 1455;
constexpr DWORD kAnchorRight = 0x4;
constexpr int kOpened = 701, kDeleted = 702;  // the logical events of the two commands

class PanelMouse : public kytest::PanelHarness {
 protected:
  // A shown top window with an edit (id 10) at (20, 20) sized 80 x 20 (a
  // static would let the mouse through to the panel).
  RecordingPanel* shownWithControl(KyCtrl** ppControl, DWORD exFlags = 0) {
    RecordingPanel* p = made(KyTopWindow);
    *ppControl = new HEdit(p, kytest::controlRecord(10, 3, 20, 20, 80, 20, 20010, 0, exFlags), 1);
    p->AddControl(*ppControl);
    p->StartPanel();
    return p;
  }
  static void on(KyPanel* p, int source, int code) {
    p->AddEvent(new KyLogEvent(source, code, 100 * (source < 0 ? 0 : 1) + code, "", "", 0));
  }
  static int id(int source, int code) { return 100 * (source < 0 ? 0 : 1) + code; }
};

TEST_F(PanelMouse, MovesAndPressesAreEventsOfTheControlUnderTheMouse) {
  KyCtrl* pControl = nullptr;
  RecordingPanel* p = shownWithControl(&pControl);
  for (int source : {-1, 10})
    for (int code : {kMoved, kPressed}) on(p, source, code);
  HWND hControl = pControl->GetWindowHandle();
  HWND hView = p->ViewHandle();
  const struct {
    const char* what;
    std::function<void()> act;
    std::vector<int> ran;
  } cases[] = {
      {"a move on the control", [&] { input::mouseMove(hControl, 5, 5); }, {id(10, kMoved)}},
      {"a right press on the control", [&] { input::mouseDown(hControl, 5, 5, input::Button::right); },
       {id(10, kPressed)}},
      {"a move on the panel", [&] { input::mouseMove(hView, 200, 150); }, {id(-1, kMoved)}},
      {"a left press on the panel", [&] { input::mouseDown(hView, 200, 150); }, {id(-1, kPressed)}},
  };
  for (const auto& c : cases) {
    pump();
    p->ran.clear();
    c.act();
    pump();
    EXPECT_EQ(p->ran, c.ran) << c.what;
    input::mouseUp(hView, 200, 150);
    input::mouseUp(hView, 200, 150, input::Button::right);
    pump();
  }
  // A press the panel gets where a hidden or disabled control lies is the
  // panel's; the visible control under the point is the event's source.
  POINT inControl{25, 25};
  ClientToScreen(hView, &inControl);
  EXPECT_EQ(p->ControlAt(inControl), pControl);
  p->ran.clear();
  p->MouseEvent(nullptr, kPressed, inControl);
  EXPECT_EQ(p->ran, std::vector<int>{id(10, kPressed)});
  ShowWindow(hControl, SW_HIDE);
  EXPECT_EQ(p->ControlAt(inControl), nullptr);
}

TEST_F(PanelMouse, ContextMenuFollowsTheRequestsEvent) {
  const struct {
    const char* what;
    int controlMenus[2];
    int panelMenus[2];
    bool fromPanel;
    std::function<void(HWND, HWND)> request;
    UINT pick;             // the item a person picks, when a menu shows
    std::vector<int> ran;  // events: the request's, then the picked command's
    int focused;           // the control took the focus for its menu (-1: the click's own doing)
  } cases[] = {
      {"left button released: the control's first menu", {1, 2}, {2, 1}, false,
       [](HWND hControl, HWND) { input::click(hControl, 5, 5); }, kOpen, {id(10, kContextMenu), kOpened}, -1},
      {"right button released: its second menu", {1, 2}, {2, 1}, false,
       [](HWND hControl, HWND) { input::click(hControl, 5, 5, input::Button::right); }, kDelete,
       {id(10, kContextMenu), kDeleted}, 1},
      {"request for the first menu", {2, 1}, {1, 2}, false,
       [](HWND hControl, HWND) { SendMessageA(hControl, KYM_CONTEXTMENU1, 0, MAKELPARAM(30, 40)); }, kDelete,
       {id(10, kContextMenu), kDeleted}, 0},
      {"request for the second menu", {2, 1}, {1, 2}, false,
       [](HWND hControl, HWND) { SendMessageA(hControl, KYM_CONTEXTMENU2, 0, MAKELPARAM(30, 40)); }, kOpen,
       {id(10, kContextMenu), kOpened}, 1},
      {"a control without menus shows none", {-1, -1}, {1, 2}, false,
       [](HWND hControl, HWND) { SendMessageA(hControl, KYM_CONTEXTMENU2, 0, MAKELPARAM(30, 40)); }, kOpen,
       {id(10, kContextMenu)}, 0},
      {"the panel's request: the panel's menu", {1, 1}, {-1, 2}, true, nullptr, kDelete,
       {id(-1, kContextMenu), kDeleted}, 0},
  };
  for (const auto& c : cases) {
    KyCtrl* pControl = nullptr;
    RecordingPanel* p = shownWithControl(&pControl);
    on(p, 10, kContextMenu);
    on(p, -1, kContextMenu);
    p->AddEvent(new KyLogEvent(static_cast<int>(kOpen), kCommand, kOpened, "", "Open", 0));
    p->AddEvent(new KyLogEvent(static_cast<int>(kDelete), kCommand, kDeleted, "", "Delete", 0));
    pControl->SetContextMenus(c.controlMenus[0], c.controlMenus[1]);
    p->SetContextMenu(c.panelMenus[0], c.panelMenus[1]);
    // The focus is elsewhere when the request comes.
    HWND hElsewhere = CreateWindowExA(0, "Edit", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 50, 20, nullptr,
                                      nullptr, nullptr, nullptr);
    SetFocus(hElsewhere);
    pump();
    input::clearMenuChoices();
    input::pushMenuChoice(c.pick);
    if (c.fromPanel) {
      POINT pt{300, 200};
      p->ContextMenuRequest(nullptr, 2, pt);
    } else {
      c.request(pControl->GetWindowHandle(), p->ViewHandle());
    }
    pump();
    EXPECT_EQ(p->ran, c.ran) << c.what;
    if (c.focused >= 0) EXPECT_EQ(GetFocus() == pControl->GetWindowHandle(), c.focused == 1) << c.what;
    DestroyWindow(hElsewhere);
    input::clearMenuChoices();
  }
}

// Controls laid out while an event runs move together when it has ended.
TEST_F(PanelMouse, LayoutDuringAnEventMovesOnceAtItsEnd) {
  KyCtrl* pControl = nullptr;
  RecordingPanel* p = shownWithControl(&pControl, kAnchorRight);
  on(p, -1, kNotify);
  HWND hControl = pControl->GetWindowHandle();
  auto left = [&] {
    RECT rc{};
    GetWindowRect(hControl, &rc);
    MapWindowPoints(nullptr, p->ViewHandle(), reinterpret_cast<POINT*>(&rc), 2);
    return rc.left;
  };
  const int before = left();
  int during = 0;
  p->onEvent = [&](int) {
    RECT rc{};
    GetWindowRect(p->hHandle(), &rc);
    SetWindowPos(p->hHandle(), nullptr, 0, 0, rc.right - rc.left + 50, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
    during = left();
  };
  p->Notify();
  EXPECT_EQ(during, before) << "nothing moves while the event runs";
  EXPECT_EQ(left(), before + 50) << "the anchored control follows the new width after it";
  // Outside events the layout is made at once.
  p->onEvent = nullptr;
  RECT rc{};
  GetWindowRect(p->hHandle(), &rc);
  SetWindowPos(p->hHandle(), nullptr, 0, 0, rc.right - rc.left + 30, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(left(), before + 80);
}

// A window that counts how often it lost the focus.
LRESULT CALLBACK countingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KILLFOCUS) SetWindowLongPtrA(hWnd, GWLP_USERDATA, GetWindowLongPtrA(hWnd, GWLP_USERDATA) + 1);
  return DefWindowProcA(hWnd, message, wParam, lParam);
}

TEST_F(PanelMouse, NamedEventUnderACommandToolBarCommitsTheFocusFirst) {
  RecordingPanel* p = made(KyTopWindow);
  p->StartPanel();
  WNDCLASSA wc{};
  wc.lpfnWndProc = countingProc;
  wc.lpszClassName = "KyFocusCounter";
  RegisterClassA(&wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "XTPToolBar";
  RegisterClassA(&wc);
  HWND hEdit = CreateWindowExA(0, "KyFocusCounter", "", WS_CHILD | WS_VISIBLE, 10, 10, 80, 20, p->ViewHandle(),
                               nullptr, nullptr, nullptr);
  HWND hBar = CreateWindowExA(0, "XTPToolBar", "", WS_CHILD | WS_VISIBLE, 10, 60, 120, 24, p->ViewHandle(), nullptr,
                              nullptr, nullptr);
  p->AddEvent(new KyLogEvent(-1, 14, 5, "", "Save", 0));
  p->AddEvent(new KyLogEvent(-1, 14, 6, "", "ToolBarSetActiveState", 0));
  const struct {
    const char* what;
    HWND under;
    const char* event;
    LONG_PTR focusLost;
  } cases[] = {
      {"a tool bar under the mouse", hBar, "Save", 1},
      {"the tool bar's own state event", hBar, "ToolBarSetActiveState", 0},
      {"no tool bar under the mouse", hEdit, "Save", 0},
  };
  for (const auto& c : cases) {
    input::mouseMove(c.under, 2, 2);
    pump();
    SetFocus(hEdit);
    SetWindowLongPtrA(hEdit, GWLP_USERDATA, 0);
    p->ran.clear();
    EXPECT_EQ(p->DoEvent(c.event), 1) << c.what;
    EXPECT_EQ(GetWindowLongPtrA(hEdit, GWLP_USERDATA), c.focusLost) << c.what;
    EXPECT_EQ(GetFocus(), hEdit) << c.what << ": the focus is back";
    EXPECT_EQ(p->ran.size(), 1u) << c.what;
  }
  DestroyWindow(hBar);
  DestroyWindow(hEdit);
}

}  // namespace
