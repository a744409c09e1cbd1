// Host objects: a duktape Proxy per dispatch object (traps get, set and
// has), member functions that invoke by dispatch id, and the VARIANT
// conversions. See hostobject.h for the rules a script sees.
#include "hostobject.h"

#include <oleauto.h>
#include <oletypelib.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "scripttext.h"

namespace jscript {
namespace {

const char kDispatchKey[] = DUK_HIDDEN_SYMBOL("dispatch");
const char kDispIdKey[] = DUK_HIDDEN_SYMBOL("dispid");
const char kNameKey[] = DUK_HIDDEN_SYMBOL("name");
const char kHandlerKey[] = DUK_HIDDEN_SYMBOL("hostHandler");
const char kMembersKey[] = DUK_HIDDEN_SYMBOL("members");

enum class MemberKind { Unknown, Property, Callable };

std::u16string wideOf(const char* engineText) { return fromEngineText(engineText ? engineText : ""); }

void pushBstr(duk_context* ctx, BSTR text) {
  const std::string engine = toEngineText(std::u16string_view(reinterpret_cast<const char16_t*>(text ? text : u""),
                                                              text ? SysStringLen(text) : 0));
  duk_push_lstring(ctx, engine.data(), engine.size());
}

std::string narrow(BSTR text) {
  if (!text) return {};
  return toEngineText(std::u16string_view(reinterpret_cast<const char16_t*>(text), SysStringLen(text)));
}

// The object's dispatch pointer kept on a host object or member function,
// released by the finalizer when the script lets it go.
duk_ret_t releaseDispatch(duk_context* ctx) {
  duk_get_prop_string(ctx, 0, kDispatchKey);
  if (auto* object = static_cast<IDispatch*>(duk_get_pointer(ctx, -1))) object->Release();
  duk_pop(ctx);
  duk_push_pointer(ctx, nullptr);
  duk_put_prop_string(ctx, 0, kDispatchKey);
  return 0;
}

void keepDispatch(duk_context* ctx, duk_idx_t holder, IDispatch* object) {
  holder = duk_normalize_index(ctx, holder);
  object->AddRef();
  duk_push_pointer(ctx, object);
  duk_put_prop_string(ctx, holder, kDispatchKey);
  duk_push_c_function(ctx, releaseDispatch, 1);
  duk_set_finalizer(ctx, holder);
}

IDispatch* dispatchOf(duk_context* ctx, duk_idx_t holder) {
  duk_get_prop_string(ctx, holder, kDispatchKey);
  auto* object = static_cast<IDispatch*>(duk_get_pointer(ctx, -1));
  duk_pop(ctx);
  return object;
}

// Pushes an Error that says why the call of `name` failed: the exception
// record's or the error object's description when there is one.
void pushInvokeError(duk_context* ctx, const char* name, HRESULT hr, EXCEPINFO* exception) {
  std::string description;
  if (hr == DISP_E_EXCEPTION && exception) {
    if (exception->pfnDeferredFillIn) exception->pfnDeferredFillIn(exception);
    description = narrow(exception->bstrDescription);
    if (exception->scode) hr = exception->scode;
  }
  if (description.empty()) {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info) {
      BSTR text = nullptr;
      if (SUCCEEDED(info->GetDescription(&text))) description = narrow(text);
      SysFreeString(text);
      info->Release();
    }
  }
  if (description.empty()) {
    char code[64];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    description = hr == DISP_E_MEMBERNOTFOUND ? "the object has no such property or method"
                  : hr == DISP_E_BADPARAMCOUNT ? "wrong number of arguments"
                  : hr == DISP_E_TYPEMISMATCH  ? "type mismatch"
                                               : std::string("the call failed with ") + code;
  }
  pushScriptError(ctx, DUK_ERR_ERROR, "'%s': %s", name, description.c_str());
  duk_push_number(ctx, static_cast<double>(static_cast<uint32_t>(hr)));
  duk_put_prop_string(ctx, -2, "number");
}

// The arguments of a call, in the reversed order IDispatch expects.
class Arguments {
 public:
  Arguments(duk_context* ctx, duk_idx_t first, duk_idx_t count) : values_(count) {
    for (duk_idx_t i = 0; i < count; ++i) toVariant(ctx, first + i, &values_[count - 1 - i]);
  }
  ~Arguments() {
    for (VARIANT& v : values_) VariantClear(&v);
  }
  Arguments(const Arguments&) = delete;
  Arguments& operator=(const Arguments&) = delete;
  DISPPARAMS all() { return DISPPARAMS{values_.data(), nullptr, static_cast<UINT>(values_.size()), 0}; }
  // The last argument (first in the array) as the value of a put.
  DISPPARAMS asPut() {
    return DISPPARAMS{values_.data(), &putId_, static_cast<UINT>(values_.size()), 1};
  }
  size_t size() const { return values_.size(); }

 private:
  std::vector<VARIANT> values_;
  DISPID putId_ = DISPID_PROPERTYPUT;
};

// Invokes and leaves the result (true) or an Error (false) on the stack.
bool invoke(duk_context* ctx, IDispatch* object, DISPID id, const char* name, WORD flags, DISPPARAMS params) {
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO exception{};
  const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, flags, &params,
                                    (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) ? nullptr : &result,
                                    &exception, nullptr);
  if (FAILED(hr)) {
    pushInvokeError(ctx, name, hr, &exception);
  } else {
    pushVariant(ctx, result);
  }
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  VariantClear(&result);
  return SUCCEEDED(hr);
}

bool dispIdOf(IDispatch* object, const std::u16string& name, DISPID* id) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(reinterpret_cast<LPCOLESTR>(name.c_str()))};
  return SUCCEEDED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, id));
}

// What the type information says the member is.
MemberKind kindFromTypeInfo(IDispatch* object, DISPID id) {
  UINT count = 0;
  if (FAILED(object->GetTypeInfoCount(&count)) || count == 0) return MemberKind::Unknown;
  ITypeInfo* info = nullptr;
  if (FAILED(object->GetTypeInfo(0, LOCALE_SYSTEM_DEFAULT, &info)) || !info) return MemberKind::Unknown;
  MemberKind kind = MemberKind::Unknown;
  TYPEATTR* attr = nullptr;
  if (SUCCEEDED(info->GetTypeAttr(&attr)) && attr) {
    for (UINT i = 0; i < attr->cVars && kind == MemberKind::Unknown; ++i) {
      VARDESC* var = nullptr;
      if (SUCCEEDED(info->GetVarDesc(i, &var)) && var) {
        if (var->memid == id) kind = MemberKind::Property;
        info->ReleaseVarDesc(var);
      }
    }
    for (UINT i = 0; i < attr->cFuncs && kind == MemberKind::Unknown; ++i) {
      FUNCDESC* func = nullptr;
      if (FAILED(info->GetFuncDesc(i, &func)) || !func) continue;
      if (func->memid == id) {
        const bool plainGet = func->invkind == INVOKE_PROPERTYGET && func->cParams == 0;
        const bool plainPut = func->invkind != INVOKE_FUNC && func->invkind != INVOKE_PROPERTYGET && func->cParams == 1;
        kind = plainGet || plainPut ? MemberKind::Property : MemberKind::Callable;
      }
      info->ReleaseFuncDesc(func);
    }
    info->ReleaseTypeAttr(attr);
  }
  info->Release();
  return kind;
}

// A member function: invokes as method or property get, and takes the
// last argument as a put's value when the count of arguments was wrong.
bool callMemberLeavingResult(duk_context* ctx) {
  const duk_idx_t count = duk_get_top(ctx);
  duk_push_current_function(ctx);
  IDispatch* object = dispatchOf(ctx, -1);
  duk_get_prop_string(ctx, -1, kDispIdKey);
  const DISPID id = duk_get_int(ctx, -1);
  duk_get_prop_string(ctx, -2, kNameKey);
  // The function keeps its name string alive while it runs.
  const char* name = duk_get_string(ctx, -1) ? duk_get_string(ctx, -1) : "";
  duk_pop_3(ctx);
  bool done = false;
  if (object) {
    Arguments args(ctx, 0, count);
    done = invoke(ctx, object, id, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args.all());
    if (!done && args.size() >= 1) {
      duk_get_prop_string(ctx, -1, "number");
      const HRESULT hr = static_cast<HRESULT>(static_cast<uint32_t>(duk_get_number(ctx, -1)));
      duk_pop(ctx);
      if (hr == DISP_E_BADPARAMCOUNT) {
        duk_pop(ctx);
        done = invoke(ctx, object, id, name, DISPATCH_PROPERTYPUT, args.asPut());
      }
    }
  } else {
    pushScriptError(ctx, DUK_ERR_ERROR, "'%s': the object is gone", name);
  }
  return done;
}

// duk_throw leaves by longjmp: the C++ work above has ended before it.
duk_ret_t callMember(duk_context* ctx) { return callMemberLeavingResult(ctx) ? 1 : duk_throw(ctx); }

void pushMemberFunction(duk_context* ctx, IDispatch* object, DISPID id, const char* name) {
  duk_push_c_function(ctx, callMember, DUK_VARARGS);
  keepDispatch(ctx, -1, object);
  duk_push_int(ctx, id);
  duk_put_prop_string(ctx, -2, kDispIdKey);
  duk_push_string(ctx, name);
  duk_put_prop_string(ctx, -2, kNameKey);
}

// What a host object learnt of its members: per name, the member function
// of a callable member or the dispatch id of a plain property. An object's
// names and kinds do not change while a script holds it, and asking for
// them again (type information, a trial get) costs far more than the call.
void pushMemberCache(duk_context* ctx, duk_idx_t holder) {
  holder = duk_normalize_index(ctx, holder);
  if (!duk_get_prop_string(ctx, holder, kMembersKey)) {
    duk_pop(ctx);
    duk_push_bare_object(ctx);
    duk_dup_top(ctx);
    duk_put_prop_string(ctx, holder, kMembersKey);
  }
}

// Stores a copy of the value on the stack top under the name in the cache
// of the holder (none: nothing to do).
void remember(duk_context* ctx, duk_idx_t holder, const char* name) {
  if (holder == DUK_INVALID_INDEX) return;
  pushMemberCache(ctx, holder);
  duk_dup(ctx, -2);
  duk_put_prop_string(ctx, -2, name);
  duk_pop(ctx);
}

void rememberProperty(duk_context* ctx, duk_idx_t holder, const char* name, DISPID id) {
  duk_push_int(ctx, id);
  remember(ctx, holder, name);
  duk_pop(ctx);
}

// Reads a member of the object; `holder` (a host object's target or a
// global accessor) keeps what was learnt, DUK_INVALID_INDEX none. False
// leaves an Error.
bool readMember(duk_context* ctx, IDispatch* object, const char* name, duk_idx_t holder) {
  if (holder != DUK_INVALID_INDEX) {
    holder = duk_normalize_index(ctx, holder);
    pushMemberCache(ctx, holder);
    if (duk_get_prop_string(ctx, -1, name)) {
      duk_remove(ctx, -2);
      if (duk_is_function(ctx, -1)) return true;
      const DISPID id = duk_get_int(ctx, -1);
      duk_pop(ctx);
      return invoke(ctx, object, id, name, DISPATCH_PROPERTYGET, DISPPARAMS{});
    }
    duk_pop_2(ctx);
  }
  DISPID id = 0;
  if (!dispIdOf(object, wideOf(name), &id)) {
    pushScriptError(ctx, DUK_ERR_TYPE_ERROR, "'%s': the object has no such property or method", name);
    return false;
  }
  MemberKind kind = kindFromTypeInfo(object, id);
  if (kind == MemberKind::Unknown) {
    // No type information: a property answers a get without arguments.
    if (invoke(ctx, object, id, name, DISPATCH_PROPERTYGET, DISPPARAMS{})) {
      rememberProperty(ctx, holder, name, id);
      return true;
    }
    duk_get_prop_string(ctx, -1, "number");
    const HRESULT hr = static_cast<HRESULT>(static_cast<uint32_t>(duk_get_number(ctx, -1)));
    duk_pop(ctx);
    if (hr != DISP_E_MEMBERNOTFOUND && hr != DISP_E_BADPARAMCOUNT && hr != DISP_E_PARAMNOTOPTIONAL) return false;
    duk_pop(ctx);
    kind = MemberKind::Callable;
  }
  if (kind == MemberKind::Property) {
    rememberProperty(ctx, holder, name, id);
    return invoke(ctx, object, id, name, DISPATCH_PROPERTYGET, DISPPARAMS{});
  }
  pushMemberFunction(ctx, object, id, name);
  remember(ctx, holder, name);
  return true;
}

bool writeMember(duk_context* ctx, IDispatch* object, const char* name, duk_idx_t value) {
  DISPID id = 0;
  if (!dispIdOf(object, wideOf(name), &id)) {
    pushScriptError(ctx, DUK_ERR_TYPE_ERROR, "'%s': the object has no such property", name);
    return false;
  }
  Arguments args(ctx, value, 1);
  if (!invoke(ctx, object, id, name, DISPATCH_PROPERTYPUT, args.asPut())) return false;
  duk_pop(ctx);
  return true;
}

// Proxy traps: (target, key, receiver), (target, key, value, receiver), (target, key).
bool isConversion(const char* name) {
  return std::string_view(name) == "toString" || std::string_view(name) == "valueOf";
}

duk_ret_t trapGet(duk_context* ctx) {
  if (!duk_is_string(ctx, 1) || duk_is_symbol(ctx, 1)) return 0;
  IDispatch* object = dispatchOf(ctx, 0);
  const char* name = duk_get_string(ctx, 1);
  if (!object) return 0;
  // Conversions of the object to a primitive read its default member.
  if (isConversion(name)) {
    pushMemberFunction(ctx, object, DISPID_VALUE, "");
    return 1;
  }
  return readMember(ctx, object, name, 0) ? 1 : duk_throw(ctx);
}

duk_ret_t trapSet(duk_context* ctx) {
  if (!duk_is_string(ctx, 1) || duk_is_symbol(ctx, 1)) return 0;
  IDispatch* object = dispatchOf(ctx, 0);
  if (!object || !writeMember(ctx, object, duk_get_string(ctx, 1), 2)) return duk_throw(ctx);
  duk_push_true(ctx);
  return 1;
}

duk_ret_t trapHas(duk_context* ctx) {
  IDispatch* object = dispatchOf(ctx, 0);
  DISPID id = 0;
  duk_push_boolean(ctx, object && duk_is_string(ctx, 1) && !duk_is_symbol(ctx, 1) &&
                            dispIdOf(object, wideOf(duk_get_string(ctx, 1)), &id));
  return 1;
}

// The one handler object all host objects share, kept in the stash.
void pushHandler(duk_context* ctx) {
  duk_push_global_stash(ctx);
  if (!duk_get_prop_string(ctx, -1, kHandlerKey)) {
    duk_pop(ctx);
    duk_push_object(ctx);
    duk_push_c_function(ctx, trapGet, 3);
    duk_put_prop_string(ctx, -2, "get");
    duk_push_c_function(ctx, trapSet, 4);
    duk_put_prop_string(ctx, -2, "set");
    duk_push_c_function(ctx, trapHas, 2);
    duk_put_prop_string(ctx, -2, "has");
    duk_dup_top(ctx);
    duk_put_prop_string(ctx, -3, kHandlerKey);
  }
  duk_remove(ctx, -2);
}

// Global accessors of an item with global members.
// The accessor's object and member name; the name stays on the stack
// (at the top) so that no C++ string outlives a throw.
IDispatch* accessorTarget(duk_context* ctx, const char** name) {
  duk_push_current_function(ctx);
  IDispatch* object = dispatchOf(ctx, -1);
  duk_get_prop_string(ctx, -1, kNameKey);
  duk_remove(ctx, -2);
  *name = duk_get_string(ctx, -1);
  return object;
}

duk_ret_t globalGetter(duk_context* ctx) {
  const char* name = nullptr;
  IDispatch* object = accessorTarget(ctx, &name);
  if (!object || !name) return 0;
  duk_push_current_function(ctx);
  return readMember(ctx, object, name, -1) ? 1 : duk_throw(ctx);
}

duk_ret_t globalSetter(duk_context* ctx) {
  const char* name = nullptr;
  IDispatch* object = accessorTarget(ctx, &name);
  if (!object || !name) return 0;
  return writeMember(ctx, object, name, 0) ? 0 : duk_throw(ctx);
}

void pushAccessor(duk_context* ctx, duk_c_function function, duk_idx_t args, IDispatch* object, const char* name) {
  duk_push_c_function(ctx, function, args);
  keepDispatch(ctx, -1, object);
  duk_push_string(ctx, name);
  duk_put_prop_string(ctx, -2, kNameKey);
}

}  // namespace

void pushVariant(duk_context* ctx, const VARIANT& value) {
  const VARIANT* v = &value;
  while (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) v = v->pvarVal;
  switch (v->vt) {
    case VT_EMPTY: duk_push_undefined(ctx); return;
    case VT_NULL: duk_push_null(ctx); return;
    case VT_BOOL: duk_push_boolean(ctx, v->boolVal != VARIANT_FALSE); return;
    case VT_I1: duk_push_int(ctx, v->cVal); return;
    case VT_UI1: duk_push_uint(ctx, v->bVal); return;
    case VT_I2: duk_push_int(ctx, v->iVal); return;
    case VT_UI2: duk_push_uint(ctx, v->uiVal); return;
    case VT_I4: duk_push_int(ctx, v->lVal); return;
    case VT_INT: duk_push_int(ctx, v->intVal); return;
    case VT_UI4: duk_push_uint(ctx, v->ulVal); return;
    case VT_UINT: duk_push_uint(ctx, v->uintVal); return;
    case VT_R4: duk_push_number(ctx, v->fltVal); return;
    case VT_R8: duk_push_number(ctx, v->dblVal); return;
    case VT_BSTR: pushBstr(ctx, v->bstrVal); return;
    case VT_DISPATCH:
      if (v->pdispVal) {
        pushHostObject(ctx, v->pdispVal);
      } else {
        duk_push_null(ctx);
      }
      return;
    default: break;
  }
  // By-reference and the remaining kinds (currency, dates, decimals ...):
  // numbers when they convert to one, else their text.
  VARIANT converted;
  VariantInit(&converted);
  if (SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(v), 0, VT_R8)) && (v->vt & ~VT_BYREF) != VT_DATE &&
      (v->vt & ~VT_BYREF) != VT_BSTR) {
    duk_push_number(ctx, converted.dblVal);
  } else if (SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(v), 0, VT_BSTR))) {
    pushBstr(ctx, converted.bstrVal);
  } else {
    duk_push_undefined(ctx);
  }
  VariantClear(&converted);
}

void toVariant(duk_context* ctx, duk_idx_t idx, VARIANT* value) {
  VariantInit(value);
  switch (duk_get_type(ctx, idx)) {
    case DUK_TYPE_NULL: value->vt = VT_NULL; return;
    case DUK_TYPE_BOOLEAN:
      value->vt = VT_BOOL;
      value->boolVal = duk_get_boolean(ctx, idx) ? VARIANT_TRUE : VARIANT_FALSE;
      return;
    case DUK_TYPE_NUMBER: {
      const double number = duk_get_number(ctx, idx);
      if (std::floor(number) == number && number >= -2147483648.0 && number <= 2147483647.0) {
        value->vt = VT_I4;
        value->lVal = static_cast<LONG>(number);
      } else {
        value->vt = VT_R8;
        value->dblVal = number;
      }
      return;
    }
    case DUK_TYPE_OBJECT:
      if (IDispatch* object = hostDispatch(ctx, idx)) {
        object->AddRef();
        value->vt = VT_DISPATCH;
        value->pdispVal = object;
        return;
      }
      break;
    case DUK_TYPE_UNDEFINED:
    case DUK_TYPE_NONE: return;
    default: break;
  }
  duk_dup(ctx, idx);
  duk_size_t length = 0;
  const char* text = duk_safe_to_lstring(ctx, -1, &length);
  const std::u16string wide = fromEngineText(std::string_view(text, length));
  duk_pop(ctx);
  value->vt = VT_BSTR;
  value->bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()), static_cast<UINT>(wide.size()));
}

void pushHostObject(duk_context* ctx, IDispatch* object) {
  duk_push_object(ctx);
  keepDispatch(ctx, -1, object);
  pushHandler(ctx);
  duk_push_proxy(ctx, 0);
}

IDispatch* hostDispatch(duk_context* ctx, duk_idx_t idx) {
  if (!duk_is_object(ctx, idx) || duk_is_function(ctx, idx)) return nullptr;
  // Hidden keys pass a proxy's traps and read its target.
  duk_get_prop_string(ctx, idx, kDispatchKey);
  auto* object = static_cast<IDispatch*>(duk_get_pointer(ctx, -1));
  duk_pop(ctx);
  return object;
}

bool defineGlobalMembers(duk_context* ctx, IDispatch* object) {
  UINT count = 0;
  ITypeInfo* info = nullptr;
  if (FAILED(object->GetTypeInfoCount(&count)) || count == 0 ||
      FAILED(object->GetTypeInfo(0, LOCALE_SYSTEM_DEFAULT, &info)) || !info)
    return false;
  std::vector<std::string> names;
  TYPEATTR* attr = nullptr;
  if (SUCCEEDED(info->GetTypeAttr(&attr)) && attr) {
    auto nameOf = [&](MEMBERID id) {
      BSTR name = nullptr;
      UINT got = 0;
      if (SUCCEEDED(info->GetNames(id, &name, 1, &got)) && got == 1) names.push_back(narrow(name));
      SysFreeString(name);
    };
    for (UINT i = 0; i < attr->cFuncs; ++i) {
      FUNCDESC* func = nullptr;
      if (FAILED(info->GetFuncDesc(i, &func)) || !func) continue;
      nameOf(func->memid);
      info->ReleaseFuncDesc(func);
    }
    for (UINT i = 0; i < attr->cVars; ++i) {
      VARDESC* var = nullptr;
      if (FAILED(info->GetVarDesc(i, &var)) || !var) continue;
      nameOf(var->memid);
      info->ReleaseVarDesc(var);
    }
    info->ReleaseTypeAttr(attr);
  }
  info->Release();
  duk_push_global_object(ctx);
  for (const std::string& name : names) {
    if (name.empty()) continue;
    duk_push_string(ctx, name.c_str());
    pushAccessor(ctx, globalGetter, 0, object, name.c_str());
    pushAccessor(ctx, globalSetter, 1, object, name.c_str());
    duk_def_prop(ctx, -4, DUK_DEFPROP_HAVE_GETTER | DUK_DEFPROP_HAVE_SETTER | DUK_DEFPROP_SET_CONFIGURABLE);
  }
  duk_pop(ctx);
  return true;
}

}  // namespace jscript
