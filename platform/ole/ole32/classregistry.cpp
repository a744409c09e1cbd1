// The registry of in-process classes: a profile file with one section per
// class (the CLSID's text), keys "ProgID" and "InprocServer32" (see
// objbase.h for where the file lies), and the ProgID look-ups over it; and
// the classes of the layer's own system libraries, known without the file.
#include <activscp.h>
#include <objbase.h>

#include <dlfcn.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "classregistry.h"

namespace {

const char kProgIdKey[] = "ProgID";
const char kServerKey[] = "InprocServer32";

// Classes that Windows registers when it is installed, served here by the
// layer's libraries of the same file names. They need no registration step
// (a fresh machine has an empty registry file, yet hosts ask for "JScript"
// by its ProgID); an entry of the registry file for the class wins.
struct SystemClass {
  const CLSID* clsid;
  const char* progId;
  const char* library;  // in the layer's system directory
};
constexpr SystemClass kSystemClasses[] = {
    {&CLSID_JScript, "JScript", "JSCRIPT.DLL"},
};

// The directory of this library: the layer's system libraries are built and
// installed beside it, as Windows keeps its own in one system directory.
const std::string& systemDirectory() {
  static const std::string directory = [] {
    Dl_info info{};
    char resolved[PATH_MAX];
    if (!dladdr(reinterpret_cast<void*>(&ole32::registryFile), &info) || !info.dli_fname ||
        !realpath(info.dli_fname, resolved))
      return std::string();
    return std::filesystem::path(resolved).parent_path().string();
  }();
  return directory;
}

// The full path of a system class's library; "" when it is not installed,
// and then the class is not registered either.
std::string systemLibraryPath(const SystemClass& entry) {
  if (systemDirectory().empty()) return {};
  std::string path = systemDirectory() + "/" + entry.library;
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) ? path : std::string();
}

const SystemClass* systemClass(REFCLSID clsid) {
  for (const SystemClass& entry : kSystemClasses)
    if (*entry.clsid == clsid && !systemLibraryPath(entry).empty()) return &entry;
  return nullptr;
}

std::string guidText(REFGUID guid) {
  OLECHAR wide[40];
  StringFromGUID2(guid, wide, 40);
  std::string text;
  for (int i = 0; wide[i]; ++i) text += static_cast<char>(wide[i]);
  return text;
}

std::string profileValue(const std::string& file, const std::string& section, const char* key) {
  std::vector<char> buffer(4096);
  for (;;) {
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key, "", buffer.data(),
                                             static_cast<DWORD>(buffer.size()), file.c_str());
    if (n + 1 < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

std::vector<std::string> sectionNames(const std::string& file) {
  std::vector<char> buffer(8192);
  DWORD n = 0;
  for (;;) {
    n = GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    if (n + 2 < buffer.size()) break;
    buffer.resize(buffer.size() * 2);
  }
  std::vector<std::string> names;
  for (const char* p = buffer.data(); *p; p += names.back().size() + 1) names.emplace_back(p);
  return names;
}

bool equalsIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

// The ProgID as narrow text; false when it holds a character beyond ASCII
// (no registered name can match it).
bool narrowName(LPCOLESTR wide, std::string* out) {
  out->clear();
  for (; *wide; ++wide) {
    if (*wide >= 0x80) return false;
    *out += static_cast<char>(*wide);
  }
  return true;
}

}  // namespace

std::string ole32::registryFile() {
  if (const char* path = std::getenv("KY_COM_REGISTRY"); path && *path) return path;
  std::string config;
  // The XDG base directory rules ignore a relative XDG_CONFIG_HOME.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
    config = xdg;
  } else {
    const char* home = std::getenv("HOME");
    config = std::string(home && *home ? home : "/") + "/.config";
  }
  return config + "/ky/COMCLASSES.INI";
}

std::string ole32::serverLibrary(REFCLSID clsid) {
  std::string registered = profileValue(registryFile(), guidText(clsid), kServerKey);
  if (!registered.empty()) return registered;
  const SystemClass* system = systemClass(clsid);
  return system ? systemLibraryPath(*system) : std::string();
}

extern "C" HRESULT CoRegisterInprocServerA(REFCLSID rclsid, LPCSTR pszProgID, LPCSTR pszLibrary) {
  if (!pszLibrary || !*pszLibrary) return E_INVALIDARG;
  const std::string file = ole32::registryFile();
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ignored);
  const std::string section = guidText(rclsid);
  // The section is written anew so that no key of an older registration stays.
  WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str());
  if (!WritePrivateProfileStringA(section.c_str(), kServerKey, pszLibrary, file.c_str())) return REGDB_E_WRITEREGDB;
  if (pszProgID && *pszProgID && !WritePrivateProfileStringA(section.c_str(), kProgIdKey, pszProgID, file.c_str()))
    return REGDB_E_WRITEREGDB;
  return S_OK;
}

extern "C" HRESULT CoUnregisterInprocServer(REFCLSID rclsid) {
  const std::string file = ole32::registryFile();
  const std::string section = guidText(rclsid);
  if (ole32::serverLibrary(rclsid).empty()) return S_FALSE;
  return WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()) ? S_OK : REGDB_E_WRITEREGDB;
}

extern "C" HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid) {
  if (!lpclsid) return E_INVALIDARG;
  if (!lpszProgID || !*lpszProgID) return CO_E_CLASSSTRING;
  if (lpszProgID[0] == '{') return CLSIDFromString(lpszProgID, lpclsid);
  std::string wanted;
  if (!narrowName(lpszProgID, &wanted)) return REGDB_E_CLASSNOTREG;
  const std::string file = ole32::registryFile();
  for (const std::string& section : sectionNames(file)) {
    if (!equalsIgnoringAsciiCase(profileValue(file, section, kProgIdKey), wanted)) continue;
    std::u16string wide(section.begin(), section.end());
    if (SUCCEEDED(CLSIDFromString(reinterpret_cast<LPCOLESTR>(wide.c_str()), lpclsid))) return S_OK;
  }
  for (const SystemClass& entry : kSystemClasses) {
    if (!equalsIgnoringAsciiCase(entry.progId, wanted) || !systemClass(*entry.clsid)) continue;
    *lpclsid = *entry.clsid;
    return S_OK;
  }
  return REGDB_E_CLASSNOTREG;
}

extern "C" HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* lplpszProgID) {
  if (!lplpszProgID) return E_INVALIDARG;
  *lplpszProgID = nullptr;
  std::string progId = profileValue(ole32::registryFile(), guidText(clsid), kProgIdKey);
  if (progId.empty()) {
    const SystemClass* system = systemClass(clsid);
    if (!system) return REGDB_E_CLASSNOTREG;
    progId = system->progId;
  }
  auto* text = static_cast<LPOLESTR>(CoTaskMemAlloc((progId.size() + 1) * sizeof(OLECHAR)));
  if (!text) return E_OUTOFMEMORY;
  for (size_t i = 0; i <= progId.size(); ++i) text[i] = static_cast<unsigned char>(progId.c_str()[i]);
  *lplpszProgID = text;
  return S_OK;
}
