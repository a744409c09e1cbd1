// Library start and end: the framework extension module, then this
// library's own start (its module and international settings). A static
// initialiser stands for the entry point's process attach.
#include <afxdll.h>

#include "natformat.h"

namespace {

AFX_EXTENSION_MODULE g_module{};

struct LibraryLifetime {
  LibraryLifetime() {
    HMODULE self = AfxGetModuleOf(&g_module);
    if (!AfxInitExtensionModule(g_module, self)) return;
    NatCtl::Start(self);
  }
  ~LibraryLifetime() {
    if (g_module.bInitialized) AfxTermExtensionModule(g_module);
  }
};

LibraryLifetime g_lifetime;

}  // namespace
