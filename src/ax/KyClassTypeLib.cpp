// The type library of a class by its registration. Every registered
// version is looked at and the highest taken (the order of the registry's
// keys says nothing about versions); version keys are read as Windows
// writes them, in hexadecimal.
#include "KyClassTypeLib.h"

#include <winreg.h>

#include <cstdio>
#include <string>

#include "KyComInfo.h"

ITypeLib* ax::TypeLibOfClass(const char* classText) {
  if (!classText || !*classText) return nullptr;
  KyRegKey classKey;
  char libId[64] = "";
  if (!classKey.Open(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + classText).c_str()) ||
      !classKey.QueryValue("TypeLib", libId, sizeof libId) || !*libId)
    return nullptr;
  KyRegKey versions;
  if (!versions.Open(HKEY_CLASSES_ROOT, (std::string("TypeLib\\") + libId).c_str())) return nullptr;
  bool found = false;
  unsigned bestMajor = 0, bestMinor = 0;
  char name[256];
  for (DWORD i = 0; versions.EnumKey(i, name, sizeof name); ++i) {
    unsigned major = 0, minor = 0;
    char extra = 0;
    if (std::sscanf(name, "%x.%x%c", &major, &minor, &extra) != 2 || major > 0xFFFF || minor > 0xFFFF) continue;
    if (found && (major < bestMajor || (major == bestMajor && minor <= bestMinor))) continue;
    found = true;
    bestMajor = major;
    bestMinor = minor;
  }
  std::u16string wide(libId, libId + std::char_traits<char>::length(libId));
  CLSID id{};
  if (!found || FAILED(CLSIDFromString(reinterpret_cast<LPCOLESTR>(wide.c_str()), &id))) return nullptr;
  ITypeLib* library = nullptr;
  if (FAILED(LoadRegTypeLib(id, static_cast<WORD>(bestMajor), static_cast<WORD>(bestMinor), 0, &library))) return nullptr;
  return library;
}
