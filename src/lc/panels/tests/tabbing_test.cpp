// Tab across panels: a panel nested in a site hands the focus at its ends
// to the tab stops around it, level by level, and round again in the
// outermost panel; a splitter pane whose panel lets Tab cross hands it to
// the neighbouring pane. Tab onto check boxes and radio groups, arrows
// within a radio group.
#include <gtest/gtest.h>

#include "HButt.h"
#include "KySite.h"
#include "panelharness.h"

namespace {

using kytest::RecordingPanel;
namespace input = win32::input;

// One Tab (or Shift+Tab) on a panel from a window, and where the focus lands.
struct TabStep {
  const char* what;
  KyPanel* panel;
  HWND from;
  bool back;
  HWND to;
};

class Tabbing : public kytest::PanelHarness {
 protected:
  // A shown panel of the kind with two tab stops (ids 1 and 2) and, when
  // asked, a site named "Customer" the next nested panel enters.
  RecordingPanel* withStops(int kind, KyPanel* pParent, bool site) {
    RecordingPanel* p = kind == KySiteChild ? made(kind, pParent, kytest::kGeneratedOptions, WS_CAPTION)
                                            : made(kind, pParent);
    addStatic(p, 1, 8, 8);
    addStatic(p, 2, 8, 40);
    if (site) p->AddControl(new KySite(p, kytest::controlRecord(40, KySite::kKind, 120, 8, 200, 120, 0, 20001)));
    p->StartPanel();
    if (site) {
      EXPECT_EQ(p->SetSite("Customer", 0), 1);
    }
    return p;
  }
  static HWND stop(KyPanel* p, int id) { return p->pGetCtrl(id)->GetWindowHandle(); }
  // The panel's Tab (Shift+Tab with back) from the window.
  static void tab(const std::vector<TabStep>& steps) {
    for (const TabStep& s : steps) {
      SetFocus(s.from);
      if (s.back) input::keyDown(VK_SHIFT);
      pump();
      EXPECT_TRUE(s.panel->KyPanel::OnKeyBoard(VK_TAB)) << s.what;
      if (s.back) input::keyUp(VK_SHIFT);
      pump();
      EXPECT_EQ(GetFocus(), s.to) << s.what;
    }
  }
};

TEST_F(Tabbing, NestedPanelsHandTheFocusOnLevelByLevel) {
  // A dialog under a top window holds stop 1, the middle panel, stop 2; the
  // middle panel its stops 1 and 2, the inner panel last; the inner panel
  // stops 1 and 2.
  RecordingPanel* top = made(KyTopWindow);
  top->StartPanel();
  RecordingPanel* outer = withStops(KyDialogUnderParent, top, true);
  RecordingPanel* middle = withStops(KySiteChild, outer, true);
  RecordingPanel* inner = withStops(KySiteChild, middle, false);
  SetWindowPos(middle->hHandle(), stop(outer, 1), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(inner->hHandle(), stop(middle, 2), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (KyPanel* p : {middle, inner}) SetWindowLongA(p->hHandle(), GWL_STYLE, GetWindowLongA(p->hHandle(), GWL_STYLE) | WS_TABSTOP);

  tab({
      {"within the inner panel", inner, stop(inner, 1), false, stop(inner, 2)},
      {"past the inner panel's last: past the middle's too", inner, stop(inner, 2), false, stop(outer, 2)},
      {"before the inner panel's first: the middle's stop before it", inner, stop(inner, 1), true, stop(middle, 2)},
      {"before the middle's first: the outer stop before it", middle, stop(middle, 1), true, stop(outer, 1)},
      {"the outer stop after the middle panel enters it", outer, stop(outer, 1), false, stop(middle, 1)},
      {"back into the middle panel: its last stop, deepest first", outer, stop(outer, 2), true, stop(inner, 2)},
      {"the outermost wraps", outer, stop(outer, 2), false, stop(outer, 1)},
  });
}

TEST_F(Tabbing, PanesLetTabCrossWhenTheirPanelAsks) {
  for (int across : {1, 0}) {
    RecordingPanel* host = made(KyTopWindow);
    host->StartPanel();
    RecordingPanel* panes[2];
    for (RecordingPanel*& pane : panes) {
      pane = made(KySplitterPane, host);
      pane->SetSplitterPaneConfig(1, 0, across);
      addStatic(pane, 1, 8, 8);
      addStatic(pane, 2, 8, 40);
      pane->StartPanel();
    }
    if (!across) {
      SetFocus(stop(panes[0], 2));
      EXPECT_FALSE(panes[0]->KyPanel::OnKeyBoard(VK_TAB)) << "the dialog's own tabbing";
      continue;
    }
    tab({
        {"within a pane", panes[0], stop(panes[0], 1), false, stop(panes[0], 2)},
        {"past the first pane's last", panes[0], stop(panes[0], 2), false, stop(panes[1], 1)},
        {"before the second pane's first", panes[1], stop(panes[1], 1), true, stop(panes[0], 2)},
        {"past the last pane: round in it", panes[1], stop(panes[1], 2), false, stop(panes[1], 1)},
    });
  }
}

// A check box, a group of three automatic radio buttons and a push button
// on a dialog panel and on an MDI child: Tab stops at the checked radio
// button of the group only, arrows move the check and the focus within the
// group (and round it).
TEST_F(Tabbing, TabLandsOnTheCheckedRadioButtonAndArrowsMoveWithinTheGroup) {
  constexpr DWORD kAutoCheckBox = 0x0802, kAutoRadio = 0x0803;
  RecordingPanel* top = made(KyTopWindow);
  top->StartPanel();
  RecordingPanel* frame = made(KyMDIFrame);
  frame->StartPanel();
  for (int kind : {KyDialogUnderParent, KyMDIChild}) {
    RecordingPanel* p = made(kind, kind == KyMDIChild ? frame : top);
    auto button = [&](int id, int controlKind, DWORD style, int16_t text) {
      KyCreateCtrl r = kytest::controlRecord(id, controlKind, 8, 8 + 28 * id, 120, 24, text);
      r.style |= style;
      p->AddControl(new HButt(p, r, 1));
      return p->pGetCtrl(id)->GetWindowHandle();
    };
    HWND hCheck = button(1, KindCheckBox, kAutoCheckBox, 20005);
    HWND hRadios[] = {button(2, KindRadioButton, kAutoRadio | WS_GROUP, 20006),
                      button(3, KindRadioButton, kAutoRadio, 20007), button(4, KindRadioButton, kAutoRadio, 20008)};
    HWND hPush = button(5, KindPushButton, WS_GROUP, 20003);
    p->StartPanel();
    SendMessageA(hRadios[1], BM_SETCHECK, BST_CHECKED, 0);
    tab({
        {"from the check box to the checked radio button", p, hCheck, false, hRadios[1]},
        {"from the group on", p, hRadios[1], false, hPush},
        {"back into the group", p, hPush, true, hRadios[1]},
        {"back out of the group", p, hRadios[1], true, hCheck},
    });
    // Arrows: through the application's loop, as the user presses them.
    SetFocus(hRadios[1]);
    const struct {
      UINT key;
      int at;
    } arrows[] = {{VK_DOWN, 2}, {VK_DOWN, 0}, {VK_UP, 2}, {VK_RIGHT, 0}};
    for (const auto& a : arrows) {
      input::keyPress(a.key);
      pumpApp();
      EXPECT_EQ(GetFocus(), hRadios[a.at]) << "kind " << kind << " key " << a.key;
      for (int i = 0; i < 3; ++i)
        EXPECT_EQ(SendMessageA(hRadios[i], BM_GETCHECK, 0, 0), i == a.at ? BST_CHECKED : BST_UNCHECKED)
            << "kind " << kind << " radio " << i;
    }
    tab({{"Tab follows the check", p, hCheck, false, hRadios[0]}});
    // Space on the check box checks it.
    SetFocus(hCheck);
    input::keyPress(VK_SPACE);
    pumpApp();
    EXPECT_EQ(SendMessageA(hCheck, BM_GETCHECK, 0, 0), BST_CHECKED) << "kind " << kind;
    p->PanelReturn();
    pump();
  }
}

}  // namespace
