// COM object fields and their events against the layer's test server:
// creation by ProgID, calls, failures as status texts, identity, and
// event sinks serialised with the function, queued while busy, unadvised.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../../../../platform/ole/testserver/testserverfixture.h"
#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyCharFld.h"
#include "KyComEvents.h"
#include "KyComFld.h"
#include "KyFunctionData.h"
#include "KyIntegerFld.h"
#include "KyVariable.h"

namespace {

class Function : public KyFunctionData {
 public:
  Function() : KyFunctionData(new KyLocalVariable, "", "ComFn", "ComFn", 721, 0) {}
  // What the call manager's SetReturnedStatus wrote.
  std::string returned() { return static_cast<const char*>(GetLocals()->m_CallStatus); }
};

// The generated shape: a field over the test server's dispatch interface,
// which reports the result of a call it made.
class ServerField : public KyComFldOf<IDispatch> {
 public:
  ServerField() : KyComFldOf(IID_IKyTestServer) {}
  HRESULT call(DISPID id, WORD flags, std::vector<VARIANT> args, VARIANT* result, KyFunctionData* pFunction) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) params = DISPPARAMS{reversed.data(), &named, 1, 1};
    m_hrLast = Get()->Invoke(id, IID_NULL, 0, flags, &params, result, nullptr, nullptr);
    if (FAILED(m_hrLast)) takeErrorObject();
    ProcessHResult(pFunction);
    return m_hrLast;
  }
};

VARIANT number(LONG n) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = n;
  return v;
}
VARIANT text(const char16_t* s) {
  VARIANT v;
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(s);
  return v;
}

class ComFields : public TestServerFixture {
 protected:
  void SetUp() override {
    TestServerFixture::SetUp();
    kytest::writeFile(ini_, "");
    context_ = app_.CreateContext();
    function_ = std::make_unique<Function>();
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(u"KyTest.Server", &clsid), S_OK);
    field_.SetCLSID(clsid);
  }
  void TearDown() override {
    field_.CleanUp();
    field_.ReleaseInterface();
    function_.reset();
    app_.EndContext();
    TestServerFixture::TearDown();
  }
  LONG property(DISPID id) {
    VARIANT result;
    VariantInit(&result);
    field_.call(id, DISPATCH_PROPERTYGET, {}, &result, function_.get());
    return result.lVal;
  }

  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  kytest::TestApp app_{ini_};
  KyAppContext* context_ = nullptr;
  std::unique_ptr<Function> function_;
  ServerField field_;
};

TEST_F(ComFields, CreatesByProgIdAndCallsMethodsAndProperties) {
  ASSERT_EQ(field_.CreateInstance("ComFn", "Server", function_.get()), S_OK);
  EXPECT_EQ(function_->returned(), " ");
  ASSERT_TRUE(field_.CheckInterface());
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(field_.call(KYTEST_ADD, DISPATCH_METHOD, {number(2), number(40)}, &result, function_.get()), S_OK);
  EXPECT_DOUBLE_EQ(result.dblVal, 42.0);
  ASSERT_EQ(field_.call(KYTEST_COUNT, DISPATCH_PROPERTYPUT, {number(9)}, nullptr, function_.get()), S_OK);
  EXPECT_EQ(property(KYTEST_COUNT), 9);
  EXPECT_EQ(field_.GetFunctionName(), "ComFn");
  EXPECT_NE(field_.GetCreationTime(), 0);
}

TEST_F(ComFields, FailuresBecomeStatusTexts) {
  ASSERT_EQ(field_.CreateInstance("ComFn", "Server", function_.get()), S_OK);
  VARIANT description = text(u"Printer on fire");
  EXPECT_EQ(field_.call(KYTEST_FAIL, DISPATCH_METHOD, {number(E_ABORT), description}, nullptr, function_.get()),
            E_ABORT);
  VariantClear(&description);
  EXPECT_EQ(function_->returned(), "Printer on fire");  // the error object's description
  IErrorInfo* left = nullptr;
  EXPECT_EQ(GetErrorInfo(0, &left), S_FALSE);  // taken and released

  // The object refuses the interface: the system's or the library's text.
  ServerField refused;
  refused.SetIID(IID_IClassFactory);
  refused.SetCLSID(CLSID_KyTestServer);
  EXPECT_EQ(refused.CreateInstance("ComFn", "Other", function_.get()), E_NOINTERFACE);
  EXPECT_FALSE(refused.CheckInterface());
  const std::string status = function_->returned();
  EXPECT_FALSE(status.empty());
  EXPECT_NE(status, " ");
  EXPECT_NE(status.find("interface"), std::string::npos) << status;

  ServerField missing;
  missing.SetCLSID(IID_IDispatch);  // nobody's class
  EXPECT_EQ(missing.CreateInstance("ComFn", "Missing", function_.get()), REGDB_E_CLASSNOTREG);
  EXPECT_FALSE(function_->returned().empty());
  EXPECT_NE(function_->returned(), " ");
}

TEST_F(ComFields, CrackHResultGivesTheErrorObjectsTexts) {
  ASSERT_EQ(field_.CreateInstance("ComFn", "Server", function_.get()), S_OK);
  VARIANT description = text(u"Paper jam");
  VARIANT result;
  std::vector<VARIANT> reversed = {description, number(E_FAIL)};
  DISPPARAMS params{reversed.data(), nullptr, 2, 0};
  ASSERT_EQ(field_->Invoke(KYTEST_FAIL, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), E_FAIL);
  VariantClear(&description);
  KyLongFld code, second;
  KyCharFld source, message, help;
  field_.CrackHResult(code, second, source, message, help);
  EXPECT_STREQ(message, "Paper jam");
  EXPECT_STREQ(source, "KyTest.Server");
  IErrorInfo* left = nullptr;
  EXPECT_EQ(GetErrorInfo(0, &left), S_FALSE);
}

TEST_F(ComFields, FieldsOfOneObjectCompareEqual) {
  ServerField empty1, empty2;
  EXPECT_TRUE(empty1 == empty2);
  ASSERT_EQ(field_.CreateInstance("ComFn", "Server", function_.get()), S_OK);
  KyComFldOf<IConnectionPointContainer> container(IID_IConnectionPointContainer);
  container.CastFrom(field_.GetInterface());
  ASSERT_TRUE(container.CheckInterface());
  EXPECT_NE(static_cast<void*>(container.GetInterface()), static_cast<void*>(field_.GetInterface()));
  EXPECT_TRUE(container == field_);
  EXPECT_FALSE(empty1 == field_);
  // Setting another pointer of the held object keeps the field as it is.
  IDispatch* before = field_.Get();
  field_.SetInterface(container.GetInterface());
  EXPECT_EQ(field_.Get(), before);
}

TEST_F(ComFields, PointerFieldsAndTheTableShowTheObject) {
  ServerField none;
  KyComPtrFld nothing(none);
  char zero[32];
  std::snprintf(zero, sizeof zero, "%p", static_cast<void*>(nullptr));
  EXPECT_STREQ(nothing.strGetText(), zero);
  ASSERT_EQ(field_.CreateInstance("ComFn", "Server", function_.get()), S_OK);
  KyComPtrFld pointer(field_);
  const std::string shown = static_cast<const char*>(pointer.strGetText());
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<void*>(field_.GetInterface()));
  EXPECT_EQ(shown.rfind(std::string(address) + ", ComFn, ", 0), 0u) << shown;
  field_.AddToGlobalTable();
  const KyString key = field_.GetTableKey();
  ASSERT_EQ(context_->m_ComObjects.count(key), 1u);
  // The key is the whole address of the entry.
  EXPECT_EQ(std::stoull(std::string(key).substr(2), nullptr, 16),
            reinterpret_cast<uintptr_t>(context_->m_ComObjects[key]));
  EXPECT_EQ(context_->m_ComObjects[key]->GetInterface(), field_.GetInterface());
  field_.RemoveFromGlobalTable();
  EXPECT_EQ(context_->m_ComObjects.count(key), 0u);
}

// The function's generated COM handler: records the events it ran and
// answers Changed through the fields of its variable.
class Handler : public KyComHandler {
 public:
  using KyComHandler::KyComHandler;
  void EventHandler() override {
    const int event = GetFunctionData()->GetCurrentLogicalEvent();
    events.push_back(event);
    if (event == 10) {
      seenText = static_cast<const char*>(*text);
      text->PutText("answered");
      count->SetValue(count->GetValue() + 5);
    }
  }
  std::vector<int> events;
  std::string seenText;
  KyCharFld* text = nullptr;
  KyLongFld* count = nullptr;
};

class ComEvents : public ComFields {
 protected:
  void SetUp() override {
    ComFields::SetUp();
    ASSERT_EQ(field_.CreateInstance("ComFn", "Server", function_.get()), S_OK);
    handler_ = std::make_unique<Handler>(function_.get());
    handler_->text = &text_;
    handler_->count = &count_;
    variable_.GetRTDIFldArray()->Set(0, new KyRTDIVarFldMap{&text_, &textInfo_, 0, 0});
    variable_.GetRTDIFldArray()->Set(1, new KyRTDIVarFldMap{&count_, &countInfo_, 0, 0});
  }
  void TearDown() override {
    field_.UnMapEvents();
    handler_.reset();
    ComFields::TearDown();
  }
  std::string raiseChanged(const char16_t* value) {
    VARIANT result;
    VariantInit(&result);
    VARIANT argument = text(value);
    field_.call(KYTEST_RAISECHANGED, DISPATCH_METHOD, {argument}, &result, function_.get());
    VariantClear(&argument);
    std::string answer(result.bstrVal, result.bstrVal + SysStringLen(result.bstrVal));
    VariantClear(&result);
    return answer;
  }
  LONG raiseTicked(LONG n) {
    VARIANT result;
    VariantInit(&result);
    field_.call(KYTEST_RAISETICKED, DISPATCH_METHOD, {number(n)}, &result, function_.get());
    return result.lVal;
  }

  std::unique_ptr<Handler> handler_;
  KyVariable variable_;
  KyCharFld text_;
  KyLongFld count_;
  KyRTDIFld textInfo_{KyRTDI::Field, 1, "Text", "Text"};
  KyRTDIFld countInfo_{KyRTDI::Field, 2, "Count", "Count"};
};

TEST_F(ComEvents, ArgumentsReachTheFieldsAndByReferenceOnesGoBack) {
  textInfo_.m_cType = 'c';
  countInfo_.m_cType = 'n';
  field_.MapEvent(function_.get(), DIID_KyTestEvents, KYTEST_EVENT_CHANGED, 10, &variable_);
  EXPECT_EQ(raiseChanged(u"hello"), "answered");
  EXPECT_EQ(handler_->seenText, "hello");
  EXPECT_EQ(property(KYTEST_COUNT), 5);  // the count came back by reference
  EXPECT_EQ(handler_->events, (std::vector<int>{10}));
  EXPECT_EQ(function_->GetCurrentLogicalEvent(), 0);  // restored
}

TEST_F(ComEvents, OneConnectionPerInterfaceFirstMappingWins) {
  field_.MapEvent(function_.get(), DIID_KyTestEvents, KYTEST_EVENT_TICKED, 20, nullptr);
  field_.MapEvent(function_.get(), DIID_KyTestEvents, KYTEST_EVENT_TICKED, 21, nullptr);  // ignored
  field_.MapEvent(function_.get(), DIID_KyTestEvents, KYTEST_EVENT_CHANGED, 10, nullptr);
  field_.MapEvent(function_.get(), IID_IKyTestServer, 99, 30, nullptr);  // no such source: cookie 0
  ASSERT_NE(field_.GetEventManager(), nullptr);
  EXPECT_EQ(field_.GetEventManager()->GetSiteCount(), 2);
  EXPECT_NE(field_.GetEventManager()->GetSite(0)->GetCookie(), 0u);
  EXPECT_EQ(field_.GetEventManager()->GetSite(1)->GetCookie(), 0u);
  EXPECT_EQ(property(KYTEST_ADVISED), 1);
  EXPECT_EQ(raiseTicked(3), 1);
  raiseChanged(u"x");  // mapped without a variable: fired, nothing copied
  EXPECT_EQ(handler_->events, (std::vector<int>{20, 10}));
  EXPECT_EQ(handler_->seenText, "");  // the argument went nowhere
}

TEST_F(ComEvents, UnmappedIdsFireNothingAndUnadviseLeavesNoSink) {
  field_.MapEvent(function_.get(), DIID_KyTestEvents, KYTEST_EVENT_CHANGED, 10, nullptr);
  EXPECT_EQ(raiseTicked(1), 1);  // delivered to the sink, which maps no Ticked
  EXPECT_TRUE(handler_->events.empty());
  field_.UnMapEvents();
  EXPECT_EQ(property(KYTEST_ADVISED), 0);
  EXPECT_EQ(raiseTicked(1), 0);
  EXPECT_TRUE(handler_->events.empty());
}

TEST_F(ComEvents, EventsWhileBusyWaitAndRunInOrder) {
  field_.MapEvent(function_.get(), DIID_KyTestEvents, KYTEST_EVENT_TICKED, 20, nullptr);
  field_.MapEvent(function_.get(), DIID_KyTestEvents, KYTEST_EVENT_CHANGED, 10, nullptr);
  ++context_->m_iBusyCount;  // a modal box is up
  raiseTicked(1);
  raiseChanged(u"y");
  EXPECT_TRUE(handler_->events.empty());
  EXPECT_EQ(handler_->GetQueuedCount(), 2u);
  --context_->m_iBusyCount;
  // The thread's loop runs them once it is free.
  for (int i = 0; i < 200 && handler_->GetQueuedCount() > 0; ++i) {
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    else Sleep(5);
  }
  EXPECT_EQ(handler_->events, (std::vector<int>{20, 10}));
}

// Frees the function from the thread's loop.
KyFunctionData* pendingFunction = nullptr;
std::vector<int>* order = nullptr;
void CALLBACK signalLater(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  order->push_back(-1);
  pendingFunction->ReleaseIdle();
}

TEST_F(ComEvents, AnEventWaitsForTheFunctionWhileTheLoopRuns) {
  field_.MapEvent(function_.get(), DIID_KyTestEvents, KYTEST_EVENT_TICKED, 20, nullptr);
  ASSERT_NE(function_->GetEvent(), nullptr);
  ASSERT_TRUE(function_->AcquireIdle());  // another event of the function runs
  pendingFunction = function_.get();
  order = &handler_->events;
  SetTimer(nullptr, 0, 30, signalLater);
  raiseTicked(1);
  // The timer's message was dispatched while the event waited; the event
  // ran only once the function was free, and left it free.
  EXPECT_EQ(handler_->events, (std::vector<int>{-1, 20}));
  EXPECT_EQ(WaitForSingleObject(function_->GetEvent(), 0), WAIT_OBJECT_0);
}

}  // namespace
