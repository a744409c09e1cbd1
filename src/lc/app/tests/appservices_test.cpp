// Services of the application object: busy nesting, the application name,
// the owner window, window placement in the INI file, RTF picture names.
#include <afxwin.h>
#include <gtest/gtest.h>
#include <internal/userscript.h>
#include <windows.h>

#include <filesystem>

#include "KyAppContext.h"
#include "KyAppServices.h"
#include "KyFunctionData.h"
#include "KyPanel.h"
#include "KyRTFFileNames.h"
#include "KyWinClientApp.h"
#include "KyWindowPlacement.h"
#include "testapp.h"

namespace {

namespace fs = std::filesystem;

struct TestPanel : KyPanel {
  TestPanel(HWND hWnd, int kind, int unitX, int unitY) : KyPanel(nullptr) {
    m_hWnd = hWnd;
    m_iKind = kind;
    m_iBaseUnitX = unitX;
    m_iBaseUnitY = unitY;
  }
};

class AppServices : public ::testing::Test {
 protected:
  void SetUp() override {
    kytest::writeFile(ini_, "[Settings]\n");
    app_ = std::make_unique<kytest::TestClientApp>("Services", ini_);
    app_->CreateContext();
    ASSERT_TRUE(main_.CreateEx(0, AfxRegisterWndClass(0), "Main", WS_OVERLAPPEDWINDOW, 10, 10, 400, 300, nullptr,
                               nullptr));
  }
  void TearDown() override {
    main_.DestroyWindow();
    app_->EndContext();
    app_.reset();
  }
  kytest::ScratchDir dir_;
  fs::path ini_ = dir_.path() / "APP.INI";
  std::unique_ptr<kytest::TestClientApp> app_;
  CWnd main_;
};

TEST_F(AppServices, NestedDisablingEnablesWithTheLastUndo) {
  app_->m_pMainWnd = &main_;
  app_->DisableMainWnd();
  app_->DisableMainWnd();
  app_->EnableMainWnd();
  EXPECT_FALSE(main_.IsWindowEnabled());
  app_->EnableMainWnd();
  EXPECT_TRUE(main_.IsWindowEnabled());
  EXPECT_EQ(hKyGetMainHandle(), main_.m_hWnd);
  app_->m_pMainWnd = nullptr;
  app_->DisableMainWnd();  // no main window: only the count changes
  app_->EnableMainWnd();
}

TEST_F(AppServices, AppNameIsACopyAndOwnerFallsBackInOrder) {
  {
    std::string temporary = "Payroll";
    app_->SetAppName(temporary.c_str());
    temporary = "overwritten";
  }
  EXPECT_STREQ(app_->m_pszAppName, "Payroll");

  EXPECT_EQ(app_->GetOwnerWindow(), nullptr);
  app_->m_pMainWnd = &main_;
  EXPECT_EQ(app_->GetOwnerWindow(), &main_);
  CWnd other;
  ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "Other", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr));
  app_->m_pOwnerWindow = &other;
  EXPECT_EQ(app_->GetOwnerWindow(), &other);
  TestPanel panel(main_.m_hWnd, 0, 0, 0);
  app_->m_pActivePanel = &panel;
  EXPECT_EQ(app_->GetOwnerWindow()->m_hWnd, main_.m_hWnd);
  app_->m_pActivePanel = nullptr;
  app_->m_pOwnerWindow = nullptr;
  app_->m_pMainWnd = nullptr;
  other.DestroyWindow();
}

TEST_F(AppServices, PlacementRoundTripsThroughTheIniFile) {
  EXPECT_EQ(KyRestoreWindowPos(main_.m_hWnd, "Window Placement", "NEVERSAVED", nullptr), 0);
  main_.MoveWindow(30, 40, 300, 200);
  KySaveWindowPos(main_.m_hWnd, "Window Placement", "ORDERS", nullptr);
  EXPECT_EQ(GetPrivateProfileIntA("ORDERS:Window Placement", "Right", -1, ini_.c_str()), 330);
  char maximized[16] = {};
  GetPrivateProfileStringA("ORDERS:Window Placement", "Maximized", "", maximized, sizeof maximized, ini_.c_str());
  EXPECT_STREQ(maximized, "False");

  main_.MoveWindow(0, 0, 100, 100);
  EXPECT_EQ(KyRestoreWindowPos(main_.m_hWnd, "Window Placement", "ORDERS", nullptr), 1);
  CRect r;
  main_.GetWindowRect(&r);
  EXPECT_EQ(r, CRect(30, 40, 330, 240));
}

TEST_F(AppServices, PanelsKeepTheirOwnDialogUnits) {
  int sx = LOWORD(GetDialogBaseUnits()), sy = HIWORD(GetDialogBaseUnits());
  // Stored by a panel laid out with twice the system's units: restored at half.
  WritePrivateProfileStringA("P:Window Placement", "Left", "0", ini_.c_str());
  WritePrivateProfileStringA("P:Window Placement", "Top", "80", ini_.c_str());
  WritePrivateProfileStringA("P:Window Placement", "Right", "400", ini_.c_str());
  WritePrivateProfileStringA("P:Window Placement", "Bottom", "320", ini_.c_str());
  TestPanel panel(main_.m_hWnd, 0, 2 * sx, 2 * sy);
  ASSERT_EQ(KyRestoreWindowPos(main_.m_hWnd, "Window Placement", "P", &panel), 1);
  CRect r;
  main_.GetWindowRect(&r);
  EXPECT_EQ(r, CRect(0, 40, 200, 160));  // 0 stays 0

  // An MDI-child panel writes no "Maximized".
  TestPanel child(main_.m_hWnd, 1, 0, 0);
  KySaveWindowPos(main_.m_hWnd, "Window Placement", "CHILD", &child);
  char value[16] = {};
  GetPrivateProfileStringA("CHILD:Window Placement", "Maximized", "none", value, sizeof value, ini_.c_str());
  EXPECT_STREQ(value, "none");
}

TEST_F(AppServices, FixedSizeWindowsIgnoreAStoredOtherSize) {
  CWnd fixed;
  ASSERT_TRUE(fixed.CreateEx(0, AfxRegisterWndClass(0), "Fixed", WS_OVERLAPPED | WS_CAPTION, 0, 0, 120, 80, nullptr,
                             nullptr));
  WritePrivateProfileStringA("F:Window Placement", "Right", "500", ini_.c_str());
  WritePrivateProfileStringA("F:Window Placement", "Bottom", "500", ini_.c_str());
  EXPECT_EQ(KyRestoreWindowPos(fixed.m_hWnd, "Window Placement", "F", nullptr), 0);
  fixed.DestroyWindow();
}

// A panel of a function that keeps its placement (or not).
struct PlacedPanel : KyPanel {
  PlacedPanel(KyFunctionData* pFunction, int kind, int fKeeps) : KyPanel(pFunction) {
    m_iKind = kind;
    m_fRestore = fKeeps;
  }
};

TEST_F(AppServices, TheMainWindowsMdiPartsAndTheMaximisedStateOfItsChildren) {
  BOOL fMaximized = TRUE;
  app_->m_pMainWnd = &main_;  // no MDI frame
  EXPECT_EQ(KyGetMDIFrame(), nullptr);
  EXPECT_EQ(KyGetMDIClient(), nullptr);
  EXPECT_EQ(KyGetActiveMDIChild(&fMaximized), nullptr);
  EXPECT_FALSE(fMaximized);

  auto* pFrame = new CMDIFrameWnd;
  ASSERT_TRUE(pFrame->Create(nullptr, "Frame"));
  app_->m_pMainWnd = pFrame;
  EXPECT_EQ(KyGetMDIFrame(), pFrame);
  ASSERT_NE(KyGetMDIClient(), nullptr);
  EXPECT_EQ(KyGetMDIClient()->m_hWnd, pFrame->m_hWndMDIClient);
  auto* pChild = new CMDIChildWnd;
  ASSERT_TRUE(pChild->Create(nullptr, "Child", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                             pFrame));
  EXPECT_EQ(KyGetActiveMDIChild(&fMaximized), pChild);
  EXPECT_FALSE(fMaximized);

  KyFunctionData orders(nullptr, "", "ORDERS", "Orders", 721, 0), items(nullptr, "", "ITEMS", "Items", 721, 0),
      notes(nullptr, "", "NOTES", "Notes", 721, 0);
  PlacedPanel child(&orders, 1, 1), keeps(&items, 0, 1), forgets(&notes, 0, 0);
  for (KyPanel* pPanel : {&child, &keeps, &forgets}) app_->m_OpenPanels.AddTail(pPanel);
  auto stored = [&](const char* pszSection) {
    char value[16] = {};
    GetPrivateProfileStringA(pszSection, "Maximized", "none", value, sizeof value, ini_.c_str());
    return std::string(value);
  };

  KySaveWindowMaximized(&child, 2);  // not maximised: mode 2 does nothing
  KySaveWindowMaximized(&child, 0);  // "False" is what an absent key means: nothing to write
  EXPECT_EQ(stored("ORDERS:Window Placement"), "none");

  pFrame->MDIMaximize(pChild);
  EXPECT_EQ(KyGetActiveMDIChild(&fMaximized), pChild);
  EXPECT_TRUE(fMaximized);
  KySaveWindowMaximized(&keeps, 2);  // not an MDI child
  KySaveWindowMaximized(&child, 1);  // no such mode
  KySaveWindowMaximized(&child, 0);  // maximised: mode 0 does nothing
  EXPECT_EQ(stored("ITEMS:Window Placement"), "none");
  KySaveWindowMaximized(&child, 2);
  EXPECT_EQ(stored("ORDERS:Window Placement"), "True");
  EXPECT_EQ(stored("ITEMS:Window Placement"), "True");
  EXPECT_EQ(stored("NOTES:Window Placement"), "none");

  pFrame->MDIRestore(pChild);
  KySaveWindowMaximized(&child, 0);
  EXPECT_EQ(stored("ORDERS:Window Placement"), "False");
  EXPECT_EQ(stored("ITEMS:Window Placement"), "False");
  EXPECT_EQ(stored("NOTES:Window Placement"), "none");

  app_->m_OpenPanels.RemoveAll();
  app_->m_pMainWnd = nullptr;
  pFrame->DestroyWindow();
}

TEST_F(AppServices, PrinterOrientationGoesIntoTheChosenPrintersSettings) {
  // Nothing chosen yet: the default printer is taken, then turned.
  KySetPrinterOrientation(DMORIENT_LANDSCAPE);
  ASSERT_NE(app_->m_hDevMode, nullptr);
  auto* pDefault = static_cast<DEVMODEA*>(GlobalLock(app_->m_hDevMode));
  EXPECT_STREQ(reinterpret_cast<const char*>(pDefault->dmDeviceName), "PDF");
  EXPECT_EQ(pDefault->dmOrientation, DMORIENT_LANDSCAPE);
  GlobalUnlock(app_->m_hDevMode);
  GlobalFree(app_->m_hDevMode);
  GlobalFree(app_->m_hDevNames);

  // A printer chosen earlier (its blocks belong to the application).
  app_->m_hDevNames = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 64);
  app_->m_hDevMode = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
  auto* pMode = static_cast<DEVMODEA*>(GlobalLock(app_->m_hDevMode));
  pMode->dmSize = sizeof(DEVMODEA);
  pMode->dmFields = DM_COPIES;
  pMode->dmCopies = 2;
  GlobalUnlock(app_->m_hDevMode);

  KySetPrinterOrientation(DMORIENT_LANDSCAPE);
  pMode = static_cast<DEVMODEA*>(GlobalLock(app_->m_hDevMode));
  EXPECT_EQ(pMode->dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(pMode->dmFields, static_cast<DWORD>(DM_COPIES | DM_ORIENTATION));
  EXPECT_EQ(pMode->dmCopies, 2);
  GlobalUnlock(app_->m_hDevMode);
}

TEST(RTFFileNames, PicturesGetTheirExtensionBesideTheReport) {
  struct Case {
    const char* picture;
    const char* path;
    const char* expected;
  } cases[] = {
      {"C:\\pics\\logo.ico", "C:/out", "C:\\out\\logo.ICO"},
      {"logo.Ico", "", "logo.ICO"},
      {"photo.jpeg", "out", "out\\photo.BMP"},
      {"C:\\my.pics\\photo", "out", "out\\photo.BMP"},  // a dot in a directory is no extension
      {"", "C:/out", "C:/out"},                        // nothing to add: unchanged
  };
  for (const auto& c : cases) {
    KyString path(c.path);
    KyRTFFileNames::Complete(c.picture, path);
    EXPECT_STREQ(path, c.expected) << c.picture;
  }
}

TEST(Platform, IsWindowsNT) { EXPECT_EQ(KyGetPlatformId(), 2); }

}  // namespace
