// The module state: instance and resource handles and the chain of
// extension libraries searched for resources.
#include <afx.h>

#include <internal/module.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

struct ModuleState {
  std::mutex lock;
  HINSTANCE instance = nullptr;
  HINSTANCE resources = nullptr;
  std::vector<HINSTANCE> chain;  // extension libraries, in joining order
};

ModuleState& moduleState() {
  static ModuleState* state = new ModuleState;  // alive while any module unloads
  return *state;
}

}  // namespace

HINSTANCE AfxGetInstanceHandle() {
  ModuleState& state = moduleState();
  std::lock_guard guard(state.lock);
  return state.instance;
}

void AfxSetInstanceHandle(HINSTANCE hInstance) {
  ModuleState& state = moduleState();
  std::lock_guard guard(state.lock);
  state.instance = hInstance;
}

HINSTANCE AfxGetResourceHandle() {
  ModuleState& state = moduleState();
  std::lock_guard guard(state.lock);
  return state.resources;
}

void AfxSetResourceHandle(HINSTANCE hInstResource) {
  ModuleState& state = moduleState();
  std::lock_guard guard(state.lock);
  state.resources = hInstResource;
}

void AfxAddResourceModule(HINSTANCE hModule) {
  ModuleState& state = moduleState();
  std::lock_guard guard(state.lock);
  if (std::find(state.chain.begin(), state.chain.end(), hModule) == state.chain.end()) state.chain.push_back(hModule);
}

void AfxRemoveResourceModule(HINSTANCE hModule) {
  ModuleState& state = moduleState();
  std::lock_guard guard(state.lock);
  std::erase(state.chain, hModule);
}

HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType) {
  std::vector<HINSTANCE> order;
  {
    ModuleState& state = moduleState();
    std::lock_guard guard(state.lock);
    order.push_back(state.resources);
    order.insert(order.end(), state.chain.begin(), state.chain.end());
  }
  // The framework's own resources (its prompts) come last, so that the
  // application and its libraries may replace them.
  static const HINSTANCE framework = win32::moduleFromAddress(reinterpret_cast<const void*>(&AfxFindResourceHandle));
  if (framework) order.push_back(framework);
  for (HINSTANCE hModule : order)
    if (FindResourceA(hModule, lpszName, lpszType)) return hModule;
  return order.front();
}

int AfxLoadString(UINT nID, LPSTR lpszBuf, UINT nMaxBuf) {
  if (!lpszBuf || nMaxBuf == 0) return 0;
  // Strings live in blocks of 16: block (id / 16) + 1 holds id.
  HINSTANCE hModule = AfxFindResourceHandle(MAKEINTRESOURCE((nID >> 4) + 1), RT_STRING);
  int nLen = LoadStringA(hModule, nID, lpszBuf, static_cast<int>(std::min<UINT>(nMaxBuf, 0x7FFFFFFF)));
  if (nLen <= 0) {
    lpszBuf[0] = '\0';
    return 0;
  }
  return nLen;
}
