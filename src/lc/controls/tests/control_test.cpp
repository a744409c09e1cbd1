// The control base: native or custom window by kind and settings (process
// wide and per function), state flags on the window, moving with the panel,
// the control text, value pairs and the focus modes.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "KyIntegerFld.h"
#include "KyZOrderMngr.h"
#include "button.h"
#include "controlfixture.h"
#include "editcontrol.h"
#include "kymessages.h"
#include "natctl.h"
#include "ravlets.h"

namespace {

using kytest::controlRecord;

std::string classOf(HWND hWnd) {
  char name[64] = {};
  GetClassNameA(hWnd, name, sizeof name);
  return name;
}

class Controls : public kytest::PanelFixture {
 protected:
  void SetUp() override { ASSERT_TRUE(RavletsInit("KYWA721")); }
};

// Which window a kind gets under which settings.
TEST_F(Controls, ChoosesNativeOrCustomBySettings) {
  struct Case {
    const char* settings;
    const char* kindName;
    int kind;
    int16_t textId;
    DWORD exFlags;
    DWORD style;
    bool native;
  } cases[] = {
      {"", "List", 11, kytest::kTextDescriptor, 0, 0, true},
      {"[NativeControls]\nListBox=0\n", "List", 11, kytest::kTextDescriptor, 0, 0, false},
      {"", "Edit", 3, kytest::kTextDescriptor, 0, 0, true},
      {"", "Edit", 3, kytest::kDoubleDescriptor, 0, 0, false},  // "nd" stays custom
      {"[NativeControls]\nSingleLineEditNumeric=1\n", "Edit", 3, kytest::kDoubleDescriptor, 0, 0, true},
      {"", "Edit", 13, kytest::kTextDescriptor, 0, 0, false},  // a grid cell's edit
      {"", "Stat", 2, kytest::kTextDescriptor, 0, 0, true},
      {"[NativeControls]\nStatics=0\n", "Stat", 2, kytest::kTextDescriptor, 0, 0, false},
      {"", "Butt", 8, kytest::kCheckDescriptor, 0, 0x4, false},  // a check box with style bit 4
      {"", "Butt", 8, kytest::kCheckDescriptor, 0, 0, true},
      {"[NativeControls]\nRadioButton=0\n", "Butt", 9, kytest::kCheckDescriptor, 0, 0, false},
      {"", "Comb", 10, kytest::kTextDescriptor, 0, 0, true},
      {"[NativeControls]\nComboBox=0\n", "Comb", 10, kytest::kTextDescriptor, 0, 0, false},
      {"", "Spin", 14, kytest::kDoubleDescriptor, 0, 0, true},
      {"[NativeControls]\nSpinButton=0\n", "Spin", 14, kytest::kDoubleDescriptor, 0, 0, false},
      {"[NativeControls]\nMultiLineEdit=0\n", "MultiEdit", 15, kytest::kTextDescriptor, 0, 0, true},
  };
  for (const Case& c : cases) {
    open(c.settings);
    KyCtrl* pControl = control(c.kindName, controlRecord(1, c.kind, c.textId, c.exFlags, WS_VISIBLE | c.style));
    SCOPED_TRACE(std::string(c.kindName) + " kind " + std::to_string(c.kind) + " " + c.settings);
    ASSERT_NE(pControl->GetWindowHandle(), nullptr);
    EXPECT_EQ(pControl->IsNative(), c.native);
    EXPECT_EQ(GetParent(pControl->GetWindowHandle()), panel_->ViewHandle());
    if (!c.native) EXPECT_EQ(classOf(pControl->GetWindowHandle()), std::string("KYWA721") + c.kindName);
  }
}

TEST_F(Controls, DisplayOnlyEditBecomesNativeStatic) {
  open("");
  for (DWORD exFlags : {0x80u, 0x200u}) {
    KyCtrl* pControl = control("Edit", controlRecord(1, 3, kytest::kTextDescriptor, exFlags));
    EXPECT_NE(dynamic_cast<KyGUICStaticControl*>(pControl->GetNativeFacade()), nullptr) << exFlags;
  }
}

// A function's own section replaces the whole set (keys it lacks take their
// defaults, not the process-wide values), and only for that function: a
// function whose name begins with another's does not share its settings.
TEST_F(Controls, FunctionSectionReplacesTheSettings) {
  const std::string ini = "[NativeControls]\nListBox=0\n[ABCD:NativeControls]\nComboBox=0\n";
  struct Case {
    const char* function;
    bool nativeList;
    bool nativeCombo;
  } cases[] = {{"ABCD", true, false}, {"ABC", false, true}, {"abcd", true, false}, {"XYZ", false, true}};
  for (const Case& c : cases) {
    open(ini, c.function);
    EXPECT_EQ(control("List", controlRecord(1, 11, kytest::kTextDescriptor))->IsNative(), c.nativeList) << c.function;
    EXPECT_EQ(control("Comb", controlRecord(2, 10, kytest::kTextDescriptor))->IsNative(), c.nativeCombo) << c.function;
  }
  // Both functions in one process, one after the other and back.
  open(ini, "ABCD");
  EXPECT_FALSE(KyNativeSettings::For("ABCD").comboBox);
  EXPECT_TRUE(KyNativeSettings::For("ABC").comboBox);
  EXPECT_FALSE(KyNativeSettings::For("ABCD").comboBox);
}

TEST_F(Controls, FindsTheFunctionSectionBehindLongSectionLists) {
  std::string ini;
  char line[64];
  for (int i = 0; i < 4000; ++i) {
    std::snprintf(line, sizeof line, "[Section number %05d]\nKey=1\n", i);
    ini += line;
  }
  ini += "[LATE:NativeControls]\nListBox=0\n";
  open(ini, "LATE");
  EXPECT_FALSE(KyNativeSettings::For("LATE").listBox) << "a section list beyond 32,767 bytes is read whole";
}

TEST_F(Controls, StateFlagsReachTheWindow) {
  open("");
  KyCtrl* pControl = control("Edit", controlRecord(1, 3, kytest::kTextDescriptor));
  HWND hWnd = pControl->GetWindowHandle();
  struct Case {
    int state;
    bool visible, enabled;
  } cases[] = {{12300, true, true}, {12301, true, false}, {12302, true, false}, {12303, false, false}};
  for (const Case& c : cases) {
    pControl->SetState(c.state);
    EXPECT_EQ((GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE) != 0, c.visible) << c.state;
    EXPECT_EQ(IsWindowEnabled(hWnd) != 0, c.enabled) << c.state;
    EXPECT_EQ(pControl->fOperation(15), c.visible && c.enabled && !(pControl->GetStateFlags() & 4)) << c.state;
  }
  pControl->SetState(12300);
  EXPECT_EQ(pControl->ReadControlText(), KyString("Hello^World")) << "a native control shows '^' as it is";
}

// Window messages a custom control receives, counted by number.
std::map<UINT, int> seen;
WNDPROC previousProc = nullptr;
LRESULT CALLBACK countingProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ++seen[msg];
  return CallWindowProcA(previousProc, hWnd, msg, wParam, lParam);
}

TEST_F(Controls, CustomControlTextIsSetOnlyWhenItChanges) {
  open("[NativeControls]\nSingleLineEdit=0\n");
  KyCtrl* pControl = control("Edit", controlRecord(1, 3, kytest::kTextDescriptor));
  ASSERT_FALSE(pControl->IsNative());
  HWND hWnd = pControl->GetWindowHandle();
  SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  previousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&countingProc)));
  seen.clear();
  EXPECT_TRUE(pControl->ReadControlText().IsEmpty());
  EXPECT_EQ(seen[KYM_EDITGETVALUELENGTH], 1);
  EXPECT_EQ(seen[WM_GETTEXT], 0) << "an empty text is not fetched";
  pControl->SetText("Total");
  pControl->SetText("Total");
  EXPECT_EQ(seen[WM_SETTEXT], 1);
  SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
  pControl->SetText("Two^lines");
  EXPECT_STREQ(pControl->ReadControlText().GetString(), "Two\nlines") << "'^' breaks the line of a custom control";
}

// Anchoring: 4 follows the right edge (with 2 the width stretches), 8 the
// bottom (with 1 the height stretches); without 4 and 8 nothing moves.
TEST_F(Controls, MovesWithThePanel) {
  open("");
  panel_->SetState(12288);  // the panel's size: what its controls are laid out for
  struct Case {
    DWORD flags;
    int dLeft, dTop, dWidth, dHeight;
  } cases[] = {{0x0, 0, 0, 0, 0},   {0x4, 50, 0, 0, 0},  {0x4 | 0x2, 0, 0, 50, 0}, {0x2, 0, 0, 0, 0},
               {0x8, 0, 30, 0, 0},  {0x8 | 0x1, 0, 0, 0, 30}, {0xC, 50, 30, 0, 0}};
  std::vector<std::pair<KyCtrl*, RECT>> before;
  int id = 1;
  for (const Case& c : cases) {
    KyCtrl* pControl = control("Stat", controlRecord(id++, 2, kytest::kTextDescriptor, c.flags));
    RECT rc;
    GetWindowRect(pControl->GetWindowHandle(), &rc);
    MapWindowPoints(nullptr, panel_->ViewHandle(), reinterpret_cast<POINT*>(&rc), 2);
    before.emplace_back(pControl, rc);
  }
  panel_->StartPanel();
  for (const auto& [pControl, old] : before) {
    RECT rc;
    GetWindowRect(pControl->GetWindowHandle(), &rc);
    MapWindowPoints(nullptr, panel_->ViewHandle(), reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_TRUE(EqualRect(&rc, &old)) << "showing the panel moves nothing";
  }
  RECT frame;
  GetWindowRect(panel_->hHandle(), &frame);
  SetWindowPos(panel_->hHandle(), nullptr, 0, 0, frame.right - frame.left + 50, frame.bottom - frame.top + 30,
               SWP_NOMOVE | SWP_NOZORDER);
  for (size_t i = 0; i < before.size(); ++i) {
    RECT rc;
    GetWindowRect(before[i].first->GetWindowHandle(), &rc);
    MapWindowPoints(nullptr, panel_->ViewHandle(), reinterpret_cast<POINT*>(&rc), 2);
    const RECT& old = before[i].second;
    const Case& c = cases[i];
    EXPECT_EQ(rc.left - old.left, c.dLeft) << "flags " << c.flags;
    EXPECT_EQ(rc.top - old.top, c.dTop) << "flags " << c.flags;
    EXPECT_EQ((rc.right - rc.left) - (old.right - old.left), c.dWidth) << "flags " << c.flags;
    EXPECT_EQ((rc.bottom - rc.top) - (old.bottom - old.top), c.dHeight) << "flags " << c.flags;
  }
}

TEST_F(Controls, KeepsAtMost512ValuePairsNormalisedByTheField) {
  open("");
  KyCtrl* pControl = control("List", controlRecord(1, 11, kytest::kTextDescriptor));
  KyIntFld field;
  for (int i = 0; i < 513; ++i) pControl->AddValuePair(field, ("Item " + std::to_string(i)).c_str(), "  007");
  EXPECT_EQ(pControl->GetValuePairCount(), KyCtrl::kMaxValuePairs);
  EXPECT_STREQ(pControl->GetPairValue(0).GetString(), "7") << "value texts in the field's own form";
  EXPECT_STREQ(pControl->GetPairDisplay(511).GetString(), "Item 511");
}

// Mode 13 keeps the control that comes first in the panel's stacking order.
TEST_F(Controls, FocusCandidateFollowsTheStackingOrder) {
  open("");
  KyCtrl* first = control("Edit", controlRecord(1, 3, kytest::kTextDescriptor));
  KyCtrl* second = control("Edit", controlRecord(2, 3, kytest::kTextDescriptor));
  KyCtrl* hidden = control("Edit", controlRecord(3, 3, kytest::kTextDescriptor));
  panel_->SetTabSequence(first->GetWindowHandle(), 20);
  panel_->SetTabSequence(second->GetWindowHandle(), 10);
  panel_->SetTabSequence(hidden->GetWindowHandle(), 5);
  for (KyCtrl* c : {first, second}) c->SetState(12300);
  hidden->SetState(12303);
  for (KyCtrl* c : {first, hidden, second}) EXPECT_EQ(c->fOperation(13), 1);
  EXPECT_EQ(panel_->GetFocusCandidate(), second);
  EXPECT_EQ(first->fOperation(99), 0);
  ASSERT_TRUE(second->SetFocus());
  EXPECT_EQ(panel_->GetFocusWindow(), second->GetWindowHandle());
  EXPECT_EQ(second->fOperation(14), 1);
  EXPECT_TRUE(panel_->IsFocusInControl());
}

TEST_F(Controls, KeepsRecordDataAndTrappedEvents) {
  open("");
  KyCreateCtrl r = controlRecord(7, 3, kytest::kTextDescriptor);
  r.word26 = 26;
  r.word32 = 32;
  r.word38 = 'n';
  r.secondTextId = kytest::kSecondText;
  KyCtrl* pControl = control("Edit", r);
  EXPECT_EQ(pControl->GetId(), 7);
  EXPECT_EQ(pControl->GetWord(26), 26);
  EXPECT_EQ(pControl->GetWord(32), 32);
  EXPECT_EQ(pControl->GetWord(38), 'n');
  EXPECT_STREQ(pControl->GetSecondText(), "Second text");
  pControl->TrapEvent(WM_LBUTTONDBLCLK, "Open");
  pControl->TrapEvent(WM_LBUTTONDBLCLK, "Edit");
  EXPECT_STREQ(pControl->GetTrappedEvent(WM_LBUTTONDBLCLK), "Edit");
  EXPECT_EQ(pControl->GetTrappedEvent(WM_RBUTTONDBLCLK), nullptr);
}

// A custom button takes the key colour of its pictures from [Buttons]
// "UnusedColor": a name of the colour table in any case, any other name
// green; "GREEN" itself (as written) sends nothing and leaves the default.
TEST_F(Controls, CustomButtonsTakeTheUnusedColorByName) {
  struct Case {
    const char* setting;
    COLORREF color;
  } cases[] = {
      {nullptr, 0x00FF00}, {"GREEN", 0x00FF00},   {"green", 0x00FF00}, {"RED", 0x0000FF},
      {"dkblue", 0x800000}, {"Purple", 0x800080}, {"LTGRAY", 0xC0C0C0}, {"no such colour", 0x00FF00},
  };
  for (const Case& c : cases) {
    const std::string buttons = c.setting ? std::string("[Buttons]\nUnusedColor=") + c.setting + "\n" : "";
    open("[NativeControls]\nPushButton=0\n" + buttons);
    KyCtrl* pControl = control("Butt", controlRecord(1, 1, kytest::kTextDescriptor));
    SCOPED_TRACE(c.setting ? c.setting : "(none)");
    ASSERT_NE(pControl->GetWindowHandle(), nullptr);
    ASSERT_FALSE(pControl->IsNative());
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(pControl->GetWindowHandle(), KYM_BUTTGETUNUSEDCOLOR, 0, 0)), c.color);
  }
}

}  // namespace
