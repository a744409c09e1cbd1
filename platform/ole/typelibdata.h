// The contents of a type library as the layer keeps them in memory: what
// ICreateTypeLib2 builds, what the file writer stores and the reader
// restores, and what ITypeLib and ITypeInfo answer from.
#pragma once

#include <oletypelib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace oleaut::tlb {

// A reference to another type of the same library is the offset of that
// type's record in the file's type table, as the file format has it.
constexpr HREFTYPE kTypeRecordSize = 0x64;
inline HREFTYPE hrefOf(size_t typeIndex) { return static_cast<HREFTYPE>(typeIndex * kTypeRecordSize); }

struct TypeDesc {
  VARTYPE vt = VT_EMPTY;
  std::shared_ptr<const TypeDesc> inner;  // VT_PTR, VT_SAFEARRAY
  HREFTYPE href = 0;                       // VT_USERDEFINED
};

// A constant's value: numbers of every width, booleans and texts.
struct Constant {
  VARTYPE vt = VT_EMPTY;
  LONGLONG integer = 0;
  double real = 0;
  std::u16string text;
};

struct Param {
  std::u16string name;
  bool named = false;
  TypeDesc type;
  USHORT flags = 0;
};

struct Func {
  MEMBERID memid = MEMBERID_NIL;
  FUNCKIND funckind = FUNC_DISPATCH;
  INVOKEKIND invkind = INVOKE_FUNC;
  CALLCONV callconv = CC_STDCALL;
  SHORT cParamsOpt = 0;
  SHORT oVft = 0;
  WORD flags = 0;
  TypeDesc result;
  std::vector<Param> params;
  std::u16string name;
  std::u16string doc;
  DWORD helpContext = 0;
};

struct Var {
  MEMBERID memid = MEMBERID_NIL;
  VARKIND kind = VAR_PERINSTANCE;
  WORD flags = 0;
  ULONG oInst = 0;
  Constant value;  // VAR_CONST
  TypeDesc type;
  std::u16string name;
  std::u16string doc;
  DWORD helpContext = 0;
};

struct Impl {
  HREFTYPE href = 0;
  INT flags = 0;
};

struct Type {
  TYPEKIND kind = TKIND_INTERFACE;
  GUID guid{};
  WORD flags = 0;
  WORD major = 0, minor = 0;
  WORD alignment = 4;
  ULONG sizeInstance = 0;
  WORD sizeVft = 0;
  TypeDesc alias;  // TKIND_ALIAS
  std::u16string name;
  std::u16string doc;
  DWORD helpContext = 0;
  std::vector<Func> funcs;
  std::vector<Var> vars;
  std::vector<Impl> impls;
};

struct Library {
  GUID libid{};
  LCID lcid = 0;
  SYSKIND syskind = SYS_WIN64;
  WORD major = 0, minor = 0;
  WORD flags = 0;
  std::u16string name;
  std::u16string doc;
  std::u16string helpFile;
  DWORD helpContext = 0;
  std::vector<Type> types;
};

// The file form ("MSFT"). Writing fails (false) only for a name the form
// cannot hold (over 255 characters). Reading checks every offset and size:
// TYPE_E_UNSUPFORMAT for a file that is no type library, TYPE_E_INVDATAREAD
// for one that is cut short or points outside itself.
bool writeFile(const Library& library, std::vector<uint8_t>* bytes);
HRESULT readFile(const std::vector<uint8_t>& bytes, Library* library);

// Names of the library compare ignoring case (as Automation looks them up).
bool sameName(const std::u16string& a, const OLECHAR* b);
std::u16string fromOle(const OLECHAR* text);

}  // namespace oleaut::tlb
