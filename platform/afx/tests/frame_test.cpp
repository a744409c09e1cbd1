// CFrameWnd: loading from one resource id, the layout of bars and view,
// command routing, menu updates, status prompts, key indicators, help,
// the modal state and the owner of a command's message boxes.
#include <afxext.h>

#include <internal/testinput.h>
#include <internal/userscript.h>

#include <gtest/gtest.h>

#include "afxstate.h"
#include "data/frames.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;  // who handled what, in order

class App : public CWinApp {
 public:
  App() : CWinApp("Frame test") {}

 protected:
  afx_msg void OnAppOnly() { g_log.push_back("app:only"); }
  afx_msg void OnFrameAndApp() { g_log.push_back("app:both"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(App, CWinApp)
  ON_COMMAND(ID_APP_ONLY, OnAppOnly)
  ON_COMMAND(ID_FRAME_AND_APP, OnFrameAndApp)
END_MESSAGE_MAP()

class View : public CWnd {
 public:
  BOOL m_bCanCopy = TRUE;

 protected:
  afx_msg void OnCopy() { g_log.push_back("view:copy"); }
  afx_msg void OnUpdateCopy(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bCanCopy); }
  afx_msg void OnSave() { g_log.push_back("view:save"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(View, CWnd)
  ON_COMMAND(ID_EDIT_COPY, OnCopy)
  ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateCopy)
END_MESSAGE_MAP()

class MainFrame : public CFrameWnd {
 public:
  CStatusBar m_wndStatusBar;
  CToolBar m_wndToolBar;
  View m_wndView;
  BOOL m_bBold = TRUE;
  BOOL m_bAskOnSave = FALSE;

  BOOL MakeBars() {
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    if (!m_wndToolBar.Create(this) || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME)) return FALSE;
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 4)) return FALSE;
    if (!m_wndView.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST))
      return FALSE;
    SetActiveView(&m_wndView);
    RecalcLayout();
    return TRUE;
  }

 protected:
  afx_msg void OnNew() { g_log.push_back("frame:new"); }
  afx_msg void OnSave() {
    g_log.push_back("frame:save");
    if (m_bAskOnSave) AfxMessageBox("Save now?", MB_YESNO);
  }
  afx_msg void OnFrameAndApp() { g_log.push_back("frame:both"); }
  afx_msg void OnBold() { m_bBold = !m_bBold; }
  afx_msg void OnUpdateBold(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bBold); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(MainFrame, CFrameWnd)
  ON_COMMAND(ID_FILE_NEW, OnNew)
  ON_COMMAND(ID_FILE_SAVE, OnSave)
  ON_COMMAND(ID_FRAME_AND_APP, OnFrameAndApp)
  ON_COMMAND(ID_SHOW_BOLD, OnBold)
  ON_UPDATE_COMMAND_UI(ID_SHOW_BOLD, OnUpdateBold)
END_MESSAGE_MAP()

CRect childRect(CWnd& parent, CWnd& child) {
  CRect rect;
  child.GetWindowRect(&rect);
  parent.ScreenToClient(&rect);
  return rect;
}

class Frame : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    win32::script::clearMessageBoxAnswers();
    win32::script::clearMessageBoxLog();
    CWinApp::ClearHelpRequests();
    frame = new MainFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    ASSERT_TRUE(frame->MakeBars());
    frame->SetWindowPos(nullptr, 10, 10, 400, 300, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    app.m_pMainWnd = frame;
  }
  void TearDown() override {
    if (app.m_pMainWnd) {
      app.m_pMainWnd = nullptr;
      frame->DestroyWindow();  // the frame deletes itself
    }
    win32::input::pumpMessages();
  }
  // One idle turn of the application: the frame and its bars update.
  void Idle() { app.OnIdle(0); }

  App app;
  MainFrame* frame = nullptr;
};

TEST_F(Frame, LoadFrameTakesMenuKeysAndTitleFromOneId) {
  Idle();
  CString title;
  frame->GetWindowText(title);
  EXPECT_STREQ(title, "Frame Test");
  EXPECT_STREQ(frame->GetTitle(), "Frame Test");
  CMenu* pMenu = frame->GetMenu();
  ASSERT_NE(pMenu, nullptr);
  EXPECT_EQ(pMenu->GetMenuItemCount(), 5u);
  EXPECT_EQ(frame->GetDefaultMenu(), pMenu->m_hMenu);
  EXPECT_EQ(frame->m_nIDHelp, (UINT)IDR_MAINFRAME);
  // Ctrl+N through the thread's pre-translation reaches the frame's map.
  frame->SetFocus();
  win32::input::chord('N', false, true);
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!app.PreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  EXPECT_EQ(g_log, std::vector<std::string>{"frame:new"});
}

TEST_F(Frame, LoadFrameToleratesMissingParts) {
  struct Case {
    UINT nID;
    const char* title;
  } cases[] = {{IDR_BARE, "Bare Frame"}, {999, ""}};
  for (const Case& c : cases) {
    auto* bare = new CFrameWnd;
    ASSERT_TRUE(bare->LoadFrame(c.nID, WS_OVERLAPPEDWINDOW)) << c.nID;
    CString title;
    bare->GetWindowText(title);
    EXPECT_STREQ(title, c.title);
    EXPECT_EQ(::GetMenu(bare->m_hWnd), nullptr);
    EXPECT_EQ(bare->GetDefaultAccelerator(), nullptr);
    bare->DestroyWindow();
  }
}

TEST_F(Frame, RecalcLayoutDocksBarsAtTheEdgesAndTheViewFillsTheRest) {
  CRect client;
  frame->GetClientRect(&client);
  CRect tool = childRect(*frame, frame->m_wndToolBar);
  CRect status = childRect(*frame, frame->m_wndStatusBar);
  CRect view = childRect(*frame, frame->m_wndView);
  EXPECT_EQ(tool.TopLeft(), CPoint(0, 0));
  EXPECT_EQ(tool.Width(), client.Width());
  EXPECT_EQ(tool.Height(), frame->m_wndToolBar.CalcFixedLayout(TRUE, TRUE).cy);
  EXPECT_EQ(status.bottom, client.bottom);
  EXPECT_EQ(status.Width(), client.Width());
  EXPECT_EQ(view, CRect(0, tool.bottom, client.right, status.top));
  EXPECT_EQ(frame->GetPane(), &frame->m_wndView);

  // Hiding a bar gives its room to the view; the frame's borders stay free.
  frame->ShowControlBar(&frame->m_wndStatusBar, FALSE, FALSE);
  EXPECT_EQ(childRect(*frame, frame->m_wndView).bottom, client.bottom);
  frame->m_rectBorder = CRect(3, 4, 5, 6);
  frame->RecalcLayout();
  EXPECT_EQ(childRect(*frame, frame->m_wndView), CRect(3, tool.bottom + 4, client.right - 5, client.bottom - 6));
  // Resizing the frame lays out again.
  frame->m_rectBorder = CRect(0, 0, 0, 0);
  frame->SetWindowPos(nullptr, 0, 0, 500, 350, SWP_NOMOVE | SWP_NOZORDER);
  frame->GetClientRect(&client);
  EXPECT_EQ(childRect(*frame, frame->m_wndToolBar).Width(), client.Width());
  EXPECT_EQ(childRect(*frame, frame->m_wndView).bottom, client.bottom);
}

TEST_F(Frame, RepositionBarsQueryMovesNothing) {
  CRect before = childRect(*frame, frame->m_wndView);
  CRect rest;
  frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rest, CRect(0, 0, 200, 100));
  EXPECT_EQ(rest.top, frame->m_wndToolBar.CalcFixedLayout(TRUE, TRUE).cy);
  EXPECT_EQ(rest.bottom, 100 - childRect(*frame, frame->m_wndStatusBar).Height());
  EXPECT_EQ(childRect(*frame, frame->m_wndView), before);
}

TEST_F(Frame, CommandsGoToTheViewThenTheFrameThenTheApplication) {
  struct Case {
    UINT nID;
    std::vector<std::string> expected;
  } cases[] = {
      {ID_EDIT_COPY, {"view:copy"}},
      {ID_FILE_SAVE, {"frame:save"}},
      {ID_FRAME_AND_APP, {"frame:both"}},
      {ID_APP_ONLY, {"app:only"}},
      {ID_NOBODY, {}},
  };
  for (const Case& c : cases) {
    g_log.clear();
    frame->SendMessage(WM_COMMAND, c.nID, 0);
    EXPECT_EQ(g_log, c.expected) << c.nID;
  }
  // A command whose update handler disables it is not carried out.
  frame->m_wndView.m_bCanCopy = FALSE;
  g_log.clear();
  frame->SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
  EXPECT_TRUE(g_log.empty());
}

TEST_F(Frame, MenuItemsFollowTheUpdateHandlersWhenThePopupOpens) {
  CMenu* pEdit = frame->GetMenu()->GetSubMenu(1);
  ASSERT_NE(pEdit, nullptr);
  auto state = [&](UINT nID) { return pEdit->GetMenuState(nID, MF_BYCOMMAND); };
  struct Case {
    BOOL bAutoMenuEnable;
    BOOL bCanCopy;
    UINT copy, paste, nobody;
  } cases[] = {
      {TRUE, TRUE, MF_ENABLED, MF_GRAYED, MF_GRAYED},    // no handler: greyed
      {TRUE, FALSE, MF_GRAYED, MF_GRAYED, MF_GRAYED},
      {FALSE, TRUE, MF_ENABLED, MF_ENABLED, MF_ENABLED},  // left alone
  };
  for (const Case& c : cases) {
    pEdit->EnableMenuItem(ID_EDIT_PASTE, MF_ENABLED);
    pEdit->EnableMenuItem(ID_NOBODY, MF_ENABLED);
    frame->m_bAutoMenuEnable = c.bAutoMenuEnable;
    frame->m_wndView.m_bCanCopy = c.bCanCopy;
    frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)pEdit->m_hMenu, MAKELPARAM(1, FALSE));
    EXPECT_EQ(state(ID_EDIT_COPY) & MF_GRAYED, c.copy);
    EXPECT_EQ(state(ID_EDIT_PASTE) & MF_GRAYED, c.paste);
    EXPECT_EQ(state(ID_NOBODY) & MF_GRAYED, c.nobody);
  }
  // The check mark follows the handler.
  frame->m_bBold = TRUE;
  frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)pEdit->m_hMenu, MAKELPARAM(1, FALSE));
  EXPECT_TRUE(state(ID_SHOW_BOLD) & MF_CHECKED);
  frame->m_bBold = FALSE;
  frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)pEdit->m_hMenu, MAKELPARAM(1, FALSE));
  EXPECT_FALSE(state(ID_SHOW_BOLD) & MF_CHECKED);
  // The View menu checks the bars that are shown.
  CMenu* pView = frame->GetMenu()->GetSubMenu(2);
  frame->ShowControlBar(&frame->m_wndToolBar, FALSE, FALSE);
  frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)pView->m_hMenu, MAKELPARAM(2, FALSE));
  EXPECT_FALSE(pView->GetMenuState(ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(pView->GetMenuState(ID_VIEW_STATUS_BAR, MF_BYCOMMAND) & MF_CHECKED);
  // ... and the command toggles them.
  frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR, 0);
  EXPECT_TRUE(frame->m_wndToolBar.IsVisible());
}

TEST_F(Frame, MenuSelectionShowsThePromptAndClosingTheIdleText) {
  struct Step {
    UINT nItemID;
    UINT nFlags;
    HMENU hMenu;
    const char* expected;
  } steps[] = {
      {ID_FILE_NEW, MF_STRING, nullptr, "Create a new document"},
      {ID_EDIT_COPY, MF_STRING, nullptr, "Copy the selection"},
      {ID_NOBODY, MF_STRING, nullptr, ""},  // no string: an empty prompt
      {0, MF_POPUP, nullptr, ""},
      {0, 0xFFFF, nullptr, "Ready"},
  };
  for (const Step& s : steps) {
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(s.nItemID, s.nFlags), (LPARAM)s.hMenu);
    EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(0), s.expected) << s.nItemID;
  }
  // Text and ids straight through SetMessageText; the status bar's window
  // text is its message pane.
  frame->SetMessageText("Working");
  CString text;
  frame->m_wndStatusBar.GetWindowText(text);
  EXPECT_STREQ(text, "Working");
  frame->SetMessageText(AFX_IDS_IDLEMESSAGE);
  EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(0), "Ready");
  CString prompt;
  frame->GetMessageString(ID_FILE_SAVE, prompt);
  EXPECT_STREQ(prompt, "Save the active document");
  frame->GetMessageString(ID_PLAIN_TIP, prompt);
  EXPECT_STREQ(prompt, "Plain tip");
}

TEST_F(Frame, APoppedPromptComesBackUnlessTheFrameRefusesPops) {
  frame->SetMessageText(ID_EDIT_COPY);
  frame->SetMessageText("Working");
  // The answer is the id shown before, as for WM_SETMESSAGESTRING.
  EXPECT_EQ(frame->SendMessage(WM_POPMESSAGESTRING, ID_FILE_NEW), 0);
  EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(0), "Create a new document");
  frame->m_nFlags |= WF_NOPOPMSG;
  EXPECT_EQ(frame->SendMessage(WM_POPMESSAGESTRING, ID_EDIT_COPY), 0);
  EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(0), "Create a new document");
  frame->m_nFlags &= ~WF_NOPOPMSG;
  EXPECT_EQ(frame->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE), (LRESULT)ID_FILE_NEW);
  EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(0), "Ready");
}

TEST_F(Frame, KeyIndicatorsShowWhileTheirKeyIsToggled) {
  CStatusBar& bar = frame->m_wndStatusBar;
  auto shown = [&](UINT nID) { return (bar.GetPaneStyle(bar.CommandToIndex(nID)) & SBPS_DISABLED) == 0; };
  const bool capsWasOn = (::GetKeyState(VK_CAPITAL) & 1) != 0;
  Idle();
  EXPECT_EQ(shown(ID_INDICATOR_CAPS), capsWasOn);
  win32::input::keyPress(VK_CAPITAL);
  win32::input::pumpMessages();
  Idle();
  EXPECT_EQ(shown(ID_INDICATOR_CAPS), !capsWasOn);
  EXPECT_EQ(shown(ID_INDICATOR_NUM), (::GetKeyState(VK_NUMLOCK) & 1) != 0);
  EXPECT_STREQ(bar.GetPaneText(bar.CommandToIndex(ID_INDICATOR_CAPS)), "CAP");
  win32::input::keyPress(VK_CAPITAL);
  win32::input::pumpMessages();
  Idle();
  EXPECT_EQ(shown(ID_INDICATOR_CAPS), capsWasOn);
}

TEST_F(Frame, HelpAsksForTheTrackedCommandElseTheFrame) {
  EXPECT_EQ(frame->SendMessage(WM_HELPHITTEST), (LRESULT)(HID_BASE_RESOURCE + IDR_MAINFRAME));
  frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_FILE_SAVE, MF_STRING), 0);
  EXPECT_TRUE(frame->SendMessage(WM_COMMANDHELP));
  frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_TRUE(frame->SendMessage(WM_COMMANDHELP));
  EXPECT_TRUE(frame->SendMessage(WM_COMMANDHELP, 0, 0x1234));
  auto requests = CWinApp::GetHelpRequests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].dwData, HID_BASE_COMMAND + ID_FILE_SAVE);
  EXPECT_EQ(requests[1].dwData, HID_BASE_RESOURCE + IDR_MAINFRAME);
  EXPECT_EQ(requests[2].dwData, 0x1234u);
  EXPECT_EQ(requests[0].nCmd, (UINT)HELP_CONTEXT);
}

TEST_F(Frame, ModalStateDisablesTheFrameAndItsPopupsUntilTheLastEnd) {
  CWnd popup;
  ASSERT_TRUE(popup.CreateEx(0, nullptr, "tool", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, frame->m_hWnd, nullptr));
  CWnd stranger;  // not the frame's
  ASSERT_TRUE(stranger.CreateEx(0, nullptr, "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr));
  frame->BeginModalState();
  frame->BeginModalState();
  EXPECT_TRUE(frame->InModalState());
  EXPECT_FALSE(frame->IsWindowEnabled());
  EXPECT_FALSE(popup.IsWindowEnabled());
  EXPECT_TRUE(stranger.IsWindowEnabled());
  frame->EndModalState();
  EXPECT_FALSE(frame->IsWindowEnabled());
  frame->EndModalState();
  EXPECT_TRUE(frame->IsWindowEnabled());
  EXPECT_TRUE(popup.IsWindowEnabled());
  EXPECT_FALSE(frame->InModalState());
  frame->EndModalState();  // unbalanced: harmless
  EXPECT_TRUE(frame->IsWindowEnabled());
}

TEST_F(Frame, ACommandsMessageBoxIsOwnedByTheFrameRoutingIt) {
  // A second top-level frame, not the main window.
  auto* other = new MainFrame;
  ASSERT_TRUE(other->LoadFrame(IDR_MAINFRAME));
  other->m_bAskOnSave = TRUE;
  win32::script::pushMessageBoxAnswer(IDNO);
  other->SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);
  auto boxes = win32::script::messageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].owner, other->m_hWnd);
  EXPECT_EQ(AfxGetRoutingFrame(), nullptr);  // routing is over
  // Outside routing the main window owns it.
  win32::script::clearMessageBoxLog();
  win32::script::pushMessageBoxAnswer(IDOK);
  AfxMessageBox("Plain");
  boxes = win32::script::messageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].owner, frame->m_hWnd);
  // GetSafeOwner with pWndTop disables the top window above a child owner.
  HWND hTop = nullptr;
  CWnd* pOwner = CWnd::GetSafeOwner(&frame->m_wndView, &hTop);
  EXPECT_EQ(pOwner, frame);
  EXPECT_EQ(hTop, nullptr);  // the owner itself is never disabled
  other->DestroyWindow();
}

TEST_F(Frame, ClosingTheMainFrameEndsTheApplication) {
  win32::input::pumpMessages();
  MSG msg;
  HWND hWnd = frame->m_hWnd;
  frame->SendMessage(WM_CLOSE);
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.message, (UINT)WM_QUIT);
}

}  // namespace
