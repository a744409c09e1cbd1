// Keyboard navigation in dialogs: Tab and Shift+Tab, arrows within groups,
// Enter and Escape, mnemonics, DM_SETDEFID and the WM_GETDLGCODE answers -
// with the tests' own control classes, and with the standard controls.
#include "data/menudialog.h"
#include "dialog_testcontrols.h"

#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

using namespace dialogtest;
namespace input = win32::input;

namespace {

class Navigation : public ::testing::Test {
 protected:
  void SetUp() override {
    registerControls();
    dialogLog() = {};
    owner = CreateWindowExA(0, "KyTestOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 600, 500, nullptr,
                            nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    if (dialog) DestroyWindow(dialog);
    DestroyWindow(owner);
    input::pumpMessages();
    BYTE none[256] = {};
    SetKeyboardState(none);
  }
  void open(int id) {
    dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(id), owner, loggingDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    pumpDialog(dialog);
    dialogLog() = {};
  }
  int focusId() { return GetDlgCtrlID(GetFocus()); }
  void press(UINT vk, bool shift = false, bool alt = false) {
    input::chord(vk, shift, false, alt);
    pumpDialog(dialog);
  }
  HWND item(int id) { return GetDlgItem(dialog, id); }
  HWND owner = nullptr;
  HWND dialog = nullptr;
};

TEST_F(Navigation, TabWalksTheTabStopsInOrderAndShiftTabWalksBack) {
  open(IDD_PLAIN);
  ASSERT_EQ(focusId(), IDC_NAME);
  const int forward[] = {IDC_FIRST, IDC_KEEP, IDOK, IDCANCEL, IDC_APPLY, IDC_NAME};
  for (int expected : forward) {
    press(VK_TAB);
    EXPECT_EQ(focusId(), expected);
  }
  const int backward[] = {IDC_APPLY, IDCANCEL, IDOK, IDC_KEEP, IDC_FIRST, IDC_NAME};
  for (int expected : backward) {
    press(VK_TAB, true);
    EXPECT_EQ(focusId(), expected);
  }
  // Disabled and hidden controls are passed over.
  EnableWindow(item(IDC_FIRST), FALSE);
  ShowWindow(item(IDC_KEEP), SW_HIDE);
  press(VK_TAB);
  EXPECT_EQ(focusId(), IDOK);
  EXPECT_TRUE(dialogLog().commands.empty());
}

TEST_F(Navigation, ArrowsMoveWithinTheGroupAndCheckAutomaticRadioButtons) {
  open(IDD_PLAIN);
  SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)item(IDC_FIRST), TRUE);
  struct Step {
    UINT key;
    int focus;
  } steps[] = {{VK_DOWN, IDC_SECOND}, {VK_RIGHT, IDC_THIRD}, {VK_DOWN, IDC_FIRST}, {VK_UP, IDC_THIRD},
               {VK_LEFT, IDC_SECOND}};
  for (const Step& s : steps) {
    press(s.key);
    EXPECT_EQ(focusId(), s.focus);
    for (int id : {IDC_FIRST, IDC_SECOND, IDC_THIRD})
      EXPECT_EQ(IsDlgButtonChecked(dialog, id), id == s.focus ? (UINT)BST_CHECKED : (UINT)BST_UNCHECKED) << id;
  }
  ASSERT_FALSE(dialogLog().commands.empty());
  EXPECT_EQ(dialogLog().commands.back(), (WPARAM)MAKEWPARAM(IDC_SECOND, BN_CLICKED));
  // A group of one keeps the focus; the edit wants its arrows.
  SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)item(IDC_KEEP), TRUE);
  press(VK_DOWN);
  EXPECT_EQ(focusId(), IDC_KEEP);
  SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)item(IDC_NAME), TRUE);
  received().clear();
  press(VK_DOWN);
  EXPECT_EQ(focusId(), IDC_NAME);
  EXPECT_TRUE(receivedBy(item(IDC_NAME), WM_KEYDOWN));
}

TEST_F(Navigation, EnterPressesTheDefaultButtonAndEscapeCancels) {
  open(IDD_PLAIN);
  struct Case {
    int focus;
    int defaultId;  // 0: the template's
    UINT key;
    WPARAM command;
  } cases[] = {
      {IDC_NAME, 0, VK_RETURN, MAKEWPARAM(IDOK, BN_CLICKED)},
      {IDC_NAME, IDC_APPLY, VK_RETURN, MAKEWPARAM(IDC_APPLY, BN_CLICKED)},
      {IDCANCEL, 0, VK_RETURN, MAKEWPARAM(IDCANCEL, BN_CLICKED)},  // the focused push button is the default
      {IDC_KEEP, 0, VK_ESCAPE, MAKEWPARAM(IDCANCEL, BN_CLICKED)},
  };
  for (const Case& c : cases) {
    SendMessageA(dialog, DM_SETDEFID, c.defaultId ? c.defaultId : IDOK, 0);
    SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)item(c.focus), TRUE);
    dialogLog() = {};
    press(c.key);
    ASSERT_EQ(dialogLog().commands.size(), 1u) << c.focus << " " << c.key;
    EXPECT_EQ(dialogLog().commands[0], c.command);
  }
  // A disabled default button is not pressed.
  SendMessageA(dialog, DM_SETDEFID, IDOK, 0);
  SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)item(IDC_NAME), TRUE);
  EnableWindow(item(IDOK), FALSE);
  dialogLog() = {};
  press(VK_RETURN);
  EXPECT_TRUE(dialogLog().commands.empty());
}

TEST_F(Navigation, TheDefaultButtonFollowsTheFocus) {
  open(IDD_PLAIN);
  EXPECT_EQ(buttonType(item(IDOK)), (UINT)BS_DEFPUSHBUTTON);
  SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)item(IDC_APPLY), TRUE);
  EXPECT_EQ(buttonType(item(IDC_APPLY)), (UINT)BS_DEFPUSHBUTTON);
  EXPECT_EQ(buttonType(item(IDOK)), (UINT)BS_PUSHBUTTON);
  press(VK_TAB);  // to the edit: the dialog's default shows again
  EXPECT_EQ(focusId(), IDC_NAME);
  EXPECT_EQ(buttonType(item(IDC_APPLY)), (UINT)BS_PUSHBUTTON);
  EXPECT_EQ(buttonType(item(IDOK)), (UINT)BS_DEFPUSHBUTTON);
}

TEST_F(Navigation, MnemonicsClickButtonsAndLabelsLeadToTheirControl) {
  open(IDD_PLAIN);
  SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)item(IDOK), TRUE);
  // The focus is on a button, which wants no characters: a plain letter is a mnemonic.
  press('K');
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_KEEP), (UINT)BST_CHECKED);
  ASSERT_EQ(dialogLog().commands.size(), 1u);
  EXPECT_EQ(dialogLog().commands[0], (WPARAM)MAKEWPARAM(IDC_KEEP, BN_CLICKED));
  press('N');  // "&Name:" is a label: the focus goes to the edit after it
  EXPECT_EQ(focusId(), IDC_NAME);
  // In the edit a letter is text; with Alt it is a mnemonic.
  dialogLog() = {};
  received().clear();
  press('S');
  EXPECT_TRUE(receivedBy(item(IDC_NAME), WM_CHAR));
  EXPECT_TRUE(dialogLog().commands.empty());
  press('S', false, true);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SECOND), (UINT)BST_CHECKED);
  ASSERT_EQ(dialogLog().commands.size(), 1u);
  EXPECT_EQ(dialogLog().commands[0], (WPARAM)MAKEWPARAM(IDC_SECOND, BN_CLICKED));
  // A letter no control has does nothing.
  dialogLog() = {};
  press('Z', false, true);
  EXPECT_TRUE(dialogLog().commands.empty());
}

TEST_F(Navigation, ControlsThatWantAllKeysKeepTabEnterAndEscape) {
  open(IDD_PLAIN);
  HWND edit = item(IDC_NAME);
  SetWindowLongA(edit, GWL_STYLE, GetWindowLongA(edit, GWL_STYLE) | ES_MULTILINE);
  SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)edit, TRUE);
  received().clear();
  for (UINT key : {VK_TAB, VK_RETURN, VK_ESCAPE}) {
    press(key);
    EXPECT_EQ(GetFocus(), edit);
  }
  EXPECT_TRUE(dialogLog().commands.empty());
  int keys = 0;
  for (const Received& r : received())
    if (r.hwnd == edit && r.msg == WM_KEYDOWN) ++keys;
  EXPECT_EQ(keys, 3);
}

TEST_F(Navigation, NextItemFunctionsWalkTabStopsAndGroups) {
  open(IDD_PLAIN);
  struct Case {
    bool group;
    int from;  // 0: none
    BOOL previous;
    int expected;
  } cases[] = {
      {false, 0, FALSE, IDC_NAME},       {false, 0, TRUE, IDC_APPLY},       {false, IDC_APPLY, FALSE, IDC_NAME},
      {false, IDC_NAME, TRUE, IDC_APPLY}, {false, IDC_LABEL, FALSE, IDC_NAME}, {false, IDC_SECOND, FALSE, IDC_KEEP},
      {true, IDC_FIRST, FALSE, IDC_SECOND}, {true, IDC_FIRST, TRUE, IDC_THIRD}, {true, IDC_THIRD, FALSE, IDC_FIRST},
      {true, IDOK, FALSE, IDCANCEL},     {true, IDC_APPLY, FALSE, IDOK},    {true, IDC_KEEP, FALSE, IDC_KEEP},
  };
  for (const Case& c : cases) {
    HWND from = c.from ? item(c.from) : nullptr;
    HWND got = c.group ? GetNextDlgGroupItem(dialog, from, c.previous) : GetNextDlgTabItem(dialog, from, c.previous);
    EXPECT_EQ(GetDlgCtrlID(got), c.expected) << (c.group ? "group " : "tab ") << c.from << " " << c.previous;
  }
  EXPECT_EQ(GetNextDlgTabItem((HWND)0x7FFFFFF0, nullptr, FALSE), nullptr);
  // Messages of other windows are not the dialog manager's.
  MSG other{owner, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  EXPECT_FALSE(IsDialogMessageA(dialog, &other));
  EXPECT_FALSE(IsDialogMessageA(dialog, nullptr));
}

TEST_F(Navigation, TabGoesIntoADialogInsideTheDialog) {
  open(IDD_PLAIN);
  // A child dialog (DS_CONTROL makes it WS_EX_CONTROLPARENT) with two tab stops, last in z-order.
  HWND inner = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_MODAL), dialog, loggingDialogProc, 0);
  ASSERT_NE(inner, nullptr);
  SetWindowLongA(inner, GWL_STYLE, (GetWindowLongA(inner, GWL_STYLE) & ~(WS_POPUP | WS_CAPTION)) | WS_CHILD);
  SetParent(inner, dialog);
  SetWindowLongA(inner, GWL_EXSTYLE, GetWindowLongA(inner, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  SetWindowPos(inner, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
  SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)item(IDC_APPLY), TRUE);
  EXPECT_EQ(GetNextDlgTabItem(dialog, item(IDC_APPLY), FALSE), GetDlgItem(inner, IDOK));
  EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(inner, IDCANCEL), FALSE), item(IDC_NAME));
  EXPECT_EQ(GetNextDlgTabItem(dialog, item(IDC_NAME), TRUE), GetDlgItem(inner, IDCANCEL));
}

// The standard controls of the layer ("Button", "Edit", "ListBox", "ComboBox", "Static").
TEST_F(Navigation, TabbingThroughADialogOfStandardControls) {
  open(IDD_REAL);
  ASSERT_EQ(focusId(), IDC_NAME);
  const int order[] = {IDC_FIRST, IDC_KEEP, IDC_LIST, IDC_COMBO, IDOK, IDCANCEL, IDC_APPLY, IDC_NAME};
  for (int expected : order) {
    press(VK_TAB);
    EXPECT_EQ(focusId(), expected);
  }
  // Into the radio group and down it: the automatic radio buttons check themselves.
  press(VK_TAB);
  press(VK_DOWN);
  EXPECT_EQ(focusId(), IDC_SECOND);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SECOND), (UINT)BST_CHECKED);
  // A mnemonic of the check box, then Enter for the default button from the edit.
  press('K', false, true);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_KEEP), (UINT)BST_CHECKED);
  press('N', false, true);
  EXPECT_EQ(focusId(), IDC_NAME);
  input::typeText("abc");
  pumpDialog(dialog);
  char text[16];
  GetDlgItemTextA(dialog, IDC_NAME, text, sizeof text);
  EXPECT_STREQ(text, "abc");
  dialogLog() = {};
  press(VK_RETURN);
  bool ok = false;
  for (WPARAM c : dialogLog().commands) ok |= c == (WPARAM)MAKEWPARAM(IDOK, BN_CLICKED);
  EXPECT_TRUE(ok);
}

}  // namespace
