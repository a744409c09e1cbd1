// GetStdHandle: the standard descriptors as file objects.
#include <internal/fileobject.h>
#include <winbase.h>

#include <fcntl.h>

#include <memory>
#include <mutex>

namespace {

struct StdHandles {
  std::mutex lock;
  HANDLE handles[3] = {};
  std::weak_ptr<win32::KernelObject> objects[3];

  static StdHandles& instance() {
    static StdHandles table;
    return table;
  }
};

DWORD accessOf(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  switch (flags & O_ACCMODE) {
    case O_RDONLY: return GENERIC_READ;
    case O_WRONLY: return GENERIC_WRITE;
    default: return GENERIC_READ | GENERIC_WRITE;
  }
}

}  // namespace

extern "C" HANDLE WINAPI GetStdHandle(DWORD nStdHandle) {
  int fd;
  switch (nStdHandle) {
    case STD_INPUT_HANDLE: fd = 0; break;
    case STD_OUTPUT_HANDLE: fd = 1; break;
    case STD_ERROR_HANDLE: fd = 2; break;
    default:
      SetLastError(ERROR_INVALID_HANDLE);
      return INVALID_HANDLE_VALUE;
  }
  // A process started without that descriptor has no standard handle.
  if (::fcntl(fd, F_GETFD) < 0) return nullptr;

  auto& table = StdHandles::instance();
  std::lock_guard guard(table.lock);
  const DWORD savedError = GetLastError();  // a successful call leaves it alone
  if (auto object = table.objects[fd].lock()) {
    // Still the same object behind the handle, unless CloseHandle took it.
    if (win32::lookupHandle(table.handles[fd]) == object) {
      SetLastError(savedError);
      return table.handles[fd];
    }
  }
  auto object = std::make_shared<win32::FileObject>(fd, accessOf(fd), std::string(), false, false);
  HANDLE h = win32::insertHandle(object);
  if (!h) return INVALID_HANDLE_VALUE;
  table.handles[fd] = h;
  table.objects[fd] = object;
  SetLastError(savedError);
  return h;
}
