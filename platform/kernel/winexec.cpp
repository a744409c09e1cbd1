// WinExec: starts a program with a Windows command line.
#include <internal/commandline.h>
#include <internal/hostpath.h>
#include <winbase.h>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

extern char** environ;

namespace {

bool endsWithExe(std::string_view name) {
  return name.size() > 4 && win32::equalsIgnoringCase(name.substr(name.size() - 4), ".exe");
}

// The program file for `name` along SearchPathA's default path. Windows
// program names carry ".exe", Linux ones none: a name with ".exe" that is
// not found is looked for once more without it. Answers a Win32 error
// code, ERROR_SUCCESS with `program` set when found.
DWORD findProgram(const std::string& name, std::string& program) {
  for (const std::string& candidate : {name, endsWithExe(name) ? name.substr(0, name.size() - 4) : std::string()}) {
    if (candidate.empty()) continue;
    char buffer[MAX_PATH];
    const DWORD n = SearchPathA(nullptr, candidate.c_str(), nullptr, sizeof buffer, buffer, nullptr);
    if (n == 0 || n >= sizeof buffer) continue;
    struct stat st;
    if (::stat(buffer, &st) != 0 || !S_ISREG(st.st_mode)) continue;
    program.assign(buffer, n);
    return ::access(buffer, X_OK) == 0 ? ERROR_SUCCESS : static_cast<DWORD>(ERROR_BAD_FORMAT);
  }
  // A directory part that does not exist is a missing path, as Windows tells it.
  const std::string host = win32::toHostPath(name);
  const size_t slash = host.rfind('/');
  if (slash != std::string::npos && slash > 0) {
    struct stat st;
    const std::string directory = win32::resolveHostPath(host.substr(0, slash));
    if (::stat(directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return ERROR_PATH_NOT_FOUND;
  }
  return ERROR_FILE_NOT_FOUND;
}

}  // namespace

extern "C" UINT WINAPI WinExec(LPCSTR lpCmdLine, UINT uCmdShow) {
  if (!lpCmdLine) return 0;  // "out of resources" is the only failure without a code
  std::vector<std::string> arguments = win32::splitCommandLine(lpCmdLine);
  if (arguments.empty() || arguments[0].empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return ERROR_FILE_NOT_FOUND;
  }
  std::string program;
  if (const DWORD err = findProgram(arguments[0], program); err != ERROR_SUCCESS) {
    SetLastError(err);
    return err;
  }
  std::vector<char*> argv;
  for (auto& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  if (const int err = ::posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ); err != 0) {
    SetLastError(err == ENOEXEC ? static_cast<DWORD>(ERROR_BAD_FORMAT) : static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    return err == ENOEXEC ? ERROR_BAD_FORMAT : 0;
  }
  // Windows keeps no record of a finished program started this way; the
  // child is collected when it ends so that none lingers as a zombie.
  try {
    std::thread([child] {
      int status;
      while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to spare: the program still runs; its exit status stays
    // uncollected until this process ends.
  }
  return 33;  // any value above 31 is success
}
