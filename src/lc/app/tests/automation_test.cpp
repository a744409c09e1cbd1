// The runner's automation objects in process: App's Function gives a
// function object whose Call runs a function library's function with an
// array of inputs and an array of outputs (the automation parameter
// stream), the four type checks of Call with their exceptions before
// anything runs, the library and implementation names a call uses, the
// environment key, and the context each entry makes current.
#include <gtest/gtest.h>

#include <string>

#include "KyOLEApp.h"
#include "callenv.h"

namespace {

std::u16string wide(const char* text) { return std::u16string(text, text + std::strlen(text)); }

class Automation : public kytest::CallEnv {
 protected:
  void SetUp() override {
    kytest::CallEnv::SetUp();
    app_->EndContext();  // the App object makes its own
    automation_ = new KyOLEApp(app_.get());
  }
  void TearDown() override {
    automation_->Release();
    context_ = app_->CreateContext();  // for the environment's own end
    kytest::CallEnv::TearDown();
  }
  DISPID id(IDispatch* object, const char* name) {
    std::u16string text = wide(name);
    LPOLESTR names[] = {text.data()};
    DISPID dispid = DISPID_UNKNOWN;
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, 0, &dispid), S_OK) << name;
    return dispid;
  }
  // Invokes a member with arguments given in order (they lie reversed).
  HRESULT invoke(IDispatch* object, const char* name, WORD flags, std::vector<VARIANT> args, VARIANT* result,
                 EXCEPINFO* exception = nullptr) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), flags == DISPATCH_PROPERTYPUT ? &put : nullptr,
                      static_cast<UINT>(reversed.size()), flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
    EXCEPINFO ignored{};
    return object->Invoke(id(object, name), IID_NULL, 0, flags, &params, result, exception ? exception : &ignored,
                          nullptr);
  }
  static VARIANT text(const char* value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    std::u16string w = wide(value);
    v.bstrVal = SysAllocString(w.c_str());
    return v;
  }
  // A function object for the library and implementation.
  IDispatch* function(const char* file, const char* implementation) {
    VARIANT result;
    VariantInit(&result);
    std::vector<VARIANT> args = {text(file), text(implementation)};
    EXPECT_EQ(invoke(automation_, "Function", DISPATCH_METHOD, args, &result), S_OK);
    for (VARIANT& a : args) VariantClear(&a);
    EXPECT_EQ(result.vt, VT_DISPATCH);
    return result.pdispVal;
  }
  static SAFEARRAY* texts(std::vector<const char*> values) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 1, static_cast<ULONG>(values.size()));
    for (LONG i = 0; i < static_cast<LONG>(values.size()); ++i) {
      VARIANT v = text(values[i]);
      LONG index = i + 1;
      SafeArrayPutElement(array, &index, &v);
      VariantClear(&v);
    }
    return array;
  }
  static std::string element(SAFEARRAY* array, LONG index) {
    VARIANT v;
    VariantInit(&v);
    SafeArrayGetElement(array, &index, &v);
    VARIANT s;
    VariantInit(&s);
    VariantChangeType(&s, &v, 0, VT_BSTR);
    std::string result;
    for (UINT i = 0; s.vt == VT_BSTR && i < SysStringLen(s.bstrVal); ++i) result += static_cast<char>(s.bstrVal[i]);
    VariantClear(&v);
    VariantClear(&s);
    return result;
  }
  static VARIANT byReference(SAFEARRAY** array, VARTYPE vt = VT_ARRAY | VT_BYREF | VT_VARIANT) {
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    if (vt & VT_BYREF)
      v.pparray = array;
    else
      v.parray = *array;
    return v;
  }

  KyOLEApp* automation_ = nullptr;
};

TEST_F(Automation, CallRunsTheFunctionWithParametersInAndOut) {
  IDispatch* fn = function("testfn", "TestFn");
  SAFEARRAY* in = texts({"12", "34"});
  SAFEARRAY* out = SafeArrayCreateVector(VT_VARIANT, 1, 1);
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(invoke(fn, "Call", DISPATCH_METHOD, {byReference(&in), byReference(&out)}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_ERROR);
  EXPECT_EQ(result.scode, S_OK);
  EXPECT_EQ(element(out, 1), "1234");
  EXPECT_EQ(element(in, 1), "12");
  EXPECT_EQ(automation_->GetContext()->m_psaInput, nullptr);  // the arrays are the caller's again
  SafeArrayDestroy(in);
  SafeArrayDestroy(out);
  fn->Release();
}

TEST_F(Automation, CallChecksBothArraysBeforeAnythingRuns) {
  IDispatch* fn = function("testfn", "TestFn");
  SAFEARRAYBOUND bounds[2] = {{1, 1}, {1, 1}};
  SAFEARRAY* good = SafeArrayCreateVector(VT_VARIANT, 1, 2);
  SAFEARRAY* square = SafeArrayCreate(VT_VARIANT, 2, bounds);
  SAFEARRAY* out = SafeArrayCreateVector(VT_VARIANT, 1, 1);
  struct Case {
    VARIANT in, out;
    WORD code;
    const char* text;
  } cases[] = {
      {byReference(&good, VT_ARRAY | VT_VARIANT), byReference(&square, VT_ARRAY | VT_VARIANT), 1001,
       "Type Mismatch in InParms for KyRunOLE.Function.Call() Method. Pass an array by reference"},
      {byReference(&square), byReference(&out), 1002,
       "Type Mismatch in InParams for KyRunOLE.Function.Call() Method. Pass a one-dimensional array"},
      {byReference(&good), byReference(&out, VT_ARRAY | VT_VARIANT), 1001,
       "Type Mismatch in OutParms for KyRunOLE.Function.Call() Method. Pass an array by reference"},
      {byReference(&good), byReference(&square), 1002,
       "Type Mismatch in OutParams for KyRunOLE.Function.Call() Method. Pass a one-dimensional array"},
  };
  for (Case& c : cases) {
    EXCEPINFO exception{};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(invoke(fn, "Call", DISPATCH_METHOD, {c.in, c.out}, &result, &exception), DISP_E_EXCEPTION);
    EXPECT_EQ(exception.wCode, c.code);
    std::string description;
    for (UINT i = 0; i < SysStringLen(exception.bstrDescription); ++i)
      description += static_cast<char>(exception.bstrDescription[i]);
    EXPECT_EQ(description, c.text);
    SysFreeString(exception.bstrDescription);
  }
  EXPECT_EQ(element(out, 1), "");  // nothing ran
  for (SAFEARRAY* a : {good, square, out}) SafeArrayDestroy(a);
  fn->Release();
}

TEST_F(Automation, NamesOfTheCallComeFromTheFunctionObject) {
  struct Case {
    const char *file, *implementation, *library, *called;
  } cases[] = {{"app", "", "APP.DLL", "APP"},
               {"testfn", "TestFn", "TESTFN.DLL", "TestFn"},
               {"lib.x", "", "LIB.X", "LIB"},
               {"dir/mylib", "Main", "DIR/MYLIB.DLL", "Main"},
               {"a.b/c", "", "A.B/C", "C"}};
  for (const Case& c : cases) {
    const auto [library, called] = KyAutomationCallNames(c.file, c.implementation);
    EXPECT_EQ(library, c.library) << c.file;
    EXPECT_EQ(called, c.called) << c.file;
  }
}

TEST_F(Automation, PropertiesKeepTheirValuesAndEntriesUseTheAppsContext) {
  IDispatch* fn = function("one", "Two");
  VARIANT value;
  VariantInit(&value);
  ASSERT_EQ(invoke(fn, "fileNME", DISPATCH_PROPERTYGET, {}, &value), S_OK);
  EXPECT_EQ(value.vt, VT_BSTR);
  VariantClear(&value);
  VARIANT changed = text("three");
  ASSERT_EQ(invoke(fn, "implementationnme", DISPATCH_PROPERTYPUT, {changed}, nullptr), S_OK);
  VariantClear(&changed);
  EXPECT_EQ(static_cast<KyOLEFunction*>(fn)->GetImplementationName(), "three");
  EXPECT_EQ(static_cast<KyOLEFunction*>(fn)->GetFileName(), "one");

  app_->SetContext(nullptr);  // another context, or none, is current meanwhile
  VARIANT key = text("PROD");
  ASSERT_EQ(invoke(automation_, "environmentKey", DISPATCH_PROPERTYPUT, {key}, nullptr), S_OK);
  VariantClear(&key);
  EXPECT_EQ(KyAppContext::Current(), automation_->GetContext());
  EXPECT_EQ(automation_->GetEnvironmentKey(), "PROD");
  DISPID unknown = 0;
  std::u16string name = u"NoSuchMember";
  LPOLESTR names[] = {name.data()};
  EXPECT_EQ(automation_->GetIDsOfNames(IID_NULL, names, 1, 0, &unknown), DISP_E_UNKNOWNNAME);
  fn->Release();
}

}  // namespace
