// Dialogs from templates: placement in dialog units, fonts, WM_INITDIALOG,
// DefDlgProcA's answers and the item helpers.
#include "data/menudialog.h"
#include "dialog.h"
#include "dialog_testcontrols.h"

#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

using namespace dialogtest;

namespace {

RECT rectInParent(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, GetParent(hwnd), (POINT*)&r, 2);
  return r;
}

class Dialog : public ::testing::Test {
 protected:
  void SetUp() override {
    registerControls();
    owner = CreateWindowExA(0, "KyTestOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 500, 400, nullptr,
                            nullptr, nullptr, nullptr);
    dialogLog() = {};
    received().clear();
  }
  void TearDown() override {
    if (dialog && IsWindow(dialog)) DestroyWindow(dialog);
    DestroyWindow(owner);
    win32::input::pumpMessages();
  }
  HWND create(int id, DLGPROC proc = loggingDialogProc, LPARAM param = 0) {
    dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(id), owner, proc, param);
    return dialog;
  }
  HWND owner = nullptr;
  HWND dialog = nullptr;
};

TEST_F(Dialog, PlacesControlsInDialogUnitsOfTheSystemFont) {
  ASSERT_NE(create(IDD_PLAIN), nullptr);
  char cls[16];
  GetClassNameA(dialog, cls, sizeof cls);
  EXPECT_STREQ(cls, "#32770");
  EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);  // from DS_MODALFRAME
  // Every dialog looks three-dimensional; a dialog of its own clips its siblings.
  EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & (DS_3DLOOK | WS_CLIPSIBLINGS), DS_3DLOOK | WS_CLIPSIBLINGS);
  // GetDialogBaseUnits is 8 x 16: a dialog unit is two pixels either way.
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 200);
  struct Case {
    int id;
    RECT pixels;
  } cases[] = {
      {IDC_LABEL, {10, 10, 90, 30}},   {IDC_NAME, {100, 10, 300, 34}},  {IDC_FIRST, {10, 50, 130, 70}},
      {IDC_THIRD, {10, 98, 130, 118}}, {IDOK, {120, 160, 200, 188}},    {IDC_APPLY, {300, 160, 380, 188}},
  };
  for (const Case& c : cases) {
    HWND item = GetDlgItem(dialog, c.id);
    ASSERT_NE(item, nullptr) << c.id;
    RECT r = rectInParent(item);
    EXPECT_TRUE(EqualRect(&r, &c.pixels)) << c.id << ": " << r.left << "," << r.top << "," << r.right << ","
                                          << r.bottom;
    EXPECT_TRUE(GetWindowLongA(item, GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY);
  }
  // The template's x, y (10, 20) are relative to the owner's client area.
  POINT origin{0, 0};
  ClientToScreen(owner, &origin);
  RECT window;
  GetWindowRect(dialog, &window);
  EXPECT_EQ(window.left, origin.x + 20);
  EXPECT_EQ(window.top, origin.y + 40);
  RECT units{1, 1, 4, 8};
  ASSERT_TRUE(MapDialogRect(dialog, &units));
  EXPECT_EQ(units.left, 2);
  EXPECT_EQ(units.top, 2);
  EXPECT_EQ(units.right, 8);
  EXPECT_EQ(units.bottom, 16);
}

TEST_F(Dialog, TemplateFontGivesTheBaseUnits) {
  ASSERT_NE(create(IDD_FONT), nullptr);
  auto font = (HFONT)SendMessageA(dialog, WM_GETFONT, 0, 0);
  ASSERT_NE(font, nullptr);
  LOGFONTA lf{};
  ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_STREQ(lf.lfFaceName, "MS Shell Dlg");
  // The base units measured here, independently: the average width of the
  // 52 letters (rounded) and the character height.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE letters;
  GetTextExtentPoint32A(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  DeleteDC(dc);
  int bx = (letters.cx / 26 + 1) / 2, by = tm.tmHeight;
  ASSERT_GT(bx, 0);
  RECT units{0, 0, 4, 8};
  MapDialogRect(dialog, &units);
  EXPECT_EQ(units.right, bx);
  EXPECT_EQ(units.bottom, by);
  HWND big = GetDlgItem(dialog, IDC_BIGID);  // a 32-bit id of DIALOGEX
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(GetDlgCtrlID(big), IDC_BIGID);
  RECT r = rectInParent(big);
  EXPECT_EQ(r.left, MulDiv(60, bx, 4));
  EXPECT_EQ(r.top, MulDiv(8, by, 8));
  EXPECT_EQ(r.right - r.left, MulDiv(40, bx, 4));
  EXPECT_EQ(r.bottom - r.top, MulDiv(14, by, 8));
  EXPECT_EQ((HFONT)SendMessageA(big, WM_GETFONT, 0, 0), nullptr);  // the test class keeps no font
  EXPECT_TRUE(receivedBy(big, WM_SETFONT));
  EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  // The template's menu is loaded; DS_CENTER centres the dialog in the work area.
  HMENU menu = GetMenu(dialog);
  ASSERT_TRUE(IsMenu(menu));
  EXPECT_EQ(GetMenuItemCount(menu), 3);
  RECT work, window;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(dialog, &window);
  EXPECT_LE(std::abs((window.left + window.right) - (work.left + work.right)), 1);
  EXPECT_LE(std::abs((window.top + window.bottom) - (work.top + work.bottom)), 1);
  // The dialog procedure hears the font before WM_INITDIALOG, and no WM_CREATE.
  ASSERT_GE(dialogLog().messages.size(), 2u);
  EXPECT_EQ(dialogLog().messages[0].msg, (UINT)WM_SETFONT);
  for (auto& m : dialogLog().messages) EXPECT_NE(m.msg, (UINT)WM_CREATE);
}

TEST_F(Dialog, InitDialogGetsTheParameterAndTheFocusGoesToTheFirstTabStop) {
  ASSERT_NE(create(IDD_PLAIN, loggingDialogProc, 0x1234), nullptr);
  HWND name = GetDlgItem(dialog, IDC_NAME);
  ASSERT_FALSE(dialogLog().messages.empty());
  const Received& init = dialogLog().messages[0];
  EXPECT_EQ(init.msg, (UINT)WM_INITDIALOG);
  EXPECT_EQ((HWND)init.wParam, name);
  EXPECT_EQ(init.lParam, 0x1234);
  EXPECT_EQ(GetFocus(), name);
  // Tabbing into an edit selects all of its text.
  EXPECT_EQ((DWORD)(UINT_PTR)GetPropA(name, "selection"), (DWORD)MAKELONG(0, 0xFFFF));
  EXPECT_FALSE(IsWindowVisible(dialog));  // the template has no WS_VISIBLE
}

INT_PTR CALLBACK refusesFocus(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST_F(Dialog, InitDialogAnsweringFalseLeavesTheFocusAlone) {
  SetFocus(owner);
  ASSERT_NE(create(IDD_PLAIN, refusesFocus), nullptr);
  EXPECT_EQ(GetFocus(), owner);
}

INT_PTR CALLBACK answeringProc(HWND hwnd, UINT msg, WPARAM, LPARAM) {
  switch (msg) {
    case WM_USER + 5:
      SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, 1234);
      return TRUE;
    case WM_CTLCOLORDLG: return (INT_PTR)GetStockObject(BLACK_BRUSH);  // answered directly
    case WM_INITDIALOG: return TRUE;
    default: return FALSE;
  }
}

TEST_F(Dialog, DefDlgProcAnswersWithTheMessageResult) {
  ASSERT_NE(create(IDD_PLAIN, answeringProc), nullptr);
  EXPECT_EQ(SendMessageA(dialog, WM_USER + 5, 0, 0), 1234);
  EXPECT_EQ(SendMessageA(dialog, WM_USER + 6, 0, 0), 0);  // not handled: DefWindowProc's 0
  EXPECT_EQ((HGDIOBJ)SendMessageA(dialog, WM_CTLCOLORDLG, 0, 0), GetStockObject(BLACK_BRUSH));
  EXPECT_EQ(GetWindowLongPtrA(dialog, DWLP_DLGPROC), (LONG_PTR)answeringProc);
  SetWindowLongPtrA(dialog, DWLP_USER, 77);
  EXPECT_EQ(GetWindowLongPtrA(dialog, DWLP_USER), 77);
}

TEST_F(Dialog, DefaultIdComesFromTheTemplateAndMovesWithSetDefId) {
  ASSERT_NE(create(IDD_PLAIN), nullptr);
  EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
  EXPECT_TRUE(SendMessageA(dialog, DM_SETDEFID, IDC_APPLY, 0));
  EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDC_APPLY, DC_HASDEFID));
  EXPECT_EQ(buttonType(GetDlgItem(dialog, IDC_APPLY)), (UINT)BS_DEFPUSHBUTTON);
  EXPECT_EQ(buttonType(GetDlgItem(dialog, IDOK)), (UINT)BS_PUSHBUTTON);
}

TEST_F(Dialog, RepositionBringsItBackOnTheScreen) {
  ASSERT_NE(create(IDD_PLAIN), nullptr);
  SetWindowPos(dialog, nullptr, -300, 5000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(dialog, DM_REPOSITION, 0, 0);
  RECT r, work;
  GetWindowRect(dialog, &r);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(r.left, work.left);
  EXPECT_EQ(r.bottom, work.bottom);
}

TEST_F(Dialog, CloseIsCancel) {
  ASSERT_NE(create(IDD_PLAIN), nullptr);
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  win32::input::pumpMessages();
  ASSERT_EQ(dialogLog().commands.size(), 1u);
  EXPECT_EQ(dialogLog().commands[0], (WPARAM)MAKEWPARAM(IDCANCEL, BN_CLICKED));
  // With the Cancel button disabled, closing does nothing.
  EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  win32::input::pumpMessages();
  EXPECT_EQ(dialogLog().commands.size(), 1u);
}

// An in-memory DLGTEMPLATE, written word by word as a resource compiler would.
struct TemplateWriter {
  std::vector<WORD> words;
  void dword(DWORD v) {
    words.push_back(LOWORD(v));
    words.push_back(HIWORD(v));
  }
  void text(const char* s) {
    for (; *s; ++s) words.push_back((BYTE)*s);
    words.push_back(0);
  }
  void align() {
    if (words.size() % 2) words.push_back(0);
  }
};

const BYTE* lastCreateParams = nullptr;
std::string lastCreateName;

LRESULT CALLBACK creationRecorder(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = (CREATESTRUCTA*)lParam;
    lastCreateParams = (const BYTE*)cs->lpCreateParams;
    lastCreateName.assign(cs->lpszName, 3);
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST_F(Dialog, InMemoryTemplatePassesCreationDataAndOrdinalTitles) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = creationRecorder;
  wc.lpszClassName = "KyCreationRecorder";
  RegisterClassA(&wc);
  TemplateWriter t;
  t.dword(WS_POPUP);
  t.dword(0);
  t.words.push_back(2);  // items
  for (WORD v : {0, 0, 100, 50}) t.words.push_back(v);
  t.words.insert(t.words.end(), {0, 0});  // no menu, the dialog class
  t.text("Memory");
  // Item 1: the recorder with an ordinal title (an icon id) and 4 bytes of creation data.
  t.align();
  t.dword(WS_VISIBLE);
  t.dword(0);
  for (WORD v : {5, 5, 20, 20, 11}) t.words.push_back(v);
  t.text("KyCreationRecorder");
  t.words.insert(t.words.end(), {0xFFFF, 0x1234});
  t.words.insert(t.words.end(), {4, 0xBEEF, 0xCAFE});
  // Item 2: class ordinal 0x80, the standard button.
  t.align();
  t.dword(WS_VISIBLE | BS_PUSHBUTTON);
  t.dword(0);
  for (WORD v : {30, 5, 40, 14, 12}) t.words.push_back(v);
  t.words.insert(t.words.end(), {0xFFFF, 0x80});
  t.text("Push");
  t.words.push_back(0);
  dialog = CreateDialogIndirectParamA(nullptr, (LPCDLGTEMPLATEA)t.words.data(), owner, loggingDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  ASSERT_NE(lastCreateParams, nullptr);
  WORD size, first, second;
  memcpy(&size, lastCreateParams, 2);
  memcpy(&first, lastCreateParams + 2, 2);
  memcpy(&second, lastCreateParams + 4, 2);
  EXPECT_EQ(size, 4);
  EXPECT_EQ(first, 0xBEEF);
  EXPECT_EQ(second, 0xCAFE);
  EXPECT_EQ(lastCreateName, std::string("\xFF\x34\x12", 3));
  char cls[16];
  GetClassNameA(GetDlgItem(dialog, 12), cls, sizeof cls);
  EXPECT_STREQ(cls, "Button");
  char title[16];
  GetWindowTextA(dialog, title, sizeof title);
  EXPECT_STREQ(title, "Memory");
  EXPECT_FALSE(IsWindowVisible(dialog));
  DestroyWindow(dialog);
  // With WS_VISIBLE in the template the dialog shows itself once WM_INITDIALOG is through.
  t.words[0] = LOWORD(WS_POPUP | WS_VISIBLE);
  t.words[1] = HIWORD(WS_POPUP | WS_VISIBLE);
  dialog = CreateDialogIndirectParamA(nullptr, (LPCDLGTEMPLATEA)t.words.data(), owner, loggingDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(IsWindowVisible(dialog));
  UnregisterClassA("KyCreationRecorder", nullptr);
}

TEST_F(Dialog, MalformedTemplatesAreRefused) {
  // Every truncation of a valid template is refused, never read past its end.
  TemplateWriter t;
  t.dword(WS_POPUP | DS_SETFONT);
  t.dword(0);
  t.words.push_back(1);
  for (WORD v : {0, 0, 100, 50}) t.words.push_back(v);
  t.words.insert(t.words.end(), {0, 0});
  t.text("T");
  t.words.push_back(8);
  t.text("Arial");
  t.align();
  t.dword(WS_VISIBLE);
  t.dword(0);
  for (WORD v : {5, 5, 20, 20, 11}) t.words.push_back(v);
  t.words.insert(t.words.end(), {0xFFFF, 0x82});
  t.text("x");
  t.words.push_back(0);
  const size_t bytes = t.words.size() * 2;
  ASSERT_TRUE(win32::user::parseDialogTemplate(t.words.data(), bytes).has_value());
  for (size_t n = 0; n < bytes; ++n) {
    std::vector<BYTE> copy((const BYTE*)t.words.data(), (const BYTE*)t.words.data() + n);
    EXPECT_FALSE(win32::user::parseDialogTemplate(copy.data(), copy.size()).has_value()) << n;
  }
}

TEST_F(Dialog, CreationFailuresAreReported) {
  SetLastError(0);
  EXPECT_EQ(create(IDD_BROKEN), nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_CANNOT_FIND_WND_CLASS);
  EXPECT_EQ(CreateDialogParamA(nullptr, MAKEINTRESOURCEA(999), owner, loggingDialogProc, 0), nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_RESOURCE_NAME_NOT_FOUND);
  EXPECT_EQ(CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_PLAIN), (HWND)0x7FFFFFF0, loggingDialogProc, 0),
            nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_EQ(CreateDialogIndirectParamA(nullptr, nullptr, owner, loggingDialogProc, 0), nullptr);
  RECT r{0, 0, 4, 8};
  EXPECT_FALSE(MapDialogRect(owner, &r));  // a window the dialog manager did not make
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_WINDOW_NOT_DIALOG);
  EXPECT_FALSE(EndDialog(owner, 1));
}

TEST_F(Dialog, ItemIntegersReadAsWindowsReadsThem) {
  ASSERT_NE(create(IDD_PLAIN), nullptr);
  struct Case {
    const char* text;
    BOOL isSigned;
    BOOL translated;
    UINT value;
  } cases[] = {
      {"42", FALSE, TRUE, 42},          {"  42  ", FALSE, TRUE, 42},         {"-7", TRUE, TRUE, (UINT)-7},
      {"-7", FALSE, FALSE, 0},          {"+9", TRUE, TRUE, 9},               {"12a", TRUE, FALSE, 0},
      {"", TRUE, FALSE, 0},             {"4294967295", FALSE, TRUE, 4294967295u},
      {"4294967296", FALSE, FALSE, 0},  {"2147483647", TRUE, TRUE, 2147483647u},
      {"2147483648", TRUE, FALSE, 0},   {"-2147483648", TRUE, TRUE, 0x80000000u}, {"1 2", TRUE, FALSE, 0},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(SetDlgItemTextA(dialog, IDC_NAME, c.text));
    BOOL translated = 2;
    EXPECT_EQ(GetDlgItemInt(dialog, IDC_NAME, &translated, c.isSigned), c.value) << c.text;
    EXPECT_EQ(translated, c.translated) << c.text;
  }
  SetDlgItemInt(dialog, IDC_NAME, (UINT)-15, TRUE);
  char text[16];
  EXPECT_EQ(GetDlgItemTextA(dialog, IDC_NAME, text, sizeof text), 3u);
  EXPECT_STREQ(text, "-15");
  SetDlgItemInt(dialog, IDC_NAME, (UINT)-15, FALSE);
  GetDlgItemTextA(dialog, IDC_NAME, text, 5);  // cut to the buffer
  EXPECT_STREQ(text, "4294");
  EXPECT_EQ(GetDlgItemTextA(dialog, 999, text, sizeof text), 0u);
  EXPECT_STREQ(text, "");
  BOOL translated = TRUE;
  EXPECT_EQ(GetDlgItemInt(dialog, 999, &translated, TRUE), 0u);
  EXPECT_FALSE(translated);
}

TEST_F(Dialog, ButtonHelpersSetChecksThroughMessages) {
  ASSERT_NE(create(IDD_PLAIN), nullptr);
  EXPECT_TRUE(CheckDlgButton(dialog, IDC_KEEP, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_KEEP), (UINT)BST_CHECKED);
  EXPECT_TRUE(CheckRadioButton(dialog, IDC_FIRST, IDC_THIRD, IDC_SECOND));
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_FIRST), (UINT)BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SECOND), (UINT)BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_THIRD), (UINT)BST_UNCHECKED);
  EXPECT_FALSE(CheckDlgButton(dialog, 999, BST_CHECKED));
  EXPECT_EQ(SendDlgItemMessageA(dialog, 999, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_KEEP, BM_GETCHECK, 0, 0), BST_CHECKED);
}

}  // namespace
