// VBX controls on a panel through the emulation library: created by name
// from a VBX file, given properties from a property text (strings, numbers,
// floats, pictures shared by file), their list methods, their events raised
// as the panel's logical events, and the library missing.
#include <gtest/gtest.h>

#include <internal/testinput.h>
#include <internal/userscript.h>

#include <memory>
#include <string>
#include <vector>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyBIVBXControl.h"
#include "KyFunctionData.h"
#include "KyPanel.h"
#include "KyVBXAPI.h"
#include "KyVBXCtrlManager.h"
#include "KyVBXPropertyParser.h"
#include "bitmapfile.h"

namespace {

class EventPanel : public KyPanel {
 public:
  using KyPanel::KyPanel;
  void PanelHandler(int iLogicalId) override { ran.push_back(iLogicalId); }
  std::vector<int> ran;
};

std::vector<std::string> boxTexts() {
  std::vector<std::string> texts;
  for (const auto& box : win32::script::messageBoxLog()) texts.push_back(box.text);
  return texts;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class Vbx : public ::testing::Test {
 protected:
  void SetUp() override {
    kytest::writeFile(ini_, "[International Settings]\nPNL directory path=" KY_BIN_DIR "\n");
    kytest::writeFile(dir_.path() / "CONTROLS.VBX", "class=Gauge\nclass=Switch\n");
    SetDllDirectoryA(KY_BIN_DIR);
    app_ = std::make_unique<kytest::TestClientApp>("Vbx", ini_);
    context_ = app_->CreateContext();
    language_ = std::make_unique<kytest::LanguageLibrary>();
    function_ = std::make_unique<KyFunctionData>(nullptr, "KYPNLTST", "VBXFN", "VBXFN", 721, 0);
    panel_ = std::make_unique<EventPanel>(function_.get());
    ASSERT_TRUE(panel_->Init(KyTopWindow, 0x00CF0000, 65, 0x100008, 1, 0));
    panel_->AddEvent(new KyLogEvent(-1, 0, 600, "", "GaugeClicked", 0));
    panel_->AddEvent(new KyLogEvent(-1, 0, 601, "", "GaugeChanged", 0));
    panel_->StartPanel();
    manager_ = panel_->GetVBXCtrlManager();
    ASSERT_NE(manager_, nullptr);
    win32::script::clearMessageBoxLog();
  }
  void TearDown() override {
    panel_.reset();
    function_.reset();
    KyBIVBXControl::VBTerm32();
    language_.reset();
    app_->EndContext();
    app_.reset();
    SetDllDirectoryA(nullptr);
  }
  std::string file() const { return (dir_.path() / "CONTROLS.VBX").string(); }
  KyBIVBXControl* gauge() {
    if (!manager_->GetControl("Fuel"))
      EXPECT_EQ(manager_->CreateVBXCtrl(file().c_str(), "Gauge", "Tank", 10, 10, 100, 20, "Fuel"), 1);
    return manager_->GetControl("Fuel");
  }

  kytest::ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  std::unique_ptr<kytest::TestClientApp> app_;
  KyAppContext* context_ = nullptr;
  std::unique_ptr<kytest::LanguageLibrary> language_;
  std::unique_ptr<KyFunctionData> function_;
  std::unique_ptr<EventPanel> panel_;
  KyVBXCtrlManager* manager_ = nullptr;
};

TEST_F(Vbx, ControlsAreCreatedOncePerName) {
  KyBIVBXControl* control = gauge();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(GetParent(control->GetHwnd()), panel_->ViewHandle());
  EXPECT_EQ(control->GetStrProperty("Caption"), KyString("Tank"));
  EXPECT_EQ(manager_->CreateVBXCtrl(file().c_str(), "Switch", "", 0, 0, 10, 10, "FUEL"), 0);  // the name is taken
  EXPECT_EQ(manager_->GetControl("fuel"), control);
  EXPECT_TRUE(boxTexts().empty());
  EXPECT_EQ(manager_->GetControl("Other"), nullptr);
}

TEST_F(Vbx, AControlTheLibraryCannotMakeIsTold) {
  struct Case {
    std::string file;
    const char* cls;
  } cases[] = {{file(), "Dial"}, {(dir_.path() / "MISSING.VBX").string(), "Gauge"}};
  for (const Case& c : cases) {
    win32::script::clearMessageBoxLog();
    EXPECT_EQ(manager_->CreateVBXCtrl(c.file.c_str(), c.cls, "", 0, 0, 10, 10, "X"), 0) << c.cls;
    EXPECT_EQ(manager_->GetControl("X"), nullptr);
    ASSERT_EQ(boxTexts().size(), 1u) << c.cls;
    EXPECT_TRUE(contains(boxTexts()[0], c.file) && contains(boxTexts()[0], c.cls)) << boxTexts()[0];
  }
}

TEST_F(Vbx, AFileNotWhereGivenIsTakenByItsNameAlone) {
  ASSERT_TRUE(SetCurrentDirectoryA(dir_.path().c_str()));
  EXPECT_EQ(manager_->CreateVBXCtrl("C:\\nowhere\\controls.vbx", "Switch", "On", 0, 0, 40, 20, "Power"), 1);
}

TEST_F(Vbx, PropertyAccessKeepsItsError) {
  KyBIVBXControl* g = gauge();
  ASSERT_EQ(manager_->SetProperty("Fuel", "Caption = \"Half full\" Value=50 Max= 100 Ratio=\"0.5\""), 1);
  EXPECT_EQ(g->GetStrProperty("Caption"), KyString("Half full"));
  EXPECT_EQ(g->GetError(), KyBIVBXControl::LibraryCall);
  EXPECT_EQ(g->GetNumProperty("Value"), 50);
  EXPECT_EQ(g->GetNumProperty("max"), 100);
  EXPECT_FLOAT_EQ(g->GetFloatProperty("Ratio"), 0.5f);
  // Each access answers 0 and leaves its error.
  const std::vector<std::pair<int (*)(KyBIVBXControl*), KyBIVBXControl::VBXError>> runs = {
      {[](KyBIVBXControl* c) { return static_cast<int>(c->GetNumProperty("Ratio")); }, KyBIVBXControl::NumberExpected},
      {[](KyBIVBXControl* c) { return c->GetStrProperty("Value").GetLength(); }, KyBIVBXControl::StringExpected},
      {[](KyBIVBXControl* c) { return static_cast<int>(c->GetFloatProperty("Caption")); },
       KyBIVBXControl::FloatExpected},
      {[](KyBIVBXControl* c) { return c->SetPictureProperty("Value", "a.bmp"); }, KyBIVBXControl::PictureExpected},
      {[](KyBIVBXControl* c) { return static_cast<int>(c->GetNumProperty("Nope")); }, KyBIVBXControl::NoProperty},
      {[](KyBIVBXControl* c) { return c->SetNumProperty("Value", 9, 2); }, KyBIVBXControl::NoProperty},
  };
  for (size_t i = 0; i < runs.size(); ++i) {
    EXPECT_EQ(runs[i].first(g), 0) << i;
    EXPECT_EQ(g->GetError(), runs[i].second) << i;
  }
  EXPECT_EQ(g->GetNumProperty("Value"), 50);  // nothing above changed it
}

TEST_F(Vbx, ABadPropertyTextSetsNothing) {
  KyBIVBXControl* g = gauge();
  ASSERT_EQ(manager_->SetProperty("Fuel", "Value=7"), 1);
  struct Case {
    const char* text;
    int result;
  } cases[] = {{"Value=8 Caption=\"open", 0}, {"Value=8 =9", 0}, {"Value 8", 0}, {"Value=8 Nope=1", 0}};
  for (const Case& c : cases) EXPECT_EQ(manager_->SetProperty("Fuel", c.text), c.result) << c.text;
  // The malformed texts set nothing; the last one is well formed and sets
  // what it can.
  EXPECT_EQ(g->GetNumProperty("Value"), 8);
  EXPECT_EQ(manager_->SetProperty("NoSuchControl", "Value=1"), 0);
}

TEST_F(Vbx, PropertyTextsParseIntoPairs) {
  struct Case {
    const char* text;
    bool ok;
    std::vector<std::pair<std::string, std::string>> pairs;
  } cases[] = {
      {"", true, {}},
      {"  A=1  b_2 = x_y\tC=\"two words\" ", true, {{"A", "1"}, {"b_2", "x_y"}, {"C", "two words"}}},
      {"Empty=\"\"", true, {{"Empty", ""}}},
      {"A=1 B", false, {{"A", "1"}}},
      {"A=\"open", false, {}},
      {"A=1,B=2", false, {}},
      {"Ratio=0.5", false, {}},  // a number with a point is quoted
      {"=1", false, {}},
      {"A=\"x\"y", false, {}},
  };
  for (const Case& c : cases) {
    std::vector<KyVBXPropertyPair> pairs;
    EXPECT_EQ(KyVBXPropertyParser().Parse(c.text, pairs), c.ok) << c.text;
    std::vector<std::pair<std::string, std::string>> got;
    for (const auto& p : pairs) got.emplace_back(p.name.GetString(), p.value.GetString());
    EXPECT_EQ(got, c.pairs) << c.text;
  }
}

TEST_F(Vbx, ListMethodsAndMove) {
  KyBIVBXControl* g = gauge();
  EXPECT_EQ(g->AddItem("one", -1), 1);
  EXPECT_EQ(g->AddItem("three", -1), 1);
  EXPECT_EQ(g->AddItem("two", 1), 1);
  EXPECT_EQ(g->AddItem("far", 9), 0);
  std::vector<std::string> items;
  for (int i = 0; i < 3; ++i) items.push_back(g->GetStrProperty("List", i).GetString());
  EXPECT_EQ(items, (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(g->SetStrProperty("List", "TWO", 1), 1);
  EXPECT_EQ(g->GetStrProperty("List", 1), KyString("TWO"));
  EXPECT_EQ(g->RemoveItem(0), 1);
  EXPECT_EQ(g->GetStrProperty("List", 0), KyString("TWO"));
  EXPECT_EQ(g->RemoveItem(5), 0);
  EXPECT_EQ(g->ClearList(), 1);
  EXPECT_EQ(g->GetStrProperty("List", 0), KyString(""));
  EXPECT_EQ(g->GetStrProperty("List"), KyString(""));  // an array needs an element
  EXPECT_EQ(g->Move(30, 40, 50, 12), 1);
  RECT r;
  GetWindowRect(g->GetHwnd(), &r);
  MapWindowPoints(HWND_DESKTOP, panel_->ViewHandle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.right - r.left, 50);
  EXPECT_EQ(g->Refresh(), 1);
  EXPECT_EQ(g->GetEventName(g->GetEventIndex("change")), KyString("Change"));
}

TEST_F(Vbx, APictureFileIsLoadedOnceAndItsHandleGoesWhole) {
  const std::string bmp = (dir_.path() / "DOT.BMP").string();
  kytest::writeFile(bmp, kytest::bitmap24(4, 4, [](int, int) { return RGB(200, 10, 10); }));
  ASSERT_EQ(manager_->CreateVBXCtrl(file().c_str(), "Switch", "", 0, 40, 40, 20, "Power"), 1);
  KyBIVBXControl* g = gauge();
  KyBIVBXControl* s = manager_->GetControl("Power");
  EXPECT_EQ(g->SetPictureProperty("Picture", bmp.c_str()), 1);
  EXPECT_EQ(manager_->SetProperty("Power", ("Picture=\"" + bmp + "\"").c_str()), 1);
  EXPECT_EQ(manager_->GetPictures().GetCount(), 1u);
  KyVBXPic* picture = manager_->GetPictures().GetPicture(bmp.c_str());
  ASSERT_NE(picture, nullptr);
  // The control holds the library's handle itself, not a part of it.
  using GetProp = BOOL(WINAPI*)(HCTL, int, LONG_PTR*);
  auto getProp = reinterpret_cast<GetProp>(GetProcAddress(GetModuleHandleA("BIVBX30.32N"), "VBXGetProp"));
  ASSERT_NE(getProp, nullptr);
  for (KyBIVBXControl* c : {g, s}) {
    LONG_PTR value = 0;
    ASSERT_TRUE(getProp(c->GetVBXHandle(), c->GetPropIndex("Picture"), &value));
    EXPECT_EQ(value, reinterpret_cast<LONG_PTR>(picture->GetVBXHandle()));
  }
  const std::string gif = (dir_.path() / "DOT.GIF").string();
  kytest::writeFile(gif, "GIF89a");
  EXPECT_EQ(g->SetPictureProperty("Picture", gif.c_str()), 0);
  EXPECT_EQ(manager_->GetPictures().GetCount(), 1u);
}

TEST_F(Vbx, EventsRaiseTheirLogicalEvents) {
  KyBIVBXControl* g = gauge();
  EXPECT_EQ(manager_->RegisterEvents("Fuel", "Click=GaugeClicked Change=GaugeChanged"), 1);
  EXPECT_EQ(manager_->RegisterEvents("Fuel", "Explode=Boom"), 0);
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_TRUE(contains(boxTexts()[0], "Explode") && contains(boxTexts()[0], "Fuel")) << boxTexts()[0];

  win32::input::click(g->GetHwnd(), 5, 5);
  win32::input::pumpMessages();
  EXPECT_EQ(panel_->ran, std::vector<int>{600});
  ASSERT_NE(manager_->GetEventSource(), nullptr);
  EXPECT_EQ(manager_->GetEventSource()->GetName(), KyString("Fuel"));
  EXPECT_EQ(g->SetNumProperty("Value", 70), 1);
  EXPECT_EQ(panel_->ran, (std::vector<int>{600, 601}));
  EXPECT_EQ(g->SetNumProperty("Value", 70), 1);  // no change, no event
  EXPECT_EQ(panel_->ran, (std::vector<int>{600, 601}));

  // A control whose events are not mapped raises nothing.
  ASSERT_EQ(manager_->CreateVBXCtrl(file().c_str(), "Switch", "", 0, 40, 40, 20, "Power"), 1);
  KyBIVBXControl* s = manager_->GetControl("Power");
  win32::input::click(s->GetHwnd(), 5, 5);
  win32::input::pumpMessages();
  EXPECT_EQ(s->GetNumProperty("On"), 1);  // the click turned it on
  EXPECT_EQ(panel_->ran, (std::vector<int>{600, 601}));
}

TEST_F(Vbx, TheApiFindsTheCurrentPanelsControls) {
  KyBIVBXControl* g = gauge();
  EXPECT_EQ(KyVBXAPI::GetControl("Fuel"), nullptr);  // no current function
  context_->m_pCurrentFunction = function_.get();
  function_->SetPanel(panel_.get());
  EXPECT_EQ(KyVBXAPI::GetControl("Fuel"), g);
  EXPECT_EQ(KyVBXAPI::GetControl("Other"), nullptr);
  EXPECT_EQ(KyVBXAPI::PixelsToTwips(10, KyVBXAPI::VBXConversionX), -1);
  EXPECT_EQ(KyVBXAPI::TwipsToPixels(150, KyVBXAPI::VBXConversionY), -1);
  context_->m_pCurrentFunction = nullptr;
}

TEST_F(Vbx, WithoutTheLibraryEverythingFailsCleanly) {
  KyBIVBXControl::VBTerm32();
  kytest::ScratchDir empty;
  SetDllDirectoryA(empty.path().c_str());
  EXPECT_EQ(KyBIVBXControl::VBInit32(nullptr, ""), 0);
  EXPECT_EQ(manager_->CreateVBXCtrl(file().c_str(), "Gauge", "", 0, 0, 10, 10, "Fuel"), 0);
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_TRUE(contains(boxTexts()[0], "Gauge")) << boxTexts()[0];
  KyBIVBXControl loose;
  EXPECT_EQ(loose.SetNumProperty("Value", 1), 0);
  EXPECT_EQ(loose.GetStrProperty("Caption"), KyString(""));
  EXPECT_EQ(loose.AddItem("x", -1), 0);
  EXPECT_EQ(loose.Move(0, 0, 1, 1), 0);
  EXPECT_EQ(loose.GetPropIndex("Value"), -1);
  EXPECT_EQ(manager_->SetProperty("Fuel", "Value=1"), 0);
}

TEST_F(Vbx, ADialogPanelTakesItsControlsEvents) {
  KyFunctionData dialogFunction(nullptr, "KYPNLTST", "VBXDLG", "VBXDLG", 721, 0);
  EventPanel dialog(&dialogFunction);
  ASSERT_TRUE(dialog.Init(KyDialog, 0x00CF0000, 65, 0x100008, 1, 0));
  dialog.AddEvent(new KyLogEvent(-1, 0, 700, "", "Switched", 0));
  KyVBXCtrlManager* manager = dialog.GetVBXCtrlManager();
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->GetPanelWnd(), dialog.ViewHandle());
  ASSERT_EQ(manager->CreateVBXCtrl(file().c_str(), "Switch", "", 0, 0, 40, 20, "Power"), 1);
  ASSERT_EQ(manager->RegisterEvents("Power", "Change=Switched"), 1);
  KyBIVBXControl* power = manager->GetControl("Power");
  // The control reports to the dialog itself, which maps the event.
  EXPECT_EQ(power->SetNumProperty("On", 1), 1);
  ASSERT_NE(manager->GetEventSource(), nullptr);
  EXPECT_EQ(manager->GetEventSource()->GetName(), KyString("Power"));
  const UINT id = static_cast<UINT>(GetDlgCtrlID(power->GetHwnd()));
  EXPECT_EQ(SendMessageA(dialog.ViewHandle(), KyVBXCtrlManager::EventMessage(), id, power->GetEventIndex("Change")),
            1);
  EXPECT_EQ(SendMessageA(dialog.ViewHandle(), KyVBXCtrlManager::EventMessage(), id, power->GetEventIndex("Click")),
            0);  // not mapped
}

}  // namespace
