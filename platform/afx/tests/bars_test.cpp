// Control bars: the status bar's panes, the tool bar's buttons, clicks,
// check state, prompts and tips, and the dialog bar.
#include <afxext.h>

#include <internal/testinput.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "data/frames.h"

#include <vector>

namespace {

class App : public CWinApp {
 public:
  App() : CWinApp("Bars test") {}
};

class BarFrame : public CFrameWnd {
 public:
  CStatusBar m_wndStatusBar;
  CToolBar m_wndToolBar;
  CDialogBar m_wndDialogBar;
  std::vector<UINT> m_commands;
  BOOL m_bBold = FALSE;
  BOOL m_bCanCopy = TRUE;

 protected:
  afx_msg BOOL OnAnyCommand(UINT nID) {
    m_commands.push_back(nID);
    return TRUE;
  }
  afx_msg void OnUpdateBold(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bBold); }
  afx_msg void OnUpdateCopy(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bCanCopy); }
  afx_msg void OnBold() {
    m_commands.push_back(ID_SHOW_BOLD);
    m_bBold = !m_bBold;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(BarFrame, CFrameWnd)
  ON_COMMAND(ID_SHOW_BOLD, OnBold)
  ON_UPDATE_COMMAND_UI(ID_SHOW_BOLD, OnUpdateBold)
  ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateCopy)
  ON_COMMAND_EX(ID_FILE_NEW, OnAnyCommand)
  ON_COMMAND_EX(ID_FILE_SAVE, OnAnyCommand)
  ON_COMMAND_EX(ID_EDIT_COPY, OnAnyCommand)
  ON_COMMAND_EX(ID_BAR_GO, OnAnyCommand)
END_MESSAGE_MAP()

class Bars : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new BarFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME));
    frame->SetWindowPos(nullptr, 0, 0, 500, 300, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    app.m_pMainWnd = frame;
  }
  void TearDown() override {
    app.m_pMainWnd = nullptr;
    frame->DestroyWindow();
    win32::input::pumpMessages();
  }
  CToolBar& MakeToolBar(DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_FLYBY | CBRS_TOOLTIPS) {
    EXPECT_TRUE(frame->m_wndToolBar.Create(frame, dwStyle));
    EXPECT_TRUE(frame->m_wndToolBar.LoadToolBar(IDR_MAINFRAME));
    frame->RecalcLayout();
    return frame->m_wndToolBar;
  }
  CStatusBar& MakeStatusBar() {
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
    EXPECT_TRUE(frame->m_wndStatusBar.Create(frame));
    EXPECT_TRUE(frame->m_wndStatusBar.SetIndicators(indicators, 3));
    frame->RecalcLayout();
    return frame->m_wndStatusBar;
  }
  // The centre of tool bar button nIndex.
  CPoint ButtonCentre(int nIndex) {
    CRect rect;
    frame->m_wndToolBar.GetItemRect(nIndex, &rect);
    return rect.CenterPoint();
  }

  App app;
  BarFrame* frame = nullptr;
};

TEST_F(Bars, StatusBarPanesAreAsWideAsTheirTextAndTheSeparatorStretches) {
  CStatusBar& bar = MakeStatusBar();
  EXPECT_EQ(::GetDlgCtrlID(bar.m_hWnd), AFX_IDW_STATUS_BAR);
  EXPECT_EQ(bar.CommandToIndex(ID_INDICATOR_NUM), 2);
  EXPECT_EQ(bar.CommandToIndex(ID_INDICATOR_SCRL), -1);
  EXPECT_EQ(bar.GetItemID(1), (UINT)ID_INDICATOR_CAPS);
  UINT nID, nStyle;
  int cxCap, cxNum;
  bar.GetPaneInfo(1, nID, nStyle, cxCap);
  bar.GetPaneInfo(2, nID, nStyle, cxNum);
  EXPECT_GT(cxCap, 0);
  EXPECT_LT(cxCap, cxNum + 1);  // "CAP" is not wider than "NUM"
  bar.GetPaneInfo(0, nID, nStyle, cxCap);
  EXPECT_EQ(nID, (UINT)ID_SEPARATOR);
  EXPECT_EQ(nStyle, (UINT)(SBPS_NOBORDERS | SBPS_STRETCH));
  CRect client, pane0, pane1, pane2;
  bar.GetClientRect(&client);
  bar.GetItemRect(0, &pane0);
  bar.GetItemRect(1, &pane1);
  bar.GetItemRect(2, &pane2);
  // Indicators keep their width; the message pane takes the rest.
  EXPECT_LT(pane0.right, pane1.left);
  EXPECT_LT(pane1.right, pane2.left);
  EXPECT_GT(pane0.Width(), client.Width() / 2);
  int cx0 = pane0.Width();
  frame->SetWindowPos(nullptr, 0, 0, 600, 300, SWP_NOMOVE | SWP_NOZORDER);
  bar.GetItemRect(0, &pane0);
  CRect pane1After;
  bar.GetItemRect(1, &pane1After);
  EXPECT_EQ(pane0.Width(), cx0 + 100);
  EXPECT_EQ(pane1After.Width(), pane1.Width());
}

TEST_F(Bars, StatusBarTextsAndPaneInfoWithBadIndexes) {
  CStatusBar& bar = MakeStatusBar();
  EXPECT_TRUE(bar.SetPaneText(0, "Hello"));
  EXPECT_STREQ(bar.GetPaneText(0), "Hello");
  CString text;
  bar.GetWindowText(text);
  EXPECT_STREQ(text, "Hello");  // the window text is the message pane
  bar.SetWindowText("Via text");
  EXPECT_STREQ(bar.GetPaneText(0), "Via text");
  EXPECT_TRUE(bar.SetPaneText(2, nullptr));
  EXPECT_STREQ(bar.GetPaneText(2), "");
  for (int bad : {-1, 3, 1000}) {
    EXPECT_FALSE(bar.SetPaneText(bad, "x"));
    EXPECT_STREQ(bar.GetPaneText(bad), "");
    UINT nID = 7, nStyle = 7;
    int cx = 7;
    bar.GetPaneInfo(bad, nID, nStyle, cx);
    EXPECT_EQ(nID, 0u);
    bar.SetPaneInfo(bad, 1, 1, 1);  // ignored
  }
  bar.SetPaneInfo(1, 4242, SBPS_POPOUT, 80);
  UINT nID, nStyle;
  int cx;
  bar.GetPaneInfo(1, nID, nStyle, cx);
  EXPECT_EQ(nID, 4242u);
  EXPECT_EQ(nStyle, (UINT)SBPS_POPOUT);
  EXPECT_EQ(cx, 80);
  // An indicator without a string leaves its pane, empty, and says so.
  const UINT withMissing[] = {ID_SEPARATOR, ID_NOBODY};
  EXPECT_FALSE(bar.SetIndicators(withMissing, 2));
  EXPECT_EQ(bar.CommandToIndex(ID_NOBODY), 1);
  EXPECT_STREQ(bar.GetPaneText(1), "");
  EXPECT_FALSE(bar.SetIndicators(nullptr, 2));
}

TEST_F(Bars, ToolBarLoadsButtonsAndLaysThemOut) {
  CToolBar& bar = MakeToolBar();
  EXPECT_EQ(bar.GetCount(), 6);
  const UINT expected[] = {ID_FILE_NEW, ID_FILE_SAVE, ID_SEPARATOR, ID_EDIT_COPY, ID_SHOW_BOLD, ID_PLAIN_TIP};
  for (int i = 0; i < 6; i++) EXPECT_EQ(bar.GetItemID(i), expected[i]) << i;
  EXPECT_EQ(bar.CommandToIndex(ID_EDIT_COPY), 3);
  EXPECT_EQ(bar.CommandToIndex(ID_NOBODY), -1);
  UINT nID, nStyle;
  int iImage;
  bar.GetButtonInfo(2, nID, nStyle, iImage);
  EXPECT_EQ(nStyle, (UINT)TBBS_SEPARATOR);
  bar.GetButtonInfo(3, nID, nStyle, iImage);
  EXPECT_EQ(iImage, 2);  // separators take no image
  CRect b0, b1, sep, b3;
  bar.GetItemRect(0, &b0);
  bar.GetItemRect(1, &b1);
  bar.GetItemRect(2, &sep);
  bar.GetItemRect(3, &b3);
  EXPECT_EQ(b0.Size(), CSize(23, 22));
  EXPECT_EQ(b1.left, b0.right);
  EXPECT_EQ(sep.left, b1.right);
  EXPECT_EQ(b3.left, sep.right);
  EXPECT_EQ(sep.Width(), 8);
  // SetButtonInfo turns a slot into another button.
  bar.SetButtonInfo(5, ID_FILE_SAVE, TBBS_BUTTON, 1);
  EXPECT_EQ(bar.GetItemID(5), (UINT)ID_FILE_SAVE);
  CRect bad;
  bar.GetItemRect(99, &bad);
  EXPECT_TRUE(bad.IsRectEmpty());
  // A vertical bar stacks the buttons.
  bar.SetBarStyle((bar.GetBarStyle() & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_LEFT);
  bar.GetItemRect(1, &b1);
  bar.GetItemRect(0, &b0);
  EXPECT_EQ(b1.top, b0.bottom);
  EXPECT_EQ(b1.left, b0.left);
}

TEST_F(Bars, ClickingAButtonSendsItsCommandToTheFrame) {
  CToolBar& bar = MakeToolBar();
  win32::input::click(bar.m_hWnd, ButtonCentre(0).x, ButtonCentre(0).y);
  win32::input::pumpMessages();
  EXPECT_EQ(frame->m_commands, std::vector<UINT>{ID_FILE_NEW});
  // Pressed and released elsewhere: nothing.
  frame->m_commands.clear();
  CPoint p1 = ButtonCentre(1);
  win32::input::drag(bar.m_hWnd, p1.x, p1.y, p1.x + 100, p1.y);
  win32::input::pumpMessages();
  EXPECT_TRUE(frame->m_commands.empty());
  EXPECT_FALSE(bar.GetButtonStyle(1) & TBBS_PRESSED);
  // A button its update handler disables does nothing.
  frame->m_bCanCopy = FALSE;
  app.OnIdle(0);
  EXPECT_TRUE(bar.GetButtonStyle(3) & TBBS_DISABLED);
  win32::input::click(bar.m_hWnd, ButtonCentre(3).x, ButtonCentre(3).y);
  win32::input::pumpMessages();
  EXPECT_TRUE(frame->m_commands.empty());
  frame->m_bCanCopy = TRUE;
  app.OnIdle(0);
  EXPECT_FALSE(bar.GetButtonStyle(3) & TBBS_DISABLED);
}

TEST_F(Bars, CheckStateFollowsTheUpdateHandler) {
  CToolBar& bar = MakeToolBar();
  app.OnIdle(0);
  EXPECT_FALSE(bar.GetButtonStyle(4) & TBBS_CHECKED);
  win32::input::click(bar.m_hWnd, ButtonCentre(4).x, ButtonCentre(4).y);
  win32::input::pumpMessages();
  app.OnIdle(0);
  EXPECT_TRUE(frame->m_bBold);
  EXPECT_TRUE(bar.GetButtonStyle(4) & TBBS_CHECKED);
  frame->m_bBold = FALSE;
  app.OnIdle(0);
  EXPECT_FALSE(bar.GetButtonStyle(4) & TBBS_CHECKED);
  // A hidden bar is not updated.
  frame->ShowControlBar(&bar, FALSE, FALSE);
  frame->m_bBold = TRUE;
  app.OnIdle(0);
  EXPECT_FALSE(bar.GetButtonStyle(4) & TBBS_CHECKED);
}

TEST_F(Bars, PointerOverAButtonShowsItsPromptAndTip) {
  MakeStatusBar();
  CToolBar& bar = MakeToolBar();
  struct Case {
    int nIndex;
    const char* prompt;
    const char* tip;
  } cases[] = {
      {0, "Create a new document", "New"},
      {3, "Copy the selection", "Copy"},
      {5, "Plain tip", "Plain tip"},  // no '\n': the string whole
  };
  for (const Case& c : cases) {
    CPoint pt = ButtonCentre(c.nIndex);
    win32::input::mouseMove(bar.m_hWnd, pt.x, pt.y);
    win32::input::pumpMessages();
    EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(0), c.prompt);
    EXPECT_STREQ(bar.m_strTipText, c.tip);
  }
  // The tip window shows the tip once the pointer rests.
  ASSERT_NE(bar.m_hWndToolTip, nullptr);
  ::SendMessageA(bar.m_hWndToolTip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
  CPoint pt0 = ButtonCentre(0);
  win32::input::mouseMove(bar.m_hWnd, pt0.x, pt0.y);
  win32::input::pumpMessages();
  ::Sleep(30);
  win32::input::pumpMessages();
  EXPECT_TRUE(::IsWindowVisible(bar.m_hWndToolTip));
  char shown[64] = {};
  ::GetWindowTextA(bar.m_hWndToolTip, shown, sizeof shown);
  EXPECT_STREQ(shown, "New");
  // Off the buttons (the separator): the idle text, no tip.
  CPoint gap = ButtonCentre(2);
  win32::input::mouseMove(bar.m_hWnd, gap.x, gap.y);
  win32::input::pumpMessages();
  EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(0), "Ready");
  EXPECT_STREQ(bar.m_strTipText, "");
  // Without CBRS_FLYBY the status bar is left alone.
  bar.SetBarStyle(bar.GetBarStyle() & ~CBRS_FLYBY);
  win32::input::mouseMove(bar.m_hWnd, ButtonCentre(0).x, ButtonCentre(0).y);
  win32::input::pumpMessages();
  EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(0), "Ready");
  EXPECT_STREQ(bar.m_strTipText, "New");
}

TEST_F(Bars, DialogBarComesFromItsTemplateAndItsCommandsReachTheFrame) {
  CDialogBar& bar = frame->m_wndDialogBar;
  ASSERT_TRUE(bar.Create(frame, IDD_BAR, CBRS_TOP | WS_VISIBLE, 0xE810));
  frame->RecalcLayout();
  EXPECT_EQ(::GetParent(bar.m_hWnd), frame->m_hWnd);
  EXPECT_TRUE(bar.GetStyle() & WS_CHILD);
  EXPECT_GT(bar.m_sizeDefault.cy, 0);
  CRect rect;
  bar.GetWindowRect(&rect);
  frame->ScreenToClient(&rect);
  CRect client;
  frame->GetClientRect(&client);
  EXPECT_EQ(rect, CRect(0, 0, client.right, bar.m_sizeDefault.cy));
  HWND hGo = ::GetDlgItem(bar.m_hWnd, ID_BAR_GO);
  ASSERT_NE(hGo, nullptr);
  win32::input::click(hGo, 5, 5);
  win32::input::pumpMessages();
  EXPECT_EQ(frame->m_commands, std::vector<UINT>{ID_BAR_GO});
  // A template that is not there: FALSE, nothing made.
  CDialogBar missing;
  EXPECT_FALSE(missing.Create(frame, 9999, CBRS_TOP, 0xE811));
  EXPECT_EQ(missing.m_hWnd, nullptr);
}

}  // namespace
