// Allocation and lookup of machine-wide window handles (see windowhandle.h).
#include "windowhandle.h"

#include <winbase.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

namespace win32::user {
namespace {

constexpr uint32_t kFirstHandle = 0x00020000;
constexpr uint32_t kLastHandle = 0x3FFFFFFE;  // GDI objects and icons live above
constexpr uint32_t kBlock = 512;  // handles (of step 2) a process takes at a time

// The kernel's start time of process `pid` in clock ticks (field 22 of
// /proc/<pid>/stat), 0 when the process does not exist.
unsigned long long processStartTime(pid_t pid) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
  FILE* f = fopen(path, "r");
  if (!f) return 0;
  char buf[1024];
  size_t n = fread(buf, 1, sizeof buf - 1, f);
  fclose(f);
  buf[n] = 0;
  const char* p = strrchr(buf, ')');  // the command name may hold spaces
  if (!p) return 0;
  // After ")": state is field 3; start time is field 22.
  int field = 2;
  for (++p; *p && field < 22; ++p)
    if (*p == ' ') ++field;
  return strtoull(p, nullptr, 10);
}

struct Allocator {
  std::mutex lock;
  uint32_t next = 0, end = 0;
  std::set<uint32_t> mine;
  unsigned long long startTime = processStartTime(getpid());

  ~Allocator() {
    // Entries of windows still open when the process ends would look alive to
    // a later process that reuses the pid; remove them.
    for (uint32_t h : mine) unlink(entryPath(h).c_str());
  }

  static std::string entryPath(uint32_t h) {
    char name[16];
    snprintf(name, sizeof name, "/%08x", h);
    return registryDirectory() + name;
  }

  // Takes the next block from the shared counter.
  bool takeBlock() {
    std::string path = registryDirectory() + "/counter";
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    flock(fd, LOCK_EX);
    uint32_t value = 0;
    if (pread(fd, &value, sizeof value, 0) != sizeof value || value < kFirstHandle || value > kLastHandle)
      value = kFirstHandle;
    uint32_t after = value + kBlock * 2;
    if (after > kLastHandle || after < value) after = kFirstHandle;
    bool ok = pwrite(fd, &after, sizeof after, 0) == sizeof after;
    flock(fd, LOCK_UN);
    close(fd);
    next = value;
    end = value + kBlock * 2;
    return ok;
  }

  static bool staleEntry(const std::string& path) {
    FILE* f = fopen(path.c_str(), "r");
    if (!f) return false;
    long pid = 0;
    unsigned long long start = 0;
    unsigned long tid = 0;
    int n = fscanf(f, "%ld %llu %lu", &pid, &start, &tid);
    fclose(f);
    if (n != 3) return true;
    unsigned long long now = processStartTime((pid_t)pid);
    return now == 0 || now != start;
  }

  HWND allocate(DWORD threadId) {
    std::lock_guard guard(lock);
    char content[96];
    int len = snprintf(content, sizeof content, "%ld %llu %lu\n", (long)getpid(), startTime, (unsigned long)threadId);
    for (int attempt = 0; attempt < 100000; ++attempt) {
      if (next >= end && !takeBlock()) break;
      uint32_t h = next;
      next += 2;
      std::string path = entryPath(h);
      int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
      if (fd < 0 && errno == EEXIST && staleEntry(path)) {
        unlink(path.c_str());
        fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
      }
      if (fd < 0) {
        if (errno == EEXIST) continue;
        break;
      }
      bool written = write(fd, content, len) == len;
      close(fd);
      if (!written) {
        unlink(path.c_str());
        break;
      }
      mine.insert(h);
      return (HWND)(uintptr_t)h;
    }
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }

  void release(HWND hwnd) {
    std::lock_guard guard(lock);
    uint32_t h = (uint32_t)(uintptr_t)hwnd;
    if (mine.erase(h)) unlink(entryPath(h).c_str());
  }
};

Allocator& allocator() {
  static Allocator a;
  return a;
}

}  // namespace

const std::string& registryDirectory() {
  static const std::string dir = [] {
    std::string d;
    if (const char* runtime = getenv("XDG_RUNTIME_DIR"); runtime && *runtime && access(runtime, W_OK) == 0)
      d = std::string(runtime) + "/ky-windows";
    else
      d = "/tmp/ky-windows-" + std::to_string(getuid());
    mkdir(d.c_str(), 0700);
    return d;
  }();
  return dir;
}

HWND allocateWindowHandle(DWORD threadId) { return allocator().allocate(threadId); }

void releaseWindowHandle(HWND hwnd) { allocator().release(hwnd); }

bool findForeignWindow(HWND hwnd, ForeignWindow& out) {
  uintptr_t value = (uintptr_t)hwnd;
  if (value < kFirstHandle || value > kLastHandle || (value & 1)) return false;
  std::string path = Allocator::entryPath((uint32_t)value);
  FILE* f = fopen(path.c_str(), "r");
  if (!f) return false;
  long pid = 0;
  unsigned long long start = 0;
  unsigned long tid = 0;
  int n = fscanf(f, "%ld %llu %lu", &pid, &start, &tid);
  fclose(f);
  if (n != 3 || pid == (long)getpid()) return false;
  unsigned long long now = processStartTime((pid_t)pid);
  if (now == 0 || now != start) return false;  // the process is gone (or its pid was reused)
  out.processId = (DWORD)pid;
  out.threadId = (DWORD)tid;
  return true;
}

}  // namespace win32::user
