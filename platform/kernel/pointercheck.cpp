// IsBadReadPtr / IsBadWritePtr: whether a range of this process's memory
// can be read or written, asked of the kernel instead of by touching it, so
// that no fault can happen. A read is tried with process_vm_readv on the
// process itself (EFAULT for unmapped or unreadable pages); writability is
// read from the permissions in /proc/self/maps.
#include <winbase.h>

#include <sys/uio.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

bool readable(const void* start, size_t bytes) {
  char sink[4096];
  auto address = reinterpret_cast<uintptr_t>(start);
  long page = ::sysconf(_SC_PAGESIZE);
  // One byte of every page the range touches, and its last byte.
  for (uintptr_t probe = address;; probe = (probe / page + 1) * page) {
    if (probe >= address + bytes) probe = address + bytes - 1;
    struct iovec local = {sink, 1};
    struct iovec remote = {reinterpret_cast<void*>(probe), 1};
    if (::process_vm_readv(::getpid(), &local, 1, &remote, 1, 0) != 1) return false;
    if (probe == address + bytes - 1) return true;
  }
}

bool writable(const void* start, size_t bytes) {
  std::FILE* maps = std::fopen("/proc/self/maps", "r");
  if (!maps) return false;
  uintptr_t from = reinterpret_cast<uintptr_t>(start);
  uintptr_t to = from + bytes;  // exclusive
  char line[512];
  bool covered = false;
  // The maps are sorted by address; walk until the range is covered by
  // consecutive writable mappings or a gap or read-only mapping shows.
  while (std::fgets(line, sizeof line, maps)) {
    unsigned long low = 0, high = 0;
    char permissions[8] = {};
    if (std::sscanf(line, "%lx-%lx %7s", &low, &high, permissions) != 3) continue;
    if (high <= from) continue;
    if (low > from || permissions[1] != 'w') break;
    from = high;
    if (from >= to) {
      covered = true;
      break;
    }
  }
  std::fclose(maps);
  return covered;
}

bool wrapsAround(const void* start, UINT_PTR bytes) {
  return reinterpret_cast<uintptr_t>(start) + bytes < reinterpret_cast<uintptr_t>(start);
}

}  // namespace

extern "C" BOOL WINAPI IsBadReadPtr(const void* start, UINT_PTR bytes) {
  if (bytes == 0) return FALSE;  // documented: nothing to check
  if (!start || wrapsAround(start, bytes)) return TRUE;
  return readable(start, bytes) ? FALSE : TRUE;
}

extern "C" BOOL WINAPI IsBadWritePtr(LPVOID start, UINT_PTR bytes) {
  if (bytes == 0) return FALSE;
  if (!start || wrapsAround(start, bytes)) return TRUE;
  return writable(start, bytes) ? FALSE : TRUE;
}
