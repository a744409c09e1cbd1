// Writing a type library from a short description: the in-process servers
// of the layer and their tests describe their types with it. A thin layer
// over CreateTypeLib2 and ICreateTypeInfo; the first failure is kept and
// every later step does nothing, so that a description is checked once,
// at save().
#pragma once

#include <oletypelib.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace oleaut::writer {

inline std::u16string wide(const char* text) { return text ? std::u16string(text, text + std::strlen(text)) : std::u16string(); }

// A data type: a plain VARTYPE, or a type of the library (href), or a
// pointer to one of those.
struct Type {
  VARTYPE vt = VT_EMPTY;
  HREFTYPE href = 0;
  bool pointer = false;
};
struct Param {
  Type type;
  USHORT flags = PARAMFLAG_FIN;
};

class TypeWriter {
 public:
  TypeWriter(ICreateTypeInfo* info, HRESULT* status) : info_(info), status_(status) {}
  TypeWriter(const TypeWriter&) = delete;
  TypeWriter(TypeWriter&& other) noexcept : info_(other.info_), status_(other.status_) { other.info_ = nullptr; }
  ~TypeWriter() {
    if (info_) info_->Release();
  }

  // A function (names: the function's, then its parameters'; a put may
  // leave its value parameter unnamed).
  TypeWriter& func(MEMBERID id, INVOKEKIND kind, Type result, std::initializer_list<Param> params,
                   std::initializer_list<const char*> names, WORD flags = 0, const char* doc = nullptr, DWORD help = 0) {
    if (!ok()) return *this;
    std::vector<TYPEDESC> pointees(params.size() + 1);
    std::vector<ELEMDESC> elems(params.size());
    size_t i = 0;
    for (const Param& p : params) {
      fill(&elems[i].tdesc, p.type, &pointees[i]);
      elems[i].paramdesc.wParamFlags = p.flags;
      ++i;
    }
    FUNCDESC desc{};
    desc.memid = id;
    desc.funckind = FUNC_DISPATCH;
    desc.invkind = kind;
    desc.callconv = CC_STDCALL;
    desc.cParams = static_cast<SHORT>(elems.size());
    desc.lprgelemdescParam = elems.empty() ? nullptr : elems.data();
    desc.wFuncFlags = flags;
    fill(&desc.elemdescFunc.tdesc, result, &pointees.back());
    const UINT index = funcs_++;
    if (!check(info_->AddFuncDesc(index, &desc))) return *this;
    std::vector<std::u16string> texts;
    for (const char* name : names) texts.push_back(wide(name));
    std::vector<LPOLESTR> pointers;
    for (auto& text : texts) pointers.push_back(reinterpret_cast<LPOLESTR>(text.data()));
    check(info_->SetFuncAndParamNames(index, pointers.data(), static_cast<UINT>(pointers.size())));
    if (doc) {
      std::u16string text = wide(doc);
      check(info_->SetFuncDocString(index, reinterpret_cast<LPOLESTR>(text.data())));
    }
    if (help) check(info_->SetFuncHelpContext(index, help));
    return *this;
  }
  TypeWriter& constant(MEMBERID id, const char* name, LONG value) {
    if (!ok()) return *this;
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    VARDESC desc{};
    desc.memid = id;
    desc.varkind = VAR_CONST;
    desc.lpvarValue = &v;
    desc.elemdescVar.tdesc.vt = VT_I4;
    const UINT index = vars_++;
    std::u16string text = wide(name);
    if (check(info_->AddVarDesc(index, &desc))) check(info_->SetVarName(index, reinterpret_cast<LPOLESTR>(text.data())));
    return *this;
  }
  TypeWriter& implements(const TypeWriter& other, INT flags) {
    const HREFTYPE href = ref(other);
    const UINT index = impls_++;
    if (ok() && check(info_->AddImplType(index, href))) check(info_->SetImplTypeFlags(index, flags));
    return *this;
  }
  TypeWriter& alias(VARTYPE vt) {
    TYPEDESC desc{};
    desc.vt = vt;
    if (ok()) check(info_->SetTypeDescAlias(&desc));
    return *this;
  }
  TypeWriter& doc(const char* text, DWORD help = 0) {
    std::u16string doc = wide(text);
    if (ok()) check(info_->SetDocString(reinterpret_cast<LPOLESTR>(doc.data())));
    if (ok() && help) check(info_->SetHelpContext(help));
    return *this;
  }
  TypeWriter& flags(UINT typeFlags) {
    if (ok()) check(info_->SetTypeFlags(typeFlags));
    return *this;
  }
  // The reference by which members of this type name `other`.
  HREFTYPE ref(const TypeWriter& other) {
    HREFTYPE href = 0;
    ITypeInfo* info = nullptr;
    if (!ok() || !other.info_ || !check(other.info_->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&info))))
      return href;
    check(info_->AddRefTypeInfo(info, &href));
    info->Release();
    return href;
  }

 private:
  bool ok() const { return info_ && SUCCEEDED(*status_); }
  bool check(HRESULT hr) {
    if (FAILED(hr) && SUCCEEDED(*status_)) *status_ = hr;
    return SUCCEEDED(hr);
  }
  static void fill(TYPEDESC* desc, const Type& type, TYPEDESC* pointee) {
    TYPEDESC* target = desc;
    if (type.pointer) {
      desc->vt = VT_PTR;
      desc->lptdesc = pointee;
      target = pointee;
    }
    target->vt = type.vt;
    if (type.vt == VT_USERDEFINED) target->hreftype = type.href;
  }

  ICreateTypeInfo* info_;
  HRESULT* status_;
  UINT funcs_ = 0, vars_ = 0, impls_ = 0;
};

class LibraryWriter {
 public:
  LibraryWriter(const std::string& path, const GUID& libid, const char* name, WORD major, WORD minor) {
    std::u16string file = wide(path.c_str()), text = wide(name);
    status_ = CreateTypeLib2(SYS_WIN64, reinterpret_cast<LPCOLESTR>(file.c_str()), &lib_);
    if (FAILED(status_)) return;
    check(lib_->SetGuid(libid));
    check(lib_->SetVersion(major, minor));
    check(lib_->SetName(reinterpret_cast<LPOLESTR>(text.data())));
  }
  LibraryWriter(const LibraryWriter&) = delete;
  LibraryWriter& operator=(const LibraryWriter&) = delete;
  ~LibraryWriter() {
    if (lib_) lib_->Release();
  }

  LibraryWriter& doc(const char* text, const char* helpFile = nullptr, DWORD help = 0) {
    std::u16string doc = wide(text), file = wide(helpFile);
    if (ok()) check(lib_->SetDocString(reinterpret_cast<LPOLESTR>(doc.data())));
    if (ok() && helpFile) check(lib_->SetHelpFileName(reinterpret_cast<LPOLESTR>(file.data())));
    if (ok() && help) check(lib_->SetHelpContext(help));
    return *this;
  }
  TypeWriter type(const char* name, TYPEKIND kind, const GUID& guid = GUID_NULL) {
    ICreateTypeInfo* info = nullptr;
    std::u16string text = wide(name);
    if (ok() && check(lib_->CreateTypeInfo(reinterpret_cast<LPOLESTR>(text.data()), kind, &info)) && guid != GUID_NULL)
      check(info->SetGuid(guid));
    return TypeWriter(info, &status_);
  }
  // The first failure of the whole description, else the result of saving.
  HRESULT save() { return ok() ? (status_ = lib_->SaveAllChanges()) : status_; }
  HRESULT status() const { return status_; }

 private:
  bool ok() const { return lib_ && SUCCEEDED(status_); }
  bool check(HRESULT hr) {
    if (FAILED(hr) && SUCCEEDED(status_)) status_ = hr;
    return SUCCEEDED(hr);
  }
  ICreateTypeLib2* lib_ = nullptr;
  HRESULT status_ = S_OK;
};

}  // namespace oleaut::writer
