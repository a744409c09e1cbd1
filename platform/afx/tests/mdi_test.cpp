// MDI frames: the client window, children made through WM_MDICREATE, the
// child's menu in the frame's bar while it is active, routing through the
// active child, the window commands, a subclassed client, and the small
// test application (frame, bars, child, modal and modeless dialogs) with
// its picture.
#include <afxext.h>

#include <internal/snapshot.h>
#include <internal/testinput.h>

#include <gtest/gtest.h>

#include "data/frames.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

class App : public CWinApp {
 public:
  App() : CWinApp("MDI test") {}

 protected:
  afx_msg void OnAppOnly() { g_log.push_back("app:only"); }
  afx_msg void OnFrameAndApp() { g_log.push_back("app:both"); }
  afx_msg void OnChildOnly() { g_log.push_back("app:child"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(App, CWinApp)
  ON_COMMAND(ID_APP_ONLY, OnAppOnly)
  ON_COMMAND(ID_FRAME_AND_APP, OnFrameAndApp)
  ON_COMMAND(ID_CHILD_ONLY, OnChildOnly)
END_MESSAGE_MAP()

class ChildFrame : public CMDIChildWnd {
 public:
  BOOL m_bActive = FALSE;

 protected:
  afx_msg void OnChildOnly() { g_log.push_back("child:child"); }
  afx_msg void OnSave() { g_log.push_back("child:save"); }
  afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd) {
    CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    m_bActive = bActivate;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ChildFrame, CMDIChildWnd)
  ON_COMMAND(ID_CHILD_ONLY, OnChildOnly)
  ON_COMMAND(ID_FILE_SAVE, OnSave)
  AFX_MSG_ENTRY(WM_MDIACTIVATE, {
    HWND hActivate = reinterpret_cast<HWND>(call.lParam);
    AFX_THIS->OnMDIActivate(hActivate == AFX_THIS->m_hWnd, CWnd::FromHandle(hActivate),
                            CWnd::FromHandle(reinterpret_cast<HWND>(call.wParam)));
    return TRUE;
  })
END_MESSAGE_MAP()

// The MDI client seen by the framework: it counts what it is asked.
class MDIClient : public CWnd {
 public:
  int m_nGetActive = 0;

 protected:
  afx_msg LRESULT OnGetActive(WPARAM, LPARAM) {
    m_nGetActive++;
    return Default();
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(MDIClient, CWnd)
  ON_MESSAGE(WM_MDIGETACTIVE, OnGetActive)
END_MESSAGE_MAP()

class MainFrame : public CMDIFrameWnd {
 public:
  CStatusBar m_wndStatusBar;
  CToolBar m_wndToolBar;
  MDIClient m_wndClient;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    if (CMDIFrameWnd::OnCreate(lpcs) == -1) return -1;
    if (!m_wndClient.SubclassWindow(m_hWndMDIClient)) return -1;
    if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_FLYBY | CBRS_TOOLTIPS) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
      return -1;
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 4)) return -1;
    return 0;
  }
  afx_msg void OnSave() { g_log.push_back("frame:save"); }
  afx_msg void OnFrameAndApp() { g_log.push_back("frame:both"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(MainFrame, CMDIFrameWnd)
  ON_WM_CREATE()
  ON_COMMAND(ID_FILE_SAVE, OnSave)
  ON_COMMAND(ID_FRAME_AND_APP, OnFrameAndApp)
END_MESSAGE_MAP()

CRect childRect(CWnd& parent, HWND hChild) {
  CRect rect;
  ::GetWindowRect(hChild, &rect);
  parent.ScreenToClient(&rect);
  return rect;
}

class Mdi : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    frame = new MainFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME));
    frame->SetWindowPos(nullptr, 0, 0, 640, 420, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    app.m_pMainWnd = frame;
  }
  void TearDown() override {
    app.m_pMainWnd = nullptr;
    frame->DestroyWindow();
    win32::input::pumpMessages();
  }
  ChildFrame* NewChild() {
    auto* child = new ChildFrame;
    EXPECT_TRUE(child->LoadFrame(IDR_CHILDFRAME, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                                 frame));
    return child;
  }

  App app;
  MainFrame* frame = nullptr;
};

TEST_F(Mdi, TheClientFillsTheFrameBetweenTheBars) {
  ASSERT_NE(frame->m_hWndMDIClient, nullptr);
  char className[32] = {};
  ::GetClassNameA(frame->m_hWndMDIClient, className, sizeof className);
  EXPECT_STREQ(className, "MDIClient");
  EXPECT_EQ(::GetDlgCtrlID(frame->m_hWndMDIClient), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(CWnd::FromHandlePermanent(frame->m_hWndMDIClient), &frame->m_wndClient);
  CRect client;
  frame->GetClientRect(&client);
  CRect tool = childRect(*frame, frame->m_wndToolBar.m_hWnd);
  CRect status = childRect(*frame, frame->m_wndStatusBar.m_hWnd);
  EXPECT_EQ(childRect(*frame, frame->m_hWndMDIClient), CRect(0, tool.bottom, client.right, status.top));
  // The subclassed client sees the framework's questions.
  int before = frame->m_wndClient.m_nGetActive;
  EXPECT_EQ(frame->MDIGetActive(), nullptr);
  EXPECT_EQ(frame->m_wndClient.m_nGetActive, before + 1);
  EXPECT_EQ(frame->GetActiveFrame(), frame);
}

TEST_F(Mdi, AnActiveChildsMenuTakesTheFramesMenuBar) {
  HMENU hDefault = frame->GetDefaultMenu();
  ASSERT_NE(hDefault, nullptr);
  EXPECT_EQ(::GetMenu(frame->m_hWnd), hDefault);
  ChildFrame* one = NewChild();
  EXPECT_EQ(frame->MDIGetActive(), one);
  EXPECT_TRUE(one->m_bActive);
  ASSERT_NE(one->m_hMenuShared, nullptr);
  EXPECT_EQ(::GetMenu(frame->m_hWnd), one->m_hMenuShared);
  EXPECT_EQ(one->GetMDIFrame(), frame);
  EXPECT_EQ(frame->GetActiveFrame(), one);
  // The window list lives in the child menu's window popup.
  HMENU hWindow = frame->GetWindowMenuPopup(one->m_hMenuShared);
  EXPECT_EQ(::GetMenuItemID(hWindow, 0), (UINT)ID_WINDOW_CASCADE);
  ChildFrame* two = NewChild();
  EXPECT_EQ(frame->MDIGetActive(), two);
  EXPECT_FALSE(one->m_bActive);
  EXPECT_EQ(::GetMenu(frame->m_hWnd), two->m_hMenuShared);
  frame->MDIActivate(one);
  EXPECT_EQ(frame->MDIGetActive(), one);
  EXPECT_EQ(::GetMenu(frame->m_hWnd), one->m_hMenuShared);
  // The last child going gives the frame its own menu back.
  one->MDIDestroy();
  EXPECT_EQ(frame->MDIGetActive(), two);
  two->SendMessage(WM_CLOSE);
  EXPECT_EQ(frame->MDIGetActive(), nullptr);
  EXPECT_EQ(::GetMenu(frame->m_hWnd), hDefault);
}

TEST_F(Mdi, CommandsGoToTheActiveChildThenTheFrameThenTheApplication) {
  struct Case {
    UINT nID;
    bool withChild;
    std::vector<std::string> expected;
  } cases[] = {
      {ID_FILE_SAVE, true, {"child:save"}},
      {ID_FILE_SAVE, false, {"frame:save"}},
      {ID_CHILD_ONLY, true, {"child:child"}},
      {ID_CHILD_ONLY, false, {"app:child"}},
      {ID_FRAME_AND_APP, true, {"frame:both"}},  // the frame before the application
      {ID_APP_ONLY, true, {"app:only"}},
  };
  for (const Case& c : cases) {
    ChildFrame* child = c.withChild ? NewChild() : nullptr;
    g_log.clear();
    frame->SendMessage(WM_COMMAND, c.nID, 0);
    EXPECT_EQ(g_log, c.expected) << c.nID << " child " << c.withChild;
    // Sent to the child itself: it, then the frame's chain.
    if (child) {
      g_log.clear();
      child->SendMessage(WM_COMMAND, c.nID, 0);
      EXPECT_EQ(g_log, c.expected) << c.nID << " to the child";
      child->MDIDestroy();
    }
  }
}

TEST_F(Mdi, WindowCommandsWorkOnlyWithAChild) {
  CMenu* pWindow = CMenu::FromHandle(frame->GetWindowMenuPopup(frame->GetDefaultMenu()));
  ASSERT_NE(pWindow, nullptr);
  frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)pWindow->m_hMenu, MAKELPARAM(3, FALSE));
  EXPECT_TRUE(pWindow->GetMenuState(ID_WINDOW_TILE_HORZ, MF_BYCOMMAND) & MF_GRAYED);
  ChildFrame* one = NewChild();
  ChildFrame* two = NewChild();
  CMenu* pChildWindow = CMenu::FromHandle(frame->GetWindowMenuPopup(two->m_hMenuShared));
  frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)pChildWindow->m_hMenu, MAKELPARAM(2, FALSE));
  EXPECT_FALSE(pChildWindow->GetMenuState(ID_WINDOW_TILE_HORZ, MF_BYCOMMAND) & MF_GRAYED);
  // Tiling puts the two children side by side over the client.
  frame->SendMessage(WM_COMMAND, ID_WINDOW_TILE_HORZ, 0);
  CRect r1, r2, client;
  ::GetClientRect(frame->m_hWndMDIClient, &client);
  r1 = childRect(frame->m_wndClient, one->m_hWnd);
  r2 = childRect(frame->m_wndClient, two->m_hWnd);
  EXPECT_FALSE(CRect().IntersectRect(&r1, &r2));
  EXPECT_EQ(r1.Width(), client.Width());
  // Maximised: the frame's title names the child; restored: not.
  frame->MDIMaximize(two);
  BOOL bMaximized = FALSE;
  EXPECT_EQ(frame->MDIGetActive(&bMaximized), two);
  EXPECT_TRUE(bMaximized);
  CString title;
  frame->GetWindowText(title);
  EXPECT_STREQ(title, "Frame Test - [Child]");
  frame->MDIRestore(two);
  frame->GetWindowText(title);
  EXPECT_EQ(title.Find("[Child]"), -1);
  frame->MDINext();
  EXPECT_EQ(frame->MDIGetActive(), one);
}

TEST_F(Mdi, PromptsComeFromTheActiveChildsFrame) {
  ChildFrame* child = NewChild();
  frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_CHILD_ONLY, MF_STRING), 0);
  EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(0), "Something only the child does");
  frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(0), "Ready");
  // A child made without an MDI frame fails cleanly.
  auto* orphan = new ChildFrame;
  app.m_pMainWnd = nullptr;
  EXPECT_FALSE(orphan->Create(nullptr, "orphan"));  // deletes itself
  app.m_pMainWnd = frame;
  child->MDIDestroy();
}

// --- the test application -------------------------------------------------------------

class NameDialog : public CDialog {
 public:
  NameDialog(CWnd* pParent) : CDialog(IDD_NAME, pParent) {}
  CString m_strName = "Nobody";
  int m_nCount = 3;
  HWND m_hOwnerSeen = nullptr;
  BOOL m_bFrameEnabledInside = TRUE;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_NAME_EDIT, m_strName);
    DDX_Text(pDX, IDC_COUNT_EDIT, m_nCount);
    DDV_MinMaxInt(pDX, m_nCount, 1, 10);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_hOwnerSeen = ::GetWindow(m_hWnd, GW_OWNER);
    m_bFrameEnabledInside = AfxGetMainWnd()->IsWindowEnabled();
    // What a person types: a new name, Tab, a new count, Enter.
    GetDlgItem(IDC_NAME_EDIT)->SetFocus();
    SendDlgItemMessage(IDC_NAME_EDIT, EM_SETSEL, 0, -1);
    win32::input::typeText("Alice");
    win32::input::keyPress(VK_TAB);
    win32::input::typeText("7");
    win32::input::keyPress(VK_RETURN);
    return FALSE;
  }
};

class ToolsDialog : public CDialog {
 public:
  ToolsDialog() = default;

 protected:
  // The buttons' commands go to the main frame's routing.
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) == ID_EDIT_COPY) {
      AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);
      return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
  }
};

TEST_F(Mdi, TheTestApplicationRunsItsDialogsAndShowsItsWindows) {
  ChildFrame* child = NewChild();
  child->SetWindowPos(nullptr, 10, 10, 300, 180, SWP_NOZORDER);
  // Modal dialog with data exchange, owned by the main frame (the routing
  // frame is the child: its top-level parent owns the dialog).
  NameDialog dlg(nullptr);
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_STREQ(dlg.m_strName, "Alice");
  EXPECT_EQ(dlg.m_nCount, 7);
  EXPECT_EQ(dlg.m_hOwnerSeen, frame->m_hWnd);
  EXPECT_FALSE(dlg.m_bFrameEnabledInside);
  EXPECT_TRUE(frame->IsWindowEnabled());
  // Modeless dialog: its button reaches the frame's routing (the active
  // child saves).
  ToolsDialog tools;
  ASSERT_TRUE(tools.Create(IDD_TOOLS, frame));
  tools.SetWindowPos(nullptr, 420, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  tools.ShowWindow(SW_SHOW);
  g_log.clear();
  HWND hCopy = ::GetDlgItem(tools.m_hWnd, ID_EDIT_COPY);
  win32::input::click(hCopy, 5, 5);
  win32::input::pumpMessages();
  EXPECT_EQ(g_log, std::vector<std::string>{"child:save"});
  // Tool bar: Save through the pointer goes to the child too.
  g_log.clear();
  CRect save;
  frame->m_wndToolBar.GetItemRect(1, &save);
  win32::input::click(frame->m_wndToolBar.m_hWnd, save.CenterPoint().x, save.CenterPoint().y);
  win32::input::pumpMessages();
  EXPECT_EQ(g_log, std::vector<std::string>{"child:save"});
  // Idle: indicators and buttons updated, then the picture.
  frame->SetMessageText("Ready for the picture");
  app.OnIdle(0);
  std::string path = std::string(KY_BIN_DIR) + "/afx_mdi_testapp.png";
  EXPECT_TRUE(win32::snapshot::saveWindowPng(frame->m_hWnd, path.c_str()));
  std::string toolsPath = std::string(KY_BIN_DIR) + "/afx_mdi_tools.png";
  EXPECT_TRUE(win32::snapshot::saveWindowPng(tools.m_hWnd, toolsPath.c_str()));
  // The status bar's face and the tool bar's first image (red) are there.
  CRect status;
  frame->m_wndStatusBar.GetWindowRect(&status);
  CRect window;
  frame->GetWindowRect(&window);
  EXPECT_EQ(win32::snapshot::windowPixel(frame->m_hWnd, status.left - window.left + 2, status.bottom - window.top - 2),
            ::GetSysColor(COLOR_BTNFACE));
  // Save (handled by the child) shows its green image; New has no handler
  // and is drawn disabled.
  auto buttonCentre = [&](int nIndex) {
    CRect button;
    frame->m_wndToolBar.GetItemRect(nIndex, &button);
    frame->m_wndToolBar.ClientToScreen(&button);
    return win32::snapshot::windowPixel(frame->m_hWnd, button.CenterPoint().x - window.left,
                                        button.CenterPoint().y - window.top);
  };
  EXPECT_TRUE(frame->m_wndToolBar.GetButtonStyle(0) & TBBS_DISABLED);
  EXPECT_EQ(buttonCentre(1), RGB(0, 128, 0));
  EXPECT_NE(buttonCentre(0), RGB(255, 0, 0));
  tools.DestroyWindow();
}

}  // namespace
