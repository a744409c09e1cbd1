// A host for engine tests: the JScript engine and the test server
// in a registry of the test's own, and a site that hands out
// named objects and records the errors the engine reports.
#pragma once

#include <activscp.h>
#include <gtest/gtest.h>
#include <oleauto.h>

#include <map>
#include <string>
#include <vector>

#include "../../ole/testserver/testserverfixture.h"
#include "internal/comobject.h"
#include "scripttext.h"

struct ReportedError {
  std::string source;
  std::string description;
  ULONG line = 0;
  std::string lineText;
};

inline std::string narrowText(BSTR text) {
  return text ? jscript::toEngineText(std::u16string_view(reinterpret_cast<const char16_t*>(text), SysStringLen(text)))
              : std::string();
}

class TestSite final : public IActiveScriptSite {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, this}, {&IID_IActiveScriptSite, this}});
  }
  // Lives on the test's stack.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetLCID(LCID* lcid) override { return lcid ? (*lcid = LOCALE_SYSTEM_DEFAULT, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** unknown, ITypeInfo** info) override {
    if (unknown) *unknown = nullptr;
    if (info) *info = nullptr;
    auto found = items.find(std::u16string(reinterpret_cast<const char16_t*>(name)));
    if (found == items.end()) return TYPE_E_ELEMENTNOTFOUND;
    if ((mask & SCRIPTINFO_IUNKNOWN) && unknown) {
      *unknown = found->second;
      found->second->AddRef();
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR* version) override {
    if (version) *version = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE state) override {
    states.push_back(state);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* error) override {
    ReportedError seen;
    EXCEPINFO exception{};
    error->GetExceptionInfo(&exception);
    seen.source = narrowText(exception.bstrSource);
    seen.description = narrowText(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    DWORD context = 0;
    LONG character = 0;
    error->GetSourcePosition(&context, &seen.line, &character);
    BSTR text = nullptr;
    error->GetSourceLineText(&text);
    seen.lineText = narrowText(text);
    SysFreeString(text);
    errors.push_back(seen);
    return answer;
  }
  HRESULT STDMETHODCALLTYPE OnEnterScript() override {
    ++entered;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnLeaveScript() override {
    ++left;
    return S_OK;
  }

  std::map<std::u16string, IUnknown*> items;
  std::vector<ReportedError> errors;
  std::vector<SCRIPTSTATE> states;
  HRESULT answer = S_OK;
  int entered = 0;
  int left = 0;
};

// The engine created by its ProgID with the test site, started; the test
// server registered beside it. The engine itself needs no registration.
class EngineFixture : public TestServerFixture {
 protected:
  void SetUp() override {
    TestServerFixture::SetUp();
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(ole(u"JScript"), &clsid), S_OK);
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript, reinterpret_cast<void**>(&engine_)),
              S_OK);
    ASSERT_EQ(engine_->QueryInterface(IID_IActiveScriptParse, reinterpret_cast<void**>(&parse_)), S_OK);
    ASSERT_EQ(engine_->SetScriptSite(&site_), S_OK);
    ASSERT_EQ(parse_->InitNew(), S_OK);
  }
  void TearDown() override {
    if (parse_) parse_->Release();
    if (engine_) {
      engine_->Close();
      engine_->Release();
    }
    for (auto& [name, object] : site_.items) object->Release();
    TestServerFixture::TearDown();
  }
  void start() { ASSERT_EQ(engine_->SetScriptState(SCRIPTSTATE_CONNECTED), S_OK); }
  // Adds a new test server object under the name.
  IDispatch* addObject(const char16_t* name) {
    IDispatch* object = create();
    site_.items[name] = object;
    EXPECT_EQ(engine_->AddNamedItem(ole(name), SCRIPTITEM_ISVISIBLE), S_OK);
    return object;
  }
  HRESULT parse(const char* code, ULONG startingLine = 0) {
    const std::u16string wide = jscript::fromEngineText(code);
    return parse_->ParseScriptText(ole(wide), nullptr, nullptr, nullptr, 0, startingLine, 0, nullptr, nullptr);
  }
  // The value of an expression as text ("" and a failure when it fails).
  std::string evaluate(const char* expression) {
    const std::u16string wide = jscript::fromEngineText(expression);
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr = parse_->ParseScriptText(ole(wide), nullptr, nullptr, nullptr, 0, 0, SCRIPTTEXT_ISEXPRESSION,
                                               &result, nullptr);
    EXPECT_EQ(hr, S_OK) << expression;
    std::string text;
    if (result.vt != VT_EMPTY && SUCCEEDED(VariantChangeType(&result, &result, 0, VT_BSTR))) text = narrowText(result.bstrVal);
    VariantClear(&result);
    return text;
  }

  IActiveScript* engine_ = nullptr;
  IActiveScriptParse* parse_ = nullptr;
  TestSite site_;
};
