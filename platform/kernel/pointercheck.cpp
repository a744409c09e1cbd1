// IsBadReadPtr / IsBadWritePtr / IsBadStringPtrA: whether a range of this process's memory
// can be read or written, asked of the kernel instead of by touching it, so
// that no fault can happen. A read is tried with process_vm_readv on the
// process itself (EFAULT for unmapped or unreadable pages); writability is
// read from the permissions in /proc/self/maps.
#include <winbase.h>

#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
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

// Whether the text at `start` can be read up to its terminator or `most`
// characters, whichever comes first; read a page at a time.
bool readableText(const char* start, size_t most) {
  char chunk[4096];
  auto address = reinterpret_cast<uintptr_t>(start);
  const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  while (most > 0) {
    const size_t inPage = std::min<uintptr_t>(page - address % page, sizeof chunk);
    const size_t take = std::min(inPage, most);
    struct iovec local = {chunk, take};
    struct iovec remote = {reinterpret_cast<void*>(address), take};
    if (::process_vm_readv(::getpid(), &local, 1, &remote, 1, 0) != static_cast<ssize_t>(take)) return false;
    if (std::memchr(chunk, 0, take)) return true;
    address += take;
    most -= take;
  }
  return true;
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

extern "C" BOOL WINAPI IsBadStringPtrA(LPCSTR text, UINT_PTR most) {
  if (most == 0) return FALSE;
  if (!text) return TRUE;
  return readableText(text, most) ? FALSE : TRUE;
}
