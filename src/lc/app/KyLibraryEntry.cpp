// The core library's start-up: at load it joins the framework as an
// extension module and remembers its module handle; at unload it leaves.
#include <afxdll.h>
#include <afxwin.h>

#include "KyVersion.h"

namespace {

AFX_EXTENSION_MODULE coreModule{};

struct LibraryEntry {
  LibraryEntry() { AfxInitExtensionModule(coreModule, AfxGetModuleOf(&coreModule)); }
  ~LibraryEntry() { AfxTermExtensionModule(coreModule); }
};

const LibraryEntry entry;

}  // namespace

HINSTANCE KyGetCoreInstance() { return coreModule.hModule; }
