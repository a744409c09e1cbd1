// The generated function libraries AAzqF and AAzrF through the call
// manager: contract and version, function and panel objects with the
// design information, the panel from the panel library, the Close event
// ending the function, both side by side with one calling the other.
#include <gtest/gtest.h>
#include <internal/snapshot.h>
#include <internal/userscript.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "../../../lc/app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyCtrl.h"
#include "HGrid.h"
#include "KyFunctionData.h"
#include "KyLogEvent.h"
#include "KyPanel.h"
#include "KyPanelFrames.h"
#include "KyStaticAPI.h"
#include "KyToolBar.h"
#include "KyVariable.h"
#include "ravlets.h"

namespace fs = std::filesystem;

namespace {

constexpr char kFirst[] = "Testfunktionen.Child1";
constexpr char kSecond[] = "Testfunktionen.Child2";

std::string titleOf(HWND hWnd) {
  char text[128] = {};
  GetWindowTextA(hWnd, text, sizeof text);
  return text;
}

class GeneratedLibrary : public ::testing::Test {
 protected:
  void SetUp() override { start(KY_BIN_DIR); }
  void TearDown() override { stop(); }
  void start(const std::string& directory) {
    ASSERT_TRUE(RavletsInit("KYWA721"));
    kytest::writeFile(ini_, "[Settings]\nDLL directory path=" + directory +
                                "\n[International Settings]\nPNL directory path=" + directory + "\n");
    app_ = std::make_unique<kytest::TestClientApp>("Generated", ini_);
    app_->CreateContext();
    language_ = std::make_unique<kytest::LanguageLibrary>();
    win32::script::clearMessageBoxLog();
  }
  void stop() {
    if (!app_) return;
    app_->CloseAllPanels();
    pump();
    language_.reset();
    app_->EndContext();
    app_.reset();
  }
  static void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  // Calls the function as the runner starts its main function; its status.
  std::string callDirectly(const char* implementation, const char* library) {
    KyCallMgr::Call(nullptr, nullptr, nullptr, 0, implementation, library);
    return static_cast<const char*>(KyCallMgr::GetCallMgr()->GetDirectCallStatus());
  }

  kytest::ScratchDir dir_;
  fs::path ini_ = dir_.path() / "APP.INI";
  std::unique_ptr<kytest::TestClientApp> app_;
  std::unique_ptr<kytest::LanguageLibrary> language_;
};

TEST_F(GeneratedLibrary, RunsWithItsPanelAndEndsOnClose) {
  ASSERT_EQ(callDirectly("AAzqF", "AAZQF.DLL"), " ");
  KyPanel* panel = KyPanelAPI::GetPanelByName(kFirst);
  ASSERT_NE(panel, nullptr);
  KyFunctionData* function = panel->GetFunctionData();
  ASSERT_NE(function, nullptr);
  EXPECT_EQ(function->GetPanel(), panel);
  EXPECT_STREQ(function->GetImplementationName(), "AAzqF");
  EXPECT_STREQ(function->GetPanelLibraryName(), "AAzqF");
  EXPECT_TRUE(IsWindowVisible(panel->hHandle()));
  EXPECT_EQ(titleOf(panel->hHandle()), "MDI Child 1 - Funktion: <AAzqF>") << "the start code's title";
  // The control table's three controls, by name.
  ASSERT_EQ(panel->GetControls().size(), 3u);
  for (const char* name : {"Label", "FunctionName", "Hint"}) EXPECT_NE(panel->FindControlByName(name), nullptr) << name;

  // The design information as the generator wrote it.
  KyRTDIArray<KyRTDIFnc>* functions = function->GetFunctionTable();
  ASSERT_EQ(functions->GetCount(), 2);
  EXPECT_STREQ(functions->At(0)->m_pszDesignName, kFirst);
  EXPECT_STREQ(functions->At(0)->m_pszImplementationName, "Testmodell.AAzqF");
  EXPECT_EQ(static_cast<int>(functions->At(0)->m_dwObjectId), -1601);
  EXPECT_STREQ(functions->At(1)->m_pszDesignName, "$CSecurityCheckDummy");
  EXPECT_EQ(functions->At(1)->m_dwObjectId, 905971034u);
  KyRTDIArray<KyRTDIFld>* fields = function->GetFieldTable();
  ASSERT_EQ(fields->GetCount(), 18);
  struct Field {
    int index;
    const char* display;
    const char* implementation;
    int length;
  } expected[] = {{0, "*Returning status", "xReturning_status_11", 7},
                  {5, "*Message", "xMessage_3", 512},
                  {17, "*Object name", "xObject_name_17", 32}};
  for (const Field& f : expected) {
    KyRTDIFld* record = fields->At(f.index);
    ASSERT_NE(record, nullptr) << f.index;
    EXPECT_STREQ(record->m_pszDesignName, f.display);
    EXPECT_STREQ(record->m_pszImplementationName, f.implementation);
    EXPECT_EQ(record->m_wLength, f.length);
  }
  KyRTDIArray<KyRTDIVar>* variables = function->GetVariableTable();
  ASSERT_EQ(variables->GetCount(), 2);
  EXPECT_STREQ(variables->At(0)->m_pszImplementationName, "Environment0");
  EXPECT_EQ(variables->At(1)->m_cVarClass, 73);

  // The frame's close request raises the Close event: the function returns
  // and the panel ends.
  HWND hWnd = panel->hHandle();
  SendMessageA(hWnd, WM_CLOSE, 0, 0);
  pump();
  EXPECT_FALSE(IsWindow(hWnd));
  // The application's next idle turn lets the call manager end the function
  // and its panel object.
  app_->DoIdle();
  EXPECT_EQ(KyPanelAPI::GetPanelByName(kFirst), nullptr);
  EXPECT_EQ(app_->m_OpenPanels.GetCount(), 0);
}

// The panel's keys: F4 runs the prompt event (an action without statements:
// the panel stays), Escape the close event, which ends the function.
TEST_F(GeneratedLibrary, KeysRunThePanelsEvents) {
  ASSERT_EQ(callDirectly("AAzqF", "AAZQF.DLL"), " ");
  KyPanel* panel = KyPanelAPI::GetPanelByName(kFirst);
  ASSERT_NE(panel, nullptr);
  HWND hWnd = panel->hHandle();
  EXPECT_TRUE(panel->OnKeyBoard(VK_F4));
  pump();
  EXPECT_TRUE(IsWindow(hWnd));
  EXPECT_FALSE(panel->OnKeyBoard(VK_F2)) << "a key without an event is not taken";
  EXPECT_TRUE(panel->OnKeyBoard(VK_ESCAPE));
  pump();
  EXPECT_FALSE(IsWindow(hWnd));
  app_->DoIdle();
  EXPECT_EQ(KyPanelAPI::GetPanelByName(kFirst), nullptr);
}

// Both libraries load side by side, each with its own panel, and the first
// calls the second through the call manager.
TEST_F(GeneratedLibrary, TwoFunctionsSideBySideOneCallingTheOther) {
  ASSERT_EQ(callDirectly("AAzqF", "AAZQF.DLL"), " ");
  KyPanel* first = KyPanelAPI::GetPanelByName(kFirst);
  ASSERT_NE(first, nullptr);
  KyFunctionData* caller = first->GetFunctionData();
  KyCallMgr::KyCallExternalFunction(caller, nullptr, nullptr, kSecond, "AAzrF", "AAZRF.DLL", nullptr);
  EXPECT_STREQ(caller->GetLocals()->m_CallStatus, " ");
  KyPanel* second = KyPanelAPI::GetPanelByName(kSecond);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  EXPECT_NE(second->hGetRESInstance(), first->hGetRESInstance()) << "each from its own panel library";
  EXPECT_EQ(titleOf(second->hHandle()), "MDI Child 1 - Funktion: <AAzrF>");
  EXPECT_EQ(titleOf(first->hHandle()), "MDI Child 1 - Funktion: <AAzqF>");
  EXPECT_TRUE(IsWindowVisible(first->hHandle()) && IsWindowVisible(second->hHandle()));
}

// The panel as the generated constructor builds it: the speed buttons in
// a tool bar docked above the view, the function's name shown in its edit.
TEST_F(GeneratedLibrary, ShowsItsToolBarAndTheFunctionName) {
  ASSERT_EQ(callDirectly("AAzqF", "AAZQF.DLL"), " ");
  KyPanel* panel = KyPanelAPI::GetPanelByName(kFirst);
  ASSERT_NE(panel, nullptr);
  app_->DoIdle();
  EXPECT_EQ(panel->GetContextMenu(0), -1);
  EXPECT_EQ(panel->GetContextMenu(1), -1);

  // One button set: Refresh, Filter, a separator.
  ASSERT_EQ(panel->GetButtonSets().size(), 1u);
  const KyButtonSet& set = *panel->GetButtonSets()[0];
  EXPECT_STREQ(set.GetTitle(), " ");
  struct Button {
    UINT command;  // 0: a separator
    const char* tip;
  } buttons[] = {{1433, "Refresh"}, {1434, "Filter"}, {0, nullptr}};
  ASSERT_EQ(set.GetButtons().size(), std::size(buttons));
  for (size_t i = 0; i < std::size(buttons); ++i) {
    const KySpeedButton& button = *set.GetButtons()[i];
    EXPECT_EQ(button.IsSeparator(), buttons[i].command == 0) << i;
    if (button.IsSeparator()) continue;
    EXPECT_EQ(button.GetCommandId(), static_cast<int>(buttons[i].command));
    EXPECT_NE(button.GetPicture(), nullptr) << "bitmap of the panel library";
    EXPECT_STREQ(button.GetTipText(), buttons[i].tip);
  }

  // Its window: the frame's first tool bar, docked at the top.
  ASSERT_NE(panel->GetFramePart(), nullptr);
  const auto& bars = panel->GetFramePart()->GetToolBars();
  ASSERT_EQ(bars.size(), 1u);
  KyCToolBar* bar = bars[0];
  EXPECT_EQ(GetDlgCtrlID(bar->m_hWnd), 59392);
  EXPECT_EQ(titleOf(bar->m_hWnd), " ");
  EXPECT_TRUE(IsWindowVisible(bar->m_hWnd));
  EXPECT_EQ(bar->GetShownSet(), &set);
  ASSERT_EQ(bar->GetCount(), 3);
  EXPECT_EQ(bar->GetItemID(0), 1433u);
  EXPECT_EQ(bar->GetItemID(1), 1434u);
  EXPECT_EQ(bar->GetItemID(2), static_cast<UINT>(ID_SEPARATOR));
  RECT barRect{}, viewRect{}, frameClient{};
  GetWindowRect(bar->m_hWnd, &barRect);
  GetWindowRect(panel->ViewHandle(), &viewRect);
  GetClientRect(panel->hHandle(), &frameClient);
  MapWindowPoints(panel->hHandle(), nullptr, reinterpret_cast<POINT*>(&frameClient), 2);
  EXPECT_EQ(barRect.top, frameClient.top);
  EXPECT_GT(barRect.bottom, barRect.top);
  EXPECT_EQ(viewRect.top, barRect.bottom) << "the view lies below the bar";

  // The start code's constant shows in the Function field.
  KyCtrl* name = panel->pGetCtrl(2);
  ASSERT_NE(name, nullptr);
  KyCharFld shown(32, 0, 0, 0, "", "", "", "", 0);
  name->DDX(AccRead, shown);
  EXPECT_STREQ(static_cast<const char*>(shown), "AAzqF");

  // The picture, left in the build directory for people to look at.
  const fs::path png = fs::path(KY_BIN_DIR).parent_path() / "aazqf_panel.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(panel->hHandle(), png.c_str()));
  std::printf("snapshot: %s\n", png.c_str());

  // Resizing the frame leaves the bar where it is, at its size.
  for (SIZE size : {SIZE{600, 400}, SIZE{300, 150}, SIZE{420, 240}}) {
    SetWindowPos(panel->hHandle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    pump();
    app_->DoIdle();
    RECT now{};
    GetWindowRect(bar->m_hWnd, &now);
    EXPECT_TRUE(EqualRect(&now, &barRect)) << size.cx << "x" << size.cy;
  }
}

// A speed button's click reaches the panel as its command (code 7 with the
// command id as source) and runs the logical event mapped to it through
// the generated dispatch: Refresh leaves the panel open, Filter closes it.
TEST_F(GeneratedLibrary, SpeedButtonClicksRunTheirCommandEvents) {
  ASSERT_EQ(callDirectly("AAzqF", "AAZQF.DLL"), " ");
  KyPanel* panel = KyPanelAPI::GetPanelByName(kFirst);
  ASSERT_NE(panel, nullptr);
  app_->DoIdle();
  constexpr int kCommand = 7, kPrompt = 157, kClose = 159;
  panel->AddEvent(new KyLogEvent(1433, kCommand, kPrompt, "", "Refresh", 0));
  panel->AddEvent(new KyLogEvent(1434, kCommand, kClose, "", "Filter", 0));
  ASSERT_EQ(panel->GetFramePart()->GetToolBars().size(), 1u);
  KyCToolBar* bar = panel->GetFramePart()->GetToolBars()[0];
  const HWND hWnd = panel->hHandle();
  auto click = [&](int index) {
    RECT rc{};
    bar->GetItemRect(index, &rc);
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageA(bar->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(bar->m_hWnd, WM_LBUTTONUP, 0, at);
    pump();
  };
  click(0);
  EXPECT_TRUE(IsWindow(hWnd)) << "Refresh runs the prompt event";
  EXPECT_FALSE(panel->GetFunctionData()->IsReturned());
  click(1);
  EXPECT_FALSE(IsWindow(hWnd)) << "Filter runs the close event";
  app_->DoIdle();
  EXPECT_EQ(KyPanelAPI::GetPanelByName(kFirst), nullptr);
}

}  // namespace
