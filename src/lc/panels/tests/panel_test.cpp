// Panels opened in each window kind, scaled, with their state applied, their
// controls stacked and tabbed in one order, shown, looked at and ended; the
// kinds that cannot be made show their box and give no frame.
#include <afxres.h>
#include <afxframe.h>
#include <gtest/gtest.h>

#include <internal/snapshot.h>
#include <internal/userscript.h>

#include <memory>
#include <string>
#include <vector>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyAppServices.h"
#include "KyCtrl.h"
#include "KyFunctionData.h"
#include "KyPanel.h"
#include "KyWinClientApp.h"
#include "KyZOrderMngr.h"
#include "panelharness.h"

namespace {

constexpr DWORD kDesignUnits = 0x100008;  // 8 x 16
constexpr DWORD kGeneratedStyle = 0x00CF0000;
constexpr int kPanelState = 12288;

class TestPanel : public KyPanel {
 public:
  TestPanel(KyFunctionData* pFunction, KyPanel* pParent) : KyPanel(pFunction) {
    if (pParent) m_pParentPanel = pParent;
  }
  void PanelHandler(int iLogicalId) override { ran.push_back(iLogicalId); }
  std::vector<int> ran;
};

// The texts of the message boxes shown since the log had `from` entries.
std::vector<std::string> boxTexts(size_t from = 0) {
  std::vector<std::string> texts;
  const auto log = win32::script::messageBoxLog();
  for (size_t i = from; i < log.size(); ++i) texts.push_back(log[i].text);
  return texts;
}

class Panels : public ::testing::Test {
 protected:
  void SetUp() override { start(""); }
  void start(const std::string& windowOptions) {
    std::string ini = "[International Settings]\nPNL directory path=" KY_BIN_DIR "\n";
    if (!windowOptions.empty()) ini += "[Window Options]\n" + windowOptions + "\n";
    kytest::writeFile(ini_, ini);
    app_ = std::make_unique<kytest::TestClientApp>("Panels", ini_);
    app_->CreateContext();
    language_ = std::make_unique<kytest::LanguageLibrary>();
    win32::script::clearMessageBoxAnswers();
  }
  void TearDown() override { stop(); }
  void stop() {
    panels_.clear();
    functions_.clear();
    language_.reset();
    if (app_) app_->EndContext();
    app_.reset();
  }
  TestPanel* panel(KyPanel* pParent = nullptr) {
    std::string name = "FN" + std::to_string(functions_.size()) + "_" + std::to_string(GetCurrentProcessId());
    functions_.push_back(std::make_unique<KyFunctionData>(nullptr, "KYPNLTST", name.c_str(), name.c_str(), 721, 0));
    panels_.push_back(std::make_unique<TestPanel>(functions_.back().get(), pParent));
    return panels_.back().get();
  }
  static void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }

  kytest::ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  std::unique_ptr<kytest::TestClientApp> app_;
  std::unique_ptr<kytest::LanguageLibrary> language_;
  std::vector<std::unique_ptr<KyFunctionData>> functions_;  // panels go first
  std::vector<std::unique_ptr<TestPanel>> panels_;
};

TEST_F(Panels, OpensEachKindThatCanBeMade) {
  const size_t boxesBefore = win32::script::messageBoxLog().size();
  // An MDI child without an MDI frame is a top window.
  TestPanel* demoted = panel();
  ASSERT_TRUE(demoted->Init(KyMDIChild, kGeneratedStyle, 65, kDesignUnits, 1, 0));
  EXPECT_EQ(demoted->GetKind(), KyTopWindow);
  EXPECT_TRUE(demoted->IsDemotedFromMDIChild());
  EXPECT_TRUE(dynamic_cast<CFrameWnd*>(demoted->GetFrame()));
  EXPECT_TRUE(GetWindowLongA(demoted->hHandle(), GWL_STYLE) & WS_BORDER);
  EXPECT_EQ(GetParent(demoted->ViewHandle()), demoted->hHandle());
  EXPECT_EQ(GetDlgCtrlID(demoted->ViewHandle()), 59648);

  TestPanel* frame = panel();
  ASSERT_TRUE(frame->Init(KyMDIFrame, kGeneratedStyle, 65, kDesignUnits, 1, 0));
  EXPECT_EQ(KyGetMDIFrame(), frame->GetFrame()) << "the MDI frame panel is the main window";

  TestPanel* child = panel(frame);
  ASSERT_TRUE(child->Init(KyMDIChild, kGeneratedStyle, 65, kDesignUnits, 1, 0));
  EXPECT_EQ(child->GetKind(), KyMDIChild);
  EXPECT_EQ(GetParent(child->hHandle()), KyGetMDIClient()->m_hWnd);

  for (DWORD style : {DWORD(0), DWORD(WS_THICKFRAME)}) {
    TestPanel* dialog = panel(frame);
    ASSERT_TRUE(dialog->Init(KyDialogUnderParent, style, 65, kDesignUnits, 1, 0));
    EXPECT_EQ(dialog->ViewHandle(), dialog->hHandle()) << "a dialog holds its controls itself";
    EXPECT_EQ((GetWindowLongA(dialog->hHandle(), GWL_STYLE) & WS_THICKFRAME) != 0, style != 0)
        << "template 111 for a sizing frame, 103 otherwise";
  }
  for (TestPanel* p : {demoted, frame, child}) {
    EXPECT_EQ(KyPanel::FindPanelByHandle(&app_->m_OpenPanels, p->hHandle()), p);
  }
  EXPECT_TRUE(boxTexts(boxesBefore).empty());
}

TEST_F(Panels, KindsThatCannotBeMadeShowTheirBox) {
  TestPanel* parent = panel();
  ASSERT_TRUE(parent->Init(KyTopWindow, kGeneratedStyle, 65, kDesignUnits, 1, 0));
  TestPanel* frame = panel();
  ASSERT_TRUE(frame->Init(KyMDIFrame, kGeneratedStyle, 65, kDesignUnits, 1, 0));
  struct Case {
    int kind;
    bool withParent;
    std::vector<UINT> boxes;
  } cases[] = {
      {KyDialogUnderParent, false, {59182}},
      {KySplitterPane, false, {59181}},
      {KySiteChild, false, {59149}},
      {KySiteChild, true, {59149}},  // the parent has no site
      {KyMDIFrame, false, {57382, 57383}},
      {KySecondMDIFrame, false, {57383}},
  };
  for (const Case& c : cases) {
    const size_t shown = win32::script::messageBoxLog().size();
    TestPanel* p = panel(c.withParent ? parent : nullptr);
    EXPECT_EQ(p->Init(c.kind, kGeneratedStyle, 65, kDesignUnits, 1, 0), 0) << c.kind;
    EXPECT_EQ(p->hHandle(), nullptr);
    std::vector<std::string> expected;
    for (UINT id : c.boxes) expected.push_back(KyGetMessageText(id));
    EXPECT_EQ(boxTexts(shown), expected) << c.kind;
  }
}

TEST_F(Panels, ScalingOptionChoosesTheScaleBase) {
  const LONG system = GetDialogBaseUnits();
  // Design units other than the system's, so that scaling shows.
  const DWORD design = LOWORD(system) == 8 ? 0x100006 : kDesignUnits;
  const int scaled = MulDiv(100, LOWORD(system), LOWORD(design));
  struct Case {
    const char* line;  // the INI line; null: no key (the default "None")
    int expectedX;
  } cases[] = {
      {"Scaling=Normal", 100}, {"Scaling=nORMAL", 100}, {"Scaling=", 100},  // the design units
      {"Scaling=None", scaled}, {"Scaling=NONE", scaled}, {nullptr, scaled},
      {"Scaling=Sideways", 100},  // an unknown value keeps the design
  };
  for (const Case& c : cases) {
    stop();
    start(c.line ? c.line : "");
    TestPanel* p = panel();
    ASSERT_TRUE(p->Init(KyTopWindow, kGeneratedStyle, 65, design, 1, 0));
    EXPECT_EQ(p->ScaleX(100), c.expectedX) << (c.line ? c.line : "(no key)");
  }
}

TEST_F(Panels, StateLaysOutTheFrame) {
  TestPanel* p = panel();
  ASSERT_TRUE(p->Init(KyTopWindow, kGeneratedStyle, 65, kDesignUnits, PlacementAtPosition, 0));
  p->SetState(kPanelState);
  char title[64] = {};
  GetWindowTextA(p->hHandle(), title, sizeof title);
  EXPECT_STREQ(title, "Orders");
  RECT rc{};
  GetWindowRect(p->hHandle(), &rc);
  EXPECT_EQ(rc.left, 40);
  EXPECT_EQ(rc.top, 30);
  EXPECT_EQ(rc.right - rc.left, p->ScaleX(320));
  EXPECT_EQ(rc.bottom - rc.top, p->ScaleY(200));
  EXPECT_EQ(p->GetPanelColor(), 0x00C0E0FFu);

  TestPanel* centred = panel();
  ASSERT_TRUE(centred->Init(KyTopWindow, kGeneratedStyle, 65, kDesignUnits, PlacementCentred, 0));
  centred->SetState(kPanelState);
  RECT area{}, frame{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(centred->hHandle(), &frame);
  EXPECT_LE(std::abs((frame.left + frame.right) - (area.left + area.right)), 1);
}

// Controls stack (and tab) in the order of their tab positions, not of their
// records; the first of them gets the focus when the panel is shown.
TEST_F(Panels, ShowsControlsInTabOrderAndEnds) {
  TestPanel* p = panel();
  ASSERT_TRUE(p->Init(KyTopWindow, kGeneratedStyle, 65, kDesignUnits, PlacementAtPosition, 0));
  p->SetState(kPanelState);
  const struct {
    int id;
    int tab;
    int y;
  } controls[] = {{1, 30, 8}, {2, 10, 40}, {3, 20, 72}};
  for (const auto& c : controls) {
    auto* pControl = new KyCtrl(p, "Stat", kytest::controlRecord(c.id, 2, 8, c.y, 120, 24, 20010, 0), 1);
    p->AddControl(pControl);
    ASSERT_NE(pControl->GetWindowHandle(), nullptr);
    p->SetTabSequence(pControl->GetWindowHandle(), c.tab);
  }
  p->AddEvent(new KyLogEvent(-1, 29, 500, "", "Shown", 0));
  p->AddEvent(new KyLogEvent(-1, 7, 501, "", "Refresh", 0));
  p->StartPanel();
  EXPECT_TRUE(IsWindowVisible(p->hHandle()));
  std::vector<int> order;
  for (HWND h = GetWindow(p->ViewHandle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) order.push_back(GetDlgCtrlID(h));
  EXPECT_EQ(order, (std::vector<int>{2, 3, 1}));
  EXPECT_EQ(p->FirstTabWindow(), p->pGetCtrl(2)->GetWindowHandle());
  EXPECT_EQ(p->ran, std::vector<int>{500}) << "the after-showing event";
  EXPECT_EQ(p->DoEvent("refresh"), 1);
  EXPECT_EQ(p->DoEvent("NoSuchEvent"), 0);
  EXPECT_EQ(p->ran, (std::vector<int>{500, 501}));

  // Looked at: the view shows the state's colour around the controls.
  const std::string png = (dir_.path() / "panel.png").string();
  ASSERT_TRUE(win32::snapshot::saveWindowPng(p->hHandle(), png.c_str()));
  POINT inView{300, 150};
  MapWindowPoints(p->ViewHandle(), nullptr, &inView, 1);
  RECT frame{};
  GetWindowRect(p->hHandle(), &frame);
  EXPECT_EQ(win32::snapshot::windowPixel(p->hHandle(), inView.x - frame.left, inView.y - frame.top), 0x00C0E0FFu);

  p->PanelReturn();
  pump();
  EXPECT_EQ(p->hHandle(), nullptr) << "the frame closed and told its panel";
}

// A control that records what it is asked to keep.
class SettingsControl : public KyCtrl {
 public:
  using KyCtrl::KyCtrl;
  void RestoreSettings(const char* pszSection, const char* pszKey) override {
    asked.push_back(std::string("restore ") + pszSection + " " + pszKey);
  }
  void SaveSettings(const char* pszSection, const char* pszKey) override {
    asked.push_back(std::string("save ") + pszSection + " " + pszKey);
  }
  std::vector<std::string> asked;
};

// Without a placement of its own the panel still has its controls restore
// and save their settings (a grid its column map).
TEST_F(Panels, ControlsKeepTheirSettingsWithoutPlacement) {
  TestPanel* p = panel();
  ASSERT_TRUE(p->Init(KyTopWindow, kGeneratedStyle, 65, kDesignUnits, 1, 0));
  auto* pControl = new SettingsControl(p, "Stat", kytest::controlRecord(1, 2, 8, 8, 100, 20, 20010, 0), 1);
  p->AddControl(pControl);
  p->StartPanel();
  p->PanelReturn();
  pump();
  const std::string key = p->GetFunctionData()->GetImplementationName().GetString();
  EXPECT_EQ(pControl->asked, (std::vector<std::string>{"restore Window Placement " + key,
                                                        "save Window Placement " + key}));
}

// A panel that keeps its placement shows as made while none is stored, and
// at the stored place once there is one.
TEST_F(Panels, KeptPlacementShowsTheFirstTimeToo) {
  for (int run = 0; run < 2; ++run) {
    TestPanel* p = panel();
    ASSERT_TRUE(p->Init(KyTopWindow, kGeneratedStyle | WS_THICKFRAME, 65, kDesignUnits, 1, 1));
    p->GetFunctionData();
    p->StartPanel();
    EXPECT_TRUE(IsWindowVisible(p->hHandle())) << "run " << run;
    if (run == 0) {
      MoveWindow(p->hHandle(), 77, 66, 300, 200, FALSE);
      p->PanelReturn();
      pump();
    }
  }
}

TEST_F(Panels, DialogRunsItsOwnLoopUntilItEnds) {
  TestPanel* parent = panel();
  ASSERT_TRUE(parent->Init(KyTopWindow, kGeneratedStyle, 65, kDesignUnits, 1, 0));
  TestPanel* dialog = panel(parent);
  ASSERT_TRUE(dialog->Init(KyDialog, 0, 65, kDesignUnits, 1, 0));
  // A quit request while the dialog runs ends its loop and the dialog, and
  // stays for the loop outside.
  PostQuitMessage(3);
  dialog->StartPanel();
  EXPECT_EQ(dialog->hHandle(), nullptr);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_TRUE(IsWindowEnabled(parent->hHandle()));
}

TEST_F(Panels, FindsControlsByName) {
  TestPanel* p = panel();
  ASSERT_TRUE(p->Init(KyTopWindow, kGeneratedStyle, 65, kDesignUnits, 1, 0));
  auto* customer = new KyCtrl(p, "Stat", kytest::controlRecord(1, 2, 0, 0, 50, 20, 20010, 20001), 1);  // "FLDCustomer"
  auto* amount = new KyCtrl(p, "Stat", kytest::controlRecord(2, 2, 0, 30, 50, 20, 20010, 20002), 1);   // "Amount"
  p->AddControl(customer);
  p->AddControl(amount);
  p->SetEventSource(amount);
  struct Case {
    const char* name;
    KyCtrl* expected;
  } cases[] = {
      {"fldcustomer", customer}, {"AMOUNT", amount}, {"Customer", customer},  // "FLD" + name
      {"12Amo-unt", amount},  // leading digits and other characters dropped
      {"*Event Source", amount}, {"Nothing", nullptr},
  };
  for (const Case& c : cases) EXPECT_EQ(p->FindControlByName(c.name), c.expected) << c.name;
  amount->SetFocus();
  EXPECT_EQ(p->FindControlByName("*focus"), amount);
}

}  // namespace
