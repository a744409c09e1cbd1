// CWinThread/CWinApp: the message loop's idle turns, WM_IDLEUPDATECMDUI to
// the main window and its framework descendants, thread messages, the end
// of the loop on WM_QUIT (its code is the result) or with the main window,
// and command user-interface updates of controls.
#include <afxwin.h>

#include "afxstate.h"

#include <internal/testinput.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

class UpdateCounter : public CWnd {
 public:
  int m_nUpdates = 0;
  WPARAM m_lastFlag = 0;

 protected:
  afx_msg LRESULT OnIdleUpdate(WPARAM wParam, LPARAM) {
    ++m_nUpdates;
    m_lastFlag = wParam;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(UpdateCounter, CWnd)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

std::vector<UINT>& rawMessages() {
  static std::vector<UINT> log;
  return log;
}
LRESULT CALLBACK rawProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_IDLEUPDATECMDUI) rawMessages().push_back(message);
  return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

const char* rawClass() {
  static bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = rawProc;
    wc.lpszClassName = "AfxIdleRaw";
    return ::RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return "AfxIdleRaw";
}

class LoopApp : public CWinApp {
 public:
  LoopApp() : CWinApp("loop") {}
  std::vector<LONG> m_idleCounts;
  int m_nQuitAfterIdle = -1;  // post WM_QUIT(code) at this many idle calls
  int m_nQuitCode = 0;
  int m_nWakeAfterIdle = -1;  // post a thread message at this many idle calls
  std::vector<WPARAM> m_threadMessages;

  BOOL OnIdle(LONG lCount) override {
    m_idleCounts.push_back(lCount);
    if ((int)m_idleCounts.size() == m_nQuitAfterIdle) ::PostQuitMessage(m_nQuitCode);
    if ((int)m_idleCounts.size() == m_nWakeAfterIdle) ::PostThreadMessageA(::GetCurrentThreadId(), WM_APP + 1, 9, 0);
    return CWinApp::OnIdle(lCount);
  }

 protected:
  afx_msg void OnThreadPing(WPARAM wParam, LPARAM) { m_threadMessages.push_back(wParam); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(LoopApp, CWinApp)
  ON_THREAD_MESSAGE(WM_APP + 1, OnThreadPing)
END_MESSAGE_MAP()

TEST(Loop, EndsOnWmQuitWithItsCode) {
  LoopApp app;
  EXPECT_EQ(AfxGetApp(), &app);
  EXPECT_EQ(AfxGetThread(), &app);
  app.m_nQuitAfterIdle = 1;
  app.m_nQuitCode = 17;
  EXPECT_EQ(app.Run(), 17);
  EXPECT_EQ(app.ExitInstance(), 17);
}

TEST(Loop, IdleTurnsCountUpAndStartAgainAfterAMessage) {
  LoopApp app;
  // Turn 0 updates the interface, turn 1 frees temporaries and ends the
  // idle time; a message starts it again at 0.
  ::PostThreadMessageA(::GetCurrentThreadId(), WM_APP + 1, 5, 0);
  app.m_nQuitAfterIdle = 2;
  app.m_nQuitCode = 3;
  EXPECT_EQ(app.Run(), 3);
  // The thread message came first (it was waiting), then idle 0 and 1.
  EXPECT_EQ(app.m_threadMessages, std::vector<WPARAM>{5});
  EXPECT_EQ(app.m_idleCounts, (std::vector<LONG>{0, 1}));

  // A message after the idle time ended starts it again from 0.
  app.m_idleCounts.clear();
  app.m_threadMessages.clear();
  app.m_nWakeAfterIdle = 2;
  app.m_nQuitAfterIdle = 4;
  app.m_nQuitCode = 4;
  EXPECT_EQ(app.Run(), 4);
  EXPECT_EQ(app.m_idleCounts, (std::vector<LONG>{0, 1, 0, 1}));
  EXPECT_EQ(app.m_threadMessages, std::vector<WPARAM>{9});
}

TEST(Loop, IdleUpdatesGoToTheVisibleMainWindowAndItsFrameworkDescendants) {
  LoopApp app;
  UpdateCounter main, child, grandchild;
  ASSERT_TRUE(main.CreateEx(0, nullptr, "main", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
  ASSERT_TRUE(child.Create(nullptr, "child", WS_VISIBLE, CRect(0, 0, 50, 50), &main, 1));
  ASSERT_TRUE(grandchild.Create(nullptr, "grand", WS_VISIBLE, CRect(0, 0, 20, 20), &child, 2));
  HWND raw = ::CreateWindowExA(0, rawClass(), "", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, main.m_hWnd, nullptr, nullptr, nullptr);
  app.m_pMainWnd = &main;
  rawMessages().clear();

  EXPECT_TRUE(app.OnIdle(0));  // hidden main window: nothing to update
  EXPECT_EQ(main.m_nUpdates, 0);

  main.ShowWindow(SW_SHOWNA);
  EXPECT_TRUE(app.OnIdle(0));
  EXPECT_EQ(main.m_nUpdates, 1);
  EXPECT_EQ(main.m_lastFlag, (WPARAM)TRUE);
  EXPECT_EQ(child.m_nUpdates, 1);
  EXPECT_EQ(grandchild.m_nUpdates, 1);
  EXPECT_TRUE(rawMessages().empty());  // only windows of the framework
  EXPECT_FALSE(app.OnIdle(1));
  EXPECT_EQ(main.m_nUpdates, 1);  // count 1 does not update
  ::DestroyWindow(raw);
  app.m_pMainWnd = nullptr;
}

TEST(Loop, TemporaryObjectsAreFreedByTheLoopsIdleTime) {
  LoopApp app;
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  HWND other = ::CreateWindowExA(0, rawClass(), "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  CWnd::FromHandle(other);
  CDC::FromHandle(::GetDC(other));
  EXPECT_EQ(afx::threadState().windows.temporaryCount(), 1u);
  app.m_nQuitAfterIdle = 2;
  app.Run();
  EXPECT_EQ(afx::threadState().windows.temporaryCount(), 0u);
  EXPECT_EQ(afx::threadState().dcs.temporaryCount(), 0u);
  EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);  // permanent ones stay
  ::DestroyWindow(other);
}

TEST(Loop, DestroyingTheMainWindowEndsTheLoop) {
  LoopApp app;
  auto* main = new CWnd;
  ASSERT_TRUE(main->CreateEx(0, nullptr, "main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  app.m_pMainWnd = main;
  EXPECT_EQ(AfxGetMainWnd(), main);
  main->PostMessage(WM_CLOSE);  // the default closes by destroying
  EXPECT_EQ(app.Run(), 0);
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  EXPECT_EQ(main->m_hWnd, nullptr);
  delete main;
}

// --- command user-interface updates -------------------------------------------

class Panel : public CWnd {
 public:
  BOOL m_bEnableSave = FALSE;
  int m_nCheckBold = 1;
  CString m_strTitle = "Title now";

 protected:
  afx_msg void OnUpdateSave(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bEnableSave); }
  afx_msg void OnUpdateBold(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_nCheckBold); }
  afx_msg void OnUpdateLabel(CCmdUI* pCmdUI) { pCmdUI->SetText(m_strTitle); }
  afx_msg void OnHandled() {}
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Panel, CWnd)
  ON_UPDATE_COMMAND_UI(10, OnUpdateSave)
  ON_UPDATE_COMMAND_UI(11, OnUpdateBold)
  ON_UPDATE_COMMAND_UI(12, OnUpdateLabel)
  ON_COMMAND(13, OnHandled)
END_MESSAGE_MAP()

TEST(CmdUI, UpdateDialogControlsAppliesTheUpdateHandlers) {
  Panel panel;
  ASSERT_TRUE(panel.CreateEx(0, nullptr, "panel", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
  CButton save, bold, handled, orphan, autoCheck;
  CStatic label;
  ASSERT_TRUE(save.Create("Save", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 50, 20), &panel, 10));
  ASSERT_TRUE(bold.Create("Bold", WS_VISIBLE | BS_CHECKBOX, CRect(0, 20, 50, 40), &panel, 11));
  ASSERT_TRUE(label.Create("old", WS_VISIBLE, CRect(0, 40, 50, 60), &panel, 12));
  ASSERT_TRUE(handled.Create("Go", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 60, 50, 80), &panel, 13));
  ASSERT_TRUE(orphan.Create("None", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 80, 50, 100), &panel, 14));
  ASSERT_TRUE(autoCheck.Create("Auto", WS_VISIBLE | BS_AUTOCHECKBOX, CRect(0, 100, 50, 120), &panel, 15));

  panel.UpdateDialogControls(&panel, TRUE);
  EXPECT_FALSE(save.IsWindowEnabled());
  EXPECT_EQ(bold.GetCheck(), 1);
  CString text;
  label.GetWindowText(text);
  EXPECT_EQ(text, "Title now");
  EXPECT_TRUE(handled.IsWindowEnabled());     // a handler exists
  EXPECT_FALSE(orphan.IsWindowEnabled());     // neither handler nor update: disabled
  EXPECT_TRUE(autoCheck.IsWindowEnabled());   // works by itself

  panel.m_bEnableSave = TRUE;
  panel.m_nCheckBold = 0;
  panel.UpdateDialogControls(&panel, FALSE);
  EXPECT_TRUE(save.IsWindowEnabled());
  EXPECT_EQ(bold.GetCheck(), 0);
}

TEST(CmdUI, DoUpdateReportsWhetherAHandlerTookIt) {
  Panel panel;
  ASSERT_TRUE(panel.CreateEx(0, nullptr, "panel", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
  CButton button;
  ASSERT_TRUE(button.Create("B", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 50, 20), &panel, 99));
  CCmdUI state;
  state.m_pOther = &button;
  state.m_nID = 10;
  EXPECT_TRUE(state.DoUpdate(&panel, TRUE));
  EXPECT_TRUE(state.m_bEnableChanged);
  EXPECT_FALSE(button.IsWindowEnabled());
  state.m_nID = 99;
  EXPECT_FALSE(state.DoUpdate(&panel, FALSE));
  EXPECT_FALSE(state.DoUpdate(nullptr, TRUE));
}

}  // namespace
