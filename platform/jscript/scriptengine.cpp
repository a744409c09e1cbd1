#include "scriptengine.h"

#include <oleauto.h>

#include <cstdio>
#include <cstdlib>

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
      return wasRunning ? S_OK : start();
    }
    case SCRIPTSTATE_DISCONNECTED:
      if (!running()) return E_UNEXPECTED;
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
  if (item->object) {
    item->object->Release();
    item->object = nullptr;
  }
  if (heap_ && running()) defineItem(*item);
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
  if (ppdisp) *ppdisp = nullptr;
  return E_NOTIMPL;
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

HRESULT ScriptEngine::AddScriptlet(LPCOLESTR, LPCOLESTR, LPCOLESTR, LPCOLESTR, LPCOLESTR, LPCOLESTR, DWORD_PTR, ULONG,
                                   DWORD, BSTR* name, EXCEPINFO*) {
  if (name) *name = nullptr;
  return E_NOTIMPL;
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
