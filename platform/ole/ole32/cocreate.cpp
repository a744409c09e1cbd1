// CoGetClassObject, CoCreateInstance(Ex) and CoFreeUnusedLibraries: a class
// is served by the library the registry names, loaded once per process and
// asked through its DllGetClassObject.
#include <objbase.h>

#include <map>
#include <mutex>
#include <string>

#include "classregistry.h"
#include "comthread.h"

namespace {

// The servers loaded so far, by the path the registry gives.
struct LoadedServers {
  std::mutex mutex;
  std::map<std::string, HMODULE> modules;
};

LoadedServers& loadedServers() {
  static LoadedServers servers;
  return servers;
}

HRESULT serverEntry(const std::string& path, LPFNGETCLASSOBJECT* entry) {
  LoadedServers& servers = loadedServers();
  std::lock_guard<std::mutex> lock(servers.mutex);
  HMODULE module = nullptr;
  if (auto found = servers.modules.find(path); found != servers.modules.end()) {
    module = found->second;
  } else {
    module = LoadLibraryA(path.c_str());
    if (!module) return CO_E_DLLNOTFOUND;
    servers.modules.emplace(path, module);
  }
  *entry = reinterpret_cast<LPFNGETCLASSOBJECT>(GetProcAddress(module, "DllGetClassObject"));
  return *entry ? S_OK : CO_E_ERRORINDLL;
}

}  // namespace

extern "C" HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID pvReserved, REFIID riid,
                                    LPVOID* ppv) {
  if (!ppv) return E_INVALIDARG;
  *ppv = nullptr;
  if (pvReserved) return E_INVALIDARG;  // a server name: no remote servers here
  if (!ole32::threadInitialised()) return CO_E_NOTINITIALIZED;
  if (!(dwClsContext & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
  const std::string path = ole32::serverLibrary(rclsid);
  if (path.empty()) return REGDB_E_CLASSNOTREG;
  LPFNGETCLASSOBJECT entry = nullptr;
  const HRESULT hr = serverEntry(path, &entry);
  if (FAILED(hr)) return hr;
  return entry(rclsid, riid, ppv);
}

extern "C" HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                                    LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  IClassFactory* factory = nullptr;
  HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(pUnkOuter, riid, ppv);
  factory->Release();
  return hr;
}

extern "C" HRESULT CoCreateInstanceEx(REFCLSID rclsid, IUnknown* punkOuter, DWORD dwClsCtx, COSERVERINFO* pServerInfo,
                                      DWORD dwCount, MULTI_QI* pResults) {
  if (!pResults || dwCount == 0) return E_INVALIDARG;
  for (DWORD i = 0; i < dwCount; ++i) {
    pResults[i].pItf = nullptr;
    pResults[i].hr = E_NOINTERFACE;
  }
  if (pServerInfo && pServerInfo->pwszName && *pServerInfo->pwszName) return E_NOTIMPL;
  IUnknown* object = nullptr;
  HRESULT hr = CoCreateInstance(rclsid, punkOuter, dwClsCtx, IID_IUnknown, reinterpret_cast<void**>(&object));
  if (FAILED(hr)) return hr;
  DWORD got = 0;
  for (DWORD i = 0; i < dwCount; ++i) {
    if (!pResults[i].pIID) continue;
    pResults[i].hr = object->QueryInterface(*pResults[i].pIID, reinterpret_cast<void**>(&pResults[i].pItf));
    if (SUCCEEDED(pResults[i].hr)) ++got;
  }
  object->Release();
  if (got == dwCount) return S_OK;
  return got ? CO_S_NOTALLINTERFACES : E_NOINTERFACE;
}

extern "C" void CoFreeUnusedLibraries(void) {
  LoadedServers& servers = loadedServers();
  std::lock_guard<std::mutex> lock(servers.mutex);
  for (auto it = servers.modules.begin(); it != servers.modules.end();) {
    auto canUnload = reinterpret_cast<LPFNCANUNLOADNOW>(GetProcAddress(it->second, "DllCanUnloadNow"));
    if (canUnload && canUnload() == S_OK) {
      FreeLibrary(it->second);
      it = servers.modules.erase(it);
    } else {
      ++it;
    }
  }
}
