// The process's table of named kernel objects. It holds weak references:
// a name lives as long as some handle (or wait) keeps its object.
#include <internal/namedobject.h>
#include <winbase.h>

#include <mutex>
#include <unordered_map>

namespace win32 {
namespace {

struct NameTable {
  std::mutex lock;
  std::unordered_map<std::string, std::weak_ptr<KernelObject>> objects;

  static NameTable& instance() {
    static NameTable table;
    return table;
  }
};

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

std::string namespaceKey(const char* name) {
  std::string key(name);
  if (startsWith(key, "Global\\"))
    key.erase(0, 7);
  else if (startsWith(key, "Local\\"))
    key.erase(0, 6);
  return key;
}

HANDLE openOrCreateNamed(const char* name, const ObjectFactory& create, bool (*isType)(const KernelObject&)) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (std::string(name).size() >= MAX_PATH) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return nullptr;
  }
  auto& table = NameTable::instance();
  // The factory runs under the table's lock so that two threads creating
  // the same name meet one object; factories never open other names.
  std::lock_guard guard(table.lock);
  std::string key = namespaceKey(name);
  auto found = table.objects.find(key);
  if (found != table.objects.end()) {
    if (auto existing = found->second.lock()) {
      if (!isType(*existing)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
      }
      HANDLE handle = insertHandle(std::move(existing));
      if (handle) SetLastError(ERROR_ALREADY_EXISTS);
      return handle;
    }
    table.objects.erase(found);
  }
  if (!create) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  SetLastError(ERROR_SUCCESS);
  auto object = create();
  if (!object) return nullptr;
  DWORD status = GetLastError();  // a shared object may report ERROR_ALREADY_EXISTS
  HANDLE handle = insertHandle(object);
  if (!handle) return nullptr;
  table.objects[key] = object;
  SetLastError(status);
  return handle;
}

}  // namespace win32
