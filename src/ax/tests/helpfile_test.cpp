// Help of controls and of their members: WinHelp of ".HLP" files with the
// control's file and context, HTML Help of ".CHM" files through the
// viewer's library (a stand-in of ours here), and no help without a file.
#include <internal/userscript.h>
#include <winreg.h>

#include <string>

#include "KyActiveXControl.h"
#include "KyActiveXControlImpl.h"
#include "axhostfixture.h"

namespace {

class HelpFiles : public AxHostFixture {
 protected:
  void SetUp() override {
    AxHostFixture::SetUp();
    CWinApp::ClearHelpRequests();
    win32::script::clearMessageBoxLog();
    app_.m_pMainWnd = &host_;
  }
  void TearDown() override {
    app_.m_pMainWnd = nullptr;
    AxHostFixture::TearDown();
  }
  BOOL create(KyActiveXControl& control, const char* progId, UINT id) {
    return control.Create(progId, "", WS_CHILD, CRect(0, 0, 50, 50), &host_, id, "", "", nullptr, &host_);
  }
  CWinApp app_{"helptest"};
};

struct Viewer {
  int calls;
  HWND owner;
  std::string file;
  UINT command;
};

Viewer viewerCalls() {
  HMODULE standIn = GetModuleHandleA(KY_BIN_DIR "/kyhtmlhelp_standin.so");
  auto calls = reinterpret_cast<int (*)(HWND*, const char**, UINT*)>(
      reinterpret_cast<void (*)()>(GetProcAddress(standIn, "HtmlHelpCalls")));
  if (!calls) return {0, nullptr, "", 0};
  HWND owner = nullptr;
  const char* file = "";
  UINT command = 0;
  const int n = calls(&owner, &file, &command);
  return {n, owner, file, command};
}

}  // namespace

TEST_F(HelpFiles, HlpFilesOpenInWinHelpWithTheControlsFileAndContext) {
  const std::string own = app_.m_pszHelpFilePath ? app_.m_pszHelpFilePath : "";
  KyActiveXControl picture;
  ASSERT_TRUE(create(picture, KYPICT_PROGID, 301));
  ASSERT_TRUE(picture.ShowHelp());
  // A member's own help: the picture property has context 20.
  KyComDoc member(nullptr, 0);
  ITypeLib* library = nullptr;
  ASSERT_EQ(LoadRegTypeLib(LIBID_KyPicture, 1, 0, 0, &library), S_OK);
  ITypeInfo* box = nullptr;
  ASSERT_EQ(library->GetTypeInfoOfGuid(DIID_KyPicture, &box), S_OK);
  const KyComDoc pictureDoc(box, KYPICT_PICTURE);
  EXPECT_TRUE(pictureDoc.ShowHelp());
  EXPECT_FALSE(member.ShowHelp());  // no documentation, no file
  box->Release();
  library->Release();
  const auto requests = CWinApp::GetHelpRequests();
  struct Expected {
    UINT command;
    DWORD_PTR data;
  } expected[] = {{HELP_FINDER, 0}, {HELP_CONTEXT, 20}};
  ASSERT_EQ(requests.size(), std::size(expected));
  for (size_t i = 0; i < requests.size(); ++i) {
    EXPECT_STREQ(requests[i].strHelpFile, KYPICT_HELPFILE) << i;
    EXPECT_EQ(requests[i].nCmd, expected[i].command) << i;
    EXPECT_EQ(requests[i].dwData, expected[i].data) << i;
    EXPECT_EQ(requests[i].hWnd, host_.m_hWnd) << i;
  }
  EXPECT_EQ(app_.m_pszHelpFilePath ? app_.m_pszHelpFilePath : "", own);  // the application's own file is back
}

TEST_F(HelpFiles, ChmFilesOpenInTheHtmlHelpViewer) {
  ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", REG_SZ,
                         KY_BIN_DIR "/kyhtmlhelp_standin.so", 0),
            ERROR_SUCCESS);
  KyActiveXControl gauge;
  ASSERT_TRUE(create(gauge, KYGAUGE_PROGID, 302));
  EXPECT_TRUE(gauge.ShowHelp());
  const Viewer seen = viewerCalls();
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(seen.owner, GetDesktopWindow());
  EXPECT_EQ(seen.file, KYGAUGE_HELPFILE);
  EXPECT_EQ(seen.command, 0u);
  EXPECT_TRUE(CWinApp::GetHelpRequests().empty());
}

TEST_F(HelpFiles, AControlWithoutHelpSaysSo) {
  KyActiveXControl missing;
  ASSERT_TRUE(missing.Create("No.Such.Control", "", WS_CHILD, CRect(0, 0, 50, 50), &host_, 303, "", "", nullptr, &host_));
  win32::script::clearMessageBoxLog();
  EXPECT_FALSE(missing.HasHelp());
  EXPECT_FALSE(missing.ShowHelp());
  const auto boxes = win32::script::messageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "No help available");
}
