// Drag and drop of text from a control of one panel to controls of another:
// the logical events 18 to 23 in order, a refused drop, a drag cancelled by
// Escape, a start the panel refuses, and a panel that takes no drops.
#include <gtest/gtest.h>
#include <ole2.h>

#include <internal/testdataobject.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "KyDragDrop.h"
#include "panelharness.h"

namespace {

namespace input = win32::input;
using kytest::RecordingPanel;

constexpr DWORD kSourceFlag = 0x400;
constexpr DWORD kTargetFlag = 0x800;

// Logical ids: the control id times 100 plus the event code.
int logical(int control, int code) { return control * 100 + code; }

// The events with repeats in a row taken as one ("over" steps come again
// while the pointer rests over a target).
std::vector<int> inSteps(std::vector<int> ran) {
  ran.erase(std::unique(ran.begin(), ran.end()), ran.end());
  return ran;
}

class DragDrop : public kytest::PanelHarness {
 protected:
  void SetUp() override {
    PanelHarness::SetUp();
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  }
  void TearDown() override {
    PanelHarness::TearDown();
    OleUninitialize();
  }
  // A shown top window at x with the options and an edit control per entry
  // (id, extended flags, text).
  RecordingPanel* panelAt(int x, DWORD options, std::vector<std::pair<int, DWORD>> controls) {
    RecordingPanel* p = made(KyTopWindow, nullptr, options);
    for (auto [id, flags] : controls) {
      auto* pControl = new KyCtrl(p, "Edit", kytest::controlRecord(id, 3, 8, 8 + 40 * (id % 10), 120, 24, 20010, 0, flags), 1);
      p->AddControl(pControl);
      for (int code = KyDragStart; code <= KyDragEnd; ++code) p->AddEvent(new KyLogEvent(id, code, logical(id, code), "", "", 0));
    }
    for (int code = KyDragStart; code <= KyDragEnd; ++code) p->AddEvent(new KyLogEvent(-1, code, logical(0, code), "", "", 0));
    p->StartPanel();
    SetWindowPos(p->hHandle(), nullptr, x, 0, 400, 300, SWP_NOZORDER);
    return p;
  }
  HWND control(KyPanel* p, int id) { return p->pGetCtrl(id)->GetWindowHandle(); }
  // A person's hand during the drag: one step at each tick of a timer (the
  // drag's loop runs the timer), each step seen before the next is made
  // (moves of the mouse that wait together count as the last one).
  void perform(HWND hTimerWindow, std::vector<std::function<void()>> steps) {
    s_steps = std::move(steps);
    SetTimer(hTimerWindow, 77, 10, [](HWND hWnd, UINT, UINT_PTR id, DWORD) {
      if (s_steps.empty()) {
        KillTimer(hWnd, id);
        return;
      }
      auto step = s_steps.front();
      s_steps.erase(s_steps.begin());
      step();
    });
    for (int i = 0; i < 200 && !s_steps.empty(); ++i) {
      pump();
      Sleep(5);
    }
    pump();
  }
  static inline std::vector<std::function<void()>> s_steps;
  std::string text(KyPanel* p, int id) {
    char buffer[64] = {};
    GetWindowTextA(control(p, id), buffer, sizeof buffer);
    return buffer;
  }
};

TEST_F(DragDrop, TextGoesFromAControlToAnotherPanelsControl) {
  struct Case {
    const char* name;
    bool acceptStart, acceptDrop, escape;
    std::vector<int> sourceEvents;  // logical ids of the source panel
    std::vector<int> targetEvents;
    const char* dropped;  // the second target's text afterwards
  } cases[] = {
      {"dropped", true, true, false, {logical(1, 18), logical(1, 23)},
       {logical(2, 19), logical(2, 21), logical(2, 20), logical(3, 19), logical(3, 21), logical(3, 22)}, "Hello"},
      {"refused", true, false, false, {logical(1, 18), logical(1, 23)},
       {logical(2, 19), logical(2, 21), logical(2, 20), logical(3, 19), logical(3, 21), logical(3, 22)}, ""},
      {"cancelled by Escape", true, true, true, {logical(1, 18), logical(1, 23)},
       {logical(2, 19), logical(2, 21), logical(2, 20), logical(3, 19), logical(3, 21), logical(3, 20)}, ""},
      {"start refused", false, true, false, {logical(1, 18)}, {}, ""},
  };
  for (const Case& c : cases) {
    RecordingPanel* from = panelAt(0, 0x41, {{1, kSourceFlag}});
    RecordingPanel* to = panelAt(450, 0x841, {{2, kTargetFlag}, {3, kTargetFlag}});
    from->pGetCtrl(1)->SetText("Hello");
    // The generated code answers through the application's state.
    from->onEvent = [&](int id) {
      if (id == logical(1, 18)) {
        app_->m_fAcceptDrag = c.acceptStart;
        app_->m_dwDragEffect = DROPEFFECT_COPY;
      }
    };
    to->onEvent = [&](int id) {
      app_->m_fAcceptDrop = id == logical(3, 22) ? c.acceptDrop : TRUE;
      app_->m_dwDropEffect = DROPEFFECT_COPY;
    };
    HWND h1 = control(from, 1), h2 = control(to, 2), h3 = control(to, 3);
    std::vector<std::function<void()>> steps = {
        [=] { input::mouseDown(h1, 10, 10); }, [=] { input::mouseMove(h2, 10, 10); },
        [=] { input::mouseMove(h2, 20, 12); }, [=] { input::mouseMove(h3, 20, 12); }};
    if (c.escape) steps.push_back([] { input::keyPress(VK_ESCAPE); });
    steps.push_back([=] { input::mouseUp(h3, 20, 12); });
    perform(from->hHandle(), steps);
    EXPECT_EQ(from->ran, c.sourceEvents) << c.name;
    EXPECT_EQ(inSteps(to->ran), c.targetEvents) << c.name;
    EXPECT_EQ(text(to, 3), c.dropped) << c.name;
    EXPECT_EQ(text(to, 2), "") << c.name;
    EXPECT_EQ(app_->m_dwArrivingDropEffect, DWORD(c.dropped[0] ? DROPEFFECT_COPY : DROPEFFECT_NONE)) << c.name;
    EXPECT_EQ(GetCapture(), nullptr) << c.name;
    from->PanelReturn();
    to->PanelReturn();
    pump();
  }
}

TEST_F(DragDrop, PanelWithoutDropOptionTakesNothing) {
  RecordingPanel* from = panelAt(0, 0x41, {{1, kSourceFlag}});
  RecordingPanel* to = panelAt(450, 0x41, {});
  from->pGetCtrl(1)->SetText("Hello");
  from->onEvent = [&](int) {
    app_->m_fAcceptDrag = TRUE;
    app_->m_dwDragEffect = DROPEFFECT_COPY;
  };
  to->onEvent = [&](int) {
    app_->m_fAcceptDrop = TRUE;
    app_->m_dwDropEffect = DROPEFFECT_COPY;
  };
  HWND h1 = control(from, 1), hView = to->ViewHandle();
  perform(from->hHandle(), {[=] { input::mouseDown(h1, 10, 10); }, [=] { input::mouseMove(hView, 100, 100); },
                            [=] { input::mouseUp(hView, 100, 100); }});
  EXPECT_TRUE(to->ran.empty());
  EXPECT_EQ(from->ran, (std::vector<int>{logical(1, 18), logical(1, 23)}));
  EXPECT_EQ(app_->m_dwArrivingDropEffect, DWORD(DROPEFFECT_NONE));
}

TEST_F(DragDrop, DataWithoutTextGivesAnEmptyDroppedText) {
  RecordingPanel* to = panelAt(450, 0x841, {{2, kTargetFlag}});
  app_->m_strDropDataIn = "stale";
  to->onEvent = [&](int) { app_->m_fAcceptDrop = TRUE; };
  kytest::EmptyDataObject data;
  RECT rc{};
  GetWindowRect(control(to, 2), &rc);
  DWORD effect = DROPEFFECT_COPY;
  KyOLEDropTarget* pTarget = to->GetDragDrop()->GetDropTarget();
  EXPECT_EQ(pTarget->DragEnter(&data, MK_LBUTTON, POINTL{rc.left + 2, rc.top + 2}, &effect), S_OK);
  EXPECT_EQ(to->ran, std::vector<int>{logical(2, 19)});
  EXPECT_EQ(std::string(pTarget->GetDroppedText()), "");
  EXPECT_EQ(std::string(app_->m_strDropDataIn), "");
  pTarget->DragLeave();
}

}  // namespace
