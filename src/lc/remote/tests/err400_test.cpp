// The AS/400 connection dialog and the run-options dialog on the language
// library's templates: settings in and out of the INI file, the code-page
// list and the data-conversion radios, OK and Cancel.
#include <afxwin.h>
#include <gtest/gtest.h>
#include <internal/testinput.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "KyAppContext.h"
#include "KyErr400.h"
#include "KyOptions.h"
#include "KyWinClientApp.h"
#include "../../app/tests/testapp.h"

namespace {

namespace fs = std::filesystem;

class AS400Dialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(language_.module(), nullptr);
    kytest::writeFile(ini_, "[Remote]\nSystem=HOST1\nLibrary=APPLIB\nData Conversion=1\nBuffer Size=4\nCode Page=171\n");
    app_ = std::make_unique<kytest::TestClientApp>("Dialogs", ini_);
    app_->CreateContext();
  }
  void TearDown() override {
    app_->EndContext();
    app_.reset();
  }
  std::string ini(const char* key) {
    char value[128] = {};
    GetPrivateProfileStringA("Remote", key, "", value, sizeof value, ini_.c_str());
    return value;
  }
  std::string itemText(HWND dialog, int id) {
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
  }

  kytest::ScratchDir dir_;
  fs::path ini_ = dir_.path() / "APP.INI";
  kytest::LanguageLibrary language_;
  std::unique_ptr<kytest::TestClientApp> app_;
};

TEST_F(AS400Dialogs, CodePageListHasItsSeventyFourEntriesInOrder) {
  int count = 0;
  const KyErr400::CodePage* pages = KyErr400::CodePages(&count);
  ASSERT_EQ(count, 74);
  EXPECT_EQ(pages[0].iSetting, 101);
  EXPECT_STREQ(pages[33].pszLabel, "1155/1254 Turkish");
  EXPECT_EQ(pages[34].iSetting, 810);
  EXPECT_STREQ(pages[34].pszLabel, "Pre 5.5 037/437(US-1)ASCII");
  EXPECT_EQ(pages[35].iSetting, 910);
  EXPECT_STREQ(pages[35].pszLabel, "Pre 5.5 037/437(US-1)ANSI");
  EXPECT_EQ(pages[73].iSetting, 929);
  EXPECT_STREQ(pages[73].pszLabel, "Pre 5.5 500/850(SG-2)ANSI");
}

TEST_F(AS400Dialogs, SettingsAreShownEditedAndWrittenOnOK) {
  KyErr400 dialog;
  dialog.SetConnection(nullptr, "Connection refused.", "CPF1234");
  ASSERT_TRUE(dialog.Create(KyErr400::kTemplateId));
  dialog.ShowWindow(SW_SHOW);
  HWND h = dialog.m_hWnd;
  EXPECT_EQ(itemText(h, 1001), "HOST1");
  EXPECT_EQ(itemText(h, 1003), "APPLIB");
  EXPECT_EQ(itemText(h, 1002), "YKYSYRPC");  // the default program
  EXPECT_EQ(itemText(h, 1005), "4");
  std::string message = itemText(h, 1006);
  EXPECT_EQ(message, "Host code CPF1234\r\nConnection refused.");
  EXPECT_EQ(IsDlgButtonChecked(h, 1023), (UINT)BST_CHECKED);  // mode 1
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(h, 1060)));          // code pages only for mode 2

  // Choosing "on this computer" enables the code-page list.
  RECT r;
  GetWindowRect(GetDlgItem(h, 1024), &r);
  MapWindowPoints(nullptr, GetDlgItem(h, 1024), reinterpret_cast<POINT*>(&r), 2);
  win32::input::click(GetDlgItem(h, 1024), 5, (r.bottom - r.top) / 2);
  win32::input::pumpMessages();
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(h, 1060)));
  EXPECT_EQ(dialog.m_iMode, 2);
  LRESULT german = SendDlgItemMessageA(h, 1060, LB_GETCURSEL, 0, 0);
  EXPECT_EQ(SendDlgItemMessageA(h, 1060, LB_GETITEMDATA, german, 0), 171);
  SendDlgItemMessageA(h, 1060, LB_SETCURSEL, 0, 0);  // English (United States)

  SetDlgItemTextA(h, 1001, "HOST2");
  dialog.SendMessage(WM_COMMAND, IDOK);
  EXPECT_EQ(ini("System"), "HOST2");
  EXPECT_EQ(ini("Data Conversion"), "2");
  EXPECT_EQ(ini("Code Page"), "101");
  EXPECT_EQ(ini("Library"), "APPLIB");
  dialog.DestroyWindow();
}

TEST_F(AS400Dialogs, BufferSizeOutsideOneToSixteenKeepsTheDialogOpen) {
  KyErr400 dialog;
  ASSERT_TRUE(dialog.Create(KyErr400::kTemplateId));
  dialog.ShowWindow(SW_SHOW);
  SetDlgItemTextA(dialog.m_hWnd, 1005, "17");
  dialog.SendMessage(WM_COMMAND, IDOK);
  EXPECT_EQ(ini("Buffer Size"), "4");  // nothing written
  EXPECT_TRUE(dialog.IsWindowVisible());
  dialog.DestroyWindow();
}

TEST_F(AS400Dialogs, CancelWritesTheSavedValuesBack) {
  KyErr400 dialog;
  ASSERT_TRUE(dialog.Create(KyErr400::kTemplateId));
  SetDlgItemTextA(dialog.m_hWnd, 1001, "CHANGED");
  dialog.UpdateData(TRUE);
  dialog.SendMessage(WM_COMMAND, IDCANCEL);
  EXPECT_EQ(ini("System"), "HOST1");
  EXPECT_EQ(ini("Code Page"), "171");
  dialog.DestroyWindow();
}

TEST_F(AS400Dialogs, RunOptionsListTheAS400EntryAndTheIniPath) {
  KyOptions options;
  ASSERT_TRUE(options.Create(KyOptions::kTemplateId));
  HWND h = options.m_hWnd;
  char entry[64] = {};
  ASSERT_EQ(SendDlgItemMessageA(h, 1010, LB_GETCOUNT, 0, 0), 1);
  SendDlgItemMessageA(h, 1010, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(entry));
  EXPECT_STREQ(entry, "AS/400 Connection");
  EXPECT_EQ(SendDlgItemMessageA(h, 1010, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(itemText(h, 1013), ini_.string());
  options.DestroyWindow();
}

}  // namespace
