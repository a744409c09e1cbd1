// The type object: ITypeInfo over one type of a library, and, while the
// library is being built, ICreateTypeInfo to add its members. Descriptions
// handed out (TYPEATTR, FUNCDESC, VARDESC) are owned by the object until
// the caller releases them.
#include <internal/comobject.h>

#include <algorithm>
#include <deque>
#include <map>

#include "typelibobjects.h"

namespace oleaut::tlb {
namespace {

// Tells the layer's type objects apart from others (AddRefTypeInfo).
constexpr IID kIidLayerType = {0x7C1D3A60, 0x42B1, 0x4F0B, {0x9E, 0x31, 0x55, 0x21, 0x08, 0x6B, 0x7A, 0x01}};

TypeDesc fromTypeDesc(const TYPEDESC& desc, int depth = 0) {
  TypeDesc out;
  out.vt = desc.vt;
  if ((desc.vt == VT_PTR || desc.vt == VT_SAFEARRAY) && desc.lptdesc && depth < 16)
    out.inner = std::make_shared<TypeDesc>(fromTypeDesc(*desc.lptdesc, depth + 1));
  if (desc.vt == VT_USERDEFINED) out.href = desc.hreftype;
  return out;
}

// Storage for the TYPEDESC chains of one handed-out description.
class TypeDescs {
 public:
  void fill(TYPEDESC* out, const TypeDesc& in) {
    out->vt = in.vt;
    out->lptdesc = nullptr;
    if (in.vt == VT_USERDEFINED) {
      out->hreftype = in.href;
    } else if (in.inner) {
      chain_.emplace_back();
      out->lptdesc = &chain_.back();
      fill(out->lptdesc, *in.inner);
    }
  }

 private:
  std::deque<TYPEDESC> chain_;
};

struct AttrHolder {
  TYPEATTR attr{};
  TypeDescs types;
};
struct FuncHolder {
  FUNCDESC desc{};
  std::vector<ELEMDESC> params;
  TypeDescs types;
};
struct VarHolder {
  VARDESC desc{};
  VARIANT value;
  TypeDescs types;
  VarHolder() { VariantInit(&value); }
  ~VarHolder() { VariantClear(&value); }
};

bool constantToVariant(const Constant& c, VARIANT* out) {
  VariantInit(out);
  switch (c.vt) {
    case VT_BSTR:
      out->bstrVal = bstr(c.text);
      if (!out->bstrVal) return false;
      break;
    case VT_R4: out->fltVal = static_cast<FLOAT>(c.real); break;
    case VT_R8: case VT_DATE: out->dblVal = c.real; break;
    case VT_BOOL: out->boolVal = c.integer ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_I8: case VT_UI8: case VT_CY: out->llVal = c.integer; break;
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT: case VT_UINT:
    case VT_ERROR:
      out->llVal = 0;
      out->lVal = static_cast<LONG>(c.integer);
      if (c.vt == VT_I2) out->iVal = static_cast<SHORT>(c.integer);
      if (c.vt == VT_I1 || c.vt == VT_UI1) out->bVal = static_cast<BYTE>(c.integer);
      if (c.vt == VT_UI2) out->uiVal = static_cast<USHORT>(c.integer);
      break;
    default: return false;
  }
  out->vt = c.vt;
  return true;
}

bool constantFromVariant(const VARIANT* in, Constant* c) {
  VARIANT value;
  VariantInit(&value);
  if (FAILED(VariantCopyInd(&value, in))) return false;
  c->vt = value.vt;
  bool ok = true;
  switch (value.vt) {
    case VT_BSTR: c->text = fromOle(value.bstrVal); break;
    case VT_R4: c->real = value.fltVal; break;
    case VT_R8: case VT_DATE: c->real = value.dblVal; break;
    case VT_BOOL: c->integer = value.boolVal ? -1 : 0; break;
    case VT_I1: c->integer = static_cast<signed char>(value.bVal); break;
    case VT_UI1: c->integer = value.bVal; break;
    case VT_I2: c->integer = value.iVal; break;
    case VT_UI2: c->integer = value.uiVal; break;
    case VT_I4: case VT_INT: case VT_ERROR: c->integer = value.lVal; break;
    case VT_UI4: case VT_UINT: c->integer = value.ulVal; break;
    case VT_I8: case VT_UI8: case VT_CY: c->integer = value.llVal; break;
    default: ok = false;
  }
  VariantClear(&value);
  return ok;
}

class TypeObject final : public ITypeInfo, public ICreateTypeInfo {
 public:
  TypeObject(LibraryObject* library, size_t index) : lib_(library), index_(index) { lib_->AddRef(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    ITypeInfo* info = this;
    ICreateTypeInfo* create = lib_->writable() ? this : nullptr;  // a library read from a file stays as it is
    return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, info}, {&IID_ITypeInfo, info}, {&kIidLayerType, info},
                                               {&IID_ICreateTypeInfo, create}});
  }
  KY_COM_REFCOUNT

  // --- ITypeInfo ---
  HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR** ppTypeAttr) override {
    if (!ppTypeAttr) return E_INVALIDARG;
    const Type& t = type();
    auto holder = std::make_unique<AttrHolder>();
    TYPEATTR& a = holder->attr;
    a.guid = t.guid;
    a.lcid = lib_->data().lcid;
    a.memidConstructor = a.memidDestructor = MEMBERID_NIL;
    a.cbSizeInstance = t.kind == TKIND_DISPATCH || t.kind == TKIND_INTERFACE ? sizeof(void*) : t.sizeInstance;
    a.typekind = t.kind;
    a.cFuncs = static_cast<WORD>(t.funcs.size());
    a.cVars = static_cast<WORD>(t.vars.size());
    a.cImplTypes = static_cast<WORD>(t.impls.size());
    a.cbSizeVft = t.sizeVft;
    a.cbAlignment = t.alignment;
    a.wTypeFlags = t.flags;
    a.wMajorVerNum = t.major;
    a.wMinorVerNum = t.minor;
    if (t.kind == TKIND_ALIAS) holder->types.fill(&a.tdescAlias, t.alias);
    *ppTypeAttr = &a;
    attrs_[&a] = std::move(holder);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp** ppTComp) override {
    if (ppTComp) *ppTComp = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT index, FUNCDESC** ppFuncDesc) override {
    if (!ppFuncDesc) return E_INVALIDARG;
    *ppFuncDesc = nullptr;
    if (index >= type().funcs.size()) return TYPE_E_ELEMENTNOTFOUND;
    const Func& f = type().funcs[index];
    auto holder = std::make_unique<FuncHolder>();
    FUNCDESC& d = holder->desc;
    d.memid = f.memid;
    d.funckind = f.funckind;
    d.invkind = f.invkind;
    d.callconv = f.callconv;
    d.cParams = static_cast<SHORT>(f.params.size());
    d.cParamsOpt = f.cParamsOpt;
    d.oVft = f.oVft;
    d.wFuncFlags = f.flags;
    holder->types.fill(&d.elemdescFunc.tdesc, f.result);
    holder->params.resize(f.params.size());
    for (size_t i = 0; i < f.params.size(); ++i) {
      holder->types.fill(&holder->params[i].tdesc, f.params[i].type);
      holder->params[i].paramdesc.wParamFlags = f.params[i].flags;
    }
    d.lprgelemdescParam = holder->params.empty() ? nullptr : holder->params.data();
    *ppFuncDesc = &d;
    funcs_[&d] = std::move(holder);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetVarDesc(UINT index, VARDESC** ppVarDesc) override {
    if (!ppVarDesc) return E_INVALIDARG;
    *ppVarDesc = nullptr;
    if (index >= type().vars.size()) return TYPE_E_ELEMENTNOTFOUND;
    const Var& v = type().vars[index];
    auto holder = std::make_unique<VarHolder>();
    VARDESC& d = holder->desc;
    d.memid = v.memid;
    d.varkind = v.kind;
    d.wVarFlags = v.flags;
    holder->types.fill(&d.elemdescVar.tdesc, v.type);
    if (v.kind == VAR_CONST) {
      if (!constantToVariant(v.value, &holder->value)) return E_OUTOFMEMORY;
      d.lpvarValue = &holder->value;
    } else {
      d.oInst = v.oInst;
    }
    *ppVarDesc = &d;
    vars_[&d] = std::move(holder);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetNames(MEMBERID memid, BSTR* rgBstrNames, UINT cMaxNames, UINT* pcNames) override {
    if (!rgBstrNames || !pcNames) return E_INVALIDARG;
    *pcNames = 0;
    std::vector<const std::u16string*> names;
    if (const Func* f = funcOf(memid)) {
      names.push_back(&f->name);
      for (const Param& p : f->params) {
        if (!p.named) break;  // an unnamed parameter (a put's value) ends the list
        names.push_back(&p.name);
      }
    } else if (const Var* v = varOf(memid)) {
      names.push_back(&v->name);
    } else {
      return TYPE_E_ELEMENTNOTFOUND;
    }
    UINT n = 0;
    for (; n < names.size() && n < cMaxNames; ++n) rgBstrNames[n] = bstr(*names[n]);
    *pcNames = n;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT index, HREFTYPE* pRefType) override {
    if (!pRefType) return E_INVALIDARG;
    if (index >= type().impls.size()) return TYPE_E_ELEMENTNOTFOUND;
    *pRefType = type().impls[index].href;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT index, INT* pImplTypeFlags) override {
    if (!pImplTypeFlags) return E_INVALIDARG;
    if (index >= type().impls.size()) return TYPE_E_ELEMENTNOTFOUND;
    *pImplTypeFlags = type().impls[index].flags;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR* rgszNames, UINT cNames, MEMBERID* pMemId) override {
    if (!rgszNames || !pMemId || cNames == 0) return E_INVALIDARG;
    const Func* func = nullptr;
    const Var* var = nullptr;
    for (const Func& f : type().funcs)
      if (!func && sameName(f.name, rgszNames[0])) func = &f;
    for (const Var& v : type().vars)
      if (!func && !var && sameName(v.name, rgszNames[0])) var = &v;
    HRESULT hr = S_OK;
    pMemId[0] = func ? func->memid : var ? var->memid : (hr = DISP_E_UNKNOWNNAME, MEMBERID_NIL);
    for (UINT i = 1; i < cNames; ++i) {
      pMemId[i] = MEMBERID_NIL;
      for (size_t p = 0; func && p < func->params.size(); ++p)
        if (func->params[p].named && sameName(func->params[p].name, rgszNames[i])) pMemId[i] = static_cast<MEMBERID>(p);
      if (pMemId[i] == MEMBERID_NIL) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  // A member of a dispatch interface is reached through the instance's own
  // IDispatch, once the description says the member, the kind of call and
  // the count of arguments fit. Calls through a virtual table from a
  // description are not offered (E_NOTIMPL).
  HRESULT STDMETHODCALLTYPE Invoke(PVOID pvInstance, MEMBERID memid, WORD wFlags, DISPPARAMS* pDispParams,
                                   VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override {
    if (!pvInstance || !pDispParams) return E_INVALIDARG;
    const Func* func = nullptr;
    for (const Func& f : type().funcs)
      if (!func && f.memid == memid && (f.invkind & wFlags)) func = &f;
    const Var* var = func ? nullptr : varOf(memid);
    if (!func && !(var && (wFlags & (DISPATCH_PROPERTYGET | DISPATCH_PROPERTYPUT)))) return DISP_E_MEMBERNOTFOUND;
    if (func) {
      if (func->funckind != FUNC_DISPATCH) return E_NOTIMPL;
      UINT declared = 0, required = 0;
      for (const Param& p : func->params) {
        if (p.flags & (PARAMFLAG_FRETVAL | PARAMFLAG_FLCID)) continue;
        ++declared;
        if (!(p.flags & PARAMFLAG_FOPT)) required = declared;
      }
      if (func->cParamsOpt > 0) required = std::min<UINT>(required, declared - func->cParamsOpt);
      if (pDispParams->cArgs > declared && func->cParamsOpt != -1) return DISP_E_BADPARAMCOUNT;
      if (pDispParams->cArgs < required) return DISP_E_PARAMNOTOPTIONAL;
    }
    IDispatch* dispatch = nullptr;
    if (FAILED(static_cast<IUnknown*>(pvInstance)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
      return E_NOINTERFACE;
    const HRESULT hr = dispatch->Invoke(memid, IID_NULL, LOCALE_USER_DEFAULT, wFlags, pDispParams, pVarResult,
                                        pExcepInfo, puArgErr);
    dispatch->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID memid, BSTR* pBstrName, BSTR* pBstrDocString,
                                             DWORD* pdwHelpContext, BSTR* pBstrHelpFile) override {
    const std::u16string& file = lib_->data().helpFile;
    if (memid == MEMBERID_NIL)
      return documentation(type().name, type().doc, type().helpContext, file, pBstrName, pBstrDocString,
                           pdwHelpContext, pBstrHelpFile);
    if (const Func* f = funcOf(memid))
      return documentation(f->name, f->doc, f->helpContext, file, pBstrName, pBstrDocString, pdwHelpContext,
                           pBstrHelpFile);
    if (const Var* v = varOf(memid))
      return documentation(v->name, v->doc, v->helpContext, file, pBstrName, pBstrDocString, pdwHelpContext,
                           pBstrHelpFile);
    return TYPE_E_ELEMENTNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) override {
    return type().kind == TKIND_MODULE ? E_NOTIMPL : TYPE_E_BADMODULEKIND;
  }
  HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE hRefType, ITypeInfo** ppTInfo) override {
    if (!ppTInfo) return E_INVALIDARG;
    *ppTInfo = nullptr;
    const size_t index = hRefType / kTypeRecordSize;
    if (hRefType % kTypeRecordSize || index >= lib_->data().types.size()) return TYPE_E_ELEMENTNOTFOUND;
    *ppTInfo = newTypeObject(lib_, index);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID, INVOKEKIND, PVOID* ppv) override {
    if (ppv) *ppv = nullptr;
    return TYPE_E_BADMODULEKIND;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, PVOID* ppvObj) override {
    if (!ppvObj) return E_INVALIDARG;
    *ppvObj = nullptr;
    if (type().kind != TKIND_COCLASS) return TYPE_E_WRONGTYPEKIND;
    return CoCreateInstance(type().guid, pUnkOuter, CLSCTX_INPROC_SERVER, riid, ppvObj);
  }
  HRESULT STDMETHODCALLTYPE GetMops(MEMBERID, BSTR* pBstrMops) override {
    if (pBstrMops) *pBstrMops = nullptr;
    return S_OK;  // no "mops" are ever recorded
  }
  HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib** ppTLib, UINT* pIndex) override {
    if (!ppTLib) return E_INVALIDARG;
    *ppTLib = static_cast<ITypeLib*>(lib_);
    lib_->AddRef();
    if (pIndex) *pIndex = static_cast<UINT>(index_);
    return S_OK;
  }
  void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR* pTypeAttr) override { attrs_.erase(pTypeAttr); }
  void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC* pFuncDesc) override { funcs_.erase(pFuncDesc); }
  void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC* pVarDesc) override { vars_.erase(pVarDesc); }

  // --- ICreateTypeInfo ---
  HRESULT STDMETHODCALLTYPE SetGuid(REFGUID guid) override { return type().guid = guid, S_OK; }
  HRESULT STDMETHODCALLTYPE SetTypeFlags(UINT uTypeFlags) override { return type().flags = static_cast<WORD>(uTypeFlags), S_OK; }
  HRESULT STDMETHODCALLTYPE SetDocString(LPOLESTR pStrDoc) override {
    return pStrDoc ? (type().doc = fromOle(pStrDoc), S_OK) : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD dwHelpContext) override { return type().helpContext = dwHelpContext, S_OK; }
  HRESULT STDMETHODCALLTYPE SetVersion(WORD major, WORD minor) override {
    type().major = major;
    type().minor = minor;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AddRefTypeInfo(ITypeInfo* pTInfo, HREFTYPE* phRefType) override {
    if (!pTInfo || !phRefType) return E_INVALIDARG;
    LibraryObject* other = nullptr;
    size_t index = 0;
    if (!typeIndexOf(pTInfo, &other, &index) || other != lib_) return TYPE_E_CANTLOADLIBRARY;
    *phRefType = hrefOf(index);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AddFuncDesc(UINT index, FUNCDESC* d) override {
    if (!d || index > type().funcs.size() || d->cParams < 0 || (d->cParams && !d->lprgelemdescParam)) return E_INVALIDARG;
    if (type().kind == TKIND_ENUM || type().kind == TKIND_RECORD || type().kind == TKIND_ALIAS) return TYPE_E_WRONGTYPEKIND;
    Func f;
    f.memid = d->memid;
    f.funckind = d->funckind;
    f.invkind = d->invkind;
    f.callconv = d->callconv;
    f.cParamsOpt = d->cParamsOpt;
    f.oVft = d->oVft;
    f.flags = d->wFuncFlags;
    f.result = fromTypeDesc(d->elemdescFunc.tdesc);
    for (SHORT i = 0; i < d->cParams; ++i) {
      Param p;
      p.type = fromTypeDesc(d->lprgelemdescParam[i].tdesc);
      p.flags = d->lprgelemdescParam[i].paramdesc.wParamFlags & ~PARAMFLAG_FHASDEFAULT;
      f.params.push_back(std::move(p));
    }
    type().funcs.insert(type().funcs.begin() + index, std::move(f));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AddImplType(UINT index, HREFTYPE hRefType) override {
    if (index > type().impls.size()) return E_INVALIDARG;
    if (hRefType % kTypeRecordSize || hRefType / kTypeRecordSize >= lib_->data().types.size()) return TYPE_E_ELEMENTNOTFOUND;
    type().impls.insert(type().impls.begin() + index, Impl{hRefType, 0});
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetImplTypeFlags(UINT index, INT flags) override {
    if (index >= type().impls.size()) return TYPE_E_ELEMENTNOTFOUND;
    type().impls[index].flags = flags;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetAlignment(WORD cbAlignment) override { return type().alignment = cbAlignment, S_OK; }
  HRESULT STDMETHODCALLTYPE SetSchema(LPOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE AddVarDesc(UINT index, VARDESC* d) override {
    if (!d || index > type().vars.size()) return E_INVALIDARG;
    Var v;
    v.memid = d->memid;
    v.kind = d->varkind;
    v.flags = d->wVarFlags;
    v.type = fromTypeDesc(d->elemdescVar.tdesc);
    if (d->varkind == VAR_CONST) {
      if (!d->lpvarValue || !constantFromVariant(d->lpvarValue, &v.value)) return DISP_E_BADVARTYPE;
    } else {
      v.oInst = d->oInst;
    }
    type().vars.insert(type().vars.begin() + index, std::move(v));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetFuncAndParamNames(UINT index, LPOLESTR* rgszNames, UINT cNames) override {
    if (index >= type().funcs.size()) return TYPE_E_ELEMENTNOTFOUND;
    Func& f = type().funcs[index];
    // A property put may leave its value parameter unnamed.
    const bool put = f.invkind == INVOKE_PROPERTYPUT || f.invkind == INVOKE_PROPERTYPUTREF;
    if (!rgszNames || cNames == 0 || cNames > f.params.size() + 1 || (!put && cNames != f.params.size() + 1))
      return TYPE_E_ELEMENTNOTFOUND;
    for (UINT i = 0; i < cNames; ++i)
      if (!rgszNames[i] || fromOle(rgszNames[i]).size() > 255) return E_INVALIDARG;
    f.name = fromOle(rgszNames[0]);
    for (size_t i = 0; i < f.params.size(); ++i) {
      f.params[i].named = i + 1 < cNames;
      f.params[i].name = f.params[i].named ? fromOle(rgszNames[i + 1]) : std::u16string();
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetVarName(UINT index, LPOLESTR szName) override {
    if (index >= type().vars.size()) return TYPE_E_ELEMENTNOTFOUND;
    if (!szName || fromOle(szName).size() > 255) return E_INVALIDARG;
    type().vars[index].name = fromOle(szName);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetTypeDescAlias(TYPEDESC* pTDescAlias) override {
    if (!pTDescAlias) return E_INVALIDARG;
    if (type().kind != TKIND_ALIAS) return TYPE_E_WRONGTYPEKIND;
    type().alias = fromTypeDesc(*pTDescAlias);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DefineFuncAsDllEntry(UINT, LPOLESTR, LPOLESTR) override { return TYPE_E_BADMODULEKIND; }
  HRESULT STDMETHODCALLTYPE SetFuncDocString(UINT index, LPOLESTR szDocString) override {
    if (index >= type().funcs.size()) return TYPE_E_ELEMENTNOTFOUND;
    return szDocString ? (type().funcs[index].doc = fromOle(szDocString), S_OK) : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE SetVarDocString(UINT index, LPOLESTR szDocString) override {
    if (index >= type().vars.size()) return TYPE_E_ELEMENTNOTFOUND;
    return szDocString ? (type().vars[index].doc = fromOle(szDocString), S_OK) : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE SetFuncHelpContext(UINT index, DWORD dwHelpContext) override {
    if (index >= type().funcs.size()) return TYPE_E_ELEMENTNOTFOUND;
    return type().funcs[index].helpContext = dwHelpContext, S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetVarHelpContext(UINT index, DWORD dwHelpContext) override {
    if (index >= type().vars.size()) return TYPE_E_ELEMENTNOTFOUND;
    return type().vars[index].helpContext = dwHelpContext, S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetMops(UINT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetTypeIdldesc(IDLDESC*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE LayOut() override {
    // Members of an interface take their virtual-table slots in order.
    Type& t = type();
    if (t.kind == TKIND_INTERFACE) {
      WORD slot = t.sizeVft;
      for (Func& f : t.funcs) {
        f.oVft = static_cast<SHORT>(slot);
        slot = static_cast<WORD>(slot + sizeof(void*));
      }
      t.sizeVft = slot;
    }
    return S_OK;
  }

  LibraryObject* library() const { return lib_; }
  size_t index() const { return index_; }

 private:
  ~TypeObject() { lib_->Release(); }
  Type& type() const { return lib_->data().types[index_]; }
  const Func* funcOf(MEMBERID memid) const {
    for (const Func& f : type().funcs)
      if (f.memid == memid) return &f;
    return nullptr;
  }
  const Var* varOf(MEMBERID memid) const {
    for (const Var& v : type().vars)
      if (v.memid == memid) return &v;
    return nullptr;
  }

  win32::com::RefCount refs_;
  LibraryObject* lib_;
  size_t index_;
  std::map<TYPEATTR*, std::unique_ptr<AttrHolder>> attrs_;
  std::map<FUNCDESC*, std::unique_ptr<FuncHolder>> funcs_;
  std::map<VARDESC*, std::unique_ptr<VarHolder>> vars_;
};

}  // namespace

ITypeInfo* newTypeObject(LibraryObject* library, size_t index) { return new TypeObject(library, index); }

bool typeIndexOf(ITypeInfo* info, LibraryObject** library, size_t* index) {
  void* ours = nullptr;
  if (FAILED(info->QueryInterface(kIidLayerType, &ours)) || !ours) return false;
  auto* object = static_cast<TypeObject*>(static_cast<ITypeInfo*>(ours));
  *library = object->library();
  *index = object->index();
  object->Release();
  return true;
}

}  // namespace oleaut::tlb
