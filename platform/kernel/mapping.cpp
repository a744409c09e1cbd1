// File mappings and their views. A page-file-backed mapping is a memfd
// when unnamed and a named POSIX shared memory segment when named, so that
// every process of the user that names it maps the same bytes; a mapping of
// a file maps that file's descriptor. Views are MAP_SHARED mmaps, recorded
// by base address, and keep their mapping alive as on Windows.
#include <internal/fileobject.h>
#include <internal/namedobject.h>
#include <internal/sharedsegment.h>
#include <winbase.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>

namespace {

constexpr DWORD kErrorMappedAlignment = 1132;  // ERROR_MAPPED_ALIGNMENT
constexpr DWORD kErrorFileInvalid = 1006;      // ERROR_FILE_INVALID
constexpr uint64_t kAllocationGranularity = 65536;  // view offsets are multiples of this, as on Windows

class FileMapping : public win32::KernelObject {
 public:
  FileMapping(int fd, uint64_t size, bool writable, std::unique_ptr<win32::SharedSegment> segment)
      : fd_(fd), size_(size), writable_(writable), segment_(std::move(segment)) {}
  ~FileMapping() override {
    if (!segment_) ::close(fd_);  // a segment closes its own descriptor
  }
  int fd() const { return fd_; }
  uint64_t size() const { return size_; }
  bool writable() const { return writable_; }

 private:
  int fd_;
  uint64_t size_;
  bool writable_;
  std::unique_ptr<win32::SharedSegment> segment_;
};

struct View {
  size_t length;
  std::shared_ptr<FileMapping> mapping;
};

struct ViewTable {
  std::mutex lock;
  std::map<uintptr_t, View> views;  // by base address

  static ViewTable& instance() {
    static ViewTable table;
    return table;
  }
};

// The protection a mapping is created with, without the SEC_* bits.
bool protectionAllowsWrite(DWORD protect, bool& valid) {
  valid = true;
  switch (protect & 0xFF) {
    case PAGE_READONLY:
    case PAGE_WRITECOPY: return false;
    case PAGE_READWRITE: return true;
    default: valid = false; return false;
  }
}

std::shared_ptr<win32::KernelObject> pageFileMapping(uint64_t size, bool writable) {
  int fd = ::memfd_create("ky-section", MFD_CLOEXEC);
  if (fd < 0 || ::ftruncate(fd, static_cast<off_t>(size)) != 0) {
    if (fd >= 0) ::close(fd);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return std::make_shared<FileMapping>(fd, size, writable, nullptr);
}

std::shared_ptr<win32::KernelObject> namedPageFileMapping(const std::string& key, uint64_t size, bool writable) {
  bool created = false;
  auto segment = win32::SharedSegment::open("section", key, size, created);
  if (!segment) return nullptr;
  int fd = segment->fd();
  uint64_t actual = segment->size();
  auto mapping = std::make_shared<FileMapping>(fd, actual, writable, std::move(segment));
  // An existing mapping keeps its size, whatever this call asked for.
  SetLastError(created ? ERROR_SUCCESS : ERROR_ALREADY_EXISTS);
  return mapping;
}

std::shared_ptr<win32::KernelObject> fileMapping(HANDLE file, uint64_t size, bool writable) {
  auto object = win32::lookupHandleAs<win32::FileObject>(file);
  if (!object) return nullptr;
  if (!object->canRead() || (writable && !object->canWrite())) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  struct stat status = {};
  if (::fstat(object->descriptor(), &status) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  uint64_t fileSize = static_cast<uint64_t>(status.st_size);
  if (size == 0) {
    if (fileSize == 0) {
      SetLastError(kErrorFileInvalid);  // a mapping of an empty file needs a size
      return nullptr;
    }
    size = fileSize;
  }
  if (size > fileSize) {
    // Windows grows the file to a writable mapping's size.
    if (!writable) {
      SetLastError(ERROR_ACCESS_DENIED);
      return nullptr;
    }
    if (::ftruncate(object->descriptor(), static_cast<off_t>(size)) != 0) {
      SetLastError(ERROR_DISK_FULL);
      return nullptr;
    }
  }
  // Its own descriptor: the mapping outlives the file handle, as on Windows.
  int fd = ::fcntl(object->descriptor(), F_DUPFD_CLOEXEC, 0);
  if (fd < 0) {
    SetLastError(ERROR_TOO_MANY_OPEN_FILES);
    return nullptr;
  }
  return std::make_shared<FileMapping>(fd, size, writable, nullptr);
}

bool isMapping(const win32::KernelObject& object) { return dynamic_cast<const FileMapping*>(&object) != nullptr; }

}  // namespace

extern "C" HANDLE WINAPI CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES attributes, DWORD protect,
                                            DWORD maximumSizeHigh, DWORD maximumSizeLow, LPCSTR name) {
  bool valid = false;
  bool writable = protectionAllowsWrite(protect, valid);
  if (!valid) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  uint64_t size = (static_cast<uint64_t>(maximumSizeHigh) << 32) | maximumSizeLow;
  const bool pageFile = file == INVALID_HANDLE_VALUE;
  if (pageFile && size == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto make = [&]() -> std::shared_ptr<win32::KernelObject> {
    if (!pageFile) return fileMapping(file, size, writable);
    if (name) return namedPageFileMapping(win32::namespaceKey(name), size, writable);
    return pageFileMapping(size, writable);
  };
  if (!name) {
    auto mapping = make();
    if (!mapping) return nullptr;
    HANDLE handle = win32::insertHandle(std::move(mapping));
    if (handle) SetLastError(ERROR_SUCCESS);
    return handle;
  }
  return win32::openOrCreateNamed(name, make, &isMapping);
}

extern "C" HANDLE WINAPI OpenFileMappingA(DWORD desiredAccess, BOOL inheritHandle, LPCSTR name) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::string key = win32::namespaceKey(name);
  bool writable = (desiredAccess & (FILE_MAP_WRITE | SECTION_MAP_WRITE)) != 0;
  return win32::openOrCreateNamed(
      name,
      [&]() -> std::shared_ptr<win32::KernelObject> {
        bool created = false;
        auto segment = win32::SharedSegment::open("section", key, 0, created);
        if (!segment) return nullptr;
        int fd = segment->fd();
        uint64_t size = segment->size();
        return std::make_shared<FileMapping>(fd, size, writable, std::move(segment));
      },
      &isMapping);
}

extern "C" LPVOID WINAPI MapViewOfFile(HANDLE mappingHandle, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow,
                                       SIZE_T bytes) {
  auto mapping = win32::lookupHandleAs<FileMapping>(mappingHandle);
  if (!mapping) return nullptr;
  uint64_t offset = (static_cast<uint64_t>(offsetHigh) << 32) | offsetLow;
  if (offset % kAllocationGranularity != 0) {
    SetLastError(kErrorMappedAlignment);
    return nullptr;
  }
  if (offset >= mapping->size() || (bytes != 0 && bytes > mapping->size() - offset)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  size_t length = bytes != 0 ? bytes : static_cast<size_t>(mapping->size() - offset);
  const bool copy = (desiredAccess & FILE_MAP_COPY) != 0 && desiredAccess != FILE_MAP_ALL_ACCESS;
  const bool write = (desiredAccess & FILE_MAP_WRITE) != 0 && !copy;
  if (write && !mapping->writable()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  int protection = PROT_READ | (write || copy ? PROT_WRITE : 0);
  void* address = ::mmap(nullptr, length, protection, copy ? MAP_PRIVATE : MAP_SHARED, mapping->fd(),
                         static_cast<off_t>(offset));
  if (address == MAP_FAILED) {
    SetLastError(errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto& table = ViewTable::instance();
  std::lock_guard guard(table.lock);
  table.views[reinterpret_cast<uintptr_t>(address)] = View{length, std::move(mapping)};
  return address;
}

extern "C" BOOL WINAPI UnmapViewOfFile(LPCVOID base) {
  View view;
  {
    auto& table = ViewTable::instance();
    std::lock_guard guard(table.lock);
    auto it = table.views.find(reinterpret_cast<uintptr_t>(base));
    if (it == table.views.end()) {
      SetLastError(ERROR_INVALID_ADDRESS);
      return FALSE;
    }
    view = std::move(it->second);
    table.views.erase(it);
  }
  ::munmap(const_cast<void*>(base), view.length);
  return TRUE;
}

extern "C" BOOL WINAPI FlushViewOfFile(LPCVOID start, SIZE_T bytes) {
  auto address = reinterpret_cast<uintptr_t>(start);
  uintptr_t base = 0;
  size_t length = 0;
  {
    auto& table = ViewTable::instance();
    std::lock_guard guard(table.lock);
    auto it = table.views.upper_bound(address);
    if (it == table.views.begin() || address >= std::prev(it)->first + std::prev(it)->second.length) {
      SetLastError(ERROR_INVALID_ADDRESS);
      return FALSE;
    }
    --it;
    base = it->first;
    length = it->second.length;
  }
  // msync wants a page-aligned start; 0 bytes means "to the end of the view".
  uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  uintptr_t from = address / page * page;
  uintptr_t to = bytes == 0 ? base + length : std::min<uintptr_t>(address + bytes, base + length);
  if (::msync(reinterpret_cast<void*>(from), to - from, MS_SYNC) != 0) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return FALSE;
  }
  return TRUE;
}
