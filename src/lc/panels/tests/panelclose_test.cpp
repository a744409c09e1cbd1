// The panel's side of closing: close requests decided by the panel's Close
// event, returning, parents, events run once the function is idle, and the
// application's list of open panels with the panel registry of the user.
#include <afxwin.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyFunctionData.h"
#include "KyPanel.h"
#include "KyWinClientApp.h"
#include "ky721ZuntExt.h"

namespace {

namespace fs = std::filesystem;

constexpr int kClose = 6;
constexpr int kCloseEvent = 100;  // the logical id the test panels give their Close event

// What the registry's trigger delivered to a panel window.
std::vector<std::string> received;

LRESULT CALLBACK panelWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) {
    const auto* pData = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    received.emplace_back(static_cast<const char*>(pData->lpData) + 4);
    return TRUE;
  }
  return DefWindowProcA(hWnd, msg, wParam, lParam);
}

// A panel with a frame window and a generated dispatch that records the
// logical events it ran; its Close event returns the function or not.
class TestPanel : public KyPanel {
 public:
  explicit TestPanel(KyFunctionData* pFunction, bool fAgreeOnClose = true) : KyPanel(pFunction), agree_(fAgreeOnClose) {
    m_hWnd = CreateWindowExA(0, "KyTestPanelFrame", "Panel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                             nullptr, nullptr);
    m_fShown = 1;
  }
  ~TestPanel() override {
    if (IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
  }
  void PanelHandler(int iLogicalId) override {
    ran.push_back(iLogicalId);
    if (iLogicalId == kCloseEvent && agree_) {
      m_pFunctionData->Return();
      // A function without a panel resource library does not keep its
      // panel, so the return does not reach it on its own.
      if (m_pFunctionData->GetPanel() != this) PanelReturn();
    }
    if (onEvent) onEvent();
  }
  void SetRestore(int fRestore) { m_fRestore = fRestore; }
  void SetParent(KyPanel* pParent) { m_pParentPanel = pParent; }
  void SetFocusWindow(HWND hFocus) { m_hFocus = hFocus; }
  void DropWindow() {
    DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
  }

  std::vector<int> ran;
  std::function<void()> onEvent;

 private:
  bool agree_;
};

class PanelClose : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = panelWindowProc;
    wc.lpszClassName = "KyTestPanelFrame";
    RegisterClassA(&wc);
    // The panel resource libraries of the call tests lie with the libraries.
    kytest::writeFile(ini_, "[International Settings]\nPNL directory path=" KY_BIN_DIR "\n");
    app_ = std::make_unique<kytest::TestClientApp>("Panels", ini_);
    app_->CreateContext();
    received.clear();
  }
  void TearDown() override {
    panels_.clear();
    functions_.clear();
    app_->EndContext();
    app_.reset();
  }
  // A function whose names are unique to this process: the registry is
  // shared with every other test program that runs at the same time.
  KyFunctionData* function(const std::string& name, const char* pszPanelLibrary = "") {
    std::string unique = name + "_" + std::to_string(GetCurrentProcessId());
    functions_.push_back(
        std::make_unique<KyFunctionData>(nullptr, pszPanelLibrary, unique.c_str(), unique.c_str(), 721, 0));
    return functions_.back().get();
  }
  TestPanel* openPanel(const std::string& name, bool fAgree = true, bool fWithCloseEvent = true) {
    panels_.push_back(std::make_unique<TestPanel>(function(name), fAgree));
    TestPanel* pPanel = panels_.back().get();
    if (fWithCloseEvent) pPanel->AddEvent(new KyLogEvent(-1, kClose, kCloseEvent, "", "Close", 0));
    app_->AddPanel(pPanel);
    return pPanel;
  }
  static std::string nameOf(KyPanel* pPanel) { return pPanel->GetFunctionData()->pszGetName(); }

  kytest::ScratchDir dir_;
  fs::path ini_ = dir_.path() / "APP.INI";
  std::unique_ptr<kytest::TestClientApp> app_;
  // Panels go before their functions.
  std::vector<std::unique_ptr<KyFunctionData>> functions_;
  std::vector<std::unique_ptr<TestPanel>> panels_;
};

TEST_F(PanelClose, CloseEventDecidesAndAPanelWithoutOneAgrees) {
  TestPanel* pAgrees = openPanel("AGREES");
  TestPanel* pRefuses = openPanel("REFUSES", false);
  TestPanel* pPlain = openPanel("PLAIN", true, false);

  EXPECT_TRUE(pAgrees->OnClose());
  EXPECT_EQ(pAgrees->ran, std::vector<int>{kCloseEvent});
  EXPECT_TRUE(pAgrees->GetFunctionData()->IsReturned());
  // The request itself closes the window: returning posted no WM_CLOSE.
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, pAgrees->hHandle(), WM_CLOSE, WM_CLOSE, PM_NOREMOVE));

  EXPECT_FALSE(pRefuses->OnClose());
  EXPECT_FALSE(pRefuses->IsReturning());
  EXPECT_EQ(pRefuses->ran, std::vector<int>{kCloseEvent});

  EXPECT_TRUE(pPlain->OnClose());
  EXPECT_TRUE(pPlain->ran.empty());
}

TEST_F(PanelClose, ClosingSavesThePlacementOnlyWhenThePanelKeepsIt) {
  TestPanel* pKeeps = openPanel("KEEPS");
  TestPanel* pForgets = openPanel("FORGETS");
  pKeeps->SetRestore(1);
  MoveWindow(pKeeps->hHandle(), 30, 40, 300, 200, FALSE);
  ASSERT_TRUE(pKeeps->OnClose());
  ASSERT_TRUE(pForgets->OnClose());
  std::string ini = kytest::readFile(ini_);
  EXPECT_NE(ini.find("[" + pKeeps->GetFunctionData()->GetImplementationName() + ":Window Placement]"),
            std::string::npos)
      << ini;
  EXPECT_NE(ini.find("Left=30"), std::string::npos) << ini;
  EXPECT_EQ(ini.find(pForgets->GetFunctionData()->GetImplementationName()), std::string::npos) << ini;
}

TEST_F(PanelClose, CloseAllStopsAtTheFirstRefusalAndUndoesEveryReturn) {
  EXPECT_EQ(app_->CloseAllPanels(), 1);  // nothing open
  TestPanel* pFirst = openPanel("FIRST");
  TestPanel* pSecond = openPanel("SECOND", false);
  TestPanel* pThird = openPanel("THIRD");

  EXPECT_EQ(app_->CloseAllPanels(), 0);
  EXPECT_EQ(pFirst->ran.size(), 1u);
  EXPECT_TRUE(pThird->ran.empty());  // never asked
  for (TestPanel* pPanel : {pFirst, pSecond, pThird}) {
    EXPECT_FALSE(pPanel->IsReturning());
    EXPECT_FALSE(pPanel->GetFunctionData()->IsReturned());
  }

  app_->RemovePanel(pSecond);
  EXPECT_EQ(app_->CloseAllPanels(), 1);
  EXPECT_TRUE(pFirst->IsReturning());
  EXPECT_TRUE(pThird->IsReturning());
}

TEST_F(PanelClose, FindPanelBySpecialNamesAndFunctionNames) {
  TestPanel* pMain = openPanel("MAINFN");
  TestPanel* pOther = openPanel("OTHERFN");
  // Only a function with a panel resource library keeps its panel.
  KyFunctionData* pCurrentFunction = function("CURRENTFN", "TESTFN");
  panels_.push_back(std::make_unique<TestPanel>(pCurrentFunction));
  TestPanel* pCurrent = panels_.back().get();
  pCurrentFunction->SetPanel(pCurrent);
  ASSERT_EQ(pCurrentFunction->GetPanel(), pCurrent);
  CWnd mainWnd;
  mainWnd.Attach(pMain->hHandle());
  app_->m_pMainWnd = &mainWnd;
  app_->SetActivePanel(pOther);
  KyAppContext::Current()->m_pCurrentFunction = pCurrentFunction;

  EXPECT_EQ(app_->FindPanel("*main"), pMain);
  EXPECT_EQ(app_->FindPanel("*ACTIVE"), pOther);
  EXPECT_EQ(app_->FindPanel("*Current"), pCurrent);
  std::string lower(static_cast<const char*>(pMain->GetFunctionData()->GetFunctionName()));
  for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(app_->FindPanel(lower.c_str()), pMain);
  EXPECT_EQ(app_->FindPanel("NOSUCHFN"), nullptr);
  EXPECT_EQ(app_->FindPanel(nullptr), nullptr);

  KyAppContext::Current()->m_pCurrentFunction = nullptr;
  app_->m_pMainWnd = nullptr;
  mainWnd.Detach();
}

TEST_F(PanelClose, OpenPanelsAreReachableFromOtherProgramsUntilRemoved) {
  TestPanel* pPanel = openPanel("REACHABLE");
  std::string name = nameOf(pPanel);
  EXPECT_TRUE(ZEATriggerLogicalEvent(name.c_str(), "Refresh"));
  EXPECT_EQ(received, std::vector<std::string>{"Refresh"});

  app_->RemovePanel(pPanel);
  EXPECT_FALSE(app_->m_OpenPanels.Find(pPanel));
  EXPECT_FALSE(ZEATriggerLogicalEvent(name.c_str(), "Refresh"));
  EXPECT_EQ(received.size(), 1u);
}

TEST_F(PanelClose, APanelThatNeverOpenedOrAlreadyLeftKeepsOthersReachable) {
  TestPanel* pOpen = openPanel("SHARED");
  const std::string name = nameOf(pOpen);
  // Another panel of the same function that never joined the list goes
  // (its destructor removes it); then the open one leaves twice.
  { TestPanel never(function("SHARED")); }
  EXPECT_TRUE(ZEATriggerLogicalEvent(name.c_str(), "Refresh"));

  TestPanel* pOther = openPanel("OTHER");
  const std::string otherName = nameOf(pOther);
  app_->RemovePanel(pOther);
  TestPanel* pOtherAgain = openPanel("OTHER");
  app_->RemovePanel(pOther);
  EXPECT_TRUE(app_->m_OpenPanels.Find(pOtherAgain));
  EXPECT_TRUE(ZEATriggerLogicalEvent(otherName.c_str(), "Refresh"));
  EXPECT_EQ(received, (std::vector<std::string>{"Refresh", "Refresh"}));
}

TEST_F(PanelClose, AGoneParentIsForgottenAndTheActiveRolePassesToTheParent) {
  TestPanel* pParent = openPanel("PARENT");
  TestPanel* pChild = openPanel("CHILD");
  TestPanel* pGrandChild = openPanel("GRANDCHILD");
  pChild->SetParent(pParent);
  pGrandChild->SetParent(pChild);

  app_->SetActivePanel(pChild);
  std::string childName = nameOf(pChild);
  panels_[1].reset();  // the child panel goes away
  EXPECT_EQ(pGrandChild->GetParentPanel(), nullptr);
  EXPECT_EQ(app_->m_pActivePanel, pParent);
  EXPECT_EQ(app_->m_OpenPanels.GetCount(), 2);
  EXPECT_FALSE(ZEATriggerLogicalEvent(childName.c_str(), "Refresh"));
}

TEST_F(PanelClose, ReturningClosesTheWindowAndHandsTheFocusBack) {
  TestPanel* pParent = openPanel("PARENT");
  HWND hEdit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 50, 20, pParent->hHandle(),
                               nullptr, nullptr, nullptr);
  TestPanel* pChild = openPanel("CHILD");
  pChild->SetParent(pParent);
  SetFocus(pChild->hHandle());

  pChild->PanelReturn();
  EXPECT_TRUE(pChild->IsReturning());
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, pChild->hHandle(), WM_CLOSE, WM_CLOSE, PM_REMOVE));
  EXPECT_EQ(GetFocus(), hEdit);  // the parent's first tab stop

  // Without a window nothing is posted; the focus still goes back.
  TestPanel* pWindowless = openPanel("WINDOWLESS");
  pWindowless->DropWindow();
  pWindowless->SetParent(pParent);
  SetFocus(nullptr);
  pParent->SetFocusWindow(hEdit);
  SetFocus(pParent->hHandle());
  pWindowless->PanelReturn();
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
  EXPECT_EQ(GetFocus(), hEdit);
  EXPECT_EQ(app_->m_pActivePanel, pParent);
}

TEST_F(PanelClose, TheFunctionKeepsAPanelWithAWindowAndItsReturnEndsThePanel) {
  KyFunctionData* pFunction = function("NOWINDOW", "TESTFN");
  auto* pPanel = new TestPanel(pFunction);
  pPanel->DropWindow();
  pFunction->SetPanel(pPanel);  // deletes it (ASan would see a leak or a double delete)
  EXPECT_EQ(pFunction->GetPanel(), nullptr);

  panels_.push_back(std::make_unique<TestPanel>(pFunction));
  TestPanel* pKept = panels_.back().get();
  pFunction->SetPanel(pKept);
  ASSERT_EQ(pFunction->GetPanel(), pKept);
  pFunction->Return();
  EXPECT_TRUE(pFunction->IsReturned());
  EXPECT_TRUE(pKept->IsReturning());
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, pKept->hHandle(), WM_CLOSE, WM_CLOSE, PM_REMOVE));
}

TEST_F(PanelClose, EventsRunOneAtATimeAndNotWhileTheThreadIsBusy) {
  TestPanel* pPanel = openPanel("EVENTS");
  pPanel->AddEvent(new KyLogEvent(7, 1, 201, "Button", "Click", 0));
  pPanel->AddEvent(new KyLogEvent(7, 1, 202, "Button", "Second", 0));  // same source and code: never fires
  pPanel->AddEvent(new KyLogEvent(8, 1, 203, "Other", "Other", 0));
  std::vector<int> currentDuring;
  pPanel->onEvent = [&] {
    currentDuring.push_back(pPanel->GetFunctionData()->GetCurrentLogicalEvent());
    if (pPanel->ran.size() == 1) {
      // Raised during the event: it waits, and runs after it.
      EXPECT_EQ(pPanel->TriggerEvent(8, 1), 1);
      EXPECT_EQ(pPanel->ran, std::vector<int>{201});
    }
  };
  EXPECT_EQ(pPanel->TriggerEvent(7, 1), 1);
  EXPECT_EQ(pPanel->ran, (std::vector<int>{201, 203}));
  EXPECT_EQ(currentDuring, (std::vector<int>{201, 203}));
  EXPECT_EQ(pPanel->GetFunctionData()->GetCurrentLogicalEvent(), 0);
  EXPECT_EQ(WaitForSingleObject(pPanel->GetFunctionData()->GetEvent(), 0), WAIT_OBJECT_0);  // idle again

  pPanel->onEvent = nullptr;
  EXPECT_EQ(pPanel->TriggerEvent(9, 1), 0);  // no entry
  app_->DisableMainWnd();                     // the thread is busy: dropped
  pPanel->ProcessEvent(201);
  app_->EnableMainWnd();
  EnableWindow(pPanel->hHandle(), FALSE);  // a disabled panel takes no events
  EXPECT_EQ(pPanel->TriggerEvent(7, 1), 0);
  EXPECT_EQ(pPanel->ran.size(), 2u);
}

TEST_F(PanelClose, AnEventWaitsUntilAnotherThreadFreesTheFunction) {
  TestPanel* pPanel = openPanel("WAITS");
  KyFunctionData* pFunction = pPanel->GetFunctionData();
  HANDLE hHeld = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<bool> released{false};
  // Another thread runs an event of the function for a while.
  std::thread holder([&] {
    ASSERT_TRUE(pFunction->AcquireIdle());
    SetEvent(hHeld);
    Sleep(150);
    released = true;
    pFunction->ReleaseIdle();
  });
  WaitForSingleObject(hHeld, INFINITE);
  // Messages keep being served while the event waits.
  constexpr UINT kQueued = WM_USER + 7;
  PostMessageA(pPanel->hHandle(), kQueued, 0, 0);
  bool releasedWhenRun = false;
  pPanel->onEvent = [&] { releasedWhenRun = released; };
  pPanel->ProcessEvent(300);
  holder.join();
  CloseHandle(hHeld);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, kQueued, kQueued, PM_NOREMOVE));  // served while it waited
  EXPECT_EQ(pPanel->ran.back(), 300);
  EXPECT_TRUE(releasedWhenRun) << "the event ran only once the other thread's event had ended";
  EXPECT_EQ(WaitForSingleObject(pFunction->GetEvent(), 0), WAIT_OBJECT_0);

  // With the idle wait off the event runs at once and leaves the flag alone.
  ASSERT_TRUE(pFunction->AcquireIdle());
  pFunction->SetIdleWaitOff(1);
  pPanel->onEvent = nullptr;
  pPanel->ProcessEvent(301);
  EXPECT_EQ(pPanel->ran.back(), 301);
  EXPECT_EQ(WaitForSingleObject(pFunction->GetEvent(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  pFunction->ReleaseIdle();
}

}  // namespace
