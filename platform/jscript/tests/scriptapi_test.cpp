// The engine's dispatch object of the script's global names and its
// scriptlets: functions called and variables read and written by name from
// C++, a scriptlet made the handler function of an item's event.
#include "scriptsite.h"

namespace {

using ScriptApi = EngineFixture;

DISPID idOf(IDispatch* object, const char16_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(ole(name))};
  DISPID id = DISPID_UNKNOWN;
  return SUCCEEDED(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id)) ? id : DISPID_UNKNOWN;
}

HRESULT call(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> args, VARIANT* result) {
  DISPPARAMS params{};
  std::vector<VARIANT> stored(args.rbegin(), args.rend());  // OLE keeps the last argument first
  params.cArgs = static_cast<UINT>(stored.size());
  params.rgvarg = stored.empty() ? nullptr : stored.data();
  DISPID named = DISPID_PROPERTYPUT;
  if (flags == DISPATCH_PROPERTYPUT) {
    params.cNamedArgs = 1;
    params.rgdispidNamedArgs = &named;
  }
  return object->Invoke(id, IID_NULL, 0, flags, &params, result, nullptr, nullptr);
}

VARIANT number(LONG n) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = n;
  return v;
}

}  // namespace

TEST_F(ScriptApi, TheScriptDispatchCallsFunctionsAndReachesVariables) {
  start();
  ASSERT_EQ(parse("function twice(n) { return n * 2; }\r\nvar total = 5;"), S_OK);
  IDispatch* script = nullptr;
  ASSERT_EQ(engine_->GetScriptDispatch(nullptr, &script), S_OK);
  const DISPID twice = idOf(script, u"twice"), total = idOf(script, u"total");
  EXPECT_NE(twice, DISPID_UNKNOWN);
  EXPECT_NE(total, twice);
  EXPECT_EQ(idOf(script, u"missing"), DISPID_UNKNOWN);
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(call(script, twice, DISPATCH_METHOD, {number(21)}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_I4);
  EXPECT_EQ(result.lVal, 42);
  ASSERT_EQ(call(script, total, DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_EQ(result.lVal, 5);
  ASSERT_EQ(call(script, total, DISPATCH_PROPERTYPUT, {number(7)}, nullptr), S_OK);
  EXPECT_EQ(evaluate("total + 1"), "8");
  // A function that fails reports to the site like any script.
  ASSERT_EQ(parse("function broken() { return nothing.here; }"), S_OK);
  EXPECT_EQ(call(script, idOf(script, u"broken"), DISPATCH_METHOD, {}, &result), S_OK);
  ASSERT_EQ(site_.errors.size(), 1u);
  EXPECT_EQ(site_.errors[0].source, "JScript runtime error");
  // The engine closed: the object stays usable and answers so.
  engine_->Close();
  EXPECT_EQ(call(script, twice, DISPATCH_METHOD, {number(1)}, &result), E_UNEXPECTED);
  script->Release();
}

TEST_F(ScriptApi, AScriptletBecomesTheHandlerFunctionOfAnEvent) {
  IDispatch* object = addObject(u"Obj");
  start();
  BSTR name = nullptr;
  ASSERT_EQ(parse_->AddScriptlet(nullptr, ole(u"Obj.Name = 'ticked ' + arguments[0];"), ole(u"Obj"), nullptr,
                                 ole(u"Ticked"), nullptr, 0, 0, 0, &name, nullptr),
            S_OK);
  EXPECT_EQ(narrowText(name), "Obj_Ticked");
  SysFreeString(name);
  ASSERT_EQ(parse_->AddScriptlet(ole(u"onTick"), ole(u"Obj.Count = arguments[0];"), ole(u"Obj"), nullptr,
                                 ole(u"Other"), nullptr, 0, 0, 0, &name, nullptr),
            S_OK);
  EXPECT_EQ(narrowText(name), "onTick");
  SysFreeString(name);
  EXPECT_EQ(parse("Obj_Ticked(3); onTick(9);"), S_OK);
  DISPPARAMS none{};
  VARIANT value;
  VariantInit(&value);
  ASSERT_EQ(object->Invoke(KYTEST_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr), S_OK);
  EXPECT_EQ(narrowText(value.bstrVal), "ticked 3");
  VariantClear(&value);
  // A name that is no identifier is refused.
  EXPECT_EQ(parse_->AddScriptlet(ole(u"not a name"), ole(u";"), ole(u"Obj"), nullptr, ole(u"Ticked"), nullptr, 0, 0,
                                 0, nullptr, nullptr),
            E_INVALIDARG);
}
