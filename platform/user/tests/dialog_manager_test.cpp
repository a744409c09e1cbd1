// The dialog manager beyond templates: IsDialogMessage on an ordinary
// window, a dialog-class window made with CreateWindowEx, the focus a
// dialog keeps across deactivation, and a multi-line edit's Enter and Escape.
#include "message_log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kEdit = 10, kRadio1 = 11, kRadio2 = 12, kRadio3 = 13, kCheck = 14;

HWND makeChild(HWND parent, const char* cls, const char* text, DWORD style, int id, int y) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, y, 120, 20, parent,
                         (HMENU)(INT_PTR)id, nullptr, nullptr);
}

// Controls in tab order: an edit, three automatic radio buttons (one
// group), a check box, OK and Cancel.
void addControls(HWND parent) {
  makeChild(parent, "Edit", "text", WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, kEdit, 0);
  makeChild(parent, "Button", "one", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, kRadio1, 22);
  makeChild(parent, "Button", "two", BS_AUTORADIOBUTTON, kRadio2, 44);
  makeChild(parent, "Button", "three", BS_AUTORADIOBUTTON, kRadio3, 66);
  makeChild(parent, "Button", "check", WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, kCheck, 88);
  makeChild(parent, "Button", "OK", WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, IDOK, 110);
  makeChild(parent, "Button", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, 132);
}

void setShift(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

// A key as the message loop would hand it to IsDialogMessage.
BOOL keyToDialog(HWND dialog, UINT vk, bool shift = false) {
  setShift(shift);
  MSG m{GetFocus(), WM_KEYDOWN, vk, 1, GetTickCount(), {0, 0}};
  BOOL used = IsDialogMessageA(dialog, &m);
  setShift(false);
  return used;
}

std::vector<int> filterCodes;
LRESULT CALLBACK msgFilter(int code, WPARAM wParam, LPARAM lParam) {
  filterCodes.push_back(code);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class DialogManager : public ::testing::Test {
 protected:
  void TearDown() override {
    if (window) DestroyWindow(window);
    test::flushMessages();
    test::answer() = nullptr;
  }
  int focusId() { return GetDlgCtrlID(GetFocus()); }
  HWND window = nullptr;
};

TEST_F(DialogManager, AnOrdinaryWindowGetsTabArrowsEnterAndEscape) {
  window = CreateWindowExA(0, test::recorderClass(), "plain", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                           nullptr, nullptr);
  addControls(window);
  SetFocus(GetDlgItem(window, kEdit));
  HHOOK hook = SetWindowsHookExA(WH_MSGFILTER, msgFilter, nullptr, GetCurrentThreadId());
  filterCodes.clear();
  struct Step {
    UINT vk;
    bool shift;
    int focus;     // where the focus is afterwards
    int checked;   // the radio button checked afterwards (0: none)
    int command;   // the command the window got (0: none)
  } steps[] = {
      {VK_TAB, false, kRadio1, 0, 0},      {VK_DOWN, false, kRadio2, kRadio2, kRadio2},
      {VK_DOWN, false, kRadio3, kRadio3, kRadio3}, {VK_DOWN, false, kRadio1, kRadio1, kRadio1},
      {VK_UP, false, kRadio3, kRadio3, kRadio3},   {VK_TAB, false, kCheck, kRadio3, 0},
      {VK_TAB, false, IDOK, kRadio3, 0},     {VK_TAB, true, kCheck, kRadio3, 0},
      // Shift+Tab back into the group lands on its checked button, the group's tab stop.
      {VK_TAB, true, kRadio3, kRadio3, 0},  {VK_TAB, true, kEdit, kRadio3, 0},
      {VK_RETURN, false, kEdit, kRadio3, IDOK}, {VK_ESCAPE, false, kEdit, kRadio3, IDCANCEL},
  };
  int n = 0;
  for (const Step& s : steps) {
    test::log().clear();
    EXPECT_TRUE(keyToDialog(window, s.vk, s.shift)) << n;
    EXPECT_EQ(focusId(), s.focus) << "step " << n;
    for (int id : {kRadio1, kRadio2, kRadio3})
      EXPECT_EQ(IsDlgButtonChecked(window, id), id == s.checked ? (UINT)BST_CHECKED : (UINT)BST_UNCHECKED)
          << "step " << n << " button " << id;
    int command = 0;
    for (const test::Logged& l : test::log())
      if (l.hwnd == window && l.msg == WM_COMMAND && HIWORD(l.wParam) == BN_CLICKED) command = LOWORD(l.wParam);
    EXPECT_EQ(command, s.command) << "step " << n;
    ++n;
  }
  // Every message went through the WH_MSGFILTER hook as a dialog's.
  EXPECT_EQ(filterCodes, std::vector<int>(std::size(steps), MSGF_DIALOGBOX));
  UnhookWindowsHookEx(hook);
}

TEST_F(DialogManager, ADialogClassWindowMadeWithCreateWindowExKeepsADefaultButton) {
  window = CreateWindowExA(0, WC_DIALOG, "made", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr, nullptr,
                           nullptr);
  ASSERT_TRUE(window);
  addControls(window);
  EXPECT_EQ(SendMessageA(window, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));  // the one that shows
  EXPECT_TRUE(SendMessageA(window, DM_SETDEFID, IDCANCEL, 0));
  EXPECT_EQ(SendMessageA(window, DM_GETDEFID, 0, 0), MAKELRESULT(IDCANCEL, DC_HASDEFID));
  EXPECT_EQ(GetWindowLongA(GetDlgItem(window, IDCANCEL), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongA(GetDlgItem(window, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  RECT r{0, 0, 4, 8};
  EXPECT_TRUE(MapDialogRect(window, &r));
  EXPECT_EQ(r.right, LOWORD(GetDialogBaseUnits()));
  SetFocus(GetDlgItem(window, kCheck));
  EXPECT_TRUE(keyToDialog(window, VK_TAB));
  EXPECT_EQ(focusId(), IDOK);
  EXPECT_TRUE(EndDialog(window, 5));
}

TEST_F(DialogManager, TheFocusLeftWithTheDialogComesBackWithIt) {
  window = CreateWindowExA(0, WC_DIALOG, "focus", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr, nullptr,
                           nullptr);
  addControls(window);
  HWND other = CreateWindowExA(0, test::recorderClass(), "other", WS_POPUP | WS_VISIBLE, 400, 0, 100, 100, nullptr,
                               nullptr, nullptr, nullptr);
  struct Case {
    int focused;  // the control focused before leaving (0: none ever)
    int back;     // the control focused on coming back
  } cases[] = {{kCheck, kCheck}, {IDCANCEL, IDCANCEL}, {kEdit, kEdit}};
  for (const Case& c : cases) {
    SetActiveWindow(window);
    SetFocus(GetDlgItem(window, c.focused));
    SetActiveWindow(other);
    EXPECT_EQ(GetFocus(), other);
    SetActiveWindow(window);
    EXPECT_EQ(focusId(), c.back);
  }
  // Activated without a remembered control: the first tab stop.
  HWND fresh = CreateWindowExA(0, WC_DIALOG, "fresh", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  addControls(fresh);
  ShowWindow(fresh, SW_SHOW);
  EXPECT_EQ(GetFocus(), GetDlgItem(fresh, kEdit));
  DestroyWindow(fresh);
  DestroyWindow(other);
}

std::vector<std::pair<UINT, WPARAM>> dialogHeard;
INT_PTR CALLBACK hearingProc(HWND, UINT msg, WPARAM wParam, LPARAM) {
  // The edits' own EN_* notifications are left out.
  bool button = msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL);
  if (msg == WM_CLOSE || button) dialogHeard.emplace_back(msg, wParam);
  return FALSE;
}

TEST_F(DialogManager, AMultiLineEditTakesEnterAndSendsEscapeOnAsWmClose) {
  window = CreateWindowExA(0, WC_DIALOG, "edit", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr, nullptr,
                           nullptr);
  SetWindowLongPtrA(window, DWLP_DLGPROC, (LONG_PTR)hearingProc);
  HWND plain = makeChild(window, "Edit", "", WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL, 20, 0);
  HWND wants = makeChild(window, "Edit", "", WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 21, 30);
  makeChild(window, "Button", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 60);
  struct Case {
    HWND edit;
    UINT vk;
    int lines;  // the edit's lines afterwards
    std::vector<std::pair<UINT, WPARAM>> heard;
  } cases[] = {
      {wants, VK_RETURN, 2, {}},
      {plain, VK_RETURN, 1, {{WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED)}}},
      {plain, VK_ESCAPE, 1, {{WM_CLOSE, 0}, {WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)}}},
      {wants, VK_ESCAPE, 2, {{WM_CLOSE, 0}, {WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)}}},
  };
  for (const Case& c : cases) {
    SetFocus(c.edit);
    dialogHeard.clear();
    MSG m{c.edit, WM_KEYDOWN, c.vk, 1, 0, {0, 0}};
    // The edit wants every key: it is dispatched to it (and translated into WM_CHAR).
    EXPECT_TRUE(IsDialogMessageA(window, &m));
    MSG posted;
    while (PeekMessageA(&posted, nullptr, 0, 0, PM_REMOVE))
      if (!IsDialogMessageA(window, &posted)) DispatchMessageA(&posted);
    EXPECT_EQ(SendMessageA(c.edit, EM_GETLINECOUNT, 0, 0), c.lines) << c.vk;
    EXPECT_EQ(dialogHeard, c.heard) << c.vk;
  }
}

}  // namespace
