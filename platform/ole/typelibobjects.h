// The COM objects over a type library in memory: the library (ITypeLib,
// and ICreateTypeLib2 while it is being built) and its types (ITypeInfo,
// and ICreateTypeInfo while building). A type object holds a reference to
// its library and names its type by index.
#pragma once

#include <internal/comobject.h>

#include <atomic>
#include <map>
#include <memory>
#include <string>

#include "typelibdata.h"

namespace oleaut::tlb {

class LibraryObject final : public ITypeLib, public ICreateTypeLib2 {
 public:
  // `file`: where SaveAllChanges writes (host spelling); "" for a library
  // read from a file, which cannot be changed.
  LibraryObject(Library library, std::string file, bool writable);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  KY_COM_REFCOUNT

  // ITypeLib
  UINT STDMETHODCALLTYPE GetTypeInfoCount() override { return static_cast<UINT>(lib_.types.size()); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, ITypeInfo** ppTInfo) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoType(UINT index, TYPEKIND* pTKind) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** ppTinfo) override;
  HRESULT STDMETHODCALLTYPE GetLibAttr(TLIBATTR** ppTLibAttr) override;
  HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp** ppTComp) override;
  HRESULT STDMETHODCALLTYPE GetDocumentation(INT index, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
                                             BSTR* pBstrHelpFile) override;
  HRESULT STDMETHODCALLTYPE IsName(LPOLESTR szNameBuf, ULONG lHashVal, BOOL* pfName) override;
  HRESULT STDMETHODCALLTYPE FindName(LPOLESTR szNameBuf, ULONG lHashVal, ITypeInfo** ppTInfo, MEMBERID* rgMemId,
                                     USHORT* pcFound) override;
  void STDMETHODCALLTYPE ReleaseTLibAttr(TLIBATTR* pTLibAttr) override { delete pTLibAttr; }

  // ICreateTypeLib2
  HRESULT STDMETHODCALLTYPE CreateTypeInfo(LPOLESTR szName, TYPEKIND tkind, ICreateTypeInfo** ppCTInfo) override;
  HRESULT STDMETHODCALLTYPE SetName(LPOLESTR szName) override;
  HRESULT STDMETHODCALLTYPE SetVersion(WORD wMajorVerNum, WORD wMinorVerNum) override;
  HRESULT STDMETHODCALLTYPE SetGuid(REFGUID guid) override;
  HRESULT STDMETHODCALLTYPE SetDocString(LPOLESTR szDoc) override;
  HRESULT STDMETHODCALLTYPE SetHelpFileName(LPOLESTR szHelpFileName) override;
  HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD dwHelpContext) override;
  HRESULT STDMETHODCALLTYPE SetLcid(LCID lcid) override;
  HRESULT STDMETHODCALLTYPE SetLibFlags(UINT uLibFlags) override;
  HRESULT STDMETHODCALLTYPE SaveAllChanges() override;
  HRESULT STDMETHODCALLTYPE DeleteTypeInfo(LPOLESTR szName) override;
  HRESULT STDMETHODCALLTYPE SetCustData(REFGUID guid, VARIANT* pVarVal) override;
  HRESULT STDMETHODCALLTYPE SetHelpStringContext(ULONG dwHelpStringContext) override;
  HRESULT STDMETHODCALLTYPE SetHelpStringDll(LPOLESTR szFileName) override;

  Library& data() { return lib_; }
  bool writable() const { return writable_; }

 private:
  ~LibraryObject() = default;
  win32::com::RefCount refs_;
  Library lib_;
  std::string file_;
  bool writable_;
};

BSTR bstr(const std::u16string& text);
// The texts asked for (null pointers skip theirs; an empty text gives a
// null BSTR); E_OUTOFMEMORY, with nothing handed out, when one cannot be made.
HRESULT documentation(const std::u16string& name, const std::u16string& doc, DWORD help, const std::u16string& file,
                      BSTR* pName, BSTR* pDoc, DWORD* pHelp, BSTR* pFile);

// The type object for type `index` of `library` (a new reference).
ITypeInfo* newTypeObject(LibraryObject* library, size_t index);
// The type object behind a type interface of this layer, or null.
bool typeIndexOf(ITypeInfo* info, LibraryObject** library, size_t* index);

}  // namespace oleaut::tlb
