// Library start and end: the framework extension module joins the
// application's resource chain, so that the library's dialogs and strings
// are found by id. A static initialiser stands for the entry point's
// process attach.
#include "AxModule.h"

#include <afxdll.h>

namespace {

AFX_EXTENSION_MODULE g_module{};

struct LibraryLifetime {
  LibraryLifetime() { AfxInitExtensionModule(g_module, AfxGetModuleOf(&g_module)); }
  ~LibraryLifetime() {
    if (g_module.bInitialized) AfxTermExtensionModule(g_module);
  }
};

LibraryLifetime g_lifetime;

}  // namespace

HMODULE ax::Module() { return g_module.hModule ? g_module.hModule : AfxGetModuleOf(&g_module); }

CString ax::LoadText(UINT id) {
  char buffer[512];
  const int n = LoadStringA(Module(), id, buffer, sizeof buffer);
  return n > 0 ? CString(buffer, n) : CString();
}

CString ax::FormatText(UINT id, const char* argument) { return FormatTextPattern(LoadText(id), argument); }

CString ax::FormatTextPattern(const char* pattern, const char* argument) {
  // The library's own texts carry exactly one "%s"; the argument is never
  // used as a format.
  const CString form(pattern);
  const int at = form.Find("%s");
  if (at < 0) return form;
  CString text = form.Left(at);
  text += argument ? argument : "";
  text += form.Mid(at + 2);
  return text;
}

HBITMAP ax::LoadBitmapResource(UINT id) { return LoadBitmapA(Module(), MAKEINTRESOURCEA(id)); }

LPCDLGTEMPLATEA ax::DialogTemplate(UINT id) {
  HMODULE module = Module();
  HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCE(id), RT_DIALOG);
  HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
  return loaded ? static_cast<LPCDLGTEMPLATEA>(::LockResource(loaded)) : nullptr;
}
