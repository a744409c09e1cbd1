// IDispatch calls on the test server: names, properties, methods with
// by-reference outputs, error objects, and events through connection points.
#include <ocidl.h>

#include <vector>

#include "../../testserver/testserverfixture.h"

namespace {

class Dispatch : public TestServerFixture {
 protected:
  void SetUp() override {
    TestServerFixture::SetUp();
    object_ = create();
    ASSERT_NE(object_, nullptr);
  }
  void TearDown() override {
    if (object_) object_->Release();
    TestServerFixture::TearDown();
  }

  HRESULT call(DISPID id, WORD flags, std::vector<VARIANT> args, VARIANT* result, EXCEPINFO* exception = nullptr) {
    // Arguments are given first to last; Invoke takes them last first.
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) {
      params.rgdispidNamedArgs = &named;
      params.cNamedArgs = 1;
    }
    UINT argError = 0;
    return object_->Invoke(id, IID_NULL, 0, flags, &params, result, exception, &argError);
  }
  static VARIANT number(LONG value) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = value;
    return v;
  }
  static VARIANT text(const char16_t* value) {
    VARIANT v;
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(value);
    return v;
  }

  IDispatch* object_ = nullptr;
};

TEST_F(Dispatch, NamesGiveIdsIgnoringCase) {
  const char16_t* names[] = {u"divide", u"NAME", u"RaiseTicked", u"Nothing"};
  const DISPID expected[] = {KYTEST_DIVIDE, KYTEST_NAME, KYTEST_RAISETICKED, DISPID_UNKNOWN};
  for (int i = 0; i < 4; ++i) {
    LPOLESTR name = const_cast<LPOLESTR>(names[i]);
    DISPID id = 99;
    EXPECT_EQ(object_->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), i < 3 ? S_OK : DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, expected[i]);
  }
}

TEST_F(Dispatch, PropertiesAreWrittenAndReadBack) {
  VARIANT result;
  VARIANT name = text(u"Ada");
  ASSERT_EQ(call(KYTEST_NAME, DISPATCH_PROPERTYPUT, {name}, nullptr), S_OK);
  VariantClear(&name);
  ASSERT_EQ(call(KYTEST_NAME, DISPATCH_PROPERTYGET, {}, &result), S_OK);
  ASSERT_EQ(result.vt, VT_BSTR);
  EXPECT_EQ(std::u16string(result.bstrVal), u"Ada");
  VariantClear(&result);
  // A text that reads as a number is changed to the property's type.
  VARIANT count = text(u"42");
  ASSERT_EQ(call(KYTEST_COUNT, DISPATCH_PROPERTYPUT, {count}, nullptr), S_OK);
  VariantClear(&count);
  ASSERT_EQ(call(KYTEST_COUNT, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_I4);
  EXPECT_EQ(result.lVal, 42);
  VARIANT bad = text(u"many");
  EXPECT_EQ(call(KYTEST_COUNT, DISPATCH_PROPERTYPUT, {bad}, nullptr), DISP_E_TYPEMISMATCH);
  VariantClear(&bad);
  EXPECT_EQ(call(KYTEST_ADVISED, DISPATCH_PROPERTYPUT, {number(1)}, nullptr), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(call(KYTEST_ADD, DISPATCH_PROPERTYGET, {}, &result), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(call(77, DISPATCH_METHOD, {}, &result), DISP_E_MEMBERNOTFOUND);
}

TEST_F(Dispatch, MethodsTakeArgumentsInOrderAndWriteByReference) {
  VARIANT result;
  ASSERT_EQ(call(KYTEST_ADD, DISPATCH_METHOD, {number(40), text(u"2.5")}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_R8);
  EXPECT_DOUBLE_EQ(result.dblVal, 42.5);
  VariantClear(&result);

  LONG remainder = -1;
  VARIANT out;
  out.vt = VT_BYREF | VT_I4;
  out.plVal = &remainder;
  ASSERT_EQ(call(KYTEST_DIVIDE, DISPATCH_METHOD, {number(17), number(5), out}, &result), S_OK);
  EXPECT_EQ(result.lVal, 3);
  EXPECT_EQ(remainder, 2);
  EXPECT_EQ(call(KYTEST_DIVIDE, DISPATCH_METHOD, {number(17), number(5)}, &result), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(call(KYTEST_DIVIDE, DISPATCH_METHOD, {number(17), number(5), number(0)}, &result), DISP_E_TYPEMISMATCH);
}

TEST_F(Dispatch, ErrorsLeaveAnErrorObjectForTheThread) {
  VARIANT result;
  VARIANT description = text(u"Printer on fire");
  EXPECT_EQ(call(KYTEST_FAIL, DISPATCH_METHOD, {number(E_ABORT), description}, &result), E_ABORT);
  VariantClear(&description);
  ISupportErrorInfo* support = nullptr;
  ASSERT_EQ(object_->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IKyTestServer), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IConnectionPoint), S_FALSE);
  support->Release();
  IErrorInfo* info = nullptr;
  ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
  BSTR text = nullptr;
  ASSERT_EQ(info->GetDescription(&text), S_OK);
  EXPECT_EQ(std::u16string(text), u"Printer on fire");
  SysFreeString(text);
  ASSERT_EQ(info->GetSource(&text), S_OK);
  EXPECT_EQ(std::u16string(text), u"KyTest.Server");
  SysFreeString(text);
  GUID guid{};
  ASSERT_EQ(info->GetGUID(&guid), S_OK);
  EXPECT_TRUE(guid == IID_IKyTestServer);
  info->Release();
  EXPECT_EQ(GetErrorInfo(0, &info), S_FALSE);  // handed over once
  EXPECT_EQ(info, nullptr);

  // An exception fills the caller's record too.
  EXCEPINFO exception{};
  LONG remainder = 0;
  VARIANT out;
  out.vt = VT_BYREF | VT_I4;
  out.plVal = &remainder;
  EXPECT_EQ(call(KYTEST_DIVIDE, DISPATCH_METHOD, {number(1), number(0), out}, &result, &exception), DISP_E_EXCEPTION);
  EXPECT_EQ(exception.scode, DISP_E_DIVBYZERO);
  EXPECT_EQ(std::u16string(exception.bstrDescription), u"Division by zero");
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrSource);
  SetErrorInfo(0, nullptr);
}

// A sink that counts its references and records the events it gets; it
// writes into the by-reference arguments of Changed.
class RecordingSink : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID_KyTestEvents) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    events.push_back(id);
    if (id == KYTEST_EVENT_CHANGED && params->cArgs == 2 && params->rgvarg[1].vt == (VT_BYREF | VT_BSTR)) {
      SysReAllocString(params->rgvarg[1].pbstrVal, u"seen");
      *params->rgvarg[0].plVal += 10;
    }
    if (id == KYTEST_EVENT_TICKED && params->cArgs == 1) ticks.push_back(params->rgvarg[0].lVal);
    return S_OK;
  }
  ULONG references = 1;
  std::vector<DISPID> events;
  std::vector<LONG> ticks;
};

TEST_F(Dispatch, EventsReachAdvisedSinksUntilUnadvised) {
  IConnectionPointContainer* container = nullptr;
  ASSERT_EQ(object_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
  IConnectionPoint* point = nullptr;
  EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, &point), CONNECT_E_NOCONNECTION);
  ASSERT_EQ(container->FindConnectionPoint(DIID_KyTestEvents, &point), S_OK);
  IID iid{};
  ASSERT_EQ(point->GetConnectionInterface(&iid), S_OK);
  EXPECT_TRUE(iid == DIID_KyTestEvents);

  RecordingSink first, second;
  DWORD cookie1 = 0, cookie2 = 0;
  ASSERT_EQ(point->Advise(&first, &cookie1), S_OK);
  ASSERT_EQ(point->Advise(&second, &cookie2), S_OK);
  EXPECT_NE(cookie1, cookie2);
  EXPECT_EQ(first.references, 2u);  // the source holds each sink

  VARIANT result;
  ASSERT_EQ(call(KYTEST_RAISECHANGED, DISPATCH_METHOD, {text(u"start")}, &result), S_OK);
  EXPECT_EQ(std::u16string(result.bstrVal), u"seen");
  VariantClear(&result);
  ASSERT_EQ(call(KYTEST_COUNT, DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_EQ(result.lVal, 20);  // both sinks added to the by-reference count

  ASSERT_EQ(point->Unadvise(cookie1), S_OK);
  EXPECT_EQ(first.references, 1u);
  EXPECT_EQ(point->Unadvise(cookie1), CONNECT_E_NOCONNECTION);
  ASSERT_EQ(call(KYTEST_RAISETICKED, DISPATCH_METHOD, {number(7)}, &result), S_OK);
  EXPECT_EQ(result.lVal, 1);
  EXPECT_EQ(first.events, (std::vector<DISPID>{KYTEST_EVENT_CHANGED}));
  EXPECT_EQ(second.ticks, (std::vector<LONG>{7}));
  ASSERT_EQ(call(KYTEST_ADVISED, DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_EQ(result.lVal, 1);
  ASSERT_EQ(point->Unadvise(cookie2), S_OK);
  EXPECT_EQ(second.references, 1u);
  point->Release();
  container->Release();
}

}  // namespace
