// ShellExecuteA over the configured programs (see shellapi.h), started as
// WinExec starts programs.
#include <internal/hostpath.h>
#include <shellapi.h>
#include <strings.h>
#include <unistd.h>
#include <winbase.h>

#include <cstdlib>
#include <string>

namespace {

// The program for a verb; empty for a verb without one.
std::string programFor(LPCSTR verb) {
  auto configured = [](const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    return std::string(value && *value ? value : fallback);
  };
  if (!verb || !*verb || strcasecmp(verb, "open") == 0) return configured("KY_SHELL_OPEN", "xdg-open");
  if (strcasecmp(verb, "print") == 0) return configured("KY_SHELL_PRINT", "lp");
  return "";
}

HINSTANCE answer(UINT code) { return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(code)); }

}  // namespace

extern "C" HINSTANCE WINAPI ShellExecuteA(HWND, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                                          LPCSTR lpDirectory, INT nShowCmd) {
  if (!lpFile || !*lpFile) return answer(SE_ERR_FNF);
  std::string file = lpFile;
  if (lpDirectory && *lpDirectory && file.find_first_of("/\\") == std::string::npos) {
    file = std::string(lpDirectory) + "\\" + file;
  }
  if (access(win32::resolveHostPath(file).c_str(), F_OK) != 0) return answer(SE_ERR_FNF);
  const std::string program = programFor(lpOperation);
  if (program.empty()) return answer(SE_ERR_NOASSOC);
  std::string line = program + " \"" + win32::resolveHostPath(file) + "\"";
  if (lpParameters && *lpParameters) line += std::string(" ") + lpParameters;
  const UINT started = WinExec(line.c_str(), static_cast<UINT>(nShowCmd));
  if (started > 31) return answer(42);
  return answer(started == ERROR_FILE_NOT_FOUND || started == ERROR_PATH_NOT_FOUND ? SE_ERR_NOASSOC : started);
}
