// What the frames do with the window system's messages: activation and
// focus of a top window and of an MDI child, closing the main window and
// ending the session (every panel is asked), closing all MDI children,
// prompts from the panel's texts, menu and tool-bar commands, the
// run-options command of the system menu, an MDI child's layout after the
// user sized it and its maximised state, an MDI frame's open menu, a
// nested dialog's OK, Cancel and Alt keys, a dialog's cursor, and the tool
// bars' places kept between runs.
#include <afxext.h>
#include <afxres.h>
#include <afxframe.h>
#include <gtest/gtest.h>

#include <internal/snapshot.h>

#include <cstdlib>
#include <string>

#include "HButt.h"
#include "KyPanelFrames.h"
#include "KyProfile.h"
#include "KyStaticAPI.h"
#include "KySite.h"
#include "KyToolBar.h"
#include "panelharness.h"

namespace {

using kytest::RecordingPanel;
namespace input = win32::input;

constexpr int kButtonClicked = 1, kCloseRequest = 6, kCommand = 7;
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

// Without a focus window to come back to, the focus goes to the first tab
// stop among the panel's controls (on its view, not among the frame's bars).
TEST_F(FrameMessages, FocusComesBackToTheFirstTabStopOfTheView) {
  RecordingPanel* p = shown(KyTopWindow, nullptr, kAllBars);
  RecordingPanel* other = shown();
  HWND hEdit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 8, 60, 80, 20, p->ViewHandle(),
                               nullptr, nullptr, nullptr);
  SetWindowPos(hEdit, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  p->SetFocusWindow(nullptr);
  SetFocus(other->hHandle());
  p->RestoreFocus();
  EXPECT_EQ(GetFocus(), hEdit);
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

// The MDI client activates a child: its panel becomes the active one and
// gets back the focus it had; the frame shows the child's tool bars and
// status texts at once.
TEST_F(FrameMessages, ActivatingAnMDIChildMakesItsPanelActiveAndShowsItsBars) {
  RecordingPanel* frame = made(KyMDIFrame, nullptr, kAllBars);
  frame->CreateToolbar("Frame");
  frame->AddSpeedButton(40, 30001);
  frame->StartPanel();
  frame->SetStatusBarText("Frame pane", 2);
  RecordingPanel* children[2];
  const char* bars[] = {"Child one", "Child two"};
  for (int i = 0; i < 2; ++i) {
    children[i] = made(KyMDIChild, frame, kAllBars);
    addStatic(children[i], 10, 8, 8);
    addStatic(children[i], 11, 8, 40);
    children[i]->CreateToolbar(bars[i]);
    children[i]->AddSpeedButton(40, 30003 + i);
    children[i]->StartPanel();
    children[i]->SetStatusBarText(bars[i], 2);
  }
  auto* pFrame = dynamic_cast<KyMDIWin*>(frame->GetFrame());
  ASSERT_NE(pFrame, nullptr);
  CStatusBar* pStatus = frame->GetFramePart()->GetStatusBar();
  const auto& toolBars = frame->GetFramePart()->GetToolBars();
  auto activate = [&](RecordingPanel* p) { pFrame->MDIActivate(CWnd::FromHandle(p->hHandle())); };
  HWND hSecondStop = children[0]->pGetCtrl(11)->GetWindowHandle();

  for (RecordingPanel* p : children) EXPECT_TRUE(p->GetFramePart()->GetToolBars().empty()) << "its sets are the frame's";
  activate(children[0]);
  EXPECT_EQ(app_->m_pActivePanel, children[0]);
  ASSERT_EQ(toolBars.size(), 1u);
  EXPECT_EQ(windowText(toolBars[0]->m_hWnd), "Child one") << "without waiting for an idle turn";
  EXPECT_EQ(std::string(pStatus->GetPaneText(2)), "Child one");
  SetFocus(hSecondStop);

  activate(children[1]);
  EXPECT_EQ(app_->m_pActivePanel, children[1]);
  EXPECT_EQ(children[0]->GetFocusWindow(), hSecondStop) << "the child that went keeps its focus window";
  EXPECT_TRUE(KyPanel::WindowHolds(children[1]->hHandle(), GetFocus()));
  EXPECT_EQ(windowText(toolBars[0]->m_hWnd), "Child two");
  EXPECT_EQ(std::string(pStatus->GetPaneText(2)), "Child two");
  EXPECT_EQ(children[1]->GetFramePart()->GetTitleText(), windowText(children[1]->hHandle()).c_str());
  // Looked at: the frame with the second child's bar (its red picture) and
  // its text in the status bar's third pane.
  const char* pszKeep = getenv("KY_KEEP_SNAPSHOT");
  const std::string png = pszKeep ? std::string(pszKeep) : (dir_.path() / "mdiactive.png").string();
  ASSERT_TRUE(win32::snapshot::saveWindowPng(frame->hHandle(), png.c_str()));
  RECT button{}, frameRect{};
  toolBars[0]->GetItemRect(0, &button);
  MapWindowPoints(toolBars[0]->m_hWnd, nullptr, reinterpret_cast<POINT*>(&button), 2);
  GetWindowRect(frame->hHandle(), &frameRect);
  EXPECT_EQ(win32::snapshot::windowPixel(frame->hHandle(), (button.left + button.right) / 2 - frameRect.left,
                                         (button.top + button.bottom) / 2 - frameRect.top),
            0x0000FFu)
      << "the child's speed button on the frame's bar";

  activate(children[0]);
  EXPECT_EQ(GetFocus(), hSecondStop) << "the focus it had";
  EXPECT_EQ(app_->m_pActivePanel, children[0]);

  // The children go: the frame shows its own bar and texts again.
  for (RecordingPanel* p : children) p->PanelReturn();
  pump();
  SendMessageA(frame->hHandle(), WM_IDLEUPDATECMDUI, TRUE, 0);
  ASSERT_EQ(toolBars.size(), 1u);
  EXPECT_EQ(windowText(toolBars[0]->m_hWnd), "Frame");
  EXPECT_EQ(std::string(pStatus->GetPaneText(2)), frame->GetStatusBarText(2));
}

// Maximising or restoring a child keeps its state for the next run of the
// panels that keep their placement.
TEST_F(FrameMessages, AnMDIChildsMaximisedStateIsKept) {
  RecordingPanel* frame = shown(KyMDIFrame);
  RecordingPanel* child = panel(frame);
  ASSERT_TRUE(child->Init(KyMDIChild, kytest::kGeneratedStyle, kytest::kGeneratedOptions, kytest::kDesignUnits, 1, 1));
  child->StartPanel();
  const std::string section = std::string(child->GetFunctionData()->GetImplementationName()) + ":Window Placement";
  const struct {
    WPARAM command;
    BOOL maximised;
  } steps[] = {{SC_MAXIMIZE, TRUE}, {SC_RESTORE, FALSE}, {SC_MAXIMIZE, TRUE}};
  for (const auto& s : steps) {
    SendMessageA(child->hHandle(), WM_SYSCOMMAND, s.command, 0);
    EXPECT_EQ(IsZoomed(child->hHandle()), s.maximised) << std::hex << s.command;
    EXPECT_EQ(KyGetProfileBool(section.c_str(), "Maximized", -1), s.maximised) << std::hex << s.command;
  }
}

// A child made beside a maximised one comes maximised: the client draws
// nothing from its creation until it is shown.
TEST_F(FrameMessages, TheClientDrawsNoChildMadeBesideAMaximisedOneBeforeItIsShown) {
  RecordingPanel* frame = shown(KyMDIFrame);
  auto* pFrame = dynamic_cast<KyMDIWin*>(frame->GetFrame());
  ASSERT_NE(pFrame, nullptr);
  const HWND hClient = pFrame->m_hWndMDIClient;
  RecordingPanel* first = shown(KyMDIChild, frame);
  made(KyMDIChild, frame);
  EXPECT_TRUE(IsWindowVisible(hClient)) << "beside a child that is not maximised";
  SendMessageA(first->hHandle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  RecordingPanel* last = made(KyMDIChild, frame);
  EXPECT_FALSE(IsWindowVisible(hClient));
  last->StartPanel();
  EXPECT_TRUE(IsWindowVisible(hClient));
  EXPECT_TRUE(IsZoomed(last->hHandle()));
}

// A menu command or speed button runs the event of the frame's panel, else
// of the active child's; a command the child has no event for is the
// frame's panel's. Each command runs one event at most.
TEST_F(FrameMessages, CommandsRunTheEventOfThePanelThatHasOne) {
  RecordingPanel* frame = made(KyMDIFrame);
  frame->AddEvent(new KyLogEvent(30001, kCommand, 51, "", "Copy", 0));
  frame->StartPanel();
  RecordingPanel* child = made(KyMDIChild, frame);
  child->AddEvent(new KyLogEvent(30003, kCommand, 53, "", "Paste", 0));
  child->CreateToolbar("Child");
  child->AddSpeedButton(40, 30003);
  child->StartPanel();
  SendMessageA(frame->hHandle(), WM_IDLEUPDATECMDUI, TRUE, 0);
  ASSERT_EQ(frame->GetFramePart()->GetToolBars().size(), 1u);
  KyCToolBar* pBar = frame->GetFramePart()->GetToolBars()[0];
  const struct {
    const char* what;
    KyPanel* to;
    UINT id;
    bool fromBar;
    std::vector<int> frameRan, childRan;
  } cases[] = {
      {"the frame's command", frame, 30001, false, {51}, {}},
      {"the active child's command", frame, 30003, false, {}, {53}},
      {"the child's speed button on the frame's bar", frame, 30003, true, {}, {53}},
      {"nobody's command", frame, 30004, false, {}, {}},
      {"a child's command that only the frame has", child, 30001, false, {51}, {}},
      {"a child's own command", child, 30003, false, {}, {53}},
  };
  for (const auto& c : cases) {
    frame->ran.clear();
    child->ran.clear();
    SendMessageA(c.to->hHandle(), WM_COMMAND, c.id, c.fromBar ? reinterpret_cast<LPARAM>(pBar->m_hWnd) : 0);
    EXPECT_EQ(frame->ran, c.frameRan) << c.what;
    EXPECT_EQ(child->ran, c.childRan) << c.what;
  }
  // The speed button clicked.
  child->ran.clear();
  RECT rc{};
  pBar->GetItemRect(0, &rc);
  input::click(pBar->m_hWnd, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  pump();
  EXPECT_EQ(child->ran, std::vector<int>{53});
}

TEST_F(FrameMessages, CloseAllAsksEveryMDIChild) {
  RecordingPanel* frame = shown(KyMDIFrame);
  RecordingPanel* first = shown(KyMDIChild, frame);
  RecordingPanel* refusing = made(KyMDIChild, frame);
  refusesClose(refusing);
  refusing->StartPanel();
  RecordingPanel* last = shown(KyMDIChild, frame);
  HWND hFirst = first->hHandle(), hLast = last->hHandle();
  auto* pFrame = dynamic_cast<KyMDIWin*>(frame->GetFrame());
  ASSERT_NE(pFrame, nullptr);
  pFrame->MDICloseAll();
  EXPECT_FALSE(IsWindow(hFirst));
  EXPECT_FALSE(IsWindow(hLast)) << "a refusal stops none of the others";
  EXPECT_TRUE(IsWindow(refusing->hHandle()));
  EXPECT_EQ(refusing->ran, std::vector<int>{66});
  // The static API's request reaches the main window's frame.
  ASSERT_EQ(AfxGetMainWnd(), pFrame);
  KyWinAPI::MDICloseAll();
  EXPECT_EQ(refusing->ran, (std::vector<int>{66, 66}));
  EXPECT_TRUE(IsWindow(frame->hHandle()));
}

// With the busy-cursor switch off a dialog panel shows the wait cursor
// while the program asks for it, the arrow otherwise; with the switch on
// the window's own cursor.
TEST_F(FrameMessages, DialogShowsTheWaitCursorWhenTheBusyCursorIsOff) {
  RecordingPanel* top = shown();
  RecordingPanel* dialog = shown(KyDialogUnderParent, top);
  HWND hDialog = dialog->hHandle();
  const HCURSOR hWait = LoadCursorA(nullptr, IDC_WAIT), hArrow = LoadCursorA(nullptr, IDC_ARROW);
  const struct {
    BOOL busySwitch;
    BOOL waitAsked;
    HCURSOR shown;
  } cases[] = {{FALSE, TRUE, hWait}, {FALSE, FALSE, hArrow}, {TRUE, TRUE, hArrow}};
  for (const auto& c : cases) {
    app_->m_fBusyCursor = c.busySwitch;
    app_->m_fAutoWaitCursor = c.waitAsked;
    SetCursor(LoadCursorA(nullptr, IDC_CROSS));
    SendMessageA(hDialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(hDialog), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), c.shown) << c.busySwitch << c.waitAsked;
  }
  app_->m_fBusyCursor = TRUE;
  app_->m_fAutoWaitCursor = FALSE;
}

// Alt and a letter in a panel nested in a site: its own mnemonic first,
// else the enclosing panel's (a dialog, or a top window's view).
TEST_F(FrameMessages, AltKeysInANestedPanelReachTheEnclosingPanelsMnemonics) {
  RecordingPanel* top = shown();
  for (int kind : {KyDialogUnderParent, KyTopWindow}) {
    RecordingPanel* outer = made(kind, kind == KyTopWindow ? nullptr : top);
    outer->AddControl(new HButt(outer, kytest::controlRecord(11, 1, 8, 8, 80, 24, 20003), 1));  // "&Save"
    outer->AddControl(new KySite(outer, kytest::controlRecord(40, KySite::kKind, 8, 40, 200, 120, 0, 20001)));
    outer->AddEvent(new KyLogEvent(11, kButtonClicked, 41, "", "Save", 0));
    outer->StartPanel();
    ASSERT_EQ(outer->SetSite("Customer", 0), 1);
    RecordingPanel* nested = made(KySiteChild, outer, kytest::kGeneratedOptions, WS_CAPTION);
    nested->AddControl(new HButt(nested, kytest::controlRecord(12, 1, 8, 8, 80, 24, 20004), 1));  // "&Nested"
    nested->AddEvent(new KyLogEvent(12, kButtonClicked, 42, "", "Nested", 0));
    nested->StartPanel();
    const struct {
      UINT key;
      std::vector<int> outerRan, nestedRan;
    } steps[] = {{'S', {41}, {}}, {'N', {41}, {42}}, {'Q', {41}, {42}}};
    for (const auto& s : steps) {
      SetFocus(nested->pGetCtrl(12)->GetWindowHandle());
      input::chord(s.key, false, false, true);
      pumpApp();
      EXPECT_EQ(outer->ran, s.outerRan) << "kind " << kind << " " << static_cast<char>(s.key);
      EXPECT_EQ(nested->ran, s.nestedRan) << "kind " << kind << " " << static_cast<char>(s.key);
    }
    // On the enclosing panel itself.
    SetFocus(outer->pGetCtrl(11)->GetWindowHandle());
    input::chord('S', false, false, true);
    pumpApp();
    EXPECT_EQ(outer->ran, (std::vector<int>{41, 41})) << "kind " << kind;
  }
}

}  // namespace
