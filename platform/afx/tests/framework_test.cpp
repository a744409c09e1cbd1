// The framework's services around windows: message boxes with the
// framework's prompts, the resource chain with extension libraries, menus
// and their command user interface, help requests.
#include <afxwin.h>

#include <internal/testinput.h>
#include <internal/userscript.h>

#include <gtest/gtest.h>

#include "data/dialogs.h"

#include <vector>

namespace {

class App : public CWinApp {
 public:
  App() : CWinApp("Framework test") {}
};

class MainWnd : public CWnd {
 public:
  std::vector<UINT> m_commands;
  BOOL Make() { return CreateEx(0, nullptr, "main", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr); }

 protected:
  afx_msg void OnSave() { m_commands.push_back(ID_CHAIN_SAVE); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(MainWnd, CWnd)
  ON_COMMAND(ID_CHAIN_SAVE, OnSave)
END_MESSAGE_MAP()

class Framework : public ::testing::Test {
 protected:
  void SetUp() override {
    win32::script::clearMessageBoxAnswers();
    win32::script::clearMessageBoxLog();
    ASSERT_TRUE(main.Make());
    app.m_pMainWnd = &main;
  }
  void TearDown() override { app.m_pMainWnd = nullptr; }

  // Puts AFXCHAIN.DLL on the resource chain for the test's duration.
  struct Chain {
    Chain() : library(::LoadLibraryA(KY_BIN_DIR "/AFXCHAIN.DLL")) {
      if (library) onChain = new CDynLinkLibrary(library, library);
    }
    ~Chain() {
      delete onChain;
      if (library) ::FreeLibrary(library);
    }
    HMODULE library;
    CDynLinkLibrary* onChain = nullptr;
  };

  App app;
  MainWnd main;
};

TEST_F(Framework, MessageBoxesShowTheFrameworksPromptsOwnedByTheMainWindow) {
  struct Case {
    UINT type;
    UINT expectedStyle;
  } cases[] = {
      {MB_OK, MB_OK | MB_ICONEXCLAMATION},
      {MB_YESNO, MB_YESNO | MB_ICONEXCLAMATION},  // no question mark: the framework's choice
      {MB_RETRYCANCEL, MB_RETRYCANCEL},           // rare kinds get no icon
      {MB_OKCANCEL | MB_ICONSTOP, MB_OKCANCEL | MB_ICONSTOP},
  };
  for (const Case& c : cases) {
    win32::script::clearMessageBoxLog();
    AfxMessageBox(AFX_IDP_PARSE_INT, c.type);
    auto boxes = win32::script::messageBoxLog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Please enter an integer.");
    EXPECT_EQ(boxes[0].caption, "Framework test");
    EXPECT_EQ(boxes[0].style, c.expectedStyle);
    EXPECT_EQ(boxes[0].owner, main.m_hWnd);
  }
  EXPECT_TRUE(main.IsWindowEnabled());
  EXPECT_EQ(app.m_dwPromptContext, 0u);  // the box's help context is gone again
}

TEST_F(Framework, TheAnswerComesBack) {
  win32::script::pushMessageBoxAnswer(IDNO);
  EXPECT_EQ(AfxMessageBox("Go on?", MB_YESNO), IDNO);
  EXPECT_EQ(win32::script::messageBoxLog().at(0).text, "Go on?");
}

TEST_F(Framework, ExtensionLibrariesComeBeforeTheFrameworksOwnStrings) {
  CString text;
  ASSERT_TRUE(text.LoadString(AFX_IDP_PARSE_REAL));
  EXPECT_EQ(text, "Please enter a number.");
  {
    Chain chain;
    ASSERT_NE(chain.library, nullptr);
    ASSERT_TRUE(text.LoadString(AFX_IDP_PARSE_REAL));
    EXPECT_EQ(text, "The library's own number prompt");
    ASSERT_TRUE(text.LoadString(200));
    EXPECT_EQ(text, "From the extension library");
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDM_CHAIN), RT_MENU), chain.library);
  }
  ASSERT_TRUE(text.LoadString(AFX_IDP_PARSE_REAL));
  EXPECT_EQ(text, "Please enter a number.");
  EXPECT_FALSE(text.LoadString(200));
}

TEST_F(Framework, ExtensionModuleStart) {
  AFX_EXTENSION_MODULE module{};
  EXPECT_FALSE(AfxInitExtensionModule(module, nullptr));
  HMODULE self = AfxGetModuleOf(reinterpret_cast<const void*>(&AfxGetModuleOf));
  ASSERT_NE(self, nullptr);
  ASSERT_TRUE(AfxInitExtensionModule(module, self));
  EXPECT_TRUE(module.bInitialized);
  EXPECT_EQ(module.hResource, self);
  AfxTermExtensionModule(module);
  EXPECT_FALSE(module.bInitialized);
}

TEST_F(Framework, MenusLoadFromTheChainAndTakeCommandUserInterface) {
  Chain chain;
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDM_CHAIN));
  CMenu* pFile = menu.GetSubMenu(0);
  ASSERT_NE(pFile, nullptr);
  EXPECT_EQ(CMenu::FromHandle(pFile->m_hMenu), pFile);  // a temporary object, kept until idle
  EXPECT_EQ(pFile->GetMenuItemCount(), 2u);
  EXPECT_EQ(pFile->GetMenuItemID(1), (UINT)ID_CHAIN_SAVE);

  CCmdUI state;
  state.m_pMenu = pFile;
  state.m_nIndex = 1;
  state.m_nID = ID_CHAIN_SAVE;
  state.Enable(FALSE);
  state.SetCheck(1);
  state.SetText("&Save all");
  UINT nState = pFile->GetMenuState(1, MF_BYPOSITION);
  EXPECT_TRUE(nState & MF_GRAYED);
  EXPECT_TRUE(nState & MF_CHECKED);
  CString text;
  pFile->GetMenuString(1, text, MF_BYPOSITION);
  EXPECT_EQ(text, "&Save all");
  EXPECT_EQ(pFile->GetMenuItemID(1), (UINT)ID_CHAIN_SAVE);  // the id stays

  state.Enable(TRUE);
  EXPECT_FALSE(pFile->GetMenuState(1, MF_BYPOSITION) & MF_GRAYED);
  state.m_nIndex = 0;
  state.SetRadio(TRUE);
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE;
  ASSERT_TRUE(pFile->GetMenuItemInfo(0, &info, TRUE));
  EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
  EXPECT_TRUE(info.fState & MFS_CHECKED);
  AfxLockTempMaps();
  AfxUnlockTempMaps();
}

TEST_F(Framework, APopupMenusChoiceArrivesAsACommand) {
  Chain chain;
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDM_CHAIN));
  win32::input::pushMenuChoice(ID_CHAIN_SAVE);
  EXPECT_TRUE(menu.GetSubMenu(0)->TrackPopupMenu(TPM_LEFTALIGN, 10, 10, &main));
  win32::input::pumpMessages();
  EXPECT_EQ(main.m_commands, std::vector<UINT>{ID_CHAIN_SAVE});
  win32::input::pushMenuChoice(ID_CHAIN_OPEN);
  EXPECT_EQ((UINT)menu.GetSubMenu(0)->TrackPopupMenu(TPM_RETURNCMD, 10, 10, &main), (UINT)ID_CHAIN_OPEN);
}

TEST_F(Framework, AMenuGoesWithItsObjectUnlessDetached) {
  HMENU handle;
  {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendMenu(MF_STRING, 7, "Seven"));
    handle = menu.m_hMenu;
    EXPECT_EQ(CMenu::FromHandle(handle), &menu);
  }
  EXPECT_FALSE(::IsMenu(handle));
  CMenu kept;
  ASSERT_TRUE(kept.CreateMenu());
  handle = kept.Detach();
  EXPECT_TRUE(::IsMenu(handle));
  ::DestroyMenu(handle);
}

TEST_F(Framework, HelpRequestsAreRecorded) {
  CWinApp::ClearHelpRequests();
  app.WinHelp(42, HELP_CONTEXT);
  main.WinHelp(0, HELP_CONTENTS);
  auto requests = CWinApp::GetHelpRequests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].hWnd, main.m_hWnd);
  EXPECT_EQ(requests[0].nCmd, (UINT)HELP_CONTEXT);
  EXPECT_EQ(requests[0].dwData, 42u);
  EXPECT_EQ(requests[1].nCmd, (UINT)HELP_CONTENTS);
}

TEST_F(Framework, TheThreadAndMainWindowAreTheApplications) {
  EXPECT_EQ(AfxGetApp(), &app);
  EXPECT_EQ(AfxGetThread(), &app);
  EXPECT_EQ(AfxGetMainWnd(), &main);
  EXPECT_EQ(app.m_hDevMode, nullptr);  // no printer chosen yet
  EXPECT_EQ(app.m_hDevNames, nullptr);
}

}  // namespace
