// A snapshot of a dialog with Japanese text under code page 932 (static,
// edit, buttons), written beside the built programs (build dir) for people to
// look at; the texts and a few pixels are checked here. The ANSI code page
// comes from KY_ACP, read once per process.
#include "data/japanesedialog.h"

#include <internal/snapshot.h>
#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "drawcanvas.h"

namespace {

const bool kAcpSet = [] { return ::setenv("KY_ACP", "932", 1) == 0; }();

std::string snapshotPath(const char* name) { return std::string(KY_BIN_DIR) + "/../" + name; }

INT_PTR CALLBACK plainProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

std::string itemText(HWND dialog, int id) {
  char buffer[256] = {};
  GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
  return buffer;
}

// Rows of the item (window coordinates of the item) holding ink other than `background`.
int inkedRows(HWND item, COLORREF background) {
  RECT r;
  GetWindowRect(item, &r);
  int rows = 0;
  for (int y = 0; y < r.bottom - r.top; ++y) {
    bool ink = false;
    for (int x = 0; x < r.right - r.left && !ink; ++x) {
      COLORREF c = win32::snapshot::windowPixel(item, x, y);
      ink = c != background && c != GetSysColor(COLOR_WINDOWFRAME) && c != GetSysColor(COLOR_3DSHADOW) &&
            c != GetSysColor(COLOR_3DHIGHLIGHT) && c != GetSysColor(COLOR_3DDKSHADOW) &&
            c != GetSysColor(COLOR_3DLIGHT);
    }
    rows += ink;
  }
  return rows;
}

TEST(DialogDbcsSnapshot, JapaneseDialog) {
  ASSERT_TRUE(kAcpSet);
  ASSERT_EQ(GetACP(), 932u);
  HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_JAPANESE), nullptr, plainProc, 0);
  ASSERT_NE(dialog, nullptr);
  // The template's UTF-16 texts arrive in code page 932.
  EXPECT_EQ(itemText(dialog, IDC_JA_LABEL), "\x82\xa8\x96\xbc\x91\x4f(&N):");  // お名前(&N):
  EXPECT_EQ(itemText(dialog, IDCANCEL), "\x83\x4c\x83\x83\x83\x93\x83\x5a\x83\x8b");  // キャンセル
  SetDlgItemTextA(dialog, IDC_JA_NAME, "\x8e\x52\x93\x63 \x91\xbe\x98\x59");  // 山田 太郎
  ShowWindow(dialog, SW_SHOW);
  SetFocus(GetDlgItem(dialog, IDC_JA_NAME));
  SendDlgItemMessageA(dialog, IDC_JA_NAME, EM_SETSEL, 5, 9);  // 太郎 selected
  win32::input::pumpMessages();
  ASSERT_TRUE(win32::snapshot::saveWindowPng(dialog, snapshotPath("dialog_japanese.png").c_str()));

  const COLORREF face = GetSysColor(COLOR_3DFACE);
  EXPECT_GT(inkedRows(GetDlgItem(dialog, IDC_JA_LABEL), face), 8);
  EXPECT_GT(inkedRows(GetDlgItem(dialog, IDOK), face), 8);
  EXPECT_GT(inkedRows(GetDlgItem(dialog, IDCANCEL), face), 8);
  EXPECT_GT(inkedRows(GetDlgItem(dialog, IDC_JA_NAME), GetSysColor(COLOR_WINDOW)), 8);
  // The note does not fit one line: it wraps between characters, two lines of ink.
  HWND note = GetDlgItem(dialog, IDC_JA_NOTE);
  HDC dc = GetDC(note);
  SelectObject(dc, (HFONT)SendMessageA(note, WM_GETFONT, 0, 0));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  ReleaseDC(note, dc);
  EXPECT_GT(inkedRows(note, face), tm.tmHeight);
  DestroyWindow(dialog);
}

}  // namespace
