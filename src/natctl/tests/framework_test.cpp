// The facades and the common private messages every native control
// answers: creation failure, ownership, colours, the focus colours, the
// data picture, the stored value, the notification window and text case.
#include <type_traits>

#include "natfixture.h"
#include "plainedit.h"
#include "typededit.h"

using namespace nattest;

namespace {

static_assert(!std::is_copy_constructible_v<KyGUICEditControl> && !std::is_copy_assignable_v<KyGUIListBoxControl>,
              "a facade owns its implementation alone");

TEST_F(NativeTest, FacadeWithoutAWindowAnswersNoHandle) {
  // A child window without a parent cannot be made.
  KyGUICEditControl edit(0, "Edit", "%nd", WS_CHILD, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(edit.GetNativeControlHWND(), nullptr);
  KyGUICSpinButtonCtrl spin(0, "Edit", "%nd", WS_CHILD, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(spin.GetNativeControlHWND(), nullptr);
}

TEST_F(NativeTest, DestroyingAFacadeEndsItsWindow) {
  auto list = std::make_unique<KyGUIListBoxControl>(0, "ListBox", "%ss", WS_CHILD, 0, 0, 50, 50, panel->m_hWnd,
                                                    nullptr, nullptr, nullptr);
  HWND w = list->GetNativeControlHWND();
  ASSERT_TRUE(IsWindow(w));
  list.reset();
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(NativeTest, CommonMessagesAnswerTheSameOnEveryKind) {
  const HWND windows[] = {typed("%nd*0.00"), make<KyGUIEditControl>("%nd*0.00", WS_BORDER, 2, 40),
                          make<KyGUIListBoxControl>("%nd*0.00", 0, 3, 70, 60),
                          make<KyGUIComboBoxControl>("%nd*0.00", 0, 4, 140, 100)};
  for (HWND w : windows) {
    EXPECT_EQ(SendMessageA(w, KYM_EDITGETTYPE, 0, 0), 'n');
    EXPECT_EQ(SendMessageA(w, KYM_LISTGETCODETYPE, 0, 0), 'n');
    EXPECT_EQ(SendMessageA(w, KYM_EDITGETSTORAGE, 0, 0), 'd');
    EXPECT_EQ(SendMessageA(w, KYM_EDITGETVALUELENGTH, 0, 0), 8);
    EXPECT_EQ(SendMessageA(w, KYM_EDITSETLINK, 0, 1234), 0);
    EXPECT_EQ(SendMessageA(w, KYM_EDITGETLINK, 0, 0), 1234);
    EXPECT_EQ(SendMessageA(w, KYM_LISTSETCODELINK, 0, 77), 0);
    EXPECT_EQ(SendMessageA(w, KYM_LISTGETCODELINK, 0, 0), 77);
    EXPECT_EQ(SendMessageA(w, KYM_SETNOTIFYWND, reinterpret_cast<WPARAM>(spare), 0), 0);
    EXPECT_EQ(SendMessageA(w, KYM_GETNOTIFYWND, 0, 0), reinterpret_cast<LRESULT>(spare));
    EXPECT_EQ(SendMessageA(w, KYM_SETNONOTIFY, 1, 0), 1);
    EXPECT_EQ(SendMessageA(w, KYM_GETNONOTIFY, 0, 0), 1);
    EXPECT_EQ(SendMessageA(w, KYM_SETNONOTIFY, 0, 0), 1);
    EXPECT_EQ(SendMessageA(w, KYM_GETNONOTIFY, 0, 0), 0);
    EXPECT_EQ(SendMessageA(w, NKM_TEXTCASEPAINT, 2, 0), 2);
    EXPECT_EQ(SendMessageA(w, KYM_EDITSETPICTURE, 0, ptr("%nl*0")), 2);
    EXPECT_EQ(SendMessageA(w, KYM_EDITGETSTORAGE, 0, 0), 'l');
    EXPECT_NE(SendMessageA(w, KYM_EDITGETBKBRUSH, 0, 0), 0);
    // Numbers a native control leaves to the standard control: no answer.
    EXPECT_EQ(SendMessageA(w, KYM_GETINSTANCE, 0, 0), 0);
  }
}

TEST_F(NativeTest, TextColourMessagesAndTheSystemColour) {
  HWND e = typed("%nd*0.00");
  auto* imp = dynamic_cast<KyGUIControlImp*>(CWnd::FromHandlePermanent(e));
  ASSERT_NE(imp, nullptr);
  const struct {
    WPARAM which;
    LPARAM colour;
    COLORREF text, negative;
  } cases[] = {
      {0, 0x0000FF, 0x0000FF, 0xFFFFFFFF},
      {1, -1, 0x0000FF, 0x80000008},  // -1: the system window-text colour
      {0, -1, 0x80000008, 0x80000008},
  };
  for (const auto& c : cases) {
    SendMessageA(e, NKM_SETTEXTCOLOR, c.which, c.colour);
    EXPECT_EQ(imp->textColor, c.text);
    EXPECT_EQ(imp->negativeColor, c.negative);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(e, KYM_GETTEXTCOLOR, 0, 0)), c.text);
  }
  // The colour message reflected by the panel paints with them.
  SendMessageA(e, KYM_SETBKCOLOR, 0, 0x00FF00);
  HDC dc = GetDC(e);
  const LRESULT brush = SendMessageA(panel->m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(e));
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(imp->brush));
  EXPECT_EQ(GetBkColor(dc), 0x00FF00u);
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT));
  ReleaseDC(e, dc);
}

TEST_F(NativeTest, FocusColoursNeedAMouseWindow) {
  const struct {
    bool mouseWindow;
    COLORREF focused;
  } cases[] = {{true, 0xC0C0C0}, {false, 0x80000005}};
  for (const auto& c : cases) {
    KyGUICEditControl control(0, "Edit", "%ss", WS_CHILD | WS_VISIBLE | 0x400, 10, 10, 100, 20, panel->m_hWnd,
                              reinterpret_cast<HMENU>(5), nullptr, nullptr);
    CWnd mouse;
    if (c.mouseWindow) {
      ASSERT_TRUE(mouse.CreateEx(0, nullptr, "", WS_CHILD, 0, 0, 1, 1, panel->m_hWnd, nullptr));
      control.SetMouseWnd(&mouse);
    }
    HWND w = control.GetNativeControlHWND();
    KyGUIControlImp* imp = control.GetNativeControlImp();
    ASSERT_EQ(GetSysColor(COLOR_WINDOW), 0xFFFFFFu);
    focus(w);
    EXPECT_EQ(imp->background, c.focused);
    leave();
    EXPECT_EQ(imp->background, 0x80000005u) << "its own background again";
  }
}

TEST_F(NativeTest, OverwriteModeIsToggledByInsertAndMessages) {
  HWND e = typed("%ss");
  EXPECT_EQ(SendMessageA(e, NKM_GETOVERWRITE, 0, 0), 0);
  focus(e);
  key(VK_INSERT);
  EXPECT_EQ(SendMessageA(e, NKM_GETOVERWRITE, 0, 0), 1);
  SendMessageA(e, KYM_SETDATA, 0, ptr("abcd"));
  SendMessageA(e, EM_SETSEL, 1, 1);
  type("XY");
  EXPECT_EQ(text(e), "aXYd");
  SendMessageA(e, NKM_SETOVERWRITE, 0, 0);
  EXPECT_FALSE(NatCtl::GetOverwriteMode());
  type("Z");
  EXPECT_EQ(text(e), "aXYZd");
}

TEST_F(NativeTest, PlainEditKeepsItsTextAndNotifiesChanges) {
  HWND e = make<KyGUIEditControl>("plain text");
  EXPECT_EQ(text(e), "plain text");
  focus(e);
  leave();
  EXPECT_TRUE(notified().empty());
  focus(e);
  SendMessageA(e, EM_SETSEL, 0, -1);
  type("new");
  leave();
  EXPECT_EQ(notified(), (std::vector<Notification>{{1, NKN_CHANGED}}));
  input::doubleClick(e, 5, 5);
  input::pumpMessages();
  EXPECT_EQ(notified().back(), (Notification{1, NKN_PLAINDBLCLK}));
  SendMessageA(e, EM_SETREADONLY, TRUE, 0);
  SendMessageA(e, EM_SETSEL, 0, -1);
  EXPECT_EQ(SendMessageA(e, WM_CUT, 0, 0), 1);
  EXPECT_EQ(SendMessageA(e, WM_CHAR, 'q', 0), 1);
  EXPECT_EQ(text(e), "new");
}

}  // namespace
