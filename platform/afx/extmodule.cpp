// Extension libraries on the resource chain: AfxInitExtensionModule and
// CDynLinkLibrary.
#include "afxstate.h"

#include <internal/module.h>

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CCmdTarget)

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
  if (!hModule) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // Called again (a second attach): nothing more to do.
  if (state.bInitialized) return TRUE;
  state.hModule = hModule;
  state.hResource = hModule;
  state.pFirstSharedClass = nullptr;
  state.pFirstSharedFactory = nullptr;
  state.bInitialized = TRUE;
  return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL) {
  if (!state.bInitialized) return;
  AfxRemoveResourceModule(state.hResource);
  state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(bSystem) {
  if (m_hResource) AfxAddResourceModule(m_hResource);
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource)
    : m_hModule(hModule), m_hResource(hResource), m_bSystem(FALSE) {
  if (m_hResource) AfxAddResourceModule(m_hResource);
}

CDynLinkLibrary::~CDynLinkLibrary() {
  if (m_hResource) AfxRemoveResourceModule(m_hResource);
}

HMODULE AfxGetModuleOf(const void* address) { return win32::moduleFromAddress(address); }
