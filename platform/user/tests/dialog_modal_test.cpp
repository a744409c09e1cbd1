// The modal loop of DialogBoxParamA: the owner is disabled while it runs and
// enabled after, WM_ENTERIDLE, EndDialog from a posted message, a click and
// the keyboard, WM_QUIT, and the failures.
#include "data/menudialog.h"
#include "dialog_testcontrols.h"

#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

using namespace dialogtest;
namespace input = win32::input;

namespace {

struct Observed {
  bool ownerEnabledDuring = true;
  bool dialogVisibleDuring = false;
  int idleMessages = 0;
  HWND idleDialog = nullptr;
  WPARAM idleKind = 99;
} observed;

HWND ownerWindow = nullptr;

class ModalDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    registerControls();
    observed = Observed{};
    ownerHook() = nullptr;
    ownerWindow = CreateWindowExA(0, "KyTestOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 500, 400,
                                  nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(ownerWindow);
    input::pumpMessages();
  }
  void TearDown() override {
    ownerHook() = nullptr;
    DestroyWindow(ownerWindow);
    input::pumpMessages();
  }
};

void look(HWND dialog) {
  observed.ownerEnabledDuring = IsWindowEnabled(ownerWindow);
  observed.dialogVisibleDuring = IsWindowVisible(dialog);
}

INT_PTR CALLBACK endsOnPostedMessage(HWND dialog, UINT msg, WPARAM, LPARAM) {
  if (msg == WM_INITDIALOG) {
    PostMessageA(dialog, WM_APP, 0, 0);
    return TRUE;
  }
  if (msg == WM_APP) {
    look(dialog);
    EndDialog(dialog, 42);
    return TRUE;
  }
  return FALSE;
}

TEST_F(ModalDialog, EndsFromAPostedMessageWithTheOwnerDisabledMeanwhile) {
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_MODAL), ownerWindow, endsOnPostedMessage, 0), 42);
  EXPECT_FALSE(observed.ownerEnabledDuring);
  // The dialog shows when its queue first goes empty: what WM_INITDIALOG
  // posted runs before.
  EXPECT_FALSE(observed.dialogVisibleDuring);
  EXPECT_TRUE(IsWindowEnabled(ownerWindow));
  EXPECT_EQ(GetActiveWindow(), ownerWindow);
  EXPECT_EQ(FindWindowA(WC_DIALOG, "Modal"), nullptr);  // destroyed
}

INT_PTR CALLBACK endsOnCommand(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    look(dialog);
    EndDialog(dialog, LOWORD(wParam) == IDOK ? 100 : 200);
    return TRUE;
  }
  return FALSE;
}

// The owner acts when the loop is idle: it clicks the OK button the first time.
LRESULT clickOkWhenIdle(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_ENTERIDLE) return kNotHandled;
  if (observed.idleMessages++ == 0) {
    observed.idleKind = wParam;
    observed.idleDialog = (HWND)lParam;
    input::click(GetDlgItem((HWND)lParam, IDOK), 5, 5);
  }
  return 0;
}

TEST_F(ModalDialog, EndsFromAButtonClickAfterTheOwnerHeardEnterIdle) {
  ownerHook() = clickOkWhenIdle;
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_MODAL), ownerWindow, endsOnCommand, 0), 100);
  EXPECT_GE(observed.idleMessages, 1);
  EXPECT_EQ(observed.idleKind, (WPARAM)MSGF_DIALOGBOX);
  EXPECT_NE(observed.idleDialog, nullptr);
  EXPECT_FALSE(observed.ownerEnabledDuring);
  EXPECT_TRUE(observed.dialogVisibleDuring) << "shown before the first idle message";
  EXPECT_TRUE(IsWindowEnabled(ownerWindow));
}

HWND idleReceiver = nullptr;
LRESULT endWhenIdle(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
  if (msg != WM_ENTERIDLE) return kNotHandled;
  idleReceiver = hwnd;
  EndDialog((HWND)lParam, 5);
  return 0;
}

TEST_F(ModalDialog, EnterIdleGoesToTheWindowTheDialogWasCreatedFor) {
  // Created for a child window: the child hears the idle turns (and may end
  // the dialog from there); its top-level window is the one disabled.
  HWND child = CreateWindowExA(0, "KyTestOwner", "child", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50, ownerWindow,
                               nullptr, nullptr, nullptr);
  ASSERT_NE(child, nullptr);
  idleReceiver = nullptr;
  ownerHook() = endWhenIdle;
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_MODAL), child, endsOnCommand, 0), 5);
  EXPECT_EQ(idleReceiver, child);
  EXPECT_TRUE(IsWindowEnabled(ownerWindow));
  DestroyWindow(child);
}

LRESULT pressKeyWhenIdle(HWND, UINT msg, WPARAM, LPARAM) {
  if (msg != WM_ENTERIDLE) return kNotHandled;
  if (observed.idleMessages++ == 0) input::keyPress(observed.idleKind == 1 ? VK_RETURN : VK_ESCAPE);
  return 0;
}

TEST_F(ModalDialog, EnterAndEscapeEndItThroughTheDialogManager) {
  ownerHook() = pressKeyWhenIdle;
  observed.idleKind = 1;  // Enter: the default button, OK
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_MODAL), ownerWindow, endsOnCommand, 0), 100);
  observed = Observed{};
  observed.idleKind = 2;  // Escape: IDCANCEL
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_MODAL), ownerWindow, endsOnCommand, 0), 200);
}

bool shown = false;
INT_PTR CALLBACK endsAtOnce(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SHOWWINDOW && wParam) shown = true;
  if (msg == WM_INITDIALOG) {
    EndDialog(dialog, lParam);
    return TRUE;
  }
  return FALSE;
}

TEST_F(ModalDialog, EndedInInitDialogItIsNeverShown) {
  shown = false;
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_MODAL), ownerWindow, endsAtOnce, 7), 7);
  EXPECT_FALSE(shown);
  EXPECT_TRUE(IsWindowEnabled(ownerWindow));
}

INT_PTR CALLBACK quitsAtOnce(HWND, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_SHOWWINDOW && wParam) shown = true;
  if (msg == WM_INITDIALOG) PostQuitMessage(3);
  return msg == WM_INITDIALOG;
}

TEST_F(ModalDialog, QuitEndsTheLoopAndStaysForTheOuterLoop) {
  // Posted during WM_INITDIALOG: the dialog is never shown and answers the
  // result it has, 0 without EndDialog.
  ownerHook() = endWhenIdle;
  idleReceiver = nullptr;
  shown = false;
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_MODAL), ownerWindow, quitsAtOnce, 0), 0);
  EXPECT_FALSE(shown);
  EXPECT_EQ(idleReceiver, nullptr) << "no idle turn came";
  EXPECT_TRUE(IsWindowEnabled(ownerWindow));
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 3u);
}

INT_PTR CALLBACK destroysItself(HWND dialog, UINT msg, WPARAM, LPARAM) {
  if (msg == WM_INITDIALOG) PostMessageA(dialog, WM_APP, 0, 0);
  if (msg == WM_APP) DestroyWindow(dialog);
  return msg == WM_INITDIALOG;
}

TEST_F(ModalDialog, ADialogDestroyedWithoutEndDialogAnswersMinusOne) {
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_MODAL), ownerWindow, destroysItself, 0), -1);
  EXPECT_TRUE(IsWindowEnabled(ownerWindow));
}

TEST_F(ModalDialog, FailuresAnswerAsWindowsDoes) {
  // A bad owner answers 0; any other failure -1.
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_MODAL), (HWND)0x7FFFFFF0, endsAtOnce, 1), 0);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(999), ownerWindow, endsAtOnce, 1), -1);
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_BROKEN), ownerWindow, endsAtOnce, 1), -1);
  EXPECT_EQ(DialogBoxIndirectParamA(nullptr, nullptr, ownerWindow, endsAtOnce, 1), -1);
  EXPECT_TRUE(IsWindowEnabled(ownerWindow));
  EXPECT_FALSE(EndDialog((HWND)0x7FFFFFF0, 1));
}

TEST_F(ModalDialog, WithoutAnOwnerNothingIsDisabled) {
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_MODAL), nullptr, endsOnPostedMessage, 0), 42);
  EXPECT_TRUE(observed.ownerEnabledDuring);
}

}  // namespace
