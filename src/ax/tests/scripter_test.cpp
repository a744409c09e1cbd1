// The scripting host with the JScript engine: scripts call the gauge's
// methods and properties by name, read and write named fields through
// "AD", trigger logical events, obey the directives, and fail through the
// error dialog (answered here as a person would).
#include <internal/snapshot.h>
#include <internal/userscript.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "KyActiveXControl.h"
#include "KyActiveXControlImpl.h"
#include "KyActiveXScript.h"
#include "KyActiveXScripter.h"
#include "KyScriptText.h"
#include "axhostfixture.h"
#include "axres.h"

namespace {

// Fields of the test: plain texts reached through the callback.
void fieldAccess(void* field, CString& text, int direction) {
  auto* value = static_cast<std::string*>(field);
  if (direction == 1) {
    *value = static_cast<const char*>(text);
  } else {
    text = value->c_str();
  }
}

struct SeenError {
  std::string source, description, statement;
};

class Scripter : public AxHostFixture {
 protected:
  void SetUp() override {
    AxHostFixture::SetUp();
    ASSERT_TRUE(gauge_.Create(KYGAUGE_PROGID, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 60), &host_, 101, "",
                              "", nullptr, &host_));
    scripter_ = std::make_unique<KyActiveXScripter>(&host_, &host_);
    scripter_->NameControl(&gauge_, "Gauge1");
    scripter_->NameField(&name_, "Name", fieldAccess);
    scripter_->NameField(&note_, "Note", fieldAccess);
    win32::script::clearMessageBoxLog();
  }
  void TearDown() override {
    scripter_.reset();
    gauge_.DestroyWindow();
    AxHostFixture::TearDown();
  }
  BOOL run(const char* code, const char* language = "JScript") { return scripter_->RunScript(code, nullptr, language); }
  std::string property(const char* name) {
    CString text;
    return gauge_.GetProperty(name, text) ? std::string(text) : "<refused>";
  }
  std::vector<std::string> messages() {
    std::vector<std::string> texts;
    for (const auto& record : win32::script::messageBoxLog()) texts.push_back(record.text);
    return texts;
  }
  // Answers the script error dialog with the button and keeps its texts.
  void answerErrorsWith(int button, const char* snapshot = nullptr) {
    host_.m_onDialogIdle = [this, button, snapshot](HWND dialog) {
      char text[512];
      SeenError seen;
      GetDlgItemTextA(dialog, IDC_AX_ERROR_SOURCE, text, sizeof text);
      seen.source = text;
      GetDlgItemTextA(dialog, IDC_AX_ERROR_DESCRIPTION, text, sizeof text);
      seen.description = text;
      GetDlgItemTextA(dialog, IDC_AX_ERROR_STATEMENT, text, sizeof text);
      seen.statement = text;
      GetWindowTextA(dialog, text, sizeof text);
      caption_ = text;
      debugEnabled_ = IsWindowEnabled(GetDlgItem(dialog, IDC_AX_ERROR_DEBUG));
      errors_.push_back(seen);
      if (snapshot) win32::snapshot::saveWindowPng(dialog, snapshot);
      SendMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    };
  }

  KyActiveXControl gauge_;
  std::unique_ptr<KyActiveXScripter> scripter_;
  std::string name_ = "Anna";
  std::string note_;
  std::vector<SeenError> errors_;
  std::string caption_;
  BOOL debugEnabled_ = TRUE;
};

}  // namespace

TEST_F(Scripter, ScriptsCallControlMethodsAndPropertiesByName) {
  ASSERT_TRUE(run("Gauge1.Value = 40;\r\nGauge1.Step(2);\r\nGauge1.Caption = 'at ' + Gauge1.Value;"));
  EXPECT_EQ(property("Value"), "42");
  EXPECT_EQ(property("Caption"), "at 42");
  // The control's members are global names as well.
  ASSERT_TRUE(run("Step(8); Caption = Caption + '!';"));
  EXPECT_EQ(property("Value"), "50");
  EXPECT_EQ(property("Caption"), "at 42!");
  EXPECT_TRUE(messages().empty());
}

TEST_F(Scripter, ScriptsReadAndWriteNamedFields) {
  const struct {
    const char* script;
    std::string name;
    std::string note;
  } cases[] = {
      {"AD.Field('Note', AD.Field('Name') + ' Smith');", "Anna", "Anna Smith"},
      {"AD.Field('Name', 'Berta');", "Berta", ""},
      // A name that is no named field reads as itself and is not written.
      {"AD.Field('Note', AD.Field('Unknown')); AD.Field('Unknown', 'x');", "Anna", "Unknown"},
      {"AD.Field('Note', null);", "Anna", ""},
  };
  for (const auto& c : cases) {
    name_ = "Anna";
    note_.clear();
    EXPECT_TRUE(run(c.script)) << c.script;
    EXPECT_EQ(name_, c.name) << c.script;
    EXPECT_EQ(note_, c.note) << c.script;
  }
}

TEST_F(Scripter, ScriptsTriggerLogicalEventsAndConvertPixels) {
  ASSERT_TRUE(run("AD.LogicalEvent('OK_Pressed'); AD.Field('Note', AD.TransformCood(96));"));
  ASSERT_EQ(host_.m_heard.size(), 1u);
  EXPECT_EQ(host_.m_heard[0].logical, "OK_Pressed");
  HDC screen = GetDC(nullptr);
  const int perInch = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(note_, std::to_string(96 * 1440 / perInch));
}

TEST_F(Scripter, DirectivesUnloadAndRunExternalFiles) {
  const std::string full = (dir_ / "full.js");
  std::ofstream(full) << "Gauge1.Value = 7;";
  std::ofstream((dir_ / "bare.js")) << "Gauge1.Value = 9;";
  std::ofstream((dir_ / "empty.js")) << "";
  ASSERT_TRUE(run("Gauge1.Value = 1;"));
  EXPECT_TRUE(scripter_->GetScript()->IsRunning());
  EXPECT_FALSE(run("#unload"));
  EXPECT_FALSE(scripter_->GetScript()->IsRunning());

  EXPECT_TRUE(run(("#External " + full + "\r\nignored").c_str()));
  EXPECT_EQ(property("Value"), "7");
  const std::string here = std::filesystem::current_path().string();
  ASSERT_EQ(chdir(dir_.path().c_str()), 0);
  EXPECT_TRUE(run("#EXTERNAL bare.js"));
  EXPECT_FALSE(run("#External empty.js"));
  EXPECT_FALSE(run("#External missing.js"));
  ASSERT_EQ(chdir(here.c_str()), 0);
  EXPECT_EQ(property("Value"), "9");
  EXPECT_EQ(messages(), std::vector<std::string>{"Cannot open 'missing.js'"});
}

TEST_F(Scripter, AnEngineThatIsNotThereIsReported) {
  EXPECT_FALSE(run("Gauge1.Value = 3", "VBScript"));
  const std::vector<std::string> texts = messages();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].rfind("The ActiveX Scripting Engine 'VBScript'could not be found\n\n"
                           "The latest version of this scripting engine can be obtained from\n\t",
                           0),
            0u);
  // Back to JScript: a new engine with the named control again.
  EXPECT_TRUE(run("Gauge1.Value = 5;"));
  EXPECT_EQ(property("Value"), "5");
  EXPECT_FALSE(run(""));
  EXPECT_FALSE(run(nullptr));
}

TEST_F(Scripter, NamesAddedWhileRunningAreSeenAfterARestart) {
  ASSERT_TRUE(run("var first = 1;"));
  KyActiveXControl second;
  ASSERT_TRUE(second.Create(KYGAUGE_PROGID, "", WS_CHILD | WS_VISIBLE, CRect(120, 10, 220, 60), &host_, 102, "", "",
                            nullptr, &host_));
  scripter_->NameControl(&second, "Gauge2");
  answerErrorsWith(IDIGNORE);
  EXPECT_TRUE(run("Gauge2.Value = 11;"));
  ASSERT_EQ(errors_.size(), 1u);
  scripter_->Stop();
  EXPECT_TRUE(run("Gauge2.Value = 11;"));
  CString text;
  ASSERT_TRUE(second.GetProperty("Value", text));
  EXPECT_STREQ(text, "11");
  EXPECT_EQ(errors_.size(), 1u);
}

TEST_F(Scripter, ErrorsAreShownWithTheStatementAndTheAnswerDecides) {
  const std::string snapshot = (dir_ / "script_error.png");
  answerErrorsWith(IDABORT, snapshot.c_str());
  EXPECT_FALSE(run("Gauge1.Value = 2;\r\nGauge1.NoSuchThing();\r\nGauge1.Value = 3;"));
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].source, "JScript runtime error");
  EXPECT_NE(errors_[0].description.find("NoSuchThing"), std::string::npos);
  EXPECT_EQ(errors_[0].statement, "Gauge1.NoSuchThing();");
  EXPECT_EQ(caption_, "Script Error");
  EXPECT_FALSE(debugEnabled_);
  EXPECT_EQ(property("Value"), "2");
  EXPECT_TRUE(std::filesystem::file_size(snapshot) > 0);
  std::filesystem::copy_file(snapshot, std::string(KY_BIN_DIR) + "/../script_error.png",
                             std::filesystem::copy_options::overwrite_existing);

  answerErrorsWith(IDIGNORE);
  EXPECT_TRUE(run("var kept = 4;\r\nkept = ;"));
  ASSERT_EQ(errors_.size(), 2u);
  EXPECT_EQ(errors_[1].source, "JScript compilation error");
  EXPECT_EQ(errors_[1].statement, "kept = ;");
  // The engine goes on.
  EXPECT_TRUE(run("Gauge1.Value = 6;"));
  EXPECT_EQ(property("Value"), "6");
}

TEST_F(Scripter, GlobalScriptsRunInTheApplicationWideHost) {
  for (const char* code : {"#Global\r\nvar globalCount = 1;", "#GLOBAL\nglobalCount = globalCount + 1;",
                           "#global\r\nif (globalCount != 2) throw 'lost';"})
    EXPECT_TRUE(KyActiveXScripter::RunGlobalScript(code, "JScript")) << code;
  // The panel's host knows nothing of it.
  answerErrorsWith(IDABORT);
  EXPECT_FALSE(run("globalCount;"));
  EXPECT_EQ(errors_.size(), 1u);
  EXPECT_FALSE(KyActiveXScripter::RunGlobalScript("#Global", "JScript"));
  KyActiveXScripter::RunGlobalScript("#Unload", "JScript");
}

TEST_F(Scripter, AWindowNameTheEngineRefusesIsReported) {
  scripter_->NameControl(&gauge_, "Bad Name");
  EXPECT_TRUE(run("Gauge1.Value = 8;"));
  EXPECT_EQ(messages(), std::vector<std::string>{
                            "The name 'Bad Name' could not be added to the ActiveX scripting engine"});
}

TEST_F(Scripter, TheSitesAnswerTheEngine) {
  KyActiveXScript* script = scripter_->GetScript();
  IActiveScriptSite* site = script->GetSite();
  BSTR version = nullptr;
  ASSERT_EQ(site->GetDocVersionString(&version), S_OK);
  EXPECT_EQ(ax::FromBstr(version), CString("Orvo Zunt 7.2.1"));
  SysFreeString(version);
  IActiveScriptSiteWindow* window = nullptr;
  ASSERT_EQ(site->QueryInterface(IID_IActiveScriptSiteWindow, reinterpret_cast<void**>(&window)), S_OK);
  HWND hwnd = nullptr;
  EXPECT_EQ(window->GetWindow(&hwnd), S_OK);
  EXPECT_EQ(hwnd, host_.m_hWnd);
  EXPECT_EQ(window->EnableModeless(FALSE), S_OK);
  EXPECT_FALSE(host_.IsWindowEnabled());
  window->EnableModeless(TRUE);
  EXPECT_TRUE(host_.IsWindowEnabled());

  const struct {
    const char16_t* name;
    HRESULT result;
    bool typeInfo;
  } cases[] = {{u"AD", S_OK, false}, {u"Gauge1", S_OK, true}, {u"Nobody", TYPE_E_ELEMENTNOTFOUND, false}};
  for (const auto& c : cases) {
    IUnknown* unknown = reinterpret_cast<IUnknown*>(1);
    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(1);
    EXPECT_EQ(site->GetItemInfo(reinterpret_cast<LPCOLESTR>(c.name), SCRIPTINFO_IUNKNOWN | SCRIPTINFO_ITYPEINFO,
                                &unknown, &info),
              c.result);
    EXPECT_EQ(unknown != nullptr, c.result == S_OK);
    EXPECT_EQ(info != nullptr, c.typeInfo);
    if (unknown) unknown->Release();
    if (info) info->Release();
  }
}

TEST_F(Scripter, ControlEventsRunTheScriptsHandlerFunctions) {
  ASSERT_TRUE(run("function Gauge1_Changed(value) { AD.Field('Note', 'now ' + value); }\r\n"
                  "function Gauge1_Reset() { AD.LogicalEvent('Emptied'); }"));
  ASSERT_TRUE(run("Gauge1.Value = 4; Gauge1.Step(3);"));
  EXPECT_EQ(note_, "now 7");
  host_.m_heard.clear();
  ASSERT_TRUE(run("Gauge1.Value = 0;"));
  ASSERT_EQ(host_.m_heard.size(), 1u);
  EXPECT_EQ(host_.m_heard[0].logical, "Emptied");
  // A stopped engine hears no events.
  scripter_->Stop();
  note_.clear();
  IDispatch* gauge = nullptr;
  ASSERT_EQ(gauge_.GetImpl()->m_pUnknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&gauge)), S_OK);
  VARIANT by;
  VariantInit(&by);
  by.vt = VT_I4;
  by.lVal = 1;
  DISPPARAMS params{&by, nullptr, 1, 0};
  EXPECT_EQ(gauge->Invoke(KYGAUGE_STEP, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
  gauge->Release();
  EXPECT_EQ(note_, "");
}
