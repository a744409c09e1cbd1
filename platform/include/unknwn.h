// IUnknown: the base interface of every COM object, methods in their
// documented order (the virtual table is what a peer object calls through).
#pragma once

#include "windef.h"
#include "winerror.h"

struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;

 protected:
  ~IUnknown() = default;  // objects end through Release
};
typedef IUnknown* LPUNKNOWN;
