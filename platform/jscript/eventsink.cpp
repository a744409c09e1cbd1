#include "eventsink.h"

#include <activscp.h>
#include <oleauto.h>

#include "scriptengine.h"

namespace jscript {
namespace {

constexpr int kSourceDefault = IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;

// The default source interface of a coclass (a new reference), or null.
ITypeInfo* defaultSource(ITypeInfo* coclass) {
  TYPEATTR* attr = nullptr;
  if (!coclass || FAILED(coclass->GetTypeAttr(&attr))) return nullptr;
  const bool isClass = attr->typekind == TKIND_COCLASS;
  const UINT count = attr->cImplTypes;
  coclass->ReleaseTypeAttr(attr);
  if (!isClass) return nullptr;
  for (UINT i = 0; i < count; ++i) {
    INT flags = 0;
    HREFTYPE ref = 0;
    ITypeInfo* source = nullptr;
    if (FAILED(coclass->GetImplTypeFlags(i, &flags)) || (flags & kSourceDefault) != kSourceDefault) continue;
    if (SUCCEEDED(coclass->GetRefTypeOfImplType(i, &ref)) && SUCCEEDED(coclass->GetRefTypeInfo(ref, &source)))
      return source;
  }
  return nullptr;
}

// The coclass of its library whose default interface is `info` (a new
// reference), for an item whose type information is its interface.
ITypeInfo* coclassOf(ITypeInfo* info) {
  TYPEATTR* attr = nullptr;
  if (!info || FAILED(info->GetTypeAttr(&attr))) return nullptr;
  const GUID wanted = attr->guid;
  info->ReleaseTypeAttr(attr);
  ITypeLib* library = nullptr;
  UINT index = 0;
  if (FAILED(info->GetContainingTypeLib(&library, &index))) return nullptr;
  ITypeInfo* found = nullptr;
  const UINT count = library->GetTypeInfoCount();
  for (UINT i = 0; i < count && !found; ++i) {
    TYPEKIND kind{};
    ITypeInfo* candidate = nullptr;
    if (FAILED(library->GetTypeInfoType(i, &kind)) || kind != TKIND_COCLASS ||
        FAILED(library->GetTypeInfo(i, &candidate)))
      continue;
    TYPEATTR* classAttr = nullptr;
    const UINT impls = SUCCEEDED(candidate->GetTypeAttr(&classAttr)) ? classAttr->cImplTypes : 0;
    if (classAttr) candidate->ReleaseTypeAttr(classAttr);
    for (UINT j = 0; j < impls && !found; ++j) {
      INT flags = 0;
      HREFTYPE ref = 0;
      ITypeInfo* implemented = nullptr;
      if (FAILED(candidate->GetImplTypeFlags(j, &flags)) || (flags & kSourceDefault) != IMPLTYPEFLAG_FDEFAULT ||
          FAILED(candidate->GetRefTypeOfImplType(j, &ref)) || FAILED(candidate->GetRefTypeInfo(ref, &implemented)))
        continue;
      TYPEATTR* implAttr = nullptr;
      if (SUCCEEDED(implemented->GetTypeAttr(&implAttr))) {
        if (IsEqualGUID(implAttr->guid, wanted)) found = candidate;
        implemented->ReleaseTypeAttr(implAttr);
      }
      implemented->Release();
    }
    if (found != candidate) candidate->Release();
  }
  library->Release();
  return found;
}

// The object's class information, when the item's own is no coclass.
ITypeInfo* classInfoOf(IUnknown* object) {
  IProvideClassInfo* provider = nullptr;
  if (!object || FAILED(object->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&provider))))
    return nullptr;
  ITypeInfo* info = nullptr;
  provider->GetClassInfo(&info);
  provider->Release();
  return info;
}

}  // namespace

EventSink::EventSink(ScriptEngine* engine, std::u16string item, ITypeInfo* events, const IID& iid)
    : engine_(engine), item_(std::move(item)), events_(events), iid_(iid) {
  events_->AddRef();
}

EventSink::~EventSink() {
  disconnect();
  events_->Release();
}

EventSink* EventSink::forItem(ScriptEngine* engine, const std::u16string& item, IUnknown* object, ITypeInfo* info) {
  // The item's coclass: its own type information, the object's class
  // information, or the coclass of the interface's library.
  ITypeInfo* source = defaultSource(info);
  for (ITypeInfo* (*find)(ITypeInfo*, IUnknown*) :
       {+[](ITypeInfo*, IUnknown* o) { return classInfoOf(o); }, +[](ITypeInfo* i, IUnknown*) { return coclassOf(i); }}) {
    if (source) break;
    ITypeInfo* coclass = find(info, object);
    source = defaultSource(coclass);
    if (coclass) coclass->Release();
  }
  if (!source) return nullptr;
  TYPEATTR* attr = nullptr;
  EventSink* sink = nullptr;
  if (SUCCEEDED(source->GetTypeAttr(&attr))) {
    sink = new EventSink(engine, item, source, attr->guid);
    source->ReleaseTypeAttr(attr);
  }
  source->Release();
  return sink;
}

bool EventSink::connect(IUnknown* object) {
  if (point_ || !object) return point_ != nullptr;
  IConnectionPointContainer* container = nullptr;
  if (FAILED(object->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)))) return false;
  IConnectionPoint* point = nullptr;
  container->FindConnectionPoint(iid_, &point);
  container->Release();
  if (!point) return false;
  if (FAILED(point->Advise(static_cast<IDispatch*>(this), &cookie_))) {
    point->Release();
    return false;
  }
  point_ = point;
  return true;
}

void EventSink::disconnect() {
  if (!point_) return;
  IConnectionPoint* point = point_;
  point_ = nullptr;
  point->Unadvise(cookie_);
  point->Release();
  cookie_ = 0;
}

HRESULT EventSink::QueryInterface(REFIID riid, void** ppv) {
  // The source interface is a dispatch interface: the sink answers as it.
  if (ppv && IsEqualIID(riid, iid_)) {
    AddRef();
    *ppv = static_cast<IDispatch*>(this);
    return S_OK;
  }
  return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, this}, {&IID_IDispatch, this}});
}

HRESULT EventSink::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT EventSink::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                          UINT*) {
  if (result) VariantInit(result);
  if (!engine_) return S_OK;
  BSTR name = nullptr;
  UINT got = 0;
  if (FAILED(events_->GetNames(dispid, &name, 1, &got)) || got == 0) return S_OK;  // an event the script cannot name
  const std::u16string event(reinterpret_cast<const char16_t*>(name), SysStringLen(name));
  SysFreeString(name);
  // Keeps itself while the script runs: the handler may end the engine.
  AddRef();
  engine_->fireEvent(item_, event, params);
  Release();
  return S_OK;
}

}  // namespace jscript
