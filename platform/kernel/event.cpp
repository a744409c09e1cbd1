// Event objects: manual- and auto-reset, named within the process.
#include <internal/namedobject.h>
#include <internal/wait.h>

namespace {

// The event behind a handle, or null with ERROR_INVALID_HANDLE.
std::shared_ptr<win32::Event> eventOf(HANDLE handle) { return win32::lookupHandleAs<win32::Event>(handle); }

}  // namespace

extern "C" HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                                      LPCSTR name) {
  auto make = [&]() -> std::shared_ptr<win32::KernelObject> {
    return std::make_shared<win32::Event>(manualReset != FALSE, initialState != FALSE);
  };
  if (!name) {
    HANDLE handle = win32::insertHandle(make());
    if (handle) SetLastError(ERROR_SUCCESS);
    return handle;
  }
  return win32::openOrCreateNamed(name, make, &win32::isKernelObjectOf<win32::Event>);
}

extern "C" HANDLE WINAPI OpenEventA(DWORD desiredAccess, BOOL inheritHandle, LPCSTR name) {
  return win32::openOrCreateNamed(name, nullptr, &win32::isKernelObjectOf<win32::Event>);
}

extern "C" BOOL WINAPI SetEvent(HANDLE handle) {
  auto event = eventOf(handle);
  if (!event) return FALSE;
  event->set();
  return TRUE;
}

extern "C" BOOL WINAPI ResetEvent(HANDLE handle) {
  auto event = eventOf(handle);
  if (!event) return FALSE;
  event->reset();
  return TRUE;
}

extern "C" BOOL WINAPI PulseEvent(HANDLE handle) {
  auto event = eventOf(handle);
  if (!event) return FALSE;
  event->pulse();
  return TRUE;
}
