// Message maps and routing: handlers by message, commands from the window to
// its owner and the thread, notifications reflected to the control first
// (0xBC00 + message, the colour message as 0xBC19 with AFX_CTLCOLOR), and
// the PreTranslateMessage chain from the target up to the main window.
#include <afxwin.h>

#include <internal/testinput.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string>& trail() {
  static std::vector<std::string> t;
  return t;
}

constexpr UINT kCmdSave = 1001;
constexpr UINT kCmdDisabled = 1002;
constexpr UINT kCmdAppOnly = 1003;
constexpr UINT kButtonId = 200;
constexpr UINT kOtherButtonId = 201;
constexpr UINT kNotifyCode = 0xFFFFFFFE;  // NM_DBLCLK style negative code

UINT registeredMessage() {
  static UINT message = RegisterWindowMessageA("afx routing test message");
  return message;
}
UINT g_registered = 0;

// A push button whose object takes BN_CLICKED itself (declining when told to)
// and gives its own colours.
class ReflectingButton : public CButton {
 public:
  BOOL m_bTakeClick = TRUE;
  HBRUSH m_hBrush = nullptr;
  AFX_CTLCOLOR m_lastColor{};
  int m_nDrawn = 0;

 protected:
  afx_msg BOOL OnClicked() {
    trail().push_back("button:clicked");
    return m_bTakeClick;
  }
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) {
    trail().push_back("button:ctlcolor " + std::to_string(nCtlColor));
    return m_hBrush;
  }
  afx_msg LRESULT OnReflectedColor(WPARAM, LPARAM lParam) {
    m_lastColor = *reinterpret_cast<AFX_CTLCOLOR*>(lParam);
    return reinterpret_cast<LRESULT>(m_hBrush);
  }
  afx_msg void OnNotifyDblClk(NMHDR* pNMHDR, LRESULT* pResult) {
    trail().push_back("button:notify");
    *pResult = 77;
  }
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override { ++m_nDrawn; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingButton, CButton)
  ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
  ON_NOTIFY_REFLECT(kNotifyCode, OnNotifyDblClk)
END_MESSAGE_MAP()

// The same button, answering the colour message through ON_MESSAGE(0xBC19).
class ColourByMessageButton : public ReflectingButton {
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ColourByMessageButton, ReflectingButton)
  ON_MESSAGE(WM_REFLECT_BASE + WM_CTLCOLOR, OnReflectedColor)
END_MESSAGE_MAP()

class ColourReflectButton : public ReflectingButton {
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ColourReflectButton, ReflectingButton)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class ParentWnd : public CWnd {
 public:
  int m_cx = -1, m_cy = -1;
  BOOL m_bEnableDisabled = FALSE;
  LRESULT m_registeredAnswer = 0;

  BOOL Make(CWnd* pOwner = nullptr) {
    return CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200,
                    pOwner ? pOwner->m_hWnd : nullptr, nullptr);
  }

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy) {
    m_cx = cx;
    m_cy = cy;
  }
  afx_msg void OnSave() { trail().push_back("parent:save"); }
  afx_msg void OnButton() { trail().push_back("parent:button"); }
  afx_msg void OnOtherButton() { trail().push_back("parent:other"); }
  afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bEnableDisabled); }
  afx_msg void OnDisabled() { trail().push_back("parent:disabled-ran"); }
  afx_msg void OnNotifyButton(NMHDR*, LRESULT* pResult) {
    trail().push_back("parent:notify");
    *pResult = 5;
  }
  afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM) { return (LRESULT)wParam * 2; }
  afx_msg LRESULT OnPrivate(WPARAM wParam, LPARAM lParam) { return (LRESULT)(wParam + lParam); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ParentWnd, CWnd)
  ON_WM_SIZE()
  ON_COMMAND(kCmdSave, OnSave)
  ON_BN_CLICKED(kButtonId, OnButton)
  ON_BN_CLICKED(kOtherButtonId, OnOtherButton)
  ON_UPDATE_COMMAND_UI(kCmdDisabled, OnUpdateDisabled)
  ON_COMMAND(kCmdDisabled, OnDisabled)
  ON_NOTIFY(kNotifyCode, kButtonId, OnNotifyButton)
  ON_REGISTERED_MESSAGE(g_registered, OnRegistered)
  ON_MESSAGE(WM_USER + 5, OnPrivate)
END_MESSAGE_MAP()

class Routing : public ::testing::Test {
 protected:
  void SetUp() override {
    trail().clear();
    g_registered = registeredMessage();
    ASSERT_TRUE(parent.Make());
  }
  void TearDown() override { win32::input::pumpMessages(); }

  template <class Button>
  void makeButton(Button& button, UINT id, DWORD style = BS_PUSHBUTTON) {
    ASSERT_TRUE(button.Create("Button", WS_VISIBLE | style, CRect(10, 10, 90, 40), &parent, id));
  }
  ParentWnd parent;
};

TEST_F(Routing, MessagesReachTheirHandlersWithUnpackedArguments) {
  parent.MoveWindow(0, 0, 200, 120);
  CRect client;
  parent.GetClientRect(&client);
  EXPECT_EQ(parent.m_cx, client.Width());
  EXPECT_EQ(parent.m_cy, client.Height());
  EXPECT_EQ(parent.SendMessage(WM_USER + 5, 3, 4), 7);
  EXPECT_EQ(parent.SendMessage(g_registered, 21, 0), 42);
  // A window run by the framework says so.
  EXPECT_EQ(parent.SendMessage(WM_QUERYAFXWNDPROC), 1);
}

TEST_F(Routing, CommandsGoToTheWindowsMap) {
  parent.SendMessage(WM_COMMAND, kCmdSave, 0);
  EXPECT_EQ(trail(), std::vector<std::string>{"parent:save"});
}

TEST_F(Routing, AMenuCommandDisabledByItsUpdateHandlerIsNotCarriedOut) {
  parent.SendMessage(WM_COMMAND, kCmdDisabled, 0);
  EXPECT_TRUE(trail().empty());
  parent.m_bEnableDisabled = TRUE;
  parent.SendMessage(WM_COMMAND, kCmdDisabled, 0);
  EXPECT_EQ(trail(), std::vector<std::string>{"parent:disabled-ran"});
}

TEST_F(Routing, ControlNotificationsAreReflectedToTheControlFirst) {
  ReflectingButton button;
  makeButton(button, kButtonId);
  CButton plain;
  makeButton(plain, kOtherButtonId);

  struct Case {
    CWnd* control;
    UINT id;
    BOOL take;
    std::vector<std::string> expected;
  } cases[] = {
      {&button, kButtonId, TRUE, {"button:clicked"}},
      {&button, kButtonId, FALSE, {"button:clicked", "parent:button"}},  // _EX declined: the parent's turn
      {&plain, kOtherButtonId, TRUE, {"parent:other"}},                  // no reflect entry
  };
  for (const Case& c : cases) {
    trail().clear();
    button.m_bTakeClick = c.take;
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(c.id, BN_CLICKED), reinterpret_cast<LPARAM>(c.control->m_hWnd));
    EXPECT_EQ(trail(), c.expected) << c.id << " take " << c.take;
  }
}

TEST_F(Routing, ClickingARealButtonRoutesItsNotification) {
  ReflectingButton button;
  makeButton(button, kButtonId);
  button.m_bTakeClick = FALSE;
  win32::input::pumpMessages();
  win32::input::click(button.m_hWnd, 5, 5);
  win32::input::pumpMessages();
  EXPECT_EQ(trail(), (std::vector<std::string>{"button:clicked", "parent:button"}));
}

TEST_F(Routing, NotifyMessagesAreReflectedThenRouted) {
  ReflectingButton button;
  makeButton(button, kButtonId);
  NMHDR hdr{button.m_hWnd, kButtonId, kNotifyCode};
  EXPECT_EQ(parent.SendMessage(WM_NOTIFY, kButtonId, reinterpret_cast<LPARAM>(&hdr)), 77);
  EXPECT_EQ(trail(), std::vector<std::string>{"button:notify"});

  // From a control without a reflect entry: the parent's ON_NOTIFY.
  trail().clear();
  CButton plain;
  makeButton(plain, kButtonId + 50);
  NMHDR other{plain.m_hWnd, kButtonId, kNotifyCode};
  EXPECT_EQ(parent.SendMessage(WM_NOTIFY, kButtonId, reinterpret_cast<LPARAM>(&other)), 5);
  EXPECT_EQ(trail(), std::vector<std::string>{"parent:notify"});
}

TEST_F(Routing, ColourMessagesReachTheControlAs0xBC19WithTheCtlColorRecord) {
  EXPECT_EQ(WM_REFLECT_BASE + WM_CTLCOLOR, 0xBC19u);
  ColourByMessageButton button;
  makeButton(button, kButtonId);
  CBrush brush(RGB(1, 2, 3));
  button.m_hBrush = brush;
  HDC hdc = ::GetDC(button.m_hWnd);
  LRESULT answer = parent.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(button.m_hWnd));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(answer), (HBRUSH)brush);
  EXPECT_EQ(button.m_lastColor.hWnd, button.m_hWnd);
  EXPECT_EQ(button.m_lastColor.hDC, hdc);
  EXPECT_EQ(button.m_lastColor.nCtlType, (UINT)CTLCOLOR_BTN);
  ::ReleaseDC(button.m_hWnd, hdc);
}

TEST_F(Routing, AControlWithoutABrushLeavesTheColourToTheParent) {
  ColourReflectButton button;
  makeButton(button, kButtonId);
  HDC hdc = ::GetDC(button.m_hWnd);
  button.m_hBrush = nullptr;
  LRESULT answer = parent.SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(button.m_hWnd));
  // The parent's default: the system's answer for an edit.
  EXPECT_EQ(answer, ::DefWindowProcA(parent.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc),
                                     reinterpret_cast<LPARAM>(button.m_hWnd)));
  EXPECT_EQ(trail(), std::vector<std::string>{"button:ctlcolor " + std::to_string(CTLCOLOR_EDIT)});
  ::ReleaseDC(button.m_hWnd, hdc);
}

TEST_F(Routing, OwnerDrawnItemsAreDrawnByTheControlObject) {
  ReflectingButton button;
  makeButton(button, kButtonId, BS_OWNERDRAW);
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_BUTTON;
  dis.CtlID = kButtonId;
  dis.hwndItem = button.m_hWnd;
  EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, kButtonId, reinterpret_cast<LPARAM>(&dis)), TRUE);
  EXPECT_GE(button.m_nDrawn, 1);
}

class ScrollParent : public CWnd {
 public:
  CScrollBar* m_pBar = nullptr;
  UINT m_nCode = 0xFFFF;
  UINT m_nPos = 0;

 protected:
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    m_pBar = pScrollBar;
    m_nCode = nSBCode;
    m_nPos = nPos;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ScrollParent, CWnd)
  ON_WM_HSCROLL()
END_MESSAGE_MAP()

class SelfScrolling : public CScrollBar {
 public:
  UINT m_nCode = 0xFFFF;

 protected:
  afx_msg void HScroll(UINT nSBCode, UINT) { m_nCode = nSBCode; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(SelfScrolling, CScrollBar)
  ON_WM_HSCROLL_REFLECT()
END_MESSAGE_MAP()

TEST(Scrolling, ScrollHandlersGetTheControlAsAScrollBar) {
  ScrollParent parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
  HWND bar = ::CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | SBS_HORZ, 0, 0, 100, 16, parent.m_hWnd, nullptr, nullptr, nullptr);
  ASSERT_NE(bar, nullptr);
  CWnd::FromHandle(bar);  // a plain temporary object exists already
  parent.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 40), reinterpret_cast<LPARAM>(bar));
  ASSERT_NE(parent.m_pBar, nullptr);
  EXPECT_TRUE(parent.m_pBar->IsKindOf(RUNTIME_CLASS(CScrollBar)));
  EXPECT_EQ(parent.m_pBar->m_hWnd, bar);
  EXPECT_EQ(parent.m_nCode, (UINT)SB_THUMBPOSITION);
  EXPECT_EQ(parent.m_nPos, 40u);
  // The window's own bars: no control.
  parent.SendMessage(WM_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(parent.m_pBar, nullptr);
}

TEST(Scrolling, AScrollBarObjectTakesItsOwnScrollingByReflection) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
  SelfScrolling bar;
  ASSERT_TRUE(bar.Create(WS_VISIBLE | SBS_HORZ, CRect(0, 0, 100, 16), &parent, 3));
  parent.SendMessage(WM_HSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(bar.m_hWnd));
  EXPECT_EQ(bar.m_nCode, (UINT)SB_PAGEDOWN);
}

// --- PreTranslateMessage chain ------------------------------------------------

class Translating : public CWnd {
 public:
  std::string m_name;
  UINT m_swallow = 0;  // a key this window takes
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message != WM_KEYDOWN) return FALSE;
    trail().push_back(m_name);
    return pMsg->wParam == m_swallow;
  }
};

class ChainApp : public CWinApp {
 public:
  ChainApp() : CWinApp("chain") {}
};

TEST(PreTranslate, WalksFromTheTargetUpThroughParentsToTheMainWindow) {
  ChainApp app;
  trail().clear();
  Translating main, child, grandchild, popup;
  main.m_name = "main";
  child.m_name = "child";
  grandchild.m_name = "grandchild";
  popup.m_name = "popup";
  ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr));
  ASSERT_TRUE(child.Create(nullptr, "child", WS_VISIBLE, CRect(0, 0, 100, 100), &main, 1));
  ASSERT_TRUE(grandchild.Create(nullptr, "grandchild", WS_VISIBLE, CRect(0, 0, 50, 50), &child, 2));
  ASSERT_TRUE(popup.CreateEx(0, AfxRegisterWndClass(0), "tool", WS_POPUP | WS_VISIBLE, 300, 0, 50, 50, nullptr, nullptr));
  app.m_pMainWnd = &main;
  main.m_swallow = VK_F2;
  child.m_swallow = VK_F3;

  struct Case {
    HWND target;
    UINT key;
    BOOL taken;
    std::vector<std::string> expected;
  } cases[] = {
      {grandchild.m_hWnd, VK_F5, FALSE, {"grandchild", "child", "main"}},
      {grandchild.m_hWnd, VK_F3, TRUE, {"grandchild", "child"}},  // taken: the walk stops
      {grandchild.m_hWnd, VK_F2, TRUE, {"grandchild", "child", "main"}},
      // Another top-level window: its own chain, then the main window last.
      {popup.m_hWnd, VK_F5, FALSE, {"popup", "main"}},
  };
  for (const Case& c : cases) {
    trail().clear();
    MSG msg{c.target, WM_KEYDOWN, c.key, 0, 0, {0, 0}};
    EXPECT_EQ(app.PreTranslateMessage(&msg), c.taken) << c.key;
    EXPECT_EQ(trail(), c.expected) << c.key;
  }
  app.m_pMainWnd = nullptr;
}

class KeyCounter : public Translating {
 public:
  int m_nKeys = 0;

 protected:
  afx_msg void OnKeyDown(UINT, UINT, UINT) { ++m_nKeys; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(KeyCounter, Translating)
  ON_WM_KEYDOWN()
END_MESSAGE_MAP()

TEST(PreTranslate, TheLoopDoesNotDispatchWhatPreTranslationTook) {
  ChainApp app;
  KeyCounter main;
  main.m_name = "main";
  main.m_swallow = VK_F2;
  ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr));
  app.m_pMainWnd = &main;
  main.PostMessage(WM_KEYDOWN, VK_F2);
  main.PostMessage(WM_KEYDOWN, VK_F5);
  EXPECT_TRUE(app.PumpMessage());
  EXPECT_TRUE(app.PumpMessage());
  EXPECT_EQ(main.m_nKeys, 1);
  app.m_pMainWnd = nullptr;
}

}  // namespace
