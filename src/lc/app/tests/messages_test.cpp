// Message services: boxes (answers, icons, titles, owner, "Always Log"),
// the message log window and its commands, status texts, HRESULT checks.
#include <afxwin.h>
#include <gtest/gtest.h>
#include <internal/snapshot.h>
#include <internal/userscript.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "KyAppContext.h"
#include "KyMessage.h"
#include "KyMsgWin.h"
#include "KyPanel.h"
#include "KyRunOptions.h"
#include "KyWinClientApp.h"
#include "testapp.h"

namespace {

namespace fs = std::filesystem;
using win32::script::messageBoxLog;

class Messages : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(language_.module(), nullptr);
    kytest::writeFile(ini_, "[Message Box]\nLog File=" + (dir_.path() / "MessageLog.txt").string() + "\n");
    app_ = std::make_unique<kytest::TestClientApp>("Orvo Zunt", ini_);
    context_ = app_->CreateContext();
    win32::script::clearMessageBoxLog();
    win32::script::clearMessageBoxAnswers();
  }
  void TearDown() override {
    if (app_->m_pMsgWin) app_->m_pMsgWin->DestroyWindow();
    app_->EndContext();
    app_.reset();
  }
  void setIni(const std::string& section, const std::string& key, const std::string& value) {
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), ini_.c_str());
  }
  std::string logFile() { return kytest::readFile(dir_.path() / "MessageLog.txt"); }

  kytest::ScratchDir dir_;
  fs::path ini_ = dir_.path() / "APP.INI";
  kytest::LanguageLibrary language_;
  std::unique_ptr<kytest::TestClientApp> app_;
  KyAppContext* context_ = nullptr;
};

TEST_F(Messages, AnswersMapToYesNoAndOther) {
  struct Case {
    UINT type;
    int answer, result;
  } cases[] = {{MB_YESNOCANCEL, IDYES, 1}, {MB_YESNOCANCEL, IDNO, 2}, {MB_YESNOCANCEL, IDCANCEL, 3},
               {MB_OK, IDOK, 3},           {MB_RETRYCANCEL, IDRETRY, 3}};
  for (const auto& c : cases) {
    win32::script::pushMessageBoxAnswer(c.answer);
    EXPECT_EQ(KyMessage::Box(c.type, "Question %d?", 1), c.result) << c.answer;
  }
  ASSERT_EQ(messageBoxLog().size(), 5u);
  EXPECT_EQ(messageBoxLog()[0].text, "Question 1?");
}

TEST_F(Messages, IconIsAddedOnlyToBoxesWithoutOne) {
  struct Case {
    UINT type, shown;
  } cases[] = {
      {MB_OK, MB_OK | MB_ICONEXCLAMATION},
      {MB_OKCANCEL, MB_OKCANCEL | MB_ICONEXCLAMATION},
      {MB_YESNOCANCEL, MB_YESNOCANCEL | MB_ICONEXCLAMATION},
      {MB_YESNO, MB_YESNO | MB_ICONEXCLAMATION},  // not the question icon
      {MB_ABORTRETRYIGNORE, MB_ABORTRETRYIGNORE},
      {MB_RETRYCANCEL, MB_RETRYCANCEL},
      {MB_YESNO | MB_ICONQUESTION, MB_YESNO | MB_ICONQUESTION},
      {MB_ICONSTOP, MB_ICONSTOP},
  };
  for (const auto& c : cases) {
    win32::script::clearMessageBoxLog();
    KyMessage::Box(c.type, "icon");
    ASSERT_EQ(messageBoxLog().size(), 1u);
    EXPECT_EQ(messageBoxLog()[0].style, c.shown) << std::hex << c.type;
  }
}

TEST_F(Messages, TitleFollowsTheApplicationNameAndTheRunOptions) {
  struct Case {
    const char* appName;
    const char* title;  // run option 11, "" for unset
    BOOL alwaysOverride;
    const char* shown;
  } cases[] = {
      {"Orvo Zunt", "", FALSE, "Orvo Zunt Application"},  // the default name gets string 57412
      {"orvo zunt", "", FALSE, "Orvo Zunt Application"},  // compared without case
      {"Orvo Zunt", "Payroll", FALSE, "Payroll"},
      {"Ledger", "Payroll", FALSE, "Ledger"},
      {"Ledger", "Payroll", TRUE, "Payroll"},
      {"Ledger", "", TRUE, "Ledger"},
  };
  for (const auto& c : cases) {
    app_->SetName(c.appName);
    context_->GetRunOptions()->SetStrOption(11, c.title);
    context_->GetRunOptions()->SetBoolOption(9, c.alwaysOverride);
    win32::script::clearMessageBoxLog();
    KyMessage::Box(MB_OK, "title");
    ASSERT_EQ(messageBoxLog().size(), 1u);
    EXPECT_EQ(messageBoxLog()[0].caption, c.shown) << c.appName << "/" << c.title;
  }
}

TEST_F(Messages, FrameworkBoxesFollowTheSameTitleRule) {
  context_->GetRunOptions()->SetStrOption(11, "Payroll");
  context_->GetRunOptions()->SetBoolOption(9, TRUE);
  AfxMessageBox("framework box");
  ASSERT_EQ(messageBoxLog().size(), 1u);
  EXPECT_EQ(messageBoxLog()[0].caption, "Payroll");
  EXPECT_STREQ(app_->m_pszAppName, "Orvo Zunt");  // the name comes back after the box
}

TEST_F(Messages, TextIsFormattedOnceAndBounded) {
  KyMessage::Box(MB_OK, "%s and %d", "100%d", 7);
  EXPECT_EQ(messageBoxLog().back().text, "100%d and 7");
  std::string huge(10000, 'x');
  KyMessage::Box(MB_OK, "%s", huge.c_str());
  EXPECT_EQ(messageBoxLog().back().text.size(), 2047u);  // "Max String Size" below 2048 counts as 2048
}

TEST_F(Messages, OwnerIsDisabledWhileTheBoxIsUpAndFocusComesBack) {
  CWnd main;
  ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                            nullptr, nullptr));
  app_->m_pMainWnd = &main;
  CWnd edit;
  ASSERT_TRUE(edit.Create("EDIT", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &main, 5));
  edit.SetFocus();
  KyMessage::Box(MB_OK, "owned");
  ASSERT_EQ(messageBoxLog().size(), 1u);
  EXPECT_EQ(messageBoxLog()[0].owner, main.m_hWnd);
  EXPECT_TRUE(main.IsWindowEnabled());  // enabled again afterwards
  EXPECT_EQ(::GetFocus(), edit.m_hWnd);
  app_->m_pMainWnd = nullptr;
  main.DestroyWindow();
}

TEST_F(Messages, AlwaysLogAppendsOneStampedLinePerBox) {
  setIni("Message Box", "Always Log", "TRUE");
  EXPECT_EQ(KyMessage::Box(MB_YESNO, "first %d", 1), 3);
  EXPECT_EQ(KyMessage::Box(MB_OK, "second"), 3);
  EXPECT_TRUE(messageBoxLog().empty());
  std::string text = logFile();
  // message TAB "Www Mmm dd hh:mm:ss" "." milliseconds " " year CR LF
  std::istringstream lines(text);
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    ++count;
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(line.back(), '\r');
    size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos);
    EXPECT_EQ(line.substr(0, tab), count == 1 ? "first 1" : "second");
    std::string stamp = line.substr(tab + 1, line.size() - tab - 2);
    ASSERT_GE(stamp.size(), 19u + 2 + 5);
    EXPECT_EQ(stamp[19], '.');
    size_t blank = stamp.find(' ', 20);
    ASSERT_NE(blank, std::string::npos);
    std::string millis = stamp.substr(20, blank - 20);
    EXPECT_TRUE(!millis.empty() && millis.size() <= 3 && (millis == "0" || millis[0] != '0')) << millis;
    EXPECT_EQ(stamp.size() - blank - 1, 4u);  // the year
  }
  EXPECT_EQ(count, 2);
}

TEST_F(Messages, LogOpensTheWindowAndKeepsEntries) {
  KyMessage::Log("first %s", "entry");
  ASSERT_NE(app_->m_pMsgWin, nullptr);
  KyMsgWin* win = app_->m_pMsgWin;
  EXPECT_TRUE(win->IsWindowVisible());
  KyMessage::Log(42, KyMsg::KyMsgInformation, 7, KyString("source"), "second");
  app_->LogMessage("bare text");
  CListBox& list = win->GetList();
  ASSERT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetCurSel(), 2);
  EXPECT_EQ(win->GetEntryCount(), 2u);  // the bare text keeps no entry
  CString line;
  list.GetText(0, line);
  EXPECT_STREQ(line, "first entry");
  char title[64] = {};
  GetWindowTextA(win->m_hWnd, title, sizeof title);
  EXPECT_STREQ(title, "Message Log");
  win->MoveWindow(20, 20, 420, 160);
  win->UpdateWindow();
  // The selected last line is drawn highlighted near the list's top.
  EXPECT_EQ(win32::snapshot::windowPixel(list.m_hWnd, 2, 2 + 2 * list.GetItemHeight(0)), GetSysColor(COLOR_HIGHLIGHT));
  ASSERT_TRUE(win32::snapshot::saveWindowPng(win->m_hWnd, (std::string(KY_BIN_DIR) + "/../tests/message_log.png").c_str()));

  // F1 on the entry with a help id opens that context; on a bare line the contents.
  CWinApp::ClearHelpRequests();
  list.SetCurSel(1);
  EXPECT_EQ(win->SendMessage(WM_COMMANDHELP), 1);
  list.SetCurSel(2);
  EXPECT_EQ(win->SendMessage(WM_COMMANDHELP), 1);
  list.SetCurSel(-1);
  EXPECT_EQ(win->SendMessage(WM_COMMANDHELP), 0);
  auto requests = CWinApp::GetHelpRequests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].nCmd, (UINT)HELP_CONTEXT);
  EXPECT_EQ(requests[0].dwData, 42u);
  EXPECT_EQ(requests[1].nCmd, (UINT)HELP_CONTENTS);

  win->SendMessage(WM_COMMAND, KyMsgWin::kClearCommand);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(win->GetEntryCount(), 0u);
}

TEST_F(Messages, TopmostFlipsTheRunOptionAndTheCheckMark) {
  KyMessage::Log("x");
  KyMsgWin* win = app_->m_pMsgWin;
  ASSERT_NE(win, nullptr);
  HMENU menu = ::GetMenu(win->m_hWnd);
  ASSERT_NE(menu, nullptr);
  auto checked = [&] { return (GetMenuState(menu, KyMsgWin::kTopmostCommand, MF_BYCOMMAND) & MF_CHECKED) != 0; };
  auto topmost = [&] { return (GetWindowLongA(win->m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  bool initial = context_->GetRunOptions()->fGetOption(6);  // the window opens as the option says
  EXPECT_EQ(checked(), initial);
  EXPECT_EQ(topmost(), initial);
  for (bool expected : {!initial, initial}) {
    win->SendMessage(WM_COMMAND, KyMsgWin::kTopmostCommand);
    EXPECT_EQ(context_->GetRunOptions()->fGetOption(6) != 0, expected);
    EXPECT_EQ(checked(), expected);
    EXPECT_EQ(topmost(), expected);
  }
}

TEST_F(Messages, ClosingSavesThePositionAndTheNextWindowUsesIt) {
  KyMessage::Log("x");
  KyMsgWin* win = app_->m_pMsgWin;
  ASSERT_NE(win, nullptr);
  win->MoveWindow(40, 50, 400, 150);
  win->SendMessage(WM_CLOSE);
  EXPECT_EQ(app_->m_pMsgWin, nullptr);
  EXPECT_EQ(GetPrivateProfileIntA("Log Position:Message Log", "Left", -1, ini_.c_str()), 40);
  EXPECT_EQ(GetPrivateProfileIntA("Log Position:Message Log", "Bottom", -1, ini_.c_str()), 200);
  KyMessage::Log("again");
  ASSERT_NE(app_->m_pMsgWin, nullptr);
  CRect r;
  app_->m_pMsgWin->GetWindowRect(&r);
  EXPECT_EQ(r, CRect(40, 50, 440, 200));
  EXPECT_EQ(app_->m_pMsgWin->GetList().GetCount(), 1);  // a new window starts empty
}

TEST_F(Messages, WithoutStoredPositionTheLogSitsBelowTheMainWindow) {
  CWnd main;
  ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "Main", WS_OVERLAPPEDWINDOW, 100, 100, 600, 300, nullptr,
                            nullptr));
  app_->m_pMainWnd = &main;
  KyMessage::Log("x");
  ASSERT_NE(app_->m_pMsgWin, nullptr);
  CRect r;
  app_->m_pMsgWin->GetWindowRect(&r);
  int caption = GetSystemMetrics(SM_CYCAPTION);
  EXPECT_EQ(r, CRect(100, 100 + caption, 700, 100 + caption + 100));
  app_->m_pMsgWin->DestroyWindow();
  app_->m_pMainWnd = nullptr;
  main.DestroyWindow();
}

struct StatusPanel : KyPanel {
  StatusPanel() : KyPanel(nullptr) {}
};

TEST_F(Messages, StatusGoesToPaneZeroOfTheMainPanel) {
  KyMessage::Status("ignored without a main panel %d", 1);
  StatusPanel panel;
  app_->m_pMainPanel = &panel;
  KyMessage::Status("  Saving %d records  ", 12);
  EXPECT_STREQ(panel.GetStatusBarText(0), "Saving 12 records");
  KyMessage::Status("");
  EXPECT_STREQ(panel.GetStatusBarText(0), "Ready");  // the idle text
  panel.SetStatusBarText("pane two", 2);
  panel.SetStatusBarText("elsewhere", 9);  // out of range: pane 0
  EXPECT_STREQ(panel.GetStatusBarText(2), "pane two");
  EXPECT_STREQ(panel.GetStatusBarText(0), "elsewhere");
  app_->m_pMainPanel = nullptr;
}

TEST_F(Messages, FailedHResultsShowTheirParts) {
  HRESULT ok = S_OK;
  EXPECT_EQ(KyCheckHResult(&ok, "x.cpp", 1), 1);
  EXPECT_TRUE(messageBoxLog().empty());
  HRESULT denied = static_cast<HRESULT>(0x80070005);
  SetLastError(5);
  EXPECT_EQ(KyCheckHResult(&denied, "module.cpp", 77), 0);
  ASSERT_EQ(messageBoxLog().size(), 1u);
  const std::string text = messageBoxLog()[0].text;  // the log is handed out as a copy
  EXPECT_NE(text.find("5 (0x0005)"), std::string::npos) << text;
  EXPECT_NE(text.find("7 (0x0007)"), std::string::npos) << text;
  EXPECT_NE(text.find("0x80070005"), std::string::npos) << text;
  EXPECT_NE(text.find("module.cpp, line 77"), std::string::npos) << text;
}

}  // namespace
