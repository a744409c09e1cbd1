// Loading, creating and registering type libraries. Registration keeps
// Windows' keys under HKEY_CLASSES_ROOT: "TypeLib\{libid}\<major>.<minor>"
// (hexadecimal) with the library's description as its default value,
// "<lcid>\win32" or "win64" naming the file, "FLAGS" and "HELPDIR".
#include <internal/hostpath.h>
#include <winreg.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "typelibobjects.h"

using namespace oleaut::tlb;

namespace {

std::string utf8(LPCOLESTR text) {
  std::string out;
  for (; text && *text; ++text) {
    const char32_t c = *text;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::string narrow(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c <= 0xFF ? static_cast<char>(c) : '?';
  return out;
}

std::string guidText(REFGUID guid) {
  OLECHAR text[40];
  StringFromGUID2(guid, text, 40);
  return utf8(text);
}

const char* platformKey(SYSKIND syskind) { return syskind == SYS_WIN64 ? "win64" : "win32"; }

// A registry key closed when it goes out of scope.
class Key {
 public:
  Key() = default;
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  bool open(HKEY parent, const std::string& path) { return RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &key_) == ERROR_SUCCESS; }
  bool create(HKEY parent, const std::string& path) { return RegCreateKeyA(parent, path.c_str(), &key_) == ERROR_SUCCESS; }
  bool setDefault(const std::string& text) {
    return RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
  }
  std::string defaultText(const char* subKey) const {
    char buffer[1024];
    LONG size = sizeof buffer;
    return RegQueryValueA(key_, subKey, buffer, &size) == ERROR_SUCCESS ? std::string(buffer) : std::string();
  }
  std::vector<std::string> subkeys() const {
    std::vector<std::string> names;
    char name[256];
    for (DWORD i = 0; RegEnumKeyA(key_, i, name, sizeof name) == ERROR_SUCCESS; ++i) names.emplace_back(name);
    return names;
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

bool readWhole(const std::string& path, std::vector<uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

WINOLEAUTAPI LoadTypeLibEx(LPCOLESTR szFile, REGKIND regkind, ITypeLib** pptlib) {
  if (!szFile || !pptlib) return E_INVALIDARG;
  *pptlib = nullptr;
  const std::string path = win32::resolveHostPath(utf8(szFile));
  std::vector<uint8_t> bytes;
  if (!readWhole(path, &bytes)) return TYPE_E_CANTLOADLIBRARY;
  Library library;
  if (const HRESULT hr = readFile(bytes, &library); FAILED(hr)) return hr;
  auto* object = new LibraryObject(std::move(library), std::string(), false);
  if (regkind != REGKIND_NONE) {
    std::error_code ignored;
    const std::string full = std::filesystem::absolute(path, ignored).string();
    const std::u16string fullWide = wide(full);
    if (const HRESULT hr = RegisterTypeLib(object, reinterpret_cast<LPCOLESTR>(fullWide.c_str()), nullptr); FAILED(hr)) {
      object->Release();
      return hr;
    }
  }
  *pptlib = object;
  return S_OK;
}

WINOLEAUTAPI LoadTypeLib(LPCOLESTR szFile, ITypeLib** pptlib) { return LoadTypeLibEx(szFile, REGKIND_DEFAULT, pptlib); }

WINOLEAUTAPI LoadRegTypeLib(REFGUID rguid, WORD wVerMajor, WORD wVerMinor, LCID lcid, ITypeLib** pptlib) {
  if (!pptlib) return E_INVALIDARG;
  *pptlib = nullptr;
  Key library;
  if (!library.open(HKEY_CLASSES_ROOT, "TypeLib\\" + guidText(rguid))) return TYPE_E_LIBNOTREGISTERED;
  std::string best;
  unsigned bestMinor = 0;
  for (const std::string& version : library.subkeys()) {
    unsigned major = 0, minor = 0;
    char end = 0;
    if (std::sscanf(version.c_str(), "%x.%x%c", &major, &minor, &end) != 2) continue;
    if (major != wVerMajor || minor < wVerMinor || (!best.empty() && minor <= bestMinor)) continue;
    best = version;
    bestMinor = minor;
  }
  if (best.empty()) return TYPE_E_LIBNOTREGISTERED;
  char locales[3][16];
  std::snprintf(locales[0], sizeof locales[0], "%x", static_cast<unsigned>(lcid));
  std::snprintf(locales[1], sizeof locales[1], "%x", static_cast<unsigned>(lcid & 0x3FF));
  std::snprintf(locales[2], sizeof locales[2], "0");
  for (const char* locale : locales) {
    for (const char* platform : {"win64", "win32"}) {
      const std::string path = library.defaultText((best + "\\" + locale + "\\" + platform).c_str());
      if (path.empty()) continue;
      const std::u16string file = wide(path);
      return LoadTypeLibEx(reinterpret_cast<LPCOLESTR>(file.c_str()), REGKIND_NONE, pptlib);
    }
  }
  return TYPE_E_LIBNOTREGISTERED;
}

WINOLEAUTAPI RegisterTypeLib(ITypeLib* ptlib, LPCOLESTR szFullPath, LPCOLESTR szHelpDir) {
  if (!ptlib || !szFullPath) return E_INVALIDARG;
  TLIBATTR* attr = nullptr;
  if (FAILED(ptlib->GetLibAttr(&attr))) return TYPE_E_INVALIDSTATE;
  const TLIBATTR a = *attr;
  ptlib->ReleaseTLibAttr(attr);
  BSTR name = nullptr, doc = nullptr;
  ptlib->GetDocumentation(-1, &name, &doc, nullptr, nullptr);
  const std::string description = narrow(fromOle(doc ? doc : name));
  SysFreeString(name);
  SysFreeString(doc);

  char version[32], locale[16];
  std::snprintf(version, sizeof version, "%x.%x", a.wMajorVerNum, a.wMinorVerNum);
  std::snprintf(locale, sizeof locale, "%x", static_cast<unsigned>(a.lcid));
  const std::string base = "TypeLib\\" + guidText(a.guid) + "\\" + version;
  const std::string file = utf8(szFullPath);
  std::string helpDir = szHelpDir ? utf8(szHelpDir) : std::filesystem::path(file).parent_path().string();
  Key versionKey, fileKey, flagsKey, helpKey;
  if (!versionKey.create(HKEY_CLASSES_ROOT, base) || !versionKey.setDefault(description) ||
      !fileKey.create(versionKey.get(), std::string(locale) + "\\" + platformKey(a.syskind)) || !fileKey.setDefault(file) ||
      !flagsKey.create(versionKey.get(), "FLAGS") || !flagsKey.setDefault(std::to_string(a.wLibFlags)) ||
      !helpKey.create(versionKey.get(), "HELPDIR") || !helpKey.setDefault(helpDir))
    return TYPE_E_REGISTRYACCESS;
  return S_OK;
}

WINOLEAUTAPI UnRegisterTypeLib(REFGUID libID, WORD wVerMajor, WORD wVerMinor, LCID lcid, SYSKIND syskind) {
  char version[32], locale[16];
  std::snprintf(version, sizeof version, "%x.%x", wVerMajor, wVerMinor);
  std::snprintf(locale, sizeof locale, "%x", static_cast<unsigned>(lcid));
  const std::string library = "TypeLib\\" + guidText(libID);
  const std::string base = library + "\\" + version;
  Key check;
  if (!check.open(HKEY_CLASSES_ROOT, base)) return TYPE_E_REGISTRYACCESS;
  // Deepest keys first; the version and library keys go when nothing else
  // is left under them.
  for (const std::string& path : {base + "\\" + locale + "\\" + platformKey(syskind), base + "\\" + locale,
                                   base + "\\FLAGS", base + "\\HELPDIR", base, library})
    RegDeleteKeyA(HKEY_CLASSES_ROOT, path.c_str());
  return S_OK;
}

WINOLEAUTAPI CreateTypeLib2(SYSKIND syskind, LPCOLESTR szFile, ICreateTypeLib2** ppctlib) {
  if (!szFile || !ppctlib) return E_INVALIDARG;
  Library library;
  library.syskind = syskind;
  *ppctlib = new LibraryObject(std::move(library), win32::resolveHostPath(utf8(szFile)), true);
  return S_OK;
}
