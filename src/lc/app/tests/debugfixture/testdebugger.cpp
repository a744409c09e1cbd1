// An action-diagram debugger library for the binding's tests, built as
// KY721NDG.DLL in several folders: complete, without the optional
// RestoreFunctionDataPtr (KY_DEBUGGER_NO_RESTORE), without Dispatch
// (KY_DEBUGGER_NO_DISPATCH), or refusing to create a debugger
// (KY_DEBUGGER_NO_HANDLE). It writes each call into a log the tests read
// through TestDebuggerLog; Dispatch takes only WM_USER + 77.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

class KyFunctionData;

namespace {
std::string log;
constexpr intptr_t kHandle = 0x5EED;

void note(const char* format, ...) __attribute__((format(printf, 1, 2)));
void note(const char* format, ...) {
  char line[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  log += line;
  log += ";";
}
}  // namespace

extern "C" {

const char* TestDebuggerLog() { return log.c_str(); }

intptr_t Create(HWND window, int one, DWORD value) {
  note("Create(%p,%d,%u)", static_cast<void*>(window), one, static_cast<unsigned>(value));
#ifdef KY_DEBUGGER_NO_HANDLE
  return 0;
#else
  return kHandle;
#endif
}
void Destroy(intptr_t handle) { note("Destroy(%lx)", static_cast<long>(handle)); }
void Debug(intptr_t handle, LONG a, LONG b, LONG c, LONG d) {
  note("Debug(%lx,%d,%d,%d,%d)", static_cast<long>(handle), a, b, c, d);
}
void Register(intptr_t handle, LONG a, KyFunctionData* function, LONG b, const char* text) {
  note("Register(%lx,%d,%p,%d,%s)", static_cast<long>(handle), a, static_cast<void*>(function), b, text);
}
#ifndef KY_DEBUGGER_NO_RESTORE
void RestoreFunctionDataPtr(intptr_t handle, KyFunctionData* function) {
  note("Restore(%lx,%p)", static_cast<long>(handle), static_cast<void*>(function));
}
#endif
#ifndef KY_DEBUGGER_NO_DISPATCH
int Dispatch(intptr_t handle, MSG& msg) {
  note("Dispatch(%lx,%u)", static_cast<long>(handle), msg.message);
  return msg.message == WM_USER + 77;
}
#endif
}
