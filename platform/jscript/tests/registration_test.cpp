// The engine is known to the class registry as Windows knows its own: by
// the ProgID "JScript" and its CLSID in a registry nobody wrote to, with no
// registration step. An entry of the registry file still decides where the
// class is served from while it is there.
#include "scriptsite.h"

#include <filesystem>

namespace {

class JScriptClass : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("KY_COM_REGISTRY", registry().c_str(), 1);
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
  }
  void TearDown() override {
    CoUninitialize();
    ::unsetenv("KY_COM_REGISTRY");
  }
  std::string registry() const { return dir_ / "COMCLASSES.INI"; }

  // What an engine made from `clsid` evaluates "6 * 7" to; "" when the
  // engine cannot be made (`created` holds why).
  std::string evaluateWith(REFCLSID clsid, HRESULT* created) {
    IActiveScript* engine = nullptr;
    *created = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript,
                                reinterpret_cast<void**>(&engine));
    if (FAILED(*created)) return {};
    IActiveScriptParse* parse = nullptr;
    TestSite site;
    std::string text;
    if (SUCCEEDED(engine->QueryInterface(IID_IActiveScriptParse, reinterpret_cast<void**>(&parse))) &&
        SUCCEEDED(engine->SetScriptSite(&site)) && SUCCEEDED(parse->InitNew()) &&
        SUCCEEDED(engine->SetScriptState(SCRIPTSTATE_CONNECTED))) {
      VARIANT result;
      VariantInit(&result);
      if (SUCCEEDED(parse->ParseScriptText(ole(u"6 * 7"), nullptr, nullptr, nullptr, 0, 0, SCRIPTTEXT_ISEXPRESSION,
                                           &result, nullptr)) &&
          SUCCEEDED(VariantChangeType(&result, &result, 0, VT_BSTR)))
        text = narrowText(result.bstrVal);
      VariantClear(&result);
    }
    if (parse) parse->Release();
    engine->Close();
    engine->Release();
    return text;
  }

  kytest::ScratchDir dir_;
};

TEST_F(JScriptClass, IsKnownInARegistryNobodyWroteTo) {
  for (const char16_t* name : {u"JScript", u"jscript", u"JSCRIPT"}) {
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(ole(name), &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_JScript);
  }
  LPOLESTR progId = nullptr;
  ASSERT_EQ(ProgIDFromCLSID(CLSID_JScript, &progId), S_OK);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(progId)), u"JScript");
  CoTaskMemFree(progId);

  HRESULT created = E_FAIL;
  EXPECT_EQ(evaluateWith(CLSID_JScript, &created), "42");
  EXPECT_EQ(created, S_OK);
  EXPECT_FALSE(std::filesystem::exists(registry()));  // nothing was registered on the way

  // Only the engines the layer has are known.
  CLSID other{};
  EXPECT_EQ(CLSIDFromProgID(ole(u"VBScript"), &other), REGDB_E_CLASSNOTREG);
}

TEST_F(JScriptClass, AnEntryOfTheRegistryFileWinsWhileItIsThere) {
  // An entry naming a library that does not exist hides the engine.
  ASSERT_EQ(CoRegisterInprocServerA(CLSID_JScript, "JScript", (dir_ / "MISSING.DLL").c_str()), S_OK);
  HRESULT created = S_OK;
  EXPECT_EQ(evaluateWith(CLSID_JScript, &created), "");
  EXPECT_EQ(created, CO_E_DLLNOTFOUND);
  EXPECT_EQ(CoUnregisterInprocServer(CLSID_JScript), S_OK);
  EXPECT_EQ(evaluateWith(CLSID_JScript, &created), "42");

  // The engine's own registration enters the library it is, and serves.
  HMODULE module = LoadLibraryA(KY_BIN_DIR "/JSCRIPT.DLL");
  ASSERT_NE(module, nullptr);
  auto registerServer = reinterpret_cast<LPFNREGISTERSERVER>(GetProcAddress(module, "DllRegisterServer"));
  ASSERT_NE(registerServer, nullptr);
  ASSERT_EQ(registerServer(), S_OK);
  char server[MAX_PATH] = {};
  GetPrivateProfileStringA("{F414C260-6AC0-11CF-B6D1-00AA00BBBB58}", "InprocServer32", "", server, sizeof server,
                           registry().c_str());
  EXPECT_TRUE(std::string(server).ends_with("/JSCRIPT.DLL")) << server;
  EXPECT_EQ(evaluateWith(CLSID_JScript, &created), "42");
  FreeLibrary(module);
}

}  // namespace
