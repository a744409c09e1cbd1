// The static API of generated code against what it forwards to: the
// thread's current function and panel, controls and panels by name, list,
// limit and grid messages, options, drag and drop state, function names and
// locations, temporary and report files.
#include <afxfile.h>
#include <gtest/gtest.h>
#include <internal/userscript.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../../controls/tests/controlfixture.h"
#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyCharFld.h"
#include "KyLogEvent.h"
#include "KyRunOptions.h"
#include "KyStaticAPI.h"
#include "editcontrol.h"
#include "grid.h"
#include "listcontrol.h"
#include "ravlets.h"

namespace {

using kytest::controlRecord;

constexpr int16_t kAmountName = 20002, kNotesName = 20003;

// A control of the panel whose window is a grid of the control library, as
// the grid control class will make it.
class GridControl : public KyCtrl {
 public:
  GridControl(KyPanel* pPanel, const char* pszKind, const KyCreateCtrl& record, int)
      : KyCtrl(pPanel, pszKind, record, 0) {
    m_hWnd = CreateWindowExA(0, "KYWA721Grid", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, pPanel->ViewHandle(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(record.id)), nullptr, nullptr);
  }
  ~GridControl() override { DestroyWindow(m_hWnd); }
};

class StaticAPI : public kytest::PanelFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RavletsInit("KYWA721"));
    open("[NativeControls]\nListBox=0\nSingleLineEdit=0\n");
    function_->SetPanel(panel_.get());
    KyUserAPI::PrepareAPICall(function_.get());
  }
  KyCtrl* named(const char* pszKindName, int iKind, int id, int16_t textId, int16_t nameId) {
    KyCreateCtrl r = controlRecord(id, iKind, textId);
    r.nameId = nameId;
    return control(pszKindName, r);
  }
};

TEST_F(StaticAPI, TheThreadsCurrentFunctionAndPanel) {
  EXPECT_EQ(KyUserAPI::pGetCurrentFncData(), function_.get());
  EXPECT_EQ(KyUserAPI::pGetCurrentPanel(), panel_.get());
  EXPECT_EQ(KyPanelAPI::GetHandleFromPanel(nullptr), panel_->hHandle());
  EXPECT_EQ(KyPanelAPI::GetPanelFromHandle(panel_->hHandle()), panel_.get());
  EXPECT_EQ(KyPanelAPI::GetPanelByName("*Current"), panel_.get());
  EXPECT_EQ(KyPanelAPI::GetPanelHandleByName("orders"), panel_->hHandle()) << "the function name, any case";
  EXPECT_EQ(KyPanelAPI::GetPanelCWndByName("ORDERS")->m_hWnd, panel_->hHandle());
  EXPECT_EQ(KyPanelAPI::GetPanelByName("*Main"), nullptr) << "no main panel";
  EXPECT_EQ(KyPanelAPI::GetPanelHandleByName("Nothing"), nullptr);
  EXPECT_EQ(KyFunctionAPI::GetPanelFromFunctionData(function_.get()), panel_.get());
  EXPECT_EQ(KyFunctionAPI::GetFunctionDataFromPanel(panel_.get()), function_.get());
  EXPECT_EQ(KyFunctionAPI::GetPanelFromFunctionData(nullptr), nullptr);
  EXPECT_EQ(KyFunctionAPI::GetFunctionDataFromPanel(nullptr), nullptr);
  KyUserAPI::PrepareAPICall(nullptr);
  EXPECT_EQ(KyUserAPI::pGetCurrentPanel(), nullptr);
  EXPECT_EQ(KyPanelAPI::GetControlByName("Amount"), nullptr);
}

TEST_F(StaticAPI, ControlsByName) {
  KyCtrl* amount = named("Edit", KindEdit, 1, kytest::kDoubleDescriptor, kAmountName);
  KyCtrl* notes = named("List", KindListBox, 3, kytest::kTextDescriptor, kNotesName);
  EXPECT_EQ(KyPanelAPI::GetControlByName("Amount"), amount);
  EXPECT_EQ(KyPanelAPI::GetControlHandleByName("Notes"), notes->GetWindowHandle());
  EXPECT_EQ(KyPanelAPI::GetControlCWndByName("Amount")->m_hWnd, amount->GetWindowHandle());
  EXPECT_EQ(KyPanelAPI::GetControlByName("Missing"), nullptr);
  EXPECT_EQ(KyPanelAPI::GetControlCWndByName("Missing"), nullptr);

  EXPECT_EQ(KyPanelAPI::SetFocusByName("Amount"), 1);
  EXPECT_EQ(GetFocus(), amount->GetWindowHandle());
  EXPECT_EQ(KyPanelAPI::SetFocusByName("Missing"), 0);

  for (const char* item : {"one", "two", "three"}) KyPanelAPI::AddItemToListControl("Notes", item);
  HWND list = notes->GetWindowHandle();
  ASSERT_EQ(SendMessageA(list, KYM_LISTGETCOUNT, 0, 0), 3);
  char text[256] = {};
  SendMessageA(list, KYM_LISTGETTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "two");
  KyPanelAPI::ClearListControl("Notes");
  EXPECT_EQ(SendMessageA(list, KYM_LISTGETCOUNT, 0, 0), 0);
  EXPECT_EQ(KyPanelAPI::AddItemToListControl("Missing", "x"), 0);

  KyPanelAPI::TrapControlEvent(WM_LBUTTONDBLCLK, "Amount", "Zoom");
  EXPECT_STREQ(amount->GetTrappedEvent(WM_LBUTTONDBLCLK), "Zoom");
}

// Limits and increments go over in the control's own storage: a double
// control keeps fractions, a 64-bit integer control truncates them.
TEST_F(StaticAPI, LimitsInTheControlsOwnStorage) {
  named("Edit", KindEdit, 1, kytest::kDoubleDescriptor, kAmountName);
  named("Edit", KindEdit, 2, kytest::kLongLongDescriptor, kNotesName);
  struct Case {
    const char* control;
    double set, expected;
  } cases[] = {{"Amount", 99.5, 99.5}, {"Amount", -12.25, -12.25}, {"Notes", 1e12, 1e12}, {"Notes", 12.7, 12}};
  for (const Case& c : cases) {
    KyControlAPI::SetMax(c.control, c.set);
    KyControlAPI::SetMin(c.control, -c.set);
    EXPECT_DOUBLE_EQ(KyControlAPI::GetMax(c.control), c.expected) << c.control << " " << c.set;
    EXPECT_DOUBLE_EQ(KyControlAPI::GetMin(c.control), -c.expected) << c.control << " " << c.set;
  }
  KyControlAPI::SetMax("Missing", 5);
  EXPECT_EQ(KyControlAPI::GetMax("Missing"), 0.0);
  EXPECT_EQ(KyControlAPI::GetInc("Amount"), 0.0) << "an edit has no increment";
}

TEST_F(StaticAPI, IncrementOfASpin) {
  KyCreateCtrl r = controlRecord(4, KindSpin, kytest::kDoubleDescriptor);
  r.nameId = kAmountName;
  open("[NativeControls]\nSpinButton=0\n");
  function_->SetPanel(panel_.get());
  KyUserAPI::PrepareAPICall(function_.get());
  control("Spin", r);
  KyControlAPI::SetInc("Amount", 0.25);
  EXPECT_DOUBLE_EQ(KyControlAPI::GetInc("Amount"), 0.25);
}

class GridSort : public StaticAPI {
 protected:
  void SetUp() override {
    StaticAPI::SetUp();
    KyCreateCtrl r = controlRecord(5, 2, kytest::kTextDescriptor);
    r.nameId = kNotesName;
    grid_ = control<GridControl>("Stat", r)->GetWindowHandle();
    for (const char* title : {"Name", "Rank"}) {
      HGField* field = HGFieldCreate(title, 0, 80, 100, 's', 's', 's', 's', 8, 'e', 0, "");
      ASSERT_GE(SendMessageA(grid_, KYM_GRIDADDFIELD, 0, reinterpret_cast<LPARAM>(field)), 0);
    }
  }
  // The rows every case starts from.
  void fill() {
    SendMessageA(grid_, KYM_GRIDCLEAR, 0, 0);
    const char* rows[][2] = {{"b", "2"}, {"a", "3"}, {"c", "1"}, {"a", "1"}};
    for (const auto& row : rows) {
      const int r = static_cast<int>(SendMessageA(grid_, KYM_GRIDAPPENDROW, 0, 0)) - 1;
      for (int c = 0; c < 2; ++c) HGSetCellText(grid_, c, r, row[c]);
    }
  }
  std::string column(int c) {
    std::string all;
    for (int r = 0; r < SendMessageA(grid_, KYM_GRIDROWCOUNT, 0, 0); ++r) {
      char text[32] = {};
      HGGetCellText(grid_, c, r, text, sizeof text);
      all += text;
    }
    return all;
  }
  HWND grid_ = nullptr;
  KyCharFld name_{"Notes"};
};

// A descending flag of 1 sorts that key downward; the key list ends at the
// first -1.
TEST_F(GridSort, SortsByTheKeysGiven) {
  struct Case {
    int f1, d1, f2, d2, f3, d3;
    int result;
    std::string names, ranks;
  } cases[] = {
      {0, 0, -1, 0, -1, 0, 1, "aabc", "3121"},
      {0, 1, -1, 0, -1, 0, 1, "cbaa", "1231"},
      {0, 0, 1, 1, -1, 0, 1, "aabc", "3121"},
      {1, 0, 0, 1, -1, 0, 1, "caba", "1123"},
      {0, 1, -1, 0, 1, 0, 1, "cbaa", "1231"},  // the third key is not used after a -1
      {-1, 0, 1, 0, 1, 0, 0, "", ""},           // no key: nothing sorted
      {7, 0, -1, 0, -1, 0, 0, "", ""},          // a position without a column
  };
  for (const Case& c : cases) {
    fill();
    EXPECT_EQ(KyGridAPI::Sort(name_, 0, c.f1, c.d1, c.f2, c.d2, c.f3, c.d3), c.result) << c.f1 << c.d1;
    EXPECT_EQ(column(0), c.result ? c.names : "baca") << c.f1 << c.d1 << c.f2 << c.d2;
    EXPECT_EQ(column(1), c.result ? c.ranks : "2311") << c.f1 << c.d1 << c.f2 << c.d2;
  }
  KyCharFld missing("Missing");
  EXPECT_EQ(KyGridAPI::Sort(missing, 1, 0, 0, -1, 0, -1, 0), 0);
}

TEST_F(GridSort, AutoSortSendsOneForAnyPositiveFlag) {
  struct Case {
    int on, expected;
  } cases[] = {{5, 1}, {1, 1}, {0, 0}, {-2, -2}};
  for (const Case& c : cases) EXPECT_EQ(KyGridAPI::AutoSort(name_, c.on), c.expected) << c.on;
}

TEST_F(StaticAPI, OptionsThroughRunOptionsOrTheIniFile) {
  KyRunOptions* options = KyAppContext::Current()->GetRunOptions();
  KyAppAPI::SetOption("Mine", "Text", "written", 0);
  EXPECT_STREQ(KyAppAPI::GetOption("Mine", "Text", "dflt", 0), "written");
  const std::string before = options->pszGetOption(11);
  EXPECT_EQ(before, static_cast<const char*>(KyAppAPI::GetOption("Mine", "Nothing", "", 11)));
  KyAppAPI::SetOption("Settings", "Title", "My title", 11);
  EXPECT_STREQ(options->pszGetOption(11), "My title");
  EXPECT_STREQ(KyAppAPI::GetOption("Other", "Key", "dflt", 11), "My title");
  EXPECT_EQ(kytest::readFile(ini_).find("Title=My title") != std::string::npos, true);
  KyAppAPI::SetOption("Settings", "Title", "", 11);
  EXPECT_STREQ(KyAppAPI::GetOption("Other", "Key", "dflt", 11), "dflt") << "an empty option gives the default";

  KyAppAPI::SetOption("Mine", "Flag", 1, 0);
  EXPECT_EQ(KyAppAPI::GetOption("Mine", "Flag", 0, 0), 1);
  EXPECT_EQ(KyAppAPI::GetOption("Mine", "Absent", 1, 0), 1);
  KyAppAPI::SetOption("Settings", "Always Override", 1, 9);
  EXPECT_EQ(KyAppAPI::GetOption("x", "y", 0, 9), 1);
  KyAppAPI::SetOption("Settings", "Always Override", 0, 9);
  EXPECT_EQ(KyAppAPI::GetOption("x", "y", 1, 9), 0);
}

TEST_F(StaticAPI, AutoCursorAnswersThePreviousFlag) {
  EXPECT_EQ(KyAppAPI::SetAutoCursor(1), 0);
  app_->BusyOn();
  EXPECT_EQ(KyAppAPI::SetAutoCursor(0), 1);
  EXPECT_FALSE(app_->m_fBusyCursorShown) << "switching it off ends the wait cursor";
  EXPECT_EQ(KyAppAPI::SetAutoCursor(0), 0);
}

TEST_F(StaticAPI, MessageLogWindowIsMadeOnce) {
  KyAppAPI::ShowLogMessageWindow(SW_SHOW);
  ASSERT_NE(app_->m_pMsgWin, nullptr);
  CWnd* first = reinterpret_cast<CWnd*>(app_->m_pMsgWin);
  EXPECT_TRUE(IsWindowVisible(first->m_hWnd));
  KyAppAPI::ShowLogMessageWindow(SW_HIDE);
  EXPECT_EQ(reinterpret_cast<CWnd*>(app_->m_pMsgWin), first);
  EXPECT_FALSE(IsWindowVisible(first->m_hWnd));
}

TEST_F(StaticAPI, HelpCommands) {
  app_->ClearHelpRequests();
  KyHelpAPI::HelpOnHelp();
  KyHelpAPI::Index();
  KyHelpAPI::Search();
  std::vector<UINT> commands;
  for (const auto& request : app_->GetHelpRequests()) {
    EXPECT_EQ(request.dwData, 0u);
    commands.push_back(request.nCmd);
  }
  EXPECT_EQ(commands, (std::vector<UINT>{4, 11, 257}));
}

TEST_F(StaticAPI, DragAndDropState) {
  KyDragDropAPI::AcceptDrag();
  KyDragDropAPI::AcceptDrop();
  EXPECT_TRUE(app_->m_fAcceptDrag && app_->m_fAcceptDrop);
  KyDragDropAPI::RejectDrag();
  KyDragDropAPI::RejectDrop();
  EXPECT_FALSE(app_->m_fAcceptDrag || app_->m_fAcceptDrop);
  // Copy, move and link effects.
  app_->m_dwArrivingDropEffect = 1;
  EXPECT_EQ(KyDragDropAPI::GetDropEffect(), 1ul);
  KyDragDropAPI::SetDragEffect(2);
  KyDragDropAPI::SetDropEffect(4);
  EXPECT_EQ(app_->m_dwDragEffect, 2u);
  EXPECT_EQ(app_->m_dwDropEffect, 4u);
  KyDragDropAPI::UseDefaultCursors(7);
  EXPECT_TRUE(app_->m_fUseDefaultCursors);
  app_->m_strDropDataIn = "incoming";
  CString in;
  KyDragDropAPI::GetIncomingData(in);
  EXPECT_STREQ(in, "incoming");
  KyDragDropAPI::SetOutgoingData("outgoing");
  EXPECT_STREQ(app_->m_strDragDataOut, "outgoing");
}

TEST_F(StaticAPI, FunctionNamesAndLocations) {
  CString text;
  KyFunctionAPI::GetImplName(text, nullptr);
  EXPECT_STREQ(text, function_->GetImplementationName());
  KyFunctionAPI::GetModelName(text, function_.get());
  EXPECT_STREQ(text, function_->GetFunctionName());
  KyFunctionAPI::GetFileName(text, nullptr);
  EXPECT_STREQ(text, function_->GetPanelLibraryName());
  KyUserAPI::PrepareAPICall(nullptr);
  KyFunctionAPI::GetImplName(text, nullptr);
  EXPECT_STREQ(text, "");

  KyRTDI::AddFnc(function_.get(), 0, 1, "Design.One", "Model.CALLEE", 'E', 'W', "CALLEE", "", 'L', nullptr);
  KyRTDI::AddFnc(function_.get(), 1, 2, "Design.Two", "Other", 'E', 'W', "OTHER", "Start", 'L', nullptr);
  EXPECT_STREQ(KyFunctionAPI::GetFunctionLocation("callee", function_.get()), "");
  EXPECT_STREQ(KyFunctionAPI::GetFunctionLocation("OTHER", function_.get()), "Start");
  EXPECT_STREQ(KyFunctionAPI::GetFunctionLocation("Model", function_.get()), "") << "only the part after the dot";
  KyFunctionAPI::SetFunctionLocation("Callee", "Far", function_.get());
  EXPECT_STREQ(KyFunctionAPI::GetFunctionLocation("CALLEE", function_.get()), "Far");

  // SetLocation takes the call manager's table, read again when asked.
  KyCallMgr* callMgr = KyAppContext::Current()->GetCallMgr();
  kytest::writeFile(ini_, kytest::readFile(ini_) + "[Function Location]\nModel.CALLEE=Remote2\n");
  KyFunctionAPI::SetLocation(0, function_.get());
  EXPECT_STREQ(KyFunctionAPI::GetFunctionLocation("CALLEE", function_.get()), "Far") << "the table was not read again";
  KyFunctionAPI::SetLocation(1, function_.get());
  EXPECT_STREQ(KyFunctionAPI::GetFunctionLocation("CALLEE", function_.get()), "Remote2");
  EXPECT_STREQ(callMgr->GetLocationList()->GetLocation("Model.CALLEE"), "Remote2");
}

// Only a bare name in the temporary directory; a name that reaches
// elsewhere is refused with the file exception and deletes nothing.
TEST_F(StaticAPI, DeleteFileStaysInTheTemporaryDirectory) {
  char dir[MAX_PATH] = {};
  GetTempPathA(sizeof dir, dir);
  const std::filesystem::path temp(dir);
  const std::string name = "kyapi_" + std::to_string(GetCurrentProcessId()) + ".tmp";
  std::ofstream(temp / name) << "x";
  KyPanelAPI::DeleteFileA(name.c_str());
  EXPECT_FALSE(std::filesystem::exists(temp / name));

  const std::filesystem::path outside = dir_.path() / "keep.txt";
  std::ofstream(outside) << "keep";
  const std::string relative = "..\\" + outside.string();
  for (const std::string& bad : {relative, outside.string(), std::string(".."), std::string(""), std::string("a/b")}) {
    int cause = -1;
    try {
      KyPanelAPI::DeleteFileA(bad.c_str());
    } catch (CFileException* e) {
      cause = e->m_cause;
      e->Delete();
    }
    EXPECT_EQ(cause, CFileException::badPath) << bad;
  }
  EXPECT_TRUE(std::filesystem::exists(outside));
  int cause = -1;
  try {
    KyPanelAPI::DeleteFileA(name.c_str());  // gone already
  } catch (CFileException* e) {
    cause = e->m_cause;
    e->Delete();
  }
  EXPECT_EQ(cause, CFileException::fileNotFound);
}

TEST_F(StaticAPI, DeleteReportFilesDeletesOnlyOwnReports) {
  char dir[MAX_PATH] = {};
  GetTempPathA(sizeof dir, dir);
  const std::filesystem::path temp(dir);
  const std::string stem = "kyrep_" + std::to_string(GetCurrentProcessId());
  const std::filesystem::path own = temp / (stem + "_own.RTF"), foreign = temp / (stem + "_foreign.rtf");
  for (const auto& file : {own, foreign}) std::ofstream(file) << "{\\rtf1}";
  EXPECT_EQ(KyPanelAPI::DeleteReportFiles(), 0) << "nothing written by this application yet";
  KyAppContext::Current()->GetReportFiles().push_back(own.c_str());
  EXPECT_EQ(KyPanelAPI::DeleteReportFiles(), 1);
  EXPECT_FALSE(std::filesystem::exists(own));
  EXPECT_TRUE(std::filesystem::exists(foreign)) << "another program's report stays";
  std::filesystem::remove(foreign);
}

TEST_F(StaticAPI, LogicalEventWithoutAPanelGivesAnEmptyResult) {
  CString result = "stale";
  KyPanelAPI::LogicalEvent(static_cast<KyPanel*>(nullptr), "Close", result);
  EXPECT_STREQ(result, "");
}

}  // namespace

namespace {

// The MDI requests reach the frame's client: tiling puts two children side
// by side or one above the other, cascading offsets them, closing all asks
// each child to close.
TEST_F(StaticAPI, MDIRequestsOfTheMainFrame) {
  KyWinAPI::MDICascade();  // no MDI frame yet: nothing happens
  KyFunctionData frameFunction(nullptr, "KYPNLTST", "FRAME", "FRAME", 721, 0);
  KyPanel frame(&frameFunction);
  ASSERT_TRUE(frame.Init(KyMDIFrame, 0x00CF0000, 65, 0x100008, 1, 0));
  ShowWindow(frame.hHandle(), SW_SHOW);
  std::vector<std::unique_ptr<KyFunctionData>> functions;
  std::vector<std::unique_ptr<KyPanel>> children;
  for (int i = 0; i < 2; ++i) {
    functions.push_back(std::make_unique<KyFunctionData>(nullptr, "KYPNLTST", "CHILD", "CHILD", 721, 0));
    children.push_back(std::make_unique<KyPanel>(functions.back().get()));
    ASSERT_TRUE(children.back()->Init(KyMDIChild, 0x00CF0000 | WS_VISIBLE, 65, 0x100008, 1, 0));
    ShowWindow(children.back()->hHandle(), SW_SHOW);
  }
  auto rectOf = [](const std::unique_ptr<KyPanel>& p) {
    RECT r{};
    GetWindowRect(p->hHandle(), &r);
    return r;
  };
  KyWinAPI::MDITile(MDITILE_VERTICAL);
  RECT a = rectOf(children[0]), b = rectOf(children[1]);
  EXPECT_TRUE(a.top == b.top && a.left != b.left) << "side by side";
  KyWinAPI::MDITile(MDITILE_HORIZONTAL);
  a = rectOf(children[0]), b = rectOf(children[1]);
  EXPECT_TRUE(a.left == b.left && a.top != b.top) << "one above the other";
  KyWinAPI::MDICascade();
  a = rectOf(children[0]), b = rectOf(children[1]);
  EXPECT_TRUE(a.left != b.left && a.top != b.top) << "offset";
  KyWinAPI::MDIIconArrange();
  KyWinAPI::MDICloseAll();
  for (const auto& child : children) EXPECT_FALSE(IsWindow(child->hHandle()));
  children.clear();
}

// A panel that records the logical events its dispatch receives.
class EventPanel : public KyPanel {
 public:
  using KyPanel::KyPanel;
  void PanelHandler(int iLogicalId) override { ran.push_back(iLogicalId); }
  std::vector<int> ran;
};

constexpr int kZoom = 500;

// Two open panels of one function name: the event runs on every panel that
// has it switched on; "*Deactivated" only when none ran and one had it off.
TEST_F(StaticAPI, LogicalEventByPanelName) {
  KyFunctionData f1(nullptr, "KYPNLTST", "SHIPPING", "SHIPPING", 721, 0);
  KyFunctionData f2(nullptr, "KYPNLTST", "SHIPPING", "SHIPPING", 721, 0);
  EventPanel p1(&f1), p2(&f2);
  for (EventPanel* p : {&p1, &p2}) {
    ASSERT_TRUE(p->Init(KyTopWindow, 0x00CF0000, 65, 0x100008, 0, 0));
    p->AddEvent(new KyLogEvent(-1, 99, kZoom, "", "Zoom", 0));
    p->StartPanel();
  }
  struct Case {
    int on1, on2;
    const char* panel;
    const char* result;
    size_t ran1, ran2;
  } cases[] = {
      {1, 1, "shipping", "", 1, 1},
      {0, 1, "SHIPPING", "", 0, 1},  // off before one that runs
      {1, 0, "SHIPPING", "", 1, 0},  // off after one that ran
      {0, 0, "SHIPPING", "*Deactivated", 0, 0},
      {1, 1, "Elsewhere", "*Not Found", 0, 0},
      {1, 1, "*Main", "*Not Found", 0, 0},  // the application has no main window
  };
  for (const Case& c : cases) {
    p1.ran.clear();
    p2.ran.clear();
    KyPanelAPI::ActivateLogicalEvent(&p1, "zoom", c.on1);
    KyPanelAPI::ActivateLogicalEvent(&p2, "ZOOM", c.on2);
    CString result = "stale";
    KyPanelAPI::LogicalEvent(c.panel, "Zoom", result);
    EXPECT_STREQ(result, c.result) << c.panel << " " << c.on1 << c.on2;
    EXPECT_EQ(p1.ran.size(), c.ran1) << c.panel << " " << c.on1 << c.on2;
    EXPECT_EQ(p2.ran.size(), c.ran2) << c.panel << " " << c.on1 << c.on2;
  }
  // Notifying a panel by object or by a name no panel has.
  CString result;
  KyPanelAPI::Notify(&p1, result);
  EXPECT_STREQ(result, "");
  KyPanelAPI::Notify("Nobody", result);
  EXPECT_STREQ(result, "*Not Found");
  EXPECT_STREQ(KyPanelAPI::GetCurrentLogicalEvent(&p1), "") << "no event runs now";
}

}  // namespace
