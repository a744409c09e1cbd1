// The registry over one file. The file is read whole for each call and
// written whole (to a new file renamed over the old) after each change, so
// that another process sees every change at once. Its form, one key per
// section in creation order:
//   [HKEY_CLASSES_ROOT\CLSID\{...}]
//   <type> <value name in hex, "-" for the default value> <data in hex>
#include <winreg.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Value {
  std::string name;
  DWORD type = REG_SZ;
  std::string data;
};

struct Key {
  std::string path;  // from the root's name, as created
  std::vector<Value> values;
};

struct OpenKey {
  std::string path;
};

std::mutex g_lock;
std::set<OpenKey*> g_open;

std::string lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return text;
}

bool sameName(const std::string& a, const std::string& b) { return lower(a) == lower(b); }

std::string configDirectory() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') return std::string(xdg) + "/ky";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/") + "/.config/ky";
}

std::string registryFile() {
  if (const char* path = std::getenv("KY_REGISTRY"); path && *path) return path;
  // Beside a class registry a test or a program chose for itself.
  if (const char* classes = std::getenv("KY_COM_REGISTRY"); classes && *classes)
    return (std::filesystem::path(classes).parent_path() / "REGISTRY.DAT").string();
  return configDirectory() + "/REGISTRY.DAT";
}

std::string toHex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

bool fromHex(const std::string& hex, std::string* bytes) {
  if (hex == "-") return bytes->clear(), true;
  if (hex.size() % 2) return false;
  bytes->clear();
  for (size_t i = 0; i < hex.size(); i += 2) {
    char pair[3] = {hex[i], hex[i + 1], 0};
    char* end = nullptr;
    const long b = std::strtol(pair, &end, 16);
    if (*end) return false;
    *bytes += static_cast<char>(b);
  }
  return true;
}

// A line that does not have the form is skipped: the rest of the file
// stays readable.
std::vector<Key> readKeys() {
  std::vector<Key> keys;
  std::ifstream in(registryFile());
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
      keys.push_back(Key{line.substr(1, line.size() - 2), {}});
      continue;
    }
    if (keys.empty()) continue;
    std::istringstream fields(line);
    Value value;
    std::string name, data;
    if (!(fields >> value.type >> name >> data)) continue;
    if (!fromHex(name, &value.name) || !fromHex(data, &value.data)) continue;
    keys.back().values.push_back(value);
  }
  return keys;
}

bool writeKeys(const std::vector<Key>& keys) {
  const std::filesystem::path file = registryFile();
  std::error_code ignored;
  std::filesystem::create_directories(file.parent_path(), ignored);
  const std::filesystem::path fresh = file.string() + ".new" + std::to_string(GetCurrentProcessId());
  {
    std::ofstream out(fresh, std::ios::trunc);
    for (const Key& key : keys) {
      out << '[' << key.path << "]\n";
      for (const Value& value : key.values)
        out << value.type << ' ' << (value.name.empty() ? "-" : toHex(value.name)) << ' '
            << (value.data.empty() ? "-" : toHex(value.data)) << '\n';
    }
    if (!out.flush()) return false;
  }
  std::error_code error;
  std::filesystem::rename(fresh, file, error);
  return !error;
}

Key* findKey(std::vector<Key>& keys, const std::string& path) {
  for (Key& key : keys)
    if (sameName(key.path, path)) return &key;
  return nullptr;
}

const char* rootName(HKEY key) {
  if (key == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
  if (key == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
  if (key == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
  return nullptr;
}

// The full path of an open or root key; false for anything else.
bool pathOf(HKEY key, std::string* path) {
  if (const char* root = rootName(key)) return *path = root, true;
  auto* open = reinterpret_cast<OpenKey*>(key);
  if (!g_open.count(open)) return false;
  *path = open->path;
  return true;
}

// The path of a subkey: names separated by "\" (empty names dropped, as a
// leading or doubled separator is ignored); false for a name over 255
// characters or one holding a character the file cannot keep.
bool joinPath(const std::string& base, LPCSTR subKey, std::string* path) {
  *path = base;
  if (!subKey) return true;
  std::string name;
  for (const char* p = subKey;; ++p) {
    if (*p == '\\' || *p == '\0') {
      if (!name.empty()) *path += "\\" + name;
      name.clear();
      if (!*p) return true;
      continue;
    }
    if (*p == '\n' || *p == '\r' || *p == ']' || name.size() >= 255) return false;
    name += *p;
  }
}

HKEY openHandle(const std::string& path) {
  auto* open = new OpenKey{path};
  g_open.insert(open);
  return reinterpret_cast<HKEY>(open);
}

bool isRoot(const std::string& path) { return path.find('\\') == std::string::npos; }

std::string parentOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }

Value* findValue(Key& key, LPCSTR name) {
  const std::string wanted = name ? name : "";
  for (Value& value : key.values)
    if (sameName(value.name, wanted)) return &value;
  return nullptr;
}

// The key at `path`, a root counting as present with no values.
bool keyExists(std::vector<Key>& keys, const std::string& path) { return isRoot(path) || findKey(keys, path); }

LSTATUS copyOut(const std::string& data, LPBYTE out, LPDWORD size) {
  if (!size) return out ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
  const DWORD need = static_cast<DWORD>(data.size());
  if (!out) return *size = need, ERROR_SUCCESS;
  if (*size < need) return *size = need, ERROR_MORE_DATA;
  std::memcpy(out, data.data(), need);
  *size = need;
  return ERROR_SUCCESS;
}

// A text value keeps its terminating NUL in the data, as Windows stores it.
std::string textData(const char* text) { return std::string(text) + '\0'; }

// The full path of a subkey of an open or root key, checked.
LSTATUS subkeyPath(HKEY key, LPCSTR subKey, std::string* path) {
  std::string base;
  if (!pathOf(key, &base)) return ERROR_INVALID_HANDLE;
  return joinPath(base, subKey, path) ? ERROR_SUCCESS : ERROR_BADKEY;
}

}  // namespace

extern "C" LSTATUS RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM, PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  std::lock_guard<std::mutex> hold(g_lock);
  std::string path;
  if (const LSTATUS status = subkeyPath(hKey, lpSubKey, &path); status != ERROR_SUCCESS) return status;
  std::vector<Key> keys = readKeys();
  if (!keyExists(keys, path)) return ERROR_FILE_NOT_FOUND;
  *phkResult = openHandle(isRoot(path) ? path : findKey(keys, path)->path);
  return ERROR_SUCCESS;
}

extern "C" LSTATUS RegOpenKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult) {
  return RegOpenKeyExA(hKey, lpSubKey, 0, KEY_ALL_ACCESS, phkResult);
}

extern "C" LSTATUS RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD, REGSAM, const void*,
                                   PHKEY phkResult, LPDWORD lpdwDisposition) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  std::lock_guard<std::mutex> hold(g_lock);
  std::string path;
  if (const LSTATUS status = subkeyPath(hKey, lpSubKey, &path); status != ERROR_SUCCESS) return status;
  std::vector<Key> keys = readKeys();
  const bool existed = keyExists(keys, path);
  if (!existed) {
    // Every missing key from the top down.
    std::vector<std::string> missing;
    for (std::string at = path; !isRoot(at) && !findKey(keys, at); at = parentOf(at)) missing.push_back(at);
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) keys.push_back(Key{*it, {}});
    if (!writeKeys(keys)) return ERROR_CANTWRITE;
  }
  if (lpdwDisposition) *lpdwDisposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  *phkResult = openHandle(isRoot(path) ? path : findKey(keys, path)->path);
  return ERROR_SUCCESS;
}

extern "C" LSTATUS RegCreateKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult) {
  return RegCreateKeyExA(hKey, lpSubKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, phkResult, nullptr);
}

extern "C" LSTATUS RegCloseKey(HKEY hKey) {
  if (rootName(hKey)) return ERROR_SUCCESS;
  std::lock_guard<std::mutex> hold(g_lock);
  auto* open = reinterpret_cast<OpenKey*>(hKey);
  if (!g_open.erase(open)) return ERROR_INVALID_HANDLE;
  delete open;
  return ERROR_SUCCESS;
}

extern "C" LSTATUS RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
  std::lock_guard<std::mutex> hold(g_lock);
  std::string path;
  if (const LSTATUS status = subkeyPath(hKey, lpSubKey, &path); status != ERROR_SUCCESS) return status;
  if (isRoot(path)) return ERROR_ACCESS_DENIED;
  std::vector<Key> keys = readKeys();
  const std::string prefix = lower(path) + "\\";
  size_t at = keys.size();
  for (size_t i = 0; i < keys.size(); ++i) {
    if (sameName(keys[i].path, path)) at = i;
    if (lower(keys[i].path).rfind(prefix, 0) == 0) return ERROR_ACCESS_DENIED;
  }
  if (at == keys.size()) return ERROR_FILE_NOT_FOUND;
  keys.erase(keys.begin() + static_cast<long>(at));
  return writeKeys(keys) ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

extern "C" LSTATUS RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                                    LPDWORD lpcbData) {
  std::lock_guard<std::mutex> hold(g_lock);
  std::string path;
  if (!pathOf(hKey, &path)) return ERROR_INVALID_HANDLE;
  std::vector<Key> keys = readKeys();
  Key* key = findKey(keys, path);
  Value* value = key ? findValue(*key, lpValueName) : nullptr;
  if (!value) return ERROR_FILE_NOT_FOUND;
  if (lpType) *lpType = value->type;
  return copyOut(value->data, lpData, lpcbData);
}

extern "C" LSTATUS RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData,
                                  DWORD cbData) {
  if (cbData && !lpData) return ERROR_INVALID_PARAMETER;
  if (dwType == REG_DWORD && cbData != sizeof(DWORD)) return ERROR_INVALID_PARAMETER;
  std::lock_guard<std::mutex> hold(g_lock);
  std::string path;
  if (!pathOf(hKey, &path)) return ERROR_INVALID_HANDLE;
  if (isRoot(path)) return ERROR_ACCESS_DENIED;  // roots hold no values here
  std::vector<Key> keys = readKeys();
  Key* key = findKey(keys, path);
  if (!key) return ERROR_FILE_NOT_FOUND;  // deleted while open
  std::string data(reinterpret_cast<const char*>(lpData), cbData);
  if ((dwType == REG_SZ || dwType == REG_EXPAND_SZ) && (data.empty() || data.back() != '\0')) data += '\0';
  if (Value* value = findValue(*key, lpValueName)) {
    value->type = dwType;
    value->data = data;
  } else {
    key->values.push_back(Value{lpValueName ? lpValueName : "", dwType, data});
  }
  return writeKeys(keys) ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

extern "C" LSTATUS RegQueryValueA(HKEY hKey, LPCSTR lpSubKey, LPSTR lpData, LONG* lpcbData) {
  HKEY key = hKey;
  if (lpSubKey && *lpSubKey) {
    if (LSTATUS opened = RegOpenKeyExA(hKey, lpSubKey, 0, KEY_READ, &key); opened != ERROR_SUCCESS) return opened;
  }
  DWORD type = REG_SZ;
  DWORD size = lpcbData ? static_cast<DWORD>(*lpcbData) : 0;
  LSTATUS status = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<LPBYTE>(lpData), lpcbData ? &size : nullptr);
  if (status == ERROR_FILE_NOT_FOUND) {
    // A key without a default value answers the empty text.
    status = copyOut(std::string(1, '\0'), reinterpret_cast<LPBYTE>(lpData), lpcbData ? &size : nullptr);
  } else if (status == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ) {
    status = ERROR_INVALID_DATA;
  }
  if (lpcbData) *lpcbData = static_cast<LONG>(size);
  if (key != hKey) RegCloseKey(key);
  return status;
}

extern "C" LSTATUS RegSetValueA(HKEY hKey, LPCSTR lpSubKey, DWORD dwType, LPCSTR lpData, DWORD) {
  if (dwType != REG_SZ || !lpData) return ERROR_INVALID_PARAMETER;
  HKEY key = nullptr;
  if (LSTATUS created = RegCreateKeyA(hKey, lpSubKey, &key); created != ERROR_SUCCESS) return created;
  const std::string data = textData(lpData);
  const LSTATUS status =
      RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  return status;
}

extern "C" LSTATUS RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD, LPSTR lpClass,
                                 LPDWORD lpcchClass, FILETIME* lpftLastWriteTime) {
  if (!lpName || !lpcchName) return ERROR_INVALID_PARAMETER;
  std::lock_guard<std::mutex> hold(g_lock);
  std::string path;
  if (!pathOf(hKey, &path)) return ERROR_INVALID_HANDLE;
  std::vector<Key> keys = readKeys();
  const std::string prefix = lower(path) + "\\";
  DWORD index = 0;
  for (const Key& key : keys) {
    const std::string name = key.path.substr(std::min(key.path.size(), prefix.size()));
    if (lower(key.path).rfind(prefix, 0) != 0 || name.find('\\') != std::string::npos) continue;
    if (index++ != dwIndex) continue;
    if (name.size() + 1 > *lpcchName) return ERROR_MORE_DATA;
    std::memcpy(lpName, name.c_str(), name.size() + 1);
    *lpcchName = static_cast<DWORD>(name.size());
    if (lpClass && lpcchClass && *lpcchClass) *lpClass = '\0';
    if (lpcchClass) *lpcchClass = 0;
    if (lpftLastWriteTime) *lpftLastWriteTime = FILETIME{};
    return ERROR_SUCCESS;
  }
  return ERROR_NO_MORE_ITEMS;
}

extern "C" LSTATUS RegEnumKeyA(HKEY hKey, DWORD dwIndex, LPSTR lpName, DWORD cchName) {
  DWORD size = cchName;
  return RegEnumKeyExA(hKey, dwIndex, lpName, &size, nullptr, nullptr, nullptr, nullptr);
}
