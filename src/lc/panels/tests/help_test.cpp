// Panel help: F1, help commands and the frames' command help open the
// application's help at the context of the focus control, of its first
// event, of the command or of the panel, else the contents; the static
// API reaches a panel's help and its splitter panes.
#include <afxres.h>
#include <afxframe.h>
#include <gtest/gtest.h>

#include "KyKeyHook.h"
#include "KySplitter.h"
#include "KyStaticAPI.h"
#include "panelharness.h"

namespace {

using kytest::RecordingPanel;
namespace input = win32::input;

constexpr int kClicked = 1, kCommand = 7;
constexpr UINT kCommandId = 4001;

struct Request {
  UINT command;
  DWORD_PTR data;
  bool operator==(const Request&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Request& r) { return os << "{" << r.command << ", " << r.data << "}"; }

class PanelHelp : public kytest::PanelHarness {
 protected:
  std::vector<Request> requests() {
    std::vector<Request> out;
    for (const auto& r : app_->GetHelpRequests()) out.push_back({r.nCmd, r.dwData});
    app_->ClearHelpRequests();
    return out;
  }
  // A shown top window with a control (id 10) that has the focus.
  RecordingPanel* shownWithFocus(KyCtrl** ppControl) {
    RecordingPanel* p = made(KyTopWindow);
    *ppControl = addStatic(p, 10, 8, 8);
    p->StartPanel();
    SetFocus((*ppControl)->GetWindowHandle());
    return p;
  }
  void addEvent(KyPanel* p, int source, int code, int extra) {
    p->AddEvent(new KyLogEvent(source, code, 50 + code, "", "Event", extra));
  }
};

TEST_F(PanelHelp, ContextOfTheFocusControlItsEventTheCommandOrThePanel) {
  const struct {
    const char* what;
    DWORD controlId;   // the focus control's own context
    int eventExtra;    // its first event entry's help word
    DWORD panelId;
    UINT command;      // 0: F1
    int commandExtra;  // the command's first command entry's help word
    Request expected;
  } cases[] = {
      {"the control's own context", 101, 202, 303, 0, 0, {HELP_CONTEXT, 101}},
      {"the control's first event", 0, 202, 303, 0, 0, {HELP_CONTEXT, 202}},
      {"the panel's", 0, 0, 303, 0, 0, {HELP_CONTEXT, 303}},
      {"nothing set opens the contents", 0, 0, 0, 0, 0, {HELP_CONTENTS, 0}},
      {"a command's entry", 101, 202, 303, kCommandId, 404, {HELP_CONTEXT, 404}},
      {"a command whose entry has none", 101, 202, 303, kCommandId, 0, {HELP_CONTEXT, 303}},
  };
  for (const auto& c : cases) {
    KyCtrl* pControl = nullptr;
    RecordingPanel* p = shownWithFocus(&pControl);
    pControl->SetHelpContextId(c.controlId);
    p->SetHelpId(c.panelId);
    // Only the first entry of a source counts, and for a command only one
    // of code 7.
    addEvent(p, 10, kClicked, c.eventExtra);
    addEvent(p, 10, 2, 999);
    addEvent(p, static_cast<int>(kCommandId), kClicked, 888);
    addEvent(p, static_cast<int>(kCommandId), kCommand, c.commandExtra);
    addEvent(p, static_cast<int>(kCommandId), kCommand, 777);
    requests();
    p->KyPanelHelp(c.command);
    EXPECT_EQ(requests(), std::vector<Request>{c.expected}) << c.what;
  }
}

TEST_F(PanelHelp, NothingWhileF1IsBoundToAnEvent) {
  const struct {
    int key;
    size_t requests;
  } cases[] = {{VK_F1, 0}, {VK_F1 | KyKeyBoardEvt::kShift, 1}, {VK_F2, 1}};
  for (const auto& c : cases) {
    KyCtrl* pControl = nullptr;
    RecordingPanel* p = shownWithFocus(&pControl);
    p->AddKeyBoardEvent(c.key, 5);
    requests();
    p->KyPanelHelp();
    KyHelpAPI::Panel();  // no current function: nothing
    EXPECT_EQ(requests().size(), c.requests) << std::hex << c.key;
  }
}

TEST_F(PanelHelp, StaticAPIOpensTheCurrentPanelsHelp) {
  KyCtrl* pControl = nullptr;
  RecordingPanel* p = shownWithFocus(&pControl);
  pControl->SetHelpContextId(61);
  KyAppContext::Current()->m_pCurrentFunction = p->GetFunctionData();
  p->GetFunctionData()->SetPanel(p);
  requests();
  KyHelpAPI::Panel();
  EXPECT_EQ(requests(), (std::vector<Request>{{HELP_CONTEXT, 61}}));
  KyAppContext::Current()->m_pCurrentFunction = nullptr;
}

TEST_F(PanelHelp, FrameCommandHelpIsThePanelOfTheFocusElseTheActivePanel) {
  KyCtrl* pFirstControl = nullptr;
  RecordingPanel* first = shownWithFocus(&pFirstControl);
  first->SetHelpId(11);
  KyCtrl* pSecondControl = nullptr;
  RecordingPanel* second = shownWithFocus(&pSecondControl);
  second->SetHelpId(22);
  addEvent(second, static_cast<int>(kCommandId), kCommand, 23);

  const struct {
    const char* what;
    HWND focus;
    KyPanel* active;
    LPARAM context;
    Request expected;
  } cases[] = {
      {"the panel of the focus", pSecondControl->GetWindowHandle(), first, 0, {HELP_CONTEXT, 22}},
      {"a tracked command of the focus panel", pSecondControl->GetWindowHandle(), first,
       static_cast<LPARAM>(HID_BASE_COMMAND + kCommandId), {HELP_CONTEXT, 23}},
      {"no focus in a panel: the active one", nullptr, first, 0, {HELP_CONTEXT, 11}},
  };
  for (const auto& c : cases) {
    SetFocus(c.focus);
    app_->SetActivePanel(c.active);
    requests();
    // Whichever frame is asked, the answer is the same.
    EXPECT_EQ(SendMessageA(first->hHandle(), WM_COMMANDHELP, 0, c.context), TRUE) << c.what;
    EXPECT_EQ(requests(), std::vector<Request>{c.expected}) << c.what;
  }
}

TEST_F(PanelHelp, F1ThroughTheKeyHookReachesTheFocusPanel) {
  KyKeyHook hook;
  ASSERT_TRUE(hook.Install());
  KyCtrl* pControl = nullptr;
  RecordingPanel* p = shownWithFocus(&pControl);
  CWnd main;
  main.Attach(p->hHandle());
  app_->m_pMainWnd = &main;
  pControl->SetHelpContextId(71);
  SetActiveWindow(p->hHandle());
  SetFocus(pControl->GetWindowHandle());
  requests();
  input::keyPress(VK_F1);
  pump();
  EXPECT_EQ(requests(), (std::vector<Request>{{HELP_CONTEXT, 71}}));
  app_->m_pMainWnd = nullptr;
  main.Detach();
}

TEST_F(PanelHelp, SplitterAPIPassesThePanelsAnswers) {
  RecordingPanel* host = made(KyTopWindow);
  host->StartPanel();
  RecordingPanel* panes[2];
  for (RecordingPanel*& pane : panes) {
    pane = made(KySplitterPane, host);
    pane->SetSplitterPaneConfig(1, 0, 0);
    pane->StartPanel();
  }
  RecordingPanel* alone = made(KyTopWindow);
  alone->StartPanel();
  KyAppContext::Current()->m_pCurrentFunction = panes[1]->GetFunctionData();
  panes[1]->GetFunctionData()->SetPanel(panes[1]);

  const struct {
    const char* what;
    KyPanel* panel;  // null: the current one
    int pane, percent, expected;
  } cases[] = {
      {"a pane of the current panel's host", nullptr, 0, 40, 1},
      {"the host itself", host, 1, 60, 1},
      {"a percentage out of range", host, 0, 101, 0},
      {"a pane that is not there", nullptr, 2, 50, 0},
      {"a panel without panes", alone, 0, 50, 0},
  };
  KySplitterHost* pHost = host->FindSplitterHost();
  ASSERT_NE(pHost, nullptr);
  RECT rc{};
  GetClientRect(pHost->GetSplitter()->m_hWnd, &rc);
  for (const auto& c : cases) {
    const std::vector<int> before = pHost->GetIdealSizes();
    EXPECT_EQ(KySplitterAPI::ResizePane(c.pane, c.percent, c.panel), c.expected) << c.what;
    if (c.expected)
      EXPECT_EQ(pHost->GetIdealSizes()[static_cast<size_t>(c.pane)], c.percent * rc.right / 100) << c.what;
    else
      EXPECT_EQ(pHost->GetIdealSizes(), before) << c.what;
  }
  EXPECT_EQ(KySplitterAPI::ShowAllPanes(), 1);
  EXPECT_EQ(pHost->GetIdealSizes(), (std::vector<int>{rc.right / 2, rc.right / 2}));
  EXPECT_EQ(KySplitterAPI::ShowAllPanes(host), 1);
  EXPECT_EQ(KySplitterAPI::ShowAllPanes(alone), 0);
  KyAppContext::Current()->m_pCurrentFunction = nullptr;
  EXPECT_EQ(KySplitterAPI::ShowAllPanes(), 0) << "no current panel";
  EXPECT_EQ(KySplitterAPI::ResizePane(0, 50), 0);
}

}  // namespace
