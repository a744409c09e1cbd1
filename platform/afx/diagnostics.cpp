// ASSERT and TRACE support: messages go to the debugger output stream
// (OutputDebugStringA), as the framework's debug build does.
#include <afx.h>

#include <mscrt.h>

#include <cstdlib>

void AfxAssertFailedLine(const char* file, int line, const char* expression) {
  char text[512];
  _snprintf(text, sizeof text - 1, "Assertion failed: %s, file %s, line %d\n", expression ? expression : "",
            file ? file : "", line);
  text[sizeof text - 1] = '\0';
  OutputDebugStringA(text);
  std::abort();
}

void AfxTrace(const char* format, ...) {
  if (!format) return;
  // One line of trace is at most this long; longer output is cut, as the
  // framework's fixed trace buffer cuts it.
  char text[1024];
  va_list args;
  va_start(args, format);
  int n = _vsnprintf(text, sizeof text - 1, format, args);
  va_end(args);
  text[n < 0 ? sizeof text - 1 : static_cast<size_t>(n)] = '\0';
  OutputDebugStringA(text);
}
