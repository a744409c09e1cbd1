// KyDispatchObject: the IUnknown and IDispatch plumbing of the runner's
// automation objects (KyOLEApp, KyOLEFunction): a reference count (the
// object is deleted with the last Release), member names found without
// regard to case, no type information, and automation exceptions in the
// EXCEPINFO of a failed Invoke.
#pragma once

#include <objbase.h>
#include <internal/comobject.h>
#include <oleauto.h>

#include <string>
#include <vector>

class KyDispatchObject : public IDispatch {
 public:
  struct Member {
    const char* pszName;
    DISPID id;
  };

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
  KY_COM_REFCOUNT
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
  // The first name is the member's; the names of parameters are not known.
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                          DISPID* rgDispId) override;

 protected:
  explicit KyDispatchObject(std::vector<Member> members) : m_Members(std::move(members)) {}
  virtual ~KyDispatchObject() = default;
  // The value a property put assigns (the argument rgvarg[0], named
  // DISPID_PROPERTYPUT) as a text.
  static HRESULT PutText(DISPPARAMS* pDispParams, std::string* pText);
  // Fills the exception (code and description) and answers DISP_E_EXCEPTION.
  static HRESULT Raise(EXCEPINFO* pExcepInfo, WORD wCode, const char* pszDescription);
  // A BSTR of an ANSI text, and the ANSI text of a BSTR.
  static BSTR ToBstr(const char* pszText);
  static std::string FromBstr(BSTR bstr);

 private:
  win32::com::RefCount refs_;
  std::vector<Member> m_Members;
};
