// The provider's application object and its two exports.
#include "KyPropApp.h"

#include "KyPropHandlers.h"

#include <afxdll.h>

#include <mscrt.h>

namespace {

// Made when the library loads, ended when it unloads.
CKyPropApp theApp;

}  // namespace

CKyPropApp::CKyPropApp()
    : m_pSet(std::make_unique<KyPropSetHandler>()), m_pGet(std::make_unique<KyPropGetHandler>()) {}

CKyPropApp::~CKyPropApp() = default;

HMODULE CKyPropApp::Module() {
  static const HMODULE module = AfxGetModuleOf(&theApp);
  return module;
}

CKyPropApp& CKyPropApp::Get() { return theApp; }

// Answers nothing: the provider only carries out control operations.
extern "C" int GETATOM(char*, const char*, int, int, KyNucleus*) { return 0; }

// "SetProperty" and "GetProperty" (any case) carry the property record in
// the nucleus's context; every other operation is not the provider's.
extern "C" int SETATOM(const char*, const char* pszOperation, int, int, KyNucleus* pNucleus) {
  if (!pszOperation || !pNucleus || !pNucleus->pContext) return 0;
  const bool set = _stricmp(pszOperation, "SetProperty") == 0;
  if (!set && _stricmp(pszOperation, "GetProperty") != 0) return 0;
  const auto* record = static_cast<const KyPropertyAtom*>(pNucleus->pContext);
  return set ? theApp.SetHandler().Dispatch(*record) : theApp.GetHandler().Dispatch(*record);
}
