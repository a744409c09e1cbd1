// Debugger output: with no debugger to receive it, the text goes to stderr
// with a prefix that tells it from the program's own output.
#include <winbase.h>

#include <cstdio>

extern "C" void WINAPI OutputDebugStringA(LPCSTR text) {
  if (!text) return;
  std::fprintf(stderr, "[debug] %s", text);
  // Debug strings usually carry their own line end; keep lines apart when not.
  size_t length = 0;
  while (text[length]) ++length;
  if (length == 0 || text[length - 1] != '\n') std::fputc('\n', stderr);
  std::fflush(stderr);
}
