// COM and OLE initialisation counts of a thread.
#include <ole2.h>

#include "comthread.h"

namespace {

// The calling thread's state: how often COM and OLE were initialised and
// the apartment model of the first COM initialisation.
struct ThreadState {
  int comCount = 0;
  int oleCount = 0;
  bool multithreaded = false;
};
thread_local ThreadState state;

}  // namespace

bool ole32::threadInitialised() { return state.comCount > 0; }
bool ole32::oleInitialised() { return state.oleCount > 0; }

extern "C" HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit) {
  if (pvReserved) return E_INVALIDARG;
  const bool multithreaded = (dwCoInit & COINIT_APARTMENTTHREADED) == 0;
  if (state.comCount > 0) {
    if (state.multithreaded != multithreaded) return RPC_E_CHANGED_MODE;
    ++state.comCount;
    return S_FALSE;
  }
  state.multithreaded = multithreaded;
  state.comCount = 1;
  return S_OK;
}

extern "C" HRESULT CoInitialize(LPVOID pvReserved) { return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED); }

extern "C" void CoUninitialize(void) {
  if (state.comCount > 0) --state.comCount;
}

extern "C" HRESULT OleInitialize(LPVOID pvReserved) {
  HRESULT hr = CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
  if (FAILED(hr)) return hr;
  return ++state.oleCount == 1 ? S_OK : S_FALSE;
}

extern "C" void OleUninitialize(void) {
  if (state.oleCount == 0) return;
  --state.oleCount;
  CoUninitialize();
}
