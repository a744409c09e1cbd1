// Extension libraries: a library of framework classes and resources that a
// program loads joins the program's resource chain, so that resources are
// looked up in the application first, then in each extension library in
// the order they joined, then in the framework itself.
#pragma once

#include "afxcmd.h"

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized;
  HMODULE hModule;
  HMODULE hResource;
  CRuntimeClass* pFirstSharedClass;
  void* pFirstSharedFactory;
};

// Called once by the library's start-up (its DllMain at process attach, a
// static initialiser here) with its own module handle; records the handle.
// FALSE for a null handle.
BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// At the library's end: a library still on the chain leaves it (bAll: any
// CDynLinkLibrary of it is deleted).
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// Puts an extension library on the resource chain for as long as the
// object lives (the library creates one on the heap in its start-up).
class CDynLinkLibrary : public CCmdTarget {
  DECLARE_DYNAMIC(CDynLinkLibrary)
 public:
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
  CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
  ~CDynLinkLibrary() override;

  HMODULE m_hModule;
  HMODULE m_hResource;
  BOOL m_bSystem;
};

// The module (program or library) whose handle is `address`'s, for a
// library's start-up that has no DllMain argument: AfxGetModuleOf(&someSymbol).
HMODULE AfxGetModuleOf(const void* address);
