// Debugger output: with no debugger to receive it, the text goes to stderr
// with a prefix that tells it from the program's own output.
#include <winbase.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>

extern "C" void WINAPI OutputDebugStringA(LPCSTR text) {
  if (!text) return;
  std::fprintf(stderr, "[debug] %s", text);
  // Debug strings usually carry their own line end; keep lines apart when not.
  size_t length = 0;
  while (text[length]) ++length;
  if (length == 0 || text[length - 1] != '\n') std::fputc('\n', stderr);
  std::fflush(stderr);
}

// A debugger here is a tracer of the process (gdb, lldb, strace).
extern "C" BOOL WINAPI IsDebuggerPresent(void) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("TracerPid:", 0) == 0) return std::stoi(line.substr(10)) != 0;
  return FALSE;
}

// The breakpoint trap: a debugger stops here; without one the process ends
// as an unhandled breakpoint does.
extern "C" void WINAPI DebugBreak(void) { std::raise(SIGTRAP); }
