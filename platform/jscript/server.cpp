// JSCRIPT.DLL as an in-process COM server: the class factory of the
// engine and its registration under the ProgID "JScript".
#include <dlfcn.h>

#include <atomic>
#include <new>

#include "scriptengine.h"

namespace {

std::atomic<long> serverLocks{0};

class EngineFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, this}, {&IID_IClassFactory, this}});
  }
  // The factory lives as long as the library.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* engine = new (std::nothrow) jscript::ScriptEngine();
    if (!engine) return E_OUTOFMEMORY;
    const HRESULT hr = engine->QueryInterface(riid, ppv);
    engine->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    lock ? ++serverLocks : --serverLocks;
    return S_OK;
  }
};

EngineFactory factory;

// An address inside this library (an exported name may resolve to another
// server's when several are loaded).
void anchor() {}

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (clsid != CLSID_JScript) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(riid, ppv);
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
  return jscript::ScriptEngine::live() == 0 && serverLocks == 0 ? S_OK : S_FALSE;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&anchor), &info) || !info.dli_fname) return E_UNEXPECTED;
  return CoRegisterInprocServerA(CLSID_JScript, "JScript", info.dli_fname);
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
  return CoUnregisterInprocServer(CLSID_JScript);
}
