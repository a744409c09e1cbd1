// The process's namespace of named kernel objects (events, mutexes,
// semaphores and file mappings share one namespace, as on Windows).
#pragma once

#include <internal/kobject.h>

#include <functional>
#include <memory>
#include <string>

namespace win32 {

// The name as the namespace keys it: the "Global\" and "Local\" prefixes
// name the same (one-session) namespace here. Names are case-sensitive.
std::string namespaceKey(const char* name);

// Opens the object named `name` when one of type T lives, else (when
// `create` is given) makes one with it. Answers the new handle, or nullptr
// with the last error set: ERROR_INVALID_HANDLE when the name belongs to an
// object of another type, ERROR_FILE_NOT_FOUND when nothing is found and
// nothing was to be created, the error `create` reported otherwise. On
// success the last error is ERROR_ALREADY_EXISTS when the object existed,
// else 0. `create` answers nullptr after setting the last error.
using ObjectFactory = std::function<std::shared_ptr<KernelObject>()>;
HANDLE openOrCreateNamed(const char* name, const ObjectFactory& create,
                         bool (*isType)(const KernelObject&));

template <class T>
bool isKernelObjectOf(const KernelObject& object) {
  return dynamic_cast<const T*>(&object) != nullptr;
}

}  // namespace win32
