// Kernel objects of the layer and the process's handle table.
//
// Files, events, mutexes, threads, file mappings and the other objects that
// CloseHandle closes derive from KernelObject. A HANDLE is a small integer
// (a multiple of 4, as on Windows, never 0 and never INVALID_HANDLE_VALUE)
// that maps to a shared reference, so that a handle closed on one thread
// while another still uses the object never leaves a dangling pointer.
#pragma once

#include <windef.h>

#include <memory>

namespace win32 {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
  KernelObject() = default;
  KernelObject(const KernelObject&) = delete;
  KernelObject& operator=(const KernelObject&) = delete;
};

void setInvalidHandleError();

// Registers `object` and answers its new handle, or nullptr (last error
// ERROR_NOT_ENOUGH_MEMORY) when the table is full.
HANDLE insertHandle(std::shared_ptr<KernelObject> object);

// The object behind `handle`, or nullptr (last error ERROR_INVALID_HANDLE).
std::shared_ptr<KernelObject> lookupHandle(HANDLE handle);

// The object behind `handle` when it is of type T; otherwise nullptr with
// last error ERROR_INVALID_HANDLE.
template <class T>
std::shared_ptr<T> lookupHandleAs(HANDLE handle) {
  auto object = std::dynamic_pointer_cast<T>(lookupHandle(handle));
  if (!object) setInvalidHandleError();
  return object;
}

// Removes `handle`; the object lives on while other references hold it.
// Answers false (last error ERROR_INVALID_HANDLE) for an unknown handle.
bool removeHandle(HANDLE handle);

// A second handle to the same object (DuplicateHandle within the process).
HANDLE duplicateHandle(HANDLE handle);

}  // namespace win32
