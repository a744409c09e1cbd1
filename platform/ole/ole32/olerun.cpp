// OleRun: an object that knows a running state is asked to enter it.
#include <ole2.h>

extern "C" HRESULT OleRun(LPUNKNOWN pUnknown) {
  if (!pUnknown) return E_INVALIDARG;
  IRunnableObject* runnable = nullptr;
  if (FAILED(pUnknown->QueryInterface(IID_IRunnableObject, reinterpret_cast<void**>(&runnable))) || !runnable)
    return S_OK;
  const HRESULT hr = runnable->Run(nullptr);
  runnable->Release();
  return hr;
}
