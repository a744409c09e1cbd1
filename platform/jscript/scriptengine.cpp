#include "scriptengine.h"

#include <oleauto.h>

#include <cstdio>
#include <cstdlib>

#include "eventsink.h"
#include "hostobject.h"
#include "scripterror.h"
#include "scripttext.h"

namespace jscript {
namespace {

const char kEngineKey[] = DUK_HIDDEN_SYMBOL("engine");
const char kItemKey[] = DUK_HIDDEN_SYMBOL("item");
const char kObjectKey[] = DUK_HIDDEN_SYMBOL("object");
const char kCompiledKey[] = DUK_HIDDEN_SYMBOL("compiled");
const char16_t kCompileSource[] = u"JScript compilation error";
const char16_t kRuntimeSource[] = u"JScript runtime error";

void fatal(void*, const char* message) {
  std::fprintf(stderr, "JScript: fatal engine error: %s\n", message ? message : "");
  std::abort();
}

std::u16string wide(LPCOLESTR text) { return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : u""; }

bool isIdentifier(const std::u16string& name) {
  if (name.empty()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$' || c >= 0x80;
    if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
  }
  return true;
}

ScriptEngine* engineOf(duk_context* ctx) {
  duk_push_global_stash(ctx);
  duk_get_prop_string(ctx, -1, kEngineKey);
  auto* engine = static_cast<ScriptEngine*>(duk_get_pointer(ctx, -1));
  duk_pop_2(ctx);
  return engine;
}

// The getter of an item's global name.
duk_ret_t itemGetter(duk_context* ctx) {
  duk_push_current_function(ctx);
  // One host object per item (kept by this getter): what it learns of its
  // members is kept with it.
  if (duk_get_prop_string(ctx, -1, kObjectKey)) return 1;
  duk_pop(ctx);
  duk_get_prop_string(ctx, -1, kItemKey);
  ScriptEngine* engine = engineOf(ctx);
  IDispatch* object = nullptr;
  if (engine) {
    duk_size_t length = 0;
    const char* name = duk_get_lstring(ctx, -1, &length);
    object = engine->resolveItem(fromEngineText(std::string_view(name, length)));
  }
  if (!object) {
    pushScriptError(ctx, DUK_ERR_REFERENCE_ERROR, "the host does not supply '%s'", duk_get_string(ctx, -1));
    return duk_throw(ctx);
  }
  pushHostObject(ctx, object);
  duk_dup_top(ctx);
  duk_put_prop_string(ctx, -4, kObjectKey);
  return 1;
}

// The line (zero-based) of the text, lines ending at CR LF, CR or LF.
std::u16string lineOf(const std::u16string& text, ULONG line) {
  size_t start = 0;
  for (ULONG n = 0; n < line; ++n) {
    const size_t end = text.find_first_of(u"\r\n", start);
    if (end == std::u16string::npos) return u"";
    start = end + (text.compare(end, 2, u"\r\n") == 0 ? 2 : 1);
  }
  const size_t end = text.find_first_of(u"\r\n", start);
  return text.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
}

// duktape ends a syntax error's message with " (line N)": the position is
// reported on its own.
std::u16string withoutLineSuffix(std::u16string message) {
  const size_t at = message.rfind(u" (line ");
  if (at != std::u16string::npos && !message.empty() && message.back() == u')') message.erase(at);
  return message;
}

}  // namespace

ScriptEngine::ScriptEngine() : thread_(GetCurrentThreadId()) { ++live_; }

ScriptEngine::~ScriptEngine() {
  Close();
  --live_;
}

HRESULT ScriptEngine::QueryInterface(REFIID riid, void** ppv) {
  return win32::com::answerQuery(riid, ppv,
                                 {{&IID_IUnknown, static_cast<IActiveScript*>(this)},
                                  {&IID_IActiveScript, static_cast<IActiveScript*>(this)},
                                  {&IID_IActiveScriptParse, static_cast<IActiveScriptParse*>(this)}});
}

void ScriptEngine::changeState(SCRIPTSTATE state) {
  if (state_ == state) return;
  state_ = state;
  if (site_) site_->OnStateChange(state);
}

void ScriptEngine::makeHeap() {
  if (heap_) return;
  heap_ = duk_create_heap(nullptr, nullptr, nullptr, nullptr, fatal);
  if (!heap_) return;
  duk_push_global_stash(heap_);
  duk_push_pointer(heap_, this);
  duk_put_prop_string(heap_, -2, kEngineKey);
  duk_pop(heap_);
}

void ScriptEngine::dropHeap() {
  disconnectEvents();
  if (heap_) {
    duk_context* heap = heap_;
    heap_ = nullptr;
    duk_destroy_heap(heap);
  }
  for (Item& item : items_) {
    if (item.object) item.object->Release();
    item.object = nullptr;
  }
}

HRESULT ScriptEngine::SetScriptSite(IActiveScriptSite* site) {
  if (!site) return E_POINTER;
  if (site_) return E_UNEXPECTED;
  site->AddRef();
  site_ = site;
  if (heap_ && state_ == SCRIPTSTATE_UNINITIALIZED) changeState(SCRIPTSTATE_INITIALIZED);
  return S_OK;
}

HRESULT ScriptEngine::GetScriptSite(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  return site_ ? site_->QueryInterface(riid, ppv) : S_FALSE;
}

HRESULT ScriptEngine::InitNew() {
  if (heap_) return E_UNEXPECTED;
  makeHeap();
  if (!heap_) return E_OUTOFMEMORY;
  if (site_) changeState(SCRIPTSTATE_INITIALIZED);
  return S_OK;
}

HRESULT ScriptEngine::start() {
  for (Item& item : items_) defineItem(item);
  std::vector<Pending> waiting;
  waiting.swap(pending_);
  HRESULT result = S_OK;
  for (const Pending& text : waiting) {
    const HRESULT hr = run(text.code, text.context, text.startingLine, false, nullptr, nullptr);
    if (FAILED(hr)) result = hr;
  }
  return result;
}

HRESULT ScriptEngine::SetScriptState(SCRIPTSTATE state) {
  if (state_ == SCRIPTSTATE_CLOSED) return E_UNEXPECTED;
  switch (state) {
    case SCRIPTSTATE_STARTED:
    case SCRIPTSTATE_CONNECTED: {
      if (!site_ || !heap_) return E_UNEXPECTED;
      const bool wasRunning = running() || state_ == SCRIPTSTATE_DISCONNECTED;
      changeState(state);
      const HRESULT hr = wasRunning ? S_OK : start();
      if (state == SCRIPTSTATE_CONNECTED) {
        for (Item& item : items_) connectEvents(item);
      } else {
        disconnectEvents();
      }
      return hr;
    }
    case SCRIPTSTATE_DISCONNECTED:
      if (!running()) return E_UNEXPECTED;
      disconnectEvents();
      changeState(state);
      return S_OK;
    case SCRIPTSTATE_INITIALIZED:
      if (!site_) return E_UNEXPECTED;
      // The script run so far is discarded; the named items stay.
      dropHeap();
      makeHeap();
      changeState(state);
      return heap_ ? S_OK : E_OUTOFMEMORY;
    case SCRIPTSTATE_UNINITIALIZED:
      dropHeap();
      pending_.clear();
      changeState(state);
      if (site_) site_->Release();
      site_ = nullptr;
      return S_OK;
    case SCRIPTSTATE_CLOSED: return Close();
  }
  return E_INVALIDARG;
}

HRESULT ScriptEngine::GetScriptState(SCRIPTSTATE* state) {
  if (!state) return E_POINTER;
  *state = state_;
  return S_OK;
}

HRESULT ScriptEngine::Close() {
  dropHeap();
  items_.clear();
  handlers_.clear();
  pending_.clear();
  if (state_ != SCRIPTSTATE_CLOSED) changeState(SCRIPTSTATE_CLOSED);
  if (site_) site_->Release();
  site_ = nullptr;
  return S_OK;
}

HRESULT ScriptEngine::AddNamedItem(LPCOLESTR name, DWORD flags) {
  if (!name) return E_POINTER;
  if (state_ == SCRIPTSTATE_CLOSED) return E_UNEXPECTED;
  const std::u16string itemName = wide(name);
  if (!isIdentifier(itemName)) return E_INVALIDARG;
  Item* item = nullptr;
  for (Item& existing : items_) {
    if (existing.name == itemName) item = &existing;
  }
  if (!item) item = &items_.emplace_back(Item{itemName, flags, nullptr});
  item->flags = flags;
  if (item->sink) {
    item->sink->detach();
    item->sink->Release();
    item->sink = nullptr;
  }
  if (item->object) {
    item->object->Release();
    item->object = nullptr;
  }
  if (heap_ && running()) defineItem(*item);
  if (state_ == SCRIPTSTATE_CONNECTED) connectEvents(*item);
  return S_OK;
}

void ScriptEngine::connectEvents(Item& item) {
  if (!(item.flags & SCRIPTITEM_ISSOURCE) || item.sink || !site_) return;
  IUnknown* object = nullptr;
  ITypeInfo* info = nullptr;
  if (FAILED(site_->GetItemInfo(reinterpret_cast<LPCOLESTR>(item.name.c_str()),
                                SCRIPTINFO_IUNKNOWN | SCRIPTINFO_ITYPEINFO, &object, &info)))
    return;
  EventSink* sink = EventSink::forItem(this, item.name, object, info);
  if (sink && sink->connect(object)) {
    item.sink = sink;
  } else if (sink) {
    sink->detach();
    sink->Release();
  }
  if (info) info->Release();
  if (object) object->Release();
}

void ScriptEngine::disconnectEvents() {
  for (Item& item : items_) {
    if (!item.sink) continue;
    EventSink* sink = item.sink;
    item.sink = nullptr;
    sink->detach();
    sink->disconnect();
    sink->Release();
  }
}

HRESULT ScriptEngine::callScript(int count, VARIANT* result, EXCEPINFO* exception) {
  if (depth_++ == 0 && site_) site_->OnEnterScript();
  HRESULT hr = S_OK;
  if (duk_pcall(heap_, count) != 0) {
    hr = report(u"", 0, 0, false, exception);
  } else if (result) {
    toVariant(heap_, -1, result);
  }
  duk_pop(heap_);
  if (--depth_ == 0 && site_) site_->OnLeaveScript();
  return hr;
}

HRESULT ScriptEngine::fireEvent(const std::u16string& item, const std::u16string& event, DISPPARAMS* params) {
  if (!heap_ || state_ != SCRIPTSTATE_CONNECTED) return S_OK;
  const auto scriptlet = handlers_.find({item, event});
  const std::string name = toEngineText(scriptlet != handlers_.end() ? scriptlet->second : item + u"_" + event);
  duk_push_global_object(heap_);
  const bool found = duk_get_prop_lstring(heap_, -1, name.data(), name.size()) && duk_is_function(heap_, -1);
  duk_remove(heap_, -2);
  if (!found) {
    duk_pop(heap_);
    return S_OK;  // the script does not handle this event
  }
  // OLE keeps the arguments last first.
  const int count = params ? static_cast<int>(params->cArgs) : 0;
  for (int i = count - 1; i >= 0; --i) pushVariant(heap_, params->rgvarg[i]);
  return callScript(count, nullptr, nullptr);
}

bool ScriptEngine::hasGlobal(const std::u16string& name) {
  if (!heap_) return false;
  const std::string text = toEngineText(name);
  duk_push_global_object(heap_);
  const bool has = duk_has_prop_lstring(heap_, -1, text.data(), text.size());
  duk_pop(heap_);
  return has;
}

HRESULT ScriptEngine::invokeGlobal(const std::u16string& name, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception) {
  if (result) VariantInit(result);
  if (!heap_ || !running()) return E_UNEXPECTED;
  const std::string text = toEngineText(name);
  const int count = params ? static_cast<int>(params->cArgs) : 0;
  duk_push_global_object(heap_);
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    if (count < 1) {
      duk_pop(heap_);
      return DISP_E_BADPARAMCOUNT;
    }
    pushVariant(heap_, params->rgvarg[0]);
    duk_put_prop_lstring(heap_, -2, text.data(), text.size());
    duk_pop(heap_);
    return S_OK;
  }
  if (!duk_get_prop_lstring(heap_, -1, text.data(), text.size())) {
    duk_pop_2(heap_);
    return DISP_E_MEMBERNOTFOUND;
  }
  duk_remove(heap_, -2);
  if ((flags & DISPATCH_METHOD) && duk_is_function(heap_, -1)) {
    for (int i = count - 1; i >= 0; --i) pushVariant(heap_, params->rgvarg[i]);
    return callScript(count, result, exception);
  }
  if (!(flags & DISPATCH_PROPERTYGET)) {
    duk_pop(heap_);
    return DISP_E_MEMBERNOTFOUND;
  }
  if (result) toVariant(heap_, -1, result);
  duk_pop(heap_);
  return S_OK;
}

void ScriptEngine::defineItem(Item& item) {
  if (!heap_) return;
  const std::string name = toEngineText(item.name);
  duk_push_global_object(heap_);
  duk_push_lstring(heap_, name.data(), name.size());
  duk_push_c_function(heap_, itemGetter, 0);
  duk_push_lstring(heap_, name.data(), name.size());
  duk_put_prop_string(heap_, -2, kItemKey);
  duk_def_prop(heap_, -3, DUK_DEFPROP_HAVE_GETTER | DUK_DEFPROP_SET_CONFIGURABLE);
  duk_pop(heap_);
  if (item.flags & SCRIPTITEM_GLOBALMEMBERS) {
    if (IDispatch* object = resolveItem(item.name)) defineGlobalMembers(heap_, object);
  }
}

IDispatch* ScriptEngine::resolveItem(const std::u16string& name) {
  for (Item& item : items_) {
    if (item.name != name) continue;
    if (item.object || !site_) return item.object;
    IUnknown* unknown = nullptr;
    if (SUCCEEDED(site_->GetItemInfo(reinterpret_cast<LPCOLESTR>(name.c_str()), SCRIPTINFO_IUNKNOWN, &unknown,
                                     nullptr)) &&
        unknown) {
      unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&item.object));
      unknown->Release();
    }
    return item.object;
  }
  return nullptr;
}

HRESULT ScriptEngine::GetScriptDispatch(LPCOLESTR, IDispatch** ppdisp) {
  // One global namespace: every item's module is the script's.
  if (!ppdisp) return E_POINTER;
  *ppdisp = nullptr;
  if (!heap_ || state_ == SCRIPTSTATE_CLOSED) return E_UNEXPECTED;
  *ppdisp = makeScriptDispatch(this);
  return *ppdisp ? S_OK : E_OUTOFMEMORY;
}

HRESULT ScriptEngine::GetCurrentScriptThreadID(SCRIPTTHREADID* id) {
  if (!id) return E_POINTER;
  *id = GetCurrentThreadId();
  return S_OK;
}

HRESULT ScriptEngine::GetScriptThreadID(DWORD threadId, SCRIPTTHREADID* id) {
  if (!id) return E_POINTER;
  *id = threadId;
  return S_OK;
}

HRESULT ScriptEngine::GetScriptThreadState(SCRIPTTHREADID id, SCRIPTTHREADSTATE* state) {
  if (!state) return E_POINTER;
  const bool ours = id == SCRIPTTHREADID_CURRENT || id == SCRIPTTHREADID_BASE || id == thread_;
  *state = ours && depth_ > 0 ? SCRIPTTHREADSTATE_RUNNING : SCRIPTTHREADSTATE_NOTINSCRIPT;
  return S_OK;
}

HRESULT ScriptEngine::Clone(IActiveScript** ppscript) {
  if (ppscript) *ppscript = nullptr;
  return E_NOTIMPL;
}

HRESULT ScriptEngine::AddScriptlet(LPCOLESTR defaultName, LPCOLESTR code, LPCOLESTR itemName, LPCOLESTR,
                                   LPCOLESTR eventName, LPCOLESTR, DWORD_PTR sourceContext, ULONG startingLine,
                                   DWORD, BSTR* name, EXCEPINFO* exception) {
  // A scriptlet is the body of a function that handles the item's event.
  if (name) *name = nullptr;
  if (!code || !itemName || !eventName) return E_POINTER;
  if (!heap_ || state_ == SCRIPTSTATE_CLOSED || state_ == SCRIPTSTATE_UNINITIALIZED) return E_UNEXPECTED;
  const std::u16string item = wide(itemName), event = wide(eventName);
  std::u16string function = wide(defaultName);
  if (function.empty()) function = item + u"_" + event;
  if (!isIdentifier(function) || !isIdentifier(item)) return E_INVALIDARG;
  // The body starts on the function's own line, so lines keep their numbers.
  const std::u16string text = u"function " + function + u"() {" + wide(code) + u"\n}";
  HRESULT hr = S_OK;
  if (running()) hr = run(text, sourceContext, startingLine, false, nullptr, exception);
  else pending_.push_back(Pending{text, sourceContext, startingLine});
  if (FAILED(hr)) return hr;
  handlers_[{item, event}] = function;
  if (name) *name = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(function.data()),
                                      static_cast<UINT>(function.size()));
  return S_OK;
}

HRESULT ScriptEngine::ParseScriptText(LPCOLESTR code, LPCOLESTR, IUnknown*, LPCOLESTR, DWORD_PTR sourceContext,
                                      ULONG startingLine, DWORD flags, VARIANT* result, EXCEPINFO* exception) {
  if (result) VariantInit(result);
  if (!code) return E_POINTER;
  if (!heap_ || state_ == SCRIPTSTATE_CLOSED || state_ == SCRIPTSTATE_UNINITIALIZED) return E_UNEXPECTED;
  const bool expression = (flags & SCRIPTTEXT_ISEXPRESSION) != 0;
  if (!running()) {
    // An expression has no later moment to give its value.
    if (expression) return E_UNEXPECTED;
    pending_.push_back(Pending{wide(code), sourceContext, startingLine});
    return S_OK;
  }
  return run(wide(code), sourceContext, startingLine, expression, result, exception);
}

HRESULT ScriptEngine::run(const std::u16string& code, DWORD_PTR context, ULONG startingLine, bool expression,
                          VARIANT* result, EXCEPINFO* exception) {
  const std::string text = toEngineText(code);
  if (depth_++ == 0 && site_) site_->OnEnterScript();
  HRESULT hr = S_OK;
  if (!compile(text)) {
    hr = report(code, context, startingLine, true, exception);
  } else if (duk_pcall(heap_, 0) != 0) {
    hr = report(code, context, startingLine, false, exception);
  } else if (expression && result) {
    toVariant(heap_, -1, result);
  }
  duk_pop(heap_);
  if (--depth_ == 0 && site_) site_->OnLeaveScript();
  return hr;
}

// Leaves the compiled text (true) or the compile error (false) on the
// stack. Texts run again (an event's script, a statement of the panel)
// are compiled once: the last texts' functions are kept by their text.
bool ScriptEngine::compile(const std::string& text) {
  duk_push_global_stash(heap_);
  if (!duk_get_prop_string(heap_, -1, kCompiledKey) || compiledTexts_ >= kMaxCompiledTexts) {
    duk_pop(heap_);
    duk_push_bare_object(heap_);
    duk_dup_top(heap_);
    duk_put_prop_string(heap_, -3, kCompiledKey);
    compiledTexts_ = 0;
  }
  if (duk_get_prop_lstring(heap_, -1, text.data(), text.size())) {
    duk_remove(heap_, -2);
    duk_remove(heap_, -2);
    return true;
  }
  duk_pop(heap_);
  duk_push_string(heap_, "script");
  if (duk_pcompile_lstring_filename(heap_, DUK_COMPILE_EVAL, text.data(), text.size()) != 0) {
    duk_remove(heap_, -2);
    duk_remove(heap_, -2);
    return false;
  }
  duk_dup_top(heap_);
  duk_put_prop_lstring(heap_, -3, text.data(), text.size());
  ++compiledTexts_;
  duk_remove(heap_, -2);
  duk_remove(heap_, -2);
  return true;
}

// The error is on the stack top (left there).
HRESULT ScriptEngine::report(const std::u16string& code, DWORD_PTR context, ULONG startingLine, bool compiling,
                             EXCEPINFO* exception) {
  ULONG line = startingLine;
  HRESULT scode = E_FAIL;
  std::u16string description;
  if (duk_is_error(heap_, -1)) {
    if (duk_get_prop_string(heap_, -1, "lineNumber") && duk_get_int(heap_, -1) > 0)
      line += static_cast<ULONG>(duk_get_int(heap_, -1) - 1);
    duk_pop(heap_);
    if (duk_get_prop_string(heap_, -1, "number") && duk_is_number(heap_, -1))
      scode = static_cast<HRESULT>(static_cast<uint32_t>(duk_get_number(heap_, -1)));
    duk_pop(heap_);
    duk_get_prop_string(heap_, -1, "message");
    description = withoutLineSuffix(fromEngineText(duk_safe_to_string(heap_, -1)));
    duk_pop(heap_);
  } else {
    // A thrown value that is no Error: its text.
    duk_dup_top(heap_);
    description = fromEngineText(duk_safe_to_string(heap_, -1));
    duk_pop(heap_);
  }
  auto* error = new ScriptError(compiling ? kCompileSource : kRuntimeSource, description, scode,
                                static_cast<DWORD>(context), line, lineOf(code, line - startingLine));
  HRESULT hr = S_OK;
  if (site_) {
    // E_FAIL stops the script; any other answer means the host dealt with it.
    hr = site_->OnScriptError(error) == E_FAIL ? SCRIPT_E_REPORTED : S_OK;
  } else {
    if (exception) error->fill(exception);
    hr = DISP_E_EXCEPTION;
  }
  error->Release();
  return hr;
}

}  // namespace jscript
