// The JScript engine as a host sees it: created by its ProgID, states,
// named items reached through IDispatch, errors reported to the site with
// line and text, and the host's answer deciding whether the script stops.
#include "scriptsite.h"

namespace {

using Engine = EngineFixture;

// A property of a test server object read from C++.
std::string propertyText(IDispatch* object, DISPID id) {
  DISPPARAMS none{};
  VARIANT value;
  VariantInit(&value);
  EXPECT_EQ(object->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr), S_OK);
  VariantChangeType(&value, &value, 0, VT_BSTR);
  std::string text = value.vt == VT_BSTR ? narrowText(value.bstrVal) : "";
  VariantClear(&value);
  return text;
}

TEST_F(Engine, EvaluatesExpressions) {
  start();
  const struct {
    const char* expression;
    const char* value;
  } cases[] = {
      {"1 + 2", "3"},
      {"'ab' + 'cd'", "abcd"},
      {"7 / 2", "3.5"},
      {"[1, 2, 3].length", "3"},
      {"'\\u00e9t\\u00e9'.toUpperCase()", "\xC3\x89T\xC3\x89"},
  };
  for (const auto& c : cases) EXPECT_EQ(evaluate(c.expression), c.value) << c.expression;
}

TEST_F(Engine, StatesReachTheSite) {
  start();
  ASSERT_EQ(engine_->SetScriptState(SCRIPTSTATE_DISCONNECTED), S_OK);
  ASSERT_EQ(engine_->Close(), S_OK);
  const std::vector<SCRIPTSTATE> expected{SCRIPTSTATE_INITIALIZED, SCRIPTSTATE_CONNECTED, SCRIPTSTATE_DISCONNECTED,
                                          SCRIPTSTATE_CLOSED};
  EXPECT_EQ(site_.states, expected);
  EXPECT_EQ(parse("var x = 1;"), E_UNEXPECTED);
}

TEST_F(Engine, TextGivenBeforeStartRunsWhenStarted) {
  IDispatch* object = addObject(u"Obj");
  ASSERT_EQ(parse("Obj.Name = 'early';"), S_OK);
  EXPECT_EQ(propertyText(object, KYTEST_NAME), "");
  start();
  EXPECT_EQ(propertyText(object, KYTEST_NAME), "early");
}

TEST_F(Engine, ScriptsReadWriteAndCallNamedObjects) {
  IDispatch* object = addObject(u"Obj");
  start();
  ASSERT_EQ(parse("Obj.Name = 'caf\xC3\xA9';\r\nObj.Count = Obj.Add(40, 2);\r\nObj.Value = Obj.Name + '!';"), S_OK);
  EXPECT_EQ(propertyText(object, KYTEST_NAME), "caf\xC3\xA9");
  EXPECT_EQ(propertyText(object, KYTEST_COUNT), "42");
  EXPECT_EQ(propertyText(object, KYTEST_VALUE), "caf\xC3\xA9!");
  EXPECT_EQ(evaluate("Obj.Add(1.25, 2)"), "3.25");
  EXPECT_EQ(evaluate("typeof Obj.Add"), "function");
  EXPECT_EQ(evaluate("('Count' in Obj) ? 'yes' : 'no'"), "yes");
  EXPECT_EQ(evaluate("('Nothing' in Obj) ? 'yes' : 'no'"), "no");
  // An object travels back into a host call as VT_DISPATCH.
  EXPECT_EQ(parse("Obj.Value = Obj;"), S_OK);
  EXPECT_EQ(evaluate("Obj.Value.Count"), "42");
}

TEST_F(Engine, ErrorsReachTheSiteWithLineAndText) {
  addObject(u"Obj");
  start();
  const struct {
    const char* code;
    ULONG startingLine;
    const char* source;
    const char* description;  // a part of it
    ULONG line;
    const char* lineText;
  } cases[] = {
      {"var a = 1;\r\nmissing();\r\nvar b = 2;", 0, "JScript runtime error", "missing", 1, "missing();"},
      {"var a = 1;\r\nvar b = ;", 0, "JScript compilation error", "", 1, "var b = ;"},
      {"Obj.Fail(-2147467259, 'Broken on purpose');", 0, "JScript runtime error", "Broken on purpose", 0,
       "Obj.Fail(-2147467259, 'Broken on purpose');"},
      {"x = 1;\nObj.Missing = 3;", 4, "JScript runtime error", "Missing", 5, "Obj.Missing = 3;"},
      {"throw 'plain text';", 0, "JScript runtime error", "plain text", 0, "throw 'plain text';"},
  };
  for (const auto& c : cases) {
    site_.errors.clear();
    EXPECT_EQ(parse(c.code, c.startingLine), S_OK) << c.code;
    ASSERT_EQ(site_.errors.size(), 1u) << c.code;
    const ReportedError& error = site_.errors[0];
    EXPECT_EQ(error.source, c.source) << c.code;
    EXPECT_NE(error.description.find(c.description), std::string::npos) << error.description;
    EXPECT_FALSE(error.description.empty()) << c.code;
    EXPECT_EQ(error.line, c.line) << c.code;
    EXPECT_EQ(error.lineText, c.lineText) << c.code;
  }
  EXPECT_EQ(site_.entered, site_.left);
}

TEST_F(Engine, TheSiteDecidesWhetherAnErrorStopsTheScript) {
  start();
  ASSERT_EQ(parse("var kept = 5;"), S_OK);
  site_.answer = E_FAIL;
  EXPECT_EQ(parse("kept = 6; broken();"), SCRIPT_E_REPORTED);
  site_.answer = S_OK;
  EXPECT_EQ(parse("kept = 7; broken();"), S_OK);
  // The engine carries on with what the script did before the error.
  EXPECT_EQ(evaluate("kept"), "7");
  EXPECT_EQ(site_.errors.size(), 2u);
}

TEST_F(Engine, RefusesNamesThatAreNoIdentifiers) {
  for (const char16_t* name : {u"", u"1abc", u"a b", u"a-b"})
    EXPECT_EQ(engine_->AddNamedItem(ole(name), SCRIPTITEM_ISVISIBLE), E_INVALIDARG);
  EXPECT_EQ(engine_->AddNamedItem(ole(u"_ok$1"), SCRIPTITEM_ISVISIBLE), S_OK);
}

TEST_F(Engine, AnItemTheHostDoesNotSupplyIsAnError) {
  ASSERT_EQ(engine_->AddNamedItem(ole(u"Ghost"), SCRIPTITEM_ISVISIBLE), S_OK);
  start();
  EXPECT_EQ(parse("Ghost.Run();"), S_OK);
  ASSERT_EQ(site_.errors.size(), 1u);
  EXPECT_NE(site_.errors[0].description.find("Ghost"), std::string::npos);
}

TEST_F(Engine, ReturningToInitializedForgetsTheScriptButKeepsItems) {
  IDispatch* object = addObject(u"Obj");
  start();
  ASSERT_EQ(parse("var gone = 1;"), S_OK);
  ASSERT_EQ(engine_->SetScriptState(SCRIPTSTATE_INITIALIZED), S_OK);
  start();
  EXPECT_EQ(evaluate("typeof gone"), "undefined");
  ASSERT_EQ(parse("Obj.Count = 9;"), S_OK);
  EXPECT_EQ(propertyText(object, KYTEST_COUNT), "9");
}

}  // namespace
