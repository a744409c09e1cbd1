// The in-process test server of kycomtest.h: a dispatch object with
// properties, methods, by-reference outputs, error objects and an event
// source, served through DllGetClassObject.
#include <dlfcn.h>
#include <objbase.h>
#include <ocidl.h>
#include <oleauto.h>

#include <atomic>
#include <map>
#include <new>
#include <vector>

#include "kycomtest.h"

namespace {

std::atomic<long> liveObjects{0};
std::atomic<long> serverLocks{0};

// The reference count every object here shares.
class Counted {
 protected:
  Counted() { ++liveObjects; }
  virtual ~Counted() { --liveObjects; }
  ULONG addRef() { return ++count_; }
  ULONG release() {
    const ULONG left = --count_;
    if (left == 0) delete this;
    return left;
  }

 private:
  std::atomic<ULONG> count_{1};
};

BSTR wide(const char* text) {
  std::vector<OLECHAR> buffer;
  for (; *text; ++text) buffer.push_back(static_cast<unsigned char>(*text));
  return SysAllocStringLen(buffer.data(), static_cast<UINT>(buffer.size()));
}

// Reports an error the way Automation objects do: an error object for the
// thread and, when the caller gave one, the exception record.
void raise(HRESULT code, const char* description, EXCEPINFO* exception) {
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(CreateErrorInfo(&create))) {
    BSTR source = wide(KYTEST_PROGID), text = wide(description);
    create->SetGUID(IID_IKyTestServer);
    create->SetSource(source);
    create->SetDescription(text);
    SysFreeString(source);
    SysFreeString(text);
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
      SetErrorInfo(0, info);
      info->Release();
    }
    create->Release();
  }
  if (exception) {
    *exception = EXCEPINFO{};
    exception->bstrSource = wide(KYTEST_PROGID);
    exception->bstrDescription = wide(description);
    exception->scode = code;
  }
}

class TestObject;

// The connection point of DIID_KyTestEvents: keeps each sink's IDispatch
// (with a reference) under its cookie until Unadvise.
class EventPoint final : public IConnectionPoint {
 public:
  explicit EventPoint(IConnectionPointContainer* owner) : owner_(owner) {}
  ~EventPoint() { dropAll(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
      *ppv = static_cast<IConnectionPoint*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  // Lives inside its object: the object's count stands for both.
  ULONG STDMETHODCALLTYPE AddRef() override { return owner_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner_->Release(); }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) override {
    if (!pIID) return E_POINTER;
    *pIID = DIID_KyTestEvents;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override {
    if (!ppCPC) return E_POINTER;
    *ppCPC = owner_;
    owner_->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    IDispatch* events = nullptr;
    if (FAILED(sink->QueryInterface(DIID_KyTestEvents, reinterpret_cast<void**>(&events))) || !events)
      return CONNECT_E_CANNOTCONNECT;
    *cookie = ++lastCookie_;
    sinks_[*cookie] = events;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    auto found = sinks_.find(cookie);
    if (found == sinks_.end()) return CONNECT_E_NOCONNECTION;
    IDispatch* sink = found->second;
    sinks_.erase(found);
    sink->Release();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** ppEnum) override {
    if (ppEnum) *ppEnum = nullptr;
    return E_NOTIMPL;
  }

  // Calls every sink; the arguments in rgvarg order (last first).
  long fire(DISPID event, VARIANT* args, UINT count) {
    // A sink may Unadvise while it runs: call a snapshot, each kept alive.
    std::vector<IDispatch*> targets;
    for (auto& [cookie, sink] : sinks_) {
      sink->AddRef();
      targets.push_back(sink);
    }
    for (IDispatch* sink : targets) {
      DISPPARAMS params{args, nullptr, count, 0};
      sink->Invoke(event, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
      sink->Release();
    }
    return static_cast<long>(targets.size());
  }
  long connected() const { return static_cast<long>(sinks_.size()); }
  void dropAll() {
    for (auto& [cookie, sink] : sinks_) sink->Release();
    sinks_.clear();
  }

 private:
  IConnectionPointContainer* owner_;
  std::map<DWORD, IDispatch*> sinks_;
  DWORD lastCookie_ = 0;
};

class TestObject final : public Counted, public IDispatch, public IConnectionPointContainer, public ISupportErrorInfo {
 public:
  TestObject() : events_(this) { VariantInit(&value_); }
  ~TestObject() override {
    VariantClear(&value_);
    SysFreeString(name_);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IKyTestServer) {
      *ppv = static_cast<IDispatch*>(this);
    } else if (riid == IID_IConnectionPointContainer) {
      *ppv = static_cast<IConnectionPointContainer*>(this);
    } else if (riid == IID_ISupportErrorInfo) {
      *ppv = static_cast<ISupportErrorInfo*>(this);
    } else {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return addRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return release(); }

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return riid == IID_IKyTestServer || riid == IID_IDispatch ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override {
    if (ppEnum) *ppEnum = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override {
    if (!ppCP) return E_POINTER;
    *ppCP = nullptr;
    if (riid != DIID_KyTestEvents) return CONNECT_E_NOCONNECTION;
    *ppCP = &events_;
    events_.AddRef();
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override {
    if (!pctinfo) return E_POINTER;
    *pctinfo = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override {
    if (ppTInfo) *ppTInfo = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

 private:
  HRESULT property(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result, UINT* argError);
  HRESULT method(DISPID member, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception, UINT* argError);

  VARIANT value_;
  BSTR name_ = nullptr;
  LONG count_ = 0;
  EventPoint events_;
};

struct Member {
  const char* name;
  DISPID id;
  bool isProperty;
};
const Member kMembers[] = {
    {"Value", KYTEST_VALUE, true},        {"Name", KYTEST_NAME, true},     {"Count", KYTEST_COUNT, true},
    {"Add", KYTEST_ADD, false},           {"Divide", KYTEST_DIVIDE, false}, {"Fail", KYTEST_FAIL, false},
    {"RaiseChanged", KYTEST_RAISECHANGED, false}, {"RaiseTicked", KYTEST_RAISETICKED, false},
    {"Advised", KYTEST_ADVISED, true},
};

bool sameName(LPCOLESTR a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    OLECHAR x = *a;
    char y = *b;
    if (x >= 'A' && x <= 'Z') x = static_cast<OLECHAR>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != static_cast<unsigned char>(y)) return false;
  }
  return !*a && !*b;
}

const Member* findMember(DISPID id) {
  for (const Member& m : kMembers)
    if (m.id == id) return &m;
  return nullptr;
}

HRESULT TestObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids) return E_POINTER;
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    // Only the member's name is known; argument names are not.
    if (i == 0) {
      for (const Member& m : kMembers)
        if (names[0] && sameName(names[0], m.name)) ids[0] = m.id;
    }
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT TestObject::Invoke(DISPID member, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* exception, UINT* argError) {
  if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!params) return E_INVALIDARG;
  const Member* m = findMember(member);
  if (!m) return DISP_E_MEMBERNOTFOUND;
  if (result) VariantInit(result);
  if (m->isProperty) return property(member, flags, params, result, argError);
  if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  if (params->cNamedArgs) return DISP_E_NONAMEDARGS;
  return method(member, params, result, exception, argError);
}

HRESULT TestObject::property(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result, UINT* argError) {
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    if (params->cArgs != 1 || params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
      return DISP_E_BADPARAMCOUNT;
    VARIANT converted;
    switch (member) {
      case KYTEST_VALUE: return VariantCopyInd(&value_, &params->rgvarg[0]);
      case KYTEST_NAME: {
        HRESULT hr = DispGetParam(params, DISPID_PROPERTYPUT, VT_BSTR, &converted, argError);
        if (FAILED(hr)) return hr;
        SysFreeString(name_);
        name_ = converted.bstrVal;
        return S_OK;
      }
      case KYTEST_COUNT: {
        HRESULT hr = DispGetParam(params, DISPID_PROPERTYPUT, VT_I4, &converted, argError);
        if (FAILED(hr)) return hr;
        count_ = converted.lVal;
        return S_OK;
      }
      default: return DISP_E_MEMBERNOTFOUND;  // read-only
    }
  }
  if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
  if (params->cArgs) return DISP_E_BADPARAMCOUNT;
  if (!result) return S_OK;
  switch (member) {
    case KYTEST_VALUE: return VariantCopy(result, &value_);
    case KYTEST_NAME:
      result->vt = VT_BSTR;
      result->bstrVal = SysAllocStringLen(name_, SysStringLen(name_));
      return S_OK;
    case KYTEST_COUNT:
      result->vt = VT_I4;
      result->lVal = count_;
      return S_OK;
    default:
      result->vt = VT_I4;
      result->lVal = events_.connected();
      return S_OK;
  }
}

HRESULT TestObject::method(DISPID member, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                           UINT* argError) {
  static const UINT kArguments[] = {0, 0, 0, 2, 3, 2, 1, 1, 0};
  if (params->cArgs != kArguments[member]) return DISP_E_BADPARAMCOUNT;
  VARIANT a, b;
  VariantInit(&a);
  VariantInit(&b);
  HRESULT hr = S_OK;
  switch (member) {
    case KYTEST_ADD:
      if (FAILED(hr = DispGetParam(params, 0, VT_R8, &a, argError))) return hr;
      if (FAILED(hr = DispGetParam(params, 1, VT_R8, &b, argError))) return hr;
      if (result) {
        result->vt = VT_R8;
        result->dblVal = a.dblVal + b.dblVal;
      }
      return S_OK;
    case KYTEST_DIVIDE: {
      if (FAILED(hr = DispGetParam(params, 0, VT_I4, &a, argError))) return hr;
      if (FAILED(hr = DispGetParam(params, 1, VT_I4, &b, argError))) return hr;
      VARIANT& out = params->rgvarg[0];  // the third argument
      if (out.vt != (VT_BYREF | VT_I4) && out.vt != (VT_BYREF | VT_VARIANT)) {
        if (argError) *argError = 0;
        return DISP_E_TYPEMISMATCH;
      }
      if (b.lVal == 0) {
        raise(DISP_E_DIVBYZERO, "Division by zero", exception);
        return DISP_E_EXCEPTION;
      }
      const LONG remainder = a.lVal % b.lVal;
      if (out.vt == (VT_BYREF | VT_I4)) {
        *out.plVal = remainder;
      } else {
        VariantClear(out.pvarVal);
        out.pvarVal->vt = VT_I4;
        out.pvarVal->lVal = remainder;
      }
      if (result) {
        result->vt = VT_I4;
        result->lVal = a.lVal / b.lVal;
      }
      return S_OK;
    }
    case KYTEST_FAIL: {
      if (FAILED(hr = DispGetParam(params, 0, VT_I4, &a, argError))) return hr;
      if (FAILED(hr = DispGetParam(params, 1, VT_BSTR, &b, argError))) return hr;
      std::vector<char> text;
      for (UINT i = 0; i < SysStringLen(b.bstrVal); ++i) text.push_back(static_cast<char>(b.bstrVal[i]));
      text.push_back(0);
      VariantClear(&b);
      raise(a.lVal, text.data(), nullptr);
      return a.lVal;
    }
    case KYTEST_RAISECHANGED: {
      if (FAILED(hr = DispGetParam(params, 0, VT_BSTR, &a, argError))) return hr;
      BSTR text = a.bstrVal;
      LONG count = 0;
      VARIANT args[2];
      args[1].vt = VT_BYREF | VT_BSTR;  // first argument
      args[1].pbstrVal = &text;
      args[0].vt = VT_BYREF | VT_I4;
      args[0].plVal = &count;
      events_.fire(KYTEST_EVENT_CHANGED, args, 2);
      count_ = count;
      if (result) {
        result->vt = VT_BSTR;
        result->bstrVal = text;
      } else {
        SysFreeString(text);
      }
      return S_OK;
    }
    default: {  // KYTEST_RAISETICKED
      if (FAILED(hr = DispGetParam(params, 0, VT_I4, &a, argError))) return hr;
      const long called = events_.fire(KYTEST_EVENT_TICKED, &a, 1);
      if (result) {
        result->vt = VT_I4;
        result->lVal = called;
      }
      return S_OK;
    }
  }
}

class Factory final : public IClassFactory {
 public:
  explicit Factory(bool refuses) : refuses_(refuses) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *ppv = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  // The factories are static: their counts only keep the server loaded.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (refuses_) return E_ACCESSDENIED;
    auto* object = new (std::nothrow) TestObject;
    if (!object) return E_OUTOFMEMORY;
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    serverLocks += lock ? 1 : -1;
    return S_OK;
  }

 private:
  bool refuses_;
};

Factory serverFactory(false);
Factory refuserFactory(true);

// An address inside this library: an exported name such as
// DllRegisterServer may resolve to another loaded server's.
void anchor() {}

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  Factory* factory = rclsid == CLSID_KyTestServer ? &serverFactory
                     : rclsid == CLSID_KyTestRefuser ? &refuserFactory
                                                     : nullptr;
  if (!factory) return CLASS_E_CLASSNOTAVAILABLE;
  return factory->QueryInterface(riid, ppv);
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow(void) {
  return liveObjects == 0 && serverLocks == 0 ? S_OK : S_FALSE;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer(void) {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&anchor), &info) || !info.dli_fname) return E_UNEXPECTED;
  HRESULT hr = CoRegisterInprocServerA(CLSID_KyTestServer, KYTEST_PROGID, info.dli_fname);
  if (SUCCEEDED(hr)) hr = CoRegisterInprocServerA(CLSID_KyTestRefuser, KYTEST_REFUSER_PROGID, info.dli_fname);
  return hr;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer(void) {
  CoUnregisterInprocServer(CLSID_KyTestServer);
  CoUnregisterInprocServer(CLSID_KyTestRefuser);
  return S_OK;
}
