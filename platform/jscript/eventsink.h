// The events of a named item added as an event source (SCRIPTITEM_ISSOURCE)
// reach the script through one sink per item: while the engine is
// connected the sink is advised on the item's default source interface
// (found in the item's type information, a coclass, or the object's class
// information), and each event it hears runs the script's handler of that
// event (the scriptlet added for it, else the global function named
// item_event) with the event's arguments in their declared order.
#pragma once

#include <oaidl.h>
#include <ocidl.h>

#include <string>

#include "internal/comobject.h"

namespace jscript {

class ScriptEngine;

class EventSink final : public IDispatch {
 public:
  // `events` (a reference is taken) describes the source interface `iid`.
  EventSink(ScriptEngine* engine, std::u16string item, ITypeInfo* events, const IID& iid);
  EventSink(const EventSink&) = delete;
  EventSink& operator=(const EventSink&) = delete;

  // The sink for the item's object, or null when the item names no source
  // interface (the reference is the caller's).
  static EventSink* forItem(ScriptEngine* engine, const std::u16string& item, IUnknown* object, ITypeInfo* info);

  // Advises the object's connection point for the interface; false when it
  // has none or refuses.
  bool connect(IUnknown* object);
  void disconnect();
  // The engine is going: events heard later are not passed on.
  void detach() { engine_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  KY_COM_REFCOUNT
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT*) override;

 private:
  ~EventSink();

  win32::com::RefCount refs_;
  ScriptEngine* engine_;
  std::u16string item_;
  ITypeInfo* events_;
  IID iid_;
  IConnectionPoint* point_ = nullptr;
  DWORD cookie_ = 0;
};

}  // namespace jscript
