// The library object: answers for the library as a whole, builds new types
// while the library is written, and saves it in the file form.
#include <internal/comobject.h>

#include <fstream>

#include "typelibobjects.h"

namespace oleaut::tlb {

BSTR bstr(const std::u16string& text) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
}

// Writes what the caller asked for; E_OUTOFMEMORY when a text cannot be made.
HRESULT documentation(const std::u16string& name, const std::u16string& doc, DWORD help, const std::u16string& file,
                      BSTR* pName, BSTR* pDoc, DWORD* pHelp, BSTR* pFile) {
  struct Out {
    BSTR* to;
    const std::u16string* text;
  } outs[] = {{pName, &name}, {pDoc, &doc}, {pFile, &file}};
  for (Out& out : outs)
    if (out.to) *out.to = nullptr;
  for (Out& out : outs) {
    if (!out.to || out.text->empty()) continue;
    if (!(*out.to = bstr(*out.text))) {
      for (Out& made : outs)
        if (made.to && *made.to) SysFreeString(*made.to), *made.to = nullptr;
      return E_OUTOFMEMORY;
    }
  }
  if (pHelp) *pHelp = help;
  return S_OK;
}

LibraryObject::LibraryObject(Library library, std::string file, bool writable)
    : lib_(std::move(library)), file_(std::move(file)), writable_(writable) {}

HRESULT LibraryObject::QueryInterface(REFIID riid, void** ppv) {
  ITypeLib* library = this;
  ICreateTypeLib2* create = writable_ ? this : nullptr;  // a library read from a file stays as it is
  return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, library}, {&IID_ITypeLib, library},
                                             {&IID_ICreateTypeLib, create}, {&IID_ICreateTypeLib2, create}});
}

HRESULT LibraryObject::GetTypeInfo(UINT index, ITypeInfo** ppTInfo) {
  if (!ppTInfo) return E_INVALIDARG;
  *ppTInfo = nullptr;
  if (index >= lib_.types.size()) return TYPE_E_ELEMENTNOTFOUND;
  *ppTInfo = newTypeObject(this, index);
  return S_OK;
}

HRESULT LibraryObject::GetTypeInfoType(UINT index, TYPEKIND* pTKind) {
  if (!pTKind) return E_INVALIDARG;
  if (index >= lib_.types.size()) return TYPE_E_ELEMENTNOTFOUND;
  *pTKind = lib_.types[index].kind;
  return S_OK;
}

HRESULT LibraryObject::GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** ppTinfo) {
  if (!ppTinfo) return E_INVALIDARG;
  *ppTinfo = nullptr;
  for (size_t i = 0; i < lib_.types.size(); ++i)
    if (lib_.types[i].guid == guid) return *ppTinfo = newTypeObject(this, i), S_OK;
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT LibraryObject::GetLibAttr(TLIBATTR** ppTLibAttr) {
  if (!ppTLibAttr) return E_INVALIDARG;
  *ppTLibAttr = new TLIBATTR{lib_.libid, lib_.lcid, lib_.syskind, lib_.major, lib_.minor, lib_.flags};
  return S_OK;
}

HRESULT LibraryObject::GetTypeComp(ITypeComp** ppTComp) {
  if (ppTComp) *ppTComp = nullptr;
  return E_NOTIMPL;
}

HRESULT LibraryObject::GetDocumentation(INT index, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
                                        BSTR* pBstrHelpFile) {
  if (index == -1)
    return documentation(lib_.name, lib_.doc, lib_.helpContext, lib_.helpFile, pBstrName, pBstrDocString,
                         pdwHelpContext, pBstrHelpFile);
  if (index < 0 || static_cast<size_t>(index) >= lib_.types.size()) return TYPE_E_ELEMENTNOTFOUND;
  const Type& type = lib_.types[index];
  return documentation(type.name, type.doc, type.helpContext, lib_.helpFile, pBstrName, pBstrDocString,
                       pdwHelpContext, pBstrHelpFile);
}

HRESULT LibraryObject::IsName(LPOLESTR szNameBuf, ULONG, BOOL* pfName) {
  if (!szNameBuf || !pfName) return E_INVALIDARG;
  *pfName = FALSE;
  for (const Type& type : lib_.types) {
    bool found = sameName(type.name, szNameBuf);
    for (const Func& f : type.funcs) found = found || sameName(f.name, szNameBuf);
    for (const Var& v : type.vars) found = found || sameName(v.name, szNameBuf);
    if (found) return *pfName = TRUE, S_OK;
  }
  return S_OK;
}

HRESULT LibraryObject::FindName(LPOLESTR szNameBuf, ULONG, ITypeInfo** ppTInfo, MEMBERID* rgMemId, USHORT* pcFound) {
  if (!szNameBuf || !ppTInfo || !rgMemId || !pcFound) return E_INVALIDARG;
  USHORT found = 0;
  for (size_t t = 0; t < lib_.types.size() && found < *pcFound; ++t) {
    const Type& type = lib_.types[t];
    MEMBERID id = MEMBERID_NIL;
    bool match = sameName(type.name, szNameBuf);
    for (const Func& f : type.funcs)
      if (!match && sameName(f.name, szNameBuf)) match = true, id = f.memid;
    for (const Var& v : type.vars)
      if (!match && sameName(v.name, szNameBuf)) match = true, id = v.memid;
    if (!match) continue;
    ppTInfo[found] = newTypeObject(this, t);
    rgMemId[found++] = id;
  }
  *pcFound = found;
  return S_OK;
}

HRESULT LibraryObject::CreateTypeInfo(LPOLESTR szName, TYPEKIND tkind, ICreateTypeInfo** ppCTInfo) {
  if (!szName || !ppCTInfo) return E_INVALIDARG;
  *ppCTInfo = nullptr;
  if (tkind < TKIND_ENUM || tkind >= TKIND_MAX) return E_INVALIDARG;
  for (const Type& type : lib_.types)
    if (sameName(type.name, szName)) return TYPE_E_NAMECONFLICT;
  Type type;
  type.name = fromOle(szName);
  if (type.name.size() > 255) return E_INVALIDARG;
  type.kind = tkind;
  if (tkind == TKIND_DISPATCH) type.sizeVft = 7 * sizeof(void*);  // IDispatch's slots
  lib_.types.push_back(std::move(type));
  ITypeInfo* info = newTypeObject(this, lib_.types.size() - 1);
  const HRESULT hr = info->QueryInterface(IID_ICreateTypeInfo, reinterpret_cast<void**>(ppCTInfo));
  info->Release();
  return hr;
}

HRESULT LibraryObject::SetName(LPOLESTR szName) {
  if (!szName) return E_INVALIDARG;
  std::u16string name = fromOle(szName);
  if (name.size() > 255) return E_INVALIDARG;
  lib_.name = std::move(name);
  return S_OK;
}

HRESULT LibraryObject::SetVersion(WORD wMajorVerNum, WORD wMinorVerNum) {
  lib_.major = wMajorVerNum;
  lib_.minor = wMinorVerNum;
  return S_OK;
}

HRESULT LibraryObject::SetGuid(REFGUID guid) { return lib_.libid = guid, S_OK; }
HRESULT LibraryObject::SetDocString(LPOLESTR szDoc) { return szDoc ? (lib_.doc = fromOle(szDoc), S_OK) : E_INVALIDARG; }
HRESULT LibraryObject::SetHelpFileName(LPOLESTR szHelpFileName) {
  return szHelpFileName ? (lib_.helpFile = fromOle(szHelpFileName), S_OK) : E_INVALIDARG;
}
HRESULT LibraryObject::SetHelpContext(DWORD dwHelpContext) { return lib_.helpContext = dwHelpContext, S_OK; }
HRESULT LibraryObject::SetLcid(LCID lcid) { return lib_.lcid = lcid, S_OK; }
HRESULT LibraryObject::SetLibFlags(UINT uLibFlags) { return lib_.flags = static_cast<WORD>(uLibFlags), S_OK; }

HRESULT LibraryObject::SaveAllChanges() {
  std::vector<uint8_t> bytes;
  if (!writeFile(lib_, &bytes)) return TYPE_E_INVALIDSTATE;
  std::ofstream out(file_, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return out.flush() ? S_OK : TYPE_E_IOERROR;
}

HRESULT LibraryObject::DeleteTypeInfo(LPOLESTR szName) {
  if (!szName) return E_INVALIDARG;
  // Removing a type would move the references to every type after it.
  for (size_t i = 0; i < lib_.types.size(); ++i)
    if (sameName(lib_.types[i].name, szName)) return i + 1 == lib_.types.size() ? (lib_.types.pop_back(), S_OK) : E_NOTIMPL;
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT LibraryObject::SetCustData(REFGUID, VARIANT*) { return E_NOTIMPL; }
HRESULT LibraryObject::SetHelpStringContext(ULONG) { return E_NOTIMPL; }
HRESULT LibraryObject::SetHelpStringDll(LPOLESTR) { return E_NOTIMPL; }

}  // namespace oleaut::tlb
