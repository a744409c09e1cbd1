// What the frames do with the window system's messages: activation and
// focus of a top window, closing the main window and ending the session
// (every panel is asked), prompts from the panel's texts, the run-options
// command of the system menu, an MDI child's layout after the user sized
// it, an MDI frame's open menu, a nested dialog's OK and Cancel, and the
// tool bars' places kept between runs.
#include <afxext.h>
#include <afxres.h>
#include <afxframe.h>
#include <gtest/gtest.h>

#include <string>

#include "HButt.h"
#include "KyPanelFrames.h"
#include "KySite.h"
#include "KyToolBar.h"
#include "panelharness.h"

namespace {

using kytest::RecordingPanel;
namespace input = win32::input;

constexpr int kCloseRequest = 6;
constexpr UINT kStatusBarId = 59393;
constexpr DWORD kAllBars = 0x61;  // tool bars, status bar, menu bar
constexpr DWORD kAnchorRight = 0x4;

std::string windowText(HWND hWnd) {
  char text[256] = {};
  GetWindowTextA(hWnd, text, sizeof text);
  return text;
}

class FrameMessages : public kytest::PanelHarness {
 protected:
  void TearDown() override {
    app_->m_pMainWnd = nullptr;
    PanelHarness::TearDown();
  }
  // A shown top window with a focusable control (id 10).
  RecordingPanel* shown(int kind = KyTopWindow, KyPanel* pParent = nullptr, DWORD dwOptions = kytest::kGeneratedOptions) {
    RecordingPanel* p = made(kind, pParent, dwOptions);
    addStatic(p, 10, 8, 8);
    p->StartPanel();
    return p;
  }
  // A panel whose Close event refuses (the generated code does not return).
  static void refusesClose(RecordingPanel* p) { p->AddEvent(new KyLogEvent(-1, kCloseRequest, 66, "", "Close", 0)); }
  // A panel of a function of that implementation name.
  RecordingPanel* panelOf(const std::string& name, int kind) {
    functions_.push_back(std::make_unique<KyFunctionData>(nullptr, "KYFRMTST", name.c_str(), name.c_str(), 721, 0));
    panels_.push_back(std::make_unique<RecordingPanel>(functions_.back().get(), nullptr));
    RecordingPanel* p = panels_.back().get();
    EXPECT_TRUE(p->Init(kind, kytest::kGeneratedStyle, kAllBars, kytest::kDesignUnits, 1, 0));
    return p;
  }
};

TEST_F(FrameMessages, ActivationMakesATopWindowsPanelActiveAndKeepsItsFocus) {
  RecordingPanel* first = shown();
  RecordingPanel* second = shown();
  HWND hControl = first->GetControls()[0]->GetWindowHandle();
  SetActiveWindow(first->hHandle());
  SetFocus(hControl);
  EXPECT_EQ(app_->m_pActivePanel, first);
  EXPECT_EQ(first->GetFramePart()->GetTitleText(), windowText(first->hHandle()).c_str());

  SetActiveWindow(second->hHandle());
  EXPECT_EQ(app_->m_pActivePanel, second);
  EXPECT_EQ(first->GetFocusWindow(), hControl) << "the deactivated panel keeps its focus window";

  // The focus given to the frame goes on to the control it had.
  SetActiveWindow(first->hHandle());
  SetFocus(first->hHandle());
  EXPECT_EQ(GetFocus(), hControl);
  EXPECT_EQ(app_->m_pActivePanel, first);
}

TEST_F(FrameMessages, ClosingTheMainWindowAsksEveryPanel) {
  const struct {
    const char* what;
    bool otherRefuses;
    bool closed;
  } cases[] = {{"all agree", false, true}, {"another panel refuses", true, false}};
  for (const auto& c : cases) {
    RecordingPanel* main = shown();
    RecordingPanel* other = shown();
    RecordingPanel* third = shown();
    if (c.otherRefuses) refusesClose(other);
    app_->m_pMainWnd = main->GetFrame();
    HWND hMain = main->hHandle();
    SendMessageA(hMain, WM_CLOSE, 0, 0);
    EXPECT_EQ(IsWindow(hMain) == FALSE, c.closed) << c.what;
    if (!c.closed) {
      EXPECT_EQ(other->ran, std::vector<int>{66}) << c.what;
      for (KyPanel* p : {main, other, third}) EXPECT_FALSE(p->IsReturning()) << c.what << ": marks undone";
    } else {
      EXPECT_TRUE(third->IsReturning()) << c.what;
    }
    app_->m_pMainWnd = nullptr;
  }
}

TEST_F(FrameMessages, EndingTheSessionAsksEveryPanel) {
  const struct {
    const char* what;
    bool refuses;
    LRESULT answer;
  } cases[] = {{"all agree", false, TRUE}, {"one refuses", true, FALSE}};
  for (const auto& c : cases) {
    RecordingPanel* main = shown();
    RecordingPanel* other = shown();
    if (c.refuses) refusesClose(other);
    EXPECT_EQ(SendMessageA(main->hHandle(), WM_QUERYENDSESSION, 0, 0), c.answer) << c.what;
    EXPECT_EQ(other->IsReturning() != 0, !c.refuses) << c.what;
  }
}

TEST_F(FrameMessages, CommandPromptsComeFromThePanelsTexts) {
  RecordingPanel* p = shown(KyTopWindow, nullptr, kAllBars);
  HWND hBar = GetDlgItem(p->hHandle(), kStatusBarId);
  ASSERT_NE(hBar, nullptr);
  char full[128] = {};
  ASSERT_GT(LoadStringA(p->hGetRESInstance(), 30001, full, sizeof full), 0);
  const std::string text = full;
  const struct {
    UINT id;
    std::string prompt;
  } cases[] = {{30001, text.substr(0, text.find('\n'))}, {30003, "Paste whole"}};
  for (const auto& c : cases) {
    SendMessageA(p->hHandle(), WM_SETMESSAGESTRING, c.id, 0);
    EXPECT_EQ(windowText(hBar), c.prompt) << c.id;
  }
}

// The system menu's run-options command opens the options dialog modally
// over the frame; closing the dialog returns to the frame.
TEST_F(FrameMessages, RunOptionsCommandOpensTheOptionsDialog) {
  RecordingPanel* p = shown();
  static HWND s_hFrame, s_hDialogOwner;
  static std::string s_dialogTitle;
  s_hFrame = p->hHandle();
  s_hDialogOwner = nullptr;
  s_dialogTitle.clear();
  UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND hDialog = GetActiveWindow();
    if (!hDialog || hDialog == s_hFrame) return;
    KillTimer(nullptr, id);
    s_hDialogOwner = GetWindow(hDialog, GW_OWNER);
    s_dialogTitle = windowText(hDialog);
    SendMessageA(hDialog, WM_COMMAND, IDCANCEL, 0);
  });
  ASSERT_NE(timer, 0u);
  SendMessageA(p->hHandle(), WM_SYSCOMMAND, 0xC000, 0);
  EXPECT_EQ(s_hDialogOwner, s_hFrame) << "modal over the frame";
  EXPECT_FALSE(s_dialogTitle.empty());
  EXPECT_TRUE(IsWindowEnabled(p->hHandle()));
  // Other system commands open nothing.
  s_hDialogOwner = nullptr;
  SendMessageA(p->hHandle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_EQ(s_hDialogOwner, nullptr);
}

TEST_F(FrameMessages, MDIChildLaysItsControlsOutWhenTheUserSizedIt) {
  const struct {
    const char* what;
    int grow;
    bool laidOut;
  } cases[] = {{"sized", 60, true}, {"moved only", 0, false}};
  RecordingPanel* frame = shown(KyMDIFrame);
  for (const auto& c : cases) {
    RecordingPanel* child = made(KyMDIChild, frame);
    KyCtrl* pControl = addStatic(child, 10, 8, 8, kAnchorRight);
    child->StartPanel();
    HWND hChild = child->hHandle();
    RECT rc{};
    GetWindowRect(hChild, &rc);
    SendMessageA(hChild, WM_ENTERSIZEMOVE, 0, 0);
    SetWindowPos(hChild, nullptr, 0, 0, rc.right - rc.left + c.grow, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
    RECT placed{};
    GetWindowRect(pControl->GetWindowHandle(), &placed);
    MapWindowPoints(nullptr, child->ViewHandle(), reinterpret_cast<POINT*>(&placed), 2);
    // Something else moved the control meanwhile.
    SetWindowPos(pControl->GetWindowHandle(), nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageA(hChild, WM_EXITSIZEMOVE, 0, 0);
    RECT now{};
    GetWindowRect(pControl->GetWindowHandle(), &now);
    MapWindowPoints(nullptr, child->ViewHandle(), reinterpret_cast<POINT*>(&now), 2);
    EXPECT_EQ(now.left == placed.left && now.top == placed.top, c.laidOut) << c.what;
  }
}

TEST_F(FrameMessages, MDIFramesOpenMenuTakesEscapeAndArrowsFromItsChild) {
  RecordingPanel* frame = shown(KyMDIFrame);
  RecordingPanel* child = made(KyMDIChild, frame);
  child->AddKeyBoardEvent(VK_ESCAPE, 9);
  child->StartPanel();
  const struct {
    UINT message;
    int active;
  } steps[] = {{WM_INITMENU, 1}, {WM_EXITMENULOOP, 0}, {WM_MENUSELECT, 1}};
  for (const auto& s : steps) {
    SendMessageA(frame->hHandle(), s.message, 0, 0);
    EXPECT_EQ(frame->IsMenuActive(), s.active) << std::hex << s.message;
  }
  // The child's Escape only closes the frame's menu.
  EXPECT_TRUE(child->KyPanel::OnKeyBoard(VK_ESCAPE));
  EXPECT_EQ(frame->IsMenuActive(), 0);
  EXPECT_TRUE(child->ran.empty());
  EXPECT_TRUE(child->KyPanel::OnKeyBoard(VK_ESCAPE));
  EXPECT_EQ(child->ran, std::vector<int>{9}) << "with the menu closed Escape is the child's";
}

TEST_F(FrameMessages, NestedDialogsOKAndCancelAreTheParentsEnterAndEscape) {
  RecordingPanel* parent = made(KyTopWindow);
  parent->AddControl(new KySite(parent, kytest::controlRecord(40, KySite::kKind, 16, 16, 160, 100, 0, 20001)));
  parent->StartPanel();
  ASSERT_EQ(parent->SetSite("Customer", 0), 1);
  RecordingPanel* nested = made(KySiteChild, parent, kytest::kGeneratedOptions, WS_CAPTION);
  nested->StartPanel();
  ASSERT_NE(nested->GetFrame(), nullptr);
  const struct {
    WPARAM command;
    WPARAM key;
  } cases[] = {{IDOK, VK_RETURN}, {IDCANCEL, VK_ESCAPE}};
  for (const auto& c : cases) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE)) {
    }
    SendMessageA(nested->hHandle(), WM_COMMAND, c.command, 0);
    EXPECT_TRUE(IsWindow(nested->hHandle())) << "the nested dialog stays";
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, GetParent(nested->hHandle()));
    EXPECT_EQ(msg.wParam, c.key);
  }
}

TEST_F(FrameMessages, MDIFramesControlsReportThroughItsClient) {
  RecordingPanel* frame = made(KyMDIFrame);
  auto* pButton = new HButt(frame, kytest::controlRecord(10, 1, 8, 8, 80, 24), 1);
  frame->AddControl(pButton);
  frame->AddEvent(new KyLogEvent(10, 1, 33, "", "Pressed", 0));
  frame->StartPanel();
  HWND hButton = pButton->GetWindowHandle();
  ASSERT_EQ(GetParent(hButton), frame->GetFramePart()->GetViewWindow()) << "on the MDI client";
  input::click(hButton, 5, 5);
  pump();
  EXPECT_EQ(frame->ran, std::vector<int>{33});
}

TEST_F(FrameMessages, ToolBarsComeBackWhereTheyWereLeft) {
  const std::string name = "DOCKED_" + std::to_string(GetCurrentProcessId());
  RecordingPanel* first = panelOf(name, KyTopWindow);
  first->CreateToolbar("One");
  first->AddSpeedButton(40, 30001);
  first->CreateToolbar("Two");
  first->AddSpeedButton(40, 30003);
  first->StartPanel();
  auto* pFrame = dynamic_cast<CFrameWnd*>(first->GetFrame());
  ASSERT_NE(pFrame, nullptr);
  const auto& firstBars = first->GetFramePart()->GetToolBars();
  ASSERT_EQ(firstBars.size(), 2u);
  pFrame->DockControlBar(firstBars[1], AFX_IDW_DOCKBAR_LEFT);
  ASSERT_EQ(GetDlgCtrlID(GetParent(firstBars[1]->m_hWnd)), AFX_IDW_DOCKBAR_LEFT);
  SendMessageA(first->hHandle(), WM_CLOSE, 0, 0);
  ASSERT_FALSE(IsWindow(first->hHandle()));

  RecordingPanel* second = panelOf(name, KyTopWindow);
  second->CreateToolbar("One");
  second->AddSpeedButton(40, 30001);
  second->CreateToolbar("Two");
  second->AddSpeedButton(40, 30003);
  second->StartPanel();
  const auto& bars = second->GetFramePart()->GetToolBars();
  ASSERT_EQ(bars.size(), 2u);
  EXPECT_EQ(GetDlgCtrlID(GetParent(bars[0]->m_hWnd)), AFX_IDW_DOCKBAR_TOP);
  EXPECT_EQ(GetDlgCtrlID(GetParent(bars[1]->m_hWnd)), AFX_IDW_DOCKBAR_LEFT);

  // A panel of another function keeps the places it is made with.
  RecordingPanel* other = panelOf(name + "X", KyTopWindow);
  other->CreateToolbar("One");
  other->CreateToolbar("Two");
  other->StartPanel();
  for (CControlBar* pBar : other->GetFramePart()->GetToolBars())
    EXPECT_EQ(GetDlgCtrlID(GetParent(pBar->m_hWnd)), AFX_IDW_DOCKBAR_TOP);
}

}  // namespace
