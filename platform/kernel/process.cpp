// Identity of the process: its id, pseudo handle, user and computer names,
// and its end.
#include <winbase.h>

#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Copies `text` when `*size` holds it with its terminator and answers the
// length written including the terminator in `*size`; otherwise answers the
// size needed (terminator included) with `tooSmall` as the error.
BOOL answerName(const std::string& text, LPSTR buffer, LPDWORD size, bool countTerminator, DWORD tooSmall) {
  if (!size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DWORD needed = static_cast<DWORD>(text.size() + 1);
  if (!buffer || *size < needed) {
    *size = needed;
    SetLastError(tooSmall);
    return FALSE;
  }
  text.copy(buffer, text.size());
  buffer[text.size()] = '\0';
  *size = countTerminator ? needed : needed - 1;
  return TRUE;
}

std::string loginName() {
  std::vector<char> scratch(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, scratch.data(), scratch.size(), &found) == 0 && found && found->pw_name) {
    return found->pw_name;
  }
  // A user without a password entry (a container's bare uid) has the name
  // the session gives.
  for (const char* variable : {"USER", "LOGNAME"}) {
    if (const char* value = std::getenv(variable); value && *value) return value;
  }
  return {};
}

}  // namespace

extern "C" DWORD WINAPI GetCurrentProcessId(void) { return static_cast<DWORD>(::getpid()); }

extern "C" HANDLE WINAPI GetCurrentProcess(void) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }

extern "C" void WINAPI ExitProcess(UINT uExitCode) {
  std::fflush(nullptr);
  std::exit(static_cast<int>(uExitCode));
}

extern "C" BOOL WINAPI GetUserNameA(LPSTR lpBuffer, LPDWORD pcbBuffer) {
  const std::string name = loginName();
  if (name.empty()) {
    SetLastError(ERROR_NOT_FOUND);
    return FALSE;
  }
  // The size answered on success counts the terminator.
  return answerName(name, lpBuffer, pcbBuffer, true, ERROR_INSUFFICIENT_BUFFER);
}

extern "C" BOOL WINAPI GetComputerNameA(LPSTR lpBuffer, LPDWORD nSize) {
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0) {
    SetLastError(ERROR_GEN_FAILURE);
    return FALSE;
  }
  std::string name(host);
  name = name.substr(0, name.find('.'));  // the NetBIOS name has no domain
  if (name.size() > MAX_COMPUTERNAME_LENGTH) name.resize(MAX_COMPUTERNAME_LENGTH);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  // The size answered on success leaves the terminator out.
  return answerName(name, lpBuffer, nSize, false, ERROR_BUFFER_OVERFLOW);
}
