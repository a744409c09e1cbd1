// Libraries loaded by name: LoadLibraryA, FreeLibrary, GetModuleHandleA,
// GetModuleFileNameA, GetProcAddress, SetErrorMode; and the module table that
// the resource functions read (internal/module.h).
//
// A library is an ELF shared object under its Windows file name. HMODULE is
// the address of the object's first mapped segment (dladdr's dli_fbase),
// whoever loaded it, so that modules linked at build time and the program
// itself are modules too. The table holds one record per module that was
// loaded through LoadLibraryA (with its reference count) or whose resources
// were read. Libraries are loaded through LoadLibraryA, never with dlopen
// directly: the table learns of unloads only after its own dlclose calls.
//
// Locking: the table's mutex is never held across dlopen, dlclose, dlsym or
// dladdr. Those take the C library's loader lock, which dlopen keeps while a
// library's constructors run; a constructor calling LoadLibraryA or
// GetModuleHandleA would otherwise deadlock against another thread.
#include <internal/elfimage.h>
#include <internal/hostpath.h>
#include <internal/module.h>
#include <internal/modulesearch.h>
#include <internal/resource.h>
#include <winbase.h>

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace win32 {
namespace {

// System libraries that the run-time loads by name and the host library that
// stands for each. The layer's own stand-ins (WS2_32.DLL, OCI.DLL, ...) are
// built under their Windows names beside the program and need no entry.
struct SystemLibrary {
  const char* windowsName;
  const char* hostName;
};
constexpr SystemLibrary kSystemLibraries[] = {
    {"ODBC32.DLL", "libodbc.so.2"},
    {"WINMM.DLL", "libwinmm.so"},  // the layer's own, without an audio device
};

const SystemLibrary* systemLibrary(std::string_view fileName) {
  for (const SystemLibrary& library : kSystemLibraries) {
    if (equalsIgnoringCase(fileName, library.windowsName)) return &library;
  }
  return nullptr;
}

struct ModuleRecord {
  std::string path;         // real full path of the file; made from loaderPath when first asked for
  std::string loaderPath;   // the path the loader opened (reopens the same object)
  std::string windowsName;  // the name a bare LoadLibraryA / GetModuleHandleA matches
  void* handle = nullptr;   // dlopen handle, referenced once per load
  unsigned loadCount = 0;   // LoadLibraryA references not yet freed; 0 = linked or the program
  // GetProcAddress calls using `handle` right now; the dlcloses of
  // FreeLibrary calls made meanwhile wait for the last of them.
  unsigned pins = 0;
  unsigned deferredCloses = 0;
  std::shared_ptr<const ResourceIndex> resources;  // built on first use
};

struct ModuleTable {
  std::mutex lock;
  std::map<uintptr_t, ModuleRecord> records;
};

ModuleTable& table() {
  static auto* modules = new ModuleTable;  // never destroyed: FreeLibrary works from static destructors
  return *modules;
}

std::atomic<UINT> errorMode{0};

// An ELF object the loader has mapped, as dl_iterate_phdr reports it.
struct LoadedObject {
  uintptr_t base = 0;
  std::string loaderName;  // the loader's name for it; empty for the program
  bool isProgram = false;
};

size_t pageSize() {
  static const size_t size = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  return size;
}

// dli_fbase of an object: the mapping of its first PT_LOAD segment, rounded
// down to a page; 0 for an object without one.
uintptr_t baseOfObject(const dl_phdr_info* info) {
  uintptr_t lowest = UINTPTR_MAX;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    if (info->dlpi_phdr[i].p_type == PT_LOAD && info->dlpi_phdr[i].p_vaddr < lowest) lowest = info->dlpi_phdr[i].p_vaddr;
  }
  return lowest == UINTPTR_MAX ? 0 : info->dlpi_addr + (lowest & ~(pageSize() - 1));
}

// Calls visit(base, loaderName, isProgram) for each mapped object, the
// program first, until it answers true; answers whether one did. Names are
// not copied: most walks look for one object.
template <typename Visit>
bool visitLoadedObjects(Visit&& visit) {
  struct Walk {
    Visit* visit;
    bool first = true;
  } walk{&visit};
  return ::dl_iterate_phdr(
             [](dl_phdr_info* info, size_t, void* data) -> int {
               auto* state = static_cast<Walk*>(data);
               const bool isProgram = state->first;  // the loader lists the program first
               state->first = false;
               const uintptr_t base = baseOfObject(info);
               if (!base) return 0;
               const char* name = !isProgram && info->dlpi_name ? info->dlpi_name : "";
               return (*state->visit)(base, name, isProgram) ? 1 : 0;
             },
             &walk) != 0;
}

std::vector<LoadedObject> loadedObjects() {
  std::vector<LoadedObject> objects;
  visitLoadedObjects([&objects](uintptr_t base, const char* name, bool isProgram) {
    objects.push_back(LoadedObject{base, name, isProgram});
    return false;
  });
  return objects;
}

std::optional<LoadedObject> loadedObjectAt(uintptr_t base) {
  std::optional<LoadedObject> found;
  visitLoadedObjects([&](uintptr_t objectBase, const char* name, bool isProgram) {
    if (objectBase != base) return false;
    found = LoadedObject{objectBase, name, isProgram};
    return true;
  });
  return found;
}

uintptr_t programBase() {
  static const uintptr_t base = [] {
    uintptr_t program = 0;
    visitLoadedObjects([&program](uintptr_t objectBase, const char*, bool isProgram) {
      if (isProgram) program = objectBase;
      return true;
    });
    return program;
  }();
  return base;
}

std::string realPath(const std::string& path) {
  char buffer[PATH_MAX];
  return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

std::string pathOf(const LoadedObject& object) {
  return object.isProgram ? programPath() : realPath(object.loaderName);
}

// The start of the mapping of the object that contains `address` (dladdr's
// dli_fbase), 0 when no loaded object does. Lock-free, without the nearest
// symbol search of dladdr.
uintptr_t baseOf(const void* address) {
  dl_find_object found;
  if (!address || ::_dl_find_object(const_cast<void*>(address), &found) != 0) return 0;
  return reinterpret_cast<uintptr_t>(found.dlfo_map_start);
}

link_map* linkMapOf(void* handle) {
  link_map* map = nullptr;
  return ::dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 ? map : nullptr;
}

bool isLoadedAt(uintptr_t base) { return base && baseOf(reinterpret_cast<const void*>(base)) == base; }

uintptr_t toBase(HMODULE module) { return module ? reinterpret_cast<uintptr_t>(module) : programBase(); }
HMODULE toModule(uintptr_t base) { return reinterpret_cast<HMODULE>(base); }

// Drops the records of uncounted modules that are gone: a library that came
// in as a dependency of one loaded by name leaves with it, and its resource
// index must not outlive it (another object could be mapped at its base).
void forgetUnloaded() {
  ModuleTable& modules = table();
  std::vector<uintptr_t> uncounted;
  {
    std::lock_guard guard(modules.lock);
    for (const auto& [base, record] : modules.records)
      if (record.loadCount == 0 && record.pins == 0) uncounted.push_back(base);
  }
  std::vector<uintptr_t> gone;
  for (uintptr_t base : uncounted)
    if (!isLoadedAt(base)) gone.push_back(base);
  if (gone.empty()) return;
  std::lock_guard guard(modules.lock);
  for (uintptr_t base : gone) {
    auto it = modules.records.find(base);
    if (it != modules.records.end() && it->second.loadCount == 0 && it->second.pins == 0) modules.records.erase(it);
  }
}

// A dlopen reference to the module at `base`, for dlsym; released on scope exit.
class ModuleReference {
 public:
  explicit ModuleReference(uintptr_t base) : isProgram_(base == programBase()) {
    if (isProgram_) {
      handle_ = ::dlopen(nullptr, RTLD_LAZY);
    } else if (auto object = loadedObjectAt(base)) {
      handle_ = ::dlopen(object->loaderName.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    }
  }
  // The last reference may be this one when another thread freed the
  // module meanwhile.
  ~ModuleReference() {
    if (!handle_) return;
    ::dlclose(handle_);
    if (!isProgram_) forgetUnloaded();
  }
  ModuleReference(const ModuleReference&) = delete;
  ModuleReference& operator=(const ModuleReference&) = delete;
  void* handle() const { return handle_; }

 private:
  bool isProgram_;
  void* handle_ = nullptr;
};

// The dlopen handle of a module loaded by LoadLibraryA, held for the length
// of one look-up: a FreeLibrary of another thread meanwhile leaves its
// dlclose to the end of it. Empty for modules the table does not count.
class PinnedModule {
 public:
  explicit PinnedModule(uintptr_t base) : base_(base) {
    ModuleTable& modules = table();
    std::lock_guard guard(modules.lock);
    auto it = modules.records.find(base);
    if (it == modules.records.end() || it->second.loadCount == 0 || !it->second.handle) return;
    ++it->second.pins;
    handle_ = it->second.handle;
  }
  ~PinnedModule() {
    if (!handle_) return;
    unsigned closes = 0;
    {
      ModuleTable& modules = table();
      std::lock_guard guard(modules.lock);
      auto it = modules.records.find(base_);
      if (it == modules.records.end()) return;  // cannot be: a pinned record stays
      ModuleRecord& record = it->second;
      if (--record.pins == 0) {
        closes = record.deferredCloses;
        record.deferredCloses = 0;
        if (record.loadCount == 0) modules.records.erase(it);
      }
    }
    for (unsigned i = 0; i < closes; ++i) ::dlclose(handle_);
    if (closes) forgetUnloaded();
  }
  PinnedModule(const PinnedModule&) = delete;
  PinnedModule& operator=(const PinnedModule&) = delete;
  void* handle() const { return handle_; }

 private:
  uintptr_t base_;
  void* handle_ = nullptr;
};

// The address of `name` when the module at `base` defines it itself; dlsym
// alone would also find it in the module's dependencies.
void* ownSymbol(void* handle, uintptr_t base, const char* name) {
  void* symbol = ::dlsym(handle, name);
  return symbol && baseOf(symbol) == base ? symbol : nullptr;
}

// The name exported under `ordinal` by the module's KY_EXPORT_ORDINALS table.
const char* nameOfOrdinal(void* handle, uintptr_t base, WORD ordinal) {
  const auto* entry = static_cast<const KY_EXPORT_ORDINAL*>(ownSymbol(handle, base, "ky_export_ordinals"));
  for (int i = 0; entry && i <= 0xFFFF && entry->name; ++i, ++entry) {
    if (entry->ordinal == ordinal) return entry->name;
  }
  return nullptr;
}

std::shared_ptr<const ResourceIndex> readResources(void* handle, uintptr_t base) {
  const auto* blob = static_cast<const BYTE*>(ownSymbol(handle, base, "ky_resource_blob"));
  const auto* size = static_cast<const size_t*>(ownSymbol(handle, base, "ky_resource_blob_size"));
  if (!blob || !size) return std::make_shared<ResourceIndex>();
  return std::make_shared<ResourceIndex>(ResourceIndex::parse(blob, *size));
}

// The module already loaded under the bare file name `fileName`: loaded by
// LoadLibraryA, a stand-in for a system library, the program ("NAME.EXE"),
// or linked at build time (its file name, or "libNAME.so" for "NAME.DLL",
// the way the project names the libraries it links).
struct KnownModule {
  uintptr_t base = 0;
  std::string path;
};

std::optional<KnownModule> findLoadedByName(std::string_view fileName) {
  {
    ModuleTable& modules = table();
    std::lock_guard guard(modules.lock);
    for (const auto& [base, record] : modules.records) {
      if (equalsIgnoringCase(record.windowsName, fileName))
        return KnownModule{base, record.loaderPath.empty() ? record.path : record.loaderPath};
    }
  }
  const SystemLibrary* system = systemLibrary(fileName);
  std::string linkedName;
  const size_t dot = fileName.rfind('.');
  if (dot != std::string_view::npos && equalsIgnoringCase(fileName.substr(dot), ".DLL")) {
    linkedName = "lib" + std::string(fileName.substr(0, dot)) + ".so";
  }
  std::optional<KnownModule> found;
  visitLoadedObjects([&](uintptr_t base, const char* loaderName, bool isProgram) {
    if (isProgram) {
      const std::string programName(fileNamePart(programPath()));
      if (equalsIgnoringCase(programName, fileName) || equalsIgnoringCase(programName + ".EXE", fileName))
        found = KnownModule{base, programPath()};
      return found.has_value();
    }
    const std::string_view name = fileNamePart(loaderName);
    if (equalsIgnoringCase(name, fileName) || (!linkedName.empty() && equalsIgnoringCase(name, linkedName)) ||
        (system && name == system->hostName))
      found = KnownModule{base, loaderName};
    return found.has_value();
  });
  if (found && found->base != programBase()) found->path = realPath(found->path);
  return found;
}

uintptr_t findLoadedByPath(const std::string& path) {
  const std::string real = realPath(path);
  for (const LoadedObject& object : loadedObjects()) {
    if (pathOf(object) == real) return object.base;
  }
  return 0;
}

// The Windows error for a failed dlopen of a file that exists.
DWORD loadError(const char* message) {
  const std::string_view text = message ? message : "";
  if (text.find("undefined symbol") != std::string_view::npos) return ERROR_PROC_NOT_FOUND;
  if (text.find("No such file") != std::string_view::npos) return ERROR_MOD_NOT_FOUND;  // a dependency
  if (text.find("Permission denied") != std::string_view::npos) return ERROR_ACCESS_DENIED;
  return ERROR_BAD_EXE_FORMAT;
}

// Opens `target` and counts one more reference to its module.
HMODULE openLibrary(const std::string& target, std::string_view windowsName, int mode) {
  // A file on a path is checked first: a cut one would be mapped past its end.
  if (target.find('/') != std::string::npos) {
    if (const DWORD error = checkElfImage(target); error != ERROR_SUCCESS) {
      SetLastError(error);
      return nullptr;
    }
  }
  void* handle = ::dlopen(target.c_str(), mode);
  if (!handle) {
    SetLastError(loadError(::dlerror()));
    return nullptr;
  }
  link_map* map = linkMapOf(handle);
  const uintptr_t base = map ? baseOf(map->l_ld) : 0;
  if (!base) {
    ::dlclose(handle);
    SetLastError(ERROR_BAD_EXE_FORMAT);
    return nullptr;
  }
  ModuleTable& modules = table();
  std::lock_guard guard(modules.lock);
  ModuleRecord& record = modules.records[base];
  // The real path waits until somebody asks for it (GetModuleFileNameA):
  // resolving it costs a system call per directory of the path.
  if (record.loaderPath.empty()) record.loaderPath = map->l_name && *map->l_name ? map->l_name : target;
  if (record.windowsName.empty() || record.loadCount == 0) record.windowsName = windowsName;
  record.handle = handle;  // the same handle for every dlopen of one object
  ++record.loadCount;
  return toModule(base);
}

}  // namespace

std::shared_ptr<const ResourceIndex> moduleResources(HMODULE module, DWORD* error) {
  const uintptr_t base = toBase(module);
  ModuleTable& modules = table();
  bool loadedByUs = false;
  {
    std::lock_guard guard(modules.lock);
    auto it = modules.records.find(base);
    if (it != modules.records.end()) {
      if (it->second.resources) return it->second.resources;
      loadedByUs = it->second.loadCount > 0;
    }
  }
  // A module loaded by name is read through its own handle; others through
  // a reference taken for the reading.
  PinnedModule pinned(base);
  std::optional<LoadedObject> object;
  std::optional<ModuleReference> reference;
  void* handle = pinned.handle();
  if (!handle) {
    object = loadedObjectAt(base);
    if (!object) {
      *error = ERROR_MOD_NOT_FOUND;
      return nullptr;
    }
    handle = reference.emplace(base).handle();
  }
  std::shared_ptr<const ResourceIndex> resources = readResources(handle, base);

  std::lock_guard guard(modules.lock);
  auto it = modules.records.find(base);
  if (it == modules.records.end()) {
    // Freed meanwhile by another thread: answer without keeping a record of
    // a module that may be gone.
    if (loadedByUs || !object) return resources;
    ModuleRecord record;
    record.path = pathOf(*object);
    record.windowsName = std::string(fileNamePart(record.path));
    it = modules.records.emplace(base, std::move(record)).first;
  }
  if (!it->second.resources) it->second.resources = std::move(resources);
  return it->second.resources;
}

HMODULE moduleFromAddress(const void* address) { return toModule(baseOf(address)); }

}  // namespace win32

using namespace win32;

extern "C" HMODULE WINAPI LoadLibraryExA(LPCSTR lpLibFileName, HANDLE hFile, DWORD dwFlags) {
  constexpr DWORD kAccepted = DONT_RESOLVE_DLL_REFERENCES | LOAD_LIBRARY_AS_DATAFILE |
                              LOAD_WITH_ALTERED_SEARCH_PATH | LOAD_IGNORE_CODE_AUTHZ_LEVEL |
                              LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE;
  if (!lpLibFileName || hFile || (dwFlags & ~kAccepted)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::string_view name(lpLibFileName);
  // Windows ignores blanks after the name ("KERNEL32.DLL  " loads).
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  if (name.empty()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  // Without code to run, binding waits for first use; otherwise a missing
  // import fails the load as it does on Windows.
  constexpr DWORD kNoCode = DONT_RESOLVE_DLL_REFERENCES | LOAD_LIBRARY_AS_DATAFILE |
                            LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE;
  const int mode = RTLD_LOCAL | ((dwFlags & kNoCode) ? RTLD_LAZY : RTLD_NOW);
  const std::string fileName = libraryFileName(name);

  // A full path is used as given; a relative one ("sub\\X.DLL") is searched
  // for like a bare name, except when it starts at the current directory.
  std::string target;
  if (isExplicitPath(name)) {
    std::optional<std::string> found = findExistingFile(fileName, true);
    if (!found) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return nullptr;
    }
    target = std::move(*found);
  } else if (const SystemLibrary* system = systemLibrary(fileName)) {
    HMODULE module = openLibrary(system->hostName, system->windowsName, mode);
    if (!module) SetLastError(ERROR_MOD_NOT_FOUND);  // not installed here
    return module;
  } else if (auto loaded = findLoadedByName(fileName)) {
    // The program cannot be opened a second time; like every module loaded
    // at start-up it stays without counting references.
    if (loaded->base == programBase()) return toModule(loaded->base);
    // Opening by path holds on to the same object, or loads the file anew
    // when another thread freed it meanwhile.
    target = std::move(loaded->path);
  } else if (auto found = findLibraryFile(fileName)) {
    target = std::move(*found);
  }
  if (target.empty()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return openLibrary(target, fileNamePart(target), mode);
}

extern "C" HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName) { return LoadLibraryExA(lpLibFileName, nullptr, 0); }

extern "C" BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
  if (!hLibModule) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return FALSE;
  }
  const uintptr_t base = reinterpret_cast<uintptr_t>(hLibModule);
  void* handle = nullptr;
  bool counted = false;
  {
    ModuleTable& modules = table();
    std::lock_guard guard(modules.lock);
    auto it = modules.records.find(base);
    if (it != modules.records.end() && it->second.loadCount > 0) {
      ModuleRecord& record = it->second;
      counted = true;
      --record.loadCount;
      if (record.pins > 0) {
        ++record.deferredCloses;  // a GetProcAddress is using the handle: its end closes
      } else {
        handle = record.handle;
        if (record.loadCount == 0) modules.records.erase(it);
      }
    }
  }
  if (handle) {
    ::dlclose(handle);
    forgetUnloaded();
  }
  if (counted) return TRUE;
  // Linked modules and the program stay for the life of the process, as
  // modules loaded at start-up do on Windows.
  if (isLoadedAt(base)) return TRUE;
  SetLastError(ERROR_MOD_NOT_FOUND);
  return FALSE;
}

extern "C" HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
  if (!lpModuleName) return toModule(programBase());
  const std::string_view name(lpModuleName);
  const std::string fileName = libraryFileName(name);
  uintptr_t base = 0;
  if (hasDirectory(name)) {
    base = findLoadedByPath(resolveHostPath(fileName));
  } else if (auto loaded = findLoadedByName(fileName); loaded && !name.empty()) {
    base = loaded->base;
  }
  if (!base) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return toModule(base);
}

extern "C" DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
  const uintptr_t base = toBase(hModule);
  std::string path;
  {
    ModuleTable& modules = table();
    std::lock_guard guard(modules.lock);
    auto it = modules.records.find(base);
    if (it != modules.records.end()) {
      ModuleRecord& record = it->second;
      if (record.path.empty() && !record.loaderPath.empty()) record.path = realPath(record.loaderPath);
      path = record.path;
    }
  }
  if (path.empty()) {
    std::optional<LoadedObject> object = loadedObjectAt(base);
    if (!object) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return 0;
    }
    path = pathOf(*object);
  }
  if (!lpFilename || nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  // Too long: as many characters as fit with the terminating 0, the buffer
  // size as result and ERROR_INSUFFICIENT_BUFFER (Windows since Vista).
  if (path.size() >= nSize) {
    std::memcpy(lpFilename, path.data(), nSize - 1);
    lpFilename[nSize - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  std::memcpy(lpFilename, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}

extern "C" FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  const uintptr_t base = toBase(hModule);
  // A module loaded by name is used through its own handle; others (linked,
  // the program) through a reference taken for the look-up.
  PinnedModule pinned(base);
  std::optional<ModuleReference> reference;
  void* handle = pinned.handle();
  if (!handle) {
    if (!isLoadedAt(base)) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return nullptr;
    }
    handle = reference.emplace(base).handle();
  }
  const char* name = lpProcName;
  if (IS_INTRESOURCE(lpProcName)) {
    const WORD ordinal = LOWORD(reinterpret_cast<ULONG_PTR>(lpProcName));
    name = ordinal && handle ? nameOfOrdinal(handle, base, ordinal) : nullptr;
  }
  void* symbol = name && handle ? ownSymbol(handle, base, name) : nullptr;
  if (!symbol) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(symbol);
}

// No error box is ever shown here; the mode is kept for those who ask.
extern "C" UINT WINAPI SetErrorMode(UINT uMode) { return errorMode.exchange(uMode); }
extern "C" UINT WINAPI GetErrorMode(void) { return errorMode.load(); }
