// The script's own dispatch object (GetScriptDispatch): its global names
// are members, numbered as the host first asks for them; a function is a
// method, anything else a property. The object keeps the engine alive; an
// engine closed meanwhile answers E_UNEXPECTED.
#include <oleauto.h>

#include <string>
#include <vector>

#include "internal/comobject.h"
#include "scriptengine.h"

namespace jscript {
namespace {

class ScriptDispatch final : public IDispatch {
 public:
  explicit ScriptDispatch(ScriptEngine* engine) : engine_(engine) {
    static_cast<IActiveScript*>(engine_)->AddRef();
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, this}, {&IID_IDispatch, this}});
  }
  KY_COM_REFCOUNT
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (!names || !ids) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      const std::u16string name = names[i] ? reinterpret_cast<const char16_t*>(names[i]) : u"";
      ids[i] = DISPID_UNKNOWN;
      // Only the first name is a member; the others would be arguments.
      if (i > 0 || !engine_->hasGlobal(name)) {
        hr = DISP_E_UNKNOWNNAME;
        continue;
      }
      ids[i] = idOf(name);
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT*) override {
    if (dispid < 1 || dispid > static_cast<DISPID>(names_.size())) return DISP_E_MEMBERNOTFOUND;
    return engine_->invokeGlobal(names_[dispid - 1], flags, params, result, exception);
  }

 private:
  ~ScriptDispatch() { static_cast<IActiveScript*>(engine_)->Release(); }
  DISPID idOf(const std::u16string& name) {
    for (size_t i = 0; i < names_.size(); ++i)
      if (names_[i] == name) return static_cast<DISPID>(i + 1);
    names_.push_back(name);
    return static_cast<DISPID>(names_.size());
  }

  win32::com::RefCount refs_;
  ScriptEngine* engine_;
  std::vector<std::u16string> names_;
};

}  // namespace

IDispatch* makeScriptDispatch(ScriptEngine* engine) { return new ScriptDispatch(engine); }

}  // namespace jscript
