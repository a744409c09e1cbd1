// The process environment with Windows' rules: names compare ignoring
// case, a NULL value deletes, %NAME% expands.
//
// The variables live in the C library's environment (environ), so that
// getenv and child processes see what SetEnvironmentVariableA set; the lock
// below keeps the layer's own readers and writers apart.
#include <internal/answerbuffer.h>
#include <internal/hostpath.h>
#include <winbase.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>

extern char** environ;

namespace {

std::mutex& environmentLock() {
  static std::mutex lock;
  return lock;
}

struct Variable {
  std::string name;  // as spelled in the environment
  std::string value;
};

// The variable called `name` ignoring case; the exact spelling wins when
// Linux holds several that differ only in case. Caller holds the lock.
std::optional<Variable> findVariable(std::string_view name) {
  std::optional<Variable> found;
  for (char** entry = environ; entry && *entry; ++entry) {
    const std::string_view text(*entry);
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view entryName = text.substr(0, equals);
    if (!win32::equalsIgnoringCase(entryName, name)) continue;
    found = Variable{std::string(entryName), std::string(text.substr(equals + 1))};
    if (entryName == name) break;
  }
  return found;
}

// Blocks handed out by GetEnvironmentStringsA, so that a pointer that is
// not one of them is refused instead of freed.
std::unordered_set<char*>& outstandingBlocks() {
  static std::unordered_set<char*> blocks;
  return blocks;
}

// `text` with every %NAME% of a defined variable replaced by its value; an
// unknown or empty name stays as written, '%' signs included.
std::string expand(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const size_t open = text.find('%');
    if (open == std::string_view::npos) break;
    const size_t close = text.find('%', open + 1);
    if (close == std::string_view::npos) break;
    out.append(text.substr(0, open));
    const std::string_view name = text.substr(open + 1, close - open - 1);
    const auto variable = name.empty() ? std::nullopt : findVariable(name);
    if (variable) {
      out += variable->value;
    } else {
      out.append(text.substr(open, close - open + 1));
    }
    text.remove_prefix(close + 1);
  }
  out.append(text);
  return out;
}

}  // namespace

extern "C" DWORD WINAPI GetEnvironmentVariableA(LPCSTR lpName, LPSTR lpBuffer, DWORD nSize) {
  std::optional<Variable> variable;
  if (lpName && *lpName && !std::strchr(lpName, '=')) {
    std::lock_guard guard(environmentLock());
    variable = findVariable(lpName);
  }
  if (!variable) {
    SetLastError(ERROR_ENVVAR_NOT_FOUND);
    return 0;
  }
  const DWORD result = win32::answerString(variable->value, lpBuffer, nSize);
  if (result == 0) SetLastError(ERROR_SUCCESS);  // an empty value, told from "not found"
  return result;
}

extern "C" BOOL WINAPI SetEnvironmentVariableA(LPCSTR lpName, LPCSTR lpValue) {
  if (!lpName || !*lpName || std::strchr(lpName, '=')) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard guard(environmentLock());
  // A variable that exists in another case keeps its spelling.
  const auto existing = findVariable(lpName);
  const std::string name = existing ? existing->name : std::string(lpName);
  const int result = lpValue ? ::setenv(name.c_str(), lpValue, 1) : ::unsetenv(name.c_str());
  if (result != 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  return TRUE;
}

extern "C" DWORD WINAPI ExpandEnvironmentStringsA(LPCSTR lpSrc, LPSTR lpDst, DWORD nSize) {
  if (!lpSrc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string expanded;
  {
    std::lock_guard guard(environmentLock());
    expanded = expand(lpSrc);
  }
  // Unlike most string functions this one counts the terminator both when
  // the text fits and when it does not.
  const DWORD needed = static_cast<DWORD>(expanded.size() + 1);
  if (lpDst && nSize >= needed) std::memcpy(lpDst, expanded.c_str(), needed);
  return needed;
}

extern "C" LPSTR WINAPI GetEnvironmentStringsA(void) {
  std::lock_guard guard(environmentLock());
  size_t total = 1;  // the block ends with an empty string
  for (char** entry = environ; entry && *entry; ++entry) total += std::strlen(*entry) + 1;
  char* block = new (std::nothrow) char[total + 1];
  if (!block) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  char* at = block;
  for (char** entry = environ; entry && *entry; ++entry) {
    const size_t length = std::strlen(*entry) + 1;
    std::memcpy(at, *entry, length);
    at += length;
  }
  at[0] = '\0';
  at[1] = '\0';  // an empty environment still reads as two terminators
  outstandingBlocks().insert(block);
  return block;
}

extern "C" BOOL WINAPI FreeEnvironmentStringsA(LPSTR penv) {
  std::lock_guard guard(environmentLock());
  if (!outstandingBlocks().erase(penv)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  delete[] penv;
  return TRUE;
}
