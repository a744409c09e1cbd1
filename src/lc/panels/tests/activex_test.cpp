// ActiveX controls on a panel: the gauge control made from a control
// record, its events running the panel's logical events with their
// arguments readable during the call, the static ActiveX API, and scripts
// of the panel's host calling the control and the panel.
#include <gtest/gtest.h>

#include <internal/userscript.h>
#include <ole2.h>

#include <memory>
#include <string>
#include <vector>

#include "../../app/tests/testapp.h"
#include "KyAXControl.h"
#include "KyActiveXAPI.h"
#include "KyActiveXControl.h"
#include "KyAppContext.h"
#include "KyCharFld.h"
#include "KyComFld.h"
#include "KyControlFactory.h"
#include "KyFunctionData.h"
#include "KyLogEvent.h"
#include "KyPanel.h"
#include "controls/kygauge.h"

namespace {

enum LogicalId { kGaugeChanged = 600, kGaugeClicked = 601, kScriptRan = 602 };

// A generated COM field's shape, showing whether it counts as attached.
class AttachedField : public KyComFldOf<IDispatch> {
 public:
  using KyComFldOf::KyComFldOf;
  bool attached() const { return m_fControlAttached != 0; }
};

// The identity of a COM object, without keeping a reference.
IUnknown* identity(IUnknown* object) {
  IUnknown* unknown = nullptr;
  if (!object || FAILED(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)))) return nullptr;
  unknown->Release();
  return unknown;
}

// What a logical event saw of the control event that ran it.
struct Ran {
  int id;
  int count;
  std::string first;
};

class AxPanel : public KyPanel {
 public:
  using KyPanel::KyPanel;
  void PanelHandler(int iLogicalId) override {
    KyCharFld first("");
    const int count = KyActiveXAPI::GetEventParamCount();
    KyActiveXAPI::GetEventParam(1, first);
    ran.push_back(Ran{iLogicalId, count, std::string(first.strGetText())});
  }
  std::vector<Ran> ran;
};

KyCreateCtrl axRecord(int id, int16_t classId, int16_t nameId, int16_t persisted = 0) {
  KyCreateCtrl r{};
  r.magic = kKyRecordMagic;
  r.id = static_cast<uint16_t>(id);
  r.kind = KyAXControl::kKind;
  r.x = 10;
  r.y = 10;
  r.width = 120;
  r.height = 40;
  r.style = WS_CHILD | WS_TABSTOP;
  r.nameId = nameId;
  r.borderStyle = classId;  // offset 40: the class
  r.dropRows = 20041;       // offset 42: the property string
  r.word44 = 20042;         // the event mappings
  r.word46 = persisted;
  return r;
}

void registerServer(const std::string& file) {
  HMODULE module = LoadLibraryA((std::string(KY_BIN_DIR) + "/" + file).c_str());
  ASSERT_NE(module, nullptr) << file;
  auto entry = reinterpret_cast<LPFNREGISTERSERVER>(reinterpret_cast<void (*)()>(GetProcAddress(module, "DllRegisterServer")));
  ASSERT_NE(entry, nullptr) << file;
  ASSERT_EQ(entry(), S_OK) << file;
}

class ActiveX : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("KY_COM_REGISTRY", (dir_.path() / "COMCLASSES.INI").c_str(), 1);
    ::setenv("KY_REGISTRY", (dir_.path() / "REGISTRY.DAT").c_str(), 1);
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    registerServer("KYGAUGE.OCX");  // the script engine needs no registration
    kytest::writeFile(ini_, "[International Settings]\nPNL directory path=" KY_BIN_DIR "\n");
    app_ = std::make_unique<kytest::TestClientApp>("ActiveX", ini_);
    context_ = app_->CreateContext();
    language_ = std::make_unique<kytest::LanguageLibrary>();
    function_ = std::make_unique<KyFunctionData>(nullptr, "KYPNLTST", "AXFN", "AXFN", 721, 0);
    panel_ = std::make_unique<AxPanel>(function_.get());
    ASSERT_TRUE(panel_->Init(KyTopWindow, 0x00CF0000, 65, 0x100008, 1, 0));
    panel_->AddEvent(new KyLogEvent(-1, 0, kGaugeChanged, "", "GaugeChanged", 0));
    panel_->AddEvent(new KyLogEvent(-1, 0, kGaugeClicked, "", "GaugeClicked", 0));
    panel_->AddEvent(new KyLogEvent(-1, 0, kScriptRan, "", "ScriptRan", 0));
    gauge_ = make(axRecord(300, 20040, 20043));
    ASSERT_NE(gauge_, nullptr);
    panel_->StartPanel();
    function_->SetPanel(panel_.get());
    context_->m_pCurrentFunction = function_.get();
    win32::script::clearMessageBoxLog();
  }
  void TearDown() override {
    context_->m_pCurrentFunction = nullptr;
    panel_.reset();
    function_.reset();
    language_.reset();
    app_->EndContext();
    app_.reset();
    OleUninitialize();
    ::unsetenv("KY_COM_REGISTRY");
    ::unsetenv("KY_REGISTRY");
  }
  // A control of the record, made by the factory and given to the panel.
  KyCtrl* make(const KyCreateCtrl& record) {
    KyMadeControl made = KyMakeControl(panel_.get(), record);
    KyCtrl* control = made.control.get();
    if (control) panel_->AddControl(made.control.release());
    return control;
  }
  std::string property(KyCtrl* control, const char* name) {
    KyCharFld value("");
    return KyActiveXAPI::GetProperty(control, KyCharFld(name), value) ? std::string(value.strGetText()) : "<failed>";
  }

  kytest::ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  std::unique_ptr<kytest::TestClientApp> app_;
  KyAppContext* context_ = nullptr;
  std::unique_ptr<kytest::LanguageLibrary> language_;
  std::unique_ptr<KyFunctionData> function_;
  std::unique_ptr<AxPanel> panel_;
  KyCtrl* gauge_ = nullptr;
};

}  // namespace

TEST_F(ActiveX, ARecordOfKindSixteenHostsTheControlInThePanelWindow) {
  auto* control = dynamic_cast<KyActiveXControl*>(gauge_->GetActiveXControl());
  ASSERT_NE(control, nullptr);
  ASSERT_NE(control->GetControlSite(), nullptr);
  EXPECT_EQ(gauge_->GetWindowHandle(), control->m_hWnd);
  EXPECT_EQ(GetParent(gauge_->GetWindowHandle()), panel_->ViewHandle());
  EXPECT_TRUE(IsWindowVisible(gauge_->GetWindowHandle()));
  EXPECT_EQ(property(gauge_, "Caption"), "Fuel");
  EXPECT_EQ(property(gauge_, "Value"), "30");
  // The record's rectangle as stored, and moves through the panel's batch.
  RECT rc{};
  GetWindowRect(gauge_->GetWindowHandle(), &rc);
  EXPECT_EQ(rc.right - rc.left, 120);
  gauge_->DeferMove(nullptr, RECT{5, 6, 55, 36}, 0);
  GetWindowRect(gauge_->GetWindowHandle(), &rc);
  EXPECT_EQ(rc.right - rc.left, 50);
  EXPECT_EQ(rc.bottom - rc.top, 30);
}

TEST_F(ActiveX, MappedEventsRunLogicalEventsWithTheirArguments) {
  KyCharFld by("5"), result("");
  ASSERT_EQ(KyActiveXAPI::CallMethod8(gauge_, KyCharFld("Step"), &result, 1, &by, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr),
            1);
  HWND window = gauge_->GetWindowHandle();
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  // Reset (fired when the value becomes 0) is not mapped: nothing runs.
  KyCharFld zero("0");
  ASSERT_EQ(KyActiveXAPI::SetProperty(gauge_, KyCharFld("Value"), zero), 1);
  ASSERT_EQ(panel_->ran.size(), 2u);
  EXPECT_EQ(panel_->ran[0].id, kGaugeChanged);
  EXPECT_EQ(panel_->ran[0].count, 1);
  EXPECT_EQ(panel_->ran[0].first, "35");
  EXPECT_EQ(panel_->ran[1].id, kGaugeClicked);
  // Outside an event there are no arguments.
  EXPECT_EQ(KyActiveXAPI::GetEventParamCount(), 0);
  KyCharFld first("kept");
  EXPECT_EQ(KyActiveXAPI::GetEventParam(1, first), 0);
  EXPECT_EQ(first.strGetText(), CString("kept"));
}

TEST_F(ActiveX, TheStaticApiRefusesWhatItCannotCall) {
  auto* plain = new KyCtrl(panel_.get(), "Stat", axRecord(301, 0, 0), 1);
  panel_->AddControl(plain);
  KyCharFld arg("1"), result("unchanged"), value("");
  const struct {
    const char* what;
    int answer;
  } cases[] = {
      {"nine arguments", KyActiveXAPI::CallMethod8(gauge_, KyCharFld("Step"), &result, 9, &arg, &arg, &arg, &arg,
                                                   &arg, &arg, &arg, &arg)},
      {"no arguments for Step", KyActiveXAPI::CallMethod8(gauge_, KyCharFld("Step"), &result, 0, nullptr, nullptr,
                                                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr)},
      {"unknown method", KyActiveXAPI::CallMethod(gauge_, KyCharFld("Explode"))},
      {"unknown property", KyActiveXAPI::GetProperty(gauge_, KyCharFld("Colour"), value)},
      {"read-only property", KyActiveXAPI::SetProperty(gauge_, KyCharFld("Count"), arg)},
      {"a plain control", KyActiveXAPI::CallMethod(plain, KyCharFld("Step"))},
      {"no control", KyActiveXAPI::GetProperty(nullptr, KyCharFld("Value"), value)},
      {"an indexed read of a plain control", KyActiveXAPI::GetIxProperty(plain, 1, KyCharFld("Value"), value)},
      {"an indexed write of no control", KyActiveXAPI::SetIxProperty(nullptr, 1, KyCharFld("Value"), arg)},
  };
  for (const auto& c : cases) EXPECT_EQ(c.answer, 0) << c.what;
  EXPECT_EQ(result.strGetText(), CString("unchanged"));
  EXPECT_EQ(property(gauge_, "Value"), "30");
  EXPECT_TRUE(win32::script::messageBoxLog().empty());
}

TEST_F(ActiveX, PanelScriptsCallControlsFieldsAndLogicalEvents) {
  ASSERT_EQ(KyActiveXAPI::RunScript(20045, KyCharFld("JScript")), 1);
  EXPECT_EQ(property(gauge_, "Value"), "35");
  ASSERT_EQ(panel_->ran.size(), 2u);
  EXPECT_EQ(panel_->ran[0].id, kGaugeChanged);  // Step fired Changed
  EXPECT_EQ(panel_->ran[1].id, kScriptRan);
  EXPECT_EQ(panel_->ran[1].count, 0);

  KyCharFld total("old");
  KyActiveXAPI::NameField(&total, KyCharFld("Total"));
  ASSERT_EQ(KyActiveXAPI::RunScript(KyCharFld("AD.Field('Total', AD.Field('Total') + ':' + Fuel.Value);"),
                                    KyCharFld(""), KyCharFld("JScript")),
            1);
  EXPECT_EQ(total.strGetText(), CString("old:35"));
}

TEST_F(ActiveX, GlobalScriptsRunWithoutACurrentPanel) {
  ASSERT_EQ(KyActiveXAPI::RunScript(20046, KyCharFld("JScript")), 1);
  context_->m_pCurrentFunction = nullptr;
  EXPECT_EQ(KyActiveXAPI::RunScript(KyCharFld("#global\r\nfromPanelLibrary = fromPanelLibrary + 1;"), KyCharFld(""),
                                    KyCharFld("JScript")),
            1);
  EXPECT_EQ(KyActiveXAPI::RunScript(KyCharFld("Fuel.Step(1);"), KyCharFld(""), KyCharFld("JScript")), 0);
  EXPECT_EQ(KyActiveXAPI::RunScript(20045, KyCharFld("JScript")), 0);
  EXPECT_EQ(property(gauge_, "Value"), "30");
}

TEST_F(ActiveX, PersistedStateWithoutItsResourceAndClassesThatCannotBeMade) {
  KyCtrl* noState = make(axRecord(310, 20040, 20044, 1));
  ASSERT_NE(noState, nullptr);
  EXPECT_TRUE(dynamic_cast<KyAXControl*>(noState)->GetPersistFile().IsEmpty());
  EXPECT_EQ(property(noState, "Caption"), "Fuel");
  // The second control is named for scripts too.
  ASSERT_EQ(KyActiveXAPI::RunScript(KyCharFld("Oil.Value = 12;"), KyCharFld(""), KyCharFld("JScript")), 1);
  EXPECT_EQ(property(noState, "Value"), "12");

  win32::script::clearMessageBoxLog();
  KyCtrl* missing = make(axRecord(311, 20047, 0));
  ASSERT_NE(missing, nullptr);
  auto* control = dynamic_cast<KyActiveXControl*>(missing->GetActiveXControl());
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->GetControlSite(), nullptr);
  EXPECT_EQ(KyActiveXAPI::CallMethod(missing, KyCharFld("Step")), 0);
}

TEST_F(ActiveX, AComFieldAttachedToAControlHoldsTheControlsObject) {
  auto* gauge = dynamic_cast<KyAXControl*>(gauge_);
  ASSERT_NE(gauge, nullptr);
  ASSERT_NE(gauge->GetControlUnknown(), nullptr);

  // A field holding another object lets it go when it is attached.
  IUnknown* other = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_KyGauge, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&other)),
            S_OK);
  AttachedField field(DIID_KyGauge);
  ASSERT_EQ(field.CastFrom(other), S_OK);
  const ULONG heldByField = other->AddRef();
  other->Release();

  ASSERT_EQ(field.KyAttachControl(gauge, function_.get()), S_OK);
  EXPECT_EQ(other->AddRef(), heldByField - 1);
  other->Release();
  other->Release();
  EXPECT_TRUE(field.attached());
  EXPECT_EQ(field.GetFunctionData(), function_.get());
  ASSERT_NE(field.Get(), nullptr);
  EXPECT_EQ(identity(field.Get()), identity(gauge->GetControlUnknown()));
  // Calls through the field reach the control on the panel.
  DISPID value = DISPID_UNKNOWN;
  OLECHAR name[] = {'V', 'a', 'l', 'u', 'e', 0};
  LPOLESTR names[] = {name};
  ASSERT_EQ(field->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &value), S_OK);
  VARIANT twelve;
  VariantInit(&twelve);
  twelve.vt = VT_I4;
  twelve.lVal = 12;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS put{&twelve, &named, 1, 1};
  EXPECT_EQ(field->Invoke(value, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(property(gauge_, "Value"), "12");
}

TEST_F(ActiveX, AttachingFailsWithoutTheInterfaceOrTheControl) {
  auto* gauge = dynamic_cast<KyAXControl*>(gauge_);
  ASSERT_NE(gauge, nullptr);
  auto* missing = dynamic_cast<KyAXControl*>(make(axRecord(311, 20047, 0)));  // a class that cannot be made
  ASSERT_NE(missing, nullptr);
  const struct {
    const char* what;
    KyAXControl* control;
    IID iid;
    HRESULT answer;
  } cases[] = {
      {"an interface the control lacks", gauge, IID_IClassFactory, E_NOINTERFACE},
      {"a placeholder for a control", missing, IID_IDispatch, OLE_E_NOTRUNNING},
      {"no control", nullptr, IID_IDispatch, E_POINTER},
  };
  for (const auto& c : cases) {
    AttachedField field(c.iid);
    // Whatever the field held before, it holds nothing after a failure.
    if (c.iid == IID_IDispatch) ASSERT_EQ(field.KyAttachControl(gauge, function_.get()), S_OK) << c.what;
    EXPECT_EQ(field.KyAttachControl(c.control, function_.get()), c.answer) << c.what;
    EXPECT_FALSE(field.attached()) << c.what;
    EXPECT_EQ(field.GetInterface(), nullptr) << c.what;
    EXPECT_EQ(field.GetFunctionData(), function_.get()) << c.what;
  }
}
