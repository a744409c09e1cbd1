// The "JScript" engine object: IActiveScript and IActiveScriptParse over
// one duktape heap.
//
// Named items become global names of the script, resolved through the
// site's GetItemInfo on first use; an item added with global members also
// makes the members its type information names global. Text given before
// the engine is started waits and runs when it starts. A compile or run
// error goes to the site's OnScriptError with the zero-based line and the
// line's text; E_FAIL from the site ends the script with SCRIPT_E_REPORTED,
// any other answer lets the engine carry on with later texts.
//
// Items added as event sources (SCRIPTITEM_ISSOURCE) have their events
// connected to script functions while the engine is connected
// (eventsink.h): the function named item_event, or the scriptlet added for
// the event (AddScriptlet). GetScriptDispatch answers the script's global
// names (functions are methods, variables properties).
//
// Not offered (E_NOTIMPL): type libraries added by GUID, interrupting a
// running script from another thread (the engine's interpreter has no
// interruption point) and cloning.
#pragma once

#include <activscp.h>
#include <duktape.h>

#include <atomic>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "internal/comobject.h"

namespace jscript {

class EventSink;
class ScriptEngine;
IDispatch* makeScriptDispatch(ScriptEngine* engine);

class ScriptEngine final : public IActiveScript, public IActiveScriptParse {
 public:
  ScriptEngine();
  ~ScriptEngine();
  ScriptEngine(const ScriptEngine&) = delete;
  ScriptEngine& operator=(const ScriptEngine&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  KY_COM_REFCOUNT

  // IActiveScript
  HRESULT STDMETHODCALLTYPE SetScriptSite(IActiveScriptSite* site) override;
  HRESULT STDMETHODCALLTYPE GetScriptSite(REFIID riid, void** ppv) override;
  HRESULT STDMETHODCALLTYPE SetScriptState(SCRIPTSTATE state) override;
  HRESULT STDMETHODCALLTYPE GetScriptState(SCRIPTSTATE* state) override;
  HRESULT STDMETHODCALLTYPE Close() override;
  HRESULT STDMETHODCALLTYPE AddNamedItem(LPCOLESTR name, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE AddTypeLib(REFGUID, DWORD, DWORD, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetScriptDispatch(LPCOLESTR, IDispatch** ppdisp) override;
  HRESULT STDMETHODCALLTYPE GetCurrentScriptThreadID(SCRIPTTHREADID* id) override;
  HRESULT STDMETHODCALLTYPE GetScriptThreadID(DWORD threadId, SCRIPTTHREADID* id) override;
  HRESULT STDMETHODCALLTYPE GetScriptThreadState(SCRIPTTHREADID id, SCRIPTTHREADSTATE* state) override;
  HRESULT STDMETHODCALLTYPE InterruptScriptThread(SCRIPTTHREADID, const EXCEPINFO*, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Clone(IActiveScript** ppscript) override;

  // IActiveScriptParse
  HRESULT STDMETHODCALLTYPE InitNew() override;
  HRESULT STDMETHODCALLTYPE AddScriptlet(LPCOLESTR, LPCOLESTR, LPCOLESTR, LPCOLESTR, LPCOLESTR, LPCOLESTR, DWORD_PTR,
                                         ULONG, DWORD, BSTR* name, EXCEPINFO*) override;
  HRESULT STDMETHODCALLTYPE ParseScriptText(LPCOLESTR code, LPCOLESTR itemName, IUnknown* context,
                                            LPCOLESTR delimiter, DWORD_PTR sourceContext, ULONG startingLine,
                                            DWORD flags, VARIANT* result, EXCEPINFO* exception) override;

  // The item's object for the script (a getter of the global name asks).
  IDispatch* resolveItem(const std::u16string& name);
  // An event of a source item: its handler runs when the engine is
  // connected and the script has one.
  HRESULT fireEvent(const std::u16string& item, const std::u16string& event, DISPPARAMS* params);
  // The script's global names seen through IDispatch (scriptdispatch.cpp).
  bool hasGlobal(const std::u16string& name);
  HRESULT invokeGlobal(const std::u16string& name, WORD flags, DISPPARAMS* params, VARIANT* result,
                       EXCEPINFO* exception);
  // Engines alive in the process (the server may unload at none).
  static long live() { return live_; }
  // The dispatch object of the script's global names (scriptdispatch.cpp).
  friend IDispatch* makeScriptDispatch(ScriptEngine* engine);

 private:
  struct Item {
    std::u16string name;
    DWORD flags = 0;
    IDispatch* object = nullptr;  // resolved on first use
    EventSink* sink = nullptr;    // while connected, for a source item
  };
  struct Pending {
    std::u16string code;
    DWORD_PTR context = 0;
    ULONG startingLine = 0;
  };

  bool running() const { return state_ == SCRIPTSTATE_STARTED || state_ == SCRIPTSTATE_CONNECTED; }
  void changeState(SCRIPTSTATE state);
  void makeHeap();
  void dropHeap();
  void defineItem(Item& item);
  void connectEvents(Item& item);
  void disconnectEvents();
  // Runs the function on the stack top with `count` arguments above it.
  HRESULT callScript(int count, VARIANT* result, EXCEPINFO* exception);
  HRESULT start();
  // Compiles and runs; the value is left in *result when asked for.
  HRESULT run(const std::u16string& code, DWORD_PTR context, ULONG startingLine, bool expression, VARIANT* result,
              EXCEPINFO* exception);
  bool compile(const std::string& text);
  HRESULT report(const std::u16string& code, DWORD_PTR context, ULONG startingLine, bool compiling,
                 EXCEPINFO* exception);

  win32::com::RefCount refs_;
  IActiveScriptSite* site_ = nullptr;
  SCRIPTSTATE state_ = SCRIPTSTATE_UNINITIALIZED;
  duk_context* heap_ = nullptr;
  std::vector<Item> items_;
  std::vector<Pending> pending_;
  // Scriptlets: the function that handles an item's event.
  std::map<std::pair<std::u16string, std::u16string>, std::u16string> handlers_;
  DWORD thread_ = 0;
  int depth_ = 0;  // nested runs (a host call that runs script again)
  static constexpr int kMaxCompiledTexts = 64;
  int compiledTexts_ = 0;  // texts compiled since the cache was last emptied
  static inline std::atomic<long> live_{0};
};

}  // namespace jscript
